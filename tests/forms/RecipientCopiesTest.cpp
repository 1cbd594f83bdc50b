// Recipient copies: the instructions after each Copy B, the payer's Copy C, and one PDF file per
// recipient with an optional password, from papyra-batch and from the routines the screens use.
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

#include "FormsFixture.h"
#include "engine/Fonts.h"
#include "engine/PagePrinter.h"
#include "engine/Snapshot.h"
#include "forms/Form1096.h"
#include "forms/FormPrint.h"
#include "forms/FormRegistry.h"
#include "forms/FormTotals.h"
#include "forms/RecipientFiles.h"
#include "forms/RecipientFilesDialog.h"
#include "forms/RecipientInstructions.h"
#include "platform/MsgBox.h"
#include "storage/Globals.h"

namespace {
// The text of a PDF file as poppler reads it; empty when it cannot be opened.
QString PdfText(const QString& file, const QString& password = {}) {
  QStringList args;
  if (!password.isEmpty()) args << "-upw" << password;
  QProcess process;
  process.start("pdftotext", args << file << "-");
  process.waitForFinished(30000);
  return process.exitCode() == 0 ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

TPayeeRecord WithZip(TPayeeRecord p, const QString& zip) {
  p.SetString("ZipCode", zip);
  return p;
}

bool HasText(const TPage& page, const QString& text) {
  return !TextsEqual(page, text).isEmpty();
}

bool HasTextStarting(const TPage& page, const QString& prefix) {
  for (const TDisplayItem& item : Texts(page))
    if (item.Text.startsWith(prefix)) return true;
  return false;
}

class RecipientCopiesTest : public TFormsTest {
 protected:
  // Four 1099-NEC recipients (two of them of the same name and TIN ending, one with a name a
  // file cannot hold as it is and no TIN), one borrower of a Form 1098 only, one payee with
  // nothing to report.
  QString MakeFile() {
    return WritePayerFile(SamplePayer(),
                          {WithZip(SamplePayee("Zeta Corp", "123-45-6788", 100), "62521"),
                           WithZip(SamplePayee("Alpha/Beta: \"Co\"", "", 50), "62704-1234"),
                           WithZip(SamplePayee("Mu Smith", "345-67-8901", 7), ""),
                           WithZip(SamplePayee("Mu Smith", "999-88-8901", 9), "53703"),
                           WithZip(SampleBorrower("Lender Client", "456-78-9012", 900), "60601"),
                           SamplePayee("Nobody", "567-89-0123", 0)});
  }

  TReportJob Print(const TFormDef& form, const TCopyChoice& choice) {
    CurrentFormType = form.FormType;
    ScanFormTotals();
    TPagePrinter printer;
    Project->SetEngine(&printer);
    printer.BeginDoc();
    PrintProgramGenerated(form, printer, *Project, choice);
    printer.EndDoc();
    Project->SetEngine(static_cast<TPagePrinter*>(nullptr));
    return printer.TakeJob();
  }
};

// The folder holds one file per printed form and nothing else; each opens with its password
// only and holds that recipient's form and instructions; the list says which are unprotected.
TEST_F(RecipientCopiesTest, BatchWritesOneProtectedFilePerRecipient) {
  const QString file = MakeFile();
  const QString dir = Folder.Path("out");
  const TBatchRun run = RunBatch({"print", file, "--form", "1099-NEC", "--kind", "program",
                                  "--per-recipient", "--password", "tin-last4", "--out", dir});
  ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Out,
            "1099-NEC Alpha_Beta_ _Co_.pdf (not protected: no password for this "
            "recipient)\n"
            "1099-NEC Mu Smith 8901.pdf (protected)\n"
            "1099-NEC Mu Smith 8901 (2).pdf (protected)\n"
            "1099-NEC Zeta Corp 6788.pdf (protected)\n"
            "4 file(s) written to " +
                dir + "\n");
  QStringList names =
      QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::AllDirs | QDir::NoDotAndDotDot);
  EXPECT_EQ(names, QStringList({"1099-NEC Alpha_Beta_ _Co_.pdf", "1099-NEC Mu Smith 8901 (2).pdf",
                                "1099-NEC Mu Smith 8901.pdf", "1099-NEC Zeta Corp 6788.pdf"}));
  EXPECT_TRUE(PdfText(dir + "/1099-NEC Zeta Corp 6788.pdf").isEmpty());  // no password, no text
  EXPECT_TRUE(PdfText(dir + "/1099-NEC Zeta Corp 6788.pdf", "8901").isEmpty());
  const QString zeta = PdfText(dir + "/1099-NEC Zeta Corp 6788.pdf", "6788");
  EXPECT_TRUE(zeta.contains("ZETA CORP"));
  EXPECT_TRUE(zeta.contains("Instructions for Recipient"));
  EXPECT_TRUE(zeta.contains("***-**-6788"));  // masked as on any Copy B
  EXPECT_FALSE(zeta.contains("MU SMITH"));
  EXPECT_EQ(zeta.count('\f'), 2);  // the form and its page of instructions
  // The second Mu Smith has its own form, not the first one's.
  EXPECT_TRUE(PdfText(dir + "/1099-NEC Mu Smith 8901 (2).pdf", "8901").contains("9.00"));
  EXPECT_TRUE(PdfText(dir + "/1099-NEC Alpha_Beta_ _Co_.pdf").contains("ALPHA/BETA"));
}

