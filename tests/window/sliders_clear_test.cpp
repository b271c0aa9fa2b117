#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "check/box_help.h"
#include "form/layout_table.h"
#include "runtime/convert.h"

#include "support/chart_query.h"
#include "support/default_run.h"
#include "support/window_fixture.h"

namespace diaspring {
namespace {

using testing::kDefaultPoints;
using testing::kDefaultVerdicts;
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

// A slider's tooltip tells its range and step ("2.00–4.00 mm，每步 0.01 mm"):
// the slider at its least and greatest position, and one step up from the
// least, must write those numbers into its box.
TEST(Sliders, WriteTheRangeAndStepTheirTooltipsTell) {
  // The number at the start of `text` ("2.00–4.00 mm" gives 2).
  const auto leading = [](std::string_view text) {
    return val(text.substr(0, text.find_first_not_of("0123456789."))).value();
  };
  ASSERT_EQ(sliderHelp().size(), static_cast<std::size_t>(kSliderCount));
  for (const SliderHelp& help : sliderHelp()) {
    const std::string_view text = help.span, dash = "–", step = "每步 ";
    ASSERT_NE(text.find(dash), std::string_view::npos) << text;
    ASSERT_NE(text.find(step), std::string_view::npos) << text;
    const ControlSpec* spec = findControl(sliderName(help.slider));
    ASSERT_NE(spec, nullptr);
    const TextBox box = sliderBox(help.slider);
    TestWindow w;
    const auto written = [&](int position) {
      EXPECT_FALSE(w.moveSlider(help.slider, position));
      return val(w.text(box)).value();
    };
    EXPECT_EQ(written(spec->min), leading(text)) << text;
    EXPECT_EQ(written(spec->max), leading(text.substr(text.find(dash) + dash.size()))) << text;
    EXPECT_NEAR(written(spec->min + 1) - written(spec->min), leading(text.substr(text.find(step) + step.size())), 1e-12)
        << text;
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
  // The presses in turn, and whether the point and the check boxes are filled after each.
  const struct {
    const char* step;
    Command command;
    bool points, checks;
  } steps[] = {
      {"curve", Command::Command1, true, false},        {"check", Command::Command3, true, true},
      {"clear", Command::Command2, false, false},       {"second curve", Command::Command1, true, false},
      {"second check", Command::Command3, true, true},
  };
  for (const auto& s : steps) {
    ASSERT_FALSE(w.press(s.command)) << s.step;
    for (const auto& [box, text] : kDefaultPoints) EXPECT_EQ(w.text(box), s.points ? text : "") << s.step << " " << textBoxName(box);
    for (const auto& [box, text] : kDefaultVerdicts) EXPECT_EQ(w.text(box), s.checks ? text : "") << s.step << " " << textBoxName(box);
    EXPECT_EQ(w.text(TextBox::Text8), "63.68") << s.step;  // the clear keeps the derived r
  }
  EXPECT_EQ(opsOf(w.chart, DrawOp::Kind::PSet).size(), 20002u);
  EXPECT_EQ(w.chart.visibleFrom(), w.chart.size() - 10672u);
}

}  // namespace
}  // namespace diaspring
