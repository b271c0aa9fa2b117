#pragma once
// `diaspring-cli design [--set NAME=TEXT ...] [--range NAME=LO:HI ...]
// [--grid N] [--threads N] [--json | -o FILE.csv]`: the springs that pass
// every rule for the given clutch data, as the Pareto set of wearRise and
// releaseForceMax.

#include <span>
#include <string>
#include <string_view>

#include "cli/cli_run.h"
#include "cli/study_command.h"
#include "search/search.h"

namespace diaspring::cli {

// The designs as one JSON object, ending in a line end:
// {"designs": [{"inputs": {...}, "wearRise": x, "releaseForceMax": y,
// "F1B": z, "lambda1B": l}, ...], "evaluated": N, "solved": N,
// "feasible": N, "seconds": t} and, when nothing was found, "infeasible".
std::string renderDesignJson(const search::Result& result, const search::Options& options);

// The designs as CSV: the thirteen input names, then the objectives and F1B.
std::string renderDesignCsv(const search::Result& result);

// `args` are the arguments after "design". Exit status 0 with designs, 1
// when none passes every rule (the explanation goes to stderr) or the file
// cannot be written, 2 for a bad command line.
Outcome runDesignCommand(std::span<const std::string_view> args, const ProgressSink& progress);

}  // namespace diaspring::cli
