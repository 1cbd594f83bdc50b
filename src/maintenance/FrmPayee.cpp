#include "maintenance/FrmPayee.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "controls/EnterAsTab.h"
#include "controls/FilterEdit.h"
#include "controls/RSNavigator.h"
#include "controls/StateEdit.h"
#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "maintenance/RecordList.h"
#include "platform/Application.h"
#include "platform/Exceptions.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecordModel.h"
#include "storage/TinRules.h"

namespace {
constexpr int Border = 8;
constexpr int DesignWidth = 452;
constexpr int DesignHeight = 291;
constexpr int MemoHeight = 46;
constexpr int LabelGap = 8;
constexpr int ButtonGap = 4;      // from the last field down to the buttons, at least
constexpr int MemoGap = 6;        // from the buttons down to the explanation
constexpr int WideField = 196;    // 30 character fields
constexpr int MediumField = 121;  // up to 16 characters

const char* const MemoLines[] = {
    "* If the Payee is an Individual, then check the box and enter the Payee's Last and First ",
    "   name. If the Payee is a Corporation,  Limited Liability Company,  or Trust,  then leave ",
    "   the box un-checked and enter the Payee's complete name in the second field.",
};

const char* const NavigatorHints[] = {
    "First Payee (Alt + F)",   "Next Payee (Alt + N)", "Prior Payee (Alt + P)",
    "Last Payee (Alt + L)",    "List Payee (Alt + I)", "New Record (Alt + E)",
    "Delete Record (Alt + D)",
};

// The explanation's lines end in spaces that need no room.
int MemoWidth(const TScreenGrid& g, const QPlainTextEdit* memo) {
  int widest = 0;
  for (const char* line : MemoLines) {
    QString text = QLatin1String(line);
    while (text.endsWith(QLatin1Char(' '))) text.chop(1);
    widest = std::max(widest, g.TextWidth(text));
  }
  return widest + 2 * memo->frameWidth() + 2 * int(memo->document()->documentMargin());
}

TRecordSet* Payees() {
  return FrmDataModule->RSPayee;
}
}  // namespace

TFrmPayee::TFrmPayee(QWidget* parent) : TFrmScreen(parent, 11) {
  setObjectName(QStringLiteral("FrmPayee"));
  setWindowTitle(QStringLiteral("Payee Data"));
  CreateControls();
  CreateNavigator();
  SetTabOrder();
  LayOut();
  EnterAsTab = NewEnterAsTab(this);
  EnterAsTab->OnKeyDown = [this](int key, Qt::KeyboardModifiers modifiers) {
    return RSNavigator->KeyDownHandler(key, modifiers);
  };
  connect(Individual, &QCheckBox::toggled, this, &TFrmPayee::IndividualStep);
  for (QLineEdit* name : {LastName, FirstName, PayeeName})
    connect(name, &QLineEdit::textChanged, this, &TFrmPayee::NameChange);
  for (QLineEdit* edit : {LastName, FirstName, PayeeName, static_cast<QLineEdit*>(SSN_IDNum)})
    connect(edit, &QLineEdit::textChanged, this, &TFrmPayee::ShowTinNote);
  connect(Individual, &QCheckBox::toggled, this, &TFrmPayee::ShowTinNote);
  connect(BtnOk, &QPushButton::clicked, this, &TFrmPayee::BtnOkClick);
  connect(BtnHelp, &QPushButton::clicked, this, &TFrmPayee::BtnHelpClick);
}

void TFrmPayee::CreateControls() {
  Individual = new QCheckBox(QStringLiteral("Indi&vidual*"), this);
  Individual->setObjectName(QStringLiteral("Individual"));
  LastName = NewEdit("LastName", 20, this);
  FirstName = NewEdit("FirstName", 20, this);
  PayeeName = NewEdit("PayeeName", 40, this);
  CompName = NewEdit("CompName", 40, this);
  Address1 = NewEdit("Address1", 30, this);
  City = NewEdit("City", 16, this);
  State = NewStateEdit("State", false, this);
  ZipCode = NewFilterEdit("ZipCode", 10, QStringLiteral("[0..9,-]"), this);
  SSN_IDNum = NewFilterEdit("SSN_IDNum", 11, QStringLiteral("[0..9,-]"), this);
  TinNote = NewLabel(QString(), this);
  TinNote->setObjectName(QStringLiteral("TinNote"));
  TinNote->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  BtnOk = NewButton("BtnOk", QStringLiteral("&Ok"), this);
  BtnHelp = NewHelpButton(this);
  MemoHelp = new QPlainTextEdit(this);
  MemoHelp->setObjectName(QStringLiteral("MemoHelp"));
  QStringList lines;
  for (const char* line : MemoLines) lines << QLatin1String(line);
  MemoHelp->setPlainText(lines.join(QLatin1Char('\n')));
  MemoHelp->setReadOnly(true);
  MemoHelp->setFocusPolicy(Qt::NoFocus);
  MemoHelp->setLineWrapMode(QPlainTextEdit::NoWrap);
  MemoHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  MemoHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // A plain one-pixel border: the style's sunken frame loses sides at fractional scales.
  MemoHelp->setStyleSheet(QStringLiteral(
      "QPlainTextEdit { border: 1px solid palette(mid); background: palette(base); }"));
}

