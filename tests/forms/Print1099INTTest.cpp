// The two prints of Form 1099-INT on the display list: program-generated forms (one per page, in
// name order, masked recipient numbers, every parameter set afresh) and the red copies (two per
// sheet at the table's positions, offsets added, fitted sizes), both for every payee the Form
// 1096 counts.
#include <QStringList>
#include <cmath>
#include <iterator>

#include "FormsFixture.h"
#include "core/Utils.h"
#include "forms/Form1096.h"
#include "forms/Form1099INT.h"
#include "forms/FormPrint.h"
#include "forms/FormTotals.h"
#include "storage/Globals.h"

namespace {
// A payee with the sample address and box 1 (interest income).
TPayeeRecord IntPayee(const QString& name, const QString& tin, double box1) {
  return PayeeWith(name, tin, "F1099INT1", box1);
}

class Print1099INTTest : public TFormPrintTest {
 protected:
  Print1099INTTest() : TFormPrintTest(Form1099INTDef()) {}

  void SetUp() override {
    TFormsTest::SetUp();
    Payer = SamplePayer();
    Payer.SetString("RTN", QStringLiteral("071000013"));
  }

  // Record order Zimmer, Adams, Miller: name order Adams, Miller, Zimmer.
  QList<TPayeeRecord> ThreePayees() {
    TPayeeRecord adams =
        IntPayee(QStringLiteral("Adams Trust"), QStringLiteral("98-7654321"), 2500);
    adams.SetString("CompName", QStringLiteral("Attn Mary Adams"));
    return {IntPayee(QStringLiteral("Zimmer, Paul"), QStringLiteral("123-45-6788"), 15.5), adams,
            IntPayee(QStringLiteral("miller, ann"), QStringLiteral("234-56-7890"), 300)};
  }

  TPayerRecord Payer;
};

// The name line of the recipient a page carries (the second line when there is a second name).
QString RecipientOn(const TPage& page) {
  return FirstTextOn(page, {"ATTN MARY ADAMS", "MILLER, ANN", "ZIMMER, PAUL", "WITHHELD ONLY",
                            "BOX 10 ONLY", "BOX 11 ONLY", "BOX 13 ONLY", "BELOW A CENT"});
}

TEST_F(Print1099INTTest, ProgramGeneratedFormsInNameOrderWithMaskedRecipientsOnly) {
  Payer.SetString("EmpIDNum", QString());  // the filer files under its own SSN
  OpenPayerFile(Payer, ThreePayees());
  Module->RSPayee->SetCurrentRecord(3);
  Module->RSPayee->GetRec();
  MaskSSNOption = true;
  const TReportJob job = PrintProgram();
  ASSERT_EQ(job.PageCount(), 3);
  EXPECT_EQ(Printed, 3);
  QStringList order;
  for (const TPage& page : job.Pages) order << RecipientOn(page);
  EXPECT_EQ(order, QStringList({"ATTN MARY ADAMS", "MILLER, ANN", "ZIMMER, PAUL"}));
  for (const TPage& page : job.Pages) {
    EXPECT_EQ(TextsEqual(page, QStringLiteral("1099-INT")).size(), 1);
    EXPECT_EQ(TextsEqual(page, QStringLiteral("071000013")).size(), 1);    // the payer's RTN
    EXPECT_EQ(TextsEqual(page, QStringLiteral("321-54-9876")).size(), 1);  // never masked
  }
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("98-7654321")).size(), 1);  // an EIN
  EXPECT_EQ(TextsEqual(job.Pages[1], QStringLiteral("***-**-7890")).size(), 1);
  EXPECT_TRUE(TextsEqual(job.Pages[2], QStringLiteral("123-45-6788")).isEmpty());
  EXPECT_EQ(TextsEqual(job.Pages[2], QStringLiteral("15.50")).size(), 1);
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), QStringLiteral("miller, ann"));
}

