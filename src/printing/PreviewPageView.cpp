#include "printing/PreviewPageView.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "engine/Render.h"
#include "platform/Exceptions.h"

namespace {
const QColor kDesk(128, 128, 128);
const QColor kShadow(40, 40, 40);
constexpr int kWheelUnit = 120;  // one notch of a mouse wheel
}  // namespace

TPreviewPageView::TPreviewPageView(QWidget* parent) : QAbstractScrollArea(parent) {
  setObjectName(QStringLiteral("PageView"));
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setAutoFillBackground(false);
}

void TPreviewPageView::SetReader(TSnapshotReader* reader) {
  FReader = reader;
  FPage = 0;
  Invalidate();
}

int TPreviewPageView::PageCount() const {
  return FReader && FReader->IsOpen() ? FReader->PageCount() : 0;
}

void TPreviewPageView::SetPage(int index) {
  index = std::clamp(index, 0, std::max(0, PageCount() - 1));
  if (index == FPage && !FCache.isNull()) return;
  FPage = index;
  FCache = QImage();
  viewport()->update();
}

void TPreviewPageView::SetZoom(int percent) {
  if (percent == FZoom) return;
  FZoom = percent;
  Invalidate();
}

void TPreviewPageView::SetMarginPercent(double percent) {
  FMarginPercent = std::max(0.0, percent);
  Invalidate();
}

void TPreviewPageView::SetShadowDepth(int pixels) {
  FShadow = std::max(0, pixels);
  Invalidate();
}

void TPreviewPageView::SetGridLines(bool on) {
  FGrid = on;
  Invalidate();
}

void TPreviewPageView::Invalidate() {
  FCache = QImage();
  UpdateScrollBars();
  viewport()->update();
}

double TPreviewPageView::Dpi() const {
  return logicalDpiX() * FZoom / 100.0;
}

QSize TPreviewPageView::PagePixels() const {
  if (PageCount() == 0) return {};
  return QSize(int(std::lround(FReader->PageWidth() * Dpi())),
               int(std::lround(FReader->PageHeight() * Dpi())));
}

int TPreviewPageView::MarginPixels() const {
  return int(std::lround(PagePixels().width() * FMarginPercent / 100.0));
}

QSize TPreviewPageView::ContentSize() const {
  const QSize page = PagePixels();
  const int extra = 2 * MarginPixels() + FShadow;
  return QSize(page.width() + extra, page.height() + extra);
}

void TPreviewPageView::UpdateScrollBars() {
  const QSize content = ContentSize();
  const QSize view = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
  verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
  horizontalScrollBar()->setPageStep(view.width());
  verticalScrollBar()->setPageStep(view.height());
  horizontalScrollBar()->setSingleStep(StepSize());
  verticalScrollBar()->setSingleStep(StepSize());
}

int TPreviewPageView::StepSize() const {
  return std::max(20, viewport()->height() / 10);
}

int TPreviewPageView::ScrollY() const {
  return verticalScrollBar()->value();
}
int TPreviewPageView::MaxScrollY() const {
  return verticalScrollBar()->maximum();
}
int TPreviewPageView::ScrollX() const {
  return horizontalScrollBar()->value();
}
int TPreviewPageView::MaxScrollX() const {
  return horizontalScrollBar()->maximum();
}
void TPreviewPageView::SetScrollY(int y) {
  verticalScrollBar()->setValue(y);
}
void TPreviewPageView::SetScrollX(int x) {
  horizontalScrollBar()->setValue(x);
}

QRect TPreviewPageView::PageRect() const {
  const QSize page = PagePixels();
  const QSize content = ContentSize();
  const QSize view = viewport()->size();
  const int margin = MarginPixels();
  // A page smaller than the window sits in its middle; a larger one scrolls.
  const int x = content.width() <= view.width() ? (view.width() - content.width()) / 2 + margin
                                                : margin - ScrollX();
  const int y = content.height() <= view.height() ? (view.height() - content.height()) / 2 + margin
                                                  : margin - ScrollY();
  return QRect(QPoint(x, y), page);
}

// Only the page on show is decoded and rendered, once per page and zoom.
const QImage& TPreviewPageView::PageImage() {
  if (!FCache.isNull() || FPage >= PageCount()) return FCache;
  TReportJob one;
  one.PageWidth = FReader->PageWidth();
  one.PageHeight = FReader->PageHeight();
  try {
    one.Pages.append(FReader->Page(FPage));
  } catch (const EReportException&) {
    // A damaged page shows blank; the window reported it when the page was chosen.
  }
  // Drawn in the screen's own pixels, so a scaled screen shows it as sharp as at 100 %.
  const qreal ratio = viewport()->devicePixelRatioF();
  FCache = RenderPageImage(one, 0, Dpi() * ratio, true);
  FCache.setDevicePixelRatio(ratio);
  return FCache;
}

void TPreviewPageView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), kDesk);
  if (PageCount() == 0) return;
  const QRect page = PageRect();
  painter.fillRect(page.translated(FShadow, FShadow), kShadow);
  painter.fillRect(page, Qt::white);
  painter.drawImage(page.topLeft(), PageImage());
  if (FGrid) DrawGrid(painter, page);
  painter.setPen(Qt::black);
  painter.drawRect(page.adjusted(0, 0, -1, -1));
}

// Inch lines over the page, for checking positions by eye.
void TPreviewPageView::DrawGrid(QPainter& painter, const QRect& page) const {
  painter.setPen(QColor(160, 190, 230));
  const double dpi = Dpi();
  for (double x = dpi; x < page.width(); x += dpi)
    painter.drawLine(page.left() + int(x), page.top(), page.left() + int(x), page.bottom());
  for (double y = dpi; y < page.height(); y += dpi)
    painter.drawLine(page.left(), page.top() + int(y), page.right(), page.top() + int(y));
}

void TPreviewPageView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void TPreviewPageView::scrollContentsBy(int, int) {
  viewport()->update();
}

// The preview window owns every key, including those a scroll area would take for itself.
void TPreviewPageView::keyPressEvent(QKeyEvent* event) {
  event->ignore();
}

void TPreviewPageView::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  const int steps = -delta / kWheelUnit;
  emit WheelSteps(steps != 0 ? steps : (delta > 0 ? -1 : 1));
  event->accept();
}
