#include "printing/OutputOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int kMaxCopies = 99;

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QLatin1String(name));
  return widget;
}
}  // namespace

TFrmOutputOptions::TFrmOutputOptions(const TPrinterSettings& settings, int pageCount,
                                     TPrinterTarget& target, QWidget* parent)
    : QDialog(parent), FSettings(settings), FTarget(target) {
  setObjectName(QStringLiteral("FrmOutputOptions"));
  setWindowTitle(QStringLiteral("Output Options"));
  CreateControls(std::max(1, pageCount));
  ShowSettings();
}

void TFrmOutputOptions::CreateControls(int pageCount) {
  PrinterName = Named(new QComboBox(this), "PrinterName");
  PrinterName->addItems(FTarget.PrinterNames());
  Copies = Named(new QSpinBox(this), "Copies");
  Copies->setRange(1, kMaxCopies);
  Collate = Named(new QCheckBox(QStringLiteral("Collate"), this), "Collate");
  Duplex = Named(new QComboBox(this), "Duplex");
  // In the order of the stored codes: 0 none, 1 vertical, 2 horizontal.
  Duplex->addItems({QStringLiteral("None"), QStringLiteral("Tablet"), QStringLiteral("Book")});

  auto* range = new QGroupBox(QStringLiteral("Page range"), this);
  RBAllPages = Named(new QRadioButton(QStringLiteral("All pages"), range), "RBAllPages");
  RBPageRange = Named(new QRadioButton(QStringLiteral("Pages"), range), "RBPageRange");
  FromPage = Named(new QSpinBox(range), "FromPage");
  ToPage = Named(new QSpinBox(range), "ToPage");
  FromPage->setRange(1, pageCount);
  ToPage->setRange(1, pageCount);
  ToPage->setValue(pageCount);
  auto* rangeRow = new QHBoxLayout;
  rangeRow->addWidget(RBPageRange);
  rangeRow->addWidget(FromPage);
  rangeRow->addWidget(new QLabel(QStringLiteral("to"), range));
  rangeRow->addWidget(ToPage);
  auto* rangeLayout = new QVBoxLayout(range);
  rangeLayout->addWidget(RBAllPages);
  rangeLayout->addLayout(rangeRow);

  auto* buttons = new QDialogButtonBox(this);
  auto* ok =
      Named(buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole), "BtnOk");
  ok->setDefault(true);
  Named(buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole), "BtnCancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(PrinterName, &QComboBox::currentIndexChanged, this, &TFrmOutputOptions::PrinterChanged);
  const auto rangeChanged = [this] {
    FromPage->setEnabled(RBPageRange->isChecked());
    ToPage->setEnabled(RBPageRange->isChecked());
  };
  connect(RBPageRange, &QRadioButton::toggled, this, rangeChanged);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Printer"), PrinterName);
  form->addRow(QStringLiteral("Copies"), Copies);
  form->addRow(QString(), Collate);
  form->addRow(QStringLiteral("Two-sided"), Duplex);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(range);
  layout->addWidget(buttons);
  RBAllPages->setChecked(true);
  rangeChanged();
}

void TFrmOutputOptions::ShowSettings() {
  QString name = FSettings.PrinterName;
  if (PrinterName->findText(name) < 0) name = FTarget.DefaultPrinterName();
  PrinterName->setCurrentIndex(PrinterName->findText(name));
  Copies->setValue(FSettings.Copies);
  Collate->setChecked(FSettings.Collate);
  Duplex->setCurrentIndex(std::clamp(int(FSettings.Duplex), 0, 2));
  PrinterChanged();
}

void TFrmOutputOptions::PrinterChanged() {
  const QString name = PrinterName->currentText();
  Collate->setEnabled(FTarget.SupportsCollate(name));
  Duplex->setEnabled(FTarget.SupportsDuplex(name));
}

TPrinterSettings TFrmOutputOptions::Result() const {
  TPrinterSettings s = FSettings;
  const QString chosen = PrinterName->currentText();
  // Paper and source names belong to the printer they were chosen for.
  if (chosen != s.PrinterName) {
    s.PaperName.clear();
    s.BinName.clear();
  }
  s.PrinterName = chosen;
  s.Copies = Copies->value();
  s.Collate = Collate->isEnabled() && Collate->isChecked();
  s.Duplex = Duplex->isEnabled() ? static_cast<TDuplex>(Duplex->currentIndex()) : TDuplex::Simplex;
  s.FromPage = RBPageRange->isChecked() ? FromPage->value() : 0;
  s.ToPage = RBPageRange->isChecked() ? ToPage->value() : 0;
  return s;
}
