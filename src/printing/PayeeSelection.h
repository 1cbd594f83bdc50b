#pragma once
// Which payees a print takes: every payee whose form qualifies (the default), only those whose
// form is marked CORRECTED, or payees the user chose. A selection only narrows: a payee it takes
// still prints only when its form qualifies.
#include <QList>
#include <cstdint>

enum class TPayeeScope : uint8_t { All, Corrected, Chosen };

struct TPayeeSelection {
  TPayeeScope Scope = TPayeeScope::All;
  QList<int> Records;  // the chosen payees: record numbers, 1 for the file's first payee

  bool TakesAll() const { return Scope == TPayeeScope::All; }
  static TPayeeSelection CorrectedOnly() { return {TPayeeScope::Corrected, {}}; }
  static TPayeeSelection Chosen(QList<int> records) {
    return {TPayeeScope::Chosen, std::move(records)};
  }
};
