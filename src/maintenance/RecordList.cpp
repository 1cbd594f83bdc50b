#include "maintenance/RecordList.h"

#include <QApplication>
#include <QCollator>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/ScopeCleanup.h"
#include "core/Utils.h"
#include "maintenance/FrmScreen.h"
#include "platform/DialogButtons.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
constexpr int NameWidth = 40;
constexpr int ClientWidth = 258;
constexpr int Border = 8;
constexpr int PanelHeight = 25;
constexpr int ItemHeight = 13;
constexpr int TabStopDialogUnits = 20;
// The window heights below count a 25-pixel caption and frame; the client area is the rest.
constexpr int NonClientHeight = 25;

struct TListSize {
  int Window;
  int List;
};
// By entry count, 2 to 10; ten and more entries share the last size and the list scrolls.
constexpr TListSize ListSizes[] = {{121, 33}, {129, 43},  {141, 57},  {153, 70}, {165, 82},
                                   {180, 97}, {193, 110}, {205, 121}, {217, 134}};

const TListSize& ListSizeFor(int entries) {
  const int i = std::clamp(entries, 2, 10) - 2;
  return ListSizes[i];
}

// Draws a list entry the way a list box with tab stops does, with all second parts (the first
// names of individuals) on one tab stop: the first that clears every last name in the list, so
// the first names form a column.
class TTabStopDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // Chooses the column for these entries in the list's font.
  void SetEntries(const QStringList& names, const QFontMetrics& fm) {
    const int tab = TabDistance(fm);
    int widest = 0;
    for (const QString& name : names)
      if (name.contains(QLatin1Char('\t')))
        widest = std::max(widest, fm.horizontalAdvance(name.section(QLatin1Char('\t'), 0, 0)));
    FColumn = (widest / tab + 1) * tab;
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(ItemHeight, option.fontMetrics.height()));
    return size;
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    const QRect r =
        style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(2, 0, 0, 0);
    painter->save();
    painter->setFont(opt.font);
    const bool selected = opt.state & QStyle::State_Selected;
    painter->setPen(
        opt.palette.color(QPalette::Normal, selected ? QPalette::HighlightedText : QPalette::Text));
    const qsizetype tabAt = text.indexOf(QLatin1Char('\t'));
    if (tabAt < 0) {
      DrawText(painter, r, text);
    } else {
      DrawText(painter, r, text.left(tabAt));
      DrawText(painter, r.adjusted(std::min(FColumn, r.width()), 0, 0, 0), text.mid(tabAt + 1));
    }
    painter->restore();
  }

 private:
  // Dialog units of the list's font: a quarter of the average character width.
  static int TabDistance(const QFontMetrics& fm) {
    static const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int average = (fm.horizontalAdvance(alphabet) / 26 + 1) / 2;
    return std::max(1, TabStopDialogUnits * average / 4);
  }

  static void DrawText(QPainter* painter, const QRect& r, const QString& text) {
    const QString shown = painter->fontMetrics().elidedText(text, Qt::ElideRight, r.width());
    painter->drawText(r, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
  }

  int FColumn = 0;
};
}  // namespace

QString PayeeSortName(const TPayeeRecord& payee) {
  if (payee.GetBool("Individual"))
    return (payee.GetString("LastName") + QLatin1Char('\t') + payee.GetString("FirstName"))
        .left(NameWidth);
  return payee.GetString("PayeeName");
}

void SortRecIndex() {
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  // A stable sort of whole entries keeps each record once, whatever names compare equal.
  std::stable_sort(RecIndex.begin(), RecIndex.end(),
                   [&collator](const RecIndexData& a, const RecIndexData& b) {
                     return collator.compare(a.Name, b.Name) < 0;
                   });
}

void BuildRecIndex() {
  if (!RecIndexDirty) return;
  RecIndex.assign(std::max(0, RecIndexCount), RecIndexData{});
  if (RecIndexCount > 1) {
    TRecordSet* payees = FrmDataModule->RSPayee;
    payees->RootRec();
    for (int i = 0; i < RecIndexCount; ++i) {
      payees->NextRec();
      RecIndex[i].Name = PayeeSortName(PayeeRec);
      RecIndex[i].Index = i;
    }
    SortRecIndex();
    RecIndexDirty = false;
    payees->PopRec();
  }
  // A single payee needs no sorting; its entry points at record 1 and the index stays dirty.
}

