#pragma once
// Drawing in chart coordinates from double-precision design values: every
// coordinate is rounded to single precision as it is handed over (a value
// beyond the single range is an overflow), in the order written.

#include <cstddef>
#include <optional>
#include <string_view>

#include "chart/surface.h"
#include "runtime/num.h"

namespace diaspring {

// A dashed guide or the reference line never draws more segments than
// this. Only a design whose loads run to hundreds of meganewtons, or a
// travel of kilometres, reaches it; without it such a line would fill
// memory, and its single-precision counter would at last stop advancing
// and never reach its end.
inline constexpr std::size_t kMaxDashes = 1'000'000;

class Pen {
 public:
  explicit Pen(Surface& surface) : s_(surface) {}

  Surface& surface() { return s_; }

  void line(Num x1, Num y1, Num x2, Num y2, std::optional<Color> color = std::nullopt);

  // Sets the drawing position, x first, then prints the text there.
  void printAt(Num x, Num y, std::string_view text);

  // Dashed vertical guide at x from the deflection axis up to top: dashes of
  // 150 N every 300 N, counted in single precision; nothing when top < 0.
  void verticalGuide(Num x, Num top);

  // Dashed horizontal guide at the height that `height()` gives, from the
  // load axis to `end`: dashes of 0.075 mm every 0.15 mm (single-precision
  // step), the height evaluated anew for each end of each dash.
  template <class Height>
  void horizontalGuide(Num end, Height&& height) {
    const float e = single(end);
    std::size_t dashes = 0;
    for (float t = 0.0f; t <= e && dashes < kMaxDashes; ++dashes) {
      const float x1 = t;
      const float y1 = single(height());
      const float x2 = single(Num(static_cast<double>(t) + 0.075));
      const float y2 = single(height());
      s_.line(x1, y1, x2, y2, std::nullopt);
      t += 0.15f;
    }
  }

 private:
  Surface& s_;
};

}  // namespace diaspring
