#include "cli/design_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <chrono>

#include "cli/cli_args.h"
#include "cli/json_writer.h"
#include "cli/utf8_text.h"
#include "compare/production_yield.h"
#include "form/extra_inputs.h"
#include "form/named_inputs.h"
#include "runtime/convert.h"
#include "runtime/file_write.h"
#include "search/opening.h"
#include "search/strength_goals.h"
#include "study/csv.h"

namespace diaspring::cli {
namespace {

struct DesignArgs {
  DesignInputs base;
  search::Options options;
  bool json = false;
  std::string out;  // -o FILE.csv; empty: stdout
  double minYield = compare::kDefaultMinYield;
};

bool isFree(std::string_view name) {
  for (const char* free : search::kFreeInputs)
    if (name == free) return true;
  return false;
}

std::string parseSet(std::string_view arg, DesignArgs& parsed) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string_view::npos) return "--set '" + std::string(arg) + "': expected NAME=TEXT";
  const std::string_view name = arg.substr(0, eq);
  if (isFree(name))
    return "--set: " + std::string(name) + " is chosen by the search; narrow it with --range " + std::string(name) +
           "=LO:HI";
  if (!isValidUtf8(arg.substr(eq + 1))) return "--set " + std::string(name) + ": the text is not valid UTF-8";
  if (extraInputOfName(name) != nullptr) {
    parsed.base.setExtra(name, arg.substr(eq + 1));
    return {};
  }
  const auto box = boxOfNamedInput(name);
  if (!box) return "--set: unknown input '" + std::string(name) + "' (see --help for the input names)";
  parsed.base.setText(*box, arg.substr(eq + 1));
  return {};
}

std::string parseRange(std::string_view arg, DesignArgs& parsed) {
  const std::size_t eq = arg.find('=');
  const std::size_t colon = arg.find(':', eq == std::string_view::npos ? 0 : eq);
  if (eq == std::string_view::npos || colon == std::string_view::npos)
    return "--range '" + std::string(arg) + "': expected NAME=LO:HI";
  const std::string_view name = arg.substr(0, eq);
  search::Range* range = search::rangeOf(parsed.options.ranges, name);
  if (!range) return "--range: '" + std::string(name) + "' is not free; the free inputs are h, HoverH, R and RoverR";
  const std::string_view low = arg.substr(eq + 1, colon - eq - 1), high = arg.substr(colon + 1);
  if (!isWholeNumber(low) || !isWholeNumber(high))
    return "--range " + std::string(name) + ": '" + std::string(arg.substr(eq + 1)) + "' is not LO:HI with two numbers";
  try {
    *range = {val(low).value(), val(high).value()};
  } catch (const Fault&) {
    return "--range " + std::string(name) + ": a number beyond the range of numbers";
  }
  if (!(range->low > 0) || range->low > range->high)
    return "--range " + std::string(name) + ": LO must be above 0 and at most HI";
  return {};
}

std::string parseCount(std::string_view option, std::string_view value, unsigned low, unsigned high, unsigned& out) {
  unsigned n = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
  if (value.empty() || ec != std::errc() || end != value.data() + value.size() || n < low || n > high)
    return std::string(option) + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
           ", not '" + std::string(value) + "'";
  out = n;
  return {};
}

std::string parseMinYield(std::string_view value, double& out) {
  double p = NAN;
  if (isWholeNumber(value)) {
    try {
      p = val(value).value();
    } catch (const Fault&) {
    }
  }
  if (!(p >= 0 && p < 1))
    return "--min-yield takes a share from 0 (no production yield required) up to below 1, e.g. 0.99, not '" +
           std::string(value) + "'";
  out = p;
  return {};
}

