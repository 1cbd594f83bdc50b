// The preview window: enabling rules, keys, zoom limits, paging and scrolling across page ends,
// the status text, opening and saving snapshots, exports, printing and the report system's
// preview handler.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <map>

#include "FakePrinterTarget.h"
#include "FaultSupport.h"
#include "SampleJob.h"
#include "TestSupport.h"
#include "engine/Render.h"
#include "engine/ReportPrinter.h"
#include "engine/ReportSystem.h"
#include "engine/Snapshot.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "platform/Settings.h"
#include "printing/PreviewPageView.h"
#include "printing/ReportPreview.h"
#include "storage/Globals.h"

namespace {
using P = TFrmReportPreview;

// Pages of a PDF file: pdfinfo when installed, else the page objects in the file.
int PdfPageCount(const QString& path) {
  const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
  if (!pdfinfo.isEmpty()) {
    QProcess p;
    p.start(pdfinfo, {path});
    p.waitForFinished();
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                       .match(QString::fromLatin1(p.readAllStandardOutput()));
    if (m.hasMatch()) return m.captured(1).toInt();
  }
  return int(QString::fromLatin1(ReadAll(path))
                 .count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

QString PdfInfo(const QString& path, const QStringList& options = {}) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), options + QStringList{path});
  p.waitForFinished();
  return QString::fromLatin1(p.readAllStandardOutput());
}

class PreviewTest : public testing::Test {
 protected:
  void SetUp() override {
    RegistryRoot = QStringLiteral("Software\\PapyraTest\\2025\\");
    MsgBoxScript::Clear();
    DialogScript::Clear();
  }
  void TearDown() override { SetPrinterTarget(nullptr); }

  // A preview of a sample job, shown and active in a window of known size.
  std::unique_ptr<P> Open(int pages, TReportSystem* system = nullptr) {
    auto w = std::make_unique<P>();
    w->SetReportSystem(system);
    w->LoadSnapshotBytes(SampleSnapshot(pages));
    w->resize(800, 600);
    w->show();
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
    return w;
  }
  static void Key(P& w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(w.PageView(), Qt::Key(key), mods);
  }
  static QList<bool> PagingStates(P& w) {
    return {w.Action(P::cmFirst)->isEnabled(), w.Action(P::cmPrior)->isEnabled(),
            w.Action(P::cmNext)->isEnabled(), w.Action(P::cmLast)->isEnabled()};
  }

  TTempFolder temp;
};
}  // namespace

TEST_F(PreviewTest, OnePageJobOpensAtPageOneOfOneWithPagingDisabled) {
  auto w = Open(1);
  EXPECT_EQ(w->StatusText(), " Page 1 of 1");
  EXPECT_EQ(PagingStates(*w), QList<bool>({false, false, false, false}));
  EXPECT_EQ(w->Zoom(), 85);
  for (P::TCommand c : {P::cmOpen, P::cmSave, P::cmPrint, P::cmZoomIn, P::cmZoomOut, P::cmPdf,
                        P::cmHtml, P::cmExit})
    EXPECT_TRUE(w->Action(c)->isEnabled()) << c;
}

TEST_F(PreviewTest, ButtonsAndMenuItemsCarryTheirTexts) {
  struct Case {
    P::TCommand command;
    const char* caption;
    const char* hint;
    const char* menu;
  };
  const Case cases[] = {
      {P::cmOpen, "Open", "Open Saved Report (Ctrl+O)", "Open Saved Report"},
      {P::cmSave, "Save", "Save Report (Ctrl+S)", "Save Report"},
      {P::cmPrint, "Print", "Print Report (Ctrl+P)", "Print Report"},
      {P::cmFirst, "First Page", "Go to First Page (Alt+F)", "Go to First Page"},
      {P::cmPrior, "Prior Page", "Go to Prior Page (Alt+P)", "Go to Prior Page"},
      {P::cmNext, "Next Page", "Go to Next Page (Alt+N)", "Go to Next Page"},
      {P::cmLast, "Last Page", "Go to Last Page (Alt+L)", "Go to Last Page"},
      {P::cmZoomIn, "Zoom In", "Zoom In (+)", "Zoom In"},
      {P::cmZoomOut, "Zoom Out", "Zoom Out (-)", "Zoom Out"},
      {P::cmPdf, "PDF Export", "Export to PDF (Ctrl+D)", "Export to PDF"},
      {P::cmHtml, "HTML Export", "Export to HTML (Ctrl+H)", "Export to HTML"},
      {P::cmExit, "Exit", "Exit Preview Screen (Alt+X)", "Exit Preview Screen"},
  };
  P w;
  const QList<QAction*> items = w.PopupMenu()->actions();
  QStringList menuTexts;
  for (QAction* a : items)
    if (!a->isSeparator()) menuTexts << a->text();
  ASSERT_EQ(menuTexts.size(), int(std::size(cases)));
  for (const Case& c : cases) {
    EXPECT_EQ(w.Action(c.command)->text(), c.caption);
    EXPECT_EQ(w.Action(c.command)->toolTip(), c.hint);
    EXPECT_EQ(menuTexts[c.command], c.menu);
  }
}

