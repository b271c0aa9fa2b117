#include "spring_picture.h"

#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "chart/spring_picture.h"

namespace diaspring::app {
namespace {

using namespace diaspring::picture;

QColor argb(std::uint32_t c) {
  return QColor(static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF),
                static_cast<int>(c >> 24));
}
QColor rgb(std::uint32_t c) { return argb(c | 0xFF000000u); }

// The spring's outline, centred on the origin, in the picture's own units
// (paths are flattened in absolute units, so they are built large).
QPainterPath springOutline() {
  QPainterPath body;
  body.setFillRule(Qt::OddEvenFill);
  body.addEllipse(QPointF(0, 0), kOuter, kOuter);

  QPainterPath cuts;
  cuts.setFillRule(Qt::WindingFill);
  cuts.addEllipse(QPointF(0, 0), kHole, kHole);
  for (int i = 0; i < kFingers; ++i) {
    const double a = 2.0 * std::numbers::pi * i / kFingers;
    const double c = std::cos(a), s = std::sin(a);
    // The slot: a thin strip along the radius, from the hole out to its window.
    const QPointF n(-s * kSlotHalfWidth, c * kSlotHalfWidth);
    const QPointF inner(c * (kHole - kSlotInset), s * (kHole - kSlotInset));
    const QPointF outer(c * kSlotRoot, s * kSlotRoot);
    QPainterPath slot;
    slot.moveTo(inner + n);
    slot.lineTo(outer + n);
    slot.lineTo(outer - n);
    slot.lineTo(inner - n);
    slot.closeSubpath();
    cuts.addPath(slot);
    cuts.addEllipse(outer, kWindow, kWindow);
  }
  return body.subtracted(cuts.simplified());
}

}  // namespace

QPixmap springPicture(int size, qreal devicePixelRatio) {
  const int device = static_cast<int>(std::lround(size * devicePixelRatio));
  QPixmap pixmap(device, device);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);

  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  const double half = size / 2.0;
  p.translate(half, half);
  p.scale(half / kUnit, half / kUnit);

  // A faint shadow below and to the right, then the steel face with a soft
  // highlight, a darker rim and the trace of the support ring.
  p.setPen(Qt::NoPen);
  const QPainterPath outline = springOutline();
  p.save();
  p.translate(kShadowX, kShadowY);
  p.setBrush(argb(kShadowArgb));
  p.drawPath(outline);
  p.restore();

  QRadialGradient steel(QPointF(kSteelX, kSteelY), kSteelRadius);
  for (const Stop& stop : kSteel) steel.setColorAt(stop.at, rgb(stop.rgb));
  p.setBrush(steel);
  p.setPen(QPen(rgb(kRimRgb), kRimWidth));
  p.drawPath(outline);

  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(argb(kRingArgb), kRingWidth, Qt::DashLine));
  p.drawEllipse(QPointF(0, 0), kRingRadius, kRingRadius);
  p.end();
  return pixmap;
}

}  // namespace diaspring::app
