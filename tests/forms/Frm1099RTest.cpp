// The 1099-R screen: its boxes in tab order, every box through the payee record and back, the
// validation in its order (amounts, the distribution code, state and locality lines) with the
// focus on the box to correct, the distribution code list and its pick, and the hint under box 7.
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "controls/CheckBoxEdit.h"
#include "controls/DateEdit.h"
#include "controls/DollarEdit.h"
#include "controls/FilterEdit.h"
#include "controls/RSNavigator.h"
#include "forms/DistCodes.h"
#include "forms/FormFace.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "storage/Globals.h"

namespace {
class Frm1099RTest : public TFormsTest {
 protected:
  void SetUp() override {
    TFormsTest::SetUp();
    DistCodesScript::Enable(true);
    DistCodesScript::Clear();
  }
  void TearDown() override {
    DistCodesScript::Enable(false);
    TFormsTest::TearDown();
  }

  static TPayerRecord Payer() {
    TPayerRecord p = SamplePayer();
    p.SetString("Locality1", QStringLiteral("Cass & Co"));
    p.SetString("Locality2", QStringLiteral("Decatur"));
    return p;
  }
  static TPayeeRecord Retiree(const QString& name, double box1, const QString& code) {
    TPayeeRecord p = PayeeWith(name, QStringLiteral("123-45-6788"), "F1099R1", box1);
    p.SetString("F1099R7", code);
    return p;
  }
  void OpenTwo(const TPayerRecord& payer = Payer()) {
    OpenPayerFile(payer, {Retiree(QStringLiteral("Public, John Q"), 1000, QStringLiteral("7")),
                          Retiree(QStringLiteral("Roe, Jane"), 500, QStringLiteral("G"))});
  }
};

TEST_F(Frm1099RTest, OpeningShowsPayerStateAndLocalityLinesAndTheBoxes) {
  OpenTwo();
  TFrm1099R screen;
  EXPECT_EQ(screen.windowTitle(),
            QStringLiteral("Form 1099-R Distributions From Pensions, Annuities, Retirement or "
                           "Profit Sharing Plans, IRAs. Insurance Contracts, etc."));
  auto label = [&](const char* name) { return screen.Label(QLatin1String(name))->text(); };
  EXPECT_EQ(label("PhoneNum"), QStringLiteral("217-555-0123"));
  EXPECT_EQ(label("PayerStateID1"), QStringLiteral("IL 1234-5678"));
  EXPECT_EQ(label("PayerStateID2"), QStringLiteral("WI W-99"));
  EXPECT_EQ(label("PayerLocality1"), QStringLiteral("Cass && Co"));
  EXPECT_EQ(label("PayerLocality2"), QStringLiteral("Decatur"));
  EXPECT_EQ(label("PayeeCompName"), QStringLiteral("Public, John Q"));
  EXPECT_DOUBLE_EQ(Money(screen, "F1099R1")->Value(), 1000);
  EXPECT_EQ(Edit(screen, "F1099R7")->text(), QStringLiteral("7"));
  EXPECT_EQ(Edit(screen, "F1099R8a")->text(), QStringLiteral("0"));
  EXPECT_FALSE(screen.findChild<QLabel*>(QStringLiteral("LblBox7Hint"))->isVisible());
}

TEST_F(Frm1099RTest, EnterWalksTheBoxesInTabOrder) {
  OpenTwo();
  TFrm1099R screen;
  ShowActive(screen);
  screen.Control("F1099R1")->setFocus();
  EXPECT_EQ(PressEnter(26),
            QStringList({"F1099R1",    "F1099R2",      "F1099R2b1",  "F1099R2b2",  "F1099R3",
                         "F1099R4",    "F1099R5",      "F1099R6",    "F1099R7",    "F1099R7a",
                         "F1099R8",    "F1099R8a",     "F1099R9a",   "F1099R9b",   "F1099R10",
                         "F1099R11",   "FATCA",        "F1099R14_1", "F1099R16_1", "F1099R14_2",
                         "F1099R16_2", "AcctNum1099R", "F1099RDOP",  "F1099R17_1", "F1099R19_1",
                         "F1099R17_2", "F1099R19_2"}));
  EXPECT_EQ(screen.Control("Corrected")->focusPolicy(), Qt::ClickFocus);
}

// What the boxes admit as typed: box 7 only the letters and digits of the code list, in capitals,
// two at most; the percentages and the year only digits.
TEST_F(Frm1099RTest, BoxesAdmitOnlyWhatTheyHold) {
  OpenTwo();
  TFrm1099R screen;
  ShowActive(screen);
  struct TCase {
    const char* Box;
    const char* Typed;
    QString Held;
  };
  const TCase cases[] = {
      {"F1099R7", "y", "Y"},
      {"F1099R7", "iO7d", "7D"},
      {"F1099R7", "zx1", "1"},
      {"F1099R8a", "1a05", "105"},
      {"F1099R9a", "12345", "123"},
      {"F1099R11", "20x199", "2019"},
      {"AcctNum1099R", "ab-1_2", "AB-12"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Box + std::string(" ") + c.Typed);
    QLineEdit* edit = Edit(screen, c.Box);
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, QLatin1String(c.Typed));
    EXPECT_EQ(edit->text(), c.Held);
  }
}

