#pragma once
// The record navigator of the form screens: First, Next, Prior, Last and List bound to the payee
// record set, with an event before each action (to write the payee first; throwing stops the
// move) and after it (to show the new payee), buttons enabled only where the action makes sense,
// and Alt + F, N, P, L, I for the buttons.
#include <QWidget>
#include <array>
#include <functional>

class QToolButton;
class TRecordSet;

enum TNavAction : int { naFirst = 0, naNext, naPrior, naLast, naList };

class TPayeeNavigator : public QWidget {
  Q_OBJECT
 public:
  explicit TPayeeNavigator(QWidget* parent = nullptr);

  void SetRecordSet(TRecordSet* set);
  TRecordSet* RecordSet() const { return FRecordSet; }
  void SetHint(TNavAction action, const QString& hint);
  TNavAction Action() const { return FAction; }
  QToolButton* Button(TNavAction action) const { return FButtons[action]; }

  std::function<void(TPayeeNavigator*)> OnBeforeAction;
  std::function<void(TPayeeNavigator*)> OnAfterAction;
  std::function<void(TPayeeNavigator*)> OnBtnListClick;

  // Runs an action as a click on its button does (nothing when the button is disabled).
  void Click(TNavAction action);
  // The screen's key preview: Alt alone with F, N, P, L or I clicks that button. Answers
  // whether the key was taken.
  bool KeyDownHandler(int key, Qt::KeyboardModifiers modifiers);
  // Enables the buttons for the record set's state.
  void InitNavigator();

 private:
  TRecordSet* FRecordSet = nullptr;
  TNavAction FAction = naFirst;
  std::array<QToolButton*, 5> FButtons{};
};
