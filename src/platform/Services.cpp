#include "platform/Services.h"

#include "platform/Resources.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QRegularExpression>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <array>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/SafeFile.h"

namespace {
int gHourglassDepth = 0;
bool gShellScript = false;
QStringList gShellOpened;

// Code points of 0x80..0x9F in Windows-1252; 0 marks the five undefined bytes.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

THourglass::THourglass() {
  if (gHourglassDepth++ == 0 && qApp) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}
THourglass::~THourglass() {
  if (--gHourglassDepth == 0 && qApp) QGuiApplication::restoreOverrideCursor();
}
bool HourglassShown() {
  return gHourglassDepth > 0;
}

bool ShellOpenDocument(const QString& path) {
  if (gShellScript) {
    gShellOpened.append(path);
    return true;
  }
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
namespace ShellScript {
void Enable(bool on) {
  gShellScript = on;
}
QStringList Opened() {
  return gShellOpened;
}
void Clear() {
  gShellOpened.clear();
}
}  // namespace ShellScript

QString ExecutableFolder() {
  QString dir = QCoreApplication::applicationDirPath();
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return dir;
}

bool RunningUnderDevEnvironment() {
  return RunningUnderDevEnvironmentAt(QCoreApplication::applicationDirPath());
}

bool RunningUnderDevEnvironmentAt(const QString& exeFolder) {
  // A tree installed into a prefix inside the build folder is still an installed program: it
  // keeps the user's real settings.
  if (InstalledLayout(exeFolder)) return false;
  QDir dir(exeFolder);
  for (int depth = 0; depth < 4; ++depth) {
    if (dir.exists(QStringLiteral("CMakeCache.txt"))) return true;
    if (!dir.cdUp()) break;
  }
  return false;
}

QString DocumentsFolderPath() {
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

namespace {
QString CacheBase() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
}

// Where the per-copy folders go. The runtime folder must be the user's own, as the XDG rules
// require; asking QStandardPaths for it would print warnings when it is not set.
QString RuntimeBase() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  const QFileInfo info(runtime);
  if (!runtime.isEmpty() && info.isDir() && info.isWritable() && info.ownerId() == ::getuid())
    return runtime;
  return CacheBase();
}

// A running copy holds a lock on its own folder for as long as it runs; a folder that nobody
// holds was left by a copy that was killed. Creating a folder and taking its lock happen under
// a shared lock of the base folder, so a sweep (which takes that lock alone) never sees a
// folder between the two.
struct TRuntimeFolder {
  QString Path;
  int Lock = -1;
  ~TRuntimeFolder() { Remove(); }
  void Remove() {
    if (!Path.isEmpty()) QDir(Path).removeRecursively();
    if (Lock >= 0) ::close(Lock);
    Path.clear();
    Lock = -1;
  }
};

TRuntimeFolder& RuntimeFolder() {
  static TRuntimeFolder folder;  // destroyed, and so removed, at exit
  return folder;
}

int OpenFolder(const QString& path) {
  return ::open(QFile::encodeName(path).constData(),
                O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

class TFolderLock {
 public:
  TFolderLock(const QString& path, int how) : FFd(OpenFolder(path)) {
    if (FFd >= 0) ::flock(FFd, how);
  }
  ~TFolderLock() {
    if (FFd >= 0) ::close(FFd);
  }
  TFolderLock(const TFolderLock&) = delete;
  TFolderLock& operator=(const TFolderLock&) = delete;

 private:
  int FFd;
};

QString MakeRuntimeFolder(int& lock) {
  const QString base = RuntimeBase();
  MakePrivateFolder(base);
  const TFolderLock shared(base, LOCK_SH);
  QByteArray pattern = QFile::encodeName(base + QStringLiteral("/papyra-XXXXXX"));
  if (!::mkdtemp(pattern.data())) return {};
  lock = OpenFolder(QFile::decodeName(pattern));
  if (lock >= 0) ::flock(lock, LOCK_EX | LOCK_NB);
  return QFile::decodeName(pattern);
}

void SweepRuntimeBase(const QString& base) {
  if (base.isEmpty() || !QFileInfo(base).isDir()) return;
  const TFolderLock alone(base, LOCK_EX);
  static const QRegularExpression own(QStringLiteral("^papyra-[A-Za-z0-9]{6}$"));
  const QDir dir(base);
  for (const QString& name : dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot |
                                           QDir::NoSymLinks)) {
    if (!own.match(name).hasMatch()) continue;
    const QString path = dir.filePath(name);
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != ::geteuid())
      continue;
    const int fd = OpenFolder(path);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) QDir(path).removeRecursively();
    ::close(fd);
  }
}
}  // namespace

