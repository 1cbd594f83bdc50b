// The check before filing and Bulk TIN Matching: the report's findings on a payer file with known
// faults, the request file byte for byte, and the IRS's answers read back into the report.
#include <sys/stat.h>
#include <QFile>
#include <QFileInfo>

#include "ExchangeFixture.h"
#include "exchange/FilingCheck.h"
#include "exchange/TinMatch.h"
#include "forms/FormRegistry.h"

namespace {
QString TinMatchFile(const char* name) {
  return QStringLiteral(PAPYRA_TINMATCH_DIR "/") + QLatin1String(name);
}

TPayeeRecord Person(const QString& first, const QString& last, const QString& tin) {
  TPayeeRecord p;
  p.SetBool("Individual", true);
  p.SetString("FirstName", first);
  p.SetString("LastName", last);
  p.SetString("PayeeName", first + ' ' + last);
  p.SetString("Address1", QStringLiteral("5 Elm St"));
  p.SetString("City", QStringLiteral("Albany"));
  p.SetString("State", QStringLiteral("NY"));
  p.SetString("ZipCode", QStringLiteral("12207"));
  p.SetString("CityStZip", QStringLiteral("Albany NY 12207"));
  p.SetString("SSN_IDNum", tin);
  p.SetDouble("F1099NEC1", 1500);
  return p;
}

TPayeeRecord Company(const QString& name, const QString& tin) {
  TPayeeRecord p = CompanyPayee();
  p.SetString("PayeeName", name);
  p.SetString("SSN_IDNum", tin);
  return p;
}

// A payee of each kind the request treats differently.
std::vector<TPayeeRecord> RequestPayees() {
  TPayeeRecord company =
      Company(QStringLiteral("Smith & Sons, Inc."), QStringLiteral("12-3456789"));
  company.SetDouble("F1099NEC1", 0);
  company.SetDouble("F1099INT1", 50);
  TPayeeRecord shop = Company(QStringLiteral("Corner Shop LLC"), QStringLiteral("212-55-1234"));
  shop.SetDouble("F1099NEC1", 0);
  shop.SetDouble("F1099MISC1", 700);
  TPayeeRecord pension =
      Person(QStringLiteral("Rita"), QStringLiteral("Moss"), QStringLiteral("345-12-3456"));
  pension.SetDouble("F1099NEC1", 0);
  pension.SetDouble("F1099R1", 9000);
  return {
      Person(QString::fromUtf8("Jos\u00e9"), QString::fromUtf8("O'Brien-N\u00fa\u00f1ez"),
             QStringLiteral("212-34-5678")),
      company,
      shop,
      pension,                                                               // 1099-R only
      Person(QStringLiteral("Tom"), QStringLiteral("Nonumber"), QString()),  // no number
      Person(QString::fromUtf8("Jos\u00e9"), QString::fromUtf8("O'Brien-N\u00fa\u00f1ez"),
             QStringLiteral("212-34-5678")),  // the first again
      Person(QStringLiteral("Alexandria-Catherine"), QStringLiteral("Montgomery-Whitfield"),
             QStringLiteral("345-67-8901")),
  };
}

// Nine people, one for each indicator of the results file in the corpus.
std::vector<TPayeeRecord> AnsweredPayees() {
  const char* names[][2] = {{"Ann", "Able"}, {"Ben", "Baker"}, {"Cal", "Carter"},
                            {"Dee", "Dunn"}, {"Eve", "Evans"}, {"Fay", "Ford"},
                            {"Gus", "Gray"}, {"Hal", "Hunt"},  {"Ivy", "Irwin"}};
  std::vector<TPayeeRecord> payees;
  for (int i = 0; i < 9; ++i)
    payees.push_back(Person(QLatin1String(names[i][0]), QLatin1String(names[i][1]),
                            QStringLiteral("212-34-567%1").arg(i)));
  return payees;
}

// The file's permission bits: taxpayer numbers are for their owner alone.
int ModeOf(const QString& path) {
  struct stat st {};
  return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

const TCheckLine* FindLine(const TCheckReport& report, int record, const QString& words) {
  for (const TCheckLine& line : report.Lines)
    if (line.Record == record && line.Text.contains(words)) return &line;
  return nullptr;
}

class TinCheckTest : public ExchangeTest {};
}  // namespace

TEST_F(TinCheckTest, RequestMatchesTheHandWrittenFileByteForByte) {
  const TTinRequest request = BuildTinRequest(RequestPayees());
  const std::vector<QByteArray> files = TinRequestFiles(request);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0], ReadAll(TinMatchFile("request.txt")));
  // Every payee left out is said, with why.
  const QString left = request.Left.join('\n');
  EXPECT_TRUE(left.contains("Payee 5 (Tom Nonumber): no taxpayer identification number"))
      << left.toStdString();
  EXPECT_TRUE(left.contains("Payee 6") && left.contains("same number and name as payee 1"));
  EXPECT_TRUE(left.contains("1 payee(s) file none of these forms")) << left.toStdString();
  EXPECT_EQ(request.Scope,
            "payees of Forms 1099-DIV, 1099-INT, 1099-MISC and 1099-NEC, the forms "
            "subject to backup withholding");
}

