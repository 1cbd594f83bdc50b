#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include "StorageTestSupport.h"
#include "TestSupport.h"
#include "maintenance/PasswordDialog.h"
#include "platform/Exceptions.h"
#include "platform/MsgBox.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/Password.h"
#include "storage/RecentFiles.h"

namespace {
QByteArray PayeeBytes(const QString& name) {
  TPayeeRecord rec;
  rec.SetString("PayeeName", name);
  return QByteArray(reinterpret_cast<const char*>(rec.Data()), TPayeeRecord::Size);
}

QByteArray PayerBytes(const QString& name, const QString& password = {}) {
  TPayerRecord rec;
  rec.SetString("PayerName", name);
  rec.SetString("FilePassword", ScramblePassword(password));
  return QByteArray(reinterpret_cast<const char*>(rec.Data()), TPayerRecord::Size);
}

// Types text into the password prompt and presses Ok, or presses Cancel when text is null.
void AnswerPasswordPrompt(const QString& text, QString* label = nullptr,
                          QString* caption = nullptr) {
  WhenModal([=](QWidget* w) {
    if (label) *label = Child<QLabel>(w, "Label1")->text();
    if (caption) *caption = w->windowTitle();
    if (text.isNull()) {
      QTest::mouseClick(Child<QPushButton>(w, "BtnCancel"), Qt::LeftButton);
      return;
    }
    QTest::keyClicks(Child<QLineEdit>(w, "Password"), text);
    QTest::mouseClick(Child<QPushButton>(w, "BtnOk"), Qt::LeftButton);
  });
}

class DataModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MsgBoxScript::Clear();
    PayerRec.Clear();
    PayeeRec.Clear();
    FileIsOpen = false;
    SkipPasswordCheck = false;
    RecIndexDirty = false;
    PayeeFileName.clear();
    PayerFileName.clear();
    RecentFiles = QStringList(RecentFileCount, QString());
    // What start-up does.
    Module.RSPayer->SetRecSize(448);
    Module.RSPayee->SetRecSize(1536);
    Module.RSPayee->SetMaxRec(10000);
    Module.OnRefreshRecentMenu = [this] { ++Refreshes; };
    InstallPasswordPrompt(Module);
    PayeePath = Temp.Path("Acme.PE25");
    PayerPath = Temp.Path("Acme.PR25");
  }
  void TearDown() override { Module.RSPayee->CloseRecSet(); }

  void Open(const QString& path) {
    Module.RSPayee->CloseRecSet();
    PayeeFileName = path;
    Module.RSPayee->SetFileName(path);
    Module.RSPayee->OpenRecSet();
  }
  void ExpectNothingOpen() {
    EXPECT_FALSE(FileIsOpen);
    EXPECT_FALSE(Module.RSPayer->Active());
    EXPECT_FALSE(Module.RSPayee->Active());
  }

  TTempFolder Temp;
  TFrmDataModule Module;
  QString PayeePath, PayerPath;
  int Refreshes = 0;
};

TEST_F(DataModuleTest, DesignSettings) {
  TFrmDataModule fresh;
  EXPECT_EQ(fresh.objectName(), "FrmDataModule");
  EXPECT_EQ(fresh.findChild<TRecordSet*>("RSPayer"), fresh.RSPayer);
  EXPECT_EQ(fresh.findChild<TRecordSet*>("RSPayee"), fresh.RSPayee);
  TPasswordDialog* prompt = InstallPasswordPrompt(fresh);
  EXPECT_EQ(fresh.findChild<TPasswordDialog*>("PasswordDialog"), prompt);
  EXPECT_EQ(prompt->Prompt(), "Enter File Password");
  EXPECT_EQ(prompt->Caption(), "");
  struct Case {
    TRecordSet* set;
    int maxRec;
    bool showOpenMode;
  };
  for (const Case& c : {Case{fresh.RSPayer, 1000, false}, Case{fresh.RSPayee, 250, true}}) {
    EXPECT_EQ(c.set->RecSize(), 32);
    EXPECT_EQ(c.set->FileOpenMode(), omOpenReadWrite);
    EXPECT_EQ(c.set->FileShareMode(), smShareDenyWrite);
    EXPECT_EQ(c.set->MaxRec(), c.maxRec);
    EXPECT_TRUE(c.set->AutoCreate());
    EXPECT_EQ(c.set->ShowOpenMode(), c.showOpenMode);
  }
  EXPECT_EQ(FrmDataModule, &Module);  // the first module made is the program's
}

