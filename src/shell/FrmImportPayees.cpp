#include "shell/FrmImportPayees.h"

#include <QAbstractTableModel>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <functional>

#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "forms/FormRegistry.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/SafeFile.h"
#include "platform/Settings.h"
#include "shell/Backup.h"
#include "shell/FrmMain.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
enum { PageFile, PageColumns, PagePreview };
constexpr int kSamples = 3;
constexpr int kSampleLines = 12;
constexpr int kShownProblems = 1000;
// Rows of the columns page whose field choice shows as a drop-down list from the start; further
// rows open theirs when clicked, so a sheet of thousands of columns opens at once.
constexpr int kOpenChoices = 300;
const QString kLeftOut = QStringLiteral("(leave out)");

// ---- remembered choices --------------------------------------------------------------------

QString ImportKey() {
  return RegistryRoot + QStringLiteral("Import");
}

QString Remembered(const QString& name) {
  if (!AppRegistry || !AppRegistry->OpenKey(ImportKey(), false)) return {};
  const QString value = AppRegistry->ReadString(name);
  AppRegistry->CloseKey();
  return value;
}

void Remember(const QString& name, const QString& value) {
  if (!AppRegistry || !AppRegistry->OpenKey(ImportKey(), true)) return;
  AppRegistry->WriteString(name, value);
  AppRegistry->CloseKey();
}

// "1 payee", "2 payees".
QString Counted(qsizetype n, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QString FolderOf(const QString& remembered) {
  return remembered.isEmpty() ? DocumentsFolder : QFileInfo(remembered).absolutePath();
}

QStringList CsvFilters() {
  return {QStringLiteral("CSV Files (*.csv *.txt)"), QStringLiteral("All Files (*)")};
}

// ---- the columns page's field choice -------------------------------------------------------

void FillFieldChoice(QComboBox* box) {
  box->addItem(kLeftOut, QString());
  for (const TFieldDef& f : PayeeLayout().Fields())
    box->addItem(ExchangeName(f), QLatin1String(f.Name));
}

QString FieldWords(const QString& field) {
  const TFieldHandle f = PayeeLayout().Find(field);
  return f ? ExchangeName(*f) : kLeftOut;
}

// A drop-down list of the payee fields in their forms' words over the cell that holds the
// field's record name.
class TFieldDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    auto* box = new QComboBox(parent);
    box->setAccessibleName(QStringLiteral("Payee field of column %1").arg(index.row() + 1));
    FillFieldChoice(box);
    connect(box, &QComboBox::activated, this,
            [this, box] { emit const_cast<TFieldDelegate*>(this)->commitData(box); });
    return box;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* box = static_cast<QComboBox*>(editor);
    box->setCurrentIndex(std::max(0, box->findData(index.data(Qt::UserRole).toString())));
  }
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override {
    const auto* box = static_cast<QComboBox*>(editor);
    model->setData(index, box->currentData(), Qt::UserRole);
    model->setData(index, box->currentText(), Qt::DisplayRole);
  }
};

// ---- the preview's rows --------------------------------------------------------------------

QString ProblemsTip(const QStringList& messages) {
  return messages.join(QLatin1Char('\n'));
}
}  // namespace

// The plan's rows as the preview shows them: the line number, then each cell; a cell with a
// problem on a red ground with the problem as its tip, and a row with any on a red number.
class TPlanModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void SetPlan(const TImportPlan* plan) {
    beginResetModel();
    FPlan = plan;
    FCells.clear();
    FRows.clear();
    for (const TImportProblem& p : plan->Problems) {
      if (p.ColumnIndex >= 0) FCells[{p.Line, p.ColumnIndex}] << p.Message;
      FRows[p.Line] << p.Text();
    }
    endResetModel();
  }
  // The model row of the file's row that starts on line, or -1.
  int RowOfLine(int line) const {
    for (size_t r = 0; FPlan && r < FPlan->Rows.size(); ++r)
      if (FPlan->Rows[r].Line == line) return int(r);
    return -1;
  }

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() || !FPlan ? 0 : int(FPlan->Rows.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() || !FPlan ? 0 : int(FPlan->Headers.size()) + 1;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    const TCsvRow& row = FPlan->Rows[size_t(index.row())];
    const int c = index.column() - 1;
    const QStringList cell = c < 0 ? FRows.value(row.Line) : FCells.value({row.Line, c});
    switch (role) {
      case Qt::DisplayRole:
        return c < 0 ? QString::number(row.Line) : row.Cells.value(c);
      case Qt::BackgroundRole:
        return cell.isEmpty() ? QVariant() : QVariant(QColor(255, 205, 205));
      case Qt::ToolTipRole:
        return cell.isEmpty() ? QVariant() : QVariant(ProblemsTip(cell));
      default:
        return {};
    }
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !FPlan) return {};
    if (section == 0) return QStringLiteral("Line");
    const int c = section - 1;
    return FPlan->Headers.value(c) + QLatin1Char('\n') + FieldWords(FPlan->Fields.value(c));
  }

 private:
  const TImportPlan* FPlan = nullptr;
  QHash<std::pair<int, int>, QStringList> FCells;  // (line, column) -> problems
  QHash<int, QStringList> FRows;                   // line -> problems
};

