#include "storage/RecordLayout.h"

#include <QLocale>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/Services.h"

namespace {
using namespace FieldDefs;
using enum TCodeList;
using enum TTextChars;

// The masked edits' shapes: N a digit (a space while unfilled).
constexpr const char* kPhone = "NNN-NNN-NNNN";
constexpr const char* kEin = "NN-NNNNNNN";
constexpr const char* kSsn = "NNN-NN-NNNN";

// An account number: capitals, digits and hyphens.
constexpr TFieldDef AcctNum(const char* name, int offset) {
  return Chars(name, offset, 25, TTextChars::Account, true);
}

// clang-format off
constexpr TFieldDef kPayerFields[] = {
  Str("PayerName", 0, 40),          Str("TradeName", 41, 40),        Str("Address1", 82, 30),
  Str("Address2", 113, 10),         Str("City", 124, 16),            Code("State", 141, 2, States),
  Zip("ZipCode", 144),              Str("CityStZip", 155, 30),       Str("Contact", 186, 30),
  Masked("PhoneNum", 217, kPhone),  Masked("FaxNum", 230, kPhone),   Str("Email", 243, 40),
  Masked("EmpIDNum", 284, kEin),    Masked("SocSecNum", 295, kSsn),
  Code("StateName1", 307, 2, States), Code("StateName2", 310, 2, States),
  Chars("StateID1", 313, 12, Digits), Chars("StateID2", 326, 12, Digits),
  Str("Locality1", 339, 15),        Str("Locality2", 355, 15),       Chars("RTN", 371, 9, Digits),
  Secret("FilePassword", 381, 12),  Str("SignerName", 394, 30),      Str("SignerTitle", 425, 20),
  Flag("SignerPresent", 446),       Flag("OpenPayerOnLoad", 447),
};

constexpr TFieldDef kPayeeFields[] = {
  // Common part: name, address, identification number, per-form account numbers and boxes.
  Int("TransferRecNo", 0),      Flag("Individual", 4),        Str("PayeeName", 5, 40),
  Str("LastName", 46, 20),      Str("FirstName", 67, 20),     Str("CompName", 88, 40),
  Str("Address1", 129, 30),     Str("City", 160, 16),         Code("State", 177, 2, States),
  Zip("ZipCode", 180),          Str("CityStZip", 191, 30),    Tin("SSN_IDNum", 222),
  AcctNum("AcctNum1098", 234),  AcctNum("AcctNum1099DIV", 260), AcctNum("AcctNum1099INT", 286),
  AcctNum("AcctNum1099MISC", 312), AcctNum("AcctNum1099NEC", 338), AcctNum("AcctNum1099R", 364),
  AcctNum("AcctNum1099S", 390),
  Flag("Corrected1098", 416),   Flag("Corrected1099DIV", 417), Flag("Corrected1099INT", 418),
  Flag("Corrected1099MISC", 419), Flag("Corrected1099NEC", 420), Flag("Corrected1099R", 421),
  Flag("Corrected1099S", 422),
  Flag("SecTINnot1099DIV", 430), Flag("SecTINnot1099INT", 431), Flag("SecTINnot1099MISC", 432),
  Flag("SecTINnot1099NEC", 433),
  Flag("FATCA1099DIV", 434),    Flag("FATCA1099INT", 435),    Flag("FATCA1099MISC", 436),
  Flag("FATCA1099R", 438),

  // Form 1098, bytes 440 to 727.
  Dbl("F1098_1", 440),          Dbl("F1098_2", 448),          Date("F1098_3", 456),
  Dbl("F1098_4", 472),          Dbl("F1098_5", 480),          Dbl("F1098_6", 488),
  Flag("F1098_7", 496),
  Str("F1098_8_1", 497, 25),    Str("F1098_8_2", 523, 25),    Str("F1098_8_3", 549, 25),
  Str("F1098_8_4", 575, 25),    Str("F1098_8_5", 601, 25),    Str("F1098_8_6", 627, 25),
  Str("F1098_8_7", 653, 25),
  Whole("F1098_9", 680, 999),   Str("F1098_10", 684, 25),     Date("F1098_11", 710),

  // Form 1099-DIV, bytes 728 to 895.
  Dbl("F1099DIV1a", 728),       Dbl("F1099DIV1b", 736),       Dbl("F1099DIV2a", 744),
  Dbl("F1099DIV2b", 752),       Dbl("F1099DIV2c", 760),       Dbl("F1099DIV2d", 768),
  Dbl("F1099DIV2e", 776),       Dbl("F1099DIV2f", 784),       Dbl("F1099DIV3", 792),
  Dbl("F1099DIV4", 800),        Dbl("F1099DIV5", 808),        Dbl("F1099DIV6", 816),
  Dbl("F1099DIV7", 824),        Str("F1099DIV8", 832, 12),    Dbl("F1099DIV9", 848),
  Dbl("F1099DIV10", 856),       Dbl("F1099DIV12", 864),       Dbl("F1099DIV13", 872),
  Dbl("F1099DIV16_1", 880),     Dbl("F1099DIV16_2", 888),

  // Form 1099-INT, bytes 896 to 1047.
  Dbl("F1099INT1", 896),        Dbl("F1099INT2", 904),        Dbl("F1099INT3", 912),
  Dbl("F1099INT4", 920),        Dbl("F1099INT5", 928),        Dbl("F1099INT6", 936),
  Str("F1099INT7", 944, 12),    Dbl("F1099INT8", 960),        Dbl("F1099INT9", 968),
  Dbl("F1099INT10", 976),       Dbl("F1099INT11", 984),       Dbl("F1099INT12", 992),
  Dbl("F1099INT13", 1000),      Chars("F1099INT14", 1008, 20, Capitals, true),
  Dbl("F1099INT17_1", 1032),     Dbl("F1099INT17_2", 1040),

  // Form 1099-MISC, bytes 1048 to 1191.
  Dbl("F1099MISC1", 1048),      Dbl("F1099MISC2", 1056),      Dbl("F1099MISC3", 1064),
  Dbl("F1099MISC4", 1072),      Dbl("F1099MISC5", 1080),      Dbl("F1099MISC6", 1088),
  Flag("F1099MISC7", 1096),     Dbl("F1099MISC8", 1104),      Dbl("F1099MISC9", 1112),
  Dbl("F1099MISC10", 1120),     Dbl("F1099MISC11", 1128),     Dbl("F1099MISC12", 1136),
  Dbl("F1099MISC15", 1152),     Dbl("F1099MISC16_1", 1160),   Dbl("F1099MISC16_2", 1168),
  Dbl("F1099MISC18_1", 1176),   Dbl("F1099MISC18_2", 1184),

  // Form 1099-NEC, bytes 1192 to 1255.
  Dbl("F1099NEC1", 1192),       Flag("F1099NEC2", 1200),      Dbl("F1099NEC3", 1208),
  Dbl("F1099NEC4", 1216),       Dbl("F1099NEC5_1", 1224),     Dbl("F1099NEC5_2", 1232),
  Dbl("F1099NEC7_1", 1240),     Dbl("F1099NEC7_2", 1248),

  // Form 1099-R, bytes 1256 to 1423.
  Dbl("F1099R1", 1256),         Dbl("F1099R2", 1264),         Dbl("F1099R3", 1272),
  Dbl("F1099R4", 1280),         Dbl("F1099R5", 1288),         Dbl("F1099R6", 1296),
  Flag("F1099R2b1", 1304),      Flag("F1099R2b2", 1305),      Code("F1099R7", 1306, 2, DistCodes),
  Flag("F1099R7a", 1309),       Dbl("F1099R8", 1312),         Percent("F1099R8a", 1320),
  Percent("F1099R9a", 1324),    Dbl("F1099R9b", 1328),        Dbl("F1099R10", 1336),
  Chars("F1099R11", 1344, 4, Digits), Date("F1099RDOP", 1349), Dbl("F1099R14_1", 1360),
  Dbl("F1099R14_2", 1368),      Dbl("F1099R16_1", 1376),      Dbl("F1099R16_2", 1384),
  Dbl("F1099R17_1", 1392),      Dbl("F1099R17_2", 1400),      Dbl("F1099R19_1", 1408),
  Dbl("F1099R19_2", 1416),

  // Form 1099-S, bytes 1424 to 1535.
  Date("F1099S1", 1424),        Dbl("F1099S2", 1440),         Str("F1099S3_1", 1448, 25),
  Str("F1099S3_2", 1474, 25),   Str("F1099S3_3", 1500, 25),   Flag("F1099S4", 1526),
  Flag("F1099S5", 1527),        Dbl("F1099S6", 1528),
};
// clang-format on

void CheckKind(const TFieldDef& field, TFieldKind kind) {
  if (field.Kind != kind)
    throw std::logic_error(std::string("record field ") + field.Name + " is of another kind");
}
}  // namespace

