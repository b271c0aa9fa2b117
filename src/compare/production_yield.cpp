#include "compare/production_yield.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/bit_cast.h"
#include "runtime/convert.h"
#include "runtime/fault.h"
#include "runtime/float_text.h"
#include "runtime/portable_log.h"
#include "runtime/thread_group.h"

namespace diaspring::compare {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kZ95 = 1.959963984540054;  // the normal quantile of 0.975

constexpr RequirementInfo kRequirements[kRequirementCount] = {
    {"clampLoad", "clamp load F1B within its band", "夹紧力 F1B 在公差带内"},
    {"F1A_ge_F1B", "F1A >= F1B", "F1A ≥ F1B"},
    {"H_h", "rule 3: H/h 1.6 ... 2.2", "条件 3：H/h 1.6–2.2"},
    {"cone_deg", "rule 4: cone angle 9 ... 15 deg", "条件 4：锥角 9°–15°"},
    {"R_r", "rule 5: R/r 1.2 ... 1.35", "条件 5：R/r 1.2–1.35"},
    {"2R_h", "rule 6: 2R/h 70 ... 100", "条件 6：2R/h 70–100"},
    {"R_r0", "rule 7: R/r0 3.5 ... 5.0", "条件 7：R/r0 3.5–5.0"},
    {"R1_on_disc", "rule 8: (D+d)/4 <= R1 <= D/2", "条件 8：(D+d)/4 ≤ R1 ≤ D/2"},
    {"R_R1", "rule 9: R - R1 1 ... 7 mm", "条件 9：R − R1 1–7 mm"},
    {"r1_r", "rule 10: r1 - r 0 ... 6 mm", "条件 10：r1 − r 0–6 mm"},
    {"rf_r0", "rule 11: rf - r0 0 ... 6 mm", "条件 11：rf − r0 0–6 mm"},
    {"lever", "rule 12: (r1-rf)/(R1-r1) 2.3 ... 4.5", "条件 12：(r1−rf)/(R1−r1) 2.3–4.5"},
    {"sigmaI", "|sigma I| <= [sigma] over 0 ... lambda1C", "0 … λ1C 内 |σI| ≤ [σ]"},
    {"sigmaFinger", "sigma f <= [sigma f] at F2max", "F2max 时 σf ≤ [σf]"},
    {"sigmaOM", "|sigma OM| <= Rm over 0 ... lambda1C", "0 … λ1C 内 |σOM| ≤ Rm"},
};

// Each requirement as a quantity that must lie in [low, high].
struct Quantities {
  std::array<double, kRequirementCount> value{}, low{}, high{};
  std::uint32_t met = 0;
};

// Quantities as numbers and back (for a point's kept parts).
std::vector<double> numbersOf(const Quantities& q) {
  std::vector<double> out;
  for (const auto* a : {&q.value, &q.low, &q.high}) out.insert(out.end(), a->begin(), a->end());
  out.push_back(static_cast<double>(q.met));
  return out;
}
Quantities quantitiesFrom(const std::vector<double>& numbers) {
  Quantities q;
  std::size_t at = 0;
  for (auto* a : {&q.value, &q.low, &q.high})
    for (double& x : *a) x = numbers[at++];
  q.met = static_cast<std::uint32_t>(numbers[at]);
  return q;
}

Quantities quantitiesOf(const SpringParams& p, const DesignCurve& n, const LoadBand& band,
                        const AnalysisParams* strength) {
  Quantities q;
  const search::Geometry g = geometryOf(p);
  const search::LoadLaw law(g, p.E, n.clutch.mu);
  search::WorkingPoints points = n.p;
  points.F1B = law(points.lambda1B);
  points.F1A = law(points.lambda1A);
  const double F = n.clutch.F;
  const auto set = [&q](int k, double value, double low, double high, bool passed) {
    const auto i = static_cast<std::size_t>(k);
    q.value[i] = value, q.low[i] = low, q.high[i] = high;
    if (passed) q.met |= 1U << k;
  };
  const double lo = F * (1 - band.minusPercent / 100), hi = F * (1 + band.plusPercent / 100);
  set(0, points.F1B, lo, hi, lo <= points.F1B && points.F1B <= hi);
  set(1, points.F1A - points.F1B, 0, kInf, points.F1A >= points.F1B);
  const search::RuleOutcomes rules = search::checkRules(g, n.clutch, points);
  for (int k = 2; k < kRuleCount; ++k) {
    const search::RuleOutcome& r = rules[static_cast<std::size_t>(k)];
    set(k, r.value, r.low, r.high, r.passed);
  }
  if (!strength) return q;
  CurveRun run;
  run.design = search::springDesignOf(g, points, p.E, n.clutch.mu);
  run.lambda1N = points.lambda1N;
  run.lambda1f = n.clutch.lambda1f;
  run.rf = n.clutch.rf;
  const SpringModel model(run, *strength);
  const int first = kFirstStrengthRequirement;
  if (!model.problem().empty()) {
    for (int k = first; k < kRequirementCount; ++k) set(k, kInf, -kInf, 0, false);
    return q;
  }
  const StaticChecks c = staticChecksOf(model);
  set(first, c.sigmaImax, -kInf, strength->sigmaAllow, c.iPass);
  set(first + 1, c.sigmaFingerMax, -kInf, strength->sigmaAllowF, c.fingerPass);
  set(first + 2, c.sigmaOMmax, -kInf, strength->Rm, c.omPass);
  return q;
}

// Whether the strength requirements apply: the inputs are given and the
// analysis takes the nominal spring.
bool strengthRuns(const DesignCurve& n, const AnalysisParams* strength) {
  if (!strength) return false;
  const Quantities q = quantitiesOf(nominalParams(n), n, {}, strength);
  return std::isfinite(q.value[kFirstStrengthRequirement]);
}

constexpr int kBlock = 256;

std::string percent(double x) { return generalText(Num(std::round(x * 100) / 100)); }

const char* groupOf(double t) {
  if (t < 1.25) return "t < 1.25 mm";
  if (t <= 3) return "t 1.25 … 3 mm";
  if (t <= 6) return "t 3 … 6 mm";
  return "t 6 … 16 mm";
}

}  // namespace

