#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>

#include "cli/design_command.h"
#include "json_check.h"
#include "study/csv.h"
#include "support/scratch_dir.h"

namespace diaspring::cli {
namespace {

namespace fs = std::filesystem;
using test::JsonValue;

// A small corner of the design space around the default spring, without a
// production yield required (the window's thin springs reach no 99 %).
const std::vector<std::string_view> kNarrow = {"--range", "HoverH=1.8:1.9", "--range", "R=86:88",
                                               "--range", "RoverR=1.25:1.3", "--threads", "2", "--min-yield", "0"};

Outcome run(std::vector<std::string_view> args) {
  std::vector<std::string_view> all = kNarrow;
  all.insert(all.end(), args.begin(), args.end());
  return runDesignCommand(all, {});
}

TEST(DesignCommand, UsageErrors) {
  const std::pair<std::vector<std::string_view>, const char*> cases[] = {
      {{"--set", "h=2.2"}, "h is chosen by the search"},
      {{"--set", "thickness=2"}, "unknown input 'thickness'"},
      {{"--set", "F"}, "expected NAME=TEXT"},
      {{"--range", "E=1:2"}, "'E' is not free"},
      {{"--range", "R=90:80"}, "LO must be above 0 and at most HI"},
      {{"--range", "R=80"}, "expected NAME=LO:HI"},
      {{"--range", "R=8o:90"}, "is not LO:HI with two numbers"},
      {{"--range", "RoverR=1.231:1.239"}, "holds no value"},
      {{"--threads", "0"}, "--threads takes a whole number from 1 to 256"},
      {{"--grid", "3"}, "--grid takes 1, 2, 4, 5 or 10"},
      {{"--json", "-o", "x.csv"}, "exclude each other"},
      {{"--range"}, "--range needs a value"},
      {{"extra"}, "unexpected argument 'extra'"},
      {{"--set", "sigmaAllow=abc"}, "sigmaAllow: 'abc' is not a number"},
      {{"--min-yield", "1"}, "--min-yield takes a share from 0"},
      {{"--min-yield", "99%"}, "--min-yield takes a share from 0"},
      {{"--tolerance", "H=0.1"}, "'H' is not a toleranced dimension of the search"},
      {{"--tolerance", "h=1%"}, "--tolerance h: '1%' is not a tolerance in mm"},
      {{"--tolerance", "l0=-0.1"}, "is not a tolerance in mm"},
      {{"--tolerance", "h"}, "expected NAME=MM"},
  };
  const std::vector<std::string_view> help = {"--range", "R=1:2", "--help"};
  EXPECT_NE(runDesignCommand(help, {}).out.find("Automatic design:"), std::string::npos);
  for (const auto& [args, message] : cases) {
    const Outcome o = runDesignCommand(args, {});
    EXPECT_EQ(o.status, kExitUsage) << message;
    EXPECT_NE(o.err.find(message), std::string::npos) << o.err;
    EXPECT_EQ(o.out, "");
  }
}

// The JSON: every design with all thirteen inputs as texts and its numbers
// in their shortest exact form, by wearRise ascending; the counts.
TEST(DesignCommand, JsonListsTheDesigns) {
  const Outcome o = run({"--set", "F=4800", "--set", "sigmaAllow=1800", "--json"});
  ASSERT_EQ(o.status, kExitOk) << o.err;
  std::string error;
  const auto json = test::parseJson(o.out, &error);
  ASSERT_TRUE(json) << error;
  const JsonValue& designs = json->at("designs");
  ASSERT_GE(designs.items.size(), 2u);
  double previous = -1;
  for (const JsonValue& d : designs.items) {
    const JsonValue& inputs = d.at("inputs");
    EXPECT_EQ(inputs.members.size(), 13u);
    EXPECT_EQ(inputs.at("F").text, "4800");
    EXPECT_EQ(inputs.at("D").text, "180");
    for (const char* key : {"wearRise", "releaseForceMax", "F1B", "sigmaImax"}) {
      const std::string& text = d.at(key).text;
      double x = 0;
      std::from_chars(text.data(), text.data() + text.size(), x);
      char shortest[32];
      EXPECT_EQ(std::string(shortest, std::to_chars(shortest, shortest + 32, x).ptr), text);
    }
    const double wear = std::stod(d.at("wearRise").text);
    EXPECT_GE(wear, previous);
    previous = wear;
    EXPECT_LT(std::abs(std::stod(d.at("F1B").text) - 4800), 1);
    EXPECT_LE(std::stod(d.at("sigmaImax").text), 1800);
  }
  EXPECT_GT(std::stoul(json->at("evaluated").text), designs.items.size());
  EXPECT_FALSE(json->find("infeasible"));
  // The strength data the search held fixed: as set, and the defaults.
  EXPECT_EQ(json->at("analysisInputs").at("sigmaAllow").text, "1800");
  EXPECT_EQ(json->at("analysisInputs").at("sigmaAllowF").text, "1500");
}

// The search's own tolerances (--tolerance, mm, the same for every design):
// in this corner no design reaches 99 % with the standard's, and a closer
// free height lets designs through, each confirmed at 99 % with it.
TEST(DesignCommand, ToleranceGivenIsTheOneTheYieldIsWorkedOutWith) {
  const Outcome standard = run({"--min-yield", "0.99", "--json"});
  EXPECT_EQ(standard.status, kExitFault) << standard.err;
  const Outcome closer = run({"--min-yield", "0.99", "--tolerance", "l0=0.05", "--json"});
  ASSERT_EQ(closer.status, 0) << closer.err;
  const auto json = test::parseJson(closer.out);
  ASSERT_TRUE(json);
  const JsonValue& designs = json->at("designs");
  ASSERT_GT(designs.items.size(), 0U);
  for (const JsonValue& d : designs.items) EXPECT_GE(std::stod(d.at("productionYield").text), 0.99);
}

TEST(DesignCommand, NoDesignIsExplainedAsAFailure) {
  const Outcome o = run({"--set", "D=150", "--json"});
  EXPECT_EQ(o.status, kExitFault);
  EXPECT_NE(o.err.find("rule 8 (R1_on_disc)"), std::string::npos) << o.err;
  const auto json = test::parseJson(o.out);
  ASSERT_TRUE(json);
  EXPECT_TRUE(json->at("designs").items.empty());
  const JsonValue& why = json->at("infeasible");
  ASSERT_EQ(why.at("neverMet").items.size(), 1u);
  EXPECT_EQ(why.at("neverMet").items[0].text, "8");
  EXPECT_EQ(why.at("nearest").at("D").text, "150");
}

// The static check of σI against sigmaAllow holds for every design listed;
// set impossibly low, it is named with the nearest design's excess.
TEST(DesignCommand, StressCheckIsAConstraint) {
  const Outcome none = run({"--set", "sigmaAllow=300", "--json"});
  EXPECT_EQ(none.status, kExitFault);
  EXPECT_NE(none.err.find("static check of sigma I"), std::string::npos) << none.err;
  EXPECT_NE(none.err.find("misses by"), std::string::npos) << none.err;
  EXPECT_NE(none.err.find(" MPa\n"), std::string::npos) << none.err;  // every number with its unit
  EXPECT_NE(none.err.find("No single change of F, D, d, r0, rf"), std::string::npos) << none.err;
  const auto json = test::parseJson(none.out);
  ASSERT_TRUE(json);
  EXPECT_TRUE(json->at("designs").items.empty());
  const JsonValue& why = json->at("infeasible");
  EXPECT_TRUE(why.at("neverMet").items.empty());
  ASSERT_EQ(why.at("constraintsNeverMet").items.size(), 1u);
  ASSERT_EQ(why.at("misses").items.size(), 1u);
  EXPECT_GT(std::stod(why.at("misses").items[0].at("miss").text), 1000);
}

TEST(DesignCommand, WritesCsvWholeOrNotAtAll) {
  const testing::ScratchDir dir;
  ASSERT_TRUE(dir.valid());
  const std::string path = dir.path("front.csv");
  const Outcome o = run({"--set", "sigmaAllow=1800", "-o", path});
  ASSERT_EQ(o.status, kExitOk) << o.err;
  EXPECT_NE(o.out.find("designs on the front"), std::string::npos);
  const auto records = csv::parse(dir.read("front.csv"));
  ASSERT_GE(records.size(), 3u);
  EXPECT_EQ(records[0].fields.front(), "h");
  EXPECT_EQ(records[0].fields.size(), 18u);
  EXPECT_EQ(records[0].fields.back(), "sigmaImax");
  for (const auto& r : records) EXPECT_EQ(r.fields.size(), 18u);

  const std::string missing = dir.path("no-such-folder/front.csv");
  const Outcome failed = run({"-o", missing});
  EXPECT_EQ(failed.status, kExitFault);
  EXPECT_NE(failed.err.find("cannot write"), std::string::npos) << failed.err;
  EXPECT_FALSE(fs::exists(missing));
}

}  // namespace
}  // namespace diaspring::cli
