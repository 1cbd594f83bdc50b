#include <gtest/gtest.h>

#include <unistd.h>
#include <QFile>
#include <QProcess>
#include <functional>

#include "FaultSupport.h"
#include "StorageTestSupport.h"
#include "TestSupport.h"
#include "platform/Exceptions.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "storage/RecordSet.h"

namespace {
constexpr int kSize = 40;

class RecordSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MsgBoxScript::Clear();
    Path = Temp.Path("records.dat");
    Set.SetRecSize(kSize);
    Set.SetFileName(Path);
  }
  // Opens a file of n numbered records, with every event recorded from the open on.
  void OpenNumbered(int n) { OpenFile(NumberedRecords(n, kSize)); }
  void OpenFile(const QByteArray& bytes) {
    WriteAll(Path, bytes);
    Events.Attach(Set);
    Set.OpenRecSet();
    ASSERT_TRUE(Set.Active());
    Events.Log.clear();
  }
  QList<int> FileIds() const {
    QList<int> ids;
    const QByteArray bytes = ReadAll(Path);
    for (qsizetype at = 0; at + kSize <= bytes.size(); at += kSize) ids.append(bytes[at]);
    return ids;
  }

  TTempFolder Temp;
  QString Path;
  TRecordSet Set;
  TEventLog Events;
};

TEST_F(RecordSetTest, ConstructorValuesAndMessageTexts) {
  TRecordSet fresh;
  EXPECT_EQ(fresh.RecSize(), 32);
  EXPECT_EQ(fresh.FileOpenMode(), omOpenReadWrite);
  EXPECT_EQ(fresh.FileShareMode(), smShareDenyNone);
  EXPECT_EQ(fresh.MaxRec(), 10000);
  EXPECT_TRUE(fresh.AutoCreate());
  EXPECT_TRUE(fresh.ShowOpenMode());
  EXPECT_FALSE(fresh.Active());
  EXPECT_EQ(fresh.RecordCount(), 0);
  EXPECT_EQ(fresh.OpenErrText(), "Unable to open database file");
  EXPECT_EQ(fresh.NewErrText(),
            "Unable to create new record.~You have reached the maximum number of records "
            "that~can be created with this version of the program.");
  EXPECT_EQ(fresh.DelErrText(),
            "Unable to delete current record~you cannot delete the first record when~its the "
            "only record in the database.");
  EXPECT_EQ(fresh.DelMsgText(), "Confirm request~Delete current record from database?");
  for (int i = 0; i < 32; ++i) EXPECT_EQ(fresh.RecordBuffer()[i], 0);
}

TEST_F(RecordSetTest, MissingFileIsCreatedWithOneZeroRecord) {
  Events.Attach(Set);
  Set.OpenRecSet();
  ASSERT_TRUE(Set.Active());
  EXPECT_EQ(ReadAll(Path), QByteArray(kSize, '\0'));
  EXPECT_EQ(Set.RecordCount(), 1);
  EXPECT_EQ(Set.LastRecord(), 1);
  EXPECT_EQ(Set.CurrentRecord(), 1);
  EXPECT_EQ(Events.Log, QStringList({"BeforeOpen", "CreateFile", "AfterOpen"}));
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
}

TEST_F(RecordSetTest, EmptyFileOpensWithNoRecordAndNewRecWritesRecordOne) {
  Set.RecordBuffer()[0] = 77;
  OpenNumbered(0);
  EXPECT_EQ(Set.LastRecord(), 0);
  EXPECT_EQ(Set.CurrentRecord(), 1);
  Set.GetRec();
  EXPECT_EQ(RecordId(Set), 77);  // nothing was read
  Set.PostRec();                 // nothing to post to
  EXPECT_EQ(ReadAll(Path).size(), 0);
  Set.NewRec();
  EXPECT_EQ(ReadAll(Path), QByteArray(kSize, '\0'));
  EXPECT_EQ(Set.LastRecord(), 1);
  EXPECT_EQ(Set.CurrentRecord(), 1);
}

