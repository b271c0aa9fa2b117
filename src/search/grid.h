#pragma once
// Inside the design search: the grids of the free inputs, and the Searcher
// that examines their points (a row of the coarse grid, a point of the
// finer grid around the front) and gives a feasible point h's text.

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "search/grid_memo.h"
#include "search/grid_slice.h"
#include "search/search.h"

namespace diaspring::search {

inline constexpr double kInf = std::numeric_limits<double>::infinity();
inline constexpr int kMaxHDecimals = 6;
inline constexpr std::size_t kMaxGridPoints = 50'000'000;
inline constexpr long long kRefine = 4;  // the finer grid around the front: steps per coarse step
inline constexpr int kMaxRefineRounds = 12;
inline constexpr double kNearFront = 0.01;  // relative: how far behind the front a point may be and still be finished

// One free input's grid: the values k * stride / 10^decimals for k from
// first to last, each with the text a user would type for it.
struct Axis {
  int decimals = 0;
  long long stride = 1;
  long long first = 0, last = -1;
  std::size_t size() const { return last < first ? 0 : static_cast<std::size_t>(last - first + 1); }
  std::string text(std::size_t i) const { return textOf(first + static_cast<long long>(i)); }
  std::string textOf(long long k) const { return decimalText(k * stride, decimals); }
  // The grid index nearest to `value`.
  long long indexOf(double value) const {
    return std::llround(value * std::pow(10.0, decimals) / static_cast<double>(stride));
  }
};

bool allPass(const RuleOutcomes& rules);

// One design of the grid evaluated at some h.
struct Evaluation {
  Geometry g;
  std::optional<WorkingPoints> points;
  RuleOutcomes rules{};
};

// A design that passes the twelve rules but misses further constraints:
// by how much each, and the sum of the misses.
struct ConstraintMiss {
  DesignInputs inputs;
  std::vector<Miss> misses;
  double total = 0;
};

// What one row of the grid (one R and R/r, every H/h) found.
struct RowResult {
  std::vector<Tentative> feasible;
  std::array<bool, kRuleCount> met{};
  std::unique_ptr<NearestPoint> nearest;  // the row's design that comes nearest to passing
  std::size_t evaluated = 0, solved = 0;
};

// Takes a row's findings into a slice (the row's index in the grid, for
// the nearest design's tie), and feasible points alone.
void takeRow(GridSlice& slice, RowResult&& row, std::size_t index);
void takePoints(GridSlice& slice, std::vector<Tentative>&& points);

class Searcher {
 public:
  Searcher(const DesignInputs& base, const Options& options);

  std::size_t rows() const { return R_.size() * RoverR_.size(); }
  std::size_t columns() const { return hoverh_.size(); }

  // Whether the rules that h and H/h do not touch (5, 7 to 12) pass for a
  // row: only such rows can hold a feasible design.
  bool rowCanPass(std::size_t row) const;
  RowResult runRow(std::size_t row) const;

  // The points of the grid kRefine times finer within one step of the
  // coarse grid around each seed, the coarse grid's own points left out,
  // in a fixed order; as (H/h, R, R/r) texts.
  std::vector<std::array<std::string, 3>> neighbourhood(const std::vector<const Tentative*>& seeds,
                                                        std::set<std::array<long long, 3>>& visited) const;
  // One point of the finer grid, as a row of its own.
  RowResult runFinePoint(const std::array<std::string, 3>& texts) const;

  // The design of a tentative point with h's text: the fewest decimals
  // (1 ... 6) whose design passes all rules, the nearest value first. None
  // when no such text exists or a further constraint is not met; `met`
  // records which further constraints the design met, `missed` the design
  // and its misses when it passes the rules but not the constraints.
  std::optional<Design> finish(const Tentative& t, std::vector<bool>& constraintsMet,
                               std::optional<ConstraintMiss>& missed) const;

  const DesignInputs& base() const { return base_; }
  const Options& options() const { return options_; }
  const ClutchData& clutch() const { return clutch_; }

 private:
  static constexpr std::array<int, 7> kFixedRules{4, 6, 7, 8, 9, 10, 11};

  RuleOutcomes fixedRules(std::size_t row) const;
  Evaluation evaluate(double h, double H, double R, double r) const;
  std::optional<Evaluation> solveH(double c, double R, double r) const;
  void runPoint(const std::string& HoverHText, const std::string& RText, const std::string& RoverRText, double r,
                RowResult& out, bool trackNearest = true, GridMemo::Row* kept = nullptr) const;
  // A row as the memo kept it, with this search's further goals.
  RowResult fromMemo(GridMemo::Row& kept) const;
  static void keepCounts(GridMemo::Row& kept, const RowResult& out);
  RowResult runNewFinePoint(const std::array<std::string, 3>& texts, GridMemo::Row* kept) const;
  void furtherGoals(Tentative& t, const Evaluation& e, GridMemo::Point* kept = nullptr) const;
  bool isCoarsePoint(const std::array<long long, 3>& p) const;

  const DesignInputs& base_;
  const Options& options_;
  ClutchData clutch_;
  Axis hoverh_, R_, RoverR_;
  Axis fineHoverh_, fineR_, fineRoverR_;
  GridMemo* memo_ = nullptr;  // options_.memo when it is this grid's
};

}  // namespace diaspring::search
