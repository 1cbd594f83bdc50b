#pragma once
// The windows of a report run, which the engine asks for but does not make: the program
// installs them (printing/ReportWindows). Without them a run asks nothing, shows no status and
// no preview of its own, and tells its errors to the log, as papyra-batch wants.
#include <QString>
#include <memory>

class TPrinterTarget;
class TReportSystem;
struct TReportJob;
struct TReportSetup;

// What shows the page count while pages are generated or printed.
class TReportStatus {
 public:
  virtual ~TReportStatus() = default;
  // Shows format with %p replaced by page; total > 0 turns the bar into "page of total".
  virtual void ShowPage(const QString& format, int page, int total = 0) = 0;
};

class TReportWindows {
 public:
  virtual ~TReportWindows() = default;
  // The set-up window, started from setup: false when the user cancels, else setup holds the
  // choice.
  virtual bool AskSetup(const QString& title, TReportSetup& setup, TPrinterTarget& target) = 0;
  // A status window, shown until the returned object is destroyed.
  virtual std::unique_ptr<TReportStatus> ShowStatus(const QString& title) = 0;
  // The engine's own simple preview of a job (for report systems without a preview of their
  // own), shown modally.
  virtual void Preview(TReportSystem& system, const TReportJob& job) = 0;
  // An error that ends what the user asked for, shown before the engine goes on.
  virtual void ShowError(const QString& text) = 0;
};

// Installs the windows every report run uses; null removes them.
void SetReportWindows(std::unique_ptr<TReportWindows> windows);
TReportWindows* ReportWindows();  // null when none is installed
