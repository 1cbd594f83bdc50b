// The strict command line: what a command declared is read, anything else is an error that
// names its cause.
#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace {
const TCommandSpec& Spec() {
  static const TCommandSpec syntax = {
      {TOptionSpec::Value("--out").Needed(), TOptionSpec::Value("--password"),
       TOptionSpec::Value("--kind").OneOf({"program", "redcopy"}),
       TOptionSpec::Value("--form").OneOf({"1099-NEC", "1099-R"}, Qt::CaseInsensitive),
       TOptionSpec::Flag("--per-recipient"), TOptionSpec::Value("--param").Repeated()},
      {"FILE.PE25"}};
  return syntax;
}

QString Error(const QStringList& args, const TCommandSpec& syntax = Spec()) {
  TParsedCommand parsed;
  return ParseCommandLine(syntax, args, parsed);
}

TEST(CommandLine, NearestNameIsOneEditAwayOrTheSameButForCase) {
  const QStringList names = {"--password", "--per-recipient", "--mask-ssn",
                             "--form",     "--form-type",     "--out"};
  const struct {
    const char* Given;
    const char* Nearest;
  } cases[] = {
      {"--pasword", "--password"},         // a letter left out
      {"--passwword", "--password"},       // one too many
      {"--passward", "--password"},        // one changed
      {"--psasword", "--password"},        // two neighbours swapped
      {"--fomr", "--form"},                // swapped at the end
      {"--mask-sn", "--mask-ssn"},         //
      {"-out", "--out"},                   // one dash short
      {"--OUT", "--out"},                  // case alone
      {"--per-recip", "--per-recipient"},  // the only name that starts so
      {"--form-typ", "--form-type"},       // one edit from --form-type, not from --form
      {"--fo", ""},                        // starts two names
      {"--pswd", ""},                      // three edits
      {"--bogus", ""},                     //
      {"--oxx", ""},                       // two changes
      {"--tuo", ""},                       // a swap of letters that are not neighbours
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Given);
    EXPECT_EQ(NearestName(c.Given, names).toStdString(), c.Nearest);
  }
}

TEST(CommandLine, RefusesWhatTheCommandDidNotDeclare) {
  const struct {
    QStringList Args;
    const char* Error;
  } cases[] = {
      {{"a.PE25", "--out", "x.pdf", "--pasword", "zip"},
       "unknown option --pasword; did you mean --password?"},
      {{"a.PE25", "--out", "x.pdf", "--bogus"}, "unknown option --bogus"},
      {{"a.PE25", "--out", "x.pdf", "-x"}, "unknown option -x"},
      {{"a.PE25", "--out"}, "option --out needs a value"},
      // A value that looks like an option is taken for a missing value.
      {{"a.PE25", "--out", "--kind", "program"}, "option --out needs a value"},
      {{"a.PE25", "--out", "x.pdf", "--kind", "programm"},
       "invalid value \"programm\" for --kind (program or redcopy); did you mean program?"},
      {{"a.PE25", "--out", "x.pdf", "--kind", "x"},
       "invalid value \"x\" for --kind (program or redcopy)"},
      {{"a.PE25", "--out", "x.pdf", "--kind="},
       "invalid value \"\" for --kind (program or redcopy)"},
      {{"a.PE25", "--out", "x.pdf", "--out", "y.pdf"}, "option --out given more than once"},
      {{"a.PE25", "--out", "x.pdf", "--per-recipient", "--per-recipient"},
       "option --per-recipient given more than once"},
      {{"a.PE25", "--out", "x.pdf", "--per-recipient=yes"},
       "option --per-recipient takes no value"},
      {{"a.PE25"}, "missing option --out"},
      {{"--out", "x.pdf"}, "missing FILE.PE25"},
      {{"a.PE25", "b.PE25", "--out", "x.pdf"}, "unexpected argument \"b.PE25\""},
      // The first fault from the left is the one told.
      {{"a.PE25", "--bogus", "--out"}, "unknown option --bogus"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Args.join(' ').toStdString());
    EXPECT_EQ(Error(c.Args).toStdString(), c.Error);
  }
}

TEST(CommandLine, ReadsValuesOfEveryForm) {
  TCommandSpec syntax = Spec();
  syntax.OptionalArguments = {"MORE"};
  TParsedCommand parsed;
  ASSERT_EQ(ParseCommandLine(syntax,
                             {"--form", "1099-nec", "--param", "A=1", "--out=x=y.pdf", "a.PE25",
                              "--param=B=2", "--password", "-secret", "--", "--not-an-option"},
                             parsed),
            QString());
  EXPECT_EQ(parsed.Value("--form"), "1099-NEC");  // the list's spelling
  EXPECT_EQ(parsed.Values("--param"), QStringList({"A=1", "B=2"}));
  EXPECT_EQ(parsed.Value("--param"), "B=2");
  EXPECT_EQ(parsed.Value("--out"), "x=y.pdf");       // split at the first "=" only
  EXPECT_EQ(parsed.Value("--password"), "-secret");  // one dash is a value
  EXPECT_EQ(parsed.Arguments(), QStringList({"a.PE25", "--not-an-option"}));
  EXPECT_FALSE(parsed.Has("--per-recipient"));
  EXPECT_EQ(parsed.Value("--kind", "program"), "program");
  EXPECT_TRUE(parsed.Values("--kind").isEmpty());
}

TEST(CommandLine, ArgumentsMayBeOptionalOrRepeat) {
  // papyra's own line: an optional payer file whose path may come in words.
  const TCommandSpec syntax = {{}, {}, {"FILE.PE25"}, true};
  TParsedCommand parsed;
  EXPECT_EQ(ParseCommandLine(syntax, {}, parsed), QString());
  EXPECT_TRUE(parsed.Arguments().isEmpty());
  EXPECT_EQ(ParseCommandLine(syntax, {"My", "Payer.PE25"}, parsed), QString());
  EXPECT_EQ(parsed.Arguments(), QStringList({"My", "Payer.PE25"}));
  EXPECT_EQ(ParseCommandLine(syntax, {"--verbose"}, parsed), "unknown option --verbose");
  // One optional argument and no more.
  const TCommandSpec one = {{}, {"PROJECT"}, {"REPORT"}};
  EXPECT_EQ(Error({"p", "r"}, one), QString());
  EXPECT_EQ(Error({"p", "r", "s"}, one), "unexpected argument \"s\"");
  EXPECT_EQ(Error({}, one), "missing PROJECT");
}
}  // namespace
