#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <cerrno>
#include <cstring>

#include "platform/Exceptions.h"

void RaiseWriteError(const QString& fileName, const QString& reason) {
  throw EInOutError(
      QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(fileName), reason));
}

namespace {
QString SystemReason(int err) {
  return QString::fromLocal8Bit(std::strerror(err));
}

QByteArray Native(const QString& path) {
  return QFile::encodeName(path);
}

int Retry(const std::function<int()>& call) {
  int rc;
  do rc = call();
  while (rc < 0 && errno == EINTR);
  return rc;
}

// Takes a lock that says "being written": a sweep of another copy leaves a temporary alone
// while any copy holds one on it.
bool HoldReadLock(int fd) {
  struct flock fl {};
  fl.l_type = F_RDLCK;
  fl.l_whence = SEEK_SET;
  return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

// True when some open file description holds a lock on the file that a writer would meet.
bool LockedByOther(int fd) {
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  return ::fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK;
}

// Temporaries are named ".NAME.papyra-XXXXXX.tmp": hidden, in the target's folder (so the
// rename never crosses file systems), and recognisable to the sweep. NAME is cut so that the
// whole name stays within the 255 bytes a folder entry may have.
const QRegularExpression& TemporaryPattern() {
  static const QRegularExpression re(QStringLiteral("^\\..*\\.papyra-[A-Za-z0-9]{6}\\.tmp$"));
  return re;
}

QString RandomTag() {
  static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QString tag;
  for (int i = 0; i < 6; ++i)
    tag.append(QLatin1Char(kChars[QRandomGenerator::global()->bounded(int(sizeof kChars) - 1)]));
  return tag;
}

QString TemporaryName(const QString& folder, const QString& target) {
  QString name = QFileInfo(target).fileName();
  while (Native(name).size() > 200) name.chop(1);
  return QDir(folder).filePath(QStringLiteral(".%1.papyra-%2.tmp").arg(name, RandomTag()));
}

bool ProcFdAvailable() {
  static const bool available = ::access("/proc/self/fd", X_OK) == 0;
  return available;
}

QByteArray ProcFdPath(int fd) {
  return "/proc/self/fd/" + QByteArray::number(fd);
}

// A folder where another user may create or replace entries: there a link the program did not
// ask for may have been planted.
bool OthersCanWrite(const QString& folder) {
  struct stat st {};
  if (::stat(Native(folder).constData(), &st) != 0) return true;
  return (st.st_mode & (S_IWGRP | S_IWOTH)) != 0 || st.st_uid != ::geteuid();
}

QString LinkTarget(const QString& link) {
  QByteArray buffer(4096, Qt::Uninitialized);
  const ssize_t n = ::readlink(Native(link).constData(), buffer.data(), size_t(buffer.size()));
  if (n < 0) return {};
  const QString target = QFile::decodeName(buffer.left(n));
  return QDir::cleanPath(QFileInfo(link).absoluteDir().absoluteFilePath(target));
}

bool SameFile(const struct stat& a, const QString& other) {
  struct stat st {};
  return ::stat(Native(other).constData(), &st) == 0 && st.st_dev == a.st_dev &&
         st.st_ino == a.st_ino;
}

// The device QIODevice writers see: a buffer in front of the descriptor that remembers the
// first failure, so a writer that ignores a return value cannot make a failed file look whole.
class TSafeFileDevice : public QIODevice {
 public:
  static constexpr qsizetype kBufferSize = 1 << 16;
  int Fd = -1;
  int Error = 0;

  bool Flush() {
    qsizetype done = 0;
    while (Error == 0 && done < FBuffer.size()) {
      const ssize_t n = ::write(Fd, FBuffer.constData() + done, size_t(FBuffer.size() - done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) Fail(n < 0 ? errno : ENOSPC);
      done += n;
    }
    FBuffer.clear();
    return Error == 0;
  }
  void Fail(int err) {
    if (Error == 0) Error = err;
    setErrorString(SystemReason(Error));
  }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 len) override {
    if (Error != 0) return -1;
    if (FBuffer.size() + len > kBufferSize && !Flush()) return -1;
    if (len >= kBufferSize) {
      FBuffer = QByteArray::fromRawData(data, qsizetype(len));
      const bool ok = Flush();
      return ok ? len : -1;
    }
    FBuffer.append(data, qsizetype(len));
    return len;
  }

 private:
  QByteArray FBuffer;
};
}  // namespace

struct TSafeFile::TState {
  QString Shown;         // for messages
  QString Target;        // what is replaced
  QString Temporary;     // the hidden name, once the file has one
  bool Unnamed = false;  // made with O_TMPFILE: it has no name until Stage links one
  int LockFd = -1;
  bool Staged = false;
  bool Published = false;
  TSafeFileDevice Device;

