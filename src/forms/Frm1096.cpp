#include "forms/Frm1096.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QSignalBlocker>

#include "controls/CheckBoxEdit.h"
#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "engine/PagePrinter.h"
#include "engine/ReportPrinter.h"
#include "engine/ReportProject.h"
#include "engine/ReportSystem.h"
#include "forms/FormFace.h"
#include "forms/FormRegistry.h"
#include "forms/FormScreenParts.h"
#include "forms/FormSelection.h"
#include "forms/FormTotals.h"
#include "forms/FormValues.h"
#include "maintenance/RecordList.h"
#include "platform/Application.h"
#include "platform/MsgBox.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
constexpr int kHelpContext = 12;
constexpr double kScreenDpi = 100;
// The part of the sheet the screen shows: the form down to the signature line.
const QRectF kScreenArea(0.4, 0.35, 7.7, 6.25);
const QColor kFocusColor(187, 255, 255);

QString Payer(const char* field) {
  return PayerRec.GetString(field);
}
}  // namespace

// ---- the screen --------------------------------------------------------------------------------

TFrm1096::TFrm1096(QWidget* parent) : TFrmScreen(parent, kHelpContext) {
  setObjectName(QStringLiteral("Frm1096"));
  setWindowTitle(
      QStringLiteral("Form 1096 Annual Summary and Transmittal of U.S. Information Returns"));
  CreateControls();
  CreatePrintComponents();
  FormShow();
}

TFrm1096::~TFrm1096() {
  // The project must not keep drawing through a report system that is gone.
  if (FrmDataModule && FrmDataModule->ReportProject)
    FrmDataModule->ReportProject->SetEngine(static_cast<TReportSystem*>(nullptr));
}

QLabel* TFrm1096::AddLabel(const char* name, const char* caption, const char* param, TAlign align) {
  auto* label = new QLabel(Form1096);
  label->setObjectName(QLatin1String(name));
  label->setAccessibleDescription(QString::fromUtf8(caption));
  QFont font = FFace->TextFont();
  font.setBold(true);
  label->setFont(font);
  label->setAttribute(Qt::WA_TranslucentBackground);
  // With a buddy the label reads "&&" as one "&": texts arrive with their ampersands doubled.
  label->setBuddy(Form1096);
  label->setAlignment(Qt::AlignVCenter | (align == TAlign::Right    ? Qt::AlignRight
                                          : align == TAlign::Center ? Qt::AlignHCenter
                                                                    : Qt::AlignLeft));
  FFace->Place(label, FFace->ParamPlace(QLatin1String(param), false));
  return label;
}

