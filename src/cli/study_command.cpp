#include "cli/study_command.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <string>

#include "cli/cli_args.h"
#include "cli/utf8_text.h"
#include "runtime/file_write.h"
#include "study/study.h"

namespace diaspring::cli {
namespace {

struct StudyArgs {
  std::string in;
  std::string out;  // empty: stdout
  unsigned threads = 0;
};

std::string parseStudyArgs(std::span<const std::string_view> args, StudyArgs& parsed) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "-o" || arg == "--output" || arg == "--threads") {
      if (i + 1 == args.size()) return "study: " + std::string(arg) + " needs a value";
      const std::string_view value = args[++i];
      if (arg == "--threads") {
        unsigned n = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
        if (ec != std::errc() || end != value.data() + value.size() || n < 1 || n > 256)
          return "study: --threads takes a whole number from 1 to 256, not '" + std::string(value) + "'";
        parsed.threads = n;
      } else {
        parsed.out = std::string(value);
      }
      continue;
    }
    if (arg.size() > 1 && arg.front() == '-') return "study: unknown option '" + std::string(arg) + "'; see --help";
    if (!parsed.in.empty()) return "study: more than one input file ('" + parsed.in + "', '" + std::string(arg) + "')";
    parsed.in = std::string(arg);
  }
  if (parsed.in.empty()) return "study: name the input file: diaspring-cli study IN.csv [-o OUT.csv] [--threads N]";
  return {};
}

// The whole file in one string of its size; a directory or a device is
// refused with the system's reason.
bool readFile(const std::string& path, std::string& text, std::string& error) {
  auto fail = [&](int err) {
    error = "cannot read '" + path + "': " + errorReasonEnglish(err);
    return false;
  };
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return fail(errno);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(errno);
  if (S_ISDIR(st.st_mode)) return fail(EISDIR);
  text.clear();
  if (S_ISREG(st.st_mode)) text.reserve(static_cast<std::size_t>(st.st_size));
  char chunk[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (n == 0) return true;
    text.append(chunk, static_cast<std::size_t>(n));
  }
}

// "\rstudy: 5000/10000 rows, 1400 rows/s, about 4 s left": one line, rewritten in place.
std::string progressLine(std::size_t done, std::size_t total, double seconds) {
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
  std::string line = "\rstudy: " + std::to_string(done) + "/" + std::to_string(total) + " rows, " +
                     std::to_string(static_cast<long long>(std::lround(rate))) + " rows/s";
  if (done < total && rate > 0) {
    const auto left = static_cast<long long>(std::ceil(static_cast<double>(total - done) / rate));
    line += ", about " + std::to_string(left) + " s left";
  }
  return line + "   ";
}

}  // namespace

Outcome runStudyCommand(std::span<const std::string_view> args, const ProgressSink& progress) {
  Outcome outcome;
  StudyArgs parsed;
  if (std::string error = parseStudyArgs(args, parsed); !error.empty()) {
    outcome.status = kExitUsage;
    outcome.err = "diaspring-cli: " + error + "\n";
    return outcome;
  }
  const NamedPath files[] = {{"the input", parsed.in}, {"-o", parsed.out}};
  if (std::string error = sameFileError(files); !error.empty()) {
    outcome.status = kExitUsage;
    outcome.err = "diaspring-cli: study: " + error + "\n";
    return outcome;
  }
  std::string text, error;
  if (!readFile(parsed.in, text, error)) {
    outcome.status = kExitUsage;
    outcome.err = "diaspring-cli: study: " + printable(error) + "\n";
    return outcome;
  }

  StudyInput study;
  try {
    study = readStudy(text);
  } catch (const StudyError& e) {
    outcome.status = kExitUsage;
    outcome.err = "diaspring-cli: study: " + printable(parsed.in) + ": " + printable(e.what()) + "\n";
    return outcome;
  }
  text = std::string();  // the rows hold what they need

  const auto start = std::chrono::steady_clock::now();
  bool shown = false;
  StudyOptions options;
  options.threads = parsed.threads;
  options.progress = [&](std::size_t done, std::size_t total) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!progress || (seconds < 1.0 && !shown)) return;
    shown = true;
    progress(progressLine(done, total, seconds));
  };
  StudyTally tally;
  std::string result = runStudy(study, options, &tally);
  if (shown) progress("\n");

  for (const std::string& warning : tally.warnings)
    outcome.err += "diaspring-cli: study: warning: " + printable(warning) + "\n";
  outcome.err += "diaspring-cli: study: " + std::to_string(tally.rows) + (tally.rows == 1 ? " row, " : " rows, ") +
                 std::to_string(tally.faulted) + " faulted, " + std::to_string(tally.unreadable) + " unreadable\n";
  outcome.status = tally.faulted + tally.unreadable > 0 ? kExitFault : kExitOk;

  if (parsed.out.empty()) {
    outcome.out = std::move(result);
  } else if (const auto failed = writeFileAtomically(parsed.out, result)) {
    outcome.status = kExitFault;
    outcome.err += "diaspring-cli: study: " + printable(failed->english()) + "\n";
  }
  return outcome;
}

}  // namespace diaspring::cli
