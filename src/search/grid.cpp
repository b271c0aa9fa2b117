#include "search/grid.h"

#include <algorithm>
#include <string>

#include "form/input_boxes.h"
#include "runtime/convert.h"
#include "runtime/fault.h"

namespace diaspring::search {
namespace {

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
  return readClutchData([&base](TextBox box) { return readFixed(base, box); });
}

double totalMiss(const RuleOutcomes& rules) {
  double total = 0;
  for (const RuleOutcome& r : rules)
    if (!r.passed) total += r.miss / r.scale;
  return std::isnan(total) ? kInf : total;
}

}  // namespace

bool allPass(const RuleOutcomes& rules) {
  return std::all_of(rules.begin(), rules.end(), [](const RuleOutcome& r) { return r.passed; });
}

Searcher::Searcher(const DesignInputs& base, const Options& options)
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
  if (options.memo && options.memo->bind(base, options, rows())) memo_ = options.memo.get();
}

bool Searcher::rowCanPass(std::size_t row) const {
  const RuleOutcomes fixed = fixedRules(row);
  return std::all_of(kFixedRules.begin(), kFixedRules.end(),
                     [&](int i) { return fixed[static_cast<std::size_t>(i)].passed; });
}

namespace {

// A constraint's quantity at a kept point: worked out once for each key.
double quantity(GridMemo::Point& kept, const ExtraConstraint& c, const DesignView& view) {
  if (const std::vector<double>* known = kept.parts.find(c.quantityKey)) return known->front();
  const double value = c.quantity(view, kept.parts);
  kept.parts.keep(c.quantityKey, {value});
  return value;
}

}  // namespace

RowResult Searcher::fromMemo(GridMemo::Row& kept) const {
  RowResult out;
  out.met = kept.met;
  if (kept.nearest) out.nearest = std::make_unique<NearestPoint>(*kept.nearest);
  out.evaluated = kept.evaluated;
  out.solved = kept.solved;
  for (GridMemo::Point& p : kept.feasible) {
    Tentative t = p.tentative;
    furtherGoals(t, Evaluation{p.g, p.points, {}}, &p);
    out.feasible.push_back(std::move(t));
  }
  return out;
}

void Searcher::keepCounts(GridMemo::Row& kept, const RowResult& out) {
  kept.met = out.met;
  if (out.nearest) kept.nearest = std::make_unique<NearestPoint>(*out.nearest);
  kept.evaluated = out.evaluated;
  kept.solved = out.solved;
  kept.done = true;
}

RowResult Searcher::runRow(std::size_t row) const {
  GridMemo::Row* kept = memo_ ? &memo_->row(row) : nullptr;
  if (kept && kept->done) return fromMemo(*kept);
  RowResult out;
  const std::string RText = R_.text(row / RoverR_.size());
  const std::string RoverRText = RoverR_.text(row % RoverR_.size());
  const double r = capturedInnerRadius(val(RText).value(), val(RoverRText).value());
  const RuleOutcomes fixed = fixedRules(row);
  for (int i : kFixedRules) out.met[static_cast<std::size_t>(i)] = fixed[static_cast<std::size_t>(i)].passed;
  for (std::size_t i = 0; i < hoverh_.size(); ++i) runPoint(hoverh_.text(i), RText, RoverRText, r, out, true, kept);
  out.evaluated = out.solved = hoverh_.size();
  if (kept) keepCounts(*kept, out);
  return out;
}

