#include <gtest/gtest.h>

#include "chart/display_list.h"

namespace diaspring {
namespace {

TEST(DisplayList, PrintsRecordTheDrawingPosition) {
  DisplayList list;
  list.setCurrentX(1.5f);
  list.setCurrentY(-20.0f);
  list.print("λ1M");
  list.cls();
  list.print("after");
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list.ops()[0].x1, 1.5f);
  EXPECT_EQ(list.ops()[0].y1, -20.0f);
  EXPECT_EQ(list.text(list.ops()[0]), "λ1M");
  EXPECT_EQ(list.ops()[2].x1, 0.0f);  // a clear puts the position back to the origin
  EXPECT_EQ(list.ops()[2].y1, 0.0f);
}

// The window forgets what a clear erased, but not the coordinate system or
// the line width in force, nor which text belongs to which print.
TEST(DisplayList, DiscardingTheErasedKeepsWhatIsInForce) {
  DisplayList list;
  list.scale(-1.5f, 14000.0f, 8.0f, -1000.0f);
  list.drawWidth(3);
  list.print("gone");
  list.line(0, 0, 1, 1, kBlue);
  list.cls();
  list.print("kept");
  list.pset(2, 3, kRed);
  list.print("also kept");
  EXPECT_EQ(list.visibleFrom(), 5u);

  list.discardErased();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list.visibleFrom(), 0u);
  EXPECT_EQ(list.text(list.ops()[0]), "kept");
  EXPECT_EQ(list.text(list.ops()[2]), "also kept");
  ASSERT_TRUE(list.scaleBeforeVisible());
  EXPECT_EQ(list.scaleBeforeVisible()->y1, 14000.0f);
  EXPECT_EQ(list.drawWidthBeforeVisible(), 3);

  list.discardErased();  // nothing more to forget
  EXPECT_EQ(list.size(), 3u);
}

}  // namespace
}  // namespace diaspring