void TFrmPayee::CreateNavigator() {
  RSNavigator = new TRSNavigator(this);
  RSNavigator->setObjectName(QStringLiteral("RSNavigator"));
  RSNavigator->SetVisibleButtons(AllNavBtns);
  RSNavigator->SetAutoPerform(true);
  for (int b = nbFirst; b <= nbDelete; ++b)
    RSNavigator->SetBtnHint(static_cast<TNavigationButtons>(b), QLatin1String(NavigatorHints[b]));
  RSNavigator->OnBeforeAction = [this](TRSNavigator*) { RSNavigatorBeforeAction(); };
  RSNavigator->OnAfterAction = [this](TRSNavigator*) { RSNavigatorAfterAction(); };
  RSNavigator->OnBtnListClick = [](TRSNavigator*) { ShowRecordList(); };
}

void TFrmPayee::SetTabOrder() {
  SetTabChain({Individual, LastName, FirstName, PayeeName, CompName, Address1, City, State, ZipCode,
               SSN_IDNum, BtnOk, BtnHelp});
}

// Labels left of the fields, the last and first names side by side under their captions, the
// navigator and buttons below, and the explanation along the bottom edge. The window keeps its
// design size unless the screen font needs more room for a label or the explanation's lines.
void TFrmPayee::LayOut() {
  const TScreenGrid g(this);
  const int leftField = Border + LabelGap +
                        g.WidestText({"Payee's name:", "Non-Individual", "Trade name",
                                      "Street Address", "City, State, Zip", "Federal ID no."});
  const int memoWidth = MemoWidth(g, MemoHelp);
  const int stateWidth = g.StateEditWidth(State);
  const int zipWidth = g.EditWidthFor(QStringLiteral("00000-0000"));
  const int cityRow = MediumField + stateWidth + zipWidth + 2 * LabelGap;
  const int width = std::max({DesignWidth, memoWidth + 2 * Border,
                              leftField + std::max(cityRow, 2 * MediumField + LabelGap) + Border});
  const int right = width - Border;

  auto label = [&](const char* text, QWidget* buddy, int y) {
    QLabel* l = NewLabel(QLatin1String(text), this);
    g.PlaceAt(l, Border, y, g.TextWidth(QLatin1String(text)) + 2);
    if (buddy) l->setBuddy(buddy);
  };
  int y = Border;
  Individual->setGeometry(leftField, y, Individual->sizeHint().width(), g.FieldHeight);
  y += g.FieldHeight + 2;
  const int nameWidth = (right - leftField - LabelGap) / 2;
  const int captionHeight = fontMetrics().height();
  for (auto [text, x] : {std::pair{"Last name", leftField},
                         std::pair{"First name", leftField + nameWidth + LabelGap}}) {
    QLabel* caption = NewLabel(QLatin1String(text), this);
    caption->setGeometry(x, y, nameWidth, captionHeight);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    caption->setBuddy(text[0] == 'L' ? LastName : FirstName);
  }
  y += captionHeight + 1;
  label("Payee's name:", nullptr, y);
  g.PlaceAt(LastName, leftField, y, nameWidth);
  g.PlaceAt(FirstName, leftField + nameWidth + LabelGap, y, nameWidth);
  y += g.RowStep;
  label("Non-Individual", PayeeName, y);
  g.PlaceAt(PayeeName, leftField, y, right - leftField);
  y += g.RowStep;
  label("Trade name", CompName, y);
  g.PlaceAt(CompName, leftField, y, right - leftField);
  y += g.RowStep;
  label("Street Address", Address1, y);
  g.PlaceAt(Address1, leftField, y, std::max(WideField, cityRow));
  y += g.RowStep;
  label("City, State, Zip", City, y);
  // One caption stands before three fields: each is named on its own.
  City->setAccessibleName(QStringLiteral("City"));
  State->setAccessibleName(QStringLiteral("State"));
  ZipCode->setAccessibleName(QStringLiteral("Zip Code"));
  g.PlaceAt(City, leftField, y, MediumField);
  g.PlaceAt(State, leftField + MediumField + LabelGap, y, stateWidth);
  g.PlaceAt(ZipCode, leftField + MediumField + stateWidth + 2 * LabelGap, y, zipWidth);
  y += g.RowStep;
  label("Federal ID no.", SSN_IDNum, y);
  const int tinWidth = g.EditWidthFor(QStringLiteral("000-00-0000"));
  g.PlaceAt(SSN_IDNum, leftField, y, tinWidth);
  // Beside the number, so the screen keeps its size: what may be wrong with it and the IRS's
  // answer, cut to the room there is; the tooltip holds the whole text.
  const int noteX = leftField + tinWidth + LabelGap;
  g.PlaceAt(TinNote, noteX, y, right - noteX);
  PlaceBottom(width, leftField, y + g.FieldHeight);
}

