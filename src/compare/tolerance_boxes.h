#pragma once
// The comparison's boxes as every front end shows them: the eight boxes of
// the production scatter (the five tolerances, the clamp load's, the
// samples and the seed) with their captions and units, how their texts
// read, and the names of the curves' line styles.

#include <array>
#include <string>

#include "compare/comparison.h"

namespace diaspring::compare {

struct ToleranceBox {
  const char* name;
  const char* caption;
  const char* unit;
};
inline constexpr std::size_t kToleranceBoxCount = 8;
inline constexpr std::array<ToleranceBox, kToleranceBoxCount> kToleranceBoxes{{
    {"h", "h  ±", "mm"}, {"l0", "l0  ±", "mm"}, {"R", "R  ±", "mm"}, {"r", "r  ±", "mm"},
    {"E", "E  ±", "%"},  {"F", "夹紧力 F  ±", "%"}, {"samples", "抽样数", "个"}, {"seed", "随机种子", ""},
}};
using ToleranceTexts = std::array<std::string, kToleranceBoxCount>;

// The boxes' texts for the input's tolerances, samples and seed.
ToleranceTexts toleranceTexts(const ComparisonInput& input);

// Reads the boxes' texts (trimmed by the front end) into `input`: a text
// that is not a number at least 0 (the samples at most 1000000 and the seed
// below 2⁵³, both whole) keeps its last value and is marked. `refused`
// names the boxes marked ("h、抽样数"), empty when all read.
struct ToleranceReading {
  std::array<bool, kToleranceBoxCount> bad{};
  std::string refused;
};
ToleranceReading readToleranceTexts(const ToleranceTexts& texts, ComparisonInput& input);

// "实线", "虚线" ... for curveStyle(style), cycling as it does.
const char* styleNameZh(int style);

}  // namespace diaspring::compare
