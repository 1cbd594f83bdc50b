#include "engine/LabelLayout.h"

#include "engine/PagePrinter.h"

QRectF TLabelGeometry::LabelRect(int position) const {
  const int across = Across > 0 ? Across : 1;
  const int col = position % across, row = position / across;
  return QRectF(SpacingLeft + col * SpacingWidth, SpacingTop + row * SpacingHeight, LabelWidth,
                LabelHeight);
}

QRectF TLabelGeometry::TextArea(int position) const {
  return LabelRect(position).adjusted(Border, Border, -Border, -Border);
}

void TLabelLayout::DrawOutlines(TPagePrinter& printer) const {
  printer.ResetSection();
  const bool was = printer.PreviewOnly();
  const double pen = printer.PenWidth();
  printer.SetPreviewOnly(true);
  printer.SetPenWidth(0.01);
  for (int i = 0; i < Geometry.PerSheet(); ++i) {
    const QRectF r = Geometry.LabelRect(i);
    printer.RoundRect(r.left(), r.top(), r.right(), r.bottom(), Geometry.CornerRadius);
  }
  printer.SetPenWidth(pen);
  printer.SetPreviewOnly(was);
}

int TLabelLayout::Execute(TPagePrinter& printer) {
  const int perSheet = Geometry.PerSheet();
  if (perSheet <= 0) return 0;
  if (OnReportBefore) OnReportBefore(printer);
  int printed = 0;
  int position = 0;
  bool more = true;
  while (more) {
    if (position == perSheet) {
      printer.NewPage();
      position = 0;
    }
    if (position == 0 && DrawExtents) DrawOutlines(printer);
    const QRectF label = Geometry.LabelRect(position);
    printer.SetOrigin(label.left(), label.top());
    const double b = Geometry.Border;
    printer.SetSection(b, b, label.width() - b, label.height() - b);
    printer.GotoXY(b, b);
    if (OnLabelPrint) OnLabelPrint(printer);
    ++printed;
    ++position;
    more = OnLabelAfter ? OnLabelAfter(printer) : false;
  }
  printer.ResetSection();
  if (OnReportAfter) OnReportAfter(printer);
  return printed;
}
