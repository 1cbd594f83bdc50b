// The import's plan: the file read, its columns mapped, every row converted and checked, and the
// rows whose payee is there already found; nothing is written here.
#include <QMap>
#include <QRegularExpression>
#include <algorithm>

#include "core/Utils.h"
#include "exchange/ImportValues.h"
#include "exchange/PayeeExchange.h"
#include "forms/FormChecks.h"
#include "forms/FormRegistry.h"
#include "storage/RecordModel.h"
#include "storage/TinRules.h"

namespace {
// An empty date box stores its mask.
const QString kEmptyDate = QStringLiteral("  /  /    ");

QString Quoted(const QString& text) {
  return QLatin1Char('"') + text + QLatin1Char('"');
}

// A column as a spreadsheet labels it: 1 is A, 27 is AA.
QString ColumnLetters(int index) {
  QString letters;
  for (int n = index + 1; n > 0; n = (n - 1) / 26)
    letters.prepend(QChar(u'A' + char16_t((n - 1) % 26)));
  return letters;
}

QString ColumnLabel(int index) {
  return QStringLiteral("%1 (%2)").arg(index + 1).arg(ColumnLetters(index));
}

TImportProblem Problem(int line, const QString& column, const QString& message, int c = -1,
                       const QString& value = {}) {
  return {line, column, message, c, value};
}

QString LineList(const QList<int>& lines, int limit = 10) {
  QStringList numbers;
  for (int i = 0; i < lines.size() && i < limit; ++i) numbers << QString::number(lines[i]);
  if (lines.size() > limit) numbers << QStringLiteral("and %1 more").arg(lines.size() - limit);
  return (lines.size() == 1 ? QStringLiteral("line ") : QStringLiteral("lines ")) +
         numbers.join(QStringLiteral(", "));
}

bool IsDate(const TFieldDef& field) {
  return field.Rule.Value == TValueKind::Date;
}

// Fields whose text a number in scientific notation would spoil: numbers kept as text.
bool HoldsDigits(const TFieldDef& field) {
  return field.Kind == TFieldKind::String &&
         (field.Rule.Chars != TTextChars::Any || field.Rule.Value == TValueKind::Tin ||
          field.Rule.Value == TValueKind::Zip);
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

// ---- matching ----------------------------------------------------------------------------------

// What makes two payees one: the taxpayer number's nine digits; without one, the name (letter
// case and spacing aside) and the ZIP code's first five digits.
struct TPayeeKey {
  QString Tin;
  QString NameZip;
  QString Shown;     // "TIN 12-3456789", or without one ZipShown
  QString ZipShown;  // "name and ZIP code 12207"
};

QString DigitsOf(const QString& text) {
  QString out;
  for (QChar c : text)
    if (c.isDigit()) out += c;
  return out;
}

TPayeeKey KeyOf(const TPayeeRecord& payee) {
  TPayeeKey key;
  const QString tin = payee.GetString("SSN_IDNum");
  if (DigitsOf(tin).size() == 9) {
    key.Tin = DigitsOf(tin);
    key.Shown = QStringLiteral("TIN ") + tin.trimmed();
  }
  const QString name = payee.GetString("PayeeName").simplified().toLower();
  const QString zip = DigitsOf(payee.GetString("ZipCode")).left(5);
  if (!name.isEmpty()) key.NameZip = name + QLatin1Char('|') + zip;
  key.ZipShown = zip.isEmpty() ? QStringLiteral("name and no ZIP code")
                               : QStringLiteral("name and ZIP code %1").arg(zip);
  if (key.Tin.isEmpty()) key.Shown = key.ZipShown;
  return key;
}

// Where a payee is: a record of the payee file (0-based) or a payee an earlier row adds.
struct TPlace {
  bool Added = false;
  int Index = 0;
  int Line = 0;  // the row that added it
};

// The payees known so far by their keys.
class TPayeeIndex {
 public:
  void Add(const TPayeeKey& key, TPlace place) {
    if (!key.Tin.isEmpty()) FByTin[key.Tin] << place;
    if (!key.NameZip.isEmpty()) {
      FByName[key.NameZip] << place;
      if (key.Tin.isEmpty()) FByNameNoTin[key.NameZip] << place;
    }
  }
  // A row with a taxpayer number matches that number, or by name a payee without one; a row
  // without a number matches by name.
  QList<TPlace> Find(const TPayeeKey& key) const {
    if (!key.Tin.isEmpty()) {
      const QList<TPlace> byTin = FByTin.value(key.Tin);
      return byTin.isEmpty() ? FByNameNoTin.value(key.NameZip) : byTin;
    }
    return key.NameZip.isEmpty() ? QList<TPlace>() : FByName.value(key.NameZip);
  }

 private:
  QHash<QString, QList<TPlace>> FByTin, FByName, FByNameNoTin;
};

// ---- the planner -------------------------------------------------------------------------------

class TPlanner {
 public:
  TPlanner(TImportPlan& plan, const TImportSettings& settings, const TPayerRecord& payer)
      : P(plan), S(settings), FPayer(payer) {}

  void MapColumns() {
    if (!S.AmountField.isEmpty() && !PayeeLayout().Find(S.AmountField)) {
      FAmountField = FieldForHeader(S.AmountField);
      const TFieldHandle f = PayeeLayout().Find(FAmountField);
      if (!f || f->Kind != TFieldKind::Double)
        FileProblem(-1, QStringLiteral("%1 is no amount box of a form").arg(Quoted(S.AmountField)));
    } else {
      FAmountField = S.AmountField;
    }
    QHash<QString, int> takenBy;
    for (int c = 0; c < P.Headers.size(); ++c) {
      const QString field = FieldOf(c);
      P.Fields << field;
      if (field.isEmpty()) continue;
      if (takenBy.contains(field))
        FileProblem(c, QStringLiteral("Column %1 already goes to the field %2")
                           .arg(Quoted(P.Headers[takenBy.value(field)]),
                                Quoted(ExchangeName(*PayeeLayout().Find(field)))));
      else
        takenBy.insert(field, c);
    }
    FHasIndividual = P.Fields.contains(QStringLiteral("Individual"));
  }

  void ChooseDecimal() {
    if (S.Decimal) {
      P.Decimal = *S.Decimal;
      return;
    }
    TDecimalEvidence evidence;
    for (const TCsvRow& row : P.Rows)
      for (qsizetype c = 0; c < row.Cells.size() && c < P.Fields.size(); ++c) {
        const TFieldHandle f = PayeeLayout().Find(P.Fields[c]);
        if (f && f->Kind == TFieldKind::Double) evidence.Add(row.Cells[c]);
      }
    if (evidence.Point && evidence.Comma) {
      FileProblem(-1, QStringLiteral("The amounts are written with both decimal symbols (%1 and "
                                     "%2); choose the decimal symbol")
                          .arg(Quoted(evidence.PointCell), Quoted(evidence.CommaCell)));
      return;
    }
    // A file separated by semicolons comes from a spreadsheet that writes decimal commas.
    P.Decimal = evidence.Comma || (!evidence.Point && P.Format.Separator == QLatin1Char(';'))
                    ? QLatin1Char(',')
                    : QLatin1Char('.');
    if (P.Decimal == QLatin1Char(','))
      P.Notes << QStringLiteral(
          "Amounts are read with a decimal comma (1.234,50 is "
          "1,234.50 dollars), as the file writes them");
  }

  void NoteForeignLines(const std::vector<int>& lines) {
    for (int line : lines) {
      const TCsvRow* row = RowOfLine(line);
      if (!row) continue;
      const QString which =
          line == row->Line ? QStringLiteral("The line") : QStringLiteral("Line %1").arg(line);
      AddProblem(Problem(row->Line, QString(),
                         which + QStringLiteral(" is not UTF-8 like the rest of the file (it "
                                                "reads as Windows-1252 text); correct it, or "
                                                "choose the file's encoding")));
      P.BadLines.insert(row->Line);
    }
  }

  void Row(const TCsvRow& row) {
    // A line that is not in the file's encoding was found before the rows were read.
    FRowProblems = P.BadLines.contains(row.Line) ? 1 : 0;
    FRow = &row;
    CheckWidth(row);
    TPayeeRecord fresh;
    StoreRow(row, fresh, false);
    InferIndividual(row, fresh);
    DerivePayeeFields(fresh);
    const TPayeeKey key = KeyOf(fresh);
    const QList<TPlace> matches = FIndex.Find(key);
    if (!matches.isEmpty()) NoteMatch(row.Line, matches, key);
    if (matches.isEmpty() || P.Choice == TExisting::Add || P.Choice == TExisting::Ask) {
      AddNew(row, fresh, key);
    } else if (P.Choice == TExisting::Skip) {
      P.SkippedLines << row.Line;
    } else {
      UpdateMatched(row, matches);
    }
    if (FRowProblems > 0) P.BadLines.insert(row.Line);
  }

  void IndexExisting() {
    for (int i = 0; i < int(P.Before.size()); ++i)
      FIndex.Add(KeyOf(P.Before[size_t(i)]), {false, i, 0});
  }

  // Says which columns of made fields the payees did not take, which columns were left out
  // though they hold data, and which rows were made individuals.
  void Finish() {
    for (auto it = FUnused.cbegin(); it != FUnused.cend(); ++it) {
      const int c = it.key();
      const bool city = P.Fields[c] == QLatin1String("CityStZip");
      P.Notes << QStringLiteral("Column %1: %2; the column's text was not used on %3")
                     .arg(Quoted(P.Headers[c]),
                          city ? QStringLiteral("the city line is made from City, State and "
                                                "ZipCode")
                               : QStringLiteral("an individual's name is made from FirstName "
                                                "and LastName"),
                          LineList(it.value()));
    }
    for (int c = 0; c < P.Headers.size(); ++c) {
      if (!P.Fields[c].isEmpty() || P.Headers[c].trimmed().isEmpty()) continue;
      const QList<int> lines = LinesWithData(c);
      if (!lines.isEmpty())
        P.Notes << QStringLiteral("Column %1 was left out; it holds data on %2")
                       .arg(Quoted(P.Headers[c]), LineList(lines));
    }
    if (!FMadeIndividual.isEmpty())
      P.Notes << QStringLiteral(
                     "An SSN with a first and last name makes the payee an individual "
                     "(the file has no column for it): %1")
                     .arg(LineList(FMadeIndividual));
    for (const TRepair& r : P.Repairs)
      if (S.RepairLeadingZeros)
        P.Notes << QStringLiteral("Line %1, column %2: %3 repaired to %4 (its leading zero)")
                       .arg(r.Line)
                       .arg(Quoted(r.Column), Quoted(r.From), Quoted(r.To));
  }

 private:
  // ---- columns ----

  QString FieldOf(int c) {
    const QString header = P.Headers[c].trimmed();
    if (S.Columns.contains(header)) {
      const QString chosen = S.Columns.value(header);
      if (chosen.isEmpty()) return {};
      const QString field =
          PayeeLayout().Find(chosen) ? chosen : FieldForHeader(chosen, FAmountField);
      if (!field.isEmpty()) return field;
      FileProblem(c, QStringLiteral("%1 is not a payee field").arg(Quoted(chosen)));
      return {};
    }
    if (header.isEmpty()) {
      const QList<int> lines = LinesWithData(c);
      if (!lines.isEmpty())
        FileProblem(c, QStringLiteral("Column %1 has no name in the header row but holds data on "
                                      "%2; name it, or leave it out in a mapping")
                           .arg(ColumnLabel(c), LineList(lines)));
      return {};
    }
    const QString field = FieldForHeader(header, FAmountField);
    if (!field.isEmpty()) return field;
    if (!FieldForHeader(header, QStringLiteral("F1099NEC1")).isEmpty()) {
      FileProblem(c, QStringLiteral("Choose the box this column of amounts goes to (papyra-batch "
                                    "--amount, or \"amount\" in a mapping)"));
      return {};
    }
    FileProblem(c, QStringLiteral("The column names no payee field; map it to one, or leave it "
                                  "out with \"\" in a mapping"));
    return {};
  }

  QList<int> LinesWithData(int c) const {
    QList<int> lines;
    for (const TCsvRow& row : P.Rows)
      if (!IsBlank(row.Cells.value(c))) lines << row.Line;
    return lines;
  }

  const TCsvRow* RowOfLine(int line) const {
    for (const TCsvRow& row : P.Rows)
      if (row.Line <= line && line <= row.LastLine) return &row;
    return nullptr;
  }

  // ---- cells ----

  void CheckWidth(const TCsvRow& row) {
    // Spreadsheets end rows with empty cells as they please; only a cell with data past the
    // header is a problem.
    if (row.Cells.size() <= P.Headers.size()) return;
    const int c = int(P.Headers.size());
    AddProblem(
        Problem(row.Line, QString(),
                QStringLiteral("The line has more fields than the header row: column %1 holds %2")
                    .arg(ColumnLabel(c), Quoted(row.Cells.value(c))),
                c, row.Cells.value(c)));
  }

  // Stores the row's mapped cells into payee: every cell, or with onlyFilled the non-blank
  // ones. The taxpayer number takes its dashes from the Individual box, so it is stored last.
  void StoreRow(const TCsvRow& row, TPayeeRecord& payee, bool onlyFilled) {
    for (int pass = 0; pass < 2; ++pass)
      for (int c = 0; c < row.Cells.size() && c < P.Fields.size(); ++c) {
        if (P.Fields[c].isEmpty() || (P.Fields[c] == QLatin1String("SSN_IDNum")) != (pass == 1))
          continue;
        const QString cell = TextOfSafeCell(row.Cells[c]);
        if (onlyFilled && IsBlank(cell)) continue;
        StoreCell(row.Line, c, cell, payee);
      }
  }

  void StoreCell(int line, int c, const QString& cell, TPayeeRecord& payee) {
    const TFieldDef& f = *PayeeLayout().Find(P.Fields[c]);
    QString text = cell;
    if (HoldsDigits(f) && IsScientific(text)) {
      CellProblem(line, c, cell,
                  QStringLiteral("%1 is a number in scientific notation, as a spreadsheet shows "
                                 "a long number, and its digits are lost; format the column as "
                                 "text and save the file again")
                      .arg(Quoted(cell)));
      return;
    }
    if (const std::optional<QString> repaired = LeadingZeroRepair(f, text)) {
      if (!Repair(line, c, cell, *repaired)) return;
      text = *repaired;
    }
    const TCellValue read = Read(f, text, payee, c);
    if (!read.Value) {
      CellProblem(line, c, cell, Quoted(cell) + QLatin1Char(' ') + read.Problem);
      return;
    }
    if (const std::optional<QString> reason = ValueProblem(f, *read.Value)) {
      CellProblem(line, c, cell, Quoted(cell) + QLatin1Char(' ') + *reason);
      return;
    }
    Set(payee, f, *read.Value);
  }

  TCellValue Read(const TFieldDef& f, const QString& text, const TPayeeRecord& payee, int c) {
    switch (f.Kind) {
      case TFieldKind::Double:
        return ReadAmount(text, P.Decimal);
      case TFieldKind::Bool:
        return ReadFlag(text);
      case TFieldKind::Int32:
        return ReadWhole(text, f.Rule.Value == TValueKind::Percent);
      case TFieldKind::String:
        break;
      case TFieldKind::Bytes:
        return {std::nullopt, QStringLiteral("cannot be imported")};
    }
    if (IsDate(f)) return ReadDate(text, S.Dates);
    const QString value = CellText(f, text);
    if (f.Rule.Value != TValueKind::Tin) return {value, {}};
    const TTinKind kind = TinKindOfHeader(P.Headers[c]);
    const bool ssn = kind == TTinKind::Either ? payee.GetBool("Individual") : kind == TTinKind::Ssn;
    return {TinWithDashes(value, ssn), {}};
  }

  static void Set(TPayeeRecord& payee, const TFieldDef& f, const TFieldValue& value) {
    if (const bool* b = std::get_if<bool>(&value)) payee.SetBool(&f, *b);
    if (const int32_t* i = std::get_if<int32_t>(&value)) payee.SetInt(&f, *i);
    if (const double* d = std::get_if<double>(&value)) payee.SetDouble(&f, *d);
    if (const QString* s = std::get_if<QString>(&value)) payee.SetString(&f, *s);
  }

  // A value that lost its leading zero: repaired when the user accepted such repairs, else a
  // problem that says what it most likely was. False when the cell is not to be stored.
  bool Repair(int line, int c, const QString& cell, const QString& repaired) {
    P.Repairs.push_back({line, c, P.Headers[c], cell.trimmed(), repaired});
    if (S.RepairLeadingZeros) return true;
    const bool zip = P.Fields[c] == QLatin1String("ZipCode");
    CellProblem(line, c, cell,
                QStringLiteral("%1 is not a %2; a spreadsheet most likely dropped its leading "
                               "zero: %3 (accept the repairs of leading zeros, or correct the "
                               "file)")
                    .arg(Quoted(cell),
                         zip ? QStringLiteral("ZIP code")
                             : QStringLiteral("taxpayer identification number"),
                         Quoted(repaired)));
    return false;
  }

  // Without a column for the Individual box, a row with an SSN and a first and last name is a
  // person's; the SSN keeps its dashes.
  void InferIndividual(const TCsvRow& row, TPayeeRecord& payee) {
    if (FHasIndividual || payee.GetBool("Individual")) return;
    static const QRegularExpression ssn(QStringLiteral("^\\d{3}-\\d{2}-\\d{4}$"));
    if (!ssn.match(payee.GetString("SSN_IDNum")).hasMatch() ||
        IsBlank(payee.GetString("FirstName")) || IsBlank(payee.GetString("LastName")))
      return;
    payee.SetBool("Individual", true);
    FMadeIndividual << row.Line;
  }

  // ---- rows ----

  void AddNew(const TCsvRow& row, TPayeeRecord& payee, const TPayeeKey& key) {
    NoteMadeFields(row, payee);
    if (FRowProblems == 0) Check(row.Line, payee);
    if (FRowProblems > 0 && P.GoodRowsOnly) return;
    FIndex.Add(key, {true, int(P.Payees.size()), row.Line});
    P.Payees.push_back(payee);
    P.PayeeLines.push_back(row.Line);
  }

  void UpdateMatched(const TCsvRow& row, const QList<TPlace>& matches) {
    if (matches.size() > 1) {
      AddProblem(
          Problem(row.Line, QString(),
                  QStringLiteral("The row matches %1 payees of the payee file (%2); it cannot say "
                                 "which to update")
                      .arg(matches.size())
                      .arg(PlacesText(matches))));
      return;
    }
    const TPlace& place = matches.front();
    TPayeeRecord& target = place.Added ? P.Payees[size_t(place.Index)] : Updated(place.Index);
    TPayeeRecord payee = target;
    StoreRow(row, payee, true);
    DerivePayeeFields(payee);
    NoteMadeFields(row, payee);
    if (FRowProblems == 0) Check(row.Line, payee);
    if (FRowProblems > 0) return;
    target = payee;
    if (!place.Added) FUpdates[place.Index].Lines << row.Line;
  }

  TPayeeRecord& Updated(int index) {
    auto it = FUpdates.find(index);
    if (it == FUpdates.end()) {
      TPayeeUpdate update;
      update.Record = index + 1;
      update.Payee = P.Before[size_t(index)];
      it = FUpdates.insert(index, update);
    }
    return it->Payee;
  }

  QString PlacesText(const QList<TPlace>& places) const {
    QStringList parts;
    for (const TPlace& p : places)
      parts << (p.Added ? QStringLiteral("line %1").arg(p.Line)
                        : QStringLiteral("record %1").arg(p.Index + 1));
    return parts.join(QStringLiteral(", "));
  }

  // The first payee the row matches is named: the payee file's before an earlier row's.
  void NoteMatch(int line, const QList<TPlace>& matches, const TPayeeKey& key) {
    for (const TPlace& m : matches.mid(0, 1)) {
      const TPayeeRecord& other = m.Added ? P.Payees[size_t(m.Index)] : P.Before[size_t(m.Index)];
      TImportMatch match;
      match.Line = line;
      match.Name = other.GetString("PayeeName");
      match.Key = !key.Tin.isEmpty() && KeyOf(other).Tin == key.Tin ? key.Shown : key.ZipShown;
      if (m.Added)
        match.EarlierLine = m.Line;
      else
        match.Record = m.Index + 1;
      P.Matches.push_back(match);
    }
  }

  // A made field is made from its sources whatever its column says; a text that differs is
  // remembered for the notes.
  void NoteMadeFields(const TCsvRow& row, const TPayeeRecord& payee) {
    for (int c = 0; c < row.Cells.size() && c < P.Fields.size(); ++c) {
      const QString& field = P.Fields[c];
      const bool made = field == QLatin1String("CityStZip") ||
                        (field == QLatin1String("PayeeName") && payee.GetBool("Individual"));
      if (made && !IsBlank(row.Cells[c]) &&
          row.Cells[c].simplified() != payee.GetString(field.toLatin1().constData()))
        FUnused[c] << row.Line;
    }
  }

  void Check(int line, const TPayeeRecord& payee) {
    const TRecordEntries entries(payee, FPayer);
    Report(line, CheckPayeeEntries(entries));
    for (const TFormDef* form : FormDefs()) Report(line, form->Check(entries));
    NoteTin(line, payee);
  }

  // A number the checks let through may still be one that is never issued: said, not refused.
  void NoteTin(int line, const TPayeeRecord& payee) {
    const QString tin = payee.GetString("SSN_IDNum");
    if (TinDigits(tin).isEmpty()) return;
    for (const TTinFinding& f : TinFindings(tin, payee.GetBool("Individual")))
      P.Notes << QStringLiteral("Line %1: %2").arg(line).arg(f.Text);
  }

  void Report(int line, const TCheckResult& problem) {
    if (!problem) return;
    const int c = int(P.Fields.indexOf(problem->Field));
    if (c < 0) {
      AddProblem(Problem(
          line, ExchangeName(*PayeeLayout().Find(problem->Field)) + QStringLiteral(" (no column)"),
          OneLine(problem->Message)));
      return;
    }
    CellProblem(line, c, FRow ? FRow->Cells.value(c) : QString(), OneLine(problem->Message));
  }

  // ---- problems ----

  void CellProblem(int line, int c, const QString& value, const QString& message) {
    AddProblem(Problem(line, P.Headers[c], message, c, value));
  }

  void FileProblem(int c, const QString& message) {
    P.Problems.push_back(
        Problem(P.HeaderLine, c >= 0 ? P.Headers[c].trimmed() : QString(), message, c));
  }

  void AddProblem(const TImportProblem& problem) {
    ++FRowProblems;
    P.Problems.push_back(problem);
  }

  TImportPlan& P;
  const TImportSettings& S;
  const TPayerRecord& FPayer;
  TPayeeIndex FIndex;
  QMap<int, TPayeeUpdate> FUpdates;  // by 0-based record
  QMap<int, QList<int>> FUnused;     // column -> lines whose text a made field did not take
  QList<int> FMadeIndividual;
  bool FHasIndividual = false;
  QString FAmountField;  // the record name of the box an "Amount" column goes to
  int FRowProblems = 0;
  const TCsvRow* FRow = nullptr;

 public:
  // The updates that change anything, each with what it changes.
  void CollectUpdates() {
    for (auto it = FUpdates.begin(); it != FUpdates.end(); ++it) {
      TPayeeUpdate& u = it.value();
      const TPayeeRecord& before = P.Before[size_t(it.key())];
      for (const TFieldDef& f : PayeeLayout().Fields()) {
        if (f.Rule.Value == TValueKind::Internal) continue;
        const TFieldValue a = StoredValue(before.Data(), f), b = StoredValue(u.Payee.Data(), f);
        if (a != b)
          u.Changes << QStringLiteral("%1: %2 -> %3")
                           .arg(ExchangeName(f), Quoted(ValueText(a)), Quoted(ValueText(b)));
      }
      if (!u.Changes.isEmpty()) P.Updates.push_back(u);
    }
  }
};

// Reads the file into the plan's rows; false (with the problem) when it cannot be.
bool ReadRows(TImportPlan& plan, const QByteArray& csv, const TImportSettings& settings,
              std::vector<int>& foreignLines) {
  plan.Format.Encoding = settings.Encoding ? *settings.Encoding : DetectEncoding(csv);
  TCsvText text = DecodeCsv(csv, plan.Format.Encoding);
  plan.Format.Separator =
      settings.Separator ? *settings.Separator : DetectSeparator(text.Text, settings.SkipBefore);
  TCsvLimits limits;
  limits.MaxRows = settings.SkipBefore + 1 + kMaxImportRows + settings.SkipAfter;
  limits.MaxColumns = kMaxImportColumns;
  TCsvTable table = ParseCsv(text.Text, plan.Format.Separator, limits);
  if (!table.Refusal.isEmpty()) {
    const bool rows = int(table.Rows.size()) == limits.MaxRows;
    plan.Problems.push_back(Problem(
        0, QString(),
        rows ? QStringLiteral("The file holds more than %1 rows of payees; a payer file holds at "
                              "most %1 payees. Nothing more was read")
                   .arg(kMaxImportRows)
             : table.Refusal + QStringLiteral(", more than any spreadsheet has. Nothing more "
                                              "was read")));
    return false;
  }
  std::vector<TCsvRow>& rows = table.Rows;
  if (int(rows.size()) <= settings.SkipBefore) {
    plan.Problems.push_back(Problem(1, QString(), QStringLiteral("The file holds no header row")));
    return false;
  }
  const int dataEnd = std::max(settings.SkipBefore + 1, int(rows.size()) - settings.SkipAfter);
  if (dataEnd == settings.SkipBefore + 1) {
    plan.HeaderLine = rows[size_t(settings.SkipBefore)].Line;
    plan.Headers = rows[size_t(settings.SkipBefore)].Cells;
    plan.Problems.push_back(
        Problem(0, QString(), QStringLiteral("The file holds no rows of payees below its header")));
    return false;
  }
  plan.HeaderLine = rows[size_t(settings.SkipBefore)].Line;
  plan.Headers = rows[size_t(settings.SkipBefore)].Cells;
  plan.Rows.assign(std::make_move_iterator(rows.begin() + settings.SkipBefore + 1),
                   std::make_move_iterator(rows.begin() + dataEnd));
  const TCsvRow& header = rows[size_t(settings.SkipBefore)];
  for (int line : text.ForeignLines) {
    if (line >= header.Line && line <= header.LastLine) {
      plan.Problems.push_back(
          Problem(line, QString(),
                  QStringLiteral("The header row is not UTF-8 like the rest of the "
                                 "file; correct it, or choose the file's encoding")));
      return false;
    }
    foreignLines.push_back(line);
  }
  return true;
}
}  // namespace

TImportPlan ReadImportRows(const QByteArray& csv, const TImportSettings& settings) {
  TImportPlan plan;
  std::vector<int> foreignLines;
  ReadRows(plan, csv, settings, foreignLines);
  return plan;
}

TImportPlan PlanImport(const QByteArray& csv, const TImportSettings& settings,
                       const TPayerRecord& payer, const std::vector<TPayeeRecord>& existing) {
  TImportPlan plan;
  plan.Choice = settings.Existing;
  plan.GoodRowsOnly = settings.GoodRowsOnly;
  plan.Before = existing;
  std::vector<int> foreignLines;
  if (!ReadRows(plan, csv, settings, foreignLines)) return plan;
  TPlanner planner(plan, settings, payer);
  planner.MapColumns();
  planner.ChooseDecimal();
  if (plan.HasFileProblems()) return plan;
  planner.IndexExisting();
  planner.NoteForeignLines(foreignLines);
  for (const TCsvRow& row : plan.Rows) planner.Row(row);
  planner.CollectUpdates();
  planner.Finish();
  std::stable_sort(
      plan.Problems.begin(), plan.Problems.end(),
      [](const TImportProblem& a, const TImportProblem& b) { return a.Line < b.Line; });
  return plan;
}

// ---- what the plan says ------------------------------------------------------------------------

QString TImportProblem::Text() const {
  if (Line <= 0) return Message;
  if (Column.isEmpty()) return QStringLiteral("Line %1: %2").arg(Line).arg(Message);
  return QStringLiteral("Line %1, column %2: %3").arg(Line).arg(Quoted(Column), Message);
}

QString TImportMatch::Text() const {
  const QString name = Quoted(Name.trimmed());
  if (EarlierLine > 0)
    return QStringLiteral("Line %1: the same payee as line %2, %3 (the same %4)")
        .arg(Line)
        .arg(EarlierLine)
        .arg(name, Key);
  return QStringLiteral("Line %1: payee %2, record %3 of the payee file (the same %4)")
      .arg(Line)
      .arg(name)
      .arg(Record)
      .arg(Key);
}

bool TImportPlan::HasFileProblems() const {
  for (const TImportProblem& p : Problems)
    if (p.Line == 0 || p.Line == HeaderLine) return true;
  return false;
}

bool TImportPlan::Importable() const {
  if (NeedsChoice() || HasFileProblems() || Rows.empty()) return false;
  return GoodRowsOnly || Problems.empty();
}

namespace {
template <typename T>
QString Listed(const std::vector<T>& items, int limit, const char* more) {
  QStringList lines;
  for (size_t i = 0; i < items.size() && int(i) < limit; ++i) lines << items[i].Text();
  if (int(items.size()) > limit)
    lines << QStringLiteral("... and %1 more %2").arg(int(items.size()) - limit).arg(more);
  return lines.join(QLatin1Char('\n'));
}
}  // namespace

QString TImportPlan::Report(int limit) const {
  return Listed(Problems, limit, "problems");
}

QString TImportPlan::MatchReport(int limit) const {
  return Listed(Matches, limit, "matches");
}

QString TImportPlan::Summary() const {
  QSet<int> matched;
  for (const TImportMatch& m : Matches) matched.insert(m.Line);
  const int rows = int(Rows.size());
  QStringList parts;
  parts << QStringLiteral("%1 new").arg(rows - int(matched.size()));
  if (!matched.isEmpty())
    parts << QStringLiteral("%1 matching a payee already there").arg(matched.size());
  if (!BadLines.isEmpty()) parts << QStringLiteral("%1 with problems").arg(BadLines.size());
  return QStringLiteral("%1 %2: %3")
      .arg(rows)
      .arg(rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"),
           parts.join(QStringLiteral(", ")));
}

QString ExistingName(TExisting existing) {
  switch (existing) {
    case TExisting::Update:
      return QStringLiteral("update");
    case TExisting::Skip:
      return QStringLiteral("skip");
    case TExisting::Add:
      return QStringLiteral("add");
    case TExisting::Ask:
      break;
  }
  return {};
}

bool ExistingFromName(const QString& name, TExisting& existing) {
  for (TExisting e : {TExisting::Update, TExisting::Skip, TExisting::Add})
    if (name.compare(ExistingName(e), Qt::CaseInsensitive) == 0) {
      existing = e;
      return true;
    }
  return false;
}

QString DateOrderName(TDateOrder order) {
  switch (order) {
    case TDateOrder::DMY:
      return QStringLiteral("DMY");
    case TDateOrder::YMD:
      return QStringLiteral("YMD");
    case TDateOrder::MDY:
      break;
  }
  return QStringLiteral("MDY");
}

bool DateOrderFromName(const QString& name, TDateOrder& order) {
  for (TDateOrder o : {TDateOrder::MDY, TDateOrder::DMY, TDateOrder::YMD})
    if (name.compare(DateOrderName(o), Qt::CaseInsensitive) == 0) {
      order = o;
      return true;
    }
  return false;
}
