// The 1099-NEC screen: what it shows on opening, its record navigator and Alt keys, moving between
// payees (written first, refused by the two state-line checks with their focus), the offsets read
// at each opening, closing, help, the focus colour, Enter through the boxes, and the print command
// through the print type choice.
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <limits>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "controls/CheckBoxEdit.h"
#include "controls/DollarEdit.h"
#include "controls/RSNavigator.h"
#include "engine/PagePrinter.h"
#include "engine/ReportSystem.h"
#include "engine/Snapshot.h"
#include "platform/Exceptions.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "printing/PrinterOffsets.h"
#include "storage/Globals.h"

namespace {
class Frm1099NECTest : public TFormsTest {
 protected:
  // Record order Zimmer, Adams, Baker.
  void OpenThree(const TPayerRecord& payer = SamplePayer()) {
    TPayeeRecord zimmer =
        SamplePayee(QStringLiteral("Zimmer, Paul"), QStringLiteral("123-45-6788"), 1500);
    zimmer.SetDouble("F1099NEC5_1", 15);
    zimmer.SetDouble("F1099NEC7_1", 1500);
    TPayeeRecord adams =
        SamplePayee(QStringLiteral("Adams & Co"), QStringLiteral("98-7654321"), 25000);
    adams.SetString("CompName", QStringLiteral("Adams Consulting"));
    adams.SetBool("Corrected1099NEC", true);
    adams.SetString("AcctNum1099NEC", QStringLiteral("A-17"));
    TPayeeRecord baker =
        SamplePayee(QStringLiteral("Baker, Bob"), QStringLiteral("345-67-8901"), 800);
    OpenPayerFile(payer, {zimmer, adams, baker});
  }
};

TEST_F(Frm1099NECTest, OpeningShowsPayerPayeeAndBoxes) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("PayerName", QStringLiteral("Smith & Sons"));
  payer.SetString("TradeName", QString());
  payer.SetString("EmpIDNum", QString());
  payer.SetString("StateID1", QStringLiteral("12&34"));  // a label from the tables keeps its "&"
  payer.SetString("StateName2", QString());
  payer.SetString("StateID2", QString());
  OpenThree(payer);
  Module->RSPayee->SetCurrentRecord(2);
  TFrm1099NEC screen;
  EXPECT_EQ(screen.windowTitle(), QStringLiteral("Form 1099-NEC Nonemployee Compensation"));
  EXPECT_EQ(Label(screen, "PayerName"), QString());
  EXPECT_EQ(Label(screen, "TradeName"), QStringLiteral("Smith && Sons"));
  EXPECT_EQ(Label(screen, "Address"), QStringLiteral("1234 Industrial Pkwy Suite 200"));
  EXPECT_EQ(Label(screen, "CityStZip"), QStringLiteral("Springfield, IL 62704"));
  EXPECT_EQ(Label(screen, "PhoneNum"), QStringLiteral("217-555-0123"));
  EXPECT_EQ(Label(screen, "EmpIDNum"), QStringLiteral("321-54-9876"));
  EXPECT_EQ(Label(screen, "PayerStateID1"), QStringLiteral("IL 12&&34"));
  EXPECT_EQ(Label(screen, "PayerStateID2"), QString());
  EXPECT_EQ(Label(screen, "SSN_IDNum"), QStringLiteral("98-7654321"));
  EXPECT_EQ(Label(screen, "PayeeName"), QStringLiteral("Adams && Co"));
  EXPECT_EQ(Label(screen, "PayeeCompName"), QStringLiteral("Adams Consulting"));
  EXPECT_EQ(Label(screen, "PayeeAddress2"), QStringLiteral("Decatur, IL 62521"));
  EXPECT_EQ(Label(screen, "Lbl2ndTINnot"), QStringLiteral("2nd TIN not."));
  EXPECT_EQ(screen.findChild<QLabel*>("LblCalendarYear")->text(), QStringLiteral("2025"));
  EXPECT_DOUBLE_EQ(Money(screen, "F1099NEC1")->Value(), 25000);
  EXPECT_TRUE(qobject_cast<TCheckBoxEdit*>(screen.Control("Corrected"))->Checked());
  EXPECT_EQ(qobject_cast<QLineEdit*>(screen.Control("AcctNum1099NEC"))->text(), "A-17");
  EXPECT_EQ(Project->Engine(), nullptr);  // the engine is the screen's job, not running yet
}

