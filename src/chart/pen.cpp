#include "chart/pen.h"

namespace diaspring {

void Pen::line(Num x1, Num y1, Num x2, Num y2, std::optional<Color> color) {
  const float fx1 = single(x1);
  const float fy1 = single(y1);
  const float fx2 = single(x2);
  const float fy2 = single(y2);
  s_.line(fx1, fy1, fx2, fy2, color);
}

bool Pen::segmentOfRun(Num x1, Num y1, Num x2, Num y2, std::optional<Color> color) {
  const float fx1 = single(x1);
  const float fy1 = single(y1);
  const float fx2 = single(x2);
  const float fy2 = single(y2);
  if (!kChartArea.reaches(fx1, fy1, fx2, fy2)) return false;
  s_.line(fx1, fy1, fx2, fy2, color);
  return true;
}

void Pen::printAt(Num x, Num y, std::string_view text) {
  s_.setCurrentX(single(x));
  s_.setCurrentY(single(y));
  s_.print(text);
}

void Pen::verticalGuide(Num x, Num top) {
  const float fx = single(x);
  const float t = single(top);
  for (float y = 0.0f; y <= t; y += 300.0f) {
    if (!kChartArea.reaches(fx, y, fx, y + 150.0f)) return;
    s_.line(fx, y, fx, y + 150.0f, std::nullopt);
  }
}

}  // namespace diaspring
