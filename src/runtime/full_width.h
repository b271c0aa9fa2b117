#pragma once
// Numbers typed with a Chinese input method arrive in full-width forms
// ("２.２", "１．５", "－３", "２Ｅ５"). The calculation reads each of these
// forms as its ASCII counterpart, and no other character is touched.

#include <optional>
#include <string>
#include <string_view>

namespace diaspring {

// `text` (UTF-8) with the full-width digits ０–９ and the full-width
// ．－＋ｅＥ replaced by 0–9 . - + e E; nothing when it holds none of them.
std::optional<std::string> narrowFullWidth(std::string_view text);

}  // namespace diaspring
