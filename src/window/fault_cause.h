#pragma once
// Why a curve run stopped, in the terms of the box that caused it. The load
// law and the searches only see numbers: a thickness typed as "abc" reads as
// 0 and the run stops finding no peak, as a flat cone would. Looking back at
// the texts the run read names the box and what was read from it.

#include <string>

#include "form/design_inputs.h"
#include "runtime/fault.h"

namespace diaspring {

// The cause of `fault`, raised by a curve run that read `run`, when one
// input explains it (a box read as 0, a ratio that leaves no ring, μ = 1,
// a number too large, ...): a Chinese sentence naming the box, its text and
// the number read from it. Empty when no single input explains it; the
// fault's own cause then stands.
std::string curveFaultCause(const DesignInputs& run, const Fault& fault);

}  // namespace diaspring