TFrmImportPayees::TFrmImportPayees(const TPayerRecord& payer, std::vector<TPayeeRecord> existing,
                                   QWidget* parent)
    : QWizard(parent), FPayer(payer), FExisting(std::move(existing)) {
  setObjectName(QStringLiteral("FrmImportPayees"));
  setWindowTitle(QStringLiteral("Import Payees"));
  AddHelpKey(this, htImportPayees);
  setWizardStyle(QWizard::ClassicStyle);
  setPage(PageFile, CreateFilePage());
  setPage(PageColumns, CreateColumnsPage());
  setPage(PagePreview, CreatePreviewPage());
  setButtonText(QWizard::FinishButton, QStringLiteral("&Import"));
  resize(900, 640);
  // The last file imported is offered again, read as it is now when it is still there.
  const QString last = Remembered(QStringLiteral("LastFile"));
  FileName->setText(last);
  if (QFileInfo(last).isFile()) TApplication::Guard([&] { LoadFile(last); });
}

TFrmImportPayees::~TFrmImportPayees() = default;

// ---- page 1: the file ----------------------------------------------------------------------

QWizardPage* TFrmImportPayees::CreateFilePage() {
  auto* page = new QWizardPage(this);
  page->setTitle(QStringLiteral("The file to import"));
  page->setSubTitle(
      QStringLiteral("A CSV file with a header row, as spreadsheets and accounting programs save "
                     "it. Check its first lines below: names with accents must read right."));
  FileName = new QLineEdit(page);
  FileName->setObjectName(QStringLiteral("FileName"));
  auto* browse = new QPushButton(QStringLiteral("&Browse..."), page);
  browse->setObjectName(QStringLiteral("BtnBrowse"));
  auto* fileLabel = new QLabel(QStringLiteral("&File:"), page);
  fileLabel->setBuddy(FileName);
  auto* row = new QHBoxLayout;
  row->addWidget(FileName, 1);
  row->addWidget(browse);
  FileSample = new QPlainTextEdit(page);
  FileSample->setObjectName(QStringLiteral("FileSample"));
  FileSample->setAccessibleName(QStringLiteral("The file's first lines"));
  FileSample->setReadOnly(true);
  FileSample->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* layout = new QVBoxLayout(page);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(fileLabel);
  fileRow->addLayout(row, 1);
  layout->addLayout(fileRow);
  layout->addWidget(CreateFormatBox(page));
  layout->addWidget(FileSample, 1);
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString path = PromptOpenFileName({QStringLiteral("Import Payees"),
                                             FolderOf(FileName->text()),
                                             QStringLiteral("csv"),
                                             CsvFilters().join(QStringLiteral(";;")),
                                             {},
                                             true},
                                            this);
    if (!path.isEmpty()) TApplication::Guard([&] { LoadFile(path); });
  });
  connect(FileName, &QLineEdit::editingFinished, this, [this] {
    if (!FileName->text().isEmpty() && FileName->text() != FPath)
      TApplication::Guard([&] { LoadFile(FileName->text()); });
  });
  return page;
}

