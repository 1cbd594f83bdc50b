#include "engine/Snapshot.h"

#include <zlib.h>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "engine/ReportFile.h"
#include "platform/Exceptions.h"

namespace {
constexpr char kMagic[8] = {'P', 'A', 'P', 'Y', 'S', 'N', 'P', '\x1a'};
constexpr quint16 kVersion = 1;
constexpr qsizetype kHeaderSize = 16;
constexpr double kMaxInches = 1000.0;
constexpr double kMaxPoints = 2000.0;

enum : quint8 { ifPreview = 1, ifOutline = 2, ifFilled = 4 };

// ---- writing ------------------------------------------------------------------------------------

class TWriter {
 public:
  QByteArray Bytes;
  void U8(quint8 v) { Bytes.append(char(v)); }
  void U16(quint16 v) { Raw(qToLittleEndian(v)); }
  void U32(quint32 v) { Raw(qToLittleEndian(v)); }
  void F64(double v) {
    quint64 bits;
    std::memcpy(&bits, &v, 8);
    Raw(qToLittleEndian(bits));
  }
  void Str(const QString& s) {
    const QByteArray utf8 = s.toUtf8();
    U32(quint32(utf8.size()));
    Bytes.append(utf8);
  }

 private:
  template <typename T>
  void Raw(T v) {
    Bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
  }
};

int FontIndex(QList<TFontSpec>& fonts, const TFontSpec& font) {
  // Few fonts per job; a linear search keeps the order of first use, which keeps files stable.
  for (int i = int(fonts.size()) - 1; i >= 0; --i)
    if (fonts[i] == font) return i;
  fonts.append(font);
  return int(fonts.size()) - 1;
}

quint8 ItemFlags(const TDisplayItem& item) {
  quint8 f = 0;
  if (item.PreviewOnly) f |= ifPreview;
  if (item.Outline) f |= ifOutline;
  if (item.Filled) f |= ifFilled;
  return quint8(f | (quint8(item.Align) << 4));
}

void WriteItem(TWriter& w, const TDisplayItem& item, QList<TFontSpec>& fonts) {
  w.U8(quint8(item.Kind));
  w.U8(ItemFlags(item));
  w.F64(item.X);
  w.F64(item.Y);
  switch (item.Kind) {
    case TItemKind::Text:
      w.U32(quint32(FontIndex(fonts, item.Font)));
      w.Str(item.Text);
      return;
    case TItemKind::Line:
      w.F64(item.X2);
      w.F64(item.Y2);
      w.F64(item.PenWidth);
      w.U32(item.Color);
      return;
    case TItemKind::Rect:
      w.F64(item.X2);
      w.F64(item.Y2);
      w.F64(item.PenWidth);
      w.F64(item.Radius);
      w.U32(item.Color);
      w.U32(item.FillColor);
      return;
    case TItemKind::Bar:
      w.F64(item.X2);
      w.F64(item.Y2);
      return;
  }
}

// ---- reading ------------------------------------------------------------------------------------

class TReader {
 public:
  TReader(const char* data, qsizetype size, const QString& what)
      : P(data), End(data + size), What(what) {}
  const char* P;
  const char* End;
  QString What;

