#include "cli/study_command.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "cli/arg_reader.h"
#include "cli/cli_args.h"
#include "runtime/utf8_text.h"
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
  ArgReader reader(args);
  while (!reader.done()) {
    const std::string_view arg = reader.next();
    if (arg == "-o" || arg == "--output" || arg == "--threads") {
      const std::optional<std::string_view> given = reader.value();
      if (!given) return "study: " + std::string(arg) + " needs a value";
      const std::string_view value = *given;
      if (arg == "--threads") {
        if (std::string error = readWholeIn("--threads", value, 1u, kMaxThreads, parsed.threads); !error.empty())
          return "study: " + error;
      } else {
        parsed.out = std::string(value);
      }
      continue;
    }
    if (arg.size() > 1 && arg.front() == '-') return "study: unknown option " + quoteText(arg) + "; see --help";
    if (!parsed.in.empty()) return "study: more than one input file (" + quoteText(parsed.in) + ", " + quoteText(arg) + ")";
    parsed.in = std::string(arg);
  }
  if (parsed.in.empty()) return "study: name the input file: diaspring-cli study IN.csv [-o OUT.csv] [--threads N]";
  return {};
}

// Opens the study file for reading: what is not a regular file (a
// directory, a device, a pipe, which could be endless) is refused.
int openStudyFile(const std::string& path, std::uintmax_t& size, std::string& error) {
  auto fail = [&](const std::string& reason) {
    error = "cannot read '" + path + "': " + reason;
    return -1;
  };
  // Not blocking: a pipe opens at once and is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return fail(errorReasonEnglish(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = errno;
    const bool dir = S_ISDIR(st.st_mode);
    ::close(fd);
    if (dir) return fail(errorReasonEnglish(EISDIR));
    return fail(st.st_mode != 0 ? "it is not a regular file" : errorReasonEnglish(err));
  }
  size = static_cast<std::uintmax_t>(st.st_size);
  return fd;
}

// A file of its own, already unlinked, that holds the result until it is
// whole: then it goes to stdout at once.
class HeldOutput {
 public:
  HeldOutput() {
    const char* dir = std::getenv("TMPDIR");
    const std::string folder = dir != nullptr && *dir != '\0' ? dir : "/tmp";
    fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd_ < 0) {
      std::string name = folder + "/diaspring-study-XXXXXX";
      fd_ = ::mkostemp(name.data(), O_CLOEXEC);
      if (fd_ >= 0) ::unlink(name.c_str());
    }
    if (fd_ < 0) error_ = errno;
  }
  ~HeldOutput() {
    if (fd_ >= 0) ::close(fd_);
  }
  int error() const { return error_; }
  bool append(std::string_view bytes) { return error_ == 0 && (sendAll(fd_, bytes) || (error_ = errno, false)); }
  // Copies the whole result to `to`.
  bool copyTo(int to) {
    if (error_ != 0 || ::lseek(fd_, 0, SEEK_SET) != 0) return false;
    char part[1 << 16];
    for (;;) {
      const ssize_t n = ::read(fd_, part, sizeof part);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (n == 0) return true;
      if (!sendAll(to, std::string_view(part, static_cast<std::size_t>(n)))) return false;
    }
  }

 private:
  static bool sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t n = ::write(fd, bytes.data(), bytes.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }
  int fd_ = -1;
  int error_ = 0;
};

// "\rstudy: 5000 rows, 43 %, 1400 rows/s, about 4 s left": one line,
// rewritten in place; the share is of the input's bytes.
std::string progressLine(std::size_t done, double share, double seconds) {
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
  std::string line = "\rstudy: " + std::to_string(done) + " rows, " +
                     std::to_string(static_cast<int>(std::floor(100 * share))) + " %, " +
                     std::to_string(static_cast<long long>(std::lround(rate))) + " rows/s";
  if (share > 0 && share < 1) {
    const auto left = static_cast<long long>(std::ceil(seconds * (1 - share) / share));
    line += ", about " + std::to_string(left) + " s left";
  }
  return line + "   ";
}

}  // namespace

