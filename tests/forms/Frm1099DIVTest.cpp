// The 1099-DIV screen: what it shows on opening (the state boxes from the payer), every box
// written to and read back from the payee record, the six checks that keep the dividend boxes
// consistent (message, focus, order, nothing written), the help text and the print command.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "controls/CheckBoxEdit.h"
#include "controls/DollarEdit.h"
#include "controls/RSNavigator.h"
#include "engine/ReportSystem.h"
#include "engine/Snapshot.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "storage/Globals.h"

namespace {
class Frm1099DIVTest : public TFormsTest {
 protected:
  // Record order Zimmer, Adams.
  void OpenTwo(const TPayerRecord& payer = SamplePayer()) {
    TPayeeRecord zimmer =
        SamplePayee(QStringLiteral("Zimmer, Paul"), QStringLiteral("123-45-6788"), 0);
    zimmer.SetDouble("F1099DIV1a", 500);
    zimmer.SetDouble("F1099DIV1b", 400);
    TPayeeRecord adams = SamplePayee(QStringLiteral("Adams & Co"), QStringLiteral("98-7654321"), 0);
    adams.SetString("CompName", QStringLiteral("Adams Trust"));
    OpenPayerFile(payer, {zimmer, adams});
  }
};

TEST_F(Frm1099DIVTest, OpeningShowsTheStateBoxesFromThePayer) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("StateID2", QStringLiteral("W&9"));
  OpenTwo(payer);
  Module->RSPayee->SetCurrentRecord(2);
  TFrm1099DIV screen;
  EXPECT_EQ(screen.windowTitle(), QStringLiteral("Form 1099-DIV Dividends and Distributions"));
  EXPECT_EQ(CurrentFormType, ft1099DIV);
  EXPECT_EQ(Label(screen, "StateName1_1"), QStringLiteral("IL"));
  EXPECT_EQ(Label(screen, "StateName1_2"), QStringLiteral("WI"));
  EXPECT_EQ(Label(screen, "StateID2_1"), QStringLiteral("1234-5678"));
  EXPECT_EQ(Label(screen, "StateID2_2"), QStringLiteral("W&&9"));
  for (const char* name : {"StateName1_1", "StateName1_2", "StateID2_1", "StateID2_2"}) {
    EXPECT_FALSE(screen.Label(QLatin1String(name))->font().bold()) << name;
    EXPECT_TRUE(screen.Label(QLatin1String(name))->alignment() & Qt::AlignHCenter) << name;
  }
  EXPECT_EQ(Label(screen, "Lbl2ndTINnot"), QStringLiteral("2nd TIN not."));
  EXPECT_EQ(Label(screen, "PayeeName"), QStringLiteral("Adams && Co"));
  EXPECT_EQ(Label(screen, "PayeeCompName"), QStringLiteral("Adams Trust"));
  EXPECT_EQ(Label(screen, "TradeName"), QStringLiteral("Acme Builders"));
  EXPECT_EQ(screen.findChild<QLabel*>("LblCalendarYear")->text(), QStringLiteral("2025"));
  EXPECT_NE(screen.findChild<QLabel*>("Form1099DIV"), nullptr);  // the picture of the form
}

