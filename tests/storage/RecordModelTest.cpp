// The record model: which values each kind of field may store (before storing and as stored in
// a file), the spellings it takes as its own, and the fields made from others.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "storage/RecordModel.h"

namespace {
const TFieldDef& PayeeField(const char* name) {
  return *PayeeLayout().Field(name);
}

std::string Verdict(const std::optional<QString>& reason) {
  return reason ? reason->toStdString() : std::string("stored");
}

struct TValueCase {
  const char* Field;
  TFieldValue Value;
  const char* Expected;  // the reason, or "stored"
  bool Payer = false;
};

QString Repeat(char c, int n) {
  return QString(n, QLatin1Char(c));
}
}  // namespace

// One table over every kind of field: what the screens never store is refused, with the reason
// the messages quote; what they do store passes, the edges of every range included.
TEST(RecordModel, EveryKindRefusesWhatNoScreenStores) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  // clang-format off
  const TValueCase cases[] = {
    // money
    {"F1099NEC1", 0.0, "stored"},
    {"F1099NEC1", 0.1 + 0.2, "stored"},
    {"F1099NEC1", 999999999.99, "stored"},
    {"F1099NEC1", 1000000000.0, "is more than 999,999,999.99"},
    {"F1099NEC1", -0.01, "is negative"},
    {"F1099NEC1", -300.0, "is negative"},
    {"F1099NEC1", kNaN, "is not a number"},
    {"F1099NEC1", -kInf, "is not a number"},
    {"F1099NEC1", 0.004, "stored"},  // prints and counts rounded, as the totals expect
    // percentage
    {"F1099R8a", int32_t(0), "stored"},
    {"F1099R9a", int32_t(100), "stored"},
    {"F1099R9a", int32_t(101), "is not a percentage from 0 to 100"},
    {"F1099R8a", std::numeric_limits<int32_t>::min(), "is not a percentage from 0 to 100"},
    // whole number
    {"F1098_9", int32_t(999), "stored"},
    {"F1098_9", int32_t(1000), "is not a whole number from 0 to 999"},
    {"F1098_9", int32_t(-7), "is not a whole number from 0 to 999"},
    // date
    {"F1098_11", QString(), "stored"},
    {"F1098_11", QStringLiteral("  /  /    "), "stored"},
    {"F1099S1", QStringLiteral("02/29/2024"), "stored"},
    {"F1099S1", QStringLiteral("02/29/2025"), "is not a date (MM/DD/YYYY)"},
    {"F1098_3", QStringLiteral("99/99/9999"), "is not a date (MM/DD/YYYY)"},
    {"F1099RDOP", QStringLiteral("3/15/2025"), "is not a date (MM/DD/YYYY)"},
    // code
    {"State", QStringLiteral("NY"), "stored"},
    {"State", QStringLiteral("XX"), "is not a state code"},
    {"StateName2", QString(), "stored", true},
    {"StateName1", QStringLiteral("ny"), "is not a state code", true},
    {"F1099R7", QStringLiteral("7D"), "stored"},
    {"F1099R7", QStringLiteral("D7"), "stored"},
    {"F1099R7", QStringLiteral("AA"), "is not a distribution code"},
    // taxpayer number: the shape only, an ITIN's 9 included
    {"SSN_IDNum", QStringLiteral("999-88-8901"), "stored"},
    {"SSN_IDNum", QStringLiteral("12-3456789"), "stored"},
    {"SSN_IDNum", QStringLiteral("123456789"),
     "is not a taxpayer identification number (NNN-NN-NNNN or NN-NNNNNNN)"},
    {"SSN_IDNum", QStringLiteral("12-345"),
     "is not a taxpayer identification number (NNN-NN-NNNN or NN-NNNNNNN)"},
    // ZIP code
    {"ZipCode", QStringLiteral("12207-1234"), "stored"},
    {"ZipCode", QStringLiteral("1220"), "is not a ZIP code (NNNNN or NNNNN-NNNN)"},
    {"ZipCode", QStringLiteral("K1A 0B1"), "is not a ZIP code (NNNNN or NNNNN-NNNN)"},
    // masked
    {"PhoneNum", QStringLiteral("   -   -    "), "stored", true},
    {"PhoneNum", QStringLiteral("217-555-0100"), "stored", true},
    {"EmpIDNum", QStringLiteral("12-345678"), "is not of the form NN-NNNNNNN", true},
    // text
    {"CompName", QString::fromUtf8("M\u00fcller & Co \u20ac"), "stored"},
    {"CompName", QStringLiteral("A\tB"), "holds a control character"},
    {"CompName", QString(QChar(0x81)), "holds a control character"},
    {"CompName", QString::fromUtf8("\u0141ukasz"),
     "holds characters the payee file cannot store (Windows-1252)"},
    {"Locality1", QString::fromUtf8("\u0141\u00f3d\u017a"),
     "holds characters the payer file cannot store (Windows-1252)", true},
    {"CompName", Repeat('x', 40), "stored"},
    {"CompName", Repeat('x', 41), "is longer than the 40 characters of the field"},
    {"AcctNum1099R", QStringLiteral("ACCT-1"), "stored"},
    {"AcctNum1099R", QStringLiteral("acct-1"),
     "holds characters other than capitals, digits and hyphens"},
    {"F1099R11", QStringLiteral("20A9"), "holds characters other than digits"},
    {"F1099INT14", QStringLiteral("AB-1"), "holds characters other than capitals and digits"},
    // flags and the program's own fields hold anything
    {"F1099NEC2", true, "stored"},
    {"TransferRecNo", int32_t(-5), "stored"},
    {"FilePassword", QString(QChar(0x01)), "stored", true},
    // a value of another kind than the field's
    {"F1099NEC1", QStringLiteral("100"), "is not a value of this field"},
  };
  // clang-format on
  for (const TValueCase& c : cases) {
    const TRecordLayout& layout = c.Payer ? PayerLayout() : PayeeLayout();
    EXPECT_EQ(Verdict(ValueProblem(*layout.Field(c.Field), c.Value)), c.Expected)
        << c.Field << " " << ValueText(c.Value).toStdString();
  }
}

