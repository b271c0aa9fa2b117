#pragma once
// `diaspring-cli study IN.csv [-o OUT.csv] [--threads N]`: a parameter study
// over the designs of a CSV file.

#include <functional>
#include <span>
#include <string_view>

#include "cli/cli_run.h"

namespace diaspring::cli {

// Progress lines as the study goes: called with "\r..." updates (rows,
// share of the input, rate, time left) every half second once the study has
// run for more than a second, and a final line end.
using ProgressSink = std::function<void(std::string_view)>;

// `args` are the arguments after "study". The result goes to OUT (written
// whole or not at all) or, without -o, to `outFd` once it is whole (held in
// a temporary file until then), or without one to Outcome::out. The input
// is read line by line, so memory does not grow with the study; it must be
// a regular file. Outcome::err gets a
// warning for each cell that is not wholly a number and ends with a summary
// ("study: 20 rows, 2 faulted, 1 unreadable"). Exit status: 2 for a bad
// command line, an unreadable IN, a header that names unknown columns or an
// OUT that is IN; 1 when a row faulted or could not be read (the result is
// still complete) or OUT cannot be written; else 0.
Outcome runStudyCommand(std::span<const std::string_view> args, const ProgressSink& progress, int outFd = -1);

}  // namespace diaspring::cli
