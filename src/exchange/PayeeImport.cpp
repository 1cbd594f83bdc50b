#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <cstring>

#include "core/Utils.h"
#include "exchange/PayeeExchange.h"
#include "forms/FormChecks.h"
#include "platform/Exceptions.h"
#include "storage/DataModule.h"
#include "storage/RecordModel.h"
#include "storage/RecordSet.h"

namespace {
// An empty date box stores its mask.
const QString kEmptyDate = QStringLiteral("  /  /    ");

bool IsDate(const TFieldDef& field) {
  return field.Rule.Value == TValueKind::Date;
}

QString Squeezed(const QString& text) {
  QString n = text.toLower();
  n.remove(QRegularExpression(QStringLiteral("[\\s_]")));
  return n;
}

// Common headers of accounting programs and banks for the payee fields.
const QHash<QString, QString>& Synonyms() {
  static const QHash<QString, QString> map = {
      {"name", "PayeeName"},     {"vendor", "PayeeName"},      {"vendorname", "PayeeName"},
      {"payee", "PayeeName"},    {"recipient", "PayeeName"},   {"recipientname", "PayeeName"},
      {"tin", "SSN_IDNum"},      {"taxid", "SSN_IDNum"},       {"ssn", "SSN_IDNum"},
      {"ein", "SSN_IDNum"},      {"taxidnumber", "SSN_IDNum"}, {"federalid", "SSN_IDNum"},
      {"address", "Address1"},   {"street", "Address1"},       {"streetaddress", "Address1"},
      {"city", "City"},          {"state", "State"},           {"st", "State"},
      {"zip", "ZipCode"},        {"zipcode", "ZipCode"},       {"postalcode", "ZipCode"},
      {"tradename", "CompName"}, {"dba", "CompName"},          {"lastname", "LastName"},
      {"firstname", "FirstName"}};
  return map;
}

bool IsAmountHeader(const QString& squeezed) {
  return squeezed == QLatin1String("amount") || squeezed == QLatin1String("1099amount") ||
         squeezed == QLatin1String("total") || squeezed == QLatin1String("totalpaid");
}

// ---- values ------------------------------------------------------------------------------------

struct TCell {
  const TFieldDef* Field;
  QString Text;
};

QString Quoted(const QString& text) {
  return QLatin1Char('"') + text + QLatin1Char('"');
}

// "$1,234.50", "-1234.5", "(12.00)": dollars with at most two decimals and nine dollar digits.
std::optional<double> ParseAmount(const QString& text) {
  QString t = text.trimmed();
  if (t.isEmpty()) return 0.0;
  bool negative = false;
  if (t.startsWith(QLatin1Char('(')) && t.endsWith(QLatin1Char(')'))) {
    negative = true;
    t = t.mid(1, t.size() - 2).trimmed();
  }
  for (int pass = 0; pass < 2; ++pass) {
    if (t.startsWith(QLatin1Char('-')) && !negative) {
      negative = true;
      t = t.mid(1).trimmed();
    }
    if (t.startsWith(QLatin1Char('$'))) t = t.mid(1).trimmed();
  }
  static const QRegularExpression form(
      QStringLiteral("^(\\d{1,3}(,\\d{3})+|\\d+)?(\\.\\d{1,2})?$"));
  if (t.isEmpty() || t == QLatin1String(".") || !form.match(t).hasMatch()) return std::nullopt;
  t.remove(QLatin1Char(','));
  const double value = t.toDouble();
  if (value > 999999999.99) return std::nullopt;
  return negative ? -value : value;
}

std::optional<bool> ParseFlag(const QString& text) {
  const QString t = text.trimmed().toLower();
  static const QStringList yes = {"true", "yes", "1", "x"};
  static const QStringList no = {"false", "no", "0", ""};
  if (yes.contains(t)) return true;
  if (no.contains(t)) return false;
  return std::nullopt;
}

std::optional<QString> DateText(const QString& text) {
  if (IsBlank(text) || text == kEmptyDate) return text;
  int m = 0, d = 0, y = 0;
  if (!ParseDateText(text.trimmed(), m, d, y) || !QDate(y, m, d).isValid()) return std::nullopt;
  return EncodeDateText(m, d, y);
}

// What the record model says of a value about to be stored, quoting the cell's text.
std::optional<QString> Refused(const TCell& cell, const TFieldValue& value) {
  const std::optional<QString> reason = ValueProblem(*cell.Field, value);
  if (!reason) return std::nullopt;
  return Quoted(cell.Text) + QLatin1Char(' ') + *reason;
}

// A text as its field keeps it: trimmed, in capitals where the field keeps them, a date as
// MM/DD/YYYY, a taxpayer number with the dashes of the payee's kind.
std::optional<QString> TextValue(const TFieldDef& field, const QString& cell,
                                 const TPayeeRecord& payee) {
  const QString text = NormalizedText(field, cell);
  if (IsDate(field)) return DateText(text);
  if (field.Rule.Value == TValueKind::Tin) return TinWithDashes(text, payee.GetBool("Individual"));
  return text;
}

// Stores the cell into the payee; the problem's message when its text is not a value of the
// field or the value may not be stored there.
std::optional<QString> StoreCell(const TCell& cell, TPayeeRecord& payee) {
  const TFieldDef& f = *cell.Field;
  switch (f.Kind) {
    case TFieldKind::Double: {
      const auto value = ParseAmount(cell.Text);
      if (!value) return QStringLiteral("%1 is not an amount").arg(Quoted(cell.Text));
      if (auto problem = Refused(cell, *value)) return problem;
      payee.SetDouble(&f, *value);
      return std::nullopt;
    }
    case TFieldKind::Bool: {
      const auto value = ParseFlag(cell.Text);
      if (!value)
        return QStringLiteral("%1 is not a check mark (true/false, yes/no, 1/0, x or empty)")
            .arg(Quoted(cell.Text));
      payee.SetBool(&f, *value);
      return std::nullopt;
    }
    case TFieldKind::Int32: {
      bool ok = true;
      const QString t = cell.Text.trimmed();
      const int value = t.isEmpty() ? 0 : t.toInt(&ok);
      if (!ok) return QStringLiteral("%1 is not a whole number").arg(Quoted(cell.Text));
      if (auto problem = Refused(cell, int32_t(value))) return problem;
      payee.SetInt(&f, value);
      return std::nullopt;
    }
    case TFieldKind::String: {
      const std::optional<QString> text = TextValue(f, cell.Text, payee);
      if (!text) return QStringLiteral("%1 is not a date (MM/DD/YYYY)").arg(Quoted(cell.Text));
      if (auto problem = Refused(cell, *text)) return problem;
      payee.SetString(&f, *text);
      return std::nullopt;
    }
    case TFieldKind::Bytes:
      break;
  }
  return QStringLiteral("The field cannot be imported");
}

// ---- checks ------------------------------------------------------------------------------------

// A payee record and its payer as the entries the screens' checks read.
class TRecordEntries : public TPayeeEntries {
 public:
  TRecordEntries(const TPayeeRecord& payee, const TPayerRecord& payer)
      : FPayee(payee), FPayer(payer) {}
  QString Text(const QString& field) const override {
    const TFieldHandle f = PayeeLayout().Find(field);
    return f ? RecordField::AsText(FPayee.Data(), *f) : QString();
  }
  double Money(const QString& field) const override {
    const TFieldHandle f = PayeeLayout().Find(field);
    return f && f->Kind == TFieldKind::Double ? FPayee.GetDouble(f) : 0.0;
  }
  bool Flag(const QString& field) const override {
    const TFieldHandle f = PayeeLayout().Find(field);
    return f && f->Kind == TFieldKind::Bool && FPayee.GetBool(f);
  }
  QString Label(const QString& label) const override {
    return PayerLineLabel(label, FPayer.Data());
  }
  bool Filled(const QString& field) const override {
    const TFieldHandle f = PayeeLayout().Find(field);
    if (!f) return false;
    if (IsDate(*f)) return Text(field) != kEmptyDate && !IsBlank(Text(field));
    if (f->Kind == TFieldKind::String) return !IsBlank(Text(field));
    return !RecordField::IsEmpty(FPayee.Data(), *f);
  }

