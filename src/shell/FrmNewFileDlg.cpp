#include "shell/FrmNewFileDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/FilterEdit.h"
#include "core/Utils.h"
#include "platform/Dialogs.h"

TFrmNewFileDlg::TFrmNewFileDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmNewFileDlg"));
  setWindowTitle(QStringLiteral("New Payer"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(
      new QLabel(QStringLiteral("Enter the name of the Payer file to be created"), this));
  FNewFileName = new TFilterEdit(this);
  FNewFileName->setObjectName(QStringLiteral("NewFileName"));
  FNewFileName->setMaxLength(50);
  FNewFileName->SetValidChars(QStringLiteral("[A..Z,a..z,0..9,!,@,#,$,%,&,(,),-,_,{,}, ,',']"));
  FNewFileName->SetBeepOnInvalid(true);
  FNewFileName->setMinimumWidth(300);
  layout->addWidget(FNewFileName);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("&Ok"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("BtnOk"));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("BtnCancel"));
  QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
  help->setObjectName(QStringLiteral("BtnHelp"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [] { ShowHelp(6); });
  layout->addWidget(buttons);
  setFixedSize(sizeHint());
}

bool TFrmNewFileDlg::Ask(QWidget* parent, QString& name) {
  TFrmNewFileDlg dlg(parent);
  dlg.FNewFileName->clear();
  if (dlg.exec() != QDialog::Accepted) return false;
  name = TrimText(dlg.FNewFileName->text());
  return !name.isEmpty();
}
