#include "platform/CommandLine.h"

namespace {
bool SameLengthOneEdit(const QString& a, const QString& b, Qt::CaseSensitivity cs) {
  qsizetype first = 0;
  while (first < a.size() && QString::compare(a.mid(first, 1), b.mid(first, 1), cs) == 0) ++first;
  if (first == a.size()) return false;  // the same
  const auto rest = [&](qsizetype from) {
    return QString::compare(a.mid(from), b.mid(from), cs) == 0;
  };
  if (rest(first + 1)) return true;  // one character changed
  // Two neighbours swapped.
  return first + 1 < a.size() && QString::compare(a.mid(first, 1), b.mid(first + 1, 1), cs) == 0 &&
         QString::compare(a.mid(first + 1, 1), b.mid(first, 1), cs) == 0 && rest(first + 2);
}

// longer is shorter with one character more.
bool OneInserted(const QString& shorter, const QString& longer, Qt::CaseSensitivity cs) {
  for (qsizetype i = 0; i < longer.size(); ++i)
    if (QString::compare(longer.left(i) + longer.mid(i + 1), shorter, cs) == 0) return true;
  return false;
}

bool OneEditApart(const QString& a, const QString& b, Qt::CaseSensitivity cs) {
  if (a.size() == b.size()) return SameLengthOneEdit(a, b, cs);
  if (a.size() + 1 == b.size()) return OneInserted(a, b, cs);
  if (b.size() + 1 == a.size()) return OneInserted(b, a, cs);
  return false;
}

QString Undashed(const QString& name) {
  qsizetype i = 0;
  while (i < name.size() && name[i] == QLatin1Char('-')) ++i;
  return name.mid(i);
}

// "a", "a or b", "a, b or c".
QString OrList(const QStringList& items) {
  if (items.size() < 2) return items.value(0);
  return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") +
         items.last();
}

QString WithSuggestion(const QString& message, const QString& nearest) {
  return nearest.isEmpty() ? message : message + QStringLiteral("; did you mean %1?").arg(nearest);
}

const TOptionSpec* FindOption(const TCommandSpec& syntax, const QString& name) {
  for (const TOptionSpec& option : syntax.Options)
    if (option.Name == name) return &option;
  return nullptr;
}

QStringList OptionNames(const TCommandSpec& syntax) {
  QStringList names;
  for (const TOptionSpec& option : syntax.Options) names.append(option.Name);
  return names;
}

bool LooksLikeOption(const QString& arg) {
  return arg.size() > 1 && arg.startsWith(QLatin1Char('-'));
}

// The value in the list's spelling, or an error.
QString CheckChoice(const TOptionSpec& option, QString& value) {
  for (const QString& choice : option.Choices)
    if (QString::compare(choice, value, option.ChoiceCase) == 0) {
      value = choice;
      return {};
    }
  return WithSuggestion(QStringLiteral("invalid value \"%1\" for %2 (%3)")
                            .arg(value, option.Name, OrList(option.Choices)),
                        NearestName(value, option.Choices, Qt::CaseInsensitive));
}

class TParser {
 public:
  TParser(const TCommandSpec& syntax, QMap<QString, QStringList>& values, QStringList& arguments)
      : FSpec(syntax), FValues(values), FArguments(arguments) {}

  QString Run(const QStringList& args) {
    bool options = true;
    for (qsizetype i = 0; i < args.size(); ++i) {
      const QString& arg = args[i];
      if (options && arg == QLatin1String("--")) {
        options = false;
      } else if (options && LooksLikeOption(arg)) {
        if (const QString error = Option(args, i); !error.isEmpty()) return error;
      } else {
        FArguments.append(arg);
      }
    }
    if (const QString error = MissingOption(); !error.isEmpty()) return error;
    return ArgumentCount();
  }

 private:
  const TCommandSpec& FSpec;
  QMap<QString, QStringList>& FValues;
  QStringList& FArguments;