// The explanation along the bottom edge, the navigator (from navigatorX) and the buttons just
// above it; the window is as high as the design unless the fields reach further down.
void TFrmPayee::PlaceBottom(int width, int navigatorX, int fieldsBottom) {
  const int right = width - Border;
  const int buttonHeight = std::max(25, BtnOk->sizeHint().height());
  const int memoHeight =
      std::max(MemoHeight, 3 * fontMetrics().lineSpacing() + 2 * MemoHelp->frameWidth() +
                               2 * int(MemoHelp->document()->documentMargin()));
  const int height = std::max(
      DesignHeight, fieldsBottom + ButtonGap + buttonHeight + MemoGap + memoHeight + Border);
  const int memoTop = height - Border - memoHeight;
  MemoHelp->setGeometry(Border, memoTop, right - Border, memoHeight);
  const int y = memoTop - MemoGap - buttonHeight;
  const QSize nav = RSNavigator->sizeHint();
  RSNavigator->setGeometry(navigatorX, y + (buttonHeight - nav.height()) / 2, nav.width(),
                           nav.height());
  BtnHelp->setGeometry(right - buttonHeight, y, buttonHeight, buttonHeight);
  BtnOk->setGeometry(right - buttonHeight - LabelGap - 75, y, 75, buttonHeight);
  setFixedSize(width, height);
}

void TFrmPayee::FormShow() {
  LoadTinAnswers();
  Payees()->GetRec();
  RecordToScreen();
  RSNavigator->SetRecordSet(Payees());
  RSNavigator->InitNavigator();
  IndividualStep();
}

void TFrmPayee::FirstShow() {
  FormShow();
}

void TFrmPayee::IndividualStep() {
  const bool individual = Individual->isChecked();
  LastName->setEnabled(individual);
  FirstName->setEnabled(individual);
  PayeeName->setEnabled(!individual);
  (individual ? LastName : PayeeName)->setFocus(Qt::OtherFocusReason);
}

void TFrmPayee::NameChange() {
  RecIndexDirty = true;
}

void TFrmPayee::RecordToScreen() {
  Individual->setChecked(PayeeRec.GetBool("Individual"));
  LastName->setText(PayeeRec.GetString("LastName"));
  FirstName->setText(PayeeRec.GetString("FirstName"));
  PayeeName->setText(PayeeRec.GetString("PayeeName"));
  CompName->setText(PayeeRec.GetString("CompName"));
  Address1->setText(PayeeRec.GetString("Address1"));
  City->setText(PayeeRec.GetString("City"));
  State->SetText(PayeeRec.GetString("State"));
  ZipCode->setText(PayeeRec.GetString("ZipCode"));
  SSN_IDNum->setText(PayeeRec.GetString("SSN_IDNum"));
  FShownKey = TinMatchKeyOf(PayeeRec);
  ShowTextsFromStart(this);
  ShowTinNote();
}

void TFrmPayee::LoadTinAnswers() {
  FAnswersProblem.clear();
  try {
    FAnswers = TTinAnswers::Load(TTinAnswers::FileFor(PayerFileName));
  } catch (const EInOutError& e) {
    FAnswers = {};
    FAnswersProblem = e.Message();
  }
}

void TFrmPayee::ShowTinNote() {
  TPayeeRecord shown = PayeeRec;
  ScreenToRecord(shown);
  QStringList lines;
  const QString tin = shown.GetString("SSN_IDNum");
  // A number still being typed is judged once it has all its digits.
  if (!TinDigits(tin).isEmpty())
    for (const TTinFinding& f : TinFindings(tin, shown.GetBool("Individual"))) lines << f.Text;
  if (const TTinAnswer* answer = FAnswers.Find(TinMatchKeyOf(shown)))
    lines << TinAnswerText(*answer);
  if (!FAnswersProblem.isEmpty()) lines << FAnswersProblem;
  const QString note = lines.join(QStringLiteral("; "));
  TinNote->setToolTip(note);
  TinNote->setAccessibleDescription(note);
  TinNote->setText(TinNote->fontMetrics().elidedText(note, Qt::ElideRight, TinNote->width()));
}

