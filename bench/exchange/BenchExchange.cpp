// The payee import and export of a full payer file (10,000 payees), in rows per second, beside
// reading the same CSV text alone (decoding and splitting it, no mapping or checks).
#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QTemporaryDir>

#include "exchange/PayeeExchange.h"
#include "platform/SafeFile.h"

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

const QByteArray& Csv() {
  static const QByteArray csv = PayeesToCsv(Payees());
  return csv;
}

void BM_ReadCsvAlone(benchmark::State& state) {
  for (auto _ : state) {
    const TCsvFormat format = DetectCsvFormat(Csv());
    benchmark::DoNotOptimize(ParseCsv(DecodeCsv(Csv(), format.Encoding), format.Separator));
  }
  state.SetItemsProcessed(state.iterations() * kPayees);
}

void BM_Export(benchmark::State& state) {
  const std::vector<TPayeeRecord> payees = Payees();
  for (auto _ : state) benchmark::DoNotOptimize(PayeesToCsv(payees));
  state.SetItemsProcessed(state.iterations() * kPayees);
}

// Mapping, conversion and every check, without the write.
void BM_ImportPlan(benchmark::State& state) {
  const TPayerRecord payer;
  for (auto _ : state) benchmark::DoNotOptimize(PlanImport(Csv(), {}, payer));
  state.SetItemsProcessed(state.iterations() * kPayees);
}

// The whole import into an empty payee file, the write included.
void BM_ImportIntoFile(benchmark::State& state) {
  QTemporaryDir dir;
  const QString payeeFile = dir.filePath(QStringLiteral("BENCH.PE25"));
  const TPayerRecord payer;
  TWriteOptions record;
  record.RecordFile = true;
  for (auto _ : state) {
    state.PauseTiming();
    WriteFileSafely(dir.filePath(QStringLiteral("BENCH.PR25")),
                    QByteArray(reinterpret_cast<const char*>(payer.Data()), TPayerRecord::Size),
                    record);
    WriteFileSafely(payeeFile, {}, record);
    state.ResumeTiming();
    AppendPayees(payeeFile, PlanImport(Csv(), {}, payer).Payees);
  }
  state.SetItemsProcessed(state.iterations() * kPayees);
}
}  // namespace

BENCHMARK(BM_ReadCsvAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPlan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportIntoFile)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