// Every box control goes into its field of the payee record and comes back from it.
TEST_F(Frm1099RTest, EveryBoxRoundTripsThroughThePayeeRecord) {
  OpenTwo();
  {
    TFrm1099R screen;
    double amount = 1000;  // each box below the one before, as the checks want
    for (const char* box :
         {"F1099R1", "F1099R2", "F1099R3", "F1099R4", "F1099R5", "F1099R6", "F1099R8", "F1099R9b",
          "F1099R10", "F1099R14_1", "F1099R14_2", "F1099R16_1", "F1099R16_2", "F1099R17_1",
          "F1099R17_2", "F1099R19_1", "F1099R19_2"})
      Money(screen, box)->SetValue(amount -= 0.25);
    Money(screen, "F1099R1")->SetValue(999999999.99);
    for (const char* box : {"Corrected", "F1099R2b1", "F1099R2b2", "F1099R7a", "FATCA"})
      qobject_cast<TCheckBoxEdit*>(screen.Control(QLatin1String(box)))->SetChecked(true);
    Edit(screen, "F1099R7")->setText(QStringLiteral("7D"));
    Edit(screen, "F1099R8a")->setText(QStringLiteral("25"));
    Edit(screen, "F1099R9a")->setText(QStringLiteral("100"));
    Edit(screen, "F1099R11")->setText(QStringLiteral("2019"));
    Edit(screen, "AcctNum1099R")->setText(QStringLiteral("ACCT-1"));
    Edit(screen, "F1099RDOP")->setText(QStringLiteral("06/30/2025"));
    screen.FormClose();
  }
  const TPayeeRecord saved = PayeesOnDisk()[0];
  EXPECT_DOUBLE_EQ(saved.GetDouble("F1099R1"), 999999999.99);
  EXPECT_DOUBLE_EQ(saved.GetDouble("F1099R2"), 999.5);
  EXPECT_DOUBLE_EQ(saved.GetDouble("F1099R19_2"), 995.75);
  for (const char* flag : {"Corrected1099R", "F1099R2b1", "F1099R2b2", "F1099R7a", "FATCA1099R"})
    EXPECT_TRUE(saved.GetBool(flag)) << flag;
  EXPECT_EQ(saved.GetString("F1099R7"), QStringLiteral("7D"));
  EXPECT_EQ(saved.GetInt("F1099R8a"), 25);
  EXPECT_EQ(saved.GetInt("F1099R9a"), 100);
  EXPECT_EQ(saved.GetString("F1099R11"), QStringLiteral("2019"));
  EXPECT_EQ(saved.GetString("AcctNum1099R"), QStringLiteral("ACCT-1"));
  EXPECT_EQ(saved.GetString("F1099RDOP"), QStringLiteral("06/30/2025"));
  // The bytes between the box 7 check mark and box 8 stay zero.
  EXPECT_EQ(saved.Data()[1310], 0);
  EXPECT_EQ(saved.Data()[1311], 0);

  TFrm1099R again;
  EXPECT_DOUBLE_EQ(Money(again, "F1099R1")->Value(), 999999999.99);
  EXPECT_DOUBLE_EQ(Money(again, "F1099R16_1")->Value(), 997.0);
  EXPECT_TRUE(qobject_cast<TCheckBoxEdit*>(again.Control("FATCA"))->Checked());
  EXPECT_EQ(Edit(again, "F1099R7")->text(), QStringLiteral("7D"));
  EXPECT_EQ(Edit(again, "F1099R8a")->text(), QStringLiteral("25"));
  EXPECT_EQ(Edit(again, "F1099R9a")->text(), QStringLiteral("100"));
  EXPECT_EQ(Edit(again, "F1099R11")->text(), QStringLiteral("2019"));
  EXPECT_EQ(qobject_cast<TDateEdit*>(again.Control("F1099RDOP"))->text(),
            QStringLiteral("06/30/2025"));
}