  [[noreturn]] void Fail(const QString& why) const {
    throw EReportException(QStringLiteral("The snapshot %1 is damaged: %2.").arg(What, why));
  }
  void Need(qsizetype n) const {
    if (n < 0 || End - P < n) Fail(QStringLiteral("it ends too early"));
  }
  quint8 U8() {
    Need(1);
    return quint8(*P++);
  }
  quint16 U16() {
    Need(2);
    const quint16 v = qFromLittleEndian<quint16>(P);
    P += 2;
    return v;
  }
  quint32 U32() {
    Need(4);
    const quint32 v = qFromLittleEndian<quint32>(P);
    P += 4;
    return v;
  }
  double F64() {
    Need(8);
    const quint64 bits = qFromLittleEndian<quint64>(P);
    P += 8;
    double v;
    std::memcpy(&v, &bits, 8);
    if (!std::isfinite(v)) Fail(QStringLiteral("a number is not finite"));
    return v;
  }
  double Coord() {
    const double v = F64();
    if (std::fabs(v) > kMaxInches) Fail(QStringLiteral("a position lies far off the sheet"));
    return v;
  }
  QString Str() {
    const quint32 n = U32();
    Need(qsizetype(n));
    const QString s = QString::fromUtf8(P, qsizetype(n));
    P += n;
    return s;
  }
};

TFontSpec ReadFont(TReader& r) {
  TFontSpec f;
  f.Name = r.Str();
  f.Size = r.F64();
  if (f.Size <= 0 || f.Size > kMaxPoints) r.Fail(QStringLiteral("a font size is out of range"));
  f.Style = r.U8();
  if (f.Style & ~quint8(fsBold | fsItalic | fsUnderline | fsStrikeOut))
    r.Fail(QStringLiteral("a font style is unknown"));
  f.Color = r.U32() & 0xFFFFFF;
  return f;
}

quint32 Rgb(TReader& r) {
  const quint32 c = r.U32();
  if (c > 0xFFFFFF) r.Fail(QStringLiteral("a colour is out of range"));
  return c;
}

double Width(TReader& r) {
  const double w = r.F64();
  if (w < 0 || w > kMaxInches) r.Fail(QStringLiteral("a line width is out of range"));
  return w;
}

TDisplayItem ReadItem(TReader& r, const QList<TFontSpec>& fonts) {
  const quint8 kind = r.U8();
  const quint8 flags = r.U8();
  const quint8 align = flags >> 4;
  if ((flags & 0x08) || align > quint8(TAlign::Right)) r.Fail(QStringLiteral("bad item flags"));
  const double x = r.Coord(), y = r.Coord();
  TDisplayItem item;
  switch (TItemKind(kind)) {
    case TItemKind::Text: {
      const quint32 font = r.U32();
      if (font >= quint32(fonts.size())) r.Fail(QStringLiteral("a font number is unknown"));
      item = TDisplayItem::MakeText(x, y, r.Str(), fonts[int(font)], TAlign(align));
      break;
    }
    case TItemKind::Line: {
      const double x2 = r.Coord(), y2 = r.Coord(), w = Width(r);
      item = TDisplayItem::MakeLine(x, y, x2, y2, w, Rgb(r));
      break;
    }
    case TItemKind::Rect: {
      const double x2 = r.Coord(), y2 = r.Coord(), w = Width(r), radius = Width(r);
      const quint32 color = Rgb(r), fill = Rgb(r);
      if (x2 < x || y2 < y) r.Fail(QStringLiteral("a rectangle is inside out"));
      item =
          TDisplayItem::MakeRect(x, y, x2, y2, w, flags & ifOutline, flags & ifFilled, fill, color);
      item.Radius = radius;
      break;
    }
    case TItemKind::Bar: {
      const double x2 = r.Coord(), y2 = r.Coord();
      if (x2 < x || y2 < y) r.Fail(QStringLiteral("a bar is inside out"));
      item = TDisplayItem::MakeBar(x, y, x2, y2);
      break;
    }
    default:
      r.Fail(QStringLiteral("an item of unknown kind %1").arg(kind));
  }
  item.PreviewOnly = flags & ifPreview;
  return item;
}

QString Shown(const QString& name) {
  return name.isEmpty() ? QStringLiteral("data") : QStringLiteral("\"%1\"").arg(name);
}
}  // namespace

quint32 SnapshotCrc32(const char* data, qsizetype length) {
  // zlib's CRC-32 is the IEEE one, and far faster than a byte-wise table.
  uLong crc = crc32(0L, Z_NULL, 0);
  const auto* p = reinterpret_cast<const Bytef*>(data);
  while (length > 0) {
    const uInt chunk = uInt(std::min<qsizetype>(length, 1 << 30));
    crc = crc32(crc, p, chunk);
    p += chunk;
    length -= chunk;
  }
  return quint32(crc);
}

