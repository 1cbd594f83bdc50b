#pragma once
// Renderers: a display-list page onto any QPainter (preview widget, QImage, QPdfWriter, a
// printer), and whole jobs into PNG, PDF, HTML or text files. Printers are fed by
// engine/ReportPrinter.h.
#include <QIODevice>
#include <QImage>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <functional>

#include "engine/DisplayList.h"
#include "engine/PdfWriter.h"

class QPainter;
class QIODevice;
class TSnapshotReader;

struct TRenderOptions {
  double DpiX = 96;  // device pixels per inch on the painter (zoom included)
  double DpiY = 96;
  QPointF Origin;           // device position of the sheet's top-left corner
  bool Preview = false;     // draw preview-only items (label outlines)
  bool PaintPaper = false;  // fill the sheet white first
};

// Paints page pageIndex (0-based) of the job. Out-of-range pages paint nothing.
void PaintPage(QPainter& painter, const TReportJob& job, int pageIndex,
               const TRenderOptions& options);

// The same for a page on its own (pages read one at a time from a snapshot).
void PaintPage(QPainter& painter, const TPage& page, double pageWidth, double pageHeight,
               const TRenderOptions& options);

// A page as an image at the given resolution on white paper.
QImage RenderPageImage(const TReportJob& job, int pageIndex, double dpi, bool preview = false);
// One PNG per page: NAME-1.png, NAME-2.png, ... beside fileName ("out/NAME.png"), drawn one
// page at a time. The files appear together once every page is written, or not at all.
// Returns the files written; throws EReportException when one cannot be written.
QStringList WritePngPages(const TReportJob& job, const QString& fileName, double dpi = 150);
// Pages first..last (1-based; last 0 = the last page) of a snapshot, each file keeping its page
// number.
QStringList WritePngPages(const TSnapshotReader& reader, const QString& fileName, int first = 1,
                          int last = 0, double dpi = 150);
// More pages than this in one PNG export are written only when the user asks for them.
inline constexpr int PngPageLimit = 100;

TPdfInfo DefaultPdfInfo(const TReportJob& job);  // title from the job, creator "Papyra"

// Jobs whose fonts the standard PDF fonts draw go through TPdfWriter; others through Qt's PDF
// engine, which embeds their fonts.
void WritePdf(const TReportJob& job, const QString& fileName, const TPdfInfo& info);
void WritePdf(const TReportJob& job, const QString& fileName);
// The same into a device the caller has opened and closes or commits afterwards; name is for
// messages.
void WritePdf(const TReportJob& job, QIODevice& out, const QString& name, const TPdfInfo& info);
// Straight from a snapshot, decoding one page at a time (long jobs).
void WritePdf(const TSnapshotReader& reader, const QString& fileName, const TPdfInfo& info);

// Output formats offered besides the snapshot itself, for save dialogs.
struct TExportFormat {
  QString DisplayName;  // "Adobe Portable Document (PDF)"
  QString Extensions;   // "*.pdf"
  QString Filter() const {
    return DisplayName + QStringLiteral(" (") + Extensions + QLatin1Char(')');
  }
};
QList<TExportFormat> ExportFormats();  // PDF, HTML, PNG, text

// Writes the job by the file's extension: .snp/.rpt (snapshot), .pdf, .html/.htm, .png (one file
// per page), .txt (display list text). Throws EReportException for an unknown extension or a
// file that cannot be written.
void ExportJob(const TReportJob& job, const QString& fileName);
// The same from a snapshot file; PDF is written page by page without decoding the whole job.
void ExportSnapshot(const QString& snapshotFile, const QString& fileName);
