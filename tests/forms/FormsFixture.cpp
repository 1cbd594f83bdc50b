#include "FormsFixture.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "controls/CheckBoxEdit.h"
#include "controls/DateEdit.h"
#include "controls/DollarEdit.h"
#include "engine/Fonts.h"
#include "engine/PagePrinter.h"
#include "engine/ReportProject.h"
#include "engine/ReportSystem.h"
#include "forms/DistCodes.h"
#include "forms/Form1096.h"
#include "forms/FormPrint.h"
#include "forms/FormScreen.h"
#include "forms/FormTotals.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "platform/Settings.h"
#include "printing/PrintType.h"
#include "printing/PrinterOffsets.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
// The 1099-R's pick list answers like the platform's dialogs: each test's own, shown for real
// unless a test scripts it.
[[maybe_unused]] const bool kDistCodesHook =
    RegisterTestHook({QStringLiteral("Distribution code answers"),
                      [] {
                        QStringList left;
                        for (int index : DistCodesScript::Pending())
                          left.append(QString::number(index));
                        return left.join(QStringLiteral(", "));
                      },
                      [] {
                        DistCodesScript::Clear();
                        DistCodesScript::Enable(false);
                      }});
}  // namespace

QString SourceProjectFile() {
  return QStringLiteral(PAPYRA_SOURCE_DIR "/resources/TaxForms.rpj");
}

TPayerRecord SamplePayer() {
  TPayerRecord p;
  p.SetString("PayerName", QStringLiteral("Acme Supply"));
  p.SetString("TradeName", QStringLiteral("Acme Builders"));
  p.SetString("Address1", QStringLiteral("1234 Industrial Pkwy"));
  p.SetString("Address2", QStringLiteral("Suite 200"));
  p.SetString("CityStZip", QStringLiteral("Springfield, IL 62704"));
  p.SetString("PhoneNum", QStringLiteral("217-555-0123"));
  p.SetString("EmpIDNum", QStringLiteral("12-3456789"));
  p.SetString("SocSecNum", QStringLiteral("321-54-9876"));
  p.SetString("StateName1", QStringLiteral("IL"));
  p.SetString("StateID1", QStringLiteral("1234-5678"));
  p.SetString("StateName2", QStringLiteral("WI"));
  p.SetString("StateID2", QStringLiteral("W-99"));
  return p;
}

TPayeeRecord SamplePayee(const QString& name, const QString& tin, double box1) {
  TPayeeRecord p;
  p.SetString("PayeeName", name);
  p.SetString("Address1", QStringLiteral("42 Elm Street"));
  p.SetString("CityStZip", QStringLiteral("Decatur, IL 62521"));
  p.SetString("SSN_IDNum", tin);
  p.SetDouble("F1099NEC1", box1);
  return p;
}

TPayeeRecord SampleBorrower(const QString& name, const QString& tin, double interest) {
  TPayeeRecord p = SamplePayee(name, tin, 0);
  p.SetDouble("F1098_1", interest);
  p.SetString("F1098_3", QStringLiteral("03/15/2019"));
  p.SetBool("F1098_7", true);
  p.SetInt("F1098_9", 1);
  return p;
}

TPayeeRecord PayeeWith(const QString& name, const QString& tin, const char* field, double amount) {
  TPayeeRecord p = SamplePayee(name, tin, 0);
  p.SetDouble(field, amount);
  return p;
}

TPayeeRecord SalePayee(const QString& name, const QString& tin, double proceeds) {
  TPayeeRecord p = SamplePayee(name, tin, 0);
  p.SetString("F1099S1", QStringLiteral("06/15/2025"));
  p.SetDouble("F1099S2", proceeds);
  return p;
}

void ClearStateLine(TPayerRecord& payer, int line) {
  payer.SetString(QStringLiteral("StateName%1").arg(line).toStdString(), QString());
  payer.SetString(QStringLiteral("StateID%1").arg(line).toStdString(), QString());
}

