#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <memory>

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

void ExpectEveryControlNamed(QWidget* window) {
  QStringList names;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || !(w->focusPolicy() & Qt::TabFocus) || w->focusProxy()) continue;
    // The edit part of a drop-down list is the list's own.
    if (w->parentWidget() && qobject_cast<QComboBox*>(w->parentWidget())) continue;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    QString name = a ? a->text(QAccessible::Name).trimmed() : QString();
    // On Linux a drop-down list reads its value as its name; its own name or its label is what
    // names it.
    if (qobject_cast<QComboBox*>(w)) {
      name = w->accessibleName();
      for (const auto& [label, relation] : a->relations(QAccessible::Label))
        if (name.isEmpty()) name = label->text(QAccessible::Name).trimmed();
    }
    EXPECT_FALSE(name.isEmpty()) << w->objectName().toStdString() << " "
                                 << w->metaObject()->className();
    EXPECT_FALSE(!name.isEmpty() && names.contains(name))
        << w->objectName().toStdString() << " shares the name " << name.toStdString();
    names << name;
  }
}
