// The PDF writer: pages through poppler's own tools (text, positions, page count, fonts), the
// shared face of a form job, streaming from the page printer and the fall-back for other fonts.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>

#include "EngineTestSupport.h"
#include "TestSupport.h"
#include "engine/PagePrinter.h"
#include "engine/PdfWriter.h"
#include "engine/Render.h"
#include "platform/Exceptions.h"

namespace {
const TFontSpec kCourier{QStringLiteral("Courier New"), 10, 0, clBlack};
const TFontSpec kArial{QStringLiteral("Arial"), 7, 0, clBlack};

// A form job: the same boxes and captions on every page, and each page's own payee and amount
// (right-aligned at 4.0 inches). The last page lacks one caption, so it cannot use the face.
TReportJob FormJob(int pages) {
  TReportJob job;
  job.Title = QStringLiteral("Form 1099-NEC");
  for (int p = 1; p <= pages; ++p) {
    TPage page;
    for (int box = 0; box < 10; ++box) {
      const double top = 1.0 + box * 0.5;
      page.Items.append(TDisplayItem::MakeRect(0.5, top, 4.5, top + 0.5, 0.01, true, false));
      if (p < pages || box > 0)
        page.Items.append(
            TDisplayItem::MakeText(0.55, top + 0.12, QStringLiteral("Caption%1").arg(box), kArial));
    }
    page.Items.append(TDisplayItem::MakeText(0.6, 1.4, QStringLiteral("Payee%1").arg(p), kCourier));
    page.Items.append(TDisplayItem::MakeText(4.0, 1.9, QStringLiteral("%1.00").arg(p * 111),
                                             kCourier, TAlign::Right));
    job.Pages.append(page);
  }
  return job;
}

QList<TPdfWord> WordsOn(const QList<TPdfWord>& words, int page) {
  QList<TPdfWord> on;
  for (const TPdfWord& w : words)
    if (w.Page == page) on.append(w);
  return on;
}

const TPdfWord* Find(const QList<TPdfWord>& words, const QString& text) {
  for (const TPdfWord& w : words)
    if (w.Text == text) return &w;
  return nullptr;
}

QString RunTool(const QString& tool, const QStringList& args) {
  QProcess p;
  p.start(tool, args);
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}
}  // namespace

TEST(PdfWriter, EveryPageShowsItsFaceAndItsOwnDataWithTheFaceStoredOnce) {
  if (!HaveTool(QStringLiteral("pdftotext"))) GTEST_SKIP() << "pdftotext is not installed";
  TTempFolder tmp;
  const QString pdf = tmp.Path(QStringLiteral("forms.pdf"));
  WritePdf(FormJob(5), pdf);
  const QList<TPdfWord> words = PdfWords(pdf);
  for (int p = 1; p <= 5; ++p) {
    SCOPED_TRACE(p);
    const QList<TPdfWord> on = WordsOn(words, p);
    for (int box = p < 5 ? 0 : 1; box < 10; ++box)
      EXPECT_TRUE(Find(on, QStringLiteral("Caption%1").arg(box)));
    EXPECT_EQ(Find(on, QStringLiteral("Caption0")) != nullptr, p < 5);
    const TPdfWord* payee = Find(on, QStringLiteral("Payee%1").arg(p));
    ASSERT_TRUE(payee);
    EXPECT_NEAR(payee->XMin, 0.6 * 72, 0.5);
    // The amount ends at its anchor: the writer measures with the font the viewer draws.
    const TPdfWord* amount = Find(on, QStringLiteral("%1.00").arg(p * 111));
    ASSERT_TRUE(amount);
    EXPECT_NEAR(amount->XMax, 4.0 * 72, 0.5);
    EXPECT_EQ(on.size(), (p < 5 ? 10 : 9) + 2);
  }
  const QByteArray bytes = ReadAll(pdf);
  EXPECT_EQ(bytes.count("/Subtype /Form"), 1);
  EXPECT_EQ(bytes.count("/Type /Page "), 5);
  // No font is embedded: the standard fonts in the code page of the payer files.
  EXPECT_FALSE(bytes.contains("/FontFile"));
  EXPECT_TRUE(bytes.contains("/BaseFont /Courier /Encoding /WinAnsiEncoding"));
  EXPECT_TRUE(bytes.contains("/BaseFont /Helvetica /Encoding /WinAnsiEncoding"));
}

// Each copy followed by a page of its instructions, of another layout: the copies share their
// face and the instruction pages theirs, each stored once, and every page shows all it draws.
TEST(PdfWriter, CopiesBetweenPagesOfAnotherLayoutStillShareTheirFace) {
  if (!HaveTool(QStringLiteral("pdftotext"))) GTEST_SKIP() << "pdftotext is not installed";
  TTempFolder tmp;
  const QString pdf = tmp.Path(QStringLiteral("copies.pdf"));
  const TReportJob copies = FormJob(4);
  TReportJob job;
  job.Title = copies.Title;
  for (int c = 0; c < 3; ++c) {
    job.Pages.append(copies.Pages[c]);
    TPage instructions;
    for (int line = 0; line < 12; ++line)
      instructions.Items.append(TDisplayItem::MakeText(0.5, 1.0 + line * 0.3,
                                                       QStringLiteral("Note%1").arg(line), kArial));
    job.Pages.append(instructions);
  }
  WritePdf(job, pdf);
  const QList<TPdfWord> words = PdfWords(pdf);
  for (int p = 1; p <= 6; ++p) {
    SCOPED_TRACE(p);
    const QList<TPdfWord> on = WordsOn(words, p);
    const bool copy = p % 2 == 1;
    EXPECT_EQ(on.size(), 12);
    EXPECT_EQ(Find(on, QStringLiteral("Caption9")) != nullptr, copy);
    EXPECT_EQ(Find(on, QStringLiteral("Payee%1").arg(p / 2 + 1)) != nullptr, copy);
    EXPECT_EQ(Find(on, QStringLiteral("Note11")) != nullptr, !copy);
  }
  const QByteArray bytes = ReadAll(pdf);
  EXPECT_EQ(bytes.count("/Subtype /Form"), 2);
  EXPECT_TRUE(bytes.contains("/Fm1 ") && bytes.contains("/Fm2 "));
}

