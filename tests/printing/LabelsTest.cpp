// Mailing labels end to end: a payer file opened through the data module, the label job written
// into a page printer, through the report system's windows to the preview and to a printer, and
// through papyra-batch.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtEndian>
#include <algorithm>
#include <memory>

#include "TestSupport.h"
#include "engine/Fonts.h"
#include "engine/PagePrinter.h"
#include "engine/Render.h"
#include "engine/ReportSystem.h"
#include "engine/Snapshot.h"
#include "platform/Exceptions.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "platform/Settings.h"
#include "printing/Labels.h"
#include "printing/ReportPreview.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

namespace {
constexpr double kEps = 1e-6;

TPayeeRecord Payee(const QString& name, const QString& address, const QString& city,
                   const QString& compName = {}) {
  TPayeeRecord p;
  p.SetString("PayeeName", name);
  p.SetString("CompName", compName);
  p.SetString("Address1", address);
  p.SetString("CityStZip", city);
  return p;
}

QList<TPayeeRecord> NumberedPayees(int count) {
  QList<TPayeeRecord> payees;
  for (int i = 1; i <= count; ++i)
    payees << Payee(QStringLiteral("PAYEE %1").arg(i, 2, 10, QLatin1Char('0')),
                    QStringLiteral("%1 Main Street").arg(i), QStringLiteral("Decatur, IL 62521"));
  return payees;
}

// Label rectangle of a 0-based sheet position on Avery 5160 stock, written out here rather than
// taken from the product.
QRectF Avery5160(int position) {
  return QRectF(0.188 + (position % 3) * 2.75, 0.5 + (position / 3) * 1.0, 2.625, 1.0);
}

bool Inside(const QRectF& label, double x, double y) {
  return x >= label.left() - kEps && x <= label.right() + kEps && y >= label.top() - kEps &&
         y <= label.bottom() + kEps;
}

// The non-empty texts and the bars drawn inside one label, in drawing order.
struct TLabelItems {
  QList<TDisplayItem> Texts;
  QList<TDisplayItem> Bars;
};
TLabelItems ItemsInLabel(const TPage& page, int position) {
  const QRectF label = Avery5160(position);
  TLabelItems out;
  for (const TDisplayItem& item : page.Items) {
    if (item.Kind == TItemKind::Text && !item.Text.isEmpty() && Inside(label, item.X, item.Y))
      out.Texts << item;
    if (item.Kind == TItemKind::Bar && Inside(label, item.X, item.Y2)) out.Bars << item;
  }
  return out;
}

QList<TDisplayItem> Outlines(const TPage& page) {
  QList<TDisplayItem> out;
  for (const TDisplayItem& item : page.Items)
    if (item.Kind == TItemKind::Rect) out << item;
  return out;
}

// POSTNET bars read back with the published table: tall and short bars, two tall per digit,
// weights 7 4 2 1 0 (7 + 4 is 0), a tall frame bar at each end. "?" marks an unreadable group.
QString DecodeBars(QList<TDisplayItem> bars) {
  std::sort(bars.begin(), bars.end(),
            [](const TDisplayItem& a, const TDisplayItem& b) { return a.X < b.X; });
  QString tall;
  for (const TDisplayItem& b : bars)
    tall += (b.Y2 - b.Y) > 0.09 ? QLatin1Char('F') : QLatin1Char('h');
  if (tall.size() < 7 || tall.front() != QLatin1Char('F') || tall.back() != QLatin1Char('F') ||
      (tall.size() - 2) % 5 != 0)
    return QStringLiteral("frame?") + tall;
  static const int kWeights[5] = {7, 4, 2, 1, 0};
  QString digits;
  for (qsizetype at = 1; at + 5 < tall.size(); at += 5) {
    int sum = 0, count = 0;
    for (int i = 0; i < 5; ++i)
      if (tall[at + i] == QLatin1Char('F')) sum += kWeights[i], ++count;
    digits += count != 2 ? QLatin1Char('?') : sum == 11 ? QLatin1Char('0') : QChar(u'0' + sum);
  }
  return digits;
}

// Streams of a PDF, inflated where they are deflated; binary ones (embedded fonts) left out.
QList<QByteArray> PdfTextStreams(const QByteArray& pdf) {
  QList<QByteArray> streams;
  qsizetype at = 0;
  while ((at = pdf.indexOf("stream", at)) >= 0) {
    const bool isEnd = at >= 3 && pdf.mid(at - 3, 3) == "end";
    qsizetype start = at + 6;
    at = start;
    if (isEnd) continue;
    if (pdf.mid(start, 2) == "\r\n")
      start += 2;
    else if (pdf.at(start) == '\n')
      start += 1;
    const qsizetype end = pdf.indexOf("endstream", start);
    if (end < 0) break;
    const qsizetype dictStart = pdf.lastIndexOf("obj", start);
    const bool deflated = pdf.mid(dictStart, start - dictStart).contains("FlateDecode");
    QByteArray data = pdf.mid(start, end - start);
    if (deflated) {
      QByteArray sized(4, '\0');
      qToBigEndian<quint32>(quint32(16 << 20), sized.data());
      data = qUncompress(sized + data);
    }
    const bool binary = std::any_of(data.begin(), data.end(), [](char c) {
      return static_cast<unsigned char>(c) > 126 || (c < 32 && c != '\n' && c != '\r' && c != ' ');
    });
    if (!binary && !data.isEmpty()) streams << data;
    at = end + 9;
  }
  return streams;
}

// Curve segments ("x1 y1 x2 y2 x3 y3 c") drawn on the PDF's pages: the rounded label outlines
// are the only curves a label job draws; text arrives as font glyphs, bars as straight paths.
int CurveSegments(const QString& pdfFile) {
  static const QRegularExpression curve(QStringLiteral(R"((?:-?[\d.]+\s+){6}c\b)"));
  int count = 0;
  for (const QByteArray& s : PdfTextStreams(ReadAll(pdfFile)))
    count += int(QString::fromLatin1(s).count(curve));
  return count;
}

class LabelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterFontSubstitutions();
    MsgBoxScript::Clear();
    RegistryRoot = QStringLiteral("Software\\PapyraTest\\2025\\");
    if (!AppRegistry) AppRegistry = std::make_unique<TRegistry>();
    AppRegistry->DeleteKey(RegistryRoot + QStringLiteral("Printer"));
    ProgramFolder = Folder.Path() + QLatin1Char('/');
    QDir::setCurrent(Folder.Path());
    Module = std::make_unique<TFrmDataModule>();
    Module->RSPayer->SetRecSize(TPayerRecord::Size);
    Module->RSPayee->SetRecSize(TPayeeRecord::Size);
  }
  void TearDown() override {
    if (Module->RSPayee->Active()) Module->RSPayee->CloseRecSet();
    Module.reset();
    QDir::setCurrent(QCoreApplication::applicationDirPath());
  }

  QString WritePayerFile(const QList<TPayeeRecord>& payees) {
    const QString file = Folder.Path(QStringLiteral("Labels.PE25"));
    QByteArray bytes;
    for (const TPayeeRecord& p : payees)
      bytes.append(reinterpret_cast<const char*>(p.Data()), TPayeeRecord::Size);
    WriteAll(file, bytes);
    TPayerRecord payer;
    payer.SetString("PayerName", QStringLiteral("Acme Supply"));
    WriteAll(Folder.Path(QStringLiteral("Labels.PR25")),
             QByteArray(reinterpret_cast<const char*>(payer.Data()), TPayerRecord::Size));
    return file;
  }
  void Open(const QList<TPayeeRecord>& payees) {
    PayeeFileName = WritePayerFile(payees);
    Module->RSPayee->SetFileName(PayeeFileName);
    Module->RSPayee->OpenRecSet();
    ASSERT_TRUE(FileIsOpen);
  }
  void GoTo(int record) {
    Module->RSPayee->SetCurrentRecord(record);
    Module->RSPayee->GetRec();
  }
  TReportJob WriteLabels(int* labels = nullptr) {
    TPagePrinter printer;
    printer.BeginDoc();
    const int n = WritePayeeLabels(printer, *Module->RSPayee);
    if (labels) *labels = n;
    printer.EndDoc();
    return printer.TakeJob();
  }

  TTempFolder Folder;
  std::unique_ptr<TFrmDataModule> Module;
};

