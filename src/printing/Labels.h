#pragma once
// Mailing labels: one address label for every payee of the open payer file on Avery 5160 sheets,
// with a POSTNET bar code under the address when the city line ends in a ZIP+4. The main window
// runs the job through its report system (set-up window, then preview or printer); papyra-batch
// and the tests write the same job straight into a page printer.
#include <QObject>
#include <QString>
#include <memory>

#include "engine/LabelLayout.h"
#include "storage/RecordLayout.h"

class QWidget;
class TPagePrinter;
class TPostNetBarcode;
class TRecordSet;
class TReportSystem;

// Where the text of one label goes, measured from the label's top edge.
struct TLabelText {
  QString Name;       // the payee's name, at most 30 characters
  QString Address;    // Address1
  QString CityStZip;  // the whole city line
  QString ZipCode;    // its last 10 characters
  bool ZipPlus4 = false;
  double FirstBaseline = 0.38;  // 0.25 with a ZIP+4, which leaves room for the bars
};

TLabelText LabelTextOf(const TPayeeRecord& payee);

class TPayeeLabels : public QObject {
  Q_OBJECT
 public:
  // payees: the record set whose reads fill PayeeRec; null means the data module's RSPayee.
  explicit TPayeeLabels(QObject* owner = nullptr, TRecordSet* payees = nullptr);
  ~TPayeeLabels() override;

  TReportSystem* Rpt1099Labels;
  TLabelLayout LabelShell;

  // Runs the report system: set-up window, the label job, preview or printer. False when the
  // set-up window was cancelled.
  bool Execute();

  // The report system's events (before each job the stored printer set-up applies, as for
  // every report system).
  void Rpt1099LabelsPrint(TPagePrinter& printer);
  void Rpt1099LabelsAfterPrint(TPagePrinter& printer);

  int LabelsPrinted() const { return FLabelsPrinted; }

 private:
  TRecordSet& Payees() const;
  void LabelShellReportBefore(TPagePrinter& printer);
  void LabelShellLabelPrint(TPagePrinter& printer);
  bool LabelShellLabelAfter(TPagePrinter& printer);

  TRecordSet* FPayees;
  std::unique_ptr<TPostNetBarcode> FBarcode;
  int FSavedRecord = 0;
  bool FRemembered = false;
  int FLabelsPrinted = 0;
};

// The label job for every payee of the record set, written into a page printer whose document
// has begun, without any window; the record set is back on its payee afterwards, even when the
// job fails. The label outlines are in the job as preview-only items. Returns the label count.
int WritePayeeLabels(TPagePrinter& printer, TRecordSet& payees);

// File / Print Labels. The report system lives as long as owner, so its set-up window offers
// the last choice again.
void PrintPayeeLabels(QWidget* owner);
