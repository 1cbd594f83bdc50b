#pragma once
// The page area of the preview window: one page of a job at a zoom factor, centred on a grey
// desk with a margin and a drop shadow, scrolled with the scroll bars. Only the shown page is
// ever rendered, so the size of the job does not matter.
#include <QAbstractScrollArea>
#include <QImage>

class QPainter;

#include "engine/Snapshot.h"

class TPreviewPageView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit TPreviewPageView(QWidget* parent = nullptr);

  // The job's pages, read one at a time; not owned; null shows an empty desk.
  void SetReader(TSnapshotReader* reader);
  void SetPage(int index);  // 0-based; clamped to the job's pages
  int Page() const { return FPage; }
  void SetZoom(int percent);
  int Zoom() const { return FZoom; }
  void SetMarginPercent(double percent);
  void SetShadowDepth(int pixels);
  void SetGridLines(bool on);

  // Scroll positions in pixels; Max* are 0 when everything fits.
  int ScrollY() const;
  int MaxScrollY() const;
  int ScrollX() const;
  int MaxScrollX() const;
  void SetScrollY(int y);
  void SetScrollX(int x);
  int StepSize() const;  // one arrow-key or wheel step
  // The page rectangle in viewport coordinates (after centring and scrolling).
  QRect PageRect() const;
  QSize PagePixels() const;

 signals:
  void WheelSteps(int steps);  // positive = towards the user (scroll down)

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  int MarginPixels() const;
  QSize ContentSize() const;
  void UpdateScrollBars();
  void Invalidate();
  const QImage& PageImage();
  double Dpi() const;
  void DrawGrid(QPainter& painter, const QRect& page) const;

  int PageCount() const;

  TSnapshotReader* FReader = nullptr;
  int FPage = 0;
  int FZoom = 100;
  double FMarginPercent = 1.5;
  int FShadow = 5;
  bool FGrid = false;
  QImage FCache;
};
