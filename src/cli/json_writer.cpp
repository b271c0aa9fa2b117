#include "cli/json_writer.h"

#include <cmath>
#include <cstdint>

#include "analysis/analysis_table.h"
#include "runtime/utf8_text.h"
#include "runtime/float_text.h"

namespace diaspring::cli {
namespace {

// The members of an object as the run's JSON spaces them: {"a": 1, "b": 2}.
JsonList spacedMembers(std::string& out) { return JsonList(out, ", ", ": "); }

// JSON holds no infinity: such a value is null, and a member beside it
// ("safetyReason") says why, so that a reader never takes the null for a
// missing result.
void appendNumberMember(JsonList& members, std::string_view key, double value) {
  members.number(key, value);
  if (std::isfinite(value)) return;
  members.text(std::string(key) + "Reason", key == "safety" && value > 0
                            ? "infinite: the upper stress here is not tensile, so this place cannot fail by fatigue"
                        : std::isnan(value) ? "not a number: the calculation has no result here"
                        : value > 0         ? "infinite: the value exceeds the range of a number"
                                            : "minus infinite: the value exceeds the range of a number");
}

// A stroke's fatigue: each place with its life by the fatigue lines, and the
// verdict with the source of its data. On the example line the verdict is
// neither a pass nor a fail: "pass" is null and "verdict" says why.
void appendFatigue(std::string& out, const StrokeFatigue& f, const CheckLine& line, double requiredCycles) {
  out += '{';
  JsonList first = spacedMembers(out);
  first.text("governing", f.governingPlace().name);
  for (const FatiguePlace& place : f.places) {
    first.key(place.name);
    out += '{';
    JsonList inner = spacedMembers(out);
    appendNumberMember(inner, "sigmaU", place.sigmaU);
    appendNumberMember(inner, "sigmaO", place.sigmaO);
    appendNumberMember(inner, "sigmaOPermissible", place.sigmaOPermissible);
    appendNumberMember(inner, "safety", place.safety);
    inner.text("life", place.life.text());
    appendNumberMember(inner, "lifeCycles", place.life.cycles);
    out += '}';
  }
  first.text("shortestLife", f.shortestLifePlace().name);
  appendNumberMember(first, "requiredCycles", requiredCycles);
  first.key("pass");
  out += line.example() ? "null" : line.pass ? "true" : "false";
  first.text("verdict", line.verdictZh());
  first.text("data", line.example() ? "example" : "user");
  first.text("basis", line.basis);
  out += '}';
}

}  // namespace

void appendJsonMaterial(std::string& out, const Material& m) {
  out += '{';
  JsonList first = spacedMembers(out);
  first.text("name", m.name);
  first.text("aliases", m.aliases);
  first.text("standard", m.standard);
  for (const MaterialField& field : materialFields(m)) {
    const MaterialValue* value = field.value;
    first.key(field.key);
    if (!value->given()) {
      out += "null";
      continue;
    }
    out += '{';
    JsonList inner = spacedMembers(out);
    appendNumberMember(inner, "value", value->value);
    inner.text("source", value->source);
    out += '}';
  }
  first.text("note", m.note);
  out += '}';
}

void appendJsonMaterial(std::string& out, const DesignMaterial& material) {
  if (material.library != nullptr) {
    appendJsonMaterial(out, *material.library);
    return;
  }
  out += "{\"name\": ";
  appendJsonString(out, material.name);
  out += ", \"source\": ";
  appendJsonString(out, kUserDataMark);
  out += '}';
}

void appendJsonProductionYield(std::string& out, const compare::ProductionYield& y) {
  const auto share = [&out](const compare::Share& s) {
    out += "{\"yield\": ";
    appendJsonDouble(out, s.value);
    out += ", \"low\": ";
    appendJsonDouble(out, s.low);
    out += ", \"high\": ";
    appendJsonDouble(out, s.high);
    out += '}';
  };
  out += "{\"samples\": " + std::to_string(y.overall.samples) + ", \"seed\": " + std::to_string(y.seed) +
         ", \"passed\": " + std::to_string(y.overall.passed) + ", \"yield\": ";
  appendJsonDouble(out, y.overall.value);
  out += ", \"low\": ";
  appendJsonDouble(out, y.overall.low);
  out += ", \"high\": ";
  appendJsonDouble(out, y.overall.high);
  out += ", \"band\": {\"plusPercent\": ";
  appendJsonDouble(out, y.band.plusPercent);
  out += ", \"minusPercent\": ";
  appendJsonDouble(out, y.band.minusPercent);
  out += y.band.fromStandard ? ", \"source\": \"standard\", \"text\": " : ", \"source\": \"user\", \"text\": ";
  appendJsonString(out, compare::bandTextEnglish(y.band, y.bandThickness));
  out += std::string("}, \"strengthChecked\": ") + (y.strengthChecked ? "true" : "false") + ", \"by\": {";
  JsonList by = spacedMembers(out);
  for (int k = 0; k < compare::kRequirementCount; ++k) {
    by.key(compare::requirementInfo(k).key);
    if (y.checked[static_cast<std::size_t>(k)]) share(y.by[static_cast<std::size_t>(k)]);
    else out += "null";
  }
  out += "}}";
}

void appendJsonAnalysis(std::string& out, const SpringAnalysis& a, const AnalysisParams& params) {
  out += '{';
  JsonList first = spacedMembers(out);
  if (!a.error.empty()) {
    first.text("error", a.error);
    out += '}';
    return;
  }
  first.key("points");
  out += '{';
  JsonList points = spacedMembers(out);
  for (std::size_t i = 0; i < a.points.size(); ++i) {
    points.key(kPointSymbols[i]) += '{';
    JsonList inner = spacedMembers(out);
    for (const PointColumn& column : pointColumns())
      if (column.inJson) appendNumberMember(inner, column.key, a.points[i].*column.member);
    out += '}';
  }
  out += '}';
  first.key("release");
  out += '{';
  JsonList strokes = spacedMembers(out);
  for (const auto& [name, stroke] : {std::pair{"new", &a.newStroke}, std::pair{"worn", &a.wornStroke}}) {
    strokes.key(name);
    out += '{';
    JsonList inner = spacedMembers(out);
    appendNumberMember(inner, "F2max", stroke->F2max);
    appendNumberMember(inner, "lambda2End", stroke->lambda2End);
    out += '}';
  }
  out += '}';
  first.key("checks");
  out += '{';
  JsonList checks = spacedMembers(out);
  const StaticChecks& c = a.checks;
  appendNumberMember(checks, "sigmaOMmax", c.sigmaOMmax);
  appendNumberMember(checks, "Rm", params.Rm);
  checks.flag("sigmaOMpass", c.omPass);
  appendNumberMember(checks, "sigmaImax", c.sigmaImax);
  appendNumberMember(checks, "sigmaFingerMax", c.sigmaFingerMax);
  appendNumberMember(checks, "sigmaAllow", params.sigmaAllow);
  appendNumberMember(checks, "sigmaAllowF", params.sigmaAllowF);
  checks.flag("sigmaIpass", c.iPass);
  checks.flag("sigmaFingerPass", c.fingerPass);
  checks.text("RmBasis", params.strengthBasis);
  checks.text("limitsBasis", params.limitsBasis);
  appendNumberMember(checks, "installedS", c.installedS);
  appendNumberMember(checks, "minimumS", c.minimumS);
  checks.flag("preloadPass", c.preloadPass);
  const std::vector<CheckLine> lines = checkLines(a, params);
  checks.key("fatigueNew");
  appendFatigue(out, a.fatigueNew, lines[lines.size() - 2], params.requiredCycles);
  checks.key("fatigueWorn");
  appendFatigue(out, a.fatigueWorn, lines[lines.size() - 1], params.requiredCycles);
  out += "}}";
}

void appendJsonOp(std::string& out, const DisplayList& chart, const DrawOp& op) {
  out += '{';
  JsonList members(out);
  const auto corners = [&] {
    members.floatNumber("x1", op.x1);
    members.floatNumber("y1", op.y1);
    members.floatNumber("x2", op.x2);
    members.floatNumber("y2", op.y2);
  };
  const auto at = [&] {
    members.floatNumber("x", op.x1);
    members.floatNumber("y", op.y1);
  };
  const auto color = [&](bool hasColor) {
    if (hasColor) members.count("color", op.color);
    else members.key("color") += "null";
  };
  switch (op.kind) {
    case DrawOp::Kind::Scale:
      members.text("op", "scale");
      corners();
      break;
    case DrawOp::Kind::Line:
      members.text("op", "line");
      corners();
      color(op.hasColor);
      break;
    case DrawOp::Kind::PSet:
      members.text("op", "pset");
      at();
      color(true);
      break;
    case DrawOp::Kind::Print:
      members.text("op", "print");
      at();
      members.text("text", chart.text(op));
      break;
    case DrawOp::Kind::DrawWidth:
      members.text("op", "drawwidth");
      members.count("width", static_cast<std::int64_t>(op.x1));
      break;
    case DrawOp::Kind::Cls: members.text("op", "cls"); break;
  }
  out += '}';
}

void appendJsonFault(std::string& out, const FaultRecord& fault) {
  if (const auto* command = std::get_if<Command>(&fault.source)) {
    out += "{\"press\":";
    appendJsonString(out, commandName(*command));
  } else {
    out += "{\"slider\":";
    appendJsonString(out, sliderName(std::get<Slider>(fault.source)));
  }
  out += ",\"fault\":";
  appendJsonString(out, faultName(fault.kind));
  if (!fault.cause.empty()) {
    out += ",\"cause\":";
    appendJsonString(out, fault.cause);
  }
  out += '}';
}

std::string renderJson(const Fields& fields, const DisplayList& chart, const std::vector<FaultRecord>& faults,
                       const SpringAnalysis* analysis, const AnalysisParams& params, const DesignMaterial* material) {
  std::string out;
  // A drawing operation takes some 50 to 80 characters.
  out.reserve(4096 + chart.size() * 80);

  out += "{\"fields\": {";
  JsonList boxes = spacedMembers(out);
  for (int i = 1; i <= kTextBoxCount; ++i) {
    const auto box = static_cast<TextBox>(i);
    boxes.text(textBoxName(box), fields.text(box));
  }
  out += "},\n\"sliders\": {";
  JsonList sliders = spacedMembers(out);
  for (int i = 1; i <= kSliderCount; ++i) {
    const auto slider = static_cast<Slider>(i);
    sliders.count(sliderName(slider), fields.sliderValue(slider));
  }
  out += "},\n\"faults\": [";
  JsonList faultList = spacedMembers(out);
  for (const FaultRecord& fault : faults) appendJsonFault(faultList.next(), fault);
  out += "],\n\"chart\": [";
  bool firstOp = true;
  for (const DrawOp& op : chart.packed()) {
    out += firstOp ? "\n" : ",\n";
    firstOp = false;
    appendJsonOp(out, chart, op);
  }
  out += ']';
  if (material != nullptr && !material->name.empty()) {
    out += ",\n\"material\": ";
    appendJsonMaterial(out, *material);
  }
  if (analysis != nullptr) {
    out += ",\n\"analysis\": ";
    appendJsonAnalysis(out, *analysis, params);
  }
  out += "}\n";
  return out;
}

}  // namespace diaspring::cli
