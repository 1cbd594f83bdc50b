#include "forms/FormScreenParts.h"

#include <QFocusEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QVBoxLayout>

#include "controls/FilterEdit.h"
#include "engine/ReportPrinter.h"
#include "engine/ReportSystem.h"
#include "forms/FormTotals.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "printing/PrintType.h"
#include "printing/PrinterSetup.h"
#include "printing/ReportSystemSetup.h"

namespace {
class TFocusWatch : public QObject {
 public:
  TFocusWatch(QWidget* box, std::function<void(bool)> onFocus)
      : QObject(box), FOnFocus(std::move(onFocus)) {
    box->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) FOnFocus(true);
    if (event->type() == QEvent::FocusOut &&
        FieldFocus::CountsAsFieldChange(static_cast<QFocusEvent*>(event)->reason()))
      FOnFocus(false);
    return false;
  }

 private:
  std::function<void(bool)> FOnFocus;
};
}  // namespace

void WatchFocus(QWidget* box, std::function<void(bool inside)> onFocus) {
  new TFocusWatch(box, std::move(onFocus));
}

void LayOutFormScreen(QDialog* screen, QScrollArea* picture, QLayout* bar) {
  auto* layout = new QVBoxLayout(screen);
  layout->setContentsMargins(0, 0, 0, 6);
  layout->addWidget(picture);
  layout->addLayout(bar);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

TReportSystem* NewFormReportSystem(QDialog* screen, const QString& formName, TPrintJob job) {
  auto* system = new TReportSystem(screen);
  system->setObjectName(QStringLiteral("ReportSystem"));
  SetUpReportSystem(*system, ReportTitlesOf(formName), screen);
  system->OnPrint = std::move(job);
  return system;
}

TReportPrinter* NewFormReportPrinter(QObject* owner, const QString& jobTitle, TPrintJob job) {
  auto* printer = new TReportPrinter(owner);
  printer->setObjectName(QStringLiteral("ReportPrinter"));
  printer->SetTitle(jobTitle);
  printer->StatusFormat = QStringLiteral("Printing page %p");
  printer->SetOrientation(TOrientation::Portrait);
  printer->OnBeforePrint = [](TPagePrinter& p) { SetPrinterSetup(p); };
  printer->OnPrint = std::move(job);
  return printer;
}

bool ConfirmWithPrintDialog(QWidget* parent, TReportPrinter& job) {
  QPrinter printer;
  if (!job.PrinterName().isEmpty()) printer.setPrinterName(job.PrinterName());
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  job.Destination = PrintDestination(printer);
  return true;
}

TReportPrinter::TDestination PrintDestination(const QPrinter& printer) {
  TReportPrinter::TDestination d;
  // "Print to File (PDF)": the red copies are kept in a PDF to print on the red forms later.
  if (printer.outputFormat() == QPrinter::PdfFormat) {
    d.OutputFile = printer.outputFileName();
    if (!d.OutputFile.isEmpty() &&
        !d.OutputFile.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
      d.OutputFile += QStringLiteral(".pdf");
    return d;
  }
  d.PrinterName = printer.printerName();
  d.Copies = printer.copyCount();
  return d;
}

bool ConfirmPaperFiling() {
  const QString notice = ElectronicFilingNotice(CountAllForms());
  if (notice.isEmpty()) return true;
  constexpr int kYesNoWarning = mbWarning | 4;
  return MsgBoxWithHelp(notice + QStringLiteral("~~Print the red copies anyway?"), AppTitle(),
                        kYesNoWarning, htFilingWithIRS,
                        QStringLiteral("How to file electronically with the IRS")) == mrYes;
}

void RunChosenPrint(const QString& caption, QWidget* parent, TReportSystem& system,
                    TReportPrinter& printer, const TPrintConfirm& confirm, const TPrintRun& run) {
  TPayeeSelection selection;
  const int type = ChoosePrintType(caption, parent, run.Offer, selection);
  if (type == ptCancelled) return;
  if (run.Prepare) run.Prepare(type, selection);
  switch (type) {
    case ptProgramGenerated:
      system.Execute();
      break;
    case ptPreprinted:
      if (ConfirmPaperFiling() && confirm(printer)) printer.Execute();
      break;
    case ptAlignment:
      // Plain paper and no return: the filing notice is not for it.
      if (confirm(printer)) printer.Execute();
      break;
    default:
      break;
  }
}
