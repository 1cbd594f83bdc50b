// One user's session with the real screens behind the main window's commands: a new payer file
// filled in through the payer and payee screens, closed and checked byte by byte on disk,
// reopened from the recent-files menu, browsed through the name list, and saved under a new
// name. Every step looks at what the user would see: captions, enabled commands, messages,
// the focused field and the recent-files menu.
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <map>
#include <ostream>
#include <string>

#include "ShellFixture.h"
#include "app/Screens.h"
#include "controls/FilterEdit.h"
#include "controls/RSNavigator.h"
#include "controls/StateEdit.h"
#include "maintenance/FrmPayee.h"
#include "maintenance/FrmPayer.h"
#include "maintenance/RecordList.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "shell/FrmNewFileDlg.h"
#include "storage/Globals.h"
#include "storage/RecordLayout.h"

// Texts print as text in failure messages.
static void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace {
const QString Caption = QStringLiteral("Papyra Version 2025.00");
const QString AcmeCaption = Caption + QStringLiteral(" - Acme Tools");

// Modal windows answered so far, so the test can tell that a command did open its window.
int WindowsAnswered = 0;

// Answers the next modal window with steps. A window the steps leave open is hidden, so a
// failing step cannot leave the test waiting on a modal loop.
void WhenShown(std::function<void(QWidget*)> steps) {
  WhenModal([steps](QWidget* w) {
    ++WindowsAnswered;
    QApplication::setActiveWindow(w);
    steps(w);
    if (w->isVisible()) {
      ADD_FAILURE() << "still open: " << w->objectName().toStdString();
      w->hide();
    }
  });
}

// The screen's control the user is in: the focused widget, or the control it is part of.
QWidget* FocusedControl(const QWidget* screen) {
  QWidget* focus = QApplication::focusWidget();
  while (focus && focus->parentWidget() != screen) focus = focus->parentWidget();
  return focus;
}

QString FocusedName(const QWidget* screen) {
  QWidget* control = FocusedControl(screen);
  return control ? control->objectName() : QString();
}

// The text a control shows.
QString Shown(QWidget* control) {
  if (auto* state = qobject_cast<TStateEdit*>(control)) return state->Text();
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->displayText();
  return {};
}

// One field as the user fills it: the control the focus is in, the keys typed there, and what
// the control then shows (the keys themselves when nullptr).
struct TKeyedField {
  const char* control;
  const char* keys;
  const char* shows = nullptr;
};

// Types into the focused control and presses Enter to move on, field after field, checking that
// the focus walks through the controls in the order given.
void TypeFields(const QWidget* screen, std::initializer_list<TKeyedField> fields) {
  for (const TKeyedField& f : fields) {
    SCOPED_TRACE(f.control);
    QWidget* control = FocusedControl(screen);
    ASSERT_NE(control, nullptr);
    ASSERT_EQ(control->objectName(), QLatin1String(f.control));
    QTest::keyClicks(control, QString::fromLatin1(f.keys));
    EXPECT_EQ(Shown(control), QString::fromLatin1(f.shows ? f.shows : f.keys));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  }
}

void ClickNavigator(TFrmPayee* screen, TNavigationButtons button) {
  QToolButton* b = screen->RSNavigator->Button(button);
  ASSERT_TRUE(b->isEnabled()) << button;
  QTest::mouseClick(b, Qt::LeftButton);
}

// The one message shown since the log was last cleared.
void ExpectMessage(const QString& text, int flags) {
  ASSERT_EQ(MsgBoxScript::Log().size(), 1) << MsgBoxScript::LastText().toStdString();
  EXPECT_EQ(MsgBoxScript::Log()[0].text, text);
  EXPECT_EQ(MsgBoxScript::Log()[0].caption, AppTitle());
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, flags);
  MsgBoxScript::Clear();
}

// Every window a command opened is gone when it ends (the main window is not shown in tests).
void ExpectNoWindowLeftOpen() {
  for (QWidget* w : QApplication::topLevelWidgets())
    EXPECT_FALSE(w->isVisible()) << w->metaObject()->className() << " "
                                 << w->windowTitle().toStdString();
}

void ExpectNoMessage() {
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty()) << MsgBoxScript::LastText().toStdString();
  MsgBoxScript::Clear();
}

