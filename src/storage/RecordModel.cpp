#include "storage/RecordModel.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "core/CodeLists.h"
#include "core/Utils.h"

namespace {
// What a date box stores while it is empty.
const QString kEmptyDate = QStringLiteral("  /  /    ");

QString Reason(const char* text) {
  return QLatin1String(text);
}

// Controls of both halves of the code page, and the five bytes it leaves undefined, which read
// back as the control characters of the same number.
bool IsControl(char16_t c) {
  return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F);
}

bool InChars(char16_t c, TTextChars chars) {
  const bool digit = c >= u'0' && c <= u'9';
  const bool capital = c >= u'A' && c <= u'Z';
  switch (chars) {
    case TTextChars::Any:
      return true;
    case TTextChars::Digits:
      return digit;
    case TTextChars::Account:
      return digit || capital || c == u'-';
    case TTextChars::Capitals:
      return digit || capital;
  }
  return false;
}

const char* CharsReason(TTextChars chars) {
  switch (chars) {
    case TTextChars::Digits:
      return "holds characters other than digits";
    case TTextChars::Account:
      return "holds characters other than capitals, digits and hyphens";
    case TTextChars::Capitals:
      return "holds characters other than capitals and digits";
    case TTextChars::Any:
      break;
  }
  return "";
}

const TRecordLayout& LayoutOf(const TFieldDef& field) {
  const auto payer = PayerLayout().Fields();
  return &field >= payer.data() && &field < payer.data() + payer.size() ? PayerLayout()
                                                                        : PayeeLayout();
}

// The code page, the control characters, the width and the characters the field admits.
std::optional<QString> TextProblem(const TFieldDef& field, const QString& text) {
  if (std::any_of(text.begin(), text.end(), [](QChar c) { return !InWin1252(c); }))
    return QStringLiteral("holds characters the %1 file cannot store (Windows-1252)")
        .arg(QLatin1String(LayoutOf(field).Name()));
  if (std::any_of(text.begin(), text.end(), [](QChar c) { return IsControl(c.unicode()); }))
    return Reason("holds a control character");
  if (text.size() > field.Width)
    return QStringLiteral("is longer than the %1 characters of the field").arg(field.Width);
  const TTextChars chars = field.Rule.Chars;
  if (std::any_of(text.begin(), text.end(),
                  [chars](QChar c) { return !InChars(c.unicode(), chars); }))
    return Reason(CharsReason(chars));
  return std::nullopt;
}

// A text in the shape of a mask: "N" a digit, or a space where blank may be set, any other
// character itself.
bool FitsMask(const QString& text, const char* mask, bool blanks) {
  const qsizetype n = qsizetype(std::char_traits<char>::length(mask));
  if (text.size() != n) return false;
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = text[i].unicode();
    if (mask[i] != 'N' ? c != char16_t(mask[i])
                       : !((c >= u'0' && c <= u'9') || (blanks && c == u' ')))
      return false;
  }
  return true;
}

bool InList(TCodeList list, const QString& code) {
  switch (list) {
    case TCodeList::States:
      return StateCodes().contains(code);
    case TCodeList::DistCodes:
      return IsAdmittedDistCode(code);
    case TCodeList::None:
      break;
  }
  return false;
}

const char* ListReason(TCodeList list) {
  return list == TCodeList::States ? "is not a state code" : "is not a distribution code";
}

// The shape of what a text holds; the code page and the width are judged before.
std::optional<QString> ShapeProblem(const TFieldRule& rule, const QString& text) {
  const bool blank = IsBlank(text);
  switch (rule.Value) {
    case TValueKind::Date:
      if (blank || text == kEmptyDate || IsValidDate(text)) return std::nullopt;
      return Reason("is not a date (MM/DD/YYYY)");
    case TValueKind::Code:
      if (blank || InList(rule.List, text)) return std::nullopt;
      return Reason(ListReason(rule.List));
    case TValueKind::Tin:
      if (blank || FitsMask(text, "NNN-NN-NNNN", false) || FitsMask(text, "NN-NNNNNNN", false))
        return std::nullopt;
      return Reason("is not a taxpayer identification number (NNN-NN-NNNN or NN-NNNNNNN)");
    case TValueKind::Zip:
      if (blank || IsValidZip(text)) return std::nullopt;
      return Reason("is not a ZIP code (NNNNN or NNNNN-NNNN)");
    case TValueKind::Masked:
      if (text.isEmpty() || FitsMask(text, rule.Mask, true)) return std::nullopt;
      return QStringLiteral("is not of the form %1").arg(QLatin1String(rule.Mask));
    default:
      return std::nullopt;
  }
}