// The payer's parameters once per run, exactly as the report receives them.
TEST_F(Print1099INTTest, PayerParametersCarryTheRoutingNumberAndBothStateLines) {
  Payer.SetString("RTN", QStringLiteral("12&456789"));
  OpenPayerFile(Payer, {IntPayee(QStringLiteral("Only"), QStringLiteral("123-45-6788"), 10)});
  const TReportJob job = PrintProgram();
  const QList<std::pair<QString, QString>> expected = {
      {"PayerRTN", "12&456789"},
      {"PayerName1", "ACME SUPPLY"},
      {"PayerName2", "ACME BUILDERS"},
      {"PayerAddress", "1234 INDUSTRIAL PKWY SUITE 200"},
      {"PayerCityStateZip", "SPRINGFIELD, IL 62704"},
      {"PayerTelephone", "217-555-0123"},
      {"PayerFIDN", "12-3456789"},
      {"Box15_1", "IL"},
      {"Box15_2", "WI"},
      {"Box16_1", "1234-5678"},
      {"Box16_2", "W-99"},
  };
  for (const auto& [name, value] : expected) {
    EXPECT_EQ(Project->Param(name), value) << name.toStdString();
    EXPECT_EQ(TextsEqual(job.Pages[0], value).size(), 1) << name.toStdString();
  }
}

TEST_F(Print1099INTTest, EveryPayeeParameterIsSetAfreshForEachForm) {
  TPayeeRecord first = IntPayee(QStringLiteral("Alpha"), QStringLiteral("123-45-6788"), 100);
  first.SetString("CompName", QStringLiteral("Alpha Two"));
  first.SetBool("Corrected1099INT", true);
  first.SetBool("FATCA1099INT", true);
  first.SetBool("SecTINnot1099INT", true);  // not on the recipient's copy
  first.SetString("AcctNum1099INT", QStringLiteral("A-1"));
  first.SetString("F1099INT7", QStringLiteral("canada"));
  first.SetString("F1099INT14", QStringLiteral("912828XY1"));
  const char* const boxes[] = {"F1099INT2",   "F1099INT3",  "F1099INT4",  "F1099INT5",
                               "F1099INT6",   "F1099INT8",  "F1099INT9",  "F1099INT10",
                               "F1099INT11",  "F1099INT12", "F1099INT13", "F1099INT17_1",
                               "F1099INT17_2"};
  for (size_t i = 0; i < std::size(boxes); ++i) first.SetDouble(boxes[i], 1000 * (i + 2) + 0.25);
  const TPayeeRecord second = IntPayee(QStringLiteral("Beta"), QStringLiteral("234-56-7890"), 200);
  OpenPayerFile(Payer, {second, first});
  const TReportJob job = PrintProgram();
  ASSERT_EQ(job.PageCount(), 2);
  QStringList gone = {"X", "A-1", "ALPHA TWO", "CANADA", "912828XY1", "100.00"};
  for (size_t i = 0; i < std::size(boxes); ++i) gone << FormatAmount(1000 * (i + 2) + 0.25);
  for (const QString& text : gone) {
    const int count = text == QLatin1String("X") ? 2 : 1;  // CORRECTED and FATCA
    EXPECT_EQ(TextsEqual(job.Pages[0], text).size(), count) << text.toStdString();
    EXPECT_TRUE(TextsEqual(job.Pages[1], text).isEmpty()) << text.toStdString();
  }
  EXPECT_EQ(TextsEqual(job.Pages[1], QStringLiteral("200.00")).size(), 1);
  // The last payee's parameters: the boxes it leaves empty are empty, not the first payee's.
  for (const char* name :
       {"Corrected", "FATCA", "AcctNum", "Box7", "Box14", "Box17_2", "RecipientName1", "Box13"})
    EXPECT_TRUE(Project->Param(QLatin1String(name)).isEmpty()) << name;
  EXPECT_EQ(Project->Param(QStringLiteral("RecipientName2")), QStringLiteral("BETA"));
}

