#include "engine/ReportPrinter.h"

#include <QPainter>
#include <QPrinter>
#include <QScopeGuard>
#include <utility>

#include "core/ScopeCleanup.h"
#include "engine/Render.h"
#include "engine/ReportUi.h"
#include "platform/Exceptions.h"

QString NoPrintersMessage() {
  return QStringLiteral("No printers are defined, aborting print job.");
}

bool PrinterAvailable(const TPrinterTarget& target) {
  if (!target.PrinterNames().isEmpty()) return true;
  if (ReportWindows())
    ReportWindows()->ShowError(NoPrintersMessage());
  else
    qWarning("%s", qUtf8Printable(NoPrintersMessage()));
  return false;
}

void PrintJob(const TReportJob& job, QPrinter& printer, int fromPage, int toPage, int copiesByHand,
              const std::function<void(int page)>& onPage) {
  const int first = std::max(1, fromPage);
  const int last = toPage > 0 ? std::min(toPage, job.PageCount()) : job.PageCount();
  QPainter painter;
  if (!painter.begin(&printer))
    throw EReportException(
        QStringLiteral("The printer \"%1\" cannot start the job.").arg(printer.printerName()));
  TRenderOptions o;
  o.DpiX = printer.logicalDpiX();
  o.DpiY = printer.logicalDpiY();
  // The painter starts at the printable area's corner; move back to the paper's corner.
  o.Origin = printer.fullPage() ? QPointF() : -printer.pageRect(QPrinter::DevicePixel).topLeft();
  bool firstSheet = true;
  for (int copy = 0; copy < std::max(1, copiesByHand); ++copy) {
    for (int page = first; page <= last; ++page) {
      if (!firstSheet) printer.newPage();
      firstSheet = false;
      if (onPage) onPage(page);
      PaintPage(painter, job, page - 1, o);
    }
  }
  painter.end();
}

namespace {
// How many times the pages are painted: once when the printer makes the copies itself.
int CopiesByHand(QPrinter& printer, const TPrinterSettings& settings) {
  if (settings.Copies <= 1 || printer.supportsMultipleCopies()) return 1;
  printer.setCopyCount(1);
  return settings.Copies;
}
}  // namespace

void SendToPrinter(const TPrinterTarget& target, const TReportJob& job,
                   const TPrinterSettings& settings, const QString& jobTitle,
                   const TPrintStatus& status) {
  std::unique_ptr<QPrinter> printer = target.CreatePrinter(settings, jobTitle);
  const int byHand = CopiesByHand(*printer, settings);
  std::unique_ptr<TReportStatus> window;
  if (status.Show && ReportWindows()) window = ReportWindows()->ShowStatus(status.Title);
  const int pages = job.PageCount();
  PrintJob(job, *printer, settings.FromPage, settings.ToPage, byHand, [&](int page) {
    if (window) window->ShowPage(status.Format, page, pages);
  });
}

TReportPrinter::TReportPrinter(QObject* parent) : QObject(parent) {}

bool TReportPrinter::Execute() {
  const TDestination destination = std::exchange(Destination, TDestination{});
  const bool toFile = !destination.OutputFile.isEmpty();
  if (!toFile && !PrinterAvailable(Target())) return false;
  if (OnBeforePrint) OnBeforePrint(*this);
  if (!destination.PrinterName.isEmpty()) SelectPrinter(destination.PrinterName);
  if (destination.Copies > 0) SetCopies(destination.Copies);
  BeginDoc();
  {
    // The document ends on every path; the pages of a job that failed half-way are dropped.
    auto dropFailedJob = qScopeGuard([this] { TakeJob(); });
    TScopeCleanup endDoc([this] { EndDoc(); });
    if (OnPrint) OnPrint(*this);
    dropFailedJob.dismiss();
  }
  FLastJob = TakeJob();
  if (toFile) {
    ExportJob(FLastJob, destination.OutputFile);
    return true;
  }
  // A job printed straight away has no page range: all of it goes.
  TPrinterSettings settings = PrinterSettings();
  settings.FromPage = 0;
  settings.ToPage = 0;
  SendToPrinter(Target(), FLastJob, settings, Title(), {ShowStatus, Title(), StatusFormat});
  return true;
}
