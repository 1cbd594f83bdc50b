#include "platform/Services.h"

#include "platform/Resources.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <array>
#include <memory>

#include <unistd.h>

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
// Where the per-copy folders go. The runtime folder must be the user's own, as the XDG rules
// require; asking QStandardPaths for it would print warnings when it is not set.
QString RuntimeBase() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  const QFileInfo info(runtime);
  if (!runtime.isEmpty() && info.isDir() && info.isWritable() && info.ownerId() == ::getuid())
    return runtime;
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
}

std::unique_ptr<QTemporaryDir>& RuntimeFolder() {
  static std::unique_ptr<QTemporaryDir> folder;  // destroyed, and so removed, at exit
  return folder;
}
}  // namespace

QString RuntimeDir() {
  auto& folder = RuntimeFolder();
  if (!folder || !folder->isValid()) {
    const QString base = RuntimeBase();
    QDir().mkpath(base);
    folder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/papyra-XXXXXX"));
    if (!folder->isValid()) return {};
  }
  return folder->path();
}

void RemoveRuntimeDir() {
  RuntimeFolder().reset();
}

QString CacheDir() {
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                      QStringLiteral("/Papyra");
  return QDir().mkpath(dir) ? dir : QString();
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
  QDir().mkpath(folder);
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
