#pragma once
// Form 1099-S, proceeds from real estate transactions: its tables (Form1099S.cpp) and its screen,
// which adds to the family the check of the date of closing.
#include "forms/Form1099S.h"
#include "forms/FormScreen.h"

class TFrm1099S : public TFrmFormScreen {
  Q_OBJECT
 public:
  explicit TFrm1099S(QWidget* parent = nullptr);
  void ValidateForm() override;
};

// Main window: Forms / 1099-S. Sets CurrentFormType, shows the screen modally, releases it.
void ShowForm1099S();
