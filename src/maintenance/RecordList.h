#pragma once
// The payees sorted by name: the index every print run walks, and the "Payer List" window in
// which the user picks a payee by name.
//
// RecIndex, RecIndexCount and RecIndexDirty (storage/Globals.h) hold the index for the whole run;
// it is rebuilt lazily, only when RecIndexDirty says names or records have changed.
#include <QDialog>
#include <QList>
#include <functional>

#include "storage/RecordLayout.h"

class QListWidget;
class QPushButton;
class QTreeWidget;
class QWidget;

// The name a payee sorts and is listed by: an individual's last name, a tab and the first name
// (so first names line up in a second column), a business's single name line; at most 40
// characters.
QString PayeeSortName(const TPayeeRecord& payee);

// Brings RecIndex up to date for RecIndexCount entries (the caller sets RecIndexCount to the
// payee count first). Does nothing while RecIndexDirty is false. Leaves the record that was
// current before as the current record of RSPayee, loaded in PayeeRec.
void BuildRecIndex();

// Sorts the entries of RecIndex by name: locale-aware and ignoring letter case. Entries with
// equal names keep their record order, and every entry stays in the index exactly once.
void SortRecIndex();

// The list command of the payee and form screens: shows the list window and makes the payee
// the user picks the current record of RSPayee, loaded in PayeeRec. The caller shows it.
void ShowRecordList();

class TFrmRecList : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmRecList(QWidget* parent = nullptr);

  // Fills the list from RecIndex and sizes the window by the number of entries.
  void FormShow();
  void BtnOkClick();
  void BtnCancelClick();
  void RecordListBoxDblClick();

  // Window and list heights for a list of the given number of entries.
  static int WindowHeightFor(int entries);
  static int ListHeightFor(int entries);

  QListWidget* RecordListBox;
  QWidget* PanelContainer;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;

  int Selected = -1;  // the position chosen in the list; -1 for none

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;
};

// The record list with a check mark before each payee, for choosing the payees a print takes:
// the payees for which offered() holds (asked with each payee current and loaded in PayeeRec),
// in name order, with their TINs; those in chosen (record numbers) start checked. When the user
// confirms, chosen holds the checked payees' record numbers in name order and the answer is
// true. The current payee is current again afterwards.
bool ChoosePayees(QList<int>& chosen, const std::function<bool()>& offered,
                  QWidget* parent = nullptr);

class TFrmChoosePayees : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmChoosePayees(QWidget* parent = nullptr);

  // One row per payee: its list name, its TIN, its record number, whether it starts checked.
  void AddPayee(const QString& name, const QString& tin, int record, bool checked);
  QList<int> Checked() const;
  void CheckAll(bool on);

  QTreeWidget* PayeeChecks;
  QPushButton* BtnCheckAll;
  QPushButton* BtnClearAll;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
};
