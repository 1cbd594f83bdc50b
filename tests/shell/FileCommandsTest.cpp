#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "FaultSupport.h"
#include "ShellFixture.h"
#include "controls/FilterEdit.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "shell/FrmNewFileDlg.h"
#include "storage/Globals.h"

namespace {
QString LockProbe() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/storage_lock_probe");
}

// What a second opener of the file gets: "read-write" or "browse-only".
QString ProbeOpenMode(const QString& file) {
  QProcess probe;
  probe.start(LockProbe(), {"probe", file});
  probe.waitForFinished(10000);
  return QString::fromLatin1(probe.readAllStandardOutput().trimmed());
}

// Another running copy of the program holding a file open for writing until it is destroyed.
class THolder {
 public:
  explicit THolder(const QString& file) {
    FProcess.start(LockProbe(), {"hold", file});
    FProcess.waitForReadyRead(10000);
    Mode = QString::fromLatin1(FProcess.readLine().trimmed());
  }
  ~THolder() {
    FProcess.write("\n");
    FProcess.closeWriteChannel();
    FProcess.waitForFinished(10000);
  }
  QString Mode;

 private:
  QProcess FProcess;
};

void AnswerNewFile(const QString& typed, bool ok = true) {
  WhenModal([typed, ok](QWidget* w) {
    auto* edit = Child<TFilterEdit>(w, "NewFileName");
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, typed);
    Child<QPushButton>(w, ok ? "BtnOk" : "BtnCancel")->click();
  });
}
}  // namespace

TEST_F(ShellTest, OpenChecksTheExtensionIgnoringItsCase) {
  const QString lower = MakePayerFile("lower.pe25", "Lower Co");
  WriteAll(Dir.Path("notes.txt"), "x");
  Start();
  DialogScript::SetNextFileName(Dir.Path("notes.txt"));
  Main->MnuOpenClick();
  EXPECT_EQ(MsgBoxScript::LastText(), "The selected file is not valid");
  EXPECT_FALSE(FileIsOpen);

  DialogScript::SetNextFileName(lower);
  Main->MnuOpenClick();
  EXPECT_TRUE(FileIsOpen);
  EXPECT_EQ(Main->windowTitle(), "Papyra Version 2025.00 - Lower Co");
  EXPECT_EQ(QDir::currentPath() + "/", ProgramFolder);
}

TEST_F(ShellTest, OpenRunsThePayerScreenWhenThePayerAsksForIt) {
  const QString path = MakePayerFile("a.PE25", "A");
  TPayerRecord payer;
  payer.SetString("PayerName", "A");
  payer.SetBool("OpenPayerOnLoad", true);
  WriteAll(Dir.Path("a.PR25"), QByteArray(reinterpret_cast<const char*>(payer.Data()), 448));
  Start();
  int payerScreens = 0;
  Main->SetScreen("Payer", [&] { ++payerScreens; });
  DialogScript::SetNextFileName(path);
  Main->MnuOpenClick();
  EXPECT_EQ(payerScreens, 1);
  EXPECT_FALSE(PayerRec.GetBool("OpenPayerOnLoad"));
}

TEST_F(ShellTest, NewCreatesBothFilesAndRunsThePayerThenThePayeeScreen) {
  Start();
  QStringList screens;
  Main->SetScreen("Payer", [&] { screens << "Payer:" + PayerRec.GetString("PayerName"); });
  Main->SetScreen("Payee", [&] { screens << "Payee"; });
  AnswerNewFile("Acme Tools");
  Main->MnuNewClick();
  ASSERT_TRUE(FileIsOpen);
  EXPECT_EQ(screens, (QStringList{"Payer:Acme Tools", "Payee"}));
  EXPECT_EQ(PayeeFileName, DataFolder + "Acme Tools.PE25");
  EXPECT_EQ(QFileInfo(DataFolder + "Acme Tools.PE25").size(), 1536);
  EXPECT_EQ(QFileInfo(DataFolder + "Acme Tools.PR25").size(), 448);
  EXPECT_EQ(Main->windowTitle(), "Papyra Version 2025.00 - Acme Tools");
  // The files it made are held like files it opened: a second opener only browses.
  EXPECT_EQ(ProbeOpenMode(DataFolder + "Acme Tools.PE25"), "browse-only");
  EXPECT_EQ(ProbeOpenMode(DataFolder + "Acme Tools.PR25"), "browse-only");

  // The same name again is refused; a blank name or Cancel does nothing.
  Main->MnuCloseClick();
  AnswerNewFile("Acme Tools");
  Main->MnuNewClick();
  EXPECT_EQ(MsgBoxScript::LastText(), "File already exists!");
  EXPECT_FALSE(FileIsOpen);
  const int shown = MsgBoxScript::Log().size();
  AnswerNewFile("   ");
  Main->MnuNewClick();
  AnswerNewFile("Other", false);
  Main->MnuNewClick();
  EXPECT_FALSE(FileIsOpen);
  EXPECT_EQ(MsgBoxScript::Log().size(), shown);
  EXPECT_FALSE(QFile::exists(DataFolder + "Other.PE25"));
}

