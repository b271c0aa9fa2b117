// The page's comparison of curves: `diaspring-cli compare` run on the files
// the page was given, and the comparison section's session (the curves
// shown, the tolerances typed, the scatter), computed by the same core as
// the desktop's window and written with its decimals and words.

#include <algorithm>
#include <array>
#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/compare_command.h"
#include "compare/comparison.h"
#include "compare/comparison_texts.h"
#include "compare/curve_list.h"
#include "compare/tolerance_boxes.h"
#include "design/design_file.h"
#include "form/input_boxes.h"
#include "runtime/convert.h"
#include "runtime/fault.h"
#include "runtime/float_text.h"
#include "runtime/json_writer.h"
#include "web/bind_methods.h"
#include "web/chart_value.h"
#include "web/design_worker.h"
#include "window/window_logic.h"

namespace diaspring::web {
namespace {

using namespace compare;
using nlohmann::json;  // reading the requests only

std::string num(double v, const char* pattern) { return std::isfinite(v) ? format(v, pattern) : "—"; }

// The files of a request, served to the run in the order it names them.
struct GivenFiles {
  std::vector<std::pair<std::string, std::string>> designs, measured;
  std::size_t nextDesign = 0, nextMeasured = 0;
};

}  // namespace

// `diaspring-cli compare` with the arguments of {"args": [...], "designs":
// [[name, text]], "measured": [[name, text]]}, the files named by --design
// and --measured read from the texts given, in their order. Returns
// {"status", "out", "err", "line"}: what the command prints, its exit
// status and the line of a measured file it refused (0: none).
std::string compareRequest(const std::string& requestJson) {
  std::vector<std::string> args;
  GivenFiles files;
  try {
    const json request = json::parse(requestJson);
    for (const auto& a : request.at("args")) args.push_back(a.get<std::string>());
    for (const auto& f : request.at("designs")) files.designs.emplace_back(f.at(0).get<std::string>(), f.at(1).get<std::string>());
    for (const auto& f : request.at("measured")) files.measured.emplace_back(f.at(0).get<std::string>(), f.at(1).get<std::string>());
  } catch (const std::exception&) {
    return R"({"status":2,"out":"","err":"diaspring-cli compare: the request is not {args, designs, measured}\n","line":0})";
  }
  cli::CompareFiles readers;
  readers.design = [&files](const std::string& name) {
    return readDesignText(files.designs.at(files.nextDesign++).second, name);
  };
  readers.measured = [&files](const std::string& name) {
    return readMeasuredText(files.measured.at(files.nextMeasured++).second, name);
  };
  const std::vector<std::string_view> views(args.begin(), args.end());
  const cli::CompareRun run = cli::runCompareCommand(views, nullptr, readers);
  return jsonObject([&](JsonList& out) {
    outcomeMembers(out, run.outcome);
    out.count("line", static_cast<std::int64_t>(run.faultLine));
  });
}

namespace {

std::string colorCss(Color c) {
  return "rgb(" + std::to_string(c & 0xFF) + "," + std::to_string((c >> 8) & 0xFF) + "," + std::to_string((c >> 16) & 0xFF) + ")";
}

// "-12 N（-0.3 %）" in the window, "-12 N (-0.3 %)" on the sheet.
std::string deviation(const Deviation& d, bool sheet) {
  if (!std::isfinite(d.newton)) return texts::kNotMeasured;
  return num(d.newton, "0") + (sheet ? " N (" : " N（") + num(d.percent, "0.0") + (sheet ? " %)" : " %）");
}

std::string replaceMarks(std::string text, const std::vector<std::string>& values) {
  for (std::size_t k = values.size(); k >= 1; --k) {
    const std::string mark = "%" + std::to_string(k);
    const std::size_t at = text.find(mark);
    if (at != std::string::npos) text.replace(at, mark.size(), values[k - 1]);
  }
  return text;
}

std::optional<DesignInputs> inputsOf(const std::string& designText) {
  const DesignRead read = parseDesign(designText, "");
  if (!read.ok()) return std::nullopt;
  return read.document->inputs;
}

}  // namespace

// The comparison section's session: the window 特性曲线对比 of the desktop
// without its widgets. The current design follows the window's curve runs.
class WebCompare {
 public:
  // The section opened on the window's design (its file's text).
  explicit WebCompare(const std::string& designText) {
    followed_ = inputsOf(designText).value_or(DesignInputs{});
    input_.designs.push_back(designCurve(followed_, "当前设计"));
    shown_ = {true};
    styles_ = {0};
    kinds_ = {"主窗口"};
    resetTolerances();
    refresh();
  }

