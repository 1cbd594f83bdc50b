#include "forms/Form1099MISC.h"

#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

// clang-format off
constexpr TControlDef kControls[] = {
  CorrectedControl("Corrected1099MISC"),
  MoneyControl("F1099MISC1", "Box1", "Box 1 Rents"),
  MoneyControl("F1099MISC2", "Box2", "Box 2 Royalties"),
  MoneyControl("F1099MISC3", "Box3", "Box 3 Other income"),
  MoneyControl("F1099MISC4", "Box4", "Box 4 Federal income tax withheld"),
  MoneyControl("F1099MISC5", "Box5", "Box 5 Fishing boat proceeds"),
  MoneyControl("F1099MISC6", "Box6", "Box 6 Medical and health care payments"),
  CheckControl("F1099MISC7", "Box7", "Box 7 Payer made direct sales totaling $5,000 or more of consumer products to recipient for resale"),
  MoneyControl("F1099MISC8", "Box8", "Box 8 Substitute payments in lieu of dividends or interest"),
  MoneyControl("F1099MISC9", "Box9", "Box 9 Crop insurance proceeds"),
  MoneyControl("F1099MISC10", "Box10", "Box 10 Gross proceeds paid to an attorney"),
  MoneyControl("F1099MISC11", "Box11", "Box 11 Fish purchased for resale"),
  MoneyControl("F1099MISC12", "Box12", "Box 12 Section 409A deferrals"),
  AcctNumControl("AcctNum1099MISC"),
  {"FATCA", "Box 13 FATCA filing requirement", TCtlKind::Check,  "FATCA1099MISC",     0,  nullptr,    cfNone,      "FATCA"},
  MoneyControl("F1099MISC15", "Box15", "Box 15 Nonqualified deferred compensation"),
  MoneyControl("F1099MISC16_1", "Box16a", "Box 16 State tax withheld, first line"),
  MoneyControl("F1099MISC18_1", "Box18a", "Box 18 State income, first line"),
  // Copy B has no "2nd TIN not." box; the screen keeps it at the right end of the account
  // number box, where Copy A has it.
  SecondTinControl("SecTINnot1099MISC", 3.72, 4.95),
  MoneyControl("F1099MISC16_2", "Box16b", "Box 16 State tax withheld, second line"),
  MoneyControl("F1099MISC18_2", "Box18b", "Box 18 State income, second line"),
};

constexpr auto kLabels = Join(kCommonLabels, {
  {"PayerStateID1", "Box 17 State/Payer's state no., first line", {PayerJoin, "StateName1", "StateID1"}, "Box17a", false},
  {"PayerStateID2", "Box 17 State/Payer's state no., second line", {PayerJoin, "StateName2", "StateID2"}, "Box17b", false},
  {"Lbl2ndTINnot", nullptr, {Literal, "2nd TIN not."}, nullptr, false, TAlign::Left, 3.3, 4.68, 0.66},
});

constexpr auto kPayerParams = Join(kCommonPayerParams, {
  {"Box17a",            {PayerJoin, "StateName1", "StateID1"}},
  {"Box17b",            {PayerJoin, "StateName2", "StateID2"}},
});

constexpr auto kPayeeParams = Join({
  {"Corrected",         {Flag, "Corrected1099MISC"}},
}, kCommonRecipientParams, {
  {"AcctNum",           {PayeeText, "AcctNum1099MISC"}},
  // Only Copy C, the payer's record, has the box; the report leaves it off Copy B.
  {"SecTINnot",         {Flag, "SecTINnot1099MISC"}},
  {"Box1",              {Money, "F1099MISC1"}},
  {"Box2",              {Money, "F1099MISC2"}},
  {"Box3",              {Money, "F1099MISC3"}},
  {"Box4",              {Money, "F1099MISC4"}},
  {"Box5",              {Money, "F1099MISC5"}},
  {"Box6",              {Money, "F1099MISC6"}},
  {"Box7",              {Flag, "F1099MISC7"}},
  {"Box8",              {Money, "F1099MISC8"}},
  {"Box9",              {Money, "F1099MISC9"}},
  {"Box10",             {Money, "F1099MISC10"}},
  {"Box11",             {Money, "F1099MISC11"}},
  {"Box12",             {Money, "F1099MISC12"}},
  {"Box15",             {Money, "F1099MISC15"}},
  {"Box16a",            {Money, "F1099MISC16_1"}},
  {"Box16b",            {Money, "F1099MISC16_2"}},
  {"Box18a",            {Money, "F1099MISC18_1"}},
  {"Box18b",            {Money, "F1099MISC18_2"}},
  {"FATCA",             {Flag, "FATCA1099MISC"}},
});

