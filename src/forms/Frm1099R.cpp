#include "forms/Frm1099R.h"

#include <QLabel>

#include "controls/FilterEdit.h"
#include "forms/DistCodes.h"
#include "maintenance/Utils.h"
#include "storage/Globals.h"

namespace {
// The hint's width on the screen: its spaces break it into lines there.
constexpr int kHintWidth = 95;
}  // namespace

TFrm1099R::TFrm1099R(QWidget* parent) : TFrmFormScreen(Form1099RDef(), parent) {
  CreateBox7Hint();
  connect(Box7(), &TFilterEdit::doubleClicked, this, &TFrm1099R::PickBox7Code);
}

TFilterEdit* TFrm1099R::Box7() const {
  return static_cast<TFilterEdit*>(Control(QStringLiteral("F1099R7")));
}

// A pale yellow note under box 7 that tells where the code list is; it shows only while the
// box has the focus.
void TFrm1099R::CreateBox7Hint() {
  TFilterEdit* box7 = Box7();
  LblBox7Hint = new QLabel(
      QStringLiteral(" Double click within   box 7 for a list of    Distribution codes "),
      box7->parentWidget());
  LblBox7Hint->setObjectName(QStringLiteral("LblBox7Hint"));
  LblBox7Hint->setFont(box7->font());  // sized to the picture, as the box is
  LblBox7Hint->setWordWrap(true);
  LblBox7Hint->setFrameShape(QFrame::Box);
  LblBox7Hint->setAutoFillBackground(true);
  QPalette pal = LblBox7Hint->palette();
  pal.setColor(QPalette::Window, QColor(255, 255, 210));
  LblBox7Hint->setPalette(pal);
  LblBox7Hint->setGeometry(box7->x(), box7->geometry().bottom() + 4, kHintWidth,
                           LblBox7Hint->heightForWidth(kHintWidth));
  LblBox7Hint->hide();
  connect(box7, &TFilterEdit::entered, LblBox7Hint, &QWidget::show);
  connect(box7, &TFilterEdit::exited, LblBox7Hint, &QWidget::hide);
}

void TFrm1099R::PickBox7Code() {
  const QString code = PickDistCode(this);
  if (code.isEmpty()) return;
  Box7()->setText(CombineDistCode(Box7()->text(), code));
}

// ---- validation ------------------------------------------------------------------------------

void TFrm1099R::CheckAmounts() {
  if (MoneyValue(QStringLiteral("F1099R2")) > MoneyValue(QStringLiteral("F1099R1")))
    FieldError(QStringLiteral("F1099R2"), QStringLiteral("Box 2a cannot be greater than box 1"));
  if (MoneyValue(QStringLiteral("F1099R3")) > MoneyValue(QStringLiteral("F1099R2")))
    FieldError(QStringLiteral("F1099R3"), QStringLiteral("Box 3 cannot be greater than box 2a"));
}

// A distribution needs its code, and the code must be one the IRS admits (alone or paired).
void TFrm1099R::CheckBox7() {
  if (MoneyValue(QStringLiteral("F1099R1")) <= 0) return;
  const QString code = Box7()->text();
  if (IsBlank(code))
    FieldError(QStringLiteral("F1099R7"), QStringLiteral("Distribution code is missing."));
  if (!IsAdmittedDistCode(code))
    FieldError(QStringLiteral("F1099R7"),
               TildeToCR(QStringLiteral("Distribution Code is invalid.~~Check the specific IRS "
                                        "instructions~regarding the correct combinations~of "
                                        "Distribution Codes for box 7.")));
}

// A state or locality line with an amount needs the payer's state number or locality name; tax
// withheld on the line also needs the distribution it was withheld from.
void TFrm1099R::ValidateForm() {
  CheckAmounts();
  CheckBox7();
  const QString state =
      QStringLiteral("Boxes 15 and 16 must not be blank when there is data in box 14.");
  const QString stateNo = QStringLiteral("Box 15 must not be blank when there is data in box 16.");
  CheckTaxLine(QStringLiteral("F1099R14_1"), QStringLiteral("PayerStateID1"),
               QStringLiteral("F1099R16_1"), state, stateNo);
  CheckTaxLine(QStringLiteral("F1099R14_2"), QStringLiteral("PayerStateID2"),
               QStringLiteral("F1099R16_2"), state, stateNo);
  const QString local =
      QStringLiteral("Boxes 18 and 19 must not be blank when there is data in box 17.");
  const QString locality = QStringLiteral("Box 18 must not be blank when there is data in box 19.");
  CheckTaxLine(QStringLiteral("F1099R17_1"), QStringLiteral("PayerLocality1"),
               QStringLiteral("F1099R19_1"), local, locality);
  CheckTaxLine(QStringLiteral("F1099R17_2"), QStringLiteral("PayerLocality2"),
               QStringLiteral("F1099R19_2"), local, locality);
}

void ShowForm1099R() {
  CurrentFormType = ft1099R;
  ShowModalScreen<TFrm1099R>();
}
