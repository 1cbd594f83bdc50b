// The seven forms for 10,000 payees through papyra-batch: each form's program-generated forms and
// red copies written to PDF, beside the totals scan alone (the same program start, file open and
// record walk, without the pages), all in one run. Prints the pages per second of each print and
// the ratio of each print to the scan.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <string>

#include "BenchPayerFile.h"

namespace {
constexpr int kPayees = 10000;

QTemporaryDir& Folder() {
  static QTemporaryDir dir;
  return dir;
}

QString PayeeFile() {
  return Folder().path() + QStringLiteral("/Bench.PE25");
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

// The forms and how many of them a red copy sheet holds.
struct TBenchForm {
  const char* Name;
  int PerSheet;
};
constexpr TBenchForm kForms[] = {{"1098", 2},      {"1099-DIV", 2}, {"1099-INT", 2},
                                 {"1099-MISC", 2}, {"1099-NEC", 3}, {"1099-R", 2},
                                 {"1099-S", 3}};

void BM_TotalsScan(benchmark::State& state) {
  for (auto _ : state) RunBatch(state, {"totals", PayeeFile(), "--form", "1099-NEC"});
}

void PrintForm(benchmark::State& state, const TBenchForm& form, bool redCopy) {
  const QString out = Folder().path() + QStringLiteral("/out.pdf");
  const char* kind = redCopy ? "redcopy" : "program";
  for (auto _ : state)
    RunBatch(state, {"print", PayeeFile(), "--form", form.Name, "--kind", kind, "--out", out});
  const int pages = redCopy ? (kPrinted + form.PerSheet - 1) / form.PerSheet : kPrinted;
  state.counters["pages/s"] =
      benchmark::Counter(double(pages) * double(state.iterations()), benchmark::Counter::kIsRate);
}

std::string RunName(const TBenchForm& form, bool redCopy) {
  return std::string("BM_Print/") + form.Name + (redCopy ? "/redcopy" : "/program");
}

// The work happens in a child process: only the wall clock counts.
void RegisterBenchmarks() {
  benchmark::RegisterBenchmark("BM_TotalsScan", BM_TotalsScan)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(5);
  for (const TBenchForm& form : kForms)
    for (bool redCopy : {false, true})
      benchmark::RegisterBenchmark(RunName(form, redCopy).c_str(), PrintForm, form, redCopy)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->Iterations(1);
}

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
  MakeBenchPayerFile(Folder().path(), kPayees);
  benchmark::Initialize(&argc, argv);
  RegisterBenchmarks();
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const TBenchForm& form : kForms)
    for (bool redCopy : {false, true}) {
      const std::string name = RunName(form, redCopy);
      reporter.PrintRatio(name.c_str() + 9, name + "/iterations:1/real_time");
    }
  benchmark::Shutdown();
  return 0;
}
