#include "controls/DateEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>
#include <utility>

#include "controls/Calendar.h"
#include "controls/FilterEdit.h"
#include "core/Utils.h"
#include "platform/Application.h"
#include "platform/MsgBox.h"

namespace {
QDate FieldDate(const QString& text) {
  if (!IsValidDate(text)) return {};
  int month = 0, day = 0, year = 0;
  DecodeDateText(text, month, day, year);
  return QDate(year, month, day);
}

QDate LastOfMonth(const QDate& d) {
  return QDate(d.year(), d.month(), d.daysInMonth());
}

// The keys that put a whole new date in the field.
bool IsLetterCommand(QChar key) {
  return QStringLiteral("TMHYRWK").contains(key);
}
}  // namespace

QString TDateEdit::KeysHint() {
  return QStringLiteral(
      "Type the date as mm/dd/yyyy, or press a key: T today; + or - a day later or earlier; "
      "M or H the first or last day of the month; Y or R the first or last day of the year; "
      "W or K the Sunday or Saturday of the week; C or a double click opens the calendar. "
      "A key replaces a date only when the box is empty or its whole date is selected.");
}

TDateEdit::TDateEdit(QWidget* parent) : QLineEdit(parent) {
  setInputMask(QStringLiteral("99/99/9999; "));
  setAttribute(Qt::WA_InputMethodEnabled, false);
  FDefaultColor = palette().color(QPalette::Base);
  resize(75, 21);
  setToolTip(KeysHint());
  connect(this, &QLineEdit::textChanged, this, &TDateEdit::CheckOnChange);
}

// A date put in by the program (the next payee's, a date key's, the calendar's) is taken as on
// entry, so the keys that follow replace it rather than fall off the end of the mask: after a
// move to the next payee a focused box ignored every digit.
void TDateEdit::setText(const QString& text) {
  QLineEdit::setText(text);
  if (hasFocus()) SelectForEntry();
}

void TDateEdit::SelectForEntry() {
  if (text() == EmptyText())
    setCursorPosition(0);
  else
    selectAll();
}

QString TDateEdit::EmptyText() {
  return QStringLiteral("  /  /    ");
}

QDate TDateEdit::DateKeyResult(QChar key, const QDate& d) {
  if (!d.isValid()) return {};
  const int dayOfWeek = d.dayOfWeek() % 7;  // Sunday 0 ... Saturday 6
  switch (key.unicode()) {
    case u'+':
      return d.addDays(1);
    case u'-':
      return d.addDays(-1);
    case u'M':
      return d.day() != 1 ? QDate(d.year(), d.month(), 1) : d.addMonths(-1);
    case u'H':
      return d != LastOfMonth(d) ? LastOfMonth(d) : LastOfMonth(d.addDays(1));
    case u'Y':
      return d.day() == 1 && d.month() == 1 ? d.addYears(-1) : QDate(d.year(), 1, 1);
    case u'R':
      return d.day() == 31 && d.month() == 12 ? d.addYears(1) : QDate(d.year(), 12, 31);
    case u'W':
      return d.addDays(dayOfWeek == 0 ? -7 : -dayOfWeek);
    case u'K':
      return d.addDays(dayOfWeek == 6 ? 7 : 6 - dayOfWeek);
    default:
      return {};
  }
}

