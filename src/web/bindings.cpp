// The page's handle on the core: one window's session, driven by the same
// actions as the headless front end and reported in its JSON, plus design
// files as text. Everything runs here, in the browser; nothing is sent.
#include <emscripten/bind.h>
#include <emscripten/emscripten.h>

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_args.h"
#include "cli/design_command.h"
#include "cli/json_writer.h"
#include "analysis/analysis_charts.h"
#include "analysis/analysis_table.h"
#include "analysis/materials.h"
#include "check/box_help.h"
#include "check/guide_text.h"
#include "check/sheet_contents.h"
#include "check/constraint_check.h"
#include "chart/display_list.h"
#include "chart/spring_picture.h"
#include "cli/session.h"
#include "compare/production_yield.h"
#include "design/design_file.h"
#include "form/extra_inputs.h"
#include "form/layout_table.h"
#include "model/points.h"
#include "runtime/convert.h"
#include "runtime/fault.h"
#include "runtime/float_text.h"
#include "search/grid_slice.h"
#include "search/tradeoff_chart.h"
#include "session_press.h"
#include "web/chart_value.h"

namespace diaspring::web {
namespace {

using cli::Action;
using cli::Session;

std::string controlKindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Form: return "form";
    case ControlKind::Frame: return "frame";
    case ControlKind::Label: return "label";
    case ControlKind::TextBox: return "text";
    case ControlKind::ScrollBar: return "slider";
    case ControlKind::Button: return "button";
    case ControlKind::Picture: return "picture";
    case ControlKind::Image: return "image";
  }
  return "other";
}

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

// A chart as the page draws it: what shows since its last clearing, led by
// the coordinate system and draw width then in force, as numbers (seven per
// operation: kind, x1, y1, x2, y2, colour or -1, text index or -1; kinds 0
// scale, 1 line, 2 dot, 3 text, 4 width, 5 clear) and its texts.
// From `from` on (an operation after the visible start): those operations
// alone, for a page that drew the ones before.
void packChart(const DisplayList& chart, std::vector<double>& packed, std::vector<std::string>& texts,
               std::optional<std::size_t> from = std::nullopt) {
  packed.clear();
  texts.clear();
  const auto put = [&](int kind, const DrawOp& o, bool text) {
    if (text) texts.push_back(chart.text(o));
    packed.insert(packed.end(), {static_cast<double>(kind), o.x1, o.y1, o.x2, o.y2,
                                 o.hasColor || o.kind == DrawOp::Kind::PSet ? static_cast<double>(o.color) : -1.0,
                                 text ? static_cast<double>(texts.size() - 1) : -1.0});
  };
  if (!from) {
    if (const auto scale = chart.scaleBeforeVisible()) put(0, *scale, false);
    DrawOp width{};
    width.x1 = static_cast<float>(chart.drawWidthBeforeVisible());
    put(4, width, false);
  }
  const DisplayList::Ops ops = chart.packed();
  for (auto it = ops.at(from.value_or(chart.visibleFrom())); it != ops.end(); ++it) {
    const DrawOp o = *it;
    switch (o.kind) {
      case DrawOp::Kind::Scale: put(0, o, false); break;
      case DrawOp::Kind::Line: put(1, o, false); break;
      case DrawOp::Kind::PSet: put(2, o, false); break;
      case DrawOp::Kind::Print: put(3, o, true); break;
      case DrawOp::Kind::DrawWidth: put(4, o, false); break;
      case DrawOp::Kind::Cls: put(5, o, false); break;
    }
  }
}

}  // namespace

// A chart as {ops: Float64Array, texts: [...]}, copied out of the module.
emscripten::val chartValue(const DisplayList& chart) {
  std::vector<double> packed;
  std::vector<std::string> texts;
  packChart(chart, packed, texts);
  emscripten::val out = emscripten::val::object();
  out.set("ops", emscripten::val(emscripten::typed_memory_view(packed.size(), packed.data())).call<emscripten::val>("slice"));
  emscripten::val list = emscripten::val::array();
  for (const std::string& t : texts) list.call<void>("push", t);
  out.set("texts", list);
  return out;
}

class WebWindow {
 public:
  WebWindow() : session_(std::make_unique<Session>()) {}

