#include "forms/Form1099R.h"

#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

// The codes of the distribution code list, nothing else.
constexpr const char* kBox7Chars = "[1..9,A..H,J..N,P..U,W,Y]";
constexpr const char* kDigits = "[0..9]";

// clang-format off
constexpr TControlDef kControls[] = {
  CorrectedControl("Corrected1099R"),
  MoneyControl("F1099R1", "Box1", "Box 1 Gross distribution"),
  MoneyControl("F1099R2", "Box2", "Box 2a Taxable amount"),
  CheckControl("F1099R2b1", "Box2b1", "Box 2b Taxable amount not determined"),
  CheckControl("F1099R2b2", "Box2b2", "Box 2b Total distribution"),
  MoneyControl("F1099R3", "Box3", "Box 3 Capital gain (included in box 2a)"),
  MoneyControl("F1099R4", "Box4", "Box 4 Federal income tax withheld"),
  MoneyControl("F1099R5", "Box5", "Box 5 Employee contributions/Designated Roth contributions or insurance premiums"),
  MoneyControl("F1099R6", "Box6", "Box 6 Net unrealized appreciation in employer's securities"),
  {"F1099R7", "Box 7 Distribution code(s)", TCtlKind::Filter,  "F1099R7",        2,  kBox7Chars, cfUpper | cfCenter, "Box7"},
  CheckControl("F1099R7a", "Box7a", "Box 7 IRA/SEP/SIMPLE"),
  MoneyControl("F1099R8", "Box8", "Box 8 Other"),
  {"F1099R8a", "Box 8 Other, percentage", TCtlKind::IntText, "F1099R8a",       3,  kDigits,    cfRight,           "Box8a"},
  {"F1099R9a", "Box 9a Your percentage of total distribution", TCtlKind::IntText, "F1099R9a",       3,  kDigits,    cfRight,           "Box9a"},
  MoneyControl("F1099R9b", "Box9b", "Box 9b Total employee contributions"),
  MoneyControl("F1099R10", "Box10", "Box 10 Amount allocable to IRR within 5 years"),
  {"F1099R11", "Box 11 1st year of desig. Roth contrib.", TCtlKind::Filter,  "F1099R11",       4,  kDigits,    cfCenter,          "Box11"},
  {"FATCA", "Box 12 FATCA filing requirement", TCtlKind::Check,   "FATCA1099R",     0,  nullptr,    cfNone,            "FATCA"},
  MoneyControl("F1099R14_1", "Box14a", "Box 14 State tax withheld, first line"),
  MoneyControl("F1099R16_1", "Box16a", "Box 16 State distribution, first line"),
  MoneyControl("F1099R14_2", "Box14b", "Box 14 State tax withheld, second line"),
  MoneyControl("F1099R16_2", "Box16b", "Box 16 State distribution, second line"),
  AcctNumControl("AcctNum1099R"),
  {"F1099RDOP", "Box 13 Date of payment", TCtlKind::Date,    "F1099RDOP",      0,  nullptr,    cfCenter,          "DOP"},
  MoneyControl("F1099R17_1", "Box17a", "Box 17 Local tax withheld, first line"),
  MoneyControl("F1099R19_1", "Box19a", "Box 19 Local distribution, first line"),
  MoneyControl("F1099R17_2", "Box17b", "Box 17 Local tax withheld, second line"),
  MoneyControl("F1099R19_2", "Box19b", "Box 19 Local distribution, second line"),
};

// This form's report calls the payer's telephone PayerPhoneNum, so its payer rows are its own.
constexpr auto kLabels = Join({
  {"PayerName", "Payer's name", {}, "PayerName1"},
  {"TradeName", "Payer's name, second line", {}, "PayerName2"},
  {"Address", "Payer's street address", {}, "PayerAddress"},
  {"CityStZip", "Payer's city, state and ZIP code", {}, "PayerCityStateZip"},
  {"PhoneNum", "Payer's telephone no.", {}, "PayerPhoneNum"},
  {"EmpIDNum", "Payer's TIN", {}, "PayerFIDN"},
}, kCommonRecipientLabels, {
  {"PayerStateID1", "Box 15 State/Payer's state no., first line",  {PayerJoin, "StateName1", "StateID1"}, "Box15a", false},
  {"PayerStateID2", "Box 15 State/Payer's state no., second line",  {PayerJoin, "StateName2", "StateID2"}, "Box15b", false},
  {"PayerLocality1", "Box 18 Name of locality, first line", {PayerText, "Locality1"},              "Box18a", false},
  {"PayerLocality2", "Box 18 Name of locality, second line", {PayerText, "Locality2"},              "Box18b", false},
});

