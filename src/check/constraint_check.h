#pragma once
// The twelve design rules of the spring, checked on the design as the last
// curve run left it, with the clamp load and the clutch radii read afresh.

#include <array>
#include <optional>
#include <string>

#include "model/spring_design.h"
#include "form/fields.h"

namespace diaspring {

// Verdicts as the result boxes show them.
inline constexpr const char* kPassMark = "(合格)";
inline constexpr const char* kPassed = "合格";
inline constexpr const char* kFailed = "不合格";

inline constexpr int kRuleCount = 12;

// What one rule found, for reports and studies: the quantity it tested
// (unset for the two rules that show none) and its verdict.
struct RuleResult {
  bool evaluated = false;
  bool passed = false;
  Num value;
  // For a failed rule, what it computed and what it asks for, in Chinese as
  // the box's tooltip shows it: "H/h = 2.31，范围 1.6–2.2". Empty otherwise.
  std::string failure;
};

// The range a rule's quantity must lie in, bounds included.
struct RuleRange {
  double low, high;
};

// The cone angle H/(R - r) is turned into degrees with this ten-digit pi,
// not the load law's, by the check and by the search alike.
inline constexpr double kConeAnglePi = 3.141592654;

// The twelve rules in the order they run: one row each holds all that the
// check, the search, the tooltips, the guide and the sheet say of a rule.
struct RuleInfo {
  TextBox box;
  const char* caption;  // the label beside the box in the window
  const char* key;      // a short name for tables and files
  const char* symbol;   // the quantity as a failure names it ("" for rule 2)
  const char* unit;     // after a number, with its space; "" for a ratio
  // The fixed range of the quantity; none for rules 1, 2 and 8, whose
  // bounds come from the clutch data.
  std::optional<RuleRange> range;
  const char* explanation;  // in Chinese: what the rule asks and why
};
const RuleInfo& ruleInfo(int index);  // 0 ... 11

// Runs the rules in order; each computes, tests and writes its box before
// the next starts. A fault ends the check at its rule, leaving the boxes of
// the earlier rules written and the rest as they were. When `results` is
// given, each rule also records what it found there as it runs.
using RuleResults = std::array<RuleResult, kRuleCount>;
void ConstraintCheck(SpringDesign& d, Fields& fields, RuleResults* results = nullptr);

}  // namespace diaspring