struct TValidationCase {
  const char* Title;
  double Box1, Box2a, Box3;
  const char* Box7;
  double Box14_1, Box16_1, Box14_2, Box16_2, Box17_1, Box19_1, Box17_2, Box19_2;
  bool NoLocality1;  // the payer has no first locality
  QString Message;   // empty: passes
  QString Focus;     // the control with the focus after the refusal
};

// The check's text, then the code as typed and what box 7 takes.
QString InvalidCode(const char* code) {
  return QStringLiteral(
             "Distribution Code is invalid.\n\nCheck the specific IRS instructions\nregarding the "
             "correct combinations\nof Distribution Codes for box 7.\nYou entered \"%1\"; type one "
             "code, or two that the IRS allows together, such as 7 or 1B; double-click the box or "
             "press F4 for the list.")
      .arg(QLatin1String(code));
}
const QString kState =
    QStringLiteral("Boxes 15 and 16 must not be blank when there is data in box 14.");
const QString kStateNo = QStringLiteral("Box 15 must not be blank when there is data in box 16.");
const QString kLocal =
    QStringLiteral("Boxes 18 and 19 must not be blank when there is data in box 17.");
const QString kLocality = QStringLiteral("Box 18 must not be blank when there is data in box 19.");

class Frm1099RValidationTest : public Frm1099RTest,
                               public ::testing::WithParamInterface<TValidationCase> {};

TEST_P(Frm1099RValidationTest, RefusesToLeaveAWrongPayee) {
  const TValidationCase& c = GetParam();
  TPayerRecord payer = Payer();
  ClearStateLine(payer, 2);
  if (c.NoLocality1) payer.SetString("Locality1", QString());
  OpenTwo(payer);
  TFrm1099R screen;
  ShowActive(screen);
  const std::pair<const char*, double> amounts[] = {
      {"F1099R1", c.Box1},       {"F1099R2", c.Box2a},      {"F1099R3", c.Box3},
      {"F1099R14_1", c.Box14_1}, {"F1099R16_1", c.Box16_1}, {"F1099R14_2", c.Box14_2},
      {"F1099R16_2", c.Box16_2}, {"F1099R17_1", c.Box17_1}, {"F1099R19_1", c.Box19_1},
      {"F1099R17_2", c.Box17_2}, {"F1099R19_2", c.Box19_2}};
  for (const auto& [box, value] : amounts) Money(screen, box)->SetValue(value);
  Edit(screen, "F1099R7")->setText(QLatin1String(c.Box7));
  screen.Control("F1099R4")->setFocus();
  MsgBoxScript::Clear();
  screen.RSNavigator->NavBtnNext->click();
  if (c.Message.isEmpty()) {
    ExpectMovedOn();
    EXPECT_EQ(PayeesOnDisk()[0].GetString("F1099R7"), QLatin1String(c.Box7));
    return;
  }
  ExpectRefused(c.Message, screen.Control(c.Focus));
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099R1"), 1000);  // nothing written
  EXPECT_EQ(PayeesOnDisk()[0].GetString("F1099R7"), QStringLiteral("7"));
}

