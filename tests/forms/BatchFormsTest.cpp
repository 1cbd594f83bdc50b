// papyra-batch print and totals: the same routines as the screens, run as a program on a payer
// file that it only reads; exit code 2 with the screens' messages when there is nothing to do.
#include <limits>

#include "FaultSupport.h"
#include "FormsFixture.h"
#include "engine/Snapshot.h"
#include "forms/Form1096.h"
#include "forms/FormRegistry.h"
#include "forms/FormTotals.h"

namespace {
class BatchFormsTest : public TFormsTest {
 protected:
  QString MakeFile(TPayerRecord payer = SamplePayer()) {
    TPayeeRecord a = SamplePayee(QStringLiteral("Zeta"), QStringLiteral("123-45-6788"), 100);
    a.SetDouble("F1099NEC4", 10);
    TPayeeRecord b = SamplePayee(QStringLiteral("Alpha"), QStringLiteral("234-56-7890"), 0);
    b.SetDouble("F1099NEC3", 40);  // box 3 alone files a form too
    TPayeeRecord c = SamplePayee(QStringLiteral("Mu"), QStringLiteral("345-67-8901"), 7);
    return WritePayerFile(payer, {a, b, c});
  }
};

TEST_F(BatchFormsTest, PrintsTheSameFormsAsTheScreensWithoutTouchingTheFile) {
  const QString file = MakeFile();
  const QByteArray before = ReadAll(file);
  struct TCase {
    QStringList Args;
    int Pages;
    QString OnFirstPage;
  };
  const TCase cases[] = {
      // Each Copy B is followed by its page of instructions unless they are turned off.
      {{"--form", "1099-NEC", "--kind", "program"}, 6, "ALPHA"},
      {{"--form", "1099-NEC", "--kind", "program", "--instructions", "no"}, 3, "ALPHA"},
      {{"--form", "1099-NEC", "--kind", "program", "--copy", "C"}, 3, "Copy C"},
      // The payer's own copy shows the TIN whole unless masking is asked for.
      {{"--form", "1099-NEC", "--kind", "program", "--copy", "C"}, 3, "234-56-7890"},
      {{"--form", "1099-NEC", "--kind", "program", "--copy", "C", "--mask-ssn", "yes"},
       3,
       "***-**-7890"},
      {{"--form", "1099-NEC", "--kind", "program", "--mask-ssn", "no"}, 6, "234-56-7890"},
      {{"--form", "1099-NEC", "--kind", "program", "--mask-ssn", "yes"}, 6, "***-**-7890"},
      {{"--form", "1099-NEC", "--kind", "redcopy"}, 1, "40.00"},
      {{"--form", "1096", "--form-type", "1099-NEC", "--kind", "program"}, 1, "147.00"},
      {{"--form", "1096", "--form-type", "1099-NEC", "--kind", "redcopy"}, 1, "147.00"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Args.join(' ').toStdString());
    const QString out = Folder.Path(QStringLiteral("out.snp"));
    const TBatchRun run = RunBatch(QStringList{"print", file} + c.Args + QStringList{"--out", out});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const TReportJob job = LoadSnapshot(out);
    EXPECT_EQ(job.PageCount(), c.Pages);
    EXPECT_FALSE(TextsEqual(job.Pages[0], c.OnFirstPage).isEmpty());
  }
  EXPECT_EQ(ReadAll(file), before);
}

TEST_F(BatchFormsTest, TotalsAreWhatTheForm1096Shows) {
  const TBatchRun run = RunBatch({"totals", MakeFile(), "--form", "1099-NEC"});
  ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Out, QStringLiteral("Form 1099-NEC\nTotal number of forms: 3\n"
                                    "Federal income tax withheld: 10.00\n"
                                    "Total amount reported: 147.00\n"));
}

