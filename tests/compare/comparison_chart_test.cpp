#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <vector>
#include <string>

#include "chart/display_list.h"
#include "compare/comparison.h"

#include <cmath>

namespace diaspring::compare {
namespace {

ComparisonInput eightCurves() {
  ComparisonInput in;
  const char* hs[] = {"2.0", "2.1", "2.2", "2.3", "2.4", "2.5", "2.6"};
  for (const char* h : hs) {
    DesignInputs d;
    d.setText(*inputBoxOfKey("h"), h);
    in.designs.push_back(designCurve(d, std::string("h=") + h));
  }
  MeasuredCurve m;
  m.name = "rig";
  m.loading = {{0, 0}, {1, 4000}, {2, 6000}};
  m.unloading = {{2, 6000}, {1, 3000}, {0, 0}};
  in.measured.push_back(m);
  in.samples = 500;
  return in;
}

TEST(ComparisonChart, EveryCurveHasItsOwnStyleAndTheAxesHoldEverything) {
  const ComparisonInput in = eightCurves();
  const ComparisonResult r = runComparison(in);
  ASSERT_TRUE(r.hasScatter);
  const ComparisonScene scene = sceneOf(in, r);
  DisplayList chart;
  const ComparisonFrame frame = drawComparison(chart, scene);

  // Eight entries, eight different colours and eight different patterns.
  std::set<Color> colors;
  std::set<std::vector<float>> patterns;
  for (int i = 0; i < kMaxCompared; ++i) colors.insert(curveStyle(i).color), patterns.insert(curveStyle(i).dashes);
  EXPECT_EQ(colors.size(), 8U);
  EXPECT_EQ(patterns.size(), 8U);

  std::set<Color> used;
  std::set<std::string> texts;
  for (const DrawOp& op : chart.ops()) {
    if (op.kind == DrawOp::Kind::Line) {
      used.insert(op.color);
      // Nothing is drawn outside the chart's own coordinate system.
      for (float x : {op.x1, op.x2}) EXPECT_TRUE(x >= frame.left && x <= frame.right) << x;
      for (float y : {op.y1, op.y2}) EXPECT_TRUE(y <= frame.top && y >= frame.bottom) << y;
    }
    if (op.kind == DrawOp::Kind::Print) texts.insert(chart.text(op));
  }
  for (const ShownDesign& d : scene.designs) {
    EXPECT_TRUE(used.count(curveStyle(d.style).color)) << d.curve.name;
    EXPECT_TRUE(texts.count(d.curve.name)) << d.curve.name;
  }
  EXPECT_TRUE(texts.count("rig 加载"));
  EXPECT_TRUE(texts.count("rig 卸载"));
  EXPECT_TRUE(texts.count("抽样 ±3σ"));
  EXPECT_TRUE(texts.count("公差极限"));
  // The axes hold every curve's peak and the band, and end on whole ticks.
  for (const ShownDesign& d : scene.designs) EXPECT_LE(d.curve.p.lambda1C, frame.data.x1);
  for (double v : scene.band->sigmaUpper) EXPECT_LE(v, frame.data.y1);
  const double step = niceStep(frame.data.y1 - frame.data.y0, 7);
  EXPECT_NEAR(std::remainder(frame.data.y1, step), 0, 1e-9 * step);
}

TEST(ComparisonChart, PointsThatNearlyCoincideShareOneLabel) {
  // The default design's valley N and point C lie 0.01 mm and 0.3 N apart;
  // with h = 2.6 they are 0.30 mm apart.
  struct Case {
    const char* h;
    std::vector<std::string> labels;
  };
  for (const Case& c : {Case{"2.2", {"M", "N,C", "H", "B", "A"}}, Case{"2.6", {"M", "N", "H", "B", "A", "C"}}}) {
    ComparisonInput in;
    DesignInputs d;
    d.setText(*inputBoxOfKey("h"), c.h);
    in.designs.push_back(designCurve(d, "x"));
    ASSERT_TRUE(in.designs[0].ok());
    DisplayList chart;
    drawComparison(chart, sceneOf(in, runComparison(in)));
    std::multiset<std::string> shown;
    for (const DrawOp& op : chart.ops())
      if (op.kind == DrawOp::Kind::Print && chart.text(op).size() <= 3 && std::isupper(chart.text(op)[0]))
        shown.insert(chart.text(op));
    EXPECT_EQ(shown, std::multiset<std::string>(c.labels.begin(), c.labels.end())) << c.h;
  }
}

TEST(ComparisonChart, ReadoutGivesEveryCurvesLoadAtTheCursor) {
  const ComparisonInput in = eightCurves();
  const ComparisonScene scene = sceneOf(in, {});
  const std::vector<Reading> at = readoutAt(scene, 1.5);
  ASSERT_EQ(at.size(), 8U);
  EXPECT_DOUBLE_EQ(at[0].F1, in.designs[0].load(1.5));
  EXPECT_DOUBLE_EQ(at[7].F1, 5000);
  EXPECT_TRUE(std::isnan(readoutAt(scene, 3.0)[7].F1));
}

}  // namespace
}  // namespace diaspring::compare

