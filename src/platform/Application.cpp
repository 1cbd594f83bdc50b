#include "platform/Application.h"

#include "platform/Exceptions.h"
#include "platform/MsgBox.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Papyra"));
  setApplicationDisplayName(AppTitle());
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

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowCurrentException();
    return false;
  }
}
