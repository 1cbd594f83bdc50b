#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "StorageTestSupport.h"
#include "TestSupport.h"
#include "storage/Password.h"
#include "storage/RecordLayout.h"
#include "storage/RecordSet.h"

namespace {
TBatchRun Dump(const QString& path) {
  return RunBatch({"dump", "--format", "text", path});
}
TBatchRun DumpJson(const QString& path) {
  return RunBatch({"dump", path});
}

// Every field of the layout under its own name and in its own type, as the record holds it.
template <typename TRecord>
void ExpectRecordObject(const QJsonValue& value, const TRecord& rec) {
  ASSERT_TRUE(value.isObject());
  const QJsonObject object = value.toObject();
  const auto fields = TRecord::Layout().Fields();
  EXPECT_EQ(object.size(), static_cast<qsizetype>(fields.size()));
  for (const TFieldDef& f : fields) {
    SCOPED_TRACE(f.Name);
    const QJsonValue v = object.value(QLatin1String(f.Name));
    switch (f.Kind) {
      case TFieldKind::String:
        EXPECT_EQ(v.toString("<not text>"), RecordField::GetString(rec.Data(), f));
        break;
      case TFieldKind::Bool:
        ASSERT_TRUE(v.isBool());
        EXPECT_EQ(v.toBool(), RecordField::GetBool(rec.Data(), f));
        break;
      case TFieldKind::Int32:
        ASSERT_TRUE(v.isDouble());
        EXPECT_EQ(v.toInt(), RecordField::GetInt(rec.Data(), f));
        break;
      case TFieldKind::Double:
        ASSERT_TRUE(v.isDouble());
        EXPECT_EQ(v.toDouble(), RecordField::GetDouble(rec.Data(), f));
        break;
      case TFieldKind::Bytes:
        EXPECT_EQ(v.toString(), RecordField::GetBytes(rec.Data(), f).toHex());
        break;
    }
  }
}

template <typename TRecord>
QByteArray Bytes(const TRecord& rec) {
  return QByteArray(reinterpret_cast<const char*>(rec.Data()), TRecord::Size);
}

class BatchDumpTest : public ::testing::Test {
 protected:
  QByteArray TwoPayees() {
    TPayeeRecord& a = A;
    TPayeeRecord& b = B;
    a.SetString("PayeeName", QString::fromUtf8("Jos\u00e9 Baker"));
    a.SetBool("Individual", true);
    a.SetDouble("F1099NEC1", 1500.25);
    a.SetInt("F1098_9", 2);
    b.SetString("PayeeName", "Cole Ltd");
    b.SetString("SSN_IDNum", "12-3456789");
    return Bytes(a) + Bytes(b);
  }
  TTempFolder Temp;
  TPayeeRecord A, B;
};

TEST_F(BatchDumpTest, APayeeFileIsAJsonArrayOfItsRecordsWithEveryLayoutField) {
  const QString path = Temp.Path("Acme.PE25");
  A.SetString("Address1", QString::fromUtf8("Stra\u00dfe 5 \"Hof\"\\2"));
  A.SetDouble("F1099MISC1", -12.5);
  A.SetBool("F1099R7a", true);
  WriteAll(path, TwoPayees() + QByteArray(1536, '\0'));
  const TBatchRun run = DumpJson(path);
  EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_TRUE(run.Err.isEmpty()) << run.Err.toStdString();
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(run.Out.toUtf8(), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  ASSERT_TRUE(doc.isArray());
  const QJsonArray records = doc.array();
  ASSERT_EQ(records.size(), 3);
  ExpectRecordObject(records[0], A);
  ExpectRecordObject(records[1], B);
  ExpectRecordObject(records[2], TPayeeRecord{});
  EXPECT_EQ(records[0]["PayeeName"].toString(), QString::fromUtf8("Jos\u00e9 Baker"));
  EXPECT_EQ(records[0]["F1099NEC1"].toDouble(), 1500.25);
  // The fields come in the record's own order.
  EXPECT_LT(run.Out.indexOf("\"TransferRecNo\""), run.Out.indexOf("\"Individual\""));
  EXPECT_LT(run.Out.indexOf("\"Individual\""), run.Out.indexOf("\"PayeeName\""));
}

TEST_F(BatchDumpTest, APayerFileIsOneJsonObjectAndAnEmptyPayeeFileAnEmptyArray) {
  TPayerRecord payer;
  payer.SetString("PayerName", "Acme");
  payer.SetBool("SignerPresent", true);
  const QString path = Temp.Path("Acme.PR25");
  WriteAll(path, Bytes(payer));
  const TBatchRun run = DumpJson(path);
  EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
  const QJsonDocument doc = QJsonDocument::fromJson(run.Out.toUtf8());
  ASSERT_TRUE(doc.isObject()) << run.Out.toStdString();
  ExpectRecordObject(QJsonValue(doc.object()), payer);

  WriteAll(Temp.Path("Empty.PE25"), {});
  const TBatchRun empty = DumpJson(Temp.Path("Empty.PE25"));
  EXPECT_EQ(empty.Code, 0);
  EXPECT_EQ(empty.Out, "[]\n");
}

TEST_F(BatchDumpTest, ListsEveryPayeeRecordsFilledFields) {
  const QString path = Temp.Path("Acme.PE25");
  WriteAll(path, TwoPayees() + QByteArray(1536, '\0'));
  const TBatchRun run = Dump(path);
  EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Out, QString::fromUtf8("Record 1\n"
                                       "Individual = True\n"
                                       "PayeeName = Jos\u00e9 Baker\n"
                                       "F1098_9 = 2\n"
                                       "F1099NEC1 = 1500.25\n"
                                       "Record 2\n"
                                       "PayeeName = Cole Ltd\n"
                                       "SSN_IDNum = 12-3456789\n"
                                       "Record 3\n"));
}

// A file with a password lists nothing, its SSNs above all, without the password: not through a
// pipe without --password, and not with a wrong one; either file of the pair.
TEST_F(BatchDumpTest, AProtectedFileIsListedOnlyWithItsPassword) {
  TPayerRecord payer;
  payer.SetString("PayerName", "Acme");
  payer.SetString("FilePassword", ScramblePassword("Secret77"));
  WriteAll(Temp.Path("Acme.PR25"), Bytes(payer));
  WriteAll(Temp.Path("Acme.PE25"), TwoPayees());
  const struct {
    QStringList extra;
    int code;
    QString err;
  } cases[] = {
      {{}, 2, "is protected by a file password; give it with --password"},
      {{"--password", "secret77"}, 2, "Incorrect Password"},
      {{"--password", "Secret77"}, 0, ""},
  };
  for (const char* name : {"Acme.PE25", "Acme.PR25"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(name) + " " + c.extra.join(' ').toStdString());
      const TBatchRun run =
          RunBatch(QStringList{"dump", "--format", "text", Temp.Path(name)} + c.extra);
      EXPECT_EQ(run.Code, c.code);
      EXPECT_TRUE(run.Err.contains(c.err)) << run.Err.toStdString();
      EXPECT_EQ(run.Out.contains("Record 1"), c.code == 0);
    }
  }
  EXPECT_TRUE(
      RunBatch({"dump", "--format", "text", Temp.Path("Acme.PE25"), "--password", "Secret77"})
          .Out.contains("SSN_IDNum = 12-3456789"));
}

