// A second process for the sharing tests.
//   storage_lock_probe probe FILE  opens FILE read-write with deny-write sharing and prints
//                                  "read-write" or "browse-only".
//   storage_lock_probe hold FILE   opens it the same way, prints the mode, and keeps it open
//                                  until a line arrives on standard input.
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <string>

#include "platform/MessageCodes.h"
#include "storage/Notices.h"
#include "storage/RecordSet.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // Only the mode it opened in counts: what the record file would tell the user is not shown.
  SetStorageNotice(
      [](const QString&, const QString&, int flags) { return DefaultMsgAnswer(flags); });
  const QStringList args = app.arguments();
  if (args.size() != 3) return 2;
  TRecordSet set;
  set.SetRecSize(64);
  set.SetFileName(args[2]);
  set.SetFileShareMode(smShareDenyWrite);
  set.SetAutoCreate(false);
  set.OpenRecSet();
  if (!set.Active()) return 1;
  std::printf("%s\n", set.BrowseOnly() ? "browse-only" : "read-write");
  std::fflush(stdout);
  if (args[1] == QLatin1String("hold")) {
    std::string line;
    std::getline(std::cin, line);
  }
  set.CloseRecSet();
  return 0;
}
