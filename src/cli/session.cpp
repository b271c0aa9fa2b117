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
    const auto fault = logic_.press(press->command);
    if (fault) faults_.push_back({press->command, fault->kind(), fault->cause()});
    if (press->command == Command::Command1 && !fault) lastRun_ = curveRunOf(logic_, fields_);
    else if (press->command != Command::Command3) lastRun_.reset();
  }
}

void Session::loadDesign(const DesignDocument& document) {
  for (int i = 1; i <= kSliderCount; ++i) {
    const auto slider = static_cast<Slider>(i);
    apply(MoveSlider{slider, document.inputs.slider(slider)});
  }
  document.inputs.typeInto(fields_);
  inputs_ = document.inputs;
  document_ = document;
}

void Session::syncSliders() {
  for (int i = 1; i <= kSliderCount; ++i) {
    const auto slider = static_cast<Slider>(i);
    fields_.setSliderValue(slider, nearestSliderPosition(slider, fields_.text(sliderBox(slider)), fields_.sliderValue(slider)));
  }
}

DesignDocument Session::design() const {
  DesignDocument now = document_;
  now.inputs = DesignInputs::fromFields(fields_);
  for (const auto& [name, text] : inputs_.extras()) now.inputs.setExtra(name, text);
  return now;
}

void Session::setExtra(std::string_view name, std::string_view text) { inputs_.setExtra(name, text); }

std::optional<AnalysisInput> Session::analysisInput() const {
  if (!lastRun_) return std::nullopt;
  const ParamsResult params = analysisParams(inputs_);
  if (!params.error.empty()) return std::nullopt;
  return AnalysisInput{*lastRun_, params.params};
}

std::optional<SpringAnalysis> Session::analysis() const {
  if (!lastRun_) return std::nullopt;
  const ParamsResult params = analysisParams(inputs_);
  if (!params.error.empty()) {
    SpringAnalysis refused;
    refused.error = params.error;
    return refused;
  }
  return analyseSpring(*lastRun_, params.params);
}

void Session::applyAll(const std::vector<Action>& actions) {
  for (const Action& action : actions) apply(action);
}

}  // namespace diaspring::cli
