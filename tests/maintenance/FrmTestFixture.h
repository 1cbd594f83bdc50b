#pragma once
// A data module over a payer file in a temporary folder, opened as the main window opens one,
// for the tests of the payer, payee and list screens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <memory>

#include "TestSupport.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

// A payee record with a business name or, for an individual, a last and first name.
inline TPayeeRecord MakePayee(const QString& name, const QString& lastName = {},
                              const QString& firstName = {}) {
  TPayeeRecord payee;
  const bool individual = !lastName.isEmpty() || !firstName.isEmpty();
  payee.SetBool("Individual", individual);
  payee.SetString("PayeeName", individual ? firstName + " " + lastName : name);
  payee.SetString("LastName", lastName);
  payee.SetString("FirstName", firstName);
  return payee;
}

class PayerFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MsgBoxScript::Clear();
    HelpScript::Clear();
    DataModule = std::make_unique<TFrmDataModule>();
    DataModule->RSPayer->SetRecSize(448);
    DataModule->RSPayee->SetRecSize(1536);
    DataModule->RSPayee->SetMaxRec(10000);
    PayerRec.Clear();
    PayeeRec.Clear();
  }

  void TearDown() override {
    Close();
    DataModule.reset();
    MsgBoxScript::Clear();
  }

  // Writes the payer file pair with these payees (one blank payee when none) and opens it.
  void Open(const std::vector<TPayeeRecord>& payees = {}, const TPayerRecord& payer = {}) {
    QByteArray bytes;
    for (const TPayeeRecord& p : payees)
      bytes.append(reinterpret_cast<const char*>(p.Data()), TPayeeRecord::Size);
    if (payees.empty()) bytes = QByteArray(TPayeeRecord::Size, '\0');
    WriteAll(PayeePath(), bytes);
    WriteAll(PayerPath(), QByteArray(reinterpret_cast<const char*>(payer.Data()), 448));
    PayeeFileName = PayeePath();
    Payees()->SetFileName(PayeeFileName);
    SkipPasswordCheck = true;  // the password prompt is not under test here
    Payees()->OpenRecSet();
    SkipPasswordCheck = false;
    ASSERT_TRUE(FileIsOpen);
  }

  void Close() {
    if (DataModule && Payees()->Active()) Payees()->CloseRecSet();
  }

  TRecordSet* Payees() const { return DataModule->RSPayee; }
  QString PayeePath() const { return Dir.Path("Test.PE25"); }
  QString PayerPath() const { return Dir.Path("Test.PR25"); }

  // Record n (1-based) of the payee file as it is on disk.
  TPayeeRecord PayeeOnDisk(int n) const {
    TPayeeRecord payee;
    const QByteArray bytes =
        ReadAll(PayeePath()).mid((n - 1) * TPayeeRecord::Size, TPayeeRecord::Size);
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<char*>(payee.Data()));
    return payee;
  }
  TPayerRecord PayerOnDisk() const {
    TPayerRecord payer;
    const QByteArray bytes = ReadAll(PayerPath()).left(448);
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<char*>(payer.Data()));
    return payer;
  }
  int PayeesOnDisk() const {
    return static_cast<int>(ReadAll(PayeePath()).size() / TPayeeRecord::Size);
  }

  TTempFolder Dir;
  std::unique_ptr<TFrmDataModule> DataModule;
};
