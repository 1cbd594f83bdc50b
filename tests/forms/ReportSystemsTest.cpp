// The report systems and report printers of the form screens, the Form 1096 screen and the
// mailing labels: each carries its own titles and snapshot, and each job starts from the stored
// printer set-up.
#include <functional>
#include <memory>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "engine/PagePrinter.h"
#include "engine/PrinterTarget.h"
#include "engine/ReportPrinter.h"
#include "engine/ReportSystem.h"
#include "forms/Frm1096.h"
#include "printing/Labels.h"
#include "printing/PrinterSetup.h"

namespace {
struct TSystemCase {
  const char* owner;
  // Creates the owner; answers its report system (and report printer, where it has one).
  std::function<TReportSystem*(std::unique_ptr<QObject>& owner, TReportPrinter*& printer)> make;
  QString title, setup, status, preview;
  bool snapshotInMemory;
  QString printerTitle;  // empty: no report printer
};

template <typename TScreen>
TReportSystem* MakeScreen(std::unique_ptr<QObject>& owner, TReportPrinter*& printer) {
  auto* screen = new TScreen;
  owner.reset(screen);
  printer = screen->ReportPrinter;
  return screen->ReportSystem;
}

TReportSystem* MakeLabels(std::unique_ptr<QObject>& owner, TReportPrinter*& printer) {
  auto* labels = new TPayeeLabels;
  owner.reset(labels);
  printer = nullptr;
  return labels->Rpt1099Labels;
}

const TSystemCase kCases[] = {
    {"1099-NEC screen", MakeScreen<TFrm1099NEC>, "Form 1099-NEC", "Form 1099-NEC Setup",
     "Form 1099-NEC Status", "Form 1099-NEC Preview", false, "Form 1099-NEC Report"},
    {"1096 screen", MakeScreen<TFrm1096>, "Form 1096", "Form 1096 Setup", "Form 1096 Status",
     "Form 1096 Preview", true, "Form 1096 Report"},
    {"labels",
     MakeLabels,
     "Papyra Labels",
     "Payee Labels Setup",
     "Payee Labels Status",
     "Payee Labels Preview (Avery 5160)",
     false,
     {}},
};

class ReportSystemsTest : public TFormsTest {
 protected:
  void SetUp() override {
    TFormsTest::SetUp();
    TPrinterSetupRecord stored;
    stored.PrinterName = Target.DefaultPrinterName();
    stored.Orientation = 1;  // landscape, where every job starts portrait
    stored.Copies = 3;
    WritePrinterSetup(stored);
  }

  // Runs a job's start on a fresh page printer; answers orientation and copies as it left them.
  std::pair<TOrientation, int> Started(const std::function<void(TPagePrinter&)>& before) {
    TPagePrinter printer;
    printer.SetPrinterTarget(&Target);
    EXPECT_TRUE(before);
    if (before) before(printer);
    return {printer.Orientation(), printer.Copies()};
  }

  TPdfPrinterTarget Target{QString()};
};

TEST_F(ReportSystemsTest, EachCarriesItsTitlesAndStartsFromTheStoredPrinterSetup) {
  OpenPayerFile(SamplePayer(), {SamplePayee(QStringLiteral("Alpha"), "123-45-6788", 10)});
  const std::pair<TOrientation, int> stored{TOrientation::Landscape, 3};
  for (const TSystemCase& c : kCases) {
    SCOPED_TRACE(c.owner);
    std::unique_ptr<QObject> owner;
    TReportPrinter* printer = nullptr;
    TReportSystem* system = c.make(owner, printer);
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->Title, c.title);
    EXPECT_EQ(system->TitleSetup, c.setup);
    EXPECT_EQ(system->TitleStatus, c.status);
    EXPECT_EQ(system->TitlePreview, c.preview);
    EXPECT_EQ(system->SnapshotFile.isEmpty(), c.snapshotInMemory);
    EXPECT_EQ(system->Orientation, TOrientation::Portrait);
    EXPECT_TRUE(system->Preview.Maximized);
    EXPECT_TRUE(system->OverridePreview);
    EXPECT_EQ(Started(system->OnBeforePrint), stored);
    ASSERT_EQ(printer != nullptr, !c.printerTitle.isEmpty());
    if (!printer) continue;
    EXPECT_EQ(printer->objectName(), QStringLiteral("ReportPrinter"));
    EXPECT_EQ(printer->Title(), c.printerTitle);
    EXPECT_EQ(Started(printer->OnBeforePrint), stored);
  }
}
}  // namespace
