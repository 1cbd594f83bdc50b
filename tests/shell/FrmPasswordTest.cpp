// The Set/Change Password screen: what may be typed, the rules and their messages, and what
// reaches the payer file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "TestSupport.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "shell/FrmPassword.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/Password.h"

namespace {
class FrmPasswordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MsgBoxScript::Clear();
    HelpScript::Clear();
    DataModule = std::make_unique<TFrmDataModule>();
    DataModule->RSPayer->SetRecSize(448);
    DataModule->RSPayee->SetRecSize(1536);
  }
  void TearDown() override {
    Screen.reset();
    if (DataModule->RSPayee->Active()) DataModule->RSPayee->CloseRecSet();
    DataModule.reset();
    SkipPasswordCheck = false;
  }

  // Opens a payer file whose payer carries the given plain password, and shows the screen.
  void OpenAndShow(const QString& password = {}) {
    TPayerRecord payer;
    payer.SetString("PayerName", "Acme");
    payer.SetString("FilePassword", ScramblePassword(password));
    WriteAll(Dir.Path("P.PR25"), QByteArray(reinterpret_cast<const char*>(payer.Data()), 448));
    WriteAll(Dir.Path("P.PE25"), QByteArray(1536, '\0'));
    SkipPasswordCheck = true;  // the open itself is not under test
    PayeeFileName = Dir.Path("P.PE25");
    DataModule->RSPayee->SetFileName(PayeeFileName);
    DataModule->RSPayee->OpenRecSet();
    SkipPasswordCheck = false;
    ASSERT_TRUE(FileIsOpen);
    Screen = std::make_unique<TFrmPassword>();
    Screen->show();
  }

  QString StoredPassword() const {
    TPayerRecord payer;
    const QByteArray bytes = ReadAll(Dir.Path("P.PR25"));
    std::copy(bytes.begin(), bytes.begin() + 448, reinterpret_cast<char*>(payer.Data()));
    return payer.GetString("FilePassword");
  }

  TTempFolder Dir;
  std::unique_ptr<TFrmDataModule> DataModule;
  std::unique_ptr<TFrmPassword> Screen;
};
}  // namespace

TEST_F(FrmPasswordTest, ScreenLooksAsDescribed) {
  OpenAndShow();
  EXPECT_EQ(Screen->windowTitle(), "Set/Change Password");
  EXPECT_EQ(Screen->HelpContext(), 22);
  EXPECT_EQ(Screen->PW1->echoMode(), QLineEdit::Password);
  EXPECT_EQ(Screen->PW2->echoMode(), QLineEdit::Password);
  EXPECT_EQ(Screen->BtnOk->text(), "&Ok");
  EXPECT_EQ(Screen->BtnCancel->text(), "&Cancel");
  EXPECT_FALSE(Screen->BtnOk->focusPolicy() & Qt::TabFocus);
  EXPECT_FALSE(Screen->BtnCancel->focusPolicy() & Qt::TabFocus);
  EXPECT_FALSE(Screen->windowFlags() & Qt::WindowCloseButtonHint);
  QTest::keyClick(Screen->PW1, Qt::Key_F1);
  EXPECT_EQ(HelpScript::Shown(), QList<int>({22}));
}

TEST_F(FrmPasswordTest, OnlyLettersAndDigitsCanBeTypedAndNoMoreThanTwelve) {
  OpenAndShow();
  struct Case {
    const char* typed;
    const char* shown;
  } cases[] = {
      {"abcdefghijkLM", "abcdefghijkL"},  // a 13th character cannot be typed
      {"a b.c,d!e-f_g@1", "abcdefg1"},    // space and punctuation do nothing
      {"Zz09", "Zz09"},
  };
  for (QLineEdit* edit : {Screen->PW1, Screen->PW2}) {
    for (const Case& c : cases) {
      edit->clear();
      QTest::keyClicks(edit, QLatin1String(c.typed));
      EXPECT_EQ(edit->text(), QLatin1String(c.shown)) << c.typed;
    }
  }
  // Backspace still edits; pasted punctuation is refused like typed punctuation.
  Screen->PW1->setText("abc");
  QTest::keyClick(Screen->PW1, Qt::Key_Backspace);
  EXPECT_EQ(Screen->PW1->text(), "ab");
  QApplication::clipboard()->setText("x!y");
  Screen->PW1->paste();
  EXPECT_EQ(Screen->PW1->text(), "ab");
}