void ShowRecordList() {
  TRecordSet* payees = FrmDataModule->RSPayee;
  RecIndexCount = payees->RecordCount();
  if (RecIndexCount <= 1) {
    MsgBox(QStringLiteral("The list window is not available when~there is only 1 record in the "
                          "database"),
           AppTitle(), mbOk);
    return;
  }
  BuildRecIndex();
  int selected = -1;
  {
    TFrmRecList list(QApplication::activeWindow());
    list.exec();
    selected = list.Selected;
  }
  if (selected < 0 || selected >= static_cast<int>(RecIndex.size())) return;
  payees->SetCurrentRecord(RecIndex[selected].Index + 1);
  payees->GetRec();
}

TFrmRecList::TFrmRecList(QWidget* parent)
    : QDialog(parent, FixedDialogFlags()),
      RecordListBox(new QListWidget(this)),
      PanelContainer(new QWidget(this)),
      BtnOk(new QPushButton(QStringLiteral("&Ok"), PanelContainer)),
      BtnCancel(new QPushButton(QStringLiteral("&Cancel"), PanelContainer)) {
  setObjectName(QStringLiteral("FrmRecList"));
  AddHelpKey(this, htRecordList);
  setWindowTitle(QStringLiteral("Payer List"));
  setFont(ScreenFont());
  RecordListBox->setObjectName(QStringLiteral("RecordListBox"));
  RecordListBox->setItemDelegate(new TTabStopDelegate(RecordListBox));
  RecordListBox->setSelectionMode(QAbstractItemView::SingleSelection);
  RecordListBox->setUniformItemSizes(true);
  RecordListBox->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  RecordListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // A plain one-pixel border: the style's sunken frame loses sides at fractional scales.
  RecordListBox->setStyleSheet(
      QStringLiteral("QListWidget { border: 1px solid palette(mid); background: palette(base); }"));
  PanelContainer->setObjectName(QStringLiteral("PanelContainer"));
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnOk->setDefault(true);
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
  BtnCancel->setAutoDefault(false);
  BtnOk->setGeometry(43, 0, 75, PanelHeight);
  BtnCancel->setGeometry(131, 0, 75, PanelHeight);
  connect(BtnOk, &QPushButton::clicked, this, &TFrmRecList::BtnOkClick);
  connect(BtnCancel, &QPushButton::clicked, this, &TFrmRecList::BtnCancelClick);
  connect(RecordListBox, &QListWidget::itemDoubleClicked, this,
          &TFrmRecList::RecordListBoxDblClick);
  setTabOrder(RecordListBox, BtnOk);
  setTabOrder(BtnOk, BtnCancel);
}

int TFrmRecList::WindowHeightFor(int entries) {
  return ListSizeFor(entries).Window;
}

int TFrmRecList::ListHeightFor(int entries) {
  return ListSizeFor(entries).List;
}

void TFrmRecList::FormShow() {
  Selected = -1;
  RecordListBox->clear();
  QStringList names;
  for (const RecIndexData& entry : RecIndex) names << entry.Name;
  RecordListBox->addItems(names);
  static_cast<TTabStopDelegate*>(RecordListBox->itemDelegate())
      ->SetEntries(names, RecordListBox->fontMetrics());
  RecordListBox->clearSelection();
  RecordListBox->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
  // The list opens on the payee shown, so Enter alone keeps it.
  const int current = FrmDataModule->RSPayee->CurrentRecord();
  for (int row = 0; row < static_cast<int>(RecIndex.size()) && row < RecordListBox->count(); ++row)
    if (RecIndex[row].Index + 1 == current) RecordListBox->setCurrentRow(row);
  const int entries = RecordListBox->count();
  const int clientHeight = WindowHeightFor(entries) - NonClientHeight;
  setFixedSize(ClientWidth, clientHeight);
  const int inner = ClientWidth - 2 * Border;
  RecordListBox->setGeometry(Border, Border, inner, ListHeightFor(entries));
  PanelContainer->setGeometry(Border, clientHeight - Border - PanelHeight, inner, PanelHeight);
  RecordListBox->setFocus();
  CentreOnScreen(this);
}

void TFrmRecList::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TFrmRecList::BtnOkClick() {
  const QList<QListWidgetItem*> chosen = RecordListBox->selectedItems();
  Selected = chosen.isEmpty() ? -1 : RecordListBox->row(chosen.first());
  accept();
}

void TFrmRecList::BtnCancelClick() {
  Selected = -1;
  QDialog::reject();
}

void TFrmRecList::RecordListBoxDblClick() {
  QListWidgetItem* item = RecordListBox->currentItem();
  if (item && item->isSelected()) BtnOkClick();
}

void TFrmRecList::reject() {
  BtnCancelClick();
}

void TFrmRecList::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    BtnCancelClick();
    return;
  }
  QDialog::keyPressEvent(event);
}

