#pragma once
// Form 1098, mortgage interest: its tables (Form1098.cpp) and its screen, which adds to the family
// the checks a filled-in mortgage statement needs (origination date, property, properties).
#include "forms/Form1098.h"
#include "forms/FormScreen.h"

class TFrm1098 : public TFrmFormScreen {
  Q_OBJECT
 public:
  explicit TFrm1098(QWidget* parent = nullptr);
  void ValidateForm() override;
};

// Main window: Forms / 1098. Sets CurrentFormType, shows the screen modally, releases it.
void ShowForm1098();
