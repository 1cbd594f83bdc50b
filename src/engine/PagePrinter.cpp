#include "engine/PagePrinter.h"

#include <QRegularExpression>
#include <algorithm>

#include "engine/Fonts.h"

TPagePrinter::TPagePrinter() {
  FFont = TFontSpec{};
  ResetSection();
}

TPagePrinter::~TPagePrinter() = default;

// ---- job ----------------------------------------------------------------------------------------

void TPagePrinter::BeginDoc() {
  const QString title = FJob.Title;
  FJob = TReportJob{};
  FJob.Title = title;
  FJob.PageWidth = PageWidth();
  FJob.PageHeight = PageHeight();
  FJob.Pages.append(TPage{});
  FPagesHandedOver = 0;
  FPage = 1;
  FPrinting = true;
  FXPos = FYPos = 0;
  FPosStack.clear();
  FFontStack.clear();
  FFont = TFontSpec{};
  FPreviewOnly = false;
  ResetSection();
}

void TPagePrinter::EndDoc() {
  if (FPrinting) HandOverLastPage();
  FPrinting = false;
}

// With a page sink the finished page goes out at once and only an empty page stays behind, so
// a long job does not pile up in memory.
void TPagePrinter::HandOverLastPage() {
  if (!FPageSink || FJob.Pages.isEmpty()) return;
  FPageSink(FJob.Pages.last());
  FJob.Pages.last() = TPage{};
}

// The page just handed over makes room for the next: the job holds one page however long.
bool TPagePrinter::ReusePageHandedOver() {
  if (!FPageSink) return false;
  ++FPagesHandedOver;
  return true;
}

TReportJob TPagePrinter::TakeJob() {
  TReportJob job = std::move(FJob);
  FJob = TReportJob{};
  FPagesHandedOver = 0;
  FJob.Title = job.Title;
  return job;
}

void TPagePrinter::EnsurePage() {
  // Drawing outside BeginDoc still records: the first drawing opens page 1.
  if (FJob.Pages.isEmpty()) {
    FJob.PageWidth = PageWidth();
    FJob.PageHeight = PageHeight();
    FJob.Pages.append(TPage{});
    FPage = 1;
  }
}

void TPagePrinter::AddItem(TDisplayItem item) {
  EnsurePage();
  item.PreviewOnly = FPreviewOnly;
  FJob.Pages.last().Items.append(std::move(item));
}

// ---- units
// ----------------------------------------------------------------------------------------

void TPagePrinter::SetUnitsFactor(double factor) {
  if (factor > 0) FUnitsFactor = factor;
}
void TPagePrinter::SetScaleX(double percent) {
  if (percent > 0) FScaleX = percent;
}
void TPagePrinter::SetScaleY(double percent) {
  if (percent > 0) FScaleY = percent;
}

double TPagePrinter::ToInchX(double v) const {
  return FOriginX + v / FUnitsFactor * FScaleX / 100.0;
}
double TPagePrinter::ToInchY(double v) const {
  return FOriginY + v / FUnitsFactor * FScaleY / 100.0;
}
double TPagePrinter::ToInchLen(double v) const {
  return v / FUnitsFactor * FScaleX / 100.0;
}
double TPagePrinter::FromInchLen(double v) const {
  return v * FUnitsFactor * 100.0 / FScaleX;
}

// ---- cursor
// ---------------------------------------------------------------------------------------

void TPagePrinter::GotoXY(double x, double y) {
  FXPos = x;
  FYPos = y;
}

void TPagePrinter::PushPos() {
  FPosStack.append({FXPos, FYPos});
}

void TPagePrinter::PopPos() {
  if (FPosStack.isEmpty()) return;
  const TPos p = FPosStack.takeLast();
  FXPos = p.X;
  FYPos = p.Y;
}

// ---- fonts
// ----------------------------------------------------------------------------------------

void TPagePrinter::SetFont(const QString& name, double size) {
  if (size <= 0) return;
  FFont = TFontSpec{};
  FFont.Name = name;
  FFont.Size = size;
}

void TPagePrinter::SetFontSize(double size) {
  if (size > 0) FFont.Size = size;
}

void TPagePrinter::SetStyleBit(quint8 bit, bool on) {
  FFont.Style = on ? quint8(FFont.Style | bit) : quint8(FFont.Style & ~bit);
}

void TPagePrinter::PushFont() {
  FFontStack.append(FFont);
}

void TPagePrinter::PopFont() {
  if (!FFontStack.isEmpty()) FFont = FFontStack.takeLast();
}

double TPagePrinter::TextWidth(const QString& text) const {
  return FromInchLen(TextWidthInches(FFont, text));
}

// ---- text
// -----------------------------------------------------------------------------------------

void TPagePrinter::AddText(double x, const QString& text, TAlign align) {
  const double width = TextWidth(text);
  double right = x;
  if (align == TAlign::Left) right = x + width;
  if (align == TAlign::Center) right = x + width / 2;
  FXPos = right;
  if (text.isEmpty()) return;  // nothing to draw, no error
  AddItem(TDisplayItem::MakeText(ToInchX(x), ToInchY(FYPos), text, FFont, align));
}

void TPagePrinter::Print(const QString& text) {
  AddText(FXPos, text, TAlign::Left);
}

void TPagePrinter::PrintXY(double x, double y, const QString& text) {
  FYPos = y;
  AddText(x, text, TAlign::Left);
}

void TPagePrinter::PrintLeft(const QString& text, double x) {
  AddText(x, text, TAlign::Left);
}
void TPagePrinter::PrintRight(const QString& text, double x) {
  AddText(x, text, TAlign::Right);
}
void TPagePrinter::PrintCenter(const QString& text, double x) {
  AddText(x, text, TAlign::Center);
}

