#pragma once
// What the data screens share: the dialog frame without system buttons, the screen font, the
// help button and F1, Enter and Escape, centring, the validation's checks, and the one rule of
// leaving: a screen closes only when its FormCloseQuery lets it, whichever way the user tries (Ok,
// Escape, the window manager).
#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <functional>
#include <memory>
#include <span>

#include "core/EntryChecks.h"
#include "storage/RecordLayout.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TEnterAsTab;
class TFilterEdit;
class TStateEdit;

// A fixed dialog frame with a caption and no close, minimise or maximise box.
Qt::WindowFlags FixedDialogFlags();
// "Tahoma" 8 point, the font every data screen is laid out for.
QFont ScreenFont();
void CentreOnScreen(QWidget* window);
// The picture of the help buttons, drawn so it stays sharp at any scale.
QIcon HelpButtonIcon();
// A flat button with the help picture and the hint "Help with this form".
QPushButton* NewHelpButton(QWidget* parent);
// A flat text button that Enter does not press.
QPushButton* NewFlatButton(const QString& caption, QWidget* parent);
// A text button that Enter does not press (Enter moves between fields on these screens).
QPushButton* NewButton(const char* name, const QString& caption, QWidget* parent);

// Controls as the data screens create them: named after their record field, with the field's
// width as maximum length.
QLabel* NewLabel(const QString& text, QWidget* parent);
QLineEdit* NewEdit(const char* name, int maxLength, QWidget* parent);
TFilterEdit* NewFilterEdit(const char* name, int maxLength, const QString& validChars,
                           QWidget* parent);
TStateEdit* NewStateEdit(const char* name, bool okToDel, QWidget* parent);
// A masked edit over a mask of digits and dashes such as "000-000-0000": unfilled positions
// show (and are stored) as spaces, the dashes always.
QLineEdit* NewMaskedEdit(const char* name, const QString& digitMask, QWidget* parent);
// The masked edit's text as stored: dashes and spaces included.
QString MaskedText(const QLineEdit* edit);
// Texts longer than their edits show from their first character, not scrolled to their end.
void ShowTextsFromStart(QWidget* screen);
// The selected state code as stored; empty when none is selected.
QString StateCode(const TStateEdit* edit);
bool NoState(const TStateEdit* edit);
// The keys of a data screen: Enter moves to the next field and Escape asks the screen to close.
TEnterAsTab* NewEnterAsTab(QWidget* screen);
// Chains the controls in this tab order.
void SetTabChain(std::initializer_list<QWidget*> order);

// One check of a screen's validation: when Fails answers true, the focus goes to Focus and
// Message is the error.
struct TFieldCheck {
  std::function<bool()> Fails;
  QWidget* Focus;
  const char* Message;
  // For a check that refuses a value: the form of a good one ("type it as 217-555-0123"); the
  // message then names the value entered and this form after it.
  const char* Expected = nullptr;
};
// Runs the checks in order; the first that fails throws EFieldException with its message.
void RunFieldChecks(std::initializer_list<TFieldCheck> checks);

// A screen's controls as the entries of a payee: each control is found by its objectName, the
// record field it edits. A state list answers its selected code, a check box or check mark its
// state, a money box its value, any other edit its text; Label reads a label of that name.
class TScreenEntries : public TPayeeEntries {
 public:
  explicit TScreenEntries(const QWidget* screen) : FScreen(screen) {}
  QString Text(const QString& field) const override;
  double Money(const QString& field) const override;
  bool Flag(const QString& field) const override;
  QString Label(const QString& label) const override;
  bool Filled(const QString& field) const override;
  // The control that edits the field (not a label of the same name); nullptr when none.
  QWidget* Control(const QString& name) const;

 private:
  const QWidget* FScreen;
};
// A failed check as the screen shows it: the focus on its field (when the check moves it), then
// EFieldException with its message. Nothing when the check passed.
void RaiseFieldProblem(const TCheckResult& problem, QWidget* screen);

// A field a screen stores, the control that edits it and the words its messages name it by.
struct TStoredField {
  const char* Field;
  const char* Control;
  const char* Subject;  // "Payee's trade name", "Box 9a Your percentage of total distribution"
};
// Asks the record model about what the screen is about to store: the first field whose value
// may not be stored puts the focus on its control and raises EFieldException, "<subject>
// <reason>". A screen runs its own checks first, so their messages come before these.
void RaiseStoredProblem(const TRecordLayout& layout, const uint8_t* record,
                        std::span<const TStoredField> fields, QWidget* screen);

// Places controls on a screen's grid of rows, so labels and fields of a row share one line.
struct TScreenGrid {
  explicit TScreenGrid(const QWidget* screen);
  int RowTop(int row) const { return Top + row * RowStep; }
  void Place(QWidget* control, int x, int row, int width) const;
  void PlaceAt(QWidget* control, int x, int y, int width) const;
  // The width a text takes in the screen's font.
  int TextWidth(const QString& text) const;
  // The width of an edit that shows the given sample text whole, cursor included.
  int EditWidthFor(const QString& sample) const;
  // The width of a state list that shows its widest code and its arrow, and no more.
  int StateEditWidth(const TStateEdit* edit) const;
  int WidestText(std::initializer_list<const char*> texts) const;

  int Top = 8;
  int RowStep = 27;
  int FieldHeight = 21;

 private:
  const QWidget* FScreen;
};

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
  // Runs once, when the screen is first shown, before it is centred.
  virtual void FirstShow() {}

 private:
  int FHelpContext;
  bool FShown = false;
};

// Creates a screen for one modal showing and releases it when it closes.
template <typename TScreen>
int ShowModalScreen() {
  auto screen = std::make_unique<TScreen>(QApplication::activeWindow());
  return screen->exec();
}
