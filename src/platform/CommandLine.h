#pragma once
// Strict command lines for papyra and papyra-batch. Each command declares its options and its
// arguments; anything else (an unknown option, a missing value, a value outside its list, an
// option given twice, an argument too many or too few) is an error that says what is wrong, so
// a typing mistake never changes what a command does without a word.
//
// Options are "--name", "--name VALUE" or "--name=VALUE"; "--" ends the options, so an argument
// after it may start with a dash. A value that looks like an option ("--out --form") is taken
// for a missing value; "--name=--value" gives such a value on purpose.
#include <QMap>
#include <QString>
#include <QStringList>

struct TOptionSpec {
  QString Name;  // with its dashes: "--out"
  bool TakesValue = true;
  QStringList Choices;  // the values allowed; empty when any value is
  // Choices that differ only in case are accepted and read in the list's spelling.
  Qt::CaseSensitivity ChoiceCase = Qt::CaseSensitive;
  bool Repeatable = false;
  bool Required = false;

  static TOptionSpec Value(const QString& name);  // "--name VALUE"
  static TOptionSpec Flag(const QString& name);   // "--name", on or off
  TOptionSpec OneOf(const QStringList& choices, Qt::CaseSensitivity cs = Qt::CaseSensitive) const;
  TOptionSpec Repeated() const;
  TOptionSpec Needed() const;
};

struct TCommandSpec {
  QList<TOptionSpec> Options = {};
  QStringList Arguments = {};          // the names of the arguments that must be there, in order
  QStringList OptionalArguments = {};  // the names of those that may follow them
  bool MoreArguments = false;          // any number more may follow (the last name repeats)
};

// What a command line gave, in the declared spelling.
class TParsedCommand {
 public:
  bool Has(const QString& option) const;
  // The option's value (the last, for a repeatable option), or absent when it was not given.
  QString Value(const QString& option, const QString& absent = {}) const;
  QStringList Values(const QString& option) const;  // every value, in order
  const QStringList& Arguments() const { return FArguments; }

 private:
  friend QString ParseCommandLine(const TCommandSpec&, const QStringList&, TParsedCommand&);
  QStringList FDeclared;
  QMap<QString, QStringList> FValues;
  QStringList FArguments;
};

// Empty when args fit syntax (parsed then holds them); otherwise one line saying what is wrong,
// with the nearest known name where a misspelling is likely:
// "unknown option --pasword; did you mean --password?".
QString ParseCommandLine(const TCommandSpec& syntax, const QStringList& args,
                         TParsedCommand& parsed);

// The one of names that given is most likely a misspelling of: the same but for case, one edit
// away (a character inserted, deleted or changed, or two neighbours swapped), or the only name
// given begins. Empty when there is none.
QString NearestName(const QString& given, const QStringList& names,
                    Qt::CaseSensitivity cs = Qt::CaseSensitive);
