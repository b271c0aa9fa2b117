#pragma once
// The input boxes of the window, described once: their engineering names for
// the command line and files, their symbols and units, and what they mean in
// English and in Chinese. The tooltips, the guide, the design sheet and the
// command line's help are all written from this one table.

#include <optional>
#include <span>
#include <string_view>

#include "form/controls.h"

namespace diaspring {

struct InputBox {
  TextBox box;
  const char* name;       // "h", "HoverH", ...: for command lines and files; "" for H and r
  const char* symbol;     // "h", "H/h", "Δλ", "μ", ...: as an engineer writes it
  const char* unit;       // "mm", "MPa", "N"; "" for ratios
  const char* meaning;    // in English, a few words; "" for H and r
  const char* meaningZh;  // in Chinese, as the tooltip and the guide explain it
  const char* shortZh;    // in Chinese, a few words, as the design sheet names it
  const char* rangeZh;    // the usual range, in Chinese words
};

// Every box of the input frames in the form's order: the engine data, the
// geometry and travels (with H and r, which the curve run writes), then the
// material and clutch data.
std::span<const InputBox> inputFrameBoxes();
// The box's description; nullptr for a box of no input frame.
const InputBox* inputFrameBox(TextBox box);

// The boxes a design keeps, by their names: the three engine boxes and the
// thirteen named inputs, in the form's order (H and r are not kept: the
// curve run writes them).
std::span<const InputBox> inputBoxes();

// The thirteen inputs the computation reads, in the form's order.
std::span<const InputBox> namedInputs();
// The three engine boxes (max torque, its speed, max speed): reference data
// kept with a design, read by no computation.
std::span<const InputBox> engineInputs();
// Whether the box is one of namedInputs(), the boxes the computation reads.
bool isNamedInputBox(TextBox box);
// The input of a name of either list; nullptr for another name.
const InputBox* namedInputOf(std::string_view name);
// The box of a name of either list.
std::optional<TextBox> boxOfNamedInput(std::string_view name);

}  // namespace diaspring
