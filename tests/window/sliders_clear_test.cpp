#include <gtest/gtest.h>

#include "support/chart_query.h"
#include "support/window_fixture.h"

namespace diaspring {
namespace {

using testing::opsOf;
using testing::TestWindow;

TEST(Sliders, WriteTheirScaledValues) {
  const struct {
    Slider slider;
    int value;
    TextBox box;
    const char* text;
  } cases[] = {
      {Slider::HScroll1, 200, TextBox::Text4, "2"},     {Slider::HScroll1, 215, TextBox::Text4, "2.15"},
      {Slider::HScroll1, 250, TextBox::Text4, "2.5"},   {Slider::HScroll1, 400, TextBox::Text4, "4"},
      {Slider::HScroll2, 150, TextBox::Text6, "1.5"},   {Slider::HScroll2, 200, TextBox::Text6, "2"},
      {Slider::HScroll2, 161, TextBox::Text6, "1.61"},  {Slider::HScroll3, 760, TextBox::Text7, "76"},
      {Slider::HScroll3, 761, TextBox::Text7, "76.1"},  {Slider::HScroll3, 847, TextBox::Text7, "84.7"},
      {Slider::HScroll3, 1350, TextBox::Text7, "135"},  {Slider::HScroll4, 120, TextBox::Text9, "1.2"},
      {Slider::HScroll4, 133, TextBox::Text9, "1.33"},  {Slider::HScroll4, 135, TextBox::Text9, "1.35"},
      {Slider::HScroll5, 20, TextBox::Text10, "0.200"}, {Slider::HScroll5, 160, TextBox::Text10, "1.600"},
      {Slider::HScroll5, 200, TextBox::Text10, "2.000"}, {Slider::HScroll6, 20, TextBox::Text11, "0.200"},
      {Slider::HScroll6, 157, TextBox::Text11, "1.570"}, {Slider::HScroll6, 300, TextBox::Text11, "3.000"},
  };
  for (const auto& c : cases) {
    TestWindow w;
    w.type(c.box, "typed");
    ASSERT_FALSE(w.moveSlider(c.slider, c.value));
    EXPECT_EQ(w.text(c.box), c.text) << sliderName(c.slider) << " at " << c.value;
  }
}

TEST(Sliders, TouchOnlyTheirOwnBox) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  const SpringDesign before = w.design();
  MemoryFields fields = w.fields;
  const std::size_t drawn = w.chart.size();
  ASSERT_FALSE(w.moveSlider(Slider::HScroll3, 1000));
  for (int i = 1; i <= kTextBoxCount; ++i) {
    const auto box = static_cast<TextBox>(i);
    EXPECT_EQ(w.text(box), box == TextBox::Text7 ? "100" : fields.text(box)) << textBoxName(box);
  }
  EXPECT_EQ(w.design().R.value(), before.R.value());  // the model sees it at the next curve
  EXPECT_EQ(w.chart.size(), drawn);
}

TEST(Clear, EmptiesTheChartAndTheTwentyFourResultBoxes) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  ASSERT_FALSE(w.check());
  MemoryFields before = w.fields;
  const SpringDesign design = w.design();
  ASSERT_FALSE(w.clear());

  EXPECT_EQ(w.chart.ops().back().kind, DrawOp::Kind::Cls);
  EXPECT_EQ(w.chart.visibleFrom(), w.chart.size());
  EXPECT_EQ(w.chart.currentX(), 0.0f);
  EXPECT_EQ(w.chart.currentY(), 0.0f);
  for (int i = 1; i <= kTextBoxCount; ++i) {
    const auto box = static_cast<TextBox>(i);
    const bool result = (i >= 12 && i <= 30) || i >= 38;
    EXPECT_EQ(w.text(box), result ? "" : before.text(box)) << textBoxName(box);
  }
  EXPECT_EQ(w.text(TextBox::Text5), "4.18");
  EXPECT_EQ(w.design().lambda1B.value(), design.lambda1B.value());
  EXPECT_EQ(w.design().R.value(), design.R.value());

  // The record survives: a check after the clear refills its boxes.
  ASSERT_FALSE(w.check());
  EXPECT_EQ(w.text(TextBox::Text24), before.text(TextBox::Text24));
}

TEST(Clear, OnAFreshWindowChangesNoBox) {
  TestWindow w;
  MemoryFields before = w.fields;
  ASSERT_FALSE(w.clear());
  for (int i = 1; i <= kTextBoxCount; ++i)
    EXPECT_EQ(w.text(static_cast<TextBox>(i)), before.text(static_cast<TextBox>(i)));
  EXPECT_EQ(opsOf(w.chart, DrawOp::Kind::Cls).size(), 1u);
}

TEST(Scenario, CurveCheckClearCurveCheck) {
  TestWindow w;
  const char* points[] = {"5175.178", "2.080", "3400.662", "4.690", "4287.478", "3.385",
                          "4592.558", "3.080", "4851.586", "1.480", "3400.73",  "4.68"};
  const std::pair<TextBox, const char*> checks[] = {
      {TextBox::Text24, "0.442(合格)"}, {TextBox::Text25, "合格"},       {TextBox::Text26, "1.9(合格)"},
      {TextBox::Text27, "11.39(合格)"}, {TextBox::Text28, "1.33(合格)"}, {TextBox::Text29, "77.00(合格)"},
      {TextBox::Text30, "4.71(合格)"},  {TextBox::Text38, "(合格)"},     {TextBox::Text39, "2.00(合格)"},
      {TextBox::Text40, "2.00(合格)"},  {TextBox::Text41, "2.00(合格)"}, {TextBox::Text42, "2.68(合格)"},
  };
  const auto expectPoints = [&](bool filled, const char* step) {
    for (int i = 0; i < 12; ++i)
      EXPECT_EQ(w.text(static_cast<TextBox>(12 + i)), filled ? points[i] : "") << step << " Text" << 12 + i;
  };
  const auto expectChecks = [&](bool filled, const char* step) {
    for (const auto& [box, text] : checks) EXPECT_EQ(w.text(box), filled ? text : "") << step << " " << textBoxName(box);
  };

  ASSERT_FALSE(w.curve());
  expectPoints(true, "curve");
  expectChecks(false, "curve");
  ASSERT_FALSE(w.check());
  expectPoints(true, "check");
  expectChecks(true, "check");
  ASSERT_FALSE(w.clear());
  expectPoints(false, "clear");
  expectChecks(false, "clear");
  EXPECT_EQ(w.text(TextBox::Text8), "63.68");
  ASSERT_FALSE(w.curve());
  expectPoints(true, "second curve");
  expectChecks(false, "second curve");
  ASSERT_FALSE(w.check());
  expectPoints(true, "second check");
  expectChecks(true, "second check");
  EXPECT_EQ(opsOf(w.chart, DrawOp::Kind::PSet).size(), 20002u);
  EXPECT_EQ(w.chart.visibleFrom(), w.chart.size() - 10672u);
}

}  // namespace
}  // namespace diaspring
