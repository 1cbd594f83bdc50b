// The two prints of Form 1099-NEC on the display list: program-generated forms (one per page, in
// name order, masked numbers) and the red copies (three per sheet at the table's positions,
// offsets added, fitted sizes).
#include <QStringList>

#include "FormsFixture.h"
#include "core/Utils.h"
#include "forms/Form1099NEC.h"
#include "forms/FormPrint.h"
#include "forms/FormTotals.h"
#include "storage/Globals.h"

namespace {
class Print1099NECTest : public TFormPrintTest {
 protected:
  Print1099NECTest() : TFormPrintTest(Form1099NECDef()) {}

  // Payees in record order Zimmer, Adams, Miller, Baker: name order is Adams, Baker, Miller,
  // Zimmer (record numbers 2, 4, 3, 1).
  QList<TPayeeRecord> MixedPayees() {
    TPayeeRecord zimmer =
        SamplePayee(QStringLiteral("Zimmer, Paul"), QStringLiteral("123-45-6788"), 1500);
    TPayeeRecord adams =
        SamplePayee(QStringLiteral("Adams Consulting LLC"), QStringLiteral("98-7654321"), 25000);
    adams.SetString("CompName", QStringLiteral("Attn Mary Adams"));
    TPayeeRecord miller =
        SamplePayee(QStringLiteral("miller, ann"), QStringLiteral("234-56-7890"), 300);
    TPayeeRecord baker =
        SamplePayee(QStringLiteral("Baker, Bob"), QStringLiteral("345-67-8901"), 800);
    return {zimmer, adams, miller, baker};
  }
};

// The recipient's name line that a page of the program-generated form carries.
QString RecipientOn(const TPage& page) {
  return FirstTextOn(page, {"ADAMS CONSULTING LLC", "BAKER, BOB", "MILLER, ANN", "ZIMMER, PAUL"});
}

TEST_F(Print1099NECTest, ProgramGeneratedFormsComeOnePerPageInNameOrder) {
  OpenPayerFile(SamplePayer(), MixedPayees());
  Module->RSPayee->SetCurrentRecord(3);
  Module->RSPayee->GetRec();
  const TReportJob job = PrintProgram();
  ASSERT_EQ(job.PageCount(), 4);
  EXPECT_EQ(Printed, 4);
  QStringList order;
  for (const TPage& page : job.Pages) order << RecipientOn(page);
  EXPECT_EQ(order,
            QStringList({"ADAMS CONSULTING LLC", "BAKER, BOB", "MILLER, ANN", "ZIMMER, PAUL"}));
  // Every page is a whole form: its face and its payer.
  for (const TPage& page : job.Pages) {
    EXPECT_EQ(TextsEqual(page, QStringLiteral("1099-NEC")).size(), 1);
    EXPECT_EQ(TextsEqual(page, QStringLiteral("ACME BUILDERS")).size(), 1);
  }
  // The print returns to the payee that was shown.
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), QStringLiteral("miller, ann"));
}

TEST_F(Print1099NECTest, SocialSecurityNumbersAreMaskedOnlyWhenAskedAndValid) {
  OpenPayerFile(SamplePayer(), MixedPayees());
  struct TCase {
    bool Mask;
    int Page;  // 0 Adams (EIN), 3 Zimmer (SSN)
    QString Shown, Hidden;
  };
  const TCase cases[] = {
      {true, 3, "***-**-6788", "123-45-6788"},
      {false, 3, "123-45-6788", "***-**-6788"},
      {true, 0, "98-7654321", "***-**-4321"},
  };
  for (const TCase& c : cases) {
    MaskSSNOption = c.Mask;
    const TReportJob job = PrintProgram();
    const TPage& page = job.Pages[c.Page];
    EXPECT_EQ(TextsEqual(page, c.Shown).size(), 1) << c.Shown.toStdString();
    EXPECT_TRUE(TextsEqual(page, c.Hidden).isEmpty()) << c.Hidden.toStdString();
  }
}

