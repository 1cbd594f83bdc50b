// Snapshot files: lossless, byte-stable, and a loader that turns every damaged or foreign file
// into a clear EReportException.
#include <gtest/gtest.h>

#include <QFile>

#include "EngineTestSupport.h"
#include "SnapshotMutator.h"
#include "TestSupport.h"
#include "engine/PagePrinter.h"
#include "engine/Snapshot.h"
#include "platform/Exceptions.h"

namespace {
QString LoadError(const QByteArray& bytes) {
  try {
    ParseSnapshot(bytes);
  } catch (const EReportException& e) {
    return e.Message();
  }
  return {};
}
}  // namespace

TEST(Snapshot, RoundTripIsLosslessAndByteStable) {
  const TReportJob job = SampleJob();
  const QByteArray bytes = SnapshotBytes(job);
  const TReportJob back = ParseSnapshot(bytes);
  EXPECT_EQ(back, job);
  EXPECT_EQ(SnapshotBytes(back), bytes);
  EXPECT_EQ(SnapshotBytes(SampleJob()), bytes) << "the same job gives the same bytes";

  TTempFolder tmp;
  SaveSnapshot(job, tmp.Path(QStringLiteral("a.snp")));
  EXPECT_EQ(ReadAll(tmp.Path(QStringLiteral("a.snp"))), bytes);
  EXPECT_EQ(LoadSnapshot(tmp.Path(QStringLiteral("a.snp"))), job);
}

TEST(Snapshot, JobsFromThePagePrinterSurviveExactly) {
  TPagePrinter p;
  p.SetTitle(QStringLiteral("Form 1099-NEC Report"));
  p.BeginDoc();
  for (int page = 0; page < 5; ++page) {
    if (page) p.NewPage();
    p.SetFont(QStringLiteral("Courier New"), 12);
    p.PrintXY(0.6, 1.0 / 3, QStringLiteral("1,234.56"));
    p.SetFontSize(120.0 / 13);
    p.SetBold(true);
    p.PrintRight(QStringLiteral("A rather long payee name"), 4.4);
    p.Line(0.1, 0.2, 0.3, 0.4);
  }
  const TReportJob job = p.TakeJob();
  EXPECT_EQ(ParseSnapshot(SnapshotBytes(job)), job);
}

TEST(Snapshot, ForeignAndDamagedFilesAreRefusedWithAReason) {
  const QByteArray good = SnapshotBytes(SampleJob());
  QByteArray newer = good;
  newer[8] = 9;
  QByteArray flipped = good;
  flipped[flipped.size() - 3] = char(flipped[flipped.size() - 3] ^ 0x40);
  QByteArray extra = good + "x";
  struct Case {
    const char* name;
    QByteArray bytes;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"empty", QByteArray(), "is not a Papyra snapshot"},
      {"pdf", QByteArray("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj"), "is not a Papyra snapshot"},
      {"newer version", newer, "has version 9; this program reads version 1"},
      {"page damaged", flipped, "the checksum of page 2 does not match"},
      {"stray bytes", extra, "stray bytes"},
      {"header only", good.left(16), "directory is cut off"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(LoadError(c.bytes).contains(QLatin1String(c.message)))
        << LoadError(c.bytes).toStdString();
  }
}

TEST(Snapshot, EveryTruncationIsRefused) {
  const QByteArray good = SnapshotBytes(SampleJob());
  for (qsizetype n = 0; n < good.size(); ++n)
    EXPECT_FALSE(LoadError(good.left(n)).isEmpty()) << "cut at " << n;
}

TEST(Snapshot, ThousandsOfMutationsNeverCrashTheLoader) {
  // Each mutant either loads (a harmless change such as a colour) or is refused with
  // EReportException; anything else (a crash, another exception) fails the test. Half the
  // mutants get repaired checksums so they reach the item decoder.
  const QByteArray good = SnapshotBytes(SampleJob());
  TMutator mutator(20251231);
  int refused = 0, loaded = 0;
  for (int i = 0; i < 20000; ++i) {
    QByteArray bad = good;
    for (int k = 0, n = 1 + int(mutator.Next() % 4); k < n; ++k) bad = mutator.Mutate(bad);
    if (i % 2) RepairChecksums(bad);
    try {
      const TReportJob job = ParseSnapshot(bad);
      EXPECT_LE(job.PageCount(), 2);
      ++loaded;
    } catch (const EReportException& e) {
      EXPECT_FALSE(e.Message().isEmpty());
      ++refused;
    }
  }
  EXPECT_GT(refused, 15000);
  EXPECT_GT(loaded, 0) << "repaired mutants must reach the decoder";
}

