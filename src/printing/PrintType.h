#pragma once
// The print type choice shown by every Print button: program-generated forms or pre-printed
// IRS red copies (offered but disabled), whether to mask social security numbers, and for the
// program-generated forms which copy to print and whether the recipient's instructions follow.
#include <QDialog>
#include <QString>

#include "storage/Globals.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

enum TPrintTypeSelection { ptCancelled = 0, ptProgramGenerated = 1, ptPreprinted = 2 };

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

  // 1 when "Program Generated" is checked, else 2; what the dialog answers when confirmed.
  int Selection() const;
  // The mask of the recipient's copy (Copy B); the mask box shows it while Copy B is chosen.
  bool MaskSSN() const;
  void SetMaskSSN(bool on);
  // With Copy C chosen the mask box shows and sets the payer copy's own mask.
  TCopyChoice Copies() const;
  void SetCopies(const TCopyChoice& choice);

 private:
  void EnableChoices();

  QRadioButton* RBProgGen;
  QRadioButton* RBRedCopy;
  QCheckBox* ChkMaskSSN;
  QRadioButton* RBCopyB;
  QRadioButton* RBCopyC;
  QCheckBox* ChkInstructions;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
  // The mask of the copy not shown in the mask box just now.
  bool FOtherMask = false;

  void CopyToggled(bool payerCopy);
};

// Shows the choice with the form's name as caption. MaskSSNOption and CopyChoice() seed the
// controls and take their state however the dialog closes (Cancel and Esc included). Returns
// the selection when the dialog was confirmed, else ptCancelled.
int ChoosePrintType(const QString& caption, QWidget* parent = nullptr);
