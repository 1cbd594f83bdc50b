// The two prints of Form 1099-DIV on the display list, its totals and its Form 1096: the red
// copies (two per sheet at the table's positions, offsets added, fitted sizes, the baselines the
// boxes share), the program-generated forms (name order, masked recipients, every parameter set
// afresh) and the one rule that decides which payees file a form.
#include <QStringList>
#include <string>

#include "FormsFixture.h"
#include "core/Utils.h"
#include "forms/Form1096.h"
#include "forms/Form1099DIV.h"
#include "forms/FormPrint.h"
#include "forms/FormRegistry.h"
#include "forms/FormTotals.h"
#include "storage/Globals.h"

namespace {
// A 1099-DIV payee with the sample address and box 1a.
TPayeeRecord DivPayee(const QString& name, const QString& tin, double box1a) {
  return PayeeWith(name, tin, "F1099DIV1a", box1a);
}

class Print1099DIVTest : public TFormPrintTest {
 protected:
  Print1099DIVTest() : TFormPrintTest(Form1099DIVDef()) {}

  // Record order Zimmer, Adams, Miller: name order Adams, Miller, Zimmer.
  QList<TPayeeRecord> ThreePayees() {
    TPayeeRecord adams =
        DivPayee(QStringLiteral("Adams Holdings LLC"), QStringLiteral("98-7654321"), 2500);
    adams.SetString("CompName", QStringLiteral("Attn Mary Adams"));
    return {DivPayee(QStringLiteral("Zimmer, Paul"), QStringLiteral("123-45-6788"), 150), adams,
            DivPayee(QStringLiteral("miller, ann"), QStringLiteral("234-56-7890"), 30)};
  }
};

// Every position of the red copy table, for a payee that fills every item.
TEST_F(Print1099DIVTest, RedCopyPutsEveryItemAtItsPlaceWithTheOffsets) {
  const double vo = 0.2, ho = -0.1;
  WriteOffsets(QStringLiteral("F1099DIV"), vo, ho);
  TPayerRecord payer = SamplePayer();
  payer.SetString("PayerName", QStringLiteral("Acme Construction Supply Company Incorp."));
  payer.SetString("StateID1", QStringLiteral("12345678-901"));
  TPayeeRecord p = DivPayee(QStringLiteral("Public, John Q"), QStringLiteral("123-45-6788"), 1000);
  p.SetString("CompName", QStringLiteral("Public Trust"));
  p.SetBool("Corrected1099DIV", true);
  p.SetBool("FATCA1099DIV", true);
  p.SetBool("SecTINnot1099DIV", true);
  const char* const boxes[] = {"1b", "2a", "2b", "2c", "2d", "2e", "2f", "3",    "4",
                               "5",  "6",  "7",  "9",  "10", "12", "13", "16_1", "16_2"};
  double amount = 1.25;
  for (const char* box : boxes) p.SetDouble(std::string("F1099DIV") + box, amount += 1);
  p.SetString("F1099DIV8", QStringLiteral("Canada"));
  p.SetString("AcctNum1099DIV", QStringLiteral("ACCT-9"));
  OpenPayerFile(payer, {p});
  const double name = 120 / 12.5;  // 40 characters in 3.2 inches
  const double stateId = FitFontSize(QStringLiteral("12345678-901"), 0.8);
  const QList<TRedItem> expected = {
      {"X", 3.17, -0.02, 12},
      {"ACME CONSTRUCTION SUPPLY COMPANY INCORP.", 0.6, 0.5, name},
      {"ACME BUILDERS", 0.6, 0.67, name},
      {"1234 INDUSTRIAL PKWY SUITE 200", 0.6, 0.84, 12},
      {"2025", 5.6, 0.98, 12},
      {"SPRINGFIELD, IL 62704", 0.6, 1.01, 12},
      {"217-555-0123", 0.6, 1.18, 12},
      {"1000.00", 4.1, 0.47, 12},
      {"2.25", 4.1, 1.0, 12},
      {"3.25", 4.1, 1.33, 12},
      {"4.25", 5.5, 1.33, 12},
      {"5.25", 4.1, 1.67, 12},
      {"6.25", 5.5, 1.67, 12},
      {"12-3456789", 0.6, 2.0, 12},
      {"123-45-6788", 2.3, 2.0, 12},
      {"7.25", 4.1, 2.0, 12},
      {"8.25", 5.5, 2.0, 12},
      {"PUBLIC, JOHN Q", 0.6, 2.33, 12},
      {"PUBLIC TRUST", 0.6, 2.5, 12},
      {"9.25", 4.1, 2.33, 12},
      {"10.25", 5.5, 2.33, 12},
      {"42 ELM STREET", 0.6, 3.0, 12},
      {"11.25", 4.1, 2.67, 12},
      {"12.25", 5.5, 2.67, 12},
      {"13.25", 4.1, 3.17, 12},
      {"CANADA", 5.4, 3.17, 12},
      {"DECATUR, IL 62521", 0.6, 3.5, 12},
      {"14.25", 4.1, 3.5, 12},
      {"15.25", 5.5, 3.5, 12},
      {"X", 3.44, 4.0, 12},
      {"16.25", 4.1, 4.03, 12},
      {"17.25", 5.5, 4.03, 12},
      {"X", 3.44, 4.36, 12},
      {"IL", 4.1, 4.36, 12},
      {"12345678-901", 4.4, 4.36, stateId},
      {"18.25", 5.5, 4.36, 12},
      {"ACCT-9", 0.6, 4.53, 12},
      {"WI", 4.1, 4.53, 12},
      {"W-99", 4.4, 4.53, 12},
      {"19.25", 5.5, 4.53, 12},
  };
  const TReportJob job = PrintRed();
  ASSERT_EQ(job.PageCount(), 1);
  ExpectRedItems(job.Pages[0], expected, 0.5 + vo, ho);
  EXPECT_LT(stateId, 12);
  EXPECT_DOUBLE_EQ(name, FitFontSize(payer.GetString("PayerName"), 3.2));
}

// Without a trade name the payer's lines move up; a recipient without a second name line has
// it on the lower line; boxes of 0 print nothing, box 8 empty prints nothing.
TEST_F(Print1099DIVTest, RedCopyRowsFollowTheNameLinesAndLeaveEmptyBoxesOut) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("TradeName", QString());
  TPayeeRecord p = DivPayee(QStringLiteral("A Long Recipient Name For Fitting Test X"),
                            QStringLiteral("98-7654321"), 100);
  OpenPayerFile(payer, {p});
  const TReportJob job = PrintRed();
  const TPage& page = job.Pages[0];
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("1234 INDUSTRIAL PKWY SUITE 200"), 0.6, 0.5 + 0.67));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("SPRINGFIELD, IL 62704"), 0.6, 0.5 + 0.84));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("217-555-0123"), 0.6, 0.5 + 1.01));
  const QList<TDisplayItem> name =
      TextsEqual(page, QStringLiteral("A LONG RECIPIENT NAME FOR FITTING TEST X"));
  ASSERT_EQ(name.size(), 1);
  EXPECT_NEAR(name[0].Y, 0.5 + 2.5, 1e-9);
  QStringList texts;
  for (const TDisplayItem& t : Texts(page)) {
    texts << t.Text;
    const double size = t.Text == name[0].Text ? FitFontSize(p.GetString("PayeeName"), 3.2)
                        : t.Text.startsWith(QLatin1String("1234-")) ? FitFontSize(t.Text, 0.8)
                                                                    : 12;
    EXPECT_EQ(t.Font.Size, size) << t.Text.toStdString();
  }
  EXPECT_EQ(texts, QStringList({"ACME SUPPLY", "1234 INDUSTRIAL PKWY SUITE 200", "2025",
                                "SPRINGFIELD, IL 62704", "217-555-0123", "100.00", "12-3456789",
                                "98-7654321", name[0].Text, "42 ELM STREET", "DECATUR, IL 62521",
                                "IL", "1234-5678", "WI", "W-99"}));
}

