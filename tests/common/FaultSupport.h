#pragma once
// Faults made real for the tests of what a failed write leaves behind: a disk that is full and a
// folder that cannot be written. Where this process may mount file systems (root, as on CI) they
// are a small tmpfs filled to its last block or mounted read-only; elsewhere the full disk is the
// writer's file size limit (writes past it fail with EFBIG, a real write failure) and the
// read-only folder a folder without write permission.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class TFaultFolder {
 public:
  TFaultFolder();
  ~TFaultFolder();
  TFaultFolder(const TFaultFolder&) = delete;
  TFaultFolder& operator=(const TFaultFolder&) = delete;

  QString Path(const QString& name = {}) const;
  bool Mounted() const { return FMounted; }
  // What the fault is, for test messages: "full tmpfs", "file size limit", ...
  QString Kind() const { return FKind; }

  // No room is left for writing beyond `room` bytes more: the tmpfs is filled, or (without a
  // mount) the file size limit that ChildSetup and TFileSizeLimitHere apply is set to `room`.
  void MakeFull(qint64 room = 0);
  // Nothing in the folder can be created, changed or removed any more. False when neither a
  // read-only mount nor the permissions can do it here.
  bool MakeReadOnly();
  // No new file can be made in the folder, while its files can still be written in place (a
  // tmpfs out of inodes; a folder without write permission holding writable files). What shows
  // a writer that would write into the target itself when it cannot make a temporary. False
  // when neither can be done here.
  bool MakeNoNewFiles();
  // Run in a child process before it starts (QProcess::setChildProcessModifier): applies the
  // file size limit when the fault is a limit; does nothing on a full tmpfs.
  std::function<void()> ChildSetup() const;
  qint64 SizeLimit() const { return FLimit; }

 private:
  QStringList FolderTree() const;
  bool DenyNewEntries();
  QTemporaryDir FDir;
  bool FMounted = false;
  bool FReadOnly = false;
  qint64 FLimit = -1;
  QString FKind = QStringLiteral("folder");
};

// The file size limit of this process for its lifetime (when limit >= 0): a write past it fails
// with EFBIG instead of raising SIGXFSZ.
class TFileSizeLimitHere {
 public:
  explicit TFileSizeLimitHere(qint64 limit);
  ~TFileSizeLimitHere();

 private:
  bool FActive = false;
  unsigned long long FOldSoft = 0;
  void (*FOldHandler)(int) = nullptr;
};

// The files of a folder, hidden ones too, sorted: what a failed write must not leave behind.
QStringList FolderEntries(const QString& folder);