int FieldSize(const TFieldDef& field) {
  switch (field.Kind) {
    case TFieldKind::String:
      return field.Width + 1;
    case TFieldKind::Bool:
      return 1;
    case TFieldKind::Int32:
      return 4;
    case TFieldKind::Double:
      return 8;
    case TFieldKind::Bytes:
      return field.Width;
  }
  return 0;
}

TRecordLayout::TRecordLayout(const char* name, int size, std::span<const TFieldDef> fields)
    : FName(name), FSize(size), FFields(fields) {
  for (const TFieldDef& f : FFields) FByName.emplace(std::string_view(f.Name), &f);
}

TFieldHandle TRecordLayout::Find(std::string_view name) const {
  const auto it = FByName.find(name);
  return it == FByName.end() ? nullptr : it->second;
}

TFieldHandle TRecordLayout::Find(const QString& name) const {
  const QByteArray latin = name.toLatin1();
  return Find(std::string_view(latin.constData(), static_cast<size_t>(latin.size())));
}

TFieldHandle TRecordLayout::Field(std::string_view name) const {
  if (TFieldHandle f = Find(name)) return f;
  throw std::out_of_range(std::string(FName) + " record has no field " + std::string(name));
}

const TRecordLayout& PayerLayout() {
  static const TRecordLayout layout("payer", 448, kPayerFields);
  return layout;
}

