#pragma once
// The comparison's table of curves as every front end keeps it: the rows
// (the designs first, the measured curves after them) with the front end's
// own columns beside them, and the refusals the table's buttons give.

#include <algorithm>
#include <string>
#include <vector>

#include "compare/comparison.h"

namespace diaspring::compare {

inline int curveCount(const ComparisonInput& input) {
  return static_cast<int>(input.designs.size() + input.measured.size());
}

// The first line style no row has yet.
int freeStyle(const std::vector<int>& styles);

// Removes row `row` (never the current design, row 0) of the input and of
// each of the front end's columns; false when there is no such row.
template <class... Column>
bool removeCurveRow(ComparisonInput& input, int row, Column&... columns) {
  if (row <= 0 || row >= curveCount(input)) return false;
  const auto designs = static_cast<int>(input.designs.size());
  if (row < designs) input.designs.erase(input.designs.begin() + row);
  else input.measured.erase(input.measured.begin() + (row - designs));
  (columns.erase(columns.begin() + row), ...);
  return true;
}

// The chart's scene: the rows shown, each in its style, and the band of the
// current design when `band` and the current design is shown.
ComparisonScene shownScene(const ComparisonInput& input, const ComparisonResult& result,
                           const std::vector<bool>& shown, const std::vector<int>& styles, bool band);

// The refusal when kMaxCompared curves are shown.
std::string fullMessageZh();

// The refusal of a measured curve's file `fileName` that did not read
// (`errorZh` says why), with the form the file should have.
std::string measuredRefusalZh(const std::string& fileName, const std::string& errorZh);

// Why a measured curve's fit cannot be typed into the window's boxes, or ""
// when it can.
std::string fitRefusalZh(const Calibration& fit);

}  // namespace diaspring::compare
