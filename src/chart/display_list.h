#pragma once
// A surface that records what is drawn, in chart coordinates, so that tests
// inspect geometry rather than pixels and any painter can replay it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/surface.h"

namespace diaspring {

struct DrawOp {
  enum class Kind : std::uint8_t { Scale, Line, PSet, Print, DrawWidth, Cls };

  Kind kind = Kind::Cls;
  bool hasColor = false;  // Line: false means the foreground colour
  Color color = 0;        // Line (when hasColor), PSet
  // Scale: the two corners; Line: the two ends; PSet and Print: x1, y1;
  // DrawWidth: the width in x1.
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::uint32_t text = 0;  // Print: index into DisplayList::texts()
};

class DisplayList final : public Surface {
 public:
  void scale(float x1, float y1, float x2, float y2) override;
  void line(float x1, float y1, float x2, float y2, std::optional<Color> color) override;
  void pset(float x, float y, Color color) override;
  void setCurrentX(float x) override { currentX_ = x; }
  void setCurrentY(float y) override { currentY_ = y; }
  void print(std::string_view text) override;
  void drawWidth(int width) override;
  void cls() override;

  const std::vector<DrawOp>& ops() const { return ops_; }
  std::size_t size() const { return ops_.size(); }
  const std::string& text(const DrawOp& op) const { return texts_[op.text]; }
  float currentX() const { return currentX_; }
  float currentY() const { return currentY_; }

  // Index of the first operation after the last Cls (0 when there is none):
  // a painter replays from here.
  std::size_t visibleFrom() const { return visibleFrom_; }

  // The coordinate system in force at the first visible operation, if one
  // was set before it.
  std::optional<DrawOp> scaleBeforeVisible() const { return scaleBeforeVisible_; }

  // The line width in force at the first visible operation (1 unless set).
  int drawWidthBeforeVisible() const { return drawWidthBeforeVisible_; }

  // Forgets everything erased by the last Cls (the window keeps no history,
  // so a long session does not grow without bound). The coordinate system
  // and the line width in force are kept.
  void discardErased();

 private:
  std::vector<DrawOp> ops_;
  std::vector<std::string> texts_;
  float currentX_ = 0, currentY_ = 0;
  std::size_t visibleFrom_ = 0;
  std::optional<DrawOp> lastScale_;
  std::optional<DrawOp> scaleBeforeVisible_;
  int lastDrawWidth_ = 1;
  int drawWidthBeforeVisible_ = 1;
};

}  // namespace diaspring
