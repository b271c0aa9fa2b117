#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "compare/calibration.h"
#include "compare/comparison.h"
#include "compare/scatter.h"
#include "model/points.h"
#include "model/spring_design.h"

namespace diaspring::compare {
namespace {

DesignCurve curveWith(std::initializer_list<std::pair<const char*, const char*>> texts = {}) {
  DesignInputs in;
  for (const auto& [key, text] : texts) in.setText(*inputBoxOfKey(key), text);
  DesignCurve c = designCurve(in, "test");
  EXPECT_TRUE(c.ok()) << c.error;
  return c;
}

// F1 by the window's own law, from a design record built here.
double windowLoad(const SpringParams& p, double mu, double lambda1) {
  SpringDesign d;
  d.h = p.h, d.H = p.H, d.R = p.R, d.r = p.r, d.R1 = p.R - 2, d.r1 = p.r + 2, d.E = p.E, d.mu = mu;
  return SpringLoad(d, lambda1).value();
}

TEST(Scatter, WorstCaseIsTheExtremeOverTheCornersAtTheNominalDeflections) {
  struct Case {
    const char* h;
    const char* HoverH;
    Tolerances tol;
  };
  const Case cases[] = {
      {"2.2", "1.8", {0.08, 0.15, 0.115, 0.1, 2, 5}},
      {"2.4", "1.65", {0.02, 0.05, 0.3, 0.0, 0, 5}},
      {"2.0", "2.1", {0.0, 0.2, 0.0, 0.2, 5, 5}},
  };
  for (const Case& c : cases) {
    const DesignCurve curve = curveWith({{"h", c.h}, {"HoverH", c.HoverH}});
    const std::vector<double> grid = bandGrid(curve, 10);
    const WorstCase w = worstCase(curve, c.tol, grid);
    const SpringParams n = nominalParams(curve);
    double lo[3] = {INFINITY, INFINITY, INFINITY}, hi[3] = {-INFINITY, -INFINITY, -INFINITY};
    std::vector<double> gridLo(grid.size(), INFINITY), gridHi(grid.size(), -INFINITY);
    for (int sh : {-1, 1})
      for (int sH : {-1, 1})
        for (int sR : {-1, 1})
          for (int sr : {-1, 1})
            for (int sE : {-1, 1}) {
              const SpringParams p{n.h + sh * c.tol.h, n.H + sH * c.tol.l0 - sh * c.tol.h, n.R + sR * c.tol.R, n.r + sr * c.tol.r,
                                   n.E * (1 + sE * c.tol.Epercent / 100)};
              const double ls[3] = {curve.p.lambda1B, curve.p.lambda1A, curve.p.lambda1C};
              for (int k = 0; k < 3; ++k) {
                const double F = windowLoad(p, curve.clutch.mu, ls[k]);
                lo[k] = std::min(lo[k], F), hi[k] = std::max(hi[k], F);
              }
              for (std::size_t i = 0; i < grid.size(); ++i) {
                const double F = windowLoad(p, curve.clutch.mu, grid[i]);
                gridLo[i] = std::min(gridLo[i], F), gridHi[i] = std::max(gridHi[i], F);
              }
            }
    const Range got[3] = {w.F1B, w.F1A, w.F1C};
    for (int k = 0; k < 3; ++k) {
      EXPECT_DOUBLE_EQ(got[k].min, lo[k]) << c.h << " " << k;
      EXPECT_DOUBLE_EQ(got[k].max, hi[k]) << c.h << " " << k;
    }
    for (std::size_t i = 0; i < grid.size(); ++i) {
      EXPECT_DOUBLE_EQ(w.lower[i], gridLo[i]);
      EXPECT_DOUBLE_EQ(w.upper[i], gridHi[i]);
    }
    EXPECT_LE(w.releaseForceMax.min, w.releaseForceMax.max);
  }
}

TEST(Scatter, MonteCarloIsReproducibleOnAnyThreadCount) {
  const DesignCurve curve = curveWith();
  const Tolerances tol = defaultTolerances(curve.g);
  const std::vector<double> grid = bandGrid(curve, 20);
  const MonteCarlo one = monteCarlo(curve, tol, grid, 3000, 7, 1);
  const MonteCarlo two = monteCarlo(curve, tol, grid, 3000, 7, 2);
  const MonteCarlo again = monteCarlo(curve, tol, grid, 3000, 7, 2);
  const MonteCarlo other = monteCarlo(curve, tol, grid, 3000, 8, 2);
  for (const MonteCarlo* m : {&two, &again}) {
    // Bit for bit: the same doubles, not merely close ones.
    EXPECT_EQ(m->F1B.mean, one.F1B.mean);
    EXPECT_EQ(m->F1B.sigma, one.F1B.sigma);
    EXPECT_EQ(m->F1C.min, one.F1C.min);
    EXPECT_EQ(m->releaseForceMax.max, one.releaseForceMax.max);
    EXPECT_EQ(m->withinClampTolerance, one.withinClampTolerance);
    EXPECT_EQ(m->sigma, one.sigma);
    EXPECT_EQ(m->mean, one.mean);
  }
  EXPECT_NE(other.F1B.mean, one.F1B.mean);
}

TEST(Scatter, MonteCarloSigmaFollowsTheToleranceThroughTheSensitivity) {
  // One input scattering at a time: σ(F1B) ≈ |∂F1B/∂x| · tolerance / 3 (a
  // linear spread; the law is smooth over a tolerance), and the mean stays
  // near the nominal. The thickness scatters at a kept free height, so H
  // moves against it.
  const DesignCurve curve = curveWith();
  const Sensitivity s = sensitivities(curve);
  struct Case {
    Tolerances tol;
    double expected;
  };
  const Case cases[] = {
      {{0.03, 0, 0, 0, 0, 5}, std::fabs(s.h - s.H) * 0.01},
      {{0, 0.06, 0, 0, 0, 5}, std::fabs(s.H) * 0.02},
      {{0, 0, 0.3, 0, 0, 5}, std::fabs(s.R) * 0.1},
      {{0, 0, 0, 0, 3, 5}, std::fabs(s.E) * curve.clutch.E * 0.01},
  };
  for (const Case& c : cases) {
    const MonteCarlo mc = monteCarlo(curve, c.tol, {}, 20000, 3, 2);
    EXPECT_NEAR(mc.F1B.sigma, c.expected, 0.03 * c.expected);
    EXPECT_NEAR(mc.F1B.mean, curve.p.F1B, 0.05 * c.expected);
    EXPECT_LE(mc.F1B.min, mc.F1B.mean);
    EXPECT_GE(mc.F1B.max, mc.F1B.mean);
  }
}

TEST(Scatter, SharesCountTheSpringsWithinTheClampToleranceAndWithF1AAtLeastF1B) {
  const DesignCurve curve = curveWith();
  Tolerances none{0, 0, 0, 0, 0, 5};
  const MonteCarlo exact = monteCarlo(curve, none, {}, 100, 1, 1);
  // Every spring is the nominal one: all or none within, as the nominal is.
  EXPECT_EQ(exact.withinClampTolerance, std::fabs(curve.p.F1B - curve.clutch.F) <= 0.05 * curve.clutch.F ? 1.0 : 0.0);
  EXPECT_EQ(exact.F1AatLeastF1B, curve.p.F1A >= curve.p.F1B ? 1.0 : 0.0);
  Tolerances wide{0.2, 0, 0, 0, 0, 1};
  const MonteCarlo spread = monteCarlo(curve, wide, {}, 4000, 1, 2);
  EXPECT_GT(spread.withinClampTolerance, 0.0);
  EXPECT_LT(spread.withinClampTolerance, 1.0);
}

TEST(Scatter, RefusesToleranceThatLetsASpringReachAnImpossibleDimension) {
  const DesignCurve curve = curveWith();  // h 2.2, H 4.18, R 84.7, r 63.68, E 206000
  const double k = maxDeviate() / 3;
  EXPECT_NEAR(maxDeviate(), 8.5717, 1e-4);
  struct Case {
    Tolerances tol;
    const char* input;  // nullptr: every spring possible
  };
  const Case cases[] = {
      {defaultTolerances(curve.g), nullptr},
      {{0.7, 0, 0, 0, 0, 5}, nullptr},  // 2.2 − 2.857 × 0.7 > 0
      {{3, 0, 0, 0, 0, 5}, "h"},
      {{0.8, 0, 0, 0, 0, 5}, "h"},  // beyond the corners, within the Monte Carlo's reach
      {{0, 4.18, 0, 0, 0, 5}, "h, l0"},  // the cone H = l0 − h
      {{0.7, 0.9, 0, 0, 0, 5}, "h, l0"},  // each possible alone, not together: 4.18 − 2.857 × 1.6
      {{0, 0, 100, 0, 0, 5}, "R"},
      {{0, 0, 0, 30, 0, 5}, "r"},
      {{0, 0, 0, 0, 200, 5}, "E"},
      {{0, 0, 4, 3, 0, 5}, "R, r"},  // R − r − 4 = 17.02 less 2.857 × 7
  };
  for (const Case& c : cases) {
    const auto limit = impossibleTolerance(curve, c.tol);
    ASSERT_EQ(limit.has_value(), c.input != nullptr) << (c.input ? c.input : "none");
    if (!limit) continue;
    EXPECT_EQ(limit->input, c.input);
    EXPECT_LE(limit->lowest, 0);
  }
  EXPECT_NEAR(impossibleTolerance(curve, {3, 0, 0, 0, 0, 5})->lowest, 2.2 - 3 * k, 1e-12);
  // The comparison samples no impossible spring: it says why it has no scatter.
  ComparisonInput in;
  in.designs.push_back(curve);
  in.tolerances = {0, 0, 100, 0, 0, 5};
  in.samples = 100;
  const ComparisonResult r = runComparison(in);
  EXPECT_FALSE(r.hasScatter);
  ASSERT_TRUE(r.impossible);
  EXPECT_EQ(r.impossible->input, "R");
  EXPECT_EQ(toleranceLimitZh(*r.impossible).rfind("R 的公差使抽样的弹簧 R 降到 -201.02 mm", 0), 0U)
      << toleranceLimitZh(*r.impossible);
}

TEST(Scatter, StatisticsOfNoSpringsOrOfUnevaluableSpringsAreUndefined) {
  const DesignCurve curve = curveWith();
  const std::vector<double> grid = bandGrid(curve, 4);
  struct Case {
    const char* what;
    Tolerances tol;
    int samples;
    bool meanDefined, sharesDefined;
  };
  const Case cases[] = {
      {"no springs", defaultTolerances(curve.g), 0, false, false},
      {"one spring has no sigma", defaultTolerances(curve.g), 1, true, true},
      {"loads beyond the range of numbers", {1e300, 0, 0, 0, 0, 5}, 50, false, false},
      {"squares beyond the range of numbers", {0, 0, 0, 0, 1e300, 5}, 50, true, true},
  };
  for (const Case& c : cases) {
    const MonteCarlo mc = monteCarlo(curve, c.tol, grid, c.samples, 3, 1);
    for (const Stats* s : {&mc.F1B, &mc.F1A, &mc.F1C, &mc.releaseForceMax}) {
      EXPECT_EQ(std::isfinite(s->mean), c.meanDefined) << c.what;
      EXPECT_EQ(std::isfinite(s->min), c.meanDefined) << c.what;
      EXPECT_TRUE(std::isnan(s->sigma)) << c.what;  // never a σ of 0 made of nothing
    }
    EXPECT_EQ(std::isfinite(mc.withinClampTolerance), c.sharesDefined) << c.what;
    EXPECT_EQ(std::isfinite(mc.F1AatLeastF1B), c.sharesDefined) << c.what;
  }
}

TEST(Scatter, SensitivitiesAgreeWithCentralDifferences) {
  const DesignCurve curve = curveWith();
  const SpringParams n = nominalParams(curve);
  const Sensitivity s = sensitivities(curve);
  struct Case {
    double SpringParams::*member;
    double step, analytic;
  };
  const Case cases[] = {{&SpringParams::h, 1e-4, s.h},
                        {&SpringParams::H, 1e-4, s.H},
                        {&SpringParams::R, 1e-3, s.R},
                        {&SpringParams::r, 1e-3, s.r},
                        {&SpringParams::E, 1.0, s.E}};
  for (const Case& c : cases) {
    SpringParams up = n, down = n;
    up.*c.member += c.step;
    down.*c.member -= c.step;
    const double central = (windowLoad(up, curve.clutch.mu, curve.p.lambda1B) -
                            windowLoad(down, curve.clutch.mu, curve.p.lambda1B)) / (2 * c.step);
    EXPECT_NEAR(c.analytic, central, 1e-5 * std::fabs(central) + 1e-9);
  }
  // The window's F1B at the nominal: the gradient's value is the law's.
  EXPECT_NEAR(loadGradient(n, curve.clutch.mu, curve.p.lambda1B).F, curve.p.F1B, 1e-9 * curve.p.F1B);
}

TEST(Scatter, DefaultTolerancesFollowTheStandardsTables) {
  struct Case {
    search::Geometry g;
    double h, H, R, r;
  };
  const Case cases[] = {
      // t 2.2: t +0.04/−0.12, l0 +0.20/−0.10; De 190 (h12 0.46), Di 140 (H12 0.40).
      {{2.2, 4.0, 95, 70, 93, 72}, 0.08, 0.15, 0.115, 0.10},
      // t 1.0: +0.03/−0.09, l0 +0.10/−0.05; De 60 (0.30), Di 40 (0.25).
      {{1.0, 1.8, 30, 20, 28, 22}, 0.06, 0.075, 0.075, 0.0625},
      // t 4.0: +0.05/−0.15, l0 +0.30/−0.15; De 300 (0.52), Di 200 (0.46).
      {{4.0, 7.0, 150, 100, 148, 102}, 0.10, 0.225, 0.13, 0.115},
  };
  for (const Case& c : cases) {
    const Tolerances t = defaultTolerances(c.g);
    EXPECT_DOUBLE_EQ(t.h, c.h);
    EXPECT_DOUBLE_EQ(t.l0, c.H);
    EXPECT_DOUBLE_EQ(t.R, c.R);
    EXPECT_DOUBLE_EQ(t.r, c.r);
    EXPECT_EQ(t.clampPercent, 5);
  }
}

MeasuredCurve synthetic(const DesignCurve& d, double dh, double dH, double noise, std::uint64_t seed) {
  SpringParams p = nominalParams(d);
  p.h += dh;
  p.H += dH;
  MeasuredCurve m;
  m.name = "synthetic";
  const double end = d.lambdaEnd();
  for (int i = 1; i <= 400; ++i) {  // a rig samples a few hundred points
    const double l = end * i / 400;
    const double F = windowLoad(p, d.clutch.mu, l);
    m.loading.emplace_back(l, F * (1 + noise * normalDeviates(seed, static_cast<std::uint64_t>(i))[0]));
  }
  return m;
}

TEST(Calibration, RecoversTheThicknessAndConeHeightOfAMeasuredCurve) {
  const DesignCurve d = curveWith();
  struct Case {
    double dh, dH, noise, tolerance;
  };
  const Case cases[] = {
      {0.03, -0.05, 0.0, 1e-7},
      {0.03, -0.05, 0.01, 0.005},
      {-0.04, 0.08, 0.01, 0.005},
  };
  for (const Case& c : cases) {
    const Calibration fit = calibrate(d, synthetic(d, c.dh, c.dH, c.noise, 5));
    EXPECT_TRUE(fit.converged);
    EXPECT_NEAR(fit.h, d.g.h + c.dh, c.tolerance);
    EXPECT_NEAR(fit.H, d.g.H + c.dH, c.tolerance);
    // With 1 % noise the fit's RMS is about 1 % of the loads; exact data fit to nothing.
    EXPECT_LT(fit.rms, 1.5 * c.noise * d.points[0].second + 1e-6);
  }
}

TEST(Calibration, DeviationsAtBAndAAndTheRmsOfAMeasuredCurve) {
  const DesignCurve d = curveWith();
  MeasuredCurve m = synthetic(d, 0, 0, 0, 1);
  for (auto& p : m.loading) p.second *= 1.02;
  const MeasuredComparison c = compareMeasured(d, m);
  EXPECT_NEAR(c.atB.percent, 2.0, 0.01);  // linear interpolation between 400 points
  EXPECT_NEAR(c.atA.percent, 2.0, 0.01);
  EXPECT_NEAR(c.atB.newton, 0.02 * d.p.F1B, 0.001 * d.p.F1B);
  EXPECT_GT(c.rms, 0.0);
  EXPECT_EQ(c.overlap, 400);
  // A curve measured only below A says nothing at B.
  m.loading.resize(5);
  const MeasuredComparison partial = compareMeasured(d, m);
  EXPECT_TRUE(std::isnan(partial.atB.newton));
}

}  // namespace
}  // namespace diaspring::compare

