#include "json_check.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

#include "runtime/utf8_text.h"
#include "design/json_tree.h"

namespace diaspring::cli::test {
namespace {

// The design file's reader (nlohmann-json's parser, every number kept as
// written) without its limits on a file's size, into the tests' value.
JsonValue converted(design::JsonValue&& v) {
  using K = design::JsonValue::Kind;
  JsonValue out;
  out.type = v.kind == K::Null      ? JsonValue::Type::Null
             : v.kind == K::Boolean ? JsonValue::Type::Bool
             : v.kind == K::Number  ? JsonValue::Type::Number
             : v.kind == K::Text    ? JsonValue::Type::String
             : v.kind == K::Array   ? JsonValue::Type::Array
                                    : JsonValue::Type::Object;
  out.boolean = v.boolean;
  out.text = std::move(v.text);
  for (std::size_t i = 0; i < v.items.size(); ++i) {
    if (v.kind == K::Object) out.members.emplace_back(std::move(v.keys[i]), converted(std::move(v.items[i])));
    else out.items.push_back(converted(std::move(v.items[i])));
  }
  return out;
}

}  // namespace

const JsonValue* JsonValue::find(std::string_view key) const {
  for (const auto& [k, v] : members) {
    if (k == key) return &v;
  }
  return nullptr;
}

const JsonValue& JsonValue::at(std::string_view key) const {
  if (const JsonValue* v = find(key)) return *v;
  throw std::out_of_range("no key " + std::string(key));
}

std::optional<JsonValue> parseJson(std::string_view text, std::string* error) {
  constexpr std::size_t kAny = std::numeric_limits<std::size_t>::max();
  design::JsonParse parsed = design::parseJson(text, design::JsonLimits{kAny, kAny});
  if (parsed.problem) {
    if (error) *error = "at line " + std::to_string(parsed.line) + ", column " + std::to_string(parsed.column) + ": " +
                        (parsed.detail.empty() ? parsed.key : parsed.detail);
    return std::nullopt;
  }
  return converted(std::move(parsed.root));
}

JsonValue parsed(std::string_view text) {
  std::string error;
  auto doc = parseJson(text, &error);
  if (!doc) ADD_FAILURE() << "not JSON: " << error << "\n" << text;
  return doc.value_or(JsonValue{});
}

}  // namespace diaspring::cli::test
