#include <QDir>
#include <cstring>

#include "exchange/PayeeExchange.h"
#include "platform/Exceptions.h"
#include "platform/SafeFile.h"
#include "storage/DataModule.h"

namespace {
// The part of a field name that tells its form; common fields carry none of them.
constexpr const char* kFormTags[] = {"1098",    "1099DIV", "1099INT", "1099MISC",
                                     "1099NEC", "1099R",   "1099S"};

std::optional<uint8_t> FormOfField(const char* name) {
  const QLatin1String n(name);
  for (uint8_t t = 0; t < std::size(kFormTags); ++t)
    if (n.contains(QLatin1String(kFormTags[t]))) return t;
  return std::nullopt;
}

bool InExport(const TFieldDef& field, std::optional<uint8_t> formType) {
  if (!formType) return true;
  const std::optional<uint8_t> form = FormOfField(field.Name);
  return !form || form == formType;
}

}  // namespace

std::optional<uint8_t> FormTypeFromName(const QString& name) {
  QString n = name.toUpper();
  n.remove(QLatin1Char('-')).remove(QLatin1Char(' ')).remove(QLatin1String("FORM"));
  for (uint8_t t = 0; t < std::size(kFormTags); ++t) {
    const QLatin1String tag(kFormTags[t]);
    if (n == tag || (t > 0 && QLatin1String("1099") + n == tag)) return t;
  }
  return std::nullopt;
}

QStringList PayeeColumns(std::optional<uint8_t> formType) {
  QStringList columns;
  for (const TFieldDef& field : PayeeLayout().Fields())
    if (InExport(field, formType)) columns << QLatin1String(field.Name);
  return columns;
}

QString PayeeCsvValue(const TPayeeRecord& payee, const TFieldDef& field) {
  switch (field.Kind) {
    case TFieldKind::Double:
      return QString::number(payee.GetDouble(&field), 'f', 2);
    case TFieldKind::Bool:
      return payee.GetBool(&field) ? QStringLiteral("true") : QStringLiteral("false");
    default:
      return RecordField::AsText(payee.Data(), field);
  }
}

QByteArray PayeesToCsv(const std::vector<TPayeeRecord>& payees, std::optional<uint8_t> formType) {
  std::vector<const TFieldDef*> fields;
  for (const TFieldDef& field : PayeeLayout().Fields())
    if (InExport(field, formType)) fields.push_back(&field);
  QString text = CsvLine(PayeeColumns(formType));
  QStringList cells;
  for (const TPayeeRecord& payee : payees) {
    cells.clear();
    for (const TFieldDef* field : fields) cells << PayeeCsvValue(payee, *field);
    text += CsvLine(cells);
  }
  return text.toUtf8();
}

std::vector<TPayeeRecord> ReadPayeeFile(const QString& payeeFile) {
  const QByteArray bytes = ReadRegularFile(payeeFile, qint64(MaxPayees) * TPayeeRecord::Size);
  if (bytes.size() % TPayeeRecord::Size != 0)
    throw EInOutError(QStringLiteral("%1 is not a whole number of %2-byte payee records")
                          .arg(QDir::toNativeSeparators(payeeFile))
                          .arg(TPayeeRecord::Size));
  std::vector<TPayeeRecord> payees(size_t(bytes.size() / TPayeeRecord::Size));
  for (size_t i = 0; i < payees.size(); ++i)
    std::memcpy(payees[i].Data(), bytes.constData() + i * TPayeeRecord::Size, TPayeeRecord::Size);
  return payees;
}

// The CSV text replaces the target whole; it never goes onto the payee file or its payer file,
// which the command reads, nor onto any other payer file.
namespace {
TWriteOptions ExportOptions(const QString& payeeFile) {
  TWriteOptions options;
  options.Inputs = QStringList{payeeFile, PayerFileFor(payeeFile)};
  return options;
}
}  // namespace

void CheckExportTarget(const QString& payeeFile, const QString& csvFile) {
  TSafeFile::CheckTarget(csvFile, ExportOptions(payeeFile));
}

void ExportPayees(const QString& payeeFile, const QString& csvFile,
                  std::optional<uint8_t> formType) {
  WriteFileSafely(csvFile, PayeesToCsv(ReadPayeeFile(payeeFile), formType),
                  ExportOptions(payeeFile));
}

qint64 MaxCsvBytes() {
  // The longest cell of each field: a text as UTF-8 (at most 3 bytes a character) with every
  // character a doubled quote, in quotes, and its separator; numbers and flags fit in 24.
  qint64 row = 2;
  for (const TFieldDef& field : PayeeLayout().Fields())
    row += field.Kind == TFieldKind::String ? 3 * qint64(field.Width) * 2 + 3 : 24;
  // Twice over for the columns another program's file may hold beside the payee fields.
  return 2 * row * (MaxPayees + 1);
}
