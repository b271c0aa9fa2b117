#pragma once
// The window's controls as one table, read by every front end (the desktop
// window and the page): every control with its container, its
// caption or default text, its place in twips (relative to its container's
// client area: the window's, or the frame's for the controls in a frame), its
// tab index and, for a slider, its range and starting value.

#include <span>
#include <string_view>

namespace diaspring {

enum class ControlKind { Form, Frame, Label, TextBox, ScrollBar, Button, Picture, Image };

struct ControlSpec {
  std::string_view name;
  ControlKind kind;
  std::string_view parent;  // "" for the window itself, "Form1" or a frame
  std::string_view text;    // caption or default text
  int left, top, width, height;  // twips
  int tabIndex;                  // -1: none
  int min = 0, max = 0, value = 0;  // sliders only
};

// 15 twips make one logical pixel (96 dpi).
inline constexpr int kTwipsPerPixel = 15;
constexpr int toPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

// Every control of the window, containers before their contents.
std::span<const ControlSpec> controlTable();

// The row of the control with this name, or null.
const ControlSpec* findControl(std::string_view name);

}  // namespace diaspring
