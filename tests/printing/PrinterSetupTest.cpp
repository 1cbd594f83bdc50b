// The stored printer set-up: the dialog's states and checks, the "Printer" key's values and
// types, defaults for damaged values, and what a job's printer receives.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "FakePrinterTarget.h"
#include "TestSupport.h"
#include "controls/FilterEdit.h"
#include "engine/ReportSystem.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"
#include "printing/PrinterSetup.h"
#include "printing/ReportSystemSetup.h"
#include "storage/Globals.h"

namespace {
// A job's printer settings as one line, so a mismatch shows every field.
QString Describe(const TPrinterSettings& s) {
  return QStringLiteral("%1|%2|%3|o%4|c%5|d%6|n%7")
      .arg(s.PrinterName, s.PaperName, s.BinName)
      .arg(int(s.Orientation))
      .arg(s.Collate)
      .arg(int(s.Duplex))
      .arg(s.Copies);
}

const QString kRoot = QStringLiteral("Software\\PapyraTest\\2025\\");

class PrinterSetupTest : public testing::Test {
 protected:
  void SetUp() override {
    RegistryRoot = kRoot;
    SetPrinterTarget(target);
    TRegistry().DeleteKey(PrinterSetupKey());
    ClearPrinterSetup(PrinterSetupRecord);
    MsgBoxScript::Clear();
    HelpScript::Clear();
  }
  void TearDown() override { SetPrinterTarget(nullptr); }

  // A dialog shown and active, so focus and keys behave as for a user.
  std::unique_ptr<TFrmPrinterSetupDlg> OpenDialog() {
    auto dlg = std::make_unique<TFrmPrinterSetupDlg>();
    dlg->show();
    dlg->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    return dlg;
  }
  static void Store(const TPrinterSetupRecord& rec) { WritePrinterSetup(rec); }

  template <typename T>
  static T* Find(QWidget* w, const char* name) {
    T* child = w->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  static void Choose(QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text));
    emit box->activated(box->currentIndex());
  }
  static QString Focused() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
  }

  // What a job's page printer holds after the stored set-up was applied to it.
  QString Applied() {
    TPagePrinter printer;
    printer.SetPrinterTarget(target.get());
    SetPrinterSetup(printer);
    return Describe(printer.PrinterSettings());
  }

  std::shared_ptr<TFakePrinterTarget> target = std::make_shared<TFakePrinterTarget>();
};
}  // namespace

TEST_F(PrinterSetupTest, WithoutStoredSetUpTheDialogOpensEmpty) {
  auto dlg = OpenDialog();
  EXPECT_EQ(dlg->windowTitle(), "Printer Setup");
  auto* printers = Find<QComboBox>(dlg.get(), "PrinterName");
  EXPECT_EQ(printers->count(), 2);
  EXPECT_EQ(printers->currentIndex(), -1);
  EXPECT_EQ(Find<QComboBox>(dlg.get(), "PaperName")->count(), 0);
  EXPECT_EQ(Find<QComboBox>(dlg.get(), "BinName")->count(), 0);
  EXPECT_TRUE(Find<QRadioButton>(dlg.get(), "Portrait")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(dlg.get(), "Simplex")->isChecked());
  EXPECT_EQ(Find<QRadioButton>(dlg.get(), "Simplex")->text(), "None");
  EXPECT_EQ(Find<QRadioButton>(dlg.get(), "Horizontal")->text(), "Book");
  EXPECT_EQ(Find<QRadioButton>(dlg.get(), "Vertical")->text(), "Tablet");
  EXPECT_FALSE(Find<QCheckBox>(dlg.get(), "Collate")->isChecked());
  EXPECT_EQ(Find<TFilterEdit>(dlg.get(), "Copies")->text(), "1");
  EXPECT_EQ(Focused(), "PrinterName");
  EXPECT_EQ(Find<QPushButton>(dlg.get(), "BtnOk")->focusPolicy() & Qt::TabFocus, 0);
}

