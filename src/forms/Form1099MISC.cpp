#include "forms/Form1099MISC.h"

#include "storage/Globals.h"

namespace {
using enum TSrc;

constexpr const char* kMoney = nullptr;
constexpr const char* kAcctChars = "[A..Z,0..9,-]";

// clang-format off
constexpr TControlDef kControls[] = {
  {"Corrected",       TCtlKind::Check,  "Corrected1099MISC", 0,  nullptr,    cfNoTabStop, "Corrected"},
  {"F1099MISC1",      TCtlKind::Money,  "F1099MISC1",        0,  kMoney,     cfRight,     "Box1"},
  {"F1099MISC2",      TCtlKind::Money,  "F1099MISC2",        0,  kMoney,     cfRight,     "Box2"},
  {"F1099MISC3",      TCtlKind::Money,  "F1099MISC3",        0,  kMoney,     cfRight,     "Box3"},
  {"F1099MISC4",      TCtlKind::Money,  "F1099MISC4",        0,  kMoney,     cfRight,     "Box4"},
  {"F1099MISC5",      TCtlKind::Money,  "F1099MISC5",        0,  kMoney,     cfRight,     "Box5"},
  {"F1099MISC6",      TCtlKind::Money,  "F1099MISC6",        0,  kMoney,     cfRight,     "Box6"},
  {"F1099MISC7",      TCtlKind::Check,  "F1099MISC7",        0,  nullptr,    cfNone,      "Box7"},
  {"F1099MISC8",      TCtlKind::Money,  "F1099MISC8",        0,  kMoney,     cfRight,     "Box8"},
  {"F1099MISC9",      TCtlKind::Money,  "F1099MISC9",        0,  kMoney,     cfRight,     "Box9"},
  {"F1099MISC10",     TCtlKind::Money,  "F1099MISC10",       0,  kMoney,     cfRight,     "Box10"},
  {"F1099MISC11",     TCtlKind::Money,  "F1099MISC11",       0,  kMoney,     cfRight,     "Box11"},
  {"F1099MISC12",     TCtlKind::Money,  "F1099MISC12",       0,  kMoney,     cfRight,     "Box12"},
  {"AcctNum1099MISC", TCtlKind::Filter, "AcctNum1099MISC",   25, kAcctChars, cfUpper,     "AcctNum"},
  {"FATCA",           TCtlKind::Check,  "FATCA1099MISC",     0,  nullptr,    cfNone,      "FATCA"},
  {"F1099MISC15",     TCtlKind::Money,  "F1099MISC15",       0,  kMoney,     cfRight,     "Box15"},
  {"F1099MISC16_1",   TCtlKind::Money,  "F1099MISC16_1",     0,  kMoney,     cfRight,     "Box16a"},
  {"F1099MISC18_1",   TCtlKind::Money,  "F1099MISC18_1",     0,  kMoney,     cfRight,     "Box18a"},
  // Copy B has no "2nd TIN not." box; the screen keeps it at the right end of the account
  // number box, where Copy A has it.
  {"SecTINnot",       TCtlKind::Check,  "SecTINnot1099MISC", 0,  nullptr,    cfNone,      nullptr,
   3.72, 4.95, 0.17},
  {"F1099MISC16_2",   TCtlKind::Money,  "F1099MISC16_2",     0,  kMoney,     cfRight,     "Box16b"},
  {"F1099MISC18_2",   TCtlKind::Money,  "F1099MISC18_2",     0,  kMoney,     cfRight,     "Box18b"},
};

constexpr TLabelDef kLabels[] = {
  {"PayerName",     {}, "PayerName1"},
  {"TradeName",     {}, "PayerName2"},
  {"Address",       {}, "PayerAddress"},
  {"CityStZip",     {}, "PayerCityStateZip"},
  {"PhoneNum",      {}, "PayerTelephone"},
  {"EmpIDNum",      {}, "PayerFIDN"},
  {"SSN_IDNum",     {}, "RecipientFIDN"},
  {"PayeeName",     {}, "RecipientName1"},
  {"PayeeCompName", {}, "RecipientName2"},
  {"PayeeAddress1", {}, "RecipientAddress1"},
  {"PayeeAddress2", {}, "RecipientAddress2"},
  {"PayerStateID1", {PayerJoin, "StateName1", "StateID1"}, "Box17a", false},
  {"PayerStateID2", {PayerJoin, "StateName2", "StateID2"}, "Box17b", false},
  {"Lbl2ndTINnot",  {Literal, "2nd TIN not."}, nullptr, false, TAlign::Left, 3.3, 4.68, 0.66},
};

constexpr TParamDef kPayerParams[] = {
  {"PayerName1",        {PayerName1}},
  {"PayerName2",        {PayerName2}},
  {"PayerAddress",      {PayerJoinUpper, "Address1", "Address2"}},
  {"PayerCityStateZip", {PayerUpper, "CityStZip"}},
  {"PayerTelephone",    {PayerText, "PhoneNum"}},
  {"PayerFIDN",         {PayerFIDN}},
  {"Box17a",            {PayerJoin, "StateName1", "StateID1"}},
  {"Box17b",            {PayerJoin, "StateName2", "StateID2"}},
};

constexpr TParamDef kPayeeParams[] = {
  {"Corrected",         {Flag, "Corrected1099MISC"}},
  {"RecipientFIDN",     {RecipientFIDN}},
  {"RecipientName1",    {RecipientName1}},
  {"RecipientName2",    {RecipientName2}},
  {"RecipientAddress1", {PayeeUpper, "Address1"}},
  {"RecipientAddress2", {PayeeUpper, "CityStZip"}},
  {"AcctNum",           {PayeeText, "AcctNum1099MISC"}},
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
};

constexpr double kSlotTops[] = {0.5, 6.05};

constexpr TValueDef kPayeeName = {PayeeText, "PayeeName"};
constexpr TValueDef kPayerName = {PayerText, "PayerName"};

// clang-format on

// Every amount of the red copy prints on the baseline of its row, only when it is above zero.
constexpr TRedCopyItem Amount(const char* item, const char* field, double column, double row) {
  return {item, TCond::PayeePositive, field, column, row, kSameRow, {PlainMoney, field}, rfLine};
}

// clang-format off
constexpr TRedCopyItem kRedCopy[] = {
  {"CORRECTED",        TCond::PayeeFlag,      "Corrected1099MISC", 3.16, -0.02, kSameRow, {Literal, "X"}, rfLine},
  {"Payer name",       TCond::Always,         nullptr, 0.6,  0.5,  kSameRow, {PayerUpper, "PayerName"}, rfNone, TFit::Field, 3.2, kPayerName},
  {"Payer trade name", TCond::HasTradeName,   nullptr, 0.6,  0.67, kSameRow, {PayerUpper, "TradeName"}, rfNone, TFit::Same},
  {"Payer address",    TCond::Always,         nullptr, 0.6,  0.84, 0.67,     {PayerJoinUpper, "Address1", "Address2"}},
  {"Tax year",         TCond::Always,         nullptr, 5.6,  0.98, kSameRow, {TaxYear}, rfPushPos},
  {"Payer city line",  TCond::Always,         nullptr, 0.6,  1.01, 0.84,     {PayerUpper, "CityStZip"}},
  {"Payer phone",      TCond::Always,         nullptr, 0.6,  1.18, 1.01,     {PayerText, "PhoneNum"}},
  Amount("Box 1", "F1099MISC1", 4.05, 0.5),
  Amount("Box 2", "F1099MISC2", 4.05, 1.0),
  Amount("Box 3", "F1099MISC3", 4.05, 1.33),
  Amount("Box 4", "F1099MISC4", 5.45, 1.33),
  {"Payer's TIN",      TCond::Always,         nullptr, 0.6,  2.0,  kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,         nullptr, 2.3,  2.0,  kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  Amount("Box 5", "F1099MISC5", 4.05, 2.0),
  Amount("Box 6", "F1099MISC6", 5.45, 2.0),
  {"Recipient name",   TCond::CompNameBlank,  nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeName},
  {"Recipient name 1", TCond::CompNameFilled, nullptr, 0.6,  2.33, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeName},
  {"Recipient name 2", TCond::CompNameFilled, nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeName},
  {"Box 7",            TCond::PayeeFlag,      "F1099MISC7", 5.0, 2.5, kSameRow, {Literal, "X"}, rfLine},
  Amount("Box 8", "F1099MISC8", 5.45, 2.5),
  {"Recipient street", TCond::Always,         nullptr, 0.6,  3.0,  kSameRow, {PayeeUpper, "Address1"}},
  Amount("Box 9", "F1099MISC9", 4.05, 3.0),
  Amount("Box 10", "F1099MISC10", 5.45, 3.0),
  {"Recipient city line", TCond::Always,      nullptr, 0.6,  3.5,  kSameRow, {PayeeUpper, "CityStZip"}},
  Amount("Box 11", "F1099MISC11", 4.05, 3.5),
  Amount("Box 12", "F1099MISC12", 5.45, 3.5),
  {"FATCA",            TCond::PayeeFlag,      "FATCA1099MISC", 3.5, 3.98, kSameRow, {Literal, "X"}, rfLine},
  {"2nd TIN not.",     TCond::PayeeFlag,      "SecTINnot1099MISC", 3.5, 4.36, kSameRow, {Literal, "X"}, rfLine},
  Amount("Box 15", "F1099MISC15", 5.45, 4.0),
  Amount("Box 16, line 1", "F1099MISC16_1", 4.05, 4.33),
  {"Box 17, line 1",   TCond::Always,         nullptr, 5.45, 4.33, kSameRow, {PayerJoin, "StateName1", "StateID1"}, rfLine, TFit::Text, 1.15},
  Amount("Box 18, line 1", "F1099MISC18_1", 6.85, 4.33),
  {"Account number",   TCond::Always,         nullptr, 0.6,  4.53, kSameRow, {PayeeText, "AcctNum1099MISC"}, rfLine},
  Amount("Box 16, line 2", "F1099MISC16_2", 4.05, 4.53),
  {"Box 17, line 2",   TCond::Always,         nullptr, 5.45, 4.53, kSameRow, {PayerJoin, "StateName2", "StateID2"}, rfLine, TFit::Text, 1.15},
  Amount("Box 18, line 2", "F1099MISC18_2", 6.85, 4.53),
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
