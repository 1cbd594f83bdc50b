// The two prints of Form 1098 on the display list: program-generated forms (the lender as
// recipient, the borrower as payer, borrowers' SSNs masked, the lender's number never), the red
// copies (two per sheet at the table's positions), the one qualifying rule shared with the totals
// and the Form 1096, and papyra-batch on a file of mortgages.
#include <QMap>
#include <QStringList>

#include "FormsFixture.h"
#include "core/Utils.h"
#include "engine/Snapshot.h"
#include "forms/Form1096.h"
#include "forms/Form1098.h"
#include "forms/FormPrint.h"
#include "forms/FormRegistry.h"
#include "forms/FormTotals.h"
#include "storage/Globals.h"

namespace {
class Print1098Test : public TFormPrintTest {
 protected:
  Print1098Test() : TFormPrintTest(Form1098Def()) {}

  // Record order Zimmer, Adams, Miller, Young: name order Adams, Miller, Young, Zimmer. Young
  // has no Form 1098.
  static QList<TPayeeRecord> Borrowers() {
    TPayeeRecord zimmer =
        SampleBorrower(QStringLiteral("Zimmer, Paul"), QStringLiteral("123-45-6788"), 1500);
    TPayeeRecord adams =
        SampleBorrower(QStringLiteral("Adams Family Trust"), QStringLiteral("98-7654321"), 25000);
    adams.SetString("CompName", QStringLiteral("Attn Mary Adams"));
    TPayeeRecord miller =
        SampleBorrower(QStringLiteral("miller, ann"), QStringLiteral("234-56-7890"), 300);
    miller.SetString("Address1", QStringLiteral("7 lower lane"));
    TPayeeRecord young =
        SamplePayee(QStringLiteral("Young, Amy"), QStringLiteral("456-78-9012"), 800);
    return {zimmer, adams, miller, young};
  }
};

QString BorrowerOn(const TPage& page) {
  return FirstTextOn(page, {"ADAMS FAMILY TRUST", "MILLER, ANN", "YOUNG, AMY", "ZIMMER, PAUL"});
}

TEST_F(Print1098Test, ProgramGeneratedFormsInNameOrderWithMaskedBorrowersOnly) {
  TPayerRecord lender = SamplePayer();
  lender.SetString("EmpIDNum", QString());  // the lender files under its SSN
  OpenPayerFile(lender, Borrowers());
  Module->RSPayee->SetCurrentRecord(3);
  Module->RSPayee->GetRec();
  for (bool mask : {true, false}) {
    SCOPED_TRACE(mask ? "masked" : "not masked");
    MaskSSNOption = mask;
    const TReportJob job = PrintProgram();
    ASSERT_EQ(job.PageCount(), 3);
    EXPECT_EQ(Printed, 3);
    QStringList order;
    for (const TPage& page : job.Pages) {
      order << BorrowerOn(page);
      EXPECT_EQ(TextsEqual(page, QStringLiteral("1098")).size(), 1);
      EXPECT_EQ(TextsEqual(page, QStringLiteral("For Payer/Borrower")).size(), 1);
      EXPECT_EQ(TextsEqual(page, QStringLiteral("ACME BUILDERS")).size(), 1);
      EXPECT_EQ(TextsEqual(page, QStringLiteral("321-54-9876")).size(), 1);  // the lender's
    }
    EXPECT_EQ(order, QStringList({"ADAMS FAMILY TRUST", "MILLER, ANN", "ZIMMER, PAUL"}));
    EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("98-7654321")).size(), 1);  // an EIN
    EXPECT_EQ(TextsEqual(job.Pages[2], mask ? "***-**-6788" : "123-45-6788").size(), 1);
    EXPECT_TRUE(TextsEqual(job.Pages[2], mask ? "123-45-6788" : "***-**-6788").isEmpty());
    // The borrower's street in capitals here, as typed on the red copy.
    EXPECT_EQ(TextsEqual(job.Pages[1], QStringLiteral("7 LOWER LANE")).size(), 1);
  }
  EXPECT_EQ(Project->Param(QStringLiteral("RecipientID")), QStringLiteral("321-54-9876"));
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), QStringLiteral("miller, ann"));
}

