#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QKeySequence>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <memory>

#include "platform/Dialogs.h"

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

QList<THelpKeyRow> HelpKeyRows() {
  static const QRegularExpression table(
      QStringLiteral("<table class=\"keys\" data-screen=\"([^\"]+)\">(.*?)</table>"),
      QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression row(
      QStringLiteral("<tr><td>(.*?)</td><td>(.*?)</td><td>(.*?)</td></tr>"));
  auto plain = [](const QString& html) {
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
  };
  QList<THelpKeyRow> rows;
  for (int context : HelpContexts()) {
    QFile file(HelpTopicFile(context));
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QString html = QString::fromUtf8(file.readAll());
    for (auto t = table.globalMatch(html); t.hasNext();) {
      const QRegularExpressionMatch m = t.next();
      for (auto r = row.globalMatch(m.captured(2)); r.hasNext();) {
        const QRegularExpressionMatch cells = r.next();
        rows.append({context, m.captured(1), plain(cells.captured(1)), plain(cells.captured(2)),
                     plain(cells.captured(3))});
      }
    }
  }
  return rows;
}

namespace {
// One press as the help writes it: "Ctrl+A", "Alt+Down", "Enter", "+", "T".
QKeyCombination HelpKey(const QString& press) {
  static const QHash<QString, Qt::Key> names = {
      {"Enter", Qt::Key_Return},    {"Escape", Qt::Key_Escape},
      {"Space", Qt::Key_Space},     {"Backspace", Qt::Key_Backspace},
      {"PgDown", Qt::Key_PageDown}, {"PgUp", Qt::Key_PageUp},
      {"+", Qt::Key_Plus},          {"-", Qt::Key_Minus}};
  Qt::KeyboardModifiers mods;
  QString name = press;
  for (const auto& [prefix, mod] : {std::pair{QStringLiteral("Ctrl+"), Qt::ControlModifier},
                                    std::pair{QStringLiteral("Alt+"), Qt::AltModifier},
                                    std::pair{QStringLiteral("Shift+"), Qt::ShiftModifier}})
    if (name.size() > prefix.size() && name.startsWith(prefix)) {
      mods |= mod;
      name = name.mid(prefix.size());
    }
  if (names.contains(name)) return QKeyCombination(mods, names.value(name));
  const QKeySequence sequence = QKeySequence::fromString(name);
  EXPECT_EQ(sequence.count(), 1) << "no key named " << press.toStdString();
  return QKeyCombination(mods, sequence.isEmpty() ? Qt::Key_unknown : sequence[0].key());
}
}  // namespace

void PressHelpKeys(const QString& keys) {
  for (const QString& press : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const QKeyCombination key = HelpKey(press);
    QWidget* target =
        QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    if (!target) {
      ADD_FAILURE() << "no window takes " << press.toStdString();
      return;
    }
    QTest::keyClick(target, key.key(), key.keyboardModifiers());
  }
}
