// The files around an import: the saved mappings, the payee file it writes, and the list of the
// rows it left out.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstring>

#include "exchange/PayeeExchange.h"
#include "platform/Exceptions.h"
#include "storage/DataModule.h"
#include "storage/RecordSet.h"

namespace {
const QChar kByteOrderMark(0xFEFF);

QString Quoted(const QString& text) {
  return QLatin1Char('"') + text + QLatin1Char('"');
}

[[noreturn]] void BadMapping(const QString& shownName, const QString& what) {
  throw EConvertError(QStringLiteral("The mapping %1: %2").arg(shownName, what));
}

QString StringOf(const QJsonObject& o, const char* key, const QString& shownName) {
  const QJsonValue v = o.value(QLatin1String(key));
  if (v.isUndefined()) return {};
  if (!v.isString()) BadMapping(shownName, QStringLiteral("\"%1\" must be a text").arg(key));
  return v.toString();
}

int CountOf(const QJsonObject& o, const char* key, const QString& shownName) {
  const QJsonValue v = o.value(QLatin1String(key));
  if (v.isUndefined()) return 0;
  const double d = v.toDouble(-1);
  if (!v.isDouble() || d < 0 || d > 1000 || d != int(d))
    BadMapping(shownName, QStringLiteral("\"%1\" must be a whole number from 0 to 1000").arg(key));
  return int(d);
}

const char* const kMappingKeys[] = {"separator",   "encoding",   "decimal", "dates",
                                    "skip_before", "skip_after", "amount",  "columns"};

void RefuseUnknownKeys(const QJsonObject& o, const QString& shownName) {
  for (const QString& key : o.keys()) {
    bool known = false;
    for (const char* k : kMappingKeys) known = known || key == QLatin1String(k);
    if (!known)
      BadMapping(shownName, QStringLiteral("unknown entry %1 (known: separator, encoding, "
                                           "decimal, dates, skip_before, skip_after, amount, "
                                           "columns)")
                                .arg(Quoted(key)));
  }
}

// The payee file under its lock, read, changed and written whole; before, when given, is what
// the file must still hold.
void WritePayees(const QString& payeeFile, const std::vector<TPayeeRecord>* before,
                 const std::vector<TPayeeUpdate>& updates, const std::vector<TPayeeRecord>& added) {
  if (!QFileInfo(payeeFile).isFile())
    throw EInOutError(
        QStringLiteral("File not found: %1").arg(QDir::toNativeSeparators(payeeFile)));
  ReadPayerOf(payeeFile);
  // The payee file stays locked against other writers from the read to the replacement.
  TRecordSet lock;
  lock.SetRecSize(TPayeeRecord::Size);
  lock.SetFileName(payeeFile);
  lock.SetFileShareMode(smShareDenyWrite);
  lock.SetAutoCreate(false);
  lock.SetShowOpenMode(false);
  lock.OpenRecSet();
  if (!lock.Active()) throw EInOutError(lock.OpenErrText() + QStringLiteral(": ") + payeeFile);
  if (lock.BrowseOnly()) throw EInOutError(FileInUseText(payeeFile));
  std::vector<TPayeeRecord> payees = ReadPayeeFile(payeeFile);
  if (before && payees != *before)
    throw EInOutError(QStringLiteral("%1 changed after the import was checked; nothing was "
                                     "imported. Import the file again")
                          .arg(QDir::toNativeSeparators(payeeFile)));
  for (const TPayeeUpdate& u : updates) payees.at(size_t(u.Record - 1)) = u.Payee;
  if (payees.size() + added.size() > size_t(lock.MaxRec()))
    throw EInOutError(QStringLiteral("The payee file would hold %1 payees; it can hold %2")
                          .arg(payees.size() + added.size())
                          .arg(lock.MaxRec()));
  QByteArray bytes;
  bytes.reserve(qsizetype((payees.size() + added.size()) * TPayeeRecord::Size));
  payees.insert(payees.end(), added.begin(), added.end());
  for (const TPayeeRecord& p : payees)
    bytes.append(reinterpret_cast<const char*>(p.Data()), TPayeeRecord::Size);
  ReplaceFile(payeeFile, bytes);
  lock.CloseRecSet();
}
}  // namespace

