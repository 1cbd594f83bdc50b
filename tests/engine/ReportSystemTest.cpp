// The report system's run: set-up window, status window, snapshot, and the three destinations.
#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "EngineTestSupport.h"
#include "TestSupport.h"
#include "engine/ReportSystem.h"
#include "engine/Snapshot.h"
#include "platform/Exceptions.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "printing/ReportWindows.h"

namespace {
class ReportSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FOldDir = QDir::currentPath();
    QDir::setCurrent(Tmp.Path());
    TReportSystem::SetDefaultPreviewHandler(
        [this](TReportSystem&, const TReportJob& job) { Previewed.append(job); });
    System.Title = QStringLiteral("Form 1099-NEC");
    System.ShowSetup = false;
    System.OnBeforePrint = [this](TPagePrinter&) { Events << QStringLiteral("before"); };
    System.OnPrint = [this](TPagePrinter& p) {
      Events << QStringLiteral("print");
      for (int page = 1; page <= Pages; ++page) {
        if (page > 1) p.NewPage();
        p.SetFont(QStringLiteral("Courier New"), 12);
        p.PrintXY(0.6, 1.0, QStringLiteral("PAGE %1").arg(page));
      }
    };
    System.OnAfterPrint = [this](TPagePrinter&) { Events << QStringLiteral("after"); };
  }
  void TearDown() override {
    TReportSystem::SetDefaultPreviewHandler(nullptr);
    QDir::setCurrent(FOldDir);
    RemoveRuntimeDir();
  }
  static QString RuntimeSnapshot() { return RuntimeDir() + QStringLiteral("/Papyra.RPT"); }
  TTempFolder Tmp;
  TReportSystem System;
  QList<TReportJob> Previewed;
  QStringList Events;
  int Pages = 3;
  QString FOldDir;
};
}  // namespace

TEST_F(ReportSystemTest, APreviewRunWritesTheSnapshotInTheUsersOwnFolder) {
  ASSERT_TRUE(System.Execute());
  EXPECT_EQ(Events, (QStringList{"before", "print", "after"}));
  ASSERT_EQ(Previewed.size(), 1);
  EXPECT_EQ(Previewed[0].PageCount(), 3);
  EXPECT_EQ(Previewed[0].Title, QStringLiteral("Form 1099-NEC"));
  EXPECT_EQ(QFileInfo(System.SnapshotFileName()), QFileInfo(RuntimeSnapshot()));
  EXPECT_EQ(LoadSnapshot(RuntimeSnapshot()), Previewed[0]);
  EXPECT_FALSE(QFileInfo::exists(Tmp.Path(QStringLiteral("Papyra.RPT"))));
  EXPECT_EQ(System.PagePrinter(), nullptr) << "the page printer lives for one run";
}

TEST_F(ReportSystemTest, AnEmptySnapshotNameKeepsTheJobInMemory) {
  System.SnapshotFile.clear();
  ASSERT_TRUE(System.Execute());
  EXPECT_FALSE(QFileInfo::exists(Tmp.Path(QStringLiteral("Papyra.RPT"))));
  EXPECT_TRUE(System.SnapshotFileName().isEmpty());
  EXPECT_EQ(ParseSnapshot(System.SnapshotData()), Previewed.value(0));
}

TEST_F(ReportSystemTest, TheStatusWindowCountsThePagesBeingGenerated) {
  QStringList seen;
  System.TitleStatus = QStringLiteral("Form 1099-NEC Status");
  System.OnAfterPrint = [&](TPagePrinter&) {
    auto* window = dynamic_cast<TReportStatusWindow*>(System.StatusWindow());
    ASSERT_NE(window, nullptr);
    seen << window->windowTitle() << window->StatusText();
  };
  ASSERT_TRUE(System.Execute());
  EXPECT_EQ(seen, (QStringList{"Form 1099-NEC Status", "Generating page 3"}));
  EXPECT_EQ(System.StatusWindow(), nullptr);

  System.ShowStatus = false;
  System.OnAfterPrint = [&](TPagePrinter&) { EXPECT_EQ(System.StatusWindow(), nullptr); };
  ASSERT_TRUE(System.Execute());
}

