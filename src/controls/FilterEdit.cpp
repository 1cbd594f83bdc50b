#include "controls/FilterEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <memory>

#include "platform/Application.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"

namespace FieldFocus {
namespace {
bool gReclaiming = false;
}

bool Reclaiming() {
  return gReclaiming;
}

bool IsModifierKey(int key) {
  for (int k :
       {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_AltGr, Qt::Key_Meta, Qt::Key_CapsLock})
    if (key == k) return true;
  return false;
}

bool CountsAsFieldChange(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool TakeBack(QWidget* field, const QString& failText) {
  if (!field->isVisible() || !field->isEnabled() || field->focusPolicy() == Qt::NoFocus) {
    MsgBox(failText, AppTitle(), mbError);
    return false;
  }
  // The focus is still moving away when the exit check runs; it is given back once that
  // move is over.
  gReclaiming = true;
  QTimer::singleShot(0, qApp, [target = QPointer<QWidget>(field)]() {
    if (target) target->setFocus(Qt::OtherFocusReason);
    gReclaiming = false;
  });
  return true;
}
}  // namespace FieldFocus

namespace {
// A character the record file cannot hold is refused with a beep even where other refused
// characters pass in silence: the user must not believe it was taken.
bool HasUnstorable(const QString& text) {
  return std::any_of(text.begin(), text.end(), [](QChar c) { return !InWin1252(c); });
}

void AddElement(TCharSet& set, int start, int end, bool range) {
  if (range) {
    for (int c = start; c <= end; ++c) set.set(c);
  } else if (start != 0) {
    set.set(start);
  }
}
}  // namespace

QValidator::State TCodePageValidator::validate(QString& input, int& pos) const {
  if (!HasUnstorable(input)) return Acceptable;
  Beep();
  // The refused characters are left out, the rest of a typed or pasted text stays, as a filter
  // edit keeps it.
  QString kept;
  for (qsizetype i = 0; i < input.size(); ++i) {
    if (InWin1252(input[i]))
      kept.append(input[i]);
    else if (i < pos)
      --pos;
  }
  input = kept;
  return Acceptable;
}

bool ParseValidChars(const QString& text, TCharSet& set) {
  if (!text.startsWith(QLatin1Char('[')) || !text.endsWith(QLatin1Char(']'))) return false;
  int start = 0, end = 0;
  bool range = false;
  for (qsizetype i = 1; i < text.size(); ++i) {
    const QChar raw = text[i];
    int current = raw.unicode() & 0xFF;
    if (raw == QLatin1Char(',') || raw == QLatin1Char(']')) {
      AddElement(set, start, end, range);
      start = end = current = 0;
      range = false;
    } else if (raw == QLatin1Char('.')) {
      range = true;
    } else if (raw == QLatin1Char('\'')) {
      // A quoted character stands for itself; the closing apostrophe is skipped with it.
      current = text[i + 1].unicode() & 0xFF;
      i += 2;
    }
    (range ? end : start) = current;
  }
  return true;
}

TFilterEdit::TFilterEdit(QWidget* parent) : QLineEdit(parent) {
  resize(121, 21);
}

void TFilterEdit::SetValidChars(const QString& text) {
  if (text == FValidChars) return;
  FValidChars = text;
  if (!ParseValidChars(text, FValidCharSet)) FValidChars = QStringLiteral("Invalid format ") + text;
}

bool TFilterEdit::Admits(QChar ch) const {
  if (!InWin1252(ch)) return false;
  if (FValidCharSet.none()) return true;
  return ch.unicode() < 256 && FValidCharSet.test(ch.unicode());
}

QChar TFilterEdit::ConvertCase(QChar ch) const {
  const char16_t c = ch.unicode();
  if (FCharCase == ecUpperCase && c >= u'a' && c <= u'z') return QChar(c - 32);
  if (FCharCase == ecLowerCase && c >= u'A' && c <= u'Z') return QChar(c + 32);
  return ch;
}

QString TFilterEdit::FilterText(const QString& text) const {
  QString out;
  out.reserve(text.size());
  for (QChar ch : text) {
    ch = ConvertCase(ch);
    // A typed control character never lands in the text, so a pasted one may not either.
    if (ch.unicode() < 32 || ch.unicode() == 127) continue;
    if (Admits(ch)) out.append(ch);
  }
  return out;
}

bool TFilterEdit::HandleCaseCommand(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if (mods != Qt::ControlModifier) return false;
  if (event->key() != Qt::Key_L && event->key() != Qt::Key_U) return false;
  event->accept();
  if (isReadOnly()) return true;
  QString t = text();
  for (QChar& ch : t) {
    const char16_t c = ch.unicode();
    if (event->key() == Qt::Key_L && c >= u'A' && c <= u'Z') ch = QChar(c + 32);
    if (event->key() == Qt::Key_U && c >= u'a' && c <= u'z') ch = QChar(c - 32);
  }
  setText(t);
  if (event->key() == Qt::Key_L) CapitalizeFirst();
  return true;
}

void TFilterEdit::CapitalizeFirst() {
  QString t = TrimText(text());
  auto capital = [&t](qsizetype i) {
    if (i < t.size() && t[i] >= QLatin1Char('a') && t[i] <= QLatin1Char('z'))
      t[i] = QChar(t[i].unicode() - 32);
  };
  if (!t.isEmpty()) {
    capital(0);
    for (qsizetype i = 0; i < t.size(); ++i)
      if (t[i] == QLatin1Char(' ')) capital(i + 1);
  }
  setText(t);
}

void TFilterEdit::keyPressEvent(QKeyEvent* event) {
  if (HandleCaseCommand(event)) return;
  if (event->matches(QKeySequence::Paste)) {
    PasteFiltered(QApplication::clipboard()->text());
    event->accept();
    return;
  }
  if ((event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == Qt::AltModifier) {
    // Alt+letter belongs to the window (menus, the record navigator), never to the text.
    event->ignore();
    return;
  }
  const QString typed = event->text();
  if (isReadOnly() || typed.isEmpty() || typed[0].unicode() < 32 || typed[0].unicode() == 127) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const QString kept = FilterText(typed);
  if ((kept.size() < typed.size() && FBeepOnInvalid) || HasUnstorable(typed)) Beep();
  TellLeftOut(typed, kept);
  if (kept.isEmpty()) {
    event->accept();
    return;
  }
  QKeyEvent converted(event->type(), event->key(), event->modifiers(), kept, event->isAutoRepeat(),
                      static_cast<quint16>(event->count()));
  QLineEdit::keyPressEvent(&converted);
  event->setAccepted(converted.isAccepted());
}

void TFilterEdit::PasteFiltered(const QString& text) {
  if (isReadOnly()) return;
  const QString kept = FilterText(text);
  if ((kept.size() < text.size() && FBeepOnInvalid) || HasUnstorable(text)) Beep();
  TellLeftOut(text, kept);
  if (!kept.isEmpty() || hasSelectedText()) insert(kept);
}

// "Account numbers hold ... (left out: "#", space)": what the field did to the user's text.
void TFilterEdit::TellLeftOut(const QString& given, const QString& kept) {
  if (FRefusalNote.isEmpty() || kept.size() == given.size()) return;
  QStringList left;
  for (QChar ch : given) {
    if (Admits(ConvertCase(ch)) || ch.unicode() < 32) continue;
    const QString shown = ch == QLatin1Char(' ')
                              ? QStringLiteral("space")
                              : QLatin1Char('"') + QString(ch) + QLatin1Char('"');
    if (!left.contains(shown)) left << shown;
  }
  if (left.isEmpty()) return;
  const QString message =
      QStringLiteral("%1 (left out: %2).").arg(FRefusalNote, left.join(QStringLiteral(", ")));
  if (!FBeepOnInvalid) Beep();
  QToolTip::showText(mapToGlobal(QPoint(0, height())), message, this);
  emit refused(message);
}

void TFilterEdit::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu(createStandardContextMenu());
  // The standard menu names its paste entry with the line edit's own (translated) text.
  const QString pasteText = QLineEdit::tr("&Paste");
  for (QAction* action : menu->actions()) {
    if (action->text().section(QLatin1Char('\t'), 0, 0) != pasteText) continue;
    disconnect(action, &QAction::triggered, nullptr, nullptr);
    connect(action, &QAction::triggered, this,
            [this]() { PasteFiltered(QApplication::clipboard()->text()); });
  }
  menu->exec(event->globalPos());
}

void TFilterEdit::mouseReleaseEvent(QMouseEvent* event) {
  QClipboard* clipboard = QApplication::clipboard();
  if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
    PasteFiltered(clipboard->text(QClipboard::Selection));
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void TFilterEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  emit doubleClicked();
}

void TFilterEdit::dropEvent(QDropEvent* event) {
  if (!event->mimeData()->hasText()) {
    event->ignore();
    return;
  }
  QMimeData filtered;
  if (HasUnstorable(event->mimeData()->text())) Beep();
  filtered.setText(FilterText(event->mimeData()->text()));
  TellLeftOut(event->mimeData()->text(), filtered.text());
  QDropEvent copy(event->position(), event->possibleActions(), &filtered, event->buttons(),
                  event->modifiers());
  QLineEdit::dropEvent(&copy);
  event->setDropAction(copy.dropAction());
  event->setAccepted(copy.isAccepted());
}

void TFilterEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (event->commitString().isEmpty()) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  if (HasUnstorable(event->commitString())) Beep();
  QInputMethodEvent copy(event->preeditString(), event->attributes());
  copy.setCommitString(FilterText(event->commitString()), event->replacementStart(),
                       event->replacementLength());
  QLineEdit::inputMethodEvent(&copy);
}

void TFilterEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (!FieldFocus::CountsAsFieldChange(event->reason())) return;
  emit entered();
  selectAll();
}

void TFilterEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (!FieldFocus::CountsAsFieldChange(event->reason())) return;
  emit exited();
  if (!FieldFocus::Reclaiming()) CheckRequired();
}

void TFilterEdit::CheckRequired() {
  if (!FRequiredField || !IsBlank(text())) return;
  MsgBox(QStringLiteral("This field is required!"), AppTitle(), mbWarning);
  FieldFocus::TakeBack(
      this,
      QStringLiteral("A non-fatal error has occured in the~program. Click on Ok to continue."));
}
