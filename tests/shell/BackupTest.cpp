#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopedValueRollback>

#include "ShellFixture.h"
#include "core/Utils.h"
#include "maintenance/PasswordDialog.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "platform/Settings.h"
#include "shell/Backup.h"
#include "shell/FrmWelcome.h"
#include "storage/Globals.h"
#include "storage/Password.h"

namespace {
// What the dialog showed when it opened.
struct TShownDialog {
  QString Caption, FileName, Location, Folder;
};

QByteArray PayerBytes(const QString& name, const QString& password) {
  TPayerRecord payer;
  payer.SetString("PayerName", name);
  payer.SetString("FilePassword", ScramblePassword(password));
  return QByteArray(reinterpret_cast<const char*>(payer.Data()), TPayerRecord::Size);
}

QByteArray PayeeBytes(const QStringList& names) {
  QByteArray bytes;
  for (int i = 0; i < names.size(); ++i) {
    TPayeeRecord payee;
    payee.SetString("PayeeName", names[i]);
    payee.SetDouble("F1099NEC1", 100.25 * (i + 1));
    bytes += QByteArray(reinterpret_cast<const char*>(payee.Data()), TPayeeRecord::Size);
  }
  return bytes;
}

// A password prompt during the reopen would mean the password was asked again: refuse it, so
// the file stays closed and the test sees it.
void RefusePasswordPrompt() {
  IfModal(
      [](QWidget* w) {
        if (auto* prompt = qobject_cast<TPasswordDlg*>(w)) prompt->reject();
      },
      1000);
}
}  // namespace

class BackupTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    QDir().mkpath(Dir.Path("data"));
    QDir().mkpath(Dir.Path("usb"));
    Payee = Dir.Path("data/Smith & Co.PE25");
    Payer = Dir.Path("data/Smith & Co.PR25");
    WriteAll(Payer, PayerBytes("Smith & Co", QString()));
    WriteAll(Payee, PayeeBytes({"Ann", "Bob", "Cy"}));
    Start({Payee});
    ASSERT_TRUE(FileIsOpen);
    Main->SetScreen("Backup", [this] { BackupPayerFile(*Main); });
    Main->SetScreen("Restore", [this] { RestorePayerFile(*Main); });
    MsgBoxScript::Clear();
  }

  // Runs the command through its menu item, answering its dialog with folder and Ok (or
  // Cancel), and records what the dialog showed.
  TShownDialog Run(const char* action, const QString& folder, bool ok = true) {
    TShownDialog shown;
    WhenModal([&shown, folder, ok](QWidget* w) {
      auto* dlg = qobject_cast<TBackupDialog*>(w);
      if (!dlg) return;
      shown = {dlg->windowTitle(), dlg->LblFileName->text(), dlg->LblLocation->text(),
               dlg->Path->text()};
      dlg->Path->setText(folder);
      RefusePasswordPrompt();
      (ok ? dlg->BtnOk : dlg->BtnCancel)->click();
    });
    Main->Action(action)->trigger();
    return shown;
  }

  QString SavedFolder() const { return BackupFolderSetting(); }
  QStringList Messages() const {
    QStringList texts;
    for (const auto& m : MsgBoxScript::Log()) texts << m.text;
    return texts;
  }
  void ExpectOpenAndSettled() {
    EXPECT_TRUE(FileIsOpen);
    EXPECT_TRUE(FrmDataModule->RSPayee->Active());
    EXPECT_EQ(PayeeFileName, Payee);
    EXPECT_EQ(TFrmMsgWin::Current(), nullptr);
    EXPECT_FALSE(HourglassShown());
    EXPECT_FALSE(SkipPasswordCheck);
  }

  QString Payee, Payer;
};

