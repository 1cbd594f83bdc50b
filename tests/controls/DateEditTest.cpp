#include "controls/DateEdit.h"

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <functional>

#include "EditTestHost.h"
#include "TestSupport.h"
#include "controls/Calendar.h"
#include "platform/Application.h"
#include "platform/MsgBox.h"

namespace {
QString Field(const QDate& d) {
  return d.toString("MM/dd/yyyy");
}
}  // namespace

class DateEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    edit = host.Place(new TDateEdit, 10, 10);
    edit->setObjectName("DateOfClosing");
    other = host.Place(new QLineEdit, 10, 40);
    host.ShowActive();
    TEditTestHost::FocusByTab(edit);
    MsgBoxScript::Clear();
  }
  // Types into the field from its first position, as a user does after entering it.
  void TypeFromStart(const QString& keys) {
    edit->setCursorPosition(0);
    TypeKeys(edit, keys);
  }
  QStringList Messages() const {
    QStringList texts;
    for (const auto& m : MsgBoxScript::Log()) texts << m.text;
    return texts;
  }
  TEditTestHost host;
  TDateEdit* edit = nullptr;
  QLineEdit* other = nullptr;
};

TEST_F(DateEditTest, NewFieldIsAnEmptyMask) {
  TDateEdit fresh;
  EXPECT_EQ(fresh.text(), "  /  /    ");
  EXPECT_EQ(fresh.text(), TDateEdit::EmptyText());
  EXPECT_EQ(fresh.width(), 75);
  EXPECT_TRUE(fresh.alignment() & Qt::AlignLeft);
}

// A date, the keys typed and the date shown: month and year ends, leap years, weeks.
TEST_F(DateEditTest, DateKeysMoveTheDate) {
  const struct {
    const char* start;
    const char* keys;
    const char* expected;
  } cases[] = {
      {"01/31/2025", "H", "02/28/2025"},
      {"01/31/2025", "HH", "03/31/2025"},
      {"02/15/2024", "H", "02/29/2024"},
      {"02/29/2024", "h", "03/31/2024"},
      {"12/31/2025", "H", "01/31/2026"},
      {"12/31/2025", "R", "12/31/2026"},
      {"06/15/2025", "r", "12/31/2025"},
      {"01/01/2025", "Y", "01/01/2024"},
      {"06/15/2025", "y", "01/01/2025"},
      {"03/01/2025", "M", "02/01/2025"},
      {"01/01/2025", "M", "12/01/2024"},
      {"03/15/2024", "mm", "02/01/2024"},
      {"02/28/2025", "+", "03/01/2025"},
      {"02/28/2024", "+", "02/29/2024"},
      {"12/31/2024", "+", "01/01/2025"},
      {"03/01/2024", "-", "02/29/2024"},
      {"01/01/2025", "-", "12/31/2024"},
      {"03/09/2025", "W", "03/02/2025"},  // a Sunday goes back a week
      {"03/12/2025", "W", "03/09/2025"},  // a Wednesday goes to its Sunday
      {"01/02/2025", "w", "12/29/2024"},
      {"03/15/2025", "K", "03/22/2025"},  // a Saturday goes on a week
      {"03/12/2025", "K", "03/15/2025"},
      {"12/29/2024", "k", "01/04/2025"},
      {"12/31/9999", "+R", "12/31/9999"},  // no five-digit years
      {"01/01/0001", "-", "01/01/0001"},
      // Keys that need a date leave a text that is not one alone (the mask refuses them).
      {"13/45/2025", "+HMYRWK", "13/45/2025"},
      {"03/07/2025", "BZ!", "03/07/2025"},
  };
  for (const auto& c : cases) {
    edit->setText(QLatin1String(c.start));
    TypeKeys(edit, QLatin1String(c.keys));
    EXPECT_EQ(edit->text(), QLatin1String(c.expected)) << c.start << " " << c.keys;
  }
}