// Every form of the program prints both ways and totals from the command line: one payee with
// each of its amount boxes filled files one form, whose 1096 shows its total.
TEST_F(BatchFormsTest, EveryFormPrintsBothWaysAndTotals) {
  for (const TFormDef* form : FormDefs()) {
    SCOPED_TRACE(form->ShortName);
    TPayeeRecord payee = SamplePayee(QStringLiteral("Zeta"), QStringLiteral("123-45-6788"), 0);
    for (const char* field : form->Totals.AmountFields) payee.SetDouble(field, 100);
    const QString file = WritePayerFile(SamplePayer(), {payee});
    // At most nine boxes: the total stays below a thousand, without a separator.
    const QString total = QStringLiteral("%1.00").arg(100 * form->Totals.AmountFields.size());
    const QString out = Folder.Path(QStringLiteral("out.snp"));
    for (const char* kind : {"program", "redcopy"}) {
      const TBatchRun run =
          RunBatch({"print", file, "--form", form->ShortName, "--kind", kind, "--out", out});
      ASSERT_EQ(run.Code, 0) << kind << run.Err.toStdString();
      const TReportJob job = LoadSnapshot(out);
      // The program-generated Copy B with its page of instructions.
      EXPECT_EQ(job.PageCount(), QLatin1String(kind) == QLatin1String("program") ? 2 : 1) << kind;
      EXPECT_FALSE(TextsEqual(job.Pages[0], QStringLiteral("ZETA")).isEmpty()) << kind;
    }
    const TBatchRun totals = RunBatch({"totals", file, "--form", form->ShortName});
    ASSERT_EQ(totals.Code, 0) << totals.Err.toStdString();
    EXPECT_TRUE(totals.Out.contains(QStringLiteral("Total number of forms: 1\n")))
        << totals.Out.toStdString();
    const TBatchRun summary = RunBatch({"print", file, "--form", "1096", "--form-type",
                                        form->ShortName, "--kind", "program", "--out", out});
    ASSERT_EQ(summary.Code, 0) << summary.Err.toStdString();
    EXPECT_FALSE(TextsEqual(LoadSnapshot(out).Pages[0], total).isEmpty()) << total.toStdString();
  }
}