constexpr TParamDef kPayerParams[] = {
  {"PayerName1",        {PayerName1}},
  {"PayerName2",        {PayerName2}},
  {"PayerAddress",      {PayerJoinUpper, "Address1", "Address2"}},
  {"PayerCityStateZip", {PayerUpper, "CityStZip"}},
  {"PayerPhoneNum",     {PayerText, "PhoneNum"}},
  {"PayerFIDN",         {PayerFIDN}},
  {"Box15a",            {PayerJoin, "StateName1", "StateID1"}},
  {"Box15b",            {PayerJoin, "StateName2", "StateID2"}},
  {"Box18a",            {PayerUpper, "Locality1"}},
  {"Box18b",            {PayerUpper, "Locality2"}},
};

constexpr auto kPayeeParams = Join({
  {"Corrected",         {Flag, "Corrected1099R"}},
}, kCommonRecipientParams, {
  {"Box1",              {Money, "F1099R1"}},
  {"Box2",              {Money, "F1099R2"}},
  {"Box3",              {Money, "F1099R3"}},
  {"Box4",              {Money, "F1099R4"}},
  {"Box5",              {Money, "F1099R5"}},
  {"Box6",              {Money, "F1099R6"}},
  {"Box2b1",            {Flag, "F1099R2b1"}},
  {"Box2b2",            {Flag, "F1099R2b2"}},
  {"Box7",              {PayeeText, "F1099R7"}},
  {"Box7a",             {Flag, "F1099R7a"}},
  {"Box8",              {Money, "F1099R8"}},
  {"Box8a",             {IntNonZero, "F1099R8a"}},
  {"Box9a",             {IntNonZero, "F1099R9a"}},
  {"Box9b",             {Money, "F1099R9b"}},
  {"Box10",             {Money, "F1099R10"}},
  {"Box11",             {PayeeNonBlank, "F1099R11"}},
  {"FATCA",             {Flag, "FATCA1099R"}},
  {"Box14a",            {Money, "F1099R14_1"}},
  {"Box14b",            {Money, "F1099R14_2"}},
  {"Box16a",            {Money, "F1099R16_1"}},
  {"Box16b",            {Money, "F1099R16_2"}},
  {"AcctNum",           {PayeeText, "AcctNum1099R"}},
  {"DOP",               {ValidDate, "F1099RDOP"}},
  {"Box17a",            {Money, "F1099R17_1"}},
  {"Box17b",            {Money, "F1099R17_2"}},
  {"Box19a",            {Money, "F1099R19_1"}},
  {"Box19b",            {Money, "F1099R19_2"}},
});

constexpr double kSlotTops[] = {0.5, 6.03};

