#include "controls/RSNavigator.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QToolButton>

#include "EditTestHost.h"
#include "TestSupport.h"
#include "controls/Calendar.h"
#include "controls/CheckBoxEdit.h"
#include "controls/DateEdit.h"
#include "controls/EnterAsTab.h"
#include "controls/FilterEdit.h"
#include "controls/StateEdit.h"
#include "platform/MsgBox.h"

namespace {
constexpr int kSize = 32;

// A record file of count records; the first byte of record n is n.
QByteArray Numbered(int count) {
  QByteArray bytes(count * kSize, '\0');
  for (int n = 1; n <= count; ++n) bytes[(n - 1) * kSize] = static_cast<char>(n);
  return bytes;
}

const char* const kLetters = "FNPLIED";  // First Next Prior Last List New Delete

// The buttons' states in the fixed order, a letter for an enabled button and "." otherwise.
QString Enabled(const TRSNavigator& nav) {
  QString s;
  for (int i = 0; i < 7; ++i)
    s += nav.Button(static_cast<TNavigationButtons>(i))->isEnabled() ? QChar(kLetters[i])
                                                                     : QChar('.');
  return s;
}
}  // namespace

class RSNavigatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MsgBoxScript::Clear();
    Set.SetRecSize(kSize);
    Set.SetFileName(Folder.Path("payees.PE25"));
    Set.OnAfterRead = [this](TRecordSet*) { Log << QStringLiteral("read %1").arg(Shown()); };
    Set.OnBeforeDelete = [this](TRecordSet*) { Log << "before delete"; };
    Set.OnAfterDelete = [this](TRecordSet*) { Log << "after delete"; };
    Set.OnAfterNewRec = [this](TRecordSet*) { Log << "after new"; };
    Nav = Host.Place(new TRSNavigator, 10, 10);
    Nav->OnBeforeAction = [this](TRSNavigator* n) {
      Log << QStringLiteral("before %1").arg(n->Action());
    };
    Nav->OnAfterAction = [this](TRSNavigator* n) {
      Log << QStringLiteral("after %1").arg(n->Action());
    };
    Nav->OnBtnListClick = [this](TRSNavigator*) { Log << "list"; };
  }
  void Open(int records) {
    WriteAll(Set.FileName(), Numbered(records));
    Set.OpenRecSet();
    ASSERT_TRUE(Set.Active());
    Set.GetRec();
    Nav->SetRecordSet(&Set);
    Log.clear();
  }
  int Shown() const { return Set.RecordBuffer()[0]; }
  TTempFolder Folder;
  TRecordSet Set;
  TEditTestHost Host;
  TRSNavigator* Nav = nullptr;
  QStringList Log;
};

TEST_F(RSNavigatorTest, NewNavigatorHasSevenButtonsInARow) {
  TRSNavigator nav;
  EXPECT_EQ(nav.size(), QSize(154, 22));
  EXPECT_EQ(nav.VisibleButtons(), AllNavBtns);
  EXPECT_TRUE(nav.AutoPerform());
  EXPECT_EQ(nav.palette().color(QPalette::Window), nav.palette().color(QPalette::Button));
  const char* names[7] = {"NavBtnFirst", "NavBtnNext", "NavBtnPrior", "NavBtnLast",
                          "NavBtnList",  "NavBtnNew",  "NavBtnDelete"};
  const char* hints[7] = {"First Record", "Next Record", "Prior Record", "Last Record",
                          "List Records", "New Record",  "Delete Record"};
  for (int i = 0; i < 7; ++i) {
    auto* b = nav.findChild<QToolButton*>(QLatin1String(names[i]));
    ASSERT_NE(b, nullptr) << names[i];
    EXPECT_EQ(b, nav.Button(static_cast<TNavigationButtons>(i)));
    EXPECT_EQ(b->geometry(), QRect(22 * i, 0, 22, 22)) << names[i];
    EXPECT_EQ(b->toolTip(), QLatin1String(hints[i]));
    EXPECT_TRUE(b->text().isEmpty());
    EXPECT_EQ(b->iconSize(), QSize(15, 15));
    EXPECT_FALSE(b->icon().isNull());
    EXPECT_FALSE(b->isEnabled()) << "no record set yet";
  }
  EXPECT_EQ(nav.NavBtnNext, nav.Button(nbNext));
  for (const char* picture :
       {"NAV_FIRST", "NAV_NEXT", "NAV_PRIOR", "NAV_LAST", "NAV_LIST", "NAV_NEW", "NAV_DELETE"}) {
    EXPECT_EQ(NavigatorPicture(QLatin1String(picture)).size(), QSize(15, 15));
    // A scaled screen takes the picture drawn at twice the pixels, not the small one stretched.
    const QPixmap sharp = NavigatorIcon(QLatin1String(picture)).pixmap(QSize(15, 15), 2.0);
    EXPECT_EQ(sharp.size(), QSize(30, 30)) << picture;
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(15, 15)) << picture;
  }
}