void TFrm1096::CreateControls() {
  FFace = std::make_unique<TFormFace>(QStringLiteral("Form1096"), kScreenArea, kScreenDpi);
  ScrollBox = new QScrollArea(this);
  ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
  ScrollBox->setFrameShape(QFrame::NoFrame);
  ScrollBox->setFocusPolicy(Qt::NoFocus);  // the boxes on the picture take the focus, not it
  ScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ScrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // White behind the picture by palette, not by a style sheet: a style sheet would take over the
  // painting of the boxes on it, and with it their focus colour.
  QPalette white = ScrollBox->palette();
  white.setColor(QPalette::Window, Qt::white);
  ScrollBox->setPalette(white);
  Form1096 = new QLabel;
  Form1096->setObjectName(QStringLiteral("Form1096"));
  Form1096->setAccessibleName(QStringLiteral("Form 1096"));
  Form1096->setPixmap(FFace->Picture(devicePixelRatioF()));
  Form1096->setFixedSize(FFace->PictureSize());
  ScrollBox->setWidget(Form1096);
  ScrollBox->setFixedSize(FFace->PictureSize());

  AddLabel("PayerName", "Filer's name", "FilerName1", TAlign::Left);
  AddLabel("TradeName", "Filer's name, second line", "FilerName2", TAlign::Left);
  AddLabel("Address1", "Filer's street address", "FilerAddress1", TAlign::Left);
  AddLabel("Address2", "Filer's street address, second line", "FilerAddress2", TAlign::Left);
  AddLabel("CityStZip", "Filer's city, state and ZIP code", "FilerCityStateZip", TAlign::Left);
  AddLabel("Contact", "Name of person to contact", "ContactPerson", TAlign::Left);
  AddLabel("Email", "Email address", "Email", TAlign::Left);
  AddLabel("PhoneNum", "Telephone number", "TelNum", TAlign::Left);
  AddLabel("FaxNum", "Fax number", "FaxNum", TAlign::Left);
  AddLabel("EmpIDNum", "Box 1 Employer identification number", "EIN", TAlign::Left);
  AddLabel("SocSecNum", "Box 2 Social security number", "SSN", TAlign::Left);
  AddLabel("TotalForms", "Box 3 Total number of forms", "TotalForms", TAlign::Center);
  AddLabel("FITW", "Box 4 Federal income tax withheld", "FITW", TAlign::Right);
  AddLabel("Total", "Box 5 Total amount reported with this Form 1096", "Total", TAlign::Right);

  for (const TFormDef* def : FormDefs()) {
    auto* box = new TCheckBoxEdit(Form1096);
    box->setObjectName(QLatin1String(def->Box1096.CheckBox));
    box->setAccessibleName(QLatin1String(def->Name));
    box->setFrame(false);
    box->setFont(FFace->CheckFont());
    FFace->PlaceInside(box, FFace->ParamPlace(QLatin1String(def->Box1096.CheckBox), true));
    connect(box, &QLineEdit::textChanged, this, [this, box] { FormTypeChange(box); });
    WatchFocus(box, [this, box](bool inside) { inside ? CheckBoxEnter(box) : CheckBoxExit(box); });
    FTypeBoxes.push_back(box);
  }
  for (size_t i = 1; i < FTypeBoxes.size(); ++i) setTabOrder(FTypeBoxes[i - 1], FTypeBoxes[i]);

  BtnPrint = NewFlatButton(QStringLiteral("&Print"), this);
  BtnPrint->setObjectName(QStringLiteral("BtnPrint"));
  BtnPrint->setFocusPolicy(Qt::NoFocus);
  BtnClose = NewFlatButton(QStringLiteral("&Close"), this);
  BtnClose->setObjectName(QStringLiteral("BtnClose"));
  BtnClose->setFocusPolicy(Qt::NoFocus);
  BtnHelp = NewHelpButton(this);
  BtnHelp->setFocusPolicy(Qt::NoFocus);
  connect(BtnPrint, &QPushButton::clicked, this,
          [this] { TApplication::Guard([this] { BtnPrintClick(); }); });
  connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
  connect(BtnHelp, &QPushButton::clicked, this, &TFrmScreen::BtnHelpClick);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtnHelp);
  buttons->addStretch();
  buttons->addWidget(BtnPrint);
  buttons->addWidget(BtnClose);
  LayOutFormScreen(this, ScrollBox, buttons);
  EnterAsTab = NewEnterAsTab(this);
}

void TFrm1096::CreatePrintComponents() {
  ReportSystem = NewFormReportSystem(this, QStringLiteral("Form 1096"), [this](TPagePrinter&) {
    Print1096ProgramGenerated(*FrmDataModule->ReportProject, FSelectionNote);
  });
  ReportSystem->SnapshotFile.clear();  // kept in memory
  ReportPrinter =
      NewFormReportPrinter(this, QStringLiteral("Form 1096 Report"),
                           [this](TPagePrinter& printer) { Print1096RedCopy(printer, FOffsets); });
  ConfirmPrintDialog = [this](TReportPrinter& job) { return ConfirmWithPrintDialog(this, job); };
}

void TFrm1096::FormShow() {
  FNoTypeChosen = true;
  auto show = [this](const char* name, const QString& text) {
    findChild<QLabel*>(QLatin1String(name))->setText(text);
  };
  const bool trade = !IsBlank(Payer("TradeName"));
  show("PayerName", trade ? DoubleAmpersands(Payer("PayerName")) : QString());
  show("TradeName", DoubleAmpersands(trade ? Payer("TradeName") : Payer("PayerName")));
  const bool address2 = !IsBlank(Payer("Address2"));
  show("Address1", address2 ? DoubleAmpersands(Payer("Address1")) : QString());
  show("Address2", DoubleAmpersands(address2 ? Payer("Address2") : Payer("Address1")));
  show("CityStZip", DoubleAmpersands(Payer("CityStZip")));
  show("Contact", DoubleAmpersands(Payer("Contact")));
  show("Email", DoubleAmpersands(Payer("Email")));
  show("PhoneNum", Payer("PhoneNum"));
  show("FaxNum", Payer("FaxNum"));
  const bool ein = IsValidEIN(Payer("EmpIDNum"));
  show("EmpIDNum", ein ? Payer("EmpIDNum") : QString());
  show("SocSecNum", ein ? QString() : Payer("SocSecNum"));
  show("TotalForms", QStringLiteral("0"));
  show("FITW", QStringLiteral("0.00"));
  show("Total", QStringLiteral("0.00"));
  FTypeBoxes.front()->setFocus(Qt::OtherFocusReason);
  FOffsets = ReadHeldOffsets(QStringLiteral("F1096"));
  if (FrmDataModule && FrmDataModule->ReportProject)
    FrmDataModule->ReportProject->SetEngine(ReportSystem);
}

