// The one writer every file goes through: what it leaves when a step fails, which targets it
// refuses, the permissions of what it makes, the bounded reads, and the clean-up of what killed
// copies left behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>

#include "FailingCalls.h"
#include "FaultSupport.h"
#include "TestSupport.h"
#include "platform/Exceptions.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"
#include "platform/Settings.h"

namespace {
const QByteArray kOld = "the previous file, which a failed write must leave as it was\n";
const QByteArray kNew(100000, 'n');

QString WriteError(const std::function<void()>& write) {
  try {
    write();
  } catch (const EInOutError& e) {
    return e.Message();
  }
  return {};
}

mode_t Mode(const QString& path) {
  struct stat st {};
  ::lstat(QFile::encodeName(path).constData(), &st);
  return st.st_mode & 07777;
}

// A second open file description holding a write lock, as another copy of the program holds a
// payer file it has open.
class THeldLock {
 public:
  explicit THeldLock(const QString& path)
      : FFd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC)) {
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    if (FFd >= 0) ::fcntl(FFd, F_OFD_SETLK, &fl);
  }
  ~THeldLock() {
    if (FFd >= 0) ::close(FFd);
  }

 private:
  int FFd;
};

class TUmask {
 public:
  explicit TUmask(mode_t mask) : FOld(::umask(mask)) {}
  ~TUmask() { ::umask(FOld); }

 private:
  mode_t FOld;
};
}  // namespace

// Every step of the commit is checked: a flush to the disk, a close or a rename that fails
// leaves the old file byte for byte, no temporary behind, and says which file and why.
TEST(SafeFile, AFailedSyncCloseOrRenameKeepsTheOldFile) {
  const struct {
    TFailingCall call;
    int err;
    const char* name;
  } cases[] = {{TFailingCall::Sync, EIO, "sync"},
               {TFailingCall::Close, EIO, "close"},
               {TFailingCall::Rename, EXDEV, "rename"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TTempFolder dir;
    const QString target = dir.Path("out.pdf");
    WriteAll(target, kOld);
    // Any call on a file of the folder but the target (which the writer looks at first).
    FailNextCall(c.call, dir.Path() + "/", c.err, target);
    const QString error = WriteError([&] { WriteFileSafely(target, kNew); });
    DisarmFailingCalls();
    EXPECT_TRUE(FailingCallUsed()) << "the writer never made that call";
    EXPECT_EQ(error, QStringLiteral("Cannot write \"%1\": %2")
                         .arg(target, QString::fromLocal8Bit(std::strerror(c.err))));
    EXPECT_EQ(ReadAll(target), kOld);
    EXPECT_EQ(FolderEntries(dir.Path()), QStringList{"out.pdf"});
  }
  // Without a failure the same write goes through.
  TTempFolder dir;
  WriteFileSafely(dir.Path("out.pdf"), kNew);
  EXPECT_EQ(ReadAll(dir.Path("out.pdf")), kNew);
}

// Files that appear together: a rename failing half way takes back the files the group made
// and leaves the files it would have replaced.
TEST(SafeFile, AGroupThatCannotFinishTakesBackWhatItMade) {
  TTempFolder dir;
  WriteAll(dir.Path("b.png"), kOld);
  TSafeFileGroup group;
  for (const char* name : {"a.png", "b.png"})
    group.Add(dir.Path(QLatin1String(name)), [](QIODevice& d) { d.write(kNew); });
  EXPECT_EQ(FolderEntries(dir.Path()).filter(".tmp").size(), 2) << "both staged, hidden";
  // a.png is renamed first; the rename of b.png fails.
  FailNextCall(TFailingCall::Rename, dir.Path(".b.png"), EIO);
  EXPECT_THROW(group.Commit(), EInOutError);
  DisarmFailingCalls();
  EXPECT_TRUE(FailingCallUsed());
  EXPECT_EQ(FolderEntries(dir.Path()), QStringList{"b.png"});
  EXPECT_EQ(ReadAll(dir.Path("b.png")), kOld);
}

// Where no temporary can be made, nothing is written: the target is never written in place.
TEST(SafeFile, WithoutRoomForATemporaryTheTargetIsNotWrittenInPlace) {
  TFaultFolder folder;
  const QString target = folder.Path("out.pdf");
  WriteAll(target, kOld);
  ::chmod(QFile::encodeName(target).constData(), 0600);
  if (!folder.MakeNoNewFiles()) GTEST_SKIP() << "no way to stop new files here";
  const QStringList before = FolderEntries(folder.Path());
  const QString error = WriteError([&] { WriteFileSafely(target, kNew); });
  SCOPED_TRACE(folder.Kind().toStdString());
  EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot write \"%1\": ").arg(target)))
      << error.toStdString();
  EXPECT_EQ(ReadAll(target), kOld);
  EXPECT_EQ(FolderEntries(folder.Path()), before);
}

