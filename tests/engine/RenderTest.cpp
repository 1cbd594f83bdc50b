// Renderers: fonts, the real print path through QPrinter, PDF, HTML and the export formats.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QFontInfo>
#include <QRegularExpression>

#include "EngineTestSupport.h"
#include "TestSupport.h"
#include "engine/Fonts.h"
#include "engine/Render.h"
#include "engine/RenderHtml.h"
#include "engine/ReportPrinter.h"
#include "engine/Snapshot.h"
#include "platform/Exceptions.h"
#include "platform/MsgBox.h"
#include "printing/ReportWindows.h"

TEST(Fonts, WindowsNamesDrawWithTheirMetricCompatibleSubstitutes) {
  RegisterFontSubstitutions();
  struct Case {
    const char* name;
    const char* family;  // the stand-in
    const char* drawn;   // Tahoma is itself where Wine's Tahoma is installed
  };
  for (const Case c : {Case{"Courier New", "Liberation Mono", "Liberation Mono"},
                       Case{"Arial", "Liberation Sans", "Liberation Sans"},
                       Case{"Tahoma", "DejaVu Sans", "Tahoma"}, Case{"Coronet", "Z003", "Z003"}}) {
    EXPECT_EQ(QFont::substitute(QString::fromLatin1(c.name)).toLower(),
              QString::fromLatin1(c.family).toLower());
    // The family may carry its foundry ("Z003 [urw]").
    const QFontInfo info(MakeQFont({QString::fromLatin1(c.name), 12, 0, clBlack}, 12));
    EXPECT_TRUE(info.family().startsWith(QString::fromLatin1(c.drawn)))
        << info.family().toStdString() << ": is the font installed?";
    EXPECT_TRUE(CssFontFamily(QString::fromLatin1(c.name))
                    .startsWith(QStringLiteral("'%1'").arg(QString::fromLatin1(c.family))));
  }
  // Courier New is monospaced at ten characters per inch in 12 points.
  EXPECT_NEAR(TextWidthInches({QStringLiteral("Courier New"), 12, 0, clBlack},
                              QStringLiteral("0123456789")),
              1.0, 0.001);
}

namespace {
// Prints a job through TReportPrinter into a PDF by QPrinter and returns the words found.
QList<TPdfWord> PrintedWords(const QMarginsF& border, const QString& pdf) {
  auto target = std::make_shared<TPdfPrinterTarget>(pdf, border);
  TTargetScope scope(target);
  TReportPrinter printer;
  printer.ShowStatus = false;
  printer.SetTitle(QStringLiteral("Form 1099-NEC Report"));
  printer.OnPrint = [](TPagePrinter& p) {
    p.SetFont(QStringLiteral("Courier New"), 12);
    p.PrintXY(0.6, 1.0, QStringLiteral("PLACED"));
    p.GotoXY(0.5, 2.0);
    p.PrintRight(QStringLiteral("1,234.56"), 4.4);
  };
  EXPECT_TRUE(printer.Execute());
  EXPECT_EQ(target->PrintersCreated(), 1);
  return PdfWords(pdf);
}
}  // namespace

TEST(PrintPath, TextLandsFromThePaperEdgeWhateverThePrintersBorder) {
  if (!HaveTool(QStringLiteral("pdftotext")))
    GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  TTempFolder tmp;
  const TFontSpec courier{QStringLiteral("Courier New"), 12, 0, clBlack};
  const double descent = FontDescentInches(courier) * 72;
  for (const QMarginsF border :
       {QMarginsF(), QMarginsF(0.25, 0.25, 0.25, 0.25), QMarginsF(0.17, 0.33, 0.2, 0.4)}) {
    SCOPED_TRACE(QStringLiteral("border %1 %2").arg(border.left()).arg(border.top()).toStdString());
    const QList<TPdfWord> words = PrintedWords(border, tmp.Path(QStringLiteral("p.pdf")));
    ASSERT_EQ(words.size(), 2);
    const double tolerance = 0.02 * 72;
    EXPECT_EQ(words[0].Text, QStringLiteral("PLACED"));
    EXPECT_NEAR(words[0].XMin, 0.6 * 72, tolerance);
    EXPECT_NEAR(words[0].YMax - descent, 1.0 * 72, tolerance) << "the baseline";
    EXPECT_EQ(words[1].Text, QStringLiteral("1,234.56"));
    EXPECT_NEAR(words[1].XMax, 4.4 * 72, tolerance) << "PrintRight ends at X on paper";
    EXPECT_NEAR(words[1].YMax - descent, 2.0 * 72, tolerance);
  }
}

TEST(PrintPath, NoPrinterShowsTheMessageOnceAndPrintsNothing) {
  TTargetScope scope(std::make_shared<TNoPrinterTarget>());
  MsgBoxScript::Clear();
  TReportPrinter printer;
  int drawn = 0;
  printer.OnPrint = [&](TPagePrinter&) { ++drawn; };
  EXPECT_FALSE(printer.Execute());
  EXPECT_EQ(drawn, 0);
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::Log()[0].text,
            QStringLiteral("No printers are defined, aborting print job."));
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, int(mbError));
}

