#pragma once
// The command line of the headless front end: options and the actions that
// drive the window's logic, applied in the order given.
//
//   --set NAME=TEXT      type TEXT into text box NAME (Text1 ... Text42)
//   --slider NAME=VALUE  move slider NAME (HScroll1 ... HScroll6) to VALUE
//   --press NAME         click Command1, Command2 or Command3
//   --json               write one JSON object instead of the report
//   --yield              add the production yield of the last run's design
//   --chart FILE         after the actions, write the chart as FILE.png,
//                        FILE.svg or FILE.pdf (the format by the extension)
//   --scale N            the PNG at N times the chart's size (1 ... 8, default 2)
//   --report FILE        after the actions, write the design sheet as FILE.pdf
//   --material NAME      a steel of the library (diaspring-cli materials): its
//                        E and μ typed into their boxes, Rm and the limits set
//   --own-material NAME  name the user's own material (its numbers: --set)
//   --design FILE        before the actions, load the design file FILE
//   --save FILE          after the actions, save the design as FILE
//   --help, -h           print the usage
//   --version            print the program's name and version

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "form/controls.h"

namespace diaspring::cli {

struct SetText {
  TextBox box;
  std::string text;
  friend bool operator==(const SetText&, const SetText&) = default;
};

struct MoveSlider {
  Slider slider;
  int value;
  friend bool operator==(const MoveSlider&, const MoveSlider&) = default;
};

struct Press {
  Command command;
  friend bool operator==(const Press&, const Press&) = default;
};

using Action = std::variant<SetText, MoveSlider, Press>;

inline constexpr int kMinChartScale = 1;
inline constexpr int kMaxChartScale = 8;
inline constexpr int kDefaultChartScale = 2;

struct Options {
  bool help = false;
  bool version = false;
  bool json = false;
  bool yield = false;  // --yield: the production yield of the last curve run's design
  // Empty when the command line names no action: the default run applies.
  std::vector<Action> actions;
  // Inputs that belong to no box (n, b, Rm, ...), by name, in the order
  // given; they run nothing, so they do not stop the default run.
  std::vector<std::pair<std::string, std::string>> extras;
  // Files written after the actions; empty: none. The chart's format is
  // named by its extension (.png, .svg or .pdf, any letter case); a PNG is
  // `chartScale` times the chart's size in the window.
  std::string chartPath;
  int chartScale = kDefaultChartScale;
  std::string reportPath;  // the design sheet, a .pdf
  // A design file loaded before the actions and one saved after them
  // (any file name); empty: none.
  std::string designPath;
  std::string savePath;
  // The material chosen before the actions (after --design); empty: none.
  // `ownMaterial`: the user's own, whose numbers are the user's.
  std::string material;
  bool ownMaterial = false;
};

// Either the options or a usage error: a one-line message without the
// program name and without a line end.
struct ParseResult {
  Options options;
  std::string error;
  // Things the run does that the user may not expect, one line each without
  // the program name: a --set text that is not wholly a number.
  std::vector<std::string> warnings;
  bool ok() const { return error.empty(); }
};

// `args` are the arguments after the program name. Names of controls, slider
// values and their ranges are all checked here, so that a run either starts
// with valid actions or does not start at all.
ParseResult parseArgs(std::span<const std::string_view> args);

// A file named on the command line and the option that named it.
struct NamedPath {
  std::string_view option;  // "--chart", "-o", "the input" ...
  std::string_view path;    // empty: not given
};

// The usage error when two of `paths` name the same file once ".", ".." and
// symbolic links are resolved (so no run overwrites one of its own files, or
// its input); empty when they name different files. Every option that writes
// a file joins this one check.
std::string sameFileError(std::span<const NamedPath> paths);

// What a run without any action does: the curve, then the check, on the
// window as it opens.
std::vector<Action> defaultActions();

// The text printed by --help, ending in a line end.
std::string usageText();

// The line printed by --version: "diaspring-cli 0.1.0" and a line end.
std::string versionText();

}  // namespace diaspring::cli
