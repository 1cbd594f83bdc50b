// papyra-batch: the program's routines without windows, for scripts and benchmarks.
#include <QApplication>
#include <QMap>
#include <cstdio>
#include <cstdlib>

#include "batch/BatchCommands.h"
#include "platform/Exceptions.h"
#include "platform/Services.h"
#include "storage/Notices.h"

namespace {
// A notice of the record files has been printed: the command ends with exit status 2.
struct TNoticeEnds {};

QMap<QString, TBatchCommand>& Commands() {
  static QMap<QString, TBatchCommand> commands;
  return commands;
}

// The full usage, asked for with "help".
void Usage(QTextStream& out) {
  out << "usage: papyra-batch COMMAND [ARGUMENTS]\n";
  for (const TBatchCommand& c : Commands()) out << "  papyra-batch " << c.usage << "\n";
}

QStringList CommandNames() {
  return QStringList(Commands().keys());
}

// What is not a command gets one line naming the commands there are, and the command or
// option it was most likely meant to be.
int UnknownCommand(const QString& given, QTextStream& err) {
  static const QStringList kInfoOptions = {QStringLiteral("--help"), QStringLiteral("-h"),
                                           QStringLiteral("--version")};
  if (given.isEmpty()) {
    err << "papyra-batch: missing COMMAND\n";
  } else {
    const bool option = given.startsWith(QLatin1Char('-'));
    const QString nearest = NearestName(given, option ? kInfoOptions : CommandNames());
    err << "papyra-batch: unknown " << (option ? "option " : "command ") << given;
    if (!nearest.isEmpty()) err << "; did you mean " << nearest << "?";
    err << "\n";
  }
  err << "usage: papyra-batch COMMAND [ARGUMENTS], COMMAND one of "
      << CommandNames().join(QStringLiteral(", ")) << " (papyra-batch help tells more)\n";
  return 2;
}

// A command line the command does not take: what is wrong, then how the command is used.
int UsageFailure(const TBatchCommand& c, const QString& message, QTextStream& err) {
  err << "papyra-batch " << c.name << ": " << message << "\n"
      << "usage: papyra-batch " << c.usage << "\n";
  return 2;
}

// Standard error is the tool's own: the toolkit's warnings and notes are not for its users.
void QuietToolkit(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) {
    std::fputs(qPrintable(message + QLatin1Char('\n')), stderr);
    std::abort();
  }
}

bool AsksForHelp(const QStringList& args) {
  return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
}

void Help(QTextStream& out) {
  out << "papyra-batch: Papyra's routines without windows, for scripts.\n\n";
  Usage(out);
  out << "\nOptions:\n"
         "  -h, --help     print this help and exit (after a command: that command's help)\n"
         "  --version      print the version and exit\n"
         "\nAn option a command does not know, an option without its value, a value outside\n"
         "its list or an option given twice is refused with the command's usage (exit 2).\n"
         "\nSee papyra-batch(1).\n";
}

void CommandHelp(const TBatchCommand& c, QTextStream& out) {
  out << "usage: papyra-batch " << c.usage << "\n" << c.summary << "\n";
}

// "help" alone, or "help COMMAND".
int HelpCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.isEmpty()) {
    Usage(out);
    return 0;
  }
  if (args.size() > 1) {
    err << "papyra-batch help: unexpected argument \"" << args[1] << "\"\n"
        << "usage: papyra-batch help [COMMAND]\n";
    return 2;
  }
  if (!Commands().contains(args.first())) return UnknownCommand(args.first(), err);
  CommandHelp(Commands().value(args.first()), out);
  return 0;
}

// --help and --version, alone or after a command, and the help command; -1 when a command
// should run.
int AnswerInfoOptions(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.isEmpty()) return UnknownCommand(QString(), err);
  if (Commands().contains(args.first())) {
    if (!AsksForHelp(args.mid(1))) return -1;
    CommandHelp(Commands().value(args.first()), out);
    return 0;
  }
  if (args.first() == QLatin1String("help")) return HelpCommand(args.mid(1), out, err);
  if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
    Help(out);
    return 0;
  }
  if (args.first() == QLatin1String("--version")) {
    out << "papyra-batch " PAPYRA_VERSION "\n";
    return 0;
  }
  return UnknownCommand(args.first(), err);
}

int RunCommand(const TBatchCommand& command, const TParsedCommand& args, QTextStream& out,
               QTextStream& err) {
  try {
    return command.run(args, out, err);
  } catch (const TUsageError& e) {
    return UsageFailure(command, e.Message, err);
  } catch (const EPapyraException& e) {
    err << e.Message() << "\n";
  } catch (const TNoticeEnds&) {
  }
  return 2;
}
}  // namespace

bool RegisterBatchCommand(const TBatchCommand& command) {
  Commands().insert(QString::fromLatin1(command.name), command);
  return true;
}

int main(int argc, char** argv) {
  QTextStream out(stdout), err(stderr);
  QStringList args;
  for (int i = 1; i < argc; ++i) args.append(QString::fromLocal8Bit(argv[i]));
  // Help, version and a command line that does not fit are answered before Qt starts.
  if (const int rc = AnswerInfoOptions(args, out, err); rc >= 0) return rc;
  const TBatchCommand command = Commands().value(args.takeFirst());
  TParsedCommand parsed;
  if (const QString error = ParseCommandLine(command.syntax, args, parsed); !error.isEmpty())
    return UsageFailure(command, error, err);
  qInstallMessageHandler(QuietToolkit);
  // Fonts and painting need a GUI application, but never a screen. The toolkit sees none of
  // the arguments: it would take a value such as "-reverse" or "-style" for one of its own.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int toolkitArgc = 1;
  QApplication app(toolkitArgc, argv);
  SweepStaleFiles();
  AddProgramFontFiles();
  // Nobody is there to answer what the record files would tell or ask on screen: the notice
  // is printed and the command ends.
  SetStorageNotice([&err](const QString& text, const QString&, int) -> int {
    err << NoticeLine(text) << "\n";
    err.flush();
    throw TNoticeEnds{};
  });
  return RunCommand(command, parsed, out, err);
}