qint64 MaxCsvBytes() {
  // The longest cell of each field: a text as UTF-8 (at most 3 bytes a character) with every
  // character a doubled quote, in quotes, and its separator; numbers and flags fit in 24.
  qint64 row = 2;
  for (const TFieldDef& field : PayeeLayout().Fields())
    row += field.Kind == TFieldKind::String ? 3 * qint64(field.Width) * 2 + 3 : 24;
  // Twice over for the columns another program's file may hold beside the payee fields.
  return 2 * row * (kMaxImportRows + 1);
}

QByteArray ReadCsvFile(const QString& path) {
  const QFileInfo info(path);
  const QString shown = QDir::toNativeSeparators(path);
  if (!info.exists()) throw EInOutError(QStringLiteral("File not found: %1").arg(shown));
  if (!info.isFile()) throw EInOutError(QStringLiteral("%1 is not a regular file").arg(shown));
  if (info.size() > MaxCsvBytes())
    throw EInOutError(QStringLiteral("%1 is larger (%2 MB) than a spreadsheet of %3 payees could "
                                     "be (%4 MB); nothing was read")
                          .arg(shown)
                          .arg(info.size() >> 20)
                          .arg(kMaxImportRows)
                          .arg(MaxCsvBytes() >> 20));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw EInOutError(QStringLiteral("Unable to read %1: %2").arg(shown, file.errorString()));
  // Read no more than the limit, should the file grow meanwhile.
  const QByteArray bytes = file.read(MaxCsvBytes() + 1);
  if (file.error() != QFileDevice::NoError)
    throw EInOutError(QStringLiteral("Unable to read %1: %2").arg(shown, file.errorString()));
  if (bytes.size() > MaxCsvBytes())
    throw EInOutError(QStringLiteral("%1 is larger than a spreadsheet of %2 payees could be")
                          .arg(shown)
                          .arg(kMaxImportRows));
  return bytes;
}

// ---- mappings ----------------------------------------------------------------------------------

TImportSettings ImportMappingFromJson(const QByteArray& json, const QString& shownName) {
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
  if (!doc.isObject())
    throw EConvertError(QStringLiteral("The mapping %1 is not a JSON object: %2")
                            .arg(shownName, error.errorString()));
  const QJsonObject o = doc.object();
  RefuseUnknownKeys(o, shownName);
  TImportSettings s;
  const QString sep = StringOf(o, "separator", shownName);
  QChar separator;
  if (SeparatorFromName(sep, separator))
    s.Separator = separator;
  else if (!sep.isEmpty())
    BadMapping(
        shownName,
        QStringLiteral("unknown separator %1 (\",\", \";\", \"tab\" or \"|\")").arg(Quoted(sep)));
  const QString enc = StringOf(o, "encoding", shownName);
  TCsvEncoding encoding;
  if (EncodingFromName(enc, encoding))
    s.Encoding = encoding;
  else if (!enc.isEmpty())
    BadMapping(shownName, QStringLiteral("unknown encoding %1").arg(Quoted(enc)));
  const QString decimal = StringOf(o, "decimal", shownName);
  if (decimal == QLatin1String(".") || decimal == QLatin1String(","))
    s.Decimal = decimal[0];
  else if (!decimal.isEmpty())
    BadMapping(shownName, QStringLiteral("the decimal symbol must be \".\" or \",\""));
  const QString dates = StringOf(o, "dates", shownName);
  if (!dates.isEmpty() && !DateOrderFromName(dates, s.Dates))
    BadMapping(shownName, QStringLiteral("\"dates\" must be \"MDY\", \"DMY\" or \"YMD\""));
  s.SkipBefore = CountOf(o, "skip_before", shownName);
  s.SkipAfter = CountOf(o, "skip_after", shownName);
  s.AmountField = StringOf(o, "amount", shownName);
  const QJsonValue columns = o.value(QStringLiteral("columns"));
  if (!columns.isUndefined() && !columns.isObject())
    BadMapping(shownName, QStringLiteral("\"columns\" must be an object of header: field"));
  const QJsonObject map = columns.toObject();
  for (auto it = map.begin(); it != map.end(); ++it) {
    if (!it.value().isString())
      BadMapping(shownName, QStringLiteral("the field of column %1 must be a text (\"\" leaves "
                                           "the column out)")
                                .arg(Quoted(it.key())));
    s.Columns.insert(it.key().trimmed(), it.value().toString());
  }
  return s;
}

