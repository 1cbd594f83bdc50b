// The record set against the floor of the same work on a file of 10,000 payees: the full scan
// that the record list, the totals and the print routines make, against one whole-file read; and
// deleting record 1 (which moves every later record down), against one bulk read of the records
// after it, one write of them a record lower and the cut. Both pairs run in the same process and
// the ratios are printed at the end; --benchmark_repetitions=5 gives medians.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/MessageCodes.h"
#include "storage/Notices.h"
#include "storage/RecordLayout.h"
#include "storage/RecordSet.h"

namespace {
constexpr int kRecSize = TPayeeRecord::Size;
constexpr int kPayees = 10000;

QTemporaryDir& Folder() {
  static QTemporaryDir dir;
  return dir;
}

QString PayeeFile() {
  return Folder().path() + QStringLiteral("/Bench.PE25");
}

void MakePayeeFile() {
  QFile file(PayeeFile());
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  TPayeeRecord rec;
  const TFieldHandle name = TPayeeRecord::Field("PayeeName");
  const TFieldHandle amount = TPayeeRecord::Field("F1099NEC1");
  for (int i = 1; i <= kPayees; ++i) {
    rec.SetString(name, QStringLiteral("Payee %1").arg(i));
    rec.SetDouble(amount, i * 10.0);
    file.write(reinterpret_cast<const char*>(rec.Data()), kRecSize);
  }
}

void OpenSet(TRecordSet& set) {
  set.SetRecSize(kRecSize);
  set.SetMaxRec(kPayees + 1);
  set.SetFileName(PayeeFile());
  set.SetFileShareMode(smShareDenyWrite);
  set.OpenRecSet();
  if (!set.Active()) std::abort();
}

int OpenPlain() {
  const int fd = ::open(QFile::encodeName(PayeeFile()).constData(), O_RDWR);
  if (fd < 0) std::abort();
  return fd;
}

void ReadPlain(int fd, uint8_t* buffer, int n) {
  if (::pread(fd, buffer, kRecSize, static_cast<off_t>(n - 1) * kRecSize) != kRecSize) std::abort();
}

void WritePlain(int fd, const uint8_t* buffer, int n) {
  if (::pwrite(fd, buffer, kRecSize, static_cast<off_t>(n - 1) * kRecSize) != kRecSize)
    std::abort();
}

void BM_ScanRecordSet(benchmark::State& state) {
  TRecordSet set;
  OpenSet(set);
  set.SetCurrentRecord(kPayees / 2);
  for (auto _ : state) {
    set.RootRec();
    for (int i = 0; i < set.LastRecord(); ++i) set.NextRec();
    set.PopRec();
    benchmark::DoNotOptimize(set.RecordBuffer()[0]);
  }
  set.CloseRecSet();
}

void BM_ScanPlain(benchmark::State& state) {
  const int fd = OpenPlain();
  std::vector<uint8_t> file(size_t(kPayees) * kRecSize);
  for (auto _ : state) {
    if (::pread(fd, file.data(), file.size(), 0) != ssize_t(file.size())) std::abort();
    benchmark::DoNotOptimize(file[size_t(kPayees / 2) * kRecSize]);
  }
  ::close(fd);
}

// Each round deletes record 1 of 10,000, then (untimed) appends a record so the next round
// starts from the same size.
void BM_DeleteRecordSet(benchmark::State& state) {
  TRecordSet set;
  OpenSet(set);
  for (auto _ : state) {
    state.PauseTiming();
    set.FirstRec();
    state.ResumeTiming();
    set.DeleteRec();
    state.PauseTiming();
    set.NewRec();
    state.ResumeTiming();
  }
  set.CloseRecSet();
}

void BM_DeletePlain(benchmark::State& state) {
  const int fd = OpenPlain();
  std::array<uint8_t, kRecSize> buffer{};
  std::vector<uint8_t> tail(size_t(kPayees - 1) * kRecSize);
  for (auto _ : state) {
    if (::pread(fd, tail.data(), tail.size(), kRecSize) != ssize_t(tail.size())) std::abort();
    if (::pwrite(fd, tail.data(), tail.size(), 0) != ssize_t(tail.size())) std::abort();
    if (::ftruncate(fd, static_cast<off_t>(kPayees - 1) * kRecSize) != 0) std::abort();
    ReadPlain(fd, buffer.data(), 1);
    state.PauseTiming();
    buffer.fill(0);
    WritePlain(fd, buffer.data(), kPayees);
    state.ResumeTiming();
  }
  ::close(fd);
}

BENCHMARK(BM_ScanPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanRecordSet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeletePlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteRecordSet)->Unit(benchmark::kMillisecond);

// Real time is what the user waits; CPU time is steadier when other work shares the machine.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  TRatioReporter() : ConsoleReporter(::isatty(1) ? OO_Defaults : OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    // With repetitions the median stands for the benchmark; without, its single run.
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type != Run::RT_Iteration && !median) continue;
      const std::string name = run.run_name.str();
      if (!median && Medians.count(name)) continue;
      if (median) Medians.insert(name);
      Real[name] = run.GetAdjustedRealTime();
      Cpu[name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatio(const char* what, const std::string& mine, const std::string& plain,
                  double aim) const {
    if (!Real.count(mine) || !Real.count(plain) || Real.at(plain) <= 0 || Cpu.at(plain) <= 0)
      return;
    const double real = Real.at(mine) / Real.at(plain);
    const double cpu = Cpu.at(mine) / Cpu.at(plain);
    if (aim <= 0) {
      std::printf("%-7s record set / floor: real time %.2f, CPU time %.2f\n", what, real, cpu);
      return;
    }
    std::printf("%-7s record set / floor: real time %.2f, CPU time %.2f (aim %.1f or less)%s\n",
                what, real, cpu, aim, real <= aim ? "" : "  ** above aim **");
  }
  std::map<std::string, double> Real, Cpu;
  std::set<std::string> Medians;
};
}  // namespace

int main(int argc, char** argv) {
  // The delete confirmation is answered OK, never shown.
  SetStorageNotice([](const QString&, const QString&, int) { return int(mrOk); });
  MakePayeeFile();
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // The scan walks the set a record at a time, as the print routines do; the figure shows what
  // that costs against one read of the whole file (no aim).
  reporter.PrintRatio("scan", "BM_ScanRecordSet", "BM_ScanPlain", 0);
  reporter.PrintRatio("delete", "BM_DeleteRecordSet", "BM_DeletePlain", 1.5);
  benchmark::Shutdown();
  return 0;
}
