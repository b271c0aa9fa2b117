#include "json_check.h"

#include <stdexcept>

#include "runtime/utf8_text.h"

namespace diaspring::cli::test {
namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : s_(text) {}

  std::optional<JsonValue> document() {
    JsonValue v;
    skipBlanks();
    if (!value(v, 0)) return std::nullopt;
    skipBlanks();
    if (pos_ != s_.size()) return fail("text after the value");
    return v;
  }

  std::string error;

 private:
  std::nullopt_t fail(const std::string& why) {
    if (error.empty()) error = "at " + std::to_string(pos_) + ": " + why;
    return std::nullopt;
  }

  void skipBlanks() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r')) ++pos_;
  }

  bool literal(std::string_view word) {
    if (s_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  bool value(JsonValue& v, int depth) {
    if (depth > 64) return (fail("nested too deep"), false);
    if (pos_ >= s_.size()) return (fail("unexpected end"), false);
    const char c = s_[pos_];
    if (c == '{') return object(v, depth);
    if (c == '[') return array(v, depth);
    if (c == '"') {
      v.type = JsonValue::Type::String;
      return string(v.text);
    }
    if (literal("null")) {
      v.type = JsonValue::Type::Null;
      return true;
    }
    if (literal("true") || literal("false")) {
      v.type = JsonValue::Type::Bool;
      v.boolean = s_[pos_ - 1] == 'e' && s_[pos_ - 4] == 't';
      return true;
    }
    if (c == '-' || (c >= '0' && c <= '9')) return number(v);
    return (fail(std::string("unexpected character '") + c + "'"), false);
  }

  bool digits() {
    const std::size_t start = pos_;
    while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
    return pos_ > start;
  }

  bool number(JsonValue& v) {
    const std::size_t start = pos_;
    if (s_[pos_] == '-') ++pos_;
    if (pos_ < s_.size() && s_[pos_] == '0') {
      ++pos_;
    } else if (!digits()) {
      return (fail("bad number"), false);
    }
    if (pos_ < s_.size() && s_[pos_] == '.') {
      ++pos_;
      if (!digits()) return (fail("bad fraction"), false);
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
      if (!digits()) return (fail("bad exponent"), false);
    }
    v.type = JsonValue::Type::Number;
    v.text = std::string(s_.substr(start, pos_ - start));
    return true;
  }

  static int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  bool hex4(char32_t& out) {
    if (s_.size() - pos_ < 4) return false;
    out = 0;
    for (int k = 0; k < 4; ++k) {
      const int d = hexDigit(s_[pos_++]);
      if (d < 0) return false;
      out = out * 16 + static_cast<char32_t>(d);
    }
    return true;
  }

  bool string(std::string& out) {
    ++pos_;  // the opening quote
    while (true) {
      if (pos_ >= s_.size()) return (fail("unterminated string"), false);
      const auto c = static_cast<unsigned char>(s_[pos_]);
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c < 0x20) return (fail("raw control character in a string"), false);
      if (c == '\\') {
        ++pos_;
        if (pos_ >= s_.size()) return (fail("unterminated escape"), false);
        const char e = s_[pos_++];
        switch (e) {
          case '"': out += '"'; break;
          case '\\': out += '\\'; break;
          case '/': out += '/'; break;
          case 'b': out += '\b'; break;
          case 'f': out += '\f'; break;
          case 'n': out += '\n'; break;
          case 'r': out += '\r'; break;
          case 't': out += '\t'; break;
          case 'u': {
            char32_t cp = 0;
            if (!hex4(cp)) return (fail("bad \\u escape"), false);
            if (cp >= 0xD800 && cp <= 0xDBFF) {
              char32_t low = 0;
              if (!literal("\\u") || !hex4(low) || low < 0xDC00 || low > 0xDFFF) {
                return (fail("lone high surrogate"), false);
              }
              cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
              return (fail("lone low surrogate"), false);
            }
            appendUtf8(out, cp);
            break;
          }
          default: return (fail("bad escape"), false);
        }
        continue;
      }
      char32_t cp = 0;
      const std::size_t n = decodeUtf8(s_, pos_, cp);
      if (n == 0) return (fail("malformed UTF-8"), false);
      out.append(s_.substr(pos_, n));
      pos_ += n;
    }
  }

  bool array(JsonValue& v, int depth) {
    v.type = JsonValue::Type::Array;
    ++pos_;
    skipBlanks();
    if (pos_ < s_.size() && s_[pos_] == ']') {
      ++pos_;
      return true;
    }
    while (true) {
      JsonValue item;
      skipBlanks();
      if (!value(item, depth + 1)) return false;
      v.items.push_back(std::move(item));
      skipBlanks();
      if (pos_ < s_.size() && s_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < s_.size() && s_[pos_] == ']') {
        ++pos_;
        return true;
      }
      return (fail("expected ',' or ']'"), false);
    }
  }

  bool object(JsonValue& v, int depth) {
    v.type = JsonValue::Type::Object;
    ++pos_;
    skipBlanks();
    if (pos_ < s_.size() && s_[pos_] == '}') {
      ++pos_;
      return true;
    }
    while (true) {
      skipBlanks();
      if (pos_ >= s_.size() || s_[pos_] != '"') return (fail("expected a key"), false);
      std::string key;
      if (!string(key)) return false;
      skipBlanks();
      if (pos_ >= s_.size() || s_[pos_] != ':') return (fail("expected ':'"), false);
      ++pos_;
      skipBlanks();
      JsonValue member;
      if (!value(member, depth + 1)) return false;
      for (const auto& [k, unused] : v.members) {
        if (k == key) return (fail("duplicate key " + key), false);
      }
      v.members.emplace_back(std::move(key), std::move(member));
      skipBlanks();
      if (pos_ < s_.size() && s_[pos_] == ',') {
        ++pos_;
        continue;
      }
      if (pos_ < s_.size() && s_[pos_] == '}') {
        ++pos_;
        return true;
      }
      return (fail("expected ',' or '}'"), false);
    }
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

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
  Reader reader(text);
  auto v = reader.document();
  if (!v && error) *error = reader.error;
  return v;
}

}  // namespace diaspring::cli::test