  // After a curve run: the current design is the window's again.
  void follow(const std::string& designText) {
    followed_ = inputsOf(designText).value_or(followed_);
    input_.designs.front() = designCurve(followed_, "当前设计");
    if (!tolerancesTyped_) resetTolerances();
    stale_ = false;
    refresh();
  }

  // Whether the window's inputs now read differently from the current
  // design's: the section then says so and fades its chart.
  bool inputsChanged(const std::string& designText) {
    if (const auto now = inputsOf(designText)) stale_ = readsDiffer(ResultGroup::Comparison, followed_, *now);
    return stale_;
  }

  // 固定当前曲线: "" or the refusal.
  std::string pin(const std::string& designText) {
    const auto in = inputsOf(designText);
    if (!in) return "窗口中的设计无法读取。";
    const auto text = [&](const char* key) { return in->text(*inputBoxOfKey(key)); };
    return addDesign(*in, "固定" + std::to_string(pinned_ + 1) + " h=" + text("h") + " H/h=" + text("HoverH") +
                              " R=" + text("R") + " R/r=" + text("RoverR"),
                     "固定", true);
  }

  // A design file beside the current design: "" or the desktop's refusal.
  std::string addDesignFile(const std::string& text, const std::string& fileName) {
    if (!roomForOneMore()) return fullMessage();
    const DesignRead read = readDesignText(text, fileName);
    if (!read.ok()) return read.error->chinese();
    const std::size_t dot = fileName.rfind('.');
    return addDesign(read.document->inputs, dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot),
                     "设计文件");
  }

  // A design of the automatic design: the window's design with `setsJson`
  // ({name: text}) typed over it, named `name`.
  std::string addTyped(const std::string& designText, const std::string& setsJson, const std::string& name) {
    auto in = inputsOf(designText);
    if (!in) return "窗口中的设计无法读取。";
    try {
      for (const auto& [key, text] : json::parse(setsJson).items())
        if (const auto box = boxOfNamedInput(key)) in->setText(*box, text.get<std::string>());
    } catch (const std::exception&) {
      return "设计的输入无法读取。";
    }
    return addDesign(*in, name, "设计");
  }

  // 导入实测曲线: "" or the desktop's refusal.
  std::string importMeasured(const std::string& text, const std::string& fileName) {
    if (!roomForOneMore()) return fullMessage();
    MeasuredRead read = readMeasuredText(text, fileName);
    if (!read.curve)
      return measuredRefusalZh(fileName, read.errorZh);
    input_.measured.push_back(std::move(*read.curve));
    shown_.push_back(true);
    styles_.push_back(freeStyle(styles_));
    kinds_.push_back("实测");
    refresh();
    return {};
  }

  // 移除所选 (never the current design).
  void remove(int row) {
    if (removeCurveRow(input_, row, shown_, styles_, kinds_)) refresh();
  }

  void setShown(int row, bool shown) {
    if (row < 0 || row >= curveCount()) return;
    shown_[static_cast<std::size_t>(row)] = shown;
    refresh();
  }

  void setShowBand(bool show) {
    showBand_ = show;
    refresh();
  }

  // The eight boxes' texts as typed (a JSON array, the desktop's order).
  void setTolerances(const std::string& textsJson) {
    try {
      const json texts = json::parse(textsJson);
      for (std::size_t i = 0; i < toleranceTexts_.size() && i < texts.size(); ++i) toleranceTexts_[i] = texts[i].get<std::string>();
    } catch (const std::exception&) {
      return;
    }
    tolerancesTyped_ = true;
    refresh();
  }

  // 按标准公差.
  void standardTolerances() {
    tolerancesTyped_ = false;
    resetTolerances();
    refresh();
  }

