#include "platform/Application.h"

#include <QKeyEvent>
#include <QWidget>

#include "platform/Exceptions.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // No display name: the window system would append it to every window's own caption.
  setApplicationName(QStringLiteral("Papyra"));
  AddProgramFontFiles();
}

QString TApplication::ExceptionText(const QString& message) {
  if (!message.isEmpty() && message.back().unicode() > u'.') return message + QLatin1Char('.');
  return message;
}

void TApplication::ShowException(const QString& message) {
  MsgBox(ExceptionText(message), AppTitle(), mbError);
}

bool ShowCurrentException() {
  try {
    throw;
  } catch (const EPapyraException& e) {
    TApplication::ShowException(e.Message());
  } catch (const std::bad_alloc&) {
    TApplication::ShowException(QStringLiteral("Out of memory"));
  } catch (const std::exception& e) {
    TApplication::ShowException(QString::fromLocal8Bit(e.what()));
  }
  return true;
}

namespace {
// Alt+letter is a command key (menus, buttons, the record navigator), never text, but an edit
// types the letter of any such key no command took. AltGr, which types characters on many
// keyboards, comes as Ctrl+Alt or its own modifier and keeps its text.
bool IsAltTextKey(QObject* receiver, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !receiver->isWidgetType()) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers mods = key->modifiers();
  return (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !key->text().isEmpty();
}
}  // namespace

// The key goes on with its code and modifiers, so every window and filter still sees which key
// it was; only the text an edit would insert is gone.
bool TApplication::DeliverWithoutText(QObject* receiver, QKeyEvent* event) {
  QKeyEvent bare(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                 event->nativeVirtualKey(), event->nativeModifiers(), QString(),
                 event->isAutoRepeat(), event->count(), event->device());
  bare.setTimestamp(event->timestamp());
  const bool handled = QApplication::notify(receiver, &bare);
  event->setAccepted(bare.isAccepted());
  return handled;
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    if (IsAltTextKey(receiver, event))
      return DeliverWithoutText(receiver, static_cast<QKeyEvent*>(event));
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentException();
    return false;
  }
}

namespace {
int gBeeps = 0;
}  // namespace

void Beep() {
  ++gBeeps;
  QApplication::beep();
}
int BeepCount() {
  return gBeeps;
}
