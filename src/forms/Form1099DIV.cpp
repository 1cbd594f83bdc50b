#include "forms/Form1099DIV.h"

#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

// clang-format off
constexpr TControlDef kControls[] = {
  CorrectedControl("Corrected1099DIV"),
  MoneyControl("F1099DIV1a", "Box1a", "Box 1a Total ordinary dividends"),
  MoneyControl("F1099DIV1b", "Box1b", "Box 1b Qualified dividends"),
  MoneyControl("F1099DIV2a", "Box2a", "Box 2a Total capital gain distr."),
  MoneyControl("F1099DIV2b", "Box2b", "Box 2b Unrecap. Sec. 1250 gain"),
  MoneyControl("F1099DIV2c", "Box2c", "Box 2c Section 1202 gain"),
  MoneyControl("F1099DIV2d", "Box2d", "Box 2d Collectibles (28%) gain"),
  MoneyControl("F1099DIV2e", "Box2e", "Box 2e Section 897 ordinary dividends"),
  MoneyControl("F1099DIV2f", "Box2f", "Box 2f Section 897 capital gain"),
  MoneyControl("F1099DIV3", "Box3", "Box 3 Nondividend distributions"),
  MoneyControl("F1099DIV4", "Box4", "Box 4 Federal income tax withheld"),
  MoneyControl("F1099DIV5", "Box5", "Box 5 Section 199A dividends"),
  MoneyControl("F1099DIV6", "Box6", "Box 6 Investment expenses"),
  MoneyControl("F1099DIV7", "Box7", "Box 7 Foreign tax paid"),
  {"F1099DIV8", "Box 8 Foreign country or U.S. possession", TCtlKind::Text,   "F1099DIV8",        12, nullptr,    cfNone,      "Box8"},
  MoneyControl("F1099DIV9", "Box9", "Box 9 Cash liquidation distributions"),
  MoneyControl("F1099DIV10", "Box10", "Box 10 Noncash liquidation distributions"),
  {"FATCA", "Box 11 FATCA filing requirement", TCtlKind::Check,  "FATCA1099DIV",     0,  nullptr,    cfNone,      "FATCA"},
  MoneyControl("F1099DIV12", "Box12", "Box 12 Exempt-interest dividends"),
  MoneyControl("F1099DIV13", "Box13", "Box 13 Specified private activity bond interest dividends"),
  AcctNumControl("AcctNum1099DIV"),
  // Copy A's "2nd TIN not." box sits at the right end of the account number box.
  SecondTinControl("SecTINnot1099DIV", 3.42, 5.45),
  MoneyControl("F1099DIV16_1", "Box16_1", "Box 16 State tax withheld, first line"),
  MoneyControl("F1099DIV16_2", "Box16_2", "Box 16 State tax withheld, second line"),
};

constexpr auto kLabels = Join(kCommonLabels, {
  {"StateName1_1", "Box 14 State, first line", {PayerText, "StateName1"}, "Box14_1", false, TAlign::Center},
  {"StateName1_2", "Box 14 State, second line", {PayerText, "StateName2"}, "Box14_2", false, TAlign::Center},
  {"StateID2_1", "Box 15 State identification no., first line", {PayerText, "StateID1"},   "Box15_1", false, TAlign::Center},
  {"StateID2_2", "Box 15 State identification no., second line", {PayerText, "StateID2"},   "Box15_2", false, TAlign::Center},
  {"Lbl2ndTINnot", nullptr, {Literal, "2nd TIN not."}, nullptr, false, TAlign::Left, 3.0, 5.12, 0.66},
});

constexpr auto kPayerParams = Join(kCommonPayerParams, {
  {"Box14_1",           {PayerText, "StateName1"}},
  {"Box14_2",           {PayerText, "StateName2"}},
  {"Box15_1",           {PayerText, "StateID1"}},
  {"Box15_2",           {PayerText, "StateID2"}},
});

constexpr auto kPayeeParams = Join({
  {"Corrected",         {Flag, "Corrected1099DIV"}},
}, kCommonRecipientParams, {
  {"AcctNum",           {PayeeText, "AcctNum1099DIV"}},
  // Only Copy C, the payer's record, has the box; the report leaves it off Copy B.
  {"SecTINnot",         {Flag, "SecTINnot1099DIV"}},
  {"Box1a",             {Money, "F1099DIV1a"}},
  {"Box1b",             {Money, "F1099DIV1b"}},
  {"Box2a",             {Money, "F1099DIV2a"}},
  {"Box2b",             {Money, "F1099DIV2b"}},
  {"Box2c",             {Money, "F1099DIV2c"}},
  {"Box2d",             {Money, "F1099DIV2d"}},
  {"Box2e",             {Money, "F1099DIV2e"}},
  {"Box2f",             {Money, "F1099DIV2f"}},
  {"Box3",              {Money, "F1099DIV3"}},
  {"Box4",              {Money, "F1099DIV4"}},
  {"Box5",              {Money, "F1099DIV5"}},
  {"Box6",              {Money, "F1099DIV6"}},
  {"Box7",              {Money, "F1099DIV7"}},
  {"Box8",              {PayeeUpper, "F1099DIV8"}},
  {"Box9",              {Money, "F1099DIV9"}},
  {"Box10",             {Money, "F1099DIV10"}},
  {"Box12",             {Money, "F1099DIV12"}},
  {"Box13",             {Money, "F1099DIV13"}},
  {"Box16_1",           {Money, "F1099DIV16_1"}},
  {"Box16_2",           {Money, "F1099DIV16_2"}},
  {"FATCA",             {Flag, "FATCA1099DIV"}},
});

