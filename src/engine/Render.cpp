#include "engine/Render.h"
#include "engine/ReportFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGlyphRun>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QRawFont>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

#include "engine/Fonts.h"
#include "engine/RenderHtml.h"
#include "engine/Snapshot.h"
#include "platform/Exceptions.h"
#include "platform/SafeFile.h"

namespace {
// The resolution is part of the key: the same font drawn on the screen and then into a PDF
// needs glyphs of different pixel sizes.
struct TFontKey {
  QString Name;
  double Points;
  double Dpi;
  quint8 Style;
  bool operator==(const TFontKey&) const = default;
};
size_t qHash(const TFontKey& k, size_t seed = 0) {
  return qHashMulti(seed, k.Name, k.Points, k.Dpi, k.Style);
}

struct TFontEntry {
  QFont Font;
  QRawFont Raw;
};

// Entries are allocated one by one so the laid-out texts can keep pointers to them across
// rehashing; the cache lives for the whole run.
QHash<TFontKey, TFontEntry*>& FontCache() {
  static auto& cache = *new QHash<TFontKey, TFontEntry*>();
  return cache;
}

// Laid-out texts, keyed by font and text: form pages repeat their captions on every page, and
// laying a text out costs more than drawing it. Cleared when it grows large.
struct TRunKey {
  const TFontEntry* Font;
  QString Text;
  bool operator==(const TRunKey&) const = default;
};
size_t qHash(const TRunKey& k, size_t seed = 0) {
  return qHashMulti(seed, quintptr(k.Font), k.Text);
}
QHash<TRunKey, QGlyphRun>& RunCache() {
  static QHash<TRunKey, QGlyphRun> cache;
  return cache;
}

class TPagePainter {
 public:
  TPagePainter(QPainter& painter, const TRenderOptions& o) : P(painter), O(o) {
    const QPaintDevice* device = painter.device();
    FDeviceDpiY = device ? std::max(1, device->logicalDpiY()) : 96;
  }

