#pragma once
// `diaspring-cli study IN.csv [-o OUT.csv] [--threads N]`: a parameter study
// over the designs of a CSV file.

#include <functional>
#include <span>
#include <string_view>

#include "cli/cli_run.h"

namespace diaspring::cli {

// Progress lines as the study goes: called with "\r..." updates once the
// study has run for more than a second, and a final line end.
using ProgressSink = std::function<void(std::string_view)>;

// `args` are the arguments after "study". The result goes to OUT or, without
// -o, to Outcome::out; problems to Outcome::err with the exit status: 2 for
// a bad command line, an unreadable IN or a header that names unknown
// columns, 1 when OUT cannot be written.
Outcome runStudyCommand(std::span<const std::string_view> args, const ProgressSink& progress);

}  // namespace diaspring::cli