TEST_F(DataModuleTest, ANewPayerFileIsAPairOfZeroRecords) {
  PayeeRec.SetString("PayeeName", "left over");
  Open(PayeePath);
  EXPECT_TRUE(FileIsOpen);
  EXPECT_EQ(PayerFileName, PayerPath);
  EXPECT_EQ(ReadAll(PayeePath), QByteArray(1536, '\0'));
  EXPECT_EQ(ReadAll(PayerPath), QByteArray(448, '\0'));
  EXPECT_EQ(PayerRec.GetString("PayerName"), "");
  EXPECT_EQ(PayeeRec, TPayeeRecord());
  EXPECT_TRUE(RecIndexDirty);
  EXPECT_EQ(Refreshes, 1);
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
}

// A payee file whose payer file has gone says which file is missing, and gets a blank payer
// record only when the user agrees.
TEST_F(DataModuleTest, AMissingPayerCompanionIsCreatedBlankOnlyWhenTheUserAgrees) {
  WriteAll(PayeePath, PayeeBytes("Baker") + PayeeBytes("Cole"));
  const QString asked = "The payer file " + PayerPath +
                        " is missing.\nCreate a blank payer record "
                        "for Acme.PE25?";
  Open(PayeePath);  // the question's default is Cancel
  EXPECT_EQ(MsgBoxScript::LastText(), asked);
  ExpectNothingOpen();
  EXPECT_FALSE(QFile::exists(PayerPath));
  EXPECT_EQ(ReadAll(PayeePath), PayeeBytes("Baker") + PayeeBytes("Cole"));

  MsgBoxScript::SetNextAnswer(mrOk);
  Open(PayeePath);
  EXPECT_EQ(MsgBoxScript::LastText(), asked);
  EXPECT_TRUE(FileIsOpen);
  EXPECT_EQ(ReadAll(PayerPath), QByteArray(448, '\0'));
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), "Baker");
  EXPECT_EQ(Module.RSPayee->LastRecord(), 2);
}

TEST_F(DataModuleTest, APairWithLowerCaseExtensionsKeepsItsPayerRecord) {
  const QString payee = Temp.Path("acme.pe25"), payer = Temp.Path("acme.pr25");
  WriteAll(payee, PayeeBytes("Baker"));
  WriteAll(payer, PayerBytes("Acme"));
  Open(payee);
  ASSERT_TRUE(FileIsOpen);
  EXPECT_EQ(PayerFileName, payer);
  EXPECT_EQ(PayerRec.GetString("PayerName"), "Acme");
  EXPECT_FALSE(QFile::exists(Temp.Path("acme.PR25"))) << "no blank companion made beside it";
  Module.RSPayee->CloseRecSet();
  // Two payer files that differ only in case: the exact name is the one, made when missing (and
  // the user agrees).
  WriteAll(Temp.Path("Acme.pR25"), PayerBytes("Other"));
  MsgBoxScript::SetNextAnswer(mrOk);
  Open(payee);
  EXPECT_EQ(PayerFileName, Temp.Path("acme.PR25"));
  EXPECT_TRUE(PayerRec.GetString("PayerName").isEmpty());
}

TEST_F(DataModuleTest, ClosingWritesBothWorkingRecordsAndRemembersTheFile) {
  WriteAll(PayeePath, PayeeBytes("Baker") + PayeeBytes("Cole"));
  WriteAll(PayerPath, PayerBytes("Acme"));
  Open(PayeePath);
  Module.RSPayee->NextRec();
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), "Cole");
  // Whatever is on disk now is replaced by the working records, edited or not.
  WriteAll(PayeePath, PayeeBytes("Baker") + PayeeBytes("Scribbled"));
  PayerRec.SetString("City", "Springfield");
  QStringList order;
  Module.OnAddRecentFile = [&](const QString& path) {
    order << "recent " + path;
    AddRecentFile(RecentFiles, path);
  };
  Module.RSPayer->OnBeforePost = [&](TRecordSet* s) {
    order << "payer posted";
    Module.RSPayerBeforePost(s);
  };
  Module.RSPayee->CloseRecSet();
  // Both sets are closed; FileIsOpen is the Close command's to clear.
  EXPECT_FALSE(Module.RSPayee->Active());
  EXPECT_FALSE(Module.RSPayer->Active());
  EXPECT_EQ(ReadAll(PayeePath), PayeeBytes("Baker") + PayeeBytes("Cole"));
  TPayerRecord expected;
  expected.SetString("PayerName", "Acme");
  expected.SetString("City", "Springfield");
  expected.SetString("CityStZip", "Springfield  ");  // made from the city whoever changed it
  EXPECT_EQ(ReadAll(PayerPath),
            QByteArray(reinterpret_cast<const char*>(expected.Data()), expected.Size));
  EXPECT_EQ(order, QStringList({"recent " + PayeePath, "payer posted"}));
  EXPECT_EQ(RecentFiles.first(), PayeePath);
  EXPECT_EQ(RecentFiles.size(), 10);
  EXPECT_EQ(Refreshes, 2);  // after the open and after the close
}

