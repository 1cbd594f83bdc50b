#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <cstring>
#include <set>

#include "ShellFixture.h"
#include "core/Utils.h"
#include "maintenance/PasswordDialog.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "shell/FrmTransfer.h"
#include "shell/FrmWelcome.h"
#include "shell/Transfer.h"
#include "storage/Globals.h"
#include "storage/Password.h"
#include "storage/RecordModel.h"

namespace {
// A text of characters a screen stores: the code page's printable ones.
QByteArray PrintableText(QRandomGenerator& random, int length) {
  QByteArray text;
  for (int i = 0; i < length; ++i) {
    const int c = 0x21 + random.bounded(0x7E - 0x21 + 0x60);  // 0x21..0x7E, then 0xA0..0xFF
    text += static_cast<char>(c <= 0x7E ? c : c - 0x7F + 0xA0);
  }
  return text;
}

QByteArray Digits(QRandomGenerator& random, const char* shape) {
  QByteArray text(shape);
  for (char& c : text)
    if (c == 'N') c = static_cast<char>('0' + random.bounded(10));
  return text;
}

// What last year's screens stored in a text field, by its name; free texts sometimes longer than
// the field, as a damaged length byte would make them.
QByteArray ScreenText(const char* name, int width, QRandomGenerator& random) {
  const QByteArray n(name);
  const char* states[] = {"NY", "CA", "TX", "GU", "WY"};
  if (n == "State" || n.startsWith("StateName")) return states[random.bounded(5)];
  if (n == "ZipCode") return Digits(random, random.bounded(2) ? "NNNNN" : "NNNNN-NNNN");
  if (n == "SSN_IDNum") return Digits(random, random.bounded(2) ? "NNN-NN-NNNN" : "NN-NNNNNNN");
  if (n == "PhoneNum" || n == "FaxNum") return Digits(random, "NNN-NNN-NNNN");
  if (n == "EmpIDNum") return Digits(random, "NN-NNNNNNN");
  if (n == "SocSecNum") return Digits(random, "NNN-NN-NNNN");
  if (n.startsWith("StateID") || n == "RTN") return Digits(random, QByteArray(width, 'N'));
  if (n.startsWith("AcctNum")) return Digits(random, "NNNN-NNNN");
  return PrintableText(random, 1 + random.bounded(width + 2));
}

void PutText(QByteArray& bytes, const TFieldDef& f, const QByteArray& text) {
  bytes[f.Offset] = static_cast<char>(text.size());
  std::memcpy(bytes.data() + f.Offset + 1, text.constData(),
              static_cast<size_t>(std::min<qsizetype>(text.size(), f.Width)));
}

QByteArray TextOf(const QByteArray& bytes, const TRecordLayout& layout, const char* name) {
  const TFieldDef& f = *layout.Field(name);
  return bytes.mid(f.Offset + 1, std::min<int>(quint8(bytes[f.Offset]), f.Width));
}

// Last year's record as its screens wrote it, over bytes with no zeros (so a byte the transfer
// should have left empty cannot pass as copied): every text of a carried field what a screen
// stores, and the fields made from others made from them (every flag is set, so every payee is
// an individual).
QByteArray PriorRecord(const TRecordLayout& layout, quint32 seed) {
  QRandomGenerator random(seed);
  QByteArray bytes(layout.Size(), '\0');
  for (char& b : bytes) b = static_cast<char>(1 + random.bounded(255));
  for (const TFieldDef& f : layout.Fields())
    if (f.Kind == TFieldKind::String && QByteArray(f.Name) != "FilePassword")
      PutText(bytes, f, ScreenText(f.Name, f.Width, random));
  const TFieldDef& line = *layout.Field("CityStZip");
  PutText(bytes, line,
          (TextOf(bytes, layout, "City") + ' ' + TextOf(bytes, layout, "State") + ' ' +
           TextOf(bytes, layout, "ZipCode"))
              .left(line.Width));
  if (layout.Find(std::string_view("LastName"))) {
    const TFieldDef& name = *layout.Field("PayeeName");
    PutText(bytes, name,
            (TextOf(bytes, layout, "FirstName") + ' ' + TextOf(bytes, layout, "LastName"))
                .left(name.Width));
  }
  return bytes;
}

// The fields a transfer carries over, written down here independently of the program's tables.
constexpr const char* kCarriedPayer[] = {
    "PayerName",  "TradeName",    "Address1",   "Address2",    "City",
    "State",      "ZipCode",      "CityStZip",  "Contact",     "PhoneNum",
    "FaxNum",     "Email",        "EmpIDNum",   "SocSecNum",   "StateName1",
    "StateName2", "StateID1",     "StateID2",   "Locality1",   "Locality2",
    "RTN",        "FilePassword", "SignerName", "SignerTitle", "SignerPresent"};
constexpr const char* kCarriedPayee[] = {"Individual",
                                         "PayeeName",
                                         "LastName",
                                         "FirstName",
                                         "CompName",
                                         "Address1",
                                         "City",
                                         "State",
                                         "ZipCode",
                                         "CityStZip",
                                         "SSN_IDNum",
                                         "AcctNum1098",
                                         "AcctNum1099DIV",
                                         "AcctNum1099INT",
                                         "AcctNum1099MISC",
                                         "AcctNum1099NEC",
                                         "AcctNum1099R",
                                         "AcctNum1099S",
                                         "SecTINnot1099DIV",
                                         "SecTINnot1099INT",
                                         "SecTINnot1099MISC",
                                         "SecTINnot1099NEC",
                                         "FATCA1099DIV",
                                         "FATCA1099INT",
                                         "FATCA1099MISC",
                                         "FATCA1099R"};
// The spare byte between the FATCA flags travels with them.
constexpr int kSpareFlagByte = 437;

const uint8_t* Bytes(const QByteArray& a) {
  return reinterpret_cast<const uint8_t*>(a.constData());
}

bool Transferred(std::span<const char* const> names, const char* name) {
  for (const char* n : names)
    if (std::strcmp(n, name) == 0) return true;
  return false;
}

// The bytes a carried field must hold in the new record: its raw bytes, or for a text its length
// (clamped to the width) and exactly that many characters followed by zeros.
QByteArray Expected(const uint8_t* prior, const TFieldDef& f) {
  if (f.Kind != TFieldKind::String)
    return QByteArray(reinterpret_cast<const char*>(prior + f.Offset), FieldSize(f));
  const int length = std::min<int>(prior[f.Offset], f.Width);
  QByteArray out(f.Width + 1, '\0');
  out[0] = static_cast<char>(length);
  std::memcpy(out.data() + 1, prior + f.Offset + 1, length);
  return out;
}

// Checks a new record against its prior-year bytes, byte by byte: carried fields as Expected,
// every other byte zero, apart from the bytes the caller names (recNo, flags it sets). The
// carried fields are located in this year's layout: the common part did not move.
void ExpectCarried(const uint8_t* prior, const TRecordLayout& layout,
                   std::span<const char* const> names, const uint8_t* record, int size,
                   std::set<int> alsoSet = {}) {
  std::vector<bool> covered(size, false);
  for (const TFieldDef& f : layout.Fields()) {
    if (!Transferred(names, f.Name)) continue;
    const QByteArray want = Expected(prior, f);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(record + f.Offset), want.size()), want)
        << f.Name;
    for (int i = 0; i < want.size(); ++i) covered[f.Offset + i] = true;
  }
  if (size == 1536) {
    EXPECT_EQ(record[kSpareFlagByte], prior[kSpareFlagByte]);
    covered[kSpareFlagByte] = true;
  }
  for (int i = 0; i < size; ++i)
    if (!covered[i] && !alsoSet.count(i)) {
      EXPECT_EQ(record[i], 0) << "byte " << i;
    }
}

