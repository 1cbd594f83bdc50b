#pragma once
// TPagePrinter: what every print routine draws through. It records pages into a display list
// (TReportJob) in inches; where the pages go afterwards (preview, printer, PDF, HTML) is the
// owner's business.
//
// Coordinate rules, kept here and nowhere else:
//   - units are inches from the top-left corner of the physical sheet (plus the current origin,
//     which a label layout moves to each label's corner);
//   - a Y position is the baseline of the text printed there;
//   - the line height is the font size divided by 60 inches (one fifth more than the size);
//   - font sizes are points.
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <functional>

#include "engine/DisplayList.h"
#include "engine/PrinterTarget.h"

enum class TUnits : int { Inch = 0 };

class TPagePrinter {
 public:
  TPagePrinter();
  virtual ~TPagePrinter();
  TPagePrinter(const TPagePrinter&) = delete;
  TPagePrinter& operator=(const TPagePrinter&) = delete;

  // ---- job ----------------------------------------------------------------------------------
  // Starts a fresh job with page 1 open; cursor, origin, section, font and stacks reset.
  void BeginDoc();
  // Closes the job; the recorded pages stay in Job() until the next BeginDoc.
  void EndDoc();
  bool Printing() const { return FPrinting; }
  const TReportJob& Job() const { return FJob; }
  TReportJob TakeJob();
  QString Title() const { return FJob.Title; }
  void SetTitle(const QString& title) { FJob.Title = title; }
  // Called after each NewPage with the new page number (status windows show it).
  std::function<void(int page)> OnNewPage;
  // When set, each page is handed here as soon as it is finished (at NewPage and EndDoc) and
  // Job() keeps only the page being drawn (empty after EndDoc); PageCount() counts them all.
  void SetPageSink(std::function<void(const TPage& page)> sink) { FPageSink = std::move(sink); }

  // ---- units and scale (inches, 100 %: the only values the program uses) ---------------------
  TUnits Units() const { return TUnits::Inch; }
  double UnitsFactor() const { return FUnitsFactor; }
  void SetUnitsFactor(double factor);  // caller units per inch; <= 0 is ignored
  double ScaleX() const { return FScaleX; }
  double ScaleY() const { return FScaleY; }
  void SetScaleX(double percent);
  void SetScaleY(double percent);

  // ---- cursor ---------------------------------------------------------------------------------
  double XPos() const { return FXPos; }
  double YPos() const { return FYPos; }  // baseline of the current line
  void SetXPos(double x) { FXPos = x; }
  void SetYPos(double y) { FYPos = y; }
  void GotoXY(double x, double y);
  void PushPos();
  void PopPos();  // with nothing pushed it leaves the cursor alone
  int PosStackDepth() const { return int(FPosStack.size()); }

  // ---- fonts ----------------------------------------------------------------------------------
  // Plain black font of that name and size; a size of zero or less leaves the font unchanged.
  void SetFont(const QString& name, double size);
  const TFontSpec& Font() const { return FFont; }
  void SetFontSpec(const TFontSpec& font) { FFont = font; }
  QString FontName() const { return FFont.Name; }
  double FontSize() const { return FFont.Size; }
  void SetFontSize(double size);  // only the size; zero or less is ignored
  void SetBold(bool on) { SetStyleBit(fsBold, on); }
  void SetItalic(bool on) { SetStyleBit(fsItalic, on); }
  void SetUnderline(bool on) { SetStyleBit(fsUnderline, on); }
  void SetStrikeOut(bool on) { SetStyleBit(fsStrikeOut, on); }
  void SetFontColor(quint32 rgb) { FFont.Color = rgb; }
  void PushFont();
  void PopFont();  // with nothing pushed it leaves the font alone
  int FontStackDepth() const { return int(FFontStack.size()); }
  double LineHeight() const { return FFont.Size / 60.0; }
  // Width of a text in the current font, inches (the substituted font's real metrics).
  double TextWidth(const QString& text) const;

  // ---- text -----------------------------------------------------------------------------------
  // After any print the cursor's X is the right end of what was printed.
  void Print(const QString& text);  // left-aligned at the cursor
  void PrintXY(double x, double y, const QString& text);
  void PrintLeft(const QString& text, double x);
  void PrintRight(const QString& text, double x);   // the text ends at x
  void PrintCenter(const QString& text, double x);  // centred on x
  void Println(const QString& text);
  void NewLine();  // X to the section's left edge, baseline down one line height
  // Text inside a box: words wrapped to the box's width, lines one line height apart, the first
  // baseline one line height below the top; aligned within the box. Lines that do not fit
  // below the bottom are dropped. Returns the number of lines printed.
  int PrintInBox(const QString& text, double left, double top, double right, double bottom,
                 TAlign align = TAlign::Left);