TEST_F(RecordSetTest, NavigationWrapsAround) {
  struct Case {
    const char* name;
    int from;
    std::function<void(TRecordSet&)> move;
    int expected;
  };
  const Case cases[] = {
      {"next", 2, [](TRecordSet& s) { s.NextRec(); }, 3},
      {"next past the last wraps to 1", 4, [](TRecordSet& s) { s.NextRec(); }, 1},
      {"prior", 3, [](TRecordSet& s) { s.PriorRec(); }, 2},
      {"prior before 1 wraps to the last", 1, [](TRecordSet& s) { s.PriorRec(); }, 4},
      {"first", 3, [](TRecordSet& s) { s.FirstRec(); }, 1},
      {"last", 2, [](TRecordSet& s) { s.LastRec(); }, 4},
  };
  OpenNumbered(4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Set.SetCurrentRecord(c.from);
    Events.Log.clear();
    c.move(Set);
    EXPECT_EQ(Set.CurrentRecord(), c.expected);
    EXPECT_EQ(RecordId(Set), c.expected);
    EXPECT_EQ(Events.Log, QStringList({"AfterRead"}));
  }
  Set.SetCurrentRecord(1);
  EXPECT_TRUE(Set.Bof());
  EXPECT_FALSE(Set.Eof());
  Set.SetCurrentRecord(4);
  EXPECT_TRUE(Set.Eof());
}

TEST_F(RecordSetTest, CurrentRecordAcceptsOnlyExistingRecords) {
  OpenNumbered(3);
  Set.SetCurrentRecord(2);
  for (int bad : {0, -1, 4, 1000}) {
    Set.SetCurrentRecord(bad);
    EXPECT_EQ(Set.CurrentRecord(), 2) << bad;
  }
  Set.SetCurrentRecord(3);
  EXPECT_EQ(Set.CurrentRecord(), 3);
  EXPECT_TRUE(Events.Log.isEmpty());  // positioning reads nothing
}

TEST_F(RecordSetTest, RootRecScanAndPopRecReturnToTheSavedRecord) {
  OpenNumbered(5);
  Set.SetCurrentRecord(3);
  Set.RootRec();
  EXPECT_EQ(Set.CurrentRecord(), 0);
  EXPECT_EQ(Set.PriorRecord(), 3);
  QList<int> seen;
  for (int i = 0; i < Set.LastRecord(); ++i) {
    Set.NextRec();
    seen.append(RecordId(Set));
  }
  EXPECT_EQ(seen, QList<int>({1, 2, 3, 4, 5}));
  Set.PopRec();
  EXPECT_EQ(Set.CurrentRecord(), 3);
  EXPECT_EQ(RecordId(Set), 3);
  EXPECT_EQ(Events.Count("AfterRead"), 6);
  // One slot, not a stack: a second push overwrites the first.
  Set.PushRec();
  Set.SetCurrentRecord(5);
  Set.PushRec();
  Set.SetCurrentRecord(1);
  Set.PopRec();
  EXPECT_EQ(Set.CurrentRecord(), 5);
}

TEST_F(RecordSetTest, GetRecAndPostRecBeforeRecordOneDoNothing) {
  OpenNumbered(2);
  Set.GetRec();
  Set.RootRec();
  Events.Log.clear();
  Set.RecordBuffer()[0] = 99;
  Set.PostRec();
  Set.GetRec();
  EXPECT_TRUE(Events.Log.isEmpty());
  EXPECT_EQ(RecordId(Set), 99);
  EXPECT_EQ(ReadAll(Path), NumberedRecords(2, kSize));
  // Deleting has no record to delete either: nothing is asked.
  Set.DeleteRec();
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
  EXPECT_EQ(FileIds(), QList<int>({1, 2}));
}

