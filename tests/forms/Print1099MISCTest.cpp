// The two prints of Form 1099-MISC on the display list: which payees file a form (the same rule
// for the count and both prints), the program-generated forms (every parameter of each payee,
// name order, masked recipients), the red copies (two per sheet at the table's positions,
// offsets added, fitted sizes), and the Form 1096 that summarises them.
#include <QStringList>

#include "FormsFixture.h"
#include "core/Utils.h"
#include "forms/Form1096.h"
#include "forms/Form1099MISC.h"
#include "forms/FormPrint.h"
#include "forms/FormTotals.h"
#include "storage/Globals.h"

namespace {
// A payee with every box of the form filled, each with its own amount.
TPayeeRecord FullPayee() {
  TPayeeRecord p = PayeeWith(QStringLiteral("Public, John Q"), QStringLiteral("123-45-6788"),
                             "F1099MISC1", 1001);
  p.SetString("CompName", QStringLiteral("Public Farms"));
  p.SetString("AcctNum1099MISC", QStringLiteral("ACCT-7"));
  for (const char* flag : {"Corrected1099MISC", "F1099MISC7", "FATCA1099MISC", "SecTINnot1099MISC"})
    p.SetBool(flag, true);
  const std::pair<const char*, double> boxes[] = {
      {"F1099MISC2", 1002},    {"F1099MISC3", 1003},    {"F1099MISC4", 1004.5},
      {"F1099MISC5", 1005},    {"F1099MISC6", 1006},    {"F1099MISC8", 1008},
      {"F1099MISC9", 1009},    {"F1099MISC10", 1010},   {"F1099MISC11", 1011},
      {"F1099MISC12", 1012},   {"F1099MISC15", 1015},   {"F1099MISC16_1", 16.1},
      {"F1099MISC16_2", 16.2}, {"F1099MISC18_1", 1801}, {"F1099MISC18_2", 1802}};
  for (const auto& [box, amount] : boxes) p.SetDouble(box, amount);
  return p;
}

class Print1099MISCTest : public TFormPrintTest {
 protected:
  Print1099MISCTest() : TFormPrintTest(Form1099MISCDef()) {}
};

struct TQualifyCase {
  const char* Box;
  double Amount;
  bool Files;
};

// One rule for the count and both prints: any federal money box, the federal income tax withheld
// among them, rounded to cents. Fish purchased for resale (box 11), backup withholding, section
// 409A deferrals and nonqualified deferred compensation alone each file a form; the state boxes
// alone do not.
TEST_F(Print1099MISCTest, PayeesCountAndPrintByOneRule) {
  const TQualifyCase cases[] = {
      {"F1099MISC11", 700, true},   {"F1099MISC4", 9, true},       {"F1099MISC10", 0.01, true},
      {"F1099MISC6", 250, true},    {"F1099MISC12", 400, true},    {"F1099MISC15", 400, true},
      {"F1099MISC16_1", 40, false}, {"F1099MISC18_1", 400, false}, {"F1099MISC1", 0.004, false},
  };
  for (const TQualifyCase& c : cases) {
    SCOPED_TRACE(c.Box);
    OpenPayerFile(SamplePayer(), {PayeeWith(QStringLiteral("Only Payee"),
                                            QStringLiteral("123-45-6788"), c.Box, c.Amount)});
    const TReportJob program = PrintProgram();
    EXPECT_EQ(TotalForms, c.Files ? 1 : 0);
    EXPECT_EQ(Printed, TotalForms);
    EXPECT_EQ(TextsEqual(program.Pages.value(0), QStringLiteral("ONLY PAYEE")).size(),
              c.Files ? 1 : 0);
    const TReportJob red = PrintRed();
    EXPECT_EQ(Printed, TotalForms);
    EXPECT_EQ(TextsEqual(red.Pages.value(0), QStringLiteral("ONLY PAYEE")).size(), c.Files ? 1 : 0);
    ClosePayerFile();
  }
}

TEST_F(Print1099MISCTest, ProgramGeneratedSetsEveryParameterOfThePayee) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("EmpIDNum", QString());  // the filer's SSN is never masked
  OpenPayerFile(payer, {FullPayee()});
  MaskSSNOption = true;
  const TReportJob job = PrintProgram();
  ASSERT_EQ(job.PageCount(), 1);
  const std::pair<const char*, const char*> expected[] = {
      {"PayerName1", "ACME SUPPLY"},
      {"PayerName2", "ACME BUILDERS"},
      {"PayerAddress", "1234 INDUSTRIAL PKWY SUITE 200"},
      {"PayerCityStateZip", "SPRINGFIELD, IL 62704"},
      {"PayerTelephone", "217-555-0123"},
      {"PayerFIDN", "321-54-9876"},
      {"Box17a", "IL 1234-5678"},
      {"Box17b", "WI W-99"},
      {"Corrected", "X"},
      {"RecipientFIDN", "***-**-6788"},
      {"RecipientName1", "PUBLIC, JOHN Q"},
      {"RecipientName2", "PUBLIC FARMS"},
      {"RecipientAddress1", "42 ELM STREET"},
      {"RecipientAddress2", "DECATUR, IL 62521"},
      {"AcctNum", "ACCT-7"},
      {"Box1", "1,001.00"},
      {"Box2", "1,002.00"},
      {"Box3", "1,003.00"},
      {"Box4", "1,004.50"},
      {"Box5", "1,005.00"},
      {"Box6", "1,006.00"},
      {"Box7", "X"},
      {"Box8", "1,008.00"},
      {"Box9", "1,009.00"},
      {"Box10", "1,010.00"},
      {"Box11", "1,011.00"},
      {"Box12", "1,012.00"},
      {"Box15", "1,015.00"},
      {"Box16a", "16.10"},
      {"Box16b", "16.20"},
      {"Box18a", "1,801.00"},
      {"Box18b", "1,802.00"},
      {"FATCA", "X"},
  };
  const TReportLayout layout = TReportProject::LoadLayout(SourceProjectFile(), "Form1099MISC");
  for (const auto& [name, value] : expected) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Project->Param(QLatin1String(name)), QLatin1String(value));
    // Each value is printed, once, in its place on the form.
    const TParamField* place = layout.Param(QLatin1String(name));
    ASSERT_NE(place, nullptr);
    bool found = false;
    for (const TDisplayItem& t : TextsEqual(job.Pages[0], QLatin1String(value)))
      found = found || std::fabs(t.Y - place->Y) < 1e-6;
    EXPECT_TRUE(found);
  }
  // The 2nd TIN notice is for the IRS only.
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("X")).size(), 3);
}