  // The fit of measured curve `index` as the window's inputs to type:
  // {"h": ..., "HoverH": ...} or {"error": the desktop's warning}.
  std::string fit(int index) const {
    const auto refusal = [](std::string_view why) { return jsonObject([&](JsonList& out) { out.text("error", why); }); };
    if (index < 0 || index >= static_cast<int>(result_.measured.size())) return refusal(texts::kNoMeasuredPicked);
    const Calibration& f = result_.measured[static_cast<std::size_t>(index)].fit;
    if (const std::string why = fitRefusalZh(f); !why.empty()) return refusal(why);
    return jsonObject([&](JsonList& out) {
      out.texts({{"h", format(f.h, "0.0000")}, {"HoverH", format(f.H / f.h, "0.0000")}});
    });
  }

  // Whether there is anything to compare (the sheet then has the page).
  bool comparing() const { return input_.designs.size() > 1 || !input_.measured.empty(); }

  // The section's tables and notes as the desktop fills them.
  std::string view() const {
    return jsonObject([&](JsonList& out) {
      out.array("curves", [&](JsonList& curves) { curveRows(curves); });
      out.array("measured", [&](JsonList& measured) { measuredRows(measured); });
      out.array("scatter", [&](JsonList& scatter) { scatterRows(scatter); });
      out.text("note", note());
      out.array("tolerances", [&](JsonList& boxes) {
        for (std::size_t i = 0; i < toleranceTexts_.size(); ++i)
          boxes.nextObject([&](JsonList& box) {
            box.texts({{"name", kToleranceBoxes[i].name}, {"caption", kToleranceBoxes[i].caption},
                       {"unit", kToleranceBoxes[i].unit}, {"text", toleranceTexts_[i]}});
            box.flag("bad", badBoxes_[i]);
          });
      });
      out.flag("stale", stale_);
      out.flag("showBand", showBand_);
      out.flag("comparing", comparing());
      out.texts({{"staleNote", texts::kStaleNote}, {"measuredNote", texts::kMeasuredNote}});
      out.texts("scatterRows", texts::kScatterRows);
    });
  }

  // The chart as {ops, texts, left, right}: left and right the λ1 at the
  // drawing's edges, for the cursor.
  emscripten::val chart() const {
    DisplayList list;
    const ComparisonFrame frame = drawComparison(list, scene());
    emscripten::val out = chartValue(list);
    out.set("left", frame.left);
    out.set("right", frame.right);
    return out;
  }

  // The cursor's line under the chart at λ1 (NaN: off the chart).
  std::string readout(double lambda1) const {
    if (!std::isfinite(lambda1)) return "将鼠标移到图上，读出每条曲线在该 λ1 处的 F1";
    std::string parts;
    for (const Reading& r : readoutAt(scene(), lambda1))
      parts += (parts.empty() ? "" : "；") + r.name + ": " + num(r.F1, "0") + " N";
    return "λ1 = " + num(lambda1, "0.000") + " mm　" + parts;
  }

  // The sheet's comparison page: its texts and tables with the desktop
  // sheet's decimals, and its chart ({ops, texts}).
  std::string sheetPage() const {
    return jsonObject([&](JsonList& out) {
      out.texts({{"title", texts::kSheetTitle},
                 {"chartHeading", texts::kSheetChartHeading},
                 {"chartCaption", texts::kSheetChartCaption},
                 {"designsHeading", texts::kSheetDesignsHeading}});
      out.texts("designColumns", texts::kSheetDesignColumns);
      out.array("designs", [&](JsonList& designs) {
        for (const DesignCurve& d : input_.designs)
          designs.nextArray([&](JsonList& row) {
            row.nextText(d.name);
            if (!d.ok()) row.nextText(d.error);
            else
              for (std::size_t k = 0; k < 6; ++k)
                row.nextText(num(d.points[k].first, "0.000") + " / " + num(d.points[k].second, "0"));
          });
      });
      out.text("measuredHeading", texts::kSheetMeasuredHeading);
      out.texts("measuredColumns", texts::kSheetMeasuredColumns);
      out.array("measured", [&](JsonList& measured) {
        for (std::size_t i = 0; i < result_.measured.size(); ++i) {
          const MeasuredComparison& m = result_.measured[i];
          measured.nextTexts({input_.measured[i].name, deviation(m.atB, true), deviation(m.atA, true), num(m.rms, "0"),
                              num(m.fit.h, "0.0000"), num(m.fit.H, "0.0000"), num(m.fit.rms, "0")});
        }
      });
      if (result_.hasScatter) out.object("scatter", [&](JsonList& scatter) { sheetScatter(scatter); });
      else out.null("scatter");
      out.flag("stale", stale_);
    });
  }

