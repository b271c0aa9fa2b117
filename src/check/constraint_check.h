#pragma once
// The twelve design rules of the spring, checked on the design as the last
// curve run left it, with the clamp load and the clutch radii read afresh.

#include "model/spring_design.h"
#include "window/seams.h"

namespace diaspring {

// Verdicts as the result boxes show them.
inline constexpr const char* kPassMark = "(合格)";
inline constexpr const char* kPassed = "合格";
inline constexpr const char* kFailed = "不合格";

// Runs the rules in order; each computes, tests and writes its box before
// the next starts. A fault ends the check at its rule, leaving the boxes of
// the earlier rules written and the rest as they were.
void ConstraintCheck(SpringDesign& d, Fields& fields);

}  // namespace diaspring
