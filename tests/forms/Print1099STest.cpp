// The two prints of Form 1099-S on the display list: program-generated forms (one per page, in
// name order, the transferor's SSN masked, the filer's number never) and the red copies (three
// per sheet at the table's positions, offsets added, fitted sizes), the payees both count for
// the Form 1096, and the Form 1096 of this form type.
#include <QStringList>

#include "FormsFixture.h"
#include "core/Utils.h"
#include "forms/Form1096.h"
#include "forms/Form1099S.h"
#include "forms/FormPrint.h"
#include "forms/FormTotals.h"
#include "storage/Globals.h"

namespace {
class Print1099STest : public TFormPrintTest {
 protected:
  Print1099STest() : TFormPrintTest(Form1099SDef()) {}

  // Record order Zimmer, Adams, Miller, Baker, Nolan (no sale): name order of the sales is
  // Adams, Baker, Miller, Zimmer.
  static QList<TPayeeRecord> Sales() {
    TPayeeRecord adams =
        SalePayee(QStringLiteral("Adams Realty Trust"), QStringLiteral("98-7654321"), 480000);
    adams.SetString("CompName", QStringLiteral("Attn Mary Adams"));
    // A payee of another form only: no 1099-S.
    TPayeeRecord nolan = SamplePayee(QStringLiteral("Nolan"), QStringLiteral("111-22-3333"), 900);
    return {SalePayee(QStringLiteral("Zimmer, Paul"), QStringLiteral("123-45-6788"), 150000), adams,
            SalePayee(QStringLiteral("miller, ann"), QStringLiteral("234-56-7890"), 300000),
            SalePayee(QStringLiteral("Baker, Bob"), QStringLiteral("345-67-8901"), 80000), nolan};
  }
};

QString TransferorOn(const TPage& page) {
  return FirstTextOn(page, {"ADAMS REALTY TRUST", "BAKER, BOB", "MILLER, ANN", "ZIMMER, PAUL"});
}

TEST_F(Print1099STest, ProgramGeneratedFormsComeOnePerPageInNameOrder) {
  OpenPayerFile(SamplePayer(), Sales());
  Module->RSPayee->SetCurrentRecord(3);
  Module->RSPayee->GetRec();
  const TReportJob job = PrintProgram();
  EXPECT_EQ(TotalForms, 4);
  EXPECT_EQ(Printed, 4);
  ASSERT_EQ(job.PageCount(), 4);
  QStringList order;
  for (const TPage& page : job.Pages) order << TransferorOn(page);
  EXPECT_EQ(order,
            QStringList({"ADAMS REALTY TRUST", "BAKER, BOB", "MILLER, ANN", "ZIMMER, PAUL"}));
  for (const TPage& page : job.Pages) {
    EXPECT_EQ(TextsEqual(page, QStringLiteral("1099-S")).size(), 1);
    // The filer prints by its name alone: the trade name has no place on this form.
    EXPECT_EQ(TextsEqual(page, QStringLiteral("ACME SUPPLY")).size(), 1);
    EXPECT_TRUE(TextsEqual(page, QStringLiteral("ACME BUILDERS")).isEmpty());
    EXPECT_EQ(TextsEqual(page, QStringLiteral("06/15/2025")).size(), 1);
  }
  EXPECT_TRUE(Project->Param(QStringLiteral("PayerName2")).isEmpty());
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), QStringLiteral("miller, ann"));
}

// The transferor's SSN is masked when asked; the filer's own number never is, not even its SSN.
TEST_F(Print1099STest, OnlyTheTransferorsSocialSecurityNumberIsMasked) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("EmpIDNum", QString());
  OpenPayerFile(payer, Sales());
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
    EXPECT_EQ(TextsEqual(page, QStringLiteral("321-54-9876")).size(), 1);
    EXPECT_TRUE(TextsEqual(page, QStringLiteral("***-**-9876")).isEmpty());
  }
}

