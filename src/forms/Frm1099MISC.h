#pragma once
// Form 1099-MISC, miscellaneous information: its tables (Form1099MISC.cpp) and its screen, which
// adds to the family only the check of the two state lines.
#include "forms/Form1099MISC.h"
#include "forms/FormScreen.h"

class TFrm1099MISC : public TFrmFormScreen {
  Q_OBJECT
 public:
  explicit TFrm1099MISC(QWidget* parent = nullptr);
  void ValidateForm() override;
};

// Main window: Forms / 1099-MISC. Sets CurrentFormType, shows the screen modally, releases it.
void ShowForm1099MISC();
