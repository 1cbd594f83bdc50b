#pragma once
// The byte layouts of the payer record (448 bytes, ".PR25") and the payee record (1536 bytes,
// ".PE25"), kept as tables: every reader and writer of a field goes through its entry.
//
// Encodings: a string of width n takes n+1 bytes, a length byte then Windows-1252 characters
// (bytes after the text keep whatever was there); a flag is one byte (nonzero is set); integers
// are 32-bit and doubles 64-bit IEEE, both little-endian.
#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

enum class TFieldKind : uint8_t { String, Bool, Int32, Double, Bytes };

// What a field holds, beyond its bytes: the rule a value must pass before it may be stored
// (RecordModel.h holds the one check that applies it).
enum class TValueKind : uint8_t {
  Internal,  // kept by the program itself (a record number, the scrambled password): not checked
  Flag,      // a check box: nonzero is set
  Money,     // dollars from 0.00 to kMaxAmount (the screens and the import keep two decimals)
  Percent,   // a whole number from 0 to 100
  Whole,     // a whole number from 0 to the rule's Max
  Date,      // mm/dd/yyyy and a real date; or blank, or the date box's empty mask
  Code,      // one of the rule's list; or blank
  Tin,       // an SSN (NNN-NN-NNNN) or an EIN (NN-NNNNNNN) in shape; or blank
  Zip,       // NNNNN or NNNNN-NNNN; or blank
  Masked,    // a masked edit's text: the mask's dashes, digits or spaces between; or blank
  Text,      // the code page's characters without control characters, within the width
};

enum class TCodeList : uint8_t { None, States, DistCodes };

// The characters a text may hold beyond the code page's.
enum class TTextChars : uint8_t {
  Any,
  Digits,    // 0 to 9
  Account,   // capitals, digits and hyphens
  Capitals,  // capitals and digits
};

struct TFieldRule {
  TValueKind Value = TValueKind::Internal;
  TTextChars Chars = TTextChars::Any;
  bool Upper = false;  // letters are kept as capitals
  TCodeList List = TCodeList::None;
  int32_t Max = 0;             // a whole number's largest value
  const char* Mask = nullptr;  // a masked text's shape: N a digit (or a space), "-" itself
};

// The largest amount a box holds: nine dollar digits and the cents.
constexpr double kMaxAmount = 999999999.99;

struct TFieldDef {
  const char* Name;
  int Offset;
  TFieldKind Kind;
  int Width;  // characters for a string, bytes for raw bytes; fixed for the other kinds
  TFieldRule Rule = {};
};

// Field entries for layout tables, one builder per kind.
namespace FieldDefs {
constexpr TFieldDef Str(const char* name, int offset, int width) {
  return {name, offset, TFieldKind::String, width, {TValueKind::Text}};
}
constexpr TFieldDef Flag(const char* name, int offset) {
  return {name, offset, TFieldKind::Bool, 1, {TValueKind::Flag}};
}
constexpr TFieldDef Int(const char* name, int offset) {
  return {name, offset, TFieldKind::Int32, 4, {TValueKind::Internal}};
}
constexpr TFieldDef Dbl(const char* name, int offset) {
  return {name, offset, TFieldKind::Double, 8, {TValueKind::Money}};
}
constexpr TFieldDef Raw(const char* name, int offset, int width) {
  return {name, offset, TFieldKind::Bytes, width, {TValueKind::Internal}};
}
// A text of only some characters, kept in capitals when upper is set.
constexpr TFieldDef Chars(const char* name, int offset, int width, TTextChars chars,
                          bool upper = false) {
  return {name, offset, TFieldKind::String, width, {TValueKind::Text, chars, upper}};
}
constexpr TFieldDef Secret(const char* name, int offset, int width) {
  return {name, offset, TFieldKind::String, width, {TValueKind::Internal}};
}
constexpr TFieldDef Percent(const char* name, int offset) {
  return {name, offset, TFieldKind::Int32, 4, {TValueKind::Percent}};
}
constexpr TFieldDef Whole(const char* name, int offset, int32_t max) {
  return {name,
          offset,
          TFieldKind::Int32,
          4,
          {TValueKind::Whole, TTextChars::Any, false, TCodeList::None, max}};
}
constexpr TFieldDef Date(const char* name, int offset) {
  return {name, offset, TFieldKind::String, 10, {TValueKind::Date}};
}
constexpr TFieldDef Code(const char* name, int offset, int width, TCodeList list) {
  return {name, offset, TFieldKind::String, width, {TValueKind::Code, TTextChars::Any, true, list}};
}
constexpr TFieldDef Tin(const char* name, int offset) {
  return {name, offset, TFieldKind::String, 11, {TValueKind::Tin}};
}
constexpr TFieldDef Zip(const char* name, int offset) {
  return {name, offset, TFieldKind::String, 10, {TValueKind::Zip}};
}
constexpr TFieldDef Masked(const char* name, int offset, const char* mask) {
  const int width = int(std::char_traits<char>::length(mask));
  return {name,
          offset,
          TFieldKind::String,
          width,
          {TValueKind::Masked, TTextChars::Any, false, TCodeList::None, 0, mask}};
}
}  // namespace FieldDefs

