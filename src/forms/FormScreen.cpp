#include "forms/FormScreen.h"

#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <cmath>
#include <iterator>
#include <vector>

#include "controls/CheckBoxEdit.h"
#include "controls/DateEdit.h"
#include "controls/DollarEdit.h"
#include "controls/EnterAsTab.h"
#include "controls/FilterEdit.h"
#include "controls/RSNavigator.h"
#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "engine/Fonts.h"
#include "engine/ReportPrinter.h"
#include "engine/ReportProject.h"
#include "engine/ReportSystem.h"
#include "forms/AlignmentPage.h"
#include "forms/DistCodes.h"
#include "forms/FormFace.h"
#include "forms/FormRows.h"
#include "forms/FormScreenParts.h"
#include "forms/FormSelection.h"
#include "forms/FormTotals.h"
#include "forms/FormValues.h"
#include "forms/RecipientFilesDialog.h"
#include "maintenance/RecordList.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecordModel.h"

namespace {
// Where the 1099-R's box 7 and the face's captions lie, for the code list's hint to keep clear of.
TBox7Face Box7Face(const TFrmFormScreen& screen) {
  TBox7Face face{screen.BoxOf(QStringLiteral("F1099R7")), {}};
  for (const TFormFace::TCaptionLine& caption : screen.Face().CaptionLines())
    face.Captions << caption.Rect;
  return face;
}

constexpr double kScreenDpi = 110;
QRectF ScreenRect(const TScreenArea& a) {
  return QRectF(QPointF(a.Left, a.Top), QPointF(a.Right, a.Bottom));
}

// The payer and payee blocks are filled by the screen's own rules, not from their table rows.
bool IsCommonLabel(const QString& name) {
  for (const TLabelDef& l : kCommonLabels)
    if (name == QLatin1String(l.Name)) return true;
  return false;
}

QString Payer(const char* field) {
  return PayerRec.GetString(field);
}
QString Payee(const char* field) {
  return PayeeRec.GetString(field);
}

// A label shows its whole text: a text wider than its box (forty wide capitals) takes a smaller
// size, down to a size that still reads, rather than being cut at the box's edge.
void ShowFitted(QLabel* label, const QString& text, int pixelSize) {
  constexpr int kSmallest = 7;
  QFont font = label->font();
  font.setPixelSize(pixelSize);
  // The label reads "&&" as one "&" (it has a buddy).
  const QString shown = QString(text).replace(QStringLiteral("&&"), QStringLiteral("&"));
  while (font.pixelSize() > kSmallest &&
         QFontMetricsF(font).horizontalAdvance(shown) > label->contentsRect().width())
    font.setPixelSize(font.pixelSize() - 1);
  label->setFont(font);
  label->setText(text);
}

// The widest amount a money box holds.
const QString kWidestAmount = QStringLiteral("999,999,999.99");

// A box narrower than the widest amount in the screen's size takes a smaller size, so no amount
// is ever cut (the line edit keeps two pixels of margin on each side).
void FitWidest(QLineEdit* edit, const QString& widest) {
  constexpr int kSmallest = 7;
  QFont font = edit->font();
  while (font.pixelSize() > kSmallest &&
         QFontMetricsF(font).horizontalAdvance(widest) > edit->contentsRect().width() - 4)
    font.setPixelSize(font.pixelSize() - 1);
  edit->setFont(font);
}

Qt::Alignment AlignmentOf(uint8_t flags) {
  if (flags & cfRight) return Qt::AlignRight | Qt::AlignVCenter;
  if (flags & cfCenter) return Qt::AlignHCenter | Qt::AlignVCenter;
  return Qt::AlignLeft | Qt::AlignVCenter;
}

// A control without limits of its own takes its field's: the field's width, or the digits of its
// largest number.
int MaxLengthOf(const TControlDef& c) {
  if (c.MaxLength > 0) return c.MaxLength;
  const TFieldDef& field = *PayeeLayout().Field(c.Field);
  if (field.Kind != TFieldKind::Int32) return field.Width;
  return int(
      QString::number(field.Rule.Value == TValueKind::Percent ? 100 : field.Rule.Max).size());
}

// The filter set of the characters the control's field admits: "[0..9]", "[1..9,A..H,...]".
QString ValidCharsOf(const TControlDef& c) {
  if (c.ValidChars) return QString::fromLatin1(c.ValidChars);
  const QString chars = FieldChars(*PayeeLayout().Field(c.Field));
  QStringList parts;
  for (qsizetype i = 0; i < chars.size();) {
    qsizetype end = i;
    while (end + 1 < chars.size() && chars[end + 1].unicode() == chars[end].unicode() + 1) ++end;
    parts << (end > i ? QString(chars[i]) + QStringLiteral("..") + chars[end] : QString(chars[i]));
    i = end + 1;
  }
  return QLatin1Char('[') + parts.join(QLatin1Char(',')) + QLatin1Char(']');
}

// What a box whose characters are restricted says when it leaves some of a user's text out: an
// account number typed as "# 1234" must not quietly become "1234".
QString RefusalNoteFor(const TControlDef& c) {
  if (c.ValidChars || PayeeLayout().Field(c.Field)->Rule.Chars != TTextChars::Account) return {};
  return QStringLiteral("An account number holds only letters, digits and \"-\"");
}

TFilterEdit* NewFilterEdit(const TControlDef& c, const QString& validChars) {
  auto* edit = new TFilterEdit;
  edit->setMaxLength(MaxLengthOf(c));
  edit->SetValidChars(validChars);
  edit->SetRefusalNote(RefusalNoteFor(c));
  if (c.Flags & cfUpper) edit->SetCharCase(ecUpperCase);
  return edit;
}

TDollarEdit* NewMoneyEdit() {
  auto* edit = new TDollarEdit;
  edit->SetDollarDigits(9);
  edit->SetCentDigits(2);
  edit->SetCurrency(false);
  edit->SetMinusKey(false);
  return edit;
}

// The form screens move between payees only: no New or Delete here, that is the payee screen's.
constexpr TNavBtns kFormNavBtns =
    NavBtn(nbFirst) | NavBtn(nbNext) | NavBtn(nbPrior) | NavBtn(nbLast) | NavBtn(nbList);

const char* const kFormNavHints[] = {"First Payee (Alt + F)", "Next Payee (Alt + N)",
                                     "Prior Payee (Alt + P)", "Last Payee (Alt + L)",
                                     "List Payee (Alt + I)"};

// Alt with the letter of a button the form screens show.
bool IsNavigatorKey(int key, Qt::KeyboardModifiers modifiers) {
  if ((modifiers & ~Qt::KeypadModifier) != Qt::AltModifier) return false;
  for (int k : {Qt::Key_F, Qt::Key_N, Qt::Key_P, Qt::Key_L, Qt::Key_I})
    if (key == k) return true;
  return false;
}
}  // namespace