TEST_F(PreviewTest, PagingKeysAndButtonsFollowThePage) {
  auto w = Open(3);
  struct Step {
    int key;
    Qt::KeyboardModifiers mods;
    int page;
    QList<bool> states;  // First, Prior, Next, Last
  };
  const Step steps[] = {
      {Qt::Key_P, Qt::AltModifier, 1, {false, false, true, true}},  // Prior on page 1: nothing
      {Qt::Key_N, Qt::AltModifier, 2, {true, true, true, true}},
      {Qt::Key_L, Qt::AltModifier, 3, {true, true, false, false}},
      {Qt::Key_N, Qt::AltModifier, 3, {true, true, false, false}},  // Next on the last: nothing
      {Qt::Key_P, Qt::AltModifier, 2, {true, true, true, true}},
      {Qt::Key_F, Qt::AltModifier, 1, {false, false, true, true}},
  };
  for (const Step& s : steps) {
    Key(*w, s.key, s.mods);
    EXPECT_EQ(w->CurrentPage(), s.page);
    EXPECT_EQ(w->StatusText(), QStringLiteral(" Page %1 of 3").arg(s.page));
    EXPECT_EQ(PagingStates(*w), s.states);
  }
  w->Action(P::cmLast)->trigger();
  EXPECT_EQ(w->StatusText(), " Page 3 of 3");
}

TEST_F(PreviewTest, PopupMenuCopiesTheButtonStatesWhenItOpens) {
  auto w = Open(2);
  emit w->PopupMenu()->aboutToShow();
  QList<bool> menu;
  for (QAction* a : w->PopupMenu()->actions())
    if (!a->isSeparator()) menu << a->isEnabled();
  QList<bool> buttons;
  for (int c = 0; c < P::cmCount; ++c) buttons << w->Action(P::TCommand(c))->isEnabled();
  EXPECT_EQ(menu, buttons);
  EXPECT_FALSE(menu[P::cmPrior]);
  EXPECT_TRUE(menu[P::cmNext]);
}

