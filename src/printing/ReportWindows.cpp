#include "printing/ReportWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/Render.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"

namespace {
template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}
}  // namespace

// ---- set-up window
// --------------------------------------------------------------------------------

TReportSetupDialog::TReportSetupDialog(const QString& title, const TReportSetup& setup,
                                       TPrinterTarget& target, QWidget* parent)
    : QDialog(parent ? parent : QApplication::activeWindow()), FSetup(setup), FTarget(target) {
  setWindowTitle(title);
  setObjectName(QStringLiteral("TReportSetupDialog"));
  auto* layout = new QVBoxLayout(this);
  BuildDestination();
  BuildOptions();
  auto* buttons = new QDialogButtonBox(this);
  auto* ok = Named(buttons->addButton(tr("&Ok"), QDialogButtonBox::AcceptRole), "BtnOk");
  Named(buttons->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole), "BtnCancel");
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(findChild<QGroupBox*>(QStringLiteral("GrpDestination")));
  layout->addWidget(findChild<QGroupBox*>(QStringLiteral("GrpOptions")));
  layout->addWidget(buttons);
  UpdateEnabled();
}

void TReportSetupDialog::BuildDestination() {
  auto* group = Named(new QGroupBox(tr("Destination"), this), "GrpDestination");
  auto* grid = new QVBoxLayout(group);
  FPrinter = Named(new QRadioButton(tr("&Printer"), group), "RBPrinter");
  FPreview = Named(new QRadioButton(tr("Pre&view"), group), "RBPreview");
  FFile = Named(new QRadioButton(tr("&File"), group), "RBFile");
  FFileName = Named(new QLineEdit(FSetup.FileName, group), "FileName");
  auto* browse = Named(new QPushButton(tr("&Browse..."), group), "BtnBrowse");
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(FFile);
  fileRow->addWidget(FFileName, 1);
  fileRow->addWidget(browse);
  grid->addWidget(FPrinter);
  grid->addWidget(FPreview);
  grid->addLayout(fileRow);
  FPrinter->setChecked(FSetup.Dest == TReportDest::Printer);
  FPreview->setChecked(FSetup.Dest == TReportDest::Preview);
  FFile->setChecked(FSetup.Dest == TReportDest::File);
  for (QRadioButton* rb : {FPrinter, FPreview, FFile}) {
    connect(rb, &QRadioButton::toggled, this, &TReportSetupDialog::UpdateEnabled);
    // The choice opens on the option it holds: Space there keeps it.
    if (rb->isChecked()) rb->setFocus();
  }
  connect(browse, &QPushButton::clicked, this, &TReportSetupDialog::Browse);
}

void TReportSetupDialog::BuildOptions() {
  auto* group = Named(new QGroupBox(tr("Output options"), this), "GrpOptions");
  auto* form = new QFormLayout(group);
  FPrinterName = Named(new QComboBox(group), "PrinterName");
  FPrinterName->addItems(FTarget.PrinterNames());
  const QString wanted = FSetup.Printer.PrinterName.isEmpty() ? FTarget.DefaultPrinterName()
                                                              : FSetup.Printer.PrinterName;
  // A printer that is no longer installed gives way to the default one.
  const int offered = FPrinterName->findText(wanted);
  FPrinterName->setCurrentIndex(
      offered >= 0 ? offered : FPrinterName->findText(FTarget.DefaultPrinterName()));
  FOfferedPrinter = FPrinterName->currentIndex();
  FCopies = Named(new QSpinBox(group), "Copies");
  FCopies->setRange(1, 99);
  FCopies->setValue(std::max(1, FSetup.Printer.Copies));
  FCollate = Named(new QCheckBox(tr("C&ollate"), group), "Collate");
  FCollate->setChecked(FSetup.Printer.Collate);
  FDuplex = Named(new QComboBox(group), "Duplex");
  FDuplex->addItems({tr("None"), tr("Tablet"), tr("Book")});
  FDuplex->setCurrentIndex(int(FSetup.Printer.Duplex));
  FAllPages = Named(new QRadioButton(tr("&All pages"), group), "RBAllPages");
  FRange = Named(new QRadioButton(tr("Pa&ges"), group), "RBPageRange");
  FFrom = Named(new QSpinBox(group), "FromPage");
  FTo = Named(new QSpinBox(group), "ToPage");
  FFrom->setRange(1, 99999);
  FTo->setRange(1, 99999);
  const bool range = FSetup.Printer.FromPage > 0 || FSetup.Printer.ToPage > 0;
  FRange->setChecked(range);
  FAllPages->setChecked(!range);
  FFrom->setValue(std::max(1, FSetup.Printer.FromPage));
  FTo->setValue(std::max(1, FSetup.Printer.ToPage));
  auto* rangeRow = new QHBoxLayout;
  rangeRow->addWidget(FAllPages);
  rangeRow->addWidget(FRange);
  rangeRow->addWidget(FFrom);
  rangeRow->addWidget(new QLabel(tr("to"), group));
  rangeRow->addWidget(FTo);
  form->addRow(tr("Printer"), FPrinterName);
  form->addRow(tr("Copies"), FCopies);
  form->addRow(QString(), FCollate);
  form->addRow(tr("Two-sided"), FDuplex);
  form->addRow(tr("Page range"), rangeRow);
  connect(FRange, &QRadioButton::toggled, this, &TReportSetupDialog::UpdateEnabled);
}

