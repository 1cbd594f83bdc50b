#pragma once
// The rules of the payer and payee records' fields, kept once below every door into a payer
// file: whether a value may be stored in a field (the screens, the payee import, the prior-year
// transfer and the damaged-file check all ask the same function), the spellings users write
// that a field takes as its own, and the fields made from others.
#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <variant>

#include "storage/RecordLayout.h"

// A field's value as it is about to be stored: a flag, a whole number, an amount, a text.
using TFieldValue = std::variant<bool, int32_t, double, QString>;

// Why value may not be stored in field, worded to follow the value or the box it is said of
// ("is negative", "is not a date"); nullopt when it may be stored. A text is judged before it
// is cut to the field's width, so a longer one is refused rather than shortened.
std::optional<QString> ValueProblem(const TFieldDef& field, const TFieldValue& value);

// The value a record holds in a field.
TFieldValue StoredValue(const uint8_t* record, const TFieldDef& field);
// The same judgement of a value already stored, the bytes included: a length byte beyond the
// field's width is damage too.
std::optional<QString> StoredProblem(const uint8_t* record, const TFieldDef& field);

struct TStoredProblem {
  const TFieldDef* Field;
  QString Reason;
};
// The first field of the layout (or of fields, by name) whose stored value may not be stored.
std::optional<TStoredProblem> RecordProblem(const TRecordLayout& layout, const uint8_t* record);
std::optional<TStoredProblem> RecordProblem(const TRecordLayout& layout, const uint8_t* record,
                                            std::span<const char* const> fields);

// A value as messages quote it: texts as they are, amounts with their cents, flags True/False.
QString ValueText(const TFieldValue& value);

// The characters a text field admits, in the order of their codes, for the screens' filters:
// the digits, capitals and hyphens of its rule, or the characters of its list's codes; empty
// for a field that takes any character of the code page.
QString FieldChars(const TFieldDef& field);

// A text as the field keeps it: without the spaces around it, letters in capitals where the
// field keeps capitals, and a ZIP code of nine digits with its dash.
QString NormalizedText(const TFieldDef& field, const QString& text);

// The fields made from others, set from them. A payee: PayeeName of an individual (first name,
// a space, last name), CityStZip (city, state and ZIP code with single spaces between), and a
// taxpayer number of nine bare digits given the dashes of an SSN for an individual, of an EIN
// otherwise. A payer: CityStZip and SignerPresent (a signer's name is given). A made field with
// nothing to be made from (no names, no city, state or ZIP code) keeps what it holds, so a
// blank record stays all zero bytes. Every writer of a record calls these before it writes.
void DerivePayeeFields(TPayeeRecord& payee);
void DerivePayerFields(TPayerRecord& payer);
// The derived taxpayer number of a text: nine bare digits take the dashes by the payee's kind.
QString TinWithDashes(const QString& tin, bool individual);