TEST_F(Frm1099NECTest, PayeeWithoutSecondNameLineShowsItOnTheLowerLine) {
  OpenThree();
  TFrm1099NEC screen;
  EXPECT_EQ(Label(screen, "PayeeName"), QString());
  EXPECT_EQ(Label(screen, "PayeeCompName"), QStringLiteral("Zimmer, Paul"));
  EXPECT_EQ(Label(screen, "PayerName"), QStringLiteral("Acme Supply"));
  EXPECT_EQ(Label(screen, "TradeName"), QStringLiteral("Acme Builders"));
}

// The widest names a record holds show whole in their boxes, in a smaller size; ordinary names
// keep the screen's size.
TEST_F(Frm1099NECTest, WidestNamesShowWholeInTheirBoxes) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("PayerName", QString(40, QLatin1Char('W')));
  OpenThree(payer);
  TFrm1099NEC screen;
  auto fits = [&](const char* name) {
    const QLabel* label = screen.Label(QLatin1String(name));
    return QFontMetricsF(label->font()).horizontalAdvance(label->text()) <=
           label->contentsRect().width();
  };
  // The screen's text size is that of a label with a short text.
  const int size = screen.Label(QStringLiteral("Address"))->font().pixelSize();
  EXPECT_TRUE(fits("PayerName"));
  EXPECT_LT(screen.Label(QStringLiteral("PayerName"))->font().pixelSize(), size);
  EXPECT_EQ(screen.Label(QStringLiteral("TradeName"))->font().pixelSize(), size);
  EXPECT_TRUE(screen.Label(QStringLiteral("PayerName"))->font().bold());
  // The payee shown next gets its own size back.
  PayeeRec.SetString("PayeeName", QString(40, QLatin1Char('M')));
  PayeeRec.SetString("CompName", QString());
  screen.LoadFormFields();
  EXPECT_TRUE(fits("PayeeCompName"));
  PayeeRec.SetString("PayeeName", QStringLiteral("Zimmer, Paul"));
  screen.LoadFormFields();
  EXPECT_EQ(screen.Label(QStringLiteral("PayeeCompName"))->font().pixelSize(), size);
}

TEST_F(Frm1099NECTest, MovingWritesThePayeeFirstAndShowsTheNext) {
  OpenThree();
  TFrm1099NEC screen;
  ShowActive(screen);
  Money(screen, "F1099NEC4")->SetValue(150.25);
  qobject_cast<TCheckBoxEdit*>(screen.Control("F1099NEC2"))->SetChecked(true);
  screen.Control("F1099NEC3")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 2);
  EXPECT_EQ(Label(screen, "PayeeCompName"), QStringLiteral("Adams Consulting"));
  EXPECT_DOUBLE_EQ(Money(screen, "F1099NEC4")->Value(), 0);
  const QList<TPayeeRecord> disk = PayeesOnDisk();
  EXPECT_DOUBLE_EQ(disk[0].GetDouble("F1099NEC4"), 150.25);
  EXPECT_TRUE(disk[0].GetBool("F1099NEC2"));
  screen.RSNavigator->BtnClick(nbLast);
  EXPECT_EQ(Label(screen, "PayeeCompName"), QStringLiteral("Baker, Bob"));
  screen.RSNavigator->BtnClick(nbFirst);
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 1);
  EXPECT_DOUBLE_EQ(Money(screen, "F1099NEC4")->Value(), 150.25);
}

struct TNavButtonCase {
  const char* Name;
  bool Visible;
  const char* Hint;
  bool EnabledOnFirst;  // on payee 1 of 3
};

TEST_F(Frm1099NECTest, NavigatorShowsTheFivePayeeButtonsWithTheirHints) {
  OpenThree();
  TFrm1099NEC screen;
  ShowActive(screen);
  TRSNavigator* nav = screen.findChild<TRSNavigator*>(QStringLiteral("RSNavigator"));
  ASSERT_NE(nav, nullptr);
  EXPECT_EQ(nav, screen.RSNavigator);
  EXPECT_EQ(nav->RecordSet(), Module->RSPayee);
  EXPECT_TRUE(nav->AutoPerform());
  EXPECT_EQ(nav->size(), QSize(110, 22));
  const TNavButtonCase cases[] = {
      {"NavBtnFirst", true, "First Payee (Alt + F)", false},
      {"NavBtnNext", true, "Next Payee (Alt + N)", true},
      {"NavBtnPrior", true, "Prior Payee (Alt + P)", false},
      {"NavBtnLast", true, "Last Payee (Alt + L)", true},
      {"NavBtnList", true, "List Payee (Alt + I)", true},
      {"NavBtnNew", false, nullptr, false},
      {"NavBtnDelete", false, nullptr, false},
  };
  int left = 0;
  for (const TNavButtonCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* button = nav->findChild<QToolButton*>(QLatin1String(c.Name));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->isVisible(), c.Visible);
    if (!c.Visible) continue;
    EXPECT_EQ(button->toolTip(), QLatin1String(c.Hint));
    EXPECT_EQ(button->isEnabled(), c.EnabledOnFirst);
    EXPECT_EQ(button->geometry(), QRect(left, 0, 22, 22));  // side by side, Next before Prior
    left += 22;
  }
  // New and Delete belong to the payee screen: their keys add or remove nothing here.
  MsgBoxScript::Clear();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
  EXPECT_EQ(Module->RSPayee->RecordCount(), 3);
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 1);
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
  // On the last payee the buttons turn round.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
  EXPECT_TRUE(nav->NavBtnFirst->isEnabled());
  EXPECT_TRUE(nav->NavBtnPrior->isEnabled());
  EXPECT_FALSE(nav->NavBtnNext->isEnabled());
  EXPECT_FALSE(nav->NavBtnLast->isEnabled());
}

