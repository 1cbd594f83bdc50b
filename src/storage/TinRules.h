#pragma once
// Whether a taxpayer identification number can be one the SSA or the IRS has issued, judged
// offline from its digits alone, and what kind of number it is. These are findings to show,
// never reasons to refuse: the field's rule (RecordModel.h) decides what may be stored, and a
// number these rules doubt may still be the right one (only the IRS's TIN matching knows).
#include <QString>
#include <vector>

// How much a finding matters before filing: an error makes the return wrong or incomplete (a
// number that cannot be right, a missing one), a warning asks the user to look again, a note
// only informs.
enum class TFindingLevel : uint8_t { Error, Warning, Note };

// "error", "warning", "note".
QString FindingLevelName(TFindingLevel level);

struct TTinFinding {
  TFindingLevel Level;
  QString Text;  // a sentence about the number, e.g. "SSN area 666 is never issued"
};

// What a stored number is by its dashes and digits: an SSN (NNN-NN-NNNN not starting with 9), an
// ITIN (9NN-GG-NNNN with GG in an issued group), an EIN (NN-NNNNNNN); Other for a number of
// neither shape or a 9NN-NN-NNNN whose group no ITIN has, None when blank.
enum class TTinType : uint8_t { None, Ssn, Itin, Ein, Other };
TTinType TinTypeOf(const QString& tin);

// The nine digits of a number stored in either shape; empty when it is not nine digits.
QString TinDigits(const QString& tin);

// Whether the two-digit prefix is one the IRS assigns to EINs.
bool IsAssignedEinPrefix(int prefix);
// Whether the middle two digits are a group the IRS issues ITINs in.
bool IsItinGroup(int group);

// The findings about one payee's number, individual telling whether the payee is marked as a
// person: a missing number, a number that is never issued, a well-known sample number, an SSN or
// ITIN on a payee marked as a company. Empty when there is nothing to say.
std::vector<TTinFinding> TinFindings(const QString& tin, bool individual);