TEST_F(PrinterSetupTest, OkStoresAllSevenValuesWithTheirTypes) {
  auto dlg = OpenDialog();
  Choose(Find<QComboBox>(dlg.get(), "PrinterName"), "Laser One");
  Find<QComboBox>(dlg.get(), "PaperName")->setCurrentIndex(1);
  Find<QComboBox>(dlg.get(), "BinName")->setCurrentIndex(2);
  Find<QRadioButton>(dlg.get(), "Landscape")->setChecked(true);
  Find<QRadioButton>(dlg.get(), "Horizontal")->setChecked(true);
  Find<QCheckBox>(dlg.get(), "Collate")->setChecked(true);
  Find<TFilterEdit>(dlg.get(), "Copies")->setText("12");
  Find<QPushButton>(dlg.get(), "BtnOk")->click();
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());

  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(PrinterSetupKey(), false));
  QStringList names = reg.ValueNames();
  names.sort();
  EXPECT_EQ(names,
            QStringList({"Bin", "Collate", "Copies", "Duplex", "Name", "Orientation", "Paper"}));
  EXPECT_EQ(reg.ReadString("Name"), "Laser One");
  EXPECT_EQ(reg.ReadString("Paper"), "Legal");
  EXPECT_EQ(reg.ReadString("Bin"), "Manual Feed");
  bool ok = false;
  EXPECT_EQ(reg.ReadInteger("Orientation", -1, &ok), 1);
  EXPECT_TRUE(ok);
  EXPECT_EQ(reg.ReadInteger("Collate", -1, &ok), 1);
  EXPECT_TRUE(ok);
  EXPECT_EQ(reg.ReadInteger("Duplex", -1, &ok), 2);
  EXPECT_TRUE(ok);
  EXPECT_EQ(reg.ReadInteger("Copies", -1, &ok), 12);
  EXPECT_TRUE(ok);
}

TEST_F(PrinterSetupTest, StoredSetUpIsShownWhenTheDialogOpens) {
  struct Case {
    int orientation, duplex;
    const char* orientationButton;
    const char* duplexButton;
  };
  const Case cases[] = {{0, 0, "Portrait", "Simplex"},
                        {1, 1, "Landscape", "Vertical"},
                        {2, 2, "Portrait", "Horizontal"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.orientationButton);
    Store({"Laser One", "A4", "Tray 2", c.orientation, true, c.duplex, 3});
    auto dlg = OpenDialog();
    EXPECT_EQ(Find<QComboBox>(dlg.get(), "PrinterName")->currentText(), "Laser One");
    EXPECT_EQ(Find<QComboBox>(dlg.get(), "PaperName")->count(), 3);
    EXPECT_EQ(Find<QComboBox>(dlg.get(), "PaperName")->currentText(), "A4");
    EXPECT_EQ(Find<QComboBox>(dlg.get(), "BinName")->currentText(), "Tray 2");
    EXPECT_TRUE(Find<QRadioButton>(dlg.get(), c.orientationButton)->isChecked());
    EXPECT_TRUE(Find<QRadioButton>(dlg.get(), c.duplexButton)->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(dlg.get(), "Collate")->isChecked());
    EXPECT_EQ(Find<TFilterEdit>(dlg.get(), "Copies")->text(), "3");
  }
}

TEST_F(PrinterSetupTest, StoredPrinterNoLongerInstalledIsNotSelected) {
  Store({"Gone Printer", "Letter", "Tray 1", 0, false, 0, 1});
  auto dlg = OpenDialog();
  EXPECT_EQ(Find<QComboBox>(dlg.get(), "PrinterName")->currentIndex(), -1);
  EXPECT_EQ(Find<QComboBox>(dlg.get(), "PaperName")->count(), 0);
  // ...yet a job still asks for it by name.
  EXPECT_TRUE(Applied().startsWith("Gone Printer|"));
}

