#include "controls/DollarEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <limits>
#include <memory>

#include "TestSupport.h"
#include "controls/Calculator.h"
#include "platform/Application.h"
#include "platform/MsgBox.h"
#include "storage/Globals.h"

// Failure messages show texts, not their bytes.
static void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace {
// Types a key sequence into a widget: plain characters as typed, "\b" Backspace, "\r" Enter,
// "\x1b" Escape, and named keys in brackets: [Home] [End] [Left] [Del] [^V] (Ctrl+V) [@N] (Alt+N).
void TypeDollar(QWidget* w, const QString& keys) {
  for (qsizetype i = 0; i < keys.size(); ++i) {
    const QChar c = keys[i];
    if (c == QLatin1Char('[')) {
      const qsizetype end = keys.indexOf(QLatin1Char(']'), i);
      const QString name = keys.mid(i + 1, end - i - 1);
      i = end;
      if (name == QLatin1String("Home")) QTest::keyClick(w, Qt::Key_Home);
      if (name == QLatin1String("End")) QTest::keyClick(w, Qt::Key_End);
      if (name == QLatin1String("Left")) QTest::keyClick(w, Qt::Key_Left);
      if (name == QLatin1String("Del")) QTest::keyClick(w, Qt::Key_Delete);
      if (name.startsWith(QLatin1Char('^')) || name.startsWith(QLatin1Char('@')))
        QTest::keyClick(w, static_cast<Qt::Key>(Qt::Key_A + name[1].unicode() - u'A'),
                        name[0] == QLatin1Char('^') ? Qt::ControlModifier : Qt::AltModifier);
    } else if (c == QLatin1Char('\b')) {
      QTest::keyClick(w, Qt::Key_Backspace);
    } else if (c == QLatin1Char('\r')) {
      QTest::keyClick(w, Qt::Key_Return);
    } else if (c == QChar(0x1b)) {
      QTest::keyClick(w, Qt::Key_Escape);
    } else {
      QTest::keyClick(w, c.toLatin1());
    }
  }
}

void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// How a field is set up, as a screen's description would.
struct TSetup {
  int dollars = 9;
  int cents = 2;
  bool minus = true;
  double max = 0;
  double min = 0;
  bool currency = false;
  double value = 0;
  bool required = false;
};

QStringList Messages() {
  QStringList texts;
  for (const auto& shown : MsgBoxScript::Log()) texts << shown.text;
  return texts;
}

QStringList Expected(const char* message) {
  return message ? QStringList{QString::fromUtf8(message)} : QStringList{};
}

const char* const kNotNegative = "This field does not accept negative amounts!";
const char* const kWontFit = "The calculator display will not\nfit into the data entry field!";
const char* const kOverOffset = "This field does not accept amounts greater than 1.9999";

// A shown, active window holding the money field under test and a second field to leave to.
class DollarEditTest : public ::testing::Test {
 protected:
  void SetUp() override { Fresh({}); }
  void TearDown() override { CalcDecimals = 2; }

  void Fresh(const TSetup& s) {
    Host = std::make_unique<QWidget>();
    Host->resize(300, 100);
    // The other field comes first in the focus chain, so it has the focus when the window opens.
    Other = new QLineEdit(Host.get());
    Other->setObjectName(QStringLiteral("Other"));
    Other->move(10, 50);
    Edit = new TDollarEdit(Host.get());
    Edit->setObjectName(QStringLiteral("F1099NEC1"));
    Edit->move(10, 10);
    Edit->SetDollarDigits(s.dollars);
    Edit->SetCentDigits(s.cents);
    Edit->SetMinusKey(s.minus);
    Edit->SetMaxValue(s.max);
    Edit->SetMinValue(s.min);
    Edit->SetCurrency(s.currency);
    Edit->SetRequiredField(s.required);
    Edit->SetValue(s.value);
    Host->show();
    QApplication::setActiveWindow(Host.get());
    Host->activateWindow();
    (void)QTest::qWaitForWindowActive(Host.get());
    MsgBoxScript::Clear();
  }
  void Enter() {
    Edit->setFocus(Qt::TabFocusReason);
    Settle();
  }
  void Leave() {
    // A window manager gives the activation back when a pop-up closes; the test platform
    // leaves that to the test.
    if (QApplication::activeWindow() != Host.get()) QApplication::setActiveWindow(Host.get());
    Other->setFocus(Qt::TabFocusReason);
    Settle();
  }
  QColor TextColor() const { return Edit->palette().color(QPalette::Text); }
  QColor Background() const { return Edit->palette().color(QPalette::Base); }

  std::unique_ptr<QWidget> Host;
  TDollarEdit* Edit = nullptr;
  QLineEdit* Other = nullptr;
};
}  // namespace