TEST_F(ShellTest, NewFileNameRefusesCharactersOutsideItsSet) {
  Start();
  TFrmNewFileDlg dlg;
  QTest::keyClicks(dlg.NewFileName(), "Smith's {A&B}, 2025/x.y");
  EXPECT_EQ(dlg.NewFileName()->text(), "Smiths {A&B}, 2025xy");
}

TEST_F(ShellTest, SaveAsCopiesThePairKeepsTheFirstNameAndReopensTheCopy) {
  const QString path = MakePayerFile("orig.PE25", "Orig & Co", 3);
  Start({path});
  ASSERT_TRUE(FileIsOpen);
  QDir().mkpath(Dir.Path("copies"));
  DialogScript::SetNextFileName(Dir.Path("copies/new.name.with.points"));
  Main->MnuSaveAsClick();
  EXPECT_EQ(MsgBoxScript::LastText(), "Files have been successfully saved");
  EXPECT_EQ(PayeeFileName, Dir.Path("copies/new.PE25"));
  EXPECT_EQ(ReadAll(Dir.Path("copies/new.PE25")), ReadAll(path));
  EXPECT_EQ(ReadAll(Dir.Path("copies/new.PR25")), ReadAll(Dir.Path("orig.PR25")));
  EXPECT_TRUE(FileIsOpen);
  EXPECT_EQ(Main->windowTitle(), "Papyra Version 2025.00 - Orig & Co")
      << "the title shows the name as typed";
  EXPECT_EQ(RecentFiles[0], path);  // the old file was closed, so it is first
  Main->MnuCloseClick();
  EXPECT_EQ(RecentFiles[0], Dir.Path("copies/new.PE25"));
  EXPECT_EQ(RecentFiles[1], path);
}

TEST_F(ShellTest, SaveAsOntoAnExistingFileAsksAndOntoItselfLeavesTheFileIntact) {
  const QString path = MakePayerFile("orig.PE25", "Orig", 2);
  MakePayerFile("other.PE25", "Other");
  Start({path});
  DialogScript::SetNextFileName(Dir.Path("other.PE25"));
  MsgBoxScript::SetNextAnswer(mrCancel);
  Main->MnuSaveAsClick();
  EXPECT_EQ(MsgBoxScript::LastText(), "This file already exists. Do you want to replace it?");
  EXPECT_EQ(QFileInfo(Dir.Path("other.PE25")).size(), 1536);

  // Saving a file as itself must not destroy it: the copy is refused and the file reopens.
  DialogScript::SetNextFileName(path);
  MsgBoxScript::SetNextAnswer(mrOk);
  Main->Action("MnuSaveAs")->trigger();
  EXPECT_TRUE(MsgBoxScript::LastText().startsWith(
      "The following error occured during the copy file process:\n"));
  EXPECT_EQ(QFileInfo(path).size(), 2 * 1536);
  EXPECT_TRUE(FileIsOpen);
  EXPECT_EQ(PayeeFileName, path);
  EXPECT_EQ(Main->windowTitle(), "Papyra Version 2025.00 - Orig");
}

// Either file of the target pair belongs to another payer: replacing it is asked for.
TEST_F(ShellTest, SaveAsAsksWhenEitherFileOfThePairExists) {
  const QString path = MakePayerFile("orig.PE25", "Orig", 2);
  Start({path});
  for (const char* existing : {"other.PE25", "other.PR25"}) {
    SCOPED_TRACE(existing);
    QFile::remove(Dir.Path("other.PE25"));
    QFile::remove(Dir.Path("other.PR25"));
    WriteAll(Dir.Path(existing), "another payer's file");
    MsgBoxScript::Clear();
    DialogScript::SetNextFileName(Dir.Path("other.PE25"));
    MsgBoxScript::SetNextAnswer(mrCancel);
    Main->MnuSaveAsClick();
    EXPECT_EQ(MsgBoxScript::LastText(), "This file already exists. Do you want to replace it?");
    EXPECT_EQ(ReadAll(Dir.Path(existing)), "another payer's file");
    EXPECT_EQ(PayeeFileName, path);
    EXPECT_TRUE(FileIsOpen);
  }
}

