#include <QDir>
#include <cstring>

#include "exchange/PayeeExchange.h"
#include "forms/FormRegistry.h"
#include "platform/Exceptions.h"
#include "platform/SafeFile.h"
#include "storage/DataModule.h"

namespace {
bool InExport(const TFieldDef& field, std::optional<uint8_t> formType) {
  if (!formType) return true;
  const TFormDef* form = FormDefOfField(field.Name);
  return !form || form->FormType == *formType;
}

}  // namespace

std::optional<uint8_t> FormTypeFromName(const QString& name) {
  const TFormDef* def = FormDefBySpelling(name);
  return def ? std::optional<uint8_t>(def->FormType) : std::nullopt;
}

std::vector<const TFieldDef*> ExportFields(std::optional<uint8_t> formType) {
  std::vector<const TFieldDef*> fields;
  for (const TFieldDef& field : PayeeLayout().Fields())
    if (InExport(field, formType)) fields.push_back(&field);
  return fields;
}

QString PayeeCsvValue(const TPayeeRecord& payee, const TFieldDef& field) {
  switch (field.Kind) {
    case TFieldKind::Double:
      return QString::number(payee.GetDouble(&field), 'f', 2);
    case TFieldKind::Bool:
      return payee.GetBool(&field) ? QStringLiteral("true") : QStringLiteral("false");
    case TFieldKind::String:
      return SafeCell(RecordField::AsText(payee.Data(), field));
    default:
      return RecordField::AsText(payee.Data(), field);
  }
}

QByteArray PayeesToCsv(const std::vector<TPayeeRecord>& payees, const TExportOptions& options) {
  const std::vector<const TFieldDef*> fields = ExportFields(options.FormType);
  QStringList cells;
  for (const TFieldDef* field : fields)
    cells << (options.FieldNames ? QLatin1String(field->Name) : ExchangeName(*field));
  QString text = CsvLine(cells);
  for (const TPayeeRecord& payee : payees) {
    cells.clear();
    for (const TFieldDef* field : fields) cells << PayeeCsvValue(payee, *field);
    text += CsvLine(cells);
  }
  QByteArray bytes = options.ByteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
  return bytes + text.toUtf8();
}

std::vector<TPayeeRecord> ReadPayeeFile(const QString& payeeFile) {
  // A payee file holds at most as many payees as an import may bring.
  const QByteArray bytes = ReadRegularFile(payeeFile, qint64(kMaxImportRows) * TPayeeRecord::Size);
  if (bytes.size() % TPayeeRecord::Size != 0)
    throw EInOutError(QStringLiteral("%1 is not a whole number of %2-byte payee records")
                          .arg(QDir::toNativeSeparators(payeeFile))
                          .arg(TPayeeRecord::Size));
  std::vector<TPayeeRecord> payees(size_t(bytes.size() / TPayeeRecord::Size));
  for (size_t i = 0; i < payees.size(); ++i)
    std::memcpy(payees[i].Data(), bytes.constData() + i * TPayeeRecord::Size, TPayeeRecord::Size);
  return payees;
}

namespace {
// The CSV text never goes onto the payee file or its payer file, which the command reads, nor
// onto any other payer file.
TWriteOptions ExportWriteOptions(const QString& payeeFile) {
  TWriteOptions options;
  options.Inputs = QStringList{payeeFile, PayerFileFor(payeeFile)};
  return options;
}
}  // namespace

void CheckExportTarget(const QString& payeeFile, const QString& csvFile) {
  TSafeFile::CheckTarget(csvFile, ExportWriteOptions(payeeFile));
}

void ExportPayees(const QString& payeeFile, const QString& csvFile, const TExportOptions& options) {
  WriteFileSafely(csvFile, PayeesToCsv(ReadPayeeFile(payeeFile), options),
                  ExportWriteOptions(payeeFile));
}
