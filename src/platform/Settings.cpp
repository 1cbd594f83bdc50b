#include "platform/Settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
// Each value is stored with a type tag so a read of the wrong type can be told from a match.
const QString kTagString = QStringLiteral("s:");
const QString kTagInt = QStringLiteral("i:");
const QString kTagBool = QStringLiteral("b:");
const QString kTagFloat = QStringLiteral("f:");
const QString kTagBinary = QStringLiteral("x:");

QString TaggedPayload(const QVariant& v, const QString& tag, bool* found) {
  const QString s = v.toString();
  *found = v.isValid() && s.startsWith(tag);
  return *found ? s.mid(tag.size()) : QString();
}
}  // namespace

QString TRegistry::StoreFileName() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return base + QStringLiteral("/Papyra/Papyra.ini");
}

TRegistry::TRegistry() {
  const QString file = StoreFileName();
  QDir().mkpath(QFileInfo(file).absolutePath());
  FSettings = std::make_unique<QSettings>(file, QSettings::IniFormat);
}

TRegistry::~TRegistry() {
  FSettings->sync();
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
  if (FSettings->contains(g + QStringLiteral("/.key"))) return true;
  FSettings->beginGroup(g);
  const bool any = !FSettings->allKeys().isEmpty();
  FSettings->endGroup();
  return any;
}

bool TRegistry::OpenKey(const QString& key, bool canCreate) {
  const QString g = Group(key);
  if (g.isEmpty()) return false;
  if (!KeyExists(g)) {
    if (!canCreate) return false;
    FSettings->setValue(g + QStringLiteral("/.key"), QStringLiteral("1"));
    FSettings->sync();
  }
  FCurrentPath = g;
  FKeyOpen = true;
  return true;
}

void TRegistry::CloseKey() {
  FSettings->sync();
  FCurrentPath.clear();
  FKeyOpen = false;
}

bool TRegistry::DeleteKey(const QString& key) {
  const QString g = Group(key);
  if (!KeyExists(g)) return false;
  FSettings->remove(g);
  FSettings->sync();
  return true;
}

bool TRegistry::ValueExists(const QString& name) const {
  return FKeyOpen && FSettings->contains(FullName(name));
}

QStringList TRegistry::ValueNames() const {
  if (!FKeyOpen) return {};
  FSettings->beginGroup(FCurrentPath);
  QStringList names = FSettings->childKeys();
  FSettings->endGroup();
  names.removeAll(QStringLiteral(".key"));
  return names;
}

QString TRegistry::ReadString(const QString& name, const QString& def) const {
  if (!FKeyOpen) return def;
  bool found = false;
  const QString s = TaggedPayload(FSettings->value(FullName(name)), kTagString, &found);
  return found ? s : def;
}

int TRegistry::ReadInteger(const QString& name, int def, bool* ok) const {
  bool found = false, conv = false;
  int v = 0;
  if (FKeyOpen) {
    const QString s = TaggedPayload(FSettings->value(FullName(name)), kTagInt, &found);
    v = s.toInt(&conv);
  }
  if (ok) *ok = found && conv;
  return found && conv ? v : def;
}

bool TRegistry::ReadBool(const QString& name, bool def, bool* ok) const {
  bool found = false, conv = false;
  int v = 0;
  if (FKeyOpen) {
    const QString s = TaggedPayload(FSettings->value(FullName(name)), kTagBool, &found);
    v = s.toInt(&conv);
  }
  if (ok) *ok = found && conv;
  return found && conv ? v != 0 : def;
}

double TRegistry::ReadFloat(const QString& name, double def, bool* ok) const {
  bool found = false, conv = false;
  double v = 0;
  if (FKeyOpen) {
    const QString s = TaggedPayload(FSettings->value(FullName(name)), kTagFloat, &found);
    v = s.toDouble(&conv);
  }
  if (ok) *ok = found && conv;
  return found && conv ? v : def;
}

QByteArray TRegistry::ReadBinaryData(const QString& name, bool* ok) const {
  bool found = false;
  QByteArray v;
  if (FKeyOpen) {
    const QString s = TaggedPayload(FSettings->value(FullName(name)), kTagBinary, &found);
    v = QByteArray::fromHex(s.toLatin1());
    // fromHex skips junk silently; only an even run of hex digits is data we wrote.
    if (found && v.toHex() != s.toLatin1().toLower()) found = false;
  }
  if (ok) *ok = found;
  return found ? v : QByteArray();
}

void TRegistry::WriteString(const QString& name, const QString& value) {
  if (FKeyOpen) FSettings->setValue(FullName(name), kTagString + value);
}
void TRegistry::WriteInteger(const QString& name, int value) {
  if (FKeyOpen) FSettings->setValue(FullName(name), kTagInt + QString::number(value));
}
void TRegistry::WriteBool(const QString& name, bool value) {
  if (FKeyOpen) FSettings->setValue(FullName(name), kTagBool + QString::number(value ? 1 : 0));
}
void TRegistry::WriteFloat(const QString& name, double value) {
  if (FKeyOpen) FSettings->setValue(FullName(name), kTagFloat + QString::number(value, 'g', 17));
}
void TRegistry::WriteBinaryData(const QString& name, const QByteArray& value) {
  if (FKeyOpen)
    FSettings->setValue(FullName(name), kTagBinary + QString::fromLatin1(value.toHex()));
}
bool TRegistry::DeleteValue(const QString& name) {
  if (!ValueExists(name)) return false;
  FSettings->remove(FullName(name));
  return true;
}
