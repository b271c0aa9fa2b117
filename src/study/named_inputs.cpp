#include "study/named_inputs.h"

namespace diaspring {
namespace {

constexpr NamedInput kInputs[] = {
    {"h", TextBox::Text4, "mm", "sheet thickness"},
    {"HoverH", TextBox::Text6, "-", "cone height to thickness ratio H/h"},
    {"R", TextBox::Text7, "mm", "outer radius"},
    {"RoverR", TextBox::Text9, "-", "outer to inner radius ratio R/r"},
    {"dLambda", TextBox::Text10, "mm", "wear allowance"},
    {"lambda1f", TextBox::Text11, "mm", "release travel"},
    {"E", TextBox::Text31, "MPa", "Young's modulus"},
    {"mu", TextBox::Text32, "-", "Poisson's ratio"},
    {"F", TextBox::Text33, "N", "working clamp load"},
    {"D", TextBox::Text34, "mm", "friction disc outer diameter"},
    {"d", TextBox::Text35, "mm", "friction disc inner diameter"},
    {"r0", TextBox::Text36, "mm", "inner radius of the spring's small end"},
    {"rf", TextBox::Text37, "mm", "release bearing contact radius"},
};

}  // namespace

std::span<const NamedInput> namedInputs() { return kInputs; }

std::optional<TextBox> boxOfNamedInput(std::string_view name) {
  for (const NamedInput& input : kInputs)
    if (name == input.name) return input.box;
  return std::nullopt;
}

}  // namespace diaspring
