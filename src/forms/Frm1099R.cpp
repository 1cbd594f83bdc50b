#include "forms/Frm1099R.h"

#include <QLabel>
#include <QShortcut>

#include "controls/FilterEdit.h"
#include "core/Utils.h"
#include "forms/DistCodes.h"
#include "storage/Globals.h"

namespace {
// The hint's width on the screen: its spaces break it into lines there.
constexpr int kHintWidth = 95;
}  // namespace

TFrm1099R::TFrm1099R(QWidget* parent) : TFrmFormScreen(Form1099RDef(), parent) {
  CreateBox7Hint();
  connect(Box7(), &TFilterEdit::doubleClicked, this, &TFrm1099R::PickBox7Code);
  // The list by keyboard too, with the keys that open a drop-down list.
  for (const QKeySequence& keys :
       {QKeySequence(Qt::Key_F4), QKeySequence(Qt::ALT | Qt::Key_Down)}) {
    auto* shortcut = new QShortcut(keys, Box7(), nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this, &TFrm1099R::PickBox7Code);
  }
  Box7()->setToolTip(
      QStringLiteral("Distribution code(s): double-click, F4 or Alt+Down for the list"));
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

void TFrm1099R::ValidateForm() {
  RaiseFieldProblem(Check1099R(TScreenEntries(this)), this);
}

void ShowForm1099R() {
  CurrentFormType = ft1099R;
  ShowModalScreen<TFrm1099R>();
}
