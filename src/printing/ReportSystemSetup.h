#pragma once
// What every report system of the program starts with: its job name and window titles, the
// status texts, portrait pages, a maximised preview at 100 % with a 1.5 % margin and a shadow of
// 5, the stored printer set-up applied at the start of each job, and the program's own preview
// window. Only the titles and the job itself differ from one report system to the next.
#include <QString>

class QWidget;
class TReportSystem;

struct TReportTitles {
  QString Title;  // the print job's name
  QString Setup;
  QString Status;
  QString Preview;
};

// The titles of a report system named after what it prints: the name itself, then the name
// followed by " Setup", " Status" and " Preview".
TReportTitles ReportTitlesOf(const QString& name);

// Gives system the titles and the program's settings; its preview window is owned by owner.
// OnPrint and OnAfterPrint stay the caller's.
void SetUpReportSystem(TReportSystem& system, const TReportTitles& titles, QWidget* owner);