std::string parseDesignArgs(std::span<const std::string_view> args, DesignArgs& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--json") {
      parsed.json = true;
      continue;
    }
    if (arg == "--no-refine") {
      parsed.options.refine = false;
      continue;
    }
    if (arg == "--set" || arg == "--range" || arg == "--threads" || arg == "--grid" || arg == "-o" ||
        arg == "--output" || arg == "--min-yield") {
      if (i + 1 == args.size()) return std::string(arg) + " needs a value";
      const std::string_view value = args[++i];
      std::string error;
      if (arg == "--set") error = parseSet(value, parsed);
      else if (arg == "--range") error = parseRange(value, parsed);
      else if (arg == "--threads") error = parseCount("--threads", value, 1, 256, parsed.options.threads);
      else if (arg == "--min-yield") error = parseMinYield(value, parsed.minYield);
      else if (arg == "--grid") {
        unsigned grid = 0;
        error = parseCount("--grid", value, 1, 10, grid);
        if (error.empty() && grid != 1 && grid != 2 && grid != 4 && grid != 5 && grid != 10)
          error = "--grid takes 1, 2, 4, 5 or 10, not '" + std::string(value) + "'";
        parsed.options.gridDivisions = static_cast<int>(grid);
      } else {
        parsed.out = std::string(value);
      }
      if (!error.empty()) return error;
      continue;
    }
    return "unexpected argument '" + std::string(arg) + "'; see --help";
  }
  if (parsed.json && !parsed.out.empty()) return "--json and -o exclude each other";
  if (std::string error = search::addStrengthGoals(parsed.options, parsed.base); !error.empty()) return error;
  return compare::addYieldGoals(parsed.options, parsed.base, parsed.minYield);
}

// An object of texts, one member for each item, named by its name.
template <class Items, class TextOf>
void appendTextObject(std::string& out, const Items& items, TextOf textOf) {
  out += '{';
  bool first = true;
  for (const auto& item : items) {
    if (!first) out += ',';
    first = false;
    appendJsonString(out, item.name);
    out += ':';
    appendJsonString(out, textOf(item));
  }
  out += '}';
}

void appendInputs(std::string& out, const DesignInputs& inputs) {
  appendTextObject(out, namedInputs(), [&](const NamedInput& input) { return inputs.text(input.box); });
}

void appendKey(std::string& out, std::string_view key, double value) {
  out += ",\"";
  out += key;
  out += "\":";
  appendJsonDouble(out, value);
}

void appendCount(std::string& out, std::string_view key, std::size_t value) {
  out += ",\"";
  out += key;
  out += "\":" + std::to_string(value);
}

// "h=2.2134 H/h=1.9 R=84.7 R/r=1.33  wearRise=... releaseForceMax=... N  F1B=... N"
std::string designLine(const search::Design& d, const search::Options& options) {
  std::string line = "h=" + d.inputs.text(TextBox::Text4);
  line.resize(std::max<std::size_t>(line.size() + 1, 11), ' ');
  line += "H/h=" + d.inputs.text(TextBox::Text6);
  line.resize(std::max<std::size_t>(line.size() + 1, 24), ' ');
  line += "R=" + d.inputs.text(TextBox::Text7);
  line.resize(std::max<std::size_t>(line.size() + 1, 34), ' ');
  line += "R/r=" + d.inputs.text(TextBox::Text9);
  line.resize(std::max<std::size_t>(line.size() + 1, 46), ' ');
  line += "wearRise=" + format(d.wearRise, "0.0000");
  line += "  releaseForceMax=" + format(d.releaseForceMax, "0.0") + " N";
  for (std::size_t k = 0; k < d.extra.size() && k < options.extraObjectives.size(); ++k)
    line += "  " + options.extraObjectives[k].name + "=" + format(d.extra[k], "0.0");
  line += "  F1B=" + format(d.F1B, "0.000") + " N";
  if (d.finalFigure && options.finalTest) line += "  " + options.finalTest->name + "=" + format(*d.finalFigure, "0.0000");
  return line + "\n";
}

std::string summary(const search::Result& r) {
  return std::to_string(r.designs.size()) + " designs on the front of " + std::to_string(r.feasible) +
         " that pass every rule; " + std::to_string(r.evaluated) + " grid points examined in " +
         format(r.seconds, "0.000") + " s\n";
}

}  // namespace

