// The prints of Form 1099-R on the display list: program-generated forms (one per page, in name
// order, masked recipients' numbers, every parameter set afresh), the red copies (two per sheet
// at the table's positions, offsets added, fitted sizes, centred and pushed-font items), the one
// qualifying rule shared with the Form 1096, and the Form 1096 of the 1099-R returns.
#include <QStringList>

#include "FormsFixture.h"
#include "core/Utils.h"
#include "forms/Form1096.h"
#include "forms/Form1099R.h"
#include "forms/FormPrint.h"
#include "forms/FormTotals.h"
#include "storage/Globals.h"

namespace {
class Print1099RTest : public TFormPrintTest {
 protected:
  Print1099RTest() : TFormPrintTest(Form1099RDef()) {}

  static TPayerRecord Payer() {
    TPayerRecord p = SamplePayer();
    p.SetString("Locality1", QStringLiteral("Springfield"));
    p.SetString("Locality2", QStringLiteral("Sangamon Cty"));
    return p;
  }
  static TPayeeRecord Retiree(const QString& name, const QString& tin, double box1) {
    TPayeeRecord p = PayeeWith(name, tin, "F1099R1", box1);
    p.SetString("F1099R7", QStringLiteral("7"));
    return p;
  }
  // A payee with every box of the form filled.
  static TPayeeRecord Full() {
    TPayeeRecord p =
        Retiree(QStringLiteral("Public, John Q"), QStringLiteral("123-45-6788"), 52000.5);
    p.SetString("CompName", QStringLiteral("Public Family Trust"));
    p.SetBool("Corrected1099R", true);
    p.SetDouble("F1099R2", 48000);
    p.SetBool("F1099R2b1", true);
    p.SetBool("F1099R2b2", true);
    p.SetDouble("F1099R3", 1500);
    p.SetDouble("F1099R4", 9600);
    p.SetDouble("F1099R5", 4000);
    p.SetDouble("F1099R6", 250);
    p.SetString("F1099R7", QStringLiteral("7D"));
    p.SetBool("F1099R7a", true);
    p.SetDouble("F1099R8", 1234.56);
    p.SetInt("F1099R8a", 25);
    p.SetInt("F1099R9a", 60);
    p.SetDouble("F1099R9b", 3000);
    p.SetDouble("F1099R10", 800);
    p.SetString("F1099R11", QStringLiteral("2019"));
    p.SetBool("FATCA1099R", true);
    p.SetDouble("F1099R14_1", 900);
    p.SetDouble("F1099R14_2", 90);
    p.SetDouble("F1099R16_1", 45000);
    p.SetDouble("F1099R16_2", 4500);
    p.SetDouble("F1099R17_1", 120);
    p.SetDouble("F1099R17_2", 12);
    p.SetDouble("F1099R19_1", 6000);
    p.SetDouble("F1099R19_2", 600);
    p.SetString("AcctNum1099R", QStringLiteral("PLAN-0042"));
    p.SetString("F1099RDOP", QStringLiteral("06/30/2025"));
    return p;
  }
};

// Every position of the red copy table, for a payee that fills every item, with the offsets.
TEST_F(Print1099RTest, RedCopyPutsEveryItemAtItsPlaceWithTheOffsets) {
  const double vo = 0.125, ho = -0.05;
  WriteOffsets(QStringLiteral("F1099R"), vo, ho);
  TPayerRecord payer = Payer();
  payer.SetString("PayerName", QStringLiteral("Acme Construction Supply Company Incorp."));
  OpenPayerFile(payer, {Full()});
  const double name = 120 / 12.5;  // 40 characters in 3.2 inches
  const double payee = FitFontSize(QStringLiteral("Public, John Q"), 3.2);
  const QList<TRedItem> expected = {
      {"X", 3.17, 0.0, 12},
      {"ACME CONSTRUCTION SUPPLY COMPANY INCORP.", 0.6, 0.5, name},
      {"ACME BUILDERS", 0.6, 0.67, name},
      {"1234 INDUSTRIAL PKWY SUITE 200", 0.6, 0.84, 12},
      {"SPRINGFIELD, IL 62704", 0.6, 1.01, 12},
      {"217-555-0123", 0.6, 1.18, 12},
      {"52000.50", 4.0, 0.5, 12},
      {"48000.00", 4.0, 1.0, 12},
      {"X", 5.02, 1.29, 12, TAlign::Center},
      {"X", 6.22, 1.29, 12, TAlign::Center},
      {"12-3456789", 0.6, 2.02, 12},
      {"123-45-6788", 2.3, 2.02, 12},
      {"1500.00", 4.0, 2.02, 12},
      {"9600.00", 5.4, 2.02, 12},
      {"PUBLIC, JOHN Q", 0.6, 2.52, payee},
      {"PUBLIC FAMILY TRUST", 0.6, 2.69, payee},
      {"4000.00", 4.0, 2.69, 12},
      {"250.00", 5.4, 2.69, 12},
      {"42 ELM STREET", 0.6, 3.19, 12},
      {"7D", 4.4, 3.19, 12, TAlign::Center},
      {"X", 5.0, 3.17, 12},
      {"1234.56", 5.4, 3.17, FitFontSize(QStringLiteral("1234.56"), 0.6)},
      {"25", 6.2, 3.17, 12},
      {"DECATUR, IL 62521", 0.6, 3.52, 12},
      {"60", 4.8, 3.52, 12},
      {"3000.00", 5.4, 3.52, 12},
      {"800.00", 0.6, 4.02, 12},
      {"2019", 2.3, 4.02, 12},
      {"X", 3.42, 4.0, 12},
      {"900.00", 4.0, 3.86, 12},
      {"IL 1234-5678", 5.4, 3.86, FitFontSize(QStringLiteral("IL 1234-5678"), 1.15)},
      {"45000.00", 6.8, 3.86, 12},
      {"90.00", 4.0, 4.03, 12},
      {"WI W-99", 5.4, 4.03, 12},
      {"4500.00", 6.8, 4.03, 12},
      {"120.00", 4.0, 4.36, 12},
      {"Springfield", 5.4, 4.36, 12},
      {"6000.00", 6.8, 4.36, 12},
      {"PLAN-0042", 0.6, 4.53, 12},
      {"06/30/2025", 3.05, 4.53, FitFontSize(QStringLiteral("06/30/2025"), 0.75)},
      {"12.00", 4.0, 4.53, 12},
      {"Sangamon Cty", 5.4, 4.53, 12},
      {"600.00", 6.8, 4.53, 12},
  };
  const TReportJob job = PrintRed();
  ASSERT_EQ(job.PageCount(), 1);
  ExpectRedItems(job.Pages[0], expected, 0.5 + vo, ho);
}

// Two forms a sheet at 0.5 and 6.03, a third on a new sheet, none after; without a trade name
// the payer's lines move up, a single recipient name sits on the lower line, empty boxes and an
// empty date box print nothing, and no tax year prints.
TEST_F(Print1099RTest, RedCopiesTakeTwoSlotsPerSheetAndFollowTheNameLines) {
  TPayerRecord payer = Payer();
  payer.SetString("TradeName", QString());
  TPayeeRecord third = Retiree(QStringLiteral("Zimmer, Paul"), QStringLiteral("345-67-8901"), 10);
  third.SetString("F1099RDOP", QStringLiteral("  /  /    "));
  OpenPayerFile(payer, {third, Full(),
                        Retiree(QStringLiteral("Baker, Bob"), QStringLiteral("234-56-7890"), 700),
                        Retiree(QStringLiteral("Nobody"), QStringLiteral("456-78-9012"), 0)});
  MaskSSNOption = true;
  const TReportJob job = PrintRed();
  EXPECT_EQ(Printed, 3);
  ASSERT_EQ(job.PageCount(), 2);
  const QList<double> first = RowsOf(job.Pages[0], QStringLiteral("12-3456789")),
                      second = RowsOf(job.Pages[1], QStringLiteral("12-3456789"));
  ASSERT_EQ(first.size(), 2);
  EXPECT_NEAR(first[0], 0.5 + 2.02, 1e-9);
  EXPECT_NEAR(first[1], 6.03 + 2.02, 1e-9);
  ASSERT_EQ(second.size(), 1);
  EXPECT_NEAR(second[0], 0.5 + 2.02, 1e-9);
  // Name order: Baker, Public, then Zimmer; numbers as stored.
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("BAKER, BOB"), 0.6, 0.5 + 2.69));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("PUBLIC, JOHN Q"), 0.6, 6.03 + 2.52));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("234-56-7890"), 2.3, 0.5 + 2.02));
  EXPECT_TRUE(HasTextAt(job.Pages[1], QStringLiteral("ZIMMER, PAUL"), 0.6, 0.5 + 2.69));
  const TPage& page = job.Pages[1];
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("ACME SUPPLY"), 0.6, 0.5 + 0.5));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("1234 INDUSTRIAL PKWY SUITE 200"), 0.6, 0.5 + 0.67));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("SPRINGFIELD, IL 62704"), 0.6, 0.5 + 0.84));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("217-555-0123"), 0.6, 0.5 + 1.01));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("10.00"), 4.0, 0.5 + 0.5));
  for (const QString& absent : {QStringLiteral("2025"), QStringLiteral("  /  /    "),
                                QStringLiteral("X"), QStringLiteral("0"), QStringLiteral("0.00")})
    EXPECT_TRUE(TextsEqual(page, absent).isEmpty()) << absent.toStdString();
}

