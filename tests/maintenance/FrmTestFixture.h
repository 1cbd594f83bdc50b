#pragma once
// A data module over a payer file in a temporary folder, opened as the main window opens one,
// for the tests of the payer, payee and list screens; and a screen shown over it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QPushButton>
#include <functional>
#include <memory>
#include <span>

#include "TestSupport.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

// A payee record with a business name or, for an individual, a last and first name.
inline TPayeeRecord MakePayee(const QString& name, const QString& lastName = {},
                              const QString& firstName = {}) {
  TPayeeRecord payee;
  const bool individual = !lastName.isEmpty() || !firstName.isEmpty();
  payee.SetBool("Individual", individual);
  payee.SetString("PayeeName", individual ? firstName + " " + lastName : name);
  payee.SetString("LastName", lastName);
  payee.SetString("FirstName", firstName);
  return payee;
}

class PayerFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MsgBoxScript::Clear();
    HelpScript::Clear();
    DataModule = std::make_unique<TFrmDataModule>();
    DataModule->RSPayer->SetRecSize(448);
    DataModule->RSPayee->SetRecSize(1536);
    DataModule->RSPayee->SetMaxRec(10000);
    PayerRec.Clear();
    PayeeRec.Clear();
  }

  void TearDown() override {
    Close();
    DataModule.reset();
    MsgBoxScript::Clear();
  }

  // Writes the payer file pair with these payees (one blank payee when none) and opens it.
  void Open(const std::vector<TPayeeRecord>& payees = {}, const TPayerRecord& payer = {}) {
    QByteArray bytes;
    for (const TPayeeRecord& p : payees)
      bytes.append(reinterpret_cast<const char*>(p.Data()), TPayeeRecord::Size);
    if (payees.empty()) bytes = QByteArray(TPayeeRecord::Size, '\0');
    WriteAll(PayeePath(), bytes);
    WriteAll(PayerPath(), QByteArray(reinterpret_cast<const char*>(payer.Data()), 448));
    PayeeFileName = PayeePath();
    Payees()->SetFileName(PayeeFileName);
    SkipPasswordCheck = true;  // the password prompt is not under test here
    Payees()->OpenRecSet();
    SkipPasswordCheck = false;
    ASSERT_TRUE(FileIsOpen);
  }

  void Close() {
    if (DataModule && Payees()->Active()) Payees()->CloseRecSet();
  }

  TRecordSet* Payees() const { return DataModule->RSPayee; }
  QString PayeePath() const { return Dir.Path("Test.PE25"); }
  QString PayerPath() const { return Dir.Path("Test.PR25"); }

  // Record n (1-based) of the payee file as it is on disk.
  TPayeeRecord PayeeOnDisk(int n) const {
    TPayeeRecord payee;
    const QByteArray bytes =
        ReadAll(PayeePath()).mid((n - 1) * TPayeeRecord::Size, TPayeeRecord::Size);
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<char*>(payee.Data()));
    return payee;
  }
  TPayerRecord PayerOnDisk() const {
    TPayerRecord payer;
    const QByteArray bytes = ReadAll(PayerPath()).left(448);
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<char*>(payer.Data()));
    return payer;
  }
  int PayeesOnDisk() const {
    return static_cast<int>(ReadAll(PayeePath()).size() / TPayeeRecord::Size);
  }

  TTempFolder Dir;
  std::unique_ptr<TFrmDataModule> DataModule;
};

// The text of a short string at its offset in a stored record: the length byte, then the text.
inline QByteArray StoredString(const QByteArray& record, int offset) {
  return record.mid(offset + 1, static_cast<uint8_t>(record[offset]));
}

// A data screen shown over the open payer file; it is released before the file closes.
template <typename TScreen>
class ScreenTest : public PayerFileTest {
 protected:
  void TearDown() override {
    Screen.reset();
    PayerFileTest::TearDown();
  }

  // Shows a new screen as the active window, with the message log cleared.
  void ShowScreen() {
    Screen = std::make_unique<TScreen>();
    Screen->show();
    QApplication::setActiveWindow(Screen.get());
    MsgBoxScript::Clear();
  }

  // Clicks Ok; answers whether the screen closed.
  bool TryClose() {
    MsgBoxScript::Clear();
    Screen->BtnOk->click();
    return !Screen->isVisible();
  }

  // A change to valid data and what Ok then does: close the screen (no message) or stay with this
  // error, as shown with the full stop the error display adds, and the focus on the named field.
  struct TCheckCase {
    const char* name;
    std::function<void(TScreen*)> change;
    const char* message;
    const char* focus;
  };

  // Runs each case on a fresh screen over a new file, shown filled with valid data by ShowValid,
  // and presses Ok from the bystander field; a refused close must leave the file unwritten.
  template <typename TField>
  void ExpectChecks(std::span<const TCheckCase> cases, TField* TScreen::*bystander) {
    for (const TCheckCase& c : cases) {
      SCOPED_TRACE(c.name);
      TearDown();
      SetUp();
      ShowValid();
      c.change(Screen.get());
      (Screen.get()->*bystander)->setFocus();
      ExpectOkVerdict(c.message, c.focus);
      if (c.message) {
        EXPECT_TRUE(NothingWritten());
      }
    }
  }
  virtual void ShowValid() = 0;
  virtual bool NothingWritten() const = 0;

  // Ok closes the screen when message is null; otherwise the screen stays, shows this one error
  // and puts the focus on the named control.
  void ExpectOkVerdict(const char* message, const char* focus) {
    const bool closed = TryClose();
    if (!message) {
      EXPECT_TRUE(closed);
      EXPECT_TRUE(MsgBoxScript::Log().isEmpty()) << MsgBoxScript::LastText().toStdString();
      return;
    }
    EXPECT_FALSE(closed);
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::LastText(), QLatin1String(message));
    EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbError);
    EXPECT_EQ(FocusName(), QLatin1String(focus));
  }

  // The name of the focused control; a state edit's focus sits in its unnamed line edit part.
  QString FocusName() const {
    QWidget* focus = Screen->focusWidget();
    if (!focus) return {};
    if (focus->objectName().isEmpty() && focus->parentWidget()) focus = focus->parentWidget();
    return focus->objectName();
  }

  // The screen's control after this one in tab order, passing over inner widgets (a state
  // edit's line edit).
  QWidget* NextControl(const QWidget* control) const {
    QWidget* next = control->nextInFocusChain();
    while (next && next->parentWidget() != Screen.get()) next = next->nextInFocusChain();
    return next;
  }

  std::unique_ptr<TScreen> Screen;
};
