// The 1098 screen: the lender in the RECIPIENT'S/LENDER'S block and the borrower in the
// PAYER'S/BORROWER'S block, every box written to the payee record and read back, the mortgage
// checks with their messages and focus, the tab order, help and the print command's refusal.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
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
class Frm1098Test : public TFormsTest {
 protected:
  // Record order Young (no Form 1098), Baker.
  void OpenTwo() {
    TPayeeRecord young =
        SamplePayee(QStringLiteral("Young, Amy"), QStringLiteral("123-45-6788"), 0);
    TPayeeRecord baker =
        SampleBorrower(QStringLiteral("Baker & Baker"), QStringLiteral("345-67-8901"), 8123.45);
    baker.SetString("CompName", QStringLiteral("Joint Borrower"));
    baker.SetString("F1098_11", QStringLiteral("07/01/2021"));
    baker.SetInt("F1098_9", 12);
    baker.SetString("AcctNum1098", QStringLiteral("LN-7"));
    OpenPayerFile(SamplePayer(), {young, baker});
  }
};

TEST_F(Frm1098Test, OpeningShowsLenderBorrowerAndBoxes) {
  OpenTwo();
  Module->RSPayee->SetCurrentRecord(2);
  TFrm1098 screen;
  EXPECT_EQ(screen.windowTitle(), QStringLiteral("Form 1098 Mortgage Interest Statement"));
  EXPECT_EQ(CurrentFormType, ft1098);
  // The lender's block.
  EXPECT_EQ(Label(screen, "PayerName"), QStringLiteral("Acme Supply"));
  EXPECT_EQ(Label(screen, "TradeName"), QStringLiteral("Acme Builders"));
  EXPECT_EQ(Label(screen, "Address"), QStringLiteral("1234 Industrial Pkwy Suite 200"));
  EXPECT_EQ(Label(screen, "EmpIDNum"), QStringLiteral("12-3456789"));
  // The borrower's block.
  EXPECT_EQ(Label(screen, "SSN_IDNum"), QStringLiteral("345-67-8901"));
  EXPECT_EQ(Label(screen, "PayeeName"), QStringLiteral("Baker && Baker"));
  EXPECT_EQ(Label(screen, "PayeeCompName"), QStringLiteral("Joint Borrower"));
  EXPECT_EQ(Label(screen, "PayeeAddress2"), QStringLiteral("Decatur, IL 62521"));
  EXPECT_EQ(screen.findChild<QLabel*>("LblCalendarYear")->text(), QStringLiteral("2025"));
  EXPECT_DOUBLE_EQ(Money(screen, "F1098_1")->Value(), 8123.45);
  EXPECT_EQ(Date(screen, "F1098_3")->text(), QStringLiteral("03/15/2019"));
  EXPECT_EQ(Date(screen, "F1098_11")->text(), QStringLiteral("07/01/2021"));
  EXPECT_TRUE(Check(screen, "F1098_7")->Checked());
  EXPECT_EQ(Edit(screen, "F1098_9")->text(), QStringLiteral("12"));
  EXPECT_EQ(Edit(screen, "AcctNum1098")->text(), QStringLiteral("LN-7"));
  // The common labels sit in the lender's and borrower's boxes of the face: the lender's name
  // above the borrower's, the borrower's TIN right of the lender's.
  EXPECT_LT(screen.Label("TradeName")->y(), screen.Label("PayeeCompName")->y());
  EXPECT_LT(screen.Label("EmpIDNum")->x(), screen.Label("SSN_IDNum")->x());
  EXPECT_EQ(screen.Label("EmpIDNum")->y(), screen.Label("SSN_IDNum")->y());
}

// A payee without a Form 1098 shows empty boxes: "0" properties and empty date masks.
TEST_F(Frm1098Test, PayeeWithoutAForm1098ShowsEmptyBoxes) {
  OpenTwo();
  TFrm1098 screen;
  EXPECT_EQ(Edit(screen, "F1098_9")->text(), QStringLiteral("0"));
  EXPECT_EQ(Date(screen, "F1098_3")->text(), TDateEdit::EmptyText());
  EXPECT_EQ(Money(screen, "F1098_1")->Value(), 0);
  EXPECT_FALSE(Check(screen, "F1098_7")->Checked());
}

