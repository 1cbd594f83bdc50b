// The text rules every form's tables are made of: name lines, identification numbers, money,
// check marks, numbers and dates, and the red copy conditions.
#include <gtest/gtest.h>

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
  MaskSSNOption = c.Mask;
  EXPECT_EQ(ValueText(c.Value, {payer.Data(), payee.Data()}), c.Expected);
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
    {"EmptyJoinIsOneSpace", {PayerJoin, "StateName2", "StateID2"}, None, false, " "},
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
    {"PayerFIDNMaskedSsn",
     {PayerFIDN},
     [](TPayerRecord& p, TPayeeRecord&) {
       p.SetString("EmpIDNum", "");
       p.SetString("SocSecNum", "321-54-9876");
     },
     true,
     "***-**-9876"},
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

TEST(FormConditions, QualifyingTestsRoundOnlyWhereTheFormSays) {
  TPayerRecord payer;
  TPayeeRecord payee;
  const TFormData d{payer.Data(), payee.Data()};
  const char* const fields[] = {"F1099INT1", "F1099INT3"};
  payee.SetDouble("F1099INT1", 0.003);
  payee.SetDouble("F1099INT3", 0.001);
  EXPECT_FALSE(Qualifies({fields, fields, true}, d, false));
  EXPECT_FALSE(Qualifies({fields, fields, true}, d, true));
  EXPECT_TRUE(Qualifies({fields, fields, false}, d, true));
  payee.SetDouble("F1099INT3", 0.002);  // 0.005 rounds to a cent
  EXPECT_TRUE(Qualifies({fields, fields, true}, d, false));
}
}  // namespace
