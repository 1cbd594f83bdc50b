#pragma once
// A payer file on disk, opened through the data module as the program opens it, with the report
// project read from the source tree, and helpers to look at what a print job drew.
#include <gtest/gtest.h>

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "TestSupport.h"
#include "engine/DisplayList.h"
#include "engine/ReportProject.h"
#include "platform/Exceptions.h"
#include "storage/DataModule.h"
#include "storage/RecordLayout.h"

struct TFormDef;
class QLineEdit;
class QWidget;
class TCheckBoxEdit;
class TDateEdit;
class TDollarEdit;
class TFrmFormScreen;
class TReportSystem;

// The path of the report project in the source tree.
QString SourceProjectFile();

// A payer with a trade name, a valid EIN and two state lines.
TPayerRecord SamplePayer();
// A payee of the given name with the sample address, the TIN and box 1 of the 1099-NEC.
TPayeeRecord SamplePayee(const QString& name, const QString& tin, double box1);
// A borrower with a complete Form 1098 and no other form: box 1 interest, an origination date,
// the property at the borrower's address (box 7), one property (box 9).
TPayeeRecord SampleBorrower(const QString& name, const QString& tin, double interest);
// A payee of the sample address with one amount in the given field and nothing in box 1 of the
// 1099-NEC.
TPayeeRecord PayeeWith(const QString& name, const QString& tin, const char* field, double amount);
// A transferor of the Form 1099-S: a sale closed on 06/15/2025 for these gross proceeds (box 2).
TPayeeRecord SalePayee(const QString& name, const QString& tin, double proceeds);
// The payer without its first or second state line.
void ClearStateLine(TPayerRecord& payer, int line);
// The bytes of a record, to compare two records as a whole.
QByteArray Bytes(const TPayeeRecord& record);

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

  // The Form 1096 of CurrentFormType from the totals of the last scan: the program-generated
  // report, and the red copy with the offsets the run holds for the Form 1096.
  TReportJob Print1096Program(const QString& selectionNote = {});
  TReportJob Print1096Red(const QDate& today = QDate::currentDate());

  // Sends a screen's next print to this file of the folder, without the printer setup.
  void PrintToFile(TReportSystem& system, const QString& file);

  // Expects a move away from the payee refused with this error message and the focus on the box
  // to correct, the first payee still shown.
  void ExpectRefused(const QString& message, const QWidget* focus);
  // Expects a move to the second payee without a word.
  void ExpectMovedOn();

  TTempFolder Folder;
  QString PayeeFile;
  std::unique_ptr<TFrmDataModule> Module;
  std::unique_ptr<TReportProject> Project;
};

// The prints of one form: the program-generated forms and the red copies as the print command
// runs them, after a scan of the totals for the form, with the number of forms each printed.
class TFormPrintTest : public TFormsTest {
 protected:
  explicit TFormPrintTest(const TFormDef& form) : Form(form) {}

  TReportJob PrintProgram();
  // With the offsets the run holds for the form.
  TReportJob PrintRed();

  const TFormDef& Form;
  int Printed = 0;
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
// The first of these texts that the page carries, empty when it has none of them: which of a
// test's payees a page of the program-generated form is for.
QString FirstTextOn(const TPage& page, const QStringList& texts);
// The heights at which the page has this text, in drawing order: the slots of the red copies.
QList<double> RowsOf(const TPage& page, const QString& text);

// An item of the red copy table: its text, its place from the top of the form's slot, its size.
struct TRedItem {
  QString Text;
  double X, Y, Size;
  TAlign Align = TAlign::Left;
};
// Expects exactly these texts on the page, in drawing order and in Courier New, each at its place
// below the top of the slot and moved right by the horizontal offset.
void ExpectRedItems(const TPage& page, const QList<TRedItem>& expected, double top, double ho);

// Driving a form screen.
// Shows the window as the active one, as the program's main window opens it.
void ShowActive(QWidget& window);
// A box of the screen by its control name.
TDollarEdit* Money(const TFrmFormScreen& screen, const QString& name);
QLineEdit* Edit(const TFrmFormScreen& screen, const QString& name);
TCheckBoxEdit* Check(const TFrmFormScreen& screen, const QString& name);
TDateEdit* Date(const TFrmFormScreen& screen, const QString& name);
// The text of a label of the screen.
QString Label(const TFrmFormScreen& screen, const QString& name);
// Puts the focus on the box and types the text into it, key by key.
void Type(QWidget* box, const QString& text);
// Presses Enter so many times: the names of the boxes the focus goes through, from the one that
// has it now.
QStringList PressEnter(int times);
// Expects the print command of the screen to stop before any dialog with this message.
template <class TScreen>
void ExpectPrintRefused(TScreen& screen, const QString& message) {
  try {
    screen.BtnPrintClick();
    ADD_FAILURE() << "printed where it should say: " << message.toStdString();
  } catch (const EPrintException& e) {
    EXPECT_EQ(e.Message(), message);
  }
}
// Expects help to say in these words that the instructions are missing, then, with the file in
// the program's folder, to open it.
void ExpectHelpOpensTheInstructions(TFrmFormScreen& screen, const QString& missing,
                                    const QString& pdf);
