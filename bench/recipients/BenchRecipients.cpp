// 1,000 Forms 1099-NEC through papyra-batch as one PDF per recipient, each with its page of
// instructions and protected by a password, beside the single-file print of the same forms
// (with their instructions), all in one run. Prints the files per second of the per-recipient
// run, the pages per second of the single file, and how much longer the per-recipient run takes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <string>

#include "storage/RecordLayout.h"

namespace {
constexpr int kRecipients = 1000;

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

// A payer and 1,000 contractors, one in ten without a ZIP code.
void MakePayerFile() {
  QFile payer(Folder().path() + QStringLiteral("/Bench.PR25"));
  if (!payer.open(QIODevice::WriteOnly)) std::abort();
  TPayerRecord p;
  p.SetString("PayerName", QStringLiteral("Acme Construction Supply Company"));
  p.SetString("Address1", QStringLiteral("1234 Industrial Parkway"));
  p.SetString("CityStZip", QStringLiteral("Springfield, IL 62704"));
  p.SetString("EmpIDNum", QStringLiteral("12-3456789"));
  p.SetString("StateName1", QStringLiteral("IL"));
  p.SetString("StateID1", QStringLiteral("1234-5678"));
  Write(payer, p.Data(), TPayerRecord::Size);
  QFile payees(PayeeFile());
  if (!payees.open(QIODevice::WriteOnly)) std::abort();
  for (int i = 0; i < kRecipients; ++i) {
    TPayeeRecord r;
    r.SetString("PayeeName", QStringLiteral("Contractor %1").arg(i, 4, 10, QLatin1Char('0')));
    r.SetString("Address1", QStringLiteral("%1 Elm Street").arg(i + 1));
    r.SetString("ZipCode", i % 10 ? QStringLiteral("62521") : QString());
    r.SetString("CityStZip", QStringLiteral("Decatur, IL 62521"));
    r.SetString("SSN_IDNum", QStringLiteral("%1-45-%2").arg(100 + i % 800).arg(1000 + i));
    r.SetDouble("F1099NEC1", 600 + i);
    r.SetDouble("F1099NEC5_1", 10);
    r.SetDouble("F1099NEC7_1", 600 + i);
    Write(payees, r.Data(), TPayeeRecord::Size);
  }
}

void RunBatch(benchmark::State& state, const QStringList& args) {
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/papyra-batch"), args);
  if (!process.waitForFinished(-1) || process.exitCode() != 0)
    state.SkipWithError("papyra-batch failed");
}

void BM_SingleFile(benchmark::State& state) {
  const QString out = Folder().path() + QStringLiteral("/all.pdf");
  for (auto _ : state)
    RunBatch(state,
             {"print", PayeeFile(), "--form", "1099-NEC", "--kind", "program", "--out", out});
  state.counters["pages/s"] = benchmark::Counter(2.0 * kRecipients * double(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}

void BM_PerRecipient(benchmark::State& state, const char* password) {
  for (auto _ : state) {
    state.PauseTiming();
    const QString dir = Folder().path() + QStringLiteral("/each");
    QDir(dir).removeRecursively();
    state.ResumeTiming();
    RunBatch(state, {"print", PayeeFile(), "--form", "1099-NEC", "--kind", "program",
                     "--per-recipient", "--password", password, "--out", dir});
    // A random run lists its passwords beside the recipients' files.
    if (QDir(dir).entryList({QStringLiteral("1099-NEC *.pdf")}, QDir::Files).size() != kRecipients)
      state.SkipWithError("not one file per recipient");
  }
  state.counters["files/s"] = benchmark::Counter(double(kRecipients) * double(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  TRatioReporter() : ConsoleReporter(::isatty(1) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration) Real[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatio(const std::string& name) const {
    const std::string single = "BM_SingleFile/iterations:1/real_time";
    const std::string each = name + "/iterations:1/real_time";
    if (!Real.count(each) || !Real.count(single) || Real.at(single) <= 0) return;
    std::printf("%-28s / single file: %.1f times as long\n", name.c_str(),
                Real.at(each) / Real.at(single));
  }
  std::map<std::string, double> Real;
};
}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  MakePayerFile();
  benchmark::Initialize(&argc, argv);
  // The work happens in a child process: only the wall clock counts.
  benchmark::RegisterBenchmark("BM_SingleFile", BM_SingleFile)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(1);
  for (const char* password : {"random", "tin-last4", "none"})
    benchmark::RegisterBenchmark((std::string("BM_PerRecipient/") + password).c_str(),
                                 BM_PerRecipient, password)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatio("BM_PerRecipient/random");
  reporter.PrintRatio("BM_PerRecipient/tin-last4");
  reporter.PrintRatio("BM_PerRecipient/none");
  benchmark::Shutdown();
  return 0;
}