const QColor TFrmFormScreen::FocusColor(187, 255, 255);

TFrmFormScreen::TFrmFormScreen(const TFormDef& def, QWidget* parent)
    : TFrmScreen(parent, def.HelpContext), FDef(def) {
  RegisterFontSubstitutions();
  setObjectName(QString::fromLatin1(def.ClassName).mid(1));
  setWindowTitle(QString::fromLatin1(def.Caption));
  CreateFace();
  CreateLabels();
  CreateControls();
  CreateButtons();
  CreatePrintComponents();
  FormShow();
}

TFrmFormScreen::~TFrmFormScreen() {
  // The project must not keep drawing through a report system that is gone.
  if (FrmDataModule && FrmDataModule->ReportProject)
    FrmDataModule->ReportProject->SetEngine(static_cast<TReportSystem*>(nullptr));
}

// ---- building the screen from the tables ---------------------------------------------------

void TFrmFormScreen::CreateFace() {
  FFace = std::make_unique<TFormFace>(QString::fromLatin1(FDef.Report), ScreenRect(FDef.ScreenArea),
                                      kScreenDpi);
  ScrollBox = new QScrollArea(this);
  ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
  ScrollBox->setFrameShape(QFrame::NoFrame);
  // The picture is a backdrop: the boxes on it take the focus, never the area that scrolls it.
  ScrollBox->setFocusPolicy(Qt::NoFocus);
  ScrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ScrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ScrollBox->setBackgroundRole(QPalette::Base);
  // White behind the picture by palette, not by a style sheet: a style sheet would take over the
  // painting of the boxes on it, and with it their focus colour.
  QPalette white = ScrollBox->palette();
  white.setColor(QPalette::Window, Qt::white);
  ScrollBox->setPalette(white);
  FPicture = new QLabel;
  FPicture->setObjectName(QString::fromLatin1(FDef.Picture));
  FPicture->setAccessibleName(QString::fromLatin1(FDef.Name));
  FPicture->setPixmap(FFace->Picture(devicePixelRatioF()));
  FPicture->setFixedSize(FFace->PictureSize());
  ScrollBox->setWidget(FPicture);
  ScrollBox->setFixedSize(FFace->PictureSize());

  // The tax year sits over the form's year box.
  auto* year = new QLabel(TaxYearText(), FPicture);
  year->setObjectName(QStringLiteral("LblCalendarYear"));
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSize(16);
  font.setBold(true);
  year->setFont(font);
  year->setAlignment(Qt::AlignCenter);
  year->setAutoFillBackground(true);
  year->setBackgroundRole(QPalette::Base);
  const QRectF box = FFace->Layout().BoxRect(QStringLiteral("YearBox"));
  if (!box.isNull()) FFace->Place(year, box.adjusted(0.02, 0.02, -0.02, -0.02));
}

