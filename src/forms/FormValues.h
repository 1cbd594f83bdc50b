#pragma once
// The texts a form prints and shows, computed from the payer and payee records by the rules
// every form shares (name lines, identification numbers, money, check marks).
#include <QString>
#include <cstdint>

#include "forms/FormTables.h"

// The two records a form is filled from, and whether the recipient's SSN is masked on the copy
// being printed.
struct TFormData {
  const uint8_t* Payer;
  const uint8_t* Payee;
  bool MaskRecipientTIN = false;
};
// PayerRec and PayeeRec, masked as MaskSSNOption says.
TFormData CurrentFormData();

QString PayerString(const TFormData& d, const char* field);
QString PayeeString(const TFormData& d, const char* field);
double PayeeDouble(const TFormData& d, const char* field);
bool PayeeFlag(const TFormData& d, const char* field);
int32_t PayeeInt(const TFormData& d, const char* field);

QString ValueText(const TValueDef& value, const TFormData& d);
bool CondHolds(TCond cond, const char* field, const TFormData& d);

// The filer's identification number: a valid EIN, else the SSN. Never masked: the filer's own
// number is no secret from the filer, and the IRS needs it whole.
QString PayerIdNumber(const TFormData& d);
// The recipient's number: masked only when mask is on and it is a valid SSN.
QString RecipientIdNumber(const TFormData& d, bool mask);
// The tax year every form of this program is for.
QString TaxYearText();
