// The help window: the topics of the guide in a browser, with Contents, Back and Forward and a
// search box over every topic.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Resources.h"
#include "platform/Services.h"

namespace {
bool gHelpScript = false;
QList<int> gHelpShown;

struct TTopicText {
  QString title;
  QString text;  // the page as read, tags gone
};

TTopicText ReadTopic(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QTextDocument doc;
  doc.setHtml(QString::fromUtf8(file.readAll()));
  return {doc.metaInformation(QTextDocument::DocumentTitle), doc.toPlainText()};
}

// How often the words begin a word of text ("offset" finds "offsets", "red" not "entered");
// 0 unless every one of them does.
int Mentions(const QString& text, const QStringList& words) {
  int total = 0;
  for (const QString& word : words) {
    const QRegularExpression start(QStringLiteral("\\b") + QRegularExpression::escape(word),
                                   QRegularExpression::CaseInsensitiveOption);
    const int n = int(text.count(start));
    if (n == 0) return 0;
    total += n;
  }
  return total;
}

class THelpWindow : public QDialog {
 public:
  explicit THelpWindow(QWidget* parent) : QDialog(parent, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Papyra 2025 Help"));
    resize(760, 600);
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("HelpBrowser"));
    Browser->setOpenExternalLinks(true);
    Browser->setSearchPaths({HelpFolder()});
    Results = new QListWidget(this);
    Results->setObjectName(QStringLiteral("HelpResults"));
    Results->hide();
    Search = new QLineEdit(this);
    Search->setObjectName(QStringLiteral("HelpSearch"));
    Search->setPlaceholderText(QStringLiteral("Search the help"));
    Search->setClearButtonEnabled(true);

    Splitter = new QSplitter(this);
    Splitter->addWidget(Results);
    Splitter->addWidget(Browser);
    Splitter->setStretchFactor(1, 1);
    Splitter->setSizes({200, 560});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(NewButtonRow());
    layout->addWidget(Splitter);

    connect(Search, &QLineEdit::returnPressed, this, &THelpWindow::RunSearch);
    connect(Results, &QListWidget::itemActivated, this, &THelpWindow::OpenHit);
    connect(Results, &QListWidget::itemClicked, this, &THelpWindow::OpenHit);
  }

  void Open(int context) { Browser->setSource(QUrl::fromLocalFile(HelpTopicFile(context))); }

 private:
  QHBoxLayout* NewButtonRow() {
    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    auto* forward = new QPushButton(QStringLiteral("&Forward"), this);
    auto* find = new QPushButton(QStringLiteral("&Search"), this);
    find->setObjectName(QStringLiteral("HelpSearchButton"));
    for (QPushButton* b : {contents, back, forward, find}) b->setAutoDefault(false);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QPushButton::clicked, this, [this] { Open(htContents); });
    connect(back, &QPushButton::clicked, Browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, Browser, &QTextBrowser::forward);
    connect(Browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(find, &QPushButton::clicked, this, &THelpWindow::RunSearch);
    auto* row = new QHBoxLayout;
    row->addWidget(contents);
    row->addWidget(back);
    row->addWidget(forward);
    row->addSpacing(12);
    row->addWidget(Search, 1);
    row->addWidget(find);
    return row;
  }

  void RunSearch() {
    Results->clear();
    const QList<THelpHit> hits = SearchHelp(Search->text());
    for (const THelpHit& hit : hits) {
      auto* item = new QListWidgetItem(hit.title, Results);
      item->setData(Qt::UserRole, hit.context);
      item->setToolTip(hit.title);
    }
    if (hits.isEmpty()) {
      auto* none = new QListWidgetItem(QStringLiteral("No topic holds these words."), Results);
      none->setFlags(Qt::NoItemFlags);
    }
    FitResults();
    Results->setVisible(!Search->text().trimmed().isEmpty());
    if (!hits.isEmpty()) OpenHit(Results->item(0));
  }

  // The list is as wide as its longest title, so every title reads whole.
  void FitResults() {
    int widest = 0;
    for (int i = 0; i < Results->count(); ++i)
      widest = std::max(widest, Results->fontMetrics().horizontalAdvance(Results->item(i)->text()));
    const int width =
        widest + 2 * Results->frameWidth() + Results->verticalScrollBar()->sizeHint().width() + 16;
    QList<int> sizes = Splitter->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (total > 0 && width > sizes.value(0))
      Splitter->setSizes({width, std::max(200, total - width)});
    Results->setMinimumWidth(std::min(width, 480));
  }