  // Applies actions given as the headless front end's arguments (a JSON
  // array: "--set", "h=2.3", "--slider", "HScroll1=230", "--press",
  // "Command1"). All are checked before any runs. Returns
  // {"error": "..."} or {"warnings": [...]}.
  std::string act(const std::string& argsJson) {
    std::vector<std::string> args;
    try {
      const nlohmann::json parsed = nlohmann::json::parse(argsJson);
      for (const auto& a : parsed) args.push_back(a.get<std::string>());
    } catch (const std::exception&) {
      return R"({"error":"the actions are not a JSON array of texts"})";
    }
    const std::vector<std::string_view> views(args.begin(), args.end());
    const cli::ParseResult parsed = cli::parseArgs(views);
    std::string out = "{";
    if (!parsed.ok() || parsed.options.help || parsed.options.version || parsed.options.json ||
        !parsed.options.chartPath.empty() || !parsed.options.reportPath.empty() || !parsed.options.savePath.empty() ||
        !parsed.options.designPath.empty()) {
      out += "\"error\":";
      cli::appendJsonString(out, parsed.ok() ? "only --set, --slider and --press act on the page" : parsed.error);
      return out + "}";
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
    out += "\"warnings\":[";
    for (std::size_t i = 0; i < parsed.warnings.size(); ++i) {
      if (i > 0) out += ',';
      cli::appendJsonString(out, parsed.warnings[i]);
    }
    return out + "]}";
  }

  // What `diaspring-cli --json` prints after the same actions: before any
  // press, as it does, the design as the curve and the check then show it.
  std::string state() const {
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

  // What the page shows: the session as it is, which results are stale, and
  // the message of each fault in the desktop's words.
  std::string view() const {
    const std::optional<SpringAnalysis> analysis = session_->analysis();
    const AnalysisParams params = analysisParams(session_->inputs()).params;
    std::string out = "{\"state\":" + cli::renderJson(session_->fields(), DisplayList{}, session_->faults(),
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
    out += ",\"stale\":[";
    for (std::size_t i = 0; i < grey.size(); ++i) {
      if (i > 0) out += ',';
      cli::appendJsonString(out, textBoxName(grey[i]));
    }
    out += "],\"faultMessages\":[";
    const auto& faults = session_->faults();
    for (std::size_t i = 0; i < faults.size(); ++i) {
      if (i > 0) out += ',';
      cli::appendJsonString(out, faultMessageZh(faults[i]));
    }
    // Each box's tooltip and red frame, as the window marks them.
    out += "],\"marks\":{";
    for (int i = 1; i <= kTextBoxCount; ++i) {
      const auto box = static_cast<TextBox>(i);
      const BoxMark mark = boxMark(box, session_->fields().text(box));
      if (i > 1) out += ',';
      cli::appendJsonString(out, textBoxName(box));
      out += ":[";
      cli::appendJsonString(out, mark.toolTip);
      out += mark.flagged ? ",true]" : ",false]";
    }
    out += "},\"extraInputs\":[";
    bool firstExtra = true;
    for (const ExtraInput& e : extraInputs()) {
      if (!firstExtra) out += ',';
      firstExtra = false;
      out += "{\"name\":";
      cli::appendJsonString(out, e.name);
      out += ",\"symbol\":";
      cli::appendJsonString(out, e.symbol);
      out += ",\"unit\":";
      cli::appendJsonString(out, e.unit);
      out += ",\"default\":";
      cli::appendJsonString(out, e.defaultText);
      out += ",\"meaning\":";
      cli::appendJsonString(out, e.meaningZh);
      out += "}";
    }
    out += "],\"extras\":{";
    bool first = true;
    for (const auto& [name, text] : session_->inputs().extras()) {
      if (!first) out += ',';
      first = false;
      cli::appendJsonString(out, name);
      out += ':';
      cli::appendJsonString(out, text);
    }
    return out + "}}";
  }

  // The chart as the page draws it: what shows since its last clearing, led
  // by the coordinate system and draw width then in force, as numbers
  // (seven per operation: kind, x1, y1, x2, y2, colour or -1, text index or
  // -1; kinds 0 scale, 1 line, 2 dot, 3 text, 4 width, 5 clear), which the
  // page copies out at once. Texts come from chartTexts().
  emscripten::val chartOps() {
    packChart(session_->chart(), packed_, texts_);
    return emscripten::val(emscripten::typed_memory_view(packed_.size(), packed_.data()));
  }

  // What the chart drew since the last chartDelta(), packed as chartOps()
  // with its texts: {full, ops, texts}. `full` when the chart was cleared
  // or replaced since (then all it shows, as chartOps()); else only the
  // operations added, to be drawn over what the page shows. `ops` is a view
  // into the module's memory, valid until the next call.
  emscripten::val chartDelta() {
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

  // The analysis's two charts (stresses against λ1, release force against
  // λ2) of the last curve run, each as {ops, texts} packed as chartOps();
  // null when there is no analysis to draw.
  emscripten::val analysisCharts() const {
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

  // The texts of the last chartOps(), as a JSON array.
  std::string chartTexts() const {
    std::string out = "[";
    for (std::size_t i = 0; i < texts_.size(); ++i) {
      if (i > 0) out += ',';
      cli::appendJsonString(out, texts_[i]);
    }
    return out + "]";
  }

  // Opens a design file's text as the window does, in a fresh window;
  // returns "" or the desktop's refusal message (the window then unchanged).
  std::string openDesign(const std::string& text, const std::string& name) {
    DesignRead read;
    try {
      read = parseDesign(text, name);
    } catch (const std::exception&) {
      return "读取设计文件“" + name + "”时发生内部错误。\n窗口中的设计保留不变。";
    }
    if (!read.ok()) return read.error->chinese() + "\n窗口中的设计保留不变。";
    session_ = std::make_unique<Session>();
    session_->loadDesign(*read.document);
    // As the window opens a file: each slider at the position nearest its
    // box's number, so that its next step starts from the design shown.
    session_->syncSliders();
    drawn_ = false;
    document_ = *read.document;
    history_.clear();
    syncs_.clear();
    extras_.clear();
    pressed_ = false;
    return {};
  }

  // After the page filled the boxes itself (a design of the automatic
  // design applied): each slider to the position nearest its box's number,
  // without writing its box.
  void syncSliders() {
    session_->syncSliders();
    syncs_.push_back(history_.size());
  }

  // The design file's text as 保存 writes it, with the time of this save
  // (kept for the next save and for 设计信息): {"text": ...} or {"error":
  // the desktop's message}, the design then unchanged.
  std::string saveDesignFile(const std::string& name) {
    DesignDocument document = session_->design();
    document.metadata.savedAt = isoUtcTimestamp(std::chrono::system_clock::now());
    DesignFileError error;
    error.path = name;
    std::string text;
    try {
      text = serialiseDesign(document);
    } catch (const std::invalid_argument& e) {
      error.problem = DesignFileProblem::InvalidText;
      error.key = e.what();
    }
    if (text.size() > kMaxDesignFileBytes) {
      error.problem = DesignFileProblem::TooLargeToSave;
      error.size = text.size();
      text.clear();
    }
    std::string out = "{";
    if (text.empty()) {
      out += "\"error\":";
      cli::appendJsonString(out, error.chinese());
    } else {
      session_->setMetadata(document.metadata);
      out += "\"text\":";
      cli::appendJsonString(out, text);
    }
    return out + "}";
  }

  // Names the design file the window's design came from (shown on the sheet).
  void setFileName(const std::string& name) { fileName_ = name; }

  // The design sheet's contents as JSON, as the desktop's sheet has them:
  // the boxes of the last curve run (with the warning when they were edited
  // since), the title block's design information, the rows of the inputs,
  // points and rules, and the analysis's page of that run. The page lays
  // them out and draws the charts (chartOps(), analysisCharts()).
  std::string sheet() const {
    using nlohmann::json;
    const MemoryFields run = session_->logic().lastRunFields();
    const sheet_text::Contents c = sheet_text::contents(run);
    const DesignMetadata about = session_->design().metadata;
    const auto inputRows = [](const std::vector<sheet_text::InputRow>& rows) {
      json out = json::array();
      for (const auto& r : rows) out.push_back({r.symbol, r.meaning, r.value, r.unit});
      return out;
    };
    json rules = json::array();
    for (const auto& r : c.rules) {
      static constexpr const char* kVerdicts[] = {"passed", "failed", "unchecked", "unknown"};
      rules.push_back({std::to_string(r.number), r.caption, r.shown, r.mark, kVerdicts[static_cast<int>(r.verdict)]});
    }
    json points = json::array();
    for (const auto& r : c.points) points.push_back({r.symbol, r.role, r.load, r.deflection});
    json out = {
        {"title", sheet_text::kTitle},
        {"subtitle", sheet_text::kSubtitle},
        {"dateLabel", sheet_text::kDateLabel},
        {"pageMark", sheet_text::kPageMark},
        {"inputsEdited", session_->logic().inputsEditedSinceRun()},
        {"editedWarning", sheet_text::kInputsEdited},
        {"info", json::array({json::array({sheet_text::kProjectLabel, about.project}),
                              json::array({sheet_text::kPartLabel, about.partNumber}),
                              json::array({sheet_text::kDesignerLabel, about.designer}),
                              json::array({sheet_text::kFileLabel, fileName_})})},
        {"notes", json::array({sheet_text::kNotesLabel, about.notes})},
        {"inputsHeading", sheet_text::kInputsHeading},
        {"inputCaptions", {sheet_text::kGeometryCaption, sheet_text::kClutchCaption}},
        {"inputColumns", sheet_text::kInputColumns},
        {"geometry", inputRows(c.geometry)},
        {"clutch", inputRows(c.clutch)},
        {"chartHeading", sheet_text::kChartHeading},
        {"noChart", {sheet_text::kNoChart, sheet_text::noChartHint()}},
        {"chartCaption", sheet_text::kChartCaption},
        {"pointsHeading", sheet_text::kPointsHeading},
        {"pointColumns", sheet_text::kPointColumns},
        {"points", points},
        {"pointNotes", sheet_text::kPointNotes},
        {"legend", {std::string(sheet_text::kTick) + sheet_text::kLegendPassed,
                    std::string(sheet_text::kCross) + sheet_text::kLegendFailed,
                    std::string(sheet_text::kDash) + " " + sheet_text::kUnchecked}},
        {"rulesHeading", sheet_text::kRulesHeading},
        {"ruleColumns", sheet_text::kRuleColumns},
        {"rules", rules},
        {"summary", c.summary},
        {"summaryClass", c.failed > 0 ? "fail" : c.passed == kRuleCount ? "pass" : "muted"},
        {"footer", {sheet_text::kFooterLeft, sheet_text::kFooterRight}},
        {"runningHead", sheet_text::runningHead(about.partNumber, about.approval.revision)},
        {"basisColumn", analysis_sheet::kBasisColumn},
        {"ruleBasis", sheet_text::kRuleBasis},
        {"notesContinued", sheet_text::kNotesContinued},
        {"analysis", nullptr},
    };
    {
      // The release page, last: the design's information, the material and
      // its sources, the approval block and the notes in full.
      const DesignApproval& a = about.approval;
      const DesignInputs inputs = session_->inputs();
      const std::string dash = sheet_text::kDash;
      const auto value = [&](const std::string& v) {
        const std::string t = sheet_text::trimmed(v, true);
        return t.empty() ? dash : t;
      };
      json info = json::array({json::array({sheet_text::kProjectLabel, value(about.project)}),
                               json::array({sheet_text::kPartLabel, value(about.partNumber)}),
                               json::array({sheet_text::kRevisionLabel, value(a.revision)})});
      if (!fileName_.empty()) info.push_back({sheet_text::kFileLabel, fileName_});
      const std::array<std::string, 4> names{about.designer, a.checker, a.reviewer, a.approver},
          dates{a.designDate, a.checkDate, a.reviewDate, a.approveDate};
      json approval = json::array();
      for (std::size_t r = 0; r < names.size(); ++r)
        approval.push_back({sheet_text::kApprovalRoles[r], sheet_text::trimmed(names[r], true),
                            sheet_text::trimmed(dates[r], true), ""});
      const std::string notes = sheet_text::trimmed(about.notes);
      out["release"] = {{"title", std::string(sheet_text::kTitle) + " · " + sheet_text::kReleaseTitle},
                        {"info", info},
                        {"materialHeading", sheet_text::kMaterialHeading},
                        {"material", materialSheetLines(designMaterial(inputs), &inputs)},
                        {"approvalHeading", sheet_text::kApprovalHeading},
                        {"approvalColumns", sheet_text::kApprovalColumns},
                        {"approval", approval},
                        {"notesHeading", sheet_text::kNotesHeading},
                        {"notes", notes.empty() ? std::string(sheet_text::kNoNotes) : notes}};
    }
    if (const std::optional<AnalysisInput> input = session_->analysisInput()) {
      const SpringAnalysis a = analyseSpring(input->run, input->params);
      json page = {{"title", analysis_sheet::kTitle}};
      if (!a.error.empty()) {
        page["error"] = std::string(analysis_sheet::kCannotAnalyse) + a.error;
      } else {
        const AnalysisParams& p = input->params;
        const auto fill = [](std::string text, std::initializer_list<double> values) {
          int k = 1;
          for (const double v : values) {
            const std::string mark = "%" + std::to_string(k++);
            text.replace(text.find(mark), mark.size(), shortestText(v));
          }
          return text;
        };
        json columns = json::array(), rows = json::array(), checks = json::array();
        for (const PointColumn& col : pointColumns()) columns.push_back({col.symbol, col.unit});
        for (std::size_t r = 0; r < a.points.size(); ++r) {
          json row = json::array({kPointSymbols[r]});
          for (const PointColumn& col : pointColumns()) row.push_back(analysisNumber(a.points[r].*col.member, col.pattern));
          rows.push_back(row);
        }
        for (const CheckLine& line : checkLines(a, p)) {
          const char* verdict = line.example() ? "example" : line.pass ? "pass" : "fail";
          checks.push_back({line.whatZh, line.value, line.markedVerdictZh(), verdict, line.limitLineZh(), line.basisLineZh()});
        }
        page.update({{"params", fill(analysis_sheet::kParams, {p.n, p.b, p.Rm, p.sigmaAllow, p.sigmaAllowF})},
                     {"fatigue", analysis_sheet::fatigueLinesLine(p)},
                     {"fatigueExample", !p.userFatigueData},
                     {"material", analysis_sheet::materialLine(p)},
                     {"chartsHeading", analysis_sheet::kChartsHeading},
                     {"captions", {analysis_sheet::kStressCaption, analysis_sheet::kReleaseCaption}},
                     {"pointsHeading", analysis_sheet::kPointsHeading},
                     {"columns", columns},
                     {"rows", rows},
                     {"notes", {analysis_sheet::kPointNotes[0], analysis_sheet::kPointNotes[1]}},
                     {"checksHeading", analysis_sheet::kChecksHeading},
                     {"strokes", {analysis_sheet::strokeLine(a, false), analysis_sheet::strokeLine(a, true),
                                  analysis_sheet::stiffnessLine(a)}},
                     {"checks", checks},
                     {"footnote", p.userFatigueData ? analysis_sheet::kUserFootnote : analysis_sheet::kFootnote}});
      }
      out["analysis"] = page;
      out["yield"] = json::parse(yieldView());
    }
    return out.dump();
  }

  // The production yield of the last curve run's design, as the analysis
  // window and the sheet's yield page show it: {title, headline, basis,
  // requirementColumns, rows: [[requirement, share, interval, count]],
  // toleranceColumns, tolerances: [[symbol, nominal, ±, source]], ...} or
  // {title, error}; null before a run. Its Monte Carlo (10,000 springs) runs
  // once for each run and set of analysis inputs.
  std::string yieldView() const {
    using nlohmann::json;
    const std::optional<AnalysisInput> input = session_->analysisInput();
    if (!input) return "null";
    std::string key;
    const SpringDesign& d = input->run.design;
    for (const Num* n : {&d.h, &d.H, &d.R, &d.r, &d.R1, &d.r1, &d.E, &d.mu, &d.lambda1M, &d.lambda1H, &d.lambda1B,
                         &d.lambda1A, &d.lambda1C})
      key += (n->isSet() ? shortestText(n->value()) : std::string("-")) + ",";
    const CurveRun& r = input->run;
    const AnalysisParams& p = input->params;
    for (double x : {r.F, r.D, r.d, r.r0, r.rf, r.lambda1f, r.lambda1N, p.n, p.b, p.Rm, p.sigmaAllow, p.sigmaAllowF})
      key += shortestText(x) + ",";
    if (key == yieldKey_) return yieldJson_;
    namespace ys = compare::yield_sheet;
    json out = {{"title", ys::kTitle}};
    const auto y = compare::productionYieldOf(*input, compare::kDefaultSamples, compare::kDefaultSeed, 1);
    if (!y) {
      out["error"] = ys::kCannot;
    } else {
      json rows = json::array(), tolerances = json::array();
      for (const compare::YieldRow& row : compare::yieldRows(*y, true))
        rows.push_back({row.requirement, row.share, row.interval, row.count});
      for (const compare::ToleranceRow& row : compare::toleranceRows(*y, true))
        tolerances.push_back({row.symbol, row.nominal, row.tolerance, row.source});
      out.update({{"headline", ys::headline(*y)},
                  {"yield", y->overall.value},
                  {"basis", compare::yieldBasisText(*y, true)},
                  {"requirementsHeading", ys::kRequirementsHeading},
                  {"requirementColumns", ys::kRequirementColumns},
                  {"rows", rows},
                  {"tolerancesHeading", ys::kTolerancesHeading},
                  {"toleranceColumns", ys::kToleranceColumns},
                  {"tolerances", tolerances},
                  {"footnote", ys::kFootnote}});
    }
    yieldKey_ = key;
    yieldJson_ = out.dump();
    return yieldJson_;
  }

  // The window 强度与分离特性 as the desktop fills it, for the last curve
  // run: {error} or {columns: [[symbol, unit]], rows: [[point, texts...]],
  // checks: [[what, value, limit, pass, verdict, basis]], strokes: [[F2max,
  // λ1 at it, λ2 end]] (new, worn)}, every number with the desktop's
  // decimals; the verdict as the desktop writes it, with its data mark (a
  // verdict on example data is no plain pass or fail); null before a run.
  std::string analysisView() const {
    using nlohmann::json;
    const std::optional<AnalysisInput> input = session_->analysisInput();
    if (!input) return "null";
    const SpringAnalysis a = analyseSpring(input->run, input->params);
    if (!a.error.empty()) return json{{"error", a.error}}.dump();
    json columns = json::array(), rows = json::array(), checks = json::array(), strokes = json::array();
    for (const PointColumn& col : pointColumns()) columns.push_back({col.symbol, col.unit});
    for (std::size_t r = 0; r < a.points.size(); ++r) {
      json row = json::array({kPointSymbols[r]});
      for (const PointColumn& col : pointColumns()) row.push_back(analysisNumber(a.points[r].*col.member, col.pattern));
      rows.push_back(row);
    }
    for (const CheckLine& line : checkLines(a, input->params)) checks.push_back({line.whatZh, line.value, line.limit, line.pass, line.verdictZh(), line.basis});
    for (const ReleaseStroke* stroke : {&a.newStroke, &a.wornStroke})
      strokes.push_back({analysisNumber(stroke->F2max, "0.0"), analysisNumber(stroke->lambda1AtF2max, "0.000"),
                         analysisNumber(stroke->lambda2End, "0.000")});
    return json{{"columns", columns}, {"rows", rows}, {"checks", checks}, {"strokes", strokes}}.dump();
  }

  // The material library as the analysis window offers it: [{name,
  // standard, aliases}], and the line beside the material box for the
  // design's material.
  std::string materials() const {
    nlohmann::json list = nlohmann::json::array();
    for (const Material& m : diaspring::materials())
      list.push_back({{"name", m.name}, {"standard", m.standard}, {"aliases", m.aliases}});
    return nlohmann::json{{"materials", list},
                          {"toolTip", kMaterialBoxToolTip},
                          {"note", materialNoteZh(designMaterial(session_->inputs()))}}
        .dump();
  }

  // Chooses a material as the analysis window's material box does: a steel
  // of the library types its E and μ into their boxes (as typed, so the
  // curve goes stale) and sets Rm and the limits derived from it; another
  // name is the user's own material, whose numbers stay the user's; ""
  // chooses none. Kept like the actions, so state() replays it.
  void chooseMaterial(const std::string& name) {
    const auto chosen = session_->inputs().extra(kMaterialKey);
    if ((chosen ? std::string(*chosen) : std::string()) == name) return;
    const auto setExtra = [this](const std::string& key, const std::string& text) {
      session_->setExtra(key, text);
      extras_.emplace_back(key, text);
    };
    setExtra(std::string(kMaterialKey), name);
    if (const Material* m = materialOfName(name)) {
      const MaterialTexts texts = materialTexts(*m);
      for (const auto& [box, text] : texts.boxes) {
        const Action typing = cli::SetText{box, text};
        session_->apply(typing);
        history_.push_back(typing);
      }
      for (const auto& [key, text] : texts.extras) setExtra(key, text);
    }
  }

  // The design's information (设计信息) as JSON: project, partNumber,
  // designer, notes, savedAt.
  std::string metadata() const {
    const DesignMetadata m = session_->design().metadata;
    return nlohmann::json{{"project", m.project}, {"partNumber", m.partNumber}, {"designer", m.designer},
                          {"notes", m.notes}, {"savedAt", m.savedAt}}
        .dump();
  }

  // Sets the information the user edits (the time of the last save is set
  // by a save only); "" or why the JSON was refused.
  std::string setMetadata(const std::string& json) {
    DesignMetadata m = session_->design().metadata;
    try {
      const nlohmann::json in = nlohmann::json::parse(json);
      m.project = in.at("project").get<std::string>();
      m.partNumber = in.at("partNumber").get<std::string>();
      m.designer = in.at("designer").get<std::string>();
      m.notes = in.at("notes").get<std::string>();
    } catch (const std::exception& e) {
      return e.what();
    }
    session_->setMetadata(m);
    return {};
  }

  // The design as the boxes hold it now, as a design file's text.
  std::string saveDesign() const { return serialiseDesign(session_->design()); }

 private:
  static std::string render(const Session& s) {
    const std::optional<SpringAnalysis> analysis = s.analysis();
    const AnalysisParams params = analysisParams(s.inputs()).params;
    const DesignMaterial material = designMaterial(s.inputs());
    return cli::renderJson(s.fields(), s.chart(), s.faults(), analysis ? &*analysis : nullptr, params, &material);
  }

  std::unique_ptr<Session> session_;
  std::optional<DesignDocument> document_;
  std::vector<Action> history_;
  std::vector<std::size_t> syncs_;  // the sliders synchronised after history_[0, at)
  std::vector<std::pair<std::string, std::string>> extras_;
  bool pressed_ = false;
  std::vector<double> packed_;
  bool drawn_ = false;  // chartDelta() was called on this session
  std::size_t drawnFrom_ = 0;
  std::size_t drawnUpTo_ = 0;
  std::vector<std::string> texts_;
  std::string fileName_;
  mutable std::string yieldKey_, yieldJson_;  // the last yieldView()
};

// The window's controls as JSON: name, kind, parent, text, place in twips,
// tab index and, for a slider, its range and starting value.
std::string layoutTable() {
  std::string out = "[";
  bool first = true;
  for (const ControlSpec& c : controlTable()) {
    if (!first) out += ',';
    first = false;
    out += "{\"name\":";
    cli::appendJsonString(out, c.name);
    out += ",\"kind\":\"" + controlKindName(c.kind) + "\",\"parent\":";
    cli::appendJsonString(out, c.parent);
    out += ",\"text\":";
    cli::appendJsonString(out, c.text);
    out += ",\"left\":" + std::to_string(c.left) + ",\"top\":" + std::to_string(c.top) +
           ",\"width\":" + std::to_string(c.width) + ",\"height\":" + std::to_string(c.height) +
           ",\"tabIndex\":" + std::to_string(c.tabIndex) + ",\"min\":" + std::to_string(c.min) +
           ",\"max\":" + std::to_string(c.max) + ",\"value\":" + std::to_string(c.value);
    // The result boxes are read-only; a slider's tooltip never changes.
    if (const std::optional<TextBox> box = textBoxFromName(c.name)) out += isResultBox(*box) ? ",\"readOnly\":true" : "";
    if (const std::optional<Slider> slider = sliderFromName(c.name)) {
      out += ",\"tip\":";
      cli::appendJsonString(out, sliderToolTip(*slider));
    }
    out += "}";
  }
  return out + "]";
}

// The automatic design, as `diaspring-cli design` with these arguments (a
// JSON array of texts) on one thread, its grids examined by `share`.
std::string designOutcome(const std::string& argsJson, const cli::ProgressSink& sink, search::GridShare* share) {
  std::vector<std::string> args;
  try {
    for (const auto& a : nlohmann::json::parse(argsJson)) args.push_back(a.get<std::string>());
  } catch (const std::exception&) {
    return R"({"status":2,"out":"","err":"the arguments are not a JSON array of texts"})";
  }
  const std::vector<std::string_view> views(args.begin(), args.end());
  const cli::Outcome outcome = cli::runDesignCommand(views, sink, share);
  std::string out = "{\"status\":" + std::to_string(outcome.status) + ",\"out\":";
  cli::appendJsonString(out, outcome.out);
  out += ",\"err\":";
  cli::appendJsonString(out, outcome.err);
  return out + "}";
}

// The automatic design, as `diaspring-cli design` with these arguments (a
// JSON array of texts) on one thread; `progress` receives its progress
// lines. Returns {"status": n, "out": "...", "err": "..."}.
std::string runDesign(const std::string& argsJson, emscripten::val progress) {
  return designOutcome(argsJson, [&progress](std::string_view line) { progress(std::string(line)); }, nullptr);
}

// One of several workers that run the same automatic design, each taking
// its part of the first search's grids (search/grid_slice.h). run() returns
// {"stopped": n, "slice": text} at the first such grid n it has not been given
// the parts of (its own part examined; "" when n is a later search's grid and
// this is not part 0), else {"done": {...}} as runDesign; give() hands
// it the parts of grid n (a JS array of texts, in part order). `progress`
// receives (n, rows of its part done, rows before this step, the grid's rows).
class DesignWorker {
 public:
  DesignWorker(int part, int parts) : part_(static_cast<unsigned>(part)), parts_(static_cast<unsigned>(parts)) {}

  void give(int number, const emscripten::val& slices) {
    std::vector<std::string> texts;
    const auto count = slices["length"].as<unsigned>();
    for (unsigned i = 0; i < count; ++i) texts.push_back(slices[i].as<std::string>());
    given_.emplace_back(static_cast<std::size_t>(number), std::move(texts));
  }

  std::string run(const std::string& argsJson, emscripten::val progress) {
    search::SlicedShare share(part_, parts_, [&progress](std::size_t number, std::size_t done, const search::GridStep& step) {
      progress(static_cast<double>(number), static_cast<double>(done), static_cast<double>(step.offset),
               static_cast<double>(step.total));
    });
    for (const auto& [number, texts] : given_) share.give(number, texts);
    try {
      return "{\"done\":" + designOutcome(argsJson, {}, &share) + "}";
    } catch (const search::SlicedShare::Stopped& stopped) {
      std::string out = "{\"stopped\":" + std::to_string(stopped.step) + ",\"slice\":";
      cli::appendJsonString(out, stopped.slice);
      return out + "}";
    }
  }

 private:
  unsigned part_, parts_;
  std::vector<std::pair<std::size_t, std::vector<std::string>>> given_;
};

// The automatic design's trade-off chart of `pointsJson` (an array of
// [wearRise, releaseForceMax, σImax or null]), `picked` the design picked
// out (-1: none), as {ops, texts}.
emscripten::val tradeOffChart(const std::string& pointsJson, int picked) {
  std::vector<search::TradeOffPoint> points;
  try {
    for (const auto& p : nlohmann::json::parse(pointsJson)) {
      search::TradeOffPoint point{p.at(0).get<double>(), p.at(1).get<double>(), std::nullopt};
      if (p.size() > 2 && p.at(2).is_number()) point.stress = p.at(2).get<double>();
      points.push_back(point);
    }
  } catch (const std::exception&) {
    points.clear();
  }
  DisplayList chart;
  std::optional<std::size_t> pick;
  if (picked >= 0 && static_cast<std::size_t>(picked) < points.size()) pick = static_cast<std::size_t>(picked);
  search::drawTradeOff(chart, points, pick);
  return chartValue(chart);
}

// A number as the desktop's tables write it (runtime/convert.h's format:
// "0.000", "0.0"; halves away from zero).
std::string formatNumber(double x, const std::string& pattern) { return format(Num(x), pattern); }

// 关于: the desktop's text, naming what the page runs on.
std::string aboutHtml() {
  return diaspring::aboutHtml(
      "<p>网页版：与桌面窗口相同的计算核心编译为 WebAssembly，在您的浏览器中运行；"
      "所有计算都在本机完成，设计数据不会发送到任何地方。</p>");
}

// The window's decorative spring picture, the data the desktop draws: its
// lengths in hundredths of the half width, colours as numbers (0xAARRGGBB,
// 0xRRGGBB where opaque).
std::string springPicture() {
  using namespace diaspring::picture;
  nlohmann::json steel = nlohmann::json::array();
  for (const Stop& stop : kSteel) steel.push_back({{"at", stop.at}, {"rgb", stop.rgb}});
  return nlohmann::json{{"unit", kUnit}, {"fingers", kFingers}, {"outer", kOuter}, {"slotRoot", kSlotRoot},
                        {"window", kWindow}, {"hole", kHole}, {"slotHalfWidth", kSlotHalfWidth}, {"slotInset", kSlotInset},
                        {"shadow", {kShadowX, kShadowY}}, {"shadowArgb", kShadowArgb},
                        {"steel", {{"x", kSteelX}, {"y", kSteelY}, {"radius", kSteelRadius}, {"stops", steel}}},
                        {"rimRgb", kRimRgb}, {"rimWidth", kRimWidth}, {"ringArgb", kRingArgb},
                        {"ringRadius", kRingRadius}, {"ringWidth", kRingWidth}}
      .dump();
}

// Milliseconds per press of bench/session_press.h, the function the native
// session_bench measures: the core's own time, without the page's drawing.
double benchCore(int n) {
  Session s;
  bench::pressCurve(s);
  const double started = emscripten_get_now();
  for (int i = 0; i < n; ++i) bench::pressCurve(s);
  return (emscripten_get_now() - started) / n;
}

}  // namespace diaspring::web

EMSCRIPTEN_BINDINGS(diaspring) {
  using namespace emscripten;
  using diaspring::web::WebWindow;
  class_<WebWindow>("WebWindow")
      .constructor<>()
      .function("act", &WebWindow::act)
      .function("state", &WebWindow::state)
      .function("view", &WebWindow::view)
      .function("chartOps", &WebWindow::chartOps)
      .function("chartTexts", &WebWindow::chartTexts)
      .function("chartDelta", &WebWindow::chartDelta)
      .function("analysisCharts", &WebWindow::analysisCharts)
      .function("openDesign", &WebWindow::openDesign)
      .function("saveDesign", &WebWindow::saveDesign)
      .function("saveDesignFile", &WebWindow::saveDesignFile)
      .function("syncSliders", &WebWindow::syncSliders)
      .function("metadata", &WebWindow::metadata)
      .function("analysisView", &WebWindow::analysisView)
      .function("materials", &WebWindow::materials)
      .function("chooseMaterial", &WebWindow::chooseMaterial)
      .function("yieldView", &WebWindow::yieldView)
      .function("setMetadata", &WebWindow::setMetadata)
      .function("setFileName", &WebWindow::setFileName)
      .function("sheet", &WebWindow::sheet);
  function("layoutTable", &diaspring::web::layoutTable);
  function("runDesign", &diaspring::web::runDesign);
  class_<diaspring::web::DesignWorker>("DesignWorker")
      .constructor<int, int>()
      .function("give", &diaspring::web::DesignWorker::give)
      .function("run", &diaspring::web::DesignWorker::run);
  function("tradeOffChart", &diaspring::web::tradeOffChart);
  function("benchCore", &diaspring::web::benchCore);
  function("springPicture", &diaspring::web::springPicture);
  function("formatNumber", &diaspring::web::formatNumber);
  function("guideHtml", &diaspring::guideHtml);
  function("aboutHtml", &diaspring::web::aboutHtml);
}
