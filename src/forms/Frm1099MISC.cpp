#include "forms/Frm1099MISC.h"

#include "storage/Globals.h"

TFrm1099MISC::TFrm1099MISC(QWidget* parent) : TFrmFormScreen(Form1099MISCDef(), parent) {}

// A state line with an amount needs the payer's state number (box 17); state tax withheld (box
// 16) also needs the state income (box 18). The two lines word the second refusal differently.
void TFrm1099MISC::ValidateForm() {
  const QString both =
      QStringLiteral("Boxes 17 and 18 must not be blank when there is data in box 16.");
  CheckTaxLine(QStringLiteral("F1099MISC16_1"), QStringLiteral("PayerStateID1"),
               QStringLiteral("F1099MISC18_1"), both,
               QStringLiteral("Box 17 must be completed when there is data in box 18."));
  CheckTaxLine(QStringLiteral("F1099MISC16_2"), QStringLiteral("PayerStateID2"),
               QStringLiteral("F1099MISC18_2"), both,
               QStringLiteral("Box 17 must not be blank when there is data in box 18."));
}

void ShowForm1099MISC() {
  CurrentFormType = ft1099MISC;
  ShowModalScreen<TFrm1099MISC>();
}
