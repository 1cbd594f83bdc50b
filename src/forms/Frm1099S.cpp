#include "forms/Frm1099S.h"

#include "storage/Globals.h"

TFrm1099S::TFrm1099S(QWidget* parent) : TFrmFormScreen(Form1099SDef(), parent) {}

void TFrm1099S::ValidateForm() {
  RaiseFieldProblem(Check1099S(TScreenEntries(this)), this);
}

void ShowForm1099S() {
  CurrentFormType = ft1099S;
  ShowModalScreen<TFrm1099S>();
}