void WritePriorFile(const QString& base, int payees, quint32 seed, int tailBytes = 0) {
  QByteArray payer = PriorRecord(PriorPayerLayout(), seed);
  WriteAll(base + ".PR24", payer);
  QByteArray payee;
  for (int r = 0; r < payees; ++r) payee += PriorRecord(PriorPayeeLayout(), seed * 100 + r);
  payee += QByteArray(tailBytes, '\x7f');
  WriteAll(base + ".PE24", payee);
}
}  // namespace

TEST(TransferRecords, PriorPayeeLayoutSharesTheCommonPartWithThisYears) {
  EXPECT_EQ(PriorPayeeLayout().Size(), 1528);
  EXPECT_EQ(PriorPayerLayout().Size(), 448);
  int covered = 0;
  for (const TFieldDef& f : PriorPayeeLayout().Fields()) {
    covered += FieldSize(f);
    if (f.Offset >= 440) continue;
    if (const TFieldHandle now = PayeeLayout().Find(std::string_view(f.Name))) {
      EXPECT_EQ(now->Offset, f.Offset) << f.Name;
      EXPECT_EQ(now->Kind, f.Kind) << f.Name;
      EXPECT_EQ(now->Width, f.Width) << f.Name;
    }
  }
  EXPECT_EQ(covered, 1528);  // the table describes every byte once
  for (const char* name : TransferredPayeeFields())
    EXPECT_NE(PriorPayeeLayout().Find(std::string_view(name)), nullptr) << name;
}

