#include "forms/Frm1099S.h"

#include <QLineEdit>

#include "controls/CheckBoxEdit.h"
#include "controls/DateEdit.h"
#include "controls/DollarEdit.h"
#include "maintenance/Utils.h"
#include "storage/Globals.h"

namespace {
const QString kDateBox = QStringLiteral("F1099S1");
}

TFrm1099S::TFrm1099S(QWidget* parent) : TFrmFormScreen(Form1099SDef(), parent) {}

// Whether the user has put anything on this payee's Form 1099-S: a date, an amount, a text or a
// check mark.
bool TFrm1099S::HoldsAnyEntry() const {
  for (const TControlDef& c : Def().Controls) {
    QWidget* control = Control(QLatin1String(c.Name));
    if (auto* money = qobject_cast<TDollarEdit*>(control)) {
      if (money->Value() != 0) return true;
    } else if (auto* check = qobject_cast<TCheckBoxEdit*>(control)) {
      if (check->Checked()) return true;
    } else if (auto* date = qobject_cast<TDateEdit*>(control)) {
      if (date->text() != TDateEdit::EmptyText()) return true;
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      if (!IsBlank(edit->text())) return true;
    }
  }
  return false;
}

// A sale needs its date of closing, in the tax year. A payee who sold nothing (nothing on this
// form) is not held on the screen for want of a date it has no use for.
void TFrm1099S::ValidateForm() {
  if (!HoldsAnyEntry()) return;
  const QString date = TextValue(kDateBox);
  if (!IsValidDate(date)) FieldError(kDateBox, QStringLiteral("Date of closing is invalid"));
  if (!IsDateInRange(date, QStringLiteral("01/01/2025"), QStringLiteral("12/31/2025")))
    FieldError(kDateBox, QStringLiteral("Date of closing must be within calendar year 2025"));
}

void ShowForm1099S() {
  CurrentFormType = ft1099S;
  ShowModalScreen<TFrm1099S>();
}
