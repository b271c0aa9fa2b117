#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/study_command.h"
#include "study/study.h"
#include "support/scratch_test.h"

namespace diaspring::cli {
namespace {

namespace fs = std::filesystem;

class StudyCommand : public diaspring::testing::ScratchTest {
 protected:
  std::string write(const std::string& name, const std::string& text) const { return scratch_.write(name, text); }
  std::string read(const std::string& path) const { return scratch_.read(path); }
  Outcome run(std::vector<std::string_view> args) {
    return runStudyCommand(args, [this](std::string_view line) { progress_ += line; });
  }

  std::string progress_;
};

constexpr const char* kDesigns =
    "h,HoverH,R,RoverR\n"
    "2.2,1.9,84.7,1.33\n"
    "2.5,1.7,90,1.25\n"
    "2.2,1.3,84.7,1.33\n";

TEST_F(StudyCommand, WritesTheSameTableAsTheStudyItself) {
  const std::string in = write("in.csv", kDesigns);
  const std::string out = (dir_ / "out.csv").string();
  const Outcome o = run({in, "-o", out, "--threads", "2"});
  // The third design (H/h = 1.3) faults: exit 1, the table still whole.
  EXPECT_EQ(o.status, kExitFault) << o.err;
  EXPECT_EQ(o.err, "diaspring-cli: study: 3 rows, 1 faulted, 0 unreadable\n");
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(read(out), runStudy(readStudy(kDesigns)));
  EXPECT_EQ(progress_, "");  // far under a second: no progress shown

  const Outcome toStdout = run({in});
  EXPECT_EQ(toStdout.status, kExitFault);
  EXPECT_EQ(toStdout.out, read(out));
}

TEST_F(StudyCommand, ProblemsGetAClearMessage) {
  const std::string good = write("in.csv", kDesigns);
  const std::string unknown = write("unknown.csv", "h,thickness,Text4\n2,3,4\n");
  const std::string missing = (dir_ / "missing.csv").string();
  const std::string unwritable = (dir_ / "no-such-dir" / "out.csv").string();
  const std::string longName = write("long.csv", "h," + std::string(5000, 'x') + "\n1,2\n");
  fs::create_directory(dir_ / "sub");
  fs::create_symlink("in.csv", dir_ / "link.csv");
  const std::string viaDots = (dir_ / "sub" / ".." / "." / "in.csv").string();
  const std::string viaLink = (dir_ / "link.csv").string();
  const std::string folder = dir_.string();
  const struct {
    std::vector<std::string_view> args;
    int status;
    std::string message;
    int lines = 1;
  } cases[] = {
      {{folder}, kExitUsage, "cannot read '" + folder + "': Is a directory"},
      {{good, "-o", good}, kExitUsage, "study: the input and -o name the same file '" + good + "'"},
      {{good, "-o", viaDots}, kExitUsage, "the input and -o name the same file"},
      {{good, "-o", viaLink}, kExitUsage, "the input and -o name the same file"},
      {{longName}, kExitUsage, "unknown column '" + std::string(80, 'x') + "...' (known:"},
      {{}, kExitUsage, "study: name the input file"},
      {{good, "-o"}, kExitUsage, "study: -o needs a value"},
      {{good, "--threads", "0"}, kExitUsage, "--threads takes a whole number from 1 to 256, not '0'"},
      {{good, "--fast"}, kExitUsage, "unknown option '--fast'"},
      {{good, good}, kExitUsage, "more than one input file"},
      {{missing}, kExitUsage, "cannot read '" + missing + "': No such file or directory"},
      {{unknown}, kExitUsage, "unknown columns 'thickness', 'Text4'"},
      {{good, "-o", unwritable}, kExitFault, "cannot write '" + unwritable + "': No such file or directory", 2},
  };
  for (const auto& c : cases) {
    const Outcome o = run(c.args);
    EXPECT_EQ(o.status, c.status) << c.message;
    EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    EXPECT_EQ(o.err.rfind("diaspring-cli: ", 0), 0u) << o.err;
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), c.lines) << o.err;
    EXPECT_EQ(o.out, "");
  }
}

TEST_F(StudyCommand, EveryRowGetsItsResultAndTheSummaryCountsTheTroubles) {
  struct Case {
    const char* what;
    std::string csv;
    std::size_t resultRows;
    std::string err;  // the warnings and the summary
    int status;
    std::string inResult;
  };
  const Case cases[] = {
      {"an unclosed quote spoils its own line only", "h\n\"2.2\n2.5\n2.6\n", 3,
       "diaspring-cli: study: 3 rows, 0 faulted, 1 unreadable\n", kExitFault,
       "line 2: quoted field opened on line 2 is not closed\n2.5,"},
      {"trailing commas", "h,HoverH,\n2.2,1.9,\n2.5,1.7\n", 2, "diaspring-cli: study: 2 rows, 0 faulted, 0 unreadable\n",
       kExitOk, "\n2.2,1.9,5175.178,"},
      {"cells read by their leading number", "h,R\n2.2 mm,84.7\n2.2,84.7" + std::string(200, '!') + "\n", 2,
       "diaspring-cli: study: warning: line 2, column h: '2.2 mm' is read as 2.2\n"
       "diaspring-cli: study: warning: line 3, column R: '84.7" + std::string(76, '!') + "...' is read as 84.7\n"
       "diaspring-cli: study: 2 rows, 0 faulted, 0 unreadable\n",
       kExitOk, "\n2.2 mm,84.7,5175.178,"},
      {"a handler fault and a short row", "h,HoverH\n2.2,1.3\n2.2\n", 2,
       "diaspring-cli: study: 2 rows, 1 faulted, 1 unreadable\n", kExitFault, "line 3: 1 fields where the header has 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Outcome o = run({write("rows.csv", c.csv)});
    EXPECT_EQ(o.status, c.status);
    EXPECT_EQ(o.err, c.err);
    EXPECT_EQ(static_cast<std::size_t>(std::count(o.out.begin(), o.out.end(), '\n')), c.resultRows + 1) << o.out;
    EXPECT_NE(o.out.find(c.inResult), std::string::npos) << o.out;
  }
}

TEST_F(StudyCommand, WhatIsNoRegularFileIsRefusedAndTheResultGoesWholeToItsDescriptor) {
  const std::string fifo = (dir_ / "pipe.csv").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& in : {std::string("/dev/zero"), fifo}) {
    const Outcome o = run({in});
    EXPECT_EQ(o.status, kExitUsage) << in;
    EXPECT_EQ(o.err, "diaspring-cli: study: cannot read '" + in + "': it is not a regular file\n");
  }
  // Without -o the result is held until whole, then written to the descriptor.
  const std::string in = write("in.csv", kDesigns);
  const std::string out = (dir_ / "stdout.csv").string();
  const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(fd, 0);
  const std::vector<std::string_view> args{in};
  const Outcome o = runStudyCommand(args, {}, fd);
  ::close(fd);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(read(out), runStudy(readStudy(kDesigns)));

  // A hard link is the same file by another name.
  fs::create_hard_link(in, dir_ / "hard.csv");
  const Outcome linked = run({in, "-o", (dir_ / "hard.csv").string()});
  EXPECT_EQ(linked.status, kExitUsage);
  EXPECT_NE(linked.err.find("the input and -o name the same file"), std::string::npos) << linked.err;
  EXPECT_EQ(read(in), kDesigns);
}

}  // namespace
}  // namespace diaspring::cli
