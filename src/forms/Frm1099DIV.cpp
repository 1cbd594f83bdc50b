#include "forms/Frm1099DIV.h"

#include <cmath>

#include "storage/Globals.h"

namespace {
// Amounts are compared in whole cents, as they print: in binary fractions 0.10 + 0.20 is more
// than 0.30, and a box 2a of 0.30 must hold boxes 2b of 0.10 and 2c of 0.20.
long long Cents(double amount) {
  return std::llround(amount * 100);
}
}  // namespace

TFrm1099DIV::TFrm1099DIV(QWidget* parent) : TFrmFormScreen(Form1099DIVDef(), parent) {}

// Qualified dividends, section 897 dividends and section 199A dividends are parts of the total
// ordinary dividends; the capital gain details are parts of the total capital gain distributions.
void TFrm1099DIV::CheckDividendParts() {
  const long long box1a = Cents(MoneyValue(QStringLiteral("F1099DIV1a")));
  if (Cents(MoneyValue(QStringLiteral("F1099DIV1b"))) > box1a)
    FieldError(QStringLiteral("F1099DIV1b"),
               QStringLiteral("Value of Box 1b cannot be greater than the value of Box 1a"));
  long long parts = 0;
  for (const char* box : {"F1099DIV2b", "F1099DIV2c", "F1099DIV2d", "F1099DIV2f"})
    parts += Cents(MoneyValue(QLatin1String(box)));
  if (parts > Cents(MoneyValue(QStringLiteral("F1099DIV2a"))))
    FieldError(QStringLiteral("F1099DIV2a"),
               QStringLiteral("Value of Box 2a must not be less than the sum Value of boxes 2b, "
                              "2c, 2d and 2f"));
  if (Cents(MoneyValue(QStringLiteral("F1099DIV2e"))) > box1a)
    FieldError(QStringLiteral("F1099DIV2e"),
               QStringLiteral("Value of box 2e cannot be greater than th value of box 1a"));
  if (Cents(MoneyValue(QStringLiteral("F1099DIV5"))) > box1a)
    FieldError(QStringLiteral("F1099DIV5"),
               QStringLiteral("Value of Box 5 cannot be greater than the value of Box 1a"));
}

void TFrm1099DIV::ValidateForm() {
  CheckDividendParts();
  // Foreign tax paid (box 7) and the country it was paid to (box 8) go together.
  CheckPaired(QStringLiteral("F1099DIV7"), QStringLiteral("F1099DIV8"),
              QStringLiteral("If you enter an amount in box 7, you must complete box 8"),
              QStringLiteral("If you complete box 8, you must enter an amount in box 7"));
}

void ShowForm1099DIV() {
  CurrentFormType = ft1099DIV;
  ShowModalScreen<TFrm1099DIV>();
}
