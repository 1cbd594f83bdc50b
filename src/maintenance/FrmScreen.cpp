#include "maintenance/FrmScreen.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>

#include "controls/CheckBoxEdit.h"
#include "controls/DateEdit.h"
#include "controls/DollarEdit.h"
#include "controls/EnterAsTab.h"
#include "controls/FilterEdit.h"
#include "controls/StateEdit.h"
#include "core/Utils.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Exceptions.h"
#include "storage/RecordModel.h"

Qt::WindowFlags FixedDialogFlags() {
  return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
         Qt::MSWindowsFixedSizeDialogHint;
}

QFont ScreenFont() {
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSize(8);
  return font;
}

void CentreOnScreen(QWidget* window) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

namespace {
QPixmap DrawHelpPicture(int size, qreal ratio) {
  QPixmap pixmap(QSize(size, size) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF disc(1, 1, size - 2, size - 2);
  p.setPen(QPen(QColor(0x10, 0x40, 0x90), 1));
  p.setBrush(QColor(0x30, 0x70, 0xC8));
  p.drawEllipse(disc);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(size * 2 / 3);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(disc, Qt::AlignCenter, QStringLiteral("?"));
  return pixmap;
}
}  // namespace

QIcon HelpButtonIcon() {
  QIcon icon;
  for (qreal ratio : {1.0, 1.5, 2.0}) icon.addPixmap(DrawHelpPicture(18, ratio));
  return icon;
}

QPushButton* NewHelpButton(QWidget* parent) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QStringLiteral("BtnHelp"));
  button->setIcon(HelpButtonIcon());
  button->setIconSize(QSize(18, 18));
  button->setFlat(true);
  button->setAutoDefault(false);
  button->setToolTip(QStringLiteral("Help with this form"));
  button->setAccessibleName(QStringLiteral("Help"));  // a picture alone names nothing
  return button;
}

QPushButton* NewFlatButton(const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setFlat(true);
  button->setAutoDefault(false);
  return button;
}

QPushButton* NewButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  return button;
}

QLabel* NewLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

QLineEdit* NewEdit(const char* name, int maxLength, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setMaxLength(maxLength);
  edit->setValidator(new TCodePageValidator(edit));
  return edit;
}

TFilterEdit* NewFilterEdit(const char* name, int maxLength, const QString& validChars,
                           QWidget* parent) {
  auto* edit = new TFilterEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setMaxLength(maxLength);
  edit->SetValidChars(validChars);
  edit->SetRequiredField(false);
  edit->SetBeepOnInvalid(false);
  return edit;
}

TStateEdit* NewStateEdit(const char* name, bool okToDel, QWidget* parent) {
  auto* edit = new TStateEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->SetOkToDel(okToDel);
  return edit;
}

QLineEdit* NewMaskedEdit(const char* name, const QString& digitMask, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  // "0" admits a digit without demanding one, so a half-typed number can be left and is then
  // refused by the screen's validation with its own message.
  edit->setInputMask(digitMask + QStringLiteral("; "));
  return edit;
}

QString MaskedText(const QLineEdit* edit) {
  return edit->displayText();
}

void ShowTextsFromStart(QWidget* screen) {
  for (QLineEdit* edit : screen->findChildren<QLineEdit*>()) edit->setCursorPosition(0);
}

QString StateCode(const TStateEdit* edit) {
  return NoState(edit) ? QString() : edit->Text();
}

bool NoState(const TStateEdit* edit) {
  return edit->ItemIndex() < 0;
}

TEnterAsTab* NewEnterAsTab(QWidget* screen) {
  auto* keys = new TEnterAsTab(screen);
  keys->setObjectName(QStringLiteral("EnterAsTab"));
  keys->SetEnterAsTabKey(true);
  keys->SetEscapeAsClose(true);
  keys->SetParentForm(screen);
  return keys;
}

void SetTabChain(std::initializer_list<QWidget*> order) {
  QWidget* previous = nullptr;
  for (QWidget* control : order) {
    if (previous) QWidget::setTabOrder(previous, control);
    previous = control;
  }
}

namespace {
// The value a field shows; a masked field holding only its dashes shows none.
QString EnteredValue(const QWidget* field) {
  const auto* edit = qobject_cast<const QLineEdit*>(field);
  if (!edit) return {};
  const QString shown = edit->displayText();
  for (QChar ch : shown)
    if (ch.isLetterOrNumber()) return shown;
  return {};
}
}  // namespace

void RunFieldChecks(std::initializer_list<TFieldCheck> checks) {
  for (const TFieldCheck& check : checks) {
    if (!check.Fails()) continue;
    check.Focus->setFocus(Qt::OtherFocusReason);
    QString message = QLatin1String(check.Message);
    if (check.Expected)
      message = RejectionText(message, EnteredValue(check.Focus), QLatin1String(check.Expected));
    throw EFieldException(message);
  }
}

QWidget* TScreenEntries::Control(const QString& name) const {
  // A form screen may also show a label under a field's name; the entry is the control.
  for (QWidget* w : FScreen->findChildren<QWidget*>(name))
    if (!qobject_cast<QLabel*>(w)) return w;
  return nullptr;
}

