// Label sheets and POSTNET bars as the mailing labels use them.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/LabelLayout.h"
#include "engine/PagePrinter.h"
#include "engine/PostNet.h"
#include "engine/RenderHtml.h"

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

TEST(PostNet, ZipPlusFourGivesFiftyTwoBarsWithTheCheckDigit) {
  TPostNetBarcode bar;
  bar.SetText(QStringLiteral("12345-6789"));
  EXPECT_EQ(bar.Digits(), QStringLiteral("1234567895"));  // 45 + 5 = 50
  const QString pattern = bar.Pattern();
  ASSERT_EQ(pattern.size(), 52);
  EXPECT_EQ(pattern.front(), QLatin1Char('F'));
  EXPECT_EQ(pattern.back(), QLatin1Char('F'));
  for (int d = 0; d < 10; ++d)
    EXPECT_EQ(pattern.mid(1 + 5 * d, 5).count(QLatin1Char('F')), 2) << "digit " << d;
  EXPECT_EQ(TPostNetBarcode::DigitPattern(QLatin1Char('1')), QStringLiteral("hhhFF"));
  EXPECT_EQ(TPostNetBarcode::DigitPattern(QLatin1Char('0')), QStringLiteral("FFhhh"));
  struct Case {
    const char* digits;
    int check;
  };
  for (const Case c : {Case{"000000000", 0}, Case{"123456789", 5}, Case{"999999999", 9}})
    EXPECT_EQ(TPostNetBarcode::CheckDigitFor(QString::fromLatin1(c.digits)), c.check);
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