TImportSettings LoadImportMapping(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw EConvertError(QStringLiteral("Unable to read the mapping %1").arg(path));
  // A mapping names a few dozen columns; a megabyte is far more than any.
  constexpr qint64 kMaxMappingBytes = qint64(1) << 20;
  if (file.size() > kMaxMappingBytes)
    throw EConvertError(QStringLiteral("The mapping %1 is larger than any mapping").arg(path));
  return ImportMappingFromJson(file.readAll(), path);
}

QByteArray ImportMappingJson(const TImportSettings& settings) {
  QJsonObject o;
  if (settings.Separator) o.insert(QStringLiteral("separator"), SeparatorName(*settings.Separator));
  if (settings.Encoding) o.insert(QStringLiteral("encoding"), EncodingName(*settings.Encoding));
  if (settings.Decimal) o.insert(QStringLiteral("decimal"), QString(*settings.Decimal));
  o.insert(QStringLiteral("dates"), DateOrderName(settings.Dates));
  if (settings.SkipBefore > 0) o.insert(QStringLiteral("skip_before"), settings.SkipBefore);
  if (settings.SkipAfter > 0) o.insert(QStringLiteral("skip_after"), settings.SkipAfter);
  if (!settings.AmountField.isEmpty()) o.insert(QStringLiteral("amount"), settings.AmountField);
  QJsonObject columns;
  for (auto it = settings.Columns.begin(); it != settings.Columns.end(); ++it)
    columns.insert(it.key(), it.value());
  o.insert(QStringLiteral("columns"), columns);
  return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

void SaveImportMapping(const QString& path, const TImportSettings& settings) {
  ReplaceFile(path, ImportMappingJson(settings));
}

// ---- writing -----------------------------------------------------------------------------------

TPayerRecord ReadPayerOf(const QString& payeeFile) {
  const QString payerFile = PayerFileFor(payeeFile);
  QFile file(payerFile);
  if (!file.open(QIODevice::ReadOnly))
    throw EInOutError(
        QStringLiteral("File not found: %1").arg(QDir::toNativeSeparators(payerFile)));
  const QByteArray bytes = file.read(TPayerRecord::Size);
  if (bytes.size() != TPayerRecord::Size)
    throw EInOutError(QStringLiteral("Unable to read the payer record of %1")
                          .arg(QDir::toNativeSeparators(payerFile)));
  TPayerRecord payer;
  std::memcpy(payer.Data(), bytes.constData(), TPayerRecord::Size);
  return payer;
}

void ApplyImport(const QString& payeeFile, const TImportPlan& plan) {
  if (!plan.Importable())
    throw EInOutError(
        QStringLiteral("The import has problems or nothing to do; nothing was "
                       "imported"));
  // Every row skipped or left out: the payee file stays as it is.
  if (plan.Updates.empty() && plan.Payees.empty()) return;
  WritePayees(payeeFile, &plan.Before, plan.Updates, plan.Payees);
}

void AppendPayees(const QString& payeeFile, const std::vector<TPayeeRecord>& payees) {
  WritePayees(payeeFile, nullptr, {}, payees);
}

QByteArray BadRowsCsv(const TImportPlan& plan) {
  QMap<int, QStringList> problems;
  for (const TImportProblem& p : plan.Problems) problems[p.Line] << p.Text();
  const QChar sep = plan.Format.Separator;
  QString text =
      kByteOrderMark + CsvLine(QStringList(plan.Headers) << QStringLiteral("Problems"), sep);
  for (const TCsvRow& row : plan.Rows) {
    if (!plan.BadLines.contains(row.Line)) continue;
    QStringList cells;
    for (const QString& cell : row.Cells) cells << SafeCell(cell);
    while (cells.size() < plan.Headers.size()) cells << QString();
    cells << problems.value(row.Line).join(QStringLiteral("; "));
    text += CsvLine(cells, sep);
  }
  return text.toUtf8();
}

QString BadRowsFileFor(const QString& csvFile) {
  const QFileInfo info(csvFile);
  return info.dir().filePath(info.completeBaseName() + QStringLiteral(" not imported.csv"));
}
