#include "shell/FrmTransfer.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "shell/FrmMain.h"
#include "shell/FrmWelcome.h"
#include "shell/Transfer.h"
#include "storage/Globals.h"

namespace {
const char* const kIntro =
    "This utility will transfer your 2024 data files to the 2025 version format. In the\n"
    "field below,  enter the complete path to your 2024  data files  (if it is different\n"
    "from the default  path),  click Ok,  select  the files to be transferred  and then\n"
    "click Transfer to begin the transfer process.";

const char* const kOverwriteWarning =
    "                          WARNING!~~Unchecking this box will cause the transfer process~to  "
    "overwrite  any  data file with the same name as~the file being transferred.~~This may "
    "result in LOSS OF DATA, are you sure?";

// Lets the message window be read before and after the run; user input waits meanwhile.
void Pause(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

QPushButton* NewButton(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromLatin1(caption), parent);
  b->setObjectName(QLatin1String(name));
  b->setAutoDefault(false);
  return b;
}

// A button's click runs as a command: what it raises is shown by the general error display.
template <typename F>
void OnClick(QPushButton* button, QObject* context, F handler) {
  QObject::connect(button, &QPushButton::clicked, context,
                   [handler] { TApplication::Guard(handler); });
}
}  // namespace

TFrmTransfer::TFrmTransfer(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName(QStringLiteral("FrmTransfer"));
  setWindowTitle(QStringLiteral("Papyra Transfer Utility"));
  BuildControls();
  ConnectControls();
}

void TFrmTransfer::BuildControls() {
  Path = new QLineEdit(this);
  Path->setObjectName(QStringLiteral("Path"));
  BtnBrowse = NewButton(this, "BtnBrowse", "&Browse");
  BtnOk = NewButton(this, "BtnOk", "&Ok");
  FileListBox = new QListWidget(this);
  FileListBox->setObjectName(QStringLiteral("FileListBox"));
  FileListBox->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FileListBox->setEnabled(false);
  LblAlreadyTransferred = new QLabel(QStringLiteral("* = Already transferred"), this);
  LblAlreadyTransferred->setObjectName(QStringLiteral("LblAlreadyTransferred"));
  LblAlreadyTransferred->setVisible(false);
  ChkNoOverwrite = new QCheckBox(QStringLiteral("Do not overwrite files"), this);
  ChkNoOverwrite->setObjectName(QStringLiteral("ChkNoOverwrite"));
  ChkNoOverwrite->setChecked(true);
  BtnSelectAll = NewButton(this, "BtnSelectAll", "Select &All");
  BtnDeselectAll = NewButton(this, "BtnDeselectAll", "&Deselect All");
  BtnTransfer = NewButton(this, "BtnTransfer", "&Transfer");
  for (QPushButton* b : {BtnSelectAll, BtnDeselectAll, BtnTransfer}) b->setEnabled(false);
  BtnHelp = NewButton(this, "BtnHelp", "&Help");
  BtnHelp->setToolTip(QStringLiteral("Form Help"));
  BtnCancel = NewButton(this, "BtnCancel", "&Cancel");
  StatusBar = new QStatusBar(this);
  StatusBar->setObjectName(QStringLiteral("StatusBar"));
  StatusBar->setSizeGripEnabled(false);
  FStatusPanel = new QLabel(StatusBar);
  FStatusPanel->setObjectName(QStringLiteral("StatusPanel"));
  StatusBar->addWidget(FStatusPanel, 1);
  SetStatusText(QStringLiteral(" 0 files selected"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromLatin1(kIntro), this));
  layout->addWidget(new QLabel(
      QStringLiteral("NOTE: Your 2024 data files will be unaffected by this process."), this));
  layout->addLayout(PathRow());
  auto* middle = new QHBoxLayout();
  auto* list = new QVBoxLayout();
  list->addWidget(FileListBox, 1);
  list->addWidget(LblAlreadyTransferred);
  list->addWidget(ChkNoOverwrite);
  middle->addLayout(list, 1);
  middle->addLayout(ButtonColumn());
  layout->addLayout(middle, 1);
  layout->addWidget(StatusBar);
  resize(560, 420);
}

QLayout* TFrmTransfer::PathRow() {
  auto* row = new QHBoxLayout();
  row->addWidget(Path, 1);
  row->addWidget(BtnBrowse);
  row->addWidget(BtnOk);
  return row;
}

QLayout* TFrmTransfer::ButtonColumn() {
  auto* column = new QVBoxLayout();
  for (QPushButton* b : {BtnSelectAll, BtnDeselectAll, BtnTransfer}) column->addWidget(b);
  column->addStretch();
  for (QPushButton* b : {BtnHelp, BtnCancel}) column->addWidget(b);
  return column;
}

void TFrmTransfer::ConnectControls() {
  OnClick(BtnBrowse, this, [this] { BtnBrowseClick(); });
  OnClick(BtnOk, this, [this] { BtnOkClick(); });
  OnClick(BtnSelectAll, this, [this] { BtnSelectAllClick(); });
  OnClick(BtnDeselectAll, this, [this] { BtnDeselectAllClick(); });
  OnClick(BtnTransfer, this, [this] { BtnTransferClick(); });
  OnClick(BtnHelp, this, [this] { BtnHelpClick(); });
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  // clicked, not toggled: only the user's own change asks, never the box checked back.
  connect(ChkNoOverwrite, &QCheckBox::clicked, this, [this] { ChkNoOverwriteClick(); });
  connect(FileListBox, &QListWidget::itemSelectionChanged, this, [this] { FileListBoxClick(); });
}

void TFrmTransfer::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (FShown) return;
  FShown = true;
  FormShow();
}