void TFrm1096::CheckBoxEnter(TCheckBoxEdit* box) {
  QPalette pal = box->palette();
  pal.setColor(QPalette::Base, kFocusColor);
  box->setPalette(pal);
  // The box has no frame, and a frameless edit paints no background of its own.
  box->setAutoFillBackground(true);
}

void TFrm1096::CheckBoxExit(TCheckBoxEdit* box) {
  QPalette pal = box->palette();
  pal.setColor(QPalette::Base, QApplication::palette().color(QPalette::Base));
  box->setPalette(pal);
  box->setAutoFillBackground(false);
}

void TFrm1096::FormTypeChange(TCheckBoxEdit* changed) {
  const bool state = changed->Checked();
  for (TCheckBoxEdit* box : FTypeBoxes) {
    const QSignalBlocker blocker(box);
    box->SetChecked(false);
  }
  {
    const QSignalBlocker blocker(changed);
    changed->SetChecked(state);
  }
  FNoTypeChosen = true;
  for (size_t i = 0; i < FTypeBoxes.size(); ++i) {
    if (!FTypeBoxes[i]->Checked()) continue;
    CurrentFormType = FormDefs()[i]->FormType;
    FNoTypeChosen = false;
    break;
  }
  ShowTotals();
}

TCheckBoxEdit* TFrm1096::TypeBox(uint8_t formType) const {
  for (size_t i = 0; i < FTypeBoxes.size(); ++i)
    if (FormDefs()[i]->FormType == formType) return FTypeBoxes[i];
  return nullptr;
}

void TFrm1096::ShowTotals() {
  auto show = [this](const char* name, const QString& text) {
    findChild<QLabel*>(QLatin1String(name))->setText(text);
  };
  if (FNoTypeChosen || ScanFormTotals() <= 0) {
    show("TotalForms", QStringLiteral("0"));
    show("FITW", QStringLiteral("0.00"));
    show("Total", QStringLiteral("0.00"));
    return;
  }
  show("TotalForms", QString::number(TotalForms));
  show("FITW", FormatAmount(TotalWithheld));
  show("Total", FormatAmount(TotalAmount));
}

void TFrm1096::BtnPrintClick() {
  if (FNoTypeChosen) {
    FTypeBoxes.front()->setFocus();
    throw EPrintException(QStringLiteral("No forms have been selected for printing"));
  }
  if (TextToInt(findChild<QLabel*>(QStringLiteral("TotalForms"))->text()) == 0)
    throw EPrintException(
        QStringLiteral("There are no forms of the selected type available for printing"));
  const uint8_t type = CurrentFormType;
  TPrintRun run;
  run.Offer.Payees = true;
  run.Offer.CountForms = [type](const TPayeeSelection& s) { return CountSelectedForms(type, s); };
  run.Offer.ChoosePayees = [type, this](QList<int>& chosen) {
    return ChoosePayees(
        chosen, [type] { return FormQualifies(type, PayeeRec.Data()); }, this);
  };
  // A 1096 for a selection sums the selection's forms; the screen's totals stay those of all.
  const QScopedValueRollback keepForms(TotalForms);
  const QScopedValueRollback keepWithheld(TotalWithheld);
  const QScopedValueRollback keepAmount(TotalAmount);
  TScopeCleanup clearNote([this] { FSelectionNote.clear(); });
  run.Prepare = [this, type](int, const TPayeeSelection& selection) {
    if (selection.TakesAll()) return;
    const TFormDef& form = *FindFormDef(type);
    if (ScanFormTotals(selection) == 0) throw EPrintException(NoSelectedFormsText(form, selection));
    if (selection.Scope == TPayeeScope::Corrected)
      if (const QString notice = CorrectedWithoutFormNotice(form); !notice.isEmpty())
        MsgBox(notice, AppTitle(), mbInfo);
    FSelectionNote = SelectionNote(form, selection, TotalForms);
  };
  RunChosenPrint(QStringLiteral("Form 1096"), this, *ReportSystem, *ReportPrinter,
                 ConfirmPrintDialog, run);
}

void ShowForm1096() {
  ShowModalScreen<TFrm1096>();
}
