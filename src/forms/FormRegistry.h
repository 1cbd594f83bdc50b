#pragma once
// The per-payee forms of the program, one TFormDef each (FormTables.h). Whatever offers, checks,
// counts, prints or exchanges forms walks this list or looks a form up here, so a form is known
// by one entry.
#include <QString>
#include <cstdint>
#include <span>
#include <vector>

#include "forms/FormTables.h"

// Every form, in the order of the form types.
std::span<const TFormDef* const> FormDefs();
// The form of a form type; null when there is none.
const TFormDef* FindFormDef(uint8_t formType);
// The form of a name as the Form 1096 and papyra-batch write it ("1099-NEC"), letter case
// ignored; null when there is none.
const TFormDef* FormDefByName(const QString& name);
// The form a name stands for however a spreadsheet writes it: "1099-NEC", "1099nec", "NEC",
// "Form 1099-NEC"; null when there is none.
const TFormDef* FormDefBySpelling(const QString& name);
// The form a payee field belongs to, by the tag in its name; null for a common field.
const TFormDef* FormDefOfField(const char* fieldName);

// The check of a form by its type (a TFormType); none for a number that is no form type.
TCheckResult CheckFormEntries(uint8_t formType, const TPayeeEntries& entries);
// The report parameters a form sets for each payee: the recipient block's, then the boxes'.
std::vector<TParamDef> PayeeParams(const TFormDef& form);
// The short names of every form joined by sep: "1098|1099-DIV|...".
QString FormShortNames(const QString& sep);
