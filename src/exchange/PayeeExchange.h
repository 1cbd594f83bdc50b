#pragma once
// Payees in and out of spreadsheets. Export writes a payee file as CSV, one column per field of
// the payee record under the form's own words for it. Import reads a CSV file of any program's
// making: its columns are mapped to payee fields (by a saved mapping, by the export's names, the
// record's names or a common synonym), every value is converted as users write it, and every row
// passes the checks of the payee screen and the form screens. A row whose payee the file already
// holds (the same taxpayer number; without one, the same name and ZIP code) updates it, is
// skipped or is added, as the user chooses; nothing is written until no row has a problem,
// unless the user asks for the good rows alone.
#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "exchange/Csv.h"
#include "storage/RecordLayout.h"

// The most payees a payee file holds, and so the most rows an import reads.
inline constexpr int kMaxImportRows = 10000;
// The most columns a spreadsheet has (Excel's XFD); a row with more is no spreadsheet's.
inline constexpr int kMaxImportColumns = 16384;

// ---- names -------------------------------------------------------------------------------------

// A field's name in a spreadsheet: the form's own words ("1099-NEC box 1 Nonemployee
// compensation", "Recipient's TIN").
QString ExchangeName(const TFieldDef& field);
// The payee field a header names: its spreadsheet name, its record name ("F1099NEC1") or a
// common synonym ("Vendor", "Tax ID", "Zip"), letter case, spaces and punctuation ignored; a
// column of amounts ("Amount", "Total Paid") goes to amountField. "" when it names none.
QString FieldForHeader(const QString& header, const QString& amountField = {});
// Whether a header says its numbers are social security numbers ("SSN") or employer
// identification numbers ("EIN"), so nine bare digits take that number's dashes.
enum class TTinKind : uint8_t { Either, Ssn, Ein };
TTinKind TinKindOfHeader(const QString& header);

// ---- export ------------------------------------------------------------------------------------

// The form a name stands for ("1099-NEC", "1099nec", "NEC", "1098" ...) as a TFormType.
std::optional<uint8_t> FormTypeFromName(const QString& name);

struct TExportOptions {
  std::optional<uint8_t> FormType;  // only the common fields and this form's; all when not set
  bool FieldNames = false;          // the header in record names ("F1099NEC1") for scripts
  bool ByteOrderMark = false;       // UTF-8 with its byte order mark, as Excel wants it
};
// The fields of an export, in record order.
std::vector<const TFieldDef*> ExportFields(std::optional<uint8_t> formType = std::nullopt);
// A field's value as the export writes it: amounts with two decimals, flags true/false, whole
// numbers in decimal, texts (dates, masked numbers) as stored, guarded against a spreadsheet
// taking them for a formula.
QString PayeeCsvValue(const TPayeeRecord& payee, const TFieldDef& field);
// The whole CSV text in UTF-8: the header row, then one row per payee.
QByteArray PayeesToCsv(const std::vector<TPayeeRecord>& payees, const TExportOptions& options = {});
// The payee records of a file; throws EInOutError when it cannot be read or is not whole.
std::vector<TPayeeRecord> ReadPayeeFile(const QString& payeeFile);
// Writes csvFile from payeeFile (through a temporary file renamed over it when whole).
void ExportPayees(const QString& payeeFile, const QString& csvFile,
                  const TExportOptions& options = {});

// The largest CSV file an import reads: more than an export of kMaxImportRows payees could be,
// even with as many columns again of another program's. A larger file is refused before it is
// read.
qint64 MaxCsvBytes();
// The bytes of a CSV file to import; throws EInOutError when it is missing, not a regular file
// (a folder, a pipe, a device) or larger than MaxCsvBytes.
QByteArray ReadCsvFile(const QString& path);

// ---- import settings ---------------------------------------------------------------------------

// What becomes of a row whose payee the payee file (or an earlier row) already holds.
enum class TExisting : uint8_t {
  Ask,     // nothing is imported while there are such rows; they are listed
  Update,  // the row's non-empty cells replace the payee's values
  Skip,    // the row is left out
  Add,     // the row is added as another payee
};
enum class TDateOrder : uint8_t { MDY, DMY, YMD };

QString ExistingName(TExisting existing);  // "update", "skip", "add"; "" for Ask
bool ExistingFromName(const QString& name, TExisting& existing);
QString DateOrderName(TDateOrder order);  // "MDY", "DMY", "YMD"
bool DateOrderFromName(const QString& name, TDateOrder& order);

// How a CSV file is read and where its columns go.
struct TImportSettings {
  std::optional<QChar> Separator;        // detected when not set
  std::optional<TCsvEncoding> Encoding;  // detected when not set
  std::optional<QChar> Decimal;          // '.' or ','; detected from the amounts when not set
  TDateOrder Dates = TDateOrder::MDY;
  int SkipBefore = 0;               // rows with content above the header row
  int SkipAfter = 0;                // rows with content after the payees (totals, notes)
  QHash<QString, QString> Columns;  // header -> payee field; "" leaves the column out
  QString AmountField;              // where an "Amount" column goes
  TExisting Existing = TExisting::Ask;
  bool RepairLeadingZeros = false;  // "2134" is ZIP code 02134, "12345678" TIN 012345678
  bool GoodRowsOnly = false;        // import the rows without problems, list the others
};

