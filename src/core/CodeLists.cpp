#include "core/CodeLists.h"

#include <algorithm>

namespace {
// clang-format off
constexpr const char* kDistCodes[] = {
  "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F",
  "G", "H", "J", "K", "L", "M", "N", "P", "Q", "R", "S", "T", "U", "W", "Y",
};

// The pairs of codes the IRS admits together; where both orders are admitted both stand here.
constexpr const char* kDistCodePairs[] = {
  "18", "1B", "1D", "1K", "1L", "1M", "1P", "28", "2B", "2D", "2K", "2L",
  "2M", "2P", "3D", "48", "4A", "4B", "4D", "4G", "4H", "4K", "4L", "4M",
  "4P", "4Y", "6W", "7A", "7B", "7D", "7K", "7L", "7M", "7Y", "81", "82",
  "84", "8B", "8J", "8K", "A4", "A7", "B1", "B2", "B4", "B7", "B8", "BG",
  "BL", "BM", "BP", "BU", "CD", "D1", "D2", "D3", "D4", "D7", "DC", "G4",
  "GB", "GK", "H4", "J8", "JP", "JS", "K1", "K2", "K4", "K7", "K8", "KG",
  "KY", "L1", "L2", "L4", "L7", "LB", "M1", "M2", "M4", "M7", "MB", "P1",
  "P2", "P4", "PB", "PJ", "SJ", "UB", "W6", "Y4", "Y7", "YK",
};
// clang-format on
static_assert(std::size(kDistCodes) == 30);
static_assert(std::size(kDistCodes) + std::size(kDistCodePairs) == 124);

bool InTable(std::span<const char* const> table, const QString& upper) {
  return std::any_of(table.begin(), table.end(),
                     [&](const char* entry) { return upper == QLatin1String(entry); });
}
}  // namespace

const QStringList& StateCodes() {
  static const QStringList codes = {
      "AK", "AL", "AR", "AZ", "CA", "CO", "CT", "DC", "DE", "FL", "GA", "GU", "HI", "IA",
      "ID", "IL", "IN", "KS", "KY", "LA", "MA", "MD", "ME", "MI", "MN", "MO", "MS", "MT",
      "NC", "ND", "NE", "NH", "NJ", "NM", "NV", "NY", "OH", "OK", "OR", "PA", "PR", "RI",
      "SC", "SD", "TN", "TX", "UT", "VA", "VI", "VT", "WA", "WI", "WV", "WY"};
  return codes;
}

std::span<const char* const> DistCodes() {
  return kDistCodes;
}

bool IsAdmittedDistCode(const QString& text) {
  const QString upper = text.toUpper();
  return InTable(kDistCodes, upper) || InTable(kDistCodePairs, upper);
}