QByteArray Bytes(const TPayeeRecord& record) {
  return QByteArray(reinterpret_cast<const char*>(record.Data()), TPayeeRecord::Size);
}

void TFormsTest::SetUp() {
  RegisterFontSubstitutions();
  InstallOffsetForms();
  MsgBoxScript::Clear();
  DialogScript::Clear();
  RegistryRoot = QStringLiteral("Software\\PapyraTest\\2025\\");
  if (!AppRegistry) AppRegistry = std::make_unique<TRegistry>();
  AppRegistry->DeleteKey(RegistryRoot + QStringLiteral("Offsets"));
  AppRegistry->DeleteKey(RegistryRoot + QStringLiteral("Printer"));
  // Offsets held from an earlier test would stand in for the missing key.
  for (const char* prefix :
       {"F1096", "F1098", "F1099DIV", "F1099INT", "F1099MISC", "F1099NEC", "F1099R", "F1099S"})
    HeldOffsets(QLatin1String(prefix)) = {};
  ProgramFolder = Folder.Path() + QLatin1Char('/');
  QDir::setCurrent(Folder.Path());
  MaskSSNOption = true;
  // The forms alone: the recipient's instructions and the payer's copy have tests of their own.
  CopyChoice() = TCopyChoice{false, false};
  Module = std::make_unique<TFrmDataModule>();
  Module->RSPayer->SetRecSize(TPayerRecord::Size);
  Module->RSPayee->SetRecSize(TPayeeRecord::Size);
  Project = std::make_unique<TReportProject>();
  Project->SetProjectFile(SourceProjectFile());
  Module->ReportProject = Project.get();
}

void TFormsTest::TearDown() {
  if (Module && Module->RSPayee->Active()) ClosePayerFile();
  Module.reset();
  Project.reset();
}

QString TFormsTest::WritePayerFile(const TPayerRecord& payer, const QList<TPayeeRecord>& payees) {
  PayeeFile = Folder.Path(QStringLiteral("Test.PE25"));
  QByteArray bytes;
  for (const TPayeeRecord& p : payees)
    bytes.append(reinterpret_cast<const char*>(p.Data()), TPayeeRecord::Size);
  WriteAll(PayeeFile, bytes);
  WriteAll(Folder.Path(QStringLiteral("Test.PR25")),
           QByteArray(reinterpret_cast<const char*>(payer.Data()), TPayerRecord::Size));
  return PayeeFile;
}

void TFormsTest::OpenPayerFile(const TPayerRecord& payer, const QList<TPayeeRecord>& payees) {
  WritePayerFile(payer, payees);
  PayeeFileName = PayeeFile;
  Module->RSPayee->SetFileName(PayeeFile);
  Module->RSPayee->OpenRecSet();
  ASSERT_TRUE(FileIsOpen);
}

void TFormsTest::ClosePayerFile() {
  Module->RSPayee->CloseRecSet();
}

QList<TPayeeRecord> TFormsTest::PayeesOnDisk() const {
  const QByteArray bytes = ReadAll(PayeeFile);
  QList<TPayeeRecord> out;
  for (qsizetype at = 0; at + TPayeeRecord::Size <= bytes.size(); at += TPayeeRecord::Size) {
    TPayeeRecord p;
    std::copy_n(bytes.constData() + at, TPayeeRecord::Size, reinterpret_cast<char*>(p.Data()));
    out.append(p);
  }
  return out;
}

void TFormsTest::WriteOffsets(const QString& prefix, double vo, double ho) {
  ASSERT_TRUE(AppRegistry->OpenKey(RegistryRoot + QStringLiteral("Offsets"), true));
  AppRegistry->WriteBinaryData(prefix + QStringLiteral("VO"), OffsetBytes(vo));
  AppRegistry->WriteBinaryData(prefix + QStringLiteral("HO"), OffsetBytes(ho));
  AppRegistry->CloseKey();
}

