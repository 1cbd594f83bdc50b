// Not a test: the pictures of docs/ and of the help, made by the program's own screens and print
// routines from one sample payer file. scripts/make-pictures.sh runs it under xvfb-run:
//   forms_shots OUTPUT_FOLDER [long]
// writes frm-NAME.png for each form screen, form-NAME.pdf and form-NAME.png for each
// program-generated form (frm-1099nec.png, form-1099nec.pdf, form-1099nec.png, ..., frm-1096.png,
// form-1096.png and form-1096-TYPE.png for each form type it transmits, form-1096-1099nec.png
// ...), copyc-1099nec.png (the payer's Copy C), payer-screen.png, payee-screen.png,
// record-list.png, preview.png, labels.png, help-contents.png and help-form.png. The help pictures
// show the help window with the screen pictures this run made. With the second argument "long" the
// payer and payees carry 40-character names and 999,999,999.99 in every box, to see that everything
// fits its box.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTextBrowser>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "FormScreens.h"
#include "controls/CheckBoxEdit.h"
#include "controls/DollarEdit.h"
#include "engine/Fonts.h"
#include "engine/PagePrinter.h"
#include "engine/Render.h"
#include "engine/ReportProject.h"
#include "engine/Snapshot.h"
#include "forms/AlignmentPage.h"
#include "forms/Form1096.h"
#include "forms/FormPrint.h"
#include "forms/FormRegistry.h"
#include "forms/FormTotals.h"
#include "forms/Frm1096.h"
#include "maintenance/FrmPayee.h"
#include "maintenance/FrmPayer.h"
#include "maintenance/RecordList.h"
#include "platform/Dialogs.h"
#include "platform/MsgBox.h"
#include "platform/Services.h"
#include "printing/Labels.h"
#include "printing/ReportPreview.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
void WriteBytes(const QString& path, const uint8_t* data, int size) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(reinterpret_cast<const char*>(data), size) != size)
    qFatal("cannot write %s", qPrintable(path));
}

// The first payee's Form 1099-MISC: rents and royalties with state withholding on both lines.
void AddMiscBoxes(TPayeeRecord& r) {
  r.SetString("AcctNum1099MISC", QStringLiteral("LEASE-2025-0042"));
  r.SetBool("F1099MISC7", true);
  r.SetBool("FATCA1099MISC", true);
  const std::pair<const char*, double> boxes[] = {
      {"F1099MISC1", 36000},     {"F1099MISC2", 4250.75},  {"F1099MISC3", 500},
      {"F1099MISC4", 2400},      {"F1099MISC5", 1875.5},   {"F1099MISC6", 12800},
      {"F1099MISC8", 310.25},    {"F1099MISC9", 9400},     {"F1099MISC10", 15000},
      {"F1099MISC11", 2650},     {"F1099MISC12", 7000},    {"F1099MISC15", 5500},
      {"F1099MISC16_1", 1440.5}, {"F1099MISC18_1", 30000}, {"F1099MISC16_2", 225},
      {"F1099MISC18_2", 6000}};
  for (const auto& [box, amount] : boxes) r.SetDouble(box, amount);
}

// The widest texts the fields take and the largest amounts the boxes take.
const QString kLongName = QStringLiteral("Consolidated Mortgage Servicing Company W");
const QString kLongStreet = QStringLiteral("12345 Northwest Commerce Blvd W");
const QString kLongCity = QStringLiteral("Rancho Santa Margarita, CA 926");
constexpr double kLargest = 999999999.99;

void FillLong(TPayerRecord& p) {
  p.SetString("PayerName", kLongName);
  p.SetString("TradeName", kLongName);
  p.SetString("Address1", kLongStreet);
  p.SetString("Address2", QStringLiteral("Suite 9999"));
  p.SetString("CityStZip", kLongCity);
}