void TDateEdit::keyPressEvent(QKeyEvent* event) {
  FClickEntry = false;
  if ((event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == Qt::AltModifier) {
    event->ignore();  // Alt+letter belongs to the window, never to the text
    return;
  }
  const QString typed = event->text();
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (!isReadOnly() && plain && typed.size() == 1 && HandleDateKey(typed[0])) {
    event->accept();
    return;
  }
  // The mask takes digits only, but a refused character still wiped a selected date first.
  if (!isReadOnly() && plain && typed.size() == 1 && typed[0].isPrint() && !typed[0].isDigit() &&
      (typed[0] != QLatin1Char('/') || hasSelectedText())) {
    Beep();
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

// A click that brings the focus in starts the entry at the first digit, not where the click
// fell: "03152019" typed after a click in the middle of an empty box became "/03/1520".
void TDateEdit::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  if (std::exchange(FClickEntry, false)) SelectForEntry();
}

// Answers true when the key was used (and so is not typed into the mask).
bool TDateEdit::HandleDateKey(QChar key) {
  if (key >= QLatin1Char('a') && key <= QLatin1Char('z')) key = QChar(key.unicode() - 32);
  // A word typed into the box by mistake must not turn its date into another: a letter
  // replaces the date only where the user has let go of it.
  if (IsLetterCommand(key) && text() != EmptyText() && selectedText() != text()) {
    Beep();
    return true;
  }
  const QDate today = QDate::currentDate();
  if (key == QLatin1Char('T')) {
    setText(DateFieldText(today));
    return true;
  }
  if (key == QLatin1Char('C')) {
    ShowCalendar();
    return true;
  }
  if (!QStringLiteral("+-HKMRWY").contains(key)) return false;
  if (text() == EmptyText()) setText(DateFieldText(today));
  const QDate current = FieldDate(text());
  if (!current.isValid()) return false;
  const QDate moved = DateKeyResult(key, current);
  // The field holds four-digit years; a move past them changes nothing.
  if (moved.isValid() && moved.year() >= 1 && moved.year() <= 9999) setText(DateFieldText(moved));
  return true;
}

void TDateEdit::ShowCalendar() {
  QPointer<TDateEdit> self(this);
  QPointer<TFrmCalendar> calendar = new TFrmCalendar(window());
  FCalendar = calendar;
  calendar->PutDate(text());
  SetBackground(Qt::yellow);
  calendar->exec();
  if (!self) {
    delete calendar;
    return;
  }
  if (calendar && calendar->Paste) {
    setText(calendar->GetDate());
    calendar->Paste = false;
  }
  FCalendar = nullptr;
  delete calendar;
  SetBackground(FDefaultColor);
}

void TDateEdit::SetBackground(const QColor& color) {
  QPalette pal = palette();
  pal.setColor(QPalette::Base, color);
  setPalette(pal);
}

void TDateEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  emit doubleClicked();
  if (!isReadOnly()) ShowCalendar();
}

QString TDateEdit::InvalidDateText() const {
  return text() +
         QStringLiteral(" is not a valid date.~Type it as mm/dd/yyyy, such as 03/15/2025.");
}

void TDateEdit::CheckOnChange() {
  QString t = text();
  while (t.startsWith(QLatin1Char(' '))) t.remove(0, 1);
  while (t.endsWith(QLatin1Char(' '))) t.chop(1);
  // Typed over a date shown, the text passes through dates that do not exist: only a date whose
  // last digit has been typed (or one set whole) is judged here; leaving judges the rest.
  const bool midEntry = hasFocus() && cursorPosition() < text().size();
  if (t.size() == 10 && !midEntry && !IsValidDate(text()))
    MsgBox(InvalidDateText(), AppTitle(), mbError);
}

void TDateEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (!FieldFocus::CountsAsFieldChange(event->reason())) return;
  emit entered();
  FDefaultColor = palette().color(QPalette::Base);
  SelectForEntry();
  // The press that brought the focus is handled after this and would put the cursor where it
  // fell.
  FClickEntry = event->reason() == Qt::MouseFocusReason;
}

void TDateEdit::focusOutEvent(QFocusEvent* event) {
  FClickEntry = false;
  QLineEdit::focusOutEvent(event);
  if (!FieldFocus::CountsAsFieldChange(event->reason())) return;
  emit exited();
  if (!FieldFocus::Reclaiming()) CheckOnExit();
}

void TDateEdit::CheckOnExit() {
  if (text() == EmptyText() || IsValidDate(text())) return;
  MsgBox(InvalidDateText(), AppTitle(), mbError);
  FieldFocus::TakeBack(
      this,
      QStringLiteral("A non fatal error has occured in the program.~Click on OK to continue."));
}
