#pragma once
// The stored printer set-up: the dialog that fixes printer, paper, paper source, orientation,
// collation, two-sided printing and copies, the settings record it keeps under the "Printer"
// key, and SetPrinterSetup, applied to the printer at the start of every print job.
#include <QDialog>
#include <QString>
#include <memory>

#include "printing/PrinterChoice.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

struct TPrinterSettings {
  QString PrinterName;  // at most 60 characters; empty means no stored set-up
  QString PaperName;    // at most 40
  QString BinName;      // at most 40
  int Orientation = poPortrait;
  bool Collate = false;
  int Duplex = pdSimplex;
  int Copies = 0;  // 0 is shown and applied as 1
};

// The program-wide settings record; the registry holds the lasting copy.
extern TPrinterSettings PrinterSettings;

constexpr int kPrinterNameWidth = 60;
constexpr int kPaperNameWidth = 40;
constexpr int kBinNameWidth = 40;

QString PrinterSettingsKey(const QString& registryRoot);
void ClearPrinterSettings(TPrinterSettings& rec);
// Reads the "Printer" key, when it exists, into rec. An orientation or duplex other than 0, 1
// or 2 leaves that field as it was; copies outside 0..99 read as 0.
void ReadPrinterSettings(TPrinterSettings& rec, const QString& registryRoot);
// Writes all seven values together, creating the key when needed.
void WritePrinterSettings(const TPrinterSettings& rec, const QString& registryRoot);

// Reads the stored set-up into PrinterSettings and, when it names a printer, applies it:
// printer, paper, paper source, orientation, collation and duplex where the printer has them,
// copies. With no stored printer the job keeps the printer's own defaults.
void SetPrinterSetup(TPrinterChoice& printer, const QString& registryRoot);
void SetPrinterSetup(QPrinter& printer, const QString& registryRoot);

class TFrmPrinterSetupDlg : public QDialog {
  Q_OBJECT
 public:
  // Without a printer choice the dialog works on the system's installed printers.
  explicit TFrmPrinterSetupDlg(const QString& registryRoot, QWidget* parent = nullptr,
                               TPrinterChoice* printer = nullptr);
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
  void TakeControls(TPrinterSettings& rec) const;

  QString FRegistryRoot;
  std::unique_ptr<QPrinter> FOwnPrinter;
  std::unique_ptr<TPrinterChoice> FOwnChoice;
  TPrinterChoice* FPrinter;

  QComboBox* PrinterName;
  QComboBox* PaperName;
  QComboBox* BinName;
  QCheckBox* Collate;
  QLineEdit* Copies;
  QRadioButton* Portrait;
  QRadioButton* Landscape;
  QRadioButton* Simplex;
  QRadioButton* Horizontal;
  QRadioButton* Vertical;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
};

// Shows the printer set-up dialog modally and releases it.
void ShowPrinterSetupDlg(const QString& registryRoot, QWidget* parent = nullptr);
