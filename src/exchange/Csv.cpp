#include "exchange/Csv.h"

#include <QStringDecoder>
#include <array>

#include "platform/Services.h"

namespace {
const QByteArray kUtf8Bom("\xEF\xBB\xBF");

QByteArray FirstLine(const QByteArray& bytes) {
  qsizetype end = bytes.indexOf('\n');
  return end < 0 ? bytes : bytes.left(end);
}

int CountOutsideQuotes(const QByteArray& line, char separator) {
  int count = 0;
  bool quoted = false;
  for (char c : line) {
    if (c == '"')
      quoted = !quoted;
    else if (c == separator && !quoted)
      ++count;
  }
  return count;
}

bool IsUtf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8);
  const QString text = decoder.decode(bytes);
  return !decoder.hasError();
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
      if (c == QLatin1Char('\n')) ++line;
      field += c;
      ++pos;
    }
    // Anything between the closing quote and the separator belongs to the field as written.
    while (pos < n && text[pos] != separator && text[pos] != QLatin1Char('\n') &&
           text[pos] != QLatin1Char('\r'))
      field += text[pos++];
    return field;
  }
  const qsizetype start = pos;
  while (pos < n && text[pos] != separator && text[pos] != QLatin1Char('\n') &&
         text[pos] != QLatin1Char('\r'))
    ++pos;
  return text.mid(start, pos - start);
}

bool RowIsEmpty(const QStringList& cells) {
  for (const QString& c : cells)
    if (!c.trimmed().isEmpty()) return false;
  return true;
}
}  // namespace

TCsvFormat DetectCsvFormat(const QByteArray& bytes) {
  TCsvFormat format;
  const QByteArray line = FirstLine(bytes);
  int best = 0;
  for (char sep : {',', ';', '\t'}) {
    const int count = CountOutsideQuotes(line, sep);
    if (count > best) {
      best = count;
      format.Separator = QLatin1Char(sep);
    }
  }
  format.Encoding =
      bytes.startsWith(kUtf8Bom) || IsUtf8(bytes) ? TCsvEncoding::Utf8 : TCsvEncoding::Windows1252;
  return format;
}

QString DecodeCsv(const QByteArray& bytes, TCsvEncoding encoding) {
  if (encoding == TCsvEncoding::Windows1252) return FromWin1252(bytes);
  const QByteArray body = bytes.startsWith(kUtf8Bom) ? bytes.mid(3) : bytes;
  return QString::fromUtf8(body);
}

std::vector<TCsvRow> ParseCsv(const QString& text, QChar separator) {
  std::vector<TCsvRow> rows;
  const qsizetype n = text.size();
  qsizetype pos = 0;
  int line = 1;
  while (pos < n) {
    TCsvRow row;
    row.Line = line;
    for (;;) {
      row.Cells.append(ReadField(text, pos, separator, line));
      if (pos < n && text[pos] == separator) {
        ++pos;
        continue;
      }
      break;
    }
    if (pos < n && text[pos] == QLatin1Char('\r')) ++pos;
    if (pos < n && text[pos] == QLatin1Char('\n')) ++pos;
    ++line;
    if (!RowIsEmpty(row.Cells)) rows.push_back(std::move(row));
  }
  return rows;
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

QString EncodingName(TCsvEncoding encoding) {
  return encoding == TCsvEncoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252");
}

bool EncodingFromName(const QString& name, TCsvEncoding& encoding) {
  QString n = name.toLower();
  n.remove(QLatin1Char('-')).remove(QLatin1Char('_')).remove(QLatin1Char(' '));
  if (n == QLatin1String("utf8")) {
    encoding = TCsvEncoding::Utf8;
    return true;
  }
  if (n == QLatin1String("windows1252") || n == QLatin1String("cp1252") ||
      n == QLatin1String("ansi")) {
    encoding = TCsvEncoding::Windows1252;
    return true;
  }
  return false;
}
