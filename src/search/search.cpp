#include "search/search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "chart/display_list.h"
#include "form/named_inputs.h"
#include "runtime/convert.h"
#include "runtime/thread_group.h"
#include "window/window_logic.h"

namespace diaspring::search {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr int kMaxHDecimals = 6;
constexpr std::size_t kMaxGridPoints = 50'000'000;
constexpr long long kRefine = 4;  // the finer grid around the front: steps per coarse step
constexpr int kMaxRefineRounds = 12;
constexpr double kNearFront = 0.01;  // relative: how far behind the front a point may be and still be finished

// One free input's grid: the values k * stride / 10^decimals for k from
// first to last, each with the text a user would type for it.
struct Axis {
  int decimals = 0;
  long long stride = 1;
  long long first = 0, last = -1;
  std::size_t size() const { return last < first ? 0 : static_cast<std::size_t>(last - first + 1); }
  std::string text(std::size_t i) const { return textOf(first + static_cast<long long>(i)); }
  std::string textOf(long long k) const { return decimalText(k * stride, decimals); }
  // The grid index nearest to `value`.
  long long indexOf(double value) const {
    return std::llround(value * std::pow(10.0, decimals) / static_cast<double>(stride));
  }
};

constexpr const char* kGridTooLarge =
    "the grid holds more than 50 million designs: narrow the ranges or use a coarser grid";

Axis makeAxis(const char* name, Range range, int sliderDecimals, int divisions) {
  if (!(std::isfinite(range.low) && std::isfinite(range.high)) || !(range.low > 0) || range.low > range.high)
    throw SearchError(std::string("the range of ") + name + " must be positive with its low end at most its high end");
  Axis axis;
  int extra = 0;
  long long power = 1;
  while (power % divisions != 0) {
    power *= 10;
    ++extra;
  }
  axis.decimals = sliderDecimals + extra;
  axis.stride = power / divisions;
  const double unit = std::pow(10.0, axis.decimals) / static_cast<double>(axis.stride);
  // Counted as a double first: the indices of a wide range would not fit
  // a whole number, nor the grid's size a size_t.
  const auto most = static_cast<double>(kMaxGridPoints);
  if (range.high * unit > most * 1e6 || (range.high - range.low) * unit + 1 > most)
    throw SearchError(kGridTooLarge);
  axis.first = static_cast<long long>(std::ceil(range.low * unit - 1e-6));
  axis.last = static_cast<long long>(std::floor(range.high * unit + 1e-6));
  if (axis.size() == 0)
    throw SearchError(std::string("the range of ") + name + " holds no value in its steps of " +
                      decimalText(axis.stride, axis.decimals));
  return axis;
}

double readFixed(const DesignInputs& base, TextBox box) {
  try {
    return val(base.text(box)).value();
  } catch (const Fault&) {
    throw SearchError("the text of " + std::string(inputBoxKey(box)) + " ('" + base.text(box) +
                      "') is beyond the range of numbers");
  }
}

ClutchData readClutch(const DesignInputs& base) {
  ClutchData c;
  c.E = readFixed(base, TextBox::Text31);
  c.mu = readFixed(base, TextBox::Text32);
  c.F = readFixed(base, TextBox::Text33);
  c.D = readFixed(base, TextBox::Text34);
  c.d = readFixed(base, TextBox::Text35);
  c.r0 = readFixed(base, TextBox::Text36);
  c.rf = readFixed(base, TextBox::Text37);
  c.dLambda = readFixed(base, TextBox::Text10);
  c.lambda1f = readFixed(base, TextBox::Text11);
  return c;
}

double totalMiss(const RuleOutcomes& rules) {
  double total = 0;
  for (const RuleOutcome& r : rules)
    if (!r.passed) total += r.miss / r.scale;
  return std::isnan(total) ? kInf : total;
}

bool allPass(const RuleOutcomes& rules) {
  return std::all_of(rules.begin(), rules.end(), [](const RuleOutcome& r) { return r.passed; });
}

// One design of the grid evaluated at some h.
struct Evaluation {
  Geometry g;
  std::optional<WorkingPoints> points;
  RuleOutcomes rules{};
};

// A grid point that passes every rule at its solved h, ranked by the
// objectives at that h before h is given its text.
// A design that passes the twelve rules but misses further constraints:
// by how much each, and the sum of the misses.
struct ConstraintMiss {
  DesignInputs inputs;
  std::vector<Miss> misses;
  double total = 0;
};

struct Tentative {
  std::string HoverH, R, RoverR;  // the grid point's texts
  double h = 0;
  Objectives objectives;
  std::vector<double> extra;          // the further objectives at the solved h
  std::vector<double> constraintMiss;  // each further constraint's miss at the solved h, 0 when met
  double relativeMiss = 0;             // the largest of those, over its constraint's scale

