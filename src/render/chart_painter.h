#pragma once
// Paints a recorded chart (DisplayList) with a QPainter into a rectangle of
// any paint device. The user coordinates of the chart's Scale map onto the
// rectangle; pen widths, points and text grow with the rectangle relative to
// the chart's natural size, so a device twice the size draws twice as large.
// Replay can be incremental: a ReplayState carries the coordinate system and
// pen width from one painted range of operations to the next.

#include <cstddef>
#include <optional>

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSizeF>

#include "chart/display_list.h"

class QPainter;

namespace diaspring {

// The inside of the chart in the window, in logical pixels: the size at
// which one pen-width unit is one pixel and the text has its default size.
inline constexpr double kChartNaturalWidth = 549.0;
inline constexpr double kChartNaturalHeight = 293.0;

struct ChartStyle {
  QColor foreground = Qt::black;
  // Fill colour of the chart; an invalid colour leaves the target as it is.
  QColor background = Qt::white;
  // Text font; its pixel size is the size at the natural chart size.
  QFont font = defaultChartFont();
  QSizeF naturalSize{kChartNaturalWidth, kChartNaturalHeight};
  // Smooth lines and points: for exported images. The window draws them
  // crisp, pixel by pixel; text is always smoothed.
  bool antialiasing = false;

  // A narrow sans serif with Greek letters, arrows and Chinese glyphs, 10 px
  // (7.5 pt at 96 dpi): small enough that the tick values hanging below the
  // λ1 axis show in full above the chart's bottom edge.
  static QFont defaultChartFont();

  // The style of exported charts: as the window's, with smooth lines.
  static ChartStyle smooth() {
    ChartStyle style;
    style.antialiasing = true;
    return style;
  }
};

// Where the replay stands: the coordinate system and pen width in force and
// the next operation to paint.
struct ReplayState {
  std::optional<DrawOp> scale;  // the last Scale; none: twips of the natural chart
  int drawWidth = 1;
  std::size_t next = 0;
};

class ChartPainter {
 public:
  explicit ChartPainter(ChartStyle style = {}) : style_(std::move(style)) {}

  const ChartStyle& style() const { return style_; }

  // The state at the first visible operation of `list`: the coordinate
  // system and pen width in force there.
  static ReplayState start(const DisplayList& list);

  // Paints everything visible: fills the target with the background (when
  // valid) and replays from the last Cls to the end.
  void paint(QPainter& painter, const QRectF& target, const DisplayList& list) const;

  // Paints operations [state.next, to) and advances the state. A Cls met on
  // the way fills the target with the background (or leaves it when the
  // background is invalid). `to` is clipped to the list's size.
  void paintRange(QPainter& painter, const QRectF& target, const DisplayList& list,
                  ReplayState& state, std::size_t to) const;

  // The point of `target` where the user coordinates (x, y) land under
  // `scale` (without one, a unit is a twip of the natural chart, 15 to the
  // pixel, from the top-left corner).
  QPointF map(const QRectF& target, const std::optional<DrawOp>& scale, float x, float y) const;

  // How much larger than the natural chart the target is.
  double magnification(const QRectF& target) const;

 private:
  ChartStyle style_;
};

// 0x00BBGGRR -> QColor.
QColor toQColor(Color color);

}  // namespace diaspring
