#pragma once
// TStateEdit: a drop-down list of the 54 two-letter state and territory codes. Letters choose
// the code: letters typed in quick succession spell it ("C", "A" gives CA), a letter typed
// after a pause cycles through the codes that begin with it. Nothing is ever typed into the
// edit part.
#include <QComboBox>
#include <QStringList>

class TStateEdit : public QComboBox {
  Q_OBJECT
 public:
  explicit TStateEdit(QWidget* parent = nullptr);

  // Backspace and Delete clear the selection.
  bool OkToDel() const { return FOkToDel; }
  void SetOkToDel(bool on) { FOkToDel = on; }

  // The selection as the screens read and write it: -1 when nothing is selected.
  int ItemIndex() const { return currentIndex(); }
  void SetItemIndex(int index) { setCurrentIndex(index); }
  // The code shown. Writing a code of the list selects it; any other text (such as a code
  // stored by an older version) is shown as it is, with nothing selected.
  QString Text() const { return currentText(); }
  void SetText(const QString& text);

  static const QStringList& StateList();
  // The position a typed character selects, starting from position current, when it cycles.
  static int NextPosition(QChar typed, int current);
  // Letters typed within this many milliseconds of each other spell one code.
  static constexpr qint64 TypeAheadMs = 1000;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void entered();
  void exited();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // Milliseconds on a steady clock; tests replace it to type with pauses.
  virtual qint64 Now() const;

 private:
  void TypeLetter(QChar letter);

  bool FOkToDel = true;
  QStringList FStateList;
  QString FTyped;  // the letters of the code being spelled
  qint64 FLastTyped = 0;
};