std::optional<QString> MoneyProblem(double amount) {
  if (!std::isfinite(amount)) return Reason("is not a number");
  if (amount < 0) return Reason("is negative");
  if (amount > kMaxAmount) return QStringLiteral("is more than %1").arg(FormatAmount(kMaxAmount));
  // A fraction of a cent is no damage: every total adds the amount as stored and every form
  // prints it rounded to the cent, as the screens' own amounts are.
  return std::nullopt;
}

std::optional<QString> WholeProblem(const TFieldRule& rule, int32_t n) {
  if (rule.Value == TValueKind::Percent) {
    if (n >= 0 && n <= 100) return std::nullopt;
    return Reason("is not a percentage from 0 to 100");
  }
  if (rule.Value != TValueKind::Whole || (n >= 0 && n <= rule.Max)) return std::nullopt;
  return QStringLiteral("is not a whole number from 0 to %1").arg(rule.Max);
}

template <typename T>
bool Holds(const TFieldValue& value) {
  return std::holds_alternative<T>(value);
}

bool KindFits(const TFieldDef& field, const TFieldValue& value) {
  switch (field.Kind) {
    case TFieldKind::String:
      return Holds<QString>(value);
    case TFieldKind::Bool:
      return Holds<bool>(value);
    case TFieldKind::Int32:
      return Holds<int32_t>(value);
    case TFieldKind::Double:
      return Holds<double>(value);
    case TFieldKind::Bytes:
      return false;
  }
  return false;
}

// A stored text judged on its bytes, so the scan of a whole payer file decodes only the texts
// whose shape it must read: the length byte, control bytes and the characters the field admits.
std::optional<QString> StoredTextBytesProblem(const uint8_t* record, const TFieldDef& field) {
  const uint8_t* p = record + field.Offset;
  if (p[0] > field.Width)
    return QStringLiteral("is longer than the %1 characters of the field").arg(field.Width);
  for (int i = 1; i <= p[0]; ++i) {
    const uint8_t b = p[i];
    // Bytes 0x80 to 0x9F are characters of the code page but for its five undefined bytes.
    const bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
    if (b < 0x20 || b == 0x7F || undefined) return Reason("holds a control character");
    if (!InChars(b, field.Rule.Chars)) return Reason(CharsReason(field.Rule.Chars));
  }
  return std::nullopt;
}

QString JoinedLine(const QString& a, const QString& b, const QString& c) {
  return a + QLatin1Char(' ') + b + QLatin1Char(' ') + c;
}

// City, state and ZIP code on one line, when there is any of them.
template <typename TRecord>
void DeriveCityLine(TRecord& record) {
  const QString city = record.GetString("City"), state = record.GetString("State"),
                zip = record.GetString("ZipCode");
  if (IsBlank(city) && IsBlank(state) && IsBlank(zip)) return;
  record.SetString("CityStZip", JoinedLine(city, state, zip));
}
}  // namespace

std::optional<QString> ValueProblem(const TFieldDef& field, const TFieldValue& value) {
  if (!KindFits(field, value)) return Reason("is not a value of this field");
  const TFieldRule& rule = field.Rule;
  if (rule.Value == TValueKind::Internal || rule.Value == TValueKind::Flag) return std::nullopt;
  if (rule.Value == TValueKind::Money) return MoneyProblem(std::get<double>(value));
  if (Holds<int32_t>(value)) return WholeProblem(rule, std::get<int32_t>(value));
  const QString& text = std::get<QString>(value);
  if (auto problem = TextProblem(field, text)) return problem;
  return ShapeProblem(rule, text);
}

TFieldValue StoredValue(const uint8_t* record, const TFieldDef& field) {
  switch (field.Kind) {
    case TFieldKind::Bool:
      return RecordField::GetBool(record, field);
    case TFieldKind::Int32:
      return RecordField::GetInt(record, field);
    case TFieldKind::Double:
      return RecordField::GetDouble(record, field);
    case TFieldKind::String:
      return RecordField::GetString(record, field);
    case TFieldKind::Bytes:
      break;
  }
  return QString::fromLatin1(RecordField::GetBytes(record, field).toHex());
}

