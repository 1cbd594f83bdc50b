#include "maintenance/FrmPayer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/FilterEdit.h"
#include "controls/StateEdit.h"
#include "maintenance/Utils.h"
#include "platform/Application.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

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
constexpr int LabelGap = 8;

const char* const PhoneMask = "000-000-0000";
const char* const EINMask = "00-0000000";
const char* const SSNMask = "000-00-0000";

const QString SignerText = QStringLiteral(
    "Person responsible for signing tax forms  (this data is optional, however, if you enter a "
    "name, you must also complete the title field). If you complete these fields, the name will "
    "be printed on the signature line along with the current date:");

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

// Two columns of labelled fields on rows 27 pixels apart. The columns start where the design
// puts them, and move right only as far as the screen font's widest label needs.
void TFrmPayer::LayOut() {
  const TScreenGrid g(this);
  const int leftField = std::max(
      LeftField, Border + LabelGap +
                     g.WidestText({"Payer's name", "Trade name", "Address 1", "City", "Contact",
                                   "Fax number", "Federal I.D. no.", "Primary state",
                                   "Primary locality", "Routing number"}));
  const int stateWidth = std::max(50, State->sizeHint().width());
  const int andIdWidth = g.TextWidth(QStringLiteral("and I.D. no."));
  const int stateIdWidth = g.EditWidthFor(QStringLiteral("000000000000"));
  const int stateRow = stateWidth + 2 * LabelGap + andIdWidth + stateIdWidth;
  const int rightLabel =
      std::max(RightLabel, leftField + std::max(WideField, stateRow) + ColumnGap);
  const int rightField = std::max(
      RightField, rightLabel + LabelGap +
                      g.WidestText({"Address 2", "State", "Telephone no.", "E-mail address",
                                    "or Soc. Sec. no.", "Secondary state", "Secondary locality"}));
  const int zipWidth = g.EditWidthFor(QStringLiteral("00000-0000"));
  const int zipRow =
      stateWidth + ColumnGap + g.TextWidth(QStringLiteral("Zip Code")) + LabelGap + zipWidth;
  const int rightWidth = std::max({WideField, stateRow, zipRow});
  const int width = std::max(DesignWidth, rightField + rightWidth + Border);
  const int right = width - Border;
  const int phoneWidth = g.EditWidthFor(QStringLiteral("000-000-0000"));

  auto label = [&](const char* text, int x, int row) {
    QLabel* l = NewLabel(QLatin1String(text), this);
    g.Place(l, x, row, g.TextWidth(QLatin1String(text)) + 2);
    return l;
  };
  auto labelled = [&](const char* text, QWidget* field, int labelX, int fieldX, int row, int w) {
    label(text, labelX, row)->setBuddy(field);
    g.Place(field, fieldX, row, w);
  };
  // A state code followed by "and I.D. no." and the number.
  auto stateRowAt = [&](QWidget* code, QWidget* id, int x, int row) {
    g.Place(code, x, row, stateWidth);
    label("and I.D. no.", x + stateWidth + LabelGap, row)->setBuddy(id);
    g.Place(id, x + stateWidth + 2 * LabelGap + andIdWidth, row, stateIdWidth);
  };

  labelled("Payer's name", PayerName, Border, leftField, 0, right - leftField);
  labelled("Trade name", TradeName, Border, leftField, 1, right - leftField);
  labelled("Address 1", Address1, Border, leftField, 2, WideField);
  labelled("Address 2", Address2, rightLabel, rightField, 2, MediumField);
  labelled("City", City, Border, leftField, 3, MediumField);
  labelled("State", State, rightLabel, rightField, 3, stateWidth);
  labelled("Zip Code", ZipCode, right - zipWidth - LabelGap - g.TextWidth("Zip Code"),
           right - zipWidth, 3, zipWidth);
  labelled("Contact", Contact, Border, leftField, 4, WideField);
  labelled("Telephone no.", PhoneNum, rightLabel, rightField, 4, phoneWidth);
  labelled("Fax number", FaxNum, Border, leftField, 5, phoneWidth);
  labelled("E-mail address", Email, rightLabel, rightField, 5, right - rightField);
  labelled("Federal I.D. no.", EmpIDNum, Border, leftField, 6, phoneWidth);
  labelled("or Soc. Sec. no.", SocSecNum, rightLabel, rightField, 6, phoneWidth);
  // A drop-down list reads its code, not its label: the state lists are named here. Both numbers
  // follow the same "and I.D. no.": each is named for its own line.
  State->setAccessibleName(QStringLiteral("State"));
  StateName1->setAccessibleName(QStringLiteral("Primary state"));
  StateName2->setAccessibleName(QStringLiteral("Secondary state"));
  StateID1->setAccessibleName(QStringLiteral("Primary state I.D. no."));
  StateID2->setAccessibleName(QStringLiteral("Secondary state I.D. no."));
  label("Primary state", Border, 7)->setBuddy(StateName1);
  stateRowAt(StateName1, StateID1, leftField, 7);
  label("Secondary state", rightLabel, 7)->setBuddy(StateName2);
  stateRowAt(StateName2, StateID2, rightField, 7);
  labelled("Primary locality", Locality1, Border, leftField, 8, MediumField);
  labelled("Secondary locality", Locality2, rightLabel, rightField, 8, MediumField);
  labelled("Routing number", RTN, Border, leftField, 9, g.EditWidthFor("000000000"));

  const int textTop = g.RowTop(10);
  const int textHeight = LblSigner->heightForWidth(right - Border);
  LblSigner->setGeometry(Border, textTop, right - Border, textHeight);
  const int signerTop = textTop + textHeight + 6;
  auto labelledAt = [&](const char* text, QWidget* field, int labelX, int fieldX, int w) {
    QLabel* l = label(text, labelX, 0);
    l->move(labelX, signerTop);
    l->setBuddy(field);
    g.PlaceAt(field, fieldX, signerTop, w);
  };
  labelledAt("Name", SignerName, Border, leftField, WideField);
  labelledAt("Title", SignerTitle, rightLabel, rightField, right - rightField);

  const int buttonHeight = std::max(25, BtnOk->sizeHint().height());
  const int height = std::max(DesignHeight, signerTop + g.FieldHeight + 12 + buttonHeight + Border);
  const int buttonTop = height - Border - buttonHeight;
  BtnOk->setGeometry((width - 75) / 2, buttonTop, 75, buttonHeight);
  BtnHelp->setGeometry(right - buttonHeight, buttonTop, buttonHeight, buttonHeight);
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
}