TEST(TransferRecords, PayeeKeepsNamesNumbersAndFlagsWithEveryAmountEmpty) {
  for (quint32 seed : {1u, 2u, 3u}) {
    const QByteArray prior = PriorRecord(PriorPayeeLayout(), seed);
    const TPayeeRecord record = TransferPayeeRecord(Bytes(prior), 41);
    EXPECT_EQ(record.GetInt("TransferRecNo"), 41);
    ExpectCarried(Bytes(prior), PayeeLayout(), kCarriedPayee, record.Data(), 1536, {0, 1, 2, 3});
    for (const TFieldDef& f : PayeeLayout().Fields()) {
      if (f.Kind == TFieldKind::Double) {
        EXPECT_EQ(record.GetDouble(&f), 0.0) << f.Name;
      }
      if (QByteArray(f.Name).startsWith("Corrected")) {
        EXPECT_FALSE(record.GetBool(&f)) << f.Name;
      }
    }
    for (const char* name : {"SecTINnot1099DIV", "SecTINnot1099NEC", "FATCA1099MISC", "FATCA1099R"})
      EXPECT_TRUE(record.GetBool(name)) << name;  // set in the prior bytes, which hold no zeros
  }
}

TEST(TransferRecords, PayerKeepsEveryFieldButTheOpenOnLoadFlag) {
  const QByteArray prior = PriorRecord(PriorPayerLayout(), 7);
  const TPayerRecord record = TransferPayerRecord(Bytes(prior));
  ExpectCarried(Bytes(prior), PayerLayout(), kCarriedPayer, record.Data(), 448);
  EXPECT_FALSE(record.GetBool("OpenPayerOnLoad"));
  EXPECT_TRUE(record.GetBool("SignerPresent"));
  TPayerRecord old;
  std::memcpy(old.Data(), prior.constData(), 448);
  EXPECT_EQ(record.GetString("FilePassword"), old.GetString("FilePassword").left(12));
}

