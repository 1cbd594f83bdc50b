// The user guide behind the help contexts: every context opens a topic of substance that links
// back to the contents, the contents reach every topic, links and pictures resolve, and the help
// window searches the topics.
#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

#include "TestSupport.h"
#include "platform/Dialogs.h"

namespace {
struct TTopic {
  QString Html;
  QString Title;
  QString Text;
};

TTopic ReadTopic(int context) {
  QFile file(HelpTopicFile(context));
  if (!file.open(QIODevice::ReadOnly)) return {};
  TTopic topic;
  topic.Html = QString::fromUtf8(file.readAll());
  QTextDocument doc;
  doc.setHtml(topic.Html);
  topic.Title = doc.metaInformation(QTextDocument::DocumentTitle);
  topic.Text = doc.toPlainText();
  return topic;
}

QStringList Attributes(const QString& html, const QString& name) {
  QStringList values;
  const QRegularExpression re(name + QStringLiteral("=\"([^\"]+)\""));
  for (auto it = re.globalMatch(html); it.hasNext();) values.append(it.next().captured(1));
  return values;
}

constexpr int kLicense = 3;

TEST(HelpTopics, EveryContextOpensATopicOfSubstanceThatLeadsBackToTheContents) {
  for (int context : HelpContexts()) {
    SCOPED_TRACE(context);
    const TTopic topic = ReadTopic(context);
    ASSERT_FALSE(topic.Html.isEmpty()) << "missing " << HelpTopicFile(context).toStdString();
    EXPECT_FALSE(topic.Title.isEmpty());
    EXPECT_TRUE(topic.Html.contains(QStringLiteral("<h1>") + topic.Title.toHtmlEscaped()));
    EXPECT_TRUE(Attributes(topic.Html, QStringLiteral("href")).contains(QStringLiteral("1.html")));
    if (context == kLicense) continue;
    const int blocks =
        int(topic.Html.count(QStringLiteral("<p")) + topic.Html.count(QStringLiteral("<li")));
    EXPECT_GE(blocks, 3);
    EXPECT_GE(topic.Text.split(QRegularExpression(QStringLiteral("\\s+"))).size(), 100);
  }
}

TEST(HelpTopics, TheContentsReachEveryTopicAndEveryLinkAndPictureResolves) {
  const QStringList fromContents = Attributes(ReadTopic(htContents).Html, QStringLiteral("href"));
  for (int context : HelpContexts()) {
    if (context != htContents) {
      EXPECT_TRUE(fromContents.contains(QStringLiteral("%1.html").arg(context))) << context;
    }
    const TTopic topic = ReadTopic(context);
    QStringList local = Attributes(topic.Html, QStringLiteral("src"));
    for (const QString& link : Attributes(topic.Html, QStringLiteral("href")))
      if (!link.contains(QLatin1Char(':'))) local.append(link);
    for (const QString& file : local)
      EXPECT_TRUE(QFile::exists(HelpFolder() + file)) << context << ": " << file.toStdString();
  }
}

TEST(HelpTopics, SearchFindsTheTopicsHoldingEveryWord) {
  struct TCase {
    QString Words;
    int First;  // the topic expected first, 0 for no hit at all
  };
  const TCase cases[] = {
      {QStringLiteral("offset"), 19},
      {QStringLiteral("IRIS electronically"), htFilingWithIRS},
      {QStringLiteral("iris ELECTRONICALLY"), htFilingWithIRS},
      {QStringLiteral("calendar 1099-S closing"), 18},
      {QStringLiteral("import"), htImportPayees},
      {QStringLiteral("export CSV"), htExportPayees},
      {QStringLiteral("PDF per recipient"), htRecipientFiles},
      {QStringLiteral("no-such-word-anywhere"), 0},
      {QStringLiteral("offset no-such-word-anywhere"), 0},
      {QStringLiteral("   "), 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Words.toStdString());
    const QList<THelpHit> hits = SearchHelp(c.Words);
    if (c.First == 0) {
      EXPECT_TRUE(hits.isEmpty());
      continue;
    }
    ASSERT_FALSE(hits.isEmpty());
    EXPECT_EQ(hits[0].context, c.First);
    EXPECT_EQ(hits[0].title, ReadTopic(c.First).Title);
    for (const THelpHit& hit : hits)
      for (const QString& word : c.Words.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        EXPECT_TRUE(ReadTopic(hit.context).Text.contains(word, Qt::CaseInsensitive)) << hit.context;
  }
}

// The real window, not the scripted log: opened from a modal screen it belongs to that screen,
// so it takes clicks and keys while the screen is up, and its search box finds and opens topics.
TEST(HelpTopics, TheHelpWindowBelongsToTheModalScreenAndSearches) {
  HelpScript::Enable(false);
  QPointer<QTextBrowser> browser;
  {
    QDialog screen;
    screen.setModal(true);
    screen.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &screen);
    ShowHelp(10);
    browser = screen.findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
    ASSERT_TRUE(browser);
    EXPECT_TRUE(browser->source().path().endsWith(QStringLiteral("/10.html")));
    auto* search = screen.findChild<QLineEdit*>(QStringLiteral("HelpSearch"));
    auto* results = screen.findChild<QListWidget*>(QStringLiteral("HelpResults"));
    ASSERT_TRUE(search && results);
    search->setText(QStringLiteral("offset"));
    QTest::keyClick(search, Qt::Key_Return);
    ASSERT_GE(results->count(), 1);
    EXPECT_EQ(results->item(0)->text(), ReadTopic(19).Title);
    EXPECT_TRUE(browser->source().path().endsWith(QStringLiteral("/19.html")));
    EXPECT_TRUE(browser->textCursor().hasSelection());  // the word is marked
    // Titles read whole in the list, the longest included.
    search->setText(QStringLiteral("red copy"));
    QTest::keyClick(search, Qt::Key_Return);
    ASSERT_GE(results->count(), 3);
    for (int i = 0; i < results->count(); ++i) {
      const QString title = results->item(i)->text();
      EXPECT_GE(results->viewport()->width(), results->fontMetrics().horizontalAdvance(title))
          << title.toStdString();
    }
    search->setText(QStringLiteral("offset"));
    QTest::keyClick(search, Qt::Key_Return);
    search->setText(QStringLiteral("no-such-word-anywhere"));
    QTest::keyClick(search, Qt::Key_Return);
    ASSERT_EQ(results->count(), 1);
    EXPECT_EQ(results->item(0)->flags(), Qt::NoItemFlags);
  }
  EXPECT_FALSE(browser);  // closed with its screen
  HelpScript::Enable(true);
}
}  // namespace
