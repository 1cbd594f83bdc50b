#pragma once
// POSTNET bar codes: each digit five bars, two of them full height, between two full frame
// bars, with a check digit that brings the digit sum to a multiple of ten. libzint decides which
// bars are tall; this class only places them on the page printer at the program's sizes.
#include <QString>

class TPagePrinter;

class TPostNetBarcode {
 public:
  explicit TPostNetBarcode(TPagePrinter* printer = nullptr) : FPrinter(printer) {}
  double BarHeight = 0.13;   // full bar, inches
  double HalfHeight = 0.05;  // half bar
  double BarWidth = 0.02;
  double BarPitch = 1.0 / 22.0;  // left edge to left edge
  double Left = 0.13;            // relative to the page printer's origin
  double Bottom = 0;
  bool CheckDigit = true;
  bool PrintReadable = false;  // digits under the bars (the program never asks for them)

  void SetText(const QString& text) { FText = text; }
  QString Text() const { return FText; }
  QString Digits() const;  // the digits of Text, check digit added when CheckDigit
  // "F" for a full bar, "h" for a half bar, frame bars included; empty when Text has no digit.
  // Throws EReportException when libzint refuses the digits (too many of them).
  QString Pattern() const;
  double Width() const;
  void Print();  // draws the bars on the page printer
  void SetPrinter(TPagePrinter* printer) { FPrinter = printer; }

  static int CheckDigitFor(const QString& digits);

 private:
  QString DataDigits() const;  // the digits of Text without a check digit
  TPagePrinter* FPrinter;
  QString FText;
};
