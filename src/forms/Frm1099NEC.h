#pragma once
// Form 1099-NEC, nonemployee compensation: its tables (Form1099NEC.cpp) and its screen, which
// adds to the family only the check of its two state lines.
#include "forms/Form1099NEC.h"
#include "forms/FormScreen.h"

class TFrm1099NEC : public TFrmFormScreen {
  Q_OBJECT
 public:
  explicit TFrm1099NEC(QWidget* parent = nullptr);
  void ValidateForm() override;
};

// Main window: Forms / 1099-NEC. Sets CurrentFormType, shows the screen modally, releases it.
void ShowForm1099NEC();
