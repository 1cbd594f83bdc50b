#pragma once
// A shown, active window for the control tests: controls are placed on it, take the focus and
// receive keys and clicks the way a user's would.
#include <QApplication>
#include <QTest>
#include <QWidget>

#include "platform/MsgBox.h"

class TEditTestHost : public QWidget {
 public:
  TEditTestHost() {
    resize(420, 300);
    MsgBoxScript::Clear();
  }
  // Places a control at the given position with its own default size.
  template <typename T>
  T* Place(T* control, int x, int y) {
    control->setParent(this);
    control->move(x, y);
    control->show();
    return control;
  }
  void ShowActive() {
    show();
    QApplication::setActiveWindow(this);
    activateWindow();
    (void)QTest::qWaitForWindowActive(this);
  }
  // Moves the focus the way Tab does, so the entered and exited handling runs.
  static void FocusByTab(QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    Settle();
  }
  // Lets queued work (the focus given back by a field) run.
  static void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
};

// Splits a key sequence written as text into its keys: plain characters are typed; "\b" is
// Backspace, "\x7f" Delete, "\r" Enter, "\x1b" Escape, "^L" Ctrl+L (any letter), "@N" Alt+N.
inline QStringList KeyTokens(const QString& keys) {
  QStringList tokens;
  for (qsizetype i = 0; i < keys.size(); ++i) {
    const bool chord =
        (keys[i] == QLatin1Char('^') || keys[i] == QLatin1Char('@')) && i + 1 < keys.size();
    tokens << keys.mid(i, chord ? 2 : 1);
    if (chord) ++i;
  }
  return tokens;
}

inline void TypeKey(QWidget* w, const QString& token) {
  const QChar c = token[0];
  if (token.size() == 2) {
    const auto key = static_cast<Qt::Key>(Qt::Key_A + (token[1].toUpper().unicode() - u'A'));
    QTest::keyClick(w, key, c == QLatin1Char('^') ? Qt::ControlModifier : Qt::AltModifier);
  } else if (c == QLatin1Char('\b')) {
    QTest::keyClick(w, Qt::Key_Backspace);
  } else if (c == QChar(0x7f)) {
    QTest::keyClick(w, Qt::Key_Delete);
  } else if (c == QLatin1Char('\r')) {
    QTest::keyClick(w, Qt::Key_Return);
  } else if (c == QChar(0x1b)) {
    QTest::keyClick(w, Qt::Key_Escape);
  } else if (c.unicode() < 128) {
    QTest::keyClick(w, c.toLatin1());
  } else {
    QTest::sendKeyEvent(QTest::Click, w, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c),
                        Qt::NoModifier);
  }
}

inline void TypeKeys(QWidget* w, const QString& keys) {
  for (const QString& token : KeyTokens(keys)) TypeKey(w, token);
}