// Last year's values that this year's records may not hold (a damaged text, a ZIP code of four
// digits, an account number in small letters) are left empty and named; the fields made from
// others are made again, and a person's number of bare digits gets the dashes of an SSN.
TEST(TransferRecords, ValuesThisYearCannotHoldAreLeftEmptyAndNamed) {
  TPayeeRecord last;  // last year's common part has this year's layout
  last.SetBool("Individual", true);
  last.SetString("FirstName", QStringLiteral("Ann"));
  last.SetString("LastName", QStringLiteral("Lee"));
  last.SetString("PayeeName", QStringLiteral("Ann Smith"));
  last.SetString("CompName", QStringLiteral("Tab\tCo"));
  last.SetString("City", QStringLiteral("Troy"));
  last.SetString("State", QStringLiteral("NY"));
  last.SetString("ZipCode", QStringLiteral("1218"));
  last.SetString("CityStZip", QStringLiteral("Troy NY 1218"));
  last.SetString("SSN_IDNum", QStringLiteral("212456781"));
  last.SetString("AcctNum1099R", QStringLiteral("acct 1"));
  QByteArray prior(PriorPayeeRecSize, '\0');
  std::memcpy(prior.data(), last.Data(), 440);
  QStringList leftEmpty;
  const TPayeeRecord record = TransferPayeeRecord(Bytes(prior), 1, &leftEmpty);
  EXPECT_EQ(leftEmpty,
            (QStringList{"field CompName \"Tab\tCo\" holds a control character",
                         "field ZipCode \"1218\" is not a ZIP code (NNNNN or NNNNN-NNNN)",
                         "field AcctNum1099R \"acct 1\" holds characters other than capitals, "
                         "digits and hyphens"}));
  EXPECT_EQ(record.GetString("CompName"), "");
  EXPECT_EQ(record.GetString("ZipCode"), "");
  EXPECT_EQ(record.GetString("AcctNum1099R"), "");
  EXPECT_EQ(record.GetString("CityStZip"), "Troy NY ");
  EXPECT_EQ(record.GetString("PayeeName"), "Ann Lee");
  EXPECT_EQ(record.GetString("SSN_IDNum"), "212-45-6781");
  EXPECT_EQ(RecordProblem(PayeeLayout(), record.Data()), std::nullopt);

  TPayerRecord payer;
  payer.SetString("PayerName", QStringLiteral("Acme"));
  payer.SetString("PhoneNum", QStringLiteral("(217)5550100"));
  leftEmpty.clear();
  const TPayerRecord carried = TransferPayerRecord(payer.Data(), &leftEmpty);
  EXPECT_EQ(leftEmpty,
            QStringList{"field PhoneNum \"(217)5550100\" is not of the form NNN-NNN-NNNN"});
  EXPECT_EQ(carried.GetString("PhoneNum"), "");
  EXPECT_EQ(carried.GetString("PayerName"), "Acme");
}

class TransferTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    Start();
    Prior = Dir.Path("prior");
    QDir().mkpath(Prior);
    MsgBoxScript::Clear();
  }

  // The screen after Ok on the prior folder, typed without its delimiter.
  std::unique_ptr<TFrmTransfer> Listed() {
    auto frm = std::make_unique<TFrmTransfer>();
    frm->show();
    frm->Path->setText(Prior);
    frm->BtnOk->click();
    return frm;
  }

  QStringList Items(const TFrmTransfer& frm) const {
    QStringList items;
    for (int i = 0; i < frm.FileListBox->count(); ++i) items << frm.FileListBox->item(i)->text();
    return items;
  }

  void ExpectTransferred(const QString& name, int payees, bool lowerCaseExt = false) {
    const QByteArray oldPayer = ReadAll(Prior + "/" + name + (lowerCaseExt ? ".pr24" : ".PR24"));
    const QByteArray oldPayees = ReadAll(Prior + "/" + name + (lowerCaseExt ? ".pe24" : ".PE24"));
    const QByteArray newPayer = ReadAll(DataFolder + name + ".PR25");
    const QByteArray newPayees = ReadAll(DataFolder + name + ".PE25");
    ASSERT_EQ(newPayer.size(), 448);
    ASSERT_EQ(newPayees.size(), 1536 * payees);
    ExpectCarried(Bytes(oldPayer), PayerLayout(), kCarriedPayer, Bytes(newPayer), 448);
    for (int r = 0; r < payees; ++r) {
      SCOPED_TRACE(r);
      const uint8_t* record = Bytes(newPayees) + r * 1536;
      int32_t recNo = 0;
      std::memcpy(&recNo, record, 4);
      EXPECT_EQ(recNo, r + 1);
      ExpectCarried(Bytes(oldPayees) + r * 1528, PayeeLayout(), kCarriedPayee, record, 1536,
                    {0, 1, 2, 3});
    }
  }

  QString Prior;
};

TEST_F(TransferTest, ScreenStartsInTheFolderState) {
  TFrmTransfer frm;
  frm.show();
  EXPECT_EQ(frm.windowTitle(), "Papyra Transfer Utility");
  EXPECT_EQ(frm.Path->text(), DocumentsFolder + "/Papyra/2024/Data");
  EXPECT_TRUE(frm.ChkNoOverwrite->isChecked());
  EXPECT_FALSE(frm.LblAlreadyTransferred->isVisible());
  for (QWidget* w : std::initializer_list<QWidget*>{frm.FileListBox, frm.BtnSelectAll,
                                                    frm.BtnDeselectAll, frm.BtnTransfer})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_EQ(frm.StatusText(), " 0 files selected");
  EXPECT_EQ(frm.BtnHelp->toolTip(), "Form Help");
  HelpScript::Clear();
  frm.BtnHelp->click();
  EXPECT_EQ(HelpScript::Shown(), QList<int>{20});

  DialogScript::SetNextFileName(Prior);
  frm.BtnBrowse->click();
  EXPECT_EQ(DialogScript::Titles(), QStringList{"Select the location of your 2024 client files"});
  EXPECT_EQ(frm.Path->text(), Prior);
}

