#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "check/constraint_check.h"
#include "runtime/convert.h"
#include "support/window_fixture.h"

namespace diaspring {
namespace {

using testing::faulted;
using testing::TestWindow;

constexpr TextBox kResultBoxes[] = {
    TextBox::Text24, TextBox::Text25, TextBox::Text26, TextBox::Text27, TextBox::Text28, TextBox::Text29,
    TextBox::Text30, TextBox::Text38, TextBox::Text39, TextBox::Text40, TextBox::Text41, TextBox::Text42,
};

void markResultBoxes(TestWindow& w) {
  for (TextBox box : kResultBoxes) w.type(box, "before");
}

TEST(ConstraintCheck, DefaultDesignPassesEveryRule) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  ASSERT_FALSE(w.check());
  const char* expected[] = {"0.442(合格)", "合格",        "1.9(合格)",  "11.39(合格)", "1.33(合格)", "77.00(合格)",
                            "4.71(合格)",  "(合格)",      "2.00(合格)", "2.00(合格)",  "2.00(合格)", "2.68(合格)"};
  for (std::size_t i = 0; i < std::size(kResultBoxes); ++i)
    EXPECT_EQ(w.text(kResultBoxes[i]), expected[i]) << textBoxName(kResultBoxes[i]);
}

// The rules on designs set directly in the record, each case changing one
// quantity of the default design.
struct RuleCase {
  const char* name;
  void (*setup)(SpringDesign&, MemoryFields&);
  TextBox box;
  const char* expected;
};

SpringDesign defaultRecord() {
  TestWindow w;
  w.curve();
  return w.design();
}

TEST(ConstraintCheck, BoundsAndVerdicts) {
  const RuleCase cases[] = {
      // Load rules are strict.
      {"load difference just under 1 N", [](SpringDesign& d, MemoryFields& f) { d.lambda1B = 0; d.lambda1A = 1; f.setText(TextBox::Text33, "0.999"); }, TextBox::Text24, "0.999(合格)"},
      {"load difference of exactly 1 N", [](SpringDesign& d, MemoryFields& f) { d.lambda1B = 0; d.lambda1A = 1; f.setText(TextBox::Text33, "1"); }, TextBox::Text24, "不合格"},
      {"negative difference counts by size", [](SpringDesign& d, MemoryFields& f) { d.lambda1B = 0; d.lambda1A = 1; f.setText(TextBox::Text33, "-0.5"); }, TextBox::Text24, "0.500(合格)"},
      {"equal loads at A and B", [](SpringDesign& d, MemoryFields&) { d.lambda1A = d.lambda1B; }, TextBox::Text25, "不合格"},
      {"A below B", [](SpringDesign& d, MemoryFields&) { d.lambda1A = d.lambda1B + 0.5; }, TextBox::Text25, "不合格"},
      // Ranges include both ends.
      {"H/h exactly 2", [](SpringDesign& d, MemoryFields&) { d.H = 4.4; }, TextBox::Text26, "2(合格)"},
      {"H/h on the upper bound", [](SpringDesign& d, MemoryFields&) { d.H = 4.4; d.h = 2; }, TextBox::Text26, "2.2(合格)"},
      {"H/h above", [](SpringDesign& d, MemoryFields&) { d.H = 5; }, TextBox::Text26, "不合格"},
      {"cone angle 8.9 degrees", [](SpringDesign& d, MemoryFields&) { d.H = 8.9 * 3.141592654 * (d.R - d.r).value() / 180; }, TextBox::Text27, "不合格"},
      {"cone angle 15.5 degrees", [](SpringDesign& d, MemoryFields&) { d.H = 15.5 * 3.141592654 * (d.R - d.r).value() / 180; }, TextBox::Text27, "不合格"},
      {"cone angle 9.2 degrees", [](SpringDesign& d, MemoryFields&) { d.H = 9.2 * 3.141592654 * (d.R - d.r).value() / 180; }, TextBox::Text27, "9.20(合格)"},
      {"R/r on the lower bound", [](SpringDesign& d, MemoryFields&) { d.R = 1.2; d.r = 1; }, TextBox::Text28, "1.20(合格)"},
      {"R/r above", [](SpringDesign& d, MemoryFields&) { d.R = 1.36; d.r = 1; }, TextBox::Text28, "不合格"},
      {"2R/h on the upper bound", [](SpringDesign& d, MemoryFields&) { d.R = 100; d.h = 2; }, TextBox::Text29, "100.00(合格)"},
      {"2R/h below", [](SpringDesign& d, MemoryFields&) { d.R = 69; d.h = 2; }, TextBox::Text29, "不合格"},
      {"R/r0 of exactly 5", [](SpringDesign& d, MemoryFields&) { d.R = 90; }, TextBox::Text30, "5.00(合格)"},
      {"R/r0 below", [](SpringDesign&, MemoryFields& f) { f.setText(TextBox::Text36, "30"); }, TextBox::Text30, "不合格"},
      {"R1 on (D+d)/4", [](SpringDesign& d, MemoryFields&) { d.R1 = 76.25; }, TextBox::Text38, "(合格)"},
      {"R1 on D/2", [](SpringDesign& d, MemoryFields&) { d.R1 = 90; }, TextBox::Text38, "(合格)"},
      {"R1 beyond D/2", [](SpringDesign& d, MemoryFields&) { d.R1 = 90.001; }, TextBox::Text38, "不合格"},
      {"R1 inside the disc", [](SpringDesign& d, MemoryFields&) { d.R1 = 76.2; }, TextBox::Text38, "不合格"},
      {"R-R1 of 7", [](SpringDesign& d, MemoryFields&) { d.R = 90; d.R1 = 83; }, TextBox::Text39, "7.00(合格)"},
      {"r1-r of 0", [](SpringDesign& d, MemoryFields&) { d.r1 = d.r; }, TextBox::Text40, "0.00(合格)"},
      {"r1 inside r", [](SpringDesign& d, MemoryFields&) { d.r1 = d.r - 0.5; }, TextBox::Text40, "不合格"},
      {"rf-r0 of 0", [](SpringDesign&, MemoryFields& f) { f.setText(TextBox::Text37, "18"); }, TextBox::Text41, "0.00(合格)"},
      {"rf-r0 of 6", [](SpringDesign&, MemoryFields& f) { f.setText(TextBox::Text37, "24"); }, TextBox::Text41, "6.00(合格)"},
      {"rf-r0 above 6", [](SpringDesign&, MemoryFields& f) { f.setText(TextBox::Text37, "24.01"); }, TextBox::Text41, "不合格"},
      {"lever ratio of 4.5", [](SpringDesign& d, MemoryFields& f) { d.r1 = 20; d.R1 = 24; f.setText(TextBox::Text37, "2"); }, TextBox::Text42, "4.50(合格)"},
      {"lever ratio below", [](SpringDesign&, MemoryFields& f) { f.setText(TextBox::Text37, "27"); }, TextBox::Text42, "不合格"},
  };
  const SpringDesign base = defaultRecord();
  for (const RuleCase& c : cases) {
    SpringDesign d = base;
    MemoryFields fields;
    c.setup(d, fields);
    try {
      ConstraintCheck(d, fields);
    } catch (const Fault& fault) {
      ADD_FAILURE() << c.name << ": " << fault.what();
    }
    EXPECT_EQ(fields.text(c.box), c.expected) << c.name;
  }
}

TEST(ConstraintCheck, FaultsStopAtTheirRule) {
  const struct {
    const char* name;
    TextBox box;
    const char* text;
    FaultKind kind;
    std::size_t written;  // result boxes written before the fault
  } cases[] = {
      {"empty r0", TextBox::Text36, "", FaultKind::DivisionByZero, 6},
      {"clamp load beyond range", TextBox::Text33, "1e999", FaultKind::Overflow, 0},
      {"disc diameter beyond range", TextBox::Text35, "-1e400", FaultKind::Overflow, 7},
      {"bearing radius beyond range", TextBox::Text37, "9e9999", FaultKind::Overflow, 10},
  };
  for (const auto& c : cases) {
    TestWindow w;
    ASSERT_FALSE(w.curve());
    markResultBoxes(w);
    w.type(c.box, c.text);
    ASSERT_TRUE(faulted(w.check(), c.kind)) << c.name;
    for (std::size_t i = 0; i < std::size(kResultBoxes); ++i)
      EXPECT_EQ(w.text(kResultBoxes[i]) != "before", i < c.written) << c.name << " " << textBoxName(kResultBoxes[i]);
  }
}

TEST(ConstraintCheck, RecordsWhatEachRuleFound) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  SpringDesign d = w.design();
  w.type(TextBox::Text37, "30");  // rf - r0 = 12: rule 11 fails
  RuleResults results;
  ConstraintCheck(d, w.fields, &results);
  for (int i = 0; i < kRuleCount; ++i) {
    const RuleResult& r = results[static_cast<std::size_t>(i)];
    EXPECT_TRUE(r.evaluated) << i;
    EXPECT_EQ(r.passed, i != 10 && i != 11) << i;  // the lever ratio (65.68 - 30)/17.02 = 2.10 fails too
    EXPECT_EQ(r.value.isSet(), i != 1 && i != 7) << i;
    EXPECT_EQ(ruleInfo(i).box == TextBox::Text25 || ruleInfo(i).box == TextBox::Text38, !r.value.isSet()) << i;
  }
  EXPECT_NEAR(results[0].value.value(), 0.442, 5e-4);
  EXPECT_EQ(results[10].value.value(), 12);
  EXPECT_EQ(w.text(TextBox::Text41), "不合格");