// Two forms per sheet at 0.5 and 6.05, a new sheet only for a form that follows, name order
// across the slots, the recipient's number never masked.
TEST_F(Print1099DIVTest, RedCopiesTakeTwoSlotsPerSheetAndOpenNoEmptySheet) {
  QList<TPayeeRecord> payees = ThreePayees();
  payees.append(DivPayee(QStringLiteral("Young"), QStringLiteral("456-78-9012"), 0));
  OpenPayerFile(SamplePayer(), payees);
  MaskSSNOption = true;
  const TReportJob job = PrintRed();
  EXPECT_EQ(Printed, 3);
  ASSERT_EQ(job.PageCount(), 2);
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("ADAMS HOLDINGS LLC"), 0.6, 0.5 + 2.33));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("2500.00"), 4.1, 0.5 + 0.47));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("MILLER, ANN"), 0.6, 6.05 + 2.5));
  EXPECT_TRUE(HasTextAt(job.Pages[0], QStringLiteral("234-56-7890"), 2.3, 6.05 + 2.0));
  EXPECT_TRUE(HasTextAt(job.Pages[1], QStringLiteral("ZIMMER, PAUL"), 0.6, 0.5 + 2.5));
  EXPECT_TRUE(HasTextAt(job.Pages[1], QStringLiteral("123-45-6788"), 2.3, 0.5 + 2.0));
  EXPECT_TRUE(TextsEqual(job.Pages[1], QStringLiteral("YOUNG")).isEmpty());
}

