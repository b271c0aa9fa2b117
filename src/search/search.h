#pragma once
// Automatic design: from the clutch's data, the springs that pass all twelve
// rules, ranked by two objectives to minimise, as the Pareto set of the
// feasible springs found.
//
// Method. The free inputs are h, H/h, R and R/r; the clutch data and the
// other inputs stay as given. H/h, R and R/r run over a grid in their
// sliders' steps (0.01, 0.1, 0.01; `gridDivisions` refines it) within the
// ranges. For each grid point the equality of rule 1 is solved for h: F1B
// grows as h^4 (the load law scales as h * lambda * h^2 with lambda1B
// proportional to H = h * H/h), so h <- h * (F / F1B(h))^(1/4) converges in
// two to four steps, each with F1B found exactly as the curve command finds
// it (peak and valley on its 0.001 sweep grid, B at 0.91 of H).
// Further objectives and constraints (the strength) are evaluated on every
// grid point that passes the twelve rules at its solved h; they are closed
// forms of the geometry and the working points, so they cost little.
// Around the front found so far (of the first two objectives, among the
// points that meet the further constraints), a grid four times finer is
// examined within one coarse step of each member, round after round, until
// that front gains no new member: its designs lie where rules meet their
// bounds, between the coarse grid's points. h's text is then the one with
// the fewest decimals (1 ... 6) that still passes all rules, the nearest
// such value first; only points near the front of all objectives at the
// solved h (within 1 % on each) are given a text, since the text moves F1B
// by less than 1.2 N and so every objective and miss by far less than 1 %.
// Designs found feasible are ranked;
// every member of the Pareto set is typed into a fresh window and pressed
// (curve, then check); one that the window does not pass is dropped and the
// set formed again without it.

#include <array>
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "check/constraint_check.h"
#include "form/design_inputs.h"
#include "runtime/fault.h"
#include "search/candidate.h"

namespace diaspring::search {

// A request that cannot run: a range that is empty or not positive, a
// fixed input that cannot be read, a grid too large.
class SearchError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Range {
  double low = 0, high = 0;
  bool operator==(const Range&) const = default;
};

// The free inputs and their ranges; the defaults are the sliders' ranges.
struct Ranges {
  Range h{2, 4};
  Range HoverH{1.5, 2.0};
  Range R{76, 135};
  Range RoverR{1.2, 1.35};
};
// The four free inputs by their input names ("h", "HoverH", "R", "RoverR").
inline constexpr std::array<const char*, 4> kFreeInputs{"h", "HoverH", "R", "RoverR"};
Range* rangeOf(Ranges& ranges, std::string_view name);  // nullptr for another name

// What a further objective or constraint sees of a feasible design.
struct DesignView {
  const DesignInputs& inputs;
  const Geometry& geometry;
  const WorkingPoints& points;
  const ClutchData& clutch;
};

// The design record as the curve command leaves it for this design (the
// fields a strength analysis reads: radii, heights, material, the points),
// so a further objective or constraint can analyse the spring without
// running the window.
SpringDesign springDesignOf(const DesignView& view);

// A further objective to minimise (e.g. the largest stress over the release
// strokes). Called from the search's threads at once: it must not change
// shared state.
struct ExtraObjective {
  std::string name;
  std::function<double(const DesignView&)> value;
};

// Parts of a costly figure worked out for one grid point, kept by name: the
// constraints of searches that share a memo (Options::memo) work each part
// out once a point.
class PointParts {
 public:
  const std::vector<double>* find(std::string_view key) const {
    for (const auto& [name, values] : parts_)
      if (name == key) return &values;
    return nullptr;
  }
  const std::vector<double>& keep(std::string key, std::vector<double> values) {
    parts_.emplace_back(std::move(key), std::move(values));
    return parts_.back().second;
  }

