// papyra-batch print: the forms of a payer file, program-generated or onto red copies, through
// the same print routines as the form screens, into a PDF, HTML, snapshot or text file, or into
// a folder with one PDF per recipient.
// papyra-batch totals: what the Form 1096 screen shows for a form type.
// Both take all payees, only the forms marked CORRECTED (--only corrected) or the payees of
// given TINs (--payees), and print reads the alignment page for red copies (--kind alignment).
//
// The payer file is only read: nothing is written back, no lock is taken, and a file protected
// by a password is refused rather than opened without it.
#include <QFileInfo>
#include <functional>
#include <memory>

#include "batch/BatchCommands.h"
#include "batch/BatchPayerFile.h"
#include "core/Utils.h"
#include "engine/PagePrinter.h"
#include "engine/PdfWriter.h"
#include "engine/Render.h"
#include "engine/ReportFile.h"
#include "engine/ReportProject.h"
#include "exchange/Csv.h"
#include "forms/AlignmentPage.h"
#include "forms/Form1096.h"
#include "forms/FormPrint.h"
#include "forms/FormRegistry.h"
#include "forms/FormSelection.h"
#include "forms/FormTotals.h"
#include "forms/RecipientFiles.h"
#include "platform/Exceptions.h"
#include "platform/Resources.h"
#include "platform/SafeFile.h"
#include "printing/PrinterSetup.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecordSet.h"
#include "storage/TinRules.h"

