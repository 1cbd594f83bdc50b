// The payee fields' names in spreadsheets: the words of the forms themselves, so that a
// bookkeeper reads the export's header and picks a field in the wizard without knowing the
// record's names. One table for every form; the record's own names and the headers accounting
// programs write are accepted beside them.
#include <QHash>

#include "exchange/PayeeExchange.h"

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

// Per form: the tag its fields' names carry, the form's name, and the caption of each box as
// the form's screen shows it. A form's account number, CORRECTED, "2nd TIN not." and FATCA
// boxes take their words from the tag.
struct TFormWords {
  const char* Tag;
  const char* Form;
  std::initializer_list<TWords> Boxes;
};

const TFormWords kFormWords[] = {
  {"1098", "1098", {
    {"F1098_1", "Box 1 Mortgage interest received from payer(s)/borrower(s)"},
    {"F1098_2", "Box 2 Outstanding mortgage principal"},
    {"F1098_3", "Box 3 Mortgage origination date"},
    {"F1098_4", "Box 4 Refund of overpaid interest"},
    {"F1098_5", "Box 5 Mortgage insurance premiums"},
    {"F1098_6", "Box 6 Points paid on purchase of principal residence"},
    {"F1098_7", "Box 7 Address of property securing mortgage is the same as payer's/borrower's address"},
    {"F1098_8_1", "Box 8 Address or description of property securing mortgage, line 1"},
    {"F1098_8_2", "Box 8 Address or description of property securing mortgage, line 2"},
    {"F1098_8_3", "Box 8 Address or description of property securing mortgage, line 3"},
    {"F1098_8_4", "Box 8 Address or description of property securing mortgage, line 4"},
    {"F1098_8_5", "Box 8 Address or description of property securing mortgage, line 5"},
    {"F1098_8_6", "Box 8 Address or description of property securing mortgage, line 6"},
    {"F1098_8_7", "Box 8 Address or description of property securing mortgage, line 7"},
    {"F1098_9", "Box 9 Number of properties securing the mortgage"},
    {"F1098_10", "Box 10 Other"},
    {"F1098_11", "Box 11 Mortgage acquisition date"},
  }},
  {"1099DIV", "1099-DIV", {
    {"F1099DIV1a", "Box 1a Total ordinary dividends"},
    {"F1099DIV1b", "Box 1b Qualified dividends"},
    {"F1099DIV2a", "Box 2a Total capital gain distr."},
    {"F1099DIV2b", "Box 2b Unrecap. Sec. 1250 gain"},
    {"F1099DIV2c", "Box 2c Section 1202 gain"},
    {"F1099DIV2d", "Box 2d Collectibles (28%) gain"},
    {"F1099DIV2e", "Box 2e Section 897 ordinary dividends"},
    {"F1099DIV2f", "Box 2f Section 897 capital gain"},
    {"F1099DIV3", "Box 3 Nondividend distributions"},
    {"F1099DIV4", "Box 4 Federal income tax withheld"},
    {"F1099DIV5", "Box 5 Section 199A dividends"},
    {"F1099DIV6", "Box 6 Investment expenses"},
    {"F1099DIV7", "Box 7 Foreign tax paid"},
    {"F1099DIV8", "Box 8 Foreign country or U.S. possession"},
    {"F1099DIV9", "Box 9 Cash liquidation distributions"},
    {"F1099DIV10", "Box 10 Noncash liquidation distributions"},
    {"FATCA1099DIV", "Box 11 FATCA filing requirement"},
    {"F1099DIV12", "Box 12 Exempt-interest dividends"},
    {"F1099DIV13", "Box 13 Specified private activity bond interest dividends"},
    {"F1099DIV16_1", "Box 16 State tax withheld, first line"},
    {"F1099DIV16_2", "Box 16 State tax withheld, second line"},
  }},
  {"1099INT", "1099-INT", {
    {"F1099INT1", "Box 1 Interest income"},
    {"F1099INT2", "Box 2 Early withdrawal penalty"},
    {"F1099INT3", "Box 3 Interest on U.S. Savings Bonds and Treasury obligations"},
    {"F1099INT4", "Box 4 Federal income tax withheld"},
    {"F1099INT5", "Box 5 Investment expenses"},
    {"F1099INT6", "Box 6 Foreign tax paid"},
    {"F1099INT7", "Box 7 Foreign country or U.S. possession"},
    {"F1099INT8", "Box 8 Tax-exempt interest"},
    {"F1099INT9", "Box 9 Specified private activity bond interest"},
    {"F1099INT10", "Box 10 Market discount"},
    {"F1099INT11", "Box 11 Bond premium"},
    {"F1099INT12", "Box 12 Bond premium on Treasury obligations"},
    {"F1099INT13", "Box 13 Bond premium on tax-exempt bond"},
    {"F1099INT14", "Box 14 Tax-exempt and tax credit bond CUSIP no."},
    {"F1099INT17_1", "Box 17 State tax withheld, first line"},
    {"F1099INT17_2", "Box 17 State tax withheld, second line"},
  }},
  {"1099MISC", "1099-MISC", {
    {"F1099MISC1", "Box 1 Rents"},
    {"F1099MISC2", "Box 2 Royalties"},
    {"F1099MISC3", "Box 3 Other income"},
    {"F1099MISC4", "Box 4 Federal income tax withheld"},
    {"F1099MISC5", "Box 5 Fishing boat proceeds"},
    {"F1099MISC6", "Box 6 Medical and health care payments"},
    {"F1099MISC7", "Box 7 Payer made direct sales totaling $5,000 or more of consumer products to recipient for resale"},
    {"F1099MISC8", "Box 8 Substitute payments in lieu of dividends or interest"},
    {"F1099MISC9", "Box 9 Crop insurance proceeds"},
    {"F1099MISC10", "Box 10 Gross proceeds paid to an attorney"},
    {"F1099MISC11", "Box 11 Fish purchased for resale"},
    {"F1099MISC12", "Box 12 Section 409A deferrals"},
    {"FATCA1099MISC", "Box 13 FATCA filing requirement"},
    {"F1099MISC15", "Box 15 Nonqualified deferred compensation"},
    {"F1099MISC16_1", "Box 16 State tax withheld, first line"},
    {"F1099MISC16_2", "Box 16 State tax withheld, second line"},
    {"F1099MISC18_1", "Box 18 State income, first line"},
    {"F1099MISC18_2", "Box 18 State income, second line"},
  }},
  {"1099NEC", "1099-NEC", {
    {"F1099NEC1", "Box 1 Nonemployee compensation"},
    {"F1099NEC2", "Box 2 Payer made direct sales totaling $5,000 or more of consumer products to recipient for resale"},
    {"F1099NEC3", "Box 3 Excess golden parachute payments"},
    {"F1099NEC4", "Box 4 Federal income tax withheld"},
    {"F1099NEC5_1", "Box 5 State tax withheld, first line"},
    {"F1099NEC5_2", "Box 5 State tax withheld, second line"},
    {"F1099NEC7_1", "Box 7 State income, first line"},
    {"F1099NEC7_2", "Box 7 State income, second line"},
  }},
  {"1099R", "1099-R", {
    {"F1099R1", "Box 1 Gross distribution"},
    {"F1099R2", "Box 2a Taxable amount"},
    {"F1099R2b1", "Box 2b Taxable amount not determined"},
    {"F1099R2b2", "Box 2b Total distribution"},
    {"F1099R3", "Box 3 Capital gain (included in box 2a)"},
    {"F1099R4", "Box 4 Federal income tax withheld"},
    {"F1099R5", "Box 5 Employee contributions/Designated Roth contributions or insurance premiums"},
    {"F1099R6", "Box 6 Net unrealized appreciation in employer's securities"},
    {"F1099R7", "Box 7 Distribution code(s)"},
    {"F1099R7a", "Box 7 IRA/SEP/SIMPLE"},
    {"F1099R8", "Box 8 Other"},
    {"F1099R8a", "Box 8 Other, percentage"},
    {"F1099R9a", "Box 9a Your percentage of total distribution"},
    {"F1099R9b", "Box 9b Total employee contributions"},
    {"F1099R10", "Box 10 Amount allocable to IRR within 5 years"},
    {"F1099R11", "Box 11 1st year of desig. Roth contrib."},
    {"FATCA1099R", "Box 12 FATCA filing requirement"},
    {"F1099RDOP", "Box 13 Date of payment"},
    {"F1099R14_1", "Box 14 State tax withheld, first line"},
    {"F1099R14_2", "Box 14 State tax withheld, second line"},
    {"F1099R16_1", "Box 16 State distribution, first line"},
    {"F1099R16_2", "Box 16 State distribution, second line"},
    {"F1099R17_1", "Box 17 Local tax withheld, first line"},
    {"F1099R17_2", "Box 17 Local tax withheld, second line"},
    {"F1099R19_1", "Box 19 Local distribution, first line"},
    {"F1099R19_2", "Box 19 Local distribution, second line"},
  }},
  {"1099S", "1099-S", {
    {"F1099S1", "Box 1 Date of closing"},
    {"F1099S2", "Box 2 Gross proceeds"},
    {"F1099S3_1", "Box 3 Address or legal description, line 1"},
    {"F1099S3_2", "Box 3 Address or legal description, line 2"},
    {"F1099S3_3", "Box 3 Address or legal description, line 3"},
    {"F1099S4", "Box 4 Transferor received or will receive property or services as part of the consideration"},
    {"F1099S5", "Box 5 Transferor is a foreign person"},
    {"F1099S6", "Box 6 Buyer's part of real estate tax"},
  }},
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

// The words of the form a field belongs to by its name's tag, for the boxes every form has.
QString TaggedWords(const QLatin1String name) {
  static const std::pair<const char*, const char*> kTagged[] = {
      {"AcctNum", "Account number"},
      {"Corrected", "CORRECTED"},
      {"SecTINnot", "2nd TIN not."},
      {"FATCA", "FATCA filing requirement"}};
  for (const auto& [prefix, words] : kTagged) {
    if (!name.startsWith(QLatin1String(prefix))) continue;
    const QLatin1String tag = name.sliced(qsizetype(std::char_traits<char>::length(prefix)));
    for (const TFormWords& form : kFormWords)
      if (tag == QLatin1String(form.Tag))
        return QLatin1String(form.Form) + QLatin1Char(' ') + QLatin1String(words);
  }
  return {};
}

QString WordsOf(const char* field) {
  const QLatin1String name(field);
  for (const TWords& w : kCommonWords)
    if (name == QLatin1String(w.Field)) return QLatin1String(w.Words);
  for (const TFormWords& form : kFormWords)
    for (const TWords& box : form.Boxes)
      if (name == QLatin1String(box.Field)) {
        QString caption = QLatin1String(box.Words);
        if (caption.startsWith(QLatin1String("Box "))) caption[0] = QLatin1Char('b');
        return QLatin1String(form.Form) + QLatin1Char(' ') + caption;
      }
  const QString tagged = TaggedWords(name);
  return tagged.isEmpty() ? QString(name) : tagged;
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
