#include "engine/DisplayList.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

quint32 GreyColor(double darkness) {
  const double d = std::clamp(darkness, 0.0, 1.0);
  const quint32 level = quint32(std::lround(255.0 * (1.0 - d)));
  return (level << 16) | (level << 8) | level;
}

TDisplayItem TDisplayItem::MakeText(double x, double y, const QString& text, const TFontSpec& font,
                                    TAlign align) {
  TDisplayItem item;
  item.Kind = TItemKind::Text;
  item.X = x;
  item.Y = y;
  item.Text = text;
  item.Font = font;
  item.Align = align;
  item.Color = font.Color;
  return item;
}

TDisplayItem TDisplayItem::MakeLine(double x1, double y1, double x2, double y2, double width,
                                    quint32 color) {
  TDisplayItem item;
  item.Kind = TItemKind::Line;
  item.X = x1;
  item.Y = y1;
  item.X2 = x2;
  item.Y2 = y2;
  item.PenWidth = width;
  item.Color = color;
  return item;
}

TDisplayItem TDisplayItem::MakeRect(double left, double top, double right, double bottom,
                                    double penWidth, bool outline, bool filled, quint32 fillColor,
                                    quint32 color) {
  TDisplayItem item;
  item.Kind = TItemKind::Rect;
  item.X = std::min(left, right);
  item.Y = std::min(top, bottom);
  item.X2 = std::max(left, right);
  item.Y2 = std::max(top, bottom);
  item.PenWidth = penWidth;
  item.Outline = outline;
  item.Filled = filled;
  item.FillColor = fillColor;
  item.Color = color;
  return item;
}

TDisplayItem TDisplayItem::MakeBar(double left, double top, double right, double bottom) {
  TDisplayItem item = MakeRect(left, top, right, bottom, 0, false, true, clBlack, clBlack);
  item.Kind = TItemKind::Bar;
  return item;
}

namespace {
QString Num(double v) {
  return QString::number(v, 'f', 3);
}
QString Rgb(quint32 c) {
  return QStringLiteral("%1").arg(c & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

QString StyleText(quint8 style) {
  QString s;
  if (style & fsBold) s += QLatin1Char('B');
  if (style & fsItalic) s += QLatin1Char('I');
  if (style & fsUnderline) s += QLatin1Char('U');
  if (style & fsStrikeOut) s += QLatin1Char('S');
  return s.isEmpty() ? QStringLiteral("-") : s;
}

QString AlignText(TAlign a) {
  switch (a) {
    case TAlign::Center:
      return QStringLiteral("center");
    case TAlign::Right:
      return QStringLiteral("right");
    default:
      return QStringLiteral("left");
  }
}

QString Quoted(const QString& text) {
  QString q = text;
  q.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
  q.replace(QLatin1Char('"'), QLatin1String("\\\""));
  q.replace(QLatin1Char('\n'), QLatin1String("\\n"));
  return QLatin1Char('"') + q + QLatin1Char('"');
}

QString Corners(const TDisplayItem& i) {
  return QStringLiteral("l=%1 t=%2 r=%3 b=%4").arg(Num(i.X), Num(i.Y), Num(i.X2), Num(i.Y2));
}
}  // namespace

QString DisplayItemText(const TDisplayItem& i) {
  QString s;
  switch (i.Kind) {
    case TItemKind::Text:
      s = QStringLiteral("text x=%1 y=%2 font=%3 size=%4 style=%5 align=%6 color=%7 %8")
              .arg(Num(i.X), Num(i.Y), Quoted(i.Font.Name), QString::number(i.Font.Size),
                   StyleText(i.Font.Style), AlignText(i.Align), Rgb(i.Font.Color), Quoted(i.Text));
      break;
    case TItemKind::Line:
      s = QStringLiteral("line x1=%1 y1=%2 x2=%3 y2=%4 width=%5 color=%6")
              .arg(Num(i.X), Num(i.Y), Num(i.X2), Num(i.Y2), Num(i.PenWidth), Rgb(i.Color));
      break;
    case TItemKind::Rect:
      s = QStringLiteral("rect %1 width=%2 outline=%3 fill=%4 radius=%5")
              .arg(Corners(i), Num(i.PenWidth), i.Outline ? Rgb(i.Color) : QStringLiteral("-"),
                   i.Filled ? Rgb(i.FillColor) : QStringLiteral("-"), Num(i.Radius));
      break;
    case TItemKind::Bar:
      s = QStringLiteral("bar %1").arg(Corners(i));
      break;
  }
  if (i.PreviewOnly) s += QStringLiteral(" preview");
  return s;
}

QString DisplayListText(const TReportJob& job) {
  QString out = QStringLiteral("job title=%1 width=%2 height=%3 pages=%4\n")
                    .arg(Quoted(job.Title), Num(job.PageWidth), Num(job.PageHeight))
                    .arg(job.PageCount());
  for (int p = 0; p < job.PageCount(); ++p) {
    for (const TDisplayItem& item : job.Pages[p].Items)
      out += QStringLiteral("page %1 ").arg(p + 1) + DisplayItemText(item) + QLatin1Char('\n');
  }
  return out;
}
