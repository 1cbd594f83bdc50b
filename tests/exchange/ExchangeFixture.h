#pragma once
// What the payee exchange tests share: a payer, a company payee, payer files made of payees,
// and papyra-batch's error lines.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "exchange/PayeeExchange.h"

inline TPayerRecord Payer() {
  TPayerRecord payer;
  payer.SetString("PayerName", QStringLiteral("Acme Supply"));
  payer.SetString("StateName1", QStringLiteral("NY"));
  payer.SetString("StateID1", QStringLiteral("12-3456"));
  payer.SetString("Locality1", QStringLiteral("Albany"));
  payer.SetString("Locality2", QStringLiteral("Troy"));
  return payer;  // no second state number: the second state lines cannot be used
}

inline TPayeeRecord CompanyPayee() {
  TPayeeRecord p;
  p.SetString("PayeeName", QStringLiteral("Blue Sky LLC"));
  p.SetString("Address1", QStringLiteral("1 Harbor Rd"));
  p.SetString("City", QStringLiteral("Troy"));
  p.SetString("State", QStringLiteral("NY"));
  p.SetString("ZipCode", QStringLiteral("12180"));
  p.SetString("CityStZip", QStringLiteral("Troy NY 12180"));
  p.SetString("SSN_IDNum", QStringLiteral("12-3456789"));
  p.SetDouble("F1099NEC1", 1234.5);
  p.SetString("F1099S1", QStringLiteral("  /  /    "));  // an empty date box as the screen saves it
  return p;
}

// The tool's error output without the lines Qt itself may add about the environment.
inline QStringList ErrLines(const TBatchRun& run) {
  QStringList lines = run.Err.split('\n');
  lines.removeIf([](const QString& l) { return l.startsWith("QStandardPaths:"); });
  return lines;
}

inline QByteArray Bytes(const std::vector<TPayeeRecord>& payees) {
  QByteArray bytes;
  for (const TPayeeRecord& p : payees)
    bytes.append(reinterpret_cast<const char*>(p.Data()), TPayeeRecord::Size);
  return bytes;
}

class ExchangeTest : public ::testing::Test {
 protected:
  // A payer file pair FILE.PR25 + FILE.PE25 holding the payees.
  QString MakePair(const QString& name, const std::vector<TPayeeRecord>& payees) {
    const TPayerRecord payer = Payer();
    WriteAll(Dir.Path(name + ".PR25"),
             QByteArray(reinterpret_cast<const char*>(payer.Data()), TPayerRecord::Size));
    WriteAll(Dir.Path(name + ".PE25"), Bytes(payees));
    return Dir.Path(name + ".PE25");
  }

  // A vendor row's fields with the header of the columns the tests below use.
  static QByteArray VendorCsv(const QStringList& rows) {
    return ("PayeeName,Address1,City,State,ZipCode,SSN_IDNum,F1099NEC1,F1099NEC5_1,"
            "F1099NEC7_2\n" +
            rows.join('\n') + '\n')
        .toUtf8();
  }

  TTempFolder Dir;
};