// One rule for the count and both prints: box 1 or federal tax withheld rounding to a cent. A
// payee with only tax withheld gets its form; a box 1 of a fraction of a cent gets none.
TEST_F(Print1099RTest, EveryCountedPayeePrintsAndNoOtherDoes) {
  TPayeeRecord withheld = Retiree(QStringLiteral("Adams"), QStringLiteral("98-7654321"), 0);
  withheld.SetDouble("F1099R4", 24);
  const TPayeeRecord tiny = Retiree(QStringLiteral("Miller"), QStringLiteral("234-56-7890"), 0.004);
  const TPayeeRecord paid = Retiree(QStringLiteral("Zimmer"), QStringLiteral("123-45-6788"), 100);
  OpenPayerFile(Payer(), {paid, tiny, withheld});
  const TReportJob program = PrintProgram();
  EXPECT_EQ(TotalForms, 2);
  EXPECT_NEAR(TotalWithheld, 24, 1e-9);
  EXPECT_EQ(Printed, 2);
  ASSERT_EQ(program.PageCount(), 2);
  EXPECT_EQ(TextsEqual(program.Pages[0], QStringLiteral("ADAMS")).size(), 1);
  EXPECT_EQ(TextsEqual(program.Pages[0], QStringLiteral("24.00")).size(), 1);
  EXPECT_EQ(TextsEqual(program.Pages[1], QStringLiteral("ZIMMER")).size(), 1);
  const TReportJob red = PrintRed();
  EXPECT_EQ(Printed, 2);
  ASSERT_EQ(red.PageCount(), 1);
  EXPECT_TRUE(HasTextAt(red.Pages[0], QStringLiteral("24.00"), 5.4, 0.5 + 2.02));
  EXPECT_TRUE(HasTextAt(red.Pages[0], QStringLiteral("100.00"), 4.0, 6.03 + 0.5));
  EXPECT_TRUE(TextsEqual(red.Pages[0], QStringLiteral("MILLER")).isEmpty());
  EXPECT_TRUE(TextsEqual(red.Pages[0], QStringLiteral("0.00")).isEmpty());  // no empty box 1
}

