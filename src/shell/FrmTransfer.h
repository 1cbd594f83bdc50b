#pragma once
// The transfer utility: the user names last year's data folder, picks payer files from the list
// and transfers them into this year's data folder. One transfer run per opening of the screen:
// entering the folder -> choosing files -> transferring -> done (only Exit is left).
#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStatusBar;

class TFrmTransfer : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmTransfer(QWidget* parent = nullptr);

  static constexpr int HelpContext = 20;

  void FormShow();
  void BtnBrowseClick();
  void BtnOkClick();
  void FileListBoxClick();
  void BtnSelectAllClick();
  void BtnDeselectAllClick();
  void BtnTransferClick();
  void ChkNoOverwriteClick();
  void BtnHelpClick();

  QString StatusText() const;
  int FilesTransferred() const { return FFilesTransferred; }

  QLineEdit* Path;
  QPushButton* BtnBrowse;
  QPushButton* BtnOk;
  QListWidget* FileListBox;
  QLabel* LblAlreadyTransferred;
  QCheckBox* ChkNoOverwrite;
  QPushButton* BtnSelectAll;
  QPushButton* BtnDeselectAll;
  QPushButton* BtnTransfer;
  QPushButton* BtnHelp;
  QPushButton* BtnCancel;
  QStatusBar* StatusBar;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildControls();
  void ConnectControls();
  QLayout* PathRow();
  QLayout* ButtonColumn();
  void SetStatusText(const QString& text);
  void EnterTransferState();
  void FinishTransfer();
  void ShowLeftEmpty();
  void TransferSelected();

  QLabel* FStatusPanel = nullptr;
  QString FPriorFolder;  // the listed folder, with its delimiter
  int FFilesTransferred = 0;
  QStringList FLeftEmpty;  // carried values this year's records may not hold
  bool FShown = false;
};

// Tools / Transfer: shows the transfer screen modally. The caller closes any open payer file
// first.
void ShowTransferScreen();
