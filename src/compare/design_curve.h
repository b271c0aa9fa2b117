#pragma once
// The characteristic of one design as the comparison shows it: the
// geometry the curve command captures from the design's texts, the load law
// and the six points M N H B A C found exactly as the window finds them.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "form/design_inputs.h"
#include "search/candidate.h"

namespace diaspring::compare {

using XY = std::pair<double, double>;  // (λ1 in mm, F1 in N)

inline constexpr std::array<const char*, 6> kPointNames{"M", "N", "H", "B", "A", "C"};

struct DesignCurve {
  std::string name;
  search::Geometry g;
  ClutchData clutch;
  search::WorkingPoints p;
  std::array<XY, 6> points{};  // M N H B A C
  std::string error;           // empty when the curve was made; else why not, in English

  bool ok() const { return error.empty(); }
  double load(double lambda1) const;  // F1 by the load law
  // The deflection the curve is drawn to: a little beyond the later of N and C.
  double lambdaEnd() const;
  std::vector<XY> samples(int count) const;  // 0 ... lambdaEnd()
};

// The curve of a design. A text that does not read as a number, a design
// whose law cannot be evaluated, or one without a peak and a valley within
// the window's 10 mm sweep comes back with `error` set.
DesignCurve designCurve(const DesignInputs& inputs, std::string name);

}  // namespace diaspring::compare
