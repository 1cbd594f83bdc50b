#include "controls/StateEdit.h"

#include <QElapsedTimer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

#include "controls/FilterEdit.h"
#include "core/EntryChecks.h"

const QStringList& TStateEdit::StateList() {
  return StateCodes();
}

// A letter steps through the codes that begin with it, in list order, wrapping round; from a
// code of another letter (or from no selection) it selects that letter's first code. Letters
// that begin no code, digits and punctuation leave the selection alone.
int TStateEdit::NextPosition(QChar typed, int current) {
  char16_t c = typed.unicode();
  if (c >= u'a' && c <= u'z') c -= 32;
  const QStringList& codes = StateList();
  int first = -1, last = -1;
  for (int i = 0; i < codes.size(); ++i) {
    if (codes[i][0].unicode() != c) continue;
    if (first < 0) first = i;
    last = i;
  }
  if (first < 0) return current;
  if (current >= first && current < last) return current + 1;
  return first;
}

TStateEdit::TStateEdit(QWidget* parent) : QComboBox(parent), FStateList(StateList()) {
  setEditable(true);
  // The edit part only shows the code; letters choose it.
  lineEdit()->setReadOnly(true);
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  addItems(FStateList);
  setCurrentIndex(-1);
  resize(50, sizeHint().height());
}

// 50 pixels hold a code and the arrow at the usual font; a larger font takes the width its
// widest code needs.
QSize TStateEdit::sizeHint() const {
  const QSize fitted = QComboBox::sizeHint();
  return {std::max(50, fitted.width()), fitted.height()};
}

QSize TStateEdit::minimumSizeHint() const {
  return {sizeHint().width(), QComboBox::minimumSizeHint().height()};
}

void TStateEdit::SetText(const QString& text) {
  const int index = FStateList.indexOf(text);
  if (index >= 0) {
    setCurrentIndex(index);
    return;
  }
  // One change for one write: the selection is dropped quietly and the text shown.
  if (currentIndex() != -1) {
    {
      const QSignalBlocker quiet(this);
      setCurrentIndex(-1);
    }
    emit currentIndexChanged(-1);
  }
  setEditText(text);
}

void TStateEdit::keyPressEvent(QKeyEvent* event) {
  // Shift pressed for a capital letter is part of typing it, not a key of its own.
  if (FieldFocus::IsModifierKey(event->key())) {
    QComboBox::keyPressEvent(event);
    return;
  }
  // Any other key (Backspace, an arrow, a shortcut) ends the code being spelled.
  const QString spelledSoFar = std::exchange(FTyped, QString());
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (event->key() == Qt::Key_Delete && plain) {
    if (FOkToDel) setCurrentIndex(-1);
    event->accept();
    return;
  }
  if (event->key() == Qt::Key_Backspace && plain) {
    if (FOkToDel) setCurrentIndex(-1);
    event->accept();
    return;
  }
  const QString typed = event->text();
  if (!plain || typed.isEmpty() || typed[0].unicode() < 32 || typed[0].unicode() == 127) {
    QComboBox::keyPressEvent(event);
    return;
  }
  FTyped = spelledSoFar;
  TypeLetter(typed[0]);
  event->accept();
}

// A code's letters typed together select it: cycling alone turned "CA" into AK and "TX" into
// TN. A letter that spells no code with the ones before it (a repeated "M") cycles as before.
void TStateEdit::TypeLetter(QChar letter) {
  char16_t c = letter.unicode();
  if (c >= u'a' && c <= u'z') c -= 32;
  const qint64 now = Now();
  const bool quick = !FTyped.isEmpty() && now - FLastTyped < TypeAheadMs;
  FLastTyped = now;
  const QString spelled = (quick ? FTyped : QString()) + QChar(c);
  const int exact = spelled.size() == 2 ? int(FStateList.indexOf(spelled)) : -1;
  if (exact >= 0) {
    FTyped = spelled;
    setCurrentIndex(exact);
    return;
  }
  const bool beginsACode = NextPosition(QChar(c), -1) >= 0;
  FTyped = beginsACode ? QString(QChar(c)) : QString();
  setCurrentIndex(NextPosition(QChar(c), currentIndex()));
}

qint64 TStateEdit::Now() const {
  static QElapsedTimer clock;
  if (!clock.isValid()) clock.start();
  return clock.elapsed();
}

void TStateEdit::focusInEvent(QFocusEvent* event) {
  FTyped.clear();
  QComboBox::focusInEvent(event);
  if (FieldFocus::CountsAsFieldChange(event->reason())) emit entered();
}

void TStateEdit::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (FieldFocus::CountsAsFieldChange(event->reason())) emit exited();
}