  w.type(TextBox::Text36, "");
  EXPECT_THROW(ConstraintCheck(d, w.fields, &results), Fault);
  for (int i = 0; i < kRuleCount; ++i) EXPECT_EQ(results[static_cast<std::size_t>(i)].evaluated, i < 6) << i;
}

// A failed rule's box keeps "不合格"; what it computed and the range it
// missed are kept for the box's tooltip until the box shows no failure.
TEST(ConstraintCheck, AFailedRuleNamesItsValueAndItsRange) {
  const struct {
    TextBox box;
    const char* text;
    int rule;
    const char* failure;
  } cases[] = {
      {TextBox::Text6, "2.31", 2, "H/h = 2.31，范围 1.6–2.2"},
      {TextBox::Text37, "30", 10, "rf − r0 = 12.00 mm，范围 0–6 mm"},
      {TextBox::Text37, "30", 11, "(r1 − rf)/(R1 − r1) = 2.10，范围 2.3–4.5"},
      {TextBox::Text34, "160", 7, "R1 = 82.70 mm，范围 (D + d)/4 = 71.25 mm – D/2 = 80.00 mm"},
      {TextBox::Text33, "4000", 0, "|F − F1B| = 592.558 N，须小于 1 N（F = 4000 N，F1B = 4592.6 N）"},
      {TextBox::Text33, "4000", 4, ""},  // R/r passes
  };
  for (const auto& c : cases) {
    TestWindow w;
    w.type(c.box, c.text);
    ASSERT_FALSE(w.curve());
    ASSERT_FALSE(w.check());
    EXPECT_EQ(w.logic.ruleFailure(c.rule), c.failure) << c.text;
    EXPECT_EQ(w.text(ruleInfo(c.rule).box) == kFailed, *c.failure != 0);
    ASSERT_FALSE(w.clear());
    EXPECT_EQ(w.logic.ruleFailure(c.rule), "");
  }
}