TEST_F(RecordSetTest, RecSizeBelow32OrUnchangedIsIgnored) {
  TRecordSet set;
  set.RecordBuffer()[0] = 5;
  for (int size : {31, 0, -4, 32}) {
    set.SetRecSize(size);
    EXPECT_EQ(set.RecSize(), 32) << size;
    EXPECT_EQ(set.RecordBuffer()[0], 5) << size;
  }
  set.SetRecSize(100);
  EXPECT_EQ(set.RecSize(), 100);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(set.RecordBuffer()[i], 0);
  // An open file keeps the size its records were counted with.
  OpenNumbered(2);
  Set.SetRecSize(80);
  EXPECT_EQ(Set.RecSize(), kSize);
}

TEST_F(RecordSetTest, PostWritesTheBufferAtTheCursor) {
  OpenNumbered(3);
  Set.SetCurrentRecord(2);
  Set.GetRec();
  std::fill(Set.RecordBuffer(), Set.RecordBuffer() + kSize, uint8_t{9});
  Events.Log.clear();
  Set.PostRec();
  EXPECT_EQ(FileIds(), QList<int>({1, 9, 3}));
  EXPECT_EQ(ReadAll(Path).mid(kSize, kSize), QByteArray(kSize, 9));
  EXPECT_EQ(Events.Log, QStringList({"BeforePost", "AfterPost"}));
}

TEST_F(RecordSetTest, NewRecAppendsAZeroRecordAndReadsIt) {
  OpenNumbered(2);
  Set.NewRec();
  EXPECT_EQ(Events.Log, QStringList({"BeforeNewRec", "AfterRead", "AfterNewRec"}));
  EXPECT_EQ(Set.LastRecord(), 3);
  EXPECT_EQ(Set.CurrentRecord(), 3);
  EXPECT_EQ(ReadAll(Path), NumberedRecords(2, kSize) + QByteArray(kSize, '\0'));
  for (int i = 0; i < kSize; ++i) ASSERT_EQ(Set.RecordBuffer()[i], 0);
}

TEST_F(RecordSetTest, PartialTrailingRecordIsOverwrittenByNewRec) {
  WriteAll(Path, NumberedRecords(3, kSize) + QByteArray(kSize / 2, 'x'));
  Set.OpenRecSet();
  ASSERT_TRUE(Set.Active());
  EXPECT_EQ(Set.RecordCount(), 3);
  EXPECT_EQ(Set.LastRecord(), 3);
  Set.NewRec();
  EXPECT_EQ(ReadAll(Path), NumberedRecords(3, kSize) + QByteArray(kSize, '\0'));
}

TEST_F(RecordSetTest, NewRecStopsAtMaxRec) {
  for (int maxRec : {3, 10000}) {
    SCOPED_TRACE(maxRec);
    Set.CloseRecSet();
    MsgBoxScript::Clear();
    Set.SetMaxRec(maxRec);
    OpenFile(QByteArray(maxRec * kSize, '\1'));
    Set.NewRec();
    EXPECT_EQ(Set.LastRecord(), maxRec);
    EXPECT_EQ(ReadAll(Path).size(), maxRec * kSize);
    EXPECT_TRUE(Events.Log.isEmpty());
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log()[0].text,
              "Unable to create new record.\nYou have reached the maximum number of records "
              "that\ncan be created with this version of the program.");
    EXPECT_EQ(MsgBoxScript::Log()[0].caption, AppTitle());
    EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbError);
  }
}