TEST_F(PrinterSetupTest, OkChecksEntriesInOrderAndStaysOpen) {
  struct Case {
    const char* printerName;
    int paper, bin;
    const char* copies;
    const char* message;
    const char* focus;
  };
  const Case cases[] = {
      {nullptr, -1, -1, "1", "Printer has not been selected.", "PrinterName"},
      {"Laser One", -1, 0, "1", "Paper size has not been selected.", "PaperName"},
      {"Laser One", 0, -1, "1", "Paper source has not been selected.", "BinName"},
      {"Laser One", 0, 0, "0", "Copies must not be 0.", "Copies"},
      {"Laser One", 0, 0, "", "Copies must not be 0.", "Copies"},
      {"Laser One", 0, 0, "00", "Copies must not be 0.", "Copies"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    MsgBoxScript::Clear();
    auto dlg = OpenDialog();
    if (c.printerName) Choose(Find<QComboBox>(dlg.get(), "PrinterName"), c.printerName);
    Find<QComboBox>(dlg.get(), "PaperName")->setCurrentIndex(c.paper);
    Find<QComboBox>(dlg.get(), "BinName")->setCurrentIndex(c.bin);
    Find<TFilterEdit>(dlg.get(), "Copies")->setText(c.copies);
    Find<QPushButton>(dlg.get(), "BtnOk")->click();
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log().first().text, c.message);
    EXPECT_EQ(MsgBoxScript::Log().first().caption, "Papyra 2025");
    EXPECT_EQ(MsgBoxScript::Log().first().flags, mbError);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(Focused(), c.focus);
    EXPECT_FALSE(TRegistry().KeyExists(PrinterSetupKey()));
  }
}

TEST_F(PrinterSetupTest, ChoosingAnotherPrinterClearsPaperAndSource) {
  Store({"Laser One", "Legal", "Tray 2", 0, false, 0, 1});
  auto dlg = OpenDialog();
  auto* paper = Find<QComboBox>(dlg.get(), "PaperName");
  EXPECT_EQ(paper->currentText(), "Legal");
  Choose(Find<QComboBox>(dlg.get(), "PrinterName"), "Ink Two");
  EXPECT_EQ(paper->count(), 2);
  EXPECT_EQ(paper->currentIndex(), -1);
  EXPECT_EQ(Find<QComboBox>(dlg.get(), "BinName")->currentIndex(), -1);
  EXPECT_EQ(Find<QComboBox>(dlg.get(), "BinName")->itemText(0), "Rear Tray");
  Find<QPushButton>(dlg.get(), "BtnOk")->click();
  EXPECT_EQ(MsgBoxScript::LastText(), "Paper size has not been selected.");
}

TEST_F(PrinterSetupTest, CopiesTakesAtMostTwoDigits) {
  auto dlg = OpenDialog();
  auto* copies = Find<TFilterEdit>(dlg.get(), "Copies");
  copies->clear();
  QTest::keyClicks(copies, "a1-2x39");
  EXPECT_EQ(copies->text(), "12");
  EXPECT_EQ(copies->alignment() & Qt::AlignRight, Qt::AlignRight);
}

TEST_F(PrinterSetupTest, CancelStoresNothing) {
  auto dlg = OpenDialog();
  Choose(Find<QComboBox>(dlg.get(), "PrinterName"), "Laser One");
  Find<QComboBox>(dlg.get(), "PaperName")->setCurrentIndex(0);
  Find<QComboBox>(dlg.get(), "BinName")->setCurrentIndex(0);
  Find<QPushButton>(dlg.get(), "BtnCancel")->click();
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
  EXPECT_FALSE(TRegistry().KeyExists(PrinterSetupKey()));
}

TEST_F(PrinterSetupTest, EnterMovesOnEscapeStaysF1ShowsHelp) {
  auto dlg = OpenDialog();
  EXPECT_EQ(Focused(), "PrinterName");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(Focused(), "PaperName");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
  EXPECT_EQ(Focused(), "BinName");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(Focused(), "Copies");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(Focused(), "Portrait");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(dlg->isVisible());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
  EXPECT_EQ(HelpScript::Shown(), QList<int>({23}));
}

