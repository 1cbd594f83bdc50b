#include "forms/FormValues.h"

#include "core/Utils.h"
#include "storage/Globals.h"

namespace {
const TFieldDef& PayerField(const char* name) {
  return *PayerLayout().Field(name);
}
const TFieldDef& PayeeField(const char* name) {
  return *PayeeLayout().Field(name);
}

// A state and its number, a city and its state: a blank half leaves no space behind, so a payer
// without state numbers prints nothing at all in the state box.
QString Join(const QString& a, const QString& b) {
  if (IsBlank(a)) return IsBlank(b) ? QString() : b;
  if (IsBlank(b)) return a;
  return a + QLatin1Char(' ') + b;
}

QString RecipientName(const TFormData& d, bool first) {
  const QString name = PayeeString(d, "PayeeName").toUpper();
  const QString comp = PayeeString(d, "CompName");
  if (IsBlank(comp)) return first ? QString() : name;
  return first ? name : comp.toUpper();
}

QString PayerNameLine(const TFormData& d, bool first) {
  const QString name = PayerString(d, "PayerName").toUpper();
  const QString trade = PayerString(d, "TradeName");
  if (IsBlank(trade)) return first ? QString() : name;
  return first ? name : trade.toUpper();
}

QString PayeeValue(const TValueDef& v, const TFormData& d) {
  switch (v.Src) {
    case TSrc::PayeeText:
      return PayeeString(d, v.A);
    case TSrc::PayeeUpper:
      return PayeeString(d, v.A).toUpper();
    case TSrc::Money: {
      const double amount = PayeeDouble(d, v.A);
      return AmountPresent(amount) ? FormatAmount(amount) : QString();
    }
    case TSrc::PlainMoney:
      return FormatAmountPlain(PayeeDouble(d, v.A));
    case TSrc::Flag:
      return PayeeFlag(d, v.A) ? QStringLiteral("X") : QString();
    case TSrc::IntText:
      return QString::number(PayeeInt(d, v.A));
    case TSrc::IntNonZero: {
      const int32_t n = PayeeInt(d, v.A);
      return n != 0 ? QString::number(n) : QString();
    }
    case TSrc::ValidDate: {
      const QString date = PayeeString(d, v.A);
      return IsValidDate(date) ? date : QString();
    }
    case TSrc::PayeeNonBlank: {
      const QString text = PayeeString(d, v.A);
      return IsBlank(text) ? QString() : text;
    }
    default:
      return QString();
  }
}
}  // namespace

TFormData CurrentFormData() {
  return {PayerRec.Data(), PayeeRec.Data(), MaskSSNOption};
}

QString PayerString(const TFormData& d, const char* field) {
  return RecordField::GetString(d.Payer, PayerField(field));
}
QString PayeeString(const TFormData& d, const char* field) {
  return RecordField::GetString(d.Payee, PayeeField(field));
}
double PayeeDouble(const TFormData& d, const char* field) {
  return RecordField::GetDouble(d.Payee, PayeeField(field));
}
bool PayeeFlag(const TFormData& d, const char* field) {
  return RecordField::GetBool(d.Payee, PayeeField(field));
}
int32_t PayeeInt(const TFormData& d, const char* field) {
  return RecordField::GetInt(d.Payee, PayeeField(field));
}

QString TaxYearText() {
  return QStringLiteral("2025");
}

QString PayerIdNumber(const TFormData& d) {
  const QString ein = PayerString(d, "EmpIDNum");
  return IsValidEIN(ein) ? ein : PayerString(d, "SocSecNum");
}

QString RecipientIdNumber(const TFormData& d, bool mask) {
  const QString tin = PayeeString(d, "SSN_IDNum");
  return mask && IsValidSSN(tin) ? MaskSSN(tin) : tin;
}

QString ValueText(const TValueDef& v, const TFormData& d) {
  switch (v.Src) {
    case TSrc::Literal:
      return QString::fromLatin1(v.A ? v.A : "");
    case TSrc::PayerText:
      return PayerString(d, v.A);
    case TSrc::PayerUpper:
      return PayerString(d, v.A).toUpper();
    case TSrc::PayerJoin:
      return Join(PayerString(d, v.A), PayerString(d, v.B));
    case TSrc::PayerJoinUpper:
      return Join(PayerString(d, v.A), PayerString(d, v.B)).toUpper();
    case TSrc::PayerName1:
      return PayerNameLine(d, true);
    case TSrc::PayerName2:
      return PayerNameLine(d, false);
    case TSrc::PayerFIDN:
    case TSrc::PayerTIN:
      return PayerIdNumber(d);
    case TSrc::RecipientFIDN:
      return RecipientIdNumber(d, d.MaskRecipientTIN);
    case TSrc::RecipientName1:
      return RecipientName(d, true);
    case TSrc::RecipientName2:
      return RecipientName(d, false);
    case TSrc::TaxYear:
      return TaxYearText();
    default:
      return PayeeValue(v, d);
  }
}

bool CondHolds(TCond cond, const char* field, const TFormData& d) {
  switch (cond) {
    case TCond::Always:
      return true;
    case TCond::PayeeFlag:
      return PayeeFlag(d, field);
    case TCond::PayeePositive:
      return PayeeDouble(d, field) > 0;
    case TCond::PayeeIntPositive:
      return PayeeInt(d, field) > 0;
    case TCond::PayeeNotBlank:
      return !IsBlank(PayeeString(d, field));
    case TCond::PayeeValidDate:
      return IsValidDate(PayeeString(d, field));
    case TCond::HasTradeName:
      return !IsBlank(PayerString(d, "TradeName"));
    case TCond::CompNameBlank:
      return IsBlank(PayeeString(d, "CompName"));
    case TCond::CompNameFilled:
      return !IsBlank(PayeeString(d, "CompName"));
  }
  return false;
}