TEST_F(RecordSetTest, DeleteMovesLaterRecordsDownAndPlacesTheCursor) {
  struct Case {
    int deleted;
    QList<int> remaining;
    int cursor;
    int shown;
  };
  const Case cases[] = {
      {1, {2, 3, 4, 5}, 1, 2},
      {3, {1, 2, 4, 5}, 3, 4},
      {4, {1, 2, 3, 5}, 4, 5},
      {5, {1, 2, 3, 4}, 1, 1},  // the last record: the cursor goes to record 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.deleted);
    Set.CloseRecSet();
    MsgBoxScript::Clear();
    OpenNumbered(5);
    int readsUnderHourglass = 0;
    Set.OnAfterRead = [&](TRecordSet*) {
      Events.Log.append("AfterRead");
      if (HourglassShown()) ++readsUnderHourglass;
    };
    Set.SetCurrentRecord(c.deleted);
    MsgBoxScript::SetNextAnswer(mrOk);
    Set.DeleteRec();
    EXPECT_EQ(FileIds(), c.remaining);
    EXPECT_EQ(ReadAll(Path).size(), 4 * kSize);
    EXPECT_EQ(Set.LastRecord(), 4);
    EXPECT_EQ(Set.CurrentRecord(), c.cursor);
    EXPECT_EQ(RecordId(Set), c.shown);
    // The moved records go in blocks without passing through the record buffer: only the record
    // that is current afterwards is read.
    EXPECT_EQ(Events.Log, QStringList({"BeforeDelete", "AfterRead", "AfterDelete"}));
    EXPECT_EQ(readsUnderHourglass, 1);
    EXPECT_FALSE(HourglassShown());
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log()[0].text, "Confirm request\nDelete current record from database?");
    EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbOkCancelDefCancel);
    EXPECT_EQ(MsgBoxScript::Log()[0].caption, AppTitle());
  }
}

// Large records make a file of several move blocks (about a megabyte each), so deleting near a
// block's edge shows whether any record is lost, doubled or moved twice.
TEST_F(RecordSetTest, DeleteMovesRecordsAcrossBlockEdges) {
  constexpr int kBig = 40000, kCount = 60;
  QByteArray original;
  for (int i = 1; i <= kCount; ++i) {
    QByteArray record(kBig, static_cast<char>(i));
    record[kBig - 1] = static_cast<char>(200 - i);  // both ends of every record are checked
    original.append(record);
  }
  for (const int deleted : {1, 2, 26, 27, 53, 59, 60}) {
    SCOPED_TRACE(deleted);
    Set.CloseRecSet();
    Set.SetRecSize(kBig);
    OpenFile(original);
    Set.SetCurrentRecord(deleted);
    MsgBoxScript::SetNextAnswer(mrOk);
    Set.DeleteRec();
    QByteArray expected = original;
    expected.remove(qsizetype(deleted - 1) * kBig, kBig);
    EXPECT_TRUE(ReadAll(Path) == expected);
    EXPECT_EQ(Set.LastRecord(), kCount - 1);
    EXPECT_EQ(Set.RecordBuffer()[0], deleted == kCount ? 1 : deleted + 1);
  }
}

TEST_F(RecordSetTest, DeleteNamesTheFirstRecordItCannotMove) {
  OpenNumbered(5);
  // Another program cuts the file to three records and a bit behind the set's back.
  ASSERT_EQ(::truncate(QFile::encodeName(Path).constData(), 3 * kSize + 3), 0);
  MsgBoxScript::SetNextAnswer(mrOk);
  try {
    Set.DeleteRec();
    ADD_FAILURE() << "no error raised";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(),
              QString("Unable to read record 4 of %1: the file ends before this record").arg(Path));
  }
  EXPECT_FALSE(Events.Log.contains("AfterDelete"));
}

TEST_F(RecordSetTest, DeleteIsRefusedForTheOnlyRecordAndOnCancel) {
  OpenNumbered(1);
  Set.DeleteRec();
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::Log()[0].text,
            "Unable to delete current record\nyou cannot delete the first record when\nits the "
            "only record in the database.");
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbError);
  EXPECT_EQ(ReadAll(Path), NumberedRecords(1, kSize));
  EXPECT_TRUE(Events.Log.isEmpty());

  Set.CloseRecSet();
  MsgBoxScript::Clear();
  OpenNumbered(3);
  Set.SetCurrentRecord(2);
  MsgBoxScript::SetNextAnswer(mrCancel);
  Set.DeleteRec();
  EXPECT_EQ(FileIds(), QList<int>({1, 2, 3}));
  EXPECT_EQ(Set.CurrentRecord(), 2);
  EXPECT_TRUE(Events.Log.isEmpty());
}

