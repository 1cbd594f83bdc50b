// The report project: reading the file afresh, its error messages, and what Execute draws.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "EngineTestSupport.h"
#include "TestSupport.h"
#include "engine/PagePrinter.h"
#include "engine/ReportProject.h"
#include "platform/Exceptions.h"

namespace {
const char* kProject = R"({
  "version": 1,
  "reports": [
    { "name": "Form1099NEC", "font": "Arial", "size": 7,
      "face": [
        { "rule": [0.5, 0.5, 8.0, 0.5], "width": 0.02 },
        { "box": [0.5, 1.0, 4.0, 2.0], "name": "PayerBox" },
        { "shade": [4.0, 1.0, 4.2, 1.2], "darkness": 0.85 },
        { "text": "PAYER'S name\nsecond line", "at": [0.55, 1.1], "style": "bold" }
      ],
      "params": [
        { "name": "PayerName", "at": [0.6, 1.35], "width": 1.0, "font": "Courier New",
          "size": 12, "fit": true, "box": "PayerBox" },
        { "name": "Amount", "at": [4.4, 1.6], "font": "Courier New", "size": 12,
          "align": "right" }
      ] }
  ]
})";

QString Error(const std::function<void()>& f) {
  try {
    f();
  } catch (const EReportException& e) {
    return e.Message();
  }
  return {};
}

class ReportProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    File = Tmp.Path(QStringLiteral("TaxForms.rpj"));
    WriteAll(File, kProject);
    Project.SetProjectFile(File);
    Project.SetEngine(&Printer);
    Printer.BeginDoc();
  }
  TTempFolder Tmp;
  QString File;
  TPagePrinter Printer;
  TReportProject Project;
};
}  // namespace

