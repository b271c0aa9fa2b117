#include "cli/study_command.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

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

bool readFile(const std::string& path, std::string& text, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read " + path + ": " + std::strerror(errno);
    return false;
  }
  std::ostringstream buffer;
  buffer << file.rdbuf();
  text = std::move(buffer).str();
  return true;
}

bool writeFile(const std::string& path, const std::string& text, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const int savedErrno = errno;
  if (std::fclose(file) != 0 || !written) {
    error = "cannot write " + path + ": " + std::strerror(written ? errno : savedErrno);
    std::remove(path.c_str());
    return false;
  }
  return true;
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
  std::string text, error;
  if (!readFile(parsed.in, text, error)) {
    outcome.status = kExitUsage;
    outcome.err = "diaspring-cli: study: " + error + "\n";
    return outcome;
  }

  StudyInput study;
  try {
    study = readStudy(text);
  } catch (const StudyError& e) {
    outcome.status = kExitUsage;
    outcome.err = "diaspring-cli: study: " + parsed.in + ": " + e.what() + "\n";
    return outcome;
  }

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
  const std::string result = runStudy(study, options);
  if (shown) progress("\n");

  if (parsed.out.empty()) {
    outcome.out = result;
  } else if (!writeFile(parsed.out, result, error)) {
    outcome.status = kExitFault;
    outcome.err = "diaspring-cli: study: " + error + "\n";
  }
  return outcome;
}

}  // namespace diaspring::cli
