// The text rules every form's tables are made of: name lines, identification numbers, money,
// check marks, numbers and dates, and the red copy conditions.
#include <gtest/gtest.h>

#include "forms/FormTotals.h"
#include "forms/FormValues.h"
#include "storage/Globals.h"
#include "storage/RecordLayout.h"

namespace {
struct TValueCase {
  const char* Title;
  TValueDef Value;
  std::function<void(TPayerRecord&, TPayeeRecord&)> Fill;
  bool Mask;
  QString Expected;
};

using enum TSrc;
void None(TPayerRecord&, TPayeeRecord&) {}

class FormValuesTest : public ::testing::TestWithParam<TValueCase> {};

TEST_P(FormValuesTest, GivesTheTextOfItsRule) {
  const TValueCase& c = GetParam();
  TPayerRecord payer;
  TPayeeRecord payee;
  payer.SetString("PayerName", QStringLiteral("Acme & Co"));
  payer.SetString("EmpIDNum", QStringLiteral("12-3456789"));
  payee.SetString("PayeeName", QStringLiteral("Doe, Jane"));
  c.Fill(payer, payee);
  EXPECT_EQ(ValueText(c.Value, {payer.Data(), payee.Data(), c.Mask}), c.Expected);
}

const TValueCase kCases[] = {
    {"Literal", {Literal, "X"}, None, false, "X"},
    {"PayerUpperKeepsAmpersand", {PayerUpper, "PayerName"}, None, false, "ACME & CO"},
    {"PayerJoin",
     {PayerJoin, "StateName1", "StateID1"},
     [](TPayerRecord& p, TPayeeRecord&) {
       p.SetString("StateName1", "IL");
       p.SetString("StateID1", "12-3");
     },
     false,
     "IL 12-3"},
    {"EmptyJoinIsEmpty", {PayerJoin, "StateName2", "StateID2"}, None, false, ""},
    {"PayerName1WithoutTradeName", {PayerName1}, None, false, ""},
    {"PayerName2WithoutTradeName", {PayerName2}, None, false, "ACME & CO"},
    {"PayerName1WithTradeName",
     {PayerName1},
     [](TPayerRecord& p, TPayeeRecord&) { p.SetString("TradeName", "Builders"); },
     false,
     "ACME & CO"},
    {"PayerName2WithTradeName",
     {PayerName2},
     [](TPayerRecord& p, TPayeeRecord&) { p.SetString("TradeName", "Builders"); },
     false,
     "BUILDERS"},
    {"PayerFIDNValidEin", {PayerFIDN}, None, true, "12-3456789"},
    // The filer's own number is never masked, whatever the option says.
    {"PayerFIDNSsnNeverMasked",
     {PayerFIDN},
     [](TPayerRecord& p, TPayeeRecord&) {
       p.SetString("EmpIDNum", "");
       p.SetString("SocSecNum", "321-54-9876");
     },
     true,
     "321-54-9876"},
    {"PayerTINNeverMasked",
     {PayerTIN},
     [](TPayerRecord& p, TPayeeRecord&) {
       p.SetString("EmpIDNum", "");
       p.SetString("SocSecNum", "321-54-9876");
     },
     true,
     "321-54-9876"},
    {"RecipientFIDNMasked",
     {RecipientFIDN},
     [](TPayerRecord&, TPayeeRecord& p) { p.SetString("SSN_IDNum", "321-54-9876"); },
     true,
     "***-**-9876"},
    {"RecipientFIDNInvalidSsnShown",
     {RecipientFIDN},
     [](TPayerRecord&, TPayeeRecord& p) { p.SetString("SSN_IDNum", "666-12-3456"); },
     true,
     "666-12-3456"},
    {"RecipientName1Single", {RecipientName1}, None, false, ""},
    {"RecipientName2Single", {RecipientName2}, None, false, "DOE, JANE"},
    {"RecipientName2Second",
     {RecipientName2},
     [](TPayerRecord&, TPayeeRecord& p) { p.SetString("CompName", "Doe Llc"); },
     false,
     "DOE LLC"},
    {"MoneyWithSeparators",
     {Money, "F1099NEC1"},
     [](TPayerRecord&, TPayeeRecord& p) { p.SetDouble("F1099NEC1", 1234567.891); },
     false,
     "1,234,567.89"},
    {"MoneyBelowACentIsEmpty",
     {Money, "F1099NEC1"},
     [](TPayerRecord&, TPayeeRecord& p) { p.SetDouble("F1099NEC1", 0.004); },
     false,
     ""},
    {"PlainMoney",
     {PlainMoney, "F1099NEC1"},
     [](TPayerRecord&, TPayeeRecord& p) { p.SetDouble("F1099NEC1", 1234.5); },
     false,
     "1234.50"},
    {"FlagSet",
     {Flag, "F1099NEC2"},
     [](TPayerRecord&, TPayeeRecord& p) { p.SetBool("F1099NEC2", true); },
     false,
     "X"},
    {"FlagClear", {Flag, "F1099NEC2"}, None, false, ""},
    {"IntText", {IntText, "F1098_9"}, None, false, "0"},
    {"IntNonZeroEmpty", {IntNonZero, "F1099R8a"}, None, false, ""},
    {"IntNonZero",
     {IntNonZero, "F1099R8a"},
     [](TPayerRecord&, TPayeeRecord& p) { p.SetInt("F1099R8a", 35); },
     false,
     "35"},
    {"ValidDate",
     {ValidDate, "F1098_11"},
     [](TPayerRecord&, TPayeeRecord& p) { p.SetString("F1098_11", "02/29/2024"); },
     false,
     "02/29/2024"},
    {"InvalidDateEmpty",
     {ValidDate, "F1098_11"},
     [](TPayerRecord&, TPayeeRecord& p) { p.SetString("F1098_11", "02/30/2024"); },
     false,
     ""},
    {"BlankTextEmpty",
     {PayeeNonBlank, "F1099R11"},
     [](TPayerRecord&, TPayeeRecord& p) { p.SetString("F1099R11", "   "); },
     false,
     ""},
    {"FilledTextAsStored",
     {PayeeNonBlank, "F1099R11"},
     [](TPayerRecord&, TPayeeRecord& p) { p.SetString("F1099R11", "2019"); },
     false,
     "2019"},
    {"TaxYear", {TaxYear}, None, false, "2025"},
};

INSTANTIATE_TEST_SUITE_P(Rules, FormValuesTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Title); });

