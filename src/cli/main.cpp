// diaspring-cli: the calculator's window logic without the window, driven by
// --set, --slider and --press actions, writing the chart and the design sheet
// on request; see --help.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_run.h"
#include "cli/compare_command.h"
#include "cli/design_command.h"
#include "cli/disc_command.h"
#include "cli/exporter.h"
#include "cli/materials_command.h"
#include "cli/study_command.h"
#ifdef DIASPRING_CLI_EXPORT
#include "cli/export_files.h"
#endif

namespace {

// Writes the whole text to the descriptor, in one system call unless the
// descriptor takes less at a time (a pipe may); false on an error.
bool writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace diaspring::cli;
  try {
    std::vector<std::string_view> args;
    args.reserve(static_cast<std::size_t>(argc));
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

#ifdef DIASPRING_CLI_EXPORT
    const std::unique_ptr<Exporter> exporter = makeFileExporter();
#else
    const std::unique_ptr<Exporter> exporter;  // built without Qt: no files
#endif
    const auto progress = [](std::string_view line) { writeAll(STDERR_FILENO, line); };
    // Progress lines are for a person watching: none into a file or a pipe.
    const ProgressSink studyProgress = ::isatty(STDERR_FILENO) ? ProgressSink(progress) : ProgressSink();
    const std::string_view command = args.empty() ? std::string_view() : args.front();
    const Outcome outcome = command == "study"    ? runStudyCommand(std::span(args).subspan(1), studyProgress, STDOUT_FILENO)
                            : command == "disc"   ? runDiscCommand(std::span(args).subspan(1))
                            : command == "design" ? runDesignCommand(std::span(args).subspan(1), progress)
                            : command == "compare" ? runCompareCommand(std::span(args).subspan(1), exporter.get())
                            : command == "materials" ? runMaterialsCommand(std::span(args).subspan(1))
                                                  : runCli(args, exporter.get());
    if (!writeAll(STDOUT_FILENO, outcome.out)) {
      const std::string message = std::string("diaspring-cli: cannot write the output: ") + std::strerror(errno) + "\n";
      writeAll(STDERR_FILENO, message);
      return kExitBroken;
    }
    writeAll(STDERR_FILENO, outcome.err);
    return outcome.status;
  } catch (const std::exception& e) {
    writeAll(STDERR_FILENO, std::string("diaspring-cli: internal error: ") + e.what() + "\n");
    return kExitBroken;
  }
}
