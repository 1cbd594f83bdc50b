#include "shell/FrmImportPayees.h"

#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <functional>

#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "shell/Backup.h"
#include "shell/FrmMain.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
enum { PageFile, PageColumns, PagePreview };
constexpr int kSamples = 3;
constexpr int kPreviewRows = 500;
const QString kIgnore = QStringLiteral("(ignore)");

QStringList AmountFields() {
  QStringList fields;
  for (const TFieldDef& f : PayeeLayout().Fields())
    if (f.Kind == TFieldKind::Double) fields << QLatin1String(f.Name);
  return fields;
}

// The preview page lets the wizard finish only when the plan it shows has no problem.
class TPreviewPage : public QWizardPage {
 public:
  TPreviewPage(QWidget* parent, std::function<bool()> ready)
      : QWizardPage(parent), FReady(std::move(ready)) {}
  bool isComplete() const override { return FReady(); }

 private:
  std::function<bool()> FReady;
};

QStringList CsvFilters() {
  return {QStringLiteral("CSV Files (*.csv *.txt)"), QStringLiteral("All Files (*)")};
}
}  // namespace

TFrmImportPayees::TFrmImportPayees(const TPayerRecord& payer, QWidget* parent)
    : QWizard(parent), FPayer(payer) {
  setObjectName(QStringLiteral("FrmImportPayees"));
  setWindowTitle(QStringLiteral("Import Payees"));
  AddHelpKey(this, htImportPayees);
  setWizardStyle(QWizard::ClassicStyle);
  setPage(PageFile, CreateFilePage());
  setPage(PageColumns, CreateColumnsPage());
  setPage(PagePreview, CreatePreviewPage());
  setButtonText(QWizard::FinishButton, QStringLiteral("&Import"));
  resize(760, 520);
}

QWizardPage* TFrmImportPayees::CreateFilePage() {
  auto* page = new QWizardPage(this);
  page->setTitle(QStringLiteral("The file to import"));
  page->setSubTitle(
      QStringLiteral("A CSV file with a header row, as spreadsheets and accounting "
                     "programs save it."));
  FileName = new QLineEdit(page);
  FileName->setObjectName(QStringLiteral("FileName"));
  auto* browse = new QPushButton(QStringLiteral("&Browse..."), page);
  browse->setObjectName(QStringLiteral("BtnBrowse"));
  Separator = new QComboBox(page);
  Separator->setObjectName(QStringLiteral("Separator"));
  Separator->addItem(QStringLiteral("Comma"), QStringLiteral(","));
  Separator->addItem(QStringLiteral("Semicolon"), QStringLiteral(";"));
  Separator->addItem(QStringLiteral("Tab"), QStringLiteral("\t"));
  Encoding = new QComboBox(page);
  Encoding->setObjectName(QStringLiteral("Encoding"));
  Encoding->addItems({EncodingName(TCsvEncoding::Utf8), EncodingName(TCsvEncoding::Windows1252)});
  auto* row = new QHBoxLayout;
  row->addWidget(FileName, 1);
  row->addWidget(browse);
  auto* form = new QFormLayout(page);
  form->addRow(QStringLiteral("&File:"), row);
  form->addRow(QStringLiteral("&Separator:"), Separator);
  form->addRow(QStringLiteral("&Encoding:"), Encoding);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString path = PromptOpenFileName({QStringLiteral("Import Payees"),
                                             DocumentsFolder,
                                             QStringLiteral("csv"),
                                             CsvFilters().join(QStringLiteral(";;")),
                                             {},
                                             true},
                                            this);
    if (!path.isEmpty()) LoadFile(path);
  });
  connect(FileName, &QLineEdit::editingFinished, this, [this] {
    if (!FileName->text().isEmpty()) LoadFile(FileName->text());
  });
  return page;
}

