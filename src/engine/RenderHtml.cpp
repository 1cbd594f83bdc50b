#include "engine/RenderHtml.h"

#include "engine/Fonts.h"
#include "engine/ReportFile.h"
#include "platform/Exceptions.h"

namespace {
// SVG user units are hundredths of an inch: small enough for exact placing, large enough that
// browsers never apply a minimum font size to the texts.
constexpr double kUnit = 100.0;

QString N(double inches) {
  QString s = QString::number(inches * kUnit, 'f', 3);
  while (s.endsWith(QLatin1Char('0'))) s.chop(1);
  if (s.endsWith(QLatin1Char('.'))) s.chop(1);
  return s == QLatin1String("-0") ? QStringLiteral("0") : s;
}

QString Esc(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '&':
        out += QLatin1String("&amp;");
        break;
      case '<':
        out += QLatin1String("&lt;");
        break;
      case '>':
        out += QLatin1String("&gt;");
        break;
      case '"':
        out += QLatin1String("&quot;");
        break;
      default:
        // Control characters are not allowed in XML text.
        if (c.unicode() < 0x20)
          out += QLatin1Char(' ');
        else
          out += c;
    }
  }
  return out;
}

QString Color(quint32 rgb) {
  return QStringLiteral("#%1").arg(rgb & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

QString TextItem(const TDisplayItem& i) {
  static const char* anchors[] = {"start", "middle", "end"};
  QString decoration;
  if (i.Font.Underline()) decoration += QLatin1String(" underline");
  if (i.Font.StrikeOut()) decoration += QLatin1String(" line-through");
  QString s = QStringLiteral("<text x=\"%1\" y=\"%2\" font-family=\"%3\" font-size=\"%4\"")
                  .arg(N(i.X), N(i.Y), Esc(CssFontFamily(i.Font.Name)), N(i.Font.Size / 72.0));
  if (i.Align != TAlign::Left)
    s += QStringLiteral(" text-anchor=\"%1\"").arg(QLatin1String(anchors[int(i.Align)]));
  if (i.Font.Bold()) s += QLatin1String(" font-weight=\"bold\"");
  if (i.Font.Italic()) s += QLatin1String(" font-style=\"italic\"");
  if (!decoration.isEmpty())
    s += QStringLiteral(" text-decoration=\"%1\"").arg(decoration.trimmed());
  if ((i.Font.Color & 0xFFFFFF) != 0) s += QStringLiteral(" fill=\"%1\"").arg(Color(i.Font.Color));
  return s + QLatin1Char('>') + Esc(i.Text) + QLatin1String("</text>\n");
}

QString RectItem(const TDisplayItem& i) {
  QString s = QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"")
                  .arg(N(i.X), N(i.Y), N(i.X2 - i.X), N(i.Y2 - i.Y));
  if (i.Radius > 0) s += QStringLiteral(" rx=\"%1\"").arg(N(i.Radius));
  s += QStringLiteral(" fill=\"%1\"").arg(i.Filled ? Color(i.FillColor) : QStringLiteral("none"));
  if (i.Outline)
    s += QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\"")
             .arg(Color(i.Color), N(std::max(i.PenWidth, 0.005)));
  return s + QLatin1String("/>\n");
}

QString Item(const TDisplayItem& i) {
  switch (i.Kind) {
    case TItemKind::Text:
      return TextItem(i);
    case TItemKind::Line:
      return QStringLiteral(
                 "<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" stroke-width=\"%6\" "
                 "stroke-linecap=\"square\"/>\n")
          .arg(N(i.X), N(i.Y), N(i.X2), N(i.Y2), Color(i.Color), N(std::max(i.PenWidth, 0.005)));
    case TItemKind::Rect:
      return RectItem(i);
    case TItemKind::Bar:
      return QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"/>\n")
          .arg(N(i.X), N(i.Y), N(i.X2 - i.X), N(i.Y2 - i.Y));
  }
  return {};
}

QString Head(const TReportJob& job) {
  const QString w = QString::number(job.PageWidth), h = QString::number(job.PageHeight);
  return QStringLiteral(
             "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
             "<meta name=\"generator\" content=\"Papyra\">\n<title>%1</title>\n<style>\n"
             "body { margin: 0; padding: 0.25in 0; background: #808080; }\n"
             "svg.page { display: block; margin: 0 auto 0.25in auto; background: #fff;"
             " box-shadow: 0.05in 0.05in 0.05in #404040; }\n"
             "svg.page text { white-space: pre; }\n"
             "@page { size: %2in %3in; margin: 0; }\n"
             "@media print { body { padding: 0; background: none; }"
             " svg.page { margin: 0; box-shadow: none; break-after: page; } }\n"
             "</style>\n</head>\n<body>\n")
      .arg(Esc(job.Title), w, h);
}
}  // namespace

QByteArray HtmlDocument(const TReportJob& job) {
  QString html = Head(job);
  for (int p = 0; p < job.PageCount(); ++p) {
    html += QStringLiteral(
                "<svg class=\"page\" id=\"page-%1\" xmlns=\"http://www.w3.org/2000/svg\" "
                "width=\"%2in\" height=\"%3in\" viewBox=\"0 0 %4 %5\">\n")
                .arg(p + 1)
                .arg(QString::number(job.PageWidth), QString::number(job.PageHeight),
                     N(job.PageWidth), N(job.PageHeight));
    for (const TDisplayItem& item : job.Pages[p].Items)
      if (!item.PreviewOnly) html += Item(item);
    html += QLatin1String("</svg>\n");
  }
  html += QLatin1String("</body>\n</html>\n");
  return html.toUtf8();
}

void WriteHtml(const TReportJob& job, const QString& fileName) {
  const QByteArray bytes = HtmlDocument(job);
  WriteReportFile(fileName, [&](QIODevice& device) { device.write(bytes); });
}