QString RuntimeDir() {
  TRuntimeFolder& folder = RuntimeFolder();
  if (folder.Path.isEmpty() || !QFileInfo(folder.Path).isDir()) {
    folder.Remove();
    folder.Path = MakeRuntimeFolder(folder.Lock);
  }
  return folder.Path;
}

void RemoveRuntimeDir() {
  RuntimeFolder().Remove();
}

QString CacheDir() {
  const QString dir = CacheBase() + QStringLiteral("/Papyra");
  return MakePrivateFolder(dir) ? dir : QString();
}

void SweepStaleFiles() {
  SweepRuntimeBase(RuntimeBase());
  if (RuntimeBase() != CacheBase()) SweepRuntimeBase(CacheBase());
  SweepStaleTemporaries(CacheBase() + QStringLiteral("/Papyra"));
  const QString documents = DocumentsFolderPath();
  const QString papyra =
      (documents.isEmpty() ? QDir::homePath() : documents) + QStringLiteral("/Papyra");
  for (const QString& folder : {papyra, papyra + QStringLiteral("/2025/Data")})
    if (QFileInfo(folder).isDir()) SweepStaleTemporaries(folder);
}

void AddProgramFontFiles() {
  // Wine's Tahoma has Tahoma's metrics, so the screens come out at their designed sizes; it
  // lives outside the folders fontconfig searches.
  for (const char* name : {"wine/fonts/tahoma.ttf", "wine/fonts/tahomabd.ttf"}) {
    const QString path =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QLatin1String(name));
    if (!path.isEmpty()) QFontDatabase::addApplicationFont(path);
  }
}

QString PapyraDocumentsFolder() {
  const QString documents = DocumentsFolderPath();
  const QString folder =
      (documents.isEmpty() ? QDir::homePath() : documents) + QStringLiteral("/Papyra");
  MakePrivateFolder(folder);
  return folder;
}

bool InWin1252(QChar c) {
  const char16_t u = c.unicode();
  if (u <= 0xFF) return u < 0x80 || u >= 0xA0 || kHigh[u - 0x80] == 0;
  return std::find(kHigh.begin(), kHigh.end(), u) != kHigh.end();
}

QByteArray ToWin1252(const QString& text) {
  QByteArray out;
  out.reserve(text.size());
  for (QChar c : text) {
    const char16_t u = c.unicode();
    // The five bytes Windows-1252 leaves undefined are read as their own code points, and
    // written back so.
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) || (u < 0xA0 && kHigh[u - 0x80] == 0)) {
      out.append(static_cast<char>(u));
      continue;
    }
    char mapped = '?';
    for (int i = 0; i < 32; ++i)
      if (kHigh[i] != 0 && kHigh[i] == u) mapped = static_cast<char>(0x80 + i);
    out.append(mapped);
  }
  return out;
}

QString FromWin1252(const unsigned char* bytes, int length) {
  QString out;
  out.reserve(length);
  for (int i = 0; i < length; ++i) {
    const unsigned char b = bytes[i];
    if (b >= 0x80 && b < 0xA0)
      out.append(kHigh[b - 0x80] ? QChar(kHigh[b - 0x80]) : QChar(b));
    else
      out.append(QChar(b));
  }
  return out;
}

QString FromWin1252(const QByteArray& bytes) {
  return FromWin1252(reinterpret_cast<const unsigned char*>(bytes.constData()),
                     static_cast<int>(bytes.size()));
}

namespace {
qint64 MemInfoField(const QByteArray& name) {
  QFile f(QStringLiteral("/proc/meminfo"));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : f.readAll().split('\n')) {
    if (!line.startsWith(name + ':')) continue;
    const QList<QByteArray> parts = line.mid(name.size() + 1).simplified().split(' ');
    return parts.isEmpty() ? -1 : parts[0].toLongLong();
  }
  return -1;
}
}  // namespace

qint64 PhysicalMemoryKB() {
  return MemInfoField("MemTotal");
}

int MemoryLoadPercent() {
  const qint64 total = MemInfoField("MemTotal");
  const qint64 avail = MemInfoField("MemAvailable");
  if (total <= 0 || avail < 0) return 0;
  return static_cast<int>((total - avail) * 100 / total);
}
