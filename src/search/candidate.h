#pragma once
// One candidate spring evaluated as the window would evaluate it, without
// the window: the captured geometry (H and r as the boxes show them), the
// load law with the same operations in the same order as SpringLoad, the
// peak and valley found on the window's 0.001 sweep grid, the working,
// worn-lining and release points, the twelve rules and the two objectives.
// Thousands of these run per second; the design search verifies the few it
// returns through the window itself.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "check/constraint_check.h"
#include "form/clutch_data.h"
#include "model/spring_design.h"

namespace diaspring::search {

// The spring's geometry as the curve command captures it: H from the text
// Text5 shows, r rounded to two decimals as Text8 shows it.
struct Geometry {
  double h = 0, H = 0, R = 0, r = 0, R1 = 0, r1 = 0;
};

// What the window captures from these texts (h, H/h, R and R/r as typed).
Geometry captureGeometry(std::string_view h, std::string_view HoverH, std::string_view R, std::string_view RoverR);
// r as Text8 shows it, read back: R / (R/r) rounded to two decimals.
double capturedInnerRadius(double R, double RoverR);

// The load law of one design: F1(l) = k l [(H - a l)(H - a l/2) + h^2], a
// cubic in l, evaluated with SpringLoad's operations (the results agree to
// the bit). `valid()` is false where SpringLoad would fall back on its
// checked steps (a term not finite, a zero divisor).
class LoadLaw {
 public:
  LoadLaw(const Geometry& g, double E, double mu);

  bool valid() const { return valid_; }
  double operator()(double lambda1) const;

  // The stationary points of the cubic, ascending: dF1/dl = 0 where
  // l = (H -/+ sqrt((H^2 - 2 h^2)/3)) / a. None when H < sqrt(2) h.
  int stationaryPoints(double out[2]) const;

  // The largest F1 on [lo, hi], exactly: at an end or at a stationary point
  // inside.
  double maxOn(double lo, double hi) const;

  // (R - r)/(R1 - r1), the lever ratio in the law.
  double lever() const { return lever_; }

 private:
  Geometry g_;
  double piEh_ = 0, elasticDivisor_ = 0, geometry_ = 0, lever_ = 0, hh_ = 0;
  bool valid_ = false;
};

// The characteristic points as the curve command finds them.
struct WorkingPoints {
  double lambda1M = 0, lambda1N = 0, lambda1H = 0, lambda1B = 0, lambda1A = 0, lambda1C = 0;
  double F1B = 0, F1A = 0;
};

// The peak and valley as the window's sweep finds them (the last grid step
// whose loads rise then fall, resp. fall then rise), H midway, B at 0.91 of
// H, A and C the wear allowance before and the release travel beyond B.
// None when the sweep would find no peak or no valley.
std::optional<WorkingPoints> findWorkingPoints(const LoadLaw& law, double dLambda, double lambda1f);

// The window's record of a design of this geometry, its material and its
// working points: the radii, heights and the points M, H, B, A and C; the
// rest (the typed inputs, the sweep's working values) is left unset.
SpringDesign springDesignOf(const Geometry& g, const WorkingPoints& p, double E, double mu);

// One rule's outcome: the quantity it tests, whether it passed, and by how
// much it misses (0 when passed), in the rule's own unit, with the bounds.
struct RuleOutcome {
  bool passed = false;
  double value = 0;  // the tested quantity (F1B - F1A for rule 2, R1 for rule 8)
  double low = 0, high = 0;
  double miss = 0;   // distance outside [low, high] (rule 1: |F - F1B| - 1 when at least 1)
  double scale = 1;  // what a miss of "one" is for this rule, to add misses of different rules
};
using RuleOutcomes = std::array<RuleOutcome, kRuleCount>;

// The twelve rules with the same expressions as the check, and the bounds
// of the rules' table.
RuleOutcomes checkRules(const Geometry& g, const ClutchData& c, const WorkingPoints& p);

// The objectives, both to be minimised:
//   wearRise        = (max F1 on [l1A, l1B] - F1B) / F1B
//   releaseForceMax = (R1 - r1)/(r1 - rf) * max F1 on [l1B, l1C] u [l1A, l1A + l1f]
// the maxima exact (LoadLaw::maxOn).
struct Objectives {
  double wearRise = 0;
  double releaseForceMax = 0;
};
Objectives objectives(const LoadLaw& law, const Geometry& g, const ClutchData& c, const WorkingPoints& p);

// The text of k / 10^decimals with no trailing zeros ("2.2", "84", "1.2345").
std::string decimalText(long long k, int decimals);

}  // namespace diaspring::search