TEST_F(RSNavigatorTest, VisibleButtonsSetTheWidth) {
  const struct {
    TNavBtns buttons;
    int width;
    const char* order;
  } cases[] = {
      {AllNavBtns, 154, "FNPLIED"},
      {AllNavBtns & ~NavBtn(nbList) & ~NavBtn(nbDelete), 110, "FNPLE"},
      {NavBtn(nbNext) | NavBtn(nbPrior), 44, "NP"},
      {NavBtn(nbDelete), 22, "D"},
  };
  for (const auto& c : cases) {
    Nav->SetVisibleButtons(c.buttons);
    EXPECT_EQ(Nav->width(), c.width);
    QString order;
    for (int x = 11; x < Nav->width(); x += 22) {
      auto* b = qobject_cast<QToolButton*>(Nav->childAt(x, 11));
      ASSERT_NE(b, nullptr);
      EXPECT_EQ(b->size(), QSize(22, 22));
      for (int i = 0; i < 7; ++i)
        if (Nav->Button(static_cast<TNavigationButtons>(i)) == b) order += QChar(kLetters[i]);
    }
    EXPECT_EQ(order, QLatin1String(c.order));
  }
  Nav->SetVisibleButtons(0);
  EXPECT_EQ(Nav->width(), 22) << "no buttons: nothing is laid out";
}

TEST_F(RSNavigatorTest, ResizingKeepsTheButtonWidthAndTakesTheHeight) {
  Host.ShowActive();
  Nav->SetVisibleButtons(AllNavBtns & ~NavBtn(nbList));
  Nav->resize(400, 30);
  EXPECT_EQ(Nav->width(), 132);
  EXPECT_EQ(Nav->NavBtnDelete->geometry(), QRect(110, 0, 22, 30));
  EXPECT_TRUE(Nav->NavBtnList->isHidden());
}

TEST_F(RSNavigatorTest, HintsCanBeRenamed) {
  Nav->SetBtnFirstHint("First Payee (Alt + F)");
  Nav->SetBtnListHint("List Payee (Alt + I)");
  EXPECT_EQ(Nav->NavBtnFirst->toolTip(), "First Payee (Alt + F)");
  EXPECT_EQ(Nav->BtnHint(nbList), "List Payee (Alt + I)");
  EXPECT_EQ(Nav->NavBtnNext->toolTip(), "Next Record");
}

