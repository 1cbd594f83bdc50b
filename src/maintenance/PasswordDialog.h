#pragma once
// TPasswordDialog asks for a password in a small modal window (TPasswordDlg) and tells whether
// the typed text matches the expected one exactly, letter case included.
#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QString>

class TFrmDataModule;

class QLabel;
class QLineEdit;
class QPushButton;

// Letter-case conversion applied to the text as it is typed.
enum TPasswordCase { pcNormal, pcUpperCase, pcLowerCase };

// The prompt window: the prompt, an edit echoing "*", Ok and Cancel.
class TPasswordDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TPasswordDlg(QWidget* parent = nullptr);
  void SetPasswordCase(TPasswordCase passwordCase);

  QLabel* Label1;
  QLineEdit* Password;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
};

class TPasswordDialog : public QObject {
  Q_OBJECT
 public:
  explicit TPasswordDialog(QObject* owner = nullptr);

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& caption) { FCaption = caption; }
  QString Password() const { return FPassword; }  // the expected password
  void SetPassword(const QString& password) { FPassword = password; }
  QString Prompt() const { return FPrompt; }
  void SetPrompt(const QString& prompt) { FPrompt = prompt; }
  TPasswordCase PasswordCase() const { return FPasswordCase; }
  void SetPasswordCase(TPasswordCase passwordCase) { FPasswordCase = passwordCase; }
  bool Cancel() const { return FCancel; }  // the user cancelled the last prompt

  // Shows the prompt modally; true when the user pressed Ok having typed the password.
  bool Execute();

  // The prompt window while it is shown, for tests and callers that want to look at it.
  QPointer<TPasswordDlg> PasswordDlg;

 private:
  QString FPassword;
  QString FPrompt;
  QString FCaption;
  TPasswordCase FPasswordCase = pcNormal;
  bool FCancel = false;
};

// The program's password prompt for opening a protected payer file: a TPasswordDialog named
// "PasswordDialog", owned by the data module, asking "Enter File Password". Returned for those
// that want to look at it.
TPasswordDialog* InstallPasswordPrompt(TFrmDataModule& module);
