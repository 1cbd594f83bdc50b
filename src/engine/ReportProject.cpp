#include "engine/ReportProject.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "engine/PagePrinter.h"
#include "engine/ReportSystem.h"
#include "platform/Exceptions.h"

namespace {
constexpr int kFormatVersion = 1;

// Where a definition sits, for messages: file, report and entry.
struct TWhere {
  QString File;
  QString Report;
  QString Entry;
  QString Text() const {
    QString s = QStringLiteral("The report project \"%1\"").arg(File);
    if (!Report.isEmpty()) s += QStringLiteral(", report \"%1\"").arg(Report);
    if (!Entry.isEmpty()) s += QStringLiteral(", %1").arg(Entry);
    return s;
  }
  // File-wide faults read "The report project "X" is ..."; others name the entry first.
  [[noreturn]] void Fail(const QString& why) const {
    const QString glue = Report.isEmpty() ? QStringLiteral(" ") : QStringLiteral(": ");
    throw EReportException(Text() + glue + why + QLatin1Char('.'));
  }
};

void LineAndColumn(const QByteArray& text, int offset, int& line, int& column) {
  line = 1;
  column = 1;
  for (int i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
}

double Number(const TWhere& w, const QJsonValue& v, const QString& what) {
  if (!v.isDouble()) w.Fail(QStringLiteral("\"%1\" must be a number").arg(what));
  const double d = v.toDouble();
  if (!std::isfinite(d) || std::fabs(d) > 100.0)
    w.Fail(QStringLiteral("\"%1\" is out of range").arg(what));
  return d;
}

QList<double> Numbers(const TWhere& w, const QJsonValue& v, const QString& what, int count) {
  const QJsonArray a = v.toArray();
  if (!v.isArray() || a.size() != count)
    w.Fail(QStringLiteral("\"%1\" needs %2 numbers").arg(what).arg(count));
  QList<double> out;
  for (const QJsonValue& x : a) out.append(Number(w, x, what));
  return out;
}

TAlign Align(const TWhere& w, const QJsonObject& o) {
  const QString a = o.value(QLatin1String("align")).toString(QStringLiteral("left"));
  if (a == QLatin1String("left")) return TAlign::Left;
  if (a == QLatin1String("center") || a == QLatin1String("centre")) return TAlign::Center;
  if (a == QLatin1String("right")) return TAlign::Right;
  w.Fail(QStringLiteral("\"align\" must be \"left\", \"center\" or \"right\""));
}

quint8 Style(const TWhere& w, const QString& text) {
  quint8 style = 0;
  for (const QString& word :
       text.split(QRegularExpression(QStringLiteral("[ ,]+")), Qt::SkipEmptyParts)) {
    if (word == QLatin1String("bold"))
      style |= fsBold;
    else if (word == QLatin1String("italic"))
      style |= fsItalic;
    else if (word == QLatin1String("underline"))
      style |= fsUnderline;
    else if (word == QLatin1String("strikeout"))
      style |= fsStrikeOut;
    else if (word != QLatin1String("plain"))
      w.Fail(QStringLiteral("unknown style \"%1\"").arg(word));
  }
  return style;
}

TFontSpec Font(const TWhere& w, const QJsonObject& o, const TFontSpec& defaults) {
  TFontSpec f = defaults;
  f.Name = o.value(QLatin1String("font")).toString(defaults.Name);
  if (o.contains(QLatin1String("size"))) {
    f.Size = Number(w, o.value(QLatin1String("size")), QStringLiteral("size"));
    if (f.Size <= 0) w.Fail(QStringLiteral("\"size\" must be above 0"));
  }
  if (o.contains(QLatin1String("style")))
    f.Style = Style(w, o.value(QLatin1String("style")).toString());
  if (o.contains(QLatin1String("color"))) {
    const QString c = o.value(QLatin1String("color")).toString();
    bool ok = false;
    const uint rgb = c.mid(1).toUInt(&ok, 16);
    if (!c.startsWith(QLatin1Char('#')) || c.size() != 7 || !ok)
      w.Fail(QStringLiteral("\"color\" must look like \"#RRGGBB\""));
    f.Color = rgb;
  }
  return f;
}

TFaceItem FaceItem(const TWhere& w, const QJsonObject& o, const TFontSpec& fonts) {
  TFaceItem item;
  item.Width = o.contains(QLatin1String("width"))
                   ? Number(w, o.value(QLatin1String("width")), QStringLiteral("width"))
                   : 0.01;
  item.Name = o.value(QLatin1String("name")).toString();
  item.Copy = o.value(QLatin1String("copy")).toString();
  QList<double> v;
  if (o.contains(QLatin1String("rule"))) {
    item.Kind = TFaceKind::Rule;
    v = Numbers(w, o.value(QLatin1String("rule")), QStringLiteral("rule"), 4);
  } else if (o.contains(QLatin1String("box"))) {
    item.Kind = TFaceKind::Box;
    v = Numbers(w, o.value(QLatin1String("box")), QStringLiteral("box"), 4);
  } else if (o.contains(QLatin1String("shade"))) {
    item.Kind = TFaceKind::Shade;
    v = Numbers(w, o.value(QLatin1String("shade")), QStringLiteral("shade"), 4);
    item.Darkness = o.contains(QLatin1String("darkness"))
                        ? Number(w, o.value(QLatin1String("darkness")), QStringLiteral("darkness"))
                        : 0.15;
  } else if (o.contains(QLatin1String("text"))) {
    item.Kind = TFaceKind::Caption;
    item.Text = o.value(QLatin1String("text")).toString();
    v = Numbers(w, o.value(QLatin1String("at")), QStringLiteral("at"), 2);
    v << 0 << 0;
    item.Font = Font(w, o, fonts);
    item.Align = Align(w, o);
  } else {
    w.Fail(QStringLiteral("an entry must have one of \"rule\", \"box\", \"shade\" or \"text\""));
  }
  item.X1 = v[0];
  item.Y1 = v[1];
  item.X2 = v[2];
  item.Y2 = v[3];
  if (item.Kind == TFaceKind::Box || item.Kind == TFaceKind::Shade) {
    if (item.X2 < item.X1 || item.Y2 < item.Y1)
      w.Fail(QStringLiteral("a box is given as left, top, right, bottom"));
  }
  return item;
}

TParamField Param(const TWhere& w, const QJsonObject& o, const TFontSpec& fonts) {
  TParamField p;
  p.Name = o.value(QLatin1String("name")).toString();
  if (p.Name.isEmpty()) w.Fail(QStringLiteral("a parameter needs a \"name\""));
  const QList<double> at = Numbers(w, o.value(QLatin1String("at")), QStringLiteral("at"), 2);
  p.X = at[0];
  p.Y = at[1];
  if (o.contains(QLatin1String("width")))
    p.Width = Number(w, o.value(QLatin1String("width")), QStringLiteral("width"));
  p.Font = Font(w, o, fonts);
  p.Align = Align(w, o);
  p.Fit = o.value(QLatin1String("fit")).toBool(false);
  p.Box = o.value(QLatin1String("box")).toString();
  p.Copy = o.value(QLatin1String("copy")).toString();
  return p;
}

TReportLayout Report(const TWhere& file, const QJsonObject& o, int index) {
  TWhere w = file;
  w.Report = o.value(QLatin1String("name")).toString();
  if (w.Report.isEmpty())
    file.Fail(QStringLiteral("has a report without \"name\" (number %1)").arg(index + 1));
  TFontSpec fonts;
  fonts = Font(w, o, fonts);
  TReportLayout layout;
  layout.Name = w.Report;
  const QJsonArray face = o.value(QLatin1String("face")).toArray();
  for (int i = 0; i < face.size(); ++i) {
    w.Entry = QStringLiteral("face entry %1").arg(i + 1);
    if (!face[i].isObject()) w.Fail(QStringLiteral("the entry must be an object"));
    layout.Face.append(FaceItem(w, face[i].toObject(), fonts));
  }
  const QJsonArray params = o.value(QLatin1String("params")).toArray();
  for (int i = 0; i < params.size(); ++i) {
    w.Entry = QStringLiteral("parameter %1").arg(i + 1);
    if (!params[i].isObject()) w.Fail(QStringLiteral("the entry must be an object"));
    const TParamField p = Param(w, params[i].toObject(), fonts);
    if (layout.Param(p.Name)) w.Fail(QStringLiteral("\"%1\" is defined twice").arg(p.Name));
    if (!p.Box.isEmpty() && layout.BoxRect(p.Box).isNull())
      w.Fail(QStringLiteral("box \"%1\" is not on the face").arg(p.Box));
    layout.Params.append(p);
  }
  return layout;
}

void DrawCaption(TPagePrinter& printer, const TFaceItem& item) {
  printer.SetFontSpec(item.Font);
  double y = item.Y1;
  for (const QString& line : item.Text.split(QLatin1Char('\n'))) {
    printer.SetYPos(y);
    if (item.Align == TAlign::Right)
      printer.PrintRight(line, item.X1);
    else if (item.Align == TAlign::Center)
      printer.PrintCenter(line, item.X1);
    else
      printer.PrintLeft(line, item.X1);
    y += printer.LineHeight();
  }
}
}  // namespace

// ---- layout
// ---------------------------------------------------------------------------------------

const TParamField* TReportLayout::Param(const QString& name) const {
  for (const TParamField& p : Params)
    if (p.Name == name) return &p;
  return nullptr;
}

QRectF TReportLayout::BoxRect(const QString& boxName) const {
  for (const TFaceItem& f : Face)
    if (f.Kind == TFaceKind::Box && f.Name == boxName && !boxName.isEmpty())
      return QRectF(QPointF(f.X1, f.Y1), QPointF(f.X2, f.Y2));
  return {};
}

QStringList TReportLayout::BoxNames() const {
  QStringList names;
  for (const TFaceItem& f : Face)
    if (f.Kind == TFaceKind::Box && !f.Name.isEmpty()) names.append(f.Name);
  return names;
}

// ---- parsing
// --------------------------------------------------------------------------------------

QList<TReportLayout> TReportProject::ParseProject(const QByteArray& text, const QString& fileName) {
  const TWhere where{QFileInfo(fileName).fileName(), {}, {}};
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
  if (error.error != QJsonParseError::NoError) {
    int line, column;
    LineAndColumn(text, error.offset, line, column);
    where.Fail(QStringLiteral("is malformed at line %1, position %2 (%3)")
                   .arg(line)
                   .arg(column)
                   .arg(error.errorString()));
  }
  const QJsonObject root = doc.object();
  if (!doc.isObject() || !root.value(QLatin1String("reports")).isArray())
    where.Fail(QStringLiteral("has no \"reports\" list"));
  const int version = root.value(QLatin1String("version")).toInt(kFormatVersion);
  if (version != kFormatVersion)
    where.Fail(QStringLiteral("has version %1; this program reads version %2")
                   .arg(version)
                   .arg(kFormatVersion));
  QList<TReportLayout> reports;
  const QJsonArray list = root.value(QLatin1String("reports")).toArray();
  for (int i = 0; i < list.size(); ++i) {
    const TReportLayout r = Report(where, list[i].toObject(), i);
    for (const TReportLayout& other : reports)
      if (other.Name.compare(r.Name, Qt::CaseInsensitive) == 0)
        where.Fail(QStringLiteral("defines report \"%1\" twice").arg(r.Name));
    reports.append(r);
  }
  return reports;
}

namespace {
QList<TReportLayout> ReadProject(const QString& fileName) {
  QFile file(fileName);
  if (!file.exists())
    throw EReportException(
        QStringLiteral("The report project \"%1\" does not exist.").arg(fileName));
  if (!file.open(QIODevice::ReadOnly))
    throw EReportException(QStringLiteral("Cannot read the report project \"%1\": %2")
                               .arg(fileName, file.errorString()));
  return TReportProject::ParseProject(file.readAll(), fileName);
}

const TReportLayout& FindReport(const QList<TReportLayout>& reports, const QString& fileName,
                                const QString& name) {
  for (const TReportLayout& r : reports)
    if (r.Name.compare(name, Qt::CaseInsensitive) == 0) return r;
  throw EReportException(QStringLiteral("The report project \"%1\" has no report \"%2\".")
                             .arg(QFileInfo(fileName).fileName(), name));
}
}  // namespace

TReportLayout TReportProject::LoadLayout(const QString& fileName, const QString& reportName) {
  return FindReport(ReadProject(fileName), fileName, reportName);
}

// ---- drawing
// --------------------------------------------------------------------------------------

void TReportProject::DrawFace(TPagePrinter& printer, const TReportLayout& layout,
                              const QString& copy) {
  const TFontSpec font = printer.Font();
  const double pen = printer.PenWidth(), x = printer.XPos(), y = printer.YPos();
  for (const TFaceItem& f : layout.Face) {
    if (!f.Copy.isEmpty() && f.Copy != copy) continue;
    printer.SetPenWidth(f.Width);
    switch (f.Kind) {
      case TFaceKind::Rule:
        printer.Line(f.X1, f.Y1, f.X2, f.Y2);
        break;
      case TFaceKind::Box:
        printer.Rectangle(f.X1, f.Y1, f.X2, f.Y2);
        break;
      case TFaceKind::Shade:
        printer.ShadeRect(f.X1, f.Y1, f.X2, f.Y2, f.Darkness);
        break;
      case TFaceKind::Caption:
        DrawCaption(printer, f);
        break;
    }
  }
  printer.SetPenWidth(pen);
  printer.SetFontSpec(font);
  printer.GotoXY(x, y);
}

void TReportProject::DrawParams(TPagePrinter& printer, const TReportLayout& layout,
                                const QMap<QString, QString>& values, const QString& copy) {
  const TFontSpec font = printer.Font();
  const double x = printer.XPos(), y = printer.YPos();
  for (const TParamField& p : layout.Params) {
    if (!p.Copy.isEmpty() && p.Copy != copy) continue;
    const QString text = values.value(p.Name);
    if (text.isEmpty()) continue;
    printer.SetFontSpec(p.Font);
    if (p.Fit && p.Width > 0) {
      const double w = printer.TextWidth(text);
      if (w > p.Width) printer.SetFontSize(p.Font.Size * p.Width / w);
    }
    printer.SetYPos(p.Y);
    if (p.Align == TAlign::Right)
      printer.PrintRight(text, p.X);
    else if (p.Align == TAlign::Center)
      printer.PrintCenter(text, p.X);
    else
      printer.PrintLeft(text, p.X);
  }
  printer.SetFontSpec(font);
  printer.GotoXY(x, y);
}

// ---- the component
// --------------------------------------------------------------------------------

TReportProject::TReportProject(QObject* parent) : QObject(parent) {}

void TReportProject::SetEngine(TReportSystem* system) {
  FSystem = system;
  FPrinter = nullptr;
}

void TReportProject::SetEngine(TPagePrinter* printer) {
  FPrinter = printer;
  FSystem = nullptr;
}

TPagePrinter* TReportProject::Engine() const {
  if (FPrinter) return FPrinter;
  return FSystem ? FSystem->PagePrinter() : nullptr;
}

void TReportProject::Open() {
  FReports = ReadProject(FFileName);
  FActive = true;
  FSelected.clear();
}

QStringList TReportProject::ReportNames() const {
  QStringList names;
  for (const TReportLayout& r : FReports) names.append(r.Name);
  return names;
}

void TReportProject::SelectReport(const QString& name) {
  if (!FActive)
    throw EReportException(QStringLiteral("The report project \"%1\" is not open.")
                               .arg(QFileInfo(FFileName).fileName()));
  FSelected = FindReport(FReports, FFileName, name).Name;
}

void TReportProject::SetParam(const QString& name, const QString& value) {
  FParams.insert(name, value);
}

void TReportProject::Execute() {
  if (!FActive || FSelected.isEmpty())
    throw EReportException(
        QStringLiteral("No report of \"%1\" is selected.").arg(QFileInfo(FFileName).fileName()));
  TPagePrinter* printer = Engine();
  if (!printer)
    throw EReportException(QStringLiteral("The report project has no page to print on."));
  const TReportLayout& layout = FindReport(FReports, FFileName, FSelected);
  DrawFace(*printer, layout, FCopy);
  DrawParams(*printer, layout, FParams, FCopy);
}

void TReportProject::Close() {
  FActive = false;
  FReports.clear();
  FSelected.clear();
}
