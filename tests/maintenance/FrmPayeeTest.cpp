// The payee screen: the individual step, the eight checks with the focus on the faulty field,
// the bytes of a saved payee, and moving, adding and deleting payees through the navigator with
// the shown payee saved on every move.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>

#include "FrmTestFixture.h"
#include "controls/FilterEdit.h"
#include "controls/RSNavigator.h"
#include "controls/StateEdit.h"
#include "maintenance/FrmPayee.h"
#include "maintenance/RecordList.h"
#include "platform/MsgBox.h"
#include "storage/TinAnswers.h"

namespace {
// A payee that passes every check, as stored.
TPayeeRecord ValidPayee(const QString& name) {
  TPayeeRecord p = MakePayee(name);
  p.SetString("Address1", "1 Elm St");
  p.SetString("City", "Dayton");
  p.SetString("State", "OH");
  p.SetString("ZipCode", "45402");
  p.SetString("SSN_IDNum", "12-3456789");
  return p;
}

class FrmPayeeTest : public ScreenTest<TFrmPayee> {
 protected:
  void Show(const std::vector<TPayeeRecord>& payees = {}) {
    Open(payees);
    ShowScreen();
  }

  void ShowValid() override {
    Show();
    FillValid();
  }
  bool NothingWritten() const override { return PayeeOnDisk(1) == TPayeeRecord{}; }

  // A business payee that passes every check.
  void FillValid() {
    Screen->Individual->setChecked(false);
    Screen->PayeeName->setText("Acme Supply");
    Screen->Address1->setText("12 Main St");
    Screen->City->setText("Springfield");
    Screen->State->SetText("IL");
    Screen->ZipCode->setText("62701");
    Screen->SSN_IDNum->setText("123-45-6788");
  }

  void Click(TNavigationButtons button) {
    MsgBoxScript::Clear();
    Screen->RSNavigator->Button(button)->click();
  }
};
}  // namespace

TEST_F(FrmPayeeTest, ControlsHintsAndExplanationAsDescribed) {
  Show();
  struct Control {
    const char* name;
    int maxLength;  // 0: not an edit
    const char* validChars;
  } controls[] = {
      {"Individual", 0, nullptr},    {"LastName", 20, nullptr}, {"FirstName", 20, nullptr},
      {"PayeeName", 40, nullptr},    {"CompName", 40, nullptr}, {"Address1", 30, nullptr},
      {"City", 16, nullptr},         {"State", 0, nullptr},     {"ZipCode", 10, "[0..9,-]"},
      {"SSN_IDNum", 11, "[0..9,-]"},
  };
  QWidget* previous = nullptr;
  for (const Control& c : controls) {
    SCOPED_TRACE(c.name);
    QWidget* w = Screen->findChild<QWidget*>(c.name);
    ASSERT_NE(w, nullptr);
    if (c.maxLength) {
      EXPECT_EQ(qobject_cast<QLineEdit*>(w)->maxLength(), c.maxLength);
    }
    if (c.validChars) {
      EXPECT_EQ(qobject_cast<TFilterEdit*>(w)->ValidChars(), QLatin1String(c.validChars));
    }
    if (previous) {
      EXPECT_EQ(NextControl(previous), w);
    }
    previous = w;
  }
  EXPECT_FALSE(Screen->State->OkToDel());
  EXPECT_EQ(Screen->Individual->text(), "Indi&vidual*");
  EXPECT_EQ(Screen->windowTitle(), "Payee Data");
  const char* hints[] = {"First Payee (Alt + F)",  "Next Payee (Alt + N)", "Prior Payee (Alt + P)",
                         "Last Payee (Alt + L)",   "List Payee (Alt + I)", "New Record (Alt + E)",
                         "Delete Record (Alt + D)"};
  for (int b = nbFirst; b <= nbDelete; ++b) {
    QToolButton* button = Screen->RSNavigator->Button(static_cast<TNavigationButtons>(b));
    EXPECT_TRUE(button->isVisibleTo(Screen.get()));
    EXPECT_EQ(button->toolTip(), QLatin1String(hints[b]));
  }
  EXPECT_EQ(Screen->RSNavigator->RecordSet(), Payees());
  EXPECT_EQ(Screen->MemoHelp->toPlainText(),
            "* If the Payee is an Individual, then check the box and enter the Payee's Last and "
            "First \n   name. If the Payee is a Corporation,  Limited Liability Company,  or "
            "Trust,  then leave \n   the box un-checked and enter the Payee's complete name in "
            "the second field.");
  EXPECT_TRUE(Screen->MemoHelp->isReadOnly());
  EXPECT_EQ(Screen->MemoHelp->focusPolicy(), Qt::NoFocus);
  EXPECT_GE(Screen->MemoHelp->height(), 46);
  bool headed = false;
  for (QLabel* l : Screen->findChildren<QLabel*>()) headed |= l->text() == "Payee's name:";
  EXPECT_TRUE(headed);
}

