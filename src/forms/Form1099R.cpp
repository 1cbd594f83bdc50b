#include "forms/Form1099R.h"

#include "forms/FormChecks.h"
#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

// clang-format off
constexpr TBoxDef kCorrected = CorrectedBox("Corrected1099R", 3.17, 0.0);
// With only tax withheld a payee's form has no gross distribution to print.
constexpr TBoxDef kBox1 = MoneyBox("F1099R1", "Box1", "Box 1 Gross distribution", RedMoney("Box 1", 4.0, 0.5));
constexpr TBoxDef kBox2 = MoneyBox("F1099R2", "Box2", "Box 2a Taxable amount", RedMoney("Box 2a", 4.0, 1.0));
constexpr TBoxDef kBox2b1 = CheckBox("F1099R2b1", "Box2b1", "Box 2b Taxable amount not determined", RedCheck("Box 2b, not determined", 5.02, 1.29, rfLine, TAlign::Center));
constexpr TBoxDef kBox2b2 = CheckBox("F1099R2b2", "Box2b2", "Box 2b Total distribution", RedCheck("Box 2b, total distribution", 6.22, 1.29, rfLine, TAlign::Center));
constexpr TBoxDef kBox3 = MoneyBox("F1099R3", "Box3", "Box 3 Capital gain (included in box 2a)", RedMoney("Box 3", 4.0, 2.02));
constexpr TBoxDef kBox4 = MoneyBox("F1099R4", "Box4", "Box 4 Federal income tax withheld", RedMoney("Box 4", 5.4, 2.02));
constexpr TBoxDef kBox5 = MoneyBox("F1099R5", "Box5", "Box 5 Employee contributions/Designated Roth contributions or insurance premiums", RedMoney("Box 5", 4.0, 2.69));
constexpr TBoxDef kBox6 = MoneyBox("F1099R6", "Box6", "Box 6 Net unrealized appreciation in employer's securities", RedMoney("Box 6", 5.4, 2.69));
constexpr TBoxDef kBox7 = TextBox("F1099R7", "Box7", "Box 7 Distribution code(s)", TCtlKind::Filter, cfUpper | cfCenter, PayeeText,
                                  {"Box 7", TCond::Always, 4.4, 3.19, PayeeText, rfLine, TFit::None, 0, TAlign::Center});
constexpr TBoxDef kBox7a = CheckBox("F1099R7a", "Box7a", "Box 7 IRA/SEP/SIMPLE", RedCheck("IRA/SEP/SIMPLE", 5.0, 3.17));
constexpr TBoxDef kBox8 = MoneyBox("F1099R8", "Box8", "Box 8 Other",
                                   {"Box 8 amount", TCond::PayeePositive, 5.4, 3.17, PlainMoney, rfLine, TFit::Text, 0.6});
constexpr TBoxDef kBox8a = TextBox("F1099R8a", "Box8a", "Box 8 Other, percentage", TCtlKind::IntText, cfRight, IntNonZero,
                                   {"Box 8 percentage", TCond::PayeeIntPositive, 6.2, 3.17, IntText, rfLine});
constexpr TBoxDef kBox9a = TextBox("F1099R9a", "Box9a", "Box 9a Your percentage of total distribution", TCtlKind::IntText, cfRight, IntNonZero,
                                   {"Box 9a", TCond::PayeeIntPositive, 4.8, 3.52, IntText, rfLine});
constexpr TBoxDef kBox9b = MoneyBox("F1099R9b", "Box9b", "Box 9b Total employee contributions", RedMoney("Box 9b", 5.4, 3.52));
constexpr TBoxDef kBox10 = MoneyBox("F1099R10", "Box10", "Box 10 Amount allocable to IRR within 5 years", RedMoney("Box 10", 0.6, 4.02));
constexpr TBoxDef kBox11 = TextBox("F1099R11", "Box11", "Box 11 1st year of desig. Roth contrib.", TCtlKind::Filter, cfCenter, PayeeNonBlank,
                                   {"Box 11", TCond::PayeeNotBlank, 2.3, 4.02, PayeeText, rfLine});
