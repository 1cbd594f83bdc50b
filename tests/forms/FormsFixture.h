#pragma once
// A payer file on disk, opened through the data module as the program opens it, with the report
// project read from the source tree, and helpers to look at what a print job drew.
#include <gtest/gtest.h>

#include <QList>
#include <QString>
#include <functional>
#include <memory>

#include "TestSupport.h"
#include "engine/DisplayList.h"
#include "engine/ReportProject.h"
#include "storage/DataModule.h"
#include "storage/RecordLayout.h"

// The path of the report project in the source tree.
QString SourceProjectFile();

// A payer with a trade name, a valid EIN and two state lines.
TPayerRecord SamplePayer();
// A payee of the given name with the sample address, the TIN and box 1 of the 1099-NEC.
TPayeeRecord SamplePayee(const QString& name, const QString& tin, double box1);
// A borrower with a complete Form 1098 and no other form: box 1 interest, an origination date,
// the property at the borrower's address (box 7), one property (box 9).
TPayeeRecord SampleBorrower(const QString& name, const QString& tin, double interest);

class TFormsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the payer file (".PR25" and ".PE25" named Test in the folder); returns the ".PE25".
  QString WritePayerFile(const TPayerRecord& payer, const QList<TPayeeRecord>& payees);
  // Writes the payer file and opens it; record 1 is current.
  void OpenPayerFile(const TPayerRecord& payer, const QList<TPayeeRecord>& payees);
  // Closes it (writing the working records back, as the program does).
  void ClosePayerFile();
  // The payee records as they are in the file now.
  QList<TPayeeRecord> PayeesOnDisk() const;
  void WriteOffsets(const QString& prefix, double vo, double ho);

  TTempFolder Folder;
  QString PayeeFile;
  std::unique_ptr<TFrmDataModule> Module;
  std::unique_ptr<TReportProject> Project;
};

// For the Form 1096: a payer filing with a contact, fax and signer, and 1099-NEC payees.
class TForm1096Fixture : public TFormsTest {
 protected:
  // The sample payer with its contact, e-mail, fax number and a signer.
  static TPayerRecord Payer();
  // Two 1099-NEC payees: one with boxes 1, 3 and 4, one with only box 4 (and a 1099-R); both
  // file a 1099-NEC.
  static QList<TPayeeRecord> NecPayees();
};

// The texts of a page, in drawing order.
QList<TDisplayItem> Texts(const TPage& page);
// The text items of a page with exactly this text.
QList<TDisplayItem> TextsEqual(const TPage& page, const QString& text);
// True when the page has this text at (x, y), within a thousandth of an inch.
bool HasTextAt(const TPage& page, const QString& text, double x, double y);
