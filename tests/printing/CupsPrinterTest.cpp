// A real printer instead of a stand-in: a CUPS queue that writes PDF files through cups-pdf
// (scripts/start-cups.sh sets one up). The printer set-up lists it and stores it, and a job
// printed through the stored set-up comes out of it on the chosen paper with its text.
// Machines without such a queue skip.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPageSize>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTest>

#include "TestSupport.h"
#include "engine/ReportPrinter.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"
#include "printing/PrinterSetup.h"
#include "storage/Globals.h"

namespace {
const QString kCheckText = QStringLiteral("PAPYRA CUPS CHECK");
constexpr int kWaitForOutputMs = 30000;

// The first installed printer whose driver is cups-pdf; empty when there is none.
QString CupsPdfPrinter() {
  for (const QPrinterInfo& info : QPrinterInfo::availablePrinters())
    if (info.makeAndModel().contains(QStringLiteral("CUPS-PDF"), Qt::CaseInsensitive))
      return info.printerName();
  return {};
}

// The printer's own name for Letter paper (CUPS drivers name it, "ANSI A" for cups-pdf).
QString LetterPaperName(const QString& printer) {
  for (const QPageSize& size : QPrinterInfo::printerInfo(printer).supportedPageSizes())
    if (size.id() == QPageSize::Letter) return size.name();
  return {};
}

// Where cups-pdf puts the jobs of the user running the tests: its "Out" setting with ${HOME}
// and ${USER} of the password database. The private HOME the tests run with does not count:
// the backend runs outside this process.
QString CupsPdfOutputFolder() {
  const passwd* user = getpwuid(geteuid());
  if (!user) return {};
  QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
  QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
  if (conf.open(QIODevice::ReadOnly | QIODevice::Text)) {
    while (!conf.atEnd()) {
      const QString line = QString::fromLocal8Bit(conf.readLine()).simplified();
      if (line.startsWith(QStringLiteral("Out "))) out = line.mid(4);
    }
  }
  out.replace(QStringLiteral("${HOME}"), QString::fromLocal8Bit(user->pw_dir));
  out.replace(QStringLiteral("${USER}"), QString::fromLocal8Bit(user->pw_name));
  return out;
}

QSet<QString> PdfFilesIn(const QString& folder) {
  const QStringList names = QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
  return {names.begin(), names.end()};
}

// What a poppler tool prints about a PDF, or empty when it cannot read it (yet).
QString Poppler(const QString& tool, const QStringList& args) {
  QProcess run;
  run.start(tool, args);
  if (!run.waitForFinished(10000) || run.exitCode() != 0) return {};
  return QString::fromUtf8(run.readAllStandardOutput());
}

QString PdfInfoField(const QString& info, const QString& field) {
  const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(field),
                                QRegularExpression::MultilineOption);
  return line.match(info).captured(1).trimmed();
}

// cups-pdf takes a job through PostScript, where the fonts Qt embeds lose their map back to
// Unicode: pdftotext then reads each glyph under the code the conversion gave it, in order of
// first use, so "PAPYRA" may read "✁✂✁✄☎✂". True when found spells expected up to such a
// one-to-one exchange of characters: the same words, the same lengths, the same letters
// repeated in the same places. The plain text is the case where every character is itself.
bool SameTextUpToGlyphCodes(const QString& expected, const QString& found) {
  const QStringList want = expected.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  const QStringList got = found.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (want.size() != got.size()) return false;
  QHash<char32_t, char32_t> forward, backward;
  for (qsizetype w = 0; w < want.size(); ++w) {
    const QList<uint> a = want[w].toUcs4(), b = got[w].toUcs4();
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
      if (forward.value(a[i], b[i]) != b[i] || backward.value(b[i], a[i]) != a[i]) return false;
      forward[a[i]] = b[i];
      backward[b[i]] = a[i];
    }
  }
  return true;
}

bool AnyLineSpells(const QString& text, const QString& expected) {
  for (const QString& line : text.split(QLatin1Char('\n')))
    if (SameTextUpToGlyphCodes(expected, line)) return true;
  return false;
}