// The payer screen of a new file: filled field by field, one required field left blank on the
// way, Ok refused with its message and the focus on that field, then filled and closed.
void FillPayerScreen(QWidget* w) {
  auto* s = qobject_cast<TFrmPayer*>(w);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->windowTitle(), "Payer Data");
  EXPECT_EQ(s->PayerName->text(), "Acme Tools");  // the name given to the new file
  TypeFields(s, {
                    {"PayerName", "", "Acme Tools"},
                    {"TradeName", "Acme Hardware & Supply"},
                    {"Address1", "400 Industrial Pkwy"},
                    {"Address2", "Suite 12"},
                    {"City", "Dayton"},
                    {"State", "o", "OH"},
                    {"ZipCode", "45402-12x34", "45402-1234"},
                    {"Contact", ""},  // left for later
                    {"PhoneNum", "9375550123", "937-555-0123"},
                    {"FaxNum", "", "   -   -    "},
                    {"Email", "office@acmetools.example"},
                    {"EmpIDNum", "311234567", "31-1234567"},
                    {"SocSecNum", "", "   -  -    "},
                    {"StateName1", "o", "OH"},
                    {"StateID1", "12345678"},
                    {"StateName2", "", ""},
                    {"StateID2", ""},
                    {"Locality1", "Dayton"},
                    {"Locality2", ""},
                    {"RTN", "041000124"},
                    {"SignerName", "Pat Doe"},
                    {"SignerTitle", "Treasurer"},
                });
  EXPECT_EQ(FocusedName(s), "BtnOk");
  MsgBoxScript::Clear();
  QTest::mouseClick(s->BtnOk, Qt::LeftButton);
  ASSERT_TRUE(s->isVisible());
  ExpectMessage("Payer's contact person is missing.", mbError);
  EXPECT_EQ(FocusedName(s), "Contact");
  QTest::keyClicks(s->Contact, "Lee Chan");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // Enter only moves on
  EXPECT_TRUE(s->isVisible());
  QTest::mouseClick(s->BtnOk, Qt::LeftButton);
  ExpectNoMessage();
  EXPECT_FALSE(s->isVisible());
}

void EnterBusiness(TFrmPayee* s) {
  EXPECT_EQ(s->windowTitle(), "Payee Data");
  EXPECT_FALSE(s->Individual->isChecked());  // the new file's blank payee
  EXPECT_FALSE(s->LastName->isEnabled());
  TypeFields(s, {
                    {"PayeeName", "Zenith Supply Co"},
                    {"CompName", "Zenith Industrial"},
                    {"Address1", "77 Harbor Rd"},
                    {"City", "Toledo"},
                    {"State", "o", "OH"},
                    {"ZipCode", "43604"},
                    {"SSN_IDNum", "34-5678901"},
                });
}

// An individual, first typed with a taxpayer number without dashes, which New refuses.
void EnterIndividual(TFrmPayee* s) {
  ClickNavigator(s, nbNew);
  ExpectNoMessage();
  EXPECT_EQ(FrmDataModule->RSPayee->RecordCount(), 2);
  EXPECT_EQ(FrmDataModule->RSPayee->CurrentRecord(), 2);
  EXPECT_TRUE(s->PayeeName->text().isEmpty());
  EXPECT_EQ(FocusedName(s), "PayeeName");

  QTest::mouseClick(s->Individual, Qt::LeftButton, {}, QPoint(6, s->Individual->height() / 2));
  ASSERT_TRUE(s->Individual->isChecked());
  EXPECT_FALSE(s->PayeeName->isEnabled());
  TypeFields(s, {
                    {"LastName", "Baker"},
                    {"FirstName", "Carol"},
                    {"CompName", ""},
                    {"Address1", "12 Elm St"},
                    {"City", "Springfield"},
                    {"State", "iii", "IL"},  // IA, ID, IL
                    {"ZipCode", "62701"},
                    {"SSN_IDNum", "123456788"},
                });
  ClickNavigator(s, nbNew);
  ExpectMessage(
      "Payee's Federal ID number is not valid.\nYou entered \"123456788\"; "
      "type a social security number as 123-45-6789 or an employer identification number as "
      "12-3456789, with its dashes.",
      mbError);
  EXPECT_EQ(FocusedName(s), "SSN_IDNum");
  EXPECT_EQ(FrmDataModule->RSPayee->RecordCount(), 2);
  QTest::keyClick(s->SSN_IDNum, Qt::Key_End);
  QTest::keyClick(s->SSN_IDNum, Qt::Key_Home, Qt::ShiftModifier);
  QTest::keyClicks(s->SSN_IDNum, "123-45-6788");
  ClickNavigator(s, nbNew);
  ExpectNoMessage();
}

