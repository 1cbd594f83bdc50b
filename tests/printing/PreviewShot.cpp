// Shows the preview of a sample job in a 1280 x 900 window and saves what the screen shows as a
// PNG, so the page display can be checked by eye: preview_shot OUT.png [zoom]
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "SampleJob.h"
#include "engine/Fonts.h"
#include "engine/ReportSystem.h"
#include "platform/Application.h"
#include "printing/ReportPreview.h"

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  if (argc < 2) return 2;
  RegisterFontSubstitutions();
  TFrmReportPreview preview;
  preview.setWindowTitle(QStringLiteral("Form 1099-NEC Preview"));
  preview.LoadSnapshotBytes(SampleSnapshot(3));
  preview.resize(1280, 900);
  preview.move(0, 0);
  preview.show();
  if (argc > 2) {
    TPreviewSettings settings;
    settings.ZoomFactor = QString::fromLatin1(argv[2]).toInt();
    preview.ApplySettings(settings);
  }
  QTest::qWait(500);
  QPixmap shot = preview.screen()->grabWindow(0, 0, 0, 1280, 900);
  if (shot.isNull() || shot.width() == 0) shot = preview.grab();
  return shot.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