TEST_F(DateEditTest, DateKeysOnAnEmptyFieldStartFromToday) {
  const QDate today = QDate::currentDate();
  const QDate firstOfMonth(today.year(), today.month(), 1);
  const struct {
    const char* keys;
    QDate expected;
  } cases[] = {
      {"T", today},
      {"t", today},
      {"+", today.addDays(1)},
      {"-", today.addDays(-1)},
      {"M", today.day() == 1 ? today.addMonths(-1) : firstOfMonth},
      {"Y", today.dayOfYear() == 1 ? today.addYears(-1) : QDate(today.year(), 1, 1)},
  };
  for (const auto& c : cases) {
    edit->setText(QString());
    ASSERT_EQ(edit->text(), TDateEdit::EmptyText());
    TypeKeys(edit, QLatin1String(c.keys));
    EXPECT_EQ(edit->text(), Field(c.expected)) << c.keys;
  }
  edit->setText("02/30/2025");
  TypeKeys(edit, "T");
  EXPECT_EQ(edit->text(), Field(today)) << "T needs no valid date";
}

TEST_F(DateEditTest, DigitsFillTheMask) {
  const struct {
    const char* keys;
    const char* expected;
  } cases[] = {
      {"03072025", "03/07/2025"},
      {"0307", "03/07/    "},
      {"0a3b07", "03/07/    "},
      {"03/07/2025", "03/07/2025"},
  };
  for (const auto& c : cases) {
    edit->setText(QString());
    TypeFromStart(QLatin1String(c.keys));
    EXPECT_EQ(edit->text(), QLatin1String(c.expected)) << c.keys;
  }
}

TEST_F(DateEditTest, ImpossibleDateIsReportedWhenCompleteAndAgainOnLeaving) {
  edit->setText(QString());
  MsgBoxScript::Clear();
  edit->setCursorPosition(0);
  const QString keys = "13452025";
  for (int i = 0; i < keys.size(); ++i) {
    TypeKeys(edit, keys.mid(i, 1));
    EXPECT_EQ(MsgBoxScript::Log().size(), i == keys.size() - 1 ? 1 : 0) << "after key " << i;
  }
  ASSERT_EQ(edit->text(), "13/45/2025");
  EXPECT_EQ(MsgBoxScript::Log()[0].text,
            "13/45/2025 is not a valid date.\nType it as mm/dd/yyyy, such as 03/15/2025.");
  EXPECT_EQ(MsgBoxScript::Log()[0].caption, AppTitle());
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbError);
  EXPECT_TRUE(edit->hasFocus()) << "the change check leaves the focus alone";

  TEditTestHost::FocusByTab(other);
  EXPECT_EQ(
      Messages(),
      QStringList({"13/45/2025 is not a valid date.\nType it as mm/dd/yyyy, such as 03/15/2025.",
                   "13/45/2025 is not a valid date.\nType it as mm/dd/yyyy, such as 03/15/2025."}));
  EXPECT_TRUE(edit->hasFocus()) << "the field takes the focus back";
}

// Typing a new date over the one shown passes through dates that do not exist (16/13/2025 after
// the first digit): the field speaks up only when the last digit is typed, or on leaving.
TEST_F(DateEditTest, OvertypingADateSpeaksOnlyAtTheLastDigit) {
  struct TCase {
    const char* Keys;
    const char* Text;
    const char* Message;  // nullptr: none
  };
  const TCase cases[] = {
      {"12312024", "12/31/2024", nullptr},
      {"0230202", "02/30/2025", nullptr},  // not at the end yet
      {"02302025", "02/30/2025",
       "02/30/2025 is not a valid date.\nType it as mm/dd/yyyy, such as 03/15/2025."},
  };
  for (const TCase& c : cases) {
    edit->setText("06/13/2025");
    MsgBoxScript::Clear();
    TypeFromStart(c.Keys);
    EXPECT_EQ(edit->text(), c.Text) << c.Keys;
    EXPECT_EQ(Messages(), c.Message ? QStringList{c.Message} : QStringList()) << c.Keys;
  }
}

TEST_F(DateEditTest, LeavingChecksOnlyWhatWasTyped) {
  const struct {
    const char* keys;
    const char* message;  // nullptr: none, and the focus moves on
  } cases[] = {
      {"", nullptr},
      {"031", "03/1 /     is not a valid date.\nType it as mm/dd/yyyy, such as 03/15/2025."},
      {"02292025", "02/29/2025 is not a valid date.\nType it as mm/dd/yyyy, such as 03/15/2025."},
      {"02292024", nullptr},
  };
  for (const auto& c : cases) {
    TEditTestHost::FocusByTab(edit);
    edit->setText(QString());
    TypeFromStart(QLatin1String(c.keys));
    MsgBoxScript::Clear();
    TEditTestHost::FocusByTab(other);
    if (c.message) {
      EXPECT_EQ(Messages(), QStringList(QLatin1String(c.message))) << c.keys;
      EXPECT_TRUE(edit->hasFocus()) << c.keys;
    } else {
      EXPECT_TRUE(Messages().isEmpty()) << c.keys;
      EXPECT_TRUE(other->hasFocus()) << c.keys;
    }
  }
}

