#include "design/json_tree.h"

#include <cctype>
#include <cmath>
#include <stdexcept>
#include <unordered_set>

#include <nlohmann/json.hpp>

#include "runtime/convert.h"
#include "runtime/fault.h"

namespace diaspring::design {
namespace {

using Json = nlohmann::json;

// The parser's words, on one line and in plain ASCII (they may quote bytes
// of the file).
std::string parserWords(const char* what) {
  std::string message(what);
  // "[json.exception.parse_error.101] parse error at line 1, column 2: syntax error ..."
  if (const std::size_t tag = message.find("] "); !message.empty() && message[0] == '[' && tag != std::string::npos)
    message.erase(0, tag + 2);
  if (message.rfind("parse error", 0) == 0) {
    const std::size_t colon = message.find(": ");
    if (colon != std::string::npos) message.erase(0, colon + 2);
  }
  for (char& c : message) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F) c = '?';
  }
  return message;
}

// Line and column (in characters) of the byte at offset `byte` (from 1, as
// the parser counts).
void locate(std::string_view text, std::size_t byte, int& line, int& column) {
  line = 1;
  column = 1;
  const std::size_t end = std::min(byte > 0 ? byte - 1 : 0, text.size());
  for (std::size_t i = 0; i < end; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\n') {
      ++line;
      column = 1;
    } else if ((c & 0xC0) != 0x80) {
      ++column;
    }
  }
}

// The number tokens of a JSON text in the order the parser meets them,
// each as written, and a copy of the text in which a number beyond the
// double range ("1e400") is written with zeros of the same length ("0e000"),
// so that the parser reads on and the token keeps the digits. Strings are
// stepped over; whatever else the text holds the parser judges.
struct NumberTokens {
  std::vector<std::string> texts;
  std::string parsed;  // empty when the text needs no change
};
NumberTokens numberTokens(std::string_view text) {
  NumberTokens out;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '"') {
      for (++i; i < text.size() && text[i] != '"'; ++i)
        if (text[i] == '\\') ++i;
      ++i;
      continue;
    }
    if (c != '-' && (c < '0' || c > '9')) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '-' || text[i] == '+' ||
                               text[i] == '.' || text[i] == 'e' || text[i] == 'E'))
      ++i;
    const std::string_view token = text.substr(start, i - start);
    out.texts.emplace_back(token);
    bool overflows = false;
    try {
      (void)val(token);
    } catch (const Fault&) {
      overflows = true;
    }
    if (overflows) {
      if (out.parsed.empty()) out.parsed.assign(text);
      for (std::size_t k = start; k < i; ++k)
        if (std::isdigit(static_cast<unsigned char>(out.parsed[k]))) out.parsed[k] = '0';
    }
  }
  return out;
}

// Builds the tree from the parser's events in time linear in the text:
// refuses a key given twice in one object (naming it), more members or
// values than its limits allow, nesting deeper than kMaxJsonDepth; every number takes
// the text the file wrote from the file's number tokens.
class Builder : public nlohmann::json_sax<Json> {
 public:
  Builder(const std::vector<std::string>& tokens, const JsonLimits& limits) : tokens_(tokens), limits_(limits) {}

  JsonValue root;
  std::optional<DesignFileProblem> problem;
  std::string problemKey, problemDetail;
  std::size_t byte = 0;

  bool null() override { return put(JsonValue{}); }
  bool boolean(bool v) override {
    JsonValue value = JsonValue::of(JsonValue::Kind::Boolean);
    value.boolean = v;
    return put(std::move(value));
  }
  bool number_integer(number_integer_t) override { return put(JsonValue::number(nextToken(), true)); }
  bool number_unsigned(number_unsigned_t) override { return put(JsonValue::number(nextToken(), true)); }
  bool number_float(number_float_t v, const string_t& text) override {
    std::string written = nextToken();
    if (!std::isfinite(v)) return refuse(DesignFileProblem::NotJson, {}, "number overflow parsing '" + text + "'");
    return put(JsonValue::number(written.empty() ? text : std::move(written), false));
  }
  bool string(string_t& v) override { return put(JsonValue::string(std::move(v))); }
  bool binary(binary_t&) override { return refuse(DesignFileProblem::NotJson, {}, "binary value"); }
  bool start_object(std::size_t) override { return open(JsonValue::object()); }
  bool start_array(std::size_t) override { return open(JsonValue::of(JsonValue::Kind::Array)); }
  bool end_object() override { return close(); }
  bool end_array() override { return close(); }
  bool key(string_t& k) override {
    Frame& frame = stack_.back();
    if (++members_ > limits_.members)
      return refuse(DesignFileProblem::TooManyMembers, {}, std::to_string(limits_.members) + " members");
    if (!frame.keys.insert(k).second) return refuse(DesignFileProblem::DuplicateKey, pathOf(k));
    frame.key = std::move(k);
    return true;
  }
  bool parse_error(std::size_t position, const std::string&, const Json::exception& e) override {
    // A number beyond a double is the number's fault, not the place's.
    byte = e.id == 406 ? 0 : position;
    return refuse(DesignFileProblem::NotJson, {}, parserWords(e.what()));
  }

 private:
  struct Frame {
    JsonValue* value;
    std::string key;  // the member being read, in an object
    std::unordered_set<std::string> keys;
  };