TEST_F(RecordSetTest, CancelInABeforeEventVetoesTheOperation) {
  struct Case {
    const char* name;
    TRecordSetEvent TRecordSet::*event;
    std::function<void(TRecordSet&)> act;
    QList<int> idsWhenDone;
  };
  const auto post = [](TRecordSet& s) {
    s.RecordBuffer()[0] = 42;
    s.PostRec();
  };
  const auto remove = [](TRecordSet& s) {
    MsgBoxScript::SetNextAnswer(mrOk);
    s.DeleteRec();
  };
  const Case cases[] = {
      {"close", &TRecordSet::OnBeforeClose, [](TRecordSet& s) { s.CloseRecSet(); }, {1, 2, 3}},
      {"post", &TRecordSet::OnBeforePost, post, {1, 42, 3}},
      {"new record", &TRecordSet::OnBeforeNewRec, [](TRecordSet& s) { s.NewRec(); }, {1, 2, 3, 0}},
      {"delete", &TRecordSet::OnBeforeDelete, remove, {1, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Set.OnBeforeClose = nullptr;
    Set.CloseRecSet();
    OpenNumbered(3);
    Set.*c.event = [](TRecordSet* s) { s->Cancel(); };
    Set.SetCurrentRecord(2);
    c.act(Set);
    EXPECT_TRUE(Set.Active());
    EXPECT_EQ(FileIds(), QList<int>({1, 2, 3}));
    EXPECT_EQ(Set.CurrentRecord(), 2);
    EXPECT_EQ(Set.LastRecord(), 3);
    EXPECT_TRUE(Events.Log.filter("After").isEmpty());
    // The veto does not outlive its operation: done again without it, it happens.
    Set.*c.event = nullptr;
    c.act(Set);
    EXPECT_EQ(FileIds(), c.idsWhenDone);
  }
}

TEST_F(RecordSetTest, CancelInBeforeOpenLeavesTheSetClosedWithoutAMessage) {
  Set.OnBeforeOpen = [](TRecordSet* s) { s->Cancel(); };
  Set.OpenRecSet();
  EXPECT_FALSE(Set.Active());
  EXPECT_FALSE(QFile::exists(Path));
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
}

TEST_F(RecordSetTest, AStrayCancelOutsideABeforeEventVetoesNothing) {
  OpenNumbered(2);
  Set.OnAfterRead = [](TRecordSet* s) { s->Cancel(); };
  Set.NextRec();
  Set.RecordBuffer()[0] = 7;
  Set.PostRec();
  EXPECT_EQ(FileIds(), QList<int>({1, 7}));
  Set.Cancel();  // outside any event at all
  Set.RecordBuffer()[0] = 8;
  Set.PostRec();
  EXPECT_EQ(FileIds(), QList<int>({1, 8}));
}

TEST_F(RecordSetTest, EventOrderOverALifetime) {
  WriteAll(Path, NumberedRecords(2, kSize));
  Events.Attach(Set);
  Set.OpenRecSet();
  Set.GetRec();
  Set.PostRec();
  Set.NewRec();
  MsgBoxScript::SetNextAnswer(mrOk);
  Set.FirstRec();
  Set.DeleteRec();
  Set.CloseRecSet();
  EXPECT_EQ(Events.Log,
            QStringList({"BeforeOpen", "AfterOpen", "AfterRead", "BeforePost", "AfterPost",
                         "BeforeNewRec", "AfterRead", "AfterNewRec", "AfterRead", "BeforeDelete",
                         "AfterRead", "AfterDelete", "BeforeClose", "AfterClose"}));
}

TEST_F(RecordSetTest, NothingHappensWhileClosed) {
  Events.Attach(Set);
  Set.GetRec();
  Set.PostRec();
  Set.NewRec();
  Set.DeleteRec();
  Set.NextRec();
  Set.PriorRec();
  Set.FirstRec();
  Set.LastRec();
  Set.RootRec();
  Set.PopRec();
  Set.CloseRecSet();
  Set.SetCurrentRecord(1);
  EXPECT_TRUE(Events.Log.isEmpty());
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
  EXPECT_EQ(Set.RecordCount(), 0);
  EXPECT_FALSE(QFile::exists(Path));
}

TEST_F(RecordSetTest, OpenFailuresShowTheOpenErrorAndStayClosed) {
  struct Case {
    const char* name;
    QString fileName;
    bool autoCreate;
  };
  const Case cases[] = {
      {"blank name", "  ", true},
      {"missing without AutoCreate", Temp.Path("missing.dat"), false},
      {"folder that does not exist", Temp.Path("no/such/folder/x.dat"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MsgBoxScript::Clear();
    TRecordSet set;
    TEventLog events;
    events.Attach(set);
    set.SetFileName(c.fileName);
    set.SetAutoCreate(c.autoCreate);
    set.OpenRecSet();
    EXPECT_FALSE(set.Active());
    EXPECT_EQ(events.Log, QStringList({"BeforeOpen"}));
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::Log()[0].text, "Unable to open database file");
    EXPECT_EQ(MsgBoxScript::Log()[0].caption, AppTitle());
    EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbError);
    EXPECT_EQ(set.OpenErrCaption(), AppTitle());
  }
}

// Sharing: open-file-description locks keep a second deny-write opener to browse-only,
// whether it is another record set in this process or another process.
class SharingTest : public RecordSetTest {
 protected:
  void SetUp() override {
    RecordSetTest::SetUp();
    WriteAll(Path, NumberedRecords(3, kSize));
    Set.SetFileShareMode(smShareDenyWrite);
    Second.SetRecSize(kSize);
    Second.SetFileName(Path);
    Second.SetFileShareMode(smShareDenyWrite);
  }
  TRecordSet Second;
};

TEST_F(SharingTest, SecondOpenerInTheSameProcessIsBrowseOnlyAndCannotWrite) {
  Set.OpenRecSet();
  ASSERT_TRUE(Set.Active());
  EXPECT_FALSE(Set.BrowseOnly());
  TEventLog events;
  events.Attach(Second);
  Second.OpenRecSet();
  ASSERT_TRUE(Second.Active());
  EXPECT_TRUE(Second.BrowseOnly());
  EXPECT_EQ(Second.LastRecord(), 3);
  EXPECT_EQ(Second.CurrentRecord(), 1);
  EXPECT_EQ(events.Log, QStringList({"BeforeOpen", "AfterOpen"}));
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::Log()[0].text,
            Path +
                " is already in use!\n\nThe file has been opened in browse only mode. You "
                "will not be able to record any changes.");
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbInfo);
  EXPECT_EQ(MsgBoxScript::Log()[0].caption, AppTitle());

  // Reading works; every write is refused without an event.
  Second.LastRec();
  EXPECT_EQ(RecordId(Second), 3);
  events.Log.clear();
  Second.RecordBuffer()[0] = 50;
  Second.PostRec();
  Second.NewRec();
  Second.DeleteRec();
  EXPECT_TRUE(events.Log.isEmpty());
  EXPECT_EQ(MsgBoxScript::Log().size(), 1) << "the delete is refused without asking";
  EXPECT_EQ(FileIds(), QList<int>({1, 2, 3}));
  // The first opener still writes, and the reader sees it.
  Set.SetCurrentRecord(3);
  std::fill(Set.RecordBuffer(), Set.RecordBuffer() + kSize, uint8_t{8});
  Set.PostRec();
  Second.GetRec();
  EXPECT_EQ(RecordId(Second), 8);
}

