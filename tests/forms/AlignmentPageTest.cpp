// The alignment page for red copies: every item of a form's red copy table stands where the red
// copy prints it, with the same offsets, in every slot of the sheet; the rulers measure the
// paper and do not move with the offsets.
#include <QLocale>

#include "FormsFixture.h"
#include "engine/PagePrinter.h"
#include "forms/AlignmentPage.h"
#include "forms/FormFace.h"
#include "forms/FormPrint.h"
#include "forms/FormRegistry.h"
#include "storage/Globals.h"

namespace {
constexpr TFormOffsets kOffsets{0.1, -0.05};  // VO, HO

// A payee with every box of the form filled, a second name line and the payer's trade name: the
// red copy then prints every item it can.
TPayeeRecord FullPayee(const TFormDef& form) {
  TPayeeRecord p = SamplePayee(QStringLiteral("Full Payee"), QStringLiteral("123-45-6788"), 0);
  p.SetString("CompName", QStringLiteral("Second Line"));
  for (const TBoxDef& box : form.Boxes) {
    const TControlDef& c = box.Control;
    switch (c.Kind) {
      case TCtlKind::Money:
        p.SetDouble(c.Field, 1);
        break;
      case TCtlKind::Check:
        p.SetBool(c.Field, true);
        break;
      case TCtlKind::IntText:
        p.SetInt(c.Field, 1);
        break;
      case TCtlKind::Date:
        p.SetString(c.Field, QStringLiteral("06/15/2025"));
        break;
      default:
        p.SetString(c.Field, QStringLiteral("A1"));
        break;
    }
  }
  return p;
}

QList<TDisplayItem> CourierTexts(const TPage& page) {
  QList<TDisplayItem> texts;
  for (const TDisplayItem& t : Texts(page))
    if (t.Font.Name == QLatin1String("Courier New")) texts << t;
  return texts;
}

bool HasMarkAt(const TPage& page, double x, double y, TAlign align) {
  for (const TDisplayItem& t : CourierTexts(page))
    if (std::abs(t.X - x) < 1e-9 && std::abs(t.Y - y) < 1e-9 && t.Align == align) return true;
  return false;
}

bool HasLine(const TPage& page, double x1, double y1, double x2, double y2) {
  for (const TDisplayItem& i : page.Items)
    if (i.Kind == TItemKind::Line && std::abs(i.X - x1) < 1e-9 && std::abs(i.Y - y1) < 1e-9 &&
        std::abs(i.X2 - x2) < 1e-9 && std::abs(i.Y2 - y2) < 1e-9)
      return true;
  return false;
}

TPage AlignmentPage(const TFormDef& form, const TFormOffsets& offsets) {
  TPagePrinter printer;
  printer.BeginDoc();
  PrintAlignmentPage(form, printer, offsets);
  printer.EndDoc();
  return printer.TakeJob().Pages.value(0);
}

class AlignmentPageTest : public TFormsTest {};

TEST_F(AlignmentPageTest, EachMarkStandsWhereTheRedCopyPrintsWithTheOffsets) {
  for (const TFormDef* form : FormDefs()) {
    SCOPED_TRACE(form->Name);
    OpenPayerFile(SamplePayer(), {FullPayee(*form)});
    TPagePrinter red;
    red.BeginDoc();
    ASSERT_EQ(PrintRedCopies(*form, red, kOffsets), 1);
    red.EndDoc();
    const TPage printed = red.TakeJob().Pages.value(0);
    const TPage page = AlignmentPage(*form, kOffsets);
    ClosePayerFile();

    // Every text of the red copy in the first slot has its mark, in every slot of the sheet.
    const auto tops = form->RedCopy.SlotTops;
    ASSERT_FALSE(Texts(printed).isEmpty());
    for (size_t slot = 0; slot < tops.size(); ++slot) {
      const double down = tops[slot] - tops[0];
      for (const TDisplayItem& t : Texts(printed))
        EXPECT_TRUE(HasMarkAt(page, t.X, t.Y + down, t.Align))
            << "slot " << slot + 1 << ": " << t.Text.toStdString() << " at " << t.X << ", "
            << t.Y + down;
      // The cross-hair at the slot's corner moves with the offsets.
      const double x = kSlotCornerX + kOffsets.HO, y = tops[slot] + kOffsets.VO;
      EXPECT_TRUE(HasLine(page, x - 0.12, y, x + 0.12, y)) << "slot " << slot + 1;
      EXPECT_TRUE(HasLine(page, x, y - 0.12, x, y + 0.12)) << "slot " << slot + 1;
    }
    // No mark beyond the table's items: as many per slot as the table has places.
    const QList<TAlignmentMark> marks =
        AlignmentMarks(*form, TReportProject::LoadLayout(SourceProjectFile(), form->Report),
                       tops[0] + kOffsets.VO, kOffsets.HO);
    EXPECT_EQ(CourierTexts(page).size(), marks.size() * tops.size());
    // And the page says with which offsets it was printed.
    EXPECT_FALSE(TextsEqual(page, QStringLiteral("Alignment page for %1 red copies, printed with "
                                                 "the offsets horizontal -0.0500 and vertical "
                                                 "0.1000 inches.")
                                      .arg(QLatin1String(form->Name)))
                     .isEmpty());
  }
}

// Each mark's room is what its text has on the form: the width it is fitted to, else that of the
// program-generated form's box for the same field; its baseline rule spans that room.
TEST_F(AlignmentPageTest, MarksShowTheRoomOfTheirBoxes) {
  const TFormDef& nec = *FindFormDef(ft1099NEC);
  const TReportLayout face = TReportProject::LoadLayout(SourceProjectFile(), nec.Report);
  const QList<TAlignmentMark> marks = AlignmentMarks(nec, face, 0.47, 0);
  auto room = [&marks](const QString& item) {
    for (const TAlignmentMark& m : marks)
      if (m.Item == item) return m.Width;
    return -1.0;
  };
  EXPECT_DOUBLE_EQ(room("Payer name"), 3.2);                   // fitted to 3.2 inches
  EXPECT_DOUBLE_EQ(room("Box 1"), face.Param("Box1")->Width);  // the face's box
  EXPECT_DOUBLE_EQ(room("Account number"), face.Param("AcctNum")->Width);
  EXPECT_DOUBLE_EQ(room("Box 6, line 1"), 1.5);
  EXPECT_DOUBLE_EQ(room("CORRECTED"), 0);  // a check mark prints as itself
  const TPage page = AlignmentPage(nec, {});
  const double box1 = face.Param("Box1")->Width;
  EXPECT_TRUE(HasLine(page, 4.0, 0.47 + 1.33 + 0.02, 4.0 + box1, 0.47 + 1.33 + 0.02));
}

TEST_F(AlignmentPageTest, RulersMeasureThePaperWhateverTheOffsets) {
  const TFormDef& form = *FindFormDef(ft1099R);
  auto rulers = [](const TPage& page) {
    QList<TDisplayItem> items;
    for (const TDisplayItem& i : page.Items)
      if (i.Kind == TItemKind::Line && (i.Y2 < 0.36 || i.X2 < 0.36)) items << i;
    return items;
  };
  const TPage plain = AlignmentPage(form, {});
  const TPage moved = AlignmentPage(form, kOffsets);
  EXPECT_EQ(rulers(plain), rulers(moved));
  // Inches numbered along both edges, millimetres every ten.
  for (const char* text : {"1", "8", "10", "210", "270"})
    EXPECT_FALSE(TextsEqual(plain, text).isEmpty()) << text;
  EXPECT_TRUE(HasLine(plain, 1.0, 0.28 - 0.12, 1.0, 0.28));                 // the inch tick on top
  EXPECT_TRUE(HasLine(plain, 0.28, 100 / 25.4, 0.28 + 0.065, 100 / 25.4));  // 100 mm on the left
}
}  // namespace
