#include "ShellFixture.h"

#include <QDir>

#include "maintenance/PasswordDialog.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"
#include "storage/Globals.h"

void ShellTest::SetUp() {
  TFrmMain::ShowSplash = false;
  MsgBoxScript::Clear();
  DialogScript::Clear();
  // Every test starts on a machine without settings.
  QFile::remove(TRegistry::StoreFileName());
  qputenv("HOME", Dir.Path().toLocal8Bit());
  QDir().mkpath(Dir.Path("Documents"));
  qputenv("XDG_DOCUMENTS_DIR", Dir.Path("Documents").toLocal8Bit());
}

void ShellTest::TearDown() {
  if (Main) Main->FormClose();
  Main.reset();
  DataModule.reset();
}

void ShellTest::Start(const QStringList& args) {
  // A new start is a new process: the shared state begins empty.
  FileIsOpen = false;
  PayeeFileName.clear();
  PayerFileName.clear();
  RecentFiles.clear();
  Main = std::make_unique<TFrmMain>();
  DataModule = std::make_unique<TFrmDataModule>();
  InstallPasswordPrompt(*DataModule);
  Main->SetScreen("Payer", [] {});
  Main->SetScreen("Payee", [] {});
  Main->FormShow(args);
}

void ShellTest::Restart(const QStringList& args) {
  Main->FormClose();
  Main.reset();
  DataModule.reset();
  Start(args);
}

QString ShellTest::MakePayerFile(const QString& name, const QString& payerName, int payees) {
  const QString path = Dir.Path(name);
  TPayerRecord payer;
  payer.SetString("PayerName", payerName);
  WriteAll(path.left(path.size() - 4) + "PR25",
           QByteArray(reinterpret_cast<const char*>(payer.Data()), 448));
  WriteAll(path, QByteArray(1536 * payees, '\0'));
  return path;
}
