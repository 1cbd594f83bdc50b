// Shows the preview of a sample job in a 1280 x 900 window and saves what the screen shows as a
// PNG, so the page display can be checked by eye: preview_shot OUT.png [zoom]
// The job is three Forms 1099-NEC from the report project beside the program when it has that
// report, else the test suite's sample sheets.
#include <QFileInfo>
#include <QMap>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include "SampleJob.h"
#include "engine/Fonts.h"
#include "engine/PagePrinter.h"
#include "engine/ReportProject.h"
#include "engine/ReportSystem.h"
#include "engine/Snapshot.h"
#include "platform/Application.h"
#include "platform/Services.h"
#include "printing/ReportPreview.h"

namespace {
QMap<QString, QString> PayeeValues(int n) {
  return {{"PayerName2", "ACME SUPPLY COMPANY"},
          {"PayerAddress", "100 MAIN STREET SUITE 4"},
          {"PayerCityStateZip", "SPRINGFIELD, IL 62701"},
          {"PayerTelephone", "217-555-0100"},
          {"PayerFIDN", "12-3456789"},
          {"RecipientFIDN", "XXX-XX-" + QString::number(4321 + n)},
          {"RecipientName2", QStringLiteral("PAYEE NUMBER %1").arg(n)},
          {"RecipientAddress1", "22 OAK AVENUE"},
          {"RecipientAddress2", "DECATUR, IL 62521"},
          {"AcctNum", QStringLiteral("ACCT-%1").arg(n)},
          {"Box1", QStringLiteral("%1,250.00").arg(n)},
          {"Box4", "125.00"}};
}

QByteArray FormsSnapshot(const QString& project) {
  const TReportLayout layout = TReportProject::LoadLayout(project, QStringLiteral("Form1099NEC"));
  TPagePrinter p;
  p.SetTitle(QStringLiteral("Form 1099-NEC"));
  p.BeginDoc();
  for (int n = 1; n <= 3; ++n) {
    if (n > 1) p.NewPage();
    TReportProject::DrawFace(p, layout);
    TReportProject::DrawParams(p, layout, PayeeValues(n));
  }
  p.EndDoc();
  return SnapshotBytes(p.TakeJob());
}

QByteArray JobSnapshot() {
  const QString project = ExecutableFolder() + QStringLiteral("TaxForms.rpj");
  try {
    if (QFileInfo::exists(project)) return FormsSnapshot(project);
  } catch (const std::exception&) {
    // No such report in this project: show the sample sheets instead.
  }
  return SampleSnapshot(3);
}
}  // namespace

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  if (argc < 2) return 2;
  RegisterFontSubstitutions();
  TFrmReportPreview preview;
  preview.setWindowTitle(QStringLiteral("Form 1099-NEC Preview"));
  preview.LoadSnapshotBytes(JobSnapshot());
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