TEST_F(FrmPayeeTest, IndividualBoxSwitchesTheNameFieldsAndTheFocus) {
  Show();
  EXPECT_FALSE(Screen->Individual->isChecked());  // a new file's blank payee
  EXPECT_TRUE(Screen->PayeeName->isEnabled());
  EXPECT_FALSE(Screen->LastName->isEnabled());
  EXPECT_EQ(FocusName(), "PayeeName");
  Screen->Individual->click();
  EXPECT_TRUE(Screen->LastName->isEnabled());
  EXPECT_TRUE(Screen->FirstName->isEnabled());
  EXPECT_FALSE(Screen->PayeeName->isEnabled());
  EXPECT_EQ(FocusName(), "LastName");
  Screen->Individual->click();
  EXPECT_FALSE(Screen->LastName->isEnabled());
  EXPECT_FALSE(Screen->FirstName->isEnabled());
  EXPECT_TRUE(Screen->PayeeName->isEnabled());
  EXPECT_EQ(FocusName(), "PayeeName");
}

TEST_F(FrmPayeeTest, EachCheckNamesItsFieldInOrder) {
  auto individual = [](TFrmPayee* s) {
    s->Individual->setChecked(true);
    s->LastName->setText("Smith");
    s->FirstName->setText("John");
  };
  const TCheckCase cases[] = {
      {"valid business", [](TFrmPayee*) {}, nullptr, ""},
      {"valid individual", individual, nullptr, ""},
      {"individual without last name",
       [&](TFrmPayee* s) {
         individual(s);
         s->LastName->clear();
       },
       "Payee's Last name is missing.", "LastName"},
      {"individual without first name",
       [&](TFrmPayee* s) {
         individual(s);
         s->FirstName->setText(" ");
       },
       "Payee's First name is missing.", "FirstName"},
      {"business without name", [](TFrmPayee* s) { s->PayeeName->clear(); },
       "Payee's name is missing.", "PayeeName"},
      {"no address", [](TFrmPayee* s) { s->Address1->clear(); }, "Payee address is missing.",
       "Address1"},
      {"no city", [](TFrmPayee* s) { s->City->clear(); }, "Payee's city name is missing.", "City"},
      {"no state", [](TFrmPayee* s) { s->State->SetItemIndex(-1); },
       "Payee's State code is missing.", "State"},
      {"bad zip", [](TFrmPayee* s) { s->ZipCode->setText("62701-12"); },
       "Payee's Zip Code is not valid.\nYou entered \"62701-12\"; type it as 12345 or "
       "12345-6789.",
       "ZipCode"},
      {"nine digits without dashes", [](TFrmPayee* s) { s->SSN_IDNum->setText("123456788"); },
       "Payee's Federal ID number is not valid.\nYou entered \"123456788\"; type a social security "
       "number as 123-45-6789 or an employer identification number as 12-3456789, with its dashes.",
       "SSN_IDNum"},
      {"employer number passes", [](TFrmPayee* s) { s->SSN_IDNum->setText("12-3456789"); }, nullptr,
       ""},
      {"first failing check wins",
       [](TFrmPayee* s) {
         s->City->clear();
         s->SSN_IDNum->clear();
       },
       "Payee's city name is missing.", "City"},
  };
  ExpectChecks(cases, &TFrmPayee::CompName);
}

