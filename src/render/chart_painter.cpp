#include "render/chart_painter.h"
#include "render/fonts.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QString>
#include <QStringList>

namespace diaspring {
namespace {

constexpr double kTwipsPerPixel = 15.0;

// One device pixel expressed in the painter's logical units.
double devicePixel(const QPainter& painter) {
  const QTransform t = painter.deviceTransform();
  const double s = std::sqrt(std::fabs(t.determinant()));
  return s > 0.0 ? 1.0 / s : 1.0;
}

}  // namespace

QFont ChartStyle::defaultChartFont() {
  QFont font = textFont();
  font.setPixelSize(10);
  return font;
}

QColor toQColor(Color color) {
  return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                static_cast<int>((color >> 16) & 0xFFu));
}

ReplayState ChartPainter::start(const DisplayList& list) {
  ReplayState state;
  state.scale = list.scaleBeforeVisible();
  state.drawWidth = std::max(1, list.drawWidthBeforeVisible());
  state.next = list.visibleFrom();
  return state;
}

double ChartPainter::magnification(const QRectF& target) const {
  const QSizeF natural = style_.naturalSize;
  if (natural.width() <= 0.0 || natural.height() <= 0.0) return 1.0;
  return std::min(target.width() / natural.width(), target.height() / natural.height());
}

QPointF ChartPainter::map(const QRectF& target, const std::optional<DrawOp>& scale, float x,
                          float y) const {
  if (!scale) {
    const double k = magnification(target) / kTwipsPerPixel;
    return {target.left() + x * k, target.top() + y * k};
  }
  const double w = double(scale->x2) - double(scale->x1);
  const double h = double(scale->y2) - double(scale->y1);
  // A degenerate coordinate system cannot be set; map everything to the corner.
  const double fx = w != 0.0 ? (double(x) - scale->x1) / w : 0.0;
  const double fy = h != 0.0 ? (double(y) - scale->y1) / h : 0.0;
  return {target.left() + fx * target.width(), target.top() + fy * target.height()};
}

void ChartPainter::paint(QPainter& painter, const QRectF& target, const DisplayList& list) const {
  if (style_.background.isValid()) painter.fillRect(target, style_.background);
  ReplayState state = start(list);
  paintRange(painter, target, list, state, list.size());
}

void ChartPainter::paintRange(QPainter& painter, const QRectF& target, const DisplayList& list,
                              ReplayState& state, std::size_t to) const {
  to = std::min(to, list.size());
  if (state.next >= to) return;

  painter.save();
  painter.setClipRect(target, Qt::IntersectClip);
  painter.setRenderHint(QPainter::Antialiasing, style_.antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing, true);

  const double k = magnification(target);
  const bool raster = painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::Raster;
  const double minDot = devicePixel(painter);
  QFont font = style_.font;
  const QFontMetricsF metrics(font, painter.device());
  const double ascent = metrics.ascent();

  QPen pen(style_.foreground);
  pen.setCapStyle(Qt::SquareCap);
  pen.setJoinStyle(Qt::MiterJoin);

  DisplayList::OpIterator it = list.packed().at(state.next);
  for (; state.next < to; ++state.next, ++it) {
    const DrawOp op = *it;
    switch (op.kind) {
      case DrawOp::Kind::Scale:
        state.scale = op;
        break;
      case DrawOp::Kind::DrawWidth:
        state.drawWidth = std::max(1, static_cast<int>(op.x1));
        break;
      case DrawOp::Kind::Cls:
        if (style_.background.isValid()) painter.fillRect(target, style_.background);
        break;
      case DrawOp::Kind::Line: {
        pen.setColor(op.hasColor ? toQColor(op.color) : style_.foreground);
        pen.setWidthF(std::max(minDot, state.drawWidth * k));
        painter.setPen(pen);
        painter.drawLine(map(target, state.scale, op.x1, op.y1), map(target, state.scale, op.x2, op.y2));
        break;
      }
      case DrawOp::Kind::PSet: {
        // A run of points of one colour (the traced curve is 10,001 of them)
        // goes to a vector device as one path, one element instead of
        // thousands; a raster fills its small squares faster one by one.
        const double side = std::max(minDot, state.drawWidth * k);
        const QColor color = toQColor(op.color);
        QPainterPath dots;
        dots.setFillRule(Qt::WindingFill);  // neighbouring dots overlap: keep both filled
        for (DrawOp dotOp = op;;) {
          const QPointF at = map(target, state.scale, dotOp.x1, dotOp.y1);
          const QRectF dot(at.x() - side / 2, at.y() - side / 2, side, side);
          if (raster) painter.fillRect(dot, color);
          else dots.addRect(dot);
          if (state.next + 1 >= to) break;
          DisplayList::OpIterator following = std::next(it);
          const DrawOp nextOp = *following;
          if (nextOp.kind != DrawOp::Kind::PSet || nextOp.color != op.color) break;
          ++state.next;
          it = following;
          dotOp = nextOp;
        }
        if (!raster) painter.fillPath(dots, color);
        break;
      }
      case DrawOp::Kind::Print: {
        // The text hangs below its anchor: the anchor is its top-left corner.
        const QPointF at = map(target, state.scale, op.x1, op.y1);
        painter.save();
        painter.translate(at);
        painter.scale(k, k);
        painter.setFont(font);
        painter.setPen(style_.foreground);
        painter.drawText(QPointF(0.0, ascent), QString::fromStdString(list.text(op)));
        painter.restore();
        break;
      }
    }
  }
  painter.restore();
}

}  // namespace diaspring
