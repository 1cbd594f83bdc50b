#pragma once
// The lists a coded field draws from: the state and territory codes of the address and state
// boxes, and the distribution codes of Form 1099-R box 7. The record model checks stored codes
// against them; the screens offer them in their lists.
#include <QString>
#include <QStringList>
#include <span>

// The 54 two-letter state and territory codes, in the order of the state lists.
const QStringList& StateCodes();

// The 30 distribution codes of Form 1099-R box 7, in the order of the pick list.
std::span<const char* const> DistCodes();
// Whether box 7 may hold text: a single code or an admitted pair of codes, letter case ignored.
bool IsAdmittedDistCode(const QString& text);
