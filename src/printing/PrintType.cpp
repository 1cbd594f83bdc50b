#include "printing/PrintType.h"

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
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(RBProgGen);
  groupLayout->addWidget(RBRedCopy);

  ChkMaskSSN = new QCheckBox(QStringLiteral("&Mask SSN on Program Generated Copy"), this);
  ChkMaskSSN->setObjectName(QStringLiteral("ChkMaskSSN"));

  BtnOk = new QPushButton(QStringLiteral("&Ok"), this);
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(ChkMaskSSN);
  layout->addLayout(OkCancelRow(this, BtnOk, BtnCancel));

  RBProgGen->setFocus();
}

int TFrmSelectFormType::Selection() const {
  return RBProgGen->isChecked() ? ptProgramGenerated : ptPreprinted;
}

bool TFrmSelectFormType::MaskSSN() const {
  return ChkMaskSSN->isChecked();
}

void TFrmSelectFormType::SetMaskSSN(bool on) {
  ChkMaskSSN->setChecked(on);
}

int ChoosePrintType(const QString& caption, QWidget* parent) {
  TFrmSelectFormType dlg(parent);
  dlg.setWindowTitle(caption);
  dlg.SetMaskSSN(MaskSSNOption);
  const bool confirmed = dlg.exec() == QDialog::Accepted;
  MaskSSNOption = dlg.MaskSSN();
  return confirmed ? dlg.Selection() : ptCancelled;
}
