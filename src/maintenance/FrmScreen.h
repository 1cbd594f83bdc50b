#pragma once
// What the data screens share: the dialog frame without system buttons, the screen font, the
// help button and F1, centring, and the one rule of leaving: a screen closes only when its
// FormCloseQuery lets it, whichever way the user tries (Ok, Escape, the window manager).
#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <memory>

class QPushButton;

// A fixed dialog frame with a caption and no close, minimise or maximise box.
Qt::WindowFlags FixedDialogFlags();
// "Tahoma" 8 point, the font every data screen is laid out for.
QFont ScreenFont();
void CentreOnScreen(QWidget* window);
// The picture of the help buttons, drawn so it stays sharp at any scale.
QIcon HelpButtonIcon();
// A flat button with the help picture and the hint "Help with this form".
QPushButton* NewHelpButton(QWidget* parent);
// A flat text button that Enter does not press (Enter moves between fields on these screens).
QPushButton* NewFlatButton(const QString& caption, QWidget* parent);

class TFrmScreen : public QDialog {
  Q_OBJECT
 public:
  TFrmScreen(QWidget* parent, int helpContext);
  int HelpContext() const { return FHelpContext; }
  void BtnHelpClick();

 protected:
  // Runs before the screen closes; throwing (a failed validation) keeps it open. The message is
  // shown by the application's general error display.
  virtual void FormCloseQuery() {}
  void done(int result) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  int FHelpContext;
  bool FCentred = false;
};

// Creates a screen for one modal showing and releases it when it closes.
template <typename TScreen>
int ShowModalScreen() {
  auto screen = std::make_unique<TScreen>(QApplication::activeWindow());
  return screen->exec();
}