TEST_F(BackupTest, BackupCopiesBothFilesWithTheLatestEditsAndReopens) {
  PayerRec.SetString("Contact", "Jane Roe");
  PayeeRec.SetString("City", "Springfield");
  // The folder as typed, with and without its delimiter.
  for (const QString& typed : {Dir.Path("usb"), Dir.Path("usb") + "/"}) {
    SCOPED_TRACE(typed.toStdString());
    MsgBoxScript::Clear();
    QFile::remove(Dir.Path("usb/Smith & Co.PE25"));
    QFile::remove(Dir.Path("usb/Smith & Co.PR25"));
    const TShownDialog shown = Run("MnuBackup", typed);
    EXPECT_EQ(shown.Caption, "Papyra File Backup");
    EXPECT_EQ(shown.FileName, "Smith && Co.PE25");
    EXPECT_EQ(shown.Location, ProgramFolder);

    EXPECT_EQ(ReadAll(Dir.Path("usb/Smith & Co.PE25")), ReadAll(Payee));
    EXPECT_EQ(ReadAll(Dir.Path("usb/Smith & Co.PR25")), ReadAll(Payer));
    EXPECT_EQ(Messages(), QStringList{"Backup completed successfully"});
    EXPECT_EQ(MsgBoxScript::Log().first().flags, 0);
    EXPECT_EQ(SavedFolder(), typed);
    ExpectOpenAndSettled();
  }
  TPayerRecord backedUp;
  memcpy(backedUp.Data(), ReadAll(Dir.Path("usb/Smith & Co.PR25")).constData(), 448);
  EXPECT_EQ(backedUp.GetString("Contact"), "Jane Roe");
  TPayeeRecord first;
  memcpy(first.Data(), ReadAll(Dir.Path("usb/Smith & Co.PE25")).constData(), 1536);
  EXPECT_EQ(first.GetString("City"), "Springfield");
  EXPECT_EQ(first.GetString("PayeeName"), "Ann");
  // Closing for the copy put the file on the recent list.
  EXPECT_EQ(RecentFiles[0], Payee);
}

TEST_F(BackupTest, SecondBackupOverwritesTheFirstWithoutAsking) {
  Run("MnuBackup", Dir.Path("usb"));
  PayerRec.SetString("PayerName", "Smith & Co Renamed");
  Run("MnuBackup", Dir.Path("usb"));
  EXPECT_EQ(Messages(),
            (QStringList{"Backup completed successfully", "Backup completed successfully"}));
  TPayerRecord backedUp;
  memcpy(backedUp.Data(), ReadAll(Dir.Path("usb/Smith & Co.PR25")).constData(), 448);
  EXPECT_EQ(backedUp.GetString("PayerName"), "Smith & Co Renamed");
}

TEST_F(BackupTest, CancelOrABlankFolderDoNothing) {
  const QByteArray payeeBefore = ReadAll(Payee);
  for (const auto& [folder, ok] :
       {std::pair{Dir.Path("usb"), false}, std::pair{QString("  "), true}}) {
    for (const char* action : {"MnuBackup", "MnuRestore"}) {
      Run(action, folder, ok);
      EXPECT_TRUE(MsgBoxScript::Log().isEmpty()) << action;
      EXPECT_TRUE(SavedFolder().isEmpty()) << action;
      EXPECT_TRUE(QDir(Dir.Path("usb")).isEmpty()) << action;
      // Never closed: nothing was posted and the file did not enter the recent list.
      EXPECT_TRUE(RecentFiles[0].isEmpty()) << action;
      ExpectOpenAndSettled();
    }
  }
  EXPECT_EQ(ReadAll(Payee), payeeBefore);
}

TEST_F(BackupTest, TheFolderOfOneCommandIsOfferedByTheOther) {
  // Browse replaces the typed folder with the picked one.
  DialogScript::SetNextFileName(Dir.Path("usb"));
  WhenModal([](QWidget* w) {
    auto* dlg = qobject_cast<TBackupDialog*>(w);
    dlg->Path->setText("typed");
    dlg->BtnBrowse->click();
    dlg->BtnOk->click();
  });
  Main->Action("MnuBackup")->trigger();
  EXPECT_EQ(DialogScript::Titles(), QStringList{"Select the backup to folder"});
  EXPECT_EQ(SavedFolder(), Dir.Path("usb"));

  const TShownDialog restore = Run("MnuRestore", Dir.Path("usb") + "/");
  EXPECT_EQ(restore.Folder, Dir.Path("usb"));
  EXPECT_EQ(restore.Caption, "Papyra Restore File Backup");
  EXPECT_EQ(restore.FileName, Payee);
  EXPECT_EQ(restore.Location, ProgramFolder);
  const TShownDialog backup = Run("MnuBackup", Dir.Path("usb"), false);
  EXPECT_EQ(backup.Folder, Dir.Path("usb") + "/");

  DialogScript::Clear();
  DialogScript::SetNextFileName(Dir.Path("elsewhere"));
  TFrmRestore dlg{QString()};
  dlg.BtnBrowse->click();
  EXPECT_EQ(DialogScript::Titles(), QStringList{"Select the folder to restore from"});
  EXPECT_EQ(dlg.Path->text(), Dir.Path("elsewhere"));
}