// Each printed borrower sets every parameter of the form: what the first one filled is gone on
// the second one's form.
TEST_F(Print1098Test, EveryPayeeParameterIsSetAfreshForEachForm) {
  TPayeeRecord full = SampleBorrower(QStringLiteral("Alpha"), QStringLiteral("123-45-6788"), 100);
  full.SetBool("Corrected1098", true);
  full.SetString("CompName", QStringLiteral("Alpha Two"));
  full.SetString("AcctNum1098", QStringLiteral("LN-1"));
  full.SetDouble("F1098_2", 250000);
  full.SetDouble("F1098_4", 12.5);
  full.SetDouble("F1098_5", 600);
  full.SetDouble("F1098_6", 1234.5);
  for (int line = 1; line <= 7; ++line)
    full.SetString(QStringLiteral("F1098_8_%1").arg(line).toStdString(),
                   QStringLiteral("line %1").arg(line));
  full.SetInt("F1098_9", 37);
  full.SetString("F1098_10", QStringLiteral("Escrow paid"));
  full.SetString("F1098_11", QStringLiteral("06/30/2022"));
  TPayeeRecord bare = SamplePayee(QStringLiteral("Beta"), QStringLiteral("234-56-7890"), 0);
  bare.SetDouble("F1098_1", 200);
  bare.SetString("F1098_11", QStringLiteral("  /  /    "));  // an empty date box
  OpenPayerFile(SamplePayer(), {bare, full});
  MaskSSNOption = false;
  const TReportJob job = PrintProgram();
  ASSERT_EQ(job.PageCount(), 2);
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("X")).size(), 2);  // CORRECTED and box 7
  for (const char* shown : {"250,000.00", "12.50", "600.00", "1,234.50", "03/15/2019", "LINE 1",
                            "LINE 7", "37", "Escrow paid", "06/30/2022", "LN-1", "ALPHA TWO"})
    EXPECT_EQ(TextsEqual(job.Pages[0], QLatin1String(shown)).size(), 1) << shown;
  // The last form's parameters: the second borrower's, nothing of the first.
  const QMap<QString, QString> last = {
      {"PayerID", "234-56-7890"},
      {"PayerName2", "BETA"},
      {"PayerAddress1", "42 ELM STREET"},
      {"PayerAddress2", "DECATUR, IL 62521"},
      {"Box1", "200.00"},
      {"Box9", "0"},
  };
  for (const TParamDef& p : PayeeParams(Form1098Def())) {
    const QString name = QLatin1String(p.Name);
    EXPECT_EQ(Project->Param(name), last.value(name)) << p.Name;
  }
  EXPECT_TRUE(TextsEqual(job.Pages[1], QStringLiteral("  /  /    ")).isEmpty());
}

