// Prints of a selection of the payees: only the forms marked CORRECTED, or chosen payees (by the
// record list's check marks on screen, by TIN in papyra-batch), and "Print this form" on a form
// screen. The qualifying rule, the name order and the Form 1096 follow the selection.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "FaultSupport.h"
#include "FormScreens.h"
#include "FormsFixture.h"
#include "controls/CheckBoxEdit.h"
#include "engine/PagePrinter.h"
#include "engine/ReportSystem.h"
#include "engine/Snapshot.h"
#include "forms/Form1099NEC.h"
#include "forms/FormPrint.h"
#include "forms/FormSelection.h"
#include "forms/FormTotals.h"
#include "forms/Frm1096.h"
#include "forms/RecipientFiles.h"
#include "platform/MsgBox.h"
#include "storage/Globals.h"

namespace {
constexpr int kPayees = 20;
// The three payees of the twenty whose Form 1099-NEC is marked CORRECTED.
const int kCorrected[] = {4, 11, 17};

QString NameOf(int i) {
  return QStringLiteral("Payee %1").arg(i, 2, 10, QLatin1Char('0'));
}
QString TinOf(int i) {
  return QStringLiteral("123-45-%1").arg(6700 + i);
}

class SelectionTest : public TFormsTest {
 protected:
  // Twenty payees filing a 1099-NEC, box 1 of 100 times their number and box 4 of their number,
  // written in reverse name order; three are marked CORRECTED. A twenty-first payee is marked
  // CORRECTED but has nothing to report.
  void OpenTwenty() {
    OpenPayerFile(SamplePayer(), Twenty());
    CurrentFormType = ft1099NEC;
  }
  static QList<TPayeeRecord> Twenty() {
    QList<TPayeeRecord> payees;
    for (int i = kPayees; i >= 1; --i) {
      TPayeeRecord p = SamplePayee(NameOf(i), TinOf(i), 100.0 * i);
      p.SetDouble("F1099NEC4", i);
      p.SetBool("Corrected1099NEC",
                std::find(std::begin(kCorrected), std::end(kCorrected), i) != std::end(kCorrected));
      payees.append(p);
    }
    TPayeeRecord nothing = SamplePayee(QStringLiteral("Zero Corrected"), "999-45-0000", 0);
    nothing.SetBool("Corrected1099NEC", true);
    payees.append(nothing);
    return payees;
  }
  // The record number of payee i (written in reverse order).
  static int RecordOf(int i) { return kPayees + 1 - i; }

  TReportJob PrintProgram(const TPayeeSelection& selection) {
    TPagePrinter printer;
    Project->SetEngine(&printer);
    printer.BeginDoc();
    Printed = PrintProgramGenerated(Form1099NECDef(), printer, *Project, TCopyChoice{false, false},
                                    selection);
    printer.EndDoc();
    Project->SetEngine(static_cast<TPagePrinter*>(nullptr));
    return printer.TakeJob();
  }

  TReportJob PrintRed(const TPayeeSelection& selection) {
    TPagePrinter printer;
    printer.BeginDoc();
    Printed = PrintRedCopies(Form1099NECDef(), printer, {}, selection);
    printer.EndDoc();
    return printer.TakeJob();
  }

