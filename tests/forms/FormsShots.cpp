// Not a test: pictures of the 1099-NEC and 1096 screens with data, and the program-generated
// forms as PDF, for a look by eye. Run under xvfb-run -s "-screen 0 1280x1024x24":
//   forms_shots OUTPUT_FOLDER
// writes frm1099nec.png, frm1099r.png, frm1096.png, form1099nec.pdf, form1099r.pdf and
// form1096.pdf.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include "controls/CheckBoxEdit.h"
#include "controls/DollarEdit.h"
#include "engine/Fonts.h"
#include "engine/PagePrinter.h"
#include "engine/Render.h"
#include "engine/ReportProject.h"
#include "forms/FormPrint.h"
#include "forms/FormTotals.h"
#include "forms/Frm1096.h"
#include "forms/Frm1099NEC.h"
#include "forms/Frm1099R.h"
#include "platform/MsgBox.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
void WriteBytes(const QString& path, const uint8_t* data, int size) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(reinterpret_cast<const char*>(data), size) != size)
    qFatal("cannot write %s", qPrintable(path));
}

// A pension paid out in 2025 with state and local tax withheld, every box of the 1099-R filled.
void AddPension(TPayeeRecord& r) {
  r.SetString("AcctNum1099R", QStringLiteral("PLAN-2025-0042"));
  r.SetBool("Corrected1099R", true);
  r.SetDouble("F1099R1", 52000.5);
  r.SetDouble("F1099R2", 48000);
  r.SetBool("F1099R2b2", true);
  r.SetDouble("F1099R3", 1500);
  r.SetDouble("F1099R4", 9600);
  r.SetDouble("F1099R5", 4000);
  r.SetDouble("F1099R6", 250);
  r.SetString("F1099R7", QStringLiteral("7D"));
  r.SetBool("F1099R7a", true);
  r.SetDouble("F1099R8", 1234.56);
  r.SetInt("F1099R8a", 25);
  r.SetInt("F1099R9a", 60);
  r.SetDouble("F1099R9b", 3000);
  r.SetDouble("F1099R10", 800);
  r.SetString("F1099R11", QStringLiteral("2019"));
  r.SetBool("FATCA1099R", true);
  r.SetDouble("F1099R14_1", 900);
  r.SetDouble("F1099R16_1", 45000);
  r.SetDouble("F1099R14_2", 90);
  r.SetDouble("F1099R16_2", 4500);
  r.SetDouble("F1099R17_1", 120);
  r.SetDouble("F1099R19_1", 6000);
  r.SetDouble("F1099R17_2", 12);
  r.SetDouble("F1099R19_2", 600);
  r.SetString("F1099RDOP", QStringLiteral("06/30/2025"));
}

void MakePayerFile(const QString& base) {
  TPayerRecord p;
  p.SetString("PayerName", QStringLiteral("Acme Construction Supply & Co"));
  p.SetString("TradeName", QStringLiteral("Acme Builders"));
  p.SetString("Address1", QStringLiteral("1234 Industrial Parkway"));
  p.SetString("Address2", QStringLiteral("Suite 200"));
  p.SetString("CityStZip", QStringLiteral("Springfield, IL 62704"));
  p.SetString("Contact", QStringLiteral("Jane Doe"));
  p.SetString("PhoneNum", QStringLiteral("217-555-0123"));
  p.SetString("FaxNum", QStringLiteral("217-555-0199"));
  p.SetString("Email", QStringLiteral("jane.doe@acme-supply.example.com"));
  p.SetString("EmpIDNum", QStringLiteral("12-3456789"));
  p.SetString("StateName1", QStringLiteral("IL"));
  p.SetString("StateID1", QStringLiteral("1234-5678-9012"));
  p.SetString("StateName2", QStringLiteral("WI"));
  p.SetString("StateID2", QStringLiteral("036-1234567"));
  p.SetString("Locality1", QStringLiteral("Springfield"));
  p.SetString("Locality2", QStringLiteral("Sangamon Cnty"));
  WriteBytes(base + QStringLiteral(".PR25"), p.Data(), TPayerRecord::Size);

  TPayeeRecord r;
  r.SetString("PayeeName", QStringLiteral("Public, John Q"));
  r.SetString("CompName", QStringLiteral("Public Consulting Services LLC"));
  r.SetString("Address1", QStringLiteral("42 Elm Street Apt 7"));
  r.SetString("CityStZip", QStringLiteral("Decatur, IL 62521-1234"));
  r.SetString("SSN_IDNum", QStringLiteral("123-45-6788"));
  r.SetString("AcctNum1099NEC", QStringLiteral("ACCT-2025-00017"));
  r.SetBool("Corrected1099NEC", true);
  r.SetBool("F1099NEC2", true);
  r.SetDouble("F1099NEC1", 125000);
  r.SetDouble("F1099NEC3", 1000);
  r.SetDouble("F1099NEC4", 12500);
  r.SetDouble("F1099NEC5_1", 1234.56);
  r.SetDouble("F1099NEC7_1", 100000);
  r.SetDouble("F1099NEC5_2", 99);
  r.SetDouble("F1099NEC7_2", 25000);
  AddPension(r);
  // A second payee without a 1099-NEC, so the navigator has somewhere to go while the forms and
  // the totals stay those of the first.
  TPayeeRecord other;
  other.SetString("PayeeName", QStringLiteral("Zimmer, Paul"));
  other.SetString("Address1", QStringLiteral("9 Oak Lane"));
  other.SetString("CityStZip", QStringLiteral("Peoria, IL 61602"));
  other.SetString("SSN_IDNum", QStringLiteral("234-56-7890"));
  QByteArray payees(reinterpret_cast<const char*>(r.Data()), TPayeeRecord::Size);
  payees.append(reinterpret_cast<const char*>(other.Data()), TPayeeRecord::Size);
  WriteBytes(base + QStringLiteral(".PE25"), reinterpret_cast<const uint8_t*>(payees.constData()),
             int(payees.size()));
}