// Damaged values read as the defaults the dialog would have shown; over-long names are cut.
TEST_F(PrinterSetupTest, DamagedValuesReadAsDefaults) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(PrinterSetupKey(), true));
    reg.WriteString("Name", QString(70, 'P'));
    reg.WriteString("Paper", QString(50, 'S'));
    reg.WriteInteger("Bin", 5);
    reg.WriteInteger("Orientation", 7);
    reg.WriteString("Collate", "yes");
    reg.WriteInteger("Duplex", -1);
    reg.WriteInteger("Copies", 5000);
    reg.CloseKey();
  }
  TPrinterSetupRecord rec;
  rec.Orientation = 1;  // out-of-range codes leave the field as it was
  rec.Duplex = 1;
  ReadPrinterSetup(rec);
  EXPECT_EQ(rec.PrinterName, QString(60, 'P'));
  EXPECT_EQ(rec.PaperName, QString(40, 'S'));
  EXPECT_EQ(rec.BinName, "");
  EXPECT_EQ(rec.Orientation, 1);
  EXPECT_FALSE(rec.Collate);
  EXPECT_EQ(rec.Duplex, 1);
  EXPECT_EQ(rec.Copies, 0);

  auto dlg = OpenDialog();
  EXPECT_TRUE(Find<QRadioButton>(dlg.get(), "Portrait")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(dlg.get(), "Simplex")->isChecked());
  EXPECT_EQ(Find<TFilterEdit>(dlg.get(), "Copies")->text(), "1");
}

TEST_F(PrinterSetupTest, JobWithoutStoredPrinterKeepsItsDefaults) {
  const QString defaults = Describe(TPagePrinter().PrinterSettings());
  EXPECT_EQ(Applied(), defaults);
  Store({"   ", "Letter", "Tray 1", 1, true, 1, 2});
  EXPECT_EQ(Applied(), defaults);
}

TEST_F(PrinterSetupTest, JobReceivesTheStoredSetUp) {
  struct Case {
    TPrinterSetupRecord stored;
    TPrinterSettings applied;
  };
  const Case cases[] = {
      {{"Laser One", "Legal", "Tray 2", 1, true, 2, 4},
       {"Laser One", "Legal", "Tray 2", TOrientation::Landscape, true, TDuplex::Horizontal, 4}},
      // A printer that cannot collate or print both sides is not asked to.
      {{"Ink Two", "Letter", "Rear Tray", 0, true, 1, 2},
       {"Ink Two", "Letter", "Rear Tray", TOrientation::Portrait, false, TDuplex::Simplex, 2}},
      // Zero copies means one; 2 is the printer's own orientation.
      {{"Laser One", "A4", "Tray 1", 2, false, 1, 0},
       {"Laser One", "A4", "Tray 1", TOrientation::Default, false, TDuplex::Vertical, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.PrinterName.toStdString());
    Store(c.stored);
    EXPECT_EQ(Applied(), Describe(c.applied));
    EXPECT_EQ(PrinterSetupRecord.PrinterName, c.stored.PrinterName);
  }
}

// The report system's set-up window offers the printer the job will print on: the stored one
// while it is installed, else the default printer. A printer picked there is the job's.
TEST_F(PrinterSetupTest, TheReportSetUpWindowOffersTheStoredPrinter) {
  const struct {
    const char* stored;
    const char* offered;
  } cases[] = {
      {"Ink Two", "Ink Two"}, {"Laser One", "Laser One"}, {"Gone", "Laser One"}, {"", "Laser One"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    Store({c.stored, "Letter", "", 0, false, 0, 1});
    TReportSystem system;
    SetUpReportSystem(system, ReportTitlesOf("Form 1099-NEC"), nullptr);
    QString offered;
    WhenModal([&](QWidget* w) {
      offered = Find<QComboBox>(w, "PrinterName")->currentText();
      Find<QPushButton>(w, "BtnCancel")->click();
    });
    EXPECT_FALSE(system.Execute());
    EXPECT_EQ(offered, c.offered);
    EXPECT_TRUE(system.Setup.Printer.PrinterName.isEmpty());
  }
  // Kept as offered, the stored set-up still decides; another pick is the job's own.
  Store({"Ink Two", "Letter", "", 0, false, 0, 1});
  TReportSystem system;
  SetUpReportSystem(system, ReportTitlesOf("Form 1099-NEC"), nullptr);
  system.OnPrint = [](TPagePrinter&) {};
  system.OverridePreview = [](TReportSystem&, int) {};
  for (const char* pick : {"Ink Two", "Laser One"}) {
    WhenModal([&](QWidget* w) {
      auto* box = Find<QComboBox>(w, "PrinterName");
      box->setCurrentIndex(box->findText(pick));
      Find<QPushButton>(w, "BtnOk")->click();
    });
    EXPECT_TRUE(system.Execute());
    EXPECT_EQ(system.Setup.Printer.PrinterName, QString(pick == QString("Ink Two") ? "" : pick));
  }
}
