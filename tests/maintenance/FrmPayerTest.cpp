// The payer screen: its controls, the fifteen checks with the focus on the faulty field, and the
// bytes that reach the payer file.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "FrmTestFixture.h"
#include "controls/FilterEdit.h"
#include "controls/StateEdit.h"
#include "maintenance/FrmPayer.h"
#include "platform/MsgBox.h"

namespace {
class FrmPayerTest : public ScreenTest<TFrmPayer> {
 protected:
  void Show(const TPayerRecord& payer = {}) {
    Open({}, payer);
    ShowScreen();
  }

  void ShowValid() override {
    Show();
    FillValid();
  }
  bool NothingWritten() const override { return PayerOnDisk() == TPayerRecord{}; }

  // A payer that passes every check.
  void FillValid() {
    Screen->PayerName->setText("Acme Supply");
    Screen->Address1->setText("12 Main St");
    Screen->City->setText("Springfield");
    Screen->State->SetText("IL");
    Screen->ZipCode->setText("62701");
    Screen->Contact->setText("Pat Doe");
    Screen->PhoneNum->setText("217-555-0100");
    Screen->EmpIDNum->setText("12-3456789");
    Screen->StateName1->SetText("IL");
    Screen->StateID1->setText("1234");
  }

  static void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, text);
  }
};
}  // namespace

TEST_F(FrmPayerTest, ControlsInTabOrderWithTheirKindsAndLengths) {
  Show();
  struct Control {
    const char* name;
    const char* kind;  // "edit", "filter", "state", "mask"
    int maxLength;
    const char* rule;  // valid characters, input mask or OkToDel
  } controls[] = {
      {"PayerName", "edit", 40, ""},
      {"TradeName", "edit", 40, ""},
      {"Address1", "edit", 30, ""},
      {"Address2", "edit", 10, ""},
      {"City", "edit", 16, ""},
      {"State", "state", 0, "false"},
      {"ZipCode", "filter", 10, "[0..9,-]"},
      {"Contact", "edit", 30, ""},
      {"PhoneNum", "mask", 12, "000-000-0000; "},
      {"FaxNum", "mask", 12, "000-000-0000; "},
      {"Email", "edit", 40, ""},
      {"EmpIDNum", "mask", 10, "00-0000000; "},
      {"SocSecNum", "mask", 11, "000-00-0000; "},
      {"StateName1", "state", 0, "true"},
      {"StateID1", "filter", 12, "[0..9]"},
      {"StateName2", "state", 0, "true"},
      {"StateID2", "filter", 12, "[0..9]"},
      {"Locality1", "edit", 15, ""},
      {"Locality2", "edit", 15, ""},
      {"RTN", "filter", 9, "[0..9]"},
      {"SignerName", "filter", 30, "[]"},
      {"SignerTitle", "filter", 20, "[]"},
  };
  QWidget* previous = nullptr;
  for (const Control& c : controls) {
    SCOPED_TRACE(c.name);
    QWidget* w = Screen->findChild<QWidget*>(c.name);
    ASSERT_NE(w, nullptr);
    const QString kind = QLatin1String(c.kind);
    if (kind == "state") {
      auto* s = qobject_cast<TStateEdit*>(w);
      ASSERT_NE(s, nullptr);
      EXPECT_EQ(s->OkToDel(), QLatin1String(c.rule) == "true");
    } else if (kind == "filter") {
      auto* f = qobject_cast<TFilterEdit*>(w);
      ASSERT_NE(f, nullptr);
      EXPECT_EQ(f->ValidChars(), QLatin1String(c.rule));
      EXPECT_EQ(f->maxLength(), c.maxLength);
      EXPECT_FALSE(f->RequiredField());
      EXPECT_FALSE(f->BeepOnInvalid());
    } else {
      auto* e = qobject_cast<QLineEdit*>(w);
      ASSERT_NE(e, nullptr);
      // The blank character is a space, which the mask text leaves implicit.
      const QString rule = QLatin1String(c.rule);
      EXPECT_EQ(e->inputMask(), rule.left(rule.indexOf(';')));
      if (kind == "mask") {
        EXPECT_EQ(e->displayText(), e->inputMask().replace('0', ' '));
      }
      EXPECT_EQ(kind == "mask" ? int(e->displayText().size()) : e->maxLength(), c.maxLength);
    }
    if (previous) {
      EXPECT_EQ(NextControl(previous), w);
    }
    previous = w;
  }
  EXPECT_EQ(Screen->findChild<TFilterEdit*>("StateID1")->CharCase(), ecUpperCase);
  EXPECT_EQ(Screen->windowTitle(), "Payer Data");
  EXPECT_FALSE(Screen->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(Screen->BtnOk->text(), "&Ok");
  EXPECT_EQ(Screen->BtnHelp->toolTip(), "Help with this form");
  EXPECT_TRUE(Screen->LblSigner->text().startsWith(
      "Person responsible for signing tax forms  (this data is optional"));
}

TEST_F(FrmPayerTest, NewFileShowsEmptyFieldsAndOkNamesTheMissingPayerName) {
  Show();
  EXPECT_TRUE(Screen->PayerName->text().isEmpty());
  EXPECT_EQ(Screen->State->ItemIndex(), -1);
  EXPECT_EQ(Screen->PhoneNum->displayText(), "   -   -    ");
  EXPECT_FALSE(TryClose());
  EXPECT_EQ(MsgBoxScript::LastText(), "Payer name is missing.");
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbError);
  EXPECT_EQ(MsgBoxScript::Log()[0].caption, AppTitle());
  EXPECT_EQ(Screen->focusWidget(), Screen->PayerName);
}

