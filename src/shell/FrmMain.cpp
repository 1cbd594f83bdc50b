#include "shell/FrmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/Utils.h"
#include "forms/FormRegistry.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "shell/FrmWelcome.h"
#include "shell/Icons.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecentFiles.h"

TFrmMain* FrmMain = nullptr;
bool TFrmMain::ShowSplash = true;

const char* const DataMenuItems[] = {
    "MnuSaveAs",          "MnuBackup",          "MnuRestore",
    "MnuClose",           "MnuPayer",           "MnuPayee",
    "MnuPrintSetup",      "MnuPrintLabels",     "MnuPassword",
    "MnuImportPayees",    "MnuExportPayees",    "MnuCheckBeforeFiling",
    "MnuTinMatchRequest", "MnuTinMatchResults", nullptr};

namespace {
const QString kVersion = QStringLiteral("2025.00");

// The Form 1096 summarises the form type chosen on its own screen; the per-payee forms come from
// the registry.
const TFormMenu k1096Menu = {"Mnu1096", "109&6", "Btn1096", "Edit Form 1096", "form:1096"};

// The Form 1096 first, then every form of the registry.
std::vector<const TFormMenu*> FormMenus() {
  std::vector<const TFormMenu*> menus = {&k1096Menu};
  for (const TFormDef* def : FormDefs()) menus.push_back(&def->Menu);
  return menus;
}

const char* const kFileButtons[] = {"BtnPayer", "BtnPayee", "BtnBackup", "BtnRestore", "BtnSaveAs"};
}  // namespace

QStringList DataButtons() {
  QStringList buttons;
  for (const char* b : kFileButtons) buttons << QLatin1String(b);
  for (const TFormMenu* m : FormMenus()) buttons << QLatin1String(m->Button);
  return buttons;
}

bool ScreenSizeAccepted(int width, int height) {
  return width >= 1024 || height >= 768;
}

bool ScreenSizeAccepted(QSizeF logical, qreal devicePixelRatio) {
  const QSize device = (logical * devicePixelRatio).toSize();
  return ScreenSizeAccepted(device.width(), device.height());
}

TFrmMain::TFrmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("FrmMain"));
  FrmMain = this;
  setWindowTitle(QStringLiteral("Papyra Version ") + kVersion);
  BuildMenus();
  BuildButtonBar();
  BuildMessagePanel();
  AddHelpKey(this, htContents);
  // Fixed single border, minimise only: the window is a hub, not a workspace.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(632, 426 + menuBar()->sizeHint().height());
  if (const QScreen* screen = QApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

TFrmMain::~TFrmMain() {
  if (FrmMain == this) FrmMain = nullptr;
}

QAction* TFrmMain::AddAction(QMenu* menu, const QString& name, const QString& caption,
                             const QKeySequence& shortcut, std::function<void()> slot) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  if (!shortcut.isEmpty()) a->setShortcut(shortcut);
  connect(a, &QAction::triggered, this, [slot]() { TApplication::Guard(slot); });
  FActions.insert(name, a);
  return a;
}

