#include "storage/RecordSet.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include "core/Utils.h"
#include "platform/Exceptions.h"
#include "platform/MessageCodes.h"
#include "platform/Services.h"
#include "storage/Notices.h"

namespace {
constexpr int kShareFlags[] = {0x00, 0x10, 0x20, 0x30, 0x40};
constexpr int kShareDenyWrite = 0x20;
constexpr int kShareDenyNone = 0x40;

int PosixAccess(int openMode) {
  switch (openMode) {
    case 0:
      return O_RDONLY;
    case 1:
      return O_WRONLY;
    default:
      return O_RDWR;
  }
}

// Exclusive, deny-write and deny-read openers hold a lock over the whole file; the others none.
bool ShareTakesLock(int share) {
  return share == 0x10 || share == kShareDenyWrite || share == 0x30;
}

bool TakeWholeFileLock(int fd, int accessFlags) {
  struct flock fl;
  std::memset(&fl, 0, sizeof fl);
  // A read-only descriptor cannot hold a write lock; its read lock still keeps writers out.
  fl.l_type = (accessFlags == O_RDONLY) ? F_RDLCK : F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 0;  // to the end of the file, however far it grows
  return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

QByteArray NativePath(const QString& name) {
  return QFile::encodeName(name);
}

const QString kBrowseOnlyText1 =
    QStringLiteral(" is already in use!~~The file has been opened in browse only");
const QString kBrowseOnlyText2 =
    QStringLiteral(" mode. You will not be able to record any changes.");

// Failures of the open itself (as against a lock another opener holds) that still allow reading.
bool CannotWriteHere(int err) {
  return err == EACCES || err == EROFS || err == EPERM;
}

// Opening a pipe for reading waits for a writer, and a device may never end: only regular files
// are record files. The open does not wait, and the handle itself is checked, since the name may
// have changed since it was looked at. A handle that is not a regular file fails with EISDIR.
int OpenRegular(const QByteArray& path, int flags) {
  int fd;
  do {
    fd = ::open(path.constData(), flags | O_NONBLOCK | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}
}  // namespace

QString FileInUseText(const QString& fileName) {
  return fileName + kBrowseOnlyText1.section(QLatin1Char('~'), 0, 0);
}

TRecordSet::TRecordSet(QObject* owner)
    : TRecordSetComponent(owner),
      FBuffer(MinRecSize, 0),
      FOpenErrText(QStringLiteral("Unable to open database file")),
      FNewErrText(QStringLiteral(
          "Unable to create new record.~You have reached the maximum number of records that~can "
          "be created with this version of the program.")),
      FDelErrText(QStringLiteral("Unable to delete current record~you cannot delete the first "
                                 "record when~its the only record in the database.")),
      FDelMsgText(QStringLiteral("Confirm request~Delete current record from database?")) {}

// The owner normally closes the set first; a handle still open is released without events so
// its lock does not outlive the object.
TRecordSet::~TRecordSet() {
  ReleaseHandle();
}

void TRecordSet::SetRecSize(int size) {
  // The size of an open file's records cannot change under its cursor.
  if (size < MinRecSize || size == FRecSize || FActive) return;
  FRecSize = size;
  FBuffer.assign(static_cast<size_t>(size), 0);
}

void TRecordSet::SetCurrentRecord(int n) {
  if (FActive && n >= 1 && n <= FLastRec) FCurRec = n;
}

int TRecordSet::RecordCount() const {
  if (!FActive) return 0;
  struct stat st;
  if (::fstat(FFileHandle, &st) != 0) RaiseIOError("examine", FCurRec, errno);
  const off_t count = st.st_size / FRecSize;
  return count > INT_MAX ? INT_MAX : static_cast<int>(count);
}

bool TRecordSet::Fire(const TRecordSetEvent& event) {
  // A stray Cancel made outside a "before" event must not veto a later operation.
  FCancel = false;
  if (event) event(this);
  const bool vetoed = FCancel;
  FCancel = false;
  return vetoed;
}

void TRecordSet::FillBlankCaptions() {
  if (IsBlank(FOpenErrCaption)) FOpenErrCaption = ::AppTitle();
  if (IsBlank(FAppTitle)) FAppTitle = ::AppTitle();
}

void TRecordSet::OpenRecSet() {
  if (FActive) return;
  FillBlankCaptions();
  if (Fire(OnBeforeOpen)) return;
  if (IsBlank(FFileName)) {
    StorageNotice(FOpenErrText, FOpenErrCaption, mbError);
    return;
  }
  FOpenMode = static_cast<int>(FFileOpenMode);
  FShareMode = kShareFlags[FFileShareMode];
  FBrowseOnly = false;
  struct stat st;
  const bool exists = ::stat(NativePath(FFileName).constData(), &st) == 0 || errno != ENOENT;
  if (exists) {
    if (!OpenExisting(FOpenMode, FShareMode)) return;
  } else {
    if (!FAutoCreate) {
      StorageNotice(FOpenErrText, FOpenErrCaption, mbError);
      return;
    }
    if (!CreateNew(FOpenMode, FShareMode)) return;
  }
  Fire(OnAfterOpen);
}

int TRecordSet::OpenLocked(int accessFlags, int share) {
  const int fd = OpenRegular(NativePath(FFileName), accessFlags);
  if (fd < 0) return -1;
  if (ShareTakesLock(share) && !TakeWholeFileLock(fd, accessFlags)) {
    ::close(fd);
    errno = EWOULDBLOCK;  // another opener holds it
    return -1;
  }
  return fd;
}

// A deny-write opener that cannot have the file for writing still shows it, browse-only: when
// another opener holds it ("already in use"), and when the file or its medium cannot be written
// (the message then gives the system's reason, as nobody else is using it).
bool TRecordSet::OpenExisting(int access, int share) {
  int fd = OpenLocked(PosixAccess(access), share);
  if (fd >= 0) {
    FFileHandle = fd;
    AfterOpened(false);
    return true;
  }
  const int err = errno;
  if (share == kShareDenyWrite && (err == EWOULDBLOCK || CannotWriteHere(err))) {
    fd = OpenLocked(O_RDONLY, kShareDenyNone);
    if (fd >= 0) {
      FFileHandle = fd;
      AfterOpened(true);
      FBrowseOnlyErr = err;
      if (FShowOpenMode) StorageNotice(BrowseOnlyText(err), FAppTitle, mbInfo);
      return true;
    }
  }
  StorageNotice(err == EISDIR ? FOpenErrText + QStringLiteral("~~") + FFileName +
                                    QStringLiteral(" is not a regular file")
                              : FOpenErrText,
                FOpenErrCaption, mbError);
  return false;
}

QString TRecordSet::BrowseOnlyReason() const {
  if (FBrowseOnlyErr == EWOULDBLOCK) return FileInUseText(FFileName);
  if (FBrowseOnlyErr == 0) return FFileName + QStringLiteral(" is open in browse only mode");
  return FFileName + QStringLiteral(" cannot be written: ") +
         QString::fromLocal8Bit(std::strerror(FBrowseOnlyErr));
}

QString TRecordSet::BrowseOnlyText(int err) const {
  if (err == EWOULDBLOCK) return FFileName + kBrowseOnlyText1 + kBrowseOnlyText2;
  return FFileName + QStringLiteral(" cannot be written: ") +
         QString::fromLocal8Bit(std::strerror(err)) +
         QStringLiteral(".~~The file has been opened in browse only") + kBrowseOnlyText2;
}

void TRecordSet::AfterOpened(bool browseOnly) {
  FActive = true;
  FBrowseOnly = browseOnly;
  FCurRec = 1;
  FLastRec = RecordCount();
  struct stat st;
  FTailBytes = ::fstat(FFileHandle, &st) == 0 ? st.st_size % FRecSize : 0;
}

// A new file is created for reading and writing whatever the open mode, since its first record
// must be written, and it takes the lock its sharing asks for.
bool TRecordSet::CreateNew(int /*access*/, int share) {
  const QByteArray path = NativePath(FFileName);
  int fd;
  do {
    // Payer files hold taxpayer numbers: the user's alone (a stricter umask still applies).
    fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  } while (fd < 0 && errno == EINTR);
  if (fd >= 0 && ShareTakesLock(share) && !TakeWholeFileLock(fd, O_RDWR)) {
    ::close(fd);
    fd = -1;
  }
  if (fd < 0) {
    StorageNotice(FOpenErrText, FOpenErrCaption, mbError);
    return false;
  }
  FFileHandle = fd;
  FActive = true;
  FBrowseOnly = false;
  FTailBytes = 0;
  FCurRec = 1;
  FLastRec = 1;
  // A half-made file would open later as an empty or partial record file.
  auto removeHalfMade = qScopeGuard([&] {
    ReleaseHandle();
    ::unlink(path.constData());
  });
  NewRecData();
  WriteRecord(1);
  removeHalfMade.dismiss();
  Fire(OnCreateFile);
  return true;
}

void TRecordSet::ReleaseHandle() {
  if (FFileHandle >= 0) ::close(FFileHandle);
  FFileHandle = -1;
  FActive = false;
}

// What was written reaches the disk before the file is let go, and a failure to get it there is
// reported (after the close has run its course, so the set is closed either way).
void TRecordSet::CloseRecSet() {
  if (!FActive) return;
  if (Fire(OnBeforeClose)) return;
  const int err = SyncAndRelease();
  Fire(OnAfterClose);
  if (err != 0)
    throw EInOutError(QStringLiteral("Unable to write %1: %2")
                          .arg(QDir::toNativeSeparators(FFileName),
                               QString::fromLocal8Bit(std::strerror(err))));
}

int TRecordSet::SyncAndRelease() {
  int err = 0;
  if (!FBrowseOnly && ::fdatasync(FFileHandle) != 0 && errno != EINVAL)
    err = errno;
  const int fd = FFileHandle;
  FFileHandle = -1;
  FActive = false;
  if (::close(fd) != 0 && err == 0 && errno != EINTR) err = errno;
  return err;
}

void TRecordSet::RaiseIOError(const char* action, int n, int err) const {
  const QString reason = err == 0 ? QStringLiteral("the file ends before this record")
                                  : QString::fromLocal8Bit(std::strerror(err));
  throw EInOutError(QStringLiteral("Unable to %1 record %2 of %3: %4")
                        .arg(QLatin1String(action))
                        .arg(n)
                        .arg(QDir::toNativeSeparators(FFileName), reason));
}

void TRecordSet::ReadRecord(int n) {
  const off_t base = static_cast<off_t>(n - 1) * FRecSize;
  size_t done = 0;
  while (done < static_cast<size_t>(FRecSize)) {
    const ssize_t got = ::pread(FFileHandle, FBuffer.data() + done, FRecSize - done, base + done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) RaiseIOError("read", n, errno);
    if (got == 0) RaiseIOError("read", n, 0);
    done += static_cast<size_t>(got);
  }
}

void TRecordSet::WriteRecord(int n) {
  const off_t base = static_cast<off_t>(n - 1) * FRecSize;
  size_t done = 0;
  while (done < static_cast<size_t>(FRecSize)) {
    const ssize_t put = ::pwrite(FFileHandle, FBuffer.data() + done, FRecSize - done, base + done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) RaiseIOError("write", n, errno);
    if (put == 0) RaiseIOError("write", n, ENOSPC);
    done += static_cast<size_t>(put);
  }
}

// A record that could be written only in part (a full disk) is cut off again, so the file never
// ends in half a record.
void TRecordSet::AppendRecord(int n) {
  // The write's own error is the one reported; the cut is the best that can be done.
  auto cutBack =
      qScopeGuard([&] { (void)!::ftruncate(FFileHandle, static_cast<off_t>(n - 1) * FRecSize); });
  WriteRecord(n);
  cutBack.dismiss();
}

// Writes to a file that was deleted or replaced under the set would succeed and vanish with the
// last handle; they are refused instead.
void TRecordSet::CheckFileStillThere(const char* action) {
  struct stat st;
  if (::fstat(FFileHandle, &st) != 0) RaiseIOError(action, FCurRec, errno);
  if (st.st_nlink == 0) RaiseIOError(action, FCurRec, ENOENT);
}

void TRecordSet::GetRec() {
  // Before record 1 (after RootRec) and past the end of an empty file there is nothing to read.
  if (!FActive || !HasRecord()) return;
  ReadRecord(FCurRec);
  Fire(OnAfterRead);
}

void TRecordSet::PostRec() {
  // Browse-only sets never write; without a current record there is nowhere to write.
  if (!FActive || FBrowseOnly || !HasRecord()) return;
  if (Fire(OnBeforePost)) return;
  CheckFileStillThere("write");
  WriteRecord(FCurRec);
  Fire(OnAfterPost);
}

void TRecordSet::NewRecData() {
  if (!FActive) return;
  std::fill(FBuffer.begin(), FBuffer.end(), uint8_t{0});
}

void TRecordSet::NewRec() {
  if (!FActive || FBrowseOnly) return;
  if (FLastRec >= FMaxRec) {
    if (IsBlank(FNewErrCaption)) FNewErrCaption = ::AppTitle();
    StorageNotice(FNewErrText, FNewErrCaption, mbError);
    return;
  }
  if (Fire(OnBeforeNewRec)) return;
  CheckFileStillThere("write");
  // The cursor and the count move only once the record is really in the file.
  const int n = FLastRec + 1;
  NewRecData();
  AppendRecord(n);
  FLastRec = n;
  FCurRec = n;
  GetRec();
  Fire(OnAfterNewRec);
}

// Reads or writes len bytes at offset; a failure names the record the failing byte belongs to,
// as a move of one record at a time would have.
void TRecordSet::TransferAt(bool write, uint8_t* data, size_t len, off_t offset) {
  size_t done = 0;
  while (done < len) {
    const off_t at = offset + static_cast<off_t>(done);
    const ssize_t n = write ? ::pwrite(FFileHandle, data + done, len - done, at)
                            : ::pread(FFileHandle, data + done, len - done, at);
    if (n < 0 && errno == EINTR) continue;
    const int record = static_cast<int>(at / FRecSize) + 1;
    if (n < 0) RaiseIOError(write ? "write" : "read", record, errno);
    if (n == 0) RaiseIOError(write ? "write" : "read", record, write ? ENOSPC : 0);
    done += static_cast<size_t>(n);
  }
}

// Records from+1..last move one place down in blocks of about a megabyte: a block is read whole
// before it is written, and blocks go front to back, so no record is overwritten before it has
// been read.
void TRecordSet::MoveRecordsDown(int from, int last) {
  if (from >= last) return;
  constexpr size_t kBlockBytes = size_t(1) << 20;
  const size_t recSize = static_cast<size_t>(FRecSize);
  const int perBlock = static_cast<int>(std::max<size_t>(1, kBlockBytes / recSize));
  std::vector<uint8_t> block(std::min<size_t>(size_t(last - from), size_t(perBlock)) * recSize);
  for (int first = from + 1; first <= last; first += perBlock) {
    const int count = std::min(perBlock, last - first + 1);
    const size_t bytes = static_cast<size_t>(count) * recSize;
    const off_t source = static_cast<off_t>(first - 1) * FRecSize;
    TransferAt(false, block.data(), bytes, source);
    TransferAt(true, block.data(), bytes, source - FRecSize);
  }
}

void TRecordSet::DeleteRec() {
  if (!FActive || FBrowseOnly || !HasRecord()) return;
  if (RecordCount() <= 1) {
    if (IsBlank(FDelErrCaption)) FDelErrCaption = ::AppTitle();
    StorageNotice(FDelErrText, FDelErrCaption, mbError);
    return;
  }
  if (IsBlank(FDelMsgCaption)) FDelMsgCaption = ::AppTitle();
  if (StorageNotice(FDelMsgText, FDelMsgCaption, mbOkCancelDefCancel) != mrOk) return;
  if (Fire(OnBeforeDelete)) return;
  CheckFileStillThere("delete");
  {
    THourglass hourglass;
    const int c = FCurRec;
    const int last = FLastRec;
    MoveRecordsDown(c, last);
    // The handle stays open across the cut, so the lock is never given up.
    if (::ftruncate(FFileHandle, static_cast<off_t>(last - 1) * FRecSize) != 0)
      RaiseIOError("delete", c, errno);
    FLastRec = RecordCount();
    FCurRec = c > FLastRec ? 1 : c;
    GetRec();
  }
  Fire(OnAfterDelete);
}

void TRecordSet::FirstRec() {
  if (!FActive) return;
  FCurRec = FFirstRec;
  GetRec();
}

void TRecordSet::LastRec() {
  if (!FActive) return;
  FCurRec = FLastRec;
  GetRec();
}

void TRecordSet::NextRec() {
  if (!FActive) return;
  FCurRec = FCurRec + 1 > FLastRec ? 1 : FCurRec + 1;
  GetRec();
}

void TRecordSet::PriorRec() {
  if (!FActive) return;
  FCurRec = FCurRec - 1 < 1 ? FLastRec : FCurRec - 1;
  GetRec();
}

void TRecordSet::PushRec() {
  if (FActive) FPriorRec = FCurRec;
}

void TRecordSet::PopRec() {
  if (!FActive) return;
  FCurRec = FPriorRec;
  GetRec();
}

void TRecordSet::RootRec() {
  if (!FActive) return;
  PushRec();
  FCurRec = 0;
}

TReplaceLock::~TReplaceLock() {
  for (int fd : FHandles) ::close(fd);
}

bool TReplaceLock::Lock(const QString& fileName) {
  int fd;
  do {
    fd = ::open(NativePath(fileName).constData(), O_RDWR | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  // A file that is not there, or that this user cannot write anyway, is left to the copy to
  // report.
  if (fd < 0) return true;
  if (!TakeWholeFileLock(fd, O_RDWR)) {
    ::close(fd);
    return false;
  }
  FHandles.push_back(fd);
  return true;
}
