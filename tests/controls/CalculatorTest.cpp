#include "controls/Calculator.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <cmath>

#include "TestSupport.h"
#include "platform/MsgBox.h"
#include "storage/Globals.h"

// Failure messages show texts, not their bytes.
static void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace {
// Types a key sequence into the calculator: plain characters as typed, "\b" Backspace,
// "\r" Enter, "\x1b" Escape.
void TypeCalc(QWidget* w, const char* keys) {
  for (const char* p = keys; *p; ++p) {
    switch (*p) {
      case '\b':
        QTest::keyClick(w, Qt::Key_Backspace);
        break;
      case '\r':
        QTest::keyClick(w, Qt::Key_Return);
        break;
      case '\x1b':
        QTest::keyClick(w, Qt::Key_Escape);
        break;
      default:
        QTest::keyClick(w, *p);
    }
  }
}

// A calculator shown (not modally) the way a money field with the given decimals opens it.
class CalculatorTest : public ::testing::Test {
 protected:
  void Open(int decimals, const QString& fieldText = QStringLiteral("0.00")) {
    CalcDecimals = decimals;
    Calc = std::make_unique<TCalculator>();
    Calc->SetFieldText(fieldText);
    Calc->show();
    MsgBoxScript::Clear();
  }
  void TearDown() override { CalcDecimals = 2; }
  QString Display() const { return Calc->findChild<QLabel*>("LblDisplay")->text(); }
  QStringList Messages() const {
    QStringList texts;
    for (const auto& shown : MsgBoxScript::Log()) texts << shown.text;
    return texts;
  }

  std::unique_ptr<TCalculator> Calc;
};

const char* const kDivideByZero = "You cannot divide by zero";
const char* const kTooLong = "The calculated result will not fit\ninto the calculator display!";
}  // namespace

TEST(CalculatorFormat, GeneralNumberForm) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {5, "5"},
      {-2.5, "-2.5"},
      {3.5, "3.5"},
      {1.0 / 3, "0.333333333333333"},
      {123456789012345, "123456789012345"},
      {1e15, "1E15"},
      {1.5e20, "1.5E20"},
      {-2.25e16, "-2.25E16"},
      {0.00001, "0.00001"},
      {0.000001, "1E-6"},
      {1234.5, "1234.5"},
      {12345678901234567.0, "1.23456789012346E16"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatGeneral(c.value), c.text) << c.value;
}

TEST(CalculatorFormat, DisplayTextsConvertBack) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"0", 0},
      {"0.", 0},
      {"-0", 0},
      {"12.5", 12.5},
      {"1E15", 1e15},
      {"1.5E-6", 1.5e-6},
      {"-2.25E16", -2.25e16},
      {"$1,234.50", 1234.5},  // a field's text after Get
      {"", 0},
      {"-", 0},
      {"-.", 0},
      {".", 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(DisplayToFloat(c.text), c.value) << c.text;
}

TEST(CalculatorFormat, ExponentFormWrittenOut) {
  const struct {
    const char* text;
    const char* plain;
  } cases[] = {
      {"1E16", "10000000000000000"},
      {"1E-6", "0.000001"},
      {"-2.5E-7", "-0.00000025"},
      {"1.5E3", "1500"},
      {"1.25E1", "12.5"},
      {"12.5", "12.5"},
      {"-7", "-7"},
      {"Overflow", "Overflow"},
  };
  for (const auto& c : cases) EXPECT_EQ(PlainNumberText(c.text), c.plain) << c.text;
}