// clang-format off
const TValidationCase kValidation[] = {
  // The distribution code: missing, single, pairs in either admitted order, a pair the IRS does
  // not admit, letter case ignored; without a gross distribution no code is needed, but what
  // the box holds must still be a code.
  {"CodeMissing",      1000, 0, 0, "",   0, 0, 0, 0, 0, 0, 0, 0, false, "Distribution code is missing.", "F1099R7"},
  {"Code7",            1000, 0, 0, "7",  0, 0, 0, 0, 0, 0, 0, 0, false, "", ""},
  {"Code7D",           1000, 0, 0, "7D", 0, 0, 0, 0, 0, 0, 0, 0, false, "", ""},
  {"CodeD7",           1000, 0, 0, "D7", 0, 0, 0, 0, 0, 0, 0, 0, false, "", ""},
  {"Code3A",           1000, 0, 0, "3A", 0, 0, 0, 0, 0, 0, 0, 0, false, InvalidCode("3A"), "F1099R7"},
  {"CodeY",            1000, 0, 0, "Y",  0, 0, 0, 0, 0, 0, 0, 0, false, "", ""},
  {"CodeLowerCase",    1000, 0, 0, "gk", 0, 0, 0, 0, 0, 0, 0, 0, false, "", ""},
  {"CodeOnlyOneOrder", 1000, 0, 0, "A1", 0, 0, 0, 0, 0, 0, 0, 0, false, InvalidCode("A1"), "F1099R7"},
  {"NoBox1NoCheck",    0,    0, 0, "3A", 0, 0, 0, 0, 0, 0, 0, 0, false, "Box 7 Distribution code(s) is not a distribution code.\nYou entered \"3A\".", "F1099R7"},
  {"NoBox1NoCode",     0,    0, 0, "",   0, 0, 0, 0, 0, 0, 0, 0, false, "", ""},
  // The amounts come first: box 2a over box 1, then box 3 over box 2a, whatever box 7 holds.
  // (The error box ends a message with a full stop where it has none.)
  {"Box2aOverBox1",    1000, 1000.01, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, false, "Box 2a cannot be greater than box 1.", "F1099R2"},
  {"Box3OverBox2a",    1000, 500, 600,   "", 0, 0, 0, 0, 0, 0, 0, 0, false, "Box 3 cannot be greater than box 2a.", "F1099R3"},
  // State lines (the payer has no second state) and locality lines.
  {"Box14WithoutBox16", 1000, 0, 0, "7", 10, 0, 0, 0,   0, 0, 0, 0, false, kState, "F1099R16_1"},
  {"Box14Line2NoState", 1000, 0, 0, "7", 10, 100, 5, 50, 0, 0, 0, 0, false, kState, "F1099R16_2"},
  {"Box16Line2NoState", 1000, 0, 0, "7", 0, 0, 0, 50,    0, 0, 0, 0, false, kStateNo, "F1099R4"},
  {"Box17NoLocality",   1000, 0, 0, "7", 0, 0, 0, 0,     25, 0, 0, 0, true, kLocal, "F1099R19_1"},
  {"Box19NoLocality",   1000, 0, 0, "7", 0, 0, 0, 0,     0, 300, 0, 0, true, kLocality, "F1099R4"},
  {"Box17Line2NoBox19", 1000, 0, 0, "7", 0, 0, 0, 0,     0, 0, 25, 0, false, kLocal, "F1099R19_2"},
  {"LinesFilledPass",   1000, 0, 0, "7", 10, 100, 0, 0,  25, 300, 5, 50, false, "", ""},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Checks, Frm1099RValidationTest, ::testing::ValuesIn(kValidation),
                         [](const auto& info) { return std::string(info.param.Title); });