TEST_F(BatchDumpTest, ListsThePayerRecord) {
  TPayerRecord payer;
  payer.SetString("PayerName", "Acme");
  payer.SetString("PhoneNum", "555-123-4567");
  payer.SetBool("SignerPresent", true);
  const QString path = Temp.Path("Acme.pr25");  // the extension's letter case does not matter
  WriteAll(path, Bytes(payer));
  const TBatchRun run = Dump(path);
  EXPECT_EQ(run.Code, 0);
  EXPECT_EQ(run.Out, "Record 1\nPayerName = Acme\nPhoneNum = 555-123-4567\nSignerPresent = True\n");
}

// A command-line tool says nothing on standard error when all is well, and one line on an error,
// followed by the usage line when the command line was at fault; the toolkit's own start-up
// warnings (a missing runtime folder) are not its messages.
TEST_F(BatchDumpTest, StandardErrorHoldsOnlyTheToolsOwnOneLineMessages) {
  const QString good = Temp.Path("Good.PE25");
  WriteAll(good, TwoPayees());
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  qunsetenv("XDG_RUNTIME_DIR");
  const struct {
    QStringList args;
    int code;
    int errLines;
  } cases[] = {
      {{"dump", good}, 0, 0},
      {{"dump", "--format", "text", good}, 0, 0},
      {{"dump", Temp.Path("Missing.PE25")}, 2, 1},
      {{"dump", "--format", "xml", good}, 2, 2},
      {{"no-such-command"}, 2, 2},
      {{}, 2, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const TBatchRun run = RunBatch(c.args);
    EXPECT_EQ(run.Code, c.code);
    EXPECT_EQ(run.Err.count('\n'), c.errLines) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.isEmpty() || run.Err.endsWith('\n'));
  }
  if (!runtime.isNull()) qputenv("XDG_RUNTIME_DIR", runtime);
}

