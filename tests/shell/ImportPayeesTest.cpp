// File / Import Payees...: the wizard pre-fills the fields from the file's own headers, shows
// the problems before anything is written, and adds the payees to the open payer file.
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTableWidget>

#include "ShellFixture.h"
#include "exchange/PayeeExchange.h"
#include "shell/FrmImportPayees.h"
#include "storage/Globals.h"

namespace {
const QByteArray kVendors =
    "Vendor,Tax ID,Street,City,ST,Zip,1099 Amount\n"
    "Hudson Paving Inc,98-7654321,4 River Rd,Albany,ny,12207,\"$1,234.50\"\n";

QString FieldOfRow(const TFrmImportPayees& wizard, int row) {
  return static_cast<QComboBox*>(wizard.Columns->cellWidget(row, 2))->currentText();
}
}  // namespace

TEST_F(ShellTest, ImportWizardMapsTheHeadersAndAddsThePayees) {
  const QString file = MakePayerFile("ACME.PE25", "Acme", 1);
  Start({file});
  ASSERT_TRUE(FileIsOpen);
  WriteAll(Dir.Path("vendors.csv"), kVendors);
  QStringList fields;
  bool finishEnabled = false;
  WhenModal([&](QWidget* w) {
    auto* wizard = qobject_cast<TFrmImportPayees*>(w);
    ASSERT_NE(wizard, nullptr);
    wizard->LoadFile(Dir.Path("vendors.csv"));
    wizard->next();
    for (int r = 0; r < wizard->Columns->rowCount(); ++r) fields << FieldOfRow(*wizard, r);
    wizard->next();
    finishEnabled = wizard->button(QWizard::FinishButton)->isEnabled();
    wizard->accept();
  });
  ASSERT_NE(Main->Action("MnuImportPayees"), nullptr);
  ImportPayeesCommand(*Main);
  EXPECT_EQ(fields, QStringList({"PayeeName", "SSN_IDNum", "Address1", "City", "State", "ZipCode",
                                 "F1099NEC1"}));
  EXPECT_TRUE(finishEnabled);
  ASSERT_TRUE(FileIsOpen);
  EXPECT_EQ(DataModule->RSPayee->LastRecord(), 2);
  const std::vector<TPayeeRecord> payees = ReadPayeeFile(file);
  ASSERT_EQ(payees.size(), 2u);
  EXPECT_EQ(payees[1].GetString("PayeeName"), "Hudson Paving Inc");
  EXPECT_EQ(payees[1].GetDouble("F1099NEC1"), 1234.5);
}

TEST_F(ShellTest, ImportWizardShowsProblemsAndWritesNothing) {
  const QString file = MakePayerFile("ACME.PE25", "Acme", 1);
  Start({file});
  QByteArray bad = kVendors;
  bad.replace("98-7654321", "98-76");
  WriteAll(Dir.Path("bad.csv"), bad);
  const QByteArray before = ReadAll(file);
  QString problems;
  bool finishEnabled = true;
  WhenModal([&](QWidget* w) {
    auto* wizard = qobject_cast<TFrmImportPayees*>(w);
    ASSERT_NE(wizard, nullptr);
    wizard->LoadFile(Dir.Path("bad.csv"));
    wizard->next();
    wizard->next();
    problems = wizard->Problems->toPlainText();
    finishEnabled = wizard->button(QWizard::FinishButton)->isEnabled();
    wizard->reject();
  });
  ImportPayeesCommand(*Main);
  EXPECT_EQ(problems,
            "Line 2, column \"Tax ID\": \"98-76\" is not a taxpayer identification number "
            "(NNN-NN-NNNN or NN-NNNNNNN)");
  EXPECT_FALSE(finishEnabled);
  EXPECT_EQ(ReadAll(file), before);
}