TEST_F(FrmPayerTest, EachCheckNamesItsFieldInOrder) {
  const TCheckCase cases[] = {
      {"valid payer", [](TFrmPayer*) {}, nullptr, ""},
      {"no name", [](TFrmPayer* s) { s->PayerName->setText("  "); }, "Payer name is missing.",
       "PayerName"},
      {"no address", [](TFrmPayer* s) { s->Address1->clear(); }, "Payer address 1 is missing.",
       "Address1"},
      {"no city", [](TFrmPayer* s) { s->City->clear(); }, "Payer's city name is missing.", "City"},
      {"no state", [](TFrmPayer* s) { s->State->SetItemIndex(-1); },
       "Payer's state name is missing.", "State"},
      {"short zip", [](TFrmPayer* s) { s->ZipCode->setText("6270"); },
       "Payer's Zip Code is invalid.\nYou entered \"6270\"; type it as 12345 or 12345-6789.",
       "ZipCode"},
      {"no contact", [](TFrmPayer* s) { s->Contact->clear(); },
       "Payer's contact person is missing.", "Contact"},
      {"half a phone", [](TFrmPayer* s) { s->PhoneNum->setText("217-555"); },
       "Payer's telephone number is invalid.\nYou entered \"217-555-\"; type all ten digits, as "
       "217-555-0123.",
       "PhoneNum"},
      {"neither EIN nor SSN", [](TFrmPayer* s) { s->EmpIDNum->clear(); },
       "Payer's Employer I.D. or Social security number is invalid.\nType the employer "
       "identification number as 12-3456789, or leave it empty and type the social security "
       "number as 123-45-6789.",
       "EmpIDNum"},
      {"SSN only passes",
       [](TFrmPayer* s) {
         s->EmpIDNum->clear();
         s->SocSecNum->setText("123-45-6788");
       },
       nullptr, ""},
      {"eight-digit routing number", [](TFrmPayer* s) { s->RTN->setText("12345678"); },
       "Routing number is invalid.\nYou entered \"12345678\"; type the bank's nine-digit routing "
       "number as printed on a check, such as 011000015.",
       "RTN"},
      {"valid routing number passes", [](TFrmPayer* s) { s->RTN->setText("011000015"); }, nullptr,
       ""},
      // A payer that withholds no state tax has no state number to give.
      {"no primary state at all passes",
       [](TFrmPayer* s) {
         s->StateName1->SetItemIndex(-1);
         s->StateID1->clear();
       },
       nullptr, ""},
      {"primary number without code", [](TFrmPayer* s) { s->StateName1->SetItemIndex(-1); },
       "Primary State Code is invalid.", "StateName1"},
      {"primary code without number", [](TFrmPayer* s) { s->StateID1->clear(); },
       "Primary state ID number is missing.", "StateID1"},
      {"secondary number without code", [](TFrmPayer* s) { s->StateID2->setText("99"); },
       "Secondary State Code is missing.", "StateName2"},
      {"secondary code without number", [](TFrmPayer* s) { s->StateName2->SetText("WI"); },
       "Secondary state ID number is missing.", "StateID2"},
      {"secondary pair complete passes",
       [](TFrmPayer* s) {
         s->StateName2->SetText("WI");
         s->StateID2->setText("99");
       },
       nullptr, ""},
      {"signer without title", [](TFrmPayer* s) { s->SignerName->setText("Pat Doe"); },
       "Signer title is missing.", "SignerTitle"},
      {"title without signer passes", [](TFrmPayer* s) { s->SignerTitle->setText("Owner"); },
       nullptr, ""},
      {"the first failing check wins",
       [](TFrmPayer* s) {
         s->City->clear();
         s->RTN->setText("1");
       },
       "Payer's city name is missing.", "City"},
  };
  ExpectChecks(cases, &TFrmPayer::Email);
}

