#pragma once
// TRecordSet: a file of fixed-length records with no header, one record in memory and a 1-based
// cursor. Every operation announces itself through events; a "before" handler may veto it with
// Cancel. Sharing between openers uses open-file-description locks over the whole file, so a
// second opener (another process, or another record set in this one) of a deny-write file falls
// back to browse-only.
//
// Failed reads and writes at the operating-system level raise EInOutError naming the file and the
// system's error text; a record set never reports such a failure as success.
#include <sys/types.h>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class TRecordSet;

// A notification: the handler receives the record set that raised it.
using TRecordSetEvent = std::function<void(TRecordSet* sender)>;

enum TFileOpenMode : uint8_t { omOpenRead, omOpenWrite, omOpenReadWrite };
enum TFileShareMode : uint8_t {
  smShareCompat,
  smShareExclusive,
  smShareDenyWrite,
  smShareDenyRead,
  smShareDenyNone
};

// The component base: owned, named and found like any other part of a window or data module.
class TRecordSetComponent : public QObject {
  Q_OBJECT
 public:
  explicit TRecordSetComponent(QObject* owner = nullptr) : QObject(owner) {}
};

class TRecordSet : public TRecordSetComponent {
  Q_OBJECT
 public:
  static constexpr int MinRecSize = 32;

  explicit TRecordSet(QObject* owner = nullptr);
  ~TRecordSet() override;
  TRecordSet(const TRecordSet&) = delete;
  TRecordSet& operator=(const TRecordSet&) = delete;

  // Published properties.
  int RecSize() const { return FRecSize; }
  void SetRecSize(int size);  // below 32 or unchanged: ignored; otherwise a fresh zeroed buffer
  QString FileName() const { return FFileName; }
  void SetFileName(const QString& name) { FFileName = name; }
  TFileOpenMode FileOpenMode() const { return FFileOpenMode; }
  void SetFileOpenMode(TFileOpenMode mode) { FFileOpenMode = mode; }
  TFileShareMode FileShareMode() const { return FFileShareMode; }
  void SetFileShareMode(TFileShareMode mode) { FFileShareMode = mode; }
  int MaxRec() const { return FMaxRec; }
  void SetMaxRec(int maxRec) { FMaxRec = maxRec; }
  QString OpenErrText() const { return FOpenErrText; }
  void SetOpenErrText(const QString& text) { FOpenErrText = text; }
  QString OpenErrCaption() const { return FOpenErrCaption; }
  void SetOpenErrCaption(const QString& text) { FOpenErrCaption = text; }
  QString NewErrText() const { return FNewErrText; }
  void SetNewErrText(const QString& text) { FNewErrText = text; }
  QString NewErrCaption() const { return FNewErrCaption; }
  void SetNewErrCaption(const QString& text) { FNewErrCaption = text; }
  QString DelErrText() const { return FDelErrText; }
  void SetDelErrText(const QString& text) { FDelErrText = text; }
  QString DelErrCaption() const { return FDelErrCaption; }
  void SetDelErrCaption(const QString& text) { FDelErrCaption = text; }
  QString DelMsgText() const { return FDelMsgText; }
  void SetDelMsgText(const QString& text) { FDelMsgText = text; }
  QString DelMsgCaption() const { return FDelMsgCaption; }
  void SetDelMsgCaption(const QString& text) { FDelMsgCaption = text; }
  bool AutoCreate() const { return FAutoCreate; }
  void SetAutoCreate(bool on) { FAutoCreate = on; }
  QString AppTitle() const { return FAppTitle; }
  void SetAppTitle(const QString& title) { FAppTitle = title; }
  bool ShowOpenMode() const { return FShowOpenMode; }
  void SetShowOpenMode(bool on) { FShowOpenMode = on; }

  TRecordSetEvent OnCreateFile;
  TRecordSetEvent OnAfterClose;
  TRecordSetEvent OnAfterDelete;
  TRecordSetEvent OnAfterNewRec;
  TRecordSetEvent OnAfterOpen;
  TRecordSetEvent OnAfterPost;
  TRecordSetEvent OnAfterRead;
  TRecordSetEvent OnBeforeClose;
  TRecordSetEvent OnBeforeDelete;
  TRecordSetEvent OnBeforeNewRec;
  TRecordSetEvent OnBeforeOpen;
  TRecordSetEvent OnBeforePost;

