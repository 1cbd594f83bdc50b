#include "forms/FormSelection.h"

#include <QCollator>
#include <algorithm>

#include "core/ScopeCleanup.h"
#include "forms/FormRegistry.h"
#include "forms/FormValues.h"
#include "platform/Exceptions.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecordSet.h"

namespace {
QString TinDigits(const QString& tin) {
  QString digits;
  for (QChar c : tin)
    if (c.isDigit()) digits += c;
  return digits;
}

QString ShortName(const TFormDef& form) {
  return QString::fromLatin1(form.Name).remove(QStringLiteral("Form "));
}
}  // namespace

const char* CorrectedField(const TFormDef& form) {
  for (const TBoxDef& box : form.Boxes)
    if (QLatin1String(box.Control.Name) == QLatin1String("Corrected")) return box.Control.Field;
  return nullptr;
}

TFormFilter::TFormFilter(const TFormDef& form, const TPayeeSelection& selection)
    : FQualifies(form.FormType), FSelection(selection) {
  if (const char* field = CorrectedField(form)) FCorrected = PayeeLayout().Field(field);
}

bool TFormFilter::Selected(const uint8_t* payeeRecord, int record) const {
  switch (FSelection.Scope) {
    case TPayeeScope::All:
      return true;
    case TPayeeScope::Corrected:
      return FCorrected && RecordField::GetBool(payeeRecord, *FCorrected);
    case TPayeeScope::Chosen:
      return FSelection.Records.contains(record);
  }
  return false;
}

QList<int> PayeesByTin(TRecordSet& payees, const TFormDef& form, const QStringList& tins) {
  const TFormQualifier qualifies(form.FormType);
  const TFieldHandle tinField = PayeeLayout().Field("SSN_IDNum");
  const TFieldHandle nameField = PayeeLayout().Field("PayeeName");
  QList<int> records;
  payees.PushRec();
  TScopeCleanup backToPayee([&payees] { payees.PopRec(); });
  for (const QString& tin : tins) {
    const QString wanted = TinDigits(tin);
    bool found = false;
    for (int record = 1; record <= payees.LastRecord(); ++record) {
      payees.SetCurrentRecord(record);
      payees.GetRec();
      const uint8_t* payee = payees.RecordBuffer();
      if (wanted.isEmpty() || TinDigits(RecordField::AsText(payee, *tinField)) != wanted) continue;
      found = true;
      if (!qualifies(payee))
        throw EPrintException(
            QStringLiteral("The payee %1 with the TIN %2 has nothing to report on %3")
                .arg(RecordField::AsText(payee, *nameField).trimmed(), tin,
                     QString::fromLatin1(form.Name)));
      if (!records.contains(record)) records.append(record);
    }
    if (!found) throw EPrintException(QStringLiteral("No payee has the TIN %1").arg(tin));
  }
  std::sort(records.begin(), records.end());
  return records;
}

QStringList CorrectedWithoutForm(const TFormDef& form) {
  const TFormFilter corrected(form, TPayeeSelection::CorrectedOnly());
  QStringList names;
  TRecordSet& payees = *FrmDataModule->RSPayee;
  payees.RootRec();
  TScopeCleanup backToPayee([&payees] { payees.PopRec(); });
  for (int record = 1; record <= payees.LastRecord(); ++record) {
    payees.NextRec();
    const uint8_t* payee = payees.RecordBuffer();
    if (corrected.Selected(payee, payees.CurrentRecord()) && !corrected.Qualifies()(payee))
      names.append(PayeeString(CurrentFormData(), "PayeeName").trimmed());
  }
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::sort(names.begin(), names.end(),
            [&collator](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
  return names;
}

QString CorrectedWithoutFormNotice(const TFormDef& form) {
  QStringList names = CorrectedWithoutForm(form);
  if (names.isEmpty()) return {};
  constexpr int kNamed = 10;
  if (names.size() > kNamed) {
    const qsizetype more = names.size() - kNamed;
    names = names.mid(0, kNamed) << QStringLiteral("and %1 more").arg(more);
  }
  return QStringLiteral(
             "Marked CORRECTED on %1 but with nothing to report, so no form prints for: %2. A "
             "corrected return with every amount 0 (a return that should not have been filed) "
             "cannot be printed here.")
      .arg(QString::fromLatin1(form.Name), names.join(QStringLiteral(", ")));
}

QString FormsOfType(const TFormDef& form, int count) {
  return (count == 1 ? QStringLiteral("Form ") : QStringLiteral("Forms ")) + ShortName(form);
}

QString SelectionNote(const TFormDef& form, const TPayeeSelection& selection, int forms) {
  const QString what = QString::number(forms) + QLatin1Char(' ') + FormsOfType(form, forms);
  switch (selection.Scope) {
    case TPayeeScope::All:
      return {};
    case TPayeeScope::Corrected:
      return QStringLiteral("This Form 1096 summarizes only the %1 marked CORRECTED.").arg(what);
    case TPayeeScope::Chosen:
      return QStringLiteral("This Form 1096 summarizes only the %1 of the chosen recipients.")
          .arg(what);
  }
  return {};
}

QString NoSelectedFormsText(const TFormDef& form, const TPayeeSelection& selection) {
  if (selection.Scope == TPayeeScope::Corrected)
    return QStringLiteral("No %1 marked CORRECTED has anything to report")
        .arg(FormsOfType(form, 1));
  if (selection.Scope == TPayeeScope::Chosen)
    return QStringLiteral("None of the chosen payees has anything to report on %1")
        .arg(QString::fromLatin1(form.Name));
  return QString::fromLatin1(form.NoFormsText);
}
