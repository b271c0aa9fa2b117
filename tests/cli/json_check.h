#pragma once
// JSON for the tests, read by nlohmann-json's parser (through the design
// file's reader): it refuses anything RFC 8259 refuses (and malformed UTF-8,
// and a key given twice), and keeps every number as the text that was
// written so that tests can read it back bit for bit.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace diaspring::cli::test {

struct JsonValue {
  enum class Type { Null, Bool, Number, String, Array, Object };
  Type type = Type::Null;
  bool boolean = false;
  std::string text;  // Number: as written; String: decoded
  std::vector<JsonValue> items;
  std::vector<std::pair<std::string, JsonValue>> members;  // in the order written

  const JsonValue* find(std::string_view key) const;
  const JsonValue& at(std::string_view key) const;  // throws when missing
};

// The value, or nullopt with `error` set to where and why reading stopped.
std::optional<JsonValue> parseJson(std::string_view text, std::string* error = nullptr);

// The document `text` holds; when it holds none, a test failure that says
// why and shows the text, and a null value.
JsonValue parsed(std::string_view text);

}  // namespace diaspring::cli::test