// Reads a saved mapping (JSON, see the README: "separator", "encoding", "decimal", "dates",
// "skip_before", "skip_after", "amount", "existing", "columns": {header: field or ""});
// throws EConvertError naming what is wrong with it.
TImportSettings LoadImportMapping(const QString& path);
TImportSettings ImportMappingFromJson(const QByteArray& json, const QString& shownName);
QByteArray ImportMappingJson(const TImportSettings& settings);
void SaveImportMapping(const QString& path, const TImportSettings& settings);

// ---- the plan ----------------------------------------------------------------------------------

struct TImportProblem {
  int Line = 0;
  QString Column;  // the header of the column, or "" for the whole line
  QString Message;
  int ColumnIndex = -1;  // the column's place in the file, -1 for the whole line
  QString Value;         // the cell's text, when the problem is a cell's
  // "Line 4, column "Tax ID": Payee's Federal ID number is not valid"
  QString Text() const;
};

// A value a spreadsheet has most likely spoilt, and what it was.
struct TRepair {
  int Line = 0;
  int ColumnIndex = 0;
  QString Column;
  QString From;
  QString To;
};

// A row whose payee the payee file already holds, or an earlier row of the file added.
struct TImportMatch {
  int Line = 0;
  int Record = 0;       // the payee's record number in the payee file; 0 for an earlier row
  int EarlierLine = 0;  // the earlier row's line, when the match is one
  QString Name;         // the payee's name
  QString Key;          // what matched: "TIN 12-3456789" or "name and ZIP code 12207"
  QString Text() const;
};

// An existing payee as the import changes it.
struct TPayeeUpdate {
  int Record = 0;  // 1-based
  TPayeeRecord Payee;
  QStringList Changes;  // "1099-NEC box 1 Nonemployee compensation: 1234.50 -> 1500.00"
  QList<int> Lines;     // the rows that changed it
};

struct TImportPlan {
  TCsvFormat Format;
  QChar Decimal = QLatin1Char('.');
  int HeaderLine = 1;
  QStringList Headers;
  QStringList Fields;  // per column: the payee field, "" when left out
  std::vector<TCsvRow> Rows;
  std::vector<TPayeeRecord> Payees;   // the payees to add, whole only when Importable()
  std::vector<int> PayeeLines;        // the row each payee to add comes from
  std::vector<TPayeeUpdate> Updates;  // the existing payees to change
  std::vector<TImportMatch> Matches;  // every row that matched, whatever was chosen
  std::vector<TImportProblem> Problems;
  std::vector<TRepair> Repairs;  // proposed, or made when they were accepted
  QSet<int> BadLines;            // rows (by their first line) with a problem
  QList<int> SkippedLines;       // rows left out as their payee is there already
  // What the import did otherwise than the file says, one line each.
  QStringList Notes;
  std::vector<TPayeeRecord> Before;  // the payee file as the plan found it
  TExisting Choice = TExisting::Ask;
  bool GoodRowsOnly = false;

  // A choice is still wanted for rows whose payee is there already.
  bool NeedsChoice() const { return Choice == TExisting::Ask && !Matches.empty(); }
  // Problems that no row's absence mends: the file, the header, the mapping.
  bool HasFileProblems() const;
  bool Ok() const { return Problems.empty() && !NeedsChoice(); }
  // Whether the import may go ahead as asked: no problem at all, or with the good rows alone
  // none but rows' problems.
  bool Importable() const;
  // The problems, one line each, at most limit of them and a line saying how many more.
  QString Report(int limit = 200) const;
  // "12 rows: 9 new payees, 2 match payees in the file (updated), 1 with problems"
  QString Summary() const;
  // The matches, one line each, at most limit.
  QString MatchReport(int limit = 200) const;
};

// Only reads the file as the settings say: its format, header row and rows, and the problems
// that keep it from being read; nothing is mapped or checked.
TImportPlan ReadImportRows(const QByteArray& csv, const TImportSettings& settings);
// Reads, maps, converts and checks every row, and finds the rows whose payee existing (the
// payee file's records) already holds; writes nothing. The payer record gives the labels the
// form checks look at (the payer's state numbers and localities).
TImportPlan PlanImport(const QByteArray& csv, const TImportSettings& settings,
                       const TPayerRecord& payer, const std::vector<TPayeeRecord>& existing = {});

// Writes what the plan says into the payee file, all at once: the updated payees in their
// places and the new ones after the others. The payee file is locked from the read to the
// replacement; a file another program holds open is refused with the "already in use" message,
// a file that changed since the plan read it is refused, and a failed write leaves the file as
// it was. Throws EInOutError.
void ApplyImport(const QString& payeeFile, const TImportPlan& plan);
// Adds payees after the payee file's records, all or none (ApplyImport of only new payees).
void AppendPayees(const QString& payeeFile, const std::vector<TPayeeRecord>& payees);
// The rows with problems as a CSV file in the input's encoding and separator: the header row
// with a "Problems" column added, then each bad row with its problems; for the user to correct
// and import again.
QByteArray BadRowsCsv(const TImportPlan& plan);
// Where the wizard writes the bad rows: "NAME not imported.csv" beside the input.
QString BadRowsFileFor(const QString& csvFile);
// The payer record of the pair a payee file belongs to; throws EInOutError when missing.
TPayerRecord ReadPayerOf(const QString& payeeFile);
// Writes bytes to target through a temporary file in its folder, renamed over it when whole and
// on disk; throws EInOutError (the target untouched) when a write fails.
void ReplaceFile(const QString& target, const QByteArray& bytes);