namespace {
// The forms are the registry's: a form added there is offered here.
QByteArray UsageText(const char* text) {
  return QString::fromLatin1(text)
      .replace(QStringLiteral("FORMS"), FormShortNames(QStringLiteral("|")))
      .toLatin1();
}
const QByteArray kPrintUsage = UsageText(
    "print FILE.PE25 --form FORMS|1096 "
    "--kind program|redcopy [--mask-ssn yes|no] [--copy B|C] [--instructions yes|no] "
    "[--form-type FORMS] [--only corrected | --payees TIN[,TIN...]] "
    "--out OUT.pdf|.html|.snp|.txt\n"
    "       print FILE.PE25 --form FORM --kind program --per-recipient "
    "[--password random|tin-last4|zip|none | --password-file FILE] [--allow-unprotected] "
    "[--mask-ssn yes|no] [--copy B|C] [--instructions yes|no] "
    "[--only corrected | --payees TIN[,TIN...]] --out DIR\n"
    "       print FILE.PE25 --form FORMS --kind alignment --out OUT.pdf|.html|.snp|.txt");
const QByteArray kTotalsUsage =
    UsageText("totals FILE.PE25 --form FORMS [--only corrected | --payees TIN[,TIN...]]");

// The forms by the names the Form 1096 gives them, from the registry.
QStringList FormNames() {
  QStringList names;
  for (const TFormDef* def : FormDefs()) names.append(QString::fromLatin1(def->ShortName));
  return names;
}

TOptionSpec FormOption(const QString& name, const QStringList& names) {
  return TOptionSpec::Value(name).OneOf(names, Qt::CaseInsensitive);
}

TOptionSpec YesNoOption(const QString& name) {
  return TOptionSpec::Value(name).OneOf({QStringLiteral("yes"), QStringLiteral("no")});
}

// Which payees a print or the totals take.
QList<TOptionSpec> SelectionOptions() {
  return {TOptionSpec::Value(QStringLiteral("--only")).OneOf({QStringLiteral("corrected")}),
          TOptionSpec::Value(QStringLiteral("--payees"))};
}

const TCommandSpec& PrintSpec() {
  static const TCommandSpec syntax = {
      QList<TOptionSpec>{
          FormOption(QStringLiteral("--form"), FormNames() << QStringLiteral("1096")).Needed(),
          TOptionSpec::Value(QStringLiteral("--kind"))
              .OneOf({QStringLiteral("program"), QStringLiteral("redcopy"),
                      QStringLiteral("alignment")})
              .Needed(),
          YesNoOption(QStringLiteral("--mask-ssn")),
          TOptionSpec::Value(QStringLiteral("--copy"))
              .OneOf({QStringLiteral("B"), QStringLiteral("C")}),
          YesNoOption(QStringLiteral("--instructions")),
          FormOption(QStringLiteral("--form-type"), FormNames()),
          TOptionSpec::Value(QStringLiteral("--out")).Needed(),
          TOptionSpec::Flag(QStringLiteral("--per-recipient")),
          TOptionSpec::Value(QStringLiteral("--password"))
              .OneOf({QStringLiteral("random"), QStringLiteral("tin-last4"), QStringLiteral("zip"),
                      QStringLiteral("none")}),
          TOptionSpec::Value(QStringLiteral("--password-file")),
          TOptionSpec::Flag(QStringLiteral("--allow-unprotected"))} +
          SelectionOptions(),
      {QStringLiteral("FILE.PE25")}};

  return syntax;
}

const TCommandSpec& TotalsSpec() {
  static const TCommandSpec syntax = {
      QList<TOptionSpec>{FormOption(QStringLiteral("--form"), FormNames()).Needed()} +
          SelectionOptions(),
      {QStringLiteral("FILE.PE25")}};
  return syntax;
}

// What one print draws: the program-generated forms, the red copies, or the alignment page.
enum class TPrintKind { Program, RedCopy, Alignment };

TPrintKind PrintKindByName(const QString& kind) {
  if (kind == QLatin1String("redcopy")) return TPrintKind::RedCopy;
  if (kind == QLatin1String("alignment")) return TPrintKind::Alignment;
  return TPrintKind::Program;
}

// The totals of the forms the selection takes; a selection without any form fails.
void ScanSelection(const TFormDef& def, const TPayeeSelection& selection) {
  if (ScanFormTotals(selection) == 0) throw TBatchFailure{NoSelectedFormsText(def, selection)};
}

void Print1096(TPagePrinter& printer, TReportProject& project, TPrintKind kind,
               const TPayeeSelection& selection) {
  const TFormDef& def = *FindFormDef(CurrentFormType);
  if (ScanFormTotals(selection) == 0)
    throw TBatchFailure{
        selection.TakesAll()
            ? QStringLiteral("There are no forms of the selected type available for printing")
            : NoSelectedFormsText(def, selection)};
  const bool redCopy = kind == TPrintKind::RedCopy;
  printer.SetTitle(redCopy ? QStringLiteral("Form 1096 Report") : QStringLiteral("Form 1096"));
  printer.BeginDoc();
  if (redCopy)
    Print1096RedCopy(printer, ReadHeldOffsets(QStringLiteral("F1096")));
  else
    Print1096ProgramGenerated(project, SelectionNote(def, selection, TotalForms));
}

void PrintPayeeForms(const TFormDef& def, TPagePrinter& printer, TReportProject& project,
                     TPrintKind kind, const TPayeeSelection& selection) {
  const TFormOffsets offsets = ReadHeldOffsets(QString::fromLatin1(def.OffsetPrefix));
  if (kind == TPrintKind::Alignment) {
    printer.SetTitle(QString::fromLatin1(def.Name) + QStringLiteral(" Alignment"));
    printer.BeginDoc();
    PrintAlignmentPage(def, printer, offsets);
    return;
  }
  ScanSelection(def, selection);
  const bool redCopy = kind == TPrintKind::RedCopy;
  printer.SetTitle(redCopy ? QString::fromLatin1(def.RedCopy.JobTitle)
                           : QString::fromLatin1(def.Name));
  printer.BeginDoc();
  if (redCopy)
    PrintRedCopies(def, printer, offsets, selection);
  else
    PrintProgramGenerated(def, printer, project, CopyChoice(), selection);
}

// The job of one print of the payees the selection takes, for a per-payee form or the Form 1096
// of CurrentFormType. A sink, when given, takes each page as it is finished.
TReportJob PrintJob(const QString& form, TPrintKind kind, const TPayeeSelection& selection,
                    TReportProject& project,
                    std::function<void(const TPagePrinter&, const TPage&)> sink = {}) {
  TPagePrinter printer;
  SetPrinterSetup(printer);
  if (sink) printer.SetPageSink([&printer, &sink](const TPage& page) { sink(printer, page); });
  project.SetEngine(&printer);
  const TFormDef* def = FindFormDef(CurrentFormType);
  if (!def) throw TBatchFailure{QStringLiteral("Unknown form: %1").arg(form)};
  if (form == QLatin1String("1096"))
    Print1096(printer, project, kind, selection);
  else
    PrintPayeeForms(*def, printer, project, kind, selection);
  printer.EndDoc();
  project.SetEngine(static_cast<TPagePrinter*>(nullptr));
  return printer.TakeJob();
}

// The per-payee forms draw only with the standard PDF fonts, so their PDF is written while the
// job is drawn, each page as soon as it is finished: memory stays the same however many payees.
int StreamPdf(const QString& form, TPrintKind kind, const TPayeeSelection& selection,
              TReportProject& project, const QString& target) {
  int pages = 0;
  WriteReportFile(target, [&](QIODevice& file) {
    std::unique_ptr<TPdfWriter> writer;
    const auto start = [&](const TReportJob& job) {
      CheckSheetSize(job.PageWidth, job.PageHeight);
      writer = std::make_unique<TPdfWriter>(file, target, DefaultPdfInfo(job), job.PageWidth,
                                            job.PageHeight);
    };
    auto sink = [&](const TPagePrinter& printer, const TPage& page) {
      if (!writer) start(printer.Job());
      writer->AddPage(page);
    };
    const TReportJob job = PrintJob(form, kind, selection, project, sink);
    if (!writer) start(job);
    writer->Finish();
    pages = writer->PageCount();
  });
  return pages;
}

bool IsPdf(const QString& target) {
  return QFileInfo(target).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

// Red copies of a payer file the IRS wants filed electronically: one line, and the print goes on.
void WarnPaperFiling(TRecordSet& payees, QTextStream& err) {
  const QString notice = ElectronicFilingNotice(CountAllForms(payees));
  if (!notice.isEmpty()) err << "Note: " << notice << "\n";
}

struct TPrintOptions {
  QString File, Form, Kind, Target;
  QStringList Tins;  // --payees
  bool Mask = true;
  bool PerRecipient = false;
  TPasswordSource Password = TPasswordSource::None;
  QString PasswordFile;
  bool AllowUnprotected = false;
  TCopyChoice Copies;
};

// Options that would change nothing are refused, so none is ignored without a word: the red
// copies and the Form 1096 go to the IRS whole, with no recipient's copy to choose or mask.
void RefuseOptionsWithoutEffect(const TParsedCommand& args, const TPrintOptions& o) {
  const bool recipientCopies =
      o.Kind == QLatin1String("program") && o.Form != QLatin1String("1096");
  for (const char* name : {"--mask-ssn", "--copy", "--instructions"})
    if (!recipientCopies && args.Has(QLatin1String(name)))
      throw TUsageError{QStringLiteral("%1 goes only with the recipients' forms (--kind program, "
                                       "--form other than 1096)")
                            .arg(QLatin1String(name))};
  if (o.Form == QLatin1String("1096") && !args.Has(QStringLiteral("--form-type")))
    throw TUsageError{QStringLiteral("--form 1096 needs --form-type")};
  if (o.Form != QLatin1String("1096") && args.Has(QStringLiteral("--form-type")))
    throw TUsageError{QStringLiteral("--form-type goes only with --form 1096")};
  if (o.PerRecipient && !recipientCopies)
    throw TUsageError{QStringLiteral(
        "--per-recipient goes only with the recipients' forms (--kind program, --form other "
        "than 1096)")};
  for (const char* name : {"--password", "--password-file", "--allow-unprotected"})
    if (!o.PerRecipient && args.Has(QLatin1String(name)))
      throw TUsageError{
          QStringLiteral("%1 goes only with --per-recipient").arg(QLatin1String(name))};
  // One source of passwords: the kind named or the bookkeeper's own list.
  if (args.Has(QStringLiteral("--password")) && args.Has(QStringLiteral("--password-file")))
    throw TUsageError{QStringLiteral("--password and --password-file exclude each other")};
  if (o.Kind == QLatin1String("alignment") && o.Form == QLatin1String("1096"))
    throw TUsageError{
        QStringLiteral("--kind alignment goes only with the forms of the payees "
                       "(--form other than 1096)")};
  for (const char* name : {"--only", "--payees"})
    if (o.Kind == QLatin1String("alignment") && args.Has(QLatin1String(name)))
      throw TUsageError{
          QStringLiteral("%1 goes only with forms to print (--kind program or redcopy)")
              .arg(QLatin1String(name))};
}

// The TINs of --payees; an option that names none is refused.
QStringList TinsOption(const TParsedCommand& args) {
  if (args.Has(QStringLiteral("--only")) && args.Has(QStringLiteral("--payees")))
    throw TUsageError{QStringLiteral("--only and --payees do not go together")};
  if (!args.Has(QStringLiteral("--payees"))) return {};
  QStringList tins;
  for (const QString& tin : args.Value(QStringLiteral("--payees")).split(QLatin1Char(',')))
    if (!tin.trimmed().isEmpty()) tins.append(tin.trimmed());
  if (tins.isEmpty()) throw TUsageError{QStringLiteral("--payees needs at least one TIN")};
  return tins;
}

// The payees the options take from the open payer file; a corrected print tells of the payees
// marked CORRECTED that file no form, since none prints for them.
TPayeeSelection ReadSelection(const TParsedCommand& args, const QStringList& tins,
                              const TFormDef& def, QTextStream& err) {
  if (args.Has(QStringLiteral("--only"))) {
    const QString notice = CorrectedWithoutFormNotice(def);
    if (!notice.isEmpty()) err << "Note: " << notice << "\n";
    return TPayeeSelection::CorrectedOnly();
  }
  if (tins.isEmpty()) return {};
  return TPayeeSelection::Chosen(PayeesByTin(*FrmDataModule->RSPayee, def, tins));
}

TPrintOptions PrintOptions(const TParsedCommand& args) {
  TPrintOptions o;
  o.File = args.Arguments().first();
  o.Form = args.Value(QStringLiteral("--form"));
  o.Kind = args.Value(QStringLiteral("--kind"));
  o.Target = args.Value(QStringLiteral("--out"));
  o.PerRecipient = args.Has(QStringLiteral("--per-recipient"));
  o.Copies.Instructions =
      args.Value(QStringLiteral("--instructions"), QStringLiteral("yes")) == QLatin1String("yes");
  o.Copies.PayerCopy = args.Value(QStringLiteral("--copy")) == QLatin1String("C");
  // The payer's own Copy C shows the TIN whole unless masking is asked for.
  bool& mask = o.Copies.PayerCopy ? o.Copies.MaskPayerCopy : o.Mask;
  mask = args.Value(QStringLiteral("--mask-ssn"),
                    o.Copies.PayerCopy ? QStringLiteral("no") : QStringLiteral("yes")) ==
         QLatin1String("yes");
  PasswordSourceByName(args.Value(QStringLiteral("--password"), QStringLiteral("none")),
                       o.Password);
  o.PasswordFile = args.Value(QStringLiteral("--password-file"));
  if (args.Has(QStringLiteral("--password-file"))) o.Password = TPasswordSource::OwnList;
  o.AllowUnprotected = args.Has(QStringLiteral("--allow-unprotected"));
  if (o.Target.isEmpty()) throw TUsageError{QStringLiteral("--out needs a file name")};
  RefuseOptionsWithoutEffect(args, o);
  o.Tins = TinsOption(args);
  return o;
}

// The bookkeeper's own passwords: a CSV file with a header row naming a "TIN" and a "Password"
// column (others are ignored), one recipient a row, matched by the TIN's digits. passwords.csv
// of a random run is such a file.
QHash<QString, QString> LoadPasswordFile(const QString& path, QTextStream& err) {
  constexpr qint64 kMaxBytes = qint64(16) << 20;
  const QByteArray bytes = ReadRegularFile(path, kMaxBytes);
  const TCsvFormat format = DetectCsvFormat(bytes);
  const std::vector<TCsvRow> rows =
      ParseCsv(DecodeCsv(bytes, format.Encoding).Text, format.Separator).Rows;
  auto column = [&](const char* name) {
    if (rows.empty()) return qsizetype(-1);
    for (qsizetype c = 0; c < rows.front().Cells.size(); ++c)
      if (rows.front().Cells[c].trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
        return c;
    return qsizetype(-1);
  };
  const qsizetype tin = column("TIN"), password = column("Password");
  if (tin < 0 || password < 0)
    throw TBatchFailure{
        QStringLiteral("%1 needs a header row with a \"TIN\" and a \"Password\" column").arg(path)};
  QHash<QString, QString> passwords;
  for (size_t r = 1; r < rows.size(); ++r) {
    const QString cell = rows[r].Cells.value(tin).trimmed();
    const QString value = rows[r].Cells.value(password);
    if (cell.isEmpty() && value.isEmpty()) continue;
    if (cell.isEmpty()) {
      err << path << ", line " << rows[r].Line << ": no TIN; the row is not used\n";
      continue;
    }
    // The shapes a TIN is written in: 123-45-6789, 12-3456789 or nine digits.
    const QString digits = TinDigits(cell);
    if (digits.isEmpty())
      throw TBatchFailure{QStringLiteral("%1, line %2: \"%3\" is not a TIN of nine digits")
                              .arg(path)
                              .arg(rows[r].Line)
                              .arg(cell)};
    if (passwords.contains(digits) && passwords.value(digits) != value)
      throw TBatchFailure{QStringLiteral("%1, line %2: the TIN %3 has another password above")
                              .arg(path)
                              .arg(rows[r].Line)
                              .arg(rows[r].Cells.value(tin))};
    passwords.insert(digits, value);
  }
  return passwords;
}

// Writes the folder of per-recipient files and lists them. A recipient who could not be
// protected gets no file unless the command allows it, and the command then ends with 2.
int PrintRecipientFiles(const TPrintOptions& o, const TPayeeSelection& selection,
                        const TReportProject& project, QTextStream& out, QTextStream& err) {
  const TFormDef* def = FindFormDef(CurrentFormType);
  ScanSelection(*def, selection);
  TPagePrinter model;
  SetPrinterSetup(model);
  const QHash<QString, QString> own = o.Password == TPasswordSource::OwnList
                                          ? LoadPasswordFile(o.PasswordFile, err)
                                          : QHash<QString, QString>();
  const QList<TRecipientFile> files = WriteRecipientFiles({*def,
                                                           project.ProjectFile(),
                                                           o.Target,
                                                           o.Password,
                                                           own,
                                                           o.AllowUnprotected,
                                                           o.Copies,
                                                           &model,
                                                           {},
                                                           selection});
  qsizetype written = 0;
  for (const TRecipientFile& file : files) {
    out << RecipientFileLine(file) << "\n";
    written += file.Written ? 1 : 0;
  }
  out << written << " file(s) written to " << o.Target << "\n";
  if (o.Password == TPasswordSource::Random && written > 0)
    out << "Passwords: " << PasswordListCsv(o.Target) << " and " << PasswordListPdf(o.Target)
        << " (send each recipient the password by another way than the file)\n";
  if (written == files.size()) return 0;
  err << files.size() - written
      << " recipient(s) have no password and got no file; --allow-unprotected writes their "
         "files without one\n";
  return 2;
}

int PrintForms(const TParsedCommand& args, QTextStream& out, QTextStream& err) {
  const TPrintOptions o = PrintOptions(args);
  const QString& form = o.Form;
  try {
    if (!o.PerRecipient) CheckBatchOutput(o.Target);
    const QString typeName =
        form == QLatin1String("1096") ? args.Value(QStringLiteral("--form-type")) : form;
    const TFormDef* def = FormDefByName(typeName);
    if (!def) throw TBatchFailure{QStringLiteral("Unknown form: %1").arg(typeName)};
    CurrentFormType = def->FormType;
    StartBatchSettings();
    MaskSSNOption = o.Mask;
    CopyChoice() = o.Copies;
    TFrmDataModule module;
    TReportProject project;
    project.SetProjectFile(ReportProjectPath());
    module.ReportProject = &project;
    OpenPayerFileReadOnly(module, o.File);
    const TPrintKind kind = PrintKindByName(o.Kind);
    const TPayeeSelection selection = ReadSelection(args, o.Tins, *def, err);
    if (kind == TPrintKind::RedCopy) WarnPaperFiling(*module.RSPayee, err);
    if (o.PerRecipient) {
      const int rc = PrintRecipientFiles(o, selection, project, out, err);
      module.RSPayee->CloseRecSet();
      return rc;
    }
    int pages = 0;
    if (IsPdf(o.Target) && form != QLatin1String("1096")) {
      pages = StreamPdf(form, kind, selection, project, o.Target);
      module.RSPayee->CloseRecSet();
    } else {
      const TReportJob job = PrintJob(form, kind, selection, project);
      module.RSPayee->CloseRecSet();
      ExportJob(job, o.Target);
      pages = job.PageCount();
    }
    out << pages << " page(s) written to " << o.Target << "\n";
    return 0;
  } catch (const TBatchFailure& failure) {
    err << failure.Message << "\n";
    return 2;
  }
}

int ShowTotals(const TParsedCommand& args, QTextStream& out, QTextStream& err) {
  const QString form = args.Value(QStringLiteral("--form"));
  const QStringList tins = TinsOption(args);
  try {
    const TFormDef& def = *FormDefByName(form);  // one of the listed names
    CurrentFormType = def.FormType;
    StartBatchSettings();
    TFrmDataModule module;
    OpenPayerFileReadOnly(module, args.Arguments().first());
    const TPayeeSelection selection = ReadSelection(args, tins, def, err);
    ScanFormTotals(selection);
    module.RSPayee->CloseRecSet();
    out << "Form " << form << "\n";
    if (!selection.TakesAll())
      out << (TotalForms == 0 ? NoSelectedFormsText(def, selection)
                              : SelectionNote(def, selection, TotalForms))
          << "\n";
    out << "Total number of forms: " << TotalForms << "\n";
    out << "Federal income tax withheld: " << FormatAmount(TotalWithheld) << "\n";
    out << "Total amount reported: " << FormatAmount(TotalAmount) << "\n";
    return 0;
  } catch (const TBatchFailure& failure) {
    err << failure.Message << "\n";
    return 2;
  }
}
}  // namespace

PAPYRA_BATCH_COMMAND("print", kPrintUsage.constData(),
                     "Prints the forms of a payer file, program-generated or for pre-printed red "
                     "copies, or the alignment page for red copies, into a PDF, HTML, snapshot or "
                     "text file.\n"
                     "--per-recipient writes one PDF per recipient into DIR, named by the form "
                     "and the recipient's name, each 0600. --password random gives each "
                     "recipient a passphrase of its own, listed in DIR/passwords.csv and "
                     "DIR/passwords.pdf to be sent by another way than the file; --password-file "
                     "takes the passwords from a CSV file with a TIN and a Password column. "
                     "tin-last4 and zip protect little: 10,000 and 100,000 guesses open such a "
                     "file, and a ZIP code is on the envelope. A recipient without a password "
                     "gets no file and the command ends with 2, unless --allow-unprotected is "
                     "given.",
                     PrintSpec(), PrintForms)
PAPYRA_BATCH_COMMAND("totals", kTotalsUsage.constData(),
                     "Prints the Form 1096 totals of one form type: forms, amount and "
                     "federal tax withheld.",
                     TotalsSpec(), ShowTotals)
