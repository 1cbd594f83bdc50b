// The 1099-S screen: its one-line filer block, the date of closing checked against the tax year
// before a payee is left (and only for a payee with something on this form), every box through
// the payee record and back, Enter through the boxes, help and the print refusal.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "controls/CheckBoxEdit.h"
#include "controls/DateEdit.h"
#include "controls/DollarEdit.h"
#include "controls/RSNavigator.h"
#include "platform/MsgBox.h"
#include "storage/Globals.h"

namespace {
class Frm1099STest : public TFormsTest {
 protected:
  // Record order Young (a sale), Adams (a sale, two name lines), Baker (nothing on this form).
  void OpenThree(const TPayerRecord& payer = SamplePayer()) {
    TPayeeRecord young =
        SalePayee(QStringLiteral("Young, Ann"), QStringLiteral("123-45-6788"), 250000);
    young.SetString("F1099S3_1", QStringLiteral("17 Lake Road"));
    TPayeeRecord adams =
        SalePayee(QStringLiteral("Adams & Co"), QStringLiteral("98-7654321"), 480000);
    adams.SetString("CompName", QStringLiteral("Adams Holdings"));
    adams.SetBool("Corrected1099S", true);
    adams.SetString("AcctNum1099S", QStringLiteral("ESC-9"));
    TPayeeRecord baker =
        SamplePayee(QStringLiteral("Baker, Bob"), QStringLiteral("345-67-8901"), 0);
    OpenPayerFile(payer, {young, adams, baker});
  }
  static TDateEdit* Date(TFrm1099S& s) {
    return qobject_cast<TDateEdit*>(s.Control(QStringLiteral("F1099S1")));
  }
};

TEST_F(Frm1099STest, OpeningShowsTheFilerOnOneNameLineAndTheTransferor) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("PayerName", QStringLiteral("Smith & Sons Title"));
  OpenThree(payer);
  Module->RSPayee->SetCurrentRecord(2);
  TFrm1099S screen;
  EXPECT_EQ(screen.windowTitle(),
            QStringLiteral("Form 1099-S Proceeds From Real Estate Transactions"));
  EXPECT_EQ(screen.objectName(), QStringLiteral("Frm1099S"));
  EXPECT_EQ(CurrentFormType, ft1099S);
  // The trade name has no line on this form, whether or not the payer has one.
  EXPECT_EQ(Label(screen, "PayerName"), QStringLiteral("Smith && Sons Title"));
  EXPECT_EQ(screen.Label(QStringLiteral("TradeName")), nullptr);
  EXPECT_EQ(screen.findChild<QLabel*>(QStringLiteral("TradeName")), nullptr);
  EXPECT_EQ(Label(screen, "Address"), QStringLiteral("1234 Industrial Pkwy Suite 200"));
  EXPECT_EQ(Label(screen, "EmpIDNum"), QStringLiteral("12-3456789"));
  EXPECT_EQ(Label(screen, "SSN_IDNum"), QStringLiteral("98-7654321"));
  EXPECT_EQ(Label(screen, "PayeeName"), QStringLiteral("Adams && Co"));
  EXPECT_EQ(Label(screen, "PayeeCompName"), QStringLiteral("Adams Holdings"));
  EXPECT_EQ(Date(screen)->text(), QStringLiteral("06/15/2025"));
  EXPECT_DOUBLE_EQ(Money(screen, "F1099S2")->Value(), 480000);
  EXPECT_TRUE(qobject_cast<TCheckBoxEdit*>(screen.Control("Corrected"))->Checked());
  EXPECT_EQ(qobject_cast<QLineEdit*>(screen.Control("AcctNum1099S"))->text(), "ESC-9");
  EXPECT_EQ(screen.findChild<QLabel*>("LblCalendarYear")->text(), QStringLiteral("2025"));
}

struct TDateCase {
  const char* Title;
  const char* Date;  // typed into box 1
  double Proceeds;   // box 2
  QString Message;   // empty: the payee is written and the next one shown
};

class Frm1099SDateTest : public Frm1099STest, public ::testing::WithParamInterface<TDateCase> {};

TEST_P(Frm1099SDateTest, DateOfClosingMustLieInTheTaxYear) {
  const TDateCase& c = GetParam();
  OpenThree();
  TFrm1099S screen;
  ShowActive(screen);
  Date(screen)->setText(QLatin1String(c.Date));
  Money(screen, "F1099S2")->SetValue(c.Proceeds);
  Money(screen, "F1099S6")->setFocus();
  MsgBoxScript::Clear();
  screen.RSNavigator->NavBtnNext->click();
  if (c.Message.isEmpty()) {
    ExpectMovedOn();
    EXPECT_EQ(PayeesOnDisk()[0].GetString("F1099S1"), QLatin1String(c.Date));
    return;
  }
  ExpectRefused(c.Message, Date(screen));
  EXPECT_EQ(PayeesOnDisk()[0].GetString("F1099S1"), QStringLiteral("06/15/2025"));  // unwritten
}

