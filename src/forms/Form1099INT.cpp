#include "forms/Form1099INT.h"

#include "forms/FormChecks.h"
#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

// clang-format off
constexpr TBoxDef kCorrected = CorrectedBox("Corrected1099INT", 3.17, -0.03);
constexpr TBoxDef kBox1 = MoneyBox("F1099INT1", "Box1", "Box 1 Interest income", RedMoney("Box 1", 4.1, 1.0));
constexpr TBoxDef kBox2 = MoneyBox("F1099INT2", "Box2", "Box 2 Early withdrawal penalty", RedMoney("Box 2", 4.1, 1.5));
constexpr TBoxDef kBox3 = MoneyBox("F1099INT3", "Box3", "Box 3 Interest on U.S. Savings Bonds and Treasury obligations", RedMoney("Box 3", 4.1, 2.0));
constexpr TBoxDef kBox4 = MoneyBox("F1099INT4", "Box4", "Box 4 Federal income tax withheld", RedMoney("Box 4", 4.1, 2.33));
constexpr TBoxDef kBox5 = MoneyBox("F1099INT5", "Box5", "Box 5 Investment expenses", RedMoney("Box 5", 5.5, 2.33));
constexpr TBoxDef kBox6 = MoneyBox("F1099INT6", "Box6", "Box 6 Foreign tax paid", RedMoney("Box 6", 4.1, 2.67));
constexpr TBoxDef kBox7 = TextBox("F1099INT7", "Box7", "Box 7 Foreign country or U.S. territory", TCtlKind::Text, cfNone, PayeeUpper,
                                  {"Box 7", TCond::Always, 5.5, 2.67, PayeeUpper, rfLine});
constexpr TBoxDef kBox8 = MoneyBox("F1099INT8", "Box8", "Box 8 Tax-exempt interest", RedMoney("Box 8", 4.1, 3.17));
constexpr TBoxDef kBox9 = MoneyBox("F1099INT9", "Box9", "Box 9 Specified private activity bond interest", RedMoney("Box 9", 5.5, 3.17));
constexpr TBoxDef kBox10 = MoneyBox("F1099INT10", "Box10", "Box 10 Market discount", RedMoney("Box 10", 4.1, 3.67));
constexpr TBoxDef kBox11 = MoneyBox("F1099INT11", "Box11", "Box 11 Bond premium", RedMoney("Box 11", 5.5, 3.67));
constexpr TBoxDef kFatca = FatcaBox("FATCA1099INT", "FATCA filing requirement", 3.52, 3.98);
constexpr TBoxDef kBox12 = MoneyBox("F1099INT12", "Box12", "Box 12 Bond premium on Treasury obligations", RedMoney("Box 12", 4.1, 4.0));
constexpr TBoxDef kBox13 = MoneyBox("F1099INT13", "Box13", "Box 13 Bond premium on tax-exempt bond", RedMoney("Box 13", 5.5, 4.0));
constexpr TBoxDef kAcctNum = AcctNumBox("AcctNum1099INT", 0.6, 4.53);
// Copy A's "2nd TIN not." box sits at the right end of the account number box.
constexpr TBoxDef kSecondTin = SecondTinBox("SecTINnot1099INT", 3.72, 4.4, 3.52, 4.34);
constexpr TBoxDef kBox14 = TextBox("F1099INT14", "Box14", "Box 14 Tax-exempt and tax credit bond CUSIP no.", TCtlKind::Filter, cfUpper | cfCenter, PayeeText,
                                   {"Box 14", TCond::Always, 4.1, 4.53, PayeeText, rfLine, TFit::Text, 1.1}, 15);
constexpr TBoxDef kBox17a = MoneyBox("F1099INT17_1", "Box17_1", "Box 17 State tax withheld, first line", RedMoney("Box 17, line 1", 6.85, 4.36));
constexpr TBoxDef kBox17b = MoneyBox("F1099INT17_2", "Box17_2", "Box 17 State tax withheld, second line", RedMoney("Box 17, line 2", 6.85, 4.53));

constexpr TBoxDef kBoxes[] = {kCorrected, kBox1, kBox2, kBox3, kBox4, kBox5, kBox6, kBox7, kBox8,
                              kBox9, kBox10, kBox11, kFatca, kBox12, kBox13, kAcctNum, kSecondTin,
                              kBox14, kBox17a, kBox17b};

constexpr auto kLabels = Join(kCommonLabels, {
  {"PayerRTN", "Payer's RTN (optional)", {PayerText, "RTN"}, "PayerRTN"},
  {"StateID1_1", "Box 15 State, first line", {PayerText, "StateName1"}, "Box15_1", false, TAlign::Center},
  {"StateID1_2", "Box 15 State, second line", {PayerText, "StateName2"}, "Box15_2", false, TAlign::Center},
  {"StateID2_1", "Box 16 State identification no., first line", {PayerText, "StateID1"},   "Box16_1", false, TAlign::Center},
  {"StateID2_2", "Box 16 State identification no., second line", {PayerText, "StateID2"},   "Box16_2", false, TAlign::Center},
  {"Lbl2ndTINnot", nullptr, {Literal, "2nd TIN not."}, nullptr, false, TAlign::Left, 3.3, 4.12, 0.66},
});

