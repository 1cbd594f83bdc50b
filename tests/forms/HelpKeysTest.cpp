// The help's key tables, pressed: every key that a topic of the payer, payee and form screens
// lists does on its screen what the topic says. A row whose words no check here knows fails, so
// the help cannot promise a key that nobody pressed.
#include <QApplication>
#include <QTest>
#include <functional>
#include <map>
#include <memory>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "controls/Calendar.h"
#include "controls/CheckBoxEdit.h"
#include "controls/DateEdit.h"
#include "controls/DollarEdit.h"
#include "controls/StateEdit.h"
#include "core/Utils.h"
#include "forms/DistCodes.h"
#include "forms/Frm1096.h"
#include "maintenance/FrmPayee.h"
#include "maintenance/FrmPayer.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "storage/Globals.h"

namespace {
// The window a key opened, closed again by the test: its object name, empty when none opened.
struct TOpened {
  QString Name;
};

// Closes the next modal window and tells its name.
std::shared_ptr<TOpened> CloseNextModal() {
  auto opened = std::make_shared<TOpened>();
  WhenModal(
      [opened](QWidget* w) {
        opened->Name = w->objectName();
        w->close();
      },
      1500);
  return opened;
}

QWidget* FirstOf(const QList<QWidget*>& widgets) {
  return widgets.isEmpty() ? nullptr : widgets.first();
}

template <typename T>
QWidget* FirstVisible(QWidget& screen) {
  QList<QWidget*> found;
  for (T* w : screen.findChildren<T*>())
    if (w->isVisible() && w->isEnabled() && w->focusPolicy() & Qt::TabFocus) found << w;
  return FirstOf(found);
}

// What a date key gives from Wednesday, March 12, 2025, pressed once and pressed again.
const std::map<QString, std::pair<QString, QString>>& DateEffects() {
  static const std::map<QString, std::pair<QString, QString>> effects = {
      {"one day later", {"03/13/2025", "03/14/2025"}},
      {"one day earlier", {"03/11/2025", "03/10/2025"}},
      {"the first day of the month; again, of the month before", {"03/01/2025", "02/01/2025"}},
      {"the last day of the month; again, of the month after", {"03/31/2025", "04/30/2025"}},
      {"January 1 of the year; again, of the year before", {"01/01/2025", "01/01/2024"}},
      {"December 31 of the year; again, of the year after", {"12/31/2025", "12/31/2026"}},
      {"the Sunday of the week; again, the Sunday before", {"03/09/2025", "03/02/2025"}},
      {"the Saturday of the week; again, the Saturday after", {"03/15/2025", "03/22/2025"}},
  };
  return effects;
}

class HelpKeysTest : public TFormsTest {
 protected:
  void SetUp() override {
    TFormsTest::SetUp();
    HelpScript::Clear();
    DistCodesScript::Clear();
  }

  // Five valid payees, the third shown: each move lands on a record of its own.
  void OpenFive() {
    QList<TPayeeRecord> payees;
    for (const char* name : {"Adams", "Baker", "Clark", "Dunn", "Evans"}) {
      TPayeeRecord payee = SamplePayee(QLatin1String(name), QStringLiteral("123-45-6788"), 100);
      payee.SetString("City", QStringLiteral("Decatur"));
      payee.SetString("State", QStringLiteral("IL"));
      payee.SetString("ZipCode", QStringLiteral("62521"));
      payees << payee;
    }
    OpenPayerFile(SamplePayer(), payees);
    Module->RSPayee->SetCurrentRecord(3);
    Module->RSPayee->GetRec();
  }

  // The focus where the row's keys are pressed.
  static QWidget* Where(QWidget& screen, const QString& where) {
    if (where == "anywhere") return FirstVisible<QLineEdit>(screen);
    if (where == "in a money box") return FirstVisible<TDollarEdit>(screen);
    if (where == "in a date box") return FirstVisible<TDateEdit>(screen);
    if (where == "in a check box") return FirstVisible<TCheckBoxEdit>(screen);
    if (where == "in box 7") return screen.findChild<QWidget*>("F1099R7");
    if (where == "in the state list" || where == "in a state list")
      return screen.findChild<TStateEdit*>("State");
    if (where == "in the primary or secondary state")
      return screen.findChild<TStateEdit*>("StateName1");
    return nullptr;
  }

