#include "forms/Form1099MISC.h"

#include "forms/FormChecks.h"
#include "forms/FormRows.h"
#include "storage/Globals.h"

namespace {
using enum TSrc;

// clang-format off
constexpr TBoxDef kCorrected = CorrectedBox("Corrected1099MISC", 3.16, -0.02);
constexpr TBoxDef kBox1 = MoneyBox("F1099MISC1", "Box1", "Box 1 Rents", RedMoney("Box 1", 4.05, 0.5));
constexpr TBoxDef kBox2 = MoneyBox("F1099MISC2", "Box2", "Box 2 Royalties", RedMoney("Box 2", 4.05, 1.0));
constexpr TBoxDef kBox3 = MoneyBox("F1099MISC3", "Box3", "Box 3 Other income", RedMoney("Box 3", 4.05, 1.33));
constexpr TBoxDef kBox4 = MoneyBox("F1099MISC4", "Box4", "Box 4 Federal income tax withheld", RedMoney("Box 4", 5.45, 1.33));
constexpr TBoxDef kBox5 = MoneyBox("F1099MISC5", "Box5", "Box 5 Fishing boat proceeds", RedMoney("Box 5", 4.05, 2.0));
constexpr TBoxDef kBox6 = MoneyBox("F1099MISC6", "Box6", "Box 6 Medical and health care payments", RedMoney("Box 6", 5.45, 2.0));
constexpr TBoxDef kBox7 = CheckBox("F1099MISC7", "Box7", "Box 7 Payer made direct sales totaling $5,000 or more of consumer products to recipient for resale", RedCheck("Box 7", 5.0, 2.5));
constexpr TBoxDef kBox8 = MoneyBox("F1099MISC8", "Box8", "Box 8 Substitute payments in lieu of dividends or interest", RedMoney("Box 8", 5.45, 2.5));
constexpr TBoxDef kBox9 = MoneyBox("F1099MISC9", "Box9", "Box 9 Crop insurance proceeds", RedMoney("Box 9", 4.05, 3.0));
constexpr TBoxDef kBox10 = MoneyBox("F1099MISC10", "Box10", "Box 10 Gross proceeds paid to an attorney", RedMoney("Box 10", 5.45, 3.0));
constexpr TBoxDef kBox11 = MoneyBox("F1099MISC11", "Box11", "Box 11 Fish purchased for resale", RedMoney("Box 11", 4.05, 3.5));
constexpr TBoxDef kBox12 = MoneyBox("F1099MISC12", "Box12", "Box 12 Section 409A deferrals", RedMoney("Box 12", 5.45, 3.5));
constexpr TBoxDef kAcctNum = AcctNumBox("AcctNum1099MISC", 0.6, 4.53, rfLine);
constexpr TBoxDef kFatca = FatcaBox("FATCA1099MISC", "Box 13 FATCA filing requirement", 3.5, 3.98);
constexpr TBoxDef kBox15 = MoneyBox("F1099MISC15", "Box15", "Box 15 Nonqualified deferred compensation", RedMoney("Box 15", 5.45, 4.0));
constexpr TBoxDef kBox16a = MoneyBox("F1099MISC16_1", "Box16a", "Box 16 State tax withheld, first line", RedMoney("Box 16, line 1", 4.05, 4.33));
constexpr TBoxDef kBox18a = MoneyBox("F1099MISC18_1", "Box18a", "Box 18 State income, first line", RedMoney("Box 18, line 1", 6.85, 4.33));
// Copy B has no "2nd TIN not." box; the screen keeps it at the right end of the account number
// box, where Copy A has it.
constexpr TBoxDef kSecondTin = SecondTinBox("SecTINnot1099MISC", 3.72, 4.95, 3.5, 4.36);
constexpr TBoxDef kBox16b = MoneyBox("F1099MISC16_2", "Box16b", "Box 16 State tax withheld, second line", RedMoney("Box 16, line 2", 4.05, 4.53));
constexpr TBoxDef kBox18b = MoneyBox("F1099MISC18_2", "Box18b", "Box 18 State income, second line", RedMoney("Box 18, line 2", 6.85, 4.53));

constexpr TBoxDef kBoxes[] = {kCorrected, kBox1, kBox2, kBox3, kBox4, kBox5, kBox6, kBox7, kBox8,
                              kBox9, kBox10, kBox11, kBox12, kAcctNum, kFatca, kBox15, kBox16a,
                              kBox18a, kSecondTin, kBox16b, kBox18b};

constexpr auto kLabels = Join(kCommonLabels, {
  {"PayerStateID1", "Box 17 State/Payer's state no., first line", {PayerJoin, "StateName1", "StateID1"}, "Box17a", false},
  {"PayerStateID2", "Box 17 State/Payer's state no., second line", {PayerJoin, "StateName2", "StateID2"}, "Box17b", false},
  {"Lbl2ndTINnot", nullptr, {Literal, "2nd TIN not."}, nullptr, false, TAlign::Left, 3.3, 4.68, 0.66},
});

constexpr auto kPayerParams = Join(kCommonPayerParams, {
  {"Box17a",            {PayerJoin, "StateName1", "StateID1"}},
  {"Box17b",            {PayerJoin, "StateName2", "StateID2"}},
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
  RedBox(kBox1),
  RedBox(kBox2),
  RedBox(kBox3),
  RedBox(kBox4),
  {"Payer's TIN",      TCond::Always,         nullptr, 0.6,  2.0,  kSameRow, {PayerTIN}},
  {"Recipient's TIN",  TCond::Always,         nullptr, 2.3,  2.0,  kSameRow, {PayeeText, "SSN_IDNum"}, rfLine},
  RedBox(kBox5),
  RedBox(kBox6),
  {"Recipient name",   TCond::CompNameBlank,  nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 1", TCond::CompNameFilled, nullptr, 0.6,  2.33, kSameRow, {PayeeUpper, "PayeeName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  {"Recipient name 2", TCond::CompNameFilled, nullptr, 0.6,  2.5,  kSameRow, {PayeeUpper, "CompName"}, rfNone, TFit::Field, 3.2, kPayeeNameFit},
  RedBox(kBox7),
  RedBox(kBox8),
  {"Recipient street", TCond::Always,         nullptr, 0.6,  3.0,  kSameRow, {PayeeUpper, "Address1"}},
  RedBox(kBox9),
  RedBox(kBox10),
  {"Recipient city line", TCond::Always,      nullptr, 0.6,  3.5,  kSameRow, {PayeeUpper, "CityStZip"}},
  RedBox(kBox11),
  RedBox(kBox12),
  RedBox(kFatca),
  RedBox(kSecondTin),
  RedBox(kBox15),
  RedBox(kBox16a),
  {"Box 17, line 1",   TCond::Always,         nullptr, 5.45, 4.33, kSameRow, {PayerJoin, "StateName1", "StateID1"}, rfLine, TFit::Text, 1.15},
  RedBox(kBox18a),
  RedBox(kAcctNum),
  RedBox(kBox16b),
  {"Box 17, line 2",   TCond::Always,         nullptr, 5.45, 4.53, kSameRow, {PayerJoin, "StateName2", "StateID2"}, rfLine, TFit::Text, 1.15},
  RedBox(kBox18b),
};
// clang-format on

constexpr const char* kAmounts[] = {"F1099MISC1", "F1099MISC2",  "F1099MISC3",
                                    "F1099MISC5", "F1099MISC6",  "F1099MISC8",
                                    "F1099MISC9", "F1099MISC10", "F1099MISC11"};
// Every money box but the state and local ones: any of them makes a form the IRS must get.
constexpr const char* kFederal[] = {"F1099MISC1",  "F1099MISC2",  "F1099MISC3",  "F1099MISC4",
                                    "F1099MISC5",  "F1099MISC6",  "F1099MISC8",  "F1099MISC9",
                                    "F1099MISC10", "F1099MISC11", "F1099MISC12", "F1099MISC15"};

// The amounts from which the form is required for 2025.
constexpr TThreshold kThresholds[] = {
    {{"F1099MISC1"}, 600},  {{"F1099MISC2"}, 10},    {{"F1099MISC3"}, 600},  {{"F1099MISC5"}, 0.01},
    {{"F1099MISC6"}, 600},  {{"F1099MISC8"}, 10},    {{"F1099MISC9"}, 600},  {{"F1099MISC10"}, 600},
    {{"F1099MISC11"}, 600}, {{"F1099MISC12"}, 0.01}, {{"F1099MISC15"}, 0.01}};

const TFormDef kForm1099MISC = {
    .FormType = ft1099MISC,
    .Tag = "1099MISC",
    .ShortName = "1099-MISC",
    .Name = "Form 1099-MISC",
    .ClassName = "TFrm1099MISC",
    .Caption = "Form 1099-MISC Miscellaneous Information",
    .HelpContext = 16,
    .Menu = {"Mnu1099MISC", "1099-&MISC", "Btn1099MISC", "Edit Form 1099-MISC", "form:1099 MISC"},
    .Report = "Form1099MISC",
    .OffsetPrefix = "F1099MISC",
    .Picture = "Form1099MISC",
    .Instructions = "i1099misc25.pdf",
    .InstructionsMenu = {"MnuForm1099MISC", "Form 1099-&MISC/NEC", "1099-MISC 1099-NEC"},
    .NoInstructionsText = "The IRS Instructions cannot be found",
    .NoFormsText = "There are no forms available for printing",
    .Check = Check1099MISC,
    .Totals = {kAmounts, "F1099MISC4", kFederal, "F1099MISC7"},
    .Box1096 = {"CB1099MISC", "95", 1.5, 4.75},
    .Threshold = {"the box's threshold ($600; royalties and substitute payments $10)", kThresholds},
    .BackupWithholding = true,
    .Boxes = kBoxes,
    .Labels = kLabels,
    .PayerParams = kPayerParams,
    .RecipientParams = kCommonRecipientParams,
    .RedCopy = {"Form 1099-MISC Report", kSlotTops, kRedCopy},
    .ScreenArea = {0.4, 0.42, 8.1, 5.36},
};
}  // namespace

const TFormDef& Form1099MISCDef() {
  return kForm1099MISC;
}
