// The display list stores its operations packed; what it gives back must be
// what was drawn, bit for bit, in order, by index and by iteration.
#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "chart/display_list.h"

namespace diaspring {
namespace {

bool same(const DrawOp& a, const DrawOp& b) {
  return a.kind == b.kind && a.hasColor == b.hasColor && a.color == b.color && a.text == b.text &&
         std::bit_cast<std::uint32_t>(a.x1) == std::bit_cast<std::uint32_t>(b.x1) &&
         std::bit_cast<std::uint32_t>(a.y1) == std::bit_cast<std::uint32_t>(b.y1) &&
         std::bit_cast<std::uint32_t>(a.x2) == std::bit_cast<std::uint32_t>(b.x2) &&
         std::bit_cast<std::uint32_t>(a.y2) == std::bit_cast<std::uint32_t>(b.y2);
}

// Draws every kind with awkward values (negative zero, NaN, the largest
// float, more colours than the palette holds) into `list`, and returns the
// operations as an unpacked list would hold them.
std::vector<DrawOp> drawAwkward(DisplayList& list) {
  std::vector<DrawOp> want;
  auto op = [&](DrawOp::Kind kind, float x1, float y1, float x2, float y2, bool hasColor, Color color) {
    DrawOp o;
    o.kind = kind, o.x1 = x1, o.y1 = y1, o.x2 = x2, o.y2 = y2, o.hasColor = hasColor, o.color = color;
    want.push_back(o);
  };
  const float nan = std::numeric_limits<float>::quiet_NaN(), big = std::numeric_limits<float>::max();
  list.scale(-1.5f, 14000.0f, 8.0f, -0.0f);
  op(DrawOp::Kind::Scale, -1.5f, 14000.0f, 8.0f, -0.0f, false, 0);
  list.drawWidth(2);
  op(DrawOp::Kind::DrawWidth, 2, 0, 0, 0, false, 0);
  for (std::uint32_t i = 0; i < 300; ++i) {  // beyond the palette's 255 colours
    list.pset(static_cast<float>(i) * 0.001f, -big, 0x10000 + i);
    op(DrawOp::Kind::PSet, static_cast<float>(i) * 0.001f, -big, 0, 0, true, 0x10000 + i);
  }
  list.line(nan, 1, 2, 3, std::nullopt);
  op(DrawOp::Kind::Line, nan, 1, 2, 3, false, 0);
  list.line(0, 1, 2, 3, Color{0});  // black given is not the foreground
  op(DrawOp::Kind::Line, 0, 1, 2, 3, true, 0);
  list.setCurrentX(4.25f);
  list.setCurrentY(-20);
  list.print("λ1M");
  op(DrawOp::Kind::Print, 4.25f, -20, 0, 0, false, 0);
  want.back().text = 0;
  list.cls();
  op(DrawOp::Kind::Cls, 0, 0, 0, 0, false, 0);
  return want;
}

TEST(PackedOps, GiveBackWhatWasDrawnByIndexAndByIteration) {
  DisplayList list;
  const std::vector<DrawOp> want = drawAwkward(list);
  ASSERT_EQ(list.size(), want.size());
  std::size_t i = 0;
  for (const DrawOp& op : list.ops()) {
    EXPECT_TRUE(same(op, want[i])) << "op " << i << " by iteration";
    ++i;
  }
  EXPECT_EQ(i, want.size());
  for (std::size_t j : {std::size_t{0}, std::size_t{63}, std::size_t{64}, std::size_t{257}, want.size() - 1})
    EXPECT_TRUE(same(list.packed()[j], want[j])) << "op " << j << " by index";
  EXPECT_EQ(list.text(list.ops()[want.size() - 2]), "λ1M");

  // What a clear erased is forgotten; the rest is the same, texts renumbered.
  list.print("kept");
  list.pset(1, 2, 0x10000 + 299);
  list.discardErased();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list.text(list.ops()[0]), "kept");
  EXPECT_EQ(list.ops()[1].color, 0x10000u + 299);
  EXPECT_EQ(list.ops()[1].y1, 2.0f);
}

// A point of the traced curve costs its two coordinates and a head, not a
// whole DrawOp: 10,001 points stay far below 28 bytes each.
TEST(PackedOps, APointOfTheCurveTakesAboutTenBytes) {
  DisplayList list;
  for (int i = 0; i <= 10000; ++i) list.pset(static_cast<float>(i) * 0.001f, static_cast<float>(i), kRed);
  EXPECT_LT(list.storageBytes(), 10001u * 11);
}

}  // namespace
}  // namespace diaspring
