// Every writer of the program against every fault: a disk with no room, a folder that cannot be
// written, a folder where no new file can be made (a writer that fell back to writing into the
// target itself would pass there), and a target another process holds. Each ends with the old
// files byte for byte and no temporary left behind.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include "FaultSupport.h"
#include "TestSupport.h"
#include "core/Utils.h"
#include "engine/DisplayList.h"
#include "engine/Render.h"
#include "engine/Snapshot.h"
#include "exchange/PayeeExchange.h"
#include "platform/Exceptions.h"
#include "platform/SafeFile.h"
#include "platform/Settings.h"
#include "shell/Backup.h"
#include "shell/Transfer.h"
#include "storage/RecordLayout.h"

namespace {
QByteArray Records(int count, char fill, int size) {
  return QByteArray(qsizetype(count) * size, fill);
}

TReportJob OnePageJob() {
  TReportJob job;
  job.Title = QStringLiteral("Faults");
  job.PageWidth = 8.5;
  job.PageHeight = 11;
  job.Pages.resize(1);
  return job;
}

struct TWriter {
  const char* Name;
  QStringList Targets;  // in the fault folder, each holding old bytes before the write
  std::function<void(const QString& folder)> Write;
};

// A process that holds the file as a second copy of Papyra holding it open would.
class THolder {
 public:
  explicit THolder(const QString& file) {
    FProcess.start(QCoreApplication::applicationDirPath() + QStringLiteral("/storage_lock_probe"),
                   {QStringLiteral("hold"), file});
    FHeld = FProcess.waitForReadyRead(10000) && FProcess.readLine().trimmed() == "read-write";
  }
  ~THolder() {
    FProcess.write("\n");
    FProcess.closeWriteChannel();
    FProcess.waitForFinished(10000);
  }
  bool Held() const { return FHeld; }

 private:
  QProcess FProcess;
  bool FHeld = false;
};

class WriterFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Inputs live outside the fault folder: only the writing may fail.
    WriteAll(Inputs.Path("Source.PR25"), Records(1, 'p', TPayerRecord::Size));
    WriteAll(Inputs.Path("Source.PE25"), Records(3, '\0', TPayeeRecord::Size));
    WriteAll(Inputs.Path("Old.PR24"), Records(1, 'o', PriorPayerRecSize));
    WriteAll(Inputs.Path("Old.PE24"), Records(2, '\0', PriorPayeeRecSize));
  }

  std::vector<TWriter> Writers() const {
    const QString in = Inputs.Path();
    return {
        {"PDF output", {"out.pdf"},
         [](const QString& f) { ExportJob(OnePageJob(), f + "/out.pdf"); }},
        {"snapshot", {"job.snp"},
         [](const QString& f) { SaveSnapshot(OnePageJob(), f + "/job.snp"); }},
        {"PNG pages", {"page-1.png"},
         [](const QString& f) { WritePngPages(OnePageJob(), f + "/page.png", 20); }},
        {"CSV export", {"payees.csv"},
         [in](const QString& f) { ExportPayees(in + "/Source.PE25", f + "/payees.csv"); }},
        {"import mapping", {"map.json"},
         [](const QString& f) { SaveImportMapping(f + "/map.json", TImportSettings{}); }},
        {"payee import", {"T.PE25", "T.PR25"},
         [](const QString& f) { AppendPayees(f + "/T.PE25", std::vector<TPayeeRecord>(2)); }},
        {"backup pair", {"B.PE25", "B.PR25"},
         [in](const QString& f) {
           CopyPayerFilePair({{in + "/Source.PE25", f + "/B.PE25"},
                              {in + "/Source.PR25", f + "/B.PR25"}},
                             TPairCopy::Together);
         }},
        {"restore copy", {"R.PE25"},
         [in](const QString& f) {
           CopyPayerFilePair({{in + "/Source.PE25", f + "/R.PE25"}}, TPairCopy::InOrder);
         }},
        {"transfer", {"Old.PE25", "Old.PR25"},
         [in](const QString& f) { TransferPayerFile(in + "/", "Old.PR24", f + "/", false); }},
        {"settings", {"Papyra/Papyra.ini"},
         [](const QString& f) {
           qputenv("XDG_CONFIG_HOME", QFile::encodeName(f));
           TRegistry registry;
           registry.OpenKey(QStringLiteral("Software\\PapyraTest\\2025\\Faults"), true);
           registry.WriteString(QStringLiteral("Path"), QStringLiteral("x"));
           registry.CloseKey();
         }},
    };
  }

  TTempFolder Inputs;
};
}  // namespace

TEST_F(WriterFaultTest, EveryWriterKeepsTheOldFilesOnEveryFault) {
  enum TFault { Full, ReadOnly, NoNewFiles, Held };
  const QByteArray config = qgetenv("XDG_CONFIG_HOME");
  for (const TFault fault : {Full, ReadOnly, NoNewFiles, Held}) {
    for (const TWriter& writer : Writers()) {
      TFaultFolder folder;
      QDir().mkpath(folder.Path("Papyra"));
      // Whole records, so the payee import's own checks pass and only the writing can fail.
      for (const QString& t : writer.Targets)
        WriteAll(folder.Path(t), t.endsWith("PR25") ? Records(1, 'q', TPayerRecord::Size)
                 : t.endsWith("PE25")               ? Records(1, '\0', TPayeeRecord::Size)
                                                    : QByteArray("old bytes\n"));
      QMap<QString, QByteArray> before;
      for (const QString& t : writer.Targets) before[t] = ReadAll(folder.Path(t));
      std::unique_ptr<THolder> holder;
      bool made = true;
      if (fault == Full) folder.MakeFull();
      if (fault == ReadOnly) made = folder.MakeReadOnly();
      if (fault == NoNewFiles) made = folder.MakeNoNewFiles();
      if (fault == Held) {
        holder = std::make_unique<THolder>(folder.Path(writer.Targets.first()));
        made = holder->Held();
      }
      if (!made) continue;  // not possible for this process here
      const QStringList entries = FolderEntries(folder.Path());
      const QStringList inner = FolderEntries(folder.Path("Papyra"));
      QString error;
      {
        const TFileSizeLimitHere limit(folder.SizeLimit());
        try {
          writer.Write(folder.Path());
        } catch (const EPapyraException& e) {
          error = e.Message();
        }
      }
      qputenv("XDG_CONFIG_HOME", config);
      SCOPED_TRACE(std::string(writer.Name) + " on " +
                   (fault == Held ? std::string("a held file") : folder.Kind().toStdString()) +
                   ": " + error.toStdString());
      EXPECT_FALSE(error.isEmpty()) << "the write was reported as done";
      for (const QString& t : writer.Targets)
        EXPECT_EQ(ReadAll(folder.Path(t)), before[t]) << t.toStdString();
      EXPECT_EQ(FolderEntries(folder.Path()), entries);
      EXPECT_EQ(FolderEntries(folder.Path("Papyra")), inner);
      if (fault == Held) {
        EXPECT_TRUE(error.contains("in use")) << "only a held lock is \"in use\"";
      } else {
        EXPECT_FALSE(error.contains("in use"));
        EXPECT_TRUE(error.contains(QRegularExpression(
            "No space left on device|File too large|Read-only file system|Permission denied")));
      }
    }
  }
}
