// The 1099-INT screen: what it shows on opening (the routing number and the state labels), every
// box loaded from and saved into the payee record's bytes, the box 6 / box 7 check with its
// focus, the limits of the text boxes, Enter through the boxes in tab order, help, and the print
// command's refusal.
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <variant>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "controls/CheckBoxEdit.h"
#include "controls/DollarEdit.h"
#include "controls/RSNavigator.h"
#include "engine/ReportSystem.h"
#include "platform/Exceptions.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "storage/Globals.h"

namespace {
class Frm1099INTTest : public TFormsTest {
 protected:
  // Record order Zimmer, Adams.
  void OpenTwo(const TPayerRecord& payer = SamplePayer()) {
    TPayeeRecord zimmer =
        SamplePayee(QStringLiteral("Zimmer, Paul"), QStringLiteral("123-45-6788"), 0);
    zimmer.SetDouble("F1099INT1", 1500);
    zimmer.SetDouble("F1099INT6", 15);
    zimmer.SetString("F1099INT7", QStringLiteral("CANADA"));
    TPayeeRecord adams = SamplePayee(QStringLiteral("Adams & Co"), QStringLiteral("98-7654321"), 0);
    adams.SetDouble("F1099INT1", 250);
    OpenPayerFile(payer, {zimmer, adams});
  }
};

TEST_F(Frm1099INTTest, OpeningShowsRoutingNumberStatesAndTheWholeFace) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("RTN", QStringLiteral("12&456789"));
  OpenTwo(payer);
  TFrm1099INT screen;
  ShowActive(screen);
  EXPECT_EQ(screen.windowTitle(), QStringLiteral("Form 1099-INT Interest Income"));
  EXPECT_EQ(CurrentFormType, ft1099INT);
  // The label shows the "&" itself: its text has it doubled.
  EXPECT_EQ(Label(screen, "PayerRTN"), QStringLiteral("12&&456789"));
  EXPECT_TRUE(screen.Label("PayerRTN")->font().bold());
  const std::pair<const char*, const char*> states[] = {{"StateID1_1", "IL"},
                                                        {"StateID1_2", "WI"},
                                                        {"StateID2_1", "1234-5678"},
                                                        {"StateID2_2", "W-99"}};
  for (const auto& [name, text] : states) {
    QLabel* label = screen.Label(QLatin1String(name));
    EXPECT_EQ(label->text(), QLatin1String(text)) << name;
    EXPECT_FALSE(label->font().bold()) << name;
    EXPECT_TRUE(label->alignment() & Qt::AlignHCenter) << name;
  }
  EXPECT_EQ(Label(screen, "TradeName"), QStringLiteral("Acme Builders"));
  EXPECT_EQ(Label(screen, "PayeeCompName"), QStringLiteral("Zimmer, Paul"));
  EXPECT_EQ(Label(screen, "Lbl2ndTINnot"), QStringLiteral("2nd TIN not."));
  EXPECT_EQ(screen.findChild<QLabel*>("LblCalendarYear")->text(), QStringLiteral("2025"));
  EXPECT_EQ(Edit(screen, "F1099INT7")->text(), QStringLiteral("CANADA"));
  // The screen shows the whole form: every label and box lies on the picture.
  QWidget* picture = screen.findChild<QWidget*>(QStringLiteral("Form1099INT"));
  ASSERT_NE(picture, nullptr);
  for (QWidget* w : picture->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!w->isVisible()) continue;
    EXPECT_TRUE(picture->rect().contains(w->geometry())) << w->objectName().toStdString();
  }
}

using TValue = std::variant<double, bool, const char*>;

struct TRoundTripCase {
  const char* Control;
  const char* Field;
  TValue Stored;  // in the file when the screen opens
  TValue Typed;   // put into the control, then saved
};

void SetField(TPayeeRecord& rec, const char* field, const TValue& v) {
  if (auto* d = std::get_if<double>(&v)) rec.SetDouble(field, *d);
  if (auto* b = std::get_if<bool>(&v)) rec.SetBool(field, *b);
  if (auto* s = std::get_if<const char*>(&v)) rec.SetString(field, QLatin1String(*s));
}