// What is never written over, and why it says so; the old file stays.
TEST(SafeFile, TargetsThatAreNotTheCommandsToWriteAreRefused) {
  TTempFolder dir;
  WriteAll(dir.Path("input.snp"), kOld);
  QDir().mkdir(dir.Path("folder"));
  ::mkfifo(QFile::encodeName(dir.Path("pipe")).constData(), 0600);
  ::link(QFile::encodeName(dir.Path("input.snp")).constData(),
         QFile::encodeName(dir.Path("other name.snp")).constData());
  WriteAll(dir.Path("held.pdf"), kOld);
  const THeldLock held(dir.Path("held.pdf"));
  // A link planted under a name the program makes up, in a folder anyone may write to.
  QDir().mkdir(dir.Path("shared"));
  ::chmod(QFile::encodeName(dir.Path("shared")).constData(), 01777);
  WriteAll(dir.Path("secret"), kOld);
  ::symlink(QFile::encodeName(dir.Path("secret")).constData(),
            QFile::encodeName(dir.Path("shared/1099-NEC Jane.pdf")).constData());
  TWriteOptions reads;
  reads.Inputs = QStringList{dir.Path("input.snp")};
  TWriteOptions madeUp;
  madeUp.ProgramNamed = true;
  const struct {
    QString target;
    TWriteOptions options;
    const char* reason;
  } cases[] = {
      {dir.Path("folder"), {}, "it is not a regular file"},
      {dir.Path("pipe"), {}, "it is not a regular file"},
      {dir.Path("Acme.PE25"), {}, "it is a payer or payee file"},
      {dir.Path("acme.pr25"), {}, "it is a payer or payee file"},
      {dir.Path("other name.snp"), reads, "it is a file this command reads"},
      {dir.Path("held.pdf"), {}, "it is in use"},
      {dir.Path("shared/1099-NEC Jane.pdf"), madeUp,
       "it is a symbolic link in a folder other users can write to"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target.toStdString());
    const QString error = WriteError([&] { WriteFileSafely(c.target, kNew, c.options); });
    EXPECT_TRUE(error.startsWith(
        QStringLiteral("Cannot write \"%1\": %2").arg(c.target, QLatin1String(c.reason))))
        << error.toStdString();
  }
  EXPECT_EQ(ReadAll(dir.Path("input.snp")), kOld);
  EXPECT_EQ(ReadAll(dir.Path("held.pdf")), kOld);
  EXPECT_EQ(ReadAll(dir.Path("secret")), kOld);
  EXPECT_FALSE(QFileInfo::exists(dir.Path("Acme.PE25")));
  // A payer file is written where that is the command's job; a link the user named is followed
  // and stays a link.
  TWriteOptions record;
  record.RecordFile = true;
  WriteFileSafely(dir.Path("Acme.PE25"), kNew, record);
  EXPECT_EQ(ReadAll(dir.Path("Acme.PE25")), kNew);
  ::symlink(QFile::encodeName(dir.Path("secret")).constData(),
            QFile::encodeName(dir.Path("shared/mine.pdf")).constData());
  WriteFileSafely(dir.Path("shared/mine.pdf"), kNew);
  EXPECT_TRUE(QFileInfo(dir.Path("shared/mine.pdf")).isSymLink());
  EXPECT_EQ(ReadAll(dir.Path("secret")), kNew);
}

// What the writer makes is the user's alone; a stricter umask still applies. The folders the
// program makes are too.
TEST(SafeFile, NewFilesAndFoldersAreTheUsersAlone) {
  TTempFolder dir;
  for (const auto& [mask, mode] :
       {std::pair{mode_t(022), mode_t(0600)}, std::pair{mode_t(0), mode_t(0600)},
        std::pair{mode_t(0277), mode_t(0400)}}) {
    const TUmask umask(mask);
    const QString file = dir.Path(QStringLiteral("f%1.csv").arg(mask));
    WriteAll(file, kOld);
    ::chmod(QFile::encodeName(file).constData(), 0644);  // a file made by another program
    WriteFileSafely(file, kNew);
    EXPECT_EQ(Mode(file), mode) << "umask " << std::oct << mask;
  }
  const TUmask umask(022);
  ASSERT_TRUE(MakePrivateFolder(dir.Path("Papyra/2025/Data")));
  for (const char* f : {"Papyra", "Papyra/2025", "Papyra/2025/Data"})
    EXPECT_EQ(Mode(dir.Path(QLatin1String(f))), mode_t(0700)) << f;
}