TEST_F(FrmPayerTest, TypedValuesLandInTheirFieldsWithMaskDashesAndSpaces) {
  TPayerRecord before;
  before.SetString("FilePassword", "x1y2z3");
  before.SetBool("OpenPayerOnLoad", true);
  Show(before);
  Type(Screen->PayerName, "Acme Supply");
  Type(Screen->TradeName, "Acme");
  Type(Screen->Address1, "12 Main St");
  Type(Screen->Address2, "Suite 4");
  Type(Screen->City, "Springfield");
  QTest::keyClicks(Screen->State, "ii");  // IA, then ID
  Type(Screen->ZipCode, "62701-1234x");
  Type(Screen->Contact, "Pat Doe");
  Type(Screen->PhoneNum, "2175550100");
  Type(Screen->FaxNum, "217555");
  Type(Screen->Email, "pat@acme.example");
  Type(Screen->SocSecNum, "123456788");
  QTest::keyClicks(Screen->StateName1, "w");
  Type(Screen->StateID1, "12a34");
  Type(Screen->Locality1, "Sangamon");
  Type(Screen->RTN, "011000015");
  Type(Screen->SignerName, "Pat Doe");
  Type(Screen->SignerTitle, "Owner");
  ASSERT_TRUE(TryClose()) << MsgBoxScript::LastText().toStdString();

  const QByteArray disk = ReadAll(PayerPath());
  ASSERT_EQ(disk.size(), 448);
  struct Field {
    int offset;
    const char* text;
  } fields[] = {
      {0, "Acme Supply"},    {41, "Acme"},
      {82, "12 Main St"},    {113, "Suite 4"},
      {124, "Springfield"},  {141, "ID"},
      {144, "62701-1234"},   {155, "Springfield ID 62701-1234"},
      {186, "Pat Doe"},      {217, "217-555-0100"},
      {230, "217-555-    "}, {243, "pat@acme.example"},
      {284, "  -       "},   {295, "123-45-6788"},
      {307, "WA"},           {310, ""},
      {313, "1234"},         {326, ""},
      {339, "Sangamon"},     {355, ""},
      {371, "011000015"},    {394, "Pat Doe"},
      {425, "Owner"},
  };
  for (const Field& f : fields)
    EXPECT_EQ(StoredString(disk, f.offset), QByteArray(f.text)) << "offset " << f.offset;
  EXPECT_EQ(disk[446], 1);                                   // SignerPresent
  EXPECT_EQ(StoredString(disk, 381), QByteArray("x1y2z3"));  // FilePassword untouched
  EXPECT_EQ(disk[447], 1);                                   // OpenPayerOnLoad untouched
}

TEST_F(FrmPayerTest, UntouchedMaskedFieldsStoreTheirDashesAndSpaces) {
  Show();
  FillValid();
  Screen->EmpIDNum->clear();
  Screen->SocSecNum->setText("123-45-6788");
  ASSERT_TRUE(TryClose());
  const TPayerRecord disk = PayerOnDisk();
  EXPECT_EQ(disk.GetString("FaxNum"), "   -   -    ");
  EXPECT_EQ(disk.GetString("EmpIDNum"), "  -       ");
  EXPECT_FALSE(disk.GetBool("SignerPresent"));
  EXPECT_EQ(disk.GetString("CityStZip"), "Springfield IL 62701");
}

TEST_F(FrmPayerTest, CityStateZipOfFullWidthFieldsIsThirtyCharacters) {
  Show();
  FillValid();
  Screen->City->setText("ABCDEFGHIJKLMNOPQRS");  // cut to 16 by the field
  Screen->ZipCode->setText("62701-1234");
  ASSERT_TRUE(TryClose());
  EXPECT_EQ(PayerRec.GetString("CityStZip"), "ABCDEFGHIJKLMNOP IL 62701-1234");
}