// A third payee, begun and then deleted: Cancel on the question keeps it, OK removes it and,
// as it was the last record, shows the first payee.
void EnterAndDeleteThird(TFrmPayee* s) {
  EXPECT_EQ(FrmDataModule->RSPayee->RecordCount(), 3);
  EXPECT_FALSE(s->Individual->isChecked());
  EXPECT_EQ(FocusedName(s), "PayeeName");
  QTest::keyClicks(s->PayeeName, "Midway Freight");
  const QString question = QStringLiteral("Confirm request\nDelete current record from database?");
  MsgBoxScript::SetNextAnswer(mrCancel);
  ClickNavigator(s, nbDelete);
  ExpectMessage(question, mbOkCancelDefCancel);
  EXPECT_EQ(FrmDataModule->RSPayee->RecordCount(), 3);
  MsgBoxScript::SetNextAnswer(mrOk);
  ClickNavigator(s, nbDelete);
  ExpectMessage(question, mbOkCancelDefCancel);
  EXPECT_EQ(FrmDataModule->RSPayee->RecordCount(), 2);
  EXPECT_EQ(FrmDataModule->RSPayee->CurrentRecord(), 1);
  EXPECT_EQ(s->PayeeName->text(), "Zenith Supply Co");
  EXPECT_FALSE(s->RSNavigator->Button(nbFirst)->isEnabled());
  EXPECT_TRUE(s->RSNavigator->Button(nbNext)->isEnabled());
}

void FillPayeeScreen(QWidget* w) {
  auto* s = qobject_cast<TFrmPayee*>(w);
  ASSERT_NE(s, nullptr);
  // Behind it the main window already names the payer just entered.
  EXPECT_EQ(FrmMain->windowTitle(), AcmeCaption);
  MsgBoxScript::Clear();
  EnterBusiness(s);
  if (::testing::Test::HasFatalFailure()) return;
  EnterIndividual(s);
  if (::testing::Test::HasFatalFailure()) return;
  EnterAndDeleteThird(s);
  QTest::mouseClick(s->BtnOk, Qt::LeftButton);
  ExpectNoMessage();
}

// The payer screen of the reopened file shows what was typed, masks and all; Escape leaves it
// with the data unchanged.
void ReviewPayerScreen(QWidget* w) {
  auto* s = qobject_cast<TFrmPayer*>(w);
  ASSERT_NE(s, nullptr);
  const struct {
    QWidget* control;
    const char* shows;
  } shown[] = {
      {s->PayerName, "Acme Tools"},
      {s->TradeName, "Acme Hardware & Supply"},
      {s->State, "OH"},
      {s->ZipCode, "45402-1234"},
      {s->Contact, "Lee Chan"},
      {s->PhoneNum, "937-555-0123"},
      {s->FaxNum, "   -   -    "},
      {s->EmpIDNum, "31-1234567"},
      {s->SocSecNum, "   -  -    "},
      {s->StateName1, "OH"},
      {s->StateName2, ""},
      {s->RTN, "041000124"},
      {s->SignerTitle, "Treasurer"},
  };
  for (const auto& c : shown) EXPECT_EQ(Shown(c.control), QLatin1String(c.shows)) << c.shows;
  EXPECT_EQ(FocusedName(s), "PayerName");
  MsgBoxScript::Clear();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  ExpectNoMessage();
}