TEST(PdfWriter, TextsKeepTheirCharactersStylesAndDocumentInformation) {
  if (!HaveTool(QStringLiteral("pdffonts"))) GTEST_SKIP() << "poppler-utils is not installed";
  TTempFolder tmp;
  const QString pdf = tmp.Path(QStringLiteral("text.pdf"));
  TReportJob job;
  job.Title = QString::fromUtf8("Caf\xC3\xA9 (2025)");
  TPage page;
  TFontSpec bold = kArial;
  bold.Style = fsBold | fsItalic;
  page.Items.append(
      TDisplayItem::MakeText(1, 1, QString::fromUtf8("a(b)\\c \xE2\x82\xAC 5"), kCourier));
  page.Items.append(TDisplayItem::MakeText(1, 2, QString::fromUtf8("M\xC3\xBCller"), bold));
  job.Pages = {page};
  TPdfInfo info = DefaultPdfInfo(job);
  info.Subject = QStringLiteral("Copy B");
  WritePdf(job, pdf, info);
  const QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  EXPECT_TRUE(text.contains(QString::fromUtf8("a(b)\\c \xE2\x82\xAC 5"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QString::fromUtf8("M\xC3\xBCller"))) << text.toStdString();
  const QString fonts = RunTool(QStringLiteral("pdffonts"), {pdf});
  EXPECT_TRUE(fonts.contains(QStringLiteral("Helvetica-BoldOblique"))) << fonts.toStdString();
  const QString about = PdfInfo(pdf);
  for (const char* line : {"Title:\\s+Caf\xC3\xA9 \\(2025\\)\\n", "Subject:\\s+Copy B\\n",
                           "Author:\\s+Papyra\\n", "Creator:\\s+Papyra\\n", "Pages:\\s+1\\n"})
    EXPECT_TRUE(about.contains(QRegularExpression(QString::fromUtf8(line)))) << line;
  const QString xmp = RunTool(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), pdf});
  EXPECT_TRUE(xmp.contains(QStringLiteral("<pdf:Producer>Papyra</pdf:Producer>")));
}

TEST(PdfWriter, FontsOutsideTheStandardSetGoThroughQtAndAreEmbedded) {
  TTempFolder tmp;
  const QString pdf = tmp.Path(QStringLiteral("signed.pdf"));
  TReportJob job = FormJob(1);
  job.Pages[0].Items.append(TDisplayItem::MakeText(1, 5, QStringLiteral("Jane Signer"),
                                                   {QStringLiteral("Coronet"), 22, 0, clBlack}));
  EXPECT_FALSE(TPdfWriter::CanDraw(job));
  WritePdf(job, pdf);
  EXPECT_TRUE(ReadAll(pdf).contains("/FontFile"));
  if (HaveTool(QStringLiteral("pdftotext"))) {
    EXPECT_TRUE(Find(PdfWords(pdf), QStringLiteral("Signer")));
  }
}

TEST(PdfWriter, AFailingDeviceIsReportedNotHidden) {
  QFile full(QStringLiteral("/dev/full"));
  if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) GTEST_SKIP() << "no /dev/full";
  TPdfWriter writer(full, QStringLiteral("full.pdf"), DefaultPdfInfo(FormJob(1)), 8.5, 11);
  EXPECT_THROW(
      {
        for (const TPage& page : FormJob(400).Pages) writer.AddPage(page);
        writer.Finish();
      },
      EReportException);
}

// The page printer hands each page over as it is finished and keeps only an empty page.
TEST(PdfWriter, ThePagePrinterStreamsFinishedPagesIntoTheWriter) {
  if (!HaveTool(QStringLiteral("pdftotext"))) GTEST_SKIP() << "pdftotext is not installed";
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  TPdfWriter writer(buffer, QStringLiteral("memory"), TPdfInfo{}, 8.5, 11);
  TPagePrinter printer;
  QList<int> itemsHandedOver;
  printer.SetPageSink([&](const TPage& page) {
    itemsHandedOver.append(int(page.Items.size()));
    EXPECT_EQ(printer.Job().Pages.size(), 1);  // only the page being handed over is held
    writer.AddPage(page);
  });
  printer.BeginDoc();
  for (int p = 1; p <= 3; ++p) {
    if (p > 1) printer.NewPage();
    for (int i = 0; i < p; ++i) printer.PrintXY(1, 1 + i, QStringLiteral("P%1L%2").arg(p).arg(i));
  }
  printer.EndDoc();
  writer.Finish();
  EXPECT_EQ(itemsHandedOver, QList<int>({1, 2, 3}));
  EXPECT_EQ(printer.PageCount(), 3);
  EXPECT_EQ(printer.CurrentPage(), 3);
  ASSERT_EQ(printer.Job().Pages.size(), 1);
  EXPECT_TRUE(printer.Job().Pages[0].Items.isEmpty());
  TTempFolder tmp;
  const QString pdf = tmp.Path(QStringLiteral("streamed.pdf"));
  WriteAll(pdf, buffer.data());
  const QList<TPdfWord> words = PdfWords(pdf);
  ASSERT_EQ(words.size(), 6);
  EXPECT_EQ(words.last().Page, 3);
  EXPECT_EQ(words.last().Text, QStringLiteral("P3L2"));
}
