#pragma once
// The press both builds measure, natively (session_bench) and in the page
// (window.diaspring.benchCore): the curve button of one headless session,
// after the clear button so that the chart holds one run, as
// `diaspring-cli --press Command2 --press Command1` does.

#include "cli/session.h"

namespace diaspring::bench {

inline void pressCurve(cli::Session& session) {
  session.apply(cli::Press{Command::Command2});
  session.apply(cli::Press{Command::Command1});
}

}  // namespace diaspring::bench
