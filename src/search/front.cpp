#include "search/front.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "search/grid.h"

namespace diaspring::search {
namespace {

constexpr std::size_t kKeepMissing = 256;

}  // namespace

bool farBehind(const std::vector<double>& v, const std::vector<double>& front) {
  for (std::size_t k = 0; k < v.size(); ++k)
    if (!(front[k] + kNearFront * std::fabs(front[k]) < v[k])) return false;
  return true;
}

std::vector<std::size_t> paretoFront(const std::vector<std::vector<double>>& objectives) {
  std::vector<std::size_t> order(objectives.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return objectives[a] < objectives[b]; });
  const auto dominates = [](const std::vector<double>& a, const std::vector<double>& b) {
    bool strictly = false;
    for (std::size_t k = 0; k < a.size(); ++k) {
      if (a[k] > b[k]) return false;
      strictly = strictly || a[k] < b[k];
    }
    return strictly;
  };
  std::vector<std::size_t> front;
  for (std::size_t i : order) {
    // Sorted lexicographically, a vector is dominated only by one before it,
    // and then by a member of the front.
    const bool dominated = std::any_of(front.begin(), front.end(),
                                       [&](std::size_t f) { return dominates(objectives[f], objectives[i]); });
    if (!dominated) front.push_back(i);
  }
  return front;
}

// A point that misses the further constraints by more than kNearFront is
// never given a text, and serves only to explain a search in which no
// design meets them (the least-missing ones, kKeepMissing of them, the
// earlier of two that miss by as much, are kept for that); a point that a
// point meeting every constraint beats by more than kNearFront on
// every objective is one the finishing leaves out too,
// and would be taken up only if every such better point were dropped there
// (found without a text, or refused by the window), which the finishing's
// rounds have not met; it is let go. The front itself, and every point
// near it, stays. A point far behind one that was let go is far behind the
// point that beat it: so dropping early changes nothing.
void keepUsable(std::vector<Tentative>& points) {
  std::vector<std::vector<double>> meeting;
  for (const Tentative& t : points)
    if (t.relativeMiss <= 0) meeting.push_back(t.vector());
  std::vector<const std::vector<double>*> front;
  for (std::size_t f : paretoFront(meeting)) front.push_back(&meeting[f]);

  std::vector<std::pair<double, std::size_t>> missing;
  for (std::size_t i = 0; i < points.size(); ++i)
    if (points[i].relativeMiss > kNearFront) missing.emplace_back(points[i].relativeMiss, i);
  std::vector<bool> keep(points.size(), false);
  if (missing.size() > kKeepMissing) {
    std::nth_element(missing.begin(), missing.begin() + static_cast<std::ptrdiff_t>(kKeepMissing), missing.end());
    missing.resize(kKeepMissing);
  }
  for (const auto& m : missing) keep[m.second] = true;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (points[i].relativeMiss > kNearFront) continue;
    const std::vector<double> v = points[i].vector();
    keep[i] = std::none_of(front.begin(), front.end(), [&](const std::vector<double>* f) { return farBehind(v, *f); });
  }
  std::size_t to = 0;
  for (std::size_t i = 0; i < points.size(); ++i)
    if (keep[i]) {
      if (to != i) points[to] = std::move(points[i]);
      ++to;
    }
  points.resize(to);
  points.shrink_to_fit();
}

std::vector<double> objectiveVector(const Design& d) {
  std::vector<double> v{d.wearRise, d.releaseForceMax};
  v.insert(v.end(), d.extra.begin(), d.extra.end());
  return v;
}

}  // namespace diaspring::search
