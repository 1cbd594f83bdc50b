#include "engine/PostNet.h"

#include "engine/PagePrinter.h"

namespace {
// Full (1) and half (0) bars of each digit 0..9: every digit has exactly two full bars, with
// weights 7 4 2 1 0 (0 is written 11000).
constexpr const char* kDigitBars[10] = {"11000", "00011", "00101", "00110", "01001",
                                        "01010", "01100", "10001", "10010", "10100"};
}  // namespace

int TPostNetBarcode::CheckDigitFor(const QString& digits) {
  int sum = 0;
  for (const QChar c : digits)
    if (c.isDigit()) sum += c.digitValue();
  return (10 - sum % 10) % 10;
}

QString TPostNetBarcode::DigitPattern(QChar digit) {
  if (!digit.isDigit() || digit.digitValue() > 9) return {};
  QString s = QString::fromLatin1(kDigitBars[digit.digitValue()]);
  s.replace(QLatin1Char('1'), QLatin1Char('F')).replace(QLatin1Char('0'), QLatin1Char('h'));
  return s;
}

QString TPostNetBarcode::Digits() const {
  QString digits;
  for (const QChar c : FText)
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
  if (CheckDigit && !digits.isEmpty()) digits += QString::number(CheckDigitFor(digits));
  return digits;
}

QString TPostNetBarcode::Pattern() const {
  const QString digits = Digits();
  if (digits.isEmpty()) return {};
  QString pattern = QStringLiteral("F");
  for (const QChar d : digits) pattern += DigitPattern(d);
  return pattern + QLatin1Char('F');
}

double TPostNetBarcode::Width() const {
  const qsizetype bars = Pattern().size();
  return bars == 0 ? 0.0 : (bars - 1) * BarPitch + BarWidth;
}

void TPostNetBarcode::Print() {
  if (!FPrinter) return;
  const QString pattern = Pattern();
  double x = Left;
  for (const QChar bar : pattern) {
    const double height = bar == QLatin1Char('F') ? BarHeight : HalfHeight;
    FPrinter->Bar(x, Bottom - height, x + BarWidth, Bottom);
    x += BarPitch;
  }
  if (PrintReadable && !pattern.isEmpty()) {
    FPrinter->PushFont();
    FPrinter->SetFont(QStringLiteral("Arial"), 6);
    FPrinter->PushPos();
    FPrinter->SetYPos(Bottom + FPrinter->LineHeight());
    FPrinter->PrintLeft(Digits(), Left);
    FPrinter->PopPos();
    FPrinter->PopFont();
  }
}