  // Presses the row's keys on a freshly opened screen and checks what they did.
  void Check(const THelpKeyRow& row, const std::function<std::unique_ptr<QWidget>()>& open) {
    SCOPED_TRACE(QStringLiteral("%1 %2 %3: %4")
                     .arg(row.Screen, row.Keys, row.Where, row.Does)
                     .toStdString());
    OpenFive();
    std::unique_ptr<QWidget> screen = open();
    ShowActive(*screen);
    QWidget* at = Where(*screen, row.Where);
    ASSERT_NE(at, nullptr) << "no such place on the screen";
    at->setFocus(Qt::TabFocusReason);
    MsgBoxScript::Clear();
    HelpScript::Clear();
    const QString& does = row.Does;
    const int record = Module->RSPayee->CurrentRecord();
    const int records = Module->RSPayee->RecordCount();

    if (auto date = DateEffects().find(does); date != DateEffects().end()) {
      auto* box = static_cast<TDateEdit*>(at);
      box->setText(QStringLiteral("03/12/2025"));
      PressHelpKeys(row.Keys);
      EXPECT_EQ(box->text(), date->second.first);
      PressHelpKeys(row.Keys);
      EXPECT_EQ(box->text(), date->second.second);
      return;
    }
    if (does == "puts in today's date") {
      static_cast<TDateEdit*>(at)->setText(QStringLiteral("03/12/2025"));
      PressHelpKeys(row.Keys);
      EXPECT_EQ(static_cast<TDateEdit*>(at)->text(), DateFieldText(QDate::currentDate()));
      return;
    }
    if (does == "selects the whole amount, so the digits typed next replace it") {
      static_cast<TDollarEdit*>(at)->SetValue(1234.5);
      at->setFocus(Qt::TabFocusReason);
      QTest::keyClick(at, Qt::Key_End);
      PressHelpKeys(row.Keys);
      QTest::keyClicks(at, "77");
      EXPECT_EQ(static_cast<TDollarEdit*>(at)->text(), "77");
      return;
    }
    if (does == "ticks or clears the box") {
      auto* box = static_cast<TCheckBoxEdit*>(at);
      const bool before = box->Checked();
      PressHelpKeys(row.Keys);
      EXPECT_NE(box->Checked(), before);
      return;
    }
    if (does.startsWith("chooses the state whose code you type, here ")) {
      PressHelpKeys(row.Keys);
      EXPECT_EQ(static_cast<TStateEdit*>(at)->Text(), does.right(2));
      return;
    }
    if (does == "clears the state") {
      static_cast<TStateEdit*>(at)->SetText(QStringLiteral("IL"));
      PressHelpKeys(row.Keys);
      EXPECT_EQ(static_cast<TStateEdit*>(at)->ItemIndex(), -1);
      return;
    }
    const std::map<QString, QString> opens = {
        {"opens the payee list", "FrmRecList"},
        {"opens the calculator", "Calculator"},
        {"opens the calendar", "FrmCalendar"},
    };
    if (auto window = opens.find(does); window != opens.end()) {
      const auto opened = CloseNextModal();
      PressHelpKeys(row.Keys);
      EXPECT_EQ(opened->Name, window->second);
      return;
    }
    if (does == "opens the list of distribution codes") {
      DistCodesScript::Clear();
      DistCodesScript::Enable(true);
      PressHelpKeys(row.Keys);
      DistCodesScript::Enable(false);
      EXPECT_EQ(DistCodesScript::Shown(), 1);
      return;
    }
    if (does == "opens this topic") {
      PressHelpKeys(row.Keys);
      EXPECT_EQ(HelpScript::Shown().value(0), row.Context);
      return;
    }
    if (does == "closes the screen, after the checks") {
      PressHelpKeys(row.Keys);
      EXPECT_FALSE(screen->isVisible()) << MsgBoxScript::LastText().toStdString();
      return;
    }
    if (does == "moves to the next box" || does == "moves to the next field") {
      PressHelpKeys(row.Keys);
      EXPECT_NE(QApplication::focusWidget(), at);
      EXPECT_TRUE(screen->isAncestorOf(QApplication::focusWidget()));
      return;
    }
    if (does == "moves to the CORRECTED box") {
      PressHelpKeys(row.Keys);
      ASSERT_NE(QApplication::focusWidget(), nullptr);
      EXPECT_EQ(QApplication::focusWidget()->objectName(), "Corrected");
      return;
    }
    const std::map<QString, int> moves = {{"shows the first payee", 1},
                                          {"shows the prior payee", record - 1},
                                          {"shows the next payee", record + 1},
                                          {"shows the last payee", records}};
    if (auto move = moves.find(does); move != moves.end()) {
      PressHelpKeys(row.Keys);
      EXPECT_EQ(Module->RSPayee->CurrentRecord(), move->second);
      return;
    }
    if (does == "adds a new payee") {
      PressHelpKeys(row.Keys);
      EXPECT_EQ(Module->RSPayee->RecordCount(), records + 1);
      return;
    }
    if (does == "deletes this payee, after asking") {
      MsgBoxScript::SetNextAnswer(mrCancel);
      PressHelpKeys(row.Keys);
      ASSERT_EQ(MsgBoxScript::Log().size(), 1);
      EXPECT_TRUE(MsgBoxScript::Log()[0].text.contains("Delete current record"));
      EXPECT_EQ(Module->RSPayee->RecordCount(), records);  // the answer was Cancel
      return;
    }
    ADD_FAILURE() << "no check knows what the help says these keys do";
  }
};

template <typename T>
std::unique_ptr<QWidget> Make() {
  return std::make_unique<T>();
}

// A payer that passes every check, so Escape may close its screen.
std::unique_ptr<QWidget> ValidPayerScreen() {
  PayerRec = SamplePayer();
  PayerRec.SetString("Address1", QStringLiteral("1 Main St"));
  PayerRec.SetString("City", QStringLiteral("Springfield"));
  PayerRec.SetString("State", QStringLiteral("IL"));
  PayerRec.SetString("ZipCode", QStringLiteral("62704"));
  PayerRec.SetString("Contact", QStringLiteral("Pat Doe"));
  PayerRec.SetString("StateID1", QStringLiteral("12345678"));
  PayerRec.SetString("StateID2", QString());
  PayerRec.SetString("StateName2", QString());
  return std::make_unique<TFrmPayer>();
}
}  // namespace

TEST_F(HelpKeysTest, EveryKeyOfTheScreenTopicsDoesWhatItsTableSays) {
  const std::map<QString, std::function<std::unique_ptr<QWidget>()>> screens = {
      {"payer", ValidPayerScreen},
      {"payee", Make<TFrmPayee>},
      {"form:1096", Make<TFrm1096>},
      {"form:1098", Make<TFrm1098>},
      {"form:1099-DIV", Make<TFrm1099DIV>},
      {"form:1099-INT", Make<TFrm1099INT>},
      {"form:1099-MISC", Make<TFrm1099MISC>},
      {"form:1099-NEC", Make<TFrm1099NEC>},
      {"form:1099-R", Make<TFrm1099R>},
      {"form:1099-S", Make<TFrm1099S>},
  };
  int pressed = 0;
  for (const THelpKeyRow& row : HelpKeyRows()) {
    const auto screen = screens.find(row.Screen);
    if (screen == screens.end()) continue;  // the preview's and the main window's own tests
    Check(row, screen->second);
    ClosePayerFile();
    ++pressed;
  }
  EXPECT_GE(pressed, 100);  // every form topic has its table
}
