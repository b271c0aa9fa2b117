#include "chart/display_list.h"

#include <algorithm>

namespace diaspring {

void DisplayList::scale(float x1, float y1, float x2, float y2) {
  DrawOp op;
  op.kind = DrawOp::Kind::Scale;
  op.x1 = x1;
  op.y1 = y1;
  op.x2 = x2;
  op.y2 = y2;
  ops_.push_back(op);
  lastScale_ = op;
}

void DisplayList::line(float x1, float y1, float x2, float y2, std::optional<Color> color) {
  DrawOp op;
  op.kind = DrawOp::Kind::Line;
  op.hasColor = color.has_value();
  op.color = color.value_or(0);
  op.x1 = x1;
  op.y1 = y1;
  op.x2 = x2;
  op.y2 = y2;
  ops_.push_back(op);
}

void DisplayList::pset(float x, float y, Color color) {
  DrawOp op;
  op.kind = DrawOp::Kind::PSet;
  op.hasColor = true;
  op.color = color;
  op.x1 = x;
  op.y1 = y;
  ops_.push_back(op);
}

void DisplayList::print(std::string_view text) {
  DrawOp op;
  op.kind = DrawOp::Kind::Print;
  op.x1 = currentX_;
  op.y1 = currentY_;
  op.text = static_cast<std::uint32_t>(texts_.size());
  texts_.emplace_back(text);
  ops_.push_back(op);
}

void DisplayList::drawWidth(int width) {
  DrawOp op;
  op.kind = DrawOp::Kind::DrawWidth;
  op.x1 = static_cast<float>(width);
  ops_.push_back(op);
  lastDrawWidth_ = width;
}

void DisplayList::cls() {
  DrawOp op;
  op.kind = DrawOp::Kind::Cls;
  ops_.push_back(op);
  currentX_ = 0;
  currentY_ = 0;
  visibleFrom_ = ops_.size();
  scaleBeforeVisible_ = lastScale_;
  drawWidthBeforeVisible_ = lastDrawWidth_;
}

void DisplayList::discardErased() {
  if (visibleFrom_ == 0) return;
  ops_.erase(ops_.begin(), ops_.begin() + static_cast<std::ptrdiff_t>(visibleFrom_));
  // Texts of the erased prints are no longer referenced: renumber the rest.
  std::vector<std::string> kept;
  for (DrawOp& op : ops_) {
    if (op.kind != DrawOp::Kind::Print) continue;
    const std::uint32_t index = static_cast<std::uint32_t>(kept.size());
    kept.push_back(std::move(texts_[op.text]));
    op.text = index;
  }
  texts_ = std::move(kept);
  visibleFrom_ = 0;
}

}  // namespace diaspring
