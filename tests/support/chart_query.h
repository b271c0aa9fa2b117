#pragma once
// Queries over a recorded chart, for tests that check geometry.

#include <string>
#include <string_view>
#include <vector>

#include "chart/display_list.h"

namespace diaspring::testing {

struct Printed {
  float x;
  float y;
  std::string text;
};

inline std::vector<Printed> printsOf(const DisplayList& list, std::string_view text = {}) {
  std::vector<Printed> out;
  for (const DrawOp& op : list.ops())
    if (op.kind == DrawOp::Kind::Print && (text.empty() || list.text(op) == text))
      out.push_back({op.x1, op.y1, list.text(op)});
  return out;
}

inline std::vector<DrawOp> opsOf(const DisplayList& list, DrawOp::Kind kind) {
  std::vector<DrawOp> out;
  for (const DrawOp& op : list.ops())
    if (op.kind == kind) out.push_back(op);
  return out;
}

// Foreground-coloured vertical segments standing at x: the dashes of a guide.
inline std::vector<DrawOp> verticalDashesAt(const DisplayList& list, float x) {
  std::vector<DrawOp> out;
  for (const DrawOp& op : list.ops())
    if (op.kind == DrawOp::Kind::Line && !op.hasColor && op.x1 == x && op.x2 == x &&
        op.y2 - op.y1 == 150.0f)
      out.push_back(op);
  return out;
}

// Foreground-coloured horizontal dashes at height y starting on the load axis side.
inline std::vector<DrawOp> horizontalDashesAt(const DisplayList& list, float y) {
  std::vector<DrawOp> out;
  for (const DrawOp& op : list.ops())
    if (op.kind == DrawOp::Kind::Line && !op.hasColor && op.y1 == y && op.y2 == y && op.x1 >= 0.0f &&
        op.x2 > op.x1 && op.x2 - op.x1 < 0.08f)
      out.push_back(op);
  return out;
}

}  // namespace diaspring::testing