  // Run-time properties.
  uint8_t* RecordBuffer() { return FBuffer.data(); }
  const uint8_t* RecordBuffer() const { return FBuffer.data(); }
  int CurrentRecord() const { return FCurRec; }
  void SetCurrentRecord(int n);  // only 1..LastRecord; anything else is ignored
  int FirstRecord() const { return FFirstRec; }
  int PriorRecord() const { return FPriorRec; }
  int LastRecord() const { return FLastRec; }
  int RecordCount() const;  // whole records in the file; 0 when closed
  bool Active() const { return FActive; }
  bool Bof() const { return FCurRec == FFirstRec; }
  bool Eof() const { return FCurRec == FLastRec; }
  bool BrowseOnly() const { return FBrowseOnly; }
  // Bytes past the last whole record when the file was opened: a record cut short by a crash or
  // a full disk. Such a file is damaged; its owner decides whether to write to it.
  qint64 TailBytes() const { return FTailBytes; }
  // Makes an open set browse-only: nothing more is written. Its lock is kept.
  void SetBrowseOnly() {
    FBrowseOnly = FActive;
    FBrowseOnlyErr = 0;
  }
  // Why a browse-only set cannot write: "FILE is already in use" when another opener holds it,
  // else the system's reason the file cannot be written.
  QString BrowseOnlyReason() const;

  // Operations. They call one another through these virtual slots, so a descendant that
  // overrides one changes the others that use it.
  virtual void OpenRecSet();
  virtual void CloseRecSet();
  virtual void RootRec();
  virtual void PostRec();
  virtual void NewRec();
  virtual void GetRec();
  virtual void FirstRec();
  virtual void LastRec();
  virtual void NextRec();
  virtual void PriorRec();
  virtual void PushRec();
  virtual void PopRec();
  virtual void NewRecData();
  virtual void DeleteRec();
  // Vetoes the operation whose "before" event is running.
  void Cancel() { FCancel = true; }

 private:
  bool Fire(const TRecordSetEvent& event);  // true when a handler vetoed
  void FillBlankCaptions();
  bool OpenExisting(int access, int share);
  bool CreateNew(int access, int share);
  int OpenLocked(int flags, int share);
  void AfterOpened(bool browseOnly);
  QString BrowseOnlyText(int err) const;
  void ReleaseHandle();
  int SyncAndRelease();  // 0 or the system's error
  bool HasRecord() const { return FCurRec >= 1 && FCurRec <= FLastRec; }
  void ReadRecord(int n);
  void WriteRecord(int n);
  void CheckFileStillThere(const char* action);
  void TransferAt(bool write, uint8_t* data, size_t len, off_t offset);
  void MoveRecordsDown(int from, int last);
  [[noreturn]] void RaiseIOError(const char* action, int n, int err) const;
  void AppendRecord(int n);

  int FRecSize = MinRecSize;
  std::vector<uint8_t> FBuffer;
  QString FFileName;
  TFileOpenMode FFileOpenMode = omOpenReadWrite;
  TFileShareMode FFileShareMode = smShareDenyNone;
  int FOpenMode = 2;
  int FShareMode = 0x40;
  int FFileHandle = -1;  // -1 while closed (0 is a valid descriptor here)
  int FFirstRec = 1;
  int FPriorRec = 0;
  int FLastRec = 0;
  int FCurRec = 0;
  int FMaxRec = 10000;
  bool FActive = false;
  bool FAutoCreate = true;
  bool FCancel = false;
  bool FShowOpenMode = true;
  bool FBrowseOnly = false;
  int FBrowseOnlyErr = 0;  // what sent an open to browse-only
  qint64 FTailBytes = 0;
  QString FOpenErrText, FOpenErrCaption;
  QString FNewErrText, FNewErrCaption;
  QString FDelErrText, FDelErrCaption;
  QString FDelMsgText, FDelMsgCaption;
  QString FAppTitle;
};

// "FILE is already in use!": what a program is told of a payer file another one holds open.
QString FileInUseText(const QString& fileName);

// Write locks on files about to be replaced, taken as a writing opener takes them, so a file
// that another opener has open for writing is never replaced under it. A missing file needs no
// lock. The locks are released when the object goes.
class TReplaceLock {
 public:
  TReplaceLock() = default;
  ~TReplaceLock();
  TReplaceLock(const TReplaceLock&) = delete;
  TReplaceLock& operator=(const TReplaceLock&) = delete;
  // False when another opener holds the file (the locks taken so far are kept).
  bool Lock(const QString& fileName);

 private:
  std::vector<int> FHandles;
};
