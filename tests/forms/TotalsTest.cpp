// The totals scan over a payer file: what counts as a form, what adds to the withheld tax and to
// the total amount, for each form type; and that the scan leaves the current payee alone.
#include <QList>
#include <limits>
#include <utility>

#include "FormsFixture.h"
#include "engine/PagePrinter.h"
#include "forms/FormPrint.h"
#include "forms/FormRegistry.h"
#include "forms/FormTotals.h"
#include "platform/Exceptions.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
using TAmounts = QList<std::pair<const char*, double>>;

struct TTotalsCase {
  const char* Title;
  uint8_t FormType;
  QList<TAmounts> Payees;
  int Forms;
  double Withheld;
  double Amount;
};

TPayeeRecord PayeeWith(const TAmounts& amounts) {
  TPayeeRecord p = SamplePayee(QStringLiteral("Payee"), QStringLiteral("123-45-6788"), 0);
  for (const auto& [field, value] : amounts) p.SetDouble(field, value);
  return p;
}

class TotalsTest : public TFormsTest, public ::testing::WithParamInterface<TTotalsCase> {};

TEST_P(TotalsTest, CountsFormsAndAddsAmounts) {
  const TTotalsCase& c = GetParam();
  QList<TPayeeRecord> payees;
  for (const TAmounts& a : c.Payees) payees.append(PayeeWith(a));
  OpenPayerFile(SamplePayer(), payees);
  CurrentFormType = c.FormType;
  EXPECT_EQ(ScanFormTotals(), c.Forms);
  EXPECT_EQ(TotalForms, c.Forms);
  EXPECT_NEAR(TotalWithheld, c.Withheld, 1e-9);
  EXPECT_NEAR(TotalAmount, c.Amount, 1e-9);
}

const TTotalsCase kCases[] = {
    // A payee with only backup withholding files a form too.
    {"NecWithheldWithoutAmountCounts",
     ft1099NEC,
     {{{"F1099NEC1", 100}, {"F1099NEC3", 50}, {"F1099NEC4", 10}}, {{"F1099NEC4", 5}}},
     2,
     15,
     150},
    {"NecBox3AloneCounts", ft1099NEC, {{{"F1099NEC3", 1000}}, {{"F1099NEC1", 20}}}, 2, 0, 1020},
    // Counted only when it rounds to a cent, but added as stored.
    {"FractionOfACentDoesNotCount", ft1099NEC, {{{"F1099NEC1", 0.004}}}, 0, 0, 0.004},
    {"OtherFormsBoxesIgnored", ft1099NEC, {{{"F1099MISC1", 300}, {"F1099MISC4", 30}}}, 0, 0, 0},
    // Box 12 is a federal money box, so it files a form, but the Form 1096 does not add it.
    {"MiscBox11Box4AndBox12Count",
     ft1099MISC,
     {{{"F1099MISC11", 70}}, {{"F1099MISC4", 9}}, {{"F1099MISC12", 400}}},
     3,
     9,
     70},
    {"MiscAllAmountBoxes",
     ft1099MISC,
     {{{"F1099MISC1", 1},
       {"F1099MISC2", 2},
       {"F1099MISC3", 3},
       {"F1099MISC5", 5},
       {"F1099MISC6", 6},
       {"F1099MISC8", 8},
       {"F1099MISC9", 9},
       {"F1099MISC10", 10},
       {"F1099MISC11", 11},
       {"F1099MISC15", 1000}}},
     1,
     0,
     55},
    {"Form1098HasNoWithheldBox",
     ft1098,
     {{{"F1098_1", 900}, {"F1098_6", 100}, {"F1098_2", 50000}, {"F1099NEC4", 12}}},
     1,
     0,
     1000},
    {"DivWithheldOnlyCounts",
     ft1099DIV,
     {{{"F1099DIV4", 40}}, {{"F1099DIV1a", 10}, {"F1099DIV12", 2}, {"F1099DIV1b", 7}}},
     2,
     40,
     12},
    {"IntAmountBoxes",
     ft1099INT,
     {{{"F1099INT1", 1},
       {"F1099INT3", 3},
       {"F1099INT8", 8},
       {"F1099INT10", 10},
       {"F1099INT11", 11},
       {"F1099INT13", 13},
       {"F1099INT2", 500},
       {"F1099INT4", 4}}},
     1,
     4,
     46},
    {"RBox1Only", ft1099R, {{{"F1099R1", 250}, {"F1099R2", 200}, {"F1099R4", 25}}}, 1, 25, 250},
    {"SBox2Only", ft1099S, {{{"F1099S2", 180000}, {"F1099S6", 900}}, {}}, 1, 0, 180000},
};

INSTANTIATE_TEST_SUITE_P(Forms, TotalsTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Title); });

// Which payees file a form: any federal money box or the withheld tax rounding to a cent, or a
// direct-sales box checked; state and local boxes alone file nothing. The count of the Form 1096
// and both prints follow the one rule, so they agree on every case.
class QualifyingRuleTest : public TFormsTest {
 protected:
  struct TCase {
    const char* Title;
    uint8_t FormType;
    QList<std::pair<const char*, double>> Amounts;
    const char* Flag;  // a check box set as well, or null
    int Forms;
  };

  // The forms the program-generated print and the red copies print for the open file.
  std::pair<int, int> Printed(const TFormDef& form) {
    TPagePrinter printer;
    Project->SetEngine(&printer);
    printer.BeginDoc();
    const int program = PrintProgramGenerated(form, printer, *Project);
    printer.EndDoc();
    Project->SetEngine(static_cast<TPagePrinter*>(nullptr));
    TPagePrinter red;
    red.BeginDoc();
    const int redCopies = PrintRedCopies(form, red, {});
    red.EndDoc();
    return {program, redCopies};
  }
};