constexpr double kSlotTops[] = {0.5, 6.05};

constexpr TRedCopyItem kRedCopy[] = {
  {"CORRECTED",        TCond::PayeeFlag,      "Corrected1099MISC", 3.16, -0.02, kSameRow, {Literal, "X"}, rfLine},
  kRedPayerName,
  kRedPayerTradeName,
  kRedPayerAddress,
  {"Tax year",         TCond::Always,         nullptr, 5.6,  0.98, kSameRow, {TaxYear}, rfPushPos},
  kRedPayerCityLine,
  kRedPayerPhone,
  RedAmount("Box 1", "F1099MISC1", 4.05, 0.5),
  RedAmount("Box 2", "F1099MISC2", 4.05, 1.0),
  RedAmount("Box 3", "F1099MISC3", 4.05, 1.33),
  RedAmount("Box 4", "F1099MISC4", 5.45, 1.33),
  {"Payer's TIN",      TCond::Always,         nullptr, 0.6,  2.0,  kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,         nullptr, 2.3,  2.0,  kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  RedAmount("Box 5", "F1099MISC5", 4.05, 2.0),
  RedAmount("Box 6", "F1099MISC6", 5.45, 2.0),
  {"Recipient name",   TCond::CompNameBlank,  nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 1", TCond::CompNameFilled, nullptr, 0.6,  2.33, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 2", TCond::CompNameFilled, nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Box 7",            TCond::PayeeFlag,      "F1099MISC7", 5.0, 2.5, kSameRow, {Literal, "X"}, rfLine},
  RedAmount("Box 8", "F1099MISC8", 5.45, 2.5),
  {"Recipient street", TCond::Always,         nullptr, 0.6,  3.0,  kSameRow, {PayeeUpper, "Address1"}},
  RedAmount("Box 9", "F1099MISC9", 4.05, 3.0),
  RedAmount("Box 10", "F1099MISC10", 5.45, 3.0),
  {"Recipient city line", TCond::Always,      nullptr, 0.6,  3.5,  kSameRow, {PayeeUpper, "CityStZip"}},
  RedAmount("Box 11", "F1099MISC11", 4.05, 3.5),
  RedAmount("Box 12", "F1099MISC12", 5.45, 3.5),
  {"FATCA",            TCond::PayeeFlag,      "FATCA1099MISC", 3.5, 3.98, kSameRow, {Literal, "X"}, rfLine},
  {"2nd TIN not.",     TCond::PayeeFlag,      "SecTINnot1099MISC", 3.5, 4.36, kSameRow, {Literal, "X"}, rfLine},
  RedAmount("Box 15", "F1099MISC15", 5.45, 4.0),
  RedAmount("Box 16, line 1", "F1099MISC16_1", 4.05, 4.33),
  {"Box 17, line 1",   TCond::Always,         nullptr, 5.45, 4.33, kSameRow, {PayerJoin, "StateName1", "StateID1"}, rfLine, TFit::Text, 1.15},
  RedAmount("Box 18, line 1", "F1099MISC18_1", 6.85, 4.33),
  {"Account number",   TCond::Always,         nullptr, 0.6,  4.53, kSameRow, {PayeeText, "AcctNum1099MISC"}, rfLine},
  RedAmount("Box 16, line 2", "F1099MISC16_2", 4.05, 4.53),
  {"Box 17, line 2",   TCond::Always,         nullptr, 5.45, 4.53, kSameRow, {PayerJoin, "StateName2", "StateID2"}, rfLine, TFit::Text, 1.15},
  RedAmount("Box 18, line 2", "F1099MISC18_2", 6.85, 4.53),
};
// clang-format on

const TFormDef kForm1099MISC = {
    "TFrm1099MISC",
    "Form 1099-MISC Miscellaneous Information",
    ft1099MISC,
    "Form 1099-MISC",
    "Form1099MISC",
    "F1099MISC",
    "Form1099MISC",
    "i1099misc25.pdf",
    "The IRS Instructions cannot be found",
    "There are no forms available for printing",
    kControls,
    kLabels,
    kPayerParams,
    kPayeeParams,
    {"Form 1099-MISC Report", kSlotTops, kRedCopy},
    true,
    {0.4, 0.42, 8.1, 5.36},
};
}  // namespace

const TFormDef& Form1099MISCDef() {
  return kForm1099MISC;
}
