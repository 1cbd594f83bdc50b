// Report engine benchmarks, measured in one run:
//   - a 10,000-page form-like job (about 60 rules and boxes and 60 short texts a page) from its
//     snapshot to PDF, beside Python reportlab drawing the same page as often (the page's display
//     list is handed to reportlab_form.py as text), with pages per second of both and the ratio;
//   - opening that snapshot and rendering page 1, as a preview does.
// PAPYRA_BENCH_PAGES changes the page count; PAPYRA_PYTHON the interpreter with reportlab.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "engine/Fonts.h"
#include "engine/PagePrinter.h"
#include "engine/Render.h"
#include "engine/Snapshot.h"

namespace {
int Pages() {
  const int n = qEnvironmentVariableIntValue("PAPYRA_BENCH_PAGES");
  return n > 0 ? n : 10000;
}

QTemporaryDir& Folder() {
  static QTemporaryDir dir;
  return dir;
}
QString PathOf(const char* name) {
  return Folder().filePath(QString::fromLatin1(name));
}

// One form-like page: a grid of 30 boxes with 30 rules, 30 captions and 30 values.
void DrawFormPage(TPagePrinter& p, int page) {
  p.SetPenWidth(0.01);
  for (int row = 0; row < 10; ++row) {
    for (int col = 0; col < 3; ++col) {
      const double left = 0.5 + col * 2.5, top = 0.75 + row * 0.95;
      p.Rectangle(left, top, left + 2.5, top + 0.95);
      p.Line(left, top + 0.2, left + 2.5, top + 0.2);
      p.SetFont(QStringLiteral("Arial"), 6);
      p.PrintXY(left + 0.05, top + 0.13, QStringLiteral("%1 Box caption").arg(row * 3 + col + 1));
      p.SetFont(QStringLiteral("Courier New"), 10);
      p.GotoXY(left, top + 0.6);
      p.PrintRight(QStringLiteral("%1.%2")
                       .arg(page * 31 + row * 7 + col)
                       .arg(col * 11 % 100, 2, 10, QLatin1Char('0')),
                   left + 2.4);
    }
  }
}

void MakeSnapshot() {
  if (QFile::exists(PathOf("form.snp"))) return;
  TPagePrinter p;
  p.SetTitle(QStringLiteral("Benchmark forms"));
  p.BeginDoc();
  for (int page = 1; page <= Pages(); ++page) {
    if (page > 1) p.NewPage();
    DrawFormPage(p, page);
  }
  p.EndDoc();
  SaveSnapshot(p.Job(), PathOf("form.snp"));
  TReportJob first = p.Job();
  first.Pages = {first.Pages.first()};
  ExportJob(first, PathOf("page.txt"));
}

void BM_SnapshotToPdf(benchmark::State& state) {
  MakeSnapshot();
  for (auto _ : state) {
    ExportSnapshot(PathOf("form.snp"), PathOf("papyra.pdf"));
  }
  state.counters["pages_per_s"] =
      benchmark::Counter(double(Pages()) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_ReportlabPdf(benchmark::State& state) {
  MakeSnapshot();
  const QString python = qEnvironmentVariable("PAPYRA_PYTHON", QStringLiteral("/usr/bin/python3"));
  for (auto _ : state) {
    QProcess proc;
    QElapsedTimer timer;
    timer.start();
    proc.start(python, {QStringLiteral(PAPYRA_REPORTLAB_SCRIPT), PathOf("page.txt"),
                        QString::number(Pages()), PathOf("reportlab.pdf")});
    if (!proc.waitForFinished(-1) || proc.exitCode() != 0) {
      state.SkipWithError(("reportlab script failed: " + proc.readAllStandardError()).constData());
      return;
    }
    state.SetIterationTime(timer.nsecsElapsed() / 1e9);
  }
  state.counters["pages_per_s"] =
      benchmark::Counter(double(Pages()) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_OpenSnapshotAndRenderPage1(benchmark::State& state) {
  MakeSnapshot();
  for (auto _ : state) {
    TSnapshotReader reader;
    reader.Open(PathOf("form.snp"));
    TReportJob one;
    one.PageWidth = reader.PageWidth();
    one.PageHeight = reader.PageHeight();
    one.Pages = {reader.Page(0)};
    benchmark::DoNotOptimize(RenderPageImage(one, 0, 96 * 0.85, true));
    state.counters["pages_in_snapshot"] = reader.PageCount();
  }
}
}  // namespace

BENCHMARK(BM_SnapshotToPdf)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ReportlabPdf)->Unit(benchmark::kSecond)->Iterations(1)->UseManualTime();
BENCHMARK(BM_OpenSnapshotAndRenderPage1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

// The ratio needs both results, so a reporter collects the rates and prints it at the end.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const auto it = run.counters.find("pages_per_s");
      if (it != run.counters.end()) FRates[run.benchmark_name()] = double(it->second);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    double papyra = 0, reportlab = 0;
    for (const auto& [name, rate] : FRates) {
      if (name.find("BM_SnapshotToPdf") != std::string::npos) papyra = rate;
      if (name.find("BM_ReportlabPdf") != std::string::npos) reportlab = rate;
    }
    if (papyra > 0 && reportlab > 0)
      std::printf("\nPDF pages/s: papyra %.0f, reportlab %.0f, ratio %.2fx (aim >= 2x)\n", papyra,
                  reportlab, papyra / reportlab);
  }

 private:
  std::map<std::string, double> FRates;
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterFontSubstitutions();
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