QRectF TFrmFormScreen::PlaceOf(const char* param, double x, double y, double w,
                               bool checkMark) const {
  if (x >= 0) return TFormFace::LinePlace(x, y, w);
  return FFace->ParamPlace(QLatin1String(param), checkMark);
}

void TFrmFormScreen::CreateLabels() {
  for (const TLabelDef& l : FDef.Labels) {
    auto* label = new QLabel(FPicture);
    const QString name = QLatin1String(l.Name);
    label->setObjectName(name);
    // The value reads with the caption of the box it fills.
    if (l.Caption) label->setAccessibleDescription(QString::fromUtf8(l.Caption));
    QFont font = FFace->TextFont();
    font.setBold(l.Bold);
    label->setFont(font);
    // With a buddy the label reads "&&" as one "&": texts arrive with their ampersands doubled.
    label->setBuddy(FPicture);
    label->setAlignment(Qt::AlignVCenter | (l.Align == TAlign::Right    ? Qt::AlignRight
                                            : l.Align == TAlign::Center ? Qt::AlignHCenter
                                                                        : Qt::AlignLeft));
    FFace->Place(label, PlaceOf(l.Param, l.X, l.Y, l.W, false));
    if (!IsCommonLabel(name))
      ShowFitted(label, DoubleAmpersands(ValueText(l.Value, CurrentFormData())),
                 FFace->TextFont().pixelSize());
    FLabels.insert(name, label);
  }
}

QWidget* TFrmFormScreen::CreateControl(const TControlDef& c) {
  QLineEdit* edit = nullptr;
  switch (c.Kind) {
    case TCtlKind::Money:
      edit = NewMoneyEdit();
      break;
    case TCtlKind::Check:
      edit = new TCheckBoxEdit;
      break;
    case TCtlKind::Filter:
      edit = NewFilterEdit(c, ValidCharsOf(c));
      break;
    case TCtlKind::IntText:
      edit = NewFilterEdit(c, QStringLiteral("[0..9]"));
      break;
    case TCtlKind::Date:
      edit = new TDateEdit;
      break;
    case TCtlKind::Text:
      edit = new QLineEdit;
      edit->setMaxLength(MaxLengthOf(c));
      edit->setValidator(new TCodePageValidator(edit));
      break;
  }
  edit->setParent(FPicture);
  edit->setObjectName(QLatin1String(c.Name));
  edit->setAccessibleName(QString::fromUtf8(c.Caption));
  // A check box without a square of its own on the face keeps its frame, so it can be seen.
  edit->setFrame(c.Kind == TCtlKind::Check && c.X >= 0);
  if (c.Kind != TCtlKind::Check) {
    edit->setFont(FFace->TextFont());
    edit->setAlignment(AlignmentOf(c.Flags));
  } else {
    edit->setFont(FFace->CheckFont());
  }
  if (c.Flags & cfNoTabStop) edit->setFocusPolicy(Qt::ClickFocus);
  const QRectF place = PlaceOf(c.Param, c.X, c.Y, c.W, c.Kind == TCtlKind::Check);
  if (c.Kind == TCtlKind::Check && c.X < 0)
    FFace->PlaceInside(edit, place);
  else
    FFace->Place(edit, place);
  // A key a text box cannot take (it is full, or the character cannot be stored) is refused
  // aloud; the amount and date boxes have their own refusals.
  if (c.Kind == TCtlKind::Text || c.Kind == TCtlKind::Filter || c.Kind == TCtlKind::IntText)
    connect(edit, &QLineEdit::inputRejected, edit, [] { Beep(); });
  if (c.Kind != TCtlKind::Check) KeepMarksInSight(edit);
  if (c.Kind == TCtlKind::Money) FitWidest(edit, kWidestAmount);
  return edit;
}