// Every box control takes its field and gives it back: moving away writes the payee's bytes,
// coming back shows them; texts are cut to their fields and the account number is upper case.
TEST_F(Frm1099DIVTest, EveryBoxRoundTripsThroughThePayeeRecord) {
  OpenTwo();
  TFrm1099DIV screen;
  ShowActive(screen);
  const QStringList money = {"1a", "1b", "2a", "2b", "2c", "2d", "2e", "2f",   "3",   "4",
                             "5",  "6",  "7",  "9",  "10", "12", "13", "16_1", "16_2"};
  // Values that pass the checks: 1a holds 1b, 2e and 5; 2a holds 2b, 2c, 2d and 2f.
  const double values[] = {900000000.99, 10.01,  500,    20.02,  30.03, 40.04,  50.05,
                           60.06,        70.07,  80.08,  90.09,  100.1, 110.11, 120.12,
                           130.13,       140.14, 150.15, 160.16, 170.17};
  for (qsizetype i = 0; i < money.size(); ++i)
    Money(screen, QStringLiteral("F1099DIV") + money[i])->SetValue(values[i]);
  Edit(screen, "F1099DIV8")->setText(QStringLiteral("Netherlands Antilles"));
  QTest::keyClicks(Edit(screen, "AcctNum1099DIV"), QStringLiteral("ab-12"));
  for (const char* flag : {"Corrected", "FATCA", "SecTINnot"})
    Check(screen, flag)->SetChecked(true);
  screen.RSNavigator->BtnClick(nbNext);
  ASSERT_EQ(Module->RSPayee->CurrentRecord(), 2);
  for (const QString& box : money) EXPECT_EQ(Money(screen, "F1099DIV" + box)->Value(), 0);
  EXPECT_FALSE(Check(screen, "FATCA")->Checked());

  const TPayeeRecord disk = PayeesOnDisk()[0];
  for (qsizetype i = 0; i < money.size(); ++i)
    EXPECT_DOUBLE_EQ(disk.GetDouble(("F1099DIV" + money[i]).toStdString()), values[i])
        << money[i].toStdString();
  EXPECT_EQ(disk.GetString("F1099DIV8"), QStringLiteral("Netherlands "));
  EXPECT_EQ(disk.GetString("AcctNum1099DIV"), QStringLiteral("AB-12"));
  for (const char* flag : {"Corrected1099DIV", "FATCA1099DIV", "SecTINnot1099DIV"})
    EXPECT_TRUE(disk.GetBool(flag)) << flag;
  // Nothing beyond the form's own fields changes.
  TPayeeRecord expected = disk;
  screen.RSNavigator->BtnClick(nbPrior);
  for (qsizetype i = 0; i < money.size(); ++i)
    EXPECT_DOUBLE_EQ(Money(screen, "F1099DIV" + money[i])->Value(), values[i]);
  EXPECT_EQ(Edit(screen, "F1099DIV8")->text(), QStringLiteral("Netherlands "));
  EXPECT_EQ(Edit(screen, "AcctNum1099DIV")->text(), QStringLiteral("AB-12"));
  for (const char* flag : {"Corrected", "FATCA", "SecTINnot"})
    EXPECT_TRUE(Check(screen, flag)->Checked());
  screen.RSNavigator->BtnClick(nbNext);
  EXPECT_EQ(Bytes(PayeesOnDisk()[0]), Bytes(expected));
}

TEST_F(Frm1099DIVTest, EnterWalksTheBoxesInTabOrder) {
  OpenTwo();
  TFrm1099DIV screen;
  ShowActive(screen);
  screen.Control(QStringLiteral("F1099DIV1a"))->setFocus();
  EXPECT_EQ(
      PressEnter(22),
      QStringList({"F1099DIV1a", "F1099DIV1b",   "F1099DIV2a",  "F1099DIV2b", "F1099DIV2c",
                   "F1099DIV2d", "F1099DIV2e",   "F1099DIV2f",  "F1099DIV3",  "F1099DIV4",
                   "F1099DIV5",  "F1099DIV6",    "F1099DIV7",   "F1099DIV8",  "F1099DIV9",
                   "F1099DIV10", "FATCA",        "F1099DIV12",  "F1099DIV13", "AcctNum1099DIV",
                   "SecTINnot",  "F1099DIV16_1", "F1099DIV16_2"}));
  EXPECT_EQ(screen.Control("Corrected")->focusPolicy(), Qt::ClickFocus);
  EXPECT_EQ(Edit(screen, "F1099DIV8")->maxLength(), 12);
}

