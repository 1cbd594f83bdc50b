#include "engine/PdfWriter.h"

#include <zlib.h>
#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QIODevice>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <deque>
#include <string>
#include <vector>

#include "engine/Fonts.h"
#include "platform/Exceptions.h"
#include "platform/Services.h"

namespace {
// ---- the standard fonts -------------------------------------------------------------------------

// Glyph names of the WinAnsi codes 0x80..0xFF; empty for the five codes it leaves undefined.
const char* const kHighNames[128] = {"Euro",
                                     "",
                                     "quotesinglbase",
                                     "florin",
                                     "quotedblbase",
                                     "ellipsis",
                                     "dagger",
                                     "daggerdbl",
                                     "circumflex",
                                     "perthousand",
                                     "Scaron",
                                     "guilsinglleft",
                                     "OE",
                                     "",
                                     "Zcaron",
                                     "",
                                     "",
                                     "quoteleft",
                                     "quoteright",
                                     "quotedblleft",
                                     "quotedblright",
                                     "bullet",
                                     "endash",
                                     "emdash",
                                     "tilde",
                                     "trademark",
                                     "scaron",
                                     "guilsinglright",
                                     "oe",
                                     "",
                                     "zcaron",
                                     "Ydieresis",
                                     "space",
                                     "exclamdown",
                                     "cent",
                                     "sterling",
                                     "currency",
                                     "yen",
                                     "brokenbar",
                                     "section",
                                     "dieresis",
                                     "copyright",
                                     "ordfeminine",
                                     "guillemotleft",
                                     "logicalnot",
                                     "hyphen",
                                     "registered",
                                     "macron",
                                     "degree",
                                     "plusminus",
                                     "twosuperior",
                                     "threesuperior",
                                     "acute",
                                     "mu",
                                     "paragraph",
                                     "periodcentered",
                                     "cedilla",
                                     "onesuperior",
                                     "ordmasculine",
                                     "guillemotright",
                                     "onequarter",
                                     "onehalf",
                                     "threequarters",
                                     "questiondown",
                                     "Agrave",
                                     "Aacute",
                                     "Acircumflex",
                                     "Atilde",
                                     "Adieresis",
                                     "Aring",
                                     "AE",
                                     "Ccedilla",
                                     "Egrave",
                                     "Eacute",
                                     "Ecircumflex",
                                     "Edieresis",
                                     "Igrave",
                                     "Iacute",
                                     "Icircumflex",
                                     "Idieresis",
                                     "Eth",
                                     "Ntilde",
                                     "Ograve",
                                     "Oacute",
                                     "Ocircumflex",
                                     "Otilde",
                                     "Odieresis",
                                     "multiply",
                                     "Oslash",
                                     "Ugrave",
                                     "Uacute",
                                     "Ucircumflex",
                                     "Udieresis",
                                     "Yacute",
                                     "Thorn",
                                     "germandbls",
                                     "agrave",
                                     "aacute",
                                     "acircumflex",
                                     "atilde",
                                     "adieresis",
                                     "aring",
                                     "ae",
                                     "ccedilla",
                                     "egrave",
                                     "eacute",
                                     "ecircumflex",
                                     "edieresis",
                                     "igrave",
                                     "iacute",
                                     "icircumflex",
                                     "idieresis",
                                     "eth",
                                     "ntilde",
                                     "ograve",
                                     "oacute",
                                     "ocircumflex",
                                     "otilde",
                                     "odieresis",
                                     "divide",
                                     "oslash",
                                     "ugrave",
                                     "uacute",
                                     "ucircumflex",
                                     "udieresis",
                                     "yacute",
                                     "thorn",
                                     "ydieresis"};

// Glyph names of the printable ASCII codes 0x20..0x7E where they are not the character itself.
const char* const kLowNames[95] = {"space",       "exclam",
                                   "quotedbl",    "numbersign",
                                   "dollar",      "percent",
                                   "ampersand",   "quotesingle",
                                   "parenleft",   "parenright",
                                   "asterisk",    "plus",
                                   "comma",       "hyphen",
                                   "period",      "slash",
                                   "zero",        "one",
                                   "two",         "three",
                                   "four",        "five",
                                   "six",         "seven",
                                   "eight",       "nine",
                                   "colon",       "semicolon",
                                   "less",        "equal",
                                   "greater",     "question",
                                   "at",          "A",
                                   "B",           "C",
                                   "D",           "E",
                                   "F",           "G",
                                   "H",           "I",
                                   "J",           "K",
                                   "L",           "M",
                                   "N",           "O",
                                   "P",           "Q",
                                   "R",           "S",
                                   "T",           "U",
                                   "V",           "W",
                                   "X",           "Y",
                                   "Z",           "bracketleft",
                                   "backslash",   "bracketright",
                                   "asciicircum", "underscore",
                                   "grave",       "a",
                                   "b",           "c",
                                   "d",           "e",
                                   "f",           "g",
                                   "h",           "i",
                                   "j",           "k",
                                   "l",           "m",
                                   "n",           "o",
                                   "p",           "q",
                                   "r",           "s",
                                   "t",           "u",
                                   "v",           "w",
                                   "x",           "y",
                                   "z",           "braceleft",
                                   "bar",         "braceright",
                                   "asciitilde"};

const char* GlyphName(int code) {
  if (code >= 0x20 && code <= 0x7E) return kLowNames[code - 0x20];
  if (code >= 0x80) return kHighNames[code - 0x80];
  return "";
}

// A program font name, the standard family that draws it and the URW files with its metrics.
struct TFamily {
  const char* Name;
  const char* Base[4];  // regular, bold, italic, bold italic
  const char* Afm[4];
};
constexpr TFamily kFamilies[] = {
    {"Arial",
     {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique"},
     {"NimbusSans-Regular", "NimbusSans-Bold", "NimbusSans-Italic", "NimbusSans-BoldItalic"}},
    {"Courier New",
     {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"},
     {"NimbusMonoPS-Regular", "NimbusMonoPS-Bold", "NimbusMonoPS-Italic",
      "NimbusMonoPS-BoldItalic"}},
    {"Times New Roman",
     {"Times-Roman", "Times-Bold", "Times-Italic", "Times-BoldItalic"},
     {"NimbusRoman-Regular", "NimbusRoman-Bold", "NimbusRoman-Italic", "NimbusRoman-BoldItalic"}},
};
constexpr int kFaceCount = int(std::size(kFamilies)) * 4;

// Index 0..kFaceCount-1 of the standard face drawing a font, or -1.
int FaceOf(const TFontSpec& font) {
  for (int f = 0; f < int(std::size(kFamilies)); ++f)
    if (font.Name.compare(QLatin1String(kFamilies[f].Name), Qt::CaseInsensitive) == 0)
      return f * 4 + (font.Bold() ? 1 : 0) + (font.Italic() ? 2 : 0);
  return -1;
}

const char* BaseFontName(int face) {
  return kFamilies[face / 4].Base[face % 4];
}

// Advance widths in thousandths of the size for the 256 WinAnsi codes, from the URW metric files
// (the same outlines the standard fonts are drawn with). Empty when the file is missing.
struct TMetrics {
  std::array<int, 256> Widths{};
  int UnderlinePosition = -100, UnderlineThickness = 50;
  bool Valid = false;
};

int AfmNumber(const QByteArray& line, const char* key) {
  const int at = line.indexOf(key);
  if (at < 0) return 0;
  return line.mid(at + int(qstrlen(key))).trimmed().split(' ').value(0).toInt();
}

TMetrics LoadMetrics(int face) {
  TMetrics m;
  QFile file(QStringLiteral("/usr/share/fonts/type1/urw-base35/%1.afm")
                 .arg(QLatin1String(kFamilies[face / 4].Afm[face % 4])));
  if (!file.open(QIODevice::ReadOnly)) return m;
  QHash<QByteArray, int> byName;
  while (!file.atEnd()) {
    const QByteArray line = file.readLine().trimmed();
    if (line.startsWith("UnderlinePosition "))
      m.UnderlinePosition = AfmNumber(line, "UnderlinePosition ");
    else if (line.startsWith("UnderlineThickness "))
      m.UnderlineThickness = AfmNumber(line, "UnderlineThickness ");
    if (!line.startsWith("C ")) continue;
    const int n = line.indexOf("; N ");
    if (n < 0) continue;
    const QByteArray name = line.mid(n + 4).split(' ').value(0).trimmed();
    byName.insert(name, AfmNumber(line, "WX "));
  }
  const int space = byName.value("space", 250);
  for (int code = 0; code < 256; ++code)
    m.Widths[code] = byName.value(QByteArray(GlyphName(code)), space);
  m.Valid = !byName.isEmpty();
  return m;
}

const TMetrics& Metrics(int face) {
  static std::array<TMetrics, kFaceCount> cache;
  static std::array<bool, kFaceCount> loaded{};
  if (!loaded[face]) {
    cache[face] = LoadMetrics(face);
    loaded[face] = true;
  }
  return cache[face];
}

// ---- numbers and strings ------------------------------------------------------------------------

// Two decimals of a point (1/7200 inch) is finer than any printer; trailing zeros are dropped.
void Num(std::string& out, double v) {
  char buf[32];
  if (std::fabs(v) < 0.005) v = 0;
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
  if (ec != std::errc()) end = buf + std::snprintf(buf, sizeof buf, "%.2f", v);
  char* p = end;
  while (p > buf && p[-1] == '0') --p;
  if (p > buf && p[-1] == '.') --p;
  out.append(buf, size_t(p - buf));
  out.push_back(' ');
}

void Int(std::string& out, long long v) {
  char buf[24];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  (void)ec;
  out.append(buf, size_t(end - buf));
}

void Color(std::string& out, quint32 rgb, const char* op) {
  Num(out, ((rgb >> 16) & 0xFF) / 255.0);
  Num(out, ((rgb >> 8) & 0xFF) / 255.0);
  Num(out, (rgb & 0xFF) / 255.0);
  out.append(op);
}

// A literal string: the WinAnsi bytes with the three special characters escaped.
void PdfString(std::string& out, const QByteArray& bytes) {
  out.push_back('(');
  for (const char c : bytes) {
    if (c == '(' || c == ')' || c == '\\') out.push_back('\\');
    if (c == '\r') {
      out.append("\\r");
      continue;
    }
    out.push_back(c);
  }
  out.push_back(')');
}

// Document information strings: plain ASCII as is, anything else as UTF-16 with its mark.
std::string InfoString(const QString& text) {
  bool ascii = true;
  for (const QChar c : text) ascii = ascii && c.unicode() >= 0x20 && c.unicode() < 0x7F;
  std::string out;
  if (ascii) {
    PdfString(out, text.toLatin1());
    return out;
  }
  out = "<FEFF";
  char hex[8];
  for (const QChar c : text) {
    std::snprintf(hex, sizeof hex, "%04X", unsigned(c.unicode()));
    out.append(hex);
  }
  out.push_back('>');
  return out;
}

QString Xml(const QString& text) {
  return text.toHtmlEscaped();
}

}  // namespace

// Subject, author and producer also go into the XMP metadata, where PDF readers look for them.
QByteArray PdfXmpMetadata(const TPdfInfo& info) {
  const QString alt =
      QStringLiteral("<rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt>");
  QString xmp = QStringLiteral(
      "<?xpacket begin=\"\xFEFF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
      "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
      "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
      "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
      "xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n");
  xmp += QStringLiteral("<dc:title>%1</dc:title>\n").arg(alt.arg(Xml(info.Title)));
  if (!info.Subject.isEmpty())
    xmp += QStringLiteral("<dc:description>%1</dc:description>\n").arg(alt.arg(Xml(info.Subject)));
  xmp += QStringLiteral(
             "<dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n"
             "<pdf:Producer>%1</pdf:Producer>\n<xmp:CreatorTool>%1</xmp:CreatorTool>\n")
             .arg(Xml(info.Creator));
  xmp += QStringLiteral("</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>");
  return xmp.toUtf8();
}

namespace {
// ---- the face shared by the pages ---------------------------------------------------------------

size_t ItemHash(const TDisplayItem& i) {
  return qHashMulti(0, int(i.Kind), i.X, i.Y, i.X2, i.Y2, i.PenWidth, i.Radius, i.Color,
                    i.FillColor, i.Text, i.Font.Name, i.Font.Size, i.Font.Style, i.Font.Color) ^
         (size_t(i.Outline) << 1) ^ (size_t(i.Filled) << 2) ^ (size_t(i.Align) << 3);
}

// A multiset of items that finds, for each item of a page, an equal one not matched yet.
class TItemSet {
 public:
  void Assign(std::vector<TDisplayItem> items) {
    FItems = std::move(items);
    FIndex.clear();
    for (int i = 0; i < int(FItems.size()); ++i) FIndex.insert(ItemHash(FItems[i]), i);
  }
  const std::vector<TDisplayItem>& Items() const { return FItems; }
  int Size() const { return int(FItems.size()); }

  // Marks in inSet the page's items matched by one of the set's; returns how many matched.
  int Match(const QList<TDisplayItem>& page, std::vector<char>& inSet) const {
    std::vector<char> used(FItems.size(), 0);
    inSet.assign(size_t(page.size()), 0);
    int matched = 0;
    for (int p = 0; p < page.size(); ++p) {
      for (auto it = FIndex.constFind(ItemHash(page[p]));
           it != FIndex.cend() && it.key() == ItemHash(page[p]); ++it) {
        if (used[size_t(*it)] || !(FItems[size_t(*it)] == page[p])) continue;
        used[size_t(*it)] = 1;
        inSet[size_t(p)] = 1;
        ++matched;
        break;
      }
    }
    return matched;
  }

 private:
  std::vector<TDisplayItem> FItems;
  QMultiHash<size_t, int> FIndex;
};

// Pages looked at before the faces are settled: what the pages of one layout among them share is
// that layout's face (enough for a few copies of each when copies and instructions alternate).
constexpr int kLearnPages = 8;
// Layouts given a face of their own: a copy, its instructions, a summary page.
constexpr int kMaxFaces = 4;
// A face smaller than this is not worth a form object.
constexpr int kMinFaceItems = 8;
// The faces of the pages looked at, one per layout: a page joins the first layout whose common
// items it shares enough of and narrows them to what it shares; a page of another layout (a
// copy's instructions between two copies) starts one of its own. A layout seen once, or sharing
// too little, has no face.
std::vector<std::vector<TDisplayItem>> LayoutFaces(
    const std::vector<std::vector<TDisplayItem>>& pages) {
  struct TGroup {
    std::vector<TDisplayItem> Common;
    int Alike = 0;
  };
  std::vector<TGroup> groups;
  std::vector<char> in;
  for (const std::vector<TDisplayItem>& items : pages) {
    TItemSet page;
    page.Assign(items);
    auto joins = [&](TGroup& g) {
      return page.Match(QList<TDisplayItem>(g.Common.begin(), g.Common.end()), in) >= kMinFaceItems;
    };
    auto group = std::find_if(groups.begin(), groups.end(), joins);
    if (group == groups.end()) {
      if (int(groups.size()) < kMaxFaces) groups.push_back({items, 0});
      continue;
    }
    std::vector<TDisplayItem> kept;
    for (size_t i = 0; i < in.size(); ++i)
      if (in[i]) kept.push_back(std::move(group->Common[i]));
    group->Common = std::move(kept);
    ++group->Alike;
  }
  std::vector<std::vector<TDisplayItem>> faces;
  for (TGroup& g : groups)
    if (g.Alike > 0 && int(g.Common.size()) >= kMinFaceItems) faces.push_back(std::move(g.Common));
  return faces;
}

// zlib level of the page streams; 1 compresses these streams within a few per cent of 6 in a
// fraction of the time (bench_engine prints both).
int CompressionLevel() {
  static const int level = [] {
    const int v = qEnvironmentVariableIntValue("PAPYRA_PDF_ZLIB_LEVEL");
    return v >= 1 && v <= 9 ? v : 1;
  }();
  return level;
}
}  // namespace

bool TPdfWriter::CanDraw(const TFontSpec& font) {
  return FaceOf(font) >= 0;
}

bool TPdfWriter::CanDraw(const TReportJob& job) {
  for (const TPage& page : job.Pages)
    for (const TDisplayItem& item : page.Items)
      if (item.Kind == TItemKind::Text && !item.PreviewOnly && !CanDraw(item.Font)) return false;
  return true;
}

double PdfTextWidthInches(const TFontSpec& font, const QString& text) {
  const int face = FaceOf(font);
  if (face < 0 || !Metrics(face).Valid) return TextWidthInches(font, text);
  const TMetrics& m = Metrics(face);
  long units = 0;
  for (const char c : ToWin1252(text)) units += m.Widths[quint8(c)];
  return units * font.Size / 1000.0 / 72.0;
}

// ---- the writer ---------------------------------------------------------------------------------

class TPdfWriter::TImpl {
 public:
  TImpl(QIODevice& out, const QString& name, const TPdfInfo& info, double w, double h)
      : Out(out), Name(name), Info(info), Width(w), Height(h) {
    Put("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    Offsets.resize(kFirstPage, 0);
  }

  void AddPage(const TPage& page) {
    std::vector<TDisplayItem> items;
    items.reserve(size_t(page.Items.size()));
    for (const TDisplayItem& i : page.Items)
      if (!i.PreviewOnly) items.push_back(i);
    if (Learning) {
      Pending.push_back(std::move(items));
      if (int(Pending.size()) == kLearnPages) SettleFaces();
      return;
    }
    WritePage(items);
  }

  void Finish() {
    if (Learning) SettleFaces();
    if (PagesWritten == 0) WritePage({});
    WriteFonts();
    WriteResources();
    WritePageTree();
    WriteInfo();
    WriteTrailer();
    Flush();
  }

  int PageCount() const { return PagesWritten + int(Pending.size()); }

 private:
  // Fixed numbers for the document's own objects, the face and every standard font (those not
  // used stay free); the pages follow, each as its content stream and then its page object,
  // so a page's number is known from its index and no list of pages is kept.
  static constexpr int kCatalog = 1, kPages = 2, kInfo = 3, kMetadata = 4, kResources = 5,
                       kFirstFace = 6, kFirstFont = kFirstFace + kMaxFaces,
                       kFirstPage = kFirstFont + kFaceCount;

  // ---- output -----------------------------------------------------------------------------------
  void Put(const char* text) { Buffer.append(text); }
  void Put(const std::string& text) { Buffer.append(text); }
  void PutRaw(const char* data, size_t n) { Buffer.append(data, n); }
  void MaybeFlush() {
    if (Buffer.size() >= (size_t(1) << 16)) Flush();
  }
  void Flush() {
    if (Buffer.empty()) return;
    if (Out.write(Buffer.data(), qint64(Buffer.size())) != qint64(Buffer.size()))
      throw EReportException(
          QStringLiteral("Cannot write \"%1\": %2").arg(Name, Out.errorString()));
    Written += qint64(Buffer.size());
    Buffer.clear();
  }
  qint64 Position() const { return Written + qint64(Buffer.size()); }
  int NewObject() {
    Offsets.push_back(0);
    return int(Offsets.size()) - 1;
  }
  void BeginObject(int id) {
    Offsets[size_t(id)] = Position();
    std::string head;
    Int(head, id);
    head.append(" 0 obj\n");
    Put(head);
  }
  void EndObject() {
    Put("endobj\n");
    MaybeFlush();
  }
  static std::string Ref(int id) {
    std::string r;
    Int(r, id);
    r.append(" 0 R");
    return r;
  }

  // A stream object with the given dictionary entries; data compressed when compress is set.
  void WriteStream(int id, const std::string& dict, const std::string& data, bool compress) {
    const char* bytes = data.data();
    size_t length = data.size();
    if (compress) {
      uLongf size = compressBound(uLong(data.size()));
      Packed.resize(size);
      if (compress2(reinterpret_cast<Bytef*>(Packed.data()), &size,
                    reinterpret_cast<const Bytef*>(data.data()), uLong(data.size()),
                    CompressionLevel()) != Z_OK)
        throw EReportException(QStringLiteral("Cannot compress a page of \"%1\".").arg(Name));
      bytes = Packed.data();
      length = size;
    }
    BeginObject(id);
    std::string head = "<<";
    head.append(dict);
    if (compress) head.append(" /Filter /FlateDecode");
    head.append(" /Length ");
    Int(head, static_cast<long long>(length));
    head.append(" >>\nstream\n");
    Put(head);
    PutRaw(bytes, length);
    Put("\nendstream\n");
    EndObject();
  }

  // ---- the face ---------------------------------------------------------------------------------
  void SettleFaces() {
    Learning = false;
    for (std::vector<TDisplayItem>& face : LayoutFaces(Pending)) {
      Faces.emplace_back();
      Faces.back().Assign(std::move(face));
      WriteFace(int(Faces.size()) - 1);
    }
    std::vector<std::vector<TDisplayItem>> pages = std::move(Pending);
    Pending.clear();
    for (const auto& page : pages) WritePage(page);
  }

  void WriteFace(int index) {
    Ops.clear();
    BeginContent();
    for (const TDisplayItem& i : Faces[size_t(index)].Items()) Item(i);
    EndContent();
    std::string dict = " /Type /XObject /Subtype /Form /BBox [0 0 ";
    Num(dict, Width * 72);
    Num(dict, Height * 72);
    dict.append("] /Resources ");
    dict.append(Ref(kResources));
    WriteStream(kFirstFace + index, dict, Ops, true);
  }

  // The face whose every item the page draws, the one that served the last page tried first
  // (copies of one layout come in runs); -1 when none does.
  int FaceFor(const QList<TDisplayItem>& list) {
    const int count = int(Faces.size());
    for (int k = 0; k < count; ++k) {
      const int face = (LastFace + k) % count;
      if (Faces[size_t(face)].Match(list, InFace) == Faces[size_t(face)].Size()) {
        LastFace = face;
        return face;
      }
    }
    return -1;
  }

  // ---- pages ------------------------------------------------------------------------------------
  void WritePage(const std::vector<TDisplayItem>& items) {
    const QList<TDisplayItem> list(items.begin(), items.end());
    const int face = FaceFor(list);
    const bool useFace = face >= 0;
    Ops.clear();
    if (useFace) {
      Ops.append("/Fm");
      Int(Ops, face + 1);
      Ops.append(" Do\n");
    }
    BeginContent();
    for (size_t i = 0; i < items.size(); ++i)
      if (!useFace || !InFace[i]) Item(items[i]);
    EndContent();
    const int contents = NewObject();
    WriteStream(contents, "", Ops, true);
    const int pageId = NewObject();
    BeginObject(pageId);
    std::string page = "<< /Type /Page /Parent ";
    page.append(Ref(kPages));
    page.append(" /MediaBox [0 0 ");
    Num(page, Width * 72);
    Num(page, Height * 72);
    page.append("] /Resources ");
    page.append(Ref(kResources));
    page.append(" /Contents ");
    page.append(Ref(contents));
    page.append(" >>\n");
    Put(page);
    EndObject();
    ++PagesWritten;
  }

  // ---- drawing ----------------------------------------------------------------------------------
  void BeginContent() {
    // Square caps and mitred joins, as the screen and the printer draw rules.
    Ops.append("2 J 0 j\n");
    Stroke = Fill = 0xFFFFFFFF;
    LineWidth = -1;
    InText = false;
    TextFace = -1;
    TextSize = -1;
  }
  void EndContent() { EndText(); }

  double X(double inches) const { return inches * 72; }
  double Y(double inches) const { return (Height - inches) * 72; }

  void SetStroke(quint32 rgb) {
    if (rgb == Stroke) return;
    Color(Ops, rgb, "RG\n");
    Stroke = rgb;
  }
  void SetFill(quint32 rgb) {
    if (rgb == Fill) return;
    Color(Ops, rgb, "rg\n");
    Fill = rgb;
  }
  // A width of zero still draws the thinnest line the old engine drew (one dot at 1200 dpi).
  void SetLineWidth(double inches) {
    const double points = std::max(inches, 1.0 / Info.Resolution) * 72;
    if (points == LineWidth) return;
    Num(Ops, points);
    Ops.append("w\n");
    LineWidth = points;
  }
  void EndText() {
    if (!InText) return;
    Ops.append("ET\n");
    InText = false;
  }

  void Item(const TDisplayItem& i) {
    if (i.Kind != TItemKind::Text) EndText();
    switch (i.Kind) {
      case TItemKind::Text:
        return Text(i);
      case TItemKind::Line:
        return Line(i);
      case TItemKind::Rect:
        return Box(i);
      case TItemKind::Bar:
        SetFill(clBlack);
        return Rectangle(i, "f\n");
    }
  }

  void Line(const TDisplayItem& i) {
    SetStroke(i.Color);
    SetLineWidth(i.PenWidth);
    Num(Ops, X(i.X));
    Num(Ops, Y(i.Y));
    Ops.append("m ");
    Num(Ops, X(i.X2));
    Num(Ops, Y(i.Y2));
    Ops.append("l S\n");
  }

  void Rectangle(const TDisplayItem& i, const char* paint) {
    Num(Ops, X(i.X));
    Num(Ops, Y(i.Y2));
    Num(Ops, X(i.X2) - X(i.X));
    Num(Ops, Y(i.Y) - Y(i.Y2));
    Ops.append("re ");
    Ops.append(paint);
  }

  // The same choices as the screen: a box without outline or rounding is a plain fill of its
  // fill colour; otherwise the outline and, when filled, the inside.
  void Box(const TDisplayItem& i) {
    if (!i.Outline && i.Radius <= 0) {
      SetFill(i.FillColor);
      return Rectangle(i, "f\n");
    }
    if (!i.Outline && !i.Filled) return;
    if (i.Outline) {
      SetStroke(i.Color);
      SetLineWidth(i.PenWidth);
    }
    if (i.Filled) SetFill(i.FillColor);
    const char* paint = i.Outline ? (i.Filled ? "B\n" : "S\n") : "f\n";
    if (i.Radius <= 0) return Rectangle(i, paint);
    RoundedPath(i);
    Ops.append(paint);
  }

  void RoundedPath(const TDisplayItem& i) {
    const double l = X(i.X), r = X(i.X2), t = Y(i.Y), b = Y(i.Y2);
    const double rad = std::min({i.Radius * 72, (r - l) / 2, (t - b) / 2});
    const double k = rad * 0.4477;  // control point distance from the corner (1 - 0.5523)
    auto pt = [this](double x, double y) {
      Num(Ops, x);
      Num(Ops, y);
    };
    pt(l + rad, t);
    Ops.append("m ");
    pt(r - rad, t);
    Ops.append("l ");
    pt(r - k, t), pt(r, t - k), pt(r, t - rad);
    Ops.append("c ");
    pt(r, b + rad);
    Ops.append("l ");
    pt(r, b + k), pt(r - k, b), pt(r - rad, b);
    Ops.append("c ");
    pt(l + rad, b);
    Ops.append("l ");
    pt(l + k, b), pt(l, b + k), pt(l, b + rad);
    Ops.append("c ");
    pt(l, t - rad);
    Ops.append("l ");
    pt(l, t - k), pt(l + k, t), pt(l + rad, t);
    Ops.append("c h ");
  }

  int FontResource(int face) {
    FontUsed[size_t(face)] = true;
    return face + 1;
  }

  void Text(const TDisplayItem& i) {
    const int face = std::max(0, FaceOf(i.Font));
    const QByteArray bytes = ToWin1252(i.Text);
    double x = i.X;
    if (i.Align != TAlign::Left) {
      const double w = PdfTextWidthInches(i.Font, i.Text);
      x -= i.Align == TAlign::Right ? w : w / 2;
    }
    if (!InText) {
      Ops.append("BT\n");
      InText = true;
      TextFace = -1;
    }
    SetFill(i.Font.Color);
    if (face != TextFace || i.Font.Size != TextSize) {
      Ops.append("/F");
      Int(Ops, FontResource(face));
      Ops.push_back(' ');
      Num(Ops, i.Font.Size);
      Ops.append("Tf\n");
      TextFace = face;
      TextSize = i.Font.Size;
    }
    Ops.append("1 0 0 1 ");
    Num(Ops, X(x));
    Num(Ops, Y(i.Y));
    Ops.append("Tm ");
    PdfString(Ops, bytes);
    Ops.append("Tj\n");
    if (i.Font.Underline() || i.Font.StrikeOut()) Decorations(i, face, x);
  }

  // Underline and strike-out as thin bars in the text's colour.
  void Decorations(const TDisplayItem& i, int face, double x) {
    const TMetrics& m = Metrics(face);
    const double size = i.Font.Size / 72.0;  // inches per em
    const double width = PdfTextWidthInches(i.Font, i.Text);
    const double thick = std::max(m.UnderlineThickness, 1) / 1000.0 * size;
    EndText();
    TDisplayItem bar = TDisplayItem::MakeBar(x, 0, x + width, 0);
    if (i.Font.Underline()) {
      bar.Y = i.Y - (m.UnderlinePosition / 1000.0) * size - thick / 2;
      bar.Y2 = bar.Y + thick;
      SetFill(i.Font.Color);
      Rectangle(bar, "f\n");
    }
    if (i.Font.StrikeOut()) {
      bar.Y = i.Y - 0.25 * size - thick / 2;
      bar.Y2 = bar.Y + thick;
      SetFill(i.Font.Color);
      Rectangle(bar, "f\n");
    }
  }

  // ---- the document's closing objects -----------------------------------------------------------
  void WriteFonts() {
    for (int face = 0; face < kFaceCount; ++face) {
      if (!FontUsed[size_t(face)]) continue;
      BeginObject(kFirstFont + face);
      std::string font = "<< /Type /Font /Subtype /Type1 /BaseFont /";
      font.append(BaseFontName(face));
      font.append(" /Encoding /WinAnsiEncoding >>\n");
      Put(font);
      EndObject();
    }
  }

  void WriteResources() {
    BeginObject(kResources);
    std::string res = "<< /ProcSet [/PDF /Text] /Font <<";
    for (int face = 0; face < kFaceCount; ++face) {
      if (!FontUsed[size_t(face)]) continue;
      res.append(" /F");
      Int(res, face + 1);
      res.push_back(' ');
      res.append(Ref(kFirstFont + face));
    }
    res.append(" >>");
    if (!Faces.empty()) {
      res.append(" /XObject <<");
      for (int k = 0; k < int(Faces.size()); ++k) {
        res.append(" /Fm");
        Int(res, k + 1);
        res.push_back(' ');
        res.append(Ref(kFirstFace + k));
      }
      res.append(" >>");
    }
    res.append(" >>\n");
    Put(res);
    EndObject();
  }

  void WritePageTree() {
    BeginObject(kPages);
    std::string tree = "<< /Type /Pages /Count ";
    Int(tree, PagesWritten);
    tree.append(" /Kids [");
    Put(tree);
    for (int p = 0; p < PagesWritten; ++p) {
      Put(Ref(kFirstPage + 2 * p + 1) + (p % 10 == 9 ? "\n" : " "));
      MaybeFlush();
    }
    Put("] >>\n");
    EndObject();
    BeginObject(kCatalog);
    Put("<< /Type /Catalog /Pages " + Ref(kPages) + " /Metadata " + Ref(kMetadata) + " >>\n");
    EndObject();
    const QByteArray xmp = PdfXmpMetadata(Info);
    WriteStream(kMetadata, " /Type /Metadata /Subtype /XML",
                std::string(xmp.constData(), size_t(xmp.size())), false);
  }

  void WriteInfo() {
    BeginObject(kInfo);
    std::string info = "<< /Title " + InfoString(Info.Title);
    if (!Info.Subject.isEmpty()) info += " /Subject " + InfoString(Info.Subject);
    info += " /Author " + InfoString(Info.Creator) + " /Creator " + InfoString(Info.Creator) +
            " /Producer " + InfoString(Info.Creator);
    const QString now = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
    info += " /CreationDate " + InfoString(QStringLiteral("D:") + now + QLatin1Char('Z'));
    info += " >>\n";
    Put(info);
    EndObject();
  }

  // Numbers reserved and never used (fonts the document does not use, the face of a job
  // without one) are listed free, chained from entry 0 as the format asks.
  int NextFree(size_t after) const {
    for (size_t id = after + 1; id < Offsets.size(); ++id)
      if (Offsets[id] == 0) return int(id);
    return 0;
  }

  void WriteTrailer() {
    const qint64 xref = Position();
    std::string table = "xref\n0 ";
    Int(table, static_cast<long long>(Offsets.size()));
    table.push_back('\n');
    Put(table);
    char entry[24];
    for (size_t id = 0; id < Offsets.size(); ++id) {
      if (id == 0 || Offsets[id] == 0)
        std::snprintf(entry, sizeof entry, "%010d 65535 f \n", NextFree(id));
      else
        std::snprintf(entry, sizeof entry, "%010lld 00000 n \n",
                      static_cast<long long>(Offsets[id]));
      Put(entry);
      MaybeFlush();
    }
    std::string trailer = "trailer\n<< /Size ";
    Int(trailer, static_cast<long long>(Offsets.size()));
    trailer += " /Root " + Ref(kCatalog) + " /Info " + Ref(kInfo) + " >>\nstartxref\n";
    Int(trailer, xref);
    trailer.append("\n%%EOF\n");
    Put(trailer);
  }

  QIODevice& Out;
  QString Name;
  TPdfInfo Info;
  double Width, Height;
  std::string Buffer;  // bytes not yet handed to the device
  qint64 Written = 0;
  std::deque<qint64> Offsets;  // by object number, 0 while not written; grows without copying
  int PagesWritten = 0;
  std::array<bool, kFaceCount> FontUsed{};
  bool Learning = true;
  std::vector<std::vector<TDisplayItem>> Pending;
  std::vector<TItemSet> Faces;  // at most kMaxFaces
  int LastFace = 0;
  std::vector<char> InFace;
  std::string Ops;     // the content stream being built (its capacity is reused)
  std::string Packed;  // its compressed form
  quint32 Stroke = 0, Fill = 0;
  double LineWidth = -1;
  bool InText = false;
  int TextFace = -1;
  double TextSize = -1;
};

TPdfWriter::TPdfWriter(QIODevice& out, const QString& nameForMessages, const TPdfInfo& info,
                       double pageWidth, double pageHeight)
    : D(std::make_unique<TImpl>(out, nameForMessages, info, pageWidth, pageHeight)) {}

TPdfWriter::~TPdfWriter() = default;

void TPdfWriter::AddPage(const TPage& page) {
  D->AddPage(page);
}

void TPdfWriter::Finish() {
  D->Finish();
}

int TPdfWriter::PageCount() const {
  return D->PageCount();
}
