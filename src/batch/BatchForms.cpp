// papyra-batch print: the forms of a payer file, program-generated or onto red copies, through
// the same print routines as the form screens, into a PDF, HTML, snapshot or text file, or into
// a folder with one PDF per recipient.
// papyra-batch totals: what the Form 1096 screen shows for a form type.
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
#include "forms/Form1096.h"
#include "forms/FormPrint.h"
#include "forms/FormRegistry.h"
#include "forms/FormTotals.h"
#include "forms/RecipientFiles.h"
#include "platform/Exceptions.h"
#include "platform/Resources.h"
#include "printing/PrinterSetup.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecordSet.h"

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
    "[--form-type FORMS] "
    "--out OUT.pdf|.html|.snp|.txt\n"
    "       print FILE.PE25 --form FORM --kind program --per-recipient "
    "[--password tin-last4|zip|none] [--mask-ssn yes|no] [--copy B|C] [--instructions yes|no] "
    "--out DIR");
const QByteArray kTotalsUsage = UsageText("totals FILE.PE25 --form FORMS");

uint8_t FormTypeOption(const QStringList& args, const QString& flag) {
  const QString name = OptionValue(args, flag);
  const TFormDef* def = FormDefByName(name);
  if (!def) throw TBatchFailure{QStringLiteral("Unknown form type: %1").arg(name)};
  return def->FormType;
}

// The job of one print: program-generated or red copy, for the 1099-NEC (or another per-payee
// form with tables) or the Form 1096. A sink, when given, takes each page as it is finished.
TReportJob PrintJob(const QString& form, bool redCopy, TReportProject& project,
                    std::function<void(const TPagePrinter&, const TPage&)> sink = {}) {
  TPagePrinter printer;
  SetPrinterSetup(printer);
  if (sink) printer.SetPageSink([&printer, &sink](const TPage& page) { sink(printer, page); });
  project.SetEngine(&printer);
  if (form == QLatin1String("1096")) {
    if (ScanFormTotals() == 0)
      throw TBatchFailure{
          QStringLiteral("There are no forms of the selected type available for printing")};
    printer.SetTitle(redCopy ? QStringLiteral("Form 1096 Report") : QStringLiteral("Form 1096"));
    printer.BeginDoc();
    if (redCopy)
      Print1096RedCopy(printer, ReadHeldOffsets(QStringLiteral("F1096")));
    else
      Print1096ProgramGenerated(project);
  } else {
    const TFormDef* def = FindFormDef(CurrentFormType);
    if (!def) throw TBatchFailure{QStringLiteral("Unknown form: %1").arg(form)};
    if (ScanFormTotals() == 0) throw TBatchFailure{QString::fromLatin1(def->NoFormsText)};
    printer.SetTitle(redCopy ? QString::fromLatin1(def->RedCopy.JobTitle)
                             : QString::fromLatin1(def->Name));
    printer.BeginDoc();
    if (redCopy)
      PrintRedCopies(*def, printer, ReadHeldOffsets(QString::fromLatin1(def->OffsetPrefix)));
    else
      PrintProgramGenerated(*def, printer, project);
  }
  printer.EndDoc();
  project.SetEngine(static_cast<TPagePrinter*>(nullptr));
  return printer.TakeJob();
}

// The per-payee forms draw only with the standard PDF fonts, so their PDF is written while the
// job is drawn, each page as soon as it is finished: memory stays the same however many payees.
int StreamPdf(const QString& form, bool redCopy, TReportProject& project, const QString& target) {
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
    const TReportJob job = PrintJob(form, redCopy, project, sink);
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
  bool Mask = true;
  bool PerRecipient = false;
  TPasswordSource Password = TPasswordSource::None;
  TCopyChoice Copies;
};

bool YesNo(const QStringList& args, const QString& flag, bool& value) {
  const QString text = OptionValue(args, flag, QStringLiteral("yes"));
  value = text == QLatin1String("yes");
  return value || text == QLatin1String("no");
}

