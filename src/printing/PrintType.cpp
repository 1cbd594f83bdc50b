#include "printing/PrintType.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
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
  // Plain paper with the red copy's items at their places: how the offsets are found.
  RBAlignment = new QRadioButton(QStringLiteral("A&lignment page for red copies"), group);
  RBAlignment->setObjectName(QStringLiteral("RBAlignment"));
  RBAlignment->setToolTip(
      QStringLiteral("Shows on plain paper where the red copy's text prints with the offsets"));
  RBAlignment->setVisible(false);
  types->addButton(RBAlignment);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addLayout(progGenRow);
  groupLayout->addWidget(RBRedCopy);
  groupLayout->addWidget(RBAlignment);

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
  CreatePayeeGroup();
  connect(RBAlignment, &QRadioButton::toggled, this, [this] { FollowType(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(ChkMaskSSN);
  layout->addWidget(ChkInstructions);
  layout->addWidget(GrpPayees);
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

void TFrmSelectFormType::CreatePayeeGroup() {
  GrpPayees = new QGroupBox(QStringLiteral("Payees to print"), this);
  GrpPayees->setObjectName(QStringLiteral("GrpPayees"));
  RBAllPayees = new QRadioButton(GrpPayees);
  RBAllPayees->setObjectName(QStringLiteral("RBAllPayees"));
  RBCorrected = new QRadioButton(GrpPayees);
  RBCorrected->setObjectName(QStringLiteral("RBCorrected"));
  RBChosen = new QRadioButton(GrpPayees);
  RBChosen->setObjectName(QStringLiteral("RBChosen"));
  BtnChoose = new QPushButton(QStringLiteral("Choose &payees..."), GrpPayees);
  BtnChoose->setObjectName(QStringLiteral("BtnChoose"));
  BtnChoose->setAutoDefault(false);
  RBAllPayees->setChecked(true);
  auto* chosenRow = new QHBoxLayout;
  chosenRow->addWidget(RBChosen);
  chosenRow->addWidget(BtnChoose);
  chosenRow->addStretch();
  auto* payees = new QVBoxLayout(GrpPayees);
  payees->addWidget(RBAllPayees);
  payees->addWidget(RBCorrected);
  payees->addLayout(chosenRow);
  GrpPayees->setVisible(false);
  ShowCounts();
  connect(BtnChoose, &QPushButton::clicked, this, [this] {
    if (ChooseClick()) RBChosen->setChecked(true);
  });
  // Choosing "Chosen payees" with none checked yet asks for them at once.
  connect(RBChosen, &QRadioButton::toggled, this, [this](bool on) {
    if (on && FChosen.isEmpty() && !ChooseClick()) RBAllPayees->setChecked(true);
  });
}

void TFrmSelectFormType::ShowCounts() {
  auto forms = [this](const TPayeeSelection& selection) {
    if (!FOffer.CountForms) return QString();
    const int n = FOffer.CountForms(selection);
    return n == 1 ? QStringLiteral(" (1 form)") : QStringLiteral(" (%1 forms)").arg(n);
  };
  RBAllPayees->setText(QStringLiteral("&All payees") + forms({}));
  RBCorrected->setText(QStringLiteral("Only forms marked CO&RRECTED") +
                       forms(TPayeeSelection::CorrectedOnly()));
  RBChosen->setText(QStringLiteral("C&hosen payees") +
                    (FChosen.isEmpty() ? QStringLiteral(" (none chosen)")
                                       : forms(TPayeeSelection::Chosen(FChosen))));
}

bool TFrmSelectFormType::ChooseClick() {
  if (!FOffer.ChoosePayees) return false;
  QList<int> chosen = FChosen;
  if (FOffer.ChoosePayees(chosen)) FChosen = chosen;
  ShowCounts();
  return !FChosen.isEmpty();
}

void TFrmSelectFormType::FollowType() {
  // The alignment page prints no payee and no number.
  GrpPayees->setEnabled(!RBAlignment->isChecked());
}

void TFrmSelectFormType::SetOffer(const TPrintTypeOffer& offer, const TPayeeSelection& selection) {
  FOffer = offer;
  RBAlignment->setVisible(offer.Alignment);
  GrpPayees->setVisible(offer.Payees);
  FChosen = selection.Records;
  {
    const QSignalBlocker quiet(RBChosen);
    (selection.Scope == TPayeeScope::Corrected ? RBCorrected
     : selection.Scope == TPayeeScope::Chosen  ? RBChosen
                                               : RBAllPayees)
        ->setChecked(true);
  }
  ShowCounts();
  adjustSize();
}

TPayeeSelection TFrmSelectFormType::Payees() const {
  if (!FOffer.Payees) return {};
  if (RBCorrected->isChecked()) return TPayeeSelection::CorrectedOnly();
  if (RBChosen->isChecked()) return TPayeeSelection::Chosen(FChosen);
  return {};
}

void TFrmSelectFormType::accept() {
  if (GrpPayees->isEnabled() && RBChosen->isChecked() && FChosen.isEmpty() && !ChooseClick())
    return;
  QDialog::accept();
}

int TFrmSelectFormType::Selection() const {
  if (RBAlignment->isChecked()) return ptAlignment;
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
  TPayeeSelection all;
  return ChoosePrintType(caption, parent, {}, all);
}

int ChoosePrintType(const QString& caption, QWidget* parent, const TPrintTypeOffer& offer,
                    TPayeeSelection& selection) {
  TFrmSelectFormType dlg(parent);
  dlg.setWindowTitle(caption);
  dlg.SetMaskSSN(MaskSSNOption);
  dlg.SetCopies(CopyChoice());
  dlg.SetOffer(offer, offer.Payees ? selection : TPayeeSelection{});
  const bool confirmed = dlg.exec() == QDialog::Accepted;
  MaskSSNOption = dlg.MaskSSN();
  CopyChoice() = dlg.Copies();
  selection = offer.Payees ? dlg.Payees() : TPayeeSelection{};
  return confirmed ? dlg.Selection() : ptCancelled;
}