TEST_F(Print1099NECTest, PayerNumberFallsBackToItsSocialSecurityNumberNeverMasked) {
  struct TCase {
    QString Ein, Ssn;
    bool Mask;
    QString Shown;  // empty: no payer number at all
  };
  const TCase cases[] = {
      {"12-3456789", "321-54-9876", true, "12-3456789"},
      {"", "321-54-9876", true, "321-54-9876"},
      {"07-1234567", "321-54-9876", false, "321-54-9876"},  // 07 is no valid EIN prefix
      {"", "321-54-98", true, "321-54-98"},
  };
  for (const TCase& c : cases) {
    TPayerRecord payer = SamplePayer();
    payer.SetString("EmpIDNum", c.Ein);
    payer.SetString("SocSecNum", c.Ssn);
    OpenPayerFile(payer, {SamplePayee(QStringLiteral("Only"), QStringLiteral("123-45-6788"), 10)});
    MaskSSNOption = c.Mask;
    const TReportJob job = PrintProgram();
    EXPECT_EQ(Project->Param(QStringLiteral("PayerFIDN")), c.Shown);
    if (!c.Shown.isEmpty()) {
      EXPECT_EQ(TextsEqual(job.Pages[0], c.Shown).size(), 1);
    }
    ClosePayerFile();
  }
}

TEST_F(Print1099NECTest, EveryPayeeParameterIsSetAfreshForEachForm) {
  TPayeeRecord first = SamplePayee(QStringLiteral("Alpha"), QStringLiteral("123-45-6788"), 100);
  first.SetBool("F1099NEC2", true);
  first.SetBool("Corrected1099NEC", true);
  first.SetDouble("F1099NEC3", 1234.5);
  first.SetString("AcctNum1099NEC", QStringLiteral("A-1"));
  first.SetString("CompName", QStringLiteral("Alpha Two"));
  const TPayeeRecord second =
      SamplePayee(QStringLiteral("Beta"), QStringLiteral("234-56-7890"), 200);
  OpenPayerFile(SamplePayer(), {second, first});
  const TReportJob job = PrintProgram();
  ASSERT_EQ(job.PageCount(), 2);
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("X")).size(), 2);  // CORRECTED and box 2
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("1,234.50")).size(), 1);
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("ALPHA TWO")).size(), 1);
  for (const QString& gone : {QStringLiteral("X"), QStringLiteral("1,234.50"),
                              QStringLiteral("A-1"), QStringLiteral("ALPHA TWO")})
    EXPECT_TRUE(TextsEqual(job.Pages[1], gone).isEmpty()) << gone.toStdString();
  EXPECT_EQ(TextsEqual(job.Pages[1], QStringLiteral("200.00")).size(), 1);
}

TEST_F(Print1099NECTest, AmpersandPrintsOnceAndFractionOfACentStaysOffTheProgramForm) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("PayerName", QStringLiteral("Smith & Sons"));
  TPayeeRecord payee = SamplePayee(QStringLiteral("Only"), QStringLiteral("123-45-6788"), 10);
  payee.SetDouble("F1099NEC4", 0.004);
  OpenPayerFile(payer, {payee});
  const TReportJob program = PrintProgram();
  EXPECT_EQ(TextsEqual(program.Pages[0], QStringLiteral("SMITH & SONS")).size(), 1);
  EXPECT_TRUE(TextsEqual(program.Pages[0], QStringLiteral("0.00")).isEmpty());
  const TReportJob red = PrintRed();
  EXPECT_TRUE(HasTextAt(red.Pages[0], QStringLiteral("0.00"), 4.0, 0.47 + 2.33));
  EXPECT_EQ(TextsEqual(red.Pages[0], QStringLiteral("SMITH & SONS")).size(), 1);
}

