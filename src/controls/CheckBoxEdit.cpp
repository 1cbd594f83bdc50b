#include "controls/CheckBoxEdit.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "controls/FilterEdit.h"

namespace {
// A screen reader meets a check box with its checked state, not a one-letter text field.
class TCheckBoxEditAccessible : public QAccessibleWidget {
 public:
  explicit TCheckBoxEditAccessible(TCheckBoxEdit* box)
      : QAccessibleWidget(box, QAccessible::CheckBox) {
    addControllingSignal(QStringLiteral("clicked()"));
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = Box()->Checked();
    s.readOnly = Box()->isReadOnly();
    return s;
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return {};
    return QAccessibleWidget::text(t);
  }

  QStringList actionNames() const override {
    return QStringList{toggleAction()} + QAccessibleWidget::actionNames();
  }

  void doAction(const QString& action) override {
    if (action == toggleAction() || action == pressAction()) {
      if (!Box()->isReadOnly()) Box()->SetChecked(!Box()->Checked());
      return;
    }
    QAccessibleWidget::doAction(action);
  }

 private:
  TCheckBoxEdit* Box() const { return static_cast<TCheckBoxEdit*>(widget()); }
};

QAccessibleInterface* CheckBoxEditFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("TCheckBoxEdit") && object && object->isWidgetType())
    return new TCheckBoxEditAccessible(static_cast<TCheckBoxEdit*>(object));
  return nullptr;
}
}  // namespace

TCheckBoxEdit::TCheckBoxEdit(QWidget* parent) : QLineEdit(parent) {
  static const bool factory = [] {
    QAccessible::installFactory(CheckBoxEditFactory);
    return true;
  }();
  (void)factory;
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
  QAccessible::State changed;
  changed.checked = true;
  QAccessibleStateChangeEvent event(this, changed);
  QAccessible::updateAccessibility(&event);
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