QByteArray SnapshotBytes(const TReportJob& job) {
  QList<TFontSpec> fonts;
  QList<QByteArray> pages;
  pages.reserve(job.Pages.size());
  for (const TPage& page : job.Pages) {
    TWriter w;
    w.U32(quint32(page.Items.size()));
    for (const TDisplayItem& item : page.Items) WriteItem(w, item, fonts);
    pages.append(std::move(w.Bytes));
  }
  TWriter dir;
  dir.F64(job.PageWidth);
  dir.F64(job.PageHeight);
  dir.Str(job.Title);
  dir.U32(quint32(fonts.size()));
  for (const TFontSpec& f : fonts) {
    dir.Str(f.Name);
    dir.F64(f.Size);
    dir.U8(f.Style);
    dir.U32(f.Color & 0xFFFFFF);
  }
  dir.U32(quint32(pages.size()));
  for (const QByteArray& p : pages) {
    dir.U32(quint32(p.size()));
    dir.U32(SnapshotCrc32(p.constData(), p.size()));
  }
  TWriter out;
  out.Bytes.append(kMagic, 8);
  out.U16(kVersion);
  out.U16(0);
  out.U32(quint32(dir.Bytes.size() + 4));
  out.U32(SnapshotCrc32(dir.Bytes.constData(), dir.Bytes.size()));
  out.Bytes.append(dir.Bytes);
  for (const QByteArray& p : pages) out.Bytes.append(p);
  return out.Bytes;
}

bool LooksLikeSnapshot(const QByteArray& bytes) {
  return bytes.size() >= kHeaderSize && std::memcmp(bytes.constData(), kMagic, 8) == 0;
}

// ---- reader
// ---------------------------------------------------------------------------------------

// A file is read as a preview needs it: the header and directory now, each page when it is
// shown, straight from the file (no read-ahead buffer to hold stale or unneeded bytes). The
// handle stays open, so a snapshot replaced under the reader (saved anew through a rename) keeps
// showing the job it was opened with.
void TSnapshotReader::Open(const QString& fileName) {
  auto file = std::make_shared<QFile>(fileName);
  if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
    throw EReportException(
        QStringLiteral("Cannot open the snapshot \"%1\": %2").arg(fileName, file->errorString()));
  *this = TSnapshotReader{};
  FName = Shown(QFileInfo(fileName).fileName());
  const qint64 size = file->size();
  const QByteArray head = file->read(kHeaderSize);
  const quint32 dirLength = ReadHeader(head, size);
  const QByteArray dir = file->read(dirLength);
  if (dir.size() != qsizetype(dirLength))
    TReader(nullptr, 0, FName).Fail(QStringLiteral("its directory is cut off"));
  ReadDirectory(dir, size);
  FFile = std::move(file);
  FOpen = true;
}

void TSnapshotReader::OpenBytes(const QByteArray& bytes, const QString& nameForMessages) {
  *this = TSnapshotReader{};
  FName = Shown(nameForMessages);
  const quint32 dirLength = ReadHeader(bytes, bytes.size());
  ReadDirectory(QByteArray::fromRawData(bytes.constData() + kHeaderSize, dirLength), bytes.size());
  FBytes = bytes;
  FOpen = true;
}

// Checks the magic and version of a file of fileSize bytes that starts with head; returns the
// directory's length.
quint32 TSnapshotReader::ReadHeader(const QByteArray& head, qint64 fileSize) const {
  if (!LooksLikeSnapshot(head))
    throw EReportException(QStringLiteral("The file %1 is not a Papyra snapshot.").arg(FName));
  TReader r(head.constData() + 8, kHeaderSize - 8, FName);
  const quint16 version = r.U16();
  if (version != kVersion)
    throw EReportException(
        QStringLiteral("The snapshot %1 has version %2; this program reads version %3.")
            .arg(FName)
            .arg(version)
            .arg(kVersion));
  r.U16();
  const quint32 dirLength = r.U32();
  if (dirLength < 4 || qint64(dirLength) > fileSize - kHeaderSize)
    r.Fail(QStringLiteral("its directory is cut off"));
  return dirLength;
}

