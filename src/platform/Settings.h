#pragma once
// The settings store: a registry-like tree of keys with typed values, kept in one INI file.
// Key paths use backslashes ("Software\Papyra\2025\RecentFiles") exactly as the rest of the
// program names them.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

class TRegistry {
 public:
  TRegistry();
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  // Opens a key; without canCreate a key that does not exist fails.
  bool OpenKey(const QString& key, bool canCreate);
  void CloseKey();
  bool KeyExists(const QString& key) const;
  bool DeleteKey(const QString& key);
  QString CurrentPath() const { return FCurrentPath; }

  bool ValueExists(const QString& name) const;
  QStringList ValueNames() const;
  // Reads return the default when the value is missing or holds something of another type.
  QString ReadString(const QString& name, const QString& def = {}) const;
  int ReadInteger(const QString& name, int def = 0, bool* ok = nullptr) const;
  bool ReadBool(const QString& name, bool def = false, bool* ok = nullptr) const;
  double ReadFloat(const QString& name, double def = 0.0, bool* ok = nullptr) const;
  QByteArray ReadBinaryData(const QString& name, bool* ok = nullptr) const;

  void WriteString(const QString& name, const QString& value);
  void WriteInteger(const QString& name, int value);
  void WriteBool(const QString& name, bool value);
  void WriteFloat(const QString& name, double value);
  void WriteBinaryData(const QString& name, const QByteArray& value);
  bool DeleteValue(const QString& name);

  // Where the store lives; tests point XDG_CONFIG_HOME at a temporary folder.
  static QString StoreFileName();

 private:
  QString Group(const QString& key) const;
  QString FullName(const QString& name) const;
  std::unique_ptr<QSettings> FSettings;
  QString FCurrentPath;  // in slash form, empty when no key is open
  bool FKeyOpen = false;
};
