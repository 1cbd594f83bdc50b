#pragma once
// The list of the ten payer files closed last, newest first, an empty string for a free slot.
#include <QString>
#include <QStringList>

constexpr int RecentFileCount = 10;

// Puts path first: removes every entry equal to it (letter case counts), keeps the list at ten
// entries (dropping the oldest, padding with empty ones) and inserts path at index 0.
void AddRecentFile(QStringList& list, const QString& path);
