#include "printing/ReportPreview.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/Render.h"
#include "engine/RenderHtml.h"
#include "engine/ReportPrinter.h"
#include "engine/ReportSystem.h"
#include "engine/Snapshot.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Exceptions.h"
#include "platform/MsgBox.h"
#include "platform/SafeFile.h"
#include "platform/Services.h"
#include "printing/OutputOptions.h"
#include "printing/PreviewPageView.h"
#include "printing/PrinterSetup.h"

namespace {
struct TCommandText {
  const char* name;
  const char* caption;
  const char* hint;
  const char* menu;
};

// In the order of TFrmReportPreview::TCommand.
constexpr TCommandText kCommands[] = {
    {"Open", "Open", "Open Saved Report (Ctrl+O)", "Open Saved Report"},
    {"Save", "Save", "Save Report (Ctrl+S)", "Save Report"},
    {"Print", "Print", "Print Report (Ctrl+P)", "Print Report"},
    {"First", "First Page", "Go to First Page (Alt+F)", "Go to First Page"},
    {"Prior", "Prior Page", "Go to Prior Page (Alt+P)", "Go to Prior Page"},
    {"Next", "Next Page", "Go to Next Page (Alt+N)", "Go to Next Page"},
    {"Last", "Last Page", "Go to Last Page (Alt+L)", "Go to Last Page"},
    {"ZoomIn", "Zoom In", "Zoom In (+)", "Zoom In"},
    {"ZoomOut", "Zoom Out", "Zoom Out (-)", "Zoom Out"},
    {"PDF", "PDF Export", "Export to PDF (Ctrl+D)", "Export to PDF"},
    {"HTML", "HTML Export", "Export to HTML (Ctrl+H)", "Export to HTML"},
    {"Exit", "Exit", "Exit Preview Screen (Alt+X)", "Exit Preview Screen"},
};
static_assert(std::size(kCommands) == TFrmReportPreview::cmCount);

using TCmd = TFrmReportPreview::TCommand;

struct TCommandKey {
  int key;
  Qt::KeyboardModifiers modifiers;
  TCmd command;
  bool always;  // acts even while its button is disabled
};

constexpr TCommandKey kCommandKeys[] = {
    {Qt::Key_O, Qt::ControlModifier, TFrmReportPreview::cmOpen, true},
    {Qt::Key_S, Qt::ControlModifier, TFrmReportPreview::cmSave, true},
    {Qt::Key_P, Qt::ControlModifier, TFrmReportPreview::cmPrint, false},
    {Qt::Key_F, Qt::AltModifier, TFrmReportPreview::cmFirst, false},
    {Qt::Key_P, Qt::AltModifier, TFrmReportPreview::cmPrior, false},
    {Qt::Key_N, Qt::AltModifier, TFrmReportPreview::cmNext, false},
    {Qt::Key_L, Qt::AltModifier, TFrmReportPreview::cmLast, false},
    {Qt::Key_D, Qt::ControlModifier, TFrmReportPreview::cmPdf, false},
    {Qt::Key_H, Qt::ControlModifier, TFrmReportPreview::cmHtml, false},
    {Qt::Key_X, Qt::AltModifier, TFrmReportPreview::cmExit, true},
    {Qt::Key_Escape, Qt::NoModifier, TFrmReportPreview::cmExit, true},
};

// Shift and the keypad do not change what a key means here ("+" is Shift+= on most keyboards).
Qt::KeyboardModifiers CommandModifiers(const QKeyEvent* event) {
  return event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

void WriteBytes(const QString& fileName, const QByteArray& bytes) {
  WriteFileSafely(fileName, bytes);
}
}  // namespace

QString PublisherName() {
  return QStringLiteral("Papyra Software");
}

TFrmReportPreview::TFrmReportPreview(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmReportPreview"));
  AddHelpKey(this, htPreview);
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  setWindowFlag(Qt::WindowMinimizeButtonHint, true);
  FToolBar = new QToolBar(this);
  FToolBar->setObjectName(QStringLiteral("ToolBar"));
  FToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  FToolBar->setFocusPolicy(Qt::NoFocus);
  FView = new TPreviewPageView(this);
  auto* statusBar = new QStatusBar(this);
  statusBar->setObjectName(QStringLiteral("StatusBar"));
  statusBar->setSizeGripEnabled(false);
  FStatus = new QLabel(statusBar);
  FStatus->setObjectName(QStringLiteral("LblStatus"));
  statusBar->addWidget(FStatus, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(FToolBar);
  layout->addWidget(FView, 1);
  layout->addWidget(statusBar);

  CreateActions();
  CreatePopup();
  connect(FView, &TPreviewPageView::WheelSteps, this, &TFrmReportPreview::ScrollLines);
  FView->SetReader(&FReader);
  FView->SetZoom(FZoom);
  FView->setFocus();
  resize(800, 600);
  UpdateStatus();
  UpdateButtons();
}

TFrmReportPreview::~TFrmReportPreview() = default;

void TFrmReportPreview::CreateActions() {
  for (int i = 0; i < cmCount; ++i) {
    const TCommandText& t = kCommands[i];
    QAction* action = FToolBar->addAction(QString::fromLatin1(t.caption));
    action->setObjectName(QStringLiteral("Btn") + QLatin1String(t.name));
    action->setToolTip(QString::fromLatin1(t.hint));
    action->setStatusTip(QString::fromLatin1(t.hint));
    const auto command = static_cast<TCommand>(i);
    connect(action, &QAction::triggered, this, [this, command] { Execute(command); });
    FActions[i] = action;
    if (i == cmPrint || i == cmLast || i == cmZoomOut || i == cmHtml) FToolBar->addSeparator();
  }
}

void TFrmReportPreview::CreatePopup() {
  FPopup = new QMenu(this);
  FPopup->setObjectName(QStringLiteral("PopupMenu"));
  for (int i = 0; i < cmCount; ++i) {
    const TCommandText& t = kCommands[i];
    QAction* item = FPopup->addAction(QString::fromLatin1(t.menu));
    item->setObjectName(QStringLiteral("Mnu") + QLatin1String(t.name));
    const auto command = static_cast<TCommand>(i);
    connect(item, &QAction::triggered, this, [this, command] { Execute(command); });
    FMenuActions[i] = item;
    if (i == cmPrint || i == cmLast || i == cmZoomOut || i == cmHtml) FPopup->addSeparator();
  }
  FPerRecipient = new QAction(QStringLiteral("Save one PDF per recipient..."), this);
  FPerRecipient->setObjectName(QStringLiteral("MnuPerRecipient"));
  connect(FPerRecipient, &QAction::triggered, this,
          [this] { TApplication::Guard([this] { PerRecipientClick(); }); });
  // The Save button keeps its click and gains a menu holding the per-recipient choice.
  auto* saveMenu = new QMenu(this);
  saveMenu->setObjectName(QStringLiteral("SaveMenu"));
  saveMenu->addAction(FMenuActions[cmSave]->text(), this, [this] { Execute(cmSave); });
  saveMenu->addAction(FPerRecipient);
  FActions[cmSave]->setMenu(saveMenu);
  if (auto* button = qobject_cast<QToolButton*>(FToolBar->widgetForAction(FActions[cmSave])))
    button->setPopupMode(QToolButton::MenuButtonPopup);
  // The menu shows what the buttons allow at the moment it opens.
  connect(FPopup, &QMenu::aboutToShow, this, [this] {
    for (int i = 0; i < cmCount; ++i) FMenuActions[i]->setEnabled(FActions[i]->isEnabled());
  });
}

void TFrmReportPreview::SetReportSystem(TReportSystem* system) {
  FSystem = system;
  UpdateButtons();
}

void TFrmReportPreview::ApplySettings(const TPreviewSettings& settings) {
  FView->SetMarginPercent(settings.MarginPercent);
  FView->SetShadowDepth(settings.ShadowDepth);
  FView->SetGridLines(settings.GridLines);
  FZoomInc = settings.ZoomInc > 0 ? settings.ZoomInc : 10;
  SetZoom(settings.ZoomFactor);
}

bool TFrmReportPreview::SavingAllowed() const {
  return !FSystem || FSystem->AllowSaving;
}
bool TFrmReportPreview::PrintingAllowed() const {
  return !FSystem || FSystem->AllowPrinting;
}

int TFrmReportPreview::CurrentPage() const {
  return PageCount() > 0 ? FView->Page() + 1 : 0;
}

QString TFrmReportPreview::StatusText() const {
  return FStatus->text();
}

void TFrmReportPreview::LoadSnapshotFile(const QString& fileName) {
  TSnapshotReader reader;
  reader.Open(fileName);
  ShowSnapshot(reader);
}

void TFrmReportPreview::LoadSnapshotBytes(const QByteArray& bytes) {
  TSnapshotReader reader;
  reader.OpenBytes(bytes);
  ShowSnapshot(reader);
}

// The first page is checked before anything changes, so a damaged snapshot leaves the window
// showing what it showed.
void TFrmReportPreview::ShowSnapshot(TSnapshotReader& reader) {
  if (reader.PageCount() > 0) reader.Page(0);
  FReader = std::move(reader);
  FView->SetReader(&FReader);
  GoToPage(0);
}

TReportJob TFrmReportPreview::Job() {
  if (!FReader.IsOpen()) return {};
  return FReader.ReadAll();
}

void TFrmReportPreview::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  SetZoom(kStartZoom);
  UpdateStatus();
  UpdateButtons();
  FView->setFocus();
}

void TFrmReportPreview::UpdateStatus() {
  FStatus->setText(QStringLiteral(" Page %1 of %2").arg(CurrentPage()).arg(PageCount()));
}

void TFrmReportPreview::UpdateButtons() {
  const int page = CurrentPage();
  const int count = PageCount();
  FActions[cmSave]->setEnabled(SavingAllowed());
  FActions[cmPrint]->setEnabled(PrintingAllowed());
  FActions[cmPdf]->setEnabled(PrintingAllowed());
  FActions[cmHtml]->setEnabled(PrintingAllowed());
  FPerRecipient->setVisible(FSystem && FSystem->SaveEachRecipient);
  FPerRecipient->setEnabled(PrintingAllowed());
  FActions[cmFirst]->setEnabled(page > 1);
  FActions[cmPrior]->setEnabled(page > 1);
  FActions[cmNext]->setEnabled(page < count);
  FActions[cmLast]->setEnabled(page < count);
}

void TFrmReportPreview::Execute(TCommand command) {
  if (FActions[command]->isEnabled()) Run(command);
}

void TFrmReportPreview::Run(TCommand command) {
  TApplication::Guard([&] {
    switch (command) {
      case cmOpen:
        OpenClick();
        break;
      case cmSave:
        SaveClick();
        break;
      case cmPrint:
        PrintClick();
        break;
      case cmFirst:
        GoToPage(0);
        break;
      case cmPrior:
        GoToPage(FView->Page() - 1);
        break;
      case cmNext:
        GoToPage(FView->Page() + 1);
        break;
      case cmLast:
        GoToPage(PageCount() - 1);
        break;
      case cmZoomIn:
        SetZoom(std::min(kMaxZoom, FZoom + FZoomInc));
        break;
      case cmZoomOut:
        if (FZoom > kMinZoom) SetZoom(std::max(kMinZoom, FZoom - FZoomInc));
        break;
      case cmPdf:
        PdfClick();
        break;
      case cmHtml:
        HtmlClick();
        break;
      case cmExit:
        close();
        break;
      case cmCount:
        break;
    }
  });
  UpdateButtons();
}

void TFrmReportPreview::GoToPage(int index, bool atBottom) {
  if (index >= 0 && index < PageCount()) FReader.Page(index);  // a damaged page throws here
  FView->SetPage(index);
  FView->SetScrollY(atBottom ? FView->MaxScrollY() : 0);
  UpdateStatus();
  UpdateButtons();
}

void TFrmReportPreview::SetZoom(int zoom) {
  FZoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  FView->SetZoom(FZoom);
}

// ---- keys and scrolling ------------------------------------------------------------------------

void TFrmReportPreview::keyPressEvent(QKeyEvent* event) {
  if (HandleCommandKey(event) || HandleScrollKey(event)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TFrmReportPreview::HandleCommandKey(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = CommandModifiers(event);
  if (mods == Qt::NoModifier && (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Minus)) {
    Execute(event->key() == Qt::Key_Plus ? cmZoomIn : cmZoomOut);
    return true;
  }
  for (const TCommandKey& k : kCommandKeys) {
    if (event->key() != k.key || mods != k.modifiers) continue;
    // Open, Save and the exit keys act whatever the buttons show; Save still checks its right.
    if (k.always)
      Run(k.command);
    else
      Execute(k.command);
    return true;
  }
  return false;
}

bool TFrmReportPreview::HandleScrollKey(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = CommandModifiers(event);
  const bool plain = mods == Qt::NoModifier || mods == Qt::ControlModifier;
  const bool shifted = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_PageUp:
      if (plain) PageUp();
      return plain;
    case Qt::Key_PageDown:
      if (plain) PageDown();
      return plain;
    case Qt::Key_Up:
      if (plain) ScrollLines(-1);
      return plain;
    case Qt::Key_Down:
      if (plain) ScrollLines(1);
      return plain;
    case Qt::Key_Home:
      if (plain) FView->SetScrollY(0);
      return plain;
    case Qt::Key_End:
      if (plain) FView->SetScrollY(FView->MaxScrollY());
      return plain;
    case Qt::Key_Left:
    case Qt::Key_Right: {
      if (mods != Qt::ControlModifier) return false;
      const int step = shifted ? FView->viewport()->width() : FView->StepSize();
      const int sign = event->key() == Qt::Key_Left ? -1 : 1;
      FView->SetScrollX(std::clamp(FView->ScrollX() + sign * step, 0, FView->MaxScrollX()));
      return true;
    }
    default:
      return false;
  }
}

// Steps down (positive) or up; past the bottom of a page the next one shows from its top, past
// the top the prior one from its bottom.
void TFrmReportPreview::ScrollLines(int steps) {
  const int step = FView->StepSize();
  for (; steps > 0; --steps) {
    if (FView->ScrollY() >= FView->MaxScrollY() && CurrentPage() < PageCount())
      GoToPage(FView->Page() + 1);
    else
      FView->SetScrollY(std::min(FView->MaxScrollY(), FView->ScrollY() + step));
  }
  for (; steps < 0; ++steps) {
    if (FView->ScrollY() <= 0 && CurrentPage() > 1)
      GoToPage(FView->Page() - 1, true);
    else
      FView->SetScrollY(std::max(0, FView->ScrollY() - step));
  }
}

// A window height down; only from the bottom of a page does the next page show, so no part of
// a page is skipped. The last page stops at its bottom.
void TFrmReportPreview::PageDown() {
  const int y = FView->ScrollY();
  const int max = FView->MaxScrollY();
  if (y >= max) {
    if (CurrentPage() < PageCount()) GoToPage(FView->Page() + 1);
    return;
  }
  FView->SetScrollY(std::min(max, y + FView->viewport()->height()));
}

void TFrmReportPreview::PageUp() {
  const int y = FView->ScrollY();
  if (y <= 0) {
    if (CurrentPage() > 1) GoToPage(FView->Page() - 1, true);
    return;
  }
  FView->SetScrollY(std::max(0, y - FView->viewport()->height()));
}

void TFrmReportPreview::contextMenuEvent(QContextMenuEvent* event) {
  FPopup->exec(event->globalPos());
  event->accept();
}

// ---- commands ----------------------------------------------------------------------------------

namespace {
// The extensions a filter list offers, lower case: "pdf" for "... (*.pdf)".
QStringList OfferedExtensions(const QString& filters) {
  static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
  QStringList exts;
  for (auto it = pattern.globalMatch(filters); it.hasNext();)
    exts << it.next().captured(1).toLower();
  return exts;
}

// A name saves in the format its extension names; a name whose extension is none of the
// offered ones ("forms.2025") takes the extension of the file type chosen in the dialog, so the
// file holds what that type promised.
QString WithOfferedExtension(const QString& name, const QString& filters, const QString& chosen,
                             const QString& defaultExt) {
  if (OfferedExtensions(filters).contains(QFileInfo(name).suffix().toLower())) return name;
  const QStringList chosenExts = OfferedExtensions(chosen);
  return name + QLatin1Char('.') + (chosenExts.isEmpty() ? defaultExt : chosenExts.first());
}
}  // namespace

QString TFrmReportPreview::AskSaveName(const QString& title, const QString& filter,
                                       const QString& ext, bool ask) {
  TFileDialogOptions options;
  options.title = title;
  options.filter = filter;
  options.defaultExt = ext;
  options.initialDir = PapyraDocumentsFolder();
  QString chosen;
  options.chosenFilter = &chosen;
  QString name = PromptSaveFileName(options, this);
  if (!name.isEmpty()) name = WithOfferedExtension(name, filter, chosen, ext);
  if (name.isEmpty() || !ask || !QFileInfo::exists(name)) return name;
  const QString question = QStringLiteral("%1 already exists.~Do you want to replace it?")
                               .arg(QFileInfo(name).fileName());
  return MsgBox(question, title, mbYesNoWarnDefNo) == mrYes ? name : QString();
}

void TFrmReportPreview::OpenClick() {
  TFileDialogOptions options;
  options.title = QStringLiteral("Open Saved Report");
  options.filter = QStringLiteral("Snapshot Files (*.snp)");
  options.defaultExt = QString::fromLatin1(SnapshotExtension);
  options.mustExist = true;
  options.initialDir = PapyraDocumentsFolder();
  const QString name = PromptOpenFileName(options, this);
  if (name.isEmpty()) return;
  THourglass wait;
  LoadSnapshotFile(name);
  setWindowTitle(AppTitle() + QStringLiteral(" - ") + QFileInfo(name).fileName());
}

namespace {
// The snapshot first, then every output format the engine can write.
QString SaveFilter() {
  QStringList filters{QStringLiteral("Snapshot Document (*.snp)")};
  for (const TExportFormat& format : ExportFormats()) filters << format.Filter();
  return filters.join(QStringLiteral(";;"));
}

// One PNG file per page: a long job asks before it fills a folder with files.
bool PngPagesAgreed(const QString& fileName, int pages) {
  if (QFileInfo(fileName).suffix().toLower() != QLatin1String("png") || pages <= PngPageLimit)
    return true;
  return MsgBox(QStringLiteral("This report has %1 pages, and the PNG export writes one file per "
                               "page.~Write %1 PNG files?")
                    .arg(pages),
                AppTitle(), mbOkCancelDefCancel) == mrOk;
}

bool IsExportFormat(const QString& fileName) {
  const QString pattern = QStringLiteral("*.") + QFileInfo(fileName).suffix().toLower();
  for (const TExportFormat& format : ExportFormats())
    if (format.Extensions.split(QLatin1Char(' ')).contains(pattern)) return true;
  return false;
}
}  // namespace

// A snapshot is copied byte for byte; a name with the extension of another format renders the
// job in that format.
void TFrmReportPreview::SaveClick() {
  if (!SavingAllowed()) return;
  const QString name = AskSaveName(QStringLiteral("Save to Snapshot Document"), SaveFilter(),
                                   QString::fromLatin1(SnapshotExtension), true);
  if (name.isEmpty() || !PngPagesAgreed(name, PageCount())) return;
  THourglass wait;
  if (IsExportFormat(name))
    ExportJob(Job(), name);
  else
    WriteBytes(name, FReader.Bytes());
}

void TFrmReportPreview::PrintClick() {
  if (!PrintingAllowed()) return;
  TPrinterTarget& target = FSystem ? FSystem->Target() : PrinterTarget();
  if (!PrinterAvailable(target)) return;
  TPagePrinter setup;
  setup.SetPrinterTarget(&target);
  SetPrinterSetup(setup);
  TFrmOutputOptions options(FSystem ? FSystem->JobPrinterSettings() : setup.PrinterSettings(),
                            PageCount(), target, this);
  if (options.exec() != QDialog::Accepted) return;
  TPrinterSettings chosen = options.Result();
  THourglass wait;
  const TReportJob job = Job();
  std::unique_ptr<QPrinter> printer = target.CreatePrinter(chosen, job.Title);
  // A printer that cannot make copies itself gets the pages once per copy.
  if (printer->supportsMultipleCopies() || chosen.Copies <= 1) {
    PrintJob(job, *printer, chosen.FromPage, chosen.ToPage);
    return;
  }
  const int copies = chosen.Copies;
  chosen.Copies = 1;
  printer = target.CreatePrinter(chosen, job.Title);
  PrintJob(job, *printer, chosen.FromPage, chosen.ToPage, copies);
}

void TFrmReportPreview::PdfClick() {
  if (!PrintingAllowed()) return;
  const QString name =
      AskSaveName(QStringLiteral("Save to PDF Document"),
                  QStringLiteral("Adobe Portable Document (*.pdf)"), QStringLiteral("pdf"), true);
  if (name.isEmpty()) return;
  TPdfInfo info;
  info.Title = AppTitle();
  info.Subject = AppTitle() + QStringLiteral(" Adobe Portable Document");
  info.Creator = PublisherName();
  info.Resolution = 300;
  THourglass wait;
  WritePdf(FReader, name, info);
}

void TFrmReportPreview::PerRecipientClick() {
  if (FSystem && FSystem->SaveEachRecipient && PrintingAllowed()) FSystem->SaveEachRecipient(this);
}

void TFrmReportPreview::HtmlClick() {
  if (!PrintingAllowed()) return;
  const QString name =
      AskSaveName(QStringLiteral("Save to HTML Document"), QStringLiteral("Web Document (*.html)"),
                  QStringLiteral("html"), false);
  if (name.isEmpty()) return;
  THourglass wait;
  WriteHtml(Job(), name);
}

// ---- the report systems' preview handler -------------------------------------------------------

namespace {
void CreatePreview(TReportSystem& system, QWidget* owner, QPointer<TFrmReportPreview>& window) {
  delete window.data();
  window = new TFrmReportPreview(owner);
  window->setWindowTitle(system.EffectiveTitlePreview());
  window->resize(system.Preview.Width, system.Preview.Height);
  if (system.Preview.Maximized) {
    // Without a window manager nothing maximises the window: it takes the free area itself.
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
      window->setGeometry(screen->availableGeometry());
    window->setWindowState(Qt::WindowMaximized);
  }
  window->SetReportSystem(&system);
}

void ShowPreview(TReportSystem& system, TFrmReportPreview& window) {
  window.ApplySettings(system.Preview);
  if (system.SnapshotFileName().isEmpty())
    window.LoadSnapshotBytes(system.SnapshotData());
  else
    window.LoadSnapshotFile(system.SnapshotFileName());
  if (system.Preview.Modal)
    window.exec();
  else
    window.show();
}

void WaitForPreview(const QPointer<TFrmReportPreview>& window) {
  constexpr int kPollMs = 250;
  while (window && window->isVisible()) {
    QEventLoop loop;
    QTimer::singleShot(kPollMs, &loop, &QEventLoop::quit);
    loop.exec();
  }
}
}  // namespace

void ReportSystemOverridePreview(TReportSystem& system, int mode, QWidget* owner,
                                 QPointer<TFrmReportPreview>& window) {
  switch (mode) {
    case pmCreate:
      CreatePreview(system, owner, window);
      break;
    case pmShow:
      if (window) ShowPreview(system, *window);
      break;
    case pmWait:
      WaitForPreview(window);
      break;
    case pmFree:
      // The window reads a file snapshot page by page from its open handle, closed with it.
      delete window.data();
      break;
    default:
      break;
  }
}

void InstallPreviewWindow(TReportSystem& system, QWidget* owner) {
  auto window = std::make_shared<QPointer<TFrmReportPreview>>();
  QPointer<QWidget> guardedOwner(owner);
  system.OverridePreview = [window, guardedOwner](TReportSystem& rs, int mode) {
    ReportSystemOverridePreview(rs, mode, guardedOwner.data(), *window);
  };
}
