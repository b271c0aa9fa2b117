#include "cli/disc_command.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "analysis/disc_spring.h"
#include "cli/arg_reader.h"
#include "cli/json_writer.h"
#include "runtime/utf8_text.h"
#include "runtime/convert.h"

namespace diaspring::cli {
namespace {

struct Option {
  std::string_view name;
  double DiscSpring::*member;
};
constexpr std::array<Option, 6> kOptions{{{"--De", &DiscSpring::De},
                                          {"--Di", &DiscSpring::Di},
                                          {"--t", &DiscSpring::t},
                                          {"--h0", &DiscSpring::h0},
                                          {"--E", &DiscSpring::E},
                                          {"--mu", &DiscSpring::mu}}};

Outcome usage(const std::string& message) { return usageError("disc: " + message); }

}  // namespace

Outcome runDiscCommand(std::span<const std::string_view> args) {
  DiscSpring spring{0, 0, 0, 0, 206000, 0.3};
  std::array<bool, 4> given{};  // De, Di, t, h0
  std::optional<double> s;
  bool json = false;
  ArgReader reader(args);
  while (!reader.done()) {
    const std::string_view arg = reader.next();
    if (arg == "--json") {
      json = true;
      continue;
    }
    const auto option = std::find_if(kOptions.begin(), kOptions.end(), [&](const Option& o) { return o.name == arg; });
    if (option == kOptions.end() && arg != "--s")
      return usage("unknown argument " + quoteText(arg) + "; see --help");
    const std::optional<std::string_view> number = reader.value();
    if (!number) return usage(std::string(arg) + " needs a number");
    const std::string_view text = *number;
    if (!isWholeNumber(text)) return usage(std::string(arg) + ": " + quoteText(text) + " is not a number");
    double value = 0;
    try {
      value = val(text).value();
    } catch (const Fault&) {
      return usage(std::string(arg) + ": " + quoteText(text) + " is out of range");
    }
    if (arg == "--s") {
      s = value;
    } else {
      spring.*option->member = value;
      const auto index = static_cast<std::size_t>(option - kOptions.begin());
      if (index < given.size()) given[index] = true;
    }
  }
  for (std::size_t i = 0; i < given.size(); ++i)
    if (!given[i]) return usage(std::string(kOptions[i].name) + " is required");
  if (!s) return usage("--s is required");
  if (const std::string problem = discSpringProblem(spring); !problem.empty()) return usage(problem);

  const DiscState r = discSpringAt(spring, *s);
  const std::pair<const char*, double> values[] = {{"F", r.F},           {"sigmaOM", r.sigmaOM},   {"sigmaI", r.sigmaI},
                                                   {"sigmaII", r.sigmaII}, {"sigmaIII", r.sigmaIII}, {"sigmaIV", r.sigmaIV}};
  for (const auto& [key, value] : values)
    if (!std::isfinite(value)) {
      // The input farthest from 1 in order of magnitude is the one that
      // carried the result beyond a number.
      const std::pair<std::string_view, double> inputs[] = {
          {"--De", spring.De}, {"--Di", spring.Di}, {"--t", spring.t}, {"--h0", spring.h0},
          {"--s", *s},         {"--E", spring.E / 206000}};
      const auto farthest = std::max_element(std::begin(inputs), std::end(inputs), [](const auto& a, const auto& b) {
        const auto size = [](double v) { return v == 0 ? 0 : std::fabs(std::log10(std::fabs(v))); };
        return size(a.second) < size(b.second);
      });
      const double culprit = farthest->first == "--E" ? spring.E : farthest->second;
      return usage(std::string(key) + " is too large for a number (overflow): " + std::string(farthest->first) + " " +
                   generalText(culprit) + " lies far outside a disc spring's range");
    }
  Outcome outcome;
  const std::string warning = discSpringWarning(spring);
  if (!warning.empty()) outcome.err = "diaspring-cli: disc: warning: " + warning + "\n";
  if (json) {
    appendJsonObject(
        outcome.out,
        [&](JsonList& members) {
          for (const auto& [key, value] : values) members.number(key, value);
          if (!warning.empty()) members.text("warning", warning);
        },
        ", ", ": ");
    outcome.out += '\n';
    return outcome;
  }
  outcome.out = "Disc spring De=" + generalText(spring.De) + " Di=" + generalText(spring.Di) + " t=" + generalText(spring.t) +
                " h0=" + generalText(spring.h0) + " mm, E=" + generalText(spring.E) + " MPa, μ=" + generalText(spring.mu) +
                ", at s=" + generalText(*s) + " mm\n";
  outcome.out += "  F     " + format(r.F, "0.0") + " N\n";
  outcome.out += "  σOM   " + format(r.sigmaOM, "0.0") + " MPa\n";
  outcome.out += "  σI    " + format(r.sigmaI, "0.0") + " MPa\n";
  outcome.out += "  σII   " + format(r.sigmaII, "0.0") + " MPa\n";
  outcome.out += "  σIII  " + format(r.sigmaIII, "0.0") + " MPa\n";
  outcome.out += "  σIV   " + format(r.sigmaIV, "0.0") + " MPa\n";
  return outcome;
}

}  // namespace diaspring::cli
