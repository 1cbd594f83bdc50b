#pragma once
// What a test arms for later (scripted answers, modal watchers, timers) belongs to that test: at
// its end, whatever its outcome, everything still armed is cancelled, and an answer nobody used
// fails the test that armed it, never a later one. The shared test main installs this.
#include <QString>
#include <functional>

class QObject;

// One kind of per-test hook: what of it is still armed (empty when nothing is), and how it is
// cancelled and put back to the harness's default.
struct TTestHook {
  QString Name;
  std::function<QString()> LeftArmed;
  std::function<void()> Reset;
};
// Registered hooks are checked and reset at the end of every test; a test executable registers
// its own (at static initialisation, like a gtest environment).
bool RegisterTestHook(const TTestHook& hook);

// The object that lives as long as the running test: a timer or connection made with it as its
// context ends with the test, so it never fires inside a later one.
QObject* TestScope();

// Puts every modal service of the platform in its scripted state, as each test starts with it.
void ScriptModalServices();

// Installs the listener that ends each test's hooks; called once by the shared test main.
void InstallTestHooks();
