#include "chart/pen.h"

namespace diaspring {

void Pen::line(Num x1, Num y1, Num x2, Num y2, std::optional<Color> color) {
  const float fx1 = single(x1);
  const float fy1 = single(y1);
  const float fx2 = single(x2);
  const float fy2 = single(y2);
  s_.line(fx1, fy1, fx2, fy2, color);
}

void Pen::printAt(Num x, Num y, std::string_view text) {
  s_.setCurrentX(single(x));
  s_.setCurrentY(single(y));
  s_.print(text);
}

void Pen::verticalGuide(Num x, Num top) {
  const float fx = single(x);
  const float t = single(top);
  std::size_t dashes = 0;
  for (float y = 0.0f; y <= t && dashes < kMaxDashes; ++dashes) {
    s_.line(fx, y, fx, y + 150.0f, std::nullopt);
    y += 300.0f;
  }
}

}  // namespace diaspring
