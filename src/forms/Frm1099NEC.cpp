#include "forms/Frm1099NEC.h"

#include "storage/Globals.h"

TFrm1099NEC::TFrm1099NEC(QWidget* parent) : TFrmFormScreen(Form1099NECDef(), parent) {}

// A state line with an amount needs the payer's state number (box 6); state tax withheld (box
// 5) also needs the state income (box 7).
void TFrm1099NEC::ValidateForm() {
  const QString both =
      QStringLiteral("Boxes 6 and 7 must not be blank when there is data in box 5.");
  const QString state = QStringLiteral("Box 6 must not be blank when there is data in box 7.");
  CheckTaxLine(QStringLiteral("F1099NEC5_1"), QStringLiteral("PayerStateID1"),
               QStringLiteral("F1099NEC7_1"), both, state);
  CheckTaxLine(QStringLiteral("F1099NEC5_2"), QStringLiteral("PayerStateID2"),
               QStringLiteral("F1099NEC7_2"), both, state);
}

void ShowForm1099NEC() {
  CurrentFormType = ft1099NEC;
  ShowModalScreen<TFrm1099NEC>();
}