// Every box typed on the screen reaches its bytes in the payee file and comes back on return.
TEST_F(Frm1098Test, EveryBoxRoundTripsThroughThePayeeRecord) {
  OpenTwo();
  TFrm1098 screen;
  ShowActive(screen);
  Check(screen, "Corrected")->SetChecked(true);
  const char* money[] = {"F1098_1", "F1098_2", "F1098_4", "F1098_5", "F1098_6"};
  for (int i = 0; i < 5; ++i) Money(screen, money[i])->SetValue(1000.25 * (i + 1));
  Type(screen.Control("F1098_3"), QStringLiteral("02282020"));
  Check(screen, "F1098_7")->SetChecked(false);
  for (int line = 1; line <= 7; ++line)
    Type(screen.Control(QStringLiteral("F1098_8_%1").arg(line)),
         QStringLiteral("Lot %1, Block b & c").arg(line));
  Type(screen.Control("F1098_9"), QStringLiteral("1x23"));  // digits only, at most 3
  Type(screen.Control("F1098_10"), QStringLiteral("Escrow: $1,250.00 paid"));
  Type(screen.Control("AcctNum1098"), QStringLiteral("ln-2025/7"));  // upper case, no "/"
  Type(screen.Control("F1098_11"), QStringLiteral("11302024"));
  screen.RSNavigator->BtnClick(nbNext);
  ASSERT_EQ(Module->RSPayee->CurrentRecord(), 2);

  const TPayeeRecord disk = PayeesOnDisk()[0];
  EXPECT_TRUE(disk.GetBool("Corrected1098"));
  for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(disk.GetDouble(money[i]), 1000.25 * (i + 1));
  EXPECT_EQ(disk.GetString("F1098_3"), QStringLiteral("02/28/2020"));
  EXPECT_FALSE(disk.GetBool("F1098_7"));
  for (int line = 1; line <= 7; ++line)
    EXPECT_EQ(disk.GetString(QStringLiteral("F1098_8_%1").arg(line).toStdString()),
              QStringLiteral("Lot %1, Block b & c").arg(line));
  EXPECT_EQ(disk.GetInt("F1098_9"), 123);
  EXPECT_EQ(disk.GetString("F1098_10"), QStringLiteral("Escrow: $1,250.00 paid"));
  EXPECT_EQ(disk.GetString("AcctNum1098"), QStringLiteral("LN-20257"));
  EXPECT_EQ(disk.GetString("F1098_11"), QStringLiteral("11/30/2024"));
  // The bytes between the fields stay zero.
  const QByteArray bytes(reinterpret_cast<const char*>(disk.Data()), TPayeeRecord::Size);
  for (int gap : {467, 468, 469, 470, 471, 679, 721, 727}) EXPECT_EQ(bytes[gap], 0) << gap;

  screen.RSNavigator->BtnClick(nbFirst);
  EXPECT_DOUBLE_EQ(Money(screen, "F1098_6")->Value(), 5001.25);
  EXPECT_EQ(Date(screen, "F1098_3")->text(), QStringLiteral("02/28/2020"));
  EXPECT_EQ(Edit(screen, "F1098_8_7")->text(), QStringLiteral("Lot 7, Block b & c"));
  EXPECT_EQ(Edit(screen, "F1098_9")->text(), QStringLiteral("123"));
  EXPECT_EQ(Edit(screen, "AcctNum1098")->text(), QStringLiteral("LN-20257"));
  EXPECT_EQ(Date(screen, "F1098_11")->text(), QStringLiteral("11/30/2024"));
  EXPECT_TRUE(Check(screen, "Corrected")->Checked());
}

struct TValidationCase {
  const char* Title;
  double Box1, Box6;
  const char* Date3;  // typed into box 3 ("" leaves it empty)
  bool Box7;
  int Box8Line;  // the box 8 line filled, 0 none
  const char* Box9;
  const char* Message;  // "" passes
  const char* Focus;
};

class Frm1098ValidationTest : public Frm1098Test,
                              public ::testing::WithParamInterface<TValidationCase> {};