  int Printed = 0;
};

// The names of the payees a job's pages carry, one form per page or per red copy slot.
QStringList NamesIn(const TReportJob& job) {
  QStringList names;
  for (const TPage& page : job.Pages)
    for (int i = 1; i <= kPayees; ++i)
      names << QStringList(TextsEqual(page, NameOf(i).toUpper()).size(), NameOf(i));
  return names;
}

TEST_F(SelectionTest, CorrectedOnlyPrintsCountsAndSumsTheMarkedFormsAlone) {
  OpenTwenty();
  const TPayeeSelection corrected = TPayeeSelection::CorrectedOnly();
  const QStringList three = {NameOf(4), NameOf(11), NameOf(17)};
  ASSERT_EQ(ScanFormTotals(corrected), 3);
  EXPECT_DOUBLE_EQ(TotalAmount, 400 + 1100 + 1700);
  EXPECT_DOUBLE_EQ(TotalWithheld, 4 + 11 + 17);

  const TReportJob red = PrintRed(corrected);
  EXPECT_EQ(Printed, 3);
  ASSERT_EQ(red.PageCount(), 1);  // three forms to a sheet
  EXPECT_EQ(NamesIn(red), three);
  EXPECT_EQ(RowsOf(red.Pages[0], NameOf(11).toUpper()), QList<double>{4.18 + 1.83});

  const TReportJob program = PrintProgram(corrected);
  EXPECT_EQ(Printed, 3);
  EXPECT_EQ(program.PageCount(), 3);
  EXPECT_EQ(NamesIn(program), three);
  for (const TPage& page : program.Pages) EXPECT_EQ(TextsEqual(page, "X").size(), 1);  // CORRECTED

  // The 1096 that goes with them counts and sums the three, and says so.
  const QString note = SelectionNote(Form1099NECDef(), corrected, TotalForms);
  EXPECT_EQ(note, "This Form 1096 summarizes only the 3 Forms 1099-NEC marked CORRECTED.");
  const TPage summary = Print1096Program(note).Pages.value(0);
  EXPECT_TRUE(HasTextAt(summary, "3", 4.05, 3.66));  // the number of forms
  EXPECT_EQ(TextsEqual(summary, "3,200.00").size(), 1);
  EXPECT_EQ(TextsEqual(summary, "32.00").size(), 1);
  EXPECT_EQ(TextsEqual(summary, note).size(), 1);

  // Nothing else changed: all payees as before, and a 1096 of all says nothing of a selection.
  EXPECT_EQ(ScanFormTotals(), kPayees);
  EXPECT_EQ(PrintRed({}).PageCount(), 7);
  EXPECT_TRUE(SelectionNote(Form1099NECDef(), {}, kPayees).isEmpty());
}

TEST_F(SelectionTest, ChosenPayeesByTinPrintThoseAndAnUnknownTinIsNamed) {
  OpenTwenty();
  const QList<int> two = PayeesByTin(*Module->RSPayee, Form1099NECDef(),
                                     {TinOf(12), QStringLiteral("123456707")});  // dashes or not
  EXPECT_EQ(two, (QList<int>{RecordOf(12), RecordOf(7)}));                       // in file order
  const TPayeeSelection chosen = TPayeeSelection::Chosen(two);
  EXPECT_EQ(ScanFormTotals(chosen), 2);
  EXPECT_DOUBLE_EQ(TotalAmount, 1900);
  EXPECT_EQ(NamesIn(PrintProgram(chosen)), (QStringList{NameOf(7), NameOf(12)}));
  EXPECT_EQ(NamesIn(PrintRed(chosen)), (QStringList{NameOf(7), NameOf(12)}));
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 1);  // the lookup and the prints return to it