// Payees print in name order, one form per page; a payee with nothing leaves nothing of the one
// before it, and the recipient's number is masked only when it is a valid SSN.
TEST_F(Print1099MISCTest, ProgramGeneratedFormsInNameOrderWithNothingLeftOver) {
  TPayeeRecord bare =
      PayeeWith(QStringLiteral("Zimmer, Paul"), QStringLiteral("98-7654321"), "F1099MISC4", 5);
  TPayeeRecord rents =
      PayeeWith(QStringLiteral("Baker, Bob"), QStringLiteral("345-67-8901"), "F1099MISC1", 300);
  OpenPayerFile(SamplePayer(), {bare, FullPayee(), rents});
  Module->RSPayee->SetCurrentRecord(3);
  Module->RSPayee->GetRec();
  MaskSSNOption = true;
  const TReportJob job = PrintProgram();
  ASSERT_EQ(job.PageCount(), 3);
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("BAKER, BOB")).size(), 1);
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("***-**-8901")).size(), 1);
  EXPECT_EQ(TextsEqual(job.Pages[1], QStringLiteral("PUBLIC FARMS")).size(), 1);
  EXPECT_EQ(TextsEqual(job.Pages[2], QStringLiteral("ZIMMER, PAUL")).size(), 1);
  EXPECT_EQ(TextsEqual(job.Pages[2], QStringLiteral("98-7654321")).size(), 1);
  EXPECT_EQ(TextsEqual(job.Pages[2], QStringLiteral("5.00")).size(), 1);
  for (const QString& gone :
       {QStringLiteral("X"), QStringLiteral("1,001.00"), QStringLiteral("ACCT-7"),
        QStringLiteral("PUBLIC FARMS"), QStringLiteral("1,015.00"), QStringLiteral("1,802.00")})
    EXPECT_TRUE(TextsEqual(job.Pages[2], gone).isEmpty()) << gone.toStdString();
  for (const TPage& page : job.Pages) {
    EXPECT_EQ(TextsEqual(page, QStringLiteral("1099-MISC")).size(), 1);
    EXPECT_EQ(TextsEqual(page, QStringLiteral("IL 1234-5678")).size(), 1);
  }
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), QStringLiteral("Baker, Bob"));
}

