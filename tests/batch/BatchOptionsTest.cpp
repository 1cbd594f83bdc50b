// papyra-batch's command lines are strict: every command refuses an option it does not know, a
// misspelt one (naming the one meant), an option without its value, a value outside its list and
// an option given twice, with its usage line and exit code 2, and writes nothing. The same lines
// without the fault do their work, so the refusals are the faults' doing.
#include <QDir>

#include "FaultSupport.h"
#include "FormsFixture.h"

namespace {
struct TCommandCase {
  QStringList Valid;  // a command line that does its work
  QString Option;     // an option of it that takes a value (the value follows it in Valid)
  QString Misspelt;   // Option as a user might mistype it
  QString Choice;     // an option with a list of values, or empty
  QString Outside;    // a value outside that list
  QString Refusal;    // what is said about it
};

class BatchOptionsTest : public TFormsTest {
 protected:
  void SetUp() override {
    TFormsTest::SetUp();
    TPayeeRecord a = SamplePayee(QStringLiteral("Zeta"), QStringLiteral("123-45-6788"), 100);
    TPayeeRecord b = SamplePayee(QStringLiteral("Alpha"), QStringLiteral("234-56-7890"), 40);
    // Whole addresses, as the import checks them.
    for (TPayeeRecord* p : {&a, &b}) {
      p->SetString("City", QStringLiteral("Decatur"));
      p->SetString("State", QStringLiteral("IL"));
      p->SetString("ZipCode", QStringLiteral("62521"));
    }
    File = WritePayerFile(SamplePayer(), {a, b});
    // The inputs other commands read: a snapshot and a spreadsheet, made apart from the
    // folder the commands write into.
    ASSERT_EQ(RunBatch({"print", File, "--form", "1099-NEC", "--kind", "program", "--out",
                        Input.Path("forms.snp")})
                  .Code,
              0);
    ASSERT_EQ(RunBatch({"export", File, "--csv", Input.Path("payees.csv")}).Code, 0);
    ASSERT_TRUE(QDir().mkpath(Out()));
  }

  QString Out(const QString& name = {}) const {
    return Folder.Path(QStringLiteral("out")) + (name.isEmpty() ? QString() : "/" + name);
  }

  QList<TCommandCase> Commands() const {
    return {
        {{"dump", File, "--format", "text"},
         "--format",
         "--fromat",
         "--format",
         "txt",
         "invalid value \"txt\" for --format (json or text); did you mean text?"},
        {{"print", File, "--form", "1099-NEC", "--kind", "program", "--mask-ssn", "no", "--out",
          Out("forms.pdf")},
         "--mask-ssn",
         "--mask-sn",
         "--kind",
         "red-copy",
         "invalid value \"red-copy\" for --kind (program, redcopy or alignment); did you mean "
         "redcopy?"},
        {{"print", File, "--form", "1099-NEC", "--kind", "program", "--per-recipient", "--password",
          "zip", "--out", Out("recipients")},
         "--password",
         "--pasword",
         "--password",
         "tin-last-4",
         "invalid value \"tin-last-4\" for --password (tin-last4, zip or none); did you mean "
         "tin-last4?"},
        {{"totals", File, "--form", "1099-NEC"},
         "--form",
         "--from",
         "--form",
         "1099-NCE",
         "invalid value \"1099-NCE\" for --form (1098, 1099-DIV, 1099-INT, 1099-MISC, "
         "1099-NEC, 1099-R or 1099-S); did you mean 1099-NEC?"},
        {{"labels", File, "--out", Out("labels.pdf")}, "--out", "--ot", "", "", ""},
        {{"render", Input.Path("forms.snp"), "--out", Out("forms.pdf")},
         "--out",
         "--outt",
         "",
         "",
         ""},
        {{"report", SourceProjectFile(), "Sample", "--copies", "2", "--out", Out("sample.snp")},
         "--copies",
         "--copeis",
         "",
         "",
         ""},
        {{"export", File, "--csv", Out("payees.csv"), "--form", "1099-NEC", "--header", "words"},
         "--csv",
         "--cvs",
         "--header",
         "word",
         "invalid value \"word\" for --header (words or fields); did you mean words?"},
        // The spreadsheet holds the file's own payees, so the import must be told what to do.
        {{"import", File, "--csv", Input.Path("payees.csv"), "--existing", "skip"},
         "--csv",
         "--scv",
         "--existing",
         "replace",
         "invalid value \"replace\" for --existing (update, skip or add)"},
    };
  }

