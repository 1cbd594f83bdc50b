#include "exchange/Csv.h"

#include <QStringDecoder>
#include <array>

#include "platform/Services.h"

namespace {
const QByteArray kUtf8Bom("\xEF\xBB\xBF");
constexpr char16_t kDosEof = 0x1A;

// The upper half of Mac Roman (bytes 0x80 to 0xFF); the lower half is ASCII.
constexpr std::array<char16_t, 128> kMacRoman = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3,
    0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3,
    0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA,
    0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D,
    0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE,
    0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7};

QString FromMacRoman(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out.append(QChar(b < 0x80 ? char16_t(b) : kMacRoman[b - 0x80]));
  }
  return out;
}

// The length of the UTF-8 sequence at p (up to end), or 0 when it is not one: overlong forms,
// surrogates and code points past U+10FFFF are not UTF-8.
int Utf8SequenceLength(const unsigned char* p, const unsigned char* end) {
  const unsigned char b = p[0];
  int n = 0;
  char32_t min = 0, cp = 0;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2, min = 0x80, cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3, min = 0x800, cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4, min = 0x10000, cp = b & 0x07;
  } else {
    return 0;
  }
  if (end - p < n) return 0;
  for (int i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

// How the bytes fare as UTF-8: the lines (1-based) that are not, and whether any line holds a
// character beyond ASCII that is.
struct TUtf8Scan {
  std::vector<int> BadLines;
  bool HasMultibyte = false;
};

TUtf8Scan ScanUtf8(const QByteArray& bytes) {
  TUtf8Scan scan;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  const unsigned char* end = p + bytes.size();
  int line = 1;
  bool lineBad = false;
  while (p < end) {
    const unsigned char b = *p;
    if (b < 0x80) {
      // A line ends with LF, CR LF or a lone CR, as the reader counts lines.
      if (b == '\n' || (b == '\r' && (p + 1 == end || p[1] != '\n'))) {
        ++line;
        lineBad = false;
      }
      ++p;
      continue;
    }
    const int n = lineBad ? 0 : Utf8SequenceLength(p, end);
    if (n > 0) {
      scan.HasMultibyte = true;
      p += n;
      continue;
    }
    if (!lineBad) scan.BadLines.push_back(line);
    lineBad = true;
    ++p;
  }
  return scan;
}

QByteArray WithoutUtf8Bom(const QByteArray& bytes) {
  return bytes.startsWith(kUtf8Bom) ? bytes.mid(kUtf8Bom.size()) : bytes;
}

// UTF-8 but for the lines given, which are read as Windows-1252.
QString DecodeMixedUtf8(const QByteArray& body, const std::vector<int>& badLines) {
  QString text;
  text.reserve(body.size());
  qsizetype start = 0;
  int line = 1;
  size_t nextBad = 0;
  while (start <= body.size()) {
    qsizetype end = start;
    while (end < body.size() && body[end] != '\n' && body[end] != '\r') ++end;
    if (end < body.size())
      end += body[end] == '\r' && end + 1 < body.size() && body[end + 1] == '\n' ? 2 : 1;
    const QByteArray part = body.mid(start, end - start);
    const bool bad = nextBad < badLines.size() && badLines[nextBad] == line;
    if (bad) ++nextBad;
    text += bad ? FromWin1252(part) : QString::fromUtf8(part);
    if (end >= body.size()) break;
    start = end;
    ++line;
  }
  return text;
}

QString DecodeUtf16(const QByteArray& bytes, bool littleEndian) {
  const bool bom = bytes.size() >= 2 &&
                   (littleEndian ? bytes.startsWith("\xFF\xFE") : bytes.startsWith("\xFE\xFF"));
  QStringDecoder decoder(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                         QStringDecoder::Flag::Stateless);
  return decoder.decode(bom ? bytes.mid(2) : bytes);
}

int CountOutsideQuotes(const QString& line, QChar separator) {
  int count = 0;
  bool quoted = false;
  for (QChar c : line) {
    if (c == QLatin1Char('"'))
      quoted = !quoted;
    else if (c == separator && !quoted)
      ++count;
  }
  return count;
}

bool IsLineEnd(QChar c) {
  return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// Steps over one line end (LF, CR LF or a lone CR) at pos, counting it.
void SkipLineEnd(const QString& text, qsizetype& pos, int& line) {
  const qsizetype n = text.size();
  if (pos < n && text[pos] == QLatin1Char('\r')) {
    ++pos;
    if (pos < n && text[pos] == QLatin1Char('\n')) ++pos;
    ++line;
  } else if (pos < n && text[pos] == QLatin1Char('\n')) {
    ++pos;
    ++line;
  }
}

// Reads one field from text at pos; pos ends on the separator, the line end or the text's end.
QString ReadField(const QString& text, qsizetype& pos, QChar separator, int& line) {
  const qsizetype n = text.size();
  if (pos < n && text[pos] == QLatin1Char('"')) {
    QString field;
    ++pos;
    while (pos < n) {
      const QChar c = text[pos];
      if (c == QLatin1Char('"')) {
        if (pos + 1 < n && text[pos + 1] == QLatin1Char('"')) {
          field += c;
          pos += 2;
          continue;
        }
        ++pos;
        break;
      }
      if (c == QLatin1Char('\n') ||
          (c == QLatin1Char('\r') && (pos + 1 == n || text[pos + 1] != QLatin1Char('\n'))))
        ++line;
      field += c;
      ++pos;
    }
    // Anything between the closing quote and the separator belongs to the field as written.
    while (pos < n && text[pos] != separator && !IsLineEnd(text[pos])) field += text[pos++];
    return field;
  }
  const qsizetype start = pos;
  while (pos < n && text[pos] != separator && !IsLineEnd(text[pos])) ++pos;
  return text.mid(start, pos - start);
}

bool IsBlankCell(const QString& cell) {
  for (QChar c : cell)
    if (!c.isSpace()) return false;
  return true;
}

// Cells after the last one with content say nothing; a sheet's used range can run them out to
// thousands of columns on every row.
void DropTrailingBlanks(QStringList& cells) {
  qsizetype last = cells.size();
  while (last > 0 && IsBlankCell(cells[last - 1])) --last;
  cells.resize(last);
}

struct TEncodingName {
  TCsvEncoding Encoding;
  const char* Name;
  std::initializer_list<const char*> Aliases;  // squeezed: lower case, no dashes or spaces
};

const TEncodingName kEncodingNames[] = {
    {TCsvEncoding::Utf8, "UTF-8", {"utf8"}},
    {TCsvEncoding::Utf16LE, "UTF-16LE", {"utf16le", "utf16", "unicode"}},
    {TCsvEncoding::Utf16BE, "UTF-16BE", {"utf16be"}},
    {TCsvEncoding::Windows1252, "Windows-1252", {"windows1252", "cp1252", "ansi"}},
    {TCsvEncoding::MacRoman, "Mac Roman", {"macroman", "macintosh", "mac"}},
};
}  // namespace

TCsvEncoding DetectEncoding(const QByteArray& bytes) {
  if (bytes.startsWith("\xFF\xFE")) return TCsvEncoding::Utf16LE;
  if (bytes.startsWith("\xFE\xFF")) return TCsvEncoding::Utf16BE;
  if (bytes.startsWith(kUtf8Bom)) return TCsvEncoding::Utf8;
  // A header begins with a character of the Basic Latin block: in UTF-16 one of its bytes is 0.
  if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0) return TCsvEncoding::Utf16LE;
  if (bytes.size() >= 2 && bytes[0] == 0 && bytes[1] != 0) return TCsvEncoding::Utf16BE;
  const TUtf8Scan scan = ScanUtf8(bytes);
  if (scan.BadLines.empty() || scan.HasMultibyte) return TCsvEncoding::Utf8;
  return TCsvEncoding::Windows1252;
}

