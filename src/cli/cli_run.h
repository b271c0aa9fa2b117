#pragma once
// The whole headless run, from the arguments to what goes to stdout and
// stderr, without touching either: main() writes them.

#include <span>
#include <string>
#include <string_view>

namespace diaspring::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFault = 1;    // a handler faulted or a file could not be written; the output is complete
inline constexpr int kExitUsage = 2;    // bad command line; nothing ran
inline constexpr int kExitBroken = 3;   // the output could not be written, or the run broke down (set by main)

struct Outcome {
  int status = kExitOk;
  std::string out;  // for stdout
  std::string err;  // for stderr: one line on a usage error, one per file not written, else empty
};

// A run refused for its command line or its input: status kExitUsage and
// one line on stderr, "diaspring-cli: " and `what` with its control bytes
// escaped.
Outcome usageError(std::string_view what);

class Exporter;

// `args` are the arguments after the program name. The files that --chart
// and --report ask for are written through `exporter` after the actions;
// without one these options are a usage error.
Outcome runCli(std::span<const std::string_view> args, Exporter* exporter = nullptr);

}  // namespace diaspring::cli