TEST_F(LabelsTest, ThirtyOnePayeesFillASheetRowByRowAndStartTheNextAtRowOneColumnOne) {
  Open(NumberedPayees(31));
  int labels = 0;
  const TReportJob job = WriteLabels(&labels);
  EXPECT_EQ(labels, 31);
  ASSERT_EQ(job.PageCount(), 2);
  for (int i = 0; i < 31; ++i) {
    SCOPED_TRACE(i + 1);
    const TLabelItems items = ItemsInLabel(job.Pages[i / 30], i % 30);
    ASSERT_EQ(items.Texts.size(), 3);
    EXPECT_EQ(items.Texts[0].Text, QStringLiteral("PAYEE %1").arg(i + 1, 2, 10, QLatin1Char('0')));
  }
  EXPECT_EQ(ItemsInLabel(job.Pages[1], 1).Texts.size(), 0) << "one label on the second sheet";
  // Every payee has a label though none has an amount on any form.
}

TEST_F(LabelsTest, TheCityLineDecidesTextPositionAndBarCode) {
  struct Case {
    const char* what;
    TPayeeRecord payee;
    QStringList lines;
    double firstBaseline;
    QString bars;  // digits the bars decode to, check digit last; empty: no bars
  };
  const QString longName = QStringLiteral("Abcdefghij Klmnopqrst Uvwxyz Holdings");
  const QList<Case> cases = {
      {"ZIP+4",
       Payee("Jane Doe", "42 Elm Street", "Decatur, IL 62521-1234"),
       {"Jane Doe", "42 Elm Street", "Decatur, IL 62521-1234"},
       0.25,
       "6252112344"},
      {"five-digit ZIP",
       Payee("John Roe", "7 Oak Ave", "Decatur, IL 62521"),
       {"John Roe", "7 Oak Ave", "Decatur, IL 62521"},
       0.38,
       ""},
      {"ZIP+4 not in the last 10 characters",
       Payee("Ann Poe", "1 Pine Rd", "Decatur 62521-1234 IL"),
       {"Ann Poe", "1 Pine Rd", "Decatur 62521-1234 IL"},
       0.38,
       ""},
      {"name over 30 characters",
       Payee(longName, "9 Lake Dr", "Springfield, IL 62704-0001"),
       {longName.left(30), "9 Lake Dr", "Springfield, IL 62704-0001"},
       0.25,
       "6270400010"},
      {"second name line",
       Payee("Acme LLC", "PO Box 5", "Austin TX 73301", "Attn: Payables"),
       {"Acme LLC", "PO Box 5", "Austin TX 73301"},
       0.38,
       ""},
  };
  QList<TPayeeRecord> payees;
  for (const Case& c : cases) payees << c.payee;
  Open(payees);
  const TReportJob job = WriteLabels();
  ASSERT_EQ(job.PageCount(), 1);
  for (int i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.what);
    const QRectF label = Avery5160(i);
    const TLabelItems items = ItemsInLabel(job.Pages[0], i);
    QStringList printed;
    for (const TDisplayItem& t : items.Texts) printed << t.Text;
    EXPECT_EQ(printed, c.lines);
    for (int line = 0; line < items.Texts.size(); ++line) {
      const TDisplayItem& t = items.Texts[line];
      EXPECT_NEAR(t.X, label.left() + 0.13, kEps);
      EXPECT_NEAR(t.Y, label.top() + c.firstBaseline + 0.15 * line, kEps);
      EXPECT_EQ(t.Font.Name, QStringLiteral("Arial"));
      EXPECT_EQ(t.Font.Size, 9.0);
    }
    if (c.bars.isEmpty()) {
      EXPECT_TRUE(items.Bars.isEmpty());
      continue;
    }
    EXPECT_EQ(DecodeBars(items.Bars), c.bars);
    for (const TDisplayItem& b : items.Bars) {
      EXPECT_NEAR(b.Y2, label.top() + 0.83, kEps) << "bars stand 0.13 below the next baseline";
      EXPECT_GE(b.Y, label.top() + 0.70 - kEps);
      EXPECT_NEAR(b.X2 - b.X, 0.02, kEps);
    }
    EXPECT_NEAR(items.Bars[0].X, label.left() + 0.13, kEps);
  }
  for (const TDisplayItem& item : job.Pages[0].Items)
    EXPECT_FALSE(item.Text.contains(QStringLiteral("Payables"))) << "CompName is never printed";
}

