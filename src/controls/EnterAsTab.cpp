#include "controls/EnterAsTab.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

TEnterAsTab::TEnterAsTab(QObject* owner) : QObject(owner) {}

void TEnterAsTab::SetParentForm(QWidget* form) {
  if (form == FParentForm) return;
  const bool watching = !FParentForm.isNull();
  FParentForm = form;
  // Keys go to the focused control first; only an application-wide filter sees them earlier.
  if (form && !watching) qApp->installEventFilter(this);
  if (!form && watching) qApp->removeEventFilter(this);
}

bool TEnterAsTab::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !FParentForm) return false;
  // A key event travels up to the parents when the focused control ignores it: preview it
  // once, at the focused control of the watched window.
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget != QApplication::focusWidget()) return false;
  if (widget != FParentForm && !FParentForm->isAncestorOf(widget)) return false;
  return Preview(static_cast<QKeyEvent*>(event));
}

bool TEnterAsTab::Preview(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if (OnKeyDown && OnKeyDown(event->key(), mods)) return true;
  const bool isEnter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (isEnter && FEnterAsTabKey && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
    // Enter on a focused push button presses it, as the user asked.
    if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget())) {
      button->click();
      return true;
    }
    MoveToNextControl();
    return true;
  }
  if (event->key() == Qt::Key_Escape && FEscapeAsClose && mods == Qt::NoModifier) {
    // close() lets the window veto, and ends a modal dialog with the cancel result.
    FParentForm->close();
    return true;
  }
  return false;
}

void TEnterAsTab::MoveToNextControl() {
  // The window moves its focus to the next control in tab order (wrapping round) when it is
  // handed a Tab key itself, whatever the focused control would do with one.
  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
  QCoreApplication::sendEvent(FParentForm->window(), &tab);
}
