#pragma once
// TDateEdit: a masked edit for one date, mm/dd/yyyy. Single keys move the date (+ - T M H Y R W
// K; a letter only when the box is empty or wholly selected), C or a double click opens the
// calendar pop-up, and a complete text that is not a date is reported as soon as it is typed
// and again when the field is left.
#include <QDate>
#include <QLineEdit>

class TFrmCalendar;

class TDateEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TDateEdit(QWidget* parent = nullptr);

  // The text of an empty field: "  /  /    ".
  static QString EmptyText();
  // The text as the field shows it, blanks included; this is what the records store. (The
  // line edit's own text() leaves the mask's blanks out.)
  QString text() const { return displayText(); }
  // Sets the date; in a focused box it is then selected as on entry.
  void setText(const QString& text);

  // The keys of the box, as its hint shows them.
  static QString KeysHint();
  // The date a date key gives from date (an invalid date when the key changes nothing).
  static QDate DateKeyResult(QChar key, const QDate& date);

  // Opens the calendar on the field's date; Paste Date there puts the chosen date here.
  void ShowCalendar();
  TFrmCalendar* Calendar() const { return FCalendar; }  // while it is open

  QSize sizeHint() const override { return {75, 21}; }

 signals:
  void entered();
  void exited();
  void doubleClicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool HandleDateKey(QChar key);
  void SelectForEntry();
  void SetBackground(const QColor& color);
  void CheckOnChange();
  void CheckOnExit();
  QString InvalidDateText() const;

  QColor FDefaultColor;
  TFrmCalendar* FCalendar = nullptr;
  bool FClickEntry = false;  // the focus came with a mouse press not yet handled
};