TEST_F(TinCheckTest, RequestForOneFormHoldsOnlyItsPayees) {
  const TTinRequest request = BuildTinRequest(RequestPayees(), FormDefByName("1099-MISC"));
  ASSERT_EQ(request.Lines.size(), 1u);
  EXPECT_EQ(request.Lines[0].Text(), "3;212551234;Corner Shop LLC;PAYEE3");
}

TEST_F(TinCheckTest, RequestIsSplitAtTheIrsLimit) {
  TTinRequest request;
  for (int i = 0; i < kMaxTinMatchLines + 1; ++i)
    request.Lines.push_back({i + 1, 2, QStringLiteral("212345678"), QStringLiteral("A B"),
                             QStringLiteral("PAYEE%1").arg(i + 1)});
  const std::vector<QByteArray> files = TinRequestFiles(request);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].count("\r\n"), kMaxTinMatchLines);
  EXPECT_EQ(files[1], "2;212345678;A B;PAYEE100001\r\n");
  const QString out = Dir.Path("req.txt");
  EXPECT_EQ(TinRequestFileNames(out, 1), QStringList{out});
  EXPECT_EQ(TinRequestFileNames(out, 2),
            (QStringList{Dir.Path("req-1.txt"), Dir.Path("req-2.txt")}));
}

TEST_F(TinCheckTest, EachIndicatorIsReadBackIntoTheReport) {
  const std::vector<TPayeeRecord> payees = AnsweredPayees();
  TTinAnswers answers;
  const QDate date(2026, 1, 12);
  const TTinResultsReport read =
      ApplyTinResults(ReadAll(TinMatchFile("results.txt")), payees, answers, date);
  ASSERT_EQ(read.Matched.size(), 9u);
  // A stranger's answer, an indicator beyond 8 and a line that is no answer are each named.
  ASSERT_EQ(read.Problems.size(), 3);
  EXPECT_TRUE(read.Problems[0].startsWith("Line 11: the indicator \"9\""));
  EXPECT_TRUE(read.Problems[1].startsWith("Line 12:"));
  EXPECT_TRUE(read.Problems[2].contains("Line 10: no payee has the number 212345679"));

  const TCheckReport report = CheckBeforeFiling(payees, answers);
  const struct {
    int Indicator;
    TFindingLevel Level;
    const char* Words;
  } kExpected[] = {
      {0, TFindingLevel::Note, "Name and TIN match (0)"},
      {1, TFindingLevel::Error, "TIN missing or not a nine-digit number (1)"},
      {2, TFindingLevel::Error, "TIN not currently issued (2)"},
      {3, TFindingLevel::Error, "Name and TIN do not match (3)"},
      {4, TFindingLevel::Warning, "Invalid request (4)"},
      {5, TFindingLevel::Warning, "Duplicate request (5)"},
      {6, TFindingLevel::Note, "Matched as an SSN (type unknown) (6)"},
      {7, TFindingLevel::Note, "Matched as an EIN (type unknown) (7)"},
      {8, TFindingLevel::Note, "Matched as both an SSN and an EIN (type unknown) (8)"},
  };
  for (const auto& e : kExpected) {
    SCOPED_TRACE(e.Indicator);
    const TCheckLine* line = FindLine(report, e.Indicator + 1, e.Words);
    ASSERT_NE(line, nullptr) << report.Text().toStdString();
    EXPECT_EQ(line->Level, e.Level);
    EXPECT_TRUE(line->Text.startsWith("TIN matching of 01/12/2026"));
  }
}