std::vector<std::array<std::string, 3>> Searcher::neighbourhood(const std::vector<const Tentative*>& seeds,
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

RowResult Searcher::runFinePoint(const std::array<std::string, 3>& texts) const {
  if (memo_)
    if (GridMemo::Row* kept = memo_->finePoint(texts)) return fromMemo(*kept);
  GridMemo::Row kept;
  RowResult out = runNewFinePoint(texts, memo_ ? &kept : nullptr);
  if (memo_) {
    keepCounts(kept, out);
    memo_->keep(texts, std::move(kept));
  }
  return out;
}

RowResult Searcher::runNewFinePoint(const std::array<std::string, 3>& texts, GridMemo::Row* kept) const {
  RowResult out;
  ++out.evaluated;
  const double r = capturedInnerRadius(val(texts[1]).value(), val(texts[2]).value());
  const RuleOutcomes fixed = checkRules({1, 1, val(texts[1]).value(), r, val(texts[1]).value() - 2, r + 2}, clutch_,
                                        WorkingPoints{});
  if (!std::all_of(kFixedRules.begin(), kFixedRules.end(), [&](int i) { return fixed[static_cast<std::size_t>(i)].passed; }))
    return out;
  ++out.solved;
  runPoint(texts[0], texts[1], texts[2], r, out, false, kept);
  return out;
}

std::optional<Design> Searcher::finish(const Tentative& t, std::vector<bool>& constraintsMet,
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

RuleOutcomes Searcher::fixedRules(std::size_t row) const {
  const double R = val(R_.text(row / RoverR_.size())).value();
  const double r = capturedInnerRadius(R, val(RoverR_.text(row % RoverR_.size())).value());
  return checkRules({1, 1, R, r, R - 2, r + 2}, clutch_, WorkingPoints{});
}

Evaluation Searcher::evaluate(double h, double H, double R, double r) const {
  Evaluation e;
  e.g = {h, H, R, r, R - 2, r + 2};
  const LoadLaw law(e.g, clutch_.E, clutch_.mu);
  e.points = findWorkingPoints(law, clutch_.dLambda, clutch_.lambda1f);
  return e;
}

// h with F1B(h) = F and the design at that h: the law scales as h^4 at
// a fixed H/h, so each step multiplies h by the fourth root of the load's
// shortfall. None when a design on the way has no peak and valley.
std::optional<Evaluation> Searcher::solveH(double c, double R, double r) const {
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

void Searcher::runPoint(const std::string& HoverHText, const std::string& RText, const std::string& RoverRText, double r,
                        RowResult& out, bool trackNearest, GridMemo::Row* kept) const {
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
    if (kept) kept->feasible.push_back({t, e.g, *e.points});
    furtherGoals(t, e, kept ? &kept->feasible.back() : nullptr);
    out.feasible.push_back(std::move(t));
    return;
  }
  for (std::size_t i = 0; i < kRuleCount; ++i) out.met[i] = out.met[i] || e.rules[i].passed;
  if (!trackNearest) return;
  const double miss = totalMiss(e.rules);
  if (!out.nearest) out.nearest = std::make_unique<NearestPoint>();
  if (miss < out.nearest->miss) {
    out.nearest->miss = miss;
    out.nearest->rules = e.rules;
    out.nearest->texts = {decimalText(std::llround(hClamped * 1e4), 4), HoverHText, RText, RoverRText};
  }
}

// The further objectives and constraints of a point at its solved h.
void Searcher::furtherGoals(Tentative& t, const Evaluation& e, GridMemo::Point* kept) const {
  if (options_.extraObjectives.empty() && options_.constraints.empty()) return;
  DesignInputs inputs = base_;
  inputs.setText(TextBox::Text4, decimalText(std::llround(t.h * 1e6), 6));
  inputs.setText(TextBox::Text6, t.HoverH);
  inputs.setText(TextBox::Text7, t.R);
  inputs.setText(TextBox::Text9, t.RoverR);
  const DesignView view{inputs, e.g, *e.points, clutch_};
  for (const ExtraObjective& extra : options_.extraObjectives) t.extra.push_back(extra.value(view));
  for (const ExtraConstraint& constraint : options_.constraints) {
    const double miss = (kept && !constraint.quantityKey.empty() ? constraint.missOf(quantity(*kept, constraint, view))
                                                                 : constraint.miss(view))
                            .value_or(0);
    t.constraintMiss.push_back(miss);
    t.relativeMiss = std::max(t.relativeMiss, std::isnan(miss) ? kInf : miss / constraint.scale);
  }
}


// Whether a point of the finer grid is one of the coarse grid: both grids
// count from zero, the finer kRefine steps to each of the coarser.
bool Searcher::isCoarsePoint(const std::array<long long, 3>& p) const {
  const Axis* coarse[3] = {&hoverh_, &R_, &RoverR_};
  for (std::size_t a = 0; a < 3; ++a)
    if (p[a] % kRefine != 0 || p[a] / kRefine < coarse[a]->first || p[a] / kRefine > coarse[a]->last) return false;
  return true;
}

}  // namespace diaspring::search