TEST_F(LabelsTest, AFileWhoseOnlyPayeeIsBlankPrintsOneEmptyLabel) {
  Open({TPayeeRecord{}});
  int labels = 0;
  const TReportJob job = WriteLabels(&labels);
  EXPECT_EQ(labels, 1);
  ASSERT_EQ(job.PageCount(), 1);
  for (const TDisplayItem& item : job.Pages[0].Items) {
    EXPECT_NE(item.Kind, TItemKind::Bar);
    if (item.Kind == TItemKind::Text) {
      EXPECT_TRUE(item.Text.isEmpty());
    }
  }
}

// A payee file with no record at all (a record set opened without the data module, which
// would add the blank payee) ends after one blank label instead of walking round for ever, and
// shows nothing left in the working buffer.
TEST_F(LabelsTest, AnEmptyPayeeFilePrintsOneBlankLabelAndEnds) {
  const QString file = Folder.Path(QStringLiteral("Empty.PE25"));
  WriteAll(file, {});
  TRecordSet payees;
  payees.SetRecSize(TPayeeRecord::Size);
  payees.SetFileName(file);
  payees.SetShowOpenMode(false);
  payees.OpenRecSet();
  ASSERT_TRUE(payees.Active());
  const int before = payees.CurrentRecord();
  PayeeRec = Payee("Left Over", "1 Old Road", "Decatur, IL 62521-1234");
  TPagePrinter printer;
  printer.BeginDoc();
  EXPECT_EQ(WritePayeeLabels(printer, payees), 1);
  printer.EndDoc();
  for (const TDisplayItem& item : printer.Job().Pages[0].Items) {
    EXPECT_NE(item.Kind, TItemKind::Bar);
    if (item.Kind == TItemKind::Text) {
      EXPECT_TRUE(item.Text.isEmpty()) << item.Text.toStdString();
    }
  }
  EXPECT_EQ(payees.CurrentRecord(), before);
}

