#include "printing/PrinterSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "controls/EnterAsTab.h"
#include "controls/FilterEdit.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Exceptions.h"
#include "platform/Settings.h"
#include "storage/Globals.h"

TPrinterSetupRecord PrinterSetupRecord;

namespace {
constexpr int kHelpContext = 23;
constexpr int kMaxCopies = 99;

bool IsSettingCode(int value) {
  return value >= 0 && value <= 2;
}

void ReadCode(const TRegistry& reg, const QString& name, int& field) {
  bool ok = false;
  const int value = reg.ReadInteger(name, 0, &ok);
  if (ok && IsSettingCode(value)) field = value;
}
}  // namespace

QString PrinterSetupKey() {
  return RegistryRoot + QStringLiteral("Printer");
}

void ClearPrinterSetup(TPrinterSetupRecord& rec) {
  rec = TPrinterSetupRecord{};
}

void ReadPrinterSetup(TPrinterSetupRecord& rec) {
  TRegistry reg;
  if (!reg.OpenKey(PrinterSetupKey(), false)) return;
  rec.PrinterName = reg.ReadString(QStringLiteral("Name")).left(kPrinterNameWidth);
  rec.PaperName = reg.ReadString(QStringLiteral("Paper")).left(kPaperNameWidth);
  rec.BinName = reg.ReadString(QStringLiteral("Bin")).left(kBinNameWidth);
  ReadCode(reg, QStringLiteral("Orientation"), rec.Orientation);
  // The flag is kept as the integer 0 or 1.
  rec.Collate = reg.ReadInteger(QStringLiteral("Collate"), 0) != 0;
  ReadCode(reg, QStringLiteral("Duplex"), rec.Duplex);
  const int copies = reg.ReadInteger(QStringLiteral("Copies"), 0);
  rec.Copies = copies >= 0 && copies <= kMaxCopies ? copies : 0;
  reg.CloseKey();
}

void WritePrinterSetup(const TPrinterSetupRecord& rec) {
  TRegistry reg;
  if (!reg.OpenKey(PrinterSetupKey(), true)) return;
  reg.WriteString(QStringLiteral("Name"), rec.PrinterName);
  reg.WriteString(QStringLiteral("Paper"), rec.PaperName);
  reg.WriteString(QStringLiteral("Bin"), rec.BinName);
  reg.WriteInteger(QStringLiteral("Orientation"), rec.Orientation);
  reg.WriteInteger(QStringLiteral("Collate"), rec.Collate ? 1 : 0);
  reg.WriteInteger(QStringLiteral("Duplex"), rec.Duplex);
  reg.WriteInteger(QStringLiteral("Copies"), rec.Copies);
  reg.CloseKey();
}

void SetPrinterSetup(TPagePrinter& printer) {
  ReadPrinterSetup(PrinterSetupRecord);
  const TPrinterSetupRecord& rec = PrinterSetupRecord;
  if (rec.PrinterName.trimmed().isEmpty()) return;
  printer.SelectPrinter(rec.PrinterName);
  printer.SelectPaper(rec.PaperName);
  printer.SelectBin(rec.BinName);
  printer.SetOrientation(static_cast<TOrientation>(rec.Orientation));
  if (printer.SupportCollate()) printer.SetCollate(rec.Collate);
  if (printer.SupportDuplex()) printer.SetDuplex(static_cast<TDuplex>(rec.Duplex));
  // A stored 0 means one copy; no printer is asked for none.
  printer.SetCopies(rec.Copies < 1 ? 1 : rec.Copies);
}

TFrmPrinterSetupDlg::TFrmPrinterSetupDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmPrinterSetupDlg"));
  setWindowTitle(QStringLiteral("Printer Setup"));
  CreateControls();
  FormShow();
}

TFrmPrinterSetupDlg::~TFrmPrinterSetupDlg() = default;

namespace {
QComboBox* NewList(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setEditable(false);
  box->setMinimumContentsLength(30);
  return box;
}

QRadioButton* NewRadio(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QRadioButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  return button;
}

QPushButton* NewButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
  button->setAutoDefault(false);           // Enter moves on instead of pressing a button
  return button;
}
}  // namespace