TEST_F(Print1099DIVTest, ProgramGeneratedFormsComeInNameOrderWithRecipientsMasked) {
  TPayerRecord payer = SamplePayer();
  payer.SetString("EmpIDNum", QString());  // the filer's SSN: never masked
  OpenPayerFile(payer, ThreePayees());
  Module->RSPayee->SetCurrentRecord(3);
  Module->RSPayee->GetRec();
  MaskSSNOption = true;
  const TReportJob job = PrintProgram();
  ASSERT_EQ(job.PageCount(), 3);
  EXPECT_EQ(Printed, 3);
  const QString shown[] = {"98-7654321", "***-**-7890", "***-**-6788"};
  const QString name[] = {"ATTN MARY ADAMS", "MILLER, ANN", "ZIMMER, PAUL"};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const TPage& page = job.Pages[i];
    EXPECT_EQ(TextsEqual(page, shown[i]).size(), 1);
    EXPECT_EQ(TextsEqual(page, name[i]).size(), 1);
    EXPECT_EQ(TextsEqual(page, QStringLiteral("1099-DIV")).size(), 1);
    EXPECT_EQ(TextsEqual(page, QStringLiteral("321-54-9876")).size(), 1);
  }
  EXPECT_TRUE(TextsEqual(job.Pages[2], QStringLiteral("123-45-6788")).isEmpty());
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), QStringLiteral("miller, ann"));
}

// Every parameter is set for every payee, empty when the payee has nothing for it, so nothing of
// the payee before remains; the payer's state lines are set once.
TEST_F(Print1099DIVTest, EveryPayeeParameterIsSetAfreshForEachForm) {
  TPayeeRecord full = DivPayee(QStringLiteral("Alpha"), QStringLiteral("123-45-6788"), 100);
  full.SetString("CompName", QStringLiteral("Alpha Two"));
  full.SetBool("Corrected1099DIV", true);
  full.SetBool("FATCA1099DIV", true);
  full.SetString("AcctNum1099DIV", QStringLiteral("A-1"));
  full.SetString("F1099DIV8", QStringLiteral("France"));
  full.SetDouble("F1099DIV7", 3.5);
  full.SetDouble("F1099DIV13", 1234.5);
  full.SetDouble("F1099DIV16_2", 8);
  const TPayeeRecord bare = DivPayee(QStringLiteral("Beta"), QStringLiteral("234-56-7890"), 200);
  OpenPayerFile(SamplePayer(), {bare, full});
  const TReportJob job = PrintProgram();
  ASSERT_EQ(job.PageCount(), 2);
  const QStringList onFirst = {"X", "ALPHA TWO", "A-1", "FRANCE", "3.50", "1,234.50", "8.00"};
  for (const QString& text : onFirst) {
    EXPECT_FALSE(TextsEqual(job.Pages[0], text).isEmpty()) << text.toStdString();
    EXPECT_TRUE(TextsEqual(job.Pages[1], text).isEmpty()) << text.toStdString();
  }
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("X")).size(), 2);  // CORRECTED and FATCA
  for (const TPage& page : job.Pages) {
    for (const char* state : {"IL", "1234-5678", "WI", "W-99"})
      EXPECT_EQ(TextsEqual(page, QLatin1String(state)).size(), 1) << state;
  }
  for (const TParamDef& param : PayeeParams(Form1099DIVDef())) {
    const QString value = Project->Param(QLatin1String(param.Name));
    const bool filled = QStringList({"RecipientFIDN", "RecipientName2", "RecipientAddress1",
                                     "RecipientAddress2", "Box1a"})
                            .contains(QLatin1String(param.Name));
    EXPECT_EQ(value.isEmpty(), !filled) << param.Name;
  }
}

