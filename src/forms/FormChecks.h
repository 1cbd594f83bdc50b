#pragma once
// The checks of the per-payee form screens, written once over a payee's entries (the screen's
// box controls, or a record the payee import is about to write): the first problem of a form,
// with the box to correct and the screen's message.
#include <QString>
#include <cstdint>
#include <span>

#include "core/CodeLists.h"
#include "core/EntryChecks.h"

TCheckResult Check1098(const TPayeeEntries& e);
TCheckResult Check1099DIV(const TPayeeEntries& e);
TCheckResult Check1099INT(const TPayeeEntries& e);
TCheckResult Check1099MISC(const TPayeeEntries& e);
TCheckResult Check1099NEC(const TPayeeEntries& e);
TCheckResult Check1099R(const TPayeeEntries& e);
TCheckResult Check1099S(const TPayeeEntries& e);

// The text of a payer label the form screens show beside the state and locality lines
// ("PayerStateID1": the state's code and the payer's number there; "PayerLocality1": the
// locality's name), from a payer record; empty for another label.
QString PayerLineLabel(const QString& label, const uint8_t* payerRecord);
