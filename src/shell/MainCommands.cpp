// Start-up, closing and the payer file commands of the main window.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include "core/Utils.h"
#include "engine/ReportProject.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Resources.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"
#include "platform/Settings.h"
#include "shell/Backup.h"
#include "shell/FrmMain.h"
#include "shell/FrmNewFileDlg.h"
#include "shell/FrmWelcome.h"
#include "shell/WebUpdate.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecentFiles.h"

namespace {
TFileDialogOptions PayerFileDialog(const QString& title, bool mustExist) {
  TFileDialogOptions o;
  o.title = title;
  o.initialDir = DataFolder;
  o.defaultExt = QStringLiteral("PE25");
  o.filter = QStringLiteral("Payer Files (*.PE25)");
  o.mustExist = mustExist;
  return o;
}

void Pause(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

QString RecentKey() {
  return RegistryRoot + QStringLiteral("RecentFiles");
}

void LoadRecentFiles() {
  RecentFiles.clear();
  if (AppRegistry->OpenKey(RecentKey(), false)) {
    for (int i = 0; i < 10; ++i) RecentFiles.append(AppRegistry->ReadString(QString::number(i)));
    AppRegistry->CloseKey();
  } else {
    for (int i = 0; i < 10; ++i) RecentFiles.append(QString());
  }
}

void SaveRecentFiles() {
  if (!AppRegistry->OpenKey(RecentKey(), true)) return;
  for (int i = 0; i < 10; ++i)
    AppRegistry->WriteString(QString::number(i),
                             i < RecentFiles.size() ? RecentFiles[i] : QString());
  AppRegistry->CloseKey();
}
}  // namespace

void TFrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (FShown) return;
  FShown = true;
  const QStringList args = QApplication::arguments().mid(1);
  QTimer::singleShot(0, this, [this, args] { TApplication::Guard([&] { FormShow(args); }); });
}

void TFrmMain::FormShow(const QStringList& arguments) {
  if (!AppRegistry) AppRegistry = std::make_unique<TRegistry>();
  FrmDataModule->OnRefreshRecentMenu = [this] { RefreshRecentMenu(); };
  ProgramFolder = AddPathDelimiter(ExecutableFolder());
  DocumentsFolder = DocumentsFolderPath();
  DataFolder = AddPathDelimiter(DocumentsFolder) + QStringLiteral("Papyra/2025/Data/");
  // Payer files hold taxpayer numbers: their folder is the user's alone. A failure leaves the
  // defaults.
  if (!DocumentsFolder.isEmpty()) MakePrivateFolder(DataFolder);
  RegistryRoot = RunningUnderDevEnvironment() ? QStringLiteral("Software\\PapyraTest\\2025\\")
                                              : QStringLiteral("Software\\Papyra\\2025\\");
  // A file named on the command line is relative to the folder the user started in.
  const QDir startFolder = QDir::current();
  QDir::setCurrent(ProgramFolder);
  if (ShowSplash) {
    auto* splash = new TFrmWelcome();
    splash->show();
    splash->repaint();
    Pause(2000);
    delete splash;
  }
  // A setup program that replaced the last version has done its work.
  QFile::remove(SetupFileName());
  UpdateFormCaption();
  FrmDataModule->RSPayer->SetRecSize(448);
  FrmDataModule->RSPayee->SetRecSize(1536);
  EnableMenuItems(false);
  FrmDataModule->RSPayee->SetMaxRec(10000);
  LoadRecentFiles();
  RefreshRecentMenu();
  if (FrmDataModule->ReportProject)
    FrmDataModule->ReportProject->SetProjectFile(ReportProjectPath());
  MaskSSNOption = true;
  if (arguments.isEmpty()) return;
  // Arguments are joined again, so a path with spaces needs no quotes.
  const QString named = arguments.join(QLatin1Char(' ')).trimmed();
  if (named.isEmpty()) return;
  PayeeFileName = QDir::cleanPath(startFolder.absoluteFilePath(named));
  if (QFileInfo(PayeeFileName).suffix() == QLatin1String("PE25") && QFile::exists(PayeeFileName)) {
    FrmDataModule->RSPayee->SetFileName(PayeeFileName);
    FrmDataModule->RSPayee->OpenRecSet();
    UpdateFormCaption();
    EnableMenuItems(FileIsOpen);
  }
}

