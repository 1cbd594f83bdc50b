#pragma once
// Free-standing validation and text routines that every screen and print routine uses.
// Characters are counted from 1, as the callers' field positions are.
#include <QString>
#include <QStringList>
#include <bitset>

#include "platform/Exceptions.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"

using TCharSet = std::bitset<256>;
TCharSet CharSet(const QString& chars);  // the set of the given (Latin-1) characters

// Text
QString LeftChars(const QString& text, int count);
QString RightChars(const QString& text, int count);
QString MidChars(const QString& text, int position, int count);
QString TextBefore(const QString& text, QChar ch);
QString KeepChars(const QString& text, const TCharSet& set);
QString TrimText(const QString& text);  // strips every code <= 32 from both ends
bool IsBlank(const QString& text);
QString TildeToCR(const QString& text);
QString DoubleAmpersands(const QString& text);
QString AddPathDelimiter(const QString& path);
int IndexOfText(const QString& text, const QStringList& list);

// Numbers
double RoundAmount(double value, int decimals);
double TextToFloat(const QString& text);  // throws EConvertError
int TextToInt(const QString& text);       // throws EConvertError
double FitFontSize(const QString& text, double widthInches);
bool IsLeapYear(int year);
// Amounts print and count only when they round to more than zero cents.
inline bool AmountPresent(double amount) {
  return RoundAmount(amount, 2) > 0;
}
// Money as screens and program-generated forms show it: thousands separators, two decimals.
QString FormatAmount(double amount);
// Money as pre-printed red copies show it: "0.00".
QString FormatAmountPlain(double amount);

// Identification numbers, codes and dates
extern const char* const InvalidEINPrefixes[15];
bool IsValidSSN(const QString& text);
bool IsValidEIN(const QString& text);
bool IsValidZip(const QString& text);
bool IsValidZipPlus4(const QString& text);
bool IsValidPhone(const QString& text);
bool IsValidRTN(const QString& text);
bool IsValidDate(const QString& text);
bool IsDateInRange(const QString& date, const QString& first, const QString& last);

// Dates as the regional short date format (United States: month/day/year).
bool ParseDateText(const QString& text, int& month, int& day, int& year);
void DecodeDateText(const QString& text, int& month, int& day, int& year);
QString EncodeDateText(int month, int day, int year);
QString AddMonthsToDateText(const QString& text, int months);

// Messages, files, folders
QString MaskSSN(const QString& text);
extern bool CopyFailed;
// Copies a payer or payee file (any regular file) through the safe writer; throws
// ECopyFileException with the reason and sets CopyFailed.
void CopyFileChecked(const QString& source, const QString& target, bool failIfExists,
                     const TWriteOptions& options = {});
quint16 CountFiles(const QString& mask);
