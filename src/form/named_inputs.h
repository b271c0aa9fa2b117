#pragma once
// The engineering names of the window's input boxes, for the command line
// and for study files.

#include <optional>
#include <span>
#include <string_view>

#include "form/controls.h"

namespace diaspring {

struct NamedInput {
  const char* name;     // "h", "HoverH", ...: for command lines and files
  const char* symbol;   // "h", "H/h", "Δλ", "μ", ...: as an engineer writes it
  TextBox box;
  const char* unit;     // "mm", "MPa", "N", or "-" for ratios
  const char* meaning;  // in a few words
};

// The thirteen inputs the computation reads.
std::span<const NamedInput> namedInputs();
// The three engine boxes (max torque, its speed, max speed): reference data
// kept with a design, read by no computation.
std::span<const NamedInput> engineInputs();
// Whether the box is one of namedInputs(), the boxes the computation reads.
bool isNamedInputBox(TextBox box);
// The input of a name of either list; nullptr for another name.
const NamedInput* namedInputOf(std::string_view name);
// The box of a name of either list.
std::optional<TextBox> boxOfNamedInput(std::string_view name);

}  // namespace diaspring
