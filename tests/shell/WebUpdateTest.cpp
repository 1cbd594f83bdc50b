#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>

#include "ShellFixture.h"
#include "platform/Application.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "platform/Settings.h"
#include "shell/FrmWelcome.h"
#include "shell/WebUpdate.h"
#include "storage/Globals.h"

namespace {
// An HTTP/1.0 server on 127.0.0.1 serving fixed files; a silent one accepts and never answers.
class TUpdateServer : public QObject {
 public:
  explicit TUpdateServer(bool silent = false, const QHostAddress& on = QHostAddress::LocalHost)
      : FSilent(silent) {
    connect(&FServer, &QTcpServer::newConnection, this, [this] { Accept(); });
    FServer.listen(on, 0);
  }
  QString Url(const QString& host = QStringLiteral("127.0.0.1")) const {
    return QStringLiteral("http://%1:%2").arg(host).arg(FServer.serverPort());
  }

  QHash<QString, QByteArray> Files;
  QHash<QString, QString> Redirects;  // path -> the address a 302 answer names
  QStringList Requests;
  QStringList Hosts;  // the Host header of each request, in the same order

 private:
  void Accept() {
    while (QTcpSocket* s = FServer.nextPendingConnection())
      connect(s, &QTcpSocket::readyRead, this, [this, s] { Serve(s); });
  }
  void Serve(QTcpSocket* s) {
    QByteArray& request = FPending[s];
    request += s->readAll();
    if (!request.contains("\r\n\r\n") || FSilent) return;
    const QString path = QString::fromLatin1(request.split(' ').value(1));
    Requests << path;
    Hosts << HostHeader(request);
    if (Redirects.contains(path)) {
      s->write("HTTP/1.0 302 Found\r\nLocation: " + Redirects[path].toUtf8() +
               "\r\nContent-Length: 0\r\n\r\n");
      s->disconnectFromHost();
      return;
    }
    const bool found = Files.contains(path);
    const QByteArray body = Files.value(path, "not found");
    s->write((found ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.0 404 Not Found\r\n") +
             QByteArray("Content-Length: ") + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    s->disconnectFromHost();
  }
  static QString HostHeader(const QByteArray& request) {
    for (const QByteArray& line : request.split('\n'))
      if (line.toLower().startsWith("host:")) return QString::fromLatin1(line.mid(5).trimmed());
    return {};
  }
  QTcpServer FServer;
  QHash<QTcpSocket*, QByteArray> FPending;
  bool FSilent;
};

QString Sha256(const QByteArray& bytes) {
  return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// An address of this machine that is not a loopback one; empty when it has none.
QString OwnNonLoopbackAddress() {
  for (const QHostAddress& a : QNetworkInterface::allAddresses())
    if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback()) return a.toString();
  return {};
}

const QByteArray kSetup = QByteArray("MZ setup program ") + QByteArray(70000, 'x');

// Counts the close requests the main window receives.
class TCloseSpy : public QObject {
 public:
  int Closes = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Close) ++Closes;
    return false;
  }
};
}  // namespace

class WebUpdateTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    Start();
    // Nothing the update fetches may land beside the program.
    ProgramFolder = Dir.Path("program") + "/";
    InternetConnectedProbe = [this] { return Connected; };
    Main->installEventFilter(&Spy);
    MsgBoxScript::Clear();
    ShellScript::Clear();
  }
  void TearDown() override {
    InternetConnectedProbe = nullptr;
    DownloadTimeoutMs = 30000;
    ShellTest::TearDown();
    EXPECT_FALSE(QFileInfo::exists(Dir.Path("program")));
  }
  void Serve(TUpdateServer& server) { SetServer(server.Url()); }
  static void SetServer(const QString& url) {
    ASSERT_TRUE(AppRegistry->OpenKey(UpdateServerKey(), true));
    AppRegistry->WriteString("Server", url);
    AppRegistry->CloseKey();
  }
  static QString VersionFile() { return RuntimeDir() + "/update.ini"; }
  // The command as the Help menu runs it: what it raises is shown as an error.
  void Run() { TApplication::Guard(CheckWebUpdate); }
  QList<std::pair<QString, int>> Shown() const {
    QList<std::pair<QString, int>> shown;
    for (const auto& m : MsgBoxScript::Log()) shown.append({m.text, m.flags});
    return shown;
  }
  void ExpectSettled() {
    EXPECT_EQ(TFrmMsgWin::Current(), nullptr);
    EXPECT_FALSE(HourglassShown());
  }

  bool Connected = true;
  TCloseSpy Spy;
  const QString Offer =
      QStringLiteral("There is an update available.\nWould you like to download and install it?");
};

