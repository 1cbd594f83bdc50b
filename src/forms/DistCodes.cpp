#include "forms/DistCodes.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/FilterEdit.h"
#include "maintenance/FrmScreen.h"
#include "platform/DialogButtons.h"

namespace {
// clang-format off
constexpr const char* kDescriptions[] = {
  "Early distribution, no known exception.",
  "Early distribution, exeption applies.",
  "Disability.",
  "Death.",
  "Prohibited transaction.",
  "Section 1035 exchange.",
  "Normal distribution.",
  "Excess contributions plus earnings/excess deferrals (and/or earnings) taxable in 2025.",
  "Cost of current life insurance protection.",
  "May be eligible for 10-year tax option.",
  "Designated Roth account distribution.",
  "Reportable death benefits under section 6050Y.",
  "Annuity payments from noqualified annuities and distributions from insurance contracts that "
  "may be subject to tax under section 1411.",
  "Distribution under Employee Plans Compliance Resolution System (EPCRS).",
  "Charitable gift annuity.",
  "Direct rollover and direct payment.",
  "Direct rollover of a designated Roth account distribution to a Roth IRA.",
  "Early distribution from a Roth IRA.",
  "Distribution of traditional IRA assets not having a readily available FMV.",
  "Loans treated as deemed distributions under section 72(p).",
  "Qualified plan loan offset.",
  "Recharacterized IRA contribution made for 2025.",
  "Excess contributions plus earnings/excess deferrals taxable in 2024 or a previous year.",
  "Qualified distribution from a Roth IRA.",
  "Recharacterized IRA contribution made for 2024 or a previous year.",
  "Early distribution from a SIMPLE IRA in the first 2 years, no known exception.",
  "Roth IRA distribution, exception applies. ",
  "Dividend Distribution from ESOP under section 404(k).",
  "Charges or payments for purchasing qualified long-term care insurance contracts under "
  "combined arrangements.",
  "Qualified charitable distribution (QCD) claimed under section 408(d)(8).",
};

// clang-format on
static_assert(std::size(kDescriptions) == 30);

struct TScript {
  bool Enabled = false;
  QList<int> Answers;
  int Shown = 0;
};
TScript& Script() {
  static TScript s;
  return s;
}
}  // namespace

std::span<const char* const> DistCodeDescriptions() {
  return kDescriptions;
}

QString CombineDistCode(const QString& box7, const QString& code) {
  return box7.size() == 1 ? box7 + code : code;
}

// ---- the pick list ---------------------------------------------------------------------------