  // The command line refused with this message and its usage line, nothing written or changed.
  void ExpectRefused(const QStringList& args, const QString& message) {
    SCOPED_TRACE(args.join(' ').toStdString());
    const QByteArray payees = ReadAll(File);
    const TBatchRun run = RunBatch(args);
    EXPECT_EQ(run.Code, 2);
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("papyra-batch %1: %2\n").arg(args[0], message)))
        << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(QStringLiteral("\nusage: papyra-batch %1 ").arg(args[0])))
        << run.Err.toStdString();
    EXPECT_EQ(run.Out, QString());
    EXPECT_EQ(FolderEntries(Out()), QStringList());
    EXPECT_EQ(ReadAll(File), payees);
  }

  QString File;
  TTempFolder Input;
};

// args without the option and its value.
QStringList Without(QStringList args, const QString& option) {
  const qsizetype i = args.indexOf(option);
  args.remove(i, 2);
  return args;
}

QStringList Replaced(QStringList args, const QString& from, const QString& to) {
  args[args.indexOf(from)] = to;
  return args;
}

TEST_F(BatchOptionsTest, EveryCommandRefusesAFaultyLineAndWritesNothing) {
  for (const TCommandCase& c : Commands()) {
    const QString value = c.Valid[c.Valid.indexOf(c.Option) + 1];
    ExpectRefused(c.Valid + QStringList{"--bogus", "1"}, "unknown option --bogus");
    ExpectRefused(Replaced(c.Valid, c.Option, c.Misspelt),
                  QStringLiteral("unknown option %1; did you mean %2?").arg(c.Misspelt, c.Option));
    ExpectRefused(Without(c.Valid, c.Option) << c.Option,
                  QStringLiteral("option %1 needs a value").arg(c.Option));
    ExpectRefused(c.Valid + QStringList{c.Option, value},
                  QStringLiteral("option %1 given more than once").arg(c.Option));
    ExpectRefused(c.Valid + QStringList{"extra"}, "unexpected argument \"extra\"");
    if (!c.Choice.isEmpty())
      ExpectRefused(Without(c.Valid, c.Choice) << c.Choice << c.Outside, c.Refusal);
  }
  // The same lines without the faults do their work.
  for (const TCommandCase& c : Commands()) {
    const TBatchRun run = RunBatch(c.Valid);
    EXPECT_EQ(run.Code, 0) << c.Valid.join(' ').toStdString() << "\n" << run.Err.toStdString();
  }
}