// Every position of the red copy table, for a payee that fills every item.
TEST_F(Print1099MISCTest, RedCopyPutsEveryItemAtItsPlaceWithTheOffsets) {
  const double vo = -0.25, ho = 0.1;
  WriteOffsets(QStringLiteral("F1099MISC"), vo, ho);
  TPayerRecord payer = SamplePayer();
  payer.SetString("PayerName", QStringLiteral("Acme Construction Supply Company Incorp."));
  payer.SetString("StateID1", QStringLiteral("1234-5678-90"));
  OpenPayerFile(payer, {FullPayee()});
  const double t = 0.5 + vo;
  const double name = 120 / 12.5;  // 40 characters in 3.2 inches
  const double state1 = FitFontSize(QStringLiteral("IL 1234-5678-90"), 1.15);
  const QList<TRedItem> expected = {
      {"X", 3.16, -0.02, 12},
      {"ACME CONSTRUCTION SUPPLY COMPANY INCORP.", 0.6, 0.5, name},
      {"ACME BUILDERS", 0.6, 0.67, name},
      {"1234 INDUSTRIAL PKWY SUITE 200", 0.6, 0.84, 12},
      {"2025", 5.6, 0.98, 12},
      {"SPRINGFIELD, IL 62704", 0.6, 1.01, 12},
      {"217-555-0123", 0.6, 1.18, 12},
      {"1001.00", 4.05, 0.5, 12},
      {"1002.00", 4.05, 1.0, 12},
      {"1003.00", 4.05, 1.33, 12},
      {"1004.50", 5.45, 1.33, 12},
      {"12-3456789", 0.6, 2.0, 12},
      {"123-45-6788", 2.3, 2.0, 12},
      {"1005.00", 4.05, 2.0, 12},
      {"1006.00", 5.45, 2.0, 12},
      {"PUBLIC, JOHN Q", 0.6, 2.33, 12},
      {"PUBLIC FARMS", 0.6, 2.5, 12},
      {"X", 5.0, 2.5, 12},
      {"1008.00", 5.45, 2.5, 12},
      {"42 ELM STREET", 0.6, 3.0, 12},
      {"1009.00", 4.05, 3.0, 12},
      {"1010.00", 5.45, 3.0, 12},
      {"DECATUR, IL 62521", 0.6, 3.5, 12},
      {"1011.00", 4.05, 3.5, 12},
      {"1012.00", 5.45, 3.5, 12},
      {"X", 3.5, 3.98, 12},
      {"X", 3.5, 4.36, 12},
      {"1015.00", 5.45, 4.0, 12},
      {"16.10", 4.05, 4.33, 12},
      {"IL 1234-5678-90", 5.45, 4.33, state1},
      {"1801.00", 6.85, 4.33, 12},
      {"ACCT-7", 0.6, 4.53, 12},
      {"16.20", 4.05, 4.53, 12},
      {"WI W-99", 5.45, 4.53, 12},
      {"1802.00", 6.85, 4.53, 12},
  };
  const TReportJob job = PrintRed();
  ASSERT_EQ(job.PageCount(), 1);
  ExpectRedItems(job.Pages[0], expected, t, ho);
  EXPECT_DOUBLE_EQ(name, FitFontSize(payer.GetString("PayerName"), 3.2));
  EXPECT_LT(state1, 12);
}

// Without a trade name the payer's lines, the phone number among them, move up; a single
// recipient name sits on the lower line; empty boxes print nothing.
TEST_F(Print1099MISCTest, RedCopyRowsFollowTheNameLines) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("TradeName", QString());
  OpenPayerFile(payer, {PayeeWith(QStringLiteral("Baker, Bob"), QStringLiteral("345-67-8901"),
                                  "F1099MISC11", 80)});
  const TPage page = PrintRed().Pages.value(0);
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("ACME SUPPLY"), 0.6, 0.5 + 0.5));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("1234 INDUSTRIAL PKWY SUITE 200"), 0.6, 0.5 + 0.67));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("SPRINGFIELD, IL 62704"), 0.6, 0.5 + 0.84));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("217-555-0123"), 0.6, 0.5 + 1.01));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("BAKER, BOB"), 0.6, 0.5 + 2.5));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("80.00"), 4.05, 0.5 + 3.5));
  QStringList texts;
  for (const TDisplayItem& t : Texts(page)) texts << t.Text;
  EXPECT_EQ(texts, QStringList({"ACME SUPPLY", "1234 INDUSTRIAL PKWY SUITE 200", "2025",
                                "SPRINGFIELD, IL 62704", "217-555-0123", "12-3456789",
                                "345-67-8901", "BAKER, BOB", "42 ELM STREET", "DECATUR, IL 62521",
                                "80.00", "IL 1234-5678", "WI W-99"}));
}