TReportJob TFormsTest::Print1096Program(const QString& selectionNote) {
  TPagePrinter printer;
  Project->SetEngine(&printer);
  printer.BeginDoc();
  Print1096ProgramGenerated(*Project, selectionNote);
  printer.EndDoc();
  // The printer goes with this call: the project must not draw on it afterwards.
  Project->SetEngine(static_cast<TPagePrinter*>(nullptr));
  return printer.TakeJob();
}

TReportJob TFormsTest::Print1096Red(const QDate& today) {
  TPagePrinter printer;
  printer.BeginDoc();
  Print1096RedCopy(printer, ReadHeldOffsets(QStringLiteral("F1096")), today);
  printer.EndDoc();
  return printer.TakeJob();
}

void TFormsTest::PrintToFile(TReportSystem& system, const QString& file) {
  system.ShowSetup = false;
  system.Setup.Dest = TReportDest::File;
  system.Setup.FileName = Folder.Path(file);
}

void TFormsTest::ExpectRefused(const QString& message, const QWidget* focus) {
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  EXPECT_EQ(MsgBoxScript::Log()[0].text.toStdString(), message.toStdString());
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, int(mbError));
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 1);
  EXPECT_EQ(QApplication::focusWidget(), focus);
}

void TFormsTest::ExpectMovedOn() {
  EXPECT_TRUE(MsgBoxScript::Log().isEmpty()) << MsgBoxScript::LastText().toStdString();
  EXPECT_EQ(Module->RSPayee->CurrentRecord(), 2);
}

TReportJob TFormPrintTest::PrintProgram() {
  CurrentFormType = Form.FormType;
  ScanFormTotals();
  TPagePrinter printer;
  Project->SetEngine(&printer);
  printer.BeginDoc();
  Printed = PrintProgramGenerated(Form, printer, *Project);
  printer.EndDoc();
  Project->SetEngine(static_cast<TPagePrinter*>(nullptr));
  return printer.TakeJob();
}

TReportJob TFormPrintTest::PrintRed() {
  CurrentFormType = Form.FormType;
  ScanFormTotals();
  TPagePrinter printer;
  printer.BeginDoc();
  Printed = PrintRedCopies(Form, printer, ReadHeldOffsets(QLatin1String(Form.OffsetPrefix)));
  printer.EndDoc();
  return printer.TakeJob();
}

TPayerRecord TForm1096Fixture::Payer() {
  TPayerRecord p = SamplePayer();
  p.SetString("Contact", QStringLiteral("Jane Doe"));
  p.SetString("Email", QStringLiteral("jane@acme.example.com"));
  p.SetString("FaxNum", QStringLiteral("217-555-0199"));
  p.SetString("SignerName", QStringLiteral("Jane Doe"));
  p.SetString("SignerTitle", QStringLiteral("Chief Financial Ofcr"));
  p.SetBool("SignerPresent", true);
  return p;
}

QList<TPayeeRecord> TForm1096Fixture::NecPayees() {
  TPayeeRecord a = SamplePayee(QStringLiteral("Alpha"), QStringLiteral("123-45-6788"), 100);
  a.SetDouble("F1099NEC3", 50);
  a.SetDouble("F1099NEC4", 10);
  TPayeeRecord b = SamplePayee(QStringLiteral("Beta"), QStringLiteral("234-56-7890"), 0);
  b.SetDouble("F1099NEC4", 5);
  b.SetDouble("F1099R1", 700);
  b.SetDouble("F1099R4", 70);
  return {a, b};
}

QList<TDisplayItem> Texts(const TPage& page) {
  QList<TDisplayItem> out;
  for (const TDisplayItem& item : page.Items)
    if (item.Kind == TItemKind::Text) out.append(item);
  return out;
}

QList<TDisplayItem> TextsEqual(const TPage& page, const QString& text) {
  QList<TDisplayItem> out;
  for (const TDisplayItem& item : Texts(page))
    if (item.Text == text) out.append(item);
  return out;
}

