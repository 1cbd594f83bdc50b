// Opening a snapshot in the preview window (load, first page rendered) for jobs of 1, 100 and
// 10,000 pages, against decoding every page of the long job. Compare the rows of one run: the
// preview of a long job should cost about what a short one does.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "SampleJob.h"
#include "engine/Snapshot.h"
#include "printing/PreviewPageView.h"
#include "printing/ReportPreview.h"

namespace {
void BM_OpenPreview(benchmark::State& state) {
  const QByteArray bytes = SampleSnapshot(int(state.range(0)));
  for (auto _ : state) {
    TFrmReportPreview preview;
    preview.resize(800, 600);
    preview.LoadSnapshotBytes(bytes);
    benchmark::DoNotOptimize(preview.PageView()->viewport()->grab());
  }
  state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_OpenPreview)->Arg(1)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_DecodeWholeJob(benchmark::State& state) {
  const QByteArray bytes = SampleSnapshot(int(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ParseSnapshot(bytes));
}
BENCHMARK(BM_DecodeWholeJob)->Arg(10000)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
