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

TEST(Calibration, DegenerateMeasurementsGiveFiniteOrNoFit) {
  const DesignCurve d = designCurve(DesignInputs(), "d");
  struct Case {
    const char* name;
    std::vector<XY> loading;
  };
  const Case cases[] = {
      {"all zero", {{0.5, 0}, {1, 0}, {1.5, 0}, {2, 0}}},
      {"negative loads", {{0.5, -100}, {1, -200}, {1.5, -300}}},
      {"huge loads", {{0.5, 1e12}, {1, 2e12}, {1.5, 3e12}}},
  };
  for (const Case& c : cases) {
    MeasuredCurve m;
    m.loading = c.loading;
    const Calibration fit = calibrate(d, m);
    EXPECT_TRUE(std::isfinite(fit.rms)) << c.name;
    EXPECT_GT(fit.h, 0) << c.name;
    // The fit is no worse than the design it started from.
    const MeasuredComparison cmp = compareMeasured(d, m);
    EXPECT_LE(fit.rms, cmp.rms * (1 + 1e-12)) << c.name;
  }
}

}  // namespace
}  // namespace diaspring::compare