TEST_F(Frm1099RTest, HintShowsOnlyWhileBox7HasTheFocus) {
  OpenTwo();
  TFrm1099R screen;
  ShowActive(screen);
  QLabel* hint = screen.findChild<QLabel*>(QStringLiteral("LblBox7Hint"));
  ASSERT_NE(hint, nullptr);
  EXPECT_EQ(hint->text(),
            QStringLiteral(" Double click within   box 7 for a list of    Distribution codes "));
  EXPECT_EQ(hint->width(), 95);
  EXPECT_EQ(hint->palette().color(QPalette::Window), QColor(255, 255, 210));
  screen.Control("F1099R6")->setFocus();
  EXPECT_FALSE(hint->isVisible());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), screen.Control("F1099R7"));
  EXPECT_TRUE(hint->isVisible());
  // It covers no caption of the form (box 9a's was hidden under it) and no other box.
  for (const TFormFace::TCaptionLine& line : screen.Face().CaptionLines())
    EXPECT_FALSE(hint->geometry().intersects(line.Rect)) << line.Text.toStdString();
  for (QLineEdit* box : screen.findChildren<QLineEdit*>()) {
    if (box == screen.Control("F1099R7")) continue;
    EXPECT_FALSE(hint->geometry().intersects(box->geometry())) << box->objectName().toStdString();
  }
  EXPECT_TRUE(screen.Picture()->rect().contains(hint->geometry()));
  // The focus colour comes and goes with it.
  EXPECT_EQ(screen.Control("F1099R7")->palette().color(QPalette::Base), TFrmFormScreen::FocusColor);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_FALSE(hint->isVisible());
  EXPECT_NE(screen.Control("F1099R7")->palette().color(QPalette::Base), TFrmFormScreen::FocusColor);
}

// The pick completes a single code into a pair and replaces anything else; a cancelled list
// leaves the box alone.
TEST_F(Frm1099RTest, DoubleClickPicksACodeThatCompletesOrReplacesBox7) {
  OpenTwo();
  TFrm1099R screen;
  ShowActive(screen);
  QLineEdit* box7 = Edit(screen, "F1099R7");
  struct TCase {
    QString Before;
    int Pick;  // index in the list; -1 cancelled
    QString After;
  };
  const TCase cases[] = {
      {"7", 12, "7D"},  // D
      {"7D", 0, "1"},   // a pair is replaced
      {"", 29, "Y"},   {"G", -1, "G"}, {"4", 9, "4A"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Before.toStdString() + " " + std::to_string(c.Pick));
    box7->setText(c.Before);
    DistCodesScript::Clear();
    DistCodesScript::SetNextAnswer(c.Pick);
    QTest::mouseDClick(box7, Qt::LeftButton);
    EXPECT_EQ(DistCodesScript::Shown(), 1);
    EXPECT_EQ(box7->text(), c.After);
  }
  // The pair picked twice over passes the code check.
  box7->setText(QStringLiteral("7"));
  DistCodesScript::SetNextAnswer(12);
  PickBox7Code(screen);
  EXPECT_NO_THROW(screen.ValidateForm());
}