void TFrmFormScreen::CreateControls() {
  QWidget* previous = nullptr;
  for (const TBoxDef& box : FDef.Boxes) {
    const TControlDef& c = box.Control;
    QWidget* control = CreateControl(c);
    FControls.insert(QLatin1String(c.Name), control);
    auto enter = [this, control] { FieldEnter(control); };
    auto exit = [this, control] { FieldExit(control); };
    if (auto* e = qobject_cast<TDollarEdit*>(control)) {
      connect(e, &TDollarEdit::entered, this, enter);
      connect(e, &TDollarEdit::exited, this, exit);
    } else if (auto* e = qobject_cast<TCheckBoxEdit*>(control)) {
      connect(e, &TCheckBoxEdit::entered, this, enter);
      connect(e, &TCheckBoxEdit::exited, this, exit);
    } else if (auto* e = qobject_cast<TFilterEdit*>(control)) {
      connect(e, &TFilterEdit::entered, this, enter);
      connect(e, &TFilterEdit::exited, this, exit);
    } else if (auto* e = qobject_cast<TDateEdit*>(control)) {
      connect(e, &TDateEdit::entered, this, enter);
      connect(e, &TDateEdit::exited, this, exit);
    }
    // The focus colour follows the focus, also where it arrives with the window's activation.
    control->installEventFilter(this);
    if (previous && (c.Flags & cfNoTabStop) == 0) setTabOrder(previous, control);
    if ((c.Flags & cfNoTabStop) == 0) previous = control;
  }
  AddCorrectedKey();
  MapBoxes();
}

namespace {
qint64 Area(const QRect& r) {
  return qint64(r.width()) * r.height();
}

// The smallest of boxes that holds point; a null rectangle when none does.
QRect SmallestBoxAt(const QList<QRect>& boxes, const QPoint& point) {
  QRect best;
  for (const QRect& box : boxes)
    if (box.contains(point) && (best.isNull() || Area(box) < Area(best))) best = box;
  return best;
}

int DistanceTo(const QRect& r, const QPoint& p) {
  const int dx = std::max({r.left() - p.x(), 0, p.x() - r.right()});
  const int dy = std::max({r.top() - p.y(), 0, p.y() - r.bottom()});
  return dx + dy;
}
}  // namespace

void TFrmFormScreen::MapBoxes() {
  for (const TFaceItem& f : FFace->Layout().Face)
    if (f.Kind == TFaceKind::Box)
      FFaceBoxes.append(
          FFace->ToPixels(QRectF(QPointF(f.X1, f.Y1), QPointF(f.X2, f.Y2)).normalized()));
  for (const TBoxDef& b : FDef.Boxes) {
    QWidget* control = FControls.value(QLatin1String(b.Control.Name));
    const QRect box = SmallestBoxAt(FFaceBoxes, control->geometry().center());
    FTargets.append({box.isNull() ? control->geometry() : box, control});
  }
  FPicture->installEventFilter(this);
}

// The "$" before an amount and the "%" after a percentage are part of what the box asks for:
// a control that reaches over one ends short of it.
void TFrmFormScreen::KeepMarksInSight(QWidget* control) const {
  constexpr int kGap = 1;
  QRect place = control->geometry();
  for (const TFormFace::TCaptionLine& line : FFace->CaptionLines()) {
    if (line.Text != QLatin1String("$") && line.Text != QLatin1String("%")) continue;
    if (!place.intersects(line.Rect)) continue;
    if (line.Rect.center().x() < place.center().x())
      place.setLeft(line.Rect.right() + 1 + kGap);
    else
      place.setRight(line.Rect.left() - 1 - kGap);
  }
  control->setGeometry(place);
}

QWidget* TFrmFormScreen::Picture() const {
  return FPicture;
}

QRect TFrmFormScreen::BoxOf(const QString& control) const {
  for (const TBoxTarget& t : FTargets)
    if (t.Control->objectName() == control) return t.Box;
  return {};
}

