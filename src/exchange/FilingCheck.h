#pragma once
// The check before filing: everything about a payer file's payees that would make a return wrong,
// incomplete or rejected, or that the user should know before filing, one line each with the
// payee and the form. papyra-batch check and File / Check Before Filing show the same lines.
#include <QString>
#include <vector>

#include "storage/RecordLayout.h"
#include "storage/TinAnswers.h"
#include "storage/TinRules.h"

class TRecordSet;
struct TFormDef;

struct TCheckLine {
  TFindingLevel Level = TFindingLevel::Note;
  int Record = 0;  // the payee's record number, from 1; 0 for the payer file as a whole
  QString Payee;   // the payee's name as the forms show it
  QString Forms;   // the forms the line is about ("1099-NEC", "1099-INT, 1099-DIV"), or ""
  QString Text;
  // "error: payee 3, Jane Smith, 1099-NEC: The address is incomplete: no city"
  QString Line() const;
};

struct TCheckReport {
  std::vector<TCheckLine> Lines;  // errors first, then warnings, then notes; by payee within
  int Count(TFindingLevel level) const;
  bool HasErrors() const { return Count(TFindingLevel::Error) > 0; }
  // "2 errors, 1 warning, 3 notes" or "No findings"
  QString Summary() const;
  // Every line and the summary, one a line.
  QString Text() const;
};

// Checks the payees (record i+1 is payees[i]) for every form, or for only one. Payees that file
// none of the forms checked are left out: only what is filed is judged. answers are the IRS's TIN
// matching answers kept for the payer file.
TCheckReport CheckBeforeFiling(const std::vector<TPayeeRecord>& payees, const TTinAnswers& answers,
                               const TFormDef* only = nullptr);

// Every payee of a record set, in record order; the current payee is current again afterwards.
std::vector<TPayeeRecord> PayeesOf(TRecordSet& payees);
