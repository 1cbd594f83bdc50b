// Tools / Check Before Filing and the TIN matching commands on screen: the findings as rows, a
// double-click that opens the payee and checks again, the request written where the user says
// and the IRS's answers brought back into the list.
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

#include "ShellFixture.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "shell/FrmCheck.h"
#include "storage/Globals.h"
#include "storage/RecordSet.h"

namespace {
TPayeeRecord Vendor(const QString& name, const QString& tin, double nec) {
  TPayeeRecord p;
  p.SetString("PayeeName", name);
  p.SetString("Address1", QStringLiteral("4 River Rd"));
  p.SetString("City", QStringLiteral("Albany"));
  p.SetString("State", QStringLiteral("NY"));
  p.SetString("ZipCode", QStringLiteral("12207"));
  p.SetString("CityStZip", QStringLiteral("Albany NY 12207"));
  p.SetString("SSN_IDNum", tin);
  p.SetDouble("F1099NEC1", nec);
  return p;
}

class CheckScreenTest : public ShellTest {
 protected:
  QString MakeFile() {
    const QString file = Dir.Path("ACME.PE25");
    TPayerRecord payer;
    payer.SetString("PayerName", QStringLiteral("Acme"));
    WriteAll(Dir.Path("ACME.PR25"), QByteArray(reinterpret_cast<const char*>(payer.Data()), 448));
    QByteArray bytes;
    for (const TPayeeRecord& p : {Vendor("Hudson Paving Inc", "98-7654321", 100),
                                  Vendor("Bad Prefix LLC", "96-1234567", 700)})
      bytes.append(reinterpret_cast<const char*>(p.Data()), TPayeeRecord::Size);
    WriteAll(file, bytes);
    return file;
  }

  static QStringList Row(const QTreeWidget* list, int row) {
    QStringList cells;
    for (int c = 0; c < 4; ++c) cells << list->topLevelItem(row)->text(c);
    return cells;
  }
};
}  // namespace

TEST_F(CheckScreenTest, RowsShowTheFindingsAndADoubleClickOpensThePayee) {
  Start({MakeFile()});
  ASSERT_TRUE(FileIsOpen);
  TFrmCheck screen(Main.get());
  QString opened;
  screen.OpenPayeeScreen = [&opened] {
    // The user corrects the number on the payee screen.
    opened = PayeeRec.GetString("PayeeName");
    PayeeRec.SetString("SSN_IDNum", QStringLiteral("95-1234567"));
    FrmDataModule->RSPayee->PostRec();
  };
  screen.show();
  screen.RunCheck();
  ASSERT_EQ(screen.CheckList->topLevelItemCount(), 2);
  EXPECT_EQ(Row(screen.CheckList, 0), (QStringList{"Error", "Bad Prefix LLC (payee 2)", "1099-NEC",
                                                   "EIN prefix 96 is not one the IRS assigns"}));
  EXPECT_EQ(Row(screen.CheckList, 1)[0], "Note");
  EXPECT_EQ(screen.Summary->text(), "1 error, 0 warnings, 1 note");

  QTreeWidgetItem* error = screen.CheckList->topLevelItem(0);
  const QRect rect = screen.CheckList->visualItemRect(error);
  // A double-click as the mouse sends it: a click, then the double-click.
  QTest::mouseClick(screen.CheckList->viewport(), Qt::LeftButton, {}, rect.center());
  QTest::mouseDClick(screen.CheckList->viewport(), Qt::LeftButton, {}, rect.center());
  EXPECT_EQ(opened, "Bad Prefix LLC");
  EXPECT_EQ(screen.Summary->text(), "0 errors, 0 warnings, 1 note");

  screen.FormChoice->setCurrentIndex(screen.FormChoice->findData(QStringLiteral("1099-INT")));
  EXPECT_EQ(screen.CheckList->topLevelItemCount(), 0);
  EXPECT_EQ(screen.Summary->text(), "No findings");
}

TEST_F(CheckScreenTest, RequestAndResultsGoThroughTheFileDialogs) {
  Start({MakeFile()});
  MsgBoxScript::Clear();
  DialogScript::SetNextFileName(Dir.Path("request.txt"));
  TinMatchRequestCommand(Main.get());
  EXPECT_EQ(ReadAll(Dir.Path("request.txt")),
            "1;987654321;Hudson Paving Inc;PAYEE1\r\n1;961234567;Bad Prefix LLC;PAYEE2\r\n");
  EXPECT_TRUE(MsgBoxScript::LastText().contains("2 request line(s)"))
      << MsgBoxScript::LastText().toStdString();

  WriteAll(Dir.Path("results.txt"),
           "1;987654321;HUDSON PAVING INC;PAYEE1;3\r\n"
           "1;961234567;Bad Prefix LLC;PAYEE2;2\r\n");
  DialogScript::SetNextFileName(Dir.Path("results.txt"));
  TinMatchResultsCommand(Main.get());
  EXPECT_TRUE(
      MsgBoxScript::LastText().contains("payee 1, Hudson Paving Inc: 3 Name and TIN do not match"))
      << MsgBoxScript::LastText().toStdString();
  EXPECT_TRUE(QFile::exists(Dir.Path("ACME.TM25")));

  TFrmCheck screen(Main.get());
  screen.RunCheck();
  QStringList texts;
  for (int i = 0; i < screen.CheckList->topLevelItemCount(); ++i)
    texts << screen.CheckList->topLevelItem(i)->text(3);
  EXPECT_TRUE(texts.filter("Name and TIN do not match (3)").size() == 1)
      << texts.join('\n').toStdString();
  EXPECT_TRUE(texts.filter("TIN not currently issued (2)").size() == 1);

  // A file without answers keeps nothing and says so.
  WriteAll(Dir.Path("other.txt"), "hello\n");
  DialogScript::SetNextFileName(Dir.Path("other.txt"));
  TinMatchResultsCommand(Main.get());
  EXPECT_TRUE(MsgBoxScript::LastText().contains("holds no TIN matching answer"));
}