TEST_F(Print1099STest, EveryPayeeParameterIsSetAfreshForEachForm) {
  TPayeeRecord first = SalePayee(QStringLiteral("Alpha"), QStringLiteral("123-45-6788"), 1000);
  first.SetBool("Corrected1099S", true);
  first.SetBool("F1099S4", true);
  first.SetBool("F1099S5", true);
  first.SetDouble("F1099S6", 1234.5);
  first.SetString("F1099S3_1", QStringLiteral("17 Lake Road"));
  first.SetString("F1099S3_2", QStringLiteral("Lot 4"));
  first.SetString("F1099S3_3", QStringLiteral("Parcel 22-301"));
  first.SetString("AcctNum1099S", QStringLiteral("ESC-1"));
  first.SetString("CompName", QStringLiteral("Alpha Two"));
  TPayeeRecord second = SalePayee(QStringLiteral("Beta"), QStringLiteral("234-56-7890"), 200);
  second.SetString("F1099S1", QStringLiteral("  /  /    "));  // an untouched date box
  OpenPayerFile(SamplePayer(), {second, first});
  const TReportJob job = PrintProgram();
  ASSERT_EQ(job.PageCount(), 2);
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("X")).size(), 3);  // CORRECTED, boxes 4, 5
  const QStringList firstOnly = {"1,234.50", "17 Lake Road", "Lot 4",     "Parcel 22-301",
                                 "ESC-1",    "ALPHA TWO",    "06/15/2025"};
  for (const QString& text : firstOnly) {
    EXPECT_EQ(TextsEqual(job.Pages[0], text).size(), 1) << text.toStdString();
    EXPECT_TRUE(TextsEqual(job.Pages[1], text).isEmpty()) << text.toStdString();
  }
  EXPECT_TRUE(TextsEqual(job.Pages[1], QStringLiteral("X")).isEmpty());
  EXPECT_EQ(TextsEqual(job.Pages[1], QStringLiteral("200.00")).size(), 1);
  EXPECT_TRUE(Project->Param(QStringLiteral("Box1")).isEmpty());
  for (const TDisplayItem& t : Texts(job.Pages[1]))
    EXPECT_FALSE(t.Text.contains(QLatin1String("  /"))) << t.Text.toStdString();
}

// Box 2 alone decides, rounded to cents in the count and in both prints alike: a fraction of a
// cent neither counts for the Form 1096 nor prints "0.00" on a red copy.
TEST_F(Print1099STest, FractionOfACentInBox2FilesNoFormAnywhere) {
  QList<TPayeeRecord> payees = Sales();
  payees[0].SetDouble("F1099S2", 0.004);  // Zimmer
  OpenPayerFile(SamplePayer(), payees);
  const TReportJob program = PrintProgram();
  EXPECT_EQ(TotalForms, 3);
  EXPECT_EQ(Printed, 3);
  EXPECT_EQ(program.PageCount(), 3);
  const TReportJob red = PrintRed();
  EXPECT_EQ(Printed, 3);
  ASSERT_EQ(red.PageCount(), 1);
  for (const TPage& page : program.Pages + red.Pages) {
    EXPECT_TRUE(TextsEqual(page, QStringLiteral("ZIMMER, PAUL")).isEmpty());
    EXPECT_TRUE(TextsEqual(page, QStringLiteral("NOLAN")).isEmpty());
  }
}

TEST_F(Print1099STest, RedCopiesTakeThreeSlotsPerSheet) {
  OpenPayerFile(SamplePayer(), Sales());
  const TReportJob job = PrintRed();
  ASSERT_EQ(job.PageCount(), 2);
  EXPECT_EQ(RowsOf(job.Pages[0], QStringLiteral("2025")),
            QList<double>({0.5 + 0.99, 4.18 + 0.99, 7.88 + 0.99}));
  EXPECT_EQ(RowsOf(job.Pages[1], QStringLiteral("2025")), QList<double>({0.5 + 0.99}));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("ADAMS REALTY TRUST"), 0.6, 0.5 + 1.67));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("BAKER, BOB"), 0.6, 4.18 + 1.83));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("345-67-8901"), 2.3, 4.18 + 1.33));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("300000.00"), 4.1, 7.88 + 1.0));
  EXPECT_TRUE(HasTextAt(job.Pages[1], QStringLiteral("ZIMMER, PAUL"), 0.6, 0.5 + 1.83));
}

