// Form 1099-NEC for 10,000 payees through papyra-batch: the program-generated forms and the red
// copies written to PDF, beside the totals scan alone (the same program start, file open and
// record walk, without the pages), in one run. Prints the pages per second of each print and
// the ratio of each print to the scan.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <string>

#include "storage/RecordLayout.h"

namespace {
constexpr int kPayees = 10000;

QTemporaryDir& Folder() {
  static QTemporaryDir dir;
  return dir;
}

QString PayeeFile() {
  return Folder().path() + QStringLiteral("/Bench.PE25");
}

void Write(QFile& file, const uint8_t* data, int size) {
  if (file.write(reinterpret_cast<const char*>(data), size) != size) std::abort();
}

// A payer and 10,000 payees in random name order; one in ten pays no box 1 and prints nothing.
void MakePayerFile() {
  QFile payer(Folder().path() + QStringLiteral("/Bench.PR25"));
  if (!payer.open(QIODevice::WriteOnly)) std::abort();
  TPayerRecord p;
  p.SetString("PayerName", QStringLiteral("Acme Construction Supply Company"));
  p.SetString("TradeName", QStringLiteral("Acme Builders"));
  p.SetString("Address1", QStringLiteral("1234 Industrial Parkway"));
  p.SetString("CityStZip", QStringLiteral("Springfield, IL 62704"));
  p.SetString("PhoneNum", QStringLiteral("217-555-0123"));
  p.SetString("EmpIDNum", QStringLiteral("12-3456789"));
  p.SetString("StateName1", QStringLiteral("IL"));
  p.SetString("StateID1", QStringLiteral("1234-5678"));
  Write(payer, p.Data(), TPayerRecord::Size);

  QFile payees(PayeeFile());
  if (!payees.open(QIODevice::WriteOnly)) std::abort();
  QRandomGenerator random(2025);
  for (int i = 0; i < kPayees; ++i) {
    TPayeeRecord r;
    r.SetString(
        "PayeeName",
        QStringLiteral("Payee %1 %2").arg(random.bounded(1000000), 6, 10, QLatin1Char('0')).arg(i));
    r.SetString("Address1", QStringLiteral("%1 Elm Street").arg(i + 1));
    r.SetString("CityStZip", QStringLiteral("Decatur, IL 62521"));
    r.SetString("SSN_IDNum", QStringLiteral("%1-45-%2").arg(100 + i % 800).arg(1000 + i % 9000));
    r.SetString("AcctNum1099NEC", QStringLiteral("ACCT-%1").arg(i));
    r.SetDouble("F1099NEC1", i % 10 == 0 ? 0 : 100.0 + random.bounded(50000));
    r.SetDouble("F1099NEC3", i % 10 == 0 ? 250 : 0);
    r.SetDouble("F1099NEC4", random.bounded(500));
    r.SetDouble("F1099NEC5_1", 10);
    r.SetDouble("F1099NEC7_1", 1000);
    Write(payees, r.Data(), TPayeeRecord::Size);
  }
}

QString BatchProgram() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/papyra-batch");
}

void RunBatch(benchmark::State& state, const QStringList& args) {
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.start(BatchProgram(), args);
  if (!process.waitForFinished(-1) || process.exitCode() != 0) {
    state.SkipWithError("papyra-batch failed");
    return;
  }
}

constexpr int kPrinted = kPayees - kPayees / 10;

void BM_TotalsScan(benchmark::State& state) {
  for (auto _ : state) RunBatch(state, {"totals", PayeeFile(), "--form", "1099-NEC"});
}

void BM_PrintProgramGeneratedPdf(benchmark::State& state) {
  const QString out = Folder().path() + QStringLiteral("/program.pdf");
  for (auto _ : state)
    RunBatch(state,
             {"print", PayeeFile(), "--form", "1099-NEC", "--kind", "program", "--out", out});
  state.counters["pages/s"] = benchmark::Counter(double(kPrinted) * double(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}

void BM_PrintRedCopyPdf(benchmark::State& state) {
  const QString out = Folder().path() + QStringLiteral("/redcopy.pdf");
  for (auto _ : state)
    RunBatch(state,
             {"print", PayeeFile(), "--form", "1099-NEC", "--kind", "redcopy", "--out", out});
  state.counters["pages/s"] = benchmark::Counter(double((kPrinted + 2) / 3) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}

// The work happens in a child process: only the wall clock counts.
BENCHMARK(BM_TotalsScan)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_PrintProgramGeneratedPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_PrintRedCopyPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  TRatioReporter() : ConsoleReporter(::isatty(1) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration) Real[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatio(const char* what, const std::string& print) const {
    const std::string scan = "BM_TotalsScan/iterations:5/real_time";
    if (!Real.count(print) || !Real.count(scan) || Real.at(scan) <= 0) return;
    std::printf("%-26s / totals scan: %.1f times as long\n", what, Real.at(print) / Real.at(scan));
  }
  std::map<std::string, double> Real;
};
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  MakePayerFile();
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio("program-generated to PDF",
                      "BM_PrintProgramGeneratedPdf/iterations:1/real_time");
  reporter.PrintRatio("red copies to PDF", "BM_PrintRedCopyPdf/iterations:1/real_time");
  benchmark::Shutdown();
  return 0;
}
