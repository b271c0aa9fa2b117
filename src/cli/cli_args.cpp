#include "cli/cli_args.h"

#include <sys/stat.h>

#include <algorithm>
#include <span>

#include "cli/arg_reader.h"
#include "runtime/utf8_text.h"
#include "analysis/materials.h"
#include "form/extra_inputs.h"
#include "form/input_boxes.h"
#include "runtime/file_write.h"
#include "runtime/version.h"
#include "study/study.h"

namespace diaspring::cli {
namespace {

struct NameValue {
  std::string_view name;
  std::string_view value;
};

// Splits "NAME=VALUE" at the first '=' (the value may hold more of them).
bool splitAssignment(std::string_view arg, NameValue& out) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string_view::npos) return false;
  out.name = arg.substr(0, eq);
  out.value = arg.substr(eq + 1);
  return true;
}

std::string parseSet(std::string_view arg, ParseResult& result) {
  Options& options = result.options;
  NameValue nv;
  if (!splitAssignment(arg, nv)) return "--set " + quoteText(arg) + ": expected NAME=TEXT";
  // Inputs hold numbers: a text only partly a number is read by its leading number.
  const auto warnIfPartial = [&] {
    if (auto note = partialNumberNote(nv.value)) result.warnings.push_back("--set " + printable(nv.name) + ": " + printable(*note));
  };
  if (extraInputOfName(nv.name) != nullptr) {
    if (!isValidUtf8(nv.value)) return "--set " + std::string(nv.name) + ": the text is not valid UTF-8";
    warnIfPartial();
    options.extras.emplace_back(std::string(nv.name), std::string(nv.value));
    return {};
  }
  auto box = textBoxFromName(nv.name);
  if (!box) box = boxOfNamedInput(nv.name);
  if (!box) {
    return "--set: unknown name " + quoteText(nv.name) + "; use Text1 ... Text42 or an input name (see --help)";
  }
  if (!isValidUtf8(nv.value)) return "--set " + textBoxName(*box) + ": the text is not valid UTF-8";
  if (isNamedInputBox(*box)) warnIfPartial();  // the engine boxes are read by no computation
  options.actions.emplace_back(SetText{*box, std::string(nv.value)});
  return {};
}

std::string parseSlider(std::string_view arg, Options& options) {
  NameValue nv;
  if (!splitAssignment(arg, nv)) return "--slider " + quoteText(arg) + ": expected NAME=VALUE";
  const auto slider = sliderFromName(nv.name);
  if (!slider) return "--slider: unknown slider " + quoteText(nv.name) + "; the sliders are HScroll1 ... HScroll6";
  const SliderRange range = sliderRange(*slider);
  const std::string rangeText = std::to_string(range.min) + " ... " + std::to_string(range.max);
  int value = 0;
  switch (readWhole(nv.value, value)) {
    case WholeNumber::TooLarge:
      return "--slider " + sliderName(*slider) + ": " + quoteText(nv.value) + " is outside its range " + rangeText;
    case WholeNumber::NotWhole:
      return "--slider " + sliderName(*slider) + ": " + quoteText(nv.value) + " is not an integer";
    case WholeNumber::Read:
      break;
  }
  if (value < range.min || value > range.max) {
    return "--slider " + sliderName(*slider) + ": " + std::to_string(value) + " is outside its range " + rangeText;
  }
  options.actions.emplace_back(MoveSlider{*slider, value});
  return {};
}

std::string parsePress(std::string_view arg, Options& options) {
  const auto command = commandFromName(arg);
  if (!command) return "--press: unknown button " + quoteText(arg) + "; the buttons are Command1, Command2 and Command3";
  options.actions.emplace_back(Press{*command});
  return {};
}

// The file name's extension after its last point, in lower case ("" when it
// has none); only the last component of the path counts.
std::string extensionOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {};
  std::string ext(name.substr(dot + 1));
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return ext;
}

std::string parseChart(std::string_view path, Options& options) {
  if (!options.chartPath.empty()) return "--chart may be given only once";
  const std::string ext = extensionOf(path);
  if (ext != "png" && ext != "svg" && ext != "pdf")
    return "--chart " + quoteText(path) + ": the file name must end in .png, .svg or .pdf";
  options.chartPath = std::string(path);
  return {};
}

