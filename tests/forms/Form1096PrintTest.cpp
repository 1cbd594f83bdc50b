// The two prints of Form 1096 on the display list: the program-generated report with its masked
// filer number, and the red copy with its offsets, its form-type mark and the signer's line.

#include <cmath>

#include "FormsFixture.h"
#include "core/Utils.h"
#include "forms/Form1096.h"
#include "forms/FormRegistry.h"
#include "forms/FormTotals.h"
#include "storage/Globals.h"

namespace {
class Form1096Test : public TForm1096Fixture {};

// The filer's own number is never masked: the option hides recipients' numbers only.
TEST_F(Form1096Test, ProgramGeneratedNeverMasksTheFilersSocialSecurityNumber) {
  TPayerRecord payer = Payer();
  payer.SetString("EmpIDNum", QString());
  payer.SetString("FaxNum", QStringLiteral("555-01"));
  OpenPayerFile(payer, NecPayees());
  CurrentFormType = ft1099NEC;
  ScanFormTotals();
  for (bool mask : {true, false}) {
    MaskSSNOption = mask;
    const TPage page = Print1096Program().Pages[0];
    EXPECT_EQ(TextsEqual(page, "321-54-9876").size(), 1);
    EXPECT_TRUE(TextsEqual(page, "***-**-9876").isEmpty());
    EXPECT_TRUE(TextsEqual(page, "555-01").isEmpty());  // an invalid fax is left out
    EXPECT_TRUE(Project->Param(QStringLiteral("TotalForms")).isEmpty());  // cleared after
  }
}

TEST_F(Form1096Test, RedCopyItemsWithOffsetsAndSigner) {
  WriteOffsets(QStringLiteral("F1096"), 0.1, -0.05);
  OpenPayerFile(Payer(), NecPayees());
  CurrentFormType = ft1099NEC;
  ScanFormTotals();
  const TReportJob job = Print1096Red(QDate(2026, 1, 20));
  ASSERT_EQ(job.PageCount(), 1);
  struct TItem {
    QString Text, Font;
    double X, Y, Size;
  };
  const double title = FitFontSize(QStringLiteral("Chief Financial Ofcr"), 1.3);
  const QList<TItem> expected = {
      {"ACME SUPPLY", "Courier New", 0.8, 1.47, 12},
      {"ACME BUILDERS", "Courier New", 0.8, 1.63, 12},
      {"1234 INDUSTRIAL PKWY", "Courier New", 0.8, 1.97, 12},
      {"SUITE 200", "Courier New", 0.8, 2.13, 12},
      {"SPRINGFIELD, IL 62704", "Courier New", 0.8, 2.47, 12},
      {"JANE DOE", "Courier New", 0.6, 2.8, 12},
      {"217-555-0123", "Courier New", 3.4, 2.8, 12},
      {"jane@acme.example.com", "Courier New", 0.6, 3.13, 12},
      {"217-555-0199", "Courier New", 3.4, 3.12, 12},
      {"12-3456789", "Courier New", 0.6, 3.47, 12},
      {"2", "Courier New", 4.4, 3.47, 12},
      {"15.00", "Courier New", 4.7, 3.47, 12},
      {"150.00", "Courier New", 6.1, 3.47, 12},
      {"X", "Courier New", 1.92, 4.75, 12},
      {"Jane Doe", "Coronet", 1.1, 6.4, 22},
      {"Chief Financial Ofcr", "Courier New", 5.0, 6.4, title},
      {"01/20/2026", "Courier New", 6.7, 6.4, 12},
  };
  const QList<TDisplayItem> texts = Texts(job.Pages[0]);
  ASSERT_EQ(texts.size(), expected.size());
  for (qsizetype i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(expected[i].Text.toStdString());
    EXPECT_EQ(texts[i].Text, expected[i].Text);
    EXPECT_EQ(texts[i].Font.Name, expected[i].Font);
    EXPECT_NEAR(texts[i].X, expected[i].X - 0.05, 1e-9);
    EXPECT_NEAR(texts[i].Y, expected[i].Y + 0.1, 1e-9);
    EXPECT_NEAR(texts[i].Font.Size, expected[i].Size, 1e-9);
  }
  EXPECT_EQ(texts[10].Align, TAlign::Right);  // the number of forms ends at 4.4
  EXPECT_LT(title, 12);
}

TEST_F(Form1096Test, RedCopyWithoutSignerTradeNameOrValidNumbers) {
  TPayerRecord payer = Payer();
  payer.SetBool("SignerPresent", false);
  payer.SetString("TradeName", QString());
  payer.SetString("EmpIDNum", QStringLiteral("1"));
  payer.SetString("PhoneNum", QStringLiteral("555"));
  OpenPayerFile(payer, NecPayees());
  MaskSSNOption = true;
  CurrentFormType = ft1099NEC;
  ScanFormTotals();
  TotalWithheld = 0;
  const TPage page = Print1096Red(QDate(2026, 1, 20)).Pages[0];
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("ACME SUPPLY"), 0.8, 1.47));
  for (const TDisplayItem& t : Texts(page)) {
    EXPECT_GT(std::fabs(t.Y - 1.63), 1e-6) << t.Text.toStdString();  // second name line empty
    EXPECT_LT(t.Y, 6.0) << t.Text.toStdString();                     // no signer line
    EXPECT_NE(t.Text, QStringLiteral("555"));
    EXPECT_NE(t.Text, QStringLiteral("0.00"));  // no tax withheld
  }
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("321-54-9876"), 2.1, 3.47));  // never masked
}

