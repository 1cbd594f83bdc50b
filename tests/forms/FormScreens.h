#pragma once
// The screen of each form as the Forms menu opens it: the family's screen on the form's tables,
// under the name the tests know it by.
#include "forms/Form1098.h"
#include "forms/Form1099DIV.h"
#include "forms/Form1099INT.h"
#include "forms/Form1099MISC.h"
#include "forms/Form1099NEC.h"
#include "forms/Form1099R.h"
#include "forms/Form1099S.h"
#include "forms/FormScreen.h"

template <const TFormDef& (*DefOf)()>
class TFormScreenOf : public TFrmFormScreen {
 public:
  explicit TFormScreenOf(QWidget* parent = nullptr) : TFrmFormScreen(DefOf(), parent) {}
};

using TFrm1098 = TFormScreenOf<Form1098Def>;
using TFrm1099DIV = TFormScreenOf<Form1099DIVDef>;
using TFrm1099INT = TFormScreenOf<Form1099INTDef>;
using TFrm1099MISC = TFormScreenOf<Form1099MISCDef>;
using TFrm1099NEC = TFormScreenOf<Form1099NECDef>;
using TFrm1099R = TFormScreenOf<Form1099RDef>;
using TFrm1099S = TFormScreenOf<Form1099SDef>;