// Every position of the red copy table, for a payee that fills every item.
TEST_F(Print1099STest, RedCopyPutsEveryItemAtItsPlaceWithTheOffsets) {
  const double vo = 0.2, ho = -0.1;
  WriteOffsets(QStringLiteral("F1099S"), vo, ho);
  TPayerRecord payer = SamplePayer();
  payer.SetString("PayerName", QStringLiteral("Acme Construction Supply Company Incorp."));
  TPayeeRecord p = SalePayee(QStringLiteral("Public, John"), QStringLiteral("123-45-6788"), 250000);
  p.SetString("CompName", QStringLiteral("Public Family Real Estate Holdings Trust"));
  p.SetBool("Corrected1099S", true);
  p.SetString("F1099S3_1", QStringLiteral("17 Lake Road"));
  p.SetString("F1099S3_2", QStringLiteral("Springfield Il"));
  p.SetString("F1099S3_3", QStringLiteral("Parcel 22-301"));
  p.SetBool("F1099S4", true);
  p.SetBool("F1099S5", true);
  p.SetString("AcctNum1099S", QStringLiteral("ESC-7"));
  p.SetDouble("F1099S6", 1234.56);
  OpenPayerFile(payer, {p});
  MaskSSNOption = true;
  const double t = 0.5 + vo;
  const double fitted = 120 / 12.5;  // 40 characters in 3.2 inches
  const QList<TRedItem> expected = {
      {"X", 3.17, -0.01, 12},
      {"ACME CONSTRUCTION SUPPLY COMPANY INCORP.", 0.6, 0.5, fitted},
      {"1234 INDUSTRIAL PKWY SUITE 200", 0.6, 0.67, 12},
      {"2025", 5.62, 0.99, 12},
      {"SPRINGFIELD, IL 62704", 0.6, 0.84, 12},
      {"217-555-0123", 0.6, 1.01, 12},
      {"06/15/2025", 4.1, 0.5, 12},
      {"250000.00", 4.1, 1.0, 12},
      {"12-3456789", 0.6, 1.33, 12},
      {"123-45-6788", 2.3, 1.33, 12},
      {"17 LAKE ROAD", 4.1, 1.33, 12},
      {"SPRINGFIELD IL", 4.1, 1.5, 12},
      {"PARCEL 22-301", 4.1, 1.67, 12},
      {"PUBLIC, JOHN", 0.6, 1.67, 12},
      {"PUBLIC FAMILY REAL ESTATE HOLDINGS TRUST", 0.6, 1.83, fitted},
      {"X", 6.47, 1.95, 12},
      {"42 ELM STREET", 0.6, 2.17, 12},
      {"X", 6.47, 2.41, 12},
      {"DECATUR, IL 62521", 0.6, 2.5, 12},
      {"ESC-7", 0.6, 2.83, 12},
      {"1234.56", 4.1, 2.83, 12},
  };
  const TReportJob job = PrintRed();
  ASSERT_EQ(job.PageCount(), 1);
  ExpectRedItems(job.Pages[0], expected, t, ho);
  EXPECT_DOUBLE_EQ(fitted, FitFontSize(p.GetString("CompName"), 3.2));
}

// The Form 1096 of this form type counts and adds exactly the payees both prints print.
TEST_F(Print1099STest, Form1096SummarisesTheSalesThatPrint) {
  QList<TPayeeRecord> payees = Sales();
  payees[0].SetDouble("F1099S2", 0.004);  // Zimmer: no form, yet added to the amount as stored
  OpenPayerFile(SamplePayer(), payees);
  CurrentFormType = ft1099S;
  EXPECT_EQ(ScanFormTotals(), 3);
  EXPECT_DOUBLE_EQ(TotalWithheld, 0);
  EXPECT_NEAR(TotalAmount, 860000.004, 1e-6);

  const TPage page = Print1096Program().Pages[0];
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("3"), 4.05, 3.66));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("860,000.00"), 7.95, 3.66));
  const QList<TDisplayItem> marks = TextsEqual(page, QStringLiteral("X"));
  ASSERT_EQ(marks.size(), 1);
  EXPECT_NEAR(marks[0].X, 4.69, 1e-9);  // the 1099-S box of the form types

  const TPage sheet = Print1096Red(QDate(2026, 1, 20)).Pages[0];
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("X"), 4.5, 4.75));
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("860000.00"), 6.1, 3.47));
  for (const TDisplayItem& t : Texts(sheet)) EXPECT_NE(t.Text, QStringLiteral("0.00"));
}
}  // namespace
