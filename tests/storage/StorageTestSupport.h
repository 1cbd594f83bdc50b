#pragma once
// Shared pieces of the storage tests: record files whose records are numbered in their bytes,
// an event recorder, and a way to make a file unwritable even for the superuser.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "storage/RecordSet.h"

// n records of size bytes; every byte of record i (1-based) holds i.
QByteArray NumberedRecords(int n, int size);

// The number a record of NumberedRecords carries (its first byte).
inline int RecordId(const TRecordSet& set) {
  return set.RecordBuffer()[0];
}

// Every event of a record set appended to Log by name ("BeforeOpen", "AfterRead", ...).
struct TEventLog {
  QStringList Log;
  void Attach(TRecordSet& set);
  int Count(const QString& name) const { return static_cast<int>(Log.count(name)); }
};

// Makes a file refuse opening for writing: its mode becomes read-only and, when that alone does
// not stop this process (running as root), the immutable attribute is set. Undone on
// destruction. Active() is false when neither worked on this file system.
class TUnwritableFile {
 public:
  explicit TUnwritableFile(const QString& path);
  ~TUnwritableFile();
  bool Active() const { return FActive; }

 private:
  QString FPath;
  bool FImmutable = false;
  bool FActive = false;
};

// Path of a program built beside the test executable.
QString SiblingProgram(const QString& name);
