#pragma once
// Who files a form: the rule the totals scan, both prints, the Form 1096 and the check before
// filing share. Without windows, so the checks and exchanges of payer files use it too.
#include <cstdint>
#include <vector>

#include "storage/RecordLayout.h"

// Whether a payee files a form of one type: any money box of the form's federal part (the
// withheld tax included) rounds to more than 0.00, or its direct-sales box is checked. The one
// rule behind the count of the Form 1096 and both prints, so the forms filed and the 1096 that
// sums them cannot disagree. State and local boxes alone make no form: they belong to a form the
// IRS gets for its federal part.
class TFormQualifier {
 public:
  // Throws std::out_of_range for a number that is not a form type.
  explicit TFormQualifier(uint8_t formType);
  bool operator()(const uint8_t* payeeRecord) const;
  // The payee's amount (the boxes the Form 1096 adds) and withheld tax as the scan adds them,
  // without rounding.
  double Amount(const uint8_t* payeeRecord) const;
  double Withheld(const uint8_t* payeeRecord) const;

 private:
  std::vector<TFieldHandle> FAmounts;
  std::vector<TFieldHandle> FFederal;
  TFieldHandle FWithheld = nullptr;
  TFieldHandle FDirectSales = nullptr;
};

// The same for one payee record, looked up by form type.
bool FormQualifies(uint8_t formType, const uint8_t* payeeRecord);

// From this many information returns in total a filer must file them electronically; paper
// Copy A is then not accepted.
constexpr int kElectronicFilingThreshold = 10;