void TSnapshotReader::ReadDirectory(const QByteArray& bytes, qint64 fileSize) {
  TReader dir(bytes.constData(), bytes.size(), FName);
  const quint32 crc = dir.U32();
  if (crc != SnapshotCrc32(dir.P, bytes.size() - 4))
    dir.Fail(QStringLiteral("the directory's checksum does not match"));
  FWidth = dir.F64();
  FHeight = dir.F64();
  // A sheet larger than any paper would only exhaust memory when its pages are drawn.
  if (!(FWidth > 0 && FHeight > 0 && FWidth <= MaxSheetInches && FHeight <= MaxSheetInches))
    dir.Fail(QStringLiteral("the sheet size is out of range"));
  FTitle = dir.Str();
  const quint32 fontCount = dir.U32();
  dir.Need(qsizetype(fontCount) * 17);  // each font takes at least 17 bytes
  for (quint32 i = 0; i < fontCount; ++i) FFonts.append(ReadFont(dir));
  const quint32 pageCount = dir.U32();
  dir.Need(qsizetype(pageCount) * 8);
  qint64 offset = kHeaderSize + bytes.size();
  FPages.resize(pageCount);
  for (TPageRef& page : FPages) {
    page.Offset = offset;
    page.Length = dir.U32();
    page.Crc = dir.U32();
    if (page.Length < 4 || page.Length > fileSize - offset)
      dir.Fail(QStringLiteral("a page lies outside the file"));
    offset += page.Length;
  }
  if (dir.P != dir.End) dir.Fail(QStringLiteral("its directory has stray bytes"));
  if (offset != fileSize) dir.Fail(QStringLiteral("the file has stray bytes at its end"));
}

QByteArray TSnapshotReader::Bytes() const {
  if (!FFile) return FBytes;
  if (!FFile->seek(0))
    throw EReportException(
        QStringLiteral("Cannot read the snapshot %1: %2").arg(FName, FFile->errorString()));
  return FFile->readAll();
}

// A page's stored bytes: a view into the bytes held, or a read of the file.
QByteArray TSnapshotReader::PageBytes(const TPageRef& ref) const {
  if (!FFile) return QByteArray::fromRawData(FBytes.constData() + ref.Offset, ref.Length);
  QByteArray bytes;
  if (FFile->seek(ref.Offset)) bytes = FFile->read(ref.Length);
  return bytes;
}

const TPage& TSnapshotReader::Page(int index) {
  if (index >= 0 && index < FPages.size() && FPages[index].Loaded) return FPages[index].Page;
  TPage page = ReadPage(index);
  TPageRef& ref = FPages[index];
  ref.Page = std::move(page);
  ref.Loaded = true;
  return ref.Page;
}

TPage TSnapshotReader::ReadPage(int index) const {
  if (index < 0 || index >= FPages.size())
    throw EReportException(
        QStringLiteral("The snapshot %1 has no page %2.").arg(FName).arg(index + 1));
  const TPageRef& ref = FPages[index];
  if (ref.Loaded) return ref.Page;
  const QByteArray bytes = PageBytes(ref);
  TReader r(bytes.constData(), bytes.size(), FName);
  if (bytes.size() != qsizetype(ref.Length))
    r.Fail(QStringLiteral("page %1 cannot be read").arg(index + 1));
  if (SnapshotCrc32(bytes.constData(), ref.Length) != ref.Crc)
    r.Fail(QStringLiteral("the checksum of page %1 does not match").arg(index + 1));
  const quint32 count = r.U32();
  r.Need(qsizetype(count) * 18);  // the smallest item takes 18 bytes
  TPage page;
  page.Items.reserve(count);
  for (quint32 i = 0; i < count; ++i) page.Items.append(ReadItem(r, FFonts));
  if (r.P != r.End) r.Fail(QStringLiteral("page %1 has stray bytes").arg(index + 1));
  return page;
}

TReportJob TSnapshotReader::ReadAll() {
  TReportJob job;
  job.PageWidth = FWidth;
  job.PageHeight = FHeight;
  job.Title = FTitle;
  job.Pages.reserve(FPages.size());
  for (int i = 0; i < FPages.size(); ++i) job.Pages.append(Page(i));
  return job;
}

// ---- whole files
// ----------------------------------------------------------------------------------

TReportJob ParseSnapshot(const QByteArray& bytes) {
  TSnapshotReader reader;
  reader.OpenBytes(bytes);
  return reader.ReadAll();
}

TReportJob LoadSnapshot(const QString& fileName) {
  TSnapshotReader reader;
  reader.Open(fileName);
  return reader.ReadAll();
}

void SaveSnapshot(const TReportJob& job, const QString& fileName) {
  const QByteArray bytes = SnapshotBytes(job);
  WriteReportFile(fileName, [&](QIODevice& device) { device.write(bytes); });
}