// The one rule: any money box rounded to cents. Points alone, and refunded interest with
// insurance premiums alone (boxes 4 and 5, which the 1096 does not add), make a form in the 1096
// count and in both prints; a fraction of a cent makes none anywhere.
TEST_F(Print1098Test, InterestOrPointsMakeTheFormInTheTotalsAndBothPrints) {
  TPayeeRecord points =
      SamplePayee(QStringLiteral("Points, Only"), QStringLiteral("123-45-6788"), 0);
  points.SetDouble("F1098_6", 300);
  TPayeeRecord fraction = SamplePayee(QStringLiteral("Fraction"), QStringLiteral("234-56-7890"), 0);
  fraction.SetDouble("F1098_1", 0.004);
  TPayeeRecord refund = SamplePayee(QStringLiteral("Refund"), QStringLiteral("345-67-8901"), 0);
  refund.SetDouble("F1098_4", 50);
  refund.SetDouble("F1098_5", 500);
  OpenPayerFile(SamplePayer(), {points, fraction, refund});
  CurrentFormType = ft1098;
  EXPECT_EQ(ScanFormTotals(), 2);
  EXPECT_DOUBLE_EQ(TotalAmount, 300.004);
  EXPECT_EQ(TotalWithheld, 0);
  for (bool red : {false, true}) {
    SCOPED_TRACE(red ? "red copy" : "program generated");
    const TReportJob job = red ? PrintRed() : PrintProgram();
    EXPECT_EQ(Printed, 2);
    ASSERT_EQ(job.PageCount(), red ? 1 : 2);
    EXPECT_FALSE(TextsEqual(job.Pages.last(), QStringLiteral("REFUND")).isEmpty());
    EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("300.00")).size(), 1);
    EXPECT_EQ(TextsEqual(job.Pages[0], red ? "123-45-6788" : "***-**-6788").size(), 1);
  }
  const QString file = WritePayerFile(SamplePayer(), {points, fraction, refund});
  const TBatchRun run = RunBatch({"totals", file, "--form", "1098"});
  ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Out, QStringLiteral("Form 1098\nTotal number of forms: 2\n"
                                    "Federal income tax withheld: 0.00\n"
                                    "Total amount reported: 300.00\n"));
}

// Every position of the red copy table, for a borrower that fills every item.
TEST_F(Print1098Test, RedCopyPutsEveryItemAtItsPlaceWithTheOffsets) {
  const double vo = -0.25, ho = 0.1;
  WriteOffsets(QStringLiteral("F1098"), vo, ho);
  TPayerRecord lender = SamplePayer();
  lender.SetString("PayerName", QStringLiteral("First Prairie Savings and Loan Assn Inc."));
  lender.SetString("Address1", QStringLiteral("98765 North Industrial Parkway"));
  lender.SetString("Address2", QStringLiteral("Suite 2000"));
  TPayeeRecord p =
      SampleBorrower(QStringLiteral("Public, John Q"), QStringLiteral("123-45-6788"), 8500.5);
  p.SetString("CompName", QStringLiteral("Public, Jane R"));
  p.SetBool("Corrected1098", true);
  p.SetDouble("F1098_2", 250000);
  p.SetDouble("F1098_4", 0.5);
  p.SetDouble("F1098_5", 1200);
  p.SetDouble("F1098_6", 999999999.99);
  for (int line = 1; line <= 7; ++line)
    p.SetString(QStringLiteral("F1098_8_%1").arg(line).toStdString(),
                QStringLiteral("lot %1").arg(line));
  p.SetInt("F1098_9", 2);
  p.SetString("F1098_10", QStringLiteral("Escrow for taxes: 2,400"));
  p.SetString("AcctNum1098", QStringLiteral("LN-2025-17"));
  p.SetString("F1098_11", QStringLiteral("07/01/2021"));
  OpenPayerFile(lender, {p});
  const double name = 120 / 12.5;  // 40 characters in 3.2 inches
  const double address =
      FitFontSize(QStringLiteral("98765 NORTH INDUSTRIAL PARKWAY SUITE 2000"), 3.2);
  const double box10 = FitFontSize(QStringLiteral("Escrow for taxes: 2,400"), 1.5);
  const QList<TRedItem> expected = {
      {"X", 3.15, -0.02, 12},
      {"FIRST PRAIRIE SAVINGS AND LOAN ASSN INC.", 0.6, 0.5, name},
      {"ACME BUILDERS", 0.6, 0.67, name},
      {"98765 NORTH INDUSTRIAL PARKWAY SUITE 2000", 0.6, 0.84, address},
      {"2025", 5.6, 0.98, 12},
      {"SPRINGFIELD, IL 62704", 0.6, 1.01, 12},
      {"217-555-0123", 0.6, 1.18, 12},
      {"12-3456789", 0.6, 2.0, 12},
      {"123-45-6788", 2.3, 2.0, 12},
      {"PUBLIC, JOHN Q", 0.6, 2.33, 12},
      {"PUBLIC, JANE R", 0.6, 2.5, 12},
      {"42 Elm Street", 0.6, 3.0, 12},
      {"Decatur, IL 62521", 0.6, 3.5, 12},
      {"8500.50", 4.1, 1.33, 12},
      {"250000.00", 4.1, 1.75, 12},
      {"03/15/2019", 5.4, 1.75, 12},
      {"0.50", 4.1, 2.17, 12},
      {"1200.00", 5.4, 2.17, 12},
      {"999999999.99", 4.1, 2.5, 12},
      {"X", 4.03, 2.66, 12},
      {"LOT 1", 4.0, 3.5, 12},
      {"LOT 2", 4.0, 3.67, 12},
      {"LOT 3", 4.0, 3.83, 12},
      {"LOT 4", 4.0, 4.0, 12},
      {"LOT 5", 4.0, 4.17, 12},
      {"LOT 6", 4.0, 4.33, 12},
      {"LOT 7", 4.0, 4.5, 12},
      {"2", 0.6, 4.0, 12},
      {"Escrow for taxes: 2,400", 2.3, 3.83, box10},
      {"LN-2025-17", 0.6, 4.5, 12},
      {"07/01/2021", 6.7, 4.5, 12},
  };
  EXPECT_LT(address, name);  // both fitted below 12 points
  EXPECT_LT(box10, 12);
  const TReportJob job = PrintRed();
  ASSERT_EQ(job.PageCount(), 1);
  ExpectRedItems(job.Pages[0], expected, 0.5 + vo, ho);
}

