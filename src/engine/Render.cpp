#include "engine/Render.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

#include "engine/Fonts.h"
#include "engine/RenderHtml.h"
#include "engine/Snapshot.h"
#include "platform/Exceptions.h"

namespace {
class TPagePainter {
 public:
  TPagePainter(QPainter& painter, const TRenderOptions& o) : P(painter), O(o) {
    const QPaintDevice* device = painter.device();
    FDeviceDpiY = device ? std::max(1, device->logicalDpiY()) : 96;
  }

  void Paint(const TPage& page, const TReportJob& job) {
    P.save();
    P.setRenderHint(QPainter::Antialiasing, true);
    P.setRenderHint(QPainter::TextAntialiasing, true);
    if (O.PaintPaper) P.fillRect(QRectF(Pt(0, 0), Pt(job.PageWidth, job.PageHeight)), Qt::white);
    for (const TDisplayItem& item : page.Items) {
      if (item.PreviewOnly && !O.Preview) continue;
      Item(item);
    }
    P.restore();
  }

 private:
  QPointF Pt(double x, double y) const {
    return {O.Origin.x() + x * O.DpiX, O.Origin.y() + y * O.DpiY};
  }
  QRectF Rect(const TDisplayItem& i) const { return QRectF(Pt(i.X, i.Y), Pt(i.X2, i.Y2)); }
  double Len(double inches) const { return inches * (O.DpiX + O.DpiY) / 2; }

  void Item(const TDisplayItem& i) {
    switch (i.Kind) {
      case TItemKind::Text:
        return Text(i);
      case TItemKind::Line:
        return Line(i);
      case TItemKind::Rect:
        return Box(i);
      case TItemKind::Bar:
        return P.fillRect(Rect(i), Qt::black);
    }
  }

  QPen Pen(const TDisplayItem& i) const {
    // A width of zero still draws the thinnest line the device has.
    QPen pen(QColor::fromRgb(i.Color), std::max(Len(i.PenWidth), 1.0));
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
  }

  void Line(const TDisplayItem& i) {
    P.setPen(Pen(i));
    P.drawLine(Pt(i.X, i.Y), Pt(i.X2, i.Y2));
  }

  void Box(const TDisplayItem& i) {
    const QRectF r = Rect(i);
    const double radius = Len(i.Radius);
    P.setPen(i.Outline ? Pen(i) : QPen(Qt::NoPen));
    P.setBrush(i.Filled ? QBrush(QColor::fromRgb(i.FillColor)) : QBrush(Qt::NoBrush));
    if (radius > 0)
      P.drawRoundedRect(r, radius, radius);
    else if (i.Outline)
      P.drawRect(r);
    else
      P.fillRect(r, P.brush());
    P.setBrush(Qt::NoBrush);
  }

  const QFont& FontFor(const TFontSpec& spec) {
    const QString key = spec.Name + QLatin1Char('|') + QString::number(spec.Size) +
                        QLatin1Char('|') + QString::number(spec.Style);
    auto it = FFonts.find(key);
    if (it == FFonts.end())
      it = FFonts.insert(key, MakeQFont(spec, spec.Size * O.DpiY / FDeviceDpiY));
    return *it;
  }

  void Text(const TDisplayItem& i) {
    const QFont& font = FontFor(i.Font);
    P.setFont(font);
    P.setPen(QColor::fromRgb(i.Font.Color));
    QPointF at = Pt(i.X, i.Y);
    if (i.Align != TAlign::Left) {
      const double w = QFontMetricsF(font, P.device()).horizontalAdvance(i.Text);
      at.rx() -= i.Align == TAlign::Right ? w : w / 2;
    }
    P.drawText(at, i.Text);
  }

