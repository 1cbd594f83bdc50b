#pragma once
// The print type choice shown by every Print button: program-generated forms or pre-printed
// IRS red copies (offered but disabled), whether to mask social security numbers, and for the
// program-generated forms which copy to print and whether the recipient's instructions follow.
#include <QDialog>
#include <QString>

class QCheckBox;
class QPushButton;
class QRadioButton;

enum TPrintTypeSelection { ptCancelled = 0, ptProgramGenerated = 1, ptPreprinted = 2 };

// What a program-generated print holds; kept for the whole run like the mask option.
struct TCopyChoice {
  bool PayerCopy = false;    // the payer's file copy (Copy C) instead of the recipient's Copy B
  bool Instructions = true;  // the recipient's instructions on the page after each Copy B
  // The copy the report project draws: "B" or "C".
  QString Copy() const { return PayerCopy ? QStringLiteral("C") : QStringLiteral("B"); }
  bool WithInstructions() const { return Instructions && !PayerCopy; }
};
TCopyChoice& CopyChoice();

class TFrmSelectFormType : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmSelectFormType(QWidget* parent = nullptr);

  // 1 when "Program Generated" is checked, else 2; what the dialog answers when confirmed.
  int Selection() const;
  bool MaskSSN() const;
  void SetMaskSSN(bool on);
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
};

// Shows the choice with the form's name as caption. MaskSSNOption and CopyChoice() seed the
// controls and take their state however the dialog closes (Cancel and Esc included). Returns
// the selection when the dialog was confirmed, else ptCancelled.
int ChoosePrintType(const QString& caption, QWidget* parent = nullptr);
