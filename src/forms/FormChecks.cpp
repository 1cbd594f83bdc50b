#include "forms/FormChecks.h"

#include <algorithm>
#include <cmath>

#include "core/Utils.h"
#include "storage/RecordLayout.h"

namespace {
QString S(const char* text) {
  return QLatin1String(text);
}

TFieldProblem Problem(const char* field, const QString& message) {
  return {S(field), message};
}

constexpr const char* kDateForm = "type it as mm/dd/yyyy, such as 03/15/2025";
constexpr const char* kCodeForm =
    "type one code, or two that the IRS allows together, such as 7 or 1B; double-click the box "
    "or press F4 for the list";

// A date box's text without the blanks of its empty mask ("  /  /    " shows nothing).
QString DateShown(const QString& text) {
  for (QChar ch : text)
    if (ch.isDigit()) return text;
  return {};
}

// Amounts are compared in whole cents, as they print: in binary fractions 0.10 + 0.20 is more
// than 0.30, and a box 2a of 0.30 must hold boxes 2b of 0.10 and 2c of 0.20.
long long Cents(const TPayeeEntries& e, const char* box) {
  return std::llround(e.Money(S(box)) * 100);
}

// A state or locality line: tax withheld needs the payer's label (state number, locality) and
// the income it was withheld from, refused with bothMessage at the income box; income needs the
// label, refused with labelMessage where the focus is.
TCheckResult TaxLine(const TPayeeEntries& e, const char* taxBox, const char* label,
                     const char* incomeBox, const char* bothMessage, const char* labelMessage) {
  const bool noLabel = IsBlank(e.Label(S(label)));
  if (e.Money(S(taxBox)) > 0 && (noLabel || e.Money(S(incomeBox)) == 0))
    return Problem(incomeBox, S(bothMessage));
  if (e.Money(S(incomeBox)) > 0 && noLabel)
    return TFieldProblem{S(incomeBox), S(labelMessage), false};
  return std::nullopt;
}

// Foreign tax paid and the country it was paid to go together: each alone is refused with its
// message at the box that is missing.
TCheckResult Paired(const TPayeeEntries& e, const char* amountBox, const char* textBox,
                    const char* amountAlone, const char* textAlone) {
  const bool amount = e.Money(S(amountBox)) > 0;
  const bool text = !IsBlank(e.Text(S(textBox)));
  if (amount && !text) return Problem(textBox, S(amountAlone));
  if (!amount && text) return Problem(amountBox, S(textAlone));
  return std::nullopt;
}

// The first problem of several checks run in order.
template <typename... Checks>
TCheckResult First(Checks... checks) {
  TCheckResult result;
  ((result = result ? result : checks()), ...);
  return result;
}

// Box 7 says the property is the borrower's own address; otherwise box 8 must say where it is.
bool PropertyDescribed(const TPayeeEntries& e) {
  if (e.Flag(S("F1098_7"))) return true;
  for (const char* line :
       {"F1098_8_1", "F1098_8_2", "F1098_8_3", "F1098_8_4", "F1098_8_5", "F1098_8_6", "F1098_8_7"})
    if (!IsBlank(e.Text(S(line)))) return true;
  return false;
}

// Qualified dividends, section 897 dividends and section 199A dividends are parts of the total
// ordinary dividends; the capital gain details are parts of the total capital gain distributions.
TCheckResult DividendParts(const TPayeeEntries& e) {
  const long long box1a = Cents(e, "F1099DIV1a");
  if (Cents(e, "F1099DIV1b") > box1a)
    return Problem("F1099DIV1b", S("Value of Box 1b cannot be greater than the value of Box 1a"));
  long long parts = 0;
  for (const char* box : {"F1099DIV2b", "F1099DIV2c", "F1099DIV2d", "F1099DIV2f"})
    parts += Cents(e, box);
  if (parts > Cents(e, "F1099DIV2a"))
    return Problem("F1099DIV2a", S("Value of Box 2a must not be less than the sum Value of "
                                   "boxes 2b, 2c, 2d and 2f"));
  if (Cents(e, "F1099DIV2e") > box1a)
    return Problem("F1099DIV2e", S("Value of box 2e cannot be greater than th value of box 1a"));
  if (Cents(e, "F1099DIV5") > box1a)
    return Problem("F1099DIV5", S("Value of Box 5 cannot be greater than the value of Box 1a"));
  return std::nullopt;
}

TCheckResult RAmounts(const TPayeeEntries& e) {
  if (e.Money(S("F1099R2")) > e.Money(S("F1099R1")))
    return Problem("F1099R2", S("Box 2a cannot be greater than box 1"));
  if (e.Money(S("F1099R3")) > e.Money(S("F1099R2")))
    return Problem("F1099R3", S("Box 3 cannot be greater than box 2a"));
  return std::nullopt;
}

// A distribution needs its code, and the code must be one the IRS admits (alone or paired).
TCheckResult RBox7(const TPayeeEntries& e) {
  if (e.Money(S("F1099R1")) <= 0) return std::nullopt;
  const QString code = e.Text(S("F1099R7"));
  if (IsBlank(code)) return Problem("F1099R7", S("Distribution code is missing."));
  if (!IsAdmittedDistCode(code))
    return Problem("F1099R7", RejectionText(TildeToCR(S("Distribution Code is invalid.~~Check the "
                                                        "specific IRS instructions~regarding the "
                                                        "correct combinations~of Distribution "
                                                        "Codes for box 7.")),
                                            code, S(kCodeForm)));
  return std::nullopt;
}

// Whether anything is on the payee's Form 1099-S: a date, an amount, a text or a check mark.
bool HoldsAnyEntry(const TPayeeEntries& e) {
  for (const char* box : {"Corrected1099S", "F1099S1", "F1099S2", "F1099S3_1", "F1099S3_2",
                          "F1099S3_3", "F1099S4", "F1099S5", "AcctNum1099S", "F1099S6"})
    if (e.Filled(S(box))) return true;
  return false;
}
}  // namespace