void TPagePrinter::Println(const QString& text) {
  Print(text);
  NewLine();
}

void TPagePrinter::NewLine() {
  FXPos = FSectionLeft;
  FYPos += LineHeight();
}

namespace {
QStringList WrapWords(const QString& text, double width,
                      const std::function<double(const QString&)>& measure) {
  QStringList lines;
  for (const QString& para : text.split(QLatin1Char('\n'))) {
    QString line;
    for (const QString& word : para.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
      if (!line.isEmpty() && measure(candidate) > width) {
        lines.append(line);
        line = word;
      } else {
        line = candidate;
      }
    }
    lines.append(line);
  }
  return lines;
}
}  // namespace

int TPagePrinter::PrintInBox(const QString& text, double left, double top, double right,
                             double bottom, TAlign align) {
  const QStringList lines =
      WrapWords(text, right - left, [this](const QString& s) { return TextWidth(s); });
  const double x = align == TAlign::Left    ? left
                   : align == TAlign::Right ? right
                                            : (left + right) / 2;
  const double saveX = FXPos, saveY = FYPos;
  int printed = 0;
  double y = top + LineHeight();
  for (const QString& line : lines) {
    if (y > bottom + 1e-9) break;
    FYPos = y;
    AddText(x, line, align);
    y += LineHeight();
    ++printed;
  }
  FXPos = saveX;
  FYPos = saveY;
  return printed;
}

// ---- drawing
// --------------------------------------------------------------------------------------

void TPagePrinter::Line(double x1, double y1, double x2, double y2) {
  AddItem(TDisplayItem::MakeLine(ToInchX(x1), ToInchY(y1), ToInchX(x2), ToInchY(y2),
                                 ToInchLen(FPenWidth), FPenColor));
}

void TPagePrinter::Rectangle(double left, double top, double right, double bottom) {
  AddItem(TDisplayItem::MakeRect(ToInchX(left), ToInchY(top), ToInchX(right), ToInchY(bottom),
                                 ToInchLen(FPenWidth), true, false, clBlack, FPenColor));
}

void TPagePrinter::RoundRect(double left, double top, double right, double bottom, double radius) {
  TDisplayItem item =
      TDisplayItem::MakeRect(ToInchX(left), ToInchY(top), ToInchX(right), ToInchY(bottom),
                             ToInchLen(FPenWidth), true, false, clBlack, FPenColor);
  item.Radius = ToInchLen(std::max(0.0, radius));
  AddItem(item);
}

void TPagePrinter::FillRect(double left, double top, double right, double bottom, quint32 rgb) {
  AddItem(TDisplayItem::MakeRect(ToInchX(left), ToInchY(top), ToInchX(right), ToInchY(bottom), 0,
                                 false, true, rgb));
}

void TPagePrinter::ShadeRect(double left, double top, double right, double bottom,
                             double darkness) {
  FillRect(left, top, right, bottom, GreyColor(darkness));
}

void TPagePrinter::Bar(double left, double top, double right, double bottom) {
  AddItem(TDisplayItem::MakeBar(ToInchX(left), ToInchY(top), ToInchX(right), ToInchY(bottom)));
}

// ---- pages
// ----------------------------------------------------------------------------------------

void TPagePrinter::NewPage() {
  EnsurePage();
  HandOverLastPage();
  if (!ReusePageHandedOver()) FJob.Pages.append(TPage{});
  ++FPage;
  ResetSection();
  FXPos = 0;
  FYPos = 0;
  if (OnNewPage) OnNewPage(FPage);
}

double TPagePrinter::PageWidth() const {
  double w = 8.5, h = 11.0;
  TPrinterTarget::PaperSizeInches(FSettings.PaperName, w, h);
  return FSettings.Orientation == TOrientation::Landscape ? h : w;
}

double TPagePrinter::PageHeight() const {
  double w = 8.5, h = 11.0;
  TPrinterTarget::PaperSizeInches(FSettings.PaperName, w, h);
  return FSettings.Orientation == TOrientation::Landscape ? w : h;
}

// ---- origin and section
// ---------------------------------------------------------------------------

void TPagePrinter::SetOrigin(double x, double y) {
  FOriginX = x;
  FOriginY = y;
}

void TPagePrinter::SetSection(double left, double top, double right, double bottom) {
  FSectionLeft = left;
  FSectionTop = top;
  FSectionRight = right;
  FSectionBottom = bottom;
}

void TPagePrinter::ResetSection() {
  FOriginX = FOriginY = 0;
  SetSection(0, 0, PageWidth(), PageHeight());
}

// ---- printer choice
// -------------------------------------------------------------------------------

TPrinterTarget& TPagePrinter::Target() const {
  return FTarget ? *FTarget : PrinterTarget();
}

QStringList TPagePrinter::Printers() const {
  return Target().PrinterNames();
}

bool TPagePrinter::SelectPrinter(const QString& name) {
  FSettings.PrinterName = name;
  return Target().PrinterNames().contains(name);
}

QStringList TPagePrinter::Papers() const {
  return Target().Papers(FSettings.PrinterName);
}
QStringList TPagePrinter::Bins() const {
  return Target().Bins(FSettings.PrinterName);
}
void TPagePrinter::SelectPaper(const QString& name) {
  FSettings.PaperName = name;
}
void TPagePrinter::SelectBin(const QString& name) {
  FSettings.BinName = name;
}
bool TPagePrinter::SupportCollate() const {
  return Target().SupportsCollate(FSettings.PrinterName);
}
bool TPagePrinter::SupportDuplex() const {
  return Target().SupportsDuplex(FSettings.PrinterName);
}
