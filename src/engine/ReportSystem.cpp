#include "engine/ReportSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include "engine/Render.h"
#include "engine/ReportFile.h"
#include "engine/ReportPrinter.h"
#include "engine/ReportUi.h"
#include "platform/Exceptions.h"
#include "platform/Services.h"

namespace {
TReportSystem::TPreviewHandler& DefaultPreview() {
  static TReportSystem::TPreviewHandler handler;
  return handler;
}

void WriteFileBytes(const QString& fileName, const QByteArray& bytes) {
  WriteReportFile(fileName, [&](QIODevice& device) { device.write(bytes); });
}
}  // namespace

TReportSystem::TReportSystem(QObject* parent) : QObject(parent) {}
TReportSystem::~TReportSystem() = default;

TPrinterTarget& TReportSystem::Target() const {
  return FTarget ? *FTarget : PrinterTarget();
}

void TReportSystem::SetDefaultPreviewHandler(TPreviewHandler handler) {
  DefaultPreview() = std::move(handler);
}

QString TReportSystem::EffectiveTitleSetup() const {
  return TitleSetup.isEmpty() ? Title + QStringLiteral(" Setup") : TitleSetup;
}
QString TReportSystem::EffectiveTitleStatus() const {
  return TitleStatus.isEmpty() ? Title + QStringLiteral(" Status") : TitleStatus;
}
QString TReportSystem::EffectiveTitlePreview() const {
  return TitlePreview.isEmpty() ? Title + QStringLiteral(" Preview") : TitlePreview;
}

bool TReportSystem::Execute() {
  if (ShowSetup && !RunSetup()) return false;
  // The generated job is what the snapshot holds (snapshots are lossless), so it goes on without
  // being read back.
  Deliver(Generate());
  return true;
}

bool TReportSystem::RunSetup() {
  // Without windows there is nobody to ask: the job goes where Setup says.
  if (!ReportWindows()) return true;
  TReportSetup offered = Setup;
  if (offered.Printer.PrinterName.isEmpty() && JobPrinterName)
    offered.Printer.PrinterName = JobPrinterName();
  TReportSetup answer = offered;
  if (!ReportWindows()->AskSetup(EffectiveTitleSetup(), answer, Target())) return false;
  const QString chosen = Setup.Printer.PrinterName;
  Setup = answer;
  // The printer offered and kept stays the job set-up's choice, so a later change of the
  // stored set-up still counts.
  if (Setup.Printer.PrinterName == offered.Printer.PrinterName) Setup.Printer.PrinterName = chosen;
  return true;
}

TReportJob TReportSystem::Generate() {
  // The run's page printer and status window end however the run ends.
  const auto endRun = qScopeGuard([this] {
    FStatus.reset();
    FPrinter.reset();
  });
  FPrinter = std::make_unique<TPagePrinter>();
  FPrinter->SetPrinterTarget(FTarget);
  FPrinter->SetTitle(Title);
  FPrinter->SetOrientation(Orientation);
  if (ShowStatus && ReportWindows()) {
    FStatus = ReportWindows()->ShowStatus(EffectiveTitleStatus());
    FStatus->ShowPage(StatusGenerating, 1);
  }
  FPrinter->OnNewPage = [this](int page) {
    if (FStatus) FStatus->ShowPage(StatusGenerating, page);
  };
  if (OnBeforePrint) OnBeforePrint(*FPrinter);
  FPrinter->BeginDoc();
  if (OnPrint) OnPrint(*FPrinter);
  if (OnAfterPrint) OnAfterPrint(*FPrinter);
  FPrinter->EndDoc();
  // The printer, paper and source come from the page printer (the stored set-up applied in
  // OnBeforePrint); copies, collation, duplex and range from the set-up window when it was shown.
  FJobSettings = FPrinter->PrinterSettings();
  if (ShowSetup) {
    if (!Setup.Printer.PrinterName.isEmpty()) FJobSettings.PrinterName = Setup.Printer.PrinterName;
    FJobSettings.Copies = Setup.Printer.Copies;
    FJobSettings.Collate = Setup.Printer.Collate;
    FJobSettings.Duplex = Setup.Printer.Duplex;
  }
  FJobSettings.FromPage = Setup.Printer.FromPage;
  FJobSettings.ToPage = Setup.Printer.ToPage;
  TReportJob job = FPrinter->TakeJob();
  StoreSnapshot(job);
  return job;
}

void TReportSystem::StoreSnapshot(const TReportJob& job) {
  const QByteArray bytes = SnapshotBytes(job);
  // Without a folder of the user's own the job still previews, from memory.
  const QString folder = RuntimeDir();
  if (SnapshotFile.isEmpty() || folder.isEmpty()) {
    FSnapshotPath.clear();
    FSnapshotBytes = bytes;
    return;
  }
  FSnapshotPath = QDir(folder).absoluteFilePath(SnapshotFile);
  FSnapshotBytes.clear();
  WriteFileBytes(FSnapshotPath, bytes);
}

QByteArray TReportSystem::SnapshotData() const {
  if (FSnapshotPath.isEmpty()) return FSnapshotBytes;
  QFile file(FSnapshotPath);
  if (!file.open(QIODevice::ReadOnly))
    throw EReportException(
        QStringLiteral("Cannot read \"%1\": %2").arg(FSnapshotPath, file.errorString()));
  return file.readAll();
}

TReportJob TReportSystem::LoadJob() const {
  TSnapshotReader reader;
  if (FSnapshotPath.isEmpty())
    reader.OpenBytes(FSnapshotBytes, Title);
  else
    reader.Open(FSnapshotPath);
  return reader.ReadAll();
}

void TReportSystem::Deliver(const TReportJob& job) {
  switch (Setup.Dest) {
    case TReportDest::Preview:
      ShowPreview(job);
      return;
    case TReportDest::Printer:
      PrintToPrinter(job, FJobSettings);
      return;
    case TReportDest::File: {
      const QString ext = QFileInfo(Setup.FileName).suffix().toLower();
      // A snapshot destination gets the job's snapshot byte for byte.
      if (ext == QLatin1String("snp") || ext == QLatin1String("rpt"))
        WriteFileBytes(Setup.FileName, SnapshotData());
      else
        ExportJob(job, Setup.FileName);
      return;
    }
  }
}

void TReportSystem::ShowPreview(const TReportJob& job) {
  if (OverridePreview) {
    OverridePreview(*this, pmCreate);
    OverridePreview(*this, pmShow);
    if (!Preview.Modal) OverridePreview(*this, pmWait);
    OverridePreview(*this, pmFree);
    return;
  }
  if (DefaultPreview()) {
    DefaultPreview()(*this, job);
    return;
  }
  if (ReportWindows()) ReportWindows()->Preview(*this, job);
}

bool TReportSystem::PrintToPrinter(const TReportJob& job, const TPrinterSettings& settings) {
  if (!PrinterAvailable(Target())) return false;
  SendToPrinter(Target(), job, settings, Title, {ShowStatus, EffectiveTitleStatus(), StatusFormat});
  return true;
}