TEST_F(DataModuleTest, TheDefaultRecentHookUpdatesTheGlobalList) {
  RecentFiles[0] = "/old/one.PE25";
  Open(PayeePath);
  Module.RSPayee->CloseRecSet();
  EXPECT_EQ(RecentFiles.mid(0, 3), QStringList({PayeePath, "/old/one.PE25", ""}));
}

TEST_F(DataModuleTest, NewRecClearsThePayeeAndMarksTheIndex) {
  WriteAll(PayeePath, PayeeBytes("Baker"));
  WriteAll(PayerPath, PayerBytes("Acme"));
  Open(PayeePath);
  RecIndexDirty = false;
  Module.RSPayee->NewRec();
  EXPECT_EQ(PayeeRec, TPayeeRecord());
  EXPECT_TRUE(RecIndexDirty);
  EXPECT_EQ(Module.RSPayee->CurrentRecord(), 2);
}

TEST_F(DataModuleTest, DeleteLeavesTheNowCurrentPayeeInTheWorkingRecord) {
  struct Case {
    int deleted;
    const char* shown;
  };
  for (const Case& c : {Case{2, "Cole"}, Case{3, "Baker"}}) {
    SCOPED_TRACE(c.deleted);
    WriteAll(PayeePath, PayeeBytes("Baker") + PayeeBytes("Able") + PayeeBytes("Cole"));
    WriteAll(PayerPath, PayerBytes("Acme"));
    Open(PayeePath);
    RecIndexDirty = false;
    Module.RSPayee->SetCurrentRecord(c.deleted);
    Module.RSPayee->GetRec();
    MsgBoxScript::SetNextAnswer(mrOk);
    Module.RSPayee->DeleteRec();
    EXPECT_EQ(PayeeRec.GetString("PayeeName"), c.shown);
    EXPECT_TRUE(RecIndexDirty);
    Module.RSPayee->CloseRecSet();
  }
}

TEST_F(DataModuleTest, ThePasswordIsAskedBeforeThePayeeFileIsTouched) {
  struct Case {
    const char* name;
    QString typed;  // null: Cancel
    bool opens;
    QString message;
  };
  const Case cases[] = {
      {"right password", "Secret9", true, ""},
      {"wrong letter case", "secret9", false, "Incorrect Password"},
      {"wrong password", "Secret", false, "Incorrect Password"},
      {"cancelled", QString(), false, ""},
  };
  const QByteArray payer = PayerBytes("Acme", "Secret9");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MsgBoxScript::Clear();
    QFile::remove(PayeePath);
    WriteAll(PayerPath, payer);
    QString label, caption;
    AnswerPasswordPrompt(c.typed, &label, &caption);
    Open(PayeePath);
    EXPECT_EQ(label, "Enter File Password");
    EXPECT_EQ(caption, AppTitle());
    EXPECT_EQ(FileIsOpen, c.opens);
    EXPECT_EQ(Module.RSPayee->Active(), c.opens);
    EXPECT_EQ(Module.RSPayer->Active(), c.opens);
    EXPECT_EQ(QFile::exists(PayeePath), c.opens);
    EXPECT_EQ(ReadAll(PayerPath), payer);
    if (c.opens) {
      EXPECT_EQ(PayeeFileName, PayeePath);
    } else {
      EXPECT_EQ(PayeeFileName, "");
      EXPECT_EQ(Module.RSPayee->FileName(), "");
    }
    EXPECT_EQ(MsgBoxScript::LastText(), c.message);
    if (!c.message.isEmpty()) {
      EXPECT_EQ(MsgBoxScript::Log().last().flags, mbError);
    }
    Module.RSPayee->CloseRecSet();
  }
}

