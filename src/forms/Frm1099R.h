#pragma once
// Form 1099-R, distributions from pensions, annuities, retirement plans, IRAs and insurance
// contracts: its tables (Form1099R.cpp) and its screen, which adds to the family the check of
// the amounts, of the distribution code in box 7 and of the state and locality lines, the pick
// list of the distribution codes and the hint shown while box 7 has the focus.
#include "forms/Form1099R.h"
#include "forms/FormScreen.h"

class TFilterEdit;

class TFrm1099R : public TFrmFormScreen {
  Q_OBJECT
 public:
  explicit TFrm1099R(QWidget* parent = nullptr);
  void ValidateForm() override;

  // Double-click in box 7: the distribution code list; the chosen code completes a single code
  // in the box or replaces what it holds. Cancelling changes nothing.
  void PickBox7Code();

  QLabel* LblBox7Hint = nullptr;

 private:
  void CreateBox7Hint();
  TFilterEdit* Box7() const;
};

// Main window: Forms / 1099-R. Sets CurrentFormType, shows the screen modally, releases it.
void ShowForm1099R();
