#pragma once
// What opens an automatic design's space that no design gets through: a
// lower least yield, one narrower tolerance, or one change of the clutch
// data (search::findOpening).

#include <optional>
#include <string>
#include <vector>

#include "compare/production_yield.h"
#include "search/opening.h"

namespace diaspring::compare {

// When the yield alone holds a search's space shut: the search again with
// the least yield lowered by 1, 2, 5 and 10 percentage points, the first
// that lets designs through ("min-yield", from and to in per cent).
std::optional<search::Opening> openingByYield(const DesignInputs& base, const search::Options& options,
                                              double minYield, const ToleranceChoice& tolerances = {});
// The same by one tolerance: h and l0 (the dimensions the clamp load's
// scatter comes from) narrowed from the standard's (or the given) tolerance of the base
// design to 75 % and then 50 % of it, the first that lets designs through
// narrowed by one halving and rounded down to 0.01 mm, then the full search
// once more for the number of designs. Opening::tolerance is set.
std::optional<search::Opening> openingByTolerance(const DesignInputs& base, const search::Options& options,
                                                  double minYield, const ToleranceChoice& tolerances = {});
// Both, in that order: what opens a space that the yield alone holds shut.
std::vector<search::Opening> openingsByYield(const DesignInputs& base, const search::Options& options,
                                             double minYield, const ToleranceChoice& tolerances = {});

// What single change lets designs through a search that found none: when
// the yield is the only goal no design meets, the yield's openings; when
// those find nothing, or the yield is not at fault, the clutch data's
// (search::findOpening, with every goal kept). `none` is the sentence for
// no opening at all, English or Chinese, with its line end.
struct Openings {
  std::vector<search::Opening> found;
  std::string noneEnglish, noneChinese;
};
// `tolerances`: those the search's yield was given (addYieldGoals), kept
// by the openings but for the one an opening narrows.
Openings openingsOf(const DesignInputs& base, const search::Options& options, double minYield,
                    const search::Infeasibility& why, const ToleranceChoice& tolerances = {});

}  // namespace diaspring::compare