TCsvText DecodeCsv(const QByteArray& bytes, TCsvEncoding encoding) {
  TCsvText out;
  switch (encoding) {
    case TCsvEncoding::Utf8: {
      const QByteArray body = WithoutUtf8Bom(bytes);
      TUtf8Scan scan = ScanUtf8(body);
      out.Text =
          scan.BadLines.empty() ? QString::fromUtf8(body) : DecodeMixedUtf8(body, scan.BadLines);
      out.ForeignLines = std::move(scan.BadLines);
      break;
    }
    case TCsvEncoding::Utf16LE:
    case TCsvEncoding::Utf16BE:
      out.Text = DecodeUtf16(bytes, encoding == TCsvEncoding::Utf16LE);
      break;
    case TCsvEncoding::Windows1252:
      out.Text = FromWin1252(bytes);
      break;
    case TCsvEncoding::MacRoman:
      out.Text = FromMacRoman(bytes);
      break;
  }
  // DOS programs closed a text file with Ctrl+Z; it is the end, not a line.
  while (!out.Text.isEmpty() && out.Text.back() == QChar(kDosEof)) out.Text.chop(1);
  return out;
}

QChar DetectSeparator(const QString& text, int skip) {
  qsizetype start = 0;
  QString line;
  while (start < text.size()) {
    qsizetype end = start;
    while (end < text.size() && !IsLineEnd(text[end])) ++end;
    line = text.mid(start, end - start);
    start = end + 1;
    if (IsBlankCell(line)) continue;
    if (skip-- <= 0) break;
  }
  QChar best = QLatin1Char(',');
  int most = 0;
  for (char sep : {',', ';', '\t'}) {
    const int count = CountOutsideQuotes(line, QLatin1Char(sep));
    if (count > most) {
      most = count;
      best = QLatin1Char(sep);
    }
  }
  return best;
}