TEST(PrintPath, ThreeFormsMakeOneSheetAndAFourthASecond) {
  if (!HaveTool(QStringLiteral("pdfinfo")))
    GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  TTempFolder tmp;
  for (const int forms : {3, 4}) {
    const QString pdf = tmp.Path(QStringLiteral("forms%1.pdf").arg(forms));
    TTargetScope scope(std::make_shared<TPdfPrinterTarget>(pdf));
    TReportPrinter printer;
    printer.ShowStatus = false;
    printer.OnPrint = [&](TPagePrinter& p) {
      for (int f = 1; f <= forms; ++f) {
        p.SetFont(QStringLiteral("Courier New"), 12);
        p.PrintXY(0.6, 1.0 + ((f - 1) % 3) * 3.667, QStringLiteral("FORM"));
        if (f % 3 == 0 && f < forms) p.NewPage();
      }
    };
    ASSERT_TRUE(printer.Execute());
    EXPECT_TRUE(PdfInfo(pdf).contains(
        QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(forms == 3 ? 1 : 2))))
        << PdfInfo(pdf).toStdString();
  }
}

// A printer of its own job prints all of it; copies the printer cannot make are painted again,
// and the status window is gone afterwards.
TEST(PrintPath, CopiesAreMadeByHandAndTheWholeJobIsPrinted) {
  if (!HaveTool(QStringLiteral("pdftotext"))) GTEST_SKIP() << "pdftotext is not installed";
  TTempFolder tmp;
  struct Case {
    int copies, fromPage, toPage;
    QStringList printed;
  };
  for (const Case& c :
       {Case{2, 0, 0, {"1:A", "2:B", "3:A", "4:B"}}, Case{1, 2, 2, {"1:A", "2:B"}}}) {
    SCOPED_TRACE(c.copies);
    const QString pdf = tmp.Path(QStringLiteral("copies%1.pdf").arg(c.copies));
    auto target = std::make_shared<TPdfPrinterTarget>(pdf);
    TTargetScope scope(target);
    TReportPrinter printer;
    printer.OnBeforePrint = [&](TPagePrinter& p) {
      TPrinterSettings settings = p.PrinterSettings();
      settings.FromPage = c.fromPage;
      settings.ToPage = c.toPage;
      p.SetPrinterSettings(settings);
      p.SetCopies(c.copies);
    };
    printer.OnPrint = [](TPagePrinter& p) {
      p.SetFont(QStringLiteral("Courier New"), 12);
      p.PrintXY(1.0, 1.0, QStringLiteral("A"));
      p.NewPage();
      p.PrintXY(1.0, 1.0, QStringLiteral("B"));
    };
    ASSERT_TRUE(printer.Execute());
    EXPECT_EQ(target->LastSettings().Copies, c.copies);
    QStringList printed;
    for (const TPdfWord& w : PdfWords(pdf))
      printed << QStringLiteral("%1:%2").arg(w.Page).arg(w.Text);
    EXPECT_EQ(printed, c.printed);
    for (QWidget* w : QApplication::topLevelWidgets())
      EXPECT_EQ(qobject_cast<TReportStatusWindow*>(w), nullptr);
  }
}

TEST(Pdf, CarriesTheTitleAndCreatorAndEveryPage) {
  if (!HaveTool(QStringLiteral("pdfinfo")))
    GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  TTempFolder tmp;
  const QString pdf = tmp.Path(QStringLiteral("job.pdf"));
  TPdfInfo info;
  info.Title = QStringLiteral("Papyra 2025");
  info.Subject = QStringLiteral("Papyra 2025 Adobe Portable Document");
  info.Creator = QStringLiteral("Papyra Software");
  WritePdf(SampleJob(), pdf, info);
  const QString text = PdfInfo(pdf);
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Title:\\s+Papyra 2025\\n"))));
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Creator:\\s+Papyra Software\\n"))));
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
  EXPECT_TRUE(text.contains(QStringLiteral("612 x 792 pts (letter)"))) << text.toStdString();
  QProcess meta;
  meta.start(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), pdf});
  meta.waitForFinished(60000);
  const QString xmp = QString::fromUtf8(meta.readAllStandardOutput());
  EXPECT_TRUE(xmp.contains(QStringLiteral(">Papyra 2025 Adobe Portable Document</rdf:li>")))
      << xmp.toStdString();
  EXPECT_TRUE(xmp.contains(QStringLiteral("<pdf:Producer>Papyra Software</pdf:Producer>")));
}

