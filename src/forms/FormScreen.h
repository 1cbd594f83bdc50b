#pragma once
// The form screen family: one window class that every per-payee form screen is, configured by its
// form's TFormDef (FormTables.h). It shows the IRS form's face drawn from the form's report,
// places the payer and payee labels and the box controls in their boxes, moves from payee to
// payee writing each one first, prints both kinds of form, and opens the IRS instructions. The
// form's check is its TFormDef's; the 1099-R's distribution code list is its one extra.
#include <QHash>
#include <QString>
#include <functional>
#include <memory>

#include "forms/FormChecks.h"
#include "forms/FormPrint.h"
#include "forms/FormScreenParts.h"
#include "forms/FormTables.h"
#include "maintenance/FrmScreen.h"

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class TCheckBoxEdit;
class TDollarEdit;
class TEnterAsTab;
class TFormFace;
class TPagePrinter;
class TReportPrinter;
class TReportSystem;
class TRSNavigator;

class TFrmFormScreen : public TFrmScreen {
  Q_OBJECT
 public:
  // The colour a box control takes while it has the focus (a pale cyan).
  static const QColor FocusColor;

  TFrmFormScreen(const TFormDef& def, QWidget* parent = nullptr);
  ~TFrmFormScreen() override;

  const TFormDef& Def() const { return FDef; }
  QWidget* Control(const QString& name) const { return FControls.value(name); }
  QLabel* Label(const QString& name) const { return FLabels.value(name); }
  // The picture of the form the boxes sit on, and the box of the face a control is in, in the
  // picture's pixels: a click anywhere in that box reaches the control.
  QWidget* Picture() const;
  QRect BoxOf(const QString& control) const;
  // The face the picture is drawn from: where its captions are, which what the screen lays
  // over the picture must leave readable.
  const TFormFace& Face() const { return *FFace; }
  TFormOffsets Offsets() const { return FOffsets; }

  TRSNavigator* RSNavigator = nullptr;
  TReportSystem* ReportSystem = nullptr;
  TReportPrinter* ReportPrinter = nullptr;
  TEnterAsTab* EnterAsTab = nullptr;
  QPushButton* BtnPrint = nullptr;
  QPushButton* BtnPrintForm = nullptr;  // "Print this form": the shown payee's form alone
  QPushButton* BtnClose = nullptr;
  QPushButton* BtnHelp = nullptr;
  // The system print dialog before a pre-printed print; answers whether to print. Tests
  // replace it.
  std::function<bool(TReportPrinter& printer)> ConfirmPrintDialog;

  // Operations of every form screen.
  void LoadFormFields();
  void SaveFormFields();
  // The boxes as they would be stored, into payee.
  void SaveFormFields(TPayeeRecord& payee) const;
  // The form's own check (its TFormDef's): throws EFieldException, the focus on the box to
  // correct, when a box combination is wrong.
  void ValidateForm();
  // The form's own checks, then the record model's on every box: what the screen writes.
  void Validate();
  void FormClose();  // validate, save and write the payee
  void BtnPrintClick();
  void BtnPrintFormClick();
  void BtnHelpClick();
  void ReportSystemPrint(TPagePrinter& printer);
  void ReportPrinterPrint(TPagePrinter& printer);
  void FieldEnter(QWidget* control);
  void FieldExit(QWidget* control);

 protected:
  void FormCloseQuery() override { FormClose(); }
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateFace();
  void CreateLabels();
  void CreateControls();
  QWidget* CreateControl(const TControlDef& c);
  void CreateNavigator();
  void CreateButtons();
  void CreatePrintComponents();
  void FormShow();
  void ShowPayerBlock();
  void ShowPayeeLabels();
  void ShowLabel(const char* name, const QString& text);
  QRectF PlaceOf(const char* param, double x, double y, double w, bool checkMark) const;
  void BindNavigator();
  void AddCorrectedKey();
  QWidget* FirstBox() const;
  void MapBoxes();
  void KeepMarksInSight(QWidget* control) const;
  void PictureClicked(const QPoint& at);
  bool GuardKey(QWidget* control, QKeyEvent* event);
  // Runs the chosen print of the payees selection takes; run adds what the command offers.
  void RunPrint(const QString& caption, TPrintRun run, const TPayeeSelection& fixed);

  const TFormDef& FDef;
  std::unique_ptr<TFormFace> FFace;
  QScrollArea* ScrollBox = nullptr;
  QLabel* FPicture = nullptr;
  QHash<QString, QWidget*> FControls;
  QHash<QString, QLabel*> FLabels;
  QColor OldColor;
  bool OldAutoFill = false;
  QWidget* FColoured = nullptr;  // the box that shows the focus colour
  TFormOffsets FOffsets;
  // The box of the face each control sits in (in the picture's pixels): a click anywhere in
  // it, caption included, is a click on the control.
  struct TBoxTarget {
    QRect Box;
    QWidget* Control;
  };
  QList<TBoxTarget> FTargets;
  QList<QRect> FFaceBoxes;
  // A click fell outside every box: the next key would go to a box the user may not have in
  // sight, so it only selects that box's text.
  bool FGuardNextKey = false;
  // What the print under way takes: its payees, or the alignment page instead of red copies.
  TPayeeSelection FSelection;
  bool FAlignment = false;
};

// Main window: Forms / the form. Sets CurrentFormType, shows the form's screen modally, releases
// it.
void ShowFormScreen(const TFormDef& def);