// The list itself, shown for real: its items in order, "&Ok" and a double-click choose the current
// item, "&Cancel" and Escape choose nothing.
TEST_F(Frm1099RTest, CodeListOffersTheThirtyCodesAndAnswersThePick) {
  DistCodesScript::Enable(false);
  {
    TFrmDistCodes list;
    EXPECT_EQ(list.windowTitle(), QStringLiteral("Form 1099-R Box 7 Distribution codes"));
    ASSERT_EQ(list.DistCodesList->count(), 30);
    EXPECT_EQ(list.DistCodesList->item(0)->text(),
              QStringLiteral("1\tEarly distribution, no known exception."));
    EXPECT_EQ(list.DistCodesList->item(1)->text(),
              QStringLiteral("2\tEarly distribution, exeption applies."));
    EXPECT_EQ(list.DistCodesList->item(26)->text(),
              QStringLiteral("T\tRoth IRA distribution, exception applies. "));
    EXPECT_EQ(list.DistCodesList->item(29)->text(),
              QStringLiteral("Y\tQualified charitable distribution (QCD) claimed under section "
                             "408(d)(8)."));
    EXPECT_EQ(list.Header->model()->headerData(0, Qt::Horizontal).toString(), "Code");
    EXPECT_EQ(list.Header->model()->headerData(1, Qt::Horizontal).toString(), "Code Description");
    EXPECT_EQ(list.BtnOk->text(), QStringLiteral("&Ok"));
    EXPECT_TRUE(list.BtnOk->isDefault());
    EXPECT_EQ(list.BtnCancel->text(), QStringLiteral("&Cancel"));
  }
  struct TCase {
    const char* Title;
    std::function<void(TFrmDistCodes&)> Act;
    QString Code;
  };
  const TCase cases[] = {
      {"Ok",
       [](TFrmDistCodes& d) {
         d.DistCodesList->setCurrentRow(6);
         d.BtnOk->click();
       },
       "7"},
      {"DoubleClick",
       [](TFrmDistCodes& d) {
         d.DistCodesList->setCurrentRow(12);
         QListWidget* list = d.DistCodesList;
         const QRect item = list->visualItemRect(list->item(12));
         QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
         QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, item.center());
       },
       "D"},
      {"Cancel",
       [](TFrmDistCodes& d) {
         d.DistCodesList->setCurrentRow(3);
         d.BtnCancel->click();
       },
       ""},
      {"Escape",
       [](TFrmDistCodes& d) {
         d.DistCodesList->setCurrentRow(3);
         QTest::keyClick(d.DistCodesList, Qt::Key_Escape);
       },
       ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Title);
    int selectedOnShow = -2;  // stays when another window opened
    WhenModal([&](QWidget* w) {
      if (auto* dialog = qobject_cast<TFrmDistCodes*>(w)) {
        selectedOnShow = dialog->Selected();
        c.Act(*dialog);
      }
      if (w->isVisible()) static_cast<QDialog*>(w)->reject();  // no test may hang on it
    });
    EXPECT_EQ(PickDistCode(), c.Code);
    EXPECT_EQ(selectedOnShow, -1);
  }
}

// Without a payee that files a 1099-R (a local distribution alone files none) the print command
// stops before any dialog, in this form's words (no full stop); the payee shown is written first.
TEST_F(Frm1099RTest, PrintRefusesWithoutFormsAfterWritingThePayee) {
  OpenPayerFile(Payer(), {Retiree(QStringLiteral("Only"), 0, QString())});
  TFrm1099R screen;
  ShowActive(screen);
  Money(screen, "F1099R19_1")->SetValue(40);
  ExpectPrintRefused(screen, QStringLiteral("There are no forms available for printing"));
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099R19_1"), 40);
  EXPECT_EQ(QApplication::activeModalWidget(), &screen);
}

TEST_F(Frm1099RTest, HelpSaysTheInstructionsAreMissingInItsOwnWords) {
  OpenTwo();
  TFrm1099R screen;
  ExpectHelpOpensTheInstructions(screen, QStringLiteral("The IRS Instructions cannot no be found"),
                                 QStringLiteral("i1099r24.pdf"));
}
}  // namespace
