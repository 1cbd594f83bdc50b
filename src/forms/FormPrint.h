#pragma once
// The two print routines every form shares, driven by the form's tables: the program-generated
// forms through the report project, and the text placed onto pre-printed IRS red copies. Both
// walk the payees of RSPayee in name order and return to the payee that was current.
#include <QString>

#include "forms/FormTables.h"
#include "forms/FormValues.h"

class TPagePrinter;
class TReportProject;

// A form type's print offsets in inches: HO moves the red copy text right, VO down.
struct TFormOffsets {
  double VO = 0;
  double HO = 0;
};

// The offsets held for the whole run for a form type, by its offset prefix ("F1099NEC"); 0 until
// they are first read.
TFormOffsets& HeldOffsets(const QString& prefix);
// Refreshes the held offsets from the settings store when the "Offsets" key exists (without it
// the held values stay) and returns them. A stored value that cannot be read counts as 0, as the
// printer offsets screen shows it, never as whatever was held before.
TFormOffsets ReadHeldOffsets(const QString& prefix);

// One report run per qualifying payee, in name order, a new page between forms. The project's
// engine must draw on printer. Returns the number of forms printed.
int PrintProgramGenerated(const TFormDef& form, TPagePrinter& printer, TReportProject& project);
// The red copies: as many forms per sheet as the form has slots, a new sheet only when another
// form follows. Returns the number of forms printed.
int PrintRedCopies(const TFormDef& form, TPagePrinter& printer, const TFormOffsets& offsets);

// Sets the form's payer or payee parameters on the project from d.
void SetFormParams(TReportProject& project, std::span<const TParamDef> params, const TFormData& d);
// Draws one red copy form whose slot starts top inches down the sheet (VO included).
void DrawRedCopyForm(TPagePrinter& printer, const TRedCopyDef& def, const TFormData& d, double top,
                     double ho);
