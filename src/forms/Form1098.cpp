#include "forms/Form1098.h"

#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

constexpr const char* kAnyChar = "[]";

// clang-format off
constexpr TControlDef kControls[] = {
  CorrectedControl("Corrected1098"),
  MoneyControl("F1098_1", "Box1", "Box 1 Mortgage interest received from payer(s)/borrower(s)"),
  MoneyControl("F1098_2", "Box2", "Box 2 Outstanding mortgage principal"),
  {"F1098_3", "Box 3 Mortgage origination date", TCtlKind::Date,    "F1098_3",       0,  nullptr,    cfCenter,    "Box3"},
  MoneyControl("F1098_4", "Box4", "Box 4 Refund of overpaid interest"),
  MoneyControl("F1098_5", "Box5", "Box 5 Mortgage insurance premiums"),
  MoneyControl("F1098_6", "Box6", "Box 6 Points paid on purchase of principal residence"),
  CheckControl("F1098_7", "Box7", "Box 7 Address of property securing mortgage is the same as payer's/borrower's address"),
  {"F1098_8_1", "Box 8 Address or description of property securing mortgage, line 1", TCtlKind::Filter,  "F1098_8_1",     25, kAnyChar,   cfNone,      "Box8_1"},
  {"F1098_8_2", "Box 8 Address or description of property securing mortgage, line 2", TCtlKind::Filter,  "F1098_8_2",     25, kAnyChar,   cfNone,      "Box8_2"},
  {"F1098_8_3", "Box 8 Address or description of property securing mortgage, line 3", TCtlKind::Filter,  "F1098_8_3",     25, kAnyChar,   cfNone,      "Box8_3"},
  {"F1098_8_4", "Box 8 Address or description of property securing mortgage, line 4", TCtlKind::Filter,  "F1098_8_4",     25, kAnyChar,   cfNone,      "Box8_4"},
  {"F1098_8_5", "Box 8 Address or description of property securing mortgage, line 5", TCtlKind::Filter,  "F1098_8_5",     25, kAnyChar,   cfNone,      "Box8_5"},
  {"F1098_8_6", "Box 8 Address or description of property securing mortgage, line 6", TCtlKind::Filter,  "F1098_8_6",     25, kAnyChar,   cfNone,      "Box8_6"},
  {"F1098_8_7", "Box 8 Address or description of property securing mortgage, line 7", TCtlKind::Filter,  "F1098_8_7",     25, kAnyChar,   cfNone,      "Box8_7"},
  {"F1098_9", "Box 9 Number of properties securing the mortgage", TCtlKind::IntText, "F1098_9",       3,  nullptr,    cfCenter,    "Box9"},
  {"F1098_10", "Box 10 Other", TCtlKind::Filter,  "F1098_10",      25, kAnyChar,   cfNone,      "Box10"},
  AcctNumControl("AcctNum1098"),
  {"F1098_11", "Box 11 Mortgage acquisition date", TCtlKind::Date,    "F1098_11",      0,  nullptr,    cfCenter,    "Box11"},
};

// The lender (the payer record) fills the RECIPIENT'S/LENDER'S block, the borrower (the payee)
// the PAYER'S/BORROWER'S block: the labels keep the family's names, their places are turned round.
constexpr TLabelDef kLabels[] = {
  {"PayerName", "Recipient's/lender's name", {}, "RecipientName1"},
  {"TradeName", "Recipient's/lender's name, second line", {}, "RecipientName2"},
  {"Address", "Recipient's/lender's street address", {}, "RecipientAddress"},
  {"CityStZip", "Recipient's/lender's city, state and ZIP code", {}, "RecipientCityStateZip"},
  {"PhoneNum", "Recipient's/lender's telephone no.", {}, "RecipientTelephone"},
  {"EmpIDNum", "Recipient's/lender's TIN", {}, "RecipientID"},
  {"SSN_IDNum", "Payer's/borrower's TIN", {}, "PayerID"},
  {"PayeeName", "Payer's/borrower's name", {}, "PayerName1"},
  {"PayeeCompName", "Payer's/borrower's name, second line", {}, "PayerName2"},
  {"PayeeAddress1", "Payer's/borrower's street address", {}, "PayerAddress1"},
  {"PayeeAddress2", "Payer's/borrower's city, state and ZIP code", {}, "PayerAddress2"},
};