TEST_F(LabelsTest, ThePayeeShownBeforeIsCurrentAfterTheJobEvenWhenItFails) {
  Open(NumberedPayees(5));
  GoTo(3);
  WriteLabels();
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), QStringLiteral("PAYEE 03"));

  // A read failing half-way through the walk ends the job; the payee comes back all the same.
  const TRecordSetEvent read = Module->RSPayee->OnAfterRead;
  int reads = 0;
  Module->RSPayee->OnAfterRead = [&](TRecordSet* sender) {
    read(sender);
    if (++reads == 3) throw EInOutError(QStringLiteral("read error"));
  };
  EXPECT_THROW(WriteLabels(), EInOutError);
  Module->RSPayee->OnAfterRead = read;
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 3);
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), QStringLiteral("PAYEE 03"));
}

// File / Print Labels: the set-up window, then the preview of the job's snapshot, outlines and
// all; the report system stays with the main window for the next run.
TEST_F(LabelsTest, PrintLabelsShowsTheSetUpWindowThenThePreview) {
  Open(NumberedPayees(31));
  GoTo(2);
  QWidget owner;
  QString setupTitle, previewTitle;
  bool previewChosen = false, maximized = false;
  int pages = 0;
  WhenModal([&](QWidget* setup) {
    setupTitle = setup->windowTitle();
    previewChosen = Child<QRadioButton>(setup, QStringLiteral("RBPreview"))->isChecked();
    Child<QPushButton>(setup, QStringLiteral("BtnOk"))->click();
    WhenModal([&](QWidget* w) {
      previewTitle = w->windowTitle();
      maximized = w->windowState() & Qt::WindowMaximized;
      if (auto* preview = qobject_cast<TFrmReportPreview*>(w)) pages = preview->PageCount();
      w->close();
    });
  });
  PrintPayeeLabels(&owner);
  EXPECT_EQ(setupTitle, QStringLiteral("Payee Labels Setup"));
  EXPECT_TRUE(previewChosen);
  EXPECT_EQ(previewTitle, QStringLiteral("Payee Labels Preview (Avery 5160)"));
  EXPECT_TRUE(maximized);
  EXPECT_EQ(pages, 2);
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 2);
  EXPECT_EQ(PayeeRec.GetString("PayeeName"), QStringLiteral("PAYEE 02"));

  // The snapshot the preview showed: the job's title and thirty outlines on each sheet, drawn
  // for the preview only.
  TSnapshotReader snapshot;
  snapshot.Open(RuntimeDir() + QLatin1Char('/') + QString::fromLatin1(DefaultSnapshotName));
  const TReportJob job = snapshot.ReadAll();
  EXPECT_EQ(job.Title, QStringLiteral("Papyra Labels"));
  for (const TPage& page : job.Pages) {
    const QList<TDisplayItem> outlines = Outlines(page);
    EXPECT_EQ(outlines.size(), 30);
    for (const TDisplayItem& o : outlines) {
      EXPECT_TRUE(o.PreviewOnly);
      EXPECT_NEAR(o.Radius, 0.2, kEps);
    }
  }

  // The next run reuses the main window's report system; cancelling its set-up ends it.
  bool cancelled = false;
  WhenModal([&](QWidget* setup) {
    cancelled = true;
    Child<QPushButton>(setup, QStringLiteral("BtnCancel"))->click();
  });
  PrintPayeeLabels(&owner);
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(owner.findChildren<TPayeeLabels*>().size(), 1);
}