namespace diaspring::compare {
namespace {

TEST(Scatter, DeviatesAreIndependentStandardNormals) {
  constexpr int kN = 40000;
  double sum[5] = {}, sq[5] = {}, cross = 0;
  int beyond3 = 0;
  for (int i = 0; i < kN; ++i) {
    const auto z = normalDeviates(kDefaultSeed, static_cast<std::uint64_t>(i));
    for (int k = 0; k < 5; ++k) sum[k] += z[k], sq[k] += z[k] * z[k], beyond3 += std::fabs(z[k]) > 3;
    cross += z[0] * z[4];  // the pair that comes from different uniforms
  }
  for (int k = 0; k < 5; ++k) {
    EXPECT_NEAR(sum[k] / kN, 0, 0.02) << k;
    EXPECT_NEAR(sq[k] / kN, 1, 0.03) << k;
  }
  EXPECT_NEAR(cross / kN, 0, 0.02);
  EXPECT_NEAR(beyond3 / (5.0 * kN), 0.0027, 0.0012);  // the normal's two tails beyond 3σ
}

TEST(Scatter, BandsHoldTheNominalCurve) {
  const DesignCurve curve = curveWith();
  const std::vector<double> grid = bandGrid(curve, 30);
  const Tolerances tol = defaultTolerances(curve.g);
  const WorstCase w = worstCase(curve, tol, grid);
  const MonteCarlo mc = monteCarlo(curve, tol, grid, 4000, 2, 2);
  for (std::size_t i = 1; i < grid.size(); ++i) {
    const double F = curve.load(grid[i]);
    EXPECT_LE(w.lower[i], F);
    EXPECT_GE(w.upper[i], F);
    EXPECT_LT(mc.mean[i] - 3 * mc.sigma[i], F);
    EXPECT_GT(mc.mean[i] + 3 * mc.sigma[i], F);
  }
  // At λ1 = 0 every spring carries nothing: no scatter.
  EXPECT_EQ(mc.sigma[0], 0);
}

TEST(DesignCurve, SaysWhyADesignHasNoCurve) {
  struct Case {
    const char* key;
    const char* text;
    const char* words;
  };
  const Case cases[] = {
      // The window's causes, naming the box.
      {"h", "1E999", "膜片厚度 h 框的“1E999”超出数值范围"},
      {"h", "-1", "膜片厚度 h = -1：膜片厚度必须大于 0"},
      {"h", "abc", "膜片厚度 h 框的“abc”读作 0：膜片没有厚度"},
      {"HoverH", "1.3", kNoPeakCause},
      {"mu", "1", "泊松比 μ = 1：1 − μ² 为 0"},
  };
  for (const Case& c : cases) {
    DesignInputs in;
    in.setText(*inputBoxOfKey(c.key), c.text);
    const DesignCurve d = designCurve(in, "x");
    EXPECT_FALSE(d.ok()) << c.key;
    EXPECT_NE(d.error.find(c.words), std::string::npos) << d.error;
  }
  // The points are the window's: B at 0.91 of H, A and C the travels from B.
  const DesignCurve d = curveWith();
  EXPECT_DOUBLE_EQ(d.points[3].first, 0.91 * d.points[2].first);
  EXPECT_DOUBLE_EQ(d.points[4].first, d.points[3].first - d.clutch.dLambda);
  EXPECT_DOUBLE_EQ(d.points[5].first, d.points[3].first + d.clutch.lambda1f);
}

}  // namespace
}  // namespace diaspring::compare
