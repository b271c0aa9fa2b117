// The analysis in the headless front end: the disc command, the "analysis"
// object of --json, the analysis inputs on the command line, the report's
// section.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/disc_spring.h"
#include "cli/cli_run.h"
#include "cli/disc_command.h"
#include "cli/json_writer.h"
#include "cli/session.h"
#include "json_check.h"

namespace diaspring::cli {
namespace {

using Args = std::vector<std::string_view>;
using test::JsonValue;
using test::parsed;

double number(const JsonValue& v) {
  EXPECT_EQ(v.type, JsonValue::Type::Number) << v.text;
  double d = 0;
  std::from_chars(v.text.data(), v.text.data() + v.text.size(), d);
  return d;
}

TEST(JsonDouble, ShortestFormThatReadsBackAndNullForWhatJsonCannotHold) {
  const std::pair<double, const char*> cases[] = {
      {0.1, "0.1"},          {6500.187867596399, "6500.187867596399"}, {-1196.212645525777, "-1196.212645525777"},
      {1e300, "1e+300"},     {5e-324, "5e-324"},                       {1.0 / 3, "0.3333333333333333"},
      {INFINITY, "null"},    {-INFINITY, "null"},                      {NAN, "null"},
  };
  for (const auto& [value, text] : cases) {
    std::string out;
    appendJsonDouble(out, value);
    EXPECT_EQ(out, text);
  }
}

TEST(DiscCommand, JsonHoldsTheSixValuesExactly) {
  const Args args{"--De", "40", "--Di", "20.4", "--t", "2.25", "--h0", "0.9", "--s", "0.675", "--json"};
  const Outcome o = runDiscCommand(args);
  ASSERT_EQ(o.status, kExitOk) << o.err;
  const JsonValue doc = parsed(o.out);
  const DiscState expected = discSpringAt({40, 20.4, 2.25, 0.9, 206000, 0.3}, 0.675);
  const std::pair<const char*, double> keys[] = {{"F", expected.F},           {"sigmaOM", expected.sigmaOM},
                                                 {"sigmaI", expected.sigmaI},   {"sigmaII", expected.sigmaII},
                                                 {"sigmaIII", expected.sigmaIII}, {"sigmaIV", expected.sigmaIV}};
  ASSERT_EQ(doc.members.size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(doc.members[i].first, keys[i].first);
    EXPECT_EQ(number(doc.members[i].second), keys[i].second) << keys[i].first;  // shortest round trip
  }
  EXPECT_NEAR(number(doc.at("F")), 6500, 5);
  // E and μ may be given; a stiffer material carries more.
  const Outcome stiffer = runDiscCommand(
      Args{"--De", "40", "--Di", "20.4", "--t", "2.25", "--h0", "0.9", "--s", "0.675", "--E", "412000", "--mu", "0.3", "--json"});
  EXPECT_DOUBLE_EQ(number(parsed(stiffer.out).at("F")), 2 * expected.F);
  // Readable form.
  const Outcome text = runDiscCommand(Args{"--De", "40", "--Di", "20.4", "--t", "2.25", "--h0", "0.9", "--s", "0.675"});
  EXPECT_NE(text.out.find("F     6500.2 N"), std::string::npos) << text.out;
}

TEST(DiscCommand, RefusesBadCommandLines) {
  struct Case {
    Args args;
    const char* err;
  };
  const Case cases[] = {
      {{"--Di", "20.4", "--t", "2.25", "--h0", "0.9", "--s", "0.675"}, "--De is required"},
      {{"--De", "40", "--Di", "20.4", "--t", "2.25", "--h0", "0.9"}, "--s is required"},
      {{"--De", "4O", "--Di", "20.4", "--t", "2.25", "--h0", "0.9", "--s", "1"}, "--De: '4O' is not a number"},
      {{"--De", "10", "--Di", "20.4", "--t", "2.25", "--h0", "0.9", "--s", "1"}, "De must be larger than Di"},
      {{"--De", "40", "--Di", "20.4", "--t", "2.25", "--h0", "0.9", "--s"}, "--s needs a number"},
      {{"--De", "40", "--Dx", "1"}, "unknown argument '--Dx'; see --help"},
  };
  for (const Case& c : cases) {
    const Outcome o = runDiscCommand(c.args);
    EXPECT_EQ(o.status, kExitUsage);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, std::string("diaspring-cli: disc: ") + c.err + "\n");
  }
}

TEST(CliAnalysis, JsonCarriesTheAnalysisOfASuccessfulCurveRun) {
  const Outcome o = runCli(Args{"--json"});
  ASSERT_EQ(o.status, kExitOk);
  const JsonValue doc = parsed(o.out);
  const JsonValue& analysis = doc.at("analysis");

  Session session;
  session.applyAll(defaultActions());
  const SpringAnalysis expected = *session.analysis();
  const char* const keys[] = {"lambda1", "F1", "s", "sigmaOM", "sigmaI", "sigmaII", "sigmaIII", "sigmaIV", "F2", "sigmaFinger"};
  const JsonValue& points = analysis.at("points");
  ASSERT_EQ(points.members.size(), 6u);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(points.members[i].first, kPointSymbols[i]);
    const JsonValue& p = points.members[i].second;
    ASSERT_EQ(p.members.size(), std::size(keys));
    for (std::size_t k = 0; k < std::size(keys); ++k) EXPECT_EQ(p.members[k].first, keys[k]);
    EXPECT_EQ(number(p.at("lambda1")), expected.points[i].lambda1);
    EXPECT_EQ(number(p.at("sigmaIII")), expected.points[i].sigmaIII);
    EXPECT_EQ(number(p.at("sigmaFinger")), expected.points[i].sigmaFinger);
  }
  EXPECT_EQ(number(analysis.at("release").at("new").at("F2max")), expected.newStroke.F2max);
  EXPECT_EQ(number(analysis.at("release").at("worn").at("lambda2End")), expected.wornStroke.lambda2End);
  for (const char* stroke : {"new", "worn"}) {
    const JsonValue& s = analysis.at("release").at(stroke);
    ASSERT_EQ(s.members.size(), 2u) << stroke;
    EXPECT_EQ(s.members[0].first, "F2max");
    EXPECT_EQ(s.members[1].first, "lambda2End");
  }
  ASSERT_EQ(analysis.members.size(), 3u);
  EXPECT_EQ(analysis.members[0].first, "points");
  EXPECT_EQ(analysis.members[1].first, "release");
  EXPECT_EQ(analysis.members[2].first, "checks");
  const JsonValue& checks = analysis.at("checks");
  EXPECT_EQ(number(checks.at("sigmaOMmax")), expected.checks.sigmaOMmax);
  EXPECT_EQ(checks.at("sigmaIpass").type, JsonValue::Type::Bool);
  EXPECT_EQ(checks.at("fatigueNew").at("governing").text, "III");
}

