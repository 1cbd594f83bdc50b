#include "forms/Form1099INT.h"

#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

constexpr const char* kCusipChars = "[A..Z,0..9]";

// clang-format off
constexpr TControlDef kControls[] = {
  CorrectedControl("Corrected1099INT"),
  MoneyControl("F1099INT1", "Box1", "Box 1 Interest income"),
  MoneyControl("F1099INT2", "Box2", "Box 2 Early withdrawal penalty"),
  MoneyControl("F1099INT3", "Box3", "Box 3 Interest on U.S. Savings Bonds and Treasury obligations"),
  MoneyControl("F1099INT4", "Box4", "Box 4 Federal income tax withheld"),
  MoneyControl("F1099INT5", "Box5", "Box 5 Investment expenses"),
  MoneyControl("F1099INT6", "Box6", "Box 6 Foreign tax paid"),
  {"F1099INT7", "Box 7 Foreign country or U.S. territory", TCtlKind::Text,   "F1099INT7",        12, nullptr,     cfNone,      "Box7"},
  MoneyControl("F1099INT8", "Box8", "Box 8 Tax-exempt interest"),
  MoneyControl("F1099INT9", "Box9", "Box 9 Specified private activity bond interest"),
  MoneyControl("F1099INT10", "Box10", "Box 10 Market discount"),
  MoneyControl("F1099INT11", "Box11", "Box 11 Bond premium"),
  {"FATCA", "FATCA filing requirement", TCtlKind::Check,  "FATCA1099INT",     0,  nullptr,     cfNone,      "FATCA"},
  MoneyControl("F1099INT12", "Box12", "Box 12 Bond premium on Treasury obligations"),
  MoneyControl("F1099INT13", "Box13", "Box 13 Bond premium on tax-exempt bond"),
  AcctNumControl("AcctNum1099INT"),
  // Copy A's "2nd TIN not." box sits at the right end of the account number box.
  SecondTinControl("SecTINnot1099INT", 3.72, 4.4),
  {"F1099INT14", "Box 14 Tax-exempt and tax credit bond CUSIP no.", TCtlKind::Filter, "F1099INT14",       15, kCusipChars, cfUpper | cfCenter, "Box14"},
  MoneyControl("F1099INT17_1", "Box17_1", "Box 17 State tax withheld, first line"),
  MoneyControl("F1099INT17_2", "Box17_2", "Box 17 State tax withheld, second line"),
};

constexpr auto kLabels = Join(kCommonLabels, {
  {"PayerRTN", "Payer's RTN (optional)", {PayerText, "RTN"}, "PayerRTN"},
  {"StateID1_1", "Box 15 State, first line", {PayerText, "StateName1"}, "Box15_1", false, TAlign::Center},
  {"StateID1_2", "Box 15 State, second line", {PayerText, "StateName2"}, "Box15_2", false, TAlign::Center},
  {"StateID2_1", "Box 16 State identification no., first line", {PayerText, "StateID1"},   "Box16_1", false, TAlign::Center},
  {"StateID2_2", "Box 16 State identification no., second line", {PayerText, "StateID2"},   "Box16_2", false, TAlign::Center},
  {"Lbl2ndTINnot", nullptr, {Literal, "2nd TIN not."}, nullptr, false, TAlign::Left, 3.3, 4.12, 0.66},
});

constexpr auto kPayerParams = Join({
  {"PayerRTN",          {PayerText, "RTN"}},
}, kCommonPayerParams, {
  {"Box15_1",           {PayerText, "StateName1"}},
  {"Box15_2",           {PayerText, "StateName2"}},
  {"Box16_1",           {PayerText, "StateID1"}},
  {"Box16_2",           {PayerText, "StateID2"}},
});

constexpr auto kPayeeParams = Join({
  {"Corrected",         {Flag, "Corrected1099INT"}},
}, kCommonRecipientParams, {
  {"AcctNum",           {PayeeText, "AcctNum1099INT"}},
  // Only Copy C, the payer's record, has the box; the report leaves it off Copy B.
  {"SecTINnot",         {Flag, "SecTINnot1099INT"}},
  {"Box1",              {Money, "F1099INT1"}},
  {"Box2",              {Money, "F1099INT2"}},
  {"Box3",              {Money, "F1099INT3"}},
  {"Box4",              {Money, "F1099INT4"}},
  {"Box5",              {Money, "F1099INT5"}},
  {"Box6",              {Money, "F1099INT6"}},
  {"Box7",              {PayeeUpper, "F1099INT7"}},
  {"Box8",              {Money, "F1099INT8"}},
  {"Box9",              {Money, "F1099INT9"}},
  {"Box10",             {Money, "F1099INT10"}},
  {"Box11",             {Money, "F1099INT11"}},
  {"Box12",             {Money, "F1099INT12"}},
  {"Box13",             {Money, "F1099INT13"}},
  {"Box14",             {PayeeText, "F1099INT14"}},
  {"Box17_1",           {Money, "F1099INT17_1"}},
  {"Box17_2",           {Money, "F1099INT17_2"}},
  {"FATCA",             {Flag, "FATCA1099INT"}},
});

