#include "forms/Form1099S.h"

#include "forms/FormChecks.h"
#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

// clang-format off
constexpr TBoxDef kCorrected = CorrectedBox("Corrected1099S", 3.17, -0.01);
// The date of closing prints only when it is a date: an empty box holds the mask's blanks and
// slashes, which have no place on paper.
constexpr TBoxDef kBox1 = TextBox("F1099S1", "Box1", "Box 1 Date of closing", TCtlKind::Date, cfNone, ValidDate,
                                  {"Box 1", TCond::Always, 4.1, 0.5, ValidDate, rfLine});
// Box 2 prints unconditionally: only a payee whose gross proceeds qualify reaches the red copy.
constexpr TBoxDef kBox2 = MoneyBox("F1099S2", "Box2", "Box 2 Gross proceeds",
                                   {"Box 2", TCond::Always, 4.1, 1.0, PlainMoney, rfLine});
constexpr TBoxDef kBox3a = TextBox("F1099S3_1", "Box3_1", "Box 3 Address or legal description, line 1", TCtlKind::Text, cfNone, PayeeText,
                                   {"Box 3, line 1", TCond::Always, 4.1, 1.33, PayeeUpper, rfLine});
constexpr TBoxDef kBox3b = TextBox("F1099S3_2", "Box3_2", "Box 3 Address or legal description, line 2", TCtlKind::Text, cfNone, PayeeText,
                                   {"Box 3, line 2", TCond::Always, 4.1, 1.5, PayeeUpper});
constexpr TBoxDef kBox3c = TextBox("F1099S3_3", "Box3_3", "Box 3 Address or legal description, line 3", TCtlKind::Text, cfNone, PayeeText,
                                   {"Box 3, line 3", TCond::Always, 4.1, 1.67, PayeeUpper});
constexpr TBoxDef kBox4 = CheckBox("F1099S4", "Box4", "Box 4 Transferor received or will receive property or services as part of the consideration", RedCheck("Box 4", 6.47, 1.95));
constexpr TBoxDef kBox5 = CheckBox("F1099S5", "Box5", "Box 5 Transferor is a foreign person", RedCheck("Box 5", 6.47, 2.41));
constexpr TBoxDef kAcctNum = AcctNumBox("AcctNum1099S", 0.6, 2.83);
constexpr TBoxDef kBox6 = MoneyBox("F1099S6", "Box6", "Box 6 Buyer's part of real estate tax", RedMoney("Box 6", 4.1, 2.83));

constexpr TBoxDef kBoxes[] = {kCorrected, kBox1, kBox2, kBox3a, kBox3b, kBox3c, kBox4, kBox5,
                              kAcctNum, kBox6};

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

constexpr double kSlotTops[] = {0.5, 4.18, 7.88};

constexpr TValueDef kCompName = {PayeeText, "CompName"};

constexpr TRedCopyItem kRedCopy[] = {
  RedBox(kCorrected),
  {"Filer name",        TCond::Always,         nullptr, 0.6,  0.5,  kSameRow, {PayerUpper, "PayerName"}, rfNone, TFit::Field, 3.2, kPayerNameFit},
  {"Filer address",     TCond::Always,         nullptr, 0.6,  0.67, kSameRow, {PayerJoinUpper, "Address1", "Address2"}},
  {"Tax year",          TCond::Always,         nullptr, 5.62, 0.99, kSameRow, {TaxYear}, rfPushPos},
  {"Filer city line",   TCond::Always,         nullptr, 0.6,  0.84, kSameRow, {PayerUpper, "CityStZip"}},
  {"Filer phone",       TCond::Always,         nullptr, 0.6,  1.01, kSameRow, {PayerText, "PhoneNum"}},
  RedBox(kBox1),
  RedBox(kBox2),
  {"Filer's TIN",       TCond::Always,         nullptr, 0.6,  1.33, kSameRow, {PayerTIN}},
  {"Transferor's TIN",  TCond::Always,         nullptr, 2.3,  1.33, kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  RedBox(kBox3a),
  RedBox(kBox3b),
  RedBox(kBox3c),
  {"Transferor name",   TCond::CompNameBlank,  nullptr, 0.6,  1.83, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Transferor name 1", TCond::CompNameFilled, nullptr, 0.6,  1.67, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Transferor name 2", TCond::CompNameFilled, nullptr, 0.6,  1.83, kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kCompName},
  RedBox(kBox4),
  {"Transferor street", TCond::Always,         nullptr, 0.6,  2.17, kSameRow, {PayeeUpper, "Address1"}},
  RedBox(kBox5),
  {"Transferor city line", TCond::Always,      nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "CityStZip"}},
  RedBox(kAcctNum),
  RedBox(kBox6),
};
// clang-format on

constexpr const char* kAmounts[] = {"F1099S2"};
// Every money box but the state and local ones: any of them makes a form the IRS must get.
constexpr const char* kFederal[] = {"F1099S2", "F1099S6"};

const TFormDef kForm1099S = {
    .FormType = ft1099S,
    .Tag = "1099S",
    .ShortName = "1099-S",
    .Name = "Form 1099-S",
    .ClassName = "TFrm1099S",
    .Caption = "Form 1099-S Proceeds From Real Estate Transactions",
    .HelpContext = 18,
    .Menu = {"Mnu1099S", "1099-&S", "Btn1099S", "Edit Form 1099-S", "form:1099 S"},
    .Report = "Form1099S",
    .OffsetPrefix = "F1099S",
    .Picture = "Form1099S",
    .Instructions = "i1099s25.pdf",
    .InstructionsMenu = {"MnuForm1099S", "Form 1099-&S", "1099-S"},
    .NoInstructionsText = "The IRS Instructions cannot no be found",
    .NoFormsText = "There are no forms available for printing",
    .Check = Check1099S,
    .Totals = {kAmounts, nullptr, kFederal},
    .Box1096 = {"CB1099S", "75", 4.5, 4.75},
    .Boxes = kBoxes,
    .Labels = kLabels,
    .PayerParams = kPayerParams,
    .RecipientParams = kCommonRecipientParams,
    .RedCopy = {"ReportPrinter Report", kSlotTops, kRedCopy},
    .TradeNameLine = false,
};
}  // namespace

const TFormDef& Form1099SDef() {
  return kForm1099S;
}