// The box the click fell in takes the focus into its control (the one nearest the click where a
// box holds several lines). Outside every box the focus stays where it was, guarded.
void TFrmFormScreen::PictureClicked(const QPoint& at) {
  const QRect box = SmallestBoxAt(FFaceBoxes, at);
  QWidget* nearest = nullptr;
  int distance = 0;
  for (const TBoxTarget& t : FTargets) {
    if (box.isNull() || t.Box != box) continue;
    if (!t.Control->isEnabled() || t.Control->focusPolicy() == Qt::NoFocus) continue;
    const int d = DistanceTo(t.Control->geometry(), at);
    if (!nearest || d < distance) {
      nearest = t.Control;
      distance = d;
    }
  }
  if (nearest) {
    FGuardNextKey = false;
    nearest->setFocus(Qt::OtherFocusReason);
    return;
  }
  FGuardNextKey = FControls.values().contains(QApplication::focusWidget());
}

// The first key after a click outside every box: a key that would change the box selects its
// text instead, with a beep, so the user sees which box has the focus before typing into it.
bool TFrmFormScreen::GuardKey(QWidget* control, QKeyEvent* event) {
  if (!FGuardNextKey) return false;
  // Shift for a capital comes before the key the guard is for.
  if (FieldFocus::IsModifierKey(event->key())) return false;
  FGuardNextKey = false;
  const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
  const bool changes = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete ||
                       (!event->text().isEmpty() && event->text()[0].isPrint());
  if (command || !changes) return false;
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
  Beep();
  return true;
}

// The CORRECTED box stays out of the tab order; its own key reaches it.
void TFrmFormScreen::AddCorrectedKey() {
  QWidget* corrected = FControls.value(QStringLiteral("Corrected"));
  if (!corrected) return;
  corrected->setToolTip(QStringLiteral("CORRECTED (Alt + O)"));
  auto* key = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_O), this);
  connect(key, &QShortcut::activated, corrected,
          [corrected] { corrected->setFocus(Qt::ShortcutFocusReason); });
}

QWidget* TFrmFormScreen::FirstBox() const {
  for (const TBoxDef& box : FDef.Boxes)
    if ((box.Control.Flags & cfNoTabStop) == 0)
      return FControls.value(QLatin1String(box.Control.Name));
  return nullptr;
}

void TFrmFormScreen::CreateNavigator() {
  RSNavigator = new TRSNavigator(this);
  RSNavigator->setObjectName(QStringLiteral("RSNavigator"));
  RSNavigator->SetVisibleButtons(kFormNavBtns);
  RSNavigator->SetAutoPerform(true);
  RSNavigator->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  for (int b = nbFirst; b <= nbList; ++b)
    RSNavigator->SetBtnHint(static_cast<TNavigationButtons>(b), QLatin1String(kFormNavHints[b]));
  RSNavigator->OnBeforeAction = [this](TRSNavigator*) {
    Validate();
    SaveFormFields();
    FrmDataModule->RSPayee->PostRec();
  };
  RSNavigator->OnAfterAction = [this](TRSNavigator*) { LoadFormFields(); };
  RSNavigator->OnBtnListClick = [](TRSNavigator*) { ShowRecordList(); };
}

void TFrmFormScreen::CreateButtons() {
  CreateNavigator();
  BtnPrint = NewFlatButton(QStringLiteral("P&rint"), this);
  BtnPrint->setObjectName(QStringLiteral("BtnPrint"));
  BtnPrint->setToolTip(QStringLiteral("Print the forms of all or of chosen payees"));
  BtnPrintForm = NewFlatButton(QStringLiteral("Print &this form"), this);
  BtnPrintForm->setObjectName(QStringLiteral("BtnPrintForm"));
  BtnPrintForm->setToolTip(QStringLiteral("Print the form of the payee shown"));
  BtnClose = NewFlatButton(QStringLiteral("&Close"), this);
  BtnClose->setObjectName(QStringLiteral("BtnClose"));
  BtnHelp = NewHelpButton(this);
  for (QPushButton* b : {BtnPrint, BtnPrintForm, BtnClose, BtnHelp}) b->setFocusPolicy(Qt::NoFocus);
  connect(BtnPrint, &QPushButton::clicked, this,
          [this] { TApplication::Guard([this] { BtnPrintClick(); }); });
  connect(BtnPrintForm, &QPushButton::clicked, this,
          [this] { TApplication::Guard([this] { BtnPrintFormClick(); }); });
  connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
  connect(BtnHelp, &QPushButton::clicked, this, [this] { BtnHelpClick(); });

  auto* bar = new QHBoxLayout;
  bar->setContentsMargins(6, 0, 6, 0);
  bar->addWidget(RSNavigator);
  bar->addStretch();
  bar->addWidget(BtnPrint);
  bar->addWidget(BtnPrintForm);
  bar->addWidget(BtnClose);
  bar->addWidget(BtnHelp);
  LayOutFormScreen(this, ScrollBox, bar);

  EnterAsTab = NewEnterAsTab(this);
  // The key preview: Alt + F, N, P, L, I drive the navigator wherever the focus is. They are
  // the navigator's even where its button is disabled (Alt + N on the last payee): the box with
  // the focus must not take the letter as typing.
  EnterAsTab->OnKeyDown = [this](int key, Qt::KeyboardModifiers modifiers) {
    return RSNavigator->KeyDownHandler(key, modifiers) || IsNavigatorKey(key, modifiers);
  };
}

