#include "core/EntryChecks.h"

#include <functional>

#include "core/Utils.h"

namespace {
struct TRule {
  std::function<bool(const TPayeeEntries&)> Fails;
  const char* Field;
  const char* Message;
  const char* Expected = nullptr;  // the form of a good value, for a value that was refused
};

constexpr const char* kZipForm = "type it as 12345 or 12345-6789";
constexpr const char* kTinForm =
    "type a social security number as 123-45-6789 or an employer identification number as "
    "12-3456789, with its dashes";

bool Blank(const TPayeeEntries& e, const char* field) {
  return IsBlank(e.Text(QLatin1String(field)));
}

// clang-format off
const TRule kPayeeRules[] = {
  {[](const TPayeeEntries& e) { return e.Flag(QStringLiteral("Individual")) && Blank(e, "LastName"); },
   "LastName", "Payee's Last name is missing"},
  {[](const TPayeeEntries& e) { return e.Flag(QStringLiteral("Individual")) && Blank(e, "FirstName"); },
   "FirstName", "Payee's First name is missing"},
  {[](const TPayeeEntries& e) { return !e.Flag(QStringLiteral("Individual")) && Blank(e, "PayeeName"); },
   "PayeeName", "Payee's name is missing"},
  {[](const TPayeeEntries& e) { return Blank(e, "Address1"); }, "Address1", "Payee address is missing"},
  {[](const TPayeeEntries& e) { return Blank(e, "City"); }, "City", "Payee's city name is missing"},
  {[](const TPayeeEntries& e) { return !StateCodes().contains(e.Text(QStringLiteral("State"))); },
   "State", "Payee's State code is missing"},
  {[](const TPayeeEntries& e) { return !IsValidZip(e.Text(QStringLiteral("ZipCode"))); },
   "ZipCode", "Payee's Zip Code is not valid", kZipForm},
  {[](const TPayeeEntries& e) {
     const QString id = e.Text(QStringLiteral("SSN_IDNum"));
     return !IsValidSSN(id) && !IsValidEIN(id);
   },
   "SSN_IDNum", "Payee's Federal ID number is not valid", kTinForm},
};
// clang-format on
}  // namespace

QString RejectionText(const QString& text, const QString& value, const QString& expected) {
  QString head = text;
  if (!head.endsWith(QLatin1Char('.'))) head += QLatin1Char('.');
  QString tail = expected;
  if (IsBlank(value))
    tail[0] = tail[0].toUpper();
  else
    tail = QStringLiteral("You entered \"%1\"; %2").arg(TrimText(value), expected);
  return head + QLatin1Char('\r') + tail + QLatin1Char('.');
}

TCheckResult CheckPayeeEntries(const TPayeeEntries& entries) {
  for (const TRule& rule : kPayeeRules) {
    if (!rule.Fails(entries)) continue;
    const QString field = QLatin1String(rule.Field);
    QString message = QLatin1String(rule.Message);
    if (rule.Expected)
      message = RejectionText(message, entries.Text(field), QLatin1String(rule.Expected));
    return TFieldProblem{field, message};
  }
  return std::nullopt;
}
