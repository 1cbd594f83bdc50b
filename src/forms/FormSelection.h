#pragma once
// A print of a selection (only the forms marked CORRECTED, or chosen payees) takes the payees
// the form's one qualifying rule takes, narrowed by the selection: the totals scan, both prints,
// the files per recipient and the Form 1096 all ask the same filter, so the forms printed and
// the 1096 that sums them agree.
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "forms/FormQualifier.h"
#include "printing/PayeeSelection.h"

struct TFormDef;
class TRecordSet;

// The payee field of the form's CORRECTED box ("Corrected1099NEC").
const char* CorrectedField(const TFormDef& form);

class TFormFilter {
 public:
  TFormFilter(const TFormDef& form, const TPayeeSelection& selection);
  // Whether the payee, record number record of the file, is one the selection names.
  bool Selected(const uint8_t* payeeRecord, int record) const;
  // Whether its form prints: it qualifies and the selection takes it.
  bool operator()(const uint8_t* payeeRecord, int record) const {
    return FQualifies(payeeRecord) && Selected(payeeRecord, record);
  }
  const TFormQualifier& Qualifies() const { return FQualifies; }

 private:
  TFormQualifier FQualifies;
  TPayeeSelection FSelection;
  TFieldHandle FCorrected = nullptr;
};

// The payees of the file whose TIN is one of tins (digits compared, dashes ignored), as the
// record numbers a chosen selection holds, in file order. Throws EPrintException naming the
// first TIN no payee has, or whose payee has nothing to report on the form.
QList<int> PayeesByTin(TRecordSet& payees, const TFormDef& form, const QStringList& tins);

// The names of the payees marked CORRECTED on the form whose form does not qualify, in name
// order: a selection of corrected forms prints none for them, and the user must hear of it.
QStringList CorrectedWithoutForm(const TFormDef& form);

// What a print of the corrected forms tells about the payees CorrectedWithoutForm names; empty
// when there are none.
QString CorrectedWithoutFormNotice(const TFormDef& form);

// "Forms 1099-NEC", or "Form 1099-NEC" for one.
QString FormsOfType(const TFormDef& form, int count);
// What a Form 1096 for the selection carries about it: "This Form 1096 summarizes only the 3
// Forms 1099-NEC marked CORRECTED."; empty for all payees.
QString SelectionNote(const TFormDef& form, const TPayeeSelection& selection, int forms);
// What a print of the selection says when it finds no form to print.
QString NoSelectedFormsText(const TFormDef& form, const TPayeeSelection& selection);
