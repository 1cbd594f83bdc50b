#include "forms/Frm1099MISC.h"

#include "storage/Globals.h"

TFrm1099MISC::TFrm1099MISC(QWidget* parent) : TFrmFormScreen(Form1099MISCDef(), parent) {}

// A state line with an amount needs the payer's state number (box 17); state tax withheld (box
// 16) also needs the state income (box 18). The two lines word the second refusal differently.
void TFrm1099MISC::ValidateForm() {
  RaiseFieldProblem(Check1099MISC(TScreenEntries(this)), this);
}

void ShowForm1099MISC() {
  CurrentFormType = ft1099MISC;
  ShowModalScreen<TFrm1099MISC>();
}
