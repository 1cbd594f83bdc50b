#include "controls/FilterEdit.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include "EditTestHost.h"
#include "TestHooks.h"
#include "platform/Application.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"

namespace {
// The set a description should give, written as the characters it holds plus code ranges.
TCharSet Codes(int from, int to) {
  TCharSet s;
  for (int c = from; c <= to; ++c) s.set(c);
  return s;
}
TCharSet Chars(const char* chars) {
  return CharSet(QLatin1String(chars));
}
}  // namespace

TEST(FilterEditTest, NewControlHasItsPublishedDefaults) {
  TFilterEdit edit;
  EXPECT_EQ(edit.size(), QSize(121, 21));
  EXPECT_EQ(edit.ValidChars(), "[]");
  EXPECT_TRUE(edit.ValidCharSet().none());
  EXPECT_FALSE(edit.BeepOnInvalid());
  EXPECT_FALSE(edit.RequiredField());
  EXPECT_EQ(edit.CharCase(), ecNormal);
  EXPECT_TRUE(edit.alignment() & Qt::AlignLeft);
  EXPECT_TRUE(edit.text().isEmpty());
}

TEST(FilterEditTest, SetDescriptionsGiveTheirCharacters) {
  const struct {
    const char* description;
    TCharSet expected;
  } cases[] = {
      {"[]", {}},
      {"[0..9]", Codes('0', '9')},
      {"[0..9,-]", Codes('0', '9') | Chars("-")},
      {"[A..Z,0..9]", Codes('A', 'Z') | Codes('0', '9')},
      {"[A..Z,0..9,-]", Codes('A', 'Z') | Codes('0', '9') | Chars("-")},
      {"[1..9,A..H,J,K,L,M,N,P,Q,R,S,T,U,W,Y]",
       Codes('1', '9') | Codes('A', 'H') | Chars("JKLMNPQRSTUWY")},
      {"[A..Z,a..z,0..9,!,@,#,$,%,&,(,),-,_,{,}, ,',']",
       Codes('A', 'Z') | Codes('a', 'z') | Codes('0', '9') | Chars("!@#$%&()-_{} ,")},
      // Only the last of several characters between separators counts.
      {"[abc,xy]", Chars("cy")},
      // A range whose start lies above its end adds nothing; "a.." ends at the dot.
      {"[z..a]", {}},
      {"[a..]", {}},
      {"[-..]", Codes('-', '.')},
      // A dot that opens an element ranges from code 0 up to the dot.
      {"[.]", Codes(0, '.')},
      // Quoted characters lose their meaning as separators or range marks.
      {"['.',']']", Chars(".]")},
      // A quote that eats the closing bracket leaves its element unclosed and unadded.
      {"[a,']", Chars("a")},
      // Only the low 8 bits of a character count.
      {"[\xc5\x81]", Chars("A")},  // U+0141 is 0x41 modulo 256
  };
  for (const auto& c : cases) {
    TFilterEdit edit;
    edit.SetValidChars(QString::fromUtf8(c.description));
    EXPECT_EQ(edit.ValidCharSet(), c.expected) << c.description;
    EXPECT_EQ(edit.ValidChars(), QString::fromUtf8(c.description));
  }
}

TEST(FilterEditTest, LaterDescriptionsAddToTheSetAndBadOnesChangeNothing) {
  TFilterEdit edit;
  edit.SetValidChars("[0..9]");
  edit.SetValidChars("[A..Z]");
  EXPECT_EQ(edit.ValidCharSet(), Codes('0', '9') | Codes('A', 'Z'));

  for (const char* bad : {"0..9", "", "[0..9", "0..9]"}) {
    edit.SetValidChars(QLatin1String(bad));
    EXPECT_EQ(edit.ValidChars(), QStringLiteral("Invalid format ") + QLatin1String(bad));
    EXPECT_EQ(edit.ValidCharSet(), Codes('0', '9') | Codes('A', 'Z')) << bad;
  }
}

