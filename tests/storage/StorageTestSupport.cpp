#include "StorageTestSupport.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QFile>

QByteArray NumberedRecords(int n, int size) {
  QByteArray bytes;
  for (int i = 1; i <= n; ++i) bytes.append(QByteArray(size, static_cast<char>(i)));
  return bytes;
}

void TEventLog::Attach(TRecordSet& set) {
  auto record = [this](const char* name) {
    return [this, name](TRecordSet*) { Log.append(QLatin1String(name)); };
  };
  set.OnCreateFile = record("CreateFile");
  set.OnAfterClose = record("AfterClose");
  set.OnAfterDelete = record("AfterDelete");
  set.OnAfterNewRec = record("AfterNewRec");
  set.OnAfterOpen = record("AfterOpen");
  set.OnAfterPost = record("AfterPost");
  set.OnAfterRead = record("AfterRead");
  set.OnBeforeClose = record("BeforeClose");
  set.OnBeforeDelete = record("BeforeDelete");
  set.OnBeforeNewRec = record("BeforeNewRec");
  set.OnBeforeOpen = record("BeforeOpen");
  set.OnBeforePost = record("BeforePost");
}

namespace {
bool OpensForWriting(const QByteArray& path) {
  const int fd = ::open(path.constData(), O_RDWR);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool SetImmutable(const QByteArray& path, bool on) {
  const int fd = ::open(path.constData(), O_RDONLY);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return ok;
}
}  // namespace

TUnwritableFile::TUnwritableFile(const QString& path) : FPath(path) {
  const QByteArray native = QFile::encodeName(path);
  ::chmod(native.constData(), 0444);
  if (OpensForWriting(native)) FImmutable = SetImmutable(native, true);
  FActive = !OpensForWriting(native);
}

TUnwritableFile::~TUnwritableFile() {
  const QByteArray native = QFile::encodeName(FPath);
  if (FImmutable) SetImmutable(native, false);
  ::chmod(native.constData(), 0644);
}

QString SiblingProgram(const QString& name) {
  return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}
