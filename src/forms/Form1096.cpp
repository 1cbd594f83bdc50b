#include "forms/Form1096.h"

#include "core/Utils.h"
#include "engine/PagePrinter.h"
#include "engine/ReportProject.h"
#include "storage/Globals.h"

namespace {
constexpr double kFieldSize = 12;

const std::array<T1096FormType, 7> kTypes = {{
    {ft1098, "CB1098", "1098", 1.5, 4.17},
    {ft1099DIV, "CB1099DIV", "1099-DIV", 6.2, 4.17},
    {ft1099INT, "CB1099INT", "1099-INT", 7.06, 4.17},
    {ft1099MISC, "CB1099MISC", "1099-MISC", 1.5, 4.75},
    {ft1099NEC, "CB1099NEC", "1099-NEC", 1.92, 4.75},
    {ft1099R, "CB1099R", "1099-R", 4.05, 4.75},
    {ft1099S, "CB1099S", "1099-S", 4.5, 4.75},
}};

QString Payer(const char* field) {
  return PayerRec.GetString(field);
}

void SetParamWhen(TReportProject& project, bool when, const char* name, const QString& value) {
  if (when) project.SetParam(QString::fromLatin1(name), value);
}

// Prints text at (x, y) in a size that fits width, then returns to the normal size.
void PrintFitted(TPagePrinter& printer, double x, double y, const QString& text, double width) {
  printer.SetFontSize(FitFontSize(text, width));
  printer.PrintXY(x, y, text);
  printer.SetFontSize(kFieldSize);
}

void PrintSigner(TPagePrinter& printer, const TFormOffsets& o, const QDate& today) {
  printer.SetFont(QStringLiteral("Coronet"), 22);
  printer.PrintXY(o.HO + 1.1, o.VO + 6.4, Payer("SignerName"));
  printer.SetFont(QStringLiteral("Courier New"), kFieldSize);
  const QString title = Payer("SignerTitle");
  printer.SetFontSize(FitFontSize(title, 1.3));
  printer.PrintLeft(title, o.HO + 5.0);
  printer.SetFontSize(kFieldSize);
  printer.PrintLeft(today.toString(QStringLiteral("MM/dd/yyyy")), o.HO + 6.7);
}

void PrintTypeMark(TPagePrinter& printer, const TFormOffsets& o) {
  for (double row : {4.17, 4.75}) {
    printer.GotoXY(0.5, o.VO + row);
    for (const T1096FormType& t : kTypes)
      if (t.RedCopyRow == row && t.FormType == CurrentFormType)
        printer.PrintLeft(QStringLiteral("X"), o.HO + t.RedCopyX);
  }
}
}  // namespace

const std::array<T1096FormType, 7>& Form1096Types() {
  return kTypes;
}

int FormTypeByName(const QString& name) {
  for (const T1096FormType& t : kTypes)
    if (name.compare(QLatin1String(t.Name), Qt::CaseInsensitive) == 0) return t.FormType;
  return -1;
}

void Print1096ProgramGenerated(TReportProject& project, const QString& selectionNote) {
  const bool trade = !IsBlank(Payer("TradeName"));
  const bool address2 = !IsBlank(Payer("Address2"));
  const bool ein = IsValidEIN(Payer("EmpIDNum"));
  project.Open();
  project.SelectReport(QStringLiteral("Form1096"));
  project.SetParam(QStringLiteral("FilerName1"), trade ? Payer("PayerName").toUpper() : QString());
  project.SetParam(QStringLiteral("FilerName2"),
                   (trade ? Payer("TradeName") : Payer("PayerName")).toUpper());
  project.SetParam(QStringLiteral("FilerAddress1"),
                   address2 ? Payer("Address1").toUpper() : QString());
  project.SetParam(QStringLiteral("FilerAddress2"),
                   (address2 ? Payer("Address2") : Payer("Address1")).toUpper());
  project.SetParam(QStringLiteral("FilerCityStateZip"), Payer("CityStZip").toUpper());
  project.SetParam(QStringLiteral("ContactPerson"), Payer("Contact").toUpper());
  project.SetParam(QStringLiteral("Email"), Payer("Email"));
  SetParamWhen(project, IsValidPhone(Payer("PhoneNum")), "TelNum", Payer("PhoneNum"));
  SetParamWhen(project, IsValidPhone(Payer("FaxNum")), "FaxNum", Payer("FaxNum"));
  SetParamWhen(project, ein, "EIN", Payer("EmpIDNum"));
  // The filer's own number: never masked.
  SetParamWhen(project, !ein, "SSN", Payer("SocSecNum"));
  project.SetParam(QStringLiteral("TotalForms"), QString::number(TotalForms));
  SetParamWhen(project, RoundAmount(TotalWithheld, 2) != 0, "FITW", FormatAmount(TotalWithheld));
  project.SetParam(QStringLiteral("Total"), FormatAmount(TotalAmount));
  for (const T1096FormType& t : kTypes)
    SetParamWhen(project, t.FormType == CurrentFormType, t.CheckBox, QStringLiteral("X"));
  project.SetParam(QStringLiteral("Selection"), selectionNote);
  project.Execute();
  project.ClearParams();
  project.Close();
}

void Print1096RedCopy(TPagePrinter& printer, const TFormOffsets& o, const QDate& today) {
  const double x = o.HO, y = o.VO;
  printer.SetFont(QStringLiteral("Courier New"), kFieldSize);
  PrintFitted(printer, x + 0.8, y + 1.47, Payer("PayerName").toUpper(), 3.9);
  PrintFitted(printer, x + 0.8, y + 1.63, Payer("TradeName").toUpper(), 3.9);
  printer.PrintXY(x + 0.8, y + 1.97, Payer("Address1").toUpper());
  printer.PrintXY(x + 0.8, y + 2.13, Payer("Address2").toUpper());
  printer.PrintXY(x + 0.8, y + 2.47, Payer("CityStZip").toUpper());
  PrintFitted(printer, x + 0.6, y + 2.8, Payer("Contact").toUpper(), 2.47);
  if (IsValidPhone(Payer("PhoneNum"))) printer.PrintLeft(Payer("PhoneNum"), x + 3.4);
  PrintFitted(printer, x + 0.6, y + 3.13, Payer("Email"), 2.47);
  if (IsValidPhone(Payer("FaxNum"))) printer.PrintXY(x + 3.4, y + 3.12, Payer("FaxNum"));
  if (IsValidEIN(Payer("EmpIDNum")))
    printer.PrintXY(x + 0.6, y + 3.47, Payer("EmpIDNum"));
  else
    printer.PrintXY(x + 2.1, y + 3.47, Payer("SocSecNum"));
  printer.PrintRight(QString::number(TotalForms), x + 4.4);
  if (TotalWithheld > 0) printer.PrintLeft(FormatAmountPlain(TotalWithheld), x + 4.7);
  printer.PrintLeft(FormatAmountPlain(TotalAmount), x + 6.1);
  PrintTypeMark(printer, o);
  if (PayerRec.GetBool("SignerPresent")) PrintSigner(printer, o, today);
}
