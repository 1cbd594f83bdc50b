#include "forms/Form1096.h"

#include "core/Utils.h"
#include "engine/PagePrinter.h"
#include "engine/ReportProject.h"
#include "forms/FormRegistry.h"
#include "storage/Globals.h"

namespace {
constexpr double kFieldSize = 12;

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
    for (const TFormDef* def : FormDefs())
      if (def->Box1096.RedCopyRow == row && def->FormType == CurrentFormType)
        printer.PrintLeft(QStringLiteral("X"), o.HO + def->Box1096.RedCopyX);
  }
}
}  // namespace

namespace {
bool HasTradeName() {
  return !IsBlank(Payer("TradeName"));
}
bool HasAddress2() {
  return !IsBlank(Payer("Address2"));
}
bool HasEin() {
  return IsValidEIN(Payer("EmpIDNum"));
}
using TValue = std::optional<QString>;

// The report's parameters from the payer and the totals of the last scan; a parameter without a
// value is not set.
// clang-format off
const T1096Param k1096Params[] = {
  {"FilerName1",        [] { return TValue(HasTradeName() ? Payer("PayerName").toUpper() : QString()); }},
  {"FilerName2",        [] { return TValue((HasTradeName() ? Payer("TradeName") : Payer("PayerName")).toUpper()); }},
  {"FilerAddress1",     [] { return TValue(HasAddress2() ? Payer("Address1").toUpper() : QString()); }},
  {"FilerAddress2",     [] { return TValue((HasAddress2() ? Payer("Address2") : Payer("Address1")).toUpper()); }},
  {"FilerCityStateZip", [] { return TValue(Payer("CityStZip").toUpper()); }},
  {"ContactPerson",     [] { return TValue(Payer("Contact").toUpper()); }},
  {"Email",             [] { return TValue(Payer("Email")); }},
  {"TelNum",            [] { return IsValidPhone(Payer("PhoneNum")) ? TValue(Payer("PhoneNum")) : std::nullopt; }},
  {"FaxNum",            [] { return IsValidPhone(Payer("FaxNum")) ? TValue(Payer("FaxNum")) : std::nullopt; }},
  {"EIN",               [] { return HasEin() ? TValue(Payer("EmpIDNum")) : std::nullopt; }},
  // The filer's own number: never masked.
  {"SSN",               [] { return HasEin() ? std::nullopt : TValue(Payer("SocSecNum")); }},
  {"TotalForms",        [] { return TValue(QString::number(TotalForms)); }},
  {"FITW",              [] { return RoundAmount(TotalWithheld, 2) != 0 ? TValue(FormatAmount(TotalWithheld)) : std::nullopt; }},
  {"Total",             [] { return TValue(FormatAmount(TotalAmount)); }},
};
// clang-format on
}  // namespace

std::span<const T1096Param> Form1096Params() {
  return k1096Params;
}

void Print1096ProgramGenerated(TReportProject& project, const QString& selectionNote) {
  project.Open();
  project.SelectReport(QStringLiteral("Form1096"));
  for (const T1096Param& p : k1096Params)
    if (const TValue value = p.Value()) project.SetParam(QString::fromLatin1(p.Name), *value);
  for (const TFormDef* def : FormDefs())
    SetParamWhen(project, def->FormType == CurrentFormType, def->Box1096.CheckBox,
                 QStringLiteral("X"));
  project.SetParam(QLatin1String(k1096SelectionParam), selectionNote);
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
