#pragma once
// The page's window: one session of the window's core, driven by the same
// actions as the headless front end and reported in its JSON, with its
// design files as text, its design sheet and its analysis. Its parts live
// beside it: web_window.cpp (the session and its charts), design_files.cpp
// (opening and saving), sheet_view.cpp (the sheet, the analysis and the
// production yield).

#include <emscripten/val.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/session.h"
#include "design/design_file.h"

namespace diaspring::web {

class WebWindow {
 public:
  WebWindow() : session_(std::make_unique<cli::Session>()) {}

  // Applies actions given as the headless front end's arguments (a JSON
  // array: "--set", "h=2.3", "--slider", "HScroll1=230", "--press",
  // "Command1"). All are checked before any runs. Returns
  // {"error": "..."} or {"warnings": [...]}.
  std::string act(const std::string& argsJson);

  // What `diaspring-cli --json` prints after the same actions: before any
  // press, as it does, the design as the curve and the check then show it.
  std::string state() const;

  // What the page shows: the session as it is, which results are stale, and
  // the message of each fault in the desktop's words.
  std::string view() const;

  // The chart as the page draws it: what shows since its last clearing, led
  // by the coordinate system and draw width then in force, as numbers
  // (seven per operation: kind, x1, y1, x2, y2, colour or -1, text index or
  // -1; kinds 0 scale, 1 line, 2 dot, 3 text, 4 width, 5 clear), which the
  // page copies out at once. Texts come from chartTexts().
  emscripten::val chartOps();

  // What the chart drew since the last chartDelta(), packed as chartOps()
  // with its texts: {full, ops, texts}. `full` when the chart was cleared
  // or replaced since (then all it shows, as chartOps()); else only the
  // operations added, to be drawn over what the page shows. `ops` is a view
  // into the module's memory, valid until the next call.
  emscripten::val chartDelta();

  // The analysis's two charts (stresses against λ1, release force against
  // λ2) of the last curve run, each as {ops, texts} packed as chartOps();
  // null when there is no analysis to draw.
  emscripten::val analysisCharts() const;

  // The texts of the last chartOps(), as a JSON array.
  std::string chartTexts() const;

  // Opens a design file's text as the window does, in a fresh window;
  // returns "" or the desktop's refusal message (the window then unchanged).
  std::string openDesign(const std::string& text, const std::string& name);

  // After the page filled the boxes itself (a design of the automatic
  // design applied): each slider to the position nearest its box's number,
  // without writing its box.
  void syncSliders();

  // The design file's text as 保存 writes it, with the time of this save
  // (kept for the next save and for 设计信息): {"text": ...} or {"error":
  // the desktop's message}, the design then unchanged.
  std::string saveDesignFile(const std::string& name);

  // Names the design file the window's design came from (shown on the sheet).
  void setFileName(const std::string& name) { fileName_ = name; }

  // The design sheet's contents as JSON, as the desktop's sheet has them:
  // the boxes of the last curve run (with the warning when they were edited
  // since), the title block's design information, the rows of the inputs,
  // points and rules, and the analysis's page of that run. The page lays
  // them out and draws the charts (chartOps(), analysisCharts()).
  std::string sheet() const;

  // The production yield of the last curve run's design, as the analysis
  // window and the sheet's yield page show it: {title, headline, basis,
  // requirementColumns, rows: [[requirement, share, interval, count]],
  // toleranceColumns, tolerances: [[symbol, nominal, ±, source]], ...} or
  // {title, error}; null before a run. Its Monte Carlo (10,000 springs) runs
  // once for each run and set of analysis inputs.
  std::string yieldView() const;

  // The window 强度与分离特性 as the desktop fills it, for the last curve
  // run: {error} or {columns: [[symbol, unit]], rows: [[point, texts...]],
  // checks: [[what, value, limit, pass, verdict, basis]], strokes: [[F2max,
  // λ1 at it, λ2 end]] (new, worn)}, every number with the desktop's
  // decimals; the verdict as the desktop writes it, with its data mark (a
  // verdict on example data is no plain pass or fail); null before a run.
  std::string analysisView() const;

  // The material library as the analysis window offers it: [{name,
  // standard, aliases}], and the line beside the material box for the
  // design's material.
  std::string materials() const;

  // Chooses a material as the analysis window's material box does: a steel
  // of the library types its E and μ into their boxes (as typed, so the
  // curve goes stale) and sets Rm and the limits derived from it; another
  // name is the user's own material, whose numbers stay the user's; ""
  // chooses none. Kept like the actions, so state() replays it.
  void chooseMaterial(const std::string& name);

  // The design's information (设计信息) as JSON: project, partNumber,
  // designer, notes, savedAt.
  std::string metadata() const;

  // Sets the information the user edits (the time of the last save is set
  // by a save only); "" or why the JSON was refused.
  std::string setMetadata(const std::string& json);

  // The design as the boxes hold it now, as a design file's text.
  std::string saveDesign() const;

 private:
  static std::string render(const cli::Session& s);

  std::unique_ptr<cli::Session> session_;
  std::optional<DesignDocument> document_;
  std::vector<cli::Action> history_;
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

}  // namespace diaspring::web
