// papyra-batch export: the payees as a spreadsheet, under the forms' own words or the record's
// names, for every form or one.
// papyra-batch import: payees from a spreadsheet. Rows whose payee the file holds already are
// updated, skipped or added as --existing says, and without it the import is refused and they are
// listed; nothing is written while any row has a problem (unless --bad-rows takes the good rows
// and lists the others); --dry-run says all of it and writes nothing.
#include <QFileInfo>
#include <QSet>

#include "batch/BatchCommands.h"
#include "core/Utils.h"
#include "exchange/PayeeExchange.h"
#include "forms/FormRegistry.h"
#include "platform/Exceptions.h"

namespace {
// A command line that does not fit the command: said with the usage line, exit code 2.
struct TUsageProblem {
  QString Message;
};

// The options a command takes: those with a value, and flags.
struct TOptions {
  QStringList Values, Flags;
};

const TOptions kExportOptions = {{"--csv", "--form", "--header"}, {"--bom"}};
const TOptions kImportOptions = {
    {"--csv", "--map", "--existing", "--encoding", "--separator", "--decimal", "--dates",
     "--skip-before", "--skip-after", "--amount", "--bad-rows"},
    {"--dry-run", "--repair-leading-zeros"}};

struct TCommandLine {
  QStringList Files;
  QHash<QString, QString> Values;
  QSet<QString> Flags;
  QString Value(const char* name) const { return Values.value(QLatin1String(name)); }
  bool Has(const char* name) const {
    return Values.contains(QLatin1String(name)) || Flags.contains(QLatin1String(name));
  }
};

// Every option known, given once, with its value; anything else is refused.
TCommandLine Parse(const QStringList& args, const TOptions& options) {
  TCommandLine line;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (!a.startsWith(QLatin1String("--"))) {
      line.Files << a;
      continue;
    }
    if (line.Has(a.toLatin1().constData()))
      throw TUsageProblem{QStringLiteral("%1 is given twice").arg(a)};
    if (options.Flags.contains(a)) {
      line.Flags.insert(a);
    } else if (options.Values.contains(a)) {
      if (i + 1 >= args.size() || args[i + 1].startsWith(QLatin1String("--")))
        throw TUsageProblem{QStringLiteral("%1 needs a value").arg(a)};
      line.Values.insert(a, args[++i]);
    } else {
      throw TUsageProblem{QStringLiteral("unknown option %1").arg(a)};
    }
  }
  if (line.Files.size() != 1) throw TUsageProblem{QStringLiteral("name one payee (.PE25) file")};
  if (line.Value("--csv").isEmpty()) throw TUsageProblem{QStringLiteral("--csv needs a file name")};
  return line;
}

// A payer file protected by its password is the user's to open in Papyra.
void RefuseProtected(const QString& payeeFile) {
  if (!IsBlank(ReadPayerOf(payeeFile).GetString("FilePassword")))
    throw EInOutError(
        QStringLiteral("%1 is protected by a file password; open it in Papyra").arg(payeeFile));
}

bool PayeeFileExists(const QString& payeeFile, QTextStream& err) {
  if (QFileInfo(payeeFile).suffix().toUpper() != QLatin1String("PE25")) {
    err << "Not a payee (.PE25) file: " << payeeFile << "\n";
    return false;
  }
  if (!QFileInfo(payeeFile).isFile()) {
    err << "File not found: " << payeeFile << "\n";
    return false;
  }
  return true;
}

constexpr const char* kExportUsage =
    "export FILE.PE25 --csv OUT.csv [--form FORM|all] [--header words|fields] [--bom]";
constexpr const char* kImportUsage =
    "import FILE.PE25 --csv IN.csv [--map MAP.json] [--existing update|skip|add] [--dry-run] "
    "[--repair-leading-zeros] [--bad-rows BAD.csv] [--encoding ENCODING] [--separator "
    ",|;|tab|\"|\"] "
    "[--decimal .|,] [--dates MDY|DMY|YMD] [--skip-before N] [--skip-after N] [--amount FIELD]";

TExportOptions ExportOptions(const TCommandLine& line) {
  TExportOptions options;
  const QString form = line.Value("--form");
  if (line.Has("--form") && form.compare(QLatin1String("all"), Qt::CaseInsensitive) != 0 &&
      !(options.FormType = FormTypeFromName(form)))
    throw TUsageProblem{QStringLiteral("unknown form %1 (%2 or all)")
                            .arg(form, FormShortNames(QStringLiteral(", ")))};
  const QString header = line.Value("--header");
  if (line.Has("--header") && header != QLatin1String("words") && header != QLatin1String("fields"))
    throw TUsageProblem{QStringLiteral("--header is words or fields, not %1").arg(header)};
  options.FieldNames = header == QLatin1String("fields");
  options.ByteOrderMark = line.Has("--bom");
  return options;
}