 private:
  const TPayeeRecord& FPayee;
  const TPayerRecord& FPayer;
};

QString OneLine(const QString& message) {
  QString m = message;
  m.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
  return m.simplified();
}

class TPlanner {
 public:
  TPlanner(TImportPlan& plan, const TPayerRecord& payer) : P(plan), FPayer(payer) {}

  void MapColumns(const TImportSettings& settings) {
    QHash<QString, QString> takenBy;
    for (const QString& header : P.Headers) {
      const QString field = FieldOf(header, settings);
      P.Fields << field;
      if (field.isEmpty()) continue;
      if (takenBy.contains(field))
        Problem(P.HeaderLine, header,
                QStringLiteral("Column %1 already goes to the field %2")
                    .arg(Quoted(takenBy.value(field)), field));
      takenBy.insert(field, header);
    }
  }

  void Row(const TCsvRow& row) {
    TPayeeRecord payee;
    const int before = int(P.Problems.size());
    if (row.Cells.size() > P.Headers.size())
      Problem(row.Line, QString(), QStringLiteral("The line has more fields than the header row"));
    // The tax number takes its dashes from the Individual box, so it is stored last.
    for (int pass = 0; pass < 2; ++pass)
      for (qsizetype c = 0; c < row.Cells.size() && c < P.Fields.size(); ++c) {
        if (P.Fields[c].isEmpty() || (P.Fields[c] == QLatin1String("SSN_IDNum")) != (pass == 1))
          continue;
        const TCell cell{PayeeLayout().Find(P.Fields[c]), row.Cells[c]};
        if (auto problem = StoreCell(cell, payee)) Problem(row.Line, P.Headers[c], *problem);
      }
    DerivePayeeFields(payee);
    NoteMadeFields(row, payee);
    if (int(P.Problems.size()) == before) Check(row.Line, payee);
    P.Payees.push_back(payee);
  }

