#pragma once
// Inside the design search: which points stay near the front.

#include <vector>

#include "search/grid_slice.h"
#include "search/search.h"

namespace diaspring::search {

// Whether `front` beats `v` by more than kNearFront on every objective.
bool farBehind(const std::vector<double>& v, const std::vector<double>& front);

// Drops the feasible points the search cannot use, keeping their order
// (see front.cpp). What is kept does not depend on the order in which the
// points come, nor on whether some were dropped before.
void keepUsable(std::vector<Tentative>& points);

// A finished design's objectives, the further ones after the two.
std::vector<double> objectiveVector(const Design& d);

}  // namespace diaspring::search
