#pragma once
// What the per-payee form screens and the Form 1096 screen build alike: the picture of the form
// above the button bar, and both prints of a form (the program-generated form through a report
// system, the red copy through a report printer) with the Print button's choice between them.
#include <QString>
#include <functional>

#include "engine/ReportPrinter.h"
#include "printing/PrintType.h"

class QDialog;
class QLayout;
class QObject;
class QPrinter;
class QScrollArea;
class QWidget;
class TPagePrinter;
class TReportSystem;

using TPrintJob = std::function<void(TPagePrinter& printer)>;
// Answers whether a red copy print may go ahead, and may set where it goes.
using TPrintConfirm = std::function<bool(TReportPrinter& printer)>;

// The form picture on top, the button bar below it, the screen sized to fit both.
void LayOutFormScreen(QDialog* screen, QScrollArea* picture, QLayout* bar);

// Calls onFocus(true) when box takes the focus, also when it comes with its window, and
// onFocus(false) when the focus leaves it for another box of the window.
void WatchFocus(QWidget* box, std::function<void(bool inside)> onFocus);

// The program-generated print: a report system named "ReportSystem" with the program's settings
// and titles after formName, running job.
TReportSystem* NewFormReportSystem(QDialog* screen, const QString& formName, TPrintJob job);
// The red copy print: a report printer named "ReportPrinter", portrait, the stored printer set-up
// applied before each job, running job.
TReportPrinter* NewFormReportPrinter(QObject* owner, const QString& jobTitle, TPrintJob job);
// The platform's print dialog; true when the user confirmed it, and the job then goes where
// the user chose: a printer, or a PDF file ("Print to File").
bool ConfirmWithPrintDialog(QWidget* parent, TReportPrinter& job);
// Where a printer set up in the print dialog sends a job.
TReportPrinter::TDestination PrintDestination(const QPrinter& printer);
// Before red copies are printed: when the payer file holds enough forms that the IRS wants them
// filed electronically, says so and asks whether to print anyway (a corrected return or a
// filer's own choice). True when the print may go ahead.
bool ConfirmPaperFiling();
// What a print command adds to the choice: what it offers beyond the type of form, and a step
// that takes what the user chose before anything prints (it throws to stop the print).
struct TPrintRun {
  TPrintTypeOffer Offer;
  std::function<void(int type, const TPayeeSelection& selection)> Prepare;
};
// Asks for the print type under caption and runs the chosen print; the red copy only after
// ConfirmPaperFiling and when confirm agrees, the alignment page (on the report printer) when
// confirm agrees. Nothing when the choice was cancelled.
void RunChosenPrint(const QString& caption, QWidget* parent, TReportSystem& system,
                    TReportPrinter& printer, const TPrintConfirm& confirm,
                    const TPrintRun& run = {});