  // ---- drawing (the face of a program-generated form) -----------------------------------------
  double PenWidth() const { return FPenWidth; }
  void SetPenWidth(double inches) { FPenWidth = inches > 0 ? inches : 0; }
  quint32 PenColor() const { return FPenColor; }
  void SetPenColor(quint32 rgb) { FPenColor = rgb; }
  void Line(double x1, double y1, double x2, double y2);
  void Rectangle(double left, double top, double right, double bottom);
  void RoundRect(double left, double top, double right, double bottom, double radius);
  void FillRect(double left, double top, double right, double bottom, quint32 rgb);
  void ShadeRect(double left, double top, double right, double bottom, double darkness);
  void Bar(double left, double top, double right, double bottom);  // bar code bar, solid black
  // Items drawn while this is on show only in the preview (label outlines).
  void SetPreviewOnly(bool on) { FPreviewOnly = on; }
  bool PreviewOnly() const { return FPreviewOnly; }

  // ---- pages ----------------------------------------------------------------------------------
  void NewPage();
  int CurrentPage() const { return FPage; }  // 1 for the first page of a job
  int PageCount() const { return FPagesHandedOver + FJob.PageCount(); }
  double PageWidth() const;  // inches, with the orientation applied
  double PageHeight() const;

  // ---- origin and section ---------------------------------------------------------------------
  // The origin (absolute inches on the sheet) that every position is measured from; the section
  // (relative to the origin) gives Println and NewLine their left edge.
  void SetOrigin(double x, double y);
  double OriginX() const { return FOriginX; }
  double OriginY() const { return FOriginY; }
  void SetSection(double left, double top, double right, double bottom);
  void ResetSection();  // origin and section back to the whole sheet
  double SectionLeft() const { return FSectionLeft; }
  double SectionTop() const { return FSectionTop; }
  double SectionRight() const { return FSectionRight; }
  double SectionBottom() const { return FSectionBottom; }

  // ---- printer choice -------------------------------------------------------------------------
  QStringList Printers() const;
  bool SelectPrinter(const QString& name);  // false when no such printer (the name is kept)
  QString PrinterName() const { return FSettings.PrinterName; }
  QStringList Papers() const;
  QStringList Bins() const;
  void SelectPaper(const QString& name);
  void SelectBin(const QString& name);
  TOrientation Orientation() const { return FSettings.Orientation; }
  void SetOrientation(TOrientation orientation) { FSettings.Orientation = orientation; }
  bool SupportCollate() const;
  bool SupportDuplex() const;
  bool Collate() const { return FSettings.Collate; }
  void SetCollate(bool on) { FSettings.Collate = on; }
  TDuplex Duplex() const { return FSettings.Duplex; }
  void SetDuplex(TDuplex duplex) { FSettings.Duplex = duplex; }
  int Copies() const { return FSettings.Copies; }
  void SetCopies(int copies) { FSettings.Copies = copies < 1 ? 1 : copies; }
  const TPrinterSettings& PrinterSettings() const { return FSettings; }
  void SetPrinterSettings(const TPrinterSettings& settings) { FSettings = settings; }
  // The printer target asked for printers (the global one unless set).
  void SetPrinterTarget(TPrinterTarget* target) { FTarget = target; }
  TPrinterTarget& Target() const;

 private:
  struct TPos {
    double X, Y;
  };
  double ToInchX(double v) const;  // caller units relative to the origin -> sheet inches
  double ToInchY(double v) const;
  double ToInchLen(double v) const;
  double FromInchLen(double v) const;
  void SetStyleBit(quint8 bit, bool on);
  void AddItem(TDisplayItem item);
  void AddText(double x, const QString& text, TAlign align);
  void EnsurePage();
  void HandOverLastPage();
  bool ReusePageHandedOver();

  TReportJob FJob;
  bool FPrinting = false;
  int FPage = 0;
  double FXPos = 0, FYPos = 0;
  QList<TPos> FPosStack;
  TFontSpec FFont;
  QList<TFontSpec> FFontStack;
  double FUnitsFactor = 1.0, FScaleX = 100.0, FScaleY = 100.0;
  double FOriginX = 0, FOriginY = 0;
  double FSectionLeft = 0, FSectionTop = 0, FSectionRight = 0, FSectionBottom = 0;
  double FPenWidth = 0.01;
  quint32 FPenColor = clBlack;
  bool FPreviewOnly = false;
  TPrinterSettings FSettings;
  TPrinterTarget* FTarget = nullptr;
  std::function<void(const TPage& page)> FPageSink;
  int FPagesHandedOver = 0;  // finished pages given to the sink and no longer in FJob
};