LoadBand standardLoadBand(double t) {
  if (t < 1.25) return {25, 7.5, true};
  if (t <= 3) return {15, 7.5, true};
  if (t <= 6) return {10, 5, true};
  return {5, 5, true};
}

LoadBand userLoadBand(double percent) { return {percent, percent, false}; }

std::string bandTextEnglish(const LoadBand& b, double t) {
  const std::string limits = b.plusPercent == b.minusPercent
                                 ? "+/-" + percent(b.plusPercent) + " %"
                                 : "+" + percent(b.plusPercent) + " %/-" + percent(b.minusPercent) + " %";
  return limits + (b.fromStandard ? std::string(" (DIN 2093 load tolerance, ") + groupOf(t) + ")" : " (set by the user)");
}

std::string bandTextChinese(const LoadBand& b, double t) {
  const std::string limits = b.plusPercent == b.minusPercent
                                 ? "±" + percent(b.plusPercent) + " %"
                                 : "+" + percent(b.plusPercent) + " %/−" + percent(b.minusPercent) + " %";
  return limits + (b.fromStandard ? std::string("（DIN 2093 载荷公差，") + groupOf(t) + "）" : "（用户设定）");
}

const RequirementInfo& requirementInfo(int index) { return kRequirements[index]; }

Share shareOf(long passed, long samples) {
  Share s;
  s.passed = passed;
  s.samples = samples;
  if (samples <= 0) {
    s.value = s.low = s.high = std::numeric_limits<double>::quiet_NaN();
    return s;
  }
  const double n = static_cast<double>(samples), p = static_cast<double>(passed) / n;
  const double z2 = kZ95 * kZ95;
  const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
  const double half = kZ95 / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
  s.value = p;
  s.low = std::max(0.0, centre - half);
  s.high = std::min(1.0, centre + half);
  return s;
}

std::string shareText(double share) {
  if (!std::isfinite(share)) return "—";
  return format(Num(100 * share), "0.00") + " %";
}