TEST(FormConditions, RedCopyConditions) {
  TPayerRecord payer;
  TPayeeRecord payee;
  const TFormData d{payer.Data(), payee.Data()};
  payee.SetDouble("F1099NEC4", 0.004);
  EXPECT_TRUE(CondHolds(TCond::PayeePositive, "F1099NEC4", d));  // a plain comparison
  EXPECT_FALSE(CondHolds(TCond::PayeePositive, "F1099NEC3", d));
  EXPECT_TRUE(CondHolds(TCond::CompNameBlank, nullptr, d));
  payee.SetString("CompName", " ");
  EXPECT_TRUE(CondHolds(TCond::CompNameBlank, nullptr, d));
  EXPECT_FALSE(CondHolds(TCond::HasTradeName, nullptr, d));
  payer.SetString("TradeName", "T");
  EXPECT_TRUE(CondHolds(TCond::HasTradeName, nullptr, d));
  EXPECT_FALSE(CondHolds(TCond::PayeeValidDate, "F1099RDOP", d));
  payee.SetString("F1099RDOP", "12/31/2025");
  EXPECT_TRUE(CondHolds(TCond::PayeeValidDate, "F1099RDOP", d));
}

// One rule for every form: a federal money box, the withheld tax among them, rounds to a cent on
// its own; what the Form 1096 adds plays no part.
TEST(FormConditions, PayeeQualifiesWhenAFederalBoxRoundsToACent) {
  struct TCase {
    uint8_t FormType;
    QList<std::pair<const char*, double>> Boxes;
    bool Qualifies;
  };
  const TCase cases[] = {
      {ft1099INT, {{"F1099INT1", 0.003}, {"F1099INT3", 0.004}}, false},  // neither is a cent
      {ft1099INT, {{"F1099INT1", 0.003}, {"F1099INT3", 0.005}}, true},   // 0.005 rounds up
      {ft1099INT, {{"F1099INT13", 5}}, true},
      {ft1099INT, {{"F1099INT2", 500}}, true},  // not added by the Form 1096, still a form
      {ft1099INT, {{"F1099INT17_1", 500}}, false},
      {ft1099NEC, {{"F1099NEC4", 0.004}}, false},
      {ft1099NEC, {{"F1099NEC4", 0.01}}, true},  // backup withholding alone files a form
      {ft1099NEC, {{"F1099NEC3", 250}}, true},
      {ft1099MISC, {{"F1099MISC11", 70}}, true},
      {ft1099MISC, {{"F1099MISC15", 70}}, true},
      {ft1098, {{"F1098_6", 10}}, true},
      {ft1099S, {{"F1099S6", 10}}, true},
  };
  for (const TCase& c : cases) {
    TPayeeRecord payee;
    for (const auto& [field, value] : c.Boxes) payee.SetDouble(field, value);
    EXPECT_EQ(FormQualifies(c.FormType, payee.Data()), c.Qualifies)
        << int(c.FormType) << " " << c.Boxes.first().first;
  }
}
}  // namespace