 private:
  std::vector<std::pair<std::string, std::vector<double>>> parts_;
};

// A further constraint on a design that passes the twelve rules: none when
// it is met, else by how much it misses (above 0, in its own unit). Called
// from the search's threads at once.
struct ExtraConstraint {
  std::string name;
  std::function<std::optional<double>(const DesignView&)> miss;
  // The size of the quantity it bounds (e.g. the permissible stress), in
  // the miss's unit: the search weighs a miss against it when it decides
  // which grid points are worth giving h's text.
  double scale = 1;
  // Its name in the window's Chinese messages; the name when empty.
  std::string nameZh{};
  // The miss's unit in messages ("MPa"); `percent`: the miss is a share,
  // shown in percentage points.
  std::string unit{};
  bool percent = false;
  // Optional: a miss worked out from one costly quantity of the design (an
  // estimated yield, say) that other constraints may share, named by
  // `quantityKey`. Searches that share a memo (Options::memo) work it out
  // once for each grid point and key, and give it the point's parts kept
  // so far, for the parts it shares with quantities of other keys. When
  // set, `miss` must equal missOf(quantity(view, parts)) for any parts.
  std::string quantityKey{};
  std::function<double(const DesignView&, PointParts&)> quantity{};
  std::function<std::optional<double>(double)> missOf{};
};

// A last test of the designs about to be returned, after the window has
// passed them (e.g. their production yield by Monte Carlo): a figure for
// each design and whether it may stay. One that may not leaves the front,
// which is formed again without it. Called from the search's threads at once.
struct FinalFigure {
  double value = 0;
  bool passed = true;
};
struct FinalTest {
  std::string name;  // the figure's name in tables and files, e.g. "productionYield"
  std::function<FinalFigure(const DesignInputs&)> figure;
  // Tests with the same key give the same figure for a design: searches
  // that share a memo (Options::memo) test each design once. Empty: always
  // tested.
  std::string key{};
};

class GridShare;  // search/grid_slice.h
class GridMemo;   // search/grid_memo.h

struct Options {
  Ranges ranges;
  int gridDivisions = 1;  // 1, 2, 4, 5 or 10 grid steps per slider step
  // Examine a grid four times finer around the front, round after round,
  // until the front gains no new member.
  bool refine = true;
  // Give h its text only on the points near the front at their solved h
  // (false: on every feasible point; slower, and the same front).
  bool prune = true;
  unsigned threads = 0;   // 0: one per core
  // Called now and then from the calling thread with the grid rows done.
  std::function<void(std::size_t done, std::size_t total)> progress;
  const std::atomic<bool>* cancel = nullptr;  // set: stop soon, return what was found
  std::vector<ExtraObjective> extraObjectives;
  std::vector<ExtraConstraint> constraints;
  std::optional<FinalTest> finalTest;
  // Who examines the coarse grid's rows (search/grid_slice.h); none: the
  // search itself, on `threads` threads.
  GridShare* share = nullptr;
  // What earlier searches over the same grid found (search/grid_memo.h):
  // the searches a design command runs one after another share one.
  std::shared_ptr<GridMemo> memo;
};

struct Design {
  DesignInputs inputs;
  double wearRise = 0;
  double releaseForceMax = 0;  // N
  double F1B = 0;              // N
  double lambda1B = 0;         // mm
  std::vector<double> extra;   // the further objectives, in Options' order
  std::optional<double> finalFigure;  // the final test's figure, when there is one
};

// A rule (0 ... 11) or a further constraint (kRuleCount + its index) that a
// design does not meet, and by how much.
struct Miss {
  int rule = 0;
  RuleOutcome outcome;
};

// Why nothing was found: the rules that no examined design met, and the
// design that came nearest (the smallest sum of its misses, each in units
// of its rule's range) with what it misses.
struct Infeasibility {
  std::array<bool, kRuleCount> neverMet{};
  std::vector<std::string> constraintsNeverMet;
  std::optional<DesignInputs> nearest;  // none when no design could be evaluated at all
  std::vector<Miss> misses;
};

struct Result {
  std::vector<Design> designs;     // the Pareto set, by wearRise ascending
  std::size_t evaluated = 0;       // grid points examined
  std::size_t solved = 0;          // of them, with h solved for rule 1
  std::size_t feasible = 0;        // of them, passing all rules at the solved h
  std::size_t finished = 0;        // of those near the front, passing with h's text
  std::size_t verified = 0;        // designs run through the window
  std::size_t rejectedByWindow = 0;
  std::size_t rejectedByFinalTest = 0;  // passed by the window, not by the final test
  bool cancelled = false;
  std::optional<Infeasibility> infeasible;  // set when no design is returned and the search ran to its end
  double seconds = 0;
};

Result runSearch(const DesignInputs& base, const Options& options = {});

// Whether the window passes the design: typed into a fresh window, the
// curve command then the check, no fault and every rule 合格.
struct WindowVerdict {
  bool passed = false;
  RuleResults rules{};
  std::optional<Fault> fault;
  std::string F1B;  // Text18 as the window shows it
};
WindowVerdict checkInWindow(const DesignInputs& inputs);

// The indices of the non-dominated vectors (all components minimised), in
// the order of the vectors sorted lexicographically (ties by index).
std::vector<std::size_t> paretoFront(const std::vector<std::vector<double>>& objectives);

// The explanation of an infeasible search, one item per line.
std::string explainEnglish(const Infeasibility& why, const Options& options);
std::string explainChinese(const Infeasibility& why, const Options& options);
// The same with the further constraints by their Chinese names, as the
// window shows it: no English word left.
std::string explainInWords(const Infeasibility& why, const Options& options);

}  // namespace diaspring::search