TEST_F(WebUpdateTest, ServerVersionsThatAreNotNewerMeanUpToDate) {
  const QByteArray versionFiles[] = {
      "[Papyra2025]\r\nVersion=2025.00\r\n",
      "[Papyra2025]\nVersion=2024.99\n",
      "[Papyra2025]\nVersion=latest\n",
      "[Papyra2024]\nVersion=2024.05\n[Other]\nVersion=2026.00\n",
      "",
  };
  for (const QByteArray& file : versionFiles) {
    SCOPED_TRACE(file.toStdString());
    MsgBoxScript::Clear();
    TUpdateServer server;
    server.Files["/public/update.txt"] = file;
    Serve(server);
    Run();
    EXPECT_EQ(Shown(),
              (QList<std::pair<QString, int>>{{"Your current version is up-to-date.", 64}}));
    EXPECT_EQ(server.Requests, QStringList{"/public/update.txt"});
    EXPECT_EQ(ReadAll(VersionFile()), file);
    ExpectSettled();
  }
}

TEST_F(WebUpdateTest, DecliningTheOfferDownloadsNothing) {
  TUpdateServer server;
  server.Files["/public/update.txt"] =
      "[papyra2025]\nversion = 2025.01\nSha256=" + Sha256(kSetup).toLatin1() + "\n";
  server.Files["/public/Papyra_25.EXE"] = kSetup;
  Serve(server);
  MsgBoxScript::SetNextAnswer(mrCancel);
  Run();
  EXPECT_EQ(Shown(), (QList<std::pair<QString, int>>{{Offer, 33}}));
  EXPECT_EQ(server.Requests, QStringList{"/public/update.txt"});
  EXPECT_FALSE(QFile::exists(SetupFileName()));
  EXPECT_TRUE(ShellScript::Opened().isEmpty());
  EXPECT_EQ(Spy.Closes, 0);
}

TEST_F(WebUpdateTest, AnAcceptedUpdateWithAMatchingDigestRunsAndClosesTheProgram) {
  TUpdateServer server;
  server.Files["/public/update.txt"] =
      "; build of the day\n[Papyra2025]\nVersion=2025.01\nSha256=" +
      Sha256(kSetup).toUpper().toLatin1() + "\n";
  server.Files["/public/Papyra_25.EXE"] = kSetup;
  Serve(server);
  Run();
  EXPECT_EQ(Shown(),
            (QList<std::pair<QString, int>>{
                {Offer, 33}, {"The program must shut down in order to install the update.", 0}}));
  EXPECT_EQ(server.Requests, (QStringList{"/public/update.txt", "/public/Papyra_25.EXE"}));
  EXPECT_EQ(ReadAll(SetupFileName()), kSetup);
  EXPECT_EQ(ShellScript::Opened(), QStringList{SetupFileName()});
  EXPECT_EQ(Spy.Closes, 1);
  ExpectSettled();
}

