// File / Import Payees...: the wizard pre-fills the fields from the file's own headers, keeps
// what the user chose, reads a corrected file again, shows each problem in its cell, asks about
// payees the file holds already, and adds or updates the payees of the open payer file.
// File / Export Payees...: one form's columns or every form's, for Excel when asked.
#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>

#include "ShellFixture.h"
#include "exchange/PayeeExchange.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "shell/FrmImportPayees.h"
#include "storage/Globals.h"

namespace {
const QByteArray kVendors =
    "Vendor,Tax ID,Street,City,ST,Zip,1099 Amount\n"
    "Hudson Paving Inc,98-7654321,4 River Rd,Albany,ny,12207,\"$1,234.50\"\n";

TFrmImportPayees* Wizard(QWidget* w) {
  auto* wizard = qobject_cast<TFrmImportPayees*>(w);
  EXPECT_NE(wizard, nullptr);
  return wizard;
}

QStringList Fields(const TFrmImportPayees& wizard) {
  QStringList fields;
  for (int r = 0; r < wizard.Columns->rowCount(); ++r) fields << wizard.FieldOfColumn(r);
  return fields;
}

// A payer file whose one payee is Hudson Paving with 100.00 in 1099-NEC box 1.
QString FileWithHudson(ShellTest& test, TTempFolder& dir) {
  const QString file = dir.Path("ACME.PE25");
  TPayeeRecord hudson;
  hudson.SetString("PayeeName", QStringLiteral("Hudson Paving Inc"));
  hudson.SetString("Address1", QStringLiteral("4 River Rd"));
  hudson.SetString("City", QStringLiteral("Albany"));
  hudson.SetString("State", QStringLiteral("NY"));
  hudson.SetString("ZipCode", QStringLiteral("12207"));
  hudson.SetString("CityStZip", QStringLiteral("Albany NY 12207"));
  hudson.SetString("SSN_IDNum", QStringLiteral("98-7654321"));
  hudson.SetDouble("F1099NEC1", 100);
  (void)test;
  TPayerRecord payer;
  payer.SetString("PayerName", QStringLiteral("Acme"));
  WriteAll(dir.Path("ACME.PR25"), QByteArray(reinterpret_cast<const char*>(payer.Data()), 448));
  WriteAll(file, QByteArray(reinterpret_cast<const char*>(hudson.Data()), 1536));
  return file;
}
}  // namespace

TEST_F(ShellTest, ImportWizardMapsTheHeadersAndAddsThePayees) {
  const QString file = MakePayerFile("ACME.PE25", "Acme", 1);
  Start({file});
  ASSERT_TRUE(FileIsOpen);
  WriteAll(Dir.Path("vendors.csv"), kVendors);
  QStringList fields;
  bool finishEnabled = false;
  QString fileLabel;
  WhenModal([&](QWidget* w) {
    TFrmImportPayees* wizard = Wizard(w);
    for (QLabel* l : wizard->findChildren<QLabel*>())
      if (l->buddy() == wizard->FileName) fileLabel = l->text();
    wizard->LoadFile(Dir.Path("vendors.csv"));
    wizard->next();
    fields = Fields(*wizard);
    wizard->next();
    finishEnabled = wizard->button(QWizard::FinishButton)->isEnabled();
    wizard->accept();
  });
  ASSERT_NE(Main->Action("MnuImportPayees"), nullptr);
  ImportPayeesCommand(*Main);
  // The label's ampersand marks its key: it is not shown.
  EXPECT_EQ(fileLabel, "&File:");
  EXPECT_EQ(fields, QStringList({"PayeeName", "SSN_IDNum", "Address1", "City", "State", "ZipCode",
                                 "F1099NEC1"}));
  EXPECT_TRUE(finishEnabled);
  ASSERT_TRUE(FileIsOpen);
  EXPECT_EQ(DataModule->RSPayee->LastRecord(), 2);
  const std::vector<TPayeeRecord> payees = ReadPayeeFile(file);
  ASSERT_EQ(payees.size(), 2u);
  EXPECT_EQ(payees[1].GetString("PayeeName"), "Hudson Paving Inc");
  EXPECT_EQ(payees[1].GetDouble("F1099NEC1"), 1234.5);
  EXPECT_EQ(MsgBoxScript::LastText(), "Payees added: 1, updated: 0, skipped: 0.");

  // The next import starts from the file of the last.
  QString remembered;
  WhenModal([&](QWidget* w) {
    remembered = Wizard(w)->FileName->text();
    Wizard(w)->reject();
  });
  ImportPayeesCommand(*Main);
  EXPECT_EQ(remembered, Dir.Path("vendors.csv"));
}

