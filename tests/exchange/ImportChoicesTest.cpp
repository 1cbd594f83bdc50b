// What the import asks of the user and does only when told: rows whose payee the file holds
// already, values a spreadsheet spoilt, the good rows alone, a dry run; and the export that a
// spreadsheet opens without running anything.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ExchangeFixture.h"
#include "platform/Exceptions.h"

namespace {
const QString kHeader = QStringLiteral(
    "Vendor,Tax ID,Street,City,State,Zip,1099-NEC box 1 Nonemployee compensation,"
    "1099-NEC box 4 Federal income tax withheld\r\n");

QByteArray Vendors(const QStringList& rows) {
  return (kHeader + rows.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

const QString kHudson =
    QStringLiteral("Hudson Paving Inc,98-7654321,4 River Rd,Albany,NY,12207,1234.50,");
const QString kRiver = QStringLiteral("River Cafe,45-6789012,9 Dock St,Troy,NY,12180,300,");

class ImportChoicesTest : public ExchangeTest {
 protected:
  TBatchRun Import(const QString& file, const QByteArray& csv, const QStringList& options = {}) {
    WriteAll(Dir.Path("in.csv"), csv);
    return RunBatch(QStringList{"import", file, "--csv", Dir.Path("in.csv")} + options);
  }
};
}  // namespace

// The same file twice: refused with the matches listed; then updated in place, skipped or added
// as asked, and a dry run that says what an update would change and writes nothing.
TEST_F(ImportChoicesTest, TheSameFileTwiceIsRefusedUntilTheUserChooses) {
  const QString file = MakePair("TWICE", {});
  const QByteArray csv = Vendors({kHudson, kRiver});
  ASSERT_EQ(Import(file, csv).Code, 0);
  const QByteArray once = ReadAll(file);
  ASSERT_EQ(ReadPayeeFile(file).size(), 2u);

  const TBatchRun again = Import(file, csv);
  EXPECT_EQ(again.Code, 2);
  EXPECT_EQ(ErrLines(again).mid(0, 3),
            QStringList({"Line 2: payee \"Hudson Paving Inc\", record 1 of the payee file (the "
                         "same TIN 98-7654321)",
                         "Line 3: payee \"River Cafe\", record 2 of the payee file (the same TIN "
                         "45-6789012)",
                         "Rows match payees the payee file holds already: choose --existing "
                         "update (the rows' filled cells replace the payees' values), skip or "
                         "add"}));
  EXPECT_EQ(ReadAll(file), once);

  // The second file changes amounts, finds the cafe by its name and ZIP code, leaves cells
  // empty, and adds a payee.
  const QByteArray changed =
      Vendors({"Hudson Paving Inc,98-7654321,,Albany,NY,12207,1500,150",
               "river  CAFE,,,Troy,NY,12180,325,", "New Co,12-3456789,1 Elm St,Troy,NY,12180,50,"});
  const TBatchRun dry = Import(file, changed, {"--existing", "update", "--dry-run"});
  EXPECT_EQ(dry.Code, 0) << dry.Err.toStdString();
  EXPECT_TRUE(dry.Out.contains(
      "Line 3: payee \"River Cafe\", record 2 of the payee file (the same name and ZIP code "
      "12180) (update)\n"))
      << dry.Out.toStdString();
  EXPECT_TRUE(
      dry.Out.contains("Would update record 1 \"Hudson Paving Inc\":\n"
                       "  1099-NEC box 1 Nonemployee compensation: \"1234.50\" -> \"1500.00\"\n"
                       "  1099-NEC box 4 Federal income tax withheld: \"0.00\" -> \"150.00\"\n"))
      << dry.Out.toStdString();
  EXPECT_TRUE(dry.Out.contains("Dry run, nothing was written: 1 added, 2 updated, 0 skipped"));
  EXPECT_EQ(ReadAll(file), once);

  ASSERT_EQ(Import(file, changed, {"--existing", "update"}).Code, 0);
  std::vector<TPayeeRecord> payees = ReadPayeeFile(file);
  ASSERT_EQ(payees.size(), 3u);
  EXPECT_EQ(payees[0].GetDouble("F1099NEC1"), 1500.0);
  EXPECT_EQ(payees[0].GetDouble("F1099NEC4"), 150.0);
  EXPECT_EQ(payees[0].GetString("Address1"), "4 River Rd");  // an empty cell changes nothing
  EXPECT_EQ(payees[1].GetDouble("F1099NEC1"), 325.0);
  EXPECT_EQ(payees[1].GetString("PayeeName"), "river  CAFE");
  EXPECT_EQ(payees[2].GetString("PayeeName"), "New Co");

  const QByteArray updated = ReadAll(file);
  ASSERT_EQ(Import(file, changed, {"--existing", "skip"}).Code, 0);
  EXPECT_EQ(ReadAll(file), updated);
  ASSERT_EQ(Import(file, csv, {"--existing", "add"}).Code, 0);
  EXPECT_EQ(ReadPayeeFile(file).size(), 5u);
}

// Rows of one file that are one payee: listed, then joined when the user updates.
TEST_F(ImportChoicesTest, RowsOfOneFileForOnePayeeAreMatchesToo) {
  const QByteArray csv = Vendors({kHudson, "Hudson Paving Inc,987654321,,Albany,NY,12207,,99"});
  const TImportPlan ask = PlanImport(csv, {}, Payer());
  EXPECT_EQ(ask.MatchReport(),
            "Line 3: the same payee as line 2, \"Hudson Paving Inc\" (the same "
            "TIN 98-7654321)");
  EXPECT_FALSE(ask.Importable());
  TImportSettings update;
  update.Existing = TExisting::Update;
  const TImportPlan joined = PlanImport(csv, update, Payer());
  ASSERT_TRUE(joined.Importable()) << joined.Report().toStdString();
  ASSERT_EQ(joined.Payees.size(), 1u);
  EXPECT_EQ(joined.Payees[0].GetDouble("F1099NEC1"), 1234.5);
  EXPECT_EQ(joined.Payees[0].GetDouble("F1099NEC4"), 99.0);
}

// The payee file changed after the import was planned: nothing is written over the change.
TEST_F(ImportChoicesTest, AFileChangedSinceThePlanIsNotWritten) {
  const QString file = MakePair("MOVED", {CompanyPayee()});
  TImportSettings update;
  update.Existing = TExisting::Update;
  const TImportPlan plan = PlanImport(Vendors({kHudson}), update, Payer(), ReadPayeeFile(file));
  ASSERT_TRUE(plan.Importable());
  WriteAll(file, Bytes({CompanyPayee(), CompanyPayee()}));
  const QByteArray changed = ReadAll(file);
  EXPECT_THROW(ApplyImport(file, plan), EInOutError);
  EXPECT_EQ(ReadAll(file), changed);
}

// ZIP codes and taxpayer numbers that lost their leading zero: said with the repair, stored
// only when the user accepts it, and then listed.
TEST_F(ImportChoicesTest, LostLeadingZerosAreRepairedOnlyWhenAccepted) {
  const QString file = MakePair("ZEROS", {});
  const QByteArray csv = Vendors({"Boston Tea,12345678,1 Main St,Boston,MA,2134,100,"});
  const TBatchRun refused = Import(file, csv);
  EXPECT_EQ(refused.Code, 2);
  EXPECT_EQ(ErrLines(refused).mid(0, 2),
            QStringList({"Line 2, column \"Zip\": \"2134\" is not a ZIP code; a spreadsheet most "
                         "likely dropped its leading zero: \"02134\" (accept the repairs of "
                         "leading zeros, or correct the file)",
                         "Line 2, column \"Tax ID\": \"12345678\" is not a taxpayer "
                         "identification number; a spreadsheet most likely dropped its leading "
                         "zero: \"012345678\" (accept the repairs of leading zeros, or correct "
                         "the file)"}));
  EXPECT_TRUE(ReadAll(file).isEmpty());

  const TBatchRun repaired = Import(file, csv, {"--repair-leading-zeros"});
  ASSERT_EQ(repaired.Code, 0) << repaired.Err.toStdString();
  EXPECT_TRUE(repaired.Out.contains(
      "Note: Line 2, column \"Zip\": \"2134\" repaired to \"02134\" (its leading zero)"));
  const TPayeeRecord p = ReadPayeeFile(file).at(0);
  EXPECT_EQ(p.GetString("ZipCode"), "02134");
  EXPECT_EQ(p.GetString("SSN_IDNum"), "01-2345678");
}

// The good rows alone, when asked: the others go into a file to correct and import again.
TEST_F(ImportChoicesTest, GoodRowsAloneWithTheBadOnesListedBeside) {
  const QString file = MakePair("GOOD", {});
  const QByteArray csv = Vendors({kHudson, "Bad Tin Co,12-345,1 Elm St,Troy,NY,12180,=5+5,"});
  const TBatchRun run = Import(file, csv, {"--bad-rows", Dir.Path("bad.csv")});
  ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_EQ(ReadPayeeFile(file).size(), 1u);
  const QByteArray bad = ReadAll(Dir.Path("bad.csv"));
  EXPECT_EQ(bad,
            "\xEF\xBB\xBF" + kHeader.trimmed().toUtf8() +
                ",Problems\r\n"
                "Bad Tin Co,12-345,1 Elm St,Troy,NY,12180,'=5+5,,\"Line 3, column \"\"1099-NEC "
                "box 1 Nonemployee compensation\"\": \"\"=5+5\"\" is not an amount; Line 3, "
                "column \"\"Tax ID\"\": \"\"12-345\"\" is not a taxpayer identification number "
                "(NNN-NN-NNNN or NN-NNNNNNN)\"\r\n");
}

// Names a spreadsheet would run as a formula are written as text, read back unchanged, and the
// file carries a byte order mark when asked for Excel.
TEST_F(ImportChoicesTest, ExportIsSafeToOpenAndReadsBack) {
  TPayeeRecord p = CompanyPayee();
  p.SetString("PayeeName", QStringLiteral("=HYPERLINK(\"http://x.example\")"));
  p.SetString("CompName", QStringLiteral("+1 Trading"));
  p.SetString("Address1", QStringLiteral("-5 Main St"));
  p.SetString("City", QStringLiteral("@Troy"));
  p.SetString("CityStZip", QStringLiteral("@Troy NY 12180"));
  const QString source = MakePair("FORMULA", {p});
  ASSERT_EQ(RunBatch({"export", source, "--csv", Dir.Path("out.csv"), "--bom"}).Code, 0);
  const QByteArray csv = ReadAll(Dir.Path("out.csv"));
  EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBFPrior-year record number,"));
  for (const char* cell : {",\"'=HYPERLINK(\"\"http://x.example\"\")\",", ",'+1 Trading,",
                           ",'-5 Main St,", ",'@Troy,"})
    EXPECT_TRUE(csv.contains(cell)) << cell;
  const QString target = MakePair("BACK", {});
  const TBatchRun back = RunBatch({"import", target, "--csv", Dir.Path("out.csv")});
  ASSERT_EQ(back.Code, 0) << back.Err.toStdString();
  EXPECT_EQ(RunBatch({"dump", "--format", "text", target}).Out,
            RunBatch({"dump", "--format", "text", source}).Out);
}

// The command line takes the names the wizard takes, refuses what it does not know, and never
// waits on a file that is not one.
TEST_F(ImportChoicesTest, CommandLineTakesSynonymsAndRefusesWhatItDoesNotKnow) {
  const QString file = MakePair("CLI", {});
  const QByteArray vendors =
      "Vendor,Tax ID,Street,City,ST,Zip,Amount\r\nHudson Paving Inc,98-7654321,4 River Rd,"
      "Albany,NY,12207,\"$1,234.50\"\r\n";
  const TBatchRun run =
      Import(file, vendors, {"--amount", "1099-MISC box 3 Other income", "--dry-run"});
  EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_TRUE(ReadAll(file).isEmpty());
  ASSERT_EQ(Import(file, vendors, {"--amount", "F1099MISC3"}).Code, 0);
  EXPECT_EQ(ReadPayeeFile(file).at(0).GetDouble("F1099MISC3"), 1234.5);

  for (const QStringList& wrong :
       {QStringList{"--existing", "replace"}, {"--dry"}, {"--decimal", ";"}, {"--dates", "DM"}}) {
    const TBatchRun bad = Import(file, vendors, wrong);
    EXPECT_EQ(bad.Code, 2) << wrong.join(' ').toStdString();
    EXPECT_TRUE(bad.Err.contains("usage: papyra-batch import")) << bad.Err.toStdString();
  }
  ASSERT_EQ(::mkfifo(QFile::encodeName(Dir.Path("pipe.csv")).constData(), 0600), 0);
  const TBatchRun pipe = RunBatch({"import", file, "--csv", Dir.Path("pipe.csv")});
  EXPECT_EQ(pipe.Code, 2);
  EXPECT_EQ(ErrLines(pipe).first(), Dir.Path("pipe.csv") + " is not a regular file");
}