constexpr auto kPayerParams = Join({
  {"PayerRTN",          {PayerText, "RTN"}},
}, kCommonPayerParams, {
  {"Box15_1",           {PayerText, "StateName1"}},
  {"Box15_2",           {PayerText, "StateName2"}},
  {"Box16_1",           {PayerText, "StateID1"}},
  {"Box16_2",           {PayerText, "StateID2"}},
});

constexpr double kSlotTops[] = {0.5, 6.05};

// The trade name shrinks to fit its own line rather than taking the payer name's size.
constexpr TValueDef kTradeName = {PayerText, "TradeName"};

constexpr TRedCopyItem kRedCopy[] = {
  RedBox(kCorrected),
  kRedPayerName,
  {"Payer's RTN",      TCond::Always,         nullptr, 4.1,  0.5,  kSameRow, {PayerText, "RTN"}, rfLine},
  {"Payer trade name", TCond::HasTradeName,   nullptr, 0.6,  0.67, kSameRow, {PayerUpper, "TradeName"}, rfNone, TFit::Field, 3.2, kTradeName},
  kRedPayerAddress,
  {"Tax year",         TCond::Always,         nullptr, 5.8,  0.98, kSameRow, {TaxYear}, rfPushPos},
  kRedPayerCityLine,
  kRedPayerPhone,
  RedBox(kBox1),
  RedBox(kBox2),
  {"Payer's TIN",      TCond::Always,         nullptr, 0.6,  2.0,  kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,         nullptr, 2.3,  2.0,  kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  RedBox(kBox3),
  {"Recipient name",   TCond::CompNameBlank,  nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 1", TCond::CompNameFilled, nullptr, 0.6,  2.33, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 2", TCond::CompNameFilled, nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  RedBox(kBox4),
  RedBox(kBox5),
  {"Recipient street", TCond::Always,         nullptr, 0.6,  3.0,  kSameRow, {PayeeUpper, "Address1"}},
  RedBox(kBox6),
  RedBox(kBox7),
  {"Recipient city line", TCond::Always,      nullptr, 0.6,  3.5,  kSameRow, {PayeeUpper, "CityStZip"}},
  RedBox(kBox8),
  RedBox(kBox9),
  RedBox(kBox10),
  RedBox(kBox11),
  RedBox(kFatca),
  RedBox(kBox12),
  RedBox(kBox13),
  RedBox(kSecondTin),
  {"Box 15, line 1",   TCond::Always,         nullptr, 5.4,  4.36, kSameRow, {PayerText, "StateName1"}, rfLine},
  {"Box 16, line 1",   TCond::Always,         nullptr, 5.7,  4.36, kSameRow, {PayerText, "StateID1"}, rfLine, TFit::Text, 0.85},
  RedBox(kBox17a),
  RedBox(kAcctNum),
  RedBox(kBox14),
  {"Box 15, line 2",   TCond::Always,         nullptr, 5.4,  4.53, kSameRow, {PayerText, "StateName2"}, rfLine},
  {"Box 16, line 2",   TCond::Always,         nullptr, 5.7,  4.53, kSameRow, {PayerText, "StateID2"}, rfLine, TFit::Text, 0.85},
  RedBox(kBox17b),
};
// clang-format on

constexpr const char* kAmounts[] = {"F1099INT1",  "F1099INT3",  "F1099INT8",
                                    "F1099INT10", "F1099INT11", "F1099INT13"};
// Every money box but the state and local ones: any of them makes a form the IRS must get.
constexpr const char* kFederal[] = {"F1099INT1",  "F1099INT2",  "F1099INT3",  "F1099INT4",
                                    "F1099INT5",  "F1099INT6",  "F1099INT8",  "F1099INT9",
                                    "F1099INT10", "F1099INT11", "F1099INT12", "F1099INT13"};

// The amounts from which the form is required for 2025.
constexpr TThreshold kThresholds[] = {{{"F1099INT1", "F1099INT3", "F1099INT8"}, 10}};

const TFormDef kForm1099INT = {
    .FormType = ft1099INT,
    .Tag = "1099INT",
    .ShortName = "1099-INT",
    .Name = "Form 1099-INT",
    .ClassName = "TFrm1099INT",
    .Caption = "Form 1099-INT Interest Income",
    .HelpContext = 15,
    .Menu = {"Mnu1099INT", "1099-&INT", "Btn1099INT", "Edit Form 1099-INT", "form:1099 INT"},
    .Report = "Form1099INT",
    .OffsetPrefix = "F1099INT",
    .Picture = "Form1099INT",
    .Instructions = "i1099int24.pdf",
    .InstructionsMenu = {"MnuForm1099INT", "Form 1099-&INT", "1099-INT"},
    .NoInstructionsText = "The IRS Instructions cannot no be found",
    .NoFormsText = "There are no forms available for printing",
    .Check = Check1099INT,
    .Totals = {kAmounts, "F1099INT4", kFederal},
    .Box1096 = {"CB1099INT", "92", 7.06, 4.17},
    .Threshold = {"$10 of interest", kThresholds},
    .BackupWithholding = true,
    .Boxes = kBoxes,
    .Labels = kLabels,
    .PayerParams = kPayerParams,
    .RecipientParams = kCommonRecipientParams,
    .RedCopy = {"Form 1099-INT Report", kSlotTops, kRedCopy},
    .ScreenArea = {0.4, 0.42, 8.1, 5.32},
};
}  // namespace

const TFormDef& Form1099INTDef() {
  return kForm1099INT;
}