QWidget* TFrmImportPayees::CreateFormatBox(QWidget* page) {
  auto* box = new QGroupBox(QStringLiteral("How the file is written"), page);
  Separator = new QComboBox(box);
  Separator->setObjectName(QStringLiteral("Separator"));
  Separator->addItem(QStringLiteral("Comma"), QStringLiteral(","));
  Separator->addItem(QStringLiteral("Semicolon"), QStringLiteral(";"));
  Separator->addItem(QStringLiteral("Tab"), QStringLiteral("\t"));
  Separator->addItem(QStringLiteral("Vertical bar"), QStringLiteral("|"));
  Encoding = new QComboBox(box);
  Encoding->setObjectName(QStringLiteral("Encoding"));
  for (TCsvEncoding e : CsvEncodings()) Encoding->addItem(EncodingName(e), int(e));
  Decimal = new QComboBox(box);
  Decimal->setObjectName(QStringLiteral("Decimal"));
  Decimal->addItem(QStringLiteral("As the amounts show it"), QString());
  Decimal->addItem(QStringLiteral("Point: 1,234.50"), QStringLiteral("."));
  Decimal->addItem(QStringLiteral("Comma: 1.234,50"), QStringLiteral(","));
  DateOrder = new QComboBox(box);
  DateOrder->setObjectName(QStringLiteral("DateOrder"));
  DateOrder->addItem(QStringLiteral("Month/day/year: 03/15/2025"), int(TDateOrder::MDY));
  DateOrder->addItem(QStringLiteral("Day/month/year: 15/03/2025"), int(TDateOrder::DMY));
  DateOrder->addItem(QStringLiteral("Year-month-day: 2025-03-15"), int(TDateOrder::YMD));
  SkipBefore = new QSpinBox(box);
  SkipBefore->setObjectName(QStringLiteral("SkipBefore"));
  SkipBefore->setRange(0, 1000);
  SkipAfter = new QSpinBox(box);
  SkipAfter->setObjectName(QStringLiteral("SkipAfter"));
  SkipAfter->setRange(0, 1000);
  auto* form = new QFormLayout(box);
  form->addRow(QStringLiteral("&Separator:"), Separator);
  form->addRow(QStringLiteral("&Encoding:"), Encoding);
  form->addRow(QStringLiteral("&Decimal symbol:"), Decimal);
  form->addRow(QStringLiteral("Da&tes:"), DateOrder);
  form->addRow(QStringLiteral("Rows a&bove the header row:"), SkipBefore);
  form->addRow(QStringLiteral("Rows after the &payees (totals):"), SkipAfter);
  for (QComboBox* c : {Separator, Encoding})
    connect(c, &QComboBox::activated, this, [this] { ShowSample(); });
  connect(SkipBefore, &QSpinBox::valueChanged, this, [this] { ShowSample(); });
  return box;
}

void TFrmImportPayees::ReadBytes(const QString& path) {
  FBytes = ReadCsvFile(path);
}

void TFrmImportPayees::LoadFile(const QString& path) {
  const bool again = path == FPath;
  ReadBytes(path);
  FPath = path;
  FileName->setText(path);
  if (!again) {
    // Another file: what was chosen for the last one says nothing of this one.
    FChosen.clear();
    ShowDetected();
  }
  ShowSample();
}

void TFrmImportPayees::ShowDetected() {
  const TCsvEncoding encoding = FLoaded.Encoding ? *FLoaded.Encoding : DetectEncoding(FBytes);
  Encoding->setCurrentIndex(Encoding->findData(int(encoding)));
  const QChar separator =
      FLoaded.Separator ? *FLoaded.Separator
                        : DetectSeparator(DecodeCsv(FBytes, encoding).Text, SkipBefore->value());
  Separator->setCurrentIndex(std::max(0, Separator->findData(QString(separator))));
}

// The file's first lines as the chosen encoding reads them, numbered, the header row marked.
void TFrmImportPayees::ShowSample() {
  const QByteArray start = FBytes.left(64 * 1024);
  const TCsvText text = DecodeCsv(start, TCsvEncoding(Encoding->currentData().toInt()));
  const TImportPlan plan = ReadImportRows(start, FormatSettings());
  static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = text.Text.split(lineEnd);
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  QStringList shown;
  for (int i = 0; i < lines.size() && i < kSampleLines; ++i)
    shown << QStringLiteral("%1%2  %3")
                 .arg(i + 1 == plan.HeaderLine && !plan.Headers.isEmpty() ? QStringLiteral("H")
                                                                          : QStringLiteral(" "))
                 .arg(i + 1, 3)
                 .arg(lines[i]);
  if (!text.ForeignLines.empty())
    shown << QString()
          << QStringLiteral("Not UTF-8 like the rest: line %1").arg(text.ForeignLines.front());
  if (!shown.isEmpty())
    shown << QString() << QStringLiteral("H: the header row, as the rows above it are skipped");
  FileSample->setPlainText(shown.join(QLatin1Char('\n')));
}