TEST_F(Print1099RTest, ProgramGeneratedFormsInNameOrderWithMaskedRecipientNumbers) {
  TPayerRecord payer = Payer();
  payer.SetString("EmpIDNum", QString());  // the payer's own SSN is never masked
  OpenPayerFile(payer, {Retiree(QStringLiteral("Zimmer, Paul"), QStringLiteral("123-45-6788"), 100),
                        Retiree(QStringLiteral("Adams Trust"), QStringLiteral("98-7654321"), 200),
                        Retiree(QStringLiteral("Baker, Bob"), QStringLiteral("345-67-8901"), 300)});
  Module->RSPayee->SetCurrentRecord(3);
  Module->RSPayee->GetRec();
  MaskSSNOption = true;
  const TReportJob job = PrintProgram();
  ASSERT_EQ(job.PageCount(), 3);
  const QStringList names = {"ADAMS TRUST", "BAKER, BOB", "ZIMMER, PAUL"};
  const QStringList numbers = {"98-7654321", "***-**-8901", "***-**-6788"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const TPage& page = job.Pages[i];
    EXPECT_EQ(TextsEqual(page, names[i]).size(), 1);
    EXPECT_EQ(TextsEqual(page, numbers[i]).size(), 1);
    EXPECT_EQ(TextsEqual(page, QStringLiteral("321-54-9876")).size(), 1);
    EXPECT_EQ(TextsEqual(page, QStringLiteral("1099-R")).size(), 1);
    EXPECT_EQ(TextsEqual(page, QStringLiteral("OMB No. 1545-0119")).size(), 1);
  }
  EXPECT_TRUE(TextsEqual(job.Pages[2], QStringLiteral("123-45-6788")).isEmpty());
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), QStringLiteral("Baker, Bob"));
}

