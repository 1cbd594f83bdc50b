#pragma once
// TLabelLayout places one label after another on sheets of labels: it moves the page printer's
// origin to each label's corner and its section to the label less its border, calls back to have
// the label printed, and starts a new sheet when one is full.
#include <QRectF>
#include <QString>
#include <functional>

class TPagePrinter;

struct TLabelGeometry {
  QString Brand = QStringLiteral("Avery 5160");
  int Across = 3;
  int Down = 10;
  double LabelWidth = 2.625;
  double LabelHeight = 1.0;
  double SpacingLeft = 0.188;  // left edge of the first column
  double SpacingTop = 0.5;     // top edge of the first row
  double SpacingWidth = 2.75;  // one column's left edge to the next
  double SpacingHeight = 1.0;  // one row's top edge to the next
  double Border = 0.13;        // inner margin
  double CornerRadius = 0.2;   // of the outlines drawn in the preview

  static TLabelGeometry Avery5160() { return {}; }
  int PerSheet() const { return Across * Down; }
  // Label at 0-based position on a sheet (row by row), in sheet inches.
  QRectF LabelRect(int position) const;
  QRectF TextArea(int position) const;  // the label less its border
};

class TLabelLayout {
 public:
  TLabelGeometry Geometry;
  bool DrawExtents = true;  // label outlines, preview only
  std::function<void(TPagePrinter&)> OnReportBefore;
  std::function<void(TPagePrinter&)> OnLabelPrint;
  // After each label: true when another label follows.
  std::function<bool(TPagePrinter&)> OnLabelAfter;
  std::function<void(TPagePrinter&)> OnReportAfter;

  // Prints labels from row 1, column 1 of the current page until OnLabelAfter says no more (or
  // is not set: then one label). Returns the number of labels printed.
  int Execute(TPagePrinter& printer);

 private:
  void DrawOutlines(TPagePrinter& printer) const;
};
