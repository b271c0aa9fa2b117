// The command line: which actions a line of arguments makes, and the exact
// one-line message (and exit status 2, nothing on stdout) for each mistake.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_run.h"
#include "runtime/version.h"

namespace diaspring::cli {
namespace {

using Args = std::vector<std::string_view>;

struct GoodCase {
  const char* name;
  Args args;
  bool json;
  std::vector<Action> actions;
};
void PrintTo(const GoodCase& c, std::ostream* os) { *os << c.name; }

class GoodArgs : public ::testing::TestWithParam<GoodCase> {};

TEST_P(GoodArgs, MakeTheseActionsInOrder) {
  const GoodCase& c = GetParam();
  const ParseResult r = parseArgs(c.args);
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_FALSE(r.options.help);
  EXPECT_EQ(r.options.json, c.json);
  EXPECT_EQ(r.options.actions, c.actions);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, GoodArgs,
    ::testing::Values(
        GoodCase{"nothing", {}, false, {}},
        GoodCase{"json_alone_keeps_the_default_run", {"--json"}, true, {}},
        GoodCase{"set", {"--set", "Text4=2.5"}, false, {SetText{TextBox::Text4, "2.5"}}},
        GoodCase{"set_empty", {"--set", "Text9="}, false, {SetText{TextBox::Text9, ""}}},
        GoodCase{"set_by_input_names",
                 {"--set", "h=2.5", "--set", "HoverH=1.8", "--set", "R=90", "--set", "RoverR=1.3", "--set", "dLambda=1",
                  "--set", "lambda1f=2", "--set", "E=206000", "--set", "mu=0.29", "--set", "F=5000", "--set", "D=200",
                  "--set", "d=130", "--set", "r0=20", "--set", "rf=22"},
                 false,
                 {SetText{TextBox::Text4, "2.5"}, SetText{TextBox::Text6, "1.8"}, SetText{TextBox::Text7, "90"},
                  SetText{TextBox::Text9, "1.3"}, SetText{TextBox::Text10, "1"}, SetText{TextBox::Text11, "2"},
                  SetText{TextBox::Text31, "206000"}, SetText{TextBox::Text32, "0.29"}, SetText{TextBox::Text33, "5000"},
                  SetText{TextBox::Text34, "200"}, SetText{TextBox::Text35, "130"}, SetText{TextBox::Text36, "20"},
                  SetText{TextBox::Text37, "22"}}},
        GoodCase{"set_engine_data_by_name", {"--set", "Temax=210", "--set", "nT=2500", "--set", "nmax=5200"}, false,
                 {SetText{TextBox::Text1, "210"}, SetText{TextBox::Text2, "2500"}, SetText{TextBox::Text3, "5200"}}},
        GoodCase{"set_keeps_later_equals_signs", {"--set", "Text1=a=b="}, false, {SetText{TextBox::Text1, "a=b="}}},
        GoodCase{"set_utf8_and_blanks", {"--set", "Text42= λ1 合格 "}, false, {SetText{TextBox::Text42, " λ1 合格 "}}},
        GoodCase{"set_text_that_looks_like_an_option", {"--set", "Text7=--json"}, false,
                 {SetText{TextBox::Text7, "--json"}}},
        GoodCase{"slider_bounds", {"--slider", "HScroll3=760", "--slider", "HScroll3=1350"}, false,
                 {MoveSlider{Slider::HScroll3, 760}, MoveSlider{Slider::HScroll3, 1350}}},
        GoodCase{"press_all_three", {"--press", "Command2", "--press", "Command1", "--press", "Command3"}, false,
                 {Press{Command::Command2}, Press{Command::Command1}, Press{Command::Command3}}},
        GoodCase{"json_anywhere_and_order_kept",
                 {"--slider", "HScroll6=300", "--json", "--set", "Text33=4600", "--press", "Command3"}, true,
                 {MoveSlider{Slider::HScroll6, 300}, SetText{TextBox::Text33, "4600"}, Press{Command::Command3}}}),
    [](const auto& p) { return std::string(p.param.name); });

struct BadCase {
  const char* name;
  Args args;
  std::string message;
};
void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class BadArgs : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadArgs, AreUsageErrorsWithThisOneLineMessage) {
  const BadCase& c = GetParam();
  const ParseResult r = parseArgs(c.args);
  EXPECT_EQ(r.error, c.message);

  const Outcome o = runCli(c.args);
  EXPECT_EQ(o.status, kExitUsage);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "diaspring-cli: " + c.message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cli, BadArgs,
    ::testing::Values(
        BadCase{"set_without_equals", {"--set", "Text4"}, "--set 'Text4': expected NAME=TEXT"},
        BadCase{"set_without_argument", {"--set"}, "--set needs NAME=TEXT"},
        BadCase{"set_unknown_box", {"--set", "Text43=1"}, "--set: unknown name 'Text43'; use Text1 ... Text42 or an input name (see --help)"},
        BadCase{"set_box_with_leading_zero", {"--set", "Text04=1"},
                "--set: unknown name 'Text04'; use Text1 ... Text42 or an input name (see --help)"},
        BadCase{"set_box_names_are_case_sensitive", {"--set", "text4=1"},
                "--set: unknown name 'text4'; use Text1 ... Text42 or an input name (see --help)"},
        BadCase{"set_malformed_utf8", {"--set", "Text4=\xC3("}, "--set Text4: the text is not valid UTF-8"},
        BadCase{"slider_not_a_number", {"--slider", "HScroll1=abc"}, "--slider HScroll1: 'abc' is not an integer"},
        BadCase{"slider_exponent", {"--slider", "HScroll1=1e3"}, "--slider HScroll1: '1e3' is not an integer"},
        BadCase{"slider_decimal", {"--slider", "HScroll1=250.0"}, "--slider HScroll1: '250.0' is not an integer"},
        BadCase{"slider_empty_value", {"--slider", "HScroll1="}, "--slider HScroll1: '' is not an integer"},
        BadCase{"slider_blank", {"--slider", "HScroll1= 250"}, "--slider HScroll1: ' 250' is not an integer"},
        BadCase{"slider_below_range", {"--slider", "HScroll1=199"}, "--slider HScroll1: 199 is outside its range 200 ... 400"},
        BadCase{"slider_above_range", {"--slider", "HScroll6=301"}, "--slider HScroll6: 301 is outside its range 20 ... 300"},
        BadCase{"slider_negative", {"--slider", "HScroll5=-20"}, "--slider HScroll5: -20 is outside its range 20 ... 200"},
        BadCase{"slider_beyond_int", {"--slider", "HScroll3=99999999999999999999"},
                "--slider HScroll3: '99999999999999999999' is outside its range 760 ... 1350"},
        BadCase{"slider_without_equals", {"--slider", "HScroll1"}, "--slider 'HScroll1': expected NAME=VALUE"},
        BadCase{"slider_unknown", {"--slider", "HScroll7=20"},
                "--slider: unknown slider 'HScroll7'; the sliders are HScroll1 ... HScroll6"},
        BadCase{"slider_without_argument", {"--slider"}, "--slider needs NAME=VALUE"},
        BadCase{"press_without_argument", {"--press"}, "--press needs a button: Command1, Command2 or Command3"},
        BadCase{"press_unknown", {"--press", "Command4"},
                "--press: unknown button 'Command4'; the buttons are Command1, Command2 and Command3"},
        BadCase{"unknown_option", {"--verbose"}, "unknown option '--verbose'; see --help"},
        BadCase{"option_glued_to_its_value", {"--set=Text4=1"}, "unknown option '--set=Text4=1'; see --help"},
        BadCase{"bare_word", {"Command1"}, "unexpected argument 'Command1'; actions are --set, --slider and --press"},
        BadCase{"control_characters_shown_escaped", {"--set", "Te\nxt\x01=1"},
                "--set: unknown name 'Te\\nxt\\x01'; use Text1 ... Text42 or an input name (see --help)"},
        BadCase{"long_argument_cut_short", {"--set", "Text4444444444444444444444444444444444444444444444444444444444444=1"},
                "--set: unknown name 'Text44444444444444444444444444444444444444444444444444444444...'; "
                "use Text1 ... Text42 or an input name (see --help)"},
        BadCase{"first_mistake_wins_and_nothing_runs", {"--press", "Command1", "--slider", "HScroll2=149", "--bogus"},
                "--slider HScroll2: 149 is outside its range 150 ... 200"},
        BadCase{"chart_unknown_extension", {"--chart", "x.bmp"},
                "--chart 'x.bmp': the file name must end in .png, .svg or .pdf"},
        BadCase{"chart_without_extension", {"--chart", "chart"},
                "--chart 'chart': the file name must end in .png, .svg or .pdf"},
        BadCase{"chart_extension_only_on_the_directory", {"--chart", "plots.png/chart"},
                "--chart 'plots.png/chart': the file name must end in .png, .svg or .pdf"},
        BadCase{"chart_without_argument", {"--press", "Command1", "--chart"},
                "--chart needs a file name ending in .png, .svg or .pdf"},
        BadCase{"chart_twice", {"--chart", "a.png", "--chart", "b.svg"}, "--chart may be given only once"},
        BadCase{"report_not_pdf", {"--report", "sheet.png"}, "--report 'sheet.png': the file name must end in .pdf"},
        BadCase{"report_without_argument", {"--report"}, "--report needs a file name ending in .pdf"},
        BadCase{"report_twice", {"--report", "a.pdf", "--report", "b.pdf"}, "--report may be given only once"},
        BadCase{"chart_and_report_to_one_file", {"--chart", "out.pdf", "--report", "out.pdf"},
                "--chart and --report name the same file 'out.pdf'"},
        BadCase{"chart_and_report_to_one_file_by_other_names", {"--chart", "a.pdf", "--report", "./x/../a.pdf"},
                "--chart and --report name the same file './x/../a.pdf'"},
        BadCase{"chart_and_report_by_an_absolute_name", {"--chart", "a.pdf", "--report", "/proc/self/cwd/a.pdf"},
                "--chart and --report name the same file '/proc/self/cwd/a.pdf'"},
        BadCase{"scale_zero", {"--chart", "a.png", "--scale", "0"}, "--scale takes a whole number from 1 to 8, not '0'"},
        BadCase{"scale_nine", {"--chart", "a.png", "--scale", "9"}, "--scale takes a whole number from 1 to 8, not '9'"},
        BadCase{"scale_fraction", {"--scale", "2.5"}, "--scale takes a whole number from 1 to 8, not '2.5'"},
        BadCase{"scale_signed", {"--scale", "+2"}, "--scale takes a whole number from 1 to 8, not '+2'"},
        BadCase{"scale_empty", {"--scale", ""}, "--scale takes a whole number from 1 to 8, not ''"},
        BadCase{"scale_beyond_int", {"--scale", "99999999999"},
                "--scale takes a whole number from 1 to 8, not '99999999999'"},
        BadCase{"scale_without_argument", {"--chart", "a.png", "--scale"}, "--scale needs a whole number from 1 to 8"},
        BadCase{"design_without_argument", {"--design"}, "--design needs a file name"},
        BadCase{"design_empty", {"--design", ""}, "--design needs a file name"},
        BadCase{"save_twice", {"--save", "a", "--save", "b"}, "--save may be given only once"},
        BadCase{"save_over_the_report", {"--report", "x.pdf", "--save", "./x.pdf"},
                "--report and --save name the same file './x.pdf'"},
        BadCase{"report_over_the_design", {"--design", "d.pdf", "--report", "d.pdf"},
                "--design and --report name the same file 'd.pdf'"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(CliFiles, ChartScaleAndReportAreTakenAsGivenWithActionsAnywhere) {
  struct Case {
    Args args;
    std::string chart;
    int scale;
    std::string report;
    std::size_t actions;
  };
  const Case cases[] = {
      {{}, "", 2, "", 0},
      {{"--chart", "/tmp/x.png"}, "/tmp/x.png", 2, "", 0},
      {{"--chart", "out/Chart.SVG", "--press", "Command1"}, "out/Chart.SVG", 2, "", 1},
      {{"--scale", "3", "--chart", "x.png"}, "x.png", 3, "", 0},
      {{"--chart", "x.png", "--scale", "1", "--scale", "8"}, "x.png", 8, "", 0},
      {{"--report", "sheet.PDF", "--json"}, "", 2, "sheet.PDF", 0},
      {{"--chart", "c.pdf", "--report", "r.pdf", "--set", "Text4=2.5"}, "c.pdf", 2, "r.pdf", 1},
      {{"--chart", "my chart.v2.png"}, "my chart.v2.png", 2, "", 0},
  };
  for (const Case& c : cases) {
    const ParseResult r = parseArgs(c.args);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.options.chartPath, c.chart);
    EXPECT_EQ(r.options.chartScale, c.scale);
    EXPECT_EQ(r.options.reportPath, c.report);
    EXPECT_EQ(r.options.actions.size(), c.actions);
  }
}

TEST(CliSet, AnInputThatIsNotWhollyANumberIsTypedAsGivenWithAWarning) {
  struct Case {
    std::vector<std::string_view> args;
    std::vector<std::string> warnings;
  };
  const Case cases[] = {
      {{"--set", "h=2.5", "--set", "E=2.1e5", "--set", "Text4= 2.2 ", "--set", "F="}, {}},
      {{"--set", "h=2.5mm"}, {"--set h: '2.5mm' is read as 2.5"}},
      {{"--set", "Text9=1,33", "--set", "mu=abc"}, {"--set Text9: '1,33' is read as 1", "--set mu: 'abc' is read as 0"}},
      {{"--set", "E=1e999x"}, {"--set E: '1e999x' is not wholly a number, and its leading number is too large"}},
      // Boxes that are not inputs hold any text.
      {{"--set", "Text12=peak", "--set", "Text30=ok"}, {}},
  };
  for (const Case& c : cases) {
    const ParseResult r = parseArgs(c.args);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.warnings, c.warnings) << c.args[1];
    EXPECT_EQ(std::get<SetText>(r.options.actions.front()).text, c.args[1].substr(c.args[1].find('=') + 1));
  }  // The analysis inputs hold numbers too.
  const std::vector<std::string_view> extra{"--set", "Rm=1570 MPa"};
  EXPECT_EQ(parseArgs(extra).warnings, std::vector<std::string>{"--set Rm: '1570 MPa' is read as 1570"});
}

TEST(CliHelp, PrintsUsageAndExitsZeroWithoutRunningAnything) {
  for (const Args& args : {Args{"--help"}, Args{"-h"}, Args{"--json", "--press", "Command1", "--help"},
                           Args{"--chart", "x.png", "--help"}}) {
    const Outcome o = runCli(args);
    EXPECT_EQ(o.status, kExitOk);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.out.rfind("Usage: diaspring-cli [--json] [ACTION...] [--chart FILE [--scale N]] [--report FILE.pdf]\n", 0),
              0u)
        << o.out;
    EXPECT_NE(o.out.find("  --chart FILE          the chart as FILE.png, FILE.svg or FILE.pdf"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("  --scale N             the PNG at N times"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("(N from 1 to 8, default 2)"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("  --report FILE.pdf     the design sheet"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("HScroll3  760 ... 1350 (at start 1020)"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("  lambda1f  Text11  mm    default 1.6"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("  E         Text31  MPa   default 210000"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("  Temax     Text1   N·m   default 147     max engine torque"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("  nmax      Text3   rpm   default 4800    max engine speed"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("diaspring-cli study IN.csv"), std::string::npos) << o.out;
    EXPECT_EQ(o.out.find("\"fields\""), std::string::npos);
  }
}

TEST(CliVersion, PrintsNameAndVersionAloneWithoutRunningAnything) {
  // --version ends the command line like --help: what follows is not read,
  // what comes before it does not run and writes no file.
  for (const Args& args : {Args{"--version"}, Args{"--json", "--version"}, Args{"--version", "--frobnicate"},
                           Args{"--press", "Command1", "--chart", "x.png", "--version"}}) {
    const Outcome o = runCli(args);
    EXPECT_EQ(o.status, kExitOk);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.out, std::string("diaspring-cli ") + kVersion + "\n");
  }
  EXPECT_NE(usageText().find("diaspring-cli --help | --version\n"), std::string::npos);
}

}  // namespace
}  // namespace diaspring::cli
