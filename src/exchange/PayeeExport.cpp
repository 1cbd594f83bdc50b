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
#include "platform/Exceptions.h"

namespace {
// The part of a field name that tells its form; common fields carry none of them.
constexpr const char* kFormTags[] = {"1098",    "1099DIV", "1099INT", "1099MISC",
                                     "1099NEC", "1099R",   "1099S"};

std::optional<uint8_t> FormOfField(const char* name) {
  const QLatin1String n(name);
  for (uint8_t t = 0; t < std::size(kFormTags); ++t)
    if (n.contains(QLatin1String(kFormTags[t]))) return t;
  return std::nullopt;
}

bool InExport(const TFieldDef& field, std::optional<uint8_t> formType) {
  if (!formType) return true;
  const std::optional<uint8_t> form = FormOfField(field.Name);
  return !form || form == formType;
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
  QString n = name.toUpper();
  n.remove(QLatin1Char('-')).remove(QLatin1Char(' ')).remove(QLatin1String("FORM"));
  for (uint8_t t = 0; t < std::size(kFormTags); ++t) {
    const QLatin1String tag(kFormTags[t]);
    if (n == tag || (t > 0 && QLatin1String("1099") + n == tag)) return t;
  }
  return std::nullopt;
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
