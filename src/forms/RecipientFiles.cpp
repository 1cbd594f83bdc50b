#include "forms/RecipientFiles.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "engine/PagePrinter.h"
#include "engine/PdfProtect.h"
#include "engine/Render.h"
#include "engine/ReportFile.h"
#include "engine/ReportProject.h"
#include "forms/FormPrint.h"
#include "forms/FormTables.h"
#include "platform/Exceptions.h"
#include "platform/SafeFile.h"
#include "storage/TinRules.h"

namespace {
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

// The document in memory: a protected file is encrypted before any of it is written.
QByteArray PdfBytes(const TReportJob& job, const QString& name) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  WritePdf(job, buffer, name, DefaultPdfInfo(job));
  return buffer.data();
}

// Encrypts and writes the files on threads of their own. Each file is flushed to the disk
// before it takes its name, and waiting for the disk one file after another would take most of
// the run; the forms are drawn on the calling thread, which owns the payee records. The queue
// is short, so memory holds a few documents at most.
class TWriterPool {
 public:
  static constexpr int kThreads = 4;
  static constexpr size_t kQueued = 8;

  TWriterPool() {
    for (int i = 0; i < kThreads; ++i) FThreads.emplace_back([this] { Work(); });
  }
  ~TWriterPool() { Stop(); }
  TWriterPool(const TWriterPool&) = delete;
  TWriterPool& operator=(const TWriterPool&) = delete;

  // Waits while the queue is full; raises the first failure of a file written so far.
  void Add(std::function<void()> work) {
    std::unique_lock lock(FMutex);
    FRoom.wait(lock, [this] { return FQueue.size() < kQueued || FError; });
    RethrowLocked();
    FQueue.push_back(std::move(work));
    FReady.notify_one();
  }
  // Waits for every file; raises the first failure.
  void Finish() {
    Stop();
    std::unique_lock lock(FMutex);
    RethrowLocked();
  }

 private:
  void RethrowLocked() {
    if (FError) std::rethrow_exception(FError);
  }
  void Stop() {
    {
      const std::lock_guard lock(FMutex);
      FClosing = true;
    }
    FReady.notify_all();
    for (std::thread& t : FThreads)
      if (t.joinable()) t.join();
  }
  void Work() {
    for (;;) {
      std::function<void()> work;
      {
        std::unique_lock lock(FMutex);
        FReady.wait(lock, [this] { return !FQueue.empty() || FClosing; });
        if (FQueue.empty()) return;
        work = std::move(FQueue.front());
        FQueue.pop_front();
        // After a failure the rest is dropped: the run ends with that failure.
        if (FError) continue;
      }
      FRoom.notify_one();
      try {
        work();
      } catch (...) {
        const std::lock_guard lock(FMutex);
        if (!FError) FError = std::current_exception();
        FRoom.notify_all();
      }
    }
  }

  std::mutex FMutex;
  std::condition_variable FReady, FRoom;
  std::deque<std::function<void()>> FQueue;
  std::exception_ptr FError;
  bool FClosing = false;
  std::vector<std::thread> FThreads;
};

// The folder is the user's choice; the names in it are the program's.
void WriteNamedFile(const QString& target, const QByteArray& bytes) {
  TWriteOptions options;
  options.ProgramNamed = true;
  ReportWrite([&] { WriteFileSafely(target, bytes, options); });
}

void WriteOneFile(const QString& target, const QByteArray& pdf, const QString& password) {
  WriteNamedFile(target, password.isEmpty() ? pdf : EncryptPdf(pdf, password));
}

QString CsvCell(const QString& text) {
  if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
      !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
    return text;
  QString quoted = text;
  return QLatin1Char('"') + quoted.replace(QLatin1String("\""), QLatin1String("\"\"")) +
         QLatin1Char('"');
}

QByteArray PasswordCsv(const QList<TRecipientFile>& plan) {
  QString text = QStringLiteral("Recipient,TIN,File,Password\r\n");
  for (const TRecipientFile& f : plan) {
    if (!f.Protected()) continue;
    text += CsvCell(f.Recipient) + QLatin1Char(',') + CsvCell(f.Tin) + QLatin1Char(',') +
            CsvCell(QFileInfo(f.FileName).fileName()) + QLatin1Char(',') + CsvCell(f.Password) +
            QStringLiteral("\r\n");
  }
  return text.toUtf8();
}