  QPainter& P;
  const TRenderOptions& O;
  int FDeviceDpiY;
  QHash<QString, QFont> FFonts;
};

void CheckWritable(const QString& fileName) {
  QFile probe(fileName);
  const bool existed = probe.exists();
  if (!probe.open(QIODevice::WriteOnly | QIODevice::Append))
    throw EReportException(
        QStringLiteral("Cannot write \"%1\": %2").arg(fileName, probe.errorString()));
  probe.close();
  if (!existed) probe.remove();
}

QPageLayout SheetLayout(const TReportJob& job) {
  const bool landscape = job.PageWidth > job.PageHeight;
  const QSizeF portrait =
      landscape ? QSizeF(job.PageHeight, job.PageWidth) : QSizeF(job.PageWidth, job.PageHeight);
  return QPageLayout(QPageSize(portrait, QPageSize::Inch, QString(), QPageSize::ExactMatch),
                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}
}  // namespace

void PaintPage(QPainter& painter, const TReportJob& job, int pageIndex,
               const TRenderOptions& options) {
  if (pageIndex < 0 || pageIndex >= job.PageCount()) return;
  RegisterFontSubstitutions();
  TPagePainter(painter, options).Paint(job.Pages[pageIndex], job);
}

QImage RenderPageImage(const TReportJob& job, int pageIndex, double dpi, bool preview) {
  const int w = std::max(1, int(std::lround(job.PageWidth * dpi)));
  const int h = std::max(1, int(std::lround(job.PageHeight * dpi)));
  QImage image(w, h, QImage::Format_RGB32);
  const int dpm = int(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dpm);
  image.setDotsPerMeterY(dpm);
  image.fill(Qt::white);
  QPainter painter(&image);
  TRenderOptions o;
  o.DpiX = o.DpiY = dpi;
  o.Preview = preview;
  PaintPage(painter, job, pageIndex, o);
  return image;
}

QStringList WritePngPages(const TReportJob& job, const QString& fileName, double dpi) {
  const QFileInfo info(fileName);
  QStringList written;
  for (int i = 0; i < job.PageCount(); ++i) {
    const QString name =
        info.dir().filePath(QStringLiteral("%1-%2.png").arg(info.completeBaseName()).arg(i + 1));
    if (!RenderPageImage(job, i, dpi).save(name, "PNG"))
      throw EReportException(QStringLiteral("Cannot write \"%1\".").arg(name));
    written.append(name);
  }
  return written;
}

TPdfInfo DefaultPdfInfo(const TReportJob& job) {
  TPdfInfo info;
  info.Title = job.Title;
  info.Creator = QStringLiteral("Papyra");
  return info;
}

void WritePdf(const TReportJob& job, const QString& fileName) {
  WritePdf(job, fileName, DefaultPdfInfo(job));
}

void WritePdf(const TReportJob& job, const QString& fileName, const TPdfInfo& info) {
  CheckWritable(fileName);
  QPdfWriter writer(fileName);
  writer.setResolution(info.Resolution);
  writer.setTitle(info.Title);
  writer.setCreator(info.Creator);
  writer.setPageLayout(SheetLayout(job));
  QPainter painter;
  if (!painter.begin(&writer))
    throw EReportException(QStringLiteral("Cannot write \"%1\".").arg(fileName));
  TRenderOptions o;
  o.DpiX = o.DpiY = info.Resolution;
  for (int i = 0; i < job.PageCount(); ++i) {
    if (i > 0) writer.newPage();
    PaintPage(painter, job, i, o);
  }
  if (!painter.end()) throw EReportException(QStringLiteral("Cannot write \"%1\".").arg(fileName));
}

void PrintJob(const TReportJob& job, QPrinter& printer, int fromPage, int toPage, int copiesByHand,
              const std::function<void(int page)>& onPage) {
  const int first = std::max(1, fromPage);
  const int last = toPage > 0 ? std::min(toPage, job.PageCount()) : job.PageCount();
  QPainter painter;
  if (!painter.begin(&printer))
    throw EReportException(
        QStringLiteral("The printer \"%1\" cannot start the job.").arg(printer.printerName()));
  TRenderOptions o;
  o.DpiX = printer.logicalDpiX();
  o.DpiY = printer.logicalDpiY();
  // The painter starts at the printable area's corner; move back to the paper's corner.
  o.Origin = printer.fullPage() ? QPointF() : -printer.pageRect(QPrinter::DevicePixel).topLeft();
  bool firstSheet = true;
  for (int copy = 0; copy < std::max(1, copiesByHand); ++copy) {
    for (int page = first; page <= last; ++page) {
      if (!firstSheet) printer.newPage();
      firstSheet = false;
      if (onPage) onPage(page);
      PaintPage(painter, job, page - 1, o);
    }
  }
  painter.end();
}

void ExportJob(const TReportJob& job, const QString& fileName) {
  const QString ext = QFileInfo(fileName).suffix().toLower();
  if (ext == QLatin1String("snp") || ext == QLatin1String("rpt"))
    return SaveSnapshot(job, fileName);
  if (ext == QLatin1String("pdf")) return WritePdf(job, fileName);
  if (ext == QLatin1String("html") || ext == QLatin1String("htm")) return WriteHtml(job, fileName);
  if (ext == QLatin1String("png")) {
    WritePngPages(job, fileName);
    return;
  }
  if (ext == QLatin1String("txt")) {
    QSaveFile file(fileName);
    const QByteArray text = DisplayListText(job).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
      throw EReportException(
          QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
    return;
  }
  throw EReportException(
      QStringLiteral("Cannot write \"%1\": the extension must be .snp, .pdf, .html, .png or .txt.")
          .arg(fileName));
}
