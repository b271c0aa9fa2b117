// Which shown results no longer belong to the inputs, and what a report of
// the last run shows.
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "check/constraint_check.h"
#include "support/window_fixture.h"

namespace diaspring {
namespace {

using testing::TestWindow;
using Step = std::function<void(TestWindow&)>;

const Step curve = [](TestWindow& w) { ASSERT_FALSE(w.curve()); };
const Step check = [](TestWindow& w) { ASSERT_FALSE(w.check()); };
const Step clear = [](TestWindow& w) { ASSERT_FALSE(w.clear()); };
Step type(TextBox box, const char* text) {
  return [=](TestWindow& w) { w.type(box, text); };
}
const Step editH = type(TextBox::Text4, "2.6");
const Step editF = type(TextBox::Text33, "4800");

TEST(Staleness, MarksWhatAnEditOrANewCurveLeavesBehind) {
  const struct {
    const char* name;
    std::vector<Step> steps;
    ResultStaleness expected;  // {outputs, checks}
  } cases[] = {
      {"nothing run", {editH}, {false, false}},
      {"curve", {curve}, {false, false}},
      {"curve, h edited", {curve, editH}, {true, false}},
      {"curve, check, h edited", {curve, check, editH}, {true, true}},
      {"curve, check, F edited (the check reads F)", {curve, check, editF}, {false, true}},
      {"curve, check, an engine box edited", {curve, check, type(TextBox::Text1, "300")}, {false, false}},
      {"curve, check, curve again", {curve, check, curve}, {false, true}},
      {"an edit undone by hand", {curve, check, editH, type(TextBox::Text4, "2.2")}, {false, false}},
      {"curve, F edited, check", {curve, editF, check}, {false, false}},
      {"curve, h edited, check", {curve, editH, check}, {true, true}},
      {"edit, curve, check", {curve, check, editH, curve, check}, {false, false}},
      {"a slider moved", {curve, [](TestWindow& w) { ASSERT_FALSE(w.moveSlider(Slider::HScroll3, 900)); }},
       {true, false}},
      {"cleared: nothing shown", {curve, check, clear, editH, editF}, {false, false}},
      {"check after a clear", {curve, clear, check, editF}, {false, true}},
  };
  for (const auto& c : cases) {
    TestWindow w;
    for (const Step& step : c.steps) step(w);
    EXPECT_EQ(w.logic.staleness().outputs, c.expected.outputs) << c.name;
    EXPECT_EQ(w.logic.staleness().checks, c.expected.checks) << c.name;
  }
}

// The analysis reads the curve's design and rf at the curve press: rf edited
// and checked afterwards stales it (and a report of the run), r0 and F do not.
TEST(Staleness, TheAnalysisFollowsTheCurveAndTheBearingRadius) {
  const Step editRf = type(TextBox::Text37, "22");
  const struct {
    const char* name;
    std::vector<Step> steps;
    bool analysis, checks, reportEdited;
  } cases[] = {
      {"curve", {curve}, false, false, false},
      {"curve, rf edited", {curve, editRf}, true, false, true},
      {"curve, rf edited, check", {curve, editRf, check}, true, false, true},
      {"curve, E edited", {curve, type(TextBox::Text31, "206000")}, true, false, true},
      {"curve, r0 edited, check", {curve, type(TextBox::Text36, "20"), check}, false, false, false},
      {"curve, F edited, check", {curve, editF, check}, false, false, false},
      {"curve, rf edited, curve", {curve, editRf, curve}, false, false, false},
      {"cleared", {curve, clear, editRf}, false, false, false},
      {"a curve that stopped has no analysis",
       {type(TextBox::Text4, "abc"), [](TestWindow& w) { ASSERT_TRUE(w.curve()); }, editRf}, false, false, true},
  };
  for (const auto& c : cases) {
    TestWindow w;
    for (const Step& step : c.steps) step(w);
    EXPECT_EQ(w.logic.staleness().analysis, c.analysis) << c.name;
    EXPECT_EQ(w.logic.staleness().checks, c.checks) << c.name;
    EXPECT_EQ(w.logic.inputsEditedSinceRun(), c.reportEdited) << c.name;
  }
}

// The automatic design holds every input fixed but its four free ones, and
// reads the analysis inputs as their texts or defaults.
TEST(Staleness, TheSearchReadsItsFixedInputsAndTheAnalysisInputs) {
  const struct {
    const char* name;
    void (*edit)(DesignInputs&);
    bool stale;
  } cases[] = {
      {"h is searched", [](DesignInputs& d) { d.setText(TextBox::Text4, "3"); }, false},
      {"R/r is searched", [](DesignInputs& d) { d.setText(TextBox::Text9, "1.3"); }, false},
      {"rf", [](DesignInputs& d) { d.setText(TextBox::Text37, "22"); }, true},
      {"the clamp load", [](DesignInputs& d) { d.setText(TextBox::Text33, "4800"); }, true},
      {"an analysis input", [](DesignInputs& d) { d.setExtra("sigmaAllow", "1600"); }, true},
      {"an analysis input set to its default", [](DesignInputs& d) { d.setExtra("n", "18"); }, false},
  };
  for (const auto& c : cases) {
    DesignInputs now;
    c.edit(now);
    EXPECT_EQ(readsDiffer(ResultGroup::Search, DesignInputs(), now), c.stale) << c.name;
  }
}

TEST(Staleness, LastRunFieldsShowTheRunNotTheEdits) {
  const TextBox firstRule = ruleInfo(0).box;
  {
    TestWindow w;
    for (const Step& step : {curve, check}) step(w);
    const std::string loadB = w.text(TextBox::Text19), rule = w.text(firstRule);
    EXPECT_FALSE(w.logic.inputsEditedSinceRun());
    for (const Step& step : {editH, editF}) step(w);
    EXPECT_TRUE(w.logic.inputsEditedSinceRun());
    const MemoryFields run = w.logic.lastRunFields();
    EXPECT_EQ(run.text(TextBox::Text4), "2.2");
    EXPECT_EQ(run.text(TextBox::Text33), defaultText(TextBox::Text33));
    EXPECT_EQ(run.text(TextBox::Text19), loadB);
    EXPECT_EQ(run.text(firstRule), rule);
    EXPECT_EQ(w.text(TextBox::Text4), "2.6") << "the boxes keep the edit";
  }
  {
    // The check read F after the curve ran: the run's F is the check's.
    TestWindow w;
    for (const Step& step : {curve, editF, check}) step(w);
    EXPECT_FALSE(w.logic.inputsEditedSinceRun());
    EXPECT_EQ(w.logic.lastRunFields().text(TextBox::Text33), "4800");
  }
  {
    // A check of an earlier curve is not this run's: its rules read as unchecked.
    TestWindow w;
    for (const Step& step : {curve, check, curve}) step(w);
    EXPECT_FALSE(w.text(firstRule).empty());
    EXPECT_EQ(w.logic.lastRunFields().text(firstRule), "");
    EXPECT_FALSE(w.logic.inputsEditedSinceRun());
  }
  {
    TestWindow w;
    editH(w);
    EXPECT_FALSE(w.logic.lastRunInputs());
    EXPECT_EQ(w.logic.lastRunFields().text(TextBox::Text4), "2.6") << "without a run, the boxes as they are";
  }
}

}  // namespace
}  // namespace diaspring
