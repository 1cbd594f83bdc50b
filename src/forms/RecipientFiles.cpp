#include "forms/RecipientFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <optional>

#include "engine/PagePrinter.h"
#include "engine/PdfProtect.h"
#include "engine/Render.h"
#include "engine/ReportProject.h"
#include "forms/FormPrint.h"
#include "forms/FormTables.h"
#include "platform/Exceptions.h"

namespace {
QString Digits(const QString& text) {
  QString digits;
  for (QChar c : text)
    if (c.isDigit()) digits.append(c);
  return digits;
}

// Characters Windows, macOS or Linux refuse in a file name, control characters included.
QString SafeFileName(QString name) {
  static const QString kBad = QStringLiteral("<>:\"/\\|?*");
  for (QChar& c : name)
    if (kBad.contains(c) || c.unicode() < 0x20) c = QLatin1Char('_');
  name = name.simplified();
  // A name ending in a dot or blank is trimmed by Windows; keep it as written here.
  while (name.endsWith(QLatin1Char('.'))) name.chop(1);
  return name;
}

QString FormShortName(const TFormDef& form) {
  QString name = QString::fromLatin1(form.Name);
  return name.remove(QStringLiteral("Form "));
}

QString UniqueName(const QString& name, QSet<QString>& used) {
  const QString base = name.chopped(4);  // without ".pdf"
  QString candidate = name;
  for (int n = 2; used.contains(candidate.toLower()); ++n)
    candidate = base + QStringLiteral(" (%1).pdf").arg(n);
  used.insert(candidate.toLower());
  return candidate;
}

// One recipient's pages as a job of their own.
TReportJob RecipientJob(TRecipientPrint& print, const TPagePrinter* model) {
  TPagePrinter printer;
  if (model) printer.SetPrinterSettings(model->PrinterSettings());
  printer.SetTitle(QString::fromLatin1(print.Form.Name));
  print.Project.SetEngine(&printer);
  printer.BeginDoc();
  PrintRecipient(print, printer);
  printer.EndDoc();
  print.Project.SetEngine(static_cast<TPagePrinter*>(nullptr));
  return printer.TakeJob();
}

// Writes the file through the engine's output; a protected file is rendered into the scratch
// folder first so that no unprotected copy ever carries the final name.
void WriteFile(const TReportJob& job, const QString& target, const QString& password,
               const QTemporaryDir& scratch) {
  if (password.isEmpty()) {
    ExportJob(job, target);
    return;
  }
  const QString plain = scratch.filePath(QStringLiteral("plain.pdf"));
  ExportJob(job, plain);
  EncryptPdfFile(plain, target, password);
  QFile::remove(plain);
}

int CountRecipients(const TFormDef& form, const TPayeeSelection& selection) {
  int count = 0;
  ForEachFormPayee(
      form, [] {}, [&] { ++count; }, selection);
  return count;
}
}  // namespace

bool PasswordSourceByName(const QString& name, TPasswordSource& source) {
  if (name == QLatin1String("tin-last4"))
    source = TPasswordSource::TinLast4;
  else if (name == QLatin1String("zip"))
    source = TPasswordSource::Zip;
  else if (name == QLatin1String("none"))
    source = TPasswordSource::None;
  else
    return false;
  return true;
}

QString RecipientPassword(const TFormData& d, TPasswordSource source) {
  if (source == TPasswordSource::TinLast4) {
    const QString tin = Digits(PayeeString(d, "SSN_IDNum"));
    return tin.size() == 9 ? tin.right(4) : QString();
  }
  if (source == TPasswordSource::Zip) {
    // Only a US ZIP code: five digits, optionally followed by "-" and four more.
    const QString zip = PayeeString(d, "ZipCode").trimmed();
    const QString digits = Digits(zip);
    const bool valid = (zip.size() == 5 && digits.size() == 5) ||
                       (zip.size() == 10 && digits.size() == 9 && zip[5] == QLatin1Char('-'));
    return valid ? digits.left(5) : QString();
  }
  return {};
}

QString RecipientFileName(const TFormDef& form, const TFormData& d) {
  QString name = FormShortName(form) + QLatin1Char(' ') + PayeeString(d, "PayeeName").trimmed();
  const QString tin = Digits(PayeeString(d, "SSN_IDNum"));
  if (tin.size() >= 4) name += QLatin1Char(' ') + tin.right(4);
  return SafeFileName(name) + QStringLiteral(".pdf");
}

QList<TRecipientFile> WriteRecipientFiles(const TRecipientFilesJob& job) {
  if (!QDir().mkpath(job.Folder))
    throw EReportException(QStringLiteral("Cannot create the folder \"%1\".").arg(job.Folder));
  const QTemporaryDir scratch(QDir(job.Folder).filePath(QStringLiteral(".papyra-XXXXXX")));
  if (!scratch.isValid())
    throw EReportException(QStringLiteral("Cannot write into the folder \"%1\".").arg(job.Folder));
  const int total = CountRecipients(job.Form, job.Selection);
  QList<TRecipientFile> files;
  QSet<QString> used;
  TReportProject project;
  project.SetProjectFile(job.ProjectFile);
  std::optional<TRecipientPrint> print;
  bool stopped = false;
  auto start = [&] { print.emplace(StartRecipientPrint(job.Form, project, job.Copies)); };
  auto each = [&] {
    if (stopped || (job.Progress && !job.Progress(int(files.size()), total))) {
      stopped = true;
      return;
    }
    const TFormData d = CurrentFormData();
    TRecipientFile file;
    file.FileName = QDir(job.Folder).filePath(UniqueName(RecipientFileName(job.Form, d), used));
    file.Recipient = PayeeString(d, "PayeeName").trimmed();
    const QString password = RecipientPassword(d, job.Password);
    file.Protected = !password.isEmpty();
    file.NoPassword = job.Password != TPasswordSource::None && password.isEmpty();
    WriteFile(RecipientJob(*print, job.Model), file.FileName, password, scratch);
    files.append(file);
  };
  ForEachFormPayee(job.Form, start, each, job.Selection);
  if (job.Progress && !stopped) job.Progress(int(files.size()), total);
  return files;
}

QString RecipientFileLine(const TRecipientFile& file) {
  const QString name = QFileInfo(file.FileName).fileName();
  if (file.NoPassword)
    return name + QStringLiteral(" (not protected: no password for this recipient)");
  return file.Protected ? name + QStringLiteral(" (protected)") : name;
}