// Without a trade name the lender's lines move up; amounts print only above zero, box 11 only
// as a date (not the empty box's mask), boxes 7 and CORRECTED only when checked.
TEST_F(Print1098Test, RedCopyLeavesOutWhatIsNotThere) {
  TPayerRecord lender = SamplePayer();
  lender.SetString("TradeName", QString());
  TPayeeRecord p = SampleBorrower(QStringLiteral("Only"), QStringLiteral("123-45-6788"), 10);
  p.SetBool("F1098_7", false);
  p.SetDouble("F1098_5", 120);
  p.SetString("F1098_11", QStringLiteral("  /  /    "));
  OpenPayerFile(lender, {p});
  const TPage page = PrintRed().Pages[0];
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("ACME SUPPLY"), 0.6, 0.5 + 0.5));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("1234 INDUSTRIAL PKWY SUITE 200"), 0.6, 0.5 + 0.67));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("SPRINGFIELD, IL 62704"), 0.6, 0.5 + 0.84));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("217-555-0123"), 0.6, 0.5 + 1.01));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("120.00"), 5.4, 0.5 + 2.17));
  EXPECT_TRUE(TextsEqual(page, QStringLiteral("X")).isEmpty());
  EXPECT_TRUE(TextsEqual(page, QStringLiteral("  /  /    ")).isEmpty());
  for (const TDisplayItem& t : Texts(page))
    EXPECT_FALSE(std::fabs(t.X - 4.1) < 1e-9 && std::fabs(t.Y - (0.5 + 2.17)) < 1e-9)
        << "box 4 printed: " << t.Text.toStdString();
}

TEST_F(Print1098Test, RedCopiesTakeTwoSlotsPerSheetAndOpenNoEmptySheet) {
  OpenPayerFile(SamplePayer(), Borrowers());
  const TReportJob job = PrintRed();
  ASSERT_EQ(job.PageCount(), 2);
  EXPECT_EQ(Printed, 3);
  const QList<double> first = RowsOf(job.Pages[0], QStringLiteral("12-3456789"));
  ASSERT_EQ(first.size(), 2);
  EXPECT_NEAR(first[0], 0.5 + 2.0, 1e-9);
  EXPECT_NEAR(first[1], 6.03 + 2.0, 1e-9);
  const QList<double> second = RowsOf(job.Pages[1], QStringLiteral("12-3456789"));
  ASSERT_EQ(second.size(), 1);
  EXPECT_NEAR(second[0], 0.5 + 2.0, 1e-9);
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("ADAMS FAMILY TRUST"), 0.6, 0.5 + 2.33));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("7 lower lane"), 0.6, 6.03 + 3.0));
  EXPECT_TRUE(HasTextAt(job.Pages[1], QStringLiteral("123-45-6788"), 2.3, 0.5 + 2.0));
}

