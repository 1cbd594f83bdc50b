#pragma once
// Helpers every test executable shares.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <source_location>
#include <stdexcept>

#include "TestHooks.h"

// Runs action on the next modal widget that opens (polled from the event loop), so a test can
// answer a dialog that a command shows with exec(). The answer belongs to the test that arms it:
// no modal window within timeoutMs, or none before the test ends, fails that test at the line
// that armed it; so does an action that misses a control it looks for with Child (the window is
// then closed, so the test goes on). The answer never outlives its test.
void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000,
               std::source_location armedAt = std::source_location::current());
// The same for a modal window that should not open: action runs should one open within
// timeoutMs, and none opening is no failure.
void IfModal(std::function<void(QWidget*)> action, int timeoutMs,
             std::source_location armedAt = std::source_location::current());

// A modal window open longer than this with nobody answering it fails the running test and is
// closed, so a test whose answer went wrong fails alone instead of hanging its executable.
// PAPYRA_TEST_MODAL_LIMIT_MS changes it (the harness's own tests shorten it).
int ModalLimitMs();

// A control a test needs, by its object name (any of its class without one): a missing one throws
// EMissingChild, which fails the test (in a WhenModal action, the window is closed too) instead of
// crashing on a null.
struct EMissingChild : std::runtime_error {
  using std::runtime_error::runtime_error;
};
[[noreturn]] void ThrowMissingChild(const QObject* parent, const QString& name,
                                    const char* className);
template <class T>
T* Child(const QObject* parent, const QString& name = {}) {
  if (parent)
    if (T* child = parent->findChild<T*>(name)) return child;
  ThrowMissingChild(parent, name, T::staticMetaObject.className());
}

// Expects every control of the window that the keyboard reaches to tell a screen reader a name,
// no two the same name.
void ExpectEveryControlNamed(QWidget* window);

// A fresh temporary folder per test.
class TTempFolder {
 public:
  TTempFolder();
  QString Path(const QString& name = {}) const;  // path inside the folder

 private:
  QTemporaryDir FDir;
};

// Reads a whole file's bytes (empty when missing).
QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

// One run of papyra-batch, which is built beside every test executable.
struct TBatchRun {
  int Code = -1;  // -1 when it did not finish within a minute
  QString Out, Err;
};
// childSetup runs in the child before papyra-batch starts (limits for the fault tests).
TBatchRun RunBatch(const QStringList& args, const std::function<void()>& childSetup = {});

// The keys the help promises: every row of every table of class "keys" in the help topics, with
// the screen the table is about (its data-screen), the keys (presses apart by spaces, "Ctrl+A",
// "Alt+Down", "C A"), where the focus is ("anywhere", "in a date box") and what they do, as the
// user reads them.
struct THelpKeyRow {
  int Context = 0;
  QString Screen, Keys, Where, Does;
};
QList<THelpKeyRow> HelpKeyRows();
// Presses the keys of a row, one after another, at the widget that has the focus then.
void PressHelpKeys(const QString& keys);
