// A study killed before it is done, or while it writes its result, and a
// study whose result does not fit on the disk: the earlier output file is
// left exactly as it was.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/study_command.h"
#include "support/scratch_dir.h"
#include "support/small_disk.h"

extern char** environ;

namespace diaspring::cli {
namespace {

namespace fs = std::filesystem;

const std::string kOld = "an earlier result, kept whole\n";

std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool partFileIn(const fs::path& dir) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec))
    if (entry.path().filename().string().find(".part-") != std::string::npos) return true;
  return false;
}

// Starts `diaspring-cli study IN -o OUT`, which stops itself (SIGSTOP) at
// the point `stopAt` names ("rows": its first rows written; "rename": its
// result whole but not yet in place), and kills it there (SIGKILL). True
// when it was killed at that point; `partSeen` tells whether the new file
// was beside OUT then. No timing: the program waits where it stopped.
bool runAndKillAt(const std::string& in, const std::string& out, const char* stopAt, const fs::path& dir,
                  bool& partSeen) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> args{DIASPRING_CLI_PATH, "study", in, "-o", out, "--threads", "2"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env{std::string("DIASPRING_TEST_STOP=") + stopAt};
  for (char** e = environ; *e != nullptr; ++e)
    if (std::string_view(*e).rfind("DIASPRING_TEST_STOP=", 0) != 0) env.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, DIASPRING_CLI_PATH, &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << DIASPRING_CLI_PATH;
    return false;
  }
  int status = 0;
  if (waitpid(pid, &status, WUNTRACED) != pid) return false;
  const bool stopped = WIFSTOPPED(status);
  partSeen = partFileIn(dir);
  kill(pid, SIGKILL);
  if (stopped) kill(pid, SIGCONT);
  while (waitpid(pid, &status, 0) != pid) {
  }
  return stopped && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

TEST(StudyKilled, LeavesTheEarlierOutputAsItWas) {
  const testing::ScratchDir scratch;
  ASSERT_TRUE(scratch.valid());
  const fs::path& dir = scratch.dir();
  // More rows than one batch, so the study is stopped halfway; most of them
  // cannot be read (one field where the header has two), which costs
  // nothing, so the test is quick on any machine.
  std::string manyRows = "h,HoverH\n";
  for (int i = 0; i < 2000; ++i) manyRows += i % 100 == 0 ? "2.2,1.9\n" : "2.2\n";
  for (const char* stopAt : {"rows", "rename"}) {
    SCOPED_TRACE(stopAt);
    const std::string in = (dir / "in.csv").string();
    const std::string out = (dir / "out.csv").string();
    std::ofstream(in, std::ios::binary) << manyRows;
    std::ofstream(out, std::ios::binary) << kOld;
    bool partSeen = false;
    EXPECT_TRUE(runAndKillAt(in, out, stopAt, dir, partSeen)) << "the study did not stop where it was asked to";
    EXPECT_TRUE(partSeen) << "the new file is written beside the old one";
    EXPECT_EQ(readFile(out), kOld);
    for (const auto& entry : fs::directory_iterator(dir)) fs::remove(entry.path());
  }
}

TEST(StudyOnAFullDisk, FailsWithTheReasonAndKeepsTheEarlierOutput) {
  testing::SmallDisk disk;
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
  // The input lies elsewhere; the result (its cell echoed, 64 KB) does not fit.
  const testing::ScratchDir elsewhere;
  ASSERT_TRUE(elsewhere.valid());
  const std::string in = elsewhere.write("in.csv", "h\n2.2" + std::string(64 << 10, ' ') + "\n");
  const std::string out = disk.path("out.csv");
  std::ofstream(out, std::ios::binary) << kOld;
  disk.fillLeaving(16 << 10);
  const fs::space_info before = fs::space(fs::path(out).parent_path());

  const std::vector<std::string_view> args{in, "-o", out};
  const Outcome o = runStudyCommand(args, {});
  EXPECT_EQ(o.status, kExitFault);
  EXPECT_EQ(o.err, "diaspring-cli: study: 1 row, 0 faulted, 0 unreadable\n"
                   "diaspring-cli: study: cannot write '" + out + "': No space left on device\n");
  EXPECT_EQ(readFile(out), kOld);
  // Nothing left beside it: the space is free again.
  EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(out).parent_path()), fs::directory_iterator()), 2);
  EXPECT_EQ(fs::space(fs::path(out).parent_path()).available, before.available);
}

}  // namespace
}  // namespace diaspring::cli