  // The option at args[i] and its value; i moves past a value taken from the next argument.
  QString Option(const QStringList& args, qsizetype& i) {
    const qsizetype equals = args[i].indexOf(QLatin1Char('='));
    const QString name = equals < 0 ? args[i] : args[i].left(equals);
    const TOptionSpec* option = FindOption(FSpec, name);
    if (!option)
      return WithSuggestion(QStringLiteral("unknown option %1").arg(name),
                            NearestName(name, OptionNames(FSpec)));
    if (!option->Repeatable && FValues.contains(name))
      return QStringLiteral("option %1 given more than once").arg(name);
    QString value;
    if (!option->TakesValue) {
      if (equals >= 0) return QStringLiteral("option %1 takes no value").arg(name);
    } else if (equals >= 0) {
      value = args[i].mid(equals + 1);
    } else if (i + 1 < args.size() && !args[i + 1].startsWith(QLatin1String("--"))) {
      value = args[++i];
    } else {
      return QStringLiteral("option %1 needs a value").arg(name);
    }
    if (!option->Choices.isEmpty())
      if (const QString error = CheckChoice(*option, value); !error.isEmpty()) return error;
    FValues[name].append(value);
    return {};
  }

  QString MissingOption() const {
    for (const TOptionSpec& option : FSpec.Options)
      if (option.Required && !FValues.contains(option.Name))
        return QStringLiteral("missing option %1").arg(option.Name);
    return {};
  }

  QString ArgumentCount() const {
    const qsizetype needed = FSpec.Arguments.size();
    if (FArguments.size() < needed)
      return QStringLiteral("missing %1").arg(FSpec.Arguments[FArguments.size()]);
    const qsizetype most = needed + FSpec.OptionalArguments.size();
    if (!FSpec.MoreArguments && FArguments.size() > most)
      return QStringLiteral("unexpected argument \"%1\"").arg(FArguments[most]);
    return {};
  }
};
}  // namespace

TOptionSpec TOptionSpec::Value(const QString& name) {
  TOptionSpec option;
  option.Name = name;
  return option;
}

TOptionSpec TOptionSpec::Flag(const QString& name) {
  TOptionSpec option;
  option.Name = name;
  option.TakesValue = false;
  return option;
}

TOptionSpec TOptionSpec::OneOf(const QStringList& choices, Qt::CaseSensitivity cs) const {
  TOptionSpec option = *this;
  option.Choices = choices;
  option.ChoiceCase = cs;
  return option;
}

TOptionSpec TOptionSpec::Repeated() const {
  TOptionSpec option = *this;
  option.Repeatable = true;
  return option;
}

TOptionSpec TOptionSpec::Needed() const {
  TOptionSpec option = *this;
  option.Required = true;
  return option;
}

bool TParsedCommand::Has(const QString& option) const {
  Q_ASSERT_X(FDeclared.contains(option), "TParsedCommand", "an option the command did not declare");
  return FValues.contains(option);
}

QString TParsedCommand::Value(const QString& option, const QString& absent) const {
  return Has(option) ? FValues.value(option).last() : absent;
}

QStringList TParsedCommand::Values(const QString& option) const {
  return Has(option) ? FValues.value(option) : QStringList();
}

QString ParseCommandLine(const TCommandSpec& syntax, const QStringList& args,
                         TParsedCommand& parsed) {
  parsed = TParsedCommand();
  parsed.FDeclared = OptionNames(syntax);
  return TParser(syntax, parsed.FValues, parsed.FArguments).Run(args);
}

QString NearestName(const QString& given, const QStringList& names, Qt::CaseSensitivity cs) {
  for (const QString& name : names)
    if (QString::compare(name, given, Qt::CaseInsensitive) == 0) return name;
  for (const QString& name : names)
    if (OneEditApart(given, name, cs)) return name;
  // An abbreviation: only when the start given is long enough to mean one name alone.
  if (Undashed(given).size() < 2) return {};
  QStringList starting;
  for (const QString& name : names)
    if (name.startsWith(given, cs)) starting.append(name);
  return starting.size() == 1 ? starting.first() : QString();
}