TEST_F(DollarEditTest, NewFieldHasItsDefaults) {
  TDollarEdit edit;
  EXPECT_EQ(edit.size(), QSize(121, 21));
  EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
  EXPECT_EQ(edit.text(), "0.00");
  EXPECT_EQ(edit.DollarDigits(), 9);
  EXPECT_EQ(edit.CentDigits(), 2);
  EXPECT_EQ(edit.MaxLength(), 13);
  EXPECT_TRUE(edit.MinusKey());
  EXPECT_FALSE(edit.RequiredField());
  EXPECT_FALSE(edit.Currency());
  EXPECT_EQ(edit.MaxValue(), 0);
  EXPECT_EQ(edit.MinValue(), 0);
  EXPECT_EQ(edit.Value(), 0);
  EXPECT_FALSE(edit.testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(DollarEditTest, DigitPropertiesAreBoundedAndReformat) {
  Edit->SetValue(1.5);
  Edit->SetDollarDigits(20);
  EXPECT_EQ(Edit->DollarDigits(), 12);
  EXPECT_EQ(Edit->MaxLength(), 16);
  Edit->SetCentDigits(9);
  EXPECT_EQ(Edit->CentDigits(), 6);
  EXPECT_EQ(Edit->MaxLength(), 20);
  EXPECT_EQ(Edit->text(), "1.500000");
  Edit->SetCentDigits(0);
  EXPECT_EQ(Edit->text(), "2");
  Edit->SetCurrency(true);
  EXPECT_EQ(Edit->text(), "$2");
}

// Values written by a screen, with the field's format, and the text and colour they show.
TEST_F(DollarEditTest, ValueWriteShowsTheFormattedAmount) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    int cents;
    bool currency;
    double value;
    const char* text;
    double read;
  } cases[] = {
      {2, false, 1234.5, "1,234.50", 1234.5},
      {2, false, 0, "0.00", 0},
      {2, false, -1234.5, "-1,234.50", -1234.5},
      {2, false, 1e15, "999,999,999,999.99", 999999999999.99},
      {2, false, 0.005, "0.01", 0.01},
      {2, false, std::nan(""), "0.00", 0},
      {2, false, inf, "999,999,999,999.99", 999999999999.99},
      {2, true, 1234.5, "$1,234.50", 1234.5},
      {2, true, -5, "-$5.00", -5},
      {0, true, 1234.5, "$1,235", 1235},
      {0, false, 999999, "999,999", 999999},
      {1, true, 2.25, "2.3", 2.3},  // only the 0 and 2 decimal pictures carry "$"
      {4, false, 1.5, "1.5000", 1.5},
      {6, false, -0.25, "-0.250000", -0.25},
  };
  for (const auto& c : cases) {
    Edit->SetCentDigits(c.cents);
    Edit->SetCurrency(c.currency);
    Edit->SetValue(c.value);
    EXPECT_EQ(Edit->text(), c.text) << c.value;
    EXPECT_DOUBLE_EQ(Edit->Value(), c.read) << c.value;
    const bool negative = QString::fromLatin1(c.text).startsWith(QLatin1Char('-'));
    EXPECT_EQ(TextColor(), negative ? QColor(Qt::red) : Edit->FontColor()) << c.value;
  }
}

TEST_F(DollarEditTest, FontColorTakesEffectAtTheNextDisplay) {
  Edit->SetValue(5);
  Edit->SetFontColor(Qt::blue);
  EXPECT_NE(TextColor(), QColor(Qt::blue));
  Edit->SetValue(6);
  EXPECT_EQ(TextColor(), QColor(Qt::blue));
  Edit->SetValue(-6);
  EXPECT_EQ(TextColor(), QColor(Qt::red));
}

