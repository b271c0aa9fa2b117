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
