#pragma once
// A design's inputs as one value: the texts of the form's input boxes
// exactly as typed, the slider positions, and the texts of the inputs that
// belong to no box of the form (the data of the analyses beside the window).
// The window, the headless front end, studies, design files and the design
// search all pass designs around as this type.

#include <array>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "form/controls.h"
#include "form/fields.h"
#include "form/input_boxes.h"

namespace diaspring {

// The input boxes are those of inputBoxes(), each stored in files under its
// name ("h", "HoverH", ... "rf", "Temax", "nT", "nmax"): its key. The derived
// boxes (H, r) and the output and check boxes are not inputs.
std::optional<TextBox> inputBoxOfKey(std::string_view key);
// The key of an input box; empty for a box that is not an input.
std::string_view inputBoxKey(TextBox box);
// The key a slider is stored under: the key of the box it writes ("h", ...).
std::string_view sliderKey(Slider slider);
std::optional<Slider> sliderOfKey(std::string_view key);

class DesignInputs {
 public:
  DesignInputs();  // as the window opens: default texts, initial sliders, no extras

  // The inputs the form shows now: its input boxes and sliders.
  static DesignInputs fromFields(const Fields& fields);

  // Text of an input box (one of inputBoxes()); throws std::out_of_range
  // for a box that is not an input.
  const std::string& text(TextBox box) const;
  void setText(TextBox box, std::string_view text);

  int slider(Slider slider) const;
  void setSlider(Slider slider, int value);

  // Inputs that belong to no box, by name; a name never set has no text
  // (its owner supplies the default).
  std::optional<std::string_view> extra(std::string_view name) const;
  void setExtra(std::string_view name, std::string_view text);
  const std::map<std::string, std::string, std::less<>>& extras() const { return extras_; }

  // Types every input text into the form's boxes. The sliders are the
  // caller's: a window moves them first (its slider events write their
  // boxes), then types the texts.
  void typeInto(Fields& fields) const;

  bool operator==(const DesignInputs&) const = default;

 private:
  std::array<std::string, kTextBoxCount> texts_;  // only the input boxes are used
  std::array<int, kSliderCount> sliders_;
  std::map<std::string, std::string, std::less<>> extras_;
};

}  // namespace diaspring