// The payee screen of the reopened file: List shows the payees in name order; choosing the
// first shows that payee; Escape saves and closes.
void PickFromRecordList(QWidget* w) {
  auto* s = qobject_cast<TFrmPayee*>(w);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->PayeeName->text(), "Zenith Supply Co");  // record 1 after an open
  QStringList listed;
  WhenShown([&listed](QWidget* lw) {
    auto* list = qobject_cast<TFrmRecList*>(lw);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), "Payer List");
    ASSERT_EQ(list->RecordListBox->selectedItems().size(), 1);  // the payee shown
    EXPECT_EQ(list->RecordListBox->selectedItems()[0]->text(), "Zenith Supply Co");
    for (int i = 0; i < list->RecordListBox->count(); ++i)
      listed << list->RecordListBox->item(i)->text();
    ASSERT_EQ(list->RecordListBox->count(), 2);
    QWidget* view = list->RecordListBox->viewport();
    QTest::mouseClick(view, Qt::LeftButton, {},
                      list->RecordListBox->visualItemRect(list->RecordListBox->item(0)).center());
    QTest::mouseClick(list->BtnOk, Qt::LeftButton);
  });
  const int answered = WindowsAnswered;
  ClickNavigator(s, nbList);
  EXPECT_EQ(WindowsAnswered, answered + 1);  // the list window did open
  // Entered Zenith first, Baker second; the list goes by name, an individual's first name in
  // its own column after a tab.
  EXPECT_EQ(listed, (QStringList{"Baker\tCarol", "Zenith Supply Co"}));
  EXPECT_EQ(FrmDataModule->RSPayee->CurrentRecord(), 2);
  EXPECT_TRUE(s->Individual->isChecked());
  EXPECT_EQ(s->LastName->text(), "Baker");
  EXPECT_EQ(s->FirstName->text(), "Carol");
  EXPECT_EQ(s->City->text(), "Springfield");
  ExpectNoMessage();
  QApplication::setActiveWindow(s);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  ExpectNoMessage();
}

// A record as stored: each field named in typed holds exactly that text (or flag byte); every
// other field and every byte outside the layout's fields is empty.
using TTyped = std::map<std::string, QByteArray>;
void ExpectRecord(const QByteArray& record, const TRecordLayout& layout, const TTyped& typed) {
  ASSERT_EQ(record.size(), layout.Size());
  std::vector<bool> covered(layout.Size(), false);
  for (const TFieldDef& f : layout.Fields()) {
    SCOPED_TRACE(f.Name);
    for (int i = 0; i < FieldSize(f); ++i) covered[f.Offset + i] = true;
    const auto it = typed.find(f.Name);
    if (f.Kind == TFieldKind::String) {
      const int length = static_cast<uint8_t>(record[f.Offset]);
      ASSERT_LE(length, f.Width);
      const QByteArray text = record.mid(f.Offset + 1, length);
      EXPECT_EQ(text, it == typed.end() ? QByteArray() : it->second);
    } else {
      const QByteArray bytes = record.mid(f.Offset, FieldSize(f));
      const QByteArray expected = it == typed.end() ? QByteArray() : it->second;
      EXPECT_EQ(bytes, expected + QByteArray(FieldSize(f) - expected.size(), '\0'));
    }
  }
  for (int i = 0; i < layout.Size(); ++i) {
    if (!covered[i]) {
      EXPECT_EQ(record[i], '\0') << "byte " << i;
    }
  }
}

void ExpectPayerFileOnDisk(const QString& path) {
  SCOPED_TRACE("payer file");
  ExpectRecord(ReadAll(path), PayerLayout(),
               {{"PayerName", "Acme Tools"},
                {"TradeName", "Acme Hardware & Supply"},
                {"Address1", "400 Industrial Pkwy"},
                {"Address2", "Suite 12"},
                {"City", "Dayton"},
                {"State", "OH"},
                {"ZipCode", "45402-1234"},
                {"CityStZip", "Dayton OH 45402-1234"},
                {"Contact", "Lee Chan"},
                {"PhoneNum", "937-555-0123"},
                {"FaxNum", "   -   -    "},
                {"Email", "office@acmetools.example"},
                {"EmpIDNum", "31-1234567"},
                {"SocSecNum", "   -  -    "},
                {"StateName1", "OH"},
                {"StateID1", "12345678"},
                {"Locality1", "Dayton"},
                {"RTN", "041000124"},
                {"SignerName", "Pat Doe"},
                {"SignerTitle", "Treasurer"},
                {"SignerPresent", QByteArray(1, '\1')}});
}

