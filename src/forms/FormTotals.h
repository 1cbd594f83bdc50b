#pragma once
// The totals scan: how many forms of one type a payer file holds, the federal income tax they
// withhold and the total amount they report. Every Print command runs it before printing, and
// the Form 1096 shows and prints its result.
#include <QString>
#include <cstdint>
#include <span>
#include <vector>

#include "forms/FormQualifier.h"
#include "printing/PayeeSelection.h"
#include "storage/RecordLayout.h"

class TRecordSet;

// Scans the payees of the open payer file for CurrentFormType: sets TotalForms (the payees that
// qualify), TotalWithheld and TotalAmount (every payee's, as stored) and returns TotalForms. The
// current payee is current again (and re-read) afterwards.
int ScanFormTotals();
// The same over the given record set (its records are read into PayeeRec).
int ScanFormTotals(TRecordSet& payees, uint8_t formType);
// For a selection of the payees: only the forms the selection prints count and add their
// amounts, so a Form 1096 for them sums exactly the forms it goes with. All payees scan as above.
int ScanFormTotals(const TPayeeSelection& selection);
int ScanFormTotals(TRecordSet& payees, uint8_t formType, const TPayeeSelection& selection);
// The number of forms of the type a print of the selection takes from the open payer file,
// leaving the totals of the last scan as they were.
int CountSelectedForms(uint8_t formType, const TPayeeSelection& selection);

// Every form the payer file holds, all seven types together, by the same rule: what the IRS
// counts against the electronic filing threshold. The record set is left as ScanFormTotals
// leaves it.
int CountAllForms(TRecordSet& payees);
int CountAllForms();

// The notice shown before red copies are printed for a payer file of forms forms; empty below
// the threshold. "~" breaks lines.
QString ElectronicFilingNotice(int forms);
