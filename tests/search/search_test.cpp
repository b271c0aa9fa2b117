#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "runtime/convert.h"
#include "search/search.h"
#include "support/search_corner.h"
#include "support/window_fixture.h"

namespace diaspring::search {
namespace {

using diaspring::testing::narrowed;
using diaspring::testing::searchOver;
using diaspring::testing::TestWindow;

const Result& narrowedResult() {
  static const Result result = runSearch(DesignInputs(), narrowed());
  return result;
}

bool dominates(const Design& a, const Design& b) {
  return a.wearRise <= b.wearRise && a.releaseForceMax <= b.releaseForceMax &&
         (a.wearRise < b.wearRise || a.releaseForceMax < b.releaseForceMax);
}

// Every design typed into a fresh window and pressed, curve then check,
// passes all twelve rules without a fault; the search's F1B is the window's.
TEST(Search, EveryDesignPassesInAFreshWindow) {
  const Result& result = narrowedResult();
  ASSERT_GE(result.designs.size(), 5u);
  EXPECT_FALSE(result.infeasible);
  for (const Design& d : result.designs) {
    TestWindow w;
    d.inputs.typeInto(w.fields);
    ASSERT_FALSE(w.curve());
    ASSERT_FALSE(w.check());
    for (int i = 0; i < kRuleCount; ++i) {
      const std::string shown = w.text(ruleInfo(i).box);
      EXPECT_NE(shown.find("合格"), std::string::npos) << d.inputs.text(TextBox::Text4) << " rule " << i + 1;
      EXPECT_EQ(shown.find("不合格"), std::string::npos) << d.inputs.text(TextBox::Text4) << " rule " << i + 1;
    }
    EXPECT_EQ(format(d.F1B, "0.000"), w.text(TextBox::Text18));
    // Only the four free inputs differ from the base design.
    for (const InputBox& input : inputBoxes()) {
      if (input.box == TextBox::Text4 || input.box == TextBox::Text6 || input.box == TextBox::Text7 ||
          input.box == TextBox::Text9)
        continue;
      EXPECT_EQ(d.inputs.text(input.box), DesignInputs().text(input.box)) << input.name;
    }
  }
}

// No returned design is beaten on both objectives by another; they come by
// wearRise ascending; the free inputs lie within their ranges.
TEST(Search, ResultIsAParetoSetInRange) {
  const Result& result = narrowedResult();
  const Options o = narrowed();
  for (std::size_t i = 0; i < result.designs.size(); ++i) {
    const Design& a = result.designs[i];
    if (i > 0) {
      EXPECT_LE(result.designs[i - 1].wearRise, a.wearRise);
    }
    for (const Design& b : result.designs) EXPECT_FALSE(dominates(b, a));
    const std::pair<TextBox, Range> free[] = {{TextBox::Text4, o.ranges.h},
                                              {TextBox::Text6, o.ranges.HoverH},
                                              {TextBox::Text7, o.ranges.R},
                                              {TextBox::Text9, o.ranges.RoverR}};
    for (const auto& [box, range] : free) {
      const double v = val(a.inputs.text(box)).value();
      EXPECT_GE(v, range.low);
      EXPECT_LE(v, range.high);
    }
  }
  EXPECT_GT(result.feasible, result.designs.size());
  EXPECT_EQ(result.rejectedByWindow, 0u);
}

// h carries the fewest decimals that keep rule 1: with one decimal less,
// neither neighbouring text brings F1B within 1 N of F.
TEST(Search, ThicknessHasTheFewestDecimals) {
  for (const Design& d : narrowedResult().designs) {
    const std::string h = d.inputs.text(TextBox::Text4);
    const std::size_t point = h.find('.');
    if (point == std::string::npos) continue;
    const int decimals = static_cast<int>(h.size() - point - 1);
    const double scale = std::pow(10.0, decimals - 1);
    const double below = std::floor(val(h).value() * scale);
    for (double k : {below, below + 1}) {
      DesignInputs shorter = d.inputs;
      shorter.setText(TextBox::Text4, decimalText(static_cast<long long>(k), decimals - 1));
      EXPECT_FALSE(checkInWindow(shorter).passed) << h << " -> " << shorter.text(TextBox::Text4);
    }
  }
}

TEST(Search, SameOutputForAnyNumberOfThreads) {
  const Result one = runSearch(DesignInputs(), narrowed(1));
  const Result& two = narrowedResult();
  ASSERT_EQ(one.designs.size(), two.designs.size());
  for (std::size_t i = 0; i < one.designs.size(); ++i) {
    EXPECT_EQ(one.designs[i].inputs, two.designs[i].inputs);
    EXPECT_EQ(one.designs[i].wearRise, two.designs[i].wearRise);
    EXPECT_EQ(one.designs[i].releaseForceMax, two.designs[i].releaseForceMax);
  }
  EXPECT_EQ(one.evaluated, two.evaluated);
  EXPECT_EQ(one.solved, two.solved);
  EXPECT_EQ(one.feasible, two.feasible);
}

// Requests no design can meet: the explanation names the rule that holds
// nowhere and the nearest design's misses, rather than an empty success.
TEST(Search, ImpossibleRequestsAreExplained) {
  struct Case {
    const char* what;
    TextBox box;
    const char* text;
    int neverMetRule;  // 0-based
  };
  const Case cases[] = {
      {"disc too small for R1", TextBox::Text34, "120", 7},
      {"release bearing far outside r0", TextBox::Text37, "30", 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DesignInputs base;
    base.setText(c.box, c.text);
    const Result result = runSearch(base, narrowed());
    EXPECT_TRUE(result.designs.empty());
    ASSERT_TRUE(result.infeasible);
    EXPECT_TRUE(result.infeasible->neverMet[static_cast<std::size_t>(c.neverMetRule)]);
    ASSERT_TRUE(result.infeasible->nearest);
    const auto& misses = result.infeasible->misses;
    EXPECT_TRUE(std::any_of(misses.begin(), misses.end(), [&](const Miss& m) {
      return m.rule == c.neverMetRule && m.outcome.miss > 0;
    }));
    const std::string text = explainEnglish(*result.infeasible, narrowed());
    EXPECT_NE(text.find("rule " + std::to_string(c.neverMetRule + 1) + " ("), std::string::npos) << text;
    EXPECT_NE(text.find("misses by"), std::string::npos) << text;
    EXPECT_NE(explainChinese(*result.infeasible, narrowed()).find("不满足"), std::string::npos);
  }
}

TEST(Search, BadRequestsAreRefused) {
  const std::pair<const char*, Options> cases[] = {
      {"the range of R", [] { Options o; o.ranges.R = {90, 80}; return o; }()},
      {"the range of h", [] { Options o; o.ranges.h = {0, 3}; return o; }()},
      {"holds no value", [] { Options o; o.ranges.RoverR = {1.231, 1.239}; return o; }()},
      {"divided by", [] { Options o; o.gridDivisions = 3; return o; }()},
  };
  for (const auto& [message, options] : cases) {
    try {
      runSearch(DesignInputs(), options);
      ADD_FAILURE() << "no error: " << message;
    } catch (const SearchError& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
  }
  DesignInputs unreadable;
  unreadable.setText(TextBox::Text31, "1E999");
  EXPECT_THROW(runSearch(unreadable, narrowed()), SearchError);
}

// A cancelled search says so and claims neither designs nor impossibility.
TEST(Search, CancelStopsWithoutAVerdict) {
  std::atomic<bool> cancel{true};
  Options o = narrowed();
  o.cancel = &cancel;
  const Result result = runSearch(DesignInputs(), o);
  EXPECT_TRUE(result.cancelled);
  EXPECT_TRUE(result.designs.empty());
  EXPECT_FALSE(result.infeasible);
}

// The seam for the strength analysis: a further objective joins the ranking,
// a further constraint removes designs and, when none is left, is named.
TEST(Search, FurtherObjectivesAndConstraints) {
  Options o = narrowed();
  o.ranges.HoverH = {1.8, 1.85};
  o.ranges.R = {88, 90};
  o.refine = false;
  o.extraObjectives.push_back({"thickness", [](const DesignView& v) { return v.geometry.h; }});
  const Result three = runSearch(DesignInputs(), o);
  ASSERT_FALSE(three.designs.empty());
  Options two = o;
  two.extraObjectives.clear();
  EXPECT_GT(three.designs.size(), runSearch(DesignInputs(), two).designs.size());
  for (const Design& d : three.designs) {
    // What a further objective sees is the record the curve command leaves.
    TestWindow w;
    d.inputs.typeInto(w.fields);
    ASSERT_FALSE(w.curve());
    const Geometry g = captureGeometry(d.inputs.text(TextBox::Text4), d.inputs.text(TextBox::Text6),
                                       d.inputs.text(TextBox::Text7), d.inputs.text(TextBox::Text9));
    const auto points = findWorkingPoints(LoadLaw(g, 210000, 0.3), 1.6, 1.6);
    ASSERT_TRUE(points);
    const ClutchData clutch{210000, 0.3, 4593, 180, 125, 18, 20, 1.6, 1.6};
    const SpringDesign s = springDesignOf({d.inputs, g, *points, clutch});
    for (Num SpringDesign::*field : {&SpringDesign::R, &SpringDesign::r, &SpringDesign::R1, &SpringDesign::r1,
                                     &SpringDesign::H, &SpringDesign::h, &SpringDesign::E, &SpringDesign::mu,
                                     &SpringDesign::lambda1M, &SpringDesign::lambda1H, &SpringDesign::lambda1B,
                                     &SpringDesign::lambda1A, &SpringDesign::lambda1C})
      EXPECT_EQ((s.*field).value(), (w.design().*field).value());
    ASSERT_EQ(d.extra.size(), 1u);
    EXPECT_EQ(d.extra[0], val(d.inputs.text(TextBox::Text4)).value());
  }

  o.constraints.push_back({"thin enough", [](const DesignView& v) -> std::optional<double> {
                             return v.geometry.h < 1 ? std::nullopt : std::optional<double>(v.geometry.h - 1);
                           }});
  const Result none = runSearch(DesignInputs(), o);
  EXPECT_TRUE(none.designs.empty());
  ASSERT_TRUE(none.infeasible);
  ASSERT_EQ(none.infeasible->constraintsNeverMet.size(), 1u);
  EXPECT_NE(explainEnglish(*none.infeasible, o).find("thin enough"), std::string::npos);
}

// The finer grid around the front finds the front of a search over the
// whole grid four times finer, at a fraction of the points; and nothing the
// coarse grid found beats what the refined search returns.
TEST(Search, RefiningFindsTheFrontOfTheFinerGrid) {
  Options o = searchOver({.HoverH = {1.76, 1.84}, .R = {88, 90}, .RoverR = {1.3, 1.35}});
  o.refine = false;
  const Result coarse = runSearch(DesignInputs(), o);
  o.gridDivisions = 4;
  const Result fine = runSearch(DesignInputs(), o);
  o.gridDivisions = 1;
  o.refine = true;
  const Result refined = runSearch(DesignInputs(), o);
  ASSERT_FALSE(coarse.designs.empty());
  ASSERT_EQ(refined.designs.size(), fine.designs.size());
  for (std::size_t i = 0; i < fine.designs.size(); ++i) {
    EXPECT_EQ(refined.designs[i].inputs, fine.designs[i].inputs) << i;
    EXPECT_EQ(refined.designs[i].wearRise, fine.designs[i].wearRise) << i;
  }
  EXPECT_LT(refined.evaluated, fine.evaluated / 4);
  for (const Design& c : coarse.designs)
    EXPECT_TRUE(std::any_of(refined.designs.begin(), refined.designs.end(), [&](const Design& r) {
      return r.wearRise <= c.wearRise && r.releaseForceMax <= c.releaseForceMax;
    }));
}

TEST(Search, ParetoFrontOfVectors) {
  const std::vector<std::vector<double>> v = {{3, 1}, {1, 3}, {2, 2}, {2, 3}, {1, 3}, {4, 0.5}, {3, 3}};
  // {2,3} and {3,3} are dominated; the equal pair {1,3} both stay.
  EXPECT_EQ(paretoFront(v), (std::vector<std::size_t>{1, 4, 2, 0, 5}));
  EXPECT_TRUE(paretoFront({}).empty());
}

}  // namespace
TEST(Search, GridsTooLargeToCountAreRefusedBeforeAnyWork) {
  const auto ranges = [](Range hoverh, Range r, Range roverr) {
    Options o;
    o.ranges.HoverH = hoverh;
    o.ranges.R = r;
    o.ranges.RoverR = roverr;
    o.refine = false;
    return o;
  };
  const Options cases[] = {
      // Each axis alone fits; their product overflows a 64-bit count.
      ranges({0.01, 175921860444.16}, {0.1, 102.4}, {0.01, 10.24}),
      ranges({1.5, 2.0}, {76, 1e300}, {1.2, 1.35}),  // indices beyond a whole number
      ranges({1.5, 2.0}, {76, 2e6}, {1.2, 1.35}),    // 60 million points
  };
  for (const Options& o : cases) EXPECT_THROW(runSearch(DesignInputs(), o), SearchError);
}

}  // namespace diaspring::search