TEST_F(PreviewTest, ZoomStepsStayBetweenTenAndTwoHundred) {
  struct Case {
    int start;
    P::TCommand command;
    int expected;
  };
  const Case cases[] = {{85, P::cmZoomIn, 95},  {195, P::cmZoomIn, 200}, {200, P::cmZoomIn, 200},
                        {85, P::cmZoomOut, 75}, {20, P::cmZoomOut, 10},  {15, P::cmZoomOut, 10},
                        {10, P::cmZoomOut, 10}};
  auto w = Open(1);
  for (const Case& c : cases) {
    TPreviewSettings settings;
    settings.ZoomFactor = c.start;
    w->ApplySettings(settings);
    w->Execute(c.command);
    EXPECT_EQ(w->Zoom(), c.expected) << c.start;
    EXPECT_EQ(w->PageView()->Zoom(), c.expected);
  }
  // "+" and "-" act from the main keys (with Shift) and from the keypad.
  TPreviewSettings settings;
  settings.ZoomFactor = 85;
  w->ApplySettings(settings);
  Key(*w, Qt::Key_Plus, Qt::ShiftModifier);
  Key(*w, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(w->Zoom(), 105);
  Key(*w, Qt::Key_Minus);
  EXPECT_EQ(w->Zoom(), 95);
}

TEST_F(PreviewTest, ShowingTheWindowSetsZoom85) {
  P w;
  TPreviewSettings settings;  // the report systems ask for 100
  w.ApplySettings(settings);
  EXPECT_EQ(w.Zoom(), 100);
  w.LoadSnapshotBytes(SampleSnapshot(2));
  w.show();
  EXPECT_EQ(w.Zoom(), 85);
  EXPECT_EQ(w.StatusText(), " Page 1 of 2");
}

TEST_F(PreviewTest, PageKeysScrollAcrossPageEnds) {
  auto w = Open(2);
  TPreviewPageView* v = w->PageView();
  ASSERT_GT(v->MaxScrollY(), 0) << "the page must be taller than the window for this test";
  Key(*w, Qt::Key_End);
  EXPECT_EQ(v->ScrollY(), v->MaxScrollY());
  Key(*w, Qt::Key_Home);
  EXPECT_EQ(v->ScrollY(), 0);
  // PgUp at the top of page 1 stays.
  Key(*w, Qt::Key_PageUp);
  EXPECT_EQ(w->CurrentPage(), 1);
  EXPECT_EQ(v->ScrollY(), 0);
  // PgDn scrolls a window height, then from the bottom shows the next page at its top.
  while (v->ScrollY() < v->MaxScrollY()) {
    const int before = v->ScrollY();
    Key(*w, Qt::Key_PageDown);
    ASSERT_GT(v->ScrollY(), before);
    EXPECT_EQ(w->CurrentPage(), 1);
  }
  Key(*w, Qt::Key_PageDown);
  EXPECT_EQ(w->CurrentPage(), 2);
  EXPECT_EQ(v->ScrollY(), 0);
  EXPECT_EQ(w->StatusText(), " Page 2 of 2");
  // PgDn on the last page goes to its bottom and stays there.
  Key(*w, Qt::Key_PageDown, Qt::ControlModifier);
  Key(*w, Qt::Key_PageDown);
  Key(*w, Qt::Key_PageDown);
  EXPECT_EQ(w->CurrentPage(), 2);
  EXPECT_EQ(v->ScrollY(), v->MaxScrollY());
  // PgUp from the top of page 2 shows page 1 at its bottom.
  Key(*w, Qt::Key_Home, Qt::ControlModifier);
  Key(*w, Qt::Key_PageUp);
  EXPECT_EQ(w->CurrentPage(), 1);
  EXPECT_EQ(v->ScrollY(), v->MaxScrollY());
}

TEST_F(PreviewTest, ArrowKeysAndWheelStepAcrossPageEnds) {
  auto w = Open(2);
  TPreviewPageView* v = w->PageView();
  ASSERT_GT(v->MaxScrollY(), 0);
  Key(*w, Qt::Key_Down);
  EXPECT_EQ(v->ScrollY(), std::min(v->StepSize(), v->MaxScrollY()));
  Key(*w, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(v->ScrollY(), 0);
  Key(*w, Qt::Key_End);
  Key(*w, Qt::Key_Down);  // at the bottom: the next page from its top
  EXPECT_EQ(w->CurrentPage(), 2);
  EXPECT_EQ(v->ScrollY(), 0);
  Key(*w, Qt::Key_Up);  // at the top: the prior page from its bottom
  EXPECT_EQ(w->CurrentPage(), 1);
  EXPECT_EQ(v->ScrollY(), v->MaxScrollY());

  const auto wheel = [&](int delta) {
    QWheelEvent e(QPointF(50, 50), v->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                  QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(v->viewport(), &e);
  };
  wheel(-120);  // towards the user: down, past the bottom
  EXPECT_EQ(w->CurrentPage(), 2);
  wheel(-120);
  EXPECT_EQ(v->ScrollY(), std::min(v->StepSize(), v->MaxScrollY()));
  wheel(120);
  wheel(120);
  EXPECT_EQ(w->CurrentPage(), 1);
}

TEST_F(PreviewTest, ControlArrowsScrollSideways) {
  auto w = Open(1);
  TPreviewSettings settings;
  settings.ZoomFactor = 200;
  w->ApplySettings(settings);
  TPreviewPageView* v = w->PageView();
  ASSERT_GT(v->MaxScrollX(), v->StepSize());
  Key(*w, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(v->ScrollX(), v->StepSize());
  Key(*w, Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(v->ScrollX(), 0);
  Key(*w, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(v->ScrollX(), std::min(v->viewport()->width(), v->MaxScrollX()));
}

TEST_F(PreviewTest, PageIsCentredWithMarginWhenItFits) {
  auto w = Open(1);
  TPreviewSettings settings;
  settings.ZoomFactor = 10;
  w->ApplySettings(settings);
  TPreviewPageView* v = w->PageView();
  const QRect page = v->PageRect();
  const QSize view = v->viewport()->size();
  EXPECT_EQ(v->MaxScrollY(), 0);
  // Centred: the free room left of the page equals the room right of it and its shadow.
  EXPECT_NEAR(page.left(), view.width() - page.right() - 1 - settings.ShadowDepth, 1);
  EXPECT_NEAR(page.top(), view.height() - page.bottom() - 1 - settings.ShadowDepth, 1);
  // Zoomed in, the page keeps a margin of 1.5 % of its width at the top-left corner.
  settings.ZoomFactor = 150;
  w->ApplySettings(settings);
  EXPECT_EQ(v->PageRect().topLeft(), QPoint(qRound(v->PagePixels().width() * 0.015),
                                            qRound(v->PagePixels().width() * 0.015)));
}

TEST_F(PreviewTest, ExitKeysCloseTheWindow) {
  struct Case {
    int key;
    Qt::KeyboardModifiers mods;
  };
  for (const Case& c : {Case{Qt::Key_Escape, Qt::NoModifier}, Case{Qt::Key_X, Qt::AltModifier}}) {
    auto w = Open(1);
    Key(*w, c.key, c.mods);
    EXPECT_FALSE(w->isVisible());
  }
  auto w = Open(1);
  w->Action(P::cmExit)->trigger();
  EXPECT_FALSE(w->isVisible());
}

TEST_F(PreviewTest, SaveCopiesTheSnapshotByteForByte) {
  auto w = Open(3);
  const QString file = temp.Path("copy.snp");
  DialogScript::SetNextFileName(temp.Path("copy"));  // the default extension is added
  Key(*w, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(DialogScript::Titles(), QStringList({"Save to Snapshot Document"}));
  EXPECT_EQ(ReadAll(file), SampleSnapshot(3));

  // Reopened, it shows the same job under the file's name.
  auto other = Open(1);
  DialogScript::SetNextFileName(file);
  Key(*other, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(other->windowTitle(), "Papyra 2025 - copy.snp");
  EXPECT_EQ(other->StatusText(), " Page 1 of 3");
  EXPECT_EQ(PagingStates(*other), QList<bool>({false, false, true, true}));
  EXPECT_EQ(other->SnapshotData(), SampleSnapshot(3));
}

TEST_F(PreviewTest, SaveOffersTheEnginesFormatsAndRendersByExtension) {
  auto w = Open(2);
  DialogScript::SetNextFileName(temp.Path("forms.pdf"));
  w->Execute(P::cmSave);
  EXPECT_EQ(PdfPageCount(temp.Path("forms.pdf")), 2);
  DialogScript::SetNextFileName(temp.Path("forms.html"));
  w->Execute(P::cmSave);
  EXPECT_EQ(QString::fromUtf8(ReadAll(temp.Path("forms.html"))).count("<svg"), 2);
}

TEST_F(PreviewTest, SavingOverAFileAsksFirst) {
  auto w = Open(2);
  const QString file = temp.Path("old.snp");
  for (int answer : {mrNo, mrYes}) {
    WriteAll(file, "old");
    MsgBoxScript::Clear();
    MsgBoxScript::SetNextAnswer(answer);
    DialogScript::SetNextFileName(file);
    w->Execute(P::cmSave);
    ASSERT_EQ(MsgBoxScript::Log().size(), 1);
    EXPECT_TRUE(MsgBoxScript::Log().first().text.startsWith("old.snp already exists."));
    EXPECT_EQ(MsgBoxScript::Log().first().flags, mbYesNoWarnDefNo);
    EXPECT_EQ(ReadAll(file), answer == mrYes ? SampleSnapshot(2) : QByteArray("old"));
  }
}

TEST_F(PreviewTest, CancelledDialogsLeaveTheWindowAsItWas) {
  auto w = Open(2);
  const QString title = w->windowTitle();
  for (P::TCommand c : {P::cmOpen, P::cmSave, P::cmPdf, P::cmHtml}) {
    DialogScript::SetNextFileName(QString());
    w->Execute(c);
  }
  EXPECT_EQ(DialogScript::Titles().size(), 4);
  EXPECT_EQ(w->windowTitle(), title);
  EXPECT_EQ(w->StatusText(), " Page 1 of 2");
  EXPECT_TRUE(QDir(temp.Path()).isEmpty());
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty());
}

// Reports the user keeps go with the user's other Papyra files, not into the program's folder.
TEST_F(PreviewTest, FileDialogsOpenInTheUsersPapyraDocumentsFolder) {
  auto w = Open(2);
  for (P::TCommand c : {P::cmOpen, P::cmSave, P::cmPdf, P::cmHtml}) {
    DialogScript::SetNextFileName(QString());
    w->Execute(c);
  }
  const QString folder =
      QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/Papyra";
  EXPECT_EQ(DialogScript::InitialFolders(), QStringList(4, folder));
  EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(PreviewTest, DamagedSnapshotIsReportedAndNothingChanges) {
  auto w = Open(2);
  QByteArray bytes = SampleSnapshot(1);
  bytes.truncate(bytes.size() / 2);
  WriteAll(temp.Path("bad.snp"), bytes);
  DialogScript::SetNextFileName(temp.Path("bad.snp"));
  w->Execute(P::cmOpen);
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::Log().first().flags, mbError);
  EXPECT_EQ(w->StatusText(), " Page 1 of 2");
  EXPECT_EQ(w->SnapshotData(), SampleSnapshot(2));
}

TEST_F(PreviewTest, PdfExportWritesEveryPageWithTheDocumentInformation) {
  auto w = Open(3);
  DialogScript::SetNextFileName(temp.Path("forms"));
  Key(*w, Qt::Key_D, Qt::ControlModifier);
  EXPECT_EQ(DialogScript::Titles(), QStringList({"Save to PDF Document"}));
  const QString file = temp.Path("forms.pdf");
  ASSERT_TRUE(QFileInfo::exists(file));
  EXPECT_TRUE(ReadAll(file).startsWith("%PDF"));
  EXPECT_EQ(PdfPageCount(file), 3);
  if (!QStandardPaths::findExecutable("pdfinfo").isEmpty()) {
    const QString info = PdfInfo(file);
    EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Papyra 2025\\n")))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Creator:\\s+Papyra Software\\n")))
        << info.toStdString();
    const QString meta = PdfInfo(file, {"-meta"});
    EXPECT_TRUE(meta.contains("Papyra 2025 Adobe Portable Document")) << meta.toStdString();
  }
  // Over an existing file it asks; No keeps the old file.
  MsgBoxScript::SetNextAnswer(mrNo);
  DialogScript::SetNextFileName(file);
  WriteAll(file, "old");
  w->Execute(P::cmPdf);
  EXPECT_EQ(ReadAll(file), QByteArray("old"));
}

// The exports on a disk with no room left: the failure names the file and the reason, and the
// previous file stays as it was.
TEST_F(PreviewTest, ExportsOnAFullDiskKeepThePreviousFile) {
  auto w = Open(3);
  TFaultFolder disk;
  const struct {
    P::TCommand command;
    const char* name;
  } cases[] = {{P::cmPdf, "forms.pdf"}, {P::cmHtml, "forms.html"}, {P::cmSave, "forms.snp"}};
  for (const auto& c : cases) WriteAll(disk.Path(c.name), "previous");
  disk.MakeFull();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MsgBoxScript::Clear();
    if (c.command != P::cmHtml) MsgBoxScript::SetNextAnswer(mrYes);  // replace it
    DialogScript::SetNextFileName(disk.Path(c.name));
    {
      TFileSizeLimitHere limit(disk.SizeLimit());
      w->Execute(c.command);
    }
    EXPECT_EQ(MsgBoxScript::Log().last().flags, mbError);
    EXPECT_TRUE(MsgBoxScript::LastText().contains(
        QStringLiteral("Cannot write \"%1\": ").arg(disk.Path(c.name))))
        << MsgBoxScript::LastText().toStdString();
    EXPECT_EQ(ReadAll(disk.Path(c.name)), "previous");
  }
}

// One PNG file per page: a long job asks first (Cancel is the default), and Cancel writes
// nothing.
TEST_F(PreviewTest, APngExportOfManyPagesAsksFirst) {
  auto w = Open(PngPageLimit + 1);
  DialogScript::SetNextFileName(temp.Path("pages.png"));
  w->Execute(P::cmSave);
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::LastText(),
            QStringLiteral("This report has %1 pages, and the PNG export writes one file per "
                           "page.\nWrite %1 PNG files?")
                .arg(PngPageLimit + 1));
  EXPECT_EQ(MsgBoxScript::Log().first().flags, mbOkCancelDefCancel);
  EXPECT_TRUE(QDir(temp.Path()).isEmpty());
}

TEST_F(PreviewTest, HtmlExportWritesEveryPage) {
  auto w = Open(2);
  DialogScript::SetNextFileName(temp.Path("forms"));
  Key(*w, Qt::Key_H, Qt::ControlModifier);
  EXPECT_EQ(DialogScript::Titles(), QStringList({"Save to HTML Document"}));
  const QString html = QString::fromUtf8(ReadAll(temp.Path("forms.html")));
  EXPECT_EQ(html.count("<svg"), 2);
  EXPECT_TRUE(html.contains("PAYEE 2-3"));
}

TEST_F(PreviewTest, CommandsTheReportSystemForbidsDoNothing) {
  TReportSystem system;
  system.AllowPrinting = false;
  system.AllowSaving = false;
  auto w = Open(2, &system);
  for (P::TCommand c : {P::cmSave, P::cmPrint, P::cmPdf, P::cmHtml})
    EXPECT_FALSE(w->Action(c)->isEnabled()) << c;
  Key(*w, Qt::Key_S, Qt::ControlModifier);
  Key(*w, Qt::Key_P, Qt::ControlModifier);
  Key(*w, Qt::Key_D, Qt::ControlModifier);
  Key(*w, Qt::Key_H, Qt::ControlModifier);
  EXPECT_TRUE(DialogScript::Titles().isEmpty());
  EXPECT_TRUE(w->isVisible());
}

namespace {
// Answers the "Output Options" dialog with the given copies and page range (0: all pages), or
// cancels it when copies is 0.
void AnswerOutputOptions(int copies, QString* title = nullptr, int from = 0, int to = 0) {
  WhenModal([=](QWidget* dlg) {
    if (title) *title = dlg->windowTitle();
    if (copies == 0) {
      Child<QPushButton>(dlg, "BtnCancel")->click();
      return;
    }
    Child<QSpinBox>(dlg, "Copies")->setValue(copies);
    if (from > 0) {
      Child<QRadioButton>(dlg, "RBPageRange")->setChecked(true);
      Child<QSpinBox>(dlg, "FromPage")->setValue(from);
      Child<QSpinBox>(dlg, "ToPage")->setValue(to);
    }
    Child<QPushButton>(dlg, "BtnOk")->click();
  });
}
}  // namespace

TEST_F(PreviewTest, PrintRendersOncePerCopyWhenThePrinterCannotMakeCopies) {
  const QString out = temp.Path("printed.pdf");
  auto target = std::make_shared<TFakePrinterTarget>(out);
  SetPrinterTarget(target);
  struct Case {
    int copies, from, to;
    int pages;  // a PDF printer makes no copies itself: each copy is rendered
  };
  auto w = Open(3);
  for (const Case& c : {Case{1, 0, 0, 3}, Case{3, 0, 0, 9}, Case{2, 2, 3, 4}}) {
    QFile::remove(out);
    QString title;
    AnswerOutputOptions(c.copies, &title, c.from, c.to);
    Key(*w, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(title, "Output Options");
    EXPECT_EQ(PdfPageCount(out), c.pages) << c.copies;
    EXPECT_EQ(target->LastSettings().Copies, 1);
  }
  QFile::remove(out);
  AnswerOutputOptions(0);
  w->Execute(P::cmPrint);
  EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(PreviewTest, PrintWithoutPrintersSaysSo) {
  SetPrinterTarget(std::make_shared<TNoPrinterTarget>());
  auto w = Open(1);
  w->Execute(P::cmPrint);
  EXPECT_EQ(MsgBoxScript::LastText(), "No printers are defined, aborting print job.");
}

TEST_F(PreviewTest, LongSnapshotOpensAtPageOneAndReachesItsEnd) {
  auto w = std::make_unique<P>();
  w->LoadSnapshotBytes(LongSnapshot(10000));
  w->show();
  EXPECT_EQ(w->StatusText(), " Page 1 of 10000");
  w->Execute(P::cmLast);
  EXPECT_EQ(w->StatusText(), " Page 10000 of 10000");
  EXPECT_EQ(PagingStates(*w), QList<bool>({true, true, false, false}));
}

// The report systems' preview handler: create, show modally, free.
TEST_F(PreviewTest, ReportSystemShowsItsJobInThePreviewWindow) {
  QDir::setCurrent(temp.Path());
  for (const QString& snapshot : {QString::fromLatin1(DefaultSnapshotName), QString()}) {
    SCOPED_TRACE(snapshot.toStdString());
    QFile::remove(RuntimeDir() + "/" + DefaultSnapshotName);
    TReportSystem system;
    system.TitlePreview = "Form 1099-NEC Preview";
    system.SnapshotFile = snapshot;
    system.ShowSetup = false;
    system.ShowStatus = false;
    system.OnPrint = [](TPagePrinter& p) {
      p.SetFont("Courier New", 12);
      for (int page = 1; page <= 4; ++page) {
        if (page > 1) p.NewPage();
        p.PrintXY(1, 1, QStringLiteral("Page %1").arg(page));
      }
    };
    QWidget owner;
    InstallPreviewWindow(system, &owner);
    QString caption, status;
    QRect normal;
    bool maximized = false, ownedByScreen = false;
    WhenModal([&](QWidget* w) {
      auto* preview = qobject_cast<P*>(w);
      ASSERT_NE(preview, nullptr);
      caption = preview->windowTitle();
      status = preview->StatusText();
      maximized = preview->windowState() & Qt::WindowMaximized;
      normal = preview->normalGeometry();
      ownedByScreen = preview->parentWidget() == &owner;
      QTest::keyClick(preview->PageView(), Qt::Key_Escape);
    });
    EXPECT_TRUE(system.Execute());
    EXPECT_EQ(caption, "Form 1099-NEC Preview");
    EXPECT_EQ(status, " Page 1 of 4");
    EXPECT_TRUE(maximized);
    // Where no window manager maximises it, the window still fills the free screen area.
    EXPECT_EQ(normal, QGuiApplication::primaryScreen()->availableGeometry());
    EXPECT_TRUE(ownedByScreen);
    EXPECT_TRUE(owner.findChildren<P*>().isEmpty()) << "freed after the job";
    EXPECT_EQ(QFileInfo::exists(RuntimeDir() + "/" + DefaultSnapshotName), !snapshot.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(temp.Path(DefaultSnapshotName)));
  }
  QDir::setCurrent(QCoreApplication::applicationDirPath());
}

// "Save one PDF per recipient..." is offered only for a job whose report system can save one
// file per recipient, and runs the report system's command with the window as parent.
TEST_F(PreviewTest, PerRecipientSaveIsOfferedOnlyWhenTheReportSystemCanDoIt) {
  TReportSystem plain;
  auto w = Open(2, &plain);
  ASSERT_NE(w->PerRecipientAction(), nullptr);
  EXPECT_EQ(w->PerRecipientAction()->text(), "Save one PDF per recipient...");
  EXPECT_FALSE(w->PerRecipientAction()->isVisible());
  ASSERT_NE(w->Action(P::cmSave)->menu(), nullptr);
  EXPECT_TRUE(w->Action(P::cmSave)->menu()->actions().contains(w->PerRecipientAction()));

  TReportSystem forms;
  QWidget* parent = nullptr;
  forms.SaveEachRecipient = [&parent](QWidget* p) { parent = p; };
  auto f = Open(2, &forms);
  EXPECT_TRUE(f->PerRecipientAction()->isVisible());
  f->PerRecipientAction()->trigger();
  EXPECT_EQ(parent, f.get());

  forms.AllowPrinting = false;
  auto locked = Open(2, &forms);
  parent = nullptr;
  EXPECT_FALSE(locked->PerRecipientAction()->isEnabled());
  locked->PerRecipientAction()->trigger();
  EXPECT_EQ(parent, nullptr);
}

// Save writes what the chosen file type promises: a name typed without an extension, or with
// one of no format, takes the chosen type's extension and is written in that format, never as a
// snapshot under another name.
TEST_F(PreviewTest, SaveWritesTheFormatOfTheChosenFileType) {
  auto w = Open(2);
  const QString pdf = QStringLiteral("Adobe Portable Document (PDF) (*.pdf)");
  struct TCase {
    QString Typed, Filter, Written;
  };
  const TCase cases[] = {
      {"forms", pdf, "forms.pdf"},
      {"forms.2025", pdf, "forms.2025.pdf"},
      {"forms.snp", pdf, "forms.snp"},  // the name's own format wins
      {"kept", "Snapshot Document (*.snp)", "kept.snp"},
  };
  for (const TCase& c : cases) {
    DialogScript::SetNextFileName(temp.Path(c.Typed));
    DialogScript::SetNextFilter(c.Filter);
    Key(*w, Qt::Key_S, Qt::ControlModifier);
    const QByteArray bytes = ReadAll(temp.Path(c.Written));
    if (c.Written.endsWith(".pdf")) {
      EXPECT_TRUE(bytes.startsWith("%PDF")) << c.Typed.toStdString();
      EXPECT_EQ(PdfPageCount(temp.Path(c.Written)), 2);
    } else {
      EXPECT_EQ(bytes, SampleSnapshot(2)) << c.Typed.toStdString();
    }
  }
  EXPECT_FALSE(QFileInfo::exists(temp.Path("forms")));
}

// The help's table of the preview's keys, pressed: each key does what the table says.
TEST_F(PreviewTest, EveryKeyOfTheHelpsTableDoesWhatItSays) {
  SetPrinterTarget(std::make_shared<TFakePrinterTarget>(temp.Path("printed.pdf")));
  const std::map<QString, std::function<void(P&)>> checks = {
      {"prints the pages; choose the printer, copies and pages first", {}},
      {"shows the first page", [](P& w) { EXPECT_EQ(w.CurrentPage(), 1); }},
      {"shows the prior page", [](P& w) { EXPECT_EQ(w.CurrentPage(), 2); }},
      {"shows the next page", [](P& w) { EXPECT_EQ(w.CurrentPage(), 4); }},
      {"shows the last page", [](P& w) { EXPECT_EQ(w.CurrentPage(), 5); }},
      {"zooms in by 10 per cent", [](P& w) { EXPECT_EQ(w.Zoom(), 95); }},
      {"zooms out by 10 per cent", [](P& w) { EXPECT_EQ(w.Zoom(), 75); }},
      {"scrolls down by a window, and on to the next page",
       [](P& w) { EXPECT_GT(w.PageView()->ScrollY(), 0); }},
      {"scrolls up by a window, and back to the prior page",
       [](P& w) { EXPECT_EQ(w.CurrentPage(), 2); }},
      {"goes to the bottom of the page",
       [](P& w) { EXPECT_EQ(w.PageView()->ScrollY(), w.PageView()->MaxScrollY()); }},
      {"goes to the top of the page", [](P& w) { EXPECT_EQ(w.PageView()->ScrollY(), 0); }},
      {"closes the preview", [](P& w) { EXPECT_FALSE(w.isVisible()); }},
      {"opens this topic", [](P&) { EXPECT_EQ(HelpScript::Shown(), QList<int>({htPreview})); }},
  };
  const std::map<QString, QString> dialogs = {
      {"opens a saved snapshot", "Open Saved Report"},
      {"saves the pages as a PDF file", "Save to PDF Document"},
      {"saves the pages as an HTML file", "Save to HTML Document"},
      {"saves the pages as a snapshot (.snp) to open again later, or as PDF, HTML, PNG or text, "
       "by the file type you choose",
       "Save to Snapshot Document"},
  };
  int pressed = 0;
  for (const THelpKeyRow& row : HelpKeyRows()) {
    if (row.Screen != "preview") continue;
    SCOPED_TRACE((row.Keys + ": " + row.Does).toStdString());
    ++pressed;
    auto w = Open(5);
    w->Execute(P::cmNext);
    w->Execute(P::cmNext);  // page 3 of 5, at its top
    DialogScript::Clear();
    HelpScript::Clear();
    const auto check = checks.find(row.Does);
    const auto dialog = dialogs.find(row.Does);
    QString printTitle;
    if (check != checks.end() && !check->second) AnswerOutputOptions(0, &printTitle);
    w->setFocus();
    PressHelpKeys(row.Keys);
    if (dialog != dialogs.end()) {
      EXPECT_EQ(DialogScript::Titles(), QStringList({dialog->second}));
    } else if (check == checks.end()) {
      ADD_FAILURE() << "no check knows what the help says these keys do";
    } else if (check->second) {
      check->second(*w);
    } else {
      EXPECT_EQ(printTitle, "Output Options");
    }
  }
  EXPECT_EQ(pressed, 18);
}
