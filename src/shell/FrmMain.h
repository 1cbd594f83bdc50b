#pragma once
// The main window: menus and a button bar from which every screen opens modally, a panel that
// says when no payer file is open, and a caption naming the open payer.
#include <QHash>
#include <QMainWindow>
#include <QSizeF>
#include <QStringList>
#include <functional>

class QAction;
class QFrame;
class QMenu;
class QToolButton;

class TFrmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TFrmMain(QWidget* parent = nullptr);
  ~TFrmMain() override;

  void EnableMenuItems(bool enable);
  void UpdateFormCaption();
  void RefreshRecentMenu();

  // The sequence that runs when the window is first shown; tests call it directly.
  void FormShow(const QStringList& arguments);
  // The sequence that runs when the window closes (also reached through Exit).
  void FormClose();

  // Screens of other subsystems plug in here; a command with no screen stays disabled.
  using TScreen = std::function<void()>;
  void SetScreen(const QString& command, TScreen screen);
  bool HasScreen(const QString& command) const { return FScreens.contains(command); }

  QAction* Action(const QString& name) const;
  QToolButton* Button(const QString& name) const;
  QFrame* MessagePanel() const { return FMessagePanel; }

  // File commands.
  void MnuOpenClick();
  void MnuNewClick();
  void MnuSaveAsClick();
  void MnuCloseClick();
  void MnuMRUClick(int index);
  void MnuExitClick();
  void MnuAboutClick();
  void MnuTransferClick();
  void OpenIRSInstructions(const QString& fileName, const QStringList& forms);

  // Off in tests and in batch use: no 2-second pause.
  static bool ShowSplash;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildButtonBar();
  void BuildMessagePanel();
  QAction* AddAction(QMenu* menu, const QString& name, const QString& caption,
                     const QKeySequence& shortcut, std::function<void()> slot);
  void AddButton(const QString& name, const QString& hint, const QString& glyph,
                 const QString& command);
  void RunScreen(const QString& command);
  void OpenPayeeFile(const QString& path);
  void AfterOpen();
  void RestoreCurrentFolder();

  QHash<QString, QAction*> FActions;
  QHash<QString, QToolButton*> FButtons;
  QHash<QString, TScreen> FScreens;
  QList<QAction*> FMRU;
  QAction* FMRULine = nullptr;
  QFrame* FMessagePanel = nullptr;
  bool FShown = false;
  bool FClosed = false;
};

extern TFrmMain* FrmMain;

// A screen narrower than 1024 pixels and at the same time lower than 768 is too small.
bool ScreenSizeAccepted(int width, int height);
// The same for a screen of this size in its own (scaled) pixels: the size that counts is that in
// device pixels, so a large screen at 200 % is not refused as a small one.
bool ScreenSizeAccepted(QSizeF logical, qreal devicePixelRatio);

// Data commands that EnableMenuItems switches together.
extern const char* const DataMenuItems[];
// The tool buttons of the data commands: the file's and one per form.
QStringList DataButtons();