// Only regular files are read, and only up to a limit: a pipe never makes a read wait, and a
// device or an endless file is refused before memory runs out.
TEST(SafeFile, ReadsAreOfRegularFilesAndBounded) {
  TTempFolder dir;
  ::mkfifo(QFile::encodeName(dir.Path("pipe")).constData(), 0600);
  WriteAll(dir.Path("big.csv"), QByteArray(2000, 'x'));
  const struct {
    QString path;
    QString error;
  } cases[] = {
      {dir.Path("pipe"), dir.Path("pipe") + " is not a regular file"},
      {"/dev/zero", "/dev/zero is not a regular file"},
      {dir.Path(), dir.Path() + " is not a regular file"},
      {dir.Path("missing.csv"), "File not found: " + dir.Path("missing.csv")},
      {dir.Path("big.csv"), dir.Path("big.csv") + " is too large"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    const QString error = WriteError([&] { ReadRegularFile(c.path, 1000); });
    EXPECT_TRUE(error.startsWith(c.error)) << error.toStdString();
  }
  EXPECT_EQ(ReadRegularFile(dir.Path("big.csv"), 2000).size(), 2000);
}

// What an interrupted write left is removed the next time the folder is written to, unless a
// running copy still holds it; what is not the program's is left alone.
TEST(SafeFile, StaleTemporariesGoButHeldAndForeignFilesStay) {
  TTempFolder dir;
  const QStringList names = {".out.pdf.papyra-Ab3xYz.tmp", ".x.PE25.papyra-000000.tmp",
                             ".held.papyra-Held00.tmp", "out.pdf.Ab3xYz", "notes.tmp"};
  for (const QString& n : names) WriteAll(dir.Path(n), kOld);
  const THeldLock held(dir.Path(".held.papyra-Held00.tmp"));
  WriteFileSafely(dir.Path("new.pdf"), kNew);
  EXPECT_EQ(FolderEntries(dir.Path()),
            QStringList({".held.papyra-Held00.tmp", "new.pdf", "notes.tmp", "out.pdf.Ab3xYz"}));
}

// The runtime folder of a copy that was killed (its print snapshot holds every recipient) is
// gone after the next start's sweep; a running copy's is kept.
TEST(SafeFile, TheSweepRemovesTheRuntimeFoldersOfKilledCopiesOnly) {
  TTempFolder runtime;
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", runtime.Path().toLocal8Bit());
  RemoveRuntimeDir();
  const QString own = RuntimeDir();
  WriteAll(own + "/Papyra.RPT", kOld);
  QDir().mkpath(runtime.Path("papyra-Kill3d"));
  WriteAll(runtime.Path("papyra-Kill3d/Papyra.RPT"), kOld);
  QDir().mkpath(runtime.Path("papyra-other-program"));
  SweepStaleFiles();
  EXPECT_FALSE(QFileInfo::exists(runtime.Path("papyra-Kill3d")));
  EXPECT_TRUE(QFileInfo::exists(own + "/Papyra.RPT"));
  EXPECT_TRUE(QFileInfo::exists(runtime.Path("papyra-other-program")));
  RemoveRuntimeDir();
  qputenv("XDG_RUNTIME_DIR", saved);
}

// The settings store writes its file through the writer, in a form QSettings reads back value
// for value, and keeps what another copy wrote in between.
// Two writes alike in size within one tick of the file system's clock (a few milliseconds):
// a store opened after the second sees its value, not the first one's.
TEST(Settings, ANewStoreReadsTheLastValueWrittenWithinTheSameTick) {
  const QString key = "Software\\PapyraTest\\2025\\Quick";
  auto write = [&](int value) {
    TRegistry writer;
    ASSERT_TRUE(writer.OpenKey(key, true));
    writer.WriteInteger("n", value);
    writer.CloseKey();
  };
  auto read = [&] {
    TRegistry reader;
    return reader.OpenKey(key, false) ? reader.ReadInteger("n", -1) : -2;
  };
  const QByteArray file = QFile::encodeName(TRegistry::StoreFileName());
  write(1);
  ASSERT_EQ(read(), 1);
  struct stat first {};
  ASSERT_EQ(::stat(file.constData(), &first), 0);
  write(2);
  const timespec times[2] = {first.st_atim, first.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.constData(), times, 0), 0);
  EXPECT_EQ(read(), 2);
}

TEST(Settings, TheFileReadsBackThroughQSettingsAndKeepsOtherCopiesChanges) {
  const QStringList values = {"a, b; c = d",
                              "  spaced  ",
                              "quote \" and \\ backslash",
                              "line\nbreak\ttab",
                              "@at start",
                              "caf\u00e9 \u20ac 1a",
                              "",
                              "C:\\Users\\x"};
  TRegistry first;
  ASSERT_TRUE(first.OpenKey("Software\\PapyraTest\\2025\\Round Trip", true));
  for (int i = 0; i < values.size(); ++i) first.WriteString(QString::number(i), values[i]);
  {
    TRegistry other;
    other.OpenKey("Software\\PapyraTest\\2025\\Other", true);
    other.WriteInteger("n", 5);
    other.CloseKey();
  }
  first.CloseKey();
  EXPECT_EQ(Mode(TRegistry::StoreFileName()), mode_t(0600));
  const QSettings raw(TRegistry::StoreFileName(), QSettings::IniFormat);
  for (int i = 0; i < values.size(); ++i)
    EXPECT_EQ(raw.value("Software/PapyraTest/2025/Round Trip/" + QString::number(i)).toString(),
              "s:" + values[i])
        << i;
  EXPECT_EQ(raw.value("Software/PapyraTest/2025/Other/n").toString(), "i:5");
}
