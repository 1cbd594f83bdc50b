#include "printing/ReportSystemSetup.h"

#include "engine/PagePrinter.h"
#include "engine/ReportSystem.h"
#include "printing/PrinterSetup.h"
#include "printing/ReportPreview.h"

TReportTitles ReportTitlesOf(const QString& name) {
  return {name, name + QStringLiteral(" Setup"), name + QStringLiteral(" Status"),
          name + QStringLiteral(" Preview")};
}

void SetUpReportSystem(TReportSystem& system, const TReportTitles& titles, QWidget* owner) {
  system.Title = titles.Title;
  system.TitleSetup = titles.Setup;
  system.TitleStatus = titles.Status;
  system.TitlePreview = titles.Preview;
  system.StatusGenerating = QStringLiteral("Generating page %p");
  system.StatusFormat = QStringLiteral("Printing page %p");
  system.Orientation = TOrientation::Portrait;
  system.Preview.Maximized = true;
  system.Preview.MarginPercent = 1.5;
  system.Preview.ShadowDepth = 5;
  system.Preview.ZoomFactor = 100;
  system.OnBeforePrint = [](TPagePrinter& printer) { SetPrinterSetup(printer); };
  system.JobPrinterName = [] {
    TPrinterSetupRecord stored;
    ReadPrinterSetup(stored);
    return stored.PrinterName.trimmed();
  };
  InstallPreviewWindow(system, owner);
}
