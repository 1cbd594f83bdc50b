// papyra-batch export FILE.PE25 --csv OUT.csv [--form FORM]: the payees as a spreadsheet.
// papyra-batch import FILE.PE25 --csv IN.csv [--map MAP.json]: payees from a spreadsheet, added
// after the file's payees only when every row is good; otherwise each bad row is listed and the
// file is left as it was (exit code 2).
#include <QFile>
#include <QFileInfo>

#include "batch/BatchCommands.h"
#include "core/Utils.h"
#include "exchange/PayeeExchange.h"
#include "platform/Exceptions.h"

namespace {
// A payer file protected by its password is the user's to open in Papyra.
void RefuseProtected(const QString& payeeFile) {
  if (!IsBlank(ReadPayerOf(payeeFile).GetString("FilePassword")))
    throw EInOutError(
        QStringLiteral("%1 is protected by a file password; open it in Papyra").arg(payeeFile));
}

// The payee file the command works on; false (with the reason on err) when it is none.
bool PayeeFileArgument(const TParsedCommand& args, QString& payeeFile, QTextStream& err) {
  payeeFile = args.Arguments().first();
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

QString CsvOption(const TParsedCommand& args) {
  const QString csv = args.Value(QStringLiteral("--csv"));
  if (csv.isEmpty()) throw TUsageError{QStringLiteral("--csv needs a file name")};
  return csv;
}

constexpr const char* kExportUsage = "export FILE.PE25 --csv OUT.csv [--form FORM]";
constexpr const char* kImportUsage = "import FILE.PE25 --csv IN.csv [--map MAP.json]";
const TCommandSpec kExportSpec = {{TOptionSpec::Value(QStringLiteral("--csv")).Needed(),
                                   TOptionSpec::Value(QStringLiteral("--form"))},
                                  {QStringLiteral("FILE.PE25")}};
const TCommandSpec kImportSpec = {{TOptionSpec::Value(QStringLiteral("--csv")).Needed(),
                                   TOptionSpec::Value(QStringLiteral("--map"))},
                                  {QStringLiteral("FILE.PE25")}};

int Export(const TParsedCommand& args, QTextStream& out, QTextStream& err) {
  const QString csv = CsvOption(args);
  std::optional<uint8_t> form;
  const QString formName = args.Value(QStringLiteral("--form"));
  if (args.Has(QStringLiteral("--form")) && !(form = FormTypeFromName(formName)))
    throw TUsageError{QStringLiteral("Unknown form %1 (1098, 1099-DIV, 1099-INT, 1099-MISC, "
                                     "1099-NEC, 1099-R, 1099-S)")
                          .arg(formName)};
  QString payeeFile;
  if (!PayeeFileArgument(args, payeeFile, err)) return 2;
  RefuseProtected(payeeFile);
  ExportPayees(payeeFile, csv, form);
  out << "Exported " << ReadPayeeFile(payeeFile).size() << " payees to " << csv << "\n";
  return 0;
}

int Import(const TParsedCommand& args, QTextStream& out, QTextStream& err) {
  const QString csvPath = CsvOption(args);
  QString payeeFile;
  if (!PayeeFileArgument(args, payeeFile, err)) return 2;
  const QString map = args.Value(QStringLiteral("--map"));
  const TImportSettings settings =
      args.Has(QStringLiteral("--map")) ? LoadImportMapping(map) : TImportSettings{};
  QFile csv(csvPath);
  if (!csv.open(QIODevice::ReadOnly)) {
    err << "Unable to read " << csvPath << "\n";
    return 2;
  }
  RefuseProtected(payeeFile);
  const TImportPlan plan = PlanImport(csv.readAll(), settings, ReadPayerOf(payeeFile));
  if (!plan.Ok()) {
    err << plan.Report() << "\n"
        << "Nothing was imported: " << plan.Problems.size() << " problem(s) in " << csvPath << "\n";
    return 2;
  }
  AppendPayees(payeeFile, plan.Payees);
  out << "Imported " << plan.Payees.size() << " payees into " << payeeFile << "\n";
  return 0;
}
}  // namespace

PAPYRA_BATCH_COMMAND("export", kExportUsage,
                     "Writes the payees to a CSV file (UTF-8, a header row of field names).",
                     kExportSpec, Export)
PAPYRA_BATCH_COMMAND("import", kImportUsage,
                     "Adds the payees of a CSV file after the existing ones, all or none.",
                     kImportSpec, Import)