TEST(CliAnalysis, NoAnalysisWithoutAGoodCurveRun) {
  struct Case {
    Args args;
    bool analysed;
  };
  const Case cases[] = {
      {{"--press", "Command3"}, false},                                   // no curve yet
      {{"--press", "Command1", "--press", "Command2"}, false},            // cleared
      {{"--set", "RoverR=1", "--press", "Command1"}, false},              // the curve faults
      {{"--press", "Command1", "--set", "RoverR=1", "--press", "Command1"}, false},
      {{"--set", "RoverR=1", "--press", "Command1", "--set", "RoverR=1.33", "--press", "Command1"}, true},
  };
  for (const Case& c : cases) {
    Args args = c.args;
    args.push_back("--json");
    const JsonValue doc = parsed(runCli(args).out);
    EXPECT_EQ(doc.find("analysis") != nullptr, c.analysed) << args.size();
  }
}

TEST(CliAnalysis, AnalysisInputsOnTheCommandLine) {
  // Extras alone keep the default run; they change what depends on them.
  const JsonValue wide = parsed(runCli(Args{"--set", "b=28", "--json"}).out);
  const JsonValue normal = parsed(runCli(Args{"--json"}).out);
  const double wideFinger = number(wide.at("analysis").at("points").at("B").at("sigmaFinger"));
  const double normalFinger = number(normal.at("analysis").at("points").at("B").at("sigmaFinger"));
  EXPECT_DOUBLE_EQ(wideFinger * 2, normalFinger);
  EXPECT_EQ(number(wide.at("analysis").at("points").at("B").at("F2")),
            number(normal.at("analysis").at("points").at("B").at("F2")));

  const JsonValue bad = parsed(runCli(Args{"--set", "n=many", "--json"}).out);
  EXPECT_EQ(bad.at("analysis").at("error").text, "n: 'many' is not a number");

  const Outcome report = runCli(Args{"--set", "sigmaAllow=1800"});
  EXPECT_NE(report.out.find("Strength and release (强度与分离特性)"), std::string::npos);
  EXPECT_NE(report.out.find("|σI|max ≤ [σ] (0 ... λ1C)"), std::string::npos);
  EXPECT_NE(report.out.find("limit 1800.0 MPa  pass"), std::string::npos) << report.out;
  EXPECT_NE(runCli(Args{"--help"}).out.find("sigmaAllow"), std::string::npos);
}

