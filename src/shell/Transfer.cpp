#include "shell/Transfer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/Exceptions.h"
#include "storage/DataModule.h"
#include "storage/RecordModel.h"

namespace {
using namespace FieldDefs;

// Last year's payee record, kept apart from this year's table in storage/RecordLayout.cpp on
// purpose: it describes files a released version wrote and that will never change, while this
// year's layout grows with the forms. The two share the field builders (FieldDefs) and nothing
// else; sharing field positions would let a change to this year's record misread every file
// carried forward. The payer record did not change between the years, so it is read with this
// year's layout.
// clang-format off
constexpr TFieldDef kPriorPayeeFields[] = {
  Int("TransferRecNo", 0),      Flag("Individual", 4),        Str("PayeeName", 5, 40),
  Str("LastName", 46, 20),      Str("FirstName", 67, 20),     Str("CompName", 88, 40),
  Str("Address1", 129, 30),     Str("City", 160, 16),         Str("State", 177, 2),
  Str("ZipCode", 180, 10),      Str("CityStZip", 191, 30),    Str("SSN_IDNum", 222, 11),
  Str("AcctNum1098", 234, 25),  Str("AcctNum1099DIV", 260, 25), Str("AcctNum1099INT", 286, 25),
  Str("AcctNum1099MISC", 312, 25), Str("AcctNum1099NEC", 338, 25), Str("AcctNum1099R", 364, 25),
  Str("AcctNum1099S", 390, 25),
  Flag("Corrected1098", 416),   Flag("Corrected1099DIV", 417), Flag("Corrected1099INT", 418),
  Flag("Corrected1099MISC", 419), Flag("Corrected1099NEC", 420), Flag("Corrected1099R", 421),
  Flag("Corrected1099S", 422),  Raw("Spare423", 423, 7),
  Flag("SecTINnot1099DIV", 430), Flag("SecTINnot1099INT", 431), Flag("SecTINnot1099MISC", 432),
  Flag("SecTINnot1099NEC", 433),
  Flag("FATCA1099DIV", 434),    Flag("FATCA1099INT", 435),    Flag("FATCA1099MISC", 436),
  Raw("Spare437", 437, 1),      Flag("FATCA1099R", 438),      Raw("Spare439", 439, 1),
  // Last year's form blocks: amounts and boxes of a year that is over.
  Raw("PriorFormBlocks", 440, 1088),
};

constexpr const char* kPayerTransferred[] = {
  "PayerName", "TradeName", "Address1", "Address2", "City", "State", "ZipCode", "CityStZip",
  "Contact", "PhoneNum", "FaxNum", "Email", "EmpIDNum", "SocSecNum", "StateName1", "StateName2",
  "StateID1", "StateID2", "Locality1", "Locality2", "RTN", "FilePassword", "SignerName",
  "SignerTitle", "SignerPresent",
};

constexpr const char* kPayeeTransferred[] = {
  "Individual", "PayeeName", "LastName", "FirstName", "CompName", "Address1", "City", "State",
  "ZipCode", "CityStZip", "SSN_IDNum",
  "AcctNum1098", "AcctNum1099DIV", "AcctNum1099INT", "AcctNum1099MISC", "AcctNum1099NEC",
  "AcctNum1099R", "AcctNum1099S",
  "SecTINnot1099DIV", "SecTINnot1099INT", "SecTINnot1099MISC", "SecTINnot1099NEC",
  "FATCA1099DIV", "FATCA1099INT", "FATCA1099MISC", "Spare437", "FATCA1099R",
};
// clang-format on

// A text keeps its length byte (never more than the narrower width) and exactly its characters,
// so nothing passes through a code page; the bytes after the text stay zero.
void CopyField(const uint8_t* from, const TFieldDef& src, uint8_t* to, const TFieldDef& dst) {
  if (src.Kind != dst.Kind)
    throw std::logic_error(std::string("transferred field ") + src.Name + " changed its kind");
  if (src.Kind == TFieldKind::String) {
    const int length = std::min<int>(from[src.Offset], std::min(src.Width, dst.Width));
    to[dst.Offset] = static_cast<uint8_t>(length);
    std::memcpy(to + dst.Offset + 1, from + src.Offset + 1, static_cast<size_t>(length));
    return;
  }
  std::memcpy(to + dst.Offset, from + src.Offset,
              static_cast<size_t>(std::min(FieldSize(src), FieldSize(dst))));
}

template <typename TRecord>
void CopyFields(const uint8_t* prior, const TRecordLayout& priorLayout,
                std::span<const char* const> names, TRecord& record) {
  for (const char* name : names) {
    const TFieldDef& src = *priorLayout.Field(name);
    const TFieldHandle dst = TRecord::Layout().Find(std::string_view(name));
    CopyField(prior, src, record.Data(), dst ? *dst : src);
  }
}

// Empties every carried field whose value this year's record may not hold, and says which.
template <typename TRecord>
void EmptyRefused(TRecord& record, std::span<const char* const> names, QStringList* leftEmpty) {
  for (const char* name : names) {
    const TFieldHandle field = TRecord::Layout().Find(std::string_view(name));
    if (!field) continue;
    const std::optional<QString> reason = StoredProblem(record.Data(), *field);
    if (!reason) continue;
    if (leftEmpty)
      *leftEmpty << QStringLiteral("field %1 \"%2\" %3")
                        .arg(QLatin1String(name), ValueText(StoredValue(record.Data(), *field)),
                             *reason);
    std::memset(record.Data() + field->Offset, 0, static_cast<size_t>(FieldSize(*field)));
  }
}

[[noreturn]] void FileError(const char* action, const QString& path, const QString& reason) {
  throw EInOutError(QStringLiteral("Unable to %1 %2: %3")
                        .arg(QLatin1String(action), QDir::toNativeSeparators(path), reason));
}

// The prior-year program ran where file names ignore letter case; find "x.PE24" as "x.pe24" too.
QString ExistingSpelling(const QString& path) {
  if (QFileInfo::exists(path)) return path;
  const QFileInfo info(path);
  const QStringList found =
      info.dir().entryList({info.fileName()}, QDir::Files | QDir::Hidden | QDir::System);
  return found.isEmpty() ? path : info.dir().filePath(found.first());
}

QByteArray ReadPriorPayer(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) FileError("read", path, file.errorString());
  const QByteArray bytes = file.read(PriorPayerRecSize);
  if (file.error() != QFileDevice::NoError) FileError("read", path, file.errorString());
  if (bytes.size() != PriorPayerRecSize)
    FileError("read", path, QStringLiteral("the file ends before the payer record"));
  return bytes;
}

