#include "controls/RSNavigator.h"

#include <QPainter>
#include <QResizeEvent>
#include <QToolButton>

#include "platform/Application.h"

namespace {
struct TButtonInfo {
  const char* name;
  const char* picture;
  const char* hint;
  Qt::Key key;  // with Alt
};
constexpr TButtonInfo kButtons[7] = {
    {"NavBtnFirst", "NAV_FIRST", "First Record", Qt::Key_F},
    {"NavBtnNext", "NAV_NEXT", "Next Record", Qt::Key_N},
    {"NavBtnPrior", "NAV_PRIOR", "Prior Record", Qt::Key_P},
    {"NavBtnLast", "NAV_LAST", "Last Record", Qt::Key_L},
    {"NavBtnList", "NAV_LIST", "List Records", Qt::Key_I},
    {"NavBtnNew", "NAV_NEW", "New Record", Qt::Key_E},
    {"NavBtnDelete", "NAV_DELETE", "Delete Record", Qt::Key_D},
};
constexpr int kButtonSize = 22;

// Pictures in the classic 16-colour palette: navy arrows, a dark grey list, a white sheet with
// a green plus for new, a red cross for delete.
const QColor kNavy(0, 0, 128);

void Triangle(QPainter& p, bool left, int x) {
  const QPolygon t =
      left ? QPolygon({{x + 5, 2}, {x + 5, 12}, {x, 7}}) : QPolygon({{x, 2}, {x, 12}, {x + 5, 7}});
  p.drawPolygon(t);
}

void DrawArrows(QPainter& p, const QString& name) {
  p.setPen(kNavy);
  p.setBrush(kNavy);
  if (name == "NAV_FIRST") {
    p.drawRect(3, 2, 1, 10);
    Triangle(p, true, 6);
  } else if (name == "NAV_PRIOR") {
    Triangle(p, true, 5);
  } else if (name == "NAV_NEXT") {
    Triangle(p, false, 5);
  } else {
    Triangle(p, false, 4);
    p.drawRect(10, 2, 1, 10);
  }
}

void DrawList(QPainter& p) {
  p.setPen(Qt::NoPen);
  for (int row = 0; row < 4; ++row) {
    p.fillRect(2, 2 + row * 3, 2, 2, kNavy);
    p.fillRect(5, 2 + row * 3, 8, 2, Qt::darkGray);
  }
}

void DrawNew(QPainter& p) {
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(2, 1, 8, 11);
  p.fillRect(8, 7, 6, 2, Qt::darkGreen);
  p.fillRect(10, 5, 2, 6, Qt::darkGreen);
}

void DrawDelete(QPainter& p) {
  QPen pen(Qt::red, 2);
  p.setPen(pen);
  p.drawLine(3, 3, 11, 11);
  p.drawLine(11, 3, 3, 11);
}
}  // namespace

QPixmap NavigatorPicture(const QString& name, int scale) {
  QPixmap pm(15 * scale, 15 * scale);
  pm.setDevicePixelRatio(scale);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  if (name == "NAV_LIST")
    DrawList(p);
  else if (name == "NAV_NEW")
    DrawNew(p);
  else if (name == "NAV_DELETE")
    DrawDelete(p);
  else
    DrawArrows(p, name);
  return pm;
}

QIcon NavigatorIcon(const QString& name) {
  QIcon icon;
  for (int scale : {1, 2}) icon.addPixmap(NavigatorPicture(name, scale));
  return icon;
}

namespace {
// A button is named by its hint without the key in brackets: "First Payee".
QString NameOfHint(const QString& hint) {
  const qsizetype bracket = hint.indexOf(QLatin1String(" ("));
  return bracket < 0 ? hint : hint.left(bracket);
}
}  // namespace

TRSNavigator::TRSNavigator(QWidget* parent) : TRecordSetControl(parent) {
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Button));
  setPalette(pal);
  CreateButtons();
  resize(7 * kButtonSize, kButtonSize);
  Layout();
  EnableButtons();
}

void TRSNavigator::CreateButtons() {
  for (int i = 0; i < 7; ++i) {
    auto* b = new QToolButton(this);
    b->setObjectName(QLatin1String(kButtons[i].name));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIcon(NavigatorIcon(QLatin1String(kButtons[i].picture)));
    b->setIconSize({15, 15});
    b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    FHints[i] = QLatin1String(kButtons[i].hint);
    b->setToolTip(FHints[i]);
    b->setAccessibleName(NameOfHint(FHints[i]));
    b->setGeometry(i * kButtonSize, 0, kButtonSize, kButtonSize);
    // A click reports its errors like any other command of the program.
    connect(b, &QToolButton::clicked, this, [this, i]() {
      TApplication::Guard([this, i]() { BtnClick(static_cast<TNavigationButtons>(i)); });
    });
    FButtons[i] = b;
  }
}

