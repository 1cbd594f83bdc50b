#pragma once
// The Form 1096 screen: the payer as filer, seven form-type boxes of which at most one is ticked,
// the totals of the ticked type, and both prints (Form1096.h).
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "forms/Form1096.h"
#include "maintenance/FrmScreen.h"

class QLabel;
class QPushButton;
class QScrollArea;
class TCheckBoxEdit;
class TEnterAsTab;
class TFormFace;
class TPagePrinter;
class TReportPrinter;
class TReportProject;
class TReportSystem;

class TFrm1096 : public TFrmScreen {
  Q_OBJECT
 public:
  explicit TFrm1096(QWidget* parent = nullptr);
  ~TFrm1096() override;

  bool NoTypeChosen() const { return FNoTypeChosen; }
  TCheckBoxEdit* TypeBox(uint8_t formType) const;
  TReportSystem* ReportSystem;
  TReportPrinter* ReportPrinter;
  // The system print dialog shown before a pre-printed print; answers whether to print. Tests
  // replace it.
  std::function<bool(TReportPrinter& printer)> ConfirmPrintDialog;

  void BtnPrintClick();
  void FormTypeChange(TCheckBoxEdit* changed);

 private:
  void CreateControls();
  void CreatePrintComponents();
  QLabel* AddLabel(const char* name, const char* caption, const char* param, TAlign align);
  void FormShow();
  void ShowTotals();
  void CheckBoxEnter(TCheckBoxEdit* box);
  void CheckBoxExit(TCheckBoxEdit* box);

  std::unique_ptr<TFormFace> FFace;
  QScrollArea* ScrollBox;
  QLabel* Form1096;
  std::vector<TCheckBoxEdit*> FTypeBoxes;  // one per form of the registry, in its order
  TEnterAsTab* EnterAsTab;
  QPushButton* BtnPrint;
  QPushButton* BtnClose;
  QPushButton* BtnHelp;
  bool FNoTypeChosen = true;
  TFormOffsets FOffsets;
  QString FSelectionNote;  // what a 1096 for a selection of the forms says of it
};

// Main window: Forms / 1096. Shows the screen modally and releases it.
void ShowForm1096();
