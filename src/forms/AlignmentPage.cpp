#include "forms/AlignmentPage.h"

#include <QLocale>
#include <cmath>
#include <cstring>

#include "core/Utils.h"
#include "engine/PagePrinter.h"
#include "engine/ReportProject.h"
#include "forms/FormFace.h"
#include "forms/FormRegistry.h"

namespace {
constexpr double kMarkSize = 12;  // the red copy's Courier New
constexpr double kDefaultRoom = 1.0;
constexpr double kHairline = 0.005;
constexpr double kRulerAt = 0.28;  // the rulers' axis, from the top and left edges
constexpr double kMm = 1 / 25.4;
const QString kSmallFont = QStringLiteral("Arial");

bool SameText(const char* a, const char* b) {
  return (!a && !b) || (a && b && std::strcmp(a, b) == 0);
}

bool IsPayerTin(const TValueDef& v) {
  return v.Src == TSrc::PayerTIN || v.Src == TSrc::PayerFIDN;
}

bool IsRecipientTin(const TValueDef& v) {
  return v.Src == TSrc::RecipientFIDN || (v.Src == TSrc::PayeeText && SameText(v.A, "SSN_IDNum"));
}

// Whether a report parameter prints the field the red copy item prints.
bool PrintsSameField(const TValueDef& item, const TValueDef& param) {
  if (IsPayerTin(item)) return IsPayerTin(param);
  if (IsRecipientTin(item)) return IsRecipientTin(param);
  return item.A && SameText(item.A, param.A) && SameText(item.B, param.B);
}

double ParamRoom(const TFormDef& form, const TReportLayout& face, const TValueDef& text) {
  std::vector<TParamDef> params(form.PayerParams.begin(), form.PayerParams.end());
  for (const TParamDef& p : PayeeParams(form)) params.push_back(p);
  for (const TParamDef& p : params)
    if (PrintsSameField(text, p.Value))
      if (const TParamField* field = face.Param(QLatin1String(p.Name)); field && field->Width > 0)
        return field->Width;
  return kDefaultRoom;
}

bool IsCheckMark(const TRedCopyItem& item) {
  return item.Text.Src == TSrc::Flag ||
         (item.Text.Src == TSrc::Literal && SameText(item.Text.A, "X"));
}

// The item's name where it reads in its room, else as many "X" as the room takes in the red
// copy's own size: a box too narrow for its name still shows how far its text reaches.
QString Placeholder(const QString& item, double room) {
  constexpr double kSmallestReadable = 7;
  const QString name = item.toUpper();
  if (FitFontSize(name, room) >= kSmallestReadable) return name;
  constexpr double kCharWidth = 0.1;  // Courier New at 12 points
  return QString(std::max(1, int(room / kCharWidth)), QLatin1Char('X'));
}

bool AlreadyMarked(const QList<TAlignmentMark>& marks, double x, double y) {
  for (const TAlignmentMark& m : marks)
    if (std::abs(m.X - x) < 1e-9 && std::abs(m.Y - y) < 1e-9) return true;
  return false;
}

QString Number(double inches) {
  return QLocale::c().toString(inches, 'f', 4);
}

// A scale of ticks along one edge: inches on the outer side, millimetres on the inner one, each
// number beside its long tick so that none reaches further into the sheet than the ticks.
void Ruler(TPagePrinter& printer, double length, bool alongTop) {
  auto tick = [&](double at, double from, double to) {
    if (alongTop)
      printer.Line(at, from, at, to);
    else
      printer.Line(from, at, to, at);
  };
  // along: where on the edge; across: the baseline (top) or left end (left) of the number.
  auto label = [&](double along, double across, const QString& text) {
    if (alongTop)
      printer.PrintXY(along + 0.02, across, text);
    else
      printer.PrintXY(across, along + 0.025, text);
  };
  printer.SetPenWidth(kHairline);
  if (alongTop)
    printer.Line(0, kRulerAt, length, kRulerAt);
  else
    printer.Line(kRulerAt, 0, kRulerAt, length);
  printer.SetFont(kSmallFont, 6);
  for (int eighth = 1; eighth < int(length * 8); ++eighth) {
    const double at = eighth / 8.0;
    const double reach = eighth % 8 == 0   ? 0.12
                         : eighth % 4 == 0 ? 0.08
                         : eighth % 2 == 0 ? 0.06
                                           : 0.04;
    tick(at, kRulerAt - reach, kRulerAt);
    // Above its tick on the left edge, where the tick would strike it through.
    if (eighth % 8 == 0 && alongTop) label(at, kRulerAt - 0.07, QString::number(eighth / 8));
    if (eighth % 8 == 0 && !alongTop)
      label(at - 0.07, kRulerAt - 0.11, QString::number(eighth / 8));
  }
  printer.SetFontSize(5);
  for (int mm = 1; mm < int(length / kMm); ++mm) {
    const double at = mm * kMm;
    const double reach = mm % 10 == 0 ? 0.065 : mm % 5 == 0 ? 0.04 : 0.025;
    tick(at, kRulerAt, kRulerAt + reach);
    if (mm % 10 == 0) label(at, alongTop ? kRulerAt + 0.065 : kRulerAt + 0.07, QString::number(mm));
  }
}

void CrossHair(TPagePrinter& printer, double x, double y, int slot) {
  constexpr double arm = 0.12;
  printer.SetPenWidth(kHairline);
  printer.Line(x - arm, y, x + arm, y);
  printer.Line(x, y - arm, x, y + arm);
  printer.SetFont(kSmallFont, 6);
  printer.PrintXY(x + 0.03, y - 0.03, QStringLiteral("slot %1").arg(slot));
}

void DrawMark(TPagePrinter& printer, const TAlignmentMark& m) {
  printer.SetFont(QStringLiteral("Courier New"), kMarkSize);
  if (m.Width > 0) printer.SetFontSize(FitFontSize(m.Text, m.Width));
  printer.GotoXY(kSlotCornerX, m.Y);
  if (m.Align == TAlign::Right)
    printer.PrintRight(m.Text, m.X);
  else if (m.Align == TAlign::Center)
    printer.PrintCenter(m.Text, m.X);
  else
    printer.PrintLeft(m.Text, m.X);
  if (m.Width <= 0) return;
  // The room along the baseline, a tick where the text starts and one where its room ends.
  const double left = m.Align == TAlign::Right    ? m.X - m.Width
                      : m.Align == TAlign::Center ? m.X - m.Width / 2
                                                  : m.X;
  printer.SetPenWidth(kHairline);
  printer.Line(left, m.Y + 0.02, left + m.Width, m.Y + 0.02);
  printer.Line(left, m.Y + 0.05, left, m.Y - 0.12);
  printer.Line(left + m.Width, m.Y + 0.05, left + m.Width, m.Y - 0.04);
}

// The slot after which the page's own line fits, or the last slot when none leaves room.
double CaptionBaseline(const TFormDef& form, const TReportLayout& face, double pageHeight) {
  const auto tops = form.RedCopy.SlotTops;
  for (size_t i = 0; i + 1 < tops.size(); ++i) {
    double lowest = 0, highest = 99;
    for (const TAlignmentMark& m : AlignmentMarks(form, face, tops[i], 0))
      lowest = std::max(lowest, m.Y);
    for (const TAlignmentMark& m : AlignmentMarks(form, face, tops[i + 1], 0))
      highest = std::min(highest, m.Y - 0.12);
    if (highest - lowest >= 0.4) return lowest + 0.22;
  }
  return pageHeight - 0.3;
}
}  // namespace

