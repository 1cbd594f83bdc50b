#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

QList<TDisplayItem> ItemsOf(const TReportJob& job, int page, TItemKind kind) {
  QList<TDisplayItem> out;
  if (page < 0 || page >= job.PageCount()) return out;
  for (const TDisplayItem& i : job.Pages[page].Items)
    if (i.Kind == kind) out.append(i);
  return out;
}

TDisplayItem TextItem(const TReportJob& job, const QString& text, int page) {
  for (const TDisplayItem& i : ItemsOf(job, page, TItemKind::Text))
    if (i.Text == text) return i;
  ADD_FAILURE() << "no text \"" << text.toStdString() << "\" on page " << page + 1;
  return {};
}

bool HaveTool(const QString& name) {
  return !QStandardPaths::findExecutable(name).isEmpty();
}

QList<TPdfWord> PdfWords(const QString& pdfFile) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdfFile, QStringLiteral("-")});
  p.waitForFinished(60000);
  const QString out = QString::fromUtf8(p.readAllStandardOutput());
  static const QRegularExpression page(QStringLiteral("<page "));
  static const QRegularExpression word(
      QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                     "yMax=\"([0-9.]+)\">([^<]*)</word>"));
  QList<TPdfWord> words;
  int pageNo = 0;
  for (const QString& line : out.split(QLatin1Char('\n'))) {
    if (line.contains(page)) ++pageNo;
    const auto m = word.match(line);
    if (!m.hasMatch()) continue;
    words.append({pageNo, m.captured(1).toDouble(), m.captured(2).toDouble(),
                  m.captured(3).toDouble(), m.captured(4).toDouble(), m.captured(5)});
  }
  return words;
}

QString PdfInfo(const QString& pdfFile) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), {pdfFile});
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

TReportJob SampleJob() {
  TReportJob job;
  job.Title = QStringLiteral("Sample & <job>");
  TFontSpec courier{QStringLiteral("Courier New"), 12, 0, clBlack};
  TFontSpec arial{QStringLiteral("Arial"), 8.5, fsBold | fsItalic | fsUnderline, 0x204080};
  TPage one;
  one.Items.append(TDisplayItem::MakeText(0.6, 1.0, QStringLiteral("LEFT"), courier));
  one.Items.append(
      TDisplayItem::MakeText(4.4, 1.5, QStringLiteral("1,234.56"), courier, TAlign::Right));
  one.Items.append(TDisplayItem::MakeText(4.25, 2.0, QString::fromUtf8("Caf\xC3\xA9 <&> \"q\""),
                                          arial, TAlign::Center));
  one.Items.append(TDisplayItem::MakeLine(0.5, 0.5, 8.0, 0.5, 0.02));
  one.Items.append(TDisplayItem::MakeRect(0.5, 2.5, 4.0, 3.5, 0.01, true, true, GreyColor(0.15)));
  TDisplayItem outline = TDisplayItem::MakeRect(0.2, 0.2, 2.8, 1.2, 0.01, true, false);
  outline.Radius = 0.2;
  outline.PreviewOnly = true;
  one.Items.append(outline);
  one.Items.append(TDisplayItem::MakeBar(1.0, 4.0, 1.02, 4.13));
  TPage two;
  two.Items.append(TDisplayItem::MakeText(1.0, 1.0, QStringLiteral("PAGE2"), courier));
  job.Pages = {one, two};
  return job;
}