TEST_F(ReportProjectTest, ExecuteDrawsTheFaceAndParametersOnTheCurrentPage) {
  Project.Open();
  Project.SelectReport(QStringLiteral("Form1099NEC"));
  Project.SetParam(QStringLiteral("PayerName"), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
  Project.SetParam(QStringLiteral("Amount"), QStringLiteral("1,234.56"));
  Project.SetParam(QStringLiteral("NoSuchParam"), QStringLiteral("ignored"));
  Printer.GotoXY(3, 3);
  Project.Execute();
  const TReportJob& job = Printer.Job();
  EXPECT_EQ(job.PageCount(), 1) << "Execute opens no page";
  EXPECT_EQ(ItemsOf(job, 0, TItemKind::Line).size(), 1);
  EXPECT_EQ(ItemsOf(job, 0, TItemKind::Rect).size(), 2);
  const TDisplayItem caption2 = TextItem(job, QStringLiteral("second line"));
  EXPECT_DOUBLE_EQ(caption2.Y, 1.1 + 7.0 / 60);
  EXPECT_TRUE(caption2.Font.Bold());
  // Twenty monospaced characters in one inch: the font shrinks to 6 points.
  const TDisplayItem name = TextItem(job, QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
  EXPECT_NEAR(name.Font.Size, 6.0, 0.01);
  EXPECT_EQ(name.Font.Name, QStringLiteral("Courier New"));
  const TDisplayItem amount = TextItem(job, QStringLiteral("1,234.56"));
  EXPECT_EQ(amount.Align, TAlign::Right);
  EXPECT_DOUBLE_EQ(amount.X, 4.4);
  EXPECT_DOUBLE_EQ(amount.Y, 1.6);
  EXPECT_EQ(amount.Font.Size, 12);
  EXPECT_EQ(Printer.XPos(), 3) << "the caller's cursor and font survive";
  EXPECT_EQ(Printer.Font(), TFontSpec{});

  // Parameters keep their values into the next form until set again or cleared.
  Printer.NewPage();
  Project.SetParam(QStringLiteral("Amount"), QString());
  Project.Execute();
  EXPECT_EQ(TextItem(job, QStringLiteral("ABCDEFGHIJKLMNOPQRST"), 1).Y, 1.35);
  EXPECT_EQ(ItemsOf(job, 1, TItemKind::Text).size(), 3);
  Project.ClearParams();
  Printer.NewPage();
  Project.Execute();
  EXPECT_EQ(ItemsOf(job, 2, TItemKind::Text).size(), 2) << "captions only";
  Project.Close();
}

TEST_F(ReportProjectTest, TheFileIsReadAfreshAtEveryOpen) {
  Project.Open();
  EXPECT_EQ(Project.ReportNames(), QStringList{QStringLiteral("Form1099NEC")});
  Project.Close();
  WriteAll(File, QByteArray(kProject).replace("Form1099NEC", "Form1096"));
  Project.Open();
  EXPECT_EQ(Project.ReportNames(), QStringList{QStringLiteral("Form1096")});
}

TEST_F(ReportProjectTest, ErrorsNameTheFileTheReportAndThePlace) {
  struct Case {
    const char* name;
    QByteArray text;  // empty: the file is missing
    const char* report;
    QString message;
  };
  const std::vector<Case> cases = {
      {"missing file",
       {},
       "Form1099NEC",
       QStringLiteral("The report project \"%1\" does not exist.").arg(File)},
      {"missing report", kProject, "Form1099R",
       QStringLiteral("The report project \"TaxForms.rpj\" has no report \"Form1099R\".")},
      {"syntax", "{\n  \"reports\": [\n    { \"name\": \"A\",, }\n  ]\n}", "A",
       QStringLiteral("The report project \"TaxForms.rpj\" is malformed at line 3, position 20 "
                      "(unterminated object).")},
      {"short rule", R"({"reports":[{"name":"A","face":[{"rule":[1,2,3]}]}]})", "A",
       QStringLiteral("The report project \"TaxForms.rpj\", report \"A\", face entry 1: \"rule\" "
                      "needs 4 numbers.")},
      {"unknown box", R"({"reports":[{"name":"A","params":[{"name":"P","at":[1,1],"box":"B"}]}]})",
       "A",
       QStringLiteral("The report project \"TaxForms.rpj\", report \"A\", parameter 1: box \"B\" "
                      "is not on the face.")},
      {"bad align", R"({"reports":[{"name":"A","params":[{"name":"P","at":[1,1],"align":"up"}]}]})",
       "A",
       QStringLiteral("The report project \"TaxForms.rpj\", report \"A\", parameter 1: \"align\" "
                      "must be \"left\", \"center\" or \"right\".")},
      {"no reports", "[]", "A",
       QStringLiteral("The report project \"TaxForms.rpj\" has no \"reports\" list.")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.text.isEmpty())
      QFile::remove(File);
    else
      WriteAll(File, c.text);
    const QString message = Error([&] {
      Project.Open();
      Project.SelectReport(QString::fromLatin1(c.report));
    });
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(Error([&] { TReportProject::LoadLayout(File, QString::fromLatin1(c.report)); }),
              c.message);
  }
}

TEST_F(ReportProjectTest, ExecuteWithoutASelectedReportOrAnEngineIsRefused) {
  EXPECT_FALSE(Error([&] { Project.Execute(); }).isEmpty());
  Project.Open();
  Project.SelectReport(QStringLiteral("form1099nec"));  // names match without regard to case
  TReportProject detached;
  detached.SetProjectFile(File);
  detached.Open();
  detached.SelectReport(QStringLiteral("Form1099NEC"));
  EXPECT_EQ(Error([&] { detached.Execute(); }),
            QStringLiteral("The report project has no page to print on."));
}

TEST_F(ReportProjectTest, LayoutGivesTheFaceAndBoxesWithoutPrinting) {
  const TReportLayout layout = TReportProject::LoadLayout(File, QStringLiteral("Form1099NEC"));
  EXPECT_EQ(layout.BoxNames(), QStringList{QStringLiteral("PayerBox")});
  EXPECT_EQ(layout.BoxRect(QStringLiteral("PayerBox")), QRectF(0.5, 1.0, 3.5, 1.0));
  EXPECT_TRUE(layout.BoxRect(QStringLiteral("Nope")).isNull());
  ASSERT_NE(layout.Param(QStringLiteral("PayerName")), nullptr);
  EXPECT_TRUE(layout.Param(QStringLiteral("PayerName"))->Fit);
  EXPECT_EQ(layout.Param(QStringLiteral("PayerName"))->Box, QStringLiteral("PayerBox"));
  EXPECT_EQ(layout.Face.size(), 4);
  EXPECT_EQ(Printer.Job().Pages[0].Items.size(), 0);
}

TEST(ShippedProject, TaxFormsSitsBesideTheExecutablesAndLoads) {
  const QString file = QCoreApplication::applicationDirPath() + QStringLiteral("/TaxForms.rpj");
  const TReportLayout sample = TReportProject::LoadLayout(file, QStringLiteral("Sample"));
  EXPECT_FALSE(sample.Face.isEmpty());
  EXPECT_NE(sample.Param(QStringLiteral("PayerName")), nullptr);
}

// Face entries marked for one copy of a form print on that copy only; the rest on every copy.
TEST_F(ReportProjectTest, FaceEntriesForOneCopyPrintOnThatCopyOnly) {
  WriteAll(File, R"({ "reports": [ { "name": "F", "face": [
      { "text": "Form 1099-NEC", "at": [1, 1] },
      { "copy": "B", "text": "Copy B", "at": [7, 1] },
      { "copy": "C", "text": "Copy C", "at": [7, 1] } ] } ] })");
  const auto texts = [&](int page) {
    QStringList out;
    for (const TDisplayItem& item : ItemsOf(Printer.Job(), page, TItemKind::Text))
      out.append(item.Text);
    return out;
  };
  Project.Open();
  Project.SelectReport(QStringLiteral("F"));
  EXPECT_EQ(Project.Copy(), QStringLiteral("B"));
  Project.Execute();
  EXPECT_EQ(texts(0), QStringList({"Form 1099-NEC", "Copy B"}));
  Project.SetCopy(QStringLiteral("C"));
  Printer.NewPage();
  Project.Execute();
  EXPECT_EQ(texts(1), QStringList({"Form 1099-NEC", "Copy C"}));
  Project.Close();
  // A screen draws the recipient's copy.
  TPagePrinter screen;
  screen.BeginDoc();
  TReportProject::DrawFace(screen, TReportProject::LoadLayout(File, QStringLiteral("F")));
  EXPECT_EQ(ItemsOf(screen.Job(), 0, TItemKind::Text).size(), 2);
}
