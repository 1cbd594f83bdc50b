#pragma once
// Form 1096, the annual summary and transmittal, on paper: the form types it can summarise and
// its two prints (program-generated through the report "Form1096", and onto the pre-printed red
// copy).
#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

#include "forms/FormPrint.h"

class TPagePrinter;
class TReportProject;

// A parameter of the report "Form1096" besides the form types' check boxes (each form's
// TForm1096Box): its name and its value now, none when it is not set.
struct T1096Param {
  const char* Name;
  std::optional<QString> (*Value)();
};
std::span<const T1096Param> Form1096Params();
// The parameter that carries what a Form 1096 for a selection of the forms says of it.
inline constexpr char k1096SelectionParam[] = "Selection";

// The program-generated Form 1096 for CurrentFormType from PayerRec and the totals of the last
// scan: one run of the report "Form1096" on the project's engine. A 1096 for a selection of the
// forms carries the note that says which (SelectionNote).
void Print1096ProgramGenerated(TReportProject& project, const QString& selectionNote = {});
// The pre-printed Form 1096: one page; the signer's line only when the payer has a signer.
void Print1096RedCopy(TPagePrinter& printer, const TFormOffsets& offsets,
                      const QDate& today = QDate::currentDate());