 private:
  static std::string escaped(const std::string& s) {
    std::string out;
    for (const char c : s) out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
    return out;
  }
  // The section's rows of curves: [{shown, name, kind, style, color}].
  void curveRows(JsonList& curves) const {
    const std::size_t designs = input_.designs.size();
    for (std::size_t r = 0; r < static_cast<std::size_t>(curveCount()); ++r) {
      std::string name;
      if (r < designs) {
        const DesignCurve& d = input_.designs[r];
        name = d.name + (d.ok() ? "" : "（" + d.error + "）");
      } else {
        name = input_.measured[r - designs].name;
      }
      const int style = styles_[r];
      curves.nextObject([&](JsonList& curve) {
        curve.flag("shown", shown_[r]);
        curve.texts({{"name", name}, {"kind", kinds_[r]}, {"style", styleNameZh(style)},
                     {"color", colorCss(curveStyle(style).color)}});
      });
    }
  }

  // The rows of measured curves: [{cells: [...], why}].
  void measuredRows(JsonList& measured) const {
    for (std::size_t i = 0; i < result_.measured.size(); ++i) {
      const MeasuredComparison& m = result_.measured[i];
      measured.nextObject([&](JsonList& row) {
        row.texts("cells", {input_.measured[i].name, deviation(m.atB, false), deviation(m.atA, false), num(m.rms, "0"),
                            num(m.fit.h, "0.0000"), num(m.fit.H, "0.0000"), num(m.fit.H / m.fit.h, "0.0000"),
                            m.fit.converged ? num(m.fit.rms, "0") : std::string("拒绝拟合")});
        row.text("why", m.fit.converged ? std::string() : m.fit.whyZh);
      });
    }
  }

  // The scatter table: four rows of six cells, dashes without a scatter.
  void scatterRows(JsonList& scatter) const {
    if (!result_.hasScatter) {
      for (int r = 0; r < 4; ++r) scatter.nextTexts({"—", "—", "—", "—", "—", "—"});
      return;
    }
    const WorstCase& w = result_.worst;
    const MonteCarlo& mc = result_.monteCarlo;
    const Range* ranges[] = {&w.F1B, &w.F1A, &w.F1C, &w.releaseForceMax};
    const Stats* stats[] = {&mc.F1B, &mc.F1A, &mc.F1C, &mc.releaseForceMax};
    for (int r = 0; r < 4; ++r)
      scatter.nextTexts({num(ranges[r]->min, "0"), num(ranges[r]->max, "0"), num(stats[r]->min, "0"),
                         num(stats[r]->max, "0"), num(stats[r]->mean, "0"), num(stats[r]->sigma, "0.0")});
  }

  // The note under the scatter table (HTML).
  std::string note() const {
    std::string note;
    if (!result_.hasScatter) {
      note = result_.impossible ? "<span class=\"fault\">" + escaped(toleranceLimitZh(*result_.impossible)) + "</span>"
                                : replaceMarks(texts::kNoCurve, {escaped(input_.designs.front().error)});
    } else {
      const MonteCarlo& mc = result_.monteCarlo;
      const Sensitivity& s = result_.sensitivity;
      note = replaceMarks(
                 texts::kScatterNote,
                 {std::to_string(mc.samples), std::to_string(mc.seed), num(input_.designs.front().clutch.F, "0"),
                  num(input_.tolerances.clampPercent, "0.0"), num(100 * mc.withinClampTolerance, "0.0"),
                  num(100 * mc.F1AatLeastF1B, "0.0"), num(s.h, "0"), num(s.H, "0"), num(s.R, "0"), num(s.r, "0"),
                  num(s.E, "0.0000")}) +
             replaceMarks(texts::kYieldNote, {shareText(result_.production.overall.value),
                                              yieldRows(result_.production, true).front().interval,
                                              escaped(yieldBasisText(result_.production, true))});
    }
    return typingNote_.empty() ? note : typingNote_ + "<br>" + note;
  }

