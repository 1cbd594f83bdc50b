#include "forms/FormTotals.h"

#include <QScopedValueRollback>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "forms/FormRegistry.h"
#include "forms/FormSelection.h"
#include "platform/Exceptions.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecordModel.h"
#include "storage/RecordSet.h"

// A value no screen stores is damage: printed, an amount beyond its box would fill it with
// hundreds of digits or turn a total to 0.00, a percentage of -2147483648 or a date of
// 99/99/9999 would print as they are. The record model judges every field as the screens do.
void CheckPayeeRecord(const uint8_t* record, int recordNumber) {
  const std::optional<TStoredProblem> problem = RecordProblem(PayeeLayout(), record);
  if (!problem) return;
  const TFieldDef& field = *problem->Field;
  const QString name = RecordField::AsText(record, *PayeeLayout().Field("PayeeName")).trimmed();
  const QString what =
      field.Rule.Value == TValueKind::Money
          ? QStringLiteral("the amount in field %1 is out of range").arg(QLatin1String(field.Name))
          : QStringLiteral("the value \"%1\" in field %2 %3")
                .arg(ValueText(StoredValue(record, field)), QLatin1String(field.Name),
                     problem->Reason);
  throw EPrintException(
      QStringLiteral("Payee %1 (%2) is damaged: %3. Nothing is printed from this file until it "
                     "is mended.")
          .arg(recordNumber)
          .arg(name, what));
}

int ScanFormTotals(TRecordSet& payees, uint8_t formType) {
  return ScanFormTotals(payees, formType, TPayeeSelection{});
}

int ScanFormTotals(TRecordSet& payees, uint8_t formType, const TPayeeSelection& selection) {
  const TFormQualifier qualifies(formType);
  std::optional<TFormFilter> takes;
  if (!selection.TakesAll()) {
    const TFormDef* form = FindFormDef(formType);
    if (!form) throw std::out_of_range("no form type " + std::to_string(formType));
    takes.emplace(*form, selection);
  }
  if (payees.Active() && payees.RecSize() < TPayeeRecord::Size)
    throw std::logic_error("the payee record set does not hold payee records");
  payees.RootRec();
  TScopeCleanup backToPayee([&payees] { payees.PopRec(); });
  TotalForms = 0;
  TotalWithheld = 0;
  TotalAmount = 0;
  const int count = payees.LastRecord();
  for (int i = 0; i < count; ++i) {
    payees.NextRec();
    const uint8_t* record = payees.RecordBuffer();
    CheckPayeeRecord(record, payees.CurrentRecord());
    if (takes && !(*takes)(record, payees.CurrentRecord())) continue;
    TotalWithheld += qualifies.Withheld(record);
    TotalAmount += qualifies.Amount(record);
    if (qualifies(record)) ++TotalForms;
  }
  return TotalForms;
}

int CountAllForms(TRecordSet& payees) {
  std::vector<TFormQualifier> qualifiers;
  for (const TFormDef* def : FormDefs()) qualifiers.emplace_back(def->FormType);
  payees.RootRec();
  TScopeCleanup backToPayee([&payees] { payees.PopRec(); });
  int forms = 0;
  const int count = payees.LastRecord();
  for (int i = 0; i < count; ++i) {
    payees.NextRec();
    for (const TFormQualifier& qualifies : qualifiers) forms += qualifies(payees.RecordBuffer());
  }
  return forms;
}

int CountAllForms() {
  return CountAllForms(*FrmDataModule->RSPayee);
}

QString ElectronicFilingNotice(int forms) {
  if (forms < kElectronicFilingThreshold) return {};
  return QStringLiteral(
             "This payer file holds %1 information returns. Filers of %2 or more information "
             "returns (all types together) must file them electronically with the IRS; paper "
             "Copy A is then not accepted.")
      .arg(forms)
      .arg(kElectronicFilingThreshold);
}

int ScanFormTotals() {
  return ScanFormTotals(*FrmDataModule->RSPayee, CurrentFormType);
}

int ScanFormTotals(const TPayeeSelection& selection) {
  return ScanFormTotals(*FrmDataModule->RSPayee, CurrentFormType, selection);
}

int CountSelectedForms(uint8_t formType, const TPayeeSelection& selection) {
  const QScopedValueRollback keepForms(TotalForms);
  const QScopedValueRollback keepWithheld(TotalWithheld);
  const QScopedValueRollback keepAmount(TotalAmount);
  return ScanFormTotals(*FrmDataModule->RSPayee, formType, selection);
}
