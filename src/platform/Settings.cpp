#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSettings>
#include <QStandardPaths>

#include "platform/Exceptions.h"
#include "platform/SafeFile.h"

namespace {
// Each value is stored with a type tag so a read of the wrong type can be told from a match.
const QString kTagString = QStringLiteral("s:");
const QString kTagInt = QStringLiteral("i:");
const QString kTagBool = QStringLiteral("b:");
const QString kTagFloat = QStringLiteral("f:");
const QString kTagBinary = QStringLiteral("x:");

QString TaggedPayload(const QString& s, const QString& tag, bool* found) {
  *found = s.startsWith(tag);
  return *found ? s.mid(tag.size()) : QString();
}

// Keys and section names: letters, digits and "_-." as they are, "/" as "\\", anything else
// %XX or %UXXXX, which QSettings reads back.
QByteArray IniKey(const QString& key) {
  QByteArray out;
  for (const QChar c : key) {
    const char16_t u = c.unicode();
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
        u == '-' || u == '.')
      out.append(char(u));
    else if (u == '/')
      out.append('\\');
    else if (u < 0x100)
      out.append('%').append(QByteArray::number(u, 16).rightJustified(2, '0').toUpper());
    else
      out.append("%U").append(QByteArray::number(u, 16).rightJustified(4, '0').toUpper());
  }
  return out;
}

// Values always in quotes, so commas and semicolons stay text; quotes, backslashes and every
// character outside printable ASCII as escapes. A hexadecimal escape swallows the hex digits
// after it, so a digit or letter a-f right after one is escaped too.
QByteArray IniValue(const QString& value) {
  QByteArray out = "\"";
  bool afterHex = false;
  for (const QChar c : value) {
    const char16_t u = c.unicode();
    const bool hexDigit =
        (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
    if (u == '"' || u == '\\') {
      out.append('\\').append(char(u));
      afterHex = false;
    } else if (u < 0x20 || u >= 0x7f || (afterHex && hexDigit)) {
      out.append("\\x").append(QByteArray::number(u, 16).rightJustified(4, '0'));
      afterHex = true;
    } else {
      out.append(char(u));
      afterHex = false;
    }
  }
  return out.append('"');
}

// What this process last wrote to each store file. QSettings keeps what it read of a file and
// reads it again only when the size or the modification time (to the millisecond) changed, so
// two writes alike in size within one millisecond would read back the older values.
struct TWritten {
  QByteArray Bytes;
  QMap<QString, QString> Values;
};
QMutex gWrittenMutex;
QHash<QString, TWritten> gWritten;

QMap<QString, QString> ReadStore(const QString& file) {
  QMap<QString, QString> values;
  if (!QFileInfo(file).isFile()) return values;
  {
    QFile in(file);
    const QByteArray bytes = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    const QMutexLocker lock(&gWrittenMutex);
    const auto it = gWritten.constFind(file);
    if (it != gWritten.cend() && it->Bytes == bytes) return it->Values;
  }
  const QSettings settings(file, QSettings::IniFormat);
  for (const QString& key : settings.allKeys()) {
    const QVariant v = settings.value(key);
    values.insert(
        key, v.typeId() == QMetaType::QStringList ? v.toStringList().join(", ") : v.toString());
  }
  return values;
}

void RememberWritten(const QString& file, const QByteArray& bytes,
                     const QMap<QString, QString>& values) {
  const QMutexLocker lock(&gWrittenMutex);
  gWritten.insert(file, {bytes, values});
}

QByteArray StoreText(const QMap<QString, QString>& values) {
  QMap<QString, QList<QPair<QString, QString>>> sections;
  for (auto it = values.begin(); it != values.end(); ++it) {
    const qsizetype slash = it.key().lastIndexOf(QLatin1Char('/'));
    const QString section = slash < 0 ? QStringLiteral("General") : it.key().left(slash);
    sections[section].append({it.key().mid(slash + 1), it.value()});
  }
  QByteArray text;
  for (auto it = sections.begin(); it != sections.end(); ++it) {
    if (!text.isEmpty()) text.append('\n');
    text.append('[').append(IniKey(it.key())).append("]\n");
    for (const auto& [key, value] : it.value())
      text.append(IniKey(key)).append('=').append(IniValue(value)).append('\n');
  }
  return text;
}
}  // namespace

QString TRegistry::StoreFileName() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return base + QStringLiteral("/Papyra/Papyra.ini");
}

TRegistry::TRegistry() : FFile(StoreFileName()), FValues(ReadStore(FFile)) {}

// A store that cannot write its file loses only the changes of this run; the program goes on.
TRegistry::~TRegistry() {
  try {
    Sync();
  } catch (const EInOutError&) {
  }
}

void TRegistry::SetValue(const QString& fullName, const QString& value) {
  FValues.insert(fullName, value);
  FSets.insert(fullName, value);
}

void TRegistry::Remove(const QString& key) {
  const QString prefix = key + QLatin1Char('/');
  for (auto* map : {&FValues, &FSets})
    for (auto it = map->begin(); it != map->end();)
      it = (it.key() == key || it.key().startsWith(prefix)) ? map->erase(it) : std::next(it);
  FRemoves.append(key);
}

QStringList TRegistry::KeysUnder(const QString& group) const {
  const QString prefix = group + QLatin1Char('/');
  QStringList keys;
  for (auto it = FValues.lowerBound(prefix); it != FValues.end() && it.key().startsWith(prefix);
       ++it)
    keys.append(it.key().mid(prefix.size()));
  return keys;
}