  std::vector<double> vector() const {
    std::vector<double> v{objectives.wearRise, objectives.releaseForceMax};
    v.insert(v.end(), extra.begin(), extra.end());
    return v;
  }
};

// What one row of the grid (one R and R/r, every H/h) found.
struct RowResult {
  std::vector<Tentative> feasible;
  std::array<bool, kRuleCount> met{};
  // The row's design that comes nearest to passing (for the explanation
  // when none passes): its free inputs' texts and its rules.
  struct Nearest {
    double miss = kInf;
    std::array<std::string, 4> texts;  // h, H/h, R, R/r
    RuleOutcomes rules{};
  };
  std::unique_ptr<Nearest> nearest;
  std::size_t evaluated = 0, solved = 0;
};

class Searcher {
 public:
  Searcher(const DesignInputs& base, const Options& options)
      : base_(base), options_(options), clutch_(readClutch(base)) {
    const int div = options.gridDivisions;
    if (div != 1 && div != 2 && div != 4 && div != 5 && div != 10)
      throw SearchError("the grid is divided by 1, 2, 4, 5 or 10, not " + std::to_string(div));
    const Range h = options.ranges.h;
    if (!(std::isfinite(h.low) && std::isfinite(h.high)) || !(h.low > 0) || h.low > h.high)
      throw SearchError("the range of h must be positive with its low end at most its high end");
    hoverh_ = makeAxis("HoverH", options.ranges.HoverH, 2, div);
    R_ = makeAxis("R", options.ranges.R, 1, div);
    RoverR_ = makeAxis("RoverR", options.ranges.RoverR, 2, div);
    fineHoverh_ = makeAxis("HoverH", options.ranges.HoverH, 2, div * kRefine);
    fineR_ = makeAxis("R", options.ranges.R, 1, div * kRefine);
    fineRoverR_ = makeAxis("RoverR", options.ranges.RoverR, 2, div * kRefine);
    if (static_cast<double>(hoverh_.size()) * static_cast<double>(R_.size()) * static_cast<double>(RoverR_.size()) >
        static_cast<double>(kMaxGridPoints))
      throw SearchError(kGridTooLarge);
  }

  std::size_t rows() const { return R_.size() * RoverR_.size(); }
  std::size_t columns() const { return hoverh_.size(); }

  // Whether the rules that h and H/h do not touch (5, 7 to 12) pass for a
  // row: only such rows can hold a feasible design.
  bool rowCanPass(std::size_t row) const {
    const RuleOutcomes fixed = fixedRules(row);
    return std::all_of(kFixedRules.begin(), kFixedRules.end(),
                       [&](int i) { return fixed[static_cast<std::size_t>(i)].passed; });
  }

  RowResult runRow(std::size_t row) const {
    RowResult out;
    const std::string RText = R_.text(row / RoverR_.size());
    const std::string RoverRText = RoverR_.text(row % RoverR_.size());
    const double r = capturedInnerRadius(val(RText).value(), val(RoverRText).value());
    const RuleOutcomes fixed = fixedRules(row);
    for (int i : kFixedRules) out.met[static_cast<std::size_t>(i)] = fixed[static_cast<std::size_t>(i)].passed;
    for (std::size_t i = 0; i < hoverh_.size(); ++i) runPoint(hoverh_.text(i), RText, RoverRText, r, out);
    out.evaluated = out.solved = hoverh_.size();
    return out;
  }

  // The points of the grid kRefine times finer within one step of the
  // coarse grid around each seed, the coarse grid's own points left out,
  // in a fixed order; as (H/h, R, R/r) texts.
  std::vector<std::array<std::string, 3>> neighbourhood(const std::vector<const Tentative*>& seeds,
                                                        std::set<std::array<long long, 3>>& visited) const {
    const Axis* fine[3] = {&fineHoverh_, &fineR_, &fineRoverR_};
    std::set<std::array<long long, 3>> fresh;
    for (const Tentative* seed : seeds) {
      const double values[3] = {val(seed->HoverH).value(), val(seed->R).value(), val(seed->RoverR).value()};
      std::array<long long, 3> centre{};
      for (int a = 0; a < 3; ++a) centre[static_cast<std::size_t>(a)] = fine[a]->indexOf(values[a]);
      for (long long i = -kRefine; i <= kRefine; ++i)
        for (long long j = -kRefine; j <= kRefine; ++j)
          for (long long k = -kRefine; k <= kRefine; ++k) {
            const std::array<long long, 3> p{centre[0] + i, centre[1] + j, centre[2] + k};
            bool inside = true;
            for (std::size_t a = 0; a < 3; ++a) inside = inside && p[a] >= fine[a]->first && p[a] <= fine[a]->last;
            if (inside && !isCoarsePoint(p) && visited.insert(p).second) fresh.insert(p);
          }
    }
    std::vector<std::array<std::string, 3>> points;
    for (const auto& p : fresh) points.push_back({fineHoverh_.textOf(p[0]), fineR_.textOf(p[1]), fineRoverR_.textOf(p[2])});
    return points;
  }

  // One point of the finer grid, as a row of its own.
  RowResult runFinePoint(const std::array<std::string, 3>& texts) const {
    RowResult out;
    ++out.evaluated;
    const double r = capturedInnerRadius(val(texts[1]).value(), val(texts[2]).value());
    const RuleOutcomes fixed = checkRules({1, 1, val(texts[1]).value(), r, val(texts[1]).value() - 2, r + 2}, clutch_,
                                          WorkingPoints{});
    if (!std::all_of(kFixedRules.begin(), kFixedRules.end(), [&](int i) { return fixed[static_cast<std::size_t>(i)].passed; }))
      return out;
    ++out.solved;
    runPoint(texts[0], texts[1], texts[2], r, out, false);
    return out;
  }

