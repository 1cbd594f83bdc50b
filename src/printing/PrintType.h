#pragma once
// The print type choice shown by every Print button: program-generated forms or pre-printed
// IRS red copies (offered but disabled), and whether to mask social security numbers.
#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

enum TPrintTypeSelection { ptCancelled = 0, ptProgramGenerated = 1, ptPreprinted = 2 };

class TFrmSelectFormType : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmSelectFormType(QWidget* parent = nullptr);

  // 1 when "Program Generated" is checked, else 2; what the dialog answers when confirmed.
  int Selection() const;
  bool MaskSSN() const;
  void SetMaskSSN(bool on);

 private:
  QRadioButton* RBProgGen;
  QRadioButton* RBRedCopy;
  QCheckBox* ChkMaskSSN;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
};

// Shows the choice with the form's name as caption. MaskSSNOption seeds the check box and takes
// its state however the dialog closes (Cancel and Esc included). Returns the selection when the
// dialog was confirmed, else ptCancelled.
int ChoosePrintType(const QString& caption, QWidget* parent = nullptr);
