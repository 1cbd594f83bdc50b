#pragma once
// papyra-batch is a set of subcommands; each file Batch*.cpp registers its own.
#include <QStringList>
#include <QTextStream>

// Returns the process exit code: 0 done, 2 bad input (with a message on err).
using TBatchFn = int (*)(const QStringList& args, QTextStream& out, QTextStream& err);

struct TBatchCommand {
  const char* name;
  const char* usage;    // without "papyra-batch "
  const char* summary;  // one sentence for "COMMAND --help"
  TBatchFn run;
};

bool RegisterBatchCommand(const TBatchCommand& command);

#define PAPYRA_BATCH_COMMAND(name, usage, summary, fn) \
  static const bool registered_##fn = RegisterBatchCommand({name, usage, summary, fn});

// "--out FILE" style options: the value after the flag, or def when absent.
QString OptionValue(const QStringList& args, const QString& flag, const QString& def = {});
// Arguments that are neither flags nor flag values.
QStringList Positional(const QStringList& args);
