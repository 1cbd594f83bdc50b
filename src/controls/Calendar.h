#pragma once
// TFrmCalendar: the pop-up from which a date field takes its date. A title bar with the month
// and year between a prior and a next arrow, the month grid, and "Paste Date" / "Cancel".
#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QLabel;
class QPushButton;
class QToolButton;

class TFrmCalendar : public QDialog {
  Q_OBJECT
 public:
  explicit TFrmCalendar(QWidget* parent = nullptr);

  // Shows the month of sDate with its day chosen; a text that is not a valid date leaves the
  // grid on today.
  void PutDate(const QString& sDate);
  // The chosen date as mm/dd/yyyy.
  QString GetDate() const;
  // The title: "March, 2025".
  QString GetMonthYear() const;
  QDate SelectedDate() const;

  bool Paste = false;  // the user chose Paste Date

  QToolButton* BtnPrior;
  QLabel* Panel;
  QToolButton* BtnNext;
  QCalendarWidget* Calendar;
  QPushButton* BtnPasteDate;
  QPushButton* BtnCancel;

  // Moves the grid by whole months (a day past the end of the target month becomes its last
  // day) or to January 1 of a neighbouring year.
  void MoveMonths(int months);
  void MoveToYearStart(int years);

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildTitleBar();
  void BuildButtons();
  void FitSixWeeks();
  void SetGridDate(const QDate& date);
  void ShowTitle();
  void PasteAndClose();
  bool PreviewKey(QKeyEvent* event);
};

// Month names as the title shows them ("January, ").
QString CalendarMonthTitle(int month);
// A date as the date fields hold it: two-digit month and day, four-digit year.
QString DateFieldText(const QDate& date);
