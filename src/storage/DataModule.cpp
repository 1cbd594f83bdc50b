#include "storage/DataModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <algorithm>
#include <cstring>

#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "platform/MessageCodes.h"
#include "storage/Globals.h"
#include "storage/Notices.h"
#include "storage/Password.h"
#include "storage/RecentFiles.h"
#include "storage/RecordModel.h"

TFrmDataModule* FrmDataModule = nullptr;

// The payee set learns when its own open fails, which no event reports: the payer set that the
// open started with is then closed again, so a failed open never leaves half a payer file open.
class TFrmDataModule::TPayeeRecordSet : public TRecordSet {
 public:
  TPayeeRecordSet(TFrmDataModule* module) : TRecordSet(module), FModule(module) {}
  void OpenRecSet() override {
    if (Active()) return;
    TScopeCleanup abandon([this] { FModule->AbandonOpen(); });
    TRecordSet::OpenRecSet();
    if (Active()) abandon.Dismiss();
  }

 private:
  TFrmDataModule* FModule;
};

namespace {
void SetDesignValues(TRecordSet* set, const char* name, int maxRec, bool showOpenMode) {
  set->setObjectName(QLatin1String(name));
  set->SetRecSize(32);
  set->SetFileOpenMode(omOpenReadWrite);
  set->SetFileShareMode(smShareDenyWrite);
  set->SetMaxRec(maxRec);
  set->SetAutoCreate(true);
  set->SetShowOpenMode(showOpenMode);
}

// The record sizes are set at start-up; until then a set's buffer may be smaller than the
// working record, and only the common bytes are copied.
template <typename TRecord>
void CopyFromSet(TRecord& record, const TRecordSet* set) {
  std::memcpy(record.Data(), set->RecordBuffer(), std::min<size_t>(TRecord::Size, set->RecSize()));
}

template <typename TRecord>
void CopyToSet(TRecordSet* set, const TRecord& record) {
  std::memcpy(set->RecordBuffer(), record.Data(), std::min<size_t>(TRecord::Size, set->RecSize()));
}
}  // namespace

QString ChangeFileExt(const QString& path, const QString& ext) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  return (dot > slash ? path.left(dot) : path) + ext;
}

QString PayerFileFor(const QString& payeeFile) {
  const QString exact = ChangeFileExt(payeeFile, QStringLiteral(".PR25"));
  const QFileInfo info(exact);
  if (info.exists()) return exact;
  QStringList alike;
  for (const QString& name : info.dir().entryList(QDir::Files | QDir::Hidden))
    if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0) alike << name;
  // Two files differing only in case would make the choice a guess: then the exact name holds.
  return alike.size() == 1 ? info.dir().filePath(alike.first()) : exact;
}

TFrmDataModule::TFrmDataModule(QObject* owner)
    : QObject(owner), RSPayer(new TRecordSet(this)), RSPayee(new TPayeeRecordSet(this)) {
  setObjectName(QStringLiteral("FrmDataModule"));
  SetDesignValues(RSPayer, "RSPayer", 1000, false);
  SetDesignValues(RSPayee, "RSPayee", 250, true);
  OnAddRecentFile = [](const QString& path) { AddRecentFile(RecentFiles, path); };
  ConnectEvents();
  if (!FrmDataModule) FrmDataModule = this;
}

TFrmDataModule::~TFrmDataModule() {
  if (FrmDataModule == this) FrmDataModule = nullptr;
}

void TFrmDataModule::ConnectEvents() {
  auto bind = [this](void (TFrmDataModule::*handler)(TRecordSet*)) {
    return [this, handler](TRecordSet* sender) { (this->*handler)(sender); };
  };
  RSPayee->OnBeforeOpen = bind(&TFrmDataModule::RSPayeeBeforeOpen);
  RSPayee->OnAfterOpen = bind(&TFrmDataModule::RSPayeeAfterOpen);
  RSPayee->OnBeforeClose = bind(&TFrmDataModule::RSPayeeBeforeClose);
  RSPayee->OnAfterClose = bind(&TFrmDataModule::RSPayeeAfterClose);
  RSPayee->OnAfterNewRec = bind(&TFrmDataModule::RSPayeeAfterNewRec);
  RSPayee->OnAfterDelete = bind(&TFrmDataModule::RSPayeeAfterDelete);
  RSPayee->OnAfterRead = bind(&TFrmDataModule::RSPayeeAfterRead);
  RSPayee->OnBeforePost = bind(&TFrmDataModule::RSPayeeBeforePost);
  RSPayer->OnAfterRead = bind(&TFrmDataModule::RSPayerAfterRead);
  RSPayer->OnBeforePost = bind(&TFrmDataModule::RSPayerBeforePost);
}

void TFrmDataModule::OpenPayerSet() {
  PayerFileName = PayerFileFor(PayeeFileName);
  RSPayer->SetFileName(PayerFileName);
  if (!PayerFileAgreed()) return;
  RSPayer->OpenRecSet();
  if (!RSPayer->Active()) return;
  TScopeCleanup closeOnFailure([this] { RSPayer->CloseRecSet(); });
  if (RSPayer->LastRecord() == 0)
    RestorePayerRecord();
  else
    RSPayer->GetRec();
  closeOnFailure.Dismiss();
}

// A payee file whose payer file has gone (deleted, or left behind by a copy) would silently get a
// blank payer record: the user is told which file is missing and decides. A new payer file, whose
// payee file does not exist yet either, is made without asking.
bool TFrmDataModule::PayerFileAgreed() const {
  if (!QFileInfo::exists(PayeeFileName) || QFileInfo::exists(PayerFileName)) return true;
  return StorageNotice(
             QStringLiteral("The payer file %1 is missing.~Create a blank payer record for %2?")
                 .arg(QDir::toNativeSeparators(PayerFileName), QFileInfo(PayeeFileName).fileName()),
             AppTitle(), mbOkCancelDefCancel) == mrOk;
}

