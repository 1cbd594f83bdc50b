// Reading files as spreadsheets and accounting programs write them: the corpus of their files
// imported to the exact values, the encodings, the faults a reader is prone to, the rows around
// the payees, and the limits that stop an oversized file early.
#include <gtest/gtest.h>

#include "ExchangeFixture.h"

namespace {
QByteArray CorpusFile(const char* name) {
  return ReadAll(QStringLiteral(PAPYRA_CORPUS_DIR "/") + QLatin1String(name));
}

// A payee as the tests compare it: the fields that tell one apart.
struct TExpected {
  const char* Name;
  const char* Tin;
  const char* Address;
  const char* Zip;
  const char* AmountField;
  double Amount;
  bool Individual = false;
};

void ExpectPayees(const TImportPlan& plan, const std::vector<TExpected>& expected,
                  const char* file) {
  ASSERT_TRUE(plan.Ok()) << file << ":\n" << plan.Report().toStdString();
  ASSERT_EQ(plan.Payees.size(), expected.size()) << file;
  for (size_t i = 0; i < expected.size(); ++i) {
    const TPayeeRecord& p = plan.Payees[i];
    const TExpected& e = expected[i];
    EXPECT_EQ(p.GetString("PayeeName"), QString::fromUtf8(e.Name)) << file;
    EXPECT_EQ(p.GetString("SSN_IDNum"), QLatin1String(e.Tin)) << file;
    EXPECT_EQ(p.GetString("Address1"), QString::fromUtf8(e.Address)) << file;
    EXPECT_EQ(p.GetString("ZipCode"), QLatin1String(e.Zip)) << file;
    EXPECT_EQ(p.GetDouble(e.AmountField), e.Amount) << file << " " << e.AmountField;
    EXPECT_EQ(p.GetBool("Individual"), e.Individual) << file;
  }
}

// A header and one row of a company payee, with the cells given added.
QByteArray CompanyCsv(const QString& extraHeader = {}, const QString& extraCell = {},
                      QChar sep = QLatin1Char(',')) {
  QStringList header = {"PayeeName", "Address1", "City", "State", "ZipCode", "SSN_IDNum"};
  QStringList row = {"Good Co", "1 Elm St", "Troy", "NY", "12180", "12-3456789"};
  if (!extraHeader.isEmpty()) header << extraHeader;
  if (!extraCell.isNull()) row << extraCell;
  return (CsvLine(header, sep) + CsvLine(row, sep)).toUtf8();
}
}  // namespace

TEST(CorpusTest, FilesAsTheirProgramsWriteThemImportToTheExactValues) {
  TImportSettings amountToNec;
  amountToNec.AmountField = QStringLiteral("F1099NEC1");
  const TImportSettings vendorMapping =
      LoadImportMapping(QStringLiteral(PAPYRA_CORPUS_DIR "/vendor-list-mapping.json"));
  struct TCase {
    const char* File;
    TImportSettings Settings;
    std::vector<TExpected> Payees;
  };
  const TCase cases[] = {
      {"excel-utf8-bom.csv",
       amountToNec,
       {{"Müller Bäckerei GmbH", "98-7654321", "12 Elm St", "12207", "F1099NEC1", 1234.5},
        // A person's SSN keeps its dashes though the row is no individual's.
        {"Peña, José", "212-45-6782", "4 Main St, Apt 2", "12180", "F1099NEC1", 600}}},
      {"excel-1252-semicolon.csv",
       amountToNec,
       {{"Café “Süd” Zürich", "12-3456789", "Bahnhofstraße 1", "12207", "F1099NEC1", 1234.5},
        {"Euro € Imports", "23-4567890", "7 Quay St", "12180", "F1099NEC1", 93.37}}},
      {"libreoffice-utf16.csv",
       {},
       {{"Ærø Consulting", "34-5678901", "1 Harbor Rd", "12180", "F1099MISC1", 2500}}},
      {"google-sheets.csv",
       {},
       {{"Siobhán O'Brien", "212-45-6781", "3 Main St Suite 400", "12207-1234", "F1099NEC4", 450,
         true},
        {"Pine Tree LLC", "45-6789012", "9 Pine Ave", "12180", "F1099NEC1", 700.5}}},
      {"vendor-list.csv",
       vendorMapping,
       {{"Hudson Paving Inc", "98-7654321", "4 River Rd", "12207", "F1099NEC1", 3500},
        {"John Smith", "212-45-6781", "22 Oak St", "12180", "F1099NEC1", 1250, true}}},
  };
  for (const TCase& c : cases)
    ExpectPayees(PlanImport(CorpusFile(c.File), c.Settings, Payer()), c.Payees, c.File);

  // What the vendor list's import did beside the file's words, it says.
  const TImportPlan vendors = PlanImport(CorpusFile("vendor-list.csv"), vendorMapping, Payer());
  EXPECT_EQ(vendors.HeaderLine, 4);
  EXPECT_EQ(vendors.Notes,
            QStringList({"Column \"Vendor\" was left out; it holds data on lines 5, 6",
                         "Column \"Phone\" was left out; it holds data on lines 5, 6",
                         "Column \"Email\" was left out; it holds data on line 5",
                         "An SSN with a first and last name makes the payee an individual (the "
                         "file has no column for it): line 6"}));
  const TImportPlan euro = PlanImport(CorpusFile("excel-1252-semicolon.csv"), amountToNec, Payer());
  EXPECT_EQ(euro.Format.Encoding, TCsvEncoding::Windows1252);
  EXPECT_EQ(euro.Decimal, QChar(','));
}

