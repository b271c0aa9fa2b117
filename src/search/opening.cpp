#include "search/opening.h"

#include <cmath>

#include "form/input_boxes.h"
#include "runtime/convert.h"

namespace diaspring::search {
namespace {

// The inputs tried, in this order (their boxes and units: namedInputs()).
constexpr const char* kCandidates[] = {"r0", "D", "d", "rf", "F", "dLambda", "lambda1f"};
constexpr double kSteps[] = {0.05, 0.1, 0.2, 0.4};

// The number with three significant digits, rounded away from `from`.
double roundedAway(double x, double from) {
  if (!(x != 0) || !std::isfinite(x)) return x;
  const double unit = std::pow(10.0, std::floor(std::log10(std::fabs(x))) - 2);
  return (x > from ? std::ceil(x / unit) : std::floor(x / unit)) * unit;
}

std::string text(double x) { return generalText(Num(std::round(x * 1e6) / 1e6)); }

}  // namespace

std::optional<Opening> findOpening(const DesignInputs& base, const Options& options) {
  Options probe = options;
  probe.refine = false;
  probe.progress = nullptr;
  const auto cancelled = [&] { return options.cancel && options.cancel->load(); };
  const auto opens = [&](TextBox box, double value, bool full) -> std::size_t {
    DesignInputs changed = base;
    changed.setText(box, text(value));
    try {
      return runSearch(changed, full ? options : probe).designs.size();
    } catch (const SearchError&) {
      return 0;
    }
  };
  double previous = 0;
  for (double step : kSteps) {
    for (const char* name : kCandidates) {
      const InputBox& c = *namedInputOf(name);
      double now;
      try {
        now = val(base.text(c.box)).value();
      } catch (const Fault&) {
        continue;
      }
      if (!std::isfinite(now) || now == 0) continue;
      for (int sign : {1, -1}) {
        if (cancelled()) return std::nullopt;
        if (!opens(c.box, now * (1 + sign * step), false)) continue;
        // Between the last step that did not open and this one.
        double closed = now * (1 + sign * previous), open = now * (1 + sign * step);
        for (int i = 0; i < 3 && !cancelled(); ++i) {
          const double mid = 0.5 * (closed + open);
          (opens(c.box, mid, false) ? open : closed) = mid;
        }
        double to = roundedAway(open, now);
        std::size_t designs = opens(c.box, to, true);
        if (!designs && to != open) designs = opens(c.box, to = open, true);
        if (!designs) continue;
        return Opening{c.name, c.name, c.unit, text(now), text(to), designs};
      }
    }
    previous = step;
  }
  return std::nullopt;
}

std::string openingEnglish(const Opening& o) {
  const std::string pass = std::to_string(o.designs) + (o.designs == 1 ? " design passes.\n" : " designs pass.\n");
  if (o.tolerance)
    return "With the tolerance of " + o.input + " +/-" + o.to + " " + o.unit + " instead of +/-" + o.from + " " +
           o.unit + ", " + pass;
  return "With " + o.input + " = " + o.to + " " + o.unit + " instead of " + o.from + " " + o.unit + ", " + pass;
}

std::string openingChinese(const Opening& o) {
  const std::string sign = o.tolerance ? "±" : "";
  return "若把 " + o.inputZh + " 从 " + sign + o.from + " " + o.unit + " 改为 " + sign + o.to + " " + o.unit + "，则有 " +
         std::to_string(o.designs) + " 个设计满足全部要求。\n";
}

}  // namespace diaspring::search
