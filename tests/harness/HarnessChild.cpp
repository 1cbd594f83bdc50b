// Not a test of its own: planted failures for the harness's test (HarnessTest.cpp), which runs
// this executable in a child process. Each "Planted" test leaves something armed or waits for a
// window that never comes, the way a screen test does when the program under it is broken; the
// test after it must run, untouched, and pass.
#include <gtest/gtest.h>

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "TestSupport.h"
#include "platform/Dialogs.h"
#include "platform/MessageCodes.h"
#include "platform/MsgBox.h"

namespace {
// A small print command: the choice of what to print, shown only when there is something to
// print; the planted fault is a rule that finds nothing.
QString PrintCommand(bool formsFound, const QString& button = QStringLiteral("BtnOk")) {
  if (!formsFound) return QStringLiteral("There are no forms available for printing");
  QDialog choice;
  choice.setWindowTitle(QStringLiteral("Form 1099-DIV"));
  auto* layout = new QHBoxLayout(&choice);
  auto* ok = new QPushButton(QStringLiteral("&Ok"), &choice);
  ok->setObjectName(button);
  layout->addWidget(ok);
  QObject::connect(ok, &QPushButton::clicked, &choice, &QDialog::accept);
  return choice.exec() == QDialog::Accepted ? QStringLiteral("printed")
                                            : QStringLiteral("cancelled");
}

// The answer the screen tests arm: the choice's OK button.
void ArmOk() {
  WhenModal([](QWidget* w) { Child<QPushButton>(w, QStringLiteral("BtnOk"))->click(); });
}

TEST(Planted, AnAnswerForADialogThatNeverOpens) {
  ArmOk();
  EXPECT_EQ(PrintCommand(false).toStdString(), "printed");  // the planted fault
}

// Its dialog has no OK button: the earlier test's answer, had it survived, would click none.
TEST(Planted, TheNextScreenTestRunsAndPasses) {
  WhenModal([](QWidget* w) { Child<QPushButton>(w, QStringLiteral("BtnPrint"))->click(); });
  EXPECT_EQ(PrintCommand(true, QStringLiteral("BtnPrint")), QStringLiteral("printed"));
}

TEST(Planted, AnAnswerThatFindsNoButton) {
  ArmOk();
  PrintCommand(true, QStringLiteral("BtnPrint"));
}

TEST(Planted, AfterAMissingButton) {
  ArmOk();
  EXPECT_EQ(PrintCommand(true), QStringLiteral("printed"));
}

TEST(Planted, AMessageBoxAnswerNobodyTakes) {
  MsgBoxScript::SetNextAnswer(mrYes);
}

TEST(Planted, AfterAnUnusedMessageBoxAnswer) {
  EXPECT_EQ(MsgBox(QStringLiteral("Delete?"), QStringLiteral("Papyra"), 308), mrNo)
      << "the default answer, not an earlier test's";
  EXPECT_EQ(MsgBoxScript::Log().size(), 1);
}

TEST(Planted, AFileNameNobodyAsksFor) {
  DialogScript::SetNextFileName(QStringLiteral("/tmp/Planted.PE25"));
  DialogScript::Enable(false);
}

TEST(Planted, AfterAnUnusedFileName) {
  EXPECT_TRUE(DialogScript::Enabled());
  TFileDialogOptions open;
  open.title = QStringLiteral("Open");
  EXPECT_EQ(PromptOpenFileName(open).toStdString(), "") << "cancelled, as unscripted";
}

TEST(Planted, ATimerThatWouldFireLater) {
  QTimer::singleShot(50, TestScope(), [] { ADD_FAILURE() << "fired after the test that set it"; });
}

TEST(Planted, AfterATimer) {
  QTest::qWait(200);
}

TEST(Planted, ADialogNobodyAnswers) {
  PrintCommand(true);
}

TEST(Planted, AfterADialogNobodyAnswered) {
  ArmOk();
  EXPECT_EQ(PrintCommand(true), QStringLiteral("printed"));
}
}  // namespace