constexpr TParamDef kPayerParams[] = {
  {"RecipientName1",        {PayerName1}},
  {"RecipientName2",        {PayerName2}},
  {"RecipientAddress",      {PayerJoinUpper, "Address1", "Address2"}},
  {"RecipientCityStateZip", {PayerUpper, "CityStZip"}},
  {"RecipientTelephone",    {PayerText, "PhoneNum"}},
  {"RecipientID",           {PayerFIDN}},
};

constexpr TParamDef kPayeeParams[] = {
  {"Corrected",     {Flag, "Corrected1098"}},
  {"PayerID",       {RecipientFIDN}},
  {"PayerName1",    {RecipientName1}},
  {"PayerName2",    {RecipientName2}},
  {"PayerAddress1", {PayeeUpper, "Address1"}},
  {"PayerAddress2", {PayeeUpper, "CityStZip"}},
  {"AcctNum",       {PayeeText, "AcctNum1098"}},
  {"Box1",          {Money, "F1098_1"}},
  {"Box2",          {Money, "F1098_2"}},
  {"Box3",          {PayeeNonBlank, "F1098_3"}},
  {"Box4",          {Money, "F1098_4"}},
  {"Box5",          {Money, "F1098_5"}},
  {"Box6",          {Money, "F1098_6"}},
  {"Box7",          {Flag, "F1098_7"}},
  {"Box8_1",        {PayeeUpper, "F1098_8_1"}},
  {"Box8_2",        {PayeeUpper, "F1098_8_2"}},
  {"Box8_3",        {PayeeUpper, "F1098_8_3"}},
  {"Box8_4",        {PayeeUpper, "F1098_8_4"}},
  {"Box8_5",        {PayeeUpper, "F1098_8_5"}},
  {"Box8_6",        {PayeeUpper, "F1098_8_6"}},
  {"Box8_7",        {PayeeUpper, "F1098_8_7"}},
  {"Box9",          {IntText, "F1098_9"}},
  {"Box10",         {PayeeText, "F1098_10"}},
  {"Box11",         {ValidDate, "F1098_11"}},
};

constexpr double kSlotTops[] = {0.5, 6.03};