void TFrmMain::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("MnuFile"));
  AddAction(file, "MnuOpen", "&Open...", QKeySequence("Ctrl+O"), [this] { MnuOpenClick(); });
  AddAction(file, "MnuNew", "&New...", QKeySequence("Ctrl+N"), [this] { MnuNewClick(); });
  AddAction(file, "MnuSaveAs", "Save &As...", QKeySequence("Ctrl+A"), [this] { MnuSaveAsClick(); });
  AddAction(file, "MnuBackup", "&Backup...", QKeySequence("Ctrl+B"),
            [this] { RunScreen("Backup"); });
  AddAction(file, "MnuRestore", "&Restore...", QKeySequence("Ctrl+R"),
            [this] { RunScreen("Restore"); });
  AddAction(file, "MnuClose", "&Close Payer File", QKeySequence("Ctrl+F4"),
            [this] { MnuCloseClick(); });
  file->addSeparator();
  AddAction(file, "MnuPayer", "&Payer", QKeySequence("Ctrl+P"), [this] {
    RunScreen("Payer");
    UpdateFormCaption();
  });
  AddAction(file, "MnuPayee", "Paye&e", QKeySequence("Ctrl+E"), [this] { RunScreen("Payee"); });
  AddAction(file, "MnuImportPayees", "&Import Payees...", {},
            [this] { RunScreen("ImportPayees"); });
  AddAction(file, "MnuExportPayees", "Expor&t Payees...", {},
            [this] { RunScreen("ExportPayees"); });
  file->addSeparator();
  AddAction(file, "MnuPrintSetup", "Print &Setup", {}, [this] { RunScreen("PrintSetup"); });
  AddAction(file, "MnuPrintLabels", "Print &Labels", {}, [this] { RunScreen("PrintLabels"); });
  file->addSeparator();
  for (int i = 0; i < 10; ++i) {
    QAction* a = AddAction(file, QStringLiteral("MnuMRU%1").arg(i), QString(), {},
                           [this, i] { MnuMRUClick(i); });
    a->setData(i);
    a->setVisible(false);
    FMRU.append(a);
  }
  FMRULine = file->addSeparator();
  FMRULine->setObjectName(QStringLiteral("MnuMRULine"));
  FMRULine->setVisible(false);
  AddAction(file, "MnuExit", "E&xit", QKeySequence("Ctrl+X"), [this] { MnuExitClick(); });

  QMenu* forms = menuBar()->addMenu(QStringLiteral("F&orms"));
  forms->setObjectName(QStringLiteral("MnuForms"));
  AddAction(forms, k1096Menu.Item, k1096Menu.Caption, {}, [this] { RunScreen("1096"); });
  for (const TFormDef* def : FormDefs()) {
    const uint8_t type = def->FormType;
    const QString command = QString::fromLatin1(def->Tag);
    AddAction(forms, def->Menu.Item, def->Menu.Caption, {}, [this, type, command] {
      CurrentFormType = type;
      RunScreen(command);
    });
  }

  QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
  tools->setObjectName(QStringLiteral("MnuTools"));
  AddAction(tools, "MnuTransfer", "&Transfer", {}, [this] { MnuTransferClick(); });
  tools->addSeparator();
  AddAction(tools, "MnuCheckBeforeFiling", "&Check Before Filing...", {},
            [this] { RunScreen("CheckBeforeFiling"); });
  AddAction(tools, "MnuTinMatchRequest", "TIN Matching &Request...", {},
            [this] { RunScreen("TinMatchRequest"); });
  AddAction(tools, "MnuTinMatchResults", "TIN Matching R&esults...", {},
            [this] { RunScreen("TinMatchResults"); });
  tools->addSeparator();
  AddAction(tools, "MnuPassword", "&Password...", {}, [this] { RunScreen("Password"); });

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("MnuHelp"));
  AddAction(help, "MnuContents", "&Contents", {}, [] { ShowHelp(1); });
  AddAction(help, "MnuTechnicalSupport", "&Technical Support", {}, [] { ShowHelp(2); });
  AddAction(help, "MnuLicenseAgreement", "&License Agreement", {}, [] { ShowHelp(3); });
  QMenu* irs = help->addMenu(QStringLiteral("&IRS Instructions"));
  irs->setObjectName(QStringLiteral("MnuIRSInstructions"));
  for (const TFormDef* def : FormDefs()) {
    const TInstructionsMenu& ins = def->InstructionsMenu;
    if (!ins.Item) continue;  // the form shares the instructions of one before it
    const QString fileName = QString::fromLatin1(def->Instructions);
    const QStringList forms = QString::fromLatin1(ins.Forms).split(QLatin1Char(' '));
    AddAction(irs, ins.Item, ins.Caption, {},
              [this, fileName, forms] { OpenIRSInstructions(fileName, forms); });
  }
  help->addSeparator();
  AddAction(help, "MnuWebUpdate", "&Web Update", {}, [this] { RunScreen("WebUpdate"); });
  help->addSeparator();
  AddAction(help, "MnuAbout", "&About...", {}, [this] { MnuAboutClick(); });
}

void TFrmMain::AddButton(const QString& name, const QString& hint, const QString& glyph,
                         const QString& command) {
  QToolBar* bar = findChild<QToolBar*>(QStringLiteral("ButtonBar"));
  auto* b = new QToolButton(bar);
  b->setObjectName(name);
  b->setToolTip(hint);
  b->setIcon(ButtonIcon(glyph));
  b->setIconSize(QSize(24, 24));
  b->setFixedSize(30, 30);
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  connect(b, &QToolButton::clicked, this, [this, command] {
    if (QAction* a = Action(command)) a->trigger();
  });
  bar->addWidget(b);
  FButtons.insert(name, b);
}

void TFrmMain::BuildButtonBar() {
  auto* bar = new QToolBar(this);
  bar->setObjectName(QStringLiteral("ButtonBar"));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, bar);
  AddButton("BtnOpen", "Open Payer File", "open", "MnuOpen");
  AddButton("BtnNew", "New Payer File", "new", "MnuNew");
  AddButton("BtnPayer", "Edit Payer Data", "payer", "MnuPayer");
  AddButton("BtnPayee", "Edit Payee Data", "payee", "MnuPayee");
  AddButton("BtnBackup", "Backup Payer File", "backup", "MnuBackup");
  AddButton("BtnRestore", "Restore Payer File", "restore", "MnuRestore");
  AddButton("BtnSaveAs", "Save Payer File As", "saveas", "MnuSaveAs");
  for (const TFormMenu* m : FormMenus()) AddButton(m->Button, m->Hint, m->Glyph, m->Item);
  AddButton("BtnHelp", "Help", "help", "MnuContents");
}