QWizardPage* TFrmImportPayees::CreateColumnsPage() {
  auto* page = new QWizardPage(this);
  page->setTitle(QStringLiteral("Columns and payee fields"));
  page->setSubTitle(QStringLiteral("Choose the payee field each column goes to, or ignore it."));
  AmountField = new QComboBox(page);
  AmountField->setObjectName(QStringLiteral("AmountField"));
  AmountField->addItems(AmountFields());
  AmountField->setCurrentText(QStringLiteral("F1099NEC1"));
  Columns = new QTableWidget(0, 3, page);
  Columns->setObjectName(QStringLiteral("Columns"));
  Columns->setHorizontalHeaderLabels(
      {QStringLiteral("Column"), QStringLiteral("Sample values"), QStringLiteral("Payee field")});
  Columns->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  Columns->verticalHeader()->hide();
  auto* load = new QPushButton(QStringLiteral("&Load Mapping..."), page);
  load->setObjectName(QStringLiteral("BtnLoadMapping"));
  auto* save = new QPushButton(QStringLiteral("&Save Mapping..."), page);
  save->setObjectName(QStringLiteral("BtnSaveMapping"));
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("An \"Amount\" column goes to:"), page));
  top->addWidget(AmountField);
  top->addStretch();
  top->addWidget(load);
  top->addWidget(save);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(Columns);
  connect(AmountField, &QComboBox::currentTextChanged, this, [this] { FillColumns(); });
  const TFileDialogOptions mapping{QStringLiteral("Column Mapping"),
                                   DocumentsFolder,
                                   QStringLiteral("json"),
                                   QStringLiteral("Mappings (*.json)"),
                                   {},
                                   false};
  connect(load, &QPushButton::clicked, this, [this, mapping] {
    TFileDialogOptions o = mapping;
    o.mustExist = true;
    const QString path = PromptOpenFileName(o, this);
    if (!path.isEmpty()) TApplication::Guard([&] { LoadMapping(path); });
  });
  connect(save, &QPushButton::clicked, this, [this, mapping] {
    const QString path = PromptSaveFileName(mapping, this);
    if (!path.isEmpty()) TApplication::Guard([&] { SaveMapping(path); });
  });
  return page;
}

QWizardPage* TFrmImportPayees::CreatePreviewPage() {
  auto* page = new TPreviewPage(this, [this] { return FPlan.Ok() && !FPlan.Payees.empty(); });
  page->setTitle(QStringLiteral("Preview"));
  page->setSubTitle(
      QStringLiteral("Nothing is written until Import; a file with problems cannot "
                     "be imported."));
  Preview = new QTableWidget(page);
  Preview->setObjectName(QStringLiteral("Preview"));
  Preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Preview->verticalHeader()->hide();
  Problems = new QPlainTextEdit(page);
  Problems->setObjectName(QStringLiteral("Problems"));
  Problems->setReadOnly(true);
  Problems->setMaximumHeight(130);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(Preview, 1);
  layout->addWidget(Problems);
  return page;
}

void TFrmImportPayees::LoadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw EInOutError(QStringLiteral("Unable to read %1").arg(path));
  FBytes = file.readAll();
  FileName->setText(path);
  const TCsvFormat format = DetectCsvFormat(FBytes);
  Separator->setCurrentIndex(Separator->findData(QString(format.Separator)));
  Encoding->setCurrentText(EncodingName(format.Encoding));
}

void TFrmImportPayees::LoadMapping(const QString& path) {
  FLoaded = LoadImportMapping(path);
  if (FLoaded.Separator)
    Separator->setCurrentIndex(Separator->findData(QString(*FLoaded.Separator)));
  if (FLoaded.Encoding) Encoding->setCurrentText(EncodingName(*FLoaded.Encoding));
  FillColumns();
}

void TFrmImportPayees::SaveMapping(const QString& path) {
  SaveImportMapping(path, Settings());
}

TImportSettings TFrmImportPayees::Settings() const {
  TImportSettings s;
  s.Separator = Separator->currentData().toString().at(0);
  TCsvEncoding encoding = TCsvEncoding::Utf8;
  EncodingFromName(Encoding->currentText(), encoding);
  s.Encoding = encoding;
  for (int r = 0; r < Columns->rowCount(); ++r) {
    const auto* choice = static_cast<QComboBox*>(Columns->cellWidget(r, 2));
    const QString field = choice->currentText();
    s.Columns.insert(Columns->item(r, 0)->text().trimmed(), field == kIgnore ? QString() : field);
  }
  return s;
}

QComboBox* TFrmImportPayees::FieldChoice(const QString& field) {
  auto* choice = new QComboBox(Columns);
  choice->addItem(kIgnore);
  for (const TFieldDef& f : PayeeLayout().Fields()) choice->addItem(QLatin1String(f.Name));
  choice->setCurrentText(field.isEmpty() ? kIgnore : field);
  return choice;
}

