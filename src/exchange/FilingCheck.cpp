#include "exchange/FilingCheck.h"

#include <QHash>
#include <algorithm>
#include <cmath>

#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "forms/FormQualifier.h"
#include "forms/FormRegistry.h"
#include "storage/RecordModel.h"
#include "storage/RecordSet.h"

namespace {
double Amount(const TPayeeRecord& payee, const char* field) {
  const double value = payee.GetDouble(field);
  return std::isfinite(value) ? RoundAmount(value, 2) : 0;
}

QString PayeeNameOf(const TPayeeRecord& payee) {
  const QString name = payee.GetString("PayeeName").simplified();
  return name.isEmpty() ? QStringLiteral("(no name)") : name;
}

class TChecker {
 public:
  TChecker(const std::vector<TPayeeRecord>& payees, const TTinAnswers& answers,
           const TFormDef* only)
      : FPayees(payees), FAnswers(answers), FOnly(only) {}

  TCheckReport Run() {
    for (size_t i = 0; i < FPayees.size(); ++i) CheckPayee(int(i) + 1, FPayees[i]);
    CheckDuplicates();
    CheckElectronicFiling();
    std::stable_sort(R.Lines.begin(), R.Lines.end(), [](const TCheckLine& a, const TCheckLine& b) {
      return a.Level != b.Level ? a.Level < b.Level : a.Record < b.Record;
    });
    return R;
  }

 private:
  void Add(TFindingLevel level, int record, const QString& forms, const QString& text) {
    const QString payee = record > 0 ? PayeeNameOf(FPayees[size_t(record) - 1]) : QString();
    R.Lines.push_back({level, record, payee, forms, text});
  }

  // The forms checked that the payee files, by the rule the prints and the Form 1096 use.
  std::vector<const TFormDef*> FiledForms(const TPayeeRecord& payee) const {
    std::vector<const TFormDef*> forms;
    for (const TFormDef* def : FormDefs())
      if ((!FOnly || def == FOnly) && FormQualifies(def->FormType, payee.Data()))
        forms.push_back(def);
    return forms;
  }

  void CheckPayee(int record, const TPayeeRecord& payee) {
    if (CheckDamage(record, payee)) return;
    const std::vector<const TFormDef*> forms = FiledForms(payee);
    if (forms.empty()) return;
    QStringList names;
    for (const TFormDef* def : forms) names << QLatin1String(def->ShortName);
    const QString all = names.join(QStringLiteral(", "));
    FFiling.push_back(record);
    CheckName(record, payee, all);
    for (const TTinFinding& f :
         TinFindings(payee.GetString("SSN_IDNum"), payee.GetBool("Individual")))
      Add(f.Level, record, all, f.Text);
    CheckAddress(record, payee, all);
    CheckAnswer(record, payee, all);
    for (const TFormDef* def : forms) {
      CheckThreshold(record, payee, *def);
      CheckWithheldOnly(record, payee, *def);
    }
  }

  // A damaged value makes every other finding about the payee doubtful: it alone is listed.
  bool CheckDamage(int record, const TPayeeRecord& payee) {
    bool damaged = false;
    for (const TFieldDef& field : PayeeLayout().Fields()) {
      const std::optional<QString> reason = StoredProblem(payee.Data(), field);
      if (!reason) continue;
      const TFormDef* def = FormDefOfField(field.Name);
      if (FOnly && def && def != FOnly) continue;
      const QString value =
          field.Rule.Value == TValueKind::Money
              ? QStringLiteral("the amount")
              : QStringLiteral("\"%1\"").arg(ValueText(StoredValue(payee.Data(), field)).left(40));
      Add(TFindingLevel::Error, record, def ? QLatin1String(def->ShortName) : QString(),
          QStringLiteral("Damaged value: %1 in field %2 %3; open the payee and correct it")
              .arg(value, QLatin1String(field.Name), *reason));
      damaged = true;
    }
    return damaged;
  }

  void CheckName(int record, const TPayeeRecord& payee, const QString& forms) {
    const bool individual = payee.GetBool("Individual");
    const bool missing =
        individual ? IsBlank(payee.GetString("LastName")) && IsBlank(payee.GetString("FirstName"))
                   : IsBlank(payee.GetString("PayeeName"));
    if (missing)
      Add(TFindingLevel::Error, record, forms,
          QStringLiteral("The form will print without the recipient's name"));
  }

  void CheckAddress(int record, const TPayeeRecord& payee, const QString& forms) {
    QStringList lacks;
    if (IsBlank(payee.GetString("Address1"))) lacks << QStringLiteral("no street address");
    if (IsBlank(payee.GetString("City"))) lacks << QStringLiteral("no city");
    if (!StateCodes().contains(payee.GetString("State"))) lacks << QStringLiteral("no state");
    const QString zip = payee.GetString("ZipCode");
    if (IsBlank(zip))
      lacks << QStringLiteral("no ZIP code");
    else if (!IsValidZip(zip))
      lacks << QStringLiteral("ZIP code \"%1\" is not valid").arg(zip);
    if (lacks.size() == 4 && IsBlank(zip))
      Add(TFindingLevel::Error, record, forms, QStringLiteral("The address is missing"));
    else if (!lacks.isEmpty())
      Add(TFindingLevel::Error, record, forms,
          QStringLiteral("The address is incomplete: ") + lacks.join(QStringLiteral(", ")));
  }

  void CheckAnswer(int record, const TPayeeRecord& payee, const QString& forms) {
    if (const TTinAnswer* answer = FAnswers.Find(TinMatchKeyOf(payee)))
      Add(TinIndicatorLevel(answer->Indicator), record, forms, TinAnswerText(*answer));
  }