TEST_F(DateEditTest, FieldThatCannotTakeTheFocusBackSaysSo) {
  edit->setText("02/30/2025");
  MsgBoxScript::Clear();
  edit->setEnabled(false);
  TEditTestHost::Settle();
  EXPECT_EQ(
      Messages(),
      QStringList({"02/30/2025 is not a valid date.\nType it as mm/dd/yyyy, such as 03/15/2025.",
                   "A non fatal error has occured in the program.\nClick on OK "
                   "to continue."}));
}

TEST_F(DateEditTest, EnteringSelectsTheWholeDate) {
  edit->setText("03/07/2025");
  TEditTestHost::FocusByTab(other);
  int entered = 0;
  QObject::connect(edit, &TDateEdit::entered, [&]() { ++entered; });
  edit->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(edit->selectedText(), "03/07/2025");
}

// However the box is entered (a click anywhere in it, Tab, or a date the program put in while
// it had the focus), typing starts at the first digit.
TEST_F(DateEditTest, TypingStartsAtTheFirstDigitHoweverTheBoxIsEntered) {
  const std::function<void()> enter[] = {
      [&] {
        edit->setText(QString());
        TEditTestHost::FocusByTab(other);
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() / 2, edit->height() / 2));
      },
      [&] {
        edit->setText("11/30/2020");
        TEditTestHost::FocusByTab(other);
        TEditTestHost::FocusByTab(edit);
      },
      // The next payee's date, the same as the last one's: the box keeps the focus.
      [&] {
        edit->setText("01/01/2024");
        edit->setCursorPosition(10);
        edit->setText("01/01/2024");
      },
  };
  for (const auto& way : enter) {
    way();
    ASSERT_TRUE(edit->hasFocus());
    TypeKeys(edit, "03152019");
    EXPECT_EQ(edit->text(), "03/15/2019");
  }
}

// A word typed into a box that holds a date does not turn it into another date: its letters
// beep and change nothing unless the whole date is selected (or the box is empty).
TEST_F(DateEditTest, LetterKeysReplaceOnlyAnEmptyOrWhollySelectedDate) {
  edit->setText("03/15/2019");
  edit->setCursorPosition(3);
  const int beeps = BeepCount();
  TypeKeys(edit, "Rent");
  EXPECT_EQ(edit->text(), "03/15/2019");
  EXPECT_EQ(BeepCount() - beeps, 4);
  edit->selectAll();
  TypeKeys(edit, "R");
  EXPECT_EQ(edit->text(), "12/31/2019");
  TypeKeys(edit, "Y");  // the date the key put in is selected in turn
  EXPECT_EQ(edit->text(), "01/01/2019");
  EXPECT_TRUE(edit->toolTip().contains("T today"));
  EXPECT_TRUE(edit->toolTip().contains("W or K"));
}