// Record count, where the cursor stands, and the set's state; the buttons then enabled.
TEST_F(RSNavigatorTest, ButtonsFollowTheRecordSet) {
  const struct {
    int records;
    int current;
    int maxRec;
    bool browseOnly;
    bool autoPerform;
    const char* enabled;
  } cases[] = {
      {5, 1, 10000, false, true, ".N.LIED"}, {5, 5, 10000, false, true, "F.P.IED"},
      {5, 3, 10000, false, true, "FNPLIED"}, {1, 1, 10000, false, true, ".....E."},
      {5, 1, 10000, true, true, ".N.LI.."},  {5, 3, 5, false, true, "FNPLI.D"},
      {4, 3, 5, false, true, "FNPLIED"},     {5, 3, 10000, false, false, "......."},
  };
  for (const auto& c : cases) {
    TRecordSet holder;  // holds the file so that Set opens it browse-only
    WriteAll(Set.FileName(), Numbered(c.records));
    if (c.browseOnly) {
      holder.SetRecSize(kSize);
      holder.SetFileName(Set.FileName());
      holder.SetFileShareMode(smShareDenyWrite);
      holder.OpenRecSet();
    }
    Set.SetFileShareMode(smShareDenyWrite);
    Set.SetMaxRec(c.maxRec);
    Set.OpenRecSet();
    ASSERT_EQ(Set.BrowseOnly(), c.browseOnly);
    Set.SetCurrentRecord(c.current);
    Set.GetRec();
    Nav->SetAutoPerform(c.autoPerform);
    Nav->SetRecordSet(&Set);
    Nav->InitNavigator();
    EXPECT_EQ(Enabled(*Nav), QLatin1String(c.enabled)) << c.records << " records at " << c.current;
    Set.CloseRecSet();
    holder.CloseRecSet();
    Nav->InitNavigator();
    EXPECT_EQ(Enabled(*Nav), ".......") << "closed";
  }
}

TEST_F(RSNavigatorTest, ClosedRecordSetIgnoresClicks) {
  Set.SetFileName(Folder.Path("missing.PE25"));
  Nav->SetRecordSet(&Set);
  for (int i = 0; i < 7; ++i) Nav->BtnClick(static_cast<TNavigationButtons>(i));
  EXPECT_TRUE(Log.isEmpty());
  EXPECT_EQ(Enabled(*Nav), ".......");
}

// Buttons clicked with the mouse on a five-record file: where the cursor goes and what the
// navigator and the record set announced on the way.
TEST_F(RSNavigatorTest, ClicksMoveThroughTheFile) {
  Open(5);
  Host.ShowActive();
  const struct {
    TNavigationButtons button;
    int current;
    const char* log;
  } steps[] = {
      {nbNext, 2, "before 1|read 2|after 1"},
      {nbNext, 3, "before 1|read 3|after 1"},
      {nbLast, 5, "before 3|read 5|after 3"},
      {nbNext, 5, ""},  // disabled on the last record
      {nbPrior, 4, "before 2|read 4|after 2"},
      {nbFirst, 1, "before 0|read 1|after 0"},
      {nbPrior, 1, ""},
      {nbList, 1, "before 4|list|after 4"},
  };
  for (const auto& s : steps) {
    Log.clear();
    QTest::mouseClick(Nav->Button(s.button), Qt::LeftButton);
    EXPECT_EQ(Set.CurrentRecord(), s.current) << s.log;
    EXPECT_EQ(Shown(), s.current);
    EXPECT_EQ(Log.join('|'), QLatin1String(s.log));
  }
}

TEST_F(RSNavigatorTest, NewAndDeleteUseTheRecordSetsOwnQuestionsAndLimits) {
  Open(3);
  Set.SetMaxRec(4);
  Nav->BtnClick(nbNext);
  Log.clear();

  MsgBoxScript::SetNextAnswer(mrCancel);
  Nav->BtnClick(nbDelete);
  EXPECT_EQ(Set.RecordCount(), 3);
  EXPECT_EQ(Log.join('|'), "before 6|after 6");
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::LastText(), "Confirm request\nDelete current record from database?");

  Log.clear();
  MsgBoxScript::SetNextAnswer(mrOk);
  Nav->BtnClick(nbDelete);
  EXPECT_EQ(Set.RecordCount(), 2);
  EXPECT_EQ(Set.CurrentRecord(), 2);
  EXPECT_EQ(Shown(), 3) << "the record after the deleted one moved up";
  // The records behind move without passing through the buffer: one read, of the record shown.
  EXPECT_EQ(Log.join('|'), "before 6|before delete|read 3|after delete|after 6");
  EXPECT_EQ(Enabled(*Nav), "F.P.IED");

  Log.clear();
  Nav->BtnClick(nbNew);
  Nav->BtnClick(nbNew);
  EXPECT_EQ(Set.RecordCount(), 4);
  EXPECT_EQ(Set.CurrentRecord(), 4);
  EXPECT_EQ(Shown(), 0) << "a new record is empty";
  EXPECT_EQ(Enabled(*Nav), "F.P.I.D") << "MaxRec reached";

  // Called directly at the limit, the record set refuses with its own message.
  MsgBoxScript::Clear();
  Nav->BtnClick(nbNew);
  EXPECT_EQ(Set.RecordCount(), 4);
  EXPECT_TRUE(MsgBoxScript::LastText().startsWith("Unable to create new record."));
  EXPECT_EQ(QFileInfo(Set.FileName()).size(), 4 * kSize);
}

