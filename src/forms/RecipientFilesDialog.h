#pragma once
// "Save one PDF per recipient...": the folder and the password choice, a progress window while
// the files are written, and what was written at the end.
#include <QDialog>

#include "forms/RecipientFiles.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

class TFrmRecipientFiles : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmRecipientFiles(const QString& folder, QWidget* parent = nullptr);
  QString Folder() const;
  TPasswordSource Password() const;

 private:
  void BrowseClick();
  QLineEdit* EdtFolder;
  QPushButton* BtnBrowse;
  QRadioButton* RBNoPassword;
  QRadioButton* RBTinLast4;
  QRadioButton* RBZip;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
};

// The whole command for the program-generated forms of form, drawn from projectFile with the
// copy and instructions of CopyChoice(), for the payees the print shown took. Returns the files
// written (none when cancelled).
QList<TRecipientFile> SaveRecipientFiles(const TFormDef& form, const QString& projectFile,
                                         QWidget* parent, const TPayeeSelection& selection = {});
// What the message at the end says.
QString RecipientFilesSummary(const QList<TRecipientFile>& files, const QString& folder);
