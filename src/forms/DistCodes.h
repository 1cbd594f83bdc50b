#pragma once
// The distribution codes of Form 1099-R box 7: the pick list the user opens by double-clicking the
// box (TFrmDistCodes), the 30 codes in its order, and the codes and code pairs the IRS admits in
// the box.
#include <QDialog>
#include <QList>
#include <QRect>
#include <QString>
#include <span>

#include "forms/FormChecks.h"

class QHeaderView;
class QListWidget;
class QPushButton;

// The description the pick list shows beside the code of the same index.
std::span<const char* const> DistCodeDescriptions();
// What box 7 holds after picking code: a single code gains the pick as its second code, anything
// else (empty, a pair) is replaced by it.
QString CombineDistCode(const QString& box7, const QString& code);

class TFrmDistCodes : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmDistCodes(QWidget* parent = nullptr);

  // The index of the chosen item, -1 when the list was cancelled.
  int Selected() const { return FSelected; }
  // "&Ok" and a double-click on an item choose the current item; "&Cancel", Escape and closing
  // the window choose nothing.
  void done(int result) override;

  QListWidget* DistCodesList = nullptr;
  QHeaderView* Header = nullptr;
  QPushButton* BtnOk = nullptr;
  QPushButton* BtnCancel = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  int FSelected = -1;
};

// Where box 7 and the captions lie on the face (in the picture's pixels), so the hint covers
// none of them; without them the hint goes under the field.
struct TBox7Face {
  QRect Box;
  QList<QRect> Captions;
};
// Box 7 of the 1099-R screen: a double-click, F4 or Alt+Down opens the code list, and a hint
// beside the box ("LblBox7Hint") says so while the box has the focus.
void AddDistCodeList(QWidget& screen, const TBox7Face& face = {});
// The code list for box 7: the chosen code completes a single code in the box or replaces what it
// holds. Cancelling changes nothing.
void PickBox7Code(QWidget& screen);

// Shows the list modally and answers the chosen code, or an empty text when cancelled. In tests
// (DistCodesScript enabled) nothing is shown: each call takes the next scripted index.
QString PickDistCode(QWidget* parent = nullptr);

namespace DistCodesScript {
void Enable(bool on);
bool Enabled();
// The index the next pick answers (-1: cancelled); without one queued a pick is cancelled.
void SetNextAnswer(int index);
QList<int> Pending();  // the queued indexes no pick has taken yet
void Clear();
int Shown();  // how many picks were asked for since Clear
}  // namespace DistCodesScript
