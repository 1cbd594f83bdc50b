#include "forms/Frm1098.h"

#include "controls/CheckBoxEdit.h"
#include "maintenance/Utils.h"
#include "storage/Globals.h"

namespace {
const char* const kBox8Lines[] = {"F1098_8_1", "F1098_8_2", "F1098_8_3", "F1098_8_4",
                                  "F1098_8_5", "F1098_8_6", "F1098_8_7"};
}  // namespace

TFrm1098::TFrm1098(QWidget* parent) : TFrmFormScreen(Form1098Def(), parent) {}

// Box 7 says the property is the borrower's own address; otherwise box 8 must say where it is.
bool TFrm1098::PropertyDescribed() const {
  if (static_cast<TCheckBoxEdit*>(Control(QStringLiteral("F1098_7")))->Checked()) return true;
  for (const char* line : kBox8Lines)
    if (!IsBlank(TextValue(QLatin1String(line)))) return true;
  return false;
}

// A payee without mortgage interest or points has no Form 1098, so nothing of it is checked.
void TFrm1098::ValidateForm() {
  if (MoneyValue(QStringLiteral("F1098_1")) == 0 && MoneyValue(QStringLiteral("F1098_6")) == 0)
    return;
  if (!IsValidDate(TextValue(QStringLiteral("F1098_3"))))
    FieldError(QStringLiteral("F1098_3"), QStringLiteral("Mortgage origination date is invalid"));
  if (!PropertyDescribed())
    FieldError(QStringLiteral("F1098_8_1"),
               TildeToCR(QStringLiteral("When box 7 is not checked; you must complete~atleast "
                                        "one line within box 8")));
  if (TextToInt(TextValue(QStringLiteral("F1098_9"))) == 0)
    FieldError(QStringLiteral("F1098_9"),
               QStringLiteral("Number of properties securing the mortgage must not be zero"));
}

void ShowForm1098() {
  CurrentFormType = ft1098;
  ShowModalScreen<TFrm1098>();
}