  // The design of a tentative point with h's text: the fewest decimals
  // (1 ... 6) whose design passes all rules, the nearest value first. None
  // when no such text exists or a further constraint is not met; `met`
  // records which further constraints the design met, `missed` the design
  // and its misses when it passes the rules but not the constraints.
  std::optional<Design> finish(const Tentative& t, std::vector<bool>& constraintsMet,
                               std::optional<ConstraintMiss>& missed) const {
    const std::string& HoverHText = t.HoverH;
    const std::string& RText = t.R;
    const std::string& RoverRText = t.RoverR;
    const Range hRange = options_.ranges.h;
    for (int decimals = 1; decimals <= kMaxHDecimals; ++decimals) {
      const double unit = std::pow(10.0, decimals);
      const long long below = static_cast<long long>(std::floor(t.h * unit));
      const long long nearest = (t.h * unit - static_cast<double>(below)) < 0.5 ? below : below + 1;
      for (long long k : {nearest, nearest == below ? below + 1 : below}) {
        const std::string hText = decimalText(k, decimals);
        const double hValue = val(hText).value();
        if (hValue < hRange.low || hValue > hRange.high) continue;
        const Geometry g = captureGeometry(hText, HoverHText, RText, RoverRText);
        const LoadLaw law(g, clutch_.E, clutch_.mu);
        const auto points = findWorkingPoints(law, clutch_.dLambda, clutch_.lambda1f);
        if (!points || !allPass(checkRules(g, clutch_, *points))) continue;

        Design design;
        design.inputs = base_;
        design.inputs.setText(TextBox::Text4, hText);
        design.inputs.setText(TextBox::Text6, HoverHText);
        design.inputs.setText(TextBox::Text7, RText);
        design.inputs.setText(TextBox::Text9, RoverRText);
        const DesignView view{design.inputs, g, *points, clutch_};
        ConstraintMiss misses{design.inputs, {}, 0};
        for (std::size_t i = 0; i < options_.constraints.size(); ++i) {
          const std::optional<double> miss = options_.constraints[i].miss(view);
          constraintsMet[i] = constraintsMet[i] || !miss;
          if (!miss) continue;
          RuleOutcome outcome;
          outcome.miss = *miss;
          misses.misses.push_back({kRuleCount + static_cast<int>(i), outcome});
          misses.total += *miss;
        }
        if (!misses.misses.empty()) {
          missed = std::move(misses);
          return std::nullopt;
        }
        const Objectives o = objectives(law, g, clutch_, *points);
        design.wearRise = o.wearRise;
        design.releaseForceMax = o.releaseForceMax;
        design.F1B = points->F1B;
        design.lambda1B = points->lambda1B;
        for (const ExtraObjective& extra : options_.extraObjectives) design.extra.push_back(extra.value(view));
        return design;
      }
    }
    return std::nullopt;
  }

  const Options& options() const { return options_; }
  const ClutchData& clutch() const { return clutch_; }

 private:
  static constexpr std::array<int, 7> kFixedRules{4, 6, 7, 8, 9, 10, 11};

  RuleOutcomes fixedRules(std::size_t row) const {
    const double R = val(R_.text(row / RoverR_.size())).value();
    const double r = capturedInnerRadius(R, val(RoverR_.text(row % RoverR_.size())).value());
    return checkRules({1, 1, R, r, R - 2, r + 2}, clutch_, WorkingPoints{});
  }

  Evaluation evaluate(double h, double H, double R, double r) const {
    Evaluation e;
    e.g = {h, H, R, r, R - 2, r + 2};
    const LoadLaw law(e.g, clutch_.E, clutch_.mu);
    e.points = findWorkingPoints(law, clutch_.dLambda, clutch_.lambda1f);
    return e;
  }

  // h with F1B(h) = F and the design at that h: the law scales as h^4 at
  // a fixed H/h, so each step multiplies h by the fourth root of the load's
  // shortfall. None when a design on the way has no peak and valley.
  std::optional<Evaluation> solveH(double c, double R, double r) const {
    double h = 0.5 * (options_.ranges.h.low + options_.ranges.h.high);
    Evaluation e;
    for (int step = 0; step < 12; ++step) {
      e = evaluate(h, h * c, R, r);
      if (!e.points || !(e.points->F1B > 0)) return std::nullopt;
      const double F1B = e.points->F1B;
      if (std::fabs(F1B - clutch_.F) < 0.2) break;
      const double next = h * std::pow(clutch_.F / F1B, 0.25);
      if (!std::isfinite(next) || next <= 0) return std::nullopt;
      h = std::clamp(next, 0.25 * options_.ranges.h.low, 4 * options_.ranges.h.high);
    }
    return e;
  }

  void runPoint(const std::string& HoverHText, const std::string& RText, const std::string& RoverRText, double r,
                RowResult& out, bool trackNearest = true) const {
    const double c = val(HoverHText).value();
    const double R = val(RText).value();
    const Range hRange = options_.ranges.h;
    std::optional<Evaluation> solved = solveH(c, R, r);
    if (!solved) return;  // no peak and valley: the window finds no working point
    const double h = solved->g.h;
    const double hClamped = std::clamp(h, hRange.low, hRange.high);
    Evaluation e = hClamped == h ? *solved : evaluate(hClamped, hClamped * c, R, r);
    if (!e.points) return;
    e.rules = checkRules(e.g, clutch_, *e.points);

    // Every rule passes at the solved h: the design is feasible once h has
    // a text that keeps them all (nearly always; else it is left out).
    if (allPass(e.rules)) {
      out.met.fill(true);
      const LoadLaw law(e.g, clutch_.E, clutch_.mu);
      Tentative t{HoverHText, RText, RoverRText, h, objectives(law, e.g, clutch_, *e.points), {}, {}, 0};
      furtherGoals(t, e);
      out.feasible.push_back(std::move(t));
      return;
    }
    for (std::size_t i = 0; i < kRuleCount; ++i) out.met[i] = out.met[i] || e.rules[i].passed;
    if (!trackNearest) return;
    const double miss = totalMiss(e.rules);
    if (!out.nearest) out.nearest = std::make_unique<RowResult::Nearest>();
    if (miss < out.nearest->miss) {
      out.nearest->miss = miss;
      out.nearest->rules = e.rules;
      out.nearest->texts = {decimalText(std::llround(hClamped * 1e4), 4), HoverHText, RText, RoverRText};
    }
  }

