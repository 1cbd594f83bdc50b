// libFuzzer target for the snapshot loader: every input must load or be refused with
// EReportException. An input whose first byte is odd gets repaired checksums, so the fuzzer
// explores the page decoder instead of the checksum test.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "SnapshotMutator.h"
#include "engine/Snapshot.h"
#include "platform/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  QByteArray bytes(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
  if (data[0] & 1) RepairChecksums(bytes);
  try {
    TSnapshotReader reader;
    reader.OpenBytes(bytes);
    for (int i = 0; i < reader.PageCount(); ++i) reader.Page(i);
  } catch (const EReportException&) {
  }
  return 0;
}