TEST_F(RecipientCopiesTest, BatchPasswordByZipAndCopyCWithoutInstructions) {
  const QString file = MakeFile();
  const QString dir = Folder.Path("zip");
  const TBatchRun run =
      RunBatch({"print", file, "--form", "1098", "--kind", "program", "--per-recipient",
                "--password", "zip", "--copy", "C", "--out", dir});
  ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Out, "1098 Lender Client 9012.pdf (protected)\n1 file(s) written to " + dir + "\n");
  const QString text = PdfText(dir + "/1098 Lender Client 9012.pdf", "60601");
  EXPECT_TRUE(text.contains("For Recipient/Lender"));
  EXPECT_FALSE(text.contains("Instructions for Payer/Borrower"));
}

TEST_F(RecipientCopiesTest, BatchRefusesOptionsThatDoNotFit) {
  const QString file = MakeFile();
  const QString dir = Folder.Path("bad");
  const QList<QStringList> cases = {
      {"--form", "1099-NEC", "--kind", "program", "--password", "zip", "--out", "x.pdf"},
      {"--form", "1099-NEC", "--kind", "redcopy", "--per-recipient", "--out", dir},
      {"--form", "1096", "--form-type", "1099-NEC", "--kind", "program", "--per-recipient", "--out",
       dir},
      {"--form", "1099-NEC", "--kind", "program", "--per-recipient", "--password", "ssn", "--out",
       dir},
      {"--form", "1099-NEC", "--kind", "program", "--copy", "A", "--out", "x.pdf"},
      {"--form", "1099-NEC", "--kind", "program", "--instructions", "maybe", "--out", "x.pdf"},
  };
  for (const QStringList& args : cases) {
    SCOPED_TRACE(args.join(' ').toStdString());
    const TBatchRun run = RunBatch(QStringList{"print", file} + args);
    EXPECT_EQ(run.Code, 2);
    EXPECT_TRUE(run.Err.contains("usage: papyra-batch print"));
  }
  EXPECT_FALSE(QDir(dir).exists());
}

