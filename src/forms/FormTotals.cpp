#include "forms/FormTotals.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "platform/Exceptions.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecordModel.h"
#include "storage/RecordSet.h"

namespace {
constexpr const char* k1098[] = {"F1098_1", "F1098_6"};
constexpr const char* k1099DIV[] = {"F1099DIV1a", "F1099DIV2a", "F1099DIV3",
                                    "F1099DIV9",  "F1099DIV10", "F1099DIV12"};
constexpr const char* k1099INT[] = {"F1099INT1",  "F1099INT3",  "F1099INT8",
                                    "F1099INT10", "F1099INT11", "F1099INT13"};
constexpr const char* k1099MISC[] = {"F1099MISC1", "F1099MISC2",  "F1099MISC3",
                                     "F1099MISC5", "F1099MISC6",  "F1099MISC8",
                                     "F1099MISC9", "F1099MISC10", "F1099MISC11"};
constexpr const char* k1099NEC[] = {"F1099NEC1", "F1099NEC3"};
constexpr const char* k1099R[] = {"F1099R1"};
constexpr const char* k1099S[] = {"F1099S2"};

const TFormTotalsDef kTotals[] = {
    {ft1098, k1098, nullptr},           {ft1099DIV, k1099DIV, "F1099DIV4"},
    {ft1099INT, k1099INT, "F1099INT4"}, {ft1099MISC, k1099MISC, "F1099MISC4"},
    {ft1099NEC, k1099NEC, "F1099NEC4"}, {ft1099R, k1099R, "F1099R4"},
    {ft1099S, k1099S, nullptr},
};

}  // namespace

const TFormTotalsDef& FormTotalsDef(uint8_t formType) {
  for (const TFormTotalsDef& def : kTotals)
    if (def.FormType == formType) return def;
  throw std::out_of_range("no form type " + std::to_string(formType));
}

// The fields are resolved once, so a walk over thousands of payees does no name look-ups.
TFormQualifier::TFormQualifier(uint8_t formType) {
  const TFormTotalsDef& def = FormTotalsDef(formType);
  for (const char* name : def.AmountFields) FAmounts.push_back(PayeeLayout().Field(name));
  if (def.WithheldField) FWithheld = PayeeLayout().Field(def.WithheldField);
}

double TFormQualifier::Amount(const uint8_t* payeeRecord) const {
  double amount = 0;
  for (TFieldHandle f : FAmounts) amount += RecordField::GetDouble(payeeRecord, *f);
  return amount;
}

double TFormQualifier::Withheld(const uint8_t* payeeRecord) const {
  return FWithheld ? RecordField::GetDouble(payeeRecord, *FWithheld) : 0;
}

bool TFormQualifier::operator()(const uint8_t* payeeRecord) const {
  return AmountPresent(Amount(payeeRecord)) || AmountPresent(Withheld(payeeRecord));
}

bool FormQualifies(uint8_t formType, const uint8_t* payeeRecord) {
  return TFormQualifier(formType)(payeeRecord);
}

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
  const TFormQualifier qualifies(formType);
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
    TotalWithheld += qualifies.Withheld(record);
    TotalAmount += qualifies.Amount(record);
    if (qualifies(record)) ++TotalForms;
  }
  return TotalForms;
}

int CountAllForms(TRecordSet& payees) {
  std::vector<TFormQualifier> qualifiers;
  for (const TFormTotalsDef& def : kTotals) qualifiers.emplace_back(def.FormType);
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