  // Says which columns of made fields the payees did not take, and on which lines.
  void Finish() {
    for (auto it = FUnused.cbegin(); it != FUnused.cend(); ++it) {
      const qsizetype c = it.key();
      const bool city = P.Fields[c] == QLatin1String("CityStZip");
      P.Notes << QStringLiteral("Column %1: %2; the column's text was not used on %3")
                     .arg(Quoted(P.Headers[c]),
                          city ? QStringLiteral("the city line is made from City, State and "
                                                "ZipCode")
                               : QStringLiteral("an individual's name is made from FirstName "
                                                "and LastName"),
                          LineList(it.value()));
    }
  }

 private:
  QString FieldOf(const QString& header, const TImportSettings& settings) {
    const QString key = header.trimmed();
    if (settings.Columns.contains(key)) {
      const QString field = settings.Columns.value(key);
      if (field.isEmpty() || PayeeLayout().Find(field)) return field;
      Problem(P.HeaderLine, header, QStringLiteral("%1 is not a payee field").arg(Quoted(field)));
      return {};
    }
    const QString field = FieldForHeader(key, settings.Synonyms, settings.AmountField);
    if (field.isEmpty())
      Problem(P.HeaderLine, header, QStringLiteral("The column names no payee field"));
    return field;
  }

  // A made field is made from its sources whatever its column says; a text that differs is
  // remembered for the notes.
  void NoteMadeFields(const TCsvRow& row, const TPayeeRecord& payee) {
    for (qsizetype c = 0; c < row.Cells.size() && c < P.Fields.size(); ++c) {
      const QString& field = P.Fields[c];
      const bool made = field == QLatin1String("CityStZip") ||
                        (field == QLatin1String("PayeeName") && payee.GetBool("Individual"));
      if (made && row.Cells[c].trimmed() != payee.GetString(field.toLatin1().constData()))
        FUnused[c] << row.Line;
    }
  }

  static QString LineList(const QList<int>& lines) {
    QStringList numbers;
    for (int line : lines) numbers << QString::number(line);
    return (lines.size() == 1 ? QStringLiteral("line ") : QStringLiteral("lines ")) +
           numbers.join(QStringLiteral(", "));
  }

  void Check(int line, TPayeeRecord& payee) {
    const TRecordEntries entries(payee, FPayer);
    Report(line, CheckPayeeEntries(entries));
    for (uint8_t form = 0; form < 7; ++form) Report(line, CheckFormEntries(form, entries));
  }

  void Report(int line, const TCheckResult& problem) {
    if (!problem) return;
    const qsizetype c = P.Fields.indexOf(problem->Field);
    Problem(line, c >= 0 ? P.Headers[c] : problem->Field + QStringLiteral(" (no column)"),
            OneLine(problem->Message));
  }

  void Problem(int line, const QString& column, const QString& message) {
    P.Problems.push_back({line, column, message});
  }

  TImportPlan& P;
  const TPayerRecord& FPayer;
  QMap<qsizetype, QList<int>> FUnused;  // column -> lines whose text a made field did not take
};
}  // namespace