void TFrmPrinterSetupDlg::CreateControls() {
  PrinterName = NewList("PrinterName", this);
  PaperName = NewList("PaperName", this);
  BinName = NewList("BinName", this);
  Collate = new QCheckBox(QStringLiteral("Collate"), this);
  Collate->setObjectName(QStringLiteral("Collate"));
  Collate->setLayoutDirection(Qt::RightToLeft);  // caption left of the box
  Copies = new TFilterEdit(this);
  Copies->setObjectName(QStringLiteral("Copies"));
  Copies->SetValidChars(QStringLiteral("[0..9]"));
  Copies->setMaxLength(2);
  Copies->setAlignment(Qt::AlignRight);
  Copies->SetRequiredField(false);
  Copies->setMaximumWidth(40);

  auto* orientation = new QGroupBox(QStringLiteral("Orientation"), this);
  Portrait = NewRadio("Portrait", QStringLiteral("Portrait"), orientation);
  Landscape = NewRadio("Landscape", QStringLiteral("Landscape"), orientation);
  auto* orientationLayout = new QVBoxLayout(orientation);
  orientationLayout->addWidget(Portrait);
  orientationLayout->addWidget(Landscape);

  auto* twoSided = new QGroupBox(QStringLiteral("Two-sided Printing"), this);
  Simplex = NewRadio("Simplex", QStringLiteral("None"), twoSided);
  Horizontal = NewRadio("Horizontal", QStringLiteral("Book"), twoSided);
  Vertical = NewRadio("Vertical", QStringLiteral("Tablet"), twoSided);
  auto* twoSidedLayout = new QVBoxLayout(twoSided);
  twoSidedLayout->addWidget(Simplex);
  twoSidedLayout->addWidget(Horizontal);
  twoSidedLayout->addWidget(Vertical);

  BtnOk = NewButton("BtnOk", QStringLiteral("&Ok"), this);
  BtnCancel = NewButton("BtnCancel", QStringLiteral("&Cancel"), this);
  connect(BtnOk, &QPushButton::clicked, this,
          [this] { TApplication::Guard([this] { BtnOkClick(); }); });
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(PrinterName, &QComboBox::activated, this, &TFrmPrinterSetupDlg::PrinterNameChange);

  auto* lists = new QFormLayout;
  lists->addRow(QStringLiteral("Printer name"), PrinterName);
  lists->addRow(QStringLiteral("Paper size"), PaperName);
  lists->addRow(QStringLiteral("Paper source"), BinName);
  auto* copiesRow = new QHBoxLayout;
  copiesRow->addWidget(Collate);
  copiesRow->addStretch();
  copiesRow->addWidget(new QLabel(QStringLiteral("Copies"), this));
  copiesRow->addWidget(Copies);
  auto* groups = new QHBoxLayout;
  groups->addWidget(orientation);
  groups->addWidget(twoSided);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BtnOk);
  buttons->addWidget(BtnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists);
  layout->addLayout(copiesRow);
  layout->addLayout(groups);
  layout->addLayout(buttons);

  EnterAsTab = new TEnterAsTab(this);
  EnterAsTab->SetEnterAsTabKey(true);
  EnterAsTab->SetEscapeAsClose(false);
  EnterAsTab->SetParentForm(this);

  setTabOrder(PrinterName, PaperName);
  setTabOrder(PaperName, BinName);
  setTabOrder(BinName, Collate);
  setTabOrder(Collate, Copies);
  setTabOrder(Copies, Portrait);
  setTabOrder(Portrait, Simplex);
}

void TFrmPrinterSetupDlg::FormShow() {
  ClearPrinterSetup(PrinterSetupRecord);
  PrinterName->addItems(FPrinter.Printers());
  ReadPrinterSetup(PrinterSetupRecord);
  const TPrinterSetupRecord& rec = PrinterSetupRecord;
  PrinterName->setCurrentIndex(PrinterName->findText(rec.PrinterName, Qt::MatchExactly));
  FillPrinterLists();
  PaperName->setCurrentIndex(PaperName->findText(rec.PaperName, Qt::MatchExactly));
  BinName->setCurrentIndex(BinName->findText(rec.BinName, Qt::MatchExactly));
  (rec.Orientation == 1 ? Landscape : Portrait)->setChecked(true);
  Collate->setChecked(rec.Collate);
  QRadioButton* duplex = Simplex;
  if (rec.Duplex == int(TDuplex::Vertical)) duplex = Vertical;
  if (rec.Duplex == int(TDuplex::Horizontal)) duplex = Horizontal;
  duplex->setChecked(true);
  Copies->setText(QString::number(rec.Copies == 0 ? 1 : rec.Copies));
  PrinterName->setFocus();
}

void TFrmPrinterSetupDlg::FillPrinterLists() {
  PaperName->clear();
  BinName->clear();
  if (PrinterName->currentIndex() < 0) return;
  FPrinter.SelectPrinter(PrinterName->currentText());
  PaperName->addItems(FPrinter.Papers());
  BinName->addItems(FPrinter.Bins());
  PaperName->setCurrentIndex(-1);
  BinName->setCurrentIndex(-1);
}

void TFrmPrinterSetupDlg::PrinterNameChange(int) {
  FillPrinterLists();
}

void TFrmPrinterSetupDlg::ValidateEntries() {
  const auto fail = [](QWidget* control, const char* message) {
    control->setFocus();
    throw EFieldException(QString::fromLatin1(message));
  };
  if (PrinterName->currentIndex() < 0) fail(PrinterName, "Printer has not been selected");
  if (PaperName->currentIndex() < 0) fail(PaperName, "Paper size has not been selected");
  if (BinName->currentIndex() < 0) fail(BinName, "Paper source has not been selected");
  if (Copies->text().toInt() == 0) fail(Copies, "Copies must not be 0");
}

void TFrmPrinterSetupDlg::TakeControls(TPrinterSetupRecord& rec) const {
  rec.PrinterName = PrinterName->currentText().left(kPrinterNameWidth);
  rec.PaperName = PaperName->currentText().left(kPaperNameWidth);
  rec.BinName = BinName->currentText().left(kBinNameWidth);
  rec.Orientation = int(Landscape->isChecked() ? TOrientation::Landscape : TOrientation::Portrait);
  rec.Collate = Collate->isChecked();
  TDuplex duplex = TDuplex::Simplex;
  if (Horizontal->isChecked()) duplex = TDuplex::Horizontal;
  if (Vertical->isChecked()) duplex = TDuplex::Vertical;
  rec.Duplex = int(duplex);
  rec.Copies = Copies->text().toInt();
}

void TFrmPrinterSetupDlg::BtnOkClick() {
  ValidateEntries();
  TakeControls(PrinterSetupRecord);
  WritePrinterSetup(PrinterSetupRecord);
  accept();
}

void TFrmPrinterSetupDlg::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      return;  // only the buttons close this dialog
    case Qt::Key_F1:
      ShowHelp(kHelpContext);
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void ShowPrinterSetupDlg(QWidget* parent) {
  TFrmPrinterSetupDlg dlg(parent);
  dlg.exec();
}
