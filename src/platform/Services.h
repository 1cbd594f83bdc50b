#pragma once
// Small platform services without windows: hourglass cursor, opening documents, paths, code page,
// memory figures, screen size. Each can be observed in tests.
#include <QByteArray>
#include <QString>
#include <QStringList>

// Hourglass cursor for the length of a scope; nests.
class THourglass {
 public:
  THourglass();
  ~THourglass();
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;
};
bool HourglassShown();

// Opens a document with the desktop's associated program. In tests (ShellScript enabled)
// nothing starts; the path is recorded.
bool ShellOpenDocument(const QString& path);
namespace ShellScript {
void Enable(bool on);
QStringList Opened();
void Clear();
}  // namespace ShellScript

// True when the executable runs from its build tree (a CMakeCache.txt in its folder or above)
// and not from an installed tree.
bool RunningUnderDevEnvironment();
bool RunningUnderDevEnvironmentAt(const QString& exeFolder);
QString ExecutableFolder();     // with a trailing "/"
QString DocumentsFolderPath();  // the user's Documents folder, no trailing delimiter; may be empty
// "Papyra" in the user's Documents folder, where the user's own files of the program go by
// default (reports, payer files); created on use, as the user's alone.
QString PapyraDocumentsFolder();

// The folder for the files the program makes for itself (the print snapshot, web update
// downloads): private to the user (XDG_RUNTIME_DIR, else the user's cache folder) and to this
// running copy, so a read-only program folder, other users and other copies never get in the
// way. Created on first use, no trailing delimiter; empty only when it cannot be created.
QString RuntimeDir();
// Removes that folder with everything in it; the next RuntimeDir() makes a fresh one. Runs at
// exit by itself.
void RemoveRuntimeDir();
// What killed copies of the program left behind, removed at start: their runtime folders (the
// print snapshot of every recipient among them) and the temporaries of interrupted writes in
// the program's own folders. Only this user's, and only what no running copy holds.
void SweepStaleFiles();
// The user's cache folder for the program ("~/.cache/Papyra"), for the few files that must
// outlive the running copy (a downloaded setup program that replaces it). Created on use; empty
// when it cannot be.
QString CacheDir();

// Adds the font files the screens are designed for where the system has them but does not
// offer them to programs (Tahoma from the Wine fonts). Every program start calls it.
void AddProgramFontFiles();

// Windows-1252, the code page of the record files' short strings.
QByteArray ToWin1252(const QString& text);  // unmappable characters become "?"
// True when the character has a byte of its own in Windows-1252 (half of a surrogate pair never
// has): the edits refuse any other, so that what is shown is what is stored.
bool InWin1252(QChar c);
QString FromWin1252(const QByteArray& bytes);
QString FromWin1252(const unsigned char* bytes, int length);

// Memory figures for the About box, from /proc/meminfo.
qint64 PhysicalMemoryKB();
int MemoryLoadPercent();