  std::string nextToken() { return next_ < tokens_.size() ? tokens_[next_++] : std::string(); }

  bool refuse(DesignFileProblem p, std::string k = {}, std::string d = {}) {
    if (!problem) {
      problem = p;
      problemKey = std::move(k);
      problemDetail = std::move(d);
    }
    return false;
  }

  // "metadata.reviewer.name" for the member `k` of the open object.
  std::string pathOf(const std::string& k) const {
    std::string path;
    for (std::size_t i = 0; i + 1 < stack_.size(); ++i)
      if (stack_[i].value->is(JsonValue::Kind::Object)) path += stack_[i].key + ".";
    return path + k;
  }

  JsonValue* put(JsonValue value) {
    if (++values_ > limits_.values) {
      refuse(DesignFileProblem::TooManyMembers, {}, std::to_string(limits_.values) + " values");
      return nullptr;
    }
    if (stack_.empty()) {
      root = std::move(value);
      return &root;
    }
    JsonValue& parent = *stack_.back().value;
    if (parent.is(JsonValue::Kind::Object)) parent.keys.push_back(stack_.back().key);
    parent.items.push_back(std::move(value));
    return &parent.items.back();
  }

  bool open(JsonValue value) {
    if (stack_.size() + 1 > static_cast<std::size_t>(kMaxJsonDepth)) return refuse(DesignFileProblem::TooDeep);
    JsonValue* added = put(std::move(value));
    if (added == nullptr) return false;
    stack_.push_back(Frame{added, {}, {}});
    return true;
  }
  bool close() {
    stack_.pop_back();
    return true;
  }

  const std::vector<std::string>& tokens_;
  const JsonLimits& limits_;
  std::vector<Frame> stack_;
  std::size_t members_ = 0, values_ = 0, next_ = 0;
};

// A text as a JSON string literal, as nlohmann-json writes it (a malformed
// byte as U+FFFD).
std::string quoted(const std::string& text) { return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace); }

void writeJson(const JsonValue& value, int indent, int level, std::string& out) {
  const auto newline = [&](int depth) {
    if (indent < 0) return;
    out += '\n';
    out.append(static_cast<std::size_t>(indent * depth), ' ');
  };
  using K = JsonValue::Kind;
  switch (value.kind) {
    case K::Null: out += "null"; return;
    case K::Boolean: out += value.boolean ? "true" : "false"; return;
    case K::Number: out += value.text; return;
    case K::Text: out += quoted(value.text); return;
    case K::Array:
    case K::Object: break;
  }
  const bool object = value.is(K::Object);
  out += object ? '{' : '[';
  for (std::size_t i = 0; i < value.items.size(); ++i) {
    if (i > 0) out += ',';
    newline(level + 1);
    if (object) {
      out += quoted(value.keys[i]);
      out += indent < 0 ? ":" : ": ";
    }
    writeJson(value.items[i], indent, level + 1, out);
  }
  if (!value.items.empty()) newline(level);
  out += object ? '}' : ']';
}

}  // namespace

const char* JsonValue::typeName() const {
  switch (kind) {
    case Kind::Null: return "null";
    case Kind::Boolean: return "boolean";
    case Kind::Number: return "number";
    case Kind::Text: return "string";
    case Kind::Array: return "array";
    case Kind::Object: return "object";
  }
  return "null";
}

const JsonValue* JsonValue::find(std::string_view key) const {
  for (std::size_t i = 0; i < keys.size(); ++i)
    if (keys[i] == key) return &items[i];
  return nullptr;
}

void JsonValue::append(std::string key, JsonValue value) {
  keys.push_back(std::move(key));
  items.push_back(std::move(value));
}

JsonParse parseJson(std::string_view text, const JsonLimits& limits) {
  JsonParse result;
  const auto refuse = [&](DesignFileProblem problem, std::string key, std::string detail, std::size_t byte) {
    result.problem = problem;
    result.key = std::move(key);
    result.detail = std::move(detail);
    if (byte > 0) locate(text, byte, result.line, result.column);
    return result;
  };
  // The parser takes a NUL byte for the end of the text and would ignore
  // the rest: no JSON text holds one.
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
    return refuse(DesignFileProblem::NotJson, {}, "a NUL byte at byte " + std::to_string(nul + 1), nul + 1);
  const NumberTokens numbers = numberTokens(text);
  Builder builder(numbers.texts, limits);
  const std::string_view json = numbers.parsed.empty() ? text : std::string_view(numbers.parsed);
  const bool parsed = Json::sax_parse(json.begin(), json.end(), &builder);
  if (builder.problem) return refuse(*builder.problem, builder.problemKey, builder.problemDetail, builder.byte);
  if (!parsed) return refuse(DesignFileProblem::NotJson, {}, "unexpected end of input", 0);
  result.root = std::move(builder.root);
  return result;
}

std::string jsonText(const JsonValue& value, int indent) {
  std::string out;
  writeJson(value, indent, 0, out);
  return out;
}

JsonValue textValue(const std::string& text, const std::string& key) {
  try {
    (void)Json(text).dump();
  } catch (const Json::type_error&) {
    throw std::invalid_argument(key);
  }
  return JsonValue::string(text);
}

}  // namespace diaspring::design
