#include "controls/EnterAsTab.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>

#include "EditTestHost.h"
#include "TestSupport.h"
#include "controls/CheckBoxEdit.h"
#include "controls/FilterEdit.h"
#include "controls/StateEdit.h"

namespace {
// A small screen: a filter edit, a state edit, a check box edit and another filter edit, in
// that tab order.
struct TScreen {
  explicit TScreen(QWidget* form) {
    name = new TFilterEdit(form);
    name->setObjectName("PayeeName");
    state = new TStateEdit(form);
    state->setObjectName("State");
    corrected = new TCheckBoxEdit(form);
    corrected->setObjectName("Corrected");
    zip = new TFilterEdit(form);
    zip->setObjectName("Zip");
    int y = 10;
    for (QWidget* w : Controls()) {
      w->move(10, y);
      y += 30;
    }
    enterAsTab = new TEnterAsTab(form);
    enterAsTab->SetParentForm(form);
  }
  QList<QWidget*> Controls() const { return {name, state, corrected, zip}; }
  QString Focused() const {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
  }
  TFilterEdit* name;
  TStateEdit* state;
  TCheckBoxEdit* corrected;
  TFilterEdit* zip;
  TEnterAsTab* enterAsTab;
};
}  // namespace

TEST(EnterAsTabTest, NewComponentMovesOnEnterButDoesNotClose) {
  TEnterAsTab component;
  EXPECT_TRUE(component.EnterAsTabKey());
  EXPECT_FALSE(component.EscapeAsClose());
  EXPECT_EQ(component.ParentForm(), nullptr);
}

// Enter pressed in each control in turn, and where the focus goes.
TEST(EnterAsTabTest, EnterMovesThroughTheTabOrderAndWrapsRound) {
  TEditTestHost host;
  TScreen screen(&host);
  screen.enterAsTab->SetParentForm(&host);  // the same form again changes nothing
  host.ShowActive();
  screen.name->setFocus();
  QStringList visited;
  for (int i = 0; i < 5; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    visited << screen.Focused();
  }
  EXPECT_EQ(visited.join(' '), "State Corrected Zip PayeeName State");
  EXPECT_FALSE(screen.corrected->Checked());
  EXPECT_EQ(screen.state->ItemIndex(), -1);
}

TEST(EnterAsTabTest, EnterStaysPutWhenSwitchedOff) {
  TEditTestHost host;
  TScreen screen(&host);
  screen.enterAsTab->SetEnterAsTabKey(false);
  host.ShowActive();
  screen.zip->setFocus();
  QTest::keyClick(screen.zip, Qt::Key_Return);
  EXPECT_EQ(screen.Focused(), "Zip");
}

TEST(EnterAsTabTest, FocusedPushButtonIsPressedByEnter) {
  TEditTestHost host;
  TScreen screen(&host);
  auto* button = host.Place(new QPushButton("OK"), 200, 10);
  QSignalSpy clicked(button, &QPushButton::clicked);
  host.ShowActive();
  button->setFocus();
  QTest::keyClick(button, Qt::Key_Return);
  EXPECT_EQ(clicked.count(), 1);
  EXPECT_TRUE(button->hasFocus());
}

TEST(EnterAsTabTest, EscapeClosesOnlyWhenAsked) {
  const struct {
    bool escapeAsClose;
    bool closed;
  } cases[] = {{false, false}, {true, true}};
  for (const auto& c : cases) {
    TEditTestHost host;
    TScreen screen(&host);
    screen.enterAsTab->SetEscapeAsClose(c.escapeAsClose);
    host.ShowActive();
    screen.name->setFocus();
    QTest::keyClick(screen.name, Qt::Key_Escape);
    EXPECT_EQ(host.isVisible(), !c.closed) << c.escapeAsClose;
  }
}

TEST(EnterAsTabTest, EscapeEndsAModalScreenWithTheCancelResult) {
  QDialog dialog;
  TScreen screen(&dialog);
  screen.enterAsTab->SetEscapeAsClose(true);
  QString focusedWhenShown;
  WhenModal([&](QWidget* shown) {
    QApplication::setActiveWindow(shown);
    screen.zip->setFocus();
    focusedWhenShown = screen.Focused();
    QTest::keyClick(screen.zip, Qt::Key_Escape);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_EQ(focusedWhenShown, "Zip");
}

TEST(EnterAsTabTest, KeyPreviewSeesKeysBeforeTheFocusedControl) {
  TEditTestHost host;
  TScreen screen(&host);
  QStringList seen;
  screen.enterAsTab->OnKeyDown = [&](int key, Qt::KeyboardModifiers mods) {
    if (mods != Qt::AltModifier || key < Qt::Key_A || key > Qt::Key_Z) return false;
    seen << QString(QChar(key));
    return true;
  };
  host.ShowActive();
  for (QWidget* w : screen.Controls()) {
    w->setFocus();
    QTest::keyClick(w, Qt::Key_N, Qt::AltModifier);
  }
  QTest::keyClick(screen.zip, Qt::Key_7);
  EXPECT_EQ(seen.join(""), "NNNN");
  EXPECT_EQ(screen.zip->text(), "7");
}

TEST(EnterAsTabTest, KeysOfOtherWindowsAreLeftAlone) {
  TEditTestHost host;
  TScreen screen(&host);
  TEditTestHost other;
  auto* a = other.Place(new QLineEdit, 10, 10);
  other.Place(new QLineEdit, 10, 40);
  other.ShowActive();
  a->setFocus();
  QTest::keyClick(a, Qt::Key_Return);
  EXPECT_TRUE(a->hasFocus());
}
