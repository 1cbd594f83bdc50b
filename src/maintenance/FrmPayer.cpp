#include "maintenance/FrmPayer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/FilterEdit.h"
#include "controls/StateEdit.h"
#include "core/Utils.h"
#include "platform/Application.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecordModel.h"

namespace {
constexpr int Border = 8;
constexpr int DesignWidth = 580;
constexpr int DesignHeight = 380;
constexpr int LeftField = 80;
constexpr int RightLabel = 286;
constexpr int RightField = 376;
constexpr int WideField = 196;    // 30 and 40 character fields
constexpr int MediumField = 121;  // up to 16 characters
constexpr int ColumnGap = 10;
constexpr int LabelGap = 6;  // from the widest label of a column to its fields
constexpr int StateGap = 4;  // between a state code, its "and I.D. no." and the number

const char* const PhoneMask = "000-000-0000";
const char* const EINMask = "00-0000000";
const char* const SSNMask = "000-00-0000";

const QString SignerText = QStringLiteral(
    "Person responsible for signing tax forms  (this data is optional, however, if you enter a "
    "name, you must also complete the title field). If you complete these fields, the name will "
    "be printed on the signature line along with the current date:");

// The fields this screen stores, under the words of its own messages.
const TStoredField kStoredFields[] = {
    {"PayerName", "PayerName", "Payer name"},
    {"TradeName", "TradeName", "Payer's trade name"},
    {"Address1", "Address1", "Payer address 1"},
    {"Address2", "Address2", "Payer address 2"},
    {"City", "City", "Payer's city name"},
    {"State", "State", "Payer's state name"},
    {"ZipCode", "ZipCode", "Payer's Zip Code"},
    {"Contact", "Contact", "Payer's contact person"},
    {"PhoneNum", "PhoneNum", "Payer's telephone number"},
    {"FaxNum", "FaxNum", "Payer's fax number"},
    {"Email", "Email", "Payer's e-mail address"},
    {"EmpIDNum", "EmpIDNum", "Payer's Employer I.D."},
    {"SocSecNum", "SocSecNum", "Payer's Social security number"},
    {"StateName1", "StateName1", "Primary State Code"},
    {"StateID1", "StateID1", "Primary state ID number"},
    {"StateName2", "StateName2", "Secondary State Code"},
    {"StateID2", "StateID2", "Secondary state ID number"},
    {"Locality1", "Locality1", "Primary locality"},
    {"Locality2", "Locality2", "Secondary locality"},
    {"RTN", "RTN", "Routing number"},
    {"SignerName", "SignerName", "Signer name"},
    {"SignerTitle", "SignerTitle", "Signer title"},
};
}  // namespace

TFrmPayer::TFrmPayer(QWidget* parent) : TFrmScreen(parent, 10) {
  setObjectName(QStringLiteral("FrmPayer"));
  setWindowTitle(QStringLiteral("Payer Data"));
  CreateControls();
  SetTabOrder();
  LayOut();
  EnterAsTab = NewEnterAsTab(this);
  connect(BtnOk, &QPushButton::clicked, this, &TFrmPayer::BtnOkClick);
  connect(BtnHelp, &QPushButton::clicked, this, &TFrmPayer::BtnHelpClick);
}

void TFrmPayer::CreateControls() {
  PayerName = NewEdit("PayerName", 40, this);
  TradeName = NewEdit("TradeName", 40, this);
  Address1 = NewEdit("Address1", 30, this);
  Address2 = NewEdit("Address2", 10, this);
  City = NewEdit("City", 16, this);
  State = NewStateEdit("State", false, this);
  ZipCode = NewFilterEdit("ZipCode", 10, QStringLiteral("[0..9,-]"), this);
  Contact = NewEdit("Contact", 30, this);
  PhoneNum = NewMaskedEdit("PhoneNum", QLatin1String(PhoneMask), this);
  FaxNum = NewMaskedEdit("FaxNum", QLatin1String(PhoneMask), this);
  Email = NewEdit("Email", 40, this);
  EmpIDNum = NewMaskedEdit("EmpIDNum", QLatin1String(EINMask), this);
  SocSecNum = NewMaskedEdit("SocSecNum", QLatin1String(SSNMask), this);
  StateName1 = NewStateEdit("StateName1", true, this);
  StateID1 = NewFilterEdit("StateID1", 12, QStringLiteral("[0..9]"), this);
  StateID1->SetCharCase(ecUpperCase);
  StateName2 = NewStateEdit("StateName2", true, this);
  StateID2 = NewFilterEdit("StateID2", 12, QStringLiteral("[0..9]"), this);
  StateID2->SetCharCase(ecUpperCase);
  Locality1 = NewEdit("Locality1", 15, this);
  Locality2 = NewEdit("Locality2", 15, this);
  RTN = NewFilterEdit("RTN", 9, QStringLiteral("[0..9]"), this);
  SignerName = NewFilterEdit("SignerName", 30, QStringLiteral("[]"), this);
  SignerTitle = NewFilterEdit("SignerTitle", 20, QStringLiteral("[]"), this);
  LblSigner = NewLabel(SignerText, this);
  LblSigner->setObjectName(QStringLiteral("LblSigner"));
  LblSigner->setWordWrap(true);
  LblSigner->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  BtnOk = NewButton("BtnOk", QStringLiteral("&Ok"), this);
  BtnHelp = NewHelpButton(this);
}