// The scan of a file reads the bytes: the same verdicts, and bytes no text of the field can
// come from (a length beyond the width, an undefined byte of the code page).
TEST(RecordModel, StoredValuesAreJudgedAsTheyWouldBeStored) {
  TPayeeRecord p;
  EXPECT_EQ(RecordProblem(PayeeLayout(), p.Data()), std::nullopt) << "a blank payee";
  p.SetInt("F1099R8a", -2147483647 - 1);
  auto problem = RecordProblem(PayeeLayout(), p.Data());
  ASSERT_TRUE(problem);
  EXPECT_STREQ(problem->Field->Name, "F1099R8a");
  EXPECT_EQ(problem->Reason, "is not a percentage from 0 to 100");
  p.SetInt("F1099R8a", 40);

  const TFieldDef& comp = PayeeField("CompName");
  p.Data()[comp.Offset] = 41;
  EXPECT_EQ(Verdict(StoredProblem(p.Data(), comp)),
            "is longer than the 40 characters of the field");
  p.SetString(&comp, QStringLiteral("Blue Sky"));
  p.Data()[comp.Offset + 3] = 0x9D;
  EXPECT_EQ(Verdict(StoredProblem(p.Data(), comp)), "holds a control character");
  p.Data()[comp.Offset + 3] = 0x9F;  // Y with diaeresis
  EXPECT_EQ(Verdict(StoredProblem(p.Data(), comp)), "stored");

  p.SetString("AcctNum1099NEC", QStringLiteral("acct"));
  const char* names[] = {"F1099R8a", "AcctNum1099NEC"};
  problem = RecordProblem(PayeeLayout(), p.Data(), names);
  ASSERT_TRUE(problem);
  EXPECT_STREQ(problem->Field->Name, "AcctNum1099NEC");
}