void Commit(QSaveFile& file) {
  if (!file.commit()) FileError("write", file.fileName(), file.errorString());
}

void WriteAllOrFail(QSaveFile& file, const char* data, qint64 size) {
  if (file.write(data, size) != size) FileError("write", file.fileName(), file.errorString());
}

// Every whole prior-year payee record, in order; a partial record at the end carries no payee.
void WritePayees(const QString& oldPayee, const QString& newPayee, QStringList* leftEmpty) {
  QFile in(oldPayee);
  if (!in.open(QIODevice::ReadOnly)) FileError("read", oldPayee, in.errorString());
  QSaveFile out(newPayee);
  if (!out.open(QIODevice::WriteOnly)) FileError("write", newPayee, out.errorString());
  const qint64 count = in.size() / PriorPayeeRecSize;
  QByteArray prior(PriorPayeeRecSize, '\0');
  QStringList refused;
  for (qint64 r = 0; r < count; ++r) {
    if (in.read(prior.data(), PriorPayeeRecSize) != PriorPayeeRecSize)
      FileError("read", oldPayee, in.errorString());
    refused.clear();
    const TPayeeRecord record =
        TransferPayeeRecord(reinterpret_cast<const uint8_t*>(prior.constData()),
                            static_cast<int32_t>(r + 1), leftEmpty ? &refused : nullptr);
    for (const QString& line : refused)
      *leftEmpty << QStringLiteral("%1, payee %2 (%3): %4")
                        .arg(QFileInfo(oldPayee).fileName())
                        .arg(r + 1)
                        .arg(record.GetString("PayeeName").trimmed(), line);
    WriteAllOrFail(out, reinterpret_cast<const char*>(record.Data()), TPayeeRecord::Size);
  }
  Commit(out);
}

