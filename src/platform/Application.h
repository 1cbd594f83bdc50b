#pragma once
// The program's QApplication: catches a command's exception once, at the event-loop boundary,
// and shows it the way every failure of the program is shown; and keeps Alt+letter keys out of
// every edit's text, on every window.
#include <QApplication>
#include <exception>

class QKeyEvent;

class TApplication : public QApplication {
  Q_OBJECT
 public:
  TApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;

  // The general error display: application title, stop icon, OK; a full stop is appended when
  // the message's last character sorts above ".".
  static void ShowException(const QString& message);
  static QString ExceptionText(const QString& message);
  // Runs a command and shows what it throws; returns false when it threw.
  template <typename F>
  static bool Guard(F&& f);

 private:
  bool DeliverWithoutText(QObject* receiver, QKeyEvent* event);
};

bool ShowCurrentException();

// The warning beep. BeepCount lets tests see that a key was refused.
void Beep();
int BeepCount();

template <typename F>
bool TApplication::Guard(F&& f) {
  try {
    f();
    return true;
  } catch (...) {
    ShowCurrentException();
    return false;
  }
}
