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
const char* const kRenderUsage =
    "render SNAPSHOT --out FILE.pdf|.html|.png|.txt [--pages FROM-TO]  (--pages: the pages a "
    ".png output writes, one file each)";
const char* const kReportUsage =
    "report PROJECT REPORT --out FILE [--copies N] [--param NAME=VALUE]... [--pages FROM-TO]  "
    "(--pages with a .png output only)";
const TCommandSpec kRenderSpec = {{TOptionSpec::Value(QStringLiteral("--out")).Needed(),
                                   TOptionSpec::Value(QStringLiteral("--pages"))},
                                  {QStringLiteral("SNAPSHOT")}};
const TCommandSpec kReportSpec = {{TOptionSpec::Value(QStringLiteral("--out")).Needed(),
                                   TOptionSpec::Value(QStringLiteral("--copies")),
                                   TOptionSpec::Value(QStringLiteral("--param")).Repeated(),
                                   TOptionSpec::Value(QStringLiteral("--pages"))},
                                  {QStringLiteral("PROJECT"), QStringLiteral("REPORT")}};

bool IsPng(const QString& target) {
  return QFileInfo(target).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0;
}

// The pages a PNG export writes: --pages FROM-TO, or every page of a job small enough to need
// no choice. One PNG file per page; thousands of files are never written by accident.
bool PngRange(const TParsedCommand& args, int pageCount, int& first, int& last, QTextStream& err) {
  const QString pages = args.Value(QStringLiteral("--pages"));
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

// --pages chooses the PNG files to write; other outputs hold every page.
void RefusePagesUnlessPng(const TParsedCommand& args, const QString& target) {
  if (args.Has(QStringLiteral("--pages")) && !IsPng(target))
    throw TUsageError{QStringLiteral("--pages goes only with a .png output")};
}

// Writes the snapshot; every page is checked as it is drawn, and the target is replaced only
// when the whole output is written.
int WritePngOrExport(const TSnapshotReader& reader, const QString& source,
                     const TParsedCommand& args, const QString& target, QTextStream& out,
                     QTextStream& err) {
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

int RenderSnapshot(const TParsedCommand& args, QTextStream& out, QTextStream& err) {
  const QString source = args.Arguments().first();
  const QString target = args.Value(QStringLiteral("--out"));
  if (target.isEmpty()) throw TUsageError{QStringLiteral("--out needs a file name")};
  RefusePagesUnlessPng(args, target);
  RegisterFontSubstitutions();
  TSnapshotReader reader;
  reader.Open(source);  // refuses a damaged or foreign file before anything is written
  return WritePngOrExport(reader, source, args, target, out, err);
}

// Every --param is NAME=VALUE; a name given twice would leave one of its values unused.
QStringList ReportParams(const TParsedCommand& args) {
  const QStringList params = args.Values(QStringLiteral("--param"));
  QStringList names;
  for (const QString& p : params) {
    const QString name = p.section(QLatin1Char('='), 0, 0);
    if (!p.contains(QLatin1Char('=')) || name.isEmpty())
      throw TUsageError{QStringLiteral("--param needs NAME=VALUE: %1").arg(p)};
    if (names.contains(name))
      throw TUsageError{QStringLiteral("--param %1 given more than once").arg(name)};
    names.append(name);
  }
  return params;
}

int ReportCopies(const TParsedCommand& args) {
  const QString text = args.Value(QStringLiteral("--copies"), QStringLiteral("1"));
  bool ok = false;
  const int copies = text.toInt(&ok);
  if (!ok || copies < 1 || copies > 100000)
    throw TUsageError{QStringLiteral("--copies must be a number from 1 to 100000: %1").arg(text)};
  return copies;
}

int RunReport(const TParsedCommand& args, QTextStream& out, QTextStream& err) {
  const QStringList names = args.Arguments();
  const QString target = args.Value(QStringLiteral("--out"));
  if (target.isEmpty()) throw TUsageError{QStringLiteral("--out needs a file name")};
  const int copies = ReportCopies(args);
  const QStringList params = ReportParams(args);
  RefusePagesUnlessPng(args, target);
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
                     "Renders a saved print snapshot to PDF, HTML, PNG or text.", kRenderSpec,
                     RenderSnapshot)
PAPYRA_BATCH_COMMAND("report", kReportUsage,
                     "Runs one report of a report project with the given parameters.", kReportSpec,
                     RunReport)