int Export(const QStringList& args, QTextStream& out, QTextStream& err) {
  const TCommandLine line = Parse(args, kExportOptions);
  const TExportOptions options = ExportOptions(line);
  const QString payeeFile = line.Files.first();
  if (!PayeeFileExists(payeeFile, err)) return 2;
  RefuseProtected(payeeFile);
  const QString csv = line.Value("--csv");
  ExportPayees(payeeFile, csv, options);
  out << "Exported " << ReadPayeeFile(payeeFile).size() << " payees to " << csv << "\n";
  return 0;
}

int CountOption(const TCommandLine& line, const char* name) {
  bool ok = false;
  const int n = line.Value(name).toInt(&ok);
  if (!ok || n < 0 || n > 1000)
    throw TUsageProblem{QStringLiteral("%1 is a number of rows from 0 to 1000").arg(name)};
  return n;
}

// The mapping's settings, then the command line's over them.
TImportSettings ImportSettings(const TCommandLine& line) {
  TImportSettings s =
      line.Has("--map") ? LoadImportMapping(line.Value("--map")) : TImportSettings{};
  if (line.Has("--existing") && !ExistingFromName(line.Value("--existing"), s.Existing))
    throw TUsageProblem{QStringLiteral("--existing is update, skip or add")};
  TCsvEncoding encoding;
  if (line.Has("--encoding")) {
    if (!EncodingFromName(line.Value("--encoding"), encoding))
      throw TUsageProblem{
          QStringLiteral("--encoding is UTF-8, UTF-16LE, UTF-16BE, Windows-1252 "
                         "or \"Mac Roman\"")};
    s.Encoding = encoding;
  }
  QChar separator;
  if (line.Has("--separator")) {
    if (!SeparatorFromName(line.Value("--separator"), separator))
      throw TUsageProblem{QStringLiteral("--separator is \",\", \";\", tab or \"|\"")};
    s.Separator = separator;
  }
  const QString decimal = line.Value("--decimal");
  if (line.Has("--decimal")) {
    if (decimal != QLatin1String(".") && decimal != QLatin1String(","))
      throw TUsageProblem{QStringLiteral("--decimal is \".\" or \",\"")};
    s.Decimal = decimal[0];
  }
  if (line.Has("--dates") && !DateOrderFromName(line.Value("--dates"), s.Dates))
    throw TUsageProblem{QStringLiteral("--dates is MDY, DMY or YMD")};
  if (line.Has("--skip-before")) s.SkipBefore = CountOption(line, "--skip-before");
  if (line.Has("--skip-after")) s.SkipAfter = CountOption(line, "--skip-after");
  if (line.Has("--amount")) s.AmountField = line.Value("--amount");
  s.RepairLeadingZeros = line.Has("--repair-leading-zeros");
  s.GoodRowsOnly = line.Has("--bad-rows");
  return s;
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

int Import(const QStringList& args, QTextStream& out, QTextStream& err) {
  const TCommandLine line = Parse(args, kImportOptions);
  const TImportSettings settings = ImportSettings(line);
  const bool dryRun = line.Has("--dry-run");
  const QString payeeFile = line.Files.first();
  if (!PayeeFileExists(payeeFile, err)) return 2;
  const QString csvPath = line.Value("--csv");
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
  ApplyImport(payeeFile, plan);
  if (bad) ReplaceFile(line.Value("--bad-rows"), BadRowsCsv(plan));
  out << "Imported into " << payeeFile << ": " << counts << "\n";
  if (bad)
    out << plan.BadLines.size() << " rows with problems were left out; they are listed in "
        << line.Value("--bad-rows") << "\n";
  return 0;
}

// The command's usage line after a command line that does not fit it.
int Guarded(int (*run)(const QStringList&, QTextStream&, QTextStream&), const char* usage,
            const QStringList& args, QTextStream& out, QTextStream& err) {
  try {
    return run(args, out, err);
  } catch (const TUsageProblem& p) {
    err << "papyra-batch: " << p.Message << "\nusage: papyra-batch " << usage << "\n";
    return 2;
  }
}

int RunExport(const QStringList& args, QTextStream& out, QTextStream& err) {
  return Guarded(Export, kExportUsage, args, out, err);
}

int RunImport(const QStringList& args, QTextStream& out, QTextStream& err) {
  return Guarded(Import, kImportUsage, args, out, err);
}
}  // namespace

PAPYRA_BATCH_COMMAND("export", kExportUsage,
                     "Writes the payees to a CSV file (UTF-8, a header row in the forms' words).",
                     RunExport)
PAPYRA_BATCH_COMMAND("import", kImportUsage, "Adds or updates payees from a CSV file, all or none.",
                     RunImport)