// Each case is a fault a reader is prone to: the value it must read, or the problem it must say.
TEST(ReaderTest, FaultsAReaderIsProneToAreCaught) {
  struct TCase {
    const char* What;
    QByteArray Csv;
    const char* Name;    // the first payee's name when the file is good
    const char* Report;  // else the problems
    TImportSettings Settings = {};
  };
  TImportSettings longHeader;
  longHeader.Columns.insert(
      "Name (as on the W-9, with the DBA, if any, and a suffix, e.g. Jr., Inc., LLC)", "PayeeName");
  TImportSettings supplier;
  supplier.Columns.insert("Supplier", "PayeeName");
  const TCase cases[] = {
      {"separators inside quotes do not count",
       "\"Name (as on the W-9, with the DBA, if any, and a suffix, e.g. Jr., Inc., LLC)\";"
       "Address1;City;State;ZipCode;SSN_IDNum\r\n"
       "\"Smith, Jones & Co\";1 Elm St;Troy;NY;12180;12-3456789\r\n",
       "Smith, Jones & Co", "", longHeader},
      {"a byte order mark is not part of the first header",
       "\xEF\xBB\xBFSupplier,Address1,City,State,ZipCode,SSN_IDNum\r\n"
       "Good Co,1 Elm St,Troy,NY,12180,12-3456789\r\n",
       "Good Co", "", supplier},
      {"a row with more fields than the header", CompanyCsv({}, "paid late"), nullptr,
       "Line 2: The line has more fields than the header row: column 7 (G) holds \"paid late\""},
      {"a row with one more empty cell than the header", CompanyCsv({}, " "), "Good Co", ""},
      {"two columns for one field", CompanyCsv("Vendor", "Other Co"), nullptr,
       "Line 1, column \"Vendor\": Column \"PayeeName\" already goes to the field \"Recipient's "
       "name\""},
      {"an amount above the largest a box holds", CompanyCsv("F1099NEC1", "1,000,000,000.00"),
       nullptr, "Line 2, column \"F1099NEC1\": \"1,000,000,000.00\" is more than 999,999,999.99"},
      {"Windows-1252 is not Latin-1",
       "PayeeName,Address1,City,State,ZipCode,SSN_IDNum\r\n"
       "\x93\x43\x61\x66\xE9\x94 \x80 \x96 Co,1 Elm St,Troy,NY,12180,12-3456789\r\n",
       "“Café” € – Co", ""},
  };
  for (const TCase& c : cases) {
    const TImportPlan plan = PlanImport(c.Csv, c.Settings, Payer());
    EXPECT_EQ(plan.Report(), QLatin1String(c.Report)) << c.What;
    if (c.Name && plan.Ok()) {
      EXPECT_EQ(plan.Payees.at(0).GetString("PayeeName"), QString::fromUtf8(c.Name)) << c.What;
    }
  }
}