// The document information itself carries title, subject, author and creator, whatever their
// characters.
TEST(Pdf, TheDocumentInformationHasTitleSubjectAuthorAndCreator) {
  if (!HaveTool(QStringLiteral("pdfinfo")))
    GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  TTempFolder tmp;
  const struct {
    QString title, subject, creator;
  } cases[] = {
      {"Papyra 2025", "Papyra 2025 Adobe Portable Document", "Papyra Software"},
      {QString::fromUtf8("Caf\u00e9 (Form) \\ 1099"), QString::fromUtf8("\u20ac <x>"), "A & B"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title.toStdString());
    const QString pdf = tmp.Path(QStringLiteral("info.pdf"));
    TPdfInfo info;
    info.Title = c.title;
    info.Subject = c.subject;
    info.Creator = c.creator;
    WritePdf(SampleJob(), pdf, info);
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf});
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const auto& [key, value] : {std::pair{"Title", c.title},
                                     {"Subject", c.subject},
                                     {"Author", c.creator},
                                     {"Creator", c.creator}})
      EXPECT_TRUE(text.contains(QRegularExpression(
          QStringLiteral("(^|\\n)%1:\\s+%2\\n").arg(key, QRegularExpression::escape(value)))))
          << key << "\n"
          << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
  }
}

TEST(Html, EachPageIsAnInlineSvgInInchesWithoutPreviewOnlyItems) {
  const QString html = QString::fromUtf8(HtmlDocument(SampleJob()));
  EXPECT_EQ(html.count(QStringLiteral("<svg class=\"page\"")), 2);
  EXPECT_TRUE(
      html.contains(QStringLiteral("width=\"8.5in\" height=\"11in\" viewBox=\"0 0 850 1100\"")));
  EXPECT_TRUE(html.contains(QStringLiteral("<title>Sample &amp; &lt;job&gt;</title>")));
  // Texts sit on their baselines (y) with the anchor the alignment asks for.
  EXPECT_TRUE(
      html.contains(QStringLiteral("<text x=\"60\" y=\"100\" font-family=\"'Liberation Mono', "
                                   "'Courier New', monospace\" font-size=\"16.667\">LEFT</text>")));
  EXPECT_TRUE(html.contains(QStringLiteral("x=\"440\" y=\"150\"")));
  EXPECT_TRUE(html.contains(QStringLiteral("text-anchor=\"end\">1,234.56</text>")));
  EXPECT_TRUE(html.contains(
      QString::fromUtf8("text-anchor=\"middle\" font-weight=\"bold\" font-style=\"italic\" "
                        "text-decoration=\"underline\" fill=\"#204080\">"
                        "Caf\xC3\xA9 &lt;&amp;&gt; &quot;q&quot;</text>")));
  EXPECT_FALSE(html.contains(QStringLiteral("rx=")))
      << "the rounded preview-only outline stays out of exports";
  EXPECT_FALSE(html.contains(QStringLiteral("src=")));
  EXPECT_FALSE(html.contains(QStringLiteral("href=")));
}

TEST(Export, TheExtensionChoosesTheFormat) {
  TTempFolder tmp;
  const TReportJob job = SampleJob();
  ExportJob(job, tmp.Path(QStringLiteral("job.snp")));
  EXPECT_EQ(LoadSnapshot(tmp.Path(QStringLiteral("job.snp"))), job);
  ExportJob(job, tmp.Path(QStringLiteral("job.pdf")));
  EXPECT_TRUE(ReadAll(tmp.Path(QStringLiteral("job.pdf"))).startsWith("%PDF-"));
  ExportJob(job, tmp.Path(QStringLiteral("job.HTML")));
  EXPECT_TRUE(ReadAll(tmp.Path(QStringLiteral("job.HTML"))).startsWith("<!DOCTYPE html>"));
  ExportJob(job, tmp.Path(QStringLiteral("job.png")));
  EXPECT_TRUE(QFileInfo::exists(tmp.Path(QStringLiteral("job-1.png"))));
  EXPECT_TRUE(QFileInfo::exists(tmp.Path(QStringLiteral("job-2.png"))));
  EXPECT_FALSE(QFileInfo::exists(tmp.Path(QStringLiteral("job-3.png"))));
  EXPECT_EQ(QImage(tmp.Path(QStringLiteral("job-1.png"))).size(), QSize(1275, 1650));
  ExportJob(job, tmp.Path(QStringLiteral("job.txt")));
  const QString text = QString::fromUtf8(ReadAll(tmp.Path(QStringLiteral("job.txt"))));
  EXPECT_TRUE(
      text.contains(QStringLiteral("page 1 text x=4.400 y=1.500 font=\"Courier New\" size=12 "
                                   "style=- align=right color=000000 \"1,234.56\"\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("page 1 bar l=1.000 t=4.000 r=1.020 b=4.130\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("radius=0.200 preview\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("page 2 text x=1.000 y=1.000")));
  EXPECT_THROW(ExportJob(job, tmp.Path(QStringLiteral("job.doc"))), EReportException);
  EXPECT_THROW(ExportJob(job, QStringLiteral("/nonexistent/dir/job.pdf")), EReportException);
  EXPECT_THROW(ExportJob(job, QStringLiteral("/nonexistent/dir/job.html")), EReportException);
}
