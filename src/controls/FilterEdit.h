#pragma once
// TFilterEdit: a single-line edit that admits only the characters of a set written as a short
// text ("[0..9,-]"), converts letter case before the set is applied, can refuse to be left
// blank, selects its whole text on entry and turns its text to capitals (Ctrl+U) or to
// capitalised words (Ctrl+L).
#include <QLineEdit>
#include <QValidator>

#include "core/Utils.h"

class QMimeData;

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// Focus hand-back shared by the edits that check their text when they are left.
namespace FieldFocus {
// True while a field that refused to be left is taking the focus back: the field the focus
// passed through meanwhile skips its own exit check, so one faulty field gives one message.
bool Reclaiming();
// The focus moves for this reason count as entering or leaving a field; switching windows and
// opening or closing a pop-up menu do not.
bool CountsAsFieldChange(Qt::FocusReason reason);
// Gives the focus back to a field that may not be left. When the field cannot take it (hidden or
// disabled meanwhile) failText is shown with the stop icon and false is answered.
bool TakeBack(QWidget* field, const QString& failText);
// Shift, Ctrl, Alt, AltGr, Meta or Caps Lock on its own: pressed on the way to a key, never a key
// the user means by itself.
bool IsModifierKey(int key);
}  // namespace FieldFocus

// Parses a set description into set; answers false (set untouched) when the text is not
// enclosed in "[" and "]". New characters are added to those already in set.
bool ParseValidChars(const QString& text, TCharSet& set);

// For a plain edit of a record field: refuses, with a beep, the characters of a typed or pasted
// text that Windows-1252, the record file's code page, cannot hold.
class TCodePageValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

class TFilterEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TFilterEdit(QWidget* parent = nullptr);

  // Published properties. Alignment, MaxLength, ReadOnly and Text are the line edit's own.
  bool BeepOnInvalid() const { return FBeepOnInvalid; }
  void SetBeepOnInvalid(bool on) { FBeepOnInvalid = on; }
  bool RequiredField() const { return FRequiredField; }
  void SetRequiredField(bool on) { FRequiredField = on; }
  QString ValidChars() const { return FValidChars; }
  void SetValidChars(const QString& text);
  const TCharSet& ValidCharSet() const { return FValidCharSet; }
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase charCase) { FCharCase = charCase; }
  // When set, characters the set leaves out of a typed, pasted or dropped text are not dropped
  // silently: the field beeps and shows this note, with the characters, beside itself.
  QString RefusalNote() const { return FRefusalNote; }
  void SetRefusalNote(const QString& note) { FRefusalNote = note; }

  // Trims the text and gives every word (after a space) a capital first letter.
  void CapitalizeFirst();
  // The text as the field would hold it had the user typed it: case converted, refused
  // characters left out. Paste and drop go through it.
  QString FilterText(const QString& text) const;
  bool Admits(QChar ch) const;

  QSize sizeHint() const override { return {121, 21}; }

 signals:
  void entered();  // the field gained the focus (before its text is selected)
  void exited();   // the field lost the focus (before the required check)
  void doubleClicked();
  void refused(const QString& message);  // the note shown for characters left out

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  bool HandleCaseCommand(QKeyEvent* event);
  QChar ConvertCase(QChar ch) const;
  void PasteFiltered(const QString& text);
  void CheckRequired();
  void TellLeftOut(const QString& given, const QString& kept);

  bool FBeepOnInvalid = false;
  QString FRefusalNote;
  bool FRequiredField = false;
  QString FValidChars = QStringLiteral("[]");
  TCharSet FValidCharSet;
  TEditCharCase FCharCase = ecNormal;
};