TEST_F(TransferTest, OkRefusesABlankPathAndAFolderWithoutPayerFiles) {
  WriteAll(Prior + "/only.PE24", QByteArray(1528, '\0'));
  struct TCase {
    QString path;
    const char* message;
  } cases[] = {{"   ", "Path to 2024 data files is missing."},
               {Prior, "2024 data files not found in specified location."}};
  for (const TCase& c : cases) {
    MsgBoxScript::Clear();
    TFrmTransfer frm;
    frm.show();
    frm.Path->setText(c.path);
    frm.BtnOk->click();
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(MsgBoxScript::LastText(), c.message);
    EXPECT_EQ(MsgBoxScript::Log().first().flags, mbError);
    EXPECT_TRUE(frm.Path->isEnabled());
    EXPECT_TRUE(frm.BtnOk->isEnabled());
    EXPECT_FALSE(frm.FileListBox->isEnabled());
    EXPECT_EQ(frm.FileListBox->count(), 0);
  }
}

TEST_F(TransferTest, SelectionRulesAndStatusTexts) {
  for (const char* name : {"a", "b", "c"}) WritePriorFile(Prior + "/" + name, 1, 1);
  auto frm = Listed();
  EXPECT_EQ(frm->Path->text(), Prior + "/");
  for (QWidget* w : std::initializer_list<QWidget*>{frm->Path, frm->BtnBrowse, frm->BtnOk})
    EXPECT_FALSE(w->isEnabled());
  EXPECT_TRUE(frm->LblAlreadyTransferred->isVisible());

  struct TStep {
    std::function<void()> act;
    const char* status;
    bool selectAll, deselectAll, transfer;
  };
  const TStep steps[] = {
      {[] {}, " 0 files selected", true, false, false},
      {[&] { frm->FileListBox->item(1)->setSelected(true); }, " 1 file selected", true, true, true},
      {[&] { frm->FileListBox->item(2)->setSelected(true); }, " 2 files selected", true, true,
       true},
      {[&] { frm->BtnSelectAll->click(); }, " 3 files selected", false, true, true},
      {[&] { frm->BtnDeselectAll->click(); }, " 0 files selected", true, false, false},
  };
  for (const TStep& s : steps) {
    SCOPED_TRACE(s.status);
    s.act();
    EXPECT_EQ(frm->StatusText(), s.status);
    EXPECT_EQ(frm->BtnSelectAll->isEnabled(), s.selectAll);
    EXPECT_EQ(frm->BtnDeselectAll->isEnabled(), s.deselectAll);
    EXPECT_EQ(frm->BtnTransfer->isEnabled(), s.transfer);
  }
}

TEST_F(TransferTest, TransfersTheNewFileAndSkipsTheOneAlreadyTransferred) {
  WritePriorFile(Prior + "/Acme", 3, 11, 100);  // a partial record at the end carries no payee
  WritePriorFile(Prior + "/Baker", 2, 12);
  WriteAll(DataFolder + "Baker.PR25", "kept");
  WriteAll(DataFolder + "Baker.PE25", "kept too");

  auto frm = Listed();
  EXPECT_EQ(Items(*frm), (QStringList{"Acme.PR24", "*Baker.PR24"}));
  frm->BtnSelectAll->click();
  frm->BtnTransfer->click();

  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
  EXPECT_EQ(frm->FilesTransferred(), 1);
  EXPECT_EQ(frm->StatusText(), " 2 files selected - 1 file transferred");
  ExpectTransferred("Acme", 3);
  EXPECT_EQ(ReadAll(DataFolder + "Baker.PR25"), "kept");
  EXPECT_EQ(ReadAll(DataFolder + "Baker.PE25"), "kept too");
  // Done: only Exit is left.
  EXPECT_TRUE(frm->BtnCancel->isEnabled());
  EXPECT_EQ(frm->BtnCancel->text(), "E&xit");
  EXPECT_TRUE(frm->BtnCancel->isDefault());
  for (QWidget* w :
       std::initializer_list<QWidget*>{frm->FileListBox, frm->ChkNoOverwrite, frm->BtnSelectAll,
                                       frm->BtnDeselectAll, frm->BtnTransfer})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  EXPECT_TRUE(frm->FileListBox->selectedItems().isEmpty());
  EXPECT_EQ(TFrmMsgWin::Current(), nullptr);
  EXPECT_FALSE(HourglassShown());
  // The prior-year files are only read.
  EXPECT_EQ(QDir(Prior).entryList(QDir::Files).size(), 4);
}

