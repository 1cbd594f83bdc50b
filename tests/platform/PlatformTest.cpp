#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Application.h"
#include "platform/DialogButtons.h"
#include "platform/Dialogs.h"
#include "platform/Exceptions.h"
#include "platform/MsgBox.h"
#include "platform/Resources.h"
#include "platform/Services.h"
#include "platform/Settings.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QVBoxLayout>

TEST(Settings, TypedValuesSurviveANewStoreObject) {
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\PapyraTest\\2025\\Unit", true));
    reg.WriteString("s", "a=b; c");
    reg.WriteInteger("i", -42);
    reg.WriteBool("b", true);
    reg.WriteFloat("f", 0.1);
    reg.WriteBinaryData("x", QByteArray("\x00\x01\xff", 3));
    reg.CloseKey();
  }
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKey("Software\\PapyraTest\\2025\\Missing", false));
  ASSERT_TRUE(reg.OpenKey("Software\\PapyraTest\\2025\\Unit", false));
  EXPECT_EQ(reg.ReadString("s"), "a=b; c");
  EXPECT_EQ(reg.ReadInteger("i"), -42);
  EXPECT_TRUE(reg.ReadBool("b"));
  EXPECT_EQ(reg.ReadFloat("f"), 0.1);
  EXPECT_EQ(reg.ReadBinaryData("x"), QByteArray("\x00\x01\xff", 3));
  // A value of another type reads as the default, with ok false.
  bool ok = true;
  EXPECT_EQ(reg.ReadInteger("s", 7, &ok), 7);
  EXPECT_FALSE(ok);
  EXPECT_EQ(reg.ReadString("missing"), "");
}

TEST(Settings, GarbageInTheFileReadsAsDefaults) {
  {
    TRegistry reg;
    reg.OpenKey("Software\\PapyraTest\\2025\\Garbage", true);
    reg.CloseKey();
  }
  {
    QSettings raw(TRegistry::StoreFileName(), QSettings::IniFormat);
    raw.setValue("Software/PapyraTest/2025/Garbage/n", "i:12abc");
    raw.setValue("Software/PapyraTest/2025/Garbage/x", "x:zz");
    raw.setValue("Software/PapyraTest/2025/Garbage/plain", "hello");
  }
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\PapyraTest\\2025\\Garbage", false));
  bool ok = true;
  EXPECT_EQ(reg.ReadInteger("n", 3, &ok), 3);
  EXPECT_FALSE(ok);
  EXPECT_TRUE(reg.ReadBinaryData("x", &ok).isEmpty());
  EXPECT_FALSE(ok);
  EXPECT_EQ(reg.ReadString("plain", "d"), "d");
}

TEST(MsgBox, ScriptedBoxesAreLoggedWithLineBreaksAndDefaults) {
  MsgBoxScript::Clear();
  EXPECT_EQ(MsgBox("one~two", AppTitle(), mbInfo), mrOk);
  EXPECT_EQ(MsgBoxScript::LastText(), "one\ntwo");
  EXPECT_EQ(MsgBox("q", AppTitle(), mbOkCancelDefCancel), mrCancel);
  EXPECT_EQ(MsgBox("q", AppTitle(), mbYesNoWarnDefNo), mrNo);
  MsgBoxScript::SetNextAnswer(mrOk);
  EXPECT_EQ(MsgBox("q", AppTitle(), mbOkCancelDefCancel), mrOk);
  EXPECT_EQ(MsgBoxScript::Log().size(), 4);
  EXPECT_EQ(MsgBoxScript::Log()[0].caption, "Papyra 2025");
}

TEST(Application, GeneralErrorDisplayAppendsAFullStopOnlyWhenNeeded) {
  struct Case {
    QString in, out;
  } cases[] = {{"Printer has not been selected", "Printer has not been selected."},
               {"Done.", "Done."},
               {"Ends with space ", "Ends with space "},
               {"Ends with a digit 5", "Ends with a digit 5."},
               {"", ""}};
  for (const Case& c : cases)
    EXPECT_EQ(TApplication::ExceptionText(c.in), c.out) << c.in.toStdString();
  MsgBoxScript::Clear();
  EXPECT_FALSE(TApplication::Guard([] { throw EFieldException("Bad value"); }));
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::Log()[0].text, "Bad value.");
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbError);
}

TEST(Services, Windows1252RoundTripAndUnmappable) {
  const QString text = QString::fromUtf8("Caf\u00e9 \u20ac \u201cq\u201d");
  const QByteArray bytes = ToWin1252(text);
  EXPECT_EQ(bytes, QByteArray("Caf\xe9 \x80 \x93q\x94"));
  EXPECT_EQ(FromWin1252(bytes), text);
  EXPECT_EQ(ToWin1252(QString::fromUtf8("\u4e2d")), QByteArray("?"));
}

