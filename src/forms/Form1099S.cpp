#include "forms/Form1099S.h"

#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

// clang-format off
constexpr TControlDef kControls[] = {
  CorrectedControl("Corrected1099S"),
  {"F1099S1", "Box 1 Date of closing", TCtlKind::Date,   "F1099S1",        0,  nullptr,    cfNone,      "Box1"},
  MoneyControl("F1099S2", "Box2", "Box 2 Gross proceeds"),
  {"F1099S3_1", "Box 3 Address or legal description, line 1", TCtlKind::Text,   "F1099S3_1",      25, nullptr,    cfNone,      "Box3_1"},
  {"F1099S3_2", "Box 3 Address or legal description, line 2", TCtlKind::Text,   "F1099S3_2",      25, nullptr,    cfNone,      "Box3_2"},
  {"F1099S3_3", "Box 3 Address or legal description, line 3", TCtlKind::Text,   "F1099S3_3",      25, nullptr,    cfNone,      "Box3_3"},
  CheckControl("F1099S4", "Box4", "Box 4 Transferor received or will receive property or services as part of the consideration"),
  CheckControl("F1099S5", "Box5", "Box 5 Transferor is a foreign person"),
  AcctNumControl("AcctNum1099S"),
  MoneyControl("F1099S6", "Box6", "Box 6 Buyer's part of real estate tax"),
};

// The filer block has one name line: the trade name is not part of this form.
constexpr TLabelDef kLabels[] = {
  {"PayerName", "Filer's name", {}, "PayerName1"},
  {"Address", "Filer's street address", {}, "PayerAddress"},
  {"CityStZip", "Filer's city, state and ZIP code", {}, "PayerCityStateZip"},
  {"PhoneNum", "Filer's telephone no.", {}, "PayerTelephone"},
  {"EmpIDNum", "Filer's TIN", {}, "PayerFIDN"},
  // The recipient is the transferor here.
  {"SSN_IDNum", "Transferor's TIN", {}, "RecipientFIDN"},
  {"PayeeName", "Transferor's name", {}, "RecipientName1"},
  {"PayeeCompName", "Transferor's name, second line", {}, "RecipientName2"},
  {"PayeeAddress1", "Transferor's street address", {}, "RecipientAddress1"},
  {"PayeeAddress2", "Transferor's city, state and ZIP code", {}, "RecipientAddress2"},
};

constexpr TParamDef kPayerParams[] = {
  {"PayerName1",        {PayerUpper, "PayerName"}},
  {"PayerAddress",      {PayerJoinUpper, "Address1", "Address2"}},
  {"PayerCityStateZip", {PayerUpper, "CityStZip"}},
  {"PayerTelephone",    {PayerText, "PhoneNum"}},
  {"PayerFIDN",         {PayerFIDN}},
};

// The date of closing prints only when it is a date: an empty box holds the mask's blanks and
// slashes, which have no place on paper.
constexpr auto kPayeeParams = Join({
  {"Corrected",         {Flag, "Corrected1099S"}},
}, kCommonRecipientParams, {
  {"AcctNum",           {PayeeText, "AcctNum1099S"}},
  {"Box1",              {ValidDate, "F1099S1"}},
  {"Box2",              {Money, "F1099S2"}},
  {"Box3_1",            {PayeeText, "F1099S3_1"}},
  {"Box3_2",            {PayeeText, "F1099S3_2"}},
  {"Box3_3",            {PayeeText, "F1099S3_3"}},
  {"Box4",              {Flag, "F1099S4"}},
  {"Box5",              {Flag, "F1099S5"}},
  {"Box6",              {Money, "F1099S6"}},
});

constexpr double kSlotTops[] = {0.5, 4.18, 7.88};

constexpr TValueDef kCompName = {PayeeText, "CompName"};

// Box 2 prints unconditionally: only a payee whose gross proceeds qualify reaches the red copy.
constexpr TRedCopyItem kRedCopy[] = {
  {"CORRECTED",         TCond::PayeeFlag,      "Corrected1099S", 3.17, -0.01, kSameRow, {Literal, "X"}, rfLine},
  {"Filer name",        TCond::Always,         nullptr, 0.6,  0.5,  kSameRow, {PayerUpper, "PayerName"}, rfNone, TFit::Field, 3.2, kPayerNameFit},
  {"Filer address",     TCond::Always,         nullptr, 0.6,  0.67, kSameRow, {PayerJoinUpper, "Address1", "Address2"}},
  {"Tax year",          TCond::Always,         nullptr, 5.62, 0.99, kSameRow, {TaxYear}, rfPushPos},
  {"Filer city line",   TCond::Always,         nullptr, 0.6,  0.84, kSameRow, {PayerUpper, "CityStZip"}},
  {"Filer phone",       TCond::Always,         nullptr, 0.6,  1.01, kSameRow, {PayerText, "PhoneNum"}},
  {"Box 1",             TCond::Always,         nullptr, 4.1,  0.5,  kSameRow, {ValidDate, "F1099S1"}, rfLine},
  {"Box 2",             TCond::Always,         nullptr, 4.1,  1.0,  kSameRow, {PlainMoney, "F1099S2"}, rfLine},
  {"Filer's TIN",       TCond::Always,         nullptr, 0.6,  1.33, kSameRow, {PayerTIN}},
  {"Transferor's TIN",  TCond::Always,         nullptr, 2.3,  1.33, kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  {"Box 3, line 1",     TCond::Always,         nullptr, 4.1,  1.33, kSameRow, {PayeeUpper, "F1099S3_1"}, rfLine},
  {"Box 3, line 2",     TCond::Always,         nullptr, 4.1,  1.5,  kSameRow, {PayeeUpper, "F1099S3_2"}},
  {"Box 3, line 3",     TCond::Always,         nullptr, 4.1,  1.67, kSameRow, {PayeeUpper, "F1099S3_3"}},
  {"Transferor name",   TCond::CompNameBlank,  nullptr, 0.6,  1.83, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Transferor name 1", TCond::CompNameFilled, nullptr, 0.6,  1.67, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Transferor name 2", TCond::CompNameFilled, nullptr, 0.6,  1.83, kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kCompName},
  {"Box 4",             TCond::PayeeFlag,      "F1099S4", 6.47, 1.95, kSameRow, {Literal, "X"}, rfLine},
  {"Transferor street", TCond::Always,         nullptr, 0.6,  2.17, kSameRow, {PayeeUpper, "Address1"}},
  {"Box 5",             TCond::PayeeFlag,      "F1099S5", 6.47, 2.41, kSameRow, {Literal, "X"}, rfLine},
  {"Transferor city line", TCond::Always,      nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "CityStZip"}},
  {"Account number",    TCond::Always,         nullptr, 0.6,  2.83, kSameRow, {PayeeText, "AcctNum1099S"}},
  RedAmount("Box 6", "F1099S6", 4.1, 2.83),
};
// clang-format on

const TFormDef kForm1099S = {
    "TFrm1099S",
    "Form 1099-S Proceeds From Real Estate Transactions",
    ft1099S,
    "Form 1099-S",
    "Form1099S",
    "F1099S",
    "Form1099S",
    "i1099s25.pdf",
    "The IRS Instructions cannot no be found",
    "There are no forms available for printing",
    kControls,
    kLabels,
    kPayerParams,
    kPayeeParams,
    {"ReportPrinter Report", kSlotTops, kRedCopy},
    false,
    {0.4, 0.42, 8.1, 4.45},
};
}  // namespace

const TFormDef& Form1099SDef() {
  return kForm1099S;
}