// The Form 1096 counts a payee with any federal box or with tax withheld (box 4), so both prints
// give each of them a form; a payee whose amounts round to nothing, or with only state tax
// withheld, counts nowhere and prints nowhere.
TEST_F(Print1099INTTest, EveryCountedPayeePrintsInBothPrintsAndNoOtherDoes) {
  auto only = [](const char* name, const char* field, double amount) {
    TPayeeRecord p = IntPayee(QLatin1String(name), QStringLiteral("123-45-6788"), 0);
    p.SetDouble(field, amount);
    return p;
  };
  const QList<TPayeeRecord> payees = {
      only("Withheld Only", "F1099INT4", 24),     only("Box 10 Only", "F1099INT10", 10),
      only("Box 11 Only", "F1099INT11", 11),      only("Box 13 Only", "F1099INT13", 13),
      only("Below A Cent", "F1099INT1", 0.004),   only("State Only", "F1099INT17_1", 50),
      only("State Two Only", "F1099INT17_2", 90),
  };
  OpenPayerFile(Payer, payees);
  const QStringList counted = {"BOX 10 ONLY", "BOX 11 ONLY", "BOX 13 ONLY", "WITHHELD ONLY"};
  const TReportJob program = PrintProgram();
  EXPECT_EQ(TotalForms, 4);
  EXPECT_EQ(Printed, 4);
  QStringList order;
  for (const TPage& page : program.Pages) order << RecipientOn(page);
  EXPECT_EQ(order, counted);
  const TReportJob red = PrintRed();
  EXPECT_EQ(Printed, 4);
  ASSERT_EQ(red.PageCount(), 2);
  EXPECT_TRUE(HasTextAt(red.Pages[0], QStringLiteral("10.00"), 4.1, 0.5 + 3.67));
  EXPECT_TRUE(HasTextAt(red.Pages[0], QStringLiteral("11.00"), 5.5, 6.05 + 3.67));
  EXPECT_TRUE(HasTextAt(red.Pages[1], QStringLiteral("13.00"), 5.5, 0.5 + 4.0));
  EXPECT_TRUE(HasTextAt(red.Pages[1], QStringLiteral("24.00"), 4.1, 6.05 + 2.33));
  for (const TPage& page : program.Pages + red.Pages)
    for (const QString& name : {QStringLiteral("BELOW A CENT"), QStringLiteral("STATE ONLY"),
                                QStringLiteral("STATE TWO ONLY")})
      EXPECT_TRUE(TextsEqual(page, name).isEmpty()) << name.toStdString();
}

TEST_F(Print1099INTTest, RedCopiesTakeTwoSlotsPerSheetAndOpenNoEmptySheet) {
  WriteOffsets(QStringLiteral("F1099INT"), 0.125, -0.0625);
  OpenPayerFile(Payer, ThreePayees());
  MaskSSNOption = true;
  const TReportJob job = PrintRed();
  ASSERT_EQ(job.PageCount(), 2);
  for (const TPage& page : job.Pages)
    for (const TDisplayItem& t : TextsEqual(page, QStringLiteral("2025")))
      EXPECT_NEAR(t.X, 5.8 - 0.0625, 1e-9);
  const QList<double> first = RowsOf(job.Pages[0], QStringLiteral("2025"));
  ASSERT_EQ(first.size(), 2);
  EXPECT_NEAR(first[0], 0.5 + 0.125 + 0.98, 1e-9);
  EXPECT_NEAR(first[1], 6.05 + 0.125 + 0.98, 1e-9);
  const QList<double> second = RowsOf(job.Pages[1], QStringLiteral("2025"));
  ASSERT_EQ(second.size(), 1);
  EXPECT_NEAR(second[0], 0.5 + 0.125 + 0.98, 1e-9);
  // Name order across the slots; the recipient's number is never masked on a red copy.
  EXPECT_TRUE(
      HasTextAt(job.Pages[0], QStringLiteral("ATTN MARY ADAMS"), 0.6 - 0.0625, 0.5 + 0.125 + 2.5));
  EXPECT_TRUE(
      HasTextAt(job.Pages[0], QStringLiteral("234-56-7890"), 2.3 - 0.0625, 6.05 + 0.125 + 2.0));
  EXPECT_TRUE(HasTextAt(job.Pages[1], QStringLiteral("15.50"), 4.1 - 0.0625, 0.5 + 0.125 + 1.0));
}

