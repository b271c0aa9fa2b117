#pragma once
// The inputs that belong to no box of the form: the data of the strength and
// release analysis. A design carries them as extras of DesignInputs, stored
// by name; this registry gives each its symbol, unit, default and meaning for
// the command line, studies, design files and the analysis window.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "form/design_inputs.h"

namespace diaspring {

struct ExtraInput {
  const char* name;         // "n", "b", ...: for command lines, files and study columns
  const char* symbol;       // "n", "b", "Rm", "σzul", "σO0", "k": as an engineer writes it
  const char* unit;         // "mm", "MPa", or "-"
  const char* defaultText;  // the text an unset extra reads as
  const char* meaning;      // in a few words
  const char* meaningZh;    // the same, for the window
  bool example;             // an example value, to be replaced by the material's own data
  bool optional;            // may be left empty: not given (reads as no value)
};

// n, b, Rm, sigmaAllow, sigmaAllowF, sigmaO0, fatigueSlope, requiredCycles,
// sigmaO0At5e5, fatigueSlopeAt5e5, sigmaO0At1e5, fatigueSlopeAt1e5
std::span<const ExtraInput> extraInputs();
const ExtraInput* extraInputOfName(std::string_view name);

// The text of an extra in `inputs`, or its default when it was never set.
std::string extraText(const DesignInputs& inputs, const ExtraInput& input);
// Whether the design gives an extra a text other than its default (a window
// that keeps every extra's text sets them all, most to their defaults).
bool changesExtra(const DesignInputs& inputs, std::string_view name);
// Whether the design changes any of the fatigue lines (its own data, not the example).
bool setsFatigueLines(const DesignInputs& inputs);

// The value of an extra's text: a whole number as the window reads numbers
// (see isWholeNumber), finite; an optional extra's empty (or blank) text is
// NaN. Otherwise a message in English naming the input, e.g.
// "b: 'abc' is not a number".
struct ExtraValue {
  double value = 0;
  std::string error;
};
ExtraValue readExtra(const ExtraInput& input, std::string_view text);

}  // namespace diaspring