void TFrmPayer::Validate() {
  auto blank = [](const QLineEdit* e) { return [e] { return IsBlank(e->text()); }; };
  RunFieldChecks({
      {blank(PayerName), PayerName, "Payer name is missing."},
      {blank(Address1), Address1, "Payer address 1 is missing."},
      {blank(City), City, "Payer's city name is missing."},
      {[this] { return NoState(State); }, State, "Payer's state name is missing."},
      {[this] { return !IsValidZip(ZipCode->text()); }, ZipCode, "Payer's Zip Code is invalid."},
      {blank(Contact), Contact, "Payer's contact person is missing."},
      {[this] { return !IsValidPhone(MaskedText(PhoneNum)); }, PhoneNum,
       "Payer's telephone number is invalid."},
      {[this] { return !IsValidEIN(MaskedText(EmpIDNum)) && !IsValidSSN(MaskedText(SocSecNum)); },
       EmpIDNum, "Payer's Employer I.D. or Social security number is invalid."},
      {[this] { return !IsBlank(RTN->text()) && !IsValidRTN(RTN->text()); }, RTN,
       "Routing number is invalid."},
      {[this] { return IsBlank(StateID1->text()) && NoState(StateName1); }, StateName1,
       "Primary State Code and ID number are missing."},
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
}

void TFrmPayer::ScreenToRecord() {
  PayerRec.SetString("PayerName", PayerName->text());
  PayerRec.SetString("TradeName", TradeName->text());
  PayerRec.SetString("Address1", Address1->text());
  PayerRec.SetString("Address2", Address2->text());
  PayerRec.SetString("City", City->text());
  PayerRec.SetString("State", StateCode(State));
  PayerRec.SetString("ZipCode", ZipCode->text());
  SetCityStZip(PayerRec);
  PayerRec.SetString("Contact", Contact->text());
  PayerRec.SetString("PhoneNum", MaskedText(PhoneNum));
  PayerRec.SetString("FaxNum", MaskedText(FaxNum));
  PayerRec.SetString("Email", Email->text());
  PayerRec.SetString("EmpIDNum", MaskedText(EmpIDNum));
  PayerRec.SetString("SocSecNum", MaskedText(SocSecNum));
  PayerRec.SetString("StateName1", StateCode(StateName1));
  PayerRec.SetString("StateID1", StateID1->text());
  PayerRec.SetString("StateName2", StateCode(StateName2));
  PayerRec.SetString("StateID2", StateID2->text());
  PayerRec.SetString("Locality1", Locality1->text());
  PayerRec.SetString("Locality2", Locality2->text());
  PayerRec.SetString("RTN", RTN->text());
  PayerRec.SetString("SignerName", SignerName->text());
  PayerRec.SetString("SignerTitle", SignerTitle->text());
  PayerRec.SetBool("SignerPresent", !IsBlank(PayerRec.GetString("SignerName")));
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
