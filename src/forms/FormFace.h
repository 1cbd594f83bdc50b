#pragma once
// The picture behind a form screen, drawn from the same report layout as the program-generated
// form, and the places of the screen's labels and box controls on it, taken from where that
// report prints its parameters: the screen and the paper cannot disagree.
#include <QFont>
#include <QList>
#include <QPixmap>
#include <QRect>
#include <QRectF>
#include <QString>

#include "engine/ReportProject.h"

class QWidget;

// The report project file the screens draw their pictures from: the data module's project when
// it has one, else the installed or built "TaxForms.rpj".
QString FormProjectFile();

class TFormFace {
 public:
  // area is the part of the sheet the picture shows, inches; dpi its scale on the screen.
  TFormFace(const QString& reportName, const QRectF& area, double dpi);

  const TReportLayout& Layout() const { return FLayout; }
  // The picture in PictureSize(), drawn for a screen of this device pixel ratio.
  QPixmap Picture(qreal devicePixelRatio = 1) const;
  QSize PictureSize() const;

  // The font of the texts on the picture, sized in its pixels: the texts keep their size on the
  // face whatever font resolution the desktop sets, so each fits the box it was made for.
  QFont TextFont() const;
  // The bold mark of a check box.
  QFont CheckFont() const;

  // One line of a caption of the face and where it is drawn, in pixels on the picture.
  struct TCaptionLine {
    QString Text;
    QRect Rect;
  };
  QList<TCaptionLine> CaptionLines() const;

  // Inches on the sheet to pixels on the picture.
  QPoint ToPixels(double x, double y) const;
  QRect ToPixels(const QRectF& inches) const;

  // Where a one-line text control of a parameter sits: as wide as the parameter's room, its
  // baseline on the parameter's. A check-mark parameter takes the whole box it prints in.
  QRectF ParamPlace(const QString& param, bool checkMark) const;
  // A place given in inches: left, baseline and width.
  static QRectF LinePlace(double x, double baseline, double width);
  // Puts widget on its place (in pixels on the picture).
  void Place(QWidget* widget, const QRectF& inches) const;
  // Puts a check box inside the square drawn for it, so the square's lines stay in sight.
  void PlaceInside(QWidget* widget, const QRectF& square) const;

 private:
  TReportLayout FLayout;
  QRectF FArea;
  double FDpi;
};
