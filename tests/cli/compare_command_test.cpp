#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "cli/compare_command.h"
#include "runtime/utf8_text.h"
#include "cli/json_check.h"
#include "support/scratch_test.h"

namespace diaspring::cli {
namespace {

namespace fs = std::filesystem;
using test::parseJson;

Outcome run(std::vector<std::string_view> args) { return runCompareCommand(args); }

double num(const test::JsonValue& v) { return std::stod(v.text); }

class CompareCommand : public diaspring::testing::ScratchTest {
 protected:
  std::string file(const std::string& name, const std::string& text) const { return scratch_.write(name, text); }
};

TEST_F(CompareCommand, JsonHoldsCurvesMeasurementsAndTheScatter) {
  // A "measurement" made from the default design's own law at a few points.
  const compare::DesignCurve d = compare::designCurve(DesignInputs(), "x");
  std::string rig = "lambda1,F1\n";
  for (int i = 1; i <= 40; ++i) rig += std::to_string(0.1 * i) + "," + std::to_string(d.load(0.1 * i) * 1.03) + "\n";
  const std::string measured = file("rig.csv", rig);
  const Outcome o = run({"--measured", measured, "--set", "h=2.3", "--samples", "2000", "--json"});
  ASSERT_EQ(o.status, kExitOk) << o.err;
  std::string error;
  const auto json = parseJson(o.out, &error);
  ASSERT_TRUE(json) << error;
  const auto& curve = json->at("curves").items.at(0);
  EXPECT_EQ(curve.at("name").text, "current");
  EXPECT_EQ(curve.at("points").members.size(), 6U);
  const auto& m = json->at("measured").items.at(0);
  EXPECT_EQ(m.at("name").text, "rig.csv");
  // The design was thickened to 2.3 mm; the fit finds the thinner spring the rig measured.
  EXPECT_LT(num(m.at("fit").at("h")), 2.3);
  EXPECT_GT(num(m.at("fit").at("uncertainty").at("h")), 0);
  EXPECT_FALSE(m.at("fit").find("reason"));
  // Three points determine no fit: refused with the reason, no numbers.
  const Outcome few = run({"--measured", file("few.csv", "1,3000\n2,5000\n3,4500\n"), "--json"});
  const auto refused = parseJson(few.out, &error);
  ASSERT_TRUE(refused) << error;
  const auto& fit = refused->at("measured").items.at(0).at("fit");
  EXPECT_EQ(fit.at("converged").type, test::JsonValue::Type::Bool);
  EXPECT_EQ(fit.at("h").type, test::JsonValue::Type::Null);
  EXPECT_NE(fit.at("reason").text.find("at least 5"), std::string::npos);
  EXPECT_NE(run({"--measured", file("few.csv", "1,3000\n2,5000\n3,4500\n")}).out.find("calibration of the idealised law refused: "),
            std::string::npos);
  const auto& tol = json->at("tolerance");
  const auto& wc = tol.at("worstCase").at("F1B");
  const auto& mc = tol.at("monteCarlo");
  EXPECT_LT(num(wc.items[0]), num(mc.at("F1B").at("mean")));
  EXPECT_GT(num(wc.items[1]), num(mc.at("F1B").at("mean")));
  EXPECT_EQ(mc.at("samples").text, "2000");
  for (const char* k : {"h", "H", "R", "r", "E"}) EXPECT_TRUE(tol.at("sensitivity").find(k)) << k;
  // The same seed gives the same text.
  EXPECT_EQ(run({"--measured", measured, "--set", "h=2.3", "--samples", "2000", "--json"}).out, o.out);
}

TEST_F(CompareCommand, ToleranceTextsInTheInputsUnitOrInPerCent) {
  const compare::DesignCurve d = compare::designCurve(DesignInputs(), "x");
  struct Case {
    const char* arg;
    double compare::Tolerances::*member;
    double expected;
  };
  const Case cases[] = {
      {"h=0.02", &compare::Tolerances::h, 0.02},
      {"l0=±0.05", &compare::Tolerances::l0, 0.05},
      {"l0=1%", &compare::Tolerances::l0, (d.g.h + d.g.H) / 100},  // of the free height h + H
      {"R=1%", &compare::Tolerances::R, d.g.R / 100},
      {"E=2%", &compare::Tolerances::Epercent, 2},
      {"E=±4120", &compare::Tolerances::Epercent, 100 * 4120 / d.clutch.E},
      {"F=3%", &compare::Tolerances::clampPercent, 3},
  };
  for (const Case& c : cases) {
    compare::Tolerances t;
    EXPECT_EQ(parseTolerance(c.arg, d, t), "") << c.arg;
    EXPECT_DOUBLE_EQ(t.*c.member, c.expected) << c.arg;
  }
  for (const char* bad : {"h", "h=", "h=-0.1", "h=abc", "h=0.1mm", "x=0.1", "E=nan%"}) {
    compare::Tolerances t;
    EXPECT_NE(parseTolerance(bad, d, t), "") << bad;
  }
  // The cone height is not toleranced on its own: the message says what is.
  compare::Tolerances t;
  EXPECT_NE(parseTolerance("H=0.05", d, t).find("give l0=VALUE"), std::string::npos);
}

TEST_F(CompareCommand, RefusesToleranceThatMakesImpossibleSprings) {
  struct Case {
    std::vector<std::string_view> args;
    const char* words;
  };
  const Case cases[] = {
      {{"--tolerance", "h=3"}, "--tolerance 'h=3': h would reach -6.37 mm"},
      {{"--tolerance", "E=200%"}, "--tolerance 'E=200%': E would reach"},
      {{"--tolerance", "R=100"}, "--tolerance 'R=100': R would reach"},
      {{"--tolerance", "h=0.1", "--tolerance", "R=4", "--tolerance", "r=3"},
       "--tolerance 'R=4' and --tolerance 'r=3': R1 - r1 would reach"},
      {{"--tolerance", "R=6"}, "--tolerance 'R=6' and the default tolerance of r: R1 - r1 would reach"},
      {{"--set", "h=0.01"}, "the default tolerance of h: h would reach"},
  };
  for (const Case& c : cases) {
    const Outcome o = run(c.args);
    EXPECT_EQ(o.status, kExitUsage) << c.words;
    EXPECT_EQ(o.out, "") << c.words;
    EXPECT_NE(o.err.find(c.words), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("must stay above 0"), std::string::npos) << o.err;
  }
  EXPECT_EQ(run({"--tolerance", "h=0.7", "--samples", "100"}).status, kExitOk);
}

TEST_F(CompareCommand, StatisticsOfNoSpringsAreNullAndADash) {
  const Outcome json = run({"--samples", "0", "--json"});
  ASSERT_EQ(json.status, kExitOk) << json.err;
  std::string error;
  const auto parsed = parseJson(json.out, &error);
  ASSERT_TRUE(parsed) << error;
  const auto& mc = parsed->at("tolerance").at("monteCarlo");
  constexpr auto Null = test::JsonValue::Type::Null;
  for (const char* k : {"F1B", "F1A", "F1C", "releaseForceMax"})
    for (const char* s : {"min", "max", "mean", "sigma"}) EXPECT_EQ(mc.at(k).at(s).type, Null) << k << s;
  EXPECT_EQ(mc.at("withinClampTolerance").type, Null);
  EXPECT_EQ(mc.at("F1AatLeastF1B").type, Null);
  // The worst case over the corners is still there.
  EXPECT_EQ(parsed->at("tolerance").at("worstCase").at("F1B").items.at(0).type, test::JsonValue::Type::Number);

  const std::string text = run({"--samples", "0"}).out;
  EXPECT_NE(text.find("within the clamp-load tolerance at B: —; F1A >= F1B: —\n"), std::string::npos) << text;
  EXPECT_EQ(text.find(": 0.0 %"), std::string::npos) << text;
  // One spring has a mean but no σ; the columns stay aligned.
  const std::string one = run({"--samples", "1"}).out;
  const std::size_t row = one.find("\nF1B ");
  ASSERT_NE(row, std::string::npos) << one;
  const std::string line = one.substr(row + 1, one.find('\n', row + 1) - row - 1);
  EXPECT_EQ(line.substr(line.size() - 6), " — N") << line;
  EXPECT_EQ(line.find("—"), 61U) << line;
}

TEST_F(CompareCommand, MessagesGiveTheMainRunsCauseAndNeverRawBytesOrHugeDecimals) {
  // A design that has no curve: the cause the main run gives, naming the box.
  for (const char* h : {"h=-1", "h=abc", "HoverH=1.2"}) {
    const std::vector<std::string_view> args{"--set", h, "--json"};
    const Outcome main = runCli(args);
    const auto json = parseJson(main.out);
    ASSERT_TRUE(json) << h;
    const std::string cause = json->at("faults").items.at(0).at("cause").text;
    const Outcome o = run({"--set", h, "--samples", "10"});
    EXPECT_EQ(o.status, kExitFault) << h;
    EXPECT_EQ(o.err, "diaspring-cli compare: current: " + cause + "\n") << h;
  }
  struct Case {
    const char* name;
    std::string text;
    const char* words;  // in the message; nullptr: the file reads
  };
  std::string huge = "lambda1,F1\n";
  for (int i = 1; i <= 20; ++i) huge += std::to_string(0.2 * i) + "," + std::to_string(i) + "e300\n";
  const Case cases[] = {
      {"cr.csv", "lambda1,F1\r0.5,2000\r1.0,3500\r1.5,4400\r", nullptr},
      {"typo.csv", "O.5;9999\n1.0;3500\n1.5;4400\n2.0;4800\n", "typo.csv: line 1: λ1 'O.5' is not a finite number"},
      {"bytes.csv", "0.5,2000\n1.0,3\xFF\xFE\n", "F1 '3\\xFF\\xFE' is not a finite number"},
      {"comma.csv", "0,5;2000\n1,0;3500\n", "line 1: λ1 '0,5' is not a finite number; the decimal mark is '.', not ','"},
      {"commas.csv", "0,5,2000\n", "found 3 cells; the decimal mark is '.', not ','"},
      {"huge.csv", huge, nullptr},
  };
  for (const Case& c : cases) {
    const Outcome o = run({"--measured", file(c.name, c.text), "--samples", "10"});
    if (!c.words) {
      EXPECT_EQ(o.status, kExitOk) << c.name << o.err;
    } else {
      EXPECT_EQ(o.status, kExitFault) << c.name;
      EXPECT_NE(o.err.find(c.words), std::string::npos) << c.name << ": " << o.err;
    }
    EXPECT_TRUE(isValidUtf8(o.err)) << c.name;
    for (std::size_t at = 0, end; (end = o.out.find('\n', at)) != std::string::npos; at = end + 1)
      EXPECT_LT(end - at, 200U) << c.name << ": " << o.out.substr(at, end - at);
  }
}

TEST_F(CompareCommand, RefusesBadInputWithAMessageAndNoOutput) {
  const std::string bad = file("bad.csv", "0,0\n1,100\n1,200\n2,300\n");
  struct Case {
    std::vector<std::string_view> args;
    int status;
    const char* words;
  };
  const Case cases[] = {
      {{"--measured", bad}, kExitFault, "bad.csv: line 3: λ1 = 1 repeats line 2"},
      {{"--measured", "/nonexistent/rig.csv"}, kExitFault, "not a readable file"},
      {{"--samples", "-1"}, kExitUsage, "--samples takes a whole number"},
      {{"--tolerance", "q=1"}, kExitUsage, "unknown input 'q'"},
      {{"--set", "zz=1"}, kExitUsage, "unknown input 'zz'"},
      {{"--chart", "x.png"}, kExitUsage, "--chart needs"},
      {{"--report", "x.pdf"}, kExitUsage, "--report needs"},
      {{"--report", "x.png"}, kExitUsage, "--report 'x.png': the file name must end in .pdf"},
      {{"--chart", "/tmp/s.pdf", "--report", "/tmp/./s.pdf"}, kExitUsage, "--chart and --report name the same file"},
      {{"--design", "/tmp/d.pdf", "--report", "/tmp/d.pdf"}, kExitUsage, "--design and --report name the same file"},
      {{"--measured", bad, "--chart", bad}, kExitUsage, "--measured and --chart name the same file"},
      {{"--bogus"}, kExitUsage, "unexpected argument"},
  };
  for (const Case& c : cases) {
    const Outcome o = run(c.args);
    EXPECT_EQ(o.status, c.status) << c.words;
    EXPECT_EQ(o.out, "") << c.words;
    EXPECT_NE(o.err.find(c.words), std::string::npos) << o.err;
  }
  // A design without a peak is reported, with no scatter, and the run fails.
  const Outcome flat = run({"--set", "HoverH=1.2", "--json"});
  EXPECT_EQ(flat.status, kExitFault);
  EXPECT_NE(flat.out.find("\"error\":\"此设计的特性曲线在 0–10 mm 内没有峰值点"), std::string::npos) << flat.out;
  EXPECT_NE(flat.out.find("\"tolerance\":null"), std::string::npos);
}

// The run on files given in memory (the page's) prints, refuses and names
// the line exactly as the run on the same files on the disk.
TEST_F(CompareCommand, FilesGivenInMemoryRunAsFilesOnTheDisk) {
  const std::string design = "{\"format\": \"diaspring-design\", \"version\": \"1.0\", \"inputs\": {\"h\": \"2.25\"}}";
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> designs, measured;
    std::vector<std::string> more;
    int line;
  };
  const Case cases[] = {
      {"a design and a curve", {{"a.diaspring", design}}, {{"rig.csv", "0,0\n0.5,2400\n1,4100\n1.5,5000\n"}}, {}, 0},
      {"a cell that is not a number", {}, {{"bad.csv", "x,F\n0,0\n0.5,abc\n"}}, {}, 3},
      {"a λ1 repeated", {}, {{"rep.csv", "0,0\n0.5,1\n0.5,2\n"}}, {}, 3},
      {"too large a curve", {}, {{"big.csv", std::string(compare::kMaxMeasuredBytes + 1, '\n')}}, {}, 0},
      {"a design that is not JSON", {{"b.diaspring", "{"}}, {}, {}, 0},
      {"too large a design", {{"c.diaspring", std::string(kMaxDesignFileBytes + 1, ' ')}}, {}, {}, 0},
      {"a tolerance refused", {}, {}, {"--tolerance", "h=9"}, 0},
  };
  const fs::path before = fs::current_path();
  fs::current_path(dir_);
  for (const Case& c : cases) {
    std::vector<std::string> args{"--json"};
    for (const auto& [name, text] : c.designs) args.insert(args.end(), {"--design", file(name, text)});
    for (const auto& [name, text] : c.measured) args.insert(args.end(), {"--measured", file(name, text)});
    // Named as the page names them: the file's name alone, the run in its folder.
    for (std::string& a : args) if (a.rfind(dir_.string(), 0) == 0) a = fs::path(a).filename().string();
    args.insert(args.end(), c.more.begin(), c.more.end());
    const std::vector<std::string_view> views(args.begin(), args.end());
    const Outcome disk = runCompareCommand(views);
    std::size_t nextDesign = 0, nextMeasured = 0;
    CompareFiles given;
    given.design = [&](const std::string& name) { return readDesignText(c.designs.at(nextDesign++).second, name); };
    given.measured = [&](const std::string& name) { return compare::readMeasuredText(c.measured.at(nextMeasured++).second, name); };
    const CompareRun memory = runCompareCommand(views, nullptr, given);
    EXPECT_EQ(memory.outcome.status, disk.status) << c.what;
    EXPECT_EQ(memory.outcome.out, disk.out) << c.what;
    EXPECT_EQ(memory.outcome.err, disk.err) << c.what;
    EXPECT_EQ(memory.faultLine, c.line) << c.what;
  }
  fs::current_path(before);
}

}  // namespace
}  // namespace diaspring::cli
