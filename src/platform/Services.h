#pragma once
// Small platform services: beep, hourglass cursor, opening documents, paths, code page,
// memory figures, screen size. Each can be observed in tests.
#include <QByteArray>
#include <QString>
#include <QStringList>

// The warning beep. BeepCount lets tests see that a key was refused.
void Beep();
int BeepCount();

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

// True when the executable runs from its build tree (a CMakeCache.txt in its folder or above).
bool RunningUnderDevEnvironment();
QString ExecutableFolder();     // with a trailing "/"
QString DocumentsFolderPath();  // the user's Documents folder, no trailing delimiter; may be empty

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
