#include "cli/design_command.h"

#include <algorithm>
#include <cmath>
#include <chrono>

#include "cli/arg_reader.h"
#include "cli/cli_args.h"
#include "cli/json_writer.h"
#include "runtime/utf8_text.h"
#include "compare/production_yield.h"
#include "compare/yield_openings.h"
#include "form/extra_inputs.h"
#include "form/input_boxes.h"
#include "runtime/convert.h"
#include "runtime/file_write.h"
#include "search/grid_memo.h"
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
  compare::ToleranceChoice tolerances;  // --tolerance: the same for every design
};

bool isFree(std::string_view name) {
  for (const char* free : search::kFreeInputs)
    if (name == free) return true;
  return false;
}

std::string parseSet(std::string_view arg, DesignArgs& parsed) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string_view::npos) return "--set " + quoteText(arg) + ": expected NAME=TEXT";
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
  if (!box) return "--set: unknown input " + quoteText(name) + " (see --help for the input names)";
  parsed.base.setText(*box, arg.substr(eq + 1));
  return {};
}

std::string parseRange(std::string_view arg, DesignArgs& parsed) {
  const std::size_t eq = arg.find('=');
  const std::size_t colon = arg.find(':', eq == std::string_view::npos ? 0 : eq);
  if (eq == std::string_view::npos || colon == std::string_view::npos)
    return "--range " + quoteText(arg) + ": expected NAME=LO:HI";
  const std::string_view name = arg.substr(0, eq);
  search::Range* range = search::rangeOf(parsed.options.ranges, name);
  if (!range) return "--range: " + quoteText(name) + " is not free; the free inputs are h, HoverH, R and RoverR";
  const std::string_view low = arg.substr(eq + 1, colon - eq - 1), high = arg.substr(colon + 1);
  if (!isWholeNumber(low) || !isWholeNumber(high))
    return "--range " + std::string(name) + ": " + quoteText(arg.substr(eq + 1)) + " is not LO:HI with two numbers";
  try {
    *range = {val(low).value(), val(high).value()};
  } catch (const Fault&) {
    return "--range " + std::string(name) + ": a number beyond the range of numbers";
  }
  if (!(range->low > 0) || range->low > range->high)
    return "--range " + std::string(name) + ": LO must be above 0 and at most HI";
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
    return "--min-yield takes a share from 0 (no production yield required) up to below 1, e.g. 0.99, not " +
           quoteText(value);
  out = p;
  return {};
}

// --tolerance NAME=MM: ± in mm for h, l0, R or r, the same for every design
// the search examines (a per cent would be of each design's own dimension).
std::string parseDesignTolerance(std::string_view arg, compare::ToleranceChoice& choice) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string_view::npos) return "--tolerance " + quoteText(arg) + ": expected NAME=MM";
  const std::string_view name = arg.substr(0, eq);
  std::string_view value = arg.substr(eq + 1);
  if (value.substr(0, 2) == "\xC2\xB1") value.remove_prefix(2);  // ±
  const std::pair<const char*, double*> targets[] = {
      {"h", &choice.h}, {"l0", &choice.l0}, {"R", &choice.R}, {"r", &choice.r}};
  double* into = nullptr;
  for (const auto& [n, field] : targets)
    if (name == n) into = field;
  if (!into)
    return "--tolerance: " + quoteText(name) + " is not a toleranced dimension of the search; they are h, l0 (the free "
           "height h + H), R and r, in mm";
  double v = NAN;
  try {
    if (isWholeNumber(value)) v = val(value).value();
  } catch (const Fault&) {
  }
  if (!(v >= 0) || !std::isfinite(v))
    return "--tolerance " + std::string(name) + ": " + quoteText(arg.substr(eq + 1)) +
           " is not a tolerance in mm (a number at least 0)";
  *into = v;
  return {};
}