TEST_F(QualifyingRuleTest, TotalsAndBothPrintsAgreeOnWhoFilesAForm) {
  const TCase cases[] = {
      {"1099-NEC direct sales only", ft1099NEC, {}, "F1099NEC2", 1},
      {"1099-MISC direct sales only", ft1099MISC, {}, "F1099MISC7", 1},
      {"1099-MISC box 15 only", ft1099MISC, {{"F1099MISC15", 2500}}, nullptr, 1},
      {"1099-INT box 2 only", ft1099INT, {{"F1099INT2", 40}}, nullptr, 1},
      {"1099-S box 6 only", ft1099S, {{"F1099S6", 300}}, nullptr, 1},
      {"1099-NEC withheld only", ft1099NEC, {{"F1099NEC4", 24}}, nullptr, 1},
      {"1099-R withheld only", ft1099R, {{"F1099R4", 10}}, nullptr, 1},
      {"1099-NEC state boxes only",
       ft1099NEC,
       {{"F1099NEC5_1", 30}, {"F1099NEC7_1", 600}},
       nullptr,
       0},
      {"1099-MISC state boxes only",
       ft1099MISC,
       {{"F1099MISC16_2", 5}, {"F1099MISC18_2", 90}},
       nullptr,
       0},
      {"1099-R local boxes only", ft1099R, {{"F1099R17_1", 8}, {"F1099R19_1", 80}}, nullptr, 0},
      {"1099-NEC 0.004 only", ft1099NEC, {{"F1099NEC1", 0.004}}, nullptr, 0},
      {"1099-INT two boxes of 0.004",
       ft1099INT,
       {{"F1099INT1", 0.004}, {"F1099INT3", 0.004}},
       nullptr,
       0},
      {"1099-NEC 0.005 rounds to a cent", ft1099NEC, {{"F1099NEC3", 0.005}}, nullptr, 1},
      {"a flag of another form", ft1099NEC, {}, "F1099MISC7", 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Title);
    TPayeeRecord payee = SamplePayee(QStringLiteral("Payee"), QStringLiteral("123-45-6788"), 0);
    for (const auto& [field, value] : c.Amounts) payee.SetDouble(field, value);
    if (c.Flag) payee.SetBool(c.Flag, true);
    OpenPayerFile(SamplePayer(), {payee});
    CurrentFormType = c.FormType;
    EXPECT_EQ(ScanFormTotals(), c.Forms);
    const auto [program, red] = Printed(*FindFormDef(c.FormType));
    EXPECT_EQ(program, c.Forms);
    EXPECT_EQ(red, c.Forms);
    ClosePayerFile();
  }
}

class TotalsScanTest : public TFormsTest {};

TEST_F(TotalsScanTest, LeavesTheCurrentPayeeCurrentAndLoaded) {
  OpenPayerFile(SamplePayer(),
                {SamplePayee(QStringLiteral("First"), QStringLiteral("123-45-6788"), 10),
                 SamplePayee(QStringLiteral("Second"), QStringLiteral("234-56-7890"), 20),
                 SamplePayee(QStringLiteral("Third"), QStringLiteral("345-67-8901"), 30)});
  Module->RSPayee->SetCurrentRecord(2);
  Module->RSPayee->GetRec();
  CurrentFormType = ft1099NEC;
  EXPECT_EQ(ScanFormTotals(), 3);
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 2);
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), QStringLiteral("Second"));
}

// Amounts that no screen stores are damage: the scan that every print runs first names the payee
// and the field, so nothing prints (not a 309-digit box, not a negative box, not a Form 1096
// total of 0.00), and leaves the current payee current. The box's own limits still print. (The
// other kinds of field: FieldKindsTest.)
TEST_F(TotalsScanTest, AnAmountOutsideTheBoxsRangeIsDamage) {
  const struct {
    double amount;
    bool damaged;
  } cases[] = {{std::numeric_limits<double>::quiet_NaN(), true},
               {std::numeric_limits<double>::infinity(), true},
               {-std::numeric_limits<double>::infinity(), true},
               {1e308, true},
               {-1e13, true},
               {999999999999.99, true},
               {-999999999999.99, true},
               {1000000000, true},
               {-0.01, true},
               {999999999.99, false},
               {0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.amount);
    TPayeeRecord bad = SamplePayee(QStringLiteral("Second"), QStringLiteral("234-56-7890"), 20);
    bad.SetDouble("F1099INT9", c.amount);  // a box of another form than the one printed
    OpenPayerFile(SamplePayer(),
                  {SamplePayee(QStringLiteral("First"), QStringLiteral("123-45-6788"), 10), bad});
    CurrentFormType = ft1099NEC;
    try {
      ScanFormTotals();
      EXPECT_FALSE(c.damaged) << "no damage reported";
    } catch (const EPrintException& e) {
      EXPECT_TRUE(c.damaged);
      EXPECT_EQ(e.Message(),
                "Payee 2 (Second) is damaged: the amount in field F1099INT9 is out "
                "of range. Nothing is printed from this file until it is mended.");
    }
    EXPECT_EQ(Module->RSPayee->CurrentRecord(), 1);
    ClosePayerFile();
  }
}

TEST_F(TotalsScanTest, StartsFromZeroEachTime) {
  OpenPayerFile(SamplePayer(),
                {SamplePayee(QStringLiteral("Only"), QStringLiteral("123-45-6788"), 10)});
  CurrentFormType = ft1099NEC;
  ScanFormTotals();
  ScanFormTotals();
  EXPECT_EQ(TotalForms, 1);
  EXPECT_DOUBLE_EQ(TotalAmount, 10);
}
}  // namespace
