// The payee fields' names in spreadsheets: the words of the forms themselves, so that a
// bookkeeper reads the export's header and picks a field in the wizard without knowing the
// record's names. The record's own names and the headers accounting programs write are accepted
// beside them.
#include <QHash>

#include "exchange/PayeeExchange.h"
#include "forms/FormRegistry.h"

namespace {
struct TWords {
  const char* Field;
  const char* Words;
};

// clang-format off
constexpr TWords kCommonWords[] = {
  {"TransferRecNo", "Prior-year record number"},
  {"Individual",    "Recipient is an individual"},
  {"PayeeName",     "Recipient's name"},
  {"LastName",      "Recipient's last name"},
  {"FirstName",     "Recipient's first name"},
  {"CompName",      "Recipient's trade name"},
  {"Address1",      "Street address"},
  {"City",          "City"},
  {"State",         "State"},
  {"ZipCode",       "ZIP code"},
  {"CityStZip",     "City, state and ZIP code"},
  {"SSN_IDNum",     "Recipient's TIN"},
};

// Headers accounting programs and banks write, squeezed as Squeezed() makes them.
constexpr TWords kSynonyms[] = {
  {"PayeeName", "name"},         {"PayeeName", "vendor"},        {"PayeeName", "vendorname"},
  {"PayeeName", "payee"},        {"PayeeName", "recipient"},     {"PayeeName", "recipientname"},
  {"SSN_IDNum", "tin"},          {"SSN_IDNum", "taxid"},         {"SSN_IDNum", "ssn"},
  {"SSN_IDNum", "ein"},          {"SSN_IDNum", "taxidnumber"},   {"SSN_IDNum", "federalid"},
  {"SSN_IDNum", "fein"},         {"SSN_IDNum", "taxpayerid"},    {"SSN_IDNum", "federalidnumber"},
  {"SSN_IDNum", "socialsecuritynumber"}, {"SSN_IDNum", "employeridentificationnumber"},
  {"SSN_IDNum", "taxpayeridentificationnumber"},
  {"Address1", "address"},       {"Address1", "street"},         {"Address1", "streetaddress"},
  {"Address1", "addressline1"},  {"City", "town"},               {"State", "st"},
  {"ZipCode", "zip"},            {"ZipCode", "postalcode"},      {"ZipCode", "postcode"},
  {"CompName", "tradename"},     {"CompName", "dba"},            {"CompName", "doingbusinessas"},
  {"LastName", "surname"},       {"LastName", "familyname"},     {"FirstName", "givenname"},
};
// clang-format on

constexpr const char* kAmountHeaders[] = {"amount", "1099amount", "total", "totalpaid",
                                          "amountpaid"};
constexpr const char* kSsnHeaders[] = {"ssn", "socialsecuritynumber"};
constexpr const char* kEinHeaders[] = {"ein", "fein", "employeridentificationnumber"};

// A header as it is compared: its letters in lower case and its digits, nothing else.
QString Squeezed(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text)
    if (c.isLetterOrNumber()) out += c.toLower();
  return out;
}

// A box's caption after its form's name: "1099-NEC box 1 Nonemployee compensation".
QString BoxWords(const TFormDef& form, const TControlDef& control) {
  QString caption = QLatin1String(control.Caption);
  if (caption.startsWith(QLatin1String("Box "))) caption[0] = QLatin1Char('b');
  return QLatin1String(form.ShortName) + QLatin1Char(' ') + caption;
}

// The words of a field: a payee's own field's from the table, a form's box's from the form
// registry, which the screens and the prints take their captions from too.
QString WordsOf(const char* field) {
  const QLatin1String name(field);
  for (const TWords& w : kCommonWords)
    if (name == QLatin1String(w.Field)) return QLatin1String(w.Words);
  if (const TFormDef* form = FormDefOfField(field))
    for (const TBoxDef& box : form->Boxes)
      if (box.Control.Field && name == QLatin1String(box.Control.Field))
        return BoxWords(*form, box.Control);
  return name;
}

// Every name a header may use for a field, squeezed: the spreadsheet name, the record name,
// then the synonyms, the first to claim a name keeping it.
const QHash<QString, QString>& HeaderIndex() {
  static const QHash<QString, QString> index = [] {
    QHash<QString, QString> map;
    for (const TFieldDef& f : PayeeLayout().Fields()) {
      map.insert(Squeezed(ExchangeName(f)), QLatin1String(f.Name));
      map.insert(Squeezed(QLatin1String(f.Name)), QLatin1String(f.Name));
    }
    for (const TWords& s : kSynonyms)
      if (!map.contains(QLatin1String(s.Words)))
        map.insert(QLatin1String(s.Words), QLatin1String(s.Field));
    return map;
  }();
  return index;
}

template <size_t N>
bool OneOf(const QString& squeezed, const char* const (&names)[N]) {
  for (const char* n : names)
    if (squeezed == QLatin1String(n)) return true;
  return false;
}
}  // namespace

QString ExchangeName(const TFieldDef& field) {
  static const QHash<const TFieldDef*, QString> names = [] {
    QHash<const TFieldDef*, QString> map;
    for (const TFieldDef& f : PayeeLayout().Fields()) map.insert(&f, WordsOf(f.Name));
    return map;
  }();
  return names.value(&field, QLatin1String(field.Name));
}

QString FieldForHeader(const QString& header, const QString& amountField) {
  const QString squeezed = Squeezed(header);
  if (squeezed.isEmpty()) return {};
  if (const auto it = HeaderIndex().constFind(squeezed); it != HeaderIndex().cend()) return *it;
  return OneOf(squeezed, kAmountHeaders) ? amountField : QString();
}

TTinKind TinKindOfHeader(const QString& header) {
  const QString squeezed = Squeezed(header);
  if (OneOf(squeezed, kSsnHeaders)) return TTinKind::Ssn;
  if (OneOf(squeezed, kEinHeaders)) return TTinKind::Ein;
  return TTinKind::Either;
}
