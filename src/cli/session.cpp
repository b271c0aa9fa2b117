#include "cli/session.h"

#include <stdexcept>

namespace diaspring::cli {

Session::Session() : logic_(fields_, chart_) {}

void Session::apply(const Action& action) {
  if (const auto* set = std::get_if<SetText>(&action)) {
    fields_.setText(set->box, set->text);
  } else if (const auto* move = std::get_if<MoveSlider>(&action)) {
    const SliderRange range = sliderRange(move->slider);
    if (move->value < range.min || move->value > range.max) {
      throw std::out_of_range(sliderName(move->slider) + " value " + std::to_string(move->value) +
                              " is outside its range");
    }
    if (fields_.sliderValue(move->slider) == move->value) return;
    fields_.setSliderValue(move->slider, move->value);
    if (auto fault = logic_.sliderChanged(move->slider)) {
      faults_.push_back({move->slider, fault->kind(), fault->cause()});
    }
  } else if (const auto* press = std::get_if<Press>(&action)) {
    if (auto fault = logic_.press(press->command)) {
      faults_.push_back({press->command, fault->kind(), fault->cause()});
    }
  }
}

void Session::loadDesign(const DesignDocument& document) {
  for (int i = 1; i <= kSliderCount; ++i) {
    const auto slider = static_cast<Slider>(i);
    apply(MoveSlider{slider, document.inputs.slider(slider)});
  }
  document.inputs.typeInto(fields_);
  document_ = document;
}

DesignDocument Session::design() const {
  DesignDocument now = document_;
  now.inputs = DesignInputs::fromFields(fields_);
  for (const auto& [name, text] : document_.inputs.extras()) now.inputs.setExtra(name, text);
  return now;
}

void Session::applyAll(const std::vector<Action>& actions) {
  for (const Action& action : actions) apply(action);
}

}  // namespace diaspring::cli
