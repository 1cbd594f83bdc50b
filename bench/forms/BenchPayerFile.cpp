#include "BenchPayerFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <cstdlib>

#include "storage/RecordLayout.h"

namespace {
void Write(QFile& file, const uint8_t* data, int size) {
  if (file.write(reinterpret_cast<const char*>(data), size) != size) std::abort();
}

// Every payee carries every form: one in ten has nothing to report and prints nothing.
void FillForms(TPayeeRecord& r, int i, QRandomGenerator& random) {
  const bool none = i % 10 == 0;
  auto amount = [&](double base) { return none ? 0.0 : base + random.bounded(50000); };
  r.SetString("AcctNum1099NEC", QStringLiteral("ACCT-%1").arg(i));
  r.SetDouble("F1099NEC1", amount(100));
  r.SetDouble("F1099NEC5_1", none ? 0 : 10);
  r.SetDouble("F1099NEC7_1", none ? 0 : 1000);
  r.SetDouble("F1099MISC1", amount(100));
  r.SetDouble("F1099MISC3", amount(10));
  r.SetDouble("F1099INT1", amount(5));
  r.SetDouble("F1099INT3", amount(5));
  r.SetDouble("F1099DIV1a", amount(20));
  r.SetDouble("F1099DIV1b", none ? 0 : 15);
  r.SetDouble("F1098_1", amount(500));
  r.SetDouble("F1098_2", none ? 0 : 250000);
  r.SetDouble("F1099R1", amount(1000));
  r.SetDouble("F1099R2", none ? 0 : 900);
  r.SetString("F1099R7", none ? QString() : QStringLiteral("7"));
  r.SetString("F1099S1", none ? QString() : QStringLiteral("06/15/2025"));
  r.SetDouble("F1099S2", amount(90000));
  r.SetString("F1099S3_1", QStringLiteral("%1 Elm Street").arg(i + 1));
}

void MakePayers(const QString& folder, int payees) {
  QFile payer(folder + QStringLiteral("/Bench.PR25"));
  if (!payer.open(QIODevice::WriteOnly)) std::abort();
  TPayerRecord p;
  p.SetString("PayerName", QStringLiteral("Acme Construction Supply Company"));
  p.SetString("TradeName", QStringLiteral("Acme Builders"));
  p.SetString("Address1", QStringLiteral("1234 Industrial Parkway"));
  p.SetString("CityStZip", QStringLiteral("Springfield, IL 62704"));
  p.SetString("PhoneNum", QStringLiteral("217-555-0123"));
  p.SetString("EmpIDNum", QStringLiteral("12-3456789"));
  p.SetString("StateName1", QStringLiteral("IL"));
  p.SetString("StateID1", QStringLiteral("1234-5678"));
  Write(payer, p.Data(), TPayerRecord::Size);

  QFile file(folder + QStringLiteral("/Bench.PE25"));
  if (!file.open(QIODevice::WriteOnly)) std::abort();
  QRandomGenerator random(2025);
  for (int i = 0; i < payees; ++i) {
    TPayeeRecord r;
    r.SetString(
        "PayeeName",
        QStringLiteral("Payee %1 %2").arg(random.bounded(1000000), 6, 10, QLatin1Char('0')).arg(i));
    r.SetString("Address1", QStringLiteral("%1 Elm Street").arg(i + 1));
    r.SetString("CityStZip", QStringLiteral("Decatur, IL 62521"));
    r.SetString("SSN_IDNum", QStringLiteral("%1-45-%2").arg(100 + i % 800).arg(1000 + i % 9000));
    FillForms(r, i, random);
    Write(file, r.Data(), TPayeeRecord::Size);
  }
}

}  // namespace

void MakeBenchPayerFile(const QString& folder, int payees) {
  MakePayers(folder, payees);
}
