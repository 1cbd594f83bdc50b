#pragma once
// The totals scan: how many forms of one type a payer file holds, the federal income tax they
// withhold and the total amount they report. Every Print command runs it before printing, and
// the Form 1096 shows and prints its result.
#include <QString>
#include <cstdint>
#include <span>
#include <vector>

#include "storage/RecordLayout.h"

class TRecordSet;

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

// Scans the payees of the open payer file for CurrentFormType: sets TotalForms (the payees that
// qualify), TotalWithheld and TotalAmount (every payee's, as stored) and returns TotalForms. The
// current payee is current again (and re-read) afterwards.
int ScanFormTotals();
// The same over the given record set (its records are read into PayeeRec).
int ScanFormTotals(TRecordSet& payees, uint8_t formType);

// Every form the payer file holds, all seven types together, by the same rule: what the IRS
// counts against the electronic filing threshold. The record set is left as ScanFormTotals
// leaves it.
int CountAllForms(TRecordSet& payees);
int CountAllForms();

// From this many information returns in total a filer must file them electronically; paper
// Copy A is then not accepted.
constexpr int kElectronicFilingThreshold = 10;
// The notice shown before red copies are printed for a payer file of forms forms; empty below
// the threshold. "~" breaks lines.
QString ElectronicFilingNotice(int forms);
