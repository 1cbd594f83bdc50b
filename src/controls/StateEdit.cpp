#include "controls/StateEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>

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
  setCurrentIndex(NextPosition(typed[0], currentIndex()));
  event->accept();
}

void TStateEdit::focusInEvent(QFocusEvent* event) {
  QComboBox::focusInEvent(event);
  if (FieldFocus::CountsAsFieldChange(event->reason())) emit entered();
}

void TStateEdit::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (FieldFocus::CountsAsFieldChange(event->reason())) emit exited();
}
