#include "window/window_logic.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "chart/frame.h"
#include "form/extra_inputs.h"
#include "window/fault_cause.h"
#include "model/capture.h"
#include "model/points.h"
#include "runtime/convert.h"

namespace diaspring {
namespace {

// The output boxes of the points, then the result boxes of the rules, in
// the order the clear command empties them.
constexpr std::array kOutputBoxes{
    TextBox::Text12, TextBox::Text13, TextBox::Text14, TextBox::Text15, TextBox::Text16, TextBox::Text17,
    TextBox::Text18, TextBox::Text19, TextBox::Text20, TextBox::Text21, TextBox::Text22, TextBox::Text23,
    TextBox::Text24, TextBox::Text25, TextBox::Text26, TextBox::Text27, TextBox::Text28, TextBox::Text29,
    TextBox::Text30, TextBox::Text38, TextBox::Text39, TextBox::Text40, TextBox::Text41, TextBox::Text42,
};

// The input boxes the curve reads (the derived H and r it writes itself),
// and those the check reads besides the curve's design.
constexpr std::array kCurveReads{TextBox::Text4,  TextBox::Text6,  TextBox::Text7,  TextBox::Text9,
                                 TextBox::Text10, TextBox::Text11, TextBox::Text31, TextBox::Text32};
constexpr std::array kCheckReads{TextBox::Text33, TextBox::Text34, TextBox::Text35, TextBox::Text36,
                                 TextBox::Text37};
constexpr std::array kAnalysisReads{TextBox::Text4,  TextBox::Text6,  TextBox::Text7,  TextBox::Text9, TextBox::Text10,
                                    TextBox::Text11, TextBox::Text31, TextBox::Text32, TextBox::Text37};
constexpr std::array kComparisonReads{TextBox::Text4,  TextBox::Text6,  TextBox::Text7,  TextBox::Text9,
                                      TextBox::Text10, TextBox::Text11, TextBox::Text31, TextBox::Text32,
                                      TextBox::Text33, TextBox::Text34, TextBox::Text35, TextBox::Text36,
                                      TextBox::Text37};
constexpr std::array kSearchReads{TextBox::Text10, TextBox::Text11, TextBox::Text31, TextBox::Text32, TextBox::Text33,
                                  TextBox::Text34, TextBox::Text35, TextBox::Text36, TextBox::Text37};

bool differ(const DesignInputs& a, const DesignInputs& b, std::span<const TextBox> boxes) {
  for (TextBox box : boxes)
    if (a.text(box) != b.text(box)) return true;
  return false;
}

// Where each slider writes, and how: value / divisor, in the general number
// form or with a pattern.
struct SliderTarget {
  TextBox box;
  double divisor;
  const char* pattern;  // nullptr: the general number form
};

SliderTarget sliderTarget(Slider slider) {
  switch (slider) {
    case Slider::HScroll1: return {TextBox::Text4, 100, nullptr};
    case Slider::HScroll2: return {TextBox::Text6, 100, nullptr};
    case Slider::HScroll3: return {TextBox::Text7, 10, nullptr};
    case Slider::HScroll4: return {TextBox::Text9, 100, nullptr};
    case Slider::HScroll5: return {TextBox::Text10, 100, "0.000"};
    case Slider::HScroll6: return {TextBox::Text11, 100, "0.000"};
  }
  return {TextBox::Text4, 100, nullptr};
}

template <class Handler>
std::optional<Fault> runHandler(Handler&& handler) {
  try {
    handler();
  } catch (const Fault& fault) {
    return fault;
  }
  return std::nullopt;
}

}  // namespace

std::span<const TextBox> boxesRead(ResultGroup group) {
  switch (group) {
    case ResultGroup::Points: return kCurveReads;
    case ResultGroup::Checks: return kCheckReads;
    case ResultGroup::Analysis: return kAnalysisReads;
    case ResultGroup::Comparison: return kComparisonReads;
    case ResultGroup::Search: return kSearchReads;
  }
  return {};
}

bool readsDiffer(ResultGroup group, const DesignInputs& madeFrom, const DesignInputs& now) {
  if (differ(madeFrom, now, boxesRead(group))) return true;
  if (group != ResultGroup::Search) return false;
  for (const ExtraInput& input : extraInputs())
    if (extraText(madeFrom, input) != extraText(now, input)) return true;
  return false;
}

TextBox sliderBox(Slider slider) { return sliderTarget(slider).box; }

int nearestSliderPosition(Slider slider, std::string_view text, int current) {
  double value = 0;
  try {
    value = val(text).value() * sliderTarget(slider).divisor;
  } catch (const Fault&) {
    return current;
  }
  if (!std::isfinite(value)) return current;
  const SliderRange range = sliderRange(slider);
  return static_cast<int>(std::lround(std::clamp(value, double(range.min), double(range.max))));
}

WindowLogic::WindowLogic(Fields& fields, Surface& chart) : fields_(fields), chart_(chart) {}

void WindowLogic::command1Click() {
  DrawChartFrame(chart_);
  curveRun_ = DesignInputs::fromFields(fields_);
  outputsShown_ = true;
  checkOfRun_ = false;
  analysed_ = false;
  CaptureDesign(design_, fields_);
  TraceCurve(design_, chart_);
  lambda1N_ = Num();
  lambda1N_ = FindWorkingPoints(design_, fields_, chart_);
  MarkWearAndRelease(design_, fields_, chart_, lambda1N_);
  analysed_ = true;
}

void WindowLogic::command2Click() {
  chart_.cls();
  for (TextBox box : kOutputBoxes) fields_.setText(box, "");
  outputsShown_ = false;
  analysed_ = false;
  for (std::string& failure : ruleFailures_) failure.clear();
  checkRun_.reset();
}

void WindowLogic::command3Click(RuleResults* results) {
  if (curveRun_) {
    checkRun_ = DesignInputs::fromFields(fields_);
    checkOfRun_ = true;
  }
  // The rules a fault stopped before keep their boxes, and so their failures.
  RuleResults found;
  const auto keep = [&] {
    for (std::size_t i = 0; i < found.size(); ++i)
      if (found[i].evaluated) ruleFailures_[i] = found[i].failure;
    if (results) *results = found;
  };
  try {
    ConstraintCheck(design_, fields_, &found);
  } catch (...) {
    keep();
    throw;
  }
  keep();
}

ResultStaleness WindowLogic::staleness(const DesignInputs& now) const {
  ResultStaleness stale;
  if (!curveRun_) return stale;
  const bool curveEdited = readsDiffer(ResultGroup::Points, *curveRun_, now);
  stale.outputs = outputsShown_ && curveEdited;
  stale.checks = checkRun_ && (!checkOfRun_ || curveEdited || readsDiffer(ResultGroup::Checks, *checkRun_, now));
  stale.analysis = analysed_ && readsDiffer(ResultGroup::Analysis, *curveRun_, now);
  return stale;
}

ResultStaleness WindowLogic::staleness() const { return staleness(DesignInputs::fromFields(fields_)); }

std::optional<DesignInputs> WindowLogic::lastRunInputs() const {
  if (!curveRun_ || (!outputsShown_ && !checkRun_)) return std::nullopt;
  DesignInputs run = *curveRun_;
  if (checkRun_ && checkOfRun_)
    for (TextBox box : kCheckReads) run.setText(box, checkRun_->text(box));
  return run;
}

bool WindowLogic::inputsEditedSinceRun() const {
  const auto run = lastRunInputs();
  if (!run) return false;
  const DesignInputs now = DesignInputs::fromFields(fields_);
  return readsDiffer(ResultGroup::Points, *run, now) || readsDiffer(ResultGroup::Checks, *run, now) ||
         staleness(now).analysis;
}

MemoryFields WindowLogic::lastRunFields() const {
  MemoryFields shown;
  for (int i = 1; i <= kTextBoxCount; ++i) shown.setText(static_cast<TextBox>(i), fields_.text(static_cast<TextBox>(i)));
  for (int i = 1; i <= kSliderCount; ++i) shown.setSliderValue(static_cast<Slider>(i), fields_.sliderValue(static_cast<Slider>(i)));
  const auto run = lastRunInputs();
  if (!run) return shown;
  run->typeInto(shown);
  for (int i = 1; i <= kSliderCount; ++i) shown.setSliderValue(static_cast<Slider>(i), run->slider(static_cast<Slider>(i)));
  if (!checkOfRun_)
    for (int i = 0; i < kRuleCount; ++i) shown.setText(ruleInfo(i).box, "");
  return shown;
}

void WindowLogic::sliderChange(Slider slider) {
  const SliderTarget target = sliderTarget(slider);
  const Num value = Num(fields_.sliderValue(slider)) / target.divisor;
  fields_.setText(target.box, target.pattern ? format(value, target.pattern) : generalText(value));
}

std::optional<Fault> WindowLogic::press(Command command) {
  std::optional<Fault> fault = runHandler([&] {
    switch (command) {
      case Command::Command1: command1Click(); break;
      case Command::Command2: command2Click(); break;
      case Command::Command3: command3Click(); break;
    }
  });
  // A box that explains the stop names it better than the load law can.
  if (fault && command == Command::Command1 && curveRun_)
    if (std::string cause = curveFaultCause(*curveRun_, *fault); !cause.empty()) fault->setCause(std::move(cause));
  return fault;
}

std::optional<Fault> WindowLogic::sliderChanged(Slider slider) {
  return runHandler([&] { sliderChange(slider); });
}

}  // namespace diaspring
