#include "storage/RecentFiles.h"

void AddRecentFile(QStringList& list, const QString& path) {
  // Every entry is compared, the last one too, so a list read from damaged settings that
  // already holds path twice still ends with path only once.
  list.removeAll(path);
  while (list.size() > RecentFileCount - 1) list.removeLast();
  while (list.size() < RecentFileCount - 1) list.append(QString());
  list.insert(0, path);
}