TEST_F(ReportSystemTest, OverridePreviewIsCalledWithItsModes) {
  QList<int> modes;
  QString snapshot;
  System.OverridePreview = [&](TReportSystem& rs, int mode) {
    modes << mode;
    if (mode == pmShow) snapshot = rs.SnapshotFileName();
  };
  ASSERT_TRUE(System.Execute());
  EXPECT_EQ(modes, (QList<int>{pmCreate, pmShow, pmFree}));
  EXPECT_TRUE(snapshot.endsWith(QStringLiteral("/Papyra.RPT")));
  EXPECT_TRUE(Previewed.isEmpty());
  modes.clear();
  System.Preview.Modal = false;
  ASSERT_TRUE(System.Execute());
  EXPECT_EQ(modes, (QList<int>{pmCreate, pmShow, pmWait, pmFree}));
}

TEST_F(ReportSystemTest, TheSetUpWindowChoosesAFileDestination) {
  System.ShowSetup = true;
  System.TitleSetup = QStringLiteral("Form 1099-NEC Setup");
  const QString pdf = Tmp.Path(QStringLiteral("out.pdf"));
  QString title;
  bool previewChecked = false;
  QString focused;
  WhenModal([&](QWidget* w) {
    title = w->windowTitle();
    previewChecked = Child<QRadioButton>(w, QStringLiteral("RBPreview"))->isChecked();
    focused = w->focusWidget() ? w->focusWidget()->objectName() : QString();
    Child<QRadioButton>(w, QStringLiteral("RBFile"))->setChecked(true);
    Child<QLineEdit>(w, QStringLiteral("FileName"))->setText(pdf);
    Child<QPushButton>(w, QStringLiteral("BtnOk"))->click();
  });
  ASSERT_TRUE(System.Execute());
  EXPECT_EQ(title, QStringLiteral("Form 1099-NEC Setup"));
  EXPECT_TRUE(previewChecked) << "the preview is chosen when the window opens";
  EXPECT_EQ(focused, QStringLiteral("RBPreview")) << "the focus is on the option chosen";
  EXPECT_TRUE(Previewed.isEmpty());
  EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF-"));
  EXPECT_EQ(System.Setup.Dest, TReportDest::File);

  // A snapshot destination receives the job's snapshot byte for byte.
  const QString snp = Tmp.Path(QStringLiteral("saved.snp"));
  WhenModal([&](QWidget* w) {
    EXPECT_TRUE(Child<QRadioButton>(w, QStringLiteral("RBFile"))->isChecked())
        << "the last choice is offered again";
    EXPECT_EQ(w->focusWidget()->objectName(), QStringLiteral("RBFile"));
    Child<QLineEdit>(w, QStringLiteral("FileName"))->setText(snp);
    Child<QPushButton>(w, QStringLiteral("BtnOk"))->click();
  });
  ASSERT_TRUE(System.Execute());
  EXPECT_EQ(ReadAll(snp), ReadAll(RuntimeSnapshot()));
}

TEST_F(ReportSystemTest, CancellingTheSetUpWindowEndsTheJob) {
  System.ShowSetup = true;
  WhenModal([](QWidget* w) { Child<QPushButton>(w, QStringLiteral("BtnCancel"))->click(); });
  EXPECT_FALSE(System.Execute());
  EXPECT_TRUE(Events.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(RuntimeSnapshot()));
}