TFrmDistCodes::TFrmDistCodes(QWidget* parent) : QDialog(parent, FixedDialogFlags()) {
  setObjectName(QStringLiteral("FrmDistCodes"));
  setWindowTitle(QStringLiteral("Form 1099-R Box 7 Distribution codes"));
  setFont(ScreenFont());

  auto* sections = new QStandardItemModel(0, 2, this);
  sections->setHorizontalHeaderLabels({QStringLiteral("Code"), QStringLiteral("Code Description")});
  Header = new QHeaderView(Qt::Horizontal, this);
  Header->setObjectName(QStringLiteral("Header"));
  Header->setModel(sections);
  Header->setSectionResizeMode(QHeaderView::Fixed);
  Header->resizeSection(0, 48);
  Header->setStretchLastSection(true);
  Header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  DistCodesList = new QListWidget(this);
  DistCodesList->setObjectName(QStringLiteral("DistCodesList"));
  for (size_t i = 0; i < DistCodes().size(); ++i)
    DistCodesList->addItem(QLatin1String(DistCodes()[i]) + QLatin1Char('\t') +
                           QLatin1String(kDescriptions[i]));
  DistCodesList->setMinimumSize(760, 420);
  // A double-click on an item chooses it, as "&Ok" does.
  connect(DistCodesList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

  BtnOk = new QPushButton(QStringLiteral("&Ok"), this);
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
  QHBoxLayout* buttons = OkCancelRow(this, BtnOk, BtnCancel);

  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(0);
  layout->addWidget(Header);
  layout->addWidget(DistCodesList);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  DistCodesList->setFocus();
}

void TFrmDistCodes::showEvent(QShowEvent* event) {
  FSelected = -1;
  CentreOnScreen(this);
  QDialog::showEvent(event);
}

void TFrmDistCodes::done(int result) {
  FSelected = result == QDialog::Accepted ? DistCodesList->currentRow() : -1;
  QDialog::done(result);
}

namespace {
// The hint's width on the screen: its spaces break it into lines there.
constexpr int kHintWidth = 95;

TFilterEdit* Box7(QWidget& screen) {
  return static_cast<TFilterEdit*>(TScreenEntries(&screen).Control(QStringLiteral("F1099R7")));
}

// Where the hint covers no caption of the face and no other box: under box 7, else beside its
// box on the left or the right, else above it. Under box 7 when every place covers something.
QRect HintPlace(const TBox7Face& face, const QWidget* box7, QSize size) {
  const QRect area = face.Box.isNull() ? box7->geometry() : face.Box;
  const QRect below(QPoint(box7->x(), box7->geometry().bottom() + 4), size);
  const QRect candidates[] = {
      below,
      QRect(QPoint(area.left() - 2 - size.width(), area.top() + 2), size),
      QRect(QPoint(area.right() + 3, area.top() + 2), size),
      QRect(QPoint(box7->x(), area.top() - 2 - size.height()), size),
  };
  const QRect picture = box7->parentWidget()->rect();
  auto clear = [&](const QRect& place) {
    if (!picture.contains(place)) return false;
    for (const QRect& caption : face.Captions)
      if (caption.intersects(place)) return false;
    for (const QWidget* other : box7->parentWidget()->findChildren<QLineEdit*>())
      if (other != box7 && other->geometry().intersects(place)) return false;
    return true;
  };
  for (const QRect& place : candidates)
    if (clear(place)) return place;
  return below;
}

// A pale yellow note beside box 7 that tells where the code list is; it shows only while the box
// has the focus.
void AddBox7Hint(const TBox7Face& face, TFilterEdit* box7) {
  auto* hint = new QLabel(
      QStringLiteral(" Double click within   box 7 for a list of    Distribution codes "),
      box7->parentWidget());
  hint->setObjectName(QStringLiteral("LblBox7Hint"));
  hint->setFont(box7->font());  // sized to the picture, as the box is
  hint->setWordWrap(true);
  hint->setFrameShape(QFrame::Box);
  hint->setAutoFillBackground(true);
  QPalette pal = hint->palette();
  pal.setColor(QPalette::Window, QColor(255, 255, 210));
  hint->setPalette(pal);
  hint->setGeometry(HintPlace(face, box7, QSize(kHintWidth, hint->heightForWidth(kHintWidth))));
  hint->hide();
  QObject::connect(box7, &TFilterEdit::entered, hint, &QWidget::show);
  QObject::connect(box7, &TFilterEdit::exited, hint, &QWidget::hide);
}
}  // namespace

void AddDistCodeList(QWidget& screen, const TBox7Face& face) {
  TFilterEdit* box7 = Box7(screen);
  AddBox7Hint(face, box7);
  QObject::connect(box7, &TFilterEdit::doubleClicked, &screen, [&screen] { PickBox7Code(screen); });
  // The list by keyboard too, with the keys that open a drop-down list.
  for (const QKeySequence& keys :
       {QKeySequence(Qt::Key_F4), QKeySequence(Qt::ALT | Qt::Key_Down)}) {
    auto* shortcut = new QShortcut(keys, box7, nullptr, nullptr, Qt::WidgetShortcut);
    QObject::connect(shortcut, &QShortcut::activated, &screen, [&screen] { PickBox7Code(screen); });
  }
  box7->setToolTip(
      QStringLiteral("Distribution code(s): double-click, F4 or Alt+Down for the list"));
}

void PickBox7Code(QWidget& screen) {
  const QString code = PickDistCode(&screen);
  if (code.isEmpty()) return;
  Box7(screen)->setText(CombineDistCode(Box7(screen)->text(), code));
}

QString PickDistCode(QWidget* parent) {
  int index = -1;
  if (Script().Enabled) {
    ++Script().Shown;
    if (!Script().Answers.isEmpty()) index = Script().Answers.takeFirst();
  } else {
    TFrmDistCodes dialog(parent);
    dialog.exec();
    index = dialog.Selected();
  }
  if (index < 0 || index >= int(DistCodes().size())) return {};
  return QLatin1String(DistCodes()[size_t(index)]);
}

namespace DistCodesScript {
void Enable(bool on) {
  Script().Enabled = on;
}
bool Enabled() {
  return Script().Enabled;
}
void SetNextAnswer(int index) {
  Script().Answers.append(index);
}
QList<int> Pending() {
  return Script().Answers;
}
void Clear() {
  Script().Answers.clear();
  Script().Shown = 0;
}
int Shown() {
  return Script().Shown;
}
}  // namespace DistCodesScript
