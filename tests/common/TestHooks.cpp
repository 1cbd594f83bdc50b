#include "TestHooks.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <vector>

#include "TestSupport.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"

namespace {
struct TModalWatch {
  std::function<void(QWidget*)> Action;
  std::source_location ArmedAt;
  int TimeoutMs = 0;
  bool Required = true;
  bool Done = false;
  QElapsedTimer Clock;
};

std::vector<TTestHook>& Hooks() {
  static std::vector<TTestHook> hooks;
  return hooks;
}

std::vector<std::shared_ptr<TModalWatch>>& Watches() {
  static std::vector<std::shared_ptr<TModalWatch>> watches;
  return watches;
}

QPointer<QObject>& Scope() {
  static QPointer<QObject> scope;
  return scope;
}

QString Describe(const QWidget* w) {
  return QStringLiteral("\"%1\" (%2)").arg(w->windowTitle(), w->metaObject()->className());
}

// Closes a modal window nobody answered as Cancel or Escape would, so exec() returns.
void CloseModal(QWidget* w) {
  if (auto* dialog = qobject_cast<QDialog*>(w))
    dialog->done(QDialog::Rejected);
  else
    w->close();
}

void RunAction(TModalWatch& watch, QWidget* modal) {
  const QPointer<QWidget> window(modal);
  const QString what = Describe(modal);
  try {
    watch.Action(modal);
  } catch (const std::exception& e) {
    ADD_FAILURE_AT(watch.ArmedAt.file_name(), int(watch.ArmedAt.line()))
        << "the answer armed here to the modal window " << what.toStdString()
        << " failed: " << e.what() << "; the window is closed";
    if (window && window->isVisible()) CloseModal(window);
  }
}

void Poll(const std::shared_ptr<TModalWatch>& watch) {
  if (watch->Done) return;
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal->isVisible()) {
    watch->Done = true;  // first, so the action may arm the next answer
    RunAction(*watch, modal);
    return;
  }
  if (watch->Clock.elapsed() > watch->TimeoutMs) {
    watch->Done = true;
    if (watch->Required)
      ADD_FAILURE_AT(watch->ArmedAt.file_name(), int(watch->ArmedAt.line()))
          << "no modal window opened within " << watch->TimeoutMs
          << " ms for the answer armed here";
    return;
  }
  QTimer::singleShot(10, TestScope(), [watch] { Poll(watch); });
}

void Arm(std::function<void(QWidget*)> action, int timeoutMs, bool required,
         std::source_location armedAt) {
  auto watch = std::make_shared<TModalWatch>();
  watch->Action = std::move(action);
  watch->ArmedAt = armedAt;
  watch->TimeoutMs = timeoutMs;
  watch->Required = required;
  watch->Clock.start();
  Watches().push_back(watch);
  QTimer::singleShot(0, TestScope(), [watch] { Poll(watch); });
}

// Watches for a modal window that stays open with nobody to answer it.
class TModalGuard : public QObject {
 public:
  explicit TModalGuard(QObject* parent) : QObject(parent) {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] { Check(); });
    timer->start(100);
  }

 private:
  QPointer<QWidget> FOpen;
  QElapsedTimer FSince;

  void Check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) {
      FOpen = nullptr;
      return;
    }
    if (modal != FOpen) {
      FOpen = modal;
      FSince.start();
      return;
    }
    if (FSince.elapsed() < ModalLimitMs()) return;
    ADD_FAILURE() << "the modal window " << Describe(modal).toStdString() << " stayed open "
                  << ModalLimitMs() << " ms with nobody to answer it; it is closed";
    FOpen = nullptr;
    CloseModal(modal);
  }
};

// Answers armed for a modal window that never came.
void FailUnusedWatches() {
  for (const std::shared_ptr<TModalWatch>& watch : Watches())
    if (!watch->Done && watch->Required)
      ADD_FAILURE_AT(watch->ArmedAt.file_name(), int(watch->ArmedAt.line()))
          << "the answer armed here found no modal window before its test ended";
  Watches().clear();
}

void EndTestHooks() {
  FailUnusedWatches();
  for (const TTestHook& hook : Hooks()) {
    const QString left = hook.LeftArmed ? hook.LeftArmed() : QString();
    if (!left.isEmpty())
      ADD_FAILURE() << hook.Name.toStdString()
                    << " left armed by this test, never used: " << left.toStdString();
    hook.Reset();
  }
  // Pending timers and polls with the scope as their context go with it.
  delete Scope().data();
}

class THookListener : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    delete Scope().data();
    new TModalGuard(TestScope());
  }
  // Runs before the result is printed and while the test is still the current one, so what is
  // found here is that test's failure.
  void OnTestEnd(const ::testing::TestInfo&) override { EndTestHooks(); }
};

template <class T>
QString Listed(const QList<T>& items) {
  QStringList texts;
  for (const T& item : items) texts.append(QVariant::fromValue(item).toString());
  return texts.join(QStringLiteral(", "));
}

const bool kPlatformHooks = [] {
  RegisterTestHook({QStringLiteral("Message box answers"),
                    [] { return Listed(MsgBoxScript::Pending()); },
                    [] {
                      MsgBoxScript::Clear();
                      MsgBoxScript::Enable(true);
                    }});
  RegisterTestHook({QStringLiteral("File dialog answers"),
                    [] { return Listed(DialogScript::Pending()); },
                    [] {
                      DialogScript::Clear();
                      DialogScript::Enable(true);
                    }});
  RegisterTestHook({QStringLiteral("Opened documents"), {}, [] {
                      ShellScript::Clear();
                      ShellScript::Enable(true);
                    }});
  RegisterTestHook({QStringLiteral("Help topics"), {}, [] {
                      HelpScript::Clear();
                      HelpScript::Enable(true);
                    }});
  return true;
}();
}  // namespace

bool RegisterTestHook(const TTestHook& hook) {
  Hooks().push_back(hook);
  return true;
}

QObject* TestScope() {
  if (!Scope()) Scope() = new QObject;
  return Scope();
}

void ScriptModalServices() {
  for (const TTestHook& hook : Hooks()) hook.Reset();
}

void InstallTestHooks() {
  (void)kPlatformHooks;
  ::testing::UnitTest::GetInstance()->listeners().Append(new THookListener);
}

void WhenModal(std::function<void(QWidget*)> action, int timeoutMs, std::source_location armedAt) {
  Arm(std::move(action), timeoutMs, true, armedAt);
}

void IfModal(std::function<void(QWidget*)> action, int timeoutMs, std::source_location armedAt) {
  Arm(std::move(action), timeoutMs, false, armedAt);
}

int ModalLimitMs() {
  bool ok = false;
  const int limit = qEnvironmentVariableIntValue("PAPYRA_TEST_MODAL_LIMIT_MS", &ok);
  return ok && limit > 0 ? limit : 10000;
}

void ThrowMissingChild(const QObject* parent, const QString& name, const char* className) {
  const QString where =
      parent
          ? QStringLiteral("%1 \"%2\"").arg(parent->metaObject()->className(), parent->objectName())
          : QStringLiteral("no window");
  throw EMissingChild(QStringLiteral("%1 has no %2 named %3")
                          .arg(where, QLatin1String(className), name)
                          .toStdString());
}
