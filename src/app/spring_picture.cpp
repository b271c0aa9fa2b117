#include "spring_picture.h"

#include <cmath>
#include <numbers>

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace diaspring::app {
namespace {

constexpr int kFingers = 18;

// The spring's outline, centred on the origin, in a frame whose unit is a
// hundredth of the picture's half width (paths are flattened in absolute
// units, so they are built large): the solid outer ring, and fingers that run
// inward from it, separated by radial slots that end in round windows, up to
// the central hole.
constexpr double kUnit = 100.0;

QPainterPath springOutline() {
  constexpr double kOuter = 0.96 * kUnit;      // outer edge of the ring
  constexpr double kSlotRoot = 0.62 * kUnit;   // where the slots end in the ring
  constexpr double kWindow = 0.045 * kUnit;    // radius of the round window at a slot's root
  constexpr double kHole = 0.26 * kUnit;       // the central hole, at the fingers' tips
  constexpr double kSlotHalfWidth = 0.022 * kUnit;

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
    const QPointF inner(c * (kHole - 2.0), s * (kHole - 2.0));
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
  p.translate(2.5, 3.0);
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawPath(outline);
  p.restore();

  QRadialGradient steel(QPointF(-30, -35), 140);
  steel.setColorAt(0.0, QColor(0xEE, 0xF0, 0xF2));
  steel.setColorAt(0.55, QColor(0xB4, 0xB9, 0xBF));
  steel.setColorAt(1.0, QColor(0x78, 0x7E, 0x86));
  p.setBrush(steel);
  p.setPen(QPen(QColor(0x4A, 0x50, 0x58), 1.8));
  p.drawPath(outline);

  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x5E, 0x64, 0x6C, 150), 1.2, Qt::DashLine));
  p.drawEllipse(QPointF(0, 0), 79.0, 79.0);
  p.end();
  return pixmap;
}

}  // namespace diaspring::app