  // The sheet's scatter part: the tolerances, the table, the shares and
  // the sensitivities.
  void sheetScatter(JsonList& scatter) const {
    const Tolerances& t = input_.tolerances;
    const MonteCarlo& mc = result_.monteCarlo;
    const Range* w[] = {&result_.worst.F1B, &result_.worst.F1A, &result_.worst.F1C, &result_.worst.releaseForceMax};
    const Stats* s[] = {&mc.F1B, &mc.F1A, &mc.F1C, &mc.releaseForceMax};
    const Sensitivity& se = result_.sensitivity;
    scatter.texts({{"heading", texts::kSheetScatterHeading},
                   {"tolerances", replaceMarks(texts::kSheetTolerances,
                                               {num(t.h, "0.000"), num(t.l0, "0.000"), num(t.R, "0.000"), num(t.r, "0.000"),
                                                num(t.Epercent, "0.0"), std::to_string(mc.samples), std::to_string(mc.seed)})}});
    scatter.texts("columns", texts::kSheetScatterColumns);
    scatter.array("rows", [&](JsonList& rows) {
      for (int i = 0; i < 4; ++i)
        rows.nextTexts({texts::kScatterRows[i], num(w[i]->min, "0"), num(w[i]->max, "0"), num(s[i]->min, "0"),
                        num(s[i]->max, "0"), num(s[i]->mean, "0"), num(s[i]->sigma, "0.0")});
    });
    scatter.texts({{"shares", replaceMarks(texts::kSheetShares, {num(t.clampPercent, "0.0"), num(100 * mc.withinClampTolerance, "0.0"),
                                                                  num(100 * mc.F1AatLeastF1B, "0.0")})},
                   {"sensitivity", replaceMarks(texts::kSheetSensitivity, {num(se.h, "0"), num(se.H, "0"), num(se.R, "0"),
                                                                             num(se.r, "0"), num(se.E, "0.0000")})},
                   {"basis", texts::kSheetBasis}});
  }

  static std::string fullMessage() { return fullMessageZh(); }
  int curveCount() const { return compare::curveCount(input_); }
  bool roomForOneMore() const { return curveCount() < kMaxCompared; }

  std::string addDesign(const DesignInputs& inputs, const std::string& name, const std::string& kind, bool pinned = false) {
    if (!roomForOneMore()) return fullMessage();
    if (pinned) ++pinned_;
    const auto at = static_cast<std::ptrdiff_t>(input_.designs.size());
    input_.designs.push_back(designCurve(inputs, name));
    shown_.insert(shown_.begin() + at, true);
    styles_.insert(styles_.begin() + at, freeStyle(styles_));
    kinds_.insert(kinds_.begin() + at, kind);
    refresh();
    return {};
  }

  void resetTolerances() {
    const DesignCurve& c = input_.designs.front();
    input_.tolerances = c.ok() ? defaultTolerances(c.g) : Tolerances{};
    toleranceTexts_ = toleranceTexts(input_);
  }

  // The boxes read as the desktop reads them (the page trims the texts).
  void readTolerances() {
    const ToleranceReading reading = readToleranceTexts(toleranceTexts_, input_);
    badBoxes_ = reading.bad;
    typingNote_ = reading.refused.empty() ? ""
                                          : "<span class=\"fault\">" + replaceMarks(texts::kTolerancesRefused, {escaped(reading.refused)}) +
                                                "</span>";
  }

  ComparisonScene scene() const {
    return shownScene(input_, result_, shown_, styles_, showBand_);
  }

  void refresh() {
    readTolerances();
    result_ = runComparison(input_);
  }

  ComparisonInput input_;
  ComparisonResult result_;
  DesignInputs followed_;
  std::vector<bool> shown_;
  std::vector<int> styles_;
  std::vector<std::string> kinds_;
  ToleranceTexts toleranceTexts_;
  std::array<bool, kToleranceBoxCount> badBoxes_{};
  std::string typingNote_;
  bool tolerancesTyped_ = false;
  bool showBand_ = true;
  bool stale_ = false;
  int pinned_ = 0;
};

}  // namespace diaspring::web

EMSCRIPTEN_BINDINGS(diaspring_compare) {
  using namespace emscripten;
  using diaspring::web::WebCompare;
  class_<WebCompare>("WebCompare")
      .constructor<std::string>()
      .DIASPRING_METHODS(WebCompare, follow, inputsChanged, pin, addDesignFile, addTyped, importMeasured, remove, setShown,
                         setShowBand, setTolerances, standardTolerances, fit, comparing, view, chart, readout, sheetPage);
  function("compare", &diaspring::web::compareRequest);
}
