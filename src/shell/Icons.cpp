#include "shell/Icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace {
const QColor kInk(0x20, 0x30, 0x40);
const QColor kTeal(0x00, 0x80, 0x80);
const QColor kPaper(0xFF, 0xFF, 0xF4);

void Page(QPainter& p, QRectF r, const QColor& fill = kPaper) {
  QPainterPath path;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - 5, r.top());
  path.lineTo(r.right(), r.top() + 5);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(fill);
  p.drawPath(path);
}

void Person(QPainter& p, QPointF at, const QColor& c) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawEllipse(at + QPointF(-3, -9), 3.5, 3.5);
  p.drawRoundedRect(QRectF(at.x() - 6, at.y() - 4, 12, 9), 3, 3);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c) {
  p.setPen(QPen(c, 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(from, to);
  const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
  const QPointF n(-d.y(), d.x());
  p.setBrush(c);
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF({to + d * 2, to - d * 4 + n * 4, to - d * 4 - n * 4}));
}

void DrawKind(QPainter& p, const QString& kind) {
  if (kind == QLatin1String("open")) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(0xF0, 0xC0, 0x50));
    p.drawRect(QRectF(2, 7, 20, 13));
    p.setBrush(QColor(0xF8, 0xD8, 0x78));
    p.drawPolygon(QPolygonF({QPointF(5, 11), QPointF(23, 11), QPointF(20, 20), QPointF(2, 20)}));
  } else if (kind == QLatin1String("new")) {
    Page(p, QRectF(5, 2, 14, 19));
    p.setPen(QPen(kTeal, 2));
    p.drawLine(QPointF(17, 15), QPointF(23, 15));
    p.drawLine(QPointF(20, 12), QPointF(20, 18));
  } else if (kind == QLatin1String("payer")) {
    Person(p, QPointF(12, 15), kTeal);
    p.setPen(QPen(kInk, 1));
    p.drawLine(QPointF(3, 21), QPointF(21, 21));
  } else if (kind == QLatin1String("payee")) {
    Person(p, QPointF(8, 15), QColor(0x40, 0x70, 0xB0));
    Person(p, QPointF(16, 17), kTeal);
  } else if (kind == QLatin1String("backup")) {
    Page(p, QRectF(2, 2, 12, 16));
    Arrow(p, QPointF(12, 12), QPointF(21, 20), kTeal);
  } else if (kind == QLatin1String("restore")) {
    Page(p, QRectF(10, 6, 12, 16));
    Arrow(p, QPointF(4, 3), QPointF(13, 12), QColor(0xB0, 0x50, 0x20));
  } else if (kind == QLatin1String("saveas")) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(0x50, 0x70, 0xA0));
    p.drawRect(QRectF(3, 3, 18, 18));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 3, 10, 7));
    p.drawRect(QRectF(6, 14, 12, 7));
  } else if (kind == QLatin1String("help")) {
    p.setPen(Qt::NoPen);
    p.setBrush(kTeal);
    p.drawEllipse(QRectF(2, 2, 20, 20));
    p.setPen(Qt::white);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
  } else if (kind.startsWith(QLatin1String("form:"))) {
    Page(p, QRectF(2, 1, 20, 22),
         kind.endsWith(QLatin1String("96")) ? QColor(0xFF, 0xEE, 0xEE) : kPaper);
    p.setPen(QColor(0xC0, 0x20, 0x20));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(kind.size() - 5 > 3 ? 7 : 8);
    f.setBold(true);
    p.setFont(f);
    // The number sits below the folded corner (the top 6 pixels at the right), the form's
    // letters under it.
    const QString label = kind.mid(5);
    p.drawText(QRectF(3, 7, 18, 7), Qt::AlignCenter, label.left(4));
    if (label.size() > 4) p.drawText(QRectF(2, 14, 20, 7), Qt::AlignCenter, label.mid(5));
  }
}
}  // namespace

QIcon ButtonIcon(const QString& kind) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pm(24 * scale, 24 * scale);
    pm.setDevicePixelRatio(scale);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    DrawKind(p, kind);
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}
