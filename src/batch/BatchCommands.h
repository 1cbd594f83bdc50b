#pragma once
// papyra-batch is a set of subcommands; each file Batch*.cpp registers its own, with the options
// and arguments it takes. main parses the command line against them before the command runs: a
// command sees only command lines that fit what it declared.
#include <QStringList>
#include <QTextStream>

#include "platform/CommandLine.h"

// Returns the process exit code: 0 done, 2 bad input (with a message on err).
using TBatchFn = int (*)(const TParsedCommand& args, QTextStream& out, QTextStream& err);

struct TBatchCommand {
  const char* name;
  const char* usage;    // without "papyra-batch "
  const char* summary;  // one sentence for "COMMAND --help"
  TCommandSpec syntax;
  TBatchFn run;
};

bool RegisterBatchCommand(const TBatchCommand& command);

#define PAPYRA_BATCH_COMMAND(name, usage, summary, syntax, fn) \
  static const bool registered_##fn = RegisterBatchCommand({name, usage, summary, syntax, fn});

// A command line that fits the declared options but not the command (a value of the wrong form,
// options that do not go together): main prints the message and the command's usage line and
// ends with exit code 2, as for an unknown option.
struct TUsageError {
  QString Message;
};
