#include "forms/Form1099DIV.h"

#include "forms/FormChecks.h"
#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

// clang-format off
constexpr TBoxDef kCorrected = CorrectedBox("Corrected1099DIV", 3.17, -0.02);
constexpr TBoxDef kBox1a = MoneyBox("F1099DIV1a", "Box1a", "Box 1a Total ordinary dividends", RedMoney("Box 1a", 4.1, 0.47));
constexpr TBoxDef kBox1b = MoneyBox("F1099DIV1b", "Box1b", "Box 1b Qualified dividends", RedMoney("Box 1b", 4.1, 1.0));
constexpr TBoxDef kBox2a = MoneyBox("F1099DIV2a", "Box2a", "Box 2a Total capital gain distr.", RedMoney("Box 2a", 4.1, 1.33));
constexpr TBoxDef kBox2b = MoneyBox("F1099DIV2b", "Box2b", "Box 2b Unrecap. Sec. 1250 gain", RedMoney("Box 2b", 5.5, 1.33));
constexpr TBoxDef kBox2c = MoneyBox("F1099DIV2c", "Box2c", "Box 2c Section 1202 gain", RedMoney("Box 2c", 4.1, 1.67));
constexpr TBoxDef kBox2d = MoneyBox("F1099DIV2d", "Box2d", "Box 2d Collectibles (28%) gain", RedMoney("Box 2d", 5.5, 1.67));
constexpr TBoxDef kBox2e = MoneyBox("F1099DIV2e", "Box2e", "Box 2e Section 897 ordinary dividends", RedMoney("Box 2e", 4.1, 2.0));
constexpr TBoxDef kBox2f = MoneyBox("F1099DIV2f", "Box2f", "Box 2f Section 897 capital gain", RedMoney("Box 2f", 5.5, 2.0));
constexpr TBoxDef kBox3 = MoneyBox("F1099DIV3", "Box3", "Box 3 Nondividend distributions", RedMoney("Box 3", 4.1, 2.33));
constexpr TBoxDef kBox4 = MoneyBox("F1099DIV4", "Box4", "Box 4 Federal income tax withheld", RedMoney("Box 4", 5.5, 2.33));
constexpr TBoxDef kBox5 = MoneyBox("F1099DIV5", "Box5", "Box 5 Section 199A dividends", RedMoney("Box 5", 4.1, 2.67));
constexpr TBoxDef kBox6 = MoneyBox("F1099DIV6", "Box6", "Box 6 Investment expenses", RedMoney("Box 6", 5.5, 2.67));
constexpr TBoxDef kBox7 = MoneyBox("F1099DIV7", "Box7", "Box 7 Foreign tax paid", RedMoney("Box 7", 4.1, 3.17));
constexpr TBoxDef kBox8 = TextBox("F1099DIV8", "Box8", "Box 8 Foreign country or U.S. possession", TCtlKind::Text, cfNone, PayeeUpper,
                                  {"Box 8", TCond::Always, 5.4, 3.17, PayeeUpper, rfLine});
constexpr TBoxDef kBox9 = MoneyBox("F1099DIV9", "Box9", "Box 9 Cash liquidation distributions", RedMoney("Box 9", 4.1, 3.5));
constexpr TBoxDef kBox10 = MoneyBox("F1099DIV10", "Box10", "Box 10 Noncash liquidation distributions", RedMoney("Box 10", 5.5, 3.5));
constexpr TBoxDef kFatca = FatcaBox("FATCA1099DIV", "Box 11 FATCA filing requirement", 3.44, 4.0);
constexpr TBoxDef kBox12 = MoneyBox("F1099DIV12", "Box12", "Box 12 Exempt-interest dividends", RedMoney("Box 12", 4.1, 4.03));
constexpr TBoxDef kBox13 = MoneyBox("F1099DIV13", "Box13", "Box 13 Specified private activity bond interest dividends", RedMoney("Box 13", 5.5, 4.03));
constexpr TBoxDef kAcctNum = AcctNumBox("AcctNum1099DIV", 0.6, 4.53);
// Copy A's "2nd TIN not." box sits at the right end of the account number box.
constexpr TBoxDef kSecondTin = SecondTinBox("SecTINnot1099DIV", 3.42, 5.45, 3.44, 4.36);
constexpr TBoxDef kBox16a = MoneyBox("F1099DIV16_1", "Box16_1", "Box 16 State tax withheld, first line", RedMoney("Box 16, line 1", 5.5, 4.36));
constexpr TBoxDef kBox16b = MoneyBox("F1099DIV16_2", "Box16_2", "Box 16 State tax withheld, second line", RedMoney("Box 16, line 2", 5.5, 4.53));

constexpr TBoxDef kBoxes[] = {kCorrected, kBox1a, kBox1b, kBox2a, kBox2b, kBox2c, kBox2d, kBox2e,
                              kBox2f, kBox3, kBox4, kBox5, kBox6, kBox7, kBox8, kBox9, kBox10,
                              kFatca, kBox12, kBox13, kAcctNum, kSecondTin, kBox16a, kBox16b};

constexpr auto kLabels = Join(kCommonLabels, {
  {"StateName1_1", "Box 14 State, first line", {PayerText, "StateName1"}, "Box14_1", false, TAlign::Center},
  {"StateName1_2", "Box 14 State, second line", {PayerText, "StateName2"}, "Box14_2", false, TAlign::Center},
  {"StateID2_1", "Box 15 State identification no., first line", {PayerText, "StateID1"},   "Box15_1", false, TAlign::Center},
  {"StateID2_2", "Box 15 State identification no., second line", {PayerText, "StateID2"},   "Box15_2", false, TAlign::Center},
  {"Lbl2ndTINnot", nullptr, {Literal, "2nd TIN not."}, nullptr, false, TAlign::Left, 3.0, 5.12, 0.66},
});