void SaveJob(const std::function<void(TPagePrinter&, TReportProject&)>& print,
             TReportProject& project, const QString& file) {
  TPagePrinter printer;
  project.SetEngine(&printer);
  printer.BeginDoc();
  print(printer, project);
  printer.EndDoc();
  ExportJob(printer.Job(), file);
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: forms_shots OUTPUT_FOLDER\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(out.path());
  MsgBoxScript::Enable(true);
  RegisterFontSubstitutions();
  RegistryRoot = QStringLiteral("Software\\PapyraTest\\2025\\");
  AppRegistry = std::make_unique<TRegistry>();
  ProgramFolder = out.absolutePath() + QLatin1Char('/');
  const QString base = out.absoluteFilePath(QStringLiteral("Shots"));
  MakePayerFile(base);

  TFrmDataModule module;
  module.RSPayer->SetRecSize(TPayerRecord::Size);
  module.RSPayee->SetRecSize(TPayeeRecord::Size);
  TReportProject project;
  project.SetProjectFile(QStringLiteral(PAPYRA_SOURCE_DIR "/resources/TaxForms.rpj"));
  module.ReportProject = &project;
  PayeeFileName = base + QStringLiteral(".PE25");
  module.RSPayee->SetFileName(PayeeFileName);
  module.RSPayee->OpenRecSet();
  if (!FileIsOpen) qFatal("cannot open the payer file");

  {
    TFrm1099NEC screen;
    screen.show();
    QApplication::setActiveWindow(&screen);
    screen.Control(QStringLiteral("F1099NEC4"))->setFocus();
    QApplication::processEvents();
    screen.grab().save(out.absoluteFilePath(QStringLiteral("frm1099nec.png")));
    screen.close();
  }
  {
    TFrm1099R screen;
    screen.show();
    QApplication::setActiveWindow(&screen);
    screen.Control(QStringLiteral("F1099R7"))->setFocus();
    QApplication::processEvents();
    screen.grab().save(out.absoluteFilePath(QStringLiteral("frm1099r.png")));
    screen.close();
  }
  {
    TFrm1096 screen;
    screen.show();
    QApplication::setActiveWindow(&screen);
    screen.TypeBox(ft1099NEC)->SetChecked(true);
    QApplication::processEvents();
    screen.grab().save(out.absoluteFilePath(QStringLiteral("frm1096.png")));
    screen.close();
  }
  MaskSSNOption = true;
  CurrentFormType = ft1099NEC;
  ScanFormTotals();
  SaveJob([](TPagePrinter& p, TReportProject& r) { PrintProgramGenerated(Form1099NECDef(), p, r); },
          project, out.absoluteFilePath(QStringLiteral("form1099nec.pdf")));
  CurrentFormType = ft1099R;
  ScanFormTotals();
  SaveJob([](TPagePrinter& p, TReportProject& r) { PrintProgramGenerated(Form1099RDef(), p, r); },
          project, out.absoluteFilePath(QStringLiteral("form1099r.pdf")));
  CurrentFormType = ft1099NEC;
  ScanFormTotals();
  SaveJob([](TPagePrinter&, TReportProject& r) { Print1096ProgramGenerated(r); }, project,
          out.absoluteFilePath(QStringLiteral("form1096.pdf")));
  module.RSPayee->CloseRecSet();
  return 0;
}