// Key sequences typed into the window, with the field's decimals, the display they leave and
// the message they raise.
TEST_F(CalculatorTest, KeySequencesGiveTheirDisplay) {
  const struct {
    const char* keys;
    int decimals;
    const char* display;
    const char* message;
  } cases[] = {
      {"", 2, "0", nullptr},
      {"200+10%", 2, "220", nullptr},  // ten percent of 200 added
      {"200*10%", 2, "20", nullptr},
      {"100-10%", 2, "90", nullptr},
      {"50/10%", 2, "500", nullptr},
      {"7/2=", 2, "3.5", nullptr},
      {"1/3=", 2, "0.33", nullptr},
      {"1/3=", 4, "0.3333", nullptr},
      {"7/3=", 0, "2", nullptr},
      {"2+3=", 2, "5", nullptr},
      {"2+3==", 2, "5", nullptr},  // = again re-reads the display
      {"2++3=", 2, "5", nullptr},  // the operand counts once
      {"2+3\r", 2, "5", nullptr},  // Enter is =
      {"2+3*4=", 2, "20", nullptr},
      {"10-20=", 2, "-10", nullptr},
      {"0.1+0.2=", 2, "0.3", nullptr},
      {"1.5.5", 2, "1.55", nullptr},
      {".5", 2, "0.5", nullptr},
      {"5+.", 2, "0.", nullptr},
      {"123456789012345678", 2, "12345678901234567", nullptr},  // the 18th digit is ignored
      {"12\b", 2, "1", nullptr},
      {"5\b", 2, "0", nullptr},
      {"5_\b", 2, "0", nullptr},  // a lone minus becomes 0
      {"5.\b", 2, "5", nullptr},
      {"5_", 2, "-5", nullptr},
      {"5__", 2, "5", nullptr},
      {"8+5_=", 2, "3", nullptr},
      {"2.5r", 2, "3", nullptr},
      {"2.5_r", 2, "-3", nullptr},
      {"9c", 2, "0", nullptr},
      {"9c4=", 2, "4", nullptr},
      {"9+8c4=", 2, "13", nullptr},  // C clears the entry, not the calculation
      {"9+8a4=", 2, "4", nullptr},   // AC clears the pending addition too
      {"5+3A", 2, "0", nullptr},     // letters are taken as capitals
      {"5/0=", 2, "5", kDivideByZero},
      {"12345678901234567*1000=", 2, "1.23456789012346E19", kTooLong},
      {"999999999999999+1=", 2, "1E15", nullptr},
      {"5xqz#", 2, "5", nullptr},  // other keys do nothing
  };
  for (const auto& c : cases) {
    Open(c.decimals);
    TypeCalc(Calc.get(), c.keys);
    EXPECT_EQ(Display(), c.display) << c.keys;
    const QStringList expected = c.message ? QStringList{c.message} : QStringList{};
    EXPECT_EQ(Messages(), expected) << c.keys;
    EXPECT_TRUE(Calc->isVisible()) << c.keys;  // messages never close the calculator
  }
}

// Memory keys: the display they leave and whether rcL is offered.
TEST_F(CalculatorTest, MemoryKeys) {
  const struct {
    const char* keys;
    const char* display;
    bool recall;
  } cases[] = {
      {"", "0", false},
      {"5s", "5", true},
      {"5s+9=l", "5", true},
      {"5s+3ml", "8", true},  // suM adds to the memory
      {"5s+5_ml", "-5", false},
      {"7s+0s=l", "7", false},  // Sto of 0 empties the memory, so L
                                // does nothing
      {"4ma3=l", "4", true},    // AC keeps the memory
      {"5m+l=", "10", true},    // a recalled number is an operand
      {"2.5sc1+l=", "3.5", true},
  };
  for (const auto& c : cases) {
    Open(2);
    TypeCalc(Calc.get(), c.keys);
    EXPECT_EQ(Display(), c.display) << c.keys;
    EXPECT_EQ(Calc->Button("BtnRecall")->isEnabled(), c.recall) << c.keys;
  }
}

// Get shows the field's text; a field holding no number gives 0.
TEST_F(CalculatorTest, GetFetchesTheFieldText) {
  const struct {
    const char* field;
    const char* keys;
    const char* display;
  } cases[] = {
      {"1234.50", "g", "1234.50"}, {"1234.50", "g+1=", "1235.5"},
      {"1234.50", "g5", "5"},      {"1234.50", "g.", "0."},
      {"-12.5", "g*2=", "-25"},    {"", "g", "0"},
      {"", "g+2=", "2"},           {"-.", "g", "0"},
      {"-", "g*3=", "0"},          {"1,234.50", "g+1=", "1235.5"},
  };
  for (const auto& c : cases) {
    Open(2, c.field);
    TypeCalc(Calc.get(), c.keys);
    EXPECT_EQ(Display(), c.display) << c.field << " " << c.keys;
  }
}

