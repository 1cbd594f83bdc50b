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
QByteArray UsageText(const char* text, const QString& forms) {
  return QString::fromLatin1(text).replace(QStringLiteral("FORMS"), forms).toLatin1();
}
const QByteArray kCheckUsage =
    UsageText("check FILE.PE25 [--form FORMS]  (exit status 1 when an error is listed)",
              FormShortNames(QStringLiteral("|")));
const QByteArray kTinMatchUsage =
    UsageText("tin-match FILE.PE25 --out REQUEST.txt [--form FORMS]",
              TinMatchFormNames(QStringLiteral("|"), QStringLiteral("|")));
const char* const kResultsUsage = "tin-match-results FILE.PE25 --in RESULTS.txt";

QStringList FormNames(bool tinMatchOnly) {
  QStringList names;
  for (const TFormDef* def : FormDefs())
    if (!tinMatchOnly || IsTinMatchForm(*def)) names.append(QString::fromLatin1(def->ShortName));
  return names;
}

TOptionSpec FormOption(bool tinMatchOnly) {
  return TOptionSpec::Value(QStringLiteral("--form"))
      .OneOf(FormNames(tinMatchOnly), Qt::CaseInsensitive);
}

const TCommandSpec& CheckSpec() {
  static const TCommandSpec syntax = {{FormOption(false)}, {QStringLiteral("FILE.PE25")}};
  return syntax;
}

const TCommandSpec& TinMatchSpec() {
  static const TCommandSpec syntax = {
      {TOptionSpec::Value(QStringLiteral("--out")).Needed(), FormOption(true)},
      {QStringLiteral("FILE.PE25")}};
  return syntax;
}

const TCommandSpec& ResultsSpec() {
  static const TCommandSpec syntax = {{TOptionSpec::Value(QStringLiteral("--in")).Needed()},
                                      {QStringLiteral("FILE.PE25")}};
  return syntax;
}

// The form of --form, null when it is not given (the parser has checked the name).
const TFormDef* FormOf(const TParsedCommand& args) {
  return args.Has(QStringLiteral("--form")) ? FormDefByName(args.Value(QStringLiteral("--form")))
                                            : nullptr;
}

QString NeededValue(const TParsedCommand& args, const QString& option) {
  const QString value = args.Value(option);
  if (value.isEmpty()) throw TUsageError{QStringLiteral("%1 needs a file name").arg(option)};
  return value;
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

int Check(const TParsedCommand& args, QTextStream& out, QTextStream& err) {
  const QString file = args.Arguments().first();
  try {
    const TFormDef* only = FormOf(args);
    const std::vector<TPayeeRecord> payees = ReadPayees(file);
    const TTinAnswers answers = TTinAnswers::Load(TTinAnswers::FileFor(file));
    const TCheckReport report = CheckBeforeFiling(payees, answers, only);
    out << report.Text();
    return report.HasErrors() ? 1 : 0;
  } catch (const TBatchFailure& failure) {
    err << failure.Message << "\n";
    return 2;
  }
}

int TinMatch(const TParsedCommand& args, QTextStream& out, QTextStream& err) {
  const QString target = NeededValue(args, QStringLiteral("--out"));
  try {
    const TTinRequest request = BuildTinRequest(ReadPayees(args.Arguments().first()), FormOf(args));
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

int TinMatchResults(const TParsedCommand& args, QTextStream& out, QTextStream& err) {
  const QString results = NeededValue(args, QStringLiteral("--in"));
  const QString file = args.Arguments().first();
  try {
    const QByteArray bytes = ReadTinResultsFile(results);
    const std::vector<TPayeeRecord> payees = ReadPayees(file);
    const QString answersFile = TTinAnswers::FileFor(file);
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
                     CheckSpec(), Check)
PAPYRA_BATCH_COMMAND("tin-match", kTinMatchUsage.constData(),
                     "Writes the IRS Bulk TIN Matching request for the payees of the forms "
                     "subject to backup withholding.",
                     TinMatchSpec(), TinMatch)
PAPYRA_BATCH_COMMAND("tin-match-results", kResultsUsage,
                     "Reads the IRS Bulk TIN Matching results and keeps each payee's answer "
                     "beside the payer file.",
                     ResultsSpec(), TinMatchResults)