  void Paint(const TPage& page, double pageWidth, double pageHeight) {
    P.save();
    P.setRenderHint(QPainter::Antialiasing, true);
    P.setRenderHint(QPainter::TextAntialiasing, true);
    if (O.PaintPaper) P.fillRect(QRectF(Pt(0, 0), Pt(pageWidth, pageHeight)), Qt::white);
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

  // Painter state changes cost the PDF writer a graphics-state block each, so pens, brushes and
  // fonts are only set when they differ from what the painter already has.
  void SetPen(const QPen& pen) {
    if (FHavePen && pen == FPen) return;
    P.setPen(pen);
    FPen = pen;
    FHavePen = true;
  }

  void SetBrush(const QBrush& brush) {
    if (FHaveBrush && brush == FBrush) return;
    P.setBrush(brush);
    FBrush = brush;
    FHaveBrush = true;
  }

  void Line(const TDisplayItem& i) {
    SetPen(Pen(i));
    P.drawLine(Pt(i.X, i.Y), Pt(i.X2, i.Y2));
  }

  void Box(const TDisplayItem& i) {
    const QRectF r = Rect(i);
    const double radius = Len(i.Radius);
    if (!i.Outline && radius <= 0) return P.fillRect(r, QColor::fromRgb(i.FillColor));
    SetPen(i.Outline ? Pen(i) : QPen(Qt::NoPen));
    SetBrush(i.Filled ? QBrush(QColor::fromRgb(i.FillColor)) : QBrush(Qt::NoBrush));
    if (radius > 0)
      P.drawRoundedRect(r, radius, radius);
    else
      P.drawRect(r);
  }

  // Fonts are made once per font and scale for the whole run, and set on the painter only when
  // they change: a form page repeats the same two or three fonts many times.
  void UseFont(const TFontSpec& font) {
    // Text takes the pen's colour; its width does not matter.
    if (!FHavePen || FPen.color() != QColor::fromRgb(font.Color)) {
      QPen pen = FHavePen ? FPen : QPen();
      pen.setColor(QColor::fromRgb(font.Color));
      SetPen(pen);
    }
    if (FFont && font == FLastFont) return;
    const double points = font.Size * O.DpiY / FDeviceDpiY;
    const TFontKey key{font.Name, points, O.DpiY, font.Style};
    auto it = FontCache().find(key);
    if (it == FontCache().end()) {
      auto* entry = new TFontEntry{MakeQFont(font, points), {}};
      entry->Raw = QRawFont::fromFont(entry->Font);
      entry->Raw.setPixelSize(font.Size * O.DpiY / 72.0);
      it = FontCache().insert(key, entry);
    }
    if (FFont != *it) P.setFont((*it)->Font);
    FLastFont = font;
    FFont = *it;
  }

  // The text's glyphs from the font's own tables: no shaping is needed for the program's texts,
  // and it is the slowest step of drawing text. Null when the font lacks a glyph, so the
  // painter's font fallback can draw the text instead.
  const QGlyphRun* GlyphRun(const TDisplayItem& i) {
    if (!FFont->Raw.isValid()) return nullptr;
    const TRunKey key{FFont, i.Text};
    auto it = RunCache().find(key);
    if (it != RunCache().end()) return &*it;
    const QList<quint32> glyphs = FFont->Raw.glyphIndexesForString(i.Text);
    if (glyphs.size() != i.Text.size() || glyphs.contains(0u)) return nullptr;
    const QList<QPointF> advances = FFont->Raw.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    QPointF pen;
    for (const QPointF& a : advances) {
      positions.append(pen);
      pen += a;
    }
    QGlyphRun run;
    run.setRawFont(FFont->Raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    run.setUnderline(i.Font.Underline());
    run.setStrikeOut(i.Font.StrikeOut());
    if (RunCache().size() > 20000) RunCache().clear();
    return &*RunCache().insert(key, run);
  }

  void Text(const TDisplayItem& i) {
    UseFont(i.Font);
    QPointF at = Pt(i.X, i.Y);
    if (i.Align != TAlign::Left) {
      // The same unhinted advances the page printer measured with, so the text ends where the
      // print routine's cursor did.
      const double w = TextWidthInches(i.Font, i.Text) * O.DpiX;
      at.rx() -= i.Align == TAlign::Right ? w : w / 2;
    }
    if (const QGlyphRun* run = GlyphRun(i))
      P.drawGlyphRun(at, *run);
    else
      P.drawText(at, i.Text);
  }

  QPainter& P;
  const TRenderOptions& O;
  int FDeviceDpiY;
  TFontSpec FLastFont;
  const TFontEntry* FFont = nullptr;
  QPen FPen;
  bool FHavePen = false;
  QBrush FBrush;
  bool FHaveBrush = false;
};

QPageLayout SheetLayout(double width, double height) {
  const bool landscape = width > height;
  const QSizeF portrait = landscape ? QSizeF(height, width) : QSizeF(width, height);
  return QPageLayout(QPageSize(portrait, QPageSize::Inch, QString(), QPageSize::ExactMatch),
                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}
}  // namespace

void PaintPage(QPainter& painter, const TReportJob& job, int pageIndex,
               const TRenderOptions& options) {
  if (pageIndex < 0 || pageIndex >= job.PageCount()) return;
  PaintPage(painter, job.Pages[pageIndex], job.PageWidth, job.PageHeight, options);
}

void PaintPage(QPainter& painter, const TPage& page, double pageWidth, double pageHeight,
               const TRenderOptions& options) {
  RegisterFontSubstitutions();
  TPagePainter(painter, options).Paint(page, pageWidth, pageHeight);
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

namespace {
QString PngPageName(const QString& fileName, int index) {
  const QFileInfo info(fileName);
  return info.dir().filePath(
      QStringLiteral("%1-%2.png").arg(info.completeBaseName()).arg(index + 1));
}

// Pages are drawn one at a time, so memory holds one page image whatever the page count; the
// files appear only once every page is written.
QStringList WritePngPageSet(const QString& fileName, int first, int last,
                            const std::function<QImage(int)>& image) {
  TWriteOptions options;
  options.ProgramNamed = true;  // NAME-1.png ... are this program's names beside the user's
  TSafeFileGroup files(options);
  ReportWrite([&] {
    for (int i = first; i <= last; ++i) {
      const QString name = PngPageName(fileName, i);
      files.Add(name, [&](QIODevice& device) {
        if (!image(i).save(&device, "PNG")) RaiseWriteError(name, device.errorString());
      });
    }
    files.Commit();
  });
  return files.Files();
}
}  // namespace

QStringList WritePngPages(const TReportJob& job, const QString& fileName, double dpi) {
  CheckSheetSize(job.PageWidth, job.PageHeight);
  return WritePngPageSet(fileName, 0, job.PageCount() - 1,
                         [&](int i) { return RenderPageImage(job, i, dpi); });
}

QStringList WritePngPages(const TSnapshotReader& reader, const QString& fileName, int first,
                          int last, double dpi) {
  CheckSheetSize(reader.PageWidth(), reader.PageHeight());
  if (last <= 0 || last > reader.PageCount()) last = reader.PageCount();
  return WritePngPageSet(fileName, std::max(1, first) - 1, last - 1, [&](int i) {
    TReportJob one;
    one.PageWidth = reader.PageWidth();
    one.PageHeight = reader.PageHeight();
    one.Pages.append(reader.ReadPage(i));
    return RenderPageImage(one, 0, dpi);
  });
}

TPdfInfo DefaultPdfInfo(const TReportJob& job) {
  TPdfInfo info;
  info.Title = job.Title;
  info.Creator = QStringLiteral("Papyra");
  return info;
}

QList<TExportFormat> ExportFormats() {
  return {{QStringLiteral("Adobe Portable Document (PDF)"), QStringLiteral("*.pdf")},
          {QStringLiteral("Web Document (HTML)"), QStringLiteral("*.html *.htm")},
          {QStringLiteral("PNG Images (one per page)"), QStringLiteral("*.png")},
          {QStringLiteral("Display List Text"), QStringLiteral("*.txt")}};
}

void WritePdf(const TReportJob& job, const QString& fileName) {
  WritePdf(job, fileName, DefaultPdfInfo(job));
}

namespace {
using TPageSource = std::function<TPage(int)>;

// A PDF text string: UTF-16 with its byte-order mark, in hexadecimal, so any character and
// any bracket or backslash pass unharmed.
QByteArray PdfText(const QString& text) {
  QByteArray bytes("\xFE\xFF", 2);
  for (const QChar c : text) {
    bytes.append(char(c.unicode() >> 8));
    bytes.append(char(c.unicode() & 0xFF));
  }
  return '<' + bytes.toHex() + '>';
}

// What an update needs of the file's last trailer.
struct TPdfTrailer {
  int Size = 0;       // objects so far: the next object's number
  QByteArray Root;    // "n g R"
  QByteArray XrefAt;  // offset of the last cross-reference section
};

std::optional<TPdfTrailer> LastTrailer(const QByteArray& pdf) {
  const QString tail = QString::fromLatin1(pdf.right(1024));
  static const QRegularExpression trailer(
      QStringLiteral("trailer\\s*<<(.*)>>\\s*startxref\\s*(\\d+)\\s*%%EOF\\s*$"),
      QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression size(QStringLiteral("/Size\\s+(\\d+)"));
  static const QRegularExpression root(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)"));
  const auto t = trailer.match(tail);
  const auto s = size.match(t.captured(1));
  const auto r = root.match(t.captured(1));
  if (!t.hasMatch() || !s.hasMatch() || !r.hasMatch()) return std::nullopt;
  return TPdfTrailer{s.captured(1).toInt(), r.captured(1).toLatin1(), t.captured(2).toLatin1()};
}

// The information object, its cross-reference section and a trailer that points at both and
// back at the previous section, for a file of fileSize bytes.
QByteArray InformationUpdate(const TPdfTrailer& last, qint64 fileSize, const TPdfInfo& info) {
  const QByteArray number = QByteArray::number(last.Size);
  QByteArray update = "\n";
  const qint64 objectAt = fileSize + update.size();
  update += number + " 0 obj\n<<\n/Title " + PdfText(info.Title) + "\n/Subject " +
            PdfText(info.Subject) + "\n/Author " + PdfText(info.Creator) + "\n/Creator " +
            PdfText(info.Creator) + "\n/Producer " + PdfText(info.Creator) + "\n>>\nendobj\n";
  const qint64 xrefAt = fileSize + update.size();
  update += "xref\n" + number + " 1\n" + QByteArray::number(objectAt).rightJustified(10, '0') +
            " 00000 n \n";
  update += "trailer\n<<\n/Size " + QByteArray::number(last.Size + 1) + "\n/Root " + last.Root +
            "\n/Info " + number + " 0 R\n/Prev " + last.XrefAt + "\n>>\nstartxref\n" +
            QByteArray::number(xrefAt) + "\n%%EOF\n";
  return update;
}

// Qt's writer puts only title and creator in the document information. A dictionary with every
// field is appended as an incremental update, the PDF's own way of changing a finished file;
// readers take the last trailer's.
void AppendDocumentInformation(QByteArray& pdf, const QString& name, const TPdfInfo& info) {
  const std::optional<TPdfTrailer> last = LastTrailer(pdf);
  if (!last) throw EReportException(QStringLiteral("Cannot write \"%1\".").arg(name));
  pdf += InformationUpdate(*last, pdf.size(), info);
}

// Qt's PDF engine, for jobs with fonts outside the standard set: it embeds what it draws. Such
// jobs are short (the Form 1096), so the document is built in memory and then written out.
void WriteWithQt(QIODevice& out, const QString& name, const TPdfInfo& info, double width,
                 double height, int pages, const TPageSource& page) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(info.Resolution);
  writer.setTitle(info.Title);
  writer.setCreator(info.Creator);
  writer.setDocumentXmpMetadata(PdfXmpMetadata(info));
  writer.setPageLayout(SheetLayout(width, height));
  QPainter painter;
  if (!painter.begin(&writer))
    throw EReportException(QStringLiteral("Cannot write \"%1\".").arg(name));
  TRenderOptions o;
  o.DpiX = o.DpiY = info.Resolution;
  for (int i = 0; i < pages; ++i) {
    if (i > 0) writer.newPage();
    PaintPage(painter, page(i), width, height, o);
  }
  if (!painter.end()) throw EReportException(QStringLiteral("Cannot write \"%1\".").arg(name));
  QByteArray pdf = buffer.data();
  AppendDocumentInformation(pdf, name, info);
  if (out.write(pdf) != pdf.size())
    throw EReportException(QStringLiteral("Cannot write \"%1\": %2").arg(name, out.errorString()));
}

// Pages one at a time, so a long snapshot never has to be decoded whole.
void WritePdfPages(QIODevice& out, const QString& name, const TPdfInfo& info, double width,
                   double height, int pages, const TPageSource& page, bool standardFonts) {
  if (!standardFonts) return WriteWithQt(out, name, info, width, height, pages, page);
  TPdfWriter writer(out, name, info, width, height);
  for (int i = 0; i < pages; ++i) writer.AddPage(page(i));
  writer.Finish();
}

// The file is written whole under a temporary name and put in place only when complete.
void WritePdfFile(const QString& fileName, double width, double height,
                  const std::function<void(QIODevice&)>& write) {
  CheckSheetSize(width, height);
  WriteReportFile(fileName, write);
}

bool StandardFonts(const QList<TFontSpec>& fonts) {
  return std::all_of(fonts.begin(), fonts.end(),
                     [](const TFontSpec& f) { return TPdfWriter::CanDraw(f); });
}
}  // namespace

void WritePdf(const TReportJob& job, QIODevice& out, const QString& name, const TPdfInfo& info) {
  WritePdfPages(
      out, name, info, job.PageWidth, job.PageHeight, job.PageCount(),
      [&job](int i) { return job.Pages[i]; }, TPdfWriter::CanDraw(job));
}

void WritePdf(const TReportJob& job, const QString& fileName, const TPdfInfo& info) {
  WritePdfFile(fileName, job.PageWidth, job.PageHeight,
               [&](QIODevice& out) { WritePdf(job, out, fileName, info); });
}

void WritePdf(const TSnapshotReader& reader, const QString& fileName, const TPdfInfo& info) {
  WritePdfFile(fileName, reader.PageWidth(), reader.PageHeight(), [&](QIODevice& out) {
    WritePdfPages(
        out, fileName, info, reader.PageWidth(), reader.PageHeight(), reader.PageCount(),
        [&reader](int i) { return reader.ReadPage(i); }, StandardFonts(reader.Fonts()));
  });
}

void ExportSnapshot(const QString& snapshotFile, const QString& fileName) {
  const QString ext = QFileInfo(fileName).suffix().toLower();
  if (ext != QLatin1String("pdf") && ext != QLatin1String("png"))
    return ExportJob(LoadSnapshot(snapshotFile), fileName);
  TSnapshotReader reader;
  reader.Open(snapshotFile);
  if (ext == QLatin1String("png")) {
    WritePngPages(reader, fileName);
    return;
  }
  TPdfInfo info;
  info.Title = reader.Title();
  info.Creator = QStringLiteral("Papyra");
  WritePdf(reader, fileName, info);
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
    const QByteArray text = DisplayListText(job).toUtf8();
    // A short write is seen when the file is committed.
    WriteReportFile(fileName, [&](QIODevice& device) { device.write(text); });
    return;
  }
  throw EReportException(
      QStringLiteral("Cannot write \"%1\": the extension must be .snp, .pdf, .html, .png or .txt.")
          .arg(fileName));
}
