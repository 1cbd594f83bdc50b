#include "forms/FormFace.h"

#include <QWidget>

#include "engine/Fonts.h"
#include "engine/PagePrinter.h"
#include "engine/Render.h"
#include "platform/Exceptions.h"
#include "platform/Resources.h"
#include "storage/DataModule.h"
#include "storage/Globals.h"

namespace {
// A one-line control is a little taller than the 10-point text of the paper, its baseline where
// the paper's is.
constexpr double kAboveBaseline = 0.15;
constexpr double kBelowBaseline = 0.04;
// The screen texts are a tenth of an inch of the face high (8-point Tahoma on the 110 dpi
// picture of a 96 dpi desktop), a check mark a little more.
constexpr double kTextHeight = 0.1;
constexpr double kCheckHeight = 0.12;
}  // namespace

QString FormProjectFile() {
  if (FrmDataModule && FrmDataModule->ReportProject &&
      !FrmDataModule->ReportProject->ProjectFile().isEmpty())
    return FrmDataModule->ReportProject->ProjectFile();
  return ReportProjectPath();
}

TFormFace::TFormFace(const QString& reportName, const QRectF& area, double dpi)
    : FLayout(TReportProject::LoadLayout(FormProjectFile(), reportName)), FArea(area), FDpi(dpi) {}

QPixmap TFormFace::Picture(qreal devicePixelRatio) const {
  TPagePrinter printer;
  printer.BeginDoc();
  TReportProject::DrawFace(printer, FLayout);
  printer.EndDoc();
  // Drawn in device pixels at the scale of the screen: a stretched picture would blur beside
  // the sharp text of the boxes.
  const double dpi = FDpi * devicePixelRatio;
  const QImage page = RenderPageImage(printer.Job(), 0, dpi);
  const QPoint corner(qRound(FArea.left() * dpi), qRound(FArea.top() * dpi));
  QImage picture = page.copy(QRect(corner, PictureSize() * devicePixelRatio));
  picture.setDevicePixelRatio(devicePixelRatio);
  return QPixmap::fromImage(picture);
}

QList<TFormFace::TCaptionLine> TFormFace::CaptionLines() const {
  QList<TCaptionLine> lines;
  for (const TFaceItem& f : FLayout.Face) {
    if (f.Kind != TFaceKind::Caption || !f.Copy.isEmpty()) continue;  // the picture draws no copy
    const double ascent = FontAscentInches(f.Font), descent = FontDescentInches(f.Font);
    double baseline = f.Y1;
    for (const QString& line : f.Text.split(QLatin1Char('\n'))) {
      const double width = TextWidthInches(f.Font, line);
      const double left = f.Align == TAlign::Right    ? f.X1 - width
                          : f.Align == TAlign::Center ? f.X1 - width / 2
                                                      : f.X1;
      lines.append({line, ToPixels(QRectF(left, baseline - ascent, width, ascent + descent))});
      baseline += f.Font.Size / 60.0;  // the printer's line height
    }
  }
  return lines;
}

QFont TFormFace::TextFont() const {
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(qRound(FDpi * kTextHeight));
  return font;
}

QFont TFormFace::CheckFont() const {
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(qRound(FDpi * kCheckHeight));
  font.setBold(true);
  return font;
}

QSize TFormFace::PictureSize() const {
  return ToPixels(FArea).size();
}

QPoint TFormFace::ToPixels(double x, double y) const {
  return {qRound((x - FArea.left()) * FDpi), qRound((y - FArea.top()) * FDpi)};
}

QRect TFormFace::ToPixels(const QRectF& inches) const {
  const QPoint a = ToPixels(inches.left(), inches.top());
  const QPoint b = ToPixels(inches.right(), inches.bottom());
  return QRect(a, b - QPoint(1, 1));
}

QRectF TFormFace::LinePlace(double x, double baseline, double width) {
  return QRectF(x, baseline - kAboveBaseline, width, kAboveBaseline + kBelowBaseline);
}

QRectF TFormFace::ParamPlace(const QString& param, bool checkMark) const {
  const TParamField* p = FLayout.Param(param);
  if (!p) {
    // A box of the face may stand for a control the report does not print.
    const QRectF box = FLayout.BoxRect(param);
    if (box.isNull())
      throw EReportException(
          QStringLiteral("The report \"%1\" has no place for \"%2\".").arg(FLayout.Name, param));
    return box;
  }
  if (checkMark && !p->Box.isEmpty()) return FLayout.BoxRect(p->Box);
  double left = p->X;
  if (p->Align == TAlign::Right) left -= p->Width;
  if (p->Align == TAlign::Center) left -= p->Width / 2;
  return LinePlace(left, p->Y, p->Width);
}

void TFormFace::Place(QWidget* widget, const QRectF& inches) const {
  widget->setGeometry(ToPixels(inches));
}

void TFormFace::PlaceInside(QWidget* widget, const QRectF& square) const {
  widget->setGeometry(ToPixels(square).adjusted(2, 2, -1, -1));
}
