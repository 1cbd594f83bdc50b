// papyra-batch labels: the mailing labels of a payer file, through the same label job as
// File / Print Labels, into a PDF, HTML, snapshot or text file.
//
// The payer file is only read: nothing is written back, no lock is taken, and a file protected
// by a password is refused rather than opened without it.
#include <QFileInfo>

#include "batch/BatchCommands.h"
#include "engine/Fonts.h"
#include "engine/PagePrinter.h"
#include "engine/Render.h"
#include "engine/Snapshot.h"
#include "maintenance/Utils.h"
#include "platform/Services.h"
#include "printing/Labels.h"
#include "printing/PrinterSetup.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
const char* const kLabelsUsage =
    "labels FILE.PE25 --out OUT.pdf|.html|.snp|.txt  (PDF, HTML and text hold the labels as "
    "printed; a .snp snapshot is what the preview shows, label outlines included)";

struct TLabelsFailure {
  QString Message;
};

void StartSettings() {
  ProgramFolder = ExecutableFolder();
  RegistryRoot = RunningUnderDevEnvironment() ? QStringLiteral("Software\\PapyraTest\\2025\\")
                                              : QStringLiteral("Software\\Papyra\\2025\\");
  if (!AppRegistry) AppRegistry = std::make_unique<TRegistry>();
  RegisterFontSubstitutions();
}

TRecordSet* OpenReadOnly(TRecordSet& set, const QString& file, int recSize) {
  set.SetRecSize(recSize);
  set.SetFileName(file);
  set.SetFileOpenMode(omOpenRead);
  set.SetFileShareMode(smShareDenyNone);
  set.SetAutoCreate(false);
  set.SetShowOpenMode(false);
  set.OpenRecSet();
  if (!set.Active()) throw TLabelsFailure{QStringLiteral("Unable to open %1").arg(file)};
  return &set;
}

// Only the password matters here: a protected file is the user's to open in Papyra.
void CheckNoPassword(const QString& payeeFile) {
  const QString payerFile = ChangeFileExt(payeeFile, QStringLiteral(".PR25"));
  if (!QFileInfo(payerFile).isFile())
    throw TLabelsFailure{QStringLiteral("File not found: %1").arg(payerFile)};
  TRecordSet payer;
  OpenReadOnly(payer, payerFile, TPayerRecord::Size);
  if (payer.LastRecord() < 1)
    throw TLabelsFailure{QStringLiteral("Unable to read the payer record of %1").arg(payerFile)};
  payer.GetRec();
  std::copy_n(payer.RecordBuffer(), TPayerRecord::Size, PayerRec.Data());
  payer.CloseRecSet();
  if (!IsBlank(PayerRec.GetString("FilePassword")))
    throw TLabelsFailure{
        QStringLiteral("%1 is protected by a file password; open it in Papyra to print it")
            .arg(payeeFile)};
}

// The payee set of the data module (its reads fill PayeeRec) without the opening and closing
// events, which would ask for the password and write the records back.
void OpenPayees(TFrmDataModule& module, const QString& path) {
  if (!QFileInfo(path).isFile())
    throw TLabelsFailure{QStringLiteral("File not found: %1").arg(path)};
  CheckNoPassword(path);
  TRecordSet* payees = module.RSPayee;
  payees->OnBeforeOpen = nullptr;
  payees->OnAfterOpen = nullptr;
  payees->OnBeforeClose = nullptr;
  payees->OnAfterClose = nullptr;
  PayeeFileName = path;
  OpenReadOnly(*payees, path, TPayeeRecord::Size);
  FileIsOpen = true;
  PayeeRec.Clear();
  payees->GetRec();
}

// What paper gets: preview-only items (the label outlines) left out.
TReportJob AsPrinted(TReportJob job) {
  for (TPage& page : job.Pages)
    page.Items.removeIf([](const TDisplayItem& item) { return item.PreviewOnly; });
  return job;
}

int PrintLabels(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QStringList files = Positional(args);
  const QString target = OptionValue(args, QStringLiteral("--out"));
  if (files.size() != 1 || target.isEmpty()) {
    err << "usage: papyra-batch " << kLabelsUsage << "\n";
    return 2;
  }
  const QString ext = QFileInfo(target).suffix().toLower();
  if (!QStringList{"pdf", "html", "htm", "snp", "txt"}.contains(ext)) {
    err << "The output must be a .pdf, .html, .snp or .txt file: " << target << "\n";
    return 2;
  }
  try {
    StartSettings();
    TFrmDataModule module;
    OpenPayees(module, files.first());
    TPagePrinter printer;
    SetPrinterSetup(printer);
    printer.SetTitle(QStringLiteral("Papyra Labels"));
    printer.BeginDoc();
    const int labels = WritePayeeLabels(printer, *module.RSPayee);
    printer.EndDoc();
    module.RSPayee->CloseRecSet();
    const TReportJob job = printer.TakeJob();
    ExportJob(ext == QLatin1String("snp") ? job : AsPrinted(job), target);
    out << labels << " label(s) on " << job.PageCount() << " page(s) written to " << target << "\n";
    return 0;
  } catch (const TLabelsFailure& failure) {
    err << failure.Message << "\n";
    return 2;
  }
}
}  // namespace

PAPYRA_BATCH_COMMAND("labels", kLabelsUsage, PrintLabels)
