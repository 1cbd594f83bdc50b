#pragma once
// The print type choice shown by every Print button: program-generated forms or pre-printed
// IRS red copies (offered but disabled), whether to mask social security numbers, and for the
// program-generated forms which copy to print and whether the recipient's instructions follow.
#include <QDialog>
#include <QString>
#include <functional>

#include "printing/PayeeSelection.h"

#include "storage/Globals.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

enum TPrintTypeSelection {
  ptCancelled = 0,
  ptProgramGenerated = 1,
  ptPreprinted = 2,
  ptAlignment = 3,  // the alignment page for red copies, on plain paper
};

// What the choice offers beyond the type of form, where the caller can give it.
struct TPrintTypeOffer {
  // The choice of payees: all, only the forms marked CORRECTED, or chosen ones.
  bool Payees = false;
  // The alignment page for red copies.
  bool Alignment = false;
  // The number of forms a selection prints, shown beside each choice of payees.
  std::function<int(const TPayeeSelection&)> CountForms;
  // Lets the user check the payees to print (the record list with check marks): updates chosen
  // and answers true when confirmed.
  std::function<bool(QList<int>& chosen)> ChoosePayees;
};

// What a program-generated print holds; kept for the whole run like the mask option.
struct TCopyChoice {
  bool PayerCopy = false;    // the payer's file copy (Copy C) instead of the recipient's Copy B
  bool Instructions = true;  // the recipient's instructions on the page after each Copy B
  // Copy C masks the recipient's SSN only when asked to: it is the payer's own record, and the
  // masking MaskSSNOption turns on by default is meant for what the recipient gets.
  bool MaskPayerCopy = false;
  // The copy the report project draws: "B" or "C".
  QString Copy() const { return PayerCopy ? QStringLiteral("C") : QStringLiteral("B"); }
  bool WithInstructions() const { return Instructions && !PayerCopy; }
  // Whether the recipient's SSN is masked on the copy chosen.
  bool MaskTIN() const { return PayerCopy ? MaskPayerCopy : MaskSSNOption; }
};
TCopyChoice& CopyChoice();

class TFrmSelectFormType : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmSelectFormType(QWidget* parent = nullptr);

  // 1 when "Program Generated" is checked, 3 for the alignment page, else 2; what the dialog
  // answers when confirmed.
  int Selection() const;
  // The mask of the recipient's copy (Copy B); the mask box shows it while Copy B is chosen.
  bool MaskSSN() const;
  void SetMaskSSN(bool on);
  // With Copy C chosen the mask box shows and sets the payer copy's own mask.
  TCopyChoice Copies() const;
  void SetCopies(const TCopyChoice& choice);
  // Shows the choices the offer holds; the payees start as selection has them.
  void SetOffer(const TPrintTypeOffer& offer, const TPayeeSelection& selection);
  TPayeeSelection Payees() const;

  void accept() override;

 private:
  void EnableChoices();
  void CreatePayeeGroup();
  void ShowCounts();
  // Asks for the payees to check; false when the user chose none.
  bool ChooseClick();
  void FollowType();

  QRadioButton* RBProgGen;
  QRadioButton* RBRedCopy;
  QRadioButton* RBAlignment;
  QCheckBox* ChkMaskSSN;
  QRadioButton* RBCopyB;
  QRadioButton* RBCopyC;
  QCheckBox* ChkInstructions;
  QGroupBox* GrpPayees;
  QRadioButton* RBAllPayees;
  QRadioButton* RBCorrected;
  QRadioButton* RBChosen;
  QPushButton* BtnChoose;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
  TPrintTypeOffer FOffer;
  QList<int> FChosen;
  // The mask of the copy not shown in the mask box just now.
  bool FOtherMask = false;

  void CopyToggled(bool payerCopy);
};

// Shows the choice with the form's name as caption. MaskSSNOption and CopyChoice() seed the
// controls and take their state however the dialog closes (Cancel and Esc included). Returns
// the selection when the dialog was confirmed, else ptCancelled.
int ChoosePrintType(const QString& caption, QWidget* parent = nullptr);
// The same with what the offer adds: the payees chosen come back in selection (all payees when
// the choice is not offered); the alignment page answers ptAlignment.
int ChoosePrintType(const QString& caption, QWidget* parent, const TPrintTypeOffer& offer,
                    TPayeeSelection& selection);