// The Form 1096 counts a payee with only box 3 or only tax withheld, so both prints give it its
// form; a payee whose boxes round to nothing counts nowhere and leaves no empty page behind.
TEST_F(Print1099NECTest, EveryCountedPayeePrintsAndNoOtherDoes) {
  QList<TPayeeRecord> payees = MixedPayees();
  payees[0].SetDouble("F1099NEC1", 0);  // Zimmer: last in name order, box 3 only
  payees[0].SetDouble("F1099NEC3", 1000);
  payees[1].SetDouble("F1099NEC1", 0);  // Adams: backup withholding only
  payees[1].SetDouble("F1099NEC4", 24);
  payees[2].SetDouble("F1099NEC1", 0.004);  // Miller: nothing that rounds to a cent
  OpenPayerFile(SamplePayer(), payees);
  const TReportJob program = PrintProgram();
  EXPECT_EQ(TotalForms, 3);
  EXPECT_EQ(Printed, 3);
  ASSERT_EQ(program.PageCount(), 3);
  EXPECT_EQ(RecipientOn(program.Pages[0]), QStringLiteral("ADAMS CONSULTING LLC"));
  EXPECT_EQ(TextsEqual(program.Pages[0], QStringLiteral("24.00")).size(), 1);
  EXPECT_EQ(RecipientOn(program.Pages[2]), QStringLiteral("ZIMMER, PAUL"));
  EXPECT_EQ(TextsEqual(program.Pages[2], QStringLiteral("1,000.00")).size(), 1);
  const TReportJob red = PrintRed();
  EXPECT_EQ(Printed, 3);
  ASSERT_EQ(red.PageCount(), 1);
  EXPECT_TRUE(HasTextAt(red.Pages[0], QStringLiteral("24.00"), 4.0, 0.47 + 2.33));
  EXPECT_TRUE(HasTextAt(red.Pages[0], QStringLiteral("1000.00"), 4.0, 7.88 + 2.0));
  EXPECT_TRUE(TextsEqual(red.Pages[0], QStringLiteral("MILLER, ANN")).isEmpty());
}

TEST_F(Print1099NECTest, RedCopiesTakeThreeSlotsPerSheetAndOpenNoEmptySheet) {
  QList<TPayeeRecord> payees = MixedPayees();
  payees.append(SamplePayee(QStringLiteral("Young"), QStringLiteral("456-78-9012"), 0));
  OpenPayerFile(SamplePayer(), payees);
  const TReportJob job = PrintRed();
  ASSERT_EQ(job.PageCount(), 2);
  const QList<double> first = RowsOf(job.Pages[0], QStringLiteral("12-3456789"));
  ASSERT_EQ(first.size(), 3);
  EXPECT_NEAR(first[0], 0.47 + 1.33, 1e-9);
  EXPECT_NEAR(first[1], 4.18 + 1.33, 1e-9);
  EXPECT_NEAR(first[2], 7.88 + 1.33, 1e-9);
  const QList<double> second = RowsOf(job.Pages[1], QStringLiteral("12-3456789"));
  ASSERT_EQ(second.size(), 1);
  EXPECT_NEAR(second[0], 0.47 + 1.33, 1e-9);
  // Name order across the slots; the recipient's number is never masked on a red copy.
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("ADAMS CONSULTING LLC"), 0.6, 0.47 + 1.67));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("BAKER, BOB"), 0.6, 4.18 + 1.83));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("345-67-8901"), 2.3, 4.18 + 1.33));
  EXPECT_TRUE(HasTextAt(job.Pages[1], QStringLiteral("ZIMMER, PAUL"), 0.6, 0.47 + 1.83));
}