void TFrmFormScreen::CreatePrintComponents() {
  ReportSystem = NewFormReportSystem(this, QString::fromLatin1(FDef.Name),
                                     [this](TPagePrinter& printer) { ReportSystemPrint(printer); });
  ReportPrinter =
      NewFormReportPrinter(this, QString::fromLatin1(FDef.RedCopy.JobTitle),
                           [this](TPagePrinter& printer) { ReportPrinterPrint(printer); });
  ConfirmPrintDialog = [this](TReportPrinter& job) { return ConfirmWithPrintDialog(this, job); };
  ReportSystem->SaveEachRecipient = [this](QWidget* parent) {
    if (FrmDataModule->ReportProject)
      SaveRecipientFiles(FDef, FrmDataModule->ReportProject->ProjectFile(), parent, FSelection);
  };
}

// ---- opening, the payer and payee blocks ---------------------------------------------------

void TFrmFormScreen::FormShow() {
  // The main window sets it before opening the screen; a screen opened any other way must still
  // count and print its own form.
  CurrentFormType = FDef.FormType;
  FrmDataModule->RSPayee->GetRec();
  LoadFormFields();
  ShowPayerBlock();
  BindNavigator();
  FOffsets = ReadHeldOffsets(QString::fromLatin1(FDef.OffsetPrefix));
  if (FrmDataModule->ReportProject) FrmDataModule->ReportProject->SetEngine(ReportSystem);
  if (QWidget* first = FirstBox()) first->setFocus(Qt::OtherFocusReason);
  if (FDef.ScreenExtra == TScreenExtra::DistCodeList) AddDistCodeList(*this, Box7Face(*this));
}

void TFrmFormScreen::BindNavigator() {
  RSNavigator->SetRecordSet(FrmDataModule->RSPayee);
}

// A form without one of the common labels (the 1099-S has no trade name line) skips it.
void TFrmFormScreen::ShowLabel(const char* name, const QString& text) {
  if (QLabel* label = FLabels.value(QLatin1String(name)))
    ShowFitted(label, text, FFace->TextFont().pixelSize());
}

void TFrmFormScreen::ShowPayerBlock() {
  const bool trade = !IsBlank(Payer("TradeName"));
  if (!FDef.TradeNameLine || trade) {
    ShowLabel("PayerName", DoubleAmpersands(Payer("PayerName")));
    ShowLabel("TradeName", DoubleAmpersands(Payer("TradeName")));
  } else {
    // A single name line sits on the lower of the two lines.
    ShowLabel("PayerName", QString());
    ShowLabel("TradeName", DoubleAmpersands(Payer("PayerName")));
  }
  ShowLabel("Address", DoubleAmpersands(Payer("Address1") + QLatin1Char(' ') + Payer("Address2")));
  ShowLabel("CityStZip", DoubleAmpersands(Payer("CityStZip")));
  ShowLabel("PhoneNum", Payer("PhoneNum"));
  ShowLabel("EmpIDNum", IsValidEIN(Payer("EmpIDNum")) ? Payer("EmpIDNum") : Payer("SocSecNum"));
}

void TFrmFormScreen::ShowPayeeLabels() {
  ShowLabel("SSN_IDNum", Payee("SSN_IDNum"));
  if (IsBlank(Payee("CompName"))) {
    ShowLabel("PayeeName", QString());
    ShowLabel("PayeeCompName", DoubleAmpersands(Payee("PayeeName")));
  } else {
    ShowLabel("PayeeName", DoubleAmpersands(Payee("PayeeName")));
    ShowLabel("PayeeCompName", DoubleAmpersands(Payee("CompName")));
  }
  ShowLabel("PayeeAddress1", DoubleAmpersands(Payee("Address1")));
  ShowLabel("PayeeAddress2", DoubleAmpersands(Payee("CityStZip")));
}

// ---- record transfer -------------------------------------------------------------------------