TEST_F(DollarEditTest, EnteringShowsThePlainNumberSelected) {
  Fresh({.cents = 4, .value = 1234.5});
  QSignalSpy entered(Edit, &TDollarEdit::entered);
  QSignalSpy exited(Edit, &TDollarEdit::exited);
  EXPECT_EQ(Edit->text(), "1,234.5000");
  Enter();
  EXPECT_EQ(Edit->text(), "1234.5000");
  EXPECT_EQ(Edit->selectedText(), "1234.5000");
  EXPECT_EQ(CalcDecimals, 4);
  EXPECT_EQ(entered.size(), 1);
  Leave();
  EXPECT_EQ(Edit->text(), "1,234.5000");
  EXPECT_EQ(exited.size(), 1);
}

// Keys typed after entering the field: the text while editing, the text after leaving, the
// value and the message shown.
TEST_F(DollarEditTest, TypedKeysGiveTheirTexts) {
  const struct {
    TSetup setup;
    const char* keys;
    const char* editing;
    const char* shown;
    double value;
    const char* message;
  } cases[] = {
      {{.value = 1234.5}, "7", "7", "7.00", 7, nullptr},       // the first key replaces the value
      {{.value = 1234.5}, "[End]7", "7", "7.00", 7, nullptr},  // wherever the caret is
      {{.value = 1234.5}, "[End]\b7", "1234.57", "1,234.57", 1234.57, nullptr},
      {{}, "1234567890", "123456789", "123,456,789.00", 123456789, nullptr},
      {{}, "123456789.1234", "123456789.12", "123,456,789.12", 123456789.12, nullptr},
      {{}, "-1234567890", "-12345678", "-12,345,678.00", -12345678, nullptr},
      {{},
       "1.2[Home]9999999999999",
       "99999999991.2",
       "99,999,999,991.20",
       99999999991.2,
       nullptr},  // typing stops at the field's room
      {{.minus = false}, "-5", "5", "5.00", 5, nullptr},
      {{}, "5-", "5", "5.00", 5, nullptr},  // a minus sign only comes first
      {{}, "-5.5", "-5.5", "-5.50", -5.5, nullptr},
      {{}, "--5", "-5", "-5.00", -5, nullptr},
      {{}, "1..5", "1.5", "1.50", 1.5, nullptr},
      {{}, "a5$b, 6x", "56", "56.00", 56, nullptr},
      {{}, "-.", "-.", "0.00", 0, nullptr},  // a sign and a point hold no number: zero
      {{}, "-", "-", "0.00", 0, nullptr},
      {{.value = 12}, "\b", "", "0.00", 0, nullptr},
      {{}, "123\b4", "124", "124.00", 124, nullptr},
      {{}, "5\r6", "56", "56.00", 56, nullptr},  // Enter types nothing
      {{}, "15[Left]2", "125", "125.00", 125, nullptr},
      {{.value = 123}, "[Home][Del]", "23.00", "23.00", 23, nullptr},
      {{}, "-5[Home]3", "-5", "-5.00", -5, nullptr},  // nothing goes in front of the sign
      {{}, "-5[Home].", "-5", "-5.00", -5, nullptr},
      {{}, "5[^V]", "5", "5.00", 5, nullptr},          // Ctrl+V types a control character: refused
      {{}, "5[@N][@L]6", "56", "56.00", 56, nullptr},  // Alt+letters belong to the window
      {{.cents = 0}, "12.5", "12.", "12", 12, nullptr},
      {{.cents = 4}, "0.12345", "0.1234", "0.1234", 0.1234, nullptr},
      {{.currency = true}, "1234", "1234", "$1,234.00", 1234, nullptr},
      {{.currency = true}, "-5", "-5", "-$5.00", -5, nullptr},
      {{.cents = 3, .currency = true}, "1.5", "1.5", "1.500", 1.5, nullptr},
      {{.dollars = 2, .cents = 4, .max = 1.9999}, "15", "", "0.0000", 0, kOverOffset},
      {{.dollars = 2, .cents = 4, .max = 1.9999}, "1.99999", "1.9999", "1.9999", 1.9999, nullptr},
      {{.dollars = 2, .cents = 4, .max = 1.9999}, "-1.5", "-1.5", "-1.5000", -1.5, nullptr},
      {{.min = 1}, "0", "", "0.00", 0, "This field does not accept amounts less than 1.00"},
      {{.min = 1}, "5.5", "5.5", "5.50", 5.5, nullptr},
      {{.min = -10}, "-11", "", "0.00", 0, "This field does not accept amounts less than -10.00"},
  };
  for (const auto& c : cases) {
    Fresh(c.setup);
    Enter();
    TypeDollar(Edit, QString::fromLatin1(c.keys));
    EXPECT_EQ(Edit->text(), c.editing) << c.keys;
    EXPECT_DOUBLE_EQ(Edit->Value(), c.value) << c.keys;  // follows the text while typing
    Leave();
    EXPECT_EQ(Edit->text(), c.shown) << c.keys;
    EXPECT_EQ(Messages(), Expected(c.message)) << c.keys;
    const bool negative = QString::fromLatin1(c.shown).startsWith(QLatin1Char('-'));
    EXPECT_EQ(TextColor(), negative ? QColor(Qt::red) : Edit->FontColor()) << c.keys;
  }
}

