#include "forms/FormRegistry.h"

#include "forms/Form1098.h"
#include "forms/Form1099DIV.h"
#include "forms/Form1099INT.h"
#include "forms/Form1099MISC.h"
#include "forms/Form1099NEC.h"
#include "forms/Form1099R.h"
#include "forms/Form1099S.h"

std::span<const TFormDef* const> FormDefs() {
  static const TFormDef* const defs[] = {&Form1098Def(),     &Form1099DIVDef(), &Form1099INTDef(),
                                         &Form1099MISCDef(), &Form1099NECDef(), &Form1099RDef(),
                                         &Form1099SDef()};
  return defs;
}

const TFormDef* FindFormDef(uint8_t formType) {
  for (const TFormDef* def : FormDefs())
    if (def->FormType == formType) return def;
  return nullptr;
}

const TFormDef* FormDefByName(const QString& name) {
  for (const TFormDef* def : FormDefs())
    if (name.compare(QLatin1String(def->ShortName), Qt::CaseInsensitive) == 0) return def;
  return nullptr;
}

const TFormDef* FormDefBySpelling(const QString& name) {
  QString n = name.toUpper();
  n.remove(QLatin1Char('-')).remove(QLatin1Char(' ')).remove(QLatin1String("FORM"));
  if (n.isEmpty()) return nullptr;
  for (const TFormDef* def : FormDefs()) {
    const QLatin1String tag(def->Tag);
    // A 1099's letters alone name it: "NEC" is the 1099-NEC.
    if (n == tag || QLatin1String("1099") + n == tag) return def;
  }
  return nullptr;
}

const TFormDef* FormDefOfField(const char* fieldName) {
  const QLatin1String name(fieldName);
  for (const TFormDef* def : FormDefs())
    if (name.contains(QLatin1String(def->Tag))) return def;
  return nullptr;
}

TCheckResult CheckFormEntries(uint8_t formType, const TPayeeEntries& entries) {
  const TFormDef* def = FindFormDef(formType);
  return def ? def->Check(entries) : std::nullopt;
}

std::vector<TParamDef> PayeeParams(const TFormDef& form) {
  std::vector<TParamDef> params(form.RecipientParams.begin(), form.RecipientParams.end());
  for (const TBoxDef& box : form.Boxes)
    if (box.Print != TSrc::NoParam)
      params.push_back({box.Control.Param, {box.Print, box.Control.Field}});
  return params;
}

QString FormShortNames(const QString& sep) {
  QStringList names;
  for (const TFormDef* def : FormDefs()) names << QLatin1String(def->ShortName);
  return names.join(sep);
}
