#pragma once
// The report system's windows: the set-up window shown before a job, the status window shown
// while its pages are generated or printed, and the simple preview for report systems without
// one of their own. All have named controls so tests can drive them. InstallReportWindows()
// gives them to the engine.
#include <QDialog>
#include <QString>

#include "engine/ReportSystem.h"
#include "engine/ReportUi.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;
class QSpinBox;

// Controls: RBPrinter, RBPreview, RBFile (destination); FileName with BtnBrowse; PrinterName;
// Copies; Collate; Duplex ("None", "Tablet", "Book"); RBAllPages, RBPageRange with FromPage and
// ToPage; BtnOk, BtnCancel.
class TReportSetupDialog : public QDialog {
  Q_OBJECT
 public:
  TReportSetupDialog(const QString& title, const TReportSetup& setup, TPrinterTarget& target,
                     QWidget* parent = nullptr);
  TReportSetup Result() const;
  void accept() override;  // refuses a file destination without a file name

 private:
  void BuildDestination();
  void BuildOptions();
  void UpdateEnabled();
  void Browse();
  TReportSetup FSetup;
  TPrinterTarget& FTarget;
  QRadioButton* FPrinter = nullptr;
  QRadioButton* FPreview = nullptr;
  QRadioButton* FFile = nullptr;
  QLineEdit* FFileName = nullptr;
  QComboBox* FPrinterName = nullptr;
  int FOfferedPrinter = -1;
  QSpinBox* FCopies = nullptr;
  QCheckBox* FCollate = nullptr;
  QComboBox* FDuplex = nullptr;
  QRadioButton* FAllPages = nullptr;
  QRadioButton* FRange = nullptr;
  QSpinBox* FFrom = nullptr;
  QSpinBox* FTo = nullptr;
};

// Modeless window with a status line (LblStatus) and a progress bar (Progress).
class TReportStatusWindow : public QDialog, public TReportStatus {
  Q_OBJECT
 public:
  TReportStatusWindow(const QString& title, QWidget* parent = nullptr);
  // Shows format with %p replaced by page; total > 0 turns the bar into "page of total".
  void ShowPage(const QString& format, int page, int total = 0) override;
  QString StatusText() const;

 private:
  QLabel* FLabel;
  QProgressBar* FBar;
};

// The engine's own preview, used when a report system has no OverridePreview: one page at a
// time with BtnPrior, BtnNext, BtnPrint (to the printer with the job's settings) and BtnClose;
// LblPage shows " Page n of m".
class TEnginePreview : public QDialog {
  Q_OBJECT
 public:
  TEnginePreview(TReportSystem& system, const TReportJob& job, QWidget* parent = nullptr);
  int CurrentPage() const { return FPage; }
  void ShowPage(int page);  // 1-based, clamped

 private:
  TReportSystem& FSystem;
  const TReportJob& FJob;
  int FPage = 1;
  QLabel* FImage;
  QLabel* FStatus;
};

// Makes these windows the ones every report run of the program uses.
void InstallReportWindows();
