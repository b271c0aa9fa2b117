#pragma once
// Reading a subcommand's arguments: one argument at a time, an option's
// value after it, and whole numbers within a range. Every subcommand's
// argument loop reads through this one reader, so "needs a value" and "takes
// a whole number from ... to ..." mean the same everywhere.

#include <charconv>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "runtime/utf8_text.h"

namespace diaspring::cli {

// The most threads a --threads asks for.
inline constexpr unsigned kMaxThreads = 256;

class ArgReader {
 public:
  explicit ArgReader(std::span<const std::string_view> args) : args_(args) {}

  bool done() const { return next_ == args_.size(); }
  // The next argument; only when !done().
  std::string_view next() { return args_[next_++]; }
  // The value of the option just read: the argument after it, or nothing
  // when the command line ends with the option.
  std::optional<std::string_view> value() {
    if (done()) return std::nullopt;
    return next();
  }

 private:
  std::span<const std::string_view> args_;
  std::size_t next_ = 0;
};

enum class WholeNumber {
  Read,      // the whole text is a number of the type
  NotWhole,  // empty, a sign the type has not, a fraction, other text
  TooLarge,  // digits only, but beyond the type
};

// Reads `text` as a whole number of type T (no blanks, no '+'), into `out`
// when it is one.
template <class T>
WholeNumber readWhole(std::string_view text, T& out) {
  T n{};
  const char* last = text.data() + text.size();
  const auto [end, ec] = std::from_chars(text.data(), last, n);
  if (ec == std::errc::result_out_of_range && end == last) return WholeNumber::TooLarge;
  if (text.empty() || ec != std::errc() || end != last) return WholeNumber::NotWhole;
  out = n;
  return WholeNumber::Read;
}

// Reads the value of `option` as a whole number from `low` to `high` into
// `out`; returns the usage error when it is none ("--scale takes a whole
// number from 1 to 8, not '0'"), empty when it is read.
template <class T>
std::string readWholeIn(std::string_view option, std::string_view text, T low, T high, T& out) {
  T n{};
  if (readWhole(text, n) != WholeNumber::Read || n < low || n > high)
    return std::string(option) + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
           ", not " + quoteText(text);
  out = n;
  return {};
}

}  // namespace diaspring::cli