bool HasTextAt(const TPage& page, const QString& text, double x, double y) {
  for (const TDisplayItem& item : TextsEqual(page, text))
    if (std::fabs(item.X - x) < 1e-3 && std::fabs(item.Y - y) < 1e-3) return true;
  return false;
}

QString FirstTextOn(const TPage& page, const QStringList& texts) {
  for (const QString& text : texts)
    if (!TextsEqual(page, text).isEmpty()) return text;
  return {};
}

QList<double> RowsOf(const TPage& page, const QString& text) {
  QList<double> rows;
  for (const TDisplayItem& t : TextsEqual(page, text)) rows << t.Y;
  return rows;
}

void ExpectRedItems(const TPage& page, const QList<TRedItem>& expected, double top, double ho) {
  const QList<TDisplayItem> texts = Texts(page);
  ASSERT_EQ(texts.size(), expected.size());
  for (qsizetype i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(expected[i].Text.toStdString());
    EXPECT_EQ(texts[i].Text, expected[i].Text);
    EXPECT_NEAR(texts[i].X, ho + expected[i].X, 1e-9);
    EXPECT_NEAR(texts[i].Y, top + expected[i].Y, 1e-9);
    EXPECT_NEAR(texts[i].Font.Size, expected[i].Size, 1e-9);
    EXPECT_EQ(texts[i].Font.Name, QStringLiteral("Courier New"));
    EXPECT_EQ(texts[i].Align, expected[i].Align);
  }
}

void ShowActive(QWidget& window) {
  window.show();
  QApplication::setActiveWindow(&window);
  QCoreApplication::processEvents();
}

TDollarEdit* Money(const TFrmFormScreen& screen, const QString& name) {
  return qobject_cast<TDollarEdit*>(screen.Control(name));
}

QLineEdit* Edit(const TFrmFormScreen& screen, const QString& name) {
  return qobject_cast<QLineEdit*>(screen.Control(name));
}

TCheckBoxEdit* Check(const TFrmFormScreen& screen, const QString& name) {
  return qobject_cast<TCheckBoxEdit*>(screen.Control(name));
}

TDateEdit* Date(const TFrmFormScreen& screen, const QString& name) {
  return qobject_cast<TDateEdit*>(screen.Control(name));
}

QString Label(const TFrmFormScreen& screen, const QString& name) {
  return screen.Label(name)->text();
}

void Type(QWidget* box, const QString& text) {
  box->setFocus();
  QTest::keyClicks(box, text);
}

QStringList PressEnter(int times) {
  QStringList order{QApplication::focusWidget()->objectName()};
  for (int i = 0; i < times; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    order << QApplication::focusWidget()->objectName();
  }
  return order;
}

void ExpectHelpOpensTheInstructions(TFrmFormScreen& screen, const QString& missing,
                                    const QString& pdf) {
  MsgBoxScript::Clear();
  ShellScript::Clear();
  screen.BtnHelp->click();
  ASSERT_EQ(MsgBoxScript::Log().size(), 1);
  // The message, then where the IRS offers the instructions of the screen's form.
  const QString form =
      QString::fromLatin1(screen.Def().Name).section(QLatin1Char(' '), 1).toLower();
  EXPECT_TRUE(MsgBoxScript::Log()[0].text.startsWith(
      missing +
      QStringLiteral("\n\nThe IRS offers the current instructions at\n"
                     "https://www.irs.gov/forms-pubs/about-form-") +
      form + QLatin1Char('\n')))
      << MsgBoxScript::Log()[0].text.toStdString();
  EXPECT_EQ(MsgBoxScript::Log()[0].flags, int(mbError));
  WriteAll(QDir::current().absoluteFilePath(pdf), "%PDF-1.4");
  screen.BtnHelp->click();
  ASSERT_EQ(ShellScript::Opened().size(), 1);
  EXPECT_TRUE(ShellScript::Opened()[0].endsWith(QLatin1Char('/') + pdf));
}
