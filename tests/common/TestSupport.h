#pragma once
// Helpers every test executable shares.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>

// Runs action on the next modal widget that opens (polled from the event loop), so a test can
// answer a dialog that a command shows with exec().
void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);

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