// ---- page 2: the columns -------------------------------------------------------------------

QWizardPage* TFrmImportPayees::CreateColumnsPage() {
  auto* page = new QWizardPage(this);
  page->setTitle(QStringLiteral("Columns and payee fields"));
  page->setSubTitle(QStringLiteral("Choose the payee field each column goes to, or leave it out."));
  AmountField = new QComboBox(page);
  AmountField->setObjectName(QStringLiteral("AmountField"));
  AmountField->setAccessibleName(QStringLiteral("An \"Amount\" column goes to"));
  for (const TFieldDef& f : PayeeLayout().Fields())
    if (f.Kind == TFieldKind::Double) AmountField->addItem(ExchangeName(f), QLatin1String(f.Name));
  AmountField->setCurrentIndex(AmountField->findData(QStringLiteral("F1099NEC1")));
  Columns = new QTableWidget(0, 3, page);
  Columns->setObjectName(QStringLiteral("Columns"));
  Columns->setAccessibleName(QStringLiteral("Columns of the file"));
  Columns->setHorizontalHeaderLabels(
      {QStringLiteral("Column"), QStringLiteral("Sample values"), QStringLiteral("Payee field")});
  Columns->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  Columns->verticalHeader()->hide();
  Columns->setItemDelegateForColumn(2, new TFieldDelegate(Columns));
  Columns->setEditTriggers(QAbstractItemView::AllEditTriggers);
  auto* load = new QPushButton(QStringLiteral("&Load Mapping..."), page);
  load->setObjectName(QStringLiteral("BtnLoadMapping"));
  auto* save = new QPushButton(QStringLiteral("&Save Mapping..."), page);
  save->setObjectName(QStringLiteral("BtnSaveMapping"));
  auto* amountLabel = new QLabel(QStringLiteral("An \"&Amount\" column goes to:"), page);
  amountLabel->setBuddy(AmountField);
  auto* top = new QHBoxLayout;
  top->addWidget(amountLabel);
  top->addWidget(AmountField, 1);
  top->addWidget(load);
  top->addWidget(save);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(Columns);
  connect(AmountField, &QComboBox::activated, this, [this] { FillColumns(); });
  connect(Columns, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (FFilling || item->column() != 2) return;
    FChosen.insert(Columns->item(item->row(), 0)->text().trimmed(),
                   item->data(Qt::UserRole).toString());
  });
  const TFileDialogOptions mapping{QStringLiteral("Column Mapping"),    {}, QStringLiteral("json"),
                                   QStringLiteral("Mappings (*.json)"), {}, false};
  connect(load, &QPushButton::clicked, this, [this, mapping] {
    TFileDialogOptions o = mapping;
    o.mustExist = true;
    o.initialDir = FolderOf(Remembered(QStringLiteral("LastMapping")));
    const QString path = PromptOpenFileName(o, this);
    if (!path.isEmpty()) TApplication::Guard([&] { LoadMapping(path); });
  });
  connect(save, &QPushButton::clicked, this, [this, mapping] {
    TFileDialogOptions o = mapping;
    o.initialDir = FolderOf(Remembered(QStringLiteral("LastMapping")));
    const QString path = PromptSaveFileName(o, this);
    if (!path.isEmpty()) TApplication::Guard([&] { SaveMapping(path); });
  });
  return page;
}

void TFrmImportPayees::LoadMapping(const QString& path) {
  FLoaded = LoadImportMapping(path);
  Remember(QStringLiteral("LastMapping"), path);
  // The mapping's columns take the place of the choices made by hand.
  FChosen = FLoaded.Columns;
  if (FLoaded.Separator)
    Separator->setCurrentIndex(std::max(0, Separator->findData(QString(*FLoaded.Separator))));
  if (FLoaded.Encoding) Encoding->setCurrentIndex(Encoding->findData(int(*FLoaded.Encoding)));
  Decimal->setCurrentIndex(FLoaded.Decimal ? Decimal->findData(QString(*FLoaded.Decimal)) : 0);
  DateOrder->setCurrentIndex(DateOrder->findData(int(FLoaded.Dates)));
  SkipBefore->setValue(FLoaded.SkipBefore);
  SkipAfter->setValue(FLoaded.SkipAfter);
  if (!FLoaded.AmountField.isEmpty()) {
    const QString amount = PayeeLayout().Find(FLoaded.AmountField)
                               ? FLoaded.AmountField
                               : FieldForHeader(FLoaded.AmountField);
    AmountField->setCurrentIndex(std::max(0, AmountField->findData(amount)));
  }
  FillColumns();
}