  void CheckThreshold(int record, const TPayeeRecord& payee, const TFormDef& def) {
    // A form under every threshold of its own still prints: the user decides.
    if (def.Threshold.Amounts.empty()) return;
    const TFormTotals& totals = def.Totals;
    if (totals.WithheldField && Amount(payee, totals.WithheldField) > 0) return;
    if (totals.DirectSalesFlag && payee.GetBool(totals.DirectSalesFlag)) return;
    for (const TThreshold& threshold : def.Threshold.Amounts) {
      double sum = 0;
      for (const char* field : threshold.Fields)
        if (field) sum += Amount(payee, field);
      if (sum >= threshold.Least) return;
    }
    Add(TFindingLevel::Note, record, QLatin1String(def.ShortName),
        QStringLiteral("The amounts are under %1 from which a form is required; filing it is "
                       "your choice")
            .arg(QLatin1String(def.Threshold.Words)));
  }

  void CheckWithheldOnly(int record, const TPayeeRecord& payee, const TFormDef& def) {
    const char* withheld = def.Totals.WithheldField;
    if (!withheld || Amount(payee, withheld) <= 0) return;
    for (const char* field : def.Totals.FederalFields)
      if (QLatin1String(field) != QLatin1String(withheld) && Amount(payee, field) > 0) return;
    Add(TFindingLevel::Warning, record, QLatin1String(def.ShortName),
        QStringLiteral("Federal income tax withheld of %1 with no income in any box")
            .arg(FormatAmount(payee.GetDouble(withheld))));
  }

  // The same number on two payees who file is most often a number typed twice.
  void CheckDuplicates() {
    QHash<QString, QList<int>> byTin;
    for (int record : FFiling) {
      const QString digits = TinDigits(FPayees[size_t(record) - 1].GetString("SSN_IDNum"));
      if (!digits.isEmpty()) byTin[digits] << record;
    }
    for (int record : FFiling) {
      const TPayeeRecord& payee = FPayees[size_t(record) - 1];
      const QList<int> same = byTin.value(TinDigits(payee.GetString("SSN_IDNum")));
      if (same.size() < 2) continue;
      QStringList others;
      for (int other : same)
        if (other != record)
          others << QStringLiteral("payee %1 (%2)")
                        .arg(other)
                        .arg(PayeeNameOf(FPayees[size_t(other) - 1]));
      Add(TFindingLevel::Warning, record, QString(),
          QStringLiteral("The same TIN %1 as %2")
              .arg(payee.GetString("SSN_IDNum"), others.join(QStringLiteral(", "))));
    }
  }

  void CheckElectronicFiling() {
    int total = 0;
    for (const TPayeeRecord& payee : FPayees)
      for (const TFormDef* def : FormDefs())
        if (RecordProblem(PayeeLayout(), payee.Data()) == std::nullopt &&
            FormQualifies(def->FormType, payee.Data()))
          ++total;
    if (total >= kElectronicFilingThreshold)
      Add(TFindingLevel::Warning, 0, QString(),
          QStringLiteral("%1 returns of all types together: from %2 on they must be filed "
                         "electronically; the IRS does not accept paper Copy A")
              .arg(total)
              .arg(kElectronicFilingThreshold));
  }

  const std::vector<TPayeeRecord>& FPayees;
  const TTinAnswers& FAnswers;
  const TFormDef* FOnly;
  std::vector<int> FFiling;  // the records of the payees who file a form checked
  TCheckReport R;
};

QString Plural(int n, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}
}  // namespace

QString TCheckLine::Line() const {
  QStringList parts;
  if (Record > 0) parts << QStringLiteral("payee %1, %2").arg(Record).arg(Payee);
  if (!Forms.isEmpty()) parts << Forms;
  const QString where = parts.join(QStringLiteral(", "));
  return FindingLevelName(Level) + QStringLiteral(": ") +
         (where.isEmpty() ? Text : where + QStringLiteral(": ") + Text);
}

int TCheckReport::Count(TFindingLevel level) const {
  return int(std::count_if(Lines.begin(), Lines.end(),
                           [level](const TCheckLine& l) { return l.Level == level; }));
}

QString TCheckReport::Summary() const {
  if (Lines.empty()) return QStringLiteral("No findings");
  return QStringList{Plural(Count(TFindingLevel::Error), "error", "errors"),
                     Plural(Count(TFindingLevel::Warning), "warning", "warnings"),
                     Plural(Count(TFindingLevel::Note), "note", "notes")}
      .join(QStringLiteral(", "));
}

QString TCheckReport::Text() const {
  QString text;
  for (const TCheckLine& line : Lines) text += line.Line() + QLatin1Char('\n');
  return text + Summary() + QLatin1Char('\n');
}

TCheckReport CheckBeforeFiling(const std::vector<TPayeeRecord>& payees, const TTinAnswers& answers,
                               const TFormDef* only) {
  return TChecker(payees, answers, only).Run();
}

std::vector<TPayeeRecord> PayeesOf(TRecordSet& payees) {
  std::vector<TPayeeRecord> records;
  if (!payees.Active()) return records;
  payees.RootRec();
  TScopeCleanup backToPayee([&payees] { payees.PopRec(); });
  const int count = payees.LastRecord();
  for (int i = 0; i < count; ++i) {
    payees.NextRec();
    TPayeeRecord payee;
    std::copy_n(payees.RecordBuffer(), TPayeeRecord::Size, payee.Data());
    records.push_back(payee);
  }
  return records;
}
