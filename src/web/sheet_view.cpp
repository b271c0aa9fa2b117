// The page's window: its design sheet, the analysis window's tables, the
// material library and the production yield.
#include "web/web_window.h"

#include <array>
#include <nlohmann/json.hpp>

#include "analysis/analysis_table.h"
#include "analysis/materials.h"
#include "check/sheet_contents.h"
#include "cli/session.h"
#include "compare/production_yield.h"
#include "runtime/float_text.h"

namespace diaspring::web {

namespace {

using nlohmann::json;

// The analysis's table of the characteristic points: [[symbol, unit]] and
// [[point, texts...]], every number with the desktop's decimals.
void pointTable(const SpringAnalysis& a, json& columns, json& rows) {
  for (const PointColumn& col : pointColumns()) columns.push_back({col.symbol, col.unit});
  for (std::size_t r = 0; r < a.points.size(); ++r) {
    json row = json::array({kPointSymbols[r]});
    for (const PointColumn& col : pointColumns()) row.push_back(analysisNumber(a.points[r].*col.member, col.pattern));
    rows.push_back(row);
  }
}

// The release page, last: the design's information, the material and its
// sources, the approval block and the notes in full.
json releasePage(const DesignMetadata& about, const DesignInputs& inputs, const std::string& fileName) {
  const DesignApproval& a = about.approval;
  const std::string dash = sheet_text::kDash;
  const auto value = [&](const std::string& v) {
    const std::string t = sheet_text::trimmed(v, true);
    return t.empty() ? dash : t;
  };
  json info = json::array({json::array({sheet_text::kProjectLabel, value(about.project)}),
                           json::array({sheet_text::kPartLabel, value(about.partNumber)}),
                           json::array({sheet_text::kRevisionLabel, value(a.revision)})});
  if (!fileName.empty()) info.push_back({sheet_text::kFileLabel, fileName});
  const std::array<std::string, 4> names{about.designer, a.checker, a.reviewer, a.approver},
      dates{a.designDate, a.checkDate, a.reviewDate, a.approveDate};
  json approval = json::array();
  for (std::size_t r = 0; r < names.size(); ++r)
    approval.push_back({sheet_text::kApprovalRoles[r], sheet_text::trimmed(names[r], true),
                        sheet_text::trimmed(dates[r], true), ""});
  const std::string notes = sheet_text::trimmed(about.notes);
  return {{"title", std::string(sheet_text::kTitle) + " · " + sheet_text::kReleaseTitle},
          {"info", info},
          {"materialHeading", sheet_text::kMaterialHeading},
          {"material", materialSheetLines(designMaterial(inputs), &inputs)},
          {"approvalHeading", sheet_text::kApprovalHeading},
          {"approvalColumns", sheet_text::kApprovalColumns},
          {"approval", approval},
          {"notesHeading", sheet_text::kNotesHeading},
          {"notes", notes.empty() ? std::string(sheet_text::kNoNotes) : notes}};
}

// The analysis's page of a run: its inputs, points, strokes and checks.
json analysisPage(const SpringAnalysis& a, const AnalysisParams& p) {
  json page = {{"title", analysis_sheet::kTitle}};
  if (!a.error.empty()) {
    page["error"] = std::string(analysis_sheet::kCannotAnalyse) + a.error;
    return page;
  }
  const auto fill = [](std::string text, std::initializer_list<double> values) {
    int k = 1;
    for (const double v : values) {
      const std::string mark = "%" + std::to_string(k++);
      text.replace(text.find(mark), mark.size(), shortestText(v));
    }
    return text;
  };
  json columns = json::array(), rows = json::array(), checks = json::array();
  pointTable(a, columns, rows);
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
  return page;
}

}  // namespace

using cli::Action;

std::string WebWindow::sheet() const {
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
  out["release"] = releasePage(about, session_->inputs(), fileName_);
  if (const std::optional<AnalysisInput> input = session_->analysisInput()) {
    out["analysis"] = analysisPage(analyseSpring(input->run, input->params), input->params);
    out["yield"] = json::parse(yieldView());
  }
  return out.dump();
}

std::string WebWindow::yieldView() const {
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

std::string WebWindow::analysisView() const {
  using nlohmann::json;
  const std::optional<AnalysisInput> input = session_->analysisInput();
  if (!input) return "null";
  const SpringAnalysis a = analyseSpring(input->run, input->params);
  if (!a.error.empty()) return json{{"error", a.error}}.dump();
  json columns = json::array(), rows = json::array(), checks = json::array(), strokes = json::array();
  pointTable(a, columns, rows);
  for (const CheckLine& line : checkLines(a, input->params)) checks.push_back({line.whatZh, line.value, line.limit, line.pass, line.verdictZh(), line.basis});
  for (const ReleaseStroke* stroke : {&a.newStroke, &a.wornStroke})
    strokes.push_back({analysisNumber(stroke->F2max, "0.0"), analysisNumber(stroke->lambda1AtF2max, "0.000"),
                       analysisNumber(stroke->lambda2End, "0.000")});
  return json{{"columns", columns}, {"rows", rows}, {"checks", checks}, {"strokes", strokes}}.dump();
}

std::string WebWindow::materials() const {
  nlohmann::json list = nlohmann::json::array();
  for (const Material& m : diaspring::materials())
    list.push_back({{"name", m.name}, {"standard", m.standard}, {"aliases", m.aliases}});
  return nlohmann::json{{"materials", list},
                        {"toolTip", kMaterialBoxToolTip},
                        {"note", materialNoteZh(designMaterial(session_->inputs()))}}
      .dump();
}

void WebWindow::chooseMaterial(const std::string& name) {
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

}  // namespace diaspring::web
