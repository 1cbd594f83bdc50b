// What print routines rely on from the page printer: where each operation puts its text, the
// font rules, the stacks, line height and page numbers.
#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/Fonts.h"
#include "engine/PagePrinter.h"

namespace {
class PagePrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    P.BeginDoc();
    P.SetFont(QStringLiteral("Courier New"), 12);
  }
  TDisplayItem Last() const { return P.Job().Pages.last().Items.last(); }
  TPagePrinter P;
};
}  // namespace

TEST_F(PagePrinterTest, DefaultsAreInchesAtFullScaleWithPageOneOpen) {
  EXPECT_EQ(P.Units(), TUnits::Inch);
  EXPECT_EQ(P.UnitsFactor(), 1.0);
  EXPECT_EQ(P.ScaleX(), 100.0);
  EXPECT_EQ(P.ScaleY(), 100.0);
  EXPECT_EQ(P.CurrentPage(), 1);
  EXPECT_EQ(P.PageCount(), 1);
  EXPECT_DOUBLE_EQ(P.Job().PageWidth, 8.5);
  EXPECT_DOUBLE_EQ(P.Job().PageHeight, 11.0);
}

TEST_F(PagePrinterTest, EachPrintOperationAnchorsItsTextOnTheBaseline) {
  struct Case {
    const char* name;
    std::function<void(TPagePrinter&)> print;
    double x, y;
    TAlign align;
  };
  const QString t = QStringLiteral("123-45-6789");
  const double w = TextWidthInches(P.Font(), t);
  ASSERT_GT(w, 0.5);  // 11 monospaced characters at 12 points: 1.1 inch
  const std::vector<Case> cases = {
      {"PrintXY", [&](TPagePrinter& p) { p.PrintXY(0.6, 1.0, t); }, 0.6, 1.0, TAlign::Left},
      {"PrintLeft", [&](TPagePrinter& p) { p.PrintLeft(t, 1.25); }, 1.25, 2.0, TAlign::Left},
      {"PrintRight", [&](TPagePrinter& p) { p.PrintRight(t, 4.4); }, 4.4, 2.0, TAlign::Right},
      {"PrintCenter", [&](TPagePrinter& p) { p.PrintCenter(t, 3.0); }, 3.0, 2.0, TAlign::Center},
      {"Print", [&](TPagePrinter& p) { p.Print(t); }, 0.5, 2.0, TAlign::Left},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    P.GotoXY(0.5, 2.0);
    c.print(P);
    const TDisplayItem item = Last();
    EXPECT_EQ(item.Text, t);
    EXPECT_DOUBLE_EQ(item.X, c.x);
    EXPECT_DOUBLE_EQ(item.Y, c.y);
    EXPECT_EQ(item.Align, c.align);
    EXPECT_DOUBLE_EQ(P.YPos(), c.y);
    // The cursor ends at the right end of what was printed.
    const double right = c.align == TAlign::Left     ? c.x + w
                         : c.align == TAlign::Center ? c.x + w / 2
                                                     : c.x;
    EXPECT_NEAR(P.XPos(), right, 1e-9);
  }
}

TEST_F(PagePrinterTest, PrintRightEndsAtXWhateverTheLength) {
  for (const char* text : {"1", "1,234.56", "999,999,999.99", "A much longer text of a payee"}) {
    P.PrintRight(QString::fromLatin1(text), 4.4);
    EXPECT_NEAR(P.XPos(), 4.4, 1e-12) << text;
    EXPECT_EQ(Last().Align, TAlign::Right);
    EXPECT_DOUBLE_EQ(Last().X, 4.4);
  }
}

TEST_F(PagePrinterTest, SetFontGivesAPlainBlackFontAndIgnoresSizeZero) {
  P.SetBold(true);
  P.SetItalic(true);
  P.SetUnderline(true);
  P.SetStrikeOut(true);
  P.SetFontColor(0xFF0000);
  P.SetFont(QStringLiteral("Courier New"), 12);
  EXPECT_EQ(P.Font(), (TFontSpec{QStringLiteral("Courier New"), 12, 0, clBlack}));

  P.SetBold(true);
  for (double size : {0.0, -3.0}) {
    P.SetFont(QStringLiteral("Arial"), size);
    EXPECT_EQ(P.FontName(), QStringLiteral("Courier New"));
    EXPECT_EQ(P.FontSize(), 12.0);
    EXPECT_TRUE(P.Font().Bold()) << "a refused SetFont keeps the style too";
    P.SetFontSize(size);
    EXPECT_EQ(P.FontSize(), 12.0);
  }
  P.SetFontSize(8.5);
  EXPECT_EQ(P.FontSize(), 8.5);
  EXPECT_TRUE(P.Font().Bold()) << "FontSize changes only the size";
}