std::vector<YieldRow> yieldRows(const ProductionYield& y, bool chinese) {
  const auto interval = [](const Share& s) {
    if (!std::isfinite(s.value)) return std::string("—");
    return format(Num(100 * s.low), "0.00") + " … " + format(Num(100 * s.high), "0.00") + " %";
  };
  const auto count = [](const Share& s) {
    if (s.samples <= 0) return std::string("—");
    return std::to_string(s.passed) + " / " + std::to_string(s.samples);
  };
  std::vector<YieldRow> rows{{chinese ? "全部要求（生产合格率）" : "every requirement (production yield)",
                              shareText(y.overall.value), interval(y.overall), count(y.overall)}};
  for (int k = 0; k < kRequirementCount; ++k) {
    const auto i = static_cast<std::size_t>(k);
    if (!y.checked[i]) continue;
    rows.push_back({chinese ? kRequirements[k].chinese : kRequirements[k].english, shareText(y.by[i].value),
                    interval(y.by[i]), count(y.by[i])});
  }
  return rows;
}

std::string yieldBasisText(const ProductionYield& y, bool chinese) {
  const std::string n = std::to_string(y.overall.samples), seed = std::to_string(y.seed);
  if (chinese)
    return n + " 件按公差制造的膜片弹簧（蒙特卡洛，种子 " + seed + "，95 % 区间为 Wilson 区间），夹紧力公差带 " +
           bandTextChinese(y.band, y.bandThickness) + (y.strengthChecked ? "" : "；未作强度校核");
  return n + " springs made to the tolerances (Monte Carlo, seed " + seed +
         ", Wilson 95 % interval), clamp-load band " + bandTextEnglish(y.band, y.bandThickness) +
         (y.strengthChecked ? "" : "; strength not checked");
}

namespace {

// A length or a tolerance as the sheet shows it: "2.2", "66.667", "0.08"; "—" when not a number.
std::string shown(double x, double unit) {
  if (!std::isfinite(x)) return "—";
  return generalText(Num(std::round(x / unit) * unit));
}

std::string rangeText(const StandardBand& b, const char* quantity) {
  return std::string(quantity) + " " + (b.from > 0 ? shown(b.from, 0.01) : std::string("0")) + " … " +
         shown(b.upTo, 0.01) + " mm";
}

}  // namespace

std::vector<ToleranceRow> toleranceRows(const ProductionYield& y, bool chinese) {
  const search::Geometry& g = y.nominal;
  const Tolerances standard = defaultTolerances(g);
  const StandardBands bands = standardBands(g);
  const Tolerances& t = y.tolerances;
  const std::string user = chinese ? "用户设定" : "set by the user";
  const auto deviations = [](const StandardBand& b) {
    return "+" + shown(b.plus, 0.001) + "/" + (b.minus > 0 ? "−" : "") + shown(b.minus, 0.001) + " mm";
  };
  // t and l0: the standard's deviations, half their width each way.
  const auto disc = [&](const StandardBand& b, const char* what, const char* whatEn) {
    return chinese ? std::string("DIN 2093 ") + what + "偏差 " + deviations(b) + "（" + rangeText(b, "t") +
                         "），取其半宽"
                   : std::string("DIN 2093 ") + whatEn + " deviation " + deviations(b) + " (" + rangeText(b, "t") +
                         "), half its width";
  };
  // De h12 and Di H12: on the radius a quarter of the IT12 band.
  const auto fit = [&](const StandardBand& b, const char* diameter) {
    const std::string it = "IT12 = " + shown(b.plus, 0.001) + " mm";
    return chinese ? std::string("ISO 286-1 ") + diameter + "12，" + it + "（" + rangeText(b, diameter[0] == 'h' ? "De" : "Di") +
                         "），半径取 IT/4"
                   : std::string("ISO 286-1 ") + diameter + "12, " + it + " (" +
                         rangeText(b, diameter[0] == 'h' ? "De" : "Di") + "), IT/4 on the radius";
  };
  const auto row = [&](const char* symbol, double nominal, double tolerance, double standardTolerance,
                       const std::string& source) {
    return ToleranceRow{symbol, shown(nominal, 0.001) + " mm", "±" + shown(tolerance, 0.0001) + " mm",
                        tolerance == standardTolerance ? source : user};
  };
  std::vector<ToleranceRow> rows{
      row("h", g.h, t.h, standard.h, disc(bands.h, "厚度 t ", "thickness t")),
      row("l0", g.h + g.H, t.l0, standard.l0, disc(bands.l0, "自由高度 l0 ", "free height l0")),
      row("R", g.R, t.R, standard.R, fit(bands.R, "h")),
      row("r", g.r, t.r, standard.r, fit(bands.r, "H")),
  };
  const std::string noTolerance = chinese ? "标准未规定弹性模量的公差：0 % 即不计其离散，可输入材料供应商的数值"
                                          : "the standard gives no tolerance for the modulus: 0 % leaves it out; "
                                            "type the material supplier's";
  rows.push_back({"E", shown(y.E, 1) + " MPa", "±" + shown(t.Epercent, 0.01) + " %",
                  t.Epercent == 0 ? noTolerance : user});
  const std::string band = chinese ? bandTextChinese(y.band, y.bandThickness) : bandTextEnglish(y.band, y.bandThickness);
  // The band text is "limits (source)": split it into the two columns.
  const std::size_t open = band.find(chinese ? "（" : " (");
  std::string limits = band.substr(0, open), source = open == std::string::npos ? "" : band.substr(open);
  if (chinese && source.size() >= 6) source = source.substr(3, source.size() - 6);  // without （ ）
  else if (!chinese && source.size() >= 3) source = source.substr(2, source.size() - 3);
  rows.push_back({"F1B", "F = " + shown(y.F, 0.1) + " N", limits, source});
  return rows;
}

