#include <gtest/gtest.h>

#include "support/window_fixture.h"

namespace diaspring {
namespace {

using testing::faulted;
using testing::TestWindow;

TEST(Capture, DefaultInputsShowAndUseTheRoundedValues) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  EXPECT_EQ(w.text(TextBox::Text5), "4.18");
  EXPECT_EQ(w.text(TextBox::Text8), "63.68");
  const SpringDesign& d = w.design();
  EXPECT_EQ(d.h.value(), 2.2);
  EXPECT_EQ(d.H.value(), 4.18);
  EXPECT_EQ(d.R.value(), 84.7);
  EXPECT_EQ(d.r.value(), 63.68);  // not 63.684...
  EXPECT_EQ(d.R1.value(), 84.7 - 2);
  EXPECT_EQ(d.r1.value(), 63.68 + 2);
  EXPECT_EQ(d.E.value(), 210000);
  EXPECT_EQ(d.mu.value(), 0.3);
  EXPECT_EQ(d.hInput.value(), 2.2);
  EXPECT_EQ(d.HoverH.value(), 1.9);
  EXPECT_EQ(d.RInput.value(), 84.7);
  EXPECT_EQ(d.RoverR.value(), 1.33);
}

TEST(Capture, DerivedTextsFollowTheEnteredValues) {
  const struct {
    const char *h, *hOverH, *R, *rOverR;
    const char *shownH, *shownR;
  } cases[] = {
      {"2.2", "1.9", "84.7", "1.33", "4.18", "63.68"},
      {"2.2", "1.9", "100", "1.6", "4.18", "62.50"},  // always two decimals
      {"2.2 mm", "1.9x", "84.7 mm", "1.33", "4.18", "63.68"},  // trailing text ignored
      {"", "1.9", "84.7", "1.33", "0", "63.68"},
      {"abc", "1.9", "84.7", "1.33", "0", "63.68"},
      {"2", "2", "90", "1.2", "4", "75.00"},
      {"3", "1.7", "-80", "1.25", "5.1", "-64.00"},
  };
  for (const auto& c : cases) {
    TestWindow w;
    w.type(TextBox::Text4, c.h);
    w.type(TextBox::Text6, c.hOverH);
    w.type(TextBox::Text7, c.R);
    w.type(TextBox::Text9, c.rOverR);
    w.curve();  // later stages may fault on odd designs; the capture is done by then
    EXPECT_EQ(w.text(TextBox::Text5), c.shownH) << c.h << " " << c.hOverH;
    EXPECT_EQ(w.text(TextBox::Text8), c.shownR) << c.R << " " << c.rOverR;
  }
}

TEST(Capture, TypedDerivedValuesNeverReachTheModel) {
  TestWindow w;
  w.type(TextBox::Text5, "99");
  w.type(TextBox::Text8, "1");
  ASSERT_FALSE(w.curve());
  EXPECT_EQ(w.text(TextBox::Text5), "4.18");
  EXPECT_EQ(w.design().H.value(), 4.18);
  EXPECT_EQ(w.design().r.value(), 63.68);
}

TEST(Capture, EmptyRatioStopsAfterTheConeHeight) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  const SpringDesign before = w.design();
  w.type(TextBox::Text4, "3");
  w.type(TextBox::Text9, "");
  w.type(TextBox::Text8, "typed");
  ASSERT_TRUE(faulted(w.curve(), FaultKind::DivisionByZero));
  EXPECT_EQ(w.text(TextBox::Text5), "5.7");     // rewritten before the fault
  EXPECT_EQ(w.text(TextBox::Text8), "typed");   // the step that faulted wrote nothing
  EXPECT_EQ(w.design().hInput.value(), 3);
  EXPECT_EQ(w.design().RoverR.value(), 0);
  EXPECT_EQ(w.design().h.value(), before.h.value());  // later steps did not run
  EXPECT_EQ(w.design().r.value(), before.r.value());
}

TEST(Capture, NumbersBeyondTheDoubleRangeFault) {
  const struct {
    TextBox box;
    const char* text;
    bool text5Rewritten;
  } cases[] = {
      {TextBox::Text4, "1E999", false},   // Val itself
      {TextBox::Text6, "1e300", false},   // with h = 1e300 below: the product overflows
      {TextBox::Text9, "1e-320", true},   // the quotient overflows
  };
  for (const auto& c : cases) {
    TestWindow w;
    w.type(TextBox::Text5, "old");
    if (c.box == TextBox::Text6) w.type(TextBox::Text4, "1e300");
    w.type(c.box, c.text);
    ASSERT_TRUE(faulted(w.curve(), FaultKind::Overflow)) << c.text;
    EXPECT_EQ(w.text(TextBox::Text5) != "old", c.text5Rewritten) << c.text;
    EXPECT_EQ(w.text(TextBox::Text8), "") << c.text;
  }
}

TEST(Capture, EngineFieldsChangeNoResult) {
  TestWindow a, b;
  b.type(TextBox::Text1, "999");
  b.type(TextBox::Text2, "x");
  b.type(TextBox::Text3, "");
  a.curve();
  b.curve();
  for (int i = 4; i <= kTextBoxCount; ++i) {
    const auto box = static_cast<TextBox>(i);
    EXPECT_EQ(a.text(box), b.text(box)) << textBoxName(box);
  }
  EXPECT_EQ(a.chart.size(), b.chart.size());
}

}  // namespace
}  // namespace diaspring
