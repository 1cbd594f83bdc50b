#include "printing/PrintType.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/DialogButtons.h"
#include "platform/Dialogs.h"
#include "storage/Globals.h"

TFrmSelectFormType::TFrmSelectFormType(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmSelectFormType"));
  AddHelpKey(this, htPrintType);
  setWindowTitle(QStringLiteral("Print Setup"));

  auto* group = new QGroupBox(QStringLiteral("Select type of Form"), this);
  RBProgGen = new QRadioButton(QStringLiteral("Program Generated"), group);
  RBProgGen->setObjectName(QStringLiteral("RBProgGen"));
  RBProgGen->setChecked(true);
  RBRedCopy = new QRadioButton(QStringLiteral("Pre-Printed IRS red copy"), group);
  RBRedCopy->setObjectName(QStringLiteral("RBRedCopy"));
  // Paper filers need Copy A and the Form 1096 on the IRS's red-ink forms.
  // Which copy the program generates sits beside its choice; each pair is a group of its own.
  RBCopyB = new QRadioButton(QStringLiteral("Copy B"), group);
  RBCopyB->setObjectName(QStringLiteral("RBCopyB"));
  RBCopyB->setToolTip(QStringLiteral("The recipient's copy"));
  RBCopyC = new QRadioButton(QStringLiteral("Copy C"), group);
  RBCopyC->setObjectName(QStringLiteral("RBCopyC"));
  RBCopyC->setToolTip(QStringLiteral("The payer's copy for its files"));
  auto* types = new QButtonGroup(this);
  types->addButton(RBProgGen);
  types->addButton(RBRedCopy);
  auto* copies = new QButtonGroup(this);
  copies->addButton(RBCopyB);
  copies->addButton(RBCopyC);
  RBProgGen->setChecked(true);
  RBCopyB->setChecked(true);
  auto* progGenRow = new QHBoxLayout;
  progGenRow->addWidget(RBProgGen);
  progGenRow->addWidget(RBCopyB);
  progGenRow->addWidget(RBCopyC);
  progGenRow->addStretch();
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addLayout(progGenRow);
  groupLayout->addWidget(RBRedCopy);

  ChkMaskSSN = new QCheckBox(QStringLiteral("&Mask SSN on Program Generated Copy"), this);
  ChkMaskSSN->setObjectName(QStringLiteral("ChkMaskSSN"));
  ChkInstructions = new QCheckBox(QStringLiteral("Include instructions for recipient"), this);
  ChkInstructions->setObjectName(QStringLiteral("ChkInstructions"));
  ChkInstructions->setChecked(true);
  connect(RBProgGen, &QRadioButton::toggled, this, &TFrmSelectFormType::EnableChoices);
  connect(RBCopyB, &QRadioButton::toggled, this, &TFrmSelectFormType::EnableChoices);
  connect(RBCopyC, &QRadioButton::toggled, this, &TFrmSelectFormType::CopyToggled);

  BtnOk = new QPushButton(QStringLiteral("&Ok"), this);
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(ChkMaskSSN);
  layout->addWidget(ChkInstructions);
  layout->addLayout(OkCancelRow(this, BtnOk, BtnCancel));
  EnableChoices();

  RBProgGen->setFocus();
}

// The copies, the mask and the instructions belong to the program-generated forms (the red copy
// is Copy A for the IRS, which shows the whole number); the instructions to Copy B alone.
void TFrmSelectFormType::EnableChoices() {
  const bool program = RBProgGen->isChecked();
  RBCopyB->setEnabled(program);
  RBCopyC->setEnabled(program);
  ChkMaskSSN->setEnabled(program);
  ChkInstructions->setEnabled(program && RBCopyB->isChecked());
}

int TFrmSelectFormType::Selection() const {
  return RBProgGen->isChecked() ? ptProgramGenerated : ptPreprinted;
}

// Each copy keeps its own mask: the box shows the one of the copy chosen and keeps the other.
void TFrmSelectFormType::CopyToggled(bool) {
  const bool shown = ChkMaskSSN->isChecked();
  ChkMaskSSN->setChecked(FOtherMask);
  FOtherMask = shown;
}

bool TFrmSelectFormType::MaskSSN() const {
  return RBCopyC->isChecked() ? FOtherMask : ChkMaskSSN->isChecked();
}

void TFrmSelectFormType::SetMaskSSN(bool on) {
  if (RBCopyC->isChecked())
    FOtherMask = on;
  else
    ChkMaskSSN->setChecked(on);
}

TCopyChoice TFrmSelectFormType::Copies() const {
  TCopyChoice choice;
  choice.PayerCopy = RBCopyC->isChecked();
  choice.Instructions = ChkInstructions->isChecked();
  choice.MaskPayerCopy = choice.PayerCopy ? ChkMaskSSN->isChecked() : FOtherMask;
  return choice;
}

void TFrmSelectFormType::SetCopies(const TCopyChoice& choice) {
  (choice.PayerCopy ? RBCopyC : RBCopyB)->setChecked(true);
  ChkInstructions->setChecked(choice.Instructions);
  if (choice.PayerCopy)
    ChkMaskSSN->setChecked(choice.MaskPayerCopy);
  else
    FOtherMask = choice.MaskPayerCopy;
  EnableChoices();
}

TCopyChoice& CopyChoice() {
  static TCopyChoice choice;
  return choice;
}

int ChoosePrintType(const QString& caption, QWidget* parent) {
  TFrmSelectFormType dlg(parent);
  dlg.setWindowTitle(caption);
  dlg.SetMaskSSN(MaskSSNOption);
  dlg.SetCopies(CopyChoice());
  const bool confirmed = dlg.exec() == QDialog::Accepted;
  MaskSSNOption = dlg.MaskSSN();
  CopyChoice() = dlg.Copies();
  return confirmed ? dlg.Selection() : ptCancelled;
}