TEST_F(TinCheckTest, AnswersAreKeptPrivatelyAndDroppedWhenNameOrNumberChanges) {
  std::vector<TPayeeRecord> payees = AnsweredPayees();
  TTinAnswers answers;
  ApplyTinResults(ReadAll(TinMatchFile("results.txt")), payees, answers, QDate(2026, 1, 12));
  const QString file = TTinAnswers::FileFor(Dir.Path("Acme.PR25"));
  EXPECT_EQ(file, Dir.Path("Acme.TM25"));
  answers.Save(file);
  EXPECT_EQ(ModeOf(file), 0600);
  const TTinAnswers loaded = TTinAnswers::Load(file);
  ASSERT_EQ(loaded.Items().size(), 9u);
  ASSERT_NE(loaded.Find(TinMatchKeyOf(payees[3])), nullptr);
  EXPECT_EQ(loaded.Find(TinMatchKeyOf(payees[3]))->Indicator, 3);

  // Payee 4 corrects the name, payee 5 the number: their old answers no longer speak for them.
  payees[3].SetString("FirstName", QStringLiteral("Deirdre"));
  payees[4].SetString("SSN_IDNum", QStringLiteral("212-34-9999"));
  const TCheckReport report = CheckBeforeFiling(payees, loaded);
  EXPECT_EQ(FindLine(report, 4, "TIN matching"), nullptr);
  EXPECT_EQ(FindLine(report, 5, "TIN matching"), nullptr);
  EXPECT_NE(FindLine(report, 6, "TIN matching"), nullptr);
  TTinAnswers kept = loaded;
  QSet<TTinMatchKey> keys;
  for (const TPayeeRecord& p : payees) keys.insert(TinMatchKeyOf(p));
  EXPECT_TRUE(kept.KeepOnly(keys));
  EXPECT_EQ(kept.Items().size(), 7u);
}

