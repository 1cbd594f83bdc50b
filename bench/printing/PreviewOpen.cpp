// bench_preview_open: one whole-process preview, for timing from outside (bench/floors.py).
//   bench_preview_open make PAGES FILE   writes a snapshot of PAGES form sheets
//   bench_preview_open show FILE         opens it in the preview window and shows page 1
#include <QApplication>
#include <QFile>
#include <cstdio>

#include "SampleJob.h"
#include "printing/PreviewPageView.h"
#include "printing/ReportPreview.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() == 4 && args[1] == QLatin1String("make")) {
    QFile file(args[3]);
    const QByteArray bytes = SampleSnapshot(args[2].toInt());
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? 0 : 1;
  }
  if (args.size() != 3 || args[1] != QLatin1String("show")) {
    std::fprintf(stderr, "usage: bench_preview_open make PAGES FILE | show FILE\n");
    return 2;
  }
  TFrmReportPreview preview;
  preview.resize(800, 600);
  preview.LoadSnapshotFile(args[2]);
  preview.show();
  const QImage shown = preview.PageView()->viewport()->grab().toImage();
  std::printf("page 1 of %d shown, %dx%d\n", preview.PageCount(), shown.width(), shown.height());
  return 0;
}
