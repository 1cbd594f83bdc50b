#include "forms/FormRegistry.h"

#include "forms/Form1099NEC.h"
#include "forms/Form1099R.h"

std::span<const TFormDef* const> FormDefs() {
  static const TFormDef* const defs[] = {&Form1099NECDef(), &Form1099RDef()};
  return defs;
}

const TFormDef* FindFormDef(uint8_t formType) {
  for (const TFormDef* def : FormDefs())
    if (def->FormType == formType) return def;
  return nullptr;
}
