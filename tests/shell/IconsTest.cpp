// The button bar's form pictures: the form's number sits on the page, clear of its folded corner.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "shell/Icons.h"

namespace {
// The red ink of a form's number, as opposed to the page and its outline.
bool IsInk(QRgb px) {
  return qAlpha(px) > 60 && qRed(px) > 120 && qGreen(px) < 110 && qBlue(px) < 110;
}
}  // namespace

TEST(Icons, FormNumbersStayClearOfTheFoldedCorner) {
  for (const char* kind : {"form:1096", "form:1098", "form:1099 DIV", "form:1099 MISC",
                           "form:1099 NEC", "form:1099 R", "form:1099"}) {
    SCOPED_TRACE(kind);
    const QImage image = ButtonIcon(kind).pixmap(24, 24).toImage().scaled(24, 24);
    int ink = 0, inCorner = 0;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 24; ++x) {
        if (!IsInk(image.pixel(x, y))) continue;
        ++ink;
        // The fold runs from (17, 1) to (22, 6).
        if (x >= 16 && y <= 6) ++inCorner;
      }
    }
    EXPECT_GT(ink, 20) << "the number is drawn";
    EXPECT_EQ(inCorner, 0);
  }
}
