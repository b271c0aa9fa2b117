#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "runtime/bit_cast.h"
#include "search/grid_slice.h"
#include "search/search.h"
#include "search/strength_goals.h"
#include "support/search_corner.h"

namespace diaspring::search {
namespace {

// A small corner of the design space: a few thousand grid points, a front
// of several designs. The finer grid around the front is left out but in
// one case: it works on the merged points, as do the later steps.
Options corner() {
  Options o = testing::searchOver({.HoverH = {1.8, 2.0}, .R = {84, 87}, .RoverR = {1.28, 1.33}}, 1);
  o.refine = false;
  return o;
}

std::string bits(double x) {
  char text[20];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bitCast<std::uint64_t>(x)));
  return text;
}

// Everything a search returns, every number to the bit.
std::string fingerprint(const Result& r, const Options& options) {
  std::string out = std::to_string(r.evaluated) + " " + std::to_string(r.solved) + " " + std::to_string(r.feasible) +
                    " " + std::to_string(r.finished) + " " + std::to_string(r.verified) + " " +
                    std::to_string(r.rejectedByWindow) + " " + std::to_string(r.rejectedByFinalTest) +
                    (r.cancelled ? " cancelled" : "") + "\n";
  for (const Design& d : r.designs) {
    for (TextBox box : {TextBox::Text4, TextBox::Text6, TextBox::Text7, TextBox::Text9}) out += d.inputs.text(box) + " ";
    for (double x : {d.wearRise, d.releaseForceMax, d.F1B, d.lambda1B}) out += bits(x) + " ";
    for (double x : d.extra) out += bits(x) + " ";
    out += "\n";
  }
  if (r.infeasible) {
    out += explainEnglish(*r.infeasible, options);
    for (const Miss& m : r.infeasible->misses) out += bits(m.outcome.value) + bits(m.outcome.miss) + "\n";
  }
  return out;
}

// Examines each step in slices cut at the given shares of its rows, each
// slice through its text, and merges them.
class CutShare : public GridShare {
 public:
  explicit CutShare(std::vector<double> cuts) : cuts_(std::move(cuts)) {}
  GridSlice examine(const GridStep& step) override {
    std::vector<std::size_t> at{0};
    for (double c : cuts_) at.push_back(static_cast<std::size_t>(c * static_cast<double>(step.rows)));
    at.push_back(step.rows);
    std::vector<GridSlice> slices;
    for (std::size_t i = 0; i + 1 < at.size(); ++i) slices.push_back(sliceFromText(sliceText(step.scan(at[i], at[i + 1], {}))));
    ++steps;
    return mergeSlices(std::move(slices), step.prune);
  }
  int steps = 0;

 private:
  std::vector<double> cuts_;
};

struct Case {
  const char* name;
  std::map<std::string, std::string> extras;  // analysis inputs; any: with the strength goals
  std::map<TextBox, std::string> texts;
  bool prune = true;
  bool refine = false;
};

const Case kCases[] = {
    {"twelve rules, refined", {}, {}, true, true},
    {"without pruning", {}, {}, false},
    {"with the strength goals", {{"sigmaAllow", "1700"}}, {}},
    {"no design meets sigma I", {{"sigmaAllow", "1300"}}, {}},
    {"no row passes the fixed rules", {}, {{TextBox::Text36, "40"}}},
};

DesignInputs baseOf(const Case& c) {
  DesignInputs base;
  for (const auto& [name, text] : c.extras) base.setExtra(name, text);
  for (const auto& [box, text] : c.texts) base.setText(box, text);
  return base;
}

Options optionsOf(const Case& c, const DesignInputs& base) {
  Options o = corner();
  o.prune = c.prune;
  o.refine = c.refine;
  if (!c.extras.empty()) {
    EXPECT_EQ(addStrengthGoals(o, base), "");
  }
  return o;
}

// Slices of any sizes, an empty one among them, merged: the search the
// same to the bit as one pass over the rows, its explanation included.
TEST(GridSlice, SlicesOfAnySizeMergeIntoTheWhole) {
  const std::vector<std::vector<double>> cutSets{{0.0, 0.01, 0.7}, {0.1, 0.3, 0.5, 0.6, 0.9}, {0.5}};
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    const Case& c = kCases[i];
    const DesignInputs base = baseOf(c);
    const Options whole = optionsOf(c, base);
    const std::string expected = fingerprint(runSearch(base, whole), whole);
    const std::vector<double>& cuts = cutSets[i % cutSets.size()];
    CutShare share(cuts);
    Options sliced = whole;
    sliced.share = &share;
    EXPECT_EQ(fingerprint(runSearch(base, sliced), sliced), expected) << c.name << ", " << cuts.size() + 1 << " slices";
    EXPECT_EQ(share.steps, c.texts.empty() ? 1 : 2) << c.name;  // the other rows only when no row can pass
  }
}