TEST_F(PagePrinterTest, PushedPositionsAndFontsComeBackInReverseOrder) {
  P.GotoXY(1, 2);
  P.PushPos();
  P.GotoXY(3, 4);
  P.PushPos();
  P.PrintXY(5, 6, QStringLiteral("2025"));
  P.PopPos();
  EXPECT_EQ(P.XPos(), 3);
  EXPECT_EQ(P.YPos(), 4);
  P.PopPos();
  EXPECT_EQ(P.XPos(), 1);
  EXPECT_EQ(P.YPos(), 2);
  P.PopPos();  // one pop too many leaves the cursor alone
  EXPECT_EQ(P.XPos(), 1);
  EXPECT_EQ(P.PosStackDepth(), 0);

  const TFontSpec courier = P.Font();
  P.PushFont();
  P.SetFont(QStringLiteral("Arial"), 6);
  P.SetItalic(true);
  P.PushFont();
  P.SetFont(QStringLiteral("Coronet"), 14);
  P.PopFont();
  EXPECT_EQ(P.FontName(), QStringLiteral("Arial"));
  EXPECT_TRUE(P.Font().Italic());
  P.PopFont();
  EXPECT_EQ(P.Font(), courier);
  P.PopFont();
  EXPECT_EQ(P.Font(), courier);
  EXPECT_EQ(P.FontStackDepth(), 0);
}

TEST_F(PagePrinterTest, PrintlnMovesDownOneFifthMoreThanTheSize) {
  struct Case {
    double size, height;
  };
  for (const Case c : {Case{12, 0.2}, Case{9, 0.15}, Case{10, 1.0 / 6}}) {
    P.SetFont(QStringLiteral("Arial"), c.size);
    EXPECT_DOUBLE_EQ(P.LineHeight(), c.height);
    P.GotoXY(2.0, 3.0);
    P.Println(QStringLiteral("line"));
    EXPECT_DOUBLE_EQ(Last().X, 2.0);
    EXPECT_DOUBLE_EQ(Last().Y, 3.0);
    EXPECT_DOUBLE_EQ(P.YPos(), 3.0 + c.height);
    EXPECT_DOUBLE_EQ(P.XPos(), 0.0) << "back to the left edge of the whole sheet";
  }
}

TEST_F(PagePrinterTest, OriginAndSectionShiftPositionsUntilTheNextPage) {
  P.SetOrigin(0.188 + 2.75, 0.5 + 1.0);
  P.SetSection(0.13, 0.13, 2.495, 0.87);
  P.GotoXY(0.13, 0.25);
  P.Println(QStringLiteral("NAME"));
  P.Println(QStringLiteral("STREET"));
  EXPECT_NEAR(TextItem(P.Job(), QStringLiteral("NAME")).X, 3.068, 1e-9);
  EXPECT_NEAR(TextItem(P.Job(), QStringLiteral("NAME")).Y, 1.75, 1e-9);
  EXPECT_NEAR(TextItem(P.Job(), QStringLiteral("STREET")).X, 3.068, 1e-9);
  EXPECT_NEAR(TextItem(P.Job(), QStringLiteral("STREET")).Y, 1.95, 1e-9);
  P.NewPage();
  EXPECT_EQ(P.OriginX(), 0.0);
  EXPECT_EQ(P.SectionLeft(), 0.0);
  EXPECT_EQ(P.SectionRight(), 8.5);
  P.PrintXY(1, 1, QStringLiteral("X"));
  EXPECT_DOUBLE_EQ(TextItem(P.Job(), QStringLiteral("X"), 1).X, 1.0);
}

TEST_F(PagePrinterTest, NewPageNumbersPagesAndThreeFormsFillOneSheet) {
  // The pattern of the pre-printed routines: three forms per sheet, NewPage only while more
  // forms follow.
  struct Case {
    int forms, pages;
  };
  for (const Case c : {Case{1, 1}, Case{3, 1}, Case{4, 2}, Case{7, 3}}) {
    TPagePrinter p;
    p.BeginDoc();
    QList<int> heard;
    p.OnNewPage = [&](int page) { heard.append(page); };
    for (int form = 1; form <= c.forms; ++form) {
      p.PrintXY(0.5, 0.5 + ((form - 1) % 3) * 3.667, QStringLiteral("FORM %1").arg(form));
      if (form % 3 == 0 && form < c.forms) p.NewPage();
    }
    EXPECT_EQ(p.PageCount(), c.pages) << c.forms << " forms";
    EXPECT_EQ(p.CurrentPage(), c.pages);
    EXPECT_EQ(heard.size(), c.pages - 1);
    if (c.forms == 4) {
      EXPECT_EQ(TextItem(p.Job(), QStringLiteral("FORM 4"), 1).Y, 0.5);
    }
  }
}

