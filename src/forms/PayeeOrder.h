#pragma once
// The order the print routines walk the payees in: by name, through the shared index RecIndex
// (storage/Globals.h), rebuilt only when RecIndexDirty says names or records have changed.
//
// The record list of the payee screens keeps the same index; this is the print routines' own
// builder of it, with the same rules, so printing does not depend on that window's module.
#include <QString>

#include "storage/RecordLayout.h"

// An individual sorts by last name, a tab and the first name; anyone else by the name line;
// at most 40 characters.
QString PayeeSortName(const TPayeeRecord& payee);

// Brings RecIndex up to date for RecIndexCount entries (the caller sets RecIndexCount to the
// payee count first); sorts by name, letter case ignored, equal names in record order. The
// payee that was current is current again afterwards.
void BuildPayeeNameIndex();
