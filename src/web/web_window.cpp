// The page's window: its actions, what it shows and its charts.
#include "web/web_window.h"

#include <nlohmann/json.hpp>
#include <string_view>
#include <variant>

#include "analysis/analysis_charts.h"
#include "analysis/analysis_table.h"
#include "analysis/materials.h"
#include "check/box_help.h"
#include "check/constraint_check.h"
#include "chart/display_list.h"
#include "cli/cli_args.h"
#include "cli/json_writer.h"
#include "form/extra_inputs.h"
#include "form/layout_table.h"
#include "model/points.h"
#include "runtime/fault.h"
#include "web/chart_value.h"

namespace diaspring::web {
namespace {

using cli::Action;
using cli::Session;

// The caption that names a control's action to the user: a button's own, a
// slider's adjustment label.
std::string actionCaption(const std::variant<Command, Slider>& source) {
  static constexpr std::string_view kSliderLabels[kSliderCount] = {"Label8", "Label9", "Label13",
                                                                   "Label14", "Label18", "Label19"};
  std::string_view name;
  std::string fallback;
  if (const auto* command = std::get_if<Command>(&source)) {
    fallback = commandName(*command);
    name = fallback;
  } else {
    const Slider slider = std::get<Slider>(source);
    fallback = sliderName(slider);
    name = kSliderLabels[static_cast<int>(slider) - 1];
  }
  const ControlSpec* spec = findControl(name);
  return spec != nullptr ? std::string(spec->text) : fallback;
}

// The message the desktop shows when a handler stops on a fault.
std::string faultMessageZh(const cli::FaultRecord& fault) {
  std::string text = "执行“" + actionCaption(fault.source) + "”时计算出错：" + std::string(faultNameZh(fault.kind)) + "。";
  if (!fault.cause.empty()) text += "\n原因：" + fault.cause;
  text += "\n出错之前已经算出并显示的结果保留不变；请检查输入后重试。";
  return text;
}

}  // namespace

using cli::Action;
using cli::Session;

std::string WebWindow::act(const std::string& argsJson) {
  std::vector<std::string> args;
  try {
    const nlohmann::json parsed = nlohmann::json::parse(argsJson);
    for (const auto& a : parsed) args.push_back(a.get<std::string>());
  } catch (const std::exception&) {
    return R"({"error":"the actions are not a JSON array of texts"})";
  }
  const std::vector<std::string_view> views(args.begin(), args.end());
  const cli::ParseResult parsed = cli::parseArgs(views);
  if (!parsed.ok() || parsed.options.help || parsed.options.version || parsed.options.json ||
      !parsed.options.chartPath.empty() || !parsed.options.reportPath.empty() || !parsed.options.savePath.empty() ||
      !parsed.options.designPath.empty()) {
    return jsonObject([&](JsonList& out) {
      out.text("error", parsed.ok() ? "only --set, --slider and --press act on the page" : parsed.error);
    });
  }
  for (const auto& [name, text] : parsed.options.extras) {
    session_->setExtra(name, text);
    extras_.emplace_back(name, text);
  }
  for (const Action& action : parsed.options.actions) {
    session_->apply(action);
    history_.push_back(action);
    pressed_ = pressed_ || std::holds_alternative<cli::Press>(action);
  }
  return jsonObject([&](JsonList& out) { out.texts("warnings", parsed.warnings); });
}

std::string WebWindow::state() const {
  if (pressed_) return render(*session_);
  Session replay;
  if (document_) {
    replay.loadDesign(*document_);
    replay.syncSliders();
  }
  for (const auto& [name, text] : extras_) replay.setExtra(name, text);
  std::size_t done = 0;
  for (const std::size_t at : syncs_) {
    replay.applyAll({history_.begin() + static_cast<std::ptrdiff_t>(done), history_.begin() + static_cast<std::ptrdiff_t>(at)});
    replay.syncSliders();
    done = at;
  }
  replay.applyAll({history_.begin() + static_cast<std::ptrdiff_t>(done), history_.end()});
  replay.applyAll(cli::defaultActions());
  return render(replay);
}

std::string WebWindow::view() const {
  const std::optional<SpringAnalysis> analysis = session_->analysis();
  const AnalysisParams params = analysisParams(session_->inputs()).params;
  std::string out = "{";
  JsonList members(out);
  members.key("state") += cli::renderJson(session_->fields(), DisplayList{}, session_->faults(),
                                          analysis ? &*analysis : nullptr, params);
  // The boxes the desktop greys: Text5, Text8 and the points' boxes when
  // the curve is stale, the rule boxes when the check is.
  const ResultStaleness stale = session_->logic().staleness();
  std::vector<TextBox> grey;
  if (stale.outputs) {
    grey = {TextBox::Text5, TextBox::Text8};
    for (const PointBoxes& point : characteristicPoints()) {
      grey.push_back(point.load);
      grey.push_back(point.deflection);
    }
  }
  if (stale.checks)
    for (int i = 0; i < kRuleCount; ++i) grey.push_back(ruleInfo(i).box);
  members.array("stale", [&](JsonList& stales) {
    for (const TextBox box : grey) stales.nextText(textBoxName(box));
  });
  members.array("faultMessages", [&](JsonList& messages) {
    for (const cli::FaultRecord& fault : session_->faults()) messages.nextText(faultMessageZh(fault));
  });
  // Each box's tooltip and red frame, as the window marks them.
  members.object("marks", [&](JsonList& marks) {
    for (int i = 1; i <= kTextBoxCount; ++i) {
      const auto box = static_cast<TextBox>(i);
      std::string_view failure;
      for (int rule = 0; rule < kRuleCount; ++rule)
        if (ruleInfo(rule).box == box) failure = session_->logic().ruleFailure(rule);
      const BoxMark mark = boxMark(box, session_->fields().text(box), failure);
      marks.array(textBoxName(box), [&](JsonList& m) {
        m.nextText(mark.toolTip);
        m.next() += mark.flagged ? "true" : "false";
      });
    }
  });
  members.array("extraInputs", [](JsonList& inputs) {
    for (const ExtraInput& e : extraInputs())
      inputs.nextObject([&](JsonList& input) {
        input.texts({{"name", e.name}, {"symbol", e.symbol}, {"unit", e.unit}, {"default", e.defaultText},
                     {"meaning", e.meaningZh}});
      });
  });
  members.object("extras", [&](JsonList& extras) {
    for (const auto& [name, text] : session_->inputs().extras()) extras.text(name, text);
  });
  return out + "}";
}

emscripten::val WebWindow::chartOps() {
  packChart(session_->chart(), packed_, texts_);
  return emscripten::val(emscripten::typed_memory_view(packed_.size(), packed_.data()));
}

emscripten::val WebWindow::chartDelta() {
  const DisplayList& chart = session_->chart();
  const bool full = !drawn_ || chart.visibleFrom() != drawnFrom_ || chart.size() < drawnUpTo_;
  packChart(chart, packed_, texts_, full ? std::nullopt : std::optional<std::size_t>(drawnUpTo_));
  drawn_ = true;
  drawnFrom_ = chart.visibleFrom();
  drawnUpTo_ = chart.size();
  emscripten::val out = emscripten::val::object();
  out.set("full", full);
  out.set("ops", emscripten::val(emscripten::typed_memory_view(packed_.size(), packed_.data())));
  emscripten::val list = emscripten::val::array();
  for (const std::string& t : texts_) list.call<void>("push", t);
  out.set("texts", list);
  return out;
}

emscripten::val WebWindow::analysisCharts() const {
  const std::optional<AnalysisInput> input = session_->analysisInput();
  if (!input) return emscripten::val::null();
  const SpringModel model(input->run, input->params);
  const SpringAnalysis analysis = analyseSpring(input->run, input->params);
  if (!analysis.error.empty()) return emscripten::val::null();
  DisplayList stresses, release;
  drawStressChart(stresses, model, analysis);
  drawReleaseChart(release, model, analysis);
  emscripten::val out = emscripten::val::object();
  out.set("stress", chartValue(stresses));
  out.set("release", chartValue(release));
  return out;
}

std::string WebWindow::chartTexts() const {
  return jsonArray([&](JsonList& texts) {
    for (const std::string& t : texts_) texts.nextText(t);
  });
}

void WebWindow::syncSliders() {
  session_->syncSliders();
  syncs_.push_back(history_.size());
}

std::string WebWindow::render(const Session& s) {
  const std::optional<SpringAnalysis> analysis = s.analysis();
  const AnalysisParams params = analysisParams(s.inputs()).params;
  const DesignMaterial material = designMaterial(s.inputs());
  return cli::renderJson(s.fields(), s.chart(), s.faults(), analysis ? &*analysis : nullptr, params, &material);
}

}  // namespace diaspring::web
