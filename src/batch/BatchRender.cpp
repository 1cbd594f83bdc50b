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
#include "platform/SafeFile.h"

namespace {
const char* const kRenderUsage = "render SNAPSHOT --out FILE.pdf|.html|.png|.txt [--pages FROM-TO]";
const char* const kReportUsage =
    "report PROJECT REPORT --out FILE [--copies N] [--param NAME=VALUE]... [--pages FROM-TO]";

bool IsPng(const QString& target) {
  return QFileInfo(target).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0;
}

// The pages a PNG export writes: --pages FROM-TO, or every page of a job small enough to need
// no choice. One PNG file per page; thousands of files are never written by accident.
bool PngRange(const QStringList& args, int pageCount, int& first, int& last, QTextStream& err) {
  const QString pages = OptionValue(args, QStringLiteral("--pages"));
  if (pages.isEmpty()) {
    first = 1;
    last = pageCount;
    if (pageCount <= PngPageLimit) return true;
    err << "The job has " << pageCount << " pages; a PNG export of more than " << PngPageLimit
        << " pages needs --pages FROM-TO\n";
    return false;
  }
  bool okFirst = false, okLast = false;
  first = pages.section(QLatin1Char('-'), 0, 0).toInt(&okFirst);
  last = pages.section(QLatin1Char('-'), 1).toInt(&okLast);
  if (okFirst && okLast && first >= 1 && first <= last && last <= pageCount) return true;
  err << "--pages must be FROM-TO within 1-" << pageCount << ": " << pages << "\n";
  return false;
}

// Writes the snapshot; every page is checked as it is drawn, and the target is replaced only
// when the whole output is written.
int WritePngOrExport(const TSnapshotReader& reader, const QString& source, const QStringList& args,
                     const QString& target, QTextStream& out, QTextStream& err) {
  if (!IsPng(target)) {
    ExportSnapshot(source, target);
    out << reader.PageCount() << " page(s) written to " << target << "\n";
    return 0;
  }
  int first = 1, last = 0;
  if (!PngRange(args, reader.PageCount(), first, last, err)) return 2;
  const QStringList written = WritePngPages(reader, target, first, last);
  out << written.size() << " page(s) written to " << target << "\n";
  return 0;
}

int RenderSnapshot(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QStringList files = Positional(args);
  const QString target = OptionValue(args, QStringLiteral("--out"));
  if (files.size() != 1 || target.isEmpty()) {
    err << "usage: papyra-batch " << kRenderUsage << "\n";
    return 2;
  }
  RegisterFontSubstitutions();
  CheckRegularFile(files.first());
  RefuseOwnInput(target, files.first());
  TSnapshotReader reader;
  reader.Open(files.first());  // refuses a damaged or foreign file before anything is written
  return WritePngOrExport(reader, files.first(), args, target, out, err);
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
    err << "usage: papyra-batch " << kReportUsage << "\n";
    return 2;
  }
  RegisterFontSubstitutions();
  RefuseOwnInput(target, names[0]);
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
  if (IsPng(target)) {
    TSnapshotReader reader;
    reader.OpenBytes(SnapshotBytes(printer.Job()), names[1]);
    return WritePngOrExport(reader, QString(), args, target, out, err);
  }
  ExportJob(printer.Job(), target);
  out << printer.PageCount() << " page(s) written to " << target << "\n";
  return 0;
}
}  // namespace

PAPYRA_BATCH_COMMAND("render", kRenderUsage,
                     "Renders a saved print snapshot to PDF, HTML, PNG or text.", RenderSnapshot)
PAPYRA_BATCH_COMMAND("report", kReportUsage,
                     "Runs one report of a report project with the given parameters.", RunReport)
