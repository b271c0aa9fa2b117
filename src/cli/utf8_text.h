#pragma once
// UTF-8 helpers of the headless front end: validation, the width a text
// takes in a terminal column layout, and a one-line printable form.

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/utf8.h"

namespace diaspring::cli {

// Decoding, validation and encoding live in the core.
using diaspring::appendUtf8;
using diaspring::decodeUtf8;
using diaspring::isValidUtf8;
using diaspring::kReplacementChar;

// Columns the text takes in a terminal: two for the wide East Asian
// characters (the Chinese verdicts and captions), none for combining marks,
// one for everything else. A malformed byte counts as one column (it is
// shown as U+FFFD).
std::size_t displayWidth(std::string_view text);

// The text on one line as a reader should see it: control characters as
// \n, \r, \t or \xNN, and a byte that is not UTF-8 as \xNN too.
std::string printable(std::string_view text);

}  // namespace diaspring::cli