QSize TRSNavigator::sizeHint() const {
  int n = 0;
  for (int i = 0; i < 7; ++i) n += (FNavBtns >> i) & 1;
  return {kButtonSize * n, kButtonSize};
}

void TRSNavigator::SetRecordSet(TRecordSet* recordSet) {
  if (recordSet == FRecordSet) return;
  FRecordSet = recordSet;
  if (recordSet) EnableButtons();
}

void TRSNavigator::SetVisibleButtons(TNavBtns buttons) {
  buttons &= AllNavBtns;
  if (buttons == FNavBtns) return;
  FNavBtns = buttons;
  Layout();
}

void TRSNavigator::SetBtnHint(TNavigationButtons button, const QString& hint) {
  if (hint == FHints[button]) return;
  FHints[button] = hint;
  FButtons[button]->setToolTip(hint);
  FButtons[button]->setAccessibleName(NameOfHint(hint));
}

void TRSNavigator::resizeEvent(QResizeEvent* event) {
  TRecordSetControl::resizeEvent(event);
  Layout();
}

// The bar is as wide as its visible buttons, which stand side by side in the fixed order.
void TRSNavigator::Layout() {
  if (FInLayout) return;
  FInLayout = true;
  int n = 0;
  for (int i = 0; i < 7; ++i) {
    const bool shown = (FNavBtns >> i) & 1;
    FButtons[i]->setVisible(shown);
    n += shown;
  }
  if (n > 0) {
    resize(kButtonSize * n, height());
    const int w = width() / n;
    int x = 0;
    for (QToolButton* b : FButtons) {
      if (b->isHidden()) continue;
      b->setGeometry(x, 0, w, height());
      x += w;
    }
  }
  updateGeometry();
  FInLayout = false;
}

void TRSNavigator::InitNavigator() {
  EnableButtons();
}

void TRSNavigator::EnableButtons() {
  TRecordSet* rs = FRecordSet.data();
  if (!rs || !rs->Active() || !FPerform) {
    for (QToolButton* b : FButtons) b->setEnabled(false);
    return;
  }
  const bool several = rs->RecordCount() > 1;
  FButtons[nbFirst]->setEnabled(!rs->Bof());
  FButtons[nbPrior]->setEnabled(!rs->Bof());
  FButtons[nbNext]->setEnabled(!rs->Eof());
  FButtons[nbLast]->setEnabled(!rs->Eof());
  FButtons[nbList]->setEnabled(several);
  FButtons[nbNew]->setEnabled(rs->RecordCount() < rs->MaxRec() && !rs->BrowseOnly());
  FButtons[nbDelete]->setEnabled(several && !rs->BrowseOnly());
}

void TRSNavigator::BtnClick(TNavigationButtons button) {
  if (!FRecordSet || !FRecordSet->Active() || !FPerform) return;
  FAction = static_cast<TButtonAction>(button);
  if (OnBeforeAction) OnBeforeAction(this);
  if (FCancel) {
    FCancel = false;
    return;
  }
  Perform(FAction);
  if (OnAfterAction) OnAfterAction(this);
  EnableButtons();
}

void TRSNavigator::Perform(TButtonAction action) {
  TRecordSet* rs = FRecordSet.data();
  switch (action) {
    case baFirst:
      rs->FirstRec();
      break;
    case baNext:
      rs->NextRec();
      break;
    case baPrior:
      rs->PriorRec();
      break;
    case baLast:
      rs->LastRec();
      break;
    case baList:
      if (OnBtnListClick) OnBtnListClick(this);
      break;
    case baNew:
      rs->NewRec();
      break;
    case baDelete:
      rs->DeleteRec();
      break;
  }
}

bool TRSNavigator::KeyDownHandler(int key, Qt::KeyboardModifiers shift) {
  if ((shift & ~Qt::KeypadModifier) != Qt::AltModifier) return false;
  for (int i = 0; i < 7; ++i) {
    if (kButtons[i].key != key) continue;
    QToolButton* b = FButtons[i];
    if (b->isHidden() || !b->isEnabled()) return false;
    TApplication::Guard([this, i]() { BtnClick(static_cast<TNavigationButtons>(i)); });
    return true;
  }
  return false;
}
