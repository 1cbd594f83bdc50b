#include "forms/PayeeNavigator.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>

#include "platform/Application.h"
#include "storage/RecordSet.h"

namespace {
struct TButtonDef {
  const char* Name;
  int Key;
};
constexpr TButtonDef kButtons[] = {
    {"NavBtnFirst", Qt::Key_F}, {"NavBtnNext", Qt::Key_N}, {"NavBtnPrior", Qt::Key_P},
    {"NavBtnLast", Qt::Key_L},  {"NavBtnList", Qt::Key_I},
};

// The button pictures: a bar and triangles for first and last, a triangle for prior and next,
// lines for the list.
QIcon ButtonIcon(TNavAction action) {
  QPixmap pixmap(15, 15);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x20, 0x30, 0x60));
  auto triangle = [&](bool right, double x) {
    QPainterPath path;
    path.moveTo(right ? x : x + 6, 2);
    path.lineTo(right ? x + 6 : x, 7.5);
    path.lineTo(right ? x : x + 6, 13);
    p.drawPath(path);
  };
  switch (action) {
    case naFirst:
      p.drawRect(3, 2, 2, 11);
      triangle(false, 6);
      break;
    case naPrior:
      triangle(false, 4);
      break;
    case naNext:
      triangle(true, 5);
      break;
    case naLast:
      triangle(true, 3);
      p.drawRect(10, 2, 2, 11);
      break;
    case naList:
      for (int y : {3, 7, 11}) p.drawRect(2, y, 11, 2);
      break;
  }
  return QIcon(pixmap);
}
}  // namespace

TPayeeNavigator::TPayeeNavigator(QWidget* parent) : QWidget(parent) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (int i = 0; i < int(FButtons.size()); ++i) {
    auto* button = new QToolButton(this);
    button->setObjectName(QLatin1String(kButtons[i].Name));
    button->setIcon(ButtonIcon(TNavAction(i)));
    button->setAutoRaise(true);
    button->setFixedSize(22, 22);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this,
            [this, i] { TApplication::Guard([this, i] { Click(TNavAction(i)); }); });
    layout->addWidget(button);
    FButtons[i] = button;
  }
  setFixedSize(22 * int(FButtons.size()), 22);
  InitNavigator();
}

void TPayeeNavigator::SetRecordSet(TRecordSet* set) {
  FRecordSet = set;
  InitNavigator();
}

void TPayeeNavigator::SetHint(TNavAction action, const QString& hint) {
  FButtons[action]->setToolTip(hint);
}

void TPayeeNavigator::InitNavigator() {
  const bool open = FRecordSet && FRecordSet->Active();
  FButtons[naFirst]->setEnabled(open && !FRecordSet->Bof());
  FButtons[naPrior]->setEnabled(open && !FRecordSet->Bof());
  FButtons[naNext]->setEnabled(open && !FRecordSet->Eof());
  FButtons[naLast]->setEnabled(open && !FRecordSet->Eof());
  FButtons[naList]->setEnabled(open && FRecordSet->RecordCount() > 1);
}

void TPayeeNavigator::Click(TNavAction action) {
  if (!FRecordSet || !FRecordSet->Active() || !FButtons[action]->isEnabled()) return;
  FAction = action;
  if (OnBeforeAction) OnBeforeAction(this);
  switch (action) {
    case naFirst:
      FRecordSet->FirstRec();
      break;
    case naNext:
      FRecordSet->NextRec();
      break;
    case naPrior:
      FRecordSet->PriorRec();
      break;
    case naLast:
      FRecordSet->LastRec();
      break;
    case naList:
      if (OnBtnListClick) OnBtnListClick(this);
      break;
  }
  if (OnAfterAction) OnAfterAction(this);
  InitNavigator();
}

bool TPayeeNavigator::KeyDownHandler(int key, Qt::KeyboardModifiers modifiers) {
  if ((modifiers & ~Qt::KeypadModifier) != Qt::AltModifier) return false;
  for (int i = 0; i < int(FButtons.size()); ++i) {
    if (kButtons[i].Key != key) continue;
    if (FButtons[i]->isEnabled()) Click(TNavAction(i));
    return true;
  }
  return false;
}