const TRecordLayout& PayeeLayout() {
  static const TRecordLayout layout("payee", 1536, kPayeeFields);
  return layout;
}

namespace RecordField {
QString GetString(const uint8_t* record, const TFieldDef& field) {
  CheckKind(field, TFieldKind::String);
  const uint8_t* p = record + field.Offset;
  // The program never writes a length beyond the width; a damaged file must not read past it.
  const int length = std::min<int>(p[0], field.Width);
  return FromWin1252(p + 1, length);
}

void SetString(uint8_t* record, const TFieldDef& field, const QString& text) {
  CheckKind(field, TFieldKind::String);
  const QByteArray bytes = ToWin1252(text.left(field.Width)).left(field.Width);
  uint8_t* p = record + field.Offset;
  p[0] = static_cast<uint8_t>(bytes.size());
  std::memcpy(p + 1, bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool GetBool(const uint8_t* record, const TFieldDef& field) {
  CheckKind(field, TFieldKind::Bool);
  return record[field.Offset] != 0;
}

void SetBool(uint8_t* record, const TFieldDef& field, bool value) {
  CheckKind(field, TFieldKind::Bool);
  record[field.Offset] = value ? 1 : 0;
}

int32_t GetInt(const uint8_t* record, const TFieldDef& field) {
  CheckKind(field, TFieldKind::Int32);
  return qFromLittleEndian<qint32>(record + field.Offset);
}

void SetInt(uint8_t* record, const TFieldDef& field, int32_t value) {
  CheckKind(field, TFieldKind::Int32);
  qToLittleEndian<qint32>(value, record + field.Offset);
}

double GetDouble(const uint8_t* record, const TFieldDef& field) {
  CheckKind(field, TFieldKind::Double);
  const quint64 bits = qFromLittleEndian<quint64>(record + field.Offset);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void SetDouble(uint8_t* record, const TFieldDef& field, double value) {
  CheckKind(field, TFieldKind::Double);
  quint64 bits;
  std::memcpy(&bits, &value, sizeof bits);
  qToLittleEndian<quint64>(bits, record + field.Offset);
}

QByteArray GetBytes(const uint8_t* record, const TFieldDef& field) {
  return QByteArray(reinterpret_cast<const char*>(record + field.Offset), FieldSize(field));
}

void SetBytes(uint8_t* record, const TFieldDef& field, const QByteArray& bytes) {
  const int size = FieldSize(field);
  std::memset(record + field.Offset, 0, static_cast<size_t>(size));
  std::memcpy(record + field.Offset, bytes.constData(),
              static_cast<size_t>(std::min<qsizetype>(bytes.size(), size)));
}

QString AsText(const uint8_t* record, const TFieldDef& field) {
  switch (field.Kind) {
    case TFieldKind::String:
      return GetString(record, field);
    case TFieldKind::Bool:
      return GetBool(record, field) ? QStringLiteral("True") : QStringLiteral("False");
    case TFieldKind::Int32:
      return QString::number(GetInt(record, field));
    case TFieldKind::Double:
      return QString::number(GetDouble(record, field), 'g', QLocale::FloatingPointShortest);
    case TFieldKind::Bytes:
      return QString::fromLatin1(GetBytes(record, field).toHex(' '));
  }
  return {};
}

bool IsEmpty(const uint8_t* record, const TFieldDef& field) {
  switch (field.Kind) {
    case TFieldKind::String:
      return record[field.Offset] == 0;
    case TFieldKind::Double:
      return GetDouble(record, field) == 0.0;
    default: {
      const QByteArray bytes = GetBytes(record, field);
      return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
    }
  }
}
}  // namespace RecordField