namespace yield_sheet {
std::string headline(const ProductionYield& y) {
  return "生产合格率 " + shareText(y.overall.value) + "（95 % 区间 " + yieldRows(y, true).front().interval + "）";
}
}  // namespace yield_sheet

std::uint32_t requirementsMet(const SpringParams& made, const DesignCurve& nominal, const LoadBand& band,
                              const AnalysisParams* strength) {
  return quantitiesOf(made, nominal, band, strength).met;
}

ProductionYield productionYield(const DesignCurve& nominal, const Tolerances& tol, const LoadBand& band,
                                const AnalysisParams* strength, int samples, std::uint64_t seed, unsigned threads) {
  ProductionYield y;
  y.seed = seed;
  y.band = band;
  y.bandThickness = nominal.g.h;
  y.nominal = nominal.g;
  y.E = nominal.clutch.E;
  y.F = nominal.clutch.F;
  y.tolerances = tol;
  y.strengthChecked = strengthRuns(nominal, strength);
  const AnalysisParams* used = y.strengthChecked ? strength : nullptr;
  const int count = y.strengthChecked ? kRequirementCount : kFirstStrengthRequirement;
  for (int k = 0; k < kRequirementCount; ++k) y.checked[static_cast<std::size_t>(k)] = k < count;
  const std::uint32_t all = (1U << count) - 1;
  const SpringParams n = nominalParams(nominal);
  const long total = std::max(samples, 0);

  // Counts per block of samples, added in block order: any thread count
  // gives the same figures.
  struct Counts {
    std::array<long, kRequirementCount> by{};
    long all = 0;
  };
  const long blockCount = (total + kBlock - 1) / kBlock;
  std::vector<Counts> blocks(static_cast<std::size_t>(blockCount));
  parallelFor(blocks.size(), workerCount(threads, blocks.size()), [&](std::size_t block) {
    Counts& c = blocks[block];
    const auto b = static_cast<long>(block);
    for (long i = b * kBlock, end = std::min(total, (b + 1) * kBlock); i < end; ++i) {
      const SpringParams p = sampledSpring(n, tol, normalDeviates(seed, static_cast<std::uint64_t>(i)));
      const std::uint32_t met = quantitiesOf(p, nominal, band, used).met;
      for (int k = 0; k < count; ++k) c.by[static_cast<std::size_t>(k)] += (met >> k) & 1U;
      c.all += (met & all) == all;
    }
  });
  Counts sum;
  for (const Counts& c : blocks) {
    for (std::size_t k = 0; k < sum.by.size(); ++k) sum.by[k] += c.by[k];
    sum.all += c.all;
  }
  y.overall = shareOf(sum.all, total);
  for (int k = 0; k < kRequirementCount; ++k) {
    const auto i = static_cast<std::size_t>(k);
    y.by[i] = k < count ? shareOf(sum.by[i], total) : shareOf(0, 0);
  }
  return y;
}

std::optional<ProductionYield> defaultProductionYield(const DesignInputs& inputs, int samples, std::uint64_t seed,
                                                      unsigned threads) {
  const DesignCurve curve = designCurve(inputs, "");
  if (!curve.ok()) return std::nullopt;
  const ParamsResult params = analysisParams(inputs);
  return productionYield(curve, defaultTolerances(curve.g), standardLoadBand(curve.g.h),
                         params.error.empty() ? &params.params : nullptr, samples, seed, threads);
}