void TReportSetupDialog::UpdateEnabled() {
  FFileName->setEnabled(FFile->isChecked());
  FFrom->setEnabled(FRange->isChecked());
  FTo->setEnabled(FRange->isChecked());
}

void TReportSetupDialog::Browse() {
  TFileDialogOptions o;
  o.title = tr("Save Report As");
  o.filter =
      tr("Snapshot Document (*.snp);;Adobe Portable Document (*.pdf);;"
         "Web Document (*.html);;Text (*.txt)");
  o.defaultExt = QStringLiteral("snp");
  o.fileName = FFileName->text();
  const QString chosen = PromptSaveFileName(o, this);
  if (chosen.isEmpty()) return;
  FFileName->setText(chosen);
  FFile->setChecked(true);
}

void TReportSetupDialog::accept() {
  if (FFile->isChecked() && FFileName->text().trimmed().isEmpty()) {
    MsgBox(tr("Enter the name of the file to write."), AppTitle(), mbWarning);
    FFileName->setFocus();
    return;
  }
  QDialog::accept();
}

TReportSetup TReportSetupDialog::Result() const {
  TReportSetup r = FSetup;
  r.Dest = FPrinter->isChecked() ? TReportDest::Printer
           : FFile->isChecked()  ? TReportDest::File
                                 : TReportDest::Preview;
  r.FileName = FFileName->text().trimmed();
  // Only a printer the user picked here overrides the one the job's own set-up chooses.
  if (FPrinterName->currentIndex() != FOfferedPrinter)
    r.Printer.PrinterName = FPrinterName->currentText();
  r.Printer.Copies = FCopies->value();
  r.Printer.Collate = FCollate->isChecked();
  r.Printer.Duplex = TDuplex(FDuplex->currentIndex());
  r.Printer.FromPage = FRange->isChecked() ? FFrom->value() : 0;
  r.Printer.ToPage = FRange->isChecked() ? std::max(FFrom->value(), FTo->value()) : 0;
  return r;
}

// ---- status window
// --------------------------------------------------------------------------------

TReportStatusWindow::TReportStatusWindow(const QString& title, QWidget* parent)
    : QDialog(parent ? parent : QApplication::activeWindow()) {
  setWindowTitle(title);
  setObjectName(QStringLiteral("TReportStatusWindow"));
  auto* layout = new QVBoxLayout(this);
  FLabel = Named(new QLabel(this), "LblStatus");
  FBar = Named(new QProgressBar(this), "Progress");
  FBar->setRange(0, 0);  // busy until the page count is known
  layout->addWidget(FLabel);
  layout->addWidget(FBar);
  setMinimumWidth(300);
}

