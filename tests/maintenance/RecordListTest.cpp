// The name-sorted payee index and the list window that picks a payee by name.
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <set>

#include "FrmTestFixture.h"
#include "maintenance/RecordList.h"
#include "platform/MsgBox.h"

namespace {
std::vector<TPayeeRecord> NumberedBusinesses(int count) {
  std::vector<TPayeeRecord> payees;
  // Names in reverse record order, so the sorted order differs from the file's.
  for (int i = 0; i < count; ++i)
    payees.push_back(MakePayee(QStringLiteral("Payee %1").arg(count - i, 3, 10, QChar('0'))));
  return payees;
}

QStringList IndexNames() {
  QStringList names;
  for (const RecIndexData& e : RecIndex) names << e.Name;
  return names;
}

// Shows the list through ShowRecordList and lets act drive the window.
void RunList(std::function<void(TFrmRecList*)> act) {
  bool ran = false;
  WhenModal([&](QWidget* w) {
    auto* list = qobject_cast<TFrmRecList*>(w);
    ASSERT_NE(list, nullptr);
    ran = true;
    act(list);
  });
  ShowRecordList();
  EXPECT_TRUE(ran);
}
}  // namespace

using RecordListTest = PayerFileTest;

TEST(RecordListSortName, IndividualsByLastThenFirstNameBusinessesByNameLine) {
  struct Case {
    TPayeeRecord payee;
    QString expected;
  } cases[] = {
      {MakePayee("Smith Hardware"), "Smith Hardware"},
      {MakePayee("", "Adams", "John"), "Adams\tJohn"},
      {MakePayee("", QString(20, 'L'), QString(20, 'F')),
       QString(20, 'L') + "\t" + QString(19, 'F')},
  };
  for (const Case& c : cases) EXPECT_EQ(PayeeSortName(c.payee), c.expected);
}

TEST_F(RecordListTest, SortsIgnoringCaseListsEveryPayeeOnceAndKeepsTheCurrentRecord) {
  Open({MakePayee("Smith"), MakePayee("", "Adams", "John"), MakePayee("", "adams", "Beth"),
        MakePayee("Baker & Sons"), MakePayee("Jones"), MakePayee("jones"), MakePayee("JONES")});
  Payees()->SetCurrentRecord(4);
  Payees()->GetRec();
  RecIndexCount = Payees()->RecordCount();
  BuildRecIndex();

  ASSERT_EQ(RecIndex.size(), 7u);
  EXPECT_EQ(IndexNames().mid(0, 3), QStringList({"adams\tBeth", "Adams\tJohn", "Baker & Sons"}));
  EXPECT_EQ(RecIndex[0].Index, 2);
  EXPECT_EQ(RecIndex[1].Index, 1);
  EXPECT_EQ(RecIndex[6].Name, "Smith");
  EXPECT_EQ(RecIndex[6].Index, 0);
  // The three equal names may come in any order among themselves, each once.
  std::set<int> jones, all;
  for (int i = 3; i < 6; ++i) {
    EXPECT_EQ(RecIndex[i].Name.toLower(), "jones");
    jones.insert(RecIndex[i].Index);
  }
  EXPECT_EQ(jones, (std::set<int>{4, 5, 6}));
  for (const RecIndexData& e : RecIndex) all.insert(e.Index);
  EXPECT_EQ(all.size(), 7u);
  EXPECT_FALSE(RecIndexDirty);
  EXPECT_EQ(Payees()->CurrentRecord(), 4);
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), "Baker & Sons");
}

TEST_F(RecordListTest, SortsWithTheUsersLocale) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  Open({MakePayee("Zeta"), MakePayee(QString::fromUtf8("\xc3\x89lan")), MakePayee("adams")});
  RecIndexCount = 3;
  BuildRecIndex();
  QLocale::setDefault(saved);
  EXPECT_EQ(IndexNames(), QStringList({"adams", QString::fromUtf8("\xc3\x89lan"), "Zeta"}));
}

TEST_F(RecordListTest, RebuildsOnlyWhenMarkedDirty) {
  Open({MakePayee("Beta"), MakePayee("Alpha")});
  RecIndexCount = 2;
  BuildRecIndex();
  ASSERT_EQ(IndexNames(), QStringList({"Alpha", "Beta"}));

  Payees()->SetCurrentRecord(1);
  Payees()->GetRec();
  PayeeRec.SetString("PayeeName", "Gamma");
  Payees()->PostRec();
  BuildRecIndex();
  EXPECT_EQ(IndexNames(), QStringList({"Alpha", "Beta"}));  // not marked: the old index stands

  RecIndexDirty = true;
  BuildRecIndex();
  EXPECT_EQ(IndexNames(), QStringList({"Alpha", "Gamma"}));
}

