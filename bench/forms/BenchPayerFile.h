#pragma once
// The benchmarks' payer file: Bench.PR25 and Bench.PE25 in a folder, the payees in random name
// order with every form filled in (one in ten with nothing to report, which prints nothing).
#include <QString>

void MakeBenchPayerFile(const QString& folder, int payees);
