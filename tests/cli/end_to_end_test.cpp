// The built executable itself: what reaches stdout and stderr, and the exit
// status, for a normal run, a faulting run, a usage error and --help, and the
// files that --chart and --report write.

#include <gtest/gtest.h>

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "json_check.h"
#include "support/scratch_dir.h"

extern char** environ;

namespace diaspring::cli {
namespace {

using diaspring::testing::ScratchDir;  // a fresh folder for the files a run writes

struct ProcessResult {
  int status = -1;  // the exit status, or -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// Starts the executable with `args` (and `env`, or this process's
// environment), collects both streams while it runs, and waits for it;
// `program` starts another executable instead.
ProcessResult runExecutable(const std::vector<std::string>& args, const std::vector<std::string>* env = nullptr,
                            const std::string& program = DIASPRING_CLI_PATH) {
  ProcessResult run;
  int outPipe[2];
  int errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
    ADD_FAILURE() << "pipe failed";
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]}) posix_spawn_file_actions_addclose(&actions, fd);

  std::vector<std::string> argStore{program};
  argStore.insert(argStore.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envStore;
  std::vector<char*> envp;
  if (env) {
    envStore = *env;
    for (std::string& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);
  }

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), env ? envp.data() : environ);
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);
  if (spawned != 0) {
    close(outPipe[0]);
    close(errPipe[0]);
    ADD_FAILURE() << "cannot start " << program;
    return run;
  }

  std::array<pollfd, 2> fds{{{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}}};
  std::string* sinks[2] = {&run.out, &run.err};
  int open = 2;
  char buf[65536];
  while (open > 0) {
    if (poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (std::size_t k = 0; k < fds.size(); ++k) {
      if (fds[k].fd < 0 || fds[k].revents == 0) continue;
      const ssize_t n = read(fds[k].fd, buf, sizeof buf);
      if (n > 0) {
        sinks[k]->append(buf, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(fds[k].fd);
        fds[k].fd = -1;
        --open;
      }
    }
  }
  int wstatus = 0;
  while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
  }
  run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  return run;
}

TEST(CliExecutable, DefaultRunPrintsTheReportAndExitsZero) {
  const ProcessResult run = runExecutable({});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out.rfind("Diaphragm spring  h=2.2 mm  H/h=1.9  R=84.7 mm  R/r=1.33", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("F1M= 5175.178"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Faults: none\n"), std::string::npos) << run.out;
}

TEST(CliExecutable, FaultingRunWritesCompleteJsonAndExitsOne) {
  const ProcessResult run = runExecutable({"--set", "Text9=", "--press", "Command1", "--json"});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err, "");
  std::string error;
  const auto doc = test::parseJson(run.out, &error);
  ASSERT_TRUE(doc.has_value()) << error;
  ASSERT_EQ(doc->at("faults").items.size(), 1u);
  EXPECT_EQ(doc->at("faults").items[0].at("fault").text, "division by zero");
  EXPECT_NE(run.out.find("\n{\"op\":\"scale\",\"x1\":-1.5,\"y1\":14000,\"x2\":8,\"y2\":-1000},\n"), std::string::npos);
}

TEST(CliExecutable, UsageErrorIsOneLineOnStderrNothingOnStdoutAndExitTwo) {
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {{"--set", "Text4"}, "diaspring-cli: --set 'Text4': expected NAME=TEXT\n"},
      {{"--slider", "HScroll1=1e3"}, "diaspring-cli: --slider HScroll1: '1e3' is not an integer\n"},
      {{"--press"}, "diaspring-cli: --press needs a button: Command1, Command2 or Command3\n"},
      {{"--json", "--frobnicate"}, "diaspring-cli: unknown option '--frobnicate'; see --help\n"},
  };
  for (const Case& c : cases) {
    const ProcessResult run = runExecutable(c.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.err);
  }
}

TEST(CliExecutable, OutputDoesNotDependOnTheLocale) {
  // Under a decimal-comma locale the numbers still use the point.
  const std::vector<std::string> args{"--slider", "HScroll5=160", "--press", "Command1", "--json"};
  const std::vector<std::string> plainLocale{"LC_ALL=C"};
  const std::vector<std::string> commaLocale{"LC_ALL=de_DE.UTF-8"};
  const ProcessResult plain = runExecutable(args, &plainLocale);
  const ProcessResult comma = runExecutable(args, &commaLocale);
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(comma.status, plain.status);
  EXPECT_EQ(comma.out, plain.out);
  EXPECT_NE(plain.out.find("\"Text10\": \"1.600\""), std::string::npos);
}

