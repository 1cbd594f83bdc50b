#include "forms/Form1099NEC.h"

#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

// clang-format off
constexpr TControlDef kControls[] = {
  CorrectedControl("Corrected1099NEC"),
  MoneyControl("F1099NEC1", "Box1", "Box 1 Nonemployee compensation"),
  CheckControl("F1099NEC2", "Box2", "Box 2 Payer made direct sales totaling $5,000 or more of consumer products to recipient for resale"),
  MoneyControl("F1099NEC3", "Box3", "Box 3 Excess golden parachute payments"),
  MoneyControl("F1099NEC4", "Box4", "Box 4 Federal income tax withheld"),
  AcctNumControl("AcctNum1099NEC"),
  MoneyControl("F1099NEC5_1", "Box5a", "Box 5 State tax withheld, first line"),
  MoneyControl("F1099NEC7_1", "Box7a", "Box 7 State income, first line"),
  // Copy A's "2nd TIN not." box sits at the right end of the account number box.
  SecondTinControl("SecTINnot1099NEC", 3.72, 4.1),
  MoneyControl("F1099NEC5_2", "Box5b", "Box 5 State tax withheld, second line"),
  MoneyControl("F1099NEC7_2", "Box7b", "Box 7 State income, second line"),
};

constexpr auto kLabels = Join(kCommonLabels, {
  {"PayerStateID1", "Box 6 State/Payer's state no., first line", {PayerJoin, "StateName1", "StateID1"}, "Box6a", false},
  {"PayerStateID2", "Box 6 State/Payer's state no., second line", {PayerJoin, "StateName2", "StateID2"}, "Box6b", false},
  {"Lbl2ndTINnot", nullptr, {Literal, "2nd TIN not."}, nullptr, false, TAlign::Left, 3.3, 3.8, 0.66},
});

constexpr auto kPayerParams = Join(kCommonPayerParams, {
  {"Box6a",             {PayerJoin, "StateName1", "StateID1"}},
  {"Box6b",             {PayerJoin, "StateName2", "StateID2"}},
});

constexpr auto kPayeeParams = Join({
  {"Corrected",         {Flag, "Corrected1099NEC"}},
}, kCommonRecipientParams, {
  {"AcctNum",           {PayeeText, "AcctNum1099NEC"}},
  // Only Copy C, the payer's record, has the box; the report leaves it off Copy B.
  {"SecTINnot",         {Flag, "SecTINnot1099NEC"}},
  {"Box1",              {Money, "F1099NEC1"}},
  {"Box2",              {Flag, "F1099NEC2"}},
  {"Box3",              {Money, "F1099NEC3"}},
  {"Box4",              {Money, "F1099NEC4"}},
  {"Box5a",             {Money, "F1099NEC5_1"}},
  {"Box5b",             {Money, "F1099NEC5_2"}},
  {"Box7a",             {Money, "F1099NEC7_1"}},
  {"Box7b",             {Money, "F1099NEC7_2"}},
});

constexpr double kSlotTops[] = {0.47, 4.18, 7.88};

constexpr TRedCopyItem kRedCopy[] = {
  {"CORRECTED",        TCond::PayeeFlag,      "Corrected1099NEC", 3.18, -0.02, kSameRow, {Literal, "X"}, rfLine},
  {"Payer name",       TCond::Always,         nullptr, 0.6,  0.47, kSameRow, {PayerUpper, "PayerName"}, rfNone, TFit::Field, 3.2, kPayerNameFit},
  kRedPayerTradeName,
  kRedPayerAddress,
  {"Tax year",         TCond::Always,         nullptr, 5.63, 0.99, kSameRow, {TaxYear}, rfPushPos},
  kRedPayerCityLine,
  {"Payer's TIN",      TCond::Always,         nullptr, 0.6,  1.33, kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,         nullptr, 2.3,  1.33, kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  RedAmount("Box 1", "F1099NEC1", 4.0, 1.33),
  {"Recipient name",   TCond::CompNameBlank,  nullptr, 0.6,  1.83, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 1", TCond::CompNameFilled, nullptr, 0.6,  1.67, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 2", TCond::CompNameFilled, nullptr, 0.6,  1.83, kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Box 2",            TCond::PayeeFlag,      "F1099NEC2", 6.45, 1.6, kSameRow, {Literal, "X"}, rfLine},
  {"Box 3",            TCond::PayeePositive,  "F1099NEC3", 4.0, 2.0, kSameRow, {PlainMoney, "F1099NEC3"}},
  {"Recipient street", TCond::Always,         nullptr, 0.6,  2.17, kSameRow, {PayeeUpper, "Address1"}},
  {"Box 4",            TCond::PayeePositive,  "F1099NEC4", 4.0, 2.33, kSameRow, {PlainMoney, "F1099NEC4"}},
  {"Recipient city line", TCond::Always,      nullptr, 0.6,  2.5, kSameRow, {PayeeUpper, "CityStZip"}},
  RedAmount("Box 5, line 1", "F1099NEC5_1", 4.0, 2.67),
  {"Box 6, line 1",    TCond::Always,         nullptr, 5.05, 2.67, kSameRow, {PayerJoin, "StateName1", "StateID1"}, rfLine, TFit::Text, 1.5},
  RedAmount("Box 7, line 1", "F1099NEC7_1", 6.85, 2.67),
  {"Account number",   TCond::Always,         nullptr, 0.6,  2.85, kSameRow, {PayeeText, "AcctNum1099NEC"}},
  {"2nd TIN not.",     TCond::PayeeFlag,      "SecTINnot1099NEC", 3.5, 2.85, kSameRow, {Literal, "X"}, rfLine},
  RedAmount("Box 5, line 2", "F1099NEC5_2", 4.0, 2.85),
  {"Box 6, line 2",    TCond::Always,         nullptr, 5.05, 2.85, kSameRow, {PayerJoin, "StateName2", "StateID2"}, rfLine, TFit::Text, 1.5},
  RedAmount("Box 7, line 2", "F1099NEC7_2", 6.85, 2.85),
};
// clang-format on

const TFormDef kForm1099NEC = {
    "TFrm1099NEC",
    "Form 1099-NEC Nonemployee Compensation",
    ft1099NEC,
    "Form 1099-NEC",
    "Form1099NEC",
    "F1099NEC",
    "Form1099NEC",
    "i1099misc25.pdf",
    "The IRS Instructions cannot be found",
    "There are no forms available for printing.",
    kControls,
    kLabels,
    kPayerParams,
    kPayeeParams,
    {"Form 1099-NEC Report", kSlotTops, kRedCopy},
};
}  // namespace

const TFormDef& Form1099NECDef() {
  return kForm1099NEC;
}
