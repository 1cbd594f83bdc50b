#pragma once
// Comma-separated files as spreadsheets and accounting programs write them: a separator of
// comma, semicolon or tab, fields in double quotes where they hold the separator, a quote or a
// line break, lines ended by LF, CR LF or CR; text in UTF-8 (with or without its byte order
// mark), UTF-16 (Excel's "Unicode Text", LibreOffice), Windows-1252 or Mac Roman.
#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <vector>

enum class TCsvEncoding : uint8_t { Utf8, Utf16LE, Utf16BE, Windows1252, MacRoman };

struct TCsvFormat {
  QChar Separator = QLatin1Char(',');
  TCsvEncoding Encoding = TCsvEncoding::Utf8;
};

// One record of the file: the line it starts on (1 = the first line), the line it ends on
// (a quoted cell may hold line breaks), and its cells up to the last one that holds anything,
// as spreadsheets write every row as wide as the widest.
struct TCsvRow {
  int Line = 0;
  int LastLine = 0;
  QStringList Cells;
};

// The text of a file and the lines of a UTF-8 file whose bytes were not UTF-8: those lines are
// in the text as Windows-1252 would read them, for the user to see, and must not be taken.
struct TCsvText {
  QString Text;
  std::vector<int> ForeignLines;
};

// The encoding of the bytes: UTF-16 or UTF-8 by a byte order mark; UTF-16 by the zero bytes of
// its first character; UTF-8 when the bytes are UTF-8, or when they hold UTF-8 characters and
// only some lines are not (those lines are reported, not the whole file read otherwise); else
// Windows-1252. Mac Roman is never guessed, only chosen.
TCsvEncoding DetectEncoding(const QByteArray& bytes);
// The text of the bytes in the encoding, without a byte order mark or a closing DOS end-of-file
// mark (Ctrl+Z).
TCsvText DecodeCsv(const QByteArray& bytes, TCsvEncoding encoding);
// The separator that splits the first line with content after skip such lines into the most
// fields, separators inside quotes not counted; a comma when none splits it.
QChar DetectSeparator(const QString& text, int skip = 0);
// Both, for a file of the encoding the bytes tell.
TCsvFormat DetectCsvFormat(const QByteArray& bytes);

// Reading stops at the first record past MaxRows records with content, or the first with more
// than MaxColumns cells, and says so in Refusal.
struct TCsvLimits {
  int MaxRows = 1 << 30;
  int MaxColumns = 1 << 30;
};
struct TCsvTable {
  std::vector<TCsvRow> Rows;  // records with content; lines that hold nothing are skipped
  QString Refusal;            // why reading stopped early; empty when the whole text was read
};
// The records of the text. An unterminated quoted field runs to the end of the text.
TCsvTable ParseCsv(const QString& text, QChar separator, const TCsvLimits& limits = {});

// One line of fields, quoted where needed, ended by CR LF.
QString CsvLine(const QStringList& cells, QChar separator = QLatin1Char(','));
// A text cell as a spreadsheet must not run it: a text that begins with "=", "+", "-" or "@"
// (a formula to a spreadsheet) gets an apostrophe before it, which TextOfSafeCell takes off.
QString SafeCell(const QString& text);
QString TextOfSafeCell(const QString& cell);

QString EncodingName(TCsvEncoding encoding);  // "UTF-8", "UTF-16LE", "Windows-1252" ...
// Every encoding, in the order the wizard offers them.
std::vector<TCsvEncoding> CsvEncodings();
// The encoding a name stands for, letter case, dashes and spaces ignored ("utf8", "cp1252",
// "windows-1252", "macroman", "utf-16le" ...); false for a name it does not know.
bool EncodingFromName(const QString& name, TCsvEncoding& encoding);
// The name of a separator as the mapping file and the command line write it: "," ";" "tab".
QString SeparatorName(QChar separator);
bool SeparatorFromName(const QString& name, QChar& separator);