// A problem shows in its cell, with the value, and the list names line, column and value;
// Back keeps a column chosen by hand, and Next reads the file again once it is corrected.
TEST_F(ShellTest, ImportWizardShowsProblemsKeepsChoicesAndReadsTheCorrectedFile) {
  const QString file = MakePayerFile("ACME.PE25", "Acme", 1);
  Start({file});
  QByteArray bad = kVendors;
  bad.replace("98-7654321", "98-76");
  WriteAll(Dir.Path("bad.csv"), bad);
  const QByteArray before = ReadAll(file);
  QStringList problem;
  QString cellTip, rowLine;
  bool finishEnabled = true, finishAfterFix = false;
  QString streetAfterBack;
  WhenModal([&](QWidget* w) {
    TFrmImportPayees* wizard = Wizard(w);
    wizard->LoadFile(Dir.Path("bad.csv"));
    wizard->next();
    wizard->SetFieldOfColumn(2, QStringLiteral("CompName"));  // "Street" as the trade name
    wizard->next();
    for (int c = 0; c < 4; ++c) problem << wizard->Problems->item(0, c)->text();
    QAbstractItemModel* rows = wizard->Preview->model();
    cellTip = rows->data(rows->index(0, 2), Qt::ToolTipRole).toString();
    rowLine = rows->data(rows->index(0, 0), Qt::DisplayRole).toString();
    finishEnabled = wizard->button(QWizard::FinishButton)->isEnabled();
    wizard->back();
    streetAfterBack = wizard->FieldOfColumn(2);
    wizard->SetFieldOfColumn(2, QStringLiteral("Address1"));
    WriteAll(Dir.Path("bad.csv"), kVendors);  // corrected meanwhile in the spreadsheet
    wizard->back();
    wizard->next();
    wizard->next();
    finishAfterFix = wizard->button(QWizard::FinishButton)->isEnabled();
    wizard->reject();
  });
  ImportPayeesCommand(*Main);
  EXPECT_EQ(problem, QStringList({"2", "Tax ID", "98-76",
                                  "\"98-76\" is not a taxpayer identification number "
                                  "(NNN-NN-NNNN or NN-NNNNNNN)"}));
  EXPECT_EQ(cellTip, problem[3]);
  EXPECT_EQ(rowLine, "2");
  EXPECT_FALSE(finishEnabled);
  EXPECT_EQ(streetAfterBack, "CompName");
  EXPECT_TRUE(finishAfterFix);
  EXPECT_EQ(ReadAll(file), before);
}

// A row for a payee the file holds: Import waits for the choice, then updates it in place.
TEST_F(ShellTest, ImportWizardAsksBeforeUpdatingAPayeeThereAlready) {
  const QString file = FileWithHudson(*this, Dir);
  Start({file});
  WriteAll(Dir.Path("vendors.csv"), kVendors);
  bool before = true, after = false;
  bool matchesShown = false;
  WhenModal([&](QWidget* w) {
    TFrmImportPayees* wizard = Wizard(w);
    wizard->LoadFile(Dir.Path("vendors.csv"));
    wizard->next();
    wizard->next();
    matchesShown = wizard->MatchBox->isVisibleTo(wizard);
    before = wizard->button(QWizard::FinishButton)->isEnabled();
    wizard->UpdateMatches->click();
    after = wizard->button(QWizard::FinishButton)->isEnabled();
    wizard->accept();
  });
  ImportPayeesCommand(*Main);
  EXPECT_TRUE(matchesShown);
  EXPECT_FALSE(before);
  EXPECT_TRUE(after);
  const std::vector<TPayeeRecord> payees = ReadPayeeFile(file);
  ASSERT_EQ(payees.size(), 1u);
  EXPECT_EQ(payees[0].GetDouble("F1099NEC1"), 1234.5);
}

// The good rows alone, when the user asks: the others are listed in a file beside the input.
TEST_F(ShellTest, ImportWizardCanImportTheGoodRowsAndListTheOthers) {
  const QString file = MakePayerFile("ACME.PE25", "Acme", 1);
  Start({file});
  WriteAll(Dir.Path("vendors.csv"), kVendors + "Bad Co,98-76,1 Elm St,Troy,NY,12180,5\n");
  WhenModal([&](QWidget* w) {
    TFrmImportPayees* wizard = Wizard(w);
    wizard->LoadFile(Dir.Path("vendors.csv"));
    wizard->next();
    wizard->next();
    EXPECT_FALSE(wizard->button(QWizard::FinishButton)->isEnabled());
    wizard->GoodRowsOnly->click();
    EXPECT_TRUE(wizard->button(QWizard::FinishButton)->isEnabled());
    wizard->accept();
  });
  ImportPayeesCommand(*Main);
  EXPECT_EQ(ReadPayeeFile(file).size(), 2u);
  const QByteArray listed = ReadAll(Dir.Path("vendors not imported.csv"));
  EXPECT_TRUE(listed.contains("Bad Co,98-76,1 Elm St,Troy,NY,12180,5,")) << listed.data();
  EXPECT_TRUE(MsgBoxScript::LastText().contains("vendors not imported.csv"));
}

TEST_F(ShellTest, ExportOfOneFormForExcel) {
  const QString file = FileWithHudson(*this, Dir);
  Start({file});
  WhenModal([&](QWidget* w) {
    auto* dialog = qobject_cast<TFrmExportPayees*>(w);
    ASSERT_NE(dialog, nullptr);
    dialog->Form->setCurrentIndex(dialog->Form->findData(QStringLiteral("1099-NEC")));
    dialog->ForExcel->setChecked(true);
    dialog->accept();
  });
  DialogScript::SetNextFileName(Dir.Path("nec.csv"));
  ExportPayeesCommand(*Main);
  const QByteArray csv = ReadAll(Dir.Path("nec.csv"));
  EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBFPrior-year record number,")) << csv.left(60).data();
  EXPECT_TRUE(csv.contains(",1099-NEC box 1 Nonemployee compensation,"));
  EXPECT_FALSE(csv.contains("1099-MISC"));
  EXPECT_TRUE(csv.contains(",100.00,"));
}