TEST_F(WebUpdateTest, ASetupProgramThatIsNotTheDescribedOneIsDeletedUnrun) {
  const QByteArray versionHead = "[Papyra2025]\nVersion=2025.01\n";
  struct TCase {
    const char* what;
    QByteArray versionFile;
    bool serveSetup;
  } cases[] = {
      {"digest of other bytes", versionHead + "Sha256=" + Sha256("other").toLatin1(), true},
      {"no digest at all", versionHead, true},
      {"digest of a shortened file", versionHead + "Sha256=" + Sha256(kSetup.left(100)).toLatin1(),
       true},
      {"setup missing on the server", versionHead + "Sha256=" + Sha256(kSetup).toLatin1(), false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    MsgBoxScript::Clear();
    TUpdateServer server;
    server.Files["/public/update.txt"] = c.versionFile;
    if (c.serveSetup) server.Files["/public/Papyra_25.EXE"] = kSetup;
    Serve(server);
    Run();
    EXPECT_EQ(Shown(),
              (QList<std::pair<QString, int>>{{Offer, 33}, {"Unable to download update.", 16}}));
    EXPECT_FALSE(QFile::exists(SetupFileName()));
    EXPECT_TRUE(ShellScript::Opened().isEmpty());
    EXPECT_EQ(Spy.Closes, 0);
    ExpectSettled();
  }
}

TEST_F(WebUpdateTest, AServerThatCannotBeReachedIsReported) {
  DownloadTimeoutMs = 300;
  TUpdateServer silent(true);
  quint16 closedPort = 0;
  {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    closedPort = probe.serverPort();
  }
  const QString urls[] = {
      QStringLiteral("http://127.0.0.1:%1").arg(closedPort),  // nothing listens
      silent.Url(),                                           // accepts and never answers
  };
  for (const QString& url : urls) {
    SCOPED_TRACE(url.toStdString());
    MsgBoxScript::Clear();
    QFile::remove(VersionFile());
    SetServer(url);
    Run();
    EXPECT_EQ(Shown(), (QList<std::pair<QString, int>>{{"Unable to contact server.", 16}}));
    EXPECT_FALSE(QFile::exists(VersionFile()));
    ExpectSettled();
  }
}

TEST_F(WebUpdateTest, WithoutADetectedConnectionOnlyOkGoesOn) {
  Connected = false;
  TUpdateServer server;
  server.Files["/public/update.txt"] = "[Papyra2025]\nVersion=2025.00\n";
  Serve(server);
  const QString question = "An internet connection was not detected. Proceed anyway?";
  MsgBoxScript::SetNextAnswer(mrCancel);
  Run();
  EXPECT_EQ(Shown(), (QList<std::pair<QString, int>>{{question, 33}}));
  EXPECT_TRUE(server.Requests.isEmpty());

  MsgBoxScript::Clear();
  MsgBoxScript::SetNextAnswer(mrOk);
  Run();
  EXPECT_EQ(Shown(), (QList<std::pair<QString, int>>{{question, 33},
                                                     {"Your current version is up-to-date.", 64}}));
}

TEST(WebUpdateUrls, TheRealServerIsReachedOverHttpsOnly) {
  EXPECT_TRUE(UpdateServerUrl().startsWith("https://"));
  EXPECT_TRUE(UpdateUrlAccepted(UpdateServerUrl()));
  struct TCase {
    const char* url;
    bool accepted;
  } cases[] = {
      {"https://update.papyra.example/public/update.txt", true},
      {"http://127.0.0.1:8080/public/update.txt", true},
      {"http://localhost/public/update.txt", true},
      {"http://[::1]:81/x", true},
      {"http://update.papyra.example/public/update.txt", false},
      {"http://10.0.0.1/public/update.txt", false},
      {"ftp://127.0.0.1/public/update.txt", false},
      {"file:///etc/passwd", false},
      {"", false},
  };
  for (const TCase& c : cases) EXPECT_EQ(UpdateUrlAccepted(c.url), c.accepted) << c.url;
  TTempFolder dir;
  EXPECT_FALSE(DownloadToFile("http://update.papyra.example/public/update.txt", dir.Path("x")));
  EXPECT_FALSE(QFile::exists(dir.Path("x")));
}

TEST_F(WebUpdateTest, TheServerAddressComesFromTheSettingsStoreOnly) {
  qputenv("PAPYRA_UPDATE_URL", "http://127.0.0.1:1");
  EXPECT_EQ(UpdateServerUrl(), "https://update.papyra.example");
  qunsetenv("PAPYRA_UPDATE_URL");
  SetServer("http://127.0.0.1:8080");
  EXPECT_EQ(UpdateServerUrl(), "http://127.0.0.1:8080");
  TRegistry reg;  // beside the program's other settings
  EXPECT_TRUE(reg.OpenKey(RegistryRoot + "WebUpdate", false));
}

TEST_F(WebUpdateTest, EveryAddressOfARedirectChainMustBeHttpsOrThisMachine) {
  const QString lan = OwnNonLoopbackAddress();
  if (lan.isEmpty()) GTEST_SKIP() << "this machine has no address but the loopback one";
  TUpdateServer server(false, QHostAddress::AnyIPv4);
  server.Files["/public/update.txt"] = "[Papyra2025]\nVersion=2025.01\n";
  server.Redirects["/near"] = server.Url("localhost") + "/public/update.txt";
  server.Redirects["/twice"] = server.Url() + "/near";
  server.Redirects["/away"] = server.Url(lan) + "/public/update.txt";
  server.Redirects["/near-then-away"] = server.Url() + "/away";
  const struct {
    const char* path;
    bool fetched;
  } cases[] = {{"/near", true}, {"/twice", true}, {"/away", false}, {"/near-then-away", false}};
  // A late request of an earlier case may still arrive; what matters is whether the other
  // machine was ever asked.
  const QString away = server.Url(lan).mid(QStringLiteral("http://").size());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    server.Requests.clear();
    const QString file = RuntimeDir() + "/fetched.txt";
    QFile::remove(file);
    EXPECT_EQ(DownloadToFile(server.Url() + c.path, file), c.fetched);
    EXPECT_EQ(QFile::exists(file), c.fetched);
    if (c.fetched) {
      EXPECT_TRUE(server.Requests.contains("/public/update.txt"));
    }
  }
  EXPECT_FALSE(server.Hosts.contains(away)) << server.Hosts.join(' ').toStdString();
}

TEST_F(WebUpdateTest, ADownloadWithADigestIsKeptOnlyWhenItMatches) {
  TUpdateServer server;
  server.Files["/setup"] = kSetup;
  const QString file = RuntimeDir() + "/setup";
  const struct {
    QString digest;
    bool kept;
  } cases[] = {{Sha256(kSetup), true}, {Sha256("other"), false}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.digest.toStdString());
    WriteAll(file, "earlier file");
    EXPECT_EQ(DownloadToFile(server.Url() + "/setup", file, c.digest), c.kept);
    EXPECT_EQ(ReadAll(file), c.kept ? kSetup : QByteArray("earlier file"));
  }
}
