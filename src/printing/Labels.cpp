#include "printing/Labels.h"

#include <QWidget>

#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "engine/PagePrinter.h"
#include "engine/PostNet.h"
#include "engine/ReportSystem.h"
#include "printing/ReportSystemSetup.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
constexpr int kNameChars = 30;
constexpr int kZipChars = 10;
constexpr double kBaselineZipPlus4 = 0.25;
constexpr double kBaselinePlain = 0.38;
constexpr double kBarsBelowBaseline = 0.13;  // the bar height: bars end that far below
constexpr double kFontSize = 9;
const char* const kObjectName = "PayeeLabels";
}  // namespace

TLabelText LabelTextOf(const TPayeeRecord& payee) {
  TLabelText text;
  text.Name = payee.GetString("PayeeName").left(kNameChars);
  text.Address = payee.GetString("Address1");
  text.CityStZip = payee.GetString("CityStZip");
  text.ZipCode = RightChars(text.CityStZip, kZipChars);
  text.ZipPlus4 = IsValidZipPlus4(text.ZipCode);
  text.FirstBaseline = text.ZipPlus4 ? kBaselineZipPlus4 : kBaselinePlain;
  return text;
}

TPayeeLabels::TPayeeLabels(QObject* owner, TRecordSet* payees)
    : QObject(owner), Rpt1099Labels(new TReportSystem(this)), FPayees(payees) {
  setObjectName(QString::fromLatin1(kObjectName));
  Rpt1099Labels->setObjectName(QStringLiteral("Rpt1099Labels"));
  SetUpReportSystem(
      *Rpt1099Labels,
      {QStringLiteral("Papyra Labels"), QStringLiteral("Payee Labels Setup"),
       QStringLiteral("Payee Labels Status"), QStringLiteral("Payee Labels Preview (Avery 5160)")},
      qobject_cast<QWidget*>(owner));
  Rpt1099Labels->SnapshotFile = QString::fromLatin1(DefaultSnapshotName);
  Rpt1099Labels->OnPrint = [this](TPagePrinter& p) { Rpt1099LabelsPrint(p); };
  Rpt1099Labels->OnAfterPrint = [this](TPagePrinter& p) { Rpt1099LabelsAfterPrint(p); };

  LabelShell.Geometry = TLabelGeometry::Avery5160();
  LabelShell.DrawExtents = true;
  LabelShell.OnReportBefore = [this](TPagePrinter& p) { LabelShellReportBefore(p); };
  LabelShell.OnLabelPrint = [this](TPagePrinter& p) { LabelShellLabelPrint(p); };
  LabelShell.OnLabelAfter = [this](TPagePrinter& p) { return LabelShellLabelAfter(p); };
}

TPayeeLabels::~TPayeeLabels() = default;

TRecordSet& TPayeeLabels::Payees() const {
  return FPayees ? *FPayees : *FrmDataModule->RSPayee;
}

bool TPayeeLabels::Execute() {
  return Rpt1099Labels->Execute();
}

void TPayeeLabels::Rpt1099LabelsPrint(TPagePrinter& printer) {
  FBarcode = std::make_unique<TPostNetBarcode>(&printer);
  FBarcode->BarHeight = 0.13;
  FBarcode->BarWidth = 0.02;
  FBarcode->PrintReadable = false;
  FBarcode->CheckDigit = true;
  FBarcode->Left = 0.13;
  FLabelsPrinted = 0;
  // The report system skips its after-print event when the job fails; the payee the user was on
  // must come back all the same.
  TScopeCleanup afterFailedPrint([&] { Rpt1099LabelsAfterPrint(printer); });
  FLabelsPrinted = LabelShell.Execute(printer);
  afterFailedPrint.Dismiss();
}

void TPayeeLabels::Rpt1099LabelsAfterPrint(TPagePrinter& /*printer*/) {
  FBarcode.reset();
  if (!FRemembered) return;
  FRemembered = false;
  TRecordSet& payees = Payees();
  payees.SetCurrentRecord(FSavedRecord);
  payees.GetRec();
}

void TPayeeLabels::LabelShellReportBefore(TPagePrinter& printer) {
  TRecordSet& payees = Payees();
  FSavedRecord = payees.CurrentRecord();
  FRemembered = true;
  // An empty payee file has no first record to go to; its one label stays blank.
  if (payees.LastRecord() > 0) payees.FirstRec();
  printer.SetFont(QStringLiteral("Arial"), kFontSize);
}

void TPayeeLabels::LabelShellLabelPrint(TPagePrinter& printer) {
  const bool hasRecord = Payees().LastRecord() > 0;
  const TLabelText text = LabelTextOf(hasRecord ? PayeeRec : TPayeeRecord{});
  printer.SetYPos(text.FirstBaseline);
  printer.Println(text.Name);
  printer.Println(text.Address);
  printer.Println(text.CityStZip);
  if (text.ZipPlus4 && FBarcode) {
    FBarcode->SetText(text.ZipCode);
    FBarcode->Bottom = printer.YPos() + kBarsBelowBaseline;
    FBarcode->Print();
  }
}

bool TPayeeLabels::LabelShellLabelAfter(TPagePrinter& /*printer*/) {
  TRecordSet& payees = Payees();
  // Compared with "<" rather than "is not the last": an empty file must not go round forever.
  const bool more = payees.CurrentRecord() < payees.LastRecord();
  if (more) payees.NextRec();
  return more;
}

int WritePayeeLabels(TPagePrinter& printer, TRecordSet& payees) {
  TPayeeLabels labels(nullptr, &payees);
  labels.Rpt1099LabelsPrint(printer);
  labels.Rpt1099LabelsAfterPrint(printer);
  return labels.LabelsPrinted();
}

void PrintPayeeLabels(QWidget* owner) {
  if (!FrmDataModule || !FrmDataModule->RSPayee->Active()) return;
  if (!owner) {
    TPayeeLabels labels;
    labels.Execute();
    return;
  }
  auto* labels =
      owner->findChild<TPayeeLabels*>(QString::fromLatin1(kObjectName), Qt::FindDirectChildrenOnly);
  if (!labels) labels = new TPayeeLabels(owner);
  labels->Execute();
}
