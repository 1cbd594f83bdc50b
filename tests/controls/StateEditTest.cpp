#include "controls/StateEdit.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>

#include "EditTestHost.h"

TEST(StateEditTest, HoldsTheFiftyFourCodesInOrder) {
  TStateEdit edit;
  ASSERT_EQ(edit.count(), 54);
  QStringList items;
  for (int i = 0; i < edit.count(); ++i) items << edit.itemText(i);
  QStringList sorted = items;
  sorted.sort();
  EXPECT_EQ(items, sorted);
  EXPECT_EQ(items.first(), "AK");
  EXPECT_EQ(items.last(), "WY");
  for (const char* code : {"DC", "GU", "PR", "VI", "TX", "MT"})
    EXPECT_TRUE(items.contains(QLatin1String(code))) << code;
  EXPECT_EQ(edit.ItemIndex(), -1);
  EXPECT_EQ(edit.width(), 50);
  EXPECT_TRUE(edit.OkToDel());
}

// Every letter cycles through the codes that begin with it, wrapping round, whatever code or
// no code was shown before.
TEST(StateEditTest, EachLetterCyclesThroughItsCodes) {
  const struct {
    char letter;
    const char* cycle;
  } cycles[] = {
      {'A', "AK AL AR AZ"},
      {'C', "CA CO CT"},
      {'D', "DC DE"},
      {'F', "FL"},
      {'G', "GA GU"},
      {'H', "HI"},
      {'I', "IA ID IL IN"},
      {'K', "KS KY"},
      {'L', "LA"},
      {'M', "MA MD ME MI MN MO MS MT"},
      {'N', "NC ND NE NH NJ NM NV NY"},
      {'O', "OH OK OR"},
      {'P', "PA PR"},
      {'R', "RI"},
      {'S', "SC SD"},
      {'T', "TN TX"},
      {'U', "UT"},
      {'V', "VA VI VT"},
      {'W', "WA WI WV WY"},
  };
  for (const auto& c : cycles) {
    const QStringList codes = QString::fromLatin1(c.cycle).split(' ');
    for (const char* from : {"", "KY", "WY"}) {
      TEditTestHost host;
      auto* edit = host.Place(new TStateEdit, 10, 10);
      edit->SetText(QLatin1String(from));
      host.ShowActive();
      edit->setFocus();
      QStringList seen;
      for (int i = 0; i <= codes.size(); ++i) {
        TypeKeys(edit, QString(QLatin1Char(i % 2 ? c.letter : c.letter + 32)));
        seen << edit->Text();
      }
      QStringList expected = codes;
      // Starting on one of the letter's own codes continues from there.
      const int at = codes.indexOf(QLatin1String(from));
      if (at >= 0) expected = codes.mid(at + 1) + codes.mid(0, at + 1);
      expected << expected.first();
      EXPECT_EQ(seen, expected) << c.letter << " from '" << from << "'";
    }
  }
}

// A table of key sequences: the code shown first, OkToDel, the keys typed and the code shown
// after each key.
TEST(StateEditTest, KeySequencesSelectCodes) {
  const struct {
    const char* start;
    bool okToDel;
    QString keys;
    const char* shown;
  } cases[] = {
      {"MT", true, "mMMMM", "MA MD ME MI MN"},
      {"TX", true, "WB7", "WA WA WA"},
      {"TX", true, "bejqxyz0.- ", "TX TX TX TX TX TX TX TX TX TX TX"},
      {"WY", true, "w", "WA"},
      {"CA", false, "\b\x7f", "CA CA"},
      {"CA", true, "\b", "-"},
      {"CA", true, "\x7f", "-"},
      {"", true, "\bn", "- NC"},
      {"NY", true, "@N^N", "NY NY"},
  };
  for (const auto& c : cases) {
    TEditTestHost host;
    auto* edit = host.Place(new TStateEdit, 10, 10);
    edit->SetOkToDel(c.okToDel);
    edit->SetText(QLatin1String(c.start));
    host.ShowActive();
    edit->setFocus();
    QStringList seen;
    for (const QString& key : KeyTokens(c.keys)) {
      TypeKey(edit, key);
      seen << (edit->ItemIndex() < 0 ? QStringLiteral("-") : edit->Text());
      EXPECT_EQ(edit->lineEdit()->text(), edit->ItemIndex() < 0 ? QString() : edit->Text())
          << "nothing is typed into the edit part";
    }
    EXPECT_EQ(seen.join(' '), QLatin1String(c.shown)) << c.start << " " << c.keys.toStdString();
  }
}

