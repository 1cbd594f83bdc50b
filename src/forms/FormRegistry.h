#pragma once
// The per-payee forms this program has tables for.
#include <cstdint>
#include <span>

#include "forms/FormTables.h"

std::span<const TFormDef* const> FormDefs();
// The form of a form type; null when it has no tables yet.
const TFormDef* FindFormDef(uint8_t formType);