void TFrmPayer::SetTabOrder() {
  SetTabChain({PayerName, TradeName,  Address1,   Address2,    City,     State,
               ZipCode,   Contact,    PhoneNum,   FaxNum,      Email,    EmpIDNum,
               SocSecNum, StateName1, StateID1,   StateName2,  StateID2, Locality1,
               Locality2, RTN,        SignerName, SignerTitle, BtnOk,    BtnHelp});
}

namespace {
// Where the two columns of labelled fields start and how wide their fields are.
struct TPayerColumns {
  int LeftField, RightLabel, RightField, Width;
  int StateWidth, AndIdWidth, StateIdWidth, ZipWidth, PhoneWidth;
  int StateRow() const;
};

int TPayerColumns::StateRow() const {
  return StateWidth + StateGap + AndIdWidth + StateGap + StateIdWidth;
}

// The columns start where the design puts them and move right only as far as the screen font's
// widest label, the state rows and the ZIP code row need; the window grows only when the font
// leaves no other way.
TPayerColumns PayerColumns(const TScreenGrid& g, const TStateEdit* state) {
  TPayerColumns c{};
  c.StateWidth = g.StateEditWidth(state);
  c.AndIdWidth = g.TextWidth(QStringLiteral("and I.D. no."));
  c.StateIdWidth = g.EditWidthFor(QStringLiteral("000000000000"));
  c.ZipWidth = g.EditWidthFor(QStringLiteral("00000-0000"));
  c.PhoneWidth = g.EditWidthFor(QStringLiteral("000-000-0000"));
  c.LeftField = std::max(
      LeftField, Border + LabelGap +
                     g.WidestText({"Payer's name", "Trade name", "Address 1", "City", "Contact",
                                   "Fax number", "Federal I.D. no.", "Primary state",
                                   "Secondary state", "Routing number", "Name"}));
  c.RightLabel = std::max(RightLabel, c.LeftField + std::max(WideField, c.StateRow()) + ColumnGap);
  c.RightField = std::max(
      RightField,
      c.RightLabel + LabelGap +
          g.WidestText({"Address 2", "State", "Telephone no.", "E-mail address", "or Soc. Sec. no.",
                        "Primary locality", "Secondary locality", "Title"}));
  const int zipRow =
      c.StateWidth + LabelGap + g.TextWidth(QStringLiteral("Zip Code")) + LabelGap + c.ZipWidth;
  c.Width = std::max(DesignWidth, c.RightField + std::max({MediumField, zipRow}) + Border);
  return c;
}
}  // namespace

