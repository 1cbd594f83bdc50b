#include "forms/Form1099NEC.h"

#include "storage/Globals.h"

namespace {
using enum TSrc;

constexpr const char* kMoney = nullptr;
constexpr const char* kAcctChars = "[A..Z,0..9,-]";

// clang-format off
constexpr TControlDef kControls[] = {
  {"Corrected",      TCtlKind::Check,  "Corrected1099NEC", 0,  nullptr,    cfNoTabStop, "Corrected"},
  {"F1099NEC1",      TCtlKind::Money,  "F1099NEC1",        0,  kMoney,     cfRight,     "Box1"},
  {"F1099NEC2",      TCtlKind::Check,  "F1099NEC2",        0,  nullptr,    cfNone,      "Box2"},
  {"F1099NEC3",      TCtlKind::Money,  "F1099NEC3",        0,  kMoney,     cfRight,     "Box3"},
  {"F1099NEC4",      TCtlKind::Money,  "F1099NEC4",        0,  kMoney,     cfRight,     "Box4"},
  {"AcctNum1099NEC", TCtlKind::Filter, "AcctNum1099NEC",   25, kAcctChars, cfUpper,     "AcctNum"},
  {"F1099NEC5_1",    TCtlKind::Money,  "F1099NEC5_1",      0,  kMoney,     cfRight,     "Box5a"},
  {"F1099NEC7_1",    TCtlKind::Money,  "F1099NEC7_1",      0,  kMoney,     cfRight,     "Box7a"},
  // Copy A's "2nd TIN not." box sits at the right end of the account number box.
  {"SecTINnot",      TCtlKind::Check,  "SecTINnot1099NEC", 0,  nullptr,    cfNone,      nullptr,
   3.72, 4.1, 0.17},
  {"F1099NEC5_2",    TCtlKind::Money,  "F1099NEC5_2",      0,  kMoney,     cfRight,     "Box5b"},
  {"F1099NEC7_2",    TCtlKind::Money,  "F1099NEC7_2",      0,  kMoney,     cfRight,     "Box7b"},
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
  {"PayerStateID1", {PayerJoin, "StateName1", "StateID1"}, "Box6a", false},
  {"PayerStateID2", {PayerJoin, "StateName2", "StateID2"}, "Box6b", false},
  {"Lbl2ndTINnot",  {Literal, "2nd TIN not."}, nullptr, false, TAlign::Left, 3.3, 3.8, 0.66},
};

constexpr TParamDef kPayerParams[] = {
  {"PayerName1",        {PayerName1}},
  {"PayerName2",        {PayerName2}},
  {"PayerAddress",      {PayerJoinUpper, "Address1", "Address2"}},
  {"PayerCityStateZip", {PayerUpper, "CityStZip"}},
  {"PayerTelephone",    {PayerText, "PhoneNum"}},
  {"PayerFIDN",         {PayerFIDN}},
  {"Box6a",             {PayerJoin, "StateName1", "StateID1"}},
  {"Box6b",             {PayerJoin, "StateName2", "StateID2"}},
};

constexpr TParamDef kPayeeParams[] = {
  {"Corrected",         {Flag, "Corrected1099NEC"}},
  {"RecipientFIDN",     {RecipientFIDN}},
  {"RecipientName1",    {RecipientName1}},
  {"RecipientName2",    {RecipientName2}},
  {"RecipientAddress1", {PayeeUpper, "Address1"}},
  {"RecipientAddress2", {PayeeUpper, "CityStZip"}},
  {"AcctNum",           {PayeeText, "AcctNum1099NEC"}},
  {"Box1",              {Money, "F1099NEC1"}},
  {"Box2",              {Flag, "F1099NEC2"}},
  {"Box3",              {Money, "F1099NEC3"}},
  {"Box4",              {Money, "F1099NEC4"}},
  {"Box5a",             {Money, "F1099NEC5_1"}},
  {"Box5b",             {Money, "F1099NEC5_2"}},
  {"Box7a",             {Money, "F1099NEC7_1"}},
  {"Box7b",             {Money, "F1099NEC7_2"}},
};

constexpr double kSlotTops[] = {0.47, 4.18, 7.88};

constexpr TValueDef kPayeeName = {PayeeText, "PayeeName"};
constexpr TValueDef kPayerName = {PayerText, "PayerName"};

constexpr TRedCopyItem kRedCopy[] = {
  {"CORRECTED",        TCond::PayeeFlag,      "Corrected1099NEC", 3.18, -0.02, kSameRow, {Literal, "X"}, rfLine},
  {"Payer name",       TCond::Always,         nullptr, 0.6,  0.47, kSameRow, {PayerUpper, "PayerName"}, rfNone, TFit::Field, 3.2, kPayerName},
  {"Payer trade name", TCond::HasTradeName,   nullptr, 0.6,  0.67, kSameRow, {PayerUpper, "TradeName"}, rfNone, TFit::Same},
  {"Payer address",    TCond::Always,         nullptr, 0.6,  0.84, 0.67,     {PayerJoinUpper, "Address1", "Address2"}},
  {"Tax year",         TCond::Always,         nullptr, 5.63, 0.99, kSameRow, {TaxYear}, rfPushPos},
  {"Payer city line",  TCond::Always,         nullptr, 0.6,  1.01, 0.84,     {PayerUpper, "CityStZip"}},
  {"Payer's TIN",      TCond::Always,         nullptr, 0.6,  1.33, kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,         nullptr, 2.3,  1.33, kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  {"Box 1",            TCond::PayeePositive,  "F1099NEC1", 4.0, 1.33, kSameRow, {PlainMoney, "F1099NEC1"}, rfLine},
  {"Recipient name",   TCond::CompNameBlank,  nullptr, 0.6,  1.83, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeName},
  {"Recipient name 1", TCond::CompNameFilled, nullptr, 0.6,  1.67, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeName},
  {"Recipient name 2", TCond::CompNameFilled, nullptr, 0.6,  1.83, kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeName},
  {"Box 2",            TCond::PayeeFlag,      "F1099NEC2", 6.45, 1.6, kSameRow, {Literal, "X"}, rfLine},
  {"Box 3",            TCond::PayeePositive,  "F1099NEC3", 4.0, 2.0, kSameRow, {PlainMoney, "F1099NEC3"}},
  {"Recipient street", TCond::Always,         nullptr, 0.6,  2.17, kSameRow, {PayeeUpper, "Address1"}},
  {"Box 4",            TCond::PayeePositive,  "F1099NEC4", 4.0, 2.33, kSameRow, {PlainMoney, "F1099NEC4"}},
  {"Recipient city line", TCond::Always,      nullptr, 0.6,  2.5, kSameRow, {PayeeUpper, "CityStZip"}},
  {"Box 5, line 1",    TCond::PayeePositive,  "F1099NEC5_1", 4.0, 2.67, kSameRow, {PlainMoney, "F1099NEC5_1"}, rfLine},
  {"Box 6, line 1",    TCond::Always,         nullptr, 5.05, 2.67, kSameRow, {PayerJoin, "StateName1", "StateID1"}, rfLine, TFit::Text, 1.5},
  {"Box 7, line 1",    TCond::PayeePositive,  "F1099NEC7_1", 6.85, 2.67, kSameRow, {PlainMoney, "F1099NEC7_1"}, rfLine},
  {"Account number",   TCond::Always,         nullptr, 0.6,  2.85, kSameRow, {PayeeText, "AcctNum1099NEC"}},
  {"2nd TIN not.",     TCond::PayeeFlag,      "SecTINnot1099NEC", 3.5, 2.85, kSameRow, {Literal, "X"}, rfLine},
  {"Box 5, line 2",    TCond::PayeePositive,  "F1099NEC5_2", 4.0, 2.85, kSameRow, {PlainMoney, "F1099NEC5_2"}, rfLine},
  {"Box 6, line 2",    TCond::Always,         nullptr, 5.05, 2.85, kSameRow, {PayerJoin, "StateName2", "StateID2"}, rfLine, TFit::Text, 1.5},
  {"Box 7, line 2",    TCond::PayeePositive,  "F1099NEC7_2", 6.85, 2.85, kSameRow, {PlainMoney, "F1099NEC7_2"}, rfLine},
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