TEST_F(DataModuleTest, SkipPasswordCheckOpensAProtectedFileWithoutAsking) {
  WriteAll(PayerPath, PayerBytes("Acme", "Secret9"));
  bool asked = false;
  IfModal(
      [&](QWidget* w) {
        asked = true;
        QTest::mouseClick(Child<QPushButton>(w, "BtnCancel"), Qt::LeftButton);
      },
      300);
  SkipPasswordCheck = true;
  Open(PayeePath);
  SkipPasswordCheck = false;
  QTest::qWait(400);  // outlive the watch for a prompt
  EXPECT_FALSE(asked);
  EXPECT_TRUE(FileIsOpen);
  EXPECT_EQ(PayerRec.GetString("PayerName"), "Acme");
}

TEST_F(DataModuleTest, APayeeFileThatFailsClosesThePayerAgain) {
  struct Case {
    const char* name;
    std::function<void(const QString&)> make;
    bool throws;
  };
  const Case cases[] = {
      // The path names nothing that exists, yet cannot be created.
      {"dangling link",
       [](const QString& p) { ::symlink("/nonexistent/folder/x", QFile::encodeName(p)); }, false},
      // Opens, but its blank first record cannot be written.
      {"pipe", [](const QString& p) { ::mkfifo(QFile::encodeName(p).constData(), 0644); }, true},
  };
  const QByteArray payer = PayerBytes("Acme");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(PayeePath);
    WriteAll(PayerPath, payer);
    c.make(PayeePath);
    MsgBoxScript::Clear();
    if (c.throws) {
      EXPECT_THROW(Open(PayeePath), EInOutError);
    } else {
      Open(PayeePath);
      EXPECT_EQ(MsgBoxScript::LastText(), "Unable to open database file");
    }
    ExpectNothingOpen();
    EXPECT_EQ(ReadAll(PayerPath), payer);
    EXPECT_EQ(RecentFiles, QStringList(RecentFileCount, QString()));
  }
}

TEST_F(DataModuleTest, APayerFileThatCannotBeOpenedCancelsThePayeeSilently) {
  ASSERT_TRUE(QDir().mkpath(Temp.Path("sub")));
  const QString payee = Temp.Path("sub/x.PE25");
  ASSERT_EQ(::symlink("/nonexistent/folder/x", QFile::encodeName(Temp.Path("sub/x.PR25"))), 0);
  Open(payee);
  ExpectNothingOpen();
  EXPECT_FALSE(QFile::exists(payee));
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::Log()[0].text, "Unable to open database file");
  EXPECT_EQ(MsgBoxScript::Log()[0].caption, AppTitle());
}

TEST_F(DataModuleTest, AFileHeldElsewhereOpensBrowseOnlyAndIsNotWritten) {
  const QByteArray payees = PayeeBytes("Baker");
  const QByteArray payer = PayerBytes("Acme");
  WriteAll(PayeePath, payees);
  WriteAll(PayerPath, payer);
  TRecordSet holdPayee, holdPayer;
  for (auto [set, path] : {std::pair{&holdPayee, PayeePath}, std::pair{&holdPayer, PayerPath}}) {
    set->SetFileName(path);
    set->SetFileShareMode(smShareDenyWrite);
    set->OpenRecSet();
    ASSERT_TRUE(set->Active() && !set->BrowseOnly());
  }
  Open(PayeePath);
  EXPECT_TRUE(FileIsOpen);
  EXPECT_TRUE(Module.RSPayee->BrowseOnly());
  EXPECT_TRUE(Module.RSPayer->BrowseOnly());
  // Only the payee set says so.
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_TRUE(MsgBoxScript::Log()[0].text.startsWith(PayeePath + " is already in use!"));
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), "Baker");
  PayeeRec.SetString("PayeeName", "Changed");
  PayerRec.SetString("PayerName", "Changed");
  Module.RSPayee->CloseRecSet();
  EXPECT_EQ(ReadAll(PayeePath), payees);
  EXPECT_EQ(ReadAll(PayerPath), payer);
  holdPayee.CloseRecSet();
  holdPayer.CloseRecSet();
}

TEST_F(DataModuleTest, DamagedFilesOpenWithWhatTheyHold) {
  // An empty payee file gets its blank first payee back.
  WriteAll(PayerPath, PayerBytes("Acme"));
  WriteAll(PayeePath, QByteArray());
  PayeeRec.SetString("PayeeName", "left over");
  Open(PayeePath);
  EXPECT_TRUE(FileIsOpen);
  EXPECT_EQ(PayeeRec, TPayeeRecord());
  EXPECT_EQ(ReadAll(PayeePath), QByteArray(1536, '\0'));
  Module.RSPayee->CloseRecSet();
}