constexpr auto kPayerParams = Join(kCommonPayerParams, {
  {"Box14_1",           {PayerText, "StateName1"}},
  {"Box14_2",           {PayerText, "StateName2"}},
  {"Box15_1",           {PayerText, "StateID1"}},
  {"Box15_2",           {PayerText, "StateID2"}},
});

constexpr double kSlotTops[] = {0.5, 6.05};

constexpr TRedCopyItem kRedCopy[] = {
  RedBox(kCorrected),
  kRedPayerName,
  kRedPayerTradeName,
  kRedPayerAddress,
  {"Tax year",         TCond::Always,         nullptr, 5.6,  0.98, kSameRow, {TaxYear}, rfPushPos},
  kRedPayerCityLine,
  kRedPayerPhone,
  RedBox(kBox1a),
  RedBox(kBox1b),
  RedBox(kBox2a),
  RedBox(kBox2b),
  RedBox(kBox2c),
  RedBox(kBox2d),
  {"Payer's TIN",      TCond::Always,         nullptr, 0.6,  2.0,  kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,         nullptr, 2.3,  2.0,  kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  RedBox(kBox2e),
  RedBox(kBox2f),
  {"Recipient name",   TCond::CompNameBlank,  nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 1", TCond::CompNameFilled, nullptr, 0.6,  2.33, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 2", TCond::CompNameFilled, nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  RedBox(kBox3),
  RedBox(kBox4),
  {"Recipient street", TCond::Always,         nullptr, 0.6,  3.0,  kSameRow, {PayeeUpper, "Address1"}},
  RedBox(kBox5),
  RedBox(kBox6),
  RedBox(kBox7),
  RedBox(kBox8),
  {"Recipient city line", TCond::Always,      nullptr, 0.6,  3.5,  kSameRow, {PayeeUpper, "CityStZip"}},
  RedBox(kBox9),
  RedBox(kBox10),
  RedBox(kFatca),
  RedBox(kBox12),
  RedBox(kBox13),
  RedBox(kSecondTin),
  {"Box 14, line 1",   TCond::Always,         nullptr, 4.1,  4.36, kSameRow, {PayerText, "StateName1"}, rfLine},
  {"Box 15, line 1",   TCond::Always,         nullptr, 4.4,  4.36, kSameRow, {PayerText, "StateID1"}, rfLine, TFit::Text, 0.8},
  RedBox(kBox16a),
  RedBox(kAcctNum),
  {"Box 14, line 2",   TCond::Always,         nullptr, 4.1,  4.53, kSameRow, {PayerText, "StateName2"}, rfLine},
  {"Box 15, line 2",   TCond::Always,         nullptr, 4.4,  4.53, kSameRow, {PayerText, "StateID2"}, rfLine, TFit::Text, 0.8},
  RedBox(kBox16b),
};
// clang-format on

constexpr const char* kAmounts[] = {"F1099DIV1a", "F1099DIV2a", "F1099DIV3",
                                    "F1099DIV9",  "F1099DIV10", "F1099DIV12"};
// Every money box but the state and local ones: any of them makes a form the IRS must get.
constexpr const char* kFederal[] = {
    "F1099DIV1a", "F1099DIV1b", "F1099DIV2a", "F1099DIV2b", "F1099DIV2c", "F1099DIV2d",
    "F1099DIV2e", "F1099DIV2f", "F1099DIV3",  "F1099DIV4",  "F1099DIV5",  "F1099DIV6",
    "F1099DIV7",  "F1099DIV9",  "F1099DIV10", "F1099DIV12", "F1099DIV13"};

// The amounts from which the form is required for 2025.
constexpr TThreshold kThresholds[] = {{{"F1099DIV1a", "F1099DIV2a", "F1099DIV3", "F1099DIV12"}, 10},
                                      {{"F1099DIV9", "F1099DIV10"}, 600}};

const TFormDef kForm1099DIV = {
    .FormType = ft1099DIV,
    .Tag = "1099DIV",
    .ShortName = "1099-DIV",
    .Name = "Form 1099-DIV",
    .ClassName = "TFrm1099DIV",
    .Caption = "Form 1099-DIV Dividends and Distributions",
    .HelpContext = 14,
    .Menu = {"Mnu1099DIV", "1099-&DIV", "Btn1099DIV", "Edit Form 1099-DIV", "form:1099 DIV"},
    .Report = "Form1099DIV",
    .OffsetPrefix = "F1099DIV",
    .Picture = "Form1099DIV",
    .Instructions = "i1099div24.pdf",
    .InstructionsMenu = {"MnuForm1099DIV", "Form 1099-&DIV", "1099-DIV"},
    .NoInstructionsText = "The IRS Instructions cannot no be found",
    .NoFormsText = "There are no forms available for printing",
    .Check = Check1099DIV,
    .Totals = {kAmounts, "F1099DIV4", kFederal},
    .Box1096 = {"CB1099DIV", "91", 6.2, 4.17},
    .Threshold = {"$10 of dividends and distributions ($600 of liquidation distributions)",
                  kThresholds},
    .BackupWithholding = true,
    .Boxes = kBoxes,
    .Labels = kLabels,
    .PayerParams = kPayerParams,
    .RecipientParams = kCommonRecipientParams,
    .RedCopy = {"Form 1099-DIV Report", kSlotTops, kRedCopy},
    .ScreenArea = {0.4, 0.42, 8.1, 5.8},
};
}  // namespace

const TFormDef& Form1099DIVDef() {
  return kForm1099DIV;
}
