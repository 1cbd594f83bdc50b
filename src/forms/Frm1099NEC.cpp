#include "forms/Frm1099NEC.h"

#include "storage/Globals.h"

TFrm1099NEC::TFrm1099NEC(QWidget* parent) : TFrmFormScreen(Form1099NECDef(), parent) {}

// A state line with an amount needs the payer's state number (box 6); state tax withheld (box
// 5) also needs the state income (box 7).
void TFrm1099NEC::ValidateForm() {
  RaiseFieldProblem(Check1099NEC(TScreenEntries(this)), this);
}

void ShowForm1099NEC() {
  CurrentFormType = ft1099NEC;
  ShowModalScreen<TFrm1099NEC>();
}