TEST_F(TinCheckTest, ReportListsEachKnownFault) {
  std::vector<TPayeeRecord> payees;
  auto add = [&payees](TPayeeRecord p) { payees.push_back(p); };
  add(Person("Ann", "Able", "212-34-5670"));                      // 1: clean
  add(Person("Ben", "Baker", "666-12-3456"));                     // 2: area 666
  add(Company("Blue Sky LLC", "96-1234567"));                     // 3: EIN prefix
  add(Company("Red Barn LLC", "212-34-5671"));                    // 4: SSN on a company
  add(Person("Cal", "Carter", ""));                               // 5: no number
  add(Person("Dee", "Dunn", "212-34-5672"));                      // 6: same number as 7
  add(Person("Eve", "Evans", "212-34-5672"));                     // 7
  TPayeeRecord noAddress = Person("Fay", "Ford", "212-34-5673");  // 8: address incomplete
  noAddress.SetString("City", "");
  noAddress.SetString("ZipCode", "");
  add(noAddress);
  TPayeeRecord noName = Person("", "", "212-34-5674");  // 9: no name
  noName.SetString("PayeeName", "");
  add(noName);
  TPayeeRecord small = Person("Gus", "Gray", "212-34-5675");  // 10: under $600
  small.SetDouble("F1099NEC1", 599.99);
  add(small);
  TPayeeRecord withheld = Person("Hal", "Hunt", "212-34-5676");  // 11: withheld alone
  withheld.SetDouble("F1099NEC1", 0);
  withheld.SetDouble("F1099NEC4", 120);
  add(withheld);
  TPayeeRecord damaged = Person("Ivy", "Irwin", "212-34-5677");  // 12: a damaged amount
  damaged.SetDouble("F1099NEC3", -5);
  add(damaged);
  TPayeeRecord interest = Person("Jo", "Jones", "212-34-5678");  // 13: interest under $10
  interest.SetDouble("F1099NEC1", 0);
  interest.SetDouble("F1099INT1", 9.99);
  add(interest);
  TPayeeRecord nothing = Person("Kim", "King", "666-00-0000");  // 14: files no form
  nothing.SetDouble("F1099NEC1", 0);
  add(nothing);

  const TCheckReport report = CheckBeforeFiling(payees, TTinAnswers());
  const struct {
    int Record;
    TFindingLevel Level;
    const char* Forms;
    const char* Words;
  } kExpected[] = {
      {2, TFindingLevel::Error, "1099-NEC", "SSN area 666 is never issued"},
      {3, TFindingLevel::Error, "1099-NEC", "EIN prefix 96 is not one the IRS assigns"},
      {4, TFindingLevel::Warning, "1099-NEC", "not marked as an individual"},
      {5, TFindingLevel::Error, "1099-NEC", "number is missing"},
      {6, TFindingLevel::Warning, "", "The same TIN 212-34-5672 as payee 7 (Eve Evans)"},
      {7, TFindingLevel::Warning, "", "The same TIN 212-34-5672 as payee 6 (Dee Dunn)"},
      {8, TFindingLevel::Error, "1099-NEC", "The address is incomplete: no city, no ZIP code"},
      {9, TFindingLevel::Error, "1099-NEC", "without the recipient's name"},
      {10, TFindingLevel::Note, "1099-NEC", "under $600 of nonemployee compensation"},
      {11, TFindingLevel::Warning, "1099-NEC", "withheld of 120.00 with no income"},
      {12, TFindingLevel::Error, "1099-NEC", "Damaged value: the amount in field F1099NEC3"},
      {13, TFindingLevel::Note, "1099-INT", "under $10 of interest"},
      {0, TFindingLevel::Warning, "", "12 returns of all types together"},
  };
  for (const auto& e : kExpected) {
    SCOPED_TRACE(e.Words);
    const TCheckLine* line = FindLine(report, e.Record, QLatin1String(e.Words));
    ASSERT_NE(line, nullptr) << report.Text().toStdString();
    EXPECT_EQ(line->Level, e.Level);
    EXPECT_EQ(line->Forms, QLatin1String(e.Forms));
  }
  EXPECT_EQ(report.Lines.size(), std::size(kExpected)) << report.Text().toStdString();
  EXPECT_TRUE(report.HasErrors());
  // Errors come first, then warnings, then notes.
  EXPECT_TRUE(
      std::is_sorted(report.Lines.begin(), report.Lines.end(),
                     [](const TCheckLine& a, const TCheckLine& b) { return a.Level < b.Level; }));
  // One form checked: the others' payees are left out, the count of all returns is not.
  const TCheckReport intOnly = CheckBeforeFiling(payees, TTinAnswers(), FormDefByName("1099-INT"));
  ASSERT_EQ(intOnly.Lines.size(), 2u) << intOnly.Text().toStdString();
  EXPECT_NE(FindLine(intOnly, 13, "under $10 of interest"), nullptr);
}