// Ctrl+A selects the whole amount as entering does, so the digits after it replace it; a key
// the field refuses is heard, never dropped in silence.
TEST_F(DollarEditTest, CtrlASelectsTheAmountAndRefusedKeysBeep) {
  const struct {
    double value;
    const char* keys;
    const char* editing;
    int beeps;
  } cases[] = {
      {1234.5, "[End][^A]2025", "2025", 0},
      {1234.5, "[Home]9[^A]7", "7", 0},
      {0, "12345678901234", "123456789", 5},  // past nine dollar digits
      {0, "1.234", "1.23", 1},
      {0, "1x,5", "15", 2},
  };
  for (const auto& c : cases) {
    Fresh({.value = c.value});
    Enter();
    const int before = BeepCount();
    TypeDollar(Edit, QString::fromLatin1(c.keys));
    EXPECT_EQ(Edit->text(), c.editing) << c.keys;
    EXPECT_EQ(BeepCount() - before, c.beeps) << c.keys;
    Leave();
  }
}

TEST_F(DollarEditTest, PastedTextThatIsNoNumberBecomesZero) {
  Enter();
  Edit->setText(QStringLiteral("1.2.3"));  // as a paste from the context menu would leave it
  EXPECT_EQ(Edit->Value(), 0);
  Leave();
  EXPECT_EQ(Edit->text(), "0.00");
  EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(DollarEditTest, RequiredFieldKeepsTheFocusWhileZero) {
  Fresh({.required = true});
  Enter();
  Leave();
  EXPECT_EQ(Messages(), QStringList{"This field is required!"});
  EXPECT_EQ(MsgBoxScript::Log().value(0).flags, mbWarning);
  EXPECT_EQ(MsgBoxScript::Log().value(0).caption, AppTitle());
  EXPECT_TRUE(Edit->hasFocus());
  EXPECT_EQ(Edit->text(), "0.00");  // the plain zero text stays
  MsgBoxScript::Clear();
  TypeDollar(Edit, "5");
  Leave();
  EXPECT_TRUE(Messages().isEmpty());
  EXPECT_TRUE(Other->hasFocus());
  EXPECT_EQ(Edit->text(), "5.00");
}

TEST_F(DollarEditTest, RequiredFieldThatCannotTakeTheFocusBackSaysSo) {
  Fresh({.required = true});
  Enter();
  Edit->setEnabled(false);  // the focus moves on and cannot come back
  Settle();
  EXPECT_EQ(
      Messages(),
      (QStringList{"This field is required!",
                   "A non fatal error has occured in the program.\nClick on OK to continue."}));
  EXPECT_EQ(MsgBoxScript::Log().value(1).flags, mbError);
}

TEST_F(DollarEditTest, ReadOnlyFieldIgnoresTyping) {
  Fresh({.value = 12.5});
  Edit->setReadOnly(true);
  auto opened = std::make_shared<bool>(false);
  IfModal(
      [opened](QWidget* w) {
        *opened = true;
        static_cast<QDialog*>(w)->reject();
      },
      200);
  Enter();
  TypeDollar(Edit, "7c-\b");
  QTest::mouseDClick(Edit, Qt::LeftButton);
  QTest::qWait(300);
  EXPECT_FALSE(*opened);
  EXPECT_EQ(Edit->text(), "12.50");
}

// The calculator opened by C or a double click: keys typed in it, the field's text after it
// closes, after leaving, and the messages.
TEST_F(DollarEditTest, CalculatorPutsItsDisplayIntoTheField) {
  const struct {
    TSetup setup;
    const char* calcKeys;
    const char* editing;
    const char* shown;
    const char* message;
  } cases[] = {
      {{}, "7/2=p", "3.5", "3.50", nullptr},
      {{}, "1/3=p", "0.33", "0.33", nullptr},
      {{.value = 12.34}, "g*2=p", "24.68", "24.68", nullptr},
      {{.value = 1234.5}, "99\x1b", "1234.50", "1,234.50", nullptr},  // Escape: no change
      {{.minus = false}, "5_p", "0.00", "0.00", kNotNegative},
      {{}, "5_p", "-5", "-5.00", nullptr},
      {{}, "1234567890123p", "0.00", "0.00", kWontFit},
      {{.value = 5}, "123456789012_p", "5.00", "5.00", kWontFit},
      // A minus sign already in the field makes room for one more character.
      {{.value = -5}, "123456789012_p", "-123456789012", "-123,456,789,012.00", nullptr},
      // A result shown in exponent form goes in written out.
      {{.dollars = 2, .cents = 6}, "1/1000000=p", "0.000001", "0.000001", nullptr},
      {{.dollars = 12}, "10000000000000000*1=p", "0.00", "0.00", kWontFit},
      {{.dollars = 2, .cents = 4, .max = 1.9999}, "5p", "", "0.0000", kOverOffset},
      {{.dollars = 2, .cents = 4, .max = 1.9999}, "1.5p", "1.5", "1.5000", nullptr},
      {{.dollars = 2, .cents = 4}, "1/3=p", "0.3333", "0.3333", nullptr},
      // More decimals than the field keeps go in rounded, as they will be stored.
      {{}, "1234.5678p", "1234.57", "1,234.57", nullptr},
      {{.cents = 0}, "2.5*3=p", "8", "8", nullptr},
  };
  for (const bool byKey : {true, false}) {
    for (const auto& c : cases) {
      Fresh(c.setup);
      Enter();
      WhenModal([&c](QWidget* w) { TypeDollar(w, QString::fromLatin1(c.calcKeys)); });
      if (byKey)
        TypeDollar(Edit, "c");
      else
        QTest::mouseDClick(Edit, Qt::LeftButton);
      const QString how = byKey ? "C " : "double click ";
      EXPECT_EQ(Edit->text(), c.editing) << how.toStdString() << c.calcKeys;
      Leave();
      EXPECT_EQ(Edit->text(), c.shown) << how.toStdString() << c.calcKeys;
      EXPECT_EQ(Messages(), Expected(c.message)) << how.toStdString() << c.calcKeys;
    }
  }
}

TEST_F(DollarEditTest, FieldIsYellowWhileTheCalculatorIsOpen) {
  Fresh({.cents = 4, .value = 2.5});
  Enter();
  QSignalSpy exited(Edit, &TDollarEdit::exited);
  const QColor normal = Background();
  QColor during;
  QString fieldText;
  int decimals = -1;
  WhenModal([&](QWidget* w) {
    during = Background();
    fieldText = static_cast<TCalculator*>(w)->FieldText();
    decimals = CalcDecimals;
    QTest::keyClick(w, Qt::Key_Escape);
  });
  TypeDollar(Edit, "C");
  EXPECT_EQ(during, QColor(Qt::yellow));
  EXPECT_EQ(fieldText, "2.5000");
  EXPECT_EQ(decimals, 4);
  EXPECT_EQ(Background(), normal);
  EXPECT_EQ(Edit->Calculator(), nullptr);
  EXPECT_EQ(exited.size(), 0);  // opening the calculator does not leave the field
  TypeDollar(Edit, "7");        // and the first key still replaces the value
  EXPECT_EQ(Edit->text(), "7");
}