TEST(DiscCommand, ResultsWithoutMeaningAreRefusedWithTheInputNamed) {
  const Args spring{"--De", "40", "--t", "2.25", "--h0", "0.9"};
  const struct {
    Args args;
    const char* err;
  } cases[] = {
      {{"--Di", "39.99999", "--s", "0.6"}, "De/Di must be at least 1.0001"},
      {{"--Di", "39.999999999", "--s", "0.6"}, "De/Di must be at least 1.0001"},
      {{"--Di", "20.4", "--s", "1e160"}, "F is too large for a number (overflow): --s 1E+160"},
      {{"--Di", "20.4", "--s", "0.6", "--E", "1e308"}, "(overflow): --E 1E+308"},
  };
  for (const auto& c : cases)
    for (const bool json : {false, true}) {
      Args args = spring;
      args.insert(args.end(), c.args.begin(), c.args.end());
      if (json) args.push_back("--json");
      const Outcome o = runDiscCommand(args);
      EXPECT_EQ(o.status, kExitUsage) << c.err;
      EXPECT_EQ(o.out, "") << c.err;
      EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
    }
  // A ring far from the standard's springs is computed, with a warning in both forms.
  Args narrow = spring;
  for (const char* a : {"--Di", "30", "--s", "0.6"}) narrow.push_back(a);
  const Outcome text = runDiscCommand(narrow);
  EXPECT_EQ(text.status, kExitOk);
  EXPECT_NE(text.err.find("warning: De/Di = 1.333 lies outside 1.5 ... 3.5"), std::string::npos) << text.err;
  narrow.push_back("--json");
  EXPECT_NE(parsed(runDiscCommand(narrow).out).at("warning").text.find("DIN EN 16983"), std::string::npos);
}

TEST(CliAnalysis, AnInfiniteValueInTheJsonComesWithItsReason) {
  Session session;
  session.applyAll(defaultActions());
  SpringAnalysis analysis = *session.analysis();
  analysis.fatigueNew.places[0].safety = INFINITY;
  analysis.fatigueNew.places[1].sigmaO = -INFINITY;
  std::string out;
  appendJsonAnalysis(out, analysis, analysisParams(DesignInputs()).params);
  const JsonValue doc = parsed(out);
  const JsonValue& place0 = doc.at("checks").at("fatigueNew").at(analysis.fatigueNew.places[0].name);
  EXPECT_EQ(place0.at("safety").type, JsonValue::Type::Null);
  EXPECT_NE(place0.at("safetyReason").text.find("cannot fail by fatigue"), std::string::npos);
  const JsonValue& place1 = doc.at("checks").at("fatigueNew").at(analysis.fatigueNew.places[1].name);
  EXPECT_NE(place1.at("sigmaOReason").text.find("minus infinite"), std::string::npos);
}

}  // namespace
}  // namespace diaspring::cli
