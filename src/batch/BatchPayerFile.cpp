#include "batch/BatchPayerFile.h"

#include <QFileInfo>
#include <QStringList>

#include "core/Utils.h"
#include "engine/Fonts.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
void OpenReadOnly(TRecordSet& set, const QString& file, int recSize) {
  set.SetRecSize(recSize);
  set.SetFileName(file);
  set.SetFileOpenMode(omOpenRead);
  set.SetFileShareMode(smShareDenyNone);
  set.SetAutoCreate(false);
  set.SetShowOpenMode(false);
  set.SetOpenErrText(QStringLiteral("Unable to open %1").arg(file));
  set.OpenRecSet();
  if (!set.Active()) throw TBatchFailure{set.OpenErrText()};
}

// Only the password matters to the commands; a protected file is the user's to open in Papyra.
void ReadPayer(const QString& payeeFile) {
  const QString payerFile = PayerFileFor(payeeFile);
  CheckRegularFile(payerFile);
  TRecordSet payer;
  OpenReadOnly(payer, payerFile, TPayerRecord::Size);
  if (payer.LastRecord() < 1)
    throw TBatchFailure{QStringLiteral("Unable to read the payer record of %1").arg(payerFile)};
  payer.GetRec();
  std::copy_n(payer.RecordBuffer(), TPayerRecord::Size, PayerRec.Data());
  payer.CloseRecSet();
  if (!IsBlank(PayerRec.GetString("FilePassword")))
    throw TBatchFailure{
        QStringLiteral("%1 is protected by a file password; open it in Papyra to print it")
            .arg(payeeFile)};
}
}  // namespace

void StartBatchSettings() {
  ProgramFolder = ExecutableFolder();
  RegistryRoot = RunningUnderDevEnvironment() ? QStringLiteral("Software\\PapyraTest\\2025\\")
                                              : QStringLiteral("Software\\Papyra\\2025\\");
  if (!AppRegistry) AppRegistry = std::make_unique<TRegistry>();
  RegisterFontSubstitutions();
}

void OpenPayerFileReadOnly(TFrmDataModule& module, const QString& payeeFile) {
  CheckRegularFile(payeeFile);
  ReadPayer(payeeFile);
  TRecordSet* payees = module.RSPayee;
  payees->OnBeforeOpen = nullptr;
  payees->OnAfterOpen = nullptr;
  payees->OnBeforeClose = nullptr;
  payees->OnAfterClose = nullptr;
  PayeeFileName = payeeFile;
  OpenReadOnly(*payees, payeeFile, TPayeeRecord::Size);
  // A payee cut short would silently drop out of the forms, the totals and the labels.
  if (payees->TailBytes() != 0) {
    const qint64 tail = payees->TailBytes();
    payees->CloseRecSet();
    throw TBatchFailure{DamagedFileText(payeeFile, tail)};
  }
  FileIsOpen = true;
  RecIndexDirty = true;
  PayeeRec.Clear();  // an empty payee file reads as one blank payee, not a leftover record
  payees->GetRec();
}

void CheckBatchOutput(const QString& target) {
  static const QStringList kinds = {QStringLiteral("pdf"), QStringLiteral("html"),
                                    QStringLiteral("htm"), QStringLiteral("snp"),
                                    QStringLiteral("txt")};
  if (!kinds.contains(QFileInfo(target).suffix().toLower()))
    throw TBatchFailure{
        QStringLiteral("The output must be a .pdf, .html, .snp or .txt file: %1").arg(target)};
}
