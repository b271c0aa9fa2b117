#pragma once
// `diaspring-cli compare`: the current design beside other designs and
// measured curves, the calibration to each measured curve and the
// production scatter of the current design; see usage in compare_command.cpp.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_run.h"
#include "compare/comparison.h"
#include "design/design_file.h"

namespace diaspring::cli {

class Exporter;

// `args` are the arguments after "compare". The chart (--chart) is written
// through `exporter`; without one that option is a usage error.
Outcome runCompareCommand(std::span<const std::string_view> args, Exporter* exporter = nullptr);

// How a run reads the files it names: from the disk when a reader is
// empty; the page passes readers of the files it was given.
struct CompareFiles {
  std::function<DesignRead(const std::string&)> design;
  std::function<compare::MeasuredRead(const std::string&)> measured;
};

// One run as the arguments ask for it.
struct CompareRequest {
  std::vector<std::string> designs;  // the first is the current design
  std::vector<std::pair<std::string, std::string>> sets;
  std::vector<std::string> measured;
  std::vector<std::string> tolerances;  // "h=0.05", "E=2%"
  int samples = compare::kDefaultSamples;
  std::uint64_t seed = compare::kDefaultSeed;
  bool json = false;
  std::string chart;
  std::string report;
  int scale = 2;
  CompareFiles files;
};

// What a run printed, and the line of the measured file it refused (0: none).
struct CompareRun {
  Outcome outcome;
  int faultLine = 0;
};

// The run after the argument reading: the request as read from arguments.
CompareRun runCompare(const CompareRequest& request, Exporter* exporter = nullptr);
// The arguments read and run, the files named read through `files`.
CompareRun runCompareCommand(std::span<const std::string_view> args, Exporter* exporter, const CompareFiles& files);

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
