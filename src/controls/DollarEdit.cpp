#include "controls/DollarEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <cmath>

#include "controls/Calculator.h"
#include "controls/FilterEdit.h"
#include "maintenance/Utils.h"
#include "storage/Globals.h"

namespace {
bool IsDigit(QChar ch) {
  return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

const QChar kBackspace(8);
const QChar kEnter(13);

// A plain number as the field holds it while edited: an optional leading minus, digits and at
// most one point, with at least one digit.
bool ParsePlain(const QString& text, double& value) {
  static const QRegularExpression number(QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)$"));
  if (!number.match(text).hasMatch()) return false;
  value = text.toDouble();
  return true;
}

// The value of a text as TextToFloat reads it; a text holding no number (such as "-.") is 0.
double TextValue(const QString& text) {
  try {
    return TextToFloat(text);
  } catch (const EConvertError&) {
    return 0;
  }
}

// The character a key types, or a null character for keys that type none (arrows, Delete,
// Escape, Alt combinations), which the line edit handles as it always does.
QChar TypedChar(const QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Backspace) return kBackspace;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) return kEnter;
  if (key == Qt::Key_Delete || key == Qt::Key_Escape) return {};
  const Qt::KeyboardModifiers mods = event->modifiers();
  if (mods & (Qt::AltModifier | Qt::MetaModifier)) return {};
  // Ctrl with a letter types the control character of that letter (Ctrl+V is code 22).
  if ((mods & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
    return QChar(key - Qt::Key_A + 1);
  const QString text = event->text();
  if (text.isEmpty() || text[0].unicode() == 127) return {};
  return text[0];
}
}  // namespace

TDollarEdit::TDollarEdit(QWidget* parent) : QLineEdit(parent) {
  resize(121, 21);
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  FontClr = palette().color(QPalette::Text);
  FDefaultColor = palette().color(QPalette::Base);
  DisplayStep();
}

// ---------------------------------------------------------------------------------------------
// Properties

void TDollarEdit::SetDollarDigits(int digits) {
  FDollarDigits = qBound(0, digits, 12);
  DisplayStep();
}

void TDollarEdit::SetCentDigits(int digits) {
  FCentDigits = qBound(0, digits, 6);
  DisplayStep();
}

void TDollarEdit::SetCurrency(bool on) {
  if (on == FCurrency) return;
  FCurrency = on;
  DisplayStep();
}

double TDollarEdit::Value() const {
  return TextValue(text());
}

void TDollarEdit::SetValue(double value) {
  if (std::isnan(value)) value = 0;
  if (std::isinf(value)) value = std::copysign(MaxAmount, value);
  if (value != FieldValue) {
    FieldValue = value;
    if (FieldValue > MaxAmount) FieldValue = MaxAmount;
  }
  DisplayStep();
}

// ---------------------------------------------------------------------------------------------
// Display and parse

QString TDollarEdit::FormatValue(double value) const {
  static const QLocale us(QLocale::English, QLocale::UnitedStates);
  const double rounded = RoundAmount(value, FCentDigits);
  QString text = us.toString(std::fabs(rounded), 'f', FCentDigits);
  // Only the two money pictures carry the dollar sign; the sign of a negative goes before it.
  if (FCurrency && (FCentDigits == 0 || FCentDigits == 2)) text.prepend(QLatin1Char('$'));
  if (rounded < 0) text.prepend(QLatin1Char('-'));
  return text;
}

QString TDollarEdit::ZeroText() const {
  return FCentDigits == 0 ? QStringLiteral("0")
                          : QStringLiteral("0.") + QString(FCentDigits, QLatin1Char('0'));
}

void TDollarEdit::DisplayStep() {
  setText(FormatValue(FieldValue));
  SetTextColor(FieldValue < 0 ? QColor(Qt::red) : FontClr);
}

void TDollarEdit::ParseStep() {
  static const TCharSet kept = CharSet(QStringLiteral("-.0123456789"));
  QString plain = KeepChars(text(), kept);
  double value = 0;
  // A text with no number in it ("", "-", "-.", or a pasted "1.2.3") stands for zero.
  if (!ParsePlain(plain, value)) {
    plain = ZeroText();
    value = 0;
  }
  setText(plain);
  FieldValue = RoundAmount(value, FCentDigits);
}

void TDollarEdit::SetBackground(const QColor& color) {
  QPalette pal = palette();
  pal.setColor(QPalette::Base, color);
  setPalette(pal);
}

void TDollarEdit::SetTextColor(const QColor& color) {
  QPalette pal = palette();
  pal.setColor(QPalette::Text, color);
  setPalette(pal);
}

// ---------------------------------------------------------------------------------------------
// Focus

void TDollarEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (!FieldFocus::CountsAsFieldChange(event->reason())) return;
  ParseStep();
  CalcDecimals = FCentDigits;
  FDefaultColor = palette().color(QPalette::Base);
  FirstTime = true;
  selectAll();
  emit entered();
}

void TDollarEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (!FieldFocus::CountsAsFieldChange(event->reason())) return;
  ParseStep();
  if (!FRequired || FieldValue != 0)
    DisplayStep();
  else if (!FieldFocus::Reclaiming())
    CheckRequired();
  emit exited();
}

void TDollarEdit::CheckRequired() {
  MsgBox(QStringLiteral("This field is required!"), AppTitle(), mbWarning);
  FieldFocus::TakeBack(
      this,
      QStringLiteral("A non fatal error has occured in the program.~Click on OK to continue."));
}

