#pragma once
// Payees in and out of spreadsheets. Export writes a payee file as CSV, one column per field of
// the payee record under the record layout's name. Import reads a CSV file of any program's
// making: its columns are mapped to payee fields (by a saved mapping, by name, or by a common
// synonym), every value is converted as users write it and every row passes the checks of the
// payee screen and the form screens; only a file without a single problem is added, all rows
// at once, to the end of the payee file.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "exchange/Csv.h"
#include "storage/RecordLayout.h"

// ---- export ----------------------------------------------------------------------------------

// The form a name stands for ("1099-NEC", "1099nec", "NEC", "1098" ...) as a TFormType.
std::optional<uint8_t> FormTypeFromName(const QString& name);
// The columns of an export: every payee field, or with a form only the common fields and that
// form's, in record order.
QStringList PayeeColumns(std::optional<uint8_t> formType = std::nullopt);
// A field's value as the export writes it: amounts with two decimals, flags true/false, whole
// numbers in decimal, texts (dates, masked numbers) as stored.
QString PayeeCsvValue(const TPayeeRecord& payee, const TFieldDef& field);
// The whole CSV text in UTF-8: the header row, then one row per payee.
QByteArray PayeesToCsv(const std::vector<TPayeeRecord>& payees,
                       std::optional<uint8_t> formType = std::nullopt);
// The payee records of a file; throws EInOutError when it cannot be read or is not whole.
std::vector<TPayeeRecord> ReadPayeeFile(const QString& payeeFile);
// Writes csvFile from payeeFile (through a temporary file renamed over it when whole).
void ExportPayees(const QString& payeeFile, const QString& csvFile,
                  std::optional<uint8_t> formType = std::nullopt);

// ---- import ----------------------------------------------------------------------------------

// How a CSV file is read and where its columns go.
struct TImportSettings {
  std::optional<QChar> Separator;        // detected when not set
  std::optional<TCsvEncoding> Encoding;  // detected when not set
  QHash<QString, QString> Columns;       // header -> payee field; "" ignores the column
  bool Synonyms = false;                 // also match "Vendor", "TIN", "Zip" ...
  QString AmountField;                   // where an "Amount" column goes with synonyms
};

// Reads a saved mapping (JSON: "separator", "encoding", "columns": {header: field or ""});
// throws EConvertError naming what is wrong with it.
TImportSettings LoadImportMapping(const QString& path);
QByteArray ImportMappingJson(const TImportSettings& settings);
void SaveImportMapping(const QString& path, const TImportSettings& settings);

// The payee field a header names: the field's own name (letter case and spaces ignored) or,
// with synonyms, a common name for it; "" when it names none.
QString FieldForHeader(const QString& header, bool synonyms, const QString& amountField = {});

struct TImportProblem {
  int Line = 0;
  QString Column;
  QString Message;
  // "Line 4, column "Tax ID": Payee's Federal ID number is not valid"
  QString Text() const;
};

struct TImportPlan {
  TCsvFormat Format;
  int HeaderLine = 1;
  QStringList Headers;
  QStringList Fields;  // per column: the payee field, "" when ignored
  std::vector<TCsvRow> Rows;
  std::vector<TPayeeRecord> Payees;  // one per row, whole only when there are no problems
  std::vector<TImportProblem> Problems;
  // What the import did otherwise than the file says, one line each: the columns of fields made
  // from others whose text was not used.
  QStringList Notes;
  bool Ok() const { return Problems.empty(); }
  QString Report() const;  // every problem, one line each
};

// Reads, maps, converts and checks every row; writes nothing. The payer record gives the labels
// the form checks look at (the payer's state numbers and localities).
TImportPlan PlanImport(const QByteArray& csv, const TImportSettings& settings,
                       const TPayerRecord& payer);
// Adds the payees after the payee file's records, all or none: the file is copied with them to
// a temporary file that then replaces it. A file another program holds open is refused with
// the "already in use" message; a failed write leaves the file as it was.
void AppendPayees(const QString& payeeFile, const std::vector<TPayeeRecord>& payees);
// The payer record of the pair a payee file belongs to; throws EInOutError when missing.
TPayerRecord ReadPayerOf(const QString& payeeFile);
// Writes bytes to target through a temporary file in its folder, renamed over it when whole and
// on disk; throws EInOutError (the target untouched) when a write fails.
void ReplaceFile(const QString& target, const QByteArray& bytes);