  // The further objectives and constraints of a point at its solved h.
  void furtherGoals(Tentative& t, const Evaluation& e) const {
    if (options_.extraObjectives.empty() && options_.constraints.empty()) return;
    DesignInputs inputs = base_;
    inputs.setText(TextBox::Text4, decimalText(std::llround(t.h * 1e6), 6));
    inputs.setText(TextBox::Text6, t.HoverH);
    inputs.setText(TextBox::Text7, t.R);
    inputs.setText(TextBox::Text9, t.RoverR);
    const DesignView view{inputs, e.g, *e.points, clutch_};
    for (const ExtraObjective& extra : options_.extraObjectives) t.extra.push_back(extra.value(view));
    for (const ExtraConstraint& constraint : options_.constraints) {
      const double miss = constraint.miss(view).value_or(0);
      t.constraintMiss.push_back(miss);
      t.relativeMiss = std::max(t.relativeMiss, std::isnan(miss) ? kInf : miss / constraint.scale);
    }
  }

  const DesignInputs& base_;
  const Options& options_;
  ClutchData clutch_;
  // Whether a point of the finer grid is one of the coarse grid: both grids
  // count from zero, the finer kRefine steps to each of the coarser.
  bool isCoarsePoint(const std::array<long long, 3>& p) const {
    const Axis* coarse[3] = {&hoverh_, &R_, &RoverR_};
    for (std::size_t a = 0; a < 3; ++a)
      if (p[a] % kRefine != 0 || p[a] / kRefine < coarse[a]->first || p[a] / kRefine > coarse[a]->last) return false;
    return true;
  }

  Axis hoverh_, R_, RoverR_;
  Axis fineHoverh_, fineR_, fineRoverR_;
};

// Runs job(i) for i in [0, count) on `threads` threads; the results land
// by index, so they do not depend on the number of threads. Reports
// progress from the calling thread; stops taking new jobs once cancelled.
template <class Job>
bool runParallel(std::size_t count, unsigned threads, const Options& options, Job&& job) {
  std::atomic<std::size_t> next{0}, done{0};
  std::mutex mutex;
  std::condition_variable finished;
  const auto cancelled = [&] { return options.cancel && options.cancel->load(); };
  const auto work = [&] {
    for (std::size_t i = next++; i < count && !cancelled(); i = next++) {
      job(i);
      if (++done == count) {
        std::lock_guard lock(mutex);
        finished.notify_all();
      }
#if !DIASPRING_HAS_THREADS
      // No thread is left to report while this one works: it reports itself.
      if (options.progress) options.progress(done.load(), count);
#endif
    }
    std::lock_guard lock(mutex);
    finished.notify_all();
  };
  threads = static_cast<unsigned>(std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(count, 1)));
  ThreadGroup pool;
  pool.start(threads, work);
  {
    std::unique_lock lock(mutex);
    while (!finished.wait_for(lock, std::chrono::milliseconds(100),
                              [&] { return done.load() == count || cancelled(); })) {
      if (options.progress) options.progress(done.load(), count);
      if (cancelled()) break;
    }
  }
  pool.join();
  if (options.progress) options.progress(done.load(), count);
  return !cancelled() || done.load() == count;
}

std::vector<double> objectiveVector(const Design& d) {
  std::vector<double> v{d.wearRise, d.releaseForceMax};
  v.insert(v.end(), d.extra.begin(), d.extra.end());
  return v;
}

std::string ruleName(int rule, const Options& options) {
  if (rule < kRuleCount) return "rule " + std::to_string(rule + 1) + " (" + ruleInfo(rule).key + ")";
  return options.constraints[static_cast<std::size_t>(rule - kRuleCount)].name;
}

std::string number(double x) { return generalText(Num(std::round(x * 1e4) / 1e4)); }

// The unit of each rule's quantity, after its number ("" for a ratio).
constexpr const char* kRuleUnits[kRuleCount] = {" N", " N", "", "°", "", "", "", " mm", " mm", " mm", " mm", ""};

std::string missLine(const Miss& m, const Options& options, bool chinese) {
  const RuleOutcome& o = m.outcome;
  const std::string unit = m.rule < kRuleCount ? kRuleUnits[m.rule] : "";
  std::string line = chinese && m.rule < kRuleCount ? "  条件 " + std::to_string(m.rule + 1) : "  " + ruleName(m.rule, options);
  if (m.rule == 1) {
    line += chinese ? "：F1A − F1B = " + number(o.value) + " N，应大于 0" : ": F1A - F1B = " + number(o.value) + " N, must be above 0";
  } else if (m.rule < kRuleCount) {
    const std::string range = m.rule == 0 ? "below 1" + unit : number(o.low) + " ... " + number(o.high) + unit;
    if (chinese)
      line += "：" + number(o.value) + unit + "，应在 " +
              (m.rule == 0 ? "1" + unit + " 以下" : number(o.low) + " … " + number(o.high) + unit) +
              (o.low > o.high ? "（空区间）" : "") + "，差 " + number(o.miss) + unit;
    else
      line += ": " + number(o.value) + unit + ", needs " + range + (o.low > o.high ? " (an empty range)" : "") +
              ", misses by " + number(o.miss) + unit;
  } else {
    const ExtraConstraint& c = options.constraints[static_cast<std::size_t>(m.rule - kRuleCount)];
    const std::string miss = c.percent ? generalText(Num(std::round(o.miss * 1e4) / 1e2)) + (chinese ? " 个百分点" : " percentage points")
                                       : number(o.miss) + (c.unit.empty() ? "" : " " + c.unit);
    line += chinese ? "：差 " + miss : ": misses by " + miss;
  }
  return line + "\n";
}

