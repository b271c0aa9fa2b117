#pragma once
// `diaspring-cli design [--set NAME=TEXT ...] [--range NAME=LO:HI ...]
// [--grid N] [--threads N] [--json | -o FILE.csv]`: the springs that pass
// every rule and the static check of sigma I for the given clutch data, as the
// Pareto set of wearRise, releaseForceMax and sigmaImax (see
// search/strength_goals.h; --set takes the analysis inputs too, e.g.
// --set sigmaAllow=1800).

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "cli/cli_run.h"
#include "cli/study_command.h"
#include "search/opening.h"
#include "search/search.h"

namespace diaspring::cli {

// The designs as one JSON object, ending in a line end:
// {"designs": [{"inputs": {...}, "wearRise": x, "releaseForceMax": y,
// "F1B": z, "lambda1B": l, "sigmaImax": s}, ...], "evaluated": N, "solved": N,
// "feasible": N, "seconds": t, "analysisInputs": {n, b, Rm, sigmaAllow, ...
// as texts: the strength data the search held fixed}} and, when nothing was
// found, "infeasible" (the rules and further constraints met by no design,
// the nearest design and its misses: {"rule": k, ...} or {"constraint":
// name, "miss": x}).
// "infeasible" also holds "opening": the single change of the clutch data
// that lets designs through ({"input", "unit", "from", "to", "designs",
// "tolerance"}) or null, and "openings": every one found (when the yield
// holds the space shut, the least yield and a tolerance of h, H, R or r:
// "tolerance" true, from and to its ±).
std::string renderDesignJson(const search::Result& result, const search::Options& options, const DesignInputs& base,
                             const std::vector<search::Opening>& openings = {});

// The designs as CSV: the thirteen input names, then the objectives and F1B,
// the further objectives last.
std::string renderDesignCsv(const search::Result& result, const search::Options& options);

// `args` are the arguments after "design". Exit status 0 with designs, 1
// when none passes every rule (the explanation goes to stderr) or the file
// cannot be written, 2 for a bad command line. `share` examines the grids
// of its searches (search/grid_slice.h); none: the searches themselves.
// `memo` keeps what its searches' grids found for the next search over the
// same grid (search/grid_memo.h); none: a memo of this run's own.
Outcome runDesignCommand(std::span<const std::string_view> args, const ProgressSink& progress,
                         search::GridShare* share = nullptr, std::shared_ptr<search::GridMemo> memo = nullptr);

}  // namespace diaspring::cli
