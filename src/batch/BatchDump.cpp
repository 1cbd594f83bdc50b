// papyra-batch dump FILE: lists a payee file (".PE25") or payer file (".PR25") as JSON: an
// array of one object per payee record, or the payer record's object; every field under its
// record-layout name, amounts as numbers, flags as booleans, text as Unicode strings. With
// "--format text", one "Record n" line per record and one "name = value" line per field that
// holds something.
//
// A file whose length is not a whole number of records still has its whole records listed, so
// what can be read is not hidden; the trailing partial record is then reported and the command
// fails with exit code 2. A file protected by a password is listed only when the password is
// given (--password, or typed at the prompt on a terminal).
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <cstdio>
#include <optional>
#include <variant>

#include "batch/BatchCommands.h"
#include "core/Utils.h"
#include "storage/DataModule.h"
#include "storage/Password.h"
#include "storage/RecordLayout.h"
#include "storage/RecordModel.h"
#include "storage/RecordSet.h"

namespace {
const char* const kDumpUsage =
    "dump [--format json|text] [--password PASSWORD] FILE.PE25|FILE.PR25";
const TCommandSpec kDumpSpec = {{TOptionSpec::Value(QStringLiteral("--format"))
                                     .OneOf({QStringLiteral("json"), QStringLiteral("text")}),
                                 TOptionSpec::Value(QStringLiteral("--password"))},
                                {QStringLiteral("FILE.PE25|FILE.PR25")}};

const TRecordLayout* LayoutFor(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toUpper();
  if (suffix == QLatin1String("PE25")) return &PayeeLayout();
  if (suffix == QLatin1String("PR25")) return &PayerLayout();
  return nullptr;
}

// Control characters would break the one-line-per-field listing; they are shown as escapes.
QString Printable(const QString& text) {
  QString out;
  for (QChar c : text) {
    if (c.unicode() < 32 || c.unicode() == 127)
      out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    else
      out += c;
  }
  return out;
}

void DumpRecordText(const TRecordLayout& layout, const uint8_t* record, int n, QTextStream& out) {
  out << "Record " << n << "\n";
  for (const TFieldDef& field : layout.Fields()) {
    if (RecordField::IsEmpty(record, field)) continue;
    out << field.Name << " = " << Printable(RecordField::AsText(record, field)) << "\n";
  }
}

// One JSON value as text: QJsonDocument writes only arrays and objects, and its objects sort
// their keys, where the dump keeps the record layout's order.
QString JsonText(const QJsonValue& value) {
  const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Records as they are read, written out at once so a damaged tail still shows what came before;
// an object alone holds exactly one record.
class TJsonDump {
 public:
  TJsonDump(QTextStream& out, bool array) : FOut(out), FArray(array) {
    if (FArray) FOut << "[";
  }
  void Record(const TRecordLayout& layout, const uint8_t* record) {
    const QString indent = FArray ? QStringLiteral("    ") : QStringLiteral("  ");
    FOut << (FArray ? (FCount ? ",\n  {" : "\n  {") : "{");
    bool first = true;
    for (const TFieldDef& field : layout.Fields()) {
      const TFieldValue value = StoredValue(record, field);
      FOut << (first ? "\n" : ",\n") << indent << JsonText(QString::fromLatin1(field.Name)) << ": "
           << JsonText(std::visit([](const auto& v) { return QJsonValue(v); }, value));
      first = false;
    }
    FOut << "\n" << (FArray ? "  }" : "}");
    ++FCount;
  }
  ~TJsonDump() {
    if (FArray) FOut << (FCount ? "\n]" : "]");
    FOut << "\n";
  }

 private:
  QTextStream& FOut;
  bool FArray;
  int FCount = 0;
};

// The file password of the pair the file belongs to; empty when there is none (or no payer
// file to hold one).
QString FilePassword(const QString& path, const TRecordLayout& layout) {
  const QString payerFile = &layout == &PayerLayout() ? path : PayerFileFor(path);
  QFile file(payerFile);
  if (!file.open(QIODevice::ReadOnly)) return {};
  TPayerRecord payer;
  const QByteArray bytes = file.read(TPayerRecord::Size);
  std::copy(bytes.begin(), bytes.end(), reinterpret_cast<char*>(payer.Data()));
  return UnscramblePassword(payer.GetString("FilePassword"));
}

// Asks on the terminal without echoing what is typed.
QString PromptPassword(const QString& path, QTextStream& err) {
  err << "Enter File Password for " << path << ": ";
  err.flush();
  termios saved{};
  const bool terminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
  if (terminal) {
    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  QTextStream in(stdin);
  const QString answer = in.readLine();
  if (terminal) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
  err << "\n";
  return answer;
}

// A file protected by a password lists nothing (its SSNs above all) without it: --password, or
// the prompt when a person is at the terminal.
bool PasswordGiven(const QString& path, const TRecordLayout& layout, const TParsedCommand& args,
                   QTextStream& err) {
  const QString password = FilePassword(path, layout);
  if (IsBlank(password)) {
    if (args.Has(QStringLiteral("--password")))
      err << "Note: " << path << " has no file password; --password is not needed\n";
    return true;
  }
  QString given;
  if (args.Has(QStringLiteral("--password")))
    given = args.Value(QStringLiteral("--password"));
  else if (::isatty(STDIN_FILENO))
    given = PromptPassword(path, err);
  else {
    err << path << " is protected by a file password; give it with --password\n";
    return false;
  }
  if (given == password) return true;
  err << "Incorrect Password\n";
  return false;
}

int Dump(const TParsedCommand& args, QTextStream& out, QTextStream& err) {
  const QString format = args.Value(QStringLiteral("--format"), QStringLiteral("json"));
  const QString path = args.Arguments().first();
  const TRecordLayout* layout = LayoutFor(path);
  if (!layout) {
    err << "Not a payee (.PE25) or payer (.PR25) file: " << path << "\n";
    return 2;
  }
  const QFileInfo info(path);
  if (!info.exists() || !info.isFile()) {
    err << "File not found: " << path << "\n";
    return 2;
  }
  if (!PasswordGiven(path, *layout, args, err)) return 2;
  TRecordSet set;
  set.SetRecSize(layout->Size());
  set.SetFileName(path);
  set.SetFileOpenMode(omOpenRead);
  set.SetFileShareMode(smShareDenyNone);
  set.SetAutoCreate(false);
  set.SetShowOpenMode(false);
  set.SetOpenErrText(QStringLiteral("Unable to open %1").arg(path));
  set.OpenRecSet();
  if (!set.Active()) {
    err << set.OpenErrText() << "\n";
    return 2;
  }
  {
    // A payer file holds its one payer; should it hold more, all of them are shown.
    const bool array = layout == &PayeeLayout() || set.LastRecord() != 1;
    std::optional<TJsonDump> json;
    if (format == QLatin1String("json")) json.emplace(out, array);
    set.OnAfterRead = [&](TRecordSet* s) {
      if (json)
        json->Record(*layout, s->RecordBuffer());
      else
        DumpRecordText(*layout, s->RecordBuffer(), s->CurrentRecord(), out);
    };
    set.RootRec();
    for (int i = 0; i < set.LastRecord(); ++i) set.NextRec();
  }
  const qint64 tail = info.size() % layout->Size();
  set.CloseRecSet();
  if (tail != 0) {
    out.flush();
    err << path << ": the file length " << info.size() << " is not a multiple of the "
        << layout->Size() << "-byte " << layout->Name() << " record; the last " << tail
        << " bytes are not a whole record\n";
    return 2;
  }
  return 0;
}
}  // namespace

PAPYRA_BATCH_COMMAND("dump", kDumpUsage,
                     "Prints every field of the payer record or of each payee record.", kDumpSpec,
                     Dump)