TEST_F(FrmPayeeTest, SavedPayeeLandsInItsFieldsAndKeepsTheFormBlocks) {
  TPayeeRecord stored;
  stored.SetString("AcctNum1099NEC", "A-17");
  stored.SetDouble("F1099NEC1", 1250.5);
  stored.SetBool("Corrected1099MISC", true);
  Show({stored});
  Screen->Individual->setChecked(true);
  QTest::keyClicks(Screen->LastName, "Smith");
  QTest::keyClicks(Screen->FirstName, "John");
  QTest::keyClicks(Screen->CompName, "Smith Consulting");
  QTest::keyClicks(Screen->Address1, "12 Main St");
  QTest::keyClicks(Screen->City, "Springfield");
  QTest::keyClicks(Screen->State, "i");
  QTest::keyClicks(Screen->ZipCode, "62701-12x34");
  QTest::keyClicks(Screen->SSN_IDNum, "123-45-6788");
  ASSERT_TRUE(TryClose()) << MsgBoxScript::LastText().toStdString();

  const QByteArray disk = ReadAll(PayeePath());
  ASSERT_EQ(disk.size(), 1536);
  EXPECT_EQ(disk[4], 1);  // Individual
  struct Field {
    int offset;
    const char* text;
  } fields[] = {{5, "John Smith"},
                {46, "Smith"},
                {67, "John"},
                {88, "Smith Consulting"},
                {129, "12 Main St"},
                {160, "Springfield"},
                {177, "IA"},
                {180, "62701-1234"},
                {191, "Springfield IA 62701-1234"},
                {222, "123-45-6788"}};
  for (const Field& f : fields)
    EXPECT_EQ(StoredString(disk, f.offset), QByteArray(f.text)) << "offset " << f.offset;
  const TPayeeRecord after = PayeeOnDisk(1);
  EXPECT_EQ(after.GetString("AcctNum1099NEC"), "A-17");
  EXPECT_EQ(after.GetDouble("F1099NEC1"), 1250.5);
  EXPECT_TRUE(after.GetBool("Corrected1099MISC"));
}

TEST_F(FrmPayeeTest, IndividualNameIsFirstSpaceLastCutToForty) {
  Show();
  FillValid();
  Screen->Individual->setChecked(true);
  Screen->LastName->setText(QString(20, 'L'));
  Screen->FirstName->setText(QString(20, 'F'));
  ASSERT_TRUE(TryClose());
  EXPECT_EQ(PayeeOnDisk(1).GetString("PayeeName"), QString(20, 'F') + " " + QString(19, 'L'));
}

TEST_F(FrmPayeeTest, MovesSaveTheShownPayeeAndShowTheNextOne) {
  Show({ValidPayee("Alpha"), ValidPayee("Bravo"), ValidPayee("Charlie")});
  struct Step {
    TNavigationButtons button;
    const char* rename;  // given to the shown payee before the click
    int record;          // current afterwards
    const char* shown;
  } steps[] = {
      {nbNext, "Alpha 1", 2, "Bravo"},
      {nbLast, "Bravo 2", 3, "Charlie"},
      {nbPrior, "Charlie 3", 2, "Bravo 2"},
      {nbFirst, "Bravo 4", 1, "Alpha 1"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.rename);
    const int from = Payees()->CurrentRecord();
    Screen->PayeeName->setText(s.rename);
    Click(s.button);
    EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
    EXPECT_EQ(PayeeOnDisk(from).GetString("PayeeName"), QLatin1String(s.rename));
    EXPECT_EQ(Payees()->CurrentRecord(), s.record);
    EXPECT_EQ(Screen->PayeeName->text(), QLatin1String(s.shown));
  }
  EXPECT_FALSE(Screen->RSNavigator->Button(nbFirst)->isEnabled());  // on record 1
  EXPECT_TRUE(Screen->RSNavigator->Button(nbLast)->isEnabled());
}

TEST_F(FrmPayeeTest, NextOnAnInvalidPayeeStaysAndDeleteAsksWithoutChecking) {
  Show({ValidPayee("Alpha"), ValidPayee("Bravo"), ValidPayee("Charlie")});
  Screen->Address1->clear();
  Click(nbNext);
  EXPECT_EQ(MsgBoxScript::LastText(), "Payee address is missing.");
  EXPECT_EQ(Payees()->CurrentRecord(), 1);
  EXPECT_EQ(FocusName(), "Address1");
  EXPECT_EQ(PayeeOnDisk(1).GetString("Address1"), "1 Elm St");

  MsgBoxScript::Clear();
  MsgBoxScript::SetNextAnswer(mrOk);
  Screen->RSNavigator->Button(nbDelete)->click();
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbOkCancelDefCancel);  // the delete question only
  EXPECT_EQ(PayeesOnDisk(), 2);
  EXPECT_EQ(Payees()->CurrentRecord(), 1);
  EXPECT_EQ(Screen->PayeeName->text(), "Bravo");  // the record that moved into its place
  EXPECT_TRUE(RecIndexDirty);
}

