// The page's window: its design sheet, the analysis window's tables, the
// material library and the production yield.
#include "web/web_window.h"

#include <array>

#include "analysis/analysis_table.h"
#include "analysis/materials.h"
#include "check/sheet_contents.h"
#include "cli/session.h"
#include "compare/production_yield.h"
#include "runtime/float_text.h"
#include "runtime/json_writer.h"

namespace diaspring::web {

namespace {

// The analysis's table of the characteristic points: "columns" [[symbol,
// unit]] and "rows" [[point, texts...]], every number with the desktop's
// decimals.
void pointTable(const SpringAnalysis& a, JsonList& out) {
  out.array("columns", [](JsonList& columns) {
    for (const PointColumn& col : pointColumns()) columns.nextTexts({col.symbol, col.unit});
  });
  out.array("rows", [&](JsonList& rows) {
    for (std::size_t r = 0; r < a.points.size(); ++r)
      rows.nextArray([&](JsonList& row) {
        row.nextText(kPointSymbols[r]);
        for (const PointColumn& col : pointColumns()) row.nextText(analysisNumber(a.points[r].*col.member, col.pattern));
      });
  });
}

// The release page, last: the design's information, the material and its
// sources, the approval block and the notes in full.
void releasePage(JsonList& page, const DesignMetadata& about, const DesignInputs& inputs, const std::string& fileName) {
  const DesignApproval& a = about.approval;
  const std::string dash = sheet_text::kDash;
  const auto value = [&](const std::string& v) {
    const std::string t = sheet_text::trimmed(v, true);
    return t.empty() ? dash : t;
  };
  page.text("title", std::string(sheet_text::kTitle) + " · " + sheet_text::kReleaseTitle);
  page.array("info", [&](JsonList& info) {
    info.nextTexts({sheet_text::kProjectLabel, value(about.project)});
    info.nextTexts({sheet_text::kPartLabel, value(about.partNumber)});
    info.nextTexts({sheet_text::kRevisionLabel, value(a.revision)});
    if (!fileName.empty()) info.nextTexts({sheet_text::kFileLabel, fileName});
  });
  page.text("materialHeading", sheet_text::kMaterialHeading);
  page.texts("material", materialSheetLines(designMaterial(inputs), &inputs));
  page.text("approvalHeading", sheet_text::kApprovalHeading);
  page.texts("approvalColumns", sheet_text::kApprovalColumns);
  const std::array<std::string, 4> names{about.designer, a.checker, a.reviewer, a.approver},
      dates{a.designDate, a.checkDate, a.reviewDate, a.approveDate};
  page.array("approval", [&](JsonList& approval) {
    for (std::size_t r = 0; r < names.size(); ++r)
      approval.nextTexts({sheet_text::kApprovalRoles[r], sheet_text::trimmed(names[r], true),
                          sheet_text::trimmed(dates[r], true), ""});
  });
  const std::string notes = sheet_text::trimmed(about.notes);
  page.texts({{"notesHeading", sheet_text::kNotesHeading}, {"notes", notes.empty() ? std::string(sheet_text::kNoNotes) : notes}});
}

// The analysis's page of a run: its inputs, points, strokes and checks.
void analysisPage(JsonList& page, const SpringAnalysis& a, const AnalysisParams& p) {
  page.text("title", analysis_sheet::kTitle);
  if (!a.error.empty()) {
    page.text("error", std::string(analysis_sheet::kCannotAnalyse) + a.error);
    return;
  }
  const auto fill = [](std::string text, std::initializer_list<double> values) {
    int k = 1;
    for (const double v : values) {
      const std::string mark = "%" + std::to_string(k++);
      text.replace(text.find(mark), mark.size(), shortestText(v));
    }
    return text;
  };
  page.texts({{"params", fill(analysis_sheet::kParams, {p.n, p.b, p.Rm, p.sigmaAllow, p.sigmaAllowF})},
              {"fatigue", analysis_sheet::fatigueLinesLine(p)}});
  page.flag("fatigueExample", !p.userFatigueData);
  page.texts({{"material", analysis_sheet::materialLine(p)}, {"chartsHeading", analysis_sheet::kChartsHeading}});
  page.texts("captions", {analysis_sheet::kStressCaption, analysis_sheet::kReleaseCaption});
  page.text("pointsHeading", analysis_sheet::kPointsHeading);
  pointTable(a, page);
  page.texts("notes", {analysis_sheet::kPointNotes[0], analysis_sheet::kPointNotes[1]});
  page.text("checksHeading", analysis_sheet::kChecksHeading);
  page.texts("strokes", {analysis_sheet::strokeLine(a, false), analysis_sheet::strokeLine(a, true),
                         analysis_sheet::stiffnessLine(a)});
  page.array("checks", [&](JsonList& checks) {
    for (const CheckLine& line : checkLines(a, p)) {
      const char* verdict = line.example() ? "example" : line.pass ? "pass" : "fail";
      checks.nextTexts({line.whatZh, line.value, line.markedVerdictZh(), verdict, line.limitLineZh(), line.basisLineZh()});
    }
  });
  page.text("footnote", p.userFatigueData ? analysis_sheet::kUserFootnote : analysis_sheet::kFootnote);
}

// The design sheet's first page: its fixed texts, the design's information,
// the inputs, the points and the rules.
void designPage(JsonList& out, const sheet_text::Contents& c, const DesignMetadata& about, const std::string& fileName) {
  const auto inputRows = [&](std::string_view key, const std::vector<sheet_text::InputRow>& rows) {
    out.array(key, [&](JsonList& list) {
      for (const auto& r : rows) list.nextTexts({r.symbol, r.meaning, r.value, r.unit});
    });
  };
  out.texts({{"title", sheet_text::kTitle}, {"subtitle", sheet_text::kSubtitle}, {"dateLabel", sheet_text::kDateLabel},
             {"pageMark", sheet_text::kPageMark}, {"editedWarning", sheet_text::kInputsEdited}});
  out.array("info", [&](JsonList& info) {
    info.nextTexts({sheet_text::kProjectLabel, about.project});
    info.nextTexts({sheet_text::kPartLabel, about.partNumber});
    info.nextTexts({sheet_text::kDesignerLabel, about.designer});
    info.nextTexts({sheet_text::kFileLabel, fileName});
  });
  out.texts("notes", {sheet_text::kNotesLabel, about.notes});
  out.text("inputsHeading", sheet_text::kInputsHeading);
  out.texts("inputCaptions", {sheet_text::kGeometryCaption, sheet_text::kClutchCaption});
  out.texts("inputColumns", sheet_text::kInputColumns);
  inputRows("geometry", c.geometry);
  inputRows("clutch", c.clutch);
  out.text("chartHeading", sheet_text::kChartHeading);
  out.texts("noChart", {sheet_text::kNoChart, sheet_text::noChartHint()});
  out.texts({{"chartCaption", sheet_text::kChartCaption}, {"pointsHeading", sheet_text::kPointsHeading}});
  out.texts("pointColumns", sheet_text::kPointColumns);
  out.array("points", [&](JsonList& points) {
    for (const auto& r : c.points) points.nextTexts({r.symbol, r.role, r.load, r.deflection});
  });
  out.texts("pointNotes", sheet_text::kPointNotes);
  out.texts("legend", {std::string(sheet_text::kTick) + sheet_text::kLegendPassed,
                       std::string(sheet_text::kCross) + sheet_text::kLegendFailed,
                       std::string(sheet_text::kDash) + " " + sheet_text::kUnchecked});
  out.text("rulesHeading", sheet_text::kRulesHeading);
  out.texts("ruleColumns", sheet_text::kRuleColumns);
  out.array("rules", [&](JsonList& rules) {
    static constexpr const char* kVerdicts[] = {"passed", "failed", "unchecked", "unknown"};
    for (const auto& r : c.rules)
      rules.nextTexts({std::to_string(r.number), r.caption, r.shown, r.mark, kVerdicts[static_cast<int>(r.verdict)]});
  });
  out.texts({{"summary", c.summary},
             {"summaryClass", c.failed > 0 ? "fail" : c.passed == kRuleCount ? "pass" : "muted"}});
  out.texts("footer", {sheet_text::kFooterLeft, sheet_text::kFooterRight});
  out.texts({{"runningHead", sheet_text::runningHead(about.partNumber, about.approval.revision)},
             {"basisColumn", analysis_sheet::kBasisColumn},
             {"ruleBasis", sheet_text::kRuleBasis},
             {"notesContinued", sheet_text::kNotesContinued}});
}

}  // namespace

using cli::Action;

std::string WebWindow::sheet() const {
  const MemoryFields run = session_->logic().lastRunFields();
  const DesignMetadata about = session_->design().metadata;
  return jsonObject([&](JsonList& out) {
    designPage(out, sheet_text::contents(run), about, fileName_);
    out.flag("inputsEdited", session_->logic().inputsEditedSinceRun());
    out.object("release", [&](JsonList& page) { releasePage(page, about, session_->inputs(), fileName_); });
    if (const std::optional<AnalysisInput> input = session_->analysisInput()) {
      out.object("analysis", [&](JsonList& page) {
        analysisPage(page, analyseSpring(input->run, input->params), input->params);
      });
      out.json("yield", yieldView());
    } else {
      out.null("analysis");
    }
  });
}

std::string WebWindow::yieldView() const {
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
  const auto y = compare::productionYieldOf(*input, compare::kDefaultSamples, compare::kDefaultSeed, 1);
  yieldJson_ = jsonObject([&](JsonList& out) {
    out.text("title", ys::kTitle);
    if (!y) {
      out.text("error", ys::kCannot);
      return;
    }
    out.text("headline", ys::headline(*y));
    out.number("yield", y->overall.value);
    out.texts({{"basis", compare::yieldBasisText(*y, true)}, {"requirementsHeading", ys::kRequirementsHeading}});
    out.texts("requirementColumns", ys::kRequirementColumns);
    out.array("rows", [&](JsonList& rows) {
      for (const compare::YieldRow& row : compare::yieldRows(*y, true))
        rows.nextTexts({row.requirement, row.share, row.interval, row.count});
    });
    out.text("tolerancesHeading", ys::kTolerancesHeading);
    out.texts("toleranceColumns", ys::kToleranceColumns);
    out.array("tolerances", [&](JsonList& tolerances) {
      for (const compare::ToleranceRow& row : compare::toleranceRows(*y, true))
        tolerances.nextTexts({row.symbol, row.nominal, row.tolerance, row.source});
    });
    out.text("footnote", ys::kFootnote);
  });
  yieldKey_ = key;
  return yieldJson_;
}

std::string WebWindow::analysisView() const {
  const std::optional<AnalysisInput> input = session_->analysisInput();
  if (!input) return "null";
  const SpringAnalysis a = analyseSpring(input->run, input->params);
  if (!a.error.empty()) return jsonObject([&](JsonList& out) { out.text("error", a.error); });
  return jsonObject([&](JsonList& out) {
    pointTable(a, out);
    out.array("checks", [&](JsonList& checks) {
      for (const CheckLine& line : checkLines(a, input->params))
        checks.nextArray([&](JsonList& cells) {
          cells.nextText(line.whatZh);
          cells.nextText(line.value);
          cells.nextText(line.limit);
          cells.next() += line.pass ? "true" : "false";
          cells.nextText(line.verdictZh());
          cells.nextText(line.basis);
        });
    });
    out.array("strokes", [&](JsonList& strokes) {
      for (const ReleaseStroke* stroke : {&a.newStroke, &a.wornStroke})
        strokes.nextTexts({analysisNumber(stroke->F2max, "0.0"), analysisNumber(stroke->lambda1AtF2max, "0.000"),
                           analysisNumber(stroke->lambda2End, "0.000")});
    });
  });
}

std::string WebWindow::materials() const {
  return jsonObject([&](JsonList& out) {
    out.array("materials", [](JsonList& list) {
      for (const Material& m : diaspring::materials())
        list.nextObject([&](JsonList& material) {
          material.texts({{"name", m.name}, {"standard", m.standard}, {"aliases", m.aliases}});
        });
    });
    out.texts({{"toolTip", kMaterialBoxToolTip}, {"note", materialNoteZh(designMaterial(session_->inputs()))}});
  });
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