Outcome runStudyCommand(std::span<const std::string_view> args, const ProgressSink& progress, int outFd) {
  Outcome outcome;
  StudyArgs parsed;
  if (std::string error = parseStudyArgs(args, parsed); !error.empty()) return usageError(error);
  const NamedPath files[] = {{"the input", parsed.in}, {"-o", parsed.out}};
  if (std::string error = sameFileError(files); !error.empty()) return usageError("study: " + error);
  std::string error;
  std::uintmax_t size = 0;
  const int fd = openStudyFile(parsed.in, size, error);
  if (fd < 0) return usageError("study: " + error);
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  int readError = 0;
  StudyLines lines([&](char* buffer, std::size_t capacity) -> std::size_t {
    for (;;) {
      const ssize_t n = ::read(fd, buffer, capacity);
      if (n >= 0) return static_cast<std::size_t>(n);
      if (errno == EINTR || errno == EAGAIN) continue;
      readError = errno;
      return 0;  // ends the input; reported below
    }
  });

  StudyInput study;
  try {
    study = readStudyHeader(lines);
  } catch (const StudyError& e) {
    return usageError("study: " + parsed.in + ": " + e.what());
  }

  // The result grows in a file (beside OUT, or a file of its own for
  // stdout), so memory stays flat however many rows there are; OUT is
  // replaced, or stdout written, only when the result is whole.
  std::optional<AtomicWrite> toFile;
  std::optional<HeldOutput> held;
  if (!parsed.out.empty()) toFile.emplace(parsed.out);
  else if (outFd >= 0) held.emplace();
  // A test can stop the study once its first rows are written, to kill it there.
  const char* stopAt = std::getenv("DIASPRING_TEST_STOP");
  const bool stopAfterRows = stopAt != nullptr && std::string_view(stopAt) == "rows";
  std::size_t parts = 0;
  const auto write = [&](std::string_view bytes) {
    // A file that cannot be written still lets the rows run, so that the
    // summary counts them all (and the reason follows it).
    if (toFile) toFile->append(bytes);
    else if (held) held->append(bytes);
    else outcome.out += bytes;
    if (++parts == 2 && stopAfterRows) ::raise(SIGSTOP);  // the header, then the first rows
    return true;
  };

  const auto start = std::chrono::steady_clock::now();
  auto lastShown = start;
  bool shown = false;
  StudyOptions options;
  options.threads = parsed.threads;
  options.progress = [&](std::size_t done, std::size_t) {
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - start).count();
    if (!progress || seconds < 1.0 || (shown && now - lastShown < std::chrono::milliseconds(500))) return;
    shown = true;
    lastShown = now;
    const double share = size > 0 ? std::min(1.0, static_cast<double>(lines.bytesRead()) / static_cast<double>(size)) : 0;
    progress(progressLine(done, share, seconds));
  };
  StudyTally tally = streamStudy(study, lines, write, options);
  if (shown) progress("\n");
  if (readError != 0) {
    // The new file is abandoned: OUT stays as it was.
    return usageError("study: cannot read '" + parsed.in + "': " + errorReasonEnglish(readError));
  }

  for (const std::string& warning : tally.warnings)
    outcome.err += "diaspring-cli: study: warning: " + printable(warning) + "\n";
  if (tally.warningsLeftOut > 0)
    outcome.err += "diaspring-cli: study: warning: " + std::to_string(tally.warningsLeftOut) + " more not shown\n";
  outcome.err += "diaspring-cli: study: " + std::to_string(tally.rows) + (tally.rows == 1 ? " row, " : " rows, ") +
                 std::to_string(tally.faulted) + " faulted, " + std::to_string(tally.unreadable) + " unreadable\n";
  outcome.status = tally.faulted + tally.unreadable > 0 ? kExitFault : kExitOk;

  if (toFile) {
    if (const auto failed = toFile->commit()) {
      outcome.status = kExitFault;
      outcome.err += "diaspring-cli: study: " + printable(failed->english()) + "\n";
    }
  } else if (held && !held->copyTo(outFd)) {
    outcome.status = kExitBroken;
    outcome.err += std::string("diaspring-cli: study: cannot write the output: ") +
                   errorReasonEnglish(held->error() != 0 ? held->error() : errno) + "\n";
  }
  return outcome;
}

}  // namespace diaspring::cli