namespace {
// A state list on a clock the test moves: "|" in a key sequence is a pause of a second.
class TClockedStateEdit : public TStateEdit {
 public:
  qint64 Clock = 0;

 protected:
  qint64 Now() const override { return Clock; }
};
}  // namespace

// Letters typed together spell the code; a letter after a pause cycles through its codes.
TEST(StateEditTest, LettersTypedTogetherSpellTheCode) {
  const struct {
    const char* start;
    QString keys;
    const char* shown;
  } cases[] =
      {
          {"", "CA", "CA"},   {"", "tx", "TX"},  {"", "NY", "NY"},
          {"", "IL", "IL"},   {"", "WY", "WY"},  {"", "GU", "GU"},
          {"TX", "MI", "MI"}, {"", "C|A", "AK"},  // after a pause a letter starts again
          {"", "T|T", "TX"},                      // ... and cycles as it always did
          {"", "CAL", "LA"},                      // a third letter starts a new code
          {"", "MM", "MD"},                       // no code "MM": the letter cycles
          {"", "XA", "AK"},                       // X begins no code
          {"", "C\bA", "AK"},                     // Backspace ends the code being spelled
          {"", "CA|O", "OH"},
      };
  for (const auto& c : cases) {
    TEditTestHost host;
    auto* edit = host.Place(new TClockedStateEdit, 10, 10);
    edit->SetText(QLatin1String(c.start));
    edit->SetOkToDel(false);
    host.ShowActive();
    edit->setFocus();
    for (const QString& key : KeyTokens(c.keys)) {
      edit->Clock += key == "|" ? TStateEdit::TypeAheadMs : 100;
      if (key != "|") TypeKey(edit, key);
    }
    EXPECT_EQ(edit->Text(), QLatin1String(c.shown)) << c.keys.toStdString();
  }
  // On a keyboard each capital comes with a press of Shift of its own, which spells nothing.
  TEditTestHost host;
  auto* edit = host.Place(new TClockedStateEdit, 10, 10);
  host.ShowActive();
  edit->setFocus();
  for (char letter : {'C', 'A'}) {
    edit->Clock += 100;
    QTest::keyPress(edit, Qt::Key_Shift);
    QTest::keyClick(edit, letter, Qt::ShiftModifier);
    QTest::keyRelease(edit, Qt::Key_Shift, Qt::ShiftModifier);
  }
  EXPECT_EQ(edit->Text(), "CA");
}

TEST(StateEditTest, ArrowKeysAndTheListWorkAsInAnyDropDown) {
  TEditTestHost host;
  auto* edit = host.Place(new TStateEdit, 10, 10);
  edit->SetText("AK");
  host.ShowActive();
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Down);
  EXPECT_EQ(edit->Text(), "AL");
  QTest::keyClick(edit, Qt::Key_Up);
  EXPECT_EQ(edit->Text(), "AK");
  edit->SetItemIndex(45);
  EXPECT_EQ(edit->Text(), "TX");
}

TEST(StateEditTest, TextWritesSelectTheCodeOrShowAnUnknownOneAsItIs) {
  TStateEdit edit;
  QSignalSpy changes(&edit, &QComboBox::currentTextChanged);
  edit.SetText("TX");
  EXPECT_EQ(edit.ItemIndex(), 45);
  edit.SetText("XX");
  EXPECT_EQ(edit.ItemIndex(), -1);
  EXPECT_EQ(edit.Text(), "XX");
  edit.SetText("");
  EXPECT_EQ(edit.Text(), "");
  EXPECT_EQ(changes.count(), 3);
}