TFrmChoosePayees::TFrmChoosePayees(QWidget* parent)
    : QDialog(parent, FixedDialogFlags()),
      PayeeChecks(new QTreeWidget(this)),
      BtnCheckAll(new QPushButton(QStringLiteral("Check &all"), this)),
      BtnClearAll(new QPushButton(QStringLiteral("C&lear all"), this)),
      BtnOk(new QPushButton(QStringLiteral("&Ok"), this)),
      BtnCancel(new QPushButton(QStringLiteral("&Cancel"), this)) {
  setObjectName(QStringLiteral("FrmChoosePayees"));
  AddHelpKey(this, htRecordList);
  setWindowTitle(QStringLiteral("Choose Payees"));
  setFont(ScreenFont());
  PayeeChecks->setObjectName(QStringLiteral("PayeeChecks"));
  PayeeChecks->setHeaderLabels({QStringLiteral("Payee"), QStringLiteral("TIN")});
  PayeeChecks->setRootIsDecorated(false);
  PayeeChecks->setUniformRowHeights(true);
  PayeeChecks->setAllColumnsShowFocus(true);
  PayeeChecks->header()->setStretchLastSection(false);
  PayeeChecks->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  PayeeChecks->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  PayeeChecks->setAccessibleName(QStringLiteral("Payees to print"));
  BtnCheckAll->setObjectName(QStringLiteral("BtnCheckAll"));
  BtnClearAll->setObjectName(QStringLiteral("BtnClearAll"));
  BtnOk->setObjectName(QStringLiteral("BtnOk"));
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
  for (QPushButton* b : {BtnCheckAll, BtnClearAll}) b->setAutoDefault(false);
  connect(BtnCheckAll, &QPushButton::clicked, this, [this] { CheckAll(true); });
  connect(BtnClearAll, &QPushButton::clicked, this, [this] { CheckAll(false); });
  // A double click or Enter on a row turns its check mark, as Space does.
  connect(PayeeChecks, &QTreeWidget::itemActivated, this, [](QTreeWidgetItem* item) {
    item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
  });
  auto* hint = new QLabel(QStringLiteral("Check the payees whose forms to print (Space checks "
                                         "the payee in the list)."),
                          this);
  hint->setWordWrap(true);
  auto* checks = new QHBoxLayout;
  checks->addWidget(BtnCheckAll);
  checks->addWidget(BtnClearAll);
  checks->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(hint);
  layout->addWidget(PayeeChecks);
  layout->addLayout(checks);
  layout->addLayout(OkCancelRow(this, BtnOk, BtnCancel));
  resize(460, 360);
}

void TFrmChoosePayees::AddPayee(const QString& name, const QString& tin, int record, bool checked) {
  auto* item = new QTreeWidgetItem(PayeeChecks, {name, tin});
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
  item->setData(0, Qt::UserRole, record);
  if (PayeeChecks->topLevelItemCount() == 1) PayeeChecks->setCurrentItem(item);
}

QList<int> TFrmChoosePayees::Checked() const {
  QList<int> records;
  for (int row = 0; row < PayeeChecks->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = PayeeChecks->topLevelItem(row);
    if (item->checkState(0) == Qt::Checked) records.append(item->data(0, Qt::UserRole).toInt());
  }
  return records;
}

void TFrmChoosePayees::CheckAll(bool on) {
  for (int row = 0; row < PayeeChecks->topLevelItemCount(); ++row)
    PayeeChecks->topLevelItem(row)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

bool ChoosePayees(QList<int>& chosen, const std::function<bool()>& offered, QWidget* parent) {
  TRecordSet& payees = *FrmDataModule->RSPayee;
  RecIndexCount = payees.RecordCount();
  BuildRecIndex();
  TFrmChoosePayees dlg(parent ? parent : QApplication::activeWindow());
  {
    payees.PushRec();
    TScopeCleanup backToPayee([&payees] { payees.PopRec(); });
    const size_t count = std::min<size_t>(RecIndex.size(), size_t(std::max(RecIndexCount, 0)));
    for (size_t i = 0; i < count; ++i) {
      const int record = RecIndex[i].Index + 1;
      payees.SetCurrentRecord(record);
      payees.GetRec();
      if (!offered()) continue;
      const QString name = PayeeSortName(PayeeRec).replace(QLatin1Char('\t'), QStringLiteral(", "));
      dlg.AddPayee(name, PayeeRec.GetString("SSN_IDNum"), record, chosen.contains(record));
    }
  }
  if (dlg.exec() != QDialog::Accepted) return false;
  chosen = dlg.Checked();
  return true;
}