std::string parseDesignArgs(std::span<const std::string_view> args, DesignArgs& parsed) {
  ArgReader reader(args);
  while (!reader.done()) {
    const std::string_view arg = reader.next();
    if (arg == "--json") {
      parsed.json = true;
      continue;
    }
    if (arg == "--no-refine") {
      parsed.options.refine = false;
      continue;
    }
    if (arg == "--set" || arg == "--range" || arg == "--threads" || arg == "--grid" || arg == "-o" ||
        arg == "--output" || arg == "--min-yield" || arg == "--tolerance") {
      const std::optional<std::string_view> given = reader.value();
      if (!given) return std::string(arg) + " needs a value";
      const std::string_view value = *given;
      std::string error;
      if (arg == "--set") error = parseSet(value, parsed);
      else if (arg == "--range") error = parseRange(value, parsed);
      else if (arg == "--threads") error = readWholeIn("--threads", value, 1u, kMaxThreads, parsed.options.threads);
      else if (arg == "--min-yield") error = parseMinYield(value, parsed.minYield);
      else if (arg == "--tolerance") error = parseDesignTolerance(value, parsed.tolerances);
      else if (arg == "--grid") {
        unsigned grid = 0;
        error = readWholeIn("--grid", value, 1u, 10u, grid);
        if (error.empty() && grid != 1 && grid != 2 && grid != 4 && grid != 5 && grid != 10)
          error = "--grid takes 1, 2, 4, 5 or 10, not " + quoteText(value);
        parsed.options.gridDivisions = static_cast<int>(grid);
      } else {
        parsed.out = std::string(value);
      }
      if (!error.empty()) return error;
      continue;
    }
    return "unexpected argument " + quoteText(arg) + "; see --help";
  }
  if (parsed.json && !parsed.out.empty()) return "--json and -o exclude each other";
  if (std::string error = search::addStrengthGoals(parsed.options, parsed.base); !error.empty()) return error;
  return compare::addYieldGoals(parsed.options, parsed.base, parsed.minYield, parsed.tolerances);
}

// A member whose value is an object of texts, one member for each item,
// named by its name.
template <class Items, class TextOf>
void textObject(JsonList& members, std::string_view key, const Items& items, TextOf textOf) {
  members.object(key, [&](JsonList& texts) {
    for (const auto& item : items) texts.text(item.name, textOf(item));
  });
}

