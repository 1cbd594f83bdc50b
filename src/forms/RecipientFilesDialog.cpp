#include "forms/RecipientFilesDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/PagePrinter.h"
#include "forms/FormTables.h"
#include "platform/DialogButtons.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "printing/PrinterSetup.h"
#include "storage/Globals.h"

namespace {
constexpr int kListedFiles = 15;  // a longer list would not fit a message box

QRadioButton* NewRadio(const char* name, const QString& text, QWidget* parent) {
  auto* radio = new QRadioButton(text, parent);
  radio->setObjectName(QLatin1String(name));
  return radio;
}

QString DefaultFolder(const TFormDef& form) {
  QString name = QString::fromLatin1(form.Name);
  return QDir(DataFolder).filePath(QStringLiteral("Recipients ") + name.remove("Form "));
}
}  // namespace

TFrmRecipientFiles::TFrmRecipientFiles(const QString& folder, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmRecipientFiles"));
  setWindowTitle(QStringLiteral("Save one PDF per recipient"));
  AddHelpKey(this, htRecipientFiles);
  EdtFolder = new QLineEdit(QDir::toNativeSeparators(folder), this);
  EdtFolder->setObjectName(QStringLiteral("EdtFolder"));
  EdtFolder->setMinimumWidth(360);
  BtnBrowse = new QPushButton(QStringLiteral("&Browse..."), this);
  BtnBrowse->setObjectName(QStringLiteral("BtnBrowse"));
  connect(BtnBrowse, &QPushButton::clicked, this, &TFrmRecipientFiles::BrowseClick);
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(EdtFolder, 1);
  folderRow->addWidget(BtnBrowse);

  auto* group = new QGroupBox(QStringLiteral("Password to open each file"), this);
  RBNoPassword = NewRadio("RBNoPassword", QStringLiteral("&None"), group);
  RBTinLast4 =
      NewRadio("RBTinLast4", QStringLiteral("&Last four digits of the recipient's TIN"), group);
  RBZip = NewRadio("RBZip", QStringLiteral("Recipient's five-digit &ZIP code"), group);
  RBNoPassword->setChecked(true);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(RBNoPassword);
  groupLayout->addWidget(RBTinLast4);
  groupLayout->addWidget(RBZip);

  BtnOk = new QPushButton(QStringLiteral("&Ok"), this);
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QStringLiteral("&Folder:"), this);
  label->setBuddy(EdtFolder);
  layout->addWidget(label);
  layout->addLayout(folderRow);
  layout->addWidget(group);
  layout->addLayout(OkCancelRow(this, BtnOk, BtnCancel));
}

QString TFrmRecipientFiles::Folder() const {
  return QDir::fromNativeSeparators(EdtFolder->text().trimmed());
}

TPasswordSource TFrmRecipientFiles::Password() const {
  if (RBTinLast4->isChecked()) return TPasswordSource::TinLast4;
  if (RBZip->isChecked()) return TPasswordSource::Zip;
  return TPasswordSource::None;
}

void TFrmRecipientFiles::BrowseClick() {
  QString folder = Folder();
  if (PromptFolder(QStringLiteral("Folder for the recipients' files"), folder))
    EdtFolder->setText(QDir::toNativeSeparators(folder));
}

QString RecipientFilesSummary(const QList<TRecipientFile>& files, const QString& folder) {
  QString text = QStringLiteral("%1 file(s) written to %2.")
                     .arg(files.size())
                     .arg(QDir::toNativeSeparators(folder));
  QStringList open;
  for (const TRecipientFile& f : files)
    if (f.NoPassword) open.append(QFileInfo(f.FileName).fileName());
  if (open.isEmpty()) return text;
  text += QStringLiteral("~~Not protected (no password for the recipient):");
  for (const QString& name : open.mid(0, kListedFiles)) text += QLatin1Char('~') + name;
  if (open.size() > kListedFiles)
    text += QStringLiteral("~... and %1 more").arg(open.size() - kListedFiles);
  return text;
}

QList<TRecipientFile> SaveRecipientFiles(const TFormDef& form, const QString& projectFile,
                                         QWidget* parent, const TPayeeSelection& selection) {
  TFrmRecipientFiles dlg(DefaultFolder(form), parent);
  if (dlg.exec() != QDialog::Accepted || dlg.Folder().isEmpty()) return {};
  TPagePrinter model;
  SetPrinterSetup(model);
  QProgressDialog progress(QStringLiteral("Writing the recipients' files..."),
                           QStringLiteral("&Cancel"), 0, 0, parent);
  progress.setObjectName(QStringLiteral("FrmRecipientProgress"));
  progress.setWindowTitle(QString::fromLatin1(form.Name));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  auto report = [&progress](int done, int total) {
    progress.setMaximum(total);
    progress.setValue(done);
    progress.setLabelText(QStringLiteral("Writing file %1 of %2").arg(done + 1).arg(total));
    QApplication::processEvents();
    return !progress.wasCanceled();
  };
  const QList<TRecipientFile> files = WriteRecipientFiles(
      {form, projectFile, dlg.Folder(), dlg.Password(), CopyChoice(), &model, report, selection});
  progress.reset();
  MsgBox(RecipientFilesSummary(files, dlg.Folder()), AppTitle(), mbInfo);
  return files;
}
