#include "controls/DateEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>

#include "controls/Calendar.h"
#include "controls/FilterEdit.h"
#include "core/Utils.h"
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
}  // namespace

TDateEdit::TDateEdit(QWidget* parent) : QLineEdit(parent) {
  setInputMask(QStringLiteral("99/99/9999; "));
  setAttribute(Qt::WA_InputMethodEnabled, false);
  FDefaultColor = palette().color(QPalette::Base);
  resize(75, 21);
  connect(this, &QLineEdit::textChanged, this, &TDateEdit::CheckOnChange);
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
  QLineEdit::keyPressEvent(event);
}

// Answers true when the key was used (and so is not typed into the mask).
bool TDateEdit::HandleDateKey(QChar key) {
  if (key >= QLatin1Char('a') && key <= QLatin1Char('z')) key = QChar(key.unicode() - 32);
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
  return text() + QStringLiteral(" is not a valid date.");
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
  selectAll();
}

void TDateEdit::focusOutEvent(QFocusEvent* event) {
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