// Options that would change nothing where they stand, and values of the wrong form, are refused
// the same way: none is ignored without a word.
TEST_F(BatchOptionsTest, OptionsThatDoNotFitTogetherAreRefused) {
  const QString pdf = Out("x.pdf");
  const QString recipients = QStringLiteral(
      "the recipients' forms (--kind program, --form other "
      "than 1096)");
  const struct {
    QStringList Args;
    QString Message;
  } cases[] = {
      {{"print", File, "--form", "1099-NEC", "--kind", "redcopy", "--mask-ssn", "yes", "--out",
        pdf},
       "--mask-ssn goes only with " + recipients},
      {{"print", File, "--form", "1096", "--form-type", "1099-NEC", "--kind", "program",
        "--instructions", "no", "--out", pdf},
       "--instructions goes only with " + recipients},
      {{"print", File, "--form", "1099-NEC", "--kind", "redcopy", "--copy", "C", "--out", pdf},
       "--copy goes only with " + recipients},
      {{"print", File, "--form", "1096", "--kind", "program", "--out", pdf},
       "--form 1096 needs --form-type"},
      {{"print", File, "--form", "1099-NEC", "--form-type", "1099-R", "--kind", "program", "--out",
        pdf},
       "--form-type goes only with --form 1096"},
      {{"print", File, "--form", "1099-NEC", "--kind", "redcopy", "--per-recipient", "--out",
        Out("r")},
       "--per-recipient goes only with " + recipients},
      {{"print", File, "--form", "1099-NEC", "--kind", "program", "--password", "zip", "--out",
        pdf},
       "--password goes only with --per-recipient"},
      {{"print", File, "--form", "1099-NEC", "--kind", "program", "--only", "corrected", "--payees",
        "123-45-6788", "--out", pdf},
       "--only and --payees do not go together"},
      {{"totals", File, "--form", "1099-NEC", "--payees", " , "},
       "--payees needs at least one TIN"},
      {{"print", File, "--form", "1099-NEC", "--kind", "alignment", "--only", "corrected", "--out",
        pdf},
       "--only goes only with forms to print (--kind program or redcopy)"},
      {{"print", File, "--form", "1096", "--form-type", "1099-NEC", "--kind", "alignment", "--out",
        pdf},
       "--kind alignment goes only with the forms of the payees (--form other than 1096)"},
      {{"print", File, "--form", "1099-NEC", "--kind", "alignment", "--per-recipient", "--out",
        Out("r")},
       "--per-recipient goes only with " + recipients},
      {{"render", Input.Path("forms.snp"), "--out", pdf, "--pages", "1-1"},
       "--pages goes only with a .png output"},
      {{"report", SourceProjectFile(), "Sample", "--out", pdf, "--copies", "0"},
       "--copies must be a number from 1 to 100000: 0"},
      {{"report", SourceProjectFile(), "Sample", "--out", pdf, "--param", "X"},
       "--param needs NAME=VALUE: X"},
      {{"report", SourceProjectFile(), "Sample", "--out", pdf, "--param", "A=1", "--param", "A=2"},
       "--param A given more than once"},
      {{"export", File, "--csv", Out("p.csv"), "--form", "W-2"},
       "unknown form W-2 (1098, 1099-DIV, 1099-INT, 1099-MISC, 1099-NEC, 1099-R, 1099-S or all)"},
  };
  for (const auto& c : cases) ExpectRefused(c.Args, c.Message);
}

// A word that is no command, or an option before any command, is named with the nearest one.
TEST_F(BatchOptionsTest, AnUnknownCommandNamesTheNearestOne) {
  const struct {
    QStringList Args;
    QString Message;
  } cases[] = {
      {{"prnit", File}, "unknown command prnit; did you mean print?"},
      {{"--verison"}, "unknown option --verison; did you mean --version?"},
      {{"frobnicate"}, "unknown command frobnicate"},
      {{}, "missing COMMAND"},
      {{"help", "print", "dump"}, "unexpected argument \"dump\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args.join(' ').toStdString());
    const TBatchRun run = RunBatch(c.Args);
    EXPECT_EQ(run.Code, 2);
    EXPECT_TRUE(run.Err.contains(QStringLiteral(": %1\n").arg(c.Message))) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(QStringLiteral("\nusage: papyra-batch ")))
        << run.Err.toStdString();
    EXPECT_EQ(run.Out, QString());
  }
  const TBatchRun help = RunBatch({"help", "print"});
  EXPECT_EQ(help.Code, 0);
  EXPECT_TRUE(help.Out.startsWith("usage: papyra-batch print FILE.PE25 "))
      << help.Out.toStdString();
}
}  // namespace