void TFrmPayee::ForgetChangedAnswer() {
  if (TinMatchKeyOf(PayeeRec) == FShownKey || FAnswers.Items().empty()) return;
  FShownKey = TinMatchKeyOf(PayeeRec);
  if (!FAnswers.KeepOnly(PayeeMatchKeys(*Payees()))) return;
  TApplication::Guard([this] { FAnswers.Save(TTinAnswers::FileFor(PayerFileName)); });
}

namespace {
// The fields this screen stores, under the words of its own messages.
const TStoredField kStoredFields[] = {
    {"LastName", "LastName", "Payee's Last name"},
    {"FirstName", "FirstName", "Payee's First name"},
    {"PayeeName", "PayeeName", "Payee's name"},
    {"CompName", "CompName", "Payee's trade name"},
    {"Address1", "Address1", "Payee address"},
    {"City", "City", "Payee's city name"},
    {"State", "State", "Payee's State code"},
    {"ZipCode", "ZipCode", "Payee's Zip Code"},
    {"SSN_IDNum", "SSN_IDNum", "Payee's Federal ID number"},
};
}  // namespace

void TFrmPayee::Validate() {
  RaiseFieldProblem(CheckPayeeEntries(TScreenEntries(this)), this);
  TPayeeRecord stored = PayeeRec;
  ScreenToRecord(stored);
  RaiseStoredProblem(PayeeLayout(), stored.Data(), kStoredFields, this);
}

void TFrmPayee::ScreenToRecord(TPayeeRecord& payee) const {
  payee.SetBool("Individual", Individual->isChecked());
  payee.SetString("LastName", LastName->text());
  payee.SetString("FirstName", FirstName->text());
  payee.SetString("PayeeName", PayeeName->text());
  payee.SetString("CompName", CompName->text());
  payee.SetString("Address1", Address1->text());
  payee.SetString("City", City->text());
  payee.SetString("State", StateCode(State));
  payee.SetString("ZipCode", ZipCode->text());
  payee.SetString("SSN_IDNum", SSN_IDNum->text());
  DerivePayeeFields(payee);
}

void TFrmPayee::ScreenToRecord() {
  ScreenToRecord(PayeeRec);
}

void TFrmPayee::RSNavigatorBeforeAction() {
  if (RSNavigator->Action() == baDelete) return;  // an unwanted payee need not be valid
  Validate();
  ScreenToRecord();
  Payees()->PostRec();
  ForgetChangedAnswer();
}

void TFrmPayee::RSNavigatorAfterAction() {
  if (RSNavigator->Action() == baNew)
    (Individual->isChecked() ? LastName : PayeeName)->setFocus(Qt::OtherFocusReason);
  RecordToScreen();
}

void TFrmPayee::BtnOkClick() {
  accept();
}

// A payee never saved (as New leaves it: every byte zero) and still blank on the screen.
bool TFrmPayee::IsUntouchedBlank() const {
  const uint8_t* bytes = PayeeRec.Data();
  if (std::any_of(bytes, bytes + TPayeeRecord::Size, [](uint8_t b) { return b != 0; }))
    return false;
  const QLineEdit* fields[] = {LastName, FirstName, PayeeName, CompName,
                               Address1, City,      ZipCode,   SSN_IDNum};
  for (const QLineEdit* edit : fields)
    if (!IsBlank(edit->text())) return false;
  return NoState(State);
}

// A payee added by mistake holds the user on the screen, as nothing blank may be saved: closing
// offers to delete it (the record set's own delete, with this question). Answers whether it went.
bool TFrmPayee::DropBlankPayee() {
  if (!IsUntouchedBlank() || Payees()->RecordCount() <= 1 || Payees()->BrowseOnly()) return false;
  const QString question = Payees()->DelMsgText();
  Payees()->SetDelMsgText(
      QStringLiteral("This payee is blank and has never been saved.~Delete it and close?"));
  const int before = Payees()->RecordCount();
  {
    TScopeCleanup restore([question] { Payees()->SetDelMsgText(question); });
    Payees()->DeleteRec();
  }
  return Payees()->RecordCount() < before;
}

void TFrmPayee::FormCloseQuery() {
  if (DropBlankPayee()) return;
  Validate();
  ScreenToRecord();
  // The payee is valid and in PayeeRec; a failing write is reported but does not hold the user
  // on the screen, and the payee is written again when the file closes.
  TApplication::Guard([] { Payees()->PostRec(); });
  ForgetChangedAnswer();
}

void ShowPayeeScreen() {
  ShowModalScreen<TFrmPayee>();
}
