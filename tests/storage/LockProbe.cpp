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

#include "platform/MsgBox.h"
#include "storage/RecordSet.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  MsgBoxScript::Enable(true);
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
