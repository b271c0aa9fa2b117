#include "compare/curve_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace diaspring::compare {
namespace {

// Two designs and two measured curves, named for their rows.
ComparisonInput fourRows() {
  ComparisonInput in;
  in.designs.resize(2);
  in.designs[0].name = "d0";
  in.designs[1].name = "d1";
  in.measured.resize(2);
  in.measured[0].name = "m2";
  in.measured[1].name = "m3";
  return in;
}

std::vector<std::string> names(const ComparisonInput& in) {
  std::vector<std::string> out;
  for (const DesignCurve& d : in.designs) out.push_back(d.name);
  for (const MeasuredCurve& m : in.measured) out.push_back(m.name);
  return out;
}

// A row goes from the input and from every column beside it, whichever
// list it is in; the current design and rows that do not exist stay.
TEST(CurveList, RemovingARowTakesItFromEveryColumn) {
  struct Case {
    int row;
    bool removed;
    std::vector<std::string> left;
  };
  const Case cases[] = {
      {1, true, {"d0", "m2", "m3"}},       {2, true, {"d0", "d1", "m3"}}, {3, true, {"d0", "d1", "m2"}},
      {0, false, {"d0", "d1", "m2", "m3"}}, {4, false, {"d0", "d1", "m2", "m3"}},
      {-1, false, {"d0", "d1", "m2", "m3"}},
  };
  for (const Case& c : cases) {
    ComparisonInput in = fourRows();
    std::vector<int> styles{0, 1, 2, 3};
    std::vector<std::string> kinds{"d0", "d1", "m2", "m3"};
    EXPECT_EQ(removeCurveRow(in, c.row, styles, kinds), c.removed) << c.row;
    EXPECT_EQ(names(in), c.left) << c.row;
    EXPECT_EQ(kinds, c.left) << c.row;
    ASSERT_EQ(styles.size(), c.left.size()) << c.row;
    for (std::size_t i = 0; i < styles.size(); ++i) EXPECT_EQ(styles[i], c.left[i].back() - '0') << c.row;
  }
}

// A fit is typed into the window only with a finite positive thickness and
// a finite cone height; otherwise the refusal says why, with the fit's own
// reason when it has one.
TEST(CurveList, AFitIsRefusedWhenItCannotBeTyped) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double h, H;
    const char* why;
    std::string expect;
  };
  const Case cases[] = {
      {2.1, 4.0, "", ""},
      {0, 4.0, "", "这条实测曲线没有可用的拟合结果。"},
      {nan, 4.0, "不收敛", "这条实测曲线没有可用的拟合结果：不收敛"},
      {2.1, INFINITY, "", "这条实测曲线没有可用的拟合结果。"},
  };
  for (const Case& c : cases) {
    Calibration fit;
    fit.h = c.h;
    fit.H = c.H;
    fit.whyZh = c.why;
    EXPECT_EQ(fitRefusalZh(fit), c.expect) << c.h << " " << c.H;
  }
}

// Only the rows shown are drawn, each in its own style.
TEST(CurveList, TheSceneHoldsTheRowsShown) {
  const ComparisonInput in = fourRows();
  const ComparisonScene s = shownScene(in, {}, {true, false, false, true}, {5, 6, 7, 4}, false);
  ASSERT_EQ(s.designs.size(), 1U);
  EXPECT_EQ(s.designs[0].curve.name, "d0");
  EXPECT_EQ(s.designs[0].style, 5);
  ASSERT_EQ(s.measured.size(), 1U);
  EXPECT_EQ(s.measured[0].curve.name, "m3");
  EXPECT_EQ(s.measured[0].style, 4);
  EXPECT_FALSE(s.band);
}

}  // namespace
}  // namespace diaspring::compare