void ExpectPayeeFileOnDisk(const QString& path) {
  const QByteArray file = ReadAll(path);
  ASSERT_EQ(file.size(), 2 * PayeeLayout().Size());  // the third payee is gone
  EXPECT_FALSE(file.contains("Midway"));
  {
    SCOPED_TRACE("payee 1");
    ExpectRecord(file.left(PayeeLayout().Size()), PayeeLayout(),
                 {{"PayeeName", "Zenith Supply Co"},
                  {"CompName", "Zenith Industrial"},
                  {"Address1", "77 Harbor Rd"},
                  {"City", "Toledo"},
                  {"State", "OH"},
                  {"ZipCode", "43604"},
                  {"CityStZip", "Toledo OH 43604"},
                  {"SSN_IDNum", "34-5678901"}});
  }
  SCOPED_TRACE("payee 2");
  ExpectRecord(file.mid(PayeeLayout().Size()), PayeeLayout(),
               {{"Individual", QByteArray(1, '\1')},
                {"PayeeName", "Carol Baker"},
                {"LastName", "Baker"},
                {"FirstName", "Carol"},
                {"Address1", "12 Elm St"},
                {"City", "Springfield"},
                {"State", "IL"},
                {"ZipCode", "62701"},
                {"CityStZip", "Springfield IL 62701"},
                {"SSN_IDNum", "123-45-6788"}});
}

class EndToEndTest : public ShellTest {
 protected:
  void StartProgram() {
    Start();
    InstallScreens(*Main);
  }

  // Data commands follow the open file; Open and New are always there.
  void ExpectFileCommands(bool fileOpen) {
    for (const char* name : {"MnuSaveAs", "MnuClose", "MnuPayer", "MnuPayee", "MnuBackup",
                             "MnuRestore", "MnuPrintSetup", "MnuPassword", "MnuCheckBeforeFiling",
                             "MnuTinMatchRequest", "MnuTinMatchResults"})
      EXPECT_EQ(Enabled(name), fileOpen) << name;
    for (const char* name : {"BtnPayer", "BtnPayee", "BtnSaveAs"})
      EXPECT_EQ(Main->Button(name)->isEnabled(), fileOpen) << name;
    // Every form has its screen: no form command stays disabled for want of one.
    for (const char* form :
         {"1096", "1098", "1099DIV", "1099INT", "1099MISC", "1099NEC", "1099R", "1099S"}) {
      EXPECT_EQ(Enabled(("Mnu" + std::string(form)).c_str()), fileOpen) << form;
      EXPECT_EQ(Main->Button(QLatin1String("Btn") + QLatin1String(form))->isEnabled(), fileOpen)
          << form;
    }
    for (const char* name : {"MnuOpen", "MnuNew"}) EXPECT_TRUE(Enabled(name)) << name;
    for (const char* name : {"BtnOpen", "BtnNew"})
      EXPECT_TRUE(Main->Button(name)->isEnabled()) << name;
    EXPECT_EQ(Main->MessagePanel()->isHidden(), fileOpen);
  }

  // The captions of the recent-file items the File menu shows, in order.
  QStringList RecentMenu() const {
    QStringList shown;
    for (int i = 0; i < 10; ++i) {
      QAction* item = Main->Action(QStringLiteral("MnuMRU%1").arg(i));
      if (item->isVisible()) shown << item->text();
    }
    const QAction* line = Main->findChild<QAction*>(QStringLiteral("MnuMRULine"));
    EXPECT_EQ(line && line->isVisible(), !shown.isEmpty());
    return shown;
  }

  void CreateAcmeTools() {
    WhenShown([](QWidget* w) {
      auto* dlg = qobject_cast<TFrmNewFileDlg*>(w);
      ASSERT_NE(dlg, nullptr);
      EXPECT_EQ(dlg->windowTitle(), "New Payer");
      EXPECT_TRUE(dlg->NewFileName()->text().isEmpty());
      QTest::keyClicks(dlg->NewFileName(), "Acme Tools");
      WhenShown([](QWidget* payer) {
        FillPayerScreen(payer);
        if (!payer->isVisible()) WhenShown(FillPayeeScreen);
      });
      QTest::keyClick(dlg->NewFileName(), Qt::Key_Return);
      EXPECT_FALSE(dlg->isVisible());
    });
    const int answered = WindowsAnswered;
    Main->Action("MnuNew")->trigger();
    EXPECT_EQ(WindowsAnswered, answered + 3);  // the new-file dialog, the payer and payee screens
    ExpectNoWindowLeftOpen();
  }

