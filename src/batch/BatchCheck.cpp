// papyra-batch check, tin-match and tin-match-results: the check before filing and the IRS's
// Bulk TIN Matching, through the same routines as File / Check Before Filing and the TIN
// matching commands on screen.
//
// The payer file is only read; tin-match-results writes the answers into the program's own file
// beside it (NAME.TM25), never into the record files.
#include <QFile>
#include <QFileInfo>

#include "batch/BatchCommands.h"
#include "batch/BatchPayerFile.h"
#include "exchange/FilingCheck.h"
#include "exchange/TinMatch.h"
#include "forms/FormRegistry.h"
#include "platform/Exceptions.h"
#include "storage/DataModule.h"
#include "storage/RecordSet.h"

namespace {
// A results file of 100,000 answers is a few megabytes; anything much larger is no results file.
constexpr qint64 kMaxResultsBytes = 64 * 1024 * 1024;

QByteArray UsageText(const char* text, const QString& forms) {
  return QString::fromLatin1(text).replace(QStringLiteral("FORMS"), forms).toLatin1();
}
const QByteArray kCheckUsage =
    UsageText("check FILE.PE25 [--form FORMS]  (exit status 1 when an error is listed)",
              FormShortNames(QStringLiteral("|")));
const QByteArray kTinMatchUsage = UsageText("tin-match FILE.PE25 --out REQUEST.txt [--form FORMS]",
                                            QStringLiteral("1099-DIV|1099-INT|1099-MISC|1099-NEC"));
const char* const kResultsUsage = "tin-match-results FILE.PE25 --in RESULTS.txt";

const TFormDef* FormOption(const QStringList& args, bool tinMatchOnly) {
  if (!args.contains(QStringLiteral("--form"))) return nullptr;
  const QString name = OptionValue(args, QStringLiteral("--form"));
  const TFormDef* def = FormDefByName(name);
  if (!def) throw TBatchFailure{QStringLiteral("Unknown form type: %1").arg(name)};
  if (tinMatchOnly && !IsTinMatchForm(*def))
    throw TBatchFailure{QStringLiteral("TIN matching serves the forms subject to backup "
                                       "withholding (1099-DIV, 1099-INT, 1099-MISC, 1099-NEC), "
                                       "not %1")
                            .arg(QLatin1String(def->ShortName))};
  return def;
}

// The payees of the payer file, read without a lock and without writing anything back.
std::vector<TPayeeRecord> ReadPayees(const QString& payeeFile) {
  StartBatchSettings();
  TFrmDataModule module;
  OpenPayerFileReadOnly(module, payeeFile);
  std::vector<TPayeeRecord> payees = PayeesOf(*module.RSPayee);
  module.RSPayee->CloseRecSet();
  return payees;
}

int Usage(QTextStream& err, const char* usage) {
  err << "usage: papyra-batch " << usage << "\n";
  return 2;
}

int Check(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QStringList files = Positional(args);
  if (files.size() != 1) return Usage(err, kCheckUsage.constData());
  try {
    const TFormDef* only = FormOption(args, false);
    const std::vector<TPayeeRecord> payees = ReadPayees(files.first());
    const TTinAnswers answers = TTinAnswers::Load(TTinAnswers::FileFor(files.first()));
    const TCheckReport report = CheckBeforeFiling(payees, answers, only);
    out << report.Text();
    return report.HasErrors() ? 1 : 0;
  } catch (const TBatchFailure& failure) {
    err << failure.Message << "\n";
    return 2;
  }
}

int TinMatch(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QStringList files = Positional(args);
  const QString target = OptionValue(args, QStringLiteral("--out"));
  if (files.size() != 1 || target.isEmpty()) return Usage(err, kTinMatchUsage.constData());
  try {
    const TFormDef* only = FormOption(args, true);
    const TTinRequest request = BuildTinRequest(ReadPayees(files.first()), only);
    for (const QString& left : request.Left) out << left << "\n";
    if (request.Lines.empty()) {
      err << "No payee to match among the " << request.Scope << "; nothing was written\n";
      return 1;
    }
    const QStringList written = WriteTinRequest(request, target);
    out << request.Lines.size() << " request line(s) for the " << request.Scope << " written to "
        << written.join(QStringLiteral(", ")) << "\n";
    return 0;
  } catch (const TBatchFailure& failure) {
    err << failure.Message << "\n";
    return 2;
  }
}

QByteArray ReadResults(const QString& path) {
  QFile file(path);
  const QFileInfo info(path);
  if (!info.isFile()) throw TBatchFailure{QStringLiteral("File not found: %1").arg(path)};
  if (info.size() > kMaxResultsBytes)
    throw TBatchFailure{
        QStringLiteral("%1 is too large to be a TIN matching results file").arg(path)};
  if (!file.open(QIODevice::ReadOnly))
    throw TBatchFailure{QStringLiteral("Cannot read %1: %2").arg(path, file.errorString())};
  return file.readAll();
}

int TinMatchResults(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QStringList files = Positional(args);
  const QString results = OptionValue(args, QStringLiteral("--in"));
  if (files.size() != 1 || results.isEmpty()) return Usage(err, kResultsUsage);
  try {
    const QByteArray bytes = ReadResults(results);
    const std::vector<TPayeeRecord> payees = ReadPayees(files.first());
    const QString answersFile = TTinAnswers::FileFor(files.first());
    TTinAnswers answers = TTinAnswers::Load(answersFile);
    const TTinResultsReport report =
        ApplyTinResults(bytes, payees, answers, QFileInfo(results).lastModified().date());
    if (report.Lines == 0) {
      err << report.Text() << "No TIN matching answer in " << results << "; nothing was kept\n";
      return 2;
    }
    answers.Save(answersFile);
    out << report.Text() << "The answers are kept in " << answersFile << "\n";
    return report.Problems.isEmpty() ? 0 : 1;
  } catch (const TBatchFailure& failure) {
    err << failure.Message << "\n";
    return 2;
  }
}
}  // namespace

PAPYRA_BATCH_COMMAND("check", kCheckUsage.constData(),
                     "Lists what to mend before filing: taxpayer numbers, names, addresses, "
                     "amounts under the filing thresholds, damaged values, TIN matching answers.",
                     Check)
PAPYRA_BATCH_COMMAND("tin-match", kTinMatchUsage.constData(),
                     "Writes the IRS Bulk TIN Matching request for the payees of the forms "
                     "subject to backup withholding.",
                     TinMatch)
PAPYRA_BATCH_COMMAND("tin-match-results", kResultsUsage,
                     "Reads the IRS Bulk TIN Matching results and keeps each payee's answer "
                     "beside the payer file.",
                     TinMatchResults)
