#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "app/ProgramIcon.h"

// The icon is built into the program (a resource of a static library, read through the SVG
// icon engine): it must draw at the sizes of menus, title bars and task switchers.
TEST(ProgramIcon, DrawsAtTheSizesDesktopsAskFor) {
  const QIcon icon = ProgramIcon();
  ASSERT_FALSE(icon.isNull());
  for (const int size : {16, 32, 48, 256}) {
    SCOPED_TRACE(size);
    const QImage image = icon.pixmap(size, size).toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), size);
    // The tile fills the middle; the corners outside its rounding stay clear.
    EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
  }
}
