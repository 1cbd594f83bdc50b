#pragma once
// Helpers the engine tests share: finding items in a display list, running poppler's tools, and
// installing a printer target for the length of a test.
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <memory>
#include <ostream>

#include "engine/DisplayList.h"
#include "engine/PrinterTarget.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

// Items of one kind on a page (0-based).
QList<TDisplayItem> ItemsOf(const TReportJob& job, int page, TItemKind kind);
// The first text item with exactly this text; fails the test when missing.
TDisplayItem TextItem(const TReportJob& job, const QString& text, int page = 0);

// A word of `pdftotext -bbox` output, in points.
struct TPdfWord {
  int Page = 0;  // 1-based
  double XMin = 0, YMin = 0, XMax = 0, YMax = 0;
  QString Text;
};
bool HaveTool(const QString& name);
QList<TPdfWord> PdfWords(const QString& pdfFile);
QString PdfInfo(const QString& pdfFile);  // output of pdfinfo

// Installs a printer target globally and restores the system's on destruction.
class TTargetScope {
 public:
  explicit TTargetScope(std::shared_ptr<TPrinterTarget> target) { SetPrinterTarget(target); }
  ~TTargetScope() { SetPrinterTarget(nullptr); }
};

// A small job with every kind of item, for snapshot and renderer tests.
TReportJob SampleJob();