// A payee file whose length is not a whole number of records ends in a record cut short. It is
// opened browse-only, so nothing is written over what may still be mended, after saying so.
void TFrmDataModule::ReportDamagedPayeeFile() {
  const qint64 tail = RSPayee->TailBytes();
  if (tail == 0) return;
  const bool wasBrowseOnly = RSPayee->BrowseOnly();
  RSPayee->SetBrowseOnly();
  StorageNotice(
      DamagedFileText(PayeeFileName, tail) +
          (wasBrowseOnly ? QString()
                         : QStringLiteral("~~The file has been opened in browse only mode. You "
                                          "will not be able to record any changes.")),
      AppTitle(), mbError);
}

QString DamagedFileText(const QString& file, qint64 tailBytes) {
  return QStringLiteral("The file %1 is damaged: its last %2 bytes are not a whole record.")
      .arg(QDir::toNativeSeparators(file))
      .arg(tailBytes);
}

// A payer file cut short (by a crash or a full disk) holds no whole record. The bytes it has are
// kept, the rest reads as zeros, and the record is written back whole.
void TFrmDataModule::RestorePayerRecord() {
  TPayerRecord salvaged;
  QFile file(PayerFileName);
  if (file.open(QIODevice::ReadOnly)) {
    const QByteArray bytes = file.read(salvaged.Size);
    std::memcpy(salvaged.Data(), bytes.constData(), static_cast<size_t>(bytes.size()));
  }
  if (!RSPayer->BrowseOnly()) RSPayer->NewRec();
  PayerRec = salvaged;
  RSPayer->PostRec();
}

void TFrmDataModule::RSPayeeBeforeOpen(TRecordSet* /*sender*/) {
  {
    // Open while the payer set opens; what the open finds decides below.
    auto notOpenOnFailure = qScopeGuard([] { FileIsOpen = false; });
    FileIsOpen = true;
    OpenPayerSet();
    notOpenOnFailure.dismiss();
  }
  if (RSPayer->Active() && !IsBlank(PayerRec.GetString("FilePassword")) && !SkipPasswordCheck)
    CheckFilePassword();
  if (!RSPayer->Active()) {
    FileIsOpen = false;
    RSPayee->Cancel();
  }
}

void TFrmDataModule::CheckFilePassword() {
  const TPasswordAnswer answer =
      OnAskPassword ? OnAskPassword(UnscramblePassword(PayerRec.GetString("FilePassword")))
                    : TPasswordAnswer::Cancelled;
  if (answer == TPasswordAnswer::Right) return;
  FileIsOpen = false;
  PayeeFileName.clear();
  RSPayee->SetFileName(QString());
  RSPayer->CloseRecSet();  // the payer record is not written back
  if (answer == TPasswordAnswer::Wrong)
    StorageNotice(QStringLiteral("Incorrect Password"), AppTitle(), mbError);
}

void TFrmDataModule::AbandonOpen() {
  {
    const QScopedValueRollback abandoning(FAbandoning, true);
    RSPayee->CloseRecSet();
    RSPayer->CloseRecSet();
  }
  FileIsOpen = false;
}

void TFrmDataModule::RSPayeeAfterOpen(TRecordSet* /*sender*/) {
  if (OnRefreshRecentMenu) OnRefreshRecentMenu();
  RecIndexDirty = true;
  ReportDamagedPayeeFile();
  // A payer file always holds at least one payee; an emptied payee file gets its blank record
  // back instead of showing whatever the working buffer held before.
  if (RSPayee->LastRecord() == 0) {
    if (RSPayee->BrowseOnly())
      PayeeRec.Clear();
    else
      RSPayee->NewRec();
    return;
  }
  RSPayee->GetRec();
}

void TFrmDataModule::RSPayeeBeforeClose(TRecordSet* /*sender*/) {
  if (!FAbandoning) RSPayee->PostRec();
}

void TFrmDataModule::RSPayeeAfterClose(TRecordSet* /*sender*/) {
  if (!FAbandoning) {
    if (OnAddRecentFile && !IsBlank(PayeeFileName)) OnAddRecentFile(PayeeFileName);
    if (OnRefreshRecentMenu) OnRefreshRecentMenu();
  }
  TScopeCleanup closePayer([this] { RSPayer->CloseRecSet(); });
  if (!FAbandoning) RSPayer->PostRec();
}

void TFrmDataModule::RSPayeeAfterNewRec(TRecordSet* /*sender*/) {
  RecIndexDirty = true;
}

void TFrmDataModule::RSPayeeAfterDelete(TRecordSet* /*sender*/) {
  RecIndexDirty = true;
}

void TFrmDataModule::RSPayeeAfterRead(TRecordSet* sender) {
  CopyFromSet(PayeeRec, sender);
}

// Whoever wrote the working record, the fields made from others go to the file in step with them.
void TFrmDataModule::RSPayeeBeforePost(TRecordSet* sender) {
  const QString name = PayeeRec.GetString("PayeeName");
  DerivePayeeFields(PayeeRec);
  if (PayeeRec.GetString("PayeeName") != name) RecIndexDirty = true;
  CopyToSet(sender, PayeeRec);
}

void TFrmDataModule::RSPayerAfterRead(TRecordSet* sender) {
  CopyFromSet(PayerRec, sender);
}

void TFrmDataModule::RSPayerBeforePost(TRecordSet* sender) {
  DerivePayerFields(PayerRec);
  CopyToSet(sender, PayerRec);
}
