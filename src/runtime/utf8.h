#pragma once
// UTF-8: decoding, validation and encoding of code points.

#include <cstddef>
#include <string>
#include <string_view>

namespace diaspring {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the code point starting at text[pos] into `cp` and returns the
// number of bytes it takes; returns 0 for a malformed sequence (a stray
// continuation byte, a truncated sequence, an overlong form, a surrogate or a
// value beyond U+10FFFF).
std::size_t decodeUtf8(std::string_view text, std::size_t pos, char32_t& cp);

bool isValidUtf8(std::string_view text);

// Appends the UTF-8 form of `cp` to `out`.
void appendUtf8(std::string& out, char32_t cp);

}  // namespace diaspring
