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
#include <QVariant>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>

enum class TFieldKind : uint8_t { String, Bool, Int32, Double, Bytes };

struct TFieldDef {
  const char* Name;
  int Offset;
  TFieldKind Kind;
  int Width;  // characters for a string, bytes for raw bytes; fixed for the other kinds
};

// Field entries for layout tables, one builder per kind.
namespace FieldDefs {
constexpr TFieldDef Str(const char* name, int offset, int width) {
  return {name, offset, TFieldKind::String, width};
}
constexpr TFieldDef Flag(const char* name, int offset) {
  return {name, offset, TFieldKind::Bool, 1};
}
constexpr TFieldDef Int(const char* name, int offset) {
  return {name, offset, TFieldKind::Int32, 4};
}
constexpr TFieldDef Dbl(const char* name, int offset) {
  return {name, offset, TFieldKind::Double, 8};
}
constexpr TFieldDef Raw(const char* name, int offset, int width) {
  return {name, offset, TFieldKind::Bytes, width};
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

// Every field of a record as exports show it (the dump, the CSV export), in layout order: the
// field's layout name and a typed value, a QString for text, bool for a flag, int, double for
// an amount, and for raw bytes their hexadecimal text.
struct TNamedValue {
  QString Name;
  QVariant Value;
};
QList<TNamedValue> NamedValues(const TRecordLayout& layout, const uint8_t* record);

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