  void SaveAsCopy(const QString& chosen) {
    MsgBoxScript::Clear();
    DialogScript::SetNextFileName(chosen);
    Main->Action("MnuSaveAs")->trigger();
    ExpectMessage("Files have been successfully saved", mbInfo);
    ExpectNoWindowLeftOpen();  // the "Saving ..." window included
  }
};

TEST_F(EndToEndTest, NewFileFilledInClosedReopenedListedAndSavedAs) {
  StartProgram();
  EXPECT_EQ(Main->windowTitle(), Caption);
  ExpectFileCommands(false);
  EXPECT_TRUE(RecentMenu().isEmpty());

  CreateAcmeTools();
  ASSERT_FALSE(HasFatalFailure());
  const QString acme = DataFolder + "Acme Tools.PE25";
  ASSERT_TRUE(FileIsOpen);
  EXPECT_EQ(PayeeFileName, acme);
  EXPECT_EQ(Main->windowTitle(), AcmeCaption);
  ExpectFileCommands(true);
  EXPECT_TRUE(RecentMenu().isEmpty());  // a file enters the list when it closes

  Main->Action("MnuClose")->trigger();
  EXPECT_FALSE(FileIsOpen);
  EXPECT_EQ(Main->windowTitle(), Caption);
  ExpectFileCommands(false);
  EXPECT_EQ(RecentMenu(), QStringList{"&0 " + acme});
  ExpectPayerFileOnDisk(DataFolder + "Acme Tools.PR25");
  ExpectPayeeFileOnDisk(acme);

  QAction* recent = Main->Action("MnuMRU0");
  EXPECT_TRUE(Main->findChild<QMenu*>("MnuFile")->actions().contains(recent));
  recent->trigger();
  ASSERT_TRUE(FileIsOpen);
  EXPECT_EQ(Main->windowTitle(), AcmeCaption);
  ExpectFileCommands(true);
  const QByteArray payerBytes = ReadAll(DataFolder + "Acme Tools.PR25");
  int answered = WindowsAnswered;
  WhenShown(ReviewPayerScreen);
  QTest::mouseClick(Main->Button("BtnPayer"), Qt::LeftButton);
  EXPECT_EQ(WindowsAnswered, answered + 1);
  ASSERT_FALSE(HasFatalFailure());
  EXPECT_EQ(ReadAll(DataFolder + "Acme Tools.PR25"), payerBytes);  // written back unchanged
  EXPECT_EQ(Main->windowTitle(), AcmeCaption);
  answered = WindowsAnswered;
  WhenShown(PickFromRecordList);
  Main->Action("MnuPayee")->trigger();
  EXPECT_EQ(WindowsAnswered, answered + 2);  // the payee screen and its list
  ExpectNoWindowLeftOpen();
  ASSERT_FALSE(HasFatalFailure());

  // Save As under a name with points: the text before the first point names the copy.
  const QString copy = DataFolder + "Acme Tools Copy.PE25";
  SaveAsCopy(DataFolder + "Acme Tools Copy.v2.final");
  EXPECT_TRUE(FileIsOpen);
  EXPECT_EQ(PayeeFileName, copy);
  EXPECT_EQ(Main->windowTitle(), AcmeCaption);  // still the payer's name
  ExpectFileCommands(true);
  EXPECT_EQ(ReadAll(copy), ReadAll(acme));
  EXPECT_EQ(ReadAll(DataFolder + "Acme Tools Copy.PR25"), ReadAll(DataFolder + "Acme Tools.PR25"));
  EXPECT_FALSE(QFile::exists(DataFolder + "Acme Tools Copy.v2.final"));
  // The old file, closed by the copy, was already first: the list is unchanged.
  EXPECT_EQ(RecentMenu(), QStringList{"&0 " + acme});

  Main->Action("MnuClose")->trigger();
  EXPECT_EQ(Main->windowTitle(), Caption);
  ExpectFileCommands(false);
  EXPECT_EQ(RecentMenu(), (QStringList{"&0 " + copy, "&1 " + acme}));
  ExpectPayerFileOnDisk(DataFolder + "Acme Tools Copy.PR25");
  ExpectPayeeFileOnDisk(copy);

  // The next start shows the same list.
  Restart();
  InstallScreens(*Main);
  EXPECT_EQ(RecentMenu(), (QStringList{"&0 " + copy, "&1 " + acme}));
  ExpectFileCommands(false);
}
}  // namespace
