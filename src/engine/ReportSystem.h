#pragma once
// TReportSystem runs a job through the engine: its set-up window (destination printer, preview or
// file; copies, collation, duplex, page range), a status window while the pages are generated,
// then the job goes to the preview, the printer or a file. Each run creates a fresh page printer.
// The windows are the ones the program installs (engine/ReportUi.h).
#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "engine/DisplayList.h"
#include "engine/PagePrinter.h"
#include "engine/Snapshot.h"

class QWidget;
class TReportStatus;

enum class TReportDest : int { Printer = 0, Preview = 1, File = 2 };

// Modes of the OverridePreview handler.
enum TPreviewMode : int { pmCreate = 0, pmShow = 1, pmWait = 2, pmFree = 3 };

struct TPreviewSettings {
  double MarginPercent = 1.5;
  int ShadowDepth = 5;
  bool GridLines = false;
  int ZoomFactor = 100;
  int ZoomInc = 10;
  bool Maximized = true;
  bool Modal = true;
  int Width = 800;
  int Height = 600;
};

// What the set-up window asks for; the report system keeps the last choice.
struct TReportSetup {
  TReportDest Dest = TReportDest::Preview;
  QString FileName;          // for TReportDest::File: .snp, .pdf, .html or .txt by extension
  TPrinterSettings Printer;  // copies, collation, duplex, page range (printer name optional)
};

class TReportSystem : public QObject {
  Q_OBJECT
 public:
  explicit TReportSystem(QObject* parent = nullptr);
  ~TReportSystem() override;

  // ---- properties --------------------------------------------------------------------------
  QString Title;  // the print job's name
  QString TitleSetup;
  QString TitleStatus;
  QString TitlePreview;
  QString StatusFormat = QStringLiteral("Printing page %p");
  QString StatusGenerating = QStringLiteral("Generating page %p");
  TOrientation Orientation = TOrientation::Portrait;
  // The job's snapshot: a file in the program's own runtime folder (default "Papyra.RPT"), or
  // in memory when empty.
  QString SnapshotFile = QString::fromLatin1(DefaultSnapshotName);
  bool ShowSetup = true;   // false: straight to the destination of Setup
  bool ShowStatus = true;  // false: no status window
  bool AllowPrinting = true;
  bool AllowSaving = true;
  TPreviewSettings Preview;
  TReportSetup Setup;  // destination and output options (set-up window's start and result)
  // The printer the job's own set-up will choose (the stored printer set-up), which the set-up
  // window offers while Setup names none.
  std::function<QString()> JobPrinterName;
  void SetPrinterTarget(TPrinterTarget* target) { FTarget = target; }
  TPrinterTarget& Target() const;

  // ---- events ------------------------------------------------------------------------------
  std::function<void(TPagePrinter&)> OnBeforePrint;
  std::function<void(TPagePrinter&)> OnPrint;
  std::function<void(TPagePrinter&)> OnAfterPrint;
  // The program's own preview window; called with modes 0 create, 1 show, 2 wait (non-modal
  // only), 3 free. Without it the default preview handler (below) runs.
  std::function<void(TReportSystem&, int mode)> OverridePreview;
  // A job that holds one document per recipient can offer to save each on its own: the preview
  // shows "Save one PDF per recipient..." while this is set, and calls it with itself as parent.
  std::function<void(QWidget* parent)> SaveEachRecipient;

  // Runs the job. Returns false when the set-up window was cancelled. Exceptions of the events
  // pass through after the status window is gone.
  bool Execute();

  // ---- the running or last job -------------------------------------------------------------
  TPagePrinter* PagePrinter() const { return FPrinter.get(); }   // only during a run
  TReportStatus* StatusWindow() const { return FStatus.get(); }  // only during a run
  // Absolute path of the snapshot file of the last run; empty when kept in memory.
  QString SnapshotFileName() const { return FSnapshotPath; }
  QByteArray SnapshotData() const;  // the snapshot's bytes (from memory or the file)
  TReportJob LoadJob() const;       // the last run's job, read back from its snapshot
  TPrinterSettings JobPrinterSettings() const { return FJobSettings; }

  // Sends a job to the printer with the given output options (used by the printer destination
  // and by preview windows' Print command). Shows "No printers are defined, aborting print
  // job." and returns false when the machine has no printer.
  bool PrintToPrinter(const TReportJob& job, const TPrinterSettings& settings);

  // The preview used by report systems without OverridePreview; null resets to the engine's
  // own simple preview. Tests install one that records the job.
  using TPreviewHandler = std::function<void(TReportSystem&, const TReportJob&)>;
  static void SetDefaultPreviewHandler(TPreviewHandler handler);

  QString EffectiveTitleSetup() const;
  QString EffectiveTitleStatus() const;
  QString EffectiveTitlePreview() const;

 private:
  bool RunSetup();
  TReportJob Generate();
  void StoreSnapshot(const TReportJob& job);
  void Deliver(const TReportJob& job);
  void ShowPreview(const TReportJob& job);

  std::unique_ptr<TPagePrinter> FPrinter;
  std::unique_ptr<TReportStatus> FStatus;
  QString FSnapshotPath;
  QByteArray FSnapshotBytes;
  TPrinterSettings FJobSettings;
  TPrinterTarget* FTarget = nullptr;
};
