#include "platform/Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
const QString kProject = QStringLiteral("TaxForms.rpj");

QString WithSlash(QString dir) {
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return dir;
}

QString InstalledFolder(const QString& exeFolder) {
  return WithSlash(QDir::cleanPath(exeFolder + QStringLiteral("/../share/papyra")));
}
}  // namespace

QString ResourceFolderFor(const QString& exeFolder) {
  const QString beside = WithSlash(exeFolder);
  if (QFileInfo::exists(beside + kProject)) return beside;
  if (InstalledLayout(exeFolder)) return InstalledFolder(exeFolder);
  return beside;
}

bool InstalledLayout(const QString& exeFolder) {
  return !QFileInfo::exists(WithSlash(exeFolder) + kProject) &&
         QFileInfo::exists(InstalledFolder(exeFolder) + kProject);
}

QString ResourceFolder() {
  return ResourceFolderFor(QCoreApplication::applicationDirPath());
}

QString ReportProjectPath() {
  return ResourceFolder() + kProject;
}
