#include "shell/WebUpdate.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScopeGuard>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "core/Utils.h"
#include "platform/MsgBox.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"
#include "platform/Settings.h"
#include "shell/FrmMain.h"
#include "shell/FrmWelcome.h"
#include "storage/Globals.h"

const char* const ProgramVersion = "2025.00";
std::function<bool()> InternetConnectedProbe;
int DownloadTimeoutMs = 30000;

namespace {
const char* const kDefaultServer = "https://update.papyra.example";
const char* const kVersionPath = "/public/update.txt";
const char* const kSetupPath = "/public/Papyra_25.EXE";
const char* const kSection = "Papyra2025";

QString VersionFileName() {
  return RuntimeDir() + QStringLiteral("/update.ini");
}

QString ServerFile(const char* path) {
  QString base = UpdateServerUrl();
  while (base.endsWith(QLatin1Char('/'))) base.chop(1);
  return base + QLatin1String(path);
}

// One value of an INI-style file; section and key names ignore letter case, as such files
// always have. Empty when the file, the section or the key is missing.
QString IniValue(const QString& fileName, const QString& section, const QString& key) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  bool inSection = false;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
      inSection = line.mid(1, line.size() - 2).trimmed().compare(section, Qt::CaseInsensitive) == 0;
      continue;
    }
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (inSection && eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
      return line.mid(eq + 1).trimmed();
  }
  return {};
}

// A missing or unreadable number counts as the default.
double IniFloat(const QString& fileName, const QString& section, const QString& key, double def) {
  bool ok = false;
  const double value = QLocale::c().toDouble(IniValue(fileName, section, key), &ok);
  return ok ? value : def;
}

bool DigestMatches(const QCryptographicHash& hash, const QString& expectedHex) {
  if (expectedHex.isEmpty()) return false;
  return QString::fromLatin1(hash.result().toHex()).compare(expectedHex, Qt::CaseInsensitive) == 0;
}

bool InterfaceOnline() {
  for (const QNetworkInterface& nic : QNetworkInterface::allInterfaces()) {
    const auto flags = nic.flags();
    if (!(flags & QNetworkInterface::IsUp) || !(flags & QNetworkInterface::IsRunning) ||
        (flags & QNetworkInterface::IsLoopBack))
      continue;
    for (const QNetworkAddressEntry& entry : nic.addressEntries())
      if (entry.ip().isGlobal() && !entry.ip().isLinkLocal()) return true;
  }
  return false;
}

// Runs one waiting step of the command with the hourglass and the message window, both gone
// again whatever the step does.
template <typename F>
bool WithMessage(const QString& text, F&& step) {
  const auto closeMessage = qScopeGuard([] { TFrmMsgWin::CloseMessage(); });
  TFrmMsgWin::ShowMessage(AppTitle(), text);
  THourglass hourglass;
  return step();
}

// Waits for the reply in a nested event loop; user input waits too. The watchdog restarts
// whenever data arrives, so a slow but moving download is not cut off.
struct TDownload {
  QNetworkReply* Reply;
  QIODevice& File;
  bool Failed = false;
  bool WriteFailed = false;  // Commit then reports the system's reason
  QCryptographicHash Hash{QCryptographicHash::Sha256};

  void Take() {
    if (!Reply->isReadable()) return;  // aborted
    // The body of a redirect is not the file, and is left to the network layer.
    const int status = Reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 300 && status < 400) return;
    const QByteArray chunk = Reply->readAll();
    Hash.addData(chunk);
    if (!Failed && File.write(chunk) != chunk.size()) {
      WriteFailed = true;
      Fail();
    }
  }
  void Fail() {
    Failed = true;
    Reply->abort();
  }
  // Every address of a redirect chain must pass the same rule as the first one.
  void Redirected(const QUrl& target) {
    if (UpdateUrlAccepted(Reply->url().resolved(target).toString()))
      emit Reply->redirectAllowed();
    else
      Fail();
  }

  bool Run() {
    QEventLoop loop;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    watchdog.setInterval(DownloadTimeoutMs);
    QObject::connect(&watchdog, &QTimer::timeout, Reply, [this] {
      Failed = true;
      Reply->abort();
    });
    QObject::connect(Reply, &QNetworkReply::readyRead, &loop, [this, &watchdog] {
      watchdog.start();
      Take();
    });
    QObject::connect(Reply, &QNetworkReply::redirected, &loop,
                     [this](const QUrl& target) { Redirected(target); });
    QObject::connect(Reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    watchdog.start();
    if (!Reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    Take();
    const int status = Reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // After a chain of redirects the reply may still carry an informational status; an answer
    // that is not a success carries an error of its own.
    return !Failed && Reply->error() == QNetworkReply::NoError && status >= 100 && status < 300;
  }
};
}  // namespace

