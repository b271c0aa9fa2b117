#pragma once
// Drawing in chart coordinates from double-precision design values: every
// coordinate is rounded to single precision as it is handed over (a value
// beyond the single range is an overflow), in the order written. The dashed
// guides and the runs of segments end where they leave the chart's visible
// area (kChartArea): whatever a design's numbers, a chart holds a bounded
// number of operations, and it shows what it would show without the bound.

#include <optional>
#include <string_view>

#include "chart/area.h"
#include "chart/surface.h"
#include "runtime/num.h"

namespace diaspring {

class Pen {
 public:
  explicit Pen(Surface& surface) : s_(surface) {}

  Surface& surface() { return s_; }

  void line(Num x1, Num y1, Num x2, Num y2, std::optional<Color> color = std::nullopt);

  // One segment of a run that moves steadily away from a start inside the
  // chart: rounds its ends as `line` does, then hands it over only when it
  // reaches the visible area. Returns whether it did; once one segment of
  // such a run misses the area, every later one does too.
  bool segmentOfRun(Num x1, Num y1, Num x2, Num y2, std::optional<Color> color = std::nullopt);

  // Sets the drawing position, x first, then prints the text there.
  void printAt(Num x, Num y, std::string_view text);

  // Dashed vertical guide at x from the deflection axis up to top: dashes of
  // 150 N every 300 N, counted in single precision; nothing when top < 0 or
  // when x lies off the chart, no dash beyond the chart's top.
  void verticalGuide(Num x, Num top);

  // Dashed horizontal guide at the height that `height()` gives, from the
  // load axis to `end`: dashes of 0.075 mm every 0.15 mm (single-precision
  // step), the height evaluated anew for each end of each dash; it ends at
  // the chart's right edge, and a height off the chart leaves the first dash
  // undrawn and ends the guide there.
  template <class Height>
  void horizontalGuide(Num end, Height&& height) {
    const float e = single(end);
    for (float t = 0.0f; t <= e; t += 0.15f) {
      const float x1 = t;
      const float y1 = single(height());
      const float x2 = single(Num(static_cast<double>(t) + 0.075));
      const float y2 = single(height());
      if (!kChartArea.reaches(x1, y1, x2, y2)) return;
      s_.line(x1, y1, x2, y2, std::nullopt);
    }
  }

 private:
  Surface& s_;
};

}  // namespace diaspring