TEST_F(SharingTest, TheLockGoesWithTheFirstOpenerAndShowOpenModeSilencesTheMessage) {
  Set.OpenRecSet();
  Second.SetShowOpenMode(false);
  Second.OpenRecSet();
  EXPECT_TRUE(Second.BrowseOnly());
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
  Second.CloseRecSet();
  // Deleting keeps the lock: a new opener is still browse-only afterwards.
  MsgBoxScript::SetNextAnswer(mrOk);
  Set.DeleteRec();
  Second.OpenRecSet();
  EXPECT_TRUE(Second.BrowseOnly());
  Second.CloseRecSet();
  Set.CloseRecSet();
  Second.OpenRecSet();
  EXPECT_TRUE(Second.Active());
  EXPECT_FALSE(Second.BrowseOnly());
}

TEST_F(SharingTest, OnlyDenyWriteFallsBackToBrowseOnly) {
  struct Case {
    TFileShareMode share;
    bool opens;
    bool browseOnly;
  };
  const Case cases[] = {
      {smShareDenyNone, true, false},  // takes no lock: opens normally beside the holder
      {smShareCompat, true, false},
      {smShareExclusive, false, false},  // refused with the open error, no fallback
      {smShareDenyRead, false, false},
  };
  Set.OpenRecSet();
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.share));
    MsgBoxScript::Clear();
    Second.SetFileShareMode(c.share);
    Second.OpenRecSet();
    EXPECT_EQ(Second.Active(), c.opens);
    EXPECT_EQ(Second.BrowseOnly(), c.browseOnly);
    if (!c.opens) {
      EXPECT_EQ(MsgBoxScript::LastText(), "Unable to open database file");
    }
    Second.CloseRecSet();
  }
}