std::string explain(const Infeasibility& why, const Options& options, bool chinese) {
  std::string text = chinese ? "在给定范围内没有一个设计能满足全部约束条件。\n"
                             : "No design in the ranges passes all twelve rules" +
                                   std::string(options.constraints.empty() ? "" : " and the further constraints") + ".\n";
  std::string never;
  for (int i = 0; i < kRuleCount; ++i)
    if (why.neverMet[static_cast<std::size_t>(i)])
      never += (never.empty() ? "" : ", ") + (chinese ? std::to_string(i + 1) : ruleName(i, options));
  for (const std::string& c : why.constraintsNeverMet) never += (never.empty() ? "" : ", ") + c;
  if (!never.empty()) text += (chinese ? "没有任何设计满足的条件：" : "Met by no design: ") + never + "\n";
  if (why.nearest) {
    const DesignInputs& n = *why.nearest;
    const std::string shown = "h=" + n.text(TextBox::Text4) + " H/h=" + n.text(TextBox::Text6) +
                              " R=" + n.text(TextBox::Text7) + " R/r=" + n.text(TextBox::Text9);
    text += chinese ? "最接近的设计 " + shown + " 不满足：\n"
                    : "The nearest design, " + shown + ", misses these together:\n";
    for (const Miss& m : why.misses) text += missLine(m, options, chinese);
  } else if (why.constraintsNeverMet.empty()) {
    text += chinese ? "范围内的设计都没有峰值点和谷值点。\n"
                    : "No design in the ranges has a peak and a valley on its curve.\n";
  }
  return text;
}

}  // namespace

SpringDesign springDesignOf(const DesignView& view) {
  SpringDesign d;
  const Geometry& g = view.geometry;
  const WorkingPoints& p = view.points;
  d.R = g.R;
  d.r = g.r;
  d.R1 = g.R1;
  d.r1 = g.r1;
  d.H = g.H;
  d.h = g.h;
  d.E = view.clutch.E;
  d.mu = view.clutch.mu;
  d.lambda1M = p.lambda1M;
  d.lambda1H = p.lambda1H;
  d.lambda1B = p.lambda1B;
  d.lambda1A = p.lambda1A;
  d.lambda1C = p.lambda1C;
  d.hInput = g.h;
  d.HoverH = val(view.inputs.text(TextBox::Text6));
  d.RInput = g.R;
  d.RoverR = val(view.inputs.text(TextBox::Text9));
  return d;
}

Range* rangeOf(Ranges& ranges, std::string_view name) {
  if (name == "h") return &ranges.h;
  if (name == "HoverH") return &ranges.HoverH;
  if (name == "R") return &ranges.R;
  if (name == "RoverR") return &ranges.RoverR;
  return nullptr;
}

WindowVerdict checkInWindow(const DesignInputs& inputs) {
  WindowVerdict verdict;
  MemoryFields fields;
  DisplayList chart;
  WindowLogic window(fields, chart);
  inputs.typeInto(fields);
  verdict.fault = window.press(Command::Command1);
  if (!verdict.fault) {
    try {
      window.command3Click(&verdict.rules);
    } catch (const Fault& f) {
      verdict.fault = f;
    }
  }
  verdict.F1B = fields.text(TextBox::Text18);
  verdict.passed = !verdict.fault;
  for (int i = 0; i < kRuleCount; ++i) {
    const RuleResult& r = verdict.rules[static_cast<std::size_t>(i)];
    const std::string shown = fields.text(ruleInfo(i).box);
    verdict.passed = verdict.passed && r.evaluated && r.passed && shown.find(kPassed) != std::string::npos &&
                     shown.find(kFailed) == std::string::npos;
  }
  return verdict;
}

std::vector<std::size_t> paretoFront(const std::vector<std::vector<double>>& objectives) {
  std::vector<std::size_t> order(objectives.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return objectives[a] < objectives[b]; });
  const auto dominates = [](const std::vector<double>& a, const std::vector<double>& b) {
    bool strictly = false;
    for (std::size_t k = 0; k < a.size(); ++k) {
      if (a[k] > b[k]) return false;
      strictly = strictly || a[k] < b[k];
    }
    return strictly;
  };
  std::vector<std::size_t> front;
  for (std::size_t i : order) {
    // Sorted lexicographically, a vector is dominated only by one before it,
    // and then by a member of the front.
    const bool dominated = std::any_of(front.begin(), front.end(),
                                       [&](std::size_t f) { return dominates(objectives[f], objectives[i]); });
    if (!dominated) front.push_back(i);
  }
  return front;
}

