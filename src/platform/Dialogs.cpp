#include "platform/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <utility>

#include "platform/MsgBox.h"
#include "platform/Services.h"

namespace {
bool gScript = false;
QStringList gAnswers;
QStringList gTitles;
QStringList gFolders;
QString gNextFilter;

QString NextAnswer(const QString& title, const QString& folder = {}) {
  gTitles.append(title);
  gFolders.append(folder);
  return gAnswers.isEmpty() ? QString() : gAnswers.takeFirst();
}

// The extension a name filter stands for: "pdf" for "Adobe Portable Document (PDF) (*.pdf)",
// nothing for "All Files (*)".
QString FilterExt(const QString& filter) {
  static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
  const QRegularExpressionMatch m = pattern.match(filter);
  return m.hasMatch() ? m.captured(1) : QString();
}

// The extension a name without one gets: the chosen file type's, else the dialog's default.
QString ExtFor(const QString& filter, const QString& defaultExt) {
  const QString ext = FilterExt(filter);
  return ext.isEmpty() ? defaultExt : ext;
}

QString WithDefaultExt(QString path, const QString& ext) {
  if (path.isEmpty() || ext.isEmpty()) return path;
  if (QFileInfo(path).suffix().isEmpty()) path += QLatin1Char('.') + ext;
  return path;
}
}  // namespace

QString PromptOpenFileName(const TFileDialogOptions& o, QWidget* parent) {
  if (gScript) return NextAnswer(o.title, o.initialDir);
  QFileDialog dlg(parent ? parent : QApplication::activeWindow(), o.title, o.initialDir, o.filter);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(o.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dlg.setDefaultSuffix(o.defaultExt);
  if (!o.fileName.isEmpty()) dlg.selectFile(o.fileName);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  return dlg.selectedFiles().first();
}

QString PromptSaveFileName(const TFileDialogOptions& o, QWidget* parent) {
  if (gScript) {
    const QString filter = std::exchange(gNextFilter, QString());
    if (o.chosenFilter) *o.chosenFilter = filter;
    return WithDefaultExt(NextAnswer(o.title, o.initialDir), ExtFor(filter, o.defaultExt));
  }
  QFileDialog dlg(parent ? parent : QApplication::activeWindow(), o.title, o.initialDir, o.filter);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setDefaultSuffix(o.defaultExt);
  // A name typed without an extension takes that of the file type chosen, not the first one's:
  // "forms" saved as PDF must be a PDF, not a snapshot under another name.
  QObject::connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg, &o](const QString& filter) {
    dlg.setDefaultSuffix(ExtFor(filter, o.defaultExt));
  });
  // The callers ask their own overwrite question where one is wanted.
  dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!o.fileName.isEmpty()) dlg.selectFile(o.fileName);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  if (o.chosenFilter) *o.chosenFilter = dlg.selectedNameFilter();
  return WithDefaultExt(dlg.selectedFiles().first(),
                        ExtFor(dlg.selectedNameFilter(), o.defaultExt));
}

bool PromptFolder(const QString& caption, QString& folder) {
  QString chosen;
  if (gScript)
    chosen = NextAnswer(caption);
  else
    chosen = QFileDialog::getExistingDirectory(nullptr, caption, folder);
  if (chosen.isEmpty()) return false;
  folder = chosen;
  return true;
}

namespace DialogScript {
void Enable(bool on) {
  gScript = on;
}
bool Enabled() {
  return gScript;
}
void SetNextFileName(const QString& path) {
  gAnswers.append(path);
}
void SetNextFilter(const QString& filter) {
  gNextFilter = filter;
}
QStringList Pending() {
  return gAnswers;
}
void Clear() {
  gAnswers.clear();
  gNextFilter.clear();
  gTitles.clear();
  gFolders.clear();
}
QStringList Titles() {
  return gTitles;
}
QStringList InitialFolders() {
  return gFolders;
}
}  // namespace DialogScript
