#include "cli/json_writer.h"

#include <cmath>
#include <cstdint>

#include "analysis/analysis_table.h"
#include "runtime/utf8_text.h"
#include "runtime/float_text.h"

namespace diaspring::cli {
namespace {

// An object as the run's JSON spaces it, {"a": 1, "b": 2}: fill(JsonList&)
// writes its members.
template <class Fill>
void appendSpacedObject(std::string& out, Fill&& fill) {
  appendJsonObject(out, fill, ", ", ": ");
}

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
void fatigueMember(JsonList& members, std::string_view key, const StrokeFatigue& f, const CheckLine& line,
                   double requiredCycles) {
  members.object(key, [&](JsonList& first) {
    first.text("governing", f.governingPlace().name);
    for (const FatiguePlace& place : f.places)
      first.object(place.name, [&](JsonList& inner) {
        appendNumberMember(inner, "sigmaU", place.sigmaU);
        appendNumberMember(inner, "sigmaO", place.sigmaO);
        appendNumberMember(inner, "sigmaOPermissible", place.sigmaOPermissible);
        appendNumberMember(inner, "safety", place.safety);
        inner.text("life", place.life.text());
        appendNumberMember(inner, "lifeCycles", place.life.cycles);
      });
    first.text("shortestLife", f.shortestLifePlace().name);
    appendNumberMember(first, "requiredCycles", requiredCycles);
    if (line.example()) first.null("pass");
    else first.flag("pass", line.pass);
    first.text("verdict", line.verdictZh());
    first.text("data", line.example() ? "example" : "user");
    first.text("basis", line.basis);
  });
}

// The static checks of an analysis, with the fatigue of both strokes.
void checksMembers(JsonList& checks, const SpringAnalysis& a, const AnalysisParams& params) {
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
  fatigueMember(checks, "fatigueNew", a.fatigueNew, lines[lines.size() - 2], params.requiredCycles);
  fatigueMember(checks, "fatigueWorn", a.fatigueWorn, lines[lines.size() - 1], params.requiredCycles);
}

// {"yield", "low", "high"} of a share.
void shareMembers(JsonList& members, const compare::Share& s) {
  members.numbers({{"yield", s.value}, {"low", s.low}, {"high", s.high}});
}

}  // namespace

void appendJsonMaterial(std::string& out, const Material& m) {
  appendSpacedObject(out, [&](JsonList& first) {
    first.texts({{"name", m.name}, {"aliases", m.aliases}, {"standard", m.standard}});
    for (const MaterialField& field : materialFields(m)) {
      const MaterialValue* value = field.value;
      if (!value->given()) {
        first.null(field.key);
        continue;
      }
      first.object(field.key, [&](JsonList& inner) {
        appendNumberMember(inner, "value", value->value);
        inner.text("source", value->source);
      });
    }
    first.text("note", m.note);
  });
}

void appendJsonMaterial(std::string& out, const DesignMaterial& material) {
  if (material.library != nullptr) {
    appendJsonMaterial(out, *material.library);
    return;
  }
  appendSpacedObject(out, [&](JsonList& members) { members.texts({{"name", material.name}, {"source", kUserDataMark}}); });
}

void appendJsonProductionYield(std::string& out, const compare::ProductionYield& y) {
  appendSpacedObject(out, [&](JsonList& members) {
    members.count("samples", y.overall.samples);
    members.key("seed") += std::to_string(y.seed);  // unsigned 64 bits
    members.count("passed", y.overall.passed);
    shareMembers(members, y.overall);
    members.object("band", [&](JsonList& band) {
      band.numbers({{"plusPercent", y.band.plusPercent}, {"minusPercent", y.band.minusPercent}});
      band.texts({{"source", y.band.fromStandard ? "standard" : "user"},
                  {"text", compare::bandTextEnglish(y.band, y.bandThickness)}});
    });
    members.flag("strengthChecked", y.strengthChecked);
    members.object("by", [&](JsonList& by) {
      for (int k = 0; k < compare::kRequirementCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (y.checked[i]) by.object(compare::requirementInfo(k).key, [&](JsonList& s) { shareMembers(s, y.by[i]); });
        else by.null(compare::requirementInfo(k).key);
      }
    });
  });
}

void appendJsonAnalysis(std::string& out, const SpringAnalysis& a, const AnalysisParams& params) {
  appendSpacedObject(out, [&](JsonList& first) {
    if (!a.error.empty()) {
      first.text("error", a.error);
      return;
    }
    first.object("points", [&](JsonList& points) {
      for (std::size_t i = 0; i < a.points.size(); ++i)
        points.object(kPointSymbols[i], [&](JsonList& inner) {
          for (const PointColumn& column : pointColumns())
            if (column.inJson) appendNumberMember(inner, column.key, a.points[i].*column.member);
        });
    });
    first.object("release", [&](JsonList& strokes) {
      for (const auto& named : {std::pair{"new", &a.newStroke}, std::pair{"worn", &a.wornStroke}}) {
        const auto* stroke = named.second;  // a named local: a lambda cannot capture a structured binding in clang 14
        strokes.object(named.first, [&](JsonList& inner) {
          appendNumberMember(inner, "F2max", stroke->F2max);
          appendNumberMember(inner, "lambda2End", stroke->lambda2End);
        });
      }
    });
    first.object("checks", [&](JsonList& checks) { checksMembers(checks, a, params); });
  });
}

void appendJsonOp(std::string& out, const DisplayList& chart, const DrawOp& op) {
  appendJsonObject(out, [&](JsonList& members) {
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
      else members.null("color");
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
  });
}

void appendJsonFault(std::string& out, const FaultRecord& fault) {
  appendJsonObject(out, [&](JsonList& members) {
    if (const auto* command = std::get_if<Command>(&fault.source)) members.text("press", commandName(*command));
    else members.text("slider", sliderName(std::get<Slider>(fault.source)));
    members.text("fault", faultName(fault.kind));
    if (!fault.cause.empty()) members.text("cause", fault.cause);
  });
}

std::string renderJson(const Fields& fields, const DisplayList& chart, const std::vector<FaultRecord>& faults,
                       const SpringAnalysis* analysis, const AnalysisParams& params, const DesignMaterial* material) {
  std::string out;
  // A drawing operation takes some 50 to 80 characters.
  out.reserve(4096 + chart.size() * 80);
  // One member a line; the members of each on one line, spaced.
  const auto fill = [&](JsonList& members) {
    appendSpacedObject(members.key("fields"), [&](JsonList& boxes) {
      for (int i = 1; i <= kTextBoxCount; ++i) {
        const auto box = static_cast<TextBox>(i);
        boxes.text(textBoxName(box), fields.text(box));
      }
    });
    appendSpacedObject(members.key("sliders"), [&](JsonList& sliders) {
      for (int i = 1; i <= kSliderCount; ++i) {
        const auto slider = static_cast<Slider>(i);
        sliders.count(sliderName(slider), fields.sliderValue(slider));
      }
    });
    appendJsonArray(
        members.key("faults"),
        [&](JsonList& list) {
          for (const FaultRecord& fault : faults) appendJsonFault(list.next(), fault);
        },
        ", ", ": ");
    appendJsonLines(members.key("chart"), chart.packed(),
                    [&](std::string& line, const DrawOp& op) { appendJsonOp(line, chart, op); });
    if (material != nullptr && !material->name.empty()) appendJsonMaterial(members.key("material"), *material);
    if (analysis != nullptr) appendJsonAnalysis(members.key("analysis"), *analysis, params);
  };
  appendJsonObject(out, fill, ",\n", ": ");
  out += '\n';
  return out;
}

}  // namespace diaspring::cli
