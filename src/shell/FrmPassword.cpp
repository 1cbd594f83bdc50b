#include "shell/FrmPassword.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "controls/EnterAsTab.h"
#include "core/Utils.h"
#include "platform/MsgBox.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/Password.h"

namespace {
constexpr int MaxPasswordLength = 12;
constexpr int MinPasswordLength = 5;

const char* const PasswordRules[] = {
    "1. The following characters are allowed: a to z, A to Z, and  0 to  9.",
    "2. The password must be between 5 and  12 characters.",
    "3. The Enter Password and Confirm Password fields must match.",
    "4. Use a combination of upper and lower case characters  and  numbers.",
};

QLineEdit* NewPasswordEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  edit->setMaxLength(MaxPasswordLength);
  edit->setEchoMode(QLineEdit::Password);
  edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  // Typed keys are filtered by the screen; this keeps pasted text to the same characters, so
  // what is stored is always exactly what was shown.
  static const QRegularExpression allowed(QStringLiteral("[A-Za-z0-9]*"));
  edit->setValidator(new QRegularExpressionValidator(allowed, edit));
  edit->setMinimumWidth(140);
  return edit;
}

QPushButton* NewDialogButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::ClickFocus);  // Tab and Enter move between the two edits only
  button->setMinimumWidth(75);
  return button;
}

QGroupBox* NewRulesGroup(QWidget* parent) {
  auto* group = new QGroupBox(QStringLiteral("Password Rules"), parent);
  group->setObjectName(QStringLiteral("GroupRules"));
  auto* layout = new QVBoxLayout(group);
  layout->setSpacing(2);
  for (const char* rule : PasswordRules) {
    auto* label = new QLabel(QLatin1String(rule), group);
    label->setTextFormat(Qt::PlainText);  // keeps the double spaces as written
    layout->addWidget(label);
  }
  return group;
}
}  // namespace

TFrmPassword::TFrmPassword(QWidget* parent)
    : TFrmScreen(parent, 22),
      PW1(NewPasswordEdit("PW1", this)),
      PW2(NewPasswordEdit("PW2", this)),
      BtnOk(NewDialogButton("BtnOk", QStringLiteral("&Ok"), this)),
      BtnCancel(NewDialogButton("BtnCancel", QStringLiteral("&Cancel"), this)),
      EnterAsTab(new TEnterAsTab(this)) {
  setObjectName(QStringLiteral("FrmPassword"));
  setWindowTitle(QStringLiteral("Set/Change Password"));
  EnterAsTab->setObjectName(QStringLiteral("EnterAsTab"));
  EnterAsTab->SetEnterAsTabKey(true);
  EnterAsTab->SetEscapeAsClose(false);
  EnterAsTab->SetParentForm(this);
  PW1->installEventFilter(this);
  PW2->installEventFilter(this);

  auto* label1 = new QLabel(QStringLiteral("Enter Password"), this);
  auto* label2 = new QLabel(QStringLiteral("Confirm Pasword"), this);
  label1->setBuddy(PW1);
  label2->setBuddy(PW2);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 12, 12, 12);
  grid->setHorizontalSpacing(10);
  grid->addWidget(label1, 0, 0);
  grid->addWidget(PW1, 0, 1);
  grid->addWidget(BtnOk, 0, 2);
  grid->addWidget(label2, 1, 0);
  grid->addWidget(PW2, 1, 1);
  grid->addWidget(BtnCancel, 1, 2);
  grid->addWidget(NewRulesGroup(this), 2, 0, 1, 3);
  grid->setSizeConstraint(QLayout::SetFixedSize);
  setTabOrder(PW1, PW2);

  connect(BtnOk, &QPushButton::clicked, this, &TFrmPassword::BtnOkClick);
  connect(BtnCancel, &QPushButton::clicked, this, &TFrmPassword::BtnCancelClick);
}

bool TFrmPassword::PasswordKeyAllowed(QChar ch) {
  const char16_t c = ch.unicode();
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'\b' || c == u'\r';
}

bool TFrmPassword::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == PW1 || watched == PW2) && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const QString typed = key->text();
    // Keys that type nothing (arrows, Delete, Home) keep their editing meaning, and Tab moves
    // between the fields as in any window.
    const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
    if (!tab && !typed.isEmpty() && !PasswordKeyAllowed(typed.front())) return true;
  }
  return TFrmScreen::eventFilter(watched, event);
}

void TFrmPassword::FormShow() {
  const QString stored = PayerRec.GetString("FilePassword");
  PW1->setText(IsBlank(stored) ? QString() : UnscramblePassword(stored));
  PW2->clear();
  PW1->setFocus();
}

void TFrmPassword::showEvent(QShowEvent* event) {
  FormShow();
  TFrmScreen::showEvent(event);
}

void TFrmPassword::SavePassword(const QString& scrambled) {
  PayerRec.SetString("FilePassword", scrambled.left(MaxPasswordLength));
  FrmDataModule->RSPayer->PostRec();
  accept();
}

void TFrmPassword::BtnOkClick() {
  const QString password = PW1->text();
  if (IsBlank(password)) {
    SavePassword(QString());  // an empty first field removes the password
    return;
  }
  if (password != PW2->text()) {
    MsgBox(QStringLiteral("The Password and Confirmation fields don't match"), AppTitle(), mbError);
    return;
  }
  if (TrimText(password).size() < MinPasswordLength) {
    MsgBox(QStringLiteral("The Password cannot be less than 5 characters"), AppTitle(), mbError);
    return;
  }
  SavePassword(ScramblePassword(password));
}

void TFrmPassword::BtnCancelClick() {
  reject();
}

void ShowPasswordScreen() {
  ShowModalScreen<TFrmPassword>();
}
