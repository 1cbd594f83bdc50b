// The payee import and export: the round trip, users' own files, the spellings the import
// accepts, the rows it refuses, and the payee file it never leaves half-written.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <QDir>
#include <QSet>
#include <csignal>

#include "ExchangeFixture.h"
#include "TestSupport.h"
#include "exchange/PayeeExchange.h"
#include "platform/Exceptions.h"
#include "storage/RecordSet.h"

namespace {
// A payee with every field of every form filled, and every box combination the form checks ask.
TPayeeRecord FullPayee() {
  TPayeeRecord p;
  int i = 0;
  for (const TFieldDef& f : PayeeLayout().Fields()) {
    ++i;
    switch (f.Kind) {
      case TFieldKind::Double:
        p.SetDouble(&f, 10 + i * 0.25);
        break;
      case TFieldKind::Bool:
        p.SetBool(&f, true);
        break;
      case TFieldKind::Int32:
        p.SetInt(&f, i);
        break;
      default: {
        const QString text = QStringLiteral("T%1").arg(f.Name).left(f.Width);
        p.SetString(&f, f.Rule.Upper ? text.toUpper() : text);
        break;
      }
    }
  }
  p.SetInt("F1099R8a", 25);
  p.SetInt("F1099R9a", 50);
  for (const char* total : {"F1099DIV1a", "F1099DIV2a", "F1099R1"}) p.SetDouble(total, 5000);
  p.SetDouble("F1099R2", 2000);
  for (const char* none :
       {"F1099MISC16_2", "F1099MISC18_2", "F1099NEC5_2", "F1099NEC7_2", "F1099R14_2", "F1099R16_2"})
    p.SetDouble(none, 0);
  p.SetString("LastName", QStringLiteral("Müller"));
  p.SetString("FirstName", QStringLiteral("José \"Pepe\", Jr."));
  p.SetString("PayeeName", QStringLiteral("José \"Pepe\", Jr. Müller"));
  p.SetString("Address1", QStringLiteral("12 Main St; Apt 4"));
  p.SetString("City", QStringLiteral("Albany"));
  p.SetString("State", QStringLiteral("NY"));
  p.SetString("ZipCode", QStringLiteral("12207"));
  p.SetString("CityStZip", QStringLiteral("Albany NY 12207"));
  p.SetString("SSN_IDNum", QStringLiteral("212-45-6781"));
  for (const char* date : {"F1098_3", "F1098_11", "F1099RDOP", "F1099S1"})
    p.SetString(date, QStringLiteral("03/15/2025"));
  p.SetString("F1099R7", QStringLiteral("7"));
  p.SetString("F1099R11", QStringLiteral("2019"));
  return p;
}

TEST_F(ExchangeTest, RoundTripOfEveryFormsFieldsIsExact) {
  const QString source = MakePair("SOURCE", {FullPayee(), CompanyPayee()});
  const QString target = MakePair("TARGET", {});
  ASSERT_EQ(RunBatch({"export", source, "--csv", Dir.Path("first.csv")}).Code, 0);
  const TBatchRun import = RunBatch({"import", target, "--csv", Dir.Path("first.csv")});
  ASSERT_EQ(import.Code, 0) << import.Err.toStdString();
  ASSERT_EQ(RunBatch({"export", target, "--csv", Dir.Path("second.csv")}).Code, 0);

  const QByteArray first = ReadAll(Dir.Path("first.csv"));
  EXPECT_EQ(first, ReadAll(Dir.Path("second.csv")));
  EXPECT_TRUE(
      first.startsWith("Prior-year record number,Recipient is an individual,Recipient's name,"));
  EXPECT_TRUE(first.contains("\"José \"\"Pepe\"\", Jr.\""));
  EXPECT_TRUE(first.contains(",1234.50,"));
  const TBatchRun a = RunBatch({"dump", "--format", "text", source}),
                  b = RunBatch({"dump", "--format", "text", target});
  EXPECT_EQ(a.Out, b.Out);
  EXPECT_TRUE(b.Out.contains("F1099S1 =   /  /    "));
}

// The header in the form's words for a bookkeeper, or in the record's names for scripts; both
// read back, as does every header of the whole export.
TEST_F(ExchangeTest, ExportOfOneFormHasTheCommonFieldsAndThatForm) {
  const QString file = MakePair("ONE", {FullPayee()});
  TExportOptions nec;
  nec.FormType = FormTypeFromName("1099-NEC");
  ExportPayees(file, Dir.Path("nec.csv"), nec);
  const QString header = QString::fromUtf8(ReadAll(Dir.Path("nec.csv"))).section("\r\n", 0, 0);
  EXPECT_EQ(header,
            "Prior-year record number,Recipient is an individual,Recipient's name,Recipient's "
            "last name,Recipient's first name,Recipient's trade name,Street address,City,State,"
            "ZIP code,\"City, state and ZIP code\",Recipient's TIN,1099-NEC Account number (see "
            "instructions),"
            "1099-NEC CORRECTED,1099-NEC 2nd TIN not.,1099-NEC box 1 Nonemployee compensation,"
            "\"1099-NEC box 2 Payer made direct sales totaling $5,000 or more of consumer products "
            "to recipient for resale\",1099-NEC box 3 Excess golden parachute payments,1099-NEC "
            "box 4 Federal income tax withheld,\"1099-NEC box 5 State tax withheld, first line\","
            "\"1099-NEC box 5 State tax withheld, second line\",\"1099-NEC box 7 State income, "
            "first line\",\"1099-NEC box 7 State income, second line\"");
  nec.FieldNames = true;
  ExportPayees(file, Dir.Path("fields.csv"), nec);
  EXPECT_TRUE(ReadAll(Dir.Path("fields.csv"))
                  .startsWith("TransferRecNo,Individual,PayeeName,LastName,FirstName,CompName,"
                              "Address1,City,State,ZipCode,CityStZip,SSN_IDNum,AcctNum1099NEC,"));

  // Every name of the whole export is one field's, in words and in the record's names.
  QSet<QString> seen;
  for (const TFieldDef* f : ExportFields()) {
    const QString words = ExchangeName(*f);
    if (words == QLatin1String(f->Name)) {
      EXPECT_TRUE(words == "City" || words == "State") << "no words for " << f->Name;
    }
    EXPECT_FALSE(seen.contains(words)) << words.toStdString();
    seen.insert(words);
    EXPECT_EQ(FieldForHeader(words), QLatin1String(f->Name)) << words.toStdString();
    EXPECT_EQ(FieldForHeader(QLatin1String(f->Name)), QLatin1String(f->Name));
  }
  EXPECT_EQ(seen.size(), qsizetype(PayeeLayout().Fields().size()));
}

TEST_F(ExchangeTest, VendorListImportsThroughASavedMapping) {
  const QString file = MakePair("VENDORS", {CompanyPayee()});
  TImportSettings map;
  const char* pairs[][2] = {{"Vendor", "PayeeName"},
                            {"Tax ID", "SSN_IDNum"},
                            {"Street", "Address1"},
                            {"City", "City"},
                            {"ST", "State"},
                            {"Zip", "ZipCode"},
                            {"1099 Amount", "F1099NEC1"},
                            {"Notes", ""}};
  for (auto& [header, field] : pairs) map.Columns.insert(header, field);
  SaveImportMapping(Dir.Path("vendors.json"), map);
  WriteAll(Dir.Path("vendors.csv"),
           "Vendor,Tax ID,Street,City,ST,Zip,1099 Amount,Notes\r\n"
           "Hudson Paving Inc,987654321,4 River Rd,Albany,ny,12207,\"$1,234.50\",paid late\r\n");
  const TBatchRun run = RunBatch(
      {"import", file, "--csv", Dir.Path("vendors.csv"), "--map", Dir.Path("vendors.json")});
  ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  const std::vector<TPayeeRecord> payees = ReadPayeeFile(file);
  ASSERT_EQ(payees.size(), 2u);
  const TPayeeRecord& added = payees[1];
  EXPECT_EQ(added.GetString("PayeeName"), "Hudson Paving Inc");
  EXPECT_EQ(added.GetString("SSN_IDNum"), "98-7654321");
  EXPECT_EQ(added.GetString("State"), "NY");
  EXPECT_EQ(added.GetString("CityStZip"), "Albany NY 12207");
  EXPECT_EQ(added.GetDouble("F1099NEC1"), 1234.5);
}

TEST_F(ExchangeTest, SemicolonSeparatedWindows1252FileIsDetected) {
  const QByteArray csv =
      "Name;Address;City;State;ZIP;TIN\r\n"
      "M\xFCller Caf\xE9;Stra\xDF"
      "e 1;Troy;NY;12180;12-3456789\r\n";
  const TCsvFormat format = DetectCsvFormat(csv);
  EXPECT_EQ(format.Separator, QChar(';'));
  EXPECT_EQ(format.Encoding, TCsvEncoding::Windows1252);
  const TImportPlan plan = PlanImport(csv, {}, Payer());
  ASSERT_TRUE(plan.Ok()) << plan.Report().toStdString();
  EXPECT_EQ(plan.Payees.at(0).GetString("PayeeName"), QStringLiteral("Müller Café"));
  EXPECT_EQ(plan.Payees.at(0).GetString("Address1"), QStringLiteral("Straße 1"));
}

TEST_F(ExchangeTest, ValuesAreAcceptedAsUsersWriteThem) {
  struct TCase {
    const char* Column;
    const char* Text;
    bool Individual;
    const char* Stored;  // as the dump lists it
    char Decimal = 0;    // the decimal symbol chosen; detected when 0
    TDateOrder Dates = TDateOrder::MDY;
  };
  const TCase cases[] = {
      {"F1099NEC1", "$1,234.56", false, "1234.56"},
      {"F1099NEC1", "1,234", false, "1234"},
      {"F1099NEC1", "1.234,56", false, "1234.56", ','},
      {"F1099NEC1", "1 234,5", false, "1234.5", ','},
      {"F1099NEC1", "", false, "0"},
      {"F1099NEC2", "yes", false, "True"},
      {"F1099NEC2", "X", false, "True"},
      {"F1099NEC2", "1", false, "True"},
      {"F1099NEC2", "TRUE", false, "True"},
      {"F1099NEC2", "no", false, "False"},
      {"F1099NEC2", "0", false, "False"},
      {"F1099NEC2", "", false, "False"},
      {"SSN_IDNum", "212456781", true, "212-45-6781"},
      {"SSN_IDNum", "212456781", false, "21-2456781"},
      {"SSN_IDNum", "212-45-6781", false, "212-45-6781"},
      {"State", "ny", false, "NY"},
      {"ZipCode", "122071234", false, "12207-1234"},
      {"F1099RDOP", "1/5/2025", false, "01/05/2025"},
      {"F1099RDOP", "15/3/2025", false, "03/15/2025", 0, TDateOrder::DMY},
      {"F1099RDOP", "15.03.25", false, "03/15/2025", 0, TDateOrder::DMY},
      {"F1099RDOP", "2025-03-15", false, "03/15/2025"},
      {"F1099RDOP", "3/15/2025 0:00", false, "03/15/2025"},
      {"F1099R9a", "25%", false, "25"},
      {"AcctNum1099NEC", " acct-7 ", false, "ACCT-7"},
      {"CompName", "  Blue Sky  ", false, "Blue Sky"},
      // A spreadsheet keeps the line break of a cell; the record has one line for it.
      {"Address1", "3 Main St\r\n  Suite 400", false, "3 Main St Suite 400"},
      // The export's guard against formulas comes off.
      {"CompName", "'=Blue Sky", false, "=Blue Sky"},
  };
  for (const TCase& c : cases) {
    const QString columns = QStringLiteral(
        "Individual,LastName,FirstName,PayeeName,Address1,City,"
        "State,ZipCode,SSN_IDNum");
    QStringList values = {c.Individual ? "x" : "",
                          "Doe",
                          "Jane",
                          "Doe Corp",
                          "1 Elm St",
                          "Troy",
                          "NY",
                          "12180",
                          "12-3456789"};
    QStringList header = columns.split(',');
    const qsizetype at = header.indexOf(c.Column);
    if (at >= 0)
      values[at] = c.Text;
    else {
      header << c.Column;
      values << c.Text;
    }
    TImportSettings settings;
    if (c.Decimal) settings.Decimal = QLatin1Char(c.Decimal);
    settings.Dates = c.Dates;
    const TImportPlan plan =
        PlanImport((CsvLine(header) + CsvLine(values)).toUtf8(), settings, Payer());
    ASSERT_TRUE(plan.Ok()) << c.Column << " " << c.Text << ": " << plan.Report().toStdString();
    EXPECT_EQ(RecordField::AsText(plan.Payees.at(0).Data(), *PayeeLayout().Field(c.Column)),
              c.Stored)
        << c.Column << " " << c.Text;
  }
}

// A negative amount, however it is written, is refused as no screen stores it (the other kinds
// of field are in the forms' FieldKindsTest). Each names its column and quotes its text.
TEST_F(ExchangeTest, NegativeAmountsAreRefusedHoweverTheyAreWritten) {
  const struct {
    const char* Column;
    const char* Text;
    const char* Message;
  } cases[] = {
      {"F1099NEC1", "-12.5", "\"-12.5\" is negative"},
      {"F1099NEC1", "-$1,000", "\"-$1,000\" is negative"},
      {"F1099NEC1", "(5.00)", "\"(5.00)\" is negative"},
      {"F1099MISC1", "(200.00)", "\"(200.00)\" is negative"},
      {"F1099MISC3", "-300", "\"-300\" is negative"},
  };
  for (const auto& c : cases) {
    const QStringList header = {"PayeeName", "Address1",  "City",  "State",
                                "ZipCode",   "SSN_IDNum", c.Column};
    const QStringList values = {
        "Doe Corp", "1 Elm St", "Troy", "NY", "12180", "12-3456789", QString::fromUtf8(c.Text)};
    const TImportPlan plan = PlanImport((CsvLine(header) + CsvLine(values)).toUtf8(), {}, Payer());
    EXPECT_EQ(plan.Report(), QStringLiteral("Line 2, column \"%1\": %2")
                                 .arg(QLatin1String(c.Column), QString::fromUtf8(c.Message)))
        << c.Column << " " << c.Text;
  }
}

// The fields made from others come from what the file changed, not from the exported copies of
// them: the record, the mailing label and the Copy B carry the new name and city, and a
// person's number given without dashes is an SSN, masked on the Copy B.
TEST_F(ExchangeTest, ImportedChangesReachTheRecordTheLabelAndTheCopyB) {
  TPayeeRecord john;
  john.SetBool("Individual", true);
  john.SetString("FirstName", QStringLiteral("John"));
  john.SetString("LastName", QStringLiteral("Smith"));
  john.SetString("PayeeName", QStringLiteral("John Smith"));
  john.SetString("Address1", QStringLiteral("1 Elm St"));
  john.SetString("City", QStringLiteral("Troy"));
  john.SetString("State", QStringLiteral("NY"));
  john.SetString("ZipCode", QStringLiteral("12180"));
  john.SetString("CityStZip", QStringLiteral("Troy NY 12180"));
  john.SetString("SSN_IDNum", QStringLiteral("212-45-6781"));
  john.SetDouble("F1099NEC1", 500);
  const QString source = MakePair("SOURCE", {john});
  ASSERT_EQ(RunBatch({"export", source, "--csv", Dir.Path("payees.csv")}).Code, 0);
  QString csv = QString::fromUtf8(ReadAll(Dir.Path("payees.csv")));
  ASSERT_TRUE(csv.contains(",Smith,John,") && csv.contains(",Troy,NY,12180,Troy NY 12180,"));
  csv.replace(",Smith,John,", ",Smyth,John,")
      .replace(",Troy,NY,12180,Troy NY 12180,212-45-6781,",
               ",Albany,NY,12207,Troy NY 12180,212456781,");
  WriteAll(Dir.Path("payees.csv"), csv.toUtf8());

  const QString target = MakePair("TARGET", {});
  const TBatchRun import = RunBatch({"import", target, "--csv", Dir.Path("payees.csv")});
  ASSERT_EQ(import.Code, 0) << import.Err.toStdString();
  EXPECT_TRUE(
      import.Out.contains("Note: Column \"City, state and ZIP code\": the city line is made from "
                          "City, State and ZipCode; the column's text was not used on line 2"))
      << import.Out.toStdString();
  EXPECT_TRUE(
      import.Out.contains("Note: Column \"Recipient's name\": an individual's name is made "
                          "from FirstName and LastName; the column's text was not used "
                          "on line 2"));
  const TPayeeRecord added = ReadPayeeFile(target).at(0);
  EXPECT_EQ(added.GetString("PayeeName"), "John Smyth");
  EXPECT_EQ(added.GetString("CityStZip"), "Albany NY 12207");
  EXPECT_EQ(added.GetString("SSN_IDNum"), "212-45-6781");

  ASSERT_EQ(RunBatch({"labels", target, "--out", Dir.Path("labels.txt")}).Code, 0);
  const QString labels = QString::fromUtf8(ReadAll(Dir.Path("labels.txt")));
  EXPECT_TRUE(labels.contains("John Smyth") && labels.contains("Albany NY 12207"))
      << labels.toStdString();
  EXPECT_FALSE(labels.contains("Smith") || labels.contains("Troy"));

  ASSERT_EQ(RunBatch({"print", target, "--form", "1099-NEC", "--kind", "program", "--mask-ssn",
                      "yes", "--instructions", "no", "--out", Dir.Path("copyb.txt")})
                .Code,
            0);
  const QString copyB = QString::fromUtf8(ReadAll(Dir.Path("copyb.txt")));
  EXPECT_TRUE(copyB.contains("\"JOHN SMYTH\"") && copyB.contains("\"ALBANY NY 12207\""))
      << copyB.toStdString();
  EXPECT_TRUE(copyB.contains("\"***-**-6781\""));
  EXPECT_FALSE(copyB.contains("212-45-6781") || copyB.contains("SMITH") || copyB.contains("TROY"));
}

TEST_F(ExchangeTest, BadRowsAreReportedAndNothingIsWritten) {
  struct TCase {
    QByteArray Csv;
    QStringList Report;
  };
  const QString good = "Good Co,1 Elm St,Troy,NY,12180,12-3456789,100,,";
  const TCase cases[] = {
      {VendorCsv({good, "Bad Tin,1 Elm St,Troy,NY,12180,12-345,100,,", good,
                  "Bad State,1 Elm St,Troy,XX,12180,12-3456789,100,,",
                  "Bad Amount,1 Elm St,Troy,NY,12180,12-3456789,12abc,,",
                  "\xC5\x81ukasz Sp. z o.o.,1 Elm St,Troy,NY,12180,12-3456789,100,,",
                  "No State Number,1 Elm St,Troy,NY,12180,12-3456789,100,,250"}),
       {"Line 3, column \"SSN_IDNum\": \"12-345\" is not a taxpayer identification number "
        "(NNN-NN-NNNN or NN-NNNNNNN)",
        "Line 5, column \"State\": \"XX\" is not a state code",
        "Line 6, column \"F1099NEC1\": \"12abc\" is not an amount",
        "Line 7, column \"PayeeName\": \"Łukasz Sp. z o.o.\" holds characters the payee file "
        "cannot store (Windows-1252)",
        "Line 8, column \"F1099NEC7_2\": Box 6 must not be blank when there is data in box 7."}},
      {"PayeeName,Favourite Colour\nGood Co,blue\n",
       {"Line 1, column \"Favourite Colour\": The column names no payee field; map it to one, "
        "or leave it out with \"\" in a mapping"}},
  };
  const QString file = MakePair("BAD", {CompanyPayee()});
  const QByteArray before = ReadAll(file);
  for (const TCase& c : cases) {
    WriteAll(Dir.Path("bad.csv"), c.Csv);
    // The rows share the payee file's TIN: added, they are judged on their own.
    const TBatchRun run =
        RunBatch({"import", file, "--csv", Dir.Path("bad.csv"), "--existing", "add"});
    EXPECT_EQ(run.Code, 2);
    const QStringList lines = ErrLines(run);
    EXPECT_EQ(lines.mid(0, c.Report.size()), c.Report);
    EXPECT_TRUE(lines.value(c.Report.size()).startsWith("Nothing was imported"))
        << run.Err.toStdString();
    EXPECT_EQ(ReadAll(file), before);
  }
}

TEST_F(ExchangeTest, FileAnotherProgramHoldsOpenIsRefused) {
  const QString file = MakePair("HELD", {CompanyPayee()});
  const QByteArray before = ReadAll(file);
  TRecordSet holder;
  holder.SetRecSize(TPayeeRecord::Size);
  holder.SetFileName(file);
  holder.SetFileShareMode(smShareDenyWrite);
  holder.OpenRecSet();
  ASSERT_TRUE(holder.Active() && !holder.BrowseOnly());
  WriteAll(Dir.Path("in.csv"), VendorCsv({"Good Co,1 Elm St,Troy,NY,12180,98-7654321,100,,"}));
  const TBatchRun run = RunBatch({"import", file, "--csv", Dir.Path("in.csv")});
  EXPECT_EQ(run.Code, 2);
  EXPECT_EQ(ErrLines(run).join('\n').trimmed(), file + " is already in use!");
  holder.CloseRecSet();
  EXPECT_EQ(ReadAll(file), before);
}

// A disk that fills while the new payee file is written: the write fails part-way (the file
// size limit stands in for the full disk) and the payee file stays as it was, with no
// temporary file left beside it.
TEST_F(ExchangeTest, FailedWriteMidwayLeavesThePayeeFileAsItWas) {
  const QString file = MakePair("FULL", {CompanyPayee(), CompanyPayee()});
  const QByteArray before = ReadAll(file);
  std::vector<TPayeeRecord> added(20, CompanyPayee());
  struct rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 5 * TPayeeRecord::Size + 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_THROW(AppendPayees(file, added), EInOutError);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(ReadAll(file), before);
  EXPECT_EQ(QDir(Dir.Path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}
}  // namespace