// A target pair that another running copy has open is not replaced under it, even when the
// user agreed to replace it.
TEST_F(ShellTest, SaveAsOntoAFileAnotherCopyHoldsIsRefused) {
  const QString path = MakePayerFile("orig.PE25", "Orig", 2);
  const QString other = MakePayerFile("other.PE25", "Other", 3);
  const QByteArray before = ReadAll(other);
  THolder holder(other);
  ASSERT_EQ(holder.Mode, "read-write");
  Start({path});
  DialogScript::SetNextFileName(other);
  MsgBoxScript::SetNextAnswer(mrOk);
  Main->Action("MnuSaveAs")->trigger();
  EXPECT_EQ(MsgBoxScript::LastText(),
            other +
                " is already in use!\n\nAnother copy of Papyra has it open, so it has not "
                "been replaced.");
  EXPECT_EQ(ReadAll(other), before);
  EXPECT_EQ(PayeeFileName, path);
  EXPECT_TRUE(FileIsOpen);
}

// A Save As that fails half way (the disk takes the payee file but not the payer file) leaves
// neither file of the pair behind, and the original opens again.
TEST_F(ShellTest, AFailedSaveAsLeavesNoHalfPair) {
  const QString path = MakePayerFile("orig.PE25", "Orig", 2);
  Start({path});
  TFaultFolder disk;
  // On a tmpfs the payee copy (3072 bytes) gets the one free page and the payer copy none.
  disk.MakeFull(disk.Mounted() ? 4096 : 2000);
  const QStringList before = FolderEntries(disk.Path());
  DialogScript::SetNextFileName(disk.Path("copy.PE25"));
  {
    TFileSizeLimitHere limit(disk.SizeLimit());
    Main->Action("MnuSaveAs")->trigger();
  }
  EXPECT_TRUE(MsgBoxScript::LastText().startsWith(
      "The following error occured during the copy file process:\n"))
      << MsgBoxScript::LastText().toStdString() << " on a " << disk.Kind().toStdString();
  EXPECT_EQ(FolderEntries(disk.Path()), before);
  EXPECT_EQ(PayeeFileName, path);
  EXPECT_TRUE(FileIsOpen);
}

TEST_F(ShellTest, RecentEntriesOpenAndAMissingFileStaysListed) {
  const QString a = MakePayerFile("a & b.PE25", "A");
  const QString b = MakePayerFile("b.PE25", "B");
  Start({a});
  Main->MnuCloseClick();
  DialogScript::SetNextFileName(b);
  Main->MnuOpenClick();
  Main->MnuCloseClick();
  EXPECT_EQ(RecentFiles.mid(0, 2), (QStringList{b, a}));
  EXPECT_EQ(Main->Action("MnuMRU1")->text(), "&1 " + Dir.Path("a && b.PE25"));

  Main->MnuMRUClick(1);
  EXPECT_TRUE(FileIsOpen);
  EXPECT_EQ(PayeeFileName, a);
  Main->MnuCloseClick();
  EXPECT_EQ(RecentFiles.mid(0, 2), (QStringList{a, b}));

  QFile::remove(b);
  Main->MnuMRUClick(1);
  EXPECT_EQ(MsgBoxScript::LastText(), "File not found");
  EXPECT_FALSE(FileIsOpen);
  EXPECT_EQ(RecentFiles[1], b);
}

TEST_F(ShellTest, ElevenFilesPushTheOldestOut) {
  Start();
  QStringList paths;
  for (int i = 0; i < 11; ++i) {
    paths << MakePayerFile(QString("f%1.PE25").arg(i), "P");
    DialogScript::SetNextFileName(paths.last());
    Main->MnuOpenClick();
    Main->MnuCloseClick();
  }
  ASSERT_EQ(RecentFiles.size(), 10);
  EXPECT_EQ(RecentFiles[0], paths[10]);
  EXPECT_EQ(RecentFiles[9], paths[1]);
  EXPECT_FALSE(RecentFiles.contains(paths[0]));
}
