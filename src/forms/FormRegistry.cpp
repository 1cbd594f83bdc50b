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
