#pragma once
// The automatic design as the page runs it: on one thread, or as one of
// several workers that each take their part of every grid.

#include <emscripten/val.h>

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_run.h"
#include "runtime/json_writer.h"
#include "search/grid_memo.h"

namespace diaspring::web {

// A command's outcome as the page receives it: the members "status", "out"
// (what it printed) and "err" of an object.
void outcomeMembers(JsonList& out, const cli::Outcome& outcome);

// The automatic design, as `diaspring-cli design` with these arguments (a
// JSON array of texts) on one thread; `progress` receives its progress
// lines. Returns {"status": n, "out": "...", "err": "..."}.
std::string runDesign(const std::string& argsJson, emscripten::val progress);

// One of several workers that run the same automatic design, each taking
// its part of the first search's grids (search/grid_slice.h). run() returns
// {"stopped": n, "slice": text} at the first such grid n it has not been given
// the parts of (its own part examined; "" when n is a later search's grid and
// this is not the first worker), else {"done": {...}} as runDesign; give() hands
// it the parts of grid n (a JS array of texts, in part order). `progress`
// receives (n, rows of its part done, rows before this step, the grid's rows).
class DesignWorker {
 public:
  DesignWorker(int part, int parts) : part_(static_cast<unsigned>(part)), parts_(static_cast<unsigned>(parts)) {}
  void give(int number, const emscripten::val& slices);
  std::string run(const std::string& argsJson, emscripten::val progress);

 private:
  unsigned part_, parts_;
  std::vector<std::pair<std::size_t, std::vector<std::string>>> given_;
  // Kept from one run to the next: each run goes through the searches
  // already done before it reaches the grid it stopped at.
  std::shared_ptr<search::GridMemo> memo_ = std::make_shared<search::GridMemo>();
};

// The automatic design's trade-off chart of `pointsJson` (an array of
// [wearRise, releaseForceMax, σImax or null]), `picked` the design picked
// out (-1: none), as {ops, texts}.
emscripten::val tradeOffChart(const std::string& pointsJson, int picked);

}  // namespace diaspring::web