// Every form: Copy B is followed by its own instructions, and Copy C carries the payer's legend
// in place of the recipient's; the 1098 and 1099-R name their copies as the official forms do.
TEST_F(RecipientCopiesTest, EveryFormPrintsCopyBWithInstructionsAndTheCopyForThePayer) {
  struct TCase {
    const char* Form;
    const char* Title;
    QStringList CopyB, CopyC;
  };
  const TCase cases[] = {
      {"1099-NEC",
       "Instructions for Recipient",
       {"Copy B", "For Recipient"},
       {"Copy C", "For Payer"}},
      {"1099-MISC",
       "Instructions for Recipient",
       {"Copy B", "For Recipient"},
       {"Copy C", "For Payer"}},
      {"1099-INT",
       "Instructions for Recipient",
       {"Copy B", "For Recipient"},
       {"Copy C", "For Payer"}},
      {"1099-DIV",
       "Instructions for Recipient",
       {"Copy B", "For Recipient"},
       {"Copy C", "For Payer"}},
      {"1099-R", "Instructions for Recipient", {"Copy B"}, {"Copy D", "For Payer"}},
      {"1099-S",
       "Instructions for Transferor",
       {"Copy B", "For Transferor"},
       {"Copy C", "For Filer"}},
      {"1098",
       "Instructions for Payer/Borrower",
       {"Copy B", "For Payer/Borrower"},
       {"Copy C", "For Recipient/Lender"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Form);
    const TFormDef& form = *FormDefByName(c.Form);
    TPayeeRecord payee = SamplePayee("Zeta", "123-45-6788", 0);
    for (const char* field : form.Totals.AmountFields) payee.SetDouble(field, 100);
    payee.SetString("F1099S1", "06/15/2025");
    OpenPayerFile(SamplePayer(), {payee, payee});

    const TReportJob b = Print(form, TCopyChoice{});
    ASSERT_GE(b.PageCount(), 4);
    const int perForm = b.PageCount() / 2;
    for (const QString& text : c.CopyB)
      EXPECT_TRUE(HasText(b.Pages[0], text)) << text.toStdString();
    EXPECT_TRUE(HasText(b.Pages[0], "(keep for your records)"));
    EXPECT_TRUE(HasText(b.Pages[1], c.Title));
    EXPECT_TRUE(HasText(b.Pages[1], QString::fromLatin1(form.Name) + " (2025)"));
    EXPECT_TRUE(HasText(b.Pages[perForm], "ZETA"));  // the second form after the first's text

    const TReportJob onlyForms = Print(form, TCopyChoice{false, false});
    EXPECT_EQ(onlyForms.PageCount(), 2);

    const TReportJob payer = Print(form, TCopyChoice{true, true});
    ASSERT_EQ(payer.PageCount(), 2);  // the payer's copy has no instructions
    for (const QString& text : c.CopyC)
      EXPECT_TRUE(HasText(payer.Pages[0], text)) << text.toStdString();
    EXPECT_TRUE(HasTextStarting(payer.Pages[0], "For Privacy Act and"));
    EXPECT_FALSE(HasText(payer.Pages[0], "Copy B"));
    EXPECT_FALSE(HasText(payer.Pages[0], "(keep for your records)"));
    ClosePayerFile();
  }
}

// Copy C is the payer's own record: the recipient's SSN whole unless masking is asked for for
// it (the mask on by default is the recipient's copy's), with the VOID box, and on the forms
// that have one the "2nd TIN not." box marked from the payee. Copy B has neither box.
TEST_F(RecipientCopiesTest, CopyCShowsTheTinWholeUnlessAskedAndHasItsOwnBoxes) {
  struct TCase {
    const char* Form;
    const char* SecondTin;  // the payee's "2nd TIN not." flag; null where the form has none
  };
  const TCase cases[] = {{"1099-NEC", "SecTINnot1099NEC"},
                         {"1099-MISC", "SecTINnot1099MISC"},
                         {"1099-INT", "SecTINnot1099INT"},
                         {"1099-DIV", "SecTINnot1099DIV"},
                         {"1099-R", nullptr},
                         {"1099-S", nullptr},
                         {"1098", nullptr}};
  MaskSSNOption = true;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Form);
    const TFormDef& form = *FormDefByName(QLatin1String(c.Form));
    TPayeeRecord payee = SamplePayee("Zeta", "123-45-6788", 0);
    for (const char* field : form.Totals.AmountFields) payee.SetDouble(field, 100);
    payee.SetString("F1099S1", "06/15/2025");
    if (c.SecondTin) payee.SetBool(c.SecondTin, true);
    OpenPayerFile(SamplePayer(), {payee});

    const TPage b = Print(form, TCopyChoice{false, false}).Pages[0];
    EXPECT_TRUE(HasText(b, "***-**-6788"));
    EXPECT_FALSE(HasText(b, "VOID"));
    EXPECT_FALSE(HasText(b, "2nd TIN not."));
    EXPECT_TRUE(TextsEqual(b, "X").isEmpty());

    const TPage whole = Print(form, TCopyChoice{true, false}).Pages[0];
    EXPECT_TRUE(HasText(whole, "123-45-6788"));
    EXPECT_FALSE(HasText(whole, "***-**-6788"));
    EXPECT_TRUE(HasText(whole, "VOID"));
    EXPECT_TRUE(HasText(whole, "CORRECTED"));
    EXPECT_EQ(HasText(whole, "2nd TIN not."), c.SecondTin != nullptr);
    EXPECT_EQ(TextsEqual(whole, "X").size(), c.SecondTin ? 1 : 0);

    const TPage masked = Print(form, TCopyChoice{true, false, true}).Pages[0];
    EXPECT_TRUE(HasText(masked, "***-**-6788"));
    EXPECT_FALSE(HasText(masked, "123-45-6788"));
    ClosePayerFile();
  }
}