  struct TCase {
    QStringList Tins;
    QString Message;
  };
  const TCase refused[] = {
      {{TinOf(3), "123-45-0000"}, "No payee has the TIN 123-45-0000"},
      {{"999-45-0000"},
       "The payee Zero Corrected with the TIN 999-45-0000 has nothing to report on Form 1099-NEC"},
  };
  for (const TCase& c : refused) {
    try {
      PayeesByTin(*Module->RSPayee, Form1099NECDef(), c.Tins);
      ADD_FAILURE() << "took " << c.Tins.join(' ').toStdString();
    } catch (const EPrintException& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
}

TEST_F(SelectionTest, SelectionsWithoutFormsAndCorrectedPayeesWithoutOneAreTold) {
  OpenTwenty();
  EXPECT_EQ(CorrectedWithoutForm(Form1099NECDef()), QStringList{"Zero Corrected"});
  EXPECT_TRUE(CorrectedWithoutFormNotice(Form1099NECDef()).contains("Zero Corrected"));
  // Chosen payees that file no form, and a form type none of whose corrected payees files one.
  EXPECT_EQ(ScanFormTotals(TPayeeSelection::Chosen({kPayees + 1})), 0);
  EXPECT_EQ(NoSelectedFormsText(Form1099NECDef(), TPayeeSelection::Chosen({kPayees + 1})),
            "None of the chosen payees has anything to report on Form 1099-NEC");
  CurrentFormType = ft1099MISC;
  EXPECT_EQ(ScanFormTotals(TPayeeSelection::CorrectedOnly()), 0);
}

TEST_F(SelectionTest, FilesPerRecipientFollowTheSelection) {
  OpenTwenty();
  const QList<TRecipientFile> files = WriteRecipientFiles({Form1099NECDef(),
                                                           SourceProjectFile(),
                                                           Folder.Path("out"),
                                                           TPasswordSource::None,
                                                           TCopyChoice{},
                                                           nullptr,
                                                           {},
                                                           TPayeeSelection::CorrectedOnly()});
  QStringList recipients;
  for (const TRecipientFile& f : files) recipients << f.Recipient;
  EXPECT_EQ(recipients, (QStringList{NameOf(4), NameOf(11), NameOf(17)}));
}

// papyra-batch takes the same selections: --only corrected and --payees on print (red copy,
// program-generated, a file per recipient, the Form 1096) and on totals.
TEST_F(SelectionTest, BatchPrintsAndTotalsTakeTheSelection) {
  const QString file = WritePayerFile(SamplePayer(), Twenty());
  const QString out = Folder.Path(QStringLiteral("out.snp"));
  const QStringList three = {NameOf(4), NameOf(11), NameOf(17)};
  const QString payees = TinOf(12) + "," + TinOf(7);
  const struct {
    QStringList Args;
    int Pages;
    QStringList Names;
  } prints[] = {
      {{"--form", "1099-NEC", "--kind", "redcopy", "--only", "corrected"}, 1, three},
      {{"--form", "1099-NEC", "--kind", "program", "--instructions", "no", "--only", "corrected"},
       3,
       three},
      {{"--form", "1099-NEC", "--kind", "program", "--instructions", "no", "--payees", payees},
       2,
       {NameOf(7), NameOf(12)}},
      {{"--form", "1099-NEC", "--kind", "redcopy", "--payees", payees}, 1, {NameOf(7), NameOf(12)}},
  };
  for (const auto& c : prints) {
    SCOPED_TRACE(c.Args.join(' ').toStdString());
    const TBatchRun run = RunBatch(QStringList{"print", file} + c.Args + QStringList{"--out", out});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const TReportJob job = LoadSnapshot(out);
    EXPECT_EQ(job.PageCount(), c.Pages);
    EXPECT_EQ(NamesIn(job), c.Names);
    // The corrected payee without a form is named, not skipped without a word.
    EXPECT_EQ(run.Err.contains("Zero Corrected"), c.Args.contains("--only"));
  }

  const TBatchRun summary = RunBatch({"print", file, "--form", "1096", "--form-type", "1099-NEC",
                                      "--kind", "program", "--only", "corrected", "--out", out});
  ASSERT_EQ(summary.Code, 0) << summary.Err.toStdString();
  const TPage page = LoadSnapshot(out).Pages.value(0);
  EXPECT_TRUE(HasTextAt(page, "3", 4.05, 3.66));
  for (const char* text : {"3,200.00", "32.00",
                           "This Form 1096 summarizes only the 3 Forms 1099-NEC marked CORRECTED."})
    EXPECT_EQ(TextsEqual(page, text).size(), 1) << text;

  const TBatchRun files =
      RunBatch({"print", file, "--form", "1099-NEC", "--kind", "program", "--per-recipient",
                "--payees", TinOf(12), "--out", Folder.Path(QStringLiteral("recipients"))});
  ASSERT_EQ(files.Code, 0) << files.Err.toStdString();
  EXPECT_TRUE(files.Out.endsWith("1 file(s) written to " + Folder.Path("recipients") + "\n"))
      << files.Out.toStdString();

  const TBatchRun totals = RunBatch({"totals", file, "--form", "1099-NEC", "--payees", payees});
  ASSERT_EQ(totals.Code, 0) << totals.Err.toStdString();
  EXPECT_EQ(totals.Out,
            "Form 1099-NEC\n"
            "This Form 1096 summarizes only the 2 Forms 1099-NEC of the chosen "
            "recipients.\n"
            "Total number of forms: 2\n"
            "Federal income tax withheld: 19.00\n"
            "Total amount reported: 1,900.00\n");

  // A TIN no payee has is named, and nothing is written.
  QFile::remove(out);
  const TBatchRun unknown = RunBatch({"print", file, "--form", "1099-NEC", "--kind", "program",
                                      "--payees", TinOf(12) + ",123-45-0000", "--out", out});
  EXPECT_EQ(unknown.Code, 2);
  EXPECT_EQ(unknown.Err, "No payee has the TIN 123-45-0000\n");
  EXPECT_FALSE(QFile::exists(out));
}

// ---- on screen -----------------------------------------------------------------------------

class SelectionScreenTest : public SelectionTest {
 protected:
  // The program-generated forms without instructions: one page per form.
  void SetUp() override {
    SelectionTest::SetUp();
    CopyChoice() = TCopyChoice{false, false};
  }
  void TearDown() override {
    CopyChoice() = TCopyChoice{};
    SelectionTest::TearDown();
  }
};

TEST_F(SelectionScreenTest, PrintThisFormPrintsTheShownPayeeAlone) {
  OpenTwenty();
  Module->RSPayee->SetCurrentRecord(RecordOf(9));
  TFrm1099NEC screen;
  ShowActive(screen);
  PrintToFile(*screen.ReportSystem, QStringLiteral("one.snp"));
  QString caption;
  bool payeesOffered = true, alignmentOffered = true;
  WhenModal([&](QWidget* w) {
    caption = w->windowTitle();
    payeesOffered = w->findChild<QWidget*>("GrpPayees")->isVisible();
    alignmentOffered = w->findChild<QRadioButton*>("RBAlignment")->isVisible();
    w->findChild<QPushButton*>("BtnOk")->click();
  });
  screen.BtnPrintForm->click();
  EXPECT_EQ(caption, "Form 1099-NEC for Payee 09");
  EXPECT_FALSE(payeesOffered);
  EXPECT_FALSE(alignmentOffered);
  EXPECT_EQ(NamesIn(LoadSnapshot(screen.ReportSystem->Setup.FileName)), QStringList{NameOf(9)});
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), RecordOf(9));