// Two forms per sheet, a new sheet only when another form follows; the vertical offset moves
// both slots.
TEST_F(Print1099MISCTest, RedCopiesTakeTwoSlotsPerSheetAndOpenNoEmptySheet) {
  WriteOffsets(QStringLiteral("F1099MISC"), 0.125, 0);
  const QList<TPayeeRecord> payees = {
      PayeeWith(QStringLiteral("Carter"), QStringLiteral("345-67-8901"), "F1099MISC2", 30),
      PayeeWith(QStringLiteral("Nobody"), QStringLiteral("456-78-9012"), "F1099MISC18_1", 30),
      PayeeWith(QStringLiteral("Adams"), QStringLiteral("123-45-6788"), "F1099MISC11", 10),
      PayeeWith(QStringLiteral("Baker"), QStringLiteral("234-56-7890"), "F1099MISC4", 20)};
  OpenPayerFile(SamplePayer(), payees);
  const TReportJob job = PrintRed();
  EXPECT_EQ(TotalForms, 3);
  EXPECT_EQ(Printed, 3);
  ASSERT_EQ(job.PageCount(), 2);
  const double row = 0.125 + 2.5;  // the recipient's name
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("ADAMS"), 0.6, 0.5 + row));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("BAKER"), 0.6, 6.05 + row));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("20.00"), 5.45, 6.05 + 0.125 + 1.33));
  EXPECT_TRUE(HasTextAt(job.Pages[1], QStringLiteral("CARTER"), 0.6, 0.5 + row));
  EXPECT_TRUE(HasTextAt(job.Pages[1], QStringLiteral("345-67-8901"), 2.3, 0.5 + 0.125 + 2.0));
  EXPECT_EQ(TextsEqual(job.Pages[1], QStringLiteral("12-3456789")).size(), 1);
}

// The Form 1096 of the 1099-MISC counts what both prints print: box 11 alone and tax withheld
// alone each make a form; state income alone does not.
TEST_F(Print1099MISCTest, Form1096SummarisesTheFormsThatPrint) {
  OpenPayerFile(
      SamplePayer(),
      {PayeeWith(QStringLiteral("Adams"), QStringLiteral("123-45-6788"), "F1099MISC11", 1500.25),
       PayeeWith(QStringLiteral("Baker"), QStringLiteral("234-56-7890"), "F1099MISC4", 75),
       PayeeWith(QStringLiteral("Carter"), QStringLiteral("345-67-8901"), "F1099MISC18_1", 900)});
  EXPECT_EQ(PrintRed().PageCount(), 1);
  EXPECT_EQ(Printed, 2);
  EXPECT_EQ(TotalForms, 2);
  const TPage form = Print1096Program().Pages[0];
  const TReportLayout layout = TReportProject::LoadLayout(SourceProjectFile(), "Form1096");
  for (const auto& [param, text] : {std::pair{"TotalForms", "2"}, std::pair{"FITW", "75.00"},
                                    std::pair{"Total", "1,500.25"}, std::pair{"CB1099MISC", "X"}}) {
    SCOPED_TRACE(param);
    const TParamField* place = layout.Param(QLatin1String(param));
    ASSERT_NE(place, nullptr);
    int found = 0;
    for (const TDisplayItem& t : TextsEqual(form, QLatin1String(text)))
      found += std::fabs(t.Y - place->Y) < 1e-6 && std::fabs(t.X - place->X) < 1e-6;
    EXPECT_EQ(found, 1);
  }
  const TPage sheet = Print1096Red(QDate(2026, 1, 20)).Pages[0];
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("X"), 1.5, 4.75));
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("75.00"), 4.7, 3.47));
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("1500.25"), 6.1, 3.47));
  EXPECT_EQ(TextsEqual(sheet, QStringLiteral("2")).size(), 1);
}
}  // namespace