// Two columns of labelled fields on rows 27 pixels apart. The state codes with their numbers
// take the left column's rows 7 and 8, the localities stand beside them on the right: a state
// row needs more room than the right column's labels leave.
void TFrmPayer::LayOut() {
  const TScreenGrid g(this);
  const TPayerColumns c = PayerColumns(g, State);
  const int right = c.Width - Border;
  const int leftWidth = c.RightLabel - ColumnGap - c.LeftField;

  auto label = [&](const char* text, int x, int y) {
    QLabel* l = NewLabel(QLatin1String(text), this);
    g.PlaceAt(l, x, y, g.TextWidth(QLatin1String(text)) + 2);
    return l;
  };
  auto labelledAt = [&](const char* text, QWidget* field, int labelX, int fieldX, int y, int w) {
    label(text, labelX, y)->setBuddy(field);
    g.PlaceAt(field, fieldX, y, w);
  };
  auto left = [&](const char* text, QWidget* field, int row, int w) {
    labelledAt(text, field, Border, c.LeftField, g.RowTop(row), w);
  };
  auto rightSide = [&](const char* text, QWidget* field, int row, int w) {
    labelledAt(text, field, c.RightLabel, c.RightField, g.RowTop(row), w);
  };
  // A state code followed by "and I.D. no." and the number.
  auto stateRow = [&](const char* text, QWidget* code, QWidget* id, int row) {
    left(text, code, row, c.StateWidth);
    const int andX = c.LeftField + c.StateWidth + StateGap;
    labelledAt("and I.D. no.", id, andX, andX + c.AndIdWidth + StateGap, g.RowTop(row),
               c.StateIdWidth);
  };

  left("Payer's name", PayerName, 0, right - c.LeftField);
  left("Trade name", TradeName, 1, right - c.LeftField);
  left("Address 1", Address1, 2, leftWidth);
  rightSide("Address 2", Address2, 2, MediumField);
  left("City", City, 3, MediumField);
  rightSide("State", State, 3, c.StateWidth);
  labelledAt("Zip Code", ZipCode, right - c.ZipWidth - LabelGap - g.TextWidth("Zip Code"),
             right - c.ZipWidth, g.RowTop(3), c.ZipWidth);
  left("Contact", Contact, 4, leftWidth);
  rightSide("Telephone no.", PhoneNum, 4, c.PhoneWidth);
  left("Fax number", FaxNum, 5, c.PhoneWidth);
  rightSide("E-mail address", Email, 5, right - c.RightField);
  left("Federal I.D. no.", EmpIDNum, 6, c.PhoneWidth);
  rightSide("or Soc. Sec. no.", SocSecNum, 6, c.PhoneWidth);
  NameStateLists();
  stateRow("Primary state", StateName1, StateID1, 7);
  rightSide("Primary locality", Locality1, 7, MediumField);
  stateRow("Secondary state", StateName2, StateID2, 8);
  rightSide("Secondary locality", Locality2, 8, MediumField);
  left("Routing number", RTN, 9, g.EditWidthFor("000000000"));

  const int textTop = g.RowTop(9) + g.RowStep;
  const int textHeight = LblSigner->heightForWidth(right - Border);
  LblSigner->setGeometry(Border, textTop, right - Border, textHeight);
  const int signerTop = textTop + textHeight + StateGap;
  labelledAt("Name", SignerName, Border, c.LeftField, signerTop, leftWidth);
  labelledAt("Title", SignerTitle, c.RightLabel, c.RightField, signerTop, right - c.RightField);
  PlaceButtons(c.Width, signerTop + g.FieldHeight);
}

// A drop-down list reads its code, not its label: the state lists are named here. Both numbers
// follow the same "and I.D. no.": each is named for its own line.
void TFrmPayer::NameStateLists() {
  State->setAccessibleName(QStringLiteral("State"));
  StateName1->setAccessibleName(QStringLiteral("Primary state"));
  StateName2->setAccessibleName(QStringLiteral("Secondary state"));
  StateID1->setAccessibleName(QStringLiteral("Primary state I.D. no."));
  StateID2->setAccessibleName(QStringLiteral("Secondary state I.D. no."));
}

// Ok centred and help at the right, along the bottom edge below the last field; the window is
// fixed at its width and at the design height unless the fields reach further down.
void TFrmPayer::PlaceButtons(int width, int fieldsBottom) {
  const int buttonHeight = std::max(25, BtnOk->sizeHint().height());
  const int height = std::max(DesignHeight, fieldsBottom + 8 + buttonHeight + Border);
  const int buttonTop = height - Border - buttonHeight;
  BtnOk->setGeometry((width - 75) / 2, buttonTop, 75, buttonHeight);
  BtnHelp->setGeometry(width - Border - buttonHeight, buttonTop, buttonHeight, buttonHeight);
  setFixedSize(width, height);
}

void TFrmPayer::RecordToScreen() {
  PayerName->setText(PayerRec.GetString("PayerName"));
  TradeName->setText(PayerRec.GetString("TradeName"));
  Address1->setText(PayerRec.GetString("Address1"));
  Address2->setText(PayerRec.GetString("Address2"));
  City->setText(PayerRec.GetString("City"));
  State->SetText(PayerRec.GetString("State"));
  ZipCode->setText(PayerRec.GetString("ZipCode"));
  Contact->setText(PayerRec.GetString("Contact"));
  PhoneNum->setText(PayerRec.GetString("PhoneNum"));
  FaxNum->setText(PayerRec.GetString("FaxNum"));
  EmpIDNum->setText(PayerRec.GetString("EmpIDNum"));
  SocSecNum->setText(PayerRec.GetString("SocSecNum"));
  Email->setText(PayerRec.GetString("Email"));
  StateName1->SetText(PayerRec.GetString("StateName1"));
  StateID1->setText(PayerRec.GetString("StateID1"));
  StateName2->SetText(PayerRec.GetString("StateName2"));
  StateID2->setText(PayerRec.GetString("StateID2"));
  Locality1->setText(PayerRec.GetString("Locality1"));
  Locality2->setText(PayerRec.GetString("Locality2"));
  RTN->setText(PayerRec.GetString("RTN"));
  SignerName->setText(PayerRec.GetString("SignerName"));
  SignerTitle->setText(PayerRec.GetString("SignerTitle"));
  ShowTextsFromStart(this);
}