void TFrmFormScreen::LoadFormFields() {
  ShowPayeeLabels();
  for (const TBoxDef& box : FDef.Boxes) {
    const TControlDef& c = box.Control;
    QWidget* control = FControls.value(QLatin1String(c.Name));
    const TFieldHandle field = PayeeLayout().Field(c.Field);
    switch (c.Kind) {
      case TCtlKind::Money:
        static_cast<TDollarEdit*>(control)->SetValue(PayeeRec.GetDouble(field));
        break;
      case TCtlKind::Check:
        static_cast<TCheckBoxEdit*>(control)->SetChecked(PayeeRec.GetBool(field));
        break;
      case TCtlKind::IntText:
        static_cast<QLineEdit*>(control)->setText(QString::number(PayeeRec.GetInt(field)));
        break;
      case TCtlKind::Date:
        static_cast<TDateEdit*>(control)->setText(PayeeRec.GetString(field));
        break;
      default:
        static_cast<QLineEdit*>(control)->setText(PayeeRec.GetString(field));
        break;
    }
  }
}

void TFrmFormScreen::SaveFormFields() {
  SaveFormFields(PayeeRec);
}

void TFrmFormScreen::SaveFormFields(TPayeeRecord& payee) const {
  for (const TBoxDef& box : FDef.Boxes) {
    const TControlDef& c = box.Control;
    QWidget* control = FControls.value(QLatin1String(c.Name));
    const TFieldHandle field = PayeeLayout().Field(c.Field);
    switch (c.Kind) {
      case TCtlKind::Money:
        payee.SetDouble(field, static_cast<TDollarEdit*>(control)->Value());
        break;
      case TCtlKind::Check:
        payee.SetBool(field, static_cast<TCheckBoxEdit*>(control)->Checked());
        break;
      case TCtlKind::IntText: {
        const QString text = TrimText(static_cast<QLineEdit*>(control)->text());
        payee.SetInt(field, text.isEmpty() ? 0 : TextToInt(text));
        break;
      }
      case TCtlKind::Date:
        payee.SetString(field, static_cast<TDateEdit*>(control)->text());
        break;
      default:
        payee.SetString(field, static_cast<QLineEdit*>(control)->text());
        break;
    }
  }
}

void TFrmFormScreen::ValidateForm() {
  RaiseFieldProblem(FDef.Check(TScreenEntries(this)), this);
}

void TFrmFormScreen::Validate() {
  ValidateForm();
  TPayeeRecord stored = PayeeRec;
  SaveFormFields(stored);
  std::vector<TStoredField> boxes;
  for (const TBoxDef& box : FDef.Boxes)
    boxes.push_back({box.Control.Field, box.Control.Name, box.Control.Caption});
  RaiseStoredProblem(PayeeLayout(), stored.Data(), boxes, this);
}

// ---- commands --------------------------------------------------------------------------------

void TFrmFormScreen::FormClose() {
  Validate();
  SaveFormFields();
  FrmDataModule->RSPayee->PostRec();
}

void TFrmFormScreen::BtnPrintClick() {
  Validate();
  SaveFormFields();
  FrmDataModule->RSPayee->PostRec();
  if (ScanFormTotals() == 0) throw EPrintException(QString::fromLatin1(FDef.NoFormsText));
  TPrintRun run;
  run.Offer.Payees = true;
  run.Offer.Alignment = true;
  const uint8_t type = FDef.FormType;
  run.Offer.CountForms = [type](const TPayeeSelection& s) { return CountSelectedForms(type, s); };
  run.Offer.ChoosePayees = [type, this](QList<int>& chosen) {
    return ChoosePayees(
        chosen, [type] { return FormQualifies(type, PayeeRec.Data()); }, this);
  };
  RunPrint(QString::fromLatin1(FDef.Name), run, {});
}

void TFrmFormScreen::BtnPrintFormClick() {
  Validate();
  SaveFormFields();
  FrmDataModule->RSPayee->PostRec();
  if (!FormQualifies(FDef.FormType, PayeeRec.Data()))
    throw EPrintException(
        QStringLiteral("This payee has nothing to report on %1").arg(QLatin1String(FDef.Name)));
  const QString payee = IsBlank(Payee("PayeeName")) ? Payee("SSN_IDNum") : Payee("PayeeName");
  RunPrint(QStringLiteral("%1 for %2").arg(QLatin1String(FDef.Name), payee.trimmed()), {},
           TPayeeSelection::Chosen({FrmDataModule->RSPayee->CurrentRecord()}));
}

