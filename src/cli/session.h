#pragma once
// One run of the headless front end: the window's logic with its text boxes
// and sliders in memory and a recording chart, driven by actions exactly as
// the window's own events drive it.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "chart/display_list.h"
#include "analysis/spring_analysis.h"
#include "cli/cli_args.h"
#include "design/design_file.h"
#include "form/design_inputs.h"
#include "runtime/fault.h"
#include "form/fields.h"
#include "window/window_logic.h"

namespace diaspring::cli {

// A handler that stopped at a fault: which control's handler, and why.
struct FaultRecord {
  std::variant<Command, Slider> source;
  FaultKind kind;
  std::string cause;  // in the design's terms, when known; else empty
};

class Session {
 public:
  Session();  // the window as it opens
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Typing replaces the box's text and runs nothing. Moving a slider to the
  // value it already has runs nothing; to another value within its range it
  // runs the slider's change handler. A press runs the button's handler.
  // A handler's fault is recorded and the session goes on, as the window does.
  // A slider value outside its range throws std::out_of_range (the argument
  // parser refuses such values before a run starts).
  void apply(const Action& action);
  void applyAll(const std::vector<Action>& actions);

  // Opens a design as the window does: the sliders move to their positions
  // (each writing its box), then every input text is typed as saved. The
  // extras become the session's; the metadata and unknown members are kept
  // for design().
  void loadDesign(const DesignDocument& document);
  // The design as the boxes and the extras hold it now, with the loaded
  // document's metadata and unknown members (a new document's when none).
  DesignDocument design() const;
  // The design's project, part number, designer, notes and time of the last save.
  void setMetadata(const DesignMetadata& metadata) { document_.metadata = metadata; }
  // Moves each slider to the position nearest its box's number without
  // running its handler, as the window does after it filled the boxes
  // itself (a design opened, one of the automatic design's applied).
  void syncSliders();

  // An input that belongs to no box (see form/extra_inputs.h): kept by name
  // as an extra of the design's inputs; runs nothing.
  void setExtra(std::string_view name, std::string_view text);
  const DesignInputs& inputs() const { return inputs_; }

  // The strength and release analysis of the last curve run, when that run
  // went through and the chart was not cleared since; with the extras as
  // they are now. Its `error` says why it could not be made.
  std::optional<SpringAnalysis> analysis() const;
  // What that analysis is made from, when there is one and its inputs read.
  std::optional<AnalysisInput> analysisInput() const;

  const MemoryFields& fields() const { return fields_; }
  const DisplayList& chart() const { return chart_; }
  const WindowLogic& logic() const { return logic_; }
  const std::vector<FaultRecord>& faults() const { return faults_; }

 private:
  MemoryFields fields_;
  DisplayList chart_;
  WindowLogic logic_;
  std::vector<FaultRecord> faults_;
  DesignInputs inputs_;  // only its extras are used
  std::optional<CurveRun> lastRun_;
  DesignDocument document_;  // the loaded design: its metadata and unknown members
};

}  // namespace diaspring::cli