// A payee file that ends in a record cut short is damaged: it is reported with the file and the
// byte count, and opened browse-only, so nothing (a new payee, a blank record over a 1-byte file)
// is written over what may still be mended.
TEST_F(DataModuleTest, APayeeFileEndingInAPartRecordOpensBrowseOnlyAfterSayingSo) {
  WriteAll(PayerPath, PayerBytes("Acme"));
  const struct {
    QByteArray bytes;
    int tail;
    int records;
  } cases[] = {{"x", 1, 0}, {PayeeBytes("Baker") + PayeeBytes("Cole").left(700), 700, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tail);
    WriteAll(PayeePath, c.bytes);
    MsgBoxScript::Clear();
    Open(PayeePath);
    ASSERT_TRUE(FileIsOpen);
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::LastText(),
              QStringLiteral("The file %1 is damaged: its last %2 bytes are not a whole record.\n\n"
                             "The file has been opened in browse only mode. You will not be able "
                             "to record any changes.")
                  .arg(PayeePath)
                  .arg(c.tail));
    EXPECT_EQ(MsgBoxScript::Log().first().flags, mbError);
    EXPECT_TRUE(Module.RSPayee->BrowseOnly());
    EXPECT_EQ(Module.RSPayee->LastRecord(), c.records);
    PayeeRec.SetString("PayeeName", "Changed");
    Module.RSPayee->NewRec();
    Module.RSPayee->PostRec();
    Module.RSPayee->CloseRecSet();
    EXPECT_EQ(ReadAll(PayeePath), c.bytes);
  }
}

// A file the module creates itself (a new pair, a missing payer file agreed to) is held like one
// it opened: a second opener gets browse-only.
TEST_F(DataModuleTest, FilesTheModuleCreatesAreLockedAgainstASecondOpener) {
  const auto probe = [](const QString& file) {
    QProcess p;
    p.start(SiblingProgram("storage_lock_probe"), {"probe", file});
    p.waitForFinished(10000);
    return QString::fromLatin1(p.readAllStandardOutput().trimmed());
  };
  Open(PayeePath);  // neither file exists
  ASSERT_TRUE(FileIsOpen);
  EXPECT_EQ(probe(PayeePath), "browse-only");
  EXPECT_EQ(probe(PayerPath), "browse-only");
  Module.RSPayee->CloseRecSet();
  EXPECT_EQ(probe(PayeePath), "read-write");

  QFile::remove(PayerPath);
  MsgBoxScript::SetNextAnswer(mrOk);
  Open(PayeePath);
  ASSERT_TRUE(FileIsOpen);
  EXPECT_EQ(probe(PayerPath), "browse-only");
}

TEST_F(DataModuleTest, ATruncatedPayerRecordKeepsItsBytesAndIsMadeWhole) {
  const QByteArray cut = PayerBytes("Acme Widgets").left(100);
  WriteAll(PayerPath, cut);
  PayerRec.SetString("PayerName", "Other payer");
  Open(PayeePath);
  EXPECT_TRUE(FileIsOpen);
  EXPECT_EQ(PayerRec.GetString("PayerName"), "Acme Widgets");
  EXPECT_EQ(PayerRec.GetString("SignerName"), "");
  Module.RSPayee->CloseRecSet();
  EXPECT_EQ(ReadAll(PayerPath), cut + QByteArray(448 - 100, '\0'));
}