TEST_F(BackupTest, RestoreReplacesTheOpenFileAndDoesNotAskTheBackupsPassword) {
  const QByteArray payer = PayerBytes("Jones Ltd", "Secret77");
  const QByteArray payees = PayeeBytes({"Dee", "Eve"});
  WriteAll(Dir.Path("usb/Smith & Co.PR25"), payer);
  WriteAll(Dir.Path("usb/Smith & Co.PE25"), payees);
  // A backup of another payer file in the same folder is left alone.
  WriteAll(Dir.Path("usb/Other.PE25"), PayeeBytes({"Zed"}));

  Run("MnuRestore", Dir.Path("usb"));
  EXPECT_EQ(Messages(), QStringList{"File restore completed successfully"});
  EXPECT_EQ(MsgBoxScript::Log().first().flags, 0);
  ExpectOpenAndSettled();
  EXPECT_EQ(PayerRec.GetString("PayerName"), "Jones Ltd");
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), "Dee");
  EXPECT_EQ(FrmDataModule->RSPayee->LastRecord(), 2);
  EXPECT_EQ(Main->windowTitle(), "Papyra Version 2025.00 - Jones Ltd");
  EXPECT_FALSE(QFile::exists(Dir.Path("data/Other.PE25")));

  Main->FormClose();  // writes the records back unchanged
  EXPECT_EQ(ReadAll(Payer), payer);
  EXPECT_EQ(ReadAll(Payee), payees);
}

TEST_F(BackupTest, RestoreWithoutThePayerFileReplacesOnlyThePayeesAndSaysWhy) {
  const QByteArray payerBefore = ReadAll(Payer);
  const QByteArray payees = PayeeBytes({"Dee", "Eve"});
  WriteAll(Dir.Path("usb/Smith & Co.PE25"), payees);

  Run("MnuRestore", Dir.Path("usb"));
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  const auto& shown = MsgBoxScript::Log().first();
  EXPECT_TRUE(shown.text.startsWith("The following error occured during the copy file process:"))
      << shown.text.toStdString();
  EXPECT_EQ(shown.flags, mbError);
  ExpectOpenAndSettled();
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), "Dee");
  EXPECT_EQ(PayerRec.GetString("PayerName"), "Smith & Co");
  Main->FormClose();
  EXPECT_EQ(ReadAll(Payee), payees);
  EXPECT_EQ(ReadAll(Payer), payerBefore);
}

// With the file open in another running copy and browse-only here, Restore must not replace the
// files under the other copy (its writes would go to files that no longer exist): it is refused
// with the "already in use" message and nothing changes; this copy stays browse-only.
TEST_F(BackupTest, RestoreIsRefusedWhileAnotherCopyHoldsTheFile) {
  WriteAll(Dir.Path("usb/Smith & Co.PR25"), PayerBytes("Jones Ltd", QString()));
  WriteAll(Dir.Path("usb/Smith & Co.PE25"), PayeeBytes({"Dee"}));
  Main->MnuCloseClick();
  const QByteArray payee = ReadAll(Payee), payer = ReadAll(Payer);
  QProcess holder;
  holder.start(QCoreApplication::applicationDirPath() + "/storage_lock_probe", {"hold", Payee});
  ASSERT_TRUE(holder.waitForReadyRead(10000));
  ASSERT_EQ(holder.readLine().trimmed(), "read-write");
  PayeeFileName = Payee;
  FrmDataModule->RSPayee->SetFileName(Payee);
  FrmDataModule->RSPayee->OpenRecSet();
  Main->EnableMenuItems(FileIsOpen);
  ASSERT_TRUE(FrmDataModule->RSPayee->BrowseOnly());
  MsgBoxScript::Clear();

  Run("MnuRestore", Dir.Path("usb"));
  ASSERT_FALSE(MsgBoxScript::Log().isEmpty());
  EXPECT_EQ(MsgBoxScript::LastText(),
            Payee +
                " is already in use!\n\nAnother copy of Papyra has it open, so it has not "
                "been replaced.");
  EXPECT_FALSE(Messages().contains("File restore completed successfully"));
  EXPECT_EQ(ReadAll(Payee), payee);
  EXPECT_EQ(ReadAll(Payer), payer);
  EXPECT_TRUE(FileIsOpen);
  EXPECT_TRUE(FrmDataModule->RSPayee->BrowseOnly());
  holder.write("\n");
  holder.closeWriteChannel();
  EXPECT_TRUE(holder.waitForFinished(10000));
  EXPECT_EQ(holder.exitCode(), 0);
}

