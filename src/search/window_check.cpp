// What the search asks of the window: a design typed into a fresh window
// and pressed; and the record a further goal analyses.
#include "search/search.h"

#include "chart/display_list.h"
#include "form/input_boxes.h"
#include "runtime/convert.h"
#include "window/window_logic.h"

namespace diaspring::search {

SpringDesign springDesignOf(const DesignView& view) {
  const Geometry& g = view.geometry;
  SpringDesign d = springDesignOf(g, view.points, view.clutch.E, view.clutch.mu);
  d.hInput = g.h;
  d.HoverH = val(view.inputs.text(TextBox::Text6));
  d.RInput = g.R;
  d.RoverR = val(view.inputs.text(TextBox::Text9));
  return d;
}

Range* rangeOf(Ranges& ranges, std::string_view name) {
  if (name == "h") return &ranges.h;
  if (name == "HoverH") return &ranges.HoverH;
  if (name == "R") return &ranges.R;
  if (name == "RoverR") return &ranges.RoverR;
  return nullptr;
}

WindowVerdict checkInWindow(const DesignInputs& inputs) {
  WindowVerdict verdict;
  MemoryFields fields;
  DisplayList chart;
  WindowLogic window(fields, chart);
  inputs.typeInto(fields);
  verdict.fault = window.press(Command::Command1);
  if (!verdict.fault) {
    try {
      window.command3Click(&verdict.rules);
    } catch (const Fault& f) {
      verdict.fault = f;
    }
  }
  verdict.F1B = fields.text(TextBox::Text18);
  verdict.passed = !verdict.fault;
  for (int i = 0; i < kRuleCount; ++i) {
    const RuleResult& r = verdict.rules[static_cast<std::size_t>(i)];
    const std::string shown = fields.text(ruleInfo(i).box);
    verdict.passed = verdict.passed && r.evaluated && r.passed && shown.find(kPassed) != std::string::npos &&
                     shown.find(kFailed) == std::string::npos;
  }
  return verdict;
}

}  // namespace diaspring::search
