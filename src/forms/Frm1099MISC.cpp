#include "forms/Frm1099MISC.h"

#include "maintenance/Utils.h"
#include "storage/Globals.h"

TFrm1099MISC::TFrm1099MISC(QWidget* parent) : TFrmFormScreen(Form1099MISCDef(), parent) {}

// A state line with an amount needs the payer's state number (box 17); state tax withheld (box
// 16) also needs the state income (box 18). The two lines word the second refusal differently.
void TFrm1099MISC::CheckStateLine(const QString& box16, const QString& stateLabel,
                                  const QString& box18, const QString& noStateText) {
  const bool noState = IsBlank(LabelText(stateLabel));
  if (MoneyValue(box16) > 0 && (noState || MoneyValue(box18) == 0))
    FieldError(box18,
               QStringLiteral("Boxes 17 and 18 must not be blank when there is data in box 16."));
  if (MoneyValue(box18) > 0 && noState) throw EFieldException(noStateText);
}

void TFrm1099MISC::ValidateForm() {
  CheckStateLine(QStringLiteral("F1099MISC16_1"), QStringLiteral("PayerStateID1"),
                 QStringLiteral("F1099MISC18_1"),
                 QStringLiteral("Box 17 must be completed when there is data in box 18."));
  CheckStateLine(QStringLiteral("F1099MISC16_2"), QStringLiteral("PayerStateID2"),
                 QStringLiteral("F1099MISC18_2"),
                 QStringLiteral("Box 17 must not be blank when there is data in box 18."));
}

void ShowForm1099MISC() {
  CurrentFormType = ft1099MISC;
  ShowModalScreen<TFrm1099MISC>();
}
