#pragma once
// Asks for the name of a new payer file.
#include <QDialog>

class TFilterEdit;

class TFrmNewFileDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmNewFileDlg(QWidget* parent = nullptr);
  // Shows the dialog; true with the trimmed name when the user confirmed a non-blank one.
  static bool Ask(QWidget* parent, QString& name);
  TFilterEdit* NewFileName() const { return FNewFileName; }

 private:
  TFilterEdit* FNewFileName = nullptr;
};
