#pragma once
// The "Payee Data" screen: the name, address and taxpayer number of the payees of the open payer
// file, one at a time, with a record navigator to move between them, add and delete them and
// pick one from the name list. The shown payee is saved whenever the user moves to another one
// or leaves the screen, and neither is possible while its data are incomplete or invalid.
#include "maintenance/FrmScreen.h"

#include "storage/TinAnswers.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class TRSNavigator;

class TFrmPayee : public TFrmScreen {
  Q_OBJECT
 public:
  explicit TFrmPayee(QWidget* parent = nullptr);

  void FormShow();
  void RecordToScreen();
  // Throws EFieldException with the focus on the first faulty field.
  void Validate();
  void ScreenToRecord();
  // The shown payee as it would be stored, into payee.
  void ScreenToRecord(TPayeeRecord& payee) const;
  // Enables the name fields that fit the Individual box and moves the focus to the first.
  void IndividualStep();
  void NameChange();
  // What the taxpayer number shown may be wrong about, and the IRS's TIN matching answer for the
  // name and number shown; warnings only, the checks of Validate decide what may be saved.
  void ShowTinNote();
  void RSNavigatorBeforeAction();
  void RSNavigatorAfterAction();
  void BtnOkClick();

  QCheckBox* Individual;
  QLineEdit* LastName;
  QLineEdit* FirstName;
  QLineEdit* PayeeName;
  QLineEdit* CompName;
  QLineEdit* Address1;
  QLineEdit* City;
  TStateEdit* State;
  TFilterEdit* ZipCode;
  TFilterEdit* SSN_IDNum;
  QLabel* TinNote;
  TRSNavigator* RSNavigator;
  QPushButton* BtnOk;
  QPushButton* BtnHelp;
  QPlainTextEdit* MemoHelp;
  TEnterAsTab* EnterAsTab;

 protected:
  void FirstShow() override;
  void FormCloseQuery() override;

 private:
  void CreateControls();
  void CreateNavigator();
  void SetTabOrder();
  void LayOut();
  void PlaceBottom(int width, int navigatorX, int fieldsBottom);
  bool IsUntouchedBlank() const;
  bool DropBlankPayee();
  void LoadTinAnswers();
  // Drops the answers of a payee whose name or number changed since it was shown.
  void ForgetChangedAnswer();

  TTinAnswers FAnswers;
  QString FAnswersProblem;
  TTinMatchKey FShownKey;
};

// File / Payee: shows the payee screen modally and releases it.
void ShowPayeeScreen();