// The screen names every value it left empty, with its file and payee, once the run is done.
TEST_F(TransferTest, ValuesLeftEmptyAreNamedAfterTheRun) {
  WritePriorFile(Prior + "/Acme", 2, 31);
  QByteArray payees = ReadAll(Prior + "/Acme.PE24");
  const TFieldDef& zip = *PayeeLayout().Field("ZipCode");
  payees[1528 + zip.Offset] = 4;
  payees.replace(1528 + zip.Offset + 1, 4, "1218");
  WriteAll(Prior + "/Acme.PE24", payees);
  auto frm = Listed();
  frm->BtnSelectAll->click();
  frm->BtnTransfer->click();
  EXPECT_EQ(frm->FilesTransferred(), 1);
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, mbWarning);
  const QByteArray written = ReadAll(DataFolder + "Acme.PE25");
  ASSERT_EQ(written.size(), 2 * 1536);
  TPayeeRecord second;
  std::memcpy(second.Data(), written.constData() + 1536, 1536);
  EXPECT_EQ(MsgBoxScript::Log()[0].text,
            QStringLiteral("These values of the 2024 files cannot be stored in the 2025 files "
                           "and were left empty; enter them again on the payer and payee "
                           "screens:\n\nAcme.PE24, payee 2 (%1): field ZipCode \"1218\" is not "
                           "a ZIP code (NNNNN or NNNNN-NNNN)")
                .arg(second.GetString("PayeeName")));
  EXPECT_EQ(second.GetString("ZipCode"), "");
}

TEST_F(TransferTest, UncheckingNoOverwriteAsksAndOnlyYesKeepsItUnchecked) {
  const QString warning =
      "                          WARNING!\r\rUnchecking this box will cause the transfer "
      "process\rto  overwrite  any  data file with the same name as\rthe file being "
      "transferred.\r\rThis may result in LOSS OF DATA, are you sure?";
  for (const auto& [answer, staysChecked] : {std::pair{mrNo, true}, std::pair{mrYes, false}}) {
    MsgBoxScript::Clear();
    TFrmTransfer frm;
    MsgBoxScript::SetNextAnswer(answer);
    frm.ChkNoOverwrite->click();
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_EQ(QString(MsgBoxScript::Log().first().text).replace('\n', '\r'), warning);
    EXPECT_EQ(MsgBoxScript::Log().first().flags, mbYesNoWarnDefNo);
    EXPECT_EQ(frm.ChkNoOverwrite->isChecked(), staysChecked);
    if (!staysChecked) {
      frm.ChkNoOverwrite->click();  // checking again asks nothing
      EXPECT_EQ(MsgBoxScript::Log().size(), 1);
      EXPECT_TRUE(frm.ChkNoOverwrite->isChecked());
    }
  }
}

TEST_F(TransferTest, WithOverwriteAllowedTheEarlierTransferIsReplaced) {
  WritePriorFile(Prior + "/Acme", 2, 21);
  WritePriorFile(Prior + "/baker", 1, 22);
  // Written where file names ignore letter case.
  QFile::rename(Prior + "/baker.PR24", Prior + "/baker.pr24");
  QFile::rename(Prior + "/baker.PE24", Prior + "/baker.pe24");
  WriteAll(DataFolder + "Acme.PR25", "old");
  WriteAll(DataFolder + "Acme.PE25", QByteArray(5 * 1536, '\x01'));
  auto frm = Listed();
  MsgBoxScript::SetNextAnswer(mrYes);
  frm->ChkNoOverwrite->click();
  frm->BtnSelectAll->click();
  frm->BtnTransfer->click();
  EXPECT_EQ(frm->StatusText(), " 2 files selected - 2 files transferred");
  ExpectTransferred("Acme", 2);
  ExpectTransferred("baker", 1, true);
}

