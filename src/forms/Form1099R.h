#pragma once
// Form 1099-R as data: its screen controls and labels, its report parameters and the positions
// of its text on the pre-printed red copy.
#include "forms/FormTables.h"

const TFormDef& Form1099RDef();