void FillLong(TPayeeRecord& r) {
  r.SetString("PayeeName", kLongName);
  r.SetString("CompName", kLongName);
  r.SetString("Address1", kLongStreet);
  r.SetString("CityStZip", kLongCity);
  r.SetString("AcctNum1098", QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWW"));
  // Every amount of every form.
  for (const TFieldDef& field : PayeeLayout().Fields())
    if (field.Kind == TFieldKind::Double) r.SetDouble(&field, kLargest);
  for (int line = 1; line <= 7; ++line)
    r.SetString(QStringLiteral("F1098_8_%1").arg(line).toStdString(),
                QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWW"));
  r.SetBool("F1098_7", true);
  r.SetInt("F1098_9", 999);
  r.SetString("F1098_10", QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWW"));
}

// The same payee's dividends: every kind of box of the 1099-DIV, in amounts that pass its checks.
void AddDividends(TPayeeRecord& r) {
  r.SetString("AcctNum1099DIV", QStringLiteral("DIV-2025-0042"));
  r.SetBool("FATCA1099DIV", true);
  const std::pair<const char*, double> boxes[] = {
      {"F1099DIV1a", 12480.55}, {"F1099DIV1b", 9310.2},   {"F1099DIV2a", 3150},
      {"F1099DIV2b", 420},      {"F1099DIV2d", 180},      {"F1099DIV2e", 75.5},
      {"F1099DIV2f", 60},       {"F1099DIV3", 250},       {"F1099DIV4", 1248.06},
      {"F1099DIV5", 310.4},     {"F1099DIV7", 86.12},     {"F1099DIV12", 1020},
      {"F1099DIV13", 140},      {"F1099DIV16_1", 312.01}, {"F1099DIV16_2", 45},
  };
  for (const auto& [field, amount] : boxes) r.SetDouble(field, amount);
  r.SetString("F1099DIV8", QStringLiteral("Canada"));
}

// The first payee's Form 1099-INT, every box filled: savings, Treasury notes, tax-exempt bonds
// and a deposit in Canada with foreign tax paid.
void AddInterestBoxes(TPayeeRecord& r) {
  r.SetString("AcctNum1099INT", QStringLiteral("SAV-000123-77"));
  r.SetBool("FATCA1099INT", true);
  r.SetString("F1099INT7", QStringLiteral("CANADA"));
  r.SetString("F1099INT14", QStringLiteral("64971XQM3"));
  const std::pair<const char*, double> boxes[] = {
      {"F1099INT1", 4821.37},  {"F1099INT2", 125},    {"F1099INT3", 1310.5}, {"F1099INT4", 964.27},
      {"F1099INT5", 42.1},     {"F1099INT6", 88.4},   {"F1099INT8", 2250},   {"F1099INT9", 375},
      {"F1099INT10", 61.85},   {"F1099INT11", 18.2},  {"F1099INT12", 9.75},  {"F1099INT13", 33.6},
      {"F1099INT17_1", 215.4}, {"F1099INT17_2", 48.9}};
  for (const auto& [box, amount] : boxes) r.SetDouble(box, amount);
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

// The address as the payer and payee screens keep it: the parts and the line composed of them.
template <class TRecord>
void SetAddress(TRecord& r, const char* street, const char* city, const char* state,
                const char* zip) {
  r.SetString("Address1", QLatin1String(street));
  r.SetString("City", QLatin1String(city));
  r.SetString("State", QLatin1String(state));
  r.SetString("ZipCode", QLatin1String(zip));
  r.SetString("CityStZip", QStringLiteral("%1 %2 %3").arg(city, state, zip));
}

// Payees without amounts: someone to pick in the list and more labels on the sheet.
void AppendOtherPayees(QByteArray& payees) {
  struct TOther {
    const char *Last, *First, *Street, *City, *Zip, *Tin;
  };
  const TOther others[] = {
      {"Zimmer", "Paul", "9 Oak Lane", "Peoria", "61602", "234-56-7890"},
      {"Anders", "Karin", "17 Birch Road", "Springfield", "62704-5521", "345-67-8901"},
      {"Okafor", "Grace", "2210 W Monroe St", "Chicago", "60612-2011", "456-78-9012"},
      {"Lindqvist", "Erik", "88 Harbor View Ct", "Evanston", "60201", "567-89-0123"},
  };
  for (const TOther& o : others) {
    TPayeeRecord r;
    r.SetBool("Individual", true);
    r.SetString("LastName", QLatin1String(o.Last));
    r.SetString("FirstName", QLatin1String(o.First));
    r.SetString("PayeeName", QStringLiteral("%1 %2").arg(o.First, o.Last));
    SetAddress(r, o.Street, o.City, "IL", o.Zip);
    r.SetString("SSN_IDNum", QLatin1String(o.Tin));
    payees.append(reinterpret_cast<const char*>(r.Data()), TPayeeRecord::Size);
  }
}

void MakePayerFile(const QString& base, bool longData) {
  TPayerRecord p;
  p.SetString("PayerName", QStringLiteral("Acme Construction Supply & Co"));
  p.SetString("TradeName", QStringLiteral("Acme Builders"));
  SetAddress(p, "1234 Industrial Parkway", "Springfield", "IL", "62704");
  p.SetString("Address2", QStringLiteral("Suite 200"));
  p.SetString("Contact", QStringLiteral("Jane Doe"));
  p.SetString("PhoneNum", QStringLiteral("217-555-0123"));
  p.SetString("FaxNum", QStringLiteral("217-555-0199"));
  p.SetString("Email", QStringLiteral("jane.doe@acme-supply.example.com"));
  p.SetString("EmpIDNum", QStringLiteral("12-3456789"));
  p.SetString("StateName1", QStringLiteral("IL"));
  p.SetString("StateID1", QStringLiteral("1234-5678-9012"));
  p.SetString("StateName2", QStringLiteral("WI"));
  p.SetString("StateID2", QStringLiteral("036-1234567"));
  if (longData) FillLong(p);
  p.SetString("RTN", QStringLiteral("071000013"));
  p.SetString("Locality1", QStringLiteral("Springfield"));
  p.SetString("Locality2", QStringLiteral("Sangamon Cnty"));
  WriteBytes(base + QStringLiteral(".PR25"), p.Data(), TPayerRecord::Size);

  TPayeeRecord r;
  r.SetBool("Individual", true);
  r.SetString("LastName", QStringLiteral("Public"));
  r.SetString("FirstName", QStringLiteral("John Q"));
  r.SetString("PayeeName", QStringLiteral("John Q Public"));
  r.SetString("CompName", QStringLiteral("Public Consulting Services LLC"));
  SetAddress(r, "42 Elm Street Apt 7", "Decatur", "IL", "62521-1234");
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
  AddMiscBoxes(r);
  AddInterestBoxes(r);
  // The same payee sold a house in 2025.
  r.SetString("AcctNum1099S", QStringLiteral("ESCROW-2025-0417"));
  r.SetString("F1099S1", QStringLiteral("06/13/2025"));
  r.SetDouble("F1099S2", 487500);
  r.SetString("F1099S3_1", QStringLiteral("1208 Lakeshore Drive"));
  r.SetString("F1099S3_2", QStringLiteral("Springfield, IL 62712"));
  r.SetString("F1099S3_3", QStringLiteral("Parcel 14-22-301-017"));
  r.SetBool("F1099S4", true);
  r.SetDouble("F1099S6", 2318.75);
  // The same payee as a borrower on a Form 1098.
  r.SetString("AcctNum1098", QStringLiteral("LN-0045-2291"));
  r.SetDouble("F1098_1", 14236.18);
  r.SetDouble("F1098_2", 312450);
  r.SetString("F1098_3", QStringLiteral("06/14/2019"));
  r.SetDouble("F1098_4", 86.4);
  r.SetDouble("F1098_5", 1140);
  r.SetDouble("F1098_6", 2500);
  r.SetString("F1098_8_1", QStringLiteral("118 Lakeview Terrace"));
  r.SetString("F1098_8_2", QStringLiteral("Springfield, IL 62711"));
  r.SetString("F1098_8_3", QStringLiteral("Parcel 14-22-301-006"));
  r.SetInt("F1098_9", 1);
  r.SetString("F1098_10", QStringLiteral("Escrow taxes 4,812.00"));
  r.SetString("F1098_11", QStringLiteral("02/01/2021"));
  if (longData) FillLong(r);
  AddDividends(r);
  AddPension(r);
  // Other payees without forms, so the navigator has somewhere to go while the forms and the
  // totals stay those of the first.
  QByteArray payees(reinterpret_cast<const char*>(r.Data()), TPayeeRecord::Size);
  AppendOtherPayees(payees);
  WriteBytes(base + QStringLiteral(".PE25"), reinterpret_cast<const uint8_t*>(payees.constData()),
             int(payees.size()));
}

TReportJob SaveJob(const std::function<void(TPagePrinter&, TReportProject&)>& print,
                   TReportProject& project, const QString& file) {
  TPagePrinter printer;
  project.SetEngine(&printer);
  printer.BeginDoc();
  print(printer, project);
  printer.EndDoc();
  ExportJob(printer.Job(), file);
  project.SetEngine(static_cast<TPagePrinter*>(nullptr));
  return printer.TakeJob();
}
// The screen with the first payee, the box named focus having the focus, saved as file.
template <typename TScreen>
void ShootScreen(const QDir& out, const char* focus, const char* file) {
  TScreen screen;
  screen.show();
  QApplication::setActiveWindow(&screen);
  screen.Control(QLatin1String(focus))->setFocus();
  QApplication::processEvents();
  screen.grab().save(out.absoluteFilePath(QLatin1String(file)));
  screen.close();
}

// The program-generated forms of one form type as name.pdf, and the first form of the first
// page as name.png: the top third of the sheet for the forms printed three to a sheet, the top
// half for the others.
void SaveForm(const TFormDef& form, TReportProject& project, const QDir& out, const char* name) {
  CurrentFormType = form.FormType;
  ScanFormTotals();
  const TReportJob job =
      SaveJob([&form](TPagePrinter& p, TReportProject& r) { PrintProgramGenerated(form, p, r); },
              project, out.absoluteFilePath(QLatin1String(name) + QStringLiteral(".pdf")));
  const QImage page = RenderPageImage(job, 0, 100);
  // Down to the form's footer line, whatever its height: nothing of the face cut off.
  double bottom = 0;
  for (const TFaceItem& item :
       TReportProject::LoadLayout(project.ProjectFile(), QLatin1String(form.Report)).Face)
    bottom = std::max({bottom, item.Y1, item.Y2});
  page.copy(0, 0, page.width(), std::min(page.height(), int((bottom + 0.15) * 100)))
      .save(out.absoluteFilePath(QLatin1String(name) + QStringLiteral(".png")));
}

// The program-generated Form 1096 of one form type, a whole page.
void Save1096(TReportProject& project, const QDir& out, uint8_t formType, const QString& name) {
  CurrentFormType = formType;
  ScanFormTotals();
  const TReportJob job =
      SaveJob([](TPagePrinter&, TReportProject& r) { Print1096ProgramGenerated(r); }, project,
              out.absoluteFilePath(name + QStringLiteral(".pdf")));
  RenderPageImage(job, 0, 100).save(out.absoluteFilePath(name + QStringLiteral(".png")));
}

// The alignment page of one form type, with no offsets, as align-NAME.png.
void SaveAlignment(const TFormDef& form, TReportProject& project, const QDir& out) {
  const QString name = QStringLiteral("align-") +
                       QString::fromLatin1(form.ShortName).remove(QLatin1Char('-')).toLower();
  const TReportJob job = SaveJob(
      [&form](TPagePrinter& p, TReportProject&) { PrintAlignmentPage(form, p, TFormOffsets{}); },
      project, out.absoluteFilePath(name + QStringLiteral(".pdf")));
  RenderPageImage(job, 0, 100).save(out.absoluteFilePath(name + QStringLiteral(".png")));
}

void Shoot1096(const QDir& out) {
  TFrm1096 screen;
  screen.show();
  QApplication::setActiveWindow(&screen);
  screen.TypeBox(ft1099NEC)->SetChecked(true);
  QApplication::processEvents();
  screen.grab().save(out.absoluteFilePath(QStringLiteral("frm-1096.png")));
  screen.close();
}

void Grab(QWidget& window, const QDir& out, const char* file) {
  window.show();
  QApplication::setActiveWindow(&window);
  QApplication::processEvents();
  window.grab().save(out.absoluteFilePath(QLatin1String(file)));
}

// The payer and payee screens on the first payee, and the name-sorted list of all payees.
void ShootMaintenance(const QDir& out) {
  FrmDataModule->RSPayee->SetCurrentRecord(1);
  FrmDataModule->RSPayee->GetRec();
  {
    TFrmPayer screen;
    Grab(screen, out, "payer-screen.png");
    screen.close();
  }
  {
    TFrmPayee screen;
    Grab(screen, out, "payee-screen.png");
    screen.close();
  }
  RecIndexCount = FrmDataModule->RSPayee->LastRecord();
  RecIndexDirty = true;
  BuildRecIndex();
  TFrmRecList list;
  list.show();
  list.RecordListBox->setCurrentRow(1);
  Grab(list, out, "record-list.png");
  list.close();
}

// The preview window as a Print of the 1099-NEC screen shows it: the program-generated forms.
void ShootPreview(const QDir& out, TReportProject& project) {
  CurrentFormType = ft1099NEC;
  ScanFormTotals();
  const TFormDef& form = Form1099NECDef();
  const TReportJob job =
      SaveJob([&form](TPagePrinter& p, TReportProject& r) { PrintProgramGenerated(form, p, r); },
              project, out.absoluteFilePath(QStringLiteral("preview.pdf")));
  TFrmReportPreview preview;
  preview.setWindowTitle(QStringLiteral("Form 1099-NEC Preview"));
  preview.LoadSnapshotBytes(SnapshotBytes(job));
  preview.resize(1280, 900);
  Grab(preview, out, "preview.png");
  preview.close();
}

// The first three rows of the first sheet of mailing labels, at 150 dots per inch.
void ShootLabels(const QDir& out) {
  TPagePrinter printer;
  printer.BeginDoc();
  WritePayeeLabels(printer, *FrmDataModule->RSPayee);
  printer.EndDoc();
  const QImage page = RenderPageImage(printer.Job(), 0, 150, true);
  page.copy(0, 0, page.width(), 390).save(out.absoluteFilePath(QStringLiteral("labels.png")));
}

// The help window on its contents and on the 1099-NEC topic, showing the pictures this run made
// (they are put where the help window looks for them first).
void ShootHelp(const QDir& out) {
  const QDir img(HelpFolder() + QStringLiteral("img"));
  QDir().mkpath(img.path());
  for (const QString& name : out.entryList({QStringLiteral("*.png")}, QDir::Files)) {
    QFile::remove(img.filePath(name));
    QFile::copy(out.filePath(name), img.filePath(name));
  }
  const std::pair<int, const char*> topics[] = {{htContents, "help-contents.png"},
                                                {26, "help-form.png"}};
  for (const auto& [context, file] : topics) {
    ShowHelp(context);
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible() && window->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"))) {
        window->resize(760, 820);
        Grab(*window, out, file);
      }
  }
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool dataOnly = argc == 3 && QLatin1String(argv[2]) == QLatin1String("data");
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: forms_shots OUTPUT_FOLDER [long|data]\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(out.path());
  MsgBoxScript::Enable(true);
  RegisterFontSubstitutions();
  AddProgramFontFiles();  // the screens' Tahoma, as the program has it
  RegistryRoot = QStringLiteral("Software\\PapyraTest\\2025\\");
  AppRegistry = std::make_unique<TRegistry>();
  ProgramFolder = out.absolutePath() + QLatin1Char('/');
  const QString base = out.absoluteFilePath(QStringLiteral("Shots"));
  MakePayerFile(base, argc == 3 && QLatin1String(argv[2]) == QLatin1String("long"));
  if (dataOnly) return 0;  // only the sample payer file, Shots.PE25 and Shots.PR25

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

  ShootScreen<TFrm1099NEC>(out, "F1099NEC4", "frm-1099nec.png");
  ShootScreen<TFrm1099MISC>(out, "F1099MISC10", "frm-1099misc.png");
  ShootScreen<TFrm1099INT>(out, "F1099INT8", "frm-1099int.png");
  ShootScreen<TFrm1099S>(out, "F1099S2", "frm-1099s.png");
  ShootScreen<TFrm1098>(out, "F1098_8_3", "frm-1098.png");
  ShootScreen<TFrm1099DIV>(out, "F1099DIV2a", "frm-1099div.png");
  ShootScreen<TFrm1099R>(out, "F1099R7", "frm-1099r.png");
  Shoot1096(out);
  MaskSSNOption = true;
  SaveForm(Form1099RDef(), project, out, "form-1099r");
  SaveForm(Form1099INTDef(), project, out, "form-1099int");
  SaveForm(Form1099DIVDef(), project, out, "form-1099div");
  SaveForm(Form1099NECDef(), project, out, "form-1099nec");
  SaveForm(Form1099MISCDef(), project, out, "form-1099misc");
  SaveForm(Form1099SDef(), project, out, "form-1099s");
  SaveForm(Form1098Def(), project, out, "form-1098");
  // The payer's own copy, with the recipient's TIN whole as it prints by default.
  CopyChoice() = TCopyChoice{true, false, false};
  SaveForm(Form1099NECDef(), project, out, "copyc-1099nec");
  CopyChoice() = TCopyChoice{};
  Save1096(project, out, ft1099NEC, "form-1096");
  for (const TFormDef* def : FormDefs())
    Save1096(project, out, def->FormType,
             "form-1096-" + QString::fromLatin1(def->ShortName).remove(QLatin1Char('-')).toLower());
  for (const TFormDef* form : FormDefs()) SaveAlignment(*form, project, out);
  ShootMaintenance(out);
  ShootPreview(out, project);
  ShootLabels(out);
  ShootHelp(out);
  module.RSPayee->CloseRecSet();
  return 0;
}
