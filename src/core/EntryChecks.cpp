#include "core/EntryChecks.h"

#include <functional>

#include "core/Utils.h"

namespace {
struct TRule {
  std::function<bool(const TPayeeEntries&)> Fails;
  const char* Field;
  const char* Message;
};

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
   "ZipCode", "Payee's Zip Code is not valid"},
  {[](const TPayeeEntries& e) {
     const QString id = e.Text(QStringLiteral("SSN_IDNum"));
     return !IsValidSSN(id) && !IsValidEIN(id);
   },
   "SSN_IDNum", "Payee's Federal ID number is not valid"},
};
// clang-format on
}  // namespace

TCheckResult CheckPayeeEntries(const TPayeeEntries& entries) {
  for (const TRule& rule : kPayeeRules)
    if (rule.Fails(entries))
      return TFieldProblem{QLatin1String(rule.Field), QLatin1String(rule.Message)};
  return std::nullopt;
}