void TFrmTransfer::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1) {
    BtnHelpClick();
    return;
  }
  // Escape must not leave in the middle of a run.
  if (event->key() == Qt::Key_Escape && !BtnCancel->isEnabled()) return;
  QDialog::keyPressEvent(event);
}

void TFrmTransfer::FormShow() {
  if (IsBlank(Path->text()))
    Path->setText(AddPathDelimiter(DocumentsFolder) + QStringLiteral("Papyra/2024/Data"));
}

void TFrmTransfer::BtnBrowseClick() {
  QString folder = Path->text();
  if (PromptFolder(QStringLiteral("Select the location of your 2024 client files"), folder))
    Path->setText(folder);
}

void TFrmTransfer::BtnOkClick() {
  if (IsBlank(Path->text()))
    throw ETransferException(QStringLiteral("Path to 2024 data files is missing"));
  Path->setText(AddPathDelimiter(Path->text()));
  const QString folder = TrimText(Path->text());
  if (CountFiles(folder + QStringLiteral("*.PR24")) == 0)
    throw ETransferException(QStringLiteral("2024 data files not found in specified location"));
  FPriorFolder = folder;
  for (QWidget* w : std::initializer_list<QWidget*>{Path, BtnBrowse, BtnOk}) w->setEnabled(false);
  FileListBox->setEnabled(true);
  BtnSelectAll->setEnabled(true);
  LblAlreadyTransferred->setVisible(true);
  FileListBox->addItems(PriorYearPayerFiles(FPriorFolder, DataFolder));
  FileListBox->setFocus();
}

void TFrmTransfer::FileListBoxClick() {
  const int selected = static_cast<int>(FileListBox->selectedItems().size());
  BtnSelectAll->setEnabled(selected < FileListBox->count());
  BtnDeselectAll->setEnabled(selected > 0);
  BtnTransfer->setEnabled(selected > 0);
  SetStatusText(selected == 1 ? QStringLiteral(" 1 file selected")
                              : QStringLiteral(" %1 files selected").arg(selected));
}

void TFrmTransfer::BtnSelectAllClick() {
  FileListBox->selectAll();
  FileListBoxClick();
}

void TFrmTransfer::BtnDeselectAllClick() {
  FileListBox->clearSelection();
  FileListBoxClick();
}

void TFrmTransfer::ChkNoOverwriteClick() {
  if (ChkNoOverwrite->isChecked()) return;
  if (MsgBox(QString::fromLatin1(kOverwriteWarning), AppTitle(), mbYesNoWarnDefNo) != mrYes)
    ChkNoOverwrite->setChecked(true);
}

void TFrmTransfer::BtnHelpClick() {
  ShowHelp(HelpContext);
}

QString TFrmTransfer::StatusText() const {
  return FStatusPanel->text();
}

void TFrmTransfer::SetStatusText(const QString& text) {
  FStatusPanel->setText(text);
}

void TFrmTransfer::EnterTransferState() {
  for (QWidget* w : std::initializer_list<QWidget*>{BtnCancel, FileListBox, ChkNoOverwrite,
                                                    LblAlreadyTransferred, BtnSelectAll,
                                                    BtnDeselectAll, BtnTransfer})
    w->setEnabled(false);
}

void TFrmTransfer::TransferSelected() {
  for (int row = 0; row < FileListBox->count(); ++row) {
    const QListWidgetItem* item = FileListBox->item(row);
    if (!item->isSelected()) continue;
    QString name = item->text();
    if (name.startsWith(QLatin1Char('*'))) name.remove(0, 1);
    if (TransferPayerFile(FPriorFolder, name, DataFolder, ChkNoOverwrite->isChecked(), &FLeftEmpty))
      ++FFilesTransferred;
  }
}

// The same ending after a complete run and after one that an unreadable or unwritable file
// stopped: the count of what was written, and Exit as the way out.
void TFrmTransfer::FinishTransfer() {
  SetStatusText(StatusText() + (FFilesTransferred == 1 ? QStringLiteral(" - %1 file transferred")
                                                       : QStringLiteral(" - %1 files transferred"))
                                   .arg(FFilesTransferred));
  BtnCancel->setEnabled(true);
  BtnCancel->setText(QStringLiteral("E&xit"));
  BtnCancel->setDefault(true);
  const QSignalBlocker quiet(FileListBox);
  FileListBox->clearSelection();
  ShowLeftEmpty();
}

// A value last year's file held that this year's record may not is not carried silently: the
// user learns which payee and field to fill in again.
void TFrmTransfer::ShowLeftEmpty() {
  if (FLeftEmpty.isEmpty()) return;
  constexpr int kShown = 15;
  QStringList lines = FLeftEmpty.mid(0, kShown);
  if (FLeftEmpty.size() > kShown)
    lines << QStringLiteral("... and %1 more").arg(FLeftEmpty.size() - kShown);
  MsgBox(QStringLiteral("These values of the 2024 files cannot be stored in the 2025 files and "
                        "were left empty; enter them again on the payer and payee screens:~~") +
             lines.join(QLatin1Char('~')),
         AppTitle(), mbWarning);
  FLeftEmpty.clear();
}

void TFrmTransfer::BtnTransferClick() {
  EnterTransferState();
  TFrmMsgWin::ShowMessage(AppTitle(), QStringLiteral("Transferring files... please wait"));
  THourglass hourglass;
  TScopeCleanup finish([this] {
    TFrmMsgWin::CloseMessage();
    FinishTransfer();
  });
  Pause(500);
  FFilesTransferred = 0;
  FLeftEmpty.clear();
  TransferSelected();
  Pause(500);
}

void ShowTransferScreen() {
  TFrmTransfer frm(FrmMain);
  frm.exec();
}
