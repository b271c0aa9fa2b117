// Searches that share a memo return what each returns alone: the memo only
// spares the work, whatever the next search changes.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "search/grid_memo.h"
#include "search/search.h"
#include "support/search_corner.h"

namespace diaspring::search {
namespace {

Options small() { return testing::searchOver({.HoverH = {1.76, 1.86}, .R = {86, 90}, .RoverR = {1.3, 1.35}}); }

// A constraint on a costly quantity (here the cone height, counted), shared
// by key between searches that differ only in its bound.
ExtraConstraint heightAtMost(double bound, std::atomic<int>& worked, const std::string& key = "H") {
  const auto quantity = [&worked](const DesignView& v, PointParts&) {
    ++worked;
    return v.geometry.H;
  };
  const auto missOf = [bound](double H) -> std::optional<double> {
    if (H <= bound) return std::nullopt;
    return H - bound;
  };
  return {"cone height",
          [quantity, missOf](const DesignView& v) {
            PointParts none;
            return missOf(quantity(v, none));
          },
          1.0, "", "mm", false,
          key, quantity, missOf};
}

std::string summary(const Result& r) {
  std::string s = std::to_string(r.designs.size()) + " designs " + std::to_string(r.evaluated) + " evaluated " +
                  std::to_string(r.solved) + " solved " + std::to_string(r.feasible) + " feasible " +
                  std::to_string(r.finished) + " finished " + std::to_string(r.verified) + " verified\n";
  for (const Design& d : r.designs)
    s += d.inputs.text(TextBox::Text4) + " " + d.inputs.text(TextBox::Text6) + " " + d.inputs.text(TextBox::Text7) +
         " " + d.inputs.text(TextBox::Text9) + (d.finalFigure ? " figure " + std::to_string(*d.finalFigure) : "") + "\n";
  if (r.infeasible && r.infeasible->nearest) s += "nearest " + r.infeasible->nearest->text(TextBox::Text4) + "\n";
  return s;
}

TEST(GridMemo, SearchesSharingAMemoReturnWhatEachReturnsAlone) {
  DesignInputs otherClutch;
  otherClutch.setText(TextBox::Text33, "4400");
  struct Step {
    const char* what;
    DesignInputs base;
    double bound;  // of the cone height, mm; 0: no constraint
    bool refine;
    int gridDivisions;
  };
  const std::vector<Step> steps = {
      {"the first search fills the memo", DesignInputs(), 4.4, true, 1},
      {"a looser bound: the same quantities", DesignInputs(), 4.6, true, 1},
      {"a bound none meets: the nearest design", DesignInputs(), 1.0, true, 1},
      {"no further constraint, not refined", DesignInputs(), 0, false, 1},
      {"other clutch data: the memo is left alone", otherClutch, 4.4, true, 1},
      {"a finer grid: the memo is left alone", DesignInputs(), 4.4, true, 2},
      {"the first grid again", DesignInputs(), 4.5, true, 1},
  };
  Options shared = small();
  shared.memo = std::make_shared<GridMemo>();
  std::atomic<int> sharedWork{0};
  for (const Step& step : steps) {
    std::atomic<int> aloneWork{0};
    Options alone = small(), withMemo = shared;
    alone.refine = withMemo.refine = step.refine;
    alone.gridDivisions = withMemo.gridDivisions = step.gridDivisions;
    withMemo.constraints.clear();
    if (step.bound > 0) {
      alone.constraints.push_back(heightAtMost(step.bound, aloneWork));
      withMemo.constraints.push_back(heightAtMost(step.bound, sharedWork));
    }
    const int before = sharedWork;
    EXPECT_EQ(summary(runSearch(step.base, withMemo)), summary(runSearch(step.base, alone))) << step.what;
    if (step.bound > 0 && step.what != steps.front().what && step.gridDivisions == 1 &&
        step.base == DesignInputs()) {
      EXPECT_LT(sharedWork - before, aloneWork / 2) << step.what << ": the grid's quantities came from the memo";
    }
  }
}

// A final test with a key runs once for each design across the searches;
// one without a key every time.
TEST(GridMemo, AFinalTestWithAKeyRunsOnceADesign) {
  for (const bool keyed : {true, false}) {
    std::atomic<int> tested{0};
    Options o = small();
    o.memo = std::make_shared<GridMemo>();
    o.finalTest = FinalTest{"figure",
                            [&tested](const DesignInputs&) {
                              ++tested;
                              return FinalFigure{0.5, true};
                            },
                            keyed ? "half" : ""};
    const Result first = runSearch(DesignInputs(), o);
    ASSERT_FALSE(first.designs.empty());
    const int once = tested;
    const Result again = runSearch(DesignInputs(), o);
    EXPECT_EQ(summary(again), summary(first));
    EXPECT_EQ(tested, keyed ? once : 2 * once) << (keyed ? "keyed" : "not keyed");
  }
}

}  // namespace
}  // namespace diaspring::search