// ---------------------------------------------------------------------------------------------
// Typing

void TDollarEdit::keyPressEvent(QKeyEvent* event) {
  if ((event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == Qt::AltModifier) {
    event->ignore();  // Alt+letter belongs to the window (menus, navigator), never to the amount
    return;
  }
  const QChar typed = TypedChar(event);
  if (isReadOnly() || typed.isNull()) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const QChar ch = FilterKey(typed);
  if (ch == kBackspace || ch == kEnter || (!ch.isNull() && FitsInText(ch))) {
    QLineEdit::keyPressEvent(event);
  } else if (typed == kEnter) {
    event->ignore();  // the window still sees Enter
  } else {
    event->accept();
  }
}

// Runs the rules for one typed character in their order; a discarded character becomes null
// while the later rules still run.
QChar TDollarEdit::FilterKey(QChar ch) {
  if (FirstTime && (IsDigit(ch) || ch == QLatin1Char('.') || (FMinuskey && ch == QLatin1Char('-'))))
    clear();  // the first key replaces the value shown on entry
  ch = DiscardByKind(ch);
  if (ch == QLatin1Char('C') || ch == QLatin1Char('c')) {
    ch = QChar();
    ShowCalculator();
  }
  ch = DiscardByLength(ch);
  ch = CheckLimits(ch);
  if (ch == kBackspace || ch == QLatin1Char('-') || ch == QLatin1Char('.') || IsDigit(ch))
    FirstTime = false;
  return ch;
}

QChar TDollarEdit::DiscardByKind(QChar ch) const {
  const bool allowed = ch == kBackspace || ch == kEnter || ch == QLatin1Char('-') ||
                       ch == QLatin1Char('.') || IsDigit(ch) || ch == QLatin1Char('C') ||
                       ch == QLatin1Char('c');
  if (!allowed) return {};
  const bool sign = ch == QLatin1Char('-');
  if ((sign || ch == QLatin1Char('.')) && text().contains(ch)) return {};
  if (sign && (!FMinuskey || !text().isEmpty())) return {};
  return ch;
}

QChar TDollarEdit::DiscardByLength(QChar ch) const {
  const QString t = text();
  const qsizetype point = t.indexOf(QLatin1Char('.'));
  if (point < 0 && t.size() == FDollarDigits && ch != kBackspace && ch != QLatin1Char('.'))
    return {};
  if (point >= 0 && t.size() - point - 1 == FCentDigits && ch != kBackspace) return {};
  return ch;
}

QChar TDollarEdit::CheckLimits(QChar ch) {
  QString probe = text();
  if (!ch.isNull()) probe.append(ch);
  const double value = TextValue(probe);
  QString message;
  if (FMaxValue > 0 && value > FMaxValue)
    message =
        QStringLiteral("This field does not accept amounts greater than ") + FormatValue(FMaxValue);
  else if (FMinValue != 0 && value < FMinValue)
    message =
        QStringLiteral("This field does not accept amounts less than ") + FormatValue(FMinValue);
  if (message.isEmpty()) return ch;
  MsgBox(TrimText(message), AppTitle(), mbError);
  clear();
  return {};
}

// The line edit inserts at the caret: the text must stay within MaxLength and may not get a
// digit or point in front of its minus sign.
bool TDollarEdit::FitsInText(QChar ch) const {
  QString result = text();
  if (hasSelectedText())
    result.replace(selectionStart(), selectedText().size(), ch);
  else
    result.insert(cursorPosition(), ch);
  return result.size() <= MaxLength() && result.lastIndexOf(QLatin1Char('-')) <= 0;
}

// ---------------------------------------------------------------------------------------------
// Calculator

void TDollarEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  emit doubleClicked();
  // A put value meets the same limits as a typed one.
  if (!isReadOnly() && ShowCalculator()) CheckLimits(QChar());
}

bool TDollarEdit::ShowCalculator() {
  QPointer<TDollarEdit> self(this);
  QPointer<TCalculator> calculator = new TCalculator(window());
  FCalculator = calculator;
  calculator->SetFieldText(text());
  SetBackground(Qt::yellow);
  calculator->exec();
  if (!self) {
    delete calculator;
    return false;
  }
  const bool put = calculator && calculator->PutKey();
  if (put) {
    TakeCalculatorResult(calculator->DisplayText());
    calculator->SetPutKey(false);
  }
  FCalculator = nullptr;
  delete calculator;
  SetBackground(FDefaultColor);
  return put;
}

void TDollarEdit::TakeCalculatorResult(const QString& display) {
  // The field reads digits, point and sign only: a result in exponent form goes in written out.
  QString put = PlainNumberText(display);
  while (put.startsWith(QLatin1Char(' '))) put.remove(0, 1);
  const int room = FDollarDigits + FCentDigits + 1 + (text().contains(QLatin1Char('-')) ? 1 : 0);
  if (put.size() <= room)
    setText(put);
  else
    MsgBox(QStringLiteral("The calculator display will not~fit into the data entry field!"),
           AppTitle(), mbError);
  if (!FMinuskey && text().contains(QLatin1Char('-'))) {
    setText(QStringLiteral("0.00"));
    MsgBox(QStringLiteral("This field does not accept negative amounts!"), AppTitle(), mbError);
  }
}
