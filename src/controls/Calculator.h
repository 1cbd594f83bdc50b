#pragma once
// TCalculator: the pocket calculator a money field pops up (C or a double click). The arithmetic
// lives in TCalcEngine, a plain class the window only drives; the window adds the 27 buttons, the
// display and the keyboard map. Results are rounded to CalcDecimals, the cent digits of the money
// field entered last.
#include <QDialog>
#include <QMap>
#include <QString>

class QLabel;
class QToolButton;

// The shortest general form of a number: up to 15 significant digits, fixed notation while the
// integer part has at most 15 digits and the value is at least 0.00001, else "1.5E20" / "1E-6".
QString FormatGeneral(double value);
// A display text as a number. Also takes the exponent form FormatGeneral writes and, after Get,
// a field's text with "$" and separators; a text that holds no number (empty, "-", "-.") is 0.
double DisplayToFloat(const QString& text);
// A text in exponent form ("1E16", "-2.5E-7") written out in plain digits ("10000000000000000",
// "-0.00000025"); any other text is returned as it is.
QString PlainNumberText(const QString& text);

class TCalcEngine {
 public:
  // Kinds of the last input.
  static constexpr int iDigit = 1;
  static constexpr int iDecimal = 2;
  static constexpr int iClear = 3;
  static constexpr int iOper = 4;
  static constexpr int iGetRcl = 5;
  static constexpr int iMaxChars = 17;  // the longest display text

  TCalcEngine() { Reset(); }

  // Operands, counters, memory and pending operator as when the window opens. The display is
  // left alone: after a result too long to show, the long text stays.
  void Reset();

  void Digit(QChar digit);
  void Decimal();
  // op is one of + - * / = %.
  void Operator(QChar op);
  void ClearEntry();
  void AllClear();
  void PlusMinus();
  void Backspace();
  void Round();
  void Store();
  void Sum();
  void Recall();
  void Get();

  bool RecallEnabled() const { return FRecallEnabled; }
  QString Display() const { return FDisplay; }

  double Oper1 = 0;
  double Oper2 = 0;
  double Stored = 0;
  int NumOper = 0;
  int LastInput = 0;
  QChar OperFlag = QLatin1Char(' ');
  bool DecFlag = false;
  bool PutKey = false;
  QString FieldText;

 private:
  void Calculate(QChar op);
  void ApplyPending();
  void ShowNumber(double value) { FDisplay = FormatGeneral(value); }
  void SetStored(double value);
  void ResetDisplay(int lastInput);

  QString FDisplay = QStringLiteral("0");
  bool FRecallEnabled = false;
};

class TCalculator : public QDialog {
  Q_OBJECT
 public:
  explicit TCalculator(QWidget* parent = nullptr);

  // Set by the opener before showing: the text of the money field.
  QString FieldText() const { return FEngine.FieldText; }
  void SetFieldText(const QString& text) { FEngine.FieldText = text; }
  // The user left with Put; the opener clears it after taking the display.
  bool PutKey() const { return FEngine.PutKey; }
  void SetPutKey(bool on) { FEngine.PutKey = on; }
  QString DisplayText() const;

  TCalcEngine& Engine() { return FEngine; }
  QToolButton* Button(const QString& name) const { return FButtons.value(name); }

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildDisplay(QWidget* client);
  void BuildButtons(QWidget* client);
  QToolButton* AddButton(QWidget* client, const char* name, const QString& caption, int row,
                         int column, int width, const QString& hint);
  void ConnectButtons();
  bool RunKey(QChar key);
  void Run(void (TCalcEngine::*action)());
  void Refresh();
  void PutClick();
  void MoveToScreenCorner();

  TCalcEngine FEngine;
  QLabel* FDisplay = nullptr;
  QMap<QString, QToolButton*> FButtons;
};
