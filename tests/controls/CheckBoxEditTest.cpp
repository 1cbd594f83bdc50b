#include "controls/CheckBoxEdit.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "EditTestHost.h"

TEST(CheckBoxEditTest, NewControlHasItsPublishedDefaults) {
  TCheckBoxEdit box;
  EXPECT_EQ(box.size(), QSize(21, 21));
  EXPECT_EQ(box.maxLength(), 1);
  EXPECT_EQ(box.alignment(), Qt::AlignCenter);
  EXPECT_EQ(box.cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(box.font().family(), "Tahoma");
  EXPECT_EQ(box.font().pointSize(), 10);
  EXPECT_TRUE(box.font().bold());
  EXPECT_FALSE(box.Checked());
  EXPECT_TRUE(box.text().isEmpty());
}

TEST(CheckBoxEditTest, CheckedFollowsTheText) {
  TCheckBoxEdit box;
  QSignalSpy changes(&box, &QLineEdit::textChanged);
  box.SetChecked(true);
  EXPECT_EQ(box.text(), "X");
  EXPECT_TRUE(box.Checked());
  box.SetChecked(true);  // unchanged: no second change event
  EXPECT_EQ(changes.count(), 1);
  box.setText("x");
  EXPECT_FALSE(box.Checked()) << "only a capital X counts";
  box.SetChecked(false);
  EXPECT_EQ(box.text(), "");
  EXPECT_EQ(changes.count(), 3);
}

// What the user does ("space", "click", or keys) and the text shown after each action.
TEST(CheckBoxEditTest, OnlySpaceAndClicksToggle) {
  const struct {
    bool checked;
    bool readOnly;
    const char* actions;
    const char* shown;
  } cases[] = {
      {true, false, "space click", "- X"},
      {false, false, "click click click", "X - X"},
      {false, false, "X x \x7f \b 1 ^V", "- - - - - -"},
      {true, false, "X \x7f \b ^X", "X X X X"},
      {true, true, "space click", "X X"},
      {false, true, "space click", "- -"},
  };
  for (const auto& c : cases) {
    TEditTestHost host;
    auto* box = host.Place(new TCheckBoxEdit, 10, 10);
    box->SetChecked(c.checked);
    box->setReadOnly(c.readOnly);
    host.ShowActive();
    box->setFocus();
    QSignalSpy clicks(box, &TCheckBoxEdit::clicked);
    QStringList shown;
    int clicked = 0;
    for (const QString& action : QString::fromLatin1(c.actions).split(' ')) {
      if (action == "space") {
        QTest::keyClick(box, Qt::Key_Space);
      } else if (action == "click") {
        QTest::mouseClick(box, Qt::LeftButton);
        ++clicked;
      } else {
        TypeKeys(box, action);
      }
      shown << (box->text().isEmpty() ? QStringLiteral("-") : box->text());
    }
    EXPECT_EQ(shown.join(' '), QLatin1String(c.shown)) << c.actions;
    EXPECT_EQ(clicks.count(), clicked) << "the click event follows every click";
  }
}

TEST(CheckBoxEditTest, DoubleClickIsTwoClicks) {
  TEditTestHost host;
  auto* box = host.Place(new TCheckBoxEdit, 10, 10);
  host.ShowActive();
  QTest::mouseDClick(box, Qt::LeftButton);
  // A double click arrives as press, release, double-click press, release.
  EXPECT_FALSE(box->Checked());
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_TRUE(box->Checked());
}

TEST(CheckBoxEditTest, TabStillLeavesTheBox) {
  TEditTestHost host;
  auto* box = host.Place(new TCheckBoxEdit, 10, 10);
  auto* next = host.Place(new QLineEdit, 40, 10);
  host.ShowActive();
  TEditTestHost::FocusByTab(box);
  QTest::keyClick(box, Qt::Key_Tab);
  EXPECT_TRUE(next->hasFocus());
}
