#pragma once
// The readable report of a run, for pasting into an engineer's note: the
// design inputs on one header line, the characteristic points, the
// constraint check with the window's captions, and any fault.

#include <string>
#include <string_view>
#include <vector>

#include "cli/session.h"
#include "form/fields.h"

namespace diaspring::cli {

// The caption beside a point or check box in the window ("F1M=", "λ1C=",
// "R/r=   (1.2-1.35)"), without leading or trailing blanks; empty for the
// other boxes.
std::string reportCaption(TextBox box);

// A fault on one line: "Command1 (输出膜片弹簧曲线及描点): division by zero",
// followed by " — " and the cause when it is known.
std::string describeFault(const FaultRecord& fault);

// The report, UTF-8, columns aligned for a fixed-width font (the Chinese
// characters counted two columns wide), ending in a line end.
std::string renderReport(const Fields& fields, const std::vector<FaultRecord>& faults);

}  // namespace diaspring::cli
