// The test harness itself: a failure planted in one test (an answer for a dialog that never
// opens, a button that is not there, an answer nobody takes, a dialog nobody answers) fails that
// test alone, at the line that armed it; the test after it runs and passes. The planted tests run
// in a child process (harness_child), as a broken screen test would run in its executable.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "TestSupport.h"

namespace {
struct TOutcome {
  bool Ran = false;
  QString Failures;  // every failure message, joined; empty when it passed
};

// Runs the planted tests and reads their outcomes from gtest's JSON report.
QMap<QString, TOutcome> RunPlanted(int& exitCode, QStringList& order) {
  TTempFolder folder;
  const QString report = folder.Path(QStringLiteral("report.json"));
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PAPYRA_TEST_MODAL_LIMIT_MS"), QStringLiteral("500"));
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationDirPath() + QStringLiteral("/harness_child"),
              {QStringLiteral("--gtest_output=json:") + report});
  EXPECT_TRUE(child.waitForFinished(30000)) << "the planted tests hung";
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << "the planted tests crashed";
  exitCode = child.exitCode();
  QMap<QString, TOutcome> outcomes;
  const QJsonObject root = QJsonDocument::fromJson(ReadAll(report)).object();
  for (const QJsonValue& suite : root.value(QStringLiteral("testsuites")).toArray()) {
    for (const QJsonValue& test : suite.toObject().value(QStringLiteral("testsuite")).toArray()) {
      const QJsonObject t = test.toObject();
      TOutcome outcome;
      outcome.Ran = t.value(QStringLiteral("status")).toString() == QLatin1String("RUN");
      for (const QJsonValue& f : t.value(QStringLiteral("failures")).toArray())
        outcome.Failures += f.toObject().value(QStringLiteral("failure")).toString() + "\n";
      order.append(t.value(QStringLiteral("name")).toString());
      outcomes.insert(order.last(), outcome);
    }
  }
  return outcomes;
}

TEST(Harness, APlantedFailureFailsItsOwnTestAloneAndTheNextOnePasses) {
  int exitCode = -1;
  QStringList order;
  const QMap<QString, TOutcome> outcomes = RunPlanted(exitCode, order);
  EXPECT_EQ(exitCode, 1) << "failed tests, not a crash";
  const struct {
    const char* Test;
    const char* Failure;  // a part of its failure; empty: it passes
    const char* At = "";  // where the failure is told: the line that armed the answer
  } expected[] = {
      {"AnAnswerForADialogThatNeverOpens",
       "the answer armed here found no modal window before its test ended", "HarnessChild.cpp:"},
      {"TheNextScreenTestRunsAndPasses", ""},
      {"AnAnswerThatFindsNoButton",
       "the answer armed here to the modal window \"Form 1099-DIV\" (QDialog) failed: QDialog \"\" "
       "has no QPushButton named BtnOk; the window is closed",
       "HarnessChild.cpp:"},
      {"AfterAMissingButton", ""},
      {"AMessageBoxAnswerNobodyTakes",
       "Message box answers left armed by this test, never used: 6"},
      {"AfterAnUnusedMessageBoxAnswer", ""},
      {"AFileNameNobodyAsksFor",
       "File dialog answers left armed by this test, never used: /tmp/Planted.PE25"},
      {"AfterAnUnusedFileName", ""},
      {"ATimerThatWouldFireLater", ""},
      {"AfterATimer", ""},
      {"ADialogNobodyAnswers",
       "the modal window \"Form 1099-DIV\" (QDialog) stayed open 500 ms with nobody to answer it; "
       "it is closed"},
      {"AfterADialogNobodyAnswered", ""},
  };
  QStringList names;
  for (const auto& e : expected) names.append(QString::fromLatin1(e.Test));
  EXPECT_EQ(order, names) << "every planted test ran, in order";
  for (const auto& e : expected) {
    SCOPED_TRACE(e.Test);
    const TOutcome outcome = outcomes.value(QString::fromLatin1(e.Test));
    EXPECT_TRUE(outcome.Ran);
    if (*e.Failure) {
      EXPECT_TRUE(outcome.Failures.contains(QString::fromLatin1(e.Failure)))
          << outcome.Failures.toStdString();
      EXPECT_TRUE(outcome.Failures.contains(QString::fromLatin1(e.At)))
          << outcome.Failures.toStdString();
    } else
      EXPECT_EQ(outcome.Failures, QString()) << "an earlier test's hook reached this one";
  }
}
}  // namespace