// The boxes come from the report's layout: each sits on the picture, and no box control shares
// its place with another or with a label (the payer's lines, a little taller than their
// spacing, may touch one another).
TEST_F(Frm1099DIVTest, BoxesSitOnThePictureWithoutOverlapping) {
  OpenTwo();
  TFrm1099DIV screen;
  const QWidget* picture = screen.findChild<QLabel*>("Form1099DIV");
  ASSERT_NE(picture, nullptr);
  QList<const QWidget*> placed;
  for (const TBoxDef& b : Form1099DIVDef().Boxes)
    placed << screen.Control(QLatin1String(b.Control.Name));
  const qsizetype controls = placed.size();
  for (const TLabelDef& l : Form1099DIVDef().Labels) placed << screen.Label(QLatin1String(l.Name));
  for (qsizetype i = 0; i < placed.size(); ++i) {
    SCOPED_TRACE(placed[i]->objectName().toStdString());
    EXPECT_EQ(placed[i]->parentWidget(), picture);
    EXPECT_TRUE(picture->rect().contains(placed[i]->geometry()));
    for (qsizetype j = i + 1; j < placed.size() && i < controls; ++j)
      EXPECT_FALSE(placed[i]->geometry().intersects(placed[j]->geometry()))
          << placed[j]->objectName().toStdString();
  }
}

struct TValidationCase {
  const char* Title;
  QList<QPair<QString, double>> Boxes;  // money boxes set before the move
  QString Box8;
  QString Message;  // empty: passes
  QString Focus;
};

class Frm1099DIVValidationTest : public Frm1099DIVTest,
                                 public ::testing::WithParamInterface<TValidationCase> {};

TEST_P(Frm1099DIVValidationTest, RefusesToLeaveAWrongPayee) {
  const TValidationCase& c = GetParam();
  OpenTwo();
  TFrm1099DIV screen;
  ShowActive(screen);
  Money(screen, QStringLiteral("F1099DIV1a"))->SetValue(0);
  Money(screen, QStringLiteral("F1099DIV1b"))->SetValue(0);
  for (const auto& [box, value] : c.Boxes) Money(screen, box)->SetValue(value);
  Edit(screen, "F1099DIV8")->setText(c.Box8);
  Money(screen, QStringLiteral("F1099DIV13"))->setFocus();
  MsgBoxScript::Clear();
  screen.RSNavigator->NavBtnNext->click();
  if (c.Message.isEmpty()) {
    ExpectMovedOn();
    return;
  }
  // The error box ends the message with a full stop.
  ExpectRefused(c.Message + QLatin1Char('.'), screen.Control(c.Focus));
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099DIV1a"), 500);  // nothing written
}

const QString k1b = "Value of Box 1b cannot be greater than the value of Box 1a";
const QString k2a =
    "Value of Box 2a must not be less than the sum Value of boxes 2b, 2c, 2d and 2f";
const QString k2e = "Value of box 2e cannot be greater than th value of box 1a";
const QString k5 = "Value of Box 5 cannot be greater than the value of Box 1a";
const QString k7 = "If you enter an amount in box 7, you must complete box 8";
const QString k8 = "If you complete box 8, you must enter an amount in box 7";

