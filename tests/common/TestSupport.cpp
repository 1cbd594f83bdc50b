#include "TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <memory>

void WhenModal(std::function<void(QWidget*)> action, int timeoutMs) {
  auto timer = std::make_shared<QElapsedTimer>();
  timer->start();
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [action, timer, timeoutMs, poll]() {
    QWidget* w = QApplication::activeModalWidget();
    if (w && w->isVisible()) {
      action(w);
      *poll = nullptr;
      return;
    }
    if (timer->elapsed() > timeoutMs) {
      *poll = nullptr;
      return;
    }
    QTimer::singleShot(10, [poll]() {
      if (*poll) (*poll)();
    });
  };
  QTimer::singleShot(0, [poll]() {
    if (*poll) (*poll)();
  });
}

TTempFolder::TTempFolder() {
  FDir.setAutoRemove(true);
}

QString TTempFolder::Path(const QString& name) const {
  return name.isEmpty() ? FDir.path() : FDir.path() + QLatin1Char('/') + name;
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

TBatchRun RunBatch(const QStringList& args, const std::function<void()>& childSetup) {
  QProcess process;
  if (childSetup) process.setChildProcessModifier(childSetup);
  process.start(QCoreApplication::applicationDirPath() + QStringLiteral("/papyra-batch"), args);
  TBatchRun run;
  if (!process.waitForFinished(60000)) return run;
  run.Code = process.exitCode();
  run.Out = QString::fromUtf8(process.readAllStandardOutput());
  run.Err = QString::fromUtf8(process.readAllStandardError());
  return run;
}