TEST_F(FrmPasswordTest, EnterMovesBetweenTheTwoFields) {
  OpenAndShow();
  QApplication::setActiveWindow(Screen.get());
  Screen->PW1->setFocus();
  QTest::keyClick(Screen->PW1, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), Screen->PW2);
  EXPECT_TRUE(Screen->isVisible());
}

TEST_F(FrmPasswordTest, TabAndShiftTabMoveBetweenTheTwoFields) {
  OpenAndShow();
  QApplication::setActiveWindow(Screen.get());
  const struct {
    QLineEdit* from;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    QLineEdit* to;
  } cases[] = {
      {Screen->PW1, Qt::Key_Tab, Qt::NoModifier, Screen->PW2},
      {Screen->PW2, Qt::Key_Backtab, Qt::ShiftModifier, Screen->PW1},
      {Screen->PW2, Qt::Key_Tab, Qt::ShiftModifier, Screen->PW1},
  };
  for (const auto& c : cases) {
    c.from->setFocus();
    QTest::keyClick(c.from, c.key, c.mods);
    EXPECT_EQ(QApplication::focusWidget(), c.to) << c.from->objectName().toStdString();
    EXPECT_EQ(c.from->text(), "");
  }
}

TEST_F(FrmPasswordTest, OkAppliesTheRulesInOrder) {
  struct Case {
    const char* name;
    const char* stored;  // the password the file has before
    const char* pw1;
    const char* pw2;
    const char* message;  // nullptr: accepted and closed
    const char* result;   // plain password stored afterwards
  } cases[] = {
      {"4 characters refused", "", "abcd", "abcd", "The Password cannot be less than 5 characters",
       ""},
      {"5 characters accepted", "", "abcde", "abcde", nullptr, "abcde"},
      {"12 characters accepted", "", "aB3dE6gH9jK0", "aB3dE6gH9jK0", nullptr, "aB3dE6gH9jK0"},
      {"mismatch", "", "Secret1", "secret1", "The Password and Confirmation fields don't match",
       ""},
      {"confirmation left empty", "Secret1", nullptr, "",
       "The Password and Confirmation fields don't match", "Secret1"},
      {"same password again keeps it", "Secret1", nullptr, "Secret1", nullptr, "Secret1"},
      {"empty first field removes it", "Secret1", "", "Other99", nullptr, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    OpenAndShow(QLatin1String(c.stored));
    EXPECT_EQ(Screen->PW1->text(), QLatin1String(c.stored));  // shown unscrambled
    EXPECT_TRUE(Screen->PW2->text().isEmpty());
    if (c.pw1) Screen->PW1->setText(QLatin1String(c.pw1));
    Screen->PW2->setText(QLatin1String(c.pw2));
    Screen->BtnOk->click();
    if (c.message) {
      ASSERT_EQ(MsgBoxScript::Log().size(), 1);
      EXPECT_EQ(MsgBoxScript::LastText(), QLatin1String(c.message));
      EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbError);
      EXPECT_TRUE(Screen->isVisible());
    } else {
      EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
      EXPECT_FALSE(Screen->isVisible());
      EXPECT_EQ(Screen->result(), QDialog::Accepted);
    }
    // Only an accepted Ok writes the payer file; the record keeps the scrambled form.
    EXPECT_EQ(StoredPassword(), ScramblePassword(QLatin1String(c.result)));
    EXPECT_EQ(UnscramblePassword(PayerRec.GetString("FilePassword")), QLatin1String(c.result));
  }
}

TEST_F(FrmPasswordTest, CancelChangesNothing) {
  OpenAndShow("Secret1");
  Screen->PW1->setText("");
  Screen->BtnCancel->click();
  EXPECT_FALSE(Screen->isVisible());
  EXPECT_EQ(Screen->result(), QDialog::Rejected);
  EXPECT_EQ(UnscramblePassword(PayerRec.GetString("FilePassword")), "Secret1");
  EXPECT_EQ(StoredPassword(), ScramblePassword("Secret1"));
}

TEST_F(FrmPasswordTest, MenuCommandShowsTheScreenModally) {
  OpenAndShow();
  Screen.reset();
  bool shown = false;
  WhenModal([&](QWidget* w) {
    auto* screen = qobject_cast<TFrmPassword*>(w);
    ASSERT_NE(screen, nullptr);
    shown = true;
    QTest::keyClicks(screen->PW1, "Abc12");
    QTest::keyClicks(screen->PW2, "Abc12");
    screen->BtnOk->click();
  });
  ShowPasswordScreen();
  EXPECT_TRUE(shown);
  EXPECT_EQ(StoredPassword(), ScramblePassword("Abc12"));
}
