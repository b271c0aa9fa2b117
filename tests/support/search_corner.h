#pragma once
// Searches over a corner of the design space, to keep the tests quick.

#include "search/search.h"

namespace diaspring::testing {

// The inputs `ranges` names within their ranges (the others over the
// sliders' ranges), on `threads` threads.
inline search::Options searchOver(const search::Ranges& ranges, unsigned threads = 2) {
  search::Options o;
  o.ranges = ranges;
  o.threads = threads;
  return o;
}

// The corner most search tests use: narrower than the default, it still
// spans several R, R/r and H/h steps around the default design.
inline search::Options narrowed(unsigned threads = 2) {
  return searchOver({.HoverH = {1.7, 2.0}, .R = {82, 88}, .RoverR = {1.25, 1.35}}, threads);
}

}  // namespace diaspring::testing
