#pragma once
// Tools / Check Before Filing...: the check report of the open payer file as a list, one finding
// a row with its level, payee, form and text; a double-click opens that payee's screen and the
// list is checked again when it closes. Tools / TIN Matching Request... and Results... write the
// IRS's Bulk TIN Matching request and bring its answers back beside the payer file.
#include <QDialog>
#include <functional>
#include <vector>

#include "exchange/FilingCheck.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TFrmCheck : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmCheck(QWidget* parent = nullptr);

  // Checks the payees of the open payer file for the form chosen and fills the list.
  void RunCheck();
  // Makes the payee current and opens its screen (through OpenPayeeScreen), then checks again.
  void OpenPayee(int record);

  QComboBox* FormChoice;
  QTreeWidget* CheckList;
  QLabel* Summary;
  QPushButton* BtnClose;
  QPushButton* BtnHelp;
  // The payee screen; the program's by default.
  std::function<void()> OpenPayeeScreen;

 private:
  void ItemActivated(QTreeWidgetItem* item);
  TCheckReport FReport;
};

void ShowCheckScreen(QWidget* parent);
// Asks where to save the request of the open payer file, writes it and says what it holds.
void TinMatchRequestCommand(QWidget* parent);
// Asks for the IRS's results file, keeps its answers beside the payer file and says what came.
void TinMatchResultsCommand(QWidget* parent);