QString FieldForHeader(const QString& header, bool synonyms, const QString& amountField) {
  const QString squeezed = Squeezed(header);
  for (const TFieldDef& field : PayeeLayout().Fields())
    if (Squeezed(QLatin1String(field.Name)) == squeezed) return QLatin1String(field.Name);
  if (!synonyms) return {};
  if (IsAmountHeader(squeezed)) return amountField;
  return Synonyms().value(squeezed);
}

QString TImportProblem::Text() const {
  if (Column.isEmpty()) return QStringLiteral("Line %1: %2").arg(Line).arg(Message);
  return QStringLiteral("Line %1, column %2: %3").arg(Line).arg(Quoted(Column), Message);
}

QString TImportPlan::Report() const {
  QStringList lines;
  for (const TImportProblem& p : Problems) lines << p.Text();
  return lines.join(QLatin1Char('\n'));
}

TImportPlan PlanImport(const QByteArray& csv, const TImportSettings& settings,
                       const TPayerRecord& payer) {
  TImportPlan plan;
  plan.Format = DetectCsvFormat(csv);
  if (settings.Separator) plan.Format.Separator = *settings.Separator;
  if (settings.Encoding) plan.Format.Encoding = *settings.Encoding;
  std::vector<TCsvRow> rows = ParseCsv(DecodeCsv(csv, plan.Format.Encoding), plan.Format.Separator);
  if (rows.empty()) {
    plan.Problems.push_back({1, QString(), QStringLiteral("The file holds no header row")});
    return plan;
  }
  plan.HeaderLine = rows.front().Line;
  plan.Headers = rows.front().Cells;
  plan.Rows.assign(std::make_move_iterator(rows.begin() + 1), std::make_move_iterator(rows.end()));
  TPlanner planner(plan, payer);
  planner.MapColumns(settings);
  if (!plan.Ok()) return plan;
  for (const TCsvRow& row : plan.Rows) planner.Row(row);
  planner.Finish();
  return plan;
}

// ---- mappings ----------------------------------------------------------------------------------

TImportSettings LoadImportMapping(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw EConvertError(QStringLiteral("Unable to read the mapping %1").arg(path));
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
  if (!doc.isObject())
    throw EConvertError(
        QStringLiteral("The mapping %1 is not a JSON object: %2").arg(path, error.errorString()));
  const QJsonObject o = doc.object();
  TImportSettings s;
  const QString sep = o.value(QStringLiteral("separator")).toString();
  if (sep == QLatin1String("tab") || sep == QLatin1String("\t"))
    s.Separator = QLatin1Char('\t');
  else if (sep.size() == 1)
    s.Separator = sep[0];
  else if (!sep.isEmpty())
    throw EConvertError(QStringLiteral("Unknown separator %1").arg(Quoted(sep)));
  const QString enc = o.value(QStringLiteral("encoding")).toString();
  TCsvEncoding encoding;
  if (EncodingFromName(enc, encoding))
    s.Encoding = encoding;
  else if (!enc.isEmpty())
    throw EConvertError(QStringLiteral("Unknown encoding %1").arg(Quoted(enc)));
  const QJsonObject columns = o.value(QStringLiteral("columns")).toObject();
  for (auto it = columns.begin(); it != columns.end(); ++it)
    s.Columns.insert(it.key().trimmed(), it.value().toString());
  return s;
}

QByteArray ImportMappingJson(const TImportSettings& settings) {
  QJsonObject o;
  if (settings.Separator)
    o.insert(QStringLiteral("separator"), *settings.Separator == QLatin1Char('\t')
                                              ? QStringLiteral("tab")
                                              : QString(*settings.Separator));
  if (settings.Encoding) o.insert(QStringLiteral("encoding"), EncodingName(*settings.Encoding));
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

void AppendPayees(const QString& payeeFile, const std::vector<TPayeeRecord>& payees) {
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
  const std::vector<TPayeeRecord> existing = ReadPayeeFile(payeeFile);
  if (existing.size() + payees.size() > size_t(lock.MaxRec()))
    throw EInOutError(QStringLiteral("The payee file would hold %1 payees; it can hold %2")
                          .arg(existing.size() + payees.size())
                          .arg(lock.MaxRec()));
  QByteArray bytes;
  bytes.reserve(qsizetype((existing.size() + payees.size()) * TPayeeRecord::Size));
  for (const auto* list : {&existing, &payees})
    for (const TPayeeRecord& p : *list)
      bytes.append(reinterpret_cast<const char*>(p.Data()), TPayeeRecord::Size);
  ReplaceFile(payeeFile, bytes);
  lock.CloseRecSet();
}