// The Form 1096 for the 1098s counts what the forms print: the 1098 box marked, no withheld tax.
TEST_F(Print1098Test, Form1096SummarisesTheMortgageForms) {
  TPayeeRecord points = SamplePayee(QStringLiteral("Points"), QStringLiteral("123-45-6788"), 0);
  points.SetDouble("F1098_6", 300);
  QList<TPayeeRecord> payees = Borrowers();
  payees.append(points);
  OpenPayerFile(SamplePayer(), payees);
  CurrentFormType = ft1098;
  ASSERT_EQ(ScanFormTotals(), 4);
  const TPage program = Print1096Program().Pages[0];
  const TReportLayout layout = TReportProject::LoadLayout(SourceProjectFile(), "Form1096");
  auto at = [&](const char* param) { return *layout.Param(QLatin1String(param)); };
  EXPECT_TRUE(HasTextAt(program, QStringLiteral("X"), at("CB1098").X, at("CB1098").Y));
  EXPECT_EQ(TextsEqual(program, QStringLiteral("X")).size(), 1);
  EXPECT_TRUE(HasTextAt(program, QStringLiteral("4"), at("TotalForms").X, at("TotalForms").Y));
  EXPECT_TRUE(HasTextAt(program, QStringLiteral("27,100.00"), at("Total").X, at("Total").Y));
  for (const TDisplayItem& t : Texts(program)) EXPECT_NE(t.Text, QStringLiteral("0.00"));

  const TPage sheet = Print1096Red(QDate(2026, 2, 2)).Pages[0];
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("X"), 1.5, 4.17));
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("4"), 4.4, 3.47));
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("27100.00"), 6.1, 3.47));
  for (const TDisplayItem& t : Texts(sheet)) EXPECT_NE(t.Text, QStringLiteral("0.00"));
}

TEST_F(Print1098Test, BatchPrintsTheMortgageFormsLikeTheScreen) {
  const QString file = WritePayerFile(SamplePayer(), Borrowers());
  const QByteArray before = ReadAll(file);
  struct TCase {
    QStringList Args;
    int Pages;
    QString ZimmerTin;  // on the last form
  };
  const TCase cases[] = {
      // The forms alone, as the fixture's screens print them.
      {{"--kind", "program", "--instructions", "no", "--mask-ssn", "yes"}, 3, "***-**-6788"},
      {{"--kind", "program", "--instructions", "no", "--mask-ssn", "no"}, 3, "123-45-6788"},
      // The red copy goes to the IRS with the whole number, though masking is on by default.
      {{"--kind", "redcopy"}, 2, "123-45-6788"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Args.join(' ').toStdString());
    const QString out = Folder.Path(QStringLiteral("out.snp"));
    const TBatchRun run =
        RunBatch(QStringList{"print", file, "--form", "1098"} + c.Args + QStringList{"--out", out});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const TReportJob job = LoadSnapshot(out);
    ASSERT_EQ(job.PageCount(), c.Pages);
    EXPECT_FALSE(TextsEqual(job.Pages[0], QStringLiteral("ADAMS FAMILY TRUST")).isEmpty());
    EXPECT_FALSE(TextsEqual(job.Pages.last(), c.ZimmerTin).isEmpty());
    EXPECT_FALSE(TextsEqual(job.Pages.last(), QStringLiteral("12-3456789")).isEmpty());
  }
  EXPECT_EQ(ReadAll(file), before);
}
}  // namespace