TEST_F(FrmPayeeTest, NewSavesTheShownPayeeAndAddsAnEmptyOne) {
  Show({ValidPayee("Alpha")});
  EXPECT_FALSE(Screen->RSNavigator->Button(nbDelete)->isEnabled());  // the only payee
  Screen->Individual->setChecked(true);
  Screen->LastName->setText("Adams");
  Screen->FirstName->setText("Ann");
  Click(nbNew);
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
  EXPECT_EQ(PayeesOnDisk(), 2);
  EXPECT_EQ(PayeeOnDisk(1).GetString("PayeeName"), "Ann Adams");
  EXPECT_EQ(PayeeOnDisk(2), TPayeeRecord{});
  EXPECT_EQ(Payees()->CurrentRecord(), 2);
  EXPECT_FALSE(Screen->Individual->isChecked());
  EXPECT_TRUE(Screen->PayeeName->text().isEmpty());
  EXPECT_TRUE(Screen->Address1->text().isEmpty());
  EXPECT_EQ(FocusName(), "PayeeName");
  // The empty payee cannot be left until it is filled in or deleted.
  Click(nbPrior);
  EXPECT_EQ(MsgBoxScript::LastText(), "Payee's name is missing.");
  EXPECT_EQ(Payees()->CurrentRecord(), 2);
}

