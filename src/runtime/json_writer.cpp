#include "runtime/json_writer.h"

#include <charconv>
#include <cmath>

#include "runtime/float_text.h"
#include "runtime/utf8.h"

namespace diaspring {
namespace {

template <class Float>
void appendShortest(std::string& out, Float value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  out += shortestText(value);
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto c = static_cast<unsigned char>(text[pos]);
    if (c < 0x80) {
      if (c == '"') {
        out += "\\\"";
      } else if (c == '\\') {
        out += "\\\\";
      } else if (c < 0x20) {
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
      } else {
        out += static_cast<char>(c);
      }
      ++pos;
      continue;
    }
    char32_t cp = 0;
    const std::size_t n = decodeUtf8(text, pos, cp);
    if (n == 0) {
      appendUtf8(out, kReplacementChar);
      ++pos;
    } else {
      out.append(text.substr(pos, n));
      pos += n;
    }
  }
  out += '"';
}

void appendJsonFloat(std::string& out, float value) { appendShortest(out, value); }

void appendJsonDouble(std::string& out, double value) { appendShortest(out, value); }

void appendJsonInt(std::string& out, std::int64_t value) {
  char buf[24];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  (void)ec;  // 24 characters hold any 64-bit integer
  out.append(buf, end);
}

std::string& JsonList::next() {
  if (!first_) out_ += comma_;
  first_ = false;
  return out_;
}

std::string& JsonList::key(std::string_view key) {
  appendJsonString(next(), key);
  return out_ += colon_;
}

}  // namespace diaspring