std::string renderDesignJson(const search::Result& result, const search::Options& options, const DesignInputs& base,
                             const std::optional<search::Opening>& opening) {
  std::string out = "{\"designs\":[";
  for (std::size_t i = 0; i < result.designs.size(); ++i) {
    const search::Design& d = result.designs[i];
    out += i ? ",{\"inputs\":" : "{\"inputs\":";
    appendInputs(out, d.inputs);
    appendKey(out, "wearRise", d.wearRise);
    appendKey(out, "releaseForceMax", d.releaseForceMax);
    appendKey(out, "F1B", d.F1B);
    appendKey(out, "lambda1B", d.lambda1B);
    for (std::size_t k = 0; k < d.extra.size() && k < options.extraObjectives.size(); ++k)
      appendKey(out, options.extraObjectives[k].name, d.extra[k]);
    if (d.finalFigure && options.finalTest) appendKey(out, options.finalTest->name, *d.finalFigure);
    out += '}';
  }
  out += ']';
  appendCount(out, "evaluated", result.evaluated);
  appendCount(out, "solved", result.solved);
  appendCount(out, "feasible", result.feasible);
  appendCount(out, "finished", result.finished);
  appendCount(out, "verified", result.verified);
  appendKey(out, "seconds", result.seconds);
  out += ",\"analysisInputs\":";
  appendTextObject(out, extraInputs(), [&](const ExtraInput& input) { return extraText(base, input); });
  if (result.infeasible) {
    const search::Infeasibility& why = *result.infeasible;
    out += ",\"infeasible\":{\"explanation\":";
    appendJsonString(out, search::explainEnglish(why, options));
    // The same in the window's words, with what would open the space, for a
    // front end that speaks Chinese.
    out += ",\"explanationZh\":";
    appendJsonString(out, search::explainInWords(why, options) + (opening ? search::openingChinese(*opening) : std::string()));
    out += ",\"neverMet\":[";
    bool first = true;
    for (int i = 0; i < kRuleCount; ++i) {
      if (!why.neverMet[static_cast<std::size_t>(i)]) continue;
      out += first ? "" : ",";
      first = false;
      out += std::to_string(i + 1);
    }
    out += "],\"constraintsNeverMet\":[";
    for (std::size_t i = 0; i < why.constraintsNeverMet.size(); ++i) {
      if (i) out += ',';
      appendJsonString(out, why.constraintsNeverMet[i]);
    }
    out += "],\"nearest\":";
    if (why.nearest) appendInputs(out, *why.nearest);
    else out += "null";
    out += ",\"misses\":[";
    for (std::size_t i = 0; i < why.misses.size(); ++i) {
      const search::Miss& m = why.misses[i];
      if (m.rule >= kRuleCount) {  // a further constraint: its name and its miss
        out += i ? ",{\"constraint\":" : "{\"constraint\":";
        appendJsonString(out, options.constraints[static_cast<std::size_t>(m.rule - kRuleCount)].name);
        appendKey(out, "miss", m.outcome.miss);
        out += '}';
        continue;
      }
      out += i ? ",{\"rule\":" : "{\"rule\":";
      out += std::to_string(m.rule + 1);
      appendKey(out, "value", m.outcome.value);
      appendKey(out, "low", m.outcome.low);
      appendKey(out, "high", m.outcome.high);
      appendKey(out, "miss", m.outcome.miss);
      out += '}';
    }
    out += "],\"opening\":";
    if (opening) {
      out += "{\"input\":";
      appendJsonString(out, opening->input);
      out += ",\"unit\":";
      appendJsonString(out, opening->unit);
      out += ",\"from\":";
      appendJsonString(out, opening->from);
      out += ",\"to\":";
      appendJsonString(out, opening->to);
      appendCount(out, "designs", opening->designs);
      out += '}';
    } else {
      out += "null";
    }
    out += '}';
  }
  return out + "}\n";
}