  // A payee with nothing to report gets a word, not an empty print.
  Module->RSPayee->SetCurrentRecord(kPayees + 1);
  Module->RSPayee->GetRec();
  screen.LoadFormFields();
  try {
    screen.BtnPrintFormClick();
    ADD_FAILURE() << "printed a form with nothing on it";
  } catch (const EPrintException& e) {
    EXPECT_EQ(e.Message(), "This payee has nothing to report on Form 1099-NEC");
  }
}

TEST_F(SelectionScreenTest, PrintTypeWindowTakesCorrectedOrCheckedPayees) {
  OpenTwenty();
  TFrm1099NEC screen;
  ShowActive(screen);
  PrintToFile(*screen.ReportSystem, QStringLiteral("corrected.snp"));
  QString correctedText;
  MsgBoxScript::Clear();
  WhenModal([&](QWidget* w) {
    auto* corrected = w->findChild<QRadioButton*>("RBCorrected");
    correctedText = corrected->text();
    corrected->click();
    w->findChild<QPushButton*>("BtnOk")->click();
  });
  screen.BtnPrint->click();
  EXPECT_EQ(correctedText, "Only forms marked CO&RRECTED (3 forms)");
  EXPECT_EQ(NamesIn(LoadSnapshot(screen.ReportSystem->Setup.FileName)),
            (QStringList{NameOf(4), NameOf(11), NameOf(17)}));
  // The corrected payee without a form is named before the print.
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_TRUE(MsgBoxScript::Log()[0].text.contains("Zero Corrected"));

  // Chosen payees: the record list with check marks lists those who file the form.
  PrintToFile(*screen.ReportSystem, QStringLiteral("chosen.snp"));
  int listed = 0;
  QString chosenText;
  WhenModal([&](QWidget* w) {
    WhenModal([&](QWidget* list) {
      auto* checks = list->findChild<QTreeWidget*>("PayeeChecks");
      listed = checks->topLevelItemCount();
      for (int row = 0; row < listed; ++row) {
        QTreeWidgetItem* item = checks->topLevelItem(row);
        if (item->text(1) == TinOf(2) || item->text(1) == TinOf(20))
          item->setCheckState(0, Qt::Checked);
      }
      list->findChild<QPushButton*>("BtnOk")->click();
    });
    w->findChild<QRadioButton*>("RBChosen")->click();
    chosenText = w->findChild<QRadioButton*>("RBChosen")->text();
    w->findChild<QPushButton*>("BtnOk")->click();
  });
  screen.BtnPrint->click();
  EXPECT_EQ(listed, kPayees);
  EXPECT_EQ(chosenText, "C&hosen payees (2 forms)");
  EXPECT_EQ(NamesIn(LoadSnapshot(screen.ReportSystem->Setup.FileName)),
            (QStringList{NameOf(2), NameOf(20)}));

  // The next print starts again from all payees.
  PrintToFile(*screen.ReportSystem, QStringLiteral("all.snp"));
  bool allChecked = false;
  WhenModal([&](QWidget* w) {
    allChecked = w->findChild<QRadioButton*>("RBAllPayees")->isChecked();
    w->findChild<QPushButton*>("BtnOk")->click();
  });
  screen.BtnPrint->click();
  EXPECT_TRUE(allChecked);
  EXPECT_EQ(NamesIn(LoadSnapshot(screen.ReportSystem->Setup.FileName)).size(), kPayees);
}