void WritePayer(const QByteArray& prior, const QString& oldPayer, const QString& newPayer,
                QStringList* leftEmpty) {
  QStringList refused;
  const TPayerRecord record = TransferPayerRecord(
      reinterpret_cast<const uint8_t*>(prior.constData()), leftEmpty ? &refused : nullptr);
  for (const QString& line : refused)
    *leftEmpty << QStringLiteral("%1, payer: %2").arg(QFileInfo(oldPayer).fileName(), line);
  QSaveFile out(newPayer);
  if (!out.open(QIODevice::WriteOnly)) FileError("write", newPayer, out.errorString());
  WriteAllOrFail(out, reinterpret_cast<const char*>(record.Data()), TPayerRecord::Size);
  Commit(out);
}
}  // namespace

const TRecordLayout& PriorPayerLayout() {
  return PayerLayout();
}

const TRecordLayout& PriorPayeeLayout() {
  static const TRecordLayout layout("PriorPayee", PriorPayeeRecSize, kPriorPayeeFields);
  return layout;
}

std::span<const char* const> TransferredPayerFields() {
  return kPayerTransferred;
}
std::span<const char* const> TransferredPayeeFields() {
  return kPayeeTransferred;
}

TPayerRecord TransferPayerRecord(const uint8_t* prior, QStringList* leftEmpty) {
  TPayerRecord record;
  CopyFields(prior, PriorPayerLayout(), TransferredPayerFields(), record);
  record.SetBool("OpenPayerOnLoad", false);
  EmptyRefused(record, TransferredPayerFields(), leftEmpty);
  DerivePayerFields(record);
  return record;
}

// The taxpayer number takes its dashes before it is judged; the fields made from others are made
// again once the refused values are gone, so the city line holds no ZIP code left out.
TPayeeRecord TransferPayeeRecord(const uint8_t* prior, int32_t recNo, QStringList* leftEmpty) {
  TPayeeRecord record;
  record.SetInt("TransferRecNo", recNo);
  CopyFields(prior, PriorPayeeLayout(), TransferredPayeeFields(), record);
  DerivePayeeFields(record);
  EmptyRefused(record, TransferredPayeeFields(), leftEmpty);
  DerivePayeeFields(record);
  return record;
}

TTransferFiles TransferFileNames(const QString& priorFolder, const QString& name,
                                 const QString& dataFolder) {
  return {priorFolder + name,
          ExistingSpelling(priorFolder + ChangeFileExt(name, QStringLiteral(".PE24"))),
          dataFolder + ChangeFileExt(name, QStringLiteral(".PR25")),
          dataFolder + ChangeFileExt(name, QStringLiteral(".PE25"))};
}

QStringList PriorYearPayerFiles(const QString& priorFolder, const QString& dataFolder) {
  QStringList names =
      QDir(priorFolder)
          .entryList({QStringLiteral("*.PR24")}, QDir::Files | QDir::Hidden | QDir::System,
                     QDir::Name | QDir::IgnoreCase);
  for (QString& name : names)
    if (QFileInfo::exists(dataFolder + ChangeFileExt(name, QStringLiteral(".PR25"))))
      name.prepend(QLatin1Char('*'));
  return names;
}

// The payee file is written first and the payer file last: a ".PR25" file is what marks a
// payer file as transferred, so it only appears once its payees are safely in place.
bool TransferPayerFile(const QString& priorFolder, const QString& name, const QString& dataFolder,
                       bool noOverwrite, QStringList* leftEmpty) {
  const TTransferFiles files = TransferFileNames(priorFolder, name, dataFolder);
  if (noOverwrite && QFileInfo::exists(files.NewPayer)) return false;
  const QByteArray payer = ReadPriorPayer(files.OldPayer);
  WritePayees(files.OldPayee, files.NewPayee, leftEmpty);
  WritePayer(payer, files.OldPayer, files.NewPayer, leftEmpty);
  return true;
}
