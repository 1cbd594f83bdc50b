#pragma once
// "Output Options": what the preview's Print command asks before sending a job to a printer:
// the printer with its copies, collation, two-sided printing and the page range.
#include <QDialog>

#include "engine/PrinterTarget.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

// Controls: PrinterName, Copies, Collate, Duplex ("None", "Tablet", "Book"), RBAllPages,
// RBPageRange with FromPage and ToPage, BtnOk, BtnCancel.
class TFrmOutputOptions : public QDialog {
  Q_OBJECT
 public:
  TFrmOutputOptions(const TPrinterSettings& settings, int pageCount, TPrinterTarget& target,
                    QWidget* parent = nullptr);
  // The chosen settings; the paper, source and orientation of the start settings are kept.
  TPrinterSettings Result() const;

 private:
  void CreateControls(int pageCount);
  void ShowSettings();
  void PrinterChanged();

  TPrinterSettings FSettings;
  TPrinterTarget& FTarget;
  QComboBox* PrinterName;
  QSpinBox* Copies;
  QCheckBox* Collate;
  QComboBox* Duplex;
  QRadioButton* RBAllPages;
  QRadioButton* RBPageRange;
  QSpinBox* FromPage;
  QSpinBox* ToPage;
};