TEST_F(SharingTest, AnotherProcessHoldingTheFileSendsThisOneToBrowseOnly) {
  QProcess holder;
  holder.start(SiblingProgram("storage_lock_probe"), {"hold", Path});
  ASSERT_TRUE(holder.waitForStarted());
  ASSERT_TRUE(holder.waitForReadyRead(10000));
  EXPECT_EQ(holder.readLine().trimmed(), "read-write");
  Set.OpenRecSet();
  EXPECT_TRUE(Set.Active());
  EXPECT_TRUE(Set.BrowseOnly());
  Set.CloseRecSet();
  holder.write("\n");
  holder.closeWriteChannel();
  ASSERT_TRUE(holder.waitForFinished(10000));
  EXPECT_EQ(holder.exitCode(), 0);

  // And the other way round: while this process holds it, the other one browses.
  Set.OpenRecSet();
  ASSERT_FALSE(Set.BrowseOnly());
  QProcess probe;
  probe.start(SiblingProgram("storage_lock_probe"), {"probe", Path});
  ASSERT_TRUE(probe.waitForFinished(10000));
  EXPECT_EQ(probe.readAllStandardOutput().trimmed(), "browse-only");
}

// Failures of the operating system are reported, never taken for success.
TEST_F(RecordSetTest, UnwritableFileRefusesWritingOpens) {
  WriteAll(Path, NumberedRecords(2, kSize));
  TUnwritableFile unwritable(Path);
  if (!unwritable.Active()) GTEST_SKIP() << "cannot make a file unwritable here";
  Set.OpenRecSet();  // read-write, deny-none: no fallback
  EXPECT_FALSE(Set.Active());
  EXPECT_EQ(MsgBoxScript::LastText(), "Unable to open database file");
  // Deny-write falls back to reading, browse-only.
  MsgBoxScript::Clear();
  Set.SetFileShareMode(smShareDenyWrite);
  Set.OpenRecSet();
  ASSERT_TRUE(Set.Active());
  EXPECT_TRUE(Set.BrowseOnly());
  Set.PostRec();
  Set.NewRec();
  EXPECT_EQ(FileIds(), QList<int>({1, 2}));
}