QList<TAlignmentMark> AlignmentMarks(const TFormDef& form, const TReportLayout& face, double top,
                                     double ho) {
  QList<TAlignmentMark> marks;
  double fitted = 0;
  for (const TRedCopyItem& item : form.RedCopy.Items) {
    TAlignmentMark m;
    m.Item = QLatin1String(item.Item);
    m.X = ho + item.Column;
    m.Y = top + item.Row;
    m.Align = item.Align;
    if (IsCheckMark(item)) {
      m.Text = QStringLiteral("X");
    } else if (item.Text.Src == TSrc::TaxYear) {
      m.Text = TaxYearText();
    } else {
      switch (item.Fit) {
        case TFit::Text:
        case TFit::Field:
          m.Width = fitted = item.FitWidth;
          break;
        case TFit::Same:
          m.Width = fitted > 0 ? fitted : kDefaultRoom;
          break;
        case TFit::None:
          m.Width = ParamRoom(form, face, item.Text);
          break;
      }
      m.Text = Placeholder(m.Item, m.Width);
    }
    // Items that print in turn at one place (a one-line recipient name or the second of two)
    // are marked once.
    if (!AlreadyMarked(marks, m.X, m.Y)) marks.append(m);
  }
  return marks;
}

void PrintAlignmentPage(const TFormDef& form, TPagePrinter& printer, const TFormOffsets& offsets,
                        const TReportLayout& face) {
  Ruler(printer, printer.PageWidth(), true);
  Ruler(printer, printer.PageHeight(), false);
  const auto tops = form.RedCopy.SlotTops;
  for (size_t slot = 0; slot < tops.size(); ++slot) {
    const double top = tops[slot] + offsets.VO;
    CrossHair(printer, kSlotCornerX + offsets.HO, top, int(slot) + 1);
    for (const TAlignmentMark& m : AlignmentMarks(form, face, top, offsets.HO))
      DrawMark(printer, m);
  }
  const double y = CaptionBaseline(form, face, printer.PageHeight()) + offsets.VO;
  printer.SetFont(kSmallFont, 7);
  printer.PrintXY(
      kSlotCornerX, y,
      QStringLiteral("Alignment page for %1 red copies, printed with the offsets horizontal %2 "
                     "and vertical %3 inches.")
          .arg(QString::fromLatin1(form.Name), Number(offsets.HO), Number(offsets.VO)));
  printer.PrintXY(kSlotCornerX, y + 0.13,
                  QStringLiteral("Lay a red form on this page against the light: each mark stands "
                                 "where its text prints. Enter the shift in Print Setup and print "
                                 "this page again."));
}

void PrintAlignmentPage(const TFormDef& form, TPagePrinter& printer, const TFormOffsets& offsets) {
  PrintAlignmentPage(
      form, printer, offsets,
      TReportProject::LoadLayout(FormProjectFile(), QString::fromLatin1(form.Report)));
}
