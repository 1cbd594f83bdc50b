// papyra-batch labels: the mailing labels of a payer file, through the same label job as
// File / Print Labels, into a PDF, HTML, snapshot or text file.
//
// The payer file is only read: nothing is written back, no lock is taken, and a file protected
// by a password is refused rather than opened without it.
#include <QFileInfo>

#include "batch/BatchCommands.h"
#include "batch/BatchPayerFile.h"
#include "engine/PagePrinter.h"
#include "engine/Render.h"
#include "engine/Snapshot.h"
#include "printing/Labels.h"
#include "printing/PrinterSetup.h"
#include "storage/DataModule.h"

namespace {
const char* const kLabelsUsage =
    "labels FILE.PE25 --out OUT.pdf|.html|.snp|.txt  (PDF, HTML and text hold the labels as "
    "printed; a .snp snapshot is what the preview shows, label outlines included)";
const TCommandSpec kLabelsSpec = {{TOptionSpec::Value(QStringLiteral("--out")).Needed()},
                                  {QStringLiteral("FILE.PE25")}};

// What paper gets: preview-only items (the label outlines) left out.
TReportJob AsPrinted(TReportJob job) {
  for (TPage& page : job.Pages)
    page.Items.removeIf([](const TDisplayItem& item) { return item.PreviewOnly; });
  return job;
}

int PrintLabels(const TParsedCommand& args, QTextStream& out, QTextStream& err) {
  const QString target = args.Value(QStringLiteral("--out"));
  if (target.isEmpty()) throw TUsageError{QStringLiteral("--out needs a file name")};
  try {
    CheckBatchOutput(target);
    StartBatchSettings();
    TFrmDataModule module;
    OpenPayerFileReadOnly(module, args.Arguments().first());
    TPagePrinter printer;
    SetPrinterSetup(printer);
    printer.SetTitle(QStringLiteral("Papyra Labels"));
    printer.BeginDoc();
    const int labels = WritePayeeLabels(printer, *module.RSPayee);
    printer.EndDoc();
    module.RSPayee->CloseRecSet();
    const TReportJob job = printer.TakeJob();
    const bool snapshot = QFileInfo(target).suffix().toLower() == QLatin1String("snp");
    ExportJob(snapshot ? job : AsPrinted(job), target);
    out << labels << " label(s) on " << job.PageCount() << " page(s) written to " << target << "\n";
    return 0;
  } catch (const TBatchFailure& failure) {
    err << failure.Message << "\n";
    return 2;
  }
}
}  // namespace

PAPYRA_BATCH_COMMAND("labels", kLabelsUsage, "Prints a mailing label (Avery 5160) for each payee.",
                     kLabelsSpec, PrintLabels)