// Drops the feasible points the search cannot use, keeping their order:
// a point that misses the further constraints by more than kNearFront is
// never given a text, and serves only to explain a search in which no
// design meets them (the least-missing ones, kKeepMissing of them, are
// kept for that); a point that a point meeting every constraint beats by
// more than kKeepBehind (= kNearFront) on every objective is one the
// finishing leaves out too, and would be taken up only if every such better
// point were dropped there (found without a text, or refused by the
// window), which the finishing's rounds have not met; it is let go.
// The front itself, and every point near it, stays. What is kept does not
// depend on the order in which the points come.
namespace {

constexpr double kKeepBehind = kNearFront;
constexpr std::size_t kKeepMissing = 256;

void keepUsable(std::vector<Tentative>& points) {
  std::vector<std::vector<double>> meeting;
  for (const Tentative& t : points)
    if (t.relativeMiss <= 0) meeting.push_back(t.vector());
  std::vector<const std::vector<double>*> front;
  for (std::size_t f : paretoFront(meeting)) front.push_back(&meeting[f]);

  std::vector<std::pair<double, std::size_t>> missing;
  for (std::size_t i = 0; i < points.size(); ++i)
    if (points[i].relativeMiss > kNearFront) missing.emplace_back(points[i].relativeMiss, i);
  std::vector<bool> keep(points.size(), false);
  if (missing.size() > kKeepMissing) {
    std::nth_element(missing.begin(), missing.begin() + static_cast<std::ptrdiff_t>(kKeepMissing), missing.end());
    missing.resize(kKeepMissing);
  }
  for (const auto& m : missing) keep[m.second] = true;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (points[i].relativeMiss > kNearFront) continue;
    const std::vector<double> v = points[i].vector();
    keep[i] = std::none_of(front.begin(), front.end(), [&](const std::vector<double>* f) {
      for (std::size_t k = 0; k < v.size(); ++k)
        if (!((*f)[k] + kKeepBehind * std::fabs((*f)[k]) < v[k])) return false;
      return true;
    });
  }
  std::size_t to = 0;
  for (std::size_t i = 0; i < points.size(); ++i)
    if (keep[i]) {
      if (to != i) points[to] = std::move(points[i]);
      ++to;
    }
  points.resize(to);
  points.shrink_to_fit();
}

}  // namespace

