#include "controls/CheckBoxEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "controls/FilterEdit.h"

TCheckBoxEdit::TCheckBoxEdit(QWidget* parent) : QLineEdit(parent) {
  setMaxLength(1);
  setAlignment(Qt::AlignCenter);
  setCursor(Qt::PointingHandCursor);
  QFont f(QStringLiteral("Tahoma"), 10);
  f.setBold(true);
  setFont(f);
  setTextMargins(0, 0, 0, 0);
  // The mark changes only by space and click: no menu, drop or input method can edit it.
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(false);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  resize(21, 21);
}

bool TCheckBoxEdit::Checked() const {
  return text() == QLatin1String("X");
}

void TCheckBoxEdit::SetChecked(bool on) {
  if (on == FChecked) return;
  FChecked = on;
  setText(on ? QStringLiteral("X") : QString());
}

void TCheckBoxEdit::Toggle() {
  if (!isReadOnly()) SetChecked(!FChecked);
}

void TCheckBoxEdit::keyPressEvent(QKeyEvent* event) {
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (plain && event->text() == QLatin1String(" ")) {
    Toggle();
    event->accept();
    return;
  }
  // The edit itself never sees a key; the window's own keys (Enter, Escape, Alt+letters)
  // still reach it.
  event->ignore();
}

void TCheckBoxEdit::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    FPressed = true;
    if (focusPolicy() & Qt::ClickFocus) setFocus(Qt::MouseFocusReason);
  }
  event->accept();
}

void TCheckBoxEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click is a click of its own.
  mousePressEvent(event);
}

void TCheckBoxEdit::mouseMoveEvent(QMouseEvent* event) {
  event->accept();  // no text selection by dragging
}

void TCheckBoxEdit::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton || !FPressed) return;
  FPressed = false;
  if (!rect().contains(event->position().toPoint())) return;
  Toggle();
  emit clicked();
}

void TCheckBoxEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  deselect();
  if (FieldFocus::CountsAsFieldChange(event->reason())) emit entered();
}

void TCheckBoxEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (FieldFocus::CountsAsFieldChange(event->reason())) emit exited();
}