// A payee without mortgage interest or points has no Form 1098, so nothing of it is checked.
TCheckResult Check1098(const TPayeeEntries& e) {
  if (e.Money(S("F1098_1")) == 0 && e.Money(S("F1098_6")) == 0) return std::nullopt;
  if (!IsValidDate(e.Text(S("F1098_3"))))
    return Problem("F1098_3", RejectionText(S("Mortgage origination date is invalid"),
                                            DateShown(e.Text(S("F1098_3"))), S(kDateForm)));
  if (!PropertyDescribed(e))
    return Problem("F1098_8_1", TildeToCR(S("When box 7 is not checked; you must complete~"
                                            "atleast one line within box 8")));
  if (TextToInt(e.Text(S("F1098_9"))) == 0)
    return Problem("F1098_9", S("Number of properties securing the mortgage must not be zero"));
  return std::nullopt;
}

TCheckResult Check1099DIV(const TPayeeEntries& e) {
  return First([&] { return DividendParts(e); },
               [&] {
                 return Paired(e, "F1099DIV7", "F1099DIV8",
                               "If you enter an amount in box 7, you must complete box 8",
                               "If you complete box 8, you must enter an amount in box 7");
               });
}

TCheckResult Check1099INT(const TPayeeEntries& e) {
  return Paired(e, "F1099INT6", "F1099INT7",
                "If you enter an amount in box 6, you must complete box 7",
                "If you complete box 7, you must enter an amount in box 6");
}

TCheckResult Check1099MISC(const TPayeeEntries& e) {
  const char* both = "Boxes 17 and 18 must not be blank when there is data in box 16.";
  return First(
      [&] {
        return TaxLine(e, "F1099MISC16_1", "PayerStateID1", "F1099MISC18_1", both,
                       "Box 17 must be completed when there is data in box 18.");
      },
      [&] {
        return TaxLine(e, "F1099MISC16_2", "PayerStateID2", "F1099MISC18_2", both,
                       "Box 17 must not be blank when there is data in box 18.");
      });
}

TCheckResult Check1099NEC(const TPayeeEntries& e) {
  const char* both = "Boxes 6 and 7 must not be blank when there is data in box 5.";
  const char* state = "Box 6 must not be blank when there is data in box 7.";
  return First(
      [&] { return TaxLine(e, "F1099NEC5_1", "PayerStateID1", "F1099NEC7_1", both, state); },
      [&] { return TaxLine(e, "F1099NEC5_2", "PayerStateID2", "F1099NEC7_2", both, state); });
}

TCheckResult Check1099R(const TPayeeEntries& e) {
  const char* state = "Boxes 15 and 16 must not be blank when there is data in box 14.";
  const char* stateNo = "Box 15 must not be blank when there is data in box 16.";
  const char* local = "Boxes 18 and 19 must not be blank when there is data in box 17.";
  const char* locality = "Box 18 must not be blank when there is data in box 19.";
  return First(
      [&] { return RAmounts(e); }, [&] { return RBox7(e); },
      [&] { return TaxLine(e, "F1099R14_1", "PayerStateID1", "F1099R16_1", state, stateNo); },
      [&] { return TaxLine(e, "F1099R14_2", "PayerStateID2", "F1099R16_2", state, stateNo); },
      [&] { return TaxLine(e, "F1099R17_1", "PayerLocality1", "F1099R19_1", local, locality); },
      [&] { return TaxLine(e, "F1099R17_2", "PayerLocality2", "F1099R19_2", local, locality); });
}

// A sale needs its date of closing, in the tax year. A payee who sold nothing (nothing on this
// form) is not held for want of a date it has no use for.
TCheckResult Check1099S(const TPayeeEntries& e) {
  if (!HoldsAnyEntry(e)) return std::nullopt;
  const QString date = e.Text(S("F1099S1"));
  if (!IsValidDate(date))
    return Problem("F1099S1",
                   RejectionText(S("Date of closing is invalid"), DateShown(date), S(kDateForm)));
  if (!IsDateInRange(date, S("01/01/2025"), S("12/31/2025")))
    return Problem("F1099S1", RejectionText(S("Date of closing must be within calendar year 2025"),
                                            date, S("type a date from 01/01/2025 to 12/31/2025")));
  return std::nullopt;
}

QString PayerLineLabel(const QString& label, const uint8_t* payerRecord) {
  const TRecordLayout& payer = PayerLayout();
  auto text = [&](const char* field) {
    return RecordField::GetString(payerRecord, *payer.Field(field));
  };
  for (const char* n : {"1", "2"}) {
    if (label == S("PayerStateID") + S(n))
      return text(n[0] == '1' ? "StateName1" : "StateName2") + QLatin1Char(' ') +
             text(n[0] == '1' ? "StateID1" : "StateID2");
    if (label == S("PayerLocality") + S(n)) return text(n[0] == '1' ? "Locality1" : "Locality2");
  }
  return {};
}