const TDateCase kDates[] = {
    {"LastDayOfTheYear", "12/31/2025", 1000, ""},
    {"FirstDayOfTheYear", "01/01/2025", 1000, ""},
    {"NextYear", "01/01/2026", 1000,
     "Date of closing must be within calendar year 2025.\nYou entered \"01/01/2026\"; type a date "
     "from 01/01/2025 to 12/31/2025."},
    {"PriorYear", "12/31/2024", 1000,
     "Date of closing must be within calendar year 2025.\nYou entered \"12/31/2024\"; type a date "
     "from 01/01/2025 to 12/31/2025."},
    {"OutsideTheYearWithoutProceeds", "07/04/2024", 0,
     "Date of closing must be within calendar year 2025.\nYou entered \"07/04/2024\"; type a date "
     "from 01/01/2025 to 12/31/2025."},
    {"EmptyDate", "", 1000,
     "Date of closing is invalid.\nType it as mm/dd/yyyy, such as 03/15/2025."},
    {"NoSuchDay", "02/29/2025", 1000,
     "Date of closing is invalid.\nYou entered \"02/29/2025\"; type it as mm/dd/yyyy, such as "
     "03/15/2025."},
    {"PartOfADate", "06/15/20", 1000,
     "Date of closing is invalid.\nYou entered \"06/15/20\"; type it as mm/dd/yyyy, such as "
     "03/15/2025."},
};

INSTANTIATE_TEST_SUITE_P(Box1, Frm1099SDateTest, ::testing::ValuesIn(kDates),
                         [](const auto& info) { return std::string(info.param.Title); });

// A payee who sold nothing needs no date of closing to be left, closed or printed around; as
// soon as anything is put on the form, the date is asked for.
TEST_F(Frm1099STest, PayeeWithNothingOnThisFormNeedsNoDate) {
  OpenThree();
  Module->RSPayee->SetCurrentRecord(3);  // Baker
  TFrm1099S screen;
  ShowActive(screen);
  EXPECT_EQ(Date(screen)->text(), TDateEdit::EmptyText());
  MsgBoxScript::Clear();
  screen.RSNavigator->NavBtnPrior->click();
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty()) << MsgBoxScript::LastText().toStdString();
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 2);
  screen.RSNavigator->NavBtnLast->click();
  qobject_cast<TCheckBoxEdit*>(screen.Control("F1099S5"))->SetChecked(true);
  Money(screen, "F1099S6")->setFocus();
  screen.RSNavigator->NavBtnPrior->click();
  EXPECT_EQ(
      MsgBoxScript::LastText(),
      QStringLiteral("Date of closing is invalid.\nType it as mm/dd/yyyy, such as 03/15/2025."));
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
  EXPECT_EQ(QApplication::focusWidget(), Date(screen));
  EXPECT_FALSE(PayeesOnDisk()[2].GetBool("F1099S5"));
}