// One rule for the count and both prints: a payee with only box 12 (exempt-interest dividends),
// one with only box 10, and one with only federal tax withheld each file a form; a payee whose
// amounts round to nothing and one with only state tax withheld file none.
TEST_F(Print1099DIVTest, EveryCountedPayeePrintsInBothPrintsAndNoOtherDoes) {
  TPayeeRecord exempt = DivPayee(QStringLiteral("Exempt"), QStringLiteral("111-22-3333"), 0);
  exempt.SetDouble("F1099DIV12", 640);
  TPayeeRecord noncash = DivPayee(QStringLiteral("Noncash"), QStringLiteral("222-33-4444"), 0);
  noncash.SetDouble("F1099DIV10", 75);
  TPayeeRecord withheld = DivPayee(QStringLiteral("Withheld"), QStringLiteral("333-44-5555"), 0);
  withheld.SetDouble("F1099DIV4", 24);
  TPayeeRecord tiny = DivPayee(QStringLiteral("Tiny"), QStringLiteral("444-55-6666"), 0.004);
  TPayeeRecord parts = DivPayee(QStringLiteral("Parts"), QStringLiteral("555-66-7777"), 0);
  parts.SetDouble("F1099DIV16_1", 40);
  OpenPayerFile(SamplePayer(), {withheld, tiny, parts, noncash, exempt});
  CurrentFormType = ft1099DIV;
  EXPECT_EQ(ScanFormTotals(), 3);
  EXPECT_DOUBLE_EQ(TotalWithheld, 24);
  EXPECT_DOUBLE_EQ(TotalAmount, 715.004);
  const TReportJob program = PrintProgram();
  EXPECT_EQ(Printed, 3);
  ASSERT_EQ(program.PageCount(), 3);
  EXPECT_EQ(TextsEqual(program.Pages[0], QStringLiteral("640.00")).size(), 1);
  EXPECT_EQ(TextsEqual(program.Pages[1], QStringLiteral("75.00")).size(), 1);
  EXPECT_EQ(TextsEqual(program.Pages[2], QStringLiteral("24.00")).size(), 1);
  const TReportJob red = PrintRed();
  EXPECT_EQ(Printed, 3);
  ASSERT_EQ(red.PageCount(), 2);
  EXPECT_TRUE(HasTextAt(red.Pages[0], QStringLiteral("640.00"), 4.1, 0.5 + 4.03));
  EXPECT_TRUE(HasTextAt(red.Pages[0], QStringLiteral("75.00"), 5.5, 6.05 + 3.5));
  EXPECT_TRUE(HasTextAt(red.Pages[1], QStringLiteral("24.00"), 5.5, 0.5 + 2.33));
  for (const TPage& page : program.Pages + red.Pages) {
    for (const char* absent : {"TINY", "PARTS"})
      EXPECT_TRUE(TextsEqual(page, QLatin1String(absent)).isEmpty()) << absent;
  }
}

// The Form 1096 of the 1099-DIV payees: its count, withheld tax and total from the same rule,
// in the program-generated parameters and on the red copy with the "X" of the 1099-DIV box.
TEST_F(Print1099DIVTest, Form1096SummarisesTheDividendForms) {
  TPayeeRecord a = DivPayee(QStringLiteral("Alpha"), QStringLiteral("123-45-6788"), 100);
  a.SetDouble("F1099DIV2a", 50);
  a.SetDouble("F1099DIV1b", 80);  // a part of box 1a: not added again
  a.SetDouble("F1099DIV4", 10);
  TPayeeRecord b = DivPayee(QStringLiteral("Beta"), QStringLiteral("234-56-7890"), 0);
  b.SetDouble("F1099DIV4", 5);  // only tax withheld: files a form
  TPayeeRecord c = SamplePayee(QStringLiteral("Gamma"), QStringLiteral("345-67-8901"), 900);
  OpenPayerFile(SamplePayer(), {a, b, c});
  CurrentFormType = ft1099DIV;
  ASSERT_EQ(ScanFormTotals(), 2);
  const TPage page = Print1096Program().Pages[0];
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("2"), 4.05, 3.66));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("15.00"), 5.95, 3.66));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("150.00"), 7.95, 3.66));
  ASSERT_EQ(TextsEqual(page, QStringLiteral("X")).size(), 1);
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("X"), 6.46, 4.3));
  const TPage sheet = Print1096Red().Pages[0];
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("2"), 4.4, 3.47));
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("15.00"), 4.7, 3.47));
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("150.00"), 6.1, 3.47));
  ASSERT_EQ(TextsEqual(sheet, QStringLiteral("X")).size(), 1);
  EXPECT_TRUE(HasTextAt(sheet, QStringLiteral("X"), 6.2, 4.17));
}
}  // namespace
