#include <QDir>
#include <QFile>
#include <QFrame>
#include <QTest>
#include <functional>
#include <map>

#include "ShellFixture.h"
#include "core/Utils.h"
#include "maintenance/RecordList.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "platform/Settings.h"
#include "printing/PrintType.h"
#include "printing/ReportPreview.h"
#include "shell/Backup.h"
#include "storage/Globals.h"

TEST_F(ShellTest, FirstStartWithoutArgumentsShowsTheNoFileState) {
  Start();
  EXPECT_EQ(Main->windowTitle(), "Papyra Version 2025.00");
  EXPECT_FALSE(FileIsOpen);
  EXPECT_TRUE(Main->MessagePanel()->isVisibleTo(Main.get()));
  for (const char* item : {"MnuSaveAs", "MnuClose", "MnuPayer", "MnuPayee", "Mnu1099NEC"}) {
    ASSERT_NE(Main->Action(item), nullptr) << item;
    EXPECT_FALSE(Main->Action(item)->isEnabled()) << item;
  }
  for (const QString& button : DataButtons()) EXPECT_FALSE(Main->Button(button)->isEnabled());
  for (const char* item : {"MnuOpen", "MnuNew", "MnuExit", "MnuContents", "MnuAbout"})
    EXPECT_TRUE(Enabled(item)) << item;
  EXPECT_TRUE(Main->Button("BtnOpen")->isEnabled());
  ASSERT_EQ(RecentFiles.size(), 10);
  for (const QString& f : RecentFiles) EXPECT_TRUE(f.isEmpty());
  EXPECT_FALSE(Main->Action("MnuMRU0")->isVisible());
  EXPECT_TRUE(QDir(DataFolder).exists());
  EXPECT_TRUE(DataFolder.endsWith("/Papyra/2025/Data/"));
  EXPECT_EQ(RegistryRoot, "Software\\PapyraTest\\2025\\");

  Main->FormClose();
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\PapyraTest\\2025\\RecentFiles", false));
  EXPECT_EQ(reg.ValueNames().size(), 10);
  EXPECT_EQ(reg.ReadString("9", "x"), "");
}

TEST_F(ShellTest, CommandLinePathWithASpaceOpensAndCloseRemembersIt) {
  QDir().mkpath(Dir.Path("My Files"));
  const QString path = MakePayerFile("My Files/Smith Co.PE25", "Smith & Sons");
  // The shell split the unquoted path at its spaces.
  Start(path.split(' '));
  ASSERT_TRUE(FileIsOpen);
  EXPECT_EQ(Main->windowTitle(), "Papyra Version 2025.00 - Smith & Sons");
  EXPECT_FALSE(Main->MessagePanel()->isVisibleTo(Main.get()));
  EXPECT_TRUE(Enabled("MnuPayer"));
  EXPECT_TRUE(Main->Button("Btn1099NEC")->isEnabled() == Enabled("Mnu1099NEC"));

  PayerRec.SetString("Contact", "Jane");
  Restart();
  EXPECT_FALSE(FileIsOpen);
  EXPECT_EQ(RecentFiles[0], path);
  EXPECT_TRUE(Main->Action("MnuMRU0")->isVisible());
  EXPECT_EQ(Main->Action("MnuMRU0")->text(), "&0 " + DoubleAmpersands(path));
  // The payer record was written back on close.
  TPayerRecord payer;
  const QByteArray bytes = ReadAll(path.chopped(4) + "PR25");
  ASSERT_EQ(bytes.size(), 448);
  memcpy(payer.Data(), bytes.constData(), 448);
  EXPECT_EQ(payer.GetString("Contact"), "Jane");
}