TEST_F(RecipientCopiesTest, AMissingInstructionsFileStopsThePrintBeforeAnyPage) {
  const QDir copy(Folder.Path());
  QFile::copy(SourceProjectFile(), copy.filePath("TaxForms.rpj"));  // no instructions beside it
  Project->SetProjectFile(copy.filePath("TaxForms.rpj"));
  OpenPayerFile(SamplePayer(), {SamplePayee("Zeta", "123-45-6788", 100)});
  EXPECT_THROW(Print(*FindFormDef(ft1099NEC), TCopyChoice{}), EReportException);
  EXPECT_EQ(Print(*FindFormDef(ft1099NEC), TCopyChoice{false, false}).PageCount(), 1);
}

TEST(RecipientInstructions, ParsesHeadingsParagraphsAndBoldRuns) {
  const TInstructions t = ParseInstructions(
      "# comment\n@title Instructions for Recipient\n@form Form 1099-NEC\n@year 2025\n\n"
      "First line\n  joined here.\n\n## If this form is wrong\n**Box 1.** Shows.\n");
  EXPECT_EQ(t.Title, "Instructions for Recipient");
  EXPECT_EQ(t.Form, "Form 1099-NEC");
  EXPECT_EQ(t.Year, "2025");
  ASSERT_EQ(t.Blocks.size(), 3);
  EXPECT_EQ(t.Blocks[0].Text, "First line joined here.");
  EXPECT_TRUE(t.Blocks[1].Heading);
  EXPECT_EQ(t.Blocks[1].Text, "If this form is wrong");
  EXPECT_EQ(t.Blocks[2].Text, "**Box 1.** Shows.");
}

// The shipped texts: one per form, for 2025, naming the form; each fits one page. A text too
// long for one page goes on over as many as it needs, nothing dropped.
TEST(RecipientInstructions, ShippedTextsFitAPageAndLongTextsFlowOver) {
  RegisterFontSubstitutions();
  for (const TFormDef* def : FormDefs()) {
    const TFormDef& form = *def;
    SCOPED_TRACE(form.Name);
    const TInstructions t = LoadInstructions(InstructionsFile(form, SourceProjectFile()));
    EXPECT_EQ(t.Form, QString::fromLatin1(form.Name));
    EXPECT_EQ(t.Year, "2025");
    EXPECT_TRUE(t.Title.startsWith("Instructions for "));
    TPagePrinter printer;
    printer.BeginDoc();
    EXPECT_EQ(PrintInstructions(printer, t), 1);
    printer.EndDoc();
  }
  TInstructions longText;
  longText.Title = "Instructions for Recipient";
  for (int i = 0; i < 400; ++i)
    longText.Blocks.append({false, QStringLiteral("**Box %1.** Paragraph number %1.").arg(i)});
  TPagePrinter printer;
  printer.BeginDoc();
  const int pages = PrintInstructions(printer, longText);
  printer.EndDoc();
  EXPECT_GE(pages, 2);
  EXPECT_EQ(printer.Job().PageCount(), pages);
  const TReportJob job = printer.Job();
  EXPECT_TRUE(HasText(job.Pages.last(), "Paragraph number 399."));
}