TEST(RecordModel, TextsAreTakenAsTheFieldKeepsThem) {
  const struct {
    const char* Field;
    const char* Text;
    const char* Kept;
  } cases[] = {
      {"State", " ny ", "NY"},
      {"AcctNum1099NEC", " acct-7 ", "ACCT-7"},
      {"ZipCode", "122071234", "12207-1234"},
      {"ZipCode", "12207", "12207"},
      {"CompName", "  Blue Sky  ", "Blue Sky"},
      {"F1099S1", "  /  /    ", "  /  /    "},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NormalizedText(PayeeField(c.Field), QLatin1String(c.Text)), QLatin1String(c.Kept))
        << c.Field;
  const TFieldDef& phone = *PayerLayout().Field("PhoneNum");
  EXPECT_EQ(NormalizedText(phone, QStringLiteral("   -   -    ")), "   -   -    ");
}

TEST(RecordModel, MadeFieldsFollowWhatTheyAreMadeFrom) {
  struct TCase {
    bool Individual;
    const char *First, *Last, *Name, *City, *State, *Zip, *Tin;
    const char *MadeName, *MadeCity, *MadeTin;
  };
  const QString twenty = Repeat('F', 20), last20 = Repeat('L', 20);
  const TCase cases[] = {
      {true, "John", "Smith", "Old Name", "Troy", "NY", "12180", "212456781", "John Smith",
       "Troy NY 12180", "212-45-6781"},
      {false, "", "", "Blue Sky LLC", "Troy", "NY", "12180-1234", "212456781", "Blue Sky LLC",
       "Troy NY 12180-1234", "21-2456781"},
      {false, "John", "Smith", "Blue Sky LLC", "", "", "", "12-3456789", "Blue Sky LLC", "",
       "12-3456789"},
      {true, "Ann", "Lee", "", "Troy", "", "", "2124567", "Ann Lee", "Troy  ", "2124567"},
  };
  for (const TCase& c : cases) {
    TPayeeRecord p;
    p.SetBool("Individual", c.Individual);
    p.SetString("FirstName", QLatin1String(c.First));
    p.SetString("LastName", QLatin1String(c.Last));
    p.SetString("PayeeName", QLatin1String(c.Name));
    p.SetString("City", QLatin1String(c.City));
    p.SetString("State", QLatin1String(c.State));
    p.SetString("ZipCode", QLatin1String(c.Zip));
    p.SetString("SSN_IDNum", QLatin1String(c.Tin));
    DerivePayeeFields(p);
    EXPECT_EQ(p.GetString("PayeeName"), QLatin1String(c.MadeName));
    EXPECT_EQ(p.GetString("CityStZip"), QLatin1String(c.MadeCity));
    EXPECT_EQ(p.GetString("SSN_IDNum"), QLatin1String(c.MadeTin));
  }
  // The longest names are cut to the field; a blank payee stays all zero bytes.
  TPayeeRecord longest;
  longest.SetBool("Individual", true);
  longest.SetString("FirstName", twenty);
  longest.SetString("LastName", last20);
  DerivePayeeFields(longest);
  EXPECT_EQ(longest.GetString("PayeeName"), twenty + ' ' + last20.left(19));
  TPayeeRecord blank;
  DerivePayeeFields(blank);
  EXPECT_EQ(blank, TPayeeRecord());

  TPayerRecord payer;
  DerivePayerFields(payer);
  EXPECT_EQ(payer, TPayerRecord());
  payer.SetString("City", QStringLiteral("Albany"));
  payer.SetString("State", QStringLiteral("NY"));
  payer.SetString("ZipCode", QStringLiteral("12207"));
  payer.SetString("SignerName", QStringLiteral("Ann Lee"));
  DerivePayerFields(payer);
  EXPECT_EQ(payer.GetString("CityStZip"), "Albany NY 12207");
  EXPECT_TRUE(payer.GetBool("SignerPresent"));
  payer.SetString("SignerName", QStringLiteral("  "));
  DerivePayerFields(payer);
  EXPECT_FALSE(payer.GetBool("SignerPresent"));
}
