#include "SampleJob.h"

#include "engine/PagePrinter.h"
#include "engine/Snapshot.h"

namespace {
void DrawForm(TPagePrinter& p, double top, int page, int form) {
  p.SetPenWidth(0.01);
  p.Rectangle(0.5, top, 8.0, top + 3.3);
  p.Line(4.25, top, 4.25, top + 3.3);
  p.Rectangle(0.5, top, 4.25, top + 1.1);
  p.Rectangle(4.25, top, 6.1, top + 0.6);
  p.ShadeRect(4.25, top, 4.45, top + 0.15, 0.85);
  p.SetFont(QStringLiteral("Arial"), 6);
  p.SetBold(true);
  p.SetFontColor(clWhite);
  p.PrintXY(4.31, top + 0.12, QStringLiteral("1"));
  p.SetFont(QStringLiteral("Arial"), 6);
  p.PrintXY(0.55, top + 0.12, QStringLiteral("PAYER'S name, street address, city or town, state"));
  p.PrintXY(4.5, top + 0.12, QStringLiteral("Nonemployee compensation"));
  p.PrintXY(0.55, top + 1.22, QStringLiteral("RECIPIENT'S name"));
  p.SetFont(QStringLiteral("Arial"), 11);
  p.SetBold(true);
  p.PrintXY(6.2, top + 0.3, QStringLiteral("Form SAMPLE"));
  p.SetFont(QStringLiteral("Courier New"), 10);
  p.PrintXY(0.6, top + 0.4, QStringLiteral("ACME SUPPLY COMPANY"));
  p.PrintXY(0.6, top + 0.56, QStringLiteral("100 MAIN STREET"));
  p.PrintXY(0.6, top + 0.72, QStringLiteral("SPRINGFIELD IL 62701"));
  p.PrintXY(0.6, top + 1.45, QStringLiteral("PAYEE %1-%2").arg(page).arg(form));
  p.GotoXY(0.5, top + 0.45);
  p.PrintRight(QStringLiteral("%1,250.00").arg(page), 6.0);
}
}  // namespace

TReportJob SampleJob(int pages) {
  TPagePrinter p;
  p.SetTitle(QStringLiteral("Sample Report"));
  p.BeginDoc();
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) p.NewPage();
    for (int form = 0; form < 3; ++form) DrawForm(p, 0.5 + form * 3.5, page, form + 1);
  }
  p.EndDoc();
  return p.TakeJob();
}

QByteArray SampleSnapshot(int pages) {
  return SnapshotBytes(SampleJob(pages));
}

QByteArray LongSnapshot(int pages) {
  TPagePrinter p;
  p.BeginDoc();
  p.SetFont(QStringLiteral("Courier New"), 12);
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) p.NewPage();
    p.PrintXY(1.0, 1.0, QStringLiteral("Page %1").arg(page));
  }
  p.EndDoc();
  return SnapshotBytes(p.TakeJob());
}