TEST_F(TransferTest, AnUnreadableFileStopsTheRunAndKeepsWhatWasDone) {
  WritePriorFile(Prior + "/Acme", 1, 31);
  WritePriorFile(Prior + "/Baker", 1, 32);
  WritePriorFile(Prior + "/Cole", 1, 33);
  QFile::remove(Prior + "/Baker.PE24");
  auto frm = Listed();
  frm->BtnSelectAll->click();
  frm->BtnTransfer->click();
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_TRUE(MsgBoxScript::LastText().contains("Baker.PE24"))
      << MsgBoxScript::LastText().toStdString();
  EXPECT_EQ(MsgBoxScript::Log().first().flags, mbError);
  ExpectTransferred("Acme", 1);
  // Nothing half-done for the failed file, nothing after it.
  for (const char* file : {"Baker.PR25", "Baker.PE25", "Cole.PR25", "Cole.PE25"})
    EXPECT_FALSE(QFile::exists(DataFolder + file)) << file;
  EXPECT_EQ(QDir(DataFolder).entryList(QDir::Files).size(), 2);  // no temporary files left
  EXPECT_EQ(frm->StatusText(), " 3 files selected - 1 file transferred");
  EXPECT_TRUE(frm->BtnCancel->isEnabled());
  EXPECT_EQ(TFrmMsgWin::Current(), nullptr);
  EXPECT_FALSE(HourglassShown());
}

TEST_F(TransferTest, AProtectedFileOpensWithItsOldPasswordAfterTheTransfer) {
  TPayerRecord payer;
  payer.SetString("PayerName", "Guarded Inc");
  payer.SetString("FilePassword", ScramblePassword("Abc123xyz"));
  payer.SetBool("OpenPayerOnLoad", true);
  WriteAll(Prior + "/Guarded.PR24", QByteArray(reinterpret_cast<const char*>(payer.Data()), 448));
  QByteArray payee(1528, '\0');
  payee[5] = 4;
  std::memcpy(payee.data() + 6, "Dora", 4);
  payee[1200] = 9;  // last year's amounts are not carried
  WriteAll(Prior + "/Guarded.PE24", payee);

  // Through the Tools menu command, which shows the screen modally.
  Main->SetScreen("Transfer", [] { ShowTransferScreen(); });
  WhenModal([this](QWidget* w) {
    auto* frm = qobject_cast<TFrmTransfer*>(w);
    ASSERT_NE(frm, nullptr);
    frm->Path->setText(Prior);
    frm->BtnOk->click();
    frm->BtnSelectAll->click();
    frm->BtnTransfer->click();
    frm->BtnCancel->click();
  });
  Main->Action("MnuTransfer")->trigger();
  ASSERT_TRUE(QFile::exists(DataFolder + "Guarded.PE25"));

  WhenModal([](QWidget* w) {
    auto* prompt = qobject_cast<TPasswordDlg*>(w);
    ASSERT_NE(prompt, nullptr);
    prompt->Password->setText("Abc123xyz");
    prompt->BtnOk->click();
  });
  PayeeFileName = DataFolder + "Guarded.PE25";
  FrmDataModule->RSPayee->SetFileName(PayeeFileName);
  FrmDataModule->RSPayee->OpenRecSet();
  ASSERT_TRUE(FileIsOpen);
  EXPECT_EQ(PayerRec.GetString("PayerName"), "Guarded Inc");
  EXPECT_FALSE(PayerRec.GetBool("OpenPayerOnLoad"));
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), "Dora");
  EXPECT_EQ(PayeeRec.GetInt("TransferRecNo"), 1);
  EXPECT_EQ(PayeeRec.GetDouble("F1099NEC1"), 0.0);
}
