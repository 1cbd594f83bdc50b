// papyra-batch print: the forms of a payer file, program-generated or onto red copies, through
// the same print routines as the form screens, into a PDF, HTML, snapshot or text file.
// papyra-batch totals: what the Form 1096 screen shows for a form type.
//
// The payer file is only read: nothing is written back, no lock is taken, and a file protected
// by a password is refused rather than opened without it.
#include <QFileInfo>
#include <QSaveFile>
#include <functional>
#include <memory>

#include "batch/BatchCommands.h"
#include "batch/BatchPayerFile.h"
#include "engine/PagePrinter.h"
#include "engine/PdfWriter.h"
#include "engine/Render.h"
#include "engine/ReportProject.h"
#include "forms/Form1096.h"
#include "forms/FormPrint.h"
#include "forms/FormRegistry.h"
#include "forms/FormTotals.h"
#include "maintenance/Utils.h"
#include "platform/Exceptions.h"
#include "printing/PrinterSetup.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

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
  QSaveFile file(target);
  if (!file.open(QIODevice::WriteOnly))
    throw EReportException(
        QStringLiteral("Cannot write \"%1\": %2").arg(target, file.errorString()));
  std::unique_ptr<TPdfWriter> writer;
  auto sink = [&](const TPagePrinter& printer, const TPage& page) {
    if (!writer) {
      const TReportJob& job = printer.Job();
      writer = std::make_unique<TPdfWriter>(file, target, DefaultPdfInfo(job), job.PageWidth,
                                            job.PageHeight);
    }
    writer->AddPage(page);
  };
  const TReportJob job = PrintJob(form, redCopy, project, sink);
  if (!writer)
    writer = std::make_unique<TPdfWriter>(file, target, DefaultPdfInfo(job), job.PageWidth,
                                          job.PageHeight);
  writer->Finish();
  if (!file.commit())
    throw EReportException(
        QStringLiteral("Cannot write \"%1\": %2").arg(target, file.errorString()));
  return writer->PageCount();
}

bool IsPdf(const QString& target) {
  return QFileInfo(target).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
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
    project.SetProjectFile(ProgramFolder + QStringLiteral("TaxForms.rpj"));
    module.ReportProject = &project;
    OpenPayerFileReadOnly(module, files.first());
    const bool redCopy = kind == QLatin1String("redcopy");
    int pages = 0;
    if (IsPdf(target) && form != QLatin1String("1096")) {
      pages = StreamPdf(form, redCopy, project, target);
      module.RSPayee->CloseRecSet();
    } else {
      const TReportJob job = PrintJob(form, redCopy, project);
      module.RSPayee->CloseRecSet();
      ExportJob(job, target);
      pages = job.PageCount();
    }
    out << pages << " page(s) written to " << target << "\n";
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

PAPYRA_BATCH_COMMAND("print", kPrintUsage, PrintForms)
PAPYRA_BATCH_COMMAND("totals", kTotalsUsage, ShowTotals)