constexpr TBoxDef kFatca = FatcaBox("FATCA1099R", "Box 12 FATCA filing requirement", 3.42, 4.0);
constexpr TBoxDef kBox14a = MoneyBox("F1099R14_1", "Box14a", "Box 14 State tax withheld, first line", RedMoney("Box 14, line 1", 4.0, 3.86));
constexpr TBoxDef kBox16a = MoneyBox("F1099R16_1", "Box16a", "Box 16 State distribution, first line", RedMoney("Box 16, line 1", 6.8, 3.86));
constexpr TBoxDef kBox14b = MoneyBox("F1099R14_2", "Box14b", "Box 14 State tax withheld, second line", RedMoney("Box 14, line 2", 4.0, 4.03));
constexpr TBoxDef kBox16b = MoneyBox("F1099R16_2", "Box16b", "Box 16 State distribution, second line", RedMoney("Box 16, line 2", 6.8, 4.03));
constexpr TBoxDef kAcctNum = AcctNumBox("AcctNum1099R", 0.6, 4.53);
constexpr TBoxDef kDateOfPayment = TextBox("F1099RDOP", "DOP", "Box 13 Date of payment", TCtlKind::Date, cfCenter, ValidDate,
                                           {"Box 13", TCond::PayeeValidDate, 3.05, 4.53, PayeeText, rfLine | rfPushFont, TFit::Text, 0.75});
constexpr TBoxDef kBox17a = MoneyBox("F1099R17_1", "Box17a", "Box 17 Local tax withheld, first line", RedMoney("Box 17, line 1", 4.0, 4.36));
constexpr TBoxDef kBox19a = MoneyBox("F1099R19_1", "Box19a", "Box 19 Local distribution, first line", RedMoney("Box 19, line 1", 6.8, 4.36));
constexpr TBoxDef kBox17b = MoneyBox("F1099R17_2", "Box17b", "Box 17 Local tax withheld, second line", RedMoney("Box 17, line 2", 4.0, 4.53));
constexpr TBoxDef kBox19b = MoneyBox("F1099R19_2", "Box19b", "Box 19 Local distribution, second line", RedMoney("Box 19, line 2", 6.8, 4.53));

constexpr TBoxDef kBoxes[] = {kCorrected, kBox1, kBox2, kBox2b1, kBox2b2, kBox3, kBox4, kBox5,
                              kBox6, kBox7, kBox7a, kBox8, kBox8a, kBox9a, kBox9b, kBox10, kBox11,
                              kFatca, kBox14a, kBox16a, kBox14b, kBox16b, kAcctNum,
                              kDateOfPayment, kBox17a, kBox19a, kBox17b, kBox19b};

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

constexpr double kSlotTops[] = {0.5, 6.03};