QString UpdateServerKey() {
  return RegistryRoot + QStringLiteral("WebUpdate");
}

QString UpdateServerUrl() {
  QString configured;
  auto read = [&](TRegistry& reg) {
    if (!reg.OpenKey(UpdateServerKey(), false)) return;
    configured = reg.ReadString(QStringLiteral("Server")).trimmed();
    reg.CloseKey();
  };
  if (AppRegistry) {
    read(*AppRegistry);
  } else {
    TRegistry registry;
    read(registry);
  }
  return configured.isEmpty() ? QString::fromLatin1(kDefaultServer) : configured;
}

QString SetupFileName() {
  return CacheDir() + QStringLiteral("/Papyra_25.EXE");
}

bool UpdateUrlAccepted(const QString& url) {
  const QUrl u(url);
  if (!u.isValid() || u.host().isEmpty()) return false;
  if (u.scheme() == QLatin1String("https")) return true;
  const QHostAddress host(u.host());
  return u.scheme() == QLatin1String("http") &&
         (host.isLoopback() || u.host() == QLatin1String("localhost"));
}

bool IsInternetConnected() {
  if (InternetConnectedProbe) return InternetConnectedProbe();
  if (QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability)) {
    const auto reach = QNetworkInformation::instance()->reachability();
    if (reach != QNetworkInformation::Reachability::Unknown)
      return reach == QNetworkInformation::Reachability::Online;
  }
  return InterfaceOnline();
}

bool DownloadToFile(const QString& url, const QString& path, const std::optional<QString>& sha256) {
  if (!UpdateUrlAccepted(url)) return false;
  TSafeFile file(path);
  QNetworkAccessManager manager;
  QNetworkRequest request{QUrl(url)};
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::UserVerifiedRedirectPolicy);
  std::unique_ptr<QNetworkReply> reply(manager.get(request));
  TDownload download{reply.get(), file.Device()};
  // A file with a known digest is kept only when it is exactly that file; the temporary goes
  // with the writer otherwise. A file that could not be written says why (a full disk).
  if (!download.Run() && !download.WriteFailed) return false;
  if (sha256 && !download.WriteFailed && !DigestMatches(download.Hash, *sha256)) return false;
  file.Commit();
  return true;
}

bool CheckForUpdate() {
  const double current = TextToFloat(QString::fromLatin1(ProgramVersion));
  if (!DownloadToFile(ServerFile(kVersionPath), VersionFileName()))
    throw EDownloadException(QStringLiteral("Unable to contact server."));
  const double offered = IniFloat(VersionFileName(), QString::fromLatin1(kSection),
                                  QStringLiteral("Version"), current);
  return current < offered;
}

// The setup program replaces this one, so it runs only when it is exactly the file the version
// file describes.
bool DownloadUpdate() {
  const QString setup = SetupFileName();
  QFile::remove(setup);  // an older download must not be taken for this one
  const QString expected =
      IniValue(VersionFileName(), QString::fromLatin1(kSection), QStringLiteral("Sha256"));
  if (CacheDir().isEmpty() || !DownloadToFile(ServerFile(kSetupPath), setup, expected))
    throw EDownloadException(QStringLiteral("Unable to download update."));
  return true;
}

void CheckWebUpdate() {
  if (!IsInternetConnected() &&
      MsgBox(QStringLiteral("An internet connection was not detected. Proceed anyway?"), AppTitle(),
             mbOkCancel) != mrOk)
    return;
  if (!WithMessage(QStringLiteral("Contacting Server... Please Wait"), CheckForUpdate)) {
    MsgBox(QStringLiteral("Your current version is up-to-date."), AppTitle(), mbInfo);
    return;
  }
  if (MsgBox(QStringLiteral("There is an update available.~Would you like to download and "
                            "install it?"),
             AppTitle(), mbOkCancel) != mrOk)
    return;
  WithMessage(QStringLiteral("Downloading Update... Please Wait"), DownloadUpdate);
  MsgBox(QStringLiteral("The program must shut down in order to install the update."), AppTitle(),
         mbOk);
  // Without a started setup program there is no reason to stop working.
  if (!ShellOpenDocument(SetupFileName()))
    throw EDownloadException(QStringLiteral("Unable to start the update program."));
  if (FrmMain) FrmMain->close();
}
