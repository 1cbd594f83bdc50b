#include "forms/FormTotals.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "controls/DollarEdit.h"
#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "platform/Exceptions.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecordSet.h"

namespace {
// What the Form 1096 adds into its box 5 for each form type.
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

// Every money box of each form but the state and local ones: any of them makes the payee's form
// one the IRS must get (a payee with only nonqualified deferred compensation, only an early
// withdrawal penalty or only tax withheld still files).
constexpr const char* kFed1098[] = {"F1098_1", "F1098_2", "F1098_4", "F1098_5", "F1098_6"};
constexpr const char* kFed1099DIV[] = {
    "F1099DIV1a", "F1099DIV1b", "F1099DIV2a", "F1099DIV2b", "F1099DIV2c", "F1099DIV2d",
    "F1099DIV2e", "F1099DIV2f", "F1099DIV3",  "F1099DIV4",  "F1099DIV5",  "F1099DIV6",
    "F1099DIV7",  "F1099DIV9",  "F1099DIV10", "F1099DIV12", "F1099DIV13"};
constexpr const char* kFed1099INT[] = {"F1099INT1",  "F1099INT2",  "F1099INT3",  "F1099INT4",
                                       "F1099INT5",  "F1099INT6",  "F1099INT8",  "F1099INT9",
                                       "F1099INT10", "F1099INT11", "F1099INT12", "F1099INT13"};
constexpr const char* kFed1099MISC[] = {"F1099MISC1",  "F1099MISC2",  "F1099MISC3",  "F1099MISC4",
                                        "F1099MISC5",  "F1099MISC6",  "F1099MISC8",  "F1099MISC9",
                                        "F1099MISC10", "F1099MISC11", "F1099MISC12", "F1099MISC15"};
constexpr const char* kFed1099NEC[] = {"F1099NEC1", "F1099NEC3", "F1099NEC4"};
constexpr const char* kFed1099R[] = {"F1099R1", "F1099R2", "F1099R3",  "F1099R4", "F1099R5",
                                     "F1099R6", "F1099R8", "F1099R9b", "F1099R10"};
constexpr const char* kFed1099S[] = {"F1099S2", "F1099S6"};

const TFormTotalsDef kTotals[] = {
    {ft1098, k1098, nullptr, kFed1098, nullptr},
    {ft1099DIV, k1099DIV, "F1099DIV4", kFed1099DIV, nullptr},
    {ft1099INT, k1099INT, "F1099INT4", kFed1099INT, nullptr},
    {ft1099MISC, k1099MISC, "F1099MISC4", kFed1099MISC, "F1099MISC7"},
    {ft1099NEC, k1099NEC, "F1099NEC4", kFed1099NEC, "F1099NEC2"},
    {ft1099R, k1099R, "F1099R4", kFed1099R, nullptr},
    {ft1099S, k1099S, nullptr, kFed1099S, nullptr},
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
  for (const char* name : def.FederalFields) FFederal.push_back(PayeeLayout().Field(name));
  if (def.WithheldField) FWithheld = PayeeLayout().Field(def.WithheldField);
  if (def.DirectSalesFlag) FDirectSales = PayeeLayout().Field(def.DirectSalesFlag);
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

// No screen enters an amount that is not a number or beyond the dollar edit's range, so such an
// amount is damage; printed, it would fill a box with hundreds of digits or turn a total to 0.00.
void CheckPayeeAmounts(const uint8_t* record, int recordNumber) {
  for (const TFieldDef& field : PayeeLayout().Fields()) {
    if (field.Kind != TFieldKind::Double) continue;
    const double v = RecordField::GetDouble(record, field);
    if (std::isfinite(v) && std::fabs(v) <= TDollarEdit::MaxAmount) continue;
    const QString name = RecordField::AsText(record, *PayeeLayout().Field("PayeeName")).trimmed();
    throw EPrintException(
        QStringLiteral("Payee %1 (%2) is damaged: the amount in field %3 is out of range. Nothing "
                       "is printed from this file until it is mended.")
            .arg(recordNumber)
            .arg(name, QLatin1String(field.Name)));
  }
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
    CheckPayeeAmounts(record, payees.CurrentRecord());
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
