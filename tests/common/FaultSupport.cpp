#include "FaultSupport.h"

#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

namespace {
constexpr const char* kTmpfsSize = "size=256k";

void IgnoreFileSizeSignal() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, nullptr);
}

bool SetFileSizeLimit(qint64 limit) {
  struct rlimit rl {};
  if (::getrlimit(RLIMIT_FSIZE, &rl) != 0) return false;
  rl.rlim_cur = rlim_t(limit);
  return ::setrlimit(RLIMIT_FSIZE, &rl) == 0;
}

// The fault a test meets, in its output: the log of a run shows which kind each user got.
void TellFault(const QString& kind) {
  std::printf("[   FAULT  ] %s\n", qPrintable(kind));
  std::fflush(stdout);
}

// Writes blocks and then single bytes until the file system says it is full.
void FillUp(const QString& file) {
  QFile filler(file);
  if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
  const QByteArray block(4096, 'x');
  while (filler.write(block) == block.size()) {
  }
  while (filler.write("x", 1) == 1) {
  }
}
}  // namespace

TFaultFolder::TFaultFolder() {
  if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("PAPYRA_TEST_NO_MOUNT") &&
      ::mount("tmpfs", QFile::encodeName(FDir.path()).constData(), "tmpfs", 0, kTmpfsSize) == 0) {
    FMounted = true;
    FKind = QStringLiteral("tmpfs");
  }
}

TFaultFolder::~TFaultFolder() {
  const QByteArray native = QFile::encodeName(FDir.path());
  if (FMounted) ::umount2(native.constData(), MNT_DETACH);
  if (FReadOnly && !FMounted) ::chmod(native.constData(), 0700);
}

QString TFaultFolder::Path(const QString& name) const {
  return name.isEmpty() ? FDir.path() : FDir.filePath(name);
}

void TFaultFolder::MakeFull(qint64 room) {
  if (FMounted) {
    FillUp(FDir.filePath(QStringLiteral("filler")));
    if (room > 0) {
      // Room is freed at the filler's end; tmpfs hands it out a page at a time.
      const QString filler = FDir.filePath(QStringLiteral("filler"));
      QFile::resize(filler, QFileInfo(filler).size() - room);
    }
    FKind = QStringLiteral("full tmpfs");
    TellFault(FKind);
    return;
  }
  FLimit = room;
  FKind = QStringLiteral("file size limit");
  TellFault(FKind);
}

bool TFaultFolder::MakeReadOnly() {
  const QByteArray native = QFile::encodeName(FDir.path());
  if (FMounted) {
    FReadOnly =
        ::mount("tmpfs", native.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, kTmpfsSize) == 0;
    FKind = QStringLiteral("read-only tmpfs");
    TellFault(FKind);
    return FReadOnly;
  }
  FReadOnly = ::chmod(native.constData(), 0500) == 0;
  FKind = QStringLiteral("read-only folder");
  // Root passes over permissions; then the folder is not read-only for this process.
  const bool readOnly = FReadOnly && ::access(native.constData(), W_OK) != 0;
  if (readOnly) TellFault(FKind);
  return readOnly;
}

std::function<void()> TFaultFolder::ChildSetup() const {
  const qint64 limit = FLimit;
  return [limit] {
    if (limit < 0) return;
    IgnoreFileSizeSignal();
    SetFileSizeLimit(limit);
  };
}

TFileSizeLimitHere::TFileSizeLimitHere(qint64 limit) {
  if (limit < 0) return;
  struct rlimit rl {};
  ::getrlimit(RLIMIT_FSIZE, &rl);
  FOldSoft = rl.rlim_cur;
  FOldHandler = ::signal(SIGXFSZ, SIG_IGN);
  FActive = SetFileSizeLimit(limit);
}

TFileSizeLimitHere::~TFileSizeLimitHere() {
  if (!FActive) return;
  SetFileSizeLimit(qint64(FOldSoft));
  ::signal(SIGXFSZ, FOldHandler);
}

QStringList FolderEntries(const QString& folder) {
  return QDir(folder).entryList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}