constexpr double kSlotTops[] = {0.5, 6.05};

// The trade name shrinks to fit its own line rather than taking the payer name's size.
constexpr TValueDef kTradeName = {PayerText, "TradeName"};

constexpr TRedCopyItem kRedCopy[] = {
  {"CORRECTED",        TCond::PayeeFlag,      "Corrected1099INT", 3.17, -0.03, kSameRow, {Literal, "X"}, rfLine},
  kRedPayerName,
  {"Payer's RTN",      TCond::Always,         nullptr, 4.1,  0.5,  kSameRow, {PayerText, "RTN"}, rfLine},
  {"Payer trade name", TCond::HasTradeName,   nullptr, 0.6,  0.67, kSameRow, {PayerUpper, "TradeName"}, rfNone, TFit::Field, 3.2, kTradeName},
  kRedPayerAddress,
  {"Tax year",         TCond::Always,         nullptr, 5.8,  0.98, kSameRow, {TaxYear}, rfPushPos},
  kRedPayerCityLine,
  kRedPayerPhone,
  RedAmount("Box 1", "F1099INT1", 4.1, 1.0),
  RedAmount("Box 2", "F1099INT2", 4.1, 1.5),
  {"Payer's TIN",      TCond::Always,         nullptr, 0.6,  2.0,  kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,         nullptr, 2.3,  2.0,  kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  RedAmount("Box 3", "F1099INT3", 4.1, 2.0),
  {"Recipient name",   TCond::CompNameBlank,  nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 1", TCond::CompNameFilled, nullptr, 0.6,  2.33, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 2", TCond::CompNameFilled, nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  RedAmount("Box 4", "F1099INT4", 4.1, 2.33),
  RedAmount("Box 5", "F1099INT5", 5.5, 2.33),
  {"Recipient street", TCond::Always,         nullptr, 0.6,  3.0,  kSameRow, {PayeeUpper, "Address1"}},
  RedAmount("Box 6", "F1099INT6", 4.1, 2.67),
  {"Box 7",            TCond::Always,         nullptr, 5.5,  2.67, kSameRow, {PayeeUpper, "F1099INT7"}, rfLine},
  {"Recipient city line", TCond::Always,      nullptr, 0.6,  3.5,  kSameRow, {PayeeUpper, "CityStZip"}},
  RedAmount("Box 8", "F1099INT8", 4.1, 3.17),
  RedAmount("Box 9", "F1099INT9", 5.5, 3.17),
  RedAmount("Box 10", "F1099INT10", 4.1, 3.67),
  RedAmount("Box 11", "F1099INT11", 5.5, 3.67),
  {"FATCA",            TCond::PayeeFlag,      "FATCA1099INT", 3.52, 3.98, kSameRow, {Literal, "X"}, rfLine},
  RedAmount("Box 12", "F1099INT12", 4.1, 4.0),
  RedAmount("Box 13", "F1099INT13", 5.5, 4.0),
  {"2nd TIN not.",     TCond::PayeeFlag,      "SecTINnot1099INT", 3.52, 4.34, kSameRow, {Literal, "X"}, rfLine},
  {"Box 15, line 1",   TCond::Always,         nullptr, 5.4,  4.36, kSameRow, {PayerText, "StateName1"}, rfLine},
  {"Box 16, line 1",   TCond::Always,         nullptr, 5.7,  4.36, kSameRow, {PayerText, "StateID1"}, rfLine, TFit::Text, 0.85},
  RedAmount("Box 17, line 1", "F1099INT17_1", 6.85, 4.36),
  {"Account number",   TCond::Always,         nullptr, 0.6,  4.53, kSameRow, {PayeeText, "AcctNum1099INT"}},
  {"Box 14",           TCond::Always,         nullptr, 4.1,  4.53, kSameRow, {PayeeText, "F1099INT14"}, rfLine, TFit::Text, 1.1},
  {"Box 15, line 2",   TCond::Always,         nullptr, 5.4,  4.53, kSameRow, {PayerText, "StateName2"}, rfLine},
  {"Box 16, line 2",   TCond::Always,         nullptr, 5.7,  4.53, kSameRow, {PayerText, "StateID2"}, rfLine, TFit::Text, 0.85},
  RedAmount("Box 17, line 2", "F1099INT17_2", 6.85, 4.53),
};
// clang-format on

const TFormDef kForm1099INT = {
    "TFrm1099INT",
    "Form 1099-INT Interest Income",
    ft1099INT,
    "Form 1099-INT",
    "Form1099INT",
    "F1099INT",
    "Form1099INT",
    "i1099int24.pdf",
    "The IRS Instructions cannot no be found",
    "There are no forms available for printing",
    kControls,
    kLabels,
    kPayerParams,
    kPayeeParams,
    {"Form 1099-INT Report", kSlotTops, kRedCopy},
    true,
    {0.4, 0.42, 8.1, 5.32},
};
}  // namespace

const TFormDef& Form1099INTDef() {
  return kForm1099INT;
}
