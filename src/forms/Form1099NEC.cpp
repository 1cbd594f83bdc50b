#include "forms/Form1099NEC.h"

#include "forms/FormChecks.h"
#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

// clang-format off
constexpr TBoxDef kCorrected = CorrectedBox("Corrected1099NEC", 3.18, -0.02);
constexpr TBoxDef kBox1 = MoneyBox("F1099NEC1", "Box1", "Box 1 Nonemployee compensation", RedMoney("Box 1", 4.0, 1.33));
constexpr TBoxDef kBox2 = CheckBox("F1099NEC2", "Box2", "Box 2 Payer made direct sales totaling $5,000 or more of consumer products to recipient for resale", RedCheck("Box 2", 6.45, 1.6));
constexpr TBoxDef kBox3 = MoneyBox("F1099NEC3", "Box3", "Box 3 Excess golden parachute payments", RedMoney("Box 3", 4.0, 2.0, rfNone));
constexpr TBoxDef kBox4 = MoneyBox("F1099NEC4", "Box4", "Box 4 Federal income tax withheld", RedMoney("Box 4", 4.0, 2.33, rfNone));
constexpr TBoxDef kAcctNum = AcctNumBox("AcctNum1099NEC", 0.6, 2.85);
constexpr TBoxDef kBox5a = MoneyBox("F1099NEC5_1", "Box5a", "Box 5 State tax withheld, first line", RedMoney("Box 5, line 1", 4.0, 2.67));
constexpr TBoxDef kBox7a = MoneyBox("F1099NEC7_1", "Box7a", "Box 7 State income, first line", RedMoney("Box 7, line 1", 6.85, 2.67));
// Copy A's "2nd TIN not." box sits at the right end of the account number box.
constexpr TBoxDef kSecondTin = SecondTinBox("SecTINnot1099NEC", 3.72, 4.1, 3.5, 2.85);
constexpr TBoxDef kBox5b = MoneyBox("F1099NEC5_2", "Box5b", "Box 5 State tax withheld, second line", RedMoney("Box 5, line 2", 4.0, 2.85));
constexpr TBoxDef kBox7b = MoneyBox("F1099NEC7_2", "Box7b", "Box 7 State income, second line", RedMoney("Box 7, line 2", 6.85, 2.85));

constexpr TBoxDef kBoxes[] = {kCorrected, kBox1, kBox2, kBox3, kBox4, kAcctNum, kBox5a, kBox7a,
                              kSecondTin, kBox5b, kBox7b};

constexpr auto kLabels = Join(kCommonLabels, {
  {"PayerStateID1", "Box 6 State/Payer's state no., first line", {PayerJoin, "StateName1", "StateID1"}, "Box6a", false},
  {"PayerStateID2", "Box 6 State/Payer's state no., second line", {PayerJoin, "StateName2", "StateID2"}, "Box6b", false},
  {"Lbl2ndTINnot", nullptr, {Literal, "2nd TIN not."}, nullptr, false, TAlign::Left, 3.3, 3.8, 0.66},
});

constexpr auto kPayerParams = Join(kCommonPayerParams, {
  {"Box6a",             {PayerJoin, "StateName1", "StateID1"}},
  {"Box6b",             {PayerJoin, "StateName2", "StateID2"}},
});

constexpr double kSlotTops[] = {0.47, 4.18, 7.88};

constexpr TRedCopyItem kRedCopy[] = {
  RedBox(kCorrected),
  {"Payer name",       TCond::Always,         nullptr, 0.6,  0.47, kSameRow, {PayerUpper, "PayerName"}, rfNone, TFit::Field, 3.2, kPayerNameFit},
  kRedPayerTradeName,
  kRedPayerAddress,
  {"Tax year",         TCond::Always,         nullptr, 5.63, 0.99, kSameRow, {TaxYear}, rfPushPos},
  kRedPayerCityLine,
  {"Payer's TIN",      TCond::Always,         nullptr, 0.6,  1.33, kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,         nullptr, 2.3,  1.33, kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  RedBox(kBox1),
  {"Recipient name",   TCond::CompNameBlank,  nullptr, 0.6,  1.83, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 1", TCond::CompNameFilled, nullptr, 0.6,  1.67, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 2", TCond::CompNameFilled, nullptr, 0.6,  1.83, kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  RedBox(kBox2),
  RedBox(kBox3),
  {"Recipient street", TCond::Always,         nullptr, 0.6,  2.17, kSameRow, {PayeeUpper, "Address1"}},
  RedBox(kBox4),
  {"Recipient city line", TCond::Always,      nullptr, 0.6,  2.5, kSameRow, {PayeeUpper, "CityStZip"}},
  RedBox(kBox5a),
  {"Box 6, line 1",    TCond::Always,         nullptr, 5.05, 2.67, kSameRow, {PayerJoin, "StateName1", "StateID1"}, rfLine, TFit::Text, 1.5},
  RedBox(kBox7a),
  RedBox(kAcctNum),
  RedBox(kSecondTin),
  RedBox(kBox5b),
  {"Box 6, line 2",    TCond::Always,         nullptr, 5.05, 2.85, kSameRow, {PayerJoin, "StateName2", "StateID2"}, rfLine, TFit::Text, 1.5},
  RedBox(kBox7b),
};
// clang-format on

constexpr const char* kAmounts[] = {"F1099NEC1", "F1099NEC3"};
// Every money box but the state and local ones: any of them makes a form the IRS must get.
constexpr const char* kFederal[] = {"F1099NEC1", "F1099NEC3", "F1099NEC4"};

// The amounts from which the form is required for 2025.
constexpr TThreshold kThresholds[] = {{{"F1099NEC1"}, 600}};

const TFormDef kForm1099NEC = {
    .FormType = ft1099NEC,
    .Tag = "1099NEC",
    .ShortName = "1099-NEC",
    .Name = "Form 1099-NEC",
    .ClassName = "TFrm1099NEC",
    .Caption = "Form 1099-NEC Nonemployee Compensation",
    .HelpContext = 26,
    .Menu = {"Mnu1099NEC", "1099-&NEC", "Btn1099NEC", "Edit Form 1099-NEC", "form:1099 NEC"},
    .Report = "Form1099NEC",
    .OffsetPrefix = "F1099NEC",
    .Picture = "Form1099NEC",
    .Instructions = "i1099misc25.pdf",
    .InstructionsMenu = {},  // the 1099-MISC's
    .NoInstructionsText = "The IRS Instructions cannot be found",
    .NoFormsText = "There are no forms available for printing.",
    .Check = Check1099NEC,
    .Totals = {kAmounts, "F1099NEC4", kFederal, "F1099NEC2"},
    .Box1096 = {"CB1099NEC", "71", 1.92, 4.75},
    .Threshold = {"$600 of nonemployee compensation", kThresholds},
    .BackupWithholding = true,
    .Boxes = kBoxes,
    .Labels = kLabels,
    .PayerParams = kPayerParams,
    .RecipientParams = kCommonRecipientParams,
    .RedCopy = {"Form 1099-NEC Report", kSlotTops, kRedCopy},
};
}  // namespace

const TFormDef& Form1099NECDef() {
  return kForm1099NEC;
}