std::string parseReport(std::string_view path, Options& options) {
  if (!options.reportPath.empty()) return "--report may be given only once";
  if (extensionOf(path) != "pdf") return "--report " + quoteText(path) + ": the file name must end in .pdf";
  options.reportPath = std::string(path);
  return {};
}

// --design and --save take any file name: the extension is the window's
// convention, not a requirement.
std::string parseDesignFile(std::string_view option, std::string_view path, std::string& out) {
  if (!out.empty()) return std::string(option) + " may be given only once";
  if (path.empty()) return std::string(option) + " needs a file name";
  out = std::string(path);
  return {};
}

}  // namespace

ParseResult parseArgs(std::span<const std::string_view> args) {
  ParseResult result;
  Options& options = result.options;
  ArgReader reader(args);
  while (!reader.done()) {
    const std::string_view arg = reader.next();
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return result;
    }
    if (arg == "--version") {
      options.version = true;
      return result;
    }
    if (arg == "--json") {
      options.json = true;
      continue;
    }
    if (arg == "--yield") {
      options.yield = true;
      continue;
    }
    if (arg == "--set" || arg == "--slider" || arg == "--press") {
      const std::optional<std::string_view> value = reader.value();
      if (!value) {
        if (arg == "--set") result.error = "--set needs NAME=TEXT";
        else if (arg == "--slider") result.error = "--slider needs NAME=VALUE";
        else result.error = "--press needs a button: Command1, Command2 or Command3";
        return result;
      }
      if (arg == "--set") result.error = parseSet(*value, result);
      else if (arg == "--slider") result.error = parseSlider(*value, options);
      else result.error = parsePress(*value, options);
      if (!result.ok()) return result;
      continue;
    }
    if (arg == "--material" || arg == "--own-material") {
      const std::optional<std::string_view> given = reader.value();
      if (!given) {
        result.error = std::string(arg) + " needs a material name";
        return result;
      }
      const std::string_view name = *given;
      if (!options.material.empty()) {
        result.error = "--material and --own-material may be given only once";
        return result;
      }
      if (name.empty() || !isValidUtf8(name)) {
        result.error = std::string(arg) + ": the name must be a non-empty UTF-8 text";
        return result;
      }
      const Material* known = materialOfName(name);
      if (arg == "--material" && known == nullptr) {
        std::string names;
        for (const Material& m : materials()) names += std::string(names.empty() ? "" : ", ") + m.name;
        result.error = "--material " + quoteText(name) + ": not in the library (" + names +
                       "); name a material of your own with --own-material";
        return result;
      }
      if (arg == "--own-material" && known != nullptr) {
        result.error = "--own-material " + quoteText(name) + ": the library holds this steel; choose it with --material";
        return result;
      }
      options.material = known != nullptr ? std::string(known->name) : std::string(name);
      options.ownMaterial = known == nullptr;
      continue;
    }
    if (arg == "--chart" || arg == "--report" || arg == "--scale" || arg == "--design" || arg == "--save") {
      const std::optional<std::string_view> value = reader.value();
      if (!value) {
        if (arg == "--chart") result.error = "--chart needs a file name ending in .png, .svg or .pdf";
        else if (arg == "--report") result.error = "--report needs a file name ending in .pdf";
        else if (arg == "--scale") result.error = "--scale needs a whole number from 1 to 8";
        else result.error = std::string(arg) + " needs a file name";
        return result;
      }
      if (arg == "--chart") result.error = parseChart(*value, options);
      else if (arg == "--report") result.error = parseReport(*value, options);
      else if (arg == "--design") result.error = parseDesignFile(arg, *value, options.designPath);
      else if (arg == "--save") result.error = parseDesignFile(arg, *value, options.savePath);
      else result.error = readWholeIn("--scale", *value, kMinChartScale, kMaxChartScale, options.chartScale);
      if (!result.ok()) return result;
      continue;
    }
    if (arg.size() > 1 && arg.front() == '-') {
      result.error = "unknown option " + quoteText(arg) + "; see --help";
    } else {
      result.error = "unexpected argument " + quoteText(arg) + "; actions are --set, --slider and --press";
    }
    return result;
  }
  const NamedPath outputs[] = {
      {"--chart", options.chartPath}, {"--report", options.reportPath}, {"--save", options.savePath}};
  result.error = sameFileError(outputs);
  if (result.error.empty()) {
    // Nor may a file of the run overwrite the design it read; saving the
    // design back over its file is what --save is for.
    const NamedPath overDesign[] = {
        {"--design", options.designPath}, {"--chart", options.chartPath}, {"--report", options.reportPath}};
    result.error = sameFileError(overDesign);
  }
  return result;
}