TEST_F(TinCheckTest, BatchCheckExitsByWhatItFinds) {
  const QString faulty = MakePair(
      "Faulty", {Person("Ann", "Able", "212-34-5670"), Person("Ben", "Baker", "666-12-3456")});
  const TBatchRun bad = RunBatch({"check", faulty});
  EXPECT_EQ(bad.Code, 1) << bad.Err.toStdString();
  EXPECT_TRUE(bad.Out.contains(
      "error: payee 2, Ben Baker, 1099-NEC: SSN area 666 is never issued\n1 error, 0 warnings, "
      "0 notes\n"))
      << bad.Out.toStdString();

  const QString clean = MakePair("Clean", {Person("Ann", "Able", "212-34-5670")});
  const TBatchRun good = RunBatch({"check", clean});
  EXPECT_EQ(good.Code, 0) << good.Err.toStdString();
  EXPECT_EQ(good.Out, "No findings\n");

  const TBatchRun one = RunBatch({"check", faulty, "--form", "1099-INT"});
  EXPECT_EQ(one.Code, 0) << one.Out.toStdString();

  for (const QStringList& args :
       {QStringList{"check", Dir.Path("Missing.PE25")}, QStringList{"check"},
        QStringList{"check", faulty, "--form", "1099-XYZ"}}) {
    SCOPED_TRACE(args.join(' ').toStdString());
    const TBatchRun run = RunBatch(args);
    EXPECT_EQ(run.Code, 2);
    EXPECT_FALSE(ErrLines(run).join("").isEmpty());
  }
}

TEST_F(TinCheckTest, BatchRequestAndResultsRoundTrip) {
  const QString file = MakePair("Acme", RequestPayees());
  const QString request = Dir.Path("request.txt");
  const TBatchRun sent = RunBatch({"tin-match", file, "--out", request});
  ASSERT_EQ(sent.Code, 0) << sent.Err.toStdString();
  EXPECT_EQ(ReadAll(request), ReadAll(TinMatchFile("request.txt")));
  EXPECT_EQ(ModeOf(request), 0600);
  EXPECT_TRUE(sent.Out.contains("4 request line(s)")) << sent.Out.toStdString();
  EXPECT_TRUE(sent.Out.contains("Payee 5 (Tom Nonumber)"));

  const TBatchRun refused = RunBatch({"tin-match", file, "--out", request, "--form", "1099-R"});
  EXPECT_EQ(refused.Code, 2);
  // Only the forms subject to backup withholding are offered.
  EXPECT_TRUE(refused.Err.contains("1099-R") && refused.Err.contains("1099-NEC"))
      << refused.Err.toStdString();

  // The IRS sends each line back with its indicator: payee 3's name and number do not match.
  const QString results = Dir.Path("results.txt");
  WriteAll(results,
           "2;212345678;JOSE OBRIEN-NUNEZ;PAYEE1;0\r\n"
           "1;123456789;Smith & Sons Inc;PAYEE2;0\r\n"
           "3;212551234;Corner Shop LLC;PAYEE3;3\r\n");
  const TBatchRun answered = RunBatch({"tin-match-results", file, "--in", results});
  ASSERT_EQ(answered.Code, 0) << answered.Err.toStdString() << answered.Out.toStdString();
  EXPECT_TRUE(answered.Out.contains("payee 3, Corner Shop LLC: 3 Name and TIN do not match"));
  EXPECT_TRUE(QFileInfo::exists(Dir.Path("Acme.TM25")));

  const TBatchRun check = RunBatch({"check", file, "--form", "1099-MISC"});
  EXPECT_EQ(check.Code, 1);
  EXPECT_TRUE(check.Out.contains("error: payee 3, Corner Shop LLC, 1099-MISC: TIN matching of"))
      << check.Out.toStdString();
  EXPECT_TRUE(check.Out.contains("Name and TIN do not match (3)"));

  WriteAll(results, "nothing the IRS wrote\n");
  const TBatchRun empty = RunBatch({"tin-match-results", file, "--in", results});
  EXPECT_EQ(empty.Code, 2);
  EXPECT_TRUE(empty.Err.contains("No TIN matching answer")) << empty.Err.toStdString();
}