std::string renderDesignCsv(const search::Result& result, const search::Options& options) {
  std::vector<std::string> header;
  for (const NamedInput& input : namedInputs()) header.emplace_back(input.name);
  for (const char* column : {"wearRise", "releaseForceMax", "F1B", "lambda1B"}) header.emplace_back(column);
  for (const search::ExtraObjective& extra : options.extraObjectives) header.push_back(extra.name);
  if (options.finalTest) header.push_back(options.finalTest->name);
  std::string out = csv::line(header);
  for (const search::Design& d : result.designs) {
    std::vector<std::string> row;
    for (const NamedInput& input : namedInputs()) row.push_back(d.inputs.text(input.box));
    std::vector<double> numbers{d.wearRise, d.releaseForceMax, d.F1B, d.lambda1B};
    numbers.insert(numbers.end(), d.extra.begin(), d.extra.end());
    if (options.finalTest) numbers.push_back(d.finalFigure.value_or(NAN));
    for (double x : numbers) {
      std::string number;
      appendJsonDouble(number, x);
      row.push_back(number);
    }
    out += csv::line(row);
  }
  return out;
}

Outcome runDesignCommand(std::span<const std::string_view> args, const ProgressSink& progress,
                         search::GridShare* share) {
  Outcome outcome;
  if (std::find_if(args.begin(), args.end(), [](std::string_view a) { return a == "--help" || a == "-h"; }) != args.end()) {
    outcome.out = usageText();
    return outcome;
  }
  DesignArgs parsed;
  if (std::string error = parseDesignArgs(args, parsed); !error.empty()) {
    outcome.status = kExitUsage;
    outcome.err = "diaspring-cli: design: " + error + "\n";
    return outcome;
  }
  parsed.options.share = share;
  const auto start = std::chrono::steady_clock::now();
  bool shown = false;
  parsed.options.progress = [&](std::size_t done, std::size_t total) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!progress || (seconds < 1.0 && !shown)) return;
    shown = true;
    progress("\rdesign: " + std::to_string(done) + "/" + std::to_string(total) + " grid rows   ");
  };

  search::Result result;
  try {
    result = search::runSearch(parsed.base, parsed.options);
  } catch (const search::SearchError& e) {
    outcome.status = kExitUsage;
    outcome.err = std::string("diaspring-cli: design: ") + e.what() + "\n";
    return outcome;
  }
  if (shown) progress("\n");

  std::optional<search::Opening> opening;
  if (result.infeasible) {
    outcome.status = kExitFault;
    outcome.err = "diaspring-cli: design: " + search::explainEnglish(*result.infeasible, parsed.options);
    // What single change of the clutch data would let designs through.
    parsed.options.progress = nullptr;
    const auto& never = result.infeasible->constraintsNeverMet;
    if (std::find(never.begin(), never.end(), compare::kYieldScreen) != never.end()) {
      // The yield holds the space shut: the least yield that lets designs through.
      opening = compare::openingByYield(parsed.base, parsed.options, parsed.minYield);
    } else {
      opening = search::findOpening(parsed.base, parsed.options);
    }
    outcome.err += opening ? search::openingEnglish(*opening)
                           : "No single change of F, D, d, r0, rf, dLambda or lambda1f by up to 40 % lets a design through.\n";
  }
  if (parsed.json) {
    outcome.out = renderDesignJson(result, parsed.options, parsed.base, opening);
  } else if (!parsed.out.empty()) {
    if (const auto failure = writeFileAtomically(parsed.out, renderDesignCsv(result, parsed.options))) {
      outcome.status = kExitFault;
      outcome.err += "diaspring-cli: design: " + failure->english() + "\n";
    } else {
      outcome.out = summary(result);
    }
  } else {
    for (const search::Design& d : result.designs) outcome.out += designLine(d, parsed.options);
    outcome.out += summary(result);
  }
  return outcome;
}

}  // namespace diaspring::cli
