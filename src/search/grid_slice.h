#pragma once
// The coarse grid of a search examined in slices of its rows, each slice on
// its own (another thread, another process, a worker of the page), and the
// slices merged into what one pass over all the rows finds, to the bit.
//
// A search's grid is examined in steps: first the rows whose fixed rules
// pass, then, only when they hold no feasible point, the other rows (for
// the design that comes nearest). Each step asks the search's GridShare
// (Options::share) for the slice of all its rows; without one the search
// examines them itself. SlicedShare is the share of one of several workers
// that each run the same search: it examines its part of every step and
// stops with it (SlicedShare::Stopped) until the parts of all are given back;
// run again with them, the search goes on to its next step.

#include <array>
#include <cstddef>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "check/constraint_check.h"
#include "search/candidate.h"

namespace diaspring::search {

// A grid point that passes every rule at its solved h, ranked by the
// objectives at that h before h is given its text.
struct Tentative {
  std::string HoverH, R, RoverR;  // the grid point's texts
  double h = 0;
  Objectives objectives;
  std::vector<double> extra;           // the further objectives at the solved h
  std::vector<double> constraintMiss;  // each further constraint's miss at the solved h, 0 when met
  double relativeMiss = 0;             // the largest of those, over its constraint's scale

  std::vector<double> vector() const {
    std::vector<double> v{objectives.wearRise, objectives.releaseForceMax};
    v.insert(v.end(), extra.begin(), extra.end());
    return v;
  }
};

// The design of some rows that comes nearest to passing (for the
// explanation when none passes): its free inputs' texts and its rules.
struct NearestPoint {
  double miss = std::numeric_limits<double>::infinity();  // the sum of its misses, each in units of its rule's range
  std::array<std::string, 4> texts;  // h, H/h, R, R/r
  RuleOutcomes rules{};
};

// What some rows of the grid found.
struct GridSlice {
  // The feasible points, in the order of their rows; with pruning, only
  // those the search can still use (see keepUsable in front.h).
  std::vector<Tentative> feasible;
  std::size_t feasibleSeen = 0;  // before pruning
  std::size_t evaluated = 0, solved = 0;
  std::array<bool, kRuleCount> met{};  // the rules some examined design met
  std::vector<bool> constraintMet;     // the further constraints some feasible point met at its solved h
  // The nearest design of the row whose nearest design misses by the
  // least, the first such row; none: nearestRow is kNoRow.
  static constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);
  std::size_t nearestRow = kNoRow;
  std::unique_ptr<NearestPoint> nearest;
  bool complete = true;  // false: cancelled before all its rows were examined

  // Takes `later` in (rows that come after this slice's in the step):
  // counts add up, the nearest is the one of least miss (of the lower row
  // when two miss by the same), the feasible points follow this slice's.
  void take(GridSlice&& later);
};

// The slices of one step merged, in the order of their rows; with `prune`
// the points the search cannot use are dropped, as one pass drops them.
GridSlice mergeSlices(std::vector<GridSlice> slices, bool prune);

// A slice as text and back, every number to the bit; fromText throws
// SliceTextError for a text that is not one.
std::string sliceText(const GridSlice& slice);
class SliceTextError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
GridSlice sliceFromText(std::string_view text);

// One step of a search's grid: `rows` rows, examined by scan(from, to,
// done), which examines rows [from, to) of the step and reports the rows
// it has done so far (from `from`) to `done`.
struct GridStep {
  std::size_t rows = 0;
  std::size_t offset = 0, total = 0;  // for progress: the grid's rows before this step's, and all of them
  bool prune = true;
  std::function<GridSlice(std::size_t from, std::size_t to, const std::function<void(std::size_t done)>& done)> scan;
};

// Who examines a step's rows. Called from the search's calling thread.
class GridShare {
 public:
  virtual ~GridShare() = default;
  // The slice of all the step's rows (or throws to stop the search).
  virtual GridSlice examine(const GridStep& step) = 0;
};

// The rows [from, to) of `rows` that part `part` of `parts` takes: parts of
// sizes differing by at most one, in order.
std::pair<std::size_t, std::size_t> partOf(std::size_t rows, unsigned part, unsigned parts);

// The share of worker `part` of `parts` that all run the same searches.
// The steps are numbered in the order the searches reach them (a design
// command runs several searches). Only the steps of the first search are
// shared (step 0, and step 1 when it holds that search's other rows): a
// worker reaches them with nothing run before, while a later search's step
// comes after the first search's front, window check and explanation,
// which only the first worker runs. Given the slices of every part for a shared step
// (`give`), it merges them; for the first shared step it has not been
// given, it examines its own part and throws Stopped with it. A later step
// the first worker examines whole; any other worker throws Stopped with an empty slice
// there (it has nothing more to do).
class SlicedShare : public GridShare {
 public:
  struct Stopped {
    std::size_t step;
    std::string slice;  // sliceText of this part's slice; empty: not a shared step
  };
  // `progress(number, rows done, step)` while it examines its part of a
  // step: the rows of its part done so far.
  using Progress = std::function<void(std::size_t number, std::size_t done, const GridStep& step)>;
  SlicedShare(unsigned part, unsigned parts, Progress progress = {});
  void give(std::size_t step, std::vector<std::string> slices);  // the parts' texts, in part order
  GridSlice examine(const GridStep& step) override;
  std::size_t steps() const { return next_; }  // the steps reached so far in this run
  void restart() { next_ = 0; }                  // before the searches are run again

 private:
  unsigned part_, parts_;
  Progress progress_;
  bool shared(std::size_t number, const GridStep& step);

  std::map<std::size_t, std::vector<std::string>> given_;
  std::size_t next_ = 0;
  std::size_t firstRows_ = 0;  // the rows of step 0
};

}  // namespace diaspring::search
