#include "runtime/utf8_text.h"

namespace diaspring {
namespace {

bool isWide(char32_t cp) {
  return (cp >= 0x1100 && cp <= 0x115F) ||   // Hangul Jamo initials
         (cp >= 0x2E80 && cp <= 0x303E) ||   // CJK radicals, punctuation
         (cp >= 0x3041 && cp <= 0x33FF) ||   // kana, CJK compatibility
         (cp >= 0x3400 && cp <= 0x4DBF) ||   // CJK extension A
         (cp >= 0x4E00 && cp <= 0x9FFF) ||   // CJK unified ideographs
         (cp >= 0xA000 && cp <= 0xA4CF) ||   // Yi
         (cp >= 0xAC00 && cp <= 0xD7A3) ||   // Hangul syllables
         (cp >= 0xF900 && cp <= 0xFAFF) ||   // CJK compatibility ideographs
         (cp >= 0xFE30 && cp <= 0xFE4F) ||   // CJK compatibility forms
         (cp >= 0xFF00 && cp <= 0xFF60) ||   // full-width forms (the "（" of the captions)
         (cp >= 0xFFE0 && cp <= 0xFFE6) ||
         (cp >= 0x1F300 && cp <= 0x1F64F) ||  // pictographs, emoticons
         (cp >= 0x1F900 && cp <= 0x1F9FF) ||
         (cp >= 0x20000 && cp <= 0x3FFFD);    // CJK extensions B and later
}

bool isZeroWidth(char32_t cp) {
  return (cp >= 0x0300 && cp <= 0x036F) ||  // combining diacritical marks
         (cp >= 0x200B && cp <= 0x200F) ||  // zero-width space, joiners, marks
         (cp >= 0xFE00 && cp <= 0xFE0F) ||  // variation selectors
         cp == 0xFEFF;
}

}  // namespace

std::size_t displayWidth(std::string_view text) {
  std::size_t width = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp = 0;
    const std::size_t n = decodeUtf8(text, pos, cp);
    if (n == 0) {
      width += 1;
      pos += 1;
      continue;
    }
    pos += n;
    if (isZeroWidth(cp)) continue;
    width += isWide(cp) ? 2 : 1;
  }
  return width;
}

std::string printable(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp = 0;
    const std::size_t n = decodeUtf8(text, pos, cp);
    if (n == 0) {  // a byte that is no UTF-8: escaped, never echoed raw
      const auto byte = static_cast<unsigned char>(text[pos]);
      out += "\\x";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
      pos += 1;
      continue;
    }
    if (cp == '\n') {
      out += "\\n";
    } else if (cp == '\r') {
      out += "\\r";
    } else if (cp == '\t') {
      out += "\\t";
    } else if (cp < 0x20 || cp == 0x7F) {
      out += "\\x";
      out += kHex[(cp >> 4) & 0xF];
      out += kHex[cp & 0xF];
    } else {
      out.append(text.substr(pos, n));
    }
    pos += n;
  }
  return out;
}

std::string shortText(std::string_view text, std::size_t maxColumns) {
  std::string shown = printable(text);
  if (displayWidth(shown) > maxColumns) {
    std::size_t cut = 0;
    std::size_t width = 0;
    while (cut < shown.size() && width < maxColumns) {
      char32_t cp = 0;
      std::size_t n = decodeUtf8(shown, cut, cp);
      if (n == 0) n = 1;
      width += displayWidth(std::string_view(shown).substr(cut, n));
      cut += n;
    }
    shown = shown.substr(0, cut) + "...";
  }
  return shown;
}

std::string quoteText(std::string_view text, std::size_t maxColumns) {
  return "'" + shortText(text, maxColumns) + "'";
}

}  // namespace diaspring
