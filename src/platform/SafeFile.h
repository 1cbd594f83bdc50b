#pragma once
// Every file the program writes is whole or absent, and the user's alone. The bytes go into a
// temporary file in the target's folder (unnamed where the file system allows, so a killed
// program leaves nothing behind), every write, the flush to the disk and the close are checked,
// and only then does the file take the target's name. A failure (a full disk, a folder that
// cannot be written, a damaged page found half way) leaves the previous file untouched and
// raises EInOutError naming the file and the operating system's reason. New files are made
// 0600 (a stricter umask still applies), since nearly all of them hold taxpayer numbers.
//
// Before anything is written the target is checked: it must be a regular file or not exist
// yet, not a file the command reads, not a payer or payee file unless writing one is the
// command's job, not a file another program holds locked, and not a symbolic link the program
// made the name of in a folder other users can write to.
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

struct TWriteOptions {
  QString ShownName;  // the name messages use; the target's when empty
  // The program made this name up (a recipient's file, a page of a PNG export, a backup copy):
  // a symbolic link under it is followed only in a folder no one else can write to, where
  // nobody but the user can have put it. A name the user typed or picked is the user's own,
  // and so is a link there.
  bool ProgramNamed = false;
  bool RecordFile = false;        // writing a payer or payee file is this command's job
  bool LockHeldByCaller = false;  // the caller holds the target's lock through its own handle
  QStringList Inputs;             // the files the command reads: never written over
};

class TSafeFile {
 public:
  // Checks the target and opens the temporary; throws EInOutError.
  explicit TSafeFile(const QString& fileName, const TWriteOptions& options = {});
  // The constructor's checks of the target alone, before a caller asks anything else about it
  // (whether to replace an existing file); throws EInOutError.
  static void CheckTarget(const QString& fileName, const TWriteOptions& options = {});
  ~TSafeFile();  // discards the temporary unless committed
  TSafeFile(const TSafeFile&) = delete;
  TSafeFile& operator=(const TSafeFile&) = delete;

  QIODevice& Device();
  QString FileName() const;  // the file that is replaced (a link's target when it was followed)
  void Write(const QByteArray& bytes);  // throws EInOutError
  // Checks every earlier write, flushes the file to the disk, closes it and renames it over
  // the target; throws EInOutError, the target untouched.
  void Commit();
  // Commit's two halves, for files that appear together: Stage does everything but the rename
  // (the whole file waits under a hidden name that it keeps locked), Publish renames it.
  void Stage();
  void Publish();

 private:
  struct TState;
  std::unique_ptr<TState> F;
};

// Raises the EInOutError every failed output raises: "Cannot write "FILE": REASON".
[[noreturn]] void RaiseWriteError(const QString& fileName, const QString& reason);

// Raises the write error of a target that is one of the inputs by any name (a link, another
// spelling): the output never takes the place of what the command reads.
void RefuseOwnInput(const QString& target, const QString& input);

// The whole of bytes into fileName, or nothing; throws EInOutError.
void WriteFileSafely(const QString& fileName, const QByteArray& bytes,
                     const TWriteOptions& options = {});

// Several files that appear together or not at all (the pages of a PNG export, a payer file
// pair): each is written whole and staged, and only when all are staged are they renamed over
// their targets, in the order added. A rename that fails takes back the files the group made
// that did not exist before; files staged but not committed are removed.
class TSafeFileGroup {
 public:
  explicit TSafeFileGroup(TWriteOptions options = {}) : FOptions(std::move(options)) {}
  ~TSafeFileGroup();
  TSafeFileGroup(const TSafeFileGroup&) = delete;
  TSafeFileGroup& operator=(const TSafeFileGroup&) = delete;

  // Writes one file through write(device); throws EInOutError (or what write throws).
  void Add(const QString& fileName, const std::function<void(QIODevice&)>& write);
  void Commit();  // throws EInOutError when a rename fails
  QStringList Files() const;

 private:
  TWriteOptions FOptions;
  std::vector<QString> FNames;
  std::vector<std::unique_ptr<TSafeFile>> FFiles;
};

// ---- reading -----------------------------------------------------------------------------------

// Throws EInOutError "File not found: X" or "X is not a regular file" (a folder, a pipe, a
// device), so that nothing waits forever on a pipe or reads a device without end.
void CheckRegularFile(const QString& path);
// The whole of a regular file of at most limit bytes; throws EInOutError naming the file and
// the reason (not found, not a regular file, too large, the system's read error).
QByteArray ReadRegularFile(const QString& path, qint64 limit);

// ---- folders and clean-up ----------------------------------------------------------------------

// True for the names of payer and payee files (".PE25", ".PR25", in any letter case).
bool IsRecordFileName(const QString& path);
// Creates the folder and any missing parents as the user's alone (0700, or stricter by the
// umask); folders already there keep their permissions. False when it cannot be made.
bool MakePrivateFolder(const QString& path);
// Removes what an interrupted write of this program left in folder: its own hidden temporary
// files (and the unencrypted scratch folders of older versions), owned by this user and held
// by no running copy. Each folder is swept once per run; later calls return at once.
void SweepStaleTemporaries(const QString& folder);