// Bytes a field occupies in the record.
int FieldSize(const TFieldDef& field);

// A field resolved once by name, for code that reads the same field many times.
using TFieldHandle = const TFieldDef*;

class TRecordLayout {
 public:
  TRecordLayout(const char* name, int size, std::span<const TFieldDef> fields);
  const char* Name() const { return FName; }
  int Size() const { return FSize; }
  std::span<const TFieldDef> Fields() const { return FFields; }
  // nullptr for a name the record does not have.
  TFieldHandle Find(std::string_view name) const;
  TFieldHandle Find(const QString& name) const;
  // Throws std::out_of_range naming the field when the record does not have it.
  TFieldHandle Field(std::string_view name) const;

 private:
  const char* FName;
  int FSize;
  std::span<const TFieldDef> FFields;
  std::unordered_map<std::string_view, TFieldHandle> FByName;
};

const TRecordLayout& PayerLayout();
const TRecordLayout& PayeeLayout();

// Typed access to one field of a record's bytes. The kind must match the field's (a mismatch is
// a programming error and throws std::logic_error).
namespace RecordField {
QString GetString(const uint8_t* record, const TFieldDef& field);
void SetString(uint8_t* record, const TFieldDef& field, const QString& text);
bool GetBool(const uint8_t* record, const TFieldDef& field);
void SetBool(uint8_t* record, const TFieldDef& field, bool value);
int32_t GetInt(const uint8_t* record, const TFieldDef& field);
void SetInt(uint8_t* record, const TFieldDef& field, int32_t value);
double GetDouble(const uint8_t* record, const TFieldDef& field);
void SetDouble(uint8_t* record, const TFieldDef& field, double value);
QByteArray GetBytes(const uint8_t* record, const TFieldDef& field);
void SetBytes(uint8_t* record, const TFieldDef& field, const QByteArray& bytes);
// The field as text, for listings: strings as they read, flags "True"/"False", integers in
// decimal, doubles in the shortest form that reads back exactly, bytes in hexadecimal.
QString AsText(const uint8_t* record, const TFieldDef& field);
// True when the field holds nothing: an empty string, a false flag, zero, all zero bytes.
bool IsEmpty(const uint8_t* record, const TFieldDef& field);
}  // namespace RecordField

// A record's bytes with access by field name or handle.
template <int N, const TRecordLayout& (*LayoutOf)()>
class TRecordBuffer {
 public:
  static constexpr int Size = N;
  static const TRecordLayout& Layout() { return LayoutOf(); }
  static TFieldHandle Field(std::string_view name) { return LayoutOf().Field(name); }

  std::array<uint8_t, N> Bytes{};

  uint8_t* Data() { return Bytes.data(); }
  const uint8_t* Data() const { return Bytes.data(); }
  void Clear() { Bytes.fill(0); }
  bool operator==(const TRecordBuffer&) const = default;

  QString GetString(TFieldHandle f) const { return RecordField::GetString(Data(), *f); }
  void SetString(TFieldHandle f, const QString& v) { RecordField::SetString(Data(), *f, v); }
  bool GetBool(TFieldHandle f) const { return RecordField::GetBool(Data(), *f); }
  void SetBool(TFieldHandle f, bool v) { RecordField::SetBool(Data(), *f, v); }
  int32_t GetInt(TFieldHandle f) const { return RecordField::GetInt(Data(), *f); }
  void SetInt(TFieldHandle f, int32_t v) { RecordField::SetInt(Data(), *f, v); }
  double GetDouble(TFieldHandle f) const { return RecordField::GetDouble(Data(), *f); }
  void SetDouble(TFieldHandle f, double v) { RecordField::SetDouble(Data(), *f, v); }

  QString GetString(std::string_view name) const { return GetString(Field(name)); }
  void SetString(std::string_view name, const QString& v) { SetString(Field(name), v); }
  bool GetBool(std::string_view name) const { return GetBool(Field(name)); }
  void SetBool(std::string_view name, bool v) { SetBool(Field(name), v); }
  int32_t GetInt(std::string_view name) const { return GetInt(Field(name)); }
  void SetInt(std::string_view name, int32_t v) { SetInt(Field(name), v); }
  double GetDouble(std::string_view name) const { return GetDouble(Field(name)); }
  void SetDouble(std::string_view name, double v) { SetDouble(Field(name), v); }
};

using TPayerRecord = TRecordBuffer<448, PayerLayout>;
using TPayeeRecord = TRecordBuffer<1536, PayeeLayout>;