void TFrmImportPayees::SaveMapping(const QString& path) {
  SaveImportMapping(path, Settings());
  Remember(QStringLiteral("LastMapping"), path);
}

TImportSettings TFrmImportPayees::FormatSettings() const {
  TImportSettings s;
  s.Separator = Separator->currentData().toString().at(0);
  s.Encoding = TCsvEncoding(Encoding->currentData().toInt());
  const QString decimal = Decimal->currentData().toString();
  if (!decimal.isEmpty()) s.Decimal = decimal[0];
  s.Dates = TDateOrder(DateOrder->currentData().toInt());
  s.SkipBefore = SkipBefore->value();
  s.SkipAfter = SkipAfter->value();
  s.AmountField = AmountField->currentData().toString();
  return s;
}

TImportSettings TFrmImportPayees::Settings() const {
  TImportSettings s = FormatSettings();
  for (int r = 0; r < Columns->rowCount(); ++r)
    s.Columns.insert(Columns->item(r, 0)->text().trimmed(), FieldOfColumn(r));
  if (FMatchChoice) {
    if (UpdateMatches->isChecked()) s.Existing = TExisting::Update;
    if (SkipMatches->isChecked()) s.Existing = TExisting::Skip;
    if (AddMatches->isChecked()) s.Existing = TExisting::Add;
  }
  s.RepairLeadingZeros = RepairZeros->isChecked();
  s.GoodRowsOnly = GoodRowsOnly->isChecked();
  return s;
}

QString TFrmImportPayees::FilePath() const {
  return FPath;
}

QString TFrmImportPayees::FieldOfColumn(int row) const {
  const QTableWidgetItem* item = Columns->item(row, 2);
  return item ? item->data(Qt::UserRole).toString() : QString();
}

void TFrmImportPayees::SetFieldOfColumn(int row, const QString& field) {
  QTableWidgetItem* item = Columns->item(row, 2);
  if (!item) return;
  Columns->closePersistentEditor(item);
  item->setData(Qt::UserRole, field);
  item->setText(FieldWords(field));
  if (row < kOpenChoices) Columns->openPersistentEditor(item);
}

// One row per column of the file: its header, a few values and the field it goes to, as the
// user chose it, else from a loaded mapping, else from the header.
void TFrmImportPayees::FillColumns() {
  const QScopedValueRollback filling(FFilling, true);
  const TImportPlan plan = ReadImportRows(FBytes, FormatSettings());
  Columns->clearContents();
  Columns->setRowCount(int(plan.Headers.size()));
  for (int c = 0; c < plan.Headers.size(); ++c) {
    QStringList samples;
    for (size_t r = 0; r < plan.Rows.size() && samples.size() < kSamples; ++r)
      if (!IsBlank(plan.Rows[r].Cells.value(c))) samples << plan.Rows[r].Cells.value(c);
    const QString key = plan.Headers[c].trimmed();
    QString field = FChosen.contains(key)
                        ? FChosen.value(key)
                        : FieldForHeader(key, AmountField->currentData().toString());
    if (!field.isEmpty() && !PayeeLayout().Find(field)) field = FieldForHeader(field);
    auto* header = new QTableWidgetItem(key.isEmpty() ? QStringLiteral("(column %1)").arg(c + 1)
                                                      : plan.Headers[c]);
    header->setFlags(header->flags() & ~Qt::ItemIsEditable);
    auto* sample = new QTableWidgetItem(samples.join(QStringLiteral(" | ")));
    sample->setFlags(sample->flags() & ~Qt::ItemIsEditable);
    Columns->setItem(c, 0, header);
    Columns->setItem(c, 1, sample);
    auto* choice = new QTableWidgetItem(FieldWords(field));
    choice->setData(Qt::UserRole, field);
    Columns->setItem(c, 2, choice);
    if (c < kOpenChoices) Columns->openPersistentEditor(choice);
  }
  Columns->resizeColumnToContents(0);
  Columns->setColumnWidth(2, 300);
}

// ---- page 3: the preview -------------------------------------------------------------------