// The two numbers either side of the first `dash` in `text` ("9°–15°" gives
// 9 and 15); none when there is no dash or no number beside it.
std::optional<std::pair<double, double>> rangeAt(std::string_view text, std::string_view dash) {
  const std::size_t at = text.find(dash);
  if (at == std::string_view::npos) return std::nullopt;
  const auto digit = [](char c) { return (c >= '0' && c <= '9') || c == '.'; };
  std::string_view left = text.substr(0, at);
  if (left.ends_with("°")) left.remove_suffix(std::string_view("°").size());
  std::size_t from = left.size();
  while (from > 0 && digit(left[from - 1])) --from;
  const std::string_view right = text.substr(at + dash.size());
  std::size_t to = 0;
  while (to < right.size() && digit(right[to])) ++to;
  if (from == left.size() || to == 0) return std::nullopt;
  return std::pair{val(left.substr(from)).value(), val(right.substr(0, to)).value()};
}

// The bounds a rule checks are written once, in its row of the table; the
// caption beside its box and its explanation in the guide must name the
// same two numbers ("(3.5-5.0)", "3.5–5.0"), and the three rules whose
// bounds come from the clutch data or the working point have none.
TEST(ConstraintCheck, CaptionAndExplanationNameTheBoundsOfTheTable) {
  int fixed = 0;
  for (int i = 0; i < kRuleCount; ++i) {
    const RuleInfo& rule = ruleInfo(i);
    const std::string_view caption = rule.caption;
    // The caption's range is in its last parentheses: "R-R1=  (1-7)".
    const std::size_t open = caption.rfind('(');
    const auto inCaption = open == std::string_view::npos ? std::nullopt : rangeAt(caption.substr(open), "-");
    ASSERT_EQ(rule.range.has_value(), inCaption.has_value()) << caption;
    if (!rule.range) continue;
    ++fixed;
    const auto inExplanation = rangeAt(rule.explanation, "–");
    ASSERT_TRUE(inExplanation.has_value()) << rule.explanation;
    for (const auto& told : {*inCaption, *inExplanation}) {
      EXPECT_EQ(told.first, rule.range->low) << caption << " / " << rule.explanation;
      EXPECT_EQ(told.second, rule.range->high) << caption << " / " << rule.explanation;
    }
  }
  EXPECT_EQ(fixed, 9);
}