TEST_F(RecordListTest, SinglePayeeGetsOneUnnamedEntryAndStaysDirty) {
  Open({MakePayee("Only")});
  RecIndexCount = 1;
  BuildRecIndex();
  ASSERT_EQ(RecIndex.size(), 1u);
  EXPECT_EQ(RecIndex[0].Index, 0);
  EXPECT_TRUE(RecIndex[0].Name.isEmpty());
  EXPECT_TRUE(RecIndexDirty);
}

TEST_F(RecordListTest, ListCommandWithOnePayeeShowsItsMessageInstead) {
  Open({MakePayee("Only")});
  ShowRecordList();
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::Log()[0].text,
            "The list window is not available when\nthere is only 1 record in the database");
  EXPECT_EQ(MsgBoxScript::Log()[0].caption, AppTitle());
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbOk);
}

TEST_F(RecordListTest, ListsTheNamesWithTheCurrentPayeeSelectedAndTheChosenOneBecomesCurrent) {
  Open(
      {MakePayee("Delta"), MakePayee("", "Carter", "Ann"), MakePayee("Bravo"), MakePayee("Alpha")});
  QStringList shown;
  RunList([&](TFrmRecList* list) {
    for (int i = 0; i < list->RecordListBox->count(); ++i)
      shown << list->RecordListBox->item(i)->text();
    // Record 1, Delta, is current: Enter alone would keep it.
    ASSERT_EQ(list->RecordListBox->selectedItems().size(), 1);
    EXPECT_EQ(list->RecordListBox->selectedItems()[0]->text(), "Delta");
    EXPECT_EQ(list->windowTitle(), "Payer List");
    list->RecordListBox->setCurrentRow(2);  // the third name: Carter, record 2
    list->BtnOk->click();
  });
  EXPECT_EQ(shown, QStringList({"Alpha", "Bravo", "Carter\tAnn", "Delta"}));
  EXPECT_EQ(Payees()->CurrentRecord(), RecIndex[2].Index + 1);
  EXPECT_EQ(Payees()->CurrentRecord(), 2);
  EXPECT_EQ(PayeeRec.GetString("LastName"), "Carter");
}

TEST_F(RecordListTest, KeysAndDoubleClickChooseOrLeaveTheCurrentPayee) {
  struct Case {
    const char* name;
    std::function<void(TFrmRecList*)> act;
    int expectedRecord;  // "Alpha" is record 3, the current record stays 1 otherwise
  } cases[] = {
      {"Enter with a selection",
       [](TFrmRecList* l) {
         l->RecordListBox->setCurrentRow(0);
         QTest::keyClick(l->RecordListBox, Qt::Key_Return);
       },
       3},
      {"double click on the selected name",
       [](TFrmRecList* l) {
         l->RecordListBox->setCurrentRow(0);
         emit l->RecordListBox->itemDoubleClicked(l->RecordListBox->item(0));
       },
       3},
      {"Escape after selecting",
       [](TFrmRecList* l) {
         l->RecordListBox->setCurrentRow(0);
         QTest::keyClick(l->RecordListBox, Qt::Key_Escape);
       },
       1},
      {"Cancel after selecting",
       [](TFrmRecList* l) {
         l->RecordListBox->setCurrentRow(0);
         l->BtnCancel->click();
       },
       1},
      {"Ok without a selection", [](TFrmRecList* l) { l->BtnOk->click(); }, 1},
  };
  Open({MakePayee("Charlie"), MakePayee("Bravo"), MakePayee("Alpha")});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Payees()->FirstRec();
    RunList(c.act);
    EXPECT_EQ(Payees()->CurrentRecord(), c.expectedRecord);
    EXPECT_EQ(PayeeRec.GetString("PayeeName"), c.expectedRecord == 3 ? "Alpha" : "Charlie");
  }
}

TEST_F(RecordListTest, WindowAndListHeightsFollowTheEntryCount) {
  struct Case {
    int entries, window, list;
  } cases[] = {{2, 121, 33},  {3, 129, 43},   {6, 165, 82},
               {9, 205, 121}, {10, 217, 134}, {25, 217, 134}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entries);
    Close();
    Open(NumberedBusinesses(c.entries));
    RunList([&](TFrmRecList* list) {
      EXPECT_EQ(list->RecordListBox->count(), c.entries);
      EXPECT_EQ(list->width(), 258);
      EXPECT_EQ(TFrmRecList::WindowHeightFor(c.entries), c.window);
      // The window height counts a 25-pixel caption and frame.
      EXPECT_EQ(list->height(), c.window - 25);
      EXPECT_EQ(list->RecordListBox->height(), c.list);
      EXPECT_EQ(list->RecordListBox->verticalScrollBar()->maximum() > 0, c.entries > 10);
      EXPECT_EQ(list->PanelContainer->geometry().bottom(), list->height() - 8 - 1);
      EXPECT_TRUE(list->RecordListBox->hasFocus() || list->focusWidget() == list->RecordListBox);
      list->BtnCancel->click();
    });
  }
}
