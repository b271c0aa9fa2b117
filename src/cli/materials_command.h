#pragma once
// `diaspring-cli materials [--json]`: the steels of the material library,
// every number with its source, and what the library leaves empty.

#include <span>
#include <string_view>

#include "cli/cli_run.h"

namespace diaspring::cli {

// `args` are the arguments after "materials".
Outcome runMaterialsCommand(std::span<const std::string_view> args);

}  // namespace diaspring::cli
