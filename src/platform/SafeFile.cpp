#include "platform/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Exceptions.h"

void RaiseWriteError(const QString& fileName, const QString& reason) {
  throw EInOutError(
      QStringLiteral("Cannot write \"%1\": %2").arg(QDir::toNativeSeparators(fileName), reason));
}

namespace {
// A name in the target's folder (so the rename never crosses file systems) that no file list
// shows and no other export picks.
QString StagingName(const QString& target, int index) {
  const QFileInfo info(target);
  return info.dir().filePath(QStringLiteral(".%1.%2-%3.part")
                                 .arg(info.fileName())
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(index));
}
}  // namespace

TSafeFile::TSafeFile(const QString& fileName, const QString& shownName)
    : FName(shownName.isEmpty() ? fileName : shownName), FFile(fileName) {
  // Writing straight into the target when the folder refuses a temporary would put the old
  // file at risk again.
  FFile.setDirectWriteFallback(false);
  if (!FFile.open(QIODevice::WriteOnly)) Fail();
}

TSafeFile::~TSafeFile() {
  if (FFile.isOpen()) FFile.cancelWriting();
}

void TSafeFile::Fail() {
  const QString reason = FFile.errorString();
  if (FFile.isOpen()) FFile.cancelWriting();
  RaiseWriteError(FName, reason);
}

void TSafeFile::Write(const QByteArray& bytes) {
  if (FFile.write(bytes) != bytes.size()) Fail();
}

void TSafeFile::Commit() {
  // A write the buffer accepted may still fail when it reaches the disk; commit sees that, and
  // the flush and close of the temporary, before anything is renamed.
  if (FFile.error() != QFileDevice::NoError || !FFile.flush()) Fail();
  if (!FFile.commit()) RaiseWriteError(FName, FFile.errorString());
}

void WriteFileSafely(const QString& fileName, const QByteArray& bytes) {
  TSafeFile file(fileName);
  file.Write(bytes);
  file.Commit();
}

TSafeFileGroup::~TSafeFileGroup() {
  if (FCommitted) return;
  for (const TStaged& f : FFiles) QFile::remove(f.Staged);
}

void TSafeFileGroup::Add(const QString& fileName, const std::function<void(QIODevice&)>& write) {
  const QString staged = StagingName(fileName, int(FFiles.size()));
  TSafeFile file(staged, fileName);
  write(file.Device());
  file.Commit();
  FFiles.push_back({fileName, staged});
}

void TSafeFileGroup::Commit() {
  for (const TStaged& f : FFiles) {
    if (std::rename(QFile::encodeName(f.Staged).constData(),
                    QFile::encodeName(f.Target).constData()) != 0)
      RaiseWriteError(f.Target, QString::fromLocal8Bit(std::strerror(errno)));
  }
  FCommitted = true;
}

QStringList TSafeFileGroup::Files() const {
  QStringList out;
  for (const TStaged& f : FFiles) out.append(f.Target);
  return out;
}