TCsvFormat DetectCsvFormat(const QByteArray& bytes) {
  TCsvFormat format;
  format.Encoding = DetectEncoding(bytes);
  format.Separator = DetectSeparator(DecodeCsv(bytes, format.Encoding).Text);
  return format;
}

TCsvTable ParseCsv(const QString& text, QChar separator, const TCsvLimits& limits) {
  TCsvTable table;
  const qsizetype n = text.size();
  qsizetype pos = 0;
  int line = 1;
  while (pos < n) {
    TCsvRow row;
    row.Line = line;
    for (;;) {
      row.Cells.append(ReadField(text, pos, separator, line));
      if (row.Cells.size() > limits.MaxColumns) {
        table.Refusal =
            QStringLiteral("Line %1 has more than %2 columns").arg(row.Line).arg(limits.MaxColumns);
        return table;
      }
      if (pos < n && text[pos] == separator) {
        ++pos;
        continue;
      }
      break;
    }
    row.LastLine = line;
    SkipLineEnd(text, pos, line);
    DropTrailingBlanks(row.Cells);
    if (row.Cells.isEmpty()) continue;
    if (int(table.Rows.size()) == limits.MaxRows) {
      table.Refusal = QStringLiteral("The file holds more than %1 rows").arg(limits.MaxRows);
      return table;
    }
    table.Rows.push_back(std::move(row));
  }
  return table;
}

QString CsvLine(const QStringList& cells, QChar separator) {
  QString out;
  for (qsizetype i = 0; i < cells.size(); ++i) {
    if (i > 0) out += separator;
    const QString& c = cells[i];
    const bool quote = c.contains(separator) || c.contains(QLatin1Char('"')) ||
                       c.contains(QLatin1Char('\n')) || c.contains(QLatin1Char('\r'));
    if (!quote) {
      out += c;
      continue;
    }
    QString escaped = c;
    escaped.replace(QLatin1String("\""), QLatin1String("\"\""));
    out += QLatin1Char('"') + escaped + QLatin1Char('"');
  }
  return out + QLatin1String("\r\n");
}

namespace {
bool StartsFormula(QChar c) {
  return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') ||
         c == QLatin1Char('@');
}
}  // namespace

QString SafeCell(const QString& text) {
  if (text.isEmpty() || !StartsFormula(text[0])) return text;
  return QLatin1Char('\'') + text;
}

QString TextOfSafeCell(const QString& cell) {
  if (cell.size() >= 2 && cell[0] == QLatin1Char('\'') && StartsFormula(cell[1]))
    return cell.mid(1);
  return cell;
}

QString EncodingName(TCsvEncoding encoding) {
  for (const TEncodingName& e : kEncodingNames)
    if (e.Encoding == encoding) return QLatin1String(e.Name);
  return {};
}

std::vector<TCsvEncoding> CsvEncodings() {
  std::vector<TCsvEncoding> all;
  for (const TEncodingName& e : kEncodingNames) all.push_back(e.Encoding);
  return all;
}

bool EncodingFromName(const QString& name, TCsvEncoding& encoding) {
  QString n = name.toLower();
  n.remove(QLatin1Char('-')).remove(QLatin1Char('_')).remove(QLatin1Char(' '));
  for (const TEncodingName& e : kEncodingNames)
    for (const char* alias : e.Aliases)
      if (n == QLatin1String(alias)) {
        encoding = e.Encoding;
        return true;
      }
  return false;
}

QString SeparatorName(QChar separator) {
  return separator == QLatin1Char('\t') ? QStringLiteral("tab") : QString(separator);
}

bool SeparatorFromName(const QString& name, QChar& separator) {
  if (name.compare(QLatin1String("tab"), Qt::CaseInsensitive) == 0 || name == QLatin1String("\t")) {
    separator = QLatin1Char('\t');
    return true;
  }
  if (name == QLatin1String(",") || name == QLatin1String(";") || name == QLatin1String("|")) {
    separator = name[0];
    return true;
  }
  return false;
}
