#pragma once
// The report engine's page model: every page of a job is a list of drawing items measured in
// inches from the top-left corner of the sheet. Nothing here knows about devices; renderers turn
// a page into pixels, PDF, HTML or text, and snapshot files store it.
#include <QList>
#include <QString>
#include <QtGlobal>

enum class TAlign : quint8 { Left = 0, Center = 1, Right = 2 };

// Font style bits.
enum TFontStyle : quint8 {
  fsBold = 1,
  fsItalic = 2,
  fsUnderline = 4,
  fsStrikeOut = 8,
};

// Colours are 0xRRGGBB (no alpha).
constexpr quint32 clBlack = 0x000000;
constexpr quint32 clWhite = 0xFFFFFF;
// A grey of the given darkness, 0.0 white to 1.0 black (0.15 is a light form shading).
quint32 GreyColor(double darkness);

struct TFontSpec {
  QString Name = QStringLiteral("Arial");
  double Size = 10.0;  // points
  quint8 Style = 0;    // TFontStyle bits
  quint32 Color = clBlack;

  bool Bold() const { return Style & fsBold; }
  bool Italic() const { return Style & fsItalic; }
  bool Underline() const { return Style & fsUnderline; }
  bool StrikeOut() const { return Style & fsStrikeOut; }
  bool operator==(const TFontSpec&) const = default;
};

enum class TItemKind : quint8 { Text = 1, Line = 2, Rect = 3, Bar = 4 };

// One drawing item. Which fields count depends on the kind:
//   Text: X (anchor, see Align), Y (baseline), Font, Align, Text.
//   Line: (X, Y) to (X2, Y2), PenWidth, Color.
//   Rect: corners (X, Y) and (X2, Y2); an outline of PenWidth in Color when Outline, a fill of
//         FillColor when Filled; Radius rounds the corners.
//   Bar:  a filled rectangle (X, Y)-(X2, Y2) in Color, for bar codes.
// PreviewOnly items (label outlines) show on screen and never on paper or in exports.
struct TDisplayItem {
  TItemKind Kind = TItemKind::Text;
  bool PreviewOnly = false;
  double X = 0, Y = 0, X2 = 0, Y2 = 0;
  double PenWidth = 0.01;  // inches
  double Radius = 0;       // inches
  bool Outline = true;
  bool Filled = false;
  quint32 Color = clBlack;
  quint32 FillColor = clBlack;
  TAlign Align = TAlign::Left;
  TFontSpec Font;
  QString Text;

  bool operator==(const TDisplayItem&) const = default;

  static TDisplayItem MakeText(double x, double y, const QString& text, const TFontSpec& font,
                               TAlign align = TAlign::Left);
  static TDisplayItem MakeLine(double x1, double y1, double x2, double y2, double width,
                               quint32 color = clBlack);
  static TDisplayItem MakeRect(double left, double top, double right, double bottom,
                               double penWidth, bool outline, bool filled,
                               quint32 fillColor = clBlack, quint32 color = clBlack);
  static TDisplayItem MakeBar(double left, double top, double right, double bottom);
};

struct TPage {
  QList<TDisplayItem> Items;
  bool operator==(const TPage&) const = default;
};

// A whole print job: the sheet size (portrait or landscape already applied), its title and pages.
struct TReportJob {
  double PageWidth = 8.5;  // inches
  double PageHeight = 11.0;
  QString Title;
  QList<TPage> Pages;

  int PageCount() const { return int(Pages.size()); }
  bool operator==(const TReportJob&) const = default;
};

// The display list as text, one item per line, for tests, diffs and papyra-batch:
//   page 1 text x=0.600 y=1.000 font="Courier New" size=12 style=- align=left color=000000 "..."
//   page 1 line x1=... y1=... x2=... y2=... width=0.010 color=000000
//   page 1 rect l=... t=... r=... b=... width=0.010 outline=1 fill=- radius=0 [preview]
//   page 1 bar l=... t=... r=... b=...
QString DisplayListText(const TReportJob& job);
QString DisplayItemText(const TDisplayItem& item);
