#include "shell/FrmCheck.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/Utils.h"
#include "exchange/TinMatch.h"
#include "forms/FormRegistry.h"
#include "maintenance/FrmPayee.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"
#include "storage/RecordSet.h"

namespace {
// A message box shows this many lines of a long list and says how many more there are.
constexpr int kShownLines = 25;
constexpr int kFormsColumnWidth = 170;

TRecordSet* Payees() {
  return FrmDataModule->RSPayee;
}

QString Capitalized(const QString& text) {
  return text.isEmpty() ? text : text.left(1).toUpper() + text.mid(1);
}

QString ShortList(const QStringList& lines) {
  QStringList shown = lines.mid(0, kShownLines);
  if (lines.size() > kShownLines)
    shown << QStringLiteral("... and %1 more").arg(lines.size() - kShownLines);
  return shown.join(QLatin1Char('\n'));
}

// The payees as the file holds them, the shown payee written first.
std::vector<TPayeeRecord> CurrentPayees() {
  Payees()->PostRec();
  return PayeesOf(*Payees());
}
}  // namespace

TFrmCheck::TFrmCheck(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmCheck"));
  setWindowTitle(QStringLiteral("Check Before Filing"));
  OpenPayeeScreen = [] { ShowPayeeScreen(); };

  FormChoice = new QComboBox(this);
  FormChoice->setObjectName(QStringLiteral("FormChoice"));
  FormChoice->addItem(QStringLiteral("All forms"), QString());
  for (const TFormDef* def : FormDefs())
    FormChoice->addItem(QLatin1String(def->Name), QLatin1String(def->ShortName));
  auto* formLabel = new QLabel(QStringLiteral("&Form:"), this);
  formLabel->setBuddy(FormChoice);

  CheckList = new QTreeWidget(this);
  CheckList->setObjectName(QStringLiteral("CheckList"));
  CheckList->setAccessibleName(QStringLiteral("Findings"));
  CheckList->setRootIsDecorated(false);
  CheckList->setUniformRowHeights(true);
  CheckList->setAlternatingRowColors(true);
  CheckList->setHeaderLabels({QStringLiteral("Level"), QStringLiteral("Payee"),
                              QStringLiteral("Form"), QStringLiteral("Finding")});
  CheckList->header()->setStretchLastSection(true);

  Summary = new QLabel(this);
  Summary->setObjectName(QStringLiteral("Summary"));
  BtnHelp = new QPushButton(QStringLiteral("&Help"), this);
  BtnHelp->setObjectName(QStringLiteral("BtnHelp"));
  BtnClose = new QPushButton(QStringLiteral("&Close"), this);
  BtnClose->setObjectName(QStringLiteral("BtnClose"));

  auto* top = new QHBoxLayout;
  top->addWidget(formLabel);
  top->addWidget(FormChoice);
  top->addStretch();
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(Summary, 1);
  bottom->addWidget(BtnHelp);
  bottom->addWidget(BtnClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(CheckList, 1);
  layout->addWidget(new QLabel(QStringLiteral("Double-click a line to open the payee."), this));
  layout->addLayout(bottom);
  resize(820, 460);

  AddHelpKey(this, htCheckBeforeFiling);
  connect(BtnHelp, &QPushButton::clicked, this, [] { ShowHelp(htCheckBeforeFiling); });
  connect(BtnClose, &QPushButton::clicked, this, &QDialog::accept);
  connect(FormChoice, &QComboBox::currentIndexChanged, this, [this] { RunCheck(); });
  connect(CheckList, &QTreeWidget::itemActivated, this, &TFrmCheck::ItemActivated);
}

void TFrmCheck::RunCheck() {
  const QString form = FormChoice->currentData().toString();
  const TTinAnswers answers = TTinAnswers::Load(TTinAnswers::FileFor(PayerFileName));
  FReport =
      CheckBeforeFiling(CurrentPayees(), answers, form.isEmpty() ? nullptr : FormDefByName(form));
  CheckList->clear();
  for (const TCheckLine& line : FReport.Lines) {
    const QString payee = line.Record > 0
                              ? QStringLiteral("%1 (payee %2)").arg(line.Payee).arg(line.Record)
                              : QString();
    auto* item = new QTreeWidgetItem(
        CheckList, {Capitalized(FindingLevelName(line.Level)), payee, line.Forms, line.Text});
    item->setData(0, Qt::UserRole, line.Record);
    item->setToolTip(2, line.Forms);
    item->setToolTip(3, line.Text);
  }
  // A payee of every form would push the findings out of sight: the form column stops at a
  // width of its own (its tooltip has them all), and a long finding scrolls sideways.
  for (int c = 0; c < 4; ++c) CheckList->resizeColumnToContents(c);
  CheckList->setColumnWidth(2, std::min(CheckList->columnWidth(2), kFormsColumnWidth));
  Summary->setText(FReport.Summary());
}

void TFrmCheck::OpenPayee(int record) {
  if (record < 1 || record > Payees()->LastRecord()) return;
  Payees()->SetCurrentRecord(record);
  Payees()->GetRec();
  OpenPayeeScreen();
  RunCheck();
}

void TFrmCheck::ItemActivated(QTreeWidgetItem* item) {
  if (item) OpenPayee(item->data(0, Qt::UserRole).toInt());
}

void ShowCheckScreen(QWidget* parent) {
  TFrmCheck screen(parent);
  screen.RunCheck();
  screen.exec();
}

void TinMatchRequestCommand(QWidget* parent) {
  const TTinRequest request = BuildTinRequest(CurrentPayees());
  if (request.Lines.empty()) {
    MsgBox(QStringLiteral("No payee can be matched among the %1.\n\n%2")
               .arg(request.Scope, ShortList(request.Left)),
           AppTitle(), mbWarning);
    return;
  }
  const QString path = PromptSaveFileName(
      {QStringLiteral("TIN Matching Request"), QFileInfo(PayeeFileName).path(),
       QStringLiteral("txt"), QStringLiteral("Text Files (*.txt)"),
       QFileInfo(PayeeFileName).completeBaseName() + QStringLiteral(" TIN request.txt"), false},
      parent);
  if (path.isEmpty()) return;
  const QStringList written = WriteTinRequest(request, path);
  QString text = QStringLiteral("%1 request line(s) for the %2 were written to %3.")
                     .arg(request.Lines.size())
                     .arg(request.Scope, written.join(QStringLiteral(", ")));
  if (!request.Left.isEmpty()) text += QStringLiteral("\n\nLeft out:\n") + ShortList(request.Left);
  text += QStringLiteral("\n\nUpload the file in the IRS's e-Services, TIN Matching, Bulk.");
  MsgBox(text, AppTitle(), mbInfo);
}

void TinMatchResultsCommand(QWidget* parent) {
  const QString path = PromptOpenFileName(
      {QStringLiteral("TIN Matching Results"), QFileInfo(PayeeFileName).path(),
       QStringLiteral("txt"), QStringLiteral("Text Files (*.txt);;All Files (*)"), QString(), true},
      parent);
  if (path.isEmpty()) return;
  const QByteArray bytes = ReadTinResultsFile(path);
  const QString answersFile = TTinAnswers::FileFor(PayerFileName);
  TTinAnswers answers = TTinAnswers::Load(answersFile);
  const TTinResultsReport report =
      ApplyTinResults(bytes, CurrentPayees(), answers, QFileInfo(path).lastModified().date());
  if (report.Lines == 0) {
    MsgBox(QStringLiteral("%1 holds no TIN matching answer; nothing was kept.\n\n%2")
               .arg(path, ShortList(report.Problems)),
           AppTitle(), mbError);
    return;
  }
  answers.Save(answersFile);
  MsgBox(ShortList(report.Text().trimmed().split(QLatin1Char('\n'))) +
             QStringLiteral("\n\nThe answers show on the payee screen and in Check Before "
                            "Filing."),
         AppTitle(), report.Problems.isEmpty() ? mbInfo : mbWarning);
}
