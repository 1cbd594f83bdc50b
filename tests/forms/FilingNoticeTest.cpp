// The electronic filing notice: red copies of a payer file that holds 10 or more forms, all
// types together, say that such returns must be filed electronically, once per print, and go on
// when the user wants them; papyra-batch says it in one line on standard error.
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

#include "FormScreens.h"
#include "FormsFixture.h"
#include "controls/CheckBoxEdit.h"
#include "engine/PrinterTarget.h"
#include "engine/ReportPrinter.h"
#include "forms/FormRegistry.h"
#include "forms/FormScreenParts.h"
#include "forms/FormTotals.h"
#include "forms/Frm1096.h"
#include "platform/MsgBox.h"
#include "storage/Globals.h"

namespace {
// Payees filing nec Forms 1099-NEC and misc Forms 1099-MISC: payee i files a 1099-NEC while
// i < nec and a 1099-MISC while i < misc, so both kinds often share a payee.
QList<TPayeeRecord> Payees(int nec, int misc) {
  QList<TPayeeRecord> payees;
  for (int i = 0; i < std::max(nec, misc); ++i) {
    TPayeeRecord p = SamplePayee(QStringLiteral("Payee %1").arg(QChar('A' + i)),
                                 QStringLiteral("123-45-%1").arg(6700 + i), i < nec ? 100 : 0);
    if (i < misc) p.SetDouble("F1099MISC1", 700);
    payees.append(p);
  }
  return payees;
}

class FilingNoticeTest : public TFormsTest {
 protected:
  // Presses Print on the screen, takes the red copy in the print type choice and answers the
  // notice with answer (0: none is expected); whether the print went on to the print dialog.
  template <class TScreen>
  bool PrintRedCopies(TScreen& screen, int answer) {
    bool wentOn = false;
    screen.ConfirmPrintDialog = [&wentOn](TReportPrinter&) { return wentOn = true, false; };
    MsgBoxScript::Clear();
    if (answer) MsgBoxScript::SetNextAnswer(answer);
    WhenModal([](QWidget* choice) {
      Child<QRadioButton>(choice, QStringLiteral("RBRedCopy"))->setChecked(true);
      Child<QPushButton>(choice, QStringLiteral("BtnOk"))->click();
    });
    screen.BtnPrintClick();
    return wentOn;
  }
};

TEST_F(FilingNoticeTest, CountsEveryFormOfEveryTypeByTheOneRule) {
  TPayeeRecord withheldOnly = SamplePayee(QStringLiteral("W"), QStringLiteral("123-45-6788"), 0);
  withheldOnly.SetDouble("F1099NEC4", 25);  // backup withholding alone files a form
  TPayeeRecord nearZero = SamplePayee(QStringLiteral("Z"), QStringLiteral("123-45-6789"), 0.004);
  TPayeeRecord everyType = SamplePayee(QStringLiteral("E"), QStringLiteral("123-45-6790"), 0);
  for (const TFormDef* form : FormDefs()) everyType.SetDouble(form->Totals.AmountFields[0], 50);
  struct TCase {
    const char* Name;
    QList<TPayeeRecord> Payees;
    int Forms;
  };
  const TCase cases[] = {
      {"ten across two types", Payees(5, 5), 10},
      {"nine across two types", Payees(5, 4), 9},
      {"ten of one type", Payees(10, 0), 10},
      {"withholding counts, 0.004 does not", {withheldOnly, nearZero}, 1},
      {"one payee, seven types", {everyType}, 7},
      {"no payees", {}, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    OpenPayerFile(SamplePayer(), c.Payees);
    EXPECT_EQ(CountAllForms(), c.Forms);
    EXPECT_EQ(ElectronicFilingNotice(c.Forms).isEmpty(), c.Forms < 10);
    if (!c.Payees.isEmpty()) {
      EXPECT_EQ(Module->RSPayee->CurrentRecord(), 1);
    }
    ClosePayerFile();
  }
  EXPECT_EQ(ElectronicFilingNotice(10),
            "This payer file holds 10 information returns. Filers of 10 or more information "
            "returns (all types together) must file them electronically with the IRS; paper "
            "Copy A is then not accepted.");
}

TEST_F(FilingNoticeTest, RedCopiesOnScreenSayItOnceAndGoOnWhenTheUserWants) {
  struct TCase {
    const char* Name;
    int Nec, Misc;
    int Answer;
    bool Notice, WentOn;
  };
  const TCase cases[] = {
      {"ten forms, print anyway", 5, 5, mrYes, true, true},
      {"ten forms, stop", 5, 5, mrNo, true, false},
      {"nine forms", 5, 4, 0, false, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    OpenPayerFile(SamplePayer(), Payees(c.Nec, c.Misc));
    {
      TFrm1099NEC screen;
      ShowActive(screen);
      EXPECT_EQ(PrintRedCopies(screen, c.Answer), c.WentOn);
      ASSERT_EQ(MsgBoxScript::Log().size(), c.Notice ? 1 : 0);
      if (c.Notice) {
        const MsgBoxScript::Shown& shown = MsgBoxScript::Log()[0];
        EXPECT_TRUE(shown.text.startsWith(ElectronicFilingNotice(c.Nec + c.Misc)));
        EXPECT_TRUE(shown.text.endsWith("How to file electronically with the IRS"));
        EXPECT_EQ(shown.flags, mbWarning | 4);
      }
      // The screen still shows the payee it showed.
      EXPECT_EQ(Module->RSPayee->CurrentRecord(), 1);
      screen.close();
    }
    {
      TFrm1096 screen;
      ShowActive(screen);
      screen.TypeBox(ft1099NEC)->SetChecked(true);
      EXPECT_EQ(PrintRedCopies(screen, c.Answer), c.WentOn);
      EXPECT_EQ(MsgBoxScript::Log().size(), c.Notice ? 1 : 0);
      screen.close();
    }
    ClosePayerFile();
  }
}

TEST_F(FilingNoticeTest, BatchRedCopiesSayItInOneLineAndPrint) {
  struct TCase {
    const char* Name;
    int Nec, Misc;
    QStringList Args;
    bool Notice;
  };
  const TCase cases[] = {
      {"ten, 1099-NEC red copies", 5, 5, {"--form", "1099-NEC", "--kind", "redcopy"}, true},
      {"ten, 1096 red copy",
       5,
       5,
       {"--form", "1096", "--form-type", "1099-MISC", "--kind", "redcopy"},
       true},
      {"ten, program generated", 5, 5, {"--form", "1099-NEC", "--kind", "program"}, false},
      {"nine, red copies", 5, 4, {"--form", "1099-NEC", "--kind", "redcopy"}, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const QString file = WritePayerFile(SamplePayer(), Payees(c.Nec, c.Misc));
    const QString out = Folder.Path(QStringLiteral("out.snp"));
    const TBatchRun run = RunBatch(QStringList{"print", file} + c.Args + QStringList{"--out", out});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.contains("page(s) written to"));
    // Qt may add its own warnings to standard error; the notice is one line of its own.
    const QStringList notes = run.Err.split(QLatin1Char('\n')).filter(QStringLiteral("IRS"));
    EXPECT_EQ(notes, c.Notice ? QStringList{"Note: " + ElectronicFilingNotice(10)} : QStringList{});
  }
}
}  // namespace

// "Print to File (PDF)" in the print dialog keeps the red copies in a PDF file to print on the red
// forms later; no printer is needed for it.
TEST_F(FilingNoticeTest, RedCopiesGoToThePdfFileChosenInThePrintDialog) {
  QPrinter chosen;
  chosen.setOutputFormat(QPrinter::PdfFormat);
  chosen.setOutputFileName(Folder.Path("red copies"));
  const TReportPrinter::TDestination destination = PrintDestination(chosen);
  EXPECT_EQ(destination.OutputFile, Folder.Path("red copies.pdf"));
  EXPECT_TRUE(destination.PrinterName.isEmpty());

  SetPrinterTarget(std::make_shared<TNoPrinterTarget>());
  OpenPayerFile(SamplePayer(), Payees(2, 0));
  TFrm1099NEC screen;
  ShowActive(screen);
  screen.ConfirmPrintDialog = [&](TReportPrinter& job) {
    job.Destination = destination;
    return true;
  };
  MsgBoxScript::Clear();
  WhenModal([](QWidget* choice) {
    choice->findChild<QRadioButton*>(QStringLiteral("RBRedCopy"))->setChecked(true);
    choice->findChild<QPushButton*>(QStringLiteral("BtnOk"))->click();
  });
  screen.BtnPrintClick();
  SetPrinterTarget(nullptr);
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty()) << MsgBoxScript::LastText().toStdString();
  EXPECT_TRUE(ReadAll(destination.OutputFile).startsWith("%PDF"));
  const TReportJob& job = screen.ReportPrinter->LastJob();
  ASSERT_EQ(job.PageCount(), 1);  // two forms on one sheet
  EXPECT_EQ(RowsOf(job.Pages[0], QStringLiteral("PAYEE A")).size(), 1);
  EXPECT_EQ(RowsOf(job.Pages[0], QStringLiteral("PAYEE B")).size(), 1);
}