std::optional<ProductionYield> productionYieldOf(const AnalysisInput& input, int samples, std::uint64_t seed,
                                                 unsigned threads) {
  const CurveRun& run = input.run;
  const SpringDesign& d = run.design;
  for (const Num* n : {&d.h, &d.H, &d.R, &d.r, &d.R1, &d.r1, &d.E, &d.mu, &d.lambda1M, &d.lambda1H, &d.lambda1B,
                       &d.lambda1A, &d.lambda1C})
    if (!n->isSet() || !std::isfinite(n->value())) return std::nullopt;
  for (double x : {run.F, run.D, run.d, run.r0, run.rf, run.lambda1f, run.lambda1N})
    if (!std::isfinite(x)) return std::nullopt;
  DesignCurve c;
  c.g = {d.h.value(), d.H.value(), d.R.value(), d.r.value(), d.R1.value(), d.r1.value()};
  c.clutch = {d.E.value(), d.mu.value(), run.F, run.D, run.d, run.r0, run.rf,
              d.lambda1B.value() - d.lambda1A.value(), run.lambda1f};
  const search::LoadLaw law(c.g, c.clutch.E, c.clutch.mu);
  c.p = {d.lambda1M.value(), run.lambda1N, d.lambda1H.value(), d.lambda1B.value(), d.lambda1A.value(),
         d.lambda1C.value(), law(d.lambda1B.value()), law(d.lambda1A.value())};
  return productionYield(c, defaultTolerances(c.g), standardLoadBand(c.g.h), &input.params, samples, seed, threads);
}

double estimatedYield(const DesignCurve& nominal, const Tolerances& tol, const LoadBand& band,
                      const AnalysisParams* strength, search::PointParts* parts) {
  const SpringParams n = nominalParams(nominal);
  Quantities centre;
  if (const std::vector<double>* kept = parts ? parts->find("centre") : nullptr) {
    centre = quantitiesFrom(*kept);
  } else {
    centre = quantitiesOf(n, nominal, band, strength);
    if (parts) parts->keep("centre", numbersOf(centre));
  }
  const int count = strength && std::isfinite(centre.value[kFirstStrengthRequirement]) ? kRequirementCount
                                                                                        : kFirstStrengthRequirement;
  if (strength && count < kRequirementCount) return 0;  // the analysis cannot take the nominal spring
  std::array<double, kRequirementCount> variance{};
  const double sigma[5] = {tol.h / 3, tol.l0 / 3, tol.R / 3, tol.r / 3, n.E * tol.Epercent / 300};
  for (int i = 0; i < 5; ++i) {
    if (!(sigma[i] > 0)) continue;
    // Each requirement's secant over ±σ of input i, halved.
    const std::string key = "secant " + std::to_string(i) + " " + std::to_string(bitCast<std::uint64_t>(sigma[i]));
    const std::vector<double>* steps = parts ? parts->find(key) : nullptr;
    std::vector<double> worked;
    if (!steps) {
      const auto input = static_cast<std::size_t>(i);
      const SpringParams up = movedSpring(n, input, sigma[i]), down = movedSpring(n, input, -sigma[i]);
      const Quantities a = quantitiesOf(up, nominal, band, strength), b = quantitiesOf(down, nominal, band, strength);
      for (int k = 0; k < count; ++k) worked.push_back(0.5 * (a.value[static_cast<std::size_t>(k)] - b.value[static_cast<std::size_t>(k)]));
      steps = parts ? &parts->keep(key, std::move(worked)) : &worked;
    }
    for (int k = 0; k < count; ++k) {
      const double step = (*steps)[static_cast<std::size_t>(k)];
      variance[static_cast<std::size_t>(k)] += step * step;
    }
  }
  double failing = 0;
  for (int k = 0; k < count; ++k) {
    const auto j = static_cast<std::size_t>(k);
    const double sd = std::sqrt(variance[j]);
    const bool nominalPasses = (centre.met >> k) & 1U;
    double pass;
    if (!(sd > 0) || !std::isfinite(sd)) pass = std::isfinite(sd) && nominalPasses ? 1 : 0;
    else pass = normalCdf((centre.high[j] - centre.value[j]) / sd) - normalCdf((centre.low[j] - centre.value[j]) / sd);
    failing += 1 - pass;
  }
  return std::max(0.0, 1 - failing);
}

