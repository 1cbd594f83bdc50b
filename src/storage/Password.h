#pragma once
// The file password is kept in the payer record with every letter and digit replaced by a
// fixed substitute. This guards opening through the program only; the records stay readable.
#include <QString>

// Letters and digits become their substitutes; any other character is dropped.
QString ScramblePassword(const QString& text);
// The reverse: substitutes become letters and digits; any other character is dropped.
QString UnscramblePassword(const QString& text);
