#include "controls/DollarEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QRegularExpression>
#include <cmath>
#include <memory>

#include "controls/Calculator.h"
#include "controls/FilterEdit.h"
#include "core/Utils.h"
#include "platform/Application.h"
#include "platform/MsgBox.h"
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
  // What is stored is what the field shows once left: rounded to its cents (a calculator result
  // may carry more decimals until then).
  return qBound(-MaxAmount, RoundAmount(TextValue(text()), FCentDigits), MaxAmount);
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
  if (event->matches(QKeySequence::Paste)) {
    if (!isReadOnly()) PasteText(QApplication::clipboard()->text());
    event->accept();
    return;
  }
  if ((event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == Qt::AltModifier) {
    event->ignore();  // Alt+letter belongs to the window (menus, navigator), never to the amount
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    // As on entry: the whole amount is selected and the next digit replaces it.
    selectAll();
    FirstTime = true;
    event->accept();
    return;
  }
  const QChar typed = TypedChar(event);
  if (isReadOnly() || typed.isNull()) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  FLimitShown = false;
  const QChar ch = FilterKey(typed);
  if (ch == kBackspace || ch == kEnter || (!ch.isNull() && FitsInText(ch))) {
    QLineEdit::keyPressEvent(event);
  } else if (typed == kEnter) {
    event->ignore();  // the window still sees Enter
  } else {
    // A refused key is heard: a digit past the box's length used to vanish without a sound.
    if (IsRefusedTyping(typed)) Beep();
    event->accept();
  }
}

// A character the user meant to type and was not told about: the calculator key, control
// characters and a key whose limit message was shown are not refusals to beep at.
bool TDollarEdit::IsRefusedTyping(QChar typed) const {
  return typed.unicode() >= 32 && typed != QLatin1Char('C') && typed != QLatin1Char('c') &&
         !FLimitShown;
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
  FLimitShown = true;
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
// Paste and drop

// A text the field could hold had it been typed: a plain number within the dollar and cent
// digits, a minus only in front and only where the minus key is on, within the limits.
bool TDollarEdit::IsTypeable(const QString& plain) const {
  static const QRegularExpression number(QStringLiteral("^(-?)(\\d*)(?:\\.(\\d*))?$"));
  const QRegularExpressionMatch m = number.match(plain);
  if (!m.hasMatch() || plain.size() > MaxLength()) return false;
  if (!m.captured(1).isEmpty() && !FMinuskey) return false;
  if (m.captured(2).size() > FDollarDigits || m.captured(3).size() > FCentDigits) return false;
  const double value = TextValue(plain);
  if (FMaxValue > 0 && value > FMaxValue) return false;
  return FMinValue == 0 || value >= FMinValue;
}

bool TDollarEdit::PasteText(const QString& pasted) {
  // An amount copied from elsewhere may carry its dollar sign and thousands separators.
  QString clean = pasted.trimmed();
  clean.remove(QLatin1Char(',')).remove(QLatin1Char('$'));
  QString result = text();
  const int at = hasSelectedText() ? selectionStart() : cursorPosition();
  if (hasSelectedText()) result.remove(at, selectedText().size());
  result.insert(at, clean);
  if (clean.isEmpty() || !IsTypeable(result)) {
    Beep();
    return false;
  }
  setText(result);
  setCursorPosition(at + clean.size());
  FirstTime = false;
  return true;
}

void TDollarEdit::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu(createStandardContextMenu());
  const QString pasteText = QLineEdit::tr("&Paste");
  for (QAction* action : menu->actions()) {
    if (action->text().section(QLatin1Char('\t'), 0, 0) != pasteText) continue;
    disconnect(action, &QAction::triggered, nullptr, nullptr);
    connect(action, &QAction::triggered, this,
            [this]() { PasteText(QApplication::clipboard()->text()); });
  }
  menu->exec(event->globalPos());
}

void TDollarEdit::mouseReleaseEvent(QMouseEvent* event) {
  QClipboard* clipboard = QApplication::clipboard();
  if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
    if (!isReadOnly()) PasteText(clipboard->text(QClipboard::Selection));
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void TDollarEdit::dropEvent(QDropEvent* event) {
  event->setDropAction(Qt::CopyAction);
  if (isReadOnly() || !event->mimeData()->hasText()) {
    event->ignore();
    return;
  }
  deselect();
  setCursorPosition(cursorPositionAt(event->position().toPoint()));
  event->setAccepted(PasteText(event->mimeData()->text()));
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
  // A frameless field paints no background of its own: it is filled while the colour shows.
  const QColor before = palette().color(QPalette::Base);
  const bool filled = autoFillBackground();
  SetBackground(Qt::yellow);
  setAutoFillBackground(true);
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
  SetBackground(before);
  setAutoFillBackground(filled);
  return put;
}

void TDollarEdit::TakeCalculatorResult(const QString& display) {
  // The field reads digits, point and sign only: a result in exponent form goes in written out.
  QString put = PlainNumberText(display);
  while (put.startsWith(QLatin1Char(' '))) put.remove(0, 1);
  // The field keeps its own cents: a longer result is rounded to them, as it will be stored.
  bool number = false;
  const double value = put.toDouble(&number);
  if (number && put.section(QLatin1Char('.'), 1).size() > FCentDigits)
    put = QString::number(RoundAmount(value, FCentDigits), 'f', FCentDigits);
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