void TReportStatusWindow::ShowPage(const QString& format, int page, int total) {
  QString text = format;
  FLabel->setText(text.replace(QLatin1String("%p"), QString::number(page)));
  if (total > 0) {
    FBar->setRange(0, total);
    FBar->setValue(std::min(page, total));
  }
  // Let the window repaint while the job keeps the event loop busy.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString TReportStatusWindow::StatusText() const {
  return FLabel->text();
}

// ---- engine preview
// -------------------------------------------------------------------------------

TEnginePreview::TEnginePreview(TReportSystem& system, const TReportJob& job, QWidget* parent)
    : QDialog(parent ? parent : QApplication::activeWindow()), FSystem(system), FJob(job) {
  setWindowTitle(system.EffectiveTitlePreview());
  setObjectName(QStringLiteral("TEnginePreview"));
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  auto* prior = Named(new QPushButton(tr("&Prior Page"), this), "BtnPrior");
  auto* next = Named(new QPushButton(tr("&Next Page"), this), "BtnNext");
  auto* print = Named(new QPushButton(tr("P&rint"), this), "BtnPrint");
  auto* close = Named(new QPushButton(tr("E&xit"), this), "BtnClose");
  for (QPushButton* b : {prior, next, print, close}) bar->addWidget(b);
  bar->addStretch();
  FImage = Named(new QLabel, "PageImage");
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(FImage);
  scroll->setAlignment(Qt::AlignCenter);
  FStatus = Named(new QLabel(this), "LblPage");
  layout->addLayout(bar);
  layout->addWidget(scroll, 1);
  layout->addWidget(FStatus);
  print->setEnabled(system.AllowPrinting);
  connect(prior, &QPushButton::clicked, this, [this] { ShowPage(FPage - 1); });
  connect(next, &QPushButton::clicked, this, [this] { ShowPage(FPage + 1); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(print, &QPushButton::clicked, this,
          [this] { FSystem.PrintToPrinter(FJob, FSystem.JobPrinterSettings()); });
  resize(system.Preview.Width, system.Preview.Height);
  ShowPage(1);
}

void TEnginePreview::ShowPage(int page) {
  FPage = std::clamp(page, 1, std::max(1, FJob.PageCount()));
  const double dpi = logicalDpiY() * FSystem.Preview.ZoomFactor / 100.0;
  // Drawn in the screen's own pixels, so a scaled screen shows it as sharp as at 100 %.
  const qreal ratio = FImage->devicePixelRatioF();
  QImage image = RenderPageImage(FJob, FPage - 1, dpi * ratio, true);
  image.setDevicePixelRatio(ratio);
  FImage->setPixmap(QPixmap::fromImage(image));
  FImage->adjustSize();
  FStatus->setText(tr(" Page %1 of %2").arg(FPage).arg(FJob.PageCount()));
  findChild<QPushButton*>(QStringLiteral("BtnPrior"))->setEnabled(FPage > 1);
  findChild<QPushButton*>(QStringLiteral("BtnNext"))->setEnabled(FPage < FJob.PageCount());
}

// ---- the engine's windows
// -------------------------------------------------------------------------

namespace {
class TScreenReportWindows : public TReportWindows {
 public:
  bool AskSetup(const QString& title, TReportSetup& setup, TPrinterTarget& target) override {
    TReportSetupDialog dialog(title, setup, target);
    if (dialog.exec() != QDialog::Accepted) return false;
    setup = dialog.Result();
    return true;
  }
  std::unique_ptr<TReportStatus> ShowStatus(const QString& title) override {
    auto window = std::make_unique<TReportStatusWindow>(title);
    window->show();
    return window;
  }
  void Preview(TReportSystem& system, const TReportJob& job) override {
    TEnginePreview preview(system, job);
    if (system.Preview.Maximized) preview.setWindowState(Qt::WindowMaximized);
    preview.exec();
  }
  void ShowError(const QString& text) override { MsgBox(text, AppTitle(), mbError); }
};
}  // namespace

void InstallReportWindows() {
  SetReportWindows(std::make_unique<TScreenReportWindows>());
}