// Every position of the red copy table, for a payee that fills every item.
TEST_F(Print1099NECTest, RedCopyPutsEveryItemAtItsPlaceWithTheOffsets) {
  const double vo = -0.25, ho = 0.1;
  WriteOffsets(QStringLiteral("F1099NEC"), vo, ho);
  TPayerRecord payer = SamplePayer();
  payer.SetString("PayerName", QStringLiteral("Acme Construction Supply Company Incorp."));
  TPayeeRecord p =
      SamplePayee(QStringLiteral("Public, John Q"), QStringLiteral("123-45-6788"), 1500.5);
  p.SetString("CompName", QStringLiteral("Public Consulting"));
  p.SetBool("Corrected1099NEC", true);
  p.SetBool("F1099NEC2", true);
  p.SetDouble("F1099NEC3", 250);
  p.SetDouble("F1099NEC4", 1234.56);
  p.SetDouble("F1099NEC5_1", 10);
  p.SetDouble("F1099NEC5_2", 20);
  p.SetDouble("F1099NEC7_1", 1000);
  p.SetDouble("F1099NEC7_2", 2000);
  p.SetString("AcctNum1099NEC", QStringLiteral("ACCT-7"));
  p.SetBool("SecTINnot1099NEC", true);
  OpenPayerFile(payer, {p});
  const double t = 0.47 + vo;
  const double name = 120 / 12.5;  // 40 characters in 3.2 inches
  const QList<TRedItem> expected = {
      {"X", 3.18, -0.02, 12},
      {"ACME CONSTRUCTION SUPPLY COMPANY INCORP.", 0.6, 0.47, name},
      {"ACME BUILDERS", 0.6, 0.67, name},
      {"1234 INDUSTRIAL PKWY SUITE 200", 0.6, 0.84, 12},
      {"2025", 5.63, 0.99, 12},
      {"SPRINGFIELD, IL 62704", 0.6, 1.01, 12},
      {"12-3456789", 0.6, 1.33, 12},
      {"123-45-6788", 2.3, 1.33, 12},
      {"1500.50", 4.0, 1.33, 12},
      {"PUBLIC, JOHN Q", 0.6, 1.67, 12},
      {"PUBLIC CONSULTING", 0.6, 1.83, 12},
      {"X", 6.45, 1.6, 12},
      {"250.00", 4.0, 2.0, 12},
      {"42 ELM STREET", 0.6, 2.17, 12},
      {"1234.56", 4.0, 2.33, 12},
      {"DECATUR, IL 62521", 0.6, 2.5, 12},
      {"10.00", 4.0, 2.67, 12},
      {"IL 1234-5678", 5.05, 2.67, 12},
      {"1000.00", 6.85, 2.67, 12},
      {"ACCT-7", 0.6, 2.85, 12},
      {"X", 3.5, 2.85, 12},
      {"20.00", 4.0, 2.85, 12},
      {"WI W-99", 5.05, 2.85, 12},
      {"2000.00", 6.85, 2.85, 12},
  };
  const TReportJob job = PrintRed();
  ASSERT_EQ(job.PageCount(), 1);
  ExpectRedItems(job.Pages[0], expected, t, ho);
  EXPECT_DOUBLE_EQ(name, FitFontSize(payer.GetString("PayerName"), 3.2));
}

// Without a trade name the payer's lines move up; without a second name line the recipient's
// single name sits on the lower line; empty boxes print nothing.
TEST_F(Print1099NECTest, RedCopyRowsFollowTheNameLines) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("TradeName", QString());
  TPayeeRecord p = SamplePayee(QStringLiteral("A Long Recipient Name For Fitting Test X"),
                               QStringLiteral("98-7654321"), 100);
  p.SetDouble("F1099NEC3", 250);
  OpenPayerFile(payer, {p});
  MaskSSNOption = true;
  const TReportJob job = PrintRed();
  const TPage& page = job.Pages[0];
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("1234 INDUSTRIAL PKWY SUITE 200"), 0.6, 0.47 + 0.67));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("SPRINGFIELD, IL 62704"), 0.6, 0.47 + 0.84));
  const QList<TDisplayItem> name =
      TextsEqual(page, QStringLiteral("A LONG RECIPIENT NAME FOR FITTING TEST X"));
  ASSERT_EQ(name.size(), 1);
  EXPECT_NEAR(name[0].Y, 0.47 + 1.83, 1e-9);
  EXPECT_NEAR(name[0].Font.Size, FitFontSize(p.GetString("PayeeName"), 3.2), 1e-9);
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("250.00"), 4.0, 0.47 + 2.0));
  for (const TDisplayItem& t : Texts(page)) {
    EXPECT_GT(std::fabs(t.Y - (0.47 + 2.33)), 1e-6) << t.Text.toStdString();  // box 4 empty
    EXPECT_NE(t.Text, QStringLiteral("X"));
  }
  EXPECT_EQ(TextsEqual(page, QStringLiteral("ACME SUPPLY")).size(), 1);
}
}  // namespace

// A payer that withholds no state tax has no state numbers: the state boxes of both prints stay
// empty, without a stray blank standing for the missing code and number.
TEST_F(Print1099NECTest, PayerWithoutStateNumbersPrintsNothingInTheStateBoxes) {
  TPayerRecord payer = SamplePayer();
  for (const char* field : {"StateName1", "StateID1", "StateName2", "StateID2"})
    payer.SetString(field, QString());
  OpenPayerFile(payer, MixedPayees());
  for (const TReportJob& job : {PrintProgram(), PrintRed()}) {
    ASSERT_GE(job.PageCount(), 1);
    for (const TDisplayItem& text : Texts(job.Pages[0]))
      EXPECT_FALSE(IsBlank(text.Text)) << "a blank text at " << text.X << ", " << text.Y;
  }
}