// Every box control shows its field as stored and writes back exactly its field: the bytes of
// the payee record after the close are those of the record with the typed values, nothing else.
TEST_F(Frm1099INTTest, EveryBoxLoadsAndSavesItsFieldInTheRecordBytes) {
  const TRoundTripCase cases[] = {
      {"Corrected", "Corrected1099INT", true, false},
      {"F1099INT1", "F1099INT1", 1.25, 999999999.99},
      {"F1099INT2", "F1099INT2", 2.5, 20.0},
      {"F1099INT3", "F1099INT3", 3.75, 30.0},
      {"F1099INT4", "F1099INT4", 4.0, 0.0},
      {"F1099INT5", "F1099INT5", 5.05, 50.0},
      {"F1099INT6", "F1099INT6", 6.0, 60.0},
      {"F1099INT7", "F1099INT7", "CANADA", "Puerto Rico"},
      {"F1099INT8", "F1099INT8", 8.0, 80.0},
      {"F1099INT9", "F1099INT9", 9.0, 90.0},
      {"F1099INT10", "F1099INT10", 10.0, 100.0},
      {"F1099INT11", "F1099INT11", 11.0, 110.0},
      {"FATCA", "FATCA1099INT", false, true},
      {"F1099INT12", "F1099INT12", 12.0, 120.0},
      {"F1099INT13", "F1099INT13", 13.0, 130.0},
      {"AcctNum1099INT", "AcctNum1099INT", "ACCT-1", "ACCT-2025-0000000000000-9"},
      {"SecTINnot", "SecTINnot1099INT", false, true},
      {"F1099INT14", "F1099INT14", "912828XY1", "31331KAA8ZZZZZZ"},
      {"F1099INT17_1", "F1099INT17_1", 17.1, 171.0},
      {"F1099INT17_2", "F1099INT17_2", 17.2, 0.0},
  };
  TPayeeRecord stored =
      SamplePayee(QStringLiteral("Zimmer, Paul"), QStringLiteral("123-45-6788"), 7);
  for (const TRoundTripCase& c : cases) SetField(stored, c.Field, c.Stored);
  OpenPayerFile(SamplePayer(), {stored});
  TFrm1099INT screen;
  ShowActive(screen);
  TPayeeRecord expected = stored;
  for (const TRoundTripCase& c : cases) {
    SCOPED_TRACE(c.Control);
    QWidget* control = screen.Control(QLatin1String(c.Control));
    ASSERT_NE(control, nullptr);
    if (auto* d = std::get_if<double>(&c.Stored)) {
      EXPECT_DOUBLE_EQ(Money(screen, c.Control)->Value(), *d);
      Money(screen, c.Control)->SetValue(std::get<double>(c.Typed));
    } else if (auto* b = std::get_if<bool>(&c.Stored)) {
      auto* check = qobject_cast<TCheckBoxEdit*>(control);
      EXPECT_EQ(check->Checked(), *b);
      check->SetChecked(std::get<bool>(c.Typed));
    } else {
      EXPECT_EQ(Edit(screen, c.Control)->text(), QLatin1String(std::get<const char*>(c.Stored)));
      Edit(screen, c.Control)->setText(QLatin1String(std::get<const char*>(c.Typed)));
    }
    SetField(expected, c.Field, c.Typed);
  }
  screen.FormClose();
  const TPayeeRecord disk = PayeesOnDisk()[0];
  EXPECT_EQ(Bytes(disk), Bytes(expected));
}

struct TValidationCase {
  const char* Title;
  double Box6;
  const char* Box7;
  QString Message;  // empty: passes
  const char* Focus;
};

class Frm1099INTValidationTest : public Frm1099INTTest,
                                 public ::testing::WithParamInterface<TValidationCase> {};

TEST_P(Frm1099INTValidationTest, RefusesToLeaveAWrongPayee) {
  const TValidationCase& c = GetParam();
  OpenTwo();
  TFrm1099INT screen;
  ShowActive(screen);
  Money(screen, "F1099INT6")->SetValue(c.Box6);
  Edit(screen, "F1099INT7")->setText(QLatin1String(c.Box7));
  Money(screen, "F1099INT1")->setFocus();
  MsgBoxScript::Clear();
  screen.RSNavigator->NavBtnNext->click();
  if (c.Message.isEmpty()) {
    ExpectMovedOn();
    EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099INT6"), c.Box6);
    EXPECT_EQ(PayeesOnDisk()[0].GetString("F1099INT7"), QLatin1String(c.Box7));
    return;
  }
  // The error display ends the message with a full stop; the check itself raises it without.
  ExpectRefused(c.Message + QLatin1Char('.'), screen.Control(QLatin1String(c.Focus)));
  try {
    screen.ValidateForm();
    ADD_FAILURE() << "accepted";
  } catch (const EFieldException& e) {
    EXPECT_EQ(e.Message(), c.Message);
  }
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099INT6"), 15);  // nothing written
  EXPECT_EQ(PayeesOnDisk()[0].GetString("F1099INT7"), QStringLiteral("CANADA"));
}