TEST(Snapshot, TheReaderDecodesPagesOnlyWhenAsked) {
  QByteArray bytes = SnapshotBytes(SampleJob());
  bytes[bytes.size() - 3] = char(bytes[bytes.size() - 3] ^ 0x01);  // damage page 2 only
  TSnapshotReader reader;
  reader.OpenBytes(bytes, QStringLiteral("job.snp"));
  EXPECT_EQ(reader.PageCount(), 2);
  EXPECT_EQ(reader.Title(), QStringLiteral("Sample & <job>"));
  EXPECT_EQ(reader.Page(0), SampleJob().Pages[0]);
  EXPECT_THROW(reader.Page(1), EReportException);
  EXPECT_THROW(reader.Page(2), EReportException);
}

TEST(Snapshot, MissingFileNamesTheFile) {
  try {
    LoadSnapshot(QStringLiteral("/nonexistent/Papyra.RPT"));
    FAIL() << "no exception";
  } catch (const EReportException& e) {
    EXPECT_TRUE(e.Message().startsWith(
        QLatin1String("Cannot open the snapshot \"/nonexistent/Papyra.RPT\"")))
        << e.Message().toStdString();
  }
  EXPECT_THROW(SaveSnapshot(SampleJob(), QStringLiteral("/nonexistent/x.snp")), EReportException);
}

namespace {
// The message a reader gives for a snapshot, read whole from a file or from the bytes.
QString ReaderError(const QByteArray& bytes, const QString& file) {
  try {
    TSnapshotReader reader;
    if (file.isEmpty())
      reader.OpenBytes(bytes, QStringLiteral("job.snp"));
    else
      reader.Open(file);
    reader.ReadAll();
  } catch (const EReportException& e) {
    return e.Message();
  }
  return {};
}
}  // namespace

// A file is read page by page from its handle: every cut and every damaged byte is met as it is
// when the bytes are held whole.
TEST(Snapshot, AFileReadOnDemandIsCheckedAsStrictlyAsBytes) {
  TTempFolder tmp;
  const QString file = tmp.Path(QStringLiteral("job.snp"));
  const QByteArray bytes = SnapshotBytes(SampleJob());
  for (qsizetype cut = 0; cut < bytes.size(); cut += 7) {
    WriteAll(file, bytes.left(cut));
    const QString error = ReaderError(bytes.left(cut), {});
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(ReaderError({}, file), error) << cut;
  }
  for (qsizetype at = 0; at < bytes.size(); at += 5) {
    QByteArray damaged = bytes;
    damaged[at] = char(damaged[at] ^ 0x40);
    WriteAll(file, damaged);
    EXPECT_EQ(ReaderError({}, file), ReaderError(damaged, {})) << at;
  }
}

TEST(Snapshot, AReaderKeepsTheFileItOpenedWhenItIsReplacedOrCut) {
  TTempFolder tmp;
  const QString file = tmp.Path(QStringLiteral("Papyra.RPT"));
  SaveSnapshot(SampleJob(), file);
  const QByteArray original = ReadAll(file);
  TSnapshotReader reader;
  reader.Open(file);
  TReportJob other = SampleJob();
  other.Pages.removeLast();
  SaveSnapshot(other, file);  // a new print saves its snapshot anew under the same name
  EXPECT_EQ(reader.ReadPage(1), SampleJob().Pages[1]);
  EXPECT_EQ(reader.Bytes(), original);
  // Cut in place under the reader: the pages that are gone are reported, never read stale.
  TSnapshotReader cut;
  cut.Open(file);
  ASSERT_TRUE(QFile::resize(file, 40));
  EXPECT_THROW(cut.ReadPage(0), EReportException);
}