TEST_F(ReportSystemTest, ThePrinterDestinationPrintsTheChosenRangeAndCopies) {
  if (!HaveTool(QStringLiteral("pdftotext"))) GTEST_SKIP() << "pdftotext is not installed";
  const QString pdf = Tmp.Path(QStringLiteral("printed.pdf"));
  auto target = std::make_shared<TPdfPrinterTarget>(pdf);
  TTargetScope scope(target);
  System.ShowSetup = true;
  System.ShowStatus = false;
  // The stored printer set-up, applied at the start of the job, chooses printer and paper; the
  // set-up window's copies win over the stored ones.
  System.OnBeforePrint = [](TPagePrinter& p) {
    p.SelectPrinter(QStringLiteral("Stored Printer"));
    p.SelectPaper(QStringLiteral("Legal"));
    p.SetCopies(5);
  };
  WhenModal([&](QWidget* w) {
    Child<QRadioButton>(w, QStringLiteral("RBPrinter"))->setChecked(true);
    Child<QSpinBox>(w, QStringLiteral("Copies"))->setValue(2);
    Child<QRadioButton>(w, QStringLiteral("RBPageRange"))->setChecked(true);
    Child<QSpinBox>(w, QStringLiteral("FromPage"))->setValue(2);
    Child<QSpinBox>(w, QStringLiteral("ToPage"))->setValue(3);
    Child<QPushButton>(w, QStringLiteral("BtnOk"))->click();
  });
  ASSERT_TRUE(System.Execute());
  EXPECT_EQ(target->LastSettings().Copies, 2);
  EXPECT_EQ(target->LastSettings().PrinterName, QStringLiteral("Stored Printer"));
  EXPECT_EQ(target->LastSettings().PaperName, QStringLiteral("Legal"));
  QStringList printed;
  for (const TPdfWord& w : PdfWords(pdf))
    if (w.Text != QLatin1String("PAGE")) printed << QStringLiteral("%1:%2").arg(w.Page).arg(w.Text);
  // A PDF "printer" cannot make copies itself, so the engine prints the range twice.
  EXPECT_EQ(printed, (QStringList{"1:2", "2:3", "3:2", "4:3"}));
}

TEST_F(ReportSystemTest, NoPrinterMeansTheMessageAndNoOutput) {
  TTargetScope scope(std::make_shared<TNoPrinterTarget>());
  MsgBoxScript::Clear();
  System.Setup.Dest = TReportDest::Printer;
  ASSERT_TRUE(System.Execute());
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::Log()[0].text,
            QStringLiteral("No printers are defined, aborting print job."));
}

TEST_F(ReportSystemTest, AnExceptionInOnPrintPassesThroughAndCleansUp) {
  System.OnPrint = [](TPagePrinter&) { throw EReportException(QStringLiteral("boom")); };
  EXPECT_THROW(System.Execute(), EReportException);
  EXPECT_EQ(System.PagePrinter(), nullptr);
  EXPECT_EQ(System.StatusWindow(), nullptr);
  EXPECT_TRUE(Previewed.isEmpty());
}

TEST_F(ReportSystemTest, TheEnginePreviewPagesThroughTheJob) {
  TReportSystem::SetDefaultPreviewHandler(nullptr);
  System.Preview.Maximized = false;
  QStringList pages;
  WhenModal([&](QWidget* w) {
    auto* status = Child<QLabel>(w, QStringLiteral("LblPage"));
    auto* next = Child<QPushButton>(w, QStringLiteral("BtnNext"));
    pages << status->text();
    EXPECT_FALSE(Child<QPushButton>(w, QStringLiteral("BtnPrior"))->isEnabled());
    next->click();
    next->click();
    pages << status->text();
    EXPECT_FALSE(next->isEnabled());
    Child<QPushButton>(w, QStringLiteral("BtnClose"))->click();
  });
  ASSERT_TRUE(System.Execute());
  EXPECT_EQ(pages, (QStringList{" Page 1 of 3", " Page 3 of 3"}));
}

// A packaged install is read-only and is the current folder: a print still works, writes nothing
// there, and what it wrote for itself goes with the program's own folder at exit.
TEST_F(ReportSystemTest, AReadOnlyProgramFolderStillPrintsAndKeepsNothing) {
  const QString program = Tmp.Path(QStringLiteral("program"));
  ASSERT_TRUE(QDir().mkpath(program));
  QDir::setCurrent(program);
  QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  const QString pdf = Tmp.Path(QStringLiteral("out.pdf"));
  System.Setup.Dest = TReportDest::File;
  System.Setup.FileName = pdf;
  const bool printed = System.Execute();
  const QStringList left = QDir(program).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
  QFile::setPermissions(program,
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_TRUE(printed);
  EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF-"));
  EXPECT_TRUE(left.isEmpty()) << left.join(' ').toStdString();
  const QString own = RuntimeDir();
  EXPECT_TRUE(QFileInfo::exists(own + QStringLiteral("/Papyra.RPT")));
  EXPECT_EQ(QFileInfo(own).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0)
      << "the folder is the user's alone";
  RemoveRuntimeDir();
  EXPECT_FALSE(QFileInfo::exists(own));
  EXPECT_NE(RuntimeDir(), own) << "a new folder, never one another copy may hold";
}
