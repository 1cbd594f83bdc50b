#pragma once
// Comma-separated files as spreadsheets and accounting programs write them: a separator of
// comma, semicolon or tab, fields in double quotes where they hold the separator, a quote or a
// line break, lines ended by LF or CR LF, text in UTF-8 or Windows-1252.
#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <vector>

enum class TCsvEncoding : uint8_t { Utf8, Windows1252 };

struct TCsvFormat {
  QChar Separator = QLatin1Char(',');
  TCsvEncoding Encoding = TCsvEncoding::Utf8;
};

// One record of the file and the line it starts on (1 = the first line).
struct TCsvRow {
  int Line = 0;
  QStringList Cells;
};

// The separator that splits the first line into the most fields (outside quotes); the encoding
// UTF-8 when the bytes are valid UTF-8 (or start with its byte order mark), else Windows-1252.
TCsvFormat DetectCsvFormat(const QByteArray& bytes);
// The text of the bytes in the encoding, without a byte order mark.
QString DecodeCsv(const QByteArray& bytes, TCsvEncoding encoding);
// The records of the text; lines that hold nothing are skipped. An unterminated quoted field
// runs to the end of the text.
std::vector<TCsvRow> ParseCsv(const QString& text, QChar separator);
// One line of fields, quoted where needed, ended by CR LF.
QString CsvLine(const QStringList& cells, QChar separator = QLatin1Char(','));

QString EncodingName(TCsvEncoding encoding);  // "UTF-8", "Windows-1252"
// The encoding a name stands for, letter case ignored ("utf8", "cp1252", "windows-1252" ...);
// false for a name it does not know.
bool EncodingFromName(const QString& name, TCsvEncoding& encoding);
