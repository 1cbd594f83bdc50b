// papyra-batch dump FILE: lists a payee file (".PE25") or payer file (".PR25") record by record,
// one "name = value" line per field that holds something.
//
// A file whose length is not a whole number of records still has its whole records listed, so
// what can be read is not hidden; the trailing partial record is then reported and the command
// fails with exit code 2.
#include <QFileInfo>

#include "batch/BatchCommands.h"
#include "storage/RecordLayout.h"
#include "storage/RecordSet.h"

namespace {
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

void DumpRecord(const TRecordLayout& layout, const uint8_t* record, int n, QTextStream& out) {
  out << "Record " << n << "\n";
  for (const TFieldDef& field : layout.Fields()) {
    if (RecordField::IsEmpty(record, field)) continue;
    out << field.Name << " = " << Printable(RecordField::AsText(record, field)) << "\n";
  }
}

int Dump(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QStringList files = Positional(args);
  if (files.size() != 1) {
    err << "usage: papyra-batch dump FILE.PE25|FILE.PR25\n";
    return 2;
  }
  const QString path = files.first();
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
  TRecordSet set;
  set.SetRecSize(layout->Size());
  set.SetFileName(path);
  set.SetFileOpenMode(omOpenRead);
  set.SetFileShareMode(smShareDenyNone);
  set.SetAutoCreate(false);
  set.SetShowOpenMode(false);
  set.OnAfterRead = [&](TRecordSet* s) {
    DumpRecord(*layout, s->RecordBuffer(), s->CurrentRecord(), out);
  };
  set.OpenRecSet();
  if (!set.Active()) {
    err << "Unable to open " << path << "\n";
    return 2;
  }
  set.RootRec();
  for (int i = 0; i < set.LastRecord(); ++i) set.NextRec();
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

PAPYRA_BATCH_COMMAND("dump", "dump FILE.PE25|FILE.PR25",
                     "Prints every field of the payer record or of each payee record.", Dump)