TEST_F(PagePrinterTest, EmptyTextPrintsNothingAndIsNoError) {
  const qsizetype before = P.Job().Pages[0].Items.size();
  P.PrintXY(1, 1, QString());
  P.PrintRight(QString(), 4);
  P.Println(QString());
  EXPECT_EQ(P.Job().Pages[0].Items.size(), before);
  EXPECT_DOUBLE_EQ(P.YPos(), 1.2);
}

TEST_F(PagePrinterTest, DrawingOperationsRecordShapesInSheetInches) {
  P.SetPenWidth(0.02);
  P.Line(0.5, 1, 8, 1);
  P.Rectangle(4, 3, 1, 2);  // corners in any order
  P.ShadeRect(1, 1, 2, 1.5, 0.15);
  P.SetPreviewOnly(true);
  P.RoundRect(0.188, 0.5, 2.813, 1.5, 0.2);
  P.SetPreviewOnly(false);
  P.Bar(1, 2, 1.02, 2.13);
  const QList<TDisplayItem>& items = P.Job().Pages[0].Items;
  ASSERT_EQ(items.size(), 5);
  EXPECT_EQ(items[0], TDisplayItem::MakeLine(0.5, 1, 8, 1, 0.02));
  EXPECT_EQ(items[1], TDisplayItem::MakeRect(1, 2, 4, 3, 0.02, true, false));
  EXPECT_TRUE(items[2].Filled);
  EXPECT_FALSE(items[2].Outline);
  EXPECT_EQ(items[2].FillColor, GreyColor(0.15));
  EXPECT_TRUE(items[3].PreviewOnly);
  EXPECT_DOUBLE_EQ(items[3].Radius, 0.2);
  EXPECT_FALSE(items[4].PreviewOnly);
  EXPECT_EQ(items[4].Kind, TItemKind::Bar);
}

TEST_F(PagePrinterTest, PrintInBoxWrapsWordsAndKeepsTheCursor) {
  P.SetFont(QStringLiteral("Courier New"), 12);  // 0.1 inch per character
  P.GotoXY(7, 7);
  const int lines = P.PrintInBox(QStringLiteral("one two three four five six"), 1.0, 1.0, 2.05,
                                 1.55, TAlign::Left);
  EXPECT_EQ(lines, 2) << "the third line would fall below the box";
  EXPECT_EQ(TextItem(P.Job(), QStringLiteral("one two")).Y, 1.2);
  EXPECT_EQ(TextItem(P.Job(), QStringLiteral("three four")).Y, 1.4);
  EXPECT_EQ(P.XPos(), 7);
  EXPECT_EQ(P.YPos(), 7);
}

TEST(PagePrinter, PrinterChoiceFollowsTheTarget) {
  auto target = std::make_shared<TPdfPrinterTarget>(QStringLiteral("/dev/null"));
  target->SetAbilities(false, true);
  TPagePrinter p;
  p.SetPrinterTarget(target.get());
  EXPECT_EQ(p.Printers(), QStringList{QStringLiteral("PDF Test Printer")});
  EXPECT_FALSE(p.SelectPrinter(QStringLiteral("Gone")));
  EXPECT_EQ(p.PrinterName(), QStringLiteral("Gone")) << "the name is kept for the job";
  EXPECT_TRUE(p.Papers().isEmpty());
  EXPECT_TRUE(p.SelectPrinter(QStringLiteral("PDF Test Printer")));
  EXPECT_TRUE(p.Papers().contains(QStringLiteral("Legal")));
  EXPECT_FALSE(p.SupportCollate());
  EXPECT_TRUE(p.SupportDuplex());
  p.SelectPaper(QStringLiteral("Legal"));
  p.SetOrientation(TOrientation::Landscape);
  p.SetCopies(0);
  EXPECT_EQ(p.Copies(), 1);
  p.BeginDoc();
  EXPECT_DOUBLE_EQ(p.Job().PageWidth, 14.0);
  EXPECT_DOUBLE_EQ(p.Job().PageHeight, 8.5);
}