// The 1096 screen prints a 1096 for the corrected forms with their count and totals, and shows
// the totals of all payees again afterwards.
TEST_F(SelectionScreenTest, Form1096ForTheCorrectedFormsAlone) {
  OpenTwenty();
  TFrm1096 screen;
  ShowActive(screen);
  screen.TypeBox(ft1099NEC)->SetChecked(true);
  PrintToFile(*screen.ReportSystem, QStringLiteral("f1096.snp"));
  MsgBoxScript::Clear();
  WhenModal([&](QWidget* w) {
    w->findChild<QRadioButton*>("RBCorrected")->click();
    w->findChild<QPushButton*>("BtnOk")->click();
  });
  screen.BtnPrintClick();
  const TPage page = LoadSnapshot(screen.ReportSystem->Setup.FileName).Pages.value(0);
  EXPECT_TRUE(HasTextAt(page, "3", 4.05, 3.66));
  EXPECT_EQ(TextsEqual(page, "3,200.00").size(), 1);
  EXPECT_EQ(TextsEqual(page,
                       "This Form 1096 summarizes only the 3 Forms 1099-NEC marked "
                       "CORRECTED.")
                .size(),
            1);
  EXPECT_EQ(TotalForms, kPayees);
  EXPECT_EQ(screen.findChild<QLabel*>("TotalForms")->text(), QString::number(kPayees));
}
}  // namespace