void TFrmMain::BuildMessagePanel() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("ClientArea"));
  auto* outer = new QVBoxLayout(central);
  FMessagePanel = new QFrame(central);
  FMessagePanel->setObjectName(QStringLiteral("MessagePanel"));
  FMessagePanel->setFixedSize(420, 150);
  FMessagePanel->setFrameShape(QFrame::Panel);
  FMessagePanel->setFrameShadow(QFrame::Raised);
  FMessagePanel->setAutoFillBackground(true);
  FMessagePanel->setStyleSheet(
      QStringLiteral("#MessagePanel{background:#008080;border:2px outset #40A0A0;}"
                     "#MessagePanel QLabel{color:white;background:transparent;}"));
  auto* inner = new QVBoxLayout(FMessagePanel);
  auto* title = new QLabel(QStringLiteral("There is no Payer file open"), FMessagePanel);
  title->setObjectName(QStringLiteral("LblNoFile"));
  QFont big = title->font();
  big.setPointSize(14);
  big.setBold(true);
  title->setFont(big);
  title->setAlignment(Qt::AlignCenter);
  inner->addWidget(title);
  for (const char* line : {"To create a new payer, select New from the File menu.",
                           "To open an existing payer, select Open from the File menu."}) {
    auto* l = new QLabel(QString::fromLatin1(line), FMessagePanel);
    l->setAlignment(Qt::AlignCenter);
    inner->addWidget(l);
  }
  outer->addStretch();
  outer->addWidget(FMessagePanel, 0, Qt::AlignCenter);
  outer->addStretch();
  setCentralWidget(central);
}

QAction* TFrmMain::Action(const QString& name) const {
  return FActions.value(name);
}
QToolButton* TFrmMain::Button(const QString& name) const {
  return FButtons.value(name);
}

void TFrmMain::SetScreen(const QString& command, TScreen screen) {
  FScreens.insert(command, std::move(screen));
  EnableMenuItems(FileIsOpen);
}

void TFrmMain::RunScreen(const QString& command) {
  const TScreen screen = FScreens.value(command);
  if (screen) screen();
}

// A data command is enabled when a file is open and its screen is part of this build.
void TFrmMain::EnableMenuItems(bool enable) {
  auto commandOf = [](const QString& item) { return item.mid(3); };
  for (int i = 0; DataMenuItems[i]; ++i) {
    const QString item = QString::fromLatin1(DataMenuItems[i]);
    const QString cmd = commandOf(item);
    const bool builtIn = cmd == QLatin1String("SaveAs") || cmd == QLatin1String("Close");
    if (QAction* a = Action(item)) a->setEnabled(enable && (builtIn || HasScreen(cmd)));
  }
  if (QMenu* forms = findChild<QMenu*>(QStringLiteral("MnuForms"))) {
    forms->setEnabled(enable);
    for (const TFormMenu* m : FormMenus())
      Action(m->Item)->setEnabled(enable && HasScreen(commandOf(QString::fromLatin1(m->Item))));
  }
  for (const QString& button : DataButtons()) {
    QAction* a = Action(QStringLiteral("Mnu") + button.mid(3));
    Button(button)->setEnabled(enable && (!a || a->isEnabled()));
  }
  Action("MnuTransfer")->setEnabled(HasScreen("Transfer"));
  Action("MnuWebUpdate")->setEnabled(HasScreen("WebUpdate"));
  FMessagePanel->setVisible(!enable);
}

void TFrmMain::UpdateFormCaption() {
  // A title bar shows "&" literally, unlike menus and labels, so the name is not doubled here.
  if (FileIsOpen)
    setWindowTitle(
        QStringLiteral("Papyra Version %1 - %2").arg(kVersion, PayerRec.GetString("PayerName")));
  else
    setWindowTitle(QStringLiteral("Papyra Version ") + kVersion);
}

void TFrmMain::RefreshRecentMenu() {
  for (int i = 0; i < 10; ++i) {
    const QString entry = i < RecentFiles.size() ? RecentFiles[i] : QString();
    FMRU[i]->setText(QStringLiteral("&%1 ").arg(i) + DoubleAmpersands(entry));
    FMRU[i]->setVisible(!entry.isEmpty());
  }
  FMRULine->setVisible(FMRU[0]->isVisible());
}