// Every message box shown so far, for a failure's explanation.
std::string ShownMessages() {
  QStringList texts;
  for (const MsgBoxScript::Shown& shown : MsgBoxScript::Log()) texts.append(shown.text);
  return texts.join(QLatin1Char('\n')).toStdString();
}
}  // namespace

// The comparison itself, since the job test cannot tell a lax one from a strict one.
TEST(GlyphCodeText, OneToOneExchangesMatchAndNothingElse) {
  struct Case {
    const char* found;
    bool same;
  };
  const Case cases[] = {
      {"PAPYRA CUPS CHECK", true},                                     // the text itself
      {"\u2701\u2702\u2701\u2704\u2705\u2702 ab\u2701c aefag", true},  // exchanged glyphs
      {"  PAPYRA   CUPS CHECK  ", true},                               // spacing of the layout
      {"PAPYRA CUPS", false},                                          // a word missing
      {"PAPYRA CUPS CHECKS", false},                                   // a word longer
      {"PAPARA CUPS CHECK", false},                                    // two letters read as one
      {"ABCDEF GHIJ KLMNO", false},                                    // repeats lost
      {"CUPS PAPYRA CHECK", false},                                    // words exchanged
      {"", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SameTextUpToGlyphCodes(kCheckText, QString::fromUtf8(c.found)), c.same) << c.found;
}

namespace {
class CupsPrinterTest : public testing::Test {
 protected:
  void SetUp() override {
    Queue = CupsPdfPrinter();
    if (Queue.isEmpty())
      GTEST_SKIP() << "no cups-pdf printer is installed or cupsd is not running "
                      "(scripts/start-cups.sh sets one up when run as root)";
    RegistryRoot = QStringLiteral("Software\\PapyraTest\\2025\\");
    SetPrinterTarget(nullptr);  // the machine's own printers
    TRegistry().DeleteKey(PrinterSetupKey());
    MsgBoxScript::Clear();
  }
  void TearDown() override {
    for (const QString& file : Produced) QFile::remove(file);
    TRegistry().DeleteKey(PrinterSetupKey());
  }

  // Picks the queue and the paper in the printer set-up dialog and stores them with "&Ok", as
  // a user would.
  void StoreThroughTheDialog(const QString& paper) {
    TFrmPrinterSetupDlg dlg;
    auto* printers = dlg.findChild<QComboBox*>(QStringLiteral("PrinterName"));
    ASSERT_NE(printers, nullptr);
    const int index = printers->findText(Queue);
    ASSERT_GE(index, 0) << Queue.toStdString() << " is not in the printer list";
    printers->setCurrentIndex(index);
    emit printers->activated(index);
    auto* papers = dlg.findChild<QComboBox*>(QStringLiteral("PaperName"));
    auto* bins = dlg.findChild<QComboBox*>(QStringLiteral("BinName"));
    papers->setCurrentIndex(papers->findText(paper));
    ASSERT_GE(papers->currentIndex(), 0) << paper.toStdString() << " is not offered";
    ASSERT_GT(bins->count(), 0) << "the queue offers no paper source";
    bins->setCurrentIndex(0);
    dlg.findChild<QPushButton*>(QStringLiteral("BtnOk"))->click();
    ASSERT_EQ(dlg.result(), QDialog::Accepted) << ShownMessages();
  }

  // Waits until a new, complete PDF with the job's title turns up in the cups-pdf folder and
  // returns its pdfinfo; every such file is remembered for clean-up.
  QString WaitForOutput(const QString& folder, const QSet<QString>& before, const QString& title) {
    QElapsedTimer clock;
    clock.start();
    QString result;
    while (result.isEmpty() && clock.elapsed() < kWaitForOutputMs) {
      QTest::qWait(250);
      for (const QString& name : PdfFilesIn(folder) - before) {
        const QString path = QDir(folder).filePath(name);
        const QString info = Poppler(QStringLiteral("pdfinfo"), {path});
        // cups-pdf writes the title as a PostScript string, brackets included.
        const QString found = PdfInfoField(info, QStringLiteral("Title"));
        if (found != title && found != QLatin1Char('(') + title + QLatin1Char(')')) continue;
        if (!Produced.contains(path)) Produced.append(path);
        if (result.isEmpty()) result = info;
      }
    }
    return result;
  }

  QString Queue;
  QStringList Produced;
};
}  // namespace

TEST_F(CupsPrinterTest, PrinterSetUpListsTheQueueAndStoresIt) {
  TFrmPrinterSetupDlg dlg;
  auto* printers = dlg.findChild<QComboBox*>(QStringLiteral("PrinterName"));
  ASSERT_NE(printers, nullptr);
  QStringList listed;
  for (int i = 0; i < printers->count(); ++i) listed.append(printers->itemText(i));
  EXPECT_EQ(listed, QPrinterInfo::availablePrinterNames());
  EXPECT_TRUE(listed.contains(Queue));
  EXPECT_EQ(printers->currentIndex(), -1);  // nothing stored yet

  const QString letter = LetterPaperName(Queue);
  ASSERT_FALSE(letter.isEmpty()) << "the queue has no Letter paper";
  StoreThroughTheDialog(letter);
  ReadPrinterSetup(PrinterSetupRecord);
  EXPECT_EQ(PrinterSetupRecord.PrinterName, Queue);
  EXPECT_EQ(PrinterSetupRecord.PaperName, letter);
  // The next showing finds the stored queue and paper again.
  TFrmPrinterSetupDlg again;
  EXPECT_EQ(again.findChild<QComboBox*>(QStringLiteral("PrinterName"))->currentText(), Queue);
  EXPECT_EQ(again.findChild<QComboBox*>(QStringLiteral("PaperName"))->currentText(), letter);
}

TEST_F(CupsPrinterTest, AJobThroughTheStoredSetUpComesOutOfThePrinter) {
  for (const char* tool : {"pdfinfo", "pdftotext"})
    if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
      GTEST_SKIP() << tool << " (poppler-utils) is needed to read the printed PDF";
  const QString folder = CupsPdfOutputFolder();
  ASSERT_FALSE(folder.isEmpty());
  // cups-pdf makes its folder but not the home above it (system users often have none).
  if (!QFileInfo(folder).dir().exists())
    GTEST_SKIP() << "cups-pdf would write into " << folder.toStdString()
                 << ", whose parent folder does not exist";
  // The queue's own default is A4 on most machines: Letter shows that the stored paper counts.
  const QString letter = LetterPaperName(Queue);
  ASSERT_FALSE(letter.isEmpty()) << "the queue has no Letter paper";
  StoreThroughTheDialog(letter);

  // The job's title carries this run, so an older file or another job is never taken for ours.
  const QString title = QStringLiteral("Papyra CUPS check %1-%2")
                            .arg(QCoreApplication::applicationPid())
                            .arg(QDateTime::currentMSecsSinceEpoch());
  const QSet<QString> before = PdfFilesIn(folder);
  TReportPrinter printer;
  printer.ShowStatus = false;
  printer.SetTitle(title);
  printer.OnBeforePrint = [](TPagePrinter& p) { SetPrinterSetup(p); };
  printer.OnPrint = [](TPagePrinter& p) {
    p.SetFont(QStringLiteral("Courier New"), 12);
    // The first glyph of a job may come back as a blank (see SameTextUpToGlyphCodes); a
    // lower-case heading takes that place so the check line keeps all its letters.
    p.PrintXY(1.0, 0.75, QStringLiteral("test page"));
    p.PrintXY(1.0, 1.0, kCheckText);
  };
  ASSERT_TRUE(printer.Execute()) << ShownMessages();
  EXPECT_EQ(printer.PrinterName(), Queue);
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty()) << ShownMessages();

  const QString info = WaitForOutput(folder, before, title);
  ASSERT_FALSE(info.isEmpty()) << "no PDF titled \"" << title.toStdString() << "\" appeared in "
                               << folder.toStdString() << " within " << kWaitForOutputMs / 1000
                               << " s";
  EXPECT_EQ(PdfInfoField(info, QStringLiteral("Pages")), "1");
  EXPECT_TRUE(PdfInfoField(info, QStringLiteral("Page size")).startsWith("612 x 792"))
      << info.toStdString();
  const QString text = Poppler(QStringLiteral("pdftotext"),
                               {QStringLiteral("-layout"), Produced.value(0), QStringLiteral("-")});
  EXPECT_TRUE(AnyLineSpells(text, kCheckText)) << text.toStdString();
}
