// What an output leaves when its writing fails: a full disk, a folder that cannot be written, a
// snapshot page found damaged half way, and snapshots that are valid but absurd. Run through
// papyra-batch, whose exit code and messages are what scripts see.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "EngineTestSupport.h"
#include "FaultSupport.h"
#include "TestSupport.h"
#include "engine/Render.h"
#include "engine/Snapshot.h"
#include "platform/Exceptions.h"

namespace {
const QByteArray kPrevious = "the previous output, which a failed write must leave alone\n";

// The output files of a render to `name`: one per page for PNG.
QStringList OutputFiles(const QString& name, int pages) {
  if (!name.endsWith(QLatin1String(".png"))) return {name};
  QStringList files;
  for (int i = 1; i <= pages; ++i) files << name.chopped(4) + QStringLiteral("-%1.png").arg(i);
  return files;
}

// An address-space limit keeps an absurd snapshot from taking the machine's memory should it
// get past the checks; the address sanitizer reserves far more address space than that, so it
// runs without one.
std::function<void()> MemoryLimit() {
#if defined(__SANITIZE_ADDRESS__)
  return {};
#else
  return [] {
    struct rlimit rl {};
    rl.rlim_cur = rl.rlim_max = rlim_t(2) << 30;
    ::setrlimit(RLIMIT_AS, &rl);
  };
#endif
}

TReportJob JobOfSheet(double width, double height, int pages) {
  TReportJob job;
  job.Title = QStringLiteral("Sheet");
  job.PageWidth = width;
  job.PageHeight = height;
  job.Pages.resize(pages);
  return job;
}

class OutputFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Snapshot = Temp.Path(QStringLiteral("job.snp"));
    SaveSnapshot(SampleJob(), Snapshot);
  }
  TTempFolder Temp;
  QString Snapshot;
};
}  // namespace

// Every output kind, on a disk with no room left and in a folder that cannot be written: the
// command fails with exit code 2 and a message naming the file and the system's reason, and the
// folder holds exactly what it held before, the previous output included.
TEST_F(OutputFaultTest, AFailedWriteKeepsThePreviousOutputAndSaysWhy) {
  enum TFault { Full, ReadOnly };
  for (const TFault fault : {Full, ReadOnly}) {
    for (const char* ext : {"pdf", "png", "html", "txt", "snp"}) {
      TFaultFolder folder;
      const QString target = folder.Path(QStringLiteral("out.") + QLatin1String(ext));
      for (const QString& f : OutputFiles(target, 2)) WriteAll(f, kPrevious);
      if (fault == Full)
        folder.MakeFull();
      else if (!folder.MakeReadOnly())
        GTEST_SKIP() << "no way to make a folder read-only for this process here";
      const QStringList before = FolderEntries(folder.Path());
      const TBatchRun run = RunBatch({"render", Snapshot, "--out", target}, folder.ChildSetup());
      SCOPED_TRACE(folder.Kind().toStdString() + " " + ext + ": " + run.Err.toStdString());
      EXPECT_EQ(run.Code, 2);
      EXPECT_FALSE(run.Out.contains(QLatin1String("written")));
      EXPECT_TRUE(run.Err.contains(QStringLiteral("Cannot write \"%1").arg(folder.Path("out"))));
      const QString reason =
          fault == ReadOnly
              ? QStringLiteral("Read-only file system|Permission denied|is not writable")
          : folder.Mounted() ? QStringLiteral("No space left on device")
                             : QStringLiteral("File too large");
      EXPECT_TRUE(run.Err.contains(QRegularExpression(reason)));
      for (const QString& f : OutputFiles(target, 2))
        EXPECT_EQ(ReadAll(f), kPrevious) << f.toStdString();
      EXPECT_EQ(FolderEntries(folder.Path()), before);
    }
  }
}