void TFrmMain::closeEvent(QCloseEvent* event) {
  if (!TApplication::Guard([this] { FormClose(); })) {
    // A payee that cannot be written back must not be lost silently: stay open.
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void TFrmMain::FormClose() {
  if (FClosed) return;
  FrmDataModule->RSPayee->CloseRecSet();
  RemoveRuntimeDir();
  if (AppRegistry) {
    SaveRecentFiles();
    AppRegistry.reset();
  }
  FClosed = true;
}

void TFrmMain::RestoreCurrentFolder() {
  QDir::setCurrent(ProgramFolder);
}

void TFrmMain::OpenPayeeFile(const QString& path) {
  FrmDataModule->RSPayee->CloseRecSet();
  PayeeFileName = path;
  FrmDataModule->RSPayee->SetFileName(path);
  FrmDataModule->RSPayee->OpenRecSet();
}

void TFrmMain::AfterOpen() {
  UpdateFormCaption();
  EnableMenuItems(FileIsOpen);
}

void TFrmMain::MnuOpenClick() {
  const QString path = PromptOpenFileName(PayerFileDialog(QStringLiteral("Open"), true), this);
  RestoreCurrentFolder();
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().compare(QLatin1String("PE25"), Qt::CaseInsensitive) != 0) {
    MsgBox(QStringLiteral("The selected file is not valid"), AppTitle(), mbError);
    return;
  }
  OpenPayeeFile(QFileInfo(path).absoluteFilePath());
  AfterOpen();
  if (FileIsOpen && PayerRec.GetBool("OpenPayerOnLoad")) {
    RunScreen("Payer");
    PayerRec.SetBool("OpenPayerOnLoad", false);
    UpdateFormCaption();
  }
}

void TFrmMain::MnuNewClick() {
  QString name;
  if (!TFrmNewFileDlg::Ask(this, name)) return;
  const QString path = DataFolder + name + QStringLiteral(".PE25");
  if (QFile::exists(path)) {
    MsgBox(QStringLiteral("File already exists!"), AppTitle(), mbError);
    return;
  }
  OpenPayeeFile(path);
  if (FileIsOpen) {
    PayerRec.SetString("PayerName", name.left(40));
    RunScreen("Payer");
    UpdateFormCaption();
    RunScreen("Payee");
  }
  UpdateFormCaption();
  EnableMenuItems(FileIsOpen);
}

void TFrmMain::MnuSaveAsClick() {
  TFileDialogOptions o = PayerFileDialog(QStringLiteral("Save As"), false);
  const QString chosen = PromptSaveFileName(o, this);
  RestoreCurrentFolder();
  if (chosen.isEmpty()) return;
  const QFileInfo info(chosen);
  QString base = info.fileName();
  if (base.contains(QLatin1Char('.'))) base = TextBefore(base, QLatin1Char('.'));
  const QString target = info.absoluteDir().filePath(base + QStringLiteral(".PE25"));
  const QString payerTarget = info.absoluteDir().filePath(base + QStringLiteral(".PR25"));
  // Either file of the pair may belong to another payer: replacing one replaces that payer.
  if ((QFile::exists(target) || QFile::exists(payerTarget)) &&
      MsgBox(QStringLiteral("This file already exists. Do you want to replace it?"), AppTitle(),
             mbOkCancelDefCancel) != mrOk)
    return;
  QString error;
  TFrmMsgWin::ShowMessage(AppTitle(), QStringLiteral("Saving ") + PayeeFileName +
                                          QStringLiteral(" as ") + QFileInfo(target).fileName());
  {
    THourglass hourglass;
    FrmDataModule->RSPayee->CloseRecSet();
    try {
      CopyPayerFilePair({{PayeeFileName, target}, {PayerFileName, payerTarget}},
                        TPairCopy::Together);
    } catch (const ECopyFileException& e) {
      error = e.Message();
    }
  }
  TFrmMsgWin::CloseMessage();
  if (error.isEmpty()) {
    MsgBox(QStringLiteral("Files have been successfully saved"), AppTitle(), mbInfo);
    PayeeFileName = target;
    FrmDataModule->RSPayee->SetFileName(target);
  }
  // The copy, or the old file after a failure, opens again without a second password prompt.
  SkipPasswordCheck = true;
  FrmDataModule->RSPayee->OpenRecSet();
  SkipPasswordCheck = false;
  UpdateFormCaption();
  EnableMenuItems(FileIsOpen);
  RestoreCurrentFolder();
  if (!error.isEmpty()) throw ECopyFileException(error);
}

void TFrmMain::MnuCloseClick() {
  FrmDataModule->RSPayee->CloseRecSet();
  PayeeFileName.clear();
  FrmDataModule->RSPayee->SetFileName(QString());
  FileIsOpen = false;
  UpdateFormCaption();
  EnableMenuItems(false);
}

void TFrmMain::MnuMRUClick(int index) {
  const QString path = index < RecentFiles.size() ? RecentFiles[index] : QString();
  if (!QFile::exists(path)) {
    MsgBox(QStringLiteral("File not found"), AppTitle(), mbError);
    return;
  }
  if (IsBlank(path)) return;
  OpenPayeeFile(path);
  AfterOpen();
}

void TFrmMain::MnuExitClick() {
  close();
}

void TFrmMain::MnuTransferClick() {
  MnuCloseClick();
  RunScreen("Transfer");
}

void TFrmMain::MnuAboutClick() {
  TFrmAboutBox box(this);
  box.exec();
}

void TFrmMain::OpenIRSInstructions(const QString& fileName, const QStringList& forms) {
  const QString path = ProgramFolder + fileName;
  if (!QFile::exists(path)) {
    ShowMissingInstructions(QStringLiteral("The IRS Instructions cannot no be found"), forms);
    return;
  }
  ShellOpenDocument(path);
}
