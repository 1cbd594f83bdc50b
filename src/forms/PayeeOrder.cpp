#include "forms/PayeeOrder.h"

#include <QCollator>
#include <algorithm>

#include "storage/DataModule.h"
#include "storage/Globals.h"

QString PayeeSortName(const TPayeeRecord& payee) {
  if (payee.GetBool("Individual"))
    return (payee.GetString("LastName") + QLatin1Char('\t') + payee.GetString("FirstName"))
        .left(40);
  return payee.GetString("PayeeName");
}

void BuildPayeeNameIndex() {
  if (!RecIndexDirty) return;
  const int count = std::max(RecIndexCount, 0);
  RecIndex.assign(size_t(count), RecIndexData{});
  if (count <= 1) {
    // A single payee needs no sorting; the index stays marked for the next change.
    if (count == 1) RecIndex[0].Index = 0;
    return;
  }
  TRecordSet& payees = *FrmDataModule->RSPayee;
  payees.RootRec();
  try {
    for (int i = 0; i < count; ++i) {
      payees.NextRec();
      RecIndex[size_t(i)] = {PayeeSortName(PayeeRec), i};
    }
  } catch (...) {
    payees.PopRec();
    throw;
  }
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(RecIndex.begin(), RecIndex.end(),
                   [&](const RecIndexData& a, const RecIndexData& b) {
                     return collator.compare(a.Name, b.Name) < 0;
                   });
  RecIndexDirty = false;
  payees.PopRec();
}