TEST_F(BackupTest, AFailedBackupReportsTheErrorAndNoSuccess) {
  Run("MnuBackup", Dir.Path("usb/not there"));
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_TRUE(MsgBoxScript::Log().first().text.startsWith("The following error occured"));
  EXPECT_EQ(MsgBoxScript::Log().first().flags, mbError);
  EXPECT_FALSE(QDir(Dir.Path("usb/not there")).exists());
  ExpectOpenAndSettled();
}

TEST_F(BackupTest, TheOwnFolderIsRefusedBeforeAnythingIsClosed) {
  QFile::link(Dir.Path("data"), Dir.Path("link"));
  const QByteArray payee = ReadAll(Payee), payer = ReadAll(Payer);
  PayeeRec.SetString("City", "Not yet saved");
  struct TCase {
    const char* action;
    QString folder;
    const char* says;
  };
  const TCase cases[] = {
      {"MnuBackup", Dir.Path("data"), "Please choose another folder for the backup."},
      {"MnuBackup", Dir.Path("link") + "/", "Please choose another folder for the backup."},
      {"MnuRestore", Dir.Path("data") + "/", "Please choose the folder that holds the backup."},
      {"MnuRestore", Dir.Path("usb/../data"), "Please choose the folder that holds the backup."},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.folder.toStdString());
    MsgBoxScript::Clear();
    Run(c.action, c.folder);
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_TRUE(MsgBoxScript::Log().first().text.contains("would be copied onto itself"));
    EXPECT_TRUE(MsgBoxScript::Log().first().text.endsWith(c.says));
    EXPECT_EQ(MsgBoxScript::Log().first().flags, mbError);
    EXPECT_TRUE(SavedFolder().isEmpty());
    EXPECT_TRUE(RecentFiles[0].isEmpty());
    ExpectOpenAndSettled();
  }
  EXPECT_EQ(PayeeRec.GetString("City"), "Not yet saved");
  EXPECT_EQ(ReadAll(Payee), payee);
  EXPECT_EQ(ReadAll(Payer), payer);
}

// The window fits its texts: the whole explanation, and a long file name and program folder
// shown start and end with the whole path as a tool tip.
TEST_F(BackupTest, TheRestoreWindowShowsItsTextsWhole) {
  ProgramFolder =
      "/opt/a-very-long-folder-name/for-the-program/installed-by-a-package/papyra-2025/";
  PayeeFileName =
      "/home/bookkeeper/Documents/Papyra/2025/Data/Clients of the northern branch/"
      "Acme Tools and Hardware Incorporated.PE25";
  TFrmRestore dlg(Dir.Path("usb"));
  dlg.show();
  QApplication::processEvents();
  auto* explanation = dlg.findChild<QLabel*>("LblExplanation");
  ASSERT_NE(explanation, nullptr);
  EXPECT_GE(explanation->height(), explanation->heightForWidth(explanation->width()));
  EXPECT_EQ(dlg.LblLocation->text(), ProgramFolder);
  EXPECT_EQ(dlg.LblLocation->toolTip(), ProgramFolder);
  EXPECT_EQ(dlg.LblFileName->text(), PayeeFileName);
  EXPECT_EQ(dlg.LblFileName->toolTip(), PayeeFileName);
  for (QWidget* w : dlg.findChildren<QWidget*>()) {
    if (!w->isVisible()) continue;
    const QRect r(w->mapTo(&dlg, QPoint(0, 0)), w->size());
    EXPECT_TRUE(dlg.rect().contains(r)) << w->objectName().toStdString();
    if (auto* label = qobject_cast<QLabel*>(w);
        label && label != dlg.LblLocation && label != dlg.LblFileName) {
      EXPECT_LE(label->minimumSizeHint().width(), label->width()) << label->text().toStdString();
    }
  }
}
