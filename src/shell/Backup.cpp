#include "shell/Backup.h"

#include <sys/stat.h>

#include <QDir>

#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QStyle>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "platform/DialogButtons.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/SafeFile.h"
#include "platform/Settings.h"
#include "shell/FrmMain.h"
#include "shell/FrmWelcome.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecordSet.h"

namespace {
// A path that is wider than its room shows its start and end with "..." between them; the whole
// path is in the tool tip and in text().
class TPathLabel : public QLabel {
 public:
  TPathLabel(const QString& path, QWidget* parent) : QLabel(path, parent) {
    setTextFormat(Qt::PlainText);
    setToolTip(path);
  }
  QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
  QSize sizeHint() const override { return {0, QLabel::sizeHint().height()}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect room = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, room.width());
    style()->drawItemText(&painter, room, int(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
  }
};

QGroupBox* CurrentFileGroup(TBackupDialog* dlg, const QString& explanation) {
  auto* group = new QGroupBox(QStringLiteral(" Current File: "), dlg);
  auto* layout = new QVBoxLayout(group);
  auto* text = new QLabel(explanation, group);
  text->setObjectName(QStringLiteral("LblExplanation"));
  text->setWordWrap(true);
  layout->addWidget(text);
  auto* grid = new QGridLayout();
  grid->addWidget(new QLabel(QStringLiteral("File name:"), group), 0, 0);
  grid->addWidget(dlg->LblFileName, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Location:"), group), 1, 0);
  grid->addWidget(dlg->LblLocation, 1, 1);
  grid->setColumnStretch(1, 1);
  layout->addLayout(grid);
  return group;
}

QGroupBox* FolderGroup(TBackupDialog* dlg, const QString& caption) {
  auto* group = new QGroupBox(caption, dlg);
  auto* row = new QHBoxLayout(group);
  row->addWidget(dlg->Path, 1);
  row->addWidget(dlg->BtnBrowse);
  return group;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromLatin1(caption), parent);
  b->setObjectName(QLatin1String(name));
  return b;
}
}  // namespace

TBackupDialog::TBackupDialog(const TTexts& texts, const QString& fileName, const QString& folder,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      LblFileName(new TPathLabel(fileName, this)),
      // Where the open payer file lies, which is what the user is copying or replacing.
      LblLocation(new TPathLabel(
          QDir::toNativeSeparators(QFileInfo(PayeeFileName).absolutePath() + QLatin1Char('/')),
          this)),
      Path(new QLineEdit(folder, this)),
      BtnBrowse(Button(this, "BtnBrowse", "&Browse")),
      BtnOk(Button(this, "BtnOk", "&Ok")),
      BtnCancel(Button(this, "BtnCancel", "&Cancel")),
      FBrowseTitle(texts.BrowseTitle) {
  setWindowTitle(texts.Caption);
  LblFileName->setObjectName(QStringLiteral("LblFileName"));
  LblLocation->setObjectName(QStringLiteral("LblLocation"));
  Path->setObjectName(QStringLiteral("Path"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CurrentFileGroup(this, texts.Explanation));
  layout->addWidget(FolderGroup(this, texts.FolderGroup));
  layout->addLayout(OkCancelRow(this, BtnOk, BtnCancel));
  connect(BtnBrowse, &QPushButton::clicked, this, [this] { BtnBrowseClick(); });
  // The explanation wraps: the window takes the height its lines need at the fixed width.
  constexpr int width = 430;
  setFixedWidth(width);
  layout->activate();
  setFixedHeight(layout->totalHeightForWidth(width));
}

QString TBackupDialog::Folder() const {
  return Path->text();
}

void TBackupDialog::BtnBrowseClick() {
  QString folder = Path->text();
  if (PromptFolder(FBrowseTitle, folder)) Path->setText(folder);
}

TFrmBackup::TFrmBackup(const QString& folder, QWidget* parent)
    : TBackupDialog(
          {QStringLiteral("Papyra File Backup"),
           QStringLiteral(
               "You  are  about  to  make  a  backup  of  the  current  Payer  file. If you are "
               "backing-up to a removable storerage device (such as a USB flash drive), connnect "
               "it to your system before clicking Ok. Use the Restore command to retrieve the "
               "backup."),
           QStringLiteral(" Backup Current File To: "),
           QStringLiteral("Select the backup to folder")},
          DoubleAmpersands(QFileInfo(PayeeFileName).fileName()), folder, parent) {
  setObjectName(QStringLiteral("FrmBackup"));
  AddHelpKey(this, 8);
}

TFrmRestore::TFrmRestore(const QString& folder, QWidget* parent)
    : TBackupDialog(
          {QStringLiteral("Papyra Restore File Backup"),
           QStringLiteral(
               "You  are  about  to  restore  the  current  Payer  file  from  a  previous "
               "backup. If you are restoring from a removable storage device (such as a USB "
               "flash drive), connect it to your system before clicking Ok."),
           QStringLiteral(" Restore Current File Backup From: "),
           QStringLiteral("Select the folder to restore from")},
          PayeeFileName, folder, parent) {
  setObjectName(QStringLiteral("FrmRestore"));
  AddHelpKey(this, 9);
}

namespace {
QString BackupKey() {
  return RegistryRoot + QStringLiteral("Backup");
}

// The program's settings store once the main window has started, a private one before.
template <typename F>
void WithRegistry(F&& use) {
  if (AppRegistry) {
    use(*AppRegistry);
  } else {
    TRegistry registry;
    use(registry);
  }
}
}  // namespace

QString BackupFolderSetting() {
  QString folder;
  WithRegistry([&](TRegistry& reg) {
    if (!reg.OpenKey(BackupKey(), false)) return;
    folder = reg.ReadString(QStringLiteral("Path"));
    reg.CloseKey();
  });
  return folder;
}

void SaveBackupFolderSetting(const QString& folder) {
  WithRegistry([&](TRegistry& reg) {
    if (!reg.OpenKey(BackupKey(), true)) return;
    reg.WriteString(QStringLiteral("Path"), folder);
    reg.CloseKey();
  });
}

using TCopyList = std::vector<std::pair<QString, QString>>;  // source, target

namespace {
// Larger than any payer or payee file: 10,000 payees of 1,536 bytes, with room to spare.
constexpr qint64 kMaxRecordFileBytes = qint64(64) << 20;

void TakeReplaceLocks(TReplaceLock& locks, const TCopyList& copies) {
  for (const auto& [source, target] : copies) {
    if (locks.Lock(target)) continue;
    CopyFailed = true;
    throw ECopyFileException(TildeToCR(QDir::toNativeSeparators(target) +
                                       QStringLiteral(" is already in use!~~Another copy of "
                                                      "Papyra has it open, so it has not been "
                                                      "replaced.")));
  }
}

[[noreturn]] void RaisePairCopyError(const QString& reason) {
  CopyFailed = true;
  throw ECopyFileException(TildeToCR(
      QStringLiteral("The following error occured during the copy file process:~") + reason));
}

}  // namespace

namespace {

struct TCopyTexts {
  QString Copying;    // message window text, before the folder
  QString Done;       // success message
  QString OwnFolder;  // refusal when the folder is the payer file's own
};

// Both paths name one existing file (the same folder reached twice, or through a link).
bool SameExistingFile(const QString& a, const QString& b) {
  struct stat sa {
  }, sb{};
  return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
         ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool CopiesOntoItself(const TCopyList& copies) {
  for (const auto& [source, target] : copies)
    if (SameExistingFile(source, target)) return true;
  return false;
}

// The dialog step: the folder to use, or empty when the command ends here.
QString AskFolder(TBackupDialog& dlg) {
  if (dlg.exec() != QDialog::Accepted || IsBlank(dlg.Folder())) return {};
  return dlg.Folder();
}

// Closes the payer file, copies the files in order (a failed copy skips the rest), opens the
// file again and reports. A failure is raised only once the file is open again.
void CopyWhileClosed(TFrmMain& main, const QString& folder, const TCopyList& copies,
                     const TCopyTexts& texts) {
  {
    TScopeCleanup reopen([&main] { ReopenPayerFile(main); });
    const auto closeMessage = qScopeGuard([] { TFrmMsgWin::CloseMessage(); });
    TFrmMsgWin::ShowMessage(AppTitle(), texts.Copying + folder);
    THourglass hourglass;
    FrmDataModule->RSPayee->CloseRecSet();
    CopyPayerFilePair(copies, TPairCopy::InOrder);
  }
  MsgBox(texts.Done, AppTitle(), mbOk);
}

// Copying the open file onto itself would at best do nothing and at worst destroy it; say so
// before anything is closed, and do not remember that folder.
void RunCopyCommand(TFrmMain& main, TBackupDialog& dlg, bool toFolder, const TCopyTexts& texts) {
  const QString folder = AskFolder(dlg);
  if (folder.isEmpty()) return;
  const QString base = AddPathDelimiter(folder);
  TCopyList copies;
  for (const QString& file : {PayeeFileName, PayerFileName}) {
    const QString there = base + QFileInfo(file).fileName();
    copies.push_back(toFolder ? std::pair(file, there) : std::pair(there, file));
  }
  if (CopiesOntoItself(copies)) {
    MsgBox(texts.OwnFolder, AppTitle(), mbError);
    return;
  }
  SaveBackupFolderSetting(folder);
  CopyWhileClosed(main, folder, copies, texts);
}
}  // namespace

// The file was closed for the copy and opens again from the same path whatever happened; the
// user has just been working in it, so the password is not asked again.
void ReopenPayerFile(TFrmMain& main) {
  const auto showState = qScopeGuard([&main] {
    main.UpdateFormCaption();
    main.EnableMenuItems(FileIsOpen);
  });
  const QScopedValueRollback skipCheck(SkipPasswordCheck, true);
  FrmDataModule->RSPayee->OpenRecSet();
}

void BackupPayerFile(TFrmMain& main) {
  if (!FileIsOpen) return;
  TFrmBackup dlg(BackupFolderSetting(), &main);
  RunCopyCommand(
      main, dlg, true,
      {QStringLiteral("Copying files to "), QStringLiteral("Backup completed successfully"),
       QStringLiteral("The backup folder is the folder the payer file is kept in, so "
                      "the file would be copied onto itself.~Please choose another "
                      "folder for the backup.")});
}

void RestorePayerFile(TFrmMain& main) {
  if (!FileIsOpen) return;
  TFrmRestore dlg(BackupFolderSetting(), &main);
  RunCopyCommand(
      main, dlg, false,
      {QStringLiteral("Copying files from "), QStringLiteral("File restore completed successfully"),
       QStringLiteral("The restore folder is the folder the payer file is kept in, so the file "
                      "would be copied onto itself.~Please choose the folder that holds the "
                      "backup.")});
}

void CopyPayerFilePair(const TCopyList& copies, TPairCopy mode) {
  TReplaceLock locks;
  TakeReplaceLocks(locks, copies);
  TWriteOptions options;
  options.RecordFile = true;
  options.ProgramNamed = true;
  options.LockHeldByCaller = true;
  if (mode == TPairCopy::InOrder) {
    for (const auto& [source, target] : copies) CopyFileChecked(source, target, false, options);
    return;
  }
  for (const auto& [source, target] : copies)
    if (SameExistingFile(source, target))
      RaisePairCopyError(QStringLiteral("The source and destination are the same file."));
  try {
    TSafeFileGroup pair(options);
    for (const auto& [source, target] : copies) {
      const QByteArray bytes = ReadRegularFile(source, kMaxRecordFileBytes);
      pair.Add(target, [&bytes](QIODevice& device) { device.write(bytes); });
    }
    pair.Commit();
  } catch (const EInOutError& e) {
    RaisePairCopyError(e.Message() + QLatin1Char('.'));
  }
}