QWizardPage* TFrmImportPayees::CreatePreviewPage() {
  class TPreviewPage : public QWizardPage {
   public:
    TPreviewPage(QWidget* parent, std::function<bool()> ready)
        : QWizardPage(parent), FReady(std::move(ready)) {}
    bool isComplete() const override { return FReady(); }

   private:
    std::function<bool()> FReady;
  };
  auto* page = new TPreviewPage(this, [this] { return FPlan.Importable(); });
  page->setTitle(QStringLiteral("Preview"));
  page->setSubTitle(
      QStringLiteral("Nothing is written until Import. Cells with a problem are red; point at "
                     "one to read it."));
  Summary = new QLabel(page);
  Summary->setObjectName(QStringLiteral("Summary"));
  Summary->setWordWrap(true);
  FModel = new TPlanModel(this);
  Preview = new QTableView(page);
  Preview->setObjectName(QStringLiteral("Preview"));
  Preview->setAccessibleName(QStringLiteral("Rows of the file"));
  Preview->setModel(FModel);
  Preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Preview->verticalHeader()->hide();
  Preview->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Problems = new QTableWidget(0, 4, page);
  Problems->setObjectName(QStringLiteral("Problems"));
  Problems->setAccessibleName(QStringLiteral("Problems"));
  Problems->setHorizontalHeaderLabels({QStringLiteral("Line"), QStringLiteral("Column"),
                                       QStringLiteral("Value"), QStringLiteral("Problem")});
  Problems->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
  Problems->verticalHeader()->hide();
  Problems->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Problems->setSelectionBehavior(QAbstractItemView::SelectRows);
  Messages = new QPlainTextEdit(page);
  Messages->setObjectName(QStringLiteral("Messages"));
  Messages->setAccessibleName(QStringLiteral("Notes"));
  Messages->setReadOnly(true);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(Summary);
  layout->addWidget(Preview, 3);
  layout->addWidget(Problems, 2);
  layout->addWidget(Messages, 1);
  layout->addWidget(CreateChoices(page));
  connect(Problems, &QTableWidget::currentCellChanged, this,
          [this](int row) { ShowProblemCell(row); });
  return page;
}

QWidget* TFrmImportPayees::CreateChoices(QWidget* page) {
  auto* box = new QWidget(page);
  MatchBox = new QGroupBox(QStringLiteral("Rows whose payee the payer file holds already"), box);
  MatchBox->setObjectName(QStringLiteral("MatchBox"));
  UpdateMatches =
      new QRadioButton(QStringLiteral("&Update the payee: the row's filled cells replace its "
                                      "values"),
                       MatchBox);
  UpdateMatches->setObjectName(QStringLiteral("UpdateMatches"));
  SkipMatches = new QRadioButton(QStringLiteral("S&kip the row"), MatchBox);
  SkipMatches->setObjectName(QStringLiteral("SkipMatches"));
  AddMatches = new QRadioButton(QStringLiteral("A&dd the row as another payee"), MatchBox);
  AddMatches->setObjectName(QStringLiteral("AddMatches"));
  FMatchChoice = new QButtonGroup(this);
  auto* matches = new QHBoxLayout(MatchBox);
  for (QRadioButton* b : {UpdateMatches, SkipMatches, AddMatches}) {
    FMatchChoice->addButton(b);
    matches->addWidget(b);
  }
  RepairZeros = new QCheckBox(box);
  RepairZeros->setObjectName(QStringLiteral("RepairZeros"));
  GoodRowsOnly = new QCheckBox(box);
  GoodRowsOnly->setObjectName(QStringLiteral("GoodRowsOnly"));
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(MatchBox);
  layout->addWidget(RepairZeros);
  layout->addWidget(GoodRowsOnly);
  connect(FMatchChoice, &QButtonGroup::buttonClicked, this, [this] { FillPreview(); });
  for (QCheckBox* c : {RepairZeros, GoodRowsOnly})
    connect(c, &QCheckBox::clicked, this, [this] { FillPreview(); });
  return box;
}

