#pragma once
// The JSON form of a run: every text box, the sliders, the faults and the
// chart's drawing operations in the order they were made.

#include <string>
#include <string_view>
#include <vector>

#include "analysis/materials.h"
#include "analysis/spring_analysis.h"
#include "chart/display_list.h"
#include "cli/session.h"
#include "compare/production_yield.h"
#include "form/fields.h"
#include "runtime/json_writer.h"

namespace diaspring::cli {

// Strings, numbers and the commas between members are written by the
// core's JSON writer.
using diaspring::appendJsonArray;
using diaspring::appendJsonDouble;
using diaspring::appendJsonFloat;
using diaspring::appendJsonInt;
using diaspring::appendJsonObject;
using diaspring::appendJsonString;
using diaspring::JsonList;

// An array with each element on a line of its own, [\nA,\nB]:
// append(out, item) writes one element.
template <class Items, class Append>
void appendJsonLines(std::string& out, const Items& items, Append append) {
  appendJsonArray(out, [&](JsonList& lines) {
    for (const auto& item : items) append(lines.next() += '\n', item);
  });
}

// The analysis of a curve run: {"points": {"M": {"lambda1": ..., ...}, ...},
// "release": {"new": {"F2max", "lambda2End"}, "worn": {...}}, "checks": {...}},
// or {"error": "..."} when it could not be made.
void appendJsonAnalysis(std::string& out, const SpringAnalysis& analysis, const AnalysisParams& params);

// A steel of the library: {"name", "aliases", "standard", "E": {"value",
// "source"} or null when no source gives it, "mu", "Rm", "Re", "hardnessMin",
// "hardnessMax", "maxThickness", "maxTemperature", "note"}; a user's own
// material: {"name", "source": "用户数据"}.
void appendJsonMaterial(std::string& out, const Material& material);
void appendJsonMaterial(std::string& out, const DesignMaterial& material);

// The production yield: {"samples", "seed", "yield", "low", "high" (the
// Wilson 95 % interval), "band": {"plusPercent", "minusPercent", "source":
// "standard" or "user", "text"}, "strengthChecked", "by": {"clampLoad":
// {"yield", "low", "high"} or null when not checked, ...}}; an undefined
// share (no samples) is null.
void appendJsonProductionYield(std::string& out, const compare::ProductionYield& y);

// One drawing operation as a compact JSON object, e.g.
// {"op":"line","x1":0,"y1":0,"x2":7,"y2":0,"color":null}.
void appendJsonOp(std::string& out, const DisplayList& chart, const DrawOp& op);

// {"press":"Command1","fault":"division by zero"} with a "cause" key when
// the cause is known.
void appendJsonFault(std::string& out, const FaultRecord& fault);

// The whole object, ending in a line end:
// {"fields": {...}, "sliders": {...}, "faults": [...], "chart": [...]}
// and, when there is one, "material": {...} (appendJsonMaterial) and
// "analysis": {...} after the chart.
std::string renderJson(const Fields& fields, const DisplayList& chart, const std::vector<FaultRecord>& faults,
                       const SpringAnalysis* analysis = nullptr, const AnalysisParams& params = {},
                       const DesignMaterial* material = nullptr);

}  // namespace diaspring::cli
