#pragma once
// TPdfWriter: display-list pages straight into PDF, a page at a time. Texts use the standard PDF
// fonts in WinAnsi encoding (the record files' own code page), so nothing is embedded and each
// text is a single show-text operator. The face that repeats on every page of a form job (rules,
// boxes, captions, the payer's block) goes into the document once as a form object that every
// page places; what changes from page to page is drawn on the page itself. Each page is
// compressed and written as soon as it is added and nothing of it is kept, so memory does not
// grow with the page count.
//
// Only the fonts the standard set can draw are accepted (CanDraw); a job with others goes
// through Qt's PDF engine, which embeds them.
#include <QByteArray>
#include <QString>
#include <memory>

#include "engine/DisplayList.h"

class QIODevice;

// PDF document information.
struct TPdfInfo {
  QString Title;
  QString Subject;
  QString Creator;  // the publisher; also used as author and producer
  int Resolution = 1200;
};

class TPdfWriter {
 public:
  // Writes to out, which the caller has opened for writing and closes (or commits) after
  // Finish. nameForMessages names the target in error messages.
  TPdfWriter(QIODevice& out, const QString& nameForMessages, const TPdfInfo& info, double pageWidth,
             double pageHeight);
  ~TPdfWriter();
  TPdfWriter(const TPdfWriter&) = delete;
  TPdfWriter& operator=(const TPdfWriter&) = delete;

  static bool CanDraw(const TFontSpec& font);
  static bool CanDraw(const TReportJob& job);

  // Throws EReportException when the target cannot be written.
  void AddPage(const TPage& page);
  void Finish();  // at least one page is written, blank if none was added
  int PageCount() const;

 private:
  class TImpl;
  std::unique_ptr<TImpl> D;
};

// The document's XMP metadata: title, subject, author, producer and creator tool.
QByteArray PdfXmpMetadata(const TPdfInfo& info);

// Width of a text in the standard PDF font that draws this font, in inches (WinAnsi metrics).
double PdfTextWidthInches(const TFontSpec& font, const QString& text);
