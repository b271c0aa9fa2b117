#include "form/named_inputs.h"

namespace diaspring {
namespace {

constexpr NamedInput kInputs[] = {
    {"h", "h", TextBox::Text4, "mm", "sheet thickness"},
    {"HoverH", "H/h", TextBox::Text6, "-", "cone height to thickness ratio H/h"},
    {"R", "R", TextBox::Text7, "mm", "outer radius"},
    {"RoverR", "R/r", TextBox::Text9, "-", "outer to inner radius ratio R/r"},
    {"dLambda", "Δλ", TextBox::Text10, "mm", "wear allowance"},
    {"lambda1f", "λ1f", TextBox::Text11, "mm", "release travel"},
    {"E", "E", TextBox::Text31, "MPa", "Young's modulus"},
    {"mu", "μ", TextBox::Text32, "-", "Poisson's ratio"},
    {"F", "F", TextBox::Text33, "N", "working clamp load"},
    {"D", "D", TextBox::Text34, "mm", "friction disc outer diameter"},
    {"d", "d", TextBox::Text35, "mm", "friction disc inner diameter"},
    {"r0", "r0", TextBox::Text36, "mm", "inner radius of the spring's small end"},
    {"rf", "rf", TextBox::Text37, "mm", "release bearing contact radius"},
};

constexpr NamedInput kEngineInputs[] = {
    {"Temax", "Temax", TextBox::Text1, "N·m", "max engine torque"},
    {"nT", "nT", TextBox::Text2, "rpm", "speed at max torque"},
    {"nmax", "nmax", TextBox::Text3, "rpm", "max engine speed"},
};

}  // namespace

std::span<const NamedInput> namedInputs() { return kInputs; }
std::span<const NamedInput> engineInputs() { return kEngineInputs; }

bool isNamedInputBox(TextBox box) {
  for (const NamedInput& input : kInputs)
    if (input.box == box) return true;
  return false;
}

const NamedInput* namedInputOf(std::string_view name) {
  for (const auto inputs : {namedInputs(), engineInputs()})
    for (const NamedInput& input : inputs)
      if (name == input.name) return &input;
  return nullptr;
}

std::optional<TextBox> boxOfNamedInput(std::string_view name) {
  const NamedInput* input = namedInputOf(name);
  return input ? std::optional(input->box) : std::nullopt;
}

}  // namespace diaspring
