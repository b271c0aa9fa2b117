#pragma once
// Writing JSON text into a string: string literals, numbers in the shortest
// form that reads back exactly, and the commas between the members of an
// object or the elements of an array. The one JSON writer of the headless
// front end and the page.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

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
  void null(std::string_view k) { key(k) += "null"; }
  // A member whose value is JSON text made elsewhere.
  void json(std::string_view k, std::string_view text) { key(k) += text; }

  // Several members at once, in the order given: texts({{"name", n},
  // {"unit", u}}) writes "name":n,"unit":u.
  void texts(std::initializer_list<std::pair<std::string_view, std::string_view>> members) {
    for (const auto& [k, v] : members) text(k, v);
  }
  void numbers(std::initializer_list<std::pair<std::string_view, double>> members) {
    for (const auto& [k, v] : members) number(k, v);
  }

  // A member whose value is an object or an array, or such an element of an
  // array: fill(JsonList&) writes its members (or elements) with the same
  // separators; the brackets are written here.
  template <class Fill>
  void object(std::string_view k, Fill&& fill) { enclose(key(k), '{', '}', fill); }
  template <class Fill>
  void array(std::string_view k, Fill&& fill) { enclose(key(k), '[', ']', fill); }
  template <class Fill>
  void nextObject(Fill&& fill) { enclose(next(), '{', '}', fill); }
  template <class Fill>
  void nextArray(Fill&& fill) { enclose(next(), '[', ']', fill); }

  // Elements of an array: a number; a text; every text of `values` (any
  // range of texts) as one array.
  void nextNumber(double value) { appendJsonDouble(next(), value); }
  void nextText(std::string_view value) { appendJsonString(next(), value); }
  template <class Texts>
  void nextTexts(const Texts& values) {
    nextArray([&](JsonList& list) { for (const auto& v : values) list.nextText(v); });
  }
  void nextTexts(std::initializer_list<std::string_view> values) { nextTexts<>(values); }
  // A member whose value is an array of texts.
  template <class Texts>
  void texts(std::string_view k, const Texts& values) {
    array(k, [&](JsonList& list) { for (const auto& v : values) list.nextText(v); });
  }
  void texts(std::string_view k, std::initializer_list<std::string_view> values) { texts<>(k, values); }

  // Appends `open`, the members (or elements) fill(JsonList&) writes with
  // these separators, and `close`.
  template <class Fill>
  static void enclosed(std::string& out, char open, char close, Fill& fill, std::string_view comma,
                       std::string_view colon) {
    out += open;
    JsonList inner(out, comma, colon);
    fill(inner);
    out += close;
  }

 private:
  template <class Fill>
  void enclose(std::string& out, char open, char close, Fill& fill) { enclosed(out, open, close, fill, comma_, colon_); }

  std::string& out_;
  std::string_view comma_, colon_;
  bool first_ = true;
};

// A whole object or array appended to `out`: fill(JsonList&) writes its
// members (or elements), separated as JsonList's constructor says.
template <class Fill>
void appendJsonObject(std::string& out, Fill&& fill, std::string_view comma = ",", std::string_view colon = ":") {
  JsonList::enclosed(out, '{', '}', fill, comma, colon);
}
template <class Fill>
void appendJsonArray(std::string& out, Fill&& fill, std::string_view comma = ",", std::string_view colon = ":") {
  JsonList::enclosed(out, '[', ']', fill, comma, colon);
}

// The same as text of its own.
template <class Fill>
std::string jsonObject(Fill&& fill) {
  std::string out;
  appendJsonObject(out, fill);
  return out;
}
template <class Fill>
std::string jsonArray(Fill&& fill) {
  std::string out;
  appendJsonArray(out, fill);
  return out;
}

}  // namespace diaspring
