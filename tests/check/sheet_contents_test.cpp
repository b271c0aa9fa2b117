#include <gtest/gtest.h>

#include "check/constraint_check.h"
#include "check/sheet_contents.h"
#include "form/fields.h"

namespace diaspring {
namespace {

// White space the sheet trims: ASCII and the wide, no-break and thin spaces
// an engineer's input method may type; inner runs kept, or made one space
// for captions.
TEST(SheetContents, TrimsEveryKindOfWhiteSpace) {
  const struct {
    const char* text;
    bool simplify;
    const char* expected;
  } cases[] = {
      {"  2.2\t", false, "2.2"},
      {"\u30002.2\u00A0\u2009", false, "2.2"},
      {"\u3000\u00A0 ", false, ""},
      {"a  \n b", false, "a  \n b"},
      {" a  \n b\u3000c ", true, "a b c"},
      {"λ1 \u00B7 x", true, "λ1 \u00B7 x"},  // a middle dot is text
  };
  for (const auto& c : cases) EXPECT_EQ(sheet_text::trimmed(c.text, c.simplify), c.expected) << c.text;
}

// The rules' rows and summary read the verdict from each box: passed,
// failed, not yet checked, or typed over by hand.
TEST(SheetContents, RulesVerdictsAndSummary) {
  MemoryFields fields;
  const std::string passed = std::string("0.5 ") + kPassed, failed = std::string("9 ") + kFailed;
  for (int i = 0; i < kRuleCount; ++i) fields.setText(ruleInfo(i).box, passed);
  EXPECT_EQ(sheet_text::contents(fields).summary, "12 项约束中 12 项合格，满足全部约束条件。");
  fields.setText(ruleInfo(0).box, failed);
  fields.setText(ruleInfo(1).box, " ");
  fields.setText(ruleInfo(2).box, "typed");
  const sheet_text::Contents c = sheet_text::contents(fields);
  EXPECT_EQ(c.summary, "12 项约束中 9 项合格，1 项不合格，1 项未验证，1 项结果无法识别。");
  const struct {
    int rule;
    sheet_text::Verdict verdict;
    std::string shown, mark;
  } rows[] = {{0, sheet_text::Verdict::Failed, failed, "✘"},
              {1, sheet_text::Verdict::Unchecked, "未验证", "—"},
              {2, sheet_text::Verdict::Unknown, "typed", "?"},
              {3, sheet_text::Verdict::Passed, passed, "✔"}};
  for (const auto& r : rows) {
    EXPECT_EQ(c.rules[r.rule].verdict, r.verdict) << r.rule;
    EXPECT_EQ(c.rules[r.rule].shown, r.shown) << r.rule;
    EXPECT_EQ(c.rules[r.rule].mark, r.mark) << r.rule;
    EXPECT_EQ(c.rules[r.rule].number, r.rule + 1);
  }
}

// An empty box shows as a dash; a ratio has no unit.
TEST(SheetContents, InputRowsDashEmptyBoxesAndRatios) {
  MemoryFields fields;
  fields.setText(TextBox::Text4, " 2.2 ");
  fields.setText(TextBox::Text6, "\u3000");
  fields.setText(TextBox::Text12, "");
  const sheet_text::Contents c = sheet_text::contents(fields);
  ASSERT_EQ(c.geometry.size(), 8U);
  EXPECT_EQ(c.geometry[0].value, "2.2");
  EXPECT_EQ(c.geometry[1].value, "—");
  EXPECT_EQ(c.geometry[1].unit, "—");
  EXPECT_EQ(c.points.size(), 6U);
  EXPECT_EQ(c.points[0].load, "—");
}

}  // namespace
}  // namespace diaspring