// Every copy of a job draws the same instructions; a text laid out for one page size is laid
// out again on a page of another size, never drawn with the old line breaks.
TEST(RecipientInstructions, EachCopyDrawsTheSameAndAnotherPageSizeWrapsAnew) {
  RegisterFontSubstitutions();
  const TInstructions t =
      LoadInstructions(InstructionsFile(*FindFormDef(ft1099NEC), SourceProjectFile()));
  auto print = [](const TInstructions& text, TOrientation orientation) {
    TPagePrinter printer;
    printer.SetOrientation(orientation);
    printer.BeginDoc();
    PrintInstructions(printer, text);
    printer.NewPage();
    PrintInstructions(printer, text);
    printer.EndDoc();
    return printer.Job();
  };
  const TReportJob portrait = print(t, TOrientation::Portrait);
  ASSERT_EQ(portrait.Pages.size(), 2);
  EXPECT_EQ(portrait.Pages[0].Items, portrait.Pages[1].Items);
  const TReportJob landscape = print(t, TOrientation::Landscape);
  TInstructions fresh = t;
  fresh.Layout.reset();
  EXPECT_EQ(landscape.Pages[0].Items, print(fresh, TOrientation::Landscape).Pages[0].Items);
  EXPECT_NE(landscape.Pages[0].Items, portrait.Pages[0].Items);
}

TEST(RecipientFiles, NamesAndPasswordsFromThePayeeRecord) {
  struct TCase {
    QString Name, Tin, Zip, File, TinPassword, ZipPassword;
  };
  const TCase cases[] = {
      {"Jane Doe", "123-45-6789", "62704", "1099-NEC Jane Doe 6789.pdf", "6789", "62704"},
      {"Acme, Inc.", "12-3456789", "62704-1234", "1099-NEC Acme, Inc. 6789.pdf", "6789", "62704"},
      {"A<b>c|d?e*", "", "K1A 0B1", "1099-NEC A_b_c_d_e_.pdf", "", ""},
      {"  Spaced   Out  ", "123-45", "6270", "1099-NEC Spaced Out 2345.pdf", "", ""},
  };
  const TFormDef& form = *FindFormDef(ft1099NEC);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name.toStdString());
    TPayeeRecord p = SamplePayee(c.Name, c.Tin, 1);
    p.SetString("ZipCode", c.Zip);
    const TPayerRecord payer = SamplePayer();
    const TFormData d{payer.Data(), p.Data()};
    EXPECT_EQ(RecipientFileName(form, d), c.File);
    EXPECT_EQ(RecipientPassword(d, TPasswordSource::TinLast4), c.TinPassword);
    EXPECT_EQ(RecipientPassword(d, TPasswordSource::Zip), c.ZipPassword);
    EXPECT_EQ(RecipientPassword(d, TPasswordSource::None), "");
  }
}

// The screens' command: the folder and password from its window, the progress window's
// Cancel stops after the files already written, and the summary lists the unprotected files.
TEST_F(RecipientCopiesTest, ScreenCommandWritesTheFilesAndCanBeCancelled) {
  OpenPayerFile(SamplePayer(), {WithZip(SamplePayee("Zeta", "123-45-6788", 100), "62521"),
                                WithZip(SamplePayee("Alpha", "", 50), "62704")});
  CurrentFormType = ft1099NEC;
  const QString dir = Folder.Path("screen");
  WhenModal([&](QWidget* w) {
    Child<QLineEdit>(w, "EdtFolder")->setText(dir);
    Child<QRadioButton>(w, "RBTinLast4")->click();
    Child<QPushButton>(w, "BtnOk")->click();
  });
  const QList<TRecipientFile> files =
      SaveRecipientFiles(*FindFormDef(ft1099NEC), SourceProjectFile(), nullptr);
  ASSERT_EQ(files.size(), 2);
  EXPECT_TRUE(files[0].NoPassword);
  EXPECT_TRUE(files[1].Protected);
  EXPECT_EQ(MsgBoxScript::LastText(),
            "2 file(s) written to " + QDir::toNativeSeparators(dir) +
                ".\n\nNot protected (no password for the recipient):\n1099-NEC Alpha.pdf");

  int calls = 0;
  const QString stopped = Folder.Path("stopped");
  const QList<TRecipientFile> some =
      WriteRecipientFiles({*FindFormDef(ft1099NEC), SourceProjectFile(), stopped,
                           TPasswordSource::None, TCopyChoice{}, nullptr, [&](int done, int total) {
                             EXPECT_EQ(total, 2);
                             return ++calls == 1 && done == 0;
                           }});
  EXPECT_EQ(some.size(), 1);
  EXPECT_EQ(QDir(stopped).entryList(QDir::Files), QStringList{"1099-NEC Alpha.pdf"});
}
}  // namespace