constexpr double kSlotTops[] = {0.5, 6.05};

constexpr TRedCopyItem kRedCopy[] = {
  {"CORRECTED",        TCond::PayeeFlag,      "Corrected1099DIV", 3.17, -0.02, kSameRow, {Literal, "X"}, rfLine},
  kRedPayerName,
  kRedPayerTradeName,
  kRedPayerAddress,
  {"Tax year",         TCond::Always,         nullptr, 5.6,  0.98, kSameRow, {TaxYear}, rfPushPos},
  kRedPayerCityLine,
  kRedPayerPhone,
  RedAmount("Box 1a", "F1099DIV1a", 4.1, 0.47),
  RedAmount("Box 1b", "F1099DIV1b", 4.1, 1.0),
  RedAmount("Box 2a", "F1099DIV2a", 4.1, 1.33),
  RedAmount("Box 2b", "F1099DIV2b", 5.5, 1.33),
  RedAmount("Box 2c", "F1099DIV2c", 4.1, 1.67),
  RedAmount("Box 2d", "F1099DIV2d", 5.5, 1.67),
  {"Payer's TIN",      TCond::Always,         nullptr, 0.6,  2.0,  kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,         nullptr, 2.3,  2.0,  kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  RedAmount("Box 2e", "F1099DIV2e", 4.1, 2.0),
  RedAmount("Box 2f", "F1099DIV2f", 5.5, 2.0),
  {"Recipient name",   TCond::CompNameBlank,  nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 1", TCond::CompNameFilled, nullptr, 0.6,  2.33, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 2", TCond::CompNameFilled, nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  RedAmount("Box 3", "F1099DIV3", 4.1, 2.33),
  RedAmount("Box 4", "F1099DIV4", 5.5, 2.33),
  {"Recipient street", TCond::Always,         nullptr, 0.6,  3.0,  kSameRow, {PayeeUpper, "Address1"}},
  RedAmount("Box 5", "F1099DIV5", 4.1, 2.67),
  RedAmount("Box 6", "F1099DIV6", 5.5, 2.67),
  RedAmount("Box 7", "F1099DIV7", 4.1, 3.17),
  {"Box 8",            TCond::Always,         nullptr, 5.4,  3.17, kSameRow, {PayeeUpper, "F1099DIV8"}, rfLine},
  {"Recipient city line", TCond::Always,      nullptr, 0.6,  3.5,  kSameRow, {PayeeUpper, "CityStZip"}},
  RedAmount("Box 9", "F1099DIV9", 4.1, 3.5),
  RedAmount("Box 10", "F1099DIV10", 5.5, 3.5),
  {"FATCA",            TCond::PayeeFlag,      "FATCA1099DIV", 3.44, 4.0, kSameRow, {Literal, "X"}, rfLine},
  RedAmount("Box 12", "F1099DIV12", 4.1, 4.03),
  RedAmount("Box 13", "F1099DIV13", 5.5, 4.03),
  {"2nd TIN not.",     TCond::PayeeFlag,      "SecTINnot1099DIV", 3.44, 4.36, kSameRow, {Literal, "X"}, rfLine},
  {"Box 14, line 1",   TCond::Always,         nullptr, 4.1,  4.36, kSameRow, {PayerText, "StateName1"}, rfLine},
  {"Box 15, line 1",   TCond::Always,         nullptr, 4.4,  4.36, kSameRow, {PayerText, "StateID1"}, rfLine, TFit::Text, 0.8},
  RedAmount("Box 16, line 1", "F1099DIV16_1", 5.5, 4.36),
  {"Account number",   TCond::Always,         nullptr, 0.6,  4.53, kSameRow, {PayeeText, "AcctNum1099DIV"}},
  {"Box 14, line 2",   TCond::Always,         nullptr, 4.1,  4.53, kSameRow, {PayerText, "StateName2"}, rfLine},
  {"Box 15, line 2",   TCond::Always,         nullptr, 4.4,  4.53, kSameRow, {PayerText, "StateID2"}, rfLine, TFit::Text, 0.8},
  RedAmount("Box 16, line 2", "F1099DIV16_2", 5.5, 4.53),
};
// clang-format on

const TFormDef kForm1099DIV = {
    "TFrm1099DIV",
    "Form 1099-DIV Dividends and Distributions",
    ft1099DIV,
    "Form 1099-DIV",
    "Form1099DIV",
    "F1099DIV",
    "Form1099DIV",
    "i1099div24.pdf",
    "The IRS Instructions cannot no be found",
    "There are no forms available for printing",
    kControls,
    kLabels,
    kPayerParams,
    kPayeeParams,
    {"Form 1099-DIV Report", kSlotTops, kRedCopy},
    true,
    {0.4, 0.42, 8.1, 5.8},
};
}  // namespace

const TFormDef& Form1099DIVDef() {
  return kForm1099DIV;
}