// Every position of the red copy table, for a payee that fills every item.
TEST_F(Print1099INTTest, RedCopyPutsEveryItemAtItsPlaceWithTheOffsets) {
  const double vo = -0.25, ho = 0.1;
  WriteOffsets(QStringLiteral("F1099INT"), vo, ho);
  Payer.SetString("PayerName", QStringLiteral("Acme Construction Supply Company Incorp."));
  Payer.SetString("TradeName", QStringLiteral("Acme Builders And Supply Of Springfield"));
  Payer.SetString("StateID2", QStringLiteral("036-12345678"));
  TPayeeRecord p = IntPayee(QStringLiteral("Public, John Q"), QStringLiteral("123-45-6788"), 1);
  p.SetString("CompName", QStringLiteral("Public Consulting"));
  p.SetBool("Corrected1099INT", true);
  p.SetBool("FATCA1099INT", true);
  p.SetBool("SecTINnot1099INT", true);
  p.SetString("AcctNum1099INT", QStringLiteral("ACCT-7"));
  p.SetString("F1099INT7", QStringLiteral("Canada"));
  p.SetString("F1099INT14", QStringLiteral("912828XY1234567"));
  for (int box : {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13})
    p.SetDouble(QStringLiteral("F1099INT%1").arg(box).toLatin1().constData(), box * 1000 + 0.5);
  p.SetDouble("F1099INT17_1", 17001.5);
  p.SetDouble("F1099INT17_2", 17002.5);
  OpenPayerFile(Payer, {p});
  const double t = 0.5 + vo;
  const double name = 120 / 12.5;  // 40 characters in 3.2 inches
  const double trade = FitFontSize(Payer.GetString("TradeName"), 3.2);
  const double cusip = 120 / 13.64;  // 15 characters in 1.1 inches
  const double state1 = FitFontSize(QStringLiteral("1234-5678"), 0.85);
  const double state2 = FitFontSize(QStringLiteral("036-12345678"), 0.85);
  const QList<TRedItem> expected = {
      {"X", 3.17, -0.03, 12},
      {"ACME CONSTRUCTION SUPPLY COMPANY INCORP.", 0.6, 0.5, name},
      {"071000013", 4.1, 0.5, 12},
      {"ACME BUILDERS AND SUPPLY OF SPRINGFIELD", 0.6, 0.67, trade},
      {"1234 INDUSTRIAL PKWY SUITE 200", 0.6, 0.84, 12},
      {"2025", 5.8, 0.98, 12},
      {"SPRINGFIELD, IL 62704", 0.6, 1.01, 12},
      {"217-555-0123", 0.6, 1.18, 12},
      {"1000.50", 4.1, 1.0, 12},
      {"2000.50", 4.1, 1.5, 12},
      {"12-3456789", 0.6, 2.0, 12},
      {"123-45-6788", 2.3, 2.0, 12},
      {"3000.50", 4.1, 2.0, 12},
      {"PUBLIC, JOHN Q", 0.6, 2.33, 12},
      {"PUBLIC CONSULTING", 0.6, 2.5, 12},
      {"4000.50", 4.1, 2.33, 12},
      {"5000.50", 5.5, 2.33, 12},
      {"42 ELM STREET", 0.6, 3.0, 12},
      {"6000.50", 4.1, 2.67, 12},
      {"CANADA", 5.5, 2.67, 12},
      {"DECATUR, IL 62521", 0.6, 3.5, 12},
      {"8000.50", 4.1, 3.17, 12},
      {"9000.50", 5.5, 3.17, 12},
      {"10000.50", 4.1, 3.67, 12},
      {"11000.50", 5.5, 3.67, 12},
      {"X", 3.52, 3.98, 12},
      {"12000.50", 4.1, 4.0, 12},
      {"13000.50", 5.5, 4.0, 12},
      {"X", 3.52, 4.34, 12},
      {"IL", 5.4, 4.36, 12},
      {"1234-5678", 5.7, 4.36, state1},
      {"17001.50", 6.85, 4.36, 12},
      {"ACCT-7", 0.6, 4.53, 12},
      {"912828XY1234567", 4.1, 4.53, cusip},
      {"WI", 5.4, 4.53, 12},
      {"036-12345678", 5.7, 4.53, state2},
      {"17002.50", 6.85, 4.53, 12},
  };
  const TReportJob job = PrintRed();
  ASSERT_EQ(job.PageCount(), 1);
  ExpectRedItems(job.Pages[0], expected, t, ho);
  EXPECT_NEAR(cusip, 8.8, 0.01);
  EXPECT_LT(trade, 12);
  EXPECT_LT(state2, 12);
}