QString TScreenEntries::Text(const QString& field) const {
  QWidget* control = Control(field);
  if (auto* state = qobject_cast<TStateEdit*>(control)) return StateCode(state);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text();
  return {};
}

double TScreenEntries::Money(const QString& field) const {
  auto* money = qobject_cast<TDollarEdit*>(Control(field));
  return money ? money->Value() : 0.0;
}

bool TScreenEntries::Flag(const QString& field) const {
  QWidget* control = Control(field);
  if (auto* check = qobject_cast<TCheckBoxEdit*>(control)) return check->Checked();
  if (auto* box = qobject_cast<QCheckBox*>(control)) return box->isChecked();
  return false;
}

QString TScreenEntries::Label(const QString& label) const {
  const QLabel* shown = FScreen->findChild<QLabel*>(label);
  return shown ? shown->text() : QString();
}

bool TScreenEntries::Filled(const QString& field) const {
  QWidget* control = Control(field);
  if (auto* money = qobject_cast<TDollarEdit*>(control)) return money->Value() != 0;
  if (qobject_cast<TCheckBoxEdit*>(control) || qobject_cast<QCheckBox*>(control))
    return Flag(field);
  if (auto* date = qobject_cast<TDateEdit*>(control)) return date->text() != TDateEdit::EmptyText();
  return !IsBlank(Text(field));
}

void RaiseFieldProblem(const TCheckResult& problem, QWidget* screen) {
  if (!problem) return;
  if (problem->Focus) {
    if (QWidget* control = TScreenEntries(screen).Control(problem->Field))
      control->setFocus(Qt::OtherFocusReason);
  }
  throw EFieldException(problem->Message);
}

void RaiseStoredProblem(const TRecordLayout& layout, const uint8_t* record,
                        std::span<const TStoredField> fields, QWidget* screen) {
  for (const TStoredField& f : fields) {
    const TFieldDef& field = *layout.Field(f.Field);
    const std::optional<QString> reason = StoredProblem(record, field);
    if (!reason) continue;
    // The value quoted, so the user sees what was refused even where the box shows it otherwise.
    const QString message =
        QStringLiteral("%1 %2.\rYou entered \"%3\".")
            .arg(QString::fromUtf8(f.Subject), *reason, ValueText(StoredValue(record, field)));
    RaiseFieldProblem(TFieldProblem{QLatin1String(f.Control), message}, screen);
  }
}

TScreenGrid::TScreenGrid(const QWidget* screen) : FScreen(screen) {
  QLineEdit probe;
  probe.setFont(screen->font());
  FieldHeight = std::max(FieldHeight, probe.sizeHint().height());
  RowStep = std::max(RowStep, FieldHeight + 4);
}

void TScreenGrid::Place(QWidget* control, int x, int row, int width) const {
  PlaceAt(control, x, RowTop(row), width);
}

void TScreenGrid::PlaceAt(QWidget* control, int x, int y, int width) const {
  control->setGeometry(x, y, width, FieldHeight);
}

int TScreenGrid::TextWidth(const QString& text) const {
  return FScreen->fontMetrics().horizontalAdvance(text);
}

namespace {
// Room either side of an edit's text: the edit's own margin of two pixels, and one more so a
// full field does not touch its frame. The cursor takes one pixel after the text.
constexpr int EditTextMargin = 3;
constexpr int CursorWidth = 1;
}  // namespace

int TScreenGrid::EditWidthFor(const QString& sample) const {
  QLineEdit probe;
  probe.setFont(FScreen->font());
  QStyleOptionFrame option;
  option.initFrom(&probe);
  option.lineWidth = probe.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &probe);
  const QSize text(TextWidth(sample) + 2 * EditTextMargin + CursorWidth, FieldHeight);
  return probe.style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, &probe).width();
}

// The list's own size hint leaves room for texts far longer than a code; the codes need only
// their edit part and the arrow.
int TScreenGrid::StateEditWidth(const TStateEdit* edit) const {
  int widest = 0;
  for (const QString& code : TStateEdit::StateList()) widest = std::max(widest, TextWidth(code));
  QStyleOptionComboBox option;
  option.initFrom(edit);
  option.editable = true;
  const QSize text(widest + 2 * EditTextMargin + CursorWidth, FieldHeight);
  return edit->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, edit).width();
}

int TScreenGrid::WidestText(std::initializer_list<const char*> texts) const {
  int widest = 0;
  for (const char* text : texts) widest = std::max(widest, TextWidth(QLatin1String(text)));
  return widest;
}

TFrmScreen::TFrmScreen(QWidget* parent, int helpContext)
    : QDialog(parent, FixedDialogFlags()), FHelpContext(helpContext) {
  setFont(ScreenFont());
  setModal(true);
}

void TFrmScreen::BtnHelpClick() {
  ShowHelp(FHelpContext);
}

void TFrmScreen::done(int result) {
  if (!TApplication::Guard([this] { FormCloseQuery(); })) return;
  QDialog::done(result);
}

void TFrmScreen::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    BtnHelpClick();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TFrmScreen::showEvent(QShowEvent* event) {
  const bool first = !FShown;
  FShown = true;
  if (first) FirstShow();
  QDialog::showEvent(event);
  if (first) CentreOnScreen(this);
}