// Alt with the letter of a disabled button moves nothing, and the box with the focus does not take
// the letter as typing either.
TEST_F(Frm1099NECTest, AltKeyOfADisabledButtonLeavesPayeeAndBoxAlone) {
  OpenThree();
  Module->RSPayee->SetCurrentRecord(3);
  TFrm1099NEC screen;
  ShowActive(screen);
  MsgBoxScript::Clear();
  for (const char* box : {"F1099NEC4", "AcctNum1099NEC", "F1099NEC1"}) {
    for (Qt::Key key : {Qt::Key_N, Qt::Key_L}) {
      SCOPED_TRACE(std::string(box) + " " + char(key));
      auto* edit = qobject_cast<QLineEdit*>(screen.Control(QLatin1String(box)));
      edit->setFocus();
      const QString before = edit->text();
      QTest::keyClick(edit, key, Qt::AltModifier);
      EXPECT_EQ(edit->text(), before);
      EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
    }
  }
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 2);
}

struct TDamagedOffsetCase {
  const char* Title;
  std::function<void(TRegistry&)> Damage;  // done to "F1099NECVO" in the open "Offsets" key
};

// A stored offset that cannot be read counts as 0, as the printer offsets screen shows it: not
// what the previous opening held, and not whatever its bytes happen to make.
TEST_F(Frm1099NECTest, DamagedStoredOffsetPrintsAtZero) {
  OpenThree();
  const TDamagedOffsetCase cases[] = {
      {"too short", [](TRegistry& r) { r.WriteBinaryData("F1099NECVO", QByteArray(3, '\1')); }},
      {"too long", [](TRegistry& r) { r.WriteBinaryData("F1099NECVO", QByteArray(12, '\1')); }},
      {"not a number",
       [](TRegistry& r) {
         r.WriteBinaryData("F1099NECVO", OffsetBytes(std::numeric_limits<double>::quiet_NaN()));
       }},
      {"off the sheet", [](TRegistry& r) { r.WriteBinaryData("F1099NECVO", OffsetBytes(1e300)); }},
      {"another type", [](TRegistry& r) { r.WriteString("F1099NECVO", "-0.25"); }},
      {"missing", [](TRegistry& r) { r.DeleteValue("F1099NECVO"); }},
  };
  for (const TDamagedOffsetCase& c : cases) {
    SCOPED_TRACE(c.Title);
    WriteOffsets(QStringLiteral("F1099NEC"), -0.25, 0.125);
    {
      TFrm1099NEC held;  // the run now holds -0.25 for this form
      EXPECT_EQ(held.Offsets().VO, -0.25);
    }
    WriteOffsets(QStringLiteral("F1099NEC"), -0.25, 0.5);
    ASSERT_TRUE(AppRegistry->OpenKey(RegistryRoot + QStringLiteral("Offsets"), false));
    c.Damage(*AppRegistry);
    AppRegistry->CloseKey();
    TFrm1099NEC screen;
    EXPECT_EQ(screen.Offsets().VO, 0.0);
    EXPECT_EQ(screen.Offsets().HO, 0.5);
    TPagePrinter printer;
    printer.BeginDoc();
    screen.ReportPrinterPrint(printer);
    printer.EndDoc();
    const TReportJob job = printer.TakeJob();
    ASSERT_GE(job.PageCount(), 1);
    EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("2025"), 5.63 + 0.5, 0.47 + 0.99));
  }
}

