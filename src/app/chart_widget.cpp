#include "chart_widget.h"

#include <cmath>
#include <utility>

#include <QPaintEvent>
#include <QPainter>

namespace diaspring::app {

ChartWidget::ChartWidget(QWidget* parent, ChartStyle style) : QFrame(parent), painter_(std::move(style)) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartWidget::chartChanged() {
  dropErased();
  update();
}

void ChartWidget::dropErased() {
  if (list_.visibleFrom() == 0) return;
  list_.discardErased();
  rasterValid_ = false;
}

void ChartWidget::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  rasterValid_ = false;
}

void ChartWidget::bringRasterUpToDate() {
  dropErased();
  const QSize logical = contentsRect().size();
  const qreal ratio = devicePixelRatioF();
  const QSize device(static_cast<int>(std::ceil(logical.width() * ratio)),
                     static_cast<int>(std::ceil(logical.height() * ratio)));
  if (list_.size() < state_.next || raster_.size() != device || raster_.devicePixelRatio() != ratio)
    rasterValid_ = false;

  const QRectF target(QPointF(0, 0), QSizeF(logical));
  if (!rasterValid_) {
    raster_ = QPixmap(device);
    raster_.setDevicePixelRatio(ratio);
    raster_.fill(painter_.style().background);
    state_ = ChartPainter::start(list_);
    rasterValid_ = true;
    replayed_ = 0;
    ++rebuilds_;
  }
  if (state_.next < list_.size() && !raster_.isNull()) {
    const std::size_t from = state_.next;
    QPainter p(&raster_);
    painter_.paintRange(p, target, list_, state_, list_.size());
    replayed_ += state_.next - from;
  }
}

void ChartWidget::paintEvent(QPaintEvent* event) {
  bringRasterUpToDate();
  QPainter p(this);
  p.drawPixmap(contentsRect().topLeft(), raster_);
  p.end();
  QFrame::paintEvent(event);  // the sunken border
}

}  // namespace diaspring::app