TEST_F(FrmPayeeTest, NameChangesMarkTheIndexForRebuilding) {
  Show({ValidPayee("Alpha"), ValidPayee("Alpha"), ValidPayee("Bravo")});
  struct Case {
    const char* name;
    std::function<void()> act;
    bool dirty;
  } cases[] = {
      {"typing a name", [&] { QTest::keyClicks(Screen->PayeeName, "x"); }, true},
      {"an address change", [&] { QTest::keyClicks(Screen->Address1, "x"); }, false},
      {"showing a payee of the same name",
       [&] {
         Screen->PayeeName->setText("Alpha");
         RecIndexDirty = false;
         Click(nbNext);
       },
       false},
      {"showing a payee of another name", [&] { Click(nbNext); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecIndexDirty = false;
    c.act();
    EXPECT_EQ(RecIndexDirty, c.dirty);
  }
}

TEST_F(FrmPayeeTest, ListButtonSavesAndShowsTheChosenPayee) {
  Show({ValidPayee("Charlie"), ValidPayee("Alpha"), ValidPayee("Bravo")});
  Screen->PayeeName->setText("Delta");
  QStringList listed;
  WhenModal([&](QWidget* w) {
    auto* list = qobject_cast<TFrmRecList*>(w);
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->RecordListBox->count(); ++i)
      listed << list->RecordListBox->item(i)->text();
    list->RecordListBox->setCurrentRow(0);
    list->BtnOk->click();
  });
  Click(nbList);
  EXPECT_EQ(listed, QStringList({"Alpha", "Bravo", "Delta"}));  // the renamed payee in place
  EXPECT_EQ(PayeeOnDisk(1).GetString("PayeeName"), "Delta");
  EXPECT_EQ(Payees()->CurrentRecord(), 2);
  EXPECT_EQ(Screen->PayeeName->text(), "Alpha");
}

TEST_F(FrmPayeeTest, AltKeysDriveTheNavigatorFromAnyField) {
  Show({ValidPayee("Alpha"), ValidPayee("Bravo"), ValidPayee("Charlie")});
  Screen->City->setFocus();
  QTest::keyClick(Screen->City, Qt::Key_L, Qt::AltModifier);
  EXPECT_EQ(Payees()->CurrentRecord(), 3);
  QTest::keyClick(Screen->focusWidget(), Qt::Key_N, Qt::AltModifier);  // Next is disabled
  EXPECT_EQ(Payees()->CurrentRecord(), 3);
  QTest::keyClick(Screen->focusWidget(), Qt::Key_F, Qt::AltModifier);
  EXPECT_EQ(Payees()->CurrentRecord(), 1);
  EXPECT_EQ(Screen->PayeeName->text(), "Alpha");
}

TEST_F(FrmPayeeTest, EscapeSavesAValidPayeeAndHelpOpensTopicEleven) {
  Show({ValidPayee("Alpha")});
  Screen->BtnHelp->click();
  EXPECT_EQ(HelpScript::Shown(), QList<int>({11}));
  Screen->PayeeName->setText("Alpha Renamed");
  Screen->City->setFocus();
  QTest::keyClick(Screen->City, Qt::Key_Escape);
  EXPECT_FALSE(Screen->isVisible());
  EXPECT_EQ(PayeeOnDisk(1).GetString("PayeeName"), "Alpha Renamed");
  EXPECT_EQ(PayeeOnDisk(1).GetString("CityStZip"), "Dayton OH 45402");
}

TEST_F(FrmPayeeTest, MenuCommandShowsTheScreenModally) {
  Open({ValidPayee("Alpha")});
  bool shown = false;
  WhenModal([&](QWidget* w) {
    auto* screen = qobject_cast<TFrmPayee*>(w);
    ASSERT_NE(screen, nullptr);
    shown = true;
    screen->PayeeName->setText("Alpha Two");
    screen->BtnOk->click();
  });
  ShowPayeeScreen();
  EXPECT_TRUE(shown);
  EXPECT_EQ(PayeeOnDisk(1).GetString("PayeeName"), "Alpha Two");
}

// A payee added by mistake, still blank, need not hold the user on the screen: Escape offers to
// delete it and closes. Declined, or once anything is typed, the checks stand as before; the
// only payee of a file is never offered.
TEST_F(FrmPayeeTest, EscapeOnABlankNewPayeeOffersToDeleteIt) {
  Show({ValidPayee("Alpha")});
  Click(nbNew);
  ASSERT_EQ(PayeesOnDisk(), 2);
  MsgBoxScript::SetNextAnswer(mrCancel);
  QTest::keyClick(Screen->PayeeName, Qt::Key_Escape);
  EXPECT_TRUE(Screen->isVisible());
  ASSERT_EQ(MsgBoxScript::Log().size(), 2);
  EXPECT_EQ(MsgBoxScript::Log()[0].text,
            "This payee is blank and has never been saved.\nDelete it and close?");
  EXPECT_EQ(MsgBoxScript::Log()[1].text, "Payee's name is missing.");
  EXPECT_EQ(PayeesOnDisk(), 2);

  MsgBoxScript::Clear();
  MsgBoxScript::SetNextAnswer(mrOk);
  QTest::keyClick(Screen->PayeeName, Qt::Key_Escape);
  EXPECT_FALSE(Screen->isVisible());
  EXPECT_EQ(PayeesOnDisk(), 1);
  EXPECT_EQ(PayeeOnDisk(1).GetString("PayeeName"), "Alpha");
  EXPECT_EQ(Payees()->DelMsgText(), "Confirm request~Delete current record from database?");

  // Something typed: not blank, so the checks speak.
  ShowScreen();
  Click(nbNew);
  Screen->City->setText("Dayton");
  MsgBoxScript::Clear();
  QTest::keyClick(Screen->City, Qt::Key_Escape);
  EXPECT_EQ(MsgBoxScript::LastText(), "Payee's name is missing.");
  EXPECT_TRUE(Screen->isVisible());
}

TEST_F(FrmPayeeTest, TinNoteWarnsAndShowsTheAnswerUntilNameOrNumberChanges) {
  const std::vector<TPayeeRecord> payees = {ValidPayee("Alpha"), ValidPayee("Bravo")};
  TPayeeRecord bravo = payees[1];
  bravo.SetString("SSN_IDNum", "34-5678901");
  TTinAnswers answers;
  answers.Put({TinMatchKeyOf(payees[0]), 3, QDate(2026, 1, 12)});
  answers.Put({TinMatchKeyOf(bravo), 0, QDate(2026, 1, 12)});
  const QString answersFile = TTinAnswers::FileFor(PayeePath());
  answers.Save(answersFile);
  Show({payees[0], bravo});

  EXPECT_EQ(Screen->TinNote->toolTip(),
            "TIN matching of 01/12/2026: Name and TIN do not match (3)");
  // What is shown is the same text, cut to the room beside the number.
  const QString shown = Screen->TinNote->text();
  ASSERT_FALSE(shown.isEmpty());
  EXPECT_TRUE(Screen->TinNote->toolTip().startsWith(shown.left(shown.size() - 1)));
  // A prefix the IRS never assigns is said while the number is shown; it is no reason to refuse.
  Screen->SSN_IDNum->setText("96-1234567");
  EXPECT_EQ(Screen->TinNote->toolTip(), "EIN prefix 96 is not one the IRS assigns");
  Screen->SSN_IDNum->setText("12-345");
  EXPECT_EQ(Screen->TinNote->toolTip(), "");
  Screen->SSN_IDNum->setText("12-3456789");
  EXPECT_TRUE(Screen->TinNote->toolTip().contains("(3)"));

  // A corrected name: the old answer is no longer the payee's, the other payee's stays.
  Screen->PayeeName->setText("Alpha Inc");
  EXPECT_EQ(Screen->TinNote->toolTip(), "");
  Click(nbNext);
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
  EXPECT_EQ(Screen->TinNote->toolTip(), "TIN matching of 01/12/2026: Name and TIN match (0)");
  const TTinAnswers kept = TTinAnswers::Load(answersFile);
  ASSERT_EQ(kept.Items().size(), 1u);
  EXPECT_EQ(kept.Items()[0].Key, TinMatchKeyOf(bravo));
  EXPECT_EQ(QFile::permissions(answersFile), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadUser | QFileDevice::WriteUser);
}
