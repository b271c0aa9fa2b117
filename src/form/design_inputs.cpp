#include "form/design_inputs.h"

#include <stdexcept>

namespace diaspring {
namespace {

// The box each slider writes, in slider order.
constexpr TextBox kSliderBoxes[kSliderCount] = {TextBox::Text4, TextBox::Text6,  TextBox::Text7,
                                                TextBox::Text9, TextBox::Text10, TextBox::Text11};

std::size_t index(TextBox box) { return static_cast<std::size_t>(static_cast<int>(box) - 1); }
std::size_t index(Slider slider) { return static_cast<std::size_t>(static_cast<int>(slider) - 1); }

void requireInput(TextBox box) {
  if (inputBoxKey(box).empty()) throw std::out_of_range(textBoxName(box) + " is not an input box");
}

}  // namespace

// A key is the name of a named input or an engine box.
std::optional<TextBox> inputBoxOfKey(std::string_view key) { return boxOfNamedInput(key); }

std::string_view inputBoxKey(TextBox box) {
  const InputBox* input = inputFrameBox(box);
  return input != nullptr ? input->name : "";  // H and r have no name
}

std::string_view sliderKey(Slider slider) { return inputBoxKey(kSliderBoxes[index(slider)]); }

std::optional<Slider> sliderOfKey(std::string_view key) {
  for (int i = 1; i <= kSliderCount; ++i)
    if (sliderKey(static_cast<Slider>(i)) == key) return static_cast<Slider>(i);
  return std::nullopt;
}

DesignInputs::DesignInputs() {
  for (const InputBox& input : inputBoxes()) texts_[index(input.box)] = std::string(defaultText(input.box));
  for (int i = 1; i <= kSliderCount; ++i) sliders_[index(static_cast<Slider>(i))] = sliderRange(static_cast<Slider>(i)).initial;
}

DesignInputs DesignInputs::fromFields(const Fields& fields) {
  DesignInputs inputs;
  for (const InputBox& input : inputBoxes()) inputs.texts_[index(input.box)] = fields.text(input.box);
  for (int i = 1; i <= kSliderCount; ++i) inputs.sliders_[index(static_cast<Slider>(i))] = fields.sliderValue(static_cast<Slider>(i));
  return inputs;
}

const std::string& DesignInputs::text(TextBox box) const {
  requireInput(box);
  return texts_[index(box)];
}

void DesignInputs::setText(TextBox box, std::string_view text) {
  requireInput(box);
  texts_[index(box)] = std::string(text);
}

int DesignInputs::slider(Slider slider) const { return sliders_[index(slider)]; }

void DesignInputs::setSlider(Slider slider, int value) { sliders_[index(slider)] = value; }

std::optional<std::string_view> DesignInputs::extra(std::string_view name) const {
  const auto it = extras_.find(name);
  if (it == extras_.end()) return std::nullopt;
  return std::string_view(it->second);
}

void DesignInputs::setExtra(std::string_view name, std::string_view text) { extras_[std::string(name)] = std::string(text); }

void DesignInputs::typeInto(Fields& fields) const {
  for (const InputBox& input : inputBoxes()) fields.setText(input.box, texts_[index(input.box)]);
}

}  // namespace diaspring
