#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/study_command.h"
#include "study/study.h"

namespace diaspring::cli {
namespace {

namespace fs = std::filesystem;

class StudyCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("diaspring-study-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, const std::string& text) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  static std::string read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << file.rdbuf();
    return buffer.str();
  }
  Outcome run(std::vector<std::string_view> args) {
    return runStudyCommand(args, [this](std::string_view line) { progress_ += line; });
  }

  fs::path dir_;
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
  EXPECT_EQ(o.status, kExitOk) << o.err;
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(read(out), runStudy(readStudy(kDesigns)));
  EXPECT_EQ(progress_, "");  // far under a second: no progress shown

  const Outcome toStdout = run({in});
  EXPECT_EQ(toStdout.status, kExitOk);
  EXPECT_EQ(toStdout.out, read(out));
}

TEST_F(StudyCommand, ProblemsGetAClearMessage) {
  const std::string good = write("in.csv", kDesigns);
  const std::string unknown = write("unknown.csv", "h,thickness,Text4\n2,3,4\n");
  const std::string missing = (dir_ / "missing.csv").string();
  const std::string unwritable = (dir_ / "no-such-dir" / "out.csv").string();
  const struct {
    std::vector<std::string_view> args;
    int status;
    std::string message;
  } cases[] = {
      {{}, kExitUsage, "study: name the input file"},
      {{good, "-o"}, kExitUsage, "study: -o needs a value"},
      {{good, "--threads", "0"}, kExitUsage, "--threads takes a whole number from 1 to 256, not '0'"},
      {{good, "--fast"}, kExitUsage, "unknown option '--fast'"},
      {{good, good}, kExitUsage, "more than one input file"},
      {{missing}, kExitUsage, "cannot read " + missing + ": No such file or directory"},
      {{unknown}, kExitUsage, "unknown columns 'thickness', 'Text4'"},
      {{good, "-o", unwritable}, kExitFault, "cannot write " + unwritable + ": No such file or directory"},
  };
  for (const auto& c : cases) {
    const Outcome o = run(c.args);
    EXPECT_EQ(o.status, c.status) << c.message;
    EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    EXPECT_EQ(o.err.rfind("diaspring-cli: ", 0), 0u) << o.err;
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_EQ(o.out, "");
  }
}

}  // namespace
}  // namespace diaspring::cli
