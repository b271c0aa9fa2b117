// Whole runs through runCli: the default run, faults and exit statuses,
// slider moves, and the numbers of the default design in both outputs.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_run.h"
#include "json_check.h"
#include "support/default_run.h"

namespace diaspring::cli {
namespace {

using Args = std::vector<std::string_view>;
using test::JsonValue;

// Runs with --json added and returns the document (failing the test when the
// output is not valid JSON).
JsonValue runJson(Args args, int expectedStatus, std::string_view expectedErr = "") {
  args.push_back("--json");
  const Outcome o = runCli(args);
  EXPECT_EQ(o.status, expectedStatus);
  EXPECT_EQ(o.err, expectedErr);
  std::string error;
  auto doc = test::parseJson(o.out, &error);
  if (!doc) {
    ADD_FAILURE() << "not JSON: " << error;
    return {};
  }
  return *doc;
}

std::string field(const JsonValue& doc, std::string_view box) { return doc.at("fields").at(box).text; }

// The line of the JSON output that holds chart operation `index`.
std::string chartLine(const std::string& json, std::size_t index) {
  std::size_t pos = json.find("\"chart\": [\n");
  if (pos == std::string::npos) return {};
  pos += 11;
  for (std::size_t i = 0; i < index; ++i) pos = json.find('\n', pos) + 1;
  std::string line = json.substr(pos, json.find('\n', pos) - pos);
  if (!line.empty() && line.back() == ',') line.pop_back();
  return line;
}

TEST(CliRun, WithoutActionsPressesTheCurveThenTheCheck) {
  for (const Args& extra : {Args{}, Args{"--json"}}) {
    Args explicitArgs{"--press", "Command1", "--press", "Command3"};
    explicitArgs.insert(explicitArgs.end(), extra.begin(), extra.end());
    const Outcome byDefault = runCli(extra);
    const Outcome spelledOut = runCli(explicitArgs);
    EXPECT_EQ(byDefault.status, spelledOut.status);
    EXPECT_EQ(byDefault.out, spelledOut.out);
    EXPECT_FALSE(byDefault.out.empty());
  }
  // The curve ran (the chart holds the frame and the trace) and so did the
  // check: on the default design nothing faults.
  const JsonValue doc = runJson({}, kExitOk);
  EXPECT_GT(doc.at("chart").items.size(), 10001u);
  EXPECT_TRUE(doc.at("faults").items.empty());
  EXPECT_FALSE(field(doc, "Text24").empty());
}

TEST(CliRun, AnEmptyRatioStopsTheCurveInTheCaptureWithTheFrameDrawn) {
  const Args args{"--set", "Text9=", "--press", "Command1", "--json"};
  const Outcome o = runCli(args);
  EXPECT_EQ(o.status, kExitFault);
  EXPECT_EQ(o.err, "");
  std::string error;
  const auto doc = test::parseJson(o.out, &error);
  ASSERT_TRUE(doc.has_value()) << error;

  const JsonValue& faults = doc->at("faults");
  ASSERT_EQ(faults.items.size(), 1u);
  EXPECT_EQ(faults.items[0].at("press").text, "Command1");
  EXPECT_EQ(faults.items[0].at("fault").text, "division by zero");
  EXPECT_NE(o.out.find(R"({"press":"Command1","fault":"division by zero")"), std::string::npos);

  EXPECT_EQ(chartLine(o.out, 0), R"({"op":"scale","x1":-1.5,"y1":14000,"x2":8,"y2":-1000})");
  EXPECT_EQ(chartLine(o.out, 1), R"({"op":"line","x1":0,"y1":0,"x2":7,"y2":0,"color":null})");
  EXPECT_EQ(chartLine(o.out, 2), R"({"op":"line","x1":0,"y1":0,"x2":0,"y2":13000,"color":null})");
  // The output is complete: every box and slider is there, and the frame has
  // no curve on it.
  EXPECT_EQ(doc->at("fields").members.size(), 42u);
  EXPECT_EQ(doc->at("sliders").members.size(), 6u);
  EXPECT_EQ(field(*doc, "Text9"), "");
  for (const JsonValue& op : doc->at("chart").items) EXPECT_NE(op.at("op").text, "pset");

  // The report says which button, which fault.
  const Outcome report = runCli(Args{"--set", "Text9=", "--press", "Command1"});
  EXPECT_EQ(report.status, kExitFault);
  EXPECT_NE(report.out.find("Faults\n  Command1 (输出膜片弹簧曲线及描点): division by zero"), std::string::npos)
      << report.out;
}

TEST(CliRun, AFaultEndsOnlyItsHandlerAndLaterActionsStillRun) {
  const JsonValue doc =
      runJson({"--set", "Text9=", "--press", "Command1", "--set", "Text9=1.33", "--press", "Command1"}, kExitFault);
  ASSERT_EQ(doc.at("faults").items.size(), 1u);
  EXPECT_EQ(field(doc, "Text12"), "5175.178");
  EXPECT_EQ(field(doc, "Text8"), "63.68");
}

TEST(CliRun, TheCheckBeforeAnyCurveFaultsAndWritesNoBox) {
  const JsonValue doc = runJson({"--press", "Command3"}, kExitFault);
  ASSERT_EQ(doc.at("faults").items.size(), 1u);
  EXPECT_EQ(doc.at("faults").items[0].at("press").text, "Command3");
  EXPECT_EQ(doc.at("faults").items[0].at("fault").text, "invalid operation");
  for (const char* box : {"Text24", "Text25", "Text26", "Text42"}) EXPECT_EQ(field(doc, box), "") << box;
  EXPECT_TRUE(doc.at("chart").items.empty());
}

TEST(CliRun, MovingASliderToTheValueItHasRunsNothing) {
  // HScroll1 starts at 200; its handler would write "2" into Text4. (A press
  // of the clear button keeps the run from adding the curve and the check.)
  JsonValue doc = runJson({"--press", "Command2", "--set", "Text4=3", "--slider", "HScroll1=200"}, kExitOk);
  EXPECT_EQ(field(doc, "Text4"), "3");
  EXPECT_EQ(doc.at("sliders").at("HScroll1").text, "200");

  // A second move to the same value runs nothing either.
  doc = runJson({"--press", "Command2", "--slider", "HScroll1=250", "--set", "Text4=typed", "--slider", "HScroll1=250"},
                kExitOk,
                "diaspring-cli: warning: --set Text4: 'typed' is read as 0\n");
  EXPECT_EQ(field(doc, "Text4"), "typed");
  EXPECT_EQ(doc.at("sliders").at("HScroll1").text, "250");
  // No slider move draws anything: the chart holds what the clear left.
  EXPECT_EQ(doc.at("chart").items.size(), runJson({"--press", "Command2"}, kExitOk).at("chart").items.size());
}

TEST(CliRun, WithoutAPressTheCurveAndTheCheckFollowTheOtherActions) {
  // A valley beyond the 10 mm search: the curve stops after the valley search
  // with its cause, and no later point is shown.
  const JsonValue doc = runJson({"--set", "h=5"}, kExitFault);
  EXPECT_EQ(field(doc, "Text4"), "5");
  EXPECT_NE(field(doc, "Text12"), "");  // the peak M was found
  for (const char* box : {"Text14", "Text15", "Text16", "Text17", "Text18", "Text19", "Text20", "Text21"})
    EXPECT_EQ(field(doc, box), "") << box;
  EXPECT_FALSE(doc.at("chart").items.empty());
}

TEST(CliRun, MovingASliderRunsItsHandler) {
  struct Case {
    const char* slider;
    const char* box;
    const char* text;
  };
  const Case cases[] = {
      {"HScroll1=250", "Text4", "2.5"},   {"HScroll1=400", "Text4", "4"},    {"HScroll2=150", "Text6", "1.5"},
      {"HScroll3=761", "Text7", "76.1"},  {"HScroll4=135", "Text9", "1.35"}, {"HScroll5=160", "Text10", "1.600"},
      {"HScroll6=300", "Text11", "3.000"},
  };
  for (const Case& c : cases) {
    const JsonValue doc = runJson({"--slider", c.slider}, kExitOk);
    EXPECT_EQ(field(doc, c.box), c.text) << c.slider;
  }
}

TEST(CliRun, TheDefaultDesignGivesTheKnownPointsAndVerdicts) {
  const JsonValue doc = runJson({}, kExitOk);
  for (const auto& [box, text] : testing::kDefaultRun) EXPECT_EQ(field(doc, textBoxName(box)), text) << textBoxName(box);
}

TEST(CliRun, TheChartKeepsEveryOperationIncludingWhatTheClearErased) {
  const JsonValue once = runJson({"--press", "Command1"}, kExitOk);
  const JsonValue cleared = runJson({"--press", "Command1", "--press", "Command2", "--press", "Command1"}, kExitOk);
  const std::size_t n = once.at("chart").items.size();
  ASSERT_EQ(cleared.at("chart").items.size(), 2 * n + 1);
  EXPECT_EQ(cleared.at("chart").items[n].at("op").text, "cls");
  EXPECT_EQ(field(cleared, "Text24"), "");
  EXPECT_EQ(field(cleared, "Text12"), "5175.178");
}

// A design whose valley lies beyond the 10 mm search: the curve stops after
// it with the cause, no box shows N, H, B, A or C, the check refuses to run
// without B, and the run exits with the fault status.
TEST(CliRun, AValleyBeyondTheSearchStopsTheCurveWithItsCause) {
  const Args args{"--set", "h=5", "--press", "Command1", "--press", "Command3"};
  const JsonValue doc = runJson(args, kExitFault);
  const JsonValue& faults = doc.at("faults");
  ASSERT_EQ(faults.items.size(), 2u);
  EXPECT_EQ(faults.items[0].at("press").text, "Command1");
  EXPECT_EQ(faults.items[0].at("fault").text, "point not found");
  EXPECT_NE(faults.items[0].at("cause").text.find("在 0–10 mm 内没有谷值点"), std::string::npos);
  EXPECT_EQ(faults.items[1].at("press").text, "Command3");
  EXPECT_EQ(faults.items[1].at("fault").text, "point not found");
  EXPECT_NE(field(doc, "Text12"), "");
  EXPECT_NE(field(doc, "Text13"), "");
  for (int box = 14; box <= 30; ++box) EXPECT_EQ(field(doc, "Text" + std::to_string(box)), "") << box;

  const Outcome report = runCli(args);
  EXPECT_EQ(report.status, kExitFault);
  EXPECT_NE(report.out.find("point not found — 此设计的特性曲线在 0–10 mm 内没有谷值点"), std::string::npos) << report.out;
}

// An absurd modulus: loads of gigano newtons, drawn only where the chart shows them.
TEST(CliRun, AnAbsurdModulusKeepsTheChartSmall) {
  const JsonValue doc = runJson({"--set", "E=1e12", "--press", "Command1", "--press", "Command3"}, kExitOk);
  EXPECT_LT(doc.at("chart").items.size(), 50'000u);
}

}  // namespace
}  // namespace diaspring::cli