// After a result too long for the display the operands and memory start afresh, while the
// display keeps the long text.
TEST_F(CalculatorTest, OverlongResultResetsTheCalculation) {
  Open(2);
  TypeCalc(Calc.get(), "9sc");
  TypeCalc(Calc.get(), "12345678901234567*1000+");
  EXPECT_EQ(Display(), "1.23456789012346E19");
  EXPECT_EQ(Messages(), QStringList{kTooLong});
  EXPECT_FALSE(Calc->Button("BtnRecall")->isEnabled());
  EXPECT_EQ(Calc->Engine().NumOper, 0);
  TypeCalc(Calc.get(), "4+2=");
  EXPECT_EQ(Display(), "6");
}

TEST_F(CalculatorTest, ResultBeyondRangeIsReportedNotShownAsZero) {
  Open(2);
  // Squaring 1E16 four times gives 1E256; once more runs past the range of a double.
  TypeCalc(Calc.get(), "10000000000000000s");
  for (int i = 0; i < 5; ++i) TypeCalc(Calc.get(), "*l=s");
  EXPECT_EQ(Messages(), QStringList{kTooLong});
  EXPECT_EQ(Display(), "1E256");
}

TEST_F(CalculatorTest, ButtonsClickedWithTheMouse) {
  const struct {
    std::vector<const char*> buttons;
    const char* display;
  } cases[] = {
      {{"Btn2", "Btn0", "Btn0", "BtnPlus", "Btn1", "Btn0", "BtnPerCent"}, "220"},
      {{"Btn7", "BtnDivide", "Btn2", "BtnEquals"}, "3.5"},
      {{"Btn9", "BtnMultiply", "Btn3", "BtnMinus", "Btn7", "BtnEquals"}, "20"},
      {{"Btn1", "BtnDecimal", "Btn5", "BtnPlusMinus", "BtnRound"}, "-2"},
      {{"Btn4", "Btn5", "BtnBksp"}, "4"},
      {{"Btn8", "BtnClearEntry"}, "0"},
      {{"Btn8", "BtnPlus", "Btn1", "BtnAllClear", "Btn2", "BtnEquals"}, "2"},
      {{"Btn6", "BtnStore", "BtnAllClear", "BtnRecall"}, "6"},
      {{"Btn6", "BtnSum", "BtnSum", "BtnAllClear", "BtnRecall"}, "12"},
      {{"BtnGet"}, "1234.50"},
      {{"Btn5", "Btn6", "Btn4", "Btn3"}, "5643"},
  };
  for (const auto& c : cases) {
    Open(2, "1234.50");
    for (const char* name : c.buttons) {
      QToolButton* button = Calc->Button(name);
      ASSERT_NE(button, nullptr) << name;
      QTest::mouseClick(button, Qt::LeftButton);
    }
    EXPECT_EQ(Display(), c.display) << c.buttons.size();
  }
}

