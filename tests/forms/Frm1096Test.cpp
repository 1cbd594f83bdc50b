// The Form 1096 screen: its form-type boxes and totals, its two refusals, what it shows of the
// payer, and its program-generated print through the print type choice and the preview.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "FormsFixture.h"
#include "controls/CheckBoxEdit.h"
#include "core/Utils.h"
#include "engine/ReportSystem.h"
#include "engine/Snapshot.h"
#include "forms/FormTotals.h"
#include "forms/Frm1096.h"
#include "printing/ReportPreview.h"
#include "storage/Globals.h"

namespace {
class Frm1096Test : public TForm1096Fixture {
 protected:
  QString Label(TFrm1096& screen, const char* name) {
    return screen.findChild<QLabel*>(QLatin1String(name))->text();
  }
  QStringList Totals(TFrm1096& screen) {
    return {Label(screen, "TotalForms"), Label(screen, "FITW"), Label(screen, "Total")};
  }
  void Tick(TFrm1096& screen, uint8_t type) {
    TCheckBoxEdit* box = screen.TypeBox(type);
    QTest::mouseClick(box, Qt::LeftButton);
  }
};

TEST_F(Frm1096Test, OneFormTypeAtMostAndItsTotals) {
  OpenPayerFile(Payer(), NecPayees());
  TFrm1096 screen;
  EXPECT_TRUE(screen.NoTypeChosen());
  EXPECT_EQ(Totals(screen), QStringList({"0", "0.00", "0.00"}));
  Tick(screen, ft1099NEC);
  // Beta has only tax withheld: it files a form as well.
  EXPECT_EQ(Totals(screen), QStringList({"2", "15.00", "150.00"}));
  EXPECT_EQ(CurrentFormType, ft1099NEC);
  Tick(screen, ft1099R);
  Tick(screen, ft1099S);
  int ticked = 0;
  for (uint8_t t = ft1098; t <= ft1099S; ++t) ticked += screen.TypeBox(t)->Checked() ? 1 : 0;
  EXPECT_EQ(ticked, 1);
  EXPECT_TRUE(screen.TypeBox(ft1099S)->Checked());
  EXPECT_EQ(CurrentFormType, ft1099S);
  EXPECT_EQ(Totals(screen), QStringList({"0", "0.00", "0.00"}));
  Tick(screen, ft1099R);
  EXPECT_EQ(Totals(screen), QStringList({"1", "70.00", "700.00"}));
  Tick(screen, ft1099R);  // unticking leaves none
  EXPECT_TRUE(screen.NoTypeChosen());
  EXPECT_FALSE(screen.TypeBox(ft1099R)->Checked());
  EXPECT_EQ(Totals(screen), QStringList({"0", "0.00", "0.00"}));
}

TEST_F(Frm1096Test, PrintRefusesWithoutTypeOrForms) {
  TPayeeRecord none = SamplePayee(QStringLiteral("Alpha"), QStringLiteral("123-45-6788"), 0);
  none.SetDouble("F1099NEC4", 0.004);  // less than a cent: no form
  OpenPayerFile(Payer(), {none});
  TFrm1096 screen;
  screen.show();
  QApplication::setActiveWindow(&screen);
  screen.TypeBox(ft1099INT)->setFocus();
  ExpectPrintRefused(screen, QStringLiteral("No forms have been selected for printing"));
  EXPECT_EQ(QApplication::focusWidget(), screen.TypeBox(ft1098));
  Tick(screen, ft1099NEC);
  EXPECT_EQ(Totals(screen), QStringList({"0", "0.00", "0.00"}));
  ExpectPrintRefused(
      screen, QStringLiteral("There are no forms of the selected type available for printing"));
}

TEST_F(Frm1096Test, OpeningShowsThePayerInItsBoxes) {
  TPayerRecord payer = Payer();
  payer.SetString("PayerName", QStringLiteral("Smith & Sons"));
  payer.SetString("TradeName", QString());
  payer.SetString("Address2", QString());
  payer.SetString("EmpIDNum", QStringLiteral("12-34"));
  OpenPayerFile(payer, NecPayees());
  TFrm1096 screen;
  EXPECT_EQ(Label(screen, "PayerName"), QString());
  EXPECT_EQ(Label(screen, "TradeName"), QStringLiteral("Smith && Sons"));
  EXPECT_EQ(Label(screen, "Address1"), QString());
  EXPECT_EQ(Label(screen, "Address2"), QStringLiteral("1234 Industrial Pkwy"));
  EXPECT_EQ(Label(screen, "EmpIDNum"), QString());
  EXPECT_EQ(Label(screen, "SocSecNum"), QStringLiteral("321-54-9876"));
  EXPECT_EQ(Label(screen, "PhoneNum"), QStringLiteral("217-555-0123"));
  EXPECT_EQ(screen.windowTitle(),
            QStringLiteral("Form 1096 Annual Summary and Transmittal of U.S. Information Returns"));
}

TEST_F(Frm1096Test, ProgramGeneratedFormThroughTheScreen) {
  TPayerRecord payer = Payer();
  payer.SetString("TradeName", QString());
  OpenPayerFile(payer, NecPayees());
  TFrm1096 screen;
  Tick(screen, ft1099NEC);
  PrintToFile(*screen.ReportSystem, QStringLiteral("f1096.snp"));
  QString caption;
  WhenModal([&](QWidget* w) {
    caption = w->windowTitle();
    Child<QPushButton>(w, QStringLiteral("BtnOk"))->click();
  });
  screen.BtnPrintClick();
  EXPECT_EQ(caption, QStringLiteral("Form 1096"));
  const TReportJob job = LoadSnapshot(screen.ReportSystem->Setup.FileName);
  ASSERT_EQ(job.PageCount(), 1);
  const TReportLayout layout = TReportProject::LoadLayout(SourceProjectFile(), "Form1096");
  auto at = [&](const char* param, const QString& text) {
    const TParamField* p = layout.Param(QLatin1String(param));
    return HasTextAt(job.Pages[0], text, p->X, p->Y);
  };
  EXPECT_TRUE(at("FilerName2", "ACME SUPPLY"));
  EXPECT_TRUE(at("FilerAddress1", "1234 INDUSTRIAL PKWY"));
  EXPECT_TRUE(at("FilerAddress2", "SUITE 200"));
  EXPECT_TRUE(at("ContactPerson", "JANE DOE"));
  EXPECT_TRUE(at("Email", "jane@acme.example.com"));
  EXPECT_TRUE(at("TelNum", "217-555-0123"));
  EXPECT_TRUE(at("EIN", "12-3456789"));
  EXPECT_TRUE(at("TotalForms", "2"));
  EXPECT_TRUE(at("FITW", "15.00"));
  EXPECT_TRUE(at("Total", "150.00"));
  EXPECT_TRUE(at("CB1099NEC", "X"));
  EXPECT_EQ(TextsEqual(job.Pages[0], QStringLiteral("X")).size(), 1);
  EXPECT_TRUE(TextsEqual(job.Pages[0], QStringLiteral("JANE DOE")).size() == 1);
  for (const TDisplayItem& t : Texts(job.Pages[0]))
    EXPECT_FALSE(std::fabs(t.Y - layout.Param("FilerName1")->Y) < 1e-6 &&
                 t.Font.Name == QLatin1String("Courier New"))
        << t.Text.toStdString();
}

TEST_F(Frm1096Test, PreviewCarriesTheScreensTitle) {
  OpenPayerFile(Payer(), NecPayees());
  TFrm1096 screen;
  Tick(screen, ft1099NEC);
  screen.ReportSystem->ShowSetup = false;
  screen.ReportSystem->Setup.Dest = TReportDest::Preview;
  QString caption;
  int pages = 0;
  WhenModal([&](QWidget* w) {
    Child<QPushButton>(w, QStringLiteral("BtnOk"))->click();
    WhenModal([&](QWidget* preview) {
      caption = preview->windowTitle();
      if (auto* p = qobject_cast<TFrmReportPreview*>(preview)) pages = p->PageCount();
      preview->close();
    });
  });
  screen.BtnPrintClick();
  EXPECT_EQ(caption, QStringLiteral("Form 1096 Preview"));
  EXPECT_EQ(pages, 1);
}

}  // namespace
