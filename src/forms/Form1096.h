#pragma once
// Form 1096, the annual summary and transmittal, on paper: the form types it can summarise and
// its two prints (program-generated through the report "Form1096", and onto the pre-printed red
// copy).
#include <QDate>
#include <QString>
#include <array>
#include <cstdint>

#include "forms/FormPrint.h"

class TPagePrinter;
class TReportProject;

// One form type as the Form 1096 knows it: the check box (and report parameter) that ticks it,
// the name papyra-batch takes, and where its "X" goes on the red copy.
struct T1096FormType {
  uint8_t FormType;      // a TFormType
  const char* CheckBox;  // "CB1099NEC"
  const char* Name;      // "1099-NEC"
  double RedCopyX;       // column of the "X"
  double RedCopyRow;     // row of the "X" (4.17 or 4.75)
};
const std::array<T1096FormType, 7>& Form1096Types();
// The form type of a name ("1099-NEC", "1098", ...); -1 when there is no such type.
int FormTypeByName(const QString& name);

// The program-generated Form 1096 for CurrentFormType from PayerRec and the totals of the last
// scan: one run of the report "Form1096" on the project's engine. A 1096 for a selection of the
// forms carries the note that says which (SelectionNote).
void Print1096ProgramGenerated(TReportProject& project, const QString& selectionNote = {});
// The pre-printed Form 1096: one page; the signer's line only when the payer has a signer.
void Print1096RedCopy(TPagePrinter& printer, const TFormOffsets& offsets,
                      const QDate& today = QDate::currentDate());
