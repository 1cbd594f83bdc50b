#include "controls/Calendar.h"

#include <QCalendarWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTextCharFormat>
#include <QToolButton>
#include <algorithm>

#include "core/Utils.h"

namespace {
QIcon ArrowPicture(bool pointsLeft) {
  QPixmap pm(15, 15);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  QPainterPath path;
  if (pointsLeft) {
    path.moveTo(4, 7.5);
    path.lineTo(11, 2);
    path.lineTo(11, 13);
  } else {
    path.moveTo(11, 7.5);
    path.lineTo(4, 2);
    path.lineTo(4, 13);
  }
  path.closeSubpath();
  p.drawPath(path);
  return QIcon(pm);
}

QToolButton* ArrowButton(QWidget* parent, const char* name, const char* hint, bool left) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setToolTip(QLatin1String(hint));
  b->setAutoRaise(true);
  b->setIcon(ArrowPicture(left));
  b->setIconSize({15, 15});
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}
}  // namespace

QString CalendarMonthTitle(int month) {
  static const char* const names[12] = {"January, ",   "February, ", "March, ",    "April, ",
                                        "May, ",       "June, ",     "July, ",     "August, ",
                                        "September, ", "October, ",  "November, ", "December, "};
  return month >= 1 && month <= 12 ? QLatin1String(names[month - 1]) : QString();
}

QString DateFieldText(const QDate& date) {
  return QStringLiteral("%1/%2/%3")
      .arg(date.month(), 2, 10, QLatin1Char('0'))
      .arg(date.day(), 2, 10, QLatin1Char('0'))
      .arg(date.year(), 4, 10, QLatin1Char('0'));
}