TEST(ConstraintCheck, BeforeAnyCurveItAsksForTheCurveFirst) {
  TestWindow w;
  markResultBoxes(w);
  const auto fault = w.check();
  ASSERT_TRUE(faulted(fault, FaultKind::InvalidOperation));
  EXPECT_NE(fault->cause().find("输出膜片弹簧曲线及描点"), std::string::npos);
  for (TextBox box : kResultBoxes) EXPECT_EQ(w.text(box), "before") << textBoxName(box);
}

TEST(ConstraintCheck, WorksOnTheDesignOfTheLastCurve) {
  TestWindow w;
  ASSERT_FALSE(w.curve());
  ASSERT_FALSE(w.check());
  const std::string ratio = w.text(TextBox::Text28);
  const std::string load = w.text(TextBox::Text24);
  w.type(TextBox::Text7, "120");   // R
  w.type(TextBox::Text32, "0.25"); // mu
  ASSERT_FALSE(w.check());
  EXPECT_EQ(w.text(TextBox::Text28), ratio);
  EXPECT_EQ(w.text(TextBox::Text24), load);
  // Clamp load and clutch radii are read at every press.
  w.type(TextBox::Text33, "4000");
  w.type(TextBox::Text36, "16");
  ASSERT_FALSE(w.check());
  EXPECT_EQ(w.text(TextBox::Text24), "不合格");
  EXPECT_EQ(w.text(TextBox::Text30), "不合格");  // 84.7 / 16 = 5.29
}

}  // namespace
}  // namespace diaspring