namespace {

// The most failures of n springs that leave the Wilson interval's lower end
// at or above p.
long mostFailures(long n, double p) {
  long f = 0;
  while (f < n && shareOf(n - (f + 1), n).low >= p) ++f;
  return shareOf(n, n).low >= p ? f : -1;
}

// The final test: the springs one after another on this thread, stopped as
// soon as more have failed than the Wilson bound allows.
search::FinalFigure confirmYield(const DesignCurve& curve, const AnalysisParams& params, const ToleranceChoice& choice,
                                 long most) {
  const Tolerances tol = chosenTolerances(curve.g, choice);
  const LoadBand band = standardLoadBand(curve.g.h);
  const AnalysisParams* strength = strengthRuns(curve, &params) ? &params : nullptr;
  if (!strength) return {0, false};
  const std::uint32_t all = (1U << kRequirementCount) - 1;
  const SpringParams n = nominalParams(curve);
  long failed = 0;
  for (long i = 0; i < kConfirmSamples; ++i) {
    const SpringParams p = sampledSpring(n, tol, normalDeviates(kDefaultSeed, static_cast<std::uint64_t>(i)));
    failed += (quantitiesOf(p, curve, band, strength).met & all) != all;
    if (failed > most) return {1 - static_cast<double>(failed) / static_cast<double>(i + 1), false};
  }
  return {shareOf(kConfirmSamples - failed, kConfirmSamples).value, true};
}

}  // namespace

double screenTarget(double minYield) {
  // The Monte Carlo's lower bound lies about z·√(P(1 − P)/N) below its
  // share: the screen asks for one and a half of that above P, so that the
  // designs it lets through are seldom refused by the confirmation.
  const double margin = 1.5 * kZ95 * std::sqrt(minYield * (1 - minYield) / kConfirmSamples);
  return std::min(minYield + margin, 0.5 * (1 + minYield));
}

Tolerances chosenTolerances(const search::Geometry& g, const ToleranceChoice& choice) {
  Tolerances t = defaultTolerances(g);
  for (auto [chosen, into] : {std::pair{choice.h, &t.h}, {choice.l0, &t.l0}, {choice.R, &t.R}, {choice.r, &t.r}})
    if (std::isfinite(chosen)) *into = chosen;
  return t;
}

std::string addYieldGoals(search::Options& options, const DesignInputs& base, double minYield,
                          const ToleranceChoice& tolerances) {
  if (!(minYield > 0)) return {};
  const ParamsResult read = analysisParams(base);
  if (!read.error.empty()) return read.error;
  const AnalysisParams params = read.params;
  // The estimate is the costly part, and the same for every least yield:
  // the searches of one design command keep it by the tolerances it used.
  const auto estimate = [params, tolerances](const search::DesignView& view, search::PointParts& parts) {
    DesignCurve curve;
    curve.g = view.geometry;
    curve.clutch = view.clutch;
    curve.p = view.points;
    return estimatedYield(curve, chosenTolerances(curve.g, tolerances), standardLoadBand(curve.g.h), &params, &parts);
  };
  const auto missOf = [target = screenTarget(minYield)](double estimated) -> std::optional<double> {
    if (estimated >= target) return std::nullopt;
    return target - estimated;
  };
  std::string key = "estimated yield";
  for (double t : {tolerances.h, tolerances.l0, tolerances.R, tolerances.r})
    key += std::isfinite(t) ? " " + shortestText(t) : std::string(" standard");
  options.constraints.push_back({kYieldScreen,
                                 [estimate, missOf](const search::DesignView& view) {
                                   search::PointParts none;
                                   return missOf(estimate(view, none));
                                 },
                                 1.0, kYieldScreenZh, "", true, key, estimate, missOf});
  const long most = mostFailures(kConfirmSamples, minYield);
  // The figure depends on the design, the tolerances and how many failures the least yield allows.
  options.finalTest = search::FinalTest{"productionYield",
                                        [params, tolerances, most](const DesignInputs& inputs) {
                                          const DesignCurve curve = designCurve(inputs, "");
                                          if (!curve.ok()) return search::FinalFigure{0, false};
                                          return confirmYield(curve, params, tolerances, most);
                                        },
                                        key + " most " + std::to_string(most)};
  return {};
}

}  // namespace diaspring::compare
