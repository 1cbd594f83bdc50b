#pragma once
// File / Import Payees...: a short wizard over the payee import. First the CSV file and how it
// is written (separator, encoding, decimal symbol, date order, rows above the header and below
// the payees; detected, changeable, with the file's first lines to see them by); then each of
// its columns with sample values and the payee field it goes to (pre-filled from its header,
// changeable, savable as a mapping); then the rows with every problem marked in them, the rows
// whose payee the file holds already with the choice to update, skip or add them, the values a
// spreadsheet spoilt with their repair, and Import only when the choices leave no problem.
// File / Export Payees...: the open file's payees as a CSV file, every form's columns or one's.
#include <QDialog>
#include <QWizard>

#include "exchange/PayeeExchange.h"

class QAbstractTableModel;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QSpinBox;
class QTableView;
class QTableWidget;
class TFrmMain;
class TPlanModel;

class TFrmImportPayees : public QWizard {
  Q_OBJECT
 public:
  TFrmImportPayees(const TPayerRecord& payer, std::vector<TPayeeRecord> existing,
                   QWidget* parent = nullptr);
  ~TFrmImportPayees() override;

  // Reads a CSV file and shows what was detected; a file read before keeps the choices made.
  void LoadFile(const QString& path);
  void LoadMapping(const QString& path);
  void SaveMapping(const QString& path);
  // The settings the choices on screen make.
  TImportSettings Settings() const;
  // The preview's plan for the current choices.
  const TImportPlan& Plan() const { return FPlan; }
  QString FilePath() const;
  // The payee field (its record name) a column of the file goes to, "" when left out.
  QString FieldOfColumn(int row) const;
  void SetFieldOfColumn(int row, const QString& field);

  QLineEdit* FileName = nullptr;
  QComboBox* Separator = nullptr;
  QComboBox* Encoding = nullptr;
  QComboBox* Decimal = nullptr;
  QComboBox* DateOrder = nullptr;
  QSpinBox* SkipBefore = nullptr;
  QSpinBox* SkipAfter = nullptr;
  QPlainTextEdit* FileSample = nullptr;
  QComboBox* AmountField = nullptr;
  QTableWidget* Columns = nullptr;
  QLabel* Summary = nullptr;
  QTableView* Preview = nullptr;
  QTableWidget* Problems = nullptr;
  QPlainTextEdit* Messages = nullptr;
  QGroupBox* MatchBox = nullptr;
  QRadioButton* UpdateMatches = nullptr;
  QRadioButton* SkipMatches = nullptr;
  QRadioButton* AddMatches = nullptr;
  QCheckBox* RepairZeros = nullptr;
  QCheckBox* GoodRowsOnly = nullptr;

 protected:
  void initializePage(int id) override;
  bool validateCurrentPage() override;

 private:
  QWizardPage* CreateFilePage();
  QWidget* CreateFormatBox(QWidget* page);
  QWizardPage* CreateColumnsPage();
  QWizardPage* CreatePreviewPage();
  QWidget* CreateChoices(QWidget* page);
  void ReadBytes(const QString& path);
  void ShowDetected();
  void ShowSample();
  void FillColumns();
  void FillPreview();
  void FitPreviewColumns();
  void FillProblems();
  void FillMessages();
  void ShowProblemCell(int row);
  TImportSettings FormatSettings() const;

  TPayerRecord FPayer;
  std::vector<TPayeeRecord> FExisting;
  QString FPath;  // the file FBytes came from
  QByteArray FBytes;
  TImportSettings FLoaded;          // a mapping loaded from a file
  QHash<QString, QString> FChosen;  // header -> field, as the user chose it
  TImportPlan FPlan;
  TPlanModel* FModel = nullptr;
  QButtonGroup* FMatchChoice = nullptr;
  bool FFilling = false;
};

// The export's choices: every form's columns or one form's, and the byte order mark for Excel.
class TFrmExportPayees : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmExportPayees(QWidget* parent = nullptr);
  TExportOptions Options() const;

  QComboBox* Form = nullptr;
  QCheckBox* ForExcel = nullptr;
};

void ImportPayeesCommand(TFrmMain& main);
void ExportPayeesCommand(TFrmMain& main);
