#pragma once
// The JSON of a design file as a tree of its own, in which every number is
// the text the file wrote ("3.14159265358979323846", "-0", "1e400"), so that
// members this program does not know are written back to the digit. Objects
// keep their members in the file's order.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "design/design_file.h"

namespace diaspring::design {

// Deeper than any design file is nested; also bounds the recursion of
// writing kept members back.
inline constexpr int kMaxJsonDepth = 64;

struct JsonValue {
  enum class Kind { Null, Boolean, Number, Text, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  bool whole = false;             // a Number without fraction or exponent that fits 64 bits
  std::string text;               // a Number as written, or a Text
  std::vector<JsonValue> items;   // an Array's elements, an Object's member values
  std::vector<std::string> keys;  // an Object: keys[i] names items[i]

  static JsonValue of(Kind k) {
    JsonValue v;
    v.kind = k;
    return v;
  }
  static JsonValue object() { return of(Kind::Object); }
  static JsonValue string(std::string s) {
    JsonValue v = of(Kind::Text);
    v.text = std::move(s);
    return v;
  }
  static JsonValue number(std::string written, bool whole) {
    JsonValue v = of(Kind::Number);
    v.text = std::move(written);
    v.whole = whole;
    return v;
  }

  bool is(Kind k) const { return kind == k; }
  bool empty() const { return items.empty(); }
  // "object", "array", "string", "number", "boolean", "null".
  const char* typeName() const;
  // An Object's member, or nullptr.
  const JsonValue* find(std::string_view key) const;
  // Adds a member to an Object known not to hold `key`.
  void append(std::string key, JsonValue value);
};

// What a text may hold before it is refused: far more members than any
// design has (some forty) and values in all (array elements too: an array
// of kept numbers may be long, but not endless), few enough that no file
// takes long to read; nesting no deeper than kMaxJsonDepth.
struct JsonLimits {
  std::size_t members = 1000;
  std::size_t values = 100000;
};

// A text read as JSON, or why it is none (problem NotJson, TooDeep,
// DuplicateKey with the member's path as key, TooManyMembers).
struct JsonParse {
  JsonValue root;
  std::optional<DesignFileProblem> problem;
  std::string key, detail;
  int line = 0, column = 0;  // NotJson: where the parser stopped (0: not at a place)
};
JsonParse parseJson(std::string_view text, const JsonLimits& limits = {});

// `value` as JSON text: compact (indent < 0) or with `indent` spaces a level,
// as nlohmann-json's dump writes it; numbers as they were written.
std::string jsonText(const JsonValue& value, int indent = -1);

// `text` as a JSON string value; throws std::invalid_argument(key) when it is
// not valid UTF-8, which JSON cannot hold.
JsonValue textValue(const std::string& text, const std::string& key);

}  // namespace diaspring::design
