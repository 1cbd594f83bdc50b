#pragma once
// The "Payer Data" screen: the filer of the open payer file. It edits PayerRec and writes it to
// the payer file when it closes, and it cannot be left while its data are incomplete or
// invalid: every way out runs the validation, which puts the focus on the faulty field.
#include "maintenance/FrmScreen.h"

class TFrmPayer : public TFrmScreen {
  Q_OBJECT
 public:
  explicit TFrmPayer(QWidget* parent = nullptr);

  void RecordToScreen();
  // Throws EFieldException with the focus on the first faulty field.
  void Validate();
  void ScreenToRecord();
  // The shown payer as it would be stored, into payer.
  void ScreenToRecord(TPayerRecord& payer) const;
  void BtnOkClick();

  QLineEdit* PayerName;
  QLineEdit* TradeName;
  QLineEdit* Address1;
  QLineEdit* Address2;
  QLineEdit* City;
  TStateEdit* State;
  TFilterEdit* ZipCode;
  QLineEdit* Contact;
  QLineEdit* PhoneNum;  // masked: NNN-NNN-NNNN
  QLineEdit* FaxNum;    // masked: NNN-NNN-NNNN
  QLineEdit* Email;
  QLineEdit* EmpIDNum;   // masked: NN-NNNNNNN
  QLineEdit* SocSecNum;  // masked: NNN-NN-NNNN
  TStateEdit* StateName1;
  TFilterEdit* StateID1;
  TStateEdit* StateName2;
  TFilterEdit* StateID2;
  QLineEdit* Locality1;
  QLineEdit* Locality2;
  TFilterEdit* RTN;
  TFilterEdit* SignerName;
  TFilterEdit* SignerTitle;
  QLabel* LblSigner;
  QPushButton* BtnOk;
  QPushButton* BtnHelp;
  TEnterAsTab* EnterAsTab;

 protected:
  void FirstShow() override;
  void FormCloseQuery() override;

 private:
  void CreateControls();
  void SetTabOrder();
  void LayOut();
  void NameStateLists();
  void PlaceButtons(int width, int fieldsBottom);
};

// File / Payer: shows the payer screen modally and releases it.
void ShowPayerScreen();
