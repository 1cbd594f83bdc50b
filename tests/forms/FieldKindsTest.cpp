// Every kind of field through the three doors into a payer file: a value the screens refuse to
// store is refused by the payee import, and a file that holds it anyway is reported as damaged
// before anything prints, each naming the field (and the payee or the line).
#include <QLineEdit>
#include <functional>
#include <memory>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "controls/DollarEdit.h"
#include "controls/StateEdit.h"
#include "exchange/PayeeExchange.h"
#include "forms/FormTotals.h"
#include "maintenance/FrmPayee.h"
#include "platform/MsgBox.h"
#include "storage/Globals.h"

namespace {
// A payee every screen accepts as it is.
TPayeeRecord Complete() {
  TPayeeRecord p = SamplePayee(QStringLiteral("Second"), QStringLiteral("234-56-7890"), 20);
  p.SetString("City", QStringLiteral("Decatur,"));
  p.SetString("State", QStringLiteral("IL"));
  p.SetString("ZipCode", QStringLiteral("62521"));
  return p;
}

struct TKindCase {
  const char* Kind;
  const char* Field;
  const char* Text;  // typed into the screen's box, written in the file's column
  std::function<void(TPayeeRecord&, const TFieldDef&)> Store;  // what a damaged file holds
  const char* OnScreen;
  const char* OnImport;  // after "Line 2, column "<field>": "
  const char* InFile;    // after "Payee 2 (Second) is damaged: "
};

void StoreText(TPayeeRecord& p, const TFieldDef& f, const char* text) {
  p.SetString(&f, QString::fromUtf8(text));
}

class FieldKindsTest : public TFormsTest {
 protected:
  // The screen that edits the field, with the text put into its box, asked to store it.
  QString ScreenRefusal(const TKindCase& c) {
    const QString field = QLatin1String(c.Field);
    std::unique_ptr<QWidget> screen;
    std::function<void()> validate;
    if (field.startsWith("F1098")) {
      auto* s = new TFrm1098;
      screen.reset(s);
      validate = [s] { s->Validate(); };
    } else if (field.startsWith("F1099R")) {
      auto* s = new TFrm1099R;
      screen.reset(s);
      validate = [s] { s->Validate(); };
    } else if (field.contains("1099NEC")) {
      auto* s = new TFrm1099NEC;
      screen.reset(s);
      validate = [s] { s->Validate(); };
    } else {
      auto* s = new TFrmPayee;
      screen.reset(s);
      s->FormShow();
      validate = [s] { s->Validate(); };
    }
    QWidget* box = TScreenEntries(screen.get()).Control(field);
    const QString text = QString::fromUtf8(c.Text);
    if (auto* money = qobject_cast<TDollarEdit*>(box))
      money->SetValue(text.toDouble());
    else if (auto* state = qobject_cast<TStateEdit*>(box))
      state->SetText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(box))
      edit->setText(text);
    else
      return QStringLiteral("no box for ") + field;
    try {
      validate();
    } catch (const EFieldException& e) {
      return e.Message();
    }
    return QStringLiteral("stored");
  }

  QString ImportRefusal(const TKindCase& c) {
    const QStringList header = {"PayeeName", "Address1", "City", "State", "ZipCode", "SSN_IDNum"};
    QStringList values = {"Doe Corp", "1 Elm St", "Troy", "NY", "12180", "12-3456789"};
    QStringList columns = header;
    const qsizetype at = header.indexOf(QLatin1String(c.Field));
    if (at >= 0) {
      values[at] = QString::fromUtf8(c.Text);
    } else {
      columns << QLatin1String(c.Field);
      values << QString::fromUtf8(c.Text);
    }
    return PlanImport((CsvLine(columns) + CsvLine(values)).toUtf8(), {}, SamplePayer()).Report();
  }

  QString DamageInFile(const TKindCase& c) {
    TPayeeRecord bad = Complete();
    c.Store(bad, *PayeeLayout().Field(c.Field));
    OpenPayerFile(SamplePayer(), {Complete(), bad});
    CurrentFormType = ft1099NEC;
    QString message = QStringLiteral("printed");
    try {
      ScanFormTotals();
    } catch (const EPrintException& e) {
      message = e.Message();
    }
    ClosePayerFile();
    return message;
  }
};