TEST_F(CalculatorTest, WindowHasItsButtonsCaptionsAndHints) {
  const char* const digitHint = "Puts this number in the calculator display";
  const struct {
    const char* name;
    const char* caption;
    int row, column, width;
    const char* hint;
    int pointSize;
  } cases[] = {
      {"Btn7", "7", 1, 1, 28, digitHint, 8},
      {"Btn8", "8", 1, 2, 28, digitHint, 8},
      {"Btn9", "9", 1, 3, 28, digitHint, 8},
      {"BtnClearEntry", "C", 1, 4, 28, "Clears the displayed number", 8},
      {"BtnAllClear", "AC", 1, 5, 28, "Clears the current calculation", 8},
      {"Btn4", "4", 2, 1, 28, digitHint, 8},
      {"Btn5", "5", 2, 2, 28, digitHint, 8},
      {"Btn6", "6", 2, 3, 28, digitHint, 8},
      {"BtnMultiply", "*", 2, 4, 28, "Multiplication", 12},
      {"BtnDivide", "/", 2, 5, 28, "Division", 10},
      {"Btn1", "1", 3, 1, 28, digitHint, 8},
      {"Btn2", "2", 3, 2, 28, digitHint, 8},
      {"Btn3", "3", 3, 3, 28, digitHint, 8},
      {"BtnPlus", "+", 3, 4, 28, "Addition", 12},
      {"BtnMinus", "-", 3, 5, 28, "Subtraction", 12},
      {"Btn0", "0", 4, 1, 28, digitHint, 8},
      {"BtnDecimal", ".", 4, 2, 28, "Inserts a decimal point", 14},
      {"BtnPlusMinus", "+/-", 4, 3, 28, "Changes the sign of the displayed number", 10},
      {"BtnPerCent", "%", 4, 4, 28, "Displays the result of multiplication as a percentage.", 8},
      {"BtnRound", "Rnd", 4, 5, 28, "Rounds to whole number", 8},
      {"BtnStore", "Sto", 5, 1, 28, "Adds the displayed number to memory", 8},
      {"BtnSum", "suM", 5, 2, 28, "Adds the displayed number to any number already in memory", 8},
      {"BtnRecall", "rcL", 5, 3, 28,
       "Recalls the number stored in memory. The number remains in memory", 8},
      {"BtnGet", "Get", 5, 4, 28, "Get number from field", 8},
      {"BtnPut", "Put", 5, 5, 28, "Put number into field", 8},
      {"BtnBksp", "Backspace", 6, 1, 60, "Deletes the last digit of the displayed number", 8},
      {"BtnEquals", "=", 6, 3, 92, "Performs any operation on the previous two numbers", 12},
  };
  Open(2);
  EXPECT_EQ(Calc->windowTitle(), "CALCULATOR");
  EXPECT_EQ(Calc->findChildren<QToolButton*>().size(), 27);
  QWidget* client = Calc->findChild<QWidget*>("Client");
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(client->size(), QSize(156, 197));
  EXPECT_EQ(Calc->findChild<QWidget*>("PnlDisplay")->geometry(), QRect(0, 0, 156, 24));
  EXPECT_TRUE(Calc->findChild<QLabel*>("LblDisplay")->font().bold());
  EXPECT_EQ(Display(), "0");
  for (const auto& c : cases) {
    QToolButton* b = Calc->Button(c.name);
    ASSERT_NE(b, nullptr) << c.name;
    EXPECT_EQ(b->text(), c.caption) << c.name;
    EXPECT_EQ(b->toolTip(), c.hint) << c.name;
    EXPECT_EQ(b->geometry(), QRect((c.column - 1) * 32, 32 + (c.row - 1) * 28, c.width, 25))
        << c.name;
    EXPECT_EQ(b->font().pointSize(), c.pointSize) << c.name;
    EXPECT_EQ(b->isEnabled(), std::string(c.name) != "BtnRecall") << c.name;
    EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << c.name;
  }
}

TEST_F(CalculatorTest, HomeMovesTheWindowToTheScreenCorner) {
  Open(2);
  Calc->move(200, 150);
  QTest::keyClick(Calc.get(), Qt::Key_Home);
  EXPECT_EQ(Calc->pos(), Calc->screen()->geometry().topLeft());
  EXPECT_EQ(Display(), "0");
}

// Modal use as a money field opens it: Put sets PutKey and closes, Escape closes without it.
TEST(CalculatorModal, PutAndEscapeEndTheModalShowing) {
  const struct {
    const char* keys;
    int result;
    bool put;
    const char* display;
  } cases[] = {
      {"7/2=p", QDialog::Accepted, true, "3.5"},
      {"7/2=P", QDialog::Accepted, true, "3.5"},
      {"g*2=p", QDialog::Accepted, true, "24.68"},
      {"7/2=\x1b", QDialog::Rejected, false, "3.5"},
  };
  for (const auto& c : cases) {
    CalcDecimals = 2;
    TCalculator calc;
    calc.SetFieldText("12.34");
    WhenModal([&c](QWidget* w) { TypeCalc(w, c.keys); });
    EXPECT_EQ(calc.exec(), c.result) << c.keys;
    EXPECT_EQ(calc.PutKey(), c.put) << c.keys;
    EXPECT_EQ(calc.DisplayText(), c.display) << c.keys;
  }
}

TEST(CalculatorModal, ShowingAgainStartsAFreshCalculation) {
  TCalculator calc;
  calc.show();
  TypeCalc(&calc, "5s+3");
  calc.hide();
  calc.show();
  EXPECT_EQ(calc.Engine().NumOper, 0);
  EXPECT_EQ(calc.Engine().OperFlag, QLatin1Char(' '));
  EXPECT_FALSE(calc.Button("BtnRecall")->isEnabled());
  TypeCalc(&calc, "=");
  EXPECT_EQ(calc.DisplayText(), "3");
}
