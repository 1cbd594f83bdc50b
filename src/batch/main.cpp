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

// A wrong command gets one line, naming the commands there are.
void UnknownCommand(QTextStream& err) {
  err << "usage: papyra-batch COMMAND [ARGUMENTS], COMMAND one of "
      << QStringList(Commands().keys()).join(QStringLiteral(", "))
      << " (papyra-batch help tells more)\n";
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
         "\nSee papyra-batch(1).\n";
}

void CommandHelp(const TBatchCommand& c, QTextStream& out) {
  out << "usage: papyra-batch " << c.usage << "\n" << c.summary << "\n";
}

// --help and --version, alone or after a command; -1 when the command should run.
int AnswerInfoOptions(const QStringList& args, QTextStream& out) {
  if (args.isEmpty()) return -1;
  if (Commands().contains(args.first())) {
    if (!AsksForHelp(args.mid(1))) return -1;
    CommandHelp(Commands().value(args.first()), out);
    return 0;
  }
  if (args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
    Help(out);
    return 0;
  }
  if (args.first() == QLatin1String("--version")) {
    out << "papyra-batch " PAPYRA_VERSION "\n";
    return 0;
  }
  return -1;
}
}  // namespace

bool RegisterBatchCommand(const TBatchCommand& command) {
  Commands().insert(QString::fromLatin1(command.name), command);
  return true;
}

QString OptionValue(const QStringList& args, const QString& flag, const QString& def) {
  const qsizetype i = args.indexOf(flag);
  return (i >= 0 && i + 1 < args.size()) ? args[i + 1] : def;
}

QStringList Positional(const QStringList& args) {
  QStringList out;
  for (qsizetype i = 0; i < args.size(); ++i) {
    if (args[i].startsWith(QLatin1String("--"))) {
      ++i;  // skip the flag's value
      continue;
    }
    out.append(args[i]);
  }
  return out;
}

int main(int argc, char** argv) {
  QTextStream out(stdout), err(stderr);
  {
    // Help and version are answered before Qt starts.
    QStringList early;
    for (int i = 1; i < argc; ++i) early.append(QString::fromLocal8Bit(argv[i]));
    if (const int rc = AnswerInfoOptions(early, out); rc >= 0) return rc;
  }
  qInstallMessageHandler(QuietToolkit);
  // Fonts and painting need a GUI application, but never a screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SweepStaleFiles();
  AddProgramFontFiles();
  // Nobody is there to answer what the record files would tell or ask on screen: the notice
  // is printed and the command ends.
  SetStorageNotice([&err](const QString& text, const QString&, int) -> int {
    err << NoticeLine(text) << "\n";
    err.flush();
    throw TNoticeEnds{};
  });
  QStringList args = app.arguments().mid(1);
  if (args.value(0) == QLatin1String("help")) {
    Usage(out);
    return 0;
  }
  if (args.isEmpty() || !Commands().contains(args.first())) {
    UnknownCommand(err);
    return 2;
  }
  const TBatchCommand command = Commands().value(args.takeFirst());
  int rc = 2;
  try {
    rc = command.run(args, out, err);
  } catch (const EPapyraException& e) {
    err << e.Message() << "\n";
    rc = 2;
  } catch (const TNoticeEnds&) {
    rc = 2;
  }
  return rc;
}
