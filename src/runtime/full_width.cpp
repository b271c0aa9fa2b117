#include "runtime/full_width.h"

namespace diaspring {
namespace {

// The forms read, by their code point in the block U+FF00–U+FFEF.
char asciiOf(char32_t c) {
  if (c >= U'\uFF10' && c <= U'\uFF19') return static_cast<char>('0' + (c - U'\uFF10'));
  switch (c) {
    case U'\uFF0E': return '.';
    case U'\uFF0D': return '-';
    case U'\uFF0B': return '+';
    case U'\uFF45': return 'e';
    case U'\uFF25': return 'E';
    default: return '\0';
  }
}

}  // namespace

std::optional<std::string> narrowFullWidth(std::string_view text) {
  // Every form read is three bytes, EF BC xx or EF BD xx.
  if (text.find('\xEF') == std::string_view::npos) return std::nullopt;
  std::string out;
  out.reserve(text.size());
  bool changed = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    if (b0 == 0xEF && i + 2 < text.size()) {
      const auto b1 = static_cast<unsigned char>(text[i + 1]), b2 = static_cast<unsigned char>(text[i + 2]);
      if ((b1 & 0xC0) == 0x80 && (b2 & 0xC0) == 0x80) {
        const char32_t c = (char32_t(b0 & 0x0F) << 12) | (char32_t(b1 & 0x3F) << 6) | char32_t(b2 & 0x3F);
        if (const char ascii = asciiOf(c)) {
          out.push_back(ascii);
          changed = true;
          i += 2;
          continue;
        }
      }
    }
    out.push_back(text[i]);
  }
  if (!changed) return std::nullopt;
  return out;
}

}  // namespace diaspring