TEST_P(Frm1098ValidationTest, RefusesToLeaveAnIncompleteStatement) {
  const TValidationCase& c = GetParam();
  OpenTwo();
  TFrm1098 screen;
  ShowActive(screen);
  Money(screen, "F1098_1")->SetValue(c.Box1);
  Money(screen, "F1098_6")->SetValue(c.Box6);
  Type(screen.Control("F1098_3"), QLatin1String(c.Date3));
  Check(screen, "F1098_7")->SetChecked(c.Box7);
  if (c.Box8Line)
    Edit(screen, QStringLiteral("F1098_8_%1").arg(c.Box8Line))
        ->setText(QStringLiteral("Parcel 12-44"));
  Edit(screen, "F1098_9")->setText(QLatin1String(c.Box9));
  screen.Control("F1098_2")->setFocus();
  MsgBoxScript::Clear();
  screen.RSNavigator->NavBtnNext->click();
  if (*c.Message == 0) {
    ExpectMovedOn();
    EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1098_6"), c.Box6);
    return;
  }
  // The error display ends the message with a full stop where it has none.
  QString message = QLatin1String(c.Message);
  if (!message.endsWith(QLatin1Char('.'))) message += QLatin1Char('.');
  ExpectRefused(message, screen.Control(QLatin1String(c.Focus)));
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1098_1"), 0);  // nothing written
}

// The check's text, then what was typed (nothing, or half a date) and the form of a date.
constexpr const char* kNoDate =
    "Mortgage origination date is invalid.\nType it as mm/dd/yyyy, such as 03/15/2025.";
constexpr const char* kHalfDate =
    "Mortgage origination date is invalid.\nYou entered \"03/15/\"; type it as mm/dd/yyyy, such as "
    "03/15/2025.";
// Shown on two lines.
constexpr const char* kNoProperty =
    "When box 7 is not checked; you must complete\natleast one line within box 8";
constexpr const char* kNoProperties = "Number of properties securing the mortgage must not be zero";

const TValidationCase kValidation[] = {
    {"NoInterestNorPointsPassesAnything", 0, 0, "", false, 0, "", "", ""},
    {"EmptyOriginationDate", 5000, 0, "", true, 0, "1", kNoDate, "F1098_3"},
    {"HalfTypedOriginationDate", 5000, 0, "0315", true, 0, "1", kHalfDate, "F1098_3"},
    {"PointsAloneAskForTheDate", 0, 250, "", true, 0, "1", kNoDate, "F1098_3"},
    {"NoPropertyAddress", 5000, 0, "03152019", false, 0, "1", kNoProperty, "F1098_8_1"},
    {"LastBox8LineIsEnough", 5000, 0, "03152019", false, 7, "1", "", ""},
    {"EmptyNumberOfProperties", 5000, 0, "03152019", true, 0, "", kNoProperties, "F1098_9"},
    {"ZeroProperties", 0, 250, "03152019", false, 3, "000", kNoProperties, "F1098_9"},
    {"Complete", 5000, 250, "03152019", true, 0, "2", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Mortgage, Frm1098ValidationTest, ::testing::ValuesIn(kValidation),
                         [](const auto& info) { return std::string(info.param.Title); });

TEST_F(Frm1098Test, EnterWalksTheBoxesInTabOrder) {
  OpenTwo();
  TFrm1098 screen;
  ShowActive(screen);
  screen.Control("F1098_1")->setFocus();
  EXPECT_EQ(
      PressEnter(17),
      QStringList({"F1098_1", "F1098_2", "F1098_3", "F1098_4", "F1098_5", "F1098_6", "F1098_7",
                   "F1098_8_1", "F1098_8_2", "F1098_8_3", "F1098_8_4", "F1098_8_5", "F1098_8_6",
                   "F1098_8_7", "F1098_9", "F1098_10", "AcctNum1098", "F1098_11"}));
  EXPECT_EQ(screen.Control("F1098_11")->palette().color(QPalette::Base),
            TFrmFormScreen::FocusColor);
  EXPECT_EQ(screen.Control("Corrected")->focusPolicy(), Qt::ClickFocus);
}

TEST_F(Frm1098Test, HelpOpensTheMortgageInstructionsOrSaysTheyAreMissing) {
  OpenTwo();
  TFrm1098 screen;
  ExpectHelpOpensTheInstructions(screen, QStringLiteral("The IRS Instructions cannot no be found"),
                                 QStringLiteral("i1098_25.pdf"));
}

TEST_F(Frm1098Test, PrintWithoutMortgagesRefusesBeforeAnyDialog) {
  TPayeeRecord none = SamplePayee(QStringLiteral("Only"), QStringLiteral("123-45-6788"), 900);
  OpenPayerFile(SamplePayer(), {none});  // a 1099-NEC, no Form 1098
  TFrm1098 screen;
  ShowActive(screen);
  ExpectPrintRefused(screen, QStringLiteral("There are no forms available for printing"));
  EXPECT_EQ(QApplication::activeModalWidget(), &screen);
}
}  // namespace
