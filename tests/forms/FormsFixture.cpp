#include "FormsFixture.h"

#include <QDir>
#include <cmath>

#include "engine/Fonts.h"
#include "engine/ReportProject.h"
#include "forms/FormPrint.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Settings.h"
#include "printing/PrinterOffsets.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

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

void TFormsTest::SetUp() {
  RegisterFontSubstitutions();
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