TEST_F(RSNavigatorTest, SingleRecordCannotBeDeleted) {
  Open(1);
  EXPECT_FALSE(Nav->KeyDownHandler(Qt::Key_D, Qt::AltModifier));
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
  Nav->BtnClick(nbDelete);  // past the disabled button, the record set itself refuses
  EXPECT_TRUE(MsgBoxScript::LastText().startsWith("Unable to delete current record"));
  EXPECT_EQ(Set.RecordCount(), 1);
}

// Alt+letters typed in a field of the screen reach the navigator through the window's key
// preview; each row: keys typed, then where the cursor stands and how many records there are.
TEST_F(RSNavigatorTest, AltLettersActLikeClicks) {
  Open(5);
  auto* field = Host.Place(new TFilterEdit, 10, 50);
  TEnterAsTab enterAsTab;
  enterAsTab.SetParentForm(&Host);
  enterAsTab.OnKeyDown = [this](int key, Qt::KeyboardModifiers mods) {
    return Nav->KeyDownHandler(key, mods);
  };
  Host.ShowActive();
  field->setFocus();
  const struct {
    const char* keys;
    int current;
    int count;
  } steps[] = {
      {"@N@N", 3, 5},   {"@L@N", 5, 5},  // Next is disabled on the last record
      {"@P@F", 1, 5},   {"@I", 1, 5},
      {"@E", 6, 6},     {"@D", 1, 5},  // deleting the last record goes back to record 1
      {"@X@Z^N", 1, 5},
  };
  MsgBoxScript::SetNextAnswer(mrOk);
  for (const auto& s : steps) {
    TypeKeys(field, QLatin1String(s.keys));
    EXPECT_EQ(Set.CurrentRecord(), s.current) << s.keys;
    EXPECT_EQ(Set.RecordCount(), s.count) << s.keys;
  }
  EXPECT_TRUE(field->text().isEmpty()) << "the letters were not typed into the field";
  QTest::keyClick(field, Qt::Key_N, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(Set.CurrentRecord(), 1) << "Alt alone only";
}

TEST_F(RSNavigatorTest, CancelInTheBeforeEventStopsEverything) {
  Open(5);
  Nav->OnBeforeAction = [this](TRSNavigator* n) {
    Log << QStringLiteral("before %1").arg(n->Action());
    Set.LastRec();  // the screen moved the record set itself
    n->Cancel();
  };
  Nav->BtnClick(nbNext);
  EXPECT_EQ(Nav->Action(), baNext);
  EXPECT_EQ(Set.CurrentRecord(), 5);
  EXPECT_EQ(Log.join('|'), "before 1|read 5");
  EXPECT_EQ(Enabled(*Nav), ".N.LIED") << "no enabling step after a veto";
  Nav->OnBeforeAction = nullptr;
  Nav->BtnClick(nbPrior);
  EXPECT_EQ(Set.CurrentRecord(), 4) << "the veto was cleared";
}

TEST_F(RSNavigatorTest, ErrorInTheBeforeEventIsShownAndEndsTheClick) {
  Open(5);
  Host.ShowActive();
  Nav->OnBeforeAction = [](TRSNavigator*) { throw EFieldException("Payee name is required"); };
  QTest::mouseClick(Nav->NavBtnNext, Qt::LeftButton);
  EXPECT_EQ(Set.CurrentRecord(), 1);
  EXPECT_TRUE(Log.isEmpty());
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::LastText(), "Payee name is required.");
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbError);
  EXPECT_THROW(Nav->BtnClick(nbNext), EFieldException);
}