// False for a command line that does not fit the usage.
bool ParsePrintOptions(QStringList args, TPrintOptions& o) {
  o.PerRecipient = args.removeAll(QStringLiteral("--per-recipient")) > 0;
  const QStringList files = Positional(args);
  o.File = files.value(0);
  o.Form = OptionValue(args, QStringLiteral("--form"));
  o.Kind = OptionValue(args, QStringLiteral("--kind"));
  o.Target = OptionValue(args, QStringLiteral("--out"));
  const QString copy = OptionValue(args, QStringLiteral("--copy"), QStringLiteral("B"));
  o.Copies.PayerCopy = copy == QLatin1String("C");
  const bool password = args.contains(QStringLiteral("--password"));
  bool ok =
      files.size() == 1 && !o.Form.isEmpty() && !o.Target.isEmpty() &&
      (o.Kind == QLatin1String("program") || o.Kind == QLatin1String("redcopy")) &&
      YesNo(args, QStringLiteral("--mask-ssn"), o.Mask) &&
      YesNo(args, QStringLiteral("--instructions"), o.Copies.Instructions) &&
      (copy == QLatin1String("B") || copy == QLatin1String("C")) &&
      PasswordSourceByName(OptionValue(args, QStringLiteral("--password"), QStringLiteral("none")),
                           o.Password);
  // One file per recipient is made of program-generated forms of one recipient each.
  if (o.PerRecipient)
    ok = ok && o.Kind == QLatin1String("program") && o.Form != QLatin1String("1096");
  else
    ok = ok && !password;
  return ok;
}

// Writes the folder of per-recipient files and lists them.
void PrintRecipientFiles(const TPrintOptions& o, const TReportProject& project, QTextStream& out) {
  const TFormDef* def = FindFormDef(CurrentFormType);
  if (ScanFormTotals() == 0) throw TBatchFailure{QString::fromLatin1(def->NoFormsText)};
  TPagePrinter model;
  SetPrinterSetup(model);
  const QList<TRecipientFile> files = WriteRecipientFiles(
      {*def, project.ProjectFile(), o.Target, o.Password, o.Copies, &model, {}});
  for (const TRecipientFile& file : files) out << RecipientFileLine(file) << "\n";
  out << files.size() << " file(s) written to " << o.Target << "\n";
}

int PrintForms(const QStringList& args, QTextStream& out, QTextStream& err) {
  TPrintOptions o;
  if (!ParsePrintOptions(args, o)) {
    err << "usage: papyra-batch " << kPrintUsage << "\n";
    return 2;
  }
  const QString& form = o.Form;
  try {
    if (!o.PerRecipient) CheckBatchOutput(o.Target);
    if (form == QLatin1String("1096"))
      CurrentFormType = FormTypeOption(args, QStringLiteral("--form-type"));
    else if (const TFormDef* def = FormDefByName(form))
      CurrentFormType = def->FormType;
    else
      throw TBatchFailure{QStringLiteral("Unknown form: %1").arg(form)};
    StartBatchSettings();
    MaskSSNOption = o.Mask;
    CopyChoice() = o.Copies;
    TFrmDataModule module;
    TReportProject project;
    project.SetProjectFile(ReportProjectPath());
    module.ReportProject = &project;
    OpenPayerFileReadOnly(module, o.File);
    const bool redCopy = o.Kind == QLatin1String("redcopy");
    if (redCopy) WarnPaperFiling(*module.RSPayee, err);
    if (o.PerRecipient) {
      PrintRecipientFiles(o, project, out);
      module.RSPayee->CloseRecSet();
      return 0;
    }
    int pages = 0;
    if (IsPdf(o.Target) && form != QLatin1String("1096")) {
      pages = StreamPdf(form, redCopy, project, o.Target);
      module.RSPayee->CloseRecSet();
    } else {
      const TReportJob job = PrintJob(form, redCopy, project);
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

int ShowTotals(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QStringList files = Positional(args);
  if (files.size() != 1 || OptionValue(args, QStringLiteral("--form")).isEmpty()) {
    err << "usage: papyra-batch " << kTotalsUsage << "\n";
    return 2;
  }
  try {
    CurrentFormType = FormTypeOption(args, QStringLiteral("--form"));
    StartBatchSettings();
    TFrmDataModule module;
    OpenPayerFileReadOnly(module, files.first());
    ScanFormTotals();
    module.RSPayee->CloseRecSet();
    out << "Form " << OptionValue(args, QStringLiteral("--form")) << "\n";
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
                     "copies, into a PDF, HTML, snapshot or text file.",
                     PrintForms)
PAPYRA_BATCH_COMMAND("totals", kTotalsUsage.constData(),
                     "Prints the Form 1096 totals of one form type: forms, amount and "
                     "federal tax withheld.",
                     ShowTotals)