TEST_F(Frm1099NECTest, OffsetsAreReadAtEachOpeningAndKeptWithoutTheKey) {
  OpenThree();
  EXPECT_EQ(TFrm1099NEC().Offsets().VO, 0.0);  // a fresh installation
  WriteOffsets(QStringLiteral("F1099NEC"), -0.25, 0.125);
  {
    TFrm1099NEC screen;
    EXPECT_EQ(screen.Offsets().VO, -0.25);
    EXPECT_EQ(screen.Offsets().HO, 0.125);
  }
  AppRegistry->DeleteKey(RegistryRoot + QStringLiteral("Offsets"));
  TFrm1099NEC screen;
  EXPECT_EQ(screen.Offsets().VO, -0.25);
  EXPECT_EQ(screen.Offsets().HO, 0.125);
}

struct TValidationCase {
  const char* Title;
  bool PayerState2;  // the payer has a second state line
  double Box5_1, Box7_1, Box5_2, Box7_2;
  QString Message;  // empty: passes
  QString Focus;    // the control that has the focus after the refusal
};

class Frm1099NECValidationTest : public Frm1099NECTest,
                                 public ::testing::WithParamInterface<TValidationCase> {};

TEST_P(Frm1099NECValidationTest, RefusesToLeaveAWrongPayee) {
  const TValidationCase& c = GetParam();
  TPayerRecord payer = SamplePayer();
  if (!c.PayerState2) ClearStateLine(payer, 2);
  OpenThree(payer);
  TFrm1099NEC screen;
  ShowActive(screen);
  Money(screen, "F1099NEC5_1")->SetValue(c.Box5_1);
  Money(screen, "F1099NEC7_1")->SetValue(c.Box7_1);
  Money(screen, "F1099NEC5_2")->SetValue(c.Box5_2);
  Money(screen, "F1099NEC7_2")->SetValue(c.Box7_2);
  Money(screen, "F1099NEC1")->setFocus();
  MsgBoxScript::Clear();
  screen.RSNavigator->NavBtnNext->click();
  if (c.Message.isEmpty()) {
    ExpectMovedOn();
    EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099NEC7_2"), c.Box7_2);
    return;
  }
  ExpectRefused(c.Message, screen.Control(c.Focus));
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099NEC5_1"), 15);  // nothing written
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099NEC5_2"), 0);
}

const TValidationCase kValidation[] = {
    {"Box5WithoutBox7", true, 10, 0, 0, 0,
     "Boxes 6 and 7 must not be blank when there is data in box 5.", "F1099NEC7_1"},
    {"SecondLineBox5", false, 0, 0, 10, 20,
     "Boxes 6 and 7 must not be blank when there is data in box 5.", "F1099NEC7_2"},
    {"SecondLineBox7WithoutState", false, 0, 0, 0, 500,
     "Box 6 must not be blank when there is data in box 7.", "F1099NEC1"},
    {"BothLinesFilled", true, 10, 100, 20, 200, "", ""},
    {"EmptyBoxesPassWithoutState", false, 10, 100, 0, 0, "", ""},
};

INSTANTIATE_TEST_SUITE_P(StateLines, Frm1099NECValidationTest, ::testing::ValuesIn(kValidation),
                         [](const auto& info) { return std::string(info.param.Title); });

TEST_F(Frm1099NECTest, StateLineWithoutPayerStateRefusesBox5) {
  TPayerRecord payer = SamplePayer();
  ClearStateLine(payer, 1);
  OpenThree(payer);
  TFrm1099NEC screen;
  ShowActive(screen);
  Money(screen, "F1099NEC5_1")->SetValue(10);
  Money(screen, "F1099NEC7_1")->SetValue(100);
  try {
    screen.ValidateForm();
    ADD_FAILURE() << "accepted box 5 without a state";
  } catch (const EFieldException& e) {
    EXPECT_EQ(e.Message(), "Boxes 6 and 7 must not be blank when there is data in box 5.");
  }
  EXPECT_EQ(QApplication::focusWidget(), screen.Control("F1099NEC7_1"));
}

TEST_F(Frm1099NECTest, ClosingWithAWrongBoxStaysOpenUntilCorrected) {
  OpenThree();
  TFrm1099NEC screen;
  ShowActive(screen);
  Money(screen, "F1099NEC5_1")->SetValue(40);
  Money(screen, "F1099NEC7_1")->SetValue(0);
  MsgBoxScript::Clear();
  screen.BtnClose->click();
  EXPECT_TRUE(screen.isVisible());
  EXPECT_EQ(MsgBoxScript::LastText(),
            QStringLiteral("Boxes 6 and 7 must not be blank when there is data in box 5."));
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099NEC5_1"), 15);
  Money(screen, "F1099NEC7_1")->SetValue(400);
  QTest::keyClick(&screen, Qt::Key_Escape);
  EXPECT_FALSE(screen.isVisible());
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099NEC5_1"), 40);
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099NEC7_1"), 400);
}