// Every parameter is set for each form, empty when the payee has nothing for it: after a full
// payee a bare one shows nothing of it, the date of payment included.
TEST_F(Print1099RTest, EveryParameterIsSetAfreshForEachForm) {
  const TPayeeRecord bare = Retiree(QStringLiteral("Roe, Jane"), QStringLiteral("234-56-7890"), 50);
  OpenPayerFile(Payer(), {bare, Full()});
  MaskSSNOption = false;
  const TReportJob job = PrintProgram();
  ASSERT_EQ(job.PageCount(), 2);
  const QList<std::pair<const char*, QString>> payer = {
      {"PayerName1", "ACME SUPPLY"},     {"PayerName2", "ACME BUILDERS"},
      {"PayerPhoneNum", "217-555-0123"}, {"PayerFIDN", "12-3456789"},
      {"Box15a", "IL 1234-5678"},        {"Box15b", "WI W-99"},
      {"Box18a", "SPRINGFIELD"},         {"Box18b", "SANGAMON CTY"}};
  for (const auto& [name, value] : payer)
    EXPECT_EQ(Project->Param(QLatin1String(name)), value) << name;
  // The full payee printed first (name order): its page holds every box.
  for (const QString& text :
       {QStringLiteral("52,000.50"), QStringLiteral("48,000.00"), QStringLiteral("7D"),
        QStringLiteral("1,234.56"), QStringLiteral("25"), QStringLiteral("60"),
        QStringLiteral("2019"), QStringLiteral("PLAN-0042"), QStringLiteral("06/30/2025"),
        QStringLiteral("PUBLIC FAMILY TRUST"), QStringLiteral("600.00")})
    EXPECT_EQ(TextsEqual(job.Pages[0], text).size(), 1) << text.toStdString();
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("X")).size(), 5);
  const QStringList empty = {"Corrected", "RecipientName1", "Box2",   "Box3",    "Box4",  "Box5",
                             "Box6",      "Box2b1",         "Box2b2", "Box7a",   "Box8",  "Box8a",
                             "Box9a",     "Box9b",          "Box10",  "Box11",   "FATCA", "Box14a",
                             "Box14b",    "Box16a",         "Box16b", "AcctNum", "DOP",   "Box17a",
                             "Box17b",    "Box19a",         "Box19b"};
  for (const QString& name : empty)
    EXPECT_TRUE(Project->Param(name).isEmpty()) << name.toStdString();
  EXPECT_EQ(Project->Param(QStringLiteral("Box1")), QStringLiteral("50.00"));
  EXPECT_EQ(Project->Param(QStringLiteral("Box7")), QStringLiteral("7"));
  EXPECT_EQ(Project->Param(QStringLiteral("RecipientFIDN")), QStringLiteral("234-56-7890"));
  for (const QString& gone : {QStringLiteral("X"), QStringLiteral("06/30/2025"),
                              QStringLiteral("PLAN-0042"), QStringLiteral("2019")})
    EXPECT_TRUE(TextsEqual(job.Pages[1], gone).isEmpty()) << gone.toStdString();
}

// The Form 1096 of the 1099-R returns counts the same payees and marks the 1099-R box.
TEST_F(Print1099RTest, Form1096TotalsAndMarksThe1099R) {
  WriteOffsets(QStringLiteral("F1096"), 0.1, -0.05);
  TPayeeRecord withheld = Retiree(QStringLiteral("Adams"), QStringLiteral("98-7654321"), 0);
  withheld.SetDouble("F1099R4", 30);
  TPayeeRecord paid = Retiree(QStringLiteral("Zimmer"), QStringLiteral("123-45-6788"), 1000);
  paid.SetDouble("F1099R4", 100);
  OpenPayerFile(Payer(), {paid, withheld, Retiree(QStringLiteral("None"), "567-89-0123", 0.004)});
  CurrentFormType = ft1099R;
  ASSERT_EQ(ScanFormTotals(), 2);
  const TPage page = Print1096Program().Pages[0];
  EXPECT_EQ(TextsEqual(page, QStringLiteral("130.00")).size(), 1);
  EXPECT_EQ(TextsEqual(page, QStringLiteral("1,000.00")).size(), 1);
  EXPECT_EQ(TextsEqual(page, QStringLiteral("X")).size(), 1);
  const TPage sheet = Print1096Red(QDate(2026, 1, 20)).Pages[0];
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("2"), 4.4 - 0.05, 3.47 + 0.1));
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("130.00"), 4.7 - 0.05, 3.47 + 0.1));
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("1000.00"), 6.1 - 0.05, 3.47 + 0.1));
  const QList<TDisplayItem> marks = TextsEqual(sheet, QStringLiteral("X"));
  ASSERT_EQ(marks.size(), 1);
  EXPECT_NEAR(marks[0].X, 4.05 - 0.05, 1e-9);
  EXPECT_NEAR(marks[0].Y, 4.75 + 0.1, 1e-9);
}
}  // namespace
