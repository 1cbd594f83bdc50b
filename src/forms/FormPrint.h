#pragma once
// The two print routines every form shares, driven by the form's tables: the program-generated
// forms through the report project, and the text placed onto pre-printed IRS red copies. Both
// walk the payees of RSPayee in name order and return to the payee that was current.
#include <QString>
#include <functional>
#include <vector>

#include "forms/FormTables.h"
#include "forms/FormValues.h"
#include "forms/RecipientInstructions.h"
#include "printing/PayeeSelection.h"
#include "printing/PrintType.h"

class TPagePrinter;
class TReportProject;

// A form type's print offsets in inches: HO moves the red copy text right, VO down.
struct TFormOffsets {
  double VO = 0;
  double HO = 0;
};

// Gives the printer offsets screen its forms: the Form 1096 and every form of the registry.
void InstallOffsetForms();

// The offsets held for the whole run for a form type, by its offset prefix ("F1099NEC"); 0 until
// they are first read.
TFormOffsets& HeldOffsets(const QString& prefix);
// Refreshes the held offsets from the settings store when the "Offsets" key exists (without it
// the held values stay) and returns them. A stored value that cannot be read counts as 0, as the
// printer offsets screen shows it, never as whatever was held before.
TFormOffsets ReadHeldOffsets(const QString& prefix);

// One report run per qualifying payee the selection takes, in name order, a new page between
// forms: the copy the choice names, and after each Copy B the recipient's instructions when it
// asks for them. The project's engine must draw on printer. Returns the number of forms printed.
int PrintProgramGenerated(const TFormDef& form, TPagePrinter& printer, TReportProject& project,
                          const TCopyChoice& choice = CopyChoice(),
                          const TPayeeSelection& selection = {});

// What one program-generated form needs besides the payee: the open project with the form's
// report selected and the payer set, and the instructions when they follow the form.
struct TRecipientPrint {
  const TFormDef& Form;
  TReportProject& Project;
  bool WithInstructions = false;
  TInstructions Instructions;
  std::vector<TParamDef> PayeeParams;  // the form's, gathered once for every payee
  bool MaskTIN = false;                // the recipient's SSN masked on this copy
};
// Opens the project for the form (copy, report, payer parameters) and reads its instructions.
TRecipientPrint StartRecipientPrint(const TFormDef& form, TReportProject& project,
                                    const TCopyChoice& choice);
// The current payee's form on the printer's current page, then its instructions.
void PrintRecipient(TRecipientPrint& job, TPagePrinter& printer);
// Calls each for every payee that files the form and that the selection takes, in name order,
// the payee current and loaded in PayeeRec; start runs first. The payee that was current is
// current again however it ends.
void ForEachFormPayee(const TFormDef& form, const std::function<void()>& start,
                      const std::function<void()>& each, const TPayeeSelection& selection = {});
// The red copies: as many forms per sheet as the form has slots, a new sheet only when another
// form follows. Returns the number of forms printed.
int PrintRedCopies(const TFormDef& form, TPagePrinter& printer, const TFormOffsets& offsets,
                   const TPayeeSelection& selection = {});

// Sets the form's payer or payee parameters on the project from d.
void SetFormParams(TReportProject& project, std::span<const TParamDef> params, const TFormData& d);
// Draws one red copy form whose slot starts top inches down the sheet (VO included).
void DrawRedCopyForm(TPagePrinter& printer, const TRedCopyDef& def, const TFormData& d, double top,
                     double ho);