// The printable list: each recipient's file and password, for the payer to send each password
// by another way than its file.
TReportJob PasswordPages(const TRecipientFilesJob& job, const QList<TRecipientFile>& plan) {
  constexpr double kLeft = 0.75, kTop = 1.0, kBottom = 10.25, kLine = 0.2;
  TPagePrinter printer;
  printer.SetTitle(QStringLiteral("Passwords of the recipients' files"));
  printer.BeginDoc();
  double y = kTop;
  auto heading = [&] {
    printer.SetFont(QStringLiteral("Arial"), 14);
    printer.SetBold(true);
    printer.PrintXY(kLeft, y,
                    FormShortName(job.Form) + QStringLiteral(": passwords of the "
                                                             "recipients' files"));
    printer.SetFont(QStringLiteral("Arial"), 9);
    y += 0.3;
    printer.PrintXY(kLeft, y,
                    QStringLiteral("Send each recipient the password by another way "
                                   "than the file (by post or by telephone), and "
                                   "keep this list apart from the files."));
    y += 0.4;
  };
  heading();
  for (const TRecipientFile& f : plan) {
    if (!f.Protected()) continue;
    if (y + 2 * kLine > kBottom) {
      printer.NewPage();
      y = kTop;
      heading();
    }
    printer.SetFont(QStringLiteral("Arial"), 10);
    printer.SetBold(true);
    printer.PrintXY(kLeft, y, f.Recipient);
    printer.SetBold(false);
    printer.PrintXY(kLeft + 3.5, y, QFileInfo(f.FileName).fileName());
    y += kLine;
    printer.SetFont(QStringLiteral("Courier New"), 11);
    printer.PrintXY(kLeft + 0.25, y, QStringLiteral("Password: ") + f.Password);
    y += kLine * 1.5;
  }
  printer.EndDoc();
  return printer.TakeJob();
}

void WritePasswordList(const TRecipientFilesJob& job, const QList<TRecipientFile>& plan) {
  WriteNamedFile(PasswordListCsv(job.Folder), PasswordCsv(plan));
  const QString pdf = PasswordListPdf(job.Folder);
  WriteNamedFile(pdf, PdfBytes(PasswordPages(job, plan), pdf));
}

QString NewPassword(const TRecipientFilesJob& job, const TFormData& d, QSet<QString>& used) {
  switch (job.Password) {
    case TPasswordSource::Random: {
      QString password;
      do password = RandomPassphrase();
      while (used.contains(password));
      used.insert(password);
      return password;
    }
    case TPasswordSource::OwnList:
      return job.OwnPasswords.value(TinDigits(PayeeString(d, "SSN_IDNum")));
    default:
      return RecipientPassword(d, job.Password);
  }
}
}  // namespace

bool PasswordSourceByName(const QString& name, TPasswordSource& source) {
  if (name == QLatin1String("tin-last4"))
    source = TPasswordSource::TinLast4;
  else if (name == QLatin1String("zip"))
    source = TPasswordSource::Zip;
  else if (name == QLatin1String("random"))
    source = TPasswordSource::Random;
  else if (name == QLatin1String("none"))
    source = TPasswordSource::None;
  else
    return false;
  return true;
}

QString PasswordStrengthText(TPasswordSource source) {
  switch (source) {
    case TPasswordSource::TinLast4:
      return QStringLiteral(
          "The last four digits of the TIN are one of 10,000 numbers: anyone who gets the file "
          "can try them all within minutes.");
    case TPasswordSource::Zip:
      return QStringLiteral(
          "A ZIP code is one of at most 100,000 numbers, and it is printed on the envelope: "
          "anyone who gets the file can find it or try them all.");
    case TPasswordSource::Random:
      return QStringLiteral(
          "Each recipient gets a random passphrase of 16 letters and digits (about 79 bits), "
          "listed in passwords.csv and passwords.pdf beside the files; send each recipient "
          "the password by another way than the file.");
    case TPasswordSource::OwnList:
      return QStringLiteral("Each recipient's password comes from your list, matched by TIN.");
    case TPasswordSource::None:
      break;
  }
  return QStringLiteral("The files are not protected: anyone who gets one can read it.");
}

