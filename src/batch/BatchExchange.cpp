// papyra-batch export: the payees as a spreadsheet, under the forms' own words or the record's
// names, for every form or one.
// papyra-batch import: payees from a spreadsheet. Rows whose payee the file holds already are
// updated, skipped or added as --existing says, and without it the import is refused and they are
// listed; nothing is written while any row has a problem (unless --bad-rows takes the good rows
// and lists the others); --dry-run says all of it and writes nothing.
#include <QFileInfo>

#include "batch/BatchCommands.h"
#include "core/Utils.h"
#include "exchange/PayeeExchange.h"
#include "forms/FormRegistry.h"
#include "platform/Exceptions.h"
#include "platform/SafeFile.h"
#include "storage/DataModule.h"

namespace {
// A payer file protected by its password is the user's to open in Papyra.
void RefuseProtected(const QString& payeeFile) {
  if (!IsBlank(ReadPayerOf(payeeFile).GetString("FilePassword")))
    throw EInOutError(
        QStringLiteral("%1 is protected by a file password; open it in Papyra").arg(payeeFile));
}

// The payee file the command works on; false (with the reason on err) when it is none.
bool PayeeFileExists(const QString& payeeFile, QTextStream& err) {
  if (QFileInfo(payeeFile).suffix().toUpper() != QLatin1String("PE25")) {
    err << "Not a payee (.PE25) file: " << payeeFile << "\n";
    return false;
  }
  // A folder, a pipe or a device is refused with what it is, not waited on.
  CheckRegularFile(payeeFile);
  return true;
}

constexpr const char* kExportUsage =
    "export FILE.PE25 --csv OUT.csv [--form FORM|all] [--header words|fields] [--bom] [--force]";
constexpr const char* kImportUsage =
    "import FILE.PE25 --csv IN.csv [--map MAP.json] [--existing update|skip|add] [--dry-run] "
    "[--repair-leading-zeros] [--bad-rows BAD.csv] [--encoding ENCODING] [--separator "
    ",|;|tab|\"|\"] "
    "[--decimal .|,] [--dates MDY|DMY|YMD] [--skip-before N] [--skip-after N] [--amount FIELD]";

TOptionSpec Value(const char* name) {
  return TOptionSpec::Value(QLatin1String(name));
}

const TCommandSpec& ExportSpec() {
  static const TCommandSpec syntax = {
      {Value("--csv").Needed(), Value("--form"),
       Value("--header").OneOf({QStringLiteral("words"), QStringLiteral("fields")}),
       TOptionSpec::Flag(QStringLiteral("--bom")), TOptionSpec::Flag(QStringLiteral("--force"))},
      {QStringLiteral("FILE.PE25")}};
  return syntax;
}

const TCommandSpec& ImportSpec() {
  static const TCommandSpec syntax = {
      {Value("--csv").Needed(), Value("--map"),
       Value("--existing")
           .OneOf({QStringLiteral("update"), QStringLiteral("skip"), QStringLiteral("add")},
                  Qt::CaseInsensitive),
       Value("--encoding"), Value("--separator"),
       Value("--decimal").OneOf({QStringLiteral("."), QStringLiteral(",")}),
       Value("--dates").OneOf({QStringLiteral("MDY"), QStringLiteral("DMY"), QStringLiteral("YMD")},
                              Qt::CaseInsensitive),
       Value("--skip-before"), Value("--skip-after"), Value("--amount"), Value("--bad-rows"),
       TOptionSpec::Flag(QStringLiteral("--dry-run")),
       TOptionSpec::Flag(QStringLiteral("--repair-leading-zeros"))},
      {QStringLiteral("FILE.PE25")}};
  return syntax;
}

QString CsvOption(const TParsedCommand& line) {
  const QString csv = line.Value(QStringLiteral("--csv"));
  if (csv.isEmpty()) throw TUsageError{QStringLiteral("--csv needs a file name")};
  return csv;
}

TExportOptions ExportOptions(const TParsedCommand& line) {
  TExportOptions options;
  const QString form = line.Value(QStringLiteral("--form"));
  if (line.Has(QStringLiteral("--form")) &&
      form.compare(QLatin1String("all"), Qt::CaseInsensitive) != 0 &&
      !(options.FormType = FormTypeFromName(form)))
    throw TUsageError{QStringLiteral("unknown form %1 (%2 or all)")
                          .arg(form, FormShortNames(QStringLiteral(", ")))};
  const QString header = line.Value(QStringLiteral("--header"));
  options.FieldNames = header == QLatin1String("fields");
  options.ByteOrderMark = line.Has(QStringLiteral("--bom"));
  return options;
}

int Export(const TParsedCommand& line, QTextStream& out, QTextStream& err) {
  const QString csv = CsvOption(line);
  const TExportOptions options = ExportOptions(line);
  const QString payeeFile = line.Arguments().first();
  if (!PayeeFileExists(payeeFile, err)) return 2;
  RefuseProtected(payeeFile);
  CheckExportTarget(payeeFile, csv);
  // A script replaces a file only when it says so; the screen asks instead.
  if (!line.Has(QStringLiteral("--force")) && QFileInfo::exists(csv)) {
    err << csv << " already exists; --force replaces it\n";
    return 2;
  }
  ExportPayees(payeeFile, csv, options);
  out << "Exported " << ReadPayeeFile(payeeFile).size() << " payees to " << csv << "\n";
  return 0;
}

int CountOption(const TParsedCommand& line, const char* name) {
  bool ok = false;
  const int n = line.Value(QLatin1String(name)).toInt(&ok);
  if (!ok || n < 0 || n > 1000)
    throw TUsageError{QStringLiteral("%1 is a number of rows from 0 to 1000").arg(name)};
  return n;
}

// The mapping's settings, then the command line's over them.
TImportSettings ImportSettings(const TParsedCommand& line) {
  TImportSettings s = line.Has(QStringLiteral("--map"))
                          ? LoadImportMapping(line.Value(QStringLiteral("--map")))
                          : TImportSettings{};
  if (line.Has(QStringLiteral("--existing")) &&
      !ExistingFromName(line.Value(QStringLiteral("--existing")), s.Existing))
    throw TUsageError{QStringLiteral("--existing is update, skip or add")};
  TCsvEncoding encoding;
  if (line.Has(QStringLiteral("--encoding"))) {
    if (!EncodingFromName(line.Value(QStringLiteral("--encoding")), encoding))
      throw TUsageError{
          QStringLiteral("--encoding is UTF-8, UTF-16LE, UTF-16BE, Windows-1252 "
                         "or \"Mac Roman\"")};
    s.Encoding = encoding;
  }
  QChar separator;
  if (line.Has(QStringLiteral("--separator"))) {
    if (!SeparatorFromName(line.Value(QStringLiteral("--separator")), separator))
      throw TUsageError{QStringLiteral("--separator is \",\", \";\", tab or \"|\"")};
    s.Separator = separator;
  }
  if (line.Has(QStringLiteral("--decimal"))) s.Decimal = line.Value(QStringLiteral("--decimal"))[0];
  if (line.Has(QStringLiteral("--dates")) &&
      !DateOrderFromName(line.Value(QStringLiteral("--dates")), s.Dates))
    throw TUsageError{QStringLiteral("--dates is MDY, DMY or YMD")};
  if (line.Has(QStringLiteral("--skip-before"))) s.SkipBefore = CountOption(line, "--skip-before");
  if (line.Has(QStringLiteral("--skip-after"))) s.SkipAfter = CountOption(line, "--skip-after");
  if (line.Has(QStringLiteral("--amount"))) s.AmountField = line.Value(QStringLiteral("--amount"));
  s.RepairLeadingZeros = line.Has(QStringLiteral("--repair-leading-zeros"));
  s.GoodRowsOnly = line.Has(QStringLiteral("--bad-rows"));
  return s;
}

// The rows left out go beside what the command reads, never over it.
TWriteOptions BadRowsOptions(const QString& csv, const QString& payeeFile) {
  TWriteOptions options;
  options.Inputs = QStringList{csv, payeeFile, PayerFileFor(payeeFile)};
  return options;
}

// What the import does or would do, on standard output.
void Tell(const TImportPlan& plan, bool dryRun, QTextStream& out) {
  for (const QString& note : plan.Notes) out << "Note: " << note << "\n";
  if (plan.Choice != TExisting::Ask)
    for (const TImportMatch& m : plan.Matches)
      out << m.Text() << " (" << ExistingName(plan.Choice) << ")\n";
  for (const TPayeeUpdate& u : plan.Updates) {
    out << (dryRun ? "Would update" : "Updates") << " record " << u.Record << " \""
        << u.Payee.GetString("PayeeName").trimmed() << "\":\n";
    for (const QString& change : u.Changes) out << "  " << change << "\n";
  }
}

int Import(const TParsedCommand& line, QTextStream& out, QTextStream& err) {
  const QString csvPath = CsvOption(line);
  const TImportSettings settings = ImportSettings(line);
  const bool dryRun = line.Has(QStringLiteral("--dry-run"));
  const QString payeeFile = line.Arguments().first();
  if (!PayeeFileExists(payeeFile, err)) return 2;
  const QByteArray csv = ReadCsvFile(csvPath);
  RefuseProtected(payeeFile);
  const TImportPlan plan =
      PlanImport(csv, settings, ReadPayerOf(payeeFile), ReadPayeeFile(payeeFile));
  out << csvPath << ": " << plan.Summary() << "\n";
  Tell(plan, dryRun, out);
  if (!plan.Problems.empty()) err << plan.Report() << "\n";
  if (plan.NeedsChoice())
    err << plan.MatchReport() << "\n"
        << "Rows match payees the payee file holds already: choose --existing update (the rows' "
           "filled cells replace the payees' values), skip or add\n";
  if (!plan.Importable()) {
    err << (dryRun ? "Nothing would be imported" : "Nothing was imported") << ": "
        << plan.Problems.size() << " problem(s) in " << csvPath << "\n";
    return 2;
  }
  const QString counts = QStringLiteral("%1 added, %2 updated, %3 skipped")
                             .arg(plan.Payees.size())
                             .arg(plan.Updates.size())
                             .arg(plan.SkippedLines.size());
  const bool bad = !plan.BadLines.isEmpty();
  if (dryRun) {
    out << "Dry run, nothing was written: " << counts
        << (bad ? QStringLiteral(", %1 rows with problems left out").arg(plan.BadLines.size())
                : QString())
        << "\n";
    return 0;
  }
  const QString badRows = line.Value(QStringLiteral("--bad-rows"));
  // A list that could not be written is refused before the import, not after it.
  if (bad) TSafeFile::CheckTarget(badRows, BadRowsOptions(csvPath, payeeFile));
  ApplyImport(payeeFile, plan);
  if (bad) WriteFileSafely(badRows, BadRowsCsv(plan), BadRowsOptions(csvPath, payeeFile));
  out << "Imported into " << payeeFile << ": " << counts << "\n";
  if (bad)
    out << plan.BadLines.size() << " rows with problems were left out; they are listed in "
        << line.Value(QStringLiteral("--bad-rows")) << "\n";
  return 0;
}

}  // namespace

PAPYRA_BATCH_COMMAND("export", kExportUsage,
                     "Writes the payees to a CSV file (UTF-8, a header row in the forms' words); "
                     "an existing file is replaced only with --force.",
                     ExportSpec(), Export)
PAPYRA_BATCH_COMMAND("import", kImportUsage, "Adds or updates payees from a CSV file, all or none.",
                     ImportSpec(), Import)
