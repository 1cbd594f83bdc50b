#pragma once
// TCheckBoxEdit: a one-character edit that shows a bold "X" when checked and nothing when not.
// Only the space bar and a mouse click toggle it; every other key leaves it alone.
#include <QLineEdit>

class TCheckBoxEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TCheckBoxEdit(QWidget* parent = nullptr);

  // The text decides: checked exactly when it is "X".
  bool Checked() const;
  void SetChecked(bool on);

  QSize sizeHint() const override { return {21, 21}; }
  QSize minimumSizeHint() const override { return {0, 0}; }

 signals:
  void clicked();
  void entered();
  void exited();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Toggle();

  bool FChecked = false;
  bool FPressed = false;
};