QString RecipientPassword(const TFormData& d, TPasswordSource source) {
  if (source == TPasswordSource::TinLast4) {
    const QString tin = TinDigits(PayeeString(d, "SSN_IDNum"));
    return tin.size() == 9 ? tin.right(4) : QString();
  }
  if (source == TPasswordSource::Zip) {
    // Only a US ZIP code: five digits, optionally followed by "-" and four more.
    const QString zip = PayeeString(d, "ZipCode").trimmed();
    QString digits = zip;
    digits.remove(QLatin1Char('-'));
    const bool allDigits =
        std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c.isDigit(); });
    const bool valid =
        allDigits && ((zip.size() == 5 && digits.size() == 5) ||
                      (zip.size() == 10 && digits.size() == 9 && zip[5] == QLatin1Char('-')));
    return valid ? digits.left(5) : QString();
  }
  return {};
}

QString RandomPassphrase() {
  // No 0/o, 1/l/i: a passphrase read out on the telephone or copied from paper stays right.
  static const char kChars[] = "abcdefghjkmnpqrstuvwxyz23456789";
  QString out;
  for (int group = 0; group < 4; ++group) {
    if (group > 0) out.append(QLatin1Char('-'));
    for (int i = 0; i < 4; ++i)
      out.append(
          QLatin1Char(kChars[QRandomGenerator::system()->bounded(quint32(sizeof kChars - 1))]));
  }
  return out;
}

QString RecipientFileName(const TFormDef& form, const TFormData& d) {
  return SafeFileName(FormShortName(form) + QLatin1Char(' ') +
                      PayeeString(d, "PayeeName").trimmed()) +
         QStringLiteral(".pdf");
}

QString PasswordListCsv(const QString& folder) {
  return QDir(folder).filePath(QStringLiteral("passwords.csv"));
}

QString PasswordListPdf(const QString& folder) {
  return QDir(folder).filePath(QStringLiteral("passwords.pdf"));
}

QList<TRecipientFile> PlanRecipientFiles(const TRecipientFilesJob& job) {
  QList<TRecipientFile> plan;
  QSet<QString> usedNames, usedPasswords;
  ForEachFormPayee(
      job.Form, [] {},
      [&] {
        const TFormData d = CurrentFormData();
        TRecipientFile file;
        file.FileName =
            QDir(job.Folder).filePath(UniqueName(RecipientFileName(job.Form, d), usedNames));
        file.Recipient = PayeeString(d, "PayeeName").trimmed();
        file.Tin = PayeeString(d, "SSN_IDNum").trimmed();
        file.Password = NewPassword(job, d, usedPasswords);
        file.NoPassword = job.Password != TPasswordSource::None && file.Password.isEmpty();
        plan.append(file);
      },
      job.Selection);
  return plan;
}

QList<TRecipientFile> WriteRecipientFiles(const TRecipientFilesJob& job,
                                          QList<TRecipientFile> plan) {
  if (!MakePrivateFolder(job.Folder))
    throw EReportException(QStringLiteral("Cannot create the folder \"%1\".").arg(job.Folder));
  // The list comes first: a file is never there without its password on record.
  if (job.Password == TPasswordSource::Random) WritePasswordList(job, plan);
  TReportProject project;
  project.SetProjectFile(job.ProjectFile);
  std::optional<TRecipientPrint> print;
  TWriterPool pool;
  int next = 0, done = 0;
  bool stopped = false;
  auto start = [&] { print.emplace(StartRecipientPrint(job.Form, project, job.Copies)); };
  auto each = [&] {
    if (stopped || next >= plan.size() || (job.Progress && !job.Progress(done, int(plan.size())))) {
      stopped = true;
      return;
    }
    TRecipientFile& file = plan[next++];
    if (file.NoPassword && !job.AllowUnprotected) return;
    const QByteArray pdf = PdfBytes(RecipientJob(*print, job.Model), file.FileName);
    pool.Add([target = file.FileName, pdf, password = file.Password] {
      WriteOneFile(target, pdf, password);
    });
    file.Written = true;
    ++done;
  };
  ForEachFormPayee(job.Form, start, each, job.Selection);
  pool.Finish();
  if (stopped) return plan.mid(0, next);
  if (job.Progress) job.Progress(done, int(plan.size()));
  return plan;
}

QList<TRecipientFile> WriteRecipientFiles(const TRecipientFilesJob& job) {
  return WriteRecipientFiles(job, PlanRecipientFiles(job));
}

QString RecipientFileLine(const TRecipientFile& file) {
  const QString name = QFileInfo(file.FileName).fileName();
  if (!file.Written) return name + QStringLiteral(" (not written: no password for this recipient)");
  if (file.NoPassword)
    return name + QStringLiteral(" (not protected: no password for this recipient)");
  return file.Protected() ? name + QStringLiteral(" (protected)") : name;
}