// Reads the file again, so what another copy wrote since is kept, applies this store's own
// changes and writes the whole file.
void TRegistry::Sync() {
  if (FSets.isEmpty() && FRemoves.isEmpty()) return;
  QMap<QString, QString> merged = ReadStore(FFile);
  for (const QString& key : FRemoves) {
    const QString prefix = key + QLatin1Char('/');
    for (auto it = merged.begin(); it != merged.end();)
      it = (it.key() == key || it.key().startsWith(prefix)) ? merged.erase(it) : std::next(it);
  }
  for (auto it = FSets.begin(); it != FSets.end(); ++it) merged.insert(it.key(), it.value());
  FSets.clear();
  FRemoves.clear();
  FValues = merged;
  MakePrivateFolder(QFileInfo(FFile).absolutePath());
  const QByteArray text = StoreText(merged);
  WriteFileSafely(FFile, text);
  RememberWritten(FFile, text, merged);
}

QString TRegistry::Group(const QString& key) const {
  QString k = key;
  k.replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (k.endsWith(QLatin1Char('/'))) k.chop(1);
  while (k.startsWith(QLatin1Char('/'))) k.remove(0, 1);
  return k;
}

QString TRegistry::FullName(const QString& name) const {
  return FCurrentPath + QStringLiteral("/") + (name.isEmpty() ? QStringLiteral("@") : name);
}

bool TRegistry::KeyExists(const QString& key) const {
  const QString g = Group(key);
  // A key exists when it was created explicitly or holds values or subkeys.
  return Contains(g + QStringLiteral("/.key")) || !KeysUnder(g).isEmpty();
}

bool TRegistry::OpenKey(const QString& key, bool canCreate) {
  const QString g = Group(key);
  if (g.isEmpty()) return false;
  if (!KeyExists(g)) {
    if (!canCreate) return false;
    SetValue(g + QStringLiteral("/.key"), QStringLiteral("1"));
    Sync();
  }
  FCurrentPath = g;
  FKeyOpen = true;
  return true;
}

void TRegistry::CloseKey() {
  Sync();
  FCurrentPath.clear();
  FKeyOpen = false;
}

bool TRegistry::DeleteKey(const QString& key) {
  const QString g = Group(key);
  if (!KeyExists(g)) return false;
  Remove(g);
  Sync();
  return true;
}

bool TRegistry::ValueExists(const QString& name) const {
  return FKeyOpen && Contains(FullName(name));
}

QStringList TRegistry::ValueNames() const {
  if (!FKeyOpen) return {};
  QStringList names;
  for (const QString& key : KeysUnder(FCurrentPath))
    if (!key.contains(QLatin1Char('/')) && key != QLatin1String(".key")) names.append(key);
  return names;
}

QString TRegistry::ReadString(const QString& name, const QString& def) const {
  if (!FKeyOpen) return def;
  bool found = false;
  const QString s = TaggedPayload(Value(FullName(name)), kTagString, &found);
  return found ? s : def;
}

int TRegistry::ReadInteger(const QString& name, int def, bool* ok) const {
  bool found = false, conv = false;
  int v = 0;
  if (FKeyOpen) {
    const QString s = TaggedPayload(Value(FullName(name)), kTagInt, &found);
    v = s.toInt(&conv);
  }
  if (ok) *ok = found && conv;
  return found && conv ? v : def;
}

bool TRegistry::ReadBool(const QString& name, bool def, bool* ok) const {
  bool found = false, conv = false;
  int v = 0;
  if (FKeyOpen) {
    const QString s = TaggedPayload(Value(FullName(name)), kTagBool, &found);
    v = s.toInt(&conv);
  }
  if (ok) *ok = found && conv;
  return found && conv ? v != 0 : def;
}

double TRegistry::ReadFloat(const QString& name, double def, bool* ok) const {
  bool found = false, conv = false;
  double v = 0;
  if (FKeyOpen) {
    const QString s = TaggedPayload(Value(FullName(name)), kTagFloat, &found);
    v = s.toDouble(&conv);
  }
  if (ok) *ok = found && conv;
  return found && conv ? v : def;
}

QByteArray TRegistry::ReadBinaryData(const QString& name, bool* ok) const {
  bool found = false;
  QByteArray v;
  if (FKeyOpen) {
    const QString s = TaggedPayload(Value(FullName(name)), kTagBinary, &found);
    v = QByteArray::fromHex(s.toLatin1());
    // fromHex skips junk silently; only an even run of hex digits is data we wrote.
    if (found && v.toHex() != s.toLatin1().toLower()) found = false;
  }
  if (ok) *ok = found;
  return found ? v : QByteArray();
}

void TRegistry::WriteString(const QString& name, const QString& value) {
  if (FKeyOpen) SetValue(FullName(name), kTagString + value);
}
void TRegistry::WriteInteger(const QString& name, int value) {
  if (FKeyOpen) SetValue(FullName(name), kTagInt + QString::number(value));
}
void TRegistry::WriteBool(const QString& name, bool value) {
  if (FKeyOpen) SetValue(FullName(name), kTagBool + QString::number(value ? 1 : 0));
}
void TRegistry::WriteFloat(const QString& name, double value) {
  if (FKeyOpen) SetValue(FullName(name), kTagFloat + QString::number(value, 'g', 17));
}
void TRegistry::WriteBinaryData(const QString& name, const QByteArray& value) {
  if (FKeyOpen) SetValue(FullName(name), kTagBinary + QString::fromLatin1(value.toHex()));
}
bool TRegistry::DeleteValue(const QString& name) {
  if (!ValueExists(name)) return false;
  Remove(FullName(name));
  return true;
}
