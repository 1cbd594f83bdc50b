#include "forms/Frm1099DIV.h"

#include "storage/Globals.h"

TFrm1099DIV::TFrm1099DIV(QWidget* parent) : TFrmFormScreen(Form1099DIVDef(), parent) {}

void TFrm1099DIV::ValidateForm() {
  RaiseFieldProblem(Check1099DIV(TScreenEntries(this)), this);
}

void ShowForm1099DIV() {
  CurrentFormType = ft1099DIV;
  ShowModalScreen<TFrm1099DIV>();
}
