// A stopped curve run names the box that stopped it, with the text and the
// number read from it; a design whose characteristic truly has no peak keeps
// the load law's own reason. Sliders follow a design the program applies.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/convert.h"
#include "runtime/full_width.h"
#include "support/window_fixture.h"

namespace diaspring {
namespace {

using testing::faulted;
using testing::TestWindow;

TEST(FaultCause, NamesTheBoxAndWhatWasReadFromIt) {
  const struct Case {
    std::vector<std::pair<TextBox, const char*>> typed;
    FaultKind kind;
    std::vector<const char*> said;  // in the cause, each
  } cases[] = {
      {{{TextBox::Text4, "abc"}}, FaultKind::PointNotFound, {"膜片厚度 h", "“abc”读作 0", "没有厚度"}},
      {{{TextBox::Text4, ""}}, FaultKind::PointNotFound, {"膜片厚度 h 框为空"}},
      {{{TextBox::Text4, "0"}}, FaultKind::PointNotFound, {"膜片厚度 h = 0"}},
      {{{TextBox::Text6, "0"}}, FaultKind::PointNotFound, {"H/h = 0", "没有锥高"}},
      {{{TextBox::Text31, "0"}}, FaultKind::PointNotFound, {"弹性模量 E = 0"}},
      {{{TextBox::Text7, "0"}}, FaultKind::InvalidOperation, {"外半径 R = 0"}},
      {{{TextBox::Text9, "0"}}, FaultKind::DivisionByZero, {"R/r = 0", "r = R ÷ (R/r)"}},
      {{{TextBox::Text9, "1"}}, FaultKind::PointNotFound, {"R/r = 1", "不小于外半径"}},
      {{{TextBox::Text9, "1.03"}}, FaultKind::PointNotFound, {"R1 = R − 2 不大于支承半径 r1"}},
      {{{TextBox::Text32, "1"}}, FaultKind::InvalidOperation, {"泊松比 μ = 1", "1 − μ² 为 0"}},
      {{{TextBox::Text4, "1e999"}}, FaultKind::Overflow, {"膜片厚度 h", "“1e999”超出数值范围"}},
      {{{TextBox::Text31, "1e300"}}, FaultKind::Overflow, {"弹性模量 E = 1E+300"}},
      // A thin cone has no peak: the load law's reason stands.
      {{{TextBox::Text6, "1.3"}}, FaultKind::PointNotFound, {"√2"}},
  };
  for (const Case& c : cases) {
    TestWindow w;
    std::string typed;
    for (const auto& [box, text] : c.typed) {
      w.type(box, text);
      typed += textBoxName(box) + "=" + text + " ";
    }
    SCOPED_TRACE(typed);
    const auto fault = w.curve();
    ASSERT_TRUE(faulted(fault, c.kind));
    for (const char* said : c.said) EXPECT_NE(fault->cause().find(said), std::string::npos) << fault->cause();
    if (c.typed.front().first == TextBox::Text4) {
      EXPECT_EQ(fault->cause().find("√2"), std::string::npos);
    }
  }
}

TEST(FullWidth, DigitsAndSignsReadAsAscii) {
  const struct {
    const char* text;
    double read;
    bool whole;  // still flagged as not wholly a number when false
  } cases[] = {
      {"２.２", 2.2, false},        {"１．５", 1.5, false},     {"－３", -3, false},
      {"２Ｅ５", 2e5, false},       {"＋１ｅ－２", 0.01, false}, {"２，５", 2, false},  // the comma is not read
      {"٣", 0, false},              {"2.2", 2.2, true},          {"ａ1", 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(val(c.text).value(), c.read);
    EXPECT_EQ(isWholeNumber(c.text), c.whole);
  }
  EXPECT_FALSE(narrowFullWidth("2.2 mm").has_value());
  EXPECT_EQ(narrowFullWidth("h＝２．２ｍｍ"), "h＝2.2ｍｍ");  // only the forms of numbers

  TestWindow w;  // the design reads as typed in ASCII
  w.type(TextBox::Text4, "２．２");
  ASSERT_FALSE(w.curve());
  EXPECT_EQ(w.text(TextBox::Text18), "4592.558");
}

TEST(SliderPosition, NearestToTheBoxWithinTheRange) {
  const struct {
    Slider slider;
    const char* text;
    int current, expected;
  } cases[] = {
      {Slider::HScroll3, "90", 847, 900},    {Slider::HScroll2, "1.8875", 190, 189}, {Slider::HScroll1, "２.２", 0, 220},
      {Slider::HScroll5, "1.6004", 0, 160},  {Slider::HScroll3, "1e9", 847, sliderRange(Slider::HScroll3).max},
      {Slider::HScroll1, "-5", 250, sliderRange(Slider::HScroll1).min}, {Slider::HScroll4, "1e999", 133, 133},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(nearestSliderPosition(c.slider, c.text, c.current), c.expected);
  }
}

}  // namespace
}  // namespace diaspring
