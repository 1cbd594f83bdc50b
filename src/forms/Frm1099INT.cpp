#include "forms/Frm1099INT.h"

#include "storage/Globals.h"

TFrm1099INT::TFrm1099INT(QWidget* parent) : TFrmFormScreen(Form1099INTDef(), parent) {}

// Foreign tax paid (box 6) is credited only with the country it was paid to (box 7), and a
// country alone reports nothing.
void TFrm1099INT::ValidateForm() {
  RaiseFieldProblem(Check1099INT(TScreenEntries(this)), this);
}

void ShowForm1099INT() {
  CurrentFormType = ft1099INT;
  ShowModalScreen<TFrm1099INT>();
}
