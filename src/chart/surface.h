#pragma once
// The drawing surface of the chart, as the handlers see it: user coordinates
// set by scale(), lines, single points, text printed at the drawing position.
// Every coordinate arrives in single precision.

#include <cstdint>
#include <optional>
#include <string_view>

namespace diaspring {

// 24-bit colour laid out as 0x00BBGGRR.
using Color = std::uint32_t;
inline constexpr Color kRed = 0x0000FF;
inline constexpr Color kGreen = 0x00FF00;
inline constexpr Color kBlue = 0xFF0000;

class Surface {
 public:
  virtual ~Surface() = default;

  // (x1, y1) is the top-left corner, (x2, y2) the bottom-right corner.
  virtual void scale(float x1, float y1, float x2, float y2) = 0;
  // No colour: the surface's foreground colour.
  virtual void line(float x1, float y1, float x2, float y2, std::optional<Color> color) = 0;
  virtual void pset(float x, float y, Color color) = 0;
  virtual void setCurrentX(float x) = 0;
  virtual void setCurrentY(float y) = 0;
  // The text's top-left corner stands at (CurrentX, CurrentY).
  virtual void print(std::string_view text) = 0;
  virtual void drawWidth(int width) = 0;
  // Erases everything and puts the drawing position back to (0, 0); the
  // coordinate system stays.
  virtual void cls() = 0;
};

}  // namespace diaspring