// One row per field set-up: what the user types and what the field then shows.
TEST(FilterEditTest, TypedKeysAreConvertedThenFiltered) {
  const struct {
    const char* validChars;
    TEditCharCase charCase;
    bool beep;
    QString start;
    QString keys;
    QString expected;
    int beeps;
  } cases[] = {
      {"[0..9,-]", ecNormal, false, "", "12-a b3\b4", "12-4", 0},
      {"[0..9,-]", ecNormal, true, "", "12-a b3\b4", "12-4", 3},
      {"[A..Z,0..9,-]", ecUpperCase, false, "", "ab-1", "AB-1", 0},
      {"[A..Z,0..9]", ecUpperCase, true, "", "x9-y", "X9Y", 1},
      {"[a..z]", ecLowerCase, false, "", "AbC1", "abc", 0},
      {"[]", ecNormal, true, "", "Hello, World!", "Hello, World!", 0},
      // Alt+letters belong to the window, not to the text.
      {"[]", ecNormal, true, "", "a@Xb", "ab", 0},
      {"[]", ecUpperCase, false, "", "mixed Case 7", "MIXED CASE 7", 0},
      // Every letter each way, so no single letter can be left out of the conversion.
      {"[A..Z]", ecUpperCase, true, "", "abcdefghijklmnopqrstuvwxyz", "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
       0},
      {"[a..z]", ecLowerCase, true, "", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz",
       0},
      // Codes above 255 are never in a set; without a set every character is admitted.
      {"[A..Z]", ecNormal, true, "",
       QString::fromUtf8("A\xc5\x81"
                         "B"),
       "AB", 1},
      {"[]", ecNormal, false, "",
       QString::fromUtf8("\xe2\x82\xac"
                         "5"),
       QString::fromUtf8("\xe2\x82\xac"
                         "5"),
       0},
      {"[\xe9]", ecNormal, false, "",
       QString::fromUtf8("\xc3\xa9"
                         "e"),
       QString::fromUtf8("\xc3\xa9"), 0},
      // The case commands work on the whole text, whatever the set.
      {"[]", ecNormal, false, "john  o'neil-smith", "^L", "John  O'neil-smith", 0},
      {"[]", ecNormal, false, "  mary ANN mc-DONALD ", "^L", "Mary Ann Mc-donald", 0},
      {"[]", ecNormal, false, "   ", "^L", "", 0},
      {"[0..9]", ecNormal, false, "abc-def 12", "^U", "ABC-DEF 12", 0},
      {"[]", ecNormal, false, QString::fromLatin1("\xe9t\xe9 x"), "^U",
       QString::fromLatin1("\xe9T\xe9 X"), 0},
  };
  for (const auto& c : cases) {
    TEditTestHost host;
    auto* edit = host.Place(new TFilterEdit, 10, 10);
    edit->SetValidChars(QLatin1String(c.validChars));
    edit->SetCharCase(c.charCase);
    edit->SetBeepOnInvalid(c.beep);
    edit->setText(c.start);
    host.ShowActive();
    edit->setFocus();
    edit->end(false);
    const int beepsBefore = BeepCount();
    TypeKeys(edit, c.keys);
    EXPECT_EQ(edit->text(), c.expected) << c.validChars << " " << c.keys.toStdString();
    EXPECT_EQ(BeepCount() - beepsBefore, c.beeps) << c.validChars << " " << c.keys.toStdString();
  }
}

TEST(FilterEditTest, ProgramAssignedTextIsNotFiltered) {
  TFilterEdit edit;
  edit.SetValidChars("[0..9]");
  edit.setText("AB-12");
  EXPECT_EQ(edit.text(), "AB-12");
}

TEST(FilterEditTest, CapitalizeFirstStartsEveryWordAfterASpace) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"new york", "New York"},
      {" o'brien-smith jr.", "O'brien-smith Jr."},
      {"a  b", "A  B"},
      {"1st avenue", "1st Avenue"},
      {"\t\n", ""},
  };
  for (const auto& c : cases) {
    TFilterEdit edit;
    edit.setText(QLatin1String(c.text));
    edit.CapitalizeFirst();
    EXPECT_EQ(edit.text(), QLatin1String(c.expected));
  }
}

class FilterEditPasteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    edit = host.Place(new TFilterEdit, 10, 10);
    edit->SetValidChars("[0..9,-]");
    host.ShowActive();
    edit->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("12ab-3\n4 x"));
  }
  TEditTestHost host;
  TFilterEdit* edit = nullptr;
};

TEST_F(FilterEditPasteTest, KeyboardPasteKeepsOnlyAdmittedCharacters) {
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit->text(), "12-34");
  QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(edit->text(), "12-3412-34");
}

TEST_F(FilterEditPasteTest, ContextMenuPasteKeepsOnlyAdmittedCharacters) {
  bool pasted = false;
  QTimer::singleShot(0, TestScope(), [&pasted]() {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    for (QAction* a : menu->actions())
      if (a->text().startsWith("&Paste")) {
        a->trigger();
        pasted = true;
      }
    menu->close();
  });
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), edit->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(edit, &event);
  EXPECT_TRUE(pasted);
  EXPECT_EQ(edit->text(), "12-34");
}