TEST(CliExecutable, StudySubcommandReadsAFileAndWritesTheTable) {
  const ScratchDir dir;
  ASSERT_TRUE(dir.valid());
  const ProcessResult run = runExecutable({"study", dir.write("designs.csv", "h,RoverR\n2.2,1.33\n2.5,\n"), "--threads", "2"});
  // A row that faulted: exit 1, the table still whole, a summary at the end.
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err, "diaspring-cli: study: 2 rows, 1 faulted, 0 unreadable\n");
  EXPECT_EQ(run.out.rfind("h,RoverR,F1M,lambda1M,", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("\n2.2,1.33,5175.178,2.080,"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Command1: division by zero"), std::string::npos) << run.out;
}

// The design subcommand through the executable: the same designs on one
// thread and on two (only the time taken differs), an impossible clutch
// explained on stderr with exit status 1, a bad range a usage error.
TEST(CliExecutable, DesignSubcommandIsTheSameOnAnyNumberOfThreads) {
  const auto design = [](const char* threads) {
    ProcessResult run = runExecutable({"design", "--set", "sigmaAllow=1800", "--range", "R=86:90", "--range",
                                       "RoverR=1.25:1.3", "--threads", threads, "--min-yield", "0", "--json"});
    const std::size_t at = run.out.find("\"seconds\":");
    if (at != std::string::npos) run.out.erase(at);
    return run;
  };
  const ProcessResult one = design("1");
  const ProcessResult two = design("2");
  EXPECT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(two.status, 0) << two.err;
  EXPECT_NE(one.out.find("\"inputs\":{\"h\":"), std::string::npos) << one.out;
  EXPECT_EQ(one.out, two.out);

  const ProcessResult impossible = runExecutable({"design", "--set", "D=150", "--range", "R=86:88"});
  EXPECT_EQ(impossible.status, 1);
  EXPECT_NE(impossible.err.find("Met by no design: rule 8 (R1_on_disc)"), std::string::npos) << impossible.err;

  const ProcessResult usage = runExecutable({"design", "--range", "R=90:80"});
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.err, "diaspring-cli: design: --range R: LO must be above 0 and at most HI\n");
}

TEST(CliExecutable, AChartWithAnUnknownExtensionIsAUsageError) {
  const ProcessResult run = runExecutable({"--chart", "x.bmp"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "diaspring-cli: --chart 'x.bmp': the file name must end in .png, .svg or .pdf\n");
}

#ifdef DIASPRING_CLI_HAS_EXPORT

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Width and height from a PNG's header chunk; {0, 0} when it is not a PNG.
std::pair<std::uint32_t, std::uint32_t> pngSize(const std::string& data) {
  static const std::string kSignature("\x89PNG\r\n\x1a\n", 8);
  if (data.size() < 24 || data.compare(0, 8, kSignature) != 0 || data.compare(12, 4, "IHDR") != 0) return {0, 0};
  auto be32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(data[at + i]);
    return v;
  };
  return {be32(16), be32(20)};
}

TEST(CliExecutable, WritesTheChartAndTheSheetWithoutADisplayAndKeepsStderrQuiet) {
  ScratchDir dir;
  ASSERT_TRUE(dir.valid());
  const ProcessResult plain = runExecutable({});
  // No platform chosen: with no display at all, and with one that is not there.
  const std::vector<std::vector<std::string>> envs{{"PATH=/usr/bin:/bin", "HOME=/tmp"},
                                                   {"PATH=/usr/bin:/bin", "HOME=/tmp", "DISPLAY=:93"}};
  for (const auto& env : envs) {
    const ProcessResult run = runExecutable(
        {"--chart", dir.path("x.png"), "--scale", "3", "--report", dir.path("sheet.pdf")}, &env);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, plain.out);
    EXPECT_EQ(pngSize(readFile(dir.path("x.png"))), std::make_pair(1647u, 879u));
    EXPECT_EQ(readFile(dir.path("sheet.pdf")).rfind("%PDF-", 0), 0u);
  }

  // The format follows the extension; the scale defaults to 2.
  const ProcessResult run = runExecutable({"--chart", dir.path("y.png")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(pngSize(readFile(dir.path("y.png"))), std::make_pair(1098u, 586u));
  EXPECT_EQ(runExecutable({"--chart", dir.path("c.SVG")}).status, 0);
  EXPECT_NE(readFile(dir.path("c.SVG")).find("<svg"), std::string::npos);
  EXPECT_EQ(runExecutable({"--json", "--chart", dir.path("c.pdf")}).status, 0);
  EXPECT_EQ(readFile(dir.path("c.pdf")).rfind("%PDF-", 0), 0u);
}

TEST(CliExecutable, AnUnwritableFileExitsOneWithTheReasonAndTheOutputComplete) {
  ScratchDir dir;
  ASSERT_TRUE(dir.valid());
  dir.write("plain", "a file, not a directory");
  const ProcessResult plain = runExecutable({"--json"});

  const ProcessResult run = runExecutable(
      {"--json", "--chart", dir.path("plain/c.png"), "--report", dir.path("missing/sheet.pdf")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, plain.out);
  EXPECT_EQ(run.err, "diaspring-cli: cannot write '" + dir.path("plain/c.png") + "': Not a directory\n"
                     "diaspring-cli: cannot write '" + dir.path("missing/sheet.pdf") + "': No such file or directory\n");
  EXPECT_FALSE(std::filesystem::exists(dir.path("missing")));
}

TEST(CliExecutable, CompareReportIsTheSheetWithTheComparisonPageLastOrNothing) {
  ScratchDir dir;
  ASSERT_TRUE(dir.valid());
  const std::string sheet = dir.path("sheet.pdf");
  const ProcessResult run = runExecutable({"compare", "--set", "h=2.1", "--samples", "500", "--report", sheet});
  ASSERT_EQ(run.status, 0) << run.err;
  // The sheet, the analysis and its production yield, on the fourth page
  // only the comparison, and the release page last.
  const std::string text = runExecutable({"-layout", sheet, "-"}, nullptr, "/usr/bin/pdftotext").out;
  std::vector<std::string> pages;
  for (std::size_t from = 0, end; (end = text.find('\f', from)) != std::string::npos; from = end + 1)
    pages.push_back(text.substr(from, end - from));
  ASSERT_EQ(pages.size(), 5U) << text;
  EXPECT_NE(pages[2].find("膜片弹簧生产合格率"), std::string::npos) << pages[2];
  EXPECT_NE(pages[3].find("特性曲线对比与生产离散"), std::string::npos) << pages[3];
  EXPECT_NE(pages[3].find("第4页共5页"), std::string::npos) << pages[3];
  EXPECT_NE(pages[4].find("签署页"), std::string::npos) << pages[4];
  EXPECT_EQ(text.find("特性曲线对比"), text.find("特性曲线对比与生产离散"));

  const std::string missing = dir.path("missing/sheet.pdf");
  const ProcessResult failed = runExecutable({"compare", "--samples", "50", "--report", missing});
  EXPECT_EQ(failed.status, 1);
  EXPECT_NE(failed.err.find("cannot write " + missing), std::string::npos) << failed.err;
  EXPECT_FALSE(std::filesystem::exists(dir.path("missing")));
}

TEST(CliExecutable, CompareChartBeyondWhatCanShowDrawsTheRestAndFails) {
  ScratchDir dir;
  ASSERT_TRUE(dir.valid());
  std::string rig = "lambda1,F1\n";
  for (int i = 1; i <= 20; ++i) rig += std::to_string(0.2 * i) + "," + std::to_string(i) + "e302\n";
  dir.write("huge.csv", rig);
  const std::string chart = dir.path("c.svg");
  const ProcessResult run = runExecutable({"compare", "--measured", dir.path("huge.csv"), "--samples", "50",
                                           "--chart", chart});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("the chart leaves out the points of huge.csv"), std::string::npos) << run.err;
  // What can show is drawn: the design's curve, on axes of its own loads.
  const std::string svg = readFile(chart);
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find(">4000<"), std::string::npos) << svg.substr(0, 2000);
}

#else

TEST(CliExecutable, WithoutQtTheFileOptionsAreAUsageError) {
  const ProcessResult run = runExecutable({"--chart", "/tmp/x.png"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "diaspring-cli: --chart: this build cannot write files (it was built without Qt)\n");
}

#endif

}  // namespace
}  // namespace diaspring::cli