// One row per column of the file: its header, a few values and the field it goes to, from a
// loaded mapping or else from the header.
void TFrmImportPayees::FillColumns() {
  TImportSettings s;
  s.Separator = Separator->currentData().toString().at(0);
  TCsvEncoding encoding = TCsvEncoding::Utf8;
  EncodingFromName(Encoding->currentText(), encoding);
  const std::vector<TCsvRow> rows = ParseCsv(DecodeCsv(FBytes, encoding), *s.Separator);
  const QStringList headers = rows.empty() ? QStringList() : rows.front().Cells;
  Columns->setRowCount(int(headers.size()));
  for (int c = 0; c < headers.size(); ++c) {
    QStringList samples;
    for (size_t r = 1; r < rows.size() && samples.size() < kSamples; ++r)
      if (!IsBlank(rows[r].Cells.value(c))) samples << rows[r].Cells.value(c);
    const QString key = headers[c].trimmed();
    const QString field = FLoaded.Columns.contains(key)
                              ? FLoaded.Columns.value(key)
                              : FieldForHeader(key, true, AmountField->currentText());
    Columns->setItem(c, 0, new QTableWidgetItem(headers[c]));
    Columns->setItem(c, 1, new QTableWidgetItem(samples.join(QStringLiteral(" | "))));
    Columns->setCellWidget(c, 2, FieldChoice(field));
  }
  Columns->resizeColumnToContents(0);
  Columns->setColumnWidth(2, 170);
}

void TFrmImportPayees::FillPreview() {
  FPlan = PlanImport(FBytes, Settings(), FPayer);
  Preview->clear();
  Preview->setColumnCount(int(FPlan.Headers.size()) + 1);
  QStringList labels = {QStringLiteral("Line")};
  for (int c = 0; c < FPlan.Headers.size(); ++c)
    labels << FPlan.Headers[c] + QStringLiteral("\n") +
                  (FPlan.Fields.value(c).isEmpty() ? kIgnore : FPlan.Fields.value(c));
  Preview->setHorizontalHeaderLabels(labels);
  const int shown = int(std::min<size_t>(FPlan.Rows.size(), kPreviewRows));
  Preview->setRowCount(shown);
  for (int r = 0; r < shown; ++r) {
    Preview->setItem(r, 0, new QTableWidgetItem(QString::number(FPlan.Rows[r].Line)));
    for (int c = 0; c < FPlan.Rows[r].Cells.size(); ++c)
      Preview->setItem(r, c + 1, new QTableWidgetItem(FPlan.Rows[r].Cells[c]));
  }
  Problems->setPlainText(
      FPlan.Ok() ? (QStringList{
                        QStringLiteral("%1 payees are ready to import.").arg(FPlan.Payees.size())} +
                    FPlan.Notes)
                       .join(QLatin1Char('\n'))
                 : FPlan.Report());
  emit page(PagePreview)->completeChanged();
}

void TFrmImportPayees::initializePage(int id) {
  QWizard::initializePage(id);
  if (id == PageColumns) FillColumns();
  if (id == PagePreview) FillPreview();
}

bool TFrmImportPayees::validateCurrentPage() {
  if (currentId() == PageFile && FBytes.isEmpty()) {
    if (FileName->text().isEmpty()) return false;
    if (!TApplication::Guard([&] { LoadFile(FileName->text()); })) return false;
  }
  if (currentId() == PagePreview) return FPlan.Ok() && !FPlan.Payees.empty();
  return true;
}

void ImportPayeesCommand(TFrmMain& main) {
  TFrmImportPayees wizard(PayerRec, &main);
  if (wizard.exec() != QDialog::Accepted) return;
  const std::vector<TPayeeRecord> payees = wizard.Plan().Payees;
  if (FrmDataModule->RSPayee->BrowseOnly()) throw EInOutError(FileInUseText(PayeeFileName));
  // The file is written whole and renamed, so this program lets go of it for the moment.
  FrmDataModule->RSPayee->CloseRecSet();
  {
    TScopeCleanup reopen([&main] { ReopenPayerFile(main); });
    AppendPayees(PayeeFileName, payees);
  }
  RecIndexDirty = true;
  MsgBox(QStringLiteral("%1 payees were imported.").arg(payees.size()), AppTitle(), mbInfo);
}

void ExportPayeesCommand(TFrmMain& main) {
  FrmDataModule->RSPayee->PostRec();
  const QString path = PromptSaveFileName(
      {QStringLiteral("Export Payees"), DocumentsFolder, QStringLiteral("csv"),
       CsvFilters().join(QStringLiteral(";;")), QStringLiteral("Payees.csv"), false},
      &main);
  if (path.isEmpty()) return;
  ExportPayees(PayeeFileName, path);
  MsgBox(QStringLiteral("The payees were exported to %1").arg(path), AppTitle(), mbInfo);
}