void TFrmImportPayees::FillPreview() {
  // The file is read again: a file corrected since the first page is imported as it is now.
  if (!FPath.isEmpty()) TApplication::Guard([&] { ReadBytes(FPath); });
  FPlan = PlanImport(FBytes, Settings(), FPayer, FExisting);
  FModel->SetPlan(&FPlan);
  FitPreviewColumns();
  Summary->setText(FPlan.Summary() + QLatin1Char('.'));
  MatchBox->setVisible(!FPlan.Matches.empty());
  MatchBox->setTitle(
      QStringLiteral("%1 the payer file holds already (the same TIN, or the same name and ZIP "
                     "code):")
          .arg(FPlan.Matches.size() == 1
                   ? QStringLiteral("1 row is for a payee")
                   : QStringLiteral("%1 rows are for payees").arg(FPlan.Matches.size())));
  RepairZeros->setVisible(!FPlan.Repairs.empty());
  RepairZeros->setText(QStringLiteral("&Repair %1 a spreadsheet took the leading zero from (ZIP "
                                      "code \"2134\" is \"02134\")")
                           .arg(Counted(qsizetype(FPlan.Repairs.size()), "value", "values")));
  GoodRowsOnly->setVisible(!FPlan.BadLines.isEmpty() || GoodRowsOnly->isChecked());
  GoodRowsOnly->setText(QStringLiteral("Import the &good rows and list the others in \"%1\"")
                            .arg(QFileInfo(BadRowsFileFor(FPath)).fileName()));
  FillProblems();
  FillMessages();
  emit page(PagePreview)->completeChanged();
}

void TFrmImportPayees::FillProblems() {
  const int shown = std::min<int>(int(FPlan.Problems.size()), kShownProblems);
  Problems->clearContents();
  Problems->setRowCount(shown);
  for (int r = 0; r < shown; ++r) {
    const TImportProblem& p = FPlan.Problems[size_t(r)];
    const QStringList cells = {p.Line > 0 ? QString::number(p.Line) : QString(), p.Column, p.Value,
                               p.Message};
    for (int c = 0; c < 4; ++c) Problems->setItem(r, c, new QTableWidgetItem(cells[c]));
  }
  Problems->resizeColumnsToContents();
}

void TFrmImportPayees::FillMessages() {
  QStringList lines;
  if (int(FPlan.Problems.size()) > kShownProblems)
    lines << QStringLiteral("%1 problems; the first %2 are listed above")
                 .arg(FPlan.Problems.size())
                 .arg(kShownProblems);
  if (!FPlan.Matches.empty()) lines << FPlan.MatchReport();
  for (const TPayeeUpdate& u : FPlan.Updates)
    lines << QStringLiteral("Updates record %1 \"%2\": %3")
                 .arg(u.Record)
                 .arg(u.Payee.GetString("PayeeName").trimmed(),
                      u.Changes.join(QStringLiteral("; ")));
  lines << FPlan.Notes;
  if (FPlan.Ok() && FPlan.Importable())
    lines.prepend(QStringLiteral("Ready to add %1 and to update %2.")
                      .arg(Counted(qsizetype(FPlan.Payees.size()), "payee", "payees"),
                           Counted(qsizetype(FPlan.Updates.size()), "payee", "payees")));
  Messages->setPlainText(lines.join(QLatin1Char('\n')));
}

// Each column as wide as its header and first rows ask, within bounds, so a long field name or
// cell does not push the others out of sight.
void TFrmImportPayees::FitPreviewColumns() {
  constexpr int kMaxWidth = 260;
  Preview->resizeColumnsToContents();
  for (int c = 0; c < FModel->columnCount(); ++c)
    Preview->setColumnWidth(c, std::min(Preview->columnWidth(c), kMaxWidth));
}

// The cell of a problem, brought into view and selected in the rows above.
void TFrmImportPayees::ShowProblemCell(int row) {
  if (row < 0 || row >= int(FPlan.Problems.size())) return;
  const TImportProblem& p = FPlan.Problems[size_t(row)];
  const int r = FModel->RowOfLine(p.Line);
  if (r < 0) return;
  const QModelIndex index = FModel->index(r, p.ColumnIndex + 1);
  Preview->scrollTo(index);
  Preview->setCurrentIndex(index);
}

void TFrmImportPayees::initializePage(int id) {
  QWizard::initializePage(id);
  if (id == PageColumns) FillColumns();
  if (id == PagePreview) FillPreview();
}

bool TFrmImportPayees::validateCurrentPage() {
  if (currentId() == PageFile) {
    if (FileName->text().isEmpty()) return false;
    // The file is read anew on every Next: it may have been corrected meanwhile.
    if (!TApplication::Guard([&] { LoadFile(FileName->text()); })) return false;
    Remember(QStringLiteral("LastFile"), FPath);
  }
  if (currentId() == PagePreview) return FPlan.Importable();
  return true;
}

// ---- export --------------------------------------------------------------------------------