std::optional<QString> StoredProblem(const uint8_t* record, const TFieldDef& field) {
  const TValueKind kind = field.Rule.Value;
  if (kind == TValueKind::Internal || kind == TValueKind::Flag) return std::nullopt;
  if (field.Kind != TFieldKind::String) return ValueProblem(field, StoredValue(record, field));
  if (auto problem = StoredTextBytesProblem(record, field)) return problem;
  if (kind == TValueKind::Text) return std::nullopt;
  return ShapeProblem(field.Rule, RecordField::GetString(record, field));
}

std::optional<TStoredProblem> RecordProblem(const TRecordLayout& layout, const uint8_t* record) {
  for (const TFieldDef& field : layout.Fields())
    if (auto reason = StoredProblem(record, field)) return TStoredProblem{&field, *reason};
  return std::nullopt;
}

std::optional<TStoredProblem> RecordProblem(const TRecordLayout& layout, const uint8_t* record,
                                            std::span<const char* const> fields) {
  for (const char* name : fields) {
    const TFieldDef& field = *layout.Field(name);
    if (auto reason = StoredProblem(record, field)) return TStoredProblem{&field, *reason};
  }
  return std::nullopt;
}

QString ValueText(const TFieldValue& value) {
  if (Holds<bool>(value)) return std::get<bool>(value) ? Reason("True") : Reason("False");
  if (Holds<int32_t>(value)) return QString::number(std::get<int32_t>(value));
  if (Holds<double>(value)) {
    const double amount = std::get<double>(value);
    return std::isfinite(amount) && std::fabs(amount) < 1e15
               ? QString::number(amount, 'f', 2)
               : QString::number(amount, 'g', QLocale::FloatingPointShortest);
  }
  return std::get<QString>(value);
}

QString FieldChars(const TFieldDef& field) {
  QString chars;
  if (field.Rule.Value == TValueKind::Code && field.Rule.List == TCodeList::DistCodes) {
    for (const char* code : DistCodes())
      for (const char* c = code; *c; ++c)
        if (!chars.contains(QLatin1Char(*c))) chars += QLatin1Char(*c);
    std::sort(chars.begin(), chars.end());
    return chars;
  }
  if (field.Rule.Value != TValueKind::Text || field.Rule.Chars == TTextChars::Any) return chars;
  for (char16_t c = 0x20; c < 0x7F; ++c)
    if (InChars(c, field.Rule.Chars)) chars += QChar(c);
  return chars;
}

QString NormalizedText(const TFieldDef& field, const QString& text) {
  if (field.Rule.Value == TValueKind::Internal || field.Rule.Value == TValueKind::Masked)
    return text;
  // A date box that was never filled keeps its mask, as the screen saves it.
  if (field.Rule.Value == TValueKind::Date && text == kEmptyDate) return text;
  QString t = text.trimmed();
  if (field.Rule.Upper) t = t.toUpper();
  static const QRegularExpression nineDigits(QStringLiteral("^\\d{9}$"));
  if (field.Rule.Value == TValueKind::Zip && nineDigits.match(t).hasMatch())
    t = t.left(5) + QLatin1Char('-') + t.mid(5);
  return t;
}

QString TinWithDashes(const QString& tin, bool individual) {
  static const QRegularExpression nineDigits(QStringLiteral("^\\d{9}$"));
  if (!nineDigits.match(tin).hasMatch()) return tin;
  return individual ? tin.left(3) + QLatin1Char('-') + tin.mid(3, 2) + QLatin1Char('-') + tin.mid(5)
                    : tin.left(2) + QLatin1Char('-') + tin.mid(2);
}

void DerivePayeeFields(TPayeeRecord& payee) {
  const bool individual = payee.GetBool("Individual");
  const QString first = payee.GetString("FirstName"), last = payee.GetString("LastName");
  if (individual && !(IsBlank(first) && IsBlank(last)))
    payee.SetString("PayeeName", first + QLatin1Char(' ') + last);
  DeriveCityLine(payee);
  const QString tin = payee.GetString("SSN_IDNum");
  const QString shaped = TinWithDashes(tin, individual);
  if (shaped != tin) payee.SetString("SSN_IDNum", shaped);
}

void DerivePayerFields(TPayerRecord& payer) {
  DeriveCityLine(payer);
  // A flag in step keeps its byte: any nonzero byte is set.
  const bool signer = !IsBlank(payer.GetString("SignerName"));
  if (payer.GetBool("SignerPresent") != signer) payer.SetBool("SignerPresent", signer);
}
