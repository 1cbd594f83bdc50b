#pragma once
// Form 1098 as data: its screen controls and labels, its report parameters and the positions of
// its text on the pre-printed red copy. The lender (the payer record) is the form's recipient and
// the borrower (the payee record) its payer.
#include "forms/FormTables.h"

const TFormDef& Form1098Def();
