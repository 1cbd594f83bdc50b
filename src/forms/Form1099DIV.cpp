#include "forms/Form1099DIV.h"

#include "storage/Globals.h"

namespace {
using enum TSrc;

constexpr const char* kMoney = nullptr;
constexpr const char* kAcctChars = "[A..Z,0..9,-]";

// clang-format off
constexpr TControlDef kControls[] = {
  {"Corrected",      TCtlKind::Check,  "Corrected1099DIV", 0,  nullptr,    cfNoTabStop, "Corrected"},
  {"F1099DIV1a",     TCtlKind::Money,  "F1099DIV1a",       0,  kMoney,     cfRight,     "Box1a"},
  {"F1099DIV1b",     TCtlKind::Money,  "F1099DIV1b",       0,  kMoney,     cfRight,     "Box1b"},
  {"F1099DIV2a",     TCtlKind::Money,  "F1099DIV2a",       0,  kMoney,     cfRight,     "Box2a"},
  {"F1099DIV2b",     TCtlKind::Money,  "F1099DIV2b",       0,  kMoney,     cfRight,     "Box2b"},
  {"F1099DIV2c",     TCtlKind::Money,  "F1099DIV2c",       0,  kMoney,     cfRight,     "Box2c"},
  {"F1099DIV2d",     TCtlKind::Money,  "F1099DIV2d",       0,  kMoney,     cfRight,     "Box2d"},
  {"F1099DIV2e",     TCtlKind::Money,  "F1099DIV2e",       0,  kMoney,     cfRight,     "Box2e"},
  {"F1099DIV2f",     TCtlKind::Money,  "F1099DIV2f",       0,  kMoney,     cfRight,     "Box2f"},
  {"F1099DIV3",      TCtlKind::Money,  "F1099DIV3",        0,  kMoney,     cfRight,     "Box3"},
  {"F1099DIV4",      TCtlKind::Money,  "F1099DIV4",        0,  kMoney,     cfRight,     "Box4"},
  {"F1099DIV5",      TCtlKind::Money,  "F1099DIV5",        0,  kMoney,     cfRight,     "Box5"},
  {"F1099DIV6",      TCtlKind::Money,  "F1099DIV6",        0,  kMoney,     cfRight,     "Box6"},
  {"F1099DIV7",      TCtlKind::Money,  "F1099DIV7",        0,  kMoney,     cfRight,     "Box7"},
  {"F1099DIV8",      TCtlKind::Text,   "F1099DIV8",        12, nullptr,    cfNone,      "Box8"},
  {"F1099DIV9",      TCtlKind::Money,  "F1099DIV9",        0,  kMoney,     cfRight,     "Box9"},
  {"F1099DIV10",     TCtlKind::Money,  "F1099DIV10",       0,  kMoney,     cfRight,     "Box10"},
  {"FATCA",          TCtlKind::Check,  "FATCA1099DIV",     0,  nullptr,    cfNone,      "FATCA"},
  {"F1099DIV12",     TCtlKind::Money,  "F1099DIV12",       0,  kMoney,     cfRight,     "Box12"},
  {"F1099DIV13",     TCtlKind::Money,  "F1099DIV13",       0,  kMoney,     cfRight,     "Box13"},
  {"AcctNum1099DIV", TCtlKind::Filter, "AcctNum1099DIV",   25, kAcctChars, cfUpper,     "AcctNum"},
  // Copy A's "2nd TIN not." box sits at the right end of the account number box.
  {"SecTINnot",      TCtlKind::Check,  "SecTINnot1099DIV", 0,  nullptr,    cfNone,      nullptr,
   3.42, 5.45, 0.17},
  {"F1099DIV16_1",   TCtlKind::Money,  "F1099DIV16_1",     0,  kMoney,     cfRight,     "Box16_1"},
  {"F1099DIV16_2",   TCtlKind::Money,  "F1099DIV16_2",     0,  kMoney,     cfRight,     "Box16_2"},
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
  {"StateName1_1",  {PayerText, "StateName1"}, "Box14_1", false, TAlign::Center},
  {"StateName1_2",  {PayerText, "StateName2"}, "Box14_2", false, TAlign::Center},
  {"StateID2_1",    {PayerText, "StateID1"},   "Box15_1", false, TAlign::Center},
  {"StateID2_2",    {PayerText, "StateID2"},   "Box15_2", false, TAlign::Center},
  {"Lbl2ndTINnot",  {Literal, "2nd TIN not."}, nullptr, false, TAlign::Left, 3.0, 5.12, 0.66},
};

constexpr TParamDef kPayerParams[] = {
  {"PayerName1",        {PayerName1}},
  {"PayerName2",        {PayerName2}},
  {"PayerAddress",      {PayerJoinUpper, "Address1", "Address2"}},
  {"PayerCityStateZip", {PayerUpper, "CityStZip"}},
  {"PayerTelephone",    {PayerText, "PhoneNum"}},
  {"PayerFIDN",         {PayerFIDN}},
  {"Box14_1",           {PayerText, "StateName1"}},
  {"Box14_2",           {PayerText, "StateName2"}},
  {"Box15_1",           {PayerText, "StateID1"}},
  {"Box15_2",           {PayerText, "StateID2"}},
};

constexpr TParamDef kPayeeParams[] = {
  {"Corrected",         {Flag, "Corrected1099DIV"}},
  {"RecipientFIDN",     {RecipientFIDN}},
  {"RecipientName1",    {RecipientName1}},
  {"RecipientName2",    {RecipientName2}},
  {"RecipientAddress1", {PayeeUpper, "Address1"}},
  {"RecipientAddress2", {PayeeUpper, "CityStZip"}},
  {"AcctNum",           {PayeeText, "AcctNum1099DIV"}},
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
};

constexpr double kSlotTops[] = {0.5, 6.05};

constexpr TValueDef kPayeeName = {PayeeText, "PayeeName"};
constexpr TValueDef kPayerName = {PayerText, "PayerName"};

// A money box of the red copy: printed on its own baseline, only when it holds more than 0.
constexpr TRedCopyItem RedMoney(const char* item, const char* field, double column, double row) {
  return {item, TCond::PayeePositive, field, column, row, kSameRow, {PlainMoney, field}, rfLine};
}

constexpr TRedCopyItem kRedCopy[] = {
  {"CORRECTED",        TCond::PayeeFlag,      "Corrected1099DIV", 3.17, -0.02, kSameRow, {Literal, "X"}, rfLine},
  {"Payer name",       TCond::Always,         nullptr, 0.6,  0.5,  kSameRow, {PayerUpper, "PayerName"}, rfNone, TFit::Field, 3.2, kPayerName},
  {"Payer trade name", TCond::HasTradeName,   nullptr, 0.6,  0.67, kSameRow, {PayerUpper, "TradeName"}, rfNone, TFit::Same},
  {"Payer address",    TCond::Always,         nullptr, 0.6,  0.84, 0.67,     {PayerJoinUpper, "Address1", "Address2"}},
  {"Tax year",         TCond::Always,         nullptr, 5.6,  0.98, kSameRow, {TaxYear}, rfPushPos},
  {"Payer city line",  TCond::Always,         nullptr, 0.6,  1.01, 0.84,     {PayerUpper, "CityStZip"}},
  {"Payer phone",      TCond::Always,         nullptr, 0.6,  1.18, 1.01,     {PayerText, "PhoneNum"}},
  RedMoney("Box 1a", "F1099DIV1a", 4.1, 0.47),
  RedMoney("Box 1b", "F1099DIV1b", 4.1, 1.0),
  RedMoney("Box 2a", "F1099DIV2a", 4.1, 1.33),
  RedMoney("Box 2b", "F1099DIV2b", 5.5, 1.33),
  RedMoney("Box 2c", "F1099DIV2c", 4.1, 1.67),
  RedMoney("Box 2d", "F1099DIV2d", 5.5, 1.67),
  {"Payer's TIN",      TCond::Always,         nullptr, 0.6,  2.0,  kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,         nullptr, 2.3,  2.0,  kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  RedMoney("Box 2e", "F1099DIV2e", 4.1, 2.0),
  RedMoney("Box 2f", "F1099DIV2f", 5.5, 2.0),
  {"Recipient name",   TCond::CompNameBlank,  nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeName},
  {"Recipient name 1", TCond::CompNameFilled, nullptr, 0.6,  2.33, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeName},
  {"Recipient name 2", TCond::CompNameFilled, nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeName},
  RedMoney("Box 3", "F1099DIV3", 4.1, 2.33),
  RedMoney("Box 4", "F1099DIV4", 5.5, 2.33),
  {"Recipient street", TCond::Always,         nullptr, 0.6,  3.0,  kSameRow, {PayeeUpper, "Address1"}},
  RedMoney("Box 5", "F1099DIV5", 4.1, 2.67),
  RedMoney("Box 6", "F1099DIV6", 5.5, 2.67),
  RedMoney("Box 7", "F1099DIV7", 4.1, 3.17),
  {"Box 8",            TCond::Always,         nullptr, 5.4,  3.17, kSameRow, {PayeeUpper, "F1099DIV8"}, rfLine},
  {"Recipient city line", TCond::Always,      nullptr, 0.6,  3.5,  kSameRow, {PayeeUpper, "CityStZip"}},
  RedMoney("Box 9", "F1099DIV9", 4.1, 3.5),
  RedMoney("Box 10", "F1099DIV10", 5.5, 3.5),
  {"FATCA",            TCond::PayeeFlag,      "FATCA1099DIV", 3.44, 4.0, kSameRow, {Literal, "X"}, rfLine},
  RedMoney("Box 12", "F1099DIV12", 4.1, 4.03),
  RedMoney("Box 13", "F1099DIV13", 5.5, 4.03),
  {"2nd TIN not.",     TCond::PayeeFlag,      "SecTINnot1099DIV", 3.44, 4.36, kSameRow, {Literal, "X"}, rfLine},
  {"Box 14, line 1",   TCond::Always,         nullptr, 4.1,  4.36, kSameRow, {PayerText, "StateName1"}, rfLine},
  {"Box 15, line 1",   TCond::Always,         nullptr, 4.4,  4.36, kSameRow, {PayerText, "StateID1"}, rfLine, TFit::Text, 0.8},
  RedMoney("Box 16, line 1", "F1099DIV16_1", 5.5, 4.36),
  {"Account number",   TCond::Always,         nullptr, 0.6,  4.53, kSameRow, {PayeeText, "AcctNum1099DIV"}},
  {"Box 14, line 2",   TCond::Always,         nullptr, 4.1,  4.53, kSameRow, {PayerText, "StateName2"}, rfLine},
  {"Box 15, line 2",   TCond::Always,         nullptr, 4.4,  4.53, kSameRow, {PayerText, "StateID2"}, rfLine, TFit::Text, 0.8},
  RedMoney("Box 16, line 2", "F1099DIV16_2", 5.5, 4.53),
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
