#pragma once
// TRSNavigator: a bar of seven picture buttons bound to a record set: first, next, prior and
// last record, list, new and delete. It performs the record set's own operation, lets the
// screen act before (with a veto) and after every action, keeps each button enabled only where
// its action makes sense, and answers Alt+letter keys.
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

#include "storage/RecordSet.h"

class QToolButton;

enum TNavigationButtons { nbFirst, nbNext, nbPrior, nbLast, nbList, nbNew, nbDelete };
using TNavBtns = unsigned;  // a set of TNavigationButtons, one bit each
constexpr TNavBtns NavBtn(TNavigationButtons b) {
  return 1u << b;
}
constexpr TNavBtns AllNavBtns = 0x7F;

enum TButtonAction { baFirst, baNext, baPrior, baLast, baList, baNew, baDelete };

class TRSNavigator;
using TNavigatorEvent = std::function<void(TRSNavigator* sender)>;

// The base of controls bound to a record set.
class TRecordSetControl : public QWidget {
  Q_OBJECT
 public:
  explicit TRecordSetControl(QWidget* parent = nullptr) : QWidget(parent) {}
};

// The 15-by-15 picture of a button, by its resource name ("NAV_FIRST" ... "NAV_DELETE").
// A button's picture, 15 by 15, drawn for a screen of this scale; the icon holds it at 1x and 2x.
QPixmap NavigatorPicture(const QString& name, int scale = 1);
QIcon NavigatorIcon(const QString& name);

class TRSNavigator : public TRecordSetControl {
  Q_OBJECT
 public:
  explicit TRSNavigator(QWidget* parent = nullptr);

  TRecordSet* RecordSet() const { return FRecordSet.data(); }
  void SetRecordSet(TRecordSet* recordSet);
  TNavBtns VisibleButtons() const { return FNavBtns; }
  void SetVisibleButtons(TNavBtns buttons);
  bool AutoPerform() const { return FPerform; }
  void SetAutoPerform(bool on) { FPerform = on; }
  TButtonAction Action() const { return FAction; }

  QString BtnHint(TNavigationButtons button) const { return FHints[button]; }
  void SetBtnHint(TNavigationButtons button, const QString& hint);
  void SetBtnFirstHint(const QString& hint) { SetBtnHint(nbFirst, hint); }
  void SetBtnNextHint(const QString& hint) { SetBtnHint(nbNext, hint); }
  void SetBtnPriorHint(const QString& hint) { SetBtnHint(nbPrior, hint); }
  void SetBtnLastHint(const QString& hint) { SetBtnHint(nbLast, hint); }
  void SetBtnListHint(const QString& hint) { SetBtnHint(nbList, hint); }
  void SetBtnNewHint(const QString& hint) { SetBtnHint(nbNew, hint); }
  void SetBtnDeleteHint(const QString& hint) { SetBtnHint(nbDelete, hint); }
  QToolButton* Button(TNavigationButtons button) const { return FButtons[button]; }

  // Runs the enabling step; screens call it after changing the record set themselves.
  void InitNavigator();
  // Vetoes the action whose before-action event is running.
  void Cancel() { FCancel = true; }
  // Alt+D, E, F, I, L, N, P act like a click on Delete, New, First, List, Last, Next, Prior
  // when that button is visible and enabled; answers whether a button acted.
  bool KeyDownHandler(int key, Qt::KeyboardModifiers shift);
  // A click on a button: the before event, the action, the after event, the enabling step.
  // Errors raised by the events or the record set propagate.
  void BtnClick(TNavigationButtons button);

  TNavigatorEvent OnBeforeAction;
  TNavigatorEvent OnAfterAction;
  TNavigatorEvent OnBtnListClick;

  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateButtons();
  void Layout();
  void EnableButtons();
  void Perform(TButtonAction action);

  QPointer<TRecordSet> FRecordSet;
  TNavBtns FNavBtns = AllNavBtns;
  TButtonAction FAction = baFirst;
  bool FPerform = true;
  bool FCancel = false;
  bool FInLayout = false;
  std::array<QToolButton*, 7> FButtons{};

 public:
  // The seven buttons by their names.
  QToolButton* const& NavBtnFirst = FButtons[nbFirst];
  QToolButton* const& NavBtnNext = FButtons[nbNext];
  QToolButton* const& NavBtnPrior = FButtons[nbPrior];
  QToolButton* const& NavBtnLast = FButtons[nbLast];
  QToolButton* const& NavBtnList = FButtons[nbList];
  QToolButton* const& NavBtnNew = FButtons[nbNew];
  QToolButton* const& NavBtnDelete = FButtons[nbDelete];

 private:
  std::array<QString, 7> FHints;
};
