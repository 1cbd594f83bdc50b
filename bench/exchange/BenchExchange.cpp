// The payee import and export, each beside reading the same file's bytes alone, in one run:
// - a full payer file's export read back (10,000 payees): splitting, planning (mapping,
//   conversion, every check, matching against the payee file) and the whole import;
// - a header 16,384 columns wide (a sheet used out to column XFD): with names, every one
//   unknown, and as Excel writes a used range, ten named columns and empty cells after them;
// - 730,000 short rows, which the import stops reading after 10,000.
// At the end each figure is printed as a multiple of reading its bytes alone.
#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <iostream>
#include <map>

#include "exchange/PayeeExchange.h"

namespace {
constexpr int kPayees = 10000;

std::vector<TPayeeRecord> Payees() {
  std::vector<TPayeeRecord> payees(kPayees);
  for (int i = 0; i < kPayees; ++i) {
    TPayeeRecord& p = payees[size_t(i)];
    p.SetString("PayeeName", QStringLiteral("Vendor %1, Inc.").arg(i));
    p.SetString("Address1", QStringLiteral("%1 Main Street").arg(i));
    p.SetString("City", QStringLiteral("Albany"));
    p.SetString("State", QStringLiteral("NY"));
    p.SetString("ZipCode", QStringLiteral("12207"));
    p.SetString("CityStZip", QStringLiteral("Albany NY 12207"));
    p.SetString("SSN_IDNum", QStringLiteral("12-%1").arg(1000000 + i));
    p.SetDouble("F1099NEC1", 1000 + i * 0.25);
    p.SetDouble("F1099MISC1", 250.5);
  }
  return payees;
}

const QTemporaryDir& Dir() {
  static const QTemporaryDir dir;
  return dir;
}

// The bytes written to a file once, so every benchmark of them reads the same file.
QString FileOf(const char* name, const QByteArray& bytes) {
  const QString path = Dir().filePath(QLatin1String(name));
  if (!QFile::exists(path)) ReplaceFile(path, bytes);
  return path;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

const QString& ExportFile() {
  static const QString path = FileOf("export.csv", PayeesToCsv(Payees()));
  return path;
}

QByteArray WideHeader(bool named) {
  QStringList header, row;
  for (int c = 0; c < kMaxImportColumns; ++c) {
    const bool real = c < 10;
    header << (real    ? QStringList{"Vendor", "Tax ID", "Street", "City", "State", "Zip", "Amount",
                                  "Notes", "Phone", "Email"}[c]
               : named ? QStringLiteral("Extra %1").arg(c)
                       : QString());
    row << (real ? QStringList{"Hudson Paving Inc", "98-7654321", "4 River Rd", "Albany", "NY",
                               "12207", "1234.50", "", "", ""}[c]
                 : QString());
  }
  QByteArray csv = CsvLine(header).toUtf8();
  for (int r = 0; r < 20; ++r) csv += CsvLine(row).toUtf8();
  return csv;
}

const QString& WideNamedFile() {
  static const QString path = FileOf("wide-named.csv", WideHeader(true));
  return path;
}

const QString& WideUsedRangeFile() {
  static const QString path = FileOf("wide-range.csv", WideHeader(false));
  return path;
}

const QString& ManyRowsFile() {
  static const QString path = [] {
    QByteArray csv = "Vendor,Tax ID,Amount\r\n";
    for (int r = 0; r < 730000; ++r) csv += "V" + QByteArray::number(r) + ",12-3456789,1\r\n";
    return FileOf("many-rows.csv", csv);
  }();
  return path;
}

TImportSettings VendorSettings() {
  TImportSettings s;
  s.AmountField = QStringLiteral("F1099NEC1");
  for (const char* extra : {"Notes", "Phone", "Email"}) s.Columns.insert(extra, {});
  return s;
}

void ReadAlone(benchmark::State& state, const QString& path) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadFile(path));
}

void Plan(benchmark::State& state, const QString& path, const TImportSettings& settings) {
  const TPayerRecord payer;
  for (auto _ : state) benchmark::DoNotOptimize(PlanImport(ReadFile(path), settings, payer));
}

