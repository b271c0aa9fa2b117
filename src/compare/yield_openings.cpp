#include "compare/yield_openings.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "runtime/convert.h"
#include "runtime/fault.h"
#include "runtime/float_text.h"

namespace diaspring::compare {

std::optional<search::Opening> openingByYield(const DesignInputs& base, const search::Options& options,
                                              double minYield, const ToleranceChoice& tolerances) {
  for (double lower : {0.01, 0.02, 0.05, 0.1}) {
    if (options.cancel && options.cancel->load()) break;
    const double p = minYield - lower;
    if (!(p > 0)) break;
    search::Options changed = options;
    // The same goals with the lower yield: the last constraint and the final test are the yield's.
    changed.constraints.pop_back();
    changed.finalTest.reset();
    addYieldGoals(changed, base, p, tolerances);
    const search::Result r = search::runSearch(base, changed);
    if (r.designs.empty()) continue;
    const auto pct = [](double x) { return generalText(Num(std::round(x * 1e4) / 1e2)); };
    return search::Opening{"the least production yield", "最低生产合格率", "%", pct(minYield), pct(p), r.designs.size()};
  }
  return std::nullopt;
}

std::optional<search::Opening> openingByTolerance(const DesignInputs& base, const search::Options& options,
                                                  double minYield, const ToleranceChoice& tolerances) {
  // The base design's geometry, for the standard's tolerances it starts from.
  search::Geometry g;
  try {
    const double h = val(base.text(TextBox::Text4)).value(), R = val(base.text(TextBox::Text7)).value();
    g.h = h, g.H = h * val(base.text(TextBox::Text6)).value(), g.R = R, g.r = R / val(base.text(TextBox::Text9)).value();
  } catch (const Fault&) {
    return std::nullopt;
  }
  const Tolerances standard = chosenTolerances(g, tolerances);  // the standard's, or the ones given
  struct Dimension {
    const char* name;
    double ToleranceChoice::*field;
    double from;
  };
  // The clamp load's scatter is the thickness's and the free height's (F1B
  // goes with about h³ near the flat position; R and r add under 1 % of it),
  // so only these two are narrowed: each try is a whole search.
  const Dimension dims[] = {{"h", &ToleranceChoice::h, standard.h}, {"l0", &ToleranceChoice::l0, standard.l0}};
  const auto cancelled = [&] { return options.cancel && options.cancel->load(); };
  const auto designsWith = [&](const Dimension& d, double tolerance, bool full) -> std::size_t {
    search::Options changed = options;
    changed.constraints.pop_back();  // the yield's screen and final test, added again with the tolerance
    changed.finalTest.reset();
    changed.progress = nullptr;
    if (!full) changed.refine = false;
    ToleranceChoice choice = tolerances;
    choice.*d.field = tolerance;
    addYieldGoals(changed, base, minYield, choice);
    try {
      return search::runSearch(base, changed).designs.size();
    } catch (const search::SearchError&) {
      return 0;
    }
  };
  const auto text = [](double x) { return generalText(Num(std::round(x * 1e4) / 1e4)); };
  double previous = 1;
  for (double fraction : {0.75, 0.5}) {
    for (const Dimension& d : dims) {
      if (!(d.from > 0) || cancelled()) continue;
      if (!designsWith(d, d.from * fraction, false)) continue;
      double closed = d.from * previous, open = d.from * fraction;
      for (int i = 0; i < 1 && !cancelled(); ++i) {  // one halving: to within an eighth of the standard's band
        const double mid = 0.5 * (closed + open);
        (designsWith(d, mid, false) ? open : closed) = mid;
      }
      double to = std::floor(open * 100 + 1e-9) / 100;  // down to 0.01 mm: on the opening side
      if (!(to > 0)) to = open;
      std::size_t designs = designsWith(d, to, true);
      if (!designs && to != open) designs = designsWith(d, to = open, true);
      if (!designs) continue;
      search::Opening o{d.name, std::string(d.name) + " 的公差", "mm", text(d.from), text(to), designs};
      o.tolerance = true;
      return o;
    }
    previous = fraction;
  }
  return std::nullopt;
}

std::vector<search::Opening> openingsByYield(const DesignInputs& base, const search::Options& options,
                                             double minYield, const ToleranceChoice& tolerances) {
  std::vector<search::Opening> out;
  if (auto o = openingByYield(base, options, minYield, tolerances)) out.push_back(*o);
  if (auto o = openingByTolerance(base, options, minYield, tolerances)) out.push_back(*o);
  return out;
}

Openings openingsOf(const DesignInputs& base, const search::Options& options, double minYield,
                    const search::Infeasibility& why, const ToleranceChoice& tolerances) {
  Openings o;
  // A lower yield or a narrower tolerance cannot mend another goal no design meets.
  const auto& never = why.constraintsNeverMet;
  const bool byYield = !never.empty() && std::all_of(never.begin(), never.end(),
                                                     [](const std::string& goal) { return goal == kYieldScreen; });
  if (byYield) o.found = openingsByYield(base, options, minYield, tolerances);
  if (o.found.empty())
    if (const auto opening = search::findOpening(base, options)) o.found.push_back(*opening);
  if (!o.found.empty()) return o;
  const char* const clutchEn = "no single change of F, D, d, r0, rf, dLambda or lambda1f by up to 40 %";
  const char* const clutchZh = "离合器数据 F、D、d、r0、rf、Δλ、λ1f 中任何一项单独改变 40 % 以内";
  if (byYield) {
    o.noneEnglish = std::string("Neither a least yield lowered by up to 10 percentage points, nor a single tolerance of h "
                                "or l0 narrowed to half the standard's, nor ") + clutchEn + " lets a design through.\n";
    o.noneChinese = std::string("最低生产合格率降低 10 个百分点以内、h 或 l0 的公差单独收窄到标准值的一半、") + clutchZh +
                    "，都不能得到设计。\n";
  } else {
    o.noneEnglish = std::string("No") + (clutchEn + 2) + " lets a design through.\n";
    o.noneChinese = std::string(clutchZh) + "都不能得到设计。\n";
  }
  return o;
}

}  // namespace diaspring::compare