constexpr TRedCopyItem kRedCopy[] = {
  RedBox(kCorrected),
  {"Payer name",       TCond::Always,           nullptr, 0.6,  0.5,  kSameRow, {PayerUpper, "PayerName"}, rfNone, TFit::Field, 3.2, kPayerNameFit},
  {"Payer trade name", TCond::HasTradeName,     nullptr, 0.6,  0.67, kSameRow, {PayerUpper, "TradeName"}, rfNone, TFit::Same},
  {"Payer address",    TCond::Always,           nullptr, 0.6,  0.84, 0.67,     {PayerJoinUpper, "Address1", "Address2"}},
  {"Payer city line",  TCond::Always,           nullptr, 0.6,  1.01, 0.84,     {PayerUpper, "CityStZip"}},
  {"Payer phone",      TCond::Always,           nullptr, 0.6,  1.18, 1.01,     {PayerText, "PhoneNum"}},
  RedBox(kBox1),
  RedBox(kBox2),
  RedBox(kBox2b1),
  RedBox(kBox2b2),
  {"Payer's TIN",      TCond::Always,           nullptr, 0.6,  2.02, kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,           nullptr, 2.3,  2.02, kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  RedBox(kBox3),
  RedBox(kBox4),
  {"Recipient name",   TCond::CompNameBlank,    nullptr, 0.6,  2.69, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 1", TCond::CompNameFilled,   nullptr, 0.6,  2.52, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 2", TCond::CompNameFilled,   nullptr, 0.6,  2.69, kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  RedBox(kBox5),
  RedBox(kBox6),
  {"Recipient street", TCond::Always,           nullptr, 0.6,  3.19, kSameRow, {PayeeUpper, "Address1"}},
  RedBox(kBox7),
  RedBox(kBox7a),
  RedBox(kBox8),
  RedBox(kBox8a),
  {"Recipient city line", TCond::Always,        nullptr, 0.6,  3.52, kSameRow, {PayeeUpper, "CityStZip"}},
  RedBox(kBox9a),
  RedBox(kBox9b),
  RedBox(kBox10),
  RedBox(kBox11),
  RedBox(kFatca),
  RedBox(kBox14a),
  {"Box 15, line 1",   TCond::Always,           nullptr, 5.4,  3.86, kSameRow, {PayerJoin, "StateName1", "StateID1"}, rfLine, TFit::Text, 1.15},
  RedBox(kBox16a),
  RedBox(kBox14b),
  {"Box 15, line 2",   TCond::Always,           nullptr, 5.4,  4.03, kSameRow, {PayerJoin, "StateName2", "StateID2"}, rfLine, TFit::Text, 1.15},
  RedBox(kBox16b),
  RedBox(kBox17a),
  {"Box 18, line 1",   TCond::Always,           nullptr, 5.4,  4.36, kSameRow, {PayerText, "Locality1"}, rfLine},
  RedBox(kBox19a),
  RedBox(kAcctNum),
  RedBox(kDateOfPayment),
  RedBox(kBox17b),
  {"Box 18, line 2",   TCond::Always,           nullptr, 5.4,  4.53, kSameRow, {PayerText, "Locality2"}, rfLine},
  RedBox(kBox19b),
};
// clang-format on

constexpr const char* kAmounts[] = {"F1099R1"};
// Every money box but the state and local ones: any of them makes a form the IRS must get.
constexpr const char* kFederal[] = {"F1099R1", "F1099R2", "F1099R3",  "F1099R4", "F1099R5",
                                    "F1099R6", "F1099R8", "F1099R9b", "F1099R10"};

const TFormDef kForm1099R = {
    .FormType = ft1099R,
    .Tag = "1099R",
    .ShortName = "1099-R",
    .Name = "Form 1099-R",
    .ClassName = "TFrm1099R",
    .Caption =
        "Form 1099-R Distributions From Pensions, Annuities, Retirement or Profit Sharing "
        "Plans, IRAs. Insurance Contracts, etc.",
    .HelpContext = 17,
    .Menu = {"Mnu1099R", "1099-&R", "Btn1099R", "Edit Form 1099-R", "form:1099 R"},
    .Report = "Form1099R",
    .OffsetPrefix = "F1099R",
    .Picture = "Form1099R",
    .Instructions = "i1099r24.pdf",
    .InstructionsMenu = {"MnuForm1099R", "Form 1099-&R", "1099-R"},
    .NoInstructionsText = "The IRS Instructions cannot no be found",
    .NoFormsText = "There are no forms available for printing",
    .Check = Check1099R,
    .Totals = {kAmounts, "F1099R4", kFederal},
    .Box1096 = {"CB1099R", "98", 4.05, 4.75},
    .Boxes = kBoxes,
    .Labels = kLabels,
    .PayerParams = kPayerParams,
    .RecipientParams = kCommonRecipientParams,
    .RedCopy = {"Form 1099-R Report", kSlotTops, kRedCopy},
    .ScreenArea = {0.4, 0.42, 8.1, 5.05},
    .ScreenExtra = TScreenExtra::DistCodeList,
};
}  // namespace

const TFormDef& Form1099RDef() {
  return kForm1099R;
}