TEST_F(Frm1099STest, EveryBoxGoesToThePayeeRecordAndBack) {
  OpenThree();
  Module->RSPayee->SetCurrentRecord(3);
  TFrm1099S screen;
  ShowActive(screen);
  qobject_cast<TCheckBoxEdit*>(screen.Control("Corrected"))->SetChecked(true);
  Date(screen)->setText(QStringLiteral("03/31/2025"));
  Money(screen, "F1099S2")->SetValue(999999999.99);
  Type(screen.Control("F1099S3_1"),
       QStringLiteral("1234 Lakeside Drive Unit 5B East"));  // 33 characters
  Type(screen.Control("F1099S3_2"), QStringLiteral("Springfield IL 62704"));
  Type(screen.Control("F1099S3_3"), QStringLiteral("Parcel 14-22-301-017"));
  Type(screen.Control("AcctNum1099S"), QStringLiteral("esc-2025/17"));
  qobject_cast<TCheckBoxEdit*>(screen.Control("F1099S4"))->SetChecked(true);
  qobject_cast<TCheckBoxEdit*>(screen.Control("F1099S5"))->SetChecked(true);
  Money(screen, "F1099S6")->SetValue(1500.25);
  screen.RSNavigator->BtnClick(nbFirst);
  ASSERT_EQ(Module->RSPayee->CurrentRecord(), 1);

  const TPayeeRecord disk = PayeesOnDisk()[2];
  EXPECT_TRUE(disk.GetBool("Corrected1099S"));
  EXPECT_EQ(disk.GetString("F1099S1"), QStringLiteral("03/31/2025"));
  EXPECT_DOUBLE_EQ(disk.GetDouble("F1099S2"), 999999999.99);
  EXPECT_EQ(disk.GetString("F1099S3_1"), QStringLiteral("1234 Lakeside Drive Unit "));
  EXPECT_EQ(disk.GetString("F1099S3_2"), QStringLiteral("Springfield IL 62704"));
  EXPECT_EQ(disk.GetString("F1099S3_3"), QStringLiteral("Parcel 14-22-301-017"));
  EXPECT_EQ(disk.GetString("AcctNum1099S"), QStringLiteral("ESC-202517"));
  EXPECT_TRUE(disk.GetBool("F1099S4"));
  EXPECT_TRUE(disk.GetBool("F1099S5"));
  EXPECT_DOUBLE_EQ(disk.GetDouble("F1099S6"), 1500.25);

  screen.RSNavigator->BtnClick(nbLast);
  EXPECT_TRUE(qobject_cast<TCheckBoxEdit*>(screen.Control("Corrected"))->Checked());
  EXPECT_EQ(Date(screen)->text(), QStringLiteral("03/31/2025"));
  EXPECT_DOUBLE_EQ(Money(screen, "F1099S2")->Value(), 999999999.99);
  EXPECT_EQ(qobject_cast<QLineEdit*>(screen.Control("F1099S3_1"))->text(),
            QStringLiteral("1234 Lakeside Drive Unit "));
  EXPECT_EQ(qobject_cast<QLineEdit*>(screen.Control("AcctNum1099S"))->text(),
            QStringLiteral("ESC-202517"));
  EXPECT_TRUE(qobject_cast<TCheckBoxEdit*>(screen.Control("F1099S5"))->Checked());
  EXPECT_DOUBLE_EQ(Money(screen, "F1099S6")->Value(), 1500.25);
}

TEST_F(Frm1099STest, ClosingWithADateOutsideTheYearStaysOpenUntilCorrected) {
  OpenThree();
  TFrm1099S screen;
  ShowActive(screen);
  Date(screen)->setText(QStringLiteral("01/02/2026"));
  MsgBoxScript::Clear();
  screen.BtnClose->click();
  EXPECT_TRUE(screen.isVisible());
  EXPECT_EQ(MsgBoxScript::LastText(),
            QStringLiteral("Date of closing must be within calendar year 2025.\nYou entered "
                           "\"01/02/2026\"; type a date from 01/01/2025 to 12/31/2025."));
  Date(screen)->setText(QStringLiteral("12/30/2025"));
  QTest::keyClick(&screen, Qt::Key_Escape);
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(PayeesOnDisk()[0].GetString("F1099S1"), QStringLiteral("12/30/2025"));
}

TEST_F(Frm1099STest, EnterWalksTheBoxesInTabOrder) {
  OpenThree();
  TFrm1099S screen;
  ShowActive(screen);
  QWidget* first = Date(screen);
  first->setFocus();
  EXPECT_EQ(first->palette().color(QPalette::Base), TFrmFormScreen::FocusColor);
  EXPECT_EQ(PressEnter(8), QStringList({"F1099S1", "F1099S2", "F1099S3_1", "F1099S3_2", "F1099S3_3",
                                        "F1099S4", "F1099S5", "AcctNum1099S", "F1099S6"}));
  EXPECT_EQ(screen.Control("Corrected")->focusPolicy(), Qt::ClickFocus);
}

TEST_F(Frm1099STest, HelpOpensTheInstructionsOrSaysTheyAreMissing) {
  OpenThree();
  TFrm1099S screen;
  ExpectHelpOpensTheInstructions(screen, QStringLiteral("The IRS Instructions cannot no be found"),
                                 QStringLiteral("i1099s25.pdf"));
}

TEST_F(Frm1099STest, PrintRefusesWithoutSalesAndReadsItsOwnOffsets) {
  WriteOffsets(QStringLiteral("F1099S"), 0.125, -0.0625);
  OpenPayerFile(SamplePayer(),
                {SamplePayee(QStringLiteral("Only"), QStringLiteral("123-45-6788"), 500)});
  TFrm1099S screen;
  ShowActive(screen);
  EXPECT_EQ(screen.Offsets().VO, 0.125);
  EXPECT_EQ(screen.Offsets().HO, -0.0625);
  ExpectPrintRefused(screen, QStringLiteral("There are no forms available for printing"));
}
}  // namespace
