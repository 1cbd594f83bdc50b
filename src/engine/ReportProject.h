#pragma once
// TReportProject runs named reports of a report project file (see docs/report-project.md): a
// report is a form face (rules, boxes, shading, captions) and named text parameters placed on
// it. The file is read afresh at every Open. A report's layout can also be had without
// printing, so a screen can draw the same face the paper gets.
#include <QList>
#include <QMap>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QStringList>

#include "engine/DisplayList.h"

class TPagePrinter;
class TReportSystem;

enum class TFaceKind : int { Rule = 0, Box = 1, Shade = 2, Caption = 3 };

// One element of a form face, in inches from the sheet's top-left corner.
struct TFaceItem {
  TFaceKind Kind = TFaceKind::Rule;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;  // rule: ends; box/shade: corners
  double Width = 0.01;                    // rule and box outline width, inches
  double Darkness = 0;                    // shade: 0 white .. 1 black
  QString Name;                           // box: name other parts refer to (may be empty)
  QString Text;                           // caption (a "\n" starts a new line)
  TFontSpec Font;                         // caption
  TAlign Align = TAlign::Left;            // caption: relative to X1; Y1 is the first baseline
  QString Copy;  // the copy of the form the entry belongs to ("B", "C"); empty: on every copy
};

// A named text parameter: where and how its value prints.
struct TParamField {
  QString Name;
  double X = 0, Y = 0;  // anchor (see Align) and baseline, inches
  double Width = 0;     // room for the text, inches; 0 = unlimited
  TFontSpec Font;
  TAlign Align = TAlign::Left;
  bool Fit = false;  // shrink the font until the text fits Width
  QString Box;       // name of the box it belongs to (may be empty)
  QString Copy;      // the copy of the form it prints on ("B", "C"); empty: on every copy
};

struct TReportLayout {
  QString Name;
  QList<TFaceItem> Face;
  QList<TParamField> Params;

  const TParamField* Param(const QString& name) const;
  QRectF BoxRect(const QString& boxName) const;  // null rect when unknown
  QStringList BoxNames() const;
};

class TReportProject : public QObject {
  Q_OBJECT
 public:
  explicit TReportProject(QObject* parent = nullptr);

  void SetProjectFile(const QString& fileName) { FFileName = fileName; }
  QString ProjectFile() const { return FFileName; }

  // The engine the reports draw on: a report system (its running job's page printer) or a page
  // printer directly.
  void SetEngine(TReportSystem* system);
  void SetEngine(TPagePrinter* printer);
  TPagePrinter* Engine() const;  // null when there is nothing to draw on

  // Reads the project file; throws EReportException for a missing or malformed file.
  void Open();
  bool Active() const { return FActive; }
  QStringList ReportNames() const;
  // Throws EReportException when the project has no such report (or is not open).
  void SelectReport(const QString& name);
  QString SelectedReport() const { return FSelected; }
  void SetParam(const QString& name, const QString& value);
  QString Param(const QString& name) const { return FParams.value(name); }
  void ClearParams() { FParams.clear(); }
  // Which copy of the form Execute draws: face entries and parameters marked for another copy
  // are left out.
  // "B" (the recipient's copy) until set otherwise; it stays across Open and Close.
  void SetCopy(const QString& copy) { FCopy = copy; }
  QString Copy() const { return FCopy; }
  // Draws the selected report's face and parameters on the engine's current page.
  void Execute();
  void Close();

  // A report's layout straight from a project file (throws like Open and SelectReport).
  static TReportLayout LoadLayout(const QString& fileName, const QString& reportName);
  // Parses a whole project; fileName only names the file in messages.
  static QList<TReportLayout> ParseProject(const QByteArray& text, const QString& fileName);
  // Draw a face and parameter values through a page printer: the entries for every copy and
  // those for copy.
  static void DrawFace(TPagePrinter& printer, const TReportLayout& layout,
                       const QString& copy = QStringLiteral("B"));
  static void DrawParams(TPagePrinter& printer, const TReportLayout& layout,
                         const QMap<QString, QString>& values,
                         const QString& copy = QStringLiteral("B"));

 private:
  QString FFileName;
  TReportSystem* FSystem = nullptr;
  TPagePrinter* FPrinter = nullptr;
  bool FActive = false;
  QList<TReportLayout> FReports;
  QString FSelected;
  QMap<QString, QString> FParams;
  QString FCopy = QStringLiteral("B");
};