void inputsMember(JsonList& members, std::string_view key, const DesignInputs& inputs) {
  textObject(members, key, namedInputs(), [&](const InputBox& input) { return inputs.text(input.box); });
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

namespace {

// The members of "infeasible": why no design passed, the nearest one and
// what would open the space.
void infeasibleMembers(JsonList& members, const search::Infeasibility& why, const search::Options& options,
                       const std::vector<search::Opening>& openings) {
  members.text("explanation", search::explainEnglish(why, options));
  // The same in the window's words, with what would open the space, for a
  // front end that speaks Chinese.
  std::string zh = search::explainInWords(why, options);
  for (const search::Opening& o : openings) zh += search::openingChinese(o);
  members.text("explanationZh", zh);
  members.array("neverMet", [&](JsonList& rules) {
    for (int i = 0; i < kRuleCount; ++i)
      if (why.neverMet[static_cast<std::size_t>(i)]) appendJsonInt(rules.next(), i + 1);
  });
  members.texts("constraintsNeverMet", why.constraintsNeverMet);
  if (why.nearest) inputsMember(members, "nearest", *why.nearest);
  else members.null("nearest");
  members.array("misses", [&](JsonList& misses) {
    for (const search::Miss& m : why.misses)
      misses.nextObject([&](JsonList& miss) {
        if (m.rule >= kRuleCount) {  // a further constraint: its name and its miss
          miss.text("constraint", options.constraints[static_cast<std::size_t>(m.rule - kRuleCount)].name);
        } else {
          miss.count("rule", m.rule + 1);
          miss.numbers({{"value", m.outcome.value}, {"low", m.outcome.low}, {"high", m.outcome.high}});
        }
        miss.number("miss", m.outcome.miss);
      });
  });
  const auto openingMembers = [](const search::Opening& o) {
    return [&o](JsonList& open) {
      open.texts({{"input", o.input}, {"unit", o.unit}, {"from", o.from}, {"to", o.to}});
      open.count("designs", static_cast<std::int64_t>(o.designs));
      open.flag("tolerance", o.tolerance);
    };
  };
  if (openings.empty()) members.null("opening");
  else members.object("opening", openingMembers(openings.front()));
  members.array("openings", [&](JsonList& all) {
    for (const search::Opening& o : openings) all.nextObject(openingMembers(o));
  });
}

}  // namespace

std::string renderDesignJson(const search::Result& result, const search::Options& options, const DesignInputs& base,
                             const std::vector<search::Opening>& openings) {
  return jsonObject([&](JsonList& members) {
           members.array("designs", [&](JsonList& designs) {
             for (const search::Design& d : result.designs)
               designs.nextObject([&](JsonList& design) {
                 inputsMember(design, "inputs", d.inputs);
                 design.numbers({{"wearRise", d.wearRise}, {"releaseForceMax", d.releaseForceMax}, {"F1B", d.F1B},
                                 {"lambda1B", d.lambda1B}});
                 for (std::size_t k = 0; k < d.extra.size() && k < options.extraObjectives.size(); ++k)
                   design.number(options.extraObjectives[k].name, d.extra[k]);
                 if (d.finalFigure && options.finalTest) design.number(options.finalTest->name, *d.finalFigure);
               });
           });
           for (const auto& [name, count] :
                {std::pair{"evaluated", result.evaluated}, std::pair{"solved", result.solved},
                 std::pair{"feasible", result.feasible}, std::pair{"finished", result.finished},
                 std::pair{"verified", result.verified}})
             members.count(name, static_cast<std::int64_t>(count));
           members.number("seconds", result.seconds);
           textObject(members, "analysisInputs", extraInputs(),
                      [&](const ExtraInput& input) { return extraText(base, input); });
           if (result.infeasible)
             members.object("infeasible",
                            [&](JsonList& m) { infeasibleMembers(m, *result.infeasible, options, openings); });
         }) +
         "\n";
}

std::string renderDesignCsv(const search::Result& result, const search::Options& options) {
  std::vector<std::string> header;
  for (const InputBox& input : namedInputs()) header.emplace_back(input.name);
  for (const char* column : {"wearRise", "releaseForceMax", "F1B", "lambda1B"}) header.emplace_back(column);
  for (const search::ExtraObjective& extra : options.extraObjectives) header.push_back(extra.name);
  if (options.finalTest) header.push_back(options.finalTest->name);
  std::string out = csv::line(header);
  for (const search::Design& d : result.designs) {
    std::vector<std::string> row;
    for (const InputBox& input : namedInputs()) row.push_back(d.inputs.text(input.box));
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
                         search::GridShare* share, std::shared_ptr<search::GridMemo> memo) {
  Outcome outcome;
  if (std::find_if(args.begin(), args.end(), [](std::string_view a) { return a == "--help" || a == "-h"; }) != args.end()) {
    outcome.out = usageText();
    return outcome;
  }
  DesignArgs parsed;
  if (std::string error = parseDesignArgs(args, parsed); !error.empty()) return usageError("design: " + error);
  parsed.options.share = share;
  // The run's searches (the design, then the openings) share their grid.
  parsed.options.memo = memo ? std::move(memo) : std::make_shared<search::GridMemo>();
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
    return usageError(std::string("design: ") + e.what());
  }
  if (shown) progress("\n");

  std::vector<search::Opening> openings;
  if (result.infeasible) {
    outcome.status = kExitFault;
    outcome.err = "diaspring-cli: design: " + search::explainEnglish(*result.infeasible, parsed.options);
    // What single change would let designs through.
    parsed.options.progress = nullptr;
    const compare::Openings found = compare::openingsOf(parsed.base, parsed.options, parsed.minYield, *result.infeasible,
                                                             parsed.tolerances);
    openings = found.found;
    if (openings.empty()) outcome.err += found.noneEnglish;
    for (const search::Opening& o : openings) outcome.err += search::openingEnglish(o);
  }
  if (parsed.json) {
    outcome.out = renderDesignJson(result, parsed.options, parsed.base, openings);
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