TEST_F(FrmPayerTest, StoredRecordIsShownAndUnknownStateCodesSelectNothing) {
  TPayerRecord payer;
  payer.SetString("PayerName", "Acme");
  payer.SetString("State", "ZZ");
  payer.SetString("StateName1", "NY");
  payer.SetString("PhoneNum", "212-555-0199");
  payer.SetString("EmpIDNum", "  -       ");
  Show(payer);
  EXPECT_EQ(Screen->PayerName->text(), "Acme");
  EXPECT_EQ(Screen->State->ItemIndex(), -1);
  EXPECT_EQ(Screen->StateName1->Text(), "NY");
  EXPECT_EQ(Screen->PhoneNum->displayText(), "212-555-0199");
  EXPECT_EQ(Screen->EmpIDNum->displayText(), "  -       ");
}

TEST_F(FrmPayerTest, EscapeRunsTheChecksAndClosesOnlyWhenValid) {
  Show();
  Screen->City->setFocus();
  QTest::keyClick(Screen->City, Qt::Key_Escape);
  EXPECT_TRUE(Screen->isVisible());
  EXPECT_EQ(MsgBoxScript::LastText(), "Payer name is missing.");
  FillValid();
  Screen->City->setFocus();
  QTest::keyClick(Screen->City, Qt::Key_Escape);
  EXPECT_FALSE(Screen->isVisible());
  EXPECT_EQ(PayerOnDisk().GetString("PayerName"), "Acme Supply");
}

TEST_F(FrmPayerTest, EnterMovesToTheNextFieldAndHelpOpensTopicTen) {
  Show();
  Screen->PayerName->setFocus();
  QTest::keyClick(Screen->PayerName, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), Screen->TradeName);
  Screen->BtnHelp->click();
  QTest::keyClick(Screen->TradeName, Qt::Key_F1);
  EXPECT_EQ(HelpScript::Shown(), QList<int>({10, 10}));
  EXPECT_TRUE(Screen->isVisible());
}

TEST_F(FrmPayerTest, MenuCommandShowsTheScreenModally) {
  Open();
  bool shown = false;
  WhenModal([&](QWidget* w) {
    auto* screen = qobject_cast<TFrmPayer*>(w);
    ASSERT_NE(screen, nullptr);
    shown = true;
    screen->PayerName->setText("Acme Supply");
    screen->BtnOk->click();  // refused: the address is missing
    EXPECT_TRUE(screen->isVisible());
    screen->Address1->setText("12 Main St");
    screen->City->setText("Springfield");
    screen->State->SetText("IL");
    screen->ZipCode->setText("62701");
    screen->Contact->setText("Pat Doe");
    screen->PhoneNum->setText("217-555-0100");
    screen->EmpIDNum->setText("12-3456789");
    screen->StateName1->SetText("IL");
    screen->StateID1->setText("1");
    screen->BtnOk->click();
  });
  ShowPayerScreen();
  EXPECT_TRUE(shown);
  EXPECT_EQ(MsgBoxScript::LastText(), "Payer address 1 is missing.");
  EXPECT_EQ(PayerOnDisk().GetString("PayerName"), "Acme Supply");
}

// State codes typed as a user types them, the two letters together, reach the payer file as
// typed; a payer without state withholding leaves its state numbers blank and still closes.
TEST_F(FrmPayerTest, StateCodesTypedByTheirLettersAndNoStateNumbersNeeded) {
  Show();
  FillValid();
  Screen->StateName1->SetItemIndex(-1);
  Screen->StateID1->clear();
  const std::pair<TStateEdit*, const char*> typed[] = {
      {Screen->State, "ca"}, {Screen->StateName2, "TX"}, {Screen->StateName1, "ny\b"}};
  for (const auto& [list, keys] : typed) {
    list->setFocus();
    QTest::keyClicks(list, keys);
  }
  EXPECT_EQ(Screen->StateName1->ItemIndex(), -1);  // NY, then Backspace: no primary state
  Screen->StateID2->setText("77");
  ASSERT_TRUE(TryClose()) << MsgBoxScript::LastText().toStdString();
  const TPayerRecord disk = PayerOnDisk();
  EXPECT_EQ(disk.GetString("State"), "CA");
  EXPECT_EQ(disk.GetString("StateName2"), "TX");
  EXPECT_EQ(disk.GetString("StateName1"), "");
  EXPECT_EQ(disk.GetString("StateID1"), "");
}
