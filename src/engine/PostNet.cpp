#include "engine/PostNet.h"

#include <zint.h>

#include <memory>

#include "engine/PagePrinter.h"
#include "platform/Exceptions.h"

namespace {
struct TSymbolDeleter {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using TSymbol = std::unique_ptr<zint_symbol, TSymbolDeleter>;

bool ModuleSet(const zint_symbol& symbol, int row, int column) {
  return (symbol.encoded_data[row][column >> 3] >> (column & 7)) & 1;
}

// libzint draws POSTNET as two rows of modules, bars on every other column: the lower row holds
// every bar, the upper row only the tall ones. It always appends the check digit itself.
QString EncodeWithZint(const QString& digits) {
  TSymbol symbol(ZBarcode_Create());
  if (!symbol) throw EReportException(QStringLiteral("POSTNET: out of memory"));
  symbol->symbology = BARCODE_POSTNET;
  symbol->show_hrt = 0;
  const QByteArray data = digits.toLatin1();
  const int rc = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.data()),
                                 int(data.size()));
  // Lengths other than 5, 9 or 11 digits only draw a warning; the bars are still right.
  if (rc >= ZINT_ERROR || symbol->rows != 2)
    throw EReportException(QStringLiteral("POSTNET bar code for \"%1\": %2")
                               .arg(digits, QString::fromLatin1(symbol->errtxt)));
  QString pattern;
  for (int column = 0; column < symbol->width; column += 2)
    pattern += ModuleSet(*symbol, 0, column) ? QLatin1Char('F') : QLatin1Char('h');
  return pattern;
}
}  // namespace

int TPostNetBarcode::CheckDigitFor(const QString& digits) {
  int sum = 0;
  for (const QChar c : digits)
    if (c.isDigit()) sum += c.digitValue();
  return (10 - sum % 10) % 10;
}

QString TPostNetBarcode::DataDigits() const {
  QString digits;
  for (const QChar c : FText)
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
  return digits;
}

QString TPostNetBarcode::Digits() const {
  QString digits = DataDigits();
  if (CheckDigit && !digits.isEmpty()) digits += QString::number(CheckDigitFor(digits));
  return digits;
}

QString TPostNetBarcode::Pattern() const {
  const QString digits = DataDigits();
  if (digits.isEmpty()) return {};
  QString pattern = EncodeWithZint(digits);
  // Without a check digit the five bars libzint put before the closing frame bar go.
  if (!CheckDigit) pattern.remove(pattern.size() - 6, 5);
  return pattern;
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
