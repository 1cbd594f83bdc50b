#pragma once
// Per-form printer offsets: how far the text of each pre-printed form moves right (horizontal)
// and down (vertical), in inches, to meet the boxes of the sheets a printer feeds with a small
// shift. Kept under RegistryRoot + "Offsets" as 8-byte little-endian doubles, two values per
// form ("F1099NECHO", "F1099NECVO", ...), and set on the "Printer Offsets Setup" screen.
#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>

class QPushButton;
class TDollarEdit;
class TEnterAsTab;

struct TOffsetForm {
  const char* Caption;  // "Form 1099-NEC"
  const char* Prefix;   // "F1099NEC": the values are Prefix + "HO" and Prefix + "VO"
};
// The forms of the screen, in its order: the Form 1096, then the per-payee forms, as the program
// installs them from its registry of forms at start (this layer knows no forms of its own).
const QList<TOffsetForm>& OffsetForms();
void SetOffsetForms(const QList<TOffsetForm>& forms);

QString OffsetsKey();  // RegistryRoot + "Offsets"
// An offset as stored, and back. A value that is not 8 bytes, not a finite number or not below
// 10 inches either way (more than the two whole digits of an offset field) reads as 0.
QByteArray OffsetBytes(double value);
double OffsetFromBytes(const QByteArray& bytes);

// Reads a form's offsets (prefix "F1099NEC") when the "Offsets" key exists; without the key
// vo and ho keep the values the caller holds. Answers whether the key was there.
bool ReadFormOffsets(const QString& prefix, double& vo, double& ho);

class TFrmPrinterSetup : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmPrinterSetup(QWidget* parent = nullptr);

  TDollarEdit* Field(const QString& valueName) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void FormShow();
  void BtnOkClick();
  void BtnSetupClick();
  void WriteOffsets() const;

  QList<TDollarEdit*> FFields;  // row by row, horizontal before vertical
  TEnterAsTab* EnterAsTab;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
  QPushButton* BtnSetup;
  QPushButton* BtnHelp;
};

// Main menu "Print Setup": shows the offsets screen modally and releases it.
void ShowPrinterOffsets(QWidget* parent = nullptr);