TEST_F(FieldKindsTest, WhatNoScreenStoresNoImportTakesAndNoPrintUses) {
  auto text = [](const char* t) {
    return [t](TPayeeRecord& p, const TFieldDef& f) { StoreText(p, f, t); };
  };
  // clang-format off
  const TKindCase cases[] = {
    {"money", "F1099NEC1", "-300", [](TPayeeRecord& p, auto& f) { p.SetDouble(&f, -300); },
     "Box 1 Nonemployee compensation is negative.\rYou entered \"-300.00\".",
     "\"-300\" is negative",
     "the amount in field F1099NEC1 is out of range"},
    {"percentage", "F1099R9a", "150", [](TPayeeRecord& p, auto& f) { p.SetInt(&f, 150); },
     "Box 9a Your percentage of total distribution is not a percentage from 0 to 100.\r"
     "You entered \"150\".",
     "\"150\" is not a percentage from 0 to 100",
     "the value \"150\" in field F1099R9a is not a percentage from 0 to 100"},
    {"whole number", "F1098_9", "-7", [](TPayeeRecord& p, auto& f) { p.SetInt(&f, -7); },
     "Box 9 Number of properties securing the mortgage is not a whole number from 0 to 999.\r"
     "You entered \"-7\".",
     "\"-7\" is not a whole number from 0 to 999",
     "the value \"-7\" in field F1098_9 is not a whole number from 0 to 999"},
    {"date", "F1098_11", "99/99/9999", text("99/99/9999"),
     "Box 11 Mortgage acquisition date is not a date (MM/DD/YYYY).\r"
     "You entered \"99/99/9999\".",
     "\"99/99/9999\" is not a date (MM/DD/YYYY)",
     "the value \"99/99/9999\" in field F1098_11 is not a date (MM/DD/YYYY)"},
    {"code", "F1099R7", "AA", text("AA"),
     "Box 7 Distribution code(s) is not a distribution code.\rYou entered \"AA\".",
     "\"AA\" is not a distribution code",
     "the value \"AA\" in field F1099R7 is not a distribution code"},
    {"state code", "State", "XX", text("XX"),
     "Payee's State code is missing",
     "\"XX\" is not a state code",
     "the value \"XX\" in field State is not a state code"},
    {"taxpayer number", "SSN_IDNum", "12-345", text("12-345"),
     "Payee's Federal ID number is not valid.\rYou entered \"12-345\"; type a social security "
     "number as 123-45-6789 or an employer identification number as 12-3456789, with its dashes.",
     "\"12-345\" is not a taxpayer identification number (NNN-NN-NNNN or NN-NNNNNNN)",
     "the value \"12-345\" in field SSN_IDNum is not a taxpayer identification number "
     "(NNN-NN-NNNN or NN-NNNNNNN)"},
    {"ZIP code", "ZipCode", "1220", text("1220"),
     "Payee's Zip Code is not valid.\rYou entered \"1220\"; type it as 12345 or 12345-6789.",
     "\"1220\" is not a ZIP code; a spreadsheet most likely dropped its leading zero: \"01220\" "
     "(accept the repairs of leading zeros, or correct the file)",
     "the value \"1220\" in field ZipCode is not a ZIP code (NNNNN or NNNNN-NNNN)"},
    {"text", "CompName", "Tab\tCo", text("Tab\tCo"),
     "Payee's trade name holds a control character.\rYou entered \"Tab\tCo\".",
     "\"Tab\tCo\" holds a control character",
     "the value \"Tab\tCo\" in field CompName holds a control character"},
    {"text of some characters", "AcctNum1099NEC", "ACCT 7", text("ACCT 7"),
     "Account number (see instructions) holds characters other than capitals, digits and hyphens.\r"
     "You entered \"ACCT 7\".",
     "\"ACCT 7\" holds characters other than capitals, digits and hyphens",
     "the value \"ACCT 7\" in field AcctNum1099NEC holds characters other than capitals, digits "
     "and hyphens"},
  };
  // clang-format on
  for (const TKindCase& c : cases) {
    SCOPED_TRACE(c.Kind);
    OpenPayerFile(SamplePayer(), {Complete()});
    EXPECT_EQ(ScreenRefusal(c), QString::fromUtf8(c.OnScreen));
    ClosePayerFile();
    EXPECT_EQ(ImportRefusal(c), QStringLiteral("Line 2, column \"%1\": %2")
                                    .arg(QLatin1String(c.Field), QString::fromUtf8(c.OnImport)));
    EXPECT_EQ(DamageInFile(c), QStringLiteral("Payee 2 (Second) is damaged: %1. Nothing is printed "
                                              "from this file until it is mended.")
                                   .arg(QString::fromUtf8(c.InFile)));
  }
}
}  // namespace