  // Opens the topic of a hit and marks the first place the first word stands.
  void OpenHit(QListWidgetItem* item) {
    if (!item || !item->data(Qt::UserRole).isValid()) return;
    Results->setCurrentItem(item);
    Open(item->data(Qt::UserRole).toInt());
    const QStringList words = Search->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (!words.isEmpty()) Browser->find(words.first());
  }

  QTextBrowser* Browser;
  QListWidget* Results;
  QLineEdit* Search;
  QSplitter* Splitter;
};
}  // namespace

const QList<int>& HelpContexts() {
  // The contexts the menus and screens have always opened, then the guide's own topics.
  static const QList<int> contexts =
      QList<int>{1,  2,  3,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                 14, 15, 16, 17, 18, 19, 20, 22, 23, 24, 26} +
      QList<int>{htGettingStarted,    htPrinting,     htFilingWithIRS,  htRecordList,
                 htPrintType,         htPreview,      htWebUpdate,      htIRSInstructions,
                 htImportPayees,      htExportPayees, htRecipientFiles, htCheckBeforeFiling,
                 htTinMatching,       htCorrections};
  return contexts;
}

QString HelpFolder() {
  return ResourceFolder() + QStringLiteral("help/");
}

QString HelpTopicFile(int context) {
  return HelpFolder() + QString::number(context) + QStringLiteral(".html");
}

QList<THelpHit> SearchHelp(const QString& words) {
  const QStringList wanted = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (wanted.isEmpty()) return {};
  QList<std::pair<int, THelpHit>> ranked;
  const QDir folder(HelpFolder());
  for (const QString& name : folder.entryList({QStringLiteral("*.html")}, QDir::Files)) {
    bool isNumber = false;
    const int context = QFileInfo(name).completeBaseName().toInt(&isNumber);
    if (!isNumber) continue;
    const TTopicText topic = ReadTopic(folder.filePath(name));
    const int mentions = Mentions(topic.title + QLatin1Char('\n') + topic.text, wanted);
    if (mentions > 0) ranked.append({mentions, {context, topic.title}});
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second.title < b.second.title;
  });
  QList<THelpHit> hits;
  for (const auto& entry : ranked) hits.append(entry.second);
  return hits;
}

void ShowHelp(int context) {
  if (gHelpScript) {
    gHelpShown.append(context);
    return;
  }
  if (!QFile::exists(HelpTopicFile(context))) {
    MsgBox(QStringLiteral("The help topic cannot be found."), AppTitle(), mbError);
    return;
  }
  // One help window at a time, reused for every topic. Every screen is modal, and a window
  // outside the modal screen would take no clicks or keys until the screen closed: the help
  // belongs to the screen that asked for it and closes with it.
  static QPointer<THelpWindow> window;
  QWidget* owner = QApplication::activeModalWidget();
  if (window && window->parentWidget() != owner) delete window.data();
  if (!window) window = new THelpWindow(owner);
  window->Open(context);
  window->show();
  window->raise();
  window->activateWindow();
}

void AddHelpKey(QWidget* window, int context) {
  auto* key = new QShortcut(QKeySequence(Qt::Key_F1), window);
  key->setContext(Qt::WindowShortcut);
  QObject::connect(key, &QShortcut::activated, window, [context] { ShowHelp(context); });
}

QString IRSFormPage(const QString& form) {
  return QStringLiteral("https://www.irs.gov/forms-pubs/about-form-") + form.toLower();
}

void ShowMissingInstructions(const QString& notFoundText, const QStringList& forms) {
  QStringList pages;
  for (const QString& form : forms) pages.append(IRSFormPage(form));
  MsgBoxWithHelp(notFoundText + QStringLiteral("~~The IRS offers the current instructions at~") +
                     pages.join(QLatin1Char('~')),
                 AppTitle(), mbError, htIRSInstructions,
                 QStringLiteral("The IRS instructions for each form"));
}

namespace HelpScript {
void Enable(bool on) {
  gHelpScript = on;
}
QList<int> Shown() {
  return gHelpShown;
}
void Clear() {
  gHelpShown.clear();
}
}  // namespace HelpScript