  [[noreturn]] void Fail(const QString& reason) {
    Discard();
    RaiseWriteError(Shown, reason);
  }
  [[noreturn]] void FailErrno(int err) { Fail(SystemReason(err)); }

  void Discard() {
    if (Device.Fd >= 0) ::close(Device.Fd);
    Device.Fd = -1;
    if (!Temporary.isEmpty() && !Published) ::unlink(Native(Temporary).constData());
    Temporary.clear();
    if (LockFd >= 0) ::close(LockFd);
    LockFd = -1;
  }

  void Resolve(const QString& fileName, const TWriteOptions& options);
  void CheckExisting(const struct stat& st, const TWriteOptions& options);
  void Create();
  void CreateNamed(const QString& folder);
  void NameTemporary();
};

// Follows the links on the way to the file that is to be replaced and refuses what must not be
// written over.
void TSafeFile::TState::Resolve(const QString& fileName, const TWriteOptions& options) {
  QString path = QFileInfo(fileName).absoluteFilePath();
  for (int hops = 0;; ++hops) {
    struct stat st {};
    if (::lstat(Native(path).constData(), &st) != 0) {
      if (errno != ENOENT) FailErrno(errno);
      break;
    }
    if (S_ISLNK(st.st_mode)) {
      const bool named = !options.ProgramNamed && hops == 0;
      if (!named && OthersCanWrite(QFileInfo(path).absolutePath()))
        Fail(QStringLiteral("it is a symbolic link in a folder other users can write to"));
      if (hops >= 8) FailErrno(ELOOP);
      path = LinkTarget(path);
      if (path.isEmpty()) FailErrno(errno);
      continue;
    }
    if (!S_ISREG(st.st_mode)) Fail(QStringLiteral("it is not a regular file"));
    Target = path;
    CheckExisting(st, options);
    break;
  }
  Target = path;
  if (!options.RecordFile && (IsRecordFileName(fileName) || IsRecordFileName(path)))
    Fail(
        QStringLiteral("it is a payer or payee file (.PE25, .PR25), which this command does not "
                       "write"));
}

void TSafeFile::TState::CheckExisting(const struct stat& st, const TWriteOptions& options) {
  for (const QString& input : options.Inputs)
    if (SameFile(st, input)) Fail(QStringLiteral("it is a file this command reads"));
  if (options.LockHeldByCaller) return;
  const int fd =
      Retry([&] { return ::open(Native(Target).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); });
  if (fd < 0) return;  // a file this user cannot read is not held by this user's programs
  const bool locked = LockedByOther(fd);
  ::close(fd);
  if (locked)
    Fail(QStringLiteral("it is in use (another copy of Papyra or another program has it open)"));
}

// An unnamed file in the target's folder where the file system makes one: a killed program
// leaves nothing behind. Elsewhere a hidden name.
void TSafeFile::TState::Create() {
  const QString folder = QFileInfo(Target).absolutePath();
  SweepStaleTemporaries(folder);
  if (ProcFdAvailable()) {
    const int fd = Retry(
        [&] { return ::open(Native(folder).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600); });
    if (fd >= 0) {
      Device.Fd = fd;
      Unnamed = true;
      LockFd = ::open(ProcFdPath(fd).constData(), O_RDONLY | O_CLOEXEC);
      if (LockFd >= 0) HoldReadLock(LockFd);
      return;
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) FailErrno(errno);
  }
  CreateNamed(folder);
}

void TSafeFile::TState::CreateNamed(const QString& folder) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString name = TemporaryName(folder, Target);
    const int fd = Retry([&] {
      return ::open(Native(name).constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    0600);
    });
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) FailErrno(errno);
    Device.Fd = fd;
    Temporary = name;
    LockFd = ::open(Native(name).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (LockFd >= 0) HoldReadLock(LockFd);
    return;
  }
  FailErrno(EEXIST);
}

// The unnamed file gets its hidden name only now that it is whole.
void TSafeFile::TState::NameTemporary() {
  const QString folder = QFileInfo(Target).absolutePath();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString name = TemporaryName(folder, Target);
    if (::linkat(AT_FDCWD, ProcFdPath(Device.Fd).constData(), AT_FDCWD, Native(name).constData(),
                 AT_SYMLINK_FOLLOW) == 0) {
      Temporary = name;
      return;
    }
    if (errno != EEXIST) FailErrno(errno);
  }
  FailErrno(EEXIST);
}