// Workers that each run the same search and stop at each step with their
// part, run again with the parts of all, as the page's workers do; the
// progress they report adds up to the step's rows.
TEST(GridSlice, WorkersThatStopAtEachStepEndWithTheWhole) {
  for (const auto& [c, parts] : {std::pair{kCases[2], 2u}, std::pair{kCases[4], 3u}}) {
    const DesignInputs base = baseOf(c);
    const Options whole = optionsOf(c, base);
    const std::string expected = fingerprint(runSearch(base, whole), whole);
    std::vector<std::map<std::size_t, std::size_t>> done(parts);
    std::map<std::size_t, std::size_t> rowsOfStep;
    std::vector<SlicedShare> shares;
    for (unsigned p = 0; p < parts; ++p)
      shares.emplace_back(p, parts, [&done, &rowsOfStep, p](std::size_t number, std::size_t rows, const GridStep& step) {
        done[p][number] = rows;
        rowsOfStep[number] = step.rows;
      });
    std::string result;
    for (int round = 0; round < 10 && result.empty(); ++round) {
      std::vector<std::string> slices;
      std::size_t step = 0;
      for (unsigned p = 0; p < parts; ++p) {
        Options o = whole;
        o.share = &shares[p];
        shares[p].restart();
        try {
          result = fingerprint(runSearch(base, o), o);
        } catch (const SlicedShare::Stopped& stopped) {
          slices.push_back(stopped.slice);
          step = stopped.step;
        }
      }
      if (result.empty()) {
        ASSERT_EQ(slices.size(), parts) << c.name;
        for (SlicedShare& s : shares) s.give(step, slices);
      }
    }
    EXPECT_EQ(result, expected) << c.name << ", " << parts << " workers";
    for (const auto& [number, rows] : rowsOfStep) {
      std::size_t sum = 0;
      for (const auto& d : done) sum += d.count(number) ? d.at(number) : 0;
      EXPECT_EQ(sum, rows) << c.name << ", step " << number;
    }
  }
}

// A command of two searches on a pool as the page runs it: all parts
// examine the first search's grid; then the first worker alone goes on with all that
// follows, the second search's grid examined whole, and the others run
// again only to reach a further grid of the first search. The result is
// the whole to the bit; no other part examines a row of the second search;
// the first worker runs once per shared grid and once more to the end.
TEST(GridSlice, OnlyTheFirstPartGoesOnAfterTheFirstSearch) {
  struct Command {
    const Case& first;
    const Case& second;
    unsigned parts;
    std::size_t sharedSteps;  // the first search's grids
  };
  for (const Command& c : {Command{kCases[2], kCases[3], 2, 1}, Command{kCases[4], kCases[0], 3, 2},
                           Command{kCases[1], kCases[4], 4, 1}}) {
    const DesignInputs firstBase = baseOf(c.first), secondBase = baseOf(c.second);
    const Options firstWhole = optionsOf(c.first, firstBase), secondWhole = optionsOf(c.second, secondBase);
    const auto command = [&](GridShare* share) {
      Options a = firstWhole, b = secondWhole;
      a.share = b.share = share;
      std::string out = fingerprint(runSearch(firstBase, a), a);  // the first search first
      return out + fingerprint(runSearch(secondBase, b), b);
    };
    const std::string expected = command(nullptr);
    const std::string label = std::string(c.first.name) + " then " + c.second.name;

    std::vector<std::map<std::size_t, std::size_t>> done(c.parts);  // per part: step -> rows done
    std::map<std::size_t, std::size_t> rowsOfStep;
    std::vector<SlicedShare> shares;
    for (unsigned p = 0; p < c.parts; ++p)
      shares.emplace_back(p, c.parts, [&done, &rowsOfStep, p](std::size_t number, std::size_t rows, const GridStep& step) {
        done[p][number] = rows;
        rowsOfStep[number] = step.rows;
      });
    std::vector<bool> pending(c.parts, true);
    std::map<std::size_t, std::map<unsigned, std::string>> got;
    std::string result;
    int leaderRuns = 0;
    for (int round = 0; round < 10 && result.empty(); ++round) {
      for (unsigned p = 0; p < c.parts && result.empty(); ++p) {
        if (!pending[p]) continue;
        pending[p] = false;
        leaderRuns += p == 0;
        shares[p].restart();
        try {
          result = command(&shares[p]);
          EXPECT_EQ(p, 0u) << label;
        } catch (const SlicedShare::Stopped& stopped) {
          ASSERT_FALSE(stopped.slice.empty()) << label << ": part " << p << " reached step " << stopped.step;
          got[stopped.step][p] = stopped.slice;
          if (got[stopped.step].size() == c.parts) {
            std::vector<std::string> slices;
            for (const auto& [part, text] : got[stopped.step]) slices.push_back(text);
            for (SlicedShare& s : shares) s.give(stopped.step, slices);
            pending[0] = true;
          } else if (p == 0) {
            for (unsigned q = 1; q < c.parts; ++q) pending[q] = pending[q] || !got[stopped.step].count(q);
          }
        }
      }
    }
    EXPECT_EQ(result, expected) << label;
    EXPECT_EQ(leaderRuns, static_cast<int>(c.sharedSteps) + 1) << label;
    for (unsigned p = 1; p < c.parts; ++p)
      for (const auto& [number, rows] : done[p]) EXPECT_LT(number, c.sharedSteps) << label << ": part " << p;
    for (const auto& [number, rows] : rowsOfStep) {
      std::size_t sum = 0;
      for (const auto& d : done) sum += d.count(number) ? d.at(number) : 0;
      EXPECT_EQ(sum, rows) << label << ", step " << number;
    }
  }
}

// A damaged or foreign text is refused, never read as a slice.
TEST(GridSlice, DamagedTextsAreRefused) {
  Options o = corner();
  struct Capture : GridShare {
    std::string text;
    GridSlice examine(const GridStep& step) override {
      GridSlice s = step.scan(0, step.rows, {});
      if (text.empty()) text = sliceText(s);
      return s;
    }
  } capture;
  o.share = &capture;
  runSearch(DesignInputs(), o);
  const std::string& good = capture.text;
  ASSERT_GT(good.size(), 100u);
  EXPECT_EQ(sliceText(sliceFromText(good)), good);
  for (const std::string& bad : {std::string(), std::string("slice2") + good.substr(6), good.substr(0, good.size() - 1),
                                 good + " 1", good.substr(0, 40), std::string("slice1 1 99999999999999999999")})
    EXPECT_THROW(sliceFromText(bad), SliceTextError) << bad.substr(0, 60);
}

}  // namespace
}  // namespace diaspring::search
