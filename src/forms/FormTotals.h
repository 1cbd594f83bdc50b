#pragma once
// The totals scan: how many forms of one type a payer file holds, the federal income tax they
// withhold and the total amount they report. Every Print command runs it before printing, and
// the Form 1096 shows and prints its result.
#include <cstdint>
#include <span>

class TRecordSet;

// What the scan adds up for one form type: the payee fields whose sum is the amount a payee
// reports, and the box of federal income tax withheld (null when the form has none).
struct TFormTotalsDef {
  uint8_t FormType;  // a TFormType
  std::span<const char* const> AmountFields;
  const char* WithheldField;
};

// The row of a form type; throws std::out_of_range for a number that is not a form type.
const TFormTotalsDef& FormTotalsDef(uint8_t formType);

// Scans the payees of the open payer file for CurrentFormType: sets TotalForms, TotalWithheld
// and TotalAmount and returns TotalForms. The current payee is current again (and re-read)
// afterwards.
int ScanFormTotals();
// The same over the given record set (its records are read into PayeeRec).
int ScanFormTotals(TRecordSet& payees, uint8_t formType);