TSafeFile::TSafeFile(const QString& fileName, const TWriteOptions& options)
    : F(std::make_unique<TState>()) {
  F->Shown = options.ShownName.isEmpty() ? fileName : options.ShownName;
  F->Resolve(fileName, options);
  F->Create();
  F->Device.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void TSafeFile::CheckTarget(const QString& fileName, const TWriteOptions& options) {
  TState state;
  state.Shown = options.ShownName.isEmpty() ? fileName : options.ShownName;
  state.Resolve(fileName, options);
}

TSafeFile::~TSafeFile() {
  F->Discard();
}

QIODevice& TSafeFile::Device() {
  return F->Device;
}

QString TSafeFile::FileName() const {
  return F->Target;
}

void TSafeFile::Write(const QByteArray& bytes) {
  if (F->Device.write(bytes) != bytes.size()) F->FailErrno(F->Device.Error ? F->Device.Error : EIO);
}

void TSafeFile::Stage() {
  if (F->Staged) return;
  TSafeFileDevice& device = F->Device;
  if (device.Fd < 0) F->FailErrno(EBADF);
  // A write the buffer took may still fail on its way to the disk: the flush and the sync see
  // that before anything has the target's name.
  if (!device.Flush()) F->FailErrno(device.Error);
  if (::fdatasync(device.Fd) != 0 && errno != EINVAL) F->FailErrno(errno);
  if (F->Unnamed) F->NameTemporary();
  const int fd = device.Fd;
  device.Fd = -1;
  device.close();
  if (::close(fd) != 0 && errno != EINTR) F->FailErrno(errno);
  F->Staged = true;
}

void TSafeFile::Publish() {
  if (!F->Staged) Stage();
  if (::rename(Native(F->Temporary).constData(), Native(F->Target).constData()) != 0)
    F->FailErrno(errno);
  F->Published = true;
  F->Temporary.clear();
  // The rename itself must reach the disk too, or a crash could bring back the old file.
  const int dir = Retry([&] {
    return ::open(Native(QFileInfo(F->Target).absolutePath()).constData(),
                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  });
  const int err = dir < 0 ? errno : (::fsync(dir) == 0 ? 0 : errno);
  if (dir >= 0) ::close(dir);
  F->Discard();
  if (err != 0 && err != EINVAL && err != EACCES) F->FailErrno(err);
}

void TSafeFile::Commit() {
  Stage();
  Publish();
}

void RefuseOwnInput(const QString& target, const QString& input) {
  struct stat st {};
  if (::stat(Native(target).constData(), &st) == 0 && SameFile(st, input))
    RaiseWriteError(target, QStringLiteral("it is a file this command reads"));
}

void WriteFileSafely(const QString& fileName, const QByteArray& bytes,
                     const TWriteOptions& options) {
  TSafeFile file(fileName, options);
  file.Write(bytes);
  file.Commit();
}

// ---- groups ------------------------------------------------------------------------------------

TSafeFileGroup::~TSafeFileGroup() = default;

void TSafeFileGroup::Add(const QString& fileName, const std::function<void(QIODevice&)>& write) {
  TWriteOptions options = FOptions;
  if (options.ShownName.isEmpty()) options.ShownName = fileName;
  auto file = std::make_unique<TSafeFile>(fileName, options);
  write(file->Device());
  file->Stage();
  FNames.push_back(fileName);
  FFiles.push_back(std::move(file));
}

void TSafeFileGroup::Commit() {
  QStringList made;  // targets that did not exist before: taken back when a later rename fails
  for (size_t i = 0; i < FFiles.size(); ++i) {
    const QString target = FFiles[i]->FileName();
    const bool existed = QFileInfo(target).exists();
    try {
      FFiles[i]->Publish();
    } catch (const EInOutError&) {
      for (const QString& f : made) ::unlink(Native(f).constData());
      FFiles.clear();
      throw;
    }
    if (!existed) made << target;
  }
  FFiles.clear();
}

QStringList TSafeFileGroup::Files() const {
  return QStringList(FNames.begin(), FNames.end());
}

// ---- reading -----------------------------------------------------------------------------------

void CheckRegularFile(const QString& path) {
  struct stat st {};
  if (::stat(Native(path).constData(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR)
      throw EInOutError(QStringLiteral("File not found: %1").arg(QDir::toNativeSeparators(path)));
    throw EInOutError(QStringLiteral("Unable to read %1: %2")
                          .arg(QDir::toNativeSeparators(path), SystemReason(errno)));
  }
  if (!S_ISREG(st.st_mode))
    throw EInOutError(
        QStringLiteral("%1 is not a regular file").arg(QDir::toNativeSeparators(path)));
}

QByteArray ReadRegularFile(const QString& path, qint64 limit) {
  CheckRegularFile(path);
  const QString shown = QDir::toNativeSeparators(path);
  auto fail = [&](int err) {
    throw EInOutError(QStringLiteral("Unable to read %1: %2").arg(shown, SystemReason(err)));
  };
  // Opened without waiting, and checked again on the handle: the name may have changed since.
  const int fd =
      Retry([&] { return ::open(Native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); });
  if (fd < 0) fail(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    throw EInOutError(QStringLiteral("%1 is not a regular file").arg(shown));
  }
  auto tooLarge = [&] {
    ::close(fd);
    throw EInOutError(QStringLiteral("%1 is too large: it holds more than the %2 bytes that are "
                                     "read from such a file")
                          .arg(shown)
                          .arg(limit));
  };
  if (st.st_size > limit) tooLarge();
  QByteArray bytes;
  bytes.reserve(qsizetype(st.st_size));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      fail(err);
    }
    if (n == 0) break;
    if (bytes.size() + n > limit) tooLarge();
    bytes.append(buffer, n);
  }
  ::close(fd);
  return bytes;
}

// ---- folders and clean-up ----------------------------------------------------------------------

bool IsRecordFileName(const QString& path) {
  const QString suffix = QFileInfo(path).suffix();
  return suffix.compare(QLatin1String("PE25"), Qt::CaseInsensitive) == 0 ||
         suffix.compare(QLatin1String("PR25"), Qt::CaseInsensitive) == 0;
}

bool MakePrivateFolder(const QString& path) {
  if (path.isEmpty()) return false;
  const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  if (QFileInfo(clean).isDir()) return true;
  const QString parent = QFileInfo(clean).absolutePath();
  if (parent != clean && !MakePrivateFolder(parent)) return false;
  return ::mkdir(Native(clean).constData(), 0700) == 0 || errno == EEXIST;
}

namespace {
bool OwnedRegular(const QString& path, struct stat& st) {
  return ::lstat(Native(path).constData(), &st) == 0 && S_ISREG(st.st_mode) &&
         st.st_uid == ::geteuid();
}

// A temporary of this program that no running copy holds.
void RemoveIfStale(const QString& path) {
  struct stat st {};
  if (!OwnedRegular(path, st)) return;
  const int fd = ::open(Native(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  const bool inUse = LockedByOther(fd);
  ::close(fd);
  if (!inUse) ::unlink(Native(path).constData());
}

// Older versions staged files under other names and took no lock: only what has lain there
// for a while is theirs to remove.
bool OldEnough(const struct stat& st) {
  return QDateTime::currentSecsSinceEpoch() - st.st_mtime > 600;
}

void RemoveOldScratch(const QDir& dir, const QString& name) {
  const QString path = dir.filePath(name);
  struct stat st {};
  if (::lstat(Native(path).constData(), &st) != 0 || st.st_uid != ::geteuid() || !OldEnough(st))
    return;
  if (S_ISREG(st.st_mode)) {
    ::unlink(Native(path).constData());
    return;
  }
  // A per-recipient scratch folder: an unencrypted copy of one recipient's forms at most.
  if (!S_ISDIR(st.st_mode)) return;
  const QDir scratch(path);
  const QStringList inside =
      scratch.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  if (inside.size() > 1 || (inside.size() == 1 && inside[0] != QLatin1String("plain.pdf"))) return;
  if (!inside.isEmpty()) RemoveIfStale(scratch.filePath(inside[0]));
  ::rmdir(Native(path).constData());
}
}  // namespace

void SweepStaleTemporaries(const QString& folder) {
  static QMutex mutex;
  static QSet<QString> swept;
  const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  {
    const QMutexLocker lock(&mutex);
    if (swept.contains(clean)) return;
    swept.insert(clean);
  }
  static const QRegularExpression old(QStringLiteral(
      "^(\\.papyra-[A-Za-z0-9]{6}|.+\\.papyra-copy-[A-Za-z0-9]{6}|\\..+\\.papyra-pair)$"));
  const QDir dir(clean);
  const QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                          QDir::NoDotAndDotDot | QDir::NoSymLinks);
  for (const QString& name : names) {
    if (TemporaryPattern().match(name).hasMatch())
      RemoveIfStale(dir.filePath(name));
    else if (old.match(name).hasMatch())
      RemoveOldScratch(dir, name);
  }
}
