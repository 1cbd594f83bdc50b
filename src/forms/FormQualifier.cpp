#include "forms/FormQualifier.h"

#include <stdexcept>
#include <string>

#include "core/Utils.h"
#include "forms/FormRegistry.h"

// The fields are resolved once, so a walk over thousands of payees does no name look-ups.
TFormQualifier::TFormQualifier(uint8_t formType) {
  const TFormDef* def = FindFormDef(formType);
  if (!def) throw std::out_of_range("no form type " + std::to_string(formType));
  const TFormTotals& totals = def->Totals;
  for (const char* name : totals.AmountFields) FAmounts.push_back(PayeeLayout().Field(name));
  for (const char* name : totals.FederalFields) FFederal.push_back(PayeeLayout().Field(name));
  if (totals.WithheldField) FWithheld = PayeeLayout().Field(totals.WithheldField);
  if (totals.DirectSalesFlag) FDirectSales = PayeeLayout().Field(totals.DirectSalesFlag);
}

double TFormQualifier::Amount(const uint8_t* payeeRecord) const {
  double amount = 0;
  for (TFieldHandle f : FAmounts) amount += RecordField::GetDouble(payeeRecord, *f);
  return amount;
}

double TFormQualifier::Withheld(const uint8_t* payeeRecord) const {
  return FWithheld ? RecordField::GetDouble(payeeRecord, *FWithheld) : 0;
}

// Each box on its own: two boxes of a fraction of a cent make no amount the form can show.
bool TFormQualifier::operator()(const uint8_t* payeeRecord) const {
  for (TFieldHandle f : FFederal)
    if (AmountPresent(RecordField::GetDouble(payeeRecord, *f))) return true;
  return FDirectSales && RecordField::GetBool(payeeRecord, *FDirectSales);
}

bool FormQualifies(uint8_t formType, const uint8_t* payeeRecord) {
  return TFormQualifier(formType)(payeeRecord);
}
