#pragma once
// TEnterAsTab: placed on a window, makes Enter move the focus to the next control in tab order
// and, when asked, Escape close the window. It sees every key of the window before the focused
// control does (the window's key preview), and offers that preview to the window as OnKeyDown,
// where screens hand Alt+letter keys to their record navigator.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class TEnterAsTab : public QObject {
  Q_OBJECT
 public:
  explicit TEnterAsTab(QObject* owner = nullptr);

  bool EnterAsTabKey() const { return FEnterAsTabKey; }
  void SetEnterAsTabKey(bool on) { FEnterAsTabKey = on; }
  bool EscapeAsClose() const { return FEscapeAsClose; }
  void SetEscapeAsClose(bool on) { FEscapeAsClose = on; }
  QWidget* ParentForm() const { return FParentForm; }
  // Starts watching the keys of form (nothing happens when it is the form already watched).
  void SetParentForm(QWidget* form);

  // The window's key preview: runs for every key pressed in the window before the focused
  // control sees it; answering true swallows the key.
  std::function<bool(int key, Qt::KeyboardModifiers modifiers)> OnKeyDown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Preview(QKeyEvent* event);
  void MoveToNextControl();

  bool FEnterAsTabKey = true;
  bool FEscapeAsClose = false;
  QPointer<QWidget> FParentForm;
};
