#pragma once
// What a search's grid found that does not depend on its further goals,
// kept for the next search over the same grid. A design command runs
// several searches over one grid that differ only in a further constraint
// (the least production yield, a tolerance): each examines the grid's
// points again, solving h and checking the twelve rules, for the same
// answers. With one memo in their options (Options::memo), the first
// search keeps, row by row, the rules met, the nearest design and the
// points that pass every rule with their working points; the later ones
// only weigh those points against their own goals. The points of the finer
// grid are kept too. A search over another grid (other clutch data,
// ranges or divisions) leaves the memo alone. One search at a time may use
// a memo; its rows are filled from the search's threads, each row by one.

#include <array>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "form/design_inputs.h"
#include "search/grid_slice.h"
#include "search/search.h"

namespace diaspring::search {

class GridMemo {
 public:
  // Whether a search over this grid may use the memo: the first grid it
  // is asked about becomes its own.
  bool bind(const DesignInputs& base, const Options& options, std::size_t rows);

  struct Point {
    Tentative tentative;  // without its further goals
    Geometry g;
    WorkingPoints points;
    // The further constraints' quantities and their parts worked out for it.
    PointParts parts{};
  };
  struct Row {
    bool done = false;
    std::array<bool, kRuleCount> met{};
    std::unique_ptr<NearestPoint> nearest;
    std::size_t evaluated = 0, solved = 0;
    std::vector<Point> feasible;
  };
  Row& row(std::size_t i) { return rows_[i]; }
  // The kept point of the finer grid at these texts, or null; keep() takes one.
  Row* finePoint(const std::array<std::string, 3>& texts);
  void keep(const std::array<std::string, 3>& texts, Row&& row);

  // The window's verdict on a design and a final test's figure for it, as
  // an earlier search found them; none when not yet known.
  std::optional<bool> passedInWindow(const DesignInputs& design) const;
  void keepWindowVerdict(const DesignInputs& design, bool passed);
  std::optional<FinalFigure> finalFigure(const std::string& key, const DesignInputs& design) const;
  void keepFinalFigure(const std::string& key, const DesignInputs& design, const FinalFigure& figure);

 private:
  std::optional<DesignInputs> base_;
  Ranges ranges_;
  int divisions_ = 0;
  std::vector<Row> rows_;
  mutable std::mutex fineMutex_;
  std::map<std::array<std::string, 3>, Row> fine_;
  mutable std::mutex designMutex_;
  std::map<std::string, bool> windowVerdicts_;  // by the design's texts
  std::map<std::pair<std::string, std::string>, FinalFigure> finalFigures_;  // by the test's key and the texts
};

}  // namespace diaspring::search
