#pragma once
// Output files that are whole or absent. The bytes go into a temporary file in the target's
// folder; every write and the close are checked, and only then is the temporary renamed over the
// target. A failure (a full disk, a folder that cannot be written, a damaged page found half way)
// leaves the previous file untouched and raises EInOutError naming the file and the system's
// reason. The writer of the contents only sees a QIODevice, so any encoder (PDF, PNG, HTML,
// snapshot) can write through it.
#include <QIODevice>
#include <QSaveFile>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TSafeFile {
 public:
  // Opens the temporary; throws EInOutError. Messages name shownName when given.
  explicit TSafeFile(const QString& fileName, const QString& shownName = QString());
  ~TSafeFile();  // discards the temporary unless committed
  TSafeFile(const TSafeFile&) = delete;
  TSafeFile& operator=(const TSafeFile&) = delete;

  QIODevice& Device() { return FFile; }
  QString FileName() const { return FName; }
  void Write(const QByteArray& bytes);  // throws EInOutError
  // Checks every earlier write and the close, then replaces the target; throws EInOutError.
  void Commit();

 private:
  [[noreturn]] void Fail();
  QString FName;
  QSaveFile FFile;
};

// Raises the EInOutError every failed output raises: "Cannot write "FILE": REASON".
[[noreturn]] void RaiseWriteError(const QString& fileName, const QString& reason);

// The whole of bytes into fileName, or nothing; throws EInOutError.
void WriteFileSafely(const QString& fileName, const QByteArray& bytes);

// Several files that appear together or not at all (the pages of a PNG export): each is written
// whole into a hidden file beside its target, and only when all are written are they renamed
// over their targets. Files staged but not committed are removed.
class TSafeFileGroup {
 public:
  TSafeFileGroup() = default;
  ~TSafeFileGroup();
  TSafeFileGroup(const TSafeFileGroup&) = delete;
  TSafeFileGroup& operator=(const TSafeFileGroup&) = delete;

  // Writes one file through write(device); throws EInOutError (or what write throws).
  void Add(const QString& fileName, const std::function<void(QIODevice&)>& write);
  void Commit();  // throws EInOutError when a rename fails
  QStringList Files() const;

 private:
  struct TStaged {
    QString Target;
    QString Staged;
  };
  std::vector<TStaged> FFiles;
  bool FCommitted = false;
};
