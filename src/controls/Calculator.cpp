#include "controls/Calculator.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Utils.h"
#include "platform/MsgBox.h"
#include "storage/Globals.h"

namespace {
constexpr int kPrecision = 15;  // significant digits of the general form

// Writes digits with the point placed after exp10 + 1 of them (padding with zeros either side).
QString FixedText(const QString& digits, int exp10) {
  if (exp10 < 0) return QStringLiteral("0.") + QString(-exp10 - 1, QLatin1Char('0')) + digits;
  QString whole = digits.left(exp10 + 1);
  whole += QString(exp10 + 1 - whole.size(), QLatin1Char('0'));
  const QString fraction = digits.mid(exp10 + 1);
  return fraction.isEmpty() ? whole : whole + QLatin1Char('.') + fraction;
}

QString ExponentText(const QString& digits, int exp10) {
  QString text = digits.left(1);
  if (digits.size() > 1) text += QLatin1Char('.') + digits.mid(1);
  return text + QLatin1Char('E') + QString::number(exp10);
}
}  // namespace

QString FormatGeneral(double value) {
  if (value == 0 || !std::isfinite(value)) return QStringLiteral("0");
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.*e", kPrecision - 1, std::fabs(value));
  QString digits;
  for (const char* p = buf; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits.append(QLatin1Char(*p));
  while (digits.size() > 1 && digits.endsWith(QLatin1Char('0'))) digits.chop(1);
  const int exp10 = std::atoi(std::strchr(buf, 'e') + 1);
  const bool fixed = exp10 < kPrecision && exp10 >= -5;
  const QString text = fixed ? FixedText(digits, exp10) : ExponentText(digits, exp10);
  return value < 0 ? QLatin1Char('-') + text : text;
}

double DisplayToFloat(const QString& text) {
  static const QRegularExpression number(
      QStringLiteral("^\\s*-?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?\\s*$"));
  if (number.match(text).hasMatch()) return text.trimmed().toDouble();
  try {
    return TextToFloat(text);
  } catch (const EConvertError&) {
    return 0;  // "-." and the like: a number begun but holding no digit
  }
}

QString PlainNumberText(const QString& text) {
  static const QRegularExpression exponent(
      QStringLiteral("^(-?)(\\d+)(?:\\.(\\d*))?[eE]([-+]?\\d{1,3})$"));
  const QRegularExpressionMatch m = exponent.match(text);
  if (!m.hasMatch()) return text;
  QString digits = m.captured(2) + m.captured(3);
  int exp10 = m.captured(2).size() - 1 + m.captured(4).toInt();
  while (digits.size() > 1 && digits.startsWith(QLatin1Char('0'))) {
    digits.remove(0, 1);
    --exp10;
  }
  while (digits.size() > 1 && digits.endsWith(QLatin1Char('0'))) digits.chop(1);
  if (digits == QLatin1String("0")) return QStringLiteral("0");
  return m.captured(1) + FixedText(digits, exp10);
}

// ---------------------------------------------------------------------------------------------
// TCalcEngine

void TCalcEngine::Reset() {
  Oper1 = Oper2 = 0;
  NumOper = 0;
  LastInput = 0;
  OperFlag = QLatin1Char(' ');
  DecFlag = false;
  PutKey = false;
  SetStored(0);
}

void TCalcEngine::ResetDisplay(int lastInput) {
  FDisplay = QStringLiteral("0");
  LastInput = lastInput;
  DecFlag = false;
}

void TCalcEngine::Digit(QChar digit) {
  if (LastInput != iDigit) {
    FDisplay.clear();
    DecFlag = false;
  }
  if (FDisplay.size() < iMaxChars) FDisplay.append(digit);
  LastInput = iDigit;
}

void TCalcEngine::Decimal() {
  if (LastInput != iDigit)
    FDisplay = QStringLiteral("0.");
  else if (!DecFlag && FDisplay.size() < iMaxChars)
    FDisplay.append(QLatin1Char('.'));
  DecFlag = true;
  LastInput = iDigit;
}

void TCalcEngine::Operator(QChar op) {
  if (LastInput == iDigit || LastInput == iGetRcl) ++NumOper;
  if (NumOper == 1) {
    Oper1 = DisplayToFloat(FDisplay);
  } else if (NumOper == 2) {
    Calculate(op);
  }
  LastInput = iOper;
  OperFlag = op == QLatin1Char('%') ? QLatin1Char('=') : op;
}

void TCalcEngine::Calculate(QChar op) {
  Oper2 = DisplayToFloat(FDisplay);
  if (op == QLatin1Char('%')) {
    if (OperFlag == QLatin1Char('*') || OperFlag == QLatin1Char('/'))
      Oper2 = Oper2 / 100;
    else if (OperFlag == QLatin1Char('+') || OperFlag == QLatin1Char('-'))
      Oper2 = Oper2 * Oper1 / 100;
  }
  ApplyPending();
  // A result past the range of a double would round to 0: it is reported as not fitting and
  // the display keeps the operand it showed.
  const bool finite = std::isfinite(Oper1);
  Oper1 = RoundAmount(Oper1, CalcDecimals);
  NumOper = 1;
  if (finite) ShowNumber(Oper1);
  if (!finite || FDisplay.size() > iMaxChars) {
    MsgBox(QStringLiteral("The calculated result will not fit~into the calculator display!"),
           AppTitle(), mbError);
    Reset();
  }
}

void TCalcEngine::ApplyPending() {
  switch (OperFlag.unicode()) {
    case u'+':
      Oper1 += Oper2;
      break;
    case u'-':
      Oper1 -= Oper2;
      break;
    case u'*':
      Oper1 *= Oper2;
      break;
    case u'/':
      if (Oper2 == 0)
        MsgBox(QStringLiteral("You cannot divide by zero"), AppTitle(), mbError);
      else
        Oper1 /= Oper2;
      break;
    case u'=':
      Oper1 = Oper2;
      break;
    default:
      break;
  }
}

void TCalcEngine::ClearEntry() {
  ResetDisplay(iClear);
}

void TCalcEngine::AllClear() {
  ResetDisplay(0);
  Oper1 = Oper2 = 0;
  NumOper = 0;
  OperFlag = QLatin1Char(' ');
}

void TCalcEngine::PlusMinus() {
  // Only a leading sign is the number's: "1E-6" keeps the minus of its exponent.
  if (FDisplay.startsWith(QLatin1Char('-')))
    FDisplay.remove(0, 1);
  else
    FDisplay.prepend(QLatin1Char('-'));
}

void TCalcEngine::Backspace() {
  if (FDisplay.size() <= 1) {
    ResetDisplay(iClear);
    return;
  }
  FDisplay.chop(1);
  LastInput = iDigit;
  if (!FDisplay.contains(QLatin1Char('.'))) DecFlag = false;
  if (FDisplay == QLatin1String("-")) ResetDisplay(iClear);
}

void TCalcEngine::Round() {
  ShowNumber(RoundAmount(DisplayToFloat(FDisplay), 0));
  DecFlag = false;
}

void TCalcEngine::SetStored(double value) {
  Stored = value;
  FRecallEnabled = Stored != 0;
}

void TCalcEngine::Store() {
  SetStored(DisplayToFloat(FDisplay));
}

void TCalcEngine::Sum() {
  SetStored(Stored + DisplayToFloat(FDisplay));
}

void TCalcEngine::Recall() {
  ShowNumber(Stored);
  LastInput = iGetRcl;
}

void TCalcEngine::Get() {
  // A field left empty (or holding a sign and no digit) counts as zero.
  static const QRegularExpression anyDigit(QStringLiteral("\\d"));
  FDisplay = FieldText.contains(anyDigit) ? FieldText : QStringLiteral("0");
  LastInput = iGetRcl;
  if (FDisplay.contains(QLatin1Char('.'))) DecFlag = true;
}

// ---------------------------------------------------------------------------------------------
// TCalculator

namespace {
constexpr int kBorder = 8;
constexpr int kClientWidth = 156;
constexpr int kClientHeight = 197;

const QString kDigitHint = QStringLiteral("Puts this number in the calculator display");

struct TButtonDef {
  const char* name;
  const char* caption;
  int row, column, width;
  const char* hint;  // nullptr for the digits
  int pointSize;     // 0: the window's font
};

const TButtonDef kButtons[] = {
    {"Btn7", "7", 1, 1, 28, nullptr, 0},
    {"Btn8", "8", 1, 2, 28, nullptr, 0},
    {"Btn9", "9", 1, 3, 28, nullptr, 0},
    {"BtnClearEntry", "C", 1, 4, 28, "Clears the displayed number", 0},
    {"BtnAllClear", "AC", 1, 5, 28, "Clears the current calculation", 0},
    {"Btn4", "4", 2, 1, 28, nullptr, 0},
    {"Btn5", "5", 2, 2, 28, nullptr, 0},
    {"Btn6", "6", 2, 3, 28, nullptr, 0},
    {"BtnMultiply", "*", 2, 4, 28, "Multiplication", 12},
    {"BtnDivide", "/", 2, 5, 28, "Division", 10},
    {"Btn1", "1", 3, 1, 28, nullptr, 0},
    {"Btn2", "2", 3, 2, 28, nullptr, 0},
    {"Btn3", "3", 3, 3, 28, nullptr, 0},
    {"BtnPlus", "+", 3, 4, 28, "Addition", 12},
    {"BtnMinus", "-", 3, 5, 28, "Subtraction", 12},
    {"Btn0", "0", 4, 1, 28, nullptr, 0},
    {"BtnDecimal", ".", 4, 2, 28, "Inserts a decimal point", 14},
    {"BtnPlusMinus", "+/-", 4, 3, 28, "Changes the sign of the displayed number", 10},
    {"BtnPerCent", "%", 4, 4, 28, "Displays the result of multiplication as a percentage.", 0},
    {"BtnRound", "Rnd", 4, 5, 28, "Rounds to whole number", 0},
    {"BtnStore", "Sto", 5, 1, 28, "Adds the displayed number to memory", 0},
    {"BtnSum", "suM", 5, 2, 28, "Adds the displayed number to any number already in memory", 0},
    {"BtnRecall", "rcL", 5, 3, 28,
     "Recalls the number stored in memory. The number remains in memory", 0},
    {"BtnGet", "Get", 5, 4, 28, "Get number from field", 0},
    {"BtnPut", "Put", 5, 5, 28, "Put number into field", 0},
    {"BtnBksp", "Backspace", 6, 1, 60, "Deletes the last digit of the displayed number", 0},
    {"BtnEquals", "=", 6, 3, 92, "Performs any operation on the previous two numbers", 12},
};
}  // namespace

TCalculator::TCalculator(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Calculator"));
  setWindowTitle(QStringLiteral("CALCULATOR"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFont(QFont(QStringLiteral("Tahoma"), 8));
  setFixedSize(kClientWidth + 2 * kBorder, kClientHeight + 2 * kBorder);
  setFocusPolicy(Qt::StrongFocus);
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Client"));
  client->setGeometry(kBorder, kBorder, kClientWidth, kClientHeight);
  BuildDisplay(client);
  BuildButtons(client);
  ConnectButtons();
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  Refresh();
}

void TCalculator::BuildDisplay(QWidget* client) {
  auto* panel = new QFrame(client);
  panel->setObjectName(QStringLiteral("PnlDisplay"));
  panel->setGeometry(0, 0, kClientWidth, 24);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setAutoFillBackground(true);
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
  pal.setColor(QPalette::WindowText, Qt::black);
  panel->setPalette(pal);
  FDisplay = new QLabel(QStringLiteral("0"), panel);
  FDisplay->setObjectName(QStringLiteral("LblDisplay"));
  QFont bold = font();
  bold.setBold(true);
  FDisplay->setFont(bold);
  FDisplay->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  FDisplay->setGeometry(4, 2, kClientWidth - 8, 20);
}

QToolButton* TCalculator::AddButton(QWidget* client, const char* name, const QString& caption,
                                    int row, int column, int width, const QString& hint) {
  auto* button = new QToolButton(client);
  button->setText(caption);
  button->setObjectName(QLatin1String(name));
  button->setGeometry((column - 1) * 32, 32 + (row - 1) * 28, width, 25);
  button->setAutoRaise(true);  // flat until the mouse is over it
  // The window takes every key itself; the buttons never hold the focus.
  button->setFocusPolicy(Qt::NoFocus);
  button->setToolTip(hint);
  FButtons.insert(button->objectName(), button);
  return button;
}

void TCalculator::BuildButtons(QWidget* client) {
  for (const TButtonDef& def : kButtons) {
    const QString hint = def.hint ? QString::fromLatin1(def.hint) : kDigitHint;
    QToolButton* button = AddButton(client, def.name, QString::fromLatin1(def.caption), def.row,
                                    def.column, def.width, hint);
    if (def.pointSize > 0) {
      QFont large = button->font();
      large.setPointSize(def.pointSize);
      button->setFont(large);
    }
  }
}

void TCalculator::ConnectButtons() {
  for (QChar d = QLatin1Char('0'); d <= QLatin1Char('9'); d = QChar(d.unicode() + 1))
    connect(FButtons.value(QStringLiteral("Btn") + d), &QToolButton::clicked, this, [this, d]() {
      FEngine.Digit(d);
      Refresh();
    });
  for (const char* name :
       {"BtnPlus", "BtnMinus", "BtnMultiply", "BtnDivide", "BtnEquals", "BtnPerCent"}) {
    QToolButton* button = FButtons.value(QLatin1String(name));
    const QChar op = button->text().at(0);
    connect(button, &QToolButton::clicked, this, [this, op]() {
      FEngine.Operator(op);
      Refresh();
    });
  }
  const std::pair<const char*, void (TCalcEngine::*)()> actions[] = {
      {"BtnDecimal", &TCalcEngine::Decimal},   {"BtnClearEntry", &TCalcEngine::ClearEntry},
      {"BtnAllClear", &TCalcEngine::AllClear}, {"BtnPlusMinus", &TCalcEngine::PlusMinus},
      {"BtnRound", &TCalcEngine::Round},       {"BtnStore", &TCalcEngine::Store},
      {"BtnSum", &TCalcEngine::Sum},           {"BtnRecall", &TCalcEngine::Recall},
      {"BtnGet", &TCalcEngine::Get},           {"BtnBksp", &TCalcEngine::Backspace}};
  for (const auto& [name, action] : actions)
    connect(FButtons.value(QLatin1String(name)), &QToolButton::clicked, this,
            [this, action = action]() { Run(action); });
  connect(FButtons.value(QStringLiteral("BtnPut")), &QToolButton::clicked, this,
          &TCalculator::PutClick);
}

void TCalculator::Run(void (TCalcEngine::*action)()) {
  (FEngine.*action)();
  Refresh();
}

void TCalculator::Refresh() {
  FDisplay->setText(FEngine.Display());
  FButtons.value(QStringLiteral("BtnRecall"))->setEnabled(FEngine.RecallEnabled());
}

QString TCalculator::DisplayText() const {
  return FDisplay->text();
}

void TCalculator::PutClick() {
  FEngine.PutKey = true;
  accept();
}

void TCalculator::showEvent(QShowEvent* event) {
  FEngine.Reset();
  Refresh();
  QDialog::showEvent(event);
}

void TCalculator::MoveToScreenCorner() {
  if (QScreen* s = screen()) move(s->geometry().topLeft());
}

bool TCalculator::RunKey(QChar key) {
  if (key.isDigit() && key.unicode() <= '9') {
    FEngine.Digit(key);
  } else if (QStringLiteral("+-*/%=").contains(key)) {
    FEngine.Operator(key);
  } else {
    static const QMap<QChar, void (TCalcEngine::*)()> letters = {
        {QLatin1Char('.'), &TCalcEngine::Decimal},    {QLatin1Char('A'), &TCalcEngine::AllClear},
        {QLatin1Char('C'), &TCalcEngine::ClearEntry}, {QLatin1Char('G'), &TCalcEngine::Get},
        {QLatin1Char('M'), &TCalcEngine::Sum},        {QLatin1Char('R'), &TCalcEngine::Round},
        {QLatin1Char('S'), &TCalcEngine::Store},      {QLatin1Char('_'), &TCalcEngine::PlusMinus}};
    if (key == QLatin1Char('L') && FEngine.RecallEnabled()) {
      FEngine.Recall();
    } else if (key == QLatin1Char('P')) {
      PutClick();
      return true;
    } else if (letters.contains(key)) {
      (FEngine.*letters.value(key))();
    } else {
      return false;
    }
  }
  Refresh();
  return true;
}

void TCalculator::keyPressEvent(QKeyEvent* event) {
  event->accept();
  switch (event->key()) {
    case Qt::Key_Escape:
      reject();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      RunKey(QLatin1Char('='));
      return;
    case Qt::Key_Backspace:
      Run(&TCalcEngine::Backspace);
      return;
    case Qt::Key_Home:
      MoveToScreenCorner();
      return;
    default:
      break;
  }
  const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
  if (mods != Qt::NoModifier || event->text().isEmpty()) return;
  RunKey(event->text().at(0).toUpper());
}