TFrmCalendar::TFrmCalendar(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmCalendar"));
  setWindowTitle(QStringLiteral("CALENDAR"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFont(QFont(QStringLiteral("Tahoma"), 8));
  setFixedSize(201, 176);

  BuildTitleBar();
  Calendar = new QCalendarWidget(this);
  Calendar->setObjectName(QStringLiteral("Calendar"));
  Calendar->setGeometry(0, 22, 200, 116);
  Calendar->setFirstDayOfWeek(Qt::Sunday);
  Calendar->setNavigationBarVisible(false);
  Calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  Calendar->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
  Calendar->setGridVisible(false);
  QPalette pal = Calendar->palette();
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::AlternateBase, Qt::white);
  Calendar->setPalette(pal);
  // Weekend days in the same colour as the others: the grid is a plain month sheet.
  QTextCharFormat plain;
  plain.setForeground(Qt::black);
  Calendar->setWeekdayTextFormat(Qt::Saturday, plain);
  Calendar->setWeekdayTextFormat(Qt::Sunday, plain);
  SetGridDate(QDate::currentDate());
  connect(Calendar, &QCalendarWidget::activated, this, [this]() { PasteAndClose(); });
  connect(Calendar, &QCalendarWidget::selectionChanged, this, [this]() { ShowTitle(); });
  BuildButtons();
  FitSixWeeks();

  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  Calendar->setFocus();
}

void TFrmCalendar::BuildTitleBar() {
  BtnPrior = ArrowButton(this, "BtnPrior", "Prior Month (Alt+P)", true);
  BtnPrior->setGeometry(0, 0, 21, 21);
  Panel = new QLabel(this);
  Panel->setObjectName(QStringLiteral("Panel"));
  Panel->setGeometry(21, 0, 158, 21);
  Panel->setAlignment(Qt::AlignCenter);
  Panel->setAutoFillBackground(true);
  QPalette pal = Panel->palette();
  pal.setColor(QPalette::Window, QColor(0x00, 0x54, 0xE3));  // the active caption colour
  pal.setColor(QPalette::WindowText, Qt::white);
  Panel->setPalette(pal);
  QFont bold = font();
  bold.setBold(true);
  Panel->setFont(bold);
  BtnNext = ArrowButton(this, "BtnNext", "Next Month (Alt+N)", false);
  BtnNext->setGeometry(179, 0, 21, 21);
  connect(BtnPrior, &QToolButton::clicked, this, [this]() { MoveMonths(-1); });
  connect(BtnNext, &QToolButton::clicked, this, [this]() { MoveMonths(1); });
}

void TFrmCalendar::BuildButtons() {
  BtnPasteDate = new QPushButton(QStringLiteral("Paste &Date"), this);
  BtnPasteDate->setObjectName(QStringLiteral("BtnPasteDate"));
  BtnPasteDate->setGeometry(8, 146, 64, 24);
  BtnPasteDate->setDefault(true);
  BtnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
  BtnCancel->setGeometry(129, 146, 64, 24);
  connect(BtnPasteDate, &QPushButton::clicked, this, [this]() { PasteAndClose(); });
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

// A month can touch six weeks (January 2027 runs from a Friday to a Sunday): the grid is as tall
// as the day names and six rows of days need in its font, the buttons below it.
void TFrmCalendar::FitSixWeeks() {
  const int rowHeight = QFontMetrics(Calendar->font()).height() + 4;
  const int gridHeight = std::max(Calendar->height(), 7 * rowHeight + 2);
  Calendar->resize(Calendar->width(), gridHeight);
  const int buttonsTop = Calendar->geometry().bottom() + 9;
  BtnPasteDate->move(BtnPasteDate->x(), buttonsTop);
  BtnCancel->move(BtnCancel->x(), buttonsTop);
  setFixedSize(width(), buttonsTop + BtnCancel->height() + 6);
}

void TFrmCalendar::SetGridDate(const QDate& date) {
  if (!date.isValid()) return;
  Calendar->setSelectedDate(date);
  Calendar->setCurrentPage(date.year(), date.month());
  ShowTitle();
}

void TFrmCalendar::ShowTitle() {
  Panel->setText(GetMonthYear());
}

QDate TFrmCalendar::SelectedDate() const {
  return Calendar->selectedDate();
}

void TFrmCalendar::PutDate(const QString& sDate) {
  if (!IsValidDate(sDate)) return;
  int month = 0, day = 0, year = 0;
  DecodeDateText(sDate, month, day, year);
  SetGridDate(QDate(year, month, day));
}

QString TFrmCalendar::GetDate() const {
  return DateFieldText(SelectedDate());
}

QString TFrmCalendar::GetMonthYear() const {
  const QDate d = SelectedDate();
  return CalendarMonthTitle(d.month()) + QString::number(d.year());
}

void TFrmCalendar::MoveMonths(int months) {
  const QDate d = SelectedDate();
  const QString moved = AddMonthsToDateText(DateFieldText(d), months);
  int month = 0, day = 0, year = 0;
  DecodeDateText(moved, month, day, year);
  SetGridDate(QDate(year, month, day));  // an invalid result (past year 9999) moves nothing
}

void TFrmCalendar::MoveToYearStart(int years) {
  SetGridDate(QDate(SelectedDate().year() + years, 1, 1));
}

void TFrmCalendar::PasteAndClose() {
  Paste = true;
  accept();
}

void TFrmCalendar::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ShowTitle();
  Paste = false;
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

// The dialog sees the keys of its controls first, so Page Up and Page Down mean the same
// whichever control has the focus.
bool TFrmCalendar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && PreviewKey(static_cast<QKeyEvent*>(event))) return true;
  return QDialog::eventFilter(watched, event);
}

bool TFrmCalendar::PreviewKey(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const int key = event->key();
  if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
    const int step = key == Qt::Key_PageUp ? -1 : 1;
    if (!(mods & Qt::AltModifier))
      MoveMonths(step);
    else if (mods == Qt::AltModifier)
      MoveToYearStart(step);
    return true;
  }
  if (mods == Qt::AltModifier && (key == Qt::Key_P || key == Qt::Key_N)) {
    MoveMonths(key == Qt::Key_P ? -1 : 1);
    return true;
  }
  // Enter pastes whichever control has the focus (Alt+D is the button's own mnemonic).
  if (mods == Qt::NoModifier && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
    PasteAndClose();
    return true;
  }
  return false;
}