// Every byte reads as one character and writes back as the same byte, the ends of the high half
// included: an off-by-one in the table of 0x80..0x9F loses the euro sign or Y with diaeresis.
TEST(Services, Windows1252EveryByteRoundTripsAndTheEndsMapToTheirCharacters) {
  for (int b = 0; b < 256; ++b) {
    const QByteArray byte(1, char(b));
    const QString text = FromWin1252(byte);
    ASSERT_EQ(text.size(), 1) << b;
    EXPECT_TRUE(InWin1252(text[0])) << b;
    EXPECT_EQ(ToWin1252(text), byte) << b;
  }
  const struct {
    unsigned char Byte;
    char16_t Char;
  } ends[] = {{0x00, 0x0000}, {0x7F, 0x007F}, {0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160},
              {0x9D, 0x009D}, {0x9E, 0x017E}, {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xFF, 0x00FF}};
  for (const auto& e : ends) {
    EXPECT_EQ(FromWin1252(QByteArray(1, char(e.Byte))), QString(QChar(e.Char))) << int(e.Byte);
    EXPECT_EQ(ToWin1252(QString(QChar(e.Char))), QByteArray(1, char(e.Byte))) << int(e.Byte);
  }
  // Characters beyond the code page, next to ones inside it, and the C1 controls whose bytes hold
  // the euro sign and Y with diaeresis.
  for (char16_t outside : {0x0080, 0x009F, 0x0100, 0x0179, 0x20AD, 0xFFFD}) {
    EXPECT_FALSE(InWin1252(QChar(outside))) << int(outside);
    EXPECT_EQ(ToWin1252(QString(QChar(outside))), QByteArray("?")) << int(outside);
  }
}

TEST(Services, DevEnvironmentIsDetectedFromTheBuildTree) {
  EXPECT_TRUE(RunningUnderDevEnvironment());
}

// Folders laid out as a build tree (resources beside bin/, a CMakeCache.txt above) and as an
// installed prefix (bin/ and share/papyra/), the prefix placed inside the build tree the way a
// test install is.
TEST(Resources, FoundBesideTheProgramOrUnderTheInstalledPrefix) {
  TTempFolder dir;
  const QString build = dir.Path("build");
  const QString prefix = build + "/stage";
  QDir().mkpath(build + "/bin");
  QDir().mkpath(prefix + "/bin");
  QDir().mkpath(prefix + "/share/papyra");
  QDir().mkpath(dir.Path("bare/bin"));
  WriteAll(build + "/CMakeCache.txt", "");
  WriteAll(build + "/bin/TaxForms.rpj", "");
  WriteAll(prefix + "/share/papyra/TaxForms.rpj", "");
  struct Case {
    QString exe, resources;
    bool installed, dev;
  };
  for (const Case& c : {Case{build + "/bin", build + "/bin/", false, true},
                        Case{prefix + "/bin", prefix + "/share/papyra/", true, false},
                        Case{prefix + "/bin/", prefix + "/share/papyra/", true, false},
                        Case{dir.Path("bare/bin"), dir.Path("bare/bin") + "/", false, false}}) {
    SCOPED_TRACE(c.exe.toStdString());
    EXPECT_EQ(ResourceFolderFor(c.exe), c.resources);
    EXPECT_EQ(InstalledLayout(c.exe), c.installed);
    EXPECT_EQ(RunningUnderDevEnvironmentAt(c.exe), c.dev);
  }
}

TEST(Resources, TheTestsFindTheBuiltProjectAndHelpBesideThem) {
  EXPECT_EQ(ResourceFolder(), ExecutableFolder());
  EXPECT_TRUE(QFileInfo::exists(ReportProjectPath()));
  EXPECT_TRUE(HelpTopicFile(1).startsWith(ResourceFolder() + "help/"));
}

TEST(DialogButtons, OkIsTheDefaultAndAcceptsCancelRejectsBothAtTheRightEdge) {
  struct Case {
    const char* action;
    int result;
  };
  for (const Case c : {Case{"ok", QDialog::Accepted}, Case{"cancel", QDialog::Rejected},
                       Case{"enter", QDialog::Accepted}}) {
    SCOPED_TRACE(c.action);
    QDialog dialog;
    auto* ok = new QPushButton(QStringLiteral("&Ok"), &dialog);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), &dialog);
    QHBoxLayout* row = OkCancelRow(&dialog, ok, cancel);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(row);
    EXPECT_TRUE(ok->isDefault());
    ASSERT_EQ(row->count(), 3);
    EXPECT_NE(row->itemAt(0)->spacerItem(), nullptr) << "a stretch keeps the buttons right";
    EXPECT_EQ(row->itemAt(1)->widget(), ok);
    EXPECT_EQ(row->itemAt(2)->widget(), cancel);
    const QString action = QString::fromLatin1(c.action);
    WhenModal([&](QWidget* w) {
      if (action == QLatin1String("ok")) ok->click();
      if (action == QLatin1String("cancel")) cancel->click();
      if (action == QLatin1String("enter")) QTest::keyClick(w, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.exec(), c.result);
  }
}

// The window system appends an application display name, once set, to every window's title, so
// "Papyra Version 2025.00 - Acme" would read "... - Acme — Papyra 2025" on the desktop.
TEST(Application, NoDisplayNameIsAddedToTheWindowTitles) {
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
  EXPECT_EQ(QCoreApplication::applicationName(), "Papyra");
}

TEST(Services, TheRuntimeFolderIsTheUsersOwnAndGoesAway) {
  TTempFolder runtime;
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", runtime.Path().toLocal8Bit());
  RemoveRuntimeDir();
  const QString dir = RuntimeDir();
  EXPECT_EQ(QFileInfo(dir).absolutePath(), QFileInfo(runtime.Path()).absoluteFilePath());
  EXPECT_EQ(QFileInfo(dir).permissions() & 0x00FF, 0) << "no one else may look in";
  EXPECT_EQ(RuntimeDir(), dir) << "one folder for the whole run";
  WriteAll(dir + "/Papyra.RPT", "x");
  RemoveRuntimeDir();
  EXPECT_FALSE(QFileInfo::exists(dir));
  // Without a runtime folder the user's cache folder takes its place.
  qputenv("XDG_RUNTIME_DIR", "");
  EXPECT_TRUE(RuntimeDir().startsWith(
      QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/papyra-"));
  RemoveRuntimeDir();
  qputenv("XDG_RUNTIME_DIR", saved);
}
