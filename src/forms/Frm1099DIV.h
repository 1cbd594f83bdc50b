#pragma once
// Form 1099-DIV, dividends and distributions: its tables (Form1099DIV.cpp) and its screen, which
// adds to the family the checks that keep the dividend boxes consistent with one another.
#include "forms/Form1099DIV.h"
#include "forms/FormScreen.h"

class TFrm1099DIV : public TFrmFormScreen {
  Q_OBJECT
 public:
  explicit TFrm1099DIV(QWidget* parent = nullptr);
  void ValidateForm() override;
};

// Main window: Forms / 1099-DIV. Sets CurrentFormType, shows the screen modally, releases it.
void ShowForm1099DIV();