const TValidationCase kValidation[] = {
    {"Box1bAboveBox1a", {{"F1099DIV1a", 100}, {"F1099DIV1b", 100.01}}, "", k1b, "F1099DIV1b"},
    {"Box1bEqualToBox1a", {{"F1099DIV1a", 100}, {"F1099DIV1b", 100}}, "", "", ""},
    {"Box2bWithoutBox2a", {{"F1099DIV2b", 1}}, "", k2a, "F1099DIV2a"},
    {"PartsOfBox2aAboveIt",
     {{"F1099DIV2a", 10},
      {"F1099DIV2b", 2.5},
      {"F1099DIV2c", 2.5},
      {"F1099DIV2d", 2.5},
      {"F1099DIV2f", 2.51}},
     "",
     k2a,
     "F1099DIV2a"},
    // 0.10 + 0.20 is more than 0.30 in binary fractions, not in cents.
    {"PartsOfBox2aEqualToItInCents",
     {{"F1099DIV2a", 0.3}, {"F1099DIV2b", 0.1}, {"F1099DIV2c", 0.2}},
     "",
     "",
     ""},
    {"Box2eIsNoPartOfBox2a", {{"F1099DIV1a", 10}, {"F1099DIV2e", 5}}, "", "", ""},
    {"Box2eAboveBox1a", {{"F1099DIV1a", 10}, {"F1099DIV2e", 10.01}}, "", k2e, "F1099DIV2e"},
    {"Box5WithoutBox1a", {{"F1099DIV5", 10}}, "", k5, "F1099DIV5"},
    {"Box7WithoutCountry", {{"F1099DIV7", 4}}, "  ", k7, "F1099DIV8"},
    {"CountryWithoutBox7", {}, "France", k8, "F1099DIV7"},
    {"Box7WithCountry", {{"F1099DIV7", 4}}, "France", "", ""},
    // The checks run in their order: the first that fails speaks.
    {"Box1bBeforeBox7", {{"F1099DIV1b", 1}, {"F1099DIV7", 4}}, "", k1b, "F1099DIV1b"},
    {"Box2eBeforeBox5", {{"F1099DIV2e", 1}, {"F1099DIV5", 1}}, "", k2e, "F1099DIV2e"},
    {"Box5BeforeBox8", {{"F1099DIV5", 1}}, "France", k5, "F1099DIV5"},
};

INSTANTIATE_TEST_SUITE_P(DividendBoxes, Frm1099DIVValidationTest, ::testing::ValuesIn(kValidation),
                         [](const auto& info) { return std::string(info.param.Title); });

TEST_F(Frm1099DIVTest, ClosingWithAWrongBoxStaysOpenUntilCorrected) {
  OpenTwo();
  TFrm1099DIV screen;
  ShowActive(screen);
  Money(screen, QStringLiteral("F1099DIV1b"))->SetValue(600);
  MsgBoxScript::Clear();
  screen.BtnClose->click();
  EXPECT_TRUE(screen.isVisible());
  EXPECT_EQ(MsgBoxScript::LastText(), k1b + QLatin1Char('.'));
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099DIV1b"), 400);
  Money(screen, QStringLiteral("F1099DIV1a"))->SetValue(600);
  QTest::keyClick(&screen, Qt::Key_Escape);
  EXPECT_FALSE(screen.isVisible());
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099DIV1b"), 600);
}

TEST_F(Frm1099DIVTest, HelpOpensTheInstructionsOrSaysTheyAreMissing) {
  OpenTwo();
  TFrm1099DIV screen;
  ExpectHelpOpensTheInstructions(screen, QStringLiteral("The IRS Instructions cannot no be found"),
                                 QStringLiteral("i1099div24.pdf"));
}

// A payee with only box 4 (tax withheld) files a form, so Print goes on to the print type choice;
// without any the command stops before it, with its message.
TEST_F(Frm1099DIVTest, PrintCountsTaxWithheldAndRefusesWithoutForms) {
  TPayeeRecord only = SamplePayee(QStringLiteral("Only"), QStringLiteral("123-45-6788"), 500);
  OpenPayerFile(SamplePayer(), {only});
  TFrm1099DIV screen;
  ShowActive(screen);
  ExpectPrintRefused(screen, QStringLiteral("There are no forms available for printing"));
  Money(screen, QStringLiteral("F1099DIV4"))->SetValue(12.5);
  PrintToFile(*screen.ReportSystem, QStringLiteral("div.snp"));
  QString caption;
  WhenModal([&](QWidget* w) {
    caption = w->windowTitle();
    Child<QPushButton>(w, QStringLiteral("BtnOk"))->click();
  });
  MsgBoxScript::Clear();
  screen.BtnPrint->click();
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty()) << MsgBoxScript::LastText().toStdString();
  EXPECT_EQ(caption, QStringLiteral("Form 1099-DIV"));
  const TReportJob job = LoadSnapshot(screen.ReportSystem->Setup.FileName);
  ASSERT_EQ(job.PageCount(), 1);
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("12.50")).size(), 1);
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("1099-DIV")).size(), 1);
}
}  // namespace
