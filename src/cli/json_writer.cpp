#include "cli/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "analysis/analysis_table.h"
#include "runtime/utf8_text.h"
#include "runtime/float_text.h"

namespace diaspring::cli {
namespace {

template <typename Int>
void appendInt(std::string& out, Int value) {
  static_assert(std::is_integral_v<Int>);
  char buf[24];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  (void)ec;  // 24 characters hold any 64-bit integer
  out.append(buf, end);
}

void appendKeyFloat(std::string& out, std::string_view key, float value) {
  out += ",\"";
  out += key;
  out += "\":";
  appendJsonFloat(out, value);
}

// The shortest form that reads back as exactly `value`; null for infinities
// and NaN, which JSON cannot hold.
template <class Float>
void appendShortest(std::string& out, Float value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  out += shortestText(value);
}

void appendColor(std::string& out, bool hasColor, Color color) {
  out += ",\"color\":";
  if (hasColor) appendInt(out, color);
  else out += "null";
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto c = static_cast<unsigned char>(text[pos]);
    if (c < 0x80) {
      if (c == '"') {
        out += "\\\"";
      } else if (c == '\\') {
        out += "\\\\";
      } else if (c < 0x20) {
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
      } else {
        out += static_cast<char>(c);
      }
      ++pos;
      continue;
    }
    char32_t cp = 0;
    const std::size_t n = decodeUtf8(text, pos, cp);
    if (n == 0) {
      appendUtf8(out, kReplacementChar);
      ++pos;
    } else {
      out.append(text.substr(pos, n));
      pos += n;
    }
  }
  out += '"';
}

void appendJsonFloat(std::string& out, float value) { appendShortest(out, value); }

void appendJsonDouble(std::string& out, double value) { appendShortest(out, value); }

namespace {

void appendMember(std::string& out, bool& first, std::string_view key) {
  if (!first) out += ", ";
  first = false;
  appendJsonString(out, key);
  out += ": ";
}

// JSON holds no infinity: such a value is null, and a member beside it
// ("safetyReason") says why, so that a reader never takes the null for a
// missing result.
void appendNumberMember(std::string& out, bool& first, std::string_view key, double value) {
  appendMember(out, first, key);
  appendJsonDouble(out, value);
  if (std::isfinite(value)) return;
  appendMember(out, first, std::string(key) + "Reason");
  appendJsonString(out, key == "safety" && value > 0
                            ? "infinite: the upper stress here is not tensile, so this place cannot fail by fatigue"
                        : std::isnan(value) ? "not a number: the calculation has no result here"
                        : value > 0         ? "infinite: the value exceeds the range of a number"
                                            : "minus infinite: the value exceeds the range of a number");
}

void appendBoolMember(std::string& out, bool& first, std::string_view key, bool value) {
  appendMember(out, first, key);
  out += value ? "true" : "false";
}

// A stroke's fatigue: each place with its life by the fatigue lines, and the
// verdict with the source of its data. On the example line the verdict is
// neither a pass nor a fail: "pass" is null and "verdict" says why.
void appendFatigue(std::string& out, const StrokeFatigue& f, const CheckLine& line, double requiredCycles) {
  out += '{';
  bool first = true;
  appendMember(out, first, "governing");
  appendJsonString(out, f.governingPlace().name);
  for (const FatiguePlace& place : f.places) {
    appendMember(out, first, place.name);
    out += '{';
    bool inner = true;
    appendNumberMember(out, inner, "sigmaU", place.sigmaU);
    appendNumberMember(out, inner, "sigmaO", place.sigmaO);
    appendNumberMember(out, inner, "sigmaOPermissible", place.sigmaOPermissible);
    appendNumberMember(out, inner, "safety", place.safety);
    appendMember(out, inner, "life");
    appendJsonString(out, place.life.text());
    appendNumberMember(out, inner, "lifeCycles", place.life.cycles);
    out += '}';
  }
  appendMember(out, first, "shortestLife");
  appendJsonString(out, f.shortestLifePlace().name);
  appendNumberMember(out, first, "requiredCycles", requiredCycles);
  appendMember(out, first, "pass");
  out += line.example() ? "null" : line.pass ? "true" : "false";
  appendMember(out, first, "verdict");
  appendJsonString(out, line.verdictZh());
  appendMember(out, first, "data");
  appendJsonString(out, line.example() ? "example" : "user");
  appendMember(out, first, "basis");
  appendJsonString(out, line.basis);
  out += '}';
}

}  // namespace

void appendJsonMaterial(std::string& out, const Material& m) {
  out += '{';
  bool first = true;
  appendMember(out, first, "name");
  appendJsonString(out, m.name);
  appendMember(out, first, "aliases");
  appendJsonString(out, m.aliases);
  appendMember(out, first, "standard");
  appendJsonString(out, m.standard);
  for (const MaterialField& field : materialFields(m)) {
    const MaterialValue* value = field.value;
    appendMember(out, first, field.key);
    if (!value->given()) {
      out += "null";
      continue;
    }
    out += '{';
    bool inner = true;
    appendNumberMember(out, inner, "value", value->value);
    appendMember(out, inner, "source");
    appendJsonString(out, value->source);
    out += '}';
  }
  appendMember(out, first, "note");
  appendJsonString(out, m.note);
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
  for (int k = 0; k < compare::kRequirementCount; ++k) {
    if (k) out += ", ";
    appendJsonString(out, compare::requirementInfo(k).key);
    out += ": ";
    if (y.checked[static_cast<std::size_t>(k)]) share(y.by[static_cast<std::size_t>(k)]);
    else out += "null";
  }
  out += "}}";
}

void appendJsonAnalysis(std::string& out, const SpringAnalysis& a, const AnalysisParams& params) {
  out += '{';
  bool first = true;
  if (!a.error.empty()) {
    appendMember(out, first, "error");
    appendJsonString(out, a.error);
    out += '}';
    return;
  }
  appendMember(out, first, "points");
  out += '{';
  for (std::size_t i = 0; i < a.points.size(); ++i) {
    if (i > 0) out += ", ";
    appendJsonString(out, kPointSymbols[i]);
    out += ": {";
    bool inner = true;
    for (const PointColumn& column : pointColumns())
      if (column.inJson) appendNumberMember(out, inner, column.key, a.points[i].*column.member);
    out += '}';
  }
  out += '}';
  appendMember(out, first, "release");
  out += '{';
  bool strokes = true;
  for (const auto& [name, stroke] : {std::pair{"new", &a.newStroke}, std::pair{"worn", &a.wornStroke}}) {
    appendMember(out, strokes, name);
    out += '{';
    bool inner = true;
    appendNumberMember(out, inner, "F2max", stroke->F2max);
    appendNumberMember(out, inner, "lambda2End", stroke->lambda2End);
    out += '}';
  }
  out += '}';
  appendMember(out, first, "checks");
  out += '{';
  bool checks = true;
  const StaticChecks& c = a.checks;
  appendNumberMember(out, checks, "sigmaOMmax", c.sigmaOMmax);
  appendNumberMember(out, checks, "Rm", params.Rm);
  appendBoolMember(out, checks, "sigmaOMpass", c.omPass);
  appendNumberMember(out, checks, "sigmaImax", c.sigmaImax);
  appendNumberMember(out, checks, "sigmaFingerMax", c.sigmaFingerMax);
  appendNumberMember(out, checks, "sigmaAllow", params.sigmaAllow);
  appendNumberMember(out, checks, "sigmaAllowF", params.sigmaAllowF);
  appendBoolMember(out, checks, "sigmaIpass", c.iPass);
  appendBoolMember(out, checks, "sigmaFingerPass", c.fingerPass);
  appendMember(out, checks, "RmBasis");
  appendJsonString(out, params.strengthBasis);
  appendMember(out, checks, "limitsBasis");
  appendJsonString(out, params.limitsBasis);
  appendNumberMember(out, checks, "installedS", c.installedS);
  appendNumberMember(out, checks, "minimumS", c.minimumS);
  appendBoolMember(out, checks, "preloadPass", c.preloadPass);
  const std::vector<CheckLine> lines = checkLines(a, params);
  appendMember(out, checks, "fatigueNew");
  appendFatigue(out, a.fatigueNew, lines[lines.size() - 2], params.requiredCycles);
  appendMember(out, checks, "fatigueWorn");
  appendFatigue(out, a.fatigueWorn, lines[lines.size() - 1], params.requiredCycles);
  out += "}}";
}

void appendJsonOp(std::string& out, const DisplayList& chart, const DrawOp& op) {
  switch (op.kind) {
    case DrawOp::Kind::Scale:
      out += "{\"op\":\"scale\"";
      appendKeyFloat(out, "x1", op.x1);
      appendKeyFloat(out, "y1", op.y1);
      appendKeyFloat(out, "x2", op.x2);
      appendKeyFloat(out, "y2", op.y2);
      break;
    case DrawOp::Kind::Line:
      out += "{\"op\":\"line\"";
      appendKeyFloat(out, "x1", op.x1);
      appendKeyFloat(out, "y1", op.y1);
      appendKeyFloat(out, "x2", op.x2);
      appendKeyFloat(out, "y2", op.y2);
      appendColor(out, op.hasColor, op.color);
      break;
    case DrawOp::Kind::PSet:
      out += "{\"op\":\"pset\"";
      appendKeyFloat(out, "x", op.x1);
      appendKeyFloat(out, "y", op.y1);
      appendColor(out, true, op.color);
      break;
    case DrawOp::Kind::Print:
      out += "{\"op\":\"print\"";
      appendKeyFloat(out, "x", op.x1);
      appendKeyFloat(out, "y", op.y1);
      out += ",\"text\":";
      appendJsonString(out, chart.text(op));
      break;
    case DrawOp::Kind::DrawWidth:
      out += "{\"op\":\"drawwidth\",\"width\":";
      appendInt(out, static_cast<long long>(op.x1));
      break;
    case DrawOp::Kind::Cls:
      out += "{\"op\":\"cls\"";
      break;
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
  for (int i = 1; i <= kTextBoxCount; ++i) {
    const auto box = static_cast<TextBox>(i);
    if (i > 1) out += ", ";
    appendJsonString(out, textBoxName(box));
    out += ": ";
    appendJsonString(out, fields.text(box));
  }
  out += "},\n\"sliders\": {";
  for (int i = 1; i <= kSliderCount; ++i) {
    const auto slider = static_cast<Slider>(i);
    if (i > 1) out += ", ";
    appendJsonString(out, sliderName(slider));
    out += ": ";
    appendInt(out, fields.sliderValue(slider));
  }
  out += "},\n\"faults\": [";
  for (std::size_t i = 0; i < faults.size(); ++i) {
    if (i > 0) out += ", ";
    appendJsonFault(out, faults[i]);
  }
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
