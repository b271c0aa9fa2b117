#pragma once
// `diaspring-cli compare`: the current design beside other designs and
// measured curves, the calibration to each measured curve and the
// production scatter of the current design; see usage in compare_command.cpp.

#include <span>
#include <string>
#include <string_view>

#include "cli/cli_run.h"
#include "compare/comparison.h"

namespace diaspring::cli {

class Exporter;

// `args` are the arguments after "compare". The chart (--chart) is written
// through `exporter`; without one that option is a usage error.
Outcome runCompareCommand(std::span<const std::string_view> args, Exporter* exporter = nullptr);

// The comparison as one JSON object, ending in a line end.
std::string renderCompareJson(const compare::ComparisonInput& input, const compare::ComparisonResult& result);

// "h=0.02", "H=±0.05", "E=2%": the tolerance NAME in the unit of its input
// or in per cent of the nominal; writes it into `tol` (E and F kept in per
// cent). Returns the usage error, empty when it reads.
std::string parseTolerance(std::string_view arg, const compare::DesignCurve& nominal, compare::Tolerances& tol);

// The usage error of tolerances that let a spring reach an impossible
// dimension, naming the --tolerance among `given` that set it (or its default).
std::string impossibleToleranceMessage(const compare::ToleranceLimit& limit, std::span<const std::string> given);

}  // namespace diaspring::cli
