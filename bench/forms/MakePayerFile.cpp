// bench_payer_file FOLDER PAYEES: writes the benchmarks' payer file (Bench.PR25, Bench.PE25) for
// the scripts in bench/ that time papyra-batch from outside.
#include <QCoreApplication>
#include <QDir>
#include <cstdio>

#include "BenchPayerFile.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int payees = argc == 3 ? QByteArray(argv[2]).toInt() : 0;
  if (payees <= 0 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "usage: bench_payer_file FOLDER PAYEES\n");
    return 2;
  }
  MakeBenchPayerFile(QString::fromLocal8Bit(argv[1]), payees);
  return 0;
}
