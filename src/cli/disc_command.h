#pragma once
// `diaspring-cli disc --De D --Di D --t T --h0 H --s S [--E E --mu MU] [--json]`:
// load and stresses of any disc spring at one deflection.

#include <span>
#include <string_view>

#include "cli/cli_run.h"

namespace diaspring::cli {

// `args` are the arguments after "disc". E defaults to 206000 MPa and μ to
// 0.3 (spring steel, as the disc-spring tables take them).
Outcome runDiscCommand(std::span<const std::string_view> args);

}  // namespace diaspring::cli