namespace diaspring::compare {
namespace {

// Whatever the scene holds, nothing drawn carries a coordinate that is not finite.
TEST(ComparisonChart, DrawsFiniteAxesForAnyScene) {
  DesignInputs flat;
  flat.setText(TextBox::Text6, "1.2");  // no peak: no curve
  MeasuredCurve spike;
  spike.name = "spike";
  spike.loading = {{0, 0}, {1e-9, 1e9}, {2e-9, 0}};
  struct Case {
    const char* name;
    ComparisonScene scene;
  };
  const Case cases[] = {
      {"empty", {}},
      {"design without a curve", {{{designCurve(flat, "flat"), 0}}, {}, {}}},
      {"measured spike only", {{}, {{spike, 1}}, {}}},
  };
  for (const Case& c : cases) {
    DisplayList chart;
    const ComparisonFrame frame = drawComparison(chart, c.scene);
    EXPECT_LT(frame.data.x0, frame.data.x1) << c.name;
    EXPECT_LT(frame.data.y0, frame.data.y1) << c.name;
    for (const DrawOp& op : chart.ops())
      for (float v : {op.x1, op.y1, op.x2, op.y2}) EXPECT_TRUE(std::isfinite(v)) << c.name;
  }
}

// A band or a measured curve beyond what a chart can draw: the chart draws
// the rest in a bounded number of operations and names what it left out.
TEST(ComparisonChart, DrawsWhatCanShowInBoundedOperationsAndNamesTheRest) {
  const DesignCurve d = designCurve(DesignInputs(), "design");
  const std::vector<double> grid = bandGrid(d, kBandSteps);
  const auto bandOf = [&](const Tolerances& tol, int samples) {
    const WorstCase w = worstCase(d, tol, grid);
    const MonteCarlo mc = monteCarlo(d, tol, grid, samples, 19, 1);
    ShownBand b{grid, w.lower, w.upper, {}, {}};
    for (std::size_t i = 0; i < grid.size() && samples > 1; ++i) {
      b.sigmaLower.push_back(mc.mean[i] - 3 * mc.sigma[i]);
      b.sigmaUpper.push_back(mc.mean[i] + 3 * mc.sigma[i]);
    }
    return b;
  };
  const auto measured = [](double lambdaScale, double loadScale) {
    MeasuredCurve m;
    m.name = "rig";
    for (int i = 1; i <= 40; ++i) m.loading.emplace_back(0.1 * i * lambdaScale, 100.0 * i * loadScale);
    return m;
  };
  struct Case {
    const char* name;
    ComparisonScene scene;
    std::vector<std::string> leftOut;
  };
  const Case cases[] = {
      {"h ± 1e300, one spring", {{{d, 0}}, {}, bandOf({1e300, 0, 0, 0, 0, 5}, 1)}, {"the scatter band"}},
      {"h ± 1e200", {{{d, 0}}, {}, bandOf({1e200, 0, 0, 0, 0, 5}, 20)}, {"the scatter band"}},
      {"H ± 1e300", {{{d, 0}}, {}, bandOf({0, 1e300, 0, 0, 0, 5}, 20)}, {"the scatter band"}},
      {"loads of 1e303 N", {{{d, 0}}, {{measured(1, 1e301), 1}}, {}}, {"rig"}},
      {"λ1 up to 1e300 mm", {{{d, 0}}, {{measured(2.5e299, 1), 1}}, {}}, {"rig"}},
      {"one spring: no σ", {{{d, 0}}, {}, bandOf(defaultTolerances(d.g), 1)}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(undrawable(c.scene), c.leftOut) << c.name;
    DisplayList chart;
    const ComparisonFrame frame = drawComparison(chart, c.scene);
    EXPECT_LT(chart.ops().size(), 20000U) << c.name;
    std::size_t designLines = 0;
    for (const DrawOp& op : chart.ops()) {
      for (float v : {op.x1, op.y1, op.x2, op.y2}) ASSERT_TRUE(std::isfinite(v)) << c.name;
      if (op.kind == DrawOp::Kind::Line && op.color == curveStyle(0).color) ++designLines;
      if (op.kind == DrawOp::Kind::Print) {
        EXPECT_NE(chart.text(op), "±3σ Monte Carlo") << c.name;
      }
    }
    // The design's curve still shows, on axes fitted to what can show.
    EXPECT_GT(designLines, 150U) << c.name;
    EXPECT_LT(frame.data.y1, 1e5) << c.name;
  }
}

// A fit the points cannot determine is refused with its reason; nothing
// of it (h, H, the RMS) is left to be shown as a result.
TEST(Calibration, RefusesAFitThePointsCannotDetermine) {
  const DesignCurve d = designCurve(DesignInputs(), "d");
  const auto points = [](int count, auto load, double lambdaScale = 1) {
    std::vector<XY> out;
    for (int i = 1; i <= count; ++i) {
      const double l = lambdaScale * 4.5 * i / count;
      out.emplace_back(l, load(l));
    }
    return out;
  };
  SpringParams mirrored = nominalParams(d);
  mirrored.H = -mirrored.H;  // a cone turned over: a curve with no peak
  const search::LoadLaw flipped(geometryOf(mirrored), mirrored.E, d.clutch.mu);
  struct Case {
    const char* name;
    std::vector<XY> loading;
    const char* words;
  };
  const Case cases[] = {
      {"three points of the law", points(3, [&](double l) { return d.load(l); }), "needs at least 5"},
      {"all zero", points(40, [](double) { return 0.0; }), "every measured load is 0"},
      {"loads of 1e303", points(40, [](double l) { return 1e303 * l; }), "beyond the range"},
      {"λ1 up to 1e300", points(40, [](double l) { return 1000 * l; }, 2e299), "beyond the range"},
      {"negative loads", points(40, [](double l) { return -100 * l; }), "no curvature"},
      {"a cone turned over", points(40, [&](double l) { return flipped(l); }), "which is no cone height"},
      {"a straight line", points(40, [](double l) { return 1500 * l; }), "no curvature"},
  };
  for (const Case& c : cases) {
    MeasuredCurve m;
    m.loading = c.loading;
    const Calibration fit = calibrate(d, m);
    EXPECT_FALSE(fit.converged) << c.name;
    EXPECT_NE(fit.why.find(c.words), std::string::npos) << c.name << ": " << fit.why;
    EXPECT_FALSE(fit.why.empty() || fit.whyZh.empty()) << c.name;
    for (double v : {fit.h, fit.H, fit.rms, fit.hSigma}) EXPECT_TRUE(std::isnan(v)) << c.name;
  }
}

// The uncertainty of each fitted value is its standard error: over many
// rigs with the same noise the fits scatter by about the uncertainty each reports.
TEST(Calibration, UncertaintiesAreTheScatterOfTheFitOverRepeatedMeasurements) {
  const DesignCurve d = designCurve(DesignInputs(), "d");
  SpringParams truth = nominalParams(d);
  truth.h += 0.03;
  truth.H -= 0.05;
  const search::LoadLaw law(geometryOf(truth), truth.E, d.clutch.mu);
  constexpr int kRigs = 40;
  double sumH = 0, sumSqH = 0, sumh = 0, sumSqh = 0, sigmah = 0, sigmaH = 0;
  for (int rig = 0; rig < kRigs; ++rig) {
    MeasuredCurve m;
    for (int i = 1; i <= 100; ++i) {
      const double l = d.lambdaEnd() * i / 100;
      m.loading.emplace_back(l, law(l) + 20 * normalDeviates(1000 + rig, static_cast<std::uint64_t>(i))[0]);
    }
    const Calibration fit = calibrate(d, m);
    ASSERT_TRUE(fit.converged) << rig << ": " << fit.why;
    sumh += fit.h, sumSqh += fit.h * fit.h, sigmah += fit.hSigma / kRigs;
    sumH += fit.H, sumSqH += fit.H * fit.H, sigmaH += fit.HSigma / kRigs;
  }
  const auto spread = [](double s, double sq) { return std::sqrt((sq - s * s / kRigs) / (kRigs - 1)); };
  EXPECT_NEAR(sumh / kRigs, truth.h, 3 * sigmah / std::sqrt(kRigs));
  EXPECT_NEAR(sumH / kRigs, truth.H, 3 * sigmaH / std::sqrt(kRigs));
  // 40 rigs estimate a spread to about ±11 % (1σ); allow three times that.
  EXPECT_NEAR(spread(sumh, sumSqh) / sigmah, 1, 0.35);
  EXPECT_NEAR(spread(sumH, sumSqH) / sigmaH, 1, 0.35);
}

}  // namespace
}  // namespace diaspring::compare