std::string sameFileError(std::span<const NamedPath> paths) {
  std::vector<std::string> resolved;
  for (const NamedPath& named : paths) resolved.push_back(named.path.empty() ? std::string() : resolvedOutputPath(std::string(named.path)));
  // A hard link names the same file by another path: the same device and
  // inode.
  std::vector<std::optional<std::pair<dev_t, ino_t>>> identity;
  for (const std::string& path : resolved) {
    struct stat st {};
    if (!path.empty() && ::stat(path.c_str(), &st) == 0) identity.emplace_back(std::pair{st.st_dev, st.st_ino});
    else identity.emplace_back();
  }
  for (std::size_t i = 0; i < paths.size(); ++i)
    for (std::size_t j = i + 1; j < paths.size(); ++j)
      if (!resolved[i].empty() && !resolved[j].empty() &&
          (resolved[i] == resolved[j] || (identity[i] && identity[i] == identity[j])))
        return std::string(paths[i].option) + " and " + std::string(paths[j].option) + " name the same file " +
               quoteText(paths[j].path);
  return {};
}

std::vector<Action> defaultActions() {
  return {Press{Command::Command1}, Press{Command::Command3}};
}

std::string versionText() { return std::string("diaspring-cli ") + kVersion + "\n"; }

namespace {

// The usage's synopsis and the sections before the input names.
constexpr const char* kUsageHead =
    "Usage: diaspring-cli [--json] [ACTION...] [--chart FILE [--scale N]] [--report FILE.pdf]\n"
    "                     [--design FILE] [--save FILE] [--material NAME | --own-material NAME]\n"
    "                     [--yield]\n"
    "       diaspring-cli materials [--json]\n"
    "       diaspring-cli study IN.csv [-o OUT.csv] [--threads N]\n"
    "       diaspring-cli disc --De D --Di D --t T --h0 H --s S [--E E --mu MU] [--json]\n"
    "       diaspring-cli design [--set NAME=TEXT...] [--range NAME=LO:HI...] [--grid N]\n"
    "                            [--no-refine] [--min-yield P] [--tolerance NAME=MM...]\n"
    "                            [--threads N] [--json | -o OUT.csv]\n"
    "       diaspring-cli compare [--design FILE...] [--measured FILE...] [--tolerance NAME=VALUE...]\n"
    "                             [--samples N] [--seed S] [--chart FILE] [--report FILE.pdf]\n"
    "                             [--json]   (compare --help)\n"
    "       diaspring-cli --help | --version\n"
    "Designs and checks a clutch diaphragm spring without the window: the actions\n"
    "are applied in the order given, exactly as the window's own events.\n"
    "\n"
    "Actions:\n"
    "  --set NAME=TEXT       type TEXT into text box NAME (Text1 ... Text42, or\n"
    "                        one of the input names below), replacing its text;\n"
    "                        TEXT may be empty\n"
    "  --slider NAME=VALUE   move slider NAME to the integer VALUE; its handler runs\n"
    "                        when the value changes\n"
    "  --press NAME          click Command1 (curve and points), Command2 (clear)\n"
    "                        or Command3 (constraint check)\n"
    "With no --press: the other actions, then --press Command1 --press Command3,\n"
    "on the default design (or the one --design loads).\n"
    "\n"
    "Design files (docs/design-file.md; the window's extension is .diaspring):\n"
    "  --design FILE         load the design in FILE before the actions: its input\n"
    "                        texts exactly as saved and its slider positions. A file\n"
    "                        that cannot be read stops the run (exit status 1).\n"
    "  --save FILE           after the actions, save the design as the boxes hold\n"
    "                        it, with the loaded file's metadata\n"
    "\n"
    "Material (before the actions; the design keeps it):\n"
    "  --material NAME       a steel of the library (diaspring-cli materials): types\n"
    "                        its E and mu into their boxes and sets Rm, sigmaAllow\n"
    "                        and sigmaAllowF derived from it\n"
    "  --own-material NAME   a material of your own: its numbers are yours (--set E=,\n"
    "                        --set Rm= ...) and are marked as user data\n"
    "\n"
    "Files, written after the actions:\n"
    "  --chart FILE          the chart as FILE.png, FILE.svg or FILE.pdf, by the\n"
    "                        extension; SVG and PDF are vectors with real text\n"
    "  --scale N             the PNG at N times the chart's size in the window,\n"
    "                        549 x 293 pixels (N from 1 to 8, default 2)\n"
    "  --report FILE.pdf     the design sheet: the inputs of the last curve run, the\n"
    "                        chart, the characteristic points and the check; it\n"
    "                        warns when the inputs were edited after that run\n"
    "A file is written whole or not at all; an earlier file of that name stays\n"
    "as it was when writing fails.\n"
    "\n"
    "  --yield               add the production yield of the last curve run's design:\n"
    "                        the share of 10,000 springs made to the default\n"
    "                        tolerances (seed 19) that meet the clamp-load band\n"
    "                        (DIN 2093's for the thickness), F1A >= F1B, rules 3-12\n"
    "                        and the strength checks, with each requirement's share\n"
    "                        and the Wilson 95 % interval (JSON member \"production\")\n"
    "\n"
    "Input names:\n";

// The sections after the sliders.
constexpr const char* kUsageTail =
    "\n"
    "Output:\n"
    "  a readable report of the design, the characteristic points, the\n"
    "  constraint check and any fault; with --json one JSON object with every\n"
    "  text box, the sliders, the faults and the chart's drawing operations.\n"
    "  After a curve run that went through, both add the strength and release\n"
    "  analysis (JSON: \"analysis\" with \"points\", \"release\" and \"checks\").\n"
    "\n"
    "Parameter study:\n"
    "  Each row of IN.csv is one design, its columns named by the input names\n"
    "  and analysis input names above (columns left out keep their defaults).\n"
    "  Every row runs on a fresh window: the curve (Command1), then the check\n"
    "  (Command3). The result (to OUT.csv, or to stdout) repeats the input columns\n"
    "  and adds the twelve point values, each rule's value and pass/fail, the main\n"
    "  results of the strength and release analysis and a fault column.\n"
    "  strength_pass is the static checks only (|sigmaOM| <= Rm, |sigmaI| <=\n"
    "  sigmaAllow, finger stress <= sigmaAllowF); fatigue_pass is the required\n"
    "  life on both strokes, with its data source in fatigue_data (user, or\n"
    "  example: then fatigue_pass is empty, no verdict on example data). Rows run\n"
    "  on all cores (or N threads); the result is the same for any number.\n"
    "  A cell that is not wholly a number is read by its leading number, with a\n"
    "  warning; stderr ends with a summary (rows, faulted, unreadable).\n"
    "\n"
    "Automatic design:\n"
    "  The springs that pass all twelve rules and the static check of σI (the\n"
    "  largest |σI| over 0 ... λ1C at most sigmaAllow) for the clutch data, ranked\n"
    "  by the clamp-load rise over wear (wearRise), the peak release force\n"
    "  (releaseForceMax) and the largest |σI| over the release strokes\n"
    "  (sigmaImax, MPa), all to minimise: the designs no other found design beats\n"
    "  on all three, by wearRise. --set fixes any input but the four free ones\n"
    "  (the analysis inputs too, e.g. --set sigmaAllow=1800),\n"
    "  h, HoverH, R and RoverR, which run over their sliders' ranges (narrowed by\n"
    "  --range NAME=LO:HI) in the sliders' steps (N times finer with --grid N:\n"
    "  1, 2, 4, 5 or 10), then in steps four times finer around the best designs\n"
    "  (not with --no-refine); h is solved for rule 1 and given the fewest\n"
    "  decimals that keep it. Every design listed passes the window's own check and\n"
    "  has a production yield (productionYield: the share of springs made to the\n"
    "  tolerances that meet the clamp-load band, F1A >= F1B, rules 3-12 and the\n"
    "  strength checks, by Monte Carlo) of at least P (--min-yield, default 0.99;\n"
    "  0: no yield required). The tolerances are the disc-spring standard's for\n"
    "  each design, or +/- MM for every design with --tolerance h=, l0= (the free\n"
    "  height h + H), R= or r=. With\n"
    "  --json one JSON object; with -o a CSV file. When no design passes, the\n"
    "  rules that cannot be met together go to stderr and the exit status is 1.\n"
    "Disc spring:\n"
    "  diaspring-cli disc prints the load F (N) and the stresses σOM, σI ... σIV\n"
    "  (MPa, compression negative) of a disc spring De x Di x t with free cone\n"
    "  height h0 at deflection s (mm); E defaults to 206000 MPa, μ to 0.3. With\n"
    "  --json: {\"F\": ..., \"sigmaOM\": ..., \"sigmaI\": ..., ... \"sigmaIV\": ...}.\n"
    "\n"
    "Exit status: 0 no handler faulted, 1 a handler faulted (in a study: a row\n"
    "faulted or could not be read) or a file could not be written (the output is\n"
    "still complete) or the design file could not be read (nothing ran), 2 usage\n"
    "error, 3 the output could not be written.\n";

// The input names, the engine data and the analysis inputs: a line each.
std::string inputsHelp() {
  std::string text;
  const auto inputLines = [&text](std::span<const InputBox> inputs) {
    for (const InputBox& input : inputs) {
      std::string line = "  " + std::string(input.name);
      line.resize(12, ' ');
      line += textBoxName(input.box);
      line.resize(20, ' ');
      const std::string_view unit = *input.unit ? input.unit : "-";
      const std::size_t wide = unit.size() - displayWidth(unit);  // bytes beyond the columns shown ("N·m")
      line += unit;
      line.resize(26 + wide, ' ');
      line += "default " + std::string(defaultText(input.box));
      line.resize(42 + wide, ' ');
      text += line + input.meaning + "\n";
    }
  };
  inputLines(namedInputs());
  text += "Engine data, kept with the design and read by no computation:\n";
  inputLines(engineInputs());
  text +=
      "\n"
      "Analysis inputs (strength, release and fatigue; no box of the form):\n";
  for (const ExtraInput& input : extraInputs()) {
    std::string line = "  " + std::string(input.name);
    line.resize(16, ' ');
    line += input.unit;
    line.resize(22, ' ');
    line += "default " + std::string(input.defaultText);
    line.resize(38, ' ');
    text += line + input.meaning + (input.example ? " (example value)" : "") + "\n";
  }
  return text;
}

std::string slidersHelp() {
  struct SliderHelp {
    Slider slider;
    const char* what;
  };
  static constexpr SliderHelp kSliders[] = {
      {Slider::HScroll1, "h = VALUE/100 mm into Text4"},
      {Slider::HScroll2, "H/h = VALUE/100 into Text6"},
      {Slider::HScroll3, "R = VALUE/10 mm into Text7"},
      {Slider::HScroll4, "R/r = VALUE/100 into Text9"},
      {Slider::HScroll5, "wear allowance = VALUE/100 mm into Text10"},
      {Slider::HScroll6, "release travel = VALUE/100 mm into Text11"},
  };
  std::string text = "\n"
                     "Sliders:\n";
  for (const SliderHelp& s : kSliders) {
    const SliderRange range = sliderRange(s.slider);
    std::string line = "  " + sliderName(s.slider) + "  " + std::to_string(range.min) + " ... " +
                       std::to_string(range.max) + " (at start " + std::to_string(range.initial) + ")";
    line.resize(std::max<std::size_t>(line.size() + 2, 42), ' ');
    text += line + s.what + "\n";
  }
  return text;
}

}  // namespace

std::string usageText() { return kUsageHead + inputsHelp() + slidersHelp() + kUsageTail; }

}  // namespace diaspring::cli
