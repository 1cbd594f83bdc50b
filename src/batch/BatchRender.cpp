// papyra-batch render: a snapshot into PDF, HTML, PNG pages or display-list text.
// papyra-batch report: a report of a report project, drawn once per copy, into a snapshot (or
// any format render writes).
#include <QFileInfo>

#include "batch/BatchCommands.h"
#include "engine/Fonts.h"
#include "engine/PagePrinter.h"
#include "engine/Render.h"
#include "engine/ReportProject.h"
#include "engine/Snapshot.h"

namespace {
int RenderSnapshot(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QStringList files = Positional(args);
  const QString target = OptionValue(args, QStringLiteral("--out"));
  if (files.size() != 1 || target.isEmpty()) {
    err << "usage: papyra-batch render SNAPSHOT --out FILE.pdf|.html|.png|.txt\n";
    return 2;
  }
  RegisterFontSubstitutions();
  TSnapshotReader reader;
  reader.Open(files.first());  // refuses a damaged or foreign file before anything is written
  ExportSnapshot(files.first(), target);
  out << reader.PageCount() << " page(s) written to " << target << "\n";
  return 0;
}

// --param NAME=VALUE may repeat; OptionValue only sees the first, so collect them here.
bool ReportParams(const QStringList& args, QStringList& params, QTextStream& err) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    if (args[i] != QLatin1String("--param")) continue;
    if (i + 1 >= args.size() || !args[i + 1].contains(QLatin1Char('='))) {
      err << "--param needs NAME=VALUE\n";
      return false;
    }
    params.append(args[++i]);
  }
  return true;
}

int RunReport(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QStringList names = Positional(args);
  const QString target = OptionValue(args, QStringLiteral("--out"));
  bool ok = true;
  const int copies = OptionValue(args, QStringLiteral("--copies"), QStringLiteral("1")).toInt(&ok);
  QStringList params;
  if (names.size() != 2 || target.isEmpty() || !ok || copies < 1 || copies > 100000 ||
      !ReportParams(args, params, err)) {
    err << "usage: papyra-batch report PROJECT REPORT --out FILE [--copies N] "
           "[--param NAME=VALUE]...\n";
    return 2;
  }
  RegisterFontSubstitutions();
  TPagePrinter printer;
  printer.SetTitle(names[1]);
  TReportProject project;
  project.SetProjectFile(names[0]);
  project.SetEngine(&printer);
  project.Open();
  project.SelectReport(names[1]);
  for (const QString& p : params) project.SetParam(p.section('=', 0, 0), p.section('=', 1));
  printer.BeginDoc();
  for (int i = 0; i < copies; ++i) {
    if (i > 0) printer.NewPage();
    project.Execute();
  }
  printer.EndDoc();
  project.Close();
  ExportJob(printer.Job(), target);
  out << printer.PageCount() << " page(s) written to " << target << "\n";
  return 0;
}
}  // namespace

PAPYRA_BATCH_COMMAND("render", "render SNAPSHOT --out FILE.pdf|.html|.png|.txt",
                     "Renders a saved print snapshot to PDF, HTML, PNG or text.", RenderSnapshot)
PAPYRA_BATCH_COMMAND("report",
                     "report PROJECT REPORT --out FILE [--copies N] [--param NAME=VALUE]...",
                     "Runs one report of a report project with the given parameters.", RunReport)
