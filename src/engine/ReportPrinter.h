#pragma once
// TReportPrinter sends one job straight to the printer. It is itself the page printer: the
// OnPrint handler receives it, draws every page (page 1 is open), and the job goes to the
// printer chosen on it (SelectPrinter, or the system's default).
#include <QObject>
#include <QString>
#include <functional>

#include "engine/PagePrinter.h"

class QPrinter;

class TReportPrinter : public QObject, public TPagePrinter {
  Q_OBJECT
 public:
  explicit TReportPrinter(QObject* parent = nullptr);

  QString StatusFormat = QStringLiteral("Printing page %p");
  bool ShowStatus = true;
  // Where the next job goes when the user chose it in a print dialog, over the stored set-up:
  // a PDF file to print later (needing no printer at all), or a printer and a number of copies.
  // Execute uses it once and clears it.
  struct TDestination {
    QString OutputFile;
    QString PrinterName;
    int Copies = 0;  // 0: as set up
  };
  TDestination Destination;
  std::function<void(TPagePrinter&)> OnBeforePrint;
  std::function<void(TPagePrinter&)> OnPrint;

  // Runs one job: OnBeforePrint, start of the document, OnPrint, end of the document, then the
  // pages go to the printer, or to Destination's PDF file. Going to a printer with no printer
  // installed it shows "No printers are defined, aborting print job." and prints nothing.
  // Returns true when the job was printed.
  bool Execute();
  // Pages of the last job (kept until the next Execute).
  const TReportJob& LastJob() const { return FLastJob; }

 private:
  TReportJob FLastJob;
};

// The message shown when a job finds no printer.
QString NoPrintersMessage();

// True when the target has a printer; otherwise shows NoPrintersMessage() as an error.
bool PrinterAvailable(const TPrinterTarget& target);

// The window that counts the pages while a job goes to the printer.
struct TPrintStatus {
  bool Show = true;
  QString Title;
  QString Format;  // "%p" stands for the page number
};

// Sends pages settings.FromPage..settings.ToPage of a job to a printer made from settings under
// the name jobTitle. Copies the printer cannot make itself are painted by hand. Exceptions of
// the printer pass through after the status window is gone.
void SendToPrinter(const TPrinterTarget& target, const TReportJob& job,
                   const TPrinterSettings& settings, const QString& jobTitle,
                   const TPrintStatus& status);

// Paints pages fromPage..toPage (1-based, 0 = first/last) on a printer that the caller has
// set up (copies, collation, duplex stay the printer's). The printer's unprintable border is
// compensated: X = 0.6 lands 0.6 inch from the paper's left edge. Throws EReportException when
// the printer cannot start. copiesByHand paints the range that many times (for printers that
// cannot make copies themselves).
// onPage, when given, hears each page number as it is printed (status windows).
void PrintJob(const TReportJob& job, QPrinter& printer, int fromPage = 0, int toPage = 0,
              int copiesByHand = 1, const std::function<void(int page)>& onPage = {});
