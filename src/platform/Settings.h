#pragma once
// The settings store: a registry-like tree of keys with typed values, kept in one INI file.
// Key paths use backslashes ("Software\Papyra\2025\RecentFiles") exactly as the rest of the
// program names them. The file is read in QSettings' INI syntax and written back in it through
// the program's safe writer, so it is whole even after a full disk, and the user's alone.
// Another copy's changes since this store read the file are kept: each write reads the file
// again and applies only this store's own changes.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

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
  bool Contains(const QString& fullName) const { return FValues.contains(fullName); }
  QString Value(const QString& fullName) const { return FValues.value(fullName); }
  void SetValue(const QString& fullName, const QString& value);
  void Remove(const QString& fullNameOrGroup);
  QStringList KeysUnder(const QString& group) const;
  void Sync();
  QString FFile;
  QMap<QString, QString> FValues;  // full key name ("a/b/c") -> stored text
  QMap<QString, QString> FSets;    // this store's changes not yet written
  QStringList FRemoves;            // keys and groups this store removed, not yet written
  QString FCurrentPath;  // in slash form, empty when no key is open
  bool FKeyOpen = false;
};