void TFrmFormScreen::RunPrint(const QString& caption, TPrintRun run, const TPayeeSelection& fixed) {
  // What a print takes lasts for that print only: the next one starts from all payees.
  TScopeCleanup reset([this] {
    FSelection = {};
    FAlignment = false;
    ReportPrinter->SetTitle(QString::fromLatin1(FDef.RedCopy.JobTitle));
  });
  run.Prepare = [this, fixed](int type, const TPayeeSelection& chosen) {
    FAlignment = type == ptAlignment;
    if (FAlignment) {
      ReportPrinter->SetTitle(QStringLiteral("%1 Alignment").arg(QLatin1String(FDef.Name)));
      return;
    }
    FSelection = fixed.TakesAll() ? chosen : fixed;
    if (FSelection.TakesAll()) return;
    if (ScanFormTotals(FSelection) == 0)
      throw EPrintException(NoSelectedFormsText(FDef, FSelection));
    if (FSelection.Scope == TPayeeScope::Corrected)
      if (const QString notice = CorrectedWithoutFormNotice(FDef); !notice.isEmpty())
        MsgBox(notice, AppTitle(), mbInfo);
  };
  RunChosenPrint(caption, this, *ReportSystem, *ReportPrinter, ConfirmPrintDialog, run);
}

void TFrmFormScreen::BtnHelpClick() {
  const QString file = QDir::current().absoluteFilePath(QString::fromLatin1(FDef.Instructions));
  if (QFile::exists(file))
    ShellOpenDocument(file);
  else
    ShowMissingInstructions(QString::fromLatin1(FDef.NoInstructionsText),
                            {QString::fromLatin1(FDef.Name).remove(QStringLiteral("Form "))});
}

void TFrmFormScreen::ReportSystemPrint(TPagePrinter& printer) {
  PrintProgramGenerated(FDef, printer, *FrmDataModule->ReportProject, CopyChoice(), FSelection);
}

void TFrmFormScreen::ReportPrinterPrint(TPagePrinter& printer) {
  if (FAlignment)
    PrintAlignmentPage(FDef, printer, FOffsets);
  else
    PrintRedCopies(FDef, printer, FOffsets, FSelection);
}

// ---- focus colour and keys -------------------------------------------------------------------

void TFrmFormScreen::FieldEnter(QWidget* control) {
  if (FColoured == control) return;
  if (FColoured) FieldExit(FColoured);
  FColoured = control;
  OldColor = control->palette().color(QPalette::Base);
  OldAutoFill = control->autoFillBackground();
  QPalette pal = control->palette();
  pal.setColor(QPalette::Base, FocusColor);
  control->setPalette(pal);
  // The boxes sit frameless on the picture, and a frameless edit paints no background.
  control->setAutoFillBackground(true);
}

void TFrmFormScreen::FieldExit(QWidget* control) {
  if (FColoured != control) return;
  FColoured = nullptr;
  QPalette pal = control->palette();
  pal.setColor(QPalette::Base, OldColor);
  control->setPalette(pal);
  control->setAutoFillBackground(OldAutoFill);
}

bool TFrmFormScreen::eventFilter(QObject* watched, QEvent* event) {
  // Plain edits have no entered and exited signals of their own, and the others signal no entry
  // when the focus comes with the window: the colour follows the focus itself. A box keeps it
  // while another window is in front.
  if (watched == FPicture && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) PictureClicked(mouse->position().toPoint());
    return false;
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget && event->type() == QEvent::KeyPress &&
      GuardKey(widget, static_cast<QKeyEvent*>(event)))
    return true;
  if (widget && (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress))
    FGuardNextKey = false;
  if (widget && event->type() == QEvent::FocusIn) FieldEnter(widget);
  if (widget && event->type() == QEvent::FocusOut &&
      FieldFocus::CountsAsFieldChange(static_cast<QFocusEvent*>(event)->reason()))
    FieldExit(widget);
  return TFrmScreen::eventFilter(watched, event);
}

void TFrmFormScreen::keyPressEvent(QKeyEvent* event) {
  // F1 explains the screen; the Help button opens the IRS's instructions for the form.
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    ShowHelp(HelpContext());
    event->accept();
    return;
  }
  TFrmScreen::keyPressEvent(event);
}

void ShowFormScreen(const TFormDef& def) {
  CurrentFormType = def.FormType;
  TFrmFormScreen screen(def, QApplication::activeWindow());
  screen.exec();
}