const TValidationCase kValidation[] = {
    {"Box6WithoutCountry", 12, "", "If you enter an amount in box 6, you must complete box 7",
     "F1099INT7"},
    {"Box6WithBlankCountry", 12, "   ", "If you enter an amount in box 6, you must complete box 7",
     "F1099INT7"},
    {"CountryWithoutBox6", 0, "CANADA", "If you complete box 7, you must enter an amount in box 6",
     "F1099INT6"},
    {"BothEmpty", 0, "", "", nullptr},
    {"BothFilled", 12, "FRANCE", "", nullptr},
};

INSTANTIATE_TEST_SUITE_P(ForeignTax, Frm1099INTValidationTest, ::testing::ValuesIn(kValidation),
                         [](const auto& info) { return std::string(info.param.Title); });

TEST_F(Frm1099INTTest, TextBoxesKeepTheirLimits) {
  OpenTwo();
  TFrm1099INT screen;
  ShowActive(screen);
  struct TCase {
    const char* Control;
    const char* Typed;
    const char* Shown;
  };
  const TCase cases[] = {
      {"F1099INT14", "ab-12.cd34567890123", "AB12CD345678901"},  // A..Z, 0..9, 15 at most
      {"AcctNum1099INT", "acct-7/x", "ACCT-7X"},
      {"F1099INT7", "United Kingdom", "United Kingd"},  // a plain edit: 12 characters as typed
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Control);
    QLineEdit* edit = Edit(screen, c.Control);
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, QLatin1String(c.Typed));
    EXPECT_EQ(edit->text(), QLatin1String(c.Shown));
  }
  EXPECT_TRUE(Edit(screen, "F1099INT14")->alignment() & Qt::AlignHCenter);
}

TEST_F(Frm1099INTTest, EnterWalksTheBoxesInTabOrder) {
  OpenTwo();
  TFrm1099INT screen;
  ShowActive(screen);
  screen.Control("F1099INT1")->setFocus();
  EXPECT_EQ(PressEnter(18),
            QStringList({"F1099INT1", "F1099INT2", "F1099INT3", "F1099INT4", "F1099INT5",
                         "F1099INT6", "F1099INT7", "F1099INT8", "F1099INT9", "F1099INT10",
                         "F1099INT11", "FATCA", "F1099INT12", "F1099INT13", "AcctNum1099INT",
                         "SecTINnot", "F1099INT14", "F1099INT17_1", "F1099INT17_2"}));
  EXPECT_EQ(screen.Control("F1099INT17_2")->palette().color(QPalette::Base),
            TFrmFormScreen::FocusColor);
  EXPECT_EQ(screen.Control("Corrected")->focusPolicy(), Qt::ClickFocus);
}

TEST_F(Frm1099INTTest, HelpOpensTheInstructionsOrSaysTheyAreMissing) {
  OpenTwo();
  TFrm1099INT screen;
  ExpectHelpOpensTheInstructions(screen, QStringLiteral("The IRS Instructions cannot no be found"),
                                 QStringLiteral("i1099int24.pdf"));
}

// Without a payee that files the form the print stops before any dialog; tax withheld alone
// files one, so the print type choice comes up.
TEST_F(Frm1099INTTest, PrintRefusesWithoutFormsAndGoesOnForTaxWithheldAlone) {
  TPayeeRecord only = SamplePayee(QStringLiteral("Only"), QStringLiteral("123-45-6788"), 0);
  only.SetDouble("F1099INT17_1", 40);  // state tax withheld alone files no form
  OpenPayerFile(SamplePayer(), {only});
  TFrm1099INT screen;
  ShowActive(screen);
  ExpectPrintRefused(screen, QStringLiteral("There are no forms available for printing"));
  Money(screen, "F1099INT4")->SetValue(6);
  QString caption;
  WhenModal([&](QWidget* w) {
    caption = w->windowTitle();
    Child<QPushButton>(w, QStringLiteral("BtnCancel"))->click();
  });
  screen.BtnPrintClick();
  EXPECT_EQ(caption, QStringLiteral("Form 1099-INT"));
  EXPECT_EQ(TotalForms, 1);
  EXPECT_DOUBLE_EQ(PayeesOnDisk()[0].GetDouble("F1099INT4"), 6);  // saved before printing
}
}  // namespace
