#pragma once
// Backup copies the open payer file (its ".PE25" and ".PR25" files) into a folder the user
// picks, typically on a removable drive; Restore copies the two files with the same names back
// over the open payer file. Both remember the last folder in one shared setting, so a folder
// used by one command is offered by the other.
#include <QDialog>
#include <QString>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class TFrmMain;

// The frame both commands show; only the texts differ.
class TBackupDialog : public QDialog {
  Q_OBJECT
 public:
  struct TTexts {
    QString Caption;
    QString Explanation;  // the text of the " Current File: " group
    QString FolderGroup;  // the caption of the group around Path
    QString BrowseTitle;  // the folder picker's title
  };
  TBackupDialog(const TTexts& texts, const QString& fileName, const QString& folder,
                QWidget* parent = nullptr);

  QString Folder() const;
  void BtnBrowseClick();

  QLabel* LblFileName;
  QLabel* LblLocation;
  QLineEdit* Path;
  QPushButton* BtnBrowse;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;

 private:
  QString FBrowseTitle;
};

class TFrmBackup : public TBackupDialog {
  Q_OBJECT
 public:
  explicit TFrmBackup(const QString& folder, QWidget* parent = nullptr);
};

class TFrmRestore : public TBackupDialog {
  Q_OBJECT
 public:
  explicit TFrmRestore(const QString& folder, QWidget* parent = nullptr);
};

// The folder the last backup or restore used; empty when there is none.
QString BackupFolderSetting();
void SaveBackupFolderSetting(const QString& folder);

// Copies a payer file's two files (source, target pairs). A target that another opener holds for
// writing is never replaced: the copy is refused with the "already in use" message before
// anything changes. InOrder copies one file after the other, a failed copy skipping the rest (a
// backup without its payer file still restores its payees); Together copies both beside their
// targets first and renames them over the targets only when both copies are whole, so the pair
// changes together or not at all. Raises ECopyFileException.
enum class TPairCopy { InOrder, Together };
void CopyPayerFilePair(const std::vector<std::pair<QString, QString>>& copies, TPairCopy mode);

// The File menu's Backup and Restore commands. A failed copy is raised as ECopyFileException
// after the payer file has been opened again.
void BackupPayerFile(TFrmMain& main);
// Opens the payer file a command closed again, without asking its password, and brings the main
// window's caption and commands up to date.
void ReopenPayerFile(TFrmMain& main);
void RestorePayerFile(TFrmMain& main);
