#include "printing/PrinterOffsets.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtEndian>
#include <cmath>
#include <cstring>

#include "controls/DollarEdit.h"
#include "controls/EnterAsTab.h"
#include "platform/Dialogs.h"
#include "platform/Settings.h"
#include "printing/PrinterSetup.h"
#include "storage/Globals.h"

namespace {
constexpr int kHelpContext = 19;
// The most a field lets the user type; stored values up to two whole digits are still shown.
constexpr double kMaxOffset = 1.9999;
constexpr double kOffsetLimit = 10.0;

QString HorizontalName(const TOffsetForm& form) {
  return QLatin1String(form.Prefix) + QStringLiteral("HO");
}
QString VerticalName(const TOffsetForm& form) {
  return QLatin1String(form.Prefix) + QStringLiteral("VO");
}

double ReadOffset(const TRegistry& reg, const QString& name) {
  return OffsetFromBytes(reg.ReadBinaryData(name));
}
}  // namespace

namespace {
QList<TOffsetForm>& InstalledForms() {
  static QList<TOffsetForm> forms;
  return forms;
}
}  // namespace

const QList<TOffsetForm>& OffsetForms() {
  return InstalledForms();
}

void SetOffsetForms(const QList<TOffsetForm>& forms) {
  InstalledForms() = forms;
}

QString OffsetsKey() {
  return RegistryRoot + QStringLiteral("Offsets");
}

QByteArray OffsetBytes(double value) {
  quint64 bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  bits = qToLittleEndian(bits);
  return QByteArray(reinterpret_cast<const char*>(&bits), sizeof bits);
}

double OffsetFromBytes(const QByteArray& bytes) {
  if (bytes.size() != int(sizeof(quint64))) return 0.0;
  const quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
  double value = 0.0;
  std::memcpy(&value, &bits, sizeof value);
  if (!std::isfinite(value) || std::fabs(value) >= kOffsetLimit) return 0.0;
  return value;
}

bool ReadFormOffsets(const QString& prefix, double& vo, double& ho) {
  TRegistry reg;
  if (!reg.OpenKey(OffsetsKey(), false)) return false;
  vo = ReadOffset(reg, prefix + QStringLiteral("VO"));
  ho = ReadOffset(reg, prefix + QStringLiteral("HO"));
  reg.CloseKey();
  return true;
}

TFrmPrinterSetup::TFrmPrinterSetup(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmPrinterSetup"));
  setWindowTitle(QStringLiteral("Printer Offsets Setup"));
  // No close box: only Ok and Cancel end this screen.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  CreateControls();
  FormShow();
}

namespace {
TDollarEdit* NewOffsetField(const QString& name, QWidget* parent) {
  auto* field = new TDollarEdit(parent);
  field->setObjectName(name);
  field->SetDollarDigits(2);
  field->SetCentDigits(4);
  field->SetCurrency(false);
  field->SetMaxValue(kMaxOffset);
  field->SetMinusKey(true);
  field->SetRequiredField(false);
  field->setAlignment(Qt::AlignRight);
  return field;
}

QPushButton* NewButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setFocusPolicy(Qt::ClickFocus);  // not a tab stop
  button->setAutoDefault(false);
  return button;
}
}  // namespace

void TFrmPrinterSetup::CreateControls() {
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Horizontal offset"), this), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Vertical offset"), this), 0, 2);
  int row = 1;
  for (const TOffsetForm& form : OffsetForms()) {
    grid->addWidget(new QLabel(QLatin1String(form.Caption), this), row, 0);
    TDollarEdit* ho = NewOffsetField(HorizontalName(form), this);
    TDollarEdit* vo = NewOffsetField(VerticalName(form), this);
    // A grid cell has no label of its own: the row's form and the column name it.
    ho->setAccessibleName(QLatin1String(form.Caption) + QStringLiteral(" horizontal offset"));
    vo->setAccessibleName(QLatin1String(form.Caption) + QStringLiteral(" vertical offset"));
    ho->setToolTip(QStringLiteral("Inches; positive moves the print right"));
    vo->setToolTip(QStringLiteral("Inches; positive moves the print down"));
    grid->addWidget(ho, row, 1);
    grid->addWidget(vo, row, 2);
    if (!FFields.isEmpty()) setTabOrder(FFields.last(), ho);
    setTabOrder(ho, vo);
    FFields << ho << vo;
    ++row;
  }

  BtnOk = NewButton("BtnOk", QStringLiteral("&Ok"), this);
  BtnCancel = NewButton("BtnCancel", QStringLiteral("&Cancel"), this);
  BtnSetup = NewButton("BtnSetup", QStringLiteral("&Setup"), this);
  BtnHelp = NewButton("BtnHelp", QStringLiteral("?"), this);
  BtnHelp->setToolTip(QStringLiteral("Help with this form"));
  connect(BtnOk, &QPushButton::clicked, this, &TFrmPrinterSetup::BtnOkClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(BtnSetup, &QPushButton::clicked, this, &TFrmPrinterSetup::BtnSetupClick);
  connect(BtnHelp, &QPushButton::clicked, this, [] { ShowHelp(kHelpContext); });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtnHelp);
  buttons->addStretch();
  buttons->addWidget(BtnSetup);
  buttons->addWidget(BtnOk);
  buttons->addWidget(BtnCancel);
  // The fields show bare numbers: the unit and the directions are said once, under them.
  auto* units = new QLabel(
      QStringLiteral("Offsets are in inches, from -1.9999 to 1.9999 (0.0625 is 1/16 inch).\n"
                     "Positive moves the print right or down, negative left or up."),
      this);
  units->setObjectName(QStringLiteral("LblUnits"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(units);
  layout->addLayout(buttons);

  EnterAsTab = new TEnterAsTab(this);
  EnterAsTab->SetEnterAsTabKey(true);
  EnterAsTab->SetEscapeAsClose(false);
  EnterAsTab->SetParentForm(this);
}

TDollarEdit* TFrmPrinterSetup::Field(const QString& valueName) const {
  for (TDollarEdit* field : FFields)
    if (field->objectName() == valueName) return field;
  return nullptr;
}

void TFrmPrinterSetup::FormShow() {
  TRegistry reg;
  const bool stored = reg.OpenKey(OffsetsKey(), false);
  for (TDollarEdit* field : FFields)
    field->SetValue(stored ? ReadOffset(reg, field->objectName()) : 0.0);
  if (stored) reg.CloseKey();
  FFields.first()->setFocus();
}

void TFrmPrinterSetup::WriteOffsets() const {
  TRegistry reg;
  if (!reg.OpenKey(OffsetsKey(), true)) return;
  // An emptied field reads as 0, so every one of the sixteen values is written.
  for (TDollarEdit* field : FFields)
    reg.WriteBinaryData(field->objectName(), OffsetBytes(field->Value()));
  reg.CloseKey();
}

void TFrmPrinterSetup::BtnOkClick() {
  WriteOffsets();
  accept();
}

void TFrmPrinterSetup::BtnSetupClick() {
  ShowPrinterSetupDlg(this);
}

void TFrmPrinterSetup::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) return;  // only Ok and Cancel close this screen
  if (event->key() == Qt::Key_F1) {
    ShowHelp(kHelpContext);
    return;
  }
  QDialog::keyPressEvent(event);
}

void TFrmPrinterSetup::closeEvent(QCloseEvent* event) {
  event->ignore();
}

void ShowPrinterOffsets(QWidget* parent) {
  TFrmPrinterSetup screen(parent);
  screen.exec();
}
