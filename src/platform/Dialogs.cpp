#include "platform/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/MsgBox.h"
#include "platform/Resources.h"
#include "platform/Services.h"

namespace {
bool gScript = false;
QStringList gAnswers;
QStringList gTitles;
QStringList gFolders;
bool gHelpScript = false;
QList<int> gHelpShown;

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

QString HelpFolder() {
  return ResourceFolder() + QStringLiteral("help/");
}

QString HelpTopicFile(int context) {
  return HelpFolder() + QString::number(context) + QStringLiteral(".html");
}

void ShowHelp(int context) {
  if (gHelpScript) {
    gHelpShown.append(context);
    return;
  }
  const QString file = HelpTopicFile(context);
  if (!QFile::exists(file)) {
    MsgBox(QStringLiteral("The help topic cannot be found."), AppTitle(), mbError);
    return;
  }
  // One help window for the whole run, reused for every topic.
  static QPointer<QDialog> window;
  if (!window) {
    window = new QDialog(nullptr, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Papyra 2025 Help"));
    window->resize(640, 520);
    auto* layout = new QVBoxLayout(window);
    auto* browser = new QTextBrowser(window);
    browser->setObjectName(QStringLiteral("HelpBrowser"));
    browser->setOpenExternalLinks(true);
    browser->setSearchPaths({HelpFolder()});
    layout->addWidget(browser);
  }
  auto* browser = window->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
  browser->setSource(QUrl::fromLocalFile(file));
  window->show();
  window->raise();
  window->activateWindow();
}

namespace HelpScript {
void Enable(bool on) {
  gHelpScript = on;
}
QList<int> Shown() {
  return gHelpShown;
}
void Clear() {
  gHelpShown.clear();
}
}  // namespace HelpScript
