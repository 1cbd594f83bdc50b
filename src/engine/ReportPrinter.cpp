#include "engine/ReportPrinter.h"

#include <QPointer>
#include <QPrinter>

#include "engine/Render.h"
#include "engine/ReportWindows.h"
#include "platform/MsgBox.h"

QString NoPrintersMessage() {
  return QStringLiteral("No printers are defined, aborting print job.");
}

TReportPrinter::TReportPrinter(QObject* parent) : QObject(parent) {}

bool TReportPrinter::Execute() {
  if (Target().PrinterNames().isEmpty()) {
    MsgBox(NoPrintersMessage(), AppTitle(), mbError);
    return false;
  }
  if (OnBeforePrint) OnBeforePrint(*this);
  BeginDoc();
  try {
    if (OnPrint) OnPrint(*this);
  } catch (...) {
    EndDoc();
    TakeJob();
    throw;
  }
  EndDoc();
  FLastJob = TakeJob();
  const TPrinterSettings& settings = PrinterSettings();
  std::unique_ptr<QPrinter> printer = Target().CreatePrinter(settings, Title());
  int byHand = 1;
  if (settings.Copies > 1 && !printer->supportsMultipleCopies()) {
    byHand = settings.Copies;
    printer->setCopyCount(1);
  }
  QPointer<TReportStatusWindow> status;
  if (ShowStatus) {
    status = new TReportStatusWindow(Title());
    status->show();
  }
  const int pages = FLastJob.PageCount();
  try {
    PrintJob(FLastJob, *printer, 0, 0, byHand, [&](int page) {
      if (status) status->ShowPage(StatusFormat, page, pages);
    });
  } catch (...) {
    delete status.data();
    throw;
  }
  delete status.data();
  return true;
}