constexpr TRedCopyItem kRedCopy[] = {
  {"CORRECTED",           TCond::PayeeFlag,      "Corrected1098", 3.15, -0.02, kSameRow, {Literal, "X"}, rfLine},
  {"Lender name",         TCond::Always,         nullptr,   0.6,  0.5,  kSameRow, {PayerUpper, "PayerName"}, rfNone, TFit::Field, 3.2, kPayerNameFit},
  {"Lender trade name",   TCond::HasTradeName,   nullptr,   0.6,  0.67, kSameRow, {PayerUpper, "TradeName"}, rfNone, TFit::Same},
  {"Lender address",      TCond::Always,         nullptr,   0.6,  0.84, 0.67,     {PayerJoinUpper, "Address1", "Address2"}, rfNone, TFit::Text, 3.2},
  {"Tax year",            TCond::Always,         nullptr,   5.6,  0.98, kSameRow, {TaxYear}, rfPushPos},
  {"Lender city line",    TCond::Always,         nullptr,   0.6,  1.01, 0.84,     {PayerUpper, "CityStZip"}},
  {"Lender phone",        TCond::Always,         nullptr,   0.6,  1.18, 1.01,     {PayerText, "PhoneNum"}},
  {"Lender's TIN",        TCond::Always,         nullptr,   0.6,  2.0,  kSameRow, {PayerTIN}},
  {"Borrower's TIN",      TCond::Always,         nullptr,   2.3,  2.0,  kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  {"Borrower name",       TCond::CompNameBlank,  nullptr,   0.6,  2.5,  kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Borrower name 1",     TCond::CompNameFilled, nullptr,   0.6,  2.33, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Borrower name 2",     TCond::CompNameFilled, nullptr,   0.6,  2.5,  kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  // The borrower's street and city print as typed on the red copy (in capitals on the program's
  // own form).
  {"Borrower street",     TCond::Always,         nullptr,   0.6,  3.0,  kSameRow, {PayeeText, "Address1"}},
  {"Borrower city line",  TCond::Always,         nullptr,   0.6,  3.5,  kSameRow, {PayeeText, "CityStZip"}},
  {"Box 1",               TCond::PayeePositive,  "F1098_1", 4.1,  1.33, kSameRow, {PlainMoney, "F1098_1"}},
  {"Box 2",               TCond::PayeePositive,  "F1098_2", 4.1,  1.75, kSameRow, {PlainMoney, "F1098_2"}},
  {"Box 3",               TCond::PayeeNotBlank,  "F1098_3", 5.4,  1.75, kSameRow, {PayeeText, "F1098_3"}},
  {"Box 4",               TCond::PayeePositive,  "F1098_4", 4.1,  2.17, kSameRow, {PlainMoney, "F1098_4"}},
  {"Box 5",               TCond::PayeePositive,  "F1098_5", 5.4,  2.17, kSameRow, {PlainMoney, "F1098_5"}},
  {"Box 6",               TCond::PayeePositive,  "F1098_6", 4.1,  2.5,  kSameRow, {PlainMoney, "F1098_6"}},
  {"Box 7",               TCond::PayeeFlag,      "F1098_7", 4.03, 2.66, kSameRow, {Literal, "X"}},
  {"Box 8, line 1",       TCond::Always,         nullptr,   4.0,  3.5,  kSameRow, {PayeeUpper, "F1098_8_1"}},
  {"Box 8, line 2",       TCond::Always,         nullptr,   4.0,  3.67, kSameRow, {PayeeUpper, "F1098_8_2"}},
  {"Box 8, line 3",       TCond::Always,         nullptr,   4.0,  3.83, kSameRow, {PayeeUpper, "F1098_8_3"}},
  {"Box 8, line 4",       TCond::Always,         nullptr,   4.0,  4.0,  kSameRow, {PayeeUpper, "F1098_8_4"}},
  {"Box 8, line 5",       TCond::Always,         nullptr,   4.0,  4.17, kSameRow, {PayeeUpper, "F1098_8_5"}},
  {"Box 8, line 6",       TCond::Always,         nullptr,   4.0,  4.33, kSameRow, {PayeeUpper, "F1098_8_6"}},
  {"Box 8, line 7",       TCond::Always,         nullptr,   4.0,  4.5,  kSameRow, {PayeeUpper, "F1098_8_7"}},
  {"Box 9",               TCond::Always,         nullptr,   0.6,  4.0,  kSameRow, {IntText, "F1098_9"}},
  {"Box 10",              TCond::Always,         nullptr,   2.3,  3.83, kSameRow, {PayeeText, "F1098_10"}, rfNone, TFit::Text, 1.5},
  {"Account number",      TCond::Always,         nullptr,   0.6,  4.5,  kSameRow, {PayeeText, "AcctNum1098"}},
  {"Box 11",              TCond::PayeeValidDate, "F1098_11", 6.7, 4.5,  kSameRow, {PayeeText, "F1098_11"}},
};
// clang-format on

const TFormDef kForm1098 = {
    "TFrm1098",
    "Form 1098 Mortgage Interest Statement",
    ft1098,
    "Form 1098",
    "Form1098",
    "F1098",
    "Form1098",
    "i1098_25.pdf",
    "The IRS Instructions cannot no be found",
    "There are no forms available for printing",
    kControls,
    kLabels,
    kPayerParams,
    kPayeeParams,
    {"Form 1098 Report", kSlotTops, kRedCopy},
    true,
    {0.4, 0.42, 8.1, 5.42},
};
}  // namespace

const TFormDef& Form1098Def() {
  return kForm1098;
}
