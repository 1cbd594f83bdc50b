#pragma once
// File / Import Payees...: a short wizard over the payee import. First the CSV file with its
// separator and text encoding (detected, changeable); then each of its columns with sample
// values and the payee field it goes to (pre-filled from its header, changeable, savable as a
// mapping); then a preview of the rows and every problem, and Import only when there is none.
// File / Export Payees...: the open file's payees as a CSV file.
#include <QWizard>

#include "exchange/PayeeExchange.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;
class TFrmMain;

class TFrmImportPayees : public QWizard {
  Q_OBJECT
 public:
  explicit TFrmImportPayees(const TPayerRecord& payer, QWidget* parent = nullptr);

  // Reads a CSV file and shows what was detected.
  void LoadFile(const QString& path);
  void LoadMapping(const QString& path);
  void SaveMapping(const QString& path);
  // The settings the choices on screen make.
  TImportSettings Settings() const;
  // The preview's plan for the current choices.
  const TImportPlan& Plan() const { return FPlan; }

  QLineEdit* FileName = nullptr;
  QComboBox* Separator = nullptr;
  QComboBox* Encoding = nullptr;
  QComboBox* AmountField = nullptr;
  QTableWidget* Columns = nullptr;
  QTableWidget* Preview = nullptr;
  QPlainTextEdit* Problems = nullptr;

 protected:
  void initializePage(int id) override;
  bool validateCurrentPage() override;

 private:
  QWizardPage* CreateFilePage();
  QWizardPage* CreateColumnsPage();
  QWizardPage* CreatePreviewPage();
  void FillColumns();
  void FillPreview();
  QComboBox* FieldChoice(const QString& field);

  TPayerRecord FPayer;
  QByteArray FBytes;
  TImportSettings FLoaded;  // a mapping loaded from a file
  TImportPlan FPlan;
};

void ImportPayeesCommand(TFrmMain& main);
void ExportPayeesCommand(TFrmMain& main);