// On paper the labels have no outlines; the same outlines drawn for real would show as curves.
TEST_F(LabelsTest, PrintedLabelsHaveNoOutlines) {
  Open(NumberedPayees(4));
  const QString printed = Folder.Path(QStringLiteral("printed.pdf"));
  TPdfPrinterTarget target(printed);
  QWidget owner;
  TPayeeLabels labels(&owner);
  labels.Rpt1099Labels->SetPrinterTarget(&target);
  labels.Rpt1099Labels->ShowSetup = false;
  labels.Rpt1099Labels->ShowStatus = false;
  labels.Rpt1099Labels->Setup.Dest = TReportDest::Printer;
  ASSERT_TRUE(labels.Execute());
  EXPECT_EQ(labels.LabelsPrinted(), 4);
  ASSERT_TRUE(ReadAll(printed).startsWith("%PDF-"));
  EXPECT_FALSE(PdfTextStreams(ReadAll(printed)).isEmpty()) << "the pages were read";
  EXPECT_EQ(CurveSegments(printed), 0);

  TReportJob drawn = labels.Rpt1099Labels->LoadJob();
  for (TDisplayItem& item : drawn.Pages[0].Items) item.PreviewOnly = false;
  const QString control = Folder.Path(QStringLiteral("control.pdf"));
  target.SetOutputFile(control);
  ASSERT_TRUE(labels.Rpt1099Labels->PrintToPrinter(drawn, TPrinterSettings{}));
  EXPECT_GE(CurveSegments(control), 30 * 4) << "four rounded corners per outline";
}

TEST_F(LabelsTest, BatchCommandWritesTheLabelsAsPrinted) {
  const QString file = WritePayerFile(
      {Payee("Jane Doe", "42 Elm Street", "Decatur, IL 62521-1234"), NumberedPayees(1)[0]});
  struct Out {
    const char* name;
    bool outlines;
  };
  for (const Out o : {Out{"labels.txt", false}, Out{"labels.snp", true}}) {
    SCOPED_TRACE(o.name);
    const QString out = Folder.Path(QString::fromLatin1(o.name));
    const TBatchRun batch = RunBatch({"labels", file, "--out", out});
    ASSERT_NE(batch.Code, -1) << "papyra-batch did not finish";
    EXPECT_EQ(batch.Code, 0) << batch.Err.toStdString();
    EXPECT_EQ(batch.Out, QStringLiteral("2 label(s) on 1 page(s) written to %1\n").arg(out));
    TReportJob job;
    if (o.outlines) {
      TSnapshotReader reader;
      reader.Open(out);
      job = reader.ReadAll();
      EXPECT_EQ(Outlines(job.Pages[0]).size(), 30);
      continue;
    }
    const QString text = QString::fromUtf8(ReadAll(out));
    EXPECT_TRUE(text.contains(QStringLiteral(
        "page 1 text x=0.318 y=0.750 font=\"Arial\" size=9 style=- align=left color=000000 "
        "\"Jane Doe\"")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral(" rect "))) << "no outlines on paper";
    EXPECT_EQ(text.count(QStringLiteral(" bar ")), 52);
  }
  EXPECT_EQ(RunBatch({"labels", file, "--out", Folder.Path("x.png")}).Code, 2);
}
}  // namespace