TEST_F(RecordSetTest, WritesToARemovedFileRaiseAnError) {
  OpenNumbered(2);
  ASSERT_EQ(::unlink(QFile::encodeName(Path).constData()), 0);
  struct Case {
    const char* name;
    std::function<void(TRecordSet&)> act;
  };
  const Case cases[] = {
      {"post", [](TRecordSet& s) { s.PostRec(); }},
      {"new record", [](TRecordSet& s) { s.NewRec(); }},
      {"delete",
       [](TRecordSet& s) {
         MsgBoxScript::SetNextAnswer(mrOk);
         s.DeleteRec();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      c.act(Set);
      ADD_FAILURE() << "no error raised";
    } catch (const EInOutError& e) {
      EXPECT_TRUE(e.Message().contains(Path)) << e.Message().toStdString();
      EXPECT_TRUE(e.Message().contains("No such file or directory")) << e.Message().toStdString();
    }
    EXPECT_EQ(Set.LastRecord(), 2);
  }
}

TEST_F(RecordSetTest, ReadingARecordCutOffUnderTheSetRaisesAnError) {
  OpenNumbered(3);
  Set.FirstRec();
  ASSERT_EQ(::truncate(QFile::encodeName(Path).constData(), kSize + 3), 0);
  Events.Log.clear();
  Set.SetCurrentRecord(2);
  try {
    Set.GetRec();
    ADD_FAILURE() << "no error raised";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(),
              QString("Unable to read record 2 of %1: the file ends before this record").arg(Path));
  }
  EXPECT_TRUE(Events.Log.isEmpty());
  // The scan fails the same way instead of showing stale records.
  Set.RootRec();
  Set.NextRec();
  EXPECT_THROW(Set.NextRec(), EInOutError);
}

TEST_F(RecordSetTest, AFullDiskIsReportedAndTheRecordIsNotCounted) {
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  TRecordSet set;
  set.SetRecSize(kSize);
  set.SetFileName("/dev/full");
  set.OpenRecSet();
  ASSERT_TRUE(set.Active());
  ASSERT_EQ(set.LastRecord(), 0);
  try {
    set.NewRec();
    ADD_FAILURE() << "no error raised";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), "Unable to write record 1 of /dev/full: No space left on device");
  }
  EXPECT_EQ(set.LastRecord(), 0);
  EXPECT_EQ(set.CurrentRecord(), 1);
  set.CloseRecSet();
}

// A new record that the disk takes only in part (room for 100 bytes of a 1536-byte payee) is
// cut off again: the file keeps its length and the next open reads whole records only.
TEST(RecordSetFullDisk, ARecordWrittenInPartIsTakenBack) {
  constexpr int kPayee = 1536;
  TFaultFolder disk;
  const QString path = disk.Path(QStringLiteral("full.PE25"));
  const QByteArray before = NumberedRecords(2, kPayee);
  WriteAll(path, before);
  // A tmpfs hands out whole pages: the two records fill 3072 of a 4096-byte page.
  disk.MakeFull(disk.Mounted() ? 0 : before.size() + 100);
  TRecordSet set;
  set.SetRecSize(kPayee);
  set.SetFileName(path);
  set.OpenRecSet();
  ASSERT_TRUE(set.Active());
  {
    TFileSizeLimitHere limit(disk.SizeLimit());
    try {
      set.NewRec();
      ADD_FAILURE() << "no error raised on a " << disk.Kind().toStdString();
    } catch (const EInOutError& e) {
      EXPECT_TRUE(e.Message().startsWith("Unable to write record 3 of " + path))
          << e.Message().toStdString();
    }
  }
  EXPECT_EQ(set.LastRecord(), 2);
  set.CloseRecSet();
  EXPECT_EQ(ReadAll(path), before);
}

TEST_F(RecordSetTest, WriteOnlyAccessCannotReadAndSaysSo) {
  WriteAll(Path, NumberedRecords(2, kSize));
  Set.SetFileOpenMode(omOpenWrite);
  Set.OpenRecSet();
  ASSERT_TRUE(Set.Active());
  EXPECT_THROW(Set.GetRec(), EInOutError);
  Set.RecordBuffer()[0] = 6;
  Set.PostRec();
  EXPECT_EQ(FileIds(), QList<int>({6, 2}));
}
}  // namespace
