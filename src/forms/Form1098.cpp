#include "forms/Form1098.h"

#include "forms/FormChecks.h"
#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

// clang-format off
constexpr TBoxDef kCorrected = CorrectedBox("Corrected1098", 3.15, -0.02);
constexpr TBoxDef kBox1 = MoneyBox("F1098_1", "Box1", "Box 1 Mortgage interest received from payer(s)/borrower(s)", RedMoney("Box 1", 4.1, 1.33, rfNone));
constexpr TBoxDef kBox2 = MoneyBox("F1098_2", "Box2", "Box 2 Outstanding mortgage principal", RedMoney("Box 2", 4.1, 1.75, rfNone));
constexpr TBoxDef kBox3 = TextBox("F1098_3", "Box3", "Box 3 Mortgage origination date", TCtlKind::Date, cfCenter, PayeeNonBlank,
                                  {"Box 3", TCond::PayeeNotBlank, 5.4, 1.75, PayeeText});
constexpr TBoxDef kBox4 = MoneyBox("F1098_4", "Box4", "Box 4 Refund of overpaid interest", RedMoney("Box 4", 4.1, 2.17, rfNone));
constexpr TBoxDef kBox5 = MoneyBox("F1098_5", "Box5", "Box 5 Mortgage insurance premiums", RedMoney("Box 5", 5.4, 2.17, rfNone));
constexpr TBoxDef kBox6 = MoneyBox("F1098_6", "Box6", "Box 6 Points paid on purchase of principal residence", RedMoney("Box 6", 4.1, 2.5, rfNone));
constexpr TBoxDef kBox7 = CheckBox("F1098_7", "Box7", "Box 7 Address of property securing mortgage is the same as payer's/borrower's address", RedCheck("Box 7", 4.03, 2.66, rfNone));
constexpr TBoxDef PropertyLine(const char* field, const char* param, const char* caption, const char* item, double row) {
  return TextBox(field, param, caption, TCtlKind::Filter, cfNone, PayeeUpper, {item, TCond::Always, 4.0, row, PayeeUpper});
}
constexpr TBoxDef kBox8a = PropertyLine("F1098_8_1", "Box8_1", "Box 8 Address or description of property securing mortgage, line 1", "Box 8, line 1", 3.5);
constexpr TBoxDef kBox8b = PropertyLine("F1098_8_2", "Box8_2", "Box 8 Address or description of property securing mortgage, line 2", "Box 8, line 2", 3.67);
constexpr TBoxDef kBox8c = PropertyLine("F1098_8_3", "Box8_3", "Box 8 Address or description of property securing mortgage, line 3", "Box 8, line 3", 3.83);
constexpr TBoxDef kBox8d = PropertyLine("F1098_8_4", "Box8_4", "Box 8 Address or description of property securing mortgage, line 4", "Box 8, line 4", 4.0);
constexpr TBoxDef kBox8e = PropertyLine("F1098_8_5", "Box8_5", "Box 8 Address or description of property securing mortgage, line 5", "Box 8, line 5", 4.17);
constexpr TBoxDef kBox8f = PropertyLine("F1098_8_6", "Box8_6", "Box 8 Address or description of property securing mortgage, line 6", "Box 8, line 6", 4.33);
constexpr TBoxDef kBox8g = PropertyLine("F1098_8_7", "Box8_7", "Box 8 Address or description of property securing mortgage, line 7", "Box 8, line 7", 4.5);
constexpr TBoxDef kBox9 = TextBox("F1098_9", "Box9", "Box 9 Number of properties securing the mortgage", TCtlKind::IntText, cfCenter, IntText,
                                  {"Box 9", TCond::Always, 0.6, 4.0, IntText});
constexpr TBoxDef kBox10 = TextBox("F1098_10", "Box10", "Box 10 Other", TCtlKind::Filter, cfNone, PayeeText,
                                   {"Box 10", TCond::Always, 2.3, 3.83, PayeeText, rfNone, TFit::Text, 1.5});
constexpr TBoxDef kAcctNum = AcctNumBox("AcctNum1098", 0.6, 4.5);
constexpr TBoxDef kBox11 = TextBox("F1098_11", "Box11", "Box 11 Mortgage acquisition date", TCtlKind::Date, cfCenter, ValidDate,
                                   {"Box 11", TCond::PayeeValidDate, 6.7, 4.5, PayeeText});

constexpr TBoxDef kBoxes[] = {kCorrected, kBox1, kBox2, kBox3, kBox4, kBox5, kBox6, kBox7,
                              kBox8a, kBox8b, kBox8c, kBox8d, kBox8e, kBox8f, kBox8g, kBox9,
                              kBox10, kAcctNum, kBox11};

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

// The borrower's block under the report's names for it.
constexpr TParamDef kRecipientParams[] = {
  {"PayerID",       {RecipientFIDN}},
  {"PayerName1",    {RecipientName1}},
  {"PayerName2",    {RecipientName2}},
  {"PayerAddress1", {PayeeUpper, "Address1"}},
  {"PayerAddress2", {PayeeUpper, "CityStZip"}},
};

constexpr double kSlotTops[] = {0.5, 6.03};

constexpr TRedCopyItem kRedCopy[] = {
  RedBox(kCorrected),
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
  RedBox(kBox1),
  RedBox(kBox2),
  RedBox(kBox3),
  RedBox(kBox4),
  RedBox(kBox5),
  RedBox(kBox6),
  RedBox(kBox7),
  RedBox(kBox8a),
  RedBox(kBox8b),
  RedBox(kBox8c),
  RedBox(kBox8d),
  RedBox(kBox8e),
  RedBox(kBox8f),
  RedBox(kBox8g),
  RedBox(kBox9),
  RedBox(kBox10),
  RedBox(kAcctNum),
  RedBox(kBox11),
};
// clang-format on

constexpr const char* kAmounts[] = {"F1098_1", "F1098_6"};
// Every money box but the state and local ones: any of them makes a form the IRS must get.
constexpr const char* kFederal[] = {"F1098_1", "F1098_2", "F1098_4", "F1098_5", "F1098_6"};

// The amounts from which the form is required for 2025.
constexpr TThreshold kThresholds[] = {{{"F1098_1"}, 600}};

const TFormDef kForm1098 = {
    .FormType = ft1098,
    .Tag = "1098",
    .ShortName = "1098",
    .Name = "Form 1098",
    .ClassName = "TFrm1098",
    .Caption = "Form 1098 Mortgage Interest Statement",
    .HelpContext = 13,
    .Menu = {"Mnu1098", "109&8", "Btn1098", "Edit Form 1098", "form:1098"},
    .Report = "Form1098",
    .OffsetPrefix = "F1098",
    .Picture = "Form1098",
    .Instructions = "i1098_25.pdf",
    .InstructionsMenu = {"MnuForm1098", "Form 109&8", "1098"},
    .NoInstructionsText = "The IRS Instructions cannot no be found",
    .NoFormsText = "There are no forms available for printing",
    .Check = Check1098,
    .Totals = {kAmounts, nullptr, kFederal},
    .Box1096 = {"CB1098", "81", 1.5, 4.17},
    .Threshold = {"$600 of mortgage interest", kThresholds},
    .Boxes = kBoxes,
    .Labels = kLabels,
    .PayerParams = kPayerParams,
    .RecipientParams = kRecipientParams,
    .RedCopy = {"Form 1098 Report", kSlotTops, kRedCopy},
    .ScreenArea = {0.4, 0.42, 8.1, 5.42},
};
}  // namespace

const TFormDef& Form1098Def() {
  return kForm1098;
}
