#include "maintenance/PasswordDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>
#include <memory>

#include "platform/DialogButtons.h"
#include "platform/MsgBox.h"
#include "storage/DataModule.h"

namespace {
// Converts the letter case of the text as it is typed; it never refuses anything.
class TCaseValidator : public QValidator {
 public:
  TCaseValidator(TPasswordCase passwordCase, QObject* parent)
      : QValidator(parent), FCase(passwordCase) {}
  State validate(QString& input, int& /*pos*/) const override {
    if (FCase == pcUpperCase) input = input.toUpper();
    if (FCase == pcLowerCase) input = input.toLower();
    return Acceptable;
  }

 private:
  TPasswordCase FCase;
};
}  // namespace

TPasswordDlg::TPasswordDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      Label1(new QLabel(this)),
      Password(new QLineEdit(this)),
      BtnOk(new QPushButton(QStringLiteral("&Ok"), this)),
      BtnCancel(new QPushButton(QStringLiteral("&Cancel"), this)) {
  setObjectName(QStringLiteral("PasswordDlg"));
  setWindowTitle(QStringLiteral("Password Dialog"));
  Label1->setObjectName(QStringLiteral("Label1"));
  Password->setObjectName(QStringLiteral("Password"));
  Password->setEchoMode(QLineEdit::Password);
  Password->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  Label1->setBuddy(Password);
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Password);
  layout->addLayout(OkCancelRow(this, BtnOk, BtnCancel));
  setMinimumWidth(260);
}

void TPasswordDlg::SetPasswordCase(TPasswordCase passwordCase) {
  Password->setValidator(passwordCase == pcNormal ? nullptr
                                                  : new TCaseValidator(passwordCase, Password));
}

TPasswordDialog::TPasswordDialog(QObject* owner) : QObject(owner) {}

bool TPasswordDialog::Execute() {
  auto dlg = std::make_unique<TPasswordDlg>(QApplication::activeWindow());
  PasswordDlg = dlg.get();
  dlg->SetPasswordCase(FPasswordCase);
  if (!FPrompt.isEmpty()) dlg->Label1->setText(FPrompt);
  dlg->setWindowTitle(FCaption.isEmpty() ? AppTitle() : FCaption);
  FCancel = false;
  const bool ok = dlg->exec() == QDialog::Accepted;
  const QString typed = dlg->Password->text();
  dlg.reset();
  if (!ok) {
    FCancel = true;
    return false;
  }
  return typed == FPassword;
}

TPasswordDialog* InstallPasswordPrompt(TFrmDataModule& module) {
  auto* prompt = new TPasswordDialog(&module);
  prompt->setObjectName(QStringLiteral("PasswordDialog"));
  prompt->SetPrompt(QStringLiteral("Enter File Password"));
  module.OnAskPassword = [prompt](const QString& password) {
    prompt->SetPassword(password);
    if (prompt->Execute()) return TPasswordAnswer::Right;
    return prompt->Cancel() ? TPasswordAnswer::Cancelled : TPasswordAnswer::Wrong;
  };
  return prompt;
}
