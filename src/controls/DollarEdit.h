#pragma once
// TDollarEdit: the edit for money amounts and other fixed-decimal numbers. It holds a double,
// shows it with thousands separators and a fixed number of decimals while it does not have the
// focus and the plain number while it is edited, checks every typed character against the
// dollar and cent digits, the minus key and the optional limits, and opens the calculator on C
// or a double click.
#include <QColor>
#include <QLineEdit>

class TCalculator;

class TDollarEdit : public QLineEdit {
  Q_OBJECT
 public:
  // The largest value the field holds; larger values are cut to it.
  static constexpr double MaxAmount = 999999999999.99;

  explicit TDollarEdit(QWidget* parent = nullptr);

  // Published properties. Alignment, ReadOnly and the font are the line edit's own.
  bool RequiredField() const { return FRequired; }
  void SetRequiredField(bool on) { FRequired = on; }
  bool MinusKey() const { return FMinuskey; }
  void SetMinusKey(bool on) { FMinuskey = on; }
  int DollarDigits() const { return FDollarDigits; }
  void SetDollarDigits(int digits);
  int CentDigits() const { return FCentDigits; }
  void SetCentDigits(int digits);
  bool Currency() const { return FCurrency; }
  void SetCurrency(bool on);
  double MaxValue() const { return FMaxValue; }
  void SetMaxValue(double value) { FMaxValue = value; }
  double MinValue() const { return FMinValue; }
  void SetMinValue(double value) { FMinValue = value; }
  QColor FontColor() const { return FontClr; }
  void SetFontColor(const QColor& color) { FontClr = color; }
  // Follows the text, also while the user types; a text holding no number reads as 0.
  double Value() const;
  void SetValue(double value);
  // Room for typing: the digits, the point and a minus sign. The formatted display may be
  // longer, so the line edit's own maxLength is not used.
  int MaxLength() const { return FDollarDigits + FCentDigits + 2; }

  // The value as the field shows it when it does not have the focus.
  QString FormatValue(double value) const;
  // The text the field shows for zero while it is being edited.
  QString ZeroText() const;

  // Puts a pasted or dropped text at the caret (over the selection) when the result is an
  // amount the field could have been typed to; otherwise beeps and keeps the text as it is.
  // Answers whether the text was taken.
  bool PasteText(const QString& pasted);

  // Opens the calculator on the field's text; answers true when the user left it with Put.
  bool ShowCalculator();
  TCalculator* Calculator() const { return FCalculator; }  // while it is open

  QSize sizeHint() const override { return {121, 21}; }

 signals:
  void entered();  // after the field took the focus and selected its text
  void exited();   // after the field was left and checked
  void doubleClicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool IsTypeable(const QString& plain) const;
  void DisplayStep();
  void ParseStep();
  void CheckRequired();
  QChar FilterKey(QChar ch);
  QChar DiscardByKind(QChar ch) const;
  QChar DiscardByLength(QChar ch) const;
  QChar CheckLimits(QChar ch);
  bool FitsInText(QChar ch) const;
  bool IsRefusedTyping(QChar typed) const;
  void TakeCalculatorResult(const QString& display);
  void SetBackground(const QColor& color);
  void SetTextColor(const QColor& color);

  bool FRequired = false;
  bool FMinuskey = true;
  int FDollarDigits = 9;
  int FCentDigits = 2;
  TCalculator* FCalculator = nullptr;
  double FMaxValue = 0;
  double FMinValue = 0;
  bool FirstTime = false;
  bool FLimitShown = false;  // the key being typed met a limit and its message was shown
  double FieldValue = 0;
  bool FCurrency = false;
  QColor FontClr;
};