Result runSearch(const DesignInputs& base, const Options& options) {
  const auto start = std::chrono::steady_clock::now();
  const Searcher searcher(base, options);
  const unsigned threads = options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());

  // First the rows whose fixed rules pass: the only ones that can hold a
  // feasible design. The others only when these hold none, to find the
  // nearest design; a row it skips counts as examined, none of it solved.
  const std::size_t rowCount = searcher.rows();
  std::vector<std::size_t> promising, others;
  for (std::size_t i = 0; i < rowCount; ++i) (searcher.rowCanPass(i) ? promising : others).push_back(i);
  Result result;
  // What the rows found beside their feasible points, taken in part by
  // part: the rules some design met, and the row whose nearest design
  // misses by the least (the first such row).
  Infeasibility why;
  why.neverMet.fill(true);
  RowResult::Nearest nearestOfRows;
  std::size_t nearestRowIndex = rowCount;
  const auto takeRow = [&](RowResult& row, std::size_t index) {
    result.evaluated += row.evaluated;
    result.solved += row.solved;
    for (std::size_t i = 0; i < kRuleCount; ++i) why.neverMet[i] = why.neverMet[i] && !row.met[i];
    if (row.nearest && (row.nearest->miss < nearestOfRows.miss ||
                        (row.nearest->miss == nearestOfRows.miss && nearestOfRows.miss < kInf && index < nearestRowIndex))) {
      nearestOfRows = std::move(*row.nearest);
      nearestRowIndex = index;
    }
    row = {};
  };
  // The feasible points, in the order of their rows; with pruning, only
  // those the search can still use (see keepUsable), so memory follows the
  // front and not the grid.
  std::vector<Tentative> tentative;
  std::size_t feasibleSeen = 0, keptAfterPruning = 0;
  std::vector<bool> constraintMetAtSolvedH(options.constraints.size(), false);
  const auto absorb = [&](RowResult& row) {
    feasibleSeen += row.feasible.size();
    for (Tentative& t : row.feasible) {
      for (std::size_t c = 0; c < t.constraintMiss.size() && c < constraintMetAtSolvedH.size(); ++c)
        if (t.constraintMiss[c] <= 0) constraintMetAtSolvedH[c] = true;
      tentative.push_back(std::move(t));
    }
    row.feasible = {};
  };
  const auto runRows = [&](const std::vector<std::size_t>& which, std::size_t offset) {
    // In parts, each part's points taken in before the next runs.
    constexpr std::size_t kPart = 2048;
    for (std::size_t from = 0; from < which.size(); from += kPart) {
      const std::size_t count = std::min(kPart, which.size() - from);
      Options shown;
      shown.cancel = options.cancel;
      if (options.progress)
        shown.progress = [&](std::size_t done, std::size_t) { options.progress(offset + from + done, rowCount); };
      std::vector<RowResult> part(count);
      const bool complete = runParallel(count, threads, shown, [&](std::size_t i) {
        part[i] = searcher.runRow(which[from + i]);
      });
      for (std::size_t i = 0; i < count; ++i) {
        absorb(part[i]);
        takeRow(part[i], which[from + i]);
      }
      // Whenever the points have doubled since: linear time in all.
      if (options.prune && tentative.size() >= 2 * keptAfterPruning + 4096) {
        keepUsable(tentative);
        keptAfterPruning = tentative.size();
      }
      if (!complete) return false;
    }
    return true;
  };
  result.cancelled = !runRows(promising, 0);
  if (options.prune) keepUsable(tentative);
  const bool anyFeasible = feasibleSeen > 0;
  if (!result.cancelled && !anyFeasible) result.cancelled = !runRows(others, promising.size());
  if (options.progress && !result.cancelled) options.progress(rowCount, rowCount);
  const std::size_t skippedPoints = anyFeasible ? others.size() * searcher.columns() : 0;

  result.evaluated += skippedPoints;
  Options quietOptions;
  quietOptions.cancel = options.cancel;

  // Around the front, a grid kRefine times finer: the front's points are
  // where rules meet their bounds, and a step between two points of the
  // coarse grid may hold a better design. Points next to each new member of
  // the front are examined in turn until the front holds no new member.
  if (options.refine && !tentative.empty() && !result.cancelled) {
    std::set<std::array<long long, 3>> visited;
    std::set<std::array<std::string, 3>> expanded;
    for (int round = 0; round < kMaxRefineRounds; ++round) {
      std::vector<std::vector<double>> vectors;
      std::vector<std::size_t> meeting;
      for (std::size_t i = 0; i < tentative.size(); ++i) {
        if (tentative[i].relativeMiss > 0) continue;
        meeting.push_back(i);
        vectors.push_back({tentative[i].objectives.wearRise, tentative[i].objectives.releaseForceMax});
      }
      // None meets the further constraints yet: the point that misses them
      // by the least is the seed, so the rounds descend on the miss.
      if (meeting.empty()) {
        const auto least = std::min_element(tentative.begin(), tentative.end(), [](const Tentative& a, const Tentative& b) {
          return a.relativeMiss < b.relativeMiss;
        });
        meeting.push_back(static_cast<std::size_t>(least - tentative.begin()));
        vectors.push_back({0, 0});
      }
      std::vector<const Tentative*> seeds;
      for (std::size_t f : paretoFront(vectors)) {
        const Tentative& t = tentative[meeting[f]];
        if (expanded.insert({t.HoverH, t.R, t.RoverR}).second) seeds.push_back(&t);
      }
      if (seeds.empty()) break;
      const std::vector<std::array<std::string, 3>> points = searcher.neighbourhood(seeds, visited);
      std::vector<RowResult> found(points.size());
      if (!runParallel(points.size(), threads, quietOptions,
                       [&](std::size_t i) { found[i] = searcher.runFinePoint(points[i]); })) {
        result.cancelled = true;
        break;
      }
      for (RowResult& f : found) {
        result.evaluated += f.evaluated;
        result.solved += f.solved;
        absorb(f);
      }
    }
  }
  result.feasible = feasibleSeen;

  // Giving h its text moves F1B by less than 1.2 N and the objectives by far
  // less than kNearFront: a point farther than that behind the front at the
  // solved h cannot reach the front with its text, so only the points near
  // it are given texts. Further objectives and constraints are unknown until
  // a design is finished: then all are. The Pareto set of the finished
  // designs is checked by the window. A point that finds no text, or a
  // design the window does not pass, leaves the ranking, and both steps are
  // taken again without it (other points may then come near the front).
  // A point that misses a further constraint at its solved h by more than
  // kNearFront of the constraint's scale cannot meet it with h's text.
  enum class State : std::uint8_t { Open, Finished, Verified, Dropped };
  std::vector<State> state(tentative.size(), State::Open);
  // Held only for the points given a text: a design is large beside a
  // point, and few points are finished.
  std::vector<std::unique_ptr<Design>> finished(tentative.size());
  std::vector<std::vector<bool>> constraintsMet(tentative.size());
  std::vector<std::unique_ptr<ConstraintMiss>> constraintMisses(tentative.size());
  for (std::size_t i = 0; i < tentative.size(); ++i)
    if (tentative[i].relativeMiss > kNearFront) state[i] = State::Dropped;
  const auto finishAll = [&](const std::vector<std::size_t>& which) {
    return runParallel(which.size(), threads, quietOptions, [&](std::size_t k) {
      const std::size_t i = which[k];
      constraintsMet[i].assign(options.constraints.size(), false);
      std::optional<ConstraintMiss> missed;
      std::optional<Design> design = searcher.finish(tentative[i], constraintsMet[i], missed);
      finished[i] = design ? std::make_unique<Design>(std::move(*design)) : nullptr;
      if (missed) constraintMisses[i] = std::make_unique<ConstraintMiss>(std::move(*missed));
    });
  };
  while (!result.cancelled) {
    // The front at the solved h, of the points that meet every constraint
    // there; a point is given its text unless a member of that front beats
    // it by more than kNearFront on every objective.
    std::vector<std::size_t> alive;
    std::vector<std::vector<double>> vectors, meetingVectors;
    for (std::size_t i = 0; i < tentative.size(); ++i) {
      if (state[i] == State::Dropped) continue;
      alive.push_back(i);
      vectors.push_back(tentative[i].vector());
      if (tentative[i].relativeMiss <= 0) meetingVectors.push_back(vectors.back());
    }
    std::vector<const std::vector<double>*> front;
    if (options.prune)
      for (std::size_t f : paretoFront(meetingVectors)) front.push_back(&meetingVectors[f]);
    std::vector<std::size_t> toFinish;
    for (std::size_t a = 0; a < alive.size(); ++a) {
      if (state[alive[a]] != State::Open) continue;
      const std::vector<double>& v = vectors[a];
      const bool farBehind = std::any_of(front.begin(), front.end(), [&](const std::vector<double>* f) {
        for (std::size_t k = 0; k < v.size(); ++k)
          if (!((*f)[k] + kNearFront * std::fabs((*f)[k]) < v[k])) return false;
        return true;
      });
      if (!farBehind) toFinish.push_back(alive[a]);
    }
    if (!finishAll(toFinish)) {
      result.cancelled = true;
      break;
    }
    bool dropped = false;
    for (std::size_t i : toFinish) {
      state[i] = finished[i] ? State::Finished : State::Dropped;
      dropped = dropped || !finished[i];
      if (finished[i]) ++result.finished;
    }
    if (dropped) continue;

    std::vector<std::size_t> done;
    std::vector<std::vector<double>> exact;
    for (std::size_t i = 0; i < tentative.size(); ++i) {
      if (state[i] != State::Finished && state[i] != State::Verified) continue;
      done.push_back(i);
      exact.push_back(objectiveVector(*finished[i]));
    }
    std::vector<std::size_t> exactFront, toCheck;
    for (std::size_t f : paretoFront(exact)) {
      exactFront.push_back(done[f]);
      if (state[done[f]] == State::Finished) toCheck.push_back(done[f]);
    }
    // 1: passed by the window; 2: passed by it but not by the final test.
    std::vector<char> passed(toCheck.size(), 0);
    if (!runParallel(toCheck.size(), threads, quietOptions, [&](std::size_t k) {
          Design& design = *finished[toCheck[k]];
          passed[k] = checkInWindow(design.inputs).passed;
          if (!passed[k] || !options.finalTest) return;
          const FinalFigure figure = options.finalTest->figure(design.inputs);
          design.finalFigure = figure.value;
          if (!figure.passed) passed[k] = 2;
        })) {
      result.cancelled = true;
      break;
    }
    result.verified += toCheck.size();
    for (std::size_t k = 0; k < toCheck.size(); ++k) {
      state[toCheck[k]] = passed[k] == 1 ? State::Verified : State::Dropped;
      if (passed[k] != 1) {
        ++(passed[k] ? result.rejectedByFinalTest : result.rejectedByWindow);
        dropped = true;
      }
    }
    if (dropped) continue;
    for (std::size_t i : exactFront) result.designs.push_back(*finished[i]);
    break;
  }
  std::stable_sort(result.designs.begin(), result.designs.end(),
                   [](const Design& a, const Design& b) { return a.wearRise < b.wearRise; });

  if (result.designs.empty() && !result.cancelled) {
    // No design met the further constraints: give h its text on the points
    // that missed them by the least, until one passes the twelve rules with
    // it, for the nearest design and its misses.
    std::vector<std::size_t> byMiss;
    for (std::size_t i = 0; i < tentative.size(); ++i)
      if (state[i] == State::Dropped && !finished[i] && tentative[i].relativeMiss > 0) byMiss.push_back(i);
    std::stable_sort(byMiss.begin(), byMiss.end(),
                     [&](std::size_t a, std::size_t b) { return tentative[a].relativeMiss < tentative[b].relativeMiss; });
    constexpr std::size_t kBatch = 8;
    for (std::size_t from = 0; from < byMiss.size(); from += kBatch) {
      const std::vector<std::size_t> batch(byMiss.begin() + static_cast<std::ptrdiff_t>(from),
                                           byMiss.begin() + static_cast<std::ptrdiff_t>(std::min(from + kBatch, byMiss.size())));
      if (!finishAll(batch)) break;
      if (std::any_of(batch.begin(), batch.end(), [&](std::size_t i) { return constraintMisses[i] != nullptr; })) break;
    }
    for (std::size_t c = 0; c < options.constraints.size(); ++c) {
      const bool metAtSolvedH = constraintMetAtSolvedH[c];
      if (!metAtSolvedH && std::none_of(constraintsMet.begin(), constraintsMet.end(),
                                        [c](const std::vector<bool>& m) { return c < m.size() && m[c]; }))
        why.constraintsNeverMet.push_back(options.constraints[c].name);
    }
    if (nearestRowIndex < rowCount) {
      const RowResult::Nearest& n = nearestOfRows;
      DesignInputs inputs = base;
      const TextBox boxes[] = {TextBox::Text4, TextBox::Text6, TextBox::Text7, TextBox::Text9};
      for (std::size_t i = 0; i < 4; ++i) inputs.setText(boxes[i], n.texts[i]);
      why.nearest = std::move(inputs);
      for (int i = 0; i < kRuleCount; ++i)
        if (!n.rules[static_cast<std::size_t>(i)].passed) why.misses.push_back({i, n.rules[static_cast<std::size_t>(i)]});
    }
    // Designs passed the twelve rules but none met the further constraints:
    // the nearest is the one that misses them by the least.
    const ConstraintMiss* nearestMissed = nullptr;
    for (const std::unique_ptr<ConstraintMiss>& m : constraintMisses)
      if (m && (!nearestMissed || m->total < nearestMissed->total)) nearestMissed = &*m;
    if (nearestMissed) {
      why.nearest = nearestMissed->inputs;
      why.misses = nearestMissed->misses;
    }
    result.infeasible = std::move(why);
  }
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return result;
}

std::string explainEnglish(const Infeasibility& why, const Options& options) { return explain(why, options, false); }
std::string explainChinese(const Infeasibility& why, const Options& options) { return explain(why, options, true); }

std::string explainInWords(const Infeasibility& why, const Options& options) {
  std::string text = explainChinese(why, options);
  for (const ExtraConstraint& c : options.constraints) {
    if (c.nameZh.empty()) continue;
    for (std::size_t at = text.find(c.name); at != std::string::npos; at = text.find(c.name, at + c.nameZh.size()))
      text.replace(at, c.name.size(), c.nameZh);
  }
  return text;
}

}  // namespace diaspring::search
