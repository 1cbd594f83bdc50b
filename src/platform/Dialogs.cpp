#include "platform/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include "platform/MsgBox.h"
#include "platform/Services.h"

namespace {
bool gScript = false;
QStringList gAnswers;
QStringList gTitles;
QStringList gFolders;

QString NextAnswer(const QString& title, const QString& folder = {}) {
  gTitles.append(title);
  gFolders.append(folder);
  return gAnswers.isEmpty() ? QString() : gAnswers.takeFirst();
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
  if (gScript) return WithDefaultExt(NextAnswer(o.title, o.initialDir), o.defaultExt);
  QFileDialog dlg(parent ? parent : QApplication::activeWindow(), o.title, o.initialDir, o.filter);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setDefaultSuffix(o.defaultExt);
  // The callers ask their own overwrite question where one is wanted.
  dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!o.fileName.isEmpty()) dlg.selectFile(o.fileName);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  return WithDefaultExt(dlg.selectedFiles().first(), o.defaultExt);
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
QStringList Pending() {
  return gAnswers;
}
void Clear() {
  gAnswers.clear();
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
