#pragma once
// The common dialogs the program shows: open and save a file, pick a folder, and the help window.
// In tests (DialogScript enabled) nothing is shown: each call takes the next scripted answer,
// an empty string meaning the user cancelled.
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
};

QString PromptOpenFileName(const TFileDialogOptions& options, QWidget* parent = nullptr);
QString PromptSaveFileName(const TFileDialogOptions& options, QWidget* parent = nullptr);
// The folder picker: true and the chosen folder when the user confirms.
bool PromptFolder(const QString& caption, QString& folder);

namespace DialogScript {
void Enable(bool on);
bool Enabled();
void SetNextFileName(const QString& path);  // for the next open, save or folder dialog
void Clear();
QStringList Titles();          // titles of the dialogs asked for, in order
QStringList InitialFolders();  // the folder each of them opened in
}  // namespace DialogScript

// Help topics are HTML files named by their context number ("1.html") in the help folder
// beside the program. ShowHelp opens the help window at that topic.
QString HelpFolder();
QString HelpTopicFile(int context);
void ShowHelp(int context);
namespace HelpScript {
void Enable(bool on);
QList<int> Shown();
void Clear();
}  // namespace HelpScript
