// The 1099-MISC screen: what it shows on opening, every box control written to and read back
// from the payee record, Enter through the boxes in their order, the two state-line checks with
// their messages and focus, help, and the print command's refusal.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "controls/CheckBoxEdit.h"
#include "controls/DollarEdit.h"
#include "controls/FilterEdit.h"
#include "controls/RSNavigator.h"
#include "platform/MsgBox.h"
#include "storage/Globals.h"

namespace {
// The money boxes of the screen, in tab order.
const char* const kMoneyBoxes[] = {
    "F1099MISC1",    "F1099MISC2",    "F1099MISC3",    "F1099MISC4",   "F1099MISC5",  "F1099MISC6",
    "F1099MISC8",    "F1099MISC9",    "F1099MISC10",   "F1099MISC11",  "F1099MISC12", "F1099MISC15",
    "F1099MISC16_1", "F1099MISC18_1", "F1099MISC16_2", "F1099MISC18_2"};

class Frm1099MISCTest : public TFormsTest {
 protected:
  // Record order Zimmer, Adams.
  void OpenTwo(const TPayerRecord& payer = SamplePayer()) {
    TPayeeRecord zimmer =
        SamplePayee(QStringLiteral("Zimmer, Paul"), QStringLiteral("123-45-6788"), 0);
    zimmer.SetDouble("F1099MISC1", 1200);
    zimmer.SetDouble("F1099MISC16_1", 15);
    zimmer.SetDouble("F1099MISC18_1", 1200);
    TPayeeRecord adams = SamplePayee(QStringLiteral("Adams & Co"), QStringLiteral("98-7654321"), 0);
    adams.SetString("CompName", QStringLiteral("Adams Farms"));
    adams.SetDouble("F1099MISC9", 5000);
    OpenPayerFile(payer, {zimmer, adams});
  }
};

TEST_F(Frm1099MISCTest, OpeningShowsPayerStateLinesAndPayee) {
  TPayerRecord payer = SamplePayer();
  ClearStateLine(payer, 2);
  OpenTwo(payer);
  Module->RSPayee->SetCurrentRecord(2);
  TFrm1099MISC screen;
  EXPECT_EQ(screen.windowTitle(), QStringLiteral("Form 1099-MISC Miscellaneous Information"));
  EXPECT_EQ(CurrentFormType, ft1099MISC);
  EXPECT_EQ(Label(screen, "PayerName"), QStringLiteral("Acme Supply"));
  EXPECT_EQ(Label(screen, "TradeName"), QStringLiteral("Acme Builders"));
  EXPECT_EQ(Label(screen, "PayerStateID1"), QStringLiteral("IL 1234-5678"));
  EXPECT_EQ(Label(screen, "PayerStateID2"), QString());
  EXPECT_FALSE(screen.Label(QStringLiteral("PayerStateID1"))->font().bold());
  EXPECT_EQ(Label(screen, "PayeeName"), QStringLiteral("Adams && Co"));
  EXPECT_EQ(Label(screen, "PayeeCompName"), QStringLiteral("Adams Farms"));
  EXPECT_EQ(Label(screen, "Lbl2ndTINnot"), QStringLiteral("2nd TIN not."));
  EXPECT_EQ(screen.findChild<QLabel*>("LblCalendarYear")->text(), QStringLiteral("2025"));
  EXPECT_NE(screen.findChild<QLabel*>("Form1099MISC"), nullptr);
  EXPECT_DOUBLE_EQ(Money(screen, "F1099MISC9")->Value(), 5000);
  EXPECT_DOUBLE_EQ(Money(screen, "F1099MISC1")->Value(), 0);
  // The screen shows the whole form: every box and label sits on the picture.
  const QRect picture = screen.findChild<QLabel*>("Form1099MISC")->rect();
  for (const TBoxDef& b : screen.Def().Boxes)
    EXPECT_TRUE(picture.contains(screen.Control(QLatin1String(b.Control.Name))->geometry()))
        << b.Control.Name;
  for (const TLabelDef& l : screen.Def().Labels)
    EXPECT_TRUE(picture.contains(screen.Label(QLatin1String(l.Name))->geometry())) << l.Name;
}

// Every control takes its own field of the record and writes back only that one: a distinct
// value per control survives a save into the file and a reload on another screen.
TEST_F(Frm1099MISCTest, EveryBoxRoundTripsThroughThePayeeRecord) {
  OpenTwo();
  {
    TFrm1099MISC screen;
    ShowActive(screen);
    double value = 1.25;
    for (const char* box : kMoneyBoxes) {
      Money(screen, box)->SetValue(value);
      value += 1000;
    }
    for (const char* check : {"Corrected", "F1099MISC7", "FATCA", "SecTINnot"})
      Check(screen, check)->SetChecked(true);
    auto* acct = qobject_cast<TFilterEdit*>(screen.Control("AcctNum1099MISC"));
    acct->setFocus();
    QTest::keyClicks(acct, "ab-12/x");  // upper case, only letters, digits and dashes
    EXPECT_EQ(acct->text(), QStringLiteral("AB-12X"));
    EXPECT_EQ(acct->maxLength(), 25);
    screen.ValidateForm();
    screen.FormClose();
  }
  const TPayeeRecord disk = PayeesOnDisk()[0];
  double value = 1.25;
  for (const char* box : kMoneyBoxes) {
    EXPECT_DOUBLE_EQ(disk.GetDouble(box), value) << box;
    value += 1000;
  }
  EXPECT_TRUE(disk.GetBool("Corrected1099MISC"));
  EXPECT_TRUE(disk.GetBool("F1099MISC7"));
  EXPECT_TRUE(disk.GetBool("FATCA1099MISC"));
  EXPECT_TRUE(disk.GetBool("SecTINnot1099MISC"));
  EXPECT_EQ(disk.GetString("AcctNum1099MISC"), QStringLiteral("AB-12X"));
  // Nothing of another form, and the unused bytes of the block, is touched.
  EXPECT_DOUBLE_EQ(disk.GetDouble("F1099NEC1"), 0);
  for (int at : {1097, 1103, 1144, 1151}) EXPECT_EQ(disk.Data()[at], 0) << at;
  TFrm1099MISC again;
  value = 1.25;
  for (const char* box : kMoneyBoxes) {
    EXPECT_DOUBLE_EQ(Money(again, box)->Value(), value) << box;
    value += 1000;
  }
  EXPECT_TRUE(Check(again, "FATCA")->Checked());
  EXPECT_TRUE(Check(again, "SecTINnot")->Checked());
  EXPECT_EQ(qobject_cast<QLineEdit*>(again.Control("AcctNum1099MISC"))->text(), "AB-12X");
}

TEST_F(Frm1099MISCTest, EnterWalksTheBoxesInTabOrder) {
  OpenTwo();
  TFrm1099MISC screen;
  ShowActive(screen);
  screen.Control("F1099MISC1")->setFocus();
  EXPECT_EQ(PressEnter(19),
            QStringList({"F1099MISC1",      "F1099MISC2",  "F1099MISC3",    "F1099MISC4",
                         "F1099MISC5",      "F1099MISC6",  "F1099MISC7",    "F1099MISC8",
                         "F1099MISC9",      "F1099MISC10", "F1099MISC11",   "F1099MISC12",
                         "AcctNum1099MISC", "FATCA",       "F1099MISC15",   "F1099MISC16_1",
                         "F1099MISC18_1",   "SecTINnot",   "F1099MISC16_2", "F1099MISC18_2"}));
  EXPECT_EQ(screen.Control("Corrected")->focusPolicy(), Qt::ClickFocus);
  EXPECT_EQ(QApplication::focusWidget()->palette().color(QPalette::Base),
            TFrmFormScreen::FocusColor);
}

struct TValidationCase {
  const char* Title;
  bool PayerState1, PayerState2;  // the payer has that state line
  double Box16_1, Box18_1, Box16_2, Box18_2;
  QString Message;  // empty: passes
  QString Focus;    // the control that has the focus after the refusal
};

class Frm1099MISCValidationTest : public Frm1099MISCTest,
                                  public ::testing::WithParamInterface<TValidationCase> {};

TEST_P(Frm1099MISCValidationTest, RefusesToLeaveAWrongPayee) {
  const TValidationCase& c = GetParam();
  TPayerRecord payer = SamplePayer();
  if (!c.PayerState1) ClearStateLine(payer, 1);
  if (!c.PayerState2) ClearStateLine(payer, 2);
  OpenTwo(payer);
  TFrm1099MISC screen;
  ShowActive(screen);
  Money(screen, "F1099MISC16_1")->SetValue(c.Box16_1);
  Money(screen, "F1099MISC18_1")->SetValue(c.Box18_1);
  Money(screen, "F1099MISC16_2")->SetValue(c.Box16_2);
  Money(screen, "F1099MISC18_2")->SetValue(c.Box18_2);
  Money(screen, "F1099MISC3")->setFocus();
  MsgBoxScript::Clear();
  screen.RSNavigator->NavBtnNext->click();
  if (c.Message.isEmpty()) {
    ExpectMovedOn();
    EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099MISC18_2"), c.Box18_2);
    return;
  }
  ExpectRefused(c.Message, screen.Control(c.Focus));
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099MISC16_1"), 15);  // nothing written
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099MISC16_2"), 0);
}

const TValidationCase kValidation[] = {
    {"Box16WithoutBox18", true, true, 50, 0, 0, 0,
     "Boxes 17 and 18 must not be blank when there is data in box 16.", "F1099MISC18_1"},
    {"Box16WithoutPayerState", false, true, 50, 900, 0, 0,
     "Boxes 17 and 18 must not be blank when there is data in box 16.", "F1099MISC18_1"},
    {"Box18WithoutPayerState", false, true, 0, 900, 0, 0,
     "Box 17 must be completed when there is data in box 18.", "F1099MISC3"},
    {"SecondLineBox16WithoutBox18", true, true, 0, 0, 10, 0,
     "Boxes 17 and 18 must not be blank when there is data in box 16.", "F1099MISC18_2"},
    {"SecondLineBox18WithoutPayerState", true, false, 0, 0, 0, 900,
     "Box 17 must not be blank when there is data in box 18.", "F1099MISC3"},
    {"FirstLineIsCheckedFirst", false, false, 0, 900, 10, 0,
     "Box 17 must be completed when there is data in box 18.", "F1099MISC3"},
    {"BothLinesFilled", true, true, 10, 100, 20, 200, "", ""},
    {"EmptyStateBoxesPassWithoutPayerStates", false, false, 0, 0, 0, 0, "", ""},
};

INSTANTIATE_TEST_SUITE_P(StateLines, Frm1099MISCValidationTest, ::testing::ValuesIn(kValidation),
                         [](const auto& info) { return std::string(info.param.Title); });

TEST_F(Frm1099MISCTest, HelpOpensTheInstructionsOrSaysTheyAreMissing) {
  OpenTwo();
  TFrm1099MISC screen;
  ExpectHelpOpensTheInstructions(screen, QStringLiteral("The IRS Instructions cannot be found"),
                                 QStringLiteral("i1099misc25.pdf"));
}

// State income alone (box 18) files no 1099-MISC, and the message has no full stop on this
// screen.
TEST_F(Frm1099MISCTest, PrintRefusesWithoutFormsBeforeAnyDialog) {
  TPayeeRecord only = SamplePayee(QStringLiteral("Only"), QStringLiteral("123-45-6788"), 500);
  only.SetDouble("F1099MISC18_1", 800);  // state income alone files no form
  OpenPayerFile(SamplePayer(), {only});
  TFrm1099MISC screen;
  ShowActive(screen);
  ExpectPrintRefused(screen, QStringLiteral("There are no forms available for printing"));
  EXPECT_EQ(QApplication::activeModalWidget(), &screen);
}
}  // namespace
