#pragma once
// Form 1099-INT, interest income: its tables (Form1099INT.cpp) and its screen, which adds to the
// family only the check that the foreign tax paid (box 6) and its country (box 7) go together.
#include "forms/Form1099INT.h"
#include "forms/FormScreen.h"

class TFrm1099INT : public TFrmFormScreen {
  Q_OBJECT
 public:
  explicit TFrm1099INT(QWidget* parent = nullptr);
  void ValidateForm() override;
};

// Main window: Forms / 1099-INT. Sets CurrentFormType, shows the screen modally, releases it.
void ShowForm1099INT();