// Without a trade name the payer's lines move up; a single recipient name sits on the lower
// line; empty boxes print nothing, and neither does box 17 line 1 of 0.
TEST_F(Print1099INTTest, RedCopyRowsFollowTheNameLinesAndSkipEmptyBoxes) {
  Payer.SetString("TradeName", QString());
  TPayeeRecord p = IntPayee(QStringLiteral("A Long Recipient Name For Fitting Test X"),
                            QStringLiteral("98-7654321"), 0);
  p.SetDouble("F1099INT8", 250);
  p.SetDouble("F1099INT17_2", 40);
  OpenPayerFile(Payer, {p});
  const TPage page = PrintRed().Pages[0];
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("1234 INDUSTRIAL PKWY SUITE 200"), 0.6, 0.5 + 0.67));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("SPRINGFIELD, IL 62704"), 0.6, 0.5 + 0.84));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("217-555-0123"), 0.6, 0.5 + 1.01));
  const QList<TDisplayItem> name =
      TextsEqual(page, QStringLiteral("A LONG RECIPIENT NAME FOR FITTING TEST X"));
  ASSERT_EQ(name.size(), 1);
  EXPECT_NEAR(name[0].Y, 0.5 + 2.5, 1e-9);
  EXPECT_NEAR(name[0].Font.Size, 9.6, 1e-9);
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("250.00"), 4.1, 0.5 + 3.17));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("40.00"), 6.85, 0.5 + 4.53));
  for (const TDisplayItem& t : Texts(page)) {
    EXPECT_GT(std::fabs(t.X - 6.85) + std::fabs(t.Y - (0.5 + 4.36)), 1e-6) << t.Text.toStdString();
    EXPECT_GT(std::fabs(t.Y - (0.5 + 1.0)), 1e-6) << t.Text.toStdString();  // box 1 empty
    EXPECT_NE(t.Text, QStringLiteral("X"));
    EXPECT_NE(t.Text, QStringLiteral("0.00"));
  }
}

// The Form 1096 for the 1099-INT counts by the same rule as the prints: box 1 with tax withheld,
// tax withheld alone, box 13 alone and an early withdrawal penalty alone are four forms; the
// penalty is not added to the total amount.
TEST_F(Print1099INTTest, Form1096CountsTheFormsBothPrintsGive) {
  TPayeeRecord interest = IntPayee(QStringLiteral("Alpha"), QStringLiteral("123-45-6788"), 100);
  interest.SetDouble("F1099INT4", 10);
  TPayeeRecord withheld = IntPayee(QStringLiteral("Beta"), QStringLiteral("234-56-7890"), 0);
  withheld.SetDouble("F1099INT4", 5);
  TPayeeRecord premium = IntPayee(QStringLiteral("Gamma"), QStringLiteral("345-67-8901"), 0);
  premium.SetDouble("F1099INT13", 30);
  TPayeeRecord penalty = IntPayee(QStringLiteral("Delta"), QStringLiteral("456-78-9012"), 0);
  penalty.SetDouble("F1099INT2", 70);
  penalty.SetDouble("F1099NEC1", 900);  // another form's amount counts nowhere here
  OpenPayerFile(Payer, {interest, withheld, premium, penalty});
  EXPECT_EQ(PrintProgram().PageCount(), 4);
  EXPECT_EQ(TotalForms, 4);
  EXPECT_DOUBLE_EQ(TotalWithheld, 15);
  EXPECT_DOUBLE_EQ(TotalAmount, 130);

  const TPage program = Print1096Program().Pages[0];
  const TReportLayout layout =
      TReportProject::LoadLayout(SourceProjectFile(), QStringLiteral("Form1096"));
  auto at = [&](const char* param, const QString& text) {
    const TParamField* p = layout.Param(QLatin1String(param));
    if (!p) return false;
    for (const TDisplayItem& t : TextsEqual(program, text))
      if (std::fabs(t.Y - p->Y) < 1e-6) return true;
    return false;
  };
  EXPECT_TRUE(at("TotalForms", QStringLiteral("4")));
  EXPECT_TRUE(at("FITW", QStringLiteral("15.00")));
  EXPECT_TRUE(at("Total", QStringLiteral("130.00")));
  EXPECT_TRUE(at("CB1099INT", QStringLiteral("X")));
  EXPECT_EQ(TextsEqual(program, QStringLiteral("X")).size(), 1);

  const TPage page = Print1096Red(QDate(2026, 1, 20)).Pages[0];
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("4"), 4.4, 3.47));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("15.00"), 4.7, 3.47));
  EXPECT_TRUE(HasTextAt(page, QStringLiteral("130.00"), 6.1, 3.47));
  const QList<TDisplayItem> marks = TextsEqual(page, QStringLiteral("X"));
  ASSERT_EQ(marks.size(), 1);
  EXPECT_NEAR(marks[0].X, 7.06, 1e-9);
  EXPECT_NEAR(marks[0].Y, 4.17, 1e-9);
}
}  // namespace
