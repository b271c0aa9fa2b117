#pragma once
// Writing JSON text into a string: string literals, numbers in the shortest
// form that reads back exactly, and the commas between the members of an
// object or the elements of an array. The one JSON writer of the headless
// front end and the page.

#include <cstdint>
#include <string>
#include <string_view>

namespace diaspring {

// Appends `text` as a JSON string literal: quotes and backslashes escaped,
// control characters as \u00XX, UTF-8 passed through, a malformed byte
// replaced by U+FFFD (so the output is always valid UTF-8).
void appendJsonString(std::string& out, std::string_view text);

// Appends the shortest decimal form that reads back as exactly `value`.
// Infinities and NaN, which JSON cannot hold, are written as null.
void appendJsonFloat(std::string& out, float value);
void appendJsonDouble(std::string& out, double value);

void appendJsonInt(std::string& out, std::int64_t value);

// The members of one object (or the elements of one array) as they are
// appended to `out`: each after the first is preceded by `comma`, a
// member's key is followed by `colon`. JsonList(out) writes {"a":1,"b":2},
// JsonList(out, ", ", ": ") writes {"a": 1, "b": 2}. The brackets are the
// caller's.
class JsonList {
 public:
  explicit JsonList(std::string& out, std::string_view comma = ",", std::string_view colon = ":")
      : out_(out), comma_(comma), colon_(colon) {}

  // The comma when needed, the key and the colon; the value is the caller's.
  std::string& key(std::string_view key);
  // The comma when needed, before an element of an array.
  std::string& next();

  void number(std::string_view k, double value) { appendJsonDouble(key(k), value); }
  void text(std::string_view k, std::string_view value) { appendJsonString(key(k), value); }
  void count(std::string_view k, std::int64_t value) { appendJsonInt(key(k), value); }
  void floatNumber(std::string_view k, float value) { appendJsonFloat(key(k), value); }
  void flag(std::string_view k, bool value) { key(k) += value ? "true" : "false"; }

 private:
  std::string& out_;
  std::string_view comma_, colon_;
  bool first_ = true;
};

}  // namespace diaspring
