#pragma once
// The common dialogs the program shows: open and save a file, pick a folder, and the help window.
// In tests (DialogScript enabled) nothing is shown: each call takes the next scripted answer,
// an empty string meaning the user cancelled.
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

struct TFileDialogOptions {
  QString title;
  QString initialDir;
  QString defaultExt;  // without the dot, e.g. "PE25"
  QString filter;      // e.g. "Payer Files (*.PE25)"
  QString fileName;    // suggested name
  bool mustExist = false;
  QString* chosenFilter = nullptr;  // set by a save dialog to the file type the user chose
};

QString PromptOpenFileName(const TFileDialogOptions& options, QWidget* parent = nullptr);
QString PromptSaveFileName(const TFileDialogOptions& options, QWidget* parent = nullptr);
// The folder picker: true and the chosen folder when the user confirms.
bool PromptFolder(const QString& caption, QString& folder);

namespace DialogScript {
void Enable(bool on);
bool Enabled();
void SetNextFileName(const QString& path);  // for the next open, save or folder dialog
void SetNextFilter(const QString& filter);  // the file type chosen in the next save dialog
QStringList Pending();                      // the names no dialog has taken yet
void Clear();
QStringList Titles();          // titles of the dialogs asked for, in order
QStringList InitialFolders();  // the folder each of them opened in
}  // namespace DialogScript

// Help topics are HTML files named by their context number ("1.html") in the help folder
// beside the program. ShowHelp opens the help window at that topic; the window has a search
// box over all topics.
// The guide's topics beyond those the menus and screens have always opened: the walk-through,
// the printing and filing topics, and the screens that had no topic of their own.
enum THelpTopic {
  htContents = 1,
  htGettingStarted = 27,
  htPrinting = 28,
  htFilingWithIRS = 29,
  htRecordList = 30,
  htPrintType = 31,
  htPreview = 32,
  htWebUpdate = 33,
  htIRSInstructions = 34,
  htImportPayees = 35,
  htExportPayees = 36,
  htRecipientFiles = 37,
  htCheckBeforeFiling = 40,
  htTinMatching = 41,
  htCorrections = 42
};
// Every context the program opens, for the help's own checks.
const QList<int>& HelpContexts();
QString HelpFolder();
QString HelpTopicFile(int context);
// The topics whose text holds every word of words (case ignored), the most mentions first.
struct THelpHit {
  int context;
  QString title;
};
QList<THelpHit> SearchHelp(const QString& words);
void ShowHelp(int context);
// F1 anywhere in window opens the topic context.
void AddHelpKey(QWidget* window, int context);
// The IRS's page about a form, where its instructions are offered: "1099-NEC" gives
// https://www.irs.gov/forms-pubs/about-form-1099-nec.
QString IRSFormPage(const QString& form);
// An instructions file that is not installed: notFoundText, then where the IRS offers the
// instructions of each of forms, with a link to the help topic about them.
void ShowMissingInstructions(const QString& notFoundText, const QStringList& forms);
namespace HelpScript {
void Enable(bool on);
QList<int> Shown();
void Clear();
}  // namespace HelpScript
