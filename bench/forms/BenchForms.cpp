// The seven forms for 10,000 payees through papyra-batch: each form's program-generated forms and
// red copies written to PDF, beside the totals scan alone (the same program start, file open and
// record walk, without the pages), all in one run. Prints the pages per second of each print and
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

// Every payee carries every form: one in ten has nothing to report and prints nothing.
void FillForms(TPayeeRecord& r, int i, QRandomGenerator& random) {
  const bool none = i % 10 == 0;
  auto amount = [&](double base) { return none ? 0.0 : base + random.bounded(50000); };
  r.SetString("AcctNum1099NEC", QStringLiteral("ACCT-%1").arg(i));
  r.SetDouble("F1099NEC1", amount(100));
  r.SetDouble("F1099NEC5_1", none ? 0 : 10);
  r.SetDouble("F1099NEC7_1", none ? 0 : 1000);
  r.SetDouble("F1099MISC1", amount(100));
  r.SetDouble("F1099MISC3", amount(10));
  r.SetDouble("F1099INT1", amount(5));
  r.SetDouble("F1099INT3", amount(5));
  r.SetDouble("F1099DIV1a", amount(20));
  r.SetDouble("F1099DIV1b", none ? 0 : 15);
  r.SetDouble("F1098_1", amount(500));
  r.SetDouble("F1098_2", none ? 0 : 250000);
  r.SetDouble("F1099R1", amount(1000));
  r.SetDouble("F1099R2", none ? 0 : 900);
  r.SetString("F1099R7", none ? QString() : QStringLiteral("7"));
  r.SetString("F1099S1", none ? QString() : QStringLiteral("06/15/2025"));
  r.SetDouble("F1099S2", amount(90000));
  r.SetString("F1099S3_1", QStringLiteral("%1 Elm Street").arg(i + 1));
}

// A payer and 10,000 payees in random name order.
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
    FillForms(r, i, random);
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
  MakePayerFile();
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