// The program-generated Form 1096 is the filer's record: each type's code stands under the box
// its "X" goes in, and the page says it is not the return to file.
TEST_F(Form1096Test, ProgramGeneratedShowsTheCodeUnderTheMarkAndIsNotForFiling) {
  OpenPayerFile(Payer(), NecPayees());
  for (const TFormDef* t : FormDefs()) {
    SCOPED_TRACE(t->Name);
    CurrentFormType = t->FormType;
    ScanFormTotals();
    const TPage page = Print1096Program().Pages[0];
    const QList<TDisplayItem> marks = TextsEqual(page, QStringLiteral("X"));
    ASSERT_EQ(marks.size(), 1);
    int under = 0;
    for (const TDisplayItem& code : TextsEqual(page, QLatin1String(t->Box1096.Code)))
      under +=
          std::fabs(code.X - marks[0].X) < 0.02 && code.Y > marks[0].Y && code.Y - marks[0].Y < 0.2;
    EXPECT_EQ(under, 1) << t->Box1096.Code;
    EXPECT_FALSE(TextsEqual(page, QStringLiteral("Filer's copy for your records. Do not file it: "
                                                 "the IRS accepts only the official red Form "
                                                 "1096 on paper."))
                     .isEmpty());
  }
}

TEST_F(Form1096Test, RedCopyMarksTheChosenFormType) {
  OpenPayerFile(Payer(), NecPayees());
  for (const TFormDef* t : FormDefs()) {
    CurrentFormType = t->FormType;
    const QList<TDisplayItem> marks =
        TextsEqual(Print1096Red(QDate(2026, 1, 20)).Pages[0], QStringLiteral("X"));
    ASSERT_EQ(marks.size(), 1) << t->Name;
    EXPECT_NEAR(marks[0].X, t->Box1096.RedCopyX, 1e-9) << t->Name;
    EXPECT_NEAR(marks[0].Y, t->Box1096.RedCopyRow, 1e-9) << t->Name;
  }
  EXPECT_EQ(FormDefByName(QStringLiteral("1099-misc")), FindFormDef(ft1099MISC));
  EXPECT_EQ(FormDefByName(QStringLiteral("W-2")), nullptr);
}

}  // namespace
