// --chart and --report in a whole run: what reaches the exporter, what a
// failed or broken write does to the exit status and the messages, and that
// the run's own output stays complete either way.

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_run.h"
#include "cli/exporter.h"

namespace diaspring::cli {
namespace {

using Args = std::vector<std::string_view>;

// Records each write and answers as told.
class FakeExporter final : public Exporter {
 public:
  struct Call {
    std::string what, path;
    int scale = 0;
    std::size_t ops = 0;
    std::string peak;  // Text12 as the fields held it
    std::string h;     // Text4 as the fields held it
    bool inputsEdited = false;
  };
  std::optional<std::string> chartFailure, reportFailure;
  bool throwOnChart = false;
  std::vector<Call> calls;

  std::optional<std::string> writeChart(const DisplayList& chart, const std::string& path, int scale) override {
    calls.push_back({"chart", path, scale, chart.size(), {}, {}, false});
    if (throwOnChart) throw std::runtime_error("painter exploded");
    return chartFailure;
  }
  std::optional<std::string> writeReport(const Fields& fields, const DisplayList& chart, const std::string& path,
                                         bool inputsEdited) override {
    calls.push_back({"report", path, 0, chart.size(), fields.text(TextBox::Text12), fields.text(TextBox::Text4),
                     inputsEdited});
    return reportFailure;
  }
};

TEST(CliExport, WithoutAnExporterTheFileOptionsAreAUsageError) {
  struct Case {
    Args args;
    std::string err;
  };
  const Case cases[] = {
      {{"--chart", "x.png"}, "diaspring-cli: --chart: this build cannot write files (it was built without Qt)\n"},
      {{"--report", "x.pdf", "--press", "Command1"},
       "diaspring-cli: --report: this build cannot write files (it was built without Qt)\n"},
      {{"--report", "r.pdf", "--chart", "c.svg"},
       "diaspring-cli: --chart: this build cannot write files (it was built without Qt)\n"},
  };
  for (const Case& c : cases) {
    const Outcome o = runCli(c.args);
    EXPECT_EQ(o.status, kExitUsage);
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err, c.err);
  }
  // --scale alone asks for no file.
  EXPECT_EQ(runCli(Args{"--scale", "3"}).status, kExitOk);
}

TEST(CliExport, FilesAreWrittenAfterTheActionsFromWhatTheyLeft) {
  FakeExporter exporter;
  const Outcome o =
      runCli(Args{"--report", "sheet.pdf", "--chart", "c.png", "--scale", "5", "--press", "Command1"}, &exporter);
  EXPECT_EQ(o.status, kExitOk);
  EXPECT_EQ(o.err, "");
  ASSERT_EQ(exporter.calls.size(), 2u);
  // The chart first, then the sheet; both see the chart after the curve.
  EXPECT_EQ(exporter.calls[0].what, "chart");
  EXPECT_EQ(exporter.calls[0].path, "c.png");
  EXPECT_EQ(exporter.calls[0].scale, 5);
  EXPECT_GT(exporter.calls[0].ops, 10001u);
  EXPECT_EQ(exporter.calls[1].what, "report");
  EXPECT_EQ(exporter.calls[1].path, "sheet.pdf");
  EXPECT_EQ(exporter.calls[1].ops, exporter.calls[0].ops);
  EXPECT_EQ(exporter.calls[1].peak, "5175.178");

  // Without actions the default run comes first; the scale defaults to 2.
  FakeExporter second;
  EXPECT_EQ(runCli(Args{"--chart", "c.svg"}, &second).status, kExitOk);
  ASSERT_EQ(second.calls.size(), 1u);
  EXPECT_EQ(second.calls[0].scale, 2);
  EXPECT_GT(second.calls[0].ops, 10001u);
}

TEST(CliExport, AFailedWriteIsOneLineOnStderrExitOneAndTheOutputIsComplete) {
  const Outcome plain = runCli(Args{"--json"});
  ASSERT_EQ(plain.status, kExitOk);

  struct Case {
    std::optional<std::string> chart, report;
    bool throwOnChart;
    std::string err;
  };
  const Case cases[] = {
      {"directory /nope does not exist", std::nullopt, false,
       "diaspring-cli: cannot write '/nope/c.png': directory /nope does not exist\n"},
      {std::nullopt, "permission denied", false, "diaspring-cli: cannot write '/r/s.pdf': permission denied\n"},
      {"a\nb", "disk full", false,
       "diaspring-cli: cannot write '/nope/c.png': a\\nb\ndiaspring-cli: cannot write '/r/s.pdf': disk full\n"},
      {std::nullopt, std::nullopt, true,
       "diaspring-cli: cannot write '/nope/c.png': internal error: painter exploded\n"},
  };
  for (const Case& c : cases) {
    FakeExporter exporter;
    exporter.chartFailure = c.chart;
    exporter.reportFailure = c.report;
    exporter.throwOnChart = c.throwOnChart;
    const Outcome o = runCli(Args{"--json", "--chart", "/nope/c.png", "--report", "/r/s.pdf"}, &exporter);
    EXPECT_EQ(o.status, kExitFault);
    EXPECT_EQ(o.err, c.err);
    EXPECT_EQ(o.out, plain.out);
    EXPECT_EQ(exporter.calls.size(), 2u);  // one failure does not skip the other file
  }
}

TEST(CliExport, AHandlerFaultStillWritesTheFilesOfWhatWasDrawn) {
  FakeExporter exporter;
  const Outcome o = runCli(Args{"--set", "Text9=", "--press", "Command1", "--chart", "c.pdf"}, &exporter);
  EXPECT_EQ(o.status, kExitFault);
  EXPECT_EQ(o.err, "");
  ASSERT_EQ(exporter.calls.size(), 1u);
  EXPECT_GT(exporter.calls[0].ops, 0u);  // the frame drawn before the fault
}

TEST(CliExport, TheSheetIsOfTheLastRunAndSaysWhenTheInputsWereEditedSince) {
  const struct {
    Args args;
    std::string h;  // on the sheet
    bool edited;
  } cases[] = {
      {{"--press", "Command1", "--set", "h=2.6"}, "2.2", true},
      {{"--press", "Command1", "--set", "h=2.6", "--press", "Command1"}, "2.6", false},
      {{"--press", "Command1", "--press", "Command3", "--set", "Text1=300"}, "2.2", false},  // read by neither
      {{"--set", "h=2.6"}, "2.6", false},  // nothing ran: the boxes as they are
      // The check read rf, the analysis of the curve run did not: its page is stale.
      {{"--press", "Command1", "--set", "rf=22", "--press", "Command3"}, "2.2", true},
  };
  for (const auto& c : cases) {
    FakeExporter exporter;
    Args args = c.args;
    args.insert(args.end(), {"--report", "s.pdf"});
    const Outcome o = runCli(args, &exporter);
    ASSERT_EQ(o.status, kExitOk) << o.err;
    ASSERT_EQ(exporter.calls.size(), 1u);
    EXPECT_EQ(exporter.calls[0].h, c.h) << c.args[1];
    EXPECT_EQ(exporter.calls[0].inputsEdited, c.edited) << c.args[1];
  }
}

}  // namespace
}  // namespace diaspring::cli