TEST_F(BatchFormsTest, RefusesWithExitCodeTwoAndAClearMessage) {
  const QString file = MakeFile();
  const QString out = Folder.Path(QStringLiteral("x.pdf"));
  TPayerRecord locked = SamplePayer();
  locked.SetString("FilePassword", QStringLiteral("scrambled"));
  struct TCase {
    QStringList Args;
    QString Message;
  };
  const TCase cases[] = {
      {{"print", Folder.Path("Missing.PE25"), "--form", "1099-NEC", "--kind", "program", "--out",
        out},
       "File not found: " + Folder.Path("Missing.PE25")},
      {{"print", file, "--form", "W-2", "--kind", "program", "--out", out},
       "invalid value \"W-2\" for --form"},
      {{"print", file, "--form", "1096", "--form-type", "1099-Q", "--kind", "program", "--out",
        out},
       "invalid value \"1099-Q\" for --form-type"},
      {{"print", file, "--form", "1096", "--form-type", "1099-R", "--kind", "redcopy", "--out",
        out},
       "There are no forms of the selected type available for printing"},
      {{"print", file, "--form", "1099-NEC", "--kind", "program", "--out", Folder.Path("x.doc")},
       "The output must be a .pdf, .html, .snp or .txt file: " + Folder.Path("x.doc")},
      {{"totals", file, "--form", "1099-ZZ"}, "invalid value \"1099-ZZ\" for --form"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Args.join(' ').toStdString());
    const TBatchRun run = RunBatch(c.Args);
    EXPECT_EQ(run.Code, 2);
    EXPECT_TRUE(run.Err.contains(c.Message)) << run.Err.toStdString();
  }
  TPayeeRecord none = SamplePayee(QStringLiteral("None"), QStringLiteral("123-45-6788"), 0);
  const QString empty = WritePayerFile(SamplePayer(), {none});
  const TBatchRun nothing =
      RunBatch({"print", empty, "--form", "1099-NEC", "--kind", "redcopy", "--out", out});
  EXPECT_EQ(nothing.Code, 2);
  EXPECT_TRUE(nothing.Err.contains("There are no forms available for printing."))
      << nothing.Err.toStdString();
  const QString protectedFile = WritePayerFile(locked, {none});
  const TBatchRun refused =
      RunBatch({"print", protectedFile, "--form", "1099-NEC", "--kind", "program", "--out", out});
  EXPECT_EQ(refused.Code, 2);
  EXPECT_TRUE(refused.Err.contains("password")) << refused.Err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(out));
}
// A payee file that ends in a record cut short, and amounts that no screen can enter, are damage:
// every command that reads the file says which file or payee, and prints nothing.
TEST_F(BatchFormsTest, DamagedPayeeFilesAndAmountsPrintNothing) {
  const QString out = Folder.Path(QStringLiteral("out.pdf"));
  const QStringList print = {"print", "--form", "1099-NEC", "--kind", "program", "--out", out};
  const QStringList print1096 = {"print",   "--form", "1096", "--form-type", "1099-NEC", "--kind",
                                 "program", "--out",  out};
  const QStringList labels = {"labels", "--out", out};
  const QStringList totals = {"totals", "--form", "1099-NEC"};
  const auto run = [](const QStringList& command, const QString& file) {
    return RunBatch(QStringList{command.first(), file} + command.mid(1));
  };
  const QString file = MakeFile();
  const QByteArray whole = ReadAll(file);
  const struct {
    int tail;
    QList<QStringList> commands;
  } cut[] = {{1, {print, labels, totals}}, {700, {totals}}};
  for (const auto& c : cut) {
    WriteAll(file, whole + QByteArray(c.tail, 'x'));
    for (const QStringList& command : c.commands) {
      SCOPED_TRACE(command.join(' ').toStdString() + " tail " + std::to_string(c.tail));
      const TBatchRun r = run(command, file);
      EXPECT_EQ(r.Code, 2);
      EXPECT_TRUE(r.Err.contains(
          QStringLiteral("The file %1 is damaged: its last %2 bytes are not a whole record.")
              .arg(file)
              .arg(c.tail)))
          << r.Err.toStdString();
      EXPECT_FALSE(QFileInfo::exists(out));
    }
  }
  // The amounts themselves are checked by the totals scan (TotalsTest); here the exit code.
  TPayeeRecord zeta = SamplePayee(QStringLiteral("Zeta"), QStringLiteral("123-45-6788"), 100);
  TPayeeRecord alpha = SamplePayee(QStringLiteral("Alpha"), QStringLiteral("234-56-7890"), 5);
  alpha.SetDouble("F1099DIV2b", std::numeric_limits<double>::quiet_NaN());
  const QString damaged = WritePayerFile(SamplePayer(), {zeta, alpha});
  for (const QStringList& command : {print, print1096}) {
    SCOPED_TRACE(command.join(' ').toStdString());
    const TBatchRun r = run(command, damaged);
    EXPECT_EQ(r.Code, 2);
    EXPECT_TRUE(
        r.Err.contains(QStringLiteral("Payee 2 (Alpha) is damaged: the amount in field "
                                      "F1099DIV2b is out of range.")))
        << r.Err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
  }
}

// The forms' PDF on a disk with no room left: the failure is reported, not "page(s) written",
// and the previous PDF stays as it was.
TEST_F(BatchFormsTest, AFullDiskKeepsThePreviousPdf) {
  const QString file = MakeFile();
  TFaultFolder disk;
  const QString out = disk.Path(QStringLiteral("forms.pdf"));
  WriteAll(out, "previous forms");
  disk.MakeFull();
  const TBatchRun run = RunBatch(
      {"print", file, "--form", "1099-NEC", "--kind", "program", "--out", out}, disk.ChildSetup());
  EXPECT_EQ(run.Code, 2) << disk.Kind().toStdString();
  EXPECT_TRUE(run.Err.contains(QStringLiteral("Cannot write \"%1\": ").arg(out)))
      << run.Err.toStdString();
  EXPECT_FALSE(run.Out.contains(QLatin1String("written")));
  EXPECT_EQ(ReadAll(out), "previous forms");
}
}  // namespace