TFrmExportPayees::TFrmExportPayees(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrmExportPayees"));
  setWindowTitle(QStringLiteral("Export Payees"));
  Form = new QComboBox(this);
  Form->setObjectName(QStringLiteral("Form"));
  Form->addItem(QStringLiteral("Every form"), QString());
  for (const TFormDef* form : FormDefs())
    Form->addItem(QLatin1String(form->Name), QLatin1String(form->ShortName));
  ForExcel = new QCheckBox(QStringLiteral("For &Excel (UTF-8 with a byte order mark)"), this);
  ForExcel->setObjectName(QStringLiteral("ForExcel"));
  const QString form = Remembered(QStringLiteral("ExportForm"));
  Form->setCurrentIndex(std::max(0, Form->findData(form)));
  ForExcel->setChecked(Remembered(QStringLiteral("ExportForExcel")) == QLatin1String("1"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QFormLayout(this);
  layout->addRow(QStringLiteral("&Columns of:"), Form);
  layout->addRow(ForExcel);
  layout->addRow(new QLabel(QStringLiteral("The file holds your payees' taxpayer identification "
                                           "numbers: keep it where only you can read it."),
                            this));
  layout->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

TExportOptions TFrmExportPayees::Options() const {
  TExportOptions options;
  const QString form = Form->currentData().toString();
  if (!form.isEmpty()) options.FormType = FormTypeFromName(form);
  options.ByteOrderMark = ForExcel->isChecked();
  return options;
}

void ImportPayeesCommand(TFrmMain& main) {
  if (FrmDataModule->RSPayee->BrowseOnly())
    throw EInOutError(FrmDataModule->RSPayee->BrowseOnlyReason());
  FrmDataModule->RSPayee->PostRec();
  TFrmImportPayees wizard(PayerRec, ReadPayeeFile(PayeeFileName), &main);
  if (wizard.exec() != QDialog::Accepted) return;
  const TImportPlan plan = wizard.Plan();
  // The file is written whole and renamed, so this program lets go of it for the moment.
  FrmDataModule->RSPayee->CloseRecSet();
  {
    TScopeCleanup reopen([&main] { ReopenPayerFile(main); });
    ApplyImport(PayeeFileName, plan);
  }
  RecIndexDirty = true;
  QString text = QStringLiteral("Payees added: %1, updated: %2, skipped: %3.")
                     .arg(plan.Payees.size())
                     .arg(plan.Updates.size())
                     .arg(plan.SkippedLines.size());
  if (plan.GoodRowsOnly && !plan.BadLines.isEmpty()) {
    const QString bad = BadRowsFileFor(wizard.FilePath());
    TWriteOptions options;
    options.ProgramNamed = true;  // the list's name is made from the input's
    options.Inputs = QStringList{wizard.FilePath(), PayeeFileName};
    WriteFileSafely(bad, BadRowsCsv(plan), options);
    text += QStringLiteral("~Rows with problems not imported: %1; they are listed in %2")
                .arg(plan.BadLines.size())
                .arg(QDir::toNativeSeparators(bad));
  }
  MsgBox(text, AppTitle(), mbInfo);
}

void ExportPayeesCommand(TFrmMain& main) {
  FrmDataModule->RSPayee->PostRec();
  TFrmExportPayees choice(&main);
  if (choice.exec() != QDialog::Accepted) return;
  const TExportOptions options = choice.Options();
  Remember(QStringLiteral("ExportForm"), choice.Form->currentData().toString());
  Remember(QStringLiteral("ExportForExcel"),
           options.ByteOrderMark ? QStringLiteral("1") : QStringLiteral("0"));
  const QString path = PromptSaveFileName(
      {QStringLiteral("Export Payees"), FolderOf(Remembered(QStringLiteral("LastExport"))),
       QStringLiteral("csv"), CsvFilters().join(QStringLiteral(";;")), QStringLiteral("Payees.csv"),
       false},
      &main);
  if (path.isEmpty()) return;
  CheckExportTarget(PayeeFileName, path);
  if (QFileInfo::exists(path) &&
      MsgBox(QStringLiteral("This file already exists. Do you want to replace it?"), AppTitle(),
             mbOkCancelDefCancel) != mrOk)
    return;
  ExportPayees(PayeeFileName, path, options);
  Remember(QStringLiteral("LastExport"), path);
  MsgBox(QStringLiteral("The payees were exported to %1").arg(path), AppTitle(), mbInfo);
}
