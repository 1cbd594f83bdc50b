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

bool PayeeFileArgument(const QStringList& args, QString& payeeFile, QTextStream& err,
                       const char* usage) {
  const QStringList files = Positional(args);
  const QString csv = OptionValue(args, QStringLiteral("--csv"));
  if (files.size() != 1 || csv.isEmpty()) {
    err << "usage: papyra-batch " << usage << "\n";
    return false;
  }
  payeeFile = files.first();
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

constexpr const char* kExportUsage = "export FILE.PE25 --csv OUT.csv [--form FORM]";
constexpr const char* kImportUsage = "import FILE.PE25 --csv IN.csv [--map MAP.json]";

int Export(const QStringList& args, QTextStream& out, QTextStream& err) {
  QString payeeFile;
  if (!PayeeFileArgument(args, payeeFile, err, kExportUsage)) return 2;
  std::optional<uint8_t> form;
  const QString formName = OptionValue(args, QStringLiteral("--form"));
  if (!formName.isEmpty() && !(form = FormTypeFromName(formName))) {
    err << "Unknown form " << formName << " (1098, 1099-DIV, 1099-INT, 1099-MISC, 1099-NEC, "
        << "1099-R, 1099-S)\n";
    return 2;
  }
  RefuseProtected(payeeFile);
  const QString csv = OptionValue(args, QStringLiteral("--csv"));
  ExportPayees(payeeFile, csv, form);
  out << "Exported " << ReadPayeeFile(payeeFile).size() << " payees to " << csv << "\n";
  return 0;
}

int Import(const QStringList& args, QTextStream& out, QTextStream& err) {
  QString payeeFile;
  if (!PayeeFileArgument(args, payeeFile, err, kImportUsage)) return 2;
  const QString map = OptionValue(args, QStringLiteral("--map"));
  const TImportSettings settings = map.isEmpty() ? TImportSettings{} : LoadImportMapping(map);
  const QString csvPath = OptionValue(args, QStringLiteral("--csv"));
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
  for (const QString& note : plan.Notes) out << "Note: " << note << "\n";
  out << "Imported " << plan.Payees.size() << " payees into " << payeeFile << "\n";
  return 0;
}
}  // namespace

PAPYRA_BATCH_COMMAND("export", kExportUsage,
                     "Writes the payees to a CSV file (UTF-8, a header row of field names).",
                     Export)
PAPYRA_BATCH_COMMAND("import", kImportUsage,
                     "Adds the payees of a CSV file after the existing ones, all or none.", Import)