constexpr TRedCopyItem kRedCopy[] = {
  {"CORRECTED",        TCond::PayeeFlag,        "Corrected1099R", 3.17, 0.0, kSameRow, {Literal, "X"}, rfLine},
  {"Payer name",       TCond::Always,           nullptr, 0.6,  0.5,  kSameRow, {PayerUpper, "PayerName"}, rfNone, TFit::Field, 3.2, kPayerNameFit},
  {"Payer trade name", TCond::HasTradeName,     nullptr, 0.6,  0.67, kSameRow, {PayerUpper, "TradeName"}, rfNone, TFit::Same},
  {"Payer address",    TCond::Always,           nullptr, 0.6,  0.84, 0.67,     {PayerJoinUpper, "Address1", "Address2"}},
  {"Payer city line",  TCond::Always,           nullptr, 0.6,  1.01, 0.84,     {PayerUpper, "CityStZip"}},
  {"Payer phone",      TCond::Always,           nullptr, 0.6,  1.18, 1.01,     {PayerText, "PhoneNum"}},
  // With only tax withheld a payee's form has no gross distribution to print.
  RedAmount("Box 1", "F1099R1", 4.0, 0.5),
  RedAmount("Box 2a", "F1099R2", 4.0, 1.0),
  {"Box 2b, not determined", TCond::PayeeFlag,  "F1099R2b1", 5.02, 1.29, kSameRow, {Literal, "X"}, rfLine, TFit::None, 0, {}, TAlign::Center},
  {"Box 2b, total distribution", TCond::PayeeFlag, "F1099R2b2", 6.22, 1.29, kSameRow, {Literal, "X"}, rfLine, TFit::None, 0, {}, TAlign::Center},
  {"Payer's TIN",      TCond::Always,           nullptr, 0.6,  2.02, kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,           nullptr, 2.3,  2.02, kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  RedAmount("Box 3", "F1099R3", 4.0, 2.02),
  RedAmount("Box 4", "F1099R4", 5.4, 2.02),
  {"Recipient name",   TCond::CompNameBlank,    nullptr, 0.6,  2.69, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 1", TCond::CompNameFilled,   nullptr, 0.6,  2.52, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 2", TCond::CompNameFilled,   nullptr, 0.6,  2.69, kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  RedAmount("Box 5", "F1099R5", 4.0, 2.69),
  RedAmount("Box 6", "F1099R6", 5.4, 2.69),
  {"Recipient street", TCond::Always,           nullptr, 0.6,  3.19, kSameRow, {PayeeUpper, "Address1"}},
  {"Box 7",            TCond::Always,           nullptr, 4.4,  3.19, kSameRow, {PayeeText, "F1099R7"}, rfLine, TFit::None, 0, {}, TAlign::Center},
  {"IRA/SEP/SIMPLE",   TCond::PayeeFlag,        "F1099R7a", 5.0, 3.17, kSameRow, {Literal, "X"}, rfLine},
  {"Box 8 amount",     TCond::PayeePositive,    "F1099R8", 5.4, 3.17, kSameRow, {PlainMoney, "F1099R8"}, rfLine, TFit::Text, 0.6},
  {"Box 8 percentage", TCond::PayeeIntPositive, "F1099R8a", 6.2, 3.17, kSameRow, {IntText, "F1099R8a"}, rfLine},
  {"Recipient city line", TCond::Always,        nullptr, 0.6,  3.52, kSameRow, {PayeeUpper, "CityStZip"}},
  {"Box 9a",           TCond::PayeeIntPositive, "F1099R9a", 4.8, 3.52, kSameRow, {IntText, "F1099R9a"}, rfLine},
  RedAmount("Box 9b", "F1099R9b", 5.4, 3.52),
  RedAmount("Box 10", "F1099R10", 0.6, 4.02),
  {"Box 11",           TCond::PayeeNotBlank,    "F1099R11", 2.3, 4.02, kSameRow, {PayeeText, "F1099R11"}, rfLine},
  {"FATCA",            TCond::PayeeFlag,        "FATCA1099R", 3.42, 4.0, kSameRow, {Literal, "X"}, rfLine},
  RedAmount("Box 14, line 1", "F1099R14_1", 4.0, 3.86),
  {"Box 15, line 1",   TCond::Always,           nullptr, 5.4,  3.86, kSameRow, {PayerJoin, "StateName1", "StateID1"}, rfLine, TFit::Text, 1.15},
  RedAmount("Box 16, line 1", "F1099R16_1", 6.8, 3.86),
  RedAmount("Box 14, line 2", "F1099R14_2", 4.0, 4.03),
  {"Box 15, line 2",   TCond::Always,           nullptr, 5.4,  4.03, kSameRow, {PayerJoin, "StateName2", "StateID2"}, rfLine, TFit::Text, 1.15},
  RedAmount("Box 16, line 2", "F1099R16_2", 6.8, 4.03),
  RedAmount("Box 17, line 1", "F1099R17_1", 4.0, 4.36),
  {"Box 18, line 1",   TCond::Always,           nullptr, 5.4,  4.36, kSameRow, {PayerText, "Locality1"}, rfLine},
  RedAmount("Box 19, line 1", "F1099R19_1", 6.8, 4.36),
  {"Account number",   TCond::Always,           nullptr, 0.6,  4.53, kSameRow, {PayeeText, "AcctNum1099R"}},
  {"Box 13",           TCond::PayeeValidDate,   "F1099RDOP", 3.05, 4.53, kSameRow, {PayeeText, "F1099RDOP"}, rfLine | rfPushFont, TFit::Text, 0.75},
  RedAmount("Box 17, line 2", "F1099R17_2", 4.0, 4.53),
  {"Box 18, line 2",   TCond::Always,           nullptr, 5.4,  4.53, kSameRow, {PayerText, "Locality2"}, rfLine},
  RedAmount("Box 19, line 2", "F1099R19_2", 6.8, 4.53),
};
// clang-format on

const TFormDef kForm1099R = {
    "TFrm1099R",
    "Form 1099-R Distributions From Pensions, Annuities, Retirement or Profit Sharing Plans, "
    "IRAs. Insurance Contracts, etc.",
    ft1099R,
    "Form 1099-R",
    "Form1099R",
    "F1099R",
    "Form1099R",
    "i1099r24.pdf",
    "The IRS Instructions cannot no be found",
    "There are no forms available for printing",
    kControls,
    kLabels,
    kPayerParams,
    kPayeeParams,
    {"Form 1099-R Report", kSlotTops, kRedCopy},
    true,
    {0.4, 0.42, 8.1, 5.05},
};
}  // namespace

const TFormDef& Form1099RDef() {
  return kForm1099R;
}