TEST(RecentFiles, AddRecentFilePutsThePathFirstOnce) {
  auto list = [](std::initializer_list<const char*> entries) {
    QStringList l;
    for (const char* e : entries) l << QString::fromLatin1(e);
    while (l.size() < RecentFileCount) l << QString();
    return l;
  };
  struct Case {
    const char* name;
    QStringList before;
    const char* path;
    QStringList after;
  };
  const Case cases[] = {
      {"empty list", QStringList(), "/a", list({"/a"})},
      {"already first", list({"/a", "/b"}), "/a", list({"/a", "/b"})},
      {"moves up", list({"/a", "/b", "/c"}), "/c", list({"/c", "/a", "/b"})},
      {"letter case counts", list({"/A"}), "/a", list({"/a", "/A"})},
      {"oldest drops out", list({"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9", "/10"}),
       "/11", list({"/11", "/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9"})},
      {"last entry", list({"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9", "/10"}), "/10",
       list({"/10", "/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9"})},
      {"damaged list with duplicates",
       list({"/x", "/a", "/b", "/a", "/c", "/d", "/e", "/f", "/g", "/a"}), "/a",
       list({"/a", "/x", "/b", "/c", "/d", "/e", "/f", "/g"})},
      {"overlong list", QStringList(12, "/z"), "/a",
       list({"/a", "/z", "/z", "/z", "/z", "/z", "/z", "/z", "/z", "/z"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QStringList l = c.before;
    AddRecentFile(l, c.path);
    EXPECT_EQ(l, c.after);
  }
  // Ten files closed in turn fill all ten slots; the eleventh pushes the first out.
  QStringList l = list({});
  for (int i = 1; i <= 11; ++i) AddRecentFile(l, QString("/f%1").arg(i));
  EXPECT_EQ(l.first(), "/f11");
  EXPECT_EQ(l.last(), "/f2");
  EXPECT_FALSE(l.contains("/f1"));
}

TEST(DataModuleHelpers, ChangeFileExtReplacesOnlyTheFileNameExtension) {
  EXPECT_EQ(ChangeFileExt("/data/Acme.PE25", ".PR25"), "/data/Acme.PR25");
  EXPECT_EQ(ChangeFileExt("/data/Acme.v2.PE25", ".PR25"), "/data/Acme.v2.PR25");
  EXPECT_EQ(ChangeFileExt("/da.ta/Acme", ".PR25"), "/da.ta/Acme.PR25");
}

TEST(Password, ScramblingUsesSixtyTwoDistinctPrintableSubstitutes) {
  const QString plain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  const QString scrambled = ScramblePassword(plain);
  ASSERT_EQ(scrambled.size(), 62);
  EXPECT_EQ(QSet<QChar>(scrambled.begin(), scrambled.end()).size(), 62);
  for (QChar c : scrambled) EXPECT_TRUE(c.unicode() > 32 && c.unicode() < 127) << int(c.unicode());
  EXPECT_NE(scrambled, plain);
  EXPECT_EQ(UnscramblePassword(scrambled), plain);
  for (int i = 0; i < plain.size(); ++i)
    EXPECT_EQ(ScramblePassword(plain.mid(i, 1)), scrambled.mid(i, 1));
  // Characters outside the table are dropped, both ways.
  EXPECT_EQ(ScramblePassword("a b.c!"), ScramblePassword("abc"));
  EXPECT_EQ(UnscramblePassword(ScramblePassword("Ab9") + " "), "Ab9");
  EXPECT_EQ(ScramblePassword(""), "");
}

TEST(Password, PromptComparesTheTypedTextAfterItsCaseConversion) {
  struct Case {
    TPasswordCase passwordCase;
    QString expected;
    QString typed;
    bool result;
  };
  const Case cases[] = {
      {pcNormal, "Secret9", "Secret9", true},     {pcNormal, "Secret9", "SECRET9", false},
      {pcUpperCase, "SECRET9", "secret9", true},  {pcLowerCase, "secret9", "SeCrEt9", true},
      {pcUpperCase, "Secret9", "Secret9", false},
  };
  for (const Case& c : cases) {
    TPasswordDialog dialog;
    dialog.SetCaption("Open file");
    dialog.SetPasswordCase(c.passwordCase);
    dialog.SetPassword(c.expected);
    QString caption, label;
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    WhenModal([&](QWidget* w) {
      caption = w->windowTitle();
      label = Child<QLabel>(w, "Label1")->text();
      auto* edit = Child<QLineEdit>(w, "Password");
      echo = edit->echoMode();
      QTest::keyClicks(edit, c.typed);
      QTest::mouseClick(Child<QPushButton>(w, "BtnOk"), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.Execute(), c.result) << c.typed.toStdString();
    EXPECT_FALSE(dialog.Cancel());
    EXPECT_EQ(caption, "Open file");
    EXPECT_EQ(label, "");  // no prompt set
    EXPECT_EQ(echo, QLineEdit::Password);
    EXPECT_TRUE(dialog.PasswordDlg.isNull());  // freed after use
  }
  TPasswordDialog dialog;
  dialog.SetPassword("x");
  AnswerPasswordPrompt(QString());
  EXPECT_FALSE(dialog.Execute());
  EXPECT_TRUE(dialog.Cancel());
}
}  // namespace