TEST_F(Frm1099NECTest, EnterWalksTheBoxesInTabOrderAndFocusTurnsThemCyan) {
  OpenThree();
  TFrm1099NEC screen;
  ShowActive(screen);
  QWidget* first = screen.Control("F1099NEC1");
  const QColor before = screen.Control("F1099NEC3")->palette().color(QPalette::Base);
  first->setFocus();
  EXPECT_EQ(first->palette().color(QPalette::Base), TFrmFormScreen::FocusColor);
  EXPECT_EQ(PressEnter(9),
            QStringList({"F1099NEC1", "F1099NEC2", "F1099NEC3", "F1099NEC4", "AcctNum1099NEC",
                         "F1099NEC5_1", "F1099NEC7_1", "SecTINnot", "F1099NEC5_2", "F1099NEC7_2"}));
  EXPECT_EQ(first->palette().color(QPalette::Base), before);
  EXPECT_EQ(screen.Control("F1099NEC7_2")->palette().color(QPalette::Base),
            TFrmFormScreen::FocusColor);
  EXPECT_EQ(screen.Control("Corrected")->focusPolicy(), Qt::ClickFocus);
}

TEST_F(Frm1099NECTest, HelpOpensTheInstructionsOrSaysTheyAreMissing) {
  OpenThree();
  TFrm1099NEC screen;
  ExpectHelpOpensTheInstructions(screen, QStringLiteral("The IRS Instructions cannot be found"),
                                 QStringLiteral("i1099misc25.pdf"));
}

TEST_F(Frm1099NECTest, PrintGivesProgramGeneratedFormsAndReturnsToThePayee) {
  OpenThree();
  Module->RSPayee->SetCurrentRecord(3);
  TFrm1099NEC screen;
  ShowActive(screen);
  Money(screen, "F1099NEC3")->SetValue(75);  // saved before printing
  PrintToFile(*screen.ReportSystem, QStringLiteral("nec.snp"));
  QString caption;
  WhenModal([&](QWidget* w) {
    caption = w->windowTitle();
    Child<QCheckBox>(w, QStringLiteral("ChkMaskSSN"))->setChecked(false);
    Child<QPushButton>(w, QStringLiteral("BtnOk"))->click();
  });
  MsgBoxScript::Clear();
  screen.BtnPrint->click();
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty()) << MsgBoxScript::LastText().toStdString();
  EXPECT_EQ(caption, QStringLiteral("Form 1099-NEC"));
  EXPECT_FALSE(MaskSSNOption);
  const TReportJob job = LoadSnapshot(screen.ReportSystem->Setup.FileName);
  ASSERT_EQ(job.PageCount(), 3);
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("ADAMS CONSULTING")).size(), 1);
  EXPECT_EQ(TextsEqual(job.Pages[1], QStringLiteral("BAKER, BOB")).size(), 1);
  EXPECT_EQ(TextsEqual(job.Pages[1], QStringLiteral("75.00")).size(), 1);
  EXPECT_EQ(TextsEqual(job.Pages[2], QStringLiteral("123-45-6788")).size(), 1);  // not masked
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
  EXPECT_EQ(Label(screen, "PayeeCompName"), QStringLiteral("Baker, Bob"));
  EXPECT_EQ(QFileInfo(screen.ReportSystem->SnapshotFileName()).fileName(), "Papyra.RPT");
}

TEST_F(Frm1099NECTest, PrintRefusesBeforeAnyDialog) {
  TPayeeRecord only = SamplePayee(QStringLiteral("Only"), QStringLiteral("123-45-6788"), 0);
  OpenPayerFile(SamplePayer(), {only});
  TFrm1099NEC screen;
  ShowActive(screen);
  ExpectPrintRefused(screen, QStringLiteral("There are no forms available for printing."));
  Money(screen, "F1099NEC1")->SetValue(10);
  Money(screen, "F1099NEC5_1")->SetValue(1);
  EXPECT_THROW(screen.BtnPrintClick(), EFieldException);
  EXPECT_EQ(QApplication::activeModalWidget(), &screen);
}

TEST_F(Frm1099NECTest, CancelledPrintTypeChoicePrintsNothing) {
  OpenThree();
  TFrm1099NEC screen;
  PrintToFile(*screen.ReportSystem, QStringLiteral("none.snp"));
  WhenModal([&](QWidget* w) { Child<QPushButton>(w, QStringLiteral("BtnCancel"))->click(); });
  screen.BtnPrintClick();
  EXPECT_FALSE(QFileInfo::exists(screen.ReportSystem->Setup.FileName));
}
}  // namespace