// The calendar pop-up driven from the field: what is done in it and what the field shows.
TEST_F(DateEditTest, CalendarPastesOrCancels) {
  const QDate today = QDate::currentDate();
  const struct {
    const char* start;
    std::function<void(TFrmCalendar*)> act;
    QString title;  // when the calendar closes
    QString expected;
  } cases[] = {
      {"", [](TFrmCalendar* c) { QTest::mouseClick(c->BtnPasteDate, Qt::LeftButton); },
       CalendarMonthTitle(today.month()) + QString::number(today.year()), Field(today)},
      {"01/31/2025", [](TFrmCalendar* c) { QTest::mouseClick(c->BtnNext, Qt::LeftButton); },
       "February, 2025", "01/31/2025"},
      {"01/31/2025",
       [](TFrmCalendar* c) {
         QTest::mouseClick(c->BtnNext, Qt::LeftButton);
         QTest::keyClick(c->Calendar, Qt::Key_D, Qt::AltModifier);
         // The mnemonic presses the button the way a click does, a moment later.
         for (int i = 0; i < 200 && c->isVisible(); ++i) QTest::qWait(10);
       },
       "February, 2025", "02/28/2025"},
      {"03/31/2024",
       [](TFrmCalendar* c) {
         QTest::mouseClick(c->BtnPrior, Qt::LeftButton);
         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
       },
       "February, 2024", "02/29/2024"},
      {"07/04/2025",
       [](TFrmCalendar*) {
         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
       },
       "July, 2025", "07/04/2025"},
      {"07/04/2025", [](TFrmCalendar* c) { QTest::mouseClick(c->BtnCancel, Qt::LeftButton); },
       "July, 2025", "07/04/2025"},
  };
  for (const auto& c : cases) {
    edit->setText(QLatin1String(c.start));
    const QColor before = edit->palette().color(QPalette::Base);
    QString title;
    QColor whileOpen;
    WhenModal([&](QWidget* shown) {
      auto* calendar = qobject_cast<TFrmCalendar*>(shown);
      ASSERT_NE(calendar, nullptr);
      EXPECT_EQ(calendar, edit->Calendar());
      QApplication::setActiveWindow(calendar);
      whileOpen = edit->palette().color(QPalette::Base);
      c.act(calendar);
      title = calendar->Panel->text();
      if (calendar->isVisible()) calendar->reject();
    });
    TypeKeys(edit, "c");
    EXPECT_EQ(title, c.title) << c.start;
    EXPECT_EQ(edit->text(), c.expected) << c.start;
    EXPECT_EQ(whileOpen, QColor(Qt::yellow));
    EXPECT_EQ(edit->palette().color(QPalette::Base), before);
    EXPECT_EQ(edit->Calendar(), nullptr);
  }
}

TEST_F(DateEditTest, DoubleClickOpensTheCalendarToo) {
  edit->setText("11/05/2025");
  QString shownDate;
  WhenModal([&](QWidget* shown) {
    auto* calendar = qobject_cast<TFrmCalendar*>(shown);
    shownDate = calendar->GetDate();
    calendar->reject();
  });
  QTest::mouseDClick(edit, Qt::LeftButton);
  EXPECT_EQ(shownDate, "11/05/2025");
}

TEST(CalendarTest, WindowHasItsControls) {
  TFrmCalendar calendar;
  EXPECT_EQ(calendar.windowTitle(), "CALENDAR");
  // The height is that of six weeks in the calendar's font (CalendarGrid below).
  EXPECT_EQ(calendar.width(), 201);
  EXPECT_GE(calendar.height(), 176);
  EXPECT_EQ(calendar.BtnPrior->size(), QSize(21, 21));
  EXPECT_EQ(calendar.BtnNext->size(), QSize(21, 21));
  EXPECT_EQ(calendar.Panel->size(), QSize(158, 21));
  EXPECT_EQ(calendar.Calendar->width(), 200);
  EXPECT_GE(calendar.Calendar->height(), 116);
  EXPECT_EQ(calendar.BtnPasteDate->size(), QSize(64, 24));
  EXPECT_EQ(calendar.BtnCancel->size(), QSize(64, 24));
  EXPECT_EQ(calendar.BtnPrior->toolTip(), "Prior Month (Alt+P)");
  EXPECT_EQ(calendar.BtnNext->toolTip(), "Next Month (Alt+N)");
  EXPECT_EQ(calendar.BtnPasteDate->text(), "Paste &Date");
  EXPECT_TRUE(calendar.BtnPasteDate->isDefault());
  EXPECT_EQ(calendar.BtnCancel->text(), "Cancel");
  EXPECT_EQ(calendar.Calendar->firstDayOfWeek(), Qt::Sunday);
  EXPECT_TRUE(calendar.Panel->font().bold());
  EXPECT_EQ(calendar.GetDate(), Field(QDate::currentDate()));
}

TEST(CalendarTest, PutDateAndTitles) {
  const struct {
    const char* put;
    QString date;
    QString title;
  } cases[] = {
      {"03/07/2025", "03/07/2025", "March, 2025"},
      {"12/31/1999", "12/31/1999", "December, 1999"},
      {"02/30/2025", Field(QDate::currentDate()), ""},
      {"  /  /    ", Field(QDate::currentDate()), ""},
  };
  for (const auto& c : cases) {
    TFrmCalendar calendar;
    calendar.PutDate(QLatin1String(c.put));
    EXPECT_EQ(calendar.GetDate(), c.date) << c.put;
    if (!c.title.isEmpty()) {
      EXPECT_EQ(calendar.GetMonthYear(), c.title) << c.put;
    }
  }
  for (int m = 1; m <= 12; ++m) {
    TFrmCalendar calendar;
    calendar.PutDate(QStringLiteral("%1/01/2025").arg(m, 2, 10, QLatin1Char('0')));
    EXPECT_EQ(calendar.GetMonthYear(),
              QLocale(QLocale::English).monthName(m) + QStringLiteral(", 2025"));
  }
}

