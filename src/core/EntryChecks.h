#pragma once
// The checks of the payee screen, written once over the entries of a payee wherever they are:
// the screen's controls while the user types, or a record that is about to be written (the
// payee import). The screen turns a problem into its error with the focus on the field; other
// callers report it with the field's name.
#include <QString>
#include <QStringList>
#include <optional>

#include "core/CodeLists.h"

// What a payee holds, by record field name: texts as stored, amounts, flags, and the labels a
// form screen shows from the payer record.
class TPayeeEntries {
 public:
  virtual ~TPayeeEntries() = default;
  virtual QString Text(const QString& field) const = 0;
  virtual double Money(const QString& field) const = 0;
  virtual bool Flag(const QString& field) const = 0;
  virtual QString Label(const QString& label) const = 0;
  // Whether the entry holds anything: a text, an amount, a check mark, a date.
  virtual bool Filled(const QString& field) const = 0;
};

// A failed check: the field it is about and the message the screen shows. Focus is false for
// a check whose screen leaves the focus where it is.
struct TFieldProblem {
  QString Field;
  QString Message;
  bool Focus = true;
};
using TCheckResult = std::optional<TFieldProblem>;

// A check's message that refuses a value: the check's own text, then, on a line of its own, the
// value as entered and the form expected ("You entered "1234"; type it as 12345 or 12345-6789."),
// or only the form expected when nothing was entered.
QString RejectionText(const QString& text, const QString& value, const QString& expected);

// The payee screen's checks, in its order; the first that fails.
TCheckResult CheckPayeeEntries(const TPayeeEntries& entries);
