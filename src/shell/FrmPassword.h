#pragma once
// The Set/Change Password screen (Tools / Password...): sets, changes or removes the password
// Papyra asks for before it opens the payer file. The password is kept scrambled in the payer
// record (the file is not encrypted) and takes effect the next time the file is opened.
#include "maintenance/FrmScreen.h"

class QLineEdit;
class QPushButton;
class TEnterAsTab;

class TFrmPassword : public TFrmScreen {
  Q_OBJECT
 public:
  explicit TFrmPassword(QWidget* parent = nullptr);

  void FormShow();
  void BtnOkClick();
  void BtnCancelClick();
  // True when a typed character may go into a password edit: letters, digits, Backspace, Enter.
  static bool PasswordKeyAllowed(QChar ch);

  QLineEdit* PW1;
  QLineEdit* PW2;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
  TEnterAsTab* EnterAsTab;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SavePassword(const QString& scrambled);
};

// Tools / Password...: shows the screen modally for the open payer file.
void ShowPasswordScreen();