void TFrmPayer::Validate() {
  auto blank = [](const QLineEdit* e) { return [e] { return IsBlank(e->text()); }; };
  RunFieldChecks({
      {blank(PayerName), PayerName, "Payer name is missing."},
      {blank(Address1), Address1, "Payer address 1 is missing."},
      {blank(City), City, "Payer's city name is missing."},
      {[this] { return NoState(State); }, State, "Payer's state name is missing."},
      {[this] { return !IsValidZip(ZipCode->text()); }, ZipCode, "Payer's Zip Code is invalid.",
       "type it as 12345 or 12345-6789"},
      {blank(Contact), Contact, "Payer's contact person is missing."},
      {[this] { return !IsValidPhone(MaskedText(PhoneNum)); }, PhoneNum,
       "Payer's telephone number is invalid.", "type all ten digits, as 217-555-0123"},
      {[this] { return !IsValidEIN(MaskedText(EmpIDNum)) && !IsValidSSN(MaskedText(SocSecNum)); },
       EmpIDNum, "Payer's Employer I.D. or Social security number is invalid.",
       "type the employer identification number as 12-3456789, or leave it empty and type the "
       "social security number as 123-45-6789"},
      {[this] { return !IsBlank(RTN->text()) && !IsValidRTN(RTN->text()); }, RTN,
       "Routing number is invalid.",
       "type the bank's nine-digit routing number as printed on a check, such as 011000015"},
      {[this] { return !IsBlank(StateID1->text()) && NoState(StateName1); }, StateName1,
       "Primary State Code is invalid."},
      {[this] { return IsBlank(StateID1->text()) && !NoState(StateName1); }, StateID1,
       "Primary state ID number is missing."},
      {[this] { return !IsBlank(StateID2->text()) && NoState(StateName2); }, StateName2,
       "Secondary State Code is missing."},
      {[this] { return IsBlank(StateID2->text()) && !NoState(StateName2); }, StateID2,
       "Secondary state ID number is missing."},
      {[this] { return !IsBlank(SignerName->text()) && IsBlank(SignerTitle->text()); }, SignerTitle,
       "Signer title is missing."},
  });
  TPayerRecord stored = PayerRec;
  ScreenToRecord(stored);
  RaiseStoredProblem(PayerLayout(), stored.Data(), kStoredFields, this);
}

void TFrmPayer::ScreenToRecord(TPayerRecord& payer) const {
  payer.SetString("PayerName", PayerName->text());
  payer.SetString("TradeName", TradeName->text());
  payer.SetString("Address1", Address1->text());
  payer.SetString("Address2", Address2->text());
  payer.SetString("City", City->text());
  payer.SetString("State", StateCode(State));
  payer.SetString("ZipCode", ZipCode->text());
  payer.SetString("Contact", Contact->text());
  payer.SetString("PhoneNum", MaskedText(PhoneNum));
  payer.SetString("FaxNum", MaskedText(FaxNum));
  payer.SetString("Email", Email->text());
  payer.SetString("EmpIDNum", MaskedText(EmpIDNum));
  payer.SetString("SocSecNum", MaskedText(SocSecNum));
  payer.SetString("StateName1", StateCode(StateName1));
  payer.SetString("StateID1", StateID1->text());
  payer.SetString("StateName2", StateCode(StateName2));
  payer.SetString("StateID2", StateID2->text());
  payer.SetString("Locality1", Locality1->text());
  payer.SetString("Locality2", Locality2->text());
  payer.SetString("RTN", RTN->text());
  payer.SetString("SignerName", SignerName->text());
  payer.SetString("SignerTitle", SignerTitle->text());
  DerivePayerFields(payer);
}

void TFrmPayer::ScreenToRecord() {
  ScreenToRecord(PayerRec);
}

void TFrmPayer::BtnOkClick() {
  accept();
}

void TFrmPayer::FirstShow() {
  RecordToScreen();
  PayerName->setFocus();
}

void TFrmPayer::FormCloseQuery() {
  Validate();
  ScreenToRecord();
  // The data are valid and in PayerRec; a failing write is reported but does not hold the
  // user on the screen, and the payer is written again when the file closes.
  TApplication::Guard([] { FrmDataModule->RSPayer->PostRec(); });
}

void ShowPayerScreen() {
  ShowModalScreen<TFrmPayer>();
}
