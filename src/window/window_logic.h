#pragma once
// The window's behaviour without widgets: the nine event handlers of the
// window, talking only to the controls (Fields) and the chart (Surface).
// The Qt window and the headless front end both drive this one class.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "chart/surface.h"
#include "check/constraint_check.h"
#include "model/spring_design.h"
#include "runtime/fault.h"
#include "form/design_inputs.h"
#include "form/fields.h"

namespace diaspring {

// The results made from a design's inputs, each at a press from the inputs
// as they were then. An edit of an input a group read makes it stale.
enum class ResultGroup {
  // The point boxes, the derived H and r and the chart, at the curve press:
  // h, H/h, R, R/r, Δλ, λ1f, E, μ.
  Points,
  // The rule boxes, at the check press: the design of the last curve run
  // (the Points inputs) and F, D, d, r0, rf as the check read them.
  Checks,
  // The strength and release analysis (强度与分离特性, the sheet's second
  // page), at the curve press: the Points inputs and the bearing radius rf.
  // The analysis inputs that belong to no box (n, b, Rm, the limits, the
  // fatigue line) are read afresh whenever it is shown, so they never make
  // it stale.
  Analysis,
  // The current design of the comparison of curves, at the curve press:
  // every named input (the engine boxes are read by nothing).
  Comparison,
  // The designs of the automatic design, at its start: the inputs it holds
  // fixed (Δλ, λ1f, E, μ, F, D, d, r0, rf) and the analysis inputs that
  // belong to no box; h, H/h, R and R/r it searches within its own ranges.
  Search,
};
// The input boxes `group` reads at its own press (for Checks: besides the
// curve's design).
std::span<const TextBox> boxesRead(ResultGroup group);
// Whether an input `group` reads (a box, or for Search an analysis input
// as it reads, its default when unset) differs between `madeFrom` and `now`.
bool readsDiffer(ResultGroup group, const DesignInputs& madeFrom, const DesignInputs& now);

// Which of the results the window shows no longer belong to its inputs.
struct ResultStaleness {
  // The point boxes (Text12 ... Text23) and the chart: an input the curve
  // reads was edited after the curve ran.
  bool outputs = false;
  // The rule boxes (Text24 ... Text30, Text38 ... Text42): the curve ran
  // again after the check, or an input the check reads (those of the curve
  // and F, D, d, r0, rf) was edited after the check.
  bool checks = false;
  // The analysis of the last complete curve run: an input of the curve or
  // rf was edited after it.
  bool analysis = false;
  bool operator==(const ResultStaleness&) const = default;
};

// The position of `slider` nearest the number its box's `text` reads as
// (the slider writes value / 100, or / 10 for R), within its range; the
// `current` position when the text reads as no number in range.
int nearestSliderPosition(Slider slider, std::string_view text, int current);
// The box a slider writes.
TextBox sliderBox(Slider slider);

class WindowLogic {
 public:
  WindowLogic(Fields& fields, Surface& chart);

  // The handlers. Each runs to completion or throws the Fault that stopped
  // it, leaving in place what it drew and wrote before.
  void command1Click();  // the curve: frame, capture, trace, M N H B, A C
  void command2Click();  // clear the chart and the output and check boxes
  // The constraint check; `results` receives what each rule found.
  void command3Click(RuleResults* results = nullptr);
  void sliderChange(Slider slider);  // HScroll1 ... HScroll6 changed

  // The same, as the window runs them: a fault ends the handler and is
  // returned instead of thrown.
  std::optional<Fault> press(Command command);
  std::optional<Fault> sliderChanged(Slider slider);

  const SpringDesign& design() const { return design_; }
  // What rule `rule` (0 ... kRuleCount − 1) computed when its box last
  // showed a failure, as RuleResult::failure; empty while its box shows no
  // failure (a pass, nothing, or a clear).
  const std::string& ruleFailure(int rule) const { return ruleFailures_[static_cast<std::size_t>(rule)]; }
  // The valley deflection λ1N found by the last curve run (the record keeps
  // only its load); unset before a run and when no valley was found.
  Num valleyDeflection() const { return lambda1N_; }

  // What the results were computed from: the inputs as the last curve press
  // read them (kept after a clear: the check goes on using that curve's
  // design), and as the last check read them (unset after a clear, which
  // empties the rule boxes). Unset before the first press.
  const std::optional<DesignInputs>& curveRunInputs() const { return curveRun_; }
  const std::optional<DesignInputs>& checkRunInputs() const { return checkRun_; }

  // Which shown results are stale given the inputs `now` (by default the
  // boxes as they are). Engine boxes and sliders are read by neither.
  ResultStaleness staleness(const DesignInputs& now) const;
  ResultStaleness staleness() const;

  // The inputs of the last run, for a report of it: the boxes the curve
  // read as it read them, those only the check reads as the check read
  // them. Unset when nothing was run.
  std::optional<DesignInputs> lastRunInputs() const;
  // Whether an input the shown results were made from has been edited since,
  // the analysis of the run included (a report of the run carries it).
  bool inputsEditedSinceRun() const;
  // The boxes as a report of the last run shows them: its inputs (as
  // lastRunInputs()), its derived boxes and points as shown, and the rule
  // boxes only when the check belongs to that run (else empty: unchecked).
  // Without a run, the boxes as they are.
  MemoryFields lastRunFields() const;

 private:
  Fields& fields_;
  Surface& chart_;
  SpringDesign design_;
  Num lambda1N_;
  std::optional<DesignInputs> curveRun_;
  std::optional<DesignInputs> checkRun_;
  bool outputsShown_ = false;  // the curve ran and no clear came after
  bool checkOfRun_ = false;    // the last check came after the last curve press
  std::array<std::string, kRuleCount> ruleFailures_;
  bool analysed_ = false;      // the last curve press ran to its end and no clear came after
};

}  // namespace diaspring
