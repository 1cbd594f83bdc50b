// Label sheets and POSTNET bars as the mailing labels use them.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/LabelLayout.h"
#include "engine/PagePrinter.h"
#include "engine/PostNet.h"
#include "engine/RenderHtml.h"
#include "platform/Exceptions.h"

TEST(LabelLayout, ThirtyOneLabelsFillASheetAndStartTheNextAtRowOneColumnOne) {
  TPagePrinter p;
  p.BeginDoc();
  TLabelLayout layout;
  int next = 1;
  const int count = 31;
  layout.OnReportBefore = [](TPagePrinter& pp) { pp.SetFont(QStringLiteral("Arial"), 9); };
  layout.OnLabelPrint = [&](TPagePrinter& pp) {
    pp.SetYPos(0.38);
    pp.Println(QStringLiteral("PAYEE %1").arg(next));
    pp.Println(QStringLiteral("STREET"));
  };
  layout.OnLabelAfter = [&](TPagePrinter&) { return ++next <= count; };
  EXPECT_EQ(layout.Execute(p), 31);
  const TReportJob& job = p.Job();
  ASSERT_EQ(job.PageCount(), 2);
  // Label 5 is row 2, column 2; label 31 is row 1, column 1 of the second sheet.
  const TDisplayItem fifth = TextItem(job, QStringLiteral("PAYEE 5"));
  EXPECT_NEAR(fifth.X, 0.188 + 2.75 + 0.13, 1e-9);
  EXPECT_NEAR(fifth.Y, 0.5 + 1.0 + 0.38, 1e-9);
  EXPECT_NEAR(TextItem(job, QStringLiteral("STREET")).Y, 0.5 + 0.38 + 0.15, 1e-9);
  const TDisplayItem last = TextItem(job, QStringLiteral("PAYEE 31"), 1);
  EXPECT_NEAR(last.X, 0.188 + 0.13, 1e-9);
  EXPECT_NEAR(last.Y, 0.5 + 0.38, 1e-9);
  // Thirty outlines on each sheet, for the preview only.
  for (int page = 0; page < 2; ++page) {
    const QList<TDisplayItem> outlines = ItemsOf(job, page, TItemKind::Rect);
    EXPECT_EQ(outlines.size(), 30);
    for (const TDisplayItem& o : outlines) {
      EXPECT_TRUE(o.PreviewOnly);
      EXPECT_DOUBLE_EQ(o.Radius, 0.2);
    }
  }
  EXPECT_FALSE(HtmlDocument(job).contains("<rect")) << "outlines never reach paper or exports";
}

namespace {
// The published POSTNET digit table, kept apart from the product: five bars per digit, two of
// them tall, weighted 7 4 2 1 0; the pair 7 + 4 stands for 0. Returns the digits between the
// frame bars, or "?" where a group of five is not a digit.
QString DecodePostNet(const QString& pattern) {
  if (pattern.size() < 2 || pattern.front() != QLatin1Char('F') ||
      pattern.back() != QLatin1Char('F') || (pattern.size() - 2) % 5 != 0)
    return QStringLiteral("frame?");
  static const int kWeights[5] = {7, 4, 2, 1, 0};
  QString digits;
  for (qsizetype at = 1; at + 5 < pattern.size(); at += 5) {
    const QString group = pattern.mid(at, 5);
    int sum = 0;
    for (int i = 0; i < 5; ++i)
      if (group[i] == QLatin1Char('F')) sum += kWeights[i];
    const bool twoTall = group.count(QLatin1Char('F')) == 2;
    digits += !twoTall ? QLatin1Char('?') : sum == 11 ? QLatin1Char('0') : QChar(u'0' + sum);
  }
  return digits;
}
}  // namespace

TEST(PostNet, BarsDecodeToTheDigitsAndTheirCheckDigit) {
  struct Case {
    const char* text;
    const char* digits;  // with the check digit
    int bars;
  };
  const Case cases[] = {
      {"12345-6789", "1234567895", 52},       // 45 + 5 = 50
      {"00000-0000", "0000000000", 52},       // 0 is the pair 7 + 4
      {"99999-9999", "9999999999", 52},       // 81 + 9 = 90
      {"62704", "627041", 32},                // a five-digit ZIP code
      {"12345-6789-01", "123456789014", 62},  // delivery point: eleven digits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TPostNetBarcode bar;
    bar.SetText(QString::fromLatin1(c.text));
    EXPECT_EQ(bar.Digits(), QString::fromLatin1(c.digits));
    const QString pattern = bar.Pattern();
    EXPECT_EQ(pattern.size(), c.bars);
    EXPECT_EQ(DecodePostNet(pattern), QString::fromLatin1(c.digits));
  }
  TPostNetBarcode plain;
  plain.CheckDigit = false;
  plain.SetText(QStringLiteral("12345-6789"));
  EXPECT_EQ(plain.Digits(), QStringLiteral("123456789"));
  EXPECT_EQ(DecodePostNet(plain.Pattern()), QStringLiteral("123456789"));
  plain.SetText(QStringLiteral("no digits"));
  EXPECT_TRUE(plain.Pattern().isEmpty());
  EXPECT_EQ(plain.Width(), 0.0);
}

TEST(PostNet, CheckDigitBringsTheSumToAMultipleOfTen) {
  struct Case {
    const char* digits;
    int check;
  };
  for (const Case c : {Case{"000000000", 0}, Case{"123456789", 5}, Case{"999999999", 9},
                       Case{"100000000", 9}, Case{"55555-5555", 5}})
    EXPECT_EQ(TPostNetBarcode::CheckDigitFor(QString::fromLatin1(c.digits)), c.check) << c.digits;
}

TEST(PostNet, TooManyDigitsAreRefusedNotDrawnWrong) {
  TPostNetBarcode bar;
  bar.SetText(QString(60, QLatin1Char('1')));
  EXPECT_THROW(bar.Pattern(), EReportException);
}

TEST(PostNet, BarsStandOnTheBottomLineFromTheLeftEdge) {
  TPagePrinter p;
  p.BeginDoc();
  p.SetOrigin(0.188, 0.5);
  TPostNetBarcode bar(&p);
  bar.SetText(QStringLiteral("12345-6789"));
  bar.Bottom = 0.70 + 0.13;
  bar.Print();
  const QList<TDisplayItem> bars = ItemsOf(p.Job(), 0, TItemKind::Bar);
  ASSERT_EQ(bars.size(), 52);
  EXPECT_NEAR(bars[0].X, 0.188 + 0.13, 1e-9);
  EXPECT_NEAR(bars[0].X2 - bars[0].X, 0.02, 1e-9);
  for (const TDisplayItem& b : bars) EXPECT_NEAR(b.Y2, 0.5 + 0.83, 1e-9);
  EXPECT_NEAR(bars[0].Y, 0.5 + 0.70, 1e-9) << "a full frame bar is 0.13 inch tall";
  EXPECT_NEAR(bars[1].Y2 - bars[1].Y, 0.05, 1e-9) << "the digit 1 starts with a half bar";
  EXPECT_TRUE(ItemsOf(p.Job(), 0, TItemKind::Text).isEmpty()) << "no readable digits";
}