TEST(ReaderTest, EncodingsAreReadByTheirMarksAndBytes) {
  const QString text = QStringLiteral("PayeeName\tCity\r\nZoë Çelik\tTroy\r\n");
  auto utf16 = [&](bool little, bool mark) {
    QByteArray bytes =
        mark ? (little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF")) : QByteArray();
    for (QChar c : text) {
      const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
      bytes.append(little ? lo : hi).append(little ? hi : lo);
    }
    return bytes;
  };
  struct TCase {
    const char* What;
    QByteArray Bytes;
    TCsvEncoding Detected;
    const char* City;  // of the row, as read
    std::vector<int> ForeignLines = {};
  };
  const TCase cases[] = {
      {"Excel's Unicode Text", utf16(true, true), TCsvEncoding::Utf16LE, "Troy"},
      {"UTF-16 big-endian", utf16(false, true), TCsvEncoding::Utf16BE, "Troy"},
      {"UTF-16 without its mark", utf16(true, false), TCsvEncoding::Utf16LE, "Troy"},
      {"a DOS end-of-file mark", "PayeeName,City\r\nA,Troy\r\n\x1A", TCsvEncoding::Utf8, "Troy"},
      {"lines ended by CR alone", "PayeeName,City\rA,Troy\r", TCsvEncoding::Utf8, "Troy"},
      // One row saved by another program in a UTF-8 file: read as UTF-8, that line reported.
      {"a Windows-1252 line in UTF-8",
       "PayeeName,City\nZo\xC3\xAB,Troy\nM\xFCller,Bonn\n",
       TCsvEncoding::Utf8,
       "Troy",
       {3}},
      {"Windows-1252 throughout", "PayeeName,City\nM\xFCller,K\xF6ln\n", TCsvEncoding::Windows1252,
       "Köln"},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(DetectEncoding(c.Bytes), c.Detected) << c.What;
    const TCsvText decoded = DecodeCsv(c.Bytes, c.Detected);
    EXPECT_EQ(decoded.ForeignLines, c.ForeignLines) << c.What;
    const TCsvTable table = ParseCsv(decoded.Text, DetectSeparator(decoded.Text));
    ASSERT_GE(table.Rows.size(), 2u) << c.What;
    EXPECT_EQ(table.Rows[1].Cells.value(1), QString::fromUtf8(c.City)) << c.What;
    EXPECT_EQ(table.Rows.size(), c.ForeignLines.empty() ? 2u : 3u) << c.What;
  }
  // Mac Roman is never guessed, only chosen.
  EXPECT_EQ(DecodeCsv("Caf\x8E \xDB", TCsvEncoding::MacRoman).Text, QStringLiteral("Café €"));

  // The line that is not UTF-8 is the row's problem; the others are read.
  TImportSettings settings;
  settings.Columns.insert("City", "City");
  const TImportPlan plan =
      PlanImport("PayeeName,City\nZo\xC3\xAB,Troy\nM\xFCller,Bonn\n", settings, Payer());
  EXPECT_TRUE(plan.Report().contains(
      "Line 3: The line is not UTF-8 like the rest of the file (it reads as Windows-1252 text); "
      "correct it, or choose the file's encoding"))
      << plan.Report().toStdString();
}

// Amounts a file writes with a decimal comma, numbers a spreadsheet spoilt, characters no form
// holds: each named with its line and column, never stored otherwise than the file says.
TEST(ReaderTest, ValuesThatWouldBeStoredWrongAreRefused) {
  struct TCase {
    QByteArray Csv;
    const char* Report;
  };
  const TCase cases[] = {
      // The file's other amount shows a decimal comma: this one has three decimals.
      {"PayeeName;Address1;City;State;ZipCode;SSN_IDNum;F1099NEC1;F1099NEC4\r\n"
       "Good Co;1 Elm St;Troy;NY;12180;12-3456789;93,375;1,50\r\n",
       "Line 2, column \"F1099NEC1\": \"93,375\" has more than two decimals (cents)"},
      {"PayeeName,Address1,City,State,ZipCode,SSN_IDNum,F1099NEC1,F1099NEC4\r\n"
       "Good Co,1 Elm St,Troy,NY,12180,12-3456789,\"1,50\",2.50\r\n",
       "Line 1: The amounts are written with both decimal symbols (\"2.50\" and \"1,50\"); choose "
       "the decimal symbol"},
      {CompanyCsv("AcctNum1099NEC", "1.23457E+11"),
       "Line 2, column \"AcctNum1099NEC\": \"1.23457E+11\" is a number in scientific notation, "
       "as a spreadsheet shows a long number, and its digits are lost; format the column as text "
       "and save the file again"},
      {CompanyCsv("CompName", "Blue\tSky"),
       "Line 2, column \"CompName\": \"Blue\tSky\" holds a control character"},
      {CompanyCsv("F1099RDOP", "15/03/2025"),
       "Line 2, column \"F1099RDOP\": \"15/03/2025\" is not a date in the order MM/DD/YYYY; the "
       "file may write dates as DD/MM/YYYY (choose the date order)"},
      {CompanyCsv("Amount", "12"),
       "Line 1, column \"Amount\": Choose the box this column of amounts goes to (papyra-batch "
       "--amount, or \"amount\" in a mapping)"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(PlanImport(c.Csv, {}, Payer()).Report(), QLatin1String(c.Report)) << c.Csv.data();
}

// Title rows above the header and a total row below the payees, as accounting reports have
// them; the columns Excel's used range adds; a column with data but without a name.
TEST(ReaderTest, RowsAroundThePayeesAndEmptyColumns) {
  const QByteArray report =
      "Vendors 2025;;;;;;\r\n"
      "PayeeName;Address1;City;State;ZipCode;SSN_IDNum;F1099NEC1;;;\r\n"
      "Good Co;1 Elm St;Troy;NY;12180;12-3456789;100,00;;;\r\n"
      "Total;;;;;;100,00;;;\r\n";
  TImportSettings skip;
  skip.SkipBefore = 1;
  skip.SkipAfter = 1;
  const TImportPlan plan = PlanImport(report, skip, Payer());
  ASSERT_TRUE(plan.Ok()) << plan.Report().toStdString();
  EXPECT_EQ(plan.Format.Separator, QChar(';'));
  EXPECT_EQ(plan.Headers.size(), 7);
  ASSERT_EQ(plan.Payees.size(), 1u);
  EXPECT_EQ(plan.Payees[0].GetDouble("F1099NEC1"), 100.0);

  EXPECT_EQ(PlanImport("PayeeName,Address1,City,State,ZipCode,SSN_IDNum,,F1099NEC1\r\n"
                       "Good Co,1 Elm St,Troy,NY,12180,12-3456789,,5\r\n"
                       "Other Co,2 Elm St,Troy,NY,12180,12-3456780,late,5\r\n",
                       {}, Payer())
                .Report(),
            "Line 1: Column 7 (G) has no name in the header row but holds data on line 3; name "
            "it, or leave it out in a mapping");
}

// The row and column limits stop reading where they are passed, so a file far beyond them is
// refused about as fast as it is read.
TEST(ReaderTest, LimitsStopReadingEarly) {
  QByteArray rows = "PayeeName,SSN_IDNum\r\n";
  for (int r = 0; r < 200000; ++r) rows += "V,12-3456789\r\n";
  EXPECT_EQ(PlanImport(rows, {}, Payer()).Report(),
            "The file holds more than 10000 rows of payees; a payer file holds at most 10000 "
            "payees. Nothing more was read");

  QStringList wide;
  for (int c = 0; c <= kMaxImportColumns; ++c) wide << QStringLiteral("C%1").arg(c);
  const TImportPlan tooWide = PlanImport(CsvLine(wide).toUtf8(), {}, Payer());
  EXPECT_EQ(tooWide.Report(),
            "Line 1 has more than 16384 columns, more than any spreadsheet has. Nothing "
            "more was read");

  // A header out to column XFD with every name unknown: each said, at a cost linear in columns.
  wide.removeLast();
  const TImportPlan named = PlanImport(CsvLine(wide).toUtf8() + "x\r\n", {}, Payer());
  EXPECT_EQ(named.Problems.size(), size_t(kMaxImportColumns));
  EXPECT_TRUE(named.Report().endsWith("... and 16184 more problems"));
}