void BM_Rows_ReadBytes(benchmark::State& state) {
  ReadAlone(state, ExportFile());
}

void BM_Rows_Split(benchmark::State& state) {
  for (auto _ : state) {
    const QByteArray bytes = ReadFile(ExportFile());
    const TCsvText text = DecodeCsv(bytes, DetectEncoding(bytes));
    benchmark::DoNotOptimize(ParseCsv(text.Text, DetectSeparator(text.Text)));
  }
}

void BM_Rows_Plan(benchmark::State& state) {
  Plan(state, ExportFile(), {});
}

// Every row matches a payee of the file and updates it.
void BM_Rows_PlanUpdate(benchmark::State& state) {
  const TPayerRecord payer;
  const std::vector<TPayeeRecord> existing = Payees();
  TImportSettings s;
  s.Existing = TExisting::Update;
  for (auto _ : state)
    benchmark::DoNotOptimize(PlanImport(ReadFile(ExportFile()), s, payer, existing));
}

// The whole import into an empty payee file, the write included.
void BM_Rows_ImportIntoFile(benchmark::State& state) {
  const QString payeeFile = Dir().filePath(QStringLiteral("BENCH.PE25"));
  const TPayerRecord payer;
  for (auto _ : state) {
    state.PauseTiming();
    ReplaceFile(Dir().filePath(QStringLiteral("BENCH.PR25")),
                QByteArray(reinterpret_cast<const char*>(payer.Data()), TPayerRecord::Size));
    ReplaceFile(payeeFile, {});
    state.ResumeTiming();
    ApplyImport(payeeFile, PlanImport(ReadFile(ExportFile()), {}, payer));
  }
}

void BM_Rows_Export(benchmark::State& state) {
  const std::vector<TPayeeRecord> payees = Payees();
  for (auto _ : state) benchmark::DoNotOptimize(PayeesToCsv(payees));
}

void BM_WideNamed_ReadBytes(benchmark::State& state) {
  ReadAlone(state, WideNamedFile());
}

void BM_WideNamed_Plan(benchmark::State& state) {
  Plan(state, WideNamedFile(), VendorSettings());
}

void BM_WideRange_ReadBytes(benchmark::State& state) {
  ReadAlone(state, WideUsedRangeFile());
}

void BM_WideRange_Plan(benchmark::State& state) {
  Plan(state, WideUsedRangeFile(), VendorSettings());
}

void BM_ManyRows_ReadBytes(benchmark::State& state) {
  ReadAlone(state, ManyRowsFile());
}

void BM_ManyRows_Plan(benchmark::State& state) {
  Plan(state, ManyRowsFile(), VendorSettings());
}

// Keeps each benchmark's time per iteration for the ratios at the end.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      Times[run.benchmark_name()] = run.GetAdjustedRealTime();  // in the run's time unit
  }
  std::map<std::string, double> Times;
};
}  // namespace

BENCHMARK(BM_Rows_ReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rows_Split)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rows_Plan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rows_PlanUpdate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rows_ImportIntoFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rows_Export)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideNamed_ReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideNamed_Plan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideRange_ReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WideRange_Plan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManyRows_ReadBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManyRows_Plan)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto ratio = [&](const char* what, const char* reference) {
    const auto a = reporter.Times.find(what), b = reporter.Times.find(reference);
    if (a == reporter.Times.end() || b == reporter.Times.end() || b->second <= 0) return;
    std::cout << what << " / " << reference << " = " << a->second / b->second << "\n";
  };
  std::cout << "\nEach as a multiple of reading the same file's bytes alone:\n";
  for (const char* what : {"BM_Rows_Split", "BM_Rows_Plan", "BM_Rows_PlanUpdate",
                           "BM_Rows_ImportIntoFile", "BM_Rows_Export"})
    ratio(what, "BM_Rows_ReadBytes");
  ratio("BM_WideNamed_Plan", "BM_WideNamed_ReadBytes");
  ratio("BM_WideRange_Plan", "BM_WideRange_ReadBytes");
  ratio("BM_ManyRows_Plan", "BM_ManyRows_ReadBytes");
  return 0;
}