// Offscreen there is no drag in progress to deliver a drop, so the drop is handed over directly.
struct TDropTarget : TFilterEdit {
  using TFilterEdit::dropEvent;
};

TEST_F(FilterEditPasteTest, DroppedTextIsFilteredToo) {
  TDropTarget target;
  target.SetValidChars("[0..9,-]");
  QMimeData data;
  data.setText("9x-8");
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  target.dropEvent(&drop);
  EXPECT_EQ(target.text(), "9-8");
}

TEST_F(FilterEditPasteTest, ReadOnlyFieldTakesNothing) {
  edit->setReadOnly(true);
  edit->setText("55");
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  TypeKeys(edit, "7^U");
  EXPECT_EQ(edit->text(), "55");
}

class FilterEditFocusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    first = host.Place(new TFilterEdit, 10, 10);
    second = host.Place(new TFilterEdit, 10, 40);
    other = host.Place(new QLineEdit, 10, 70);
    host.ShowActive();
    TEditTestHost::FocusByTab(other);
    MsgBoxScript::Clear();
  }
  TEditTestHost host;
  TFilterEdit* first = nullptr;
  TFilterEdit* second = nullptr;
  QLineEdit* other = nullptr;
};

TEST_F(FilterEditFocusTest, EnteringRaisesEnterThenSelectsEverything) {
  first->setText("Acme Corp");
  QString selectedDuringEnter = "unset";
  QObject::connect(first, &TFilterEdit::entered,
                   [&]() { selectedDuringEnter = first->selectedText(); });
  // Focus set by the program: the line edit itself would not select anything.
  first->setFocus(Qt::OtherFocusReason);
  EXPECT_EQ(selectedDuringEnter, "");
  EXPECT_EQ(first->selectedText(), "Acme Corp");
}

TEST_F(FilterEditFocusTest, RequiredFieldLeftBlankComplainsAndTakesTheFocusBack) {
  const struct {
    const char* text;
    bool complains;
  } cases[] = {{"", true}, {"   ", true}, {" x ", false}};
  for (const auto& c : cases) {
    first->SetRequiredField(true);
    first->setText(QLatin1String(c.text));
    TEditTestHost::FocusByTab(first);
    MsgBoxScript::Clear();
    int messagesAtExit = -1;
    auto conn = QObject::connect(first, &TFilterEdit::exited,
                                 [&]() { messagesAtExit = MsgBoxScript::Log().size(); });
    TEditTestHost::FocusByTab(other);
    QObject::disconnect(conn);
    EXPECT_EQ(messagesAtExit, 0) << "the exit event runs before the check";
    if (c.complains) {
      ASSERT_EQ(MsgBoxScript::Log().size(), 1) << c.text;
      EXPECT_EQ(MsgBoxScript::Log()[0].text, "This field is required!");
      EXPECT_EQ(MsgBoxScript::Log()[0].caption, AppTitle());
      EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbWarning);
      EXPECT_TRUE(first->hasFocus());
    } else {
      EXPECT_TRUE(MsgBoxScript::Log().isEmpty()) << c.text;
      EXPECT_TRUE(other->hasFocus());
    }
  }
}

TEST_F(FilterEditFocusTest, OneBlankFieldGivesOneMessageEvenWhenTheNextIsBlankToo) {
  first->SetRequiredField(true);
  second->SetRequiredField(true);
  TEditTestHost::FocusByTab(first);
  TEditTestHost::FocusByTab(second);
  EXPECT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_TRUE(first->hasFocus());
}

TEST_F(FilterEditFocusTest, FieldThatCannotTakeTheFocusBackSaysSo) {
  first->SetRequiredField(true);
  TEditTestHost::FocusByTab(first);
  first->setEnabled(false);
  TEditTestHost::Settle();
  ASSERT_EQ(MsgBoxScript::Log().size(), 2);
  EXPECT_EQ(MsgBoxScript::Log()[0].text, "This field is required!");
  EXPECT_EQ(MsgBoxScript::Log()[1].text,
            "A non-fatal error has occured in the\nprogram. Click on Ok to continue.");
  EXPECT_EQ(MsgBoxScript::Log()[1].flags, mbError);
  EXPECT_FALSE(first->hasFocus());
}

TEST_F(FilterEditFocusTest, SwitchingWindowsIsNotLeavingTheField) {
  first->SetRequiredField(true);
  TEditTestHost::FocusByTab(first);
  QWidget otherWindow;
  otherWindow.show();
  QApplication::setActiveWindow(&otherWindow);
  TEditTestHost::Settle();
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
}