// Keys pressed in the shown calendar, and the date chosen afterwards.
TEST(CalendarTest, KeysMoveByMonthOrYear) {
  const struct {
    const char* start;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    const char* expected;
  } cases[] = {
      {"01/31/2025", Qt::Key_PageDown, Qt::NoModifier, "02/28/2025"},
      {"03/31/2024", Qt::Key_PageUp, Qt::NoModifier, "02/29/2024"},
      {"12/15/2025", Qt::Key_PageDown, Qt::NoModifier, "01/15/2026"},
      {"01/15/2025", Qt::Key_PageUp, Qt::NoModifier, "12/15/2024"},
      {"07/20/2025", Qt::Key_PageUp, Qt::AltModifier, "01/01/2024"},
      {"07/20/2025", Qt::Key_PageDown, Qt::AltModifier, "01/01/2026"},
      {"01/31/2025", Qt::Key_N, Qt::AltModifier, "02/28/2025"},
      {"05/31/2025", Qt::Key_P, Qt::AltModifier, "04/30/2025"},
      {"07/20/2025", Qt::Key_Right, Qt::NoModifier, "07/21/2025"},
      {"07/20/2025", Qt::Key_Down, Qt::NoModifier, "07/27/2025"},
  };
  for (const auto& c : cases) {
    TFrmCalendar calendar;
    calendar.PutDate(QLatin1String(c.start));
    calendar.show();
    QApplication::setActiveWindow(&calendar);
    calendar.Calendar->setFocus();
    QTest::keyClick(QApplication::focusWidget(), c.key, c.mods);
    EXPECT_EQ(calendar.GetDate(), QLatin1String(c.expected)) << c.start << " " << c.key;
    EXPECT_EQ(calendar.Panel->text(), calendar.GetMonthYear());
    EXPECT_TRUE(calendar.isVisible());
    EXPECT_FALSE(calendar.Paste);
  }
}

TEST(CalendarTest, ShowingClearsPasteAndDoubleClickOnTheGridPastes) {
  TFrmCalendar calendar;
  calendar.PutDate("08/08/2025");
  calendar.Paste = true;
  calendar.show();
  EXPECT_FALSE(calendar.Paste);
  EXPECT_EQ(calendar.Panel->text(), "August, 2025");
  auto* grid = calendar.Calendar->findChild<QTableView*>();
  ASSERT_NE(grid, nullptr);
  const QPoint day = grid->visualRect(grid->currentIndex()).center();
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, day);
  EXPECT_TRUE(calendar.Paste);
  EXPECT_FALSE(calendar.isVisible());
  EXPECT_EQ(calendar.result(), QDialog::Accepted);
}

// A month can touch six weeks: January 2027 runs from a Friday to Sunday the 31st, which must
// show whole in the last row, above the buttons.
TEST(CalendarGrid, SixWeekRowsShowWhole) {
  TFrmCalendar calendar;
  calendar.Calendar->setSelectedDate(QDate(2027, 1, 31));
  calendar.Calendar->setCurrentPage(2027, 1);
  calendar.show();
  QCoreApplication::processEvents();
  auto* view = calendar.Calendar->findChild<QTableView*>();
  ASSERT_NE(view, nullptr);
  const QModelIndex last = view->model()->index(6, 0);  // the day names, then six weeks
  ASSERT_EQ(last.data().toInt(), 31);
  const QRect cell = view->visualRect(last);
  EXPECT_GE(cell.height(), QFontMetrics(view->font()).height());
  EXPECT_LE(cell.bottom(), view->viewport()->height() - 1);
  EXPECT_LT(calendar.Calendar->geometry().bottom(), calendar.BtnPasteDate->y());
  EXPECT_LE(calendar.BtnPasteDate->geometry().bottom(), calendar.height());
}
