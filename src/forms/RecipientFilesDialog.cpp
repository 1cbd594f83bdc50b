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
#include <algorithm>

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
  RBRandom = NewRadio(
      "RBRandom", QStringLiteral("&Random passphrase for each recipient (sent separately)"), group);
  RBTinLast4 =
      NewRadio("RBTinLast4", QStringLiteral("&Last four digits of the recipient's TIN"), group);
  RBZip = NewRadio("RBZip", QStringLiteral("Recipient's five-digit &ZIP code"), group);
  RBNoPassword->setChecked(true);
  // What the chosen kind of password keeps out, said before anything is written.
  LblStrength = new QLabel(group);
  LblStrength->setObjectName(QStringLiteral("LblStrength"));
  LblStrength->setWordWrap(true);
  auto* groupLayout = new QVBoxLayout(group);
  for (QRadioButton* radio : {RBNoPassword, RBRandom, RBTinLast4, RBZip}) {
    groupLayout->addWidget(radio);
    connect(radio, &QRadioButton::toggled, this, &TFrmRecipientFiles::ShowStrength);
  }
  groupLayout->addWidget(LblStrength);
  ShowStrength();

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

void TFrmRecipientFiles::ShowStrength() {
  LblStrength->setText(PasswordStrengthText(Password()));
}

TPasswordSource TFrmRecipientFiles::Password() const {
  if (RBRandom->isChecked()) return TPasswordSource::Random;
  if (RBTinLast4->isChecked()) return TPasswordSource::TinLast4;
  if (RBZip->isChecked()) return TPasswordSource::Zip;
  return TPasswordSource::None;
}

void TFrmRecipientFiles::BrowseClick() {
  QString folder = Folder();
  if (PromptFolder(QStringLiteral("Folder for the recipients' files"), folder))
    EdtFolder->setText(QDir::toNativeSeparators(folder));
}

namespace {
// Names up to kListedFiles files on lines of their own, and how many more there are.
QString NameList(const QStringList& names) {
  QString text;
  for (const QString& name : names.mid(0, kListedFiles)) text += QLatin1Char('~') + name;
  if (names.size() > kListedFiles)
    text += QStringLiteral("~... and %1 more").arg(names.size() - kListedFiles);
  return text;
}

QStringList Names(const QList<TRecipientFile>& files,
                  const std::function<bool(const TRecipientFile&)>& which) {
  QStringList names;
  for (const TRecipientFile& f : files)
    if (which(f)) names.append(QFileInfo(f.FileName).fileName());
  return names;
}

// The recipients who would get no password: the user decides whether their files are written
// without one.
void AskAboutUnprotected(const QList<TRecipientFile>& plan, TRecipientFilesJob& job) {
  const QStringList open = Names(plan, [](const TRecipientFile& f) { return f.NoPassword; });
  if (open.isEmpty()) return;
  job.AllowUnprotected =
      MsgBox(QStringLiteral("%1 recipient(s) have no password of the kind chosen:%2~~Write their "
                            "files without a password? Anyone who gets such a file can read it. "
                            "No leaves these recipients out.")
                 .arg(open.size())
                 .arg(NameList(open)),
             AppTitle(), mbYesNoWarnDefNo) == mrYes;
}
}  // namespace

QString RecipientFilesSummary(const QList<TRecipientFile>& files, const QString& folder) {
  const QStringList written = Names(files, [](const TRecipientFile& f) { return f.Written; });
  QString text = QStringLiteral("%1 file(s) written to %2.")
                     .arg(written.size())
                     .arg(QDir::toNativeSeparators(folder));
  const QStringList open =
      Names(files, [](const TRecipientFile& f) { return f.Written && f.NoPassword; });
  if (!open.isEmpty())
    text += QStringLiteral("~~Not protected (no password for the recipient):") + NameList(open);
  const QStringList left = Names(files, [](const TRecipientFile& f) { return !f.Written; });
  if (!left.isEmpty())
    text += QStringLiteral("~~Not written (no password for the recipient):") + NameList(left);
  if (std::any_of(files.begin(), files.end(),
                  [](const TRecipientFile& f) { return f.Written && f.Protected(); }) &&
      QFileInfo::exists(PasswordListCsv(folder)))
    text += QStringLiteral(
        "~~The passwords are listed in passwords.csv and passwords.pdf. Send "
        "each recipient the password by another way than the file, and keep "
        "the list apart from the files.");
  return text;
}

QList<TRecipientFile> SaveRecipientFiles(const TFormDef& form, const QString& projectFile,
                                         QWidget* parent, const TPayeeSelection& selection) {
  TFrmRecipientFiles dlg(DefaultFolder(form), parent);
  if (dlg.exec() != QDialog::Accepted || dlg.Folder().isEmpty()) return {};
  TPagePrinter model;
  SetPrinterSetup(model);
  TRecipientFilesJob job{form,         projectFile, dlg.Folder(), dlg.Password(), {}, false,
                         CopyChoice(), &model,      {},           selection};
  const QList<TRecipientFile> plan = PlanRecipientFiles(job);
  AskAboutUnprotected(plan, job);
  QProgressDialog progress(QStringLiteral("Writing the recipients' files..."),
                           QStringLiteral("&Cancel"), 0, 0, parent);
  progress.setObjectName(QStringLiteral("FrmRecipientProgress"));
  progress.setWindowTitle(QString::fromLatin1(form.Name));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  job.Progress = [&progress](int done, int total) {
    progress.setMaximum(total);
    progress.setValue(done);
    progress.setLabelText(QStringLiteral("Writing file %1 of %2").arg(done + 1).arg(total));
    QApplication::processEvents();
    return !progress.wasCanceled();
  };
  const QList<TRecipientFile> files = WriteRecipientFiles(job, plan);
  progress.reset();
  MsgBox(RecipientFilesSummary(files, dlg.Folder()), AppTitle(), mbInfo);
  return files;
}
