#include "forms/Frm1098.h"

#include "storage/Globals.h"

TFrm1098::TFrm1098(QWidget* parent) : TFrmFormScreen(Form1098Def(), parent) {}

void TFrm1098::ValidateForm() {
  RaiseFieldProblem(Check1098(TScreenEntries(this)), this);
}

void ShowForm1098() {
  CurrentFormType = ft1098;
  ShowModalScreen<TFrm1098>();
}
