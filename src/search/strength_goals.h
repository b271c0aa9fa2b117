#pragma once
// The strength of a design as a further objective and constraint of the
// search: the largest |σI| over the release strokes (new λ1B ... λ1C, worn
// λ1A ... λ1A + λ1f) to minimise, named "sigmaImax", and the static check of
// σI against the permissible stress sigmaAllow (the largest |σI| over
// 0 ... λ1C, as the strength analysis checks it) as a constraint whose miss
// is the excess in MPa. The analysis inputs (n, b, Rm, sigmaAllow, ...) are
// the extras of the base design, their defaults where unset.

#include <string>

#include "form/design_inputs.h"
#include "search/search.h"

namespace diaspring::search {

inline constexpr const char* kSigmaIObjective = "sigmaImax";
inline constexpr const char* kSigmaIConstraint = "static check of sigma I (|sigma I| <= sigmaAllow over 0 ... lambda1C)";
inline constexpr const char* kSigmaIConstraintZh = "内上缘应力静强度校核（0 … λ1C 内 |σI| ≤ [σ]）";

// Adds the objective and the constraint to `options`. Returns an error in
// English (naming the analysis input that cannot be read) and leaves
// `options` as it was when the inputs cannot be read.
std::string addStrengthGoals(Options& options, const DesignInputs& base);

}  // namespace diaspring::search
