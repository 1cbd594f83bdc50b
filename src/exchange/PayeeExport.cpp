#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <cerrno>
#include <cstring>

#include "exchange/PayeeExchange.h"
#include "forms/FormRegistry.h"
#include "platform/Exceptions.h"

namespace {
bool InExport(const TFieldDef& field, std::optional<uint8_t> formType) {
  if (!formType) return true;
  const TFormDef* form = FormDefOfField(field.Name);
  return !form || form->FormType == *formType;
}

[[noreturn]] void Fail(const char* action, const QString& path, int err) {
  throw EInOutError(QStringLiteral("Unable to %1 %2: %3")
                        .arg(QLatin1String(action), QDir::toNativeSeparators(path),
                             QString::fromLocal8Bit(std::strerror(err))));
}

void WriteAllTo(int fd, const QByteArray& bytes, const QString& path) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail("write", path, n < 0 ? errno : ENOSPC);
    done += n;
  }
}

mode_t ModeFor(const QString& target) {
  struct stat st;
  if (::stat(QFile::encodeName(target).constData(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The temporary file holds a write lock from its first byte, so the moment it takes the
// target's name no other program can open it for writing before this one is done.
void LockWhole(int fd) {
  struct flock fl;
  std::memset(&fl, 0, sizeof fl);
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  ::fcntl(fd, F_OFD_SETLK, &fl);
}

void SyncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
}  // namespace

std::optional<uint8_t> FormTypeFromName(const QString& name) {
  const TFormDef* def = FormDefBySpelling(name);
  return def ? std::optional<uint8_t>(def->FormType) : std::nullopt;
}

std::vector<const TFieldDef*> ExportFields(std::optional<uint8_t> formType) {
  std::vector<const TFieldDef*> fields;
  for (const TFieldDef& field : PayeeLayout().Fields())
    if (InExport(field, formType)) fields.push_back(&field);
  return fields;
}

QString PayeeCsvValue(const TPayeeRecord& payee, const TFieldDef& field) {
  switch (field.Kind) {
    case TFieldKind::Double:
      return QString::number(payee.GetDouble(&field), 'f', 2);
    case TFieldKind::Bool:
      return payee.GetBool(&field) ? QStringLiteral("true") : QStringLiteral("false");
    case TFieldKind::String:
      return SafeCell(RecordField::AsText(payee.Data(), field));
    default:
      return RecordField::AsText(payee.Data(), field);
  }
}

QByteArray PayeesToCsv(const std::vector<TPayeeRecord>& payees, const TExportOptions& options) {
  const std::vector<const TFieldDef*> fields = ExportFields(options.FormType);
  QStringList cells;
  for (const TFieldDef* field : fields)
    cells << (options.FieldNames ? QLatin1String(field->Name) : ExchangeName(*field));
  QString text = CsvLine(cells);
  for (const TPayeeRecord& payee : payees) {
    cells.clear();
    for (const TFieldDef* field : fields) cells << PayeeCsvValue(payee, *field);
    text += CsvLine(cells);
  }
  QByteArray bytes = options.ByteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
  return bytes + text.toUtf8();
}

std::vector<TPayeeRecord> ReadPayeeFile(const QString& payeeFile) {
  QFile file(payeeFile);
  if (!file.open(QIODevice::ReadOnly)) Fail("read", payeeFile, errno ? errno : ENOENT);
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) Fail("read", payeeFile, EIO);
  if (bytes.size() % TPayeeRecord::Size != 0)
    throw EInOutError(QStringLiteral("%1 is not a whole number of %2-byte payee records")
                          .arg(QDir::toNativeSeparators(payeeFile))
                          .arg(TPayeeRecord::Size));
  std::vector<TPayeeRecord> payees(size_t(bytes.size() / TPayeeRecord::Size));
  for (size_t i = 0; i < payees.size(); ++i)
    std::memcpy(payees[i].Data(), bytes.constData() + i * TPayeeRecord::Size, TPayeeRecord::Size);
  return payees;
}

void ExportPayees(const QString& payeeFile, const QString& csvFile, const TExportOptions& options) {
  ReplaceFile(csvFile, PayeesToCsv(ReadPayeeFile(payeeFile), options));
}

void ReplaceFile(const QString& target, const QByteArray& bytes) {
  const QFileInfo info(target);
  QByteArray pattern = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") +
                                         info.fileName() + QStringLiteral(".XXXXXX"));
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) Fail("create a temporary file for", target, errno);
  const QString temp = QFile::decodeName(pattern);
  auto dropTemp = qScopeGuard([&] {
    ::close(fd);
    ::unlink(pattern.constData());
  });
  LockWhole(fd);
  if (::fchmod(fd, ModeFor(target)) != 0) Fail("write", temp, errno);
  WriteAllTo(fd, bytes, target);
  if (::fsync(fd) != 0) Fail("write", target, errno);
  if (::rename(pattern.constData(), QFile::encodeName(target).constData()) != 0)
    Fail("replace", target, errno);
  dropTemp.dismiss();
  SyncFolder(info.absolutePath());
  if (::close(fd) != 0) Fail("write", target, errno);
}
