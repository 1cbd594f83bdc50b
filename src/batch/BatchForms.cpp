// papyra-batch print: the forms of a payer file, program-generated or onto red copies, through
// the same print routines as the form screens, into a PDF, HTML, snapshot or text file.
// papyra-batch totals: what the Form 1096 screen shows for a form type.
//
// The payer file is only read: nothing is written back, no lock is taken, and a file protected
// by a password is refused rather than opened without it.
#include <QFileInfo>

#include "batch/BatchCommands.h"
#include "batch/BatchPayerFile.h"
#include "engine/PagePrinter.h"
#include "engine/Render.h"
#include "engine/ReportProject.h"
#include "forms/Form1096.h"
#include "forms/FormPrint.h"
#include "forms/FormRegistry.h"
#include "forms/FormTotals.h"
#include "maintenance/Utils.h"
#include "platform/Resources.h"
#include "printing/PrinterSetup.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecordSet.h"

namespace {
const char* const kPrintUsage =
    "print FILE.PE25 --form 1098|1099-DIV|1099-INT|1099-MISC|1099-NEC|1099-R|1099-S|1096 "
    "--kind program|redcopy [--mask-ssn yes|no] "
    "[--form-type 1098|1099-DIV|1099-INT|1099-MISC|1099-NEC|1099-R|1099-S] "
    "--out OUT.pdf|.html|.snp|.txt";
const char* const kTotalsUsage =
    "totals FILE.PE25 --form 1098|1099-DIV|1099-INT|1099-MISC|1099-NEC|1099-R|1099-S";

int FormTypeOption(const QStringList& args, const QString& flag) {
  const QString name = OptionValue(args, flag);
  const int type = FormTypeByName(name);
  if (type < 0) throw TBatchFailure{QStringLiteral("Unknown form type: %1").arg(name)};
  return type;
}

// The job of one print: program-generated or red copy, for the 1099-NEC (or another per-payee
// form with tables) or the Form 1096.
TReportJob PrintJob(const QString& form, bool redCopy, TReportProject& project) {
  TPagePrinter printer;
  SetPrinterSetup(printer);
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

// Red copies of a payer file the IRS wants filed electronically: one line, and the print goes on.
void WarnPaperFiling(TRecordSet& payees, QTextStream& err) {
  const QString notice = ElectronicFilingNotice(CountAllForms(payees));
  if (!notice.isEmpty()) err << "Note: " << notice << "\n";
}

int PrintForms(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QStringList files = Positional(args);
  const QString form = OptionValue(args, QStringLiteral("--form"));
  const QString kind = OptionValue(args, QStringLiteral("--kind"));
  const QString mask = OptionValue(args, QStringLiteral("--mask-ssn"), QStringLiteral("yes"));
  const QString target = OptionValue(args, QStringLiteral("--out"));
  if (files.size() != 1 || form.isEmpty() || target.isEmpty() ||
      (kind != QLatin1String("program") && kind != QLatin1String("redcopy")) ||
      (mask != QLatin1String("yes") && mask != QLatin1String("no"))) {
    err << "usage: papyra-batch " << kPrintUsage << "\n";
    return 2;
  }
  try {
    CheckBatchOutput(target);
    if (form == QLatin1String("1096"))
      CurrentFormType = uint8_t(FormTypeOption(args, QStringLiteral("--form-type")));
    else if (FormTypeByName(form) < 0 || !FindFormDef(uint8_t(FormTypeByName(form))))
      throw TBatchFailure{QStringLiteral("Unknown form: %1").arg(form)};
    else
      CurrentFormType = uint8_t(FormTypeByName(form));
    StartBatchSettings();
    MaskSSNOption = mask == QLatin1String("yes");
    TFrmDataModule module;
    TReportProject project;
    project.SetProjectFile(ReportProjectPath());
    module.ReportProject = &project;
    OpenPayerFileReadOnly(module, files.first());
    if (kind == QLatin1String("redcopy")) WarnPaperFiling(*module.RSPayee, err);
    const TReportJob job = PrintJob(form, kind == QLatin1String("redcopy"), project);
    module.RSPayee->CloseRecSet();
    ExportJob(job, target);
    out << job.PageCount() << " page(s) written to " << target << "\n";
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
    CurrentFormType = uint8_t(FormTypeOption(args, QStringLiteral("--form")));
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

PAPYRA_BATCH_COMMAND("print", kPrintUsage,
                     "Prints the forms of a payer file, program-generated or for pre-printed red "
                     "copies, into a PDF, HTML, snapshot or text file.",
                     PrintForms)
PAPYRA_BATCH_COMMAND("totals", kTotalsUsage,
                     "Prints the Form 1096 totals of one form type: forms, amount and "
                     "federal tax withheld.",
                     ShowTotals)