// "papyra acme.PE25" in the file's own folder: the name is the user's, relative to where the
// user started, not to the program folder the main window works from.
TEST_F(ShellTest, ACommandLinePathIsRelativeToTheStartFolder) {
  QDir().mkpath(Dir.Path("books/2025"));
  const QString path = MakePayerFile("books/2025/acme.PE25", "Acme Tools");
  const QString before = QDir::currentPath();
  const struct {
    const char* from;
    const char* name;
  } cases[] = {{"books/2025", "acme.PE25"},
               {"books", "2025/acme.PE25"},
               {"books", "./2025/../2025/acme.PE25"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QDir::setCurrent(Dir.Path(c.from));
    if (Main)
      Restart({c.name});
    else
      Start({c.name});
    EXPECT_TRUE(FileIsOpen);
    EXPECT_EQ(PayeeFileName, path);
    EXPECT_EQ(Main->windowTitle(), "Papyra Version 2025.00 - Acme Tools");
  }
  QDir::setCurrent(before);
}

TEST_F(ShellTest, CommandLineIgnoresAnythingButAnExistingUpperCasePE25) {
  const QString lower = MakePayerFile("lower.pe25", "Lower");
  Start({lower});
  EXPECT_FALSE(FileIsOpen);
  Restart({Dir.Path("missing.PE25")});
  EXPECT_FALSE(FileIsOpen);
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
}

TEST_F(ShellTest, ScreenSizeLimits) {
  EXPECT_TRUE(ScreenSizeAccepted(1024, 600));
  EXPECT_TRUE(ScreenSizeAccepted(800, 768));
  EXPECT_FALSE(ScreenSizeAccepted(800, 600));
  // Scaled screens count in device pixels: 1920 x 1080 at 200 % and 1366 x 768 at 125 % are
  // large enough, 1024 x 600 at 150 % (682 x 400 in its own pixels) too; 800 x 600 is not.
  EXPECT_TRUE(ScreenSizeAccepted(QSizeF(960, 540), 2.0));
  EXPECT_TRUE(ScreenSizeAccepted(QSizeF(1092.8, 614.4), 1.25));
  EXPECT_TRUE(ScreenSizeAccepted(QSizeF(682.67, 400), 1.5));
  EXPECT_FALSE(ScreenSizeAccepted(QSizeF(800, 600), 1.0));
  EXPECT_FALSE(ScreenSizeAccepted(QSizeF(400, 300), 2.0));
}

TEST_F(ShellTest, MissingIRSInstructionsSaySoAndWhereTheIRSOffersThem) {
  Start();
  Main->Action("MnuForm1098")->trigger();
  EXPECT_EQ(MsgBoxScript::LastText(),
            "The IRS Instructions cannot no be found\n\nThe IRS offers the current instructions "
            "at\nhttps://www.irs.gov/forms-pubs/about-form-1098\nThe IRS instructions for each "
            "form");
  // One file serves two forms: both pages.
  Main->Action("MnuForm1099MISC")->trigger();
  EXPECT_TRUE(
      MsgBoxScript::LastText().contains("https://www.irs.gov/forms-pubs/about-form-1099-misc\n"
                                        "https://www.irs.gov/forms-pubs/about-form-1099-nec\n"));
  QFile::copy(HelpTopicFile(1), ProgramFolder + "i1099r24.pdf");
  Main->Action("MnuForm1099R")->trigger();
  QFile::remove(ProgramFolder + "i1099r24.pdf");
  EXPECT_EQ(ShellScript::Opened().last(), ProgramFolder + "i1099r24.pdf");
}

TEST_F(ShellTest, HelpCommandsOpenTheirTopics) {
  Start();
  HelpScript::Clear();
  Main->Action("MnuContents")->trigger();
  Main->Button("BtnHelp")->click();
  Main->Action("MnuLicenseAgreement")->trigger();
  EXPECT_EQ(HelpScript::Shown(), (QList<int>{1, 1, 3}));
  for (int context :
       {1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 22, 23, 24, 26})
    EXPECT_TRUE(QFile::exists(HelpTopicFile(context))) << context;
}

// F1 in the windows without a help button of their own opens the guide's topic of the window.
TEST_F(ShellTest, F1OpensTheTopicOfEachWindow) {
  Start();
  TFrmRecList list;
  TFrmSelectFormType printType;
  TFrmReportPreview preview;
  TFrmBackup backup(QString{});
  TFrmRestore restore(QString{});
  const std::pair<QWidget*, int> windows[] = {
      {Main.get(), htContents}, {&list, htRecordList}, {&printType, htPrintType},
      {&preview, htPreview},    {&backup, 8},          {&restore, 9}};
  for (const auto& [window, context] : windows) {
    SCOPED_TRACE(context);
    window->show();
    QApplication::setActiveWindow(window);
    HelpScript::Clear();
    QTest::keyClick(window, Qt::Key_F1);
    EXPECT_EQ(HelpScript::Shown(), QList<int>{context});
    EXPECT_TRUE(QFile::exists(HelpTopicFile(context)));
    window->hide();
  }
}

// The help's table of the main window's keys, pressed on the main window with a payer file
// open: each opens the window or runs the command the table names.
TEST_F(ShellTest, EveryKeyOfTheHelpsMainWindowTableDoesWhatItSays) {
  const std::map<QString, std::function<bool(const QStringList& happened)>> checks = {
      {"opens a payer file", [](const QStringList& h) { return h.contains("dialog Open"); }},
      {"creates a new payer file",
       [](const QStringList& h) { return h.contains("window FrmNewFileDlg"); }},
      {"opens the payer screen", [](const QStringList& h) { return h.contains("screen Payer"); }},
      {"opens the payee screen", [](const QStringList& h) { return h.contains("screen Payee"); }},
      {"saves the payer file under a new name",
       [](const QStringList& h) { return h.contains("dialog Save As"); }},
      {"backs up the payer file", [](const QStringList& h) { return h.contains("screen Backup"); }},
      {"restores a payer file from a backup",
       [](const QStringList& h) { return h.contains("screen Restore"); }},
      {"closes the payer file", [](const QStringList& h) { return h.contains("file closed"); }},
      {"opens this topic", [](const QStringList& h) { return h.contains("help 1"); }},
      {"ends Papyra", [](const QStringList& h) { return h.contains("main window closed"); }},
  };
  int pressed = 0;
  for (const THelpKeyRow& row : HelpKeyRows()) {
    if (row.Screen != "main") continue;
    SCOPED_TRACE((row.Keys + ": " + row.Does).toStdString());
    ++pressed;
    const QString path = MakePayerFile(QStringLiteral("keys%1.PE25").arg(pressed), "Keys Co", 2);
    if (Main)
      Restart({path});
    else
      Start({path});
    ASSERT_TRUE(FileIsOpen);
    QStringList happened;
    for (const char* screen : {"Payer", "Payee", "Backup", "Restore"})
      Main->SetScreen(screen,
                      [&happened, screen] { happened << QStringLiteral("screen %1").arg(screen); });
    Main->show();
    QApplication::setActiveWindow(Main.get());
    DialogScript::Clear();
    HelpScript::Clear();
    auto windows = std::make_shared<QStringList>();
    IfModal(
        [windows](QWidget* w) {
          *windows << "window " + w->objectName();
          w->close();
        },
        200);
    PressHelpKeys(row.Keys);
    QTest::qWait(300);  // the watch for a window has ended before the next key
    happened << *windows;
    for (const QString& title : DialogScript::Titles()) happened << "dialog " + title;
    for (int context : HelpScript::Shown()) happened << QStringLiteral("help %1").arg(context);
    if (!FileIsOpen) happened << "file closed";
    if (!Main->isVisible()) happened << "main window closed";
    const auto check = checks.find(row.Does);
    if (check == checks.end()) {
      ADD_FAILURE() << "no check knows what the help says these keys do";
      continue;
    }
    EXPECT_TRUE(check->second(happened)) << happened.join(", ").toStdString();
  }
  EXPECT_EQ(pressed, 10);
}