TEST_F(BatchDumpTest, BadInputEndsWithExitCodeTwoAndAReason) {
  struct Case {
    const char* name;
    QString file;
    QByteArray bytes;  // not written when empty and the file is to be missing
    QString outStart;
    QString errContains;
  };
  const QByteArray payees = TwoPayees();
  const Case cases[] = {
      {"missing", "Missing.PE25", {}, "", "File not found: "},
      {"partial record", "Cut.PE25", payees.left(1536 + 100), "Record 1\n",
       "the file length 1636 is not a multiple of the 1536-byte payee record"},
      {"short payer", "Cut.PR25", QByteArray(100, 'x'), "",
       "the file length 100 is not a multiple of the 448-byte payer record"},
      {"other file type", "notes.txt", QByteArray("hello"), "", "Not a payee (.PE25) or payer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = Temp.Path(c.file);
    if (!c.bytes.isEmpty()) WriteAll(path, c.bytes);
    const TBatchRun run = Dump(path);
    EXPECT_EQ(run.Code, 2);
    EXPECT_EQ(run.Out.left(c.outStart.size()), c.outStart);
    EXPECT_TRUE(run.Err.contains(c.errContains)) << run.Err.toStdString();
  }
  // The whole records before a partial tail are still listed, and only they.
  const TBatchRun cut = Dump(Temp.Path("Cut.PE25"));
  EXPECT_TRUE(cut.Out.contains("PayeeName = Jos"));
  EXPECT_FALSE(cut.Out.contains("Record 2"));
}

TEST_F(BatchDumpTest, ALengthByteBeyondTheWidthReadsOnlyTheWidthAndControlsAreEscaped) {
  QByteArray bytes(1536, '\0');
  bytes[177] = char(200);  // State, width 2
  bytes[178] = 'O';
  bytes[179] = 'H';
  bytes[5] = 3;  // PayeeName "A<tab>B"
  bytes[6] = 'A';
  bytes[7] = '\t';
  bytes[8] = 'B';
  const QString path = Temp.Path("Odd.PE25");
  WriteAll(path, bytes);
  const TBatchRun run = Dump(path);
  EXPECT_EQ(run.Code, 0);
  EXPECT_TRUE(run.Out.contains("State = OH\n"));
  EXPECT_TRUE(run.Out.contains("PayeeName = A\\x09B\n"));
  EXPECT_FALSE(run.Out.contains("ZipCode"));  // the byte after the width is the next field
}

TEST_F(BatchDumpTest, ReadsAFileThatAnotherOpenerHolds) {
  const QString path = Temp.Path("Held.PE25");
  WriteAll(path, TwoPayees());
  TRecordSet holder;
  holder.SetRecSize(1536);
  holder.SetFileName(path);
  holder.SetFileShareMode(smShareDenyWrite);
  holder.OpenRecSet();
  ASSERT_TRUE(holder.Active());
  const TBatchRun run = Dump(path);
  EXPECT_EQ(run.Code, 0);
  EXPECT_TRUE(run.Out.contains("Record 2\nPayeeName = Cole Ltd\n"));
  holder.CloseRecSet();
}
}  // namespace