TEST_F(RSNavigatorTest, RecordSetThatGoesAwayLeavesTheButtonsDisabled) {
  auto* set = new TRecordSet;
  set->SetRecSize(kSize);
  set->SetFileName(Folder.Path("other.PE25"));
  set->OpenRecSet();
  Nav->SetRecordSet(set);
  EXPECT_EQ(Enabled(*Nav), ".....E.");
  set->CloseRecSet();
  delete set;
  Nav->InitNavigator();
  EXPECT_EQ(Nav->RecordSet(), nullptr);
  EXPECT_EQ(Enabled(*Nav), ".......");
  Nav->BtnClick(nbNew);
  EXPECT_TRUE(Log.isEmpty());
}

// All the controls of this folder's first half on one small screen, as the form screens will
// place them; the picture is saved for a look by eye.
TEST(ControlsScreenTest, AllControlsSideBySide) {
  TTempFolder folder;
  TRecordSet set;
  set.SetRecSize(kSize);
  set.SetFileName(folder.Path("screen.PE25"));
  WriteAll(set.FileName(), Numbered(3));
  set.OpenRecSet();
  set.SetCurrentRecord(2);
  set.GetRec();

  TEditTestHost screen;
  screen.resize(360, 150);
  auto* name = screen.Place(new TFilterEdit, 10, 10);
  name->setText("John O'Neil-Smith");
  auto* zip = screen.Place(new TFilterEdit, 140, 10);
  zip->SetValidChars("[0..9,-]");
  zip->setText("12345-6789");
  zip->setAlignment(Qt::AlignRight);
  auto* date = screen.Place(new TDateEdit, 10, 40);
  date->setText("03/07/2025");
  auto* empty = screen.Place(new TDateEdit, 95, 40);
  auto* state = screen.Place(new TStateEdit, 180, 40);
  state->SetText("TX");
  auto* checked = screen.Place(new TCheckBoxEdit, 240, 40);
  checked->SetChecked(true);
  auto* unchecked = screen.Place(new TCheckBoxEdit, 270, 40);
  // A form screen's box: 15 by 15, flat, 9-pixel bold Tahoma.
  auto* flat = screen.Place(new TCheckBoxEdit, 300, 43);
  flat->resize(15, 15);
  flat->setFrame(false);
  QFont small("Tahoma");
  small.setPixelSize(9);
  small.setBold(true);
  flat->setFont(small);
  flat->SetChecked(true);
  auto* nav = screen.Place(new TRSNavigator, 10, 80);
  nav->SetRecordSet(&set);
  auto* short_nav = screen.Place(new TRSNavigator, 10, 110);
  short_nav->SetVisibleButtons(AllNavBtns & ~NavBtn(nbList) & ~NavBtn(nbDelete));
  screen.ShowActive();

  EXPECT_EQ(name->size(), QSize(121, 21));
  EXPECT_EQ(date->size(), QSize(75, 21));
  EXPECT_EQ(empty->text(), "  /  /    ");
  EXPECT_EQ(state->width(), 50);
  EXPECT_EQ(checked->size(), QSize(21, 21));
  EXPECT_EQ(unchecked->text(), "");
  EXPECT_EQ(nav->size(), QSize(154, 22));
  EXPECT_EQ(short_nav->size(), QSize(110, 22));
  EXPECT_EQ(Enabled(*nav), "FNPLIED");

  const QPixmap picture = screen.grab();
  EXPECT_EQ(picture.size(), screen.size());
  EXPECT_TRUE(picture.save("/tmp/controls-a.png"));

  TFrmCalendar calendar;
  calendar.PutDate("03/07/2025");
  calendar.show();
  EXPECT_TRUE(calendar.grab().save("/tmp/controls-a-calendar.png"));
  set.CloseRecSet();
}
