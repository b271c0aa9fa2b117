#pragma once
// UTF-8 helpers for messages and terminal layouts (decoding and validation:
// runtime/utf8.h): the width a
// text takes in a terminal column layout, a one-line printable form, and the
// one way a message quotes a text it names.

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/utf8.h"

namespace diaspring {

// Columns the text takes in a terminal: two for the wide East Asian
// characters (the Chinese verdicts and captions), none for combining marks,
// one for everything else. A malformed byte counts as one column (it is
// shown as U+FFFD).
std::size_t displayWidth(std::string_view text);

// The text on one line as a reader should see it: control characters as
// \n, \r, \t or \xNN, and a byte that is not UTF-8 as \xNN too.
std::string printable(std::string_view text);

inline constexpr std::size_t kQuotedColumns = 60;

// The text as a message shows it: printable, and cut after `maxColumns`
// columns with "..." (between two characters, never inside one), for a
// message that puts its own quotation marks around it (“…” in Chinese).
std::string shortText(std::string_view text, std::size_t maxColumns = kQuotedColumns);

// A text named inside a message: shortText() between single quotes:
// "--set 'Text99=1': ..." or "'xxxx...'".
std::string quoteText(std::string_view text, std::size_t maxColumns = kQuotedColumns);

}  // namespace diaspring