// Pages are checked as they are drawn, so a damaged last page is found after the first pages
// are written: the output in progress is dropped and the previous one stays.
TEST_F(OutputFaultTest, ADamagedPageFoundHalfWayLeavesThePreviousOutput) {
  TReportJob job = SampleJob();
  job.Pages.append(job.Pages.first());
  QByteArray bytes = SnapshotBytes(job);
  bytes[bytes.size() - 1] = char(bytes[bytes.size() - 1] ^ 0x5a);  // inside page 3
  WriteAll(Snapshot, bytes);
  for (const char* name : {"out.pdf", "out.png"}) {
    const QString target = Temp.Path(QLatin1String(name));
    for (const QString& f : OutputFiles(target, 3)) WriteAll(f, kPrevious);
    const QStringList before = FolderEntries(Temp.Path());
    const TBatchRun run = RunBatch({"render", Snapshot, "--out", target});
    SCOPED_TRACE(std::string(name) + ": " + run.Err.toStdString());
    EXPECT_EQ(run.Code, 2);
    EXPECT_TRUE(run.Err.contains(QLatin1String("the checksum of page 3 does not match")));
    for (const QString& f : OutputFiles(target, 3)) EXPECT_EQ(ReadAll(f), kPrevious);
    EXPECT_EQ(FolderEntries(Temp.Path()), before);
  }
}

// A sheet larger than any paper is refused before a page is drawn (a 250 in sheet took 5.5 GB
// per page image); a sheet up to 50 in on a side is drawn.
TEST_F(OutputFaultTest, SheetsLargerThanFiftyInchesAreRefused) {
  const struct {
    double width, height;
    bool drawn;
  } cases[] = {{250, 250, false}, {51, 11, false}, {8.5, 50.5, false}, {50, 50, true}};
  for (const auto& c : cases) {
    const QString snapshot = Temp.Path(QStringLiteral("sheet.snp"));
    SaveSnapshot(JobOfSheet(c.width, c.height, 1), snapshot);
    const QString target = Temp.Path(QStringLiteral("sheet.pdf"));
    QFile::remove(target);
    const TBatchRun run = RunBatch({"render", snapshot, "--out", target}, MemoryLimit());
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + ": " +
                 run.Err.toStdString());
    EXPECT_EQ(run.Code, c.drawn ? 0 : 2);
    EXPECT_EQ(QFileInfo::exists(target), c.drawn);
    if (!c.drawn) {
      EXPECT_TRUE(run.Err.contains(QLatin1String("the sheet size is out of range")));
    }
  }
  // A job made in memory with such a sheet is refused by the writers themselves.
  EXPECT_THROW(WritePdf(JobOfSheet(250, 250, 1), Temp.Path(QStringLiteral("big.pdf"))),
               EReportException);
  EXPECT_THROW(WritePngPages(JobOfSheet(250, 250, 1), Temp.Path(QStringLiteral("big.png"))),
               EReportException);
  EXPECT_FALSE(QFileInfo::exists(Temp.Path(QStringLiteral("big.pdf"))));
}

// One PNG file per page: a long job needs --pages, and only the pages asked for are written.
TEST_F(OutputFaultTest, APngExportOfManyPagesNeedsARange) {
  const QString snapshot = Temp.Path(QStringLiteral("long.snp"));
  SaveSnapshot(JobOfSheet(8.5, 11, 100000), snapshot);
  const QString target = Temp.Path(QStringLiteral("long.png"));
  const struct {
    QStringList extra;
    int code;
    QStringList files;
    const char* err;
  } cases[] = {
      {{}, 2, {}, "a PNG export of more than 100 pages needs --pages FROM-TO"},
      {{"--pages", "0-3"}, 2, {}, "--pages must be FROM-TO within 1-100000"},
      {{"--pages", "7-5"}, 2, {}, "--pages must be FROM-TO within 1-100000"},
      {{"--pages", "99999-100001"}, 2, {}, "--pages must be FROM-TO within 1-100000"},
      {{"--pages", "99999-100000"}, 0, {"long-100000.png", "long-99999.png"}, ""},
  };
  for (const auto& c : cases) {
    const TBatchRun run =
        RunBatch(QStringList{"render", snapshot, "--out", target} + c.extra, MemoryLimit());
    SCOPED_TRACE(c.extra.join(' ').toStdString() + ": " + run.Err.toStdString());
    EXPECT_EQ(run.Code, c.code);
    EXPECT_TRUE(run.Err.contains(QLatin1String(c.err)));
    EXPECT_EQ(FolderEntries(Temp.Path()).filter(QStringLiteral(".png")), c.files);
  }
}
