#pragma once
// The stored printer set-up: the dialog that fixes printer, paper, paper source, orientation,
// collation, two-sided printing and copies, the settings record it keeps under the "Printer"
// key, and SetPrinterSetup, applied to the printer at the start of every print job.
#include <QDialog>
#include <QString>
#include <memory>

#include "engine/PagePrinter.h"

class QCheckBox;
class QComboBox;
class TEnterAsTab;
class TFilterEdit;
class QPushButton;
class QRadioButton;

// Orientation codes as stored: 0 portrait, 1 landscape, 2 the printer's default.
// Duplex codes: 0 none, 1 vertical (shown as "Tablet"), 2 horizontal (shown as "Book").
struct TPrinterSetupRecord {
  QString PrinterName;  // at most 60 characters; empty means no stored set-up
  QString PaperName;    // at most 40
  QString BinName;      // at most 40
  int Orientation = 0;
  bool Collate = false;
  int Duplex = 0;
  int Copies = 0;  // 0 is shown and applied as 1
};

// The program-wide settings record; the registry holds the lasting copy under
// RegistryRoot + "Printer".
extern TPrinterSetupRecord PrinterSetupRecord;

constexpr int kPrinterNameWidth = 60;
constexpr int kPaperNameWidth = 40;
constexpr int kBinNameWidth = 40;

QString PrinterSetupKey();
void ClearPrinterSetup(TPrinterSetupRecord& rec);
// Reads the "Printer" key, when it exists, into rec. An orientation or duplex other than 0, 1
// or 2 leaves that field as it was; copies outside 0..99 read as 0.
void ReadPrinterSetup(TPrinterSetupRecord& rec);
// Writes all seven values together, creating the key when needed.
void WritePrinterSetup(const TPrinterSetupRecord& rec);

// Reads the stored set-up into PrinterSetupRecord and, when it names a printer, applies it:
// printer, paper, paper source, orientation, collation and duplex where the printer has them,
// copies. With no stored printer the job keeps the printer's own defaults.
void SetPrinterSetup(TPagePrinter& printer);

class TFrmPrinterSetupDlg : public QDialog {
  Q_OBJECT
 public:
  // The dialog's own page printer lists the printers of the global printer target.
  explicit TFrmPrinterSetupDlg(QWidget* parent = nullptr);
  ~TFrmPrinterSetupDlg() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void CreateControls();
  void FormShow();
  void FillPrinterLists();
  void PrinterNameChange(int index);
  void BtnOkClick();
  void ValidateEntries();
  void TakeControls(TPrinterSetupRecord& rec) const;

  TPagePrinter FPrinter;

  QComboBox* PrinterName;
  QComboBox* PaperName;
  QComboBox* BinName;
  QCheckBox* Collate;
  TFilterEdit* Copies;
  QRadioButton* Portrait;
  QRadioButton* Landscape;
  QRadioButton* Simplex;
  QRadioButton* Horizontal;
  QRadioButton* Vertical;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
  TEnterAsTab* EnterAsTab;
};

// Shows the printer set-up dialog modally and releases it.
void ShowPrinterSetupDlg(QWidget* parent = nullptr);
